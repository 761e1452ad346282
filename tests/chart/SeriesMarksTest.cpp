// Series marks: where a mark goes (with and without the callout's lift), the tail's outline,
// how many points get a mark, overlap avoidance, the hit test, what deleting points and
// clearing do to positions and items, the stored "Items" entry, emboss and gradient defaults
// in layouts, and framed marks painted by a fast line series on a chart (checked by pixels):
// marks on top of later series, the hover font, one canvas element per mark, the automatic
// text's move flag, a point's own text and the point-colour font; the brush, picture and
// children of marks and the parts of per-point items and of the callout read back from layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ChartPanelTestSupport.h"
#include "LayoutTextSupport.h"
#include "SeriesTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "chart/BackImage.h"
#include "chart/FastLineSeries.h"
#include "chart/SeriesMarks.h"
#include "chart/SeriesSelection.h"
#include "chart/ChartAxis.h"
#include "chart/AxisItems.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Control.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

namespace {

constexpr TColor kMarkFill = static_cast<TColor>(0xE1FFFF);

TSeriesMarkPosition PositionOf(int left, int top, int width, int height) {
  TSeriesMarkPosition p;
  p.LeftTop = POINT{left, top};
  p.Width = width;
  p.Height = height;
  p.ArrowTo = POINT{left + width / 2, top + height};
  p.ArrowFrom = p.ArrowTo;
  return p;
}

bool Overlap(const TSeriesMarkPosition& a, const TSeriesMarkPosition& b) {
  const RECT ra = a.Bounds(), rb = b.Bounds();
  return std::max(ra.left, rb.left) < std::min(ra.right, rb.right) &&
         std::max(ra.top, rb.top) < std::min(ra.bottom, rb.bottom);
}

// ---- Placing -------------------------------------------------------------------------------

TEST(MarkPlacement, AMarkStandsCentredAboveItsPointAndTheCalloutLiftsIt) {
  TChartSeries s(nullptr);
  TSeriesMarks* marks = s.Marks();
  TSeriesMarkPosition p;
  p.Width = 40;
  p.Height = 20;
  marks->Positions().PlaceAtPoint(p, 100, 200);
  EXPECT_EQ(p.LeftTop.x, 80);
  EXPECT_EQ(p.LeftTop.y, 181);
  EXPECT_EQ(p.ArrowTo.x, 100);
  EXPECT_EQ(p.ArrowTo.y, 200);
  EXPECT_EQ(p.ArrowFrom.x, 100);
  EXPECT_EQ(p.ArrowFrom.y, 200);

  marks->AdjustPosition(p);
  EXPECT_EQ(p.LeftTop.y, 181) << "no callout, no lift";

  marks->Callout()->SetLength(8);
  marks->AdjustPosition(p);
  EXPECT_EQ(p.LeftTop.x, 80);
  EXPECT_EQ(p.LeftTop.y, 173);
  EXPECT_EQ(p.ArrowTo.x, 100);
  EXPECT_EQ(p.ArrowTo.y, 192);
  EXPECT_EQ(p.ArrowFrom.y, 200) << "the arrow start stays at the point";
}

TEST(MarkPlacement, TheCalloutDistanceRaisesTheArrowStartToo) {
  TChartSeries s(nullptr);
  s.Marks()->Callout()->SetLength(8);
  s.Marks()->Callout()->SetDistance(3);
  TSeriesMarkPosition p;
  p.Width = 40;
  p.Height = 20;
  s.Marks()->Positions().PlaceAtPoint(p, 100, 200);
  s.Marks()->AdjustPosition(p);
  EXPECT_EQ(p.LeftTop.y, 170);
  EXPECT_EQ(p.ArrowTo.y, 189);
  EXPECT_EQ(p.ArrowFrom.y, 197);
}

struct TailCase {
  const char* name;
  bool autoAlign;
  int edge;
  TTailAlign align;
  POINT from, to;
  std::vector<TPoint> points;
};

class TailPolygonTest : public testing::TestWithParam<TailCase> {};

TEST_P(TailPolygonTest, SevenPointsWithTheTailOnItsEdge) {
  const TailCase& c = GetParam();
  TChartSeries s(nullptr);
  TMarksTail* tail = s.Marks()->Tail();
  tail->SetAutoAlign(c.autoAlign);
  tail->SetEdge(c.edge);
  tail->SetAlign(c.align);
  const TPointArray points = tail->Polygon(TRect(10, 10, 60, 30), TPoint(c.from.x, c.from.y), TPoint(c.to.x, c.to.y));
  ASSERT_EQ(points.size(), c.points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].X, c.points[i].X) << i;
    EXPECT_EQ(points[i].Y, c.points[i].Y) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TailPolygonTest,
    testing::Values(
        TailCase{"BottomCentre", false, 3, ttaCenter, {0, 0}, {0, 0},
                 {{10, 10}, {10, 30}, {31, 30}, {35, 38}, {39, 30}, {60, 30}, {60, 10}}},
        TailCase{"TopNear", false, 1, ttaNear, {0, 0}, {0, 0},
                 {{10, 10}, {10, 30}, {60, 30}, {60, 10}, {18, 10}, {14, 2}, {10, 10}}},
        TailCase{"LeftFar", false, 0, ttaFar, {0, 0}, {0, 0},
                 {{10, 10}, {10, 22}, {2, 26}, {10, 30}, {10, 30}, {60, 30}, {60, 10}}},
        TailCase{"RightCentre", false, 2, ttaCenter, {0, 0}, {0, 0},
                 {{10, 10}, {10, 30}, {60, 30}, {60, 24}, {68, 20}, {60, 16}, {60, 10}}},
        // With AutoAlign a point below the mark puts the tail on the bottom edge, one above
        // it on the top edge, whatever edge and alignment were set.
        TailCase{"AutoPointBelow", true, 0, ttaNear, {35, 40}, {35, 31},
                 {{10, 10}, {10, 30}, {31, 30}, {35, 38}, {39, 30}, {60, 30}, {60, 10}}},
        TailCase{"AutoPointAbove", true, 3, ttaFar, {35, 0}, {35, 31},
                 {{10, 10}, {10, 30}, {60, 30}, {60, 10}, {39, 10}, {35, 2}, {31, 10}}}),
    [](const testing::TestParamInfo<TailCase>& info) { return std::string(info.param.name); });

// ---- Draw-every step -------------------------------------------------------------------------

struct StepCase {
  const char* name;
  int points;
  int drawEvery;
  int step;
};

class DrawEveryStepTest : public testing::TestWithParam<StepCase> {};

