// The two bases of self-drawn controls and the canvas they draw on:
// - TControlCanvas: a canvas on a control's window DC (for a non-windowed control, its
//   parent's DC with the origin moved and the output clipped to the control).
// - TCustomControl: a windowed control that paints itself in Paint on its Canvas.
// - TGraphicControl: a control without a window, painted by its parent in Paint.
// During a paint the canvas draws on the paint DC; outside it, on a DC taken on first use
// and released with FreeHandle.
#pragma once

#include "toolkit/graphics/Canvas.h"
#include "toolkit/ui/WinControl.h"

class TControlCanvas : public TCanvas {
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override { FreeHandle(); }
  TControl* Control() const { return control_; }
  void SetControl(TControl* control);
  // Gives a DC the canvas took itself back to the platform.
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_ = nullptr;
  HDC ownDC_ = nullptr;
  HWND ownWindow_ = nullptr;
  int savedState_ = 0;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TCanvas* Canvas() const { return canvas_; }

 protected:
  // Draws the control on Canvas (its client area). The base fills nothing.
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;
  void DestroyWnd() override;

 private:
  TControlCanvas* canvas_;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TCanvas* Canvas() const { return canvas_; }

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& message) override;
  virtual void WMPaint(TMessage& message);

 private:
  TControlCanvas* canvas_;
};
