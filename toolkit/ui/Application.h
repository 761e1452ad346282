// TApplication: the program's message loop and its services. Run shows the main form and
// dispatches messages until Terminate; every loop (Run, ProcessMessages, HandleMessage, modal
// loops) runs the calls worker threads hand to the window thread when it goes idle. Key
// messages pass through the focused control first (CN_KEYDOWN/CN_CHAR, which turn unwanted
// dialog keys into CM_DIALOGKEY for the form). Exceptions that reach a window procedure or a
// timer end in HandleException: EAbort is silent, others go to OnException or the error box.
// Hints: the control under the mouse (tracked for CM_MOUSEENTER/CM_MOUSELEAVE) shows its Hint
// in a hint window after HintPause when ShowHint is on.
//
// Every message box of the toolkit (MessageBox, the error box) goes through MessageBoxHook
// when one is set, so tests and unattended runs can answer them.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/ui/Messages.h"

class TControl;
class TCustomForm;
class TWinControl;

using TExceptionEvent = TMethodEvent<TObject*, const std::exception&>;
using TIdleEvent = TMethodEvent<TObject*, bool&>;
// Replaces the platform's message box: text, caption, MB_xxx flags -> the button's ID.
using TMessageBoxHook = std::function<int(const std::string& text, const std::string& caption, UINT flags)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  void Initialize() {}
  // Makes a form of class T owned by the application (the layout read, OnCreate fired) and
  // stores it in `reference`; the first form made becomes the main form.
  template <class T>
  void CreateForm(T*& reference);
  // Registers a form made elsewhere as the main form when there is none yet.
  void FormCreated(TCustomForm* form);
  // A form going away stops being the main form.
  void FormDestroyed(TCustomForm* form);

  // Shows the main form and runs the message loop until Terminate (or the main form closes).
  void Run();
  // Processes every message waiting, then returns.
  void ProcessMessages();
  // Processes one message, or goes idle (runs handed-over calls, OnIdle) and waits for one.
  void HandleMessage();
  // Posts the quit message; Terminated becomes true when a loop takes it.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Clears Terminated (tests run several loops in one process).
  void ResetTerminated() { terminated_ = false; }

  // Reports the exception being handled (call from a catch block): EAbort silently; otherwise
  // OnException when assigned, else ShowException.
  void HandleException(TObject* sender);
  // The error box: the message (with a full stop added when it ends in a letter or digit)
  // under the application's title, with the stop icon.
  void ShowException(const std::exception& error);
  // A message box owned by the active window; answers the button's ID (IDOK ...).
  int MessageBox(const std::string& text, const std::string& caption, UINT flags = MB_OK);
  void SetMessageBoxHook(TMessageBoxHook hook) { messageBoxHook_ = std::move(hook); }

  TCustomForm* MainForm() const { return mainForm_; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  HWND Handle();
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool value) { showMainForm_ = value; }

  // ---- Hints -------------------------------------------------------------------------
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  int HintPause() const { return hintPause_; }
  void SetHintPause(int value) { hintPause_ = value; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int value) { hintHidePause_ = value; }
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor value) { hintColor_ = value; }
  // The long part of the hint of the control under the mouse (after "|").
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  // Shows the hint of the control under the mouse now / hides a shown hint.
  void ActivateHint(TPoint cursorPos);
  void CancelHint();
  // The hint window's handle while a hint is shown, else null.
  HWND HintWindow() const { return hintWindow_; }
  const std::string& ShownHint() const { return shownHint_; }

  // The control under the mouse; setting it sends CM_MOUSELEAVE / CM_MOUSEENTER.
  TControl* MouseControl() const { return mouseControl_; }
  void SetMouseControl(TControl* control);
  // A control going away: forget every reference to it.
  void ControlDestroyed(TControl* control);

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;

  // Processes one waiting message; false when none was waiting.
  bool ProcessMessage(MSG& msg);

 private:
  bool IsKeyMsg(MSG& msg);
  void Idle();
  void AppWndProc(TMessage& message);
  void StartHintTimer(UINT id, int delay);

  bool terminated_ = false;
  bool showMainForm_ = true;
  TCustomForm* mainForm_ = nullptr;
  std::string title_;
  HWND handle_ = nullptr;
  TMessageBoxHook messageBoxHook_;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  TColor hintColor_;
  std::string hint_;
  std::string shownHint_;
  HWND hintWindow_ = nullptr;
  TControl* hintControl_ = nullptr;
  TControl* mouseControl_ = nullptr;
};

// The program's one application object: made by InitControls, freed by DoneControls.
extern TApplication* Application;

// Text before / after the "|" of a hint.
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

#include "toolkit/ui/Form.h"

template <class T>
void TApplication::CreateForm(T*& reference) {
  T* form = new T(this);
  reference = form;
  try {
    form->AfterConstruction();
  } catch (...) {
    reference = nullptr;
    delete form;
    throw;
  }
  FormCreated(form);
}
