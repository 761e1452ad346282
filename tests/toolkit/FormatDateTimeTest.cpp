// FormatDateTime specifiers, the minutes rule for "m" after "h", separators from the settings,
// rounding to the millisecond at midnight, and the process formats that make every date-time
// read 2024-03-05 08:07:06 whatever the regional settings were.
#include <gtest/gtest.h>

#include <limits>

#include "RtlSettings.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

TDateTime Moment(int y, int mo, int d, int h, int mi, int s, int ms) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

struct Case {
  const char* name;
  const char* format;
  TDateTime value;
  const char* expected;
};

}  // namespace

TEST(FormatDateTime, Table) {
  const TDateTime t = Moment(2024, 3, 5, 8, 7, 6, 9);     // a Tuesday morning
  const TDateTime pm = Moment(2023, 12, 31, 23, 59, 58, 123);
  const Case cases[] = {
      {"database text", "yyyy-mm-dd hh:mm:ss", t, "2024-03-05 08:07:06"},
      {"file name stamp", "yyyymmddhhnnss", t, "20240305080706"},
      {"log line prefix", "[yyyy-mm-dd hh:mm:ss:zzz] ", t, "[2024-03-05 08:07:06:009] "},
      {"axis day", "dd/MMM", t, "05-Mar"},
      {"axis month", "MM/yy", t, "03-24"},
      {"axis hour", "dd hh:nn", t, "05 08:07"},
      {"axis year", "yyyy", t, "2024"},
      {"upper case letters", "yyyy-MM-dd HH:mm:ss", t, "2024-03-05 08:07:06"},
      {"short forms", "d/m/yy h:n:s z", t, "5-3-24 8:7:6 9"},
      {"m after h is minutes", "h m", t, "8 7"},
      {"long runs count as the longest form", "hhh:nnn:sss zzzz yyyyy", t, "08:07:06 009 2024"},
      {"seven d is the long date", "ddddddd", t, "2024-03-05"},
      {"m without h is month", "m", t, "3"},
      {"month names", "mmm mmmm", t, "Mar March"},
      {"day names", "ddd dddd", t, "Tue Tuesday"},
      {"short date", "ddddd", t, "2024-03-05"},
      {"long date", "dddddd", t, "2024-03-05"},
      {"c with time", "c", t, "2024-03-05 08:07:06"},
      {"c without time", "c", EncodeDate(2024, 3, 5), "2024-03-05"},
      {"c ignores milliseconds alone", "c", EncodeDate(2024, 3, 5) + EncodeTime(0, 0, 0, 500), "2024-03-05"},
      {"t and tt", "t|tt", t, "08:07:06|08:07:06"},
      {"am/pm morning", "h:nn am/pm", t, "8:07 am"},
      {"AM/PM evening", "hh:nn AM/PM", pm, "11:59 PM"},
      {"a/p", "h a/p", pm, "11 p"},
      {"ampm uses the settings", "h ampm", t, "8 AM"},
      {"marker before the hour keeps 24 hours", "am/pm hh", pm, "pm 23"},
      {"marker after another hour", "hh h am/pm", pm, "23 11 pm"},
      {"quoted a is skipped", "h 'a' am/pm", pm, "11 a pm"},
      {"noon in 12 hours", "h am/pm", Moment(2024, 1, 1, 12, 0, 0, 0), "12 pm"},
      {"midnight in 12 hours", "h am/pm", Moment(2024, 1, 1, 0, 0, 0, 0), "12 am"},
      {"double quoted literal", "\"at\" hh", t, "at 08"},
      {"single quoted keeps letters", "'day' d 'ymd'", t, "day 5 ymd"},
      {"other characters literal", "yyyy.mm.dd_hh#", t, "2024.03.05_08#"},
      {"empty format is c", "", t, "2024-03-05 08:07:06"},
      {"leap day", "yyyy-mm-dd", EncodeDate(2024, 2, 29), "2024-02-29"},
      {"before the epoch", "yyyy-mm-dd hh:nn", -1.25, "1899-12-29 06:00"},
      {"epoch", "yyyy-mm-dd hh:nn", 0.0, "1899-12-30 00:00"},
      // A value a hair before midnight is the next day at 00:00:00.000, never 23:59:60 or 1000 ms.
      {"rounds to next midnight", "yyyy-mm-dd hh:nn:ss.zzz", 45000.999999999, "2023-03-16 00:00:00.000"},
      {"fraction only rounds", "hh:nn:ss:zzz", 0.999999999, "00:00:00:000"},
      {"just below a second", "hh:nn:ss.zzz", EncodeTime(10, 0, 0, 999) + 0.0004 / 86400000.0, "10:00:00.999"},
      {"rounds up to the second", "ss.zzz", EncodeTime(10, 0, 0, 999) + 0.6 / 86400000.0, "01.000"},
  };
  const TFormatSettings s = ProgramLikeSettings();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatDateTime(c.format, c.value, s), c.expected);
  }
}

