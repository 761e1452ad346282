// TWinControl: window creation and the shared window procedure, children and their layout,
// painting of non-windowed children, focus, keyboard routing and notification reflection.
#include "toolkit/ui/WinControl.h"

#include <algorithm>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/DockTree.h"
#include "toolkit/ui/DragDock.h"

namespace {

const wchar_t kControlProp[] = L"VkControl";
TWinControl* g_creating = nullptr;
UINT g_nextChildId = 100;

}  // namespace

TCustomForm* GetParentForm(TControl* control) {
  while (control != nullptr && control->Parent() != nullptr) control = control->Parent();
  return dynamic_cast<TCustomForm*>(control);
}

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TWinControl>("TWinControl", &TControl::StaticClass())
          .Abstract()
          .Property("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered)
          .Default(false)
          .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
          .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
          .Default(false)
          .Property("OnEnter", [](TWinControl& c) { return c.OnEnter; }, [](TWinControl& c, TNotifyEvent e) { c.OnEnter = e; })
          .Property("OnExit", [](TWinControl& c) { return c.OnExit; }, [](TWinControl& c, TNotifyEvent e) { c.OnExit = e; })
          .Property("OnKeyDown", [](TWinControl& c) { return c.OnKeyDown; }, [](TWinControl& c, TKeyEvent e) { c.OnKeyDown = e; })
          .Property("OnKeyPress", [](TWinControl& c) { return c.OnKeyPress; },
                    [](TWinControl& c, TKeyPressEvent e) { c.OnKeyPress = e; })
          .Property("OnKeyUp", [](TWinControl& c) { return c.OnKeyUp; }, [](TWinControl& c, TKeyEvent e) { c.OnKeyUp = e; })
          .Build();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(new TBrush()) {
  brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
  // The dock manager may have hooked this control; it lets go while the control is whole.
  dockManager_.reset();
  // Leave the parent while still a TWinControl, so it drops this control from its tab order
  // and its form forgets it as the active control.
  if (Parent() != nullptr) Parent()->RemoveControl(this);
  if (handle_ != nullptr) DestroyHandle();
  // A parent frees the controls it still holds.
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    RemoveControl(child);
    child->Free();
  }
  delete brush_;
}

void TWinControl::DefineProperties(TFiler& filer) {
  TControl::DefineProperties(filer);
  filer.DefineProperty(
      "DesignSize",
      [this](TReader& reader) {
        reader.ReadListBegin();
        designSize_.cx = reader.ReadInteger();
        designSize_.cy = reader.ReadInteger();
        reader.ReadListEnd();
      },
      nullptr, false);
}

void TWinControl::BeforeDestruction() {
  TControl::BeforeDestruction();
  if (handle_ != nullptr) DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, kControlProp));
}

// ---- Window --------------------------------------------------------------------------------

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded() {
  if (handle_ != nullptr) return;
  if (Parent() != nullptr) Parent()->HandleNeeded();
  if (handle_ == nullptr) CreateHandle();
}

void TWinControl::SetParentWindow(HWND value) {
  if (value == parentWindow_) return;
  parentWindow_ = value;
  if (handle_ != nullptr && Parent() == nullptr) RecreateWnd();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = Utf8ToWide(text_);
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle().Contains(csAcceptsControls)) params.Style |= WS_CLIPCHILDREN;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (tabStop_) params.Style |= WS_TABSTOP;
  params.X = Left();
  params.Y = Top();
  params.Width = Width();
  params.Height = Height();
  if (Parent() != nullptr) {
    params.WndParent = Parent()->handle_;
  } else {
    params.WndParent = parentWindow_;
  }
  params.WindowClass = WNDCLASSW{};
  params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  params.WindowClass.lpfnWndProc = DefWindowProcW;
  params.WindowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  params.WindowClass.hInstance = GetModuleHandleW(nullptr);
  params.WinClassName = Utf8ToWide(ClassName());
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* className) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(nullptr, className, &wc) && !GetClassInfoW(GetModuleHandleW(nullptr), className, &wc))
    RaiseLastOSError();
  const HINSTANCE instance = params.WindowClass.hInstance;
  params.WindowClass = wc;
  params.WindowClass.hInstance = instance;
  params.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && params.WndParent == nullptr)
    throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  defWndProc_ = params.WindowClass.lpfnWndProc;
  WNDCLASSW existing{};
  const bool registered = GetClassInfoW(params.WindowClass.hInstance, params.WinClassName.c_str(), &existing) != 0;
  if (!registered || existing.lpfnWndProc != &TWinControl::InitWndProc) {
    if (registered) UnregisterClassW(params.WinClassName.c_str(), params.WindowClass.hInstance);
    WNDCLASSW wc = params.WindowClass;
    wc.lpfnWndProc = &TWinControl::InitWndProc;
    wc.lpszClassName = params.WinClassName.c_str();
    if (RegisterClassW(&wc) == 0) RaiseLastOSError();
  }
  CreateWindowHandle(params);
  if (handle_ == nullptr) RaiseLastOSError();
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  HMENU id = nullptr;
  if (params.Style & WS_CHILD) id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(g_nextChildId++ & 0xFFFF));
  g_creating = this;
  HWND hwnd = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                              params.X, params.Y, params.Width, params.Height, params.WndParent, id,
                              params.WindowClass.hInstance, params.Param);
  g_creating = nullptr;
  handle_ = hwnd;
}

