// The fast line series drawn through the GDI canvas into a 32-bit DIB: the line on its path,
// the three null treatments, column merging (first point, min-max stroke), stairs, the
// polyline mode, the raw device pen of immediate drawing, margins and the hit test. A point
// (x, y) lands on pixel (x, 100 - y) of the stand-in chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SeriesTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "chart/FastLineSeries.h"
#include "chart/SeriesSelection.h"

namespace {

// The GDI canvas recording where each line goes, drawing as usual.
class RecordingCanvas : public TKelCanvas3D {
 public:
  void LineTo(int x, int y) override {
    Fail();
    lines.push_back(TPoint(x, y));
    TKelCanvas3D::LineTo(x, y);
  }
  void LineToCached(int x, int y) override {
    Fail();
    lines.push_back(TPoint(x, y));
    cached.push_back(TPoint(x, y));
    TKelCanvas3D::LineToCached(x, y);
  }
  // Each point after the first is where one segment of the polyline ends.
  void Polyline(const TPointArray& points, int highIndex) override {
    Fail();
    ++polylines;
    for (int i = 1; i <= highIndex; ++i) lines.push_back(points[i]);
    TKelCanvas3D::Polyline(points, highIndex);
  }
  TKelBlend* StartTransparency(const TRect& rect, std::uint8_t percent) override {
    ++openGroups;
    return TKelCanvas3D::StartTransparency(rect, percent);
  }
  void FinishTransparency(TKelBlend* blend) override {
    --openGroups;
    TKelCanvas3D::FinishTransparency(blend);
  }
  void Fail() {
    if (failLines) throw Exception("the device is gone");
  }
  std::vector<TPoint> lines;
  // The line ends drawn on the cached device handle.
  std::vector<TPoint> cached;
  int polylines = 0;
  // Transparency groups started and not finished.
  int openGroups = 0;
  bool failLines = false;
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
  // The whole curve reaches the canvas as polylines of 32 points (each piece starting where the
  // last one ended), nothing segment by segment.
  EXPECT_EQ(canvas->polylines, (static_cast<int>(canvas->lines.size()) + 30) / 31);
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
  EXPECT_EQ(canvas->lines, (std::vector<TPoint>{TPoint(60, 50), TPoint(60, 10), TPoint(150, 100)}));
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
  // A full paint draws with the canvas pen, on the device handle too: five pixels wide.
  chart.PaintSeries();
  EXPECT_EQ(chart.Pixel(50, 52), clBlue);
  EXPECT_EQ(chart.Pixel(50, 48), clBlue);
}


TEST_F(FastLineTest, FastPenDrawsEachSegmentOfAPaintOnTheDeviceHandleInTheLinePen) {
  // Pixels (10, 50) -> (20, 30) -> (100, 30), with stairs; a blue pen five pixels wide.
  Add({{10, 50}, {20, 70}, {100, 70}});
  series->ChangeStairs(true);
  TKelPen pen;
  pen.SetColor(clBlue);
  pen.SetWidth(5);
  series->SetLinePen(&pen);
  series->SetFastPen(true);
  canvas->lines.clear();
  chart.PaintSeries();
  EXPECT_EQ(canvas->polylines, 0);
  // Each step goes to its corner first; a flat step's corner is its end.
  EXPECT_EQ(canvas->cached,
            (std::vector<TPoint>{TPoint(20, 50), TPoint(20, 30), TPoint(100, 30), TPoint(100, 30)}));
  // Every segment in the line pen's width: two pixels either side of its middle.
  for (const TPoint& p : {TPoint(15, 50), TPoint(60, 30)}) {
    for (int dy = -2; dy <= 2; ++dy) EXPECT_EQ(chart.Pixel(p.X, p.Y + dy), clBlue) << p.X << "," << p.Y + dy;
    EXPECT_EQ(chart.Pixel(p.X, p.Y - 4), clWhite);
    EXPECT_EQ(chart.Pixel(p.X, p.Y + 4), clWhite);
  }
  for (int dx = -2; dx <= 2; ++dx) EXPECT_EQ(chart.Pixel(20 + dx, 40), clBlue) << 20 + dx;
  // Without it the segments of a paint gather into polylines, as wide.
  series->SetFastPen(false);
  canvas->cached.clear();
  chart.bitmap->Canvas()->Brush()->SetColor(clWhite);
  chart.bitmap->Canvas()->FillRect(TRect(0, 0, chart.bitmap->Width(), chart.bitmap->Height()));
  chart.PaintSeries();
  EXPECT_TRUE(canvas->cached.empty());
  EXPECT_GT(canvas->polylines, 0);
  for (int dy = -2; dy <= 2; ++dy) EXPECT_EQ(chart.Pixel(60, 30 + dy), clBlue) << 30 + dy;
}
TEST_F(FastLineTest, APaintThatFailsStillClosesItsTransparencyGroup) {
  Add({{10, 50}, {100, 50}, {150, 20}});
  series->ChangeTransparency(50);
  canvas->SupportsAlpha = true;
  for (bool fastPen : {false, true}) {
    SCOPED_TRACE(fastPen ? "fast pen" : "plain pen");
    series->SetFastPen(fastPen);
    canvas->failLines = true;
    EXPECT_THROW(chart.PaintSeries(), Exception);
    EXPECT_EQ(canvas->openGroups, 0);
    canvas->failLines = false;
    chart.PaintSeries();
    EXPECT_EQ(canvas->openGroups, 0);
  }
  // The line shows half through: neither the white behind it nor full red.
  const TColor c = chart.Pixel(50, 50);
  EXPECT_NE(c, clWhite);
  EXPECT_NE(c, clRed);
}

TEST_F(FastLineTest, TheHoverHighlightStartsHidden) {
  EXPECT_FALSE(series->Selected()->Hover()->Visible());
  EXPECT_FALSE(series->HoverActive());
  // Other series keep theirs; a copied format takes the source's selection.
  TChartSeries plain(nullptr);
  EXPECT_TRUE(plain.Selected()->Hover()->Visible());
  plain.Selected()->SetVisible(true);
  series->CopyFormatFrom(&plain);
  EXPECT_TRUE(series->Selected()->Visible());
  EXPECT_TRUE(series->Selected()->Hover()->Visible());
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

// ---- Runs drawn as polylines -------------------------------------------------------------------

enum class BatchCanvas { Gdi, GdiPlus, GdiPlusSmooth };

struct BatchCase {
  const char* name;
  BatchCanvas kind;
  int width;
  TPenStyle style;
  bool drawAll;  // every point, else the first point of each pixel column
  bool nulls;    // blocks of null points, painted as gaps (tnDontPaint)
  bool clipped;
  // Tolerance against the segments drawn one by one: differing pixels at most this share of
  // the inked ones, each next to a corner of the line.
  double share;
};

// The fast line series on a GDI or GDI+ canvas over the stand-in chart's DIB, compared with the
// same line drawn one segment at a time (MovePenTo, LineTo) through the same canvas.
class FastLineBatchTest : public testing::TestWithParam<BatchCase> {
 protected:
  static void SetUpTestSuite() { KelGDIPlusStartup(); }
  void SetUp() override {
    chart.AttachCanvas();
    const BatchCase& c = GetParam();
    if (c.kind != BatchCanvas::Gdi) {
      auto plus = std::make_unique<TGDIPlusCanvas>();
      plus->SetBuffered(false);
      plus->SetTargetCanvas(chart.bitmap->Canvas());
      plus->Antialias = false;
      plus->ChangeAntialias(true);
      plus->ChangeAntialias(c.kind == BatchCanvas::GdiPlusSmooth);
      chart.canvas = std::move(plus);
    }
    series = new TFastLineSeries(&chart);
    series->ChangeParentChart(&chart);
    series->ChangeSeriesColor(clRed);
    series->LinePen()->SetWidth(c.width);
    series->LinePen()->SetStyle(c.style);
    series->ChangeDrawAllPoints(c.drawAll);
    if (c.nulls) series->SetTreatNulls(tnDontPaint);
    // 2,000 points, ten to a pixel column; blocks of 100 null points leave gaps of ten columns.
    for (int i = 0; i < 2000; ++i) {
      const bool isNull = c.nulls && (i / 100) % 5 == 3;
      series->AppendXY(i * 0.1, 50 + 45 * std::sin(i * 0.011) * std::cos(i * 0.0031), "", isNull ? clNone : clDefault);
    }
  }
  std::vector<std::uint32_t> Snapshot() {
    GdiFlush();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < chart.bitmap->Height(); ++y) {
      const auto* row = static_cast<const std::uint32_t*>(chart.bitmap->ScanLine(y));
      for (int x = 0; x < chart.bitmap->Width(); ++x) pixels.push_back(row[x] & 0xFFFFFF);
    }
    return pixels;
  }
  void ClearBitmap() {
    GdiFlush();
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT all{0, 0, chart.bitmap->Width(), chart.bitmap->Height()};
    FillRect(chart.bitmap->Canvas()->Handle(), &all, white);
    DeleteObject(white);
  }
  // The runs of connected points the line goes through, worked out from the points alone.
  std::vector<TPointArray> ExpectedRuns() {
    const BatchCase& c = GetParam();
    std::vector<TPointArray> runs(1);
    for (int i = 0; i < series->PointCount(); ++i) {
      TPoint p;
      series->PointToPixels(i, p.X, p.Y);
      if (series->IsNullPoint(i)) {
        if (!runs.back().empty()) runs.emplace_back();
        continue;
      }
      TPointArray& run = runs.back();
      if (!run.empty() && run.back() == p) continue;  // the line is there already
      if (c.drawAll || run.empty() || run.back().X != p.X) run.push_back(p);
    }
    return runs;
  }

  FakeSeriesChart chart;
  TFastLineSeries* series = nullptr;
};

TEST_P(FastLineBatchTest, RunsAsPolylinesDrawTheLineOfItsSegments) {
  const BatchCase& c = GetParam();
  TKelCanvas3D* canvas = chart.canvas.get();
  if (c.clipped) canvas->ClipToRect(TRect(40, 20, 150, 80));
  chart.PaintSeries();
  const auto batched = Snapshot();

  ClearBitmap();
  TKelPen pen;
  pen.Assign(series->LinePen());
  pen.SetColor(clRed);
  canvas->UsePen(&pen);
  canvas->Brush()->SetStyle(bsClear);
  // The segments one by one as the series drew them before: pen prepared once, device cached.
  const std::vector<TPointArray> runs = ExpectedRuns();
  canvas->SetDCCache(true);
  for (const TPointArray& run : runs) {
    if (run.size() < 2) continue;
    if (c.style != psSolid) {
      // Dashes run on along a run, in pieces of at most 32 points (one by one, segments of a
      // pixel or two would each restart the pattern and come out solid).
      for (size_t first = 0; first + 1 < run.size(); first += 31) {
        const size_t last = std::min(first + 31, run.size() - 1);
        const TPointArray piece(run.begin() + first, run.begin() + last + 1);
        canvas->Polyline(piece, static_cast<int>(piece.size()) - 1);
      }
      continue;
    }
    canvas->MovePenTo(run[0].X, run[0].Y);
    for (size_t i = 1; i < run.size(); ++i) canvas->LineToCached(run[i].X, run[i].Y);
  }
  canvas->SetDCCache(false);
  const auto expected = Snapshot();

  // Pixels next to a corner (a point of a run).
  const int width = chart.bitmap->Width();
  std::vector<bool> nearCorner(expected.size());
  for (const TPointArray& run : runs)
    for (const TPoint& p : run)
      for (int y = p.Y - 1; y <= p.Y + 1; ++y)
        for (int x = p.X - 1; x <= p.X + 1; ++x)
          if (x >= 0 && x < width && y >= 0 && y * width + x < static_cast<int>(expected.size()))
            nearCorner[y * width + x] = true;
  int inked = 0, differing = 0, awayFromCorners = 0, outsideClip = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] != 0xFFFFFF) ++inked;
    const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
    // The clip's own edges are the canvas's business: a pixel beyond them is what counts.
    if (c.clipped && batched[i] != 0xFFFFFF && (x < 39 || x > 150 || y < 19 || y > 80)) ++outsideClip;
    if (batched[i] == expected[i]) continue;
    ++differing;
    if (!nearCorner[i]) ++awayFromCorners;
  }
  ASSERT_GT(inked, c.clipped ? 60 : 150);
  if (c.nulls) {
    EXPECT_GE(runs.size(), 4u);
  }
  EXPECT_LE(differing, static_cast<int>(c.share * inked)) << "of " << inked;
  EXPECT_EQ(awayFromCorners, 0);
  EXPECT_EQ(outsideClip, 0);
}

