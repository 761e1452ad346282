// The framed list view's sort table and arrow rule, the "DirectoryCols" rule, and the shell list
// on a fixture folder: items, columns and size texts, and refreshes after files come and go.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/ChangeHandlerThread.h"
#include "shell/KxDeviceChangeHandler.h"
#include "shell/KxShellList.h"
#include "shell/KxShellNames.h"
#include "shell/KxShellTree.h"
#include "shell/KxShellUtils.h"
#include "toolkit/rtl/SysUtils.h"
#include "tests/toolkit/FormFixture.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/Timer.h"

#include <dbt.h>

namespace {

class FramedListViewTest : public FormFixture {};

std::vector<std::string> Captions(TCustomListView* list) {
  std::vector<std::string> captions;
  for (int i = 0; i < list->ItemCount(); ++i) captions.push_back(list->Item(i)->Caption());
  return captions;
}

TEST_F(FramedListViewTest, ClickingAColumnSortsUpThenDownWithEmptyTextsLastWhenAscending) {
  auto* list = Add<TKxCustomListView>(10, 10, 300, 200);
  list->SetSortOnClick(true);
  list->AddColumn("Name", 100);
  list->AddColumn("Kind", 100);
  const char* rows[][2] = {{"b", "Zeta"}, {"A", ""}, {"c", "alpha"}};
  for (const auto& row : rows) list->AddItem(row[0])->SubItems().push_back(row[1]);
  auto click = [&](int column) {
    NMLISTVIEW note{};
    note.hdr.hwndFrom = list->Handle();
    note.hdr.code = LVN_COLUMNCLICK;
    note.iSubItem = column;
    list->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
  };
  click(1);
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"c", "b", "A"}));
  EXPECT_EQ(list->SortColumn(), 1);
  EXPECT_EQ(list->SortDirection(), 0);
  click(1);
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(list->SortDirection(), 1);
  click(1);
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"c", "b", "A"}));
  click(0);
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(CompareListItems(list->Item(0), list->Item(1), -1), 0);
}

TEST(SortArrow, IsPlacedFromTheTextRectAndHiddenInNarrowColumns) {
  const TRect arrow = SortArrowRect(TRect(10, 0, 90, 20));
  EXPECT_EQ(arrow, TRect(10, 4, 20, 13));  // s = 9: top (20 - 9) div 2 - 1
  EXPECT_TRUE(SortArrowShown(arrow, 21));
  EXPECT_FALSE(SortArrowShown(arrow, 20));
}

TEST(DirectoryCols, IsUsedOnlyWithSixteenToTwentyTwoBytes) {
  int widths[4] = {0, 0, 0, 0};
  std::vector<unsigned char> value(16, 0);
  value[0] = 150;
  value[12] = 90;
  EXPECT_TRUE(DirectoryColsWidths(value, widths));
  EXPECT_EQ(widths[0], 150);
  EXPECT_EQ(widths[3], 90);
  EXPECT_FALSE(DirectoryColsWidths(std::vector<unsigned char>(15, 1), widths));
  EXPECT_FALSE(DirectoryColsWidths(std::vector<unsigned char>(23, 1), widths));
  EXPECT_TRUE(DirectoryColsWidths(std::vector<unsigned char>(22, 1), widths));
}

TEST(ReadOnlyQuery, IsLeftOutOnlyBelowTheRootOfARemovableDrive) {
  struct TCase {
    const char* path;
    UINT driveType;
    bool queried;
    const char* askedRoot;  // nullptr: the drive type is not asked
  } cases[] = {
      {"C:\\dir\\a.txt", DRIVE_REMOVABLE, false, "C:\\"},
      {"A:\\x", DRIVE_REMOVABLE, false, "A:\\"},
      {"C:\\dir\\a.txt", DRIVE_FIXED, true, "C:\\"},
      {"D:\\data", DRIVE_CDROM, true, "D:\\"},
      {"A:\\", DRIVE_REMOVABLE, true, nullptr},
      {"\\\\server\\share\\a.txt", DRIVE_REMOVABLE, true, nullptr},
      {"", DRIVE_REMOVABLE, true, nullptr},
  };
  for (const TCase& c : cases) {
    std::vector<std::string> asked;
    const bool queried = QueriesReadOnly(c.path, [&](const std::string& root) {
      asked.push_back(root);
      return c.driveType;
    });
    EXPECT_EQ(queried, c.queried) << c.path;
    EXPECT_EQ(asked, c.askedRoot ? std::vector<std::string>{c.askedRoot} : std::vector<std::string>{}) << c.path;
  }
}

