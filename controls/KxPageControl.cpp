// TKxTabSheet and TKxPageControl: the page list, the tab list rebuilt from it, page switching,
// closing and reordering, colours and loading.
#include "controls/KxPageControl.h"

#include <algorithm>

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"

// ---- TKxTabSheet ----------------------------------------------------------------------------

const TClassInfo& TKxTabSheet::StaticClass() {
  using C = TKxTabSheet;
  static const TClassInfo info =
      TClassBuilder<C>("TKxTabSheet", &TCustomControl::StaticClass())
          .Property("Caption", [](C& c) { return c.Caption(); }, [](C& c, const std::string& v) { c.SetCaption(v); })
          .Property("Color", &C::Color, &C::SetColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex)
          .Default(-1)
          .Property("DisabledIndex", &C::DisabledIndex, &C::SetDisabledIndex)
          .Default(-1)
          .Property("TabEnabled", &C::TabEnabled, &C::SetTabEnabled)
          .Default(true)
          .Property("TabVisible", &C::TabVisible, &C::SetTabVisible)
          .Default(true)
          .Property("PageIndex", &C::PageIndex, &C::SetPageIndex)
          .Stored(false)
          // The page control shows and hides its pages: never written, refused when read.
          .Property("Visible", &C::IsShown, &C::RejectVisibleChange)
          .Stored(false)
          .Property("OnShow", [](C& c) { return c.OnShow; }, [](C& c, TNotifyEvent e) { c.OnShow = e; })
          .Property("OnHide", [](C& c) { return c.OnHide; }, [](C& c, TNotifyEvent e) { c.OnHide = e; })
          .Property("OnPaintBackground", [](C& c) { return c.OnPaintBackground; },
                    [](C& c, TKxPaintBackgroundEvent e) { c.OnPaintBackground = e; })
          .Build();
  return info;
}

TKxTabSheet::TKxTabSheet(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
  TCustomControl::SetVisible(false);
  SetAlign(alClient);
  SetParentColor(false);
  SetColor(clBtnFace);
}

TKxTabSheet::~TKxTabSheet() {
  if (pageControl_ != nullptr) pageControl_->RemovePage(this);
}

void TKxTabSheet::RejectVisibleChange(bool) {
  throw EKxTabControlError("You cannot change the Visible property of a page");
}

void TKxTabSheet::SetVisible(bool value) { RejectVisibleChange(value); }

void TKxTabSheet::SetShown(bool value) {
  if (Visible() == value) return;
  TCustomControl::SetVisible(value);
  try {
    if (value) OnShow(this); else OnHide(this);
  } catch (...) {
    if (Application != nullptr) Application->HandleException(this); else throw;
  }
}

void TKxTabSheet::SetPageControl(TKxPageControl* value) {
  if (value == pageControl_) return;
  if (pageControl_ != nullptr) pageControl_->RemovePage(this);
  pageControl_ = value;
  SetParent(value);
  if (value != nullptr) value->InsertPage(this);
}

void TKxTabSheet::ReadState(TReader& reader) {
  TCustomControl::ReadState(reader);
  if (auto* pages = dynamic_cast<TKxPageControl*>(Parent())) SetPageControl(pages);
}

int TKxTabSheet::PageIndex() const { return pageControl_ != nullptr ? pageControl_->IndexOfPage(this) : -1; }

void TKxTabSheet::SetPageIndex(int value) {
  if (pageControl_ == nullptr) return;
  const int last = pageControl_->PageCount() - 1;
  if (value < 0 || value > last) {
    throw EKxTabControlError(
        Format("%d is an invalid PageIndex value. PageIndex must be between 0 and %d", {value, last}));
  }
  const int old = PageIndex();
  if (old == value) return;
  pageControl_->MovePage(this, value);
  pageControl_->OnTabOrderChange(pageControl_, old, value);
}

int TKxTabSheet::GetTabIndex() const {
  if (!tabVisible_ || pageControl_ == nullptr) return -1;
  int index = 0;
  for (int i = 0; i < pageControl_->PageCount(); ++i) {
    TKxTabSheet* page = pageControl_->PageAt(i);
    if (page == this) return index;
    if (page->TabVisible()) ++index;
  }
  return -1;
}

