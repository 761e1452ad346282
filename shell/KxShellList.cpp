// TKxCustomShellList: filling, columns, refreshing, opening, renaming, dragging.
#include "shell/KxShellList.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

#include "shell/ChangeHandlerThread.h"
#include "shell/KxFileRoutines.h"
#include "shell/KxIdListArray.h"
#include "shell/KxPidlList.h"
#include "shell/KxShellMenus.h"
#include "shell/KxShellNames.h"
#include "shell/KxShortCuts.h"
#include "shell/KxShortcut.h"
#include "shell/KxShellUtils.h"
#include "shell/KxSystemImages.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/Registry.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Dialogs.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/Timer.h"

#include <dbt.h>

namespace {

struct TCounterRaise {
  explicit TCounterRaise(int& c) : counter(c) { ++counter; }
  ~TCounterRaise() { --counter; }
  int& counter;
};

class TCriticalErrorsOff {
 public:
  TCriticalErrorsOff() : saved_(SetErrorMode(SEM_FAILCRITICALERRORS)) { SetErrorMode(saved_ | SEM_FAILCRITICALERRORS); }
  ~TCriticalErrorsOff() { SetErrorMode(saved_); }
  TCriticalErrorsOff(const TCriticalErrorsOff&) = delete;
  TCriticalErrorsOff& operator=(const TCriticalErrorsOff&) = delete;

 private:
  UINT saved_;
};

// IShellDetails over a folder's IShellFolder2: only the columns shown by default (or whose
// state cannot be read), so the column list ends at the first hidden one.
class TShellFolder2ToShellDetailsAdapter final : public IShellDetails {
 public:
  explicit TShellFolder2ToShellDetailsAdapter(IShellFolder2* folder) : folder_(folder) { folder_->AddRef(); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellDetails)) {
      *out = static_cast<IShellDetails*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) override {
    SHCOLSTATEF state = 0;
    if (SUCCEEDED(folder_->GetDefaultColumnState(column, &state)) && !(state & SHCOLSTATE_ONBYDEFAULT))
      return E_INVALIDARG;
    return folder_->GetDetailsOf(item, column, details);
  }
  HRESULT STDMETHODCALLTYPE ColumnClick(UINT) override { return E_NOTIMPL; }

 private:
  ~TShellFolder2ToShellDetailsAdapter() { folder_->Release(); }
  IShellFolder2* folder_;
  LONG refs_ = 0;
};

IShellDetails* DetailsOf(IShellFolder* folder) {
  IShellFolder2* folder2 = nullptr;
  if (SUCCEEDED(folder->QueryInterface(IID_IShellFolder2, reinterpret_cast<void**>(&folder2)))) {
    SHELLDETAILS probe{};
    const HRESULT hr = folder2->GetDetailsOf(nullptr, 0, &probe);
    if (SUCCEEDED(hr)) {
      FreeStrRet(probe.str);
      auto* adapter = new TShellFolder2ToShellDetailsAdapter(folder2);
      adapter->AddRef();
      folder2->Release();
      return adapter;
    }
    folder2->Release();
  }
  IShellDetails* details = nullptr;
  if (SUCCEEDED(folder->QueryInterface(IID_IShellDetails, reinterpret_cast<void**>(&details)))) return details;
  if (SUCCEEDED(folder->CreateViewObject(nullptr, IID_IShellDetails, reinterpret_cast<void**>(&details))))
    return details;
  return nullptr;
}

// Clears the selection of every item (LVM_SETITEMSTATE with index -1).
const LVITEMW kUnselectAll = [] {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  return item;
}();

// Posted by the end of a label edit when a refresh was owed meanwhile.
constexpr UINT kRefreshAfterEditMessage = KX_SHELL_AUTOFILL_MESSAGE + 1;

// Values of the last fill: the "DirectoryCols" bytes it read.
std::vector<unsigned char> lastDirectoryCols;
bool directoryColsRead = false;

}  // namespace

std::vector<int>& RememberedColumnWidths() {
  static std::vector<int> widths;
  return widths;
}

bool DirectoryColsWidths(const std::vector<unsigned char>& value, int widths[4]) {
  if (value.size() < 16 || value.size() > 22) return false;
  for (int i = 0; i < 4; ++i) {
    int32_t w = 0;
    std::memcpy(&w, value.data() + 4 * i, 4);
    widths[i] = w;
  }
  return true;
}

bool QueriesReadOnly(const std::string& path, const TKxDriveTypeQuery& driveType) {
  if (path.size() <= 3 || path[1] != ':' || IsDBCSLeadByte(static_cast<BYTE>(path[0]))) return true;
  const std::string root = path.substr(0, 2) + "\\";
  const UINT type = driveType ? driveType(root) : GetDriveTypeA(root.c_str());
  return type != DRIVE_REMOVABLE;
}

// ---- TKxShellListData -----------------------------------------------------------------------

TKxShellListData::TKxShellListData(TKxCustomShellList* owner, PIDL relative) : owner_(owner), relative_(relative) {}

TKxShellListData::~TKxShellListData() {
  ShellFree(relative_);
  ShellFree(absolute_);
}

PCIDL TKxShellListData::AbsIdList() {
  if (!absolute_) absolute_ = ConcatIdLists(nullptr, owner_->folderList_, relative_);
  return absolute_;
}

ULONG TKxShellListData::Attributes() {
  if (!owner_->shellFolder_) return 0;
  TCriticalErrorsOff errors;
  SFGAOF attributes = ShellVersions().Shell32.MostSignificant > 0x5FFFF ? 0x704F0037 : 0x700F0037;
  if (!QueriesReadOnly(PathName(), owner_->DriveTypeQuery)) attributes &= ~static_cast<SFGAOF>(SFGAO_READONLY);
  PCIDL one = relative_;
  const bool readOnlyAsked = (attributes & SFGAO_READONLY) != 0;
  if (FAILED(owner_->shellFolder_->GetAttributesOf(1, &one, &attributes))) return 0;
  // A folder may answer more than it was asked; a bit not asked for says nothing.
  return readOnlyAsked ? attributes : attributes & ~static_cast<SFGAOF>(SFGAO_READONLY);
}

