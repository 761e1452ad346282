// The process-wide text formats the recorder fixes at start-up: whatever the regional settings
// said before, date-times come out as "yyyy-mm-dd hh:mm:ss" and numbers with ".".
#include <gtest/gtest.h>

#include "app/TextFormats.h"
#include "tests/toolkit/RtlSettings.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

TEST(FixTextFormats, OverridesOtherRegionalSettings) {
  ProcessSettingsGuard guard;
  TFormatSettings& s = FormatSettings();
  s.DateSeparator = '.';
  s.TimeSeparator = '.';
  s.DecimalSeparator = ',';
  s.ShortDateFormat = "dd.MM.yyyy";
  s.LongDateFormat = "dddd, d. MMMM yyyy";
  s.ShortTimeFormat = "H.mm";
  s.LongTimeFormat = "H.mm.ss";
  s.CurrencyString = "EUR";
  s.CurrencyDecimals = 0;

  FixTextFormats();

  const TDateTime at = EncodeDate(2024, 3, 5) + EncodeTime(8, 7, 6, 45);
  EXPECT_EQ(DateTimeToStr(at), "2024-03-05 08:07:06");
  EXPECT_EQ(DateToStr(at), "2024-03-05");
  EXPECT_EQ(TimeToStr(at), "08:07:06");
  // "/" and ":" in a format stand for the separators.
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss", at), "2024-03-05 08:07:06");
  EXPECT_EQ(FormatDateTime("[yyyy-mm-dd hh:mm:ss:zzz] ", at), "[2024-03-05 08:07:06:045] ");
  EXPECT_EQ(FormatFloat("0.00", 25.5), "25.50");
  EXPECT_EQ(FloatToStr(-10.25), "-10.25");
  EXPECT_EQ(static_cast<double>(StrToFloat("21.5")), 21.5);
  EXPECT_EQ(FormatSettings().CurrencyString, "￥");
  EXPECT_EQ(FormatSettings().CurrencyDecimals, 2);
}

}  // namespace