#define KX_SHEET_SETTER(Name, Type, field)   \
  void TKxTabSheet::Set##Name(Type value) {  \
    if (value == field) return;              \
    field = value;                           \
    if (pageControl_ != nullptr) pageControl_->InvalidateLayout(); \
  }

KX_SHEET_SETTER(ImageIndex, int, imageIndex_)
KX_SHEET_SETTER(DisabledIndex, int, disabledIndex_)
KX_SHEET_SETTER(TabEnabled, bool, tabEnabled_)
KX_SHEET_SETTER(TabVisible, bool, tabVisible_)

void TKxTabSheet::CMTextChanged(TMessage& message) {
  TCustomControl::CMTextChanged(message);
  if (pageControl_ != nullptr) pageControl_->InvalidateLayout();
}

void TKxTabSheet::CMColorChanged(TMessage& message) {
  TCustomControl::CMColorChanged(message);
  if (pageControl_ != nullptr && !pageControl_->recolouring_) {
    if (Color() != pageControl_->Color()) pageControl_->SetUseColoredTabs(true);
    pageControl_->InvalidateLayout();
  }
  Invalidate();
}

void TKxTabSheet::Paint() {
  TCanvas& canvas = *Canvas();
  const TRect all(0, 0, Width(), Height());
  bool handled = false;
  OnPaintBackground(this, &canvas, all, handled);
  if (handled) return;
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(all);
}

// ---- TKxPageControl -------------------------------------------------------------------------

const TClassInfo& TKxPageControl::StaticClass() {
  using C = TKxPageControl;
  static const TClassInfo info =
      TClassBuilder<C>("TKxPageControl", &TKxCustomTabControl::StaticClass())
          .Property("ActivePage", &C::ActivePage, &C::SetActivePage)
          .Property("ActivePageDefault", &C::ActivePageDefault, &C::SetActivePageDefault)
          .Property("DblClickUndocks", &C::DblClickUndocks, &C::SetDblClickUndocks)
          .Default(true)
          .Property("SaveResources", &C::SaveResources, &C::SetSaveResources)
          .Default(false)
          .Property("DockSite", &C::DockSite, &C::SetDockSite)
          .Default(false)
          .Property("OnPageChange", [](C& c) { return c.OnPageChange; },
                    [](C& c, TNotifyEvent e) { c.OnPageChange = e; })
          .Build();
  return info;
}

