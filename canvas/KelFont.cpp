// TKelFont (see KelFont.h).
#include "canvas/KelFont.h"

#include <cmath>

#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(TKelFontQuality) {
  static const TEnumInfo info("TFontQuality", {"fqBest", "fqNormal", "fqDefault", "fqClearType"});
  return info;
}

TKelFont::TKelFont(TNotifyEvent onChange) {
  quality_ = TKelFontQuality::fqDefault;
  brush_ = new TKelBrush();
  SetDefaultColor(clBlack);
  if (Charset() != DEFAULT_CHARSET) SetCharset(DEFAULT_CHARSET);
  if (Size() != KelDefaultFontSize) SetSize(KelDefaultFontSize);
  if (!KelDefaultFontName.empty()) SetName(KelDefaultFontName);
  brush_->OnChange = onChange;
  OnChange = std::move(onChange);
}

TKelFont::~TKelFont() {
  delete brush_;
  delete outLine_;
  delete shadow_;
  delete emboss_;
}

const TClassInfo& TKelFont::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelFont>("TKelFont", &TFont::StaticClass())
          .Property("Brush", &TKelFont::Brush, &TKelFont::SetBrush)
          .Property("Color", &TFont::Color, &TFont::SetColor)
          .Stored(&TKelFont::IsColorStored)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("DefaultFont", &TKelFont::DefaultFont, &TKelFont::SetDefaultFont)
          .Default(false)
          .Property("Depth", &TKelFont::Depth, &TKelFont::SetDepth)
          .Stored([](TKelFont& f) { return f.Depth() != 0; })
          .Property("Emboss", &TKelFont::Emboss, &TKelFont::SetEmboss)
          .Property("Height", &TFont::Height, &TFont::SetHeight)
          .Stored(&TKelFont::IsHeightStored)
          .Property("InterCharSize", &TKelFont::InterCharSize, &TKelFont::SetInterCharSize)
          .Default(0)
          .Property("Name", [](TKelFont& f) { return f.Name(); },
                    [](TKelFont& f, const std::string& v) { f.SetName(v); })
          .Stored(&TKelFont::IsNameStored)
          .Property("OutLine", &TKelFont::OutLine, &TKelFont::SetOutLine)
          .Property("Quality", &TKelFont::Quality, &TKelFont::SetQuality)
          .Default(TKelFontQuality::fqDefault)
          .Property("Shadow", &TKelFont::Shadow, &TKelFont::SetShadow)
          .Property("SizeFloat", &TKelFont::SizeFloat, &TKelFont::SetSizeFloat)
          .Stored(&TKelFont::IsSizeFloatStored)
          .Property("Style", &TFont::Style, &TFont::SetStyle)
          .Stored(&TKelFont::IsStyleStored)
          .Build();
  return info;
}

bool TKelFont::IsNameStored() const { return Name() != KelDefaultFontName; }
bool TKelFont::IsHeightStored() const { return Size() != KelDefaultFontSize; }

void TKelFont::Assign(TPersistent* source) {
  if (auto* f = dynamic_cast<TKelFont*>(source)) {
    if (f == this) return;
    brush_->Assign(f->brush_);
    defaultFont_ = f->defaultFont_;
    depth_ = f->depth_;
    SetEmboss(f->emboss_);
    interCharSize_ = f->interCharSize_;
    SetOutLine(f->outLine_);
    quality_ = f->quality_;
    SetShadow(f->shadow_);
    sizeFraction_ = f->sizeFraction_;
  }
  TFont::Assign(source);
}

void TKelFont::SetBrush(TKelBrush* value) {
  if (value != nullptr && value != brush_) brush_->Assign(value);
}

float TKelFont::ReadSizeFloat() const { return static_cast<float>(Size()) + sizeFraction_; }

void TKelFont::ChangeSizeFloat(float value) {
  if (value == ReadSizeFloat()) return;
  const float whole = std::floor(value);
  const float fraction = value - whole;
  const bool sizeChanges = static_cast<int>(whole) != Size();
  sizeFraction_ = fraction;
  if (sizeChanges) {
    SetSize(static_cast<int>(whole));  // notifies
  } else {
    Changed();
  }
}

void TKelFont::SetInterCharSize(int value) {
  if (value == interCharSize_) return;
  interCharSize_ = value;
  Changed();
}

void TKelFont::SetQuality(TKelFontQuality value) {
  if (value == quality_) return;
  quality_ = value;
  Changed();
}

void TKelFont::SetDefaultFont(bool value) {
  if (value == defaultFont_) return;
  defaultFont_ = value;
  Changed();
}

void TKelFont::SetDepth(double value) {
  if (value == depth_) return;
  depth_ = value;
  Changed();
}

TKelHiddenPen* TKelFont::OutLine() {
  if (outLine_ == nullptr) outLine_ = new TKelHiddenPen(OnChange);
  return outLine_;
}

void TKelFont::SetOutLine(TKelHiddenPen* value) {
  if (value == nullptr) {
    delete outLine_;
    outLine_ = nullptr;
  } else if (value != outLine_) {
    OutLine()->Assign(value);
  }
}

TKelShadow* TKelFont::Shadow() {
  if (shadow_ == nullptr) shadow_ = new TKelShadow(OnChange);
  return shadow_;
}

void TKelFont::SetShadow(TKelShadow* value) {
  if (value == nullptr) {
    delete shadow_;
    shadow_ = nullptr;
  } else if (value != shadow_) {
    Shadow()->Assign(value);
  }
}

TKelEmboss* TKelFont::Emboss() {
  if (emboss_ == nullptr) emboss_ = new TKelEmboss(OnChange);
  return emboss_;
}

void TKelFont::SetEmboss(TKelEmboss* value) {
  if (value == nullptr) {
    delete emboss_;
    emboss_ = nullptr;
  } else if (value != emboss_) {
    Emboss()->Assign(value);
  }
}

TKelGradient* TKelFont::Gradient() { return brush_->Gradient(); }
TKelPicture* TKelFont::Picture() { return brush_->Image(); }

void TKelFont::SetDefaultColor(TColor value) {
  brush_->SetDefaultColor(value);
  TNotifyEvent saved = OnChange;
  OnChange = nullptr;
  SetColor(value);
  OnChange = saved;
  defaultColor_ = value;
}

void TKelFont::SetDefaultStyle(TFontStyles value) {
  TNotifyEvent saved = OnChange;
  OnChange = nullptr;
  SetStyle(value);
  OnChange = saved;
  defaultStyle_ = value;
}

// ---- Quiet changes ---------------------------------------------------------------------------

TQuietFontScope::TQuietFontScope(TKelFont* font) : font_(font) {
  if (font_ == nullptr) return;
  color_ = font_->Color();
  style_ = font_->Style();
}

TQuietFontScope::~TQuietFontScope() {
  if (font_ == nullptr) return;
  if (font_->Color() != color_) SetColor(color_);
  if (font_->Style() != style_) SetStyle(style_);
}

void TQuietFontScope::SetColor(TColor color) {
  if (font_ == nullptr) return;
  const TNotifyEvent saved = font_->OnChange;
  font_->OnChange = nullptr;
  font_->SetColor(color);
  font_->OnChange = saved;
}

void TQuietFontScope::SetStyle(TFontStyles style) {
  if (font_ == nullptr) return;
  const TNotifyEvent saved = font_->OnChange;
  font_->OnChange = nullptr;
  font_->SetStyle(style);
  font_->OnChange = saved;
}
