// The shell list's actions on a fixture folder: the file filter table, the shortcut keys and the
// verbs they run, opening shortcuts and the double-click-open event, editing a named item
// (message 1126), the shell browser query (message 1031), the shell context menu driven by keys
// while it is open (rename, a verb, a change that waits for the menu), per-item drop targets and
// automatic scrolling near the edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/ChangeHandlerThread.h"
#include "shell/KxIdListArray.h"
#include "shell/KxShellDragDrop.h"
#include "shell/KxShellList.h"
#include "shell/KxShellMenus.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Timer.h"

#include <shlobj.h>

namespace {

// A context menu of named commands at given offsets; records what it was asked to run.
class TFakeMenu final : public IContextMenu {
 public:
  struct Entry {
    const wchar_t* text;
    UINT offset;
  };
  explicit TFakeMenu(std::vector<Entry> entries) : entries_(std::move(entries)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IContextMenu)) {
      *out = static_cast<IContextMenu*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT, UINT flags) override {
    flags_ = flags;
    UINT position = index;
    for (const Entry& e : entries_) InsertMenuW(menu, position++, MF_BYPOSITION | MF_STRING, first + e.offset, e.text);
    if (defaultOffset >= 0) SetMenuDefaultItem(menu, first + static_cast<UINT>(defaultOffset), FALSE);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 19);
  }
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override {
    if (IS_INTRESOURCE(info->lpVerb)) invoked.push_back(static_cast<int>(reinterpret_cast<UINT_PTR>(info->lpVerb)));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT) override { return E_NOTIMPL; }

  std::vector<int> invoked;
  UINT flags_ = 0;
  int defaultOffset = -1;  // the command the menu marks as its default (none below 0)

 private:
  std::vector<Entry> entries_;
  ULONG refs_ = 1;
};

// A shell list whose verbs are recorded instead of run, whose context menu can be a fake, and
// which walks an open menu by keys once it is idle.
class TTestShellList : public TKxShellList {
 public:
  using TKxShellList::TKxShellList;
  void InvokeVerbOnSelection(const std::string& verb) override {
    if (recordVerbs) verbs.push_back("selection " + verb);
    else TKxShellList::InvokeVerbOnSelection(verb);
  }
  void InvokeVerbOnFolder(const std::string& verb) override {
    if (recordVerbs) verbs.push_back("folder " + verb);
    else TKxShellList::InvokeVerbOnFolder(verb);
  }
  HRESULT ItemUIObject(TListItem* item, REFIID iid, void** object) override {
    if (itemMenu && IsEqualIID(iid, IID_IContextMenu)) return itemMenu->QueryInterface(iid, object);
    if (IsEqualIID(iid, IID_IDropTarget) && item->Index() == refuseDropAt) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    return TKxShellList::ItemUIObject(item, iid, object);
  }
  HRESULT SelectionUIObject(REFIID iid, void** object) override {
    if (fakeMenu && IsEqualIID(iid, IID_IContextMenu)) return fakeMenu->QueryInterface(iid, object);
    return TKxShellList::SelectionUIObject(iid, object);
  }
  void OpenMenu(TPoint point) { ShowShellContextMenu(point); }

  bool recordVerbs = true;
  int refuseDropAt = -1;  // the item index whose own drop target is refused
  std::vector<std::string> verbs;
  TFakeMenu* fakeMenu = nullptr;  // the selection's context menu
  TFakeMenu* itemMenu = nullptr;  // one item's context menu
  std::vector<WORD> menuKeys;  // posted once the open menu is idle
  std::function<void()> whileMenuOpen;
  std::vector<int> editRequests;  // the item indexes label editing was asked for

 protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == LVM_EDITLABELW) editRequests.push_back(static_cast<int>(message.WParam));
    if (message.Msg == WM_ENTERIDLE && message.WParam == MSGF_MENU && !menuKeys.empty()) {
      if (whileMenuOpen) whileMenuOpen();
      for (WORD key : menuKeys) {
        PostMessageW(Handle(), WM_KEYDOWN, key, 0);
        PostMessageW(Handle(), WM_KEYUP, key, 0);
      }
      menuKeys.clear();
    }
    TKxShellList::WndProc(message);
  }
};

