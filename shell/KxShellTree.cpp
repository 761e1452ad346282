// TKxCustomShellTree: filling, selecting, refreshing, renaming, verbs, menus, drag and drop.
#include "shell/KxShellTree.h"

#include <vector>

#include "controls/KxFrameSettings.h"
#include "shell/ChangeHandlerThread.h"
#include "shell/KxFileRoutines.h"
#include "shell/KxIdListArray.h"
#include "shell/KxNetDrive.h"
#include "shell/KxPidlList.h"
#include "shell/KxShellCtrls.h"
#include "shell/KxShellList.h"
#include "shell/KxShellMenus.h"
#include "shell/KxShellNames.h"
#include "shell/KxShellUtils.h"
#include "shell/KxShortCuts.h"
#include "shell/KxSystemImages.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/Timer.h"

#include <dbt.h>

const TEnumInfo& EnumTypeInfo(TKxShellTreeOption) {
  static const TEnumInfo info("TKxShellTreeOption",
                              {"stoAutoFill", "stoVirtualFolders", "stoDesignInteractive", "stoDefaultKeyHandling",
                               "stoContextMenus", "stoDynamicRefresh", "stoIncludeNonFolders", "stoOleDrag",
                               "stoOleDrop", "stoShowHidden"});
  return info;
}

namespace {

const ITEMIDLIST kEmptyList = {};

// SEM_FAILCRITICALERRORS for the scope, so an empty drive shows no system box.
class TCriticalErrorsOff {
 public:
  TCriticalErrorsOff() : saved_(SetErrorMode(SEM_FAILCRITICALERRORS)) { SetErrorMode(saved_ | SEM_FAILCRITICALERRORS); }
  ~TCriticalErrorsOff() { SetErrorMode(saved_); }
  TCriticalErrorsOff(const TCriticalErrorsOff&) = delete;
  TCriticalErrorsOff& operator=(const TCriticalErrorsOff&) = delete;

 private:
  UINT saved_;
};

struct TCounterRaise {
  explicit TCounterRaise(int& c) : counter(c) { ++counter; }
  ~TCounterRaise() { --counter; }
  int& counter;
};

// Messages the tree posts to itself: a refresh wanted while a label was edited runs once the
// editor has gone; a drag's highlight is cleared once the begin-drag notification has returned
// (the platform's tree may set it again when the notification comes back).
constexpr UINT kRefreshAfterEditMessage = KX_SHELL_AUTOFILL_MESSAGE + 1;
constexpr UINT kClearDropHighlightMessage = KX_SHELL_AUTOFILL_MESSAGE + 2;

int ShortCode(HRESULT hr) { return static_cast<short>(HRESULT_CODE(hr) & 0xFFFF); }

// The system's text for a code, as the exception of a failed enumeration.
[[noreturn]] void RaiseShellError(HRESULT hr) { throw EOleSysError(hr); }

}  // namespace

// ---- TKxShellTreeData -----------------------------------------------------------------------

TKxShellTreeData::TKxShellTreeData(TKxCustomShellTree* owner, TKxShellTreeData* parent, PCIDL relative)
    : owner_(owner), parent_(parent), relative_(CopyIdList(nullptr, relative)) {}

TKxShellTreeData::~TKxShellTreeData() {
  if (folder_) folder_->Release();
  if (rootParentFolder_) rootParentFolder_->Release();
  ShellFree(relative_);
  ShellFree(absolute_);
}

void TKxShellTreeData::SetRootList(PCIDL absolute) {
  ShellFree(absolute_);
  absolute_ = CopyIdList(nullptr, absolute ? absolute : &kEmptyList);
  TKxIdListArray items(absolute_);
  ShellFree(relative_);
  relative_ = CopyIdList(nullptr, items.Count() > 0 ? items.Item(items.Count() - 1) : &kEmptyList);
}

PCIDL TKxShellTreeData::AbsIdList() {
  if (!absolute_) {
    if (parent_) absolute_ = ConcatIdLists(nullptr, parent_->AbsIdList(), relative_);
    else absolute_ = CopyIdList(nullptr, relative_);
  }
  return absolute_;
}

IShellFolder* TKxShellTreeData::ParentFolder() {
  if (parent_) return parent_->Folder();
  if (!rootParentFolder_) {
    IShellFolder* folder = nullptr;
    PIDL parentList = nullptr;
    PIDL last = nullptr;
    if (SUCCEEDED(SplitIdList(AbsIdList(), folder, parentList, last))) rootParentFolder_ = folder;
    else if (folder) folder->Release();
    ShellFree(parentList);
    ShellFree(last);
  }
  return rootParentFolder_;
}

IShellFolder* TKxShellTreeData::Folder() {
  if (folder_) return folder_;
  PCIDL absolute = AbsIdList();
  if (!absolute) {
    OleCheck(DesktopFolder(folder_));
    return folder_;
  }
  IShellFolder* bound = nullptr;
  if (SUCCEEDED(BindToFolderOfIdList(absolute, bound))) folder_ = bound;
  return folder_;
}

void TKxShellTreeData::SetFolder(IShellFolder* folder) {
  if (folder) folder->AddRef();
  if (folder_) folder_->Release();
  folder_ = folder;
}

bool TKxShellTreeData::CanRename() {
  if (!parent_) return false;
  PCIDL absolute = AbsIdList();
  if (!absolute || IsEmptyIdList(absolute)) return false;
  IShellFolder* folder = ParentFolder();
  if (!folder) return false;
  SFGAOF attributes = 0x40000177;
  PCIDL one = relative_;
  if (FAILED(folder->GetAttributesOf(1, &one, &attributes))) return false;
  return (attributes & SFGAO_CANRENAME) != 0;
}

std::string TKxShellTreeData::PathName() { return PathFromIdList(AbsIdList()); }

void TKxShellTreeData::SetRelIdList(PCIDL relative) {
  ShellFree(relative_);
  ShellFree(absolute_);
  absolute_ = nullptr;
  if (folder_) folder_->Release();
  folder_ = nullptr;
  relative_ = CopyIdList(nullptr, relative);
  AbsIdList();
}

void TKxShellTreeData::Invalidate() {
  ShellFree(absolute_);
  absolute_ = nullptr;
  if (folder_) folder_->Release();
  folder_ = nullptr;
}

IDropTarget* TKxShellTreeData::DropTarget(HWND owner) {
  void* target = nullptr;
  if (parent_) {
    IShellFolder* folder = ParentFolder();
    if (!folder) return nullptr;
    PCIDL one = relative_;
    if (FAILED(folder->GetUIObjectOf(owner, 1, &one, IID_IDropTarget, nullptr, &target))) return nullptr;
  } else if (FAILED(DropTargetOfIdList(AbsIdList(), IID_IDropTarget, &target))) {
    return nullptr;
  }
  return static_cast<IDropTarget*>(target);
}

// ---- Construction ---------------------------------------------------------------------------