class ShellListTest : public ShellFolderTest {
 protected:
  void SetUp() override {
    ShellFolderTest::SetUp();
    MakeFolder("Sub");
    MakeFile("empty.txt", 0);
    MakeFile("small.txt", 1025);
    form_ = new TForm(nullptr);
    form_->SetBounds(20, 20, 600, 400);
    form_->Show();
    list_ = new TKxShellList(form_);
    list_->SetParent(form_);
    list_->SetBounds(0, 0, 580, 360);
    list_->SetOptions(list_->Options() - TKxShellListOptions{sloAutoFill, sloDynamicRefresh});
    list_->HandleNeeded();
    TIdListPtr folder = ListOf(root_);
    list_->Folder()->SetIdList(folder.get());
    Application->ProcessMessages();
  }
  void TearDown() override {
    form_->Free();
    Application->ProcessMessages();
    ShellFolderTest::TearDown();
  }
  TListItem* Find(const std::string& caption) {
    for (int i = 0; i < list_->ItemCount(); ++i) {
      TListItem* item = list_->Item(i);
      if (list_->ShellData(item)->DisplayName() == caption) return item;
    }
    return nullptr;
  }
  std::string Text(TListItem* item, int column) {
    wchar_t buffer[260] = {};
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.pszText = buffer;
    lv.cchTextMax = 260;
    SendMessageW(list_->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item->Index()), reinterpret_cast<LPARAM>(&lv));
    return WideToUtf8(buffer);
  }

  TForm* form_ = nullptr;
  TKxShellList* list_ = nullptr;
};

TEST_F(ShellListTest, ListsTheFolderWithItsColumnsAndSizeTexts) {
  std::vector<std::string> names;
  for (int i = 0; i < list_->ItemCount(); ++i) names.push_back(list_->ShellData(list_->Item(i))->DisplayName());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Sub", "empty.txt", "small.txt"}));
  ASSERT_GE(list_->ColumnCount(), 4);
  if (list_->HasShellDetails()) {
    EXPECT_EQ(list_->ColumnCaption(1), "Size");
    EXPECT_GT(list_->ColumnWidth(0), 0);
    TListItem* small = Find("small.txt");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(Text(small, 1), "2 KB");
    EXPECT_EQ(Text(small, 0), "small.txt");
  } else {
    EXPECT_EQ(list_->ColumnCaption(0), "Name");
    EXPECT_EQ(Text(Find("small.txt"), 1), "2KB");
  }
  EXPECT_EQ(Text(Find("Sub"), 1), "") << "a folder has no size";
  // Every item has an empty sub-item per detail column; a text stored there is shown instead.
  const size_t detailColumns = list_->HasShellDetails() ? static_cast<size_t>(list_->ColumnCount() - 1) : 3u;
  for (int i = 0; i < list_->ItemCount(); ++i)
    EXPECT_EQ(list_->Item(i)->SubItems(), std::vector<std::string>(detailColumns)) << i;
  TListItem* small = Find("small.txt");
  small->SubItems()[1] = "Own type";
  EXPECT_EQ(Text(small, 2), "Own type");
  EXPECT_NE(Text(small, 1), "");
}

