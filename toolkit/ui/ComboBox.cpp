// TCustomComboBox over the platform's COMBOBOX class (see ComboBox.h).
#include "toolkit/ui/ComboBox.h"

#include <algorithm>

#include "toolkit/classes/StringList.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"

namespace {
const wchar_t kComboProp[] = L"VkComboBox";
}

const TEnumInfo& EnumTypeInfo(TComboBoxStyle) {
  static const TEnumInfo info("TComboBoxStyle",
                              {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"});
  return info;
}

const TClassInfo& TCustomComboBox::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomComboBox>("TCustomComboBox", &TWinControl::StaticClass())
          .Property("Style", &TCustomComboBox::Style, [](TCustomComboBox& c, TComboBoxStyle v) { c.SetStyle(v); })
          .Default(csDropDown)
          .Property("Ctl3D", &TCustomComboBox::Ctl3D, &TCustomComboBox::SetCtl3D)
          .Default(true)
          .Property("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
          .Default(8)
          .Property("ItemHeight", [](TCustomComboBox& c) { return c.ItemHeight(); },
                    [](TCustomComboBox& c, int v) { c.SetItemHeight(v); })
          .Property("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength)
          .Default(0)
          .Property("ParentCtl3D", &TCustomComboBox::ParentCtl3D, &TCustomComboBox::SetParentCtl3D)
          .Default(true)
          .Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted)
          .Default(false)
          .Property("Text", [](TCustomComboBox& c) { return c.Text(); },
                    [](TCustomComboBox& c, const std::string& v) { c.SetText(v); })
          .Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
          .Property("ItemIndex", [](TCustomComboBox& c) { return c.ItemIndex(); },
                    [](TCustomComboBox& c, int v) { c.SetItemIndex(v); })
          .Default(-1)
          .Property("OnChange", [](TCustomComboBox& c) { return c.OnChange; },
                    [](TCustomComboBox& c, TNotifyEvent e) { c.OnChange = e; })
          .Property("OnCloseUp", [](TCustomComboBox& c) { return c.OnCloseUp; },
                    [](TCustomComboBox& c, TNotifyEvent e) { c.OnCloseUp = e; })
          .Property("OnDrawItem", [](TCustomComboBox& c) { return c.OnDrawItem; },
                    [](TCustomComboBox& c, TDrawItemEvent e) { c.OnDrawItem = e; })
          .Property("OnDropDown", [](TCustomComboBox& c) { return c.OnDropDown; },
                    [](TCustomComboBox& c, TNotifyEvent e) { c.OnDropDown = e; })
          .Property("OnMeasureItem", [](TCustomComboBox& c) { return c.OnMeasureItem; },
                    [](TCustomComboBox& c, TMeasureItemEvent e) { c.OnMeasureItem = e; })
          .Property("OnSelect", [](TCustomComboBox& c) { return c.OnSelect; },
                    [](TCustomComboBox& c, TNotifyEvent e) { c.OnSelect = e; })
          .Abstract()
          .Build();
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(new TStringList()), canvas_(new TControlCanvas()) {
  static_cast<TControlCanvas*>(canvas_)->SetControl(this);
  items_->OnChange = TNotifyEvent(this, &TCustomComboBox::ItemsChanged);
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetControlStyle({csSetCaption, csDoubleClicks});
}

TCustomComboBox::~TCustomComboBox() {
  if (HandleAllocated()) DestroyHandle();
  delete canvas_;
  delete items_;
}

TStrings* TCustomComboBox::Items() const { return items_; }

void TCustomComboBox::SetItems(TStrings* value) { items_->Assign(value); }

void TCustomComboBox::AddItem(const std::string& text, TObject* object) { items_->AddObject(text, object); }

void TCustomComboBox::Clear() {
  SetText("");
  items_->Clear();
}

void TCustomComboBox::ItemsChanged(TObject*) {
  if (!HandleAllocated()) {
    if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
    return;
  }
  const int index = ItemIndex();
  const std::string text = style_ == csDropDown || style_ == csSimple ? Text() : std::string();
  FillWindow();
  if (index < items_->Count()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (!text.empty() && index < 0) SetText(text);
}

void TCustomComboBox::FillWindow() {
  filling_ = true;
  SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_->Count(); ++i) {
    const std::wstring text = Utf8ToWide(items_->Get(i));
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  filling_ = false;
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (value == style_) return;
  style_ = value;
  if (HandleAllocated()) RecreateWnd();
}

int TCustomComboBox::ItemIndex() {
  if (!HandleAllocated()) return itemIndex_;
  return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value) {
  if (value < -1 || value >= items_->Count()) value = -1;
  itemIndex_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

bool TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
  SendMessageW(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

int TCustomComboBox::ItemHeight() {
  if (HandleAllocated() && IsOwnerDrawn()) return static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0));
  return itemHeight_;
}

void TCustomComboBox::SetItemHeight(int value) {
  if (value <= 0 || value == itemHeight_) return;
  itemHeight_ = value;
  if (HandleAllocated() && IsOwnerDrawn()) RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int value) {
  maxLength_ = std::max(value, 0);
  if (HandleAllocated()) SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomComboBox::SetSorted(bool value) {
  if (value == sorted_) return;
  sorted_ = value;
  items_->SetSorted(value);
}

void TCustomComboBox::SetCtl3D(bool value) {
  parentCtl3D_ = false;
  if (value == ctl3D_) return;
  ctl3D_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomComboBox::SelectAll() {
  if (HandleAllocated()) SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"COMBOBOX");
  params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
  switch (style_) {
    case csDropDown: params.Style |= CBS_DROPDOWN; break;
    case csSimple: params.Style |= CBS_SIMPLE; break;
    case csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  // The platform sizes the closed box itself; the height given is the opened list's.
  if (style_ != csSimple) params.Height = std::max(params.Height, 0) + itemHeight_ * dropDownCount_ + 2;
}

void TCustomComboBox::Subclass(HWND child, WNDPROC& saved) {
  if (child == nullptr) return;
  SetPropW(child, kComboProp, this);
  saved = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomComboBox::ChildProc)));
}

void TCustomComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  FillWindow();
  SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (IsOwnerDrawn()) SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, itemHeight_);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(Handle(), &info)) {
    if (style_ == csDropDown || style_ == csSimple) {
      editHandle_ = info.hwndItem;
      Subclass(editHandle_, editProc_);
    }
    listHandle_ = info.hwndList;
    Subclass(listHandle_, listProc_);
  }
}

