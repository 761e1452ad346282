// TKxDeviceChangeHandler: the one process-wide receiver of WM_DEVICECHANGE. Its hidden
// top-level window (broadcast device messages never reach message-only windows) re-posts each
// device message to itself as message 1124, so registered handlers run on the window thread
// after the system's message was answered, in registration order. Also the drive-validation
// routine that makes the shell re-read the drive list, and its suspension count.
#pragma once

#include <functional>

#include <vector>

#include "shell/KxShellIntf.h"
#include "toolkit/classes/Object.h"

class TKxDeviceChangeHandler;

// The device message as the handlers get it (WParam holds the event code, DBT_...).
struct TKxDeviceMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A registered handler: a function with the object it belongs to. Two methods are the same
// when both fields match. DeviceChangeMethod<&TControl::DeviceChanged>(control) makes one for
// a member function taking (TKxDeviceMessage&).
struct TKxDeviceChangeMethod {
  using Code = void (*)(void* data, TKxDeviceChangeHandler* sender, TKxDeviceMessage& message);
  Code code = nullptr;
  void* data = nullptr;
  bool operator==(const TKxDeviceChangeMethod&) const = default;
};

template <auto Member, class T>
TKxDeviceChangeMethod DeviceChangeMethod(T* object) {
  return {[](void* data, TKxDeviceChangeHandler*, TKxDeviceMessage& message) {
            (static_cast<T*>(data)->*Member)(message);
          },
          object};
}

constexpr UINT KX_DEVICECHANGE_REPOST = 1124;

class TKxDeviceChangeHandler : public TObject {
 public:
  // Makes the hidden receiver window on the calling (window) thread; raises EOSError when the
  // window cannot be made.
  TKxDeviceChangeHandler();
  ~TKxDeviceChangeHandler() override;

  // Appends a handler (the same one may be registered twice and is then called twice).
  void Register(TKxDeviceChangeMethod handler);
  // Removes the first registration equal to `handler`; nothing when there is none. Safe while
  // handlers are being called: a removed handler that was not yet called is not called.
  void Unregister(TKxDeviceChangeMethod handler);
  int Count() const;

  // While inactive, device messages reach no handler.
  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  HWND Handle() const { return window_; }

  // Calls every handler in registration order. A handler's Exception goes to the shell's
  // exception handler and the next handler runs; any other exception is reported the same way
  // and ends this dispatch (the window procedure is its boundary).
  void Dispatch(TKxDeviceMessage& message);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Compact();

  std::vector<TKxDeviceChangeMethod> handlers_;
  HWND window_ = nullptr;
  bool active_ = true;
  int dispatching_ = 0;
};

// The process-wide instance, made on first use (on the window thread).
TKxDeviceChangeHandler& SharedDeviceChangeHandler();
// Frees the instance when one was made (shell shut-down).
void FreeSharedDeviceChangeHandler();

// Tells the shell to drop its cached drive information (the computer folder's GetAttributesOf
// with SFGAO_VALIDATE); nothing while validation is suspended. Raises EOleSysError when the
// computer folder cannot be had.
void ValidateDrivesFolder();
// Replaces how the computer folder is had (tests): the function gives the folder with one
// reference for the caller, or a failure. An empty function restores the shell's folder.
void SetDrivesFolderBinder(std::function<HRESULT(IShellFolder*&)> binder);
void SuspendDriveValidation();
void ResumeDriveValidation();
bool DriveValidationSuspended();