class ShellListActionsTest : public ShellFolderTest {
 protected:
  void SetUp() override {
    ShellFolderTest::SetUp();
    ParkMousePointer();
    MakeFolder("Sub");
    MakeFile("a.txt", 10);
    MakeFile("b.TXT", 10);
    MakeFile("c.log", 10);
    MakeFile("d.bin", 10);
    form_ = new TForm(nullptr);
    form_->SetBounds(20, 20, 600, 400);
    form_->Show();
    list_ = new TTestShellList(form_);
    list_->SetParent(form_);
    list_->SetBounds(0, 0, 580, 360);
    list_->SetOptions(list_->Options() - TKxShellListOptions{sloAutoFill, sloDynamicRefresh});
    list_->HandleNeeded();
  }
  void TearDown() override {
    SetKeys(false, false);
    form_->Free();
    Application->ProcessMessages();
    ShellFolderTest::TearDown();
  }
  void Show(const std::string& path) {
    TIdListPtr folder = ListOf(path);
    list_->Folder()->SetIdList(folder.get());
    Application->ProcessMessages();
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 0; i < list_->ItemCount(); ++i) names.push_back(list_->ShellData(list_->Item(i))->DisplayName());
    std::sort(names.begin(), names.end());
    return names;
  }
  TListItem* Find(const std::string& caption) {
    for (int i = 0; i < list_->ItemCount(); ++i)
      if (list_->ShellData(list_->Item(i))->DisplayName() == caption) return list_->Item(i);
    return nullptr;
  }
  static void SetKeys(bool ctrl, bool shift) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  void Press(WORD key, bool ctrl = false, bool shift = false) {
    SetKeys(ctrl, shift);
    list_->Perform(WM_KEYDOWN, key, 0);
    SetKeys(false, false);
  }
  TPoint ScreenPointOf(TListItem* item) {
    const TRect r = item->DisplayRect(LVIR_LABEL);
    return list_->ClientToScreen(TPoint{r.Left + 3, (r.Top + r.Bottom) / 2});
  }
  // A shell data object of one fixture item.
  TComRef<IDataObject> DataOf(const std::string& name) {
    TIdListPtr file = ListOf(root_ + name);
    TIdListPtr folder = ListOf(root_.substr(0, root_.size() - 1));
    TKxIdListArray parts(file.get());
    TComRef<IDataObject> data;
    TKxShellDataObject* made = MakeShellDataObject(folder.get(), std::vector<PCIDL>{parts.Item(parts.Count() - 1)});
    if (made) made->QueryInterface(IID_IDataObject, data.PutVoid());
    return data;
  }
  bool DropHighlighted(TListItem* item) {
    return SendMessageW(list_->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(item->Index()), LVIS_DROPHILITED) != 0;
  }

  TForm* form_ = nullptr;
  TTestShellList* list_ = nullptr;
};

TEST_F(ShellListActionsTest, TheFileFilterListsMatchingFilesAndEveryFolder) {
  struct Case {
    const char* filter;
    std::vector<std::string> names;
  } cases[] = {
      {"", {"Sub", "a.txt", "b.TXT", "c.log", "d.bin"}},
      {"*.*", {"Sub", "a.txt", "b.TXT", "c.log", "d.bin"}},
      {"*.txt", {"Sub", "a.txt", "b.TXT"}},
      {"*.log; *.txt;*.TXT", {"Sub", "a.txt", "b.TXT", "c.log"}},
      {"nothing*.zip", {"Sub"}},
  };
  Show(root_);
  for (const Case& c : cases) {
    list_->SetFileFilter(c.filter);
    list_->RefillList();
    EXPECT_EQ(Names(), c.names) << c.filter;
    EXPECT_TRUE(list_->FilterTable().empty()) << "the table lives only while filling";
  }
  list_->SetFileFilter("*.txt");
  list_->RefillList();
  MakeFile("e.txt", 1);
  MakeFile("f.bin", 1);
  list_->RefreshList();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Sub", "a.txt", "b.TXT", "e.txt"})) << "a refresh filters too";
}

