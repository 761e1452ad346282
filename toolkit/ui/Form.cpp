// TCustomForm: top-level window styles, position, show/hide/close, modal loop, focus keeping.
#include "toolkit/ui/Form.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/FormLayout.h"
#include "toolkit/ui/MenuLinks.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/Themes.h"

const TEnumInfo& EnumTypeInfo(TFormBorderStyle) {
  static const TEnumInfo info("TFormBorderStyle",
                              {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TPosition) {
  static const TEnumInfo info("TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                            "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                            "poOwnerFormCenter"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TWindowState) {
  static const TEnumInfo info("TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TBorderIcon) {
  static const TEnumInfo info("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
  return info;
}

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomForm>("TCustomForm", &TCustomControl::StaticClass())
          .Abstract()
          .Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
          .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize})
          .Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
          .Default(bsSizeable)
          .Property("Caption", [](TCustomForm& f) { return f.Caption(); },
                    [](TCustomForm& f, const std::string& v) { f.SetCaption(v); })
          .Property("ClientHeight", [](TCustomForm& f) { return f.ClientHeight(); },
                    [](TCustomForm& f, int v) { f.SetClientHeight(v); })
          .Property("ClientWidth", [](TCustomForm& f) { return f.ClientWidth(); },
                    [](TCustomForm& f, int v) { f.SetClientWidth(v); })
          .Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
          .Default(false)
          .Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
          .Property("OldCreateOrder", [](TCustomForm& f) { return f.oldCreateOrder_; },
                    [](TCustomForm& f, bool v) { f.oldCreateOrder_ = v; })
          .Default(false)
          .Property("PixelsPerInch", [](TCustomForm& f) { return f.pixelsPerInch_; },
                    [](TCustomForm& f, int v) { f.pixelsPerInch_ = v; })
          .Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition)
          .Default(poDesigned)
          .Property("Scaled", [](TCustomForm& f) { return f.scaled_; }, [](TCustomForm& f, bool v) { f.scaled_ = v; })
          .Default(true)
          .Property("TextHeight", [](TCustomForm& f) { return f.textHeight_; },
                    [](TCustomForm& f, int v) { f.textHeight_ = v; })
          .Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState)
          .Default(wsNormal)
          .Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
          .Property("OnActivate", [](TCustomForm& f) { return f.OnActivate; },
                    [](TCustomForm& f, TNotifyEvent e) { f.OnActivate = e; })
          .Property("OnClose", [](TCustomForm& f) { return f.OnClose; }, [](TCustomForm& f, TCloseEvent e) { f.OnClose = e; })
          .Property("OnCloseQuery", [](TCustomForm& f) { return f.OnCloseQuery; },
                    [](TCustomForm& f, TCloseQueryEvent e) { f.OnCloseQuery = e; })
          .Property("OnCreate", [](TCustomForm& f) { return f.OnCreate; },
                    [](TCustomForm& f, TNotifyEvent e) { f.OnCreate = e; })
          .Property("OnDeactivate", [](TCustomForm& f) { return f.OnDeactivate; },
                    [](TCustomForm& f, TNotifyEvent e) { f.OnDeactivate = e; })
          .Property("OnDestroy", [](TCustomForm& f) { return f.OnDestroy; },
                    [](TCustomForm& f, TNotifyEvent e) { f.OnDestroy = e; })
          .Property("OnHide", [](TCustomForm& f) { return f.OnHide; }, [](TCustomForm& f, TNotifyEvent e) { f.OnHide = e; })
          .Property("OnPaint", [](TCustomForm& f) { return f.OnPaint; },
                    [](TCustomForm& f, TNotifyEvent e) { f.OnPaint = e; })
          .Property("OnShow", [](TCustomForm& f) { return f.OnShow; }, [](TCustomForm& f, TNotifyEvent e) { f.OnShow = e; })
          .Build();
  return info;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TForm>("TForm", &TCustomForm::StaticClass()).Build();
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  TControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
  SetColor(clBtnFace);
  SetParentFont(false);
  if (Screen != nullptr) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (Screen != nullptr) Screen->RemoveForm(this);
  if (Application != nullptr) Application->FormDestroyed(this);
}

