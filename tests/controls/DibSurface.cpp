// The painting tests' DIB surface.
#include "DibSurface.h"

#include <stdexcept>

TDibSurface::TDibSurface(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc_ == nullptr || bitmap_ == nullptr) throw std::runtime_error("DIB section");
  bits_ = static_cast<std::uint32_t*>(bits);
  oldBitmap_ = SelectObject(dc_, bitmap_);
  Fill(fill);
}

TDibSurface::~TDibSurface() {
  SelectObject(dc_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void TDibSurface::Fill(COLORREF color) {
  GdiFlush();
  const std::uint32_t value = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
  for (int i = 0; i < width_ * height_; ++i) bits_[i] = value;
}

COLORREF TDibSurface::Pixel(int x, int y) const {
  GdiFlush();
  const std::uint32_t v = bits_[y * width_ + x];
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

int TDibSurface::CountChangedOutside(const TRect& rect, COLORREF marker) const {
  int count = 0;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (rect.Contains({x, y})) continue;
      if (Pixel(x, y) != marker) ++count;
    }
  }
  return count;
}

std::string TDibSurface::Map(const TRect& rect, const std::string& legend, const COLORREF* colors) const {
  std::string out;
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    for (int x = rect.Left; x < rect.Right; ++x) {
      const COLORREF p = Pixel(x, y);
      char c = '?';
      for (std::size_t i = 0; i < legend.size(); ++i) {
        if (colors[i] == p) {
          c = legend[i];
          break;
        }
      }
      out += c;
    }
    out += '\n';
  }
  return out;
}
