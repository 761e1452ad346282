// Gradient settings: stops, colour reads and writes, defaults, assignment and streaming rules
// (see KelGradient.h).
#include "canvas/KelGradient.h"

#include <algorithm>
#include <cmath>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"

namespace KelCanvas {
const TEnumInfo& EnumTypeInfo(TGradientDirection) {
  static const TEnumInfo info("TGradientDirection",
                              {"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter",
                               "gdFromTopLeft", "gdFromBottomLeft", "gdRadial", "gdDiagonalUp", "gdDiagonalDown"});
  return info;
}
}  // namespace KelCanvas

using namespace KelCanvas;

// ---- TKelGradientColor ----------------------------------------------------------------------

TKelGradientColor::TKelGradientColor(TCollection* collection) : TCollectionItem(collection) {}

const TClassInfo& TKelGradientColor::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelGradientColor>("TKelGradientColor", &TCollectionItem::StaticClass())
          .Property("Color", &TKelGradientColor::Color, &TKelGradientColor::SetColor)
          .Default(0)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Offset", &TKelGradientColor::Offset, &TKelGradientColor::SetOffset)
          .Property("Transparency", &TKelGradientColor::Transparency, &TKelGradientColor::SetTransparency)
          .Default(0)
          .Build();
  return info;
}

void TKelGradientColor::Assign(TPersistent* source) {
  if (auto* c = dynamic_cast<TKelGradientColor*>(source)) {
    color_ = c->color_;
    offset_ = c->offset_;
    transparency_ = c->transparency_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

void TKelGradientColor::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed(false);
}

void TKelGradientColor::SetOffset(double value) {
  if (value == offset_) return;
  offset_ = value;
  Changed(false);
}

void TKelGradientColor::SetTransparency(TKelTransparency value) {
  if (value == transparency_) return;
  transparency_ = value;
  Changed(false);
}

// ---- TKelGradientColors ---------------------------------------------------------------------

TKelGradientColors::TKelGradientColors(TCustomKelGradient* gradient)
    : TOwnedCollection(gradient, TKelGradientColor::StaticClass()), gradient_(gradient) {}

const TClassInfo& TKelGradientColors::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelGradientColors>("TKelGradientColors", &TOwnedCollection::StaticClass()).Build();
  return info;
}

TKelGradientColor* TKelGradientColors::AddStop(TColor color, TKelTransparency transparency, double offset) {
  if (!(offset >= 0)) offset = 0;
  if (offset > 1) offset = 1;
  int index = Count();
  for (int i = 0; i < Count(); ++i) {
    if (Item(i)->Offset() > offset) {
      index = i;
      break;
    }
  }
  BeginUpdate();
  auto* stop = static_cast<TKelGradientColor*>(Insert(index));
  stop->SetColor(color);
  stop->SetTransparency(transparency);
  stop->SetOffset(offset);
  EndUpdate();
  return stop;
}

TKelGradientColor* TKelGradientColors::EnsureItem(int index) {
  while (Count() <= index) Add();
  return Item(index);
}

void TKelGradientColors::NotifyOwner() {
  if (gradient_ != nullptr) gradient_->Changed();
}

void TKelGradientColors::Update(TCollectionItem*) { NotifyOwner(); }

bool TKelGradientColors::IsStandardLayout() const {
  for (int i = 0; i < Count(); ++i) {
    if (Item(i)->Transparency() != 0) return false;
  }
  if (Count() == 2) return Item(0)->Offset() == 0 && Item(1)->Offset() == 1;
  if (Count() == 3) return Item(0)->Offset() == 0 && Item(1)->Offset() == 0.5 && Item(2)->Offset() == 1;
  return false;
}

// ---- TCustomKelGradient ---------------------------------------------------------------------

TCustomKelGradient::TCustomKelGradient(TNotifyEvent onChange) {
  ResetDefaults();
  onChange_ = std::move(onChange);
}

TCustomKelGradient::~TCustomKelGradient() { delete colors_; }

