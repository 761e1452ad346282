// Axis arithmetic: value<->pixel mapping in every orientation, pixel span and position, the
// automatic range and its rounding, pixel margins, numeric and date-time increments, and the
// setter guards with their texts.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "chart/ChartAxis.h"
#include "chart/KelConst.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

constexpr double kMinute = 1.0 / 1440;

// A chart as the axis sees it: a fixed chart rectangle and depth, fixed series extremes and
// label sizes, and counters for what the axis asks of it.
class FakeChart : public IAxisOwner {
 public:
  double SeriesExtreme(const TChartAxis&, bool maximum, bool) override {
    return maximum ? seriesMax : seriesMin;
  }
  bool HasSeriesWithAtMostPoints(const TChartAxis&, int points) override {
    return seriesPoints >= 0 && seriesPoints <= points;
  }
  bool SeriesShowDateTime(const TChartAxis&) override { return dateTime; }
  void NotifyAxisChanged(TChartAxis&) override {
    ++axisChanges;
    ++invalidations;
  }
  void InvalidateChart() override { ++invalidations; }
  bool ChartLoading() const override { return loading; }
  bool ChartReading() const override { return reading; }
  RECT ChartRect() const override { return rect; }
  int ChartDepth() const override { return depth; }
  int LabelTextWidth(const TChartAxis&, const std::string& text) override {
    return labelWidth ? labelWidth(text) : 60;
  }
  int LabelLineHeight(const TChartAxis&) override { return 12; }
  void GetAxisLabel(const TChartAxis&, std::string& text) override {
    if (relabel) text = "<" + text + ">";
  }

  RECT rect{100, 50, 500, 350};  // 400 wide, 300 high
  int depth = 100;
  double seriesMin = 0;
  double seriesMax = 0;
  int seriesPoints = -1;  // no series
  bool dateTime = false;
  bool loading = false;
  bool reading = false;
  bool relabel = false;
  std::function<int(const std::string&)> labelWidth;
  int axisChanges = 0;
  int invalidations = 0;
};

// An axis of `chart` laid out over the chart rectangle with the internal range min..max.
void Layout(TChartAxis& axis, double minimum, double maximum) {
  axis.ComputePixelSpan();
  axis.SetInternalRange(minimum, maximum);
}

struct MappingCase {
  const char* name;
  bool horizontal;
  bool inverted;
  bool logarithmic;
  double value;
  int pixel;
};

}  // namespace

TEST(ChartAxisMapping, ValueToPixel) {
  const MappingCase cases[] = {
      // Linear 0..100 over 100..500 (horizontal) and 50..350 (vertical).
      {"horizontal", true, false, false, 25, 200},
      {"horizontal, minimum at the start", true, false, false, 0, 100},
      {"horizontal, maximum at the end", true, false, false, 100, 500},
      {"horizontal inverted", true, true, false, 25, 400},
      {"vertical", false, false, false, 25, 275},
      {"vertical, minimum at the bottom", false, false, false, 0, 350},
      {"vertical inverted", false, true, false, 25, 125},
      {"horizontal, 0.5 pixel rounds to even (down)", true, false, false, 0.125, 100},
      {"horizontal, 1.5 pixels round to even (up)", true, false, false, 0.375, 102},
      {"vertical, outside the range", false, false, false, 150, -100},
      // Logarithmic 1..1000: one decade is a third of the axis.
      {"log horizontal", true, false, true, 10, 233},
      {"log horizontal inverted", true, true, true, 10, 367},
      {"log vertical", false, false, true, 10, 250},
      {"log vertical inverted", false, true, true, 10, 150},
      {"log horizontal, zero at the start", true, false, true, 0, 100},
      {"log horizontal inverted, negative at the end", true, true, true, -5, 500},
      {"log vertical, zero at the end", false, false, true, 0, 350},
      {"log vertical inverted, zero at the start", false, true, true, 0, 50},
  };
  for (const auto& c : cases) {
    FakeChart chart;
    chart.seriesMin = 1;
    chart.seriesMax = 1000;
    TChartAxis axis(&chart);
    axis.SetHorizontal(c.horizontal);
    axis.SetInverted(c.inverted);
    if (c.logarithmic) axis.SetLogarithmic(true);
    Layout(axis, c.logarithmic ? 1 : 0, c.logarithmic ? 1000 : 100);
    EXPECT_EQ(axis.CalcPosValue(c.value), c.pixel) << c.name;
    EXPECT_EQ(c.horizontal ? axis.CalcXPosValue(c.value) : axis.CalcYPosValue(c.value), c.pixel)
        << c.name;
  }
}

