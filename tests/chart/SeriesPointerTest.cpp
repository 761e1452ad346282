// Point symbols drawn flat into a white DIB (which pixels each style covers), sizes below 1,
// the gradient end colour of a pointer without a series, depths, copying, and callouts: the
// arrow with a pointer (ahNone) or an arrow head and no pointer (ahLine, ahSolid); in an
// orthogonal 3D view, where every style paints inside its projected box (cube, pyramids, flat
// figures at the front depth).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "LayoutTextSupport.h"
#include "SeriesTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "chart/SeriesPointer.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"

namespace {

// A shape panel over the fake chart's canvas, for pointers and callouts without a series.
class CanvasPanel : public IShapePanel {
 public:
  explicit CanvasPanel(TCanvas3D* canvas) : canvas_(canvas) {}
  TCanvas3D* ShapeCanvas() override { return canvas_; }
  void AssignShapeFont(TKelFont*) override {}
  void ShapeTextExtent(const std::string&, bool, int& width, int& height) override { width = height = 0; }
  void ShapeChanged() override { ++changes; }
  int changes = 0;

 private:
  TCanvas3D* canvas_;
};

class PointerDrawTest : public testing::Test {
 protected:
  void SetUp() override { chart.AttachCanvas(); }
  // Draws one symbol in red with a black frame centred on (50, 50).
  void Draw(TSeriesPointerStyle style, int h = 4, int v = 4) {
    pointer.ApplyToCanvas(chart.canvas.get(), clRed);
    pointer.DrawSymbol(chart.canvas.get(), false, 50, 50, h, v, clRed, style);
  }
  bool Drawn(int x, int y) { return chart.Pixel(x, y) != clWhite; }
  // Bounding box of every pixel that is not white.
  RECT Box() {
    RECT box{1000, 1000, -1, -1};
    for (int y = 0; y <= chart.rect.bottom; ++y)
      for (int x = 0; x <= chart.rect.right; ++x)
        if (Drawn(x, y)) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x);
          box.bottom = std::max<LONG>(box.bottom, y);
        }
    return box;
  }
  FakeSeriesChart chart;
  TSeriesPointer pointer{nullptr};
};

TEST_F(PointerDrawTest, ARectangleOfHalfSizeFourCoversFortySixToFiftyFour) {
  Draw(psRectangle);
  const RECT box = Box();
  EXPECT_EQ(box.left, 46);
  EXPECT_EQ(box.top, 46);
  EXPECT_EQ(box.right, 54);
  EXPECT_EQ(box.bottom, 54);
  EXPECT_EQ(chart.Pixel(50, 50), clRed) << "filled in the point's colour";
  EXPECT_EQ(chart.Pixel(46, 50), clBlack) << "framed in the pen";
}

struct StyleCase {
  const char* name;
  TSeriesPointerStyle style;
  std::vector<std::pair<int, int>> drawn;
  std::vector<std::pair<int, int>> blank;
};

class PointerStyleTest : public PointerDrawTest, public testing::WithParamInterface<StyleCase> {};

TEST_P(PointerStyleTest, DrawsExactlyItsFigure) {
  const StyleCase& c = GetParam();
  Draw(c.style);
  for (auto [x, y] : c.drawn) EXPECT_TRUE(Drawn(x, y)) << c.name << " at " << x << "," << y;
  for (auto [x, y] : c.blank) EXPECT_FALSE(Drawn(x, y)) << c.name << " at " << x << "," << y;
}

