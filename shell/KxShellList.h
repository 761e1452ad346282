// TKxCustomShellList: a list view of one shell folder's contents. It fills itself from the
// folder's enumeration, shows the shell's detail columns (or four default columns), sorts by
// the shell's order per column, opens folders on double-click or Enter, goes up on Backspace,
// renames through the shell, drags its selection as shell objects, and refreshes on changes in
// the folder (a change message restarts a timer; while a drag runs or a label is edited a
// refresh is only marked as wanted and runs once afterwards, as in the shell tree).
//
// Keys (with sloDefaultKeyHandling): Ctrl+A select all, F5 refill, Ctrl+C / Ctrl+X copy and cut
// the selection, Ctrl+V paste into the folder, F2 rename, Del (also Shift+Del) delete the
// selection, Backspace up, Enter open. The shell's context menu replaces the item menu. Drops go
// to the item under the mouse when it takes them (highlighted), else to the folder; near the
// edges the list scrolls. A file filter ("*.txt;*.log") limits the files listed.
//
// Remembered column widths (process-wide) are those of the last file-system folder shown; they
// are applied to at most as many columns as both the remembered and the new set have.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "shell/KxDeviceChangeHandler.h"
#include "shell/KxListVw.h"
#include "shell/KxShellDragDrop.h"
#include "shell/KxShellLocator.h"
#include "shell/KxShellTree.h"
#include "shell/ShellRefreshGate.h"

class TChangeHandlerThread;
class TTimer;
class TKxCustomShellList;

enum TKxShellListOption {
  sloAutoFill, sloVirtualFolders, sloDesignInteractive, sloDefaultKeyHandling, sloContextMenus, sloStayInFolder,
  sloReserved6, sloDynamicRefresh, sloFilesOnlyWithTree, sloOleDrag, sloOleDrop, sloReserved11, sloShowHidden,
  sloStreamsAsFolders
};
using TKxShellListOptions = TSet<TKxShellListOption>;
inline constexpr TKxShellListOptions kDefaultShellListOptions = TKxShellListOptions::FromBits(16027);

// The data of every item the list makes.
class TKxShellListData : public TObject {
 public:
  // Takes over `relative`.
  TKxShellListData(TKxCustomShellList* owner, PIDL relative);
  ~TKxShellListData() override;

  PCIDL RelIdList() const { return relative_; }
  PCIDL AbsIdList();
  ULONG Attributes();
  bool IsFolder();
  bool IsShortcut();
  bool CanRename();
  const std::string& DisplayName();
  std::string PathName();
  // Takes over a new relative list; the joined list, the name and the details are made again.
  void SetRelIdList(PIDL relative);
  // Column 0 empty; the shell's details when the folder has them; else size, type, modified.
  std::string DetailText(int column);

 private:
  TKxCustomShellList* owner_;
  PIDL relative_;
  PIDL absolute_ = nullptr;
  std::string name_;
  bool nameValid_ = false;
  bool detailsValid_ = false;
  std::string size_, type_, modified_;
};

// Asks the type of a drive by its root ("C:\\"): GetDriveType's answer.
using TKxDriveTypeQuery = std::function<UINT(const std::string& root)>;
// Whether the attributes of the item at `path` may include the read-only bit: not for items
// below the root of a removable drive, where that query would wake the drive (a drive root
// itself, network paths and other items are asked as usual). An empty query is GetDriveType.
bool QueriesReadOnly(const std::string& path, const TKxDriveTypeQuery& driveType);

// The widths the list remembers of the last file-system folder it showed.
std::vector<int>& RememberedColumnWidths();
// The four default column widths from the explorer's "DirectoryCols" value (used only when it
// holds 16 to 22 bytes); false when it cannot be used.
bool DirectoryColsWidths(const std::vector<unsigned char>& value, int widths[4]);

// Sender, the item going, its data (freed right after).
using TKxShListDeleteItemEvent = TMethodEvent<TObject*, TListItem*, TKxShellListData*>;
// Sender, handled (starts false): a double-click or Enter that opens no folder.
using TKxDblClickOpenEvent = TMethodEvent<TObject*, bool&>;
// Sender, the item renamed, the new name (trimmed; the handler may change it).
using TKxShListEditedEvent = TMethodEvent<TObject*, TListItem*, std::string&>;

// Posted to the list: start editing the item remembered by EditItemNamed.
constexpr UINT KX_SHELL_EDIT_NAMED_MESSAGE = 1126;
// Sent by shell extensions to the owner window: asks for the explorer's IShellBrowser.
constexpr UINT KX_SHELL_GET_BROWSER_MESSAGE = WM_USER + 7;

class TKxCustomShellList : public TKxCustomListView, public IKxDropTargetOwner, public IKxShellTreeListLink {
 public:
  explicit TKxCustomShellList(TComponent* owner);
  ~TKxCustomShellList() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TKxShellLocator* Folder() const { return folder_; }
  TKxShellListOptions Options() const { return options_; }
  void SetOptions(TKxShellListOptions value) { options_ = value; }
  IShellFolder* ShellFolder() const { return shellFolder_; }
  PCIDL FolderIdList() const { return folderList_; }
  bool HasShellDetails() const { return details_ != nullptr; }

