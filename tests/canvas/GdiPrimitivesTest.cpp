// The GDI canvas's 2D primitives drawn into a 32-bit DIB: the device pen made from the chart
// pen (read back through its EXTLOGPEN), pies and arcs by angle, bevel frames, check boxes,
// corner paths, fills, and transparency groups.
#include <gtest/gtest.h>

#include <vector>

#include "CanvasTestSupport.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPath.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"

namespace {

// The pen currently selected for drawing, read back from the device context.
struct DevicePenInfo {
  DWORD style = 0;
  DWORD width = 0;
  COLORREF color = 0;
  std::vector<DWORD> entries;
  bool extended = false;
};

DevicePenInfo SelectedPen(TKelCanvas3D& canvas) {
  HDC dc = canvas.PreparedDC();
  HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  DevicePenInfo info;
  const int size = GetObjectW(pen, 0, nullptr);
  if (size > static_cast<int>(sizeof(LOGPEN))) {
    std::vector<unsigned char> bytes(size);
    GetObjectW(pen, size, bytes.data());
    const auto* ext = reinterpret_cast<const EXTLOGPEN*>(bytes.data());
    info.extended = true;
    info.style = ext->elpPenStyle;
    info.width = ext->elpWidth;
    info.color = ext->elpColor;
    info.entries.assign(ext->elpStyleEntry, ext->elpStyleEntry + ext->elpNumEntries);
  } else {
    LOGPEN plain{};
    GetObjectW(pen, sizeof(plain), &plain);
    info.style = plain.lopnStyle;
    info.width = plain.lopnWidth.x;
    info.color = plain.lopnColor;
  }
  return info;
}

struct PenCase {
  const char* name;
  std::function<void(TKelPen&)> setUp;
  bool extended;
  DWORD style;
  DWORD width;
  std::vector<DWORD> entries;
};

class PenMappingTest : public GdiCanvasTest, public testing::WithParamInterface<PenCase> {};

TEST_P(PenMappingTest, DevicePenFollowsTheChartPen) {
  const PenCase& c = GetParam();
  TKelPen pen;
  pen.SetColor(clRed);
  c.setUp(pen);
  canvas->UsePen(&pen);
  const DevicePenInfo info = SelectedPen(*canvas);
  EXPECT_EQ(info.extended, c.extended);
  EXPECT_EQ(info.style, c.style) << std::hex << info.style;
  EXPECT_EQ(info.width, c.width);
  EXPECT_EQ(info.entries, c.entries);
  if (c.style != PS_NULL) {
    EXPECT_EQ(info.color, RGB(255, 0, 0));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PenMappingTest,
    testing::Values(
        PenCase{"SmallDotsNoSpace",
                [](TKelPen& p) {
                  p.SetSmallDots(true);
                  p.SetWidth(4);
                },
                true, PS_COSMETIC | PS_ALTERNATE, 1, {}},
        PenCase{"SmallDotsSpaced",
                [](TKelPen& p) {
                  p.SetSmallDots(true);
                  p.SetSmallSpace(2);
                },
                true, PS_GEOMETRIC | PS_USERSTYLE, 1, {0, 3}},
        PenCase{"WideSquareBevelDash",
                [](TKelPen& p) {
                  p.SetWidth(3);
                  p.SetEndStyle(esSquare);
                  p.SetJoinStyle(jsBevel);
                  p.SetStyle(psDash);
                },
                true, 0x10000 | 0x100 | 0x1000 | 1, 3, {}},
        PenCase{"WideFlatMiterSolid",
                [](TKelPen& p) {
                  p.SetWidth(5);
                  p.SetEndStyle(esFlat);
                  p.SetJoinStyle(jsMitter);
                },
                true, PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 5, {}},
        PenCase{"ThinDot", [](TKelPen& p) { p.SetStyle(psDot); }, false, PS_DOT, 1, {}},
        PenCase{"Hidden", [](TKelPen& p) { p.Hide(); }, false, PS_NULL, 1, {}}),
    [](const testing::TestParamInfo<PenCase>& info) { return std::string(info.param.name); });

TEST_F(GdiCanvasTest, WidePenModeSetsTheRasterOperationUnlessRound) {
  TKelPen pen;
  pen.SetWidth(3);
  pen.SetEndStyle(esSquare);
  pen.SetMode(pmXor);
  HDC dc = canvas->PreparedDC();
  SetROP2(dc, R2_COPYPEN);
  canvas->ApplyPenMode(&pen);
  EXPECT_EQ(GetROP2(dc), R2_XORPEN);
  SetROP2(dc, R2_COPYPEN);
  pen.SetEndStyle(esRound);
  canvas->ApplyPenMode(&pen);
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
}

// The pen's mix mode reaches the device whatever the width and end style: a thin pen in pmXor or
// pmNotXor mixes with what lies under it just as a wide one does (the zoom rectangle and other
// rubber bands rely on it), and pmCopy covers it.
TEST_F(GdiCanvasTest, PenModeMixesWithTheBackgroundAtEveryWidth) {
  struct Shape {
    const char* name;
    int width;
    TPenEndStyle end;
  };
  struct Mode {
    const char* name;
    TPenMode mode;
    unsigned (*mix)(unsigned pen, unsigned back);
  };
  const Shape shapes[] = {{"thin", 1, esRound}, {"thin square", 1, esSquare}, {"wide round", 3, esRound},
                          {"wide square", 3, esSquare}};
  const Mode modes[] = {
      {"copy", pmCopy, [](unsigned p, unsigned) { return p; }},
      {"xor", pmXor, [](unsigned p, unsigned b) { return p ^ b; }},
      {"not xor", pmNotXor, [](unsigned p, unsigned b) { return ~(p ^ b) & 0xFFFFFFu; }},
      {"not", pmNot, [](unsigned, unsigned b) { return ~b & 0xFFFFFFu; }},
      {"mask", pmMask, [](unsigned p, unsigned b) { return p & b; }},
      {"merge", pmMerge, [](unsigned p, unsigned b) { return p | b; }},
  };
  const unsigned back = 0x336699, pen = 0x00F00F;
  for (const Shape& shape : shapes) {
    for (const Mode& mode : modes) {
      surface->Clear(static_cast<TColor>(back));
      canvas->Brush()->SetStyle(bsClear);
      canvas->Pen()->SetColor(static_cast<TColor>(pen));
      canvas->Pen()->SetWidth(shape.width);
      canvas->Pen()->SetEndStyle(shape.end);
      canvas->Pen()->SetMode(mode.mode);
      canvas->Rectangle(20, 20, 120, 80);
      const std::string name = std::string(shape.name) + ", " + mode.name;
      EXPECT_EQ(static_cast<unsigned>(surface->Pixel(20, 50)), mode.mix(pen, back)) << name;
      EXPECT_EQ(static_cast<unsigned>(surface->Pixel(70, 20)), mode.mix(pen, back)) << name;
      EXPECT_EQ(static_cast<unsigned>(surface->Pixel(70, 50)), back) << name << ": the clear brush leaves the inside";
    }
  }
  // Drawn twice in xor the rectangle is gone: the thin band is the rubber band's way.
  surface->Clear(static_cast<TColor>(back));
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetMode(pmNotXor);
  canvas->Rectangle(20, 20, 120, 80);
  canvas->Rectangle(20, 20, 120, 80);
  EXPECT_EQ(surface->Count(static_cast<TColor>(back)), 200 * 120);
  canvas->Pen()->SetMode(pmCopy);
}

TEST_F(GdiCanvasTest, InvisiblePenDrawsNothing) {
  canvas->Pen()->SetColor(clRed);
  canvas->Pen()->Hide();
  canvas->Brush()->SetStyle(bsClear);
  canvas->Rectangle(10, 10, 50, 50);
  EXPECT_EQ(surface->Count(clRed), 0);
}

struct PieCase {
  const char* name;
  double start, end;
  // Probes relative to the centre (100, 60) of the ellipse box (60, 20)-(140, 100).
  std::vector<TPoint> filled;
  std::vector<TPoint> empty;
};

class PieByAnglesTest : public GdiCanvasTest, public testing::WithParamInterface<PieCase> {};

TEST_P(PieByAnglesTest, FillsTheSweep) {
  const PieCase& c = GetParam();
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->PieByAngles(TRect(60, 20, 140, 100), c.start, c.end);
  for (const TPoint& p : c.filled) EXPECT_EQ(surface->Pixel(100 + p.X, 60 + p.Y), clBlue) << p.X << "," << p.Y;
  for (const TPoint& p : c.empty) EXPECT_EQ(surface->Pixel(100 + p.X, 60 + p.Y), clWhite) << p.X << "," << p.Y;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PieByAnglesTest,
    testing::Values(PieCase{"FullCircleFromNearly360", 0, 359.97, {{20, 0}, {-20, 0}, {0, 20}, {0, -20}, {20, 20}}, {}},
                    PieCase{"UpperRightQuarter", 0, 90, {{15, -15}, {30, -5}}, {{-15, -15}, {-15, 15}, {15, 15}}},
                    PieCase{"LeftHalf", 90, 270, {{-20, -10}, {-20, 10}}, {{20, -10}, {20, 10}}}),
    [](const testing::TestParamInfo<PieCase>& info) { return std::string(info.param.name); });

TEST_F(GdiCanvasTest, PieByEqualAnglesDrawsALineToTheRightEdge) {
  canvas->Pen()->SetColor(clRed);
  canvas->PieByAngles(TRect(60, 20, 140, 100), 10, 10);
  const TRect ink = surface->BoundsOf(clRed);
  EXPECT_EQ(ink.Left, 100);
  EXPECT_EQ(ink.Right, 140);
  EXPECT_EQ(surface->Count(clBlue), 0);
}

TEST_F(GdiCanvasTest, PieWithEqualRadialPointsDrawsNothing) {
  canvas->Pen()->SetColor(clRed);
  canvas->Brush()->SetColor(clBlue);
  canvas->Pie(10, 10, 90, 90, 90, 50, 90, 50);
  EXPECT_EQ(surface->InkBounds(), TRect());
}

struct ArcCase {
  const char* name;
  float a1, a2;
  TRect inked;  // quadrant box where the arc's pixels lie (ellipse (20, 20)-(100, 100))
};

class ArcByAnglesTest : public GdiCanvasTest, public testing::WithParamInterface<ArcCase> {};

TEST_P(ArcByAnglesTest, RunsCounterClockwiseFromTheSmallerAngle) {
  canvas->Pen()->SetColor(clRed);
  canvas->ArcByAngles(20, 20, 100, 100, GetParam().a1, GetParam().a2);
  const TRect ink = surface->BoundsOf(clRed);
  const TRect& q = GetParam().inked;
  EXPECT_GE(ink.Left, q.Left);
  EXPECT_LE(ink.Right, q.Right);
  EXPECT_GE(ink.Top, q.Top);
  EXPECT_LE(ink.Bottom, q.Bottom);
  EXPECT_GT(surface->Count(clRed), 20);
}

INSTANTIATE_TEST_SUITE_P(Cases, ArcByAnglesTest,
                         testing::Values(ArcCase{"FirstQuadrant", 0, 90, TRect(59, 19, 102, 62)},
                                         ArcCase{"SwappedAngles", 90, 0, TRect(59, 19, 102, 62)},
                                         ArcCase{"ThirdQuadrant", 180, 270, TRect(19, 59, 62, 102)}),
                         [](const testing::TestParamInfo<ArcCase>& info) { return std::string(info.param.name); });

struct BevelCase {
  int width;
  TRect after;
};

class BevelFrameTest : public GdiCanvasTest, public testing::WithParamInterface<BevelCase> {};

TEST_P(BevelFrameTest, DrawsNestedFramesAndInsetsTheRect) {
  TRect r(0, 0, 10, 10);
  canvas->DrawBevelFrame(r, clRed, clBlue, GetParam().width);
  EXPECT_EQ(r, GetParam().after);
  EXPECT_EQ(canvas->Pen()->Color(), clBlue);
  EXPECT_EQ(canvas->Pen()->Width(), 1);
  for (int i = 0; i < GetParam().width; ++i) {
    EXPECT_EQ(surface->Pixel(i, 5), clRed) << "left edge " << i;
    EXPECT_EQ(surface->Pixel(5, i), clRed) << "top edge " << i;
    EXPECT_EQ(surface->Pixel(9 - i, 5), clBlue) << "right edge " << i;
    EXPECT_EQ(surface->Pixel(5, 9 - i), clBlue) << "bottom edge " << i;
  }
  EXPECT_EQ(surface->Pixel(GetParam().width, 5), clWhite);
}

INSTANTIATE_TEST_SUITE_P(Widths, BevelFrameTest,
                         testing::Values(BevelCase{1, TRect(1, 1, 9, 9)}, BevelCase{2, TRect(2, 2, 8, 8)},
                                         BevelCase{3, TRect(3, 3, 7, 7)}));

TEST_F(GdiCanvasTest, CheckBoxDrawsInsideItsThirteenPixels) {
  canvas->DrawCheckBox(30, 40, true, 0, true);
  const TRect ink = surface->InkBounds();
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, 30);
  EXPECT_GE(ink.Top, 40);
  EXPECT_LE(ink.Right, 43);
  EXPECT_LE(ink.Bottom, 53);
}

TEST_F(GdiCanvasTest, VisibleGradientReplacesTheSolidBrush) {
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->Brush()->Gradient()->SetStartColor(clLime);
  canvas->Brush()->Gradient()->SetEndColor(clRed);
  canvas->Brush()->Gradient()->SetVisible(true);
  canvas->Rectangle(10, 10, 40, 40);
  EXPECT_EQ(surface->Pixel(20, 39), clLime) << "top-bottom: the start colour lies at the bottom";
  EXPECT_EQ(surface->Pixel(20, 10), clRed);
  EXPECT_EQ(surface->Count(clBlue), 0);
  canvas->Brush()->Gradient()->SetVisible(false);
  canvas->Rectangle(50, 10, 80, 40);
  EXPECT_EQ(surface->Pixel(60, 20), clBlue) << "a hidden gradient fills with the solid brush";
}

TEST_F(GdiCanvasTest, CornerPathWithoutRoundingIsThePlainRectangle) {
  TKelCorners corners;
  for (TKelCorner* c : {corners.LeftTop(), corners.RightTop(), corners.LeftBottom(), corners.RightBottom()}) {
    c->SetStyle(cosNone);
  }
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->DrawCorneredRect(TRect(20, 20, 80, 60), 16, 16, &corners);
  EXPECT_EQ(surface->Pixel(20, 20), clBlue);
  EXPECT_EQ(surface->Pixel(79, 59), clBlue);
  EXPECT_EQ(surface->Pixel(50, 40), clBlue);
}

TEST_F(GdiCanvasTest, RoundCornerPathCutsTheCorners) {
  TKelCorners corners;
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->DrawCorneredRect(TRect(20, 20, 100, 80), 30, 30, &corners);
  EXPECT_EQ(surface->Pixel(60, 50), clBlue);
  EXPECT_EQ(surface->Pixel(21, 21), clWhite);
  EXPECT_EQ(surface->Pixel(98, 78), clWhite);
  EXPECT_EQ(surface->Pixel(60, 21), clBlue) << "the straight edges stay";
}

TEST_F(GdiCanvasTest, MixedCornersFillAsOneShape) {
  TKelCorners corners;
  corners.LeftTop()->SetStyle(cosBevel);
  corners.RightBottom()->SetStyle(cosNone);
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->DrawCorneredRect(TRect(20, 20, 100, 80), 30, 30, &corners);
  EXPECT_EQ(surface->Pixel(60, 50), clBlue);
  EXPECT_EQ(surface->Pixel(98, 78), clBlue) << "square corner";
  EXPECT_EQ(surface->Pixel(22, 22), clWhite) << "bevelled corner";
  EXPECT_EQ(surface->Pixel(22, 60), clBlue);
  EXPECT_EQ(surface->Pixel(21, 78), clWhite) << "round corner";
  EXPECT_EQ(surface->Pixel(60, 78), clBlue);
}

TEST_F(GdiCanvasTest, NestedTransparencyGroupsMultiplyOpacities) {
  TKelBlend* outer = canvas->StartTransparency(TRect(0, 0, 10, 10), 50);
  TKelBlend* inner = canvas->StartTransparency(TRect(0, 0, 10, 10), 50);
  EXPECT_EQ(canvas->CurrentTransparency, 75);
  canvas->FinishTransparency(inner);
  EXPECT_EQ(canvas->CurrentTransparency, 50);
  canvas->FinishTransparency(outer);
  EXPECT_EQ(canvas->CurrentTransparency, 0);
}

struct TransparencyCase {
  int percent;
  TColor expected;  // red drawn over white
};

class TransparencyGroupTest : public GdiCanvasTest, public testing::WithParamInterface<TransparencyCase> {};

TEST_P(TransparencyGroupTest, BlendsTheSnapshotBack) {
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clRed);
  TKelBlend* blend = canvas->StartTransparency(TRect(10, 10, 50, 50), static_cast<std::uint8_t>(GetParam().percent));
  canvas->Rectangle(10, 10, 50, 50);
  canvas->FinishTransparency(blend);
  const TColor c = surface->Pixel(30, 30);
  const TColor e = GetParam().expected;
  EXPECT_NEAR(GetRValue(c), GetRValue(e), 3);
  EXPECT_NEAR(GetGValue(c), GetGValue(e), 3);
  EXPECT_NEAR(GetBValue(c), GetBValue(e), 3);
}

