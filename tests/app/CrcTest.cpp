// CRC-16/MODBUS over frame text: the published check value, the recorder's frame examples and
// the failure results.
#include <gtest/gtest.h>

#include "app/Crc.h"

namespace {

struct CrcCase {
  const char* name;
  const char* hex;
  const char* crc;
};

void PrintTo(const CrcCase& c, std::ostream* os) { *os << c.name; }

const CrcCase kCrcCases[] = {
    {"CheckValueOfDigits1To9", "313233343536373839", "374B"},
    {"EmptyTextIsInitialValue", "", "FFFF"},
    {"ProbeBody", "000122", "F049"},
    {"OddLastDigitIgnored", "3132333435363738396", "374B"},
    {"PollFor16Channels", "00026010", "8828"},
    {"PollFor64Channels", "00026040", "8814"},
    {"ModuleTypeRequest", "00026101", "49B4"},
    {"LowerCaseHex", "0002610a", "0873"},
    {"LabelRequestChannel10", "0002620A", "0883"},
    {"NonHexDigit", "0001G2", "-1"},
    {"BlankInside", "00 122", "-1"},
};

class CrcModbusHexTest : public testing::TestWithParam<CrcCase> {};

TEST_P(CrcModbusHexTest, GivesLowByteFirstOrFailureText) {
  EXPECT_EQ(CrcModbusHex(GetParam().hex), GetParam().crc);
}

INSTANTIATE_TEST_SUITE_P(Examples, CrcModbusHexTest, testing::ValuesIn(kCrcCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The tables parsed from text must be the MODBUS tables; checked against the bitwise definition.
TEST(BuildCrcTables, MatchesTheBitwiseDefinition) {
  uint8_t low[256], high[256];
  BuildCrcTables(low, high);
  EXPECT_EQ(low[1], 0xC0);
  EXPECT_EQ(high[1], 0xC1);
  for (int i = 0; i < 256; ++i) {
    uint16_t crc = static_cast<uint16_t>(i);
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    EXPECT_EQ(high[i], crc & 0xFF) << "entry " << i;
    EXPECT_EQ(low[i], crc >> 8) << "entry " << i;
  }
}

}  // namespace
