// TKelPen and its default-colour and hidden variants (see KelPen.h).
#include "canvas/KelPen.h"

#include "canvas/KelBrush.h"
#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(TPenEndStyle) {
  static const TEnumInfo info("TPenEndStyle", {"esRound", "esSquare", "esFlat"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TPenJoinStyle) {
  static const TEnumInfo info("TPenJoinStyle", {"jsRound", "jsBevel", "jsMitter"});
  return info;
}

TKelPen::TKelPen(TNotifyEvent onChange) { OnChange = std::move(onChange); }

TKelPen::~TKelPen() { delete fill_; }

const TClassInfo& TKelPen::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelPen>("TKelPen", &TPen::StaticClass())
          .Property("EndStyle", &TKelPen::EndStyle, &TKelPen::SetEndStyle)
          .Stored(&TKelPen::IsEndStyleStored)
          .Property("Fill", &TKelPen::Fill, &TKelPen::SetFill)
          .Property("JoinStyle", &TKelPen::JoinStyle, &TKelPen::SetJoinStyle)
          .Stored(&TKelPen::IsJoinStyleStored)
          .Property("SmallDots", &TKelPen::SmallDots, &TKelPen::SetSmallDots)
          .Default(false)
          .Property("SmallSpace", &TKelPen::SmallSpace, &TKelPen::SetSmallSpace)
          .Default(0)
          .Property("Visible", &TKelPen::Visible, &TKelPen::SetVisible)
          .Stored(&TKelPen::IsVisibleStored)
          .Property("Width", &TPen::Width, &TPen::SetWidth)
          .Stored(&TKelPen::IsWidthStored)
          .Build();
  return info;
}

void TKelPen::Assign(TPersistent* source) {
  if (auto* p = dynamic_cast<TKelPen*>(source)) {
    if (p == this) return;
    visible_ = p->visible_;
    smallDots_ = p->smallDots_;
    smallSpace_ = p->smallSpace_;
    endStyle_ = p->endStyle_;
    joinStyle_ = p->joinStyle_;
    SetFill(p->fill_);
  }
  TPen::Assign(source);
}

void TKelPen::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TKelPen::SetEndStyle(TPenEndStyle value) {
  if (value == endStyle_) return;
  endStyle_ = value;
  Changed();
}

void TKelPen::SetJoinStyle(TPenJoinStyle value) {
  if (value == joinStyle_) return;
  joinStyle_ = value;
  Changed();
}

void TKelPen::SetSmallDots(bool value) {
  if (value == smallDots_) return;
  smallDots_ = value;
  Changed();
}

void TKelPen::SetSmallSpace(int value) {
  if (value == smallSpace_) return;
  smallSpace_ = value;
  Changed();
}

TKelBrush* TKelPen::Fill() {
  if (fill_ == nullptr) fill_ = new TKelBrush(OnChange);
  return fill_;
}

void TKelPen::SetFill(TKelBrush* value) {
  if (value == nullptr) {
    delete fill_;
    fill_ = nullptr;
  } else if (value != fill_) {
    Fill()->Assign(value);
  }
}

void TKelPen::SetDefaultEndStyle(TPenEndStyle value) {
  endStyle_ = value;
  defaultEndStyle_ = value;
}

bool TKelPen::HasGradientFill() const { return fill_ != nullptr && fill_->HasVisibleGradient(); }

int TKelPen::HalfWidth() const { return visible_ && Width() >= 2 ? Width() / 2 : 0; }

TKelHiddenPen::TKelHiddenPen(TNotifyEvent onChange) : TKelPen(std::move(onChange)) { SetDefaultVisible(false); }

const TClassInfo& TKelHiddenPen::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelHiddenPen>("TKelHiddenPen", &TKelPen::StaticClass()).Build();
  return info;
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent onChange) : TKelPen(nullptr) {
  ChangeColor(clGray);
  OnChange = std::move(onChange);
}

const TClassInfo& TDarkGrayPen::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDarkGrayPen>("TDarkGrayPen", &TKelPen::StaticClass())
                                     .Property("Color", &TPen::Color, &TPen::SetColor)
                                     .Default(clGray)
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Build();
  return info;
}

TWhitePen::TWhitePen(TNotifyEvent onChange) : TKelPen(nullptr) {
  ChangeColor(clWhite);
  OnChange = std::move(onChange);
}

const TClassInfo& TWhitePen::StaticClass() {
  static const TClassInfo info = TClassBuilder<TWhitePen>("TWhitePen", &TKelPen::StaticClass())
                                     .Property("Color", &TPen::Color, &TPen::SetColor)
                                     .Default(clWhite)
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Build();
  return info;
}
