// TKelBrush: the toolkit brush with the chart's settings: a background colour for hatches, the
// 53 hatch styles of the GDI+ canvas (the first six also set the toolkit's hatch), a gradient
// and a picture made on first read. Color defaults to clDefault, recorded per instance.
#pragma once

#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Brush.h"

class TKelGradient;
class TKelPicture;
class TEnumInfo;

enum THatchStyle {
  hsHorizontal, hsVertical, hsForwardDiagonal, hsBackwardDiagonal, hsCross, hsDiagonalCross,
  hs05Percent, hs10Percent, hs20Percent, hs25Percent, hs30Percent, hs40Percent, hs50Percent,
  hs60Percent, hs70Percent, hs75Percent, hs80Percent, hs90Percent, hsLightDownwardDiagonal,
  hsLightUpwardDiagonal, hsDarkDownwardDiagonal, hsDarkUpwardDiagonal, hsWideDownwardDiagonal,
  hsWideUpwardDiagonal, hsLightVertical, hsLightHorizontal, hsNarrowVertical,
  hsNarrowHorizontal, hsDarkVertical, hsDarkHorizontal, hsDashedDownwardDiagonal,
  hsDashedUpwardDiagonal, hsDashedHorizontal, hsDashedVertical, hsSmallConfetti,
  hsLargeConfetti, hsZigZag, hsWave, hsDiagonalBrick, hsHorizontalBrick, hsWeave, hsPlaid,
  hsDivot, hsDottedGrid, hsDottedDiamond, hsShingle, hsTrellis, hsSphere, hsSmallGrid,
  hsSmallCheckerBoard, hsLargeCheckerBoard, hsOutlinedDiamond, hsSolidDiamond
};
const TEnumInfo& EnumTypeInfo(THatchStyle);

class TKelBrush : public TBrush {
 public:
  explicit TKelBrush(TNotifyEvent onChange = nullptr);
  ~TKelBrush() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From a TKelBrush: Image and Gradient (freed when the source has none), BackColor and
  // HatchStyle, then the toolkit part; from a plain TBrush only the toolkit part.
  void Assign(TPersistent* source) override;

  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor value);
  THatchStyle HatchStyle() const { return hatchStyle_; }
  // The first six values also set the toolkit style (hatch value + 2).
  void SetHatchStyle(THatchStyle value);
  // Created on first read with the brush's change callback.
  TKelGradient* Gradient();
  bool HasGradient() const { return gradient_ != nullptr; }
  void SetGradient(TKelGradient* value);
  TKelPicture* Image();
  bool HasImage() const { return image_ != nullptr; }
  void SetImage(TKelPicture* value);

  // Colour set without notification and recorded as the default.
  void SetDefaultColor(TColor value);
  bool HasVisibleGradient() const;
  // Image exists and holds a graphic that is not empty.
  bool HasPicture() const;

  bool IsColorStored() const { return Color() != defaultColor_; }

 private:
  TColor backColor_ = clNone;
  THatchStyle hatchStyle_ = hsHorizontal;
  TColor defaultColor_ = clDefault;
  TKelGradient* gradient_ = nullptr;
  TKelPicture* image_ = nullptr;
};
