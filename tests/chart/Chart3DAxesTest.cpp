// Axes and series in depth: the slot each series is drawn in (shared slots included), grid
// lines on the walls, and where the labels and titles of every axis stand in a 3D view.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <cmath>
#include <string>
#include <vector>

#include "ChartControlTestSupport.h"
#include "canvas/View3DOptions.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"

namespace {

// Records turned texts too (with their turned-text anchor), as texts.
class TurnedTextCanvas : public RecordingCanvas {
 public:
  void RotatedTextOut(int x, int y, const std::string& text, double angle, bool flag) override {
    if (angle != 0) texts.push_back(Text{Path(), x, y, text});
    RecordingCanvas::RotatedTextOut(x, y, text, angle, flag);
  }
};

// Swaps the fixture's canvas for one that records turned texts.
void RecordTurnedTexts(ChartFixture& f) {
  auto* canvas = new TurnedTextCanvas();
  f.chart.ChangeCanvas(canvas);
  f.canvas = canvas;
}

// A 3D chart (orthogonal, 45 degrees) with `orders` curves, curve i taking depth order
// orders[i] (-1: automatic).
void AddOrderedCurves(ChartFixture& f, const std::vector<int>& orders) {
  for (int order : orders) f.AddCurve()->SetDepthOrder(order);
}

std::vector<int> Slots(ChartFixture& f) {
  std::vector<int> result;
  for (int i = 0; i < f.chart.SeriesCount(); ++i) result.push_back(f.chart.SeriesAt(i)->DepthSlot());
  return result;
}

// Texts drawn inside an element path ending in `tail` ("Top/Labels").
std::vector<RecordingCanvas::Text> TextsEndingIn(const RecordingCanvas& canvas, const std::string& tail) {
  std::vector<RecordingCanvas::Text> result;
  for (const auto& t : canvas.texts)
    if (t.path.size() >= tail.size() && t.path.compare(t.path.size() - tail.size(), tail.size(), tail) == 0)
      result.push_back(t);
  return result;
}

}  // namespace

