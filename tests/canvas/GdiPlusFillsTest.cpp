// The GDI+ canvas's fills under Wine's gdiplus.dll: linear and path gradients (with the
// centre and surround colours Wine fills with), degenerate stop lists, texture brushes,
// pictures with alpha and transparency, shape shadows and pie-slice highlights.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/Metafile.h"

using namespace KelCanvas;

namespace {

int R(TColor c) { return static_cast<int>(c) & 0xFF; }
int G(TColor c) { return (static_cast<int>(c) >> 8) & 0xFF; }
int B(TColor c) { return (static_cast<int>(c) >> 16) & 0xFF; }

// Each channel within `tolerance` of the expected colour's.
testing::AssertionResult Near(TColor actual, TColor expected, int tolerance = 40) {
  if (std::abs(R(actual) - R(expected)) <= tolerance && std::abs(G(actual) - G(expected)) <= tolerance &&
      std::abs(B(actual) - B(expected)) <= tolerance) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "pixel rgb(" << R(actual) << "," << G(actual) << "," << B(actual)
                                     << ") is not near rgb(" << R(expected) << "," << G(expected) << ","
                                     << B(expected) << ")";
}

class GdiPlusFillsTest : public testing::Test {
 public:
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
    canvas->Antialias = false;
    canvas->ChangeAntialias(true);
    canvas->ChangeAntialias(false);
    canvas->Pen()->Hide();
    canvas->Brush()->SetColor(clBlue);
  }
  void TearDown() override {
    canvas.reset();
    surface.reset();
  }

  // A visible gradient of `direction` with the given stops (colour, offset).
  TKelGradient* UseGradient(TGradientDirection direction, std::initializer_list<std::pair<TColor, double>> stops) {
    TKelGradient* g = canvas->Brush()->Gradient();
    g->SetVisible(true);
    g->SetDirection(direction);
    g->Colors()->Clear();
    for (const auto& [color, offset] : stops) g->Colors()->AddStop(color, 0, offset);
    return g;
  }

  std::unique_ptr<TDibSurface> surface;
  std::unique_ptr<TGDIPlusCanvas> canvas;
};

// ---- Linear gradients ------------------------------------------------------------------------

TEST_F(GdiPlusFillsTest, TheDirectionTable) {
  struct Row {
    TGradientDirection direction;
    bool reversed;
    int mode;
    int angle;
  } rows[] = {
      {gdTopBottom, false, 1, 90},     {gdBottomTop, true, 1, 270},      {gdLeftRight, false, 0, 0},
      {gdRightLeft, true, 0, 180},     {gdFromTopLeft, false, 2, 45},    {gdFromBottomLeft, true, 3, 135},
      {gdDiagonalUp, false, 3, 45},    {gdDiagonalDown, true, 2, 135},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(TGDIPlusCanvas::IsReversedDirection(r.direction), r.reversed) << r.direction;
    EXPECT_EQ(TGDIPlusCanvas::LinearGradientModeOf(r.direction), r.mode) << r.direction;
    EXPECT_EQ(TGDIPlusCanvas::LinearGradientAngleOf(r.direction), r.angle) << r.direction;
  }
  EXPECT_FALSE(TGDIPlusCanvas::IsReversedDirection(gdRadial));
  EXPECT_FALSE(TGDIPlusCanvas::IsReversedDirection(gdFromCenter));
}

TEST_F(GdiPlusFillsTest, LinearGradientsRunInTheirDirection) {
  // Stops red at 0 and blue at 1; the first point is where the fill starts in the direction.
  struct Case {
    const char* name;
    TGradientDirection direction;
    TPoint first, last;
    TColor atFirst, atLast;
  } cases[] = {
      {"top to bottom", gdTopBottom, {60, 22}, {60, 97}, clBlue, clRed},
      {"bottom to top", gdBottomTop, {60, 22}, {60, 97}, clRed, clBlue},
      {"left to right", gdLeftRight, {22, 60}, {137, 60}, clBlue, clRed},
      {"right to left", gdRightLeft, {22, 60}, {137, 60}, clRed, clBlue},
  };
  for (const Case& c : cases) {
    surface->Clear();
    UseGradient(c.direction, {{clRed, 0}, {clBlue, 1}});
    canvas->FillRect(TRect(20, 20, 140, 100));
    EXPECT_TRUE(Near(surface->Pixel(c.first.X, c.first.Y), c.atFirst)) << c.name;
    EXPECT_TRUE(Near(surface->Pixel(c.last.X, c.last.Y), c.atLast)) << c.name;
    EXPECT_EQ(surface->InkBounds(), TRect(20, 20, 140, 100)) << c.name;
  }
}

