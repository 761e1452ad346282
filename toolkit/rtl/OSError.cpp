// Errors of the platform as exceptions: the system's message text for an error code, and
// EOSError raised with it ("System Error.  Code: 5." and the text on the next line).
#include <string>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

std::string SysErrorMessage(unsigned long code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (n != 0 && buffer) text.assign(buffer, n);
  if (buffer) LocalFree(buffer);
  // Without the trailing line break and full stop, so callers can append to it.
  while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
  return WideToUtf8(text);
}

void RaiseLastOSError(unsigned long code) {
  if (code == 0) throw EOSError("A call to an OS function failed", 0);
  throw EOSError("System Error.  Code: " + std::to_string(code) + ".\r\n" + SysErrorMessage(code),
                 code);
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }
