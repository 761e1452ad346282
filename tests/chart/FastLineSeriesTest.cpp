// The fast line series drawn through the GDI canvas into a 32-bit DIB: the line on its path,
// the three null treatments, column merging (first point, min-max stroke), stairs, the
// polyline mode, the raw device pen of immediate drawing, margins and the hit test. A point
// (x, y) lands on pixel (x, 100 - y) of the stand-in chart.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "SeriesTestSupport.h"
#include "canvas/KelPen.h"
#include "chart/FastLineSeries.h"

namespace {

// The GDI canvas recording where each line goes, drawing as usual.
class RecordingCanvas : public TKelCanvas3D {
 public:
  void LineTo(int x, int y) override {
    lines.push_back(TPoint(x, y));
    TKelCanvas3D::LineTo(x, y);
  }
  void LineToCached(int x, int y) override {
    lines.push_back(TPoint(x, y));
    TKelCanvas3D::LineToCached(x, y);
  }
  void Polyline(const TPointArray& points, int highIndex) override {
    ++polylines;
    TKelCanvas3D::Polyline(points, highIndex);
  }
  std::vector<TPoint> lines;
  int polylines = 0;
};

class FastLineTest : public testing::Test {
 protected:
  void SetUp() override {
    chart.AttachCanvas();
    // Swap in the recording canvas over the same bitmap.
    auto recording = std::make_unique<RecordingCanvas>();
    recording->SetBuffered(false);
    recording->Buffered = false;
    recording->SetTargetCanvas(chart.bitmap->Canvas());
    recording->Bounds = chart.canvas->Bounds;
    canvas = recording.get();
    chart.canvas = std::move(recording);
    series = new TFastLineSeries(&chart);
    series->SetName("Line");
    series->ChangeParentChart(&chart);
    series->ChangeSeriesColor(clRed);
  }
  // Adds (x, y) pairs, the ones listed in `nulls` as null points.
  void Add(const std::vector<std::pair<double, double>>& points, const std::vector<int>& nulls = {}) {
    for (size_t i = 0; i < points.size(); ++i) {
      const bool isNull = std::find(nulls.begin(), nulls.end(), static_cast<int>(i)) != nulls.end();
      series->AppendXY(points[i].first, points[i].second, "", isNull ? clNone : clDefault);
    }
  }
  bool Red(int x, int y) { return chart.Pixel(x, y) == clRed; }