TEST(ChartAxisMapping, PixelToValueInvertsTheMapping) {
  for (bool horizontal : {true, false}) {
    for (bool inverted : {false, true}) {
      for (bool logarithmic : {false, true}) {
        FakeChart chart;
        chart.seriesMin = 1;
        chart.seriesMax = 1000;
        TChartAxis axis(&chart);
        axis.SetHorizontal(horizontal);
        axis.SetInverted(inverted);
        if (logarithmic) axis.SetLogarithmic(true);
        const double low = logarithmic ? 1 : 0;
        const double high = logarithmic ? 1000 : 300;
        Layout(axis, low, high);
        const std::string name = std::string(horizontal ? "horizontal" : "vertical") +
                                 (inverted ? " inverted" : "") + (logarithmic ? " log" : "");
        // The ends map back exactly, a value in between to within one pixel's worth.
        EXPECT_NEAR(axis.CalcPosPoint(axis.CalcPosValue(low)), low, 1e-9) << name;
        EXPECT_NEAR(axis.CalcPosPoint(axis.CalcPosValue(high)), high, 1e-9) << name;
        const double middle = logarithmic ? 10 : 100;
        const double back = axis.CalcPosPoint(axis.CalcPosValue(middle));
        EXPECT_NEAR(back, middle, logarithmic ? 0.2 : 1.0) << name;
      }
    }
  }
}

TEST(ChartAxisMapping, ZeroRangeMapsToTheCentre) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetHorizontal(true);
  axis.SetMinMax(5, 5);
  axis.AutoRange();
  axis.ComputePixelSpan();
  EXPECT_TRUE(axis.RangeIsZero());
  EXPECT_EQ(axis.CenterPixel(), 300);
  for (double v : {-1e9, 0.0, 5.0, 1e9}) EXPECT_EQ(axis.CalcPosValue(v), 300) << v;
  EXPECT_EQ(axis.NumericIncrement(10), 1);
}

TEST(ChartAxisMapping, DepthAxisMapsAlongTheChartDepth) {
  FakeChart chart;  // depth 100
  TChartDepthAxis axis(&chart);
  Layout(axis, 0, 10);
  EXPECT_EQ(axis.StartPixel(), 0);
  EXPECT_EQ(axis.EndPixel(), 100);
  EXPECT_EQ(axis.CalcPosValue(2.5), 25);
  EXPECT_EQ(axis.CalcXPosValue(2.5), 25);
  axis.SetInverted(true);
  EXPECT_EQ(axis.CalcPosValue(2.5), 75);
  EXPECT_TRUE(axis.LabelsAsSeriesTitles());
}

TEST(ChartAxisMapping, FarValuesSaturateInsteadOfFailing) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetHorizontal(true);
  Layout(axis, 0, 1);
  EXPECT_EQ(axis.CalcPosValue(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(axis.CalcPosValue(-1e300), -std::numeric_limits<int>::max());
}

TEST(ChartAxisSpan, PixelSpanAndPosition) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetHorizontal(true);
  axis.SetStartPosition(25);
  axis.SetEndPosition(75);
  axis.ComputePixelSpan();
  EXPECT_EQ(axis.StartPixel(), 200);
  EXPECT_EQ(axis.EndPixel(), 400);
  EXPECT_EQ(axis.PixelSize(), 200);
  EXPECT_EQ(axis.CenterPixel(), 300);

  struct PositionCase {
    const char* name;
    bool horizontal, otherSide;
    double percent;
    TKelUnits units;
    int position;
  };
  const PositionCase cases[] = {
      {"bottom axis on the bottom edge", true, false, 0, muPercent, 350},
      {"top axis on the top edge", true, true, 0, muPercent, 50},
      {"bottom axis 10 percent up", true, false, 10, muPercent, 320},
      {"top axis 10 percent down", true, true, 10, muPercent, 80},
      {"left axis on the left edge", false, false, 0, muPercent, 100},
      {"right axis 15 pixels in", false, true, 15, muPixels, 485},
      {"left axis 15 pixels in", false, false, 15, muPixels, 115},
      {"left axis 5 percent in", false, false, 5, muPercent, 120},
  };
  for (const auto& c : cases) {
    TChartAxis positioned(&chart);
    positioned.SetHorizontal(c.horizontal);
    positioned.SetOtherSide(c.otherSide);
    positioned.SetPositionPercent(c.percent);
    positioned.SetPositionUnits(c.units);
    positioned.ComputePosition();
    EXPECT_EQ(positioned.Position(), c.position) << c.name;
  }
}