const TClassInfo& TKxCustomShellTree::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxCustomShellTree>("TKxCustomShellTree", &TKxCustomTreeView::StaticClass()).Build();
  return info;
}

const TClassInfo& TKxShellTree::StaticClass() {
  using C = TKxShellTree;
  const auto unowned = UnownedFrameSetting<C>;
  static const TClassInfo info =
      AddFrameProperties(
          TClassBuilder<C>("TKxShellTree", &TKxCustomShellTree::StaticClass())
              .Property("Color", &C::Color, &C::SetColor)
              .Default(clWindow)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored([](C& c) { return !c.ParentColor() && !c.ControllerOwns(fcpColor) && c.Enabled(); })
              .Property("AutoExpand", &C::AutoExpand, &C::SetAutoExpand)
              .Default(false)
              .Property("BaseFolder", &C::BaseFolder, nullptr)
              .Property("DisabledColor", &C::DisabledColor, &C::ChangeDisabledColor)
              .Default(clBtnFace)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored(unowned(fcpDisabledColor))
              .Property("FocusColor", &C::FocusColor, &C::ChangeFocusColor)
              .Default(clWindow)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored([](C& c) {
                return !c.ControllerOwns(fcpFocusColor) && ColorToRGB(c.FocusColor()) != ColorToRGB(c.Color());
              }))
          .Property("ItemHeight", &C::ItemHeight, &C::ChangeItemHeight)
          .Default(0)
          .Property("Options", &C::Options, &C::ChangeOptions)
          .Default(kDefaultShellTreeOptions)
          .Property("ShellList", [](C& c) { return dynamic_cast<TKxCustomShellList*>(c.ShellList()); },
                    [](C& c, TKxCustomShellList* list) { c.ChangeShellList(list); })
          .Property("OnAddItem", [](C& c) { return c.OnAddItem; }, [](C& c, TKxShAddItemEvent e) { c.OnAddItem = e; })
          .Property("OnDeleteItem", [](C& c) { return c.OnDeleteItem; },
                    [](C& c, TKxShTreeDeleteItemEvent e) { c.OnDeleteItem = e; })
          .Property("OnInsertItem", [](C& c) { return c.OnInsertItem; },
                    [](C& c, TKxShTreeInsertItemEvent e) { c.OnInsertItem = e; })
          .Property("OnPopupHint", [](C& c) { return c.OnPopupHint; },
                    [](C& c, TKxShPopupHintEvent e) { c.OnPopupHint = e; })
          .Property("OnFillComplete", [](C& c) { return c.OnFillComplete; },
                    [](C& c, TNotifyEvent e) { c.OnFillComplete = e; })
          .Property("OnFillStart", [](C& c) { return c.OnFillStart; }, [](C& c, TNotifyEvent e) { c.OnFillStart = e; })
          .Property("OnNodeContextMenu", [](C& c) { return c.OnNodeContextMenu; },
                    [](C& c, TKxTvOnNodeContextMenuEvent e) { c.OnNodeContextMenu = e; })
          .Build();
  return info;
}

TKxCustomShellTree::TKxCustomShellTree(TComponent* owner)
    : TKxCustomTreeView(owner),
      FolderCreationWait([](DWORD ms) { Sleep(ms); }),
      baseFolder_(new TKxShellLocator),
      selectedFolder_(new TKxShellLocator),
      refreshTimer_(new TTimer(this)),
      selectionTimer_(new TTimer(this)) {
  baseFolder_->OnChange = [this](TObject* sender) { BaseFolderChanged(sender); };
  selectedFolder_->OnChange = [this](TObject* sender) { SelectedFolderChanged(sender); };
  refreshTimer_->SetEnabled(false);
  refreshTimer_->SetOnTimer([this](TObject* sender) { RefreshTimerTick(sender); });
  selectionTimer_->SetEnabled(false);
  selectionTimer_->SetOnTimer([this](TObject* sender) { SelectionTimerTick(sender); });
  SetShowRoot(false);
  SetBounds(Left(), Top(), 150, 150);
  SetImages(SystemImageListHandle(TKxIconSize::Small));
  SharedDeviceChangeHandler().Register(DeviceChangeMethod<&TKxCustomShellTree::DeviceChanged>(this));
}

TKxCustomShellTree::~TKxCustomShellTree() {
  SharedDeviceChangeHandler().Unregister(DeviceChangeMethod<&TKxCustomShellTree::DeviceChanged>(this));
  if (shellList_) shellList_->SetShellTree(nullptr);
  RevokeDropTarget();
  delete watcher_;
  watcher_ = nullptr;
  // The nodes' data goes with the window (or below, when the window never existed).
  if (HandleAllocated()) {
    TCounterRaise ignore(ignoreChanges_);
    ClearAllNodes();
  }
  for (TKxShellTreeData* data : data_) delete data;
  data_.clear();
  delete baseFolder_;
  delete selectedFolder_;
}

TKxShellTreeData* TKxCustomShellTree::ShellData(TTreeNode* node) const {
  if (!node) return nullptr;
  auto* data = static_cast<TKxShellTreeData*>(node->Data());
  return data_.count(data) ? data : nullptr;
}

void TKxCustomShellTree::SetBaseFolder(TKxShellLocator* value) {
  if (!ComponentState().Contains(csLoading)) baseFolder_->Assign(value);
}

void TKxCustomShellTree::SetSelectedFolder(TKxShellLocator* value) {
  if (ComponentState().Contains(csLoading) || ignoreChanges_ > 0) {
    if (shellList_) shellList_->FollowLocator(selectedFolder_);
    return;
  }
  selectedFolder_->Assign(value);
}

void TKxCustomShellTree::ChangeOptions(TKxShellTreeOptions value) {
  const TKxShellTreeOptions old = options_;
  options_ = value;
  if (!HandleAllocated()) return;
  if (old.Contains(stoOleDrop) != value.Contains(stoOleDrop)) {
    if (value.Contains(stoOleDrop)) RegisterDropTarget();
    else RevokeDropTarget();
  }
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  if (DragDropEnabled()) style &= ~static_cast<LONG_PTR>(TVS_DISABLEDRAGDROP);
  else style |= TVS_DISABLEDRAGDROP;
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
  if (!ComponentState().Contains(csDesigning) && old.Contains(stoDynamicRefresh) != value.Contains(stoDynamicRefresh)) {
    if (value.Contains(stoDynamicRefresh)) WatchAllDrives();
    else if (watcher_) watcher_->RemoveAllWatches();
  }
}

void TKxCustomShellTree::ChangeShellList(IKxShellTreeListLink* value) {
  if (value == shellList_) return;
  if (shellList_) {
    shellList_->SetShellTree(nullptr);
    if (auto* old = dynamic_cast<TComponent*>(shellList_)) old->RemoveFreeNotification(this);
  }
  shellList_ = value;
  if (shellList_) {
    shellList_->SetShellTree(this);
    if (auto* list = dynamic_cast<TComponent*>(shellList_)) list->FreeNotification(this);
    shellList_->FollowLocator(selectedFolder_);
  }
}

