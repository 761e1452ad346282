// Draws every primitive of the GDI canvas on a window and into a BMP file, so that a person can
// look at them. Usage: canvas_demo.exe [file.bmp] [--no-window]; the file defaults to
// canvas_demo.bmp in the current folder. Without --no-window the window stays until closed.
#include <memory>
#include <string>

#include "canvas/GradientPainting.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPath.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

#include <shellapi.h>

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 1000;

void Caption(TKelCanvas3D& c, int x, int y, const std::string& text) {
  c.Font()->SetName("Arial");
  c.Font()->SetSize(8);
  c.Font()->SetColor(clBlack);
  c.SetTextAlign(TA_LEFT | TA_TOP);
  c.TextOut(x, y, text);
}

void Reset(TKelCanvas3D& c) {
  c.Pen()->SetVisible(true);
  c.Pen()->SetColor(clBlack);
  c.Pen()->SetWidth(1);
  c.Pen()->SetStyle(psSolid);
  c.Pen()->SetSmallDots(false);
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->Gradient()->SetVisible(false);
  c.SetBackMode(TRANSPARENT);
}

// Every primitive, laid out in cells of 160 × 160.
void DrawEffects(TKelCanvas3D& c);

void DrawAll(TKelCanvas3D& c) {
  Reset(c);
  c.Brush()->SetColor(clWhite);
  c.Pen()->Hide();
  c.FillRect(TRect(0, 0, kWidth, kHeight));
  Reset(c);

  // Row 1: lines and pens.
  Caption(c, 10, 4, "Lines, pens");
  const TPenEndStyle ends[] = {esRound, esSquare, esFlat};
  for (int i = 0; i < 3; ++i) {
    c.Pen()->SetColor(clNavy);
    c.Pen()->SetWidth(6);
    c.Pen()->SetEndStyle(ends[i]);
    c.LineSegment(20, 30 + i * 16, 130, 30 + i * 16);
  }
  Reset(c);
  c.Pen()->SetSmallDots(true);
  c.Pen()->SetSmallSpace(2);
  c.HLine(20, 130, 90);
  c.Pen()->SetSmallDots(false);
  c.Pen()->SetStyle(psDash);
  c.VLine(140, 30, 140);
  Reset(c);
  c.Polyline({TPoint(20, 140), TPoint(50, 100), TPoint(80, 140), TPoint(110, 100)}, 3);

  Caption(c, 170, 4, "Rectangles");
  c.Brush()->SetColor(clSkyBlue);
  c.Rectangle(180, 25, 250, 80);
  c.Brush()->SetColor(clMoneyGreen);
  c.RoundRect(260, 25, 320, 80, 16, 16);
  c.Brush()->Gradient()->SetStartColor(clYellow);
  c.Brush()->Gradient()->SetVisible(true);
  c.Rectangle(180, 90, 250, 145);
  Reset(c);
  TKelCorners corners;
  corners.LeftTop()->SetStyle(cosBevel);
  corners.RightBottom()->SetStyle(cosNone);
  c.Brush()->SetColor(clCream);
  c.DrawCorneredRect(TRect(260, 90, 320, 145), 20, 20, &corners);

  Caption(c, 330, 4, "Ellipses, pies, arcs");
  c.Brush()->SetColor(clAqua);
  c.Ellipse(340, 25, 410, 75);
  c.Brush()->SetColor(clFuchsia);
  c.PieByAngles(TRect(420, 25, 480, 85), 30, 300);
  c.Pen()->SetColor(clRed);
  c.Pen()->SetWidth(2);
  c.ArcByAngles(340, 90, 410, 150, 0, 200);
  Reset(c);
  c.Brush()->SetColor(clOlive);
  c.DrawDonutSlice(450, 120, 30, 30, 0.3, 4.0, 45);

  Caption(c, 490, 4, "Polygons, paths");
  c.Brush()->SetColor(clLime);
  c.Polygon({TPoint(500, 80), TPoint(540, 25), TPoint(580, 80)}, 2);
  c.Brush()->SetColor(clTeal);
  c.PolygonF({TPointFloat{590.5f, 80}, TPointFloat{620, 30.25f}, TPointFloat{640, 80}}, 2);
  {
    c.Brush()->SetColor(clPurple);
    std::unique_ptr<TKelBasePath> path(c.NewPath());
    path->StartFigureAt(500, 100);
    path->AddLineTo(560, 100);
    path->AddArc(540, 100, 40, 40, 270, 180);
    path->AddLineTo(500, 140);
    path->CloseFigure();
    path->DrawPath(c);
  }

  Caption(c, 650, 4, "Bevels, check boxes");
  TRect bevel(660, 25, 760, 80);
  c.DrawBevelFrame(bevel, clWhite, clGray, 2);
  TRect sunken(770, 25, 870, 80);
  c.DrawBevelFrame(sunken, clGray, clWhite, 2);
  Reset(c);
  c.DrawCheckBox(660, 100, true, 0, true);
  c.DrawCheckBox(690, 100, false, 0, true);
  c.DrawCheckBox(720, 100, true, 0, false);
  c.DrawCheckBox(750, 100, false, 0, false);

  // Row 2: text.
  Caption(c, 10, 164, "Text with effects");
  c.Font()->SetSize(16);
  c.Font()->SetColor(clNavy);
  c.Font()->Shadow()->SetHorizSize(3);
  c.Font()->Shadow()->SetVertSize(3);
  c.Font()->Shadow()->SetColor(clGray);
  c.TextOut(20, 185, "Shadow");
  c.Font()->Shadow()->SetHorizSize(0);
  c.Font()->Shadow()->SetVertSize(0);
  c.Font()->Emboss()->SetVisible(true);
  c.Font()->Emboss()->SetHorizSize(1);
  c.Font()->Emboss()->SetVertSize(1);
  c.Font()->Emboss()->SetColor(clWhite);
  c.Font()->SetColor(clSilver);
  c.TextOut(20, 215, "Emboss");
  c.Font()->Emboss()->SetVisible(false);
  c.Font()->SetSize(22);
  c.Font()->SetColor(clYellow);
  c.Font()->OutLine()->SetVisible(true);
  c.Font()->OutLine()->SetColor(clRed);
  c.TextOut(20, 245, "Outline");
  c.Font()->OutLine()->SetVisible(false);
  c.Font()->Brush()->Gradient()->SetStartColor(clGreen);
  c.Font()->Brush()->Gradient()->SetVisible(true);
  c.TextOut(20, 280, "Gradient");
  c.Font()->Brush()->Gradient()->SetVisible(false);

  Caption(c, 170, 164, "Rotated text");
  c.Font()->SetSize(12);
  c.Font()->SetColor(clMaroon);
  for (int angle = 0; angle < 360; angle += 45) c.RotatedTextOut(240, 240, "  turn", angle, false);

  Caption(c, 330, 164, "Stored fonts");
  c.Font()->SetName("Dovudad");
  c.Font()->SetSize(20);
  c.Font()->SetColor(clRed);
  c.TextOut(340, 185, "LED 12.5");
  c.Font()->SetName("Dovudad LCD");
  c.Font()->SetColor(clGreen);
  c.TextOut(340, 230, "-38.25");

  Caption(c, 490, 164, "Clipping");
  c.ClipToEllipse(TRect(500, 185, 620, 300), false);
  c.Brush()->SetColor(clBlue);
  c.Pen()->Hide();
  c.FillRect(TRect(480, 180, 640, 310));
  c.ClipToRect(TRect(560, 185, 640, 245));
  c.Brush()->SetColor(clRed);
  c.FillRect(TRect(480, 180, 640, 310));
  c.PopClip();
  c.PopClip();
  Reset(c);

  Caption(c, 650, 164, "Transparency");
  c.Brush()->SetColor(clRed);
  c.Rectangle(660, 185, 740, 265);
  c.Brush()->SetColor(clBlue);
  TKelBlend* blend = c.StartTransparency(TRect(700, 215, 800, 300), 50);
  c.Rectangle(700, 215, 800, 300);
  c.FinishTransparency(blend);

  // Row 3: graphics and projected shapes.
  Caption(c, 10, 324, "Stretched graphic");
  TBitmap checker(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) checker.Canvas()->SetPixel(x, y, (x + y) % 2 ? clBlack : clYellow);
  }
  c.DrawGraphicStretched(TRect(20, 345, 140, 465), &checker);
  c.DrawGraphic(150, 345, &checker);

  Caption(c, 170, 324, "Planes at depth (orthogonal 3D)");
  TView3DOptions options;
  c.View3DOptions = &options;
  c.IsOrthogonal = true;
  c.Is3D = true;
  c.OrthoStepX = 1;
  c.OrthoStepY = 1;
  c.ZoomFactor = 1;
  c.XCentre = 0;
  c.YCentre = 0;
  c.ScreenCentre = TPoint(0, 0);
  c.Brush()->SetColor(clSkyBlue);
  c.RectangleAtZ(TRect(190, 380, 260, 450), 30);
  c.Brush()->SetColor(clMoneyGreen);
  c.PlaneAtY(190, 380, 260, 0, 30);
  c.Brush()->SetColor(clCream);
  c.PlaneAtX(260, 380, 450, 0, 30);
  c.RectangleAtZ(TRect(190, 380, 260, 450), 0);
  c.Brush()->SetColor(clSilver);
  c.EllipseAtZ(290, 380, 350, 440, 20);
  c.Pen()->SetColor(clRed);
  c.DrawArrow3D(true, TPoint(380, 450), TPoint(460, 370), 16, 14, 0, 0, 50);
  c.Is3D = false;
  c.IsOrthogonal = false;
  c.View3DOptions = nullptr;
  Reset(c);

  Caption(c, 490, 324, "Pixels, lines at depth");
  for (int i = 0; i < 60; i += 3) c.SetPixel(500 + i, 350 + i / 2, clRed);
  c.Line3D(500, 400, 620, 460, 0);
  c.HLine3D(500, 620, 470, 0);
  DrawEffects(c);
}

