// Gradient fills on a DIB pre-filled with a marker: each of the ten directions stays inside its
// rectangle, reaches its end colours and changes monotonically between them; box gradients
// are mirror-symmetric; the small-size and equal-colour rules give one solid colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxGraphics.h"

using namespace KxCommon;

namespace {

constexpr COLORREF kMarker = 0x3C14DC;
constexpr COLORREF kStart = 0xFF2000;  // blue-ish
constexpr COLORREF kStop = 0x10E0F0;   // yellow-ish
const TRect kArea{5, 5, 45, 35};       // 40 x 30
constexpr int W = 40;
constexpr int H = 30;

int Component(COLORREF c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); }

::testing::AssertionResult Near(COLORREF got, COLORREF want, int tolerance) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(Component(got, i) - Component(want, i)) > tolerance) {
      return ::testing::AssertionFailure() << std::hex << "got " << got << " want " << want << " within "
                                           << std::dec << tolerance;
    }
  }
  return ::testing::AssertionSuccess();
}

// Every component moves from `from` towards `to` without turning back.
::testing::AssertionResult Monotone(const std::vector<COLORREF>& run, COLORREF from, COLORREF to) {
  for (int i = 0; i < 3; ++i) {
    const int sign = Component(to, i) >= Component(from, i) ? 1 : -1;
    for (std::size_t k = 1; k < run.size(); ++k) {
      if (sign * (Component(run[k], i) - Component(run[k - 1], i)) < 0) {
        return ::testing::AssertionFailure() << "component " << i << " turns back at step " << k;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class GradientTest : public testing::Test {
 protected:
  TDibSurface dib_{50, 40, kMarker};
  COLORREF At(int x, int y) const { return dib_.Pixel(kArea.Left + x, kArea.Top + y); }
  std::vector<COLORREF> Column(int x, int y0, int y1) const {
    std::vector<COLORREF> v;
    for (int y = y0; y0 <= y1 ? y <= y1 : y >= y1; y += (y0 <= y1 ? 1 : -1)) v.push_back(At(x, y));
    return v;
  }
  std::vector<COLORREF> Row(int y, int x0, int x1) const {
    std::vector<COLORREF> v;
    for (int x = x0; x0 <= x1 ? x <= x1 : x >= x1; x += (x0 <= x1 ? 1 : -1)) v.push_back(At(x, y));
    return v;
  }
  void Paint(TGradientDirection d, COLORREF start = kStart, COLORREF stop = kStop) {
    DrawGradientArea(dib_.DC(), kArea, d, start, stop, 1);
  }
};

TEST_F(GradientTest, EveryDirectionStaysInsideItsRectangleAndCoversIt) {
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    dib_.Fill(kMarker);
    Paint(static_cast<TGradientDirection>(d));
    EXPECT_EQ(dib_.CountChangedOutside(kArea, kMarker), 0) << "direction " << d;
    int unpainted = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) unpainted += At(x, y) == kMarker;
    EXPECT_EQ(unpainted, 0) << "direction " << d;
  }
}

TEST_F(GradientTest, EndDirectionsRunFromStartToStop) {
  const int tol = 2 * 255 / H + 2;
  Paint(gdHorizontalEnd);
  EXPECT_TRUE(Near(At(0, 0), kStart, tol));
  EXPECT_TRUE(Near(At(0, H - 1), kStop, tol));
  for (int x : {0, 7, 8, 20, W - 1}) EXPECT_TRUE(Monotone(Column(x, 0, H - 1), kStart, kStop)) << x;
  for (int y = 0; y < H; ++y) EXPECT_EQ(At(0, y), At(W - 1, y)) << "bands are horizontal, row " << y;

  Paint(gdVerticalEnd);
  EXPECT_TRUE(Near(At(0, 0), kStart, 2 * 255 / W + 2));
  EXPECT_TRUE(Near(At(W - 1, 0), kStop, 2 * 255 / W + 2));
  for (int y : {0, 8, H - 1}) EXPECT_TRUE(Monotone(Row(y, 0, W - 1), kStart, kStop)) << y;
  for (int x = 0; x < W; ++x) EXPECT_EQ(At(x, 0), At(x, H - 1)) << "bands are vertical, column " << x;
}

TEST_F(GradientTest, CenterDirectionsHaveTheStopColourInTheMiddle) {
  Paint(gdHorizontalCenter);
  const int tol = 4 * 255 / H + 2;
  EXPECT_TRUE(Near(At(3, 0), kStart, tol));
  EXPECT_TRUE(Near(At(3, H - 1), kStart, tol));
  EXPECT_TRUE(Near(At(3, H / 2 + 1), kStop, 0));
  EXPECT_TRUE(Monotone(Column(3, 0, H / 2 + 1), kStart, kStop));
  EXPECT_TRUE(Monotone(Column(3, H - 1, H / 2 + 1), kStart, kStop));

  Paint(gdVerticalCenter);
  EXPECT_TRUE(Near(At(0, 3), kStart, 4 * 255 / W + 2));
  EXPECT_TRUE(Near(At(W - 1, 3), kStart, 4 * 255 / W + 2));
  EXPECT_TRUE(Near(At(W / 2 + 1, 3), kStop, 0));
  EXPECT_TRUE(Monotone(Row(3, 0, W / 2 + 1), kStart, kStop));
  EXPECT_TRUE(Monotone(Row(3, W - 1, W / 2 + 1), kStart, kStop));
}

TEST_F(GradientTest, BoxDirectionsGrowFromTheCentre) {
  for (TGradientDirection d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox}) {
    dib_.Fill(kMarker);
    Paint(d);
    // The outermost band lies one colour step from the edge colour.
    EXPECT_TRUE(Near(At(0, 0), kStart, 4 * 255 / H + 2)) << d;
    EXPECT_TRUE(Near(At(W / 2 - 1, H / 2 - 1), kStop, 0)) << d;
    EXPECT_TRUE(Monotone(Column(W / 2 - 1, 0, H / 2 - 1), kStart, kStop)) << d;
    EXPECT_TRUE(Monotone(Row(H / 2 - 1, 0, W / 2 - 1), kStart, kStop)) << d;
  }
}

// The painted upper-left quarter is copied onto the other three by mirrored stretches: the
// bottom copy is one column wider than its source, the right copy (for an odd half width) two
// columns wider. So each pixel matches its mirror image up to that stretch, and an even half
// width mirrors the left half onto the right exactly.
TEST(GradientMirrorTest, BoxQuartersAreMirroredWithinTheirStretch) {
  struct Case {
    int w, h;
  } const cases[] = {{40, 30}, {42, 30}, {41, 31}, {12, 9}};
  for (const Case& c : cases) {
    for (TGradientDirection d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox}) {
      SCOPED_TRACE(::testing::Message() << c.w << " x " << c.h << ", direction " << d);
      TDibSurface dib(c.w, c.h, kMarker);
      DrawGradientArea(dib.DC(), {0, 0, c.w, c.h}, d, kStart, kStop, 1);
      const int hw = c.w / 2;
      const int hh = c.h / 2;
      const auto matchesNear = [&](COLORREF color, int x0, int y, int reach) {
        for (int x = std::max(0, x0 - reach); x <= std::min(c.w - 1, x0 + reach); ++x) {
          if (dib.Pixel(x, y) == color) return true;
        }
        return false;
      };
      int unmatched = 0;
      for (int y = 0; y < hh; ++y) {
        for (int x = 0; x < hw; ++x) unmatched += !matchesNear(dib.Pixel(x, c.h - 1 - y), x, y, 1);
      }
      for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < hw; ++x) unmatched += !matchesNear(dib.Pixel(c.w - 1 - x, y), x, y, 2);
      }
      EXPECT_EQ(unmatched, 0);
      if (hw % 2 == 0) {
        int differing = 0;
        for (int y = 0; y < c.h; ++y) {
          for (int x = 0; x < hw; ++x) differing += dib.Pixel(c.w - 1 - x, y) != dib.Pixel(x, y);
        }
        EXPECT_EQ(differing, 0) << "an even half width mirrors exactly";
      }
    }
  }
}