TEST_F(ShellListActionsTest, ShortcutKeysRunTheirVerbsAndRename) {
  Show(root_);
  struct Case {
    const char* name;
    WORD key;
    bool ctrl, shift;
    const char* verb;
  } cases[] = {
      {"Ctrl+C", 'C', true, false, "selection copy"},   {"Ctrl+X", 'X', true, false, "selection cut"},
      {"Ctrl+V", 'V', true, false, "folder paste"},     {"Del", VK_DELETE, false, false, "selection delete"},
      {"Shift+Del", VK_DELETE, false, true, "selection delete"},
  };
  Find("a.txt")->SetSelected(true);
  for (const Case& c : cases) {
    list_->verbs.clear();
    Press(c.key, c.ctrl, c.shift);
    EXPECT_EQ(list_->verbs, std::vector<std::string>{c.verb}) << c.name;
  }
  list_->verbs.clear();
  Press('C');
  Press(VK_F7);
  EXPECT_TRUE(list_->verbs.empty()) << "other keys run nothing";

  Press('A', true);
  EXPECT_EQ(list_->SelCount(), list_->ItemCount());
  EXPECT_EQ(list_->ItemCount(), 5);

  Find("c.log")->SetFocused(true);
  Press(VK_F2);
  ASSERT_TRUE(list_->IsEditing());
  auto edit = reinterpret_cast<HWND>(SendMessageW(list_->Handle(), LVM_GETEDITCONTROL, 0, 0));
  wchar_t text[64] = {};
  GetWindowTextW(edit, text, 64);
  EXPECT_EQ(std::wstring(text), L"c.log");
  SendMessageW(list_->Handle(), LVM_CANCELEDITLABEL, 0, 0);

  list_->SetOptions(list_->Options() - TKxShellListOptions{sloDefaultKeyHandling});
  list_->verbs.clear();
  Press('C', true);
  EXPECT_TRUE(list_->verbs.empty()) << "without default key handling";
}

TEST_F(ShellListActionsTest, CopyPutsTheSelectionOnTheClipboard) {
  Show(root_);
  list_->recordVerbs = false;
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  Find("a.txt")->SetSelected(true);
  Press('C', true);
  Application->ProcessMessages();
  const UINT idList = RegisterClipboardFormatW(L"Shell IDList Array");
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_HDROP) || IsClipboardFormatAvailable(idList));
  OleFlushClipboard();
}

TEST_F(ShellListActionsTest, AFolderShortcutOpensItsTargetAndOtherItemsAskTheOpenEvent) {
  MakeFolder("Sub\\Deep");
  {
    TComRef<IShellLinkW> link;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                              link.PutVoid()));
    link->SetPath(Utf8ToWide(root_ + "Sub").c_str());
    TComRef<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid()));
    ASSERT_HRESULT_SUCCEEDED(file->Save(Utf8ToWide(root_ + "to sub.lnk").c_str(), TRUE));
  }
  Show(root_);
  int asked = 0;
  list_->OnDblClickOpen = [&](TObject*, bool& handled) {
    ++asked;
    handled = true;  // nothing is launched
  };
  TListItem* text = Find("a.txt");
  ASSERT_NE(text, nullptr);
  list_->OpenItem(text);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(list_->Folder()->PathName() + "\\", root_);
  TListItem* shortcut = nullptr;
  for (int i = 0; i < list_->ItemCount(); ++i)
    if (list_->ShellData(list_->Item(i))->IsShortcut()) shortcut = list_->Item(i);
  ASSERT_NE(shortcut, nullptr);
  list_->OpenItem(shortcut);
  EXPECT_EQ(asked, 1) << "a shortcut to a folder opens it";
  EXPECT_EQ(list_->Folder()->PathName(), root_ + "Sub");
  EXPECT_EQ(Names(), std::vector<std::string>{"Deep"});
}

TEST_F(ShellListActionsTest, EnterOnAFolderIsTheListsKeyAndOpensItBackspaceGoesUp) {
  Show(root_);
  TListItem* file = Find("a.txt");
  file->SetFocused(true);
  EXPECT_EQ(list_->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 0) << "Enter on a file stays the dialog's";
  TListItem* sub = Find("Sub");
  sub->SetFocused(true);
  sub->SetSelected(true);
  EXPECT_EQ(list_->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 1);
  Press(VK_RETURN);
  EXPECT_EQ(list_->Folder()->PathName(), root_ + "Sub");
  EXPECT_EQ(list_->ItemCount(), 0);
  Press(VK_BACK);
  EXPECT_EQ(list_->Folder()->PathName() + "\\", root_);
  EXPECT_EQ(list_->ItemCount(), 5);
}

TEST_F(ShellListActionsTest, MessageElevenTwentySixEditsTheNamedItem) {
  Show(root_);
  list_->EditItemNamed("c.log");
  EXPECT_FALSE(list_->IsEditing()) << "the message is posted";
  // Only the posted message runs here: a window of another program shown meanwhile on the same
  // display could take the focus and end the editing before it is looked at.
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, list_->Handle(), KX_SHELL_EDIT_NAMED_MESSAGE, KX_SHELL_EDIT_NAMED_MESSAGE, PM_REMOVE));
  DispatchMessageW(&msg);
  EXPECT_EQ(list_->editRequests, std::vector<int>{Find("c.log")->Index()}) << "editing asked for that item";
  EXPECT_TRUE(Find("c.log")->Focused());
  SendMessageW(list_->Handle(), LVM_CANCELEDITLABEL, 0, 0);
}

// An explorer instance that answers for IShellBrowser with itself.
class TFakeBrowser final : public IShellBrowser {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellBrowser) || IsEqualIID(iid, IID_IOleWindow)) {
      *out = static_cast<IShellBrowser*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override { return E_NOTIMPL; }
  ULONG refs = 1;
};

TEST_F(ShellListActionsTest, MessageTenThirtyOneAnswersTheExplorersShellBrowser) {
  using SetInstance = void(WINAPI*)(IUnknown*);
  auto set = reinterpret_cast<SetInstance>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"shell32.dll"), "SHSetInstanceExplorer")));
  ASSERT_NE(set, nullptr);
  set(nullptr);
  EXPECT_EQ(SendMessageW(list_->Handle(), WM_USER + 7, 0, 0), 0) << "no explorer instance";
  TFakeBrowser browser;
  set(&browser);
  const LRESULT answer = SendMessageW(list_->Handle(), WM_USER + 7, 0, 0);
  set(nullptr);
  EXPECT_EQ(answer, reinterpret_cast<LRESULT>(static_cast<IShellBrowser*>(&browser)));
  EXPECT_EQ(browser.refs, 1u) << "the asker takes no reference";
}

TEST_F(ShellListActionsTest, TheContextMenuRenamesOrRunsTheChosenCommand) {
  Show(root_);
  TFakeMenu menu({{L"Copy", 3}, {L"Rename", 18}});
  list_->fakeMenu = &menu;
  TListItem* item = Find("c.log");
  item->SetSelected(true);
  item->SetFocused(true);
  list_->menuKeys = {VK_DOWN, VK_RETURN};
  list_->OpenMenu(TPoint{30, 30});
  EXPECT_EQ(menu.invoked, std::vector<int>{3});
  EXPECT_TRUE(menu.flags_ & CMF_EXPLORE);
  EXPECT_TRUE(menu.flags_ & CMF_CANRENAME) << "the focused item has a path";
  EXPECT_FALSE(list_->IsEditing());
  list_->menuKeys = {VK_DOWN, VK_DOWN, VK_RETURN};
  list_->OpenMenu(TPoint{30, 30});
  EXPECT_EQ(menu.invoked, std::vector<int>{3}) << "rename is the list's own";
  EXPECT_TRUE(list_->IsEditing());
  SendMessageW(list_->Handle(), LVM_CANCELEDITLABEL, 0, 0);
}