void TWinControl::CreateHandle() {
  if (handle_ != nullptr) return;
  SetControlState(ControlState() + TControlState{csCreating});
  try {
    CreateWnd();
  } catch (...) {
    SetControlState(ControlState() - TControlState{csCreating});
    throw;
  }
  SetControlState(ControlState() - TControlState{csCreating});
  // Keep the platform's tab order equal to ours, then make the children's windows.
  for (TWinControl* child : tabList_)
    if (child->Visible()) child->HandleNeeded();
  for (TWinControl* child : tabList_)
    if (child->handle_ != nullptr)
      SetWindowPos(child->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Realign();
}

void TWinControl::DestroyWnd() {
  if (handle_ == nullptr) return;
  text_ = GetText();
  HWND hwnd = handle_;
  DestroyWindow(hwnd);
  if (handle_ == hwnd) {
    RemovePropW(hwnd, kControlProp);
    handle_ = nullptr;
  }
}

void TWinControl::DestroyChildHandles() {
  for (TControl* child : controls_)
    if (auto* win = dynamic_cast<TWinControl*>(child); win != nullptr && win->handle_ != nullptr) win->DestroyHandle();
}

void TWinControl::DestroyHandle() {
  if (handle_ == nullptr) return;
  SetControlState(ControlState() + TControlState{csDestroyingHandle});
  DestroyChildHandles();
  DestroyWnd();
  SetControlState(ControlState() - TControlState{csDestroyingHandle});
}

void TWinControl::RecreateWnd() {
  if (handle_ == nullptr) return;
  const bool wasShown = IsWindowVisible(handle_) != FALSE;
  DestroyHandle();
  HandleNeeded();
  // Top-level windows are made hidden; one that was on screen comes back.
  if (wasShown && !IsWindowVisible(handle_)) ShowWindow(handle_, SW_SHOWNA);
}

LRESULT CALLBACK TWinControl::InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetPropW(hwnd, kControlProp));
  if (control == nullptr && g_creating != nullptr) {
    control = g_creating;
    g_creating = nullptr;
    control->handle_ = hwnd;
    SetPropW(hwnd, kControlProp, control);
  }
  if (control == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  try {
    control->windowProc_(message);
  } catch (...) {
    if (Application != nullptr) {
      Application->HandleException(control);
    }
  }
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kControlProp);
    if (control->handle_ == hwnd) control->handle_ = nullptr;
  }
  return message.Result;
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (handle_ == nullptr) return;
  switch (message.Msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      // The child paints in its own colours.
      HWND child = reinterpret_cast<HWND>(message.LParam);
      if (TWinControl* control = FindControl(child); control != nullptr && control != this) {
        message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
        return;
      }
      break;
    }
    default: break;
  }
  message.Result = CallWindowProcW(defWndProc_ ? defWndProc_ : DefWindowProcW, handle_, message.Msg, message.WParam,
                                   message.LParam);
}

