// Shadows drawn by the GDI canvas into a 32-bit DIB: where the shadow rectangle lands for each
// direction and size, that a shadow without colour or size draws nothing and opens no group,
// its transparency (its own or the surrounding group's), turned and polygon shadows, the
// radial soft edge of the plain ellipse, and the blurred shadow multiplied into the buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CanvasTestSupport.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/ShadowBlur.h"
#include "canvas/View3DOptions.h"
#include "toolkit/rtl/Math.h"

namespace {

int R(TColor c) { return c & 0xFF; }

const TRect kShape(40, 30, 80, 60);

struct DirectionCase {
  const char* name;
  TShadowDirection direction;
  int horiz, vert;
  TRect expected;
};

class ShadowRectTest : public GdiCanvasTest, public testing::WithParamInterface<DirectionCase> {};

// An opaque, sharp shadow of a rectangle lands exactly on the shadow rectangle.
TEST_P(ShadowRectTest, OpaqueRectShadowCoversTheShadowRect) {
  const DirectionCase& c = GetParam();
  TKelShadow shadow;
  shadow.SetDirection(c.direction);
  shadow.SetHorizSize(c.horiz);
  shadow.SetVertSize(c.vert);
  shadow.SetColor(clNavy);
  shadow.SetTransparency(0);
  shadow.SetSmooth(false);
  EXPECT_EQ(shadow.ShadowRect(kShape), c.expected);
  canvas->Pen()->Hide();
  shadow.DrawRect(canvas.get(), kShape, 0, 0);
  EXPECT_EQ(surface->BoundsOf(clNavy), c.expected);
  EXPECT_EQ(surface->Count(clNavy), c.expected.Width() * c.expected.Height());
  EXPECT_TRUE(canvas->TransparencyStack.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Directions, ShadowRectTest,
    testing::Values(DirectionCase{"RightBottom", sdRightBottom, 4, 6, TRect(44, 36, 84, 66)},
                    DirectionCase{"LeftTop", sdLeftTop, 4, 6, TRect(36, 24, 76, 54)},
                    DirectionCase{"LeftBottom", sdLeftBottom, 4, 6, TRect(36, 36, 76, 66)},
                    DirectionCase{"RightTop", sdRightTop, 4, 6, TRect(44, 24, 84, 54)},
                    DirectionCase{"NegativeSizes", sdRightBottom, -3, -2, TRect(37, 28, 77, 58)},
                    DirectionCase{"CenterGrowsBySizes", sdCenter, -2, 3, TRect(38, 27, 82, 63)}),
    [](const testing::TestParamInfo<DirectionCase>& info) { return std::string(info.param.name); });

struct NothingCase {
  const char* name;
  TColor color;
  int horiz, vert;
};

class ShadowNothingTest : public GdiCanvasTest, public testing::WithParamInterface<NothingCase> {};

TEST_P(ShadowNothingTest, DrawsNothingAndOpensNoGroup) {
  TKelShadow shadow;
  shadow.SetColor(GetParam().color);
  shadow.SetHorizSize(GetParam().horiz);
  shadow.SetVertSize(GetParam().vert);
  shadow.SetSmooth(false);
  EXPECT_FALSE(shadow.BeginShadow(canvas.get(), kShape, 0));
  EXPECT_TRUE(canvas->TransparencyStack.empty());
  shadow.DrawRect(canvas.get(), kShape, 0, 0);
  shadow.Draw(canvas.get(), kShape, 0, 0, 360);
  shadow.DrawPolygon(canvas.get(), {TPoint(10, 10), TPoint(50, 10), TPoint(10, 50)}, 2);
  EXPECT_TRUE(surface->InkBounds().IsEmpty());
  EXPECT_EQ(canvas->CurrentTransparency, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShadowNothingTest,
                         testing::Values(NothingCase{"ColourNone", clNone, 4, 4},
                                         NothingCase{"NoSize", clBlack, 0, 0}),
                         [](const testing::TestParamInfo<NothingCase>& info) { return std::string(info.param.name); });

struct OpacityCase {
  const char* name;
  int shadowTransparency;
  int groupTransparency;  // 0: no surrounding group
  int expectedGrey;       // black shadow over white, before the surrounding group closes
};

class ShadowOpacityTest : public GdiCanvasTest, public testing::WithParamInterface<OpacityCase> {};

TEST_P(ShadowOpacityTest, BlendsWithItsTransparency) {
  const OpacityCase& c = GetParam();
  TKelShadow shadow;
  shadow.SetColor(clBlack);
  shadow.ChangeSize(5);
  shadow.SetSmooth(false);
  shadow.SetTransparency(c.shadowTransparency);
  canvas->Pen()->Hide();
  TKelBlend* group = nullptr;
  if (c.groupTransparency != 0) {
    group = canvas->StartTransparency(TRect(0, 0, 200, 120), static_cast<std::uint8_t>(c.groupTransparency));
  }
  const auto depth = canvas->TransparencyStack.size();
  shadow.DrawRect(canvas.get(), kShape, 0, 0);
  EXPECT_EQ(canvas->TransparencyStack.size(), depth) << "the shadow's group is closed";
  EXPECT_NEAR(R(surface->Pixel(70, 50)), c.expectedGrey, 3);
  EXPECT_EQ(surface->Pixel(42, 32), clWhite) << "outside the shadow";
  if (group != nullptr) canvas->FinishTransparency(group);
  EXPECT_EQ(canvas->CurrentTransparency, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShadowOpacityTest,
    testing::Values(OpacityCase{"Opaque", 0, 0, 0}, OpacityCase{"Quarter", 25, 0, 64},
                    OpacityCase{"Half", 50, 0, 128}, OpacityCase{"ThreeQuarters", 75, 0, 191},
                    OpacityCase{"ZeroInsideGroupOfForty", 0, 40, 102},
                    // 100 - (100 - 40) × (100 - 50) ÷ 100 = 70.
                    OpacityCase{"FiftyInsideGroupOfForty", 50, 40, 179}),
    [](const testing::TestParamInfo<OpacityCase>& info) { return std::string(info.param.name); });

// Transparency 0 outside any group: the shadow is drawn opaque without opening a group.
TEST_F(GdiCanvasTest, OpaqueShadowOpensNoGroup) {
  TKelShadow shadow;
  shadow.SetColor(clBlack);
  shadow.ChangeSize(3);
  shadow.SetTransparency(0);
  ASSERT_TRUE(shadow.BeginShadow(canvas.get(), kShape, 0));
  EXPECT_TRUE(canvas->TransparencyStack.empty());
  EXPECT_EQ(canvas->CurrentTransparency, 0);
  shadow.EndShadow(canvas.get());
  EXPECT_TRUE(canvas->TransparencyStack.empty());
  shadow.SetTransparency(30);
  ASSERT_TRUE(shadow.BeginShadow(canvas.get(), kShape, 0));
  EXPECT_EQ(canvas->TransparencyStack.size(), 1u);
  EXPECT_EQ(canvas->CurrentTransparency, 30);
  shadow.EndShadow(canvas.get());
  EXPECT_TRUE(canvas->TransparencyStack.empty());
}

TEST_F(GdiCanvasTest, TurnedRectShadowIsAPolygonAndRestoresThePen) {
  TKelShadow shadow;
  shadow.SetColor(clNavy);
  shadow.ChangeSize(5);
  shadow.SetSmooth(false);
  shadow.SetTransparency(0);
  canvas->Pen()->SetColor(clRed);
  canvas->Pen()->SetStyle(psDot);
  shadow.DrawRect(canvas.get(), TRect(40, 30, 100, 50), 0, 90);
  // The 60 × 20 shadow rect (45, 35, 105, 55) turned a quarter about (75, 45): 20 × 60.
  const TRect bounds = surface->BoundsOf(clNavy);
  EXPECT_NEAR(bounds.Left, 65, 1);
  EXPECT_NEAR(bounds.Right, 85, 1);
  EXPECT_NEAR(bounds.Top, 15, 1);
  EXPECT_NEAR(bounds.Bottom, 75, 1);
  EXPECT_EQ(canvas->Pen()->Color(), clRed);
  EXPECT_EQ(canvas->Pen()->Style(), psDot);
}

TEST_F(GdiCanvasTest, PolygonShadowMovesByTheSizesWhateverTheDirection) {
  TKelShadow shadow;
  shadow.SetColor(clNavy);
  shadow.SetHorizSize(10);
  shadow.SetVertSize(5);
  shadow.SetDirection(sdLeftTop);
  shadow.SetSmooth(false);
  shadow.SetTransparency(0);
  canvas->Pen()->Hide();
  shadow.DrawPolygon(canvas.get(), {TPoint(20, 20), TPoint(80, 20), TPoint(80, 80), TPoint(20, 80)}, 3);
  EXPECT_EQ(surface->BoundsOf(clNavy), TRect(30, 25, 90, 85));
}

// The plain ellipse shadow of a smooth shadow is a radial gradient: dark in the middle, light
// at the rim; a sharp one is one colour.
TEST_F(GdiCanvasTest, PlainEllipseShadowIsRadialWhenSmooth) {
  TKelShadow shadow;
  shadow.SetColor(RGB(160, 160, 160));
  shadow.ChangeSize(4);
  shadow.SetTransparency(0);
  shadow.Draw(canvas.get(), TRect(20, 20, 100, 100), 0, 0, 360);
  const TColor centre = surface->Pixel(64, 64);
  const TColor rim = surface->Pixel(64, 26);
  EXPECT_LT(R(centre), 60) << "near DarkenRGB(160, 128) = 32";
  EXPECT_GT(R(rim), 170) << "near LightenRGB(160, 32) = 192";
  EXPECT_EQ(surface->Pixel(25, 25), clWhite) << "outside the ellipse";
  EXPECT_FALSE(canvas->Brush()->Gradient()->Visible()) << "the brush gradient is restored";
  surface->Clear();
  shadow.SetSmooth(false);
  shadow.Draw(canvas.get(), TRect(20, 20, 100, 100), 0, 0, 360);
  EXPECT_EQ(surface->Pixel(64, 64), RGB(160, 160, 160));
  EXPECT_EQ(surface->Pixel(64, 26), RGB(160, 160, 160));
}

TEST(ShadowBlur, KernelWeightsForRadiusFour) {
  const std::vector<int> w = GaussianKernel(4, 0);
  ASSERT_EQ(w.size(), 9u);
  EXPECT_EQ(w[4], 100000);
  const int expected[4] = {static_cast<int>(Round(std::pow(1.8, -4.0) * 100000)),
                           static_cast<int>(Round(std::pow(1.8, -9.0 / 4) * 100000)),
                           static_cast<int>(Round(std::pow(1.8, -1.0) * 100000)),
                           static_cast<int>(Round(std::pow(1.8, -1.0 / 4) * 100000))};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(w[i], expected[i]) << i;
    EXPECT_EQ(w[8 - i], expected[i]) << i;
  }
}

// A smooth shadow on a buffered canvas is blurred and multiplied into the buffer: the core
// takes the shadow colour times the background, the edge fades, the background shows through.
TEST_F(GdiCanvasTest, SmoothShadowIsBlurredAndMultipliedIntoTheBuffer) {
  TKelCanvas3D buffered;
  TView3DOptions options;
  TRect drawRect;
  buffered.PrepareFrame(surface->Canvas(), &options, clWhite, false, TRect(0, 0, 200, 120), drawRect);
  buffered.Pen()->Hide();
  buffered.Brush()->SetColor(RGB(200, 100, 50));
  buffered.FillRect(drawRect);
  TKelShadow shadow;
  shadow.SetColor(RGB(128, 128, 128));
  shadow.ChangeSize(6);
  shadow.SetTransparency(0);
  shadow.DrawRect(&buffered, TRect(40, 30, 120, 90), 0, 0);
  buffered.FinishFrame(surface->Canvas(), nullptr, TRect(0, 0, 200, 120));
  // Shadow rect (46, 36, 126, 96); its middle is fully shadowed.
  const TColor core = surface->Pixel(86, 66);
  EXPECT_NEAR(R(core), 100, 2) << "round(200 × 128 / 255)";
  EXPECT_NEAR((core >> 8) & 0xFF, 50, 2);
  EXPECT_NEAR((core >> 16) & 0xFF, 25, 2);
  EXPECT_EQ(surface->Pixel(20, 20), RGB(200, 100, 50)) << "away from the shadow";
  // Along the middle row the edge fades from the core to the background.
  int fading = 0;
  for (int x = 110; x < 135; ++x) {
    const int r = R(surface->Pixel(x, 66));
    if (r > 102 && r < 198) ++fading;
  }
  EXPECT_GE(fading, 3) << "a soft edge";
}

// A donut shadow keeps its hole free: the blurred ring darkens, the middle does not.
TEST_F(GdiCanvasTest, SmoothDonutShadowLeavesTheHoleOpen) {
  TKelCanvas3D buffered;
  TView3DOptions options;
  TRect drawRect;
  buffered.PrepareFrame(surface->Canvas(), &options, clWhite, false, TRect(0, 0, 200, 120), drawRect);
  buffered.Pen()->Hide();
  buffered.Brush()->SetColor(clWhite);
  buffered.FillRect(drawRect);
  TKelShadow shadow;
  shadow.SetColor(clBlack);
  shadow.ChangeSize(4);
  shadow.SetTransparency(0);
  shadow.Draw(&buffered, TRect(40, 10, 140, 110), 40, 0, 360);
  buffered.FinishFrame(surface->Canvas(), nullptr, TRect(0, 0, 200, 120));
  // Shadow rect (44, 14, 144, 114), centre (94, 64); the ring lies about 35 pixels out.
  EXPECT_EQ(surface->Pixel(94, 64), clWhite) << "the hole";
  EXPECT_LT(R(surface->Pixel(94 + 38, 64)), 30) << "the ring";
  EXPECT_EQ(surface->Pixel(10, 10), clWhite);
}

// A group that starts entirely right of the canvas bounds is invalid: what is drawn inside it
// stays opaque.
TEST_F(GdiCanvasTest, GroupOutsideTheBoundsLeavesTheDrawingOpaque) {
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clRed);
  TKelBlend* blend = canvas->StartTransparency(TRect(300, 10, 350, 50), 50);
  EXPECT_FALSE(blend->Valid());
  canvas->FillRect(TRect(10, 10, 50, 50));
  canvas->FinishTransparency(blend);
  EXPECT_EQ(surface->Pixel(30, 30), clRed);
  EXPECT_EQ(canvas->CurrentTransparency, 0);
}

}  // namespace
