// Shell context menus: creation, verbs, and the send-to submenu's owner-drawn entries.
#include "shell/KxShellMenus.h"

#include <algorithm>
#include <cwctype>

#include "shell/KxShellNames.h"
#include "toolkit/rtl/TextConv.h"

namespace {

std::vector<TKxSendToEntry>* sendTo = nullptr;

// The GCS_ string of a command offset (wide), or false when the menu gives none.
bool CommandString(IContextMenu* menu, UINT offset, UINT kind, std::string& text) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (FAILED(menu->GetCommandString(offset, kind, nullptr, reinterpret_cast<LPSTR>(buffer),
                                    MAX_PATH)))
    return false;
  text = WideToUtf8(buffer);
  return true;
}

// Whether the popup holds the send-to entries: owner-drawn items carrying an entry index.
bool IsOwnItem(ULONG_PTR data) { return data < kShellCommandFirst; }

bool IsSendToPopup(HMENU popup) {
  if (GetMenuItemCount(popup) <= 0) return false;
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
  if (!GetMenuItemInfoW(popup, 0, TRUE, &info)) return false;
  return (info.fType & MFT_OWNERDRAW) && IsOwnItem(info.dwItemData) &&
         info.wID < kShellCommandFirst;
}

void FillSendToPopup(HMENU popup) {
  DeleteMenu(popup, 0, MF_BYPOSITION);
  FillSendToMenu();
  const std::vector<TKxSendToEntry>& entries = SendToList();
  for (size_t i = 0; i < entries.size(); ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    info.fType = MFT_OWNERDRAW;
    info.wID = static_cast<UINT>(i + 1);
    info.dwItemData = i;
    InsertMenuItemW(popup, static_cast<UINT>(i), TRUE, &info);
  }
}

HFONT CreateMenuFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return CreateFontIndirectW(&metrics.lfMenuFont);
}

LRESULT MeasureItem(MEASUREITEMSTRUCT& item) {
  const std::vector<TKxSendToEntry>& entries = SendToList();
  if (item.itemData >= entries.size()) return FALSE;
  const std::wstring caption = Utf8ToWide(SendToCaption(entries[item.itemData]));
  HDC screen = GetDC(nullptr);
  HFONT font = CreateMenuFont();
  HGDIOBJ old = font ? SelectObject(screen, font) : nullptr;
  SIZE extent = {};
  GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &extent);
  if (old) SelectObject(screen, old);
  if (font) DeleteObject(font);
  ReleaseDC(nullptr, screen);
  item.itemWidth = extent.cx + 32;
  item.itemHeight = GetSystemMetrics(SM_CYMENU) + 2;
  return TRUE;
}

LRESULT DrawItem(const DRAWITEMSTRUCT& item, HIMAGELIST images) {
  const std::vector<TKxSendToEntry>& entries = SendToList();
  if (item.itemData >= entries.size()) return FALSE;
  const TKxSendToEntry& entry = entries[item.itemData];
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HDC dc = item.hDC;
  const int saved = SaveDC(dc);
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  HFONT font = CreateMenuFont();
  if (font) SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const std::wstring caption = Utf8ToWide(SendToCaption(entry));
  TextOutW(dc, item.rcItem.left + 32, item.rcItem.top + 2, caption.c_str(),
           static_cast<int>(caption.size()));
  if (entry.IconIndex >= 0 && images)
    ImageList_Draw(images, entry.IconIndex, dc, item.rcItem.left + 8, item.rcItem.top + 2,
                   ILD_TRANSPARENT);
  RestoreDC(dc, saved);
  if (font) DeleteObject(font);
  return TRUE;
}