TEST_F(ShellListActionsTest, AChangeWhileTheMenuIsOpenRefreshesOnceAfterwards) {
  Show(root_);
  TFakeMenu menu({{L"Copy", 3}});
  list_->fakeMenu = &menu;
  Find("a.txt")->SetSelected(true);
  int fills = 0;
  list_->OnFillStart = [&](TObject*) { ++fills; };
  bool deferredInside = false;
  list_->whileMenuOpen = [&] {
    deferredInside = list_->RefreshDeferred();
    MakeFile("late.txt", 1);
    SendMessageW(list_->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
    SendMessageW(list_->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
  };
  list_->menuKeys = {VK_ESCAPE, VK_ESCAPE};
  list_->OpenMenu(TPoint{30, 30});
  EXPECT_TRUE(deferredInside);
  EXPECT_FALSE(list_->RefreshTimer()->Enabled()) << "no refresh timer during the menu";
  EXPECT_EQ(fills, 1);
  EXPECT_NE(Find("late.txt"), nullptr);
  EXPECT_TRUE(menu.invoked.empty());
}

TEST_F(ShellListActionsTest, DropsHighlightTheFolderItemUnderTheMouseOnly) {
  Show(root_);
  TComRef<IDataObject> data = DataOf("d.bin");
  ASSERT_TRUE(data);
  TListItem* sub = Find("Sub");
  TListItem* text = Find("a.txt");
  const TPoint overSub = ScreenPointOf(sub);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  list_->DragEnter(data.Get(), MK_LBUTTON, POINTL{overSub.X, overSub.Y}, effect);
  EXPECT_TRUE(DropHighlighted(sub));
  list_->refuseDropAt = text->Index();
  const TPoint overText = ScreenPointOf(text);
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  list_->DragOver(MK_LBUTTON, POINTL{overText.X, overText.Y}, effect);
  EXPECT_FALSE(DropHighlighted(sub));
  EXPECT_FALSE(DropHighlighted(text)) << "an item without a drop target: the folder takes it, unhighlighted";
  const TPoint empty = list_->ClientToScreen(TPoint{list_->ClientWidth() - 10, list_->ClientHeight() - 10});
  ASSERT_EQ(list_->GetItemAt(list_->ClientWidth() - 10, list_->ClientHeight() - 10), nullptr);
  effect = DROPEFFECT_COPY;
  list_->DragOver(MK_LBUTTON, POINTL{empty.X, empty.Y}, effect);
  for (int i = 0; i < list_->ItemCount(); ++i) EXPECT_FALSE(DropHighlighted(list_->Item(i)));
  effect = DROPEFFECT_COPY;
  list_->DragOver(MK_LBUTTON, POINTL{overSub.X, overSub.Y}, effect);
  EXPECT_TRUE(DropHighlighted(sub));
  EXPECT_TRUE(effect & DROPEFFECT_SCROLL);
  list_->DragLeave();
  EXPECT_FALSE(DropHighlighted(sub));
}

TEST_F(ShellListActionsTest, DraggingNearTheEdgesScrollsAtMostEveryHundredMilliseconds) {
  for (int i = 0; i < 60; ++i) MakeFile("many" + std::to_string(100 + i) + ".dat", 1);
  list_->SetBounds(0, 0, 300, 150);
  Show(root_);
  DWORD now = 5000;
  list_->TickQuery = [&] { return now; };
  TComRef<IDataObject> data = DataOf("d.bin");
  auto top = [&] { return static_cast<int>(SendMessageW(list_->Handle(), LVM_GETTOPINDEX, 0, 0)); };
  const TRect client = list_->ClientRect();
  const TPoint low = list_->ClientToScreen(TPoint{100, client.Bottom - 5});
  const TPoint high = list_->ClientToScreen(TPoint{100, 5});
  DWORD effect = DROPEFFECT_COPY;
  list_->DragEnter(data.Get(), MK_LBUTTON, POINTL{low.X, low.Y}, effect);
  const int start = top();
  struct Step {
    DWORD advance;
    TPoint at;
    int change;  // expected change of the top index
  } steps[] = {{50, low, 0}, {101, low, 1}, {100, low, 0}, {1, low, 1}, {150, high, -1}};
  for (const Step& s : steps) {
    now += s.advance;
    const int before = top();
    effect = DROPEFFECT_COPY;
    list_->DragOver(MK_LBUTTON, POINTL{s.at.X, s.at.Y}, effect);
    EXPECT_EQ(top() - before, s.change) << "after " << s.advance << " ms";
  }
  EXPECT_GT(top(), start - 1);
  list_->DragLeave();
}

TEST_F(ShellListActionsTest, OpeningAFileRunsTheDefaultCommandOfItsMenu) {
  Show(root_);
  TFakeMenu item({{L"Open", 0}, {L"Print", 4}});
  item.defaultOffset = 4;
  TFakeMenu selection({{L"Open", 0}, {L"Edit", 7}});
  selection.defaultOffset = 7;
  list_->itemMenu = &item;
  list_->fakeMenu = &selection;
  enum class How { Enter, DoubleClick };
  struct Case {
    const char* name;
    std::vector<const char*> selected;
    How how;
    bool handledByEvent;
    std::vector<int> itemRuns;
    std::vector<int> selectionRuns;
  } cases[] = {
      {"Enter on a file", {"a.txt"}, How::Enter, false, {4}, {}},
      {"double click on a file", {"c.log"}, How::DoubleClick, false, {4}, {}},
      {"the open event takes it", {"a.txt"}, How::Enter, true, {}, {}},
      {"two files: the selection's menu", {"a.txt", "d.bin"}, How::Enter, false, {}, {7}},
      {"two files, double click", {"a.txt", "d.bin"}, How::DoubleClick, false, {}, {7}},
  };
  for (const Case& c : cases) {
    item.invoked.clear();
    selection.invoked.clear();
    for (int i = 0; i < list_->ItemCount(); ++i) list_->Item(i)->SetSelected(false);
    for (const char* name : c.selected) {
      ASSERT_NE(Find(name), nullptr) << name;
      Find(name)->SetSelected(true);
    }
    Find(c.selected.front())->SetFocused(true);
    int asked = 0;
    list_->OnDblClickOpen = [&](TObject*, bool& handled) {
      ++asked;
      handled = c.handledByEvent;
    };
    if (c.how == How::Enter) {
      Press(VK_RETURN);
    } else {
      const TRect r = Find(c.selected.front())->DisplayRect(LVIR_LABEL);
      SendMessageW(list_->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.Left + 4, (r.Top + r.Bottom) / 2));
      Application->ProcessMessages();
    }
    EXPECT_EQ(asked, 1) << c.name;
    EXPECT_EQ(item.invoked, c.itemRuns) << c.name;
    EXPECT_EQ(selection.invoked, c.selectionRuns) << c.name;
    EXPECT_EQ(list_->Folder()->PathName() + "\\", root_) << c.name << ": the folder stays";
  }
  list_->OnDblClickOpen = nullptr;
}

TEST_F(ShellListActionsTest, ALabelEditRenamesOnDiskThroughTheEditedEvent) {
  Show(root_);
  struct Case {
    const char* item;
    const char* typed;
    const char* eventSees;   // the name the edited event gets
    const char* eventGives;  // what the handler makes of it (nil: leaves it)
    const char* shown;       // the item's name afterwards
    const char* gone;        // a file that no longer exists (nil: none)
  } cases[] = {
      {"a.txt", "  first.txt  ", "first.txt", nullptr, "first.txt", "a.txt"},
      {"c.log", "typed.log", "typed.log", "changed.log", "changed.log", "c.log"},
      {"b.TXT", "d.bin", "d.bin", nullptr, "b.TXT", nullptr},  // taken: the shell refuses
      {"d.bin", "   ", "", nullptr, "d.bin", nullptr},         // no name: nothing is asked
      {"first.txt", "x.txt", "x.txt", "  ", "first.txt", nullptr},
  };
  for (const Case& c : cases) {
    TListItem* item = Find(c.item);
    ASSERT_NE(item, nullptr) << c.item;
    std::vector<std::string> seen;
    list_->OnEdited = [&](TObject* sender, TListItem* edited, std::string& name) {
      EXPECT_EQ(sender, list_);
      EXPECT_EQ(edited, item);
      seen.push_back(name);
      if (c.eventGives) name = c.eventGives;
    };
    std::wstring text = Utf8ToWide(c.typed);
    NMLVDISPINFOW end{};
    end.hdr.hwndFrom = list_->Handle();
    end.hdr.code = LVN_ENDLABELEDITW;
    end.item.iItem = item->Index();
    end.item.pszText = text.data();
    list_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(seen, std::vector<std::string>{c.eventSees}) << c.typed;
    EXPECT_EQ(list_->ShellData(item)->DisplayName(), c.shown) << c.typed;
    EXPECT_NE(GetFileAttributesW(Utf8ToWide(root_ + c.shown).c_str()), INVALID_FILE_ATTRIBUTES) << c.shown;
    if (c.gone) {
      EXPECT_EQ(GetFileAttributesW(Utf8ToWide(root_ + c.gone).c_str()), INVALID_FILE_ATTRIBUTES) << c.gone;
    }
    EXPECT_EQ(list_->ShellData(item)->PathName(), root_ + c.shown) << "the item's list follows the new name";
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"Sub", "b.TXT", "changed.log", "d.bin", "first.txt"}));
  // A cancelled edit asks nothing.
  int asked = 0;
  list_->OnEdited = [&](TObject*, TListItem*, std::string&) { ++asked; };
  NMLVDISPINFOW cancel{};
  cancel.hdr.hwndFrom = list_->Handle();
  cancel.hdr.code = LVN_ENDLABELEDITW;
  cancel.item.iItem = 0;
  list_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&cancel));
  EXPECT_EQ(asked, 0);
  list_->OnEdited = nullptr;
}

