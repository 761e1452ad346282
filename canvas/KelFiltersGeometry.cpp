// The geometry filters of the catalogue (see KelFilters.h): flip and reverse inside the
// rectangle; mirror, rotate, resize and crop of the whole bitmap; zoom and tile. Pixels move
// by rows in the bitmap's own layout; a replaced image keeps the source's 24- or 32-bit form.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "canvas/BitmapUtils.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelFilters.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

template <class C, class V>
auto Get(V C::*member) {
  return [member](C& c) -> V { return c.*member; };
}
template <class C, class V>
auto Put(V C::*member) {
  return [member](C& c, V v) { c.*member = v; };
}

// Halves to even (the SSE default rounding), as the run-time library's Round does.
inline int RoundEven(double v) { return _mm_cvtsd_si32(_mm_set_sd(v)); }

// A plain copy of an image: width × height pixels of `pixelBytes` bytes, rows packed.
struct TPixels {
  int width = 0, height = 0, pixelBytes = 3;
  std::vector<unsigned char> bytes;
  unsigned char* At(int x, int y) { return bytes.data() + (static_cast<size_t>(y) * width + x) * pixelBytes; }
};

TPixels CopyPixels(const TFilterRows& rows) {
  TPixels p;
  p.width = rows.width;
  p.height = rows.height;
  p.pixelBytes = rows.pixelBytes;
  p.bytes.resize(static_cast<size_t>(p.width) * p.height * p.pixelBytes);
  const size_t rowBytes = static_cast<size_t>(p.width) * p.pixelBytes;
  for (int y = 0; y < p.height; ++y) std::memcpy(p.bytes.data() + y * rowBytes, rows.rows[y], rowBytes);
  return p;
}

// Gives `bitmap` a fresh white image of width × height with 3 or 4 bytes per pixel. The DIB
// section is made here and adopted, which is far cheaper for large images than resizing.
TFilterRows Remake(TBitmap& bitmap, int width, int height, int pixelBytes) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(pixelBytes * 8);
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib == nullptr || bits == nullptr) throw EOutOfResources("Out of system resources");
  const size_t rowBytes = (static_cast<size_t>(width) * pixelBytes + 3) & ~static_cast<size_t>(3);
  std::memset(bits, 0xFF, rowBytes * static_cast<size_t>(height));
  bitmap.SetHandle(dib);
  return FilterRowsOf(bitmap);
}

void FillRows(TFilterRows& rows, COLORREF rgb) {
  const unsigned char px[4] = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb), 0};
  for (int y = 0; y < rows.height; ++y) {
    unsigned char* d = rows.rows[y];
    for (int x = 0; x < rows.width; ++x, d += rows.pixelBytes) std::memcpy(d, px, rows.pixelBytes);
  }
}

// Copies `source` (any size) into `dest` at its whole size, nearest pixel.
void StretchNearest(TPixels& source, TFilterRows& dest) {
  if (source.width < 1 || source.height < 1) return;
  const int p = dest.pixelBytes;
  std::vector<int> columns(static_cast<size_t>(dest.width));
  for (int x = 0; x < dest.width; ++x) {
    columns[x] = static_cast<int>(static_cast<long long>(x) * source.width / dest.width);
  }
  for (int y = 0; y < dest.height; ++y) {
    const int sy = static_cast<int>(static_cast<long long>(y) * source.height / dest.height);
    unsigned char* d = dest.rows[y];
    for (int x = 0; x < dest.width; ++x, d += p) std::memcpy(d, source.At(columns[x], sy), std::min(p, source.pixelBytes));
  }
}

// `source` pixels copied into a bitmap of their own (24- or 32-bit as they are).
void PixelsToBitmap(TPixels& source, TBitmap& bitmap) {
  TFilterRows rows = Remake(bitmap, source.width, source.height, source.pixelBytes);
  const size_t rowBytes = static_cast<size_t>(source.width) * source.pixelBytes;
  for (int y = 0; y < source.height; ++y) std::memcpy(rows.rows[y], source.At(0, y), rowBytes);
}

