// Gradients painted by the GDI canvas into a 32-bit DIB: where each direction puts its start
// and end colours and that the colours move monotonically between them, the exact band layout
// of linear gradients, balance, mid colours, monochrome greys, radial and angled gradients
// (through the process-wide rotation hook or the built-in turn) and sub-gradients.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "CanvasTestSupport.h"
#include "canvas/BitmapUtils.h"
#include "canvas/GradientPainting.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilters.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "toolkit/rtl/Math.h"

namespace {
using namespace KelCanvas;

int R(TColor c) { return c & 0xFF; }
int G(TColor c) { return (c >> 8) & 0xFF; }
int B(TColor c) { return (c >> 16) & 0xFF; }

::testing::AssertionResult Near(TColor actual, TColor expected, int tolerance) {
  if (std::abs(R(actual) - R(expected)) <= tolerance && std::abs(G(actual) - G(expected)) <= tolerance &&
      std::abs(B(actual) - B(expected)) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  char text[96];
  std::snprintf(text, sizeof text, "(%d,%d,%d) is not within %d of (%d,%d,%d)", R(actual), G(actual), B(actual),
                tolerance, R(expected), G(expected), B(expected));
  return ::testing::AssertionFailure() << text;
}

constexpr TColor kStart = clRed;
constexpr TColor kEnd = clBlue;
const TRect kArea(10, 10, 70, 50);  // 60 × 40

struct DirectionCase {
  const char* name;
  TGradientDirection direction;
  TPoint startAt;  // where the start colour lies
  TPoint endAt;    // where the end colour lies
  int tolerance;   // how close those two pixels come to the colours
  TRect ink = TRect();  // what is painted, when not the area itself
};

class GradientDirectionTest : public GdiCanvasTest, public testing::WithParamInterface<DirectionCase> {};

// Fills the area through the canvas brush gradient and walks from the start point to the end
// point: red never grows and blue never shrinks, and nothing outside the area is painted.
TEST_P(GradientDirectionTest, PutsItsColoursAtTheirEndsAndMovesMonotonically) {
  const DirectionCase& c = GetParam();
  canvas->Pen()->Hide();
  TKelGradient* g = canvas->Brush()->Gradient();
  g->SetStartColor(kStart);
  g->SetEndColor(kEnd);
  g->SetDirection(c.direction);
  g->SetVisible(true);
  canvas->FillRect(kArea);
  EXPECT_TRUE(Near(surface->Pixel(c.startAt.X, c.startAt.Y), kStart, c.tolerance)) << "start";
  EXPECT_TRUE(Near(surface->Pixel(c.endAt.X, c.endAt.Y), kEnd, c.tolerance)) << "end";
  const int steps = 40;
  int lastRed = 256, lastBlue = -1;
  for (int i = 0; i <= steps; ++i) {
    const int x = c.startAt.X + (c.endAt.X - c.startAt.X) * i / steps;
    const int y = c.startAt.Y + (c.endAt.Y - c.startAt.Y) * i / steps;
    const TColor p = surface->Pixel(x, y);
    EXPECT_LE(R(p), lastRed) << "at " << x << "," << y;
    EXPECT_GE(B(p), lastBlue) << "at " << x << "," << y;
    lastRed = R(p);
    lastBlue = B(p);
  }
  EXPECT_EQ(surface->InkBounds(), c.ink.IsEmpty() ? kArea : c.ink);
}

// Downward diagonal lines are laid over the area moved up one pixel.
const TRect kAreaUpOne(10, 9, 70, 49);

INSTANTIATE_TEST_SUITE_P(
    Directions, GradientDirectionTest,
    testing::Values(DirectionCase{"TopBottom", gdTopBottom, {40, 49}, {40, 10}, 0},
                    DirectionCase{"BottomTop", gdBottomTop, {40, 10}, {40, 49}, 0},
                    DirectionCase{"LeftRight", gdLeftRight, {69, 30}, {10, 30}, 0},
                    DirectionCase{"RightLeft", gdRightLeft, {10, 30}, {69, 30}, 0},
                    DirectionCase{"FromCenter", gdFromCenter, {40, 30}, {10, 10}, 6},
                    DirectionCase{"FromTopLeft", gdFromTopLeft, {69, 49}, {10, 10}, 14},
                    DirectionCase{"FromBottomLeft", gdFromBottomLeft, {69, 10}, {10, 49}, 14},
                    DirectionCase{"DiagonalUp", gdDiagonalUp, {10, 49}, {69, 10}, 6},
                    DirectionCase{"DiagonalDown", gdDiagonalDown, {10, 9}, {69, 48}, 6, kAreaUpOne},
                    DirectionCase{"Radial", gdRadial, {40, 30}, {10, 10}, 25}),
    [](const testing::TestParamInfo<DirectionCase>& info) { return std::string(info.param.name); });

// 300 rows from black to white: band i covers rows 300·i div 256 up to 300·(i + 1) div 256
// counted from the bottom, in grey i.
TEST(GradientBands, ThreeHundredRowsMakeTwoHundredAndFiftySixBands) {
  KelCanvasStartup();
  TDibSurface surface(4, 300);
  TKelCanvas3D canvas;
  canvas.SetBuffered(false);
  canvas.SetTargetCanvas(surface.Canvas());
  canvas.GradientFillRect(TRect(0, 0, 4, 300), clBlack, clWhite, gdTopBottom, 50, 0, 0);
  for (int i = 0; i < 256; ++i) {
    for (int row = 300 * i / 256; row < 300 * (i + 1) / 256; ++row) {
      const TColor p = surface.Pixel(2, 299 - row);
      ASSERT_EQ(p, static_cast<TColor>(RGB(i, i, i))) << "row " << row << " from the bottom";
    }
  }
}

// Every method covers every pixel of its rect, and system colours are resolved first.
TEST_F(GdiCanvasTest, EveryDirectionCoversItsRectInASystemColour) {
  const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
  for (int d = gdTopBottom; d <= gdDiagonalDown; ++d) {
    surface->Clear();
    canvas->GradientFillRect(kArea, clBtnFace, clBtnFace, static_cast<TGradientDirection>(d), 50, 0, 0);
    const TRect covered = d == gdDiagonalDown ? kAreaUpOne : kArea;
    EXPECT_EQ(surface->Count(face, covered), covered.Width() * covered.Height()) << "direction " << d;
    EXPECT_EQ(surface->InkBounds(), covered) << "direction " << d;
  }
}

// Small rects painted pixel by pixel, each pixel given as its colour index; the two colours make
// index k the grey 20 × k. Corner bands: the colours are swapped first and 4 + 3 = 7 steps run
// from the corner; a pixel x columns and y rows from the corner is painted last by the column of
// step x + 1 when x >= y (index min(x + 1, 4) + min(x + 1, 3)), else by the row of step y
// (index 2y). Diagonal lines: 7 lines of 6 steps (line k in index k × 6 div 7) from the top-left
// corner of the rect moved up one pixel, so row 12 stays white (-1).
struct BandCase {
  const char* name;
  TGradientDirection direction;
  TColor start, end;
  TRect area;
  std::vector<std::vector<int>> indexes;  // rows from the area's top (diagonal: from one above)
  int firstRow;
};

TEST_F(GdiCanvasTest, CornerAndDiagonalBandsFollowTheirIndexes) {
  const TColor grey140 = static_cast<TColor>(RGB(140, 140, 140));
  const TColor grey120 = static_cast<TColor>(RGB(120, 120, 120));
  const BandCase cases[] = {
      {"FromTopLeft", gdFromTopLeft, grey140, clBlack, TRect(10, 10, 14, 13),
       {{2, 4, 6, 7}, {2, 4, 6, 7}, {4, 4, 6, 7}}, 10},
      {"FromBottomLeft", gdFromBottomLeft, grey140, clBlack, TRect(10, 10, 14, 13),
       {{4, 4, 6, 7}, {2, 4, 6, 7}, {2, 4, 6, 7}}, 10},
      {"DiagonalDown", gdDiagonalDown, clBlack, grey120, TRect(10, 10, 14, 13),
       {{0, 0, 1, 2}, {0, 1, 2, 3}, {1, 2, 3, 5}, {-1, -1, -1, -1}}, 9},
  };
  for (const BandCase& c : cases) {
    surface->Clear();
    canvas->GradientFillRect(c.area, c.start, c.end, c.direction, 50, 0, 0);
    for (std::size_t row = 0; row < c.indexes.size(); ++row) {
      for (std::size_t col = 0; col < c.indexes[row].size(); ++col) {
        const int index = c.indexes[row][col];
        const TColor want = index < 0 ? clWhite : static_cast<TColor>(RGB(20 * index, 20 * index, 20 * index));
        const int x = c.area.Left + static_cast<int>(col);
        const int y = c.firstRow + static_cast<int>(row);
        EXPECT_EQ(surface->Pixel(x, y), want) << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(GdiCanvasTest, OnePixelHighTopBottomGradientDrawsNothing) {
  canvas->GradientFillRect(TRect(10, 10, 60, 11), clRed, clBlue, gdTopBottom, 50, 0, 0);
  EXPECT_TRUE(surface->InkBounds().IsEmpty());
}

TEST_F(GdiCanvasTest, HugeDiagonalGradientDrawsNothing) {
  canvas->GradientFillRect(TRect(0, 0, 20000, 4000), clRed, clBlue, gdDiagonalUp, 50, 0, 0);
  EXPECT_TRUE(surface->InkBounds().IsEmpty());
}

// Balance 49 takes the power curve ((i + 1) / (n + 1))^0.99; 50 the straight line.
TEST(GradientBands, BalanceOtherThanFiftyFollowsThePowerCurve) {
  KelCanvasStartup();
  TDibSurface surface(4, 256);
  TKelCanvas3D canvas;
  canvas.SetBuffered(false);
  canvas.SetTargetCanvas(surface.Canvas());
  canvas.GradientFillRect(TRect(0, 0, 4, 256), clBlack, clWhite, gdTopBottom, 49, 0, 0);
  for (int i : {0, 10, 100, 200, 255}) {
    const int expected = static_cast<int>(Round(255 * BalanceFactor(255, 49, i)));
    EXPECT_EQ(R(surface.Pixel(1, 255 - i)), expected) << "band " << i;
  }
  canvas.GradientFillRect(TRect(0, 0, 4, 256), clBlack, clWhite, gdTopBottom, 50, 0, 0);
  EXPECT_EQ(R(surface.Pixel(1, 255 - 100)), 100);
}

struct MidCase {
  const char* name;
  TGradientDirection direction;
  TPoint startAt, midAt, endAt;
};

class MidColourTest : public GdiCanvasTest, public testing::WithParamInterface<MidCase> {};

// With a mid colour each half runs its own gradient and meets the mid colour in the middle.
TEST_P(MidColourTest, SplitsAtTheMiddle) {
  const MidCase& c = GetParam();
  canvas->Pen()->Hide();
  TKelGradient* g = canvas->Brush()->Gradient();
  g->SetStartColor(clRed);
  g->SetMidColor(clLime);
  g->SetEndColor(clBlue);
  g->SetDirection(c.direction);
  g->SetVisible(true);
  canvas->FillRect(kArea);
  EXPECT_TRUE(Near(surface->Pixel(c.startAt.X, c.startAt.Y), clRed, 0)) << "start";
  EXPECT_TRUE(Near(surface->Pixel(c.midAt.X, c.midAt.Y), clLime, 12)) << "mid";
  EXPECT_TRUE(Near(surface->Pixel(c.endAt.X, c.endAt.Y), clBlue, 0)) << "end";
}

INSTANTIATE_TEST_SUITE_P(
    Directions, MidColourTest,
    testing::Values(MidCase{"TopBottom", gdTopBottom, {40, 49}, {40, 30}, {40, 10}},
                    MidCase{"BottomTop", gdBottomTop, {40, 10}, {40, 29}, {40, 49}},
                    MidCase{"LeftRight", gdLeftRight, {69, 30}, {40, 30}, {10, 30}},
                    MidCase{"RightLeft", gdRightLeft, {10, 30}, {39, 30}, {69, 30}}),
    [](const testing::TestParamInfo<MidCase>& info) { return std::string(info.param.name); });

TEST_F(GdiCanvasTest, MonochromeCanvasPaintsRedToBlueAsOneGrey) {
  canvas->ChangeMonochrome(true);
  canvas->Pen()->Hide();
  TKelGradient* g = canvas->Brush()->Gradient();
  g->SetStartColor(clRed);
  g->SetEndColor(clBlue);
  g->SetVisible(true);
  canvas->FillRect(kArea);
  EXPECT_EQ(surface->Count(RGB(85, 85, 85), kArea), kArea.Width() * kArea.Height());
}

TEST_F(GdiCanvasTest, RadialOffsetMovesTheCentre) {
  TKelGradient g;
  g.SetStartColor(clRed);
  g.SetEndColor(clBlue);
  g.SetRadialX(15);
  DrawRadialGradient(&g, canvas.get(), kArea);
  // The reddest pixel of the middle row lies near the moved centre (41 + 15).
  int best = 0, bestX = 0;
  for (int x = kArea.Left; x < kArea.Right; ++x) {
    if (R(surface->Pixel(x, 31)) > best) {
      best = R(surface->Pixel(x, 31));
      bestX = x;
    }
  }
  EXPECT_NEAR(bestX, 56, 2);
  EXPECT_EQ(surface->InkBounds(), kArea) << "clipped to its rect";
  EXPECT_EQ(canvas->Pen()->Style(), psSolid) << "pen style restored";
}

// A gradient with a visible sub-gradient of transparency 50 shows both half and half.
TEST_F(GdiCanvasTest, SubGradientIsLaidOverWithItsTransparency) {
  TKelGradient g;
  g.SetStartColor(clRed);
  g.SetEndColor(clRed);
  g.SetVisible(true);
  g.SubGradient()->SetStartColor(clBlue);
  g.SubGradient()->SetEndColor(clBlue);
  g.SubGradient()->SetVisible(true);
  canvas->Pen()->Hide();
  DrawBrushGradient(&g, canvas.get(), kArea, 0);
  EXPECT_TRUE(Near(surface->Pixel(40, 30), RGB(128, 0, 127), 3));
  EXPECT_EQ(canvas->CurrentTransparency, 0);
}

TEST(AngledGradient, BitmapSizeCoversTheTurnedRect) {
  EXPECT_EQ(AngledGradientBitmapSize(90, 100, 40), (TSize{42, 102}));
  EXPECT_EQ(AngledGradientBitmapSize(45, 100, 100), (TSize{143, 143}));
}

// The rotation installed by the image filters is called with the painted bitmap and the
// angle; what it returns is centred on the rect and clipped to it.
TEST_F(GdiCanvasTest, AngledGradientTurnsThroughTheInstalledHook) {
  int calls = 0;
  TSize painted{};
  double turnedBy = 0;
  KelRotateBitmapHook = [&](TBitmap& bitmap, double angle) {
    ++calls;
    painted = TSize{bitmap.Width(), bitmap.Height()};
    turnedBy = angle;
    // Pretend to turn: 102 × 42, the left 51 columns green, the rest red.
    bitmap.SetSize(102, 42);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT left{0, 0, 51, 42}, right{51, 0, 102, 42};
    FillRect(bitmap.Canvas()->Handle(), &left, green);
    FillRect(bitmap.Canvas()->Handle(), &right, red);
    DeleteObject(green);
    DeleteObject(red);
  };
  TKelGradient g;
  g.SetAngle(90);
  g.SetVisible(true);
  FillGradientRect(canvas.get(), &g, TRect(20, 30, 120, 70));
  KelRotateBitmapHook = nullptr;
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(painted, (TSize{42, 102}));
  EXPECT_EQ(turnedBy, 90);
  EXPECT_EQ(g.Angle(), 90) << "the angle is restored";
  // Drawn at (20 - 1, 30 - 1): rect column 69 is bitmap column 50, column 70 is 51.
  EXPECT_EQ(surface->Pixel(69, 50), static_cast<TColor>(clLime));
  EXPECT_EQ(surface->Pixel(70, 50), static_cast<TColor>(clRed));
  EXPECT_EQ(surface->InkBounds(), TRect(20, 30, 120, 70));
}

// A 90 degree red-to-blue gradient turns clockwise: its start colour (painted at the bottom of
// the upright bitmap) ends on the left, the same with the built-in turn and with the image
// filters' rotation hook.
class AngledGradientTurnTest : public GdiCanvasTest, public testing::WithParamInterface<bool> {};

TEST_P(AngledGradientTurnTest, QuarterTurnPutsTheStartColourOnTheLeft) {
  const bool withFilters = GetParam();
  if (withFilters) {
    KelFiltersStartup();
  } else {
    KelFiltersShutdown();
  }
  ASSERT_EQ(static_cast<bool>(KelRotateBitmapHook), withFilters);
  canvas->Pen()->Hide();
  TKelGradient* g = canvas->Brush()->Gradient();
  g->SetStartColor(clRed);
  g->SetEndColor(clBlue);
  g->SetAngle(90);
  g->SetVisible(true);
  canvas->FillRect(TRect(20, 30, 120, 70));
  KelFiltersShutdown();
  EXPECT_TRUE(Near(surface->Pixel(21, 50), clRed, 8));
  EXPECT_TRUE(Near(surface->Pixel(118, 50), clBlue, 8));
  EXPECT_EQ(surface->Count(clWhite, TRect(20, 30, 120, 70)), 0);
  EXPECT_EQ(surface->InkBounds(), TRect(20, 30, 120, 70));
}

INSTANTIATE_TEST_SUITE_P(Turns, AngledGradientTurnTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "FilterHook" : "BuiltInTurn");
                         });

TEST(TurnBitmap, QuarterTurnMovesPixelsClockwise) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(2, 1);
  b.Canvas()->SetPixel(0, 0, clRed);
  b.Canvas()->SetPixel(1, 0, clBlue);
  TurnBitmap(b, 90);
  ASSERT_EQ(b.Width(), 1);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(::GetPixel(b.Canvas()->Handle(), 0, 0), static_cast<COLORREF>(clRed)) << "the left end goes up";
  EXPECT_EQ(::GetPixel(b.Canvas()->Handle(), 0, 1), static_cast<COLORREF>(clBlue));
}

}  // namespace