TEST_F(GdiPlusFillsTest, AThreeStopGradientShowsItsMiddleStop) {
  UseGradient(gdLeftRight, {{clRed, 0}, {clLime, 0.5}, {clBlue, 1}});
  canvas->FillRect(TRect(20, 20, 141, 100));
  EXPECT_TRUE(Near(surface->Pixel(80, 60), clLime));
  EXPECT_TRUE(Near(surface->Pixel(22, 60), clBlue));
  EXPECT_TRUE(Near(surface->Pixel(138, 60), clRed));
}

TEST_F(GdiPlusFillsTest, StopsInsideTheRangeArePaddedWithTheEndColours) {
  // Without the padding GDI+ refuses the blend and the middle stop is lost.
  UseGradient(gdLeftRight, {{clRed, 0.2}, {clLime, 0.5}, {clBlue, 0.8}});
  canvas->FillRect(TRect(20, 20, 141, 100));
  EXPECT_TRUE(Near(surface->Pixel(80, 60), clLime));
  EXPECT_TRUE(Near(surface->Pixel(24, 60), clBlue, 10)) << "flat end before the first stop";
  EXPECT_TRUE(Near(surface->Pixel(136, 60), clRed, 10)) << "flat end after the last stop";
}

TEST_F(GdiPlusFillsTest, ThePresetBlendRunsFromZeroToOneInDrawingOrder) {
  std::vector<TArgb> colors;
  std::vector<float> positions;
  TKelGradient* g = UseGradient(gdTopBottom, {{clRed, 0.25}, {clBlue, 0.75}});
  canvas->FillPresetBlend(g, colors, positions);
  EXPECT_EQ(positions, (std::vector<float>{0, 0.25f, 0.75f, 1}));
  EXPECT_EQ(colors, (std::vector<TArgb>{0xFF0000FFu, 0xFF0000FFu, 0xFFFF0000u, 0xFFFF0000u}));
  g->SetDirection(gdBottomTop);  // reversed: stops in their own order
  canvas->FillPresetBlend(g, colors, positions);
  EXPECT_EQ(positions, (std::vector<float>{0, 0.25f, 0.75f, 1}));
  EXPECT_EQ(colors.front(), 0xFFFF0000u);
  g->Colors()->Clear();
  canvas->FillPresetBlend(g, colors, positions);
  EXPECT_TRUE(colors.empty());
}

TEST_F(GdiPlusFillsTest, AnAngleTurnsTheLinearGradient) {
  // gdLeftRight at 90 degrees runs like gdTopBottom.
  TKelGradient* g = UseGradient(gdLeftRight, {{clRed, 0}, {clBlue, 1}});
  g->SetAngle(90);
  canvas->FillRect(TRect(20, 20, 140, 100));
  EXPECT_TRUE(Near(surface->Pixel(80, 22), clBlue));
  EXPECT_TRUE(Near(surface->Pixel(80, 97), clRed));
}

// ---- Path gradients --------------------------------------------------------------------------

