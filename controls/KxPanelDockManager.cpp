// The control-set panel's dock manager: grabber size, caption-bar painting and the message
// hook of its panel.
#include "controls/KxPanelDockManager.h"

#include "controls/KxPanel.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"

TKxPanelDockManager::TKxPanelDockManager(TKxCustomPanel* panel)
    : TDockTree(panel), panel_(panel), captionFont_(new TFont()), closeFont_(new TFont()) {
  SetGrabberSize(kGrabberSize);
  captionFont_->SetName("Verdana");
  captionFont_->SetSize(8);
  closeFont_->SetName("Marlett");
  closeFont_->SetSize(8);
  if (!panel_->ComponentState().Contains(csDesigning)) {
    previousWndProc_ = panel_->WindowProc();
    panel_->SetWindowProc([this](TMessage& m) { HookedWndProc(m); });
    hooked_ = true;
  }
}

TKxPanelDockManager::~TKxPanelDockManager() {
  if (hooked_) panel_->SetWindowProc(previousWndProc_);
  delete captionFont_;
  delete closeFont_;
}

void TKxPanelDockManager::HookedWndProc(TMessage& message) {
  if (message.Msg == WM_COMMAND || message.Msg == WM_MOUSEACTIVATE) panel_->Invalidate();
  previousWndProc_(message);
}

TRect TKxPanelDockManager::CloseButtonRect(const TRect& zone) {
  if (GrabbersOnLeft()) return {zone.Left + 1, zone.Top + 1, zone.Left + 12, zone.Top + 12};
  return {zone.Right - 15, zone.Top + 1, zone.Right - 2, zone.Top + 12};
}

bool TKxPanelDockManager::ClientActive(TControl* control) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win == nullptr) return true;
  if (!win->HandleAllocated()) return false;
  const HWND focus = GetFocus();
  return focus != nullptr && (focus == win->Handle() || IsChild(win->Handle(), focus));
}

void TKxPanelDockManager::PaintDockFrame(TCanvas& canvas, TControl* control, const TRect& zone) {
  if (!panel_->ShowDockClientCaptions()) {
    TDockTree::PaintDockFrame(canvas, control, zone);
    return;
  }
  const bool active = ClientActive(control);
  const std::string caption = control->GetText();
  const TRect glyph = CloseButtonRect(zone);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(active ? clActiveCaption : clInactiveCaption);
  canvas.SetFont(captionFont_);
  const TColor textColor = active ? clCaptionText : clInactiveCaptionText;
  const HDC dc = canvas.Handle();
  if (!GrabbersOnLeft()) {
    // A caption bar across the top of the zone.
    canvas.Font()->SetColor(textColor);
    canvas.TextRect(TRect(zone.Left, zone.Top, zone.Right, zone.Top + kGrabberSize), zone.Left + 2, zone.Top, caption);
  } else {
    // A caption bar down the left, the text reading upwards from the bottom.
    const TRect strip(zone.Left, zone.Top, zone.Left + kGrabberSize, zone.Bottom);
    canvas.Font()->SetColor(clCaptionText);
    canvas.Font()->SetOrientation(900);
    const UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    canvas.TextRect(strip, strip.Right - 2, strip.Bottom - 3, caption);
    SetTextAlign(dc, oldAlign);
  }
  canvas.SetFont(closeFont_);
  canvas.Font()->SetColor(textColor);
  canvas.Brush()->SetStyle(bsClear);
  canvas.TextRect(glyph, glyph.Left, glyph.Top, "r");
  canvas.Brush()->SetStyle(bsSolid);
}