// Sizes past 32,767 pixels: the 16.16 fixed-point steps need more than 32 bits.
TEST(GradientLargeSizeTest, LongAreasStillRunFromStartToStop) {
  struct Case {
    const char* name;
    TGradientDirection direction;
    int w, h;
    TPoint start, stop;   // a pixel in the start colour and one in the stop colour
    bool alongX;          // the long axis, walked at the middle of the short one
  } const cases[] = {
      {"diagonal up, wide", gdDiagonalUp, 33000, 100, {0, 99}, {32999, 0}, true},
      {"diagonal down, tall", gdDiagonalDown, 100, 33000, {0, 0}, {99, 32999}, false},
      {"square box, wide", gdSquareBox, 70000, 6, {0, 0}, {34999, 2}, true},
      {"square box, tall", gdSquareBox, 6, 70000, {0, 0}, {2, 34999}, false},
      {"vertical end, wide", gdVerticalEnd, 70000, 8, {0, 0}, {69999, 0}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDibSurface dib(c.w, c.h, kMarker);
    DrawGradientArea(dib.DC(), {0, 0, c.w, c.h}, c.direction, kStart, kStop, 1);
    EXPECT_TRUE(Near(dib.Pixel(c.start.X, c.start.Y), kStart, 8));
    EXPECT_TRUE(Near(dib.Pixel(c.stop.X, c.stop.Y), kStop, 8));
    // Walk from the start pixel's side to the stop pixel along the long axis.
    std::vector<COLORREF> run;
    if (c.alongX) {
      for (int x = c.start.X; x <= c.stop.X; ++x) run.push_back(dib.Pixel(x, c.stop.Y));
    } else {
      for (int y = c.start.Y; y <= c.stop.Y; ++y) run.push_back(dib.Pixel(c.stop.X, y));
    }
    EXPECT_TRUE(Monotone(run, kStart, kStop));
    int unpainted = 0;
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) unpainted += dib.Pixel(x, y) == kMarker;
    EXPECT_EQ(unpainted, 0);
  }
}