TEST_F(GdiPlusFillsTest, PathGradientsHaveTheFirstStopInTheCentreAndTheLastAtTheEdge) {
  struct Case {
    const char* name;
    std::function<void(GdiPlusFillsTest&)> draw;
    TPoint edge;
  } cases[] = {
      {"radial rectangle", [](GdiPlusFillsTest& t) {
         t.UseGradient(gdRadial, {{clRed, 0}, {clBlue, 1}});
         t.canvas->FillRect(TRect(40, 20, 160, 100));
       }, {41, 21}},
      {"from the centre", [](GdiPlusFillsTest& t) {
         t.UseGradient(gdFromCenter, {{clRed, 0}, {clBlue, 1}});
         t.canvas->FillRect(TRect(40, 20, 160, 100));
       }, {40, 60}},
      {"radial polygon", [](GdiPlusFillsTest& t) {
         t.UseGradient(gdRadial, {{clRed, 0}, {clBlue, 1}});
         t.canvas->Polygon({{40, 20}, {160, 20}, {160, 100}, {40, 100}}, 3);
       }, {41, 21}},
  };
  for (const Case& c : cases) {
    surface->Clear();
    c.draw(*this);
    EXPECT_TRUE(Near(surface->Pixel(100, 60), clRed, 60)) << c.name << " centre";
    EXPECT_TRUE(Near(surface->Pixel(c.edge.X, c.edge.Y), clBlue, 90)) << c.name << " edge";
    EXPECT_EQ(surface->Count(clWhite, TRect(40, 20, 160, 100)), 0) << c.name << ": no white fill";
  }
}

TEST_F(GdiPlusFillsTest, TheRadialOffsetMovesTheCentre) {
  TKelGradient* g = UseGradient(gdRadial, {{clRed, 0}, {clBlue, 1}});
  g->SetRadialX(-40);
  canvas->FillRect(TRect(40, 20, 160, 100));
  EXPECT_GT(R(surface->Pixel(60, 60)), R(surface->Pixel(140, 60)));
}

TEST_F(GdiPlusFillsTest, UnusualStopListsDrawWithoutAWhiteFill) {
  struct Case {
    const char* name;
    std::function<void(TKelGradient*)> stops;
    TColor centre;
  } cases[] = {
      {"stops at 0.3 and 0.7", [](TKelGradient* g) {
         g->Colors()->AddStop(clRed, 0, 0.3);
         g->Colors()->AddStop(clBlue, 0, 0.7);
       }, clRed},
      {"one stop", [](TKelGradient* g) { g->Colors()->AddStop(clLime, 0, 0.5); }, clLime},
      {"no stops", [](TKelGradient*) {}, clBlue /* the brush colour */},
      {"300 stops", [](TKelGradient* g) {
         for (int i = 0; i < 300; ++i) g->Colors()->AddStop(i < 150 ? clRed : clLime, 0, i / 299.0);
       }, clRed},
  };
  for (TGradientDirection direction : {gdRadial, gdFromCenter, gdTopBottom}) {
    for (const Case& c : cases) {
      surface->Clear(clBlack);
      TKelGradient* g = UseGradient(direction, {});
      c.stops(g);
      canvas->FillRect(TRect(40, 20, 160, 100));
      const TColor centre = surface->Pixel(100, 60);
      EXPECT_NE(centre, clWhite) << c.name << " direction " << direction;
      EXPECT_NE(centre, clBlack) << c.name << " direction " << direction << ": nothing drawn";
      if (direction != gdTopBottom) {
        EXPECT_TRUE(Near(centre, c.centre, 60)) << c.name << " direction " << direction;
      }
    }
  }
}

// ---- Textures and pictures -------------------------------------------------------------------

// A bitmap of `w` × `h` pixels given row by row.
std::unique_ptr<TBitmap> MakeBitmap(int w, int h, std::initializer_list<TColor> pixels) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(w, h);
  int i = 0;
  for (TColor c : pixels) {
    ::SetPixel(bitmap->Canvas()->Handle(), i % w, i / w, static_cast<COLORREF>(c));
    ++i;
  }
  return bitmap;
}

