// TStatusBar and its panels over msctls_statusbar32.
#include "toolkit/ui/StatusBar.h"

#include "toolkit/system/WinApi.h"

#include <commctrl.h>

#include <vector>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/rtl/TextConv.h"

const TEnumInfo& EnumTypeInfo(TStatusPanelBevel) {
  static const TEnumInfo info("TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TStatusPanelStyle) {
  static const TEnumInfo info("TStatusPanelStyle", {"psText", "psOwnerDraw"});
  return info;
}

// ---- TStatusPanel ------------------------------------------------------------------------------

const TClassInfo& TStatusPanel::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TStatusPanel>("TStatusPanel", &TCollectionItem::StaticClass())
          .Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
          .Default(taLeftJustify)
          .Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel)
          .Default(pbLowered)
          .Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle)
          .Default(psText)
          .Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
          .Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
          .Build();
  return info;
}

TStatusPanel::TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

void TStatusPanel::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  Changed(false);
}

void TStatusPanel::SetWidth(int value) {
  if (value == width_) return;
  width_ = value;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  if (value == bevel_) return;
  bevel_ = value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed(false);
}

void TStatusPanel::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TStatusPanel*>(source)) {
    text_ = other->text_;
    width_ = other->width_;
    alignment_ = other->alignment_;
    bevel_ = other->bevel_;
    style_ = other->style_;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(source);
}

// ---- TStatusPanels -----------------------------------------------------------------------------

const TClassInfo& TStatusPanels::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStatusPanels>("TStatusPanels", &TCollection::StaticClass()).Build();
  return info;
}

TStatusPanels::TStatusPanels(TStatusBar* bar) : TCollection(TStatusPanel::StaticClass()), bar_(bar) {
  SetPropName("Panels");
}

TPersistent* TStatusPanels::GetOwner() const { return bar_; }

TStatusPanel* TStatusPanels::Add() {
  auto* panel = static_cast<TStatusPanel*>(TCollection::Add());
  adding_ = false;
  bar_->UpdatePanels();
  return panel;
}

void TStatusPanels::Notify(TCollectionItem* item, TCollectionNotification action) {
  TCollection::Notify(item, action);
  if (action == cnAdded) adding_ = true;
}

void TStatusPanels::Update(TCollectionItem* item) {
  if (adding_) {
    bar_->DeferUpdatePanels();
    return;
  }
  if (item != nullptr) bar_->UpdatePanel(item->Index()); else bar_->UpdatePanels();
}

// ---- TStatusBar --------------------------------------------------------------------------------

const TClassInfo& TStatusBar::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TStatusBar>("TStatusBar", &TWinControl::StaticClass())
          .Property("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels)
          .Property("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
          .Default(false)
          .Property("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
          .Property("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip)
          .Default(true)
          .Property("OnDrawPanel", [](TStatusBar& s) { return s.OnDrawPanel; },
                    [](TStatusBar& s, TDrawPanelEvent e) { s.OnDrawPanel = e; })
          .Build();
  return info;
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(new TStatusPanels(this)), canvas_(new TCanvas()) {
  SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 0, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
  if (HandleAllocated()) DestroyHandle();
  delete panels_;
  delete canvas_;
}

void TStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, STATUSCLASSNAMEW);
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (sizeGrip_) params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  panels_->adding_ = false;
  UpdatePanels();
}

namespace {
// Posted to the bar itself: bring the panels up to date.
constexpr UINT kUpdatePanels = WM_USER + 0x300;
}  // namespace

void TStatusBar::DeferUpdatePanels() {
  if (!HandleAllocated() || updatePending_) return;
  updatePending_ = true;
  PostMessageW(Handle(), kUpdatePanels, 0, 0);
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  if (panels_->adding_) {
    DeferUpdatePanels();
    return;
  }
  SendMessageW(Handle(), SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
  if (simplePanel_) {
    const std::wstring text = Utf8ToWide(simpleText_);
    SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    return;
  }
  const int count = panels_->Count();
  if (count == 0) {
    int edge = -1;
    SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&edge));
    SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    return;
  }
  // Right edges; the last panel takes the rest of the bar.
  std::vector<int> edges(static_cast<size_t>(count));
  int x = 0;
  for (int i = 0; i < count; ++i) {
    x += panels_->Items(i)->Width();
    edges[static_cast<size_t>(i)] = i == count - 1 ? -1 : x;
  }
  SendMessageW(Handle(), SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < count; ++i) UpdatePanel(i);
}

void TStatusBar::UpdatePanel(int index) {
  if (!HandleAllocated() || simplePanel_ || index < 0 || index >= panels_->Count()) return;
  const TStatusPanel* panel = panels_->Items(index);
  WPARAM flags = static_cast<WPARAM>(index);
  if (panel->Bevel() == pbNone) flags |= SBT_NOBORDERS;
  if (panel->Bevel() == pbRaised) flags |= SBT_POPOUT;
  if (panel->Style() == psOwnerDraw) flags |= SBT_OWNERDRAW;
  // Tabs centre (one) or right-align (two) the text.
  std::wstring text = Utf8ToWide(panel->Text());
  if (panel->Alignment() == taCenter) text = L"\t" + text;
  if (panel->Alignment() == taRightJustify) text = L"\t\t" + text;
  SendMessageW(Handle(), SB_SETTEXTW, flags,
               panel->Style() == psOwnerDraw ? reinterpret_cast<LPARAM>(panel) : reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TStatusBar::WindowPanelText(int index) {
  auto read = [this](int part) {
    const LRESULT info = SendMessageW(Handle(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
    std::wstring text(LOWORD(info) + 1, L'\0');
    SendMessageW(Handle(), SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return WideToUtf8(text);
  };
  // The simple text reads as part 0.
  return read(simplePanel_ ? 0 : index);
}

void TStatusBar::SetSimplePanel(bool value) {
  if (value == simplePanel_) return;
  simplePanel_ = value;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::string& value) {
  if (value == simpleText_) return;
  simpleText_ = value;
  if (simplePanel_) UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool value) {
  if (value == sizeGrip_) return;
  sizeGrip_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TStatusBar::WndProc(TMessage& message) {
  if (message.Msg == kUpdatePanels) {
    updatePending_ = false;
    panels_->adding_ = false;
    UpdatePanels();
    return;
  }
  if (message.Msg == CN_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    const int index = static_cast<int>(item->itemID);
    if (index >= 0 && index < panels_->Count()) {
      canvas_->SetHandle(item->hDC);
      canvas_->SetFont(Font());
      try {
        OnDrawPanel(this, panels_->Items(index), item->rcItem);
      } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
      }
      canvas_->SetHandle(nullptr);
    }
    message.Result = TRUE;
    return;
  }
  TWinControl::WndProc(message);
}
