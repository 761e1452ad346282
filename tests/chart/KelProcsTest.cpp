// Shared chart procedures: date-time step table and calendar stepping, field and line routines,
// the index sort.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "chart/KelProcs.h"
#include "chart/SeriesMarkPosition.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kMinute = 60 * kSecond;
constexpr double kHour = 60 * kMinute;

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
    if (size <= 1) {
      EXPECT_EQ(exchanges, 0);
    }
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

TEST(KelProcsColors, DefaultPaletteColorWrapsAround) {
  ASSERT_EQ(DefaultPalette().size(), 20u);
  EXPECT_EQ(DefaultPaletteColor(0), 0x0000FF);   // red
  EXPECT_EQ(DefaultPaletteColor(3), 0xFF0000);   // blue
  EXPECT_EQ(DefaultPaletteColor(25), 0x808080);  // index 5, gray
  EXPECT_EQ(DefaultPaletteColor(15), 0x000000);  // black
  EXPECT_EQ(DefaultPaletteColor(19), 0xA4A0A0);
  EXPECT_EQ(DefaultPaletteColor(20), 0x0000FF);
}

TEST(KelProcsColors, SetDefaultPaletteReplacesAndRestores) {
  SetDefaultPalette({0x111111, 0x222222, 0x333333}, 1);
  ASSERT_EQ(DefaultPalette().size(), 2u);
  EXPECT_EQ(DefaultPaletteColor(3), 0x222222);
  SetDefaultPalette({}, -1);
  EXPECT_EQ(DefaultPalette().size(), 20u);
  EXPECT_EQ(DefaultPaletteColor(5), 0x808080);
}


// Writes (or with an empty type, removes) one value of the editor key for the test's duration.
class EditorValue {
 public:
  EditorValue(const char* name, DWORD type, const void* data, DWORD size) : name_(name) {
    HKEY key;
    const std::wstring path = Utf8ToWide(KelEditorKey);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
      RegSetValueExW(key, Utf8ToWide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
      RegCloseKey(key);
    }
  }
  ~EditorValue() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(KelEditorKey).c_str(), 0, KEY_WRITE, &key) ==
        ERROR_SUCCESS) {
      RegDeleteValueW(key, Utf8ToWide(name_).c_str());
      RegCloseKey(key);
    }
  }

 private:
  std::string name_;
};


TEST(KelProcsDefaults, ReadsTheEditorValuesOrFallsBack) {
  EXPECT_EQ(ReadDefaultString("DefaultCanvas", "TGDIPlusCanvas"), "TGDIPlusCanvas");
  EXPECT_EQ(ReadDefaultInteger("DefaultPalette", 13), 13);
  {
    const wchar_t canvas[] = L"TKelCanvas3D";
    const DWORD palette = 4;
    EditorValue canvasValue("DefaultCanvas", REG_SZ, canvas, sizeof canvas);
    EditorValue paletteValue("DefaultPalette", REG_DWORD, &palette, sizeof palette);
    EXPECT_EQ(ReadDefaultString("DefaultCanvas", "TGDIPlusCanvas"), "TKelCanvas3D");
    EXPECT_EQ(ReadDefaultInteger("DefaultPalette", 13), 4);
  }
  {
    const wchar_t text[] = L"four";
    EditorValue wrongType("DefaultPalette", REG_SZ, text, sizeof text);
    EXPECT_EQ(ReadDefaultInteger("DefaultPalette", 13), 13);
  }
  EXPECT_EQ(ReadDefaultInteger("DefaultPalette", 13), 13);
}

TEST(KelProcsGeometry, RectAroundPoint) {
  const RECT square = RectAroundPoint(10, 20, 3);
  EXPECT_EQ(square.left, 7);
  EXPECT_EQ(square.top, 17);
  EXPECT_EQ(square.right, 13);
  EXPECT_EQ(square.bottom, 23);
  const RECT wide = RectAroundPoint(10, 20, 5, 2);
  EXPECT_EQ(wide.left, 5);
  EXPECT_EQ(wide.top, 18);
  EXPECT_EQ(wide.right, 15);
  EXPECT_EQ(wide.bottom, 22);
}

