// TCustomPanel: bevels, client area and caption.
#include "toolkit/ui/Panel.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/graphics/GraphicsUtils.h"
#include "toolkit/rtl/TextConv.h"

const TEnumInfo& EnumTypeInfo(TBevelCut) {
  static const TEnumInfo info("TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
  return info;
}

const TClassInfo& TCustomPanel::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClass())
          .Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
          .Default(taCenter)
          .Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
          .Default(bvNone)
          .Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
          .Default(bvRaised)
          .Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
          .Default(1)
          .Property("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth)
          .Default(0)
          .Property("Caption", [](TCustomPanel& p) { return p.Caption(); },
                    [](TCustomPanel& p, const std::string& v) { p.SetCaption(v); })
          .Property("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint)
          .Default(true)
          .Property("Locked", &TCustomPanel::Locked, &TCustomPanel::SetLocked)
          .Default(false)
          .Abstract()
          .Build();
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                   csReplicatable});
  SetBounds(0, 0, 185, 41);
  SetParentColor(false);
  SetColor(clBtnFace);
}

int TCustomPanel::FrameWidth() const {
  int width = borderWidth_;
  if (bevelOuter_ != bvNone) width += bevelWidth_;
  if (bevelInner_ != bvNone) width += bevelWidth_;
  return width;
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
  TCustomControl::AdjustClientRect(rect);
  const int w = FrameWidth();
  rect = Rect(rect.Left + w, rect.Top + w, std::max(rect.Left + w, rect.Right - w), std::max(rect.Top + w, rect.Bottom - w));
}

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect rect = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    TColor top = clBtnHighlight, bottom = clBtnShadow;
    if (cut == bvLowered) std::swap(top, bottom);
    if (cut == bvSpace) top = bottom = Color();
    Frame3D(canvas, rect, top, bottom, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(canvas, rect, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(rect);
  const std::wstring caption = Utf8ToWide(Caption());
  if (caption.empty()) return;
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(Font());
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  flags |= alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  HDC dc = canvas->Handle();
  // The handle alone carries the DC's default system font: select the panel's own.
  const TSelectGuard fontGuard(dc, canvas->Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  RECT r = rect;
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, flags);
}

void TCustomPanel::WndProc(TMessage& message) {
  TCustomControl::WndProc(message);
  if (message.Msg == CM_TEXTCHANGED) Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(TBevelWidth value) {
  value = std::max(value, 1);
  if (value == bevelWidth_) return;
  bevelWidth_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
  value = std::max(value, 0);
  if (value == borderWidth_) return;
  borderWidth_ = value;
  Realign();
  Invalidate();
}

const TClassInfo& TPanel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPanel>("TPanel", &TCustomPanel::StaticClass()).Build();
  return info;
}
