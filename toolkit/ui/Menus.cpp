// Menu items, menus, the form's menu bar and popup menus over the platform's menus.
#include "toolkit/ui/Menus.h"

#include <algorithm>
#include <map>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/HiddenWindow.h"
#include "toolkit/ui/ImgList.h"

namespace {

// Command numbers of the program's menu items (window thread only).
std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

UINT NextCommand(TMenuItem* item) {
  static UINT next = 100;
  // Skip numbers still in use after the counter wrapped.
  do {
    next = next >= 0xEFFF ? 100 : next + 1;
  } while (Commands().count(next) != 0);
  Commands()[next] = item;
  return next;
}

}  // namespace

std::string StripHotkey(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') result += '&';
      ++i;
      if (i < text.size() && text[i] != '&') result += text[i];
      continue;
    }
    result += text[i];
  }
  return result;
}

// ---- TMenuItem ---------------------------------------------------------------------------------

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TMenuItem>("TMenuItem", &TComponent::StaticClass())
          .Property("Action", &TMenuItem::Action, &TMenuItem::SetAction)
          .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
          .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
          .Default(false)
          .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
          .Default(true)
          .Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
          .Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
          .Default(-1)
          .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
          .Default(true)
          .Property("OnClick", [](TMenuItem& m) { return m.OnClick; }, [](TMenuItem& m, TNotifyEvent e) { m.OnClick = e; })
          .Property("OnDrawItem", [](TMenuItem& m) { return m.OnDrawItem; },
                    [](TMenuItem& m, TMenuDrawItemEvent e) { m.OnDrawItem = e; })
          .Property("OnMeasureItem", [](TMenuItem& m) { return m.OnMeasureItem; },
                    [](TMenuItem& m, TMenuMeasureItemEvent e) { m.OnMeasureItem = e; })
          .Build();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand(this)) {}

TMenuItem::~TMenuItem() {
  actionLink_.reset();
  const std::vector<TMenuItem*> children = items_;
  for (TMenuItem* child : children) {
    // Children owned by this item go with it; others only leave it.
    if (child->Owner() == nullptr || child->Owner() == this) delete child; else Remove(child);
  }
  if (parent_ != nullptr) parent_->Remove(this);
  Commands().erase(command_);
}

void TMenuItem::Changed() {
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed();
}

void TMenuItem::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TMenuItem::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed();
}

TAction* TMenuItem::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TMenuItem::SetAction(TAction* value) {
  if (value == nullptr) {
    actionLink_.reset();
    return;
  }
  if (!actionLink_) {
    actionLink_ = std::make_unique<TActionLink>(this);
    actionLink_->OnChange = TMethodEvent<TAction*>(this, &TMenuItem::ActionChanged);
  }
  actionLink_->SetAction(value);
}

void TMenuItem::ActionChanged(TAction* action) {
  caption_ = action->Caption();
  hint_ = action->Hint();
  imageIndex_ = action->ImageIndex();
  enabled_ = action->Enabled();
  checked_ = action->Checked();
  visible_ = action->Visible();
  Changed();
}

void TMenuItem::Click() {
  if (OnClick) {
    OnClick(this);
  } else if (actionLink_) {
    actionLink_->Execute();
  }
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item == nullptr || item == this) return;
  if (item->parent_ != nullptr) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_ != nullptr) item = item->parent_;
  return item->menu_;
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ != nullptr && parent_->menu_ != nullptr) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (auto* menu = dynamic_cast<TMenu*>(value)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(value)) item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TMenuItem* item : items_) {
    if (item->Owner() == root) proc(item);
  }
}

// ---- TMenu -------------------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TMenu>("TMenu", &TComponent::StaticClass())
          .Property("Images", &TMenu::Images, &TMenu::SetImages)
          .Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
          .Default(false)
          .Abstract()
          .Build();
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  DestroyHandle();
  items_->menu_ = nullptr;
  delete items_;
}

void TMenu::SetImages(TCustomImageList* value) {
  if (value == images_) return;
  images_ = value;
  if (value != nullptr) value->FreeNotification(this);
  MenuChanged();
}

