// Where an axis puts things beyond plain labels on ticks, on a flat 400 x 250 chart drawn through
// the recording canvas (6 pixels a character, 10 a line) onto a bitmap: labels beside their
// ticks, the grid drawn without labels, logarithmic labels and minor ticks, PositionPercent on
// labels and title, and sub-axes with their room and their drawing. Then the titles of a 3D
// chart: the depth axis's turned text and a free (non-orthogonal) view's title.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ChartControlTestSupport.h"
#include "ChartPanelTestSupport.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "canvas/View3DOptions.h"
#include "chart/AxisItems.h"

namespace {

// Bottom 0..10 and left 0..100, fixed; the chart rectangle is then (43, 10, 388, 223).
struct FixedChart : TestChart {
  FixedChart() {
    series = AddSeries(Line(0, 10, 0, 100), clGreen);
    panel.BottomAxis()->SetMinMax(0, 10);
    panel.LeftAxis()->SetMinMax(0, 100);
  }
  TFastLineSeries* series;
};

// Columns holding `color` in rows y0..y1: first and last (-1, -1 when none).
std::pair<int, int> InkColumns(const TestChart& chart, TColor color, int y0, int y1) {
  int first = -1, last = -1;
  for (int x = 0; x < chart.width; ++x) {
    if (chart.Count(color, x, y0, x, y1) == 0) continue;
    if (first < 0) first = x;
    last = x;
  }
  return {first, last};
}

// Rows holding `color` in columns x0..x1.
std::vector<int> InkRows(const TestChart& chart, TColor color, int x0, int x1) {
  std::vector<int> rows;
  for (int y = 0; y < chart.height; ++y)
    if (chart.Count(color, x0, y, x1, y) > 0) rows.push_back(y);
  return rows;
}

}  // namespace

// ---- Labels beside their ticks --------------------------------------------------------------

TEST(AxisLabelPosition, LabelsMoveByHalfTheirWidthAndShareTheTicksRoom) {
  struct Case {
    const char* name;
    TAxisLabelPosition position;
    int shift;        // of a two-character label (12 wide)
    int chartBottom;  // ticks need no room of their own beside the labels
  };
  const Case cases[] = {
      {"at the tick", lpAtTick, 0, 223},
      {"after the tick", lpAfterTick, 6, 227},
      {"before the tick", lpBeforeTick, -6, 227},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixedChart chart;
    TChartAxis* axis = chart.panel.BottomAxis();
    axis->SetLabelsPosition(c.position);
    chart.Paint();
    EXPECT_EQ(chart.panel.ChartBounds().Bottom, c.chartBottom);
    const auto& ticks = axis->TickPixels();
    const auto& items = axis->LabelItems();
    ASSERT_EQ(ticks.size(), 11u);
    ASSERT_EQ(items.size(), 11u);
    // "10" is the first label; the others are one character (6 wide).
    EXPECT_EQ(items[0].Pixel, ticks[0] + c.shift);
    for (size_t i = 1; i < items.size(); ++i) EXPECT_EQ(items[i].Pixel, ticks[i] + c.shift / 2) << i;
    const auto drawn = chart.canvas->TextsIn("Axes/Bottom/Labels");
    ASSERT_EQ(drawn.size(), 11u);
    EXPECT_EQ(drawn[0].x, ticks[0] + c.shift);
  }
}

TEST(AxisLabelPosition, InkOfALabelLandsBesideItsTick) {
  // One custom label in red: its ink centre follows the position.
  int centres[3] = {0, 0, 0};
  const TAxisLabelPosition positions[3] = {lpBeforeTick, lpAtTick, lpAfterTick};
  int tick = 0;
  for (int i = 0; i < 3; ++i) {
    FixedChart chart;
    TChartAxis* axis = chart.panel.BottomAxis();
    axis->Items()->Add(5, "WWWWWW");
    axis->LabelsFont()->SetColor(clRed);
    axis->SetLabelsPosition(positions[i]);
    chart.Paint();
    ASSERT_EQ(axis->TickPixels().size(), 1u);
    tick = axis->TickPixels()[0];
    const auto [first, last] = InkColumns(chart, clRed, 224, 249);
    ASSERT_GE(first, 0) << i;
    centres[i] = (first + last) / 2;
  }
  EXPECT_NEAR(centres[1], tick, 3);
  // Half of 36 pixels (the measured width) either way.
  EXPECT_NEAR(centres[0], tick - 18, 3);
  EXPECT_NEAR(centres[2], tick + 18, 3);
}

