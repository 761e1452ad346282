// Shared chart procedures: date-time step table and calendar stepping, field and line routines,
// the index sort.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "chart/KelProcs.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kMinute = 60 * kSecond;
constexpr double kHour = 60 * kMinute;

}  // namespace

TEST(DateTimeStepTable, EntriesInDays) {
  EXPECT_DOUBLE_EQ(DateTimeStep[dtOneMicroSecond], 1.0 / 86400e6);
  EXPECT_DOUBLE_EQ(DateTimeStep[dtOneMillisecond], 1.0 / 86400e3);
  EXPECT_DOUBLE_EQ(DateTimeStep[dtFifteenMinutes], 15 * kMinute);
  EXPECT_DOUBLE_EQ(DateTimeStep[dtTwelveHours], 0.5);
  EXPECT_EQ(DateTimeStep[dtOneWeek], 7);
  EXPECT_EQ(DateTimeStep[dtHalfMonth], 15);
  EXPECT_EQ(DateTimeStep[dtSixMonths], 182);
  EXPECT_EQ(DateTimeStep[dtOneYear], 365);
  for (int i = 1; i < dtNone; ++i) EXPECT_LT(DateTimeStep[i - 1], DateTimeStep[i]) << i;
}

struct NextStepCase {
  const char* name;
  double step;
  double next;
};

TEST(DateTimeStepTable, NextDateTimeStep) {
  const NextStepCase cases[] = {
      {"one hour gives two hours", kHour, 2 * kHour},
      {"1.5 seconds gives 5 seconds", 1.5 * kSecond, 5 * kSecond},
      {"one second gives 5 seconds", kSecond, 5 * kSecond},
      {"40 minutes gives one hour", 40 * kMinute, kHour},
      {"one week gives half a month", 7, 15},
      {"six months gives one year", 182, 365},
      {"200 days gives one year", 200, 365},
      {"one year gives one year", 365, 365},
      {"below the table gives one microsecond", 1e-12, DateTimeStep[dtOneMicroSecond]},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NextDateTimeStep(c.step), c.next) << c.name;
}

TEST(DateTimeStepTable, FindDateTimeStep) {
  EXPECT_EQ(FindDateTimeStep(1.0 / 24), dtOneHour);
  EXPECT_EQ(FindDateTimeStep(0.3), dtNone);
  EXPECT_EQ(FindDateTimeStep(365), dtOneYear);
  EXPECT_EQ(FindDateTimeStep(15), dtHalfMonth);
  EXPECT_EQ(FindDateTimeStep(kSecond + 1e-12), dtOneSecond);
  EXPECT_EQ(FindDateTimeStep(1.0 / 86400e6), dtOneMicroSecond);
}

struct AlignCase {
  const char* name;
  int step;
  double value;
  double aligned;
};