int HighlightedItem(HMENU popup) {
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i)
    if (GetMenuState(popup, i, MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

bool HandleMessage(IContextMenu* menu, HIMAGELIST images, UINT msg, WPARAM wParam,
                   LPARAM lParam, LRESULT& result, TKxPopupHintFn hint, void* hintData) {
  TComRef<IContextMenu2> menu2;
  if (menu) menu->QueryInterface(IID_IContextMenu2, menu2.PutVoid());
  switch (msg) {
    case WM_INITMENUPOPUP: {
      if (menu2) {
        menu2->HandleMenuMsg(msg, wParam, lParam);
        result = 0;
        return true;
      }
      HMENU popup = reinterpret_cast<HMENU>(wParam);
      if (GetMenuItemCount(popup) == 1 && (GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED)) {
        FillSendToPopup(popup);
        result = 0;
        return true;
      }
      return false;
    }
    case WM_MEASUREITEM: {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_MENU) return false;
      if (IsOwnItem(item.itemData)) {
        result = MeasureItem(item);
        return true;
      }
      if (menu2 && SUCCEEDED(menu2->HandleMenuMsg(msg, wParam, lParam))) {
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_MENU) return false;
      if (IsOwnItem(item.itemData)) {
        result = DrawItem(item, images);
        return true;
      }
      if (menu2 && SUCCEEDED(menu2->HandleMenuMsg(msg, wParam, lParam))) {
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_MENUCHAR: {
      HMENU popup = reinterpret_cast<HMENU>(lParam);
      if (!(HIWORD(wParam) & MF_POPUP) || !IsSendToPopup(popup)) return false;
      result = SendToMenuChar(SendToList(), static_cast<wchar_t>(LOWORD(wParam)),
                              HighlightedItem(popup));
      return true;
    }
    case WM_MENUSELECT: {
      if (!hint) return false;
      const UINT id = LOWORD(wParam), flags = HIWORD(wParam);
      std::string text;
      if (menu && id >= kShellCommandFirst && !(flags & (MF_POPUP | MF_SYSMENU)) &&
          !CommandString(menu, id - kShellCommandFirst, GCS_HELPTEXTW, text))
        text.clear();
      hint(hintData, text);
      return false;  // the default handling still runs
    }
    default:
      return false;
  }
}

}  // namespace

HRESULT ShellContextMenuFor(HWND owner, IShellFolder* folder, UINT count, PCIDL* items,
                            UINT flags, UINT firstId, IContextMenu*& menu, HMENU& popup) {
  menu = nullptr;
  popup = nullptr;
  TComRef<IContextMenu> made;
  HRESULT hr = folder->GetUIObjectOf(owner, count, items, IID_IContextMenu, nullptr,
                                     made.PutVoid());
  if (FAILED(hr)) return hr;
  HMENU filled = CreatePopupMenu();
  if (!filled) return HRESULT_FROM_WIN32(GetLastError());
  hr = made->QueryContextMenu(filled, 0, firstId, 0x7FFF, flags);
  if (FAILED(hr)) {
    DestroyMenu(filled);
    throw EOleSysError(hr);
  }
  menu = made.Detach();
  popup = filled;
  return hr;
}

int FindVerbCommand(IContextMenu* menu, const std::string& verb) {
  HMENU popup = CreatePopupMenu();
  if (!popup) return -1;
  int found = -1;
  if (SUCCEEDED(menu->QueryContextMenu(popup, 0, kShellCommandFirst, 0x7FFF, CMF_EXPLORE))) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count && found < 0; ++i) {
      const UINT id = GetMenuItemID(popup, i);
      if (id == UINT(-1) || id < kShellCommandFirst) continue;
      std::string text;
      if (CommandString(menu, id - kShellCommandFirst, GCS_VERBW, text) &&
          AnsiCompareText(text, verb) == 0)
        found = static_cast<int>(id - kShellCommandFirst);
    }
  }
  DestroyMenu(popup);
  return found;
}

HRESULT InvokeShellVerb(HWND owner, IContextMenu* menu, const std::string& verb) {
  const int offset = FindVerbCommand(menu, verb);
  if (offset < 0) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  return InvokeShellVerb(owner, menu, offset);
}

HRESULT InvokeShellVerb(HWND owner, IContextMenu* menu, int offset) {
  CMINVOKECOMMANDINFO info = {};
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.nShow = SW_SHOWNORMAL;
  return menu->InvokeCommand(&info);
}

std::vector<TKxSendToEntry>& SendToList() {
  if (!sendTo) sendTo = new std::vector<TKxSendToEntry>();
  return *sendTo;
}

void FreeSendToList() {
  delete sendTo;
  sendTo = nullptr;
}

std::string SendToCaption(const TKxSendToEntry& entry) {
  const std::string ext = ExtractFileExt(entry.Name);
  return entry.Name.substr(0, entry.Name.size() - ext.size());
}

