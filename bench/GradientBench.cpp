// Benchmark: the control set's gradient fill per direction on a small and a large area, in a
// memory DC. The shaders paint one strip or one quarter and copy it, so the large area costs
// about the copies more than the small one, not 256 times as much.
#include <cstdio>

#include "controls/KxGraphics.h"
#include "toolkit/system/WinApi.h"

namespace {

const char* const kNames[] = {"diagonal_up", "diagonal_down", "horizontal_end", "horizontal_center",
                              "horizontal_box", "vertical_end", "vertical_center", "vertical_box",
                              "square_box", "big_square_box"};

// Milliseconds per DrawGradientArea over a size x size area, averaged over `runs` calls.
double MillisecondsPerFill(HDC dc, KxCommon::TGradientDirection direction, int size, int runs) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  for (int i = 0; i < runs; ++i) DrawGradientArea(dc, {0, 0, size, size}, direction, 0x800000, 0x00FFFF, 1);
  GdiFlush();
  QueryPerformanceCounter(&b);
  return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart) / runs;
}

}  // namespace

int main() {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 1024, 1024);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int d = KxCommon::gdDiagonalUp; d <= KxCommon::gdBigSquareBox; ++d) {
    const auto direction = static_cast<KxCommon::TGradientDirection>(d);
    std::printf("gradient_%s_64: %.3f ms\n", kNames[d], MillisecondsPerFill(dc, direction, 64, 200));
    std::printf("gradient_%s_1024: %.3f ms\n", kNames[d], MillisecondsPerFill(dc, direction, 1024, 10));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return 0;
}
