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

#include "BenchTiming.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelPen.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/system/Thread.h"
#include "toolkit/system/WinApi.h"

namespace {

using bench::Milliseconds;
using bench::Median;

constexpr int kWidth = 1000;
constexpr int kHeight = 600;
constexpr int kRuns = 9;

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
      int chunk = 0;  // polylines of at most this many points, each starting where the last ended
      int shape = 0;  // 0: the curve; 1: a flat curve (two rows); 2: one diagonal over the DIB
      int dib = 0;  // 0: 32-bit; 1: 24-bit; 2: 32-bit, its fourth byte ignored (as the chart's buffer)
    };
    TBitmap bitmap24;
    bitmap24.SetPixelFormat(pf24bit);
    bitmap24.SetSize(kWidth, kHeight);
    TBitmap masked;
    masked.SetAlphaIgnored(true);
    masked.SetPixelFormat(pf32bit);
    masked.SetSize(kWidth, kHeight);
    TBitmap* const dibs[] = {&bitmap, &bitmap24, &masked};
    TPointArray flat, diagonal{TPoint(0, 0), TPoint(kWidth - 1, kHeight - 1)};
    for (int x = 0; x < kWidth; ++x) flat.push_back(TPoint(x, 300 + x % 2));
    const Case cases[] = {
        {"gdi_polyline_w2", Kind::Gdi, 2, true},
        {"gdi_segments_w2", Kind::Gdi, 2, false},
        {"gdiplus_polyline_w1", Kind::GdiPlus, 1, true},
        {"gdiplus_polyline_w2", Kind::GdiPlus, 2, true},
        {"gdiplus_segments_w2", Kind::GdiPlus, 2, false},
        {"gdiplus_smooth_polyline_w1", Kind::GdiPlusSmooth, 1, true},
        {"gdiplus_smooth_polyline_w2", Kind::GdiPlusSmooth, 2, true},
        {"gdiplus_smooth_segments_w2", Kind::GdiPlusSmooth, 2, false},
        {"gdiplus_flat_polyline_w2", Kind::GdiPlus, 2, true, 0, 1},
        {"gdiplus_diagonal_w2", Kind::GdiPlus, 2, true, 0, 2},
        {"gdiplus_diagonal_w1", Kind::GdiPlus, 1, true, 0, 2},
        {"gdiplus_24bit_polyline_w2", Kind::GdiPlus, 2, true, 0, 0, 1},
        {"gdiplus_24bit_segments_w2", Kind::GdiPlus, 2, false, 0, 0, 1},
        {"gdiplus_24bit_diagonal_w2", Kind::GdiPlus, 2, true, 0, 2, 1},
        {"gdiplus_noalpha_polyline_w2", Kind::GdiPlus, 2, true, 0, 0, 2},
        {"gdiplus_noalpha_smooth_polyline_w2", Kind::GdiPlusSmooth, 2, true, 0, 0, 2},
        {"gdiplus_noalpha_diagonal_w2", Kind::GdiPlus, 2, true, 0, 2, 2},
        {"gdi_chunks8_w2", Kind::Gdi, 2, true, 8},
        {"gdi_chunks16_w2", Kind::Gdi, 2, true, 16},
        {"gdi_chunks32_w2", Kind::Gdi, 2, true, 32},
        {"gdi_chunks64_w2", Kind::Gdi, 2, true, 64},
        {"gdi_chunks128_w2", Kind::Gdi, 2, true, 128},
        {"gdiplus_chunks8_w2", Kind::GdiPlus, 2, true, 8},
        {"gdiplus_chunks16_w2", Kind::GdiPlus, 2, true, 16},
        {"gdiplus_chunks32_w2", Kind::GdiPlus, 2, true, 32},
        {"gdiplus_chunks64_w2", Kind::GdiPlus, 2, true, 64},
        {"gdiplus_chunks128_w2", Kind::GdiPlus, 2, true, 128},
        {"gdiplus_noalpha_smooth_chunks32_w2", Kind::GdiPlusSmooth, 2, true, 32, 0, 2},
        {"gdiplus_noalpha_smooth_chunks128_w2", Kind::GdiPlusSmooth, 2, true, 128, 0, 2},
        {"gdiplus_noalpha_smooth_chunks512_w2", Kind::GdiPlusSmooth, 2, true, 512, 0, 2},
    };
    for (const Case& c : cases) {
      std::unique_ptr<TKelCanvas3D> canvas = MakeCanvas(c.kind, *dibs[c.dib]);
      canvas->Pen()->SetColor(clRed);
      canvas->Pen()->SetWidth(c.width);
      std::vector<double> times;
      for (int run = 0; run < kRuns; ++run) {
        const double t0 = Milliseconds();
        if (c.chunk > 0) {
          TPointArray part;
          for (int first = 0; first < high; first += c.chunk - 1) {
            const int last = std::min(first + c.chunk - 1, high);
            part.assign(curve.begin() + first, curve.begin() + last + 1);
            canvas->Polyline(part, last - first);
          }
        } else if (c.shape == 1) {
          canvas->Polyline(flat, high);
        } else if (c.shape == 2) {
          canvas->Polyline(diagonal, 1);
        } else if (c.polyline) {
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