// GDI gives exactly the same pixels, and so does GDI+ with a pen 1 wide. A wider GDI+ pen
// outlines a polyline as one shape with round joins, while segments drawn one by one are round
// capped pieces laid over each other: at a corner the two outlines fall on the pixel grid a little
// differently, so a few pixels right at corners may differ; nothing away from the corners does.
INSTANTIATE_TEST_SUITE_P(
    Cases, FastLineBatchTest,
    testing::Values(
        BatchCase{"GdiPlain", BatchCanvas::Gdi, 1, psSolid, true, false, false, 0},
        BatchCase{"GdiWide", BatchCanvas::Gdi, 2, psSolid, true, false, false, 0},
        BatchCase{"GdiGaps", BatchCanvas::Gdi, 1, psSolid, true, true, false, 0},
        BatchCase{"GdiWideGaps", BatchCanvas::Gdi, 2, psSolid, true, true, false, 0},
        BatchCase{"GdiClipped", BatchCanvas::Gdi, 2, psSolid, true, false, true, 0},
        BatchCase{"GdiColumns", BatchCanvas::Gdi, 2, psSolid, false, false, false, 0},
        BatchCase{"GdiDash", BatchCanvas::Gdi, 1, psDash, true, true, false, 0},
        BatchCase{"GdiPlusPlain", BatchCanvas::GdiPlus, 1, psSolid, true, false, false, 0},
        BatchCase{"GdiPlusWide", BatchCanvas::GdiPlus, 2, psSolid, true, false, false, 0.01},
        BatchCase{"GdiPlusGaps", BatchCanvas::GdiPlus, 2, psSolid, true, true, false, 0.01},
        BatchCase{"GdiPlusClipped", BatchCanvas::GdiPlus, 2, psSolid, true, false, true, 0.01},
        BatchCase{"GdiPlusColumns", BatchCanvas::GdiPlus, 2, psSolid, false, false, false, 0.01},
        BatchCase{"GdiPlusDash", BatchCanvas::GdiPlus, 2, psDash, true, true, false, 0.01},
        BatchCase{"SmoothPlain", BatchCanvas::GdiPlusSmooth, 1, psSolid, true, false, false, 0},
        BatchCase{"SmoothWide", BatchCanvas::GdiPlusSmooth, 2, psSolid, true, false, false, 0.01},
        BatchCase{"SmoothWideGaps", BatchCanvas::GdiPlusSmooth, 2, psSolid, true, true, false, 0.01},
        BatchCase{"SmoothClipped", BatchCanvas::GdiPlusSmooth, 2, psSolid, true, false, true, 0.01},
        BatchCase{"SmoothColumns", BatchCanvas::GdiPlusSmooth, 2, psSolid, false, false, false, 0.01}),
    [](const testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.name); });

