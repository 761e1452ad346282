// Shell context menus: verbs found case-insensitively, a verb not offered runs nothing, the
// send-to entries' keyboard matching, measuring and drawing, and a real menu of the shell.
#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "shell/KxIdListArray.h"
#include "shell/KxShellCtrls.h"
#include "shell/KxShellMenus.h"
#include "toolkit/rtl/TextConv.h"

namespace {

// A context menu offering a fixed list of verbs, recording what it is asked to run.
class FakeContextMenu : public IContextMenu {
 public:
  explicit FakeContextMenu(std::vector<std::wstring> verbs) : verbs_(std::move(verbs)) {}
  std::vector<int> invoked;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IContextMenu) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT,
                                             UINT) override {
    for (size_t i = 0; i < verbs_.size(); ++i) {
      InsertMenuW(menu, index + static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                  first + static_cast<UINT>(i), verbs_[i].c_str());
      if (i == 0) InsertMenuW(menu, index + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    }
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, verbs_.size());
  }
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override {
    if (!IS_INTRESOURCE(info->lpVerb)) return E_INVALIDARG;
    invoked.push_back(LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT kind, UINT*, LPSTR out,
                                             UINT chars) override {
    if (offset >= verbs_.size()) return E_INVALIDARG;
    std::wstring text;
    if (kind == GCS_VERBW) text = verbs_[offset];
    else if (kind == GCS_HELPTEXTW) text = L"Help: " + verbs_[offset];
    else return E_NOTIMPL;
    lstrcpynW(reinterpret_cast<LPWSTR>(out), text.c_str(), chars);
    return S_OK;
  }

 private:
  std::vector<std::wstring> verbs_;
};

// A context menu that also handles menu messages itself (IContextMenu2).
class FakeContextMenu2 : public IContextMenu2 {
 public:
  std::vector<UINT> handled;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IContextMenu || iid == IID_IContextMenu2) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT msg, WPARAM, LPARAM) override {
    handled.push_back(msg);
    return S_OK;
  }
};

std::vector<std::string> hints;
void RecordHint(void*, const std::string& hint) { hints.push_back(hint); }

}  // namespace

TEST(ShellVerbs, FindsVerbsCaseInsensitively) {
  FakeContextMenu menu({L"open", L"Copy", L"delete"});
  EXPECT_EQ(FindVerbCommand(&menu, "open"), 0);
  EXPECT_EQ(FindVerbCommand(&menu, "COPY"), 1);
  EXPECT_EQ(FindVerbCommand(&menu, "delete"), 2);
  EXPECT_EQ(FindVerbCommand(&menu, "paste"), -1);
}

