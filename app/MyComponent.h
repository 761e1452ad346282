// The progress sink: a component owning one hidden window to which long operations of the
// window thread send their progress (WM_USER+399..404). Its handler drives the progress window
// TLiMessage: creates it on the first gauge or text message, updates it, closes it. One sink
// exists for the program's life (StartProgressSink / StopProgressSink).
#pragma once

#include <functional>
#include <string>

#include "toolkit/classes/Component.h"
#include "toolkit/system/WinApi.h"

// wParam: a zero-terminated decimal text, the gauge's maximum; shows gauge and stop button.
constexpr UINT WM_PROGRESS_MAX = WM_USER + 399;
// wParam: a zero-terminated text for the label; hides gauge and stop button.
constexpr UINT WM_PROGRESS_TEXT = WM_USER + 400;
// wParam: the step count added to the gauge.
constexpr UINT WM_PROGRESS_STEP = WM_USER + 401;
// Closes the progress window.
constexpr UINT WM_PROGRESS_CLOSE = WM_USER + 403;
// Sets the gauge back to 0.
constexpr UINT WM_PROGRESS_RESET = WM_USER + 404;

class TMyComponent : public TComponent {
 public:
  // Allocates the hidden window. Raises EOSError when the platform refuses it.
  explicit TMyComponent(TComponent* owner);
  ~TMyComponent() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  HWND Handle() const { return handle_; }

  // The message handler (window thread): the five messages above; others go to the
  // platform's default handling.
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

  // Called after each of the five messages was handled (tests watch the stream with it).
  using TProgressObserver = std::function<void(UINT msg, WPARAM wParam)>;
  static void SetObserver(TProgressObserver observer);

 private:
  HWND handle_ = nullptr;
};

// The program's one sink (null before StartProgressSink and after StopProgressSink).
extern TMyComponent* ProgressSink;

// Creates the sink when none exists / frees it (closing a progress window still open).
void StartProgressSink();
void StopProgressSink();

// Senders (window thread): each sends its message synchronously to the sink's window; nothing
// happens without a sink.
void SendProgressMax(long long maximum);
void SendProgressText(const std::string& text);
void SendProgressStep(int count);
void SendProgressClose();
void SendProgressReset();