// ---- Messages -------------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& message) {
  if (DragMessage(this, message)) return;
  const UINT msg = message.Msg;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) {
    if (dockManager_ && dockManager_->MouseMessage(message)) return;
    const TPoint pos{message.XPos(), message.YPos()};
    TControl* target = nullptr;
    if (captureControl_ != nullptr && GetCapture() == handle_) {
      target = captureControl_;
    } else {
      captureControl_ = nullptr;
      target = ControlAtPos(pos);
    }
    if (msg == WM_MOUSEMOVE && Application != nullptr) {
      Application->SetMouseControl(target != nullptr ? target : this);
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle_, 0};
      if (handle_ != nullptr) TrackMouseEvent(&track);
    }
    if (target != nullptr) {
      TMessage forwarded = message;
      forwarded.LParam = MAKELPARAM(pos.X - target->Left(), pos.Y - target->Top());
      target->windowProc_(forwarded);
      message.Result = forwarded.Result;
      if ((msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) && GetCapture() != handle_)
        captureControl_ = nullptr;
      return;
    }
  }
  if (msg == WM_CONTEXTMENU && handle_ != nullptr && message.LParam != -1) {
    // A non-windowed child under the mouse answers first.
    POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    ::ScreenToClient(handle_, &p);
    if (TControl* child = ControlAtPos(TPoint(p)); child != nullptr) {
      TMessage forwarded = message;
      child->windowProc_(forwarded);
      if (forwarded.Result != 0) {
        message.Result = forwarded.Result;
        return;
      }
    }
  }
  TControl::WndProc(message);
}

void TWinControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: WMPaint(message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(message); return;
    case WM_SIZE: WMSize(message); return;
    case WM_SETFOCUS: WMSetFocus(message); return;
    case WM_KILLFOCUS: WMKillFocus(message); return;
    case WM_SETCURSOR: WMSetCursor(message); return;
    case WM_MOUSELEAVE: WMMouseLeave(message); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(message); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(message); return;
    case WM_CHAR: WMChar(message); return;
    case WM_MOUSEWHEEL: message.Result = Perform(CM_MOUSEWHEEL, message.WParam, message.LParam); return;
    case WM_SYSCOLORCHANGE:
      // Colours resolved from system colours are stale: tell every control.
      if (Parent() == nullptr) Perform(CM_SYSCOLORCHANGE);
      DefaultHandler(message);
      return;
    case CM_SYSCOLORCHANGE:
      brush_->Refresh();
      NotifyControls(CM_SYSCOLORCHANGE);
      TControl::Dispatch(message);
      return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL: WMCommandReflect(message); return;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: WMCtlColor(message); return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(message); return;
    case CN_CHAR:
    case CN_SYSCHAR: CNChar(message); return;
    case CM_DIALOGKEY: CMDialogKey(message); return;
    case CM_DIALOGCHAR: CMDialogChar(message); return;
    case CM_ENTER: CMEnter(message); return;
    case CM_EXIT: CMExit(message); return;
    case CM_FOCUSCHANGED: CMFocusChanged(message); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(message); return;
    default: TControl::Dispatch(message); return;
  }
}

void TWinControl::WMCommandReflect(TMessage& message) {
  HWND child = nullptr;
  switch (message.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL: child = reinterpret_cast<HWND>(message.LParam); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom; break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      if (item->CtlType != ODT_MENU) child = item->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      if (item->CtlType != ODT_MENU && handle_ != nullptr) child = GetDlgItem(handle_, static_cast<int>(item->CtlID));
      break;
    }
    case WM_DELETEITEM: child = reinterpret_cast<DELETEITEMSTRUCT*>(message.LParam)->hwndItem; break;
    case WM_COMPAREITEM: child = reinterpret_cast<COMPAREITEMSTRUCT*>(message.LParam)->hwndItem; break;
    default: break;
  }
  if (TWinControl* control = FindControl(child); control != nullptr && control != this) {
    message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
    return;
  }
  DefaultHandler(message);
}

void TWinControl::WMCtlColor(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  message.Result = reinterpret_cast<LRESULT>(brush_->Handle());
}