// An item with the folder bit counts as a folder unless it is a stream (a zip file, say) and
// streams are not taken as folders; shell32 before version 6 knows no streams.
static bool CountsAsFolder(ULONG attributes, bool streamsAsFolders) {
  if (!(attributes & SFGAO_FOLDER)) return false;
  return streamsAsFolders || ShellVersions().Shell32.MostSignificant <= 0x5FFFF || !(attributes & SFGAO_STREAM);
}

bool TKxShellListData::IsFolder() {
  return CountsAsFolder(Attributes(), owner_->options_.Contains(sloStreamsAsFolders));
}

bool TKxShellListData::IsShortcut() { return SameText(ExtractFileExt(PathName()), ".lnk"); }

bool TKxShellListData::CanRename() { return (Attributes() & SFGAO_CANRENAME) != 0; }

const std::string& TKxShellListData::DisplayName() {
  if (!nameValid_) {
    name_ = DisplayNameOf(owner_->shellFolder_, relative_, TKxNameKind::Normal);
    nameValid_ = true;
  }
  return name_;
}

std::string TKxShellListData::PathName() { return PathFromIdList(AbsIdList()); }

void TKxShellListData::SetRelIdList(PIDL relative) {
  ShellFree(relative_);
  relative_ = relative;
  ShellFree(absolute_);
  absolute_ = nullptr;
  nameValid_ = false;
  detailsValid_ = false;
}

std::string TKxShellListData::DetailText(int column) {
  if (column == 0) return {};
  if (owner_->details_) {
    TCriticalErrorsOff errors;
    SHELLDETAILS details{};
    if (FAILED(owner_->details_->GetDetailsOf(relative_, static_cast<UINT>(column), &details))) return {};
    std::string text = StrRetToText(relative_, details.str);
    FreeStrRet(details.str);
    return text;
  }
  if (!detailsValid_) {
    FileDetailsTexts(AbsIdList(), size_, modified_, type_);
    detailsValid_ = true;
  }
  switch (column) {
    case 1: return size_;
    case 2: return type_;
    case 3: return modified_;
    default: return {};
  }
}

// ---- TKxCustomShellList ---------------------------------------------------------------------

const TClassInfo& TKxCustomShellList::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxCustomShellList>("TKxCustomShellList", &TKxCustomListView::StaticClass()).Build();
  return info;
}

const TClassInfo& TKxShellList::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxShellList>("TKxShellList", &TKxCustomShellList::StaticClass()).Build();
  return info;
}

TKxCustomShellList::TKxCustomShellList(TComponent* owner)
    : TKxCustomListView(owner), folder_(new TKxShellLocator), timer_(new TTimer(this)) {
  folder_->OnChange = [this](TObject* sender) { FolderChanged(sender); };
  timer_->SetEnabled(false);
  timer_->SetOnTimer([this](TObject* sender) { TimerTick(sender); });
  SetStretchLastColumn(false);
  SetSmallImages(SystemImageListHandle(TKxIconSize::Small));
  SetLargeImages(SystemImageListHandle(TKxIconSize::Large));
  SharedDeviceChangeHandler().Register(DeviceChangeMethod<&TKxCustomShellList::DeviceChanged>(this));
}

TKxCustomShellList::~TKxCustomShellList() {
  SharedDeviceChangeHandler().Unregister(DeviceChangeMethod<&TKxCustomShellList::DeviceChanged>(this));
  if (tree_) tree_->ChangeShellList(nullptr);
  if (dropTarget_) {
    dropTarget_->Forget();
    dropTarget_->Release();
    dropTarget_ = nullptr;
  }
  delete watcher_;
  watcher_ = nullptr;
  if (HandleAllocated()) ClearAllItems();
  for (TKxShellListData* data : data_) delete data;
  data_.clear();
  if (details_) details_->Release();
  if (shellFolder_) shellFolder_->Release();
  ShellFree(folderList_);
  delete folder_;
}

TKxShellListData* TKxCustomShellList::ShellData(TListItem* item) const {
  if (!item) return nullptr;
  auto* data = static_cast<TKxShellListData*>(item->Data());
  return data_.count(data) ? data : nullptr;
}

HWND TKxCustomShellList::OwnerWindow() {
  TCustomForm* form = GetParentForm(this);
  return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

SHCONTF TKxCustomShellList::EnumFlags() const {
  SHCONTF flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
  if (options_.Contains(sloShowHidden)) flags |= SHCONTF_INCLUDEHIDDEN;
  return flags;
}

void TKxCustomShellList::CreateParams(TCreateParams& params) {
  TKxCustomListView::CreateParams(params);
  params.Style |= LVS_AUTOARRANGE;
}

void TKxCustomShellList::CreateWnd() {
  TKxCustomListView::CreateWnd();
  if (!ComponentState().Contains(csDesigning) && options_.Contains(sloOleDrop) && !dropTarget_) {
    auto* target = new TKxDropTargetForwarder(this);
    target->AddRef();
    if (SUCCEEDED(RegisterDragDrop(Handle(), target))) {
      dropTarget_ = target;
    } else {
      target->Forget();
      target->Release();
    }
  }
  if (!ComponentState().Contains(csLoading) && options_.Contains(sloAutoFill) && ItemCount() == 0)
    PostMessageW(Handle(), KX_SHELL_AUTOFILL_MESSAGE, 0, 0);
}

void TKxCustomShellList::Loaded() {
  TKxCustomListView::Loaded();
  // A window made while loading posted nothing yet: the fill waits for the loaded options.
  if (options_.Contains(sloAutoFill) && HandleAllocated() && ItemCount() == 0)
    PostMessageW(Handle(), KX_SHELL_AUTOFILL_MESSAGE, 0, 0);
}

void TKxCustomShellList::DestroyWnd() {
  RememberWidths();
  delete watcher_;
  watcher_ = nullptr;
  if (dropTarget_) {
    RevokeDragDrop(Handle());
    dropTarget_->Forget();
    dropTarget_->Release();
    dropTarget_ = nullptr;
  }
  ClearAllItems();
  TKxCustomListView::DestroyWnd();
}

void TKxCustomShellList::ClearAllItems() {
  TCounterRaise ignore(ignoreChanges_);
  deletingItems_ = true;
  try {
    if (HandleAllocated()) SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&kUnselectAll));
    ClearItems();
  } catch (...) {
    deletingItems_ = false;
    throw;
  }
  deletingItems_ = false;
}