TEST_F(ShellListTest, AReadOnlyFileShowsTheBitExceptOnARemovableDrive) {
  const std::string path = root_ + "small.txt";
  ASSERT_TRUE(SetFileAttributesW(Utf8ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
  list_->RefillList();
  TListItem* item = Find("small.txt");
  ASSERT_NE(item, nullptr);
  std::vector<std::string> asked;
  UINT driveType = DRIVE_FIXED;
  list_->DriveTypeQuery = [&](const std::string& root) {
    asked.push_back(root);
    return driveType;
  };
  const ULONG fixed = list_->ShellData(item)->Attributes();
  driveType = DRIVE_REMOVABLE;
  const ULONG removable = list_->ShellData(item)->Attributes();
  list_->DriveTypeQuery = nullptr;
  SetFileAttributesW(Utf8ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_NE(fixed & SFGAO_READONLY, 0u);
  EXPECT_EQ(removable & SFGAO_READONLY, 0u);
  EXPECT_EQ(removable & ~SFGAO_READONLY, fixed & ~SFGAO_READONLY) << "only the read-only bit goes";
  EXPECT_EQ(asked, (std::vector<std::string>{root_.substr(0, 3), root_.substr(0, 3)}));
}

TEST_F(ShellListTest, RememberedWidthsApplyToTheNextFileSystemFolder) {
  list_->SetColumnWidth(0, 211);
  MakeFolder("Sub\\Inner");
  TIdListPtr sub = ListOf(root_ + "Sub");
  list_->Folder()->SetIdList(sub.get());
  EXPECT_EQ(list_->ColumnWidth(0), 211);
  ASSERT_EQ(list_->ItemCount(), 1);
}

TEST_F(ShellListTest, ACreatedFileAppearsAndADeletedOneGoes) {
  std::vector<std::string> deleted;
  list_->OnDeleteItem = [&](TObject*, TListItem* item, TKxShellListData* data) {
    EXPECT_EQ(list_->ShellData(item), data);
    deleted.push_back(data->DisplayName());
  };
  MakeFile("new.bin", 5);
  ASSERT_TRUE(DeleteFileW(Utf8ToWide(root_ + "empty.txt").c_str()));
  SendMessageW(list_->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
  ASSERT_TRUE(list_->RefreshTimer()->Enabled());
  SendMessageW(list_->RefreshTimer()->Handle(), WM_TIMER, 1, 0);
  EXPECT_NE(Find("new.bin"), nullptr);
  EXPECT_EQ(Find("empty.txt"), nullptr);
  EXPECT_EQ(list_->ItemCount(), 3);
  // An item whose list bytes changed (the shell keeps times in them) may be replaced too.
  EXPECT_EQ(std::count(deleted.begin(), deleted.end(), "empty.txt"), 1);
  list_->OnDeleteItem = nullptr;
}

TEST_F(ShellListTest, ARefreshThatFailsToAddAnItemSaysSoAndPassesTheErrorOn) {
  std::vector<std::pair<std::string, UINT>> boxes;
  Application->SetMessageBoxHook([&](const std::string& text, const std::string&, UINT flags) {
    boxes.emplace_back(text, flags);
    return IDOK;
  });
  list_->OnAddItem = [](TObject*, IShellFolder* folder, PCIDL, PCIDL item, ULONG, bool&) {
    if (DisplayNameOf(folder, item, TKxNameKind::Normal) == "new.bin") throw Exception("the item is gone");
  };
  MakeFile("new.bin", 5);
  std::string passedOn;
  try {
    list_->RefreshList();
  } catch (const Exception& e) {
    passedOn = e.Message();
  }
  list_->OnAddItem = nullptr;
  Application->SetMessageBoxHook(nullptr);
  EXPECT_EQ(passedOn, "the item is gone");
  EXPECT_EQ(boxes, (std::vector<std::pair<std::string, UINT>>{{"Exception in AddNewShellItem", MB_OK}}));
  EXPECT_EQ(Find("new.bin"), nullptr);
  // The list is left in working order: the next refresh adds the file.
  list_->RefreshList();
  EXPECT_NE(Find("new.bin"), nullptr);
  EXPECT_EQ(list_->ItemCount(), 4);
  EXPECT_EQ(boxes.size(), 1u);
}

// The platform's list view keeps its origin when its items are cleared; Wine's resets it. This
// list answers the origin query with the origin of a view scrolled right and down and records
// the scrolls it is asked for.
class TScrolledShellList : public TKxShellList {
 public:
  using TKxShellList::TKxShellList;
  std::vector<std::pair<int, int>> scrolls;

 protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == LVM_GETORIGIN && (ViewStyle() == vsIcon || ViewStyle() == vsSmallIcon)) {
      *reinterpret_cast<POINT*>(message.LParam) = POINT{120, 400};
      message.Result = TRUE;
      return;
    }
    if (message.Msg == LVM_SCROLL)
      scrolls.emplace_back(static_cast<int>(message.WParam), static_cast<int>(message.LParam));
    TKxShellList::WndProc(message);
  }
};

TEST_F(ShellListTest, ARefillStartsIconViewsAtTheTopLeft) {
  auto* list = new TScrolledShellList(form_);
  list->SetParent(form_);
  list->SetBounds(0, 0, 300, 150);
  list->SetOptions(list->Options() - TKxShellListOptions{sloAutoFill, sloDynamicRefresh});
  TIdListPtr folder = ListOf(root_);
  list->Folder()->SetIdList(folder.get());
  struct TCase {
    TViewStyle style;
    std::vector<std::pair<int, int>> scrolls;
  } cases[] = {
      {vsIcon, {{-120, -400}}},
      {vsSmallIcon, {{-120, -400}}},
      {vsList, {}},
      {vsReport, {}},
  };
  for (const TCase& c : cases) {
    list->SetViewStyle(c.style);
    EXPECT_NE(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LVS_AUTOARRANGE, 0) << c.style;
    list->scrolls.clear();
    list->RefillList();
    EXPECT_EQ(list->ItemCount(), 3) << c.style;
    EXPECT_EQ(list->scrolls, c.scrolls) << c.style;
  }
}

TEST_F(ShellListTest, FillsAndRefreshesShowTheHourglass) {
  std::vector<TCursor> during;
  list_->OnFillStart = [&](TObject*) { during.push_back(Screen->Cursor()); };
  list_->RefillList();
  EXPECT_EQ(Screen->Cursor(), crDefault);
  MakeFile("new.bin", 5);
  list_->RefreshList();
  EXPECT_EQ(Screen->Cursor(), crDefault);
  list_->OnFillStart = nullptr;
  EXPECT_EQ(during, (std::vector<TCursor>{crHourGlass, crHourGlass}));
}

TEST_F(ShellListTest, AColumnClickSortsInTheShellsOrderUnlessTheBaseSortsOnClick) {
  auto click = [&](int column) {
    NMLISTVIEW note{};
    note.hdr.hwndFrom = list_->Handle();
    note.hdr.code = LVN_COLUMNCLICK;
    note.iSubItem = column;
    list_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
  };
  auto names = [&] {
    std::vector<std::string> result;
    for (int i = 0; i < list_->ItemCount(); ++i) result.push_back(list_->ShellData(list_->Item(i))->DisplayName());
    return result;
  };
  // The list starts sorted by the first column, so a click on it reverses the shell's order.
  const std::vector<std::string> shellOrder = names();
  click(0);
  EXPECT_EQ(list_->SortDirection(), 1);
  std::vector<std::string> reversed(shellOrder.rbegin(), shellOrder.rend());
  EXPECT_EQ(names(), reversed);
  click(0);
  EXPECT_EQ(list_->SortDirection(), 0);
  EXPECT_EQ(names(), shellOrder);
  // Sorting on click is the base's: the first click on a column sorts it ascending by its text.
  list_->SetSortOnClick(true);
  for (int i = 0; i < list_->ItemCount(); ++i) list_->Item(i)->SetCaption(list_->ShellData(list_->Item(i))->DisplayName());
  click(0);
  EXPECT_EQ(list_->SortDirection(), 0);
  EXPECT_EQ(names(), (std::vector<std::string>{"empty.txt", "small.txt", "Sub"}));
  click(0);
  EXPECT_EQ(list_->SortDirection(), 1);
  EXPECT_EQ(names(), (std::vector<std::string>{"Sub", "small.txt", "empty.txt"}));
}

// A folder whose enumeration lists nothing and ends with a chosen code.
class TEndingFolder : public IShellFolder, public IEnumIDList {
 public:
  HRESULT end = S_FALSE;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellFolder)) *out = static_cast<IShellFolder*>(this);
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*, ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** out) override {
    *out = this;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG, PITEMID_CHILD* items, ULONG* fetched) override {
    items[0] = nullptr;
    if (fetched) *fetched = 0;
    return end;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
};