TEST(ChartAxisSpan, ZPixelFollowsZPosition) {
  FakeChart chart;  // depth 100, height 300
  TChartAxis axis(&chart);
  axis.SetZPosition(50);
  axis.ComputePixelSpan();
  EXPECT_EQ(axis.ZPixel(), 50);
  TChartDepthAxis depth(&chart);
  depth.SetZPosition(10);
  depth.ComputePixelSpan();
  EXPECT_EQ(depth.ZPixel(), 30);
}

TEST(ChartAxisRange, AutomaticRangeComesFromTheSeries) {
  FakeChart chart;
  chart.seriesMin = 3;
  chart.seriesMax = 97;
  TChartAxis axis(&chart);
  axis.SetHorizontal(true);
  axis.ComputePixelSpan();
  axis.AutoRange();
  EXPECT_EQ(axis.Minimum(), 3);
  EXPECT_EQ(axis.Maximum(), 97);
  EXPECT_EQ(axis.InternalMinimum(), 3);
  EXPECT_EQ(axis.InternalMaximum(), 97);

  axis.SetAutomaticMaximum(false);  // the maximum stays fixed, the minimum follows
  chart.seriesMin = 10;
  chart.seriesMax = 200;
  axis.AutoRange();
  EXPECT_EQ(axis.Minimum(), 10);
  EXPECT_EQ(axis.Maximum(), 97);
}

TEST(ChartAxisRange, RoundingWidensAutomaticEndsToTheIncrement) {
  FakeChart chart;
  chart.seriesMin = 3;
  chart.seriesMax = 97;
  chart.labelWidth = [](const std::string&) { return 30; };
  TChartAxis axis(&chart);
  axis.SetHorizontal(true);
  axis.SetMaximumRound(true);
  axis.SetMinimumRound(true);
  axis.ComputePixelSpan();
  // 400 px / (30 + 3) -> 12 labels; 94 / 13 grows to the nice step 10.
  axis.AutoRange();
  EXPECT_EQ(axis.InternalMinimum(), 0);
  EXPECT_EQ(axis.InternalMaximum(), 100);
  EXPECT_EQ(axis.Minimum(), 3);  // the published range keeps the series' values
  EXPECT_EQ(axis.Maximum(), 97);

  axis.SetMinMax(3, 97);  // fixed ends are never rounded
  axis.AutoRange();
  EXPECT_EQ(axis.InternalMinimum(), 3);
  EXPECT_EQ(axis.InternalMaximum(), 97);
}

TEST(ChartAxisRange, PixelMarginsWidenTheRange) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetHorizontal(true);
  Layout(axis, 0, 100);
  TChartAxis& sub = axis.AddSubAxis();
  axis.ApplyPixelMargins(40, 0, 40, 0);
  EXPECT_DOUBLE_EQ(axis.InternalMinimum(), -12.5);
  EXPECT_DOUBLE_EQ(axis.InternalMaximum(), 112.5);
  EXPECT_EQ(axis.StartPixel(), 100);
  EXPECT_EQ(axis.EndPixel(), 500);
  EXPECT_EQ(axis.CalcPosValue(0), 140);
  EXPECT_EQ(axis.CalcPosValue(100), 460);
  EXPECT_DOUBLE_EQ(sub.InternalMinimum(), -12.5);
  EXPECT_DOUBLE_EQ(sub.InternalMaximum(), 112.5);
  EXPECT_EQ(sub.CalcPosValue(0), 140);

  TChartAxis vertical(&chart);
  Layout(vertical, 0, 300);
  vertical.ApplyPixelMargins(0, 30, 0, 60);  // top 30, bottom 60 over 300 px
  EXPECT_DOUBLE_EQ(vertical.InternalMaximum(), 300 + 30 * 300.0 / 210);
  EXPECT_DOUBLE_EQ(vertical.InternalMinimum(), -60 * 300.0 / 210);
  EXPECT_EQ(vertical.CalcPosValue(0), 290);
}

