// TCustomTreeView: a thin wrapper over the platform's tree view (SysTreeView32). Each item of
// the window carries its TTreeNode as item data; a node lives exactly as long as its item (the
// tree view's delete notification frees it), so nodes exist only while the window does.
// Images and selected images are answered on demand (GetImageIndex / GetSelectedIndex), the
// image lists are borrowed handles the view never destroys, and every notification the shell
// tree needs arrives as a virtual operation: expanding, selection change, label editing,
// deletion, begin-drag, clicks.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/WinControl.h"

#include <commctrl.h>

class TCustomTreeView;
class TTreeNode;

class ETreeViewError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "ETreeViewError"; }
};

using TTVChangedEvent = TMethodEvent<TObject*, TTreeNode*>;
using TTVExpandingEvent = TMethodEvent<TObject*, TTreeNode*, bool&>;
using TTVEditedEvent = TMethodEvent<TObject*, TTreeNode*, std::string&>;
using TTVEditingEvent = TMethodEvent<TObject*, TTreeNode*, bool&>;
// Negative, 0 or positive, as the first node sorts before, with or after the second.
using TTVCompare = std::function<int(TTreeNode*, TTreeNode*)>;

class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  TCustomTreeView* TreeView() const { return owner_; }
  HTREEITEM ItemId() const { return item_; }

  std::string Text() const { return text_; }
  void SetText(const std::string& value);
  void* Data() const { return data_; }
  void SetData(void* value) { data_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int value);
  // -1 for none; otherwise the zero-based overlay (the image list's overlay number less 1).
  int OverlayIndex() const { return overlayIndex_; }
  void SetOverlayIndex(int value);
  bool Cut() const;
  void SetCut(bool value);
  // The expand button: whether the node says it has children (filled or not).
  bool HasChildren() const;
  void SetHasChildren(bool value);
  bool Expanded() const;
  void Expand(bool recurse = false);
  void Collapse(bool recurse = false);
  bool Selected() const;
  void SetSelected(bool value);
  bool DropTarget() const;
  bool Focused() const { return Selected(); }

  TTreeNode* Parent() const { return parent_; }
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node in tree order (first child, else next sibling, else a parent's next sibling).
  TTreeNode* GetNext() const;
  int Count() const;
  bool HasChildNodes() const { return GetFirstChild() != nullptr; }
  int Level() const;
  // Position in the whole tree's order, 0 for the first top-level node.
  int AbsoluteIndex() const;
  bool IsChildOf(const TTreeNode* ancestor) const;

  // The item's rectangle in client coordinates: the text only, or the whole row.
  TRect DisplayRect(bool textOnly) const;
  void MakeVisible();
  // Starts label editing; the view's CanEdit still decides.
  bool EditText();
  void Delete();
  void DeleteChildren();
  // Orders the children by `compare`; false when the platform refused.
  bool CustomSort(const TTVCompare& compare);

 private:
  friend class TCustomTreeView;
  TTreeNode(TCustomTreeView* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}
  void SetState(UINT mask, UINT value);
  UINT State(UINT mask) const;

  TCustomTreeView* owner_;
  TTreeNode* parent_;
  HTREEITEM item_ = nullptr;
  std::string text_;
  void* data_ = nullptr;
  int imageIndex_ = 0;
  int selectedIndex_ = 0;
  int overlayIndex_ = -1;
};

enum THitTest { htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel,
                htOnRight, htOnStateIcon, htToLeft, htToRight };
using THitTests = TSet<THitTest>;

class TCustomTreeView : public TWinControl {
 public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- Nodes (the window is made when needed) --------------------------------------------
  // A new last child of `parent` (nil: a top-level node).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text, void* data = nullptr);
  // A new node after `sibling` among its siblings (nil: last top-level node).
  TTreeNode* Add(TTreeNode* sibling, const std::string& text, void* data = nullptr);
  void ClearNodes();
  TTreeNode* GetFirstNode();
  int NodeCount() const { return static_cast<int>(nodes_.size()); }
  TTreeNode* NodeOfItem(HTREEITEM item);
  // Suspends repainting while many nodes change (nested).
  void BeginUpdate();
  void EndUpdate();
  // Orders the top-level nodes (nil) or a node's children.
  bool SortChildren(TTreeNode* parent, const TTVCompare& compare);