TEST(FormatDateTime, SeparatorsComeFromTheSettings) {
  TFormatSettings s = ProgramLikeSettings();
  s.DateSeparator = '.';
  s.TimeSeparator = 'h';
  const TDateTime t = Moment(2024, 3, 5, 8, 7, 6, 0);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", t, s), "05.03.2024 08h07");
  // Quoted separators are literal.
  EXPECT_EQ(FormatDateTime("dd'/'mm\":\"", t, s), "05/03:");
}

TEST(FormatDateTime, InvalidValuesRaise) {
  const TFormatSettings s = ProgramLikeSettings();
  EXPECT_THROW(FormatDateTime("yyyy", std::numeric_limits<double>::quiet_NaN(), s), EConvertError);
  EXPECT_THROW(FormatDateTime("yyyy", -700000.0, s), EConvertError);
}

// The program fixes its formats at start; whatever the regional settings were before, the
// process-wide functions then write dates as 2024-03-05 08:07:06.
TEST(FormatDateTime, ProgramFormatsOverrideOddRegionalSettings) {
  ProcessSettingsGuard guard;
  TFormatSettings& s = FormatSettings();
  s.DateSeparator = '/';
  s.TimeSeparator = '.';
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  s.ShortDateFormat = "d/M/yy";
  s.LongTimeFormat = "h.mm.ss AMPM";
  const TDateTime t = Moment(2024, 3, 5, 8, 7, 6, 0);
  ASSERT_EQ(DateTimeToStr(t), "5/3/24 8.07.06 AM");  // the odd settings are really in effect

  s.DateSeparator = '-';
  s.ShortDateFormat = "yyyy-mm-dd";
  s.LongDateFormat = "yyyy-mm-dd";
  s.TimeSeparator = ':';
  s.ShortTimeFormat = "hh:mm:ss";
  s.LongTimeFormat = "hh:mm:ss";
  s.DecimalSeparator = '.';
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:mm:ss", t), "2024-03-05 08:07:06");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:mm:ss", t), "2024-03-05 08:07:06");
  EXPECT_EQ(DateTimeToStr(t), "2024-03-05 08:07:06");
  EXPECT_EQ(DateToStr(t), "2024-03-05");
  EXPECT_EQ(TimeToStr(t), "08:07:06");
  EXPECT_EQ(FloatToStr(25.5), "25.5");
  EXPECT_EQ(FormatFloat("0.0", 25.25), "25.3");
  EXPECT_EQ(Format("%.1f", {25.25}), "25.3");
  EXPECT_DOUBLE_EQ(StrToDateTime("2024-03-05 08:07:06"), t);
}

TEST(FormatDateTime, DateTimeToStringMatches) {
  std::string out;
  DateTimeToString(out, "yyyy-mm-dd", EncodeDate(2024, 3, 5), ProgramLikeSettings());
  EXPECT_EQ(out, "2024-03-05");
}
