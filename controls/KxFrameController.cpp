// The frame controller: registration, pushes by property name, suspension, assignment and
// the obsolete properties of older layouts.
#include "controls/KxFrameController.h"

#include <algorithm>
#include <array>

#include "controls/KxOldPropReader.h"
#include "controls/KxRegIniFile.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/ui/Control.h"

namespace {

constexpr std::array<const char*, 16> kPropertyNames = {
    "Color",        "FocusColor",    "DisabledColor", "ReadOnlyColor", "ReadOnlyColorOnFocus", "ParentColor",
    "FlatButtonColor", "FlatButtons", "FrameColor",   "FrameHotColor", "FrameHotTrack",        "FrameHotStyle",
    "FrameSides",   "FrameStyle",    "FrameVisible",  "FramingPreference"};

}  // namespace

const TEnumInfo& EnumTypeInfo(TKxFrameControllerProperty) {
  static const TEnumInfo info(
      "TKxFrameControllerProperty",
      {"fcpColor", "fcpFocusColor", "fcpDisabledColor", "fcpReadOnlyColor", "fcpReadOnlyColorOnFocus",
       "fcpParentColor", "fcpFlatButtonColor", "fcpFlatButtons", "fcpFrameColor", "fcpFrameHotColor",
       "fcpFrameHotTrack", "fcpFrameHotStyle", "fcpFrameSides", "fcpFrameStyle", "fcpFrameVisible",
       "fcpFramingPreference", "fcpAll"});
  return info;
}

TKxFrameController::TKxFrameController(TComponent* owner) : TComponent(owner) {}

TKxFrameController::~TKxFrameController() = default;

const TClassInfo& TKxFrameController::StaticClass() {
  using C = TKxFrameController;
  static const TClassInfo info =
      TClassBuilder<C>("TKxFrameController", &TComponent::StaticClass())
          .Property("Color", &C::Color, &C::SetColor)
          .Default(clWindow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Stored([](C& c) { return !c.ParentColor(); })
          .Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FlatButtons", &C::FlatButtons, &C::SetFlatButtons)
          .Default(true)
          .Property("FocusColor", &C::FocusColor, &C::SetFocusColor)
          .Default(clWindow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FrameColor", &C::FrameColor, &C::SetFrameColor)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle)
          .Default(fsFlatBold)
          .Property("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack)
          .Default(false)
          .Property("FrameSides", &C::FrameSides, &C::SetFrameSides)
          .Default(kAllSides)
          .Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle)
          .Default(fsFlat)
          .Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible)
          .Default(false)
          .Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference)
          .Default(fpXPThemes)
          .Property("ParentColor", &C::ParentColor, &C::SetParentColor)
          .Default(false)
          .Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor)
          .Default(clInfoBk)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus)
          .Default(false)
          .Property("RegIniFile", &C::RegIniFile, &C::SetRegIniFile)
          .Build();
  return info;
}

void TKxFrameController::RegisterControl(TControl* control) {
  if (control == nullptr) return;
  if (!controls_) controls_ = std::make_unique<std::vector<TControl*>>();
  if (std::find(controls_->begin(), controls_->end(), control) != controls_->end()) return;
  controls_->push_back(control);
  ApplyToControl(control, fcpAll);
}

void TKxFrameController::UnregisterControl(TControl* control) {
  if (!controls_) return;
  const auto it = std::find(controls_->begin(), controls_->end(), control);
  if (it != controls_->end()) controls_->erase(it);
  if (controls_->empty()) controls_.reset();
}

TKxFrameControllerNotifications TKxFrameController::NotificationsOf(TControl* control) {
  if (control == nullptr || !IsPublishedProp(*control, "FrameControllerNotifications")) {
    return kAllFrameControllerNotifications;
  }
  return TKxFrameControllerNotifications::FromBits(
      static_cast<std::uint64_t>(GetOrdProp(*control, "FrameControllerNotifications")) & 0xFFFF);
}

