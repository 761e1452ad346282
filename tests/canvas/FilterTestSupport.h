// Small bitmaps with exact pixels for the image filter tests: made from a function of the
// position, read back as (red, green, blue) through the bitmap's rows.
#pragma once

#include <functional>
#include <memory>
#include <ostream>

#include "canvas/KelFilter.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"

struct Px {
  int r = 0, g = 0, b = 0;
  bool operator==(const Px&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Px& p) {
  return out << "(" << p.r << "," << p.g << "," << p.b << ")";
}

// A width × height bitmap of 24 or 32 bits per pixel with pixel (x, y) = f(x, y); alpha 0x80.
inline std::unique_ptr<TBitmap> MakeBitmap(int width, int height, int bits, const std::function<Px(int, int)>& f) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(bits == 32 ? pf32bit : pf24bit);
  bitmap->SetSize(width, height);
  TFilterRows rows = FilterRowsOf(*bitmap);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Px p = f(x, y);
      unsigned char* d = rows.rows[y] + x * rows.pixelBytes;
      d[0] = static_cast<unsigned char>(p.b);
      d[1] = static_cast<unsigned char>(p.g);
      d[2] = static_cast<unsigned char>(p.r);
      if (rows.pixelBytes == 4) d[3] = 0x80;
    }
  }
  return bitmap;
}

inline std::unique_ptr<TBitmap> Uniform(int width, int height, Px p, int bits = 24) {
  return MakeBitmap(width, height, bits, [p](int, int) { return p; });
}

inline Px PixelOf(TBitmap& bitmap, int x, int y) {
  TFilterRows rows = FilterRowsOf(bitmap);
  const unsigned char* s = rows.rows[y] + x * rows.pixelBytes;
  return Px{s[2], s[1], s[0]};
}

inline int AlphaOf(TBitmap& bitmap, int x, int y) {
  TFilterRows rows = FilterRowsOf(bitmap);
  return rows.pixelBytes == 4 ? rows.rows[y][x * 4 + 3] : -1;
}

// A pattern with a different value in every pixel and channel.
inline Px Pattern(int x, int y) { return Px{(x * 37 + y * 11) % 256, (x * 13 + y * 59 + 7) % 256, (x * 91 + y * 3 + 50) % 256}; }
