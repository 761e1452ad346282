// Benchmark: image filters on a full-HD bitmap (the blur on 32-bit rows as the smooth text
// shadows use it, the sharpen kernel on 24-bit rows, a 45 degree turn) and measuring a line of
// mark-up text on the GDI canvas. Filters work on precomputed rows, so each should cost about
// what a plain loop over the same rows costs (printed as the yardstick).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <memory>

#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilters.h"
#include "canvas/KelHtml.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/system/WinApi.h"

namespace {

double Seconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// A 1920 × 1080 bitmap with a pattern in every channel.
std::unique_ptr<TBitmap> Picture(TPixelFormat format) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(1920, 1080);
  TFilterRows rows = FilterRowsOf(*bitmap);
  for (int y = 0; y < rows.height; ++y) {
    for (int x = 0; x < rows.width; ++x) {
      unsigned char* p = rows.rows[y] + x * rows.pixelBytes;
      p[0] = static_cast<unsigned char>(x * 7 + y);
      p[1] = static_cast<unsigned char>(x ^ y);
      p[2] = static_cast<unsigned char>(y * 3);
    }
  }
  return bitmap;
}

// Milliseconds per application, the best of `runs` on fresh copies.
template <class Make>
double BestMilliseconds(TPixelFormat format, Make make, int runs) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    auto bitmap = Picture(format);
    auto filter = make();
    const double start = Seconds();
    ApplyFilterToBitmap(*filter, *bitmap);
    const double ms = (Seconds() - start) * 1000;
    if (ms < best) best = ms;
  }
  return best;
}

double PlainLoopMilliseconds(int runs) {
  auto bitmap = Picture(pf32bit);
  TFilterRows rows = FilterRowsOf(*bitmap);
  const int stride = rows.width * 4;
  std::vector<unsigned char> out(static_cast<size_t>(stride) * rows.height);
  double best = 1e9;
  for (int run = 0; run < runs; ++run) {
    const double start = Seconds();
    for (int y = 1; y < rows.height - 1; ++y) {
      const unsigned char* a = rows.rows[y - 1];
      const unsigned char* r = rows.rows[y];
      const unsigned char* b = rows.rows[y + 1];
      for (int i = 4; i < stride - 4; ++i) {
        out[static_cast<size_t>(y) * stride + i] = static_cast<unsigned char>(
            (a[i - 4] + a[i] + a[i + 4] + r[i - 4] + r[i] + r[i + 4] + b[i - 4] + b[i] + b[i + 4]) / 9);
      }
    }
    best = std::min(best, (Seconds() - start) * 1000);
  }
  return best;
}

}  // namespace

int main() {
  InitGraphics();
  KelCanvasStartup();
  KelFiltersStartup();
  // The yardstick: a plain loop summing the same 3 × 3 neighbourhoods of 32-bit rows.
  std::printf("plain_loop_box_1920x1080_32: %.1f ms\n", PlainLoopMilliseconds(5));
  std::printf("filter_blur_1920x1080_32: %.1f ms\n",
              BestMilliseconds(pf32bit, [] { return std::make_unique<TBlurFilter>(nullptr); }, 5));
  std::printf("filter_sharpen_1920x1080_24: %.1f ms\n",
              BestMilliseconds(pf24bit, [] { return std::make_unique<TSharpenFilter>(nullptr); }, 5));
  std::printf("filter_rotate45_1920x1080: %.1f ms\n", BestMilliseconds(pf32bit, [] {
                auto rotate = std::make_unique<TRotateFilter>(nullptr);
                rotate->SetAngle(45);
                return rotate;
              }, 5));
  {
    TBitmap surface(400, 100);
    TKelCanvas3D canvas;
    canvas.SetBuffered(false);
    canvas.Buffered = false;
    canvas.SetTargetCanvas(surface.Canvas());
    const std::string text = "<B>Channel 12</B> <FONT COLOR=RED SIZE=+2>25.3</FONT> deg<SUB>avg</SUB>";
    const int calls = 2000;
    TSize extent;
    const double start = Seconds();
    for (int i = 0; i < calls; ++i) MarkupTextExtent(canvas, text, extent);
    std::printf("markup_extent_us: %.1f us\n", (Seconds() - start) * 1e6 / calls);
  }
  KelFiltersShutdown();
  KelCanvasShutdown();
  DoneGraphics();
  return 0;
}
