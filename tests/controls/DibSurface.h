// A 32-bit top-down DIB section with its own memory DC, for painting tests: pre-filled with a
// marker colour, read back pixel by pixel as $00BBGGRR values.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/graphics/Types.h"
#include "toolkit/system/WinApi.h"

class TDibSurface {
 public:
  TDibSurface(int width, int height, COLORREF fill);
  ~TDibSurface();
  TDibSurface(const TDibSurface&) = delete;
  TDibSurface& operator=(const TDibSurface&) = delete;

  HDC DC() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Fill(COLORREF color);
  // $00BBGGRR of pixel (x, y); the caller keeps inside the surface.
  COLORREF Pixel(int x, int y) const;
  // Number of pixels outside `rect` whose colour is not `marker`.
  int CountChangedOutside(const TRect& rect, COLORREF marker) const;
  // The pixels of `rect` as text rows, one character per pixel from `legend` (colour ->
  // character pairs); '?' for any other colour. Small frames read well this way.
  std::string Map(const TRect& rect, const std::string& legend, const COLORREF* colors) const;

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};
