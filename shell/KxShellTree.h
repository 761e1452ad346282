// TKxCustomShellTree / TKxShellTree: a tree of the shell namespace under a base folder (the
// desktop by default), filled level by level on first expansion. It keeps SelectedFolder in
// step with the selected node, renames through the shell on label edits, shows the shell's
// context menu, offers the shell verbs on keys, creates new folders, drags nodes and accepts
// drops as OLE shell objects, and refreshes when the file system or the drives change.
//
// Refresh deferral (a refresh must never free nodes that a drag, an open shell menu or a label
// editor still uses):
//
//   state      event                              action                         next
//   ---------  ---------------------------------  -----------------------------  ---------
//   idle       change message (1125)              ignore-next set: clear it;     idle
//                                                 else start the refresh timer
//   idle       drag / shell menu starts           defer := true                  deferred
//   deferred   change message, FillTree,          refresh-wanted := true         deferred
//              RefreshTree
//   deferred   drag / menu ends                   defer := false; one refresh    idle
//                                                 when it was wanted or dropped
//   editing    FillTree, RefreshTree              refresh-wanted := true         editing
//   editing    edit ends                          one refresh when wanted        idle
//
// The pending selection update (a linked list follows the keyboard after 500 ms) and the
// pending refresh have timers of their own, so neither cancels the other.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>

#include "shell/KxDeviceChangeHandler.h"
#include "shell/KxShellDragDrop.h"
#include "shell/KxShellLocator.h"
#include "shell/KxTreeVw.h"
#include "shell/ShellRefreshGate.h"

class TChangeHandlerThread;
class TTimer;
class TKxCustomShellTree;

enum TKxShellTreeOption {
  stoAutoFill, stoVirtualFolders, stoDesignInteractive, stoDefaultKeyHandling, stoContextMenus,
  stoDynamicRefresh, stoIncludeNonFolders, stoOleDrag, stoOleDrop, stoShowHidden
};
using TKxShellTreeOptions = TSet<TKxShellTreeOption>;
const TEnumInfo& EnumTypeInfo(TKxShellTreeOption);
inline constexpr TKxShellTreeOptions kDefaultShellTreeOptions = TKxShellTreeOptions::FromBits(955);

constexpr UINT KX_SHELL_AUTOFILL_MESSAGE = 1127;

// Sender, containing folder, its absolute list, the item's relative list, its attributes, allow.
using TKxShAddItemEvent = TMethodEvent<TObject*, IShellFolder*, PCIDL, PCIDL, ULONG, bool&>;
class TKxShellTreeData;
using TKxShTreeDeleteItemEvent = TMethodEvent<TObject*, TTreeNode*, TKxShellTreeData*>;
using TKxShTreeInsertItemEvent = TMethodEvent<TObject*, TTreeNode*>;
using TKxShPopupHintEvent = TMethodEvent<TObject*, const std::string&>;

// What the tree asks of a linked shell list.
class IKxShellTreeListLink {
 public:
  virtual void SetShellTree(TKxCustomShellTree* tree) = 0;
  virtual void FollowLocator(TKxShellLocator* locator) = 0;
  virtual void FollowNode(TTreeNode* node) = 0;
  virtual void FlushPendingRefresh(bool flushTree) = 0;
  virtual bool ExpandLastLevel() const = 0;

 protected:
  ~IKxShellTreeListLink() = default;
};

// The data of every node the tree makes.
class TKxShellTreeData : public TObject {
 public:
  // Takes a copy of `relative`.
  TKxShellTreeData(TKxCustomShellTree* owner, TKxShellTreeData* parent, PCIDL relative);
  ~TKxShellTreeData() override;