TKxPageControl::TKxPageControl(TComponent* owner) : TKxCustomTabControl(owner) {
  static bool sheetRegistered = false;
  if (!sheetRegistered) {
    RegisterClasses({&TKxTabSheet::StaticClass()});
    sheetRegistered = true;
  }
  SetHeight(150);
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

TKxPageControl::~TKxPageControl() {
  for (TKxTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TKxTabSheet* TKxPageControl::PageAt(int index) const {
  return index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

int TKxPageControl::IndexOfPage(const TKxTabSheet* sheet) const {
  const auto it = std::find(pages_.begin(), pages_.end(), sheet);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

TKxTabSheet* TKxPageControl::PageOfTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TKxTabSheet* page : pages_)
    if (page->GetTabIndex() == tabIndex) return page;
  return nullptr;
}

void TKxPageControl::InsertPage(TKxTabSheet* sheet) {
  if (IndexOfPage(sheet) >= 0) return;
  pages_.push_back(sheet);
  if (!UseColoredTabs() && !Loading()) {
    recolouring_ = true;
    sheet->SetColor(Color());
    recolouring_ = false;
  }
  InvalidateLayout();
}

void TKxPageControl::RemovePage(TKxTabSheet* sheet) {
  const int index = IndexOfPage(sheet);
  if (index < 0) return;
  if (sheet == activePage_) {
    activePage_ = nullptr;
    suppressChecks_ = true;
    ChangeTabIndex(-1, TKxTabChangeSource::Layout);
    suppressChecks_ = false;
  }
  if (sheet == activePageDefault_) activePageDefault_ = nullptr;
  docked_.erase(std::remove_if(docked_.begin(), docked_.end(), [sheet](const DockedWindow& d) { return d.Sheet == sheet; }),
                docked_.end());
  pages_.erase(pages_.begin() + index);
  sheet->pageControl_ = nullptr;
  if (!ComponentState().Contains(csDestroying)) InvalidateLayout();
}

void TKxPageControl::MovePage(TKxTabSheet* sheet, int newIndex) {
  const int old = IndexOfPage(sheet);
  if (old < 0) return;
  pages_.erase(pages_.begin() + old);
  pages_.insert(pages_.begin() + newIndex, sheet);
  InvalidateLayout();
}

void TKxPageControl::InvalidateLayout() {
  Tabs().Clear();
  for (TKxTabSheet* page : pages_) {
    if (!page->TabVisible()) continue;
    TKxTabData* tab = Tabs().Add();
    tab->Caption = page->Caption();
    tab->Color = page->Color();
    tab->Enabled = page->TabEnabled();
    tab->Visible = page->TabVisible();
    tab->Hint = page->Hint();
    tab->ImageIndex = page->ImageIndex();
    tab->DisabledIndex = page->DisabledIndex();
  }
  if (activePage_ != nullptr) {
    const int index = activePage_->GetTabIndex();
    if (index != TabIndex()) {
      suppressChecks_ = true;
      ChangeTabIndex(index, TKxTabChangeSource::Layout);
      suppressChecks_ = false;
    }
  }
  TKxCustomTabControl::InvalidateLayout();
}

void TKxPageControl::SetActivePageDefault(TKxTabSheet* sheet) {
  if (sheet != nullptr && sheet->PageControl() != this && !Loading()) return;
  activePageDefault_ = sheet;
}

void TKxPageControl::ChangeActivePage(TKxTabSheet* sheet) {
  if (sheet != nullptr && sheet->PageControl() != this && !Loading()) return;
  if (Loading()) {
    activePage_ = sheet;
    return;
  }
  const int tab = sheet != nullptr ? sheet->GetTabIndex() : -1;
  if (tab < 0) {
    if (sheet != activePage_ || (sheet != nullptr && !sheet->Visible())) {
      SwitchPages(sheet);
      OnChange(this);
    }
  }
  SetTabIndex(tab);
}

int TKxPageControl::GetActivePageIndex() const { return activePage_ != nullptr ? activePage_->PageIndex() : -1; }

void TKxPageControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= PageCount()) {
    SetTabIndex(-1);
    return;
  }
  ChangeActivePage(PageAt(index));
}

void TKxPageControl::TabSelected(int index) {
  if (Loading()) return;
  TKxTabSheet* page = PageOfTab(index);
  if (page != nullptr && (page != activePage_ || !page->Visible())) SwitchPages(page);
}

void TKxPageControl::SwitchPages(TKxTabSheet* sheet) {
  TKxTabSheet* old = activePage_;
  TCustomForm* form = GetParentForm(this);
  TWinControl* focused = form != nullptr ? form->ActiveControl() : nullptr;
  if (old != nullptr && old != sheet && focused != nullptr && old->ContainsControl(focused)) {
    form->SetActiveControl(old);
    focused = old;
  }
  if (sheet != nullptr) {
    sheet->BringToFront();
    sheet->SetShown(true);
  }
  if (form != nullptr && focused != nullptr && focused == old && old != sheet) {
    if (sheet != nullptr && sheet->CanFocus()) form->SetActiveControl(sheet);
    else form->SetActiveControl(this);
  }
  if (old != nullptr && old != sheet) {
    old->SetShown(false);
    if (saveResources_ && !ComponentState().Contains(csDesigning)) old->ReleaseWindow();
  }
  activePage_ = sheet;
  if (sheet != nullptr && form != nullptr && form->ActiveControl() == sheet) sheet->SelectNext(nullptr, true, true);
}

void TKxPageControl::CloseCurrentTab() {
  TKxTabSheet* page = activePage_;
  if (page == nullptr) return;
  const int next = std::max(0, TabIndex() - 1);
  delete page;
  if (PageCount() > 0) SetTabIndex(next);
}

void TKxPageControl::RepositionCurrentTab(int newIndex) {
  TKxTabSheet* target = PageOfTab(newIndex);
  if (activePage_ == nullptr || target == nullptr) return;
  activePage_->SetPageIndex(target->PageIndex());
}

void TKxPageControl::SelectNextPage(bool goForward) {
  const int n = PageCount();
  if (n == 0) return;
  const int start = activePage_ != nullptr ? IndexOfPage(activePage_) : (goForward ? -1 : n);
  for (int k = 1; k <= n; ++k) {
    const int i = (((start + (goForward ? k : -k)) % n) + n) % n;
    TKxTabSheet* page = PageAt(i);
    if (page == activePage_) return;
    if (page->TabVisible()) {
      ChangeActivePage(page);
      return;
    }
  }
}

TColor TKxPageControl::ActiveFillColor(int index) {
  TKxTabSheet* page = PageOfTab(index);
  return page != nullptr ? page->Color() : Color();
}

void TKxPageControl::SetUseColoredTabs(bool value) {
  TKxCustomTabControl::SetUseColoredTabs(value);
  if (value) return;
  recolouring_ = true;
  for (TKxTabSheet* page : pages_) page->SetColor(Color());
  recolouring_ = false;
  InvalidateLayout();
}

void TKxPageControl::CMColorChanged(TMessage& message) {
  TKxCustomTabControl::CMColorChanged(message);
  if (UseColoredTabs()) return;
  recolouring_ = true;
  for (TKxTabSheet* page : pages_) page->SetColor(Color());
  recolouring_ = false;
  InvalidateLayout();
}

void TKxPageControl::CMDialogKey(TMessage& message) {
  if (message.CharCode() == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HandleAllocated()) {
    HWND focus = GetFocus();
    if (focus == Handle() || IsChild(Handle(), focus)) {
      SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
      message.Result = 1;
      return;
    }
  }
  TKxCustomTabControl::CMDialogKey(message);
}

void TKxPageControl::ShowControl(TControl* control) {
  if (auto* sheet = dynamic_cast<TKxTabSheet*>(control); sheet != nullptr && sheet->PageControl() == this)
    ChangeActivePage(sheet);
  TKxCustomTabControl::ShowControl(this);
}

void TKxPageControl::HideAllTabs() {
  for (TKxTabSheet* page : pages_) page->SetTabVisible(false);
}

void TKxPageControl::ShowAllTabs() {
  for (TKxTabSheet* page : pages_) page->SetTabVisible(true);
}

void TKxPageControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TKxTabSheet* page : pages_)
    if (page->Owner() == root) proc(page);
}