TEST(ChartAxisIncrement, NextNiceStep) {
  struct Case {
    double x, step;
  };
  const Case cases[] = {{0.3, 0.5}, {1, 2},   {1.5, 2},    {2, 5},
                        {4.99, 5},  {5, 10},  {9.09, 10},  {10, 20},
                        {20, 50},   {75, 100}, {0.002, 0.005},
                        {std::numeric_limits<double>::infinity(), 1}, {0, 1},
                        // No decade to step in: without the guard these recurse without end.
                        {-5, 1}, {std::numeric_limits<double>::quiet_NaN(), 1}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NextNiceStep(c.x), c.step) << c.x;
}

TEST(ChartAxisIncrement, NumericIncrements) {
  struct Case {
    const char* name;
    double minimum, maximum, increment;
    int maxLabels;
    bool logarithmic;
    int seriesPoints;
    double separation;
    double result;
  };
  const Case cases[] = {
      {"0.5 doubles to 16 on 0..100 with room for 10", 0, 100, 0.5, 10, false, -1, 10, 16},
      {"no increment: 100 / 11 grows to the nice 10", 0, 100, 0, 10, false, -1, 10, 10},
      {"fits at once", 0, 100, 25, 10, false, -1, 10, 25},
      {"without label separation the increment stays", 0, 100, 0.5, 10, false, -1, 0, 0.5},
      {"a small series keeps steps at 1", 0, 5, 0, 10, false, 3, 10, 1},
      {"without such a series the step is 0.5", 0, 5, 0, 10, false, -1, 10, 0.5},
      {"logarithmic starts at a power of the base", 1, 1e6, 0, 10, true, -1, 10, 1e5},
      {"logarithmic grows by the base", 1, 1e4, 0, 3, true, -1, 10, 1e4},
      // 100 / 1e-9 is beyond the label count limit: the step grows before any count is known.
      {"a first count beyond the limit still grows", 0, 100, 1e-9, 10, false, -1, 10,
       1e-9 * 17179869184.0},
  };
  for (const auto& c : cases) {
    FakeChart chart;
    chart.seriesMin = c.minimum;
    chart.seriesMax = c.maximum;
    chart.seriesPoints = c.seriesPoints;
    TChartAxis axis(&chart);
    axis.SetHorizontal(true);
    axis.SetIncrement(c.increment);
    axis.SetLabelsSeparation(c.separation);
    if (c.logarithmic) axis.SetLogarithmic(true);
    Layout(axis, c.minimum, c.maximum);
    EXPECT_DOUBLE_EQ(axis.NumericIncrement(c.maxLabels), c.result) << c.name;
    EXPECT_DOUBLE_EQ(axis.IncrementForLabels(c.maxLabels), c.result) << c.name;
  }
}

TEST(ChartAxisIncrement, NoRoomGivesTheSmallestStep) {
  FakeChart chart;
  TChartAxis axis(&chart);
  Layout(axis, 0, 100);
  EXPECT_EQ(axis.IncrementForLabels(0), std::numeric_limits<double>::denorm_min());
  chart.dateTime = true;
  axis.RefreshDateTime();
  EXPECT_DOUBLE_EQ(axis.IncrementForLabels(0), DateTimeStep[dtOneMicroSecond]);
}

TEST(ChartAxisIncrement, DateTimeIncrements) {
  struct Case {
    const char* name;
    double range, increment;
    int maxLabels;
    double result;
  };
  const Case cases[] = {
      {"10 minutes, 11 labels: one minute", 10 * kMinute, 0, 11, DateTimeStep[dtOneMinute]},
      {"one hour steps over a day, 5 labels: six hours", 1, 1.0 / 24, 5,
       DateTimeStep[dtSixHours]},
      {"one day, 24 labels: one hour", 1, 0, 24, DateTimeStep[dtOneHour]},
      {"ten years, 3 labels: doubling past a year", 3650, 0, 3, 1460},
      {"a fitting increment stays", 1, 0.25, 10, 0.25},
      {"zero range: the table minimum", 0, 0, 10, DateTimeStep[dtOneMicroSecond]},
  };
  for (const auto& c : cases) {
    FakeChart chart;
    chart.dateTime = true;
    TChartAxis axis(&chart);
    axis.SetHorizontal(true);
    axis.SetIncrement(c.increment);
    axis.RefreshDateTime();
    Layout(axis, 45000, 45000 + c.range);
    EXPECT_DOUBLE_EQ(axis.DateTimeIncrement(c.maxLabels), c.result) << c.name;
  }
}

