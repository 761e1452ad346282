// TTimer: calls OnTimer every Interval milliseconds while Enabled, on the window thread (a
// WM_TIMER of its own hidden window). An exception escaping OnTimer goes to the application's
// exception handling; the timer keeps running.
#pragma once

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"
#include "toolkit/ui/Messages.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent value);
  // The hidden window receiving the timer's WM_TIMER (tests send it directly).
  HWND Handle() const { return window_; }

 protected:
  virtual void Timer() { onTimer_(this); }
  void Loaded() override;

 private:
  void UpdateTimer();
  void WndProc(TMessage& message);

  bool enabled_ = true;
  unsigned interval_ = 1000;
  TNotifyEvent onTimer_;
  HWND window_ = nullptr;
};