void TMenu::SetOwnerDraw(bool value) {
  if (value == ownerDraw_) return;
  ownerDraw_ = value;
  MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    MenuChanged();
  }
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { items_->GetChildren(proc, root); }

void TMenu::DestroyHandle() {
  if (handle_ != nullptr && IsMenu(handle_)) DestroyMenu(handle_);
  handle_ = nullptr;
}

void TMenu::MenuChanged() {
  if (handle_ == nullptr || !IsMenu(handle_)) return;
  // Empty the existing menu in place so a window showing it keeps the same handle.
  while (GetMenuItemCount(handle_) > 0) DeleteMenu(handle_, 0, MF_BYPOSITION);
  BuildInto(handle_, items_);
}

HMENU TMenu::Handle() {
  // A menu bar goes with the window it was attached to; a new one is made when needed.
  if (handle_ != nullptr && !IsMenu(handle_)) handle_ = nullptr;
  if (handle_ == nullptr) {
    handle_ = IsPopup() ? CreatePopupMenu() : CreateMenu();
    BuildInto(handle_, items_);
  }
  return handle_;
}

bool TMenu::NeedsOwnerDraw(const TMenuItem* item) const {
  if (item->IsLine()) return ownerDraw_;
  return ownerDraw_ || (images_ != nullptr && item->ImageIndex() >= 0 && item->Parent() != items_) ||
         (images_ != nullptr && item->ImageIndex() >= 0 && IsPopup());
}

void TMenu::BuildInto(HMENU menu, TMenuItem* parent) {
  for (TMenuItem* item : parent->items_) {
    if (!item->Visible()) continue;
    const std::wstring caption = Utf8ToWide(item->Caption());
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.wID = item->Command();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    if (item->IsLine()) {
      info.fType = MFT_SEPARATOR;
    } else {
      info.fMask |= MIIM_STRING;
      info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    }
    if (NeedsOwnerDraw(item)) info.fType |= MFT_OWNERDRAW;
    if (item->Checked()) info.fState |= MFS_CHECKED;
    if (!item->Enabled()) info.fState |= MFS_DISABLED;
    if (item->Count() > 0) {
      HMENU sub = CreatePopupMenu();
      BuildInto(sub, item);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = sub;
    }
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
  }
}