void TWinControl::WMPaint(TMessage& message) {
  if (message.WParam != 0) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    PaintWindow(dc);
    PaintControls(dc, nullptr);
    if (dockManager_) dockManager_->PaintSite(dc);
    return;
  }
  bool graphicChildren = false;
  for (TControl* c : controls_)
    if (dynamic_cast<TWinControl*>(c) == nullptr && c->Visible()) graphicChildren = true;
  if (!graphicChildren && !doubleBuffered_ && !dockManager_ && !ControlState().Contains(csCustomPaint)) {
    DefaultHandler(message);
    return;
  }
  PaintHandler(message);
}

void TWinControl::PaintHandler(TMessage& message) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(handle_, &ps);
  try {
    if (doubleBuffered_) {
      const TRect client = ClientRect();
      TMemoryDC memDC = TMemoryDC::Create(dc);
      TBitmapHandle buffer(CheckGdi(CreateCompatibleBitmap(dc, std::max(client.Width(), 1), std::max(client.Height(), 1))));
      TSelectGuard select(memDC.Get(), buffer.Get());
      // wParam = lParam marks the erase as the buffer's own (see WMEraseBkgnd).
      Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memDC.Get()), reinterpret_cast<LPARAM>(memDC.Get()));
      {
        TSavedDC saved(memDC.Get());
        PaintWindow(memDC.Get());
      }
      PaintControls(memDC.Get(), nullptr);
      if (dockManager_) dockManager_->PaintSite(memDC.Get());
      BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
             memDC.Get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    } else {
      {
        TSavedDC saved(dc);
        PaintWindow(dc);
      }
      PaintControls(dc, nullptr);
      if (dockManager_) dockManager_->PaintSite(dc);
    }
  } catch (...) {
    EndPaint(handle_, &ps);
    throw;
  }
  EndPaint(handle_, &ps);
  message.Result = 0;
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(message);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first != nullptr) {
    it = std::find(controls_.begin(), controls_.end(), first);
    if (it == controls_.end()) it = controls_.begin();
  }
  RECT clip{};
  GetClipBox(dc, &clip);
  for (; it != controls_.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) != nullptr || !c->Visible()) continue;
    const RECT bounds = c->BoundsRect();
    RECT overlap{};
    if (!IntersectRect(&overlap, &bounds, &clip)) continue;
    TSavedDC saved(dc);
    POINT old{};
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), &old);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  HandleNeeded();
  TSavedDC saved(dc);
  OffsetViewportOrgEx(dc, x, y, nullptr);
  IntersectClipRect(dc, 0, 0, Width(), Height());
  // Wide-open DC: erase and paint as a printing request would.
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  for (TControl* c : controls_) {
    auto* win = dynamic_cast<TWinControl*>(c);
    if (win != nullptr && win->Visible()) win->PaintTo(dc, win->Left(), win->Top());
  }
}

void TWinControl::ChangeScale(int m, int d) {
  if (m == d || d == 0) return;
  DisableAlign();
  try {
    for (TControl* c : std::vector<TControl*>(controls_)) c->ChangeScale(m, d);
    TControl::ChangeScale(m, d);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
  if (doubleBuffered_ && message.WParam != static_cast<WPARAM>(message.LParam)) {
    message.Result = 1;  // the paint handler erases the buffer instead
    return;
  }
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  const RECT r = ClientRect();
  FillRect(dc, &r, brush_->Handle());
  message.Result = 1;
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
  if (handle_ != nullptr && !IsIconic(handle_)) {
    RECT r{};
    GetWindowRect(handle_, &r);
    if (HWND parent = GetParent(handle_); parent != nullptr && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)) {
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    const bool resized = (r.right - r.left) != Width() || (r.bottom - r.top) != Height();
    const bool moved = r.left != Left() || r.top != Top();
    DefaultHandler(message);
    if (resized || moved) {
      TControl::left_ = r.left;
      TControl::top_ = r.top;
      TControl::width_ = r.right - r.left;
      TControl::height_ = r.bottom - r.top;
      UpdateAnchorRules();
    }
    if (resized) {
      Realign();
      if (!ComponentState().Contains(csLoading)) Resize();
    }
    return;
  }
  DefaultHandler(message);
}

void TWinControl::WMSize(TMessage& message) { DefaultHandler(message); }

void TWinControl::WMSetFocus(TMessage& message) {
  DefaultHandler(message);
  if (TCustomForm* form = GetParentForm(this); form != nullptr) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& message) { DefaultHandler(message); }

void TWinControl::WMSetCursor(TMessage& message) {
  if (reinterpret_cast<HWND>(message.WParam) == handle_ && LOWORD(message.LParam) == HTCLIENT && Screen != nullptr) {
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault) {
      POINT p{};
      GetCursorPos(&p);
      ::ScreenToClient(handle_, &p);
      TControl* control = ControlAtPos(TPoint(p));
      cursor = control != nullptr ? control->Cursor() : Cursor();
    }
    if (cursor != crDefault) {
      ::SetCursor(Screen->Cursors(cursor));
      message.Result = 1;
      return;
    }
  }
  DefaultHandler(message);
}