void TKxCustomShellTree::Notification(TComponent* component, TOperation operation) {
  TKxCustomTreeView::Notification(component, operation);
  // A freed shell list ends the link.
  if (operation == opRemove && shellList_ && component == dynamic_cast<TComponent*>(shellList_)) shellList_ = nullptr;
}

HWND TKxCustomShellTree::OwnerWindow() {
  if (ignoreErrors_ > 0) return nullptr;
  TCustomForm* form = GetParentForm(this);
  if (!form || !form->HandleAllocated()) return nullptr;
  return form->Handle();
}

// ---- Window life ----------------------------------------------------------------------------

void TKxCustomShellTree::CreateParams(TCreateParams& params) {
  TKxCustomTreeView::CreateParams(params);
  if (!DragDropEnabled()) params.Style |= TVS_DISABLEDRAGDROP;
}

bool TKxCustomShellTree::DragDropEnabled() const { return options_.Contains(stoOleDrag) || DragMode() == dmAutomatic; }

void TKxCustomShellTree::CreateWnd() {
  TKxCustomTreeView::CreateWnd();
  if (!ComponentState().Contains(csDesigning) && options_.Contains(stoOleDrop)) RegisterDropTarget();
  if (!ComponentState().Contains(csLoading)) {
    if (options_.Contains(stoAutoFill) && NodeCount() == 0)
      PostMessageW(Handle(), KX_SHELL_AUTOFILL_MESSAGE, 0, 0);
    if (shellList_) shellList_->FollowLocator(selectedFolder_);
  }
}

void TKxCustomShellTree::ClearAllNodes() {
  deletingNodes_ = true;
  try {
    SetSelected(nullptr);
    ClearNodes();
  } catch (...) {
    deletingNodes_ = false;
    throw;
  }
  deletingNodes_ = false;
}

void TKxCustomShellTree::DestroyWnd() {
  {
    TCounterRaise ignore(ignoreChanges_);
    ClearAllNodes();
  }
  RevokeDropTarget();
  delete watcher_;
  watcher_ = nullptr;
  TKxCustomTreeView::DestroyWnd();
}

void TKxCustomShellTree::Loaded() {
  eatExpand_ = true;
  try {
    TKxCustomTreeView::Loaded();
  } catch (...) {
    eatExpand_ = false;
    throw;
  }
  eatExpand_ = false;
  if (options_.Contains(stoAutoFill) && HandleAllocated() && NodeCount() == 0) {
    FillTree();
    if (shellList_) shellList_->FollowLocator(selectedFolder_);
  }
  loaded_ = true;
}

void TKxCustomShellTree::RegisterDropTarget() {
  if (dropTarget_ || !HandleAllocated()) return;
  auto* target = new TKxDropTargetForwarder(this);
  target->AddRef();
  if (SUCCEEDED(RegisterDragDrop(Handle(), target))) {
    dropTarget_ = target;
  } else {
    target->Forget();
    target->Release();
  }
}

void TKxCustomShellTree::RevokeDropTarget() {
  if (!dropTarget_) return;
  if (HandleAllocated()) RevokeDragDrop(Handle());
  dropTarget_->Forget();
  dropTarget_->Release();
  dropTarget_ = nullptr;
}

// ---- Filling --------------------------------------------------------------------------------

void TKxCustomShellTree::DoInsertItem(TTreeNode* node) {
  lastInserted_ = node;
  OnInsertItem(this, node);
}

bool TKxCustomShellTree::DoAddItem(IShellFolder* folder, PCIDL parentList, ULONG attributes, PCIDL item) {
  bool allow = true;
  OnAddItem(this, folder, parentList, item, attributes, allow);
  return allow;
}

HRESULT TKxCustomShellTree::AddChildItem(IShellFolder* folder, PCIDL parentList, PCIDL item, TTreeNode* parent) {
  if (!item) return S_OK;
  SFGAOF attributes = ShellVersions().Shell32.MostSignificant > 0x5FFFF ? 0xF24B0000 : 0xF20B0000;
  PCIDL one = item;
  const HRESULT hr = folder->GetAttributesOf(1, &one, &attributes);
  if (FAILED(hr)) return hr;
  const bool offered = options_.Contains(stoVirtualFolders) || (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR));
  if (!offered || !DoAddItem(folder, parentList, attributes, item)) return S_OK;
  TTreeNode* node = AddChild(parent, DisplayNameOf(folder, item, TKxNameKind::InFolder));
  auto* data = new TKxShellTreeData(this, ShellData(parent), item);
  data_.insert(data);
  node->SetData(data);
  const bool hasChildren = options_.Contains(stoIncludeNonFolders)
                               ? (attributes & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER)) != 0
                               : (attributes & SFGAO_FOLDER) && (attributes & SFGAO_HASSUBFOLDER);
  node->SetHasChildren(hasChildren);
  if (attributes & SFGAO_SHARE) node->SetOverlayIndex(0);
  else if (attributes & SFGAO_LINK) node->SetOverlayIndex(1);
  if (attributes & SFGAO_GHOSTED) node->SetCut(true);
  DoInsertItem(node);
  return S_OK;
}

int TKxCustomShellTree::CompareNodes(TTreeNode* a, TTreeNode* b, IShellFolder* folder) {
  TKxShellTreeData* da = ShellData(a);
  TKxShellTreeData* db = ShellData(b);
  if (!da || !db || !folder) return 0;
  const HRESULT hr = folder->CompareIDs(0, da->RelIdList(), db->RelIdList());
  if (FAILED(hr)) return 0;
  return ShortCode(hr);
}

void TKxCustomShellTree::SortNodeChildren(TTreeNode* node) {
  TKxShellTreeData* data = ShellData(node);
  IShellFolder* folder = data ? data->Folder() : nullptr;
  if (!folder) return;
  SortChildren(node, [this, folder](TTreeNode* a, TTreeNode* b) { return CompareNodes(a, b, folder); });
}