INSTANTIATE_TEST_SUITE_P(Percents, TransparencyGroupTest,
                         testing::Values(TransparencyCase{0, clRed}, TransparencyCase{100, clWhite},
                                         TransparencyCase{50, RGB(255, 127, 127)}));

TEST_F(GdiCanvasTest, BlendingPathsAgree) {
  TBitmap source, viaAlpha, perPixel, mask;
  for (TBitmap* b : {&source, &viaAlpha, &perPixel}) {
    b->SetPixelFormat(pf24bit);
    b->SetSize(8, 8);
  }
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 8, 8};
  FillRect(source.Canvas()->Handle(), &all, red);
  DeleteObject(red);
  BlendBitmaps(&source, &viaAlpha, TPoint(0, 0), 40, nullptr);
  mask.SetPixelFormat(pf24bit);
  mask.SetSize(8, 8);
  const int k = 154;  // round(60 × 2.56)
  HBRUSH grey = CreateSolidBrush(RGB(k, k, k));
  FillRect(mask.Canvas()->Handle(), &all, grey);
  DeleteObject(grey);
  BlendBitmaps(&source, &perPixel, TPoint(0, 0), 40, &mask);
  GdiFlush();
  const auto* a = static_cast<const unsigned char*>(viaAlpha.ScanLine(4));
  const auto* b = static_cast<const unsigned char*>(perPixel.ScanLine(4));
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[12 + i], b[12 + i], 3) << i;
}

}  // namespace