// Corners (46,46) and (54,46), the top middle (50,46), the left middle (46,50), a point off
// every line (48,46) and the centre.
INSTANTIATE_TEST_SUITE_P(
    Styles, PointerStyleTest,
    testing::Values(
        StyleCase{"Cross", psCross, {{50, 46}, {50, 54}, {46, 50}, {54, 50}}, {{46, 46}, {54, 46}, {48, 46}}},
        StyleCase{"DiagCross", psDiagCross, {{46, 46}, {54, 54}, {54, 46}, {46, 54}, {50, 50}},
                  {{50, 46}, {46, 50}, {48, 46}}},
        StyleCase{"Star", psStar, {{50, 46}, {46, 50}, {46, 46}, {54, 46}, {54, 54}, {46, 54}}, {{48, 46}, {52, 54}}},
        StyleCase{"Triangle", psTriangle, {{50, 47}, {46, 54}, {54, 54}, {50, 52}}, {{46, 46}, {54, 46}}},
        StyleCase{"DownTriangle", psDownTriangle, {{50, 53}, {46, 46}, {54, 46}, {50, 48}}, {{46, 54}, {54, 54}}},
        StyleCase{"Diamond", psDiamond, {{50, 46}, {46, 50}, {54, 50}, {50, 54}, {50, 50}},
                  {{46, 46}, {54, 54}, {54, 46}, {46, 54}}},
        StyleCase{"LeftTriangle", psLeftTriangle, {{46, 50}, {54, 46}, {54, 54}}, {{46, 46}, {46, 54}}},
        StyleCase{"RightTriangle", psRightTriangle, {{54, 50}, {46, 46}, {46, 54}}, {{54, 46}, {54, 54}}},
        StyleCase{"SmallDot", psSmallDot, {{50, 50}}, {{49, 50}, {51, 50}, {50, 49}, {50, 51}}},
        StyleCase{"Circle", psCircle, {{50, 46}, {46, 50}, {50, 50}}, {{46, 46}, {53, 46}}},
        // A whole ring (the device ellipse of 46..54 ends at 53) round a hole of half the radius.
        StyleCase{"Donut", psDonut, {{50, 46}, {46, 50}, {53, 50}, {50, 53}, {48, 48}, {52, 51}},
                  {{50, 50}, {46, 46}, {53, 53}}},
        StyleCase{"Nothing", psNothing, {}, {{50, 50}, {46, 46}, {50, 46}, {46, 50}}},
        StyleCase{"Visual", psVisual, {}, {{50, 50}, {46, 46}, {50, 46}, {46, 50}}}),
    [](const testing::TestParamInfo<StyleCase>& info) { return std::string(info.param.name); });

TEST_F(PointerDrawTest, NothingAndVisualLeaveTheWholeBitmapWhite) {
  for (TSeriesPointerStyle style : {psNothing, psVisual}) {
    Draw(style);
    EXPECT_EQ(chart.Count(clWhite), (chart.rect.right + 1) * (chart.rect.bottom + 1)) << style;
  }
}

TEST_F(PointerDrawTest, SizesBelowOneBecomeOne) {
  pointer.SetHorizSize(0);
  pointer.SetVertSize(-5);
  EXPECT_EQ(pointer.HorizSize(), 1);
  EXPECT_EQ(pointer.VertSize(), 1);
  Draw(psRectangle, 0, -3);
  const RECT box = Box();
  EXPECT_EQ(box.left, 49);
  EXPECT_EQ(box.top, 49);
  EXPECT_EQ(box.right, 51);
  EXPECT_EQ(box.bottom, 51);
}

TEST_F(PointerDrawTest, AnInvisiblePenLeavesTheFillWithoutFrame) {
  pointer.Pen()->SetVisible(false);
  Draw(psRectangle);
  EXPECT_EQ(chart.Count(clBlack), 0);
  EXPECT_EQ(chart.Pixel(50, 50), clRed);
}

TEST_F(PointerDrawTest, DarkPenDarkensTheFrameFromThePointColour) {
  pointer.SetDarkPen(60);
  Draw(psRectangle);
  const TColor frame = chart.Pixel(46, 50);
  EXPECT_NE(frame, clBlack);
  EXPECT_NE(frame, clRed);
  EXPECT_EQ(frame & 0xFFFF00, 0) << "a darker red";
}

