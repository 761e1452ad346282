// TBitmap: DIB section management, pixel format conversion, transparency and BMP files.
#include "toolkit/graphics/Bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

const TEnumInfo& EnumTypeInfo(TPixelFormat) {
  static const TEnumInfo info("TPixelFormat", {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit",
                                               "pf24bit", "pf32bit", "pfCustom"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TTransparentMode) {
  static const TEnumInfo info("TTransparentMode", {"tmAuto", "tmFixed"});
  return info;
}

int PixelFormatBits(TPixelFormat format) {
  switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

namespace {

constexpr DWORD kMasks565[3] = {0xF800, 0x07E0, 0x001F};
constexpr DWORD kMasks888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

struct DibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};  // colour table, or the three masks of BI_BITFIELDS
};

RGBQUAD Quad(int r, int g, int b) {
  return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0};
}

// The colour table a palette format starts with.
std::vector<RGBQUAD> DefaultColors(int bits) {
  std::vector<RGBQUAD> colors;
  if (bits == 1) {
    colors = {Quad(0, 0, 0), Quad(255, 255, 255)};
  } else if (bits == 4) {
    static constexpr int kVga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                        {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (const auto& c : kVga) colors.push_back(Quad(c[0], c[1], c[2]));
  } else if (bits == 8) {
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) colors.push_back(Quad(r * 51, g * 51, b * 51));
    for (int i = 0; colors.size() < 256; ++i) colors.push_back(Quad(i * 6 + 8, i * 6 + 8, i * 6 + 8));
    colors.back() = Quad(255, 255, 255);
  }
  return colors;
}

// With `masked32`, 32-bit pixels are described by their colour masks (no alpha channel).
void FillInfo(DibInfo& info, int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& colors,
              bool masked32 = false) {
  const int bits = PixelFormatBits(format);
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  info.header.biCompression = BI_RGB;
  if (format == pf16bit) {
    info.header.biCompression = BI_BITFIELDS;
    std::memcpy(info.colors, kMasks565, sizeof(kMasks565));
  } else if (bits == 32 && masked32) {
    info.header.biCompression = BI_BITFIELDS;
    std::memcpy(info.colors, kMasks888, sizeof(kMasks888));
  } else if (bits <= 8) {
    info.header.biClrUsed = static_cast<DWORD>(colors.size());
    std::copy(colors.begin(), colors.end(), info.colors);
  }
}

int StrideOf(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

TPixelFormat FormatOfBits(int bits, DWORD compression, DWORD greenMask) {
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return (compression == BI_BITFIELDS && greenMask == 0x07E0) ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

}  // namespace

// ---- TBitmapCanvas ---------------------------------------------------------------------

void TBitmapCanvas::CreateHandle() {
  if (!dc_.Get()) dc_ = TMemoryDC::Create(nullptr);
  if (bitmap_->Handle() != nullptr) oldBitmap_ = SelectObject(dc_.Get(), bitmap_->Handle());
  SetHandle(dc_.Get());
}

void TBitmapCanvas::FreeContext() {
  if (!dc_.Get()) return;
  SetHandle(nullptr);
  if (oldBitmap_ != nullptr) SelectObject(dc_.Get(), oldBitmap_);
  oldBitmap_ = nullptr;
  dc_.Reset();
}

// ---- TBitmap ------------------------------------------------------------------------------

const TClassInfo& TBitmap::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBitmap>("TBitmap", &TGraphic::StaticClass()).Build();
  return info;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() { FreeCanvasContext(); }

void TBitmap::FreeCanvasContext() {
  if (canvas_) canvas_->FreeContext();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TBitmapCanvas>(this);
    canvas_->OnChange = TNotifyEvent(this, &TBitmap::CanvasChanged);
  }
  return canvas_.get();
}

int TBitmap::RowBytes() const { return StrideOf(width_, bitCount_); }

void TBitmap::Rebuild(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>* colors) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const int bits = PixelFormatBits(format);
  std::vector<RGBQUAD> table;
  if (bits <= 8) {
    if (colors != nullptr) {
      table = *colors;
    } else if (bits == bitCount_ && !colors_.empty()) {
      table = colors_;
    } else {
      table = DefaultColors(bits);
    }
  }
  FreeCanvasContext();
  TBitmapHandle dib;
  void* newBits = nullptr;
  if (width > 0 && height > 0) {
    DibInfo info;
    FillInfo(info, width, height, format, table, alphaIgnored_);
    dib.Reset(CheckGdi(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &newBits,
                                        nullptr, 0)));
    // New pixels are white. The alpha byte of 32-bit pixels stays 0, as GDI's own drawing
    // leaves it, so colour comparisons (transparent drawing, masks) see plain white.
    if (bits == 24) {
      std::memset(newBits, 0xFF, static_cast<size_t>(StrideOf(width, bits)) * height);
    } else if (bits == 32) {
      auto* pixel = static_cast<std::uint32_t*>(newBits);
      std::fill(pixel, pixel + static_cast<size_t>(width) * height, 0x00FFFFFFu);
    } else {
      TMemoryDC dc = TMemoryDC::Create(nullptr);
      TSelectGuard sel(dc.Get(), dib.Get());
      PatBlt(dc.Get(), 0, 0, width, height, WHITENESS);
    }
    if (dib_ && width_ > 0 && height_ > 0) {
      const int w = std::min(width, width_);
      const int h = std::min(height, height_);
      if (bits == bitCount_ && PixelFormatBits(pixelFormat_) == bits && format == pixelFormat_ && !topDown_ &&
          bits >= 8) {
        // Same layout: copy the rows as they are (keeps every byte, alpha included).
        GdiFlush();
        const int oldStride = RowBytes();
        const int newStride = StrideOf(width, bits);
        const size_t rowBytes = static_cast<size_t>(w) * bits / 8;
        for (int y = 0; y < h; ++y) {
          const auto* src = static_cast<const unsigned char*>(bits_) + static_cast<size_t>(height_ - 1 - y) * oldStride;
          auto* dst = static_cast<unsigned char*>(newBits) + static_cast<size_t>(height - 1 - y) * newStride;
          std::memcpy(dst, src, rowBytes);
        }
      } else {
        TMemoryDC src = TMemoryDC::Create(nullptr);
        TMemoryDC dst = TMemoryDC::Create(nullptr);
        TSelectGuard srcSel(src.Get(), dib_.Get());
        TSelectGuard dstSel(dst.Get(), dib.Get());
        SetBkColor(src.Get(), RGB(255, 255, 255));
        SetTextColor(dst.Get(), RGB(0, 0, 0));
        SetBkColor(dst.Get(), RGB(255, 255, 255));
        BitBlt(dst.Get(), 0, 0, w, h, src.Get(), 0, 0, SRCCOPY);
      }
    }
  }
  dib_ = std::move(dib);
  bits_ = newBits;
  width_ = dib_ ? width : 0;
  height_ = dib_ ? height : 0;
  if (!dib_) {
    width_ = width;
    height_ = height;
  }
  pixelFormat_ = format;
  bitCount_ = bits;
  colors_ = std::move(table);
  palette_.Reset();
  topDown_ = false;
}

