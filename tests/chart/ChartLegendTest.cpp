// The legend on a fixed-metrics canvas (6 pixels a character, 10 a line): the right-side
// layout with check boxes for several curve counts, the hit test at row boundaries, check and
// radio boxes, the resolved style, and the fault cases (negative spacing, a band too narrow
// for one column, rows whose series is gone) that must paint without error.
#include <gtest/gtest.h>

#include <algorithm>

#include "ChartControlTestSupport.h"
#include "canvas/KelPen.h"

namespace {

// The recorder's legend: right side, check boxes.
void CheckBoxLegend(ChartFixture& f, int curves) {
  f.AddCurves(curves);
  f.chart.Legend()->SetCheckBoxes(true);
}

}  // namespace

// Chart rectangle before the legend: (10, 10, 390, 240). Items top = 10 + round(10 % of 230)
// = 33; item height = max(10, 17) = 17; rows = min((240 - 1 - 33) div 17, curves); legend
// height = 17 rows + 2 + 2 x round(1.7) + 1; widest row text "Ch1" = 18 + 2 + 6 - 1 = 25 (with
// 12 rows shown "Ch10" = 31); width = text + 2 + 2 + symbol 13 + 4 + frame 1; right = 390 -
// the legend's shadow (3) - 1 = 386, left = right - width - 15; chart right = left, less 3 % of the chart width that is left.
TEST(LegendLayout, RightSideWithCheckBoxes) {
  struct Case {
    int curves;
    int rows, height, left, chartRight;
  };
  const Case cases[] = {
      {3, 3, 58, 324, 315},
      {8, 8, 143, 324, 315},
      {64, 12, 211, 318, 309},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.curves);
    ChartFixture f;
    CheckBoxLegend(f, c.curves);
    int chartRight = -1;
    f.chart.OnBeforeDrawAxes = [&](TObject*) { chartRight = f.chart.ChartBounds().Right; };
    f.Paint();
    TChartLegend* legend = f.chart.Legend();
    EXPECT_EQ(legend->ResolvedStyle(), lsSeries);
    EXPECT_EQ(legend->ItemHeight(), 17);
    EXPECT_EQ(legend->Rows(), c.rows);
    EXPECT_EQ(legend->TotalItems(), c.curves);
    EXPECT_EQ(legend->LastValue(), c.rows - 1);
    EXPECT_EQ(legend->Bounds.Top, 33);
    EXPECT_EQ(legend->Bounds.Bottom - legend->Bounds.Top, c.height);
    EXPECT_EQ(legend->Bounds.Left, c.left);
    EXPECT_EQ(legend->Bounds.Right, 386);
    EXPECT_EQ(chartRight, c.chartRight);
    EXPECT_EQ(f.chart.ChartBounds().Right, c.chartRight);
    // One text per shown row, in order, at the text column.
    const auto texts = f.canvas->TextsIn("Legend/Items");
    ASSERT_EQ(static_cast<int>(texts.size()), c.rows);
    for (int r = 0; r < c.rows; ++r) {
      EXPECT_EQ(texts[r].text, "Ch" + std::to_string(r + 1));
      EXPECT_EQ(texts[r].x, c.left + 38);
      EXPECT_EQ(texts[r].y, 33 + 1 + 2 + 17 * r + 1);
    }
  }
}

TEST(LegendLayout, ItemAtRowBoundariesOutsideAndInverted) {
  ChartFixture f;
  CheckBoxLegend(f, 3);
  f.Paint();
  TChartLegend* legend = f.chart.Legend();
  const int x = legend->Bounds.Left + 30;
  struct Case {
    const char* name;
    int x, y;
    int row, invertedRow;
  };
  const Case cases[] = {
      {"first pixel of row 0", x, 34, 0, 2},
      {"shared boundary goes to the earlier row", x, 51, 0, 2},
      {"first pixel of row 1", x, 52, 1, 1},
      {"last pixel of the last row", x, 85, 2, 0},
      {"inside the frame above the rows", x, 33, -1, -1},
      {"inside the frame below the rows", x, 87, -1, -1},
      {"left of the legend", legend->Bounds.Left - 1, 40, -1, -1},
      {"below the legend", x, legend->Bounds.Bottom + 1, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(legend->ItemAt(c.x, c.y), c.row);
  }
  legend->SetInverted(true);
  f.Paint();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ", inverted");
    EXPECT_EQ(legend->ItemAt(c.x, c.y), c.invertedRow);
  }
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "Ch3");
  EXPECT_LT(texts[0].y, texts[2].y);
}

TEST(LegendDrawing, RowsShowACheckBoxPerCurveAndItsColourSymbol) {
  ChartFixture f;
  CheckBoxLegend(f, 3);
  f.chart.SeriesAt(1)->ChangeActive(false);
  f.Paint();
  const int left = f.chart.Legend()->Bounds.Left;
  // Box of row r at (left + 4, 38 + 17 r), 13 pixels square: a checked box has its mark.
  auto markPixels = [&](int r) { return f.CountDark(left + 4 + 3, 38 + 17 * r + 3, left + 4 + 9, 38 + 17 * r + 9); };
  EXPECT_GT(markPixels(0), 5);
  EXPECT_EQ(markPixels(1), 0);
  EXPECT_GT(markPixels(2), 5);
  // The symbol: a line across (left + 19 .. left + 32) in the curve's colour, mid-height of
  // its rectangle (38 .. 51), also for the hidden curve.
  for (int r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    const TColor color = f.chart.SeriesAt(r)->EffectiveColor();
    EXPECT_GT(f.Count(color, left + 19, 44 + 17 * r, left + 31, 45 + 17 * r), 8);
  }
}

