// vk_driver: steers a running recorder from outside by window messages, for scripts and the
// end-to-end tests. Commands (one per run):
//   wait  <caption-prefix> [seconds]   wait until a top-level window with that caption exists
//   close <caption-prefix> [seconds]   post WM_CLOSE to it and wait until it is gone
//   post-close <caption-prefix> [seconds]  post WM_CLOSE to it and return (it may ask first)
//   gone  <caption-prefix> [seconds]   wait until no top-level window has that caption
//   click <caption-prefix> <text> [seconds]
//                                      wait until the window has an enabled child control with
//                                      exactly that text (a button), then post it a click
//                                      (BM_CLICK to a platform button, else a left click)
//   enabled <caption-prefix> <text> [seconds]
//                                      wait until that child control exists and is enabled
//   menu <caption-prefix> <path> [seconds]
//                                      run a command of the window's main menu through the
//                                      program's own menu, by keys (Alt, arrows, Enter); the path
//                                      is "Top/Item" by captions, or "#t/#i" by positions (0-based,
//                                      separators not counted) where the menu cannot be read
//                                      from another process (exit code 3 then for captions)
//   text <caption-prefix> <current-text> <new-text> [seconds]
//                                      put a new text into the child edit showing current-text
// A leading "--pid N" limits every command to the top-level windows of process N (other programs
// may show windows with the same caption at the same time).
// Exit code 0 on success, 1 on time-out, 2 on bad usage.
#include <cwchar>
#include <cwctype>
#include <string>

#include "toolkit/system/WinApi.h"

