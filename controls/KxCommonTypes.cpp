// Identifier tables of the control set's style enumerations.
#include "controls/KxCommonTypes.h"

#include "controls/KxGraphics.h"
#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(TSide) {
  static const TEnumInfo info("TSide", {"sdLeft", "sdTop", "sdRight", "sdBottom"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TFrameStyleEx) {
  static const TEnumInfo info("TFrameStyleEx",
                              {"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
                               "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TTextStyle) {
  static const TEnumInfo info("TTextStyle", {"tsNormal", "tsRaised", "tsRecessed", "tsShadow"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TAlignmentVertical) {
  static const TEnumInfo info("TAlignmentVertical", {"avTop", "avCenter", "avBottom"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TFramingPreference) {
  static const TEnumInfo info("TFramingPreference", {"fpCustomFraming", "fpXPThemes"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxGradientColorStyle) {
  static const TEnumInfo info("TKxGradientColorStyle", {"gcsSystem", "gcsMSOffice", "gcsCustom"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxVisualStyle) {
  static const TEnumInfo info("TKxVisualStyle", {"vsClassic", "vsWinXP", "vsGradient"});
  return info;
}

namespace KxCommon {

const TEnumInfo& EnumTypeInfo(TGradientDirection) {
  static const TEnumInfo info("TGradientDirection",
                              {"gdDiagonalUp", "gdDiagonalDown", "gdHorizontalEnd", "gdHorizontalCenter",
                               "gdHorizontalBox", "gdVerticalEnd", "gdVerticalCenter", "gdVerticalBox",
                               "gdSquareBox", "gdBigSquareBox"});
  return info;
}

}  // namespace KxCommon
