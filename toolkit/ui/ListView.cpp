// TCustomListView over SysListView32: items as item data, texts and images on demand.
#include "toolkit/ui/ListView.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/TextConv.h"

// ---- TListItem ------------------------------------------------------------------------------

int TListItem::Index() const {
  if (!owner_->HandleAllocated()) return -1;
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = reinterpret_cast<LPARAM>(this);
  return static_cast<int>(SendMessageW(owner_->Handle(), LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(&find)));
}

void TListItem::SetCaption(const std::string& value) {
  caption_ = value;
  const int index = Index();
  if (index >= 0) SendMessageW(owner_->Handle(), LVM_UPDATE, static_cast<WPARAM>(index), 0);
}

void TListItem::SetOverlayIndex(int value) {
  LVITEMW item{};
  item.stateMask = LVIS_OVERLAYMASK;
  item.state = value >= 0 ? INDEXTOOVERLAYMASK(value + 1) : 0;
  SendMessageW(owner_->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Selected() const {
  return SendMessageW(owner_->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool value) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = value ? LVIS_SELECTED : 0;
  SendMessageW(owner_->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Focused() const {
  return SendMessageW(owner_->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool value) {
  LVITEMW item{};
  item.stateMask = LVIS_FOCUSED;
  item.state = value ? LVIS_FOCUSED : 0;
  SendMessageW(owner_->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Checked() const {
  const auto state = static_cast<UINT>(
      SendMessageW(owner_->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_STATEIMAGEMASK));
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void TListItem::SetChecked(bool value) {
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(value ? 2 : 1);
  SendMessageW(owner_->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

TRect TListItem::DisplayRect(int code) const {
  RECT r{};
  r.left = code;
  if (!SendMessageW(owner_->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&r)))
    return TRect();
  return TRect(r);
}

bool TListItem::EditCaption() {
  SetFocus(owner_->Handle());
  owner_->editByCode_ = true;
  const bool started = SendMessageW(owner_->Handle(), LVM_EDITLABELW, static_cast<WPARAM>(Index()), 0) != 0;
  owner_->editByCode_ = false;
  return started;
}

void TListItem::Delete() { SendMessageW(owner_->Handle(), LVM_DELETEITEM, static_cast<WPARAM>(Index()), 0); }

// ---- TCustomListView ------------------------------------------------------------------------

const TClassInfo& TCustomListView::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomListView>("TCustomListView", &TWinControl::StaticClass()).Build();
  return info;
}

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomListView::~TCustomListView() {
  for (TListItem* item : items_) delete item;
  items_.clear();
}

void TCustomListView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, WC_LISTVIEWW);
  params.Style |= WS_BORDER | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;
  if (!readOnly_) params.Style |= LVS_EDITLABELS;
  switch (viewStyle_) {
    case vsIcon: params.Style |= LVS_ICON; break;
    case vsSmallIcon: params.Style |= LVS_SMALLICON; break;
    case vsList: params.Style |= LVS_LIST; break;
    case vsReport: params.Style |= LVS_REPORT; break;
  }
}

void TCustomListView::CreateWnd() {
  TWinControl::CreateWnd();
  if (smallImages_) SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_));
  if (largeImages_) SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeImages_));
  if (rowSelect_) SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  if (checkboxes_) SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
}

void TCustomListView::DestroyWnd() {
  if (HandleAllocated()) ClearItems();
  TWinControl::DestroyWnd();
}

void TCustomListView::UpdateStyle() {
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(LVS_TYPEMASK | LVS_EDITLABELS);
  switch (viewStyle_) {
    case vsIcon: style |= LVS_ICON; break;
    case vsSmallIcon: style |= LVS_SMALLICON; break;
    case vsList: style |= LVS_LIST; break;
    case vsReport: style |= LVS_REPORT; break;
  }
  if (!readOnly_) style |= LVS_EDITLABELS;
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomListView::SetViewStyle(TViewStyle value) {
  viewStyle_ = value;
  UpdateStyle();
}

void TCustomListView::SetReadOnly(bool value) {
  readOnly_ = value;
  UpdateStyle();
}

void TCustomListView::SetRowSelect(bool value) {
  rowSelect_ = value;
  if (HandleAllocated())
    SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, value ? LVS_EX_FULLROWSELECT : 0);
}

void TCustomListView::SetCheckboxes(bool value) {
  checkboxes_ = value;
  if (HandleAllocated())
    SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, value ? LVS_EX_CHECKBOXES : 0);
}

void TCustomListView::SetSmallImages(HIMAGELIST value) {
  smallImages_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(value));
}

void TCustomListView::SetLargeImages(HIMAGELIST value) {
  largeImages_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(value));
}

int TCustomListView::AddColumn(const std::string& caption, int width, TAlignment alignment) {
  std::wstring text = Utf8ToWide(caption);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = alignment == taRightJustify ? LVCFMT_RIGHT : alignment == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
  column.cx = width;
  column.pszText = text.data();
  const int index = ColumnCount();
  return static_cast<int>(SendMessageW(Handle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(&column)));
}

void TCustomListView::ClearColumns() {
  while (ColumnCount() > 0) SendMessageW(Handle(), LVM_DELETECOLUMN, 0, 0);
}

HWND TCustomListView::HeaderHandle() {
  return reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
}

int TCustomListView::ColumnCount() {
  HWND header = HeaderHandle();
  return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int TCustomListView::ColumnWidth(int index) {
  return static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
}

void TCustomListView::SetColumnWidth(int index, int width) {
  SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0));
}

