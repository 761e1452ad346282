// TDateTime encoding and decoding: the day count from 1899-12-30, leap years, invalid dates and
// times, negative values, week days, millisecond rounding, and reading dates back from text.
#include <gtest/gtest.h>

#include "RtlSettings.h"
#include "toolkit/rtl/SysUtils.h"

TEST(EncodeDate, Table) {
  struct Case {
    const char* name;
    int y, m, d;
    double expected;
  };
  static const Case cases[] = {
      {"epoch", 1899, 12, 30, 0},
      {"day after epoch", 1899, 12, 31, 1},
      {"day before epoch", 1899, 12, 29, -1},
      {"1900-03-01 after the missing leap day", 1900, 3, 1, 61},
      {"2000-01-01", 2000, 1, 1, 36526},
      {"leap day 2024", 2024, 2, 29, 45351},
      {"2024-03-05", 2024, 3, 5, 45356},
      {"first day", 1, 1, 1, -693593},
      {"last day", 9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.expected);
    int y, m, d;
    DecodeDate(c.expected, y, m, d);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(d, c.d);
  }
}

TEST(EncodeDate, InvalidDatesRaise) {
  struct Case {
    const char* name;
    int y, m, d;
  };
  static const Case cases[] = {
      {"no leap day in 2023", 2023, 2, 29}, {"no leap day in 1900", 1900, 2, 29},
      {"month 13", 2024, 13, 1},            {"month 0", 2024, 0, 1},
      {"day 0", 2024, 1, 0},                {"April 31", 2024, 4, 31},
      {"year 0", 0, 1, 1},                  {"year 10000", 10000, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDateTime v = 123;
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, v));
    EXPECT_EQ(v, 123);
    try {
      EncodeDate(c.y, c.m, c.d);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
}

TEST(EncodeTime, Table) {
  struct Case {
    const char* name;
    int h, n, s, ms;
    bool valid;
  };
  static const Case cases[] = {
      {"midnight", 0, 0, 0, 0, true},        {"noon", 12, 0, 0, 0, true},
      {"last ms", 23, 59, 59, 999, true},    {"hour 24", 24, 0, 0, 0, false},
      {"minute 60", 10, 60, 0, 0, false},    {"second 60", 10, 0, 60, 0, false},
      {"ms 1000", 10, 0, 0, 1000, false},    {"negative", -1, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDateTime v;
    ASSERT_EQ(TryEncodeTime(c.h, c.n, c.s, c.ms, v), c.valid);
    if (!c.valid) {
      EXPECT_THROW(EncodeTime(c.h, c.n, c.s, c.ms), EConvertError);
      continue;
    }
    int h, n, s, ms;
    DecodeTime(v, h, n, s, ms);
    EXPECT_EQ(h, c.h);
    EXPECT_EQ(n, c.n);
    EXPECT_EQ(s, c.s);
    EXPECT_EQ(ms, c.ms);
  }
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DecodeDateTime, RoundsToTheMillisecondAndCarriesIntoTheDay) {
  int y, m, d, h, n, s, ms;
  const TDateTime almostMidnight = EncodeDate(2024, 2, 28) + 0.999999999;
  DecodeDate(almostMidnight, y, m, d);
  DecodeTime(almostMidnight, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 0);

  // Before the epoch the day counts back and the fraction is still the time of day.
  DecodeDate(-1.25, y, m, d);
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  EXPECT_EQ(h, 6);
  DecodeDate(-0.75, y, m, d);
  DecodeTime(-0.75, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991230);
  EXPECT_EQ(h, 18);
}

TEST(DayOfWeek, Table) {
  struct Case {
    const char* name;
    TDateTime value;
    int expected;
  };
  const Case cases[] = {
      {"epoch was a Saturday", 0.0, 7},
      {"2024-03-03 Sunday", EncodeDate(2024, 3, 3), 1},
      {"2024-03-05 Tuesday afternoon", EncodeDate(2024, 3, 5) + 0.75, 3},
      {"2000-01-01 Saturday", EncodeDate(2000, 1, 1), 7},
      {"1899-12-29 Friday", -1.5, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DayOfWeek(c.value), c.expected);
  }
}

TEST(Now, AgreesWithTheSystemClock) {
  const TDateTime before = Now();
  const TDateTime today = Date();
  const TDateTime after = Now();
  EXPECT_LE(before, after);
  EXPECT_GE(before, EncodeDate(2020, 1, 1));
  EXPECT_LE(today, after);
  EXPECT_GT(today + 1, before);
  EXPECT_GE(Time(), 0.0);
  EXPECT_LT(Time(), 1.0);
}

TEST(StrToDateTime, Table) {
  struct Case {
    const char* name;
    const char* text;
    bool valid;
    TDateTime expected;
  };
  const Case cases[] = {
      {"date and time", "2024-03-05 08:07:06", true, EncodeDate(2024, 3, 5) + EncodeTime(8, 7, 6, 0)},
      {"date only", "2024-03-05", true, EncodeDate(2024, 3, 5)},
      {"time only", "08:07", true, EncodeTime(8, 7, 0, 0)},
      {"milliseconds", "2024-03-05 08:07:06.5", true,
       EncodeDate(2024, 3, 5) + EncodeTime(8, 7, 6, 500)},
      {"pm marker", "2024-03-05 1:00 PM", true, EncodeDate(2024, 3, 5) + EncodeTime(13, 0, 0, 0)},
      {"blanks around", "  2024-03-05  ", true, EncodeDate(2024, 3, 5)},
      {"invalid day", "2024-02-30", false, 0},
      {"wrong separator", "2024/03/05", false, 0},
      {"trailing garbage", "2024-03-05 x", false, 0},
      {"empty", "", false, 0},
  };
  const TFormatSettings s = ProgramLikeSettings();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDateTime v = -1;
    ASSERT_EQ(TryStrToDateTime(c.text, v, s), c.valid);
    if (c.valid) {
      EXPECT_NEAR(v, c.expected, 1e-9);
    }
  }
}

TEST(StrToDateTime, DayMonthOrderAndMessages) {
  TFormatSettings s = ProgramLikeSettings();
  s.ShortDateFormat = "dd/mm/yyyy";
  s.DateSeparator = '/';
  TDateTime v;
  ASSERT_TRUE(TryStrToDate("05/03/2024", v, s));
  EXPECT_EQ(v, EncodeDate(2024, 3, 5));
  ASSERT_TRUE(TryStrToDate("05/03/24", v, s));  // two-digit year in the window around now
  EXPECT_EQ(v, EncodeDate(2024, 3, 5));

  ProcessSettingsGuard guard;
  FormatSettings() = ProgramLikeSettings();
  try {
    StrToDate("tomorrow");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'tomorrow' is not a valid date");
  }
  EXPECT_THROW(StrToTime("25:00"), EConvertError);
  try {
    StrToDateTime("2024-13-01");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'2024-13-01' is not a valid date and time");
  }
}
