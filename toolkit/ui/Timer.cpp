// TTimer over SetTimer on a hidden window.
#include "toolkit/ui/Timer.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/HiddenWindow.h"

const TClassInfo& TTimer::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTimer>("TTimer", &TComponent::StaticClass())
                                     .Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                                     .Default(true)
                                     .Property("Interval", [](TTimer& t) { return static_cast<int>(t.Interval()); },
                                               [](TTimer& t, int v) { t.SetInterval(static_cast<unsigned>(v)); })
                                     .Default(1000)
                                     .Property("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer)
                                     .Build();
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  window_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TTimer::~TTimer() {
  enabled_ = false;
  KillTimer(window_, 1);
  DeallocateHWnd(window_);
}

void TTimer::WndProc(TMessage& message) {
  if (message.Msg == WM_TIMER) {
    try {
      Timer();
    } catch (...) {
      if (Application != nullptr) Application->HandleException(this);
    }
    return;
  }
  DefHiddenWindowProc(window_, message);
}

void TTimer::UpdateTimer() {
  KillTimer(window_, 1);
  if (ComponentState().Contains(csLoading)) return;
  if (enabled_ && interval_ > 0 && onTimer_.Assigned()) SetTimer(window_, 1, interval_, nullptr);
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent value) {
  onTimer_ = std::move(value);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}