// Copies a 24-bit resampled bitmap into rows at (left, top), clipped to `clip` (inclusive).
void BlitResampled(TBitmap& resampled, TFilterRows& dest, int left, int top, const TRect& clip) {
  TFilterRows from = FilterRowsOf(resampled);
  const int p = dest.pixelBytes;
  for (int y = 0; y < from.height; ++y) {
    const int dy = top + y;
    if (dy < clip.Top || dy > clip.Bottom) continue;
    for (int x = 0; x < from.width; ++x) {
      const int dx = left + x;
      if (dx < clip.Left || dx > clip.Right) continue;
      std::memcpy(dest.rows[dy] + dx * p, from.rows[y] + x * from.pixelBytes, 3);
    }
  }
}

// Every target pixel (j, i) from source (round(c·gx − s·gy + W div 2), round(s·gx + c·gy +
// H div 2)), gx and gy taken from the target's centre; targets whose source lies outside keep
// their colour. P is the bytes per pixel.
template <int P>
void TurnRows(const TFilterRows& source, TFilterRows& out, double c, double s) {
  const int w = source.width, h = source.height;
  const int halfW = w / 2, halfH = h / 2;
  const int nw = out.width, nh = out.height;
  for (int i = 0; i < nh; ++i) {
    const double gy = i - nh / 2;
    const double sgy = s * gy;
    const double cgy = c * gy;
    unsigned char* d = out.rows[i];
    for (int j = 0; j < nw; ++j, d += P) {
      const double gx = j - nw / 2;
      const int sx = RoundEven((c * gx - sgy) + halfW);
      const int sy = RoundEven((s * gx + cgy) + halfH);
      if (static_cast<unsigned>(sx) >= static_cast<unsigned>(w) || static_cast<unsigned>(sy) >= static_cast<unsigned>(h)) {
        continue;
      }
      const unsigned char* from = source.rows[sy] + sx * P;
      if constexpr (P == 4) {
        std::memcpy(d, from, 4);
      } else {
        d[0] = from[0];
        d[1] = from[1];
        d[2] = from[2];
      }
    }
  }
}

}  // namespace

// ---- Flip and reverse ------------------------------------------------------------------------

const TClassInfo& TFlipFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFlipFilter>("TFlipFilter", &TKelFilter::StaticClass()).Build();
  return info;
}

void TFlipFilter::Process(TBitmap&, const TRect& r) {
  const int p = rows_.pixelBytes;
  const size_t bytes = static_cast<size_t>(r.Right - r.Left + 1) * p;
  std::vector<unsigned char> swap(bytes);
  for (int k = 0; k < (r.Bottom - r.Top + 1) / 2; ++k) {
    unsigned char* a = rows_.rows[r.Top + k] + r.Left * p;
    unsigned char* b = rows_.rows[r.Bottom - k] + r.Left * p;
    std::memcpy(swap.data(), a, bytes);
    std::memcpy(a, b, bytes);
    std::memcpy(b, swap.data(), bytes);
  }
}

const TClassInfo& TReverseFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TReverseFilter>("TReverseFilter", &TKelFilter::StaticClass()).Build();
  return info;
}

void TReverseFilter::Process(TBitmap&, const TRect& r) {
  const int p = rows_.pixelBytes;
  unsigned char swap[4];
  for (int y = r.Top; y <= r.Bottom; ++y) {
    unsigned char* row = rows_.rows[y];
    for (int k = 0; k < (r.Right - r.Left + 1) / 2; ++k) {
      unsigned char* a = row + (r.Left + k) * p;
      unsigned char* b = row + (r.Right - k) * p;
      std::memcpy(swap, a, p);
      std::memcpy(a, b, p);
      std::memcpy(b, swap, p);
    }
  }
}

// ---- Mirror ----------------------------------------------------------------------------------

TMirrorFilter::TMirrorFilter(TCollection* collection) : TKelFilter(collection) { regionAllowed_ = false; }

const TClassInfo& TMirrorFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMirrorFilter>("TMirrorFilter", &TKelFilter::StaticClass())
                                     .Property("Direction", Get(&TMirrorFilter::Direction), Put(&TMirrorFilter::Direction))
                                     .Default(mdDown)
                                     .Build();
  return info;
}

void TMirrorFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder != nullptr) builder->AddCombo("Direction", "Direction");
}

