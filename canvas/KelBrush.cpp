// TKelBrush (see KelBrush.h).
#include "canvas/KelBrush.h"

#include "canvas/KelGradient.h"
#include "canvas/KelPicture.h"
#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(THatchStyle) {
  static const TEnumInfo info(
      "THatchStyle",
      {"hsHorizontal", "hsVertical", "hsForwardDiagonal", "hsBackwardDiagonal", "hsCross", "hsDiagonalCross",
       "hs05Percent", "hs10Percent", "hs20Percent", "hs25Percent", "hs30Percent", "hs40Percent", "hs50Percent",
       "hs60Percent", "hs70Percent", "hs75Percent", "hs80Percent", "hs90Percent", "hsLightDownwardDiagonal",
       "hsLightUpwardDiagonal", "hsDarkDownwardDiagonal", "hsDarkUpwardDiagonal", "hsWideDownwardDiagonal",
       "hsWideUpwardDiagonal", "hsLightVertical", "hsLightHorizontal", "hsNarrowVertical", "hsNarrowHorizontal",
       "hsDarkVertical", "hsDarkHorizontal", "hsDashedDownwardDiagonal", "hsDashedUpwardDiagonal",
       "hsDashedHorizontal", "hsDashedVertical", "hsSmallConfetti", "hsLargeConfetti", "hsZigZag", "hsWave",
       "hsDiagonalBrick", "hsHorizontalBrick", "hsWeave", "hsPlaid", "hsDivot", "hsDottedGrid", "hsDottedDiamond",
       "hsShingle", "hsTrellis", "hsSphere", "hsSmallGrid", "hsSmallCheckerBoard", "hsLargeCheckerBoard",
       "hsOutlinedDiamond", "hsSolidDiamond"});
  return info;
}

TKelBrush::TKelBrush(TNotifyEvent onChange) {
  SetDefaultColor(clDefault);
  OnChange = std::move(onChange);
}

TKelBrush::~TKelBrush() {
  delete gradient_;
  delete image_;
}

const TClassInfo& TKelBrush::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelBrush>("TKelBrush", &TBrush::StaticClass())
          .Property("BackColor", &TKelBrush::BackColor, &TKelBrush::SetBackColor)
          .Default(clNone)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Color", &TBrush::Color, &TBrush::SetColor)
          .Stored(&TKelBrush::IsColorStored)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Gradient", &TKelBrush::Gradient, &TKelBrush::SetGradient)
          .Property("HatchStyle", &TKelBrush::HatchStyle, &TKelBrush::SetHatchStyle)
          .Default(hsHorizontal)
          .Property("Image", &TKelBrush::Image, &TKelBrush::SetImage)
          .Stored(&TKelBrush::HasImage)
          .Build();
  return info;
}

void TKelBrush::Assign(TPersistent* source) {
  if (auto* b = dynamic_cast<TKelBrush*>(source)) {
    if (b == this) return;
    SetImage(b->image_);
    backColor_ = b->backColor_;
    hatchStyle_ = b->hatchStyle_;
    SetGradient(b->gradient_);
  }
  TBrush::Assign(source);
}

void TKelBrush::SetBackColor(TColor value) {
  if (value == backColor_) return;
  backColor_ = value;
  Changed();
}

void TKelBrush::SetHatchStyle(THatchStyle value) {
  if (value == hatchStyle_) return;
  hatchStyle_ = value;
  if (value <= hsDiagonalCross) {
    const auto style = static_cast<TBrushStyle>(static_cast<int>(value) + 2);
    if (style != Style()) {
      SetStyle(style);  // notifies
      return;
    }
  }
  Changed();
}

TKelGradient* TKelBrush::Gradient() {
  if (gradient_ == nullptr) gradient_ = new TKelGradient(OnChange);
  return gradient_;
}

void TKelBrush::SetGradient(TKelGradient* value) {
  if (value == nullptr) {
    delete gradient_;
    gradient_ = nullptr;
  } else if (value != gradient_) {
    Gradient()->Assign(value);
  }
}

TKelPicture* TKelBrush::Image() {
  if (image_ == nullptr) {
    image_ = new TKelPicture();
    image_->OnChange = OnChange;
  }
  return image_;
}

void TKelBrush::SetImage(TKelPicture* value) {
  if (value == nullptr) {
    delete image_;
    image_ = nullptr;
  } else if (value != image_) {
    Image()->Assign(value);
  }
}

void TKelBrush::SetDefaultColor(TColor value) {
  TNotifyEvent saved = OnChange;
  OnChange = nullptr;
  SetColor(value);
  OnChange = saved;
  defaultColor_ = value;
}

bool TKelBrush::HasVisibleGradient() const { return gradient_ != nullptr && gradient_->Visible(); }

bool TKelBrush::HasPicture() const { return image_ != nullptr && image_->HasGraphic(); }