  TTreeNode* Selected();
  void SetSelected(TTreeNode* node);
  TTreeNode* DropTargetNode();
  void SetDropTargetNode(TTreeNode* node);
  TTreeNode* GetNodeAt(int x, int y);
  THitTests GetHitTestInfoAt(int x, int y);
  bool IsEditing();
  HWND EditHandle();

  // ---- Look --------------------------------------------------------------------------
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool value);
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool value);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool RightClickSelect() const { return rightClickSelect_; }
  void SetRightClickSelect(bool value) { rightClickSelect_ = value; }
  bool AutoExpand() const { return autoExpand_; }
  void SetAutoExpand(bool value);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value);
  int Indent() const { return indent_; }
  void SetIndent(int value);
  // Milliseconds between a selection change and Change (OnChange); 0 at once. A change within
  // the delay restarts it, so a quick walk through the nodes reports only where it stopped.
  int ChangeDelay() const { return changeDelay_; }
  void SetChangeDelay(int value) { changeDelay_ = value < 0 ? 0 : value; }
  // The window timer that carries a delayed change.
  static constexpr UINT_PTR kChangeTimerId = 0x7C01;
  // Borrowed image lists; the view never destroys them.
  HIMAGELIST Images() const { return images_; }
  void SetImages(HIMAGELIST value);
  HIMAGELIST StateImages() const { return stateImages_; }
  void SetStateImages(HIMAGELIST value);

  TTVChangedEvent OnChange;
  TTVChangedEvent OnDeletion;
  TTVExpandingEvent OnExpanding;
  TTVChangedEvent OnExpanded;
  TTVChangedEvent OnCollapsed;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVChangedEvent OnGetImageIndex;
  TTVChangedEvent OnGetSelectedIndex;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

  // Answers whether the node may open (OnExpanding). Expand/Collapse follow the change.
  virtual bool CanExpand(TTreeNode* node);
  virtual void Expand(TTreeNode* node) { OnExpanded(this, node); }
  virtual bool CanCollapse(TTreeNode*) { return true; }
  virtual void Collapse(TTreeNode* node) { OnCollapsed(this, node); }
  virtual void Change(TTreeNode* node) { OnChange(this, node); }
  // Not read-only, then OnEditing.
  virtual bool CanEdit(TTreeNode* node);
  // End of label editing: `text` nil when cancelled. The base fires OnEdited and sets the text.
  virtual void Edit(TTreeNode* node, const std::string* text);
  // A node is about to go: OnDeletion (its data still set).
  virtual void Delete(TTreeNode* node) { OnDeletion(this, node); }
  virtual void GetImageIndex(TTreeNode* node) { OnGetImageIndex(this, node); }
  virtual void GetSelectedIndex(TTreeNode* node) { OnGetSelectedIndex(this, node); }
  // The platform's begin-drag notification (left or right button); the base does nothing.
  virtual void BeginDragNotify(TTreeNode*, bool /*rightButton*/) {}
  // NM_CLICK / NM_RCLICK; answer true to stop the platform's handling.
  virtual bool ClickNotify() { return false; }
  virtual bool RightClickNotify() { return false; }
  // The text the label editor starts with (default: the node's text).
  virtual std::string EditorText(TTreeNode* node) { return node->Text(); }
  // Handles one WM_NOTIFY of the tree (reflected); true when taken.
  virtual bool TreeNotify(NMHDR* header, LRESULT& result);

 private:
  friend class TTreeNode;
  TTreeNode* Insert(TTreeNode* parent, HTREEITEM after, const std::string& text, void* data);
  void UpdateStyle(DWORD bit, bool on);
  void ForgetNode(TTreeNode* node);

  std::unordered_set<TTreeNode*> nodes_;
  bool showRoot_ = true;
  bool showLines_ = true;
  bool showButtons_ = true;
  bool hideSelection_ = true;
  bool readOnly_ = false;
  bool rightClickSelect_ = false;
  bool autoExpand_ = false;
  bool hotTrack_ = false;
  int indent_ = 19;
  int changeDelay_ = 0;
  HIMAGELIST images_ = nullptr;
  HIMAGELIST stateImages_ = nullptr;
  int updateCount_ = 0;
  bool clearing_ = false;
};
