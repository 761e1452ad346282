// Shadow and emboss settings (see KelShadow.h).
#include "canvas/KelShadow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "canvas/Canvas3D.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelPen.h"
#include "toolkit/rtl/Math.h"

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

// ---- Drawing ---------------------------------------------------------------------------------

TRect TKelShadow::ShadowRect(const TRect& rect) const {
  TRect r = rect;
  int dx = horizSize_, dy = vertSize_;
  switch (direction_) {
    case sdCenter:
      InflateRectBy(r, std::abs(horizSize_), std::abs(vertSize_));
      return r;
    case sdLeftTop:
      dx = -dx;
      dy = -dy;
      break;
    case sdLeftBottom:
      dx = -dx;
      break;
    case sdRightTop:
      dy = -dy;
      break;
    case sdRightBottom:
      break;
  }
  return r.Moved(dx, dy);
}

std::array<TPoint, 4> TKelShadow::RotateRectCorners(const TRect& rect, double angle) {
  const double radians = angle * std::numbers::pi / 180;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const int cx = (rect.Left + rect.Right) / 2;
  const int cy = (rect.Top + rect.Bottom) / 2;
  auto turn = [&](int x, int y) {
    const int dx = x - cx, dy = y - cy;
    return TPoint(static_cast<int>(Round(dx * c + dy * s)) + cx, static_cast<int>(Round(-dx * s + dy * c)) + cy);
  };
  return {turn(rect.Left, rect.Top), turn(rect.Right, rect.Top), turn(rect.Right, rect.Bottom),
          turn(rect.Left, rect.Bottom)};
}

bool TKelShadow::BeginShadow(TCanvas3D* canvas, const TRect& rect, double angle) {
  blend_ = nullptr;
  transparencyInUse_ = 0;
  if (color_ == clNone || (horizSize_ == 0 && vertSize_ == 0)) return false;
  transparencyInUse_ = transparency_ != 0 ? transparency_ : canvas->CurrentTransparency;
  if (transparencyInUse_ == 0) return true;
  const auto percent = static_cast<std::uint8_t>(transparency_);
  if (canvas->SupportsAlpha) {
    blend_ = canvas->StartTransparency(TRect(), percent);
    return true;
  }
  TRect area;
  if (smooth_) {
    area = rect;
    InflateRectBy(area, 2 * std::abs(horizSize_), 2 * std::abs(vertSize_));
  } else {
    area = ShadowRect(rect);
  }
  if (angle != 0) {
    const auto corners = RotateRectCorners(area, angle);
    area = BoundsOfPointCount(corners.data(), 4);
  }
  blend_ = canvas->StartTransparency(area, percent);
  return true;
}

void TKelShadow::EndShadow(TCanvas3D* canvas) {
  if (transparencyInUse_ != 0) canvas->FinishTransparency(blend_);
  blend_ = nullptr;
  transparencyInUse_ = 0;
}

void TKelShadow::Draw(TCanvas3D* canvas, const TRect& rect, double holePercent, double startAngle, double endAngle) {
  if (!BeginShadow(canvas, rect, 0)) return;
  try {
    canvas->DrawShadowShape(this, ShadowRect(rect), true, 0, {}, -1, holePercent, startAngle, endAngle);
  } catch (...) {
    EndShadow(canvas);
    throw;
  }
  EndShadow(canvas);
}

void TKelShadow::DrawRect(TCanvas3D* canvas, const TRect& rect, int cornerSize, double angle) {
  if (!BeginShadow(canvas, rect, angle)) return;
  const TPenStyle penStyle = canvas->Pen()->Style();
  const TColor penColor = canvas->Pen()->Color();
  try {
    const TRect shadow = ShadowRect(rect);
    if (angle == 0) {
      canvas->DrawShadowShape(this, shadow, false, cornerSize, {}, -1, 0, 0, 360);
    } else {
      const auto corners = RotateRectCorners(shadow, angle);
      const TPointArray points(corners.begin(), corners.end());
      canvas->DrawShadowShape(this, BoundsOfPoints(points), false, cornerSize, points, 3, 0, 0, 360);
    }
  } catch (...) {
    canvas->Pen()->SetStyle(penStyle);
    canvas->Pen()->SetColor(penColor);
    EndShadow(canvas);
    throw;
  }
  canvas->Pen()->SetStyle(penStyle);
  canvas->Pen()->SetColor(penColor);
  EndShadow(canvas);
}

void TKelShadow::DrawPolygon(TCanvas3D* canvas, const TPointArray& points, int highIndex) {
  const int count = std::min<int>(highIndex + 1, static_cast<int>(points.size()));
  if (count <= 0) return;
  TPointArray moved(points.begin(), points.begin() + count);
  for (TPoint& p : moved) {
    p.X += horizSize_;
    p.Y += vertSize_;
  }
  const TRect rect = canvas->SupportsAlpha ? TRect() : BoundsOfPoints(moved);
  if (!BeginShadow(canvas, rect, 0)) return;
  try {
    canvas->DrawShadowShape(this, rect, false, 0, moved, count - 1, 0, 0, 360);
  } catch (...) {
    EndShadow(canvas);
    throw;
  }
  EndShadow(canvas);
}