namespace {

// A 4 × 4 bitmap, red with a white bottom row (white is its transparent colour: bottom-left).
void MakeTransparentBitmap(TBitmap& b) {
  b.SetPixelFormat(pf24bit);
  b.SetSize(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) b.Canvas()->SetPixel(x, y, y == 3 ? clWhite : clRed);
  }
  b.SetTransparent(true);
}

TEST_F(GdiCanvasTest, TransparentGraphicsShowTheBackground) {
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect(TRect(0, 0, 100, 100));
  TBitmap b;
  MakeTransparentBitmap(b);
  canvas->DrawGraphic(10, 10, &b);
  EXPECT_EQ(surface->Pixel(11, 11), clRed);
  EXPECT_EQ(surface->Pixel(11, 13), clBlue) << "the transparent row";
  canvas->StretchQuality = sqLow;
  canvas->DrawGraphicStretched(TRect(40, 40, 80, 80), &b);
  EXPECT_EQ(surface->Pixel(50, 45), clRed);
  EXPECT_EQ(surface->Pixel(50, 78), clBlue);
}

TEST_F(GdiCanvasTest, NothingDrawsForANullOrEmptyGraphic) {
  TBitmap empty;
  canvas->DrawGraphic(10, 10, nullptr);
  canvas->DrawGraphic(10, 10, &empty);
  canvas->DrawGraphicStretched(TRect(0, 0, 50, 50), nullptr);
  EXPECT_EQ(surface->InkBounds(), TRect());
}

}  // namespace