void TWinControl::WMMouseLeave(TMessage& message) {
  if (Application != nullptr) {
    // Windowed children track their own leaving; this window answers for itself and the
    // children it draws.
    TControl* current = Application->MouseControl();
    if (current == this ||
        (current != nullptr && current->Parent() == this && dynamic_cast<TWinControl*>(current) == nullptr))
      Application->SetMouseControl(nullptr);
  }
  DefaultHandler(message);
}

void TWinControl::CMShowingChanged(TMessage&) {
  if (handle_ != nullptr) ShowWindow(handle_, Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::CMVisibleChanged(TMessage& message) {
  TControl::CMVisibleChanged(message);
  if (Visible() && Parent() != nullptr && Parent()->HandleAllocated()) HandleNeeded();
  Perform(CM_SHOWINGCHANGED);
}

void TWinControl::SetVisible(bool value) { TControl::SetVisible(value); }

void TWinControl::CMEnabledChanged(TMessage& message) {
  if (!Enabled() && Focused() && Parent() != nullptr) {
    if (TCustomForm* form = GetParentForm(this)) form->SelectNext(this, true, true);
  }
  if (handle_ != nullptr) EnableWindow(handle_, Enabled());
  TControl::CMEnabledChanged(message);
}

void TWinControl::CMColorChanged(TMessage& message) {
  brush_->SetColor(Color());
  NotifyControls(CM_PARENTCOLORCHANGED);
  TControl::CMColorChanged(message);
}

void TWinControl::CMFontChanged(TMessage& message) {
  if (handle_ != nullptr) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
  TControl::CMFontChanged(message);
}

// ---- Keyboard ------------------------------------------------------------------------------

bool TWinControl::DoKeyDown(TMessage& message) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(message))
    return true;
  WORD key = static_cast<WORD>(message.WParam);
  const TShiftState shift = KeyDataToShiftState(message.LParam);
  if (!ControlStyle().Contains(csNoStdEvents)) {
    KeyDown(key, shift);
    if (key == 0) return true;
  }
  message.WParam = key;
  return false;
}

bool TWinControl::DoKeyUp(TMessage& message) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(message))
    return true;
  WORD key = static_cast<WORD>(message.WParam);
  const TShiftState shift = KeyDataToShiftState(message.LParam);
  if (!ControlStyle().Contains(csNoStdEvents)) {
    KeyUp(key, shift);
    if (key == 0) return true;
  }
  message.WParam = key;
  return false;
}

bool TWinControl::DoKeyPress(TMessage& message) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(message))
    return true;
  wchar_t key = static_cast<wchar_t>(message.WParam);
  if (!ControlStyle().Contains(csNoStdEvents)) {
    KeyPress(key);
    if (key == 0) return true;
  }
  message.WParam = static_cast<WPARAM>(key);
  return false;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(WORD& key, TShiftState shift) { OnKeyUp(this, key, shift); }
void TWinControl::KeyPress(wchar_t& key) { OnKeyPress(this, key); }

void TWinControl::WMKeyDown(TMessage& message) {
  if (!DoKeyDown(message)) DefaultHandler(message);
}

void TWinControl::WMKeyUp(TMessage& message) {
  if (!DoKeyUp(message)) DefaultHandler(message);
}

void TWinControl::WMChar(TMessage& message) {
  if (!DoKeyPress(message)) DefaultHandler(message);
}