void TMirrorFilter::Apply(TBitmap& bitmap, const TRect&) {
  PrepareScanLines(bitmap);
  if (rows_.Empty()) return;
  TPixels source = CopyPixels(rows_);
  const int w = source.width, h = source.height, p = source.pixelBytes;
  const bool vertical = Direction == mdDown || Direction == mdUp;
  TFilterRows out = Remake(bitmap, vertical ? w : 2 * w, vertical ? 2 * h : h, p);
  const size_t rowBytes = static_cast<size_t>(w) * p;
  for (int y = 0; y < h; ++y) {
    unsigned char* src = source.At(0, y);
    if (vertical) {
      const int plain = Direction == mdDown ? y : h + y;
      const int flipped = Direction == mdDown ? 2 * h - 1 - y : h - 1 - y;
      std::memcpy(out.rows[plain], src, rowBytes);
      std::memcpy(out.rows[flipped], src, rowBytes);
    } else {
      const int plainLeft = Direction == mdRight ? 0 : w;
      const int reversedLeft = Direction == mdRight ? w : 0;
      std::memcpy(out.rows[y] + plainLeft * p, src, rowBytes);
      for (int x = 0; x < w; ++x) std::memcpy(out.rows[y] + (reversedLeft + w - 1 - x) * p, source.At(x, y), p);
    }
  }
  rows_ = FilterRowsOf(bitmap);
}

// ---- Rotate ----------------------------------------------------------------------------------

TRotateFilter::TRotateFilter(TCollection* collection) : TKelFilter(collection) { regionAllowed_ = false; }

const TClassInfo& TRotateFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TRotateFilter>("TRotateFilter", &TKelFilter::StaticClass())
                                     .Property("Angle", &TRotateFilter::Angle, &TRotateFilter::SetAngle)
                                     .Stored([](TRotateFilter& f) { return f.Angle() != 0; })
                                     .Property("AutoSize", Get(&TRotateFilter::AutoSize), Put(&TRotateFilter::AutoSize))
                                     .Default(true)
                                     .Property("BackColor", Get(&TRotateFilter::BackColor), Put(&TRotateFilter::BackColor))
                                     .Default(clWhite)
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Build();
  return info;
}

void TRotateFilter::SetAngle(double value) {
  if (value != angle_) angle_ = value;
}

void TRotateFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddScroll("Angle", "Angle", 0, 360);
  builder->AddColor("BackColor", KelFilterTexts.Back);
  builder->AddCheckBox("AutoSize", KelFilterTexts.Autosize);
}

void TRotateFilter::Apply(TBitmap& bitmap, const TRect&) {
  // A non-finite angle (a corrupt layout) has no turn to make.
  if (!std::isfinite(angle_)) return;
  angle_ = ReduceAngle(angle_);
  if (angle_ == 180) {
    ApplyFilterClass(TFlipFilter::StaticClass(), bitmap);
    ApplyFilterClass(TReverseFilter::StaticClass(), bitmap);
    return;
  }
  if (angle_ == 0) return;
  PrepareScanLines(bitmap);
  if (rows_.Empty()) return;
  // The turned image goes into a new bitmap read from the old rows; the bitmap then adopts it.
  const TFilterRows& source = rows_;
  const int w = source.width, h = source.height, p = source.pixelBytes;
  const bool quarter = angle_ == 90 || angle_ == 270;
  const double theta = (360 - angle_) * std::numbers::pi / 180;
  const double c = std::cos(theta);
  const double s = std::sin(theta);
  int nw = w, nh = h;
  if (quarter) {
    nw = h;
    nh = w;
  } else if (AutoSize) {
    if (s * c > 0) {
      nw = static_cast<int>(std::llabs(std::llrint(w * c + h * s)));
      nh = static_cast<int>(std::llabs(std::llrint(w * s + h * c)));
    } else {
      nw = static_cast<int>(std::llabs(std::llrint(w * c - h * s)));
      nh = static_cast<int>(std::llabs(std::llrint(w * s - h * c)));
    }
    nw = std::max(nw, 1);
    nh = std::max(nh, 1);
  }
  TBitmap turned;
  TFilterRows out = Remake(turned, nw, nh, p);
  if (BackColor == clNone) {
    bitmap.SetTransparent(true);
  } else if (BackColor != clWhite) {
    FillRows(out, ColorToRGB(BackColor));
  }
  // Every size is mapped, one-pixel-wide and -high images included.
  if (angle_ == 90) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) std::memcpy(out.rows[x] + (h - 1 - y) * p, source.rows[y] + x * p, p);
    }
  } else if (angle_ == 270) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) std::memcpy(out.rows[w - 1 - x] + y * p, source.rows[y] + x * p, p);
    }
  } else {
    if (p == 4) {
      TurnRows<4>(source, out, c, s);
    } else {
      TurnRows<3>(source, out, c, s);
    }
  }
  bitmap.SetHandle(turned.ReleaseHandle());
  rows_ = FilterRowsOf(bitmap);
}

