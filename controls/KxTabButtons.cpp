// The tab strip's scroller, close and menu buttons.
#include "controls/KxTabButtons.h"

#include <algorithm>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxGraphics.h"
#include "controls/KxTabs.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/ui/Menus.h"

namespace {
TColor Rgb(TColor color) { return static_cast<TColor>(KxColorToRGB(color)); }
}  // namespace

// ---- Common face ----------------------------------------------------------------------------

TKxTabStripButton::TKxTabStripButton(TComponent* owner) : TCustomControl(owner) {
  // The buttons hold the mouse themselves: losing the capture ends a press without action.
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csNoDesignVisible} -
                  TControlStyle{csDoubleClicks, csCaptureMouse});
  SetBounds(0, 0, 16, 16);
}

void TKxTabStripButton::SetFrameColor(TColor value) {
  if (value == frameColor_) return;
  frameColor_ = value;
  Invalidate();
}

void TKxTabStripButton::PaintFace(TCanvas& canvas, const TRect& rect, bool pressed, bool hot, bool enabled) {
  const TColor button = tabControl_ != nullptr ? tabControl_->ButtonColor() : clBtnFace;
  const bool gradients = tabControl_ != nullptr && tabControl_->UseGradients();
  if (!enabled) pressed = hot = false;
  auto shade = [&](TColor c) { return pressed ? DarkenColor(c, 30) : hot ? LightenColor(c, 30) : c; };
  if (gradients) {
    TRect inner(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    canvas.Refresh();
    DrawGradientArea(canvas, inner, KxCommon::gdHorizontalEnd, Rgb(shade(LightenColor(button, 20))),
                     Rgb(shade(DarkenColor(button, 20))), 1);
    canvas.Refresh();
  } else {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Rgb(shade(button)));
    canvas.FillRect(rect);
  }
  canvas.Brush()->SetStyle(bsClear);
  canvas.Pen()->SetColor(Rgb(LightenColor(frameColor_, 30)));
  canvas.Rectangle(rect);
  canvas.Brush()->SetStyle(bsSolid);
}

void TKxTabStripButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; return;
    case WM_CAPTURECHANGED:
      TCustomControl::WndProc(message);
      if (pressed_ && reinterpret_cast<HWND>(message.LParam) != (HandleAllocated() ? Handle() : nullptr)) CancelPress();
      return;
    case WM_CANCELMODE:
      TCustomControl::WndProc(message);
      if (pressed_) CancelPress();
      return;
    default: break;
  }
  TCustomControl::WndProc(message);
}

void TKxTabStripButton::CancelPress() {
  pressed_ = false;
  inside_ = false;
  Invalidate();
}

void TKxTabStripButton::MouseEnter() {
  TCustomControl::MouseEnter();
  hot_ = true;
  Invalidate();
}

void TKxTabStripButton::MouseLeave() {
  TCustomControl::MouseLeave();
  hot_ = false;
  Invalidate();
}

// ---- Scroller -------------------------------------------------------------------------------

TKxTabScroller::TKxTabScroller(TComponent* owner) : TKxTabStripButton(owner) {}

void TKxTabScroller::SetOrientation(int value) {
  if (value == orientation_) return;
  orientation_ = value;
  Invalidate();
}

bool TKxTabScroller::HalfScrollsForward(int half) const {
  TKxCustomTabControl* tc = TabControl();
  const bool exchanged = tc != nullptr && ((tc->TabOrientation() == toRight) != (tc->TabSequence() == tsReverse));
  return (half == 1) != exchanged;
}

bool TKxTabScroller::HalfEnabled(int half) const {
  TKxCustomTabControl* tc = TabControl();
  if (tc == nullptr) return false;
  return HalfScrollsForward(half) ? tc->CanScrollForward() : tc->CanScrollBack();
}

TRect TKxTabScroller::HalfRect(int half) {
  const int w = Width();
  const int h = Height();
  if (orientation_ == 0) return half == 0 ? TRect(0, 0, w / 2 + 1, h) : TRect(w / 2, 0, w, h);
  return half == 1 ? TRect(0, 0, w, h / 2 + 1) : TRect(0, h / 2, w, h);
}

