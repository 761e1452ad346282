// The device-change receiver window, its dispatch, and drive validation.
#include "shell/KxDeviceChangeHandler.h"

#include <algorithm>
#include <exception>

#include "shell/KxIdList.h"

namespace {

constexpr wchar_t kClassName[] = L"TKxDeviceChangeReceiver";

TKxDeviceChangeHandler* shared = nullptr;
int validationSuspended = 0;

ATOM RegisterReceiverClass(WNDPROC proc) {
  static ATOM atom = 0;
  if (atom) return atom;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  atom = RegisterClassW(&wc);
  return atom;
}

}  // namespace

TKxDeviceChangeHandler::TKxDeviceChangeHandler() {
  if (!RegisterReceiverClass(&WindowProc)) RaiseLastOSError();
  // A top-level window, never shown: only those get the system's device broadcasts.
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window_) RaiseLastOSError();
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TKxDeviceChangeHandler::~TKxDeviceChangeHandler() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

LRESULT CALLBACK TKxDeviceChangeHandler::WindowProc(HWND window, UINT msg, WPARAM wParam,
                                                    LPARAM lParam) {
  auto* self = reinterpret_cast<TKxDeviceChangeHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (msg == WM_DEVICECHANGE) {
    // Answer the system first; the handlers run when the re-posted message comes round.
    PostMessageW(window, KX_DEVICECHANGE_REPOST, wParam, lParam);
  } else if (msg == KX_DEVICECHANGE_REPOST) {
    if (!self) return 0;
    TKxDeviceMessage message{msg, wParam, lParam, 0};
    try {
      self->Dispatch(message);
    } catch (const Exception& e) {
      ShellHandleException(e);
    } catch (const std::exception& e) {
      ShellHandleException(Exception(e.what()));
    } catch (...) {
      ShellHandleException(Exception("Unknown exception in device-change handler"));
    }
    return message.Result;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void TKxDeviceChangeHandler::Register(TKxDeviceChangeMethod handler) {
  handlers_.push_back(handler);
}

void TKxDeviceChangeHandler::Unregister(TKxDeviceChangeMethod handler) {
  auto it = std::find(handlers_.begin(), handlers_.end(), handler);
  if (it == handlers_.end()) return;
  if (dispatching_ > 0)
    *it = {};  // emptied now, removed when the dispatch ends
  else
    handlers_.erase(it);
}

int TKxDeviceChangeHandler::Count() const {
  return static_cast<int>(std::count_if(handlers_.begin(), handlers_.end(),
                                        [](const TKxDeviceChangeMethod& m) { return m.code; }));
}

void TKxDeviceChangeHandler::Compact() {
  handlers_.erase(std::remove(handlers_.begin(), handlers_.end(), TKxDeviceChangeMethod{}),
                  handlers_.end());
}

void TKxDeviceChangeHandler::Dispatch(TKxDeviceMessage& message) {
  if (!active_) return;
  ++dispatching_;
  struct Leave {
    TKxDeviceChangeHandler* self;
    ~Leave() {
      if (--self->dispatching_ == 0) self->Compact();
    }
  } leave{this};
  for (size_t i = 0; i < handlers_.size(); ++i) {
    const TKxDeviceChangeMethod method = handlers_[i];
    if (!method.code) continue;
    try {
      method.code(method.data, this, message);
    } catch (const Exception& e) {
      ShellHandleException(e);
    }
  }
}

TKxDeviceChangeHandler& SharedDeviceChangeHandler() {
  if (!shared) shared = new TKxDeviceChangeHandler();
  return *shared;
}

void FreeSharedDeviceChangeHandler() {
  delete shared;
  shared = nullptr;
}

namespace {
std::function<HRESULT(IShellFolder*&)> drivesFolderBinder;

HRESULT BindDrivesFolder(IShellFolder*& folder) {
  folder = nullptr;
  if (drivesFolderBinder) return drivesFolderBinder(folder);
  PIDL drives = nullptr;
  const HRESULT hr = SpecialFolderIdList(nullptr, CSIDL_DRIVES, drives);
  if (FAILED(hr)) return hr;
  TIdListPtr holdList(drives);
  return BindToFolderOfIdList(drives, folder);
}
}  // namespace

void SetDrivesFolderBinder(std::function<HRESULT(IShellFolder*&)> binder) { drivesFolderBinder = std::move(binder); }

void ValidateDrivesFolder() {
  if (validationSuspended > 0) return;
  TComRef<IShellFolder> folder;
  OleCheck(BindDrivesFolder(*folder.Put()));
  SFGAOF request = SFGAO_VALIDATE;
  folder->GetAttributesOf(0, nullptr, &request);
}

void SuspendDriveValidation() { ++validationSuspended; }

void ResumeDriveValidation() {
  if (validationSuspended > 0) --validationSuspended;
}

bool DriveValidationSuspended() { return validationSuspended > 0; }
