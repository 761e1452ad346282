// The GDI canvas's 3D solids drawn into a 32-bit DIB, flat (2D, where the projection is the
// identity) and in the orthogonal 3D view (depth goes up and to the right, one pixel a unit):
// which faces show, where they land and in which colours, with the brush and its darkened
// sides.
#include <gtest/gtest.h>

#include <string>

#include "CanvasTestSupport.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/View3DOptions.h"

namespace {

int R(TColor c) { return c & 0xFF; }
int G(TColor c) { return (c >> 8) & 0xFF; }
int B(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor kBrush = static_cast<TColor>(RGB(0, 0, 200));

class SolidsTest : public GdiCanvasTest {
 protected:
  void SetUp() override {
    GdiCanvasTest::SetUp();
    canvas->Pen()->Hide();
    canvas->Brush()->SetColor(kBrush);
  }
  // An unbuffered orthogonal 3D frame over the whole surface: (x, y, z) lands at (x + z, y - z).
  void Ortho() {
    TRect drawRect;
    canvas->PrepareFrame(surface->Canvas(), &options, clWhite, true, TRect(0, 0, 200, 120), drawRect);
    canvas->SetProjectionRect(40, drawRect, TRect(0, 0, 200, 120));
    ASSERT_EQ(canvas->Project3D(50, 50, 10), TPoint(60, 40));
  }
  bool Blank(int x, int y) { return surface->Pixel(x, y) == clWhite; }
  TView3DOptions options;
};

TEST_F(SolidsTest, FlatBoxIsItsRectangle) {
  canvas->DrawBox3D(40, 80, 30, 70, 0, 10, true);
  EXPECT_EQ(surface->BoundsOf(kBrush), TRect(40, 30, 80, 70));
  EXPECT_EQ(surface->Count(kBrush), 40 * 40) << "only the front shows, unshaded";
}

// Seen from above and the right: front, right side and top show; the sides are shaded toward
// the brush colour darkened by 128 (right) and 64 (top); nothing lies left of or below the front.
TEST_F(SolidsTest, BoxInThreeDShowsFrontRightAndTopWithDarkSides) {
  Ortho();
  canvas->DrawBox3D(40, 80, 30, 70, 0, 20, true);
  EXPECT_EQ(surface->Pixel(60, 50), kBrush) << "front";
  const TColor right = surface->Pixel(90, 45);
  EXPECT_EQ(R(right) + G(right), 0);
  EXPECT_LT(B(right), 200);
  EXPECT_GE(B(right), 200 - 128) << "right side between the colour and its 128-darker shade";
  const TColor top = surface->Pixel(70, 20);
  EXPECT_EQ(R(top) + G(top), 0);
  EXPECT_LE(B(top), 200);
  EXPECT_GE(B(top), 200 - 64) << "top between the colour and its 64-darker shade";
  EXPECT_TRUE(Blank(38, 50)) << "left of the front";
  EXPECT_TRUE(Blank(60, 72)) << "below the front";
  EXPECT_EQ(surface->InkBounds(), TRect(40, 10, 100, 70));
  EXPECT_FALSE(canvas->Brush()->Gradient()->Visible()) << "the shading gradient is hidden again";
}

// With a clear brush every face considered is outlined, the hidden ones too.
TEST_F(SolidsTest, ClearBrushBoxOutlinesEveryFace) {
  Ortho();
  canvas->Pen()->SetVisible(true);
  canvas->Pen()->SetColor(clBlack);
  canvas->Brush()->SetStyle(bsClear);
  canvas->DrawBox3D(40, 80, 30, 70, 0, 20, false);
  EXPECT_EQ(surface->Pixel(60, 20), clBlack) << "the left side's back edge";
  EXPECT_EQ(surface->Pixel(70, 50), clBlack) << "the bottom's back edge";
  EXPECT_TRUE(Blank(70, 40)) << "nothing is filled";
  surface->Clear();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->DrawBox3D(40, 80, 30, 70, 0, 20, false);
  EXPECT_EQ(surface->Pixel(70, 50), kBrush) << "a solid front hides the bottom edge";
}

TEST_F(SolidsTest, PyramidShowsFrontAndDarkRightSideAndRestoresTheBrush) {
  Ortho();
  canvas->DrawPyramid3D(true, 40, 20, 80, 80, 0, 20, true);
  // Apex (70, 10); front (40, 80)-(80, 80)-apex; right side (80, 80)-apex-(100, 60).
  EXPECT_EQ(surface->Pixel(60, 70), kBrush) << "front";
  EXPECT_EQ(surface->Pixel(85, 60), static_cast<TColor>(RGB(0, 0, 72))) << "right side, 128 darker";
  EXPECT_TRUE(Blank(45, 50)) << "left of the front";
  EXPECT_TRUE(Blank(70, 82)) << "no base below";
  EXPECT_EQ(canvas->Brush()->Color(), kBrush);
}

TEST_F(SolidsTest, PyramidWithTopEqualBottomDrawsOnlyItsBase) {
  Ortho();
  canvas->DrawPyramid3D(true, 40, 70, 80, 70, 0, 20, false);
  // The base at y = 70: (40, 70), (80, 70), (100, 50), (60, 50).
  EXPECT_EQ(surface->Pixel(70, 60), kBrush);
  const TRect ink = surface->InkBounds();
  EXPECT_GE(ink.Top, 50);
  EXPECT_LE(ink.Bottom, 71);
}

TEST_F(SolidsTest, HorizontalPyramidShowsItsUpperSide) {
  Ortho();
  canvas->DrawPyramid3D(false, 40, 40, 100, 80, 0, 20, true);
  // Base at x = 40; apex (110, 50); the upper side (40, 40)-(60, 20)-apex comes before the
  // darkening; the lower side and the base at the left stay hidden.
  EXPECT_EQ(surface->Pixel(50, 60), kBrush) << "front";
  EXPECT_EQ(surface->Pixel(65, 33), kBrush) << "upper side";
  EXPECT_TRUE(Blank(70, 75)) << "below the front";
  EXPECT_TRUE(Blank(38, 50)) << "left of the base edge";
  EXPECT_EQ(canvas->Brush()->Color(), kBrush);
}

// A flat cylinder is its rectangle filled with the side gradient, which stays on afterwards:
// left-right, from the brush colour at the right to 64 darker at the left.
TEST_F(SolidsTest, FlatCylinderLeavesItsSideGradientOn) {
  canvas->DrawCylinder3D(true, 40, 30, 80, 70, 0, 20, false);
  TKelGradient* g = canvas->Brush()->Gradient();
  EXPECT_TRUE(g->Visible());
  EXPECT_EQ(g->Direction(), KelCanvas::gdLeftRight);
  EXPECT_EQ(g->StartColor(), kBrush);
  EXPECT_EQ(g->EndColor(), DarkenRGB(kBrush, 64));
  EXPECT_EQ(g->MidColor(), clNone);
  EXPECT_TRUE(Blank(38, 50));
  EXPECT_FALSE(Blank(42, 50));
  EXPECT_GT(B(surface->Pixel(78, 50)), B(surface->Pixel(42, 50))) << "lighter at the right";
  const TRect ink = surface->InkBounds();
  EXPECT_NEAR(ink.Left, 40, 1);
  EXPECT_NEAR(ink.Right, 80, 1);
  EXPECT_NEAR(ink.Top, 30, 1);
  EXPECT_NEAR(ink.Bottom, 70, 1);
}

// With dark sides the side runs from 64 lighter to 128 darker and never hits the plain brush
// colour; only the top ring (drawn first, with the plain brush) does.
TEST_F(SolidsTest, UprightCylinderDrawsTopRingThenSideAndNoBase) {
  Ortho();
  canvas->DrawCylinder3D(true, 40, 30, 80, 90, 0, 20, true);
  EXPECT_GT(surface->Count(kBrush), 0) << "the top ring shows behind the side";
  EXPECT_EQ(surface->Count(kBrush, TRect(0, 60, 200, 120)), 0) << "no base ring at the bottom";
  surface->Clear();
  canvas->Brush()->Gradient()->SetVisible(false);
  canvas->DrawCylinder3D(true, 40, 90, 80, 30, 0, 20, true);
  EXPECT_EQ(surface->Count(kBrush), 0) << "upside down: side, then the base ring with the gradient";
  EXPECT_FALSE(surface->InkBounds().IsEmpty());
}

TEST_F(SolidsTest, ConeWithoutTopClosesAtTheApex) {
  canvas->DrawCone3D(true, 40, 30, 80, 70, 0, 20, false, 0);
  EXPECT_FALSE(Blank(60, 40)) << "under the apex";
  EXPECT_FALSE(Blank(45, 68)) << "near the base";
  EXPECT_TRUE(Blank(44, 34)) << "beside the apex";
  EXPECT_TRUE(Blank(76, 34));
}

TEST_F(SolidsTest, FlatSkewedBoxIsATrapezoid) {
  canvas->DrawSkewedBox3DF(TRectFloat{40, 20, 80, 80}, true, 10, 10, 10, 0, true);
  EXPECT_FALSE(Blank(60, 30)) << "under the narrow top";
  EXPECT_FALSE(Blank(43, 77)) << "the wide bottom";
  EXPECT_TRUE(Blank(43, 24)) << "outside the slanted side";
  EXPECT_TRUE(Blank(77, 24));
}

TEST_F(SolidsTest, SkewedBoxWithoutWidthOrDepthDrawsOneSideAtMost) {
  Ortho();
  canvas->DrawSkewedBox3DF(TRectFloat{40, 20, 80, 80}, true, 10, 10, 0, 0, true);
  // Side (a): apex (70, 10) over the bottom edge (50, 70)-(90, 70); the bottom cap is flat.
  EXPECT_FALSE(Blank(70, 50));
  const TRect ink = surface->InkBounds();
  EXPECT_GE(ink.Left, 49);
  EXPECT_LE(ink.Right, 91);
  EXPECT_GE(ink.Top, 9);
  EXPECT_LE(ink.Bottom, 71);
}

TEST_F(SolidsTest, BitmapOnAPlaneDrawsOneCellPerPixel) {
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(2, 2);
  picture.Canvas()->SetPixel(0, 0, clRed);
  picture.Canvas()->SetPixel(1, 0, clLime);
  picture.Canvas()->SetPixel(0, 1, clBlue);
  picture.Canvas()->SetPixel(1, 1, clYellow);
  canvas->DrawBitmap3D(TRect(20, 30, 30, 40), &picture, 0, 2);
  EXPECT_EQ(surface->Count(clRed, TRect(20, 30, 25, 35)), 25);
  EXPECT_EQ(surface->Count(clLime, TRect(25, 30, 30, 35)), 25);
  EXPECT_EQ(surface->Count(clBlue, TRect(20, 35, 25, 40)), 25);
  EXPECT_EQ(surface->Count(clYellow, TRect(25, 35, 30, 40)), 25);
  EXPECT_EQ(surface->InkBounds(), TRect(20, 30, 30, 40));
  EXPECT_EQ(picture.PixelFormat(), pf32bit) << "the caller's bitmap keeps its format";
}

TEST_F(SolidsTest, BitmapOnTheDepthPlaneRunsAlongTheDepth) {
  Ortho();
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(1, 1);
  picture.Canvas()->SetPixel(0, 0, clRed);
  // Plane 1: at y = 60, rect X across, rect Y into the depth 0..20.
  canvas->DrawBitmap3D(TRect(40, 0, 80, 20), &picture, 60, 1);
  const TRect ink = surface->BoundsOf(clRed);
  EXPECT_NEAR(ink.Left, 40, 1);
  EXPECT_NEAR(ink.Top, 40, 1);
  EXPECT_NEAR(ink.Right, 100, 1);
  EXPECT_NEAR(ink.Bottom, 60, 1);
}

// A flat slice of the lower half with thickness: the top face in the brush colour, the curved
// front side below it 32 darker.
TEST_F(SolidsTest, PieSliceShowsItsFrontSideDarkened) {
  const double pi = 3.14159265358979;
  canvas->DrawPieSlice3D(100, 50, 40, 30, 0, 10, pi, 2 * pi, true, true, 0, nullptr, 0, 2, 0, 0, true, false);
  EXPECT_EQ(surface->Pixel(100, 70), kBrush) << "top face";
  EXPECT_EQ(surface->Pixel(100, 85), static_cast<TColor>(RGB(0, 0, 168))) << "front side";
  EXPECT_TRUE(Blank(100, 35)) << "the upper half is not part of the slice";
  EXPECT_EQ(canvas->Brush()->Color(), kBrush);
}

// A full slice of radii 50 × 40, 10 thick, with a bevel of 200 percent (inset 20: bevel ellipse
// 30 × 20): the ring between the rim and the bevel ellipse is lightened or darkened by
// BevelBright, outlined only with BevelBorder, and brush and pen come back unchanged.
TEST_F(SolidsTest, PieBevelBandIsLightenedOrDarkened) {
  const double pi = 3.14159265358979;
  struct Case {
    const char* name;
    int bright;
    bool border;
    TColor band;
  } cases[] = {
      {"lightened", 64, false, static_cast<TColor>(RGB(64, 64, 255))},
      {"darkened", -64, false, static_cast<TColor>(RGB(0, 0, 136))},
      {"unchanged", 0, false, kBrush},
      {"with border", 64, true, static_cast<TColor>(RGB(64, 64, 255))},
  };
  for (const Case& c : cases) {
    surface->Clear();
    canvas->Pen()->SetVisible(true);
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psSolid);
    canvas->DrawPieSlice3D(100, 60, 50, 40, 0, 10, 0, 2 * pi, false, false, 0, nullptr, 200, 2, 0, c.bright,
                           c.border, false);
    EXPECT_EQ(surface->Pixel(95, 55), kBrush) << c.name << ": inside the bevel";
    EXPECT_EQ(surface->Pixel(140, 55), c.band) << c.name << ": the band on the right";
    EXPECT_EQ(surface->Pixel(60, 60), c.band) << c.name << ": the band on the left";
    EXPECT_EQ(surface->Pixel(100, 30), c.band) << c.name << ": the band at the top";
    // The bevel ellipse's own edge at its top (y = 40).
    EXPECT_EQ(surface->Count(clBlack, TRect(95, 36, 106, 45)) > 0, c.border) << c.name << ": the bevel outline";
    EXPECT_EQ(canvas->Brush()->Color(), kBrush) << c.name;
    EXPECT_EQ(canvas->Pen()->Style(), psSolid) << c.name;
  }
}

TEST_F(SolidsTest, TransparentPieSliceBlendsAndClosesItsGroup) {
  const double pi = 3.14159265358979;
  canvas->DrawPieSlice3D(100, 50, 40, 30, 0, 0, 0, pi / 2, false, true, 0, nullptr, 0, 2, 50, 0, true, false);
  const TColor c = surface->Pixel(115, 40);
  EXPECT_NEAR(B(c), 228, 3) << "half of 200 and half of white";
  EXPECT_NEAR(R(c), 128, 3);
  EXPECT_TRUE(Blank(85, 60));
  EXPECT_TRUE(canvas->TransparencyStack.empty());
  EXPECT_EQ(canvas->CurrentTransparency, 0);
}

// Each triangle takes its first colour; with a blend each is laid over its own snapshot.
TEST_F(SolidsTest, TriangleSurfaceBlendsEachTriangle) {
  auto surfaceOf = [](int i, std::array<TPoint3D, 3>& points, std::array<TColor, 3>& colors) {
    const int x = i == 1 ? 20 : 100;
    points = {TPoint3D{x, 20, 0}, TPoint3D{x + 60, 20, 0}, TPoint3D{x, 80, 0}};
    colors = {i == 1 ? clRed : clBlue, clBlack, clBlack};
  };
  canvas->DrawTriangleSurface(2, nullptr, 0, surfaceOf);
  EXPECT_EQ(surface->Pixel(30, 30), static_cast<TColor>(clRed));
  EXPECT_EQ(surface->Pixel(110, 30), static_cast<TColor>(clBlue));
  EXPECT_TRUE(Blank(75, 75)) << "outside both";
  surface->Clear();
  TKelBlend blend(canvas.get(), TRect(0, 0, 1, 1));
  canvas->DrawTriangleSurface(2, &blend, 50, surfaceOf);
  const TColor red = surface->Pixel(30, 30);
  EXPECT_NEAR(R(red), 255, 2);
  EXPECT_NEAR(G(red), 128, 3);
  const TColor blue = surface->Pixel(110, 30);
  EXPECT_NEAR(B(blue), 255, 2);
  EXPECT_NEAR(R(blue), 128, 3);
}

TEST_F(SolidsTest, EllipseAtDepthIsInclusiveFlatAndAPolygonInThreeD) {
  canvas->EllipseAtZ(40, 30, 80, 70, 10);
  EXPECT_EQ(surface->BoundsOf(kBrush), TRect(40, 30, 81, 71)) << "flat: right and bottom included";
  surface->Clear();
  // Orthogonal: the ellipse of the two projected corners.
  Ortho();
  canvas->EllipseAtZ(40, 30, 80, 70, 10);
  EXPECT_EQ(surface->BoundsOf(kBrush), TRect(50, 20, 90, 60));
  // Rotated 3D looking straight on: the 180-point polygon, its corners left open.
  surface->Clear();
  canvas->IsOrthogonal = false;
  canvas->EllipseAtZ(40, 30, 80, 70, 10);
  const TRect ink = surface->BoundsOf(kBrush);
  EXPECT_NEAR(ink.Left, 40, 1);
  EXPECT_NEAR(ink.Top, 30, 1);
  EXPECT_NEAR(ink.Right, 80, 1);
  EXPECT_NEAR(ink.Bottom, 70, 1);
  EXPECT_TRUE(Blank(42, 32)) << "a corner of the bounds";
}

TEST(ArrowPolygon, SevenCornersAlongTheArrow) {
  const TPointArray p = TKelCanvas::BuildArrowPolygon(TPoint(10, 50), TPoint(110, 50), 20, 20, 50);
  const TPointArray expected{TPoint(10, 55), TPoint(10, 45), TPoint(90, 45), TPoint(90, 40),
                             TPoint(110, 50), TPoint(90, 60), TPoint(90, 55)};
  EXPECT_EQ(p, expected);
  // The head never grows past the arrow's length.
  const TPointArray shortArrow = TKelCanvas::BuildArrowPolygon(TPoint(10, 50), TPoint(20, 50), 40, 20, 50);
  ASSERT_EQ(shortArrow.size(), 7u);
  EXPECT_EQ(shortArrow[3], TPoint(10, 40));
  EXPECT_TRUE(TKelCanvas::BuildArrowPolygon(TPoint(7, 7), TPoint(7, 7), 10, 10, 50).empty());
}

TEST_F(SolidsTest, ArrowToItsOwnStartDrawsNothing) {
  canvas->Pen()->SetVisible(true);
  canvas->DrawArrow3D(true, TPoint(50, 50), TPoint(50, 50), 20, 20, 0, 0, 50);
  canvas->DrawArrow3D(false, TPoint(50, 50), TPoint(50, 50), 20, 20, 0, 0, 50);
  EXPECT_TRUE(surface->InkBounds().IsEmpty());
  canvas->DrawArrow3D(true, TPoint(10, 50), TPoint(110, 50), 20, 20, 0, 0, 50);
  EXPECT_EQ(surface->Pixel(50, 50), kBrush);
  EXPECT_EQ(surface->Pixel(100, 50), kBrush) << "head";
  EXPECT_TRUE(Blank(50, 58)) << "beside the body";
}

// In 3D the box clip is the convex outline of its projected corners.
TEST_F(SolidsTest, BoxClipInThreeDIsTheProjectedHull) {
  Ortho();
  TPointArray hull;
  ASSERT_TRUE(canvas->ProjectBoxHull(TRect(40, 30, 80, 70), 0, 20, hull));
  EXPECT_EQ(BoundsOfPoints(hull), TRect(40, 10, 101, 71));
  EXPECT_EQ(hull.size(), 6u) << "the two hidden corners fall inside";
  canvas->ClipToBox3D(TRect(40, 30, 80, 70), 0, 20);
  canvas->FillRect(TRect(0, 0, 200, 120));
  canvas->PopClip();
  EXPECT_EQ(surface->Pixel(60, 50), kBrush);
  EXPECT_EQ(surface->Pixel(90, 30), kBrush) << "over the right side";
  EXPECT_TRUE(Blank(45, 15)) << "left of the top's slant";
  EXPECT_TRUE(Blank(95, 65)) << "right of the bottom's slant";
}

}  // namespace