void TKxCustomShellList::RememberWidths() {
  if (!fileSystemFolder_ || !HandleAllocated()) return;
  std::vector<int>& widths = RememberedColumnWidths();
  widths.clear();
  for (int i = 0; i < ColumnCount(); ++i) widths.push_back(ColumnWidth(i));
}

void TKxCustomShellList::MakeColumns() {
  RememberWidths();
  ClearColumns();
  if (details_) {
    for (UINT column = 0;; ++column) {
      SHELLDETAILS details{};
      if (FAILED(details_->GetDetailsOf(nullptr, column, &details))) break;
      const std::string caption = StrRetToText(nullptr, details.str);
      FreeStrRet(details.str);
      TAlignment alignment = taLeftJustify;
      if ((details.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) alignment = taRightJustify;
      else if ((details.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) alignment = taCenter;
      AddColumn(caption, 9 * details.cxChar, alignment);
    }
    const std::vector<int>& widths = RememberedColumnWidths();
    if (fileSystemFolder_ && !widths.empty()) {
      const int count = std::min(ColumnCount(), static_cast<int>(widths.size()));
      for (int i = 0; i < count; ++i) SetColumnWidth(i, widths[static_cast<size_t>(i)]);
    }
  } else {
    int widths[4] = {200, 60, 100, 120};
    std::vector<unsigned char> value;
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    try {
      if (registry.OpenKeyReadOnly("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer") &&
          registry.ValueExists("DirectoryCols")) {
        value.resize(static_cast<size_t>(std::max(0, registry.GetDataSize("DirectoryCols"))));
        if (!value.empty()) registry.ReadBinaryData("DirectoryCols", value.data(), static_cast<int>(value.size()));
        DirectoryColsWidths(value, widths);
      }
    } catch (const Exception&) {
      value.clear();  // a value of another kind counts as none
    }
    const bool unchanged = directoryColsRead && value == lastDirectoryCols;
    lastDirectoryCols = value;
    directoryColsRead = true;
    AddColumn("Name", widths[0]);
    AddColumn("Size", widths[1], taRightJustify);
    AddColumn("Type", widths[2]);
    AddColumn("Modified", widths[3]);
    const std::vector<int>& remembered = RememberedColumnWidths();
    if (unchanged && !remembered.empty()) {
      const int count = std::min(ColumnCount(), static_cast<int>(remembered.size()));
      for (int i = 0; i < count; ++i) SetColumnWidth(i, remembered[static_cast<size_t>(i)]);
    }
  }
  RefreshHeaderStyles();
  if (std::abs(sortColumn_) - 1 >= ColumnCount()) sortColumn_ = 1;
}

bool TKxCustomShellList::DoAddItem(IShellFolder* folder, PCIDL parentList, ULONG attributes, PCIDL item) {
  if (filtering_ && !(attributes & SFGAO_FOLDER)) {
    const std::string name = ExtractFileName(DisplayNameOf(folder, item, TKxNameKind::ForParsing));
    if (!PassesFilter(name, attributes)) return false;
  }
  bool allow = true;
  OnAddItem(this, folder, parentList, item, attributes, allow);
  return allow;
}

bool TKxCustomShellList::ShouldListItem(PCIDL item, ULONG& attributes) {
  attributes = 0x724B0000;
  PCIDL one = item;
  if (FAILED(shellFolder_->GetAttributesOf(1, &one, &attributes))) return false;
  if (!options_.Contains(sloVirtualFolders) && !(attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)))
    return false;
  if (options_.Contains(sloFilesOnlyWithTree) && tree_ &&
      CountsAsFolder(attributes, options_.Contains(sloStreamsAsFolders)))
    return false;
  return DoAddItem(shellFolder_, folderList_, attributes, item);
}

void TKxCustomShellList::AddShellItem(PIDL item) {
  auto* data = new TKxShellListData(this, item);
  data_.insert(data);
  TListItem* listItem = nullptr;
  try {
    listItem = AddItem(std::string(), data);
  } catch (...) {
    data_.erase(data);
    delete data;
    throw;
  }
  if (!listItem) {
    data_.erase(data);
    delete data;
    return;
  }
  // Empty sub-items: their texts come on demand unless someone stores one.
  listItem->SubItems().assign(static_cast<size_t>(details_ ? std::max(0, ColumnCount() - 1) : 3), std::string());
  const ULONG attributes = data->Attributes();
  if (attributes & SFGAO_SHARE) listItem->SetOverlayIndex(0);
  else if (attributes & SFGAO_LINK) listItem->SetOverlayIndex(1);
}

void TKxCustomShellList::AddNewShellItem(PCIDL item) {
  try {
    ULONG attributes = 0;
    if (ShouldListItem(item, attributes)) AddShellItem(CopyIdList(nullptr, item));
  } catch (...) {
    ShowMessage("Exception in AddNewShellItem");
    throw;
  }
}

void TKxCustomShellList::FillList(IShellFolder* folder, PCIDL absolute) {
  BeginUpdate();
  TCriticalErrorsOff errors;
  OnFillStart(this);
  struct TEnd {
    TKxCustomShellList* list;
    ~TEnd() {
      list->EndUpdate();
      list->OnFillComplete(list);
    }
  } end{this};
  // The previous list comes back when the fill raises; otherwise it goes.
  struct TListSwap {
    PIDL& current;
    PIDL previous;
    int exceptions = std::uncaught_exceptions();
    ~TListSwap() {
      if (current == previous) return;
      if (std::uncaught_exceptions() > exceptions) std::swap(current, previous);
      ShellFree(previous);
    }
  } swap{folderList_, folderList_};
  folderList_ = CopyIdList(nullptr, absolute);
  folder->AddRef();
  if (shellFolder_) shellFolder_->Release();
  shellFolder_ = folder;
  if (details_) details_->Release();
  details_ = DetailsOf(folder);
  RememberWidths();
  fileSystemFolder_ = !PathFromIdList(folderList_).empty();
  MakeColumns();
  TComRef<IEnumIDList> enumerator;
  if (folder->EnumObjects(OwnerWindow(), EnumFlags(), enumerator.Put()) != S_OK || !enumerator) return;
  // Every list found is owned here until an item takes it, so a handler or an insert that
  // raises leaves none behind.
  std::vector<TIdListPtr> found;
  HRESULT next;
  for (;;) {
    PIDL item = nullptr;
    ULONG fetched = 0;
    next = enumerator->Next(1, &item, &fetched);
    if (next != S_OK) {
      ShellFree(item);
      break;
    }
    if (!fetched || !item) continue;
    if (found.size() == found.capacity()) found.reserve(found.size() + 500);
    found.emplace_back(item);
  }
  if (next == S_FALSE || next == static_cast<HRESULT>(0x80070103)) {
    SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(ItemCount() + static_cast<int>(found.size())), 0);
    for (TIdListPtr& item : found) {
      ULONG attributes = 0;
      if (ShouldListItem(item.get(), attributes)) AddShellItem(item.release());
    }
    return;
  }
  if (next == E_FAIL) return;
  throw EOleSysError(next);
}

