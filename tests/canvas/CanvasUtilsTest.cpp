// Geometry, colour and bitmap routines of the drawing surface.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "canvas/BitmapUtils.h"
#include "canvas/CanvasUtils.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"

namespace {

TEST(CanvasUtils, RectContainsIsInclusiveOnEveryEdge) {
  const TRect r(10, 20, 30, 40);
  struct Case {
    int x, y;
    bool inside;
  } cases[] = {{10, 20, true}, {30, 40, true}, {30, 20, true}, {10, 40, true},
               {9, 20, false}, {31, 30, false}, {20, 41, false}, {20, 19, false}};
  for (const Case& c : cases) EXPECT_EQ(RectContainsXY(r, c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(CanvasUtils, BoundsOfPointsAreOnePastTheLargest) {
  EXPECT_EQ(BoundsOfPoints({TPoint(5, 7)}), TRect(5, 7, 6, 8));
  EXPECT_EQ(BoundsOfPoints({TPoint(5, 7), TPoint(-2, 9), TPoint(3, -4)}), TRect(-2, -4, 6, 10));
  EXPECT_EQ(BoundsOfPointCount(nullptr, -1), TRect());
  EXPECT_EQ(BoundsOfTriangle(TPoint(0, 0), TPoint(4, 0), TPoint(0, 3)), TRect(0, 0, 5, 4));
}

TEST(CanvasUtils, CentreTruncatesTowardZero) {
  EXPECT_EQ(RectCentre(TRect(-5, -5, 0, 0)), TPoint(-2, -2));
  EXPECT_EQ(RectCentre(TRect(0, 0, 5, 7)), TPoint(2, 3));
}

// Each edge pair is put in order on its own; an ordered or empty rect stays as it is. OrderRect
// does in place what OrderedRect answers.
TEST(CanvasUtils, OrderingSwapsEachEdgePairOnItsOwn) {
  struct Case {
    const char* name;
    TRect in, out;
  } cases[] = {
      {"both reversed", TRect(9, 8, 1, 2), TRect(1, 2, 9, 8)},
      {"left after right", TRect(9, 2, 1, 8), TRect(1, 2, 9, 8)},
      {"top below bottom", TRect(1, 8, 9, 2), TRect(1, 2, 9, 8)},
      {"already ordered", TRect(1, 2, 9, 8), TRect(1, 2, 9, 8)},
      {"empty", TRect(5, 5, 5, 5), TRect(5, 5, 5, 5)},
      {"negative", TRect(-1, 3, -7, -3), TRect(-7, -3, -1, 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OrderedRect(c.in), c.out) << c.name;
    TRect r = c.in;
    OrderRect(r);
    EXPECT_EQ(r, c.out) << c.name;
  }
}

TEST(CanvasUtils, DarkenAndLightenClampPerChannel) {
  struct Case {
    TColor in;
    int n;
    TColor dark, light;
  } cases[] = {{0x00102030, 32, 0x00000010, 0x00304050},
               {0x00F0F0F0, 32, 0x00D0D0D0, 0x00FFFFFF},
               {0x12345678, 0, 0x00345678, 0x00345678}};
  for (const Case& c : cases) {
    EXPECT_EQ(DarkenRGB(c.in, c.n), c.dark);
    EXPECT_EQ(LightenRGB(c.in, c.n), c.light);
  }
}

// $00BBGGRR splits blue first; the top byte (system colours, alpha) never shows.
TEST(CanvasUtils, SplitColorBytesStartsWithByteTwo) {
  struct Case {
    TColor in;
    std::uint8_t b0, b1, b2;
  } cases[] = {{0x00112233, 0x11, 0x22, 0x33},
               {0x12345678, 0x34, 0x56, 0x78},
               {clRed, 0x00, 0x00, 0xFF},
               {clBlue, 0xFF, 0x00, 0x00},
               {static_cast<TColor>(0xFF000000), 0x00, 0x00, 0x00}};
  for (const Case& c : cases) {
    std::uint8_t b0 = 1, b1 = 1, b2 = 1;
    SplitColorBytes(c.in, b0, b1, b2);
    EXPECT_EQ(b0, c.b0) << std::hex << c.in;
    EXPECT_EQ(b1, c.b1) << std::hex << c.in;
    EXPECT_EQ(b2, c.b2) << std::hex << c.in;
  }
}

// A visual stands at the rect's centre across, the middle of its depth range, and the panel's
// height less the rect's centre up; its size is never negative.
TEST(CanvasUtils, SetVisualBoundsPlacesTheVisual) {
  struct Case {
    const char* name;
    TRect rect;
    int z0, z1, panelHeight;
    TPoint3DFloat location, size;
  } cases[] = {
      {"ordered", TRect(10, 20, 50, 80), 0, 30, 200, {30, 15, 150}, {40, 30, 60}},
      {"reversed", TRect(50, 80, 10, 20), 30, 0, 200, {30, 15, 150}, {40, 30, 60}},
      {"odd sums in halves", TRect(0, 0, 5, 3), 1, 4, 10, {2.5f, 2.5f, 8.5f}, {5, 3, 3}},
  };
  for (const Case& c : cases) {
    TPoint3DFloat location{-1, -1, -1}, size{-1, -1, -1};
    SetVisualBounds(location, size, c.rect, c.z0, c.z1, c.panelHeight);
    EXPECT_FLOAT_EQ(location.X, c.location.X) << c.name;
    EXPECT_FLOAT_EQ(location.Y, c.location.Y) << c.name;
    EXPECT_FLOAT_EQ(location.Z, c.location.Z) << c.name;
    EXPECT_FLOAT_EQ(size.X, c.size.X) << c.name;
    EXPECT_FLOAT_EQ(size.Y, c.size.Y) << c.name;
    EXPECT_FLOAT_EQ(size.Z, c.size.Z) << c.name;
  }
}

// Above 360 the whole turns come off in one step, into (0, 360]; the rest is left alone.
TEST(CanvasUtils, ReduceAngleTakesOffWholeTurns) {
  struct Case {
    double in, out;
  } cases[] = {{720, 360}, {450, 90}, {360, 360}, {360.5, 0.5}, {-450, -450}, {0, 0}, {360.0 * 1e12 + 45, 45}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ReduceAngle(c.in), c.out) << c.in;
  EXPECT_TRUE(std::isnan(ReduceAngle(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_TRUE(std::isinf(ReduceAngle(std::numeric_limits<double>::infinity())));
}

TEST(CanvasUtils, FacesViewerBySign) {
  EXPECT_TRUE(FacesViewer(TPoint(0, 0), TPoint(10, 0), TPoint(10, 10)) !=
              FacesViewer(TPoint(10, 10), TPoint(10, 0), TPoint(0, 0)));
  EXPECT_FALSE(FacesViewer(TPoint(0, 0), TPoint(5, 5), TPoint(10, 10))) << "collinear points face nothing";
}

TEST(CanvasUtils, ConvexOutlineOfASquareWithInnerPoints) {
  TPointArray points = {TPoint(0, 0), TPoint(10, 0), TPoint(5, 5), TPoint(10, 10), TPoint(0, 10), TPoint(4, 6)};
  ASSERT_TRUE(ConvexOutline(points));
  EXPECT_EQ(points.size(), 4u);
  for (const TPoint& p : points) {
    EXPECT_TRUE((p.X == 0 || p.X == 10) && (p.Y == 0 || p.Y == 10)) << p.X << "," << p.Y;
  }
  TPointArray two = {TPoint(0, 0), TPoint(1, 1)};
  EXPECT_FALSE(ConvexOutline(two));
}

TEST(CanvasUtils, SetBitmapDpiWritesPixelsPerMetre) {
  TBitmap bitmap(4, 4);
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  ASSERT_TRUE(WriteBitmapDpi(stream, 96));
  const auto* bytes = static_cast<const unsigned char*>(stream.Memory());
  EXPECT_EQ(bytes[38] | (bytes[39] << 8), 3780);
  EXPECT_EQ(bytes[42] | (bytes[43] << 8), 3780);
}

// Fills a 24-bit bitmap with one colour.
void Fill(TBitmap& bitmap, int w, int h, unsigned char r, unsigned char g, unsigned char b) {
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(w, h);
  for (unsigned char* row : ScanLines24(bitmap)) {
    for (int x = 0; x < w; ++x) {
      row[x * 3] = b;
      row[x * 3 + 1] = g;
      row[x * 3 + 2] = r;
    }
  }
}

struct ResampleCase {
  const char* name;
  int sw, sh, dw, dh;
};

class ResampleTest : public testing::TestWithParam<ResampleCase> {};

// A uniform source resamples to the same colour everywhere (within the fixed-point weights'
// rounding), and every destination pixel is written (the destination starts black).
TEST_P(ResampleTest, WritesTheWholeDestinationFromInsideTheSource) {
  const ResampleCase& c = GetParam();
  TBitmap source, dest;
  Fill(source, c.sw, c.sh, 200, 100, 50);
  Fill(dest, c.dw, c.dh, 0, 0, 0);
  ResampleBitmap(source, dest);
  const auto rows = ScanLines24(dest);
  for (int y = 0; y < c.dh; ++y) {
    for (int x = 0; x < c.dw; ++x) {
      const unsigned char* p = rows[y] + x * 3;
      ASSERT_NEAR(p[2], 200, 8) << x << "," << y;
      ASSERT_NEAR(p[1], 100, 4) << x << "," << y;
      ASSERT_NEAR(p[0], 50, 2) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResampleTest,
                         testing::Values(ResampleCase{"Enlarge", 4, 3, 17, 11}, ResampleCase{"Shrink", 40, 30, 7, 5},
                                         ResampleCase{"OnePixelWide", 10, 10, 1, 6},
                                         ResampleCase{"TwoHigh", 10, 10, 8, 2},
                                         ResampleCase{"FromTwoByTwo", 2, 2, 9, 9},
                                         ResampleCase{"FromOnePixel", 1, 1, 5, 4}),
                         [](const testing::TestParamInfo<ResampleCase>& info) { return std::string(info.param.name); });

TEST(CanvasUtils, ResampleKeepsAnEdgeBetweenHalves) {
  TBitmap source, dest;
  Fill(source, 20, 4, 0, 0, 0);
  const auto rows = ScanLines24(source);
  for (unsigned char* row : rows) {
    for (int x = 10; x < 20; ++x) row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = 255;
  }
  Fill(dest, 40, 8, 128, 128, 128);
  ResampleBitmap(source, dest);
  const auto out = ScanLines24(dest);
  EXPECT_LT(out[4][2 * 3], 20);
  EXPECT_GT(out[4][37 * 3], 235);
}

}  // namespace
