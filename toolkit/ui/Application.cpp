// TApplication: the message loop, key routing, exception reporting, message boxes, mouse
// control tracking and hints.
#include "toolkit/ui/Application.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/Thread.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/HiddenWindow.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/WinControl.h"

TApplication* Application = nullptr;

namespace {

constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;
const wchar_t kHintClass[] = L"THintWindow";

std::string ExeTitle() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ChangeFileExt(ExtractFileName(WideToUtf8(path)), "");
}

LRESULT CALLBACK HintWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT && Application != nullptr) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r{};
    GetClientRect(hwnd, &r);
    TBrushHandle back(CreateSolidBrush(ColorToRGB(Application->HintColor())));
    FillRect(dc, &r, back.Get());
    if (Screen != nullptr) {
      TSelectGuard font(dc, Screen->HintFont()->Handle());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, ColorToRGB(Screen->HintFont()->Color()));
      InflateRect(&r, -2, -1);
      const std::wstring text = Utf8ToWide(Application->ShownHint());
      DrawTextW(dc, text.c_str(), -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

std::string GetShortHint(const std::string& hint) {
  const auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
  const auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info = TClassBuilder<TApplication>("TApplication", &TComponent::StaticClass()).Build();
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner), title_(ExeTitle()), hintColor_(clInfoBk) {}

TApplication::~TApplication() {
  CancelHint();
  // Forms and other components go first, while the application's window still exists.
  DestroyComponents();
  if (handle_ != nullptr) DeallocateHWnd(handle_);
  if (hintWindow_ != nullptr) DestroyWindow(hintWindow_);
}

HWND TApplication::Handle() {
  if (handle_ == nullptr) handle_ = AllocateHWnd([this](TMessage& m) { AppWndProc(m); });
  return handle_;
}

void TApplication::AppWndProc(TMessage& message) {
  if (message.Msg == WM_TIMER) {
    if (message.WParam == kHintShowTimer) {
      KillTimer(handle_, kHintShowTimer);
      POINT p{};
      GetCursorPos(&p);
      ActivateHint(p);
    } else if (message.WParam == kHintHideTimer) {
      CancelHint();
    }
    return;
  }
  DefHiddenWindowProc(handle_, message);
}

void TApplication::FormCreated(TCustomForm* form) {
  if (mainForm_ == nullptr) mainForm_ = form;
}

void TApplication::FormDestroyed(TCustomForm* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Run() {
  if (mainForm_ != nullptr && showMainForm_) mainForm_->Show();
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND wnd = msg.hwnd;
  TWinControl* control = TWinControl::FindControl(wnd);
  while (control == nullptr && wnd != nullptr) {
    wnd = GetParent(wnd);
    control = TWinControl::FindControl(wnd);
  }
  if (control == nullptr) return false;
  return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_KEYDOWN) CancelHint();
  bool handled = false;
  try {
    handled = IsKeyMsg(msg);
  } catch (...) {
    HandleException(this);
    handled = true;
  }
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg{};
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Idle() {
  bool done = true;
  try {
    CheckSynchronize();
  } catch (...) {
    HandleException(this);
  }
  OnIdle(this, done);
  if (done && !terminated_) WaitMessage();
}

void TApplication::HandleMessage() {
  MSG msg{};
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::Terminate() {
  // Terminated follows when the loop takes the quit message, so every loop level sees it.
  PostQuitMessage(0);
}

void TApplication::HandleException(TObject* sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const EAbort&) {
    // Silent by design.
  } catch (const std::exception& e) {
    if (OnException) {
      OnException(sender, e);
    } else {
      ShowException(e);
    }
  } catch (...) {
    const Exception unknown("Unknown exception");
    if (OnException) {
      OnException(sender, unknown);
    } else {
      ShowException(unknown);
    }
  }
}

void TApplication::ShowException(const std::exception& error) {
  std::string text = error.what();
  if (!text.empty()) {
    const unsigned char last = static_cast<unsigned char>(text.back());
    if (last > '.') text += '.';
  }
  MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  if (messageBoxHook_) return messageBoxHook_(text, caption, flags);
  HWND owner = GetActiveWindow();
  return MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags);
}

// ---- Mouse control and hints ------------------------------------------------------------------

void TApplication::SetMouseControl(TControl* control) {
  if (control == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = control;
  if (old != nullptr) old->Perform(CM_MOUSELEAVE);
  CancelHint();
  if (control != nullptr) {
    control->Perform(CM_MOUSEENTER);
    SetHint(GetLongHint(control->Hint()));
    if (showHint_ && control->ShowHint() && !GetShortHint(control->Hint()).empty()) {
      hintControl_ = control;
      StartHintTimer(kHintShowTimer, hintPause_);
    }
  } else {
    SetHint("");
  }
}

void TApplication::ControlDestroyed(TControl* control) {
  if (mouseControl_ == control) mouseControl_ = nullptr;
  if (hintControl_ == control) CancelHint();
}

void TApplication::SetShowHint(bool value) {
  showHint_ = value;
  if (!value) CancelHint();
}

void TApplication::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  OnHint(this);
}

void TApplication::StartHintTimer(UINT id, int delay) { SetTimer(Handle(), id, static_cast<UINT>(std::max(delay, 1)), nullptr); }

void TApplication::ActivateHint(TPoint cursorPos) {
  if (hintControl_ == nullptr) return;
  shownHint_ = GetShortHint(hintControl_->Hint());
  if (shownHint_.empty()) return;
  WNDCLASSW existing{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), kHintClass, &existing)) {
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = HintWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = kHintClass;
    RegisterClassW(&wc);
  }
  if (hintWindow_ == nullptr)
    hintWindow_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kHintClass, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hintWindow_ == nullptr) return;
  RECT r{0, 0, 300, 0};
  {
    TWindowDC screen;
    TSelectGuard font(screen.Get(), Screen != nullptr ? Screen->HintFont()->Handle() : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = Utf8ToWide(shownHint_);
    DrawTextW(screen.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  }
  const int width = r.right - r.left + 6;
  const int height = r.bottom - r.top + 4;
  SetWindowPos(hintWindow_, HWND_TOPMOST, cursorPos.X, cursorPos.Y + 20, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hintWindow_, nullptr, TRUE);
  StartHintTimer(kHintHideTimer, hintHidePause_);
}

void TApplication::CancelHint() {
  if (handle_ != nullptr) {
    KillTimer(handle_, kHintShowTimer);
    KillTimer(handle_, kHintHideTimer);
  }
  if (hintWindow_ != nullptr) ShowWindow(hintWindow_, SW_HIDE);
  shownHint_.clear();
  hintControl_ = nullptr;
}