class FastLineImmediateTest : public FastLineBatchTest {};

TEST_P(FastLineImmediateTest, WithoutTheFastPenANewSegmentIsDrawnAtOnceOnEitherCanvas) {
  series->ClearPoints();
  series->SetAutoRepaint(false);
  series->AppendXY(10, 50);
  series->AppendXY(190, 50);
  // Drawn at once along y = 50 (pixel row 50), in the series' colour.
  for (int x = 20; x < 180; x += 20) EXPECT_NE(chart.Pixel(x, 50), clWhite) << x;
  EXPECT_EQ(chart.Pixel(100, 40), clWhite);
}

INSTANTIATE_TEST_SUITE_P(
    Canvases, FastLineImmediateTest,
    testing::Values(BatchCase{"Gdi", BatchCanvas::Gdi, 1, psSolid, true, false, false, 0},
                    BatchCase{"GdiPlus", BatchCanvas::GdiPlus, 2, psSolid, true, false, false, 0},
                    BatchCase{"GdiPlusSmooth", BatchCanvas::GdiPlusSmooth, 2, psSolid, true, false, false, 0}),
    [](const testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A pen gradient along a polyline covers the whole series, not only the part in view: with most
// of the series left of the chart, the visible end lies near the colour of the right edge (left
// to right puts the end colour at the left and the start colour at the right).
TEST(FastLinePenGradient, InPolylineModeItSpansTheSeriesPixelBounds) {
  KelGDIPlusStartup();
  FakeSeriesChart chart;
  chart.AttachCanvas();
  auto plus = std::make_unique<TGDIPlusCanvas>();
  plus->SetBuffered(false);
  plus->SetTargetCanvas(chart.bitmap->Canvas());
  plus->ChangeAntialias(false);
  chart.canvas = std::move(plus);
  auto* series = new TFastLineSeries(&chart);
  series->ChangeParentChart(&chart);
  series->SetDrawStyle(flAll);
  series->LinePen()->SetWidth(3);
  TKelGradient* gradient = series->LinePen()->Fill()->Gradient();
  gradient->SetDirection(KelCanvas::gdLeftRight);
  gradient->SetStartColor(clRed);
  gradient->SetEndColor(clBlue);
  gradient->SetVisible(true);
  for (double x : {-1000.0, -10.0, 0.0, 100.0, 200.0}) series->AppendXY(x, 50);
  ASSERT_TRUE(series->UsesPolyline());
  chart.PaintSeries();
  // Pixel 100 lies 1100 of 1200 pixels along the series. A left-right gradient has its start
  // colour at the right, so the pixel is nearly the start colour; over the visible part alone
  // it would lie half way.
  const TColor c = chart.Pixel(100, 50);
  EXPECT_GT(c & 0xFF, 200u) << std::hex << c;
  EXPECT_LT((c >> 16) & 0xFF, 60u) << std::hex << c;
}

}  // namespace
