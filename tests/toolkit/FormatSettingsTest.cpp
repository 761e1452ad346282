// The process-wide settings come from the user's locale: names and separators are filled in.
#include <gtest/gtest.h>

#include "tests/toolkit/RtlSettings.h"
#include "toolkit/rtl/SysUtils.h"

TEST(FormatSettings, OneProcessWideInstance) {
  ProcessSettingsGuard guard;
  FormatSettings().DecimalSeparator = '#';
  // What one caller changes, the formatting routines and every later caller see.
  EXPECT_EQ(FormatSettings().DecimalSeparator, '#');
  EXPECT_EQ(FormatFloat("0.0", 1.5), "1#5");
}

TEST(FormatSettings, FilledFromTheLocale) {
  const TFormatSettings& s = FormatSettings();
  for (int i = 0; i < 12; ++i) {
    EXPECT_FALSE(s.ShortMonthNames[i].empty()) << i;
    EXPECT_FALSE(s.LongMonthNames[i].empty()) << i;
  }
  for (int i = 0; i < 7; ++i) {
    EXPECT_FALSE(s.ShortDayNames[i].empty()) << i;
    EXPECT_FALSE(s.LongDayNames[i].empty()) << i;
  }
  EXPECT_NE(s.DecimalSeparator, '\0');
  EXPECT_NE(s.DateSeparator, '\0');
  EXPECT_FALSE(s.ShortDateFormat.empty());
  EXPECT_FALSE(s.LongTimeFormat.empty());
  // The locale's picture is translated: no era letters remain.
  EXPECT_EQ(s.ShortDateFormat.find('g'), std::string::npos);
}
