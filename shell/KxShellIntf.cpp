// COM start-up of the shell units and the OLE error exception.
#include "shell/KxShellIntf.h"

#include "toolkit/rtl/TextConv.h"

namespace {
bool comStarted = false;
}

void ShellIntfStartup() {
  if (comStarted) return;
  comStarted = SUCCEEDED(CoInitialize(nullptr));
}

void ShellIntfShutdown() {
  if (!comStarted) return;
  comStarted = false;
  CoUninitialize();
}

EOleSysError::EOleSysError(HRESULT code)
    : Exception(SysErrorMessage(static_cast<unsigned long>(code))), code_(code) {
  if (Message().empty()) SetMessage(Format("OLE error %.8X", {static_cast<unsigned>(code)}));
}

void OleCheck(HRESULT result) {
  if (FAILED(result)) throw EOleSysError(result);
}

namespace {
TKxExceptionHandler exceptionHandler = nullptr;
}

void SetShellExceptionHandler(TKxExceptionHandler handler) { exceptionHandler = handler; }

void ShellHandleException(const Exception& error) {
  if (exceptionHandler) {
    exceptionHandler(error);
    return;
  }
  MessageBoxW(nullptr, Utf8ToWide(error.Message()).c_str(), L"Error", MB_OK | MB_ICONERROR);
}