void TKxCustomShellTree::FillChildren(IShellFolder* folder, TTreeNode* node) {
  DoFillStart();
  TCriticalErrorsOff errors;
  TTreeNode* root = nullptr;
  struct TFillEnd {
    TKxCustomShellTree* tree;
    ~TFillEnd() { tree->DoFillComplete(); }
  } fillEnd{this};
  TIdListPtr parentCopy;
  PCIDL parentList = nullptr;
  if (node) {
    parentList = ShellData(node) ? ShellData(node)->AbsIdList() : nullptr;
  } else {
    parentCopy.reset(CopyIdList(nullptr, baseFolder_->IdList()));
    parentList = parentCopy.get();
    root = AddChild(nullptr, DisplayNameOfAbsolute(parentList));
    root->SetImageIndex(SystemIconIndexOf(parentList, SHGFI_SMALLICON));
    root->SetSelectedIndex(SystemIconIndexOf(parentList, SHGFI_SMALLICON | SHGFI_OPENICON));
    auto* data = new TKxShellTreeData(this, nullptr, nullptr);
    data->SetRootList(parentList);
    data->SetFolder(folder);
    data_.insert(data);
    root->SetData(data);
    DoInsertItem(root);
    node = root;
  }
  if (TKxShellTreeData* data = ShellData(node)) data->SetFilled(true);
  SHCONTF flags = SHCONTF_FOLDERS;
  if (options_.Contains(stoIncludeNonFolders)) flags |= SHCONTF_NONFOLDERS;
  if (options_.Contains(stoShowHidden)) flags |= SHCONTF_INCLUDEHIDDEN;
  TComRef<IEnumIDList> enumerator;
  const HRESULT enumResult = folder->EnumObjects(OwnerWindow(), flags, enumerator.Put());
  if (enumResult != S_OK || !enumerator) {
    node->SetHasChildren(true);
    return;  // silent abort
  }
  HRESULT next;
  int added = 0;
  for (;;) {
    PIDL item = nullptr;
    ULONG fetched = 0;
    next = enumerator->Next(1, &item, &fetched);
    if (next != S_OK) {
      ShellFree(item);
      break;
    }
    TIdListPtr hold(item);
    if (fetched == 0) continue;
    const TTreeNode* before = lastInserted_;
    OleCheck(AddChildItem(folder, parentList, item, node));
    if (lastInserted_ != before) ++added;
  }
  if (node->GetFirstChild() == nullptr) node->SetHasChildren(false);
  else if (added > 0) node->SetHasChildren(true);
  if (next != S_FALSE) {
    if (next == E_FAIL) return;
    RaiseShellError(next);
  }
  SortNodeChildren(node);
  if (root) root->Expand(false);
}

bool TKxCustomShellTree::CanExpand(TTreeNode* node) {
  if (eatExpand_) return false;
  if (!TKxCustomTreeView::CanExpand(node)) return false;
  ExpandingFill(node);
  return true;
}

void TKxCustomShellTree::ExpandingFill(TTreeNode* node) {
  TKxShellTreeData* data = ShellData(node);
  if (!data || node->HasChildNodes() || !node->HasChildren()) return;
  IShellFolder* folder = data->Folder();
  if (!folder) {
    node->SetHasChildren(false);
    return;
  }
  THourGlass hourglass;
  FillChildren(folder, node);
}

void TKxCustomShellTree::GetImageIndex(TTreeNode* node) {
  if (TKxShellTreeData* data = ShellData(node); data && node->ImageIndex() == 0)
    node->SetImageIndex(SystemIconIndexOf(data->AbsIdList(), SHGFI_SMALLICON));
  TKxCustomTreeView::GetImageIndex(node);
}

void TKxCustomShellTree::GetSelectedIndex(TTreeNode* node) {
  if (TKxShellTreeData* data = ShellData(node); data && node->SelectedIndex() == 0)
    node->SetSelectedIndex(SystemIconIndexOf(data->AbsIdList(), SHGFI_SMALLICON | SHGFI_OPENICON));
  TKxCustomTreeView::GetSelectedIndex(node);
}

void TKxCustomShellTree::FillTree() {
  if (refresh_.deferred || IsEditing()) {
    refresh_.wanted = true;
    return;
  }
  THourGlass hourglass;
  {
    TCounterRaise ignore(ignoreChanges_);
    ClearAllNodes();
  }
  if (options_.Contains(stoDynamicRefresh) && !ComponentState().Contains(csDesigning)) WatchAllDrives();
  TComRef<IShellFolder> folder;
  PCIDL base = baseFolder_->IdList();
  HRESULT hr = (base && !IsEmptyIdList(base)) ? BindToFolderOfIdList(base, *folder.Put())
                                               : DesktopFolder(*folder.Put());
  if (FAILED(hr)) RaiseShellError(hr);
  FillChildren(folder.Get(), nullptr);
  PCIDL selected = selectedFolder_->IdList();
  if (selected) {
    SelectIdList(selected);
  } else if (TTreeNode* first = GetFirstNode()) {
    quickSelect_ = true;
    SetSelected(first);
  }
  FlushPendingSelection(false);
}

bool TKxCustomShellTree::ItemExists(IShellFolder* folder, PCIDL parentList, PCIDL item) {
  TIdListPtr absolute(ConcatIdLists(nullptr, parentList, item));
  const std::string path = PathFromIdList(absolute.get());
  if (!path.empty()) return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  SFGAOF attributes = SFGAO_VALIDATE;
  PCIDL one = item;
  return SUCCEEDED(folder->GetAttributesOf(1, &one, &attributes));
}

void TKxCustomShellTree::SelectIdList(PCIDL target) {
  if (ignoreChanges_ > 0) return;
  quickSelect_ = true;
  TKxIdListArray baseItems(baseFolder_->IdList());
  TKxIdListArray targetItems(target);
  BeginUpdate();
  TTreeNode* reached = nullptr;
  try {
    TTreeNode* root = GetFirstNode();
    const int baseCount = baseItems.Count();
    const int targetCount = targetItems.Count();
    bool insideBase = targetCount >= baseCount;
    if (insideBase && baseCount > 0) {
      TIdListPtr prefix(CopyIdList(nullptr, targetItems.WithoutLast(targetCount - baseCount)));
      insideBase = CompareIdLists(prefix.get(), baseFolder_->IdList()) == 0;
    }
    if (!target || targetCount == 0 || !insideBase) {
      reached = root;
    } else if (targetCount <= baseCount) {
      reached = root;
      if (root) root->Expand(false);
    } else if (root) {
      TTreeNode* node = root;
      node->Expand(false);
      reached = node;
      for (int i = baseCount; i < targetCount; ++i) {
        PCIDL item = targetItems.Item(i);
        TTreeNode* child = FindChildByIdList(node, item);
        if (!child) {
          TKxShellTreeData* data = ShellData(node);
          IShellFolder* folder = data ? data->Folder() : nullptr;
          // A level that is not listed (hidden) is added, but only while the item still exists.
          if (folder && ItemExists(folder, data->AbsIdList(), item)) {
            TTreeNode* before = lastInserted_;
            if (SUCCEEDED(AddChildItem(folder, data->AbsIdList(), item, node)) && lastInserted_ != before)
              child = lastInserted_;
          }
          if (!child) {
            MessageBeep(static_cast<UINT>(-1));
            break;
          }
        }
        const bool last = i == targetCount - 1;
        if (!last || (shellList_ && shellList_->ExpandLastLevel())) child->Expand(false);
        node = child;
        reached = node;
      }
    }
    if (reached) SetSelected(reached);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (TTreeNode* selected = Selected()) selected->MakeVisible();
}

TTreeNode* TKxCustomShellTree::FindChildByIdList(TTreeNode* node, PCIDL relative) {
  if (!node) {
    for (TTreeNode* top = GetFirstNode(); top; top = top->GetNextSibling())
      if (ShellData(top)) return top;
    return nullptr;
  }
  TKxShellTreeData* data = ShellData(node);
  IShellFolder* folder = data ? data->Folder() : nullptr;
  if (!folder) return nullptr;
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
    TKxShellTreeData* childData = ShellData(child);
    if (childData && folder->CompareIDs(0, childData->RelIdList(), relative) == 0) return child;
  }
  return nullptr;
}