// ---- Resize and crop -------------------------------------------------------------------------

TResizeFilter::TResizeFilter(TCollection* collection) : TKelFilter(collection) { regionAllowed_ = false; }

const TClassInfo& TResizeFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TResizeFilter>("TResizeFilter", &TKelFilter::StaticClass())
                                     .Property("Width", Get(&TResizeFilter::Width), Put(&TResizeFilter::Width))
                                     .Default(0)
                                     .Property("Height", Get(&TResizeFilter::Height), Put(&TResizeFilter::Height))
                                     .Default(0)
                                     .Build();
  return info;
}

void TResizeFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddInteger("Width", KelFilterTexts.Width, 0, 10000);
  builder->AddInteger("Height", KelFilterTexts.Height, 0, 10000);
}

void TResizeFilter::ResetToStartValues() {
  Width = 50;
  Height = 50;
}

void TResizeFilter::Apply(TBitmap& bitmap, const TRect&) {
  if (Width <= 0 || Height <= 0 || bitmap.Empty()) return;
  TBitmap copy;
  copy.Assign(&bitmap);
  bitmap.SetSize(Width, Height);
  ResampleBitmap(copy, bitmap);
}

const TClassInfo& TCropFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCropFilter>("TCropFilter", &TResizeFilter::StaticClass())
                                     .Property("Left", Get(&TCropFilter::Left), Put(&TCropFilter::Left))
                                     .Default(0)
                                     .Property("Top", Get(&TCropFilter::Top), Put(&TCropFilter::Top))
                                     .Default(0)
                                     .Property("Smooth", Get(&TCropFilter::Smooth), Put(&TCropFilter::Smooth))
                                     .Default(false)
                                     .Build();
  return info;
}

void TCropFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TResizeFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddInteger("Left", KelFilterTexts.Left, 0, 10000);
  builder->AddInteger("Top", KelFilterTexts.Top, 0, 10000);
  builder->AddCheckBox("Smooth", KelFilterTexts.Smooth);
}

std::uint64_t TCropFilter::CutBytes(int width, int height, int pixelBytes, int sourceWidth, int sourceHeight) {
  // In 64 bits: Width and Height come from a stream, and 65536 × 65536 wraps a 32-bit size_t.
  const std::uint64_t pixels = static_cast<std::uint64_t>(std::max(width, 0)) * static_cast<std::uint64_t>(std::max(height, 0));
  const std::uint64_t source =
      static_cast<std::uint64_t>(std::max(sourceWidth, 0)) * static_cast<std::uint64_t>(std::max(sourceHeight, 0));
  const std::uint64_t bytes = pixels * static_cast<std::uint64_t>(std::max(pixelBytes, 1));
  const auto addressable = static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max());
  if (pixels > std::max(source, kMaxCutPixels) || bytes > addressable) {
    throw EInvalidGraphicOperation("Crop size " + std::to_string(width) + " x " + std::to_string(height) +
                                   " is too large for a " + std::to_string(sourceWidth) + " x " +
                                   std::to_string(sourceHeight) + " picture");
  }
  return bytes;
}

void TCropFilter::Apply(TBitmap& bitmap, const TRect&) {
  if (Width < 1 || Height < 1) return;
  PrepareScanLines(bitmap);
  if (rows_.Empty()) return;
  const int p = rows_.pixelBytes;
  const std::uint64_t bytes = CutBytes(Width, Height, p, rows_.width, rows_.height);
  // Exactly Width × Height source pixels; what lies outside the source stays white.
  TPixels cut;
  cut.width = Width;
  cut.height = Height;
  cut.pixelBytes = p;
  cut.bytes.assign(static_cast<size_t>(bytes), 0xFF);
  for (int y = 0; y < Height; ++y) {
    const long long sy = static_cast<long long>(Top) + y;
    if (sy < 0 || sy >= rows_.height) continue;
    for (int x = 0; x < Width; ++x) {
      const long long sx = static_cast<long long>(Left) + x;
      if (sx < 0 || sx >= rows_.width) continue;
      std::memcpy(cut.At(x, y), rows_.rows[sy] + sx * p, p);
    }
  }
  if (Smooth) {
    TBitmap small;
    PixelsToBitmap(cut, small);
    ResampleBitmap(small, bitmap);
  } else {
    StretchNearest(cut, rows_);
  }
  rows_ = FilterRowsOf(bitmap);
}

