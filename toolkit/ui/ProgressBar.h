// TProgressBar over the platform's msctls_progress32 (the progress window's gauge): range,
// position, step, bar and background colours, smooth or segmented, horizontal or vertical.
// The position is kept inside the range.
#pragma once

#include "toolkit/ui/WinControl.h"

class TEnumInfo;

enum TProgressBarOrientation { pbHorizontal, pbVertical };
const TEnumInfo& EnumTypeInfo(TProgressBarOrientation);

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position();
  void SetPosition(int value);
  int Step() const { return step_; }
  void SetStep(int value);
  void StepIt();
  void StepBy(int delta);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool value);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation value);
  TColor BarColor() const { return barColor_; }
  void SetBarColor(TColor value);
  TColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(TColor value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
  bool smooth_ = false;
  TProgressBarOrientation orientation_ = pbHorizontal;
  TColor barColor_ = clDefault;
  TColor backgroundColor_ = clDefault;
};
