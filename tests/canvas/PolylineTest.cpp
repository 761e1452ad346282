// Polylines on the GDI and the GDI+ canvas against the same points drawn one segment at a time:
// solid pens give the same pixels (a wide GDI+ pen may differ in a few pixels right at corners),
// and a dashed pen's pattern runs on across the corners.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CanvasTestSupport.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelPen.h"

namespace {

enum class Kind { Gdi, GdiPlus, GdiPlusSmooth };

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Gdi: return "Gdi";
    case Kind::GdiPlus: return "GdiPlus";
    case Kind::GdiPlusSmooth: return "GdiPlusSmooth";
  }
  return "";
}

constexpr int kWidth = 200;
constexpr int kHeight = 120;

// A canvas of the kind drawing straight (unbuffered) onto the surface.
std::unique_ptr<TKelCanvas3D> MakeCanvas(Kind kind, TDibSurface& surface) {
  if (kind == Kind::Gdi) {
    auto canvas = std::make_unique<TKelCanvas3D>();
    canvas->SetBuffered(false);
    canvas->Buffered = false;
    canvas->SetTargetCanvas(surface.Canvas());
    canvas->Bounds = TRect(0, 0, kWidth, kHeight);
    return canvas;
  }
  auto canvas = std::make_unique<TGDIPlusCanvas>();
  canvas->SetBuffered(false);
  canvas->SetTargetCanvas(surface.Canvas());
  canvas->Antialias = false;
  canvas->ChangeAntialias(true);
  canvas->ChangeAntialias(kind == Kind::GdiPlusSmooth);
  return canvas;
}

// Every pixel of the surface, $00RRGGBB, row by row.
std::vector<std::uint32_t> Snapshot(TDibSurface& surface) {
  GdiFlush();
  std::vector<std::uint32_t> pixels;
  pixels.reserve(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    const auto* row = static_cast<const std::uint32_t*>(surface.Bitmap().ScanLine(y));
    for (int x = 0; x < kWidth; ++x) pixels.push_back(row[x] & 0xFFFFFF);
  }
  return pixels;
}

struct Difference {
  int pixels = 0;            // pixels that differ
  int awayFromCorners = 0;   // of those, pixels farther than one pixel from every corner
  int inked = 0;             // pixels not white in the reference
};

Difference Compare(const std::vector<std::uint32_t>& actual, const std::vector<std::uint32_t>& expected,
                   const TPointArray& corners) {
  std::vector<bool> nearCorner(expected.size());
  for (const TPoint& p : corners)
    for (int y = std::max(p.Y - 1, 0); y <= std::min(p.Y + 1, kHeight - 1); ++y)
      for (int x = std::max(p.X - 1, 0); x <= std::min(p.X + 1, kWidth - 1); ++x) nearCorner[y * kWidth + x] = true;
  Difference d;
  for (size_t i = 0; i < actual.size(); ++i) {
    if (expected[i] != 0xFFFFFF) ++d.inked;
    if (actual[i] == expected[i]) continue;
    ++d.pixels;
    if (!nearCorner[i]) ++d.awayFromCorners;
  }
  return d;
}

// A curve as the fast line series draws it: one point per pixel column, wandering up and down.
TPointArray ColumnCurve() {
  TPointArray points;
  for (int i = 0; i < 170; ++i)
    points.push_back(TPoint(15 + i, static_cast<int>(std::lround(60 + 40 * std::sin(i * 0.21) * std::cos(i * 0.05)))));
  return points;
}

// Long segments with sharp turns, a horizontal and a vertical one.
TPointArray SharpCurve() {
  return {TPoint(10, 10), TPoint(190, 30), TPoint(20, 100), TPoint(150, 110), TPoint(150, 15), TPoint(60, 15)};
}

struct PolylineCase {
  Kind kind;
  int width;
  bool columns;  // the column curve, else the sharp one
  // Tolerance: differing pixels (all at corners) at most this share of the inked ones.
  double share;
};

std::string CaseName(const testing::TestParamInfo<PolylineCase>& info) {
  const PolylineCase& c = info.param;
  return std::string(KindName(c.kind)) + "Width" + std::to_string(c.width) + (c.columns ? "Columns" : "Sharp");
}

class PolylineTest : public testing::TestWithParam<PolylineCase> {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
  // The points drawn by `draw` on a fresh white surface through a fresh canvas of the kind.
  template <typename Draw>
  std::vector<std::uint32_t> Drawn(Kind kind, TKelPen& pen, Draw draw) {
    TDibSurface surface(kWidth, kHeight);
    std::unique_ptr<TKelCanvas3D> canvas = MakeCanvas(kind, surface);
    canvas->UsePen(&pen);
    draw(*canvas);
    canvas.reset();
    return Snapshot(surface);
  }
  static void Segments(TKelCanvas3D& canvas, const TPointArray& points) {
    canvas.MovePenTo(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i) canvas.LineTo(points[i].X, points[i].Y);
  }
};