  TKxShellTreeData* ParentData() const { return parent_; }
  PCIDL RelIdList() const { return relative_; }
  // Joined from the parent's list on demand; owned.
  PCIDL AbsIdList();
  // The folder that contains this node's item (borrowed; nil when it cannot be had).
  IShellFolder* ParentFolder();
  // The node's own folder, bound on demand (borrowed; nil when binding fails).
  IShellFolder* Folder();
  void SetFolder(IShellFolder* folder);  // AddRefs
  bool CanRename();
  std::string PathName();
  void SetRelIdList(PCIDL relative);
  // Drops the absolute list and the own folder; both are made again when asked for.
  void Invalidate();
  // The item's drop target (one reference; nil when none).
  IDropTarget* DropTarget(HWND owner);
  bool IsRoot() const { return parent_ == nullptr; }
  // Set once the node's children were enumerated.
  bool Filled() const { return filled_; }
  void SetFilled(bool value) { filled_ = value; }
  // The root's base list (owned copy).
  void SetRootList(PCIDL absolute);

 private:
  TKxCustomShellTree* owner_;
  TKxShellTreeData* parent_;
  PIDL relative_ = nullptr;
  PIDL absolute_ = nullptr;
  IShellFolder* folder_ = nullptr;
  IShellFolder* rootParentFolder_ = nullptr;
  bool filled_ = false;
};

class TKxCustomShellTree : public TKxCustomTreeView, public IKxDropTargetOwner {
 public:
  explicit TKxCustomShellTree(TComponent* owner);
  ~TKxCustomShellTree() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TKxShellLocator* BaseFolder() const { return baseFolder_; }
  void SetBaseFolder(TKxShellLocator* value);
  TKxShellLocator* SelectedFolder() const { return selectedFolder_; }
  void SetSelectedFolder(TKxShellLocator* value);
  TKxShellTreeOptions Options() const { return options_; }
  // Stores; with a window: a change of stoOleDrop registers or revokes the drop target,
  // TVS_DISABLEDRAGDROP follows the CreateParams rule, and (outside design time) a change of
  // stoDynamicRefresh watches all drives or removes every watch.
  void ChangeOptions(TKxShellTreeOptions value);
  IKxShellTreeListLink* ShellList() const { return shellList_; }
  // A previous, different list forgets the tree; the new one is told the tree, asked for
  // destruction notice (which clears the link) and told SelectedFolder.
  void ChangeShellList(IKxShellTreeListLink* value);

  // The node's shell data, nil for a node the tree did not make.
  TKxShellTreeData* ShellData(TTreeNode* node) const;

  void FillTree();
  void RefreshTree();
  void SelectIdList(PCIDL target);
  std::string SelectedPathName();
  bool CreateFolderUnderSelection();
  // 1 for the root or a non-shell node (nothing happens); else the verb's result.
  HRESULT InvokeVerbOnNode(TTreeNode* node, const std::string& verb);
  void GoUp(int levels);
  TTreeNode* FindChildByIdList(TTreeNode* node, PCIDL relative);
  void WatchAllDrives();
  virtual void WatchDrive(const char* path);
  DWORD AllowedEffectsOfNode(TTreeNode* node);
  HWND OwnerWindow();
  void FlushPendingSelection(bool flushList);

  // The timers of a pending refresh and a pending selection update (tests fire them).
  TTimer* RefreshTimer() const { return refreshTimer_; }
  TTimer* SelectionTimer() const { return selectionTimer_; }
  bool RefreshDeferred() const { return refresh_.deferred; }
  // The wait after creating a folder, before the refresh (the shell's notification catches up).
  std::function<void(DWORD milliseconds)> FolderCreationWait;
  TTreeNode* DragNode() const { return dragNode_; }

  TKxShAddItemEvent OnAddItem;
  TKxShTreeDeleteItemEvent OnDeleteItem;
  TKxShTreeInsertItemEvent OnInsertItem;
  TKxShPopupHintEvent OnPopupHint;
  TNotifyEvent OnFillStart;
  TNotifyEvent OnFillComplete;

