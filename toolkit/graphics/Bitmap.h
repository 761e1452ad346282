// TBitmap: an image held as a DIB section in one of the pixel formats, with a canvas (a
// memory DC kept while the bitmap lives), direct row access (ScanLine), transparent drawing
// and the Windows bitmap file format. New pixels are white: a fresh or enlarged bitmap is
// white outside what it held before, whatever the pixel format. Changing size or pixel format
// keeps the image (converted by GDI) and detaches the canvas from the old DIB first.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/Graphic.h"

class TEnumInfo;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TBitmapHandleType { bmDIB, bmDDB };
const TEnumInfo& EnumTypeInfo(TPixelFormat);
const TEnumInfo& EnumTypeInfo(TTransparentMode);

class TBitmap;

// The canvas of a bitmap: a memory DC with the bitmap's DIB selected, made on first use.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }
  // Gives the DC back (the DIB deselected); the next drawing call makes a new one.
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TBitmap* bitmap_;
  TMemoryDC dc_;
  HGDIOBJ oldBitmap_ = nullptr;
};

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From a bitmap: a copy of its image and settings; from another graphic: that graphic drawn
  // on a white bitmap of its size; null: empty.
  void Assign(TPersistent* source) override;

  bool Empty() const override { return width_ == 0 || height_ == 0; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int value) override { SetSize(value, height_); }
  void SetHeight(int value) override { SetSize(width_, value); }
  void SetSize(int width, int height) override;

  TPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat value);
  bool Monochrome() const { return pixelFormat_ == pf1bit; }
  void SetMonochrome(bool value);
  TBitmapHandleType HandleType() const { return bmDIB; }
  void SetHandleType(TBitmapHandleType) {}
  // A palette made from the colour table of a 1-, 4- or 8-bit image; null for other formats.
  HPALETTE Palette() override;
  bool IgnorePalette() const { return ignorePalette_; }
  void SetIgnorePalette(bool value) { ignorePalette_ = value; }
  // A 32-bit bitmap whose fourth byte means nothing: its DIB is described by colour masks
  // (red, green, blue) rather than as plain 32-bit RGB, which some drawing code reads as
  // holding alpha. GDI+ then draws onto it as onto any opaque device; under Wine that is ten
  // times faster than blending every figure in software. Applies from the next new DIB.
  bool AlphaIgnored() const { return alphaIgnored_; }
  void SetAlphaIgnored(bool value) { alphaIgnored_ = value; }

  TCanvas* Canvas();
  // The DIB section (null when empty). Stays owned by the bitmap.
  HBITMAP Handle() const { return dib_.Get(); }
  // Adopts a bitmap handle (a DDB is converted to a DIB section and deleted); null empties.
  void SetHandle(HBITMAP value);
  // Hands the DIB to the caller, who deletes it; the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  // Keeps nothing in memory that is not needed: no-ops kept for callers that ask.
  void Dormant() {}
  void FreeImage() {}

  // Address of pixel row `row` (0 = top) in the DIB's own layout. ERangeError outside the
  // bitmap. Pending GDI drawing is flushed first.
  void* ScanLine(int row);
  // Bytes per row of the DIB (rows are 32-bit aligned).
  int RowBytes() const;

  // The colour that transparent drawing leaves out: with tmAuto the bottom-left pixel.
  TColor TransparentColor();
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);
  // A monochrome mask: 1 (white) where the image has `transparentColor`, 0 elsewhere. Owned
  // by the caller.
  HBITMAP CreateMask(TColor transparentColor);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // A BITMAP resource of a module (null: the program). EResNotFound when absent.
  void LoadFromResourceName(HINSTANCE instance, std::string_view name);
  void LoadFromResourceID(HINSTANCE instance, int id);
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) override;

 protected:
  void Draw(TCanvas* canvas, const TRect& rect) override;

 private:
  friend class TBitmapCanvas;
  // Makes a new DIB of the given size and format, white, with the old image copied in.
  void Rebuild(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>* colors = nullptr);
  void LoadFromDIB(const BITMAPINFOHEADER& header, const std::vector<unsigned char>& infoBytes,
                   const unsigned char* bits, size_t bitsSize);
  void FreeCanvasContext();
  void CanvasChanged(TObject*) { Changed(); }

  TBitmapHandle dib_;
  void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  TPixelFormat pixelFormat_ = pfDevice;
  int bitCount_ = 32;
  bool topDown_ = false;  // an adopted top-down DIB keeps its row order
  std::vector<RGBQUAD> colors_;  // colour table of the palette formats
  TPaletteHandle palette_;       // made from colors_ on first use; reset when they change
  bool ignorePalette_ = false;
  bool alphaIgnored_ = false;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  std::unique_ptr<TBitmapCanvas> canvas_;
};

// Bits per pixel of a pixel format (pfDevice is held as 32 bits).
int PixelFormatBits(TPixelFormat format);