TEST_F(GradientTest, DiagonalsRunCornerToCorner) {
  const int tol = 255 / 10;
  Paint(gdDiagonalUp);
  EXPECT_TRUE(Near(At(0, H - 1), kStart, tol));
  EXPECT_TRUE(Near(At(W - 1, 0), kStop, tol));
  for (int y : {0, H / 2, H - 1}) EXPECT_TRUE(Monotone(Row(y, 0, W - 1), kStart, kStop)) << y;
  for (int x : {0, W / 2, W - 1}) EXPECT_TRUE(Monotone(Column(x, H - 1, 0), kStart, kStop)) << x;

  Paint(gdDiagonalDown);
  EXPECT_TRUE(Near(At(0, 0), kStart, tol));
  EXPECT_TRUE(Near(At(W - 1, H - 1), kStop, tol));
  for (int y : {0, H / 2, H - 1}) EXPECT_TRUE(Monotone(Row(y, 0, W - 1), kStart, kStop)) << y;
  for (int x : {0, W / 2, W - 1}) EXPECT_TRUE(Monotone(Column(x, 0, H - 1), kStart, kStop)) << x;
}

TEST_F(GradientTest, SmallBoxesAndEqualDiagonalsAreSolid) {
  struct Case {
    const char* name;
    TRect rect;
    TGradientDirection direction;
    COLORREF start, stop, expected;
  } const cases[] = {
      {"box 4 wide", {2, 2, 6, 22}, gdSquareBox, kStart, kStop, kStart},
      {"box 4 high", {2, 2, 30, 6}, gdBigSquareBox, kStart, kStop, kStart},
      {"box equal colours", {2, 2, 30, 30}, gdHorizontalBox, kStop, kStop, kStop},
      {"diagonal equal colours", {2, 2, 30, 20}, gdDiagonalDown, kStart, kStart, kStart},
  };
  for (const Case& c : cases) {
    dib_.Fill(kMarker);
    DrawGradientArea(dib_.DC(), c.rect, c.direction, c.start, c.stop, 1);
    int wrong = 0;
    for (int y = c.rect.Top; y < c.rect.Bottom; ++y)
      for (int x = c.rect.Left; x < c.rect.Right; ++x) wrong += dib_.Pixel(x, y) != c.expected;
    EXPECT_EQ(wrong, 0) << c.name;
    EXPECT_EQ(dib_.CountChangedOutside(c.rect, kMarker), 0) << c.name;
  }
}

TEST_F(GradientTest, EmptyRectanglesPaintNothing) {
  for (const TRect& r : {TRect{5, 5, 5, 30}, TRect{5, 5, 30, 5}}) {
    for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
      DrawGradientArea(dib_.DC(), r, static_cast<TGradientDirection>(d), kStart, kStop, 1);
    }
  }
  EXPECT_EQ(dib_.CountChangedOutside({0, 0, 0, 0}, kMarker), 0);
}

TEST_F(GradientTest, SystemColoursAreResolved) {
  DrawGradientArea(dib_.DC(), kArea, gdHorizontalEnd, clBtnFace, clBtnFace, 1);
  EXPECT_EQ(At(10, 10), KxColorToRGB(clBtnFace));
}

TEST(GradientBandsTest, MergeCountFollowsTheBandsSetting) {
  struct Case {
    int bands, merge;
  } const cases[] = {{0, 0}, {1, 0}, {2, 1}, {8, 7}, {9, 28}, {64, 3}, {255, 1}, {256, 0}};
  for (const Case& c : cases) EXPECT_EQ(GradientBandMerge(c.bands), c.merge) << c.bands;
}

}  // namespace
