// Small platform services of the run-time library: the platform identifier, a library loader
// that keeps the process's error mode and floating-point state, the double-byte lead-byte test,
// and the abstract-call error.
#include <cfenv>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

unsigned long Win32Platform() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
  return info.dwPlatformId;
}

void* SafeLoadLibrary(std::string_view fileName, unsigned errorMode) {
  std::fenv_t fpu;
  std::fegetenv(&fpu);
  UINT previous = SetErrorMode(errorMode);
  HMODULE module = LoadLibraryW(Utf8ToWide(fileName).c_str());
  SetErrorMode(previous);
  std::fesetenv(&fpu);
  return reinterpret_cast<void*>(module);
}

bool IsLeadByte(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != 0; }

void AbstractError() { throw EAbstractError("Abstract Error"); }
