// TFont: typeface, height (negative: character height in pixels; positive: cell height),
// size in points at PixelsPerInch, style, pitch, charset, colour, quality and orientation, with
// its GDI font made on first use. Size is derived from Height, so only Height is streamed.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/classes/Set.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"

class TEnumInfo;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
using TFontCharset = unsigned char;
const TEnumInfo& EnumTypeInfo(TFontStyle);
const TEnumInfo& EnumTypeInfo(TFontPitch);
const TEnumInfo& EnumTypeInfo(TFontQuality);

// Charset properties stream as identifiers ("DEFAULT_CHARSET") when the value has one.
bool CharsetToIdent(long long charset, std::string& ident);
bool IdentToCharset(std::string_view ident, long long& charset);

// The default font of new TFont objects: "MS Sans Serif", 8 points at the screen's resolution.
const std::string& DefaultFontName();
int DefaultFontHeight();

class TFont : public TGraphicsObject {
 public:
  TFont();
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From another font: everything; the size in points is kept when the resolutions differ.
  void Assign(TPersistent* source) override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& value);
  int Height() const { return height_; }
  void SetHeight(int value);
  int Size() const;
  void SetSize(int value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset value);
  TColor Color() const { return color_; }
  // The colour is drawing state only: it does not remake the handle.
  void SetColor(TColor value);
  TFontQuality Quality() const { return quality_; }
  void SetQuality(TFontQuality value);
  // Angle of the text baseline in tenths of a degree, counter-clockwise.
  int Orientation() const { return orientation_; }
  void SetOrientation(int value);
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value);

  HFONT Handle();
  // Adopts `handle`; the attributes are read back from its LOGFONT.
  void SetHandle(HFONT handle);
  bool HandleAllocated() const { return static_cast<bool>(handle_); }

 private:
  void AttributeChanged();

  std::string name_;
  int height_;
  TFontStyles style_;
  TFontPitch pitch_ = fpDefault;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  TFontQuality quality_ = fqDefault;
  int orientation_ = 0;
  int pixelsPerInch_;
  TFontHandle handle_;
};
