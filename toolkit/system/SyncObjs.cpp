// Critical section and event wrappers over the platform's objects; see SyncObjs.h.
#include "toolkit/system/SyncObjs.h"

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

TCriticalSection::TCriticalSection() { InitializeCriticalSection(&section_); }

TCriticalSection::~TCriticalSection() { DeleteCriticalSection(&section_); }

THandleObject::~THandleObject() {
  if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

TWaitResult THandleObject::WaitFor(DWORD timeoutMs) {
  const DWORD result = WaitForSingleObject(handle_, timeoutMs);
  switch (result) {
    case WAIT_OBJECT_0:
      lastError_ = 0;
      return wrSignaled;
    case WAIT_TIMEOUT:
      lastError_ = 0;
      return wrTimeout;
    case WAIT_ABANDONED:
      lastError_ = 0;
      return wrAbandoned;
    case WAIT_IO_COMPLETION:
      lastError_ = 0;
      return wrIOCompletion;
    default:
      lastError_ = GetLastError();
      return wrError;
  }
}

namespace {

HANDLE CreateEventOrRaise(bool manualReset, bool initialState, const std::string& name) {
  const std::wstring wideName = Utf8ToWide(name);
  HANDLE handle = CreateEventW(nullptr, manualReset ? TRUE : FALSE, initialState ? TRUE : FALSE,
                               name.empty() ? nullptr : wideName.c_str());
  if (handle == nullptr) RaiseLastOSError();
  return handle;
}

}  // namespace

TEvent::TEvent(bool manualReset, bool initialState, const std::string& name)
    : THandleObject(CreateEventOrRaise(manualReset, initialState, name)) {}

void TEvent::SetEvent() { ::SetEvent(Handle()); }

void TEvent::ResetEvent() { ::ResetEvent(Handle()); }