TEST_F(ShellListActionsTest, ARefreshAskedForWhileEditingRunsOnceTheEditorHasGone) {
  Show(root_);
  ASSERT_TRUE(Find("a.txt")->EditCaption());
  MakeFile("late.txt", 1);
  list_->RefreshList();
  EXPECT_EQ(Find("late.txt"), nullptr) << "not while a name is being edited";
  SendMessageW(list_->Handle(), LVM_CANCELEDITLABEL, 0, 0);
  Application->ProcessMessages();
  EXPECT_NE(Find("late.txt"), nullptr);
  EXPECT_EQ(list_->ItemCount(), 6);
}

TEST_F(ShellListActionsTest, WindowPositionChangesAreIgnoredWhileItemsAreDeleted) {
  Show(root_);
  ASSERT_GT(list_->ItemCount(), 0);
  int resizes = 0;
  list_->OnResize = [&](TObject*) { ++resizes; };
  bool deleting = false;
  bool moved = false;
  list_->OnDeleteItem = [&](TObject*, TListItem*, TKxShellListData*) {
    if (moved) return;
    moved = true;
    deleting = list_->DeletingItems();
    SetWindowPos(list_->Handle(), nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  };
  list_->RefillList();
  ASSERT_TRUE(moved);
  EXPECT_TRUE(deleting);
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(list_->Width(), 580) << "the change during the deletion is not taken";
  EXPECT_FALSE(list_->DeletingItems());
  list_->OnDeleteItem = nullptr;
  SetWindowPos(list_->Handle(), nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  EXPECT_GT(resizes, 0) << "outside a deletion the change is taken";
  EXPECT_EQ(list_->Width(), 300);
  list_->OnResize = nullptr;
}

}  // namespace
