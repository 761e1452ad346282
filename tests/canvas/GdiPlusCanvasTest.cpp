// The GDI+ canvas under Wine's gdiplus.dll: registration and start-up, a system without GDI+,
// colours and alpha, shapes drawn into a DIB, pens read back through the flat interface,
// clipping and element transforms, and the buffered frame.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Canvas.h"

namespace {

// A GDI+ canvas drawing straight (unbuffered) onto a white 200 × 120 DIB.
class GdiPlusCanvasTest : public testing::Test {
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
    canvas->Antialias = false;
    canvas->ChangeAntialias(true);
    canvas->ChangeAntialias(false);  // crisp edges for pixel checks
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetColor(clBlue);
  }
  void TearDown() override {
    canvas.reset();
    surface.reset();
  }

  std::unique_ptr<TDibSurface> surface;
  std::unique_ptr<TGDIPlusCanvas> canvas;
};

TEST_F(GdiPlusCanvasTest, TheRegistryMakesAGdiPlusCanvasThatStartsGdiPlusOnce) {
  const TClassInfo& cls = FindCanvasClass("TGDIPlusCanvas");
  ASSERT_EQ(cls.Name(), "TGDIPlusCanvas");
  canvas.reset();
  StopGdiPlus();
  const int before = GdiPlusStartupCalls();
  std::unique_ptr<TObject> first(cls.CreateInstance());
  std::unique_ptr<TObject> second(cls.CreateInstance());
  auto* made = dynamic_cast<TGDIPlusCanvas*>(first.get());
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetDescription(), "GDI+");
  EXPECT_TRUE(made->IsAvailable());
  EXPECT_EQ(GdiPlusStartupCalls(), before + 1);
}

TEST_F(GdiPlusCanvasTest, WithoutTheGdiPlusExportsNothingIsCalledAndNothingDraws) {
  canvas.reset();
  StopGdiPlus();
  const char* saved = GdiPlusLibraryName;
  GdiPlusLibraryName = "kernel32.dll";  // loads, but exports no GDI+ function
  const int before = GdiPlusStartupCalls();
  {
    TGDIPlusCanvas missing;
    EXPECT_NE(GdiPlusLibrary(), nullptr);
    EXPECT_EQ(GdiPlus.GdipCreateSolidFill, nullptr);
    EXPECT_FALSE(missing.IsAvailable());
    missing.SetBuffered(false);
    missing.SetTargetCanvas(surface->Canvas());
    EXPECT_EQ(missing.Graphics(), nullptr);
    missing.Brush()->SetColor(clRed);
    missing.Rectangle(10, 10, 50, 50);
    missing.ClipToRect(TRect(0, 0, 20, 20));
    missing.PopClip();
    missing.LineSegment(0, 0, 100, 100);
  }
  EXPECT_EQ(GdiPlusStartupCalls(), before) << "no start-up without the entries";
  EXPECT_EQ(surface->InkBounds(), TRect());
  StopGdiPlus();
  GdiPlusLibraryName = saved;
}

TEST_F(GdiPlusCanvasTest, ACanvasOutlivingTheStopIsFreedWithoutCallingGdiPlus) {
  canvas->Rectangle(10, 10, 50, 50);
  canvas->ClipToRect(TRect(0, 0, 30, 30));
  StopGdiPlus();  // the library is unloaded: any call into it would crash
  canvas.reset();
  SUCCEED();
}