TEST(ShellVerbs, AVerbNotOfferedRunsNothing) {
  FakeContextMenu menu({L"open", L"copy"});
  EXPECT_EQ(InvokeShellVerb(nullptr, &menu, "paste"), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
  EXPECT_TRUE(menu.invoked.empty());  // the first command ("open") did not run
  EXPECT_EQ(InvokeShellVerb(nullptr, &menu, "Copy"), S_OK);
  EXPECT_EQ(InvokeShellVerb(nullptr, &menu, 0), S_OK);
  EXPECT_EQ(menu.invoked, (std::vector<int>{1, 0}));
}

TEST(ShellMenuMessages, MenuSelectGivesTheShellsHelpTextOrNothing) {
  FakeContextMenu menu({L"open", L"copy"});
  hints.clear();
  LRESULT result = 0;
  HandleShellMenuMessage(&menu, nullptr, WM_MENUSELECT, MAKEWPARAM(1001, 0), 0, result,
                         &RecordHint);
  HandleShellMenuMessage(&menu, nullptr, WM_MENUSELECT, MAKEWPARAM(3, 0), 0, result, &RecordHint);
  HandleShellMenuMessage(&menu, nullptr, WM_MENUSELECT, MAKEWPARAM(1001, MF_POPUP), 0, result,
                         &RecordHint);
  HandleShellMenuMessage(&menu, nullptr, WM_MENUSELECT, MAKEWPARAM(1009, 0), 0, result,
                         &RecordHint);
  EXPECT_EQ(hints, (std::vector<std::string>{"Help: copy", "", "", ""}));
}

TEST(ShellMenuMessages, TheWindowFilterTakesOnlyMenuMessagesWhileAMenuIsOpen) {
  FakeContextMenu2 menu2;
  struct Case {
    UINT msg;
    bool menuOpen;
    bool taken;
  } cases[] = {
      {WM_INITMENUPOPUP, true, true},  {WM_INITMENUPOPUP, false, false}, {WM_PAINT, true, false},
      {WM_COMMAND, true, false},       {WM_CONTEXTMENU, true, false},    {WM_MENUSELECT, false, false},
  };
  for (const Case& c : cases) {
    menu2.handled.clear();
    TMessage message;
    message.Msg = c.msg;
    message.Result = 77;
    EXPECT_EQ(RouteShellMenuMessage(c.menuOpen ? &menu2 : nullptr, nullptr, message, {}), c.taken) << c.msg;
    EXPECT_EQ(menu2.handled.size(), c.taken ? 1u : 0u) << c.msg;
    EXPECT_EQ(message.Result, c.taken ? 0 : 77) << c.msg;
  }

  FakeContextMenu menu({L"open", L"copy"});
  std::vector<std::string> seen;
  TMessage select;
  select.Msg = WM_MENUSELECT;
  select.WParam = MAKEWPARAM(1001, 0);
  // The hint is given, and the menu's own handling still runs (not taken).
  EXPECT_FALSE(RouteShellMenuMessage(&menu, nullptr, select, [&](const std::string& hint) { seen.push_back(hint); }));
  select.WParam = MAKEWPARAM(1000, 0);
  EXPECT_FALSE(RouteShellMenuMessage(&menu, nullptr, select, {}));
  EXPECT_EQ(seen, std::vector<std::string>{"Help: copy"});
}

TEST(SendToMenu, TypedCharactersPickEntries) {
  std::vector<TKxSendToEntry> entries = {
      {"Bluetooth.lnk", 0}, {"Desktop.lnk", 1}, {"Documents.lnk", 2}, {"Mail.lnk", 3}};
  struct Case {
    const char* name;
    wchar_t typed;
    int highlighted;
    LRESULT expected;
  } cases[] = {
      {"single match executes", L'b', -1, MAKELRESULT(0, MNC_EXECUTE)},
      {"several matches select the first", L'd', -1, MAKELRESULT(1, MNC_SELECT)},
      {"search starts after the highlight", L'D', 1, MAKELRESULT(2, MNC_SELECT)},
      {"and wraps around", L'd', 2, MAKELRESULT(1, MNC_SELECT)},
      {"no match closes", L'z', -1, MAKELRESULT(0, MNC_CLOSE)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendToMenuChar(entries, c.typed, c.highlighted), c.expected) << c.name;
  EXPECT_EQ(SendToCaption(entries[0]), "Bluetooth");
}

class SendToMenuTest : public testing::Test {
 protected:
  void SetUp() override { SendToList() = {{"Alpha.lnk", -1}, {"Beta target.lnk", -1}}; }
  void TearDown() override { FreeSendToList(); }
};

TEST_F(SendToMenuTest, MeasuresEntriesByTheirCaption) {
  FakeContextMenu menu({L"open"});
  MEASUREITEMSTRUCT shortItem = {ODT_MENU, 0, 1, 0, 0, 0};
  MEASUREITEMSTRUCT longItem = {ODT_MENU, 0, 2, 0, 0, 1};
  LRESULT result = 0;
  ASSERT_TRUE(HandleShellMenuMessage(&menu, nullptr, WM_MEASUREITEM, 0,
                                     reinterpret_cast<LPARAM>(&shortItem), result));
  ASSERT_TRUE(HandleShellMenuMessage(&menu, nullptr, WM_MEASUREITEM, 0,
                                     reinterpret_cast<LPARAM>(&longItem), result));
  EXPECT_GT(shortItem.itemWidth, 32u);
  EXPECT_GT(longItem.itemWidth, shortItem.itemWidth);
  EXPECT_EQ(shortItem.itemHeight, UINT(GetSystemMetrics(SM_CYMENU) + 2));
}

TEST_F(SendToMenuTest, DrawsSelectedEntriesInTheHighlightColour) {
  FakeContextMenu menu({L"open"});
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 200;
  info.bmiHeader.biHeight = -24;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto pixel = [&](int x, int y) {
    const DWORD p = static_cast<DWORD*>(bits)[y * 200 + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  LRESULT result = 0;
  DRAWITEMSTRUCT item = {ODT_MENU, 0, 1, ODA_DRAWENTIRE, ODS_SELECTED, nullptr, dc,
                         {0, 0, 200, 24}, 0};
  ASSERT_TRUE(HandleShellMenuMessage(&menu, nullptr, WM_DRAWITEM, 0,
                                     reinterpret_cast<LPARAM>(&item), result));
  EXPECT_EQ(pixel(2, 2), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(pixel(198, 22), GetSysColor(COLOR_HIGHLIGHT));
  bool text = false;  // caption pixels in the highlight text colour right of the icon column
  for (int y = 2; y < 22 && !text; ++y)
    for (int x = 32; x < 120 && !text; ++x) text = pixel(x, y) == GetSysColor(COLOR_HIGHLIGHTTEXT);
  EXPECT_TRUE(text);

  item.itemState = 0;
  ASSERT_TRUE(HandleShellMenuMessage(&menu, nullptr, WM_DRAWITEM, 0,
                                     reinterpret_cast<LPARAM>(&item), result));
  EXPECT_EQ(pixel(2, 2), GetSysColor(COLOR_MENU));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(SendToMenuTest, TheGrayedPlaceholderBecomesTheSendToEntries) {
  const std::string folder = SpecialFolderPath(nullptr, CSIDL_SENDTO);
  ASSERT_FALSE(folder.empty());
  CreateDirectoryW(Utf8ToWide(folder).c_str(), nullptr);
  const std::string entry = "vk test " + std::to_string(GetCurrentProcessId()) + ".txt";
  const std::wstring entryPath = Utf8ToWide(folder + "\\" + entry);
  CloseHandle(CreateFileW(entryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

  FakeContextMenu menu({L"open"});
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING | MF_GRAYED, 1099, L"(empty)");
  LRESULT result = 0;
  const bool taken = HandleShellMenuMessage(&menu, nullptr, WM_INITMENUPOPUP,
                                            reinterpret_cast<WPARAM>(popup), 0, result);
  DeleteFileW(entryPath.c_str());
  ASSERT_TRUE(taken);
  const std::vector<TKxSendToEntry>& entries = SendToList();
  const int count = GetMenuItemCount(popup);
  ASSERT_EQ(count, static_cast<int>(entries.size()));
  int found = -1;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.wID, UINT(i + 1));
    EXPECT_EQ(info.dwItemData, ULONG_PTR(i));
    if (entries[i].Name == entry) found = i;
  }
  EXPECT_GE(found, 0);

  // Typing the entry's first letter reaches it through the menu's own popup.
  result = 0;
  ASSERT_TRUE(HandleShellMenuMessage(&menu, nullptr, WM_MENUCHAR, MAKEWPARAM(L'v', MF_POPUP),
                                     reinterpret_cast<LPARAM>(popup), result));
  EXPECT_NE(HIWORD(result), MNC_CLOSE);
  DestroyMenu(popup);
}

TEST_F(SendToMenuTest, AMenuThatHandlesItsOwnMessagesGetsThePopupMessage) {
  FakeContextMenu2 menu;
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING | MF_GRAYED, 1099, L"(empty)");
  LRESULT result = 1;
  EXPECT_TRUE(HandleShellMenuMessage(&menu, nullptr, WM_INITMENUPOPUP,
                                     reinterpret_cast<WPARAM>(popup), 0, result));
  EXPECT_EQ(menu.handled, (std::vector<UINT>{WM_INITMENUPOPUP}));
  EXPECT_EQ(GetMenuItemCount(popup), 1);  // the shell fills its own send-to menu
  DestroyMenu(popup);
}

TEST(SendTo, AnUnknownEntryRaises) {
  EXPECT_THROW(SendDataToTarget("no such entry " + std::to_string(GetCurrentProcessId()), nullptr),
               EOleSysError);
}

class ShellMenuRealTest : public ShellFolderTest {};

TEST_F(ShellMenuRealTest, TheShellsMenuForAFileOffersCopy) {
  MakeFile("menu.txt", 4);
  TIdListPtr folderList = ListOf(root_);
  IShellFolder* folder = nullptr;
  ASSERT_TRUE(SUCCEEDED(BindToFolderOfIdList(folderList.get(), folder)));
  TComRef<IShellFolder> hold(folder);
  TIdListPtr file = ListOf(root_ + "menu.txt");
  TKxIdListArray items(file.get());
  PCIDL item[1] = {items.Item(items.Count() - 1)};

  IContextMenu* menu = nullptr;
  HMENU popup = nullptr;
  ASSERT_TRUE(SUCCEEDED(ShellContextMenuFor(nullptr, folder, 1, item, CMF_EXPLORE,
                                            kShellCommandFirst, menu, popup)));
  TComRef<IContextMenu> holdMenu(menu);
  ASSERT_NE(popup, nullptr);
  EXPECT_GT(GetMenuItemCount(popup), 0);
  DestroyMenu(popup);
  EXPECT_GE(FindVerbCommand(menu, "copy"), 0);
  EXPECT_EQ(FindVerbCommand(menu, "no-such-verb"), -1);
  EXPECT_EQ(InvokeShellVerb(nullptr, menu, "no-such-verb"), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
  EXPECT_TRUE(FileExists(root_ + "menu.txt"));
}

TEST_F(ShellMenuRealTest, TheCopyVerbPutsTheItemOnTheClipboard) {
  MakeFile("copied.txt", 4);
  TIdListPtr folderList = ListOf(root_);
  IShellFolder* folder = nullptr;
  ASSERT_TRUE(SUCCEEDED(BindToFolderOfIdList(folderList.get(), folder)));
  TComRef<IShellFolder> hold(folder);
  TIdListPtr file = ListOf(root_ + "copied.txt");
  TKxIdListArray items(file.get());
  PCIDL item[1] = {items.Item(items.Count() - 1)};
  TComRef<IContextMenu> menu;
  ASSERT_TRUE(SUCCEEDED(folder->GetUIObjectOf(nullptr, 1, item, IID_IContextMenu, nullptr,
                                              menu.PutVoid())));
  OleSetClipboard(nullptr);
  ASSERT_TRUE(SUCCEEDED(InvokeShellVerb(nullptr, menu.Get(), "copy")));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_HDROP) ||
              IsClipboardFormatAvailable(ShellIdListFormat()));
  OleSetClipboard(nullptr);
}