TEST(KelProcsGeometry, DistanceToSegmentAndPointNearLine) {
  struct Case {
    const char* name;
    POINT p, a, b;
    float distance;
  };
  const Case cases[] = {
      {"above the middle", {5, 3}, {0, 0}, {10, 0}, 3},
      {"before the start", {-3, 4}, {0, 0}, {10, 0}, 5},
      {"past the end", {13, 4}, {0, 0}, {10, 0}, 5},
      {"on the segment", {4, 4}, {0, 0}, {8, 8}, 0},
      {"degenerate segment", {3, 4}, {0, 0}, {0, 0}, 5},
  };
  for (const auto& c : cases) EXPECT_FLOAT_EQ(DistanceToSegment(c.p, c.a, c.b), c.distance) << c.name;
  EXPECT_TRUE(PointNearLine({5, 3}, {0, 0}, {10, 0}, 2));   // 3 <= 2 + 1
  EXPECT_FALSE(PointNearLine({5, 4}, {0, 0}, {10, 0}, 2));  // 4 > 2 + 1
  EXPECT_TRUE(PointNearLine({10, 0}, {0, 0}, {10, 0}, -5));  // an end always hits
}

TEST(KelProcsGeometry, PointInPolygon) {
  const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(PointInPolygon({5, 5}, square, 3));
  EXPECT_FALSE(PointInPolygon({15, 5}, square, 3));
  EXPECT_FALSE(PointInPolygon({5, -1}, square, 3));
  EXPECT_TRUE(PointInPolygon({0, 0}, square, 3));     // the top-left corner counts
  EXPECT_FALSE(PointInPolygon({5, 10}, square, 3));   // the lower edge's y is outside [0, 10)
  const POINT bow[] = {{0, 0}, {10, 10}, {10, 0}, {0, 10}};  // self-crossing: even-odd
  EXPECT_TRUE(PointInPolygon({2, 5}, bow, 3));
  EXPECT_FALSE(PointInPolygon({5, 2}, bow, 3));
  EXPECT_FALSE(PointInPolygon({0, 0}, square, 0));  // fewer than two points
}

TEST(KelProcsGeometry, RectsIntersect) {
  RECT overlap;
  EXPECT_TRUE(RectsIntersect({0, 0, 10, 10}, {5, 5, 20, 20}, &overlap));
  EXPECT_EQ(overlap.left, 5);
  EXPECT_EQ(overlap.bottom, 10);
  EXPECT_FALSE(RectsIntersect({0, 0, 10, 10}, {10, 0, 20, 10}, &overlap));  // edges touch only
  EXPECT_FALSE(RectsIntersect({0, 0, 10, 10}, {20, 20, 30, 30}));
}

TEST(SeriesMarkPosition, BoundsAndOffset) {
  TSeriesMarkPosition position;
  position.LeftTop = {10, 20};
  position.Width = 30;
  position.Height = 12;
  position.ArrowFrom = {25, 60};
  position.ArrowTo = {25, 32};
  position.MidPoint = {25, 45};
  const RECT box = position.Bounds();
  EXPECT_EQ(box.right, 40);
  EXPECT_EQ(box.bottom, 32);

  position.Offset({5, -10});
  EXPECT_EQ(position.LeftTop.x, 15);
  EXPECT_EQ(position.LeftTop.y, 10);
  EXPECT_EQ(position.ArrowTo.y, 22);
  EXPECT_EQ(position.ArrowFrom.y, 60);  // stays at the point
  EXPECT_EQ(position.MidPoint.y, 45);   // no bend
  position.HasMid = true;
  position.Offset({0, 1});
  EXPECT_EQ(position.MidPoint.y, 46);

  TSeriesMarkPosition copy;
  copy.Assign(position);
  EXPECT_EQ(copy.LeftTop.x, 15);
  EXPECT_TRUE(copy.HasMid);
}

}  // namespace