TEST(DateTimeStepTable, AlignDateTimeToStep) {
  const double march10noon = EncodeDate(2024, 3, 10) + 0.5;
  const double thursday = EncodeDate(2024, 3, 14);  // Monday before: 11 March, after: 18 March
  const AlignCase cases[] = {
      {"zero stays", dtOneMonth, 0, 0},
      {"half month, day below 15", dtHalfMonth, march10noon, EncodeDate(2024, 3, 1)},
      {"half month, day 15 on", dtHalfMonth, EncodeDate(2024, 3, 20) + 0.25,
       EncodeDate(2024, 3, 15)},
      {"month to the 1st", dtOneMonth, march10noon, EncodeDate(2024, 3, 1)},
      {"six months to the 1st", dtSixMonths, march10noon, EncodeDate(2024, 3, 1)},
      {"year to 1 January", dtOneYear, march10noon, EncodeDate(2024, 1, 1)},
      {"day, half goes to even (down)", dtOneDay, 45362.5, 45362},
      {"day, half goes to even (up)", dtOneDay, 45363.5, 45364},
      {"two days, 5 / 2 = 2.5 rounds to 2", dtTwoDays, 5, 4},
      {"three days", dtThreeDays, 4.6, 6},
      {"Thursday to the Monday before", dtOneWeek, thursday, EncodeDate(2024, 3, 11)},
      {"Friday to the Monday after", dtOneWeek, thursday + 1, EncodeDate(2024, 3, 18)},
      {"Thursday noon, half week to the even week (before)", dtOneWeek, thursday + 0.5,
       EncodeDate(2024, 3, 11)},
      {"Thursday noon, half week to the even week (after)", dtOneWeek, thursday + 7.5,
       EncodeDate(2024, 3, 25)},
      {"hour step leaves the value", dtOneHour, march10noon + 0.01, march10noon + 0.01},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(AlignDateTimeToStep(c.step, c.value), c.aligned) << c.name;
  EXPECT_EQ(DayOfWeek(AlignDateTimeToStep(dtOneWeek, thursday)), 2);  // Monday
}

struct StepCase {
  const char* name;
  bool forward;
  int step;
  double increment;
  double from;
  double to;
};

TEST(DateTimeStepTable, StepDateTimeAcrossMonthsAndYears) {
  const StepCase cases[] = {
      {"half month back from the 10th", false, dtHalfMonth, 15, EncodeDate(2024, 3, 10) + 0.3,
       EncodeDate(2024, 3, 1)},
      {"half month back from the 1st", false, dtHalfMonth, 15, EncodeDate(2024, 3, 1),
       EncodeDate(2024, 2, 15)},
      {"half month back from the 15th", false, dtHalfMonth, 15, EncodeDate(2024, 3, 15),
       EncodeDate(2024, 3, 1)},
      {"half month back from the 20th", false, dtHalfMonth, 15, EncodeDate(2024, 3, 20),
       EncodeDate(2024, 3, 15)},
      {"half month back across the year", false, dtHalfMonth, 15, EncodeDate(2024, 1, 1),
       EncodeDate(2023, 12, 15)},
      {"month back across the year", false, dtOneMonth, 30, EncodeDate(2024, 1, 1),
       EncodeDate(2023, 12, 1)},
      {"two months back across the year", false, dtTwoMonths, 60, EncodeDate(2024, 1, 1),
       EncodeDate(2023, 11, 1)},
      {"three months back", false, dtThreeMonths, 90, EncodeDate(2024, 7, 1),
       EncodeDate(2024, 4, 1)},
      {"four months back across the year", false, dtFourMonths, 120, EncodeDate(2024, 2, 1),
       EncodeDate(2023, 10, 1)},
      {"six months back across the year", false, dtSixMonths, 182, EncodeDate(2024, 3, 1),
       EncodeDate(2023, 9, 1)},
      {"two months ahead across the year", true, dtTwoMonths, 60, EncodeDate(2023, 12, 1),
       EncodeDate(2024, 2, 1)},
      {"year back", false, dtOneYear, 365, EncodeDate(2024, 1, 1), EncodeDate(2023, 1, 1)},
      {"years back until the target is passed", false, dtOneYear, 730, EncodeDate(2024, 1, 1),
       EncodeDate(2022, 1, 1)},
      {"year ahead", true, dtOneYear, 365, EncodeDate(2023, 1, 1), EncodeDate(2024, 1, 1)},
      {"29 February back a year", false, dtOneYear, 365, EncodeDate(2024, 2, 29),
       EncodeDate(2023, 2, 28)},
      {"other steps subtract", false, dtOneHour, kHour, 100.5, 100.5 - kHour},
      {"other steps add", true, dtOneDay, 1, 100.5, 101.5},
      {"zero increment leaves the value", false, dtOneMonth, 0, EncodeDate(2024, 3, 10) + 0.3,
       EncodeDate(2024, 3, 10) + 0.3},
  };
  for (const auto& c : cases) {
    double value = c.from;
    StepDateTime(c.forward, value, c.step, c.increment);
    EXPECT_DOUBLE_EQ(value, c.to) << c.name;
  }
}

TEST(DateTimeStepTable, RangeDateTimeFormat) {
  FormatSettings().ShortDateFormat = "yyyy-mm-dd";
  FormatSettings().ShortTimeFormat = "hh:mm:ss";
  EXPECT_EQ(RangeDateTimeFormat(1.5), "yyyy-mm-dd");
  EXPECT_EQ(RangeDateTimeFormat(1.0), "hh:mm:ss");
  EXPECT_EQ(RangeDateTimeFormat(23 * kHour), "hh:mm:ss");
}

struct FieldCase {
  const char* text;
  int count;
  const char* third;
};

TEST(KelProcsText, FieldCountAndFieldAt) {
  const FieldCase cases[] = {
      {"", 0, ""},
      {"a", 1, ""},
      {"a;b", 2, ""},
      {"a;b;", 2, ""},
      {"a;b;c", 3, "c"},
      {"a;;c;d", 4, "c"},
      {";b;c", 3, "c"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FieldCount(c.text), c.count) << c.text;
    EXPECT_EQ(FieldAt(c.text, 3), c.third) << c.text;
  }
  EXPECT_EQ(FieldAt("a;bb;c", 2), "bb");
  EXPECT_EQ(FieldAt("a;bb;c", 0), "");
  EXPECT_EQ(FieldAt("a;bb;c", -1), "");
  EXPECT_EQ(FieldAt("a;bb;c", 4), "");
  EXPECT_EQ(FieldAt("a;b;", 2), "b");
}

TEST(KelProcsText, OwnSeparatorLeavesTheProcessSeparator) {
  EXPECT_EQ(FieldCountSep("x|y|z", "|"), 3);
  EXPECT_EQ(FieldAtSep("x|y|z", 2, "|"), "y");
  EXPECT_EQ(FieldAtSep("x<>yy<>z", 2, "<>"), "yy");
  EXPECT_EQ(KelFieldSeparator, ";");
  EXPECT_EQ(FieldCount("x|y;z"), 2);
}

TEST(KelProcsText, ReplaceCharReplacesOrRemoves) {
  EXPECT_EQ(ReplaceChar("a b c", ' ', '\r'), "a\rb\rc");
  EXPECT_EQ(ReplaceChar("a,b,,c", ',', '\0'), "abc");
  EXPECT_EQ(ReplaceChar("", ',', ';'), "");
}

TEST(KelProcsText, TextLineCount) {
  EXPECT_EQ(TextLineCount(""), 1);
  EXPECT_EQ(TextLineCount("abc"), 1);
  EXPECT_EQ(TextLineCount("a\rb"), 2);
  EXPECT_EQ(TextLineCount("a\r\nb"), 2);
  EXPECT_EQ(TextLineCount("a\r"), 1);
  EXPECT_EQ(TextLineCount("a\r\n"), 1);
  EXPECT_EQ(TextLineCount("a\rb\rc"), 3);
  EXPECT_EQ(TextLineCount("a\nb"), 1);  // a line feed alone is no separator
}

TEST(KelProcsSort, SortByIndexMovesParallelDataTogether) {
  std::mt19937 random(7);
  for (int size : {0, 1, 2, 3, 10, 257}) {
    std::vector<int> keys(size);
    std::vector<int> tags(size);
    for (int i = 0; i < size; ++i) {
      keys[i] = static_cast<int>(random() % 20);  // many equal keys
      tags[i] = keys[i] * 1000 + i;
    }
    std::vector<int> expected = keys;
    std::sort(expected.begin(), expected.end());
    int exchanges = 0;
    SortByIndex(
        0, size - 1,
        [&](int a, int b) { return keys[a] < keys[b] ? -1 : keys[a] > keys[b] ? 1 : 0; },
        [&](int a, int b) {
          std::swap(keys[a], keys[b]);
          std::swap(tags[a], tags[b]);
          ++exchanges;
        });
    EXPECT_EQ(keys, expected) << "size " << size;
    for (int i = 0; i < size; ++i) EXPECT_EQ(tags[i] / 1000, keys[i]) << "size " << size;
    if (size <= 1) EXPECT_EQ(exchanges, 0);
  }
}

TEST(KelProcsSort, SortByIndexSortsASubRangeOnly) {
  std::vector<int> v = {9, 8, 7, 3, 1, 2, 0};
  SortByIndex(
      1, 5, [&](int a, int b) { return (v[a] > v[b]) - (v[a] < v[b]); },
      [&](int a, int b) { std::swap(v[a], v[b]); });
  EXPECT_EQ(v, (std::vector<int>{9, 1, 2, 3, 7, 8, 0}));
}

TEST(KelProcsValues, StartFillsTheProcessWideValues) {
  EXPECT_EQ(KelDefaultCanvasName, "TGDIPlusCanvas");
  EXPECT_EQ(KelLineSeparator, '\r');
  EXPECT_EQ(KelFieldSeparator, ";");
  EXPECT_TRUE(KelClipWhenPrinting && KelClipWhenMetafiling && KelPrintPanelBackground);
}