void TKxPageControl::SetChildOrder(TComponent* child, int order) {
  auto* sheet = dynamic_cast<TKxTabSheet*>(child);
  if (sheet != nullptr && sheet->PageControl() == this && order >= 0 && order < PageCount()) sheet->SetPageIndex(order);
}

void TKxPageControl::WndProc(TMessage& message) {
  if (message.Msg == WM_SETFOCUS && activePage_ != nullptr && activePage_->GetTabIndex() < 0) {
    TKxCustomTabControl::WndProc(message);
    for (int i = 0; i < activePage_->ControlCount(); ++i) {
      auto* child = dynamic_cast<TWinControl*>(activePage_->Controls(i));
      if (child != nullptr && child->CanFocus()) {
        child->SetFocus();
        break;
      }
    }
    return;
  }
  TKxCustomTabControl::WndProc(message);
}

// ---- Docking --------------------------------------------------------------------------------

namespace {
// A caption up to its first control character.
std::string DockCaption(TControl* client) {
  if (dynamic_cast<TCustomForm*>(client) == nullptr) return {};
  std::string text = client->Caption();
  const auto cut = std::find_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
  return std::string(text.begin(), cut);
}
}  // namespace

TKxTabSheet* TKxPageControl::SheetOfDockClient(const TControl* client) const {
  for (const DockedWindow& d : docked_)
    if (d.Client == client) return d.Sheet;
  return nullptr;
}

