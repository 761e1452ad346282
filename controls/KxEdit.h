// TKxCustomEdit / TKxEdit: a one-line masked edit whose border the control set paints in its
// non-client area (when FrameVisible and not left to the platform's themes), whose background
// follows its state (disabled, focused, read-only), with a cue banner, Enter-as-Tab and an
// optional drop button in the non-client area at the right (left in right-to-left layout).
//
// State colour: the remembered normal colour is what the user set; state colours are written
// to Color under the updating-colour guard so they never become the normal colour.
//
// Drop button (shown = visible and not read-only):
//   up   --left click on the button / Alt+Down / F4-->  sequence: guard, capture, down,
//        OnDropDown, OnCloseUp  --(always, also when a handler raises)--> release, up, guard off
//   A second request while the guard is set is ignored.
#pragma once

#include <string>

#include "controls/KxCommonTypes.h"
#include "controls/KxFrameController.h"
#include "toolkit/classes/Events.h"
#include "toolkit/ui/Edit.h"

class TCanvas;

// The validate-error event: may put a message into the string; a non-empty message is raised
// as EDBEditError instead of the mask's own error.
using TKxValidateErrorEvent = TMethodEvent<TObject*, std::string&>;

class TKxCustomEdit : public TCustomMaskEdit {
 public:
  explicit TKxCustomEdit(TComponent* owner);
  ~TKxCustomEdit() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  virtual void ApplyTextHint(const std::string& text);
  virtual void RefreshStateColor();
  // Focus inside (isMouse false) or mouse over (true) changed to `value`.
  virtual void HotStateChanged(bool isMouse, bool value);
  virtual void RepaintNonClientFrame();
  // The edit's client rectangle (without the drop button).
  virtual TRect GetEditArea();
  virtual std::string GetRawText();
  virtual void SuspendDropButton();
  virtual void ResumeDropButton();
  virtual bool IsReadOnlyNow() const { return ReadOnly(); }
  virtual void ReadOnlyStateChanged();
  // FramingPreference fpXPThemes with the platform's visual styles active: the custom frame
  // is not painted then.
  virtual bool UsesThemedFrame() const;

  TAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TAlignment value);
  bool ReadOnly() const override { return TCustomEdit::ReadOnly(); }
  void SetReadOnly(bool value) override;
  TColor DisabledColor() const { return disabledColor_; }
  virtual void SetDisabledColor(TColor value);
  TColor FocusColor() const { return focusColor_; }
  virtual void SetFocusColor(TColor value);
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  virtual void SetReadOnlyColor(TColor value);
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  void SetReadOnlyColorOnFocus(bool value);
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value);
  TKxFrameController* FrameController() const { return frameController_; }
  virtual void SetFrameController(TKxFrameController* value);
  TKxFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
  void SetFrameControllerNotifications(TKxFrameControllerNotifications value) { notifications_ = value; }
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
  const std::string& TextHint() const { return textHint_; }
  void SetTextHint(const std::string& value);
  bool TextHintVisibleOnFocus() const { return textHintVisibleOnFocus_; }
  void SetTextHintVisibleOnFocus(bool value);
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }
  bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
  void SetBeepOnInvalidKey(bool value) { beepOnInvalidKey_ = value; }
  TColor FlatButtonColor() const { return flatButtonColor_; }
  void SetFlatButtonColor(TColor value);
  bool DropButtonsFlat() const { return flatButtons_; }
  virtual void SetDropButtonsFlat(bool value);

  // The drop button: visible is the owner's wish, shown is what is on screen now.
  bool DropButtonVisible() const { return dropButtonVisible_; }
  virtual void SetDropButtonVisible(bool value);
  bool DropButtonShown() const { return dropButtonShown_; }
  // 0 up, 2 down.
  int DropButtonState() const { return dropButtonState_; }
  bool InDropDown() const { return droppedDown_; }
  bool InControl() const { return inControl_; }
  bool OverControl() const { return overControl_; }
  TColor NormalColor() const { return normalColor_; }

  // Stored-value rule: a setting the frame controller governs is not written.
  bool ControllerOwns(TKxFrameControllerProperty property) const;
  // The mask's check; with OnValidateError assigned its non-empty message is raised as
  // EDBEditError instead of the mask's own error.
  void ValidateEdit() override;

  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TKxValidateErrorEvent OnValidateError;

  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;

 protected:
  virtual void PaintDropButton(const TRect& rect);
  virtual void SetDropButtonState(int value);
  virtual void SetDropButtonShown(bool value);
  // The drop-down sequence (see the header's diagram).
  virtual void DropDownSequence();

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void KeyPress(wchar_t& key) override;
  void DoEnter() override;
  void DoExit() override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  void ColorChanged();
  // Paints the custom frame and the drop button on `dc`, a DC of the whole window.
  void PaintNonClient(HDC dc);
  // The drop button in window coordinates; empty when it is not shown.
  TRect DropButtonWindowRect();
  bool PointOnDropButton(TPoint client);
  int DropButtonWidth() const;
  void RecalcFrame();

  TCanvas* ncCanvas_;
  TColor disabledColor_ = clBtnFace;
  TColor readOnlyColor_ = clInfoBk;
  bool readOnlyColorOnFocus_ = false;
  TColor focusColor_ = clWindow;
  TColor normalColor_ = clWindow;
  TColor frameColor_ = clBtnShadow;
  TKxFrameController* frameController_ = nullptr;
  TKxFrameControllerNotifications notifications_ = kAllFrameControllerNotifications;
  TColor frameHotColor_ = clBtnShadow;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = kAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  std::string textHint_;
  bool textHintVisibleOnFocus_ = false;
  bool beepOnInvalidKey_ = true;
  bool tabOnEnter_ = false;
  TColor flatButtonColor_ = clBtnFace;
  bool flatButtons_ = false;
  TAlignment alignment_ = taLeftJustify;

  bool inControl_ = false;
  bool overControl_ = false;
  bool updatingColor_ = false;
  bool dropButtonShown_ = false;
  bool dropButtonVisible_ = false;
  int dropButtonState_ = 0;
  bool overDropButton_ = false;
  bool droppedDown_ = false;
};

class TKxEdit : public TKxCustomEdit {
 public:
  explicit TKxEdit(TComponent* owner) : TKxCustomEdit(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  std::string ReadText() { return Text(); }
  void ChangeText(const std::string& value) { SetText(value); }
};
