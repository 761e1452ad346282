// AllocateHWnd: a window class whose procedure forwards to a stored method.
#include "toolkit/ui/HiddenWindow.h"

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"

namespace {

const wchar_t kClassName[] = L"TPUtilWindow";

LRESULT CALLBACK UtilWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (method == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  try {
    (*method)(message);
  } catch (...) {
    if (Application != nullptr) Application->HandleException(nullptr);
  }
  return message.Result;
}

void RegisterUtilClass() {
  WNDCLASSW existing{};
  if (GetClassInfoW(GetModuleHandleW(nullptr), kClassName, &existing)) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = UtilWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  if (RegisterClassW(&wc) == 0) RaiseLastOSError();
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
  RegisterUtilClass();
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) RaiseLastOSError();
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(method))));
  return hwnd;
}

void DeallocateHWnd(HWND window) {
  if (window == nullptr) return;
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  delete method;
}

void DefHiddenWindowProc(HWND window, TMessage& message) {
  message.Result = DefWindowProcW(window, message.Msg, message.WParam, message.LParam);
}