void TCustomForm::AfterConstruction() {
  if (constructed_) return;
  constructed_ = true;
  LoadFormLayout(this);
  DoCreate();
}

void TCustomForm::Loaded() {
  TCustomControl::Loaded();
  // A layout made at another resolution is scaled to the screen's.
  const int screenPpi = Screen != nullptr ? Screen->PixelsPerInch() : pixelsPerInch_;
  if (scaled_ && pixelsPerInch_ > 0 && pixelsPerInch_ != screenPpi) {
    const int clientWidth = MulDiv(ClientWidth(), screenPpi, pixelsPerInch_);
    const int clientHeight = MulDiv(ClientHeight(), screenPpi, pixelsPerInch_);
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(screenPpi, pixelsPerInch_);
    Font()->SetHeight(MulDiv(Font()->Height(), screenPpi, pixelsPerInch_));
    SetClientSize(clientWidth, clientHeight);
    EnableAlign();
    pixelsPerInch_ = screenPpi;
  }
}

void TCustomForm::BeforeDestruction() {
  if (!ComponentState().Contains(csDestroying)) {
    try {
      DoDestroy();
    } catch (...) {
      if (Application != nullptr) Application->HandleException(this);
    }
  }
  TCustomControl::BeforeDestruction();
}

[[noreturn]] void TCustomForm::BindError(const std::string& name, const TClassInfo& cls) {
  throw EComponentError(Format("Component %s of class %s not found", {name, cls.Name()}));
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  // Components without a parent first (timers, queries ...), then the controls.
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->HasParent()) proc(c);
  }
  TCustomControl::GetChildren(proc, root);
}

// ---- Window ---------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle = 0;
  switch (borderStyle_) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      params.Style |= WS_POPUP | WS_CAPTION;
      params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) params.ExStyle |= WS_EX_TOOLWINDOW;
  if (borderStyle_ != bsNone) {
    if (borderIcons_.Contains(biSystemMenu)) params.Style |= WS_SYSMENU;
    if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
      if (borderIcons_.Contains(biMinimize)) params.Style |= WS_MINIMIZEBOX;
      if (borderIcons_.Contains(biMaximize)) params.Style |= WS_MAXIMIZEBOX;
    }
  }
  params.WndParent = nullptr;
  if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm() != this &&
      Application->MainForm()->HandleAllocated())
    params.WndParent = Application->MainForm()->Handle();
  if (position_ == poDefault || position_ == poDefaultPosOnly) {
    params.X = static_cast<int>(CW_USEDEFAULT);
    params.Y = static_cast<int>(CW_USEDEFAULT);
  }
  params.WindowClass.style = CS_DBLCLKS;
  params.WindowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
}

void TCustomForm::CreateWnd() {
  TCustomControl::CreateWnd();
  if (auto* menu = dynamic_cast<TMainMenuLink*>(menu_)) ::SetMenu(Handle(), menu->MenuHandle());
}

void TCustomForm::SetMenu(TComponent* value) {
  if (value == menu_) return;
  if (value != nullptr && dynamic_cast<TMainMenuLink*>(value) == nullptr)
    throw EInvalidOperation(Format("%s is not a main menu", {value->Name()}));
  if (menu_ != nullptr) menu_->RemoveFreeNotification(this);
  menu_ = value;
  if (value != nullptr) value->FreeNotification(this);
  if (HandleAllocated()) {
    auto* menu = dynamic_cast<TMainMenuLink*>(menu_);
    ::SetMenu(Handle(), menu != nullptr ? menu->MenuHandle() : nullptr);
  }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == menu_) {
    menu_ = nullptr;
    if (HandleAllocated() && !ComponentState().Contains(csDestroying)) ::SetMenu(Handle(), nullptr);
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (value == borderIcons_) return;
  borderIcons_ = value;
  RecreateWnd();
}