TMenuItem* TMenu::FindItem(UINT command) const {
  auto it = Commands().find(command);
  if (it == Commands().end() || it->second->GetParentMenu() != this) return nullptr;
  return it->second;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

bool TMenu::MeasureItem(MEASUREITEMSTRUCT& measure) {
  if (measure.CtlType != ODT_MENU) return false;
  auto* item = reinterpret_cast<TMenuItem*>(measure.itemData);
  if (item == nullptr || item->GetParentMenu() != this) return false;
  HDC dc = GetDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
  HGDIOBJ old = SelectObject(dc, font);
  int width = 0, height = 0;
  if (item->IsLine()) {
    height = 8;
  } else {
    const std::wstring caption = Utf8ToWide(StripHotkey(item->Caption()));
    SIZE text{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    const int imageWidth = images_ != nullptr ? images_->Width() : 16;
    width = imageWidth + 8 + static_cast<int>(text.cx) + 8;
    height = std::max(static_cast<int>(text.cy) + 4, images_ != nullptr ? images_->Height() + 4 : 0);
  }
  item->OnMeasureItem(item, &canvas, width, height);
  SelectObject(dc, old);
  DeleteObject(font);
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  measure.itemWidth = static_cast<UINT>(std::max(width, 0));
  measure.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool TMenu::DrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_MENU) return false;
  auto* item = reinterpret_cast<TMenuItem*>(draw.itemData);
  if (item == nullptr || item->GetParentMenu() != this) return false;
  TCanvas canvas;
  canvas.SetHandle(draw.hDC);
  const TRect rect = draw.rcItem;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  if (item->OnDrawItem) {
    item->OnDrawItem(item, &canvas, rect, selected);
  } else {
    canvas.Brush()->SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (item->IsLine()) {
      RECT line{rect.Left, rect.Top + rect.Height() / 2 - 1, rect.Right, rect.Top + rect.Height() / 2 + 1};
      DrawEdge(draw.hDC, &line, EDGE_ETCHED, BF_TOP);
    } else {
      int textLeft = rect.Left + 20;
      if (images_ != nullptr) {
        images_->Draw(&canvas, rect.Left + 2, rect.Top + (rect.Height() - images_->Height()) / 2, item->ImageIndex(),
                      item->Enabled());
        textLeft = rect.Left + images_->Width() + 8;
      }
      canvas.Brush()->SetStyle(bsClear);
      canvas.Font()->SetColor(!item->Enabled() ? clGrayText : selected ? clHighlightText : clMenuText);
      RECT textRect{textLeft, rect.Top, rect.Right, rect.Bottom};
      const std::wstring caption = Utf8ToWide(item->Caption());
      canvas.Handle();
      SetBkMode(draw.hDC, TRANSPARENT);
      SetTextColor(draw.hDC, ColorToRGB(canvas.Font()->Color()));
      ::DrawTextW(draw.hDC, caption.c_str(), static_cast<int>(caption.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
  }
  canvas.SetHandle(nullptr);
  return true;
}

// ---- TMainMenu ---------------------------------------------------------------------------------

const TClassInfo& TMainMenu::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMainMenu>("TMainMenu", &TMenu::StaticClass()).Build();
  return info;
}

void TMainMenu::AttachTo(TCustomForm* form) {
  if (form != nullptr) form->SetMenu(this);
}

void TMainMenu::MenuChanged() {
  TMenu::MenuChanged();
  // Redraw the bar of the form showing this menu.
  if (auto* form = dynamic_cast<TCustomForm*>(Owner()); form != nullptr && form->Menu() == this && form->HandleAllocated())
    DrawMenuBar(form->Handle());
}

bool TMainMenu::MenuMessage(TMessage& message) {
  if (message.Msg == WM_DRAWITEM && DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam))) {
    message.Result = TRUE;
    return true;
  }
  if (message.Msg == WM_MEASUREITEM && MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) {
    message.Result = TRUE;
    return true;
  }
  return false;
}

// ---- TPopupMenu --------------------------------------------------------------------------------

const TEnumInfo& EnumTypeInfo(TPopupAlignment) {
  static const TEnumInfo info("TPopupAlignment", {"paLeft", "paRight", "paCenter"});
  return info;
}

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TPopupMenu>("TPopupMenu", &TMenu::StaticClass())
          .Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment)
          .Default(paLeft)
          .Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
          .Default(true)
          .Property("OnPopup", [](TPopupMenu& m) { return m.OnPopup; }, [](TPopupMenu& m, TNotifyEvent e) { m.OnPopup = e; })
          .Build();
  return info;
}

TPopupMenu::~TPopupMenu() {
  if (window_ != nullptr) DeallocateHWnd(window_);
}

HWND TPopupMenu::WindowHandle() {
  if (window_ == nullptr) window_ = AllocateHWnd([this](TMessage& message) { WindowMessage(message); });
  return window_;
}

void TPopupMenu::WindowMessage(TMessage& message) {
  if (message.Msg == WM_DRAWITEM && DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam))) {
    message.Result = TRUE;
    return;
  }
  if (message.Msg == WM_MEASUREITEM && MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) {
    message.Result = TRUE;
    return;
  }
  DefHiddenWindowProc(window_, message);
}

void TPopupMenu::Popup(int x, int y, TObject* component) {
  SetPopupComponent(dynamic_cast<TComponent*>(component));
  Popup(x, y);
}

void TPopupMenu::Popup(int x, int y) {
  OnPopup(this);
  UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
  flags |= alignment_ == paRight ? TPM_RIGHTALIGN : alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
  HWND owner = WindowHandle();
  // The owner must be the foreground window for the menu to close when clicked outside.
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(TrackPopupMenuEx(Handle(), flags, x, y, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (command != 0) DispatchCommand(command);
}

void TMenuItem::ReadState(TReader& reader) {
  if (reader.Parent() != nullptr) SetParentComponent(reader.Parent());
  TComponent::ReadState(reader);
}
