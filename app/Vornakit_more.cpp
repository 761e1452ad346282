// The recorder's entry. Start-up order: module initialisation (text formats), program folder,
// database tables, shared connection, main window, message loop. A failure before the window
// exists ends the program with the error's message.
#include "app/Vornakit_more.h"

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/FileVersion.h"
#include "app/TextFormats.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

const wchar_t kMainClass[] = L"TFrmMain";

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

HWND CreateMainWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainClass;
  RegisterClassExW(&wc);
  const std::string caption =
      "Multi-channel temperature inspection [" + GetFileVersionText(ExecutablePath()) + "]";
  return CreateWindowExW(0, kMainClass, Utf8ToWide(caption).c_str(), WS_OVERLAPPEDWINDOW,
                         CW_USEDEFAULT, CW_USEDEFAULT, 1024, 700, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

}  // namespace

int Vornakit_more() {
  FixTextFormats();
  AppPath = ExecutableFolder();
  try {
    CreateDatabaseSchema();
    ConnectDatabase();
  } catch (const Exception& e) {
    MessageBoxW(nullptr, Utf8ToWide(e.Message()).c_str(), L"Vornakit_more",
                MB_OK | MB_ICONERROR);
    return 1;
  }
  HWND main = CreateMainWindow();
  if (!main) return 1;
  ShowWindow(main, SW_SHOWNORMAL);
  UpdateWindow(main);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
