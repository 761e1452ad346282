// TAnimate over SysAnimate32.
#include "toolkit/ui/Animate.h"

#include "toolkit/system/WinApi.h"

#include <commctrl.h>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

const TClassInfo& TAnimate::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TAnimate>("TAnimate", &TWinControl::StaticClass())
          .Property("Center", &TAnimate::Center, &TAnimate::SetCenter)
          .Default(true)
          .Property("FileName", &TAnimate::FileName, &TAnimate::SetFileName)
          .Property("Repetitions", &TAnimate::Repetitions, &TAnimate::SetRepetitions)
          .Default(0)
          .Property("Transparent", &TAnimate::Transparent, &TAnimate::SetTransparent)
          .Default(true)
          .Property("Active", &TAnimate::Active, &TAnimate::SetActive)
          .Default(false)
          .Property("OnOpen", [](TAnimate& a) { return a.OnOpen; }, [](TAnimate& a, TNotifyEvent e) { a.OnOpen = e; })
          .Property("OnStart", [](TAnimate& a) { return a.OnStart; },
                    [](TAnimate& a, TNotifyEvent e) { a.OnStart = e; })
          .Property("OnStop", [](TAnimate& a) { return a.OnStop; }, [](TAnimate& a, TNotifyEvent e) { a.OnStop = e; })
          .Build();
  return info;
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 100, 80); }

void TAnimate::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, ANIMATE_CLASSW);
  if (center_) params.Style |= ACS_CENTER;
  if (transparent_) params.Style |= ACS_TRANSPARENT;
}

bool TAnimate::OpenClip() {
  if (fileName_.empty()) {
    SendMessageW(Handle(), ACM_OPENW, 0, 0);
    return true;
  }
  const std::wstring name = Utf8ToWide(fileName_);
  return SendMessageW(Handle(), ACM_OPENW, 0, reinterpret_cast<LPARAM>(name.c_str())) != 0;
}

void TAnimate::CreateWnd() {
  TWinControl::CreateWnd();
  if (!fileName_.empty() && OpenClip() && active_) {
    SendMessageW(Handle(), ACM_PLAY, static_cast<WPARAM>(repetitions_ == 0 ? -1 : repetitions_), MAKELPARAM(0, 0xFFFF));
  }
}

void TAnimate::SetFileName(const std::string& value) {
  if (value == fileName_) return;
  const bool wasActive = active_;
  SetActive(false);
  fileName_ = value;
  // Without a window to open it in, the clip is opened with the window.
  if (ComponentState().Contains(csLoading) || (Parent() == nullptr && ParentWindow() == nullptr)) return;
  if (!value.empty() && !OpenClip()) {
    fileName_.clear();
    throw EInvalidOperation("Cannot open AVI");
  }
  OnOpen(this);
  if (wasActive) SetActive(true);
}

void TAnimate::SetActive(bool value) {
  if (value == active_) return;
  if (value && fileName_.empty()) return;
  active_ = value;
  if (ComponentState().Contains(csLoading) || !HandleAllocated()) return;
  if (value) {
    SendMessageW(Handle(), ACM_PLAY, static_cast<WPARAM>(repetitions_ == 0 ? -1 : repetitions_), MAKELPARAM(0, 0xFFFF));
  } else {
    SendMessageW(Handle(), ACM_STOP, 0, 0);
  }
}

void TAnimate::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TAnimate::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TAnimate::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND) {
    switch (HIWORD(message.WParam)) {
      case ACN_START: OnStart(this); break;
      case ACN_STOP:
        OnStop(this);
        break;
      default: break;
    }
    return;
  }
  TWinControl::WndProc(message);
}