TEST_F(PointerDrawTest, APointerWithoutASeriesTakesThePointColourAsItsGradientEnd) {
  CanvasPanel panel(chart.canvas.get());
  pointer.AttachPanel(&panel);
  pointer.Gradient()->SetVisible(true);
  pointer.Gradient()->SetEndColor(clYellow);
  panel.changes = 0;
  Draw(psRectangle);
  EXPECT_EQ(pointer.Gradient()->EndColor(), clRed);
  EXPECT_EQ(panel.changes, 0) << "a change made while drawing asks for no repaint";
  // A full gradient keeps its own end colour.
  pointer.SetFullGradient(true);
  pointer.Gradient()->SetEndColor(clYellow);
  Draw(psRectangle);
  EXPECT_EQ(pointer.Gradient()->EndColor(), clYellow);
}

// Lime or close to it (a smoothed stretch need not keep the exact colour); never the red fill.
bool Greenish(TColor c) {
  const unsigned v = static_cast<unsigned>(c);
  return (v & 0xFF) < 100 && ((v >> 8) & 0xFF) > 150 && ((v >> 16) & 0xFF) < 100;
}

TEST_F(PointerDrawTest, ThePictureCoversTheSymbolAndItsChangeRepaints) {
  CanvasPanel panel(chart.canvas.get());
  pointer.AttachPanel(&panel);
  panel.changes = 0;
  TBitmap* lime = pointer.Picture()->Bitmap();
  EXPECT_GT(panel.changes, 0) << "a new graphic in the picture repaints";
  lime->SetPixelFormat(pf24bit);
  lime->SetSize(4, 4);
  lime->Canvas()->Brush()->SetColor(clLime);
  lime->Canvas()->FillRect(TRect(0, 0, 4, 4));
  Draw(psRectangle);
  int inside = 0, outside = 0;
  for (int y = 40; y <= 60; ++y)
    for (int x = 40; x <= 60; ++x)
      if (Greenish(chart.Pixel(x, y))) ++(x >= 46 && x <= 54 && y >= 46 && y <= 54 ? inside : outside);
  EXPECT_GE(inside, 36) << "stretched over the symbol's box";
  EXPECT_EQ(outside, 0);
  pointer.AttachPanel(nullptr);
}

TEST(SeriesPointer, DepthsFollowTheSeriesOrTheirOwn) {
  TSeriesPointer alone(nullptr);
  alone.OwnDepth = 7;
  EXPECT_EQ(alone.StartZ(), 7);
  EXPECT_EQ(alone.MiddleZ(), 7);
  EXPECT_EQ(alone.EndZ(), 7);
  TChartSeries s(nullptr);
  TSeriesPointer p(&s);
  // A series outside a chart has the depth range 0..0.
  p.SetDepth(3);
  EXPECT_EQ(p.StartZ(), -3);
  EXPECT_EQ(p.MiddleZ(), 0);
  EXPECT_EQ(p.EndZ(), 3);
}

TEST(SeriesPointer, AssignCopiesTheSettingsAndACalloutItsArrow) {
  TCallout a(nullptr);
  a.SetStyle(psDiamond);
  a.SetHorizSize(6);
  a.SetVertSize(2);
  a.SetDarkPen(-10);
  a.SetDraw3D(true);
  a.SetArrowHead(ahSolid);
  a.SetArrowHeadSize(12);
  a.SetDistance(5);
  a.Arrow()->SetColor(clLime);
  a.Brush()->SetColor(clNavy);
  TCallout b(nullptr);
  b.Assign(&a);
  EXPECT_EQ(b.Style(), psDiamond);
  EXPECT_EQ(b.HorizSize(), 6);
  EXPECT_EQ(b.VertSize(), 2);
  EXPECT_EQ(b.DarkPen(), -10);
  EXPECT_TRUE(b.Draw3D());
  EXPECT_EQ(b.ArrowHead(), ahSolid);
  EXPECT_EQ(b.ArrowHeadSize(), 12);
  EXPECT_EQ(b.Distance(), 5);
  EXPECT_EQ(b.Arrow()->Color(), clLime);
  EXPECT_EQ(b.Brush()->Color(), clNavy);

  TMarksCallout m(nullptr);
  EXPECT_FALSE(m.Visible());
  EXPECT_EQ(m.Length(), 8);
  EXPECT_TRUE(m.FullGradient());
  EXPECT_FALSE(m.Draw3D());
  m.SetLength(15);
  TMarksCallout n(nullptr);
  n.Assign(&m);
  EXPECT_EQ(n.Length(), 15);
}