TWindowState TCustomForm::WindowState() {
  if (HandleAllocated() && Visible()) {
    if (IsIconic(Handle())) return wsMinimized;
    if (IsZoomed(Handle())) return wsMaximized;
    return wsNormal;
  }
  return windowState_;
}

void TCustomForm::SetWindowState(TWindowState value) {
  windowState_ = value;
  if (HandleAllocated() && Visible()) {
    static constexpr int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    ShowWindow(Handle(), kShow[value]);
  }
}

void TCustomForm::ApplyPosition() {
  if (position_ != poScreenCenter && position_ != poDesktopCenter && position_ != poMainFormCenter &&
      position_ != poOwnerFormCenter)
    return;
  TRect area;
  TCustomForm* center = nullptr;
  if (position_ == poMainFormCenter && Application != nullptr) center = Application->MainForm();
  if (position_ == poOwnerFormCenter) center = dynamic_cast<TCustomForm*>(Owner());
  if (center != nullptr && center != this && center->HandleAllocated()) {
    RECT r{};
    GetWindowRect(center->Handle(), &r);
    area = r;
  } else {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    area = work;
    if (position_ == poDesktopCenter) area = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
  SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

bool TCustomForm::Showing() const { return Visible(); }

void TCustomForm::SetVisible(bool value) {
  if (value == Visible()) return;
  TControl::SetVisible(value);
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (Visible()) {
    HandleNeeded();
    ApplyPosition();
    DoShow();
    static constexpr int kShow[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(Handle(), kShow[windowState_]);
    UpdateWindow(Handle());
    if (activeControl_ != nullptr && activeControl_->CanFocus()) {
      ::SetFocus(activeControl_->Handle());
    } else if (TWinControl* first = FindNextControl(nullptr, true, true, false)) {
      first->SetFocus();
    }
  } else {
    DoHide();
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) SetForegroundWindow(Handle());
}

// ---- Closing and modal loop -----------------------------------------------------------------

namespace {
BOOL CALLBACK CollectEnabledWindow(HWND hwnd, LPARAM param) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}
}  // namespace

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application != nullptr && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (GetCapture() != nullptr) SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  modal_ = true;
  modalResult_ = mrNone;
  HWND previouslyActive = GetActiveWindow();
  // The other top-level windows of this thread stay disabled while the form is up.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
  HandleNeeded();
  std::erase(disabled, Handle());
  for (HWND hwnd : disabled) EnableWindow(hwnd, FALSE);
  auto restore = [&]() {
    for (HWND hwnd : disabled)
      if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    modal_ = false;
  };
  // The window that was active before gets the activation back once the form is gone.
  auto reactivate = [&]() {
    if (previouslyActive != nullptr && previouslyActive != Handle() && IsWindow(previouslyActive))
      SetActiveWindow(previouslyActive);
  };
  try {
    Show();
    while (true) {
      Application->HandleMessage();
      if (Application->Terminated()) modalResult_ = mrCancel;
      if (modalResult_ == mrNone) continue;
      // Closing a modal form asks the same questions as closing any form.
      if (!CloseQuery()) {
        modalResult_ = mrNone;
        continue;
      }
      TCloseAction action = caHide;
      DoClose(action);
      if (action == caNone) {
        modalResult_ = mrNone;
        continue;
      }
      break;
    }
    restore();
    Hide();
    reactivate();
  } catch (...) {
    restore();
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    TControl::SetVisible(false);
    reactivate();
    throw;
  }
  return modalResult_;
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMActivate(TMessage& message) {
  DefaultHandler(message);
  const bool activating = LOWORD(message.WParam) != WA_INACTIVE;
  if (activating == active_) return;
  active_ = activating;
  if (activating) {
    if (Screen != nullptr) Screen->SetActiveForm(this);
    if (activeControl_ != nullptr && activeControl_->CanFocus() && activeControl_->HandleAllocated())
      ::SetFocus(activeControl_->Handle());
    OnActivate(this);
  } else {
    OnDeactivate(this);
  }
}

void TCustomForm::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_CLOSE: WMClose(message); return;
    case WM_ACTIVATE: WMActivate(message); return;
    case CM_RELEASE: Free(); return;
    case WM_COMMAND:
      // Menu items and their accelerators (no control window in lParam).
      if (message.LParam == 0 && HIWORD(message.WParam) <= 1) {
        if (auto* menu = dynamic_cast<TMainMenuLink*>(menu_); menu != nullptr && menu->DispatchCommand(LOWORD(message.WParam)))
          return;
      }
      TCustomControl::Dispatch(message);
      return;
    case WM_INITMENUPOPUP:
      if (auto* menu = dynamic_cast<TMainMenuLink*>(menu_);
          menu != nullptr && menu->DispatchPopup(reinterpret_cast<HMENU>(message.WParam)))
        return;
      DefaultHandler(message);
      return;
    case WM_MENUSELECT:
    case WM_MENUCHAR:
      if (auto* menu = dynamic_cast<TMainMenuLink*>(menu_); menu != nullptr && menu->MenuMessage(message)) return;
      DefaultHandler(message);
      return;
    case WM_DRAWITEM:
    case WM_MEASUREITEM: {
      const UINT type = message.Msg == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->CtlType
                                                   : reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam)->CtlType;
      if (type == ODT_MENU) {
        if (auto* menu = dynamic_cast<TMainMenuLink*>(menu_); menu != nullptr && menu->MenuMessage(message)) return;
      }
      TCustomControl::Dispatch(message);
      return;
    }
    case WM_QUERYNEWPALETTE:
      // Gaining the focus: the controls' palettes go to the foreground.
      message.Result = PaletteChanged(true) ? 1 : 0;
      return;
    case WM_PALETTECHANGED:
      // Another window changed the system palette: ours follow in the background.
      if (reinterpret_cast<HWND>(message.WParam) != Handle()) PaletteChanged(false);
      return;
    case WM_THEMECHANGED:
      ThemeServices()->ApplyThemeChange();
      DefaultHandler(message);
      return;
    default: TCustomControl::Dispatch(message); return;
  }
}

