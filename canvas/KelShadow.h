// Drop shadow and emboss settings of chart elements and texts: visibility, colour, signed
// horizontal and vertical sizes, direction, transparency and smoothing, with per-instance
// recorded defaults so that only differences are streamed. The emboss is a shadow that starts
// invisible and points to the left-top.
#pragma once

#include <array>

#include "canvas/CanvasTypes.h"
#include "canvas/KelGradient.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/Persistent.h"
#include "toolkit/graphics/Color.h"

class TEnumInfo;
class TCanvas3D;
class TKelBlend;

enum TShadowDirection { sdLeftTop, sdLeftBottom, sdRightTop, sdRightBottom, sdCenter };
const TEnumInfo& EnumTypeInfo(TShadowDirection);

class TKelShadow : public TPersistent {
 public:
  explicit TKelShadow(TNotifyEvent onChange = nullptr);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From another shadow: everything but Clip, without notification.
  void Assign(TPersistent* source) override;

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int value);
  int VertSize() const { return vertSize_; }
  void SetVertSize(int value);
  TShadowDirection Direction() const { return direction_; }
  void SetDirection(TShadowDirection value);
  TKelTransparency Transparency() const { return transparency_; }
  void SetTransparency(TKelTransparency value);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool value);
  int SmoothBlur() const { return smoothBlur_; }
  void SetSmoothBlur(int value);
  bool Clip() const { return clip_; }
  void SetClip(bool value);
  int BlurRadius() const { return blurRadius_; }

  // Sets and records Visible, Color and both sizes as the defaults, without notification.
  void SetDefaults(bool visible, TColor color, int size);
  // max(|HorizSize|, |VertSize|); ChangeSize sets both sizes.
  int ReadSize() const;
  void ChangeSize(int value);
  bool IsShown() const { return visible_ && (horizSize_ != 0 || vertSize_ != 0); }

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }

  // ---- Drawing -----------------------------------------------------------------------------
  // The shape's rect moved by the sizes along Direction; sdCenter grows it by |HorizSize| and
  // |VertSize| on each side instead.
  TRect ShadowRect(const TRect& rect) const;
  // Corner (dx, dy) relative to the centre goes to (round(dx·cos A + dy·sin A) + cx,
  // round(-dx·sin A + dy·cos A) + cy); corners in the order left-top, right-top, right-bottom,
  // left-bottom.
  static std::array<TPoint, 4> RotateRectCorners(const TRect& rect, double angle);
  // False (draw nothing) for Color clNone or no size. Otherwise opens a transparency group
  // over the area the shadow touches when a transparency is in use (its own, or the canvas's
  // current one when its own is 0) and answers True; EndShadow closes that group.
  bool BeginShadow(TCanvas3D* canvas, const TRect& rect, double angle);
  void EndShadow(TCanvas3D* canvas);
  // Shadow of an ellipse, pie or donut whose bounding box is `rect`.
  void Draw(TCanvas3D* canvas, const TRect& rect, double holePercent, double startAngle, double endAngle);
  // Shadow of a rectangle (rounded for cornerSize > 0, turned by `angle` degrees about its
  // centre); the canvas pen's style and colour are restored afterwards.
  void DrawRect(TCanvas3D* canvas, const TRect& rect, int cornerSize, double angle);
  // Shadow of a polygon: every point moved by (HorizSize, VertSize) whatever the Direction.
  void DrawPolygon(TCanvas3D* canvas, const TPointArray& points, int highIndex);

  bool IsVisibleStored() const { return visible_ != defaultVisible_; }
  bool IsColorStored() const { return color_ != defaultColor_; }
  bool IsHorizSizeStored() const { return horizSize_ != defaultSize_; }
  bool IsVertSizeStored() const { return vertSize_ != defaultSize_; }
  bool IsDirectionStored() const { return direction_ != defaultDirection_; }

 protected:
  void Changed() { onChange_(this); }
  // The published default of Direction (sdRightBottom; the emboss has sdLeftTop).
  void SetDefaultDirection(TShadowDirection value) {
    direction_ = value;
    defaultDirection_ = value;
  }

 private:
  TNotifyEvent onChange_;
  bool visible_ = true;
  TColor color_ = clSilver;
  int horizSize_ = 0;
  int vertSize_ = 0;
  TShadowDirection direction_ = sdRightBottom;
  TShadowDirection defaultDirection_ = sdRightBottom;
  TKelTransparency transparency_ = 50;
  bool smooth_ = true;
  int smoothBlur_ = 0;
  bool clip_ = false;
  int blurRadius_ = 4;
  bool defaultVisible_ = true;
  TColor defaultColor_ = clSilver;
  int defaultSize_ = 0;
  // Between BeginShadow and EndShadow: the transparency in use and its group.
  int transparencyInUse_ = 0;
  TKelBlend* blend_ = nullptr;
};

class TKelEmboss : public TKelShadow {
 public:
  explicit TKelEmboss(TNotifyEvent onChange = nullptr);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
