// What the framed controls (edit, combo box, tree view, list view) share of their frame
// settings: the change test of a setter, the published frame entries with their stored tests,
// and the entries of older layouts that are read and converted but never written.
#pragma once

#include <functional>

#include "controls/KxCommonTypes.h"
#include "controls/KxFrameController.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"

class TFiler;

// Stores `value` in a setting; true when it differed (the setter then repaints).
template <class T>
bool ChangeFrameSetting(T& setting, const T& value) {
  if (setting == value) return false;
  setting = value;
  return true;
}

// The stored test of a setting a frame controller may govern: written only while it does not.
template <class C>
auto UnownedFrameSetting(TKxFrameControllerProperty p) {
  return [p](C& c) { return !c.ControllerOwns(p); };
}

// The published entries "FrameColor" through "FramingPreference", in that order, with their
// defaults. Each setting goes into a layout only while no frame controller governs it.
template <class C>
TClassBuilder<C>& AddFrameProperties(TClassBuilder<C>& builder) {
  const auto unowned = UnownedFrameSetting<C>;
  return builder.Property("FrameColor", &C::FrameColor, &C::SetFrameColor)
      .Default(clBtnShadow)
      .Idents(ColorPropToIdent, ColorIdentToProp)
      .Stored(unowned(fcpFrameColor))
      .Property("FrameController", &C::FrameController, &C::SetFrameController)
      .Property("FrameControllerNotifications", &C::FrameControllerNotifications,
                &C::SetFrameControllerNotifications)
      .Default(kAllFrameControllerNotifications)
      .Property("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor)
      .Default(clBtnShadow)
      .Idents(ColorPropToIdent, ColorIdentToProp)
      .Stored(unowned(fcpFrameHotColor))
      .Property("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle)
      .Default(fsFlatBold)
      .Stored(unowned(fcpFrameHotStyle))
      .Property("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack)
      .Default(false)
      .Stored(unowned(fcpFrameHotTrack))
      .Property("FrameSides", &C::FrameSides, &C::SetFrameSides)
      .Default(kAllSides)
      .Stored(unowned(fcpFrameSides))
      .Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle)
      .Default(fsFlat)
      .Stored(unowned(fcpFrameStyle))
      .Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible)
      .Default(false)
      .Stored(unowned(fcpFrameVisible))
      .Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference)
      .Default(fpXPThemes)
      .Stored(unowned(fcpFramingPreference));
}

// Older layouts: "FrameFlat" (a Boolean handed to `setHotTrack`; when true the frame style
// also becomes fsStatus and the hot style fsLowered), "FrameFocusStyle" (a frame style
// identifier stored as the hot style) and "FrameFlatStyle" (skipped).
void DefineOldFrameProperties(TFiler& filer, std::function<void(bool)> setHotTrack, TFrameStyle& frameStyle,
                              TFrameStyle& frameHotStyle);
