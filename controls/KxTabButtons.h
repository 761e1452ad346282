// The four small window controls of the tab strip: the scroll arrows, the close button at the
// strip's end, the close button on the active tab and the button that pops up a menu of all
// tabs. The tab control creates them on first need, places them (KxTabs) and keeps their
// frame colour; they paint a flat or gradient face and ask the tab control to act.
//
// Press-and-release (close buttons and scroller halves):
//   idle --down--> pressed, inside, captured (scroller: timer 400 ms)
//   pressed --move--> inside follows the pointer
//   pressed --timer (scroller)--> interval 100 ms; one step while inside and captured
//   pressed --up--> released; inside: one click (close) or one more step (scroller)
//   pressed --capture lost--> idle without action
#pragma once

#include <functional>

#include "toolkit/ui/CustomControl.h"

class TKxCustomTabControl;
class TPopupMenu;

class TKxTabStripButton : public TCustomControl {
 public:
  explicit TKxTabStripButton(TComponent* owner);
  TKxCustomTabControl* TabControl() const { return tabControl_; }
  void SetTabControl(TKxCustomTabControl* value) { tabControl_ = value; }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value);
  bool Pressed() const { return pressed_; }
  bool Hot() const { return hot_; }

 protected:
  // The face in `rect`, with the owning control's ButtonColor and gradient choice.
  void PaintFace(TCanvas& canvas, const TRect& rect, bool pressed, bool hot, bool enabled);
  void WndProc(TMessage& message) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // Capture lost: the press ends without action.
  virtual void CancelPress();

  bool pressed_ = false;
  bool hot_ = false;
  bool inside_ = false;

 private:
  TKxCustomTabControl* tabControl_ = nullptr;
  TColor frameColor_ = clBtnShadow;
};

class TKxTabScroller : public TKxTabStripButton {
 public:
  explicit TKxTabScroller(TComponent* owner);
  // 0: halves side by side (top and bottom tabs), 1: one above the other (side tabs).
  int Orientation() const { return orientation_; }
  void SetOrientation(int value);
  // Half 0 is the left (lower) one, half 1 the right (upper) one.
  int PressedHalf() const { return pressedHalf_; }
  // The scroll step of each half (set by the tab control).
  std::function<void()> HalfAction[2];
  // Whether half `half` scrolls forwards (showing later tabs).
  bool HalfScrollsForward(int half) const;
  bool HalfEnabled(int half) const;
  static constexpr UINT_PTR kRepeatTimer = 1;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void WndProc(TMessage& message) override;
  void CancelPress() override;

 private:
  int HalfAt(int x, int y);
  TRect HalfRect(int half);
  void Step();
  void StopTimer();

  int orientation_ = 0;
  int pressedHalf_ = -1;
  int hotHalf_ = -1;
  bool timerRunning_ = false;
};

class TKxTabCloseButtonBase : public TKxTabStripButton {
 public:
  explicit TKxTabCloseButtonBase(TComponent* owner);
  // The close request (set by the tab control: OnClose, then CloseCurrentTab).
  std::function<void()> OnCloseClick;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
};

class TKxTabControlCloseButton : public TKxTabCloseButtonBase {
 public:
  using TKxTabCloseButtonBase::TKxTabCloseButtonBase;
};

class TKxActiveTabCloseButton : public TKxTabCloseButtonBase {
 public:
  using TKxTabCloseButtonBase::TKxTabCloseButtonBase;
};

class TKxTabMenuButton : public TKxTabStripButton {
 public:
  explicit TKxTabMenuButton(TComponent* owner);
  TPopupMenu* Menu() const { return menu_; }
  // Fills the menu with one item per visible tab (sorted by caption with SortTabMenu, repeated
  // captions kept), the active tab checked, each item's tag its tab index.
  void RebuildMenu();
  // The screen point and alignment the menu opens at.
  TPoint MenuPoint(bool& rightAligned);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void ItemClick(TObject* sender);
  TPopupMenu* menu_;
};