TEST_F(GdiPlusFillsTest, ATextureBrushShowsItsPattern) {
  auto pattern = MakeBitmap(2, 2, {clRed, clBlue, clBlue, clRed});
  canvas->Brush()->SetBitmap(pattern.get());
  canvas->FillRect(TRect(20, 20, 60, 60));
  EXPECT_EQ(surface->Pixel(20, 20), clRed);
  EXPECT_EQ(surface->Pixel(21, 20), clBlue);
  EXPECT_EQ(surface->Pixel(21, 21), clRed);
  EXPECT_EQ(surface->Pixel(60, 20), clWhite);
  canvas->Brush()->SetBitmap(nullptr);
}

TEST_F(GdiPlusFillsTest, ABrushPictureIsTiledAtTheGroupAlpha) {
  auto picture = MakeBitmap(2, 2, {clRed, clRed, clRed, clRed});
  canvas->Brush()->Image()->SetGraphic(picture.get());
  canvas->StartTransparency(TRect(), 50);
  canvas->FillRect(TRect(20, 20, 60, 60));
  canvas->FinishTransparency(nullptr);
  EXPECT_TRUE(Near(surface->Pixel(40, 40), static_cast<TColor>(RGB(255, 127, 127)), 8));
}

TEST_F(GdiPlusFillsTest, ASmallBitmapStretchesAtFullAndHalfAlpha) {
  auto bitmap = MakeBitmap(2, 2, {clRed, clLime, clBlue, clYellow});
  canvas->StretchQuality = sqLow;
  canvas->DrawGraphicStretched(TRect(20, 20, 60, 60), bitmap.get());
  EXPECT_EQ(surface->Pixel(25, 25), clRed);
  EXPECT_EQ(surface->Pixel(55, 25), clLime);
  EXPECT_EQ(surface->Pixel(25, 55), clBlue);
  EXPECT_EQ(surface->Pixel(55, 55), clYellow);
  EXPECT_EQ(surface->InkBounds(), TRect(20, 20, 60, 60));

  canvas->StartTransparency(TRect(), 50);  // alpha 128
  canvas->DrawGraphicStretched(TRect(100, 20, 140, 60), bitmap.get());
  canvas->FinishTransparency(nullptr);
  EXPECT_TRUE(Near(surface->Pixel(105, 25), static_cast<TColor>(RGB(255, 127, 127)), 8));
  EXPECT_TRUE(Near(surface->Pixel(105, 55), static_cast<TColor>(RGB(127, 127, 255)), 8));
}

TEST_F(GdiPlusFillsTest, ATransparentBitmapDropsItsBottomLeftColourInBothCalls) {
  auto bitmap = MakeBitmap(4, 4, {clRed, clRed, clRed, clRed,     //
                                  clRed, clRed, clRed, clRed,     //
                                  clLime, clLime, clRed, clRed,   //
                                  clLime, clLime, clRed, clRed});
  bitmap->SetTransparent(true);
  canvas->DrawGraphic(10, 10, bitmap.get());
  EXPECT_EQ(surface->Pixel(10, 10), clRed);
  EXPECT_EQ(surface->Pixel(10, 13), clWhite);
  EXPECT_EQ(surface->Count(clLime), 0);
  EXPECT_EQ(surface->BoundsOf(clRed), TRect(10, 10, 14, 14));

  canvas->StretchQuality = sqLow;
  canvas->DrawGraphicStretched(TRect(40, 10, 80, 50), bitmap.get());
  EXPECT_EQ(surface->Pixel(45, 15), clRed);
  EXPECT_EQ(surface->Pixel(45, 45), clWhite);
  EXPECT_EQ(surface->Count(clLime), 0);
}

