// Gradient pen fills on the GDI+ canvas: a pen whose Fill has a visible gradient draws every
// line, outline and path with that gradient over the shape's bounds, and draws plain again
// once the gradient is hidden.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGDIPlusPath.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"

using namespace KelCanvas;

namespace {

int R(TColor c) { return static_cast<int>(c) & 0xFF; }
int G(TColor c) { return (static_cast<int>(c) >> 8) & 0xFF; }
int B(TColor c) { return (static_cast<int>(c) >> 16) & 0xFF; }

testing::AssertionResult Near(TColor actual, TColor expected, int tolerance = 50) {
  if (std::abs(R(actual) - R(expected)) <= tolerance && std::abs(G(actual) - G(expected)) <= tolerance &&
      std::abs(B(actual) - B(expected)) <= tolerance) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "pixel rgb(" << R(actual) << "," << G(actual) << "," << B(actual)
                                     << ") is not near rgb(" << R(expected) << "," << G(expected) << ","
                                     << B(expected) << ")";
}

class GdiPlusPenFillTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
  void SetUp() override {
    surface = std::make_unique<TDibSurface>(200, 120);
    canvas = std::make_unique<TGDIPlusCanvas>();
    ASSERT_TRUE(canvas->IsAvailable());
    canvas->SetBuffered(false);
    canvas->SetTargetCanvas(surface->Canvas());
    ASSERT_NE(canvas->Graphics(), nullptr);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(clLime);
    canvas->Pen()->SetWidth(10);
    canvas->Pen()->SetEndStyle(esFlat);
    canvas->Pen()->SetJoinStyle(jsMitter);
    canvas->ApplyPen();
  }
  void TearDown() override {
    canvas.reset();
    surface.reset();
  }

  // The pen's Fill takes a visible gradient from blue on the left to red on the right.
  void UseLeftRightPenGradient() {
    TKelGradient* g = canvas->Pen()->Fill()->Gradient();
    g->SetVisible(true);
    g->SetDirection(gdLeftRight);
    g->Colors()->Clear();
    g->Colors()->AddStop(clRed, 0, 0);
    g->Colors()->AddStop(clBlue, 0, 1);
    canvas->ApplyPen();
  }

  std::unique_ptr<TDibSurface> surface;
  std::unique_ptr<TGDIPlusCanvas> canvas;
};

TEST_F(GdiPlusPenFillTest, EveryStrokeRunsThroughTheGradientOverItsShape) {
  // Each shape spans x 20..180 and has a stroke through (23, 60) and (177, 60).
  struct Case {
    const char* name;
    std::function<void(TGDIPlusCanvas&)> draw;
  } cases[] = {
      {"line", [](TGDIPlusCanvas& c) { c.LineSegment(20, 60, 180, 60); }},
      {"line to", [](TGDIPlusCanvas& c) {
         c.MovePenTo(20, 60);
         c.LineTo(180, 60);
       }},
      {"horizontal line", [](TGDIPlusCanvas& c) { c.HLine(20, 180, 60); }},
      {"polyline", [](TGDIPlusCanvas& c) { c.Polyline({{20, 60}, {100, 60}, {180, 60}}, 2); }},
      {"float polyline", [](TGDIPlusCanvas& c) { c.PolylineF({{20, 60}, {180, 60}}, 1); }},
      {"rectangle", [](TGDIPlusCanvas& c) { c.Rectangle(23, 20, 178, 100); }},
      {"ellipse", [](TGDIPlusCanvas& c) { c.Ellipse(23, 10, 178, 110); }},
      {"rounded rectangle", [](TGDIPlusCanvas& c) { c.RoundRect(23, 20, 178, 100, 10, 10); }},
      {"polygon", [](TGDIPlusCanvas& c) { c.Polygon({{23, 20}, {177, 20}, {177, 100}, {23, 100}}, 3); }},
      {"float polygon", [](TGDIPlusCanvas& c) { c.PolygonF({{23, 20}, {177, 20}, {177, 100}, {23, 100}}, 3); }},
      {"pie", [](TGDIPlusCanvas& c) { c.PieByAngles(TRect(23, 10, 178, 110), 0, 360); }},
  };
  UseLeftRightPenGradient();
  for (const Case& c : cases) {
    surface->Clear();
    c.draw(*canvas);
    EXPECT_TRUE(Near(surface->Pixel(24, 60), clBlue)) << c.name;
    EXPECT_TRUE(Near(surface->Pixel(176, 60), clRed)) << c.name;
    EXPECT_EQ(surface->Count(clLime), 0) << c.name << ": nothing in the pen's own colour";
  }
}

