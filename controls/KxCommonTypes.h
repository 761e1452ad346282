// The style vocabulary of the control set: sides, frame styles, framing preference, visual
// and gradient colour styles, each with the identifiers layouts store.
#pragma once

#include "toolkit/classes/Set.h"

class TEnumInfo;

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
// A set of sides: bit values 1, 2, 4 and 8; all four = 15.
using TSides = TSet<TSide>;
inline constexpr TSides kAllSides{sdLeft, sdTop, sdRight, sdBottom};

enum TFrameStyleEx {
  fsNone,
  fsFlat,
  fsGroove,
  fsBump,
  fsLowered,
  fsButtonDown,
  fsRaised,
  fsButtonUp,
  fsStatus,
  fsPopup,
  fsFlatBold,
  fsFlatRounded
};
// The frame styles without fsFlatRounded (fsNone .. fsFlatBold).
using TFrameStyle = TFrameStyleEx;

enum TFramingPreference { fpCustomFraming, fpXPThemes };
enum TKxGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TKxVisualStyle { vsClassic, vsWinXP, vsGradient };

// Caption looks of labels and buttons.
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TAlignmentVertical { avTop, avCenter, avBottom };

const TEnumInfo& EnumTypeInfo(TTextStyle);
const TEnumInfo& EnumTypeInfo(TAlignmentVertical);
const TEnumInfo& EnumTypeInfo(TSide);
const TEnumInfo& EnumTypeInfo(TFrameStyleEx);
const TEnumInfo& EnumTypeInfo(TFramingPreference);
const TEnumInfo& EnumTypeInfo(TKxGradientColorStyle);
const TEnumInfo& EnumTypeInfo(TKxVisualStyle);
