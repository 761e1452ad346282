// BIFF record framing: no record holds more than 8224 data bytes; longer data continues in
// CONTINUE records.
#include <gtest/gtest.h>

#include "tests/xls/RecordReader.h"
#include "xls/BiffStream.h"

namespace {

TEST(BiffStream, LongDataContinuesInContinueRecords) {
  ByteBuffer data;
  for (int i = 0; i < 20000; ++i) data.U8(i & 0xFF);
  biff::BiffStream s;
  s.DrawingGroup(data);
  const auto records = Records(s.Buffer());
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].id, biff::kMsoDrawingGroup);
  EXPECT_EQ(records[1].id, biff::kContinue);
  EXPECT_EQ(records[2].id, biff::kContinue);
  EXPECT_EQ(records[0].data.size(), 8224u);
  EXPECT_EQ(records[1].data.size(), 8224u);
  EXPECT_EQ(records[2].data.size(), 20000u - 2 * 8224);
  EXPECT_EQ(records[1].data[0], 8224 & 0xFF);  // the data runs on unchanged
}

}  // namespace