void TKxCustomShellList::SortItems() {
  if (sortColumn_ == 0 || !shellFolder_) return;
  const int column = std::abs(sortColumn_) - 1;
  const bool descending = sortColumn_ < 0;
  IShellFolder* folder = shellFolder_;
  CustomSort([this, folder, column, descending](TListItem* a, TListItem* b) {
    TKxShellListData* da = ShellData(a);
    TKxShellListData* db = ShellData(b);
    if (!da || !db) return 0;
    const HRESULT hr = folder->CompareIDs(static_cast<LPARAM>(column), da->RelIdList(), db->RelIdList());
    if (FAILED(hr)) return 0;
    const int result = static_cast<short>(HRESULT_CODE(hr) & 0xFFFF);
    return descending ? -result : result;
  });
}

void TKxCustomShellList::ColumnClick(int column) {
  // With sorting on click the base sorts by the texts; the shell's order is for the other case.
  if (SortOnClick()) {
    TKxCustomListView::ColumnClick(column);
    return;
  }
  sortColumn_ = (std::abs(sortColumn_) - 1 == column) ? -sortColumn_ : column + 1;
  SetSortColumn(column);
  SetSortDirection(sortColumn_ < 0 ? 1 : 0);
  SortItems();
}

void TKxCustomShellList::RefillList() {
  if (!HandleAllocated()) return;
  if (refresh_.deferred || IsEditing()) {
    refresh_.wanted = true;
    return;
  }
  THourGlass hourGlass;
  ClearAllItems();
  TComRef<IShellFolder> folder;
  OleCheck(BindToFolderOfIdList(folder_->IdList(), *folder.Put()));
  {
    // The table is made from the folder about to be shown.
    PIDL previous = folderList_;
    folderList_ = CopyIdList(nullptr, folder_->IdList());
    BuildFilterTable();
    ShellFree(folderList_);
    folderList_ = previous;
  }
  try {
    FillList(folder.Get(), folder_->IdList());
  } catch (...) {
    ClearFilterTable();
    throw;
  }
  ClearFilterTable();
  SortItems();
  if (TListItem* first = Item(0)) first->SetFocused(true);
  if (ViewStyle() == vsIcon || ViewStyle() == vsSmallIcon) {
    // A new folder starts at its top-left, not where the last one was scrolled to (the view
    // keeps its origin when its items are cleared).
    POINT origin{};
    if (SendMessageW(Handle(), LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&origin)) && (origin.x != 0 || origin.y != 0))
      SendMessageW(Handle(), LVM_SCROLL, static_cast<WPARAM>(-origin.x), static_cast<LPARAM>(-origin.y));
  }
  if (options_.Contains(sloDynamicRefresh) && !ComponentState().Contains(csDesigning)) WatchFolder();
}

void TKxCustomShellList::RefreshList() {
  if (refresh_.deferred || IsEditing()) {
    refresh_.wanted = true;
    return;
  }
  if (ItemCount() == 0) {
    RefillList();
    return;
  }
  if (!shellFolder_) return;
  THourGlass hourGlass;
  OnFillStart(this);
  BuildFilterTable();
  struct TFilterEnd {
    TKxCustomShellList* list;
    ~TFilterEnd() { list->ClearFilterTable(); }
  } filterEnd{this};
  TKxPidlList existing;
  if (!fileSystemFolder_) existing.SetShellFolder(shellFolder_);
  for (int i = 0; i < ItemCount(); ++i)
    if (TKxShellListData* data = ShellData(Item(i))) existing.AddObject(const_cast<PIDL>(data->RelIdList()), Item(i));
  existing.SetDuplicates(dupAccept);
  existing.SetSorted(true);
  TKxPidlList current;
  current.SetAllocator(ShellAllocator());
  {
    TCriticalErrorsOff errors;
    TComRef<IEnumIDList> enumerator;
    if (shellFolder_->EnumObjects(OwnerWindow(), EnumFlags(), enumerator.Put()) == S_OK && enumerator) {
      for (;;) {
        PIDL item = nullptr;
        ULONG fetched = 0;
        if (enumerator->Next(1, &item, &fetched) != S_OK) {
          ShellFree(item);
          break;
        }
        if (fetched && item) current.Add(item);
      }
    }
  }
  for (int i = current.Count() - 1; i >= 0; --i) {
    const int index = existing.IndexOf(current.Items(i));
    if (index >= 0) {
      existing.Delete(index);
      current.Delete(i);
    }
  }
  {
    BeginUpdate();
    struct TUpdateEnd {
      TKxCustomShellList* list;
      ~TUpdateEnd() { list->EndUpdate(); }
    } updateEnd{this};
    for (int i = existing.Count() - 1; i >= 0; --i) static_cast<TListItem*>(existing.Objects(i))->Delete();
    for (int i = 0; i < current.Count(); ++i) AddNewShellItem(current.Items(i));
  }
  if (current.Count() > 0) SortItems();
  OnFillComplete(this);
}

void TKxCustomShellList::FolderChanged(TObject*) {
  if (ignoreChanges_ == 0) {
    if (tree_) tree_->SetSelectedFolder(folder_);
    RefillList();
  }
  DoFolderChanged();
}

void TKxCustomShellList::DoFolderChanged() { OnFolderChanged(this); }

void TKxCustomShellList::FollowLocator(TKxShellLocator* locator) { folder_->Assign(locator); }

void TKxCustomShellList::FollowNode(TTreeNode* node) {
  if (ComponentState().Contains(csLoading) || !tree_) return;
  if (TKxShellTreeData* data = tree_->ShellData(node)) folder_->SetIdList(data->AbsIdList());
}

