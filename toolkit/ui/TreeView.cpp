// TCustomTreeView over SysTreeView32: nodes as item data, notifications as virtual operations.
#include "toolkit/ui/TreeView.h"

#include <cstring>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/TextConv.h"

// ---- TTreeNode ------------------------------------------------------------------------------

namespace {

HWND TreeWindow(TCustomTreeView* view) { return view->Handle(); }

}  // namespace

void TTreeNode::SetText(const std::string& value) {
  text_ = value;
  std::wstring wide = Utf8ToWide(value);
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = item_;
  item.pszText = wide.data();
  SendMessageW(TreeWindow(owner_), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  InvalidateRect(TreeWindow(owner_), nullptr, FALSE);
}

void TTreeNode::SetSelectedIndex(int value) {
  if (value == selectedIndex_) return;
  selectedIndex_ = value;
  InvalidateRect(TreeWindow(owner_), nullptr, FALSE);
}

void TTreeNode::SetOverlayIndex(int value) {
  overlayIndex_ = value;
  SetState(TVIS_OVERLAYMASK, value >= 0 ? INDEXTOOVERLAYMASK(value + 1) : 0);
}

void TTreeNode::SetState(UINT mask, UINT value) {
  TVITEMW item{};
  item.mask = TVIF_STATE;
  item.hItem = item_;
  item.stateMask = mask;
  item.state = value;
  SendMessageW(TreeWindow(owner_), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

UINT TTreeNode::State(UINT mask) const {
  return static_cast<UINT>(SendMessageW(TreeWindow(owner_), TVM_GETITEMSTATE,
                                        reinterpret_cast<WPARAM>(item_), mask));
}

bool TTreeNode::Cut() const { return (State(TVIS_CUT) & TVIS_CUT) != 0; }
void TTreeNode::SetCut(bool value) { SetState(TVIS_CUT, value ? TVIS_CUT : 0); }

bool TTreeNode::HasChildren() const {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN;
  item.hItem = item_;
  SendMessageW(TreeWindow(owner_), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.cChildren != 0;
}

void TTreeNode::SetHasChildren(bool value) {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN;
  item.hItem = item_;
  item.cChildren = value ? 1 : 0;
  SendMessageW(TreeWindow(owner_), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNode::Expanded() const { return (State(TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }

void TTreeNode::Expand(bool recurse) {
  SendMessageW(TreeWindow(owner_), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
  if (recurse)
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling()) child->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  if (recurse)
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling()) child->Collapse(true);
  SendMessageW(TreeWindow(owner_), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
}

bool TTreeNode::Selected() const { return owner_->Selected() == this; }

void TTreeNode::SetSelected(bool value) {
  if (value) owner_->SetSelected(this);
  else if (Selected()) owner_->SetSelected(nullptr);
}

bool TTreeNode::DropTarget() const { return (State(TVIS_DROPHILITED) & TVIS_DROPHILITED) != 0; }

TTreeNode* TTreeNode::GetFirstChild() const {
  auto child = reinterpret_cast<HTREEITEM>(SendMessageW(TreeWindow(owner_), TVM_GETNEXTITEM, TVGN_CHILD,
                                                        reinterpret_cast<LPARAM>(item_)));
  return owner_->NodeOfItem(child);
}

TTreeNode* TTreeNode::GetNextSibling() const {
  auto next = reinterpret_cast<HTREEITEM>(SendMessageW(TreeWindow(owner_), TVM_GETNEXTITEM, TVGN_NEXT,
                                                       reinterpret_cast<LPARAM>(item_)));
  return owner_->NodeOfItem(next);
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  auto prev = reinterpret_cast<HTREEITEM>(SendMessageW(TreeWindow(owner_), TVM_GETNEXTITEM, TVGN_PREVIOUS,
                                                       reinterpret_cast<LPARAM>(item_)));
  return owner_->NodeOfItem(prev);
}

TTreeNode* TTreeNode::GetNext() const {
  if (TTreeNode* child = GetFirstChild()) return child;
  for (const TTreeNode* node = this; node; node = node->parent_)
    if (TTreeNode* next = node->GetNextSibling()) return next;
  return nullptr;
}

int TTreeNode::Count() const {
  int count = 0;
  for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling()) ++count;
  return count;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* node = parent_; node; node = node->parent_) ++level;
  return level;
}

int TTreeNode::AbsoluteIndex() const {
  int index = 0;
  for (TTreeNode* node = owner_->GetFirstNode(); node && node != this; node = node->GetNext()) ++index;
  return index;
}

bool TTreeNode::IsChildOf(const TTreeNode* ancestor) const {
  for (TTreeNode* node = parent_; node; node = node->parent_)
    if (node == ancestor) return true;
  return false;
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
  // The message takes the item in the rectangle's first bytes.
  RECT rect{};
  HTREEITEM item = item_;
  std::memcpy(&rect, &item, sizeof item);
  if (!SendMessageW(TreeWindow(owner_), TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&rect)))
    return TRect();
  return TRect(rect.left, rect.top, rect.right, rect.bottom);
}

void TTreeNode::MakeVisible() {
  SendMessageW(TreeWindow(owner_), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
}

bool TTreeNode::EditText() {
  SetFocus(TreeWindow(owner_));
  return SendMessageW(TreeWindow(owner_), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item_)) != 0;
}

void TTreeNode::Delete() {
  SendMessageW(TreeWindow(owner_), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item_));
}

void TTreeNode::DeleteChildren() {
  while (TTreeNode* child = GetFirstChild()) child->Delete();
}

bool TTreeNode::CustomSort(const TTVCompare& compare) { return owner_->SortChildren(this, compare); }

// ---- TCustomTreeView --------------------------------------------------------------------------

const TClassInfo& TCustomTreeView::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomTreeView>("TCustomTreeView", &TWinControl::StaticClass())
          .Property("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot)
          .Default(true)
          .Property("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines)
          .Default(true)
          .Property("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons)
          .Default(true)
          .Property("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection)
          .Default(true)
          .Property("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly)
          .Default(false)
          .Property("RightClickSelect", &TCustomTreeView::RightClickSelect, &TCustomTreeView::SetRightClickSelect)
          .Default(false)
          .Property("HotTrack", &TCustomTreeView::HotTrack, &TCustomTreeView::SetHotTrack)
          .Default(false)
          .Property("Indent", &TCustomTreeView::Indent, &TCustomTreeView::SetIndent)
          .Property("ChangeDelay", &TCustomTreeView::ChangeDelay, &TCustomTreeView::SetChangeDelay)
          .Default(0)
          .Property("OnChange", [](TCustomTreeView& v) { return v.OnChange; },
                    [](TCustomTreeView& v, TTVChangedEvent e) { v.OnChange = e; })
          .Property("OnEdited", [](TCustomTreeView& v) { return v.OnEdited; },
                    [](TCustomTreeView& v, TTVEditedEvent e) { v.OnEdited = e; })
          .Build();
  return info;
}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView() {
  // Nodes left when the window went without deleting its items.
  for (TTreeNode* node : nodes_) delete node;
  nodes_.clear();
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, WC_TREEVIEWW);
  params.Style |= WS_BORDER | TVS_EDITLABELS;
  if (showRoot_) params.Style |= TVS_LINESATROOT;
  if (showLines_) params.Style |= TVS_HASLINES;
  if (showButtons_) params.Style |= TVS_HASBUTTONS;
  if (!hideSelection_) params.Style |= TVS_SHOWSELALWAYS;
  if (autoExpand_) params.Style |= TVS_SINGLEEXPAND;
  if (hotTrack_) params.Style |= TVS_TRACKSELECT;
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  HWND window = Handle();
  if (images_) SendMessageW(window, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
  if (stateImages_) SendMessageW(window, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(stateImages_));
  SendMessageW(window, TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
}

void TCustomTreeView::DestroyWnd() {
  // Items go while the parent can still hear their delete notifications.
  if (HandleAllocated()) ClearNodes();
  TWinControl::DestroyWnd();
}

void TCustomTreeView::UpdateStyle(DWORD bit, bool on) {
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  style = on ? (style | bit) : (style & ~static_cast<LONG_PTR>(bit));
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomTreeView::SetShowRoot(bool value) {
  showRoot_ = value;
  UpdateStyle(TVS_LINESATROOT, value);
}
void TCustomTreeView::SetShowLines(bool value) {
  showLines_ = value;
  UpdateStyle(TVS_HASLINES, value);
}
void TCustomTreeView::SetShowButtons(bool value) {
  showButtons_ = value;
  UpdateStyle(TVS_HASBUTTONS, value);
}
void TCustomTreeView::SetHideSelection(bool value) {
  hideSelection_ = value;
  UpdateStyle(TVS_SHOWSELALWAYS, !value);
}
void TCustomTreeView::SetReadOnly(bool value) {
  readOnly_ = value;
  UpdateStyle(TVS_EDITLABELS, !value);
}
void TCustomTreeView::SetAutoExpand(bool value) {
  autoExpand_ = value;
  UpdateStyle(TVS_SINGLEEXPAND, value);
}
void TCustomTreeView::SetHotTrack(bool value) {
  hotTrack_ = value;
  UpdateStyle(TVS_TRACKSELECT, value);
}
void TCustomTreeView::SetIndent(int value) {
  indent_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(value), 0);
}
void TCustomTreeView::SetImages(HIMAGELIST value) {
  images_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(value));
}
void TCustomTreeView::SetStateImages(HIMAGELIST value) {
  stateImages_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(value));
}

TTreeNode* TCustomTreeView::Insert(TTreeNode* parent, HTREEITEM after, const std::string& text, void* data) {
  HWND window = Handle();
  auto* node = new TTreeNode(this, parent);
  node->text_ = text;
  node->data_ = data;
  std::wstring wide = Utf8ToWide(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent->item_ : TVI_ROOT;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = wide.data();
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.lParam = reinterpret_cast<LPARAM>(node);
  nodes_.insert(node);
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(window, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!item) {
    nodes_.erase(node);
    delete node;
    throw ETreeViewError("Failed to insert tree node");
  }
  node->item_ = item;
  return node;
}

TTreeNode* TCustomTreeView::AddChild(TTreeNode* parent, const std::string& text, void* data) {
  return Insert(parent, TVI_LAST, text, data);
}

TTreeNode* TCustomTreeView::Add(TTreeNode* sibling, const std::string& text, void* data) {
  return Insert(sibling ? sibling->parent_ : nullptr, TVI_LAST, text, data);
}

void TCustomTreeView::ClearNodes() {
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

TTreeNode* TCustomTreeView::GetFirstNode() {
  if (!HandleAllocated()) return nullptr;
  return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

TTreeNode* TCustomTreeView::NodeOfItem(HTREEITEM item) {
  if (!item || !HandleAllocated()) return nullptr;
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  auto* node = reinterpret_cast<TTreeNode*>(tv.lParam);
  return nodes_.count(node) ? node : nullptr;
}

void TCustomTreeView::BeginUpdate() {
  if (updateCount_++ == 0 && HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomTreeView::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0 && HandleAllocated()) {
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

namespace {
int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM context) {
  const auto& compare = *reinterpret_cast<const TTVCompare*>(context);
  try {
    return compare(reinterpret_cast<TTreeNode*>(a), reinterpret_cast<TTreeNode*>(b));
  } catch (...) {
    return 0;
  }
}
}  // namespace

bool TCustomTreeView::SortChildren(TTreeNode* parent, const TTVCompare& compare) {
  TVSORTCB sort{};
  sort.hParent = parent ? parent->item_ : TVI_ROOT;
  sort.lpfnCompare = CompareNodes;
  sort.lParam = reinterpret_cast<LPARAM>(&compare);
  return SendMessageW(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)) != 0;
}

TTreeNode* TCustomTreeView::Selected() {
  if (!HandleAllocated()) return nullptr;
  return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
  SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

TTreeNode* TCustomTreeView::DropTargetNode() {
  if (!HandleAllocated()) return nullptr;
  return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_DROPHILITE, 0)));
}

void TCustomTreeView::SetDropTargetNode(TTreeNode* node) {
  SendMessageW(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) {
  TVHITTESTINFO info{};
  info.pt = {x, y};
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  if (!item || !(info.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON))) return nullptr;
  return NodeOfItem(item);
}

THitTests TCustomTreeView::GetHitTestInfoAt(int x, int y) {
  TVHITTESTINFO info{};
  info.pt = {x, y};
  SendMessageW(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
  THitTests result;
  const UINT f = info.flags;
  if (f & TVHT_ABOVE) result.Include(htAbove);
  if (f & TVHT_BELOW) result.Include(htBelow);
  if (f & TVHT_NOWHERE) result.Include(htNowhere);
  if ((f & TVHT_ONITEM) == TVHT_ONITEM) result.Include(htOnItem);
  if (f & TVHT_ONITEMBUTTON) result.Include(htOnButton);
  if (f & TVHT_ONITEMICON) result.Include(htOnIcon);
  if (f & TVHT_ONITEMINDENT) result.Include(htOnIndent);
  if (f & TVHT_ONITEMLABEL) result.Include(htOnLabel);
  if (f & TVHT_ONITEMRIGHT) result.Include(htOnRight);
  if (f & TVHT_ONITEMSTATEICON) result.Include(htOnStateIcon);
  if (f & TVHT_TOLEFT) result.Include(htToLeft);
  if (f & TVHT_TORIGHT) result.Include(htToRight);
  return result;
}

HWND TCustomTreeView::EditHandle() {
  if (!HandleAllocated()) return nullptr;
  return reinterpret_cast<HWND>(SendMessageW(Handle(), TVM_GETEDITCONTROL, 0, 0));
}

bool TCustomTreeView::IsEditing() { return EditHandle() != nullptr; }

bool TCustomTreeView::CanExpand(TTreeNode* node) {
  bool allow = true;
  OnExpanding(this, node, allow);
  return allow;
}

bool TCustomTreeView::CanEdit(TTreeNode* node) {
  if (readOnly_) return false;
  bool allow = true;
  OnEditing(this, node, allow);
  return allow;
}

void TCustomTreeView::Edit(TTreeNode* node, const std::string* text) {
  if (!text) return;
  std::string value = *text;
  OnEdited(this, node, value);
  node->SetText(value);
}

void TCustomTreeView::ForgetNode(TTreeNode* node) {
  if (!nodes_.erase(node)) return;
  try {
    Delete(node);
  } catch (...) {
    delete node;
    throw;
  }
  delete node;
}

bool TCustomTreeView::TreeNotify(NMHDR* header, LRESULT& result) {
  switch (header->code) {
    case TVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
      TTreeNode* node = (info->item.mask & TVIF_PARAM) ? reinterpret_cast<TTreeNode*>(info->item.lParam)
                                                       : NodeOfItem(info->item.hItem);
      if (!node || !nodes_.count(node)) return true;
      if (info->item.mask & TVIF_IMAGE) {
        GetImageIndex(node);
        info->item.iImage = node->imageIndex_;
      }
      if (info->item.mask & TVIF_SELECTEDIMAGE) {
        GetSelectedIndex(node);
        info->item.iSelectedImage = node->selectedIndex_;
      }
      return true;
    }
    case TVN_ITEMEXPANDINGW: {
      auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
      TTreeNode* node = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam);
      if (!nodes_.count(node)) return true;
      if (tv->action & TVE_EXPAND) result = CanExpand(node) ? FALSE : TRUE;
      else if (tv->action & TVE_COLLAPSE) result = CanCollapse(node) ? FALSE : TRUE;
      return true;
    }
    case TVN_ITEMEXPANDEDW: {
      auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
      TTreeNode* node = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam);
      if (!nodes_.count(node)) return true;
      if (tv->action & TVE_EXPAND) Expand(node);
      else if (tv->action & TVE_COLLAPSE) Collapse(node);
      return true;
    }
    case TVN_SELCHANGEDW: {
      auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
      TTreeNode* node = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam);
      if (changeDelay_ > 0 && HandleAllocated()) {
        KillTimer(Handle(), kChangeTimerId);
        SetTimer(Handle(), kChangeTimerId, static_cast<UINT>(changeDelay_), nullptr);
        return true;
      }
      Change(nodes_.count(node) ? node : nullptr);
      return true;
    }
    case TVN_DELETEITEMW: {
      auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
      ForgetNode(reinterpret_cast<TTreeNode*>(tv->itemOld.lParam));
      return true;
    }
    case TVN_BEGINLABELEDITW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
      TTreeNode* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
      if (!nodes_.count(node)) node = NodeOfItem(info->item.hItem);
      const bool allow = node && CanEdit(node);
      result = allow ? FALSE : TRUE;
      if (allow) {
        HWND edit = EditHandle();
        if (edit) SetWindowTextW(edit, Utf8ToWide(EditorText(node)).c_str());
      }
      return true;
    }
    case TVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
      TTreeNode* node = NodeOfItem(info->item.hItem);
      result = FALSE;  // the node's text is set by Edit itself
      if (!node) return true;
      if (info->item.pszText) {
        const std::string text = WideToUtf8(info->item.pszText);
        Edit(node, &text);
      } else {
        Edit(node, nullptr);
      }
      return true;
    }
    case TVN_BEGINDRAGW:
    case TVN_BEGINRDRAGW: {
      auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
      TTreeNode* node = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam);
      if (nodes_.count(node)) BeginDragNotify(node, header->code == TVN_BEGINRDRAGW);
      return true;
    }
    case NM_CLICK:
      result = ClickNotify() ? 1 : 0;
      return true;
    case NM_RCLICK:
      result = RightClickNotify() ? 1 : 0;
      return true;
    default:
      return false;
  }
}

void TCustomTreeView::WndProc(TMessage& message) {
  if (message.Msg == WM_TIMER && message.WParam == kChangeTimerId) {
    KillTimer(Handle(), kChangeTimerId);
    Change(Selected());  // the node selected now; the one that started the wait may be gone
    message.Result = 0;
    return;
  }
  if (message.Msg == CN_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    LRESULT result = 0;
    if (TreeNotify(header, result)) {
      message.Result = result;
      return;
    }
  }
  TWinControl::WndProc(message);
}