// ---- Zoom and tile ---------------------------------------------------------------------------

const TClassInfo& TZoomFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TZoomFilter>("TZoomFilter", &TKelFilter::StaticClass())
                                     .Property("Percent", Get(&TZoomFilter::Percent), Put(&TZoomFilter::Percent))
                                     .Stored([](TZoomFilter& f) { return f.Percent != 10; })
                                     .Property("Smooth", Get(&TZoomFilter::Smooth), Put(&TZoomFilter::Smooth))
                                     .Default(false)
                                     .Build();
  return info;
}

void TZoomFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddScroll("Percent", KelFilterTexts.Percent, 0, 100);
  builder->AddCheckBox("Smooth", KelFilterTexts.Smooth);
}

void TZoomFilter::Process(TBitmap& bitmap, const TRect& r) {
  const int w = r.Right - r.Left + 1;
  const int h = r.Bottom - r.Top + 1;
  const int mx = static_cast<int>(std::llrint(w * Percent * 0.005));
  const int my = static_cast<int>(std::llrint(h * Percent * 0.005));
  TCropFilter crop(nullptr);
  crop.Width = std::max(1, w - 2 * mx);
  crop.Height = std::max(1, h - 2 * my);
  crop.Smooth = Smooth;
  if (bitmap.Width() == w && bitmap.Height() == h) {
    crop.Left = r.Left + mx;
    crop.Top = r.Top + my;
    crop.Apply(bitmap, r);
    PrepareScanLines(bitmap);
    return;
  }
  const int p = rows_.pixelBytes;
  TPixels part;
  part.width = w;
  part.height = h;
  part.pixelBytes = p;
  part.bytes.resize(static_cast<size_t>(w) * h * p);
  for (int y = 0; y < h; ++y) std::memcpy(part.At(0, y), rows_.rows[r.Top + y] + r.Left * p, static_cast<size_t>(w) * p);
  TBitmap work;
  PixelsToBitmap(part, work);
  crop.Left = mx;
  crop.Top = my;
  crop.Apply(work, TRect(0, 0, w - 1, h - 1));
  TFilterRows from = FilterRowsOf(work);
  const int q = from.pixelBytes;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) std::memcpy(rows_.rows[r.Top + y] + (r.Left + x) * p, from.rows[y] + x * q, 3);
  }
}

const TClassInfo& TTileFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTileFilter>("TTileFilter", &TKelFilter::StaticClass())
                                     .Property("NumCols", Get(&TTileFilter::NumCols), Put(&TTileFilter::NumCols))
                                     .Default(3)
                                     .Property("NumRows", Get(&TTileFilter::NumRows), Put(&TTileFilter::NumRows))
                                     .Default(3)
                                     .Build();
  return info;
}

void TTileFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddInteger("NumCols", KelFilterTexts.Columns, 1, 1000);
  builder->AddInteger("NumRows", KelFilterTexts.Rows, 1, 1000);
}

void TTileFilter::Process(TBitmap& bitmap, const TRect& r) {
  if (NumCols < 1) NumCols = 1;
  if (NumRows < 1) NumRows = 1;
  const int tileWidth = (r.Right - r.Left) / NumCols;
  const int tileHeight = (r.Bottom - r.Top) / NumRows;
  if (tileWidth < 1 || tileHeight < 1) return;
  TBitmap whole;
  whole.Assign(&bitmap);
  TBitmap tile;
  tile.SetPixelFormat(pf24bit);
  tile.SetSize(tileWidth, tileHeight);
  ResampleBitmap(whole, tile);
  // The tiles start at the rectangle's corner and stay inside it.
  for (int row = 0; row < NumRows; ++row) {
    for (int column = 0; column < NumCols; ++column) {
      BlitResampled(tile, rows_, r.Left + tileWidth * column, r.Top + tileHeight * row, r);
    }
  }
}
