// The gradient settings a brush, a font (through its brush) or a chart element carries: colour
// stops (created on first use, two by default), direction, balance, angle, radial offset and,
// on TKelGradient, a sub-gradient drawn over it. These classes hold and stream the settings and
// report changes through the owner's change callback; canvases paint them.
#pragma once

#include "canvas/CanvasTypes.h"
#include "toolkit/classes/Collection.h"
#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Color.h"

class TEnumInfo;

namespace KelCanvas {
enum TGradientDirection {
  gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft,
  gdFromBottomLeft, gdRadial, gdDiagonalUp, gdDiagonalDown
};
const TEnumInfo& EnumTypeInfo(TGradientDirection);
}  // namespace KelCanvas

// Transparency as a percent 0..100.
using TKelTransparency = int;

class TCustomKelGradient;

// One colour stop: colour, offset 0..1 and transparency percent.
class TKelGradientColor : public TCollectionItem {
 public:
  explicit TKelGradientColor(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  double Offset() const { return offset_; }
  void SetOffset(double value);
  TKelTransparency Transparency() const { return transparency_; }
  void SetTransparency(TKelTransparency value);
  // Sets the colour without telling the gradient (the gradient's own setters notify once).
  void SetColorSilently(TColor value) { color_ = value; }

 private:
  TColor color_ = 0;
  double offset_ = 0;
  TKelTransparency transparency_ = 0;
};

// The stops of a gradient, kept sorted by offset by AddStop; a change notifies the gradient.
class TKelGradientColors : public TOwnedCollection {
 public:
  explicit TKelGradientColors(TCustomKelGradient* gradient);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TKelGradientColor* Item(int index) const { return static_cast<TKelGradientColor*>(Items(index)); }
  // Inserts a stop before the first stop with a greater offset; the offset is clamped to 0..1
  // (a value that is not >= 0, NaN included, becomes 0). Answers the new stop.
  TKelGradientColor* AddStop(TColor color, TKelTransparency transparency, double offset);
  // Adds stops until `index` exists; answers it.
  TKelGradientColor* EnsureItem(int index);
  void NotifyOwner();
  // True for the standard layouts that are not streamed: 2 stops at 0 and 1, or 3 at 0, 0.5
  // and 1, none with a transparency.
  bool IsStandardLayout() const;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCustomKelGradient* gradient_;
};

class TCustomKelGradient : public TPersistent {
 public:
  explicit TCustomKelGradient(TNotifyEvent onChange = nullptr);
  ~TCustomKelGradient() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From another gradient: every setting, without calling the change callback.
  void Assign(TPersistent* source) override;

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  KelCanvas::TGradientDirection Direction() const { return direction_; }
  void SetDirection(KelCanvas::TGradientDirection value);
  TColor StartColor() const;
  void SetStartColor(TColor value);
  TColor EndColor() const;
  void SetEndColor(TColor value);
  TColor MidColor() const;
  void SetMidColor(TColor value);
  int Balance() const { return balance_; }
  void SetBalance(int value);
  int Angle() const { return angle_; }
  void SetAngle(int value);
  int RadialX() const { return radialX_; }
  void SetRadialX(int value);
  int RadialY() const { return radialY_; }
  // Run-time bounds (left, top, right, bottom) that replace a shape's own rectangle as the
  // gradient's extent while their width or height is not 0; not stored in layouts.
  TRectFloat CustomTargetRect;
  void SetRadialY(int value);
  // The stops, created with the default two on first read.
  TKelGradientColors* Colors();
  bool HasColors() const { return colors_ != nullptr; }
  // Frees the stops for nil, otherwise copies `value` into them.
  void SetColors(TKelGradientColors* value);

  void ResetDefaults();
  void ResetStops();
  void SetDefaultDirection(KelCanvas::TGradientDirection value);
  void SetDefaultVisible(bool value);
  // Records start and end colours as the defaults (not stored while unchanged); existing stops
  // go back to them.
  void SetDefaultColors(TColor start, TColor end);

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }
  void Changed();

  // Stored tests of the published properties.
  bool IsVisibleStored() const { return visible_ != defaultVisible_; }
  bool IsDirectionStored() const { return direction_ != defaultDirection_; }
  bool IsStartColorStored() const;
  bool IsEndColorStored() const;
  bool IsMidColorStored() const;
  bool IsColorsStored() const;

 private:
  TNotifyEvent onChange_;
  bool visible_ = false;
  bool defaultVisible_ = false;
  KelCanvas::TGradientDirection direction_ = KelCanvas::gdTopBottom;
  KelCanvas::TGradientDirection defaultDirection_ = KelCanvas::gdTopBottom;
  TColor defaultStart_ = clWhite;
  TColor defaultEnd_ = clYellow;
  TColor defaultMid_ = clNone;
  TColor lastMid_ = clWhite;
  bool startIsEnd_ = false;
  int balance_ = 50;
  int angle_ = 0;
  int radialX_ = 0;
  int radialY_ = 0;
  TKelGradientColors* colors_ = nullptr;
};

class TSubGradient : public TCustomKelGradient {
 public:
  explicit TSubGradient(TNotifyEvent onChange = nullptr);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  TKelTransparency Transparency() const { return transparency_; }
  void SetTransparency(TKelTransparency value);

 private:
  TKelTransparency transparency_ = 50;
};

class TKelGradient : public TCustomKelGradient {
 public:
  explicit TKelGradient(TNotifyEvent onChange = nullptr);
  ~TKelGradient() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  // Created on first read with this gradient's change callback and Transparency 50.
  TSubGradient* SubGradient();
  bool HasSubGradient() const { return subGradient_ != nullptr; }
  // nil frees it; otherwise copies `value` (with its Transparency).
  void SetSubGradient(TSubGradient* value);

 private:
  TSubGradient* subGradient_ = nullptr;
};