std::string TKxCustomShellTree::SelectedPathName() {
  TKxShellTreeData* data = ShellData(Selected());
  return data ? data->PathName() : std::string();
}

// ---- Selection ------------------------------------------------------------------------------

void TKxCustomShellTree::Change(TTreeNode* node) {
  TKxShellTreeData* data = ShellData(node);
  if (ComponentState().Contains(csLoading) || ignoreChanges_ > 0) {
    if (data) {
      TCounterRaise ignore(ignoreChanges_);
      selectedFolder_->SetIdList(data->AbsIdList());
    }
    return;
  }
  TKxCustomTreeView::Change(node);
  if (!data) return;
  if (quickSelect_ || !shellList_) {
    {
      TCounterRaise ignore(ignoreChanges_);
      selectedFolder_->SetIdList(data->AbsIdList());
    }
    if (shellList_) shellList_->FollowNode(node);
    quickSelect_ = false;
  } else {
    selectionTimer_->SetEnabled(false);
    selectionTimer_->SetInterval(500);
    selectionTimer_->SetEnabled(true);
  }
}

bool TKxCustomShellTree::ClickNotify() {
  quickSelect_ = true;
  return false;
}

void TKxCustomShellTree::SelectedFolderChanged(TObject*) {
  if (HandleAllocated() && NodeCount() > 0) SelectIdList(selectedFolder_->IdList());
}

void TKxCustomShellTree::BaseFolderChanged(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  selectedFolder_->Clear();
  if (options_.Contains(stoAutoFill) && HandleAllocated()) {
    quickSelect_ = true;
    FillTree();
  }
}

void TKxCustomShellTree::SelectionTimerTick(TObject*) {
  selectionTimer_->SetEnabled(false);
  TTreeNode* node = Selected();
  if (TKxShellTreeData* data = ShellData(node)) {
    {
      TCounterRaise ignore(ignoreChanges_);
      selectedFolder_->SetIdList(data->AbsIdList());
    }
    if (shellList_) shellList_->FollowNode(node);
  }
}

void TKxCustomShellTree::RefreshTimerTick(TObject*) {
  refreshTimer_->SetEnabled(false);
  RefreshTree();
}

void TKxCustomShellTree::FlushPendingSelection(bool flushList) {
  if (flushList && shellList_) shellList_->FlushPendingRefresh(false);
  if (selectionTimer_->Enabled()) SelectionTimerTick(selectionTimer_);
}

// ---- Refreshing -----------------------------------------------------------------------------

