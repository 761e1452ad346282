// Buttons over the platform's BUTTON class: TButton (push button with a modal result and the
// default/cancel roles: Enter clicks the active button, Esc the cancel button), TCheckBox
// (checked, unchecked or greyed) and TRadioButton (checking one unchecks the other radio
// buttons of the same parent). A click by mouse, Space or code fires OnClick once.
#pragma once

#include <string>

#include "toolkit/ui/WinControl.h"

class TEnumInfo;

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
const TEnumInfo& EnumTypeInfo(TCheckBoxState);

class TButtonControl : public TWinControl {
 public:
  explicit TButtonControl(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  // BN_CLICKED from the platform.
  virtual void ButtonClicked() { Click(); }

 private:
  bool wordWrap_ = false;
};

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Sets the parent form's ModalResult, then fires OnClick.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  // Drawn as the default button: focused, or Default while no other button has the focus.
  void SetButtonStyle(bool active);
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
};

class TCheckBox : public TButtonControl {
 public:
  explicit TCheckBox(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  // A change fires OnClick (as a click does).
  void SetState(TCheckBoxState value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void ButtonClicked() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  bool Checked() const { return checked_; }
  // Checking unchecks the parent's other radio buttons and fires OnClick.
  void SetChecked(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void ButtonClicked() override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};
