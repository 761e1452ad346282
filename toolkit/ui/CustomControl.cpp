// TControlCanvas, TCustomControl and TGraphicControl: painting of self-drawn controls.
#include "toolkit/ui/CustomControl.h"

#include "toolkit/classes/TypInfo.h"

// ---- TControlCanvas ------------------------------------------------------------------------

void TControlCanvas::SetControl(TControl* control) {
  if (control == control_) return;
  FreeHandle();
  control_ = control;
}

void TControlCanvas::FreeHandle() {
  if (ownDC_ == nullptr) return;
  SetHandle(nullptr);
  // A class DC (CS_OWNDC) keeps its state: put back what was there before.
  if (savedState_ != 0) RestoreDC(ownDC_, savedState_);
  savedState_ = 0;
  ReleaseDC(ownWindow_, ownDC_);
  ownDC_ = nullptr;
  ownWindow_ = nullptr;
}

void TControlCanvas::CreateHandle() {
  if (control_ == nullptr) return;
  if (auto* win = dynamic_cast<TWinControl*>(control_)) {
    ownDC_ = win->GetDeviceContext(ownWindow_);  // the window's own DC when its class has one
    if (ownDC_ != nullptr) savedState_ = SaveDC(ownDC_);
  } else {
    TWinControl* parent = control_->Parent();
    if (parent == nullptr) return;
    ownWindow_ = parent->Handle();
    ownDC_ = GetDC(ownWindow_);
    if (ownDC_ != nullptr) {
      savedState_ = SaveDC(ownDC_);
      SetViewportOrgEx(ownDC_, control_->Left(), control_->Top(), nullptr);
      IntersectClipRect(ownDC_, 0, 0, control_->Width(), control_->Height());
    }
  }
  if (ownDC_ != nullptr) SetHandle(ownDC_);
}

// ---- TCustomControl --------------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomControl>("TCustomControl", &TWinControl::StaticClass()).Abstract().Build();
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(new TControlCanvas()) {
  canvas_->SetControl(this);
  // Painting always goes through Paint, even without non-windowed children.
  SetControlState(ControlState() + TControlState{csCustomPaint});
}

TCustomControl::~TCustomControl() {
  if (HandleAllocated()) DestroyHandle();
  delete canvas_;
}

void TCustomControl::PaintWindow(HDC dc) {
  canvas_->Lock();
  try {
    canvas_->FreeHandle();
    canvas_->SetHandle(dc);
    Paint();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
}

void TCustomControl::DestroyWnd() {
  canvas_->FreeHandle();
  TWinControl::DestroyWnd();
}

// ---- TGraphicControl -------------------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TGraphicControl>("TGraphicControl", &TControl::StaticClass()).Abstract().Build();
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(new TControlCanvas()) {
  canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() { delete canvas_; }

void TGraphicControl::Dispatch(TMessage& message) {
  if (message.Msg == WM_PAINT) {
    WMPaint(message);
    return;
  }
  TControl::Dispatch(message);
}

void TGraphicControl::WMPaint(TMessage& message) {
  if (message.WParam == 0) return;
  canvas_->Lock();
  try {
    canvas_->FreeHandle();
    canvas_->SetHandle(reinterpret_cast<HDC>(message.WParam));
    Paint();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
}