TEST(ChartAxisIncrement, TenMinutesOverSevenHundredPixels) {
  FakeChart chart;
  chart.rect = RECT{0, 0, 700, 400};
  chart.dateTime = true;
  chart.labelWidth = [](const std::string&) { return 60; };
  TChartAxis axis(&chart);
  axis.SetHorizontal(true);
  axis.RefreshDateTime();
  ASSERT_TRUE(axis.IsDateTime());
  Layout(axis, 45000.5, 45000.5 + 10 * kMinute);
  // 60-pixel labels 10 percent apart: round(700 / 66) = 11 labels fit.
  EXPECT_DOUBLE_EQ(axis.IncrementForExtent(60), DateTimeStep[dtOneMinute]);
  EXPECT_DOUBLE_EQ(axis.LabelsIncrement(), DateTimeStep[dtOneMinute]);
}

TEST(ChartAxisIncrement, LabelExtentsComeFromTheFormattedLabels) {
  FakeChart chart;
  std::vector<std::string> measured;
  chart.labelWidth = [&](const std::string& text) {
    measured.push_back(text);
    return static_cast<int>(text.size()) * 10;
  };
  TChartAxis axis(&chart);
  axis.SetHorizontal(true);
  Layout(axis, 0, 1000);
  // Labels "1,000", "0" and the middle value 500 halved to a fraction, "62.5": the widest is
  // 50 px, so round(400 / 55) = 7 labels fit: 1000 / 8 grows to 200.
  EXPECT_DOUBLE_EQ(axis.LabelsIncrement(), 200);
  EXPECT_EQ(measured, (std::vector<std::string>{"1,000", "0", "62.5"}));

  axis.SetLabelsAlternate(true);
  EXPECT_DOUBLE_EQ(axis.LabelsIncrement(), 100);
  axis.SetLabelsAlternate(false);

  axis.SetLabelsAngle(90);  // labels stand across a horizontal axis: one line height each
  EXPECT_DOUBLE_EQ(axis.LabelsIncrement(), 50);  // round(400 / 13) = 31 labels: 1000/32 -> 50

  axis.SetLabelsAngle(0);
  axis.SetLabelsGridIgnoresLabelSize(true);  // every extent 1: 400 labels fit
  EXPECT_DOUBLE_EQ(axis.LabelsIncrement(), 5);
}

TEST(ChartAxisLabels, FormatLabel) {
  FakeChart chart;
  TChartAxis axis(&chart);
  Layout(axis, 0, 100);
  EXPECT_EQ(axis.FormatLabel(1234.5), "1,234.5");
  axis.SetAxisValuesFormat("0.00");
  EXPECT_EQ(axis.FormatLabel(2), "2.00");
  chart.relabel = true;
  EXPECT_EQ(axis.FormatLabel(2), "<2.00>");
  chart.relabel = false;

  FormatSettings().ShortDateFormat = "yyyy-mm-dd";
  FormatSettings().ShortTimeFormat = "hh:mm:ss";
  chart.dateTime = true;
  axis.RefreshDateTime();
  const double stamp = EncodeDate(2024, 3, 10) + 0.5;
  Layout(axis, stamp, stamp + 1.5);
  EXPECT_EQ(axis.FormatLabel(stamp), "2024-03-10");
  Layout(axis, stamp, stamp + 23.0 / 24);
  EXPECT_EQ(axis.FormatLabel(stamp), "12:00:00");
  axis.SetDateTimeFormat("yyyy-mm-dd hh:mm");
  axis.SetLabelsMultiLine(true);
  EXPECT_EQ(axis.FormatLabel(stamp), "2024-03-10\r12:00");
}

