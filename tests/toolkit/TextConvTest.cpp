// Text conversions round-trip and reach the right code units.
#include <gtest/gtest.h>

#include "toolkit/rtl/TextConv.h"

TEST(TextConv, Utf8AndUtf16RoundTrip) {
  const std::string utf8 = "25.0\xE2\x84\x83 \xE6\x8F\x90\xE7\xA4\xBA";  // "25.0℃ 提示"
  const std::wstring wide = Utf8ToWide(utf8);
  ASSERT_EQ(wide.size(), 8u);
  EXPECT_EQ(wide[4], L'\x2103');
  EXPECT_EQ(WideToUtf8(wide), utf8);
  EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(TextConv, CodePage936CarriesTheDegreeSign) {
  const std::string celsius = "\xE2\x84\x83";
  const std::string gbk = Utf8ToAnsi(celsius, 936);
  EXPECT_EQ(gbk, "\xA1\xE6");
  EXPECT_EQ(AnsiToUtf8(gbk, 936), celsius);
}
