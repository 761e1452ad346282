// TProgressBar over msctls_progress32.
#include "toolkit/ui/ProgressBar.h"

#include "toolkit/system/WinApi.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"

const TEnumInfo& EnumTypeInfo(TProgressBarOrientation) {
  static const TEnumInfo info("TProgressBarOrientation", {"pbHorizontal", "pbVertical"});
  return info;
}

const TClassInfo& TProgressBar::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TProgressBar>("TProgressBar", &TWinControl::StaticClass())
          .Property("Min", &TProgressBar::Min, &TProgressBar::SetMin)
          .Default(0)
          .Property("Max", &TProgressBar::Max, &TProgressBar::SetMax)
          .Default(100)
          .Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation)
          .Default(pbHorizontal)
          .Property("Position", [](TProgressBar& p) { return p.Position(); },
                    [](TProgressBar& p, int v) { p.SetPosition(v); })
          .Default(0)
          .Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
          .Default(false)
          .Property("Step", &TProgressBar::Step, &TProgressBar::SetStep)
          .Default(10)
          .Property("BarColor", &TProgressBar::BarColor, &TProgressBar::SetBarColor)
          .Default(clDefault)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("BackgroundColor", &TProgressBar::BackgroundColor, &TProgressBar::SetBackgroundColor)
          .Default(clDefault)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Build();
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, PROGRESS_CLASSW);
  if (smooth_) params.Style |= PBS_SMOOTH;
  if (orientation_ == pbVertical) params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
  SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
  if (barColor_ != clDefault) SendMessageW(Handle(), PBM_SETBARCOLOR, 0, static_cast<LPARAM>(ColorToRGB(barColor_)));
  if (backgroundColor_ != clDefault)
    SendMessageW(Handle(), PBM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(backgroundColor_)));
}

void TProgressBar::DestroyWnd() {
  position_ = Position();
  TWinControl::DestroyWnd();
}

int TProgressBar::Position() {
  if (HandleAllocated()) position_ = static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
  return position_;
}

void TProgressBar::SetPosition(int value) {
  position_ = std::clamp(value, min_, std::max(min_, max_));
  if (HandleAllocated()) SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int value) {
  if (value == min_) return;
  min_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SetPosition(Position());
}

void TProgressBar::SetMax(int value) {
  if (value == max_) return;
  max_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SetPosition(Position());
}

void TProgressBar::SetStep(int value) {
  step_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
}

void TProgressBar::StepIt() { StepBy(step_); }

void TProgressBar::StepBy(int delta) { SetPosition(Position() + delta); }

void TProgressBar::SetSmooth(bool value) {
  if (value == smooth_) return;
  smooth_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TProgressBar::SetBarColor(TColor value) {
  barColor_ = value;
  if (HandleAllocated())
    SendMessageW(Handle(), PBM_SETBARCOLOR, 0, value == clDefault ? CLR_DEFAULT : static_cast<LPARAM>(ColorToRGB(value)));
}

void TProgressBar::SetBackgroundColor(TColor value) {
  backgroundColor_ = value;
  if (HandleAllocated())
    SendMessageW(Handle(), PBM_SETBKCOLOR, 0, value == clDefault ? CLR_DEFAULT : static_cast<LPARAM>(ColorToRGB(value)));
}