void TKxCustomShellTree::RefreshTree() {
  if (refresh_.deferred || IsEditing()) {
    refresh_.wanted = true;
    return;
  }
  if (!HandleAllocated() || NodeCount() == 0) {
    FillTree();
    return;
  }
  THourGlass hourglass;
  DoFillStart();
  TTreeNode* remembered = nullptr;
  ++ignoreChanges_;
  try {
    remembered = Selected();
    SetSelected(nullptr);
    BeginUpdate();
    try {
      RefreshNodeChildren(GetFirstNode(), remembered);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  } catch (...) {
    --ignoreChanges_;
    if (remembered) {
      quickSelect_ = true;
      SetSelected(remembered);
    }
    DoFillComplete();
    throw;
  }
  --ignoreChanges_;
  if (remembered) {
    quickSelect_ = true;
    SetSelected(remembered);
  }
  DoFillComplete();
}

void TKxCustomShellTree::RefreshNodeChildren(TTreeNode* node, TTreeNode*& remembered) {
  TKxShellTreeData* data = ShellData(node);
  if (!data || !data->Filled()) return;
  IShellFolder* folder = data->Folder();
  if (!folder) return;
  TKxPidlList existing;
  existing.SetShellFolder(folder);
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
    if (TKxShellTreeData* childData = ShellData(child))
      existing.AddObject(const_cast<PIDL>(childData->RelIdList()), child);
  existing.SetDuplicates(dupAccept);
  existing.SetSorted(true);

  TKxPidlList current;
  current.SetAllocator(ShellAllocator());
  SHCONTF flags = SHCONTF_FOLDERS;
  if (options_.Contains(stoIncludeNonFolders)) flags |= SHCONTF_NONFOLDERS;
  if (options_.Contains(stoShowHidden)) flags |= SHCONTF_INCLUDEHIDDEN;
  {
    TCriticalErrorsOff errors;
    TComRef<IEnumIDList> enumerator;
    if (folder->EnumObjects(nullptr, flags, enumerator.Put()) == S_OK && enumerator) {
      for (;;) {
        PIDL item = nullptr;
        ULONG fetched = 0;
        if (enumerator->Next(1, &item, &fetched) != S_OK) {
          ShellFree(item);
          break;
        }
        if (fetched == 0 || !item) continue;
        current.Add(item);
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
  for (int i = existing.Count() - 1; i >= 0; --i) {
    auto* gone = static_cast<TTreeNode*>(existing.Objects(i));
    if (remembered && (remembered == gone || remembered->IsChildOf(gone))) remembered = node;
    gone->Delete();
  }
  if (current.Count() > 0) {
    for (int i = 0; i < current.Count(); ++i) OleCheck(AddChildItem(folder, data->AbsIdList(), current.Items(i), node));
    if (node->HasChildNodes()) node->SetHasChildren(true);
    SortNodeChildren(node);
  }
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
    RefreshNodeChildren(child, remembered);
}

void TKxCustomShellTree::ChangeNotified() {
  if (!refresh_.ChangeArrived()) return;
  refreshTimer_->SetEnabled(false);
  refreshTimer_->SetInterval(Focused() ? 400 : 2000);
  refreshTimer_->SetEnabled(true);
}

void TKxCustomShellTree::EndDeferral() {
  if (refresh_.EndDeferral()) RefreshTree();
}

// ---- Watching -------------------------------------------------------------------------------

void TKxCustomShellTree::WatchAllDrives() {
  if (!watcher_) watcher_ = new TChangeHandlerThread(Handle(), KX_SHELL_CHANGE_MESSAGE);
  watcher_->RemoveAllWatches();
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const char root[4] = {static_cast<char>('A' + i), ':', '\\', 0};
    const UINT type = GetDriveTypeA(root);
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK || (type == DRIVE_REMOTE && IsNetDriveConnected(root[0])))
      WatchDrive(root);
  }
}

void TKxCustomShellTree::WatchDrive(const char* path) {
  if (!watcher_) watcher_ = new TChangeHandlerThread(Handle(), KX_SHELL_CHANGE_MESSAGE);
  if (!path) {
    watcher_->RemoveAllWatches();
    return;
  }
  std::string drive(path);
  if (drive.size() >= 2 && drive[1] == ':') drive = drive.substr(0, 2);
  drive = AppendSeparatorOnce(drive, '\\');
  DWORD filter = FILE_NOTIFY_CHANGE_DIR_NAME;
  if (options_.Contains(stoIncludeNonFolders)) filter |= FILE_NOTIFY_CHANGE_FILE_NAME;
  int slot = -1;
  watcher_->AddWatch(drive, filter, slot, true);
}

void TKxCustomShellTree::DeviceChanged(TKxDeviceMessage& message) {
  if (message.WParam != DBT_DEVICEARRIVAL && message.WParam != DBT_DEVICEREMOVECOMPLETE) return;
  if (!HandleAllocated()) return;
  ValidateDrivesFolder();
  SuspendDriveValidation();
  try {
    RefreshTree();
  } catch (...) {
    ResumeDriveValidation();
    throw;
  }
  ResumeDriveValidation();
}

// ---- Editing, verbs, new folders ------------------------------------------------------------

bool TKxCustomShellTree::CanEdit(TTreeNode* node) {
  TKxShellTreeData* data = ShellData(node);
  if (!data) return TKxCustomTreeView::CanEdit(node);
  return data->CanRename() && TKxCustomTreeView::CanEdit(node) && !ComponentState().Contains(csDesigning);
}

std::string TKxCustomShellTree::EditorText(TTreeNode* node) {
  TKxShellTreeData* data = ShellData(node);
  if (!data || !data->ParentFolder()) return TKxCustomTreeView::EditorText(node);
  return DisplayNameOf(data->ParentFolder(), data->RelIdList(), TKxNameKind::ForEditing);
}

void TKxCustomShellTree::Edit(TTreeNode* node, const std::string* text) {
  TKxShellTreeData* data = ShellData(node);
  if (!text || !data) {
    TKxCustomTreeView::Edit(node, text);
    if (refresh_.wanted && !text) PostMessageW(Handle(), kRefreshAfterEditMessage, 0, 0);
    return;
  }
  std::string name = Trim(*text);
  OnEdited(this, node, name);
  PIDL renamed = nullptr;
  {
    THourGlass hourglass;
    refresh_.ignoreNext = true;
    TCounterRaise ignore(ignoreChanges_);
    IShellFolder* folder = data->ParentFolder();
    HRESULT hr = E_FAIL;
    if (folder) {
      std::wstring wide = Utf8ToWide(name);
      if (wide.size() > MAX_PATH) wide.resize(MAX_PATH);
      hr = folder->SetNameOf(OwnerWindow(), data->RelIdList(), wide.c_str(), 0x20, &renamed);
    }
    if (SUCCEEDED(hr)) {
      if (renamed) {
        for (TTreeNode* below = node->GetFirstChild(); below && below->IsChildOf(node); below = below->GetNext())
          if (TKxShellTreeData* belowData = ShellData(below)) belowData->Invalidate();
        node->SetText(DisplayNameOf(folder, renamed, TKxNameKind::InFolder));
        data->SetRelIdList(renamed);
        selectedFolder_->SetIdList(data->AbsIdList());
        if (shellList_) shellList_->FollowLocator(selectedFolder_);
      } else {
        node->SetText(DisplayNameOf(folder, data->RelIdList(), TKxNameKind::InFolder));
      }
      if (node->Parent()) SortNodeChildren(node->Parent());
    } else {
      refresh_.ignoreNext = false;
    }
    ShellFree(renamed);
  }
  // The editor is still up while this notification runs: refresh once it has gone.
  if (refresh_.wanted) PostMessageW(Handle(), kRefreshAfterEditMessage, 0, 0);
}

HRESULT TKxCustomShellTree::InvokeVerbOnNode(TTreeNode* node, const std::string& verb) {
  TKxShellTreeData* data = ShellData(node);
  if (!data || data->IsRoot()) return 1;
  IShellFolder* folder = data->ParentFolder();
  if (!folder) throw EOleSysError(E_FAIL);
  TComRef<IContextMenu> menu;
  PCIDL one = data->RelIdList();
  OleCheck(folder->GetUIObjectOf(OwnerWindow(), 1, &one, IID_IContextMenu, nullptr, menu.PutVoid()));
  const HRESULT hr = InvokeShellVerb(OwnerWindow(), menu.Get(), verb);
  RefreshTree();
  return hr;
}

void TKxCustomShellTree::GoUp(int levels) {
  TTreeNode* node = Selected();
  if (!node || !node->Parent()) return;
  for (int i = 0; i < levels && node->Parent(); ++i) node = node->Parent();
  quickSelect_ = true;
  SetSelected(node);
}

bool TKxCustomShellTree::CreateFolderUnderSelection() {
  const std::string parent = SelectedPathName();
  refresh_.ignoreNext = true;
  std::string name;
  if (parent.empty() || !CreateNewFolderIn(parent, name)) {
    refresh_.ignoreNext = false;
    return false;
  }
  {
    THourGlass hourglass;
    PCIDL selected = selectedFolder_->IdList();
    if (FolderCreationWait) FolderCreationWait(selected && !IsEmptyIdList(selected) ? 1000 : 2100);
  }
  RefreshTree();
  TTreeNode* node = Selected();
  if (!node) return true;
  if (TKxShellTreeData* data = ShellData(node); data && !node->HasChildNodes()) {
    if (IShellFolder* folder = data->Folder()) FillChildren(folder, node);
  }
  node->Expand(false);
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
    if (child->Text() == name) {
      child->EditText();
      break;
    }
  }
  return true;
}

void TKxCustomShellTree::KeyDown(WORD& key, TShiftState shift) {
  TKxCustomTreeView::KeyDown(key, shift);
  if (key == 0 || !options_.Contains(stoDefaultKeyHandling) || ComponentState().Contains(csDesigning) || IsEditing())
    return;
  const TShortCut pressed = ShortCutOf(key, shift);
  const WORD original = key;
  key = 0;
  if (pressed == ShellDefaultKey(skRename).ShortCut) {
    if (TTreeNode* node = Selected()) node->EditText();
  } else if (pressed == ShellDefaultKey(skRefresh).ShortCut) {
    RefreshTree();
  } else if (pressed == ShellDefaultKey(skCut).ShortCut) {
    InvokeVerbOnNode(Selected(), "cut");
  } else if (pressed == ShellDefaultKey(skCopy).ShortCut) {
    InvokeVerbOnNode(Selected(), "copy");
  } else if (pressed == ShellDefaultKey(skPaste).ShortCut) {
    InvokeVerbOnNode(Selected(), "paste");
    RefreshTree();
  } else if (pressed == ShellDefaultKey(skDelete).ShortCut || pressed == (ShellDefaultKey(skDelete).ShortCut | scShift)) {
    InvokeVerbOnNode(Selected(), "delete");
    RefreshTree();
  } else {
    key = original;
  }
}

// ---- Context menu ---------------------------------------------------------------------------

void TKxCustomShellTree::DoNodeContextMenu(TTreeNode* node, TPoint& point, TComponent*& menu) {
  TKxCustomTreeView::DoNodeContextMenu(node, point, menu);
  if (options_.Contains(stoContextMenus) && !ComponentState().Contains(csDesigning) && node) {
    menu = nullptr;
    ShowShellContextMenu(node, point);
  }
}

void TKxCustomShellTree::ShowShellContextMenu(TTreeNode* node, TPoint point) {
  TKxShellTreeData* data = ShellData(node);
  if (!data) return;
  IShellFolder* folder = data->ParentFolder();
  PCIDL absolute = data->AbsIdList();
  if (!folder || !absolute || IsEmptyIdList(absolute)) return;
  UINT flags = CMF_EXPLORE;
  if (!ReadOnly()) flags |= CMF_CANRENAME;
  IContextMenu* menu = nullptr;
  HMENU popup = nullptr;
  PCIDL one = data->RelIdList();
  refresh_.deferred = true;
  try {
    if (FAILED(ShellContextMenuFor(OwnerWindow(), folder, 1, &one, flags, kShellCommandFirst, menu, popup)) || !menu) {
      EndDeferral();
      return;
    }
  } catch (...) {
    EndDeferral();
    return;
  }
  activeMenu_ = menu;
  try {
    const TPoint screen = ClientToScreen(point);
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.X, screen.Y, 0, Handle(), nullptr));
    if (command == kShellCommandFirst + 18) {
      node->EditText();
    } else if (command >= kShellCommandFirst) {
      InvokeShellVerb(OwnerWindow(), menu, static_cast<int>(command - kShellCommandFirst));
      refresh_.wanted = true;
    } else if (command >= 1) {
      SendToCommand(node, static_cast<int>(command) - 1);
    }
  } catch (...) {
    activeMenu_ = nullptr;
    DestroyMenu(popup);
    menu->Release();
    EndDeferral();
    throw;
  }
  activeMenu_ = nullptr;
  DestroyMenu(popup);
  menu->Release();
  EndDeferral();
}