const TClassInfo& TCustomKelGradient::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomKelGradient>("TCustomKelGradient", &TPersistent::StaticClass())
          .Property("Angle", &TCustomKelGradient::Angle, &TCustomKelGradient::SetAngle)
          .Default(0)
          .Property("Balance", &TCustomKelGradient::Balance, &TCustomKelGradient::SetBalance)
          .Default(50)
          .Property("Colors", &TCustomKelGradient::Colors, &TCustomKelGradient::SetColors)
          .Stored(&TCustomKelGradient::IsColorsStored)
          .Property("Direction", &TCustomKelGradient::Direction, &TCustomKelGradient::SetDirection)
          .Stored(&TCustomKelGradient::IsDirectionStored)
          .Property("EndColor", &TCustomKelGradient::EndColor, &TCustomKelGradient::SetEndColor)
          .Stored(&TCustomKelGradient::IsEndColorStored)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("MidColor", &TCustomKelGradient::MidColor, &TCustomKelGradient::SetMidColor)
          .Stored(&TCustomKelGradient::IsMidColorStored)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("RadialX", &TCustomKelGradient::RadialX, &TCustomKelGradient::SetRadialX)
          .Default(0)
          .Property("RadialY", &TCustomKelGradient::RadialY, &TCustomKelGradient::SetRadialY)
          .Default(0)
          .Property("StartColor", &TCustomKelGradient::StartColor, &TCustomKelGradient::SetStartColor)
          .Stored(&TCustomKelGradient::IsStartColorStored)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Visible", &TCustomKelGradient::Visible, &TCustomKelGradient::SetVisible)
          .Stored(&TCustomKelGradient::IsVisibleStored)
          .Abstract()
          .Build();
  return info;
}

void TCustomKelGradient::Changed() { onChange_(this); }

void TCustomKelGradient::ResetDefaults() {
  visible_ = false;
  defaultVisible_ = false;
  direction_ = gdTopBottom;
  defaultDirection_ = gdTopBottom;
  defaultStart_ = clWhite;
  defaultEnd_ = clYellow;
  defaultMid_ = clNone;
  lastMid_ = clWhite;
  if (colors_ != nullptr) ResetStops();
  balance_ = 50;
  angle_ = 0;
  radialX_ = 0;
  radialY_ = 0;
}

void TCustomKelGradient::ResetStops() {
  TNotifyEvent saved = onChange_;
  onChange_ = nullptr;
  TKelGradientColors* stops = Colors();
  stops->Clear();
  stops->AddStop(defaultStart_, 0, 0);
  stops->AddStop(defaultEnd_, 0, 1);
  onChange_ = saved;
}

void TCustomKelGradient::SetDefaultDirection(TGradientDirection value) {
  direction_ = value;
  defaultDirection_ = value;
}

void TCustomKelGradient::SetDefaultColors(TColor start, TColor end) {
  defaultStart_ = start;
  defaultEnd_ = end;
  if (colors_ != nullptr) ResetStops();
}

void TCustomKelGradient::SetDefaultVisible(bool value) {
  visible_ = value;
  defaultVisible_ = value;
}

void TCustomKelGradient::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TCustomKelGradient::SetDirection(TGradientDirection value) {
  if (value == direction_) return;
  direction_ = value;
  Changed();
}

void TCustomKelGradient::SetBalance(int value) {
  if (value == balance_) return;
  balance_ = value;
  Changed();
}

void TCustomKelGradient::SetAngle(int value) {
  if (value == angle_) return;
  angle_ = value;
  Changed();
}

void TCustomKelGradient::SetRadialX(int value) {
  if (value == radialX_) return;
  radialX_ = value;
  Changed();
}

void TCustomKelGradient::SetRadialY(int value) {
  if (value == radialY_) return;
  radialY_ = value;
  Changed();
}

TKelGradientColors* TCustomKelGradient::Colors() {
  if (colors_ == nullptr) {
    colors_ = new TKelGradientColors(this);
    colors_->SetPropName("Colors");
    TNotifyEvent saved = onChange_;
    onChange_ = nullptr;
    colors_->AddStop(defaultStart_, 0, 0);
    colors_->AddStop(defaultEnd_, 0, 1);
    onChange_ = saved;
  }
  return colors_;
}

void TCustomKelGradient::SetColors(TKelGradientColors* value) {
  if (value == nullptr) {
    delete colors_;
    colors_ = nullptr;
    return;
  }
  if (value != colors_) Colors()->Assign(value);
}

TColor TCustomKelGradient::StartColor() const {
  if (colors_ == nullptr) return defaultStart_;
  return colors_->Count() > 0 ? colors_->Item(0)->Color() : clNone;
}

TColor TCustomKelGradient::EndColor() const {
  if (colors_ == nullptr) return defaultEnd_;
  return colors_->Count() > 0 ? colors_->Item(colors_->Count() - 1)->Color() : clNone;
}

TColor TCustomKelGradient::MidColor() const {
  if (colors_ == nullptr) return defaultMid_;
  return colors_->Count() >= 3 ? colors_->Item(1)->Color() : clNone;
}

void TCustomKelGradient::SetStartColor(TColor value) {
  Colors()->EnsureItem(0)->SetColorSilently(value);
  Changed();
}