// Sets an orthogonal 3D view on the canvas: (x, y, z) lands at (x + z, y - z).
void Ortho(TKelCanvas3D& c, TView3DOptions& options, bool on) {
  c.View3DOptions = on ? &options : nullptr;
  c.IsOrthogonal = on;
  c.Is3D = on;
  c.OrthoStepX = 1;
  c.OrthoStepY = 1;
  c.ZoomFactor = 1;
  c.XCentre = 0;
  c.YCentre = 0;
  c.ScreenCentre = TPoint(0, 0);
}

// Gradients, shadows and 3D solids, below the primitives.
void DrawEffects(TKelCanvas3D& c) {
  Reset(c);
  // Row 4: every gradient direction, red (start) to blue (end), then mid colours and angles.
  Caption(c, 10, 484, "Gradient directions: red start, blue end");
  const char* names[] = {"TopBottom", "BottomTop", "LeftRight", "RightLeft", "FromCenter",
                         "FromTopLeft", "FromBottomLeft", "Radial", "DiagonalUp", "DiagonalDown"};
  for (int i = 0; i < 10; ++i) {
    const int x = 10 + i * 94;
    Reset(c);
    c.Pen()->Hide();
    TKelGradient* g = c.Brush()->Gradient();
    g->SetStartColor(clRed);
    g->SetEndColor(clBlue);
    g->SetMidColor(clNone);
    g->SetAngle(0);
    g->SetDirection(static_cast<KelCanvas::TGradientDirection>(i));
    g->SetVisible(true);
    c.FillRect(TRect(x, 500, x + 86, 560));
    c.Brush()->Gradient()->SetVisible(false);
    Caption(c, x, 562, names[i]);
  }
  Reset(c);
  c.Pen()->Hide();
  Caption(c, 10, 584, "Mid colour, angle 30, sub-gradient, balance 20, ellipse");
  TKelGradient* g = c.Brush()->Gradient();
  g->SetDirection(KelCanvas::gdTopBottom);
  g->SetStartColor(clRed);
  g->SetMidColor(clYellow);
  g->SetEndColor(clBlue);
  g->SetVisible(true);
  c.FillRect(TRect(10, 600, 120, 680));
  g->SetMidColor(clNone);
  g->SetAngle(30);
  c.FillRect(TRect(140, 600, 250, 680));
  g->SetAngle(0);
  g->SetVisible(false);
  TKelGradient layered;
  layered.SetStartColor(clGreen);
  layered.SetEndColor(clWhite);
  layered.SetVisible(true);
  layered.SubGradient()->SetDirection(KelCanvas::gdRadial);
  layered.SubGradient()->SetStartColor(clYellow);
  layered.SubGradient()->SetEndColor(clPurple);
  layered.SubGradient()->SetVisible(true);
  DrawBrushGradient(&layered, &c, TRect(270, 600, 380, 680), 0);
  c.Brush()->Gradient()->SetVisible(false);
  g->SetStartColor(clBlack);
  g->SetEndColor(clWhite);
  g->SetBalance(20);
  g->SetDirection(KelCanvas::gdLeftRight);
  g->SetVisible(true);
  c.FillRect(TRect(400, 600, 510, 680));
  g->SetBalance(50);
  g->SetDirection(KelCanvas::gdTopBottom);
  g->SetStartColor(clNavy);
  g->SetEndColor(clAqua);
  c.Ellipse(530, 600, 640, 680);
  g->SetVisible(false);

  // Row 5: shadows.
  Reset(c);
  Caption(c, 10, 694, "Shadows: sharp, 50 % transparent, turned 20, ellipse, polygon");
  c.Brush()->SetColor(clWhite);
  TKelShadow shadow;
  shadow.SetColor(clBlack);
  shadow.ChangeSize(6);
  shadow.SetSmooth(false);
  shadow.SetTransparency(0);
  shadow.DrawRect(&c, TRect(20, 715, 110, 775), 0, 0);
  c.Brush()->SetColor(clYellow);
  c.Rectangle(20, 715, 110, 775);
  shadow.SetTransparency(50);
  shadow.DrawRect(&c, TRect(140, 715, 230, 775), 12, 0);
  c.Brush()->SetColor(clYellow);
  c.RoundRect(140, 715, 230, 775, 12, 12);
  shadow.DrawRect(&c, TRect(260, 715, 350, 775), 0, 20);
  shadow.SetSmooth(true);
  shadow.SetTransparency(0);
  shadow.SetColor(clGray);
  shadow.Draw(&c, TRect(380, 710, 460, 780), 0, 0, 360);
  c.Brush()->SetColor(clLime);
  c.Ellipse(380, 710, 460, 780);
  shadow.SetSmooth(false);
  shadow.SetTransparency(40);
  shadow.SetColor(clNavy);
  const TPointArray star{TPoint(520, 710), TPoint(540, 770), TPoint(490, 735), TPoint(550, 735), TPoint(500, 770)};
  shadow.DrawPolygon(&c, star, 4);
  c.Brush()->SetColor(clRed);
  c.Polygon(star, 4);
  Reset(c);

  Caption(c, 600, 694, "Smooth shadow (buffered canvas)");
  {
    TKelCanvas3D smooth;
    TView3DOptions frame;
    TRect drawRect;
    smooth.PrepareFrame(nullptr, &frame, clWhite, false, TRect(0, 0, 300, 90), drawRect);
    smooth.Pen()->Hide();
    smooth.Brush()->SetColor(clWhite);
    smooth.FillRect(drawRect);
    TKelShadow soft;
    soft.SetColor(clGray);
    soft.ChangeSize(8);
    soft.SetTransparency(0);
    soft.DrawRect(&smooth, TRect(20, 10, 130, 70), 0, 0);
    smooth.Brush()->SetColor(clSkyBlue);
    smooth.FillRect(TRect(20, 10, 130, 70));
    soft.Draw(&smooth, TRect(170, 10, 250, 75), 40, 0, 360);
    smooth.Brush()->SetColor(clMoneyGreen);
    smooth.Ellipse(170, 10, 250, 75);
    smooth.FinishFrame(c.DeviceCanvas(), nullptr, TRect(600, 705, 900, 795));
  }

  // Row 6: 3D solids in an orthogonal view.
  Reset(c);
  Caption(c, 10, 804, "3D solids: box, pyramid, cone, cylinder, skewed box, bitmap, pie slice");
  TView3DOptions options;
  Ortho(c, options, true);
  c.Brush()->SetColor(clSkyBlue);
  c.DrawBox3D(20, 90, 850, 960, 0, 30, true);
  c.Brush()->SetColor(clMoneyGreen);
  c.DrawPyramid3D(true, 130, 840, 200, 960, 0, 30, true);
  c.Brush()->SetColor(clFuchsia);
  c.DrawCone3D(true, 240, 840, 310, 960, 0, 30, true, 0);
  c.Brush()->Gradient()->SetVisible(false);
  c.Brush()->SetColor(clOlive);
  c.DrawCylinder3D(true, 350, 850, 420, 960, 0, 30, true);
  c.Brush()->Gradient()->SetVisible(false);
  c.Brush()->SetColor(clTeal);
  c.DrawSkewedBox3DF(TRectFloat{460, 850, 540, 960}, true, 0, 30, 15, 6, true);
  TBitmap tiles(3, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) tiles.Canvas()->SetPixel(x, y, (x + y) % 2 ? clNavy : clYellow);
  }
  c.DrawBitmap3D(TRect(580, 850, 670, 940), &tiles, 0, 2);
  Ortho(c, options, false);
  Reset(c);
  c.Brush()->SetColor(clRed);
  c.DrawPieSlice3D(800, 880, 90, 50, 0, 25, 0.5, 5.5, true, true, 30, nullptr, 0, 2, 0, 0, true, false);
  Reset(c);
}

