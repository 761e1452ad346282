// TSplitter: finding the neighbour and resizing it by dragging.
#include "toolkit/ui/Splitter.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Panel.h"

const TClassInfo& TSplitter::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSplitter>("TSplitter", &TGraphicControl::StaticClass())
          .Property("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled)
          .Default(false)
          .Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize)
          .Default(30)
          .Property("OnMoved", [](TSplitter& s) { return s.OnMoved; },
                    [](TSplitter& s, TNotifyEvent e) { s.OnMoved = e; })
          .Build();
  return info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
  SetControlStyle({csCaptureMouse});
}

void TSplitter::SetBeveled(bool value) {
  if (value == beveled_) return;
  beveled_ = value;
  Invalidate();
}

TControl* TSplitter::FindControl() const {
  TWinControl* parent = Parent();
  if (parent == nullptr) return nullptr;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    const bool touches = (Align() == alLeft && c->Left() + c->Width() == Left()) ||
                         (Align() == alRight && c->Left() == Left() + Width()) ||
                         (Align() == alTop && c->Top() + c->Height() == Top()) ||
                         (Align() == alBottom && c->Top() == Top() + Height());
    if (touches) return c;
  }
  return nullptr;
}

void TSplitter::Paint() {
  TCanvas* canvas = Canvas();
  TRect rect = ClientRect();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(rect);
  if (beveled_) Frame3D(canvas, rect, clBtnHighlight, clBtnShadow, 1);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  control_ = FindControl();
  if (control_ == nullptr) return;
  downPos_ = ClientToScreen({x, y});
  startSize_ = Align() == alLeft || Align() == alRight ? control_->Width() : control_->Height();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (control_ == nullptr) return;
  const TPoint p = ClientToScreen({x, y});
  int delta = Align() == alLeft || Align() == alRight ? p.X - downPos_.X : p.Y - downPos_.Y;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  // Room: what the parent's client area leaves beside the other aligned controls.
  const TRect client = Parent()->ClientRect();
  const int limit = (Align() == alLeft || Align() == alRight ? client.Width() : client.Height()) -
                    (Align() == alLeft || Align() == alRight ? Width() : Height());
  const int size = std::clamp(startSize_ + delta, std::min(minSize_, startSize_), std::max(limit, minSize_));
  if (Align() == alLeft || Align() == alRight) control_->SetWidth(size); else control_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || control_ == nullptr) return;
  control_ = nullptr;
  OnMoved(this);
}
