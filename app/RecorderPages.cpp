// The main window's tabbed pages over the platform's tab control.
#include "app/RecorderPages.h"

#include <algorithm>

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Messages.h"

#include <commctrl.h>

// ---- TRecorderTabSheet ------------------------------------------------------------------------

TRecorderTabSheet::TRecorderTabSheet(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetAlign(alClient);
}

const TClassInfo& TRecorderTabSheet::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TRecorderTabSheet>("TRecorderTabSheet", &TWinControl::StaticClass())
          .Property("Caption", [](TRecorderTabSheet& s) { return s.Caption(); },
                    [](TRecorderTabSheet& s, const std::string& v) { s.SetCaption(v); })
          .Property("ImageIndex", &TRecorderTabSheet::ImageIndex, &TRecorderTabSheet::SetImageIndex)
          .Build();
  return info;
}

int TRecorderTabSheet::PageIndex() const {
  auto* pages = dynamic_cast<TRecorderPageControl*>(Parent());
  if (!pages) return -1;
  for (int i = 0; i < pages->PageCount(); ++i)
    if (pages->Pages(i) == this) return i;
  return -1;
}

void TRecorderTabSheet::CMTextChanged(TMessage& message) {
  TWinControl::CMTextChanged(message);
  if (auto* pages = dynamic_cast<TRecorderPageControl*>(Parent())) pages->UpdateTab(this);
}

// ---- TRecorderPageControl ---------------------------------------------------------------------

TRecorderPageControl::TRecorderPageControl(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetTabStop(true);
}

const TClassInfo& TRecorderPageControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TRecorderPageControl>("TRecorderPageControl", &TWinControl::StaticClass())
          .Property("ActivePage", &TRecorderPageControl::ActivePage, &TRecorderPageControl::SetActivePage)
          .Property("TabHeight", &TRecorderPageControl::TabHeight, &TRecorderPageControl::SetTabHeight)
          .Default(0)
          .Property("OnChange", [](TRecorderPageControl& p) { return p.OnChange; },
                    [](TRecorderPageControl& p, TNotifyEvent e) { p.OnChange = e; })
          .Build();
  return info;
}

std::vector<TRecorderTabSheet*> TRecorderPageControl::Sheets() const {
  std::vector<TRecorderTabSheet*> sheets;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* s = dynamic_cast<TRecorderTabSheet*>(Controls(i))) sheets.push_back(s);
  return sheets;
}

TRecorderTabSheet* TRecorderPageControl::Pages(int index) const {
  const std::vector<TRecorderTabSheet*> sheets = Sheets();
  return index >= 0 && index < static_cast<int>(sheets.size()) ? sheets[static_cast<size_t>(index)] : nullptr;
}

int TRecorderPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TRecorderPageControl::SetActivePageIndex(int index) { SetActivePage(Pages(index)); }

void TRecorderPageControl::SetActivePage(TRecorderTabSheet* page) {
  if (page && page->Parent() && page->Parent() != this) return;
  activePage_ = page;
  ShowActive();
}

void TRecorderPageControl::SetTabHeight(int value) {
  tabHeight_ = std::max(0, value);
  if (HandleAllocated()) RecreateWnd();
}

void TRecorderPageControl::ShowActive() {
  for (TRecorderTabSheet* s : Sheets()) s->SetVisible(s == activePage_);
  if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
}

void TRecorderPageControl::UpdateTab(TRecorderTabSheet* sheet) {
  if (!HandleAllocated()) return;
  const int index = sheet->PageIndex();
  if (index < 0) return;
  std::wstring text = Utf8ToWide(sheet->Caption());
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(Handle(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TRecorderPageControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, WC_TABCONTROLW);
  params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (tabHeight_ > 0) params.Style |= TCS_FIXEDWIDTH;
}

void TRecorderPageControl::FillTabs() {
  SendMessageW(Handle(), TCM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (TRecorderTabSheet* s : Sheets()) {
    std::wstring text = Utf8ToWide(s->Caption());
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(Handle(), TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
  }
  if (tabHeight_ > 0) SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(120, tabHeight_));
}

void TRecorderPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  FillTabs();
  if (!activePage_) activePage_ = Pages(0);
  ShowActive();
  Realign();
}

void TRecorderPageControl::Loaded() {
  TWinControl::Loaded();
  if (!activePage_) activePage_ = Pages(0);
  ShowActive();
}

void TRecorderPageControl::AdjustClientRect(TRect& rect) {
  TWinControl::AdjustClientRect(rect);
  if (!HandleAllocated()) return;
  RECT r = rect;
  SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  rect = TRect(r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom));
}

void TRecorderPageControl::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->code == TCN_SELCHANGE) {
      const int index = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
      activePage_ = Pages(index);
      ShowActive();
      OnChange(this);
    }
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}

void RegisterRecorderPages() {
  RegisterClasses({&TRecorderTabSheet::StaticClass(), &TRecorderPageControl::StaticClass()});
}