  // IKxDropTargetOwner (screen positions).
  void DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) override;
  void DragOver(DWORD keyState, POINTL point, DWORD& effect) override;
  void DragLeave() override;
  void Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) override;

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  // Whether the tree view's own drag start is on: OLE dragging or automatic drag mode.
  bool DragDropEnabled() const;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void KeyDown(WORD& key, TShiftState shift) override;

  bool CanExpand(TTreeNode* node) override;
  void Change(TTreeNode* node) override;
  bool CanEdit(TTreeNode* node) override;
  void Edit(TTreeNode* node, const std::string* text) override;
  std::string EditorText(TTreeNode* node) override;
  void Delete(TTreeNode* node) override;
  void GetImageIndex(TTreeNode* node) override;
  void GetSelectedIndex(TTreeNode* node) override;
  void BeginDragNotify(TTreeNode* node, bool rightButton) override;
  bool ClickNotify() override;
  void DoNodeContextMenu(TTreeNode* node, TPoint& point, TComponent*& menu) override;

  virtual IDropSource* CreateDropSource(TKxDragButton button);
  virtual void AutoScrollAndExpand(TPoint point);
  virtual HRESULT AddChildItem(IShellFolder* folder, PCIDL parentList, PCIDL item, TTreeNode* parent);
  virtual bool DoAddItem(IShellFolder* folder, PCIDL parentList, ULONG attributes, PCIDL item);
  virtual void DeviceChanged(TKxDeviceMessage& message);
  virtual void FillChildren(IShellFolder* folder, TTreeNode* node);
  virtual void DoInsertItem(TTreeNode* node);
  virtual void ExpandingFill(TTreeNode* node);
  virtual void DoFillComplete() { OnFillComplete(this); }
  virtual void DoFillStart() { OnFillStart(this); }
  virtual void SendToCommand(TTreeNode* node, int index);
  virtual void ShowShellContextMenu(TTreeNode* node, TPoint point);
  void StartOleDrag(TKxDragButton button);
  // While deferred, refreshes and change messages only mark a refresh as wanted; the end of
  // the deferral runs it once.
  void BeginDeferral() { refresh_.deferred = true; }
  void EndDeferral();

 private:
  friend class TKxShellTreeData;
  void BaseFolderChanged(TObject* sender);
  void SelectedFolderChanged(TObject* sender);
  void RefreshTimerTick(TObject* sender);
  void SelectionTimerTick(TObject* sender);
  void RefreshNodeChildren(TTreeNode* node, TTreeNode*& remembered);
  void SortNodeChildren(TTreeNode* node);
  void ChangeNotified();
  void RegisterDropTarget();
  void RevokeDropTarget();
  void ClearAllNodes();
  bool ItemExists(IShellFolder* folder, PCIDL parentList, PCIDL item);
  int CompareNodes(TTreeNode* a, TTreeNode* b, IShellFolder* folder);

  TKxShellLocator* baseFolder_;
  TKxShellLocator* selectedFolder_;
  TKxShellTreeOptions options_ = kDefaultShellTreeOptions;
  IKxShellTreeListLink* shellList_ = nullptr;
  TTimer* refreshTimer_;
  TTimer* selectionTimer_;
  TChangeHandlerThread* watcher_ = nullptr;
  TKxDropTargetForwarder* dropTarget_ = nullptr;
  std::unordered_set<TKxShellTreeData*> data_;

  int ignoreChanges_ = 0;
  int ignoreErrors_ = 0;
  TShellRefreshGate refresh_;
  bool quickSelect_ = false;
  bool eatExpand_ = false;
  bool loaded_ = false;
  bool deletingNodes_ = false;

  TTreeNode* lastInserted_ = nullptr;
  TTreeNode* dragNode_ = nullptr;
  IContextMenu* activeMenu_ = nullptr;

  IDataObject* dragData_ = nullptr;
  DWORD dragKeyState_ = 0;
  DWORD lastScrollTick_ = 0;
  DWORD lastExpandTick_ = 0;
  TPoint lastExpandPoint_;
};

class TKxShellTree : public TKxCustomShellTree {
 public:
  explicit TKxShellTree(TComponent* owner) : TKxCustomShellTree(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