HPALETTE TBitmap::Palette() {
  if (colors_.empty()) return nullptr;
  if (palette_.Get() == nullptr) {
    std::vector<unsigned char> buffer(sizeof(LOGPALETTE) + colors_.size() * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(colors_.size());
    PALETTEENTRY* entries = log->palPalEntry;
    for (size_t i = 0; i < colors_.size(); ++i)
      entries[i] = PALETTEENTRY{colors_[i].rgbRed, colors_[i].rgbGreen, colors_[i].rgbBlue, 0};
    palette_.Reset(CreatePalette(log));
  }
  return palette_.Get();
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  Rebuild(width, height, pixelFormat_);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == pfCustom || value == pixelFormat_) return;
  Rebuild(width_, height_, value);
  Changed();
}

void TBitmap::SetMonochrome(bool value) {
  if (value == Monochrome()) return;
  SetPixelFormat(value ? pf1bit : pfDevice);
}

void TBitmap::SetHandle(HBITMAP value) {
  if (value == dib_.Get()) return;
  FreeCanvasContext();
  if (value == nullptr) {
    dib_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    Changed();
    return;
  }
  DIBSECTION ds{};
  if (GetObjectW(value, sizeof(ds), &ds) == sizeof(ds) && ds.dsBm.bmBits != nullptr) {
    dib_.Reset(value);
    bits_ = ds.dsBm.bmBits;
    width_ = ds.dsBm.bmWidth;
    height_ = std::abs(ds.dsBmih.biHeight);
    topDown_ = ds.dsBmih.biHeight < 0;
    bitCount_ = ds.dsBm.bmBitsPixel;
    pixelFormat_ = FormatOfBits(bitCount_, ds.dsBmih.biCompression, ds.dsBitfields[1]);
    colors_.clear();
    palette_.Reset();
    if (bitCount_ <= 8) {
      colors_.resize(1u << bitCount_);
      TMemoryDC dc = TMemoryDC::Create(nullptr);
      TSelectGuard sel(dc.Get(), value);
      colors_.resize(GetDIBColorTable(dc.Get(), 0, static_cast<UINT>(colors_.size()), colors_.data()));
    }
  } else {
    // A device-dependent bitmap: copy it into a DIB section of matching depth.
    BITMAP bm{};
    if (GetObjectW(value, sizeof(bm), &bm) == 0) throw EInvalidGraphic("Invalid bitmap handle");
    TBitmapHandle ddb(value);
    dib_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    Rebuild(bm.bmWidth, bm.bmHeight, bm.bmBitsPixel == 1 ? pf1bit : pfDevice);
    TMemoryDC src = TMemoryDC::Create(nullptr);
    TMemoryDC dst = TMemoryDC::Create(nullptr);
    TSelectGuard srcSel(src.Get(), ddb.Get());
    TSelectGuard dstSel(dst.Get(), dib_.Get());
    BitBlt(dst.Get(), 0, 0, width_, height_, src.Get(), 0, 0, SRCCOPY);
  }
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeCanvasContext();
  HBITMAP result = dib_.Release();
  bits_ = nullptr;
  width_ = height_ = 0;
  Changed();
  return result;
}