// ---- Callouts ----------------------------------------------------------------------------------

class CalloutDrawTest : public PointerDrawTest {
 protected:
  // An arrow in blue from the point (50, 80) up to the mark at (50, 20).
  void DrawCallout(TArrowHeadStyle head) {
    TCallout callout(nullptr);
    callout.AttachPanel(&panel);
    callout.Arrow()->SetColor(clBlue);
    callout.SetArrowHead(head);
    callout.DrawArrowAndPointer(clRed, TPoint(50, 80), TPoint(50, 20), TPoint(0, 0), false, 0);
  }
  // Blue pixels off the arrow's line near the point: the arrow head.
  int HeadPixels() {
    int n = 0;
    for (int y = 68; y <= 80; ++y)
      for (int x = 40; x <= 60; ++x)
        if (x != 50 && chart.Pixel(x, y) == clBlue) ++n;
    return n;
  }
  CanvasPanel panel{nullptr};
};

struct HeadCase {
  const char* name;
  TArrowHeadStyle head;
  bool pointer;
};

class CalloutHeadTest : public CalloutDrawTest, public testing::WithParamInterface<HeadCase> {
 protected:
  void SetUp() override {
    CalloutDrawTest::SetUp();
    panel = CanvasPanel(chart.canvas.get());
  }
};