void TCustomKelGradient::SetEndColor(TColor value) {
  TKelGradientColors* stops = Colors();
  if (stops->Count() == 0) stops->EnsureItem(0);
  stops->Item(stops->Count() - 1)->SetColorSilently(value);
  if (startIsEnd_) stops->Item(0)->SetColorSilently(value);
  Changed();
}

void TCustomKelGradient::SetMidColor(TColor value) {
  TKelGradientColors* stops = Colors();
  if (value == clNone) {
    if (stops->Count() > 2) {
      TNotifyEvent saved = onChange_;
      onChange_ = nullptr;
      stops->Delete(1);
      onChange_ = saved;
      Changed();
    }
    return;
  }
  // The middle stop sits at index 1; a list a layout left with fewer than two stops gets it
  // at its end, so there is always a stop to colour.
  const int index = std::min(stops->Count(), 1);
  if (stops->Count() <= 2) {
    TNotifyEvent saved = onChange_;
    onChange_ = nullptr;
    stops->BeginUpdate();
    auto* mid = static_cast<TKelGradientColor*>(stops->Insert(index));
    mid->SetOffset(0.5);
    stops->EndUpdate();
    onChange_ = saved;
  }
  TKelGradientColor* mid = stops->Item(index);
  if (mid->Color() == value) return;
  mid->SetColorSilently(value);
  lastMid_ = value;
  Changed();
}

bool TCustomKelGradient::IsStartColorStored() const { return colors_ != nullptr && StartColor() != defaultStart_; }
bool TCustomKelGradient::IsEndColorStored() const { return colors_ != nullptr && EndColor() != defaultEnd_; }
bool TCustomKelGradient::IsMidColorStored() const { return colors_ != nullptr && MidColor() != defaultMid_; }
bool TCustomKelGradient::IsColorsStored() const { return colors_ != nullptr && !colors_->IsStandardLayout(); }

void TCustomKelGradient::Assign(TPersistent* source) {
  auto* g = dynamic_cast<TCustomKelGradient*>(source);
  if (g == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  if (g == this) return;
  TNotifyEvent saved = onChange_;
  onChange_ = nullptr;
  angle_ = g->angle_;
  balance_ = g->balance_;
  direction_ = g->direction_;
  radialX_ = g->radialX_;
  radialY_ = g->radialY_;
  if (g->colors_ == nullptr) {
    delete colors_;
    colors_ = nullptr;
  } else {
    Colors()->Assign(g->colors_);
  }
  startIsEnd_ = g->startIsEnd_;
  visible_ = g->visible_;
  onChange_ = saved;
}

// ---- TSubGradient ---------------------------------------------------------------------------

TSubGradient::TSubGradient(TNotifyEvent onChange) : TCustomKelGradient(std::move(onChange)) {}

const TClassInfo& TSubGradient::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSubGradient>("TSubGradient", &TCustomKelGradient::StaticClass())
          .Property("Transparency", &TSubGradient::Transparency, &TSubGradient::SetTransparency)
          .Default(50)
          .Build();
  return info;
}

void TSubGradient::Assign(TPersistent* source) {
  TCustomKelGradient::Assign(source);
  if (auto* s = dynamic_cast<TSubGradient*>(source)) transparency_ = s->transparency_;
}

void TSubGradient::SetTransparency(TKelTransparency value) {
  if (value == transparency_) return;
  transparency_ = value;
  Changed();
}

// ---- TKelGradient ---------------------------------------------------------------------------

TKelGradient::TKelGradient(TNotifyEvent onChange) : TCustomKelGradient(std::move(onChange)) {}

TKelGradient::~TKelGradient() { delete subGradient_; }

const TClassInfo& TKelGradient::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelGradient>("TKelGradient", &TCustomKelGradient::StaticClass())
          .Property("SubGradient", &TKelGradient::SubGradient, &TKelGradient::SetSubGradient)
          .Stored(&TKelGradient::HasSubGradient)
          .Build();
  return info;
}

TSubGradient* TKelGradient::SubGradient() {
  if (subGradient_ == nullptr) subGradient_ = new TSubGradient(OnChange());
  return subGradient_;
}

void TKelGradient::SetSubGradient(TSubGradient* value) {
  if (value == nullptr) {
    delete subGradient_;
    subGradient_ = nullptr;
    return;
  }
  if (value != subGradient_) SubGradient()->Assign(value);
}

void TKelGradient::Assign(TPersistent* source) {
  TCustomKelGradient::Assign(source);
  auto* g = dynamic_cast<TKelGradient*>(source);
  if (g == nullptr || g == this) return;
  if (g->subGradient_ == nullptr) {
    delete subGradient_;
    subGradient_ = nullptr;
  } else {
    SubGradient()->Assign(g->subGradient_);
  }
}