TEST_P(PolylineTest, APolylineDrawsThePixelsOfItsSegments) {
  const PolylineCase& c = GetParam();
  const TPointArray points = c.columns ? ColumnCurve() : SharpCurve();
  TKelPen pen;
  pen.SetColor(clBlue);
  pen.SetWidth(c.width);
  const auto byPolyline = Drawn(c.kind, pen, [&](TKelCanvas3D& canvas) {
    canvas.Polyline(points, static_cast<int>(points.size()) - 1);
  });
  const auto bySegments = Drawn(c.kind, pen, [&](TKelCanvas3D& canvas) { Segments(canvas, points); });
  const Difference d = Compare(byPolyline, bySegments, points);
  ASSERT_GT(d.inked, static_cast<int>(points.size()));  // the reference drew the curve
  EXPECT_LE(d.pixels, static_cast<int>(c.share * d.inked)) << "of " << d.inked;
  EXPECT_EQ(d.awayFromCorners, 0);
}

// GDI draws exactly the same pixels, and so does GDI+ with a pen 1 wide. A wider GDI+ pen
// outlines a polyline as one shape with round joins, while segments one by one are round-capped
// pieces laid over each other: at a corner the two outlines fall on the pixel grid a little
// differently, so a few pixels right at corners may differ; nothing away from the corners does.
INSTANTIATE_TEST_SUITE_P(
    Cases, PolylineTest,
    testing::Values(PolylineCase{Kind::Gdi, 1, true, 0}, PolylineCase{Kind::Gdi, 2, true, 0},
                    PolylineCase{Kind::Gdi, 1, false, 0}, PolylineCase{Kind::Gdi, 2, false, 0},
                    PolylineCase{Kind::GdiPlus, 1, true, 0}, PolylineCase{Kind::GdiPlus, 2, true, 0.01},
                    PolylineCase{Kind::GdiPlus, 1, false, 0}, PolylineCase{Kind::GdiPlus, 2, false, 0.01},
                    PolylineCase{Kind::GdiPlusSmooth, 1, true, 0}, PolylineCase{Kind::GdiPlusSmooth, 2, true, 0.01},
                    PolylineCase{Kind::GdiPlusSmooth, 1, false, 0}, PolylineCase{Kind::GdiPlusSmooth, 2, false, 0.01}),
    CaseName);

class DashedPolylineTest : public PolylineTest {};

// A dashed curve of short segments: one by one, each segment starts the pattern again and the
// curve comes out solid; along one polyline the dashes run on and leave their gaps.
TEST_P(DashedPolylineTest, DashesRunOnAcrossTheCorners) {
  const Kind kind = GetParam().kind;
  TPointArray points;
  for (int i = 0; i <= 80; ++i) points.push_back(TPoint(20 + 2 * i, 50 + (i % 2)));
  TKelPen solid;
  solid.SetColor(clBlack);
  TKelPen dashed;
  dashed.Assign(&solid);
  dashed.SetStyle(psDash);
  const int high = static_cast<int>(points.size()) - 1;
  const auto full = Drawn(kind, solid, [&](TKelCanvas3D& canvas) { canvas.Polyline(points, high); });
  const auto dashes = Drawn(kind, dashed, [&](TKelCanvas3D& canvas) { canvas.Polyline(points, high); });
  int fullInk = 0, dashInk = 0, outside = 0;
  for (size_t i = 0; i < full.size(); ++i) {
    if (full[i] != 0xFFFFFF) ++fullInk;
    if (dashes[i] != 0xFFFFFF) {
      ++dashInk;
      if (full[i] == 0xFFFFFF) ++outside;
    }
  }
  ASSERT_GT(fullInk, 150);
  EXPECT_EQ(outside, 0);
  // Gaps of the pattern along the curve, yet most of it drawn.
  EXPECT_LT(dashInk, fullInk * 85 / 100);
  EXPECT_GT(dashInk, fullInk * 40 / 100);
}

INSTANTIATE_TEST_SUITE_P(Canvases, DashedPolylineTest,
                         testing::Values(PolylineCase{Kind::Gdi, 1, false, 0},
                                         PolylineCase{Kind::GdiPlus, 1, false, 0}),
                         [](const testing::TestParamInfo<PolylineCase>& info) {
                           return std::string(KindName(info.param.kind));
                         });

class XorPolylineTest : public PolylineTest {};

// An XOR pen, which GDI+ cannot draw, inverts along a GDI+ canvas's polyline (through its GDI
// companion): drawn once the curve shows, drawn again it is gone.
TEST_P(XorPolylineTest, AnXorPolylineDrawnTwiceLeavesNothing) {
  const Kind kind = GetParam().kind;
  const TPointArray points = SharpCurve();
  TDibSurface surface(kWidth, kHeight);
  std::unique_ptr<TKelCanvas3D> canvas = MakeCanvas(kind, surface);
  TKelPen pen;
  pen.SetColor(clWhite);
  pen.SetMode(pmXor);
  canvas->UsePen(&pen);
  const int high = static_cast<int>(points.size()) - 1;
  canvas->Polyline(points, high);
  // White XOR white is black along the curve.
  EXPECT_GT(surface.Count(clBlack), 400);
  EXPECT_EQ(surface.Count(clBlack) + surface.Count(clWhite), kWidth * kHeight);
  canvas->Polyline(points, high);
  EXPECT_EQ(surface.Count(clWhite), kWidth * kHeight);
}

INSTANTIATE_TEST_SUITE_P(Canvases, XorPolylineTest,
                         testing::Values(PolylineCase{Kind::GdiPlus, 1, false, 0},
                                         PolylineCase{Kind::GdiPlusSmooth, 1, false, 0}),
                         [](const testing::TestParamInfo<PolylineCase>& info) {
                           return std::string(KindName(info.param.kind));
                         });

}  // namespace
