// Point-array operations given a high index far past the array's end, on both canvases: each
// takes the points the array has and never reads the stale memory behind them. The arrays here
// keep far-away points in their spare capacity, so a read past the end shows as ink outside the
// triangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"

namespace {

constexpr int kPastTheEnd = 40;

// `real` followed, in the spare capacity only, by copies of `stale`.
template <class P>
std::vector<P> WithStaleTail(std::initializer_list<P> real, P stale) {
  std::vector<P> points(64, stale);
  points.resize(real.size());
  std::copy(real.begin(), real.end(), points.begin());
  return points;
}

// The triangle (20, 80), (60, 20), (100, 80) in every point type; the stale points lie at
// (190, 110), far right of it.
const TPointArray& Flat() {
  static const auto points = WithStaleTail<TPoint>({{20, 80}, {60, 20}, {100, 80}}, {190, 110});
  return points;
}
const TPointFloatArray& FlatF() {
  static const auto points = WithStaleTail<TPointFloat>({{20, 80}, {60, 20}, {100, 80}}, {190, 110});
  return points;
}
const TPoint3DArray& Deep() {
  static const auto points = WithStaleTail<TPoint3D>({{20, 80, 0}, {60, 20, 0}, {100, 80, 0}}, {190, 110, 0});
  return points;
}
const TPoint3DFloatArray& DeepF() {
  static const auto points = WithStaleTail<TPoint3DFloat>({{20, 80, 0}, {60, 20, 0}, {100, 80, 0}}, {190, 110, 0});
  return points;
}

enum class Fill { Solid, Picture, Gradient };

struct BoundsCase {
  const char* name;
  Fill fill;
  bool filled;  // a closed, filled figure (else only its outline is drawn)
  std::function<void(TKelCanvas3D&)> draw;
};

class PointArrayBoundsTest : public testing::TestWithParam<BoundsCase> {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
};

TEST_P(PointArrayBoundsTest, AHighIndexPastTheEndTakesThePointsTheArrayHas) {
  const BoundsCase& c = GetParam();
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(2, 2);
  picture.Canvas()->Brush()->SetColor(clRed);
  picture.Canvas()->FillRect(TRect(0, 0, 2, 2));
  for (bool gdiPlus : {false, true}) {
    TDibSurface surface(200, 120);
    std::unique_ptr<TKelCanvas3D> canvas;
    if (gdiPlus) {
      auto plus = std::make_unique<TGDIPlusCanvas>();
      plus->ChangeAntialias(false);
      canvas = std::move(plus);
    } else {
      canvas = std::make_unique<TKelCanvas3D>();
    }
    canvas->SetBuffered(false);
    canvas->SetTargetCanvas(surface.Canvas());
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetColor(clBlue);
    canvas->Brush()->Gradient()->SetStartColor(clLime);
    canvas->Brush()->Gradient()->SetEndColor(clLime);
    canvas->Brush()->Gradient()->SetVisible(c.fill == Fill::Gradient);
    if (c.fill == Fill::Picture) canvas->Brush()->Image()->SetGraphic(&picture);
    c.draw(*canvas);
    canvas.reset();
    const char* which = gdiPlus ? "GDI+" : "GDI";
    EXPECT_LE(surface.InkBounds().Right, 102) << which << ": no ink toward the stale points";
    EXPECT_FALSE(surface.InkBounds().IsEmpty()) << which;
    if (c.filled) {
      EXPECT_NE(surface.Pixel(60, 60), clWhite) << which << ": the triangle is filled";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PointArrayBoundsTest,
    testing::Values(
        BoundsCase{"Polygon", Fill::Solid, true, [](TKelCanvas3D& c) { c.Polygon(Flat(), kPastTheEnd); }},
        BoundsCase{"PolygonWithPicture", Fill::Picture, true,
                   [](TKelCanvas3D& c) { c.Polygon(Flat(), kPastTheEnd); }},
        BoundsCase{"PolygonWithGradient", Fill::Gradient, true,
                   [](TKelCanvas3D& c) { c.Polygon(Flat(), kPastTheEnd); }},
        BoundsCase{"PolygonF", Fill::Solid, true, [](TKelCanvas3D& c) { c.PolygonF(FlatF(), kPastTheEnd); }},
        BoundsCase{"Polyline", Fill::Solid, false, [](TKelCanvas3D& c) { c.Polyline(Flat(), kPastTheEnd); }},
        BoundsCase{"PolylineF", Fill::Solid, false, [](TKelCanvas3D& c) { c.PolylineF(FlatF(), kPastTheEnd); }},
        BoundsCase{"PolygonAtZ", Fill::Solid, true, [](TKelCanvas3D& c) { c.PolygonAtZ(Flat(), kPastTheEnd, 0); }},
        BoundsCase{"PolylineAtZ", Fill::Solid, false,
                   [](TKelCanvas3D& c) { c.PolylineAtZ(Flat(), kPastTheEnd, 0); }},
        BoundsCase{"PolygonAtZF", Fill::Solid, true,
                   [](TKelCanvas3D& c) { c.PolygonAtZF(FlatF(), kPastTheEnd, 0); }},
        BoundsCase{"FillPolygon3D", Fill::Solid, true,
                   [](TKelCanvas3D& c) { c.FillPolygon3D(Deep(), kPastTheEnd); }},
        BoundsCase{"FillPolygon3DWithGradient", Fill::Gradient, true,
                   [](TKelCanvas3D& c) { c.FillPolygon3D(Deep(), kPastTheEnd); }},
        BoundsCase{"FillPolygon3DF", Fill::Solid, true,
                   [](TKelCanvas3D& c) { c.FillPolygon3DF(DeepF(), kPastTheEnd, false); }},
        BoundsCase{"PolygonFloat", Fill::Solid, false,
                   [](TKelCanvas3D& c) { c.PolygonFloat(DeepF(), kPastTheEnd); }}),
    [](const testing::TestParamInfo<BoundsCase>& info) { return std::string(info.param.name); });

}  // namespace