TEST(ChartAxisSetters, GuardsRaiseWithTheirTexts) {
  struct Case {
    const char* name;
    std::function<void(TChartAxis&)> act;
    const std::string* text;
  };
  const Case cases[] = {
      {"negative increment", [](TChartAxis& a) { a.SetIncrement(-1); },
       &KelMsg_AxisIncrementNegative},
      {"logarithmic base 1", [](TChartAxis& a) { a.SetLogarithmicBase(1); },
       &KelMsg_AxisLogarithmicBase},
      {"logarithmic base 0", [](TChartAxis& a) { a.SetLogarithmicBase(0); },
       &KelMsg_AxisLogarithmicBase},
      {"logarithmic base negative", [](TChartAxis& a) { a.SetLogarithmicBase(-2); },
       &KelMsg_AxisLogarithmicBase},
      {"minimum above maximum", [](TChartAxis& a) { a.SetMinimum(11); },
       &KelMsg_AxisMinimumAboveMaximum},
      {"maximum below minimum", [](TChartAxis& a) { a.SetMaximum(-1); },
       &KelMsg_AxisMaximumBelowMinimum},
      {"logarithmic over negative values", [](TChartAxis& a) { a.SetMinimum(-5); a.SetAutomatic(false); a.SetLogarithmic(true); },
       &KelMsg_AxisLogarithmicNegative},
      {"negative label separation", [](TChartAxis& a) { a.SetLabelsSeparation(-1); },
       &KelMsg_AxisLabelsSeparation},
  };
  const char* const expected[] = {
      "Axis increment must be >= 0",
      "Axis Logarithmic Base should be <> 1 and > 0",
      "Axis Logarithmic Base should be <> 1 and > 0",
      "Axis Logarithmic Base should be <> 1 and > 0",
      "Axis Minimum Value must be <= Maximum",
      "Axis Maximum Value must be >= Minimum",
      "Logarithmic Axis Min and Max values should be >= 0",
      "Labels Separation % must be greater than 0",
  };
  int i = 0;
  for (const auto& c : cases) {
    FakeChart chart;
    TChartAxis axis(&chart);
    axis.SetMinMax(0, 10);
    try {
      c.act(axis);
      ADD_FAILURE() << c.name << ": no exception";
    } catch (const AxisException& e) {
      EXPECT_EQ(e.Message(), *c.text) << c.name;
      EXPECT_EQ(e.Message(), expected[i]) << c.name;
      EXPECT_STREQ(e.ClassName(), "AxisException");
    }
    ++i;
  }
}

TEST(ChartAxisSetters, GuardedValuesAreKeptOrAcceptedWhereAllowed) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetMinMax(0, 10);
  EXPECT_THROW(axis.SetIncrement(-1), AxisException);
  EXPECT_EQ(axis.Increment(), 0);
  axis.SetIncrement(0);  // zero is allowed
  EXPECT_THROW(axis.SetLogarithmicBase(1), AxisException);
  EXPECT_EQ(axis.LogarithmicBase(), 10);
  axis.SetLogarithmicBase(2);
  EXPECT_EQ(axis.LogarithmicBase(), 2);
  EXPECT_TRUE(axis.IsLogarithmicBaseStored());
  axis.SetMinimum(10);  // equal to the maximum is allowed
  axis.SetMaximum(10);

  chart.reading = true;  // a layout being read sets the ends in any order
  axis.SetMinimum(50);
  EXPECT_EQ(axis.Minimum(), 50);
  axis.SetMaximum(20);
  EXPECT_EQ(axis.Maximum(), 20);
}

TEST(ChartAxisSetters, AutomaticFlagsFollowEachOther) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetAutomaticMinimum(false);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_TRUE(axis.AutomaticMaximum());
  axis.SetAutomaticMinimum(true);  // both on again: Automatic on
  EXPECT_TRUE(axis.Automatic());
  axis.SetAutomatic(false);
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
  EXPECT_TRUE(axis.IsMinimumStored());
  axis.SetAutomaticMaximum(true);  // the minimum is still fixed
  EXPECT_FALSE(axis.Automatic());

  chart.loading = true;  // a loading chart sets each flag from the layout on its own
  axis.SetAutomatic(true);
  EXPECT_TRUE(axis.Automatic());
  EXPECT_FALSE(axis.AutomaticMinimum());
}

TEST(ChartAxisSetters, SetMinMaxFixesTheRangeInEitherOrder) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetMinMax(80, 20);
  EXPECT_EQ(axis.Minimum(), 20);
  EXPECT_EQ(axis.Maximum(), 80);
  EXPECT_FALSE(axis.Automatic() || axis.AutomaticMinimum() || axis.AutomaticMaximum());
  EXPECT_EQ(chart.axisChanges, 2);
  axis.SetMinMax(-10, -5);  // below the old range: no exception either
  EXPECT_EQ(axis.Minimum(), -10);
  EXPECT_EQ(axis.Maximum(), -5);
  const int changes = chart.axisChanges;
  axis.SetMinMax(-10, -5);  // unchanged: nobody is told
  EXPECT_EQ(chart.axisChanges, changes);
}

