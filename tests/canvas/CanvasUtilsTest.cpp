// Geometry, colour and bitmap routines of the drawing surface.
#include <gtest/gtest.h>

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

TEST(CanvasUtils, OrderedRect) { EXPECT_EQ(OrderedRect(TRect(9, 8, 1, 2)), TRect(1, 2, 9, 8)); }

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

TEST(CanvasUtils, SplitColorBytesStartsWithByteTwo) {
  std::uint8_t b0, b1, b2;
  SplitColorBytes(0x00112233, b0, b1, b2);
  EXPECT_EQ(b0, 0x11);
  EXPECT_EQ(b1, 0x22);
  EXPECT_EQ(b2, 0x33);
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