TEST_F(GdiPlusFillsTest, AMetafileAndAnIconDraw) {
  HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{0, 0, 40, 40};
  FillRect(recorder, &r, red);
  DeleteObject(red);
  TMetafile metafile;
  metafile.SetHandle(CloseEnhMetaFile(recorder));
  canvas->DrawGraphicStretched(TRect(20, 20, 60, 60), &metafile);
  EXPECT_GT(surface->Count(clRed, TRect(20, 20, 60, 60)), 1000);
  EXPECT_EQ(surface->Count(clRed, TRect(61, 0, 200, 120)), 0);

  auto colour = MakeBitmap(16, 16, {});
  colour->Canvas()->Brush()->SetColor(clBlue);
  colour->Canvas()->FillRect(TRect(0, 0, 16, 16));
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  HDC maskDC = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(maskDC, mask);
  PatBlt(maskDC, 0, 0, 16, 16, BLACKNESS);  // every pixel opaque
  SelectObject(maskDC, old);
  DeleteDC(maskDC);
  ICONINFO info{TRUE, 0, 0, mask, colour->Handle()};
  TIcon icon;
  icon.SetHandle(CreateIconIndirect(&info));
  DeleteObject(mask);
  ASSERT_FALSE(icon.Empty());
  canvas->DrawGraphic(100, 20, &icon);
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(100, 20, 116, 36));
}

// ---- Shadows and highlights ------------------------------------------------------------------

TEST_F(GdiPlusFillsTest, ARectangleShadowHasCornersOfFour) {
  TKelShadow shadow;
  shadow.SetColor(clBlack);
  shadow.SetSmooth(false);
  shadow.SetTransparency(0);
  canvas->DrawShadowShape(&shadow, TRect(20, 20, 100, 80), false, 0, {}, -1, 0, 0, 360);
  EXPECT_EQ(surface->Pixel(20, 20), clWhite) << "rounded corner";
  EXPECT_EQ(surface->Pixel(60, 50), clBlack);
  EXPECT_EQ(surface->Pixel(60, 21), clBlack);
  EXPECT_EQ(surface->Pixel(24, 24), clBlack);
}

TEST_F(GdiPlusFillsTest, AHalfTransparentSolidShadowBlends) {
  TKelShadow shadow;
  shadow.SetColor(clBlack);
  shadow.SetSmooth(false);
  shadow.SetTransparency(50);
  canvas->DrawShadowShape(&shadow, TRect(20, 20, 100, 80), true, 0, {}, -1, 0, 0, 360);
  EXPECT_TRUE(Near(surface->Pixel(60, 50), static_cast<TColor>(RGB(127, 127, 127)), 6));
}

TEST_F(GdiPlusFillsTest, SmoothShadowsFadeOutwardsEvenWithAHugeBlur) {
  for (int blur : {4, 500}) {
    surface->Clear();
    TKelShadow shadow;
    shadow.SetColor(clBlack);
    shadow.SetSmooth(true);
    shadow.SetSmoothBlur(blur);
    canvas->DrawShadowShape(&shadow, TRect(20, 20, 180, 100), false, 0, {}, -1, 0, 0, 360);
    EXPECT_TRUE(Near(surface->Pixel(100, 60), clBlack, 30)) << blur;
    EXPECT_GT(R(surface->Pixel(22, 60)), R(surface->Pixel(100, 60)) + 60) << blur << ": lighter at the edge";
  }
}

TEST_F(GdiPlusFillsTest, APieHighlightLightensTheSliceAndRestoresTheCanvas) {
  canvas->Brush()->SetColor(clNavy);
  canvas->FillRect(TRect(0, 0, 200, 120));
  const TRect top(40, 10, 160, 110);
  canvas->Pen()->SetVisible(true);
  canvas->FillShapeGradient(0, 0, top, TRect(40, 14, 160, 114), TRect(70, 35, 130, 85), 300, 320, TPoint(100, 60),
                            false);
  // The slice from 300 to 320 degrees lies to the lower right of the centre.
  const TPointFloat inSlice = TKelCanvas3D::EllipsePoint(TRect(70, 35, 130, 85), 310);
  const TColor lit = surface->Pixel(static_cast<int>(inSlice.X), static_cast<int>(inSlice.Y));
  EXPECT_NE(lit, clNavy);
  EXPECT_GT(R(lit), R(clNavy));
  EXPECT_EQ(surface->Pixel(60, 30), clNavy) << "outside the slice";
  EXPECT_FALSE(canvas->Brush()->Gradient()->Visible());
  EXPECT_TRUE(canvas->GradientPolygon.empty());
  EXPECT_NE(canvas->Pen()->Style(), psClear);
}

}  // namespace