TEST(ChartDepthSlots, OrdersAndSlotsPerSeries) {
  struct Case {
    const char* name;
    bool view3D;
    bool inverted;
    std::vector<int> orders;
    int highest;
    std::vector<int> slots;
    std::vector<bool> shares;
    std::vector<bool> firstOfSlot;
  };
  const Case cases[] = {
      {"automatic: the first series at the back", true, false, {-1, -1, -1}, 2, {2, 1, 0},
       {false, false, false}, {true, true, true}},
      {"flat: every series at depth 0", false, false, {-1, -1, -1}, 0, {0, 0, 0}, {false, false, false},
       {true, false, false}},
      {"two share order 0, the third takes the next", true, false, {0, 0, -1}, 1, {1, 1, 0},
       {true, true, false}, {true, false, true}},
      {"an explicit order raises the counter", true, false, {2, -1}, 3, {1, 0}, {false, false}, {true, true}},
      {"inverted depth axis keeps the orders", true, true, {-1, -1, -1}, 2, {0, 1, 2}, {false, false, false},
       {true, true, true}},
      {"inverted, explicit orders stay where they are put", true, true, {3, 0}, 3, {3, 0}, {false, false},
       {true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    AddOrderedCurves(f, c.orders);
    f.chart.SetView3D(c.view3D);
    f.chart.DepthAxis()->SetInverted(c.inverted);
    f.Paint();
    EXPECT_EQ(f.chart.HighestDepthOrder(), c.highest);
    EXPECT_EQ(Slots(f), c.slots);
    for (int i = 0; i < f.chart.SeriesCount(); ++i) {
      SCOPED_TRACE(i);
      TChartSeries* s = f.chart.SeriesAt(i);
      EXPECT_EQ(s->SharesDepthSlot(), c.shares[i]);
      EXPECT_EQ(s->IsFirstInDepthSlot(), c.firstOfSlot[i]);
      // Drawn at its slot's range of depth.
      EXPECT_EQ(s->StartDepth(), c.slots[i] * f.chart.SeriesDepth());
      EXPECT_EQ(s->EndDepth(), s->StartDepth() + f.chart.SeriesDepth());
    }
    if (c.view3D) {
      EXPECT_GT(f.chart.SeriesDepth(), 0);
      EXPECT_EQ(f.chart.ChartDepthPixels(), (c.highest + 1) * f.chart.SeriesDepth());
    }
  }
}

TEST(ChartDepthSlots, AnInactiveSeriesNeitherSharesNorLeadsASlot) {
  ChartFixture f;
  AddOrderedCurves(f, {0, 0, 0});
  f.chart.SetView3D(true);
  f.chart.SeriesAt(0)->ChangeActive(false);
  f.Paint();
  EXPECT_FALSE(f.chart.SeriesAt(0)->IsFirstInDepthSlot());
  EXPECT_TRUE(f.chart.SeriesAt(1)->IsFirstInDepthSlot());
  EXPECT_FALSE(f.chart.SeriesAt(2)->IsFirstInDepthSlot());
  EXPECT_TRUE(f.chart.SeriesAt(1)->SharesDepthSlot());
  f.chart.SeriesAt(2)->ChangeActive(false);
  EXPECT_FALSE(f.chart.SeriesAt(1)->SharesDepthSlot());
}

TEST(ChartDepthSlots, DepthOrderSetterStreamsAndCopies) {
  ChartFixture f;
  TFastLineSeries* s = f.AddCurve();
  EXPECT_EQ(s->DepthOrder(), -1);
  s->SetDepthOrder(2);
  EXPECT_EQ(s->DepthOrder(), 2);
  s->SetDepthOrder(-5);  // anything below -1 is automatic
  EXPECT_EQ(s->DepthOrder(), -1);
  s->SetDepthOrder(4);
  TFastLineSeries copy(nullptr);
  copy.Assign(s);
  EXPECT_EQ(copy.DepthOrder(), 4);

  // A layout names it ZOrder.
  RegisterClass(TChart::StaticClass());
  RegisterClass(TFastLineSeries::StaticClass());
  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(
      "object Chart: TChart\n"
      "  object Placed: TFastLineSeries\n"
      "    ZOrder = 3\n"
      "  end\n"
      "  object Free: TFastLineSeries\n"
      "  end\n"
      "end\n");
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  const std::unique_ptr<TChart> chart(static_cast<TChart*>(stream.ReadComponent(nullptr)));
  ASSERT_EQ(chart->SeriesCount(), 2);
  EXPECT_EQ(chart->SeriesAt(0)->DepthOrder(), 3);
  EXPECT_EQ(chart->SeriesAt(1)->DepthOrder(), -1);
}

namespace {

// A series whose points paint alone, logging each point painted ("A0", "B2" ...).
class LoggingSeries : public TFastLineSeries {
 public:
  LoggingSeries(std::vector<std::string>& log, std::string tag) : TFastLineSeries(nullptr), log_(log), tag_(tag) {}
  void PaintPoint(int index) override { log_.push_back(tag_ + std::to_string(index)); }
  bool PaintsPointsAlone() const override { return true; }
  // Point by point in the series' own order, as a series without a line of its own paints.
  void PaintAllPoints() override { TChartSeries::PaintAllPoints(); }

 private:
  std::vector<std::string>& log_;
  std::string tag_;
};

}  // namespace

// Series sharing a slot are painted by the first of the slot, index by index, in the view's
// order; a series of another slot paints on its own.
TEST(ChartDepthSlots, SharedSlotPaintsPointByPointInViewOrder) {
  struct Case {
    const char* name;
    int orthoAngle;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"seen from the front", 45, {"A0", "B0", "A1", "B1", "A2", "B2", "C0", "C1"}},
      {"seen from behind: indexes and series reversed", 135, {"B2", "A2", "B1", "A1", "B0", "A0", "C1", "C0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    std::vector<std::string> log;
    auto add = [&](const char* tag, int order, int points) {
      auto* s = new LoggingSeries(log, tag);
      s->SetName(std::string("S") + tag);
      for (int i = 0; i < points; ++i) s->AppendXY(i, i);
      s->SetDepthOrder(order);
      f.chart.AttachSeries(s);
    };
    add("A", 1, 3);
    add("B", 1, 3);
    add("C", 0, 2);
    f.chart.SetView3D(true);
    f.chart.View3DOptions()->SetOrthoAngle(c.orthoAngle);
    f.Paint();
    EXPECT_EQ(log, c.log);
  }
}

// Lines cannot interleave point by point: line series sharing a slot each paint whole, both
// curves appear, at the same depth.
TEST(ChartDepthSlots, SeriesSharingASlotAreAllPainted) {
  ChartFixture f;
  TFastLineSeries* a = f.AddCurve(10, 90, clRed);
  TFastLineSeries* b = f.AddCurve(90, 10, clBlue);
  a->SetDepthOrder(0);
  b->SetDepthOrder(0);
  f.chart.SetView3D(true);
  f.chart.Legend()->SetVisible(false);
  f.Paint();
  ASSERT_TRUE(a->SharesDepthSlot());
  EXPECT_EQ(a->StartDepth(), b->StartDepth());
  const TRect& r = f.chart.ChartBounds();
  const int d = f.chart.ChartDepthPixels();
  EXPECT_GT(f.Count(clRed, r.Left, r.Top - d, r.Right + d, r.Bottom), 20);
  EXPECT_GT(f.Count(clBlue, r.Left, r.Top - d, r.Right + d, r.Bottom), 20);
}

// Grid lines of each axis in an orthogonal 3D view: on the back wall, and on the floor (bottom
// axis) or the left wall (left axis); a depth axis's across the floor and up the left wall.
TEST(Chart3DGrid, GridLineEndPointsPerAxis) {
  ChartFixture f;
  f.AddCurve()->SetHorizAxis(aBothHorizAxis);
  f.chart.SeriesAt(0)->SetVertAxis(aBothVertAxis);
  f.chart.SetView3D(true);
  f.chart.DepthAxis()->SetVisible(true);
  f.Paint();
  const TRect& r = f.chart.ChartBounds();
  const int d = f.chart.ChartDepthPixels();
  ASSERT_GT(d, 0);
  const int p = 100;
  using S = TAxisGridSegment;
  struct Case {
    const char* name;
    TChartAxis* axis;
    double zPosition;
    std::vector<S> segments;
  };
  const int half = d - static_cast<int>(std::lround(d * 0.25));
  const Case cases[] = {
      {"bottom", f.chart.BottomAxis(), 0, {{p, r.Top + 1, d, p, r.Bottom, d}, {p, r.Bottom, 0, p, r.Bottom, d}}},
      {"left", f.chart.LeftAxis(), 0, {{r.Left + 1, p, d, r.Right, p, d}, {r.Left, p, 0, r.Left, p, d}}},
      {"top", f.chart.TopAxis(), 100, {{p, r.Top + 1, d, p, r.Bottom, d}}},
      {"right", f.chart.RightAxis(), 100, {{r.Left + 1, p, d, r.Right, p, d}}},
      {"bottom, grid a quarter in", f.chart.BottomAxis(), 25,
       {{p, r.Top + 1, half, p, r.Bottom, half}, {p, r.Bottom, 0, p, r.Bottom, half}}},
      {"depth", f.chart.DepthAxis(), 0, {{r.Left, r.Bottom, p, r.Right, r.Bottom, p}, {r.Left, r.Top + 1, p, r.Left, r.Bottom, p}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.axis->Grid()->ZPosition(), c.name == std::string("bottom, grid a quarter in") ? 0 : c.zPosition);
    c.axis->Grid()->SetZPosition(c.zPosition);
    const std::vector<S> got = c.axis->GridSegments({p});
    ASSERT_EQ(got.size(), c.segments.size());
    for (size_t i = 0; i < got.size(); ++i) {
      SCOPED_TRACE(i);
      const S& e = c.segments[i];
      EXPECT_EQ((std::vector<int>{got[i].X0, got[i].Y0, got[i].Z0, got[i].X1, got[i].Y1, got[i].Z1}),
                (std::vector<int>{e.X0, e.Y0, e.Z0, e.X1, e.Y1, e.Z1}));
    }
    c.axis->Grid()->SetZPosition(c.zPosition == 25 ? 0 : c.zPosition);
  }
}

// What the canvas is given: the bottom axis's grid lines projected onto the back wall (shifted
// by the depth, right and up) and along the floor; a flat chart keeps them on the chart.
TEST(Chart3DGrid, DrawnGridLinesAreProjected) {
  ChartFixture f;
  f.AddCurve();
  f.chart.SetView3D(true);
  f.Paint();
  const TRect& r = f.chart.ChartBounds();
  const int d = f.chart.ChartDepthPixels();
  const std::vector<int> pixels = f.chart.BottomAxis()->GridPixels();
  ASSERT_FALSE(pixels.empty());
  const auto grid = f.canvas->SegmentsIn("Axes/Bottom/Grid");
  ASSERT_EQ(grid.size(), 2 * pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) {
    SCOPED_TRACE(i);
    const int x = pixels[i];
    const auto& back = grid[2 * i];
    EXPECT_EQ((std::vector<int>{back.x0, back.y0, back.x1, back.y1}),
              (std::vector<int>{x + d, r.Top + 1 - d, x + d, r.Bottom - d}));
    const auto& floor = grid[2 * i + 1];
    EXPECT_EQ((std::vector<int>{floor.x0, floor.y0, floor.x1, floor.y1}),
              (std::vector<int>{x, r.Bottom, x + d, r.Bottom - d}));
  }
}

// Labels and titles of each axis in an orthogonal 3D view: the front axes (bottom, left) stand
// where a flat chart has them, the back ones (top, right) are moved by the depth, right and
// up; the depth axis labels series titles along the bottom right edge.
TEST(Chart3DAxisText, LabelAndTitlePositionsPerAxis) {
  ChartFixture f;
  TFastLineSeries* s = f.AddCurve();
  s->SetHorizAxis(aBothHorizAxis);
  s->SetVertAxis(aBothVertAxis);
  f.AddCurve();
  RecordTurnedTexts(f);
  f.chart.SetView3D(true);
  f.chart.DepthAxis()->SetVisible(true);
  for (TChartAxis* axis : {f.chart.BottomAxis(), f.chart.TopAxis(), f.chart.LeftAxis(), f.chart.RightAxis(),
                           static_cast<TChartAxis*>(f.chart.DepthAxis())})
    axis->Title()->SetText("T");
  f.Paint();
  const int d = f.chart.ChartDepthPixels();
  const TRect& r = f.chart.ChartBounds();
  ASSERT_GT(d, 0);
  const int lh = 10;
  struct Case {
    const char* name;
    TChartAxis* axis;
    int dx, dy;  // the projection's shift
  };
  const Case cases[] = {
      {"Bottom", f.chart.BottomAxis(), 0, 0},
      {"Top", f.chart.TopAxis(), d, -d},
      {"Left", f.chart.LeftAxis(), 0, 0},
      {"Right", f.chart.RightAxis(), d, -d},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TChartAxis* axis = c.axis;
    const auto texts = TextsEndingIn(*f.canvas, std::string(c.name) + "/Labels");
    ASSERT_EQ(texts.size(), axis->LabelItems().size());
    ASSERT_FALSE(texts.empty());
    for (size_t i = 0; i < texts.size(); ++i) {
      const TAxisLabelItem& item = axis->LabelItems()[i];
      EXPECT_EQ(texts[i].text, item.Text);
      const int x = axis->Horizontal() ? item.Pixel : axis->LabelPosition();
      // A label's box hangs from its position, or stands on it on the other side.
      const int y = axis->Horizontal() ? (axis->OtherSide() ? axis->LabelPosition() - lh : axis->LabelPosition())
                                       : item.Pixel - lh / 2;
      EXPECT_EQ(texts[i].x, x + c.dx) << item.Text;
      EXPECT_EQ(texts[i].y, y + c.dy) << item.Text;
    }
    const auto titles = TextsEndingIn(*f.canvas, std::string(c.name) + "/Title");
    ASSERT_EQ(titles.size(), 1u);
    if (axis->Horizontal()) {
      EXPECT_EQ(titles[0].x, axis->CenterPixel() + c.dx);
      EXPECT_EQ(titles[0].y, (axis->OtherSide() ? axis->TitlePosition() - lh : axis->TitlePosition()) + c.dy);
    } else {
      // Turned text in its box: written from half a line before the box's centre.
      EXPECT_EQ(titles[0].y, axis->CenterPixel() - lh / 2 + c.dy);
      EXPECT_EQ(titles[0].x, (axis->OtherSide() ? axis->TitlePosition() + lh / 2 : axis->TitlePosition() - lh / 2) + c.dx);
    }
  }

  // The depth axis: one label per series, the first series at the back.
  TChartAxis* depth = f.chart.DepthAxis();
  const auto texts = TextsEndingIn(*f.canvas, "Depth/Labels");
  ASSERT_EQ(texts.size(), 2u);
  const int w = f.chart.SeriesDepth();
  const std::string names[2] = {"Ch1", "Ch2"};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(texts[i].text, names[i]);
    // Label i stands in the middle of series i's slot.
    const int z = depth->LabelItems()[i].Pixel;
    EXPECT_NEAR(z, f.chart.SeriesAt(i)->StartDepth() + w / 2, 1);
    EXPECT_EQ(texts[i].x, depth->LabelPosition() + z);
    EXPECT_EQ(texts[i].y, r.Bottom - lh / 2 - z);
  }
  EXPECT_GT(depth->LabelPosition(), r.Right);
  // The title: turned text beside the edge, halfway into the depth, its middle half a line
  // outward of the title position (the anchor of centred text turned a quarter right is a
  // line outward).
  const auto title = TextsEndingIn(*f.canvas, "Depth/Title");
  ASSERT_EQ(title.size(), 1u);
  EXPECT_GT(depth->TitlePosition(), depth->LabelPosition());
  EXPECT_EQ(title[0].x, depth->TitlePosition() + lh + d / 2);
  EXPECT_EQ(title[0].y, r.Bottom - d / 2);
}

// Pixels: the left axis grid line lies on the back wall (moved right and up by the depth) and
// on the left wall, not across the front of the box; a depth-axis label is written beside the
// bottom right edge.
TEST(Chart3DPixels, GridOnTheBackWallAndADepthLabel) {
  ChartFixture f;
  f.AddCurve(0, 100, clBlue);
  f.chart.SetView3D(true);
  f.chart.Legend()->SetVisible(false);
  f.chart.DepthAxis()->SetVisible(true);
  f.chart.LeftAxis()->Grid()->SetColor(clRed);
  f.chart.SetChart3DPercent(100);
  f.Paint();
  const TRect& r = f.chart.ChartBounds();
  const int d = f.chart.ChartDepthPixels();
  ASSERT_GT(d, 10);
  const std::vector<int> rows = f.chart.LeftAxis()->GridPixels();
  ASSERT_FALSE(rows.empty());
  // A row whose flat place no back-wall line happens to cover.
  int y = -1;
  for (int row : rows)
    if (row - r.Top > 20 && std::none_of(rows.begin(), rows.end(), [&](int other) { return other - d == row; })) y = row;
  ASSERT_GE(y, 0);
  const int mid = (r.Left + r.Right) / 2;
  // On the back wall: a red run along the projected row.
  EXPECT_GT(f.Count(clRed, r.Left + d + 5, y - d, r.Right + d - 5, y - d), (r.Right - r.Left) / 2);
  // Not across the front plane at the unprojected row (only the curve could cross it).
  EXPECT_LT(f.Count(clRed, mid - 30, y, mid + 30, y), 3);
  // On the left wall: the diagonal from the front edge to the back wall.
  EXPECT_EQ(f.Pixel(r.Left + d / 3, y - d / 3), clRed);

  // The depth labels: dark text pixels where the first one is written.
  TChartAxis* depth = f.chart.DepthAxis();
  ASSERT_FALSE(depth->LabelItems().empty());
  const int z = depth->LabelItems()[0].Pixel;
  const int x0 = depth->LabelPosition() + z, y0 = r.Bottom - 5 - z;
  ASSERT_GT(z, 10);  // far enough in that the flat place is elsewhere
  EXPECT_GT(f.CountDark(x0, y0, x0 + 30, y0 + 12), 5);
}

// Turned views: every bottom axis label is written, whether the bottom axis is drawn with the
// other axes, on the walls, or in front after the series; the back wall is drawn once, behind
// the series or (seen from behind) after them.
TEST(Chart3DTurnedViews, BottomAxisShownAndBackWallDrawnOnceInEveryView) {
  bool backAfter = false, backBefore = false;
  for (int rotation : {20, 100, 200, 300, 345}) {
    for (int elevation : {340, 20}) {
      SCOPED_TRACE(std::to_string(rotation) + "/" + std::to_string(elevation));
      ChartFixture f;
      f.AddCurve();
      f.chart.SetView3D(true);
      f.chart.View3DOptions()->SetOrthogonal(false);
      f.chart.View3DOptions()->SetRotation(rotation);
      f.chart.View3DOptions()->SetElevation(elevation);
      f.Paint();
      const auto labels = TextsEndingIn(*f.canvas, "Bottom/Labels");
      // Drawn where it belongs even when the walls draw it before the axes pass.
      EXPECT_EQ(f.chart.BottomAxis()->Position(), f.chart.ChartBounds().Bottom);
      EXPECT_EQ(f.chart.TopAxis()->Position(), f.chart.ChartBounds().Top);
      // Never lost (the walls or the front pass draw it when the axes pass skips it).
      const auto& items = f.chart.BottomAxis()->LabelItems();
      ASSERT_FALSE(items.empty());
      for (const TAxisLabelItem& item : items) {
        SCOPED_TRACE(item.Text);
        EXPECT_GE(std::count_if(labels.begin(), labels.end(), [&](const auto& t) { return t.text == item.Text; }), 1);
      }
      const auto& e = f.canvas->elements;
      const int series = f.canvas->IndexOf("Series");
      int before = 0, after = 0;
      for (int i = 0; i < static_cast<int>(e.size()); ++i)
        if (e[i] == "Back") (i < series ? before : after) += 1;
      EXPECT_EQ(before + after, 1);
      backAfter = backAfter || after > 0;
      backBefore = backBefore || before > 0;
    }
  }
  EXPECT_TRUE(backAfter);
  EXPECT_TRUE(backBefore);
}

// The axis hit test in 3D: an axis at the back is hit where it is drawn (moved by the depth),
// not where a flat chart has it; a front axis stays where it is.
TEST(Chart3DAxisText, AxesAreHitWhereTheyAreDrawn) {
  ChartFixture f;
  TFastLineSeries* s = f.AddCurve();
  s->SetHorizAxis(aBothHorizAxis);
  f.chart.SetView3D(true);
  f.chart.SetChart3DPercent(100);
  f.Paint();
  const int d = f.chart.ChartDepthPixels();
  ASSERT_GT(d, 10);
  struct Case {
    const char* name;
    TChartAxis* axis;
    int shift;  // the projection's shift at the axis's depth
  };
  const Case cases[] = {{"top, at the back", f.chart.TopAxis(), d}, {"bottom, at the front", f.chart.BottomAxis(), 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int x = c.axis->CenterPixel();
    // Just inside the band between the axis line and its labels.
    const int y = c.axis->OtherSide() ? c.axis->Position() - 2 : c.axis->Position() + 2;
    EXPECT_TRUE(c.axis->Clicked(x + c.shift, y - c.shift));
    if (c.shift != 0) {
      EXPECT_FALSE(c.axis->Clicked(x, y));
    }
  }
}