class TFillingShellList : public TKxShellList {
 public:
  using TKxShellList::TKxShellList;
  using TKxShellList::FillList;
};

TEST_F(ShellFolderTest, AFillThatRaisesKeepsThePreviousFolderList) {
  MakeFolder("Sub");
  TForm form(nullptr);
  auto* list = new TFillingShellList(&form);
  list->SetParent(&form);
  list->SetOptions(list->Options() - TKxShellListOptions{sloAutoFill, sloDynamicRefresh});
  list->HandleNeeded();
  TIdListPtr root = ListOf(root_);
  TIdListPtr sub = ListOf(root_ + "Sub");
  list->Folder()->SetIdList(root.get());
  ASSERT_EQ(IdListBytes(list->FolderIdList()), IdListBytes(root.get()));
  static TEndingFolder folder;
  struct TCase {
    HRESULT end;
    bool raises;
  } cases[] = {{S_FALSE, false}, {static_cast<HRESULT>(0x80070103), false}, {E_FAIL, false}, {E_ACCESSDENIED, true}};
  for (const TCase& c : cases) {
    list->RefillList();
    ASSERT_EQ(IdListBytes(list->FolderIdList()), IdListBytes(root.get()));
    folder.end = c.end;
    int completed = 0;
    list->OnFillComplete = [&](TObject*) { ++completed; };
    bool raised = false;
    try {
      list->FillList(&folder, sub.get());
    } catch (const Exception&) {
      raised = true;
    }
    list->OnFillComplete = nullptr;
    EXPECT_EQ(raised, c.raises) << std::hex << c.end;
    EXPECT_EQ(completed, 1) << std::hex << c.end;
    EXPECT_EQ(IdListBytes(list->FolderIdList()), IdListBytes(c.raises ? root.get() : sub.get())) << std::hex << c.end;
  }
}

