// Alarm records to "warning" log lines: the texts of states, types and reference ends, the
// settings decoded from their high halves, empty and truncated files, a missing file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AlarmConversion.h"
#include "app/AppGlobals.h"
#include "tests/app/HistoryFixtures.h"
#include "tests/app/LogLines.h"
#include "tests/support/TempFolder.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

using fixtures::Stamp;

std::vector<std::string> WarningLines(const std::string& appPath) {
  std::vector<std::string> lines;
  for (const LogLine& l : ReadLogLines(appPath)) {
    if (l.file.find("__warning.log") == std::string::npos) continue;
    lines.push_back(l.text.substr(l.text.find("] ") + 2));  // after the time stamp
  }
  return lines;
}

TEST(AlarmTextsTest, NamedCodes) {
  struct Case {
    int nibble;
    const char* text;
  };
  for (const Case& c : std::vector<Case>{{0, "Normal state"}, {0xC, "Exceed the upper limit"}, {4, "Over-cap"},
                                         {2, "Lower limit exceeded"}, {3, "Exceed the Lower limit"},
                                         {0xF, "The device shuts down"}, {1, "Normal state"}, {9, "Normal state"}})
    EXPECT_EQ(AlarmStateText(c.nibble), c.text) << c.nibble;
  const char* const types[] = {"K_type", "J_type", "T_type", "E_type", "S_type", "N_type", "B_type", "R_type"};
  for (int code = 0; code < 8; ++code) EXPECT_EQ(AlarmTypeText(code), types[code]);
  EXPECT_EQ(AlarmReferenceText(0), "Built");
  EXPECT_EQ(AlarmReferenceText(1), "Customization");
  // Codes the instrument does not define are named as such, not as the field before.
  EXPECT_EQ(AlarmTypeText(8), "Unknown type(8)");
  EXPECT_EQ(AlarmReferenceText(2), "Unknown reference(2)");
}

class AlarmConversionTest : public testing::Test {
 protected:
  void SetUp() override { AppPath = folder_.Path(); }
  TempFolder folder_;
};

TEST_F(AlarmConversionTest, EachWholeRecordBecomesOneWarningLine) {
  fixtures::Bytes file = fixtures::AlarmRecord(Stamp{2024, 3, 5, 8, 7, 6}, 3, 0xC0, 0x01, 0x00,
                                               {25.0f, 100.0f, 80.0f, -10.0f, -20.0f, 1.0f, 0.5f});
  fixtures::Append(file, fixtures::AlarmRecord(Stamp{2025, 12, 31, 23, 59, 58}, 63, 0x0F, 0x07, 0x01,
                                               {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -1.5f}));
  file.insert(file.end(), 20, 0x77);  // a partial record
  fixtures::WriteFileBytes(AppPath + "alarm.bin", file);

  AbortRequested = 1;  // a leftover request does not stop a new conversion
  ConvertAlarmFile(AppPath + "alarm.bin");
  const std::vector<std::string> expected = {
      "2024-03-05 08:07:06; passage:4; Alarm information:Exceed the upper limit>>>Normal state; "
      "RTD type:J_type; Reference end:Built; Reference side value:25.00; Upper cap:100.00; "
      "upper limit:80.00; lower limit:-10.00; Lower and lower bounds:-20.00; Correction value K:1.00; "
      "Correction value B:0.50",
      "2025-12-31 23:59:58; passage:64; Alarm information:Normal state>>>The device shuts down; "
      "RTD type:R_type; Reference end:Customization; Reference side value:0.00; Upper cap:0.00; "
      "upper limit:0.00; lower limit:0.00; Lower and lower bounds:0.00; Correction value K:0.00; "
      "Correction value B:-1.50"};
  EXPECT_EQ(WarningLines(AppPath), expected);
}

TEST_F(AlarmConversionTest, SettingKeepsOnlyTheHighHalfOfTheSingle) {
  // 0.1f is 0x3DCCCCCD; the high half 0x3DCC reads as 0.0996... and shows as 0.10.
  fixtures::Bytes r = fixtures::AlarmRecord(Stamp{}, 0, 0, 0, 0, {0.1f, 36.6f});
  EXPECT_NEAR(AlarmSettingValue(r.data(), 0), 0.0996, 1e-9);
  EXPECT_NEAR(AlarmSettingValue(r.data(), 1), 36.5, 1e-9);
}

TEST_F(AlarmConversionTest, EmptyFileLogsNothingAndMissingFileRaises) {
  fixtures::WriteFileBytes(AppPath + "empty.bin", {});
  ConvertAlarmFile(AppPath + "empty.bin");
  EXPECT_TRUE(WarningLines(AppPath).empty());
  EXPECT_THROW(ConvertAlarmFile(AppPath + "missing.bin"), EInOutError);
}

}  // namespace