void TKxCustomShellTree::SendToCommand(TTreeNode* node, int index) {
  TKxShellTreeData* data = ShellData(node);
  if (!data || !data->ParentData()) return;
  const auto& entries = SendToList();
  if (index < 0 || index >= static_cast<int>(entries.size())) return;
  TComRef<IDataObject> object(MakeTreeNodeDataObject(data->ParentData()->AbsIdList(), data->RelIdList()));
  object->AddRef();
  SendDataToTarget(entries[static_cast<size_t>(index)].Name, object.Get());
}

// ---- Drag and drop --------------------------------------------------------------------------

IDropSource* TKxCustomShellTree::CreateDropSource(TKxDragButton button) { return new TDropSource_shlvtv(button); }

DWORD TKxCustomShellTree::AllowedEffectsOfNode(TTreeNode* node) {
  constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  TKxShellTreeData* data = ShellData(node);
  if (!data) return kAll;
  IShellFolder* folder = nullptr;
  TComRef<IShellFolder> holder;
  TIdListPtr item;
  if (data->IsRoot()) {
    PIDL parent = nullptr;
    PIDL last = nullptr;
    if (FAILED(SplitIdList(nullptr, *holder.Put(), parent, last))) return kAll;
    ShellFree(parent);
    item.reset(last);
    folder = holder.Get();
  } else {
    folder = data->ParentFolder();
  }
  if (!folder) return kAll;
  PCIDL one = item ? item.get() : data->RelIdList();
  SFGAOF attributes = kAll;
  if (FAILED(folder->GetAttributesOf(1, &one, &attributes))) return kAll;
  return attributes & kAll;
}

void TKxCustomShellTree::BeginDragNotify(TTreeNode* node, bool rightButton) {
  if (!options_.Contains(stoOleDrag)) {
    // The toolkit's own drag of the control, in automatic drag mode.
    if (!rightButton && DragMode() == dmAutomatic && !ComponentState().Contains(csDesigning)) BeginDrag(true);
    return;
  }
  dragNode_ = node;
  SetDropTargetNode(node);
  try {
    TKxShellTreeData* data = ShellData(node);
    if (data && data->ParentData()) StartOleDrag(rightButton ? TKxDragButton::Right : TKxDragButton::Left);
  } catch (...) {
    dragNode_ = nullptr;
    SetDropTargetNode(nullptr);
    PostMessageW(Handle(), kClearDropHighlightMessage, 0, 0);
    throw;
  }
  dragNode_ = nullptr;
  SetDropTargetNode(nullptr);
  PostMessageW(Handle(), kClearDropHighlightMessage, 0, 0);
}

void TKxCustomShellTree::StartOleDrag(TKxDragButton button) {
  TKxShellTreeData* data = ShellData(dragNode_);
  if (!data || !data->ParentData()) return;
  refresh_.deferred = true;
  DWORD result = 0;
  DWORD effect = DROPEFFECT_NONE;
  try {
    TComRef<IDataObject> object;
    TDataObject_shtv* made = MakeTreeNodeDataObject(data->ParentData()->AbsIdList(), data->RelIdList());
    made->QueryInterface(IID_IDataObject, object.PutVoid());
    TComRef<IDropSource> source;
    IDropSource* created = CreateDropSource(button);
    created->QueryInterface(IID_IDropSource, source.PutVoid());
    result = static_cast<DWORD>(DoDragDrop(object.Get(), source.Get(), AllowedEffectsOfNode(dragNode_), &effect));
  } catch (...) {
    refresh_.deferred = false;
    throw;
  }
  if (result == DRAGDROP_S_DROP) refresh_.wanted = true;
  EndDeferral();
}

void TKxCustomShellTree::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
  lastScrollTick_ = GetTickCount();
  if (dragData_) dragData_->Release();
  dragData_ = data;
  if (dragData_) dragData_->AddRef();
  dragKeyState_ = keyState;
  const TPoint client = ScreenToClient(TPoint{point.x, point.y});
  lastExpandPoint_ = client;
  lastExpandTick_ = GetTickCount();
  TTreeNode* node = GetNodeAt(client.X, client.Y);
  TKxShellTreeData* nodeData = ShellData(node);
  if (!nodeData || nodeData->IsRoot()) {
    SetDropTargetNode(dragNode_);
    effect = DROPEFFECT_NONE;
    return;
  }
  TComRef<IDropTarget> target(nodeData->DropTarget(OwnerWindow()));
  if (!target) {
    effect = DROPEFFECT_NONE;
    return;
  }
  target->DragEnter(data, keyState, point, &effect);
  target->DragLeave();
  SetDropTargetNode(node);
}