  FakeSeriesChart chart;
  RecordingCanvas* canvas = nullptr;
  TFastLineSeries* series = nullptr;
};

TEST_F(FastLineTest, DefaultsAreThoseOfTheRecorderCurves) {
  EXPECT_EQ(series->TreatNulls(), tnIgnore);
  EXPECT_TRUE(series->DrawAllPoints());
  EXPECT_TRUE(series->AutoRepaint());
  EXPECT_TRUE(series->IgnoreNulls());
  EXPECT_EQ(series->EditorClassName(), "TFastLineSeriesEditor");
  TFastLineSeries fresh(nullptr);
  EXPECT_EQ(fresh.LinePen()->Color(), clDefault);
}

TEST_F(FastLineTest, TheLineRunsThroughThePointsInTheSeriesColour) {
  Add({{10, 50}, {60, 50}, {60, 90}, {150, 0}});
  chart.PaintSeries();
  EXPECT_TRUE(Red(10, 50));
  EXPECT_TRUE(Red(35, 50));
  EXPECT_TRUE(Red(59, 50));
  EXPECT_TRUE(Red(60, 30));
  EXPECT_TRUE(Red(60, 11));
  EXPECT_TRUE(Red(105, 55));  // halfway along (60, 10) -> (150, 100)
  EXPECT_EQ(chart.Pixel(35, 60), clWhite);
  EXPECT_EQ(chart.Pixel(100, 20), clWhite);
  EXPECT_GE(chart.Count(clRed), 50 + 40 + 90);
}

TEST_F(FastLineTest, WithoutOwnColourTheLineTakesTheChartsPickedColour) {
  auto* other = new TFastLineSeries(&chart);
  other->ChangeParentChart(&chart);  // the fake chart picks palette entry 1: green
  other->AppendXY(0, 20);
  other->AppendXY(200, 20);
  EXPECT_EQ(other->SeriesColor(), clDefault);
  chart.PaintSeries();
  EXPECT_EQ(chart.Pixel(100, 80), clGreen);
}

struct NullCase {
  const char* name;
  TTreatNullsStyle treatNulls;
  bool redAcrossGap;      // (50, 20): on the straight line from the point before to the one after
  bool redTowardsNull;    // (30, 50): on the way down to the null point's own value
  bool redAfter;          // (110, 20): after the point following the null
};

class NullTreatmentTest : public FastLineTest, public testing::WithParamInterface<NullCase> {};

TEST_P(NullTreatmentTest, NullPointsLeaveAGapAreSkippedOrDrawn) {
  const NullCase& c = GetParam();
  series->SetTreatNulls(c.treatNulls);
  // (10,80) -> null (50,20) -> (90,80) -> (130,80): pixels (10,20) (50,80) (90,20) (130,20).
  Add({{10, 80}, {50, 20}, {90, 80}, {130, 80}}, {1});
  chart.PaintSeries();
  EXPECT_EQ(Red(50, 20), c.redAcrossGap);
  EXPECT_EQ(Red(30, 50), c.redTowardsNull);
  EXPECT_EQ(Red(110, 20), c.redAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, NullTreatmentTest,
                         testing::Values(NullCase{"Ignore", tnIgnore, false, true, true},
                                         NullCase{"Skip", tnSkip, true, false, true},
                                         NullCase{"DontPaint", tnDontPaint, false, false, true}),
                         [](const testing::TestParamInfo<NullCase>& info) { return std::string(info.param.name); });

TEST_F(FastLineTest, DontPaintResumesAtThePointAfterTheNull) {
  series->SetTreatNulls(tnDontPaint);
  Add({{10, 50}, {50, 50}, {90, 50}, {130, 50}}, {1});
  chart.PaintSeries();
  for (int x = 12; x <= 88; x += 4) EXPECT_EQ(chart.Pixel(x, 50), clWhite) << x;
  for (int x = 90; x < 130; x += 4) EXPECT_TRUE(Red(x, 50)) << x;
}

TEST_F(FastLineTest, DrawFirstMergesAPixelColumnIntoOneSegmentEndingAtItsFirstPoint) {
  series->ChangeDrawAllPoints(false);
  // 10,000 points over 200 pixel columns.
  for (int i = 0; i < 10000; ++i) series->AppendXY(i * 0.02, 50 + 40 * std::sin(i * 0.37));
  canvas->lines.clear();
  chart.PaintSeries();
  EXPECT_LE(canvas->lines.size(), 201u);
  EXPECT_GE(canvas->lines.size(), 190u);
  // Each segment into a column ends at the first point of that column.
  std::map<int, int> firstY;
  for (int i = 0; i < series->PointCount(); ++i) {
    int x, y;
    series->PointToPixels(i, x, y);
    firstY.emplace(x, y);
  }
  for (const TPoint& p : canvas->lines) EXPECT_EQ(p.Y, firstY[p.X]) << "column " << p.X;
}

TEST_F(FastLineTest, DrawFirstFindsColumnsExactlyAtHalfPixelTies) {
  series->ChangeDrawAllPoints(false);
  // X in quarter pixels: every x.5 is a tie that rounds to the even pixel, so the columns hold
  // 3 or 5 points and the column's first point is sometimes the tie itself.
  for (int i = 0; i < 800; ++i) series->AppendXY(i * 0.25, 50 + 40 * std::sin(i * 0.37));
  canvas->lines.clear();
  chart.PaintSeries();
  std::map<int, int> firstY;
  for (int i = 0; i < series->PointCount(); ++i) {
    int x, y;
    series->PointToPixels(i, x, y);
    firstY.emplace(x, y);
  }
  ASSERT_EQ(canvas->lines.size(), firstY.size() - 1);  // every column but the starting one
  for (const TPoint& p : canvas->lines) EXPECT_EQ(p.Y, firstY[p.X]) << "column " << p.X;
}

TEST_F(FastLineTest, MinMaxDrawsOneVerticalStrokeOverTheColumnsRange) {
  series->ChangeDrawAllPoints(false);
  series->SetDrawAllPointsStyle(daMinMax);
  // Enter column 100 at pixel y 50, then pixels 40, 10 and 70 in the same column, leave at 50.
  Add({{60, 50}, {100, 50}, {100.1, 60}, {100.2, 90}, {100.3, 30}, {140, 50}});
  canvas->lines.clear();
  chart.PaintSeries();
  for (int y = 10; y <= 70; ++y) EXPECT_TRUE(Red(100, y)) << y;
  EXPECT_EQ(chart.Pixel(100, 8), clWhite);
  EXPECT_EQ(chart.Pixel(100, 72), clWhite);
  // The column closes top first, then bottom, before the line leaves it.
  const std::vector<TPoint> expected{TPoint(100, 50), TPoint(100, 10), TPoint(100, 70), TPoint(140, 50)};
  EXPECT_EQ(canvas->lines, expected);
}

TEST_F(FastLineTest, MinMaxOnAnInvertedAxisStrokesBottomFirst) {
  series->ChangeDrawAllPoints(false);
  series->SetDrawAllPointsStyle(daMinMax);
  chart.left.SetInverted(true);
  chart.SetRanges(0, 200, 0, 100);
  // Inverted: a value y lands on pixel y. Column 100 enters at 50, holds 40, 10, 70.
  Add({{60, 50}, {100, 50}, {100.1, 40}, {100.2, 10}, {100.3, 70}, {140, 50}});
  canvas->lines.clear();
  chart.PaintSeries();
  const std::vector<TPoint> expected{TPoint(100, 50), TPoint(100, 70), TPoint(100, 10), TPoint(140, 50)};
  EXPECT_EQ(canvas->lines, expected);
}

TEST_F(FastLineTest, StairsStepAtTheNewXOrInvertedAtTheOldX) {
  // Pixels (10, 50) -> (20, 30).
  Add({{10, 50}, {20, 70}});
  series->ChangeStairs(true);
  canvas->lines.clear();
  chart.PaintSeries();
  EXPECT_EQ(canvas->lines, (std::vector<TPoint>{TPoint(20, 50), TPoint(20, 30)}));
  EXPECT_TRUE(Red(15, 50));
  EXPECT_TRUE(Red(20, 40));
  series->ChangeInvertedStairs(true);
  canvas->lines.clear();
  chart.PaintSeries();
  EXPECT_EQ(canvas->lines, (std::vector<TPoint>{TPoint(10, 30), TPoint(20, 30)}));
}

TEST_F(FastLineTest, ASingleVisibleFirstPointDrawsNothingButTheMove) {
  series->ChangeDrawAllPoints(false);
  Add({{100, 50}});
  canvas->lines.clear();
  chart.PaintSeries();
  EXPECT_TRUE(canvas->lines.empty());
  EXPECT_EQ(chart.Count(clRed), 0);
}

TEST_F(FastLineTest, PolylineModeDrawsTheVisibleRangeInOneCall) {
  series->SetDrawStyle(flAll);
  Add({{10, 50}, {60, 50}, {60, 90}, {150, 0}});
  ASSERT_TRUE(series->UsesPolyline());
  EXPECT_TRUE(series->KeepsPreparedPoints());
  canvas->lines.clear();
  chart.PaintSeries();
  EXPECT_EQ(canvas->polylines, 1);
  EXPECT_TRUE(canvas->lines.empty());
  EXPECT_TRUE(Red(35, 50));
  EXPECT_TRUE(Red(60, 30));
  series->SetTreatNulls(tnSkip);
  EXPECT_FALSE(series->UsesPolyline());
}

TEST_F(FastLineTest, FastPenDrawsANewSegmentAtOnceOnTheDeviceHandle) {
  series->SetAutoRepaint(false);
  series->SetFastPen(true);
  TKelPen pen;
  pen.SetColor(clBlue);
  pen.SetWidth(5);
  series->SetLinePen(&pen);
  int afterAdds = 0;
  series->OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
  series->AppendXY(10, 50);
  chart.invalidations = 0;
  series->AppendXY(100, 50);
  // Drawn at once, one pixel wide (the DC pen), in the line pen's colour; no repaint, no event.
  EXPECT_EQ(chart.Pixel(50, 50), clBlue);
  EXPECT_EQ(chart.Pixel(50, 48), clWhite);
  EXPECT_EQ(chart.Pixel(50, 52), clWhite);
  EXPECT_EQ(chart.invalidations, 0);
  EXPECT_EQ(afterAdds, 0);
  // A full paint draws with the canvas pen: five pixels wide.
  chart.PaintSeries();
  EXPECT_EQ(chart.Pixel(50, 52), clBlue);
}

TEST_F(FastLineTest, ImmediateDrawingWithoutPenColourUsesTheSeriesColour) {
  auto* other = new TFastLineSeries(&chart);
  other->ChangeParentChart(&chart);  // green from the chart, pen colour clDefault
  other->SetAutoRepaint(false);
  other->SetFastPen(true);
  other->AppendXY(10, 30);
  other->AppendXY(100, 30);
  EXPECT_EQ(chart.Pixel(50, 70), clGreen);
  other->SetFastPen(false);
  other->AppendXY(190, 30);
  EXPECT_EQ(chart.Pixel(150, 70), clGreen);
}

TEST_F(FastLineTest, ImmediateDrawingContinuesFromTheLastSegment) {
  series->SetAutoRepaint(false);
  Add({{10, 10}, {50, 50}, {90, 10}});
  EXPECT_TRUE(Red(30, 70));
  EXPECT_TRUE(Red(70, 70));
  EXPECT_EQ(series->LastX(), 90);
  EXPECT_EQ(series->LastY(), 90);
}

TEST_F(FastLineTest, ClickToleranceZeroStillAcceptsOnePixelOff) {
  Add({{10, 50}, {110, 50}, {150, 90}});
  chart.PaintSeries();
  EXPECT_EQ(series->PointAtPixel(10, 50), 0);
  EXPECT_EQ(series->PointAtPixel(60, 51), 0);
  EXPECT_EQ(series->PointAtPixel(60, 53), -1);
  EXPECT_EQ(series->PointAtPixel(130, 30), 1);
  series->SetClickTolerance(3);
  EXPECT_EQ(series->PointAtPixel(60, 53), 0);
}

struct MarginCase {
  int width;
  int expected;
};

class MarginTest : public FastLineTest, public testing::WithParamInterface<MarginCase> {};

TEST_P(MarginTest, PenWidthWidensTheHorizontalMargins) {
  series->LinePen()->SetWidth(GetParam().width);
  int left = 0, right = 0;
  series->MarginsX(left, right);
  EXPECT_EQ(left, GetParam().expected);
  EXPECT_EQ(right, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Widths, MarginTest,
                         testing::Values(MarginCase{1, 1}, MarginCase{2, 2}, MarginCase{3, 3}, MarginCase{4, 3}));

TEST_F(FastLineTest, VerticalMarginsOnlyWhereTheLineTouchesTheAxisEnds) {
  series->LinePen()->SetWidth(2);
  Add({{0, 100}, {10, 40}});
  int top = 0, bottom = 0;
  series->MarginsY(top, bottom);
  EXPECT_EQ(top, 2);
  EXPECT_EQ(bottom, 0);
}

}  // namespace