TEST_P(CalloutHeadTest, TheArrowAndEitherThePointerOrAHead) {
  const HeadCase& c = GetParam();
  DrawCallout(c.head);
  // The arrow's line (a solid arrow's body is filled in the callout's black brush).
  EXPECT_NE(chart.Pixel(50, 50), clWhite);
  EXPECT_NE(chart.Pixel(50, 30), clWhite);
  EXPECT_EQ(chart.Pixel(50, 10), clWhite) << "nothing beyond the mark's end";
  // The callout's pointer: a black square of half size 4 at the arrow start; an arrow head
  // ends at the arrow start and leaves the square's lower and outer corners white.
  int corners = 0;
  for (auto [x, y] : {std::pair{46, 84}, std::pair{54, 84}, std::pair{46, 77}, std::pair{54, 77}})
    if (chart.Pixel(x, y) == clBlack) ++corners;
  if (c.pointer) {
    EXPECT_EQ(corners, 4) << c.name;
    EXPECT_EQ(HeadPixels(), 0) << c.name;
  } else {
    EXPECT_EQ(corners, 0) << c.name;
    EXPECT_GT(HeadPixels(), 4) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Heads, CalloutHeadTest,
                         testing::Values(HeadCase{"None", ahNone, true}, HeadCase{"Line", ahLine, false},
                                         HeadCase{"Solid", ahSolid, false}),
                         [](const testing::TestParamInfo<HeadCase>& info) { return std::string(info.param.name); });

TEST_F(CalloutDrawTest, AnInvisibleCalloutDrawsOnlyItsArrow) {
  panel = CanvasPanel(chart.canvas.get());
  TCallout callout(nullptr);
  callout.AttachPanel(&panel);
  callout.Arrow()->SetColor(clBlue);
  callout.SetVisible(false);
  callout.DrawArrowAndPointer(clRed, TPoint(50, 80), TPoint(50, 20), TPoint(0, 0), false, 0);
  EXPECT_EQ(chart.Pixel(50, 50), clBlue);
  EXPECT_EQ(chart.Count(clBlack), 0);
}

TEST_F(CalloutDrawTest, ABentArrowGoesThroughItsMiddlePoint) {
  panel = CanvasPanel(chart.canvas.get());
  TCallout callout(nullptr);
  callout.AttachPanel(&panel);
  callout.Arrow()->SetColor(clBlue);
  callout.SetVisible(false);
  callout.DrawArrowAndPointer(clRed, TPoint(20, 80), TPoint(80, 20), TPoint(20, 20), true, 0);
  EXPECT_EQ(chart.Pixel(20, 50), clBlue) << "first leg, straight up";
  EXPECT_EQ(chart.Pixel(50, 20), clBlue) << "second leg, to the right";
  EXPECT_EQ(chart.Pixel(50, 50), clWhite) << "not the straight line";
}


// ---- Symbols in a 3D view --------------------------------------------------------------------------

// An orthogonal 3D view over the fake chart's bitmap, where (x, y, z) lands on (x + z, y - z).
// The pointer belongs to a series outside a chart (depth range 0..0) and reaches 10 either side
// of its middle: flat figures lie at z = -10, so a symbol centred on (50, 50) shows centred on
// (40, 60); solids run from z = -10 to z = 10.
class Pointer3DTest : public PointerDrawTest {
 protected:
  void SetUp() override {
    PointerDrawTest::SetUp();
    TRect drawRect;
    const TRect all(0, 0, chart.rect.right + 1, chart.rect.bottom + 1);
    chart.canvas->PrepareFrame(chart.bitmap->Canvas(), &options, clWhite, true, all, drawRect);
    chart.canvas->SetProjectionRect(40, drawRect, all);
    ASSERT_EQ(chart.canvas->Project3D(50, 50, -10), TPoint(40, 60));
    solid.SetDepth(10);
  }
  void Draw3D(TSeriesPointerStyle style) {
    solid.ApplyToCanvas(chart.canvas.get(), clRed);
    solid.DrawSymbol(chart.canvas.get(), true, 50, 50, 4, 4, clRed, style);
  }
  TView3DOptions options;
  TChartSeries series{nullptr};
  TSeriesPointer solid{&series};
};

struct Box3DCase {
  const char* name;
  TSeriesPointerStyle style;
  bool draw3D;
  RECT box;    // inclusive bounds of the drawn pixels
  bool exact;  // the drawing reaches every side of the box (within a pixel)
};

class Pointer3DStyleTest : public Pointer3DTest, public testing::WithParamInterface<Box3DCase> {};

TEST_P(Pointer3DStyleTest, PaintsInsideItsProjectedBox) {
  const Box3DCase& c = GetParam();
  solid.SetDraw3D(c.draw3D);
  Draw3D(c.style);
  const RECT box = Box();
  ASSERT_GE(box.right, box.left) << "something is drawn";
  EXPECT_GE(box.left, c.box.left - 1);
  EXPECT_GE(box.top, c.box.top - 1);
  EXPECT_LE(box.right, c.box.right + 1);
  EXPECT_LE(box.bottom, c.box.bottom + 1);
  if (c.exact) {
    EXPECT_LE(box.left, c.box.left + 1);
    EXPECT_LE(box.top, c.box.top + 1);
    EXPECT_GE(box.right, c.box.right - 1);
    EXPECT_GE(box.bottom, c.box.bottom - 1);
  }
}

// Flat figures at z = -10 cover (36, 56)..(44, 64). The box runs from its front at z = -10 to
// its back at z = 10: x 36..64, y 36..64. The upward pyramid's base lies at y = 54 (projected
// rows 44..64) under its apex (50, 46) at the middle depth; the downward one's base at y = 46
// (rows 36..56) over its apex (50, 54). The small dot sits at the middle depth, on (50, 50).
INSTANTIATE_TEST_SUITE_P(
    Styles, Pointer3DStyleTest,
    testing::Values(Box3DCase{"Cube", psRectangle, true, {36, 36, 64, 64}, true},
                    Box3DCase{"FlatRectangle", psRectangle, false, {36, 56, 44, 64}, true},
                    Box3DCase{"Circle", psCircle, true, {36, 56, 44, 64}, true},
                    Box3DCase{"Pyramid", psTriangle, true, {36, 44, 64, 64}, true},
                    Box3DCase{"FlatTriangle", psTriangle, false, {36, 56, 44, 64}, true},
                    Box3DCase{"DownPyramid", psDownTriangle, true, {36, 36, 64, 56}, true},
                    Box3DCase{"Cross", psCross, true, {36, 56, 44, 64}, true},
                    Box3DCase{"DiagCross", psDiagCross, true, {36, 56, 44, 64}, true},
                    Box3DCase{"Star", psStar, true, {36, 56, 44, 64}, true},
                    Box3DCase{"Diamond", psDiamond, true, {36, 56, 44, 64}, true},
                    Box3DCase{"LeftTriangle", psLeftTriangle, true, {36, 56, 44, 64}, true},
                    Box3DCase{"RightTriangle", psRightTriangle, true, {36, 56, 44, 64}, true},
                    Box3DCase{"Hexagon", psHexagon, true, {36, 56, 44, 64}, true},
                    Box3DCase{"Donut", psDonut, true, {36, 56, 44, 64}, true},
                    Box3DCase{"Arrow", psArrow, true, {36, 56, 44, 64}, false},
                    Box3DCase{"SmallDot", psSmallDot, true, {50, 50, 50, 50}, true}),
    [](const testing::TestParamInfo<Box3DCase>& info) { return std::string(info.param.name); });

TEST_F(Pointer3DTest, TheCubeShowsItsDarkerSidesAndTheFlatRectangleOnlyItsFront) {
  Draw3D(psRectangle);
  EXPECT_EQ(chart.Pixel(40, 60), clRed) << "the front face in the point's colour";
  const TColor side = chart.Pixel(54, 50);
  EXPECT_NE(side, clWhite) << "the right side";
  EXPECT_NE(side, clRed) << "darkened";
  EXPECT_EQ(side & 0xFFFF00, 0) << "a darker red";

  solid.SetDark3D(false);
  Draw3D(psRectangle);
  EXPECT_EQ(chart.Pixel(54, 50), clRed) << "without Dark3D every face has the point's colour";

  SetUp();  // a clean bitmap
  solid.SetDraw3D(false);
  Draw3D(psRectangle);
  EXPECT_EQ(chart.Pixel(40, 60), clRed);
  EXPECT_EQ(chart.Pixel(54, 50), clWhite) << "no side without Draw3D";
}

TEST_F(Pointer3DTest, NothingAndVisualDrawNothingIn3D) {
  for (TSeriesPointerStyle style : {psNothing, psVisual}) {
    Draw3D(style);
    EXPECT_EQ(chart.Count(clWhite), (chart.rect.right + 1) * (chart.rect.bottom + 1)) << style;
  }
}

// ---- Published properties ----------------------------------------------------------------------

// Each class publishes exactly its own list: nothing of the settings other shapes share.
TEST(PointerProperties, EachClassPublishesExactlyItsList) {
  const std::vector<std::string> pointer = {"Brush",          "Pen",     "Visible",  "Dark3D",    "DarkPen",
                                            "Depth",          "Draw3D",  "Emboss",   "FullGradient", "Gradient",
                                            "HorizSize",      "InflateMargins", "Picture", "Shadow", "SizeUnits",
                                            "Style",          "Transparency",   "VertSize"};
  std::vector<std::string> callout = pointer;
  callout.insert(callout.end(), {"Arrow", "ArrowHead", "ArrowHeadSize", "Distance"});
  std::vector<std::string> marksCallout = callout;
  marksCallout.push_back("Length");
  const struct {
    const TClassInfo& cls;
    const std::vector<std::string>& names;
  } cases[] = {{TSeriesPointer::StaticClass(), pointer},
               {TCallout::StaticClass(), callout},
               {TMarksCallout::StaticClass(), marksCallout}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cls.Name());
    std::vector<std::string> published, expected = c.names;
    for (const TPropInfo* p : c.cls.Properties()) published.push_back(p->name);
    std::sort(published.begin(), published.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(published, expected);
  }
}

// A component that carries a pointer and a callout into layouts.
class TPointerHolder : public TComponent {
 public:
  static const TClassInfo& StaticClass() {
    using H = TPointerHolder;
    static const TClassInfo info = TClassBuilder<H>("TPointerHolder", &TComponent::StaticClass())
                                       .Property("Pointer", &H::Pointer, &H::SetPointer)
                                       .Property("Callout", &H::Callout, &H::SetCallout)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TPointerHolder(TComponent* owner) : TComponent(owner) { SetName("Holder"); }
  TSeriesPointer* Pointer() { return pointer_.get(); }
  void SetPointer(TSeriesPointer* value) { pointer_->Assign(value); }
  TCallout* Callout() { return callout_.get(); }
  void SetCallout(TCallout* value) { callout_->Assign(value); }

 private:
  std::unique_ptr<TSeriesPointer> pointer_ = std::make_unique<TSeriesPointer>(nullptr);
  std::unique_ptr<TCallout> callout_ = std::make_unique<TCallout>(nullptr);
};

void PictureOf(TKelPicture* picture, TColor color) {
  picture->Bitmap()->SetPixelFormat(pf32bit);
  picture->Bitmap()->SetSize(3, 2);
  picture->Bitmap()->Canvas()->Brush()->SetColor(color);
  picture->Bitmap()->Canvas()->FillRect(TRect(0, 0, 3, 2));
}

// Every published property away from its default: named in the layout, read back into a fresh
// holder that writes the same text, carried over by Assign; nothing written at the defaults.
TEST(PointerProperties, RoundTripTable) {
  const TColor odd = static_cast<TColor>(0x12AB34);
  const struct {
    const char* path;
    std::function<void(TPointerHolder&)> set;
  } rows[] = {
      {"Pointer.Brush.Color", [=](TPointerHolder& h) { h.Pointer()->Brush()->SetColor(odd); }},
      {"Pointer.Pen.Width", [](TPointerHolder& h) { h.Pointer()->Pen()->SetWidth(3); }},
      {"Pointer.Visible", [](TPointerHolder& h) { h.Pointer()->SetVisible(false); }},
      {"Pointer.Dark3D", [](TPointerHolder& h) { h.Pointer()->SetDark3D(false); }},
      {"Pointer.DarkPen", [](TPointerHolder& h) { h.Pointer()->SetDarkPen(-20); }},
      {"Pointer.Depth", [](TPointerHolder& h) { h.Pointer()->SetDepth(5); }},
      {"Pointer.Draw3D", [](TPointerHolder& h) { h.Pointer()->SetDraw3D(false); }},
      {"Pointer.Emboss.Visible", [](TPointerHolder& h) { h.Pointer()->Emboss()->SetVisible(true); }},
      {"Pointer.FullGradient", [](TPointerHolder& h) { h.Pointer()->SetFullGradient(true); }},
      {"Pointer.Brush.Gradient.Visible", [](TPointerHolder& h) { h.Pointer()->Gradient()->SetVisible(true); }},
      {"Pointer.HorizSize", [](TPointerHolder& h) { h.Pointer()->SetHorizSize(6); }},
      {"Pointer.InflateMargins", [](TPointerHolder& h) { h.Pointer()->SetInflateMargins(false); }},
      {"Pointer.Picture", [](TPointerHolder& h) { PictureOf(h.Pointer()->Picture(), clLime); }},
      {"Pointer.Shadow.Visible", [](TPointerHolder& h) { h.Pointer()->Shadow()->SetVisible(true); }},
      {"Pointer.SizeUnits", [](TPointerHolder& h) { h.Pointer()->SetSizeUnits(suAxis); }},
      {"Pointer.Style", [](TPointerHolder& h) { h.Pointer()->SetStyle(psHexagon); }},
      {"Pointer.Transparency", [](TPointerHolder& h) { h.Pointer()->SetTransparency(30); }},
      {"Pointer.VertSize", [](TPointerHolder& h) { h.Pointer()->SetVertSize(7); }},
      {"Callout.Arrow.Color", [=](TPointerHolder& h) { h.Callout()->Arrow()->SetColor(odd); }},
      {"Callout.ArrowHead", [](TPointerHolder& h) { h.Callout()->SetArrowHead(ahSolid); }},
      {"Callout.ArrowHeadSize", [](TPointerHolder& h) { h.Callout()->SetArrowHeadSize(5); }},
      {"Callout.Distance", [](TPointerHolder& h) { h.Callout()->SetDistance(4); }},
      {"Callout.Draw3D", [](TPointerHolder& h) { h.Callout()->SetDraw3D(true); }},
      {"Callout.FullGradient", [](TPointerHolder& h) { h.Callout()->SetFullGradient(false); }},
      {"Callout.InflateMargins", [](TPointerHolder& h) { h.Callout()->SetInflateMargins(false); }},
      {"Callout.Style", [](TPointerHolder& h) { h.Callout()->SetStyle(psDiamond); }},
      {"Callout.Visible", [](TPointerHolder& h) { h.Callout()->SetVisible(false); }},
      {"Callout.Brush.Color", [](TPointerHolder& h) { h.Callout()->Brush()->SetColor(clRed); }},
  };
  RegisterClass(TPointerHolder::StaticClass());
  TPointerHolder fresh(nullptr), source(nullptr);
  // Reading the parts made on first read creates them at their defaults.
  fresh.Pointer()->Emboss();
  fresh.Pointer()->Picture();
  fresh.Callout()->Emboss();
  const std::string defaults = LayoutText(fresh);
  EXPECT_EQ(LinesStartingWith(defaults, "Pointer"), "") << defaults;
  EXPECT_EQ(LinesStartingWith(defaults, "Callout"), "") << defaults;
  for (const auto& row : rows) row.set(source);
  const std::string text = LayoutText(source);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_NE(LinesStartingWith(text, row.path), "") << text;
  }

  TPointerHolder read(nullptr);
  ReadLayoutInto(text, read);
  EXPECT_EQ(LayoutText(read), text);
  EXPECT_EQ(read.Pointer()->Style(), psHexagon);
  EXPECT_EQ(read.Pointer()->SizeUnits(), suAxis);
  EXPECT_TRUE(read.Pointer()->Picture()->HasGraphic());
  EXPECT_EQ(read.Callout()->ArrowHead(), ahSolid);
  EXPECT_EQ(read.Callout()->Arrow()->Color(), odd);

  TPointerHolder copy(nullptr);
  copy.Pointer()->Assign(source.Pointer());
  copy.Callout()->Assign(source.Callout());
  EXPECT_EQ(LayoutText(copy), text);
}

TEST(PointerProperties, NullFreesShadowEmbossAndPictureAndTheNextReadStartsAtTheDefaults) {
  TSeriesPointer p(nullptr);
  p.Shadow()->SetVisible(true);
  p.Shadow()->SetColor(clRed);
  p.Emboss()->SetVisible(true);
  PictureOf(p.Picture(), clLime);
  p.SetShadow(nullptr);
  p.SetEmboss(nullptr);
  p.SetPicture(nullptr);
  EXPECT_FALSE(p.HasEmboss());
  EXPECT_FALSE(p.HasPicture());
  EXPECT_FALSE(p.Shadow()->Visible());
  EXPECT_EQ(p.Shadow()->Color(), clBlack);
  EXPECT_EQ(p.Shadow()->HorizSize(), 3);
  EXPECT_FALSE(p.Shadow()->IsColorStored());
  EXPECT_FALSE(p.Emboss()->Visible());
  EXPECT_EQ(p.Emboss()->HorizSize(), 3);
  EXPECT_FALSE(p.Picture()->HasGraphic());
  // Another object is copied in.
  TKelShadow shadow;
  shadow.SetColor(clBlue);
  p.SetShadow(&shadow);
  EXPECT_EQ(p.Shadow()->Color(), clBlue);
  EXPECT_NE(p.Shadow(), &shadow);
}

TEST_F(PointerDrawTest, AShadowFreedByNullIsNoLongerDrawn) {
  pointer.Shadow()->SetVisible(true);
  pointer.Shadow()->SetColor(clLime);
  pointer.Shadow()->SetTransparency(0);
  Draw(psRectangle);
  EXPECT_GT(chart.Count(clLime), 0);
  chart.AttachCanvas();
  pointer.SetShadow(nullptr);
  Draw(psRectangle);
  EXPECT_EQ(chart.Count(clLime), 0);
}

}  // namespace