void TKxFrameController::PushProperty(TControl& control, TKxFrameControllerProperty property,
                                      TKxFrameControllerNotifications n) {
  if (property >= fcpAll || !n.Contains(property)) return;
  const char* name = kPropertyNames[static_cast<std::size_t>(property)];
  if (!IsPublishedProp(control, name)) return;
  if (property == fcpFrameSides) {
    SetSetProp(control, name, SetToString(EnumTypeInfo(TSide{}), frameSides_.Bits(), false));
    return;
  }
  long long value = 0;
  switch (property) {
    case fcpColor: value = color_; break;
    case fcpFocusColor: value = focusColor_; break;
    case fcpDisabledColor: value = disabledColor_; break;
    case fcpReadOnlyColor: value = readOnlyColor_; break;
    case fcpReadOnlyColorOnFocus: value = readOnlyColorOnFocus_; break;
    case fcpParentColor: value = parentColor_; break;
    case fcpFlatButtonColor: value = flatButtonColor_; break;
    case fcpFlatButtons: value = flatButtons_; break;
    case fcpFrameColor: value = frameColor_; break;
    case fcpFrameHotColor: value = frameHotColor_; break;
    case fcpFrameHotTrack: value = frameHotTrack_; break;
    case fcpFrameHotStyle: value = frameHotStyle_; break;
    case fcpFrameStyle: value = frameStyle_; break;
    case fcpFrameVisible: value = frameVisible_; break;
    case fcpFramingPreference: value = framingPreference_; break;
    case fcpFrameSides:
    case fcpAll: return;
  }
  SetOrdProp(control, name, value);
}

void TKxFrameController::ApplyToControl(TComponent* component, TKxFrameControllerProperty property) {
  auto* control = dynamic_cast<TControl*>(component);
  if (control == nullptr) return;
  const TKxFrameControllerNotifications n = NotificationsOf(control);
  if (auto* notified = dynamic_cast<IKxFrameNotification*>(control)) {
    notified->ApplyFrameController();
    return;
  }
  if (property != fcpAll) {
    PushProperty(*control, property, n);
    return;
  }
  PushProperty(*control, fcpParentColor, n);
  if (!parentColor_) PushProperty(*control, fcpColor, n);
  for (TKxFrameControllerProperty p :
       {fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor, fcpFlatButtonColor, fcpFlatButtons,
        fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle, fcpFrameSides, fcpFrameStyle,
        fcpFrameVisible, fcpFramingPreference}) {
    PushProperty(*control, p, n);
  }
}

void TKxFrameController::ApplyToAll(TKxFrameControllerProperty property) {
  if (updateCount_ > 0 || !controls_) return;
  // A push may make a control leave (or join); walk a copy in registration order.
  const std::vector<TControl*> controls = *controls_;
  for (TControl* control : controls) ApplyToControl(control, property);
}

void TKxFrameController::ResumeUpdates() {
  --updateCount_;
  if (updateCount_ <= 0) {
    updateCount_ = 0;
    ApplyToAll(fcpAll);
  }
}

void TKxFrameController::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKxFrameController*>(source);
  if (other == nullptr) {
    TComponent::Assign(source);
    return;
  }
  SuspendUpdates();
  color_ = other->color_;
  disabledColor_ = other->disabledColor_;
  readOnlyColor_ = other->readOnlyColor_;
  readOnlyColorOnFocus_ = other->readOnlyColorOnFocus_;
  flatButtonColor_ = other->flatButtonColor_;
  flatButtons_ = other->flatButtons_;
  focusColor_ = other->focusColor_;
  frameColor_ = other->frameColor_;
  frameHotColor_ = other->frameHotColor_;
  frameHotStyle_ = other->frameHotStyle_;
  frameHotTrack_ = other->frameHotTrack_;
  frameSides_ = other->frameSides_;
  frameStyle_ = other->frameStyle_;
  frameVisible_ = other->frameVisible_;
  framingPreference_ = other->framingPreference_;
  parentColor_ = other->parentColor_;
  ResumeUpdates();
}

void TKxFrameController::Loaded() {
  TComponent::Loaded();
  ApplyToAll(fcpAll);
}

void TKxFrameController::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == regIniFile_) regIniFile_ = nullptr;
}

void TKxFrameController::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty("FrameFlat", [this](TReader& reader) { ReadFrameFlat(reader); }, {}, false);
  filer.DefineProperty("FrameFocusStyle", [this](TReader& reader) { ReadFrameFocusStyle(reader); }, {}, false);
  filer.DefineProperty("FrameFlatStyle", &TKxOldPropReader::SkipIdentValue, {}, false);
}

