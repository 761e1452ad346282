// Gradient fills on a DIB pre-filled with a marker: each of the ten directions stays inside its
// rectangle, reaches its end colours and changes monotonically between them; box gradients
// are mirror-symmetric; the small-size and equal-colour rules give one solid colour.
#include <gtest/gtest.h>

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

TEST_F(GradientTest, BoxDirectionsGrowFromTheCentreAndMirror) {
  for (TGradientDirection d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox}) {
    dib_.Fill(kMarker);
    Paint(d);
    // The outermost band lies one colour step from the edge colour.
    EXPECT_TRUE(Near(At(0, 0), kStart, 4 * 255 / H + 2)) << d;
    EXPECT_TRUE(Near(At(W / 2 - 1, H / 2 - 1), kStop, 0)) << d;
    EXPECT_TRUE(Monotone(Column(W / 2 - 1, 0, H / 2 - 1), kStart, kStop)) << d;
    EXPECT_TRUE(Monotone(Row(H / 2 - 1, 0, W / 2 - 1), kStart, kStop)) << d;
    int asymmetric = 0;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        asymmetric += At(x, y) != At(W - 1 - x, y);
        asymmetric += At(x, y) != At(x, H - 1 - y);
      }
    }
    EXPECT_EQ(asymmetric, 0) << d;
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