void TKxCustomShellList::FlushPendingRefresh(bool flushTree) {
  if (flushTree && tree_) tree_->FlushPendingSelection(false);
  if (timer_->Enabled()) TimerTick(timer_);
}

void TKxCustomShellList::GoUp(int levels) {
  if (options_.Contains(sloStayInFolder)) return;
  if (tree_) {
    tree_->GoUp(levels);
    return;
  }
  TKxIdListArray items(folder_->IdList());
  if (items.Count() == 0) return;
  TIdListPtr up(CopyIdList(nullptr, items.WithoutLast(std::min(levels, items.Count()))));
  folder_->SetIdList(up.get());
}

void TKxCustomShellList::OpenItem(TListItem* item) {
  TKxShellListData* data = ShellData(item);
  if (!data) return;
  if (tree_) tree_->FlushPendingSelection(false);
  if (data->IsFolder()) {
    if (options_.Contains(sloStayInFolder)) return;
    TIdListPtr target(CopyIdList(nullptr, data->AbsIdList()));
    if (tree_) {
      TKxShellLocator locator;
      locator.SetIdList(target.get());
      tree_->SetSelectedFolder(&locator);
    } else {
      folder_->SetIdList(target.get());
    }
    return;
  }
  if (data->IsShortcut()) {
    TLinkData link;
    link.NoUI = true;
    const HRESULT hr = ReadShortcut(data->PathName(), link, true);
    TIdListPtr target(link.IdList);
    if (SUCCEEDED(hr) && target && (link.FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      // The list parsed from the target's path binds where a link's stored list may not.
      PIDL parsed = nullptr;
      if (!link.Path.empty() && SUCCEEDED(IdListFromPath(link.Path, parsed)) && parsed) target.reset(parsed);
      if (!options_.Contains(sloStayInFolder)) folder_->SetIdList(target.get());
      return;
    }
  }
  if (DoDblClickOpen()) return;
  TComRef<IContextMenu> menu;
  if (SUCCEEDED(ItemUIObject(item, IID_IContextMenu, menu.PutVoid())) && menu) InvokeDefaultCommand(menu.Get());
}

void TKxCustomShellList::OpenSelection() {
  if (SelCount() < 2) {
    OpenItem(Selected());
    return;
  }
  if (DoDblClickOpen()) return;
  TComRef<IContextMenu> menu;
  if (SUCCEEDED(SelectionUIObject(IID_IContextMenu, menu.PutVoid())) && menu) InvokeDefaultCommand(menu.Get());
}

void TKxCustomShellList::KeyDown(WORD& key, TShiftState shift) {
  TKxCustomListView::KeyDown(key, shift);
  if (key == 0 || !options_.Contains(sloDefaultKeyHandling) || ComponentState().Contains(csDesigning) || IsEditing())
    return;
  if (key == VK_BACK && shift.Bits() == 0) {
    key = 0;
    GoUp(1);
    return;
  }
  if (key == VK_RETURN && shift.Bits() == 0) {
    key = 0;
    OpenSelection();
    return;
  }
  const TShortCut pressed = ShortCutOf(key, shift);
  const WORD original = key;
  key = 0;
  if (pressed == ShellDefaultKey(skSelectAll).ShortCut) {
    BeginUpdate();
    try {
      for (int i = 0; i < ItemCount(); ++i) Item(i)->SetSelected(true);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  } else if (pressed == ShellDefaultKey(skRefresh).ShortCut) {
    RefillList();
  } else if (pressed == ShellDefaultKey(skCopy).ShortCut) {
    InvokeVerbOnSelection("copy");
  } else if (pressed == ShellDefaultKey(skCut).ShortCut) {
    InvokeVerbOnSelection("cut");
  } else if (pressed == ShellDefaultKey(skPaste).ShortCut) {
    InvokeVerbOnFolder("paste");
    RefreshList();
  } else if (pressed == ShellDefaultKey(skRename).ShortCut) {
    if (TListItem* item = ItemFocused()) item->EditCaption();
  } else if (pressed == ShellDefaultKey(skDelete).ShortCut || pressed == (ShellDefaultKey(skDelete).ShortCut | scShift)) {
    InvokeVerbOnSelection("delete");
    RefreshList();
  } else {
    key = original;
  }
}

std::string TKxCustomShellList::GetItemText(TListItem* item, int column) {
  TKxShellListData* data = ShellData(item);
  if (!data) return TKxCustomListView::GetItemText(item, column);
  if (column == 0) return data->DisplayName();
  const size_t k = static_cast<size_t>(column - 1);
  if (k < item->SubItems().size() && !item->SubItems()[k].empty()) return item->SubItems()[k];
  return data->DetailText(column);
}

void TKxCustomShellList::GetImageIndex(TListItem* item) {
  TKxShellListData* data = ShellData(item);
  if (data && item->ImageIndex() < 1) item->SetImageIndex(SystemIconIndexOf(data->AbsIdList(), SHGFI_SMALLICON));
}

void TKxCustomShellList::Delete(TListItem* item) {
  if (item == dropItem_) dropItem_ = nullptr;
  TKxShellListData* data = ShellData(item);
  if (!data) return;
  struct TFree {
    TKxCustomShellList* list;
    TKxShellListData* data;
    TListItem* item;
    ~TFree() {
      list->data_.erase(data);
      delete data;
      item->SetData(nullptr);
    }
  } free{this, data, item};
  OnDeleteItem(this, item, data);
}

bool TKxCustomShellList::CanEdit(TListItem* item) {
  TKxShellListData* data = ShellData(item);
  if (!data) return TKxCustomListView::CanEdit(item);
  return data->CanRename() && TKxCustomListView::CanEdit(item);
}

std::string TKxCustomShellList::EditorText(TListItem* item) {
  TKxShellListData* data = ShellData(item);
  if (!data) return TKxCustomListView::EditorText(item);
  return DisplayNameOf(shellFolder_, data->RelIdList(), TKxNameKind::ForEditing);
}

void TKxCustomShellList::Edit(TListItem* item, const std::string* text) {
  TKxShellListData* data = ShellData(item);
  if (!text || !data || !shellFolder_) {
    TKxCustomListView::Edit(item, text);
    if (refresh_.wanted && !text && HandleAllocated()) PostMessageW(Handle(), kRefreshAfterEditMessage, 0, 0);
    return;
  }
  std::string name = Trim(*text);
  OnEdited(this, item, name);
  // No name at all is no rename: the item keeps its name rather than the shell being asked.
  if (!Trim(name).empty()) {
    PIDL renamed = nullptr;
    THourGlass hourglass;
    refresh_.ignoreNext = true;
    TCounterRaise ignore(ignoreChanges_);
    std::wstring wide = Utf8ToWide(name);
    if (wide.size() > MAX_PATH) wide.resize(MAX_PATH);
    const HRESULT hr = shellFolder_->SetNameOf(OwnerWindow(), data->RelIdList(), wide.c_str(), 0x20, &renamed);
    if (SUCCEEDED(hr)) {
      if (renamed) {
        data->SetRelIdList(renamed);
        renamed = nullptr;
      }
      item->SetCaption(DisplayNameOf(shellFolder_, data->RelIdList(), TKxNameKind::InFolder));
    } else {
      refresh_.ignoreNext = false;
    }
    ShellFree(renamed);
  }
  // The editor is still up while this notification runs: refresh once it has gone.
  if (refresh_.wanted && HandleAllocated()) PostMessageW(Handle(), kRefreshAfterEditMessage, 0, 0);
}

void TKxCustomShellList::BeginDragNotify(TListItem*, bool rightButton) {
  if (!options_.Contains(sloOleDrag)) return;
  std::vector<PCIDL> items;
  for (TListItem* item : SelectedItems())
    if (TKxShellListData* data = ShellData(item)) items.push_back(data->RelIdList());
  TKxShellDataObject* made = MakeShellDataObject(folderList_, items);
  if (!made) return;
  TComRef<IDataObject> object;
  made->QueryInterface(IID_IDataObject, object.PutVoid());
  TComRef<IDropSource> source;
  CreateDropSource(rightButton ? TKxDragButton::Right : TKxDragButton::Left)
      ->QueryInterface(IID_IDropSource, source.PutVoid());
  DWORD allowed = DROPEFFECT_NONE;
  try {
    allowed = SelectedEffects();
  } catch (const Exception&) {
    allowed = DROPEFFECT_NONE;
  }
  refresh_.deferred = true;
  ownDrag_ = true;
  menuHandled_ = rightButton;  // the right button's release ends the drag, not a menu
  DWORD effect = 0;
  const HRESULT result = DoDragDrop(object.Get(), source.Get(), allowed, &effect);
  ownDrag_ = false;
  if (result == DRAGDROP_S_DROP) refresh_.wanted = true;
  EndDeferral();
}

void TKxCustomShellList::EndDeferral() {
  if (refresh_.EndDeferral()) RefreshList();
}

void TKxCustomShellList::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
  lastScrollTick_ = Tick();
  if (dragData_) dragData_->Release();
  dragData_ = data;
  if (dragData_) dragData_->AddRef();
  dragKeyState_ = keyState;
  DragOver(keyState, point, effect);
}

void TKxCustomShellList::DragOver(DWORD keyState, POINTL point, DWORD& effect) {
  const TPoint client = ScreenToClient(TPoint{point.x, point.y});
  TListItem* item = nullptr;
  TComRef<IDropTarget> target(DropTargetAt(client, item));
  if (!item && ownDrag_) {
    // Over empty space of the list's own drag: only a right-button drag may copy here.
    SetDropItem(nullptr);
    effect = (dragKeyState_ & MK_RBUTTON) ? (effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
  } else if (target) {
    SetDropItem(item);
    DWORD entered = effect;
    target->DragEnter(dragData_, keyState, point, &entered);
    target->DragOver(keyState, point, &effect);
    target->DragLeave();
  } else {
    SetDropItem(nullptr);
    effect = DROPEFFECT_NONE;
  }
  AutoScroll(client);
  effect |= DROPEFFECT_SCROLL;
}

void TKxCustomShellList::DragLeave() {
  SetDropItem(nullptr);
  if (dragData_) dragData_->Release();
  dragData_ = nullptr;
}

void TKxCustomShellList::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
  const TPoint client = ScreenToClient(TPoint{point.x, point.y});
  TListItem* item = nullptr;
  TComRef<IDropTarget> target(DropTargetAt(client, item));
  const DWORD entryKeys = dragKeyState_;
  DragLeave();
  if (!target || (!item && ownDrag_ && !(entryKeys & MK_RBUTTON))) {
    effect = DROPEFFECT_NONE;
    return;
  }
  keyState |= entryKeys & (MK_LBUTTON | MK_RBUTTON);
  DropOnShellTarget(target.Get(), data, keyState, point, effect);
  if (!refresh_.deferred) RefreshList();
  else refresh_.wanted = true;
}

void TKxCustomShellList::WatchFolder() {
  timer_->SetEnabled(false);
  if (!watcher_) watcher_ = new TChangeHandlerThread(Handle(), KX_SHELL_CHANGE_MESSAGE);
  watcher_->RemoveAllWatches();
  const std::string path = PathFromIdList(folderList_);
  if (path.empty()) return;
  int slot = -1;
  watcher_->AddWatch(path, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME, slot, false);
}

void TKxCustomShellList::ChangeNotified() {
  if (!refresh_.ChangeArrived()) return;
  timer_->SetEnabled(false);
  timer_->SetInterval(Focused() ? 400 : 2000);
  timer_->SetEnabled(true);
}

void TKxCustomShellList::TimerTick(TObject*) {
  timer_->SetEnabled(false);
  {
    TCounterRaise ignore(ignoreChanges_);
    if (tree_) tree_->FlushPendingSelection(false);
  }
  RefreshList();
}

void TKxCustomShellList::DeviceChanged(TKxDeviceMessage& message) {
  if (message.WParam != DBT_DEVICEARRIVAL && message.WParam != DBT_DEVICEREMOVECOMPLETE) return;
  if (!HandleAllocated() || SpecialFolderIdOf(folderList_) != CSIDL_DRIVES) return;
  ValidateDrivesFolder();
  SuspendDriveValidation();
  try {
    RefillList();
  } catch (...) {
    ResumeDriveValidation();
    throw;
  }
  ResumeDriveValidation();
}

void TKxCustomShellList::WndProc(TMessage& message) {
  if (activeMenu_) {
    std::function<void(const std::string&)> hint;
    if (OnPopupHint) hint = [this](const std::string& text) { OnPopupHint(this, text); };
    if (RouteShellMenuMessage(activeMenu_, SmallImages(), message, hint)) return;
  }
  switch (message.Msg) {
    case KX_SHELL_EDIT_NAMED_MESSAGE: {
      message.Result = 0;
      if (editName_.empty()) return;
      ::SetFocus(Handle());
      for (int i = 0; i < ItemCount(); ++i) {
        TKxShellListData* data = ShellData(Item(i));
        if (data && data->DisplayName() == editName_) {
          Item(i)->SetFocused(true);
          Item(i)->EditCaption();
          break;
        }
      }
      return;
    }
    case KX_SHELL_GET_BROWSER_MESSAGE: {
      message.Result = 0;
      TComRef<IUnknown> explorer;
      if (SUCCEEDED(SHGetInstanceExplorer(explorer.Put())) && explorer) {
        IShellBrowser* browser = nullptr;
        if (SUCCEEDED(explorer->QueryInterface(IID_IShellBrowser, reinterpret_cast<void**>(&browser))) && browser) {
          // The explorer instance keeps the browser alive; the asker takes no reference.
          message.Result = reinterpret_cast<LRESULT>(browser);
          browser->Release();
        }
      }
      return;
    }
    case KX_SHELL_CHANGE_MESSAGE:
      ChangeNotified();
      message.Result = 0;
      return;
    case KX_SHELL_AUTOFILL_MESSAGE:
      if (ItemCount() == 0) RefillList();
      message.Result = 0;
      return;
    case kRefreshAfterEditMessage:
      if (refresh_.wanted && !IsEditing() && !refresh_.deferred) {
        refresh_.wanted = false;
        RefreshList();
      }
      message.Result = 0;
      return;
    case WM_LBUTTONDBLCLK:
      TKxCustomListView::WndProc(message);
      OpenSelection();
      return;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      if (deletingItems_) {
        message.Result = 0;
        return;
      }
      break;
    case CM_WANTSPECIALKEY:
      if (IsEditing()) {
        message.Result = 1;
        return;
      }
      if (message.WParam == VK_RETURN) {
        TKxShellListData* data = ShellData(ItemFocused());
        if (data && data->IsFolder()) {
          message.Result = 1;
          return;
        }
      }
      break;
    default:
      break;
  }
  TKxCustomListView::WndProc(message);
}

// ---- File filter ----------------------------------------------------------------------------

void TKxCustomShellList::SetFileFilter(const std::string& value) { fileFilter_ = value; }

void TKxCustomShellList::BuildFilterTable() {
  ClearFilterTable();
  const std::string filter = Trim(fileFilter_);
  if (filter.empty() || filter == "*" || filter == "*.*") return;
  std::string path = PathFromIdList(folderList_);
  if (path.empty()) return;
  if (path.back() != '\\') path += '\\';
  TCriticalErrorsOff errors;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t end = filter.find(';', start);
    if (end == std::string::npos) end = filter.size();
    const std::string pattern = Trim(filter.substr(start, end - start));
    start = end + 1;
    if (pattern.empty()) continue;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(Utf8ToWide(path + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      if (GetLastError() != ERROR_FILE_NOT_FOUND) break;
      continue;
    }
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        filterTable_.push_back(AnsiUpperCase(WideToUtf8(found.cFileName)));
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  std::sort(filterTable_.begin(), filterTable_.end());
  filterTable_.erase(std::unique(filterTable_.begin(), filterTable_.end()), filterTable_.end());
  filtering_ = true;
}

bool TKxCustomShellList::PassesFilter(const std::string& fileName, ULONG attributes) {
  if (attributes & SFGAO_FOLDER) return true;
  return std::binary_search(filterTable_.begin(), filterTable_.end(), AnsiUpperCase(fileName));
}

void TKxCustomShellList::ClearFilterTable() {
  filterTable_.clear();
  filtering_ = false;
}

// ---- Verbs, menus and opening ---------------------------------------------------------------

bool TKxCustomShellList::NetworkFolder() const { return PathFromIdList(folderList_).rfind("\\\\", 0) == 0; }

HRESULT TKxCustomShellList::SelectionUIObject(REFIID iid, void** object) {
  *object = nullptr;
  if (!shellFolder_) return E_FAIL;
  std::vector<PCIDL> items;
  for (TListItem* item : SelectedItems())
    if (TKxShellListData* data = ShellData(item)) items.push_back(data->RelIdList());
  if (items.empty()) return E_FAIL;
  return shellFolder_->GetUIObjectOf(OwnerWindow(), static_cast<UINT>(items.size()), items.data(), iid, nullptr,
                                     object);
}

HRESULT TKxCustomShellList::ItemUIObject(TListItem* item, REFIID iid, void** object) {
  *object = nullptr;
  TKxShellListData* data = ShellData(item);
  if (!data || !shellFolder_) return E_FAIL;
  PCIDL one = data->RelIdList();
  return shellFolder_->GetUIObjectOf(OwnerWindow(), 1, &one, iid, nullptr, object);
}

void TKxCustomShellList::InvokeVerbOnSelection(const std::string& verb) {
  TComRef<IContextMenu> menu;
  if (FAILED(SelectionUIObject(IID_IContextMenu, menu.PutVoid())) || !menu) return;
  InvokeShellVerb(OwnerWindow(), menu.Get(), verb);
  if (NetworkFolder()) RefreshList();
}

void TKxCustomShellList::InvokeVerbOnFolder(const std::string& verb) {
  IShellFolder* parent = nullptr;
  PIDL parentList = nullptr;
  PIDL last = nullptr;
  OleCheck(SplitIdList(folderList_, parent, parentList, last));
  TComRef<IShellFolder> holder(parent);
  TIdListPtr holdParent(parentList);
  TIdListPtr holdLast(last);
  TComRef<IContextMenu> menu;
  PCIDL one = last;
  OleCheck(parent->GetUIObjectOf(OwnerWindow(), 1, &one, IID_IContextMenu, nullptr, menu.PutVoid()));
  InvokeShellVerb(OwnerWindow(), menu.Get(), verb);
}

DWORD TKxCustomShellList::SelectedEffects() {
  std::vector<PCIDL> items;
  for (TListItem* item : SelectedItems())
    if (TKxShellListData* data = ShellData(item)) items.push_back(data->RelIdList());
  if (items.empty() || !shellFolder_) return 0;
  SFGAOF attributes = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  OleCheck(shellFolder_->GetAttributesOf(static_cast<UINT>(items.size()), items.data(), &attributes));
  return attributes & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
}

void TKxCustomShellList::EditItemNamed(const std::string& name) {
  editName_ = name;
  if (HandleAllocated()) PostMessageW(Handle(), KX_SHELL_EDIT_NAMED_MESSAGE, 0, 0);
}

bool TKxCustomShellList::DoDblClickOpen() {
  bool handled = false;
  OnDblClickOpen(this, handled);
  return handled;
}

void TKxCustomShellList::InvokeDefaultCommand(IContextMenu* menu) {
  HMENU popup = CreatePopupMenu();
  if (!popup) return;
  struct TPopupEnd {
    HMENU popup;
    ~TPopupEnd() { DestroyMenu(popup); }
  } popupEnd{popup};
  OleCheck(menu->QueryContextMenu(popup, 0, kShellCommandFirst, 0x7FFF, CMF_EXPLORE));
  const UINT command = GetMenuDefaultItem(popup, FALSE, 0);
  if (command == static_cast<UINT>(-1) || command < kShellCommandFirst) return;
  InvokeShellVerb(OwnerWindow(), menu, static_cast<int>(command - kShellCommandFirst));
}

void TKxCustomShellList::SendToCommand(int index) {
  const auto& entries = SendToList();
  if (index < 0 || index >= static_cast<int>(entries.size())) return;
  std::vector<PCIDL> items;
  for (TListItem* item : SelectedItems())
    if (TKxShellListData* data = ShellData(item)) items.push_back(data->RelIdList());
  TKxShellDataObject* made = MakeShellDataObject(folderList_, items);
  if (!made) return;
  TComRef<IDataObject> object;
  made->QueryInterface(IID_IDataObject, object.PutVoid());
  SendDataToTarget(entries[static_cast<size_t>(index)].Name, object.Get());
}

void TKxCustomShellList::DoItemContextMenu(TListItem* item, TPoint& point, TComponent*& menu) {
  TKxCustomListView::DoItemContextMenu(item, point, menu);
  if (!options_.Contains(sloContextMenus) || ComponentState().Contains(csDesigning) || ownDrag_) return;
  menu = nullptr;
  ShowShellContextMenu(point);
}

void TKxCustomShellList::ShowShellContextMenu(TPoint point) {
  TComRef<IContextMenu> menu;
  if (FAILED(SelectionUIObject(IID_IContextMenu, menu.PutVoid())) || !menu) return;
  UINT flags = CMF_EXPLORE;
  TKxShellListData* focused = ShellData(ItemFocused());
  if (focused && !focused->PathName().empty() && !ReadOnly()) flags |= CMF_CANRENAME;
  HMENU popup = CreatePopupMenu();
  if (!popup) return;
  refresh_.deferred = true;
  struct TMenuEnd {
    TKxCustomShellList* list;
    HMENU popup;
    ~TMenuEnd() {
      list->activeMenu_ = nullptr;
      DestroyMenu(popup);
    }
  };
  bool networkRefresh = false;
  try {
    TMenuEnd menuEnd{this, popup};
    OleCheck(menu->QueryContextMenu(popup, 0, kShellCommandFirst, 0x7FFF, flags));
    activeMenu_ = menu.Get();
    const TPoint screen = ClientToScreen(point);
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.X, screen.Y, 0, Handle(), nullptr));
    activeMenu_ = nullptr;
    if (command == kShellCommandFirst + 18) {
      if (TListItem* item = ItemFocused()) item->EditCaption();
    } else if (command >= kShellCommandFirst) {
      InvokeShellVerb(OwnerWindow(), menu.Get(), static_cast<int>(command - kShellCommandFirst));
      networkRefresh = NetworkFolder();
    } else if (command >= 1) {
      SendToCommand(static_cast<int>(command) - 1);
    }
  } catch (...) {
    EndDeferral();
    throw;
  }
  EndDeferral();
  if (networkRefresh) RefreshList();
}