// A folder of made-up items, one byte of key each; the key picks its attributes from a table.
// Every list it hands out is recorded, so a test can see which ones were given back.
class TListingFolder : public TEndingFolder {
 public:
  std::vector<ULONG> attributes;  // per key
  std::set<void*> handedOut;
  size_t next = 0;

  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** out) override {
    next = 0;
    *out = this;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG, PITEMID_CHILD* items, ULONG* fetched) override {
    items[0] = nullptr;
    if (fetched) *fetched = 0;
    if (next >= attributes.size()) return S_FALSE;
    auto* bytes = static_cast<unsigned char*>(CoTaskMemAlloc(5));
    bytes[0] = 3;
    bytes[1] = 0;
    bytes[2] = static_cast<unsigned char>(next++);
    bytes[3] = bytes[4] = 0;
    handedOut.insert(bytes);
    items[0] = reinterpret_cast<PITEMID_CHILD>(bytes);
    if (fetched) *fetched = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY items, SFGAOF* out) override {
    *out &= attributes.at(reinterpret_cast<const unsigned char*>(items[0])[2]);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF, STRRET* name) override {
    name->uType = STRRET_CSTR;
    snprintf(name->cStr, sizeof name->cStr, "item%d", reinterpret_cast<const unsigned char*>(item)[2]);
    return S_OK;
  }
};