void TKxPageControl::DockDrop(TControl* client, int x, int y) {
  auto* sheet = new TKxTabSheet(this);
  sheet->SetPageControl(this);
  sheet->SetCaption(DockCaption(client));
  docked_.push_back({client, sheet});
  client->SetParent(sheet);
  client->SetAlign(alClient);
  sheet->SetTabVisible(client->Visible());
  if (client->Visible()) ChangeActivePage(sheet);
  OnDockDrop(this, client, x, y);
}

void TKxPageControl::DockClientRemoved(TControl* client) {
  TKxTabSheet* sheet = SheetOfDockClient(client);
  if (sheet == nullptr) return;
  docked_.erase(std::remove_if(docked_.begin(), docked_.end(), [client](const DockedWindow& d) { return d.Client == client; }),
                docked_.end());
  if (sheet == activePage_) SelectNextPage(true);
  delete sheet;
}

void TKxPageControl::DockClientChanged(TControl* client, UINT what) {
  TKxTabSheet* sheet = SheetOfDockClient(client);
  if (sheet == nullptr) return;
  if (what == CM_TEXTCHANGED) {
    sheet->SetCaption(DockCaption(client));
  } else if (what == CM_VISIBLECHANGED) {
    sheet->SetTabVisible(client->Visible());
  }
}

void TKxPageControl::GetSiteInfo(TControl* client, TRect& influence, TPoint mousePos, bool& canDock) {
  // The whole control (nothing on screen without a window); a window docked here already
  // cannot dock again.
  influence = TRect();
  if (HandleAllocated()) {
    RECT r{};
    GetWindowRect(Handle(), &r);
    influence = TRect(r.left, r.top, r.right, r.bottom);
  }
  canDock = DockSite() && client != nullptr && client->HostDockSite() != this;
  OnGetSiteInfo(this, client, influence, mousePos, canDock);
}

void TKxPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TKxCustomTabControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || shift.Contains(ssDouble)) return;
  TKxTabSheet* page = PageOfTab(PressedTab());
  for (const DockedWindow& d : docked_) {
    if (d.Sheet == page) {
      d.Client->BeginDrag(false);
      return;
    }
  }
}

void TKxPageControl::DblClick() {
  TKxCustomTabControl::DblClick();
  if (!dblClickUndocks_) return;
  TKxTabSheet* page = PageOfTab(PressedTab());
  for (const DockedWindow& d : docked_) {
    if (d.Sheet == page) {
      TControl* client = d.Client;
      if (client->Dragging()) client->EndDrag(false);
      // It floats where it was shown, at its size.
      const TPoint origin = d.Sheet->ClientToScreen(TPoint{0, 0});
      client->ManualFloat(TRect(origin.X, origin.Y, origin.X + client->Width(), origin.Y + client->Height()));
      return;
    }
  }
}

void TKxPageControl::Loaded() {
  // Loading ends without OnChange and OnPageChange, whatever becomes active on the way.
  struct TQuiet {
    TKxPageControl* pages;
    TNotifyEvent change;
    TNotifyEvent pageChange;
    ~TQuiet() {
      pages->OnChange = change;
      pages->OnPageChange = pageChange;
    }
  } quiet{this, OnChange, OnPageChange};
  OnChange = TNotifyEvent();
  OnPageChange = TNotifyEvent();
  TKxTabSheet* stored = activePage_;
  activePage_ = nullptr;
  // The tab control's own end of loading: the font of vertical captions, the stored tab.
  TKxCustomTabControl::Loaded();
  recolouring_ = true;
  if (!UseColoredTabs())
    for (TKxTabSheet* page : pages_) page->SetColor(Color());
  recolouring_ = false;
  TKxTabSheet* show = stored;
  if (activePageDefault_ != nullptr && activePageDefault_ != stored) {
    if (stored != nullptr) stored->SetShown(false);
    show = activePageDefault_;
  }
  if (activePage_ != nullptr && activePage_ != show) activePage_->SetShown(false);
  activePage_ = nullptr;
  InvalidateLayout();
  suppressChecks_ = true;
  ChangeTabIndex(-1, TKxTabChangeSource::Layout);
  suppressChecks_ = false;
  if (show != nullptr && show->PageControl() == this) ChangeActivePage(show);
}
