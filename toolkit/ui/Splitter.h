// TSplitter: a bar without a window, aligned beside another aligned control (the one whose
// edge it touches, same alignment); dragging it with the left button resizes that control
// live, not below MinSize, and OnMoved follows the release.
//
// Drag states: idle --left press (a control found)--> dragging --move--> resize the control
//              dragging --release--> idle, OnMoved
#pragma once

#include "toolkit/ui/CustomControl.h"

class TSplitter : public TGraphicControl {
 public:
  explicit TSplitter(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int MinSize() const { return minSize_; }
  void SetMinSize(int value) { minSize_ = value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool value);
  // The control the splitter resizes now (null when none touches it).
  TControl* FindControl() const;

  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  int minSize_ = 30;
  bool beveled_ = false;
  TControl* control_ = nullptr;  // while dragging
  TPoint downPos_;               // screen point of the press
  int startSize_ = 0;
};
