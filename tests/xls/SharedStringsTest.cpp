// The shared string table: one entry per distinct text, and records framed as the file format
// requires (readers are lenient about it): at most 8224 data bytes, and a string continued in
// a CONTINUE record starts that record with its option byte.
#include <gtest/gtest.h>

#include <string>

#include "tests/xls/RecordReader.h"
#include "xls/SharedStrings.h"

namespace {

TEST(SharedStringTable, CountsUsesAndStoresEqualTextsOnce) {
  SharedStringTable t;
  EXPECT_EQ(t.Add(L"a"), 0u);
  EXPECT_EQ(t.Add(L"b"), 1u);
  EXPECT_EQ(t.Add(L"a"), 0u);
  EXPECT_EQ(t.TotalCount(), 3u);
  EXPECT_EQ(t.UniqueCount(), 2u);
}

TEST(SharedStringTable, ALongStringContinuesWithItsOptionByteInEveryRecord) {
  SharedStringTable t;
  t.Add(L"head");
  t.Add(std::wstring(10000, L'\u4e2d'));  // 20000 bytes of characters: three records
  t.Add(L"tail");
  biff::BiffStream s;
  t.Write(s);
  const auto records = Records(s.Buffer());
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].id, biff::kSst);
  EXPECT_EQ(records[1].id, biff::kContinue);
  EXPECT_EQ(records[2].id, biff::kContinue);
  EXPECT_EQ(records[3].id, biff::kExtSst);
  std::size_t characters = 0;
  for (int i = 0; i < 3; ++i) {
    EXPECT_LE(records[i].data.size(), 8224u);
    if (i > 0) {
      EXPECT_EQ(records[i].data[0], 0x01) << "record " << i;  // 16-bit characters follow
    }
  }
  // SST: counts (8), "head" (3 + 8), the long string's header (3), then its characters.
  characters += (records[0].data.size() - 8 - 11 - 3) / 2;
  characters += (records[1].data.size() - 1) / 2;
  characters += (records[2].data.size() - 1 - 11) / 2;  // ends with "tail"
  EXPECT_EQ(characters, 10000u);
  EXPECT_EQ(records[0].data.size() % 2, 0u);  // never half a character at a record's end
}

}  // namespace