  void RefillList();
  void RefreshList();
  void GoUp(int levels);
  void OpenItem(TListItem* item);
  void OpenSelection();
  TKxShellListData* ShellData(TListItem* item) const;
  TTimer* RefreshTimer() const { return timer_; }
  HWND OwnerWindow();
  // The selection's context menu runs the verb; a network folder is refreshed afterwards.
  virtual void InvokeVerbOnSelection(const std::string& verb);
  // The folder's own context menu runs the verb; failures raise.
  virtual void InvokeVerbOnFolder(const std::string& verb);
  // The drop effects the selection allows (copy, move, link); 0 without a selection.
  DWORD SelectedEffects();
  // Remembers `name` and posts the message that starts editing the item of that display name.
  void EditItemNamed(const std::string& name);
  // Patterns separated by ";" ("*.txt;*.log"); empty, "*" and "*.*" list every file.
  const std::string& FileFilter() const { return fileFilter_; }
  void SetFileFilter(const std::string& value);
  // The upper-cased names the filter let through while filling (empty outside a fill).
  const std::vector<std::string>& FilterTable() const { return filterTable_; }
  bool RefreshDeferred() const { return refresh_.deferred; }
  bool DeletingItems() const { return deletingItems_; }
  // Replaces the millisecond tick the automatic scrolling reads (empty: GetTickCount).
  std::function<DWORD()> TickQuery;
  // Replaces the drive-type test of the items' attributes (empty: GetDriveType).
  TKxDriveTypeQuery DriveTypeQuery;

  // IKxShellTreeListLink
  void SetShellTree(TKxCustomShellTree* tree) override { tree_ = tree; }
  TKxCustomShellTree* ShellTree() const { return tree_; }
  void FollowLocator(TKxShellLocator* locator) override;
  void FollowNode(TTreeNode* node) override;
  void FlushPendingRefresh(bool flushTree) override;
  bool ExpandLastLevel() const override { return false; }

  // IKxDropTargetOwner
  void DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) override;
  void DragOver(DWORD keyState, POINTL point, DWORD& effect) override;
  void DragLeave() override;
  void Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) override;

  TKxShAddItemEvent OnAddItem;
  TKxShListDeleteItemEvent OnDeleteItem;
  TNotifyEvent OnFillStart;
  TNotifyEvent OnFillComplete;
  TNotifyEvent OnFolderChanged;
  TKxDblClickOpenEvent OnDblClickOpen;
  TKxShPopupHintEvent OnPopupHint;
  TKxShListEditedEvent OnEdited;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  std::string GetItemText(TListItem* item, int column) override;
  void GetImageIndex(TListItem* item) override;
  void Delete(TListItem* item) override;
  void ColumnClick(int column) override;
  bool CanEdit(TListItem* item) override;
  void Edit(TListItem* item, const std::string* text) override;
  std::string EditorText(TListItem* item) override;
  void BeginDragNotify(TListItem* item, bool rightButton) override;

  void DoItemContextMenu(TListItem* item, TPoint& point, TComponent*& menu) override;

  virtual IDropSource* CreateDropSource(TKxDragButton button);
  virtual void FillList(IShellFolder* folder, PCIDL absolute);
  virtual void BuildFilterTable();
  virtual bool PassesFilter(const std::string& fileName, ULONG attributes);
  virtual void ClearFilterTable();
  virtual bool DoDblClickOpen();
  // Fires the folder-changed event (after every change of Folder, also while changes are
  // ignored).
  virtual void DoFolderChanged();
  // The folder's UI object of the selected items / of one item (one reference in `object`).
  virtual HRESULT SelectionUIObject(REFIID iid, void** object);
  virtual HRESULT ItemUIObject(TListItem* item, REFIID iid, void** object);
  virtual void ShowShellContextMenu(TPoint point);
  virtual void SendToCommand(int index);
  void AutoScroll(TPoint point);
  virtual bool DoAddItem(IShellFolder* folder, PCIDL parentList, ULONG attributes, PCIDL item);
  virtual void DeviceChanged(TKxDeviceMessage& message);
  virtual void WatchFolder();

 private:
  friend class TKxShellListData;
  void FolderChanged(TObject* sender);
  void TimerTick(TObject* sender);
  void MakeColumns();
  void SortItems();
  bool ShouldListItem(PCIDL item, ULONG& attributes);
  void AddShellItem(PIDL item);
  // A refresh's new item (copied): a failure is shown and passed on.
  void AddNewShellItem(PCIDL item);
  void RememberWidths();
  // Clears the selection and all items with changes ignored; window-position changes meanwhile
  // are ignored too.
  void ClearAllItems();
  void ChangeNotified();
  void EndDeferral();
  SHCONTF EnumFlags() const;
  void InvokeDefaultCommand(IContextMenu* menu);
  bool NetworkFolder() const;
  IDropTarget* DropTargetAt(TPoint client, TListItem*& item);
  void SetDropItem(TListItem* item);
  DWORD Tick() const { return TickQuery ? TickQuery() : GetTickCount(); }

  TKxShellLocator* folder_;
  IShellFolder* shellFolder_ = nullptr;
  PIDL folderList_ = nullptr;
  IShellDetails* details_ = nullptr;
  bool fileSystemFolder_ = false;
  TKxShellListOptions options_ = kDefaultShellListOptions;
  int sortColumn_ = 1;
  TTimer* timer_;
  TChangeHandlerThread* watcher_ = nullptr;
  TKxDropTargetForwarder* dropTarget_ = nullptr;
  TKxCustomShellTree* tree_ = nullptr;
  std::unordered_set<TKxShellListData*> data_;
  int ignoreChanges_ = 0;
  TShellRefreshGate refresh_;
  IDataObject* dragData_ = nullptr;
  DWORD dragKeyState_ = 0;
  DWORD lastScrollTick_ = 0;
  bool ownDrag_ = false;
  TListItem* dropItem_ = nullptr;
  IContextMenu* activeMenu_ = nullptr;
  std::string fileFilter_;
  std::vector<std::string> filterTable_;
  bool filtering_ = false;
  std::string editName_;
  bool deletingItems_ = false;
};

class TKxShellList : public TKxCustomShellList {
 public:
  explicit TKxShellList(TComponent* owner) : TKxCustomShellList(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