TEST_F(GdiPlusCanvasTest, StatusErrorsNameTheStatus) {
  EXPECT_NO_THROW(CheckGdiPlusStatus(0));
  auto message = [](int status) {
    try {
      CheckGdiPlusStatus(status);
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(2), "GDI+ Error: 2 Invalid Parameter");
  EXPECT_EQ(message(20), "GDI+ Error: 20 Property Not Supported");
  EXPECT_EQ(message(21), "GDI+ Error: 21 Unknown");
}

// ---- Colours ---------------------------------------------------------------------------------

TEST_F(GdiPlusCanvasTest, ColoursBecomeArgb) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const TArgb faceArgb = 0xFF000000u | (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  struct Case {
    const char* name;
    TColor color;
    int alpha;
    TArgb expected;
  } cases[] = {
      {"red", clRed, 255, 0xFFFF0000u},
      {"blue ($00FF0000)", static_cast<TColor>(0x00FF0000), 255, 0xFF0000FFu},
      {"half transparent green", static_cast<TColor>(0x0000FF00), 128, 0x8000FF00u},
      {"system colour", clBtnFace, 255, faceArgb},
      {"system colour index 0 with red 0", static_cast<TColor>(0xFF000000), 255,
       0xFF000000u | (GetRValue(GetSysColor(0)) << 16) | (GetGValue(GetSysColor(0)) << 8) |
           GetBValue(GetSysColor(0))},
      {"no colour", clNone, 255, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TGDIPlusCanvas::ColorToArgb(c.color, c.alpha), c.expected) << c.name;
}

TEST_F(GdiPlusCanvasTest, TransparencyGroupsMultiplyAlphaAndRestoreIt) {
  EXPECT_EQ(canvas->CurrentTransparency, 255);
  EXPECT_EQ(canvas->StartTransparency(TRect(), 40), nullptr);
  EXPECT_EQ(canvas->CurrentTransparency, 153);
  canvas->StartTransparency(TRect(), 40);
  EXPECT_EQ(canvas->CurrentTransparency, 92);
  canvas->FinishTransparency(nullptr);
  EXPECT_EQ(canvas->CurrentTransparency, 153);
  canvas->FinishTransparency(nullptr);
  EXPECT_EQ(canvas->CurrentTransparency, 255);
}

TEST_F(GdiPlusCanvasTest, AButtonFaceFillShowsTheSystemColour) {
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(TRect(10, 10, 60, 40));
  EXPECT_EQ(surface->Pixel(30, 25), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(surface->BoundsOf(static_cast<TColor>(GetSysColor(COLOR_BTNFACE))), TRect(10, 10, 60, 40));
}

// ---- Shapes ----------------------------------------------------------------------------------

TEST_F(GdiPlusCanvasTest, ShapesFillInsideAndLeaveOutside) {
  struct Case {
    const char* name;
    std::function<void(TGDIPlusCanvas&)> draw;
    TPoint inside;
    TPoint outside;
  } cases[] = {
      {"Rectangle", [](TGDIPlusCanvas& c) { c.Rectangle(20, 20, 100, 80); }, {60, 50}, {110, 50}},
      {"Ellipse", [](TGDIPlusCanvas& c) { c.Ellipse(20, 20, 100, 80); }, {60, 50}, {24, 24}},
      {"RoundRect", [](TGDIPlusCanvas& c) { c.RoundRect(20, 20, 100, 80, 30, 30); }, {60, 50}, {21, 21}},
      {"Polygon", [](TGDIPlusCanvas& c) { c.Polygon({{20, 80}, {60, 20}, {100, 80}}, 2); }, {60, 60}, {25, 25}},
      {"PieByAngles", [](TGDIPlusCanvas& c) { c.PieByAngles(TRect(20, 20, 100, 100), 0, 90); }, {70, 50}, {40, 80}},
      {"FillRect", [](TGDIPlusCanvas& c) { c.FillRect(TRect(20, 20, 100, 80)); }, {99, 79}, {100, 80}},
  };
  for (const Case& c : cases) {
    surface->Clear();
    c.draw(*canvas);
    EXPECT_EQ(surface->Pixel(c.inside.X, c.inside.Y), clBlue) << c.name << " inside";
    EXPECT_EQ(surface->Pixel(c.outside.X, c.outside.Y), clWhite) << c.name << " outside";
  }
}

TEST_F(GdiPlusCanvasTest, AGradientBrushFillsWithItsGradientNotItsColour) {
  canvas->Pen()->Hide();
  canvas->Brush()->Gradient()->SetVisible(true);
  canvas->Brush()->Gradient()->SetStartColor(clRed);
  canvas->Brush()->Gradient()->SetEndColor(clBlack);
  canvas->Brush()->Gradient()->SetDirection(KelCanvas::gdTopBottom);
  canvas->FillRect(TRect(20, 20, 100, 100));
  EXPECT_EQ(surface->Count(clBlue), 0);
  EXPECT_NE(surface->Pixel(60, 21), surface->Pixel(60, 98));
  EXPECT_EQ(surface->InkBounds(), TRect(20, 20, 100, 100));
}

TEST_F(GdiPlusCanvasTest, ARectangleIsOutlinedAroundItsFill) {
  canvas->Rectangle(20, 20, 100, 80);
  EXPECT_EQ(surface->Pixel(20, 50), clBlack);
  EXPECT_EQ(surface->Pixel(60, 20), clBlack);
  EXPECT_EQ(surface->InkBounds(), TRect(20, 20, 101, 81));
}

TEST_F(GdiPlusCanvasTest, AHatchWithoutBackColourLeavesTheSurfaceBetweenItsLines) {
  canvas->Pen()->Hide();
  canvas->Brush()->SetStyle(bsCross);
  canvas->Brush()->SetColor(clRed);
  canvas->Brush()->SetBackColor(clNone);
  canvas->FillRect(TRect(0, 0, 64, 64));
  EXPECT_GT(surface->Count(clRed, TRect(0, 0, 64, 64)), 0);
  EXPECT_GT(surface->Count(clWhite, TRect(0, 0, 64, 64)), 64 * 64 / 2) << "the back colour must not paint";

  surface->Clear();
  canvas->Brush()->SetBackColor(clYellow);
  canvas->FillRect(TRect(0, 0, 64, 64));
  EXPECT_EQ(surface->Count(clWhite, TRect(0, 0, 64, 64)), 0);
  EXPECT_GT(surface->Count(clYellow, TRect(0, 0, 64, 64)), 64 * 64 / 2);
}

TEST_F(GdiPlusCanvasTest, AnXorLineDrawnTwiceLeavesTheSurfaceUnchanged) {
  canvas->Pen()->SetMode(pmXor);
  canvas->Pen()->SetColor(clWhite);
  canvas->MovePenTo(10, 10);
  canvas->LineTo(150, 90);
  EXPECT_NE(surface->InkBounds(), TRect()) << "the first pass inverts the white";
  canvas->MovePenTo(10, 10);
  canvas->LineTo(150, 90);
  EXPECT_EQ(surface->InkBounds(), TRect());
}

// The axis-parallel 3D lines take the XOR route through GDI (twice drawn, gone again); Line3D
// is drawn by GDI+ in the pen's colour whatever the mode.
TEST_F(GdiPlusCanvasTest, ThreeDLinesFollowTheirXorRoute) {
  canvas->Pen()->SetMode(pmXor);
  canvas->Pen()->SetColor(clRed);
  struct Case {
    const char* name;
    std::function<void()> draw;
    bool stays;
  } cases[] = {
      {"HLine3D", [&] { canvas->HLine3D(10, 150, 30, 0); }, false},
      {"VLine3D", [&] { canvas->VLine3D(60, 10, 110, 0); }, false},
      {"Line3D", [&] { canvas->Line3D(10, 60, 150, 90, 0); }, true},
  };
  for (const Case& c : cases) {
    surface->Clear();
    c.draw();
    EXPECT_NE(surface->InkBounds(), TRect()) << c.name << ": the first pass draws";
    c.draw();
    EXPECT_EQ(surface->InkBounds() != TRect(), c.stays) << c.name;
    EXPECT_EQ(surface->Count(clRed) > 0, c.stays) << c.name << ": drawn in the pen colour";
  }
}

// The two colours become the brush gradient and GDI+ paints it: the canvas's clip and alpha hold.
TEST_F(GdiPlusCanvasTest, GradientFillRectPaintsWithGdiPlusUnderClipAndAlpha) {
  canvas->ClipToRect(TRect(20, 30, 120, 60));
  canvas->StartTransparency(TRect(), 50);
  canvas->GradientFillRect(TRect(0, 0, 200, 120), clRed, clBlue, KelCanvas::gdLeftRight, 50, 0, 0);
  canvas->FinishTransparency(nullptr);
  canvas->PopClip();
  const TRect ink = surface->InkBounds();
  EXPECT_GE(ink.Left, 20);
  EXPECT_LE(ink.Right, 120);
  EXPECT_GE(ink.Top, 29);
  EXPECT_LE(ink.Bottom, 61);
  const TColor left = surface->Pixel(22, 45), right = surface->Pixel(118, 45);
  for (TColor c : {left, right}) {
    EXPECT_NEAR(GetGValue(c), 127, 12) << std::hex << c << ": half over white";
  }
  EXPECT_NE(GetRValue(left) > GetBValue(left), GetRValue(right) > GetBValue(right))
      << "the colours run from one side to the other";
  EXPECT_TRUE(canvas->BrushGradient()->Visible());
  EXPECT_EQ(canvas->BrushGradient()->StartColor(), clRed);
  EXPECT_EQ(canvas->BrushGradient()->EndColor(), clBlue);
}

// Back colour, back mode and text alignment are kept by the canvas, not sent to the device.
TEST_F(GdiPlusCanvasTest, DeviceStateIsStoredOnly) {
  HDC dc = surface->DC();
  SetBkColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, TRANSPARENT);
  ::SetTextAlign(dc, TA_LEFT);
  canvas->ChangeBackColor(clLime);
  canvas->SetBackMode(OPAQUE);
  canvas->SetTextAlign(TA_CENTER);
  EXPECT_EQ(canvas->QueryBackColor(), clLime);
  EXPECT_EQ(canvas->GetBackMode(), OPAQUE);
  EXPECT_EQ(canvas->GetTextAlign(), TA_CENTER);
  EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(::GetTextAlign(dc), static_cast<UINT>(TA_LEFT));
}

TEST_F(GdiPlusCanvasTest, SetPixelLeavesThePenItsColour) {
  canvas->MovePenTo(0, 5);
  canvas->LineTo(1, 5);  // the pen exists now
  canvas->SetPixel(50, 50, clRed);
  EXPECT_EQ(surface->Pixel(50, 50), clRed);
  // A one-pixel run of the pen, from x to x + 1: GDI+ includes its end point.
  EXPECT_EQ(surface->BoundsOf(clRed), TRect(50, 50, surface->Pixel(51, 50) == clRed ? 52 : 51, 51));
  canvas->MovePenTo(10, 100);
  canvas->LineTo(150, 100);
  EXPECT_EQ(surface->Pixel(80, 100), clBlack);
  EXPECT_LE(surface->Count(clRed), 2);
}

TEST_F(GdiPlusCanvasTest, AnOpenCurveIsNotFilled) {
  const TPointArray points = {{20, 100}, {60, 20}, {100, 100}};
  canvas->PolyPoints(points, 2, 0.5f, false);
  EXPECT_EQ(surface->Pixel(60, 80), clWhite);
  EXPECT_GT(surface->Count(clBlack), 0);
  canvas->PolyPoints(points, 2, 0.5f, true);
  EXPECT_EQ(surface->Pixel(60, 80), clBlue);
}

TEST_F(GdiPlusCanvasTest, PointCountsBeyondTheArrayAreClamped) {
  const TPointArray points = {{20, 80}, {60, 20}, {100, 80}};
  canvas->Polygon(points, 40);
  canvas->Polyline(points, 40);
  EXPECT_EQ(surface->Pixel(60, 60), clBlue);
}

TEST_F(GdiPlusCanvasTest, PieSweepAngles) {
  struct Case {
    double start, end;
    float gdiStart, sweep;
  } cases[] = {{0, 0, 0, 360}, {90, 0, 0, 270}, {0, 90, 270, 90}, {300, 30, -30, 90}};
  for (const Case& c : cases) {
    float start = -1, sweep = -1;
    TGDIPlusCanvas::PieSweepAngles(c.start, c.end, start, sweep);
    EXPECT_FLOAT_EQ(start, c.gdiStart) << c.start << ".." << c.end;
    EXPECT_FLOAT_EQ(sweep, c.sweep) << c.start << ".." << c.end;
  }
}

// ---- Pens ------------------------------------------------------------------------------------

TEST_F(GdiPlusCanvasTest, PensCarryWidthDashCapsJoinAndAlpha) {
  struct Case {
    const char* name;
    int width;
    TPenStyle style;
    bool smallDots;
    TPenEndStyle end;
    TPenJoinStyle join;
    int dash, startCap, dashCap, lineJoin;
  } cases[] = {
      {"round solid", 3, psSolid, false, esRound, jsRound, 0, 2, 2, 2},
      {"square dash", 2, psDash, false, esSquare, jsBevel, 1, 1, 3, 1},
      {"flat dash-dot", 1, psDashDot, false, esFlat, jsMitter, 3, 0, 0, 0},
      {"dash-dot-dot", 4, psDashDotDot, false, esRound, jsRound, 4, 2, 2, 2},
      {"small dots", 1, psSolid, true, esRound, jsRound, 2, 2, 2, 2},
  };
  for (const Case& c : cases) {
    canvas->Pen()->SetWidth(c.width);
    canvas->Pen()->SetStyle(c.style);
    canvas->Pen()->SetSmallDots(c.smallDots);
    canvas->Pen()->SetEndStyle(c.end);
    canvas->Pen()->SetJoinStyle(c.join);
    TGPPen* pen = canvas->PreparedPen();
    ASSERT_NE(pen, nullptr) << c.name;
    float width = 0;
    int dash = -1, startCap = -1, endCap = -1, dashCap = -1, join = -1;
    GdiPlus.GdipGetPenWidth(pen->Native(), &width);
    GdiPlus.GdipGetPenDashStyle(pen->Native(), &dash);
    GdiPlus.GdipGetPenStartCap(pen->Native(), &startCap);
    GdiPlus.GdipGetPenEndCap(pen->Native(), &endCap);
    GdiPlus.GdipGetPenDashCap197819(pen->Native(), &dashCap);
    GdiPlus.GdipGetPenLineJoin(pen->Native(), &join);
    EXPECT_FLOAT_EQ(width, static_cast<float>(c.width)) << c.name;
    EXPECT_EQ(dash, c.dash) << c.name;
    EXPECT_EQ(startCap, c.startCap) << c.name;
    EXPECT_EQ(endCap, c.startCap) << c.name;
    EXPECT_EQ(dashCap, c.dashCap) << c.name;
    EXPECT_EQ(join, c.lineJoin) << c.name;
  }
}

TEST_F(GdiPlusCanvasTest, ThePenIsRebuiltWithTheAlphaOfATransparencyGroup) {
  auto penColor = [&] {
    TGPPen* pen = canvas->PreparedPen();
    TArgb argb = 0;
    if (pen != nullptr) GdiPlus.GdipGetPenColor(pen->Native(), &argb);
    return argb;
  };
  canvas->Pen()->SetColor(clRed);
  EXPECT_EQ(penColor(), 0xFFFF0000u);
  canvas->StartTransparency(TRect(), 40);
  EXPECT_EQ(penColor(), 0x99FF0000u);
  canvas->FinishTransparency(nullptr);
  EXPECT_EQ(penColor(), 0xFFFF0000u);
}

TEST_F(GdiPlusCanvasTest, AHiddenPenDrawsNoOutline) {
  canvas->Pen()->Hide();
  EXPECT_EQ(canvas->PreparedPen(), nullptr);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Rectangle(20, 20, 100, 80);
  EXPECT_EQ(surface->InkBounds(), TRect());
}

// ---- Clipping and elements -------------------------------------------------------------------

TEST_F(GdiPlusCanvasTest, ARectangleClipReachesOneRowAboveAndBelow) {
  canvas->Pen()->Hide();
  canvas->ClipToRect(TRect(0, 10, 100, 60));
  canvas->FillRect(TRect(0, 0, 200, 120));
  EXPECT_EQ(surface->InkBounds(), TRect(0, 9, 100, 61));
  canvas->PopClip();
  EXPECT_EQ(canvas->ClipDepth(), 0);
  surface->Clear();
  canvas->FillRect(TRect(0, 0, 200, 120));
  EXPECT_EQ(surface->InkBounds(), TRect(0, 0, 200, 120)) << "popping the last clip removes it";
}

TEST_F(GdiPlusCanvasTest, PoppingARectangleClipRestoresTheEllipseUnderIt) {
  canvas->Pen()->Hide();
  canvas->ClipToEllipse(TRect(0, 0, 120, 120), false);
  canvas->ClipToRect(TRect(0, 0, 200, 60));
  canvas->PopClip();
  canvas->FillRect(TRect(0, 0, 200, 120));
  EXPECT_EQ(surface->Pixel(60, 60), clBlue);
  EXPECT_EQ(surface->Pixel(60, 110), clBlue) << "the rectangle clip is gone";
  EXPECT_EQ(surface->Pixel(3, 3), clWhite) << "the ellipse itself, not its bounding box, is back";
  EXPECT_EQ(surface->Pixel(116, 116), clWhite);
  canvas->PopClip();
}

TEST_F(GdiPlusCanvasTest, ElementsRestoreTheWorldTransformAndTheEnclosingClip) {
  canvas->Pen()->Hide();
  canvas->ClipToRect(TRect(0, 1, 100, 59));  // enclosing clip: x 0..99, y 0..59
  TElementTransform moved;
  moved.Enabled = true;
  moved.Offset = {50, 0};
  moved.Clip = true;
  moved.ClipRect = TRect(40, 1, 90, 29);  // in the enclosing space: the clip comes before the move
  canvas->BeginElement("moved", 0, &moved);
  canvas->FillRect(TRect(0, 0, 200, 120));
  EXPECT_EQ(surface->InkBounds(), TRect(50, 0, 90, 30));
  canvas->BeginElement("plain", 0, nullptr);
  canvas->EndElement();
  canvas->EndElement();
  EXPECT_EQ(canvas->ElementDepth(), 0);
  EXPECT_EQ(canvas->ClipDepth(), 1) << "only the element's own clip is popped";

  TGPMatrix world;
  canvas->Graphics()->GetTransform(&world);
  float m[6] = {};
  world.GetElements(m);
  EXPECT_FLOAT_EQ(m[4], 0);
  EXPECT_FLOAT_EQ(m[5], 0);

  surface->Clear();
  canvas->FillRect(TRect(0, 0, 200, 120));
  EXPECT_EQ(surface->InkBounds(), TRect(0, 0, 100, 60));
  canvas->PopClip();
}

TEST_F(GdiPlusCanvasTest, AnElementTurnsAndScalesAboutItsOrigin) {
  canvas->Pen()->Hide();
  TElementTransform scaled;
  scaled.Enabled = true;
  scaled.Origin = {100, 60};
  scaled.ScaleX = 2;
  scaled.ScaleY = 2;
  canvas->BeginElement("scaled", 0, &scaled);
  canvas->FillRect(TRect(90, 50, 110, 70));
  canvas->EndElement();
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(80, 40, 120, 80));
}

// ---- Frames ----------------------------------------------------------------------------------

class GdiPlusFrameTest : public testing::TestWithParam<float> {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
};

TEST_P(GdiPlusFrameTest, ABufferedFrameLandsInsideItsTargetRectangle) {
  TDibSurface target(200, 120);
  TGDIPlusCanvas canvas;
  canvas.ChangeScale(GetParam());
  canvas.Pen()->Hide();
  canvas.Brush()->SetColor(clBlue);
  const TRect rect(50, 20, 150, 80);
  TRect drawRect;
  canvas.PrepareFrame(target.Canvas(), nullptr, clWhite, false, rect, drawRect);
  const int w = static_cast<int>(100 * GetParam()), h = static_cast<int>(60 * GetParam());
  EXPECT_EQ(drawRect, TRect(0, 0, w, h));
  ASSERT_NE(canvas.Graphics(), nullptr);
  canvas.FillRect(drawRect);
  canvas.FinishFrame(target.Canvas(), target.Canvas(), rect);
  EXPECT_EQ(target.BoundsOf(clBlue), rect);
  EXPECT_EQ(target.InkBounds(), rect);
}

INSTANTIATE_TEST_SUITE_P(Scales, GdiPlusFrameTest, testing::Values(1.0f, 2.0f));

// The frame buffer's fourth byte is never read, so the buffer says so; drawing on it still
// blends: a half transparent blue over white comes out half blue.
TEST_F(GdiPlusFrameTest, TheBufferIgnoresAlphaAndStillBlends) {
  TDibSurface target(120, 60);
  TGDIPlusCanvas canvas;
  canvas.Pen()->Hide();
  const TRect rect(0, 0, 120, 60);
  TRect drawRect;
  canvas.PrepareFrame(target.Canvas(), nullptr, clWhite, false, rect, drawRect);
  ASSERT_NE(canvas.BufferBitmap, nullptr);
  EXPECT_TRUE(canvas.BufferBitmap->AlphaIgnored());
  canvas.Brush()->SetColor(clWhite);
  canvas.FillRect(drawRect);
  canvas.StartTransparency(TRect(), 50);
  canvas.Brush()->SetColor(clBlue);
  canvas.FillRect(TRect(10, 10, 50, 40));
  canvas.FinishTransparency(nullptr);
  canvas.Pen()->SetVisible(true);
  canvas.Pen()->SetColor(clRed);
  canvas.Pen()->SetWidth(2);
  canvas.MovePenTo(60, 20);
  canvas.LineTo(110, 20);
  canvas.FinishFrame(target.Canvas(), target.Canvas(), rect);
  const TColor mixed = target.Pixel(30, 25);
  EXPECT_EQ(GetBValue(mixed), 255);
  EXPECT_NEAR(GetRValue(mixed), 128, 2);
  EXPECT_NEAR(GetGValue(mixed), 128, 2);
  EXPECT_EQ(target.Pixel(85, 20), clRed);
  EXPECT_EQ(target.Pixel(85, 30), clWhite);
}

TEST_F(GdiPlusCanvasTest, TheFramesOwnTransformAndClipEndWithTheFrame) {
  canvas->Pen()->Hide();
  TElementTransform own;
  own.Enabled = true;
  own.Offset = {10, 0};
  own.Clip = true;
  own.ClipRect = TRect(0, 1, 100, 59);
  canvas->Transform = own;
  canvas->Brush()->SetColor(clYellow);  // the frame's rectangle is filled first
  TRect drawRect;
  canvas->PrepareFrame(surface->Canvas(), nullptr, clWhite, false, TRect(0, 0, 200, 120), drawRect);
  EXPECT_EQ(surface->BoundsOf(clYellow), TRect(0, 0, 200, 120));
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect(TRect(0, 0, 20, 20));
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(10, 0, 30, 20)) << "moved by the frame's offset";
  canvas->FillRect(TRect(150, 0, 160, 20));
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(10, 0, 30, 20)) << "outside the frame's clip";
  canvas->FinishFrame(surface->Canvas(), surface->Canvas(), TRect(0, 0, 200, 120));
  EXPECT_EQ(canvas->ClipDepth(), 0);

  canvas->Transform.reset();
  surface->Clear();
  canvas->FillRect(TRect(150, 100, 160, 110));
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(150, 100, 160, 110)) << "neither clipped nor moved any more";
}