TEST_P(DrawEveryStepTest, AtMostAboutOneMarkPerTwoPixels) {
  const StepCase& c = GetParam();
  FakeSeriesChart chart;
  chart.rect = RECT{0, 0, 400, 100};
  TChartSeries s(nullptr);
  s.ChangeParentChart(&chart);
  for (int i = 0; i < c.points; ++i) s.AppendXY(i, 50);
  chart.SetRanges(0, c.points - 1, 0, 100);
  s.FindVisibleRange();
  ASSERT_EQ(s.LastVisible() - s.FirstVisible() + 1, c.points);
  s.Marks()->SetDrawEvery(c.drawEvery);
  EXPECT_EQ(s.Marks()->DrawEveryStep(), c.step);
  EXPECT_EQ(s.Marks()->DrawEvery(), c.drawEvery) << "the stored value stays as set";
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawEveryStepTest,
                         testing::Values(StepCase{"Dense", 1000, 1, 5}, StepCase{"DenseEveryEighth", 1000, 8, 8},
                                         StepCase{"Sparse", 150, 1, 1}, StepCase{"SparseEveryThird", 150, 3, 3},
                                         StepCase{"ZeroIsOne", 150, 0, 1}, StepCase{"NegativeIsOne", 150, -4, 1},
                                         StepCase{"DenseZero", 1000, 0, 5}),
                         [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST(DrawEveryStep, AHorizontalValueAxisUsesTheChartHeight) {
  FakeSeriesChart chart;
  chart.rect = RECT{0, 0, 1000, 100};
  TChartSeries s(nullptr);
  s.ChangeParentChart(&chart);
  for (int i = 0; i < 200; ++i) s.AppendXY(i, 50);
  chart.SetRanges(0, 199, 0, 100);
  s.FindVisibleRange();
  // The vertical value axis: half the width (500) exceeds 200 points.
  EXPECT_EQ(s.Marks()->DrawEveryStep(), 1);
  chart.left.SetHorizontal(true);
  // Now half the height (50) against 200 points.
  EXPECT_EQ(s.Marks()->DrawEveryStep(), 4);
}

// ---- Overlap and hit test --------------------------------------------------------------------

TEST(MarkOverlap, ALaterMarkMovesByTheSeriesGapClearOfEarlierOnes) {
  TChartSeries s(nullptr);
  TSeriesMarks* marks = s.Marks();
  marks->Positions().Store(0, PositionOf(80, 181, 40, 20));
  TSeriesMarkPosition second = PositionOf(90, 175, 40, 20);
  ASSERT_TRUE(Overlap(second, *marks->Positions().PositionAt(0)));
  EXPECT_TRUE(marks->AvoidOverlap(0, 1, second));
  // The first mark's top (181) less the second's bottom with the pen (1) and the marks'
  // shadow (3): 175 + 20 + 1 + 3.
  EXPECT_EQ(second.LeftTop.y, 175 - 18);
  EXPECT_EQ(second.LeftTop.x, 90) << "a Y series moves marks vertically only";
  EXPECT_EQ(second.ArrowTo.y, 195 - 18) << "the arrow's mark end moves with it";
  EXPECT_EQ(second.ArrowFrom.y, 195) << "the arrow's point end stays";
  EXPECT_FALSE(Overlap(second, *marks->Positions().PositionAt(0)));
  marks->Positions().Store(1, second);

  // A third one at the first's place climbs over both.
  TSeriesMarkPosition third = PositionOf(80, 181, 40, 20);
  EXPECT_TRUE(marks->AvoidOverlap(0, 2, third));
  EXPECT_FALSE(Overlap(third, *marks->Positions().PositionAt(0)));
  EXPECT_FALSE(Overlap(third, *marks->Positions().PositionAt(1)));

  // Marks before `first` do not count.
  TSeriesMarkPosition unmoved = PositionOf(80, 181, 40, 20);
  EXPECT_TRUE(marks->AvoidOverlap(2, 2, unmoved));
  EXPECT_EQ(unmoved.LeftTop.y, 181);
}

TEST(MarkOverlap, AHorizontalSeriesMovesMarksSideways) {
  TChartSeries s(nullptr);
  TPoint gap;
  s.GapBetweenRects(TRect(10, 0, 50, 20), gap, TRect(30, 5, 70, 25));
  EXPECT_EQ(gap.X, 0);
  EXPECT_EQ(gap.Y, 5 - 20);
  s.GapBetweenRects(TRect(30, 5, 70, 25), gap, TRect(10, 0, 50, 20));
  EXPECT_EQ(gap.Y, 20 - 5);
}

TEST(MarkHitTest, TheHighestIndexOnTheStepWins) {
  TChartSeries s(nullptr);
  TSeriesMarks* marks = s.Marks();
  for (int i = 0; i < 6; ++i) marks->Positions().Store(i, PositionOf(10 + i, 10, 40, 20));
  EXPECT_EQ(marks->MarkAtPixel(30, 20), 5);
  marks->SetDrawEvery(3);
  EXPECT_EQ(marks->MarkAtPixel(30, 20), 3) << "4 and 5 are not on the step";
  EXPECT_EQ(marks->MarkAtPixel(11, 20), 0) << "only mark 0 reaches x = 11 among 0 and 3";
  EXPECT_EQ(marks->MarkAtPixel(5, 20), -1);
  EXPECT_EQ(marks->MarkAtPixel(30, 30), -1) << "below every mark";
  marks->SetDrawEvery(0);
  EXPECT_EQ(marks->MarkAtPixel(30, 20), 5) << "a zero step counts as 1";
}

// ---- Deleting and clearing -------------------------------------------------------------------

TEST(MarkStores, DeletingAPointDropsItsPositionAndItem) {
  TChartSeries s(nullptr);
  for (int i = 0; i < 4; ++i) s.AppendValue(i);
  TSeriesMarks* marks = s.Marks();
  for (int i = 0; i < 4; ++i) marks->Positions().Store(i, PositionOf(0, 0, 10 + i, 5));
  marks->Items().ItemOrCreate(1)->TextLines()->Add("one");
  marks->Items().ItemOrCreate(2)->TextLines()->Add("two");
  s.DeletePoint(1);
  ASSERT_EQ(marks->Positions().Count(), 3);
  EXPECT_EQ(marks->Positions().PositionAt(1)->Width, 12);
  EXPECT_EQ(marks->Positions().PositionAt(2)->Width, 13);
  ASSERT_EQ(marks->Items().Count(), 2);
  EXPECT_EQ(s.MarkText(1), "two");
  EXPECT_EQ(marks->Items().ItemAt(0), nullptr);
  // Deleting beyond the stores' ends leaves them alone.
  s.DeletePoint(2);
  EXPECT_EQ(marks->Items().Count(), 2);
  EXPECT_EQ(marks->Positions().Count(), 2);
}

TEST(MarkStores, ClearingPointsFreesPositionsAndItemsThatWereNotRead) {
  TChartSeries s(nullptr);
  s.AppendValue(1);
  s.Marks()->Positions().Store(0, PositionOf(0, 0, 10, 5));
  s.Marks()->Items().ItemOrCreate(0);
  s.ClearPoints();
  EXPECT_EQ(s.Marks()->Positions().Count(), 0);
  EXPECT_EQ(s.Marks()->Items().Count(), 0);
}

TEST(MarkStores, NewItemsStartAsTheMarksFormatAndNilTextClearsTheCustomText) {
  TChartSeries s(nullptr);
  s.AppendValue(25, "Mon");
  s.Marks()->SetColor(clAqua);
  s.Marks()->SetStyle(smsValue);
  TMarksItem* item = s.Marks()->Items().ItemOrCreate(0);
  EXPECT_EQ(item->Color(), clAqua);
  EXPECT_FALSE(item->CustomText());
  EXPECT_EQ(s.MarkText(0), "25");
  item->TextLines()->Add("Peak");
  EXPECT_TRUE(item->CustomText());
  EXPECT_EQ(s.MarkText(0), "Peak") << "the list's trailing line break is not shown";
  item->SetTextLines(nullptr);
  EXPECT_FALSE(item->CustomText());
  EXPECT_EQ(s.MarkText(0), "25");
}

// ---- The stored "Items" entry ------------------------------------------------------------------

// A chart named "Chart1" gets a fast line series "Line" holding `points` values 0, 10, 20 ...
TFastLineSeries* AddNamedLine(FakeSeriesChart& chart, int points) {
  chart.SetName("Chart1");
  auto* line = new TFastLineSeries(&chart);
  line->SetName("Line");
  line->ChangeParentChart(&chart);
  for (int i = 0; i < points; ++i) line->AppendValue(10 * i);
  return line;
}

std::unique_ptr<FakeSeriesChart> RoundTrip(FakeSeriesChart& chart) {
  TMemoryStream out;
  out.WriteComponent(&chart);
  RegisterClass(FakeSeriesChart::StaticClass());
  RegisterClass(TFastLineSeries::StaticClass());
  out.SetPosition(0);
  auto copy = std::make_unique<FakeSeriesChart>(nullptr);
  out.ReadComponent(copy.get());
  return copy;
}

TEST(MarksLayout, ItemsAtZeroAndThreeReadBackAsFourItems) {
  FakeSeriesChart chart;
  auto* line = AddNamedLine(chart, 5);
  line->Marks()->SetVisible(true);
  line->Marks()->SetDrawEvery(0);
  line->Marks()->Items().ItemOrCreate(0)->TextLines()->Add("First");
  TMarksItem* fourth = line->Marks()->Items().ItemOrCreate(3);
  fourth->SetColor(clRed);
  fourth->TextLines()->Add("Fourth");

  const auto copy = RoundTrip(chart);
  auto* read = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Line"));
  ASSERT_NE(read, nullptr);
  TSeriesMarks* marks = read->Marks();
  EXPECT_TRUE(marks->Visible());
  EXPECT_EQ(marks->DrawEvery(), 0) << "a zero step is stored as set";
  ASSERT_EQ(marks->Items().Count(), 4);
  EXPECT_TRUE(marks->Items().Loading);
  for (int i = 0; i < 4; ++i) ASSERT_NE(marks->Items().ItemAt(i), nullptr) << i;
  EXPECT_TRUE(marks->Items().ItemAt(0)->CustomText());
  EXPECT_FALSE(marks->Items().ItemAt(1)->CustomText());
  EXPECT_FALSE(marks->Items().ItemAt(2)->CustomText());
  EXPECT_EQ(marks->Items().ItemAt(1)->Color(), static_cast<TColor>(0xE1FFFF)) << "a copy of the marks' format";
  EXPECT_EQ(marks->Items().ItemAt(3)->Color(), clRed);
  read->AppendValue(0);
  read->AppendValue(10);
  read->AppendValue(20);
  read->AppendValue(30);
  EXPECT_EQ(read->MarkText(0), "First");
  EXPECT_EQ(read->MarkText(3), "Fourth");

  // Items read from a layout survive clearing the positions.
  read->Marks()->Positions().Store(1, PositionOf(0, 0, 10, 5));
  read->ClearPoints();
  EXPECT_EQ(marks->Positions().Count(), 0);
  EXPECT_EQ(marks->Items().Count(), 4);
}

TEST(MarksLayout, MarksWithoutItemsWriteNoItemsEntry) {
  FakeSeriesChart chart;
  auto* line = AddNamedLine(chart, 0);
  line->Marks()->SetStyle(smsPercent);
  TMemoryStream out;
  out.WriteComponent(&chart);
  const std::string bytes(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  EXPECT_EQ(bytes.find("Marks.Items"), std::string::npos);
  EXPECT_NE(bytes.find("Marks.Style"), std::string::npos);
  const auto copy = RoundTrip(chart);
  auto* read = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Line"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Marks()->Style(), smsPercent);
  EXPECT_EQ(read->Marks()->Items().Count(), 0);
}

// ---- Painting on a chart -------------------------------------------------------------------------

class MarksPaintTest : public testing::Test {
 protected:
  void SetUp() override {
    chart.panel.BottomAxis()->SetMinMax(0, 10);
    chart.panel.LeftAxis()->SetMinMax(0, 100);
  }
  int FillInside(const TSeriesMarkPosition& p) const {
    return chart.Count(kMarkFill, p.LeftTop.x, p.LeftTop.y, p.LeftTop.x + p.Width - 1, p.LeftTop.y + p.Height - 1);
  }
  TestChart chart;
};

TEST_F(MarksPaintTest, AFastLineSeriesPaintsFramedMarksAboveItsPoints) {
  TFastLineSeries* line = chart.AddSeries({{2, 20}, {5, 50}, {8, 80}}, clBlue);
  chart.Paint();
  EXPECT_EQ(chart.Count(kMarkFill, 0, 0, chart.width - 1, chart.height - 1), 0) << "marks start hidden";

  line->Marks()->SetVisible(true);
  chart.Paint();
  TSeriesMarks* marks = line->Marks();
  ASSERT_EQ(marks->Positions().Count(), 3);
  for (int i = 0; i < 3; ++i) {
    const TSeriesMarkPosition* p = marks->Positions().PositionAt(i);
    ASSERT_NE(p, nullptr) << i;
    int x, y;
    line->PointPixel(i, x, y);
    EXPECT_EQ(p->ArrowTo.x, x) << i;
    EXPECT_EQ(p->LeftTop.y + p->Height, y + 1) << "the mark's bottom edge lies on the point's row + 1";
    EXPECT_NEAR(p->LeftTop.x + p->Width / 2, x, 1) << i;
    ASSERT_GT(p->Width, 10);
    ASSERT_GT(p->Height, 5);
    // Filled inside, framed at the left edge's middle.
    EXPECT_GT(FillInside(*p), p->Width * p->Height / 3) << i;
    EXPECT_EQ(chart.Pixel(p->LeftTop.x, p->LeftTop.y + p->Height / 2), clBlack) << i;
  }
  EXPECT_EQ(line->MarkText(1), "50");
  // The mouse finds the mark under it.
  const TSeriesMarkPosition* middle = marks->Positions().PositionAt(1);
  EXPECT_EQ(marks->MarkAtPixel(middle->LeftTop.x + 2, middle->LeftTop.y + 2), 1);
}

TEST_F(MarksPaintTest, OverlappingMarksAreMovedApart) {
  // The second point lies a little higher: its mark moves up, clear of the first.
  TFastLineSeries* line = chart.AddSeries({{5, 50}, {5.05, 52}}, clBlue);
  line->Marks()->SetVisible(true);
  chart.Paint();
  TSeriesMarksPositions& positions = line->Marks()->Positions();
  ASSERT_EQ(positions.Count(), 2);
  ASSERT_NE(positions.PositionAt(0), nullptr);
  ASSERT_NE(positions.PositionAt(1), nullptr);
  EXPECT_FALSE(Overlap(*positions.PositionAt(0), *positions.PositionAt(1)));
  int x, y;
  line->PointPixel(1, x, y);
  EXPECT_LT(positions.PositionAt(1)->LeftTop.y + positions.PositionAt(1)->Height, y + 1) << "moved up";
  EXPECT_EQ(positions.PositionAt(1)->ArrowFrom.y, y) << "the arrow still starts at the point";
  for (int i = 0; i < 2; ++i) EXPECT_GT(FillInside(*positions.PositionAt(i)), 0) << i;

  // Without AutoPosition the marks stay where they were placed, one over the other.
  line->Marks()->SetAutoPosition(false);
  chart.Paint();
  EXPECT_TRUE(Overlap(*positions.PositionAt(0), *positions.PositionAt(1)));
}

TEST_F(MarksPaintTest, ACalloutLiftsTheMarkAndDrawsItsArrow) {
  TFastLineSeries* line = chart.AddSeries({{5, 50}}, clBlue);
  line->Marks()->SetVisible(true);
  line->Marks()->Callout()->SetLength(20);
  line->Marks()->Arrow()->SetColor(clRed);
  chart.Paint();
  const TSeriesMarkPosition* p = line->Marks()->Positions().PositionAt(0);
  ASSERT_NE(p, nullptr);
  int x, y;
  line->PointPixel(0, x, y);
  EXPECT_EQ(p->LeftTop.y + p->Height, y + 1 - 20);
  // The arrow runs from the point up to the mark in the arrow pen.
  EXPECT_EQ(chart.Pixel(x, y - 10), clRed);
}

TEST_F(MarksPaintTest, NullPointsAndPointsOffTheStepGetNoMark) {
  TFastLineSeries* line = chart.AddSeries({{1, 10}, {2, 20}, {3, 30}, {4, 40}}, clBlue);
  line->SetPointColor(1, clNone);
  line->Marks()->SetVisible(true);
  line->Marks()->SetDrawEvery(2);
  chart.Paint();
  TSeriesMarksPositions& positions = line->Marks()->Positions();
  EXPECT_NE(positions.PositionAt(0), nullptr);
  EXPECT_EQ(positions.PositionAt(1), nullptr);
  EXPECT_NE(positions.PositionAt(2), nullptr);
  EXPECT_EQ(positions.PositionAt(3), nullptr);
}

}  // namespace

namespace {

TEST_F(MarksPaintTest, AZeroOrNegativeDrawEveryPaintsEveryMark) {
  TFastLineSeries* line = chart.AddSeries({{1, 10}, {4, 40}, {7, 70}}, clBlue);
  line->Marks()->SetVisible(true);
  for (int every : {0, -3}) {
    line->Marks()->SetDrawEvery(every);
    line->Marks()->Positions().Clear();
    chart.Paint();
    for (int i = 0; i < 3; ++i) EXPECT_NE(line->Marks()->Positions().PositionAt(i), nullptr) << every << " " << i;
    EXPECT_EQ(line->Marks()->DrawEvery(), every);
  }
}

TEST_F(MarksPaintTest, OnlyThePictureWithUseImagesOnly) {
  TFastLineSeries* line = chart.AddSeries({{5, 50}}, clBlue);
  auto* picture = new TKelPicture;
  picture->Bitmap()->SetPixelFormat(pf32bit);
  picture->Bitmap()->SetSize(4, 4);
  picture->Bitmap()->Canvas()->Brush()->SetColor(clLime);
  picture->Bitmap()->Canvas()->FillRect(TRect(0, 0, 4, 4));
  line->Pictures().PutPicture(0, picture);
  line->Marks()->SetVisible(true);
  line->Marks()->SetUseImages(miOnly);
  chart.Paint();
  const TSeriesMarkPosition* p = line->Marks()->Positions().PositionAt(0);
  ASSERT_NE(p, nullptr);
  const int inside =
      chart.Count(clLime, p->LeftTop.x, p->LeftTop.y, p->LeftTop.x + p->Width - 1, p->LeftTop.y + p->Height - 1);
  EXPECT_GE(inside, 16) << "the picture in the mark's place";
  EXPECT_EQ(chart.Count(clLime, 0, 0, chart.width - 1, chart.height - 1), inside) << "and nowhere else";
  EXPECT_EQ(FillInside(*p), 0) << "no frame or fill";

  line->Marks()->SetUseImages(miNone);
  chart.Paint();
  EXPECT_EQ(chart.Count(clLime, 0, 0, chart.width - 1, chart.height - 1), 0) << "the picture is ignored";
  EXPECT_GT(FillInside(*line->Marks()->Positions().PositionAt(0)), 0);
}

TEST_F(MarksPaintTest, TheLargestMarkSizeGrowsWithTheLongestText) {
  // Measured while the chart paints, as the chart asks for it.
  TFastLineSeries* line = chart.AddSeries({{1, 5}, {2, 50}}, clBlue);
  int largest = -1;
  line->AfterDrawValues = [&](TObject*) { largest = line->LargestMarkSize(); };
  chart.Paint();
  EXPECT_EQ(largest, 0) << "no marks yet";
  line->Marks()->SetVisible(true);
  chart.Paint();
  const int shortText = largest;
  EXPECT_GT(shortText, 0);
  line->AppendXY(3, 12345);
  chart.Paint();
  EXPECT_GT(largest, shortText);
  line->Marks()->Items().ItemOrCreate(2)->SetVisible(false);
  chart.Paint();
  EXPECT_EQ(largest, shortText) << "a hidden item does not count";
}

}  // namespace

namespace {

TEST_F(MarksPaintTest, AVisibleSymbolShowsThePointColourInsideAWiderMark) {
  TFastLineSeries* line = chart.AddSeries({{5, 50}}, clBlue);
  line->Marks()->SetVisible(true);
  chart.Paint();
  const TSeriesMarkPosition plain = *line->Marks()->Positions().PositionAt(0);
  EXPECT_EQ(chart.Count(clBlue, plain.LeftTop.x, plain.LeftTop.y, plain.LeftTop.x + plain.Width - 1,
                        plain.LeftTop.y + plain.Height - 1),
            0);
  line->Marks()->Symbol()->SetVisible(true);
  chart.Paint();
  const TSeriesMarkPosition with = *line->Marks()->Positions().PositionAt(0);
  EXPECT_EQ(with.Width, plain.Width + plain.Height - 4);
  EXPECT_GT(chart.Count(clBlue, with.LeftTop.x, with.LeftTop.y, with.LeftTop.x + with.Width / 2,
                        with.LeftTop.y + with.Height - 1),
            4)
      << "the square in the point's colour at the mark's left";
}

TEST_F(MarksPaintTest, ATailJoinsTheLiftedMarkToItsPoint) {
  TFastLineSeries* line = chart.AddSeries({{5, 50}}, clBlue);
  TSeriesMarks* marks = line->Marks();
  marks->SetVisible(true);
  marks->Callout()->SetLength(20);
  marks->Arrow()->SetVisible(false);
  chart.Paint();
  const TSeriesMarkPosition* p = marks->Positions().PositionAt(0);
  ASSERT_NE(p, nullptr);
  const int x = p->ArrowTo.x, below = p->LeftTop.y + p->Height + 4;
  EXPECT_NE(chart.Pixel(x, below), kMarkFill) << "nothing under the mark without a tail";
  marks->Tail()->SetVisible(true);
  chart.Paint();
  EXPECT_EQ(chart.Pixel(x, below), kMarkFill) << "the tail's inside, under the mark's middle";
  EXPECT_NE(chart.Pixel(x - 8, below), kMarkFill) << "the tail is narrower than the mark";
}

}  // namespace

namespace {

TEST_F(MarksPaintTest, PaintingAnItemDoesNotFreezeItsTextAsCustom) {
  TFastLineSeries* line = chart.AddSeries({{5, 50}}, clBlue);
  line->Marks()->SetVisible(true);
  TMarksItem* item = line->Marks()->Items().ItemOrCreate(0);
  item->SetColor(clAqua);
  chart.Paint();
  EXPECT_FALSE(item->CustomText());
  EXPECT_GT(chart.Count(clAqua, 0, 0, chart.width - 1, chart.height - 1), 0) << "drawn in the item's format";
  line->YValues()->SetValueAt(0, 60);
  EXPECT_EQ(line->MarkText(0), "60") << "the mark follows the value";
}

}  // namespace

// ---- Marks over other series, hover font, per-index elements -------------------------------------

namespace {

// Red pixels inside the mark's box, one pixel in from its frame.
int RedInside(const TestChart& chart, const TSeriesMarkPosition& p) {
  return chart.Count(clRed, p.LeftTop.x + 1, p.LeftTop.y + 1, p.LeftTop.x + p.Width - 2, p.LeftTop.y + p.Height - 2);
}

TEST_F(MarksPaintTest, MarksOnTopStayOverALaterSeriesCrossingThem) {
  // The first series' mark stands above (5, 50); the second series runs straight up through
  // x = 5, so its line crosses the mark's middle when it paints later.
  TFastLineSeries* first = chart.AddSeries({{5, 50}}, clBlue, "First");
  chart.AddSeries({{5, 0}, {5, 100}}, clRed, "Second");
  first->Marks()->SetVisible(true);
  chart.Paint();
  const TSeriesMarkPosition below = *first->Marks()->Positions().PositionAt(0);
  EXPECT_GT(RedInside(chart, below), 3) << "painted with its series, the mark lies under the later line";

  first->Marks()->SetOnTop(true);
  chart.Paint();
  const TSeriesMarkPosition* top = first->Marks()->Positions().PositionAt(0);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(RedInside(chart, *top), 0) << "drawn after every series";
  EXPECT_GT(FillInside(*top), top->Width * top->Height / 3);
  // Still the series' marks element, inside the series element, after the second series.
  const RecordingCanvas& c = *chart.canvas;
  const int marks = c.IndexOf("Marks");
  ASSERT_GE(marks, 0);
  EXPECT_GT(marks, c.IndexOf("Second"));
  EXPECT_EQ(c.IndexOf("First_Top"), -1) << "no element of its own on a canvas that keeps none";

  // Copied with the marks.
  TChartSeries copy(nullptr);
  copy.Marks()->Assign(first->Marks());
  EXPECT_TRUE(copy.Marks()->OnTop());
}

TEST_F(MarksPaintTest, TheHoveredPointsMarkTakesTheHoverFont) {
  TFastLineSeries* line = chart.AddSeries({{2, 20}, {5, 50}, {8, 80}}, clBlue);
  TSeriesMarks* marks = line->Marks();
  marks->SetVisible(true);
  chart.Paint();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(RedInside(chart, *marks->Positions().PositionAt(i)), 0) << i;

  // Hovering needs a selection whose hover look is visible; its font is red.
  EXPECT_FALSE(line->HoverActive());
  line->Selected()->ChangeHoverIndex(1);
  EXPECT_FALSE(line->HoverActive()) << "a fast line's hover look starts hidden";
  line->Selected()->Hover()->SetVisible(true);
  EXPECT_TRUE(line->HoverActive());
  chart.Paint();
  EXPECT_GT(RedInside(chart, *marks->Positions().PositionAt(1)), 5) << "the hovered mark's text is red";
  EXPECT_EQ(RedInside(chart, *marks->Positions().PositionAt(0)), 0);
  EXPECT_EQ(RedInside(chart, *marks->Positions().PositionAt(2)), 0);
  EXPECT_EQ(marks->Font()->Color(), clBlack) << "the marks' font comes back";
  EXPECT_TRUE(marks->Font()->Style().Empty());

  // An item of the hovered point takes the hover font too, and keeps its own afterwards.
  TMarksItem* item = marks->Items().ItemOrCreate(1);
  item->Font()->SetColor(clGreen);
  chart.Paint();
  EXPECT_GT(RedInside(chart, *marks->Positions().PositionAt(1)), 5);
  EXPECT_EQ(item->Font()->Color(), clGreen);

  // A hidden hover look draws the mark as it is.
  line->Selected()->Hover()->SetVisible(false);
  EXPECT_FALSE(line->HoverActive());
  chart.Paint();
  EXPECT_EQ(RedInside(chart, *marks->Positions().PositionAt(1)), 0);
  EXPECT_GT(chart.Count(clGreen, 0, 0, chart.width - 1, chart.height - 1), 5);
}

TEST_F(MarksPaintTest, TheMouseOverAMarkMakesItsPointTheHoveredOne) {
  TFastLineSeries* line = chart.AddSeries({{2, 20}, {8, 80}}, clBlue);
  line->Marks()->SetVisible(true);
  chart.Paint();
  line->Selected()->Hover()->SetVisible(true);
  const TSeriesMarkPosition* p = line->Marks()->Positions().PositionAt(1);
  ASSERT_NE(p, nullptr);
  line->TrackMouse(p->LeftTop.x + 2, p->LeftTop.y + 2);
  EXPECT_EQ(line->Selected()->HoverIndex(), 1);
  line->TrackMouse(2, 2);
  EXPECT_EQ(line->Selected()->HoverIndex(), -1) << "nothing under the mouse";
}

// A chart whose canvas keeps named elements: every point and every mark gets its own.
class GroupingPanel : public TCustomAxisPanel {
 public:
  using TCustomAxisPanel::TCustomAxisPanel;
  bool GroupsPointElements() const override { return true; }
};

TEST(MarksElements, EachMarkIsAnElementNamedByItsIndex) {
  GroupingPanel panel(nullptr);
  panel.SetBounds(0, 0, 400, 250);
  panel.SetView3D(false);
  panel.SetBevelOuter(bvNone);
  auto* canvas = new RecordingCanvas();
  panel.ChangeCanvas(canvas);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(400, 250);
  panel.BottomAxis()->SetMinMax(0, 10);
  panel.LeftAxis()->SetMinMax(0, 100);
  auto* line = new TFastLineSeries(nullptr);
  line->SetName("Line");
  for (auto [x, y] : {std::pair{1.0, 11.0}, {4.0, 44.0}, {7.0, 77.0}}) line->AppendXY(x, y);
  panel.AttachSeries(line);
  line->Marks()->SetVisible(true);
  line->Marks()->SetDrawEvery(2);

  struct Case {
    bool onTop;
    const char* path;
  };
  for (const Case& c : {Case{false, "Series/Line/Marks/"}, Case{true, "Series/Line_Top/Marks/"}}) {
    SCOPED_TRACE(c.path);
    line->Marks()->SetOnTop(c.onTop);
    canvas->Clear();
    panel.DrawToCanvas(bitmap.Canvas(), TRect(0, 0, 400, 250));
    for (auto [index, text] : {std::pair{0, "11"}, {2, "77"}}) {
      const auto texts = canvas->TextsIn(c.path + std::to_string(index));
      ASSERT_EQ(texts.size(), 1u) << index;
      EXPECT_EQ(texts[0].text, text);
    }
    EXPECT_TRUE(canvas->TextsIn(std::string(c.path) + "1").empty()) << "off the draw-every step";
    EXPECT_EQ(canvas->IndexOf("Line_Top") >= 0, c.onTop);
    EXPECT_TRUE(canvas->open.empty()) << "every element is closed";
  }
}

// ---- Emboss and gradient defaults in layouts ------------------------------------------------------

TEST(MarksLayout, EmbossAndGradientDefaultsAreNotWrittenAndChangesReadBack) {
  FakeSeriesChart chart;
  auto* line = AddNamedLine(chart, 0);
  TSeriesMarks* marks = line->Marks();
  TKelEmboss* emboss = marks->Emboss();
  EXPECT_FALSE(emboss->Visible());
  EXPECT_EQ(emboss->Color(), static_cast<TColor>(0x808080));
  EXPECT_EQ(emboss->HorizSize(), 3);
  EXPECT_EQ(emboss->VertSize(), 3);
  TKelGradient* gradient = marks->Gradient();
  EXPECT_FALSE(gradient->Visible());
  EXPECT_EQ(gradient->Direction(), KelCanvas::gdRightLeft);
  EXPECT_EQ(gradient->StartColor(), static_cast<TColor>(0xC0C0C0));
  EXPECT_EQ(gradient->EndColor(), clWhite);
  gradient->Colors();  // stops made on first read still hold the defaults
  EXPECT_EQ(gradient->StartColor(), static_cast<TColor>(0xC0C0C0));
  EXPECT_EQ(marks->Shadow()->Color(), static_cast<TColor>(0x808080));

  marks->SetStyle(smsValue);  // something is written for the marks
  {
    TMemoryStream out;
    out.WriteComponent(&chart);
    const std::string bytes(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
    ASSERT_NE(bytes.find("Marks.Style"), std::string::npos);
    EXPECT_EQ(bytes.find("Marks.Emboss"), std::string::npos);
    EXPECT_EQ(bytes.find("Marks.Gradient"), std::string::npos);
    EXPECT_EQ(bytes.find("Marks.Shadow"), std::string::npos);
  }

  emboss->SetVisible(true);
  emboss->SetColor(clNavy);
  emboss->SetHorizSize(5);
  gradient->SetVisible(true);
  gradient->SetDirection(KelCanvas::gdTopBottom);
  gradient->SetStartColor(clRed);
  gradient->SetEndColor(clYellow);
  marks->Shadow()->SetColor(clGreen);
  const auto copy = RoundTrip(chart);
  auto* read = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Line"));
  ASSERT_NE(read, nullptr);
  TSeriesMarks* back = read->Marks();
  ASSERT_TRUE(back->HasEmboss());
  EXPECT_TRUE(back->Emboss()->Visible());
  EXPECT_EQ(back->Emboss()->Color(), clNavy);
  EXPECT_EQ(back->Emboss()->HorizSize(), 5);
  EXPECT_EQ(back->Emboss()->VertSize(), 3) << "an unchanged size keeps the marks' default";
  EXPECT_TRUE(back->Gradient()->Visible());
  EXPECT_EQ(back->Gradient()->Direction(), KelCanvas::gdTopBottom);
  EXPECT_EQ(back->Gradient()->StartColor(), clRed);
  EXPECT_EQ(back->Gradient()->EndColor(), clYellow);
  EXPECT_EQ(back->Shadow()->Color(), clGreen);
}

TEST(MarksLayout, FontsFramesShadowsAndEmbossOfMarksItemsCalloutAndSymbolReadBack) {
  FakeSeriesChart chart;
  auto* line = AddNamedLine(chart, 2);
  TSeriesMarks* marks = line->Marks();
  marks->Font()->SetColor(clMaroon);
  marks->Font()->SetStyle(TFontStyles{fsBold});
  marks->Pen()->SetColor(clTeal);
  marks->Items().ItemOrCreate(1)->Font()->SetColor(clPurple);
  marks->Callout()->Shadow()->SetVisible(true);
  marks->Callout()->Emboss()->SetVisible(true);
  marks->Symbol()->Pen()->SetWidth(2);
  marks->Symbol()->Shadow()->SetColor(clOlive);
  const auto copy = RoundTrip(chart);
  auto* read = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Line"));
  ASSERT_NE(read, nullptr);
  TSeriesMarks* back = read->Marks();
  EXPECT_EQ(back->Font()->Color(), clMaroon);
  EXPECT_TRUE(back->Font()->Style().Contains(fsBold));
  EXPECT_EQ(back->Pen()->Color(), clTeal);
  ASSERT_NE(back->Items().ItemAt(1), nullptr);
  EXPECT_EQ(back->Items().ItemAt(1)->Font()->Color(), clPurple);
  ASSERT_TRUE(back->HasMarksCallout());
  EXPECT_TRUE(back->Callout()->Shadow()->Visible());
  EXPECT_TRUE(back->Callout()->HasEmboss());
  EXPECT_TRUE(back->Callout()->Emboss()->Visible());
  ASSERT_TRUE(back->HasSymbol());
  EXPECT_EQ(back->Symbol()->Pen()->Width(), 2);
  EXPECT_EQ(back->Symbol()->Shadow()->Color(), clOlive);
  EXPECT_EQ(back->Symbol()->Shadow()->HorizSize(), 1) << "the square's shadow default";
}

TEST(MarksLayout, CopiedMarksKeepTheEmbossDefaults) {
  TChartSeries a(nullptr), b(nullptr);
  a.Marks()->Emboss()->SetVisible(true);
  b.Marks()->Assign(a.Marks());
  ASSERT_TRUE(b.Marks()->HasEmboss());
  EXPECT_TRUE(b.Marks()->Emboss()->Visible());
  EXPECT_EQ(b.Marks()->Emboss()->Color(), static_cast<TColor>(0x808080));
  EXPECT_FALSE(b.Marks()->Emboss()->IsColorStored()) << "still the default colour";
  EXPECT_FALSE(b.Marks()->Emboss()->IsHorizSizeStored());
  // The colour square's emboss is one pixel deep by default.
  EXPECT_EQ(b.Marks()->Symbol()->Emboss()->HorizSize(), 1);
  EXPECT_FALSE(b.Marks()->Symbol()->Emboss()->IsHorizSizeStored());
}

TEST(MarkOverlap, AVisibleEmbossWidensTheMarksBounds) {
  TChartSeries s(nullptr);
  TSeriesMarks* marks = s.Marks();
  marks->Shadow()->SetVisible(false);
  marks->Pen()->SetVisible(false);
  const TSeriesMarkPosition p = PositionOf(100, 50, 40, 20);
  EXPECT_EQ(marks->MarkBounds(0, p), TRect(100, 50, 140, 70));
  struct Case {
    int h, v;
    TRect bounds;
  };
  for (const Case& c : {Case{3, 3, TRect(97, 47, 140, 70)}, Case{-4, -2, TRect(100, 50, 144, 72)},
                        Case{2, -5, TRect(98, 50, 140, 75)}}) {
    marks->Emboss()->SetVisible(true);
    marks->Emboss()->SetHorizSize(c.h);
    marks->Emboss()->SetVertSize(c.v);
    EXPECT_EQ(marks->MarkBounds(0, p), c.bounds) << c.h << "," << c.v;
  }
  marks->Emboss()->SetVisible(false);
  EXPECT_EQ(marks->MarkBounds(0, p), TRect(100, 50, 140, 70)) << "a hidden emboss takes no room";
}

}  // namespace

namespace {

// ---- Brush, picture, children, per-point item parts and the callout's picture in layouts ----------

void SolidPicture(TPicture* picture, TColor color, int w, int h) {
  picture->Bitmap()->SetPixelFormat(pf32bit);
  picture->Bitmap()->SetSize(w, h);
  picture->Bitmap()->Canvas()->Brush()->SetColor(color);
  picture->Bitmap()->Canvas()->FillRect(TRect(0, 0, w, h));
}

struct LayoutCase {
  const char* what;
  const char* entry;  // a name the changed layout holds and the default one does not
  std::function<void(TSeriesMarks*)> change;
  std::function<void(TSeriesMarks*)> check;
};

TEST(MarksLayout, ChangedPartsOfMarksItemsAndCalloutReadBackAndDefaultsAreNotWritten) {
  const std::vector<LayoutCase> cases = {
      {"marks brush", "Marks.Brush.Style",
       [](TSeriesMarks* m) {
         m->Brush()->SetStyle(bsDiagCross);
         m->Brush()->SetColor(clRed);
       },
       [](TSeriesMarks* m) {
         EXPECT_EQ(m->Brush()->Style(), bsDiagCross);
         EXPECT_EQ(m->Brush()->Color(), clRed);
       }},
      {"marks picture", "Marks.Picture", [](TSeriesMarks* m) { SolidPicture(m->Picture(), clLime, 5, 3); },
       [](TSeriesMarks* m) {
         ASSERT_TRUE(m->HasPicture());
         ASSERT_TRUE(m->Picture()->HasGraphic());
         EXPECT_EQ(m->Picture()->Bitmap()->Width(), 5);
         EXPECT_EQ(m->Picture()->Bitmap()->Height(), 3);
       }},
      {"marks child layout", "Marks.ChildLayout", [](TSeriesMarks* m) { m->SetChildLayout(slLeftRight); },
       [](TSeriesMarks* m) { EXPECT_EQ(m->ChildLayout(), slLeftRight); }},
      {"marks children", "Marks.Children",
       [](TSeriesMarks* m) {
         auto* child = dynamic_cast<TSeriesMarkShape*>(m->Children()->AddShape());
         ASSERT_NE(child, nullptr) << "children of marks are mark shapes";
         child->Brush()->SetColor(clYellow);
         child->Font()->SetColor(clMaroon);
         child->SetStyle(smsPercent);
         m->Children()->AddShape();
       },
       [](TSeriesMarks* m) {
         ASSERT_EQ(m->Children()->Count(), 2);
         auto* child = dynamic_cast<TSeriesMarkShape*>(m->Children()->Item(0).Shape());
         ASSERT_NE(child, nullptr);
         EXPECT_EQ(child->Brush()->Color(), clYellow);
         EXPECT_EQ(child->Font()->Color(), clMaroon);
         EXPECT_EQ(child->Style(), smsPercent);
         EXPECT_TRUE(child->Transparent()) << "a new child starts transparent";
       }},
      {"marks automatic move", "Marks.AutoPosition", [](TSeriesMarks* m) { m->SetAutoPosition(false); },
       [](TSeriesMarks* m) {
         EXPECT_FALSE(m->AutoPosition());
         EXPECT_FALSE(m->AutomaticText()->Move());
         EXPECT_TRUE(m->AutomaticText()->Wrap()) << "the other flags keep their defaults";
       }},
      {"item emboss", "Emboss.Color",
       [](TSeriesMarks* m) {
         TKelEmboss* e = m->Items().ItemOrCreate(1)->Emboss();
         e->SetVisible(true);
         e->SetColor(clNavy);
         e->SetHorizSize(6);
       },
       [](TSeriesMarks* m) {
         TMarksItem* item = m->Items().ItemAt(1);
         ASSERT_NE(item, nullptr);
         ASSERT_TRUE(item->HasEmboss());
         EXPECT_TRUE(item->Emboss()->Visible());
         EXPECT_EQ(item->Emboss()->Color(), clNavy);
         EXPECT_EQ(item->Emboss()->HorizSize(), 6);
         EXPECT_FALSE(m->Items().ItemAt(0)->HasEmboss()) << "the untouched item has none";
       }},
      {"item gradient", "Gradient.Visible",
       [](TSeriesMarks* m) {
         TKelGradient* g = m->Items().ItemOrCreate(1)->Gradient();
         g->SetVisible(true);
         g->SetDirection(KelCanvas::gdTopBottom);
         g->SetStartColor(clFuchsia);
       },
       [](TSeriesMarks* m) {
         ASSERT_NE(m->Items().ItemAt(1), nullptr);
         TKelGradient* g = m->Items().ItemAt(1)->Gradient();
         EXPECT_TRUE(g->Visible());
         EXPECT_EQ(g->Direction(), KelCanvas::gdTopBottom);
         EXPECT_EQ(g->StartColor(), clFuchsia);
         EXPECT_FALSE(m->Items().ItemAt(0)->Gradient()->Visible());
       }},
      {"item picture", "Picture.Data", [](TSeriesMarks* m) { SolidPicture(m->Items().ItemOrCreate(1)->Picture(), clAqua, 2, 7); },
       [](TSeriesMarks* m) {
         ASSERT_NE(m->Items().ItemAt(1), nullptr);
         ASSERT_TRUE(m->Items().ItemAt(1)->HasPicture());
         EXPECT_EQ(m->Items().ItemAt(1)->Picture()->Bitmap()->Height(), 7);
         EXPECT_FALSE(m->Items().ItemAt(0)->HasPicture());
       }},
      {"item shadow", "Shadow.HorizSize",
       [](TSeriesMarks* m) {
         TKelShadow* s = m->Items().ItemOrCreate(1)->Shadow();
         s->SetColor(clBlack);  // a bare shape's default, not the marks' grey
         s->SetHorizSize(9);
       },
       [](TSeriesMarks* m) {
         ASSERT_NE(m->Items().ItemAt(1), nullptr);
         EXPECT_EQ(m->Items().ItemAt(1)->Shadow()->Color(), clBlack);
         EXPECT_EQ(m->Items().ItemAt(0)->Shadow()->Color(), static_cast<TColor>(0x808080));
         EXPECT_EQ(m->Items().ItemAt(1)->Shadow()->HorizSize(), 9);
       }},
      {"item pointer outline", "ShapeCallout",
       [](TSeriesMarks* m) {
         TShapeCallout* c = m->Items().ItemOrCreate(1)->ShapeCallout();
         c->SetSide(csLeft);
         c->SetSize(40);
       },
       [](TSeriesMarks* m) {
         ASSERT_NE(m->Items().ItemAt(1), nullptr);
         ASSERT_TRUE(m->Items().ItemAt(1)->HasCallout());
         EXPECT_EQ(m->Items().ItemAt(1)->ShapeCallout()->Side(), csLeft);
         EXPECT_EQ(m->Items().ItemAt(1)->ShapeCallout()->Size(), 40);
         EXPECT_FALSE(m->Items().ItemAt(0)->HasCallout());
       }},
      {"item children", "ChildLayout",
       [](TSeriesMarks* m) {
         TMarksItem* item = m->Items().ItemOrCreate(1);
         item->SetChildLayout(slLeftRight);
         auto* child = dynamic_cast<TCustomTextShape*>(item->Children()->AddShape());
         ASSERT_NE(child, nullptr);
         child->SetText("Extra");
       },
       [](TSeriesMarks* m) {
         TMarksItem* item = m->Items().ItemAt(1);
         ASSERT_NE(item, nullptr);
         EXPECT_EQ(item->ChildLayout(), slLeftRight);
         ASSERT_EQ(item->Children()->Count(), 1);
         auto* child = dynamic_cast<TCustomTextShape*>(item->Children()->Item(0).Shape());
         ASSERT_NE(child, nullptr);
         EXPECT_EQ(child->Text(), "Extra");
       }},
      {"callout picture", "Marks.Callout.Picture", [](TSeriesMarks* m) { SolidPicture(m->Callout()->Picture(), clRed, 3, 3); },
       [](TSeriesMarks* m) {
         ASSERT_TRUE(m->HasMarksCallout());
         ASSERT_TRUE(m->Callout()->HasPicture());
         EXPECT_EQ(m->Callout()->Picture()->Bitmap()->Width(), 3);
       }},
      {"callout gradient", "Marks.Callout.Brush.Gradient",
       [](TSeriesMarks* m) {
         m->Callout()->Gradient()->SetVisible(true);
         m->Callout()->Gradient()->SetEndColor(clGreen);
       },
       [](TSeriesMarks* m) {
         ASSERT_TRUE(m->HasMarksCallout());
         EXPECT_TRUE(m->Callout()->Gradient()->Visible());
         EXPECT_EQ(m->Callout()->Gradient()->EndColor(), clGreen);
         EXPECT_TRUE(m->Callout()->Brush()->Gradient()->Visible()) << "the brush's own gradient";
       }},
  };
  const auto bytesOf = [](FakeSeriesChart& chart) {
    TMemoryStream out;
    out.WriteComponent(&chart);
    return std::string(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeSeriesChart chart;
    auto* line = AddNamedLine(chart, 2);
    TSeriesMarks* marks = line->Marks();
    marks->Items().ItemOrCreate(0);
    marks->Items().ItemOrCreate(1);
    marks->Callout()->Arrow()->SetColor(clMaroon);  // the callout is written in every case
    EXPECT_EQ(bytesOf(chart).find(c.entry), std::string::npos) << "the default is not written";
    c.change(marks);
    EXPECT_NE(bytesOf(chart).find(c.entry), std::string::npos) << "the change is written";
    const auto copy = RoundTrip(chart);
    auto* read = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Line"));
    ASSERT_NE(read, nullptr);
    c.check(read->Marks());
  }
}

}  // namespace

namespace {

// ---- The automatic text, per-point texts and the point-colour font, by pixels -------------------

int ColorIn(const TestChart& chart, TColor color, const TSeriesMarkPosition& p) {
  return chart.Count(color, p.LeftTop.x + 1, p.LeftTop.y + 1, p.LeftTop.x + p.Width - 2, p.LeftTop.y + p.Height - 2);
}

TEST_F(MarksPaintTest, TheAutomaticTextsMoveFlagDecidesWhetherACoveredMarkMoves) {
  // Two points on the same row, two pixels apart: their marks cover each other where placed.
  struct Case {
    bool move;
    bool moved;  // mark fill off the first mark's rows: the second moved clear of it
  };
  for (const Case c : {Case{true, true}, Case{false, false}}) {
    SCOPED_TRACE(c.move);
    TestChart chart;
    chart.panel.BottomAxis()->SetMinMax(0, 10);
    chart.panel.LeftAxis()->SetMinMax(0, 100);
    TFastLineSeries* line = chart.AddSeries({{5, 50}, {5.05, 50}}, clBlue);
    TSeriesMarks* marks = line->Marks();
    marks->SetVisible(true);
    marks->AutomaticText()->SetMove(c.move);
    EXPECT_EQ(marks->AutoPosition(), c.move);
    chart.Paint();
    const TSeriesMarkPosition* first = marks->Positions().PositionAt(0);
    ASSERT_NE(first, nullptr);
    ASSERT_GT(first->LeftTop.y, 20);
    const int all = chart.Count(kMarkFill, 0, 0, chart.width - 1, chart.height - 1);
    const int onRows = chart.Count(kMarkFill, 0, first->LeftTop.y - 1, chart.width - 1,
                                   first->LeftTop.y + first->Height + 1);
    if (c.moved)
      EXPECT_GT(all - onRows, first->Width * 3) << "the second mark stands clear of the first";
    else
      EXPECT_EQ(all - onRows, 0) << "the second mark stays on the first one's rows";
    EXPECT_GT(chart.Count(kMarkFill, first->LeftTop.x, first->LeftTop.y, first->LeftTop.x + first->Width - 1,
                          first->LeftTop.y + first->Height - 1),
              0);
  }
}

TEST(MarksAutomaticText, AFlagChangeRepaintsAndCopiesCarryEveryFlag) {
  TChartSeries a(nullptr), b(nullptr);
  TAutomaticText* text = a.Marks()->AutomaticText();
  for (bool flag : {text->Hide(), text->Move(), text->Resize(), text->Rotate(), text->Trim(), text->Wrap()})
    EXPECT_TRUE(flag);
  a.Marks()->SetAutoPosition(false);
  EXPECT_FALSE(text->Move());
  text->SetWrap(false);
  b.Marks()->Assign(a.Marks());
  EXPECT_FALSE(b.Marks()->AutoPosition());
  EXPECT_FALSE(b.Marks()->AutomaticText()->Wrap());
  EXPECT_TRUE(b.Marks()->AutomaticText()->Trim());

  // The marks' repaint reaches their panel when a flag changes.
  struct CountingPanel : IShapePanel {
    TCanvas3D* ShapeCanvas() override { return nullptr; }
    void AssignShapeFont(TKelFont*) override {}
    void ShapeTextExtent(const std::string&, bool, int& w, int& h) override { w = h = 0; }
    void ShapeChanged() override { ++changes; }
    int changes = 0;
  } panel;
  a.Marks()->AttachPanel(&panel);
  a.Marks()->SetAutoPosition(false);
  EXPECT_EQ(panel.changes, 0) << "no change, no repaint";
  a.Marks()->SetAutoPosition(true);
  EXPECT_EQ(panel.changes, 1);
  text->SetHide(false);
  EXPECT_EQ(panel.changes, 2);
  a.Marks()->AttachPanel(nullptr);
}

TEST_F(MarksPaintTest, APointsOwnTextReplacesItsMarkAndNilBringsTheValueBack) {
  TFastLineSeries* line = chart.AddSeries({{2, 20}, {8, 80}}, clBlue);
  TSeriesMarks* marks = line->Marks();
  marks->SetVisible(true);
  TMarksItem* item = marks->Items().ItemOrCreate(1);
  item->Font()->SetColor(clRed);
  chart.Paint();
  const TSeriesMarkPosition plain = *marks->Positions().PositionAt(1);
  const int oneLine = ColorIn(chart, clRed, plain);
  EXPECT_GT(oneLine, 5) << "the value in the item's font";

  TStrings* lines = item->TextLines();
  lines->Add("Peak of the day");
  lines->Add("Peak of the day");
  EXPECT_TRUE(item->CustomText());
  chart.Paint();
  const TSeriesMarkPosition own = *marks->Positions().PositionAt(1);
  EXPECT_GT(own.Width, plain.Width + 20) << "sized to the longer text";
  EXPECT_GT(own.Height, plain.Height + 5) << "two lines";
  // Both lines are drawn: red in the upper and in the lower half of the mark.
  const int mid = own.LeftTop.y + own.Height / 2;
  EXPECT_GT(chart.Count(clRed, own.LeftTop.x + 1, own.LeftTop.y + 1, own.LeftTop.x + own.Width - 2, mid - 1), 10);
  EXPECT_GT(chart.Count(clRed, own.LeftTop.x + 1, mid, own.LeftTop.x + own.Width - 2, own.LeftTop.y + own.Height - 2), 10);
  EXPECT_EQ(ColorIn(chart, clRed, *marks->Positions().PositionAt(0)), 0) << "the other point keeps its mark";
  EXPECT_EQ(line->MarkText(0), "20");

  item->SetTextLines(nullptr);
  EXPECT_FALSE(item->CustomText());
  chart.Paint();
  const TSeriesMarkPosition back = *marks->Positions().PositionAt(1);
  EXPECT_EQ(back.Width, plain.Width);
  EXPECT_EQ(back.Height, plain.Height);
  EXPECT_EQ(ColorIn(chart, clRed, back), oneLine) << "the value again";
}

TEST_F(MarksPaintTest, ThePointColourFontWritesEachMarkInItsPointsColour) {
  TFastLineSeries* line = chart.AddSeries({{2, 20}, {8, 80}}, clBlue);
  line->SetPointColor(1, clRed);
  TSeriesMarks* marks = line->Marks();
  marks->SetVisible(true);
  chart.Paint();
  EXPECT_EQ(ColorIn(chart, clRed, *marks->Positions().PositionAt(1)), 0) << "off: the font's own colour";
  const int black = ColorIn(chart, clBlack, *marks->Positions().PositionAt(1));
  EXPECT_GT(black, 5);

  marks->PointColorFont = true;
  chart.Paint();
  EXPECT_GT(ColorIn(chart, clRed, *marks->Positions().PositionAt(1)), 5) << "the text in the point's red";
  EXPECT_LT(ColorIn(chart, clBlack, *marks->Positions().PositionAt(1)), black - 5) << "only the frame stays black";
  EXPECT_GT(ColorIn(chart, clBlue, *marks->Positions().PositionAt(0)), 5) << "the other point's blue";
  EXPECT_EQ(marks->Font()->Color(), clBlack) << "the font comes back";
}

}  // namespace

namespace {

// ---- Published properties ----------------------------------------------------------------------

TEST(MarksProperties, EachClassPublishesExactlyItsList) {
  const std::vector<std::string> markShape = {
      "Bevel",    "BevelWidth", "Brush",   "ChildLayout", "Children",     "ClipText",      "Cursor",     "Emboss",
      "Font",     "Frame",      "Gradient", "Margins",    "Picture",      "RoundSize",     "Shadow",     "ShapeStyle",
      "Style",    "TextAlignment", "TextFormat", "Transparency", "Transparent", "VertTextAlign", "Visible"};
  std::vector<std::string> marks = markShape;
  marks.insert(marks.end(), {"Angle", "Arrow", "ArrowLength", "AutoPosition", "BackColor", "Callout", "Clip", "Color",
                             "DrawEvery", "MultiLine", "SoftClip", "Symbol", "Tail", "TextAlign", "UseImages",
                             "UseSeriesTransparency"});
  const std::vector<std::string> item = {"Bevel",   "BevelWidth", "ChildLayout", "Children",     "Color",
                                         "Emboss",  "Font",       "Gradient",    "Picture",      "Shadow",
                                         "ShapeCallout", "ShapeStyle", "Text",   "Transparency", "Transparent"};
  const std::vector<std::string> symbol = {"Bevel",   "BevelWidth",   "Brush",      "ChildLayout",  "Children",
                                           "Emboss",  "Frame",        "Pen",        "Gradient",     "Picture",
                                           "Shadow",  "ShapeCallout", "ShapeStyle", "Transparency", "Visible"};
  const std::vector<std::string> tail = {"AutoAlign", "Height", "Align", "Margin", "Visible", "Width"};
  TChartSeries series(nullptr);
  TSeriesMarks* m = series.Marks();
  TSeriesMarkShape child(nullptr, m);
  const struct {
    const char* what;
    TPersistent* object;
    const std::vector<std::string>& names;
  } cases[] = {{"marks", m, marks},
               {"mark shape", &child, markShape},
               {"child of marks", m->Children()->AddShape(), markShape},
               {"item", m->Items().ItemOrCreate(0), item},
               {"symbol", m->Symbol(), symbol},
               {"tail", m->Tail(), tail}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> published, expected = c.names;
    for (const TPropInfo* p : c.object->ClassType().Properties()) published.push_back(p->name);
    std::sort(published.begin(), published.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(published, expected);
  }
  // A name the class does not publish is refused.
  try {
    GetOrdProp(*m, "ShapeCallout");
    ADD_FAILURE() << "marks publish no shape callout";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.Message()), "Property ShapeCallout does not exist");
  }
}

void ReadTextInto(const std::string& text, TComponent& into) {
  RegisterClass(FakeSeriesChart::StaticClass());
  RegisterClass(TFastLineSeries::StaticClass());
  ReadLayoutInto(text, into);
}

struct MarksRow {
  const char* path;
  std::function<void(TSeriesMarks&)> set;
};

// One row per stored property of the marks, their symbol, tail and callout.
std::vector<MarksRow> MarksRows() {
  const TColor odd = static_cast<TColor>(0x12AB34);
  return {
      {"Marks.Angle", [](TSeriesMarks& m) { m.SetAngle(90); }},
      {"Marks.Arrow.Color", [=](TSeriesMarks& m) { m.Arrow()->SetColor(odd); }},
      {"Marks.AutoPosition", [](TSeriesMarks& m) { m.SetAutoPosition(false); }},
      {"Marks.Callout.Distance", [](TSeriesMarks& m) { m.Callout()->SetDistance(4); }},
      {"Marks.Callout.Length", [](TSeriesMarks& m) { m.Callout()->SetLength(12); }},
      {"Marks.Callout.Visible", [](TSeriesMarks& m) { m.Callout()->SetVisible(true); }},
      {"Marks.Callout.Style", [](TSeriesMarks& m) { m.Callout()->SetStyle(psCircle); }},
      {"Marks.Clip", [](TSeriesMarks& m) { m.SetClip(true); }},
      {"Marks.Color ", [](TSeriesMarks& m) { m.SetColor(clYellow); }},
      {"Marks.DrawEvery", [](TSeriesMarks& m) { m.SetDrawEvery(3); }},
      {"Marks.MultiLine", [](TSeriesMarks& m) { m.SetMultiLine(true); }},
      {"Marks.RoundSize", [](TSeriesMarks& m) { m.SetRoundSize(7); }},
      {"Marks.SoftClip", [](TSeriesMarks& m) { m.SetSoftClip(true); }},
      {"Marks.UseImages", [](TSeriesMarks& m) { m.SetUseImages(miNone); }},
      {"Marks.UseSeriesTransparency", [](TSeriesMarks& m) { m.SetUseSeriesTransparency(false); }},
      {"Marks.Bevel ", [](TSeriesMarks& m) { m.SetBevel(bvRaised); }},
      {"Marks.BevelWidth", [](TSeriesMarks& m) { m.SetBevelWidth(4); }},
      {"Marks.Brush.Style", [](TSeriesMarks& m) { m.Brush()->SetStyle(bsCross); }},
      {"Marks.ChildLayout", [](TSeriesMarks& m) { m.SetChildLayout(slLeftRight); }},
      {"Marks.Children", [](TSeriesMarks& m) { m.Children()->AddShape(); }},
      {"Marks.ClipText", [](TSeriesMarks& m) { m.SetClipText(false); }},
      {"Marks.Cursor", [](TSeriesMarks& m) { m.SetCursor(crHandPoint); }},
      {"Marks.Emboss.Visible", [](TSeriesMarks& m) { m.Emboss()->SetVisible(true); }},
      {"Marks.Font.Color", [=](TSeriesMarks& m) { m.Font()->SetColor(odd); }},
      {"Marks.Frame.Color", [=](TSeriesMarks& m) { m.Pen()->SetColor(odd); }},
      {"Marks.Brush.Gradient.Visible", [](TSeriesMarks& m) { m.Gradient()->SetVisible(true); }},
      {"Marks.Margins.Left", [](TSeriesMarks& m) { m.Margins()->SetLeft(3); }},
      {"Marks.Picture.Mode", [](TSeriesMarks& m) { m.Picture()->SetMode(pbmTile); }},
      {"Marks.Shadow.Color", [=](TSeriesMarks& m) { m.Shadow()->SetColor(odd); }},
      {"Marks.ShapeStyle", [](TSeriesMarks& m) { m.SetShapeStyle(fosEllipse); }},
      {"Marks.Style", [](TSeriesMarks& m) { m.SetStyle(smsValue); }},
      {"Marks.TextAlignment", [](TSeriesMarks& m) { m.SetTextAlignment(taLeftJustify); }},
      {"Marks.TextFormat", [](TSeriesMarks& m) { m.SetTextFormat(ttfHtml); }},
      {"Marks.Transparency", [](TSeriesMarks& m) { m.SetTransparency(40); }},
      {"Marks.Transparent", [](TSeriesMarks& m) { m.SetTransparent(true); }},
      {"Marks.VertTextAlign", [](TSeriesMarks& m) { m.SetVertTextAlign(vtaTop); }},
      {"Marks.Visible", [](TSeriesMarks& m) { m.SetVisible(true); }},
      {"Marks.Symbol.Bevel ", [](TSeriesMarks& m) { m.Symbol()->SetBevel(bvLowered); }},
      {"Marks.Symbol.BevelWidth", [](TSeriesMarks& m) { m.Symbol()->SetBevelWidth(3); }},
      {"Marks.Symbol.Brush.Color", [](TSeriesMarks& m) { m.Symbol()->Brush()->SetColor(clRed); }},
      {"Marks.Symbol.ChildLayout", [](TSeriesMarks& m) { m.Symbol()->SetChildLayout(slLeftRight); }},
      {"Marks.Symbol.Children", [](TSeriesMarks& m) { m.Symbol()->Children()->AddShape(); }},
      {"Marks.Symbol.Emboss.Visible", [](TSeriesMarks& m) { m.Symbol()->Emboss()->SetVisible(true); }},
      {"Marks.Symbol.Frame.Width", [](TSeriesMarks& m) { m.Symbol()->Pen()->SetWidth(2); }},
      {"Marks.Symbol.Brush.Gradient.Visible", [](TSeriesMarks& m) { m.Symbol()->Gradient()->SetVisible(true); }},
      {"Marks.Symbol.Picture.Mode", [](TSeriesMarks& m) { m.Symbol()->Picture()->SetMode(pbmCenter); }},
      {"Marks.Symbol.Shadow.Color", [](TSeriesMarks& m) { m.Symbol()->Shadow()->SetColor(clGreen); }},
      {"Marks.Symbol.ShapeCallout.Side", [](TSeriesMarks& m) { m.Symbol()->ShapeCallout()->SetSide(csLeft); }},
      {"Marks.Symbol.ShapeStyle", [](TSeriesMarks& m) { m.Symbol()->SetShapeStyle(fosEllipse); }},
      {"Marks.Symbol.Transparency", [](TSeriesMarks& m) { m.Symbol()->SetTransparency(20); }},
      {"Marks.Symbol.Visible", [](TSeriesMarks& m) { m.Symbol()->SetVisible(true); }},
      {"Marks.Tail.Align", [](TSeriesMarks& m) { m.Tail()->SetAlign(ttaFar); }},
      {"Marks.Tail.AutoAlign", [](TSeriesMarks& m) { m.Tail()->SetAutoAlign(false); }},
      {"Marks.Tail.Height", [](TSeriesMarks& m) { m.Tail()->SetHeight(5); }},
      {"Marks.Tail.Margin", [](TSeriesMarks& m) { m.Tail()->SetMargin(2); }},
      {"Marks.Tail.Visible", [](TSeriesMarks& m) { m.Tail()->SetVisible(true); }},
      {"Marks.Tail.Width", [](TSeriesMarks& m) { m.Tail()->SetWidth(12); }},
  };
}

TEST(MarksProperties, RoundTripTable) {
  const std::vector<MarksRow> rows = MarksRows();
  // Fresh marks whose parts made on first read exist, all at their defaults: nothing written.
  FakeSeriesChart fresh;
  TSeriesMarks* freshMarks = AddNamedLine(fresh, 0)->Marks();
  freshMarks->Callout();
  freshMarks->Symbol()->Emboss();
  freshMarks->Tail();
  freshMarks->Emboss();
  const std::string defaults = LayoutText(fresh);
  EXPECT_EQ(LinesStartingWith(defaults, "Marks"), "") << defaults;

  FakeSeriesChart source;
  TSeriesMarks* marks = AddNamedLine(source, 0)->Marks();
  for (const MarksRow& row : rows) row.set(*marks);
  const std::string text = LayoutText(source);
  for (const MarksRow& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_NE(LinesStartingWith(text, row.path), "") << text;
  }
  for (const char* notWritten : {"Marks.BackColor", "Marks.TextAlign ", "Marks.ArrowLength", "Marks.Symbol.Pen"}) {
    SCOPED_TRACE(notWritten);
    EXPECT_EQ(LinesStartingWith(text, notWritten), "") << "said once, under its other name";
  }

  // Read into a fresh chart, write again: the same text.
  FakeSeriesChart read;
  ReadTextInto(text, read);
  EXPECT_EQ(LayoutText(read), text);
  auto* back = dynamic_cast<TFastLineSeries*>(read.FindComponent("Line"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Marks()->Callout()->Length(), 12);
  EXPECT_EQ(back->Marks()->Tail()->Align(), ttaFar);
  EXPECT_TRUE(back->Marks()->Symbol()->Visible());
  EXPECT_FALSE(back->Marks()->AutoPosition());

  // Assign gives the same text.
  FakeSeriesChart copy;
  AddNamedLine(copy, 0)->Marks()->Assign(marks);
  EXPECT_EQ(LayoutText(copy), text);
}

TEST(MarksProperties, TheOtherNamesOfColourAlignmentAndArrowLengthAreReadToo) {
  FakeSeriesChart chart;
  chart.SetName("Chart1");
  ReadTextInto(
      "object Chart1: FakeSeriesChart\n"
      "  object Line: TFastLineSeries\n"
      "    Marks.BackColor = clRed\n"
      "    Marks.TextAlign = taRightJustify\n"
      "    Marks.ArrowLength = 14\n"
      "  end\n"
      "end\n",
      chart);
  auto* line = dynamic_cast<TFastLineSeries*>(chart.FindComponent("Line"));
  ASSERT_NE(line, nullptr);
  TSeriesMarks* m = line->Marks();
  EXPECT_EQ(m->Color(), clRed);
  EXPECT_EQ(m->TextAlignment(), taRightJustify);
  ASSERT_TRUE(m->HasMarksCallout()) << "writing ArrowLength makes the callout";
  EXPECT_EQ(m->Callout()->Length(), 14);
  const std::string text = LayoutText(chart);
  EXPECT_NE(LinesStartingWith(text, "Marks.Color = clRed"), "") << text;
  EXPECT_NE(LinesStartingWith(text, "Marks.TextAlignment = taRightJustify"), "") << text;
  EXPECT_NE(LinesStartingWith(text, "Marks.Callout.Length = 14"), "") << text;
}

struct ItemRow {
  const char* what;
  std::function<void(TMarksItem&)> set;
  std::function<void(TMarksItem&)> check;
};

// Every published property of a per-point item, stored in "Items" and read back.
TEST(MarksProperties, EveryPropertyOfAnItemIsStoredAndReadBack) {
  const ItemRow rows[] = {
      {"Bevel", [](TMarksItem& i) { i.SetBevel(bvRaised); }, [](TMarksItem& i) { EXPECT_EQ(i.Bevel(), bvRaised); }},
      {"BevelWidth", [](TMarksItem& i) { i.SetBevelWidth(5); }, [](TMarksItem& i) { EXPECT_EQ(i.BevelWidth(), 5); }},
      {"ChildLayout", [](TMarksItem& i) { i.SetChildLayout(slLeftRight); },
       [](TMarksItem& i) { EXPECT_EQ(i.ChildLayout(), slLeftRight); }},
      {"Children", [](TMarksItem& i) { i.Children()->AddShape(); },
       [](TMarksItem& i) { EXPECT_EQ(i.Children()->Count(), 1); }},
      {"Color", [](TMarksItem& i) { i.SetColor(clAqua); }, [](TMarksItem& i) { EXPECT_EQ(i.Color(), clAqua); }},
      {"Emboss", [](TMarksItem& i) { i.Emboss()->SetVisible(true); },
       [](TMarksItem& i) { EXPECT_TRUE(i.HasEmboss() && i.Emboss()->Visible()); }},
      {"Font", [](TMarksItem& i) { i.Font()->SetColor(clPurple); },
       [](TMarksItem& i) { EXPECT_EQ(i.Font()->Color(), clPurple); }},
      {"Gradient",
       [](TMarksItem& i) {
         i.Gradient()->SetVisible(true);
         i.Gradient()->SetStartColor(clRed);
       },
       [](TMarksItem& i) {
         EXPECT_TRUE(i.Gradient()->Visible());
         EXPECT_EQ(i.Gradient()->StartColor(), clRed);
       }},
      {"Picture", [](TMarksItem& i) { SolidPicture(i.Picture(), clLime, 4, 2); },
       [](TMarksItem& i) { EXPECT_TRUE(i.HasPicture() && i.Picture()->HasGraphic()); }},
      {"Shadow", [](TMarksItem& i) { i.Shadow()->SetColor(clOlive); },
       [](TMarksItem& i) { EXPECT_EQ(i.Shadow()->Color(), clOlive); }},
      {"ShapeCallout", [](TMarksItem& i) { i.ShapeCallout()->SetSide(csRight); },
       [](TMarksItem& i) { EXPECT_TRUE(i.HasCallout() && i.ShapeCallout()->Side() == csRight); }},
      {"ShapeStyle", [](TMarksItem& i) { i.SetShapeStyle(fosEllipse); },
       [](TMarksItem& i) { EXPECT_EQ(i.ShapeStyle(), fosEllipse); }},
      {"Text", [](TMarksItem& i) { i.TextLines()->Add("Own"); },
       [](TMarksItem& i) {
         EXPECT_TRUE(i.CustomText());
         EXPECT_EQ(i.TextLines()->Strings(0), "Own");
       }},
      {"Transparency", [](TMarksItem& i) { i.SetTransparency(35); },
       [](TMarksItem& i) { EXPECT_EQ(i.Transparency(), 35); }},
      {"Transparent", [](TMarksItem& i) { i.SetTransparent(true); },
       [](TMarksItem& i) { EXPECT_TRUE(i.Transparent()); }},
  };
  for (const ItemRow& row : rows) {
    SCOPED_TRACE(row.what);
    FakeSeriesChart chart;
    TSeriesMarks* marks = AddNamedLine(chart, 0)->Marks();
    marks->Items().ItemOrCreate(0);  // at the marks' format
    row.set(*marks->Items().ItemOrCreate(1));
    const auto copy = RoundTrip(chart);
    auto* read = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Line"));
    ASSERT_NE(read, nullptr);
    TMarksItems& items = read->Marks()->Items();
    ASSERT_EQ(items.Count(), 2);
    row.check(*items.ItemAt(1));
    // The unchanged item is the marks' format.
    EXPECT_EQ(items.ItemAt(0)->Color(), kMarkFill);
    EXPECT_FALSE(items.ItemAt(0)->CustomText());
    EXPECT_FALSE(items.ItemAt(0)->Transparent());
    // Written again, the layout is the same.
    EXPECT_EQ(LayoutText(*copy), LayoutText(chart));
  }
}

// ---- Start-up of the engine's streaming -----------------------------------------------------------

TEST(KelEngine, StartUpGroupsTheEngineClassesWithControlsAndRegistersSixClasses) {
  for (const TClassInfo* cls : {&TChartAxis::StaticClass(), &TSeriesMarks::StaticClass(),
                                &TFastLineSeries::StaticClass(), &TSeriesPointer::StaticClass()}) {
    SCOPED_TRACE(cls->Name());
    EXPECT_EQ(&ClassGroupOf(*cls), &TControl::StaticClass());
  }
  const char* names[] = {"TChartAxisTitle", "TChartAxis", "TChartDepthAxis", "TSeriesMarks", "TThemedSeries",
                         "TKelPictureComponent"};
  for (const char* name : names) EXPECT_NE(GetClass(name), nullptr) << name;
  KelEngineShutdown();
  for (const char* name : names) EXPECT_EQ(GetClass(name), nullptr) << name;
  KelEngineStartup();
  for (const char* name : names) EXPECT_NE(GetClass(name), nullptr) << name;
}

// ---- A point's picture inside the colour square -------------------------------------------------

TEST_F(MarksPaintTest, APointsPictureFillsTheVisibleSymbolAndIsEmptiedAfterwards) {
  TFastLineSeries* line = chart.AddSeries({{5, 50}}, clBlue);
  auto* picture = new TKelPicture;
  SolidPicture(picture, clLime, 4, 4);
  line->Pictures().PutPicture(0, picture);
  TSeriesMarks* marks = line->Marks();
  marks->SetVisible(true);
  marks->Symbol()->SetVisible(true);
  marks->Symbol()->Pen()->SetColor(clRed);
  chart.Paint();
  const TSeriesMarkPosition p = *marks->Positions().PositionAt(0);
  const TRect square = marks->Symbol()->Bounds;
  ASSERT_GT(square.Width(), 3);
  ASSERT_GT(square.Height(), 3);
  // The picture is stretched smoothly: its pixels are lime or nearly so.
  const auto greenIn = [&](int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const TColor c = chart.Pixel(x, y);
        const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        n += g > 200 && r < 40 && b < 40;
      }
    return n;
  };
  const int inSquare = greenIn(square.Left, square.Top, square.Right - 1, square.Bottom - 1);
  EXPECT_EQ(inSquare, square.Width() * square.Height()) << "the picture fills the square";
  EXPECT_EQ(greenIn(0, 0, chart.width - 1, chart.height - 1), inSquare) << "and nothing else";
  EXPECT_EQ(chart.Count(clRed, p.LeftTop.x, p.LeftTop.y, p.LeftTop.x + p.Width - 1, p.LeftTop.y + p.Height - 1), 0)
      << "the square's frame is hidden while a picture fills it";
  EXPECT_GT(FillInside(p), 0) << "the mark itself is drawn";
  // Afterwards the square is as it was.
  EXPECT_TRUE(marks->Symbol()->Pen()->Visible());
  EXPECT_EQ(marks->Symbol()->Brush()->Style(), bsSolid);
  EXPECT_FALSE(marks->Symbol()->HasPointPicture() && marks->Symbol()->PointPicture()->HasGraphic());

  // With the square hidden the picture is not drawn at all.
  marks->Symbol()->SetVisible(false);
  chart.Paint();
  EXPECT_EQ(greenIn(0, 0, chart.width - 1, chart.height - 1), 0);
}

// ---- Parts made on first read, the panel and the style setter ---------------------------------

struct CountingShapePanel : IShapePanel {
  TCanvas3D* ShapeCanvas() override { return nullptr; }
  void AssignShapeFont(TKelFont*) override {}
  void ShapeTextExtent(const std::string&, bool, int& w, int& h) override { w = h = 0; }
  void ShapeChanged() override { ++changes; }
  int changes = 0;
};

TEST(MarksParts, NullFreesCalloutSymbolAndTailAndAnotherObjectIsCopiedIn) {
  TChartSeries a(nullptr), b(nullptr);
  TSeriesMarks* source = a.Marks();
  source->Callout()->SetLength(20);
  source->Symbol()->SetVisible(true);
  source->Tail()->SetWidth(14);
  TSeriesMarks* m = b.Marks();
  EXPECT_FALSE(m->HasMarksCallout());
  EXPECT_FALSE(m->HasSymbol());
  EXPECT_FALSE(m->HasTail());
  m->SetCallout(source->Callout());
  m->SetSymbol(source->Symbol());
  m->SetTail(source->Tail());
  ASSERT_TRUE(m->HasMarksCallout() && m->HasSymbol() && m->HasTail());
  EXPECT_NE(m->Callout(), source->Callout());
  EXPECT_EQ(m->Callout()->Length(), 20);
  EXPECT_TRUE(m->Symbol()->Visible());
  EXPECT_EQ(m->Tail()->Width(), 14);
  m->SetCallout(nullptr);
  m->SetSymbol(nullptr);
  m->SetTail(nullptr);
  EXPECT_FALSE(m->HasMarksCallout());
  EXPECT_FALSE(m->HasSymbol());
  EXPECT_FALSE(m->HasTail());
  // The next read makes fresh ones at their defaults.
  EXPECT_EQ(m->Callout()->Length(), 8);
  EXPECT_FALSE(m->Symbol()->Visible());
  EXPECT_EQ(m->Tail()->Width(), 8);
  // Reading Arrow makes the callout too.
  TChartSeries c(nullptr);
  c.Marks()->Arrow();
  EXPECT_TRUE(c.Marks()->HasMarksCallout());
}

TEST(MarksParts, ThePanelReachesCalloutAndSymbolAndTheStyleSetterRepaintsIt) {
  TChartSeries s(nullptr);
  TSeriesMarks* m = s.Marks();
  m->Symbol();
  CountingShapePanel panel;
  m->AttachPanel(&panel);
  EXPECT_EQ(m->Symbol()->Panel(), &panel);
  // A callout made while the marks have a panel gets it, without a repaint for its making.
  const int before = panel.changes;
  EXPECT_EQ(m->Callout()->Panel(), &panel);
  EXPECT_EQ(panel.changes, before);
  m->SetStyle(smsValue);
  EXPECT_EQ(panel.changes, before + 1);
  m->SetStyle(smsValue);
  EXPECT_EQ(panel.changes, before + 1) << "the same value repaints nothing";
  m->AttachPanel(nullptr);
  EXPECT_EQ(m->Callout()->Panel(), nullptr);
  EXPECT_EQ(m->Symbol()->Panel(), nullptr);
}

// A setter that stores a different value repaints the series' chart, even while the marks have
// no panel of their own; the same value repaints nothing.
TEST(MarksParts, SettersRepaintTheSeriesChartOnlyOnAChange) {
  const struct {
    const char* what;
    std::function<void(TSeriesMarks&)> set;
  } rows[] = {
      {"Angle", [](TSeriesMarks& m) { m.SetAngle(45); }},
      {"DrawEvery", [](TSeriesMarks& m) { m.SetDrawEvery(4); }},
      {"Clip", [](TSeriesMarks& m) { m.SetClip(true); }},
      {"MultiLine", [](TSeriesMarks& m) { m.SetMultiLine(true); }},
      {"SoftClip", [](TSeriesMarks& m) { m.SetSoftClip(true); }},
      {"UseSeriesTransparency", [](TSeriesMarks& m) { m.SetUseSeriesTransparency(false); }},
      {"UseImages", [](TSeriesMarks& m) { m.SetUseImages(miOnly); }},
      {"Style", [](TSeriesMarks& m) { m.SetStyle(smsXValue); }},
      {"Callout.Length", [](TSeriesMarks& m) { m.Callout()->SetLength(30); }},
      {"Tail.Height", [](TSeriesMarks& m) { m.Tail()->SetHeight(3); }},
      {"Tail.Width", [](TSeriesMarks& m) { m.Tail()->SetWidth(3); }},
      {"Tail.Visible", [](TSeriesMarks& m) { m.Tail()->SetVisible(true); }},
      {"Tail.Align", [](TSeriesMarks& m) { m.Tail()->SetAlign(ttaNear); }},
      {"Tail.AutoAlign", [](TSeriesMarks& m) { m.Tail()->SetAutoAlign(false); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    FakeSeriesChart chart;
    TChartSeries* line = AddNamedLine(chart, 3);
    TSeriesMarks* m = line->Marks();
    m->AttachPanel(nullptr);
    // Parts made on first read exist before counting.
    m->Callout();
    m->Tail();
    const int before = chart.invalidations;
    row.set(*m);
    EXPECT_GT(chart.invalidations, before) << "a change repaints";
    const int after = chart.invalidations;
    row.set(*m);
    EXPECT_EQ(chart.invalidations, after) << "the same value again repaints nothing";
  }
}

}  // namespace
