// TKxCustomShellList: a list view of one shell folder's contents. It fills itself from the
// folder's enumeration, shows the shell's detail columns (or four default columns), sorts by
// the shell's order per column, opens folders on double-click or Enter, goes up on Backspace,
// renames through the shell, drags its selection as shell objects, and refreshes on changes in
// the folder (a change message restarts a timer; while a drag runs or a label is edited a
// refresh is only marked as wanted and runs once afterwards, as in the shell tree).
//
// Remembered column widths (process-wide) are those of the last file-system folder shown; they
// are applied to at most as many columns as both the remembered and the new set have.
#pragma once

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

// The widths the list remembers of the last file-system folder it showed.
std::vector<int>& RememberedColumnWidths();
// The four default column widths from the explorer's "DirectoryCols" value (used only when it
// holds 16 to 22 bytes); false when it cannot be used.
bool DirectoryColsWidths(const std::vector<unsigned char>& value, int widths[4]);

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

  // IKxShellTreeListLink
  void SetShellTree(TKxCustomShellTree* tree) override { tree_ = tree; }
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
  TNotifyEvent OnFillStart;
  TNotifyEvent OnFillComplete;
  TNotifyEvent OnFolderChanged;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
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

  virtual void FillList(IShellFolder* folder, PCIDL absolute);
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
  void RememberWidths();
  void ChangeNotified();
  void EndDeferral();
  SHCONTF EnumFlags() const;

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
};

class TKxShellList : public TKxCustomShellList {
 public:
  explicit TKxShellList(TComponent* owner) : TKxCustomShellList(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