TEST_F(GdiPlusCanvasTest, DrawingBeforeATargetExistsDoesNothing) {
  TGDIPlusCanvas loose;
  loose.SetBuffered(false);
  EXPECT_EQ(loose.Graphics(), nullptr);
  loose.Rectangle(0, 0, 10, 10);
  loose.Ellipse(0, 0, 10, 10);
  loose.LineSegment(0, 0, 10, 10);
  loose.ClipToRect(TRect(0, 0, 5, 5));
  loose.PopClip();
  loose.BeginElement("e", 0, nullptr);
  loose.EndElement();
  EXPECT_EQ(loose.ClipDepth(), 0);
}

}  // namespace

namespace {

int SmoothingMode(TGDIPlusCanvas& canvas) {
  int mode = -1;
  GdiPlus.GdipGetSmoothingMode(canvas.Graphics()->Native(), &mode);
  return mode;
}

TEST_F(GdiPlusCanvasTest, AZeroWidthPenDrawsAliasedEvenWhenAntialiased) {
  canvas->ChangeAntialias(true);
  canvas->Pen()->SetWidth(0);
  canvas->LineSegment(10, 10, 190, 70);
  EXPECT_EQ(SmoothingMode(*canvas), 1) << "high speed: aliased";
  EXPECT_GT(surface->Count(clBlack), 100);

  canvas->Pen()->SetWidth(1);
  canvas->LineSegment(10, 10, 190, 70);
  EXPECT_EQ(SmoothingMode(*canvas), 2) << "high quality: a width-1 pen is smoothed";

  canvas->ChangeAntialias(false);
  canvas->LineSegment(10, 10, 190, 70);
  EXPECT_EQ(SmoothingMode(*canvas), 1);
}

}  // namespace