void* TBitmap::ScanLine(int row) {
  if (row < 0 || row >= height_ || bits_ == nullptr) throw ERangeError("Scan line index out of range");
  GdiFlush();
  const int line = topDown_ ? row : height_ - 1 - row;
  return static_cast<unsigned char*>(bits_) + static_cast<size_t>(line) * RowBytes();
}

TColor TBitmap::TransparentColor() {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (Empty()) return clDefault;
  return Canvas()->Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == transparentColor_) return;
  transparentColor_ = value;
  transparentMode_ = value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == transparentMode_) return;
  transparentMode_ = value;
  if (value == tmAuto) transparentColor_ = clDefault;
  Changed();
}

HBITMAP TBitmap::CreateMask(TColor transparentColor) {
  if (Empty()) return nullptr;
  TBitmapHandle mask(CheckGdi(CreateBitmap(width_, height_, 1, 1, nullptr)));
  TMemoryDC dst = TMemoryDC::Create(nullptr);
  TSelectGuard dstSel(dst.Get(), mask.Get());
  HDC src = Canvas()->Handle();
  const COLORREF oldBk = SetBkColor(src, ColorToRGB(transparentColor));
  BitBlt(dst.Get(), 0, 0, width_, height_, src, 0, 0, SRCCOPY);
  SetBkColor(src, oldBk);
  return mask.Release();
}

void TBitmap::Assign(TPersistent* source) {
  if (source == nullptr) {
    FreeCanvasContext();
    dib_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    Changed();
    return;
  }
  if (auto* other = dynamic_cast<TBitmap*>(source)) {
    if (other == this) return;
    FreeCanvasContext();
    dib_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    alphaIgnored_ = other->alphaIgnored_;
    Rebuild(other->width_, other->height_, other->pixelFormat_, &other->colors_);
    if (dib_) {
      GdiFlush();
      for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), other->ScanLine(y), static_cast<size_t>(RowBytes()));
    }
    transparentColor_ = other->transparentColor_;
    transparentMode_ = other->transparentMode_;
    ignorePalette_ = other->ignorePalette_;
    TGraphic::SetTransparent(other->Transparent());
    Changed();
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    FreeCanvasContext();
    dib_.Reset();
    width_ = height_ = 0;
    Rebuild(graphic->Width(), graphic->Height(), pfDevice);
    Canvas()->Draw(0, 0, graphic);
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
  if (Empty()) return;
  HDC dest = canvas->Handle();
  HDC src = Canvas()->Handle();
  if (Transparent()) {
    TransparentBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), src, 0, 0, width_, height_,
                   ColorToRGB(TransparentColor()));
    return;
  }
  const int oldMode = SetStretchBltMode(dest, Monochrome() ? BLACKONWHITE : COLORONCOLOR);
  StretchBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), src, 0, 0, width_, height_, canvas->CopyMode());
  SetStretchBltMode(dest, oldMode);
}