namespace {

struct PathFillCase {
  const char* name;
  int fill;  // 0 solid, 1 gradient, 2 picture, 3 gradient with an opaque sub-gradient
  bool penVisible;
  TColor inside;
  bool outlined;
};

class PathFillTest : public GdiCanvasTest, public testing::WithParamInterface<PathFillCase> {};

// A triangle path: filled (solid, gradient start colour or picture, clipped to the triangle) and
// stroked only as the pen says.
TEST_P(PathFillTest, FillsInsideTheFigureOnly) {
  const PathFillCase& c = GetParam();
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(2, 2);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 2, 2};
  FillRect(picture.Canvas()->Handle(), &all, red);
  DeleteObject(red);
  canvas->Brush()->SetColor(clBlue);
  // A gradient of one colour, so the fill shows a single colour wherever it is sampled.
  canvas->Brush()->Gradient()->SetStartColor(clLime);
  canvas->Brush()->Gradient()->SetEndColor(clLime);
  canvas->Brush()->Gradient()->SetVisible(c.fill == 1 || c.fill == 3);
  if (c.fill == 3) {
    TSubGradient* sub = canvas->Brush()->Gradient()->SubGradient();
    sub->SetStartColor(clRed);
    sub->SetEndColor(clRed);
    sub->SetTransparency(0);
    sub->SetVisible(true);
  }
  if (c.fill == 2) canvas->Brush()->Image()->SetGraphic(&picture);
  canvas->Pen()->SetColor(clBlack);
  canvas->Pen()->SetVisible(c.penVisible);
  std::unique_ptr<TKelBasePath> path(canvas->NewPath());
  path->AddPoints({TPoint(20, 20), TPoint(120, 20), TPoint(20, 100)}, 2, true);
  path->DrawPath(*canvas);
  // The picture is resampled into the clip box: its colour comes back within the filter's rounding.
  const TColor inside = surface->Pixel(40, 40);
  EXPECT_NEAR(GetRValue(inside), GetRValue(c.inside), 3);
  EXPECT_NEAR(GetGValue(inside), GetGValue(c.inside), 3);
  EXPECT_NEAR(GetBValue(inside), GetBValue(c.inside), 3);
  EXPECT_EQ(surface->Pixel(100, 80), clWhite) << "inside the bounds, outside the triangle";
  EXPECT_EQ(surface->Count(clBlack) > 0, c.outlined);
  EXPECT_EQ(canvas->BrushGradient()->StartColor(), clLime) << "the brush gradient keeps its own colours";
}

INSTANTIATE_TEST_SUITE_P(Cases, PathFillTest,
                         testing::Values(PathFillCase{"Solid", 0, true, clBlue, true},
                                         PathFillCase{"SolidNoPen", 0, false, clBlue, false},
                                         PathFillCase{"Gradient", 1, true, clLime, true},
                                         PathFillCase{"PictureNoPen", 2, false, clRed, false},
                                         PathFillCase{"GradientUnderSubGradient", 3, false, clRed, false}),
                         [](const testing::TestParamInfo<PathFillCase>& info) { return std::string(info.param.name); });

TEST_F(GdiCanvasTest, DCBrushIsSelectedWhenThePlatformHasIt) {
  ASSERT_TRUE(canvas->UseDCBrush());
  EXPECT_EQ(GetCurrentObject(surface->DC(), OBJ_BRUSH), GetStockObject(DC_BRUSH));
}

}  // namespace