void TKxCustomShellTree::DragOver(DWORD keyState, POINTL point, DWORD& effect) {
  const TPoint client = ScreenToClient(TPoint{point.x, point.y});
  TTreeNode* before = DropTargetNode();
  TTreeNode* node = GetNodeAt(client.X, client.Y);
  TKxShellTreeData* nodeData = ShellData(node);
  TComRef<IDropTarget> target(nodeData ? nodeData->DropTarget(OwnerWindow()) : nullptr);
  if (target) {
    SetDropTargetNode(node);
    DWORD entered = effect;
    target->DragEnter(dragData_, keyState, point, &entered);
    target->DragOver(keyState, point, &effect);
    target->DragLeave();
  } else {
    effect = DROPEFFECT_NONE;
    SetDropTargetNode(dragNode_);
  }
  AutoScrollAndExpand(client);
  effect |= DROPEFFECT_SCROLL;
  if (DropTargetNode() != before) UpdateWindow(Handle());
}

void TKxCustomShellTree::DragLeave() {
  if (dragData_) dragData_->Release();
  dragData_ = nullptr;
  SetDropTargetNode(nullptr);
}

void TKxCustomShellTree::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
  struct TDropEnd {
    TKxCustomShellTree* tree;
    ~TDropEnd() {
      tree->SetDropTargetNode(nullptr);
      if (tree->dragData_) tree->dragData_->Release();
      tree->dragData_ = nullptr;
    }
  } dropEnd{this};
  const TPoint client = ScreenToClient(TPoint{point.x, point.y});
  TTreeNode* node = GetNodeAt(client.X, client.Y);
  TKxShellTreeData* nodeData = ShellData(node);
  TComRef<IDropTarget> target(nodeData ? nodeData->DropTarget(OwnerWindow()) : nullptr);
  if (!target) {
    effect = DROPEFFECT_NONE;
    return;
  }
  keyState |= dragKeyState_ & (MK_LBUTTON | MK_RBUTTON);
  DropOnShellTarget(target.Get(), data, keyState, point, effect);
  if (!refresh_.deferred) RefreshTree();
  else refresh_.wanted = true;
}

void TKxCustomShellTree::AutoScrollAndExpand(TPoint point) {
  const DWORD now = GetTickCount();
  if (now - lastScrollTick_ > 100) {
    const TRect client = ClientRect();
    auto scroll = [&](int bar, int code) {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_ALL;
      if (!GetScrollInfo(Handle(), bar, &info) || info.nMax - info.nMin - static_cast<int>(info.nPage) <= 0) return;
      const int before = info.nPos;
      SendMessageW(Handle(), bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(code), 0);
      GetScrollInfo(Handle(), bar, &info);
      if (info.nPos != before) lastExpandTick_ = now;
    };
    if (point.X < 26) scroll(SB_HORZ, SB_LINELEFT);
    else if (point.X > client.Right - 26) scroll(SB_HORZ, SB_LINERIGHT);
    if (point.Y < 20) scroll(SB_VERT, SB_LINEUP);
    else if (point.Y > client.Bottom - 20) scroll(SB_VERT, SB_LINEDOWN);
    lastScrollTick_ = now;
  }
  const TKxMouseHover& hover = MouseHover();
  const int halfW = static_cast<int>(hover.Width) / 2;
  const int halfH = static_cast<int>(hover.Height) / 2;
  const bool inside = point.X >= lastExpandPoint_.X - halfW && point.X <= lastExpandPoint_.X + static_cast<int>(hover.Width) &&
                      point.Y >= lastExpandPoint_.Y - halfH && point.Y <= lastExpandPoint_.Y + static_cast<int>(hover.Height);
  if (inside && now - lastExpandTick_ >= hover.Time) {
    TTreeNode* node = GetNodeAt(lastExpandPoint_.X, lastExpandPoint_.Y);
    if (node && node->HasChildren() && !node->HasChildNodes()) {
      TCounterRaise errors(ignoreErrors_);
      try {
        node->Expand(false);
      } catch (...) {
        node->SetHasChildren(false);
      }
    }
  }
  if (!inside || now - lastExpandTick_ >= hover.Time) {
    lastExpandPoint_ = point;
    lastExpandTick_ = now;
  }
}

// ---- Messages -------------------------------------------------------------------------------

void TKxCustomShellTree::Delete(TTreeNode* node) {
  TKxShellTreeData* data = ShellData(node);
  if (node == lastInserted_) lastInserted_ = nullptr;
  if (node == dragNode_) dragNode_ = nullptr;
  try {
    OnDeleteItem(this, node, data);
    TKxCustomTreeView::Delete(node);
  } catch (...) {
    if (data) {
      data_.erase(data);
      delete data;
    }
    throw;
  }
  if (data) {
    data_.erase(data);
    delete data;
  }
  node->SetData(nullptr);
}

void TKxCustomShellTree::WndProc(TMessage& message) {
  if (activeMenu_) {
    std::function<void(const std::string&)> hint;
    if (OnPopupHint) hint = [this](const std::string& text) { OnPopupHint(this, text); };
    if (RouteShellMenuMessage(activeMenu_, Images(), message, hint)) return;
  }
  switch (message.Msg) {
    case KX_SHELL_CHANGE_MESSAGE:
      ChangeNotified();
      message.Result = 0;
      return;
    case KX_SHELL_AUTOFILL_MESSAGE:
      if (NodeCount() == 0) FillTree();
      message.Result = 0;
      return;
    case kClearDropHighlightMessage:
      if (!dragNode_ && !dragData_) SetDropTargetNode(nullptr);
      message.Result = 0;
      return;
    case kRefreshAfterEditMessage:
      if (refresh_.wanted && !IsEditing() && !refresh_.deferred) {
        refresh_.wanted = false;
        RefreshTree();
      }
      message.Result = 0;
      return;
    case CM_WANTSPECIALKEY:
      if (IsEditing()) {
        message.Result = 1;
        return;
      }
      break;
    case WM_WINDOWPOSCHANGED:
    case WM_WINDOWPOSCHANGING:
      if (deletingNodes_) {
        message.Result = 0;
        return;
      }
      break;
    case WM_PAINT: {
      if (ComponentState().Contains(csDestroying)) break;
      // The system icons (and the state images) blend with the control while it paints.
      struct TBlend {
        HIMAGELIST list;
        COLORREF saved;
        TBlend(HIMAGELIST l, COLORREF back) : list(l), saved(l ? ImageList_SetBkColor(l, back) : CLR_NONE) {}
        ~TBlend() {
          if (list) ImageList_SetBkColor(list, saved);
        }
      };
      const COLORREF back = ColorToRGB(Color());
      const TBlend images(Images(), back);
      const TBlend states(StateImages() != Images() ? StateImages() : nullptr, back);
      TKxCustomTreeView::WndProc(message);
      return;
    }
    case WM_NCDESTROY: {
      TCounterRaise ignore(ignoreChanges_);
      RevokeDropTarget();
      delete watcher_;
      watcher_ = nullptr;
      break;
    }
    default:
      break;
  }
  TKxCustomTreeView::WndProc(message);
}