TEST_F(GdiPlusPenFillTest, APathStrokeUsesTheGradientOverThePath) {
  UseLeftRightPenGradient();
  std::unique_ptr<TKelBasePath> path(canvas->NewPath());
  path->StartFigureAt(20, 60);
  path->AddLineTo(180, 60);
  path->DrawPath(*canvas);
  EXPECT_TRUE(Near(surface->Pixel(24, 60), clBlue));
  EXPECT_TRUE(Near(surface->Pixel(176, 60), clRed));
  EXPECT_EQ(surface->Count(clLime), 0);
}

TEST_F(GdiPlusPenFillTest, AnOutlinedTextStrokeTakesTheGradient) {
  canvas->SetBackMode(TRANSPARENT);
  canvas->Font()->SetName("Arial");
  canvas->Font()->SetSize(36);
  canvas->Font()->SetColor(clWhite);
  TKelPen* outline = canvas->Font()->OutLine();
  outline->SetVisible(true);
  outline->SetWidth(3);
  outline->SetColor(clLime);
  TKelGradient* g = outline->Fill()->Gradient();
  g->SetVisible(true);
  g->SetDirection(gdLeftRight);
  g->Colors()->Clear();
  g->Colors()->AddStop(clRed, 0, 0);
  g->Colors()->AddStop(clBlue, 0, 1);
  canvas->ApplyFont();
  canvas->TextOut(10, 10, "IIIIIIII");
  const TRect ink = surface->InkBounds();
  ASSERT_GT(ink.Right - ink.Left, 60);
  // The strokes are thin and antialiased: count pixels by their hue.
  int bluish = 0, reddish = 0;
  for (int y = ink.Top; y < ink.Bottom; ++y) {
    for (int x = ink.Left; x < ink.Left + 12; ++x) {
      const TColor c = surface->Pixel(x, y);
      bluish += B(c) > R(c) + 60 && B(c) > G(c) + 60 ? 1 : 0;
    }
    for (int x = ink.Right - 12; x < ink.Right; ++x) {
      const TColor c = surface->Pixel(x, y);
      reddish += R(c) > B(c) + 60 && R(c) > G(c) + 60 ? 1 : 0;
    }
  }
  EXPECT_GT(bluish, 10);
  EXPECT_GT(reddish, 10);
  EXPECT_EQ(surface->Count(clLime), 0);
}

TEST_F(GdiPlusPenFillTest, HidingTheGradientGivesThePlainPenBack) {
  UseLeftRightPenGradient();
  canvas->LineSegment(20, 30, 180, 30);
  ASSERT_TRUE(Near(surface->Pixel(24, 30), clBlue));
  // No ApplyPen in between: the canvas notices by itself.
  canvas->Pen()->Fill()->Gradient()->SetVisible(false);
  canvas->LineSegment(20, 80, 180, 80);
  EXPECT_EQ(surface->Pixel(24, 80), clLime);
  EXPECT_EQ(surface->Pixel(176, 80), clLime);
  EXPECT_EQ(canvas->PenFillBrush(), nullptr);
}

TEST_F(GdiPlusPenFillTest, AZeroWidthLevelLineStillShowsTheGradient) {
  // Its bounds have no height of their own: the extra unit at the top gives the gradient one.
  canvas->Pen()->SetWidth(0);
  canvas->Antialias = false;
  UseLeftRightPenGradient();
  canvas->HLine(20, 180, 60);
  EXPECT_TRUE(Near(surface->Pixel(22, 60), clBlue));
  EXPECT_TRUE(Near(surface->Pixel(178, 60), clRed));
  EXPECT_GT(surface->InkBounds().Right - surface->InkBounds().Left, 150);
}

}  // namespace