TEST(LegendClicks, CheckBoxesToggleAndRadioBoxesKeepOne) {
  ChartFixture f;
  CheckBoxLegend(f, 3);
  f.Paint();
  TChartLegend* legend = f.chart.Legend();
  EXPECT_TRUE(legend->ItemClicked(1));
  EXPECT_FALSE(f.chart.SeriesAt(1)->Active());
  EXPECT_TRUE(legend->ItemClicked(1));
  EXPECT_TRUE(f.chart.SeriesAt(1)->Active());
  EXPECT_FALSE(legend->ItemClicked(-1));

  legend->SetCheckBoxesStyle(cbsRadio);  // only the first active entry stays
  EXPECT_TRUE(f.chart.SeriesAt(0)->Active());
  EXPECT_FALSE(f.chart.SeriesAt(1)->Active());
  EXPECT_FALSE(f.chart.SeriesAt(2)->Active());
  EXPECT_TRUE(legend->ItemClicked(2));
  EXPECT_FALSE(f.chart.SeriesAt(0)->Active());
  EXPECT_FALSE(f.chart.SeriesAt(1)->Active());
  EXPECT_TRUE(f.chart.SeriesAt(2)->Active());

  // Without check boxes a click changes nothing.
  legend->SetCheckBoxes(false);
  legend->SetLegendStyle(lsSeries);
  EXPECT_FALSE(legend->ItemClicked(0));
  EXPECT_FALSE(f.chart.SeriesAt(0)->Active());
}

TEST(LegendStyle, AutomaticStyleAndFirstValue) {
  ChartFixture f;
  f.AddCurve();
  EXPECT_EQ(f.chart.Legend()->ResolvedStyle(), lsValues);  // one curve: its points
  f.chart.Legend()->SetCheckBoxes(true);
  EXPECT_EQ(f.chart.Legend()->ResolvedStyle(), lsSeries);
  f.chart.Legend()->SetCheckBoxes(false);
  f.AddCurve();
  EXPECT_EQ(f.chart.Legend()->ResolvedStyle(), lsSeries);
  f.chart.SeriesAt(1)->SetShowInLegend(false);
  EXPECT_EQ(f.chart.Legend()->ResolvedStyle(), lsValues);

  EXPECT_THROW(f.chart.Legend()->SetFirstValue(-1), LegendException);
  EXPECT_EQ(f.chart.Legend()->FirstValue(), 0);
  f.chart.Legend()->SetFirstValue(0);
}

TEST(LegendFaults, NegativeSpacingKeepsRowsAtLeastOnePixelHigh) {
  for (int spacing : {-17, -40}) {
    SCOPED_TRACE(spacing);
    ChartFixture f;
    CheckBoxLegend(f, 3);
    f.chart.Legend()->SetVertSpacing(spacing);
    EXPECT_NO_THROW(f.Paint());
    EXPECT_EQ(f.chart.Legend()->ItemHeight(), 1);
    EXPECT_NO_THROW(f.chart.Legend()->ItemAt(f.chart.Legend()->Bounds.Left + 30, 40));
  }
}

TEST(LegendFaults, BandWhereNoColumnFitsShowsNothingAndTakesNoRoom) {
  for (TLegendAlignment side : {laTop, laBottom}) {
    SCOPED_TRACE(side);
    ChartFixture plain(60, 250);
    plain.AddCurves(3);
    plain.chart.Legend()->SetVisible(false);
    plain.Paint();

    ChartFixture f(60, 250);
    CheckBoxLegend(f, 3);
    f.chart.Legend()->SetAlignment(side);
    EXPECT_NO_THROW(f.Paint());
    EXPECT_EQ(f.chart.Legend()->Columns(), 0);
    EXPECT_EQ(f.canvas->IndexOf("Legend"), -1);
    EXPECT_EQ(f.chart.ChartBounds().Top, plain.chart.ChartBounds().Top);
    EXPECT_EQ(f.chart.ChartBounds().Bottom, plain.chart.ChartBounds().Bottom);
    EXPECT_EQ(f.chart.Legend()->ItemAt(30, 20), -1);
  }
}

TEST(LegendFaults, RowsWithoutTheirSeriesShowNoTextAndIgnoreClicks) {
  ChartFixture f;
  CheckBoxLegend(f, 3);
  // More custom rows than curves.
  f.chart.Legend()->Items()->SetText(4, 0, "extra");
  EXPECT_NO_THROW(f.Paint());
  std::vector<std::string> shown;
  for (const auto& t : f.canvas->TextsIn("Legend/Items")) shown.push_back(t.text);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), "extra"), 0);
  EXPECT_FALSE(f.chart.Legend()->ItemClicked(4));

  // A curve freed since the last paint: its row's click changes nothing.
  ChartFixture g;
  CheckBoxLegend(g, 3);
  g.Paint();
  delete g.chart.SeriesAt(2);
  EXPECT_FALSE(g.chart.Legend()->ItemClicked(2));
  EXPECT_TRUE(g.chart.SeriesAt(0)->Active());
  EXPECT_TRUE(g.chart.SeriesAt(1)->Active());
  EXPECT_NO_THROW(g.Paint());
}