void TKxFrameController::ReadFrameFlat(TReader& reader) {
  const bool flat = reader.ReadBoolean();
  SetFrameHotTrack(flat);
  if (flat) {
    frameStyle_ = fsStatus;
    frameHotStyle_ = fsLowered;
  }
}

void TKxFrameController::ReadFrameFocusStyle(TReader& reader) {
  const int style = EnumTypeInfo(TFrameStyleEx{}).ValueOf(reader.ReadIdent());
  if (style >= fsNone && style <= fsFlatBold) SetFrameHotStyle(static_cast<TFrameStyle>(style));
}

// ---- Setters --------------------------------------------------------------------------------

void TKxFrameController::SetColor(TColor value) {
  if (value == color_) return;
  if (color_ == focusColor_) focusColor_ = value;
  color_ = value;
  parentColor_ = false;
  ApplyToAll(fcpColor);
}

void TKxFrameController::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  ApplyToAll(fcpParentColor);
  if (!value) ApplyToAll(fcpColor);
}

void TKxFrameController::SetFlatButtonColor(TColor value) {
  if (value == flatButtonColor_) return;
  flatButtonColor_ = value;
  ApplyToAll(fcpFlatButtonColor);
}

void TKxFrameController::SetFlatButtons(bool value) {
  if (value == flatButtons_) return;
  flatButtons_ = value;
  ApplyToAll(fcpFlatButtons);
}

void TKxFrameController::SetDisabledColor(TColor value) {
  if (value == disabledColor_) return;
  disabledColor_ = value;
  ApplyToAll(fcpDisabledColor);
}

void TKxFrameController::SetReadOnlyColor(TColor value) {
  if (value == readOnlyColor_) return;
  readOnlyColor_ = value;
  ApplyToAll(fcpReadOnlyColor);
}

void TKxFrameController::SetReadOnlyColorOnFocus(bool value) {
  if (value == readOnlyColorOnFocus_) return;
  readOnlyColorOnFocus_ = value;
  ApplyToAll(fcpReadOnlyColorOnFocus);
}

void TKxFrameController::SetFocusColor(TColor value) {
  if (value == focusColor_) return;
  focusColor_ = value;
  ApplyToAll(fcpFocusColor);
}

void TKxFrameController::SetFrameColor(TColor value) {
  if (value == frameColor_) return;
  frameColor_ = value;
  ApplyToAll(fcpFrameColor);
}

void TKxFrameController::SetFrameHotColor(TColor value) {
  if (value == frameHotColor_) return;
  frameHotColor_ = value;
  ApplyToAll(fcpFrameHotColor);
}

void TKxFrameController::SetFrameHotTrack(bool value) {
  if (value == frameHotTrack_) return;
  frameHotTrack_ = value;
  if (value) {
    SetFrameVisible(true);
    if (!ComponentState().Contains(csLoading)) frameSides_ = kAllSides;
  }
  ApplyToAll(fcpFrameHotTrack);
}

void TKxFrameController::SetFrameHotStyle(TFrameStyle value) {
  if (value == frameHotStyle_) return;
  frameHotStyle_ = value;
  ApplyToAll(fcpFrameHotStyle);
}

void TKxFrameController::SetFrameSides(TSides value) {
  if (value == frameSides_) return;
  frameSides_ = value;
  ApplyToAll(fcpFrameSides);
}

void TKxFrameController::SetFrameStyle(TFrameStyle value) {
  if (value == frameStyle_) return;
  frameStyle_ = value;
  ApplyToAll(fcpFrameStyle);
}

void TKxFrameController::SetFrameVisible(bool value) {
  if (value == frameVisible_) return;
  frameVisible_ = value;
  ApplyToAll(fcpFrameVisible);
}

void TKxFrameController::SetFramingPreference(TFramingPreference value) {
  if (value == framingPreference_) return;
  framingPreference_ = value;
  ApplyToAll(fcpFramingPreference);
}

void TKxFrameController::SetRegIniFile(TKxRegIniFile* value) {
  if (value == regIniFile_) return;
  regIniFile_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

void ChangeFrameController(TControl* control, TKxFrameController*& field, TKxFrameController* value) {
  if (value == field) return;
  if (field != nullptr) field->UnregisterControl(control);
  field = value;
  if (value != nullptr) {
    value->FreeNotification(control);
    value->RegisterControl(control);
  }
}
