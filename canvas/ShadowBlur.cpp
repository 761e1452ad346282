// Shadow blur (see ShadowBlur.h).
#include "canvas/ShadowBlur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "canvas/BitmapUtils.h"
#include "canvas/KelCanvas.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/Math.h"

std::vector<int> GaussianKernel(int r, float smoothBlur) {
  std::vector<int> weights(2 * r + 1);
  const double base = (smoothBlur + 180) * 0.01;
  weights[r] = 100000;
  for (int i = 0; i < r; ++i) {
    const double d = i - r;
    const int w = static_cast<int>(Round(std::pow(base, -(d * d) / r) * 100000));
    weights[i] = w;
    weights[2 * r - i] = w;
  }
  return weights;
}

namespace {
// Row access in the bitmap's own layout: 4 bytes a pixel for 32-bit DIBs, else 24-bit.
struct TRowAccess {
  std::vector<unsigned char*> rows;
  int step = 3;
};

// Reads the rows in place (a buffer selected into a device context keeps its DIB); formats
// other than 24 and 32 bits are made 24-bit first.
TRowAccess AccessRows(TBitmap& bitmap) {
  TRowAccess access;
  const TPixelFormat format = bitmap.PixelFormat();
  if (format != pf24bit && format != pf32bit && format != pfDevice) {
    access.rows = ScanLines24(bitmap);
    return access;
  }
  access.step = format == pf24bit ? 3 : 4;
  access.rows.resize(std::max(bitmap.Height(), 0));
  for (int i = 0; i < bitmap.Height(); ++i) access.rows[i] = static_cast<unsigned char*>(bitmap.ScanLine(i));
  return access;
}
}  // namespace

void BlurShadowBitmap(TBitmap& source, TBitmap* dest, int x, int y, int width, int height, int r, float smoothBlur,
                      TKelCanvas* canvas, bool clip) {
  if (r <= 0 || width <= 0 || height <= 0) return;
  GdiFlush();
  width = std::min(width, source.Width());
  height = std::min(height, source.Height());
  const std::vector<int> kernel = GaussianKernel(r, smoothBlur);
  const TRowAccess src = AccessRows(source);
  TRowAccess dst;
  int firstX = 0, lastX = width - 1, firstY = 0, lastY = height - 1;
  if (dest != nullptr) {
    dst = AccessRows(*dest);
    firstX = std::max(0, -x);
    lastX = std::min(width, dest->Width() - x) - 1;
    firstY = std::max(0, -y);
    lastY = std::min(height, dest->Height() - y) - 1;
  }
  if (firstX > lastX || firstY > lastY) return;
  // Horizontal pass over every row (the vertical pass reads rows outside the landing area).
  const int columns = lastX - firstX + 1;
  std::vector<std::uint8_t> work(static_cast<size_t>(columns) * height * 3);
  for (int row = 0; row < height; ++row) {
    const unsigned char* line = src.rows[row];
    for (int col = firstX; col <= lastX; ++col) {
      long long sums[3] = {0, 0, 0};
      long long weightSum = 0;
      for (int k = -r; k <= r; ++k) {
        const int sx = col + k;
        if (sx < 0 || sx >= width) continue;
        const int w = kernel[k + r];
        const unsigned char* p = line + sx * src.step;
        for (int c = 0; c < 3; ++c) sums[c] += static_cast<long long>(p[c]) * w;
        weightSum += w;
      }
      std::uint8_t* out = &work[(static_cast<size_t>(row) * columns + (col - firstX)) * 3];
      for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(sums[c] / weightSum);
    }
  }
  HDC clipDC = clip && canvas != nullptr ? canvas->GetDeviceHandle() : nullptr;
  std::vector<std::uint8_t> writeBack;
  if (dest == nullptr) writeBack.resize(work.size());
  for (int row = firstY; row <= lastY; ++row) {
    for (int col = firstX; col <= lastX; ++col) {
      long long sums[3] = {0, 0, 0};
      long long weightSum = 0;
      for (int k = -r; k <= r; ++k) {
        const int sy = row + k;
        if (sy < 0 || sy >= height) continue;
        const int w = kernel[k + r];
        const std::uint8_t* p = &work[(static_cast<size_t>(sy) * columns + (col - firstX)) * 3];
        for (int c = 0; c < 3; ++c) sums[c] += static_cast<long long>(p[c]) * w;
        weightSum += w;
      }
      if (dest == nullptr) {
        std::uint8_t* out = &writeBack[(static_cast<size_t>(row) * columns + (col - firstX)) * 3];
        for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(sums[c] / weightSum);
        continue;
      }
      if (clipDC != nullptr && !PtVisible(clipDC, col + x, row + y)) continue;
      unsigned char* target = dst.rows[row + y] + (col + x) * dst.step;
      for (int c = 0; c < 3; ++c) {
        const long long blurred = sums[c] / weightSum;
        target[c] = static_cast<unsigned char>(Round(target[c] * blurred / 255.0));
      }
    }
  }
  if (dest == nullptr) {
    for (int row = firstY; row <= lastY; ++row) {
      for (int col = firstX; col <= lastX; ++col) {
        const std::uint8_t* in = &writeBack[(static_cast<size_t>(row) * columns + (col - firstX)) * 3];
        unsigned char* p = src.rows[row] + col * src.step;
        for (int c = 0; c < 3; ++c) p[c] = in[c];
      }
    }
  }
}
