// Pixel access for painting tests: colours and ink bounding boxes read straight from a 32-bit
// bitmap's rows.
#pragma once

#include <cstdint>
#include <functional>

#include "toolkit/graphics/Bitmap.h"

// The colour ($00BBGGRR) of pixel (x, y) of a pf32bit bitmap.
inline TColor PixelAt(TBitmap& bitmap, int x, int y) {
  const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
  const std::uint8_t* p = row + x * 4;
  return static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
}

// Smallest rectangle holding every pixel for which `ink` holds; empty when none does.
inline TRect InkBounds(TBitmap& bitmap, const std::function<bool(TColor)>& ink) {
  TRect box(bitmap.Width(), bitmap.Height(), 0, 0);
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (ink(PixelAt(bitmap, x, y))) {
        if (x < box.Left) box.Left = x;
        if (y < box.Top) box.Top = y;
        if (x + 1 > box.Right) box.Right = x + 1;
        if (y + 1 > box.Bottom) box.Bottom = y + 1;
      }
  if (box.Right <= box.Left) return TRect();
  return box;
}

inline int CountPixels(TBitmap& bitmap, const std::function<bool(TColor)>& ink) {
  int n = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (ink(PixelAt(bitmap, x, y))) ++n;
  return n;
}

// A white pf32bit bitmap of the given size.
inline void MakeCanvasBitmap(TBitmap& bitmap, int width, int height) {
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(width, height);
}