LRESULT CALLBACK DemoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      // The window shows the canvas drawing straight onto it.
      TCanvas target;
      target.SetHandle(dc);
      TKelCanvas3D canvas;
      canvas.SetBuffered(false);
      canvas.Buffered = false;
      canvas.SetTargetCanvas(&target);
      canvas.Bounds = TRect(0, 0, kWidth, kHeight);
      DrawAll(canvas);
      canvas.SetTargetCanvas(nullptr);
      target.SetHandle(nullptr);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(commandLine, &argc);
  std::string file = "canvas_demo.bmp";
  bool window = true;
  for (int i = 0; argv != nullptr && i < argc; ++i) {
    const std::string arg = WideToUtf8(argv[i]);
    if (arg == "--no-window") {
      window = false;
    } else if (!arg.empty()) {
      file = arg;
    }
  }
  KelCanvasStartup();
  {
    TBitmap image;
    image.SetPixelFormat(pf24bit);
    image.SetSize(kWidth, kHeight);
    TKelCanvas3D canvas;
    canvas.SetBuffered(false);
    canvas.Buffered = false;
    canvas.SetTargetCanvas(image.Canvas());
    canvas.Bounds = TRect(0, 0, kWidth, kHeight);
    DrawAll(canvas);
    canvas.SetTargetCanvas(nullptr);
    image.SaveToFile(file);
  }
  if (window) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = DemoWindowProc;
    cls.hInstance = instance;
    cls.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    cls.lpszClassName = L"VkCanvasDemo";
    RegisterClassW(&cls);
    RECT r{0, 0, kWidth, kHeight};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND hwnd = ::CreateWindowExW(0, L"VkCanvasDemo", L"GDI canvas primitives", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  KelCanvasShutdown();
  if (argv != nullptr) LocalFree(argv);
  return 0;
}