namespace {

// The process whose windows the commands look at; 0 for any.
DWORD onlyProcess = 0;

struct Search {
  std::wstring prefix;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND wnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (onlyProcess != 0) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != onlyProcess) return TRUE;
  }
  wchar_t caption[512];
  const int n = GetWindowTextW(wnd, caption, 512);
  if (n >= static_cast<int>(s->prefix.size()) &&
      std::wcsncmp(caption, s->prefix.c_str(), s->prefix.size()) == 0) {
    s->found = wnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindByCaption(const std::wstring& prefix) {
  Search s{prefix};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

struct ChildSearch {
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK VisitChild(HWND wnd, LPARAM lp) {
  auto* s = reinterpret_cast<ChildSearch*>(lp);
  wchar_t text[512];
  GetWindowTextW(wnd, text, 512);
  if (s->text == text) {
    s->found = wnd;
    return FALSE;
  }
  return TRUE;
}

// An enabled, visible child (at any depth) of `parent` whose text is `text`.
HWND FindEnabledChild(HWND parent, const std::wstring& text) {
  ChildSearch s{text};
  EnumChildWindows(parent, VisitChild, reinterpret_cast<LPARAM>(&s));
  if (s.found && IsWindowEnabled(s.found) && IsWindowVisible(s.found)) return s.found;
  return nullptr;
}

// A menu path "Top/Item" split in two.
bool SplitPath(const std::wstring& path, std::wstring& top, std::wstring& item) {
  const size_t slash = path.find(L'/');
  if (slash == std::wstring::npos) return false;
  top = path.substr(0, slash);
  item = path.substr(slash + 1);
  return !top.empty() && !item.empty();
}

// Positions of "Top/Item" in the window's menu (items counted without separators); false when
// the menu cannot be read or has no such entry. "#n" gives the position n itself.
bool MenuPositions(HWND wnd, const std::wstring& top, const std::wstring& item, int& topIndex, int& itemIndex) {
  if (top[0] == L'#' && item[0] == L'#') {
    topIndex = _wtoi(top.c_str() + 1);
    itemIndex = _wtoi(item.c_str() + 1);
    return true;
  }
  HMENU bar = GetMenu(wnd);
  const int count = bar ? GetMenuItemCount(bar) : -1;
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    GetMenuStringW(bar, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    if (top != text) continue;
    HMENU popup = GetSubMenu(bar, i);
    const int items = popup ? GetMenuItemCount(popup) : -1;
    int selectable = 0;
    for (int j = 0; j < items; ++j) {
      const UINT state = GetMenuState(popup, static_cast<UINT>(j), MF_BYPOSITION);
      if (state & MF_SEPARATOR) continue;
      wchar_t entry[256] = {};
      GetMenuStringW(popup, static_cast<UINT>(j), entry, 256, MF_BYPOSITION);
      if (item == entry) {
        topIndex = i;
        itemIndex = selectable;
        return true;
      }
      ++selectable;
    }
  }
  return false;
}

void PostKey(HWND wnd, UINT key) {
  PostMessageW(wnd, WM_KEYDOWN, key, 1);
  PostMessageW(wnd, WM_KEYUP, key, 0xC0000001);
  Sleep(100);
}

// Opens the menu bar as Alt would, walks to the entry and runs it.
void RunMenuByKeys(HWND wnd, int topIndex, int itemIndex) {
  PostMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
  Sleep(300);
  for (int i = 0; i < topIndex; ++i) PostKey(wnd, VK_RIGHT);
  PostKey(wnd, VK_DOWN);  // opens the popup on its first entry
  Sleep(200);
  for (int i = 0; i < itemIndex; ++i) PostKey(wnd, VK_DOWN);
  PostKey(wnd, VK_RETURN);
}

struct EditSearch {
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK VisitEdit(HWND wnd, LPARAM lp) {
  auto* s = reinterpret_cast<EditSearch*>(lp);
  // The program's edits are platform edits under a class name of their own ("TEdit").
  wchar_t kind[64] = {};
  GetClassNameW(wnd, kind, 64);
  std::wstring name = kind;
  for (wchar_t& c : name) c = static_cast<wchar_t>(towlower(c));
  if (name.find(L"edit") == std::wstring::npos) return TRUE;
  // An edit's text lives in the control: GetWindowText of another process's window reads only
  // its caption, so ask the control itself.
  wchar_t text[512] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(wnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied))
    return TRUE;
  if (s->text != text) return TRUE;
  s->found = wnd;
  return FALSE;
}

template <class Pred>
bool WaitFor(Pred pred, double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (!pred()) {
    if (GetTickCount64() > end) return false;
    Sleep(50);
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 2 && std::wstring(argv[1]) == L"--pid") {
    onlyProcess = static_cast<DWORD>(_wtoi(argv[2]));
    argc -= 2;
    argv += 2;
  }
  if (argc < 3) {
    std::fwprintf(stderr,
                  L"usage: vk_driver [--pid N] wait|close|post-close|gone <caption-prefix> [seconds]\n"
                  L"       vk_driver [--pid N] click|enabled <caption-prefix> <control-text> [seconds]\n"
                  L"       vk_driver [--pid N] menu <caption-prefix> <Top/Item | #t/#i> [seconds]\n"
                  L"       vk_driver [--pid N] text <caption-prefix> <current-text> <new-text> [seconds]\n");
    return 2;
  }
  const std::wstring cmd = argv[1];
  const std::wstring prefix = argv[2];
  const double seconds = argc > 3 ? _wtof(argv[3]) : 30.0;
  if (cmd == L"wait") return WaitFor([&] { return FindByCaption(prefix) != nullptr; }, seconds) ? 0 : 1;
  if (cmd == L"close") {
    HWND wnd = nullptr;
    if (!WaitFor([&] { return (wnd = FindByCaption(prefix)) != nullptr; }, seconds)) return 1;
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    return WaitFor([&] { return !IsWindow(wnd); }, seconds) ? 0 : 1;
  }
  if (cmd == L"post-close") {
    HWND wnd = nullptr;
    if (!WaitFor([&] { return (wnd = FindByCaption(prefix)) != nullptr; }, seconds)) return 1;
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    return 0;
  }
  if (cmd == L"gone") return WaitFor([&] { return FindByCaption(prefix) == nullptr; }, seconds) ? 0 : 1;
  if (cmd == L"menu") {
    if (argc < 4) return 2;
    std::wstring top, item;
    if (!SplitPath(argv[3], top, item)) return 2;
    const double limit = argc > 4 ? _wtof(argv[4]) : 30.0;
    HWND wnd = nullptr;
    if (!WaitFor([&] { return (wnd = FindByCaption(prefix)) != nullptr; }, limit)) return 1;
    int topIndex = 0, itemIndex = 0;
    if (!MenuPositions(wnd, top, item, topIndex, itemIndex)) return 3;
    RunMenuByKeys(wnd, topIndex, itemIndex);
    return 0;
  }
  if (cmd == L"text") {
    if (argc < 5) return 2;
    const std::wstring current = argv[3];
    const std::wstring replacement = argv[4];
    const double limit = argc > 5 ? _wtof(argv[5]) : 30.0;
    HWND edit = nullptr;
    const bool found = WaitFor(
        [&] {
          HWND wnd = FindByCaption(prefix);
          if (!wnd) return false;
          EditSearch search{current};
          EnumChildWindows(wnd, VisitEdit, reinterpret_cast<LPARAM>(&search));
          return (edit = search.found) != nullptr;
        },
        limit);
    if (!found) return 1;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(replacement.c_str()));
    return 0;
  }
  if (cmd == L"click" || cmd == L"enabled") {
    if (argc < 4) return 2;
    const std::wstring text = argv[3];
    const double limit = argc > 4 ? _wtof(argv[4]) : 30.0;
    HWND control = nullptr;
    const bool found = WaitFor(
        [&] {
          HWND wnd = FindByCaption(prefix);
          return wnd && (control = FindEnabledChild(wnd, text)) != nullptr;
        },
        limit);
    if (!found) return 1;
    if (cmd == L"enabled") return 0;
    // Posted, so that a click which opens a modal window does not hold the driver. A platform
    // button takes BM_CLICK; a self-drawn one (the control set's) takes a left click in its
    // middle, as from the mouse.
    wchar_t kind[64] = {};
    GetClassNameW(control, kind, 64);
    if (_wcsicmp(kind, L"Button") == 0) {
      PostMessageW(control, BM_CLICK, 0, 0);
    } else {
      RECT r{};
      GetClientRect(control, &r);
      const LPARAM middle = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
      PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
      PostMessageW(control, WM_LBUTTONUP, 0, middle);
    }
    return 0;
  }
  return 2;
}