int TKxTabScroller::HalfAt(int x, int y) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return -1;
  if (orientation_ == 0) return x >= Width() / 2 ? 1 : 0;
  return y <= Height() / 2 ? 1 : 0;
}

void TKxTabScroller::Paint() {
  TCanvas& c = *Canvas();
  for (int half = 0; half < 2; ++half) {
    const bool enabled = HalfEnabled(half);
    const bool pressed = pressed_ && pressedHalf_ == half && inside_;
    const bool hot = !pressed_ && hot_ && hotHalf_ == half;
    const TRect r = HalfRect(half);
    PaintFace(c, r, pressed, hot, enabled);
    TKxArrowDirection direction = orientation_ == 0 ? (half == 0 ? adLeft : adRight) : (half == 0 ? adDown : adUp);
    c.Refresh();
    PaintDirectionArrow(c, r, 0, enabled, direction);
    c.Refresh();
  }
}

void TKxTabScroller::Step() {
  if (pressedHalf_ < 0 || !HalfEnabled(pressedHalf_)) return;
  if (HalfAction[pressedHalf_]) HalfAction[pressedHalf_]();
  Invalidate();
}

void TKxTabScroller::StopTimer() {
  if (timerRunning_ && HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
  timerRunning_ = false;
}

void TKxTabScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TKxTabStripButton::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  pressedHalf_ = HalfAt(x, y);
  if (pressedHalf_ < 0) return;
  pressed_ = true;
  inside_ = true;
  SetMouseCapture(true);
  if (HandleAllocated()) {
    SetTimer(Handle(), kRepeatTimer, 400, nullptr);
    timerRunning_ = true;
  }
  Invalidate();
}

void TKxTabScroller::MouseMove(TShiftState shift, int x, int y) {
  TKxTabStripButton::MouseMove(shift, x, y);
  if (pressed_) {
    const bool inside = HalfAt(x, y) == pressedHalf_;
    if (inside != inside_) {
      inside_ = inside;
      Invalidate();
    }
  } else {
    const int half = HalfAt(x, y);
    if (half != hotHalf_) {
      hotHalf_ = half;
      Invalidate();
    }
  }
}

void TKxTabScroller::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TKxTabStripButton::MouseUp(button, shift, x, y);
  if (!pressed_) return;
  StopTimer();
  pressed_ = false;
  SetMouseCapture(false);
  if (HalfAt(x, y) == pressedHalf_) Step();
  inside_ = false;
  pressedHalf_ = -1;
  Invalidate();
}

void TKxTabScroller::CancelPress() {
  StopTimer();
  pressedHalf_ = -1;
  TKxTabStripButton::CancelPress();
}

void TKxTabScroller::WndProc(TMessage& message) {
  if (message.Msg == WM_TIMER && message.WParam == kRepeatTimer) {
    if (HandleAllocated()) SetTimer(Handle(), kRepeatTimer, 100, nullptr);
    if (pressed_ && inside_) Step();
    message.Result = 0;
    return;
  }
  TKxTabStripButton::WndProc(message);
}

// ---- Close buttons --------------------------------------------------------------------------

TKxTabCloseButtonBase::TKxTabCloseButtonBase(TComponent* owner) : TKxTabStripButton(owner) {}

void TKxTabCloseButtonBase::Paint() {
  TCanvas& c = *Canvas();
  const TRect r(0, 0, Width(), Height());
  PaintFace(c, r, pressed_ && inside_, hot_, Enabled());
  c.Refresh();
  TRect glyph = r;
  if (pressed_ && inside_) {
    ++glyph.Left;
    ++glyph.Top;
    ++glyph.Right;
    ++glyph.Bottom;
  }
  PaintCloseGlyph(c, glyph, 0, Enabled());
  c.Refresh();
}

void TKxTabCloseButtonBase::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TKxTabStripButton::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  pressed_ = true;
  inside_ = true;
  SetMouseCapture(true);
  Invalidate();
}