void FillSendToMenu() {
  std::vector<TKxSendToEntry>& entries = SendToList();
  entries.clear();
  const std::string folder = SpecialFolderPath(nullptr, CSIDL_SENDTO);
  if (folder.empty()) return;
  const std::string base = AppendSeparatorOnce(folder, '\\');
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW(Utf8ToWide(base + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) continue;
    TKxSendToEntry entry;
    entry.Name = WideToUtf8(found.cFileName);
    PIDL list = nullptr;
    if (SUCCEEDED(IdListFromPath(base + entry.Name, list)) && list) {
      TIdListPtr hold(list);
      SHFILEINFOW info = {};
      if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list), 0, &info, sizeof info,
                         SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        entry.IconIndex = info.iIcon;
      else
        entry.IconIndex = 0;
    }
    entries.push_back(std::move(entry));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TKxSendToEntry& a, const TKxSendToEntry& b) {
                     return AnsiCompareText(a.Name, b.Name) < 0;
                   });
}

LRESULT SendToMenuChar(const std::vector<TKxSendToEntry>& entries, wchar_t typed,
                       int highlighted) {
  const int count = static_cast<int>(entries.size());
  const wint_t key = std::towupper(typed);
  auto startsWith = [&](int i) {
    const std::wstring name = Utf8ToWide(entries[i].Name);
    return !name.empty() && std::towupper(name[0]) == key;
  };
  int first = -1, matches = 0;
  const int start = (highlighted >= 0 && highlighted < count) ? highlighted + 1 : 0;
  for (int n = 0; n < count; ++n) {
    const int i = (start + n) % count;
    if (!startsWith(i)) continue;
    if (first < 0) first = i;
    ++matches;
  }
  if (first < 0) return MAKELRESULT(0, MNC_CLOSE);
  return MAKELRESULT(first, matches > 1 ? MNC_SELECT : MNC_EXECUTE);
}

bool HandleShellMenuMessage(IContextMenu* menu, HIMAGELIST images, UINT msg, WPARAM wParam,
                            LPARAM lParam, LRESULT& result, TKxPopupHintFn hint,
                            void* hintData) {
  try {
    return HandleMessage(menu, images, msg, wParam, lParam, result, hint, hintData);
  } catch (...) {
    return false;  // a menu must keep working whatever one item does
  }
}

bool RouteShellMenuMessage(IContextMenu* activeMenu, HIMAGELIST images, TMessage& message,
                           const std::function<void(const std::string&)>& hint) {
  if (!activeMenu) return false;
  switch (message.Msg) {
    case WM_INITMENUPOPUP:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_MENUCHAR:
    case WM_MENUSELECT:
      break;
    default:
      return false;
  }
  auto forward = [](void* data, const std::string& text) {
    (*static_cast<const std::function<void(const std::string&)>*>(data))(text);
  };
  LRESULT result = 0;
  if (!HandleShellMenuMessage(activeMenu, images, message.Msg, message.WParam, message.LParam, result,
                              hint ? +forward : nullptr, const_cast<std::function<void(const std::string&)>*>(&hint)))
    return false;
  message.Result = result;
  return true;
}

void SendDataToTarget(const std::string& name, IDataObject* data) {
  PIDL sendToList = nullptr;
  OleCheck(SpecialFolderIdList(nullptr, CSIDL_SENDTO, sendToList));
  TIdListPtr holdFolderList(sendToList);
  TComRef<IShellFolder> folder;
  OleCheck(BindToFolderOfIdList(sendToList, *folder.Put()));
  std::wstring wide = Utf8ToWide(name);
  ULONG eaten = 0;
  PIDL item = nullptr;
  OleCheck(folder->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &item, nullptr));
  TIdListPtr holdItem(item);
  TComRef<IDropTarget> target;
  PCIDL items[1] = {item};
  OleCheck(folder->GetUIObjectOf(nullptr, 1, items, IID_IDropTarget, nullptr, target.PutVoid()));
  POINTL at = {0, 0};
  DWORD effect = DROPEFFECT_COPY;
  target->DragEnter(data, MK_LBUTTON, at, &effect);
  effect = DROPEFFECT_COPY;
  target->DragOver(MK_LBUTTON, at, &effect);
  effect = DROPEFFECT_COPY;
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  target->Drop(data, MK_LBUTTON, at, &effect);
  SetCursor(previous);
}