void TCustomForm::Paint() { OnPaint(this); }

// ---- Focus ------------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (control != nullptr && (control == this || GetParentForm(control) != this))
    throw EInvalidOperation("Invalid active control");
  activeControl_ = control;
  if (control != nullptr && Visible() && HandleAllocated() && !ComponentState().Contains(csLoading) &&
      control->CanFocus())
    ::SetFocus(control->Handle());
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (control == nullptr) return;
  activeControl_ = control;
  if (!control->CanFocus())
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == focusedControl_) return;
  TWinControl* old = focusedControl_;
  focusedControl_ = control;
  if (control != this) activeControl_ = control;
  // Exit the old control and its parents that do not contain the new one, then enter the new
  // control's parents down to it.
  for (TWinControl* c = old; c != nullptr && c != this; c = c->Parent()) {
    if (control != nullptr && c->ContainsControl(control)) break;
    c->Perform(CM_EXIT);
  }
  std::vector<TWinControl*> entering;
  for (TWinControl* c = control; c != nullptr && c != this; c = c->Parent()) {
    if (old != nullptr && c->ContainsControl(old)) break;
    entering.push_back(c);
  }
  for (auto it = entering.rbegin(); it != entering.rend(); ++it) (*it)->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoved(TControl* control) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win == nullptr) return;
  if (activeControl_ != nullptr && win->ContainsControl(activeControl_)) activeControl_ = nullptr;
  if (focusedControl_ != nullptr && win->ContainsControl(focusedControl_)) focusedControl_ = nullptr;
}

void TCustomForm::CMDialogKey(TMessage& message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (message.CharCode()) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
          message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (activeControl_ != nullptr && activeControl_->Parent() != nullptr) {
          activeControl_->Parent()->SelectNext(activeControl_,
                                               message.CharCode() == VK_RIGHT || message.CharCode() == VK_DOWN, false);
          message.Result = 1;
        }
        return;
      default: break;
    }
  }
  TCustomControl::CMDialogKey(message);
}