void TKxTabCloseButtonBase::MouseMove(TShiftState shift, int x, int y) {
  TKxTabStripButton::MouseMove(shift, x, y);
  if (!pressed_) return;
  const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  if (inside != inside_) {
    inside_ = inside;
    Invalidate();
  }
}

void TKxTabCloseButtonBase::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TKxTabStripButton::MouseUp(button, shift, x, y);
  if (!pressed_) return;
  pressed_ = false;
  SetMouseCapture(false);
  const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  inside_ = false;
  Invalidate();
  if (inside && OnCloseClick) OnCloseClick();
}

// ---- Menu button ----------------------------------------------------------------------------

TKxTabMenuButton::TKxTabMenuButton(TComponent* owner) : TKxTabStripButton(owner), menu_(new TPopupMenu(this)) {}

void TKxTabMenuButton::Paint() {
  TCanvas& c = *Canvas();
  const TRect r(0, 0, Width(), Height());
  PaintFace(c, r, pressed_, hot_, Enabled());
  TKxArrowDirection direction = adDown;
  if (TabControl() != nullptr) {
    switch (TabControl()->TabOrientation()) {
      case toTop: direction = adDown; break;
      case toLeft: direction = adRight; break;
      case toBottom: direction = adUp; break;
      case toRight: direction = adLeft; break;
    }
  }
  c.Refresh();
  PaintDirectionArrow(c, r, 0, Enabled(), direction);
  c.Refresh();
}

void TKxTabMenuButton::RebuildMenu() {
  TMenuItem* root = menu_->Items();
  while (root->Count() > 0) delete root->Items(root->Count() - 1);
  TKxCustomTabControl* tc = TabControl();
  if (tc == nullptr) return;
  menu_->SetImages(tc->Images());
  std::vector<int> order;
  for (int i = 0; i < tc->Tabs().Count(); ++i)
    if (tc->Tabs().Items(i)->Visible) order.push_back(i);
  if (tc->SortTabMenu()) {
    std::stable_sort(order.begin(), order.end(), [tc](int a, int b) {
      return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, tc->Tabs().Items(a)->Caption.c_str(), -1,
                            tc->Tabs().Items(b)->Caption.c_str(), -1) == CSTR_LESS_THAN;
    });
  }
  for (int i : order) {
    const TKxTabData& tab = *tc->Tabs().Items(i);
    auto* item = new TMenuItem(root);
    item->SetCaption(tab.Caption);
    item->SetEnabled(tab.Enabled);
    item->SetImageIndex((!tab.Enabled && tab.DisabledIndex != -1) ? tab.DisabledIndex : tab.ImageIndex);
    item->SetChecked(i == tc->TabIndex());
    item->SetTag(i);
    item->OnClick = TNotifyEvent(this, &TKxTabMenuButton::ItemClick);
    root->Add(item);
  }
}

void TKxTabMenuButton::ItemClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (item != nullptr && TabControl() != nullptr) TabControl()->SetTabIndex(static_cast<int>(item->Tag()));
}

TPoint TKxTabMenuButton::MenuPoint(bool& rightAligned) {
  TKxCustomTabControl* tc = TabControl();
  const bool standard = tc == nullptr || tc->TabSequence() == tsStandard;
  TPoint p{0, Height()};
  rightAligned = false;
  switch (tc != nullptr ? tc->TabOrientation() : toTop) {
    case toTop:
      p = standard ? TPoint{Width(), Height()} : TPoint{0, Height()};
      rightAligned = standard;
      break;
    case toBottom:
      p = standard ? TPoint{Width(), 0} : TPoint{0, 0};
      rightAligned = standard;
      break;
    case toLeft: p = TPoint{Width(), 0}; break;
    case toRight:
      p = TPoint{0, 0};
      rightAligned = true;
      break;
  }
  return ClientToScreen(p);
}

void TKxTabMenuButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TKxTabStripButton::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  RebuildMenu();
  bool right = false;
  const TPoint p = MenuPoint(right);
  menu_->SetAlignment(right ? paRight : paLeft);
  menu_->SetPopupComponent(this);
  pressed_ = true;
  Invalidate();
  menu_->Popup(p.X, p.Y);
  pressed_ = false;
  Invalidate();
}
