// TFont: attributes, point/pixel size conversion and GDI font creation.
#include "toolkit/graphics/Font.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

const TEnumInfo& EnumTypeInfo(TFontStyle) {
  static const TEnumInfo info("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TFontPitch) {
  static const TEnumInfo info("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TFontQuality) {
  static const TEnumInfo info("TFontQuality", {"fqDefault", "fqDraft", "fqProof", "fqNonAntialiased",
                                               "fqAntialiased", "fqClearType", "fqClearTypeNatural"});
  return info;
}

namespace {
struct CharsetName {
  int value;
  const char* name;
};
constexpr CharsetName kCharsets[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},         {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},     {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"}, {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},       {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}, {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},   {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},     {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},     {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},         {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};
}  // namespace

bool CharsetToIdent(long long charset, std::string& ident) {
  for (const CharsetName& c : kCharsets) {
    if (c.value == charset) {
      ident = c.name;
      return true;
    }
  }
  return false;
}

bool IdentToCharset(std::string_view ident, long long& charset) {
  for (const CharsetName& c : kCharsets) {
    if (SameText(ident, c.name)) {
      charset = c.value;
      return true;
    }
  }
  return false;
}

const std::string& DefaultFontName() {
  static const std::string name = "MS Sans Serif";
  return name;
}

int DefaultFontHeight() { return -MulDiv(8, ScreenPixelsPerInch(), 72); }

const TClassInfo& TFont::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TFont>("TFont", &TGraphicsObject::StaticClass())
          .Property("Charset", [](TFont& f) { return static_cast<int>(f.Charset()); },
                    [](TFont& f, int v) { f.SetCharset(static_cast<TFontCharset>(v)); })
          .Default(DEFAULT_CHARSET)
          .Idents(CharsetToIdent, IdentToCharset)
          .Property("Color", &TFont::Color, &TFont::SetColor)
          .Default(clWindowText)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Height", &TFont::Height, &TFont::SetHeight)
          .Property("Name", [](TFont& f) { return f.Name(); }, [](TFont& f, const std::string& v) { f.SetName(v); })
          .Property("Orientation", &TFont::Orientation, &TFont::SetOrientation)
          .Default(0)
          .Property("Pitch", &TFont::Pitch, &TFont::SetPitch)
          .Default(fpDefault)
          .Property("Quality", &TFont::Quality, &TFont::SetQuality)
          .Default(fqDefault)
          .Property("Size", &TFont::Size, &TFont::SetSize)
          .Stored(false)
          .Property("Style", &TFont::Style, &TFont::SetStyle)
          .Default(TFontStyles{})
          .Build();
  return info;
}

TFont::TFont() : name_(DefaultFontName()), height_(DefaultFontHeight()), pixelsPerInch_(ScreenPixelsPerInch()) {}

void TFont::Assign(TPersistent* source) {
  if (auto* font = dynamic_cast<TFont*>(source)) {
    if (font == this) return;
    name_ = font->name_;
    height_ = font->pixelsPerInch_ == pixelsPerInch_ ? font->height_
                                                     : -MulDiv(font->Size(), pixelsPerInch_, 72);
    style_ = font->style_;
    pitch_ = font->pitch_;
    charset_ = font->charset_;
    color_ = font->color_;
    quality_ = font->quality_;
    orientation_ = font->orientation_;
    AttributeChanged();
    return;
  }
  TPersistent::Assign(source);
}

void TFont::AttributeChanged() {
  TFontHandle stale = std::move(handle_);
  Changed();
}

void TFont::SetName(const std::string& value) {
  if (value.empty() || value == name_) return;
  name_ = value;
  AttributeChanged();
}

void TFont::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  AttributeChanged();
}

int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int value) { SetHeight(-MulDiv(value, pixelsPerInch_, 72)); }

void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  AttributeChanged();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == pitch_) return;
  pitch_ = value;
  AttributeChanged();
}

void TFont::SetCharset(TFontCharset value) {
  if (value == charset_) return;
  charset_ = value;
  AttributeChanged();
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TFont::SetQuality(TFontQuality value) {
  if (value == quality_) return;
  quality_ = value;
  AttributeChanged();
}

void TFont::SetOrientation(int value) {
  if (value == orientation_) return;
  orientation_ = value;
  AttributeChanged();
}

void TFont::SetPixelsPerInch(int value) {
  if (value > 0) pixelsPerInch_ = value;
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfEscapement = orientation_;
    lf.lfOrientation = orientation_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    static constexpr BYTE kQualities[] = {DEFAULT_QUALITY,     DRAFT_QUALITY,     PROOF_QUALITY,
                                          NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY, CLEARTYPE_QUALITY,
                                          CLEARTYPE_NATURAL_QUALITY};
    lf.lfQuality = kQualities[quality_];
    lf.lfPitchAndFamily = pitch_ == fpVariable ? VARIABLE_PITCH : pitch_ == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
    const std::wstring face = Utf8ToWide(name_);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    handle_.Reset(CheckGdi(CreateFontIndirectW(&lf)));
  }
  return handle_.Get();
}

void TFont::SetHandle(HFONT handle) {
  if (handle == handle_.Get()) return;
  TFontHandle stale = std::move(handle_);
  Changed();
  handle_.Reset(handle);
  LOGFONTW lf{};
  if (handle == nullptr || GetObjectW(handle, sizeof(lf), &lf) != sizeof(lf)) return;
  height_ = lf.lfHeight;
  orientation_ = lf.lfEscapement;
  style_ = {};
  if (lf.lfWeight >= FW_BOLD) style_.Include(fsBold);
  if (lf.lfItalic) style_.Include(fsItalic);
  if (lf.lfUnderline) style_.Include(fsUnderline);
  if (lf.lfStrikeOut) style_.Include(fsStrikeOut);
  charset_ = lf.lfCharSet;
  const int pitch = lf.lfPitchAndFamily & 3;
  pitch_ = pitch == VARIABLE_PITCH ? fpVariable : pitch == FIXED_PITCH ? fpFixed : fpDefault;
  name_ = WideToUtf8(lf.lfFaceName);
}