void TWinControl::CNKeyDown(TMessage& message) {
  message.Result = 1;
  const WORD key = message.CharCode();
  LRESULT mask = 0;
  switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (mask != 0 && Perform(CM_WANTSPECIALKEY, key) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0) {
    if (TCustomForm* form = GetParentForm(this);
        form != nullptr && form->Perform(CM_DIALOGKEY, key, message.LParam) != 0)
      return;
  }
  message.Result = 0;
}

void TWinControl::CNChar(TMessage& message) {
  message.Result = 1;
  if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
    if (TCustomForm* form = GetParentForm(this);
        form != nullptr && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0)
      return;
  }
  message.Result = 0;
}

// ---- Bounds and text ------------------------------------------------------------------------

TRect TWinControl::AlignedClientRect() {
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  return rect;
}

TRect TWinControl::ClientRect() {
  if (handle_ != nullptr) {
    RECT r{};
    GetClientRect(handle_, &r);
    return r;
  }
  // Without a window: the bounds less the frame the styles will give the window.
  TCreateParams params;
  CreateParams(params);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, params.Style, WindowHasMenu() ? TRUE : FALSE, params.ExStyle);
  return Rect(0, 0, std::max(0, Width() - static_cast<int>(frame.right - frame.left)),
              std::max(0, Height() - static_cast<int>(frame.bottom - frame.top)));
}

void TWinControl::SetClientSize(int width, int height) {
  const TRect client = ClientRect();
  SetBounds(Left(), Top(), Width() + width - client.Width(), Height() + height - client.Height());
}

TPoint TWinControl::ClientOrigin() {
  if (handle_ != nullptr) {
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return p;
  }
  return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (handle_ != nullptr && !IsIconic(handle_)) {
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateAnchorRules();
    RequestAlign();
    return;
  }
  const bool resized = width != Width() || height != Height();
  TControl::SetBounds(left, top, width, height);
  if (resized) Realign();
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (Parent() != nullptr) return Parent()->Showing();
  return parentWindow_ != nullptr || (handle_ != nullptr && IsWindowVisible(handle_));
}

std::string TWinControl::GetText() {
  if (handle_ == nullptr) return text_;
  const int length = GetWindowTextLengthW(handle_);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(handle_, buffer.data(), length + 1);
  buffer.resize(static_cast<size_t>(std::max(got, 0)));
  return WideToUtf8(buffer);
}

void TWinControl::SetText(const std::string& value) {
  if (GetText() == value) return;
  text_ = value;
  if (handle_ != nullptr) SetWindowTextW(handle_, Utf8ToWide(value).c_str());
  Perform(CM_TEXTCHANGED);
}

void TWinControl::Invalidate() {
  if (handle_ != nullptr) InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

bool TWinControl::PaletteChanged(bool foreground) {
  if (!Visible()) return false;
  bool result = false;
  for (int i = ControlCount() - 1; i >= 0; --i) {
    if (Controls(i)->PaletteChanged(foreground)) result = true;
    if (result && foreground) return true;
  }
  return result || TControl::PaletteChanged(foreground);
}

HDC TWinControl::GetDeviceContext(HWND& window) {
  window = Handle();
  return GetDC(window);
}

void TWinControl::Update() {
  if (handle_ != nullptr) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

// ---- Children -------------------------------------------------------------------------------

bool TWinControl::ContainsControl(TControl* control) const {
  for (TControl* c = control; c != nullptr; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && dynamic_cast<TWinControl*>(c) != nullptr) continue;
    if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    if (!c->BoundsRect().Contains(pos)) continue;
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(pos.X - c->Left(), pos.Y - c->Top())) != 0) return c;
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  controls_.push_back(control);
  if (auto* win = dynamic_cast<TWinControl*>(control)) tabList_.push_back(win);
  if (!control->ComponentState().Contains(csReading)) {
    control->Perform(CM_PARENTFONTCHANGED);
    control->Perform(CM_PARENTCOLORCHANGED);
    control->Perform(CM_PARENTSHOWHINTCHANGED);
  }
  control->UpdateAnchorRules();
  if (auto* win = dynamic_cast<TWinControl*>(control); win != nullptr && handle_ != nullptr && win->Visible())
    win->HandleNeeded();
  if (handle_ != nullptr && dynamic_cast<TWinControl*>(control) == nullptr) control->Invalidate();
  Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(control);
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (win->handle_ != nullptr) win->DestroyHandle();
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), win), tabList_.end());
  } else {
    control->Invalidate();
  }
  if (captureControl_ == control) captureControl_ = nullptr;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  control->parent_ = nullptr;
  if (!ComponentState().Contains(csDestroying)) Realign();
}

