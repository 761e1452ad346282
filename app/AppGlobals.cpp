// Definitions of the recorder's process-wide state.
#include "app/AppGlobals.h"

#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

std::string AppPath;

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) {
      buffer.resize(n);
      return WideToUtf8(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableFolder() {
  std::string path = ExecutablePath();
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