// ---- Windows bitmap format ------------------------------------------------------------------

void TBitmap::LoadFromDIB(const BITMAPINFOHEADER& header, const std::vector<unsigned char>& infoBytes,
                          const unsigned char* bits, size_t bitsSize) {
  const int width = header.biWidth;
  const int height = std::abs(header.biHeight);
  const int bpp = header.biBitCount;
  if (width <= 0 || height <= 0 || header.biPlanes != 1 ||
      (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32))
    throw EInvalidGraphic("Bitmap image is not valid");
  DWORD greenMask = 0;
  if (header.biCompression == BI_BITFIELDS && infoBytes.size() >= header.biSize + 12) {
    std::memcpy(&greenMask, infoBytes.data() + header.biSize + 4, 4);
  } else if (header.biCompression == BI_BITFIELDS && header.biSize >= 56) {
    std::memcpy(&greenMask, infoBytes.data() + 44, 4);
  }
  std::vector<RGBQUAD> colors;
  if (bpp <= 8) {
    const size_t count = header.biClrUsed != 0 ? std::min<size_t>(header.biClrUsed, 256) : (1u << bpp);
    colors.resize(count);
    const size_t offset = header.biSize;
    if (infoBytes.size() < offset + count * 4) throw EInvalidGraphic("Bitmap image is not valid");
    std::memcpy(colors.data(), infoBytes.data() + offset, count * 4);
  }
  const TPixelFormat format = FormatOfBits(bpp, header.biCompression, greenMask);
  FreeCanvasContext();
  dib_.Reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  Rebuild(width, height, format, bpp <= 8 ? &colors : nullptr);
  const size_t stride = static_cast<size_t>(RowBytes());
  if (header.biCompression == BI_RGB || (header.biCompression == BI_BITFIELDS && bpp == 32 && greenMask == 0xFF00) ||
      (header.biCompression == BI_BITFIELDS && format == pf16bit)) {
    if (bitsSize < stride * height) throw EInvalidGraphic("Bitmap image is not valid");
    GdiFlush();
    for (int y = 0; y < height; ++y) {
      const int fileRow = header.biHeight > 0 ? height - 1 - y : y;
      std::memcpy(ScanLine(y), bits + fileRow * stride, stride);
    }
  } else {
    // Run-length and other encodings: let GDI decode them.
    TWindowDC screen;
    if (SetDIBits(screen.Get(), dib_.Get(), 0, static_cast<UINT>(height), bits,
                  reinterpret_cast<const BITMAPINFO*>(infoBytes.data()), DIB_RGB_COLORS) == 0)
      throw EInvalidGraphic("Bitmap image is not valid");
  }
}