void TCustomComboBox::DestroyWnd() {
  itemIndex_ = ItemIndex();
  if (editHandle_ != nullptr) {
    SetWindowLongPtrW(editHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
    RemovePropW(editHandle_, kComboProp);
  }
  if (listHandle_ != nullptr) {
    SetWindowLongPtrW(listHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_));
    RemovePropW(listHandle_, kComboProp);
  }
  editHandle_ = listHandle_ = nullptr;
  editProc_ = listProc_ = nullptr;
  TWinControl::DestroyWnd();
}

LRESULT CALLBACK TCustomComboBox::ChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TCustomComboBox*>(GetPropW(window, kComboProp));
  if (self == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  try {
    if (window == self->editHandle_) self->EditWndProc(message);
    else self->ListWndProc(message);
  } catch (...) {
    if (Application != nullptr) Application->HandleException(self); else throw;
  }
  return message.Result;
}

void TCustomComboBox::DefaultEditHandler(TMessage& message) {
  message.Result = CallWindowProcW(editProc_, editHandle_, message.Msg, message.WParam, message.LParam);
}

void TCustomComboBox::DefaultListHandler(TMessage& message) {
  message.Result = CallWindowProcW(listProc_, listHandle_, message.Msg, message.WParam, message.LParam);
}

void TCustomComboBox::EditWndProc(TMessage& message) {
  // Keys typed into the edit part are the combo box's key events.
  switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(message)) return;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(message)) return;
      break;
    case WM_CHAR:
      if (DoKeyPress(message)) return;
      break;
    default: break;
  }
  DefaultEditHandler(message);
}

void TCustomComboBox::ListWndProc(TMessage& message) { DefaultListHandler(message); }

void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this); else Change();
}

void TCustomComboBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (filling_) return;
      switch (HIWORD(message.WParam)) {
        case CBN_SELCHANGE:
          Click();
          Select();
          return;
        case CBN_EDITCHANGE: Change(); return;
        case CBN_DROPDOWN: DropDown(); return;
        case CBN_CLOSEUP: CloseUp(); return;
        case CBN_SELENDOK: SelEndOk(); return;
        case CBN_SELENDCANCEL: SelEndCancel(); return;
        default: return;
      }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      // The edit and list parts in the combo box's colours.
      WMCtlColor(message);
      return;
    case CN_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
      TOwnerDrawState state;
      if (item->itemState & ODS_SELECTED) state.Include(odSelected);
      if (item->itemState & ODS_GRAYED) state.Include(odGrayed);
      if (item->itemState & ODS_DISABLED) state.Include(odDisabled);
      if (item->itemState & ODS_FOCUS) state.Include(odFocused);
      if (item->itemState & ODS_COMBOBOXEDIT) state.Include(odComboBoxEdit);
      canvas_->Lock();
      canvas_->SetHandle(item->hDC);
      canvas_->SetFont(Font());
      canvas_->Brush()->SetStyle(bsSolid);
      canvas_->Brush()->SetColor(Color());
      if (state.Contains(odSelected)) {
        canvas_->Brush()->SetColor(clHighlight);
        canvas_->Font()->SetColor(clHighlightText);
      }
      try {
        if (static_cast<int>(item->itemID) >= 0) DrawItem(static_cast<int>(item->itemID), item->rcItem, state);
        else canvas_->FillRect(item->rcItem);
        if (state.Contains(odFocused)) canvas_->DrawFocusRect(item->rcItem);
      } catch (...) {
        canvas_->SetHandle(nullptr);
        canvas_->Unlock();
        throw;
      }
      canvas_->SetHandle(nullptr);
      canvas_->Unlock();
      message.Result = TRUE;
      return;
    }
    case CN_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      int height = itemHeight_;
      if (style_ == csOwnerDrawVariable && static_cast<int>(item->itemID) >= 0)
        MeasureItem(static_cast<int>(item->itemID), height);
      item->itemHeight = static_cast<UINT>(height);
      message.Result = TRUE;
      return;
    }
    default: break;
  }
  TWinControl::WndProc(message);
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  canvas_->FillRect(rect);
  if (index < items_->Count()) canvas_->TextOut(rect.Left + 2, rect.Top, items_->Get(index));
}

void TCustomComboBox::MeasureItem(int index, int& height) { OnMeasureItem(this, index, height); }

const TClassInfo& TComboBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TComboBox>("TComboBox", &TCustomComboBox::StaticClass()).Build();
  return info;
}