// ---- Drops over items, automatic scrolling --------------------------------------------------

IDropSource* TKxCustomShellList::CreateDropSource(TKxDragButton button) { return new TDropSource_shlvtv(button); }

void TKxCustomShellList::SetDropItem(TListItem* item) {
  if (item == dropItem_) return;
  auto highlight = [this](TListItem* target, bool on) {
    if (!target || target->Index() < 0) return;
    LVITEMW lv{};
    lv.stateMask = LVIS_DROPHILITED;
    lv.state = on ? LVIS_DROPHILITED : 0;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(target->Index()), reinterpret_cast<LPARAM>(&lv));
  };
  highlight(dropItem_, false);
  dropItem_ = item;
  highlight(dropItem_, true);
}

// The drop target at a client point: the item's own when it has one (`item` set), else the
// folder's (`item` nil). One reference; nil when there is none.
IDropTarget* TKxCustomShellList::DropTargetAt(TPoint client, TListItem*& item) {
  item = GetItemAt(client.X, client.Y);
  IDropTarget* target = nullptr;
  if (item && SUCCEEDED(ItemUIObject(item, IID_IDropTarget, reinterpret_cast<void**>(&target))) && target)
    return target;
  item = nullptr;
  target = nullptr;
  if (folderList_ && SUCCEEDED(DropTargetOfIdList(folderList_, IID_IDropTarget, reinterpret_cast<void**>(&target))))
    return target;
  return nullptr;
}

void TKxCustomShellList::AutoScroll(TPoint point) {
  const DWORD now = Tick();
  if (now - lastScrollTick_ <= 100) return;
  lastScrollTick_ = now;
  const TRect client = ClientRect();
  auto scroll = [this](int bar, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(Handle(), bar, &info) || info.nMax - info.nMin - static_cast<int>(info.nPage) <= 0) return;
    SendMessageW(Handle(), bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(code), 0);
  };
  if (point.X < 26) scroll(SB_HORZ, SB_LINELEFT);
  else if (point.X > client.Right - 26) scroll(SB_HORZ, SB_LINERIGHT);
  if (point.Y < 20) scroll(SB_VERT, SB_LINEUP);
  else if (point.Y > client.Bottom - 20) scroll(SB_VERT, SB_LINEDOWN);
}