namespace {

// Reads a packed DIB's info block (header, masks, colour table) from `data`, converting an
// old core header. Answers the header and the info bytes as a BITMAPINFO.
size_t ParseInfo(const unsigned char* data, size_t size, BITMAPINFOHEADER& header, std::vector<unsigned char>& info) {
  if (size < 4) throw EInvalidGraphic("Bitmap image is not valid");
  DWORD headerSize = 0;
  std::memcpy(&headerSize, data, 4);
  if (headerSize == sizeof(BITMAPCOREHEADER)) {
    if (size < headerSize) throw EInvalidGraphic("Bitmap image is not valid");
    BITMAPCOREHEADER core{};
    std::memcpy(&core, data, sizeof(core));
    header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = core.bcWidth;
    header.biHeight = core.bcHeight;
    header.biPlanes = core.bcPlanes;
    header.biBitCount = core.bcBitCount;
    header.biCompression = BI_RGB;
    const size_t colors = core.bcBitCount <= 8 ? (1u << core.bcBitCount) : 0;
    if (size < headerSize + colors * 3) throw EInvalidGraphic("Bitmap image is not valid");
    info.resize(sizeof(BITMAPINFOHEADER) + colors * 4);
    std::memcpy(info.data(), &header, sizeof(header));
    for (size_t i = 0; i < colors; ++i) {
      const unsigned char* t = data + headerSize + i * 3;
      RGBQUAD q{t[0], t[1], t[2], 0};
      std::memcpy(info.data() + sizeof(header) + i * 4, &q, 4);
    }
    return headerSize + colors * 3;
  }
  if (headerSize < sizeof(BITMAPINFOHEADER) || size < headerSize) throw EInvalidGraphic("Bitmap image is not valid");
  std::memcpy(&header, data, sizeof(header));
  size_t extra = 0;
  if (header.biCompression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER)) extra = 12;
  if (header.biBitCount <= 8) extra += (header.biClrUsed != 0 ? header.biClrUsed : (1u << header.biBitCount)) * 4;
  const size_t total = headerSize + extra;
  if (size < total) throw EInvalidGraphic("Bitmap image is not valid");
  info.assign(data, data + total);
  return total;
}

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  BITMAPFILEHEADER fh{};
  stream.ReadBuffer(&fh, sizeof(fh));
  if (fh.bfType != 0x4D42) throw EInvalidGraphic("Bitmap image is not valid");
  const long long rest = fh.bfSize > sizeof(fh) ? static_cast<long long>(fh.bfSize - sizeof(fh))
                                                : stream.Size() - stream.Position();
  std::vector<unsigned char> data(static_cast<size_t>(std::max<long long>(rest, 0)));
  // Some writers put a wrong bfSize; read what the stream holds up to it.
  const long long available = std::min<long long>(rest, stream.Size() - stream.Position());
  stream.ReadBuffer(data.data(), available);
  data.resize(static_cast<size_t>(available));
  BITMAPINFOHEADER header{};
  std::vector<unsigned char> info;
  size_t bitsOffset = ParseInfo(data.data(), data.size(), header, info);
  if (fh.bfOffBits >= sizeof(fh) && fh.bfOffBits - sizeof(fh) >= bitsOffset) bitsOffset = fh.bfOffBits - sizeof(fh);
  if (bitsOffset > data.size()) throw EInvalidGraphic("Bitmap image is not valid");
  LoadFromDIB(header, info, data.data() + bitsOffset, data.size() - bitsOffset);
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
  DibInfo info;
  FillInfo(info, width_, height_, pixelFormat_, colors_);
  size_t tableBytes = 0;
  if (pixelFormat_ == pf16bit) {
    tableBytes = 12;
  } else if (bitCount_ <= 8) {
    tableBytes = colors_.size() * 4;
  }
  const size_t stride = static_cast<size_t>(RowBytes());
  const size_t imageBytes = stride * height_;
  info.header.biSizeImage = static_cast<DWORD>(imageBytes);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = static_cast<DWORD>(sizeof(fh) + sizeof(BITMAPINFOHEADER) + tableBytes);
  fh.bfSize = static_cast<DWORD>(fh.bfOffBits + imageBytes);
  stream.WriteBuffer(&fh, sizeof(fh));
  stream.WriteBuffer(&info.header, sizeof(BITMAPINFOHEADER));
  if (tableBytes > 0) stream.WriteBuffer(info.colors, static_cast<long long>(tableBytes));
  if (Empty()) return;
  GdiFlush();
  // File rows run bottom-up.
  for (int y = height_ - 1; y >= 0; --y) stream.WriteBuffer(ScanLine(y), static_cast<long long>(stride));
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, std::string_view name) {
  const std::wstring wide = Utf8ToWide(name);
  HRSRC res = FindResourceW(instance, wide.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (res == nullptr) throw EResNotFound(Format("Resource %s not found", {std::string(name)}));
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(instance, res)));
  const size_t size = SizeofResource(instance, res);
  BITMAPINFOHEADER header{};
  std::vector<unsigned char> info;
  const size_t offset = ParseInfo(data, size, header, info);
  LoadFromDIB(header, info, data + offset, size - offset);
  Changed();
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
  HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
  if (res == nullptr) throw EResNotFound(Format("Resource %d not found", {id}));
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(instance, res)));
  const size_t size = SizeofResource(instance, res);
  BITMAPINFOHEADER header{};
  std::vector<unsigned char> info;
  const size_t offset = ParseInfo(data, size, header, info);
  LoadFromDIB(header, info, data + offset, size - offset);
  Changed();
}

void TBitmap::ReadData(TStream& stream) {
  const auto size = stream.ReadValue<std::int32_t>();
  if (size <= 0) {
    Assign(nullptr);
    return;
  }
  const long long end = stream.Position() + size;
  LoadFromStream(stream);
  stream.SetPosition(end);
}

void TBitmap::WriteData(TStream& stream) {
  TMemoryStream data;
  if (!Empty()) SaveToStream(data);
  stream.WriteValue<std::int32_t>(static_cast<std::int32_t>(data.Size()));
  stream.WriteBuffer(data.Memory(), data.Size());
}
