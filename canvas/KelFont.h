// TKelFont: the toolkit font with the chart's settings: an owned brush (gradient and picture
// fills of text), a fractional size, inter-character spacing, quality, depth, and an outline
// pen, shadow and emboss made on first read. Name and size default to the drawing surface's
// default font; colour and style defaults are recorded per instance.
#pragma once

#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Font.h"

class TKelBrush;
class TKelGradient;
class TKelPicture;
class TKelHiddenPen;
class TKelShadow;
class TKelEmboss;
class TEnumInfo;

// The chart's font quality (distinct from the toolkit's LOGFONT quality values).
enum class TKelFontQuality { fqBest, fqNormal, fqDefault, fqClearType };
const TEnumInfo& EnumTypeInfo(TKelFontQuality);

class TKelFont : public TFont {
 public:
  explicit TKelFont(TNotifyEvent onChange = nullptr);
  ~TKelFont() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From a TKelFont: Brush, DefaultFont, Depth, Emboss, InterCharSize, OutLine, Quality,
  // Shadow and the size fraction, then the toolkit part (name, size, style, colour, charset).
  void Assign(TPersistent* source) override;

  TKelBrush* Brush() const { return brush_; }
  void SetBrush(TKelBrush* value);
  // Size with its stored fraction.
  float SizeFloat() const { return ReadSizeFloat(); }
  void SetSizeFloat(float value) { ChangeSizeFloat(value); }
  float ReadSizeFloat() const;
  // Size := floor(value), fraction := value - floor(value); nothing when equal.
  void ChangeSizeFloat(float value);
  int InterCharSize() const { return interCharSize_; }
  void SetInterCharSize(int value);
  TKelFontQuality Quality() const { return quality_; }
  void SetQuality(TKelFontQuality value);
  bool DefaultFont() const { return defaultFont_; }
  void SetDefaultFont(bool value);
  double Depth() const { return depth_; }
  void SetDepth(double value);
  TKelHiddenPen* OutLine();
  bool HasOutLine() const { return outLine_ != nullptr; }
  void SetOutLine(TKelHiddenPen* value);
  TKelShadow* Shadow();
  bool HasShadow() const { return shadow_ != nullptr; }
  void SetShadow(TKelShadow* value);
  TKelEmboss* Emboss();
  bool HasEmboss() const { return emboss_ != nullptr; }
  void SetEmboss(TKelEmboss* value);
  // The brush's gradient and image (streamed through Brush).
  TKelGradient* Gradient();
  TKelPicture* Picture();

  // Brush's default colour, then the font colour without notification, recorded.
  void SetDefaultColor(TColor value);
  void SetDefaultStyle(TFontStyles value);

  bool IsColorStored() const { return Color() != defaultColor_; }
  bool IsStyleStored() const { return Style() != defaultStyle_; }
  bool IsNameStored() const;
  bool IsHeightStored() const;
  bool IsSizeFloatStored() const { return sizeFraction_ != 0; }

 private:
  TKelBrush* brush_;
  float sizeFraction_ = 0;
  int interCharSize_ = 0;
  TKelFontQuality quality_ = TKelFontQuality::fqDefault;
  bool defaultFont_ = false;
  double depth_ = 0;
  TColor defaultColor_ = clBlack;
  TFontStyles defaultStyle_;
  TKelHiddenPen* outLine_ = nullptr;
  TKelShadow* shadow_ = nullptr;
  TKelEmboss* emboss_ = nullptr;
};

// Gives a font another colour or style for one scope without telling its owner (no repaint
// either way); the font's own colour and style come back when the scope ends. Made with no
// font, it does nothing.
class TQuietFontScope {
 public:
  explicit TQuietFontScope(TKelFont* font);
  ~TQuietFontScope();
  TQuietFontScope(const TQuietFontScope&) = delete;
  TQuietFontScope& operator=(const TQuietFontScope&) = delete;
  void SetColor(TColor color);
  void SetStyle(TFontStyles style);

 private:
  TKelFont* font_;
  TColor color_ = clBlack;
  TFontStyles style_;
};