TEST(ChartAxisSetters, ZPositionZeroBecomesAHundredth) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetZPosition(0);
  EXPECT_DOUBLE_EQ(axis.ZPosition(), 0.01);
  EXPECT_FALSE(axis.IsZPositionStored());
  axis.SetOtherSide(true);
  EXPECT_TRUE(axis.IsZPositionStored());
  axis.SetZPosition(100);
  EXPECT_FALSE(axis.IsZPositionStored());
}

TEST(ChartAxisSetters, SubAxisPassesLogarithmicAndInvertedToItsParent) {
  FakeChart chart;
  chart.seriesMin = 1;
  chart.seriesMax = 100;
  TChartAxis axis(&chart);
  TChartAxis& sub = axis.AddSubAxis();
  EXPECT_EQ(sub.ParentAxis(), &axis);
  sub.SetInverted(true);
  EXPECT_TRUE(axis.Inverted());
  sub.SetLogarithmic(true);
  EXPECT_TRUE(axis.Logarithmic());
  axis.SetMinMax(2, 4);
  EXPECT_EQ(sub.Minimum(), 2);
  EXPECT_EQ(sub.Maximum(), 4);
}

TEST(ChartAxisSetters, LabelsAngleIsKeptWithinATurn) {
  FakeChart chart;
  TChartAxis axis(&chart);
  axis.SetLabelsAngle(450);
  EXPECT_EQ(axis.LabelsAngle(), 90);
  axis.SetLabelsAngle(-90);
  EXPECT_EQ(axis.LabelsAngle(), 270);
}

TEST(ChartAxisScroll, LimitedScrollNeedsDataBeyondTheEnd) {
  FakeChart chart;
  chart.seriesMin = 0;
  chart.seriesMax = 100;
  TChartAxis axis(&chart);
  axis.SetMinMax(20, 60);
  axis.Scroll(10, true);  // 100 - 10 > 60: applied
  EXPECT_EQ(axis.Minimum(), 30);
  EXPECT_EQ(axis.Maximum(), 70);
  axis.SetMinMax(60, 95);
  axis.Scroll(10, true);  // 100 - 10 is not above 95
  EXPECT_EQ(axis.Maximum(), 95);
  axis.Scroll(-10, true);  // 0 + 10 < 60: applied
  EXPECT_EQ(axis.Minimum(), 50);
  axis.Scroll(0, true);
  EXPECT_EQ(axis.Minimum(), 50);
  const int changes = chart.axisChanges;
  axis.Scroll(1000, false);
  EXPECT_EQ(axis.Minimum(), 1050);
  EXPECT_EQ(chart.axisChanges, changes + 1);
  EXPECT_FALSE(axis.Automatic());
}

TEST(ChartAxisSetters, AssignCopiesSettingsAndTheMapping) {
  FakeChart chart;
  chart.seriesMin = 1;
  chart.seriesMax = 1000;
  TChartAxis source(&chart);
  source.SetHorizontal(true);
  source.SetLogarithmic(true);
  source.SetInverted(true);
  source.SetMinMax(1, 1000);
  source.SetIncrement(5);
  source.SetAxisValuesFormat("0.0");
  source.SetLabelsSeparation(20);
  source.AddSubAxis().SetStartPosition(30);

  TChartAxis target(&chart);
  target.Assign(&source);
  EXPECT_TRUE(target.Horizontal() && target.Logarithmic() && target.Inverted());
  EXPECT_FALSE(target.Automatic());
  EXPECT_EQ(target.Maximum(), 1000);
  EXPECT_EQ(target.Increment(), 5);
  EXPECT_EQ(target.AxisValuesFormat(), "0.0");
  EXPECT_EQ(target.LabelsSeparation(), 20);
  ASSERT_EQ(target.SubAxisCount(), 1);
  EXPECT_EQ(target.SubAxis(0).StartPosition(), 30);
  EXPECT_EQ(target.SubAxis(0).ParentAxis(), &target);
  Layout(target, 1, 1000);
  EXPECT_EQ(target.CalcPosValue(10), 367);  // logarithmic, horizontal, inverted
}