// Watches the task allocator's frees (the shell allocator is the task allocator).
class TFreeSpy : public IMallocSpy {
 public:
  std::set<void*>* watched = nullptr;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMallocSpy)) *out = this;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T bytes) override { return bytes; }
  void* STDMETHODCALLTYPE PostAlloc(void* actual) override { return actual; }
  void* STDMETHODCALLTYPE PreFree(void* request, BOOL) override {
    if (watched) watched->erase(request);
    return request;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T bytes, void** out, BOOL) override {
    *out = request;
    return bytes;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

TEST_F(ShellFolderTest, AnAddItemHandlerThatRaisesLeavesNoItemListBehind) {
  TForm form(nullptr);
  auto* list = new TFillingShellList(&form);
  list->SetParent(&form);
  list->SetOptions(list->Options() - TKxShellListOptions{sloAutoFill, sloDynamicRefresh});
  list->HandleNeeded();
  TIdListPtr root = ListOf(root_);
  static TListingFolder folder;
  folder.attributes.assign(6, SFGAO_FILESYSTEM);
  folder.handedOut.clear();
  TFreeSpy spy;
  spy.watched = &folder.handedOut;
  ASSERT_EQ(CoRegisterMallocSpy(&spy), S_OK);
  int asked = 0;
  list->OnAddItem = [&](TObject*, IShellFolder*, PCIDL, PCIDL, ULONG, bool&) {
    if (++asked == 3) throw std::runtime_error("refused loudly");
  };
  EXPECT_THROW(list->FillList(&folder, root.get()), std::runtime_error);
  EXPECT_EQ(list->ItemCount(), 2) << "the two items before the failure were listed";
  list->ClearItems();
  const size_t left = folder.handedOut.size();
  spy.watched = nullptr;
  CoRevokeMallocSpy();
  EXPECT_EQ(left, 0u) << "every list the folder handed out was freed";
}

TEST_F(ShellFolderTest, FilesOnlyWithATreeLeavesOutWhatCountsAsAFolder) {
  TForm form(nullptr);
  auto* tree = new TKxShellTree(&form);
  tree->ChangeOptions({});
  auto* list = new TFillingShellList(&form);
  list->SetParent(&form);
  list->HandleNeeded();
  TIdListPtr root = ListOf(root_);
  const TKxShellVersions saved = ShellVersions();
  TKxShellVersions v6 = saved;
  v6.Shell32.MostSignificant = 0x60000;
  SetShellVersions(v6);
  static TListingFolder folder;
  // item0 a folder, item1 a folder that is a stream (an archive), item2 a file.
  folder.attributes = {SFGAO_FILESYSTEM | SFGAO_FOLDER, SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM, SFGAO_FILESYSTEM};
  struct TCase {
    bool withTree;
    bool streamsAsFolders;
    std::vector<std::string> listed;
  } cases[] = {
      {false, false, {"item0", "item1", "item2"}},
      {true, false, {"item1", "item2"}},
      {true, true, {"item2"}},
  };
  for (const TCase& c : cases) {
    TKxShellListOptions options = list->Options() - TKxShellListOptions{sloAutoFill, sloDynamicRefresh, sloStreamsAsFolders};
    options.Include(sloFilesOnlyWithTree);
    if (c.streamsAsFolders) options.Include(sloStreamsAsFolders);
    list->SetOptions(options);
    list->SetShellTree(c.withTree ? tree : nullptr);
    list->ClearItems();
    list->FillList(&folder, root.get());
    std::vector<std::string> names;
    for (int i = 0; i < list->ItemCount(); ++i) names.push_back(list->ShellData(list->Item(i))->DisplayName());
    EXPECT_EQ(names, c.listed) << c.withTree << c.streamsAsFolders;
  }
  list->SetShellTree(nullptr);
  SetShellVersions(saved);
}

TEST_F(ShellListTest, DeviceChangesRefillOnlyTheComputersDriveList) {
  TValidatedFolder computer;
  SetDrivesFolderBinder([&](IShellFolder*& folder) {
    folder = &computer;
    return S_OK;
  });
  int fills = 0;
  list_->OnFillStart = [&](TObject*) { ++fills; };
  PIDL drives = nullptr;
  ASSERT_TRUE(SUCCEEDED(SpecialFolderIdList(nullptr, CSIDL_DRIVES, drives)));
  TIdListPtr holdDrives(drives);
  struct TCase {
    bool drivesShown;
    WPARAM event;
    int validations;
    int fills;
  } cases[] = {
      {false, DBT_DEVICEARRIVAL, 0, 0},
      {true, DBT_DEVICEQUERYREMOVE, 0, 0},
      {true, DBT_DEVICEARRIVAL, 1, 1},
      {true, DBT_DEVICEREMOVECOMPLETE, 2, 2},
  };
  for (const TCase& c : cases) {
    if (c.drivesShown && SpecialFolderIdOf(list_->FolderIdList()) != CSIDL_DRIVES) {
      list_->Folder()->SetIdList(drives);
      fills = 0;
    }
    TKxDeviceMessage message{WM_DEVICECHANGE, c.event, 0, 0};
    SharedDeviceChangeHandler().Dispatch(message);
    EXPECT_EQ(computer.validations, c.validations) << c.drivesShown << std::hex << c.event;
    EXPECT_EQ(fills, c.fills) << c.drivesShown << std::hex << c.event;
    EXPECT_FALSE(DriveValidationSuspended());
  }
  list_->OnFillStart = nullptr;
  SetDrivesFolderBinder(nullptr);
}

TEST_F(ShellListTest, OpeningAFolderShowsItAndGoingUpReturns) {
  MakeFile("Sub\\inside.txt", 1);
  std::vector<std::string> changes;  // the folder shown when the folder-changed event fired
  list_->OnFolderChanged = [&](TObject*) { changes.push_back(list_->Folder()->PathName()); };
  TListItem* sub = Find("Sub");
  ASSERT_NE(sub, nullptr);
  list_->OpenItem(sub);
  EXPECT_EQ(list_->Folder()->PathName(), root_ + "Sub");
  ASSERT_EQ(list_->ItemCount(), 1);
  list_->GoUp(1);
  EXPECT_EQ(list_->Folder()->PathName(), root_.substr(0, root_.size() - 1));
  EXPECT_EQ(list_->ItemCount(), 3);
  EXPECT_EQ(changes, (std::vector<std::string>{root_ + "Sub", root_.substr(0, root_.size() - 1)}))
      << "each change of the folder is told once, after the list was refilled";
}

}  // namespace
