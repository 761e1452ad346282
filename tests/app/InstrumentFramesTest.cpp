// Request frames, hex text <-> bytes, and the reading conversion from the instrument's
// little-endian singles to stored and shown texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/InstrumentFrames.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

struct FrameCase {
  const char* name;
  const char* body;
  const char* frame;
};

void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

const FrameCase kFrameCases[] = {
    {"Probe", "000122", "FE000122F0490A"},
    {"PollTwoModules", "00026010", "FE0002601088280A"},
    {"PollEightModules", "00026040", "FE0002604088140A"},
    {"TypeOfModule1", "00026101", "FE0002610149B40A"},
    {"LabelOfChannel10", "0002620A", "FE0002620A08830A"},
};

class BuildFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(BuildFrameTest, WrapsBodyInStartCrcAndEndByte) {
  EXPECT_EQ(BuildFrame(GetParam().body), GetParam().frame);
}

INSTANTIATE_TEST_SUITE_P(Requests, BuildFrameTest, testing::ValuesIn(kFrameCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HexToBytes, ProbeBecomesSevenBytes) {
  EXPECT_EQ(HexToBytes("FE000122F0490A"), std::string("\xFE\x00\x01\x22\xF0\x49\x0A", 7));
}

TEST(HexToBytes, LowerCaseOddAndBadDigits) {
  EXPECT_EQ(HexToBytes("4a6b"), "Jk");
  EXPECT_EQ(HexToBytes("414"), "A");                      // odd last digit dropped
  EXPECT_EQ(HexToBytes("4G41"), std::string("\0A", 2));  // a bad pair gives 0
  EXPECT_EQ(BytesToHex(HexToBytes("00FF7f")), "00FF7F");
}

// Received bytes (as they come, least significant first) of a float.
std::string Received(float value) {
  unsigned char b[4];
  std::memcpy(b, &value, 4);
  std::string hex;
  AppendHex(hex, b, 4);
  return hex;
}

struct ReadingCase {
  const char* name;
  const char* received;
  int pointMode;
  const char* text;
};

void PrintTo(const ReadingCase& c, std::ostream* os) { *os << c.name; }

const ReadingCase kReadingCases[] = {
    {"TwentyFiveOneDecimal", "0000C841", 1, "25.0"},
    {"TwentyFiveTwoDecimals", "0000C841", 2, "25.00"},
    {"MinusTenOneDecimal", "000020C1", 1, "-10.0"},
    {"AnyOtherModeIsOneDecimal", "000020C1", 0, "-10.0"},
    {"ZeroBytes", "00000000", 1, "0.0"},
    {"NegativeZero", "00000080", 2, "0.00"},
    {"LowerCaseDigits", "0000c841", 1, "25.0"},
    // Kept to 4 decimals first, then formatted: 0.04996 -> 0.05 -> "0.1" (not "0.0").
    {"FourDecimalsBeforeOneDecimal", "DBA24C3D", 1, "0.1"},
    {"FourDecimalsBeforeOneDecimalNegative", "DBA24CBD", 1, "-0.1"},
    // 0.004996 -> 0.005 -> "0.01" (not "0.00").
    {"FourDecimalsBeforeTwoDecimals", "7CB5A33B", 2, "0.01"},
};

class ReadingTextTest : public testing::TestWithParam<ReadingCase> {};

TEST_P(ReadingTextTest, FormatsByDecimalMode) {
  EXPECT_EQ(ReadingText(GetParam().received, GetParam().pointMode), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Readings, ReadingTextTest, testing::ValuesIn(kReadingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HexToFloatValue, ReadsMostSignificantByteFirst) {
  EXPECT_EQ(HexToFloatValue("41C80000"), 25.0);
  EXPECT_EQ(HexToFloatValue("C1200000"), -10.0);
  EXPECT_EQ(HexToFloatValue("00000000"), 0.0);  // exponent 0 is not special: a tiny value
}

TEST(HexToFloatValue, KeepsAtMostFourDecimals) {
  const std::string hex = Received(0.123456f);
  const std::string msbFirst = hex.substr(6, 2) + hex.substr(4, 2) + hex.substr(2, 2) + hex.substr(0, 2);
  EXPECT_DOUBLE_EQ(HexToFloatValue(msbFirst), 0.1235);
  EXPECT_DOUBLE_EQ(HexToFloatValue("C2F6E993"), -123.4562);  // -123.456199... as a single
}

TEST(HexToFloatValue, ExponentAllOnesIsALargeFiniteNumber) {
  const double v = HexToFloatValue("7F800000");  // +infinity as a single
  EXPECT_TRUE(std::isfinite(v));
  EXPECT_NEAR(v / 340282366920938463463374607431768211456.0, 1.0, 1e-12);  // 2^128
}

TEST(HexToFloatValue, RaisesOnTextThatIsNot32BitsOfHex) {
  EXPECT_THROW(HexToFloatValue("41C800"), EConvertError);
  EXPECT_THROW(HexToFloatValue("41C8000000"), EConvertError);
  EXPECT_THROW(HexToFloatValue("41C8000G"), EConvertError);
  EXPECT_THROW(ReadingText("", 1), EConvertError);
  EXPECT_THROW(ReadingText("0000C8 1", 1), EConvertError);
}

TEST(HexToBinText, ExpandsEachDigitToFourBits) {
  EXPECT_EQ(HexToBinText("A5f0"), "1010010111110000");
  EXPECT_EQ(BinTextToInt("10000010"), 130);
  EXPECT_DOUBLE_EQ(BinFractionValue("1001"), 0.5625);
}

}  // namespace
