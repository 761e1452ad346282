// TCustomForm / TForm: a top-level window holding controls. A form of a derived class reads
// its layout (the resource named after its class) in AfterConstruction, which then fires
// OnCreate; handlers named in the layout are bound to the form's registered methods. Show and
// Hide fire OnShow/OnHide; Close asks OnCloseQuery, then OnClose decides what closing does
// (hide, free, minimise or nothing); closing the main form ends the application. ShowModal
// disables the program's other windows and runs a message loop until ModalResult is set.
// The form keeps the focused control (ActiveControl) and sends CM_EXIT/CM_ENTER along the
// parents of the controls that lose and gain the focus.
#pragma once

#include <string>

#include "toolkit/ui/CustomControl.h"

class TEnumInfo;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
const TEnumInfo& EnumTypeInfo(TFormBorderStyle);
const TEnumInfo& EnumTypeInfo(TPosition);
const TEnumInfo& EnumTypeInfo(TWindowState);
const TEnumInfo& EnumTypeInfo(TBorderIcon);

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

using TCloseEvent = TMethodEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TMethodEvent<TObject*, bool&>;

class TCustomForm : public TCustomControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Reads the layout of the form's class when the program has one (see LoadFormLayout), then
  // fires OnCreate. Called once, right after construction (TApplication::CreateForm does).
  virtual void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TWindowState WindowState();
  void SetWindowState(TWindowState value);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Modal() const { return modal_; }
  bool Active() const { return active_; }

  // The control that has (or gets, when the form is activated) the focus.
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  void FocusControl(TWinControl* control);
  // Called when a control on the form received the focus.
  void SetFocusedControl(TWinControl* control);
  // A control leaves the form: references to it go.
  void ControlRemoved(TControl* control);

  // The menu bar (a component implementing TMainMenuLink; null for none).
  TComponent* Menu() const { return menu_; }
  void SetMenu(TComponent* value);
  void Notification(TComponent* component, TOperation operation) override;

  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  // OnCloseQuery's answer (true when unassigned).
  virtual bool CloseQuery();
  TModalResult ShowModal();
  // Frees the form once the messages being handled are done.
  void Release();
  bool Showing() const override;
  void SetVisible(bool value) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Finds a component the layout made and checks its class: EComponentError
  // "Component %s of class %s not found" when missing or of another class.
  template <class T>
  void Bind(T*& field, const std::string& name) {
    field = dynamic_cast<T*>(FindComponent(name));
    if (field == nullptr) BindError(name, T::StaticClass());
  }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  void CreateWnd() override;
  bool WindowHasMenu() const override { return menu_ != nullptr; }
  void Paint() override;
  void BeforeDestruction() override;
  void Loaded() override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  virtual void DoCreate() { OnCreate(this); }
  virtual void DoDestroy() { OnDestroy(this); }
  virtual void DoShow() { OnShow(this); }
  virtual void DoHide() { OnHide(this); }
  virtual void DoClose(TCloseAction& action) { OnClose(this, action); }
  void CMDialogKey(TMessage& message) override;
  void CMShowingChanged(TMessage& message) override;
  virtual void WMClose(TMessage& message);
  virtual void WMActivate(TMessage& message);

 private:
  [[noreturn]] void BindError(const std::string& name, const TClassInfo& cls);
  void ApplyPosition();

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = {biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool active_ = false;
  bool constructed_ = false;
  TComponent* menu_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  // Layout values kept for the layout's sake.
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  bool scaled_ = true;
  bool oldCreateOrder_ = false;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
