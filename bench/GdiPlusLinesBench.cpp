// What a curve costs on each canvas: a 1000-point curve (one point per pixel column, as the fast
// line series hands it over) drawn as one polyline or as 999 single segments, on the GDI canvas
// and on the GDI+ canvas with and without smoothing, pen 1 and 2 wide, into a 1000 x 600 DIB.
// Prints the median time of one curve.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelPen.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/system/Thread.h"
#include "toolkit/system/WinApi.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 600;
constexpr int kRuns = 9;

double Milliseconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

enum class Kind { Gdi, GdiPlus, GdiPlusSmooth };

std::unique_ptr<TKelCanvas3D> MakeCanvas(Kind kind, TBitmap& bitmap) {
  std::unique_ptr<TKelCanvas3D> canvas;
  if (kind == Kind::Gdi) {
    canvas = std::make_unique<TKelCanvas3D>();
    canvas->Buffered = false;
  } else {
    auto plus = std::make_unique<TGDIPlusCanvas>();
    plus->Antialias = kind == Kind::GdiPlusSmooth;
    canvas = std::move(plus);
  }
  canvas->SetBuffered(false);
  canvas->SetTargetCanvas(bitmap.Canvas());
  if (auto* plus = dynamic_cast<TGDIPlusCanvas*>(canvas.get())) plus->ChangeAntialias(kind == Kind::GdiPlusSmooth);
  return canvas;
}

}  // namespace

int main() {
  InitThreadSynchronization();
  InitGraphics();
  KelCanvasStartup();
  KelGDIPlusStartup();
  {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(kWidth, kHeight);
    TPointArray curve;
    for (int x = 0; x < kWidth; ++x)
      curve.push_back(TPoint(x, static_cast<int>(std::lround(300 + 250 * std::sin(x * 0.05) * std::cos(x * 0.007)))));
    const int high = static_cast<int>(curve.size()) - 1;
    struct Case {
      const char* name;
      Kind kind;
      int width;
      bool polyline;
    };
    const Case cases[] = {
        {"gdi_polyline_w2", Kind::Gdi, 2, true},
        {"gdi_segments_w2", Kind::Gdi, 2, false},
        {"gdiplus_polyline_w1", Kind::GdiPlus, 1, true},
        {"gdiplus_polyline_w2", Kind::GdiPlus, 2, true},
        {"gdiplus_segments_w2", Kind::GdiPlus, 2, false},
        {"gdiplus_smooth_polyline_w1", Kind::GdiPlusSmooth, 1, true},
        {"gdiplus_smooth_polyline_w2", Kind::GdiPlusSmooth, 2, true},
        {"gdiplus_smooth_segments_w2", Kind::GdiPlusSmooth, 2, false},
    };
    for (const Case& c : cases) {
      std::unique_ptr<TKelCanvas3D> canvas = MakeCanvas(c.kind, bitmap);
      canvas->Pen()->SetColor(clRed);
      canvas->Pen()->SetWidth(c.width);
      std::vector<double> times;
      for (int run = 0; run < kRuns; ++run) {
        const double t0 = Milliseconds();
        if (c.polyline) {
          canvas->Polyline(curve, high);
        } else {
          canvas->MovePenTo(curve[0].X, curve[0].Y);
          for (int i = 1; i <= high; ++i) canvas->LineTo(curve[i].X, curve[i].Y);
        }
        GdiFlush();
        times.push_back(Milliseconds() - t0);
      }
      std::printf("curve_1000_%s: %.2f ms\n", c.name, Median(times));
      std::fflush(stdout);
    }
  }
  KelGDIPlusShutdown();
  KelCanvasShutdown();
  DoneGraphics();
  DoneThreadSynchronization();
  return 0;
}