std::string TCustomListView::ColumnCaption(int index) {
  wchar_t buffer[260] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = buffer;
  column.cchTextMax = 260;
  SendMessageW(Handle(), LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
  return WideToUtf8(buffer);
}

TListItem* TCustomListView::AddItem(const std::string& caption, void* data) {
  auto* item = new TListItem(this);
  item->caption_ = caption;
  item->data_ = data;
  items_.insert(item);
  LVITEMW lv{};
  lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  lv.iItem = ItemCount();
  lv.pszText = LPSTR_TEXTCALLBACKW;
  lv.iImage = I_IMAGECALLBACK;
  lv.lParam = reinterpret_cast<LPARAM>(item);
  if (SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv)) < 0) {
    items_.erase(item);
    delete item;
    return nullptr;
  }
  return item;
}

void TCustomListView::ClearItems() {
  if (HandleAllocated()) SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

int TCustomListView::ItemCount() {
  return HandleAllocated() ? static_cast<int>(SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0)) : 0;
}

TListItem* TCustomListView::ItemFromParam(LPARAM param) {
  auto* item = reinterpret_cast<TListItem*>(param);
  return items_.count(item) ? item : nullptr;
}

TListItem* TCustomListView::Item(int index) {
  if (index < 0) return nullptr;
  LVITEMW lv{};
  lv.mask = LVIF_PARAM;
  lv.iItem = index;
  if (!SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv))) return nullptr;
  return ItemFromParam(lv.lParam);
}

TListItem* TCustomListView::Selected() {
  return Item(static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

int TCustomListView::SelCount() { return static_cast<int>(SendMessageW(Handle(), LVM_GETSELECTEDCOUNT, 0, 0)); }

std::vector<TListItem*> TCustomListView::SelectedItems() {
  std::vector<TListItem*> result;
  int index = -1;
  while ((index = static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(index),
                                                LVNI_SELECTED))) >= 0)
    if (TListItem* item = Item(index)) result.push_back(item);
  return result;
}

TListItem* TCustomListView::ItemFocused() {
  return Item(static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

TListItem* TCustomListView::GetItemAt(int x, int y) {
  LVHITTESTINFO info{};
  info.pt = {x, y};
  const int index = static_cast<int>(SendMessageW(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  return (info.flags & LVHT_ONITEM) ? Item(index) : nullptr;
}

namespace {
int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM context) {
  const auto& compare = *reinterpret_cast<const TLVCompare*>(context);
  try {
    return compare(reinterpret_cast<TListItem*>(a), reinterpret_cast<TListItem*>(b));
  } catch (...) {
    return 0;
  }
}
}  // namespace

bool TCustomListView::CustomSort(const TLVCompare& compare) {
  return SendMessageW(Handle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare),
                      reinterpret_cast<LPARAM>(CompareItems)) != 0;
}

void TCustomListView::BeginUpdate() {
  if (updateCount_++ == 0 && HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomListView::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0 && HandleAllocated()) {
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

bool TCustomListView::IsEditing() {
  return HandleAllocated() && SendMessageW(Handle(), LVM_GETEDITCONTROL, 0, 0) != 0;
}

std::string TCustomListView::GetItemText(TListItem* item, int column) {
  if (column == 0) return item->caption_;
  const size_t k = static_cast<size_t>(column - 1);
  return k < item->subItems_.size() ? item->subItems_[k] : std::string();
}

void TCustomListView::Edit(TListItem* item, const std::string* text) {
  if (text) item->SetCaption(*text);
}

void TCustomListView::ForgetItem(TListItem* item) {
  if (!items_.erase(item)) return;
  try {
    Delete(item);
  } catch (...) {
    delete item;
    throw;
  }
  delete item;
}

bool TCustomListView::ListNotify(NMHDR* header, LRESULT& result) {
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      TListItem* item = ItemFromParam(info->item.lParam);
      if (!item) item = Item(info->item.iItem);
      if (!item) return true;
      if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
        const std::wstring text = Utf8ToWide(GetItemText(item, info->item.iSubItem));
        const size_t n = std::min<size_t>(text.size(), static_cast<size_t>(info->item.cchTextMax - 1));
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), info->item.pszText);
        info->item.pszText[n] = 0;
      }
      if (info->item.mask & LVIF_IMAGE) {
        GetImageIndex(item);
        info->item.iImage = item->imageIndex_;
      }
      return true;
    }
    case LVN_DELETEITEM: {
      auto* lv = reinterpret_cast<NMLISTVIEW*>(header);
      ForgetItem(reinterpret_cast<TListItem*>(lv->lParam));
      return true;
    }
    case LVN_DELETEALLITEMS:
      result = FALSE;  // a delete notification per item
      return true;
    case LVN_COLUMNCLICK:
      ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case LVN_BEGINLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      TListItem* item = Item(info->item.iItem);
      const bool allow = item && CanEdit(item);
      result = allow ? FALSE : TRUE;
      if (allow) {
        auto edit = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETEDITCONTROL, 0, 0));
        if (edit) SetWindowTextW(edit, Utf8ToWide(EditorText(item)).c_str());
      }
      return true;
    }
    case LVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      TListItem* item = Item(info->item.iItem);
      result = FALSE;
      if (!item) return true;
      if (info->item.pszText) {
        const std::string text = WideToUtf8(info->item.pszText);
        Edit(item, &text);
      } else {
        Edit(item, nullptr);
      }
      return true;
    }
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG: {
      auto* lv = reinterpret_cast<NMLISTVIEW*>(header);
      if (TListItem* item = Item(lv->iItem)) BeginDragNotify(item, header->code == LVN_BEGINRDRAG);
      return true;
    }
    default:
      return false;
  }
}

void TCustomListView::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    LRESULT result = 0;
    if (ListNotify(reinterpret_cast<NMHDR*>(message.LParam), result)) {
      message.Result = result;
      return;
    }
  }
  TWinControl::WndProc(message);
}
