// Shadow and emboss settings (see KelShadow.h).
#include "canvas/KelShadow.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"

const TEnumInfo& EnumTypeInfo(TShadowDirection) {
  static const TEnumInfo info("TShadowDirection",
                              {"sdLeftTop", "sdLeftBottom", "sdRightTop", "sdRightBottom", "sdCenter"});
  return info;
}

TKelShadow::TKelShadow(TNotifyEvent onChange) {
  smooth_ = true;
  direction_ = sdRightBottom;
  blurRadius_ = 4;
  transparency_ = 50;
  SetDefaults(true, clSilver, 0);
  onChange_ = std::move(onChange);
}

const TClassInfo& TKelShadow::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelShadow>("TKelShadow", &TPersistent::StaticClass())
          .Property("Clip", &TKelShadow::Clip, &TKelShadow::SetClip)
          .Default(false)
          .Property("Color", &TKelShadow::Color, &TKelShadow::SetColor)
          .Stored(&TKelShadow::IsColorStored)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Direction", &TKelShadow::Direction, &TKelShadow::SetDirection)
          .Stored(&TKelShadow::IsDirectionStored)
          .Property("HorizSize", &TKelShadow::HorizSize, &TKelShadow::SetHorizSize)
          .Stored(&TKelShadow::IsHorizSizeStored)
          .Property("Smooth", &TKelShadow::Smooth, &TKelShadow::SetSmooth)
          .Default(true)
          .Property("SmoothBlur", &TKelShadow::SmoothBlur, &TKelShadow::SetSmoothBlur)
          .Default(0)
          .Property("Transparency", &TKelShadow::Transparency, &TKelShadow::SetTransparency)
          .Default(50)
          .Property("VertSize", &TKelShadow::VertSize, &TKelShadow::SetVertSize)
          .Stored(&TKelShadow::IsVertSizeStored)
          .Property("Visible", &TKelShadow::Visible, &TKelShadow::SetVisible)
          .Stored(&TKelShadow::IsVisibleStored)
          .Build();
  return info;
}

void TKelShadow::Assign(TPersistent* source) {
  if (auto* s = dynamic_cast<TKelShadow*>(source)) {
    color_ = s->color_;
    direction_ = s->direction_;
    horizSize_ = s->horizSize_;
    smooth_ = s->smooth_;
    smoothBlur_ = s->smoothBlur_;
    transparency_ = s->transparency_;
    vertSize_ = s->vertSize_;
    visible_ = s->visible_;
    return;
  }
  TPersistent::Assign(source);
}

void TKelShadow::SetDefaults(bool visible, TColor color, int size) {
  visible_ = defaultVisible_ = visible;
  color_ = defaultColor_ = color;
  horizSize_ = vertSize_ = defaultSize_ = size;
}

int TKelShadow::ReadSize() const { return std::max(std::abs(horizSize_), std::abs(vertSize_)); }

void TKelShadow::ChangeSize(int value) {
  if (horizSize_ == value && vertSize_ == value) return;
  horizSize_ = value;
  vertSize_ = value;
  Changed();
}

#define VK_SHADOW_SETTER(Name, field, Type) \
  void TKelShadow::Set##Name(Type value) {  \
    if (value == field) return;             \
    field = value;                          \
    Changed();                              \
  }
VK_SHADOW_SETTER(Visible, visible_, bool)
VK_SHADOW_SETTER(Color, color_, TColor)
VK_SHADOW_SETTER(HorizSize, horizSize_, int)
VK_SHADOW_SETTER(VertSize, vertSize_, int)
VK_SHADOW_SETTER(Direction, direction_, TShadowDirection)
VK_SHADOW_SETTER(Transparency, transparency_, TKelTransparency)
VK_SHADOW_SETTER(Smooth, smooth_, bool)
VK_SHADOW_SETTER(SmoothBlur, smoothBlur_, int)
VK_SHADOW_SETTER(Clip, clip_, bool)
#undef VK_SHADOW_SETTER

TKelEmboss::TKelEmboss(TNotifyEvent onChange) : TKelShadow(nullptr) {
  SetDefaults(false, clSilver, 0);
  SetDefaultDirection(sdLeftTop);
  SetOnChange(std::move(onChange));
}

const TClassInfo& TKelEmboss::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelEmboss>("TKelEmboss", &TKelShadow::StaticClass()).Build();
  return info;
}