void TWinControl::Broadcast(TMessage& message) {
  // Copy: a handler may change the list.
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) {
    c->windowProc_(message);
    if (message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT msg) {
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) c->Perform(msg);
}

void TWinControl::EnableAlign() {
  if (--alignLevel_ == 0 && ControlState().Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  if (alignLevel_ > 0 || realigning_ || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDestroying)) {
    SetControlState(ControlState() + TControlState{csAlignmentNeeded});
    return;
  }
  realigning_ = true;
  try {
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    AlignControls(nullptr, rect);
  } catch (...) {
    realigning_ = false;
    throw;
  }
  realigning_ = false;
  SetControlState(ControlState() - TControlState{csAlignmentNeeded});
}

void TWinControl::DoAlign(TAlign align, TRect& rect) {
  std::vector<TControl*> list;
  for (TControl* c : controls_)
    if (c->Align() == align && c->Visible()) list.push_back(c);
  std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
    switch (align) {
      case alTop: return a->Top() < b->Top();
      case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
      case alLeft: return a->Left() < b->Left();
      case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
      default: return false;
    }
  });
  for (TControl* c : list) {
    const int w = c->Width();
    const int h = c->Height();
    switch (align) {
      case alTop:
        c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
        rect.Top += c->Height();
        break;
      case alBottom:
        c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
        rect.Bottom -= c->Height();
        break;
      case alLeft:
        c->SetBounds(rect.Left, rect.Top, w, rect.Height());
        rect.Left += c->Width();
        break;
      case alRight:
        c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
        rect.Right -= c->Width();
        break;
      case alClient: c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); break;
      default: break;
    }
  }
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  const TRect client = rect;
  DoAlign(alTop, rect);
  DoAlign(alBottom, rect);
  DoAlign(alLeft, rect);
  DoAlign(alRight, rect);
  DoAlign(alClient, rect);
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->Align() != alNone) continue;
    if (dockManager_ && dockManager_->Contains(c)) continue;  // placed by the dock manager
    c->ApplyAnchors(client.Width() + client.Left, client.Height() + client.Top);
  }
  if (dockManager_) dockManager_->ResetBounds(false);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TControl* c : controls_)
    if (c->Owner() == root) proc(c);
}

// ---- Focus ----------------------------------------------------------------------------------

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_ != nullptr) {
    LONG style = GetWindowLongW(handle_, GWL_STYLE);
    style = value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongW(handle_, GWL_STYLE, style);
  }
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  const auto& list = Parent()->tabList_;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (Parent() == nullptr) return;
  auto& list = Parent()->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (value < 0 || value > static_cast<int>(list.size())) value = static_cast<int>(list.size());
  list.insert(list.begin() + value, this);
}

std::vector<TWinControl*> TWinControl::TabList() const { return tabList_; }

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return Visible() && Enabled() && (Parent() == nullptr ? handle_ != nullptr : true);
  for (TControl* c = this; c != nullptr; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
    if (c == form) break;
  }
  return true;
}

bool TWinControl::Focused() const { return handle_ != nullptr && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) {
    form->FocusControl(this);
    return;
  }
  ::SetFocus(Handle());
}

namespace {
void CollectTabOrder(TWinControl* parent, std::vector<TWinControl*>& out) {
  for (TWinControl* c : parent->TabList()) {
    out.push_back(c);
    CollectTabOrder(c, out);
  }
}
}  // namespace

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) {
  std::vector<TWinControl*> list;
  CollectTabOrder(this, list);
  if (list.empty()) return nullptr;
  auto it = std::find(list.begin(), list.end(), current);
  int start = it == list.end() ? (goForward ? static_cast<int>(list.size()) - 1 : 0) : static_cast<int>(it - list.begin());
  const int n = static_cast<int>(list.size());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == current) break;
    if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}
