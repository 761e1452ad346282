// TKxFrameController: one set of frame and colour settings pushed to every control registered
// with it, so that a form's framed controls look alike and change together. A control that
// implements IKxFrameNotification reads the controller itself; any other control receives each
// setting through its published property of the same name, filtered by its
// FrameControllerNotifications. Pushes wait while updates are suspended.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "controls/KxCommonTypes.h"
#include "toolkit/classes/Component.h"
#include "toolkit/graphics/Color.h"

class TControl;
class TKxRegIniFile;
class TEnumInfo;
class TReader;

enum TKxFrameControllerProperty {
  fcpColor,
  fcpFocusColor,
  fcpDisabledColor,
  fcpReadOnlyColor,
  fcpReadOnlyColorOnFocus,
  fcpParentColor,
  fcpFlatButtonColor,
  fcpFlatButtons,
  fcpFrameColor,
  fcpFrameHotColor,
  fcpFrameHotTrack,
  fcpFrameHotStyle,
  fcpFrameSides,
  fcpFrameStyle,
  fcpFrameVisible,
  fcpFramingPreference,
  fcpAll
};
// fcpColor .. fcpFramingPreference; a set of it is 16 bits, bit n for ordinal n.
using TKxFrameControllerPropertyConnection = TKxFrameControllerProperty;
using TKxFrameControllerNotifications = TSet<TKxFrameControllerProperty>;
inline constexpr TKxFrameControllerNotifications kAllFrameControllerNotifications =
    TKxFrameControllerNotifications::FromBits(0xFFFF);
const TEnumInfo& EnumTypeInfo(TKxFrameControllerProperty);

// The frame-notification interface {64B1C9EA-C954-428A-95C4-4EA2EB0F1E16}: a control that
// reads the controller's settings itself whenever any of them changes.
inline constexpr GUID IID_IKxFrameNotification = {
    0x64B1C9EA, 0xC954, 0x428A, {0x95, 0xC4, 0x4E, 0xA2, 0xEB, 0x0F, 0x1E, 0x16}};
class IKxFrameNotification {
 public:
  virtual void ApplyFrameController() = 0;

 protected:
  ~IKxFrameNotification() = default;
};

class TKxFrameController : public TComponent {
 public:
  explicit TKxFrameController(TComponent* owner);
  ~TKxFrameController() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Lists `control` (once) and applies every setting to it.
  void RegisterControl(TControl* control);
  // Removes it; the list goes away with its last control.
  void UnregisterControl(TControl* control);
  int ControlCount() const { return controls_ ? static_cast<int>(controls_->size()) : 0; }
  TControl* Controls(int index) const { return controls_->at(static_cast<std::size_t>(index)); }

  // Pushes one setting (or all, fcpAll) to one control / to every registered control in
  // registration order; nothing while updates are suspended.
  virtual void ApplyToControl(TComponent* control, TKxFrameControllerProperty property);
  virtual void ApplyToAll(TKxFrameControllerProperty property);
  // The control's published FrameControllerNotifications; all bits when it has none.
  static TKxFrameControllerNotifications NotificationsOf(TControl* control);

  void SuspendUpdates() { ++updateCount_; }
  // Lowering the count to 0 (or below) pushes everything.
  void ResumeUpdates();
  int UpdateCount() const { return updateCount_; }

  // Copies another controller's settings (fields only) and pushes once.
  void Assign(TPersistent* source) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;

  TColor Color() const { return color_; }
  virtual void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  virtual void SetParentColor(bool value);
  TColor FlatButtonColor() const { return flatButtonColor_; }
  virtual void SetFlatButtonColor(TColor value);
  bool FlatButtons() const { return flatButtons_; }
  virtual void SetFlatButtons(bool value);
  TColor DisabledColor() const { return disabledColor_; }
  virtual void SetDisabledColor(TColor value);
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  virtual void SetReadOnlyColor(TColor value);
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  virtual void SetReadOnlyColorOnFocus(bool value);
  TColor FocusColor() const { return focusColor_; }
  virtual void SetFocusColor(TColor value);
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value);
  TColor FrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor value);
  bool FrameHotTrack() const { return frameHotTrack_; }
  virtual void SetFrameHotTrack(bool value);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle value);
  TSides FrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle value);
  bool FrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  virtual void SetFramingPreference(TFramingPreference value);
  TKxRegIniFile* RegIniFile() const { return regIniFile_; }
  virtual void SetRegIniFile(TKxRegIniFile* value);

 private:
  // Sets one published property of `control` when it has it and bit `property` is set.
  void PushProperty(TControl& control, TKxFrameControllerProperty property, TKxFrameControllerNotifications n);
  void ReadFrameFlat(TReader& reader);
  void ReadFrameFocusStyle(TReader& reader);

  TColor color_ = clWindow;
  bool parentColor_ = false;
  TColor flatButtonColor_ = clBtnFace;
  bool flatButtons_ = true;
  TColor disabledColor_ = clBtnFace;
  TColor readOnlyColor_ = clInfoBk;
  bool readOnlyColorOnFocus_ = false;
  TColor focusColor_ = clWindow;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = kAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  TKxRegIniFile* regIniFile_ = nullptr;

  std::int32_t updateCount_ = 0;
  std::unique_ptr<std::vector<TControl*>> controls_;
};

// A framed control's SetFrameController: moves `control` from the controller in `field` to
// `value` (unregistering from the old one, asking the new one for its free notification and
// registering with it). Nothing happens when `value` is already the controller.
void ChangeFrameController(TControl* control, TKxFrameController*& field, TKxFrameController* value);
