// TCustomLabel: caption painting, automatic size and accelerators.
#include "toolkit/ui/Label.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Form.h"

const TEnumInfo& EnumTypeInfo(TTextLayout) {
  static const TEnumInfo info("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
  return info;
}

const TClassInfo& TCustomLabel::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomLabel>("TCustomLabel", &TGraphicControl::StaticClass())
          .Property("Alignment", &TCustomLabel::Alignment, [](TCustomLabel& l, TAlignment v) { l.SetAlignment(v); })
          .Default(taLeftJustify)
          .Property("AutoSize", &TCustomLabel::AutoSize, [](TCustomLabel& l, bool v) { l.SetAutoSize(v); })
          .Default(true)
          .Property("Caption", [](TCustomLabel& l) { return l.Caption(); },
                    [](TCustomLabel& l, const std::string& v) { l.SetCaption(v); })
          .Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
          .Property("Layout", &TCustomLabel::Layout, [](TCustomLabel& l, TTextLayout v) { l.SetLayout(v); })
          .Default(tlTop)
          .Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
          .Default(true)
          .Property("Transparent", &TCustomLabel::Transparent, [](TCustomLabel& l, bool v) { l.SetTransparent(v); })
          .Default(false)
          .Property("WordWrap", &TCustomLabel::WordWrap, [](TCustomLabel& l, bool v) { l.SetWordWrap(v); })
          .Default(false)
          .Abstract()
          .Build();
  return info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle({csReplicatable, csSetCaption, csClickEvents, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
  if (value == focusControl_) return;
  focusControl_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

void TCustomLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  TControlStyle style = ControlStyle();
  if (value) style.Exclude(csOpaque); else style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
}

UINT TCustomLabel::DrawTextFlags() const {
  UINT flags = DT_EXPANDTABS;
  switch (alignment_) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
  }
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return flags;
}

void TCustomLabel::DoDrawText(TRect& rect, UINT flags) {
  std::wstring text = Utf8ToWide(Caption());
  // An empty caption still measures one line.
  if ((flags & DT_CALCRECT) != 0 && (text.empty() || (showAccelChar_ && text == L"&"))) text += L' ';
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  RECT r = rect;
  HDC dc = canvas->Handle();
  // The handle alone carries the DC's default system font: select the label's own.
  const TSelectGuard fontGuard(dc, canvas->Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  if (!Enabled()) {
    // Disabled: embossed grey text.
    OffsetRect(&r, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    OffsetRect(&r, -1, -1);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
  } else {
    SetTextColor(dc, ColorToRGB(Font()->Color()));
  }
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  rect = r;
}

void TCustomLabel::Paint() {
  TCanvas* canvas = Canvas();
  TRect rect = ClientRect();
  if (!transparent_) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(rect);
  }
  canvas->Brush()->SetStyle(bsClear);
  const UINT flags = DrawTextFlags();
  if (layout_ != tlTop) {
    TRect measured = rect;
    DoDrawText(measured, flags | DT_CALCRECT);
    const int free = rect.Height() - measured.Height();
    rect.Top += layout_ == tlBottom ? free : free / 2;
  }
  DoDrawText(rect, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  // Measure on a screen DC (the label may not be on a shown window yet).
  HDC screen = GetDC(nullptr);
  TCanvas* canvas = Canvas();
  canvas->Lock();
  canvas->SetHandle(screen);
  TRect rect = ClientRect();
  if (!wordWrap_) rect.Right = rect.Left + 0x7FFF;
  DoDrawText(rect, DrawTextFlags() | DT_CALCRECT);
  canvas->SetHandle(nullptr);
  canvas->Unlock();
  ReleaseDC(nullptr, screen);
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - rect.Width();
  SetBounds(left, Top(), rect.Width(), rect.Height());
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::WndProc(message);
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (focusControl_ != nullptr && Enabled() && showAccelChar_ &&
          IsAccel(static_cast<wchar_t>(message.WParam), Caption()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        message.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TGraphicControl::WndProc(message);
}

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TLabel>("TLabel", &TCustomLabel::StaticClass()).Build();
  return info;
}