TEST(AxisLabelPosition, BackShapeCoversTicksOnlyForLabelsAtThem) {
  int across[2] = {0, 0};
  const TAxisLabelPosition positions[2] = {lpAtTick, lpAfterTick};
  for (int i = 0; i < 2; ++i) {
    FixedChart chart;
    TChartAxis* axis = chart.panel.BottomAxis();
    axis->Shape()->SetVisible(true);
    axis->SetLabelsPosition(positions[i]);
    TRect box;
    chart.panel.OnAfterDraw = [&](TObject*) { box = axis->BackShapeBox(); };
    chart.Paint();
    EXPECT_EQ(box.Top, axis->Position()) << i;
    across[i] = box.Bottom - box.Top;
  }
  // Labels (10) and 3 either way; at the ticks also the axis line and ticks (2 + 1 + 4).
  EXPECT_EQ(across[0] - across[1], 7);
}

// ---- The grid without labels ----------------------------------------------------------------

TEST(AxisGridDrawAlways, GridLinesWithoutLabels) {
  struct Case {
    const char* name;
    bool labels;
    TAxisLabelStyle style;
    bool drawAlways;
    int gridLines;
  };
  const Case cases[] = {
      {"labels shown", true, talValue, false, 9},
      {"labels off: ticks and grid stay", false, talValue, false, 9},
      {"no label style: nothing", true, talNone, false, 0},
      {"no label style, grid always: value grid", true, talNone, true, 9},
      {"labels off, no style, grid always", false, talNone, true, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixedChart chart;
    TChartAxis* axis = chart.panel.LeftAxis();
    axis->SetIncrement(10);
    axis->SetLabels(c.labels);
    axis->SetLabelStyle(c.style);
    axis->Grid()->SetDrawAlways(c.drawAlways);
    axis->Grid()->SetColor(clRed);
    axis->Grid()->SetStyle(psSolid);
    chart.Paint();
    EXPECT_EQ(static_cast<int>(axis->GridPixels().size()), c.gridLines);
    // Red rows across the middle of the chart.
    const std::vector<int> rows = InkRows(chart, clRed, 150, 150);
    EXPECT_EQ(static_cast<int>(rows.size()), c.gridLines);
    // Labels are written only when shown, whatever the grid needs.
    const size_t texts = chart.canvas->TextsIn("Axes/Left/Labels").size();
    EXPECT_EQ(texts, c.labels && c.style != talNone ? 11u : 0u);
  }
}

// ---- Logarithmic axes -------------------------------------------------------------------------

TEST(AxisLogarithmicLabels, PowersOfTheBaseOrStepsInsideOnePower) {
  struct Case {
    const char* name;
    double minimum, maximum;
    std::vector<std::string> texts;
  };
  std::vector<std::string> twentyToFifty;
  for (int v = 20; v <= 50; ++v) twentyToFifty.push_back(std::to_string(v));
  const Case cases[] = {
      {"1..1000: the powers", 1, 1000, {"1", "10", "100", "1,000"}},
      {"minimum 0 starts at 0.1", 0, 100, {"0.1", "1", "10", "100"}},
      {"3..500: powers inside the range only", 3, 500, {"10", "100"}},
      {"20..50 holds no power: steps of 1 from 10", 20, 50, twentyToFifty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixedChart chart;
    TChartAxis* axis = chart.panel.LeftAxis();
    axis->SetMinMax(c.minimum, c.maximum);
    axis->SetLogarithmic(true);
    axis->SetLabelsSeparation(0);
    chart.Paint();
    std::vector<std::string> texts;
    for (const TAxisLabelItem& item : axis->LabelItems()) texts.push_back(item.Text);
    EXPECT_EQ(texts, c.texts);
    // Each label stands where its value maps.
    for (const TAxisLabelItem& item : axis->LabelItems()) EXPECT_EQ(item.Pixel, axis->CalcPosValue(item.Value));
  }
}

TEST(AxisLogarithmicLabels, MinorTicksStepThroughEachPower) {
  struct Case {
    const char* name;
    bool minorGrid;
    std::vector<double> values;
  };
  // Labels 10 and 100 on 2..500; eight minor ticks between two powers.
  const Case cases[] = {
      {"between the labels only", false, {20, 30, 40, 50, 60, 70, 80, 90}},
      {"with a minor grid also before the first and past the last label", true,
       {3, 4, 5, 6, 7, 8, 9, 20, 30, 40, 50, 60, 70, 80, 90, 200, 300, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixedChart chart;
    TChartAxis* axis = chart.panel.LeftAxis();
    axis->SetMinMax(2, 500);
    axis->SetLogarithmic(true);
    axis->SetMinorTickCount(8);
    axis->MinorTicks()->SetColor(clRed);
    axis->MinorGrid()->SetVisible(c.minorGrid);
    axis->MinorGrid()->SetColor(clBlue);
    chart.Paint();
    ASSERT_EQ(axis->LabelItems().size(), 2u);
    std::vector<int> expected;
    for (double v : c.values) expected.push_back(axis->CalcPosValue(v));
    std::vector<int> minors = axis->MinorTickPixels();
    std::sort(minors.begin(), minors.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(minors, expected);
    // Ink: a red minor tick left of the axis line at the row of 20, none at the row of 15.
    const int x = axis->Position();
    EXPECT_GT(chart.Count(clRed, x - 6, axis->CalcPosValue(20), x - 1, axis->CalcPosValue(20)), 0);
    EXPECT_EQ(chart.Count(clRed, x - 6, axis->CalcPosValue(15), x - 1, axis->CalcPosValue(15)), 0);
    // The minor grid crosses the chart at the row of 3 only when it is visible.
    EXPECT_EQ(chart.Count(clBlue, 200, axis->CalcPosValue(3), 200, axis->CalcPosValue(3)) > 0, c.minorGrid);
  }
}

// ---- PositionPercent ----------------------------------------------------------------------------

TEST(AxisPositionPercent, LabelsAndTitleMoveWithTheAxis) {
  struct Case {
    const char* name;
    TChartAxis* (TCustomAxisPanel::*axis)() const;
    int shift;  // of 20 pixels into the chart, in the axis's coordinate
  };
  const Case cases[] = {
      {"bottom", &TCustomAxisPanel::BottomAxis, -20},
      {"top", &TCustomAxisPanel::TopAxis, 20},
      {"left", &TCustomAxisPanel::LeftAxis, 20},
      {"right", &TCustomAxisPanel::RightAxis, -20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int position[2], labels[2], title[2];
    TRect bounds[2];
    for (int moved = 0; moved < 2; ++moved) {
      FixedChart chart;
      chart.series->SetHorizAxis(aBothHorizAxis);
      chart.series->SetVertAxis(aBothVertAxis);
      // No grid line of another axis may cover the axis line.
      for (TChartAxis* other : {chart.panel.BottomAxis(), chart.panel.TopAxis(), chart.panel.LeftAxis(),
                                chart.panel.RightAxis()})
        other->Grid()->SetVisible(false);
      TChartAxis* axis = (chart.panel.*c.axis)();
      axis->SetMinMax(0, 10);
      axis->Title()->SetText("Title");
      axis->AxisPen()->SetColor(clRed);
      if (moved) {
        axis->SetPositionUnits(muPixels);
        axis->SetPositionPercent(20);
      }
      chart.Paint();
      position[moved] = axis->Position();
      labels[moved] = axis->LabelPosition();
      title[moved] = axis->TitlePosition();
      bounds[moved] = chart.panel.ChartBounds();
      // The axis line's ink (2 wide) stands at the position, moved out by half its width.
      const bool horizontal = axis->Horizontal();
      const int middle = horizontal ? (bounds[moved].Left + bounds[moved].Right) / 2
                                    : (bounds[moved].Top + bounds[moved].Bottom) / 2;
      std::vector<int> ink;
      if (horizontal) {
        ink = InkRows(chart, clRed, middle, middle);
      } else {
        const auto [first, last] = InkColumns(chart, clRed, middle, middle);
        if (first >= 0) ink = {first, last};
      }
      ASSERT_FALSE(ink.empty()) << moved;
      EXPECT_NEAR(ink.front(), axis->MoveOutward(axis->Position(), 1), 1);
    }
    EXPECT_EQ(bounds[1], bounds[0]) << "the room taken does not change";
    EXPECT_EQ(position[1] - position[0], c.shift);
    EXPECT_EQ(labels[1] - labels[0], c.shift);
    EXPECT_EQ(title[1] - title[0], c.shift);
  }
}

TEST(AxisPositionPercent, APercentOfTheFinalChartRectangleMovesLabelsAndTitleWithTheLine) {
  struct Case {
    const char* name;
    TChartAxis* (TCustomAxisPanel::*axis)() const;
  };
  const Case cases[] = {
      {"bottom", &TCustomAxisPanel::BottomAxis},
      {"top", &TCustomAxisPanel::TopAxis},
      {"left", &TCustomAxisPanel::LeftAxis},
      {"right", &TCustomAxisPanel::RightAxis},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Distances (along the outward direction) from the axis line to the labels, the title,
    // and from the line's ink to the labels' ink; unmoved and moved.
    int labels[2], title[2], ink[2], line[2], base[2], outwardSign = 0;
    for (int moved = 0; moved < 2; ++moved) {
      FixedChart chart;
      chart.series->SetHorizAxis(aBothHorizAxis);
      chart.series->SetVertAxis(aBothVertAxis);
      for (TChartAxis* other : {chart.panel.BottomAxis(), chart.panel.TopAxis(), chart.panel.LeftAxis(),
                                chart.panel.RightAxis()})
        other->Grid()->SetVisible(false);
      chart.series->ChangeSeriesColor(clWhite);
      TChartAxis* axis = (chart.panel.*c.axis)();
      axis->SetMinMax(0, 10);
      axis->Title()->SetText("Title");
      axis->AxisPen()->SetColor(clRed);
      axis->Ticks()->SetVisible(false);
      axis->LabelsFont()->SetColor(clBlue);
      // 10 percent of a rectangle the axes' own room still shrinks.
      if (moved) axis->SetPositionPercent(10);
      chart.Paint();
      const TRect r = chart.panel.ChartBounds();
      const bool horizontal = axis->Horizontal();
      const int outward = axis->MoveOutward(0, 1);
      outwardSign = outward;
      labels[moved] = (axis->LabelPosition() - axis->Position()) * outward;
      title[moved] = (axis->TitlePosition() - axis->Position()) * outward;
      line[moved] = axis->Position();
      base[moved] = horizontal ? (axis->OtherSide() ? r.Top : r.Bottom) : (axis->OtherSide() ? r.Right : r.Left);
      // Ink: the line's red and the labels' blue nearest to it, across the axis.
      int redAt = -1, blueAt = -1;
      if (horizontal) {
        const std::vector<int> red = InkRows(chart, clRed, (r.Left + r.Right) / 2, (r.Left + r.Right) / 2);
        const std::vector<int> blue = InkRows(chart, clBlue, r.Left, r.Right);
        ASSERT_FALSE(red.empty());
        ASSERT_FALSE(blue.empty());
        redAt = outward > 0 ? red.back() : red.front();
        blueAt = outward > 0 ? blue.front() : blue.back();
      } else {
        const auto [redFirst, redLast] = InkColumns(chart, clRed, (r.Top + r.Bottom) / 2, (r.Top + r.Bottom) / 2);
        const auto [blueFirst, blueLast] = InkColumns(chart, clBlue, r.Top, r.Bottom);
        ASSERT_GE(redFirst, 0);
        ASSERT_GE(blueFirst, 0);
        redAt = outward > 0 ? redLast : redFirst;
        blueAt = outward > 0 ? blueFirst : blueLast;
      }
      ink[moved] = (blueAt - redAt) * outward;
    }
    // The line moved inward, off the rectangle's edge...
    EXPECT_EQ(line[0], base[0]);
    EXPECT_LT((line[1] - base[1]) * outwardSign, 0);
    // ...and the labels and title kept their distance from it, on screen too.
    EXPECT_EQ(labels[1], labels[0]);
    EXPECT_EQ(title[1], title[0]);
    EXPECT_EQ(ink[1], ink[0]);
  }
}

TEST(AxisPositionPercent, TheShiftIsAPercentOfTheFinalChartRectangle) {
  FixedChart chart;
  TChartAxis* axis = chart.panel.LeftAxis();
  axis->SetPositionPercent(10);
  chart.Paint();
  const TRect r = chart.panel.ChartBounds();
  EXPECT_EQ(axis->Position(), r.Left + static_cast<int>(std::nearbyint((r.Right - r.Left) * 0.1)));
  axis = chart.panel.BottomAxis();
  axis->SetPositionPercent(10);
  chart.Paint();
  const TRect r2 = chart.panel.ChartBounds();
  EXPECT_EQ(axis->Position(), r2.Bottom - static_cast<int>(std::nearbyint((r2.Bottom - r2.Top) * 0.1)));
}

// ---- Sub-axes -----------------------------------------------------------------------------------

TEST(AxisSubAxes, ASubAxisTakesRoomOutsideAndDrawsItsOwnLabels) {
  FixedChart chart;
  TChartAxis* bottom = chart.panel.BottomAxis();
  TChartAxis& sub = bottom->AddSubAxis();
  sub.SetAxisValuesFormat("0.0");
  sub.SetIncrement(5);
  sub.AxisPen()->SetColor(clRed);
  sub.LabelsFont()->SetColor(clBlue);
  chart.Paint();

  // The sub-axis takes its labels (10) and line and ticks (7) first, at the outer edge; the
  // bottom axis the next 17 inside it.
  EXPECT_EQ(chart.panel.ChartBounds().Bottom, 223 - 17);
  EXPECT_EQ(sub.Position(), 223);
  EXPECT_EQ(sub.LabelPosition(), 231);
  EXPECT_EQ(bottom->LabelPosition(), 214);
  EXPECT_EQ(bottom->Position(), 206);

  // It shows the bottom axis's range over its span, with its own format and increment.
  EXPECT_EQ(sub.StartPixel(), bottom->StartPixel());
  EXPECT_EQ(sub.EndPixel(), bottom->EndPixel());
  std::vector<std::string> texts;
  for (const TAxisLabelItem& item : sub.LabelItems()) texts.push_back(item.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"10.0", "5.0", "0.0"}));
  for (const TAxisLabelItem& item : sub.LabelItems())
    EXPECT_EQ(item.Pixel, bottom->CalcPosValue(item.Value)) << item.Text;

  // Ink: its red line at its position, its blue labels below it, the bottom axis's labels not.
  const int middle = 200;
  const std::vector<int> red = InkRows(chart, clRed, middle, middle);
  ASSERT_FALSE(red.empty());
  EXPECT_NEAR(red.front(), 224, 1);
  const std::vector<int> blue = InkRows(chart, clBlue, 43, 388);
  ASSERT_FALSE(blue.empty());
  EXPECT_GE(blue.front(), 229);

  // Hidden, it takes no room and draws nothing.
  sub.SetVisible(false);
  chart.Paint();
  EXPECT_EQ(chart.panel.ChartBounds().Bottom, 223);
  EXPECT_TRUE(InkRows(chart, clRed, middle, middle).empty());
}

TEST(AxisSubAxes, ASubAxisFollowsItsAxisOrientation) {
  FixedChart chart;
  TChartAxis* left = chart.panel.LeftAxis();
  TChartAxis& sub = left->AddSubAxis();
  left->SetInverted(true);
  chart.Paint();
  EXPECT_FALSE(sub.Horizontal());
  EXPECT_TRUE(sub.Inverted());
  // Inverted: 0 at the top, as on the left axis.
  EXPECT_EQ(sub.CalcPosValue(0), left->CalcPosValue(0));
  EXPECT_EQ(sub.CalcPosValue(0), chart.panel.ChartBounds().Top);
  // The sub-axis stands left of the left axis's labels.
  EXPECT_LT(sub.Position(), left->LabelPosition());
  EXPECT_FALSE(sub.LabelItems().empty());
}

TEST(AxisSubAxes, ASubAxisOfASubAxisIsShownWithItsAxis) {
  FixedChart chart;
  TChartAxis* bottom = chart.panel.BottomAxis();
  TChartAxis& sub = bottom->AddSubAxis();
  TChartAxis& inner = sub.AddSubAxis();
  inner.AxisPen()->SetColor(clRed);
  chart.Paint();
  EXPECT_TRUE(inner.VisibleNow);
  // Each takes the same 17 pixels; the innermost sub-axis stands outermost.
  EXPECT_EQ(chart.panel.ChartBounds().Bottom, 223 - 34);
  EXPECT_EQ(inner.Position(), 223);
  EXPECT_EQ(sub.Position(), 206);
  EXPECT_EQ(bottom->Position(), 189);
  EXPECT_EQ(inner.LabelItems().size(), 11u);
  const std::vector<int> red = InkRows(chart, clRed, 200, 200);
  ASSERT_FALSE(red.empty());
  EXPECT_NEAR(red.front(), 224, 1);
  // Hidden with the bottom axis.
  bottom->SetVisible(false);
  chart.Paint();
  EXPECT_FALSE(inner.VisibleNow);
  EXPECT_TRUE(InkRows(chart, clRed, 200, 200).empty());
}

TEST(AxisSubAxes, ASubAxisDrawsItsOwnGridFromItsOwnTicks) {
  struct Case {
    const char* name;
    bool subGrid, axisGrid;
    std::vector<double> blueAt;  // values whose columns carry the sub-axis's grid
  };
  const Case cases[] = {
      {"sub-axis grid only", true, false, {5}},
      {"sub-axis grid hidden", false, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixedChart chart;
    chart.series->ChangeSeriesColor(clWhite);
    TChartAxis* bottom = chart.panel.BottomAxis();
    chart.panel.LeftAxis()->Grid()->SetVisible(false);
    bottom->Grid()->SetVisible(c.axisGrid);
    bottom->Grid()->SetColor(clRed);
    TChartAxis& sub = bottom->AddSubAxis();
    sub.SetIncrement(5);
    sub.Grid()->SetColor(clBlue);
    sub.Grid()->SetStyle(psSolid);
    sub.Grid()->SetVisible(c.subGrid);
    chart.Paint();
    const TRect r = chart.panel.ChartBounds();
    std::vector<int> columns;
    for (int x = r.Left + 1; x < r.Right - 1; ++x)
      if (chart.Count(clBlue, x, r.Top + 2, x, r.Bottom - 3) > (r.Bottom - r.Top) / 2) columns.push_back(x);
    std::vector<int> expected;
    for (double v : c.blueAt) expected.push_back(bottom->CalcPosValue(v));
    EXPECT_EQ(columns, expected);
    // The axis's own grid keeps to the axis's own ticks (every unit), in its own colour.
    int redColumns = 0;
    for (int x = r.Left + 1; x < r.Right - 1; ++x)
      if (chart.Count(clRed, x, r.Top + 2, x, r.Bottom - 3) > 0) ++redColumns;
    EXPECT_EQ(redColumns, c.axisGrid ? 9 : 0);
  }
}

TEST(AxisSubAxes, InA3DViewASubAxisStandsAtItsOwnDepth) {
  for (const double zPosition : {0.0, 50.0, 100.0}) {
    SCOPED_TRACE(zPosition);
    FixedChart chart;
    chart.panel.SetView3D(true);
    chart.series->ChangeSeriesColor(clWhite);
    TChartAxis* bottom = chart.panel.BottomAxis();
    bottom->Grid()->SetVisible(false);
    chart.panel.LeftAxis()->Grid()->SetVisible(false);
    TChartAxis& sub = bottom->AddSubAxis();
    sub.SetZPosition(zPosition);
    sub.AxisPen()->SetColor(clRed);
    sub.SetLabels(false);
    sub.Ticks()->SetVisible(false);
    chart.Paint();
    const int depth = chart.panel.ChartDepthPixels();
    ASSERT_GT(depth, 0);
    EXPECT_EQ(sub.ZPixel(), static_cast<int>(std::nearbyint(sub.ZPosition() * depth * 0.01)));
    EXPECT_EQ(bottom->ZPixel(), 0);
    // The red line runs at the sub-axis's own depth: its middle where the projection puts it.
    const int x = (sub.StartPixel() + sub.EndPixel()) / 2;
    const TPoint at = chart.panel.Canvas3D()->Project3D(x, sub.Position() + 1, sub.ZPixel());
    EXPECT_GT(chart.Count(clRed, at.X - 2, at.Y - 2, at.X + 2, at.Y + 2), 0);
    if (sub.ZPixel() > 3) {
      const TPoint front = chart.panel.Canvas3D()->Project3D(x, sub.Position() + 1, 0);
      EXPECT_EQ(chart.Count(clRed, front.X - 1, front.Y - 1, front.X + 1, front.Y + 1), 0);
    }
  }
}

// ---- Titles in 3D -------------------------------------------------------------------------------

namespace {

// Records turned texts (their anchor as written) besides the flat ones.
class TurnedTextCanvas : public RecordingCanvas {
 public:
  void RotatedTextOut(int x, int y, const std::string& text, double angle, bool flag) override {
    if (angle != 0) texts.push_back(Text{Path(), x, y, text});
    RecordingCanvas::RotatedTextOut(x, y, text, angle, flag);
  }
};

}  // namespace

TEST(AxisTitle3D, DepthAxisTitleIsTurnedTextHalfwayIntoTheDepth) {
  ChartFixture f;
  f.AddCurve();
  f.AddCurve();
  auto* canvas = new TurnedTextCanvas();
  f.chart.ChangeCanvas(canvas);
  f.canvas = canvas;
  f.chart.SetView3D(true);
  f.chart.SetChart3DPercent(100);
  f.chart.Legend()->SetVisible(false);
  TChartAxis* depth = f.chart.DepthAxis();
  depth->SetVisible(true);
  depth->Title()->SetText("DEPTH");
  depth->Title()->Font()->SetColor(clRed);
  depth->Title()->Font()->SetSize(14);
  f.Paint();
  const int d = f.chart.ChartDepthPixels();
  const TRect& r = f.chart.ChartBounds();
  ASSERT_GT(d, 20);
  ASSERT_EQ(depth->Title()->Angle(), 270);
  std::vector<RecordingCanvas::Text> titles;
  for (const auto& t : canvas->texts)
    if (t.path.size() >= 11 && t.path.compare(t.path.size() - 11, 11, "Depth/Title") == 0) titles.push_back(t);
  ASSERT_EQ(titles.size(), 1u);
  // Centred, turned a quarter right: the anchor is a line outward of the title position, on
  // the bottom edge, both moved by the projection of half the depth (45 degrees).
  EXPECT_EQ(titles[0].x, depth->TitlePosition() + 10 + d / 2);
  EXPECT_EQ(titles[0].y, r.Bottom - d / 2);

  // Ink: red text running down through that place, right of the title position.
  int x0 = f.width, x1 = -1, y0 = f.height, y1 = -1;
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x)
      if (f.Pixel(x, y) == clRed) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
  ASSERT_GE(x1, 0);
  // Written from the anchor towards the chart (the glyphs are taller than the measured line).
  EXPECT_LE(x1, titles[0].x + 1);
  EXPECT_GE(x0, titles[0].x - 30);
  EXPECT_GT(y1 - y0, x1 - x0) << "turned: taller than wide";
  EXPECT_LT(y0, r.Bottom - d / 2);
  EXPECT_GT(y1, r.Bottom - d / 2);
}

TEST(AxisTitle3D, AFreeViewPlacesTheTitleAsALabel) {
  struct Case {
    const char* name;
    bool left;
  };
  for (const Case& c : {Case{"bottom", false}, Case{"left", true}}) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurve();
    f.chart.SetView3D(true);
    f.chart.View3DOptions()->SetOrthogonal(false);
    f.chart.View3DOptions()->SetElevation(340);
    f.chart.View3DOptions()->SetRotation(345);
    TChartAxis* axis = c.left ? f.chart.LeftAxis() : f.chart.BottomAxis();
    axis->Title()->SetText("Title");
    f.Paint();
    const TRect box = axis->Title()->Bounds;
    ASSERT_GT(box.Right - box.Left, 0);
    // The box hangs from (bottom) or ends at (left) the title position, projected at the
    // axis depth from the anchor of the label routine.
    const TPoint p = c.left ? f.canvas->Project3D(axis->TitlePosition(), axis->CenterPixel(), axis->ZPixel())
                            : f.canvas->Project3D(axis->CenterPixel(), axis->TitlePosition(), axis->ZPixel());
    if (c.left) {
      EXPECT_EQ((box.Top + box.Bottom) / 2, p.Y);
      EXPECT_NEAR((box.Left + box.Right) / 2, p.X - (box.Bottom - box.Top) / 2, 1);
    } else {
      EXPECT_EQ(box.Top, p.Y);
      EXPECT_NEAR((box.Left + box.Right) / 2, p.X, 1);
    }
  }
}

// ---- Custom labels measured in their own font ------------------------------------------------------

namespace {

// Text as wide as the font is large: 1 pixel a point a character.
class FontWidthCanvas : public RecordingCanvas {
 public:
  int MeasureTextWidth(const std::string& text) override {
    return static_cast<int>(text.size()) * Font()->Size();
  }
};

}  // namespace

TEST(AxisCustomLabelRoom, ACustomLabelsOwnFontSetsTheRoom) {
  struct Case {
    const char* name;
    int ownSize;  // 0: no box of its own
    int room;     // left axis labels' width: the widest label
  };
  const int axisSize = 8;  // the axis label font's size
  const Case cases[] = {
      {"axis font", 0, 5 * axisSize},
      {"own larger font", 20, 5 * 20},
  };
  int left[2] = {0, 0};
  for (size_t i = 0; i < 2; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    FixedChart chart;
    auto* canvas = new FontWidthCanvas();
    chart.panel.ChangeCanvas(canvas);
    chart.canvas = canvas;
    TChartAxis* axis = chart.panel.LeftAxis();
    axis->LabelsFont()->SetSize(axisSize);
    TAxisItem& item = axis->Items()->Add(50, "LABEL");
    axis->Items()->Add(20, "ab");
    if (c.ownSize) item.Format()->Font()->SetSize(c.ownSize);
    chart.Paint();
    left[i] = chart.panel.ChartBounds().Left;
  }
  EXPECT_EQ(left[1] - left[0], cases[1].room - cases[0].room);
}

// ---- Centred labels and the minor grid ----------------------------------------------------------

TEST(AxisCentredLabels, CentredOnTheLabelPositionOrALabelSizeOutOnTheOtherSide) {
  for (bool right : {false, true}) {
    SCOPED_TRACE(right ? "right" : "left");
    FixedChart chart;
    chart.series->SetVertAxis(aBothVertAxis);
    TChartAxis* axis = right ? chart.panel.RightAxis() : chart.panel.LeftAxis();
    axis->SetMinMax(0, 100);
    axis->SetLabelsAlign(alCenter);
    int size = 0;
    chart.panel.OnAfterDraw = [&](TObject*) { size = axis->LabelSize(); };
    chart.Paint();
    ASSERT_GT(size, 0);
    const auto texts = chart.canvas->TextsIn(right ? "Axes/Right/Labels" : "Axes/Left/Labels");
    ASSERT_EQ(texts.size(), 11u);
    // Centred text is written from the middle of its box.
    const int centre = right ? axis->LabelPosition() + size : axis->LabelPosition();
    for (const auto& t : texts) EXPECT_NEAR(t.x, centre, 1) << t.text;
  }
}

TEST(AxisMinorGrid, DrawnAtTheMinorPlacesWithOrWithoutMinorTicks) {
  struct Case {
    const char* name;
    bool ticks, grid;
  };
  const Case cases[] = {
      {"ticks only", true, false},
      {"grid only", false, true},
      {"both", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixedChart chart;
    TChartAxis* axis = chart.panel.LeftAxis();
    axis->SetIncrement(10);
    axis->MinorTicks()->SetVisible(c.ticks);
    axis->MinorTicks()->SetColor(clRed);
    axis->MinorGrid()->SetVisible(c.grid);
    axis->MinorGrid()->SetColor(clBlue);
    axis->MinorGrid()->SetStyle(psSolid);
    chart.Paint();
    // 0..100 by 10: three minor places between the ticks, the first at 2.5.
    const int row = axis->CalcPosValue(2.5);
    const int x = axis->Position();
    EXPECT_EQ(chart.Count(clRed, x - 6, row - 1, x - 1, row + 1) > 0, c.ticks);
    EXPECT_EQ(chart.Count(clBlue, 100, row - 1, 300, row + 1) > 100, c.grid);
  }
}

// ---- Lines of point labels ------------------------------------------------------------------------

TEST(AxisPointLabelLines, OnlyLabelsWithinTheRangeSetTheLineCount) {
  struct Case {
    const char* name;
    double x;  // of the point with a two-line label
    int chartBottom;
  };
  const Case cases[] = {
      {"inside the range: two lines of room", 5, 213},
      {"outside the range: one line", 12, 223},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixedChart chart;
    chart.series->XValues()->SetValueAt(3, c.x);
    for (int i = 0; i < chart.series->PointCount(); ++i) chart.series->Labels().SetLabel(i, "p");
    chart.series->Labels().SetLabel(3, "two\rlines");
    chart.panel.BottomAxis()->SetLabelStyle(talText);
    chart.Paint();
    EXPECT_EQ(chart.panel.ChartBounds().Bottom, c.chartBottom);
  }
}

TEST(AxisCustomLabelRoom, ALabelBesideItsTickMovesByItsWidthInItsOwnFont) {
  for (int ownSize : {0, 20}) {
    SCOPED_TRACE(ownSize);
    FixedChart chart;
    auto* canvas = new FontWidthCanvas();
    chart.panel.ChangeCanvas(canvas);
    chart.canvas = canvas;
    TChartAxis* axis = chart.panel.BottomAxis();
    axis->LabelsFont()->SetSize(8);
    axis->SetLabelsPosition(lpAfterTick);
    TAxisItem& item = axis->Items()->Add(5, "AB");
    if (ownSize) item.Format()->Font()->SetSize(ownSize);
    chart.Paint();
    ASSERT_EQ(axis->LabelItems().size(), 1u);
    ASSERT_EQ(axis->TickPixels().size(), 1u);
    EXPECT_EQ(axis->LabelItems()[0].Pixel - axis->TickPixels()[0], (ownSize ? ownSize : 8) * 2 / 2);
  }
}
