// The image filter catalogue: the 25 filters a picture's filter list may hold (colour,
// neighbourhood and geometry operations on the rows of a bitmap), their registration by class
// name for streaming, and the rotation hook with which the GDI canvas turns the bitmap of an
// angled gradient. Every filter works in the bitmap's own 24- or 32-bit layout (the alpha byte
// left as it was) and touches only its clipped rectangle, except the whole-bitmap filters
// (Mirror, Rotate, Resize, Crop), which replace the image and ignore the region.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "canvas/KelFilter.h"

class TEnumInfo;

enum TGrayMethod { gmSimple, gmEye, gmEye2, gmLight };
enum TColorMethod { cmHue, cmLum, cmSat };
enum TMirrorDirection { mdDown, mdUp, mdRight, mdLeft };
const TEnumInfo& EnumTypeInfo(TGrayMethod);
const TEnumInfo& EnumTypeInfo(TColorMethod);
const TEnumInfo& EnumTypeInfo(TMirrorDirection);

// The classic conversion pair on the 0..240 scale; components are rounded (halves to even)
// and clamped to 0..255.
void RgbToHls(int r, int g, int b, int& h, int& l, int& s);
void HlsToRgb(int h, int l, int s, int& r, int& g, int& b);

class TInvertFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Invert; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TGrayScaleFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.GrayScale; }
  TGrayMethod Method = gmSimple;

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

// Amount with Percent; only-positive filters limit the editor's range to 0 upwards.
class TAmountFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  // The editor's range of Amount: -100..100 with Percent, -255..255 without (0 upwards for
  // only-positive filters).
  void ScrollRange(int& minimum, int& maximum) const;
  int Amount = 5;
  bool Percent = true;
  bool OnlyPositive = false;
};

class TMosaicFilter : public TAmountFilter {
 public:
  explicit TMosaicFilter(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Mosaic; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TFlipFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Flip; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TReverseFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Reverse; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TBrightnessFilter : public TAmountFilter {
 public:
  using TAmountFilter::TAmountFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Brightness; }
  void ResetToStartValues() override { Amount = 30; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TContrastFilter : public TAmountFilter {
 public:
  using TAmountFilter::TAmountFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Contrast; }
  void ResetToStartValues() override { Amount = 60; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TColorFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Color; }
  int Red = 0, Green = 0, Blue = 0;

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TColorReplaceFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.ColorReplacer; }
  TColor Color = clWhite;
  std::uint8_t FromValue = 0, ToValue = 0;
  TColorMethod Method = cmHue;

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class THueLumSatFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.HueLumSat; }
  int Hue = 0, Luminance = 0, Saturation = 0;

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TSharpenFilter : public TConvolveFilter {
 public:
  explicit TSharpenFilter(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Sharpen; }
};

class TGammaCorrectionFilter : public TAmountFilter {
 public:
  explicit TGammaCorrectionFilter(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Gamma; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TEmbossFilter : public TConvolveFilter {
 public:
  explicit TEmbossFilter(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Emboss; }
};

class TSoftenFilter : public TConvolveFilter {
 public:
  explicit TSoftenFilter(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Antialias; }
};

// Resamples the whole bitmap to Width × Height (nothing while either is below 1).
class TResizeFilter : public TKelFilter {
 public:
  explicit TResizeFilter(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Apply(TBitmap& bitmap, const TRect& rect) override;
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Resize; }
  void ResetToStartValues() override;
  int Width = 0, Height = 0;
};

// Cuts Width × Height source pixels at (Left, Top) and stretches them over the whole bitmap.
class TCropFilter : public TResizeFilter {
 public:
  using TResizeFilter::TResizeFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Apply(TBitmap& bitmap, const TRect& rect) override;
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Crop; }
  // Bytes of a width × height cut of `pixelBytes` pixels taken from a sourceWidth × sourceHeight
  // picture. A cut may hold as many pixels as the picture, or kMaxCutPixels when that is more;
  // anything larger (a hostile or corrupt layout) raises EInvalidGraphicOperation before any
  // buffer is made.
  static std::uint64_t CutBytes(int width, int height, int pixelBytes, int sourceWidth, int sourceHeight);
  static constexpr std::uint64_t kMaxCutPixels = 1u << 24;
  int Left = 0, Top = 0;
  bool Smooth = false;
};

// Turns the whole bitmap clockwise by Angle degrees.
class TRotateFilter : public TKelFilter {
 public:
  explicit TRotateFilter(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Apply(TBitmap& bitmap, const TRect& rect) override;
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Rotate; }
  void ResetToStartValues() override { SetAngle(45); }
  double Angle() const { return angle_; }
  void SetAngle(double value);
  bool AutoSize = true;
  TColor BackColor = clWhite;

 private:
  double angle_ = 0;
};

class TMirrorFilter : public TKelFilter {
 public:
  explicit TMirrorFilter(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Apply(TBitmap& bitmap, const TRect& rect) override;
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Mirror; }
  TMirrorDirection Direction = mdDown;
};

class TTileFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Tile; }
  int NumCols = 3, NumRows = 3;

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TBevelFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Bevel; }
  int Bright = 64, Size = 15;

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TEqualizeFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Equalize; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TZoomFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Zoom; }
  void ResetToStartValues() override { Percent = 60; }
  double Percent = 10;
  bool Smooth = false;

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TSobelFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Sobel; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

class TSepiaFilter : public TKelFilter {
 public:
  using TKelFilter::TKelFilter;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  std::string FilterCaption() const override { return KelFilterTexts.Sepia; }

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
};

// The names of the registered filter classes in registration order.
const std::vector<std::string>& FilterClassNames();
// Registers each class whose name is not yet listed, for streaming and the filter menu.
void RegisterFilterClasses(std::initializer_list<const TClassInfo*> classes);
// The registered filter class of that name, or null.
const TClassInfo* FindFilterClass(const std::string& name);

// Turns a bitmap of fewer than 2^24 pixels by `angle` with a TRotateFilter.
void GradientRotateHook(TBitmap& bitmap, double angle);

// Start-up: the 25 classes in catalogue order and the gradient rotation hook. Shut-down clears
// the hook and the name list. Both are idempotent; they run after the drawing surface's.
void KelFiltersStartup();
void KelFiltersShutdown();
