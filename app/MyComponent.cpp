// The progress sink's hidden window and its five messages.
#include "app/MyComponent.h"

#include "app/LiMessage.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/HiddenWindow.h"

TMyComponent* ProgressSink = nullptr;

namespace {

TMyComponent::TProgressObserver& Observer() {
  static TMyComponent::TProgressObserver observer;
  return observer;
}

}  // namespace

const TClassInfo& TMyComponent::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TMyComponent>("TMyComponent", &TComponent::StaticClass()).Build();
  return info;
}

TMyComponent::TMyComponent(TComponent* owner) : TComponent(owner) {
  handle_ = AllocateHWnd([this](TMessage& message) {
    message.Result = WndProc(message.Msg, message.WParam, message.LParam);
  });
}

TMyComponent::~TMyComponent() { DeallocateHWnd(handle_); }

void TMyComponent::SetObserver(TProgressObserver observer) { Observer() = std::move(observer); }

LRESULT TMyComponent::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PROGRESS_MAX:
      ProgressShowGauge(reinterpret_cast<const char*>(wParam));
      break;
    case WM_PROGRESS_TEXT:
      ProgressShowText(reinterpret_cast<const char*>(wParam));
      break;
    case WM_PROGRESS_STEP:
      StepProgress(static_cast<int>(wParam));
      break;
    case WM_PROGRESS_CLOSE:
      CloseProgress();
      break;
    case WM_PROGRESS_RESET:
      ProgressResetGauge();
      break;
    default:
      return DefWindowProcW(handle_, msg, wParam, lParam);
  }
  if (Observer()) Observer()(msg, wParam);
  return 0;
}

void StartProgressSink() {
  if (!ProgressSink) ProgressSink = new TMyComponent(nullptr);
}

void StopProgressSink() {
  delete ProgressWindow;
  delete ProgressSink;
  ProgressSink = nullptr;
}

void SendProgressMax(long long maximum) {
  if (!ProgressSink) return;
  const std::string text = IntToStr(maximum);
  SendMessageW(ProgressSink->Handle(), WM_PROGRESS_MAX, reinterpret_cast<WPARAM>(text.c_str()), 0);
}

void SendProgressText(const std::string& text) {
  if (!ProgressSink) return;
  SendMessageW(ProgressSink->Handle(), WM_PROGRESS_TEXT, reinterpret_cast<WPARAM>(text.c_str()), 0);
}

void SendProgressStep(int count) {
  if (ProgressSink) SendMessageW(ProgressSink->Handle(), WM_PROGRESS_STEP, static_cast<WPARAM>(count), 0);
}

void SendProgressClose() {
  if (ProgressSink) SendMessageW(ProgressSink->Handle(), WM_PROGRESS_CLOSE, 0, 0);
}

void SendProgressReset() {
  if (ProgressSink) SendMessageW(ProgressSink->Handle(), WM_PROGRESS_RESET, 0, 0);
}
