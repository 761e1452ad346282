// TKxCustomButton and TKxButton: properties, mouse and key logic, groups, dialog keys and the
// themed, hot-track and classic faces.
#include "controls/KxButton.h"

#include <vssym32.h>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxCommonText.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Themes.h"

const TEnumInfo& EnumTypeInfo(TKxHotTrackColorType) {
  static const TEnumInfo info("TKxHotTrackColorType", {"htctComplement", "htctActual"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TBitBtnKind) {
  static const TEnumInfo info("TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                                              "bkAbort", "bkRetry", "bkIgnore", "bkAll"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TButtonLayout) {
  static const TEnumInfo info("TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
  return info;
}

namespace {

TRect Inflated(TRect r, int d) {
  r.Left -= d;
  r.Top -= d;
  r.Right += d;
  r.Bottom += d;
  return r;
}

TRect Offset(TRect r, int dx, int dy) {
  r.Left += dx;
  r.Right += dx;
  r.Top += dy;
  r.Bottom += dy;
  return r;
}

void HLine(TCanvas& canvas, int x0, int x1, int y, TColor color) {
  canvas.Pen()->SetColor(color);
  canvas.MoveTo(x0, y);
  canvas.LineTo(x1, y);
}

void VLine(TCanvas& canvas, int x, int y0, int y1, TColor color) {
  canvas.Pen()->SetColor(color);
  canvas.MoveTo(x, y0);
  canvas.LineTo(x, y1);
}

void Fill(TCanvas& canvas, const TRect& rect, TColor color) {
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(color);
  canvas.FillRect(rect);
}

}  // namespace

// ---- TKxCustomButton ------------------------------------------------------------------------

const TClassInfo& TKxCustomButton::StaticClass() {
  using C = TKxCustomButton;
  static const TClassInfo info =
      TClassBuilder<C>("TKxCustomButton", &TCustomControl::StaticClass())
          .Abstract()
          .Property("Caption", [](C& c) { return c.Caption(); }, [](C& c, const std::string& v) { c.SetCaption(v); })
          .Property("AlignmentVertical", &C::AlignmentVertical, &C::SetAlignmentVertical)
          .Default(avCenter)
          .Property("HighlightColor", &C::HighlightColor, &C::SetHighlightColor)
          .Default(clHighlight)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("HotTrack", &C::HotTrack, &C::SetHotTrack)
          .Default(false)
          .Property("HotTrackColor", &C::HotTrackColor, &C::SetHotTrackColor)
          .Default(static_cast<TColor>(0x149BF0))
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("HotTrackColorType", &C::HotTrackColorType, &C::SetHotTrackColorType)
          .Default(htctActual)
          .Property("LightTextStyle", &C::LightTextStyle, &C::SetLightTextStyle)
          .Default(false)
          .Property("TextHighlightColor", &C::TextHighlightColor, &C::SetTextHighlightColor)
          .Default(clBtnHighlight)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("TextShadowColor", &C::TextShadowColor, &C::SetTextShadowColor)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("TextShadowDepth", &C::TextShadowDepth, &C::SetTextShadowDepth)
          .Default(2)
          .Property("TextStyle", &C::TextStyle, &C::SetTextStyle)
          .Default(tsNormal)
          .Property("ThemeAware", &C::ThemeAware, &C::SetThemeAware)
          .Default(true)
          .Property("Transparent", &C::Transparent, &C::SetTransparent)
          .Default(false)
          .Build();
  return info;
}

TKxCustomButton::TKxCustomButton(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks, csReplicatable, csReflector});
  SetBounds(0, 0, 115, 17);
  SetTabStop(true);
}

#define KX_BUTTON_SETTER(Class, Name, Type, field) \
  void Class::Set##Name(Type value) {              \
    if (value == field) return;                    \
    field = value;                                 \
    Invalidate();                                  \
  }

KX_BUTTON_SETTER(TKxCustomButton, AlignmentVertical, TAlignmentVertical, alignmentVertical_)
KX_BUTTON_SETTER(TKxCustomButton, HighlightColor, TColor, highlightColor_)
KX_BUTTON_SETTER(TKxCustomButton, HotTrackColor, TColor, hotTrackColor_)
KX_BUTTON_SETTER(TKxCustomButton, HotTrackColorType, TKxHotTrackColorType, hotTrackColorType_)
KX_BUTTON_SETTER(TKxCustomButton, LightTextStyle, bool, lightTextStyle_)
KX_BUTTON_SETTER(TKxCustomButton, TextStyle, TTextStyle, textStyle_)
KX_BUTTON_SETTER(TKxCustomButton, TextHighlightColor, TColor, textHighlightColor_)
KX_BUTTON_SETTER(TKxCustomButton, TextShadowColor, TColor, textShadowColor_)
KX_BUTTON_SETTER(TKxCustomButton, TextShadowDepth, int, textShadowDepth_)
KX_BUTTON_SETTER(TKxCustomButton, ThemeAware, bool, themeAware_)
KX_BUTTON_SETTER(TKxCustomButton, Transparent, bool, transparent_)
KX_BUTTON_SETTER(TKxCustomButton, HotTrack, bool, hotTrack_)

bool TKxCustomButton::UsesThemes() const { return themeAware_ && KxVisualStylesActive(); }

void TKxCustomButton::CreateWnd() {
  TCustomControl::CreateWnd();
  // Focus and accelerator cues stay hidden until the keyboard is used.
  if (IsWindowsVersionAtLeast(4)) {
    SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
  }
}

bool TKxCustomButton::TakeFocusForPress() {
  if (!CanFocus()) return true;
  if (!Focused()) SetFocus();
  return Focused();
}

void TKxCustomButton::PaintTransparentBack(HDC dc) {
  TRect r = Inflated(ClientRect(), Enabled() ? -1 : -2);
  ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  ExcludeClipRect(dc, r.Left - 1, r.Top + 1, r.Right + 1, r.Bottom - 1);
  ExcludeClipRect(dc, r.Left + 1, r.Top - 1, r.Right - 1, r.Bottom + 1);
  CopyParentImageToDC(this, dc, true);
  SelectClipRgn(dc, nullptr);
}

void TKxCustomButton::PaintCaption(TCanvas& canvas, const TRect& rect, UINT flags) {
  canvas.Brush()->SetStyle(bsClear);
  canvas.SetFont(Font());
  std::string text = Caption();
  if (HandleAllocated() && (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0) {
    text = StripAccelerators(text);
  }
  TRect measure = rect;
  const int height = DrawTextInRect(canvas, text, measure, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_VCENTER |
                                                               DT_CENTER);
  TRect r = rect;
  switch (alignmentVertical_) {
    case avTop: r.Bottom = r.Top + height; break;
    case avCenter:
      r.Top = (rect.Top + rect.Bottom - height) / 2;
      r.Bottom = r.Top + height;
      break;
    case avBottom:
      r.Top = rect.Bottom - height - 1;
      r.Bottom = rect.Bottom;
      break;
  }
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  const bool right = (flags & DT_RIGHT) != 0;
  const TColor fontColor = Font()->Color();
  if (Enabled()) {
    auto pass = [&](int dx, int dy, TColor color) {
      TRect p = Offset(r, dx, dy);
      canvas.Font()->SetColor(color);
      DrawTextInRect(canvas, text, p, flags);
    };
    switch (textStyle_) {
      case tsRaised:
        if (!lightTextStyle_) pass(1, 1, textShadowColor_);
        pass(-1, -1, textHighlightColor_);
        break;
      case tsRecessed:
        pass(1, 1, textHighlightColor_);
        if (!lightTextStyle_) pass(-1, -1, textShadowColor_);
        break;
      case tsShadow:
        pass(right ? 0 : textShadowDepth_, textShadowDepth_, textShadowColor_);
        break;
      case tsNormal: break;
    }
    canvas.Font()->SetColor(fontColor);
    if (right) r = Offset(r, -textShadowDepth_, 0);
  } else {
    canvas.Font()->SetColor(ColorsAreClose(Color(), clGrayText) ? cl3DDkShadow : clGrayText);
  }
  DrawTextInRect(canvas, text, r, flags);
  canvas.Brush()->SetStyle(bsSolid);
}

void TKxCustomButton::MouseEnter() {
  if (ComponentState().Contains(csDesigning)) return;
  mouseOver_ = true;
  OnMouseEnter(this);
  if (hotTrack_ || UsesThemes()) Invalidate();
}

void TKxCustomButton::MouseLeave() {
  mouseOver_ = false;
  OnMouseLeave(this);
  if (hotTrack_ || UsesThemes()) Invalidate();
}

void TKxCustomButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled() && TakeFocusForPress()) {
        showDown_ = true;
        ButtonStateChanged();
        dragging_ = true;
        SetMouseCapture(true);
      }
      message.Result = 0;
      return;
    case WM_MOUSEMOVE:
      if (dragging_) {
        const TRect c = ClientRect();
        const bool inside = message.XPos() >= c.Left && message.XPos() < c.Right && message.YPos() >= c.Top &&
                            message.YPos() < c.Bottom;
        if (inside != showDown_) {
          showDown_ = inside;
          ButtonStateChanged();
        }
      }
      break;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        SetMouseCapture(false);
        showDown_ = false;
        const TRect c = ClientRect();
        const bool inside = message.XPos() >= c.Left && message.XPos() < c.Right && message.YPos() >= c.Top &&
                            message.YPos() < c.Bottom;
        if (inside) PressButton();
        ButtonStateChanged();
      }
      message.Result = 0;
      return;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (dragging_ && message.Msg == WM_CANCELMODE) {
        dragging_ = false;
        showDown_ = false;
        SetMouseCapture(false);
        ButtonStateChanged();
      }
      break;
    case WM_ERASEBKGND:
      if (transparent_) {
        PaintTransparentBack(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
      TCustomControl::WndProc(message);
      Invalidate();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(message);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::WndProc(message);
}

// ---- TKxButton ------------------------------------------------------------------------------

const TClassInfo& TKxButton::StaticClass() {
  using C = TKxButton;
  static const TClassInfo info =
      TClassBuilder<C>("TKxButton", &TKxCustomButton::StaticClass())
          .Property("Color", &C::Color, &C::SetColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Stored([](C& c) { return !c.ParentColor(); })
          .Property("ParentColor", &C::ParentColor, &C::SetParentColor)
          .Default(false)
          .Property("Alignment", &C::Alignment, &C::SetAlignment)
          .Default(taCenter)
          .Property("AllowAllUp", &C::AllowAllUp, &C::SetAllowAllUp)
          .Default(false)
          .Property("Cancel", &C::Cancel, &C::SetCancel)
          .Default(false)
          .Property("Default", &C::Default, &C::SetDefault)
          .Default(false)
          .Property("Down", &C::Down, &C::SetDown)
          .Default(false)
          .Property("DropDownOnEnter", &C::DropDownOnEnter, &C::SetDropDownOnEnter)
          .Default(true)
          .Property("FrameColor", &C::FrameColor, &C::SetFrameColor)
          .Default(cl3DDkShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("GroupIndex", &C::GroupIndex, &C::SetGroupIndex)
          .Default(0)
          .Property("ModalResult", &C::ModalResult, &C::SetModalResult)
          .Default(0)
          .Property("ShowDownPattern", &C::ShowDownPattern, &C::SetShowDownPattern)
          .Default(true)
          .Property("ShowFocusRect", &C::ShowFocusRect, &C::SetShowFocusRect)
          .Default(true)
          .Build();
  return info;
}

TKxButton::TKxButton(TComponent* owner) : TKxCustomButton(owner) {
  SetBounds(0, 0, 75, 25);
  SetColor(clBtnFace);
  SetParentColor(false);
}

KX_BUTTON_SETTER(TKxButton, Alignment, TAlignment, alignment_)
KX_BUTTON_SETTER(TKxButton, ShowDownPattern, bool, showDownPattern_)
KX_BUTTON_SETTER(TKxButton, ShowFocusRect, bool, showFocusRect_)
KX_BUTTON_SETTER(TKxButton, FrameColor, TColor, frameColor_)
#undef KX_BUTTON_SETTER

void TKxButton::SetHotTrack(bool value) {
  TKxCustomButton::SetHotTrack(value);
  SetTransparent(value);
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TKxButton::SetDefault(bool value) {
  default_ = value;
  if (!HandleAllocated()) return;
  if (TCustomForm* form = GetParentForm(this)) {
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
  } else {
    active_ = value;
    Invalidate();
  }
}

void TKxButton::BroadcastGroup() {
  if (Parent() == nullptr || groupIndex_ == 0) return;
  TMessage message{CM_KXBUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(message);
}

void TKxButton::SetGroupIndex(int value) {
  if (value == groupIndex_) return;
  groupIndex_ = value;
  BroadcastGroup();
}

void TKxButton::SetAllowAllUp(bool value) {
  if (value == allowAllUp_) return;
  allowAllUp_ = value;
  BroadcastGroup();
}

void TKxButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_ && groupIndex_ != 0) return;
  down_ = value;
  state_ = value ? 3 : 0;
  Invalidate();
  if (value) BroadcastGroup();
}

void TKxButton::PressButton() {
  if (groupIndex_ != 0) {
    SetDown(!down_);
  } else {
    ButtonStateChanged();
  }
  clicking_ = true;
  Click();
  clicking_ = false;
}

void TKxButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TKxCustomButton::Click();
}

void TKxButton::CreateWnd() {
  TKxCustomButton::CreateWnd();
  active_ = default_;
}

void TKxButton::DefineProperties(TFiler& filer) {
  TKxCustomButton::DefineProperties(filer);
  filer.DefineProperty("FrameFlat", [this](TReader& reader) { SetHotTrack(reader.ReadBoolean()); }, {}, false);
}

void TKxButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_KXBUTTONPRESSED: {
      auto* sender = reinterpret_cast<TKxButton*>(message.LParam);
      if (static_cast<int>(message.WParam) == groupIndex_ && sender != this && sender != nullptr) {
        if (sender->Down() && down_) {
          down_ = false;
          state_ = 0;
          Invalidate();
        }
        allowAllUp_ = sender->AllowAllUp();
      }
      return;
    }
    case CM_DIALOGKEY: {
      const TShiftState shift = KeyDataToShiftState(message.LParam);
      const bool plain = !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
      const bool enter = message.WParam == VK_RETURN && active_;
      const bool esc = message.WParam == VK_ESCAPE && cancel_;
      if ((enter || esc) && plain && CanFocus()) {
        enterClick_ = enter && !dropDownOnEnter_;
        Click();
        enterClick_ = false;
        message.Result = 1;
        return;
      }
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<wchar_t>(message.WParam), Caption()) && CanFocus()) {
        Click();
        message.Result = 1;
        return;
      }
      break;
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TControl*>(message.LParam);
      const bool isButton = dynamic_cast<TKxButton*>(focused) != nullptr || dynamic_cast<TButton*>(focused) != nullptr;
      const bool active = isButton ? focused == this : default_;
      if (active != active_) {
        active_ = active;
        Invalidate();
      }
      return;
    }
    case WM_KEYDOWN:
      if (message.WParam == VK_SPACE && (HIWORD(message.LParam) & KF_ALTDOWN) == 0) {
        keyToggle_ = true;
        showDown_ = true;
        ButtonStateChanged();
        return;
      }
      break;
    case WM_KEYUP:
      if (message.WParam == VK_SPACE) {
        showDown_ = false;
        if (keyToggle_) {
          keyToggle_ = false;
          PressButton();
        }
        ButtonStateChanged();
        return;
      }
      break;
    case WM_KILLFOCUS:
      keyToggle_ = false;
      showDown_ = false;
      break;
    case CM_ENABLEDCHANGED:
      if (!Enabled() && Focused()) {
        if (TCustomForm* form = GetParentForm(this)) form->FocusControl(nullptr);
      }
      if (HandleAllocated() && !ComponentState().Contains(csDesigning)) EnableWindow(Handle(), Enabled());
      Invalidate();
      break;
    default: break;
  }
  TKxCustomButton::WndProc(message);
}

TRect TKxButton::GetCaptionArea() {
  TRect r = Inflated(ClientRect(), -5);
  if (!HotTrack() && !UsesThemes() && (GroupPressed() || showDown_)) r = Offset(r, 1, 1);
  return r;
}

void TKxButton::PaintCaptionText() {
  UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
  const bool mirrored = UseRightToLeftAlignment();
  switch (alignment_) {
    case taLeftJustify: flags |= mirrored ? DT_RIGHT : DT_LEFT; break;
    case taRightJustify: flags |= mirrored ? DT_LEFT : DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
  }
  PaintCaption(*Canvas(), GetCaptionArea(), flags);
}

void TKxButton::BuildDownPattern(TBitmap& bitmap) {
  bitmap.SetSize(8, 8);
  TCanvas& canvas = *bitmap.Canvas();
  Fill(canvas, {0, 0, 8, 8}, Color());
  const TColor dots = KxColorToRGB(Color()) == 0xC0C0C0 ? static_cast<TColor>(0x808080) : static_cast<TColor>(0xC0C0C0);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      if (x % 2 == y % 2) canvas.SetPixel(x, y, dots);
    }
  }
}

void TKxButton::PaintOuterRing(TCanvas& canvas, const TRect& r, TColor ul, TColor lr) {
  VLine(canvas, r.Left, r.Top + 2, r.Bottom - 2, ul);
  HLine(canvas, r.Left + 2, r.Right - 2, r.Top, ul);
  VLine(canvas, r.Right - 1, r.Top + 2, r.Bottom - 2, lr);
  HLine(canvas, r.Left + 2, r.Right - 2, r.Bottom - 1, lr);
  canvas.SetPixel(r.Left + 1, r.Top + 1, ul);
  canvas.SetPixel(r.Right - 2, r.Top + 1, ul);
  canvas.SetPixel(r.Left + 1, r.Bottom - 2, ul);
  canvas.SetPixel(r.Right - 2, r.Bottom - 2, lr);
}

void TKxButton::PaintHotFace(TCanvas& canvas, const TRect& r) {
  HLine(canvas, r.Left, r.Right, r.Bottom - 2, DarkenColor(Color(), 20));
  HLine(canvas, r.Left, r.Right, r.Bottom - 1, DarkenColor(Color(), 30));
  const TRect above{r.Left, r.Top, r.Right, r.Bottom - 2};
  if (KxFullColorDevice()) {
    DrawGradientArea(canvas, above, KxCommon::gdHorizontalEnd, LightenColor(Color(), 30), DarkenColor(Color(), 10), 1);
  } else {
    Fill(canvas, above, Color());
  }
}

void TKxButton::PaintHotTrackFace(TCanvas& canvas, TRect r) {
  const TColor parentColor = Parent() != nullptr ? Parent()->Color() : clBtnFace;
  if (!Enabled()) {
    PaintOuterRing(canvas, r, parentColor, parentColor);
    r = Inflated(r, -1);
    const TColor box = Color() == clBtnFace ? LightenColor(clBtnShadow, 30) : DarkenColor(Color(), 80);
    HLine(canvas, r.Left + 1, r.Right - 1, r.Top, box);
    HLine(canvas, r.Left + 1, r.Right - 1, r.Bottom - 1, box);
    VLine(canvas, r.Left, r.Top + 1, r.Bottom - 1, box);
    VLine(canvas, r.Right - 1, r.Top + 1, r.Bottom - 1, box);
    Fill(canvas, Inflated(r, -1), Color());
    return;
  }
  PaintOuterRing(canvas, r, DarkenColor(parentColor, 20), LightenColor(parentColor, 20));
  r = Inflated(r, -1);
  HLine(canvas, r.Left + 1, r.Right - 1, r.Top, frameColor_);
  HLine(canvas, r.Left + 1, r.Right - 1, r.Bottom - 1, frameColor_);
  VLine(canvas, r.Left, r.Top + 1, r.Bottom - 1, frameColor_);
  VLine(canvas, r.Right - 1, r.Top + 1, r.Bottom - 1, frameColor_);
  r = Inflated(r, -1);
  const bool focused = HandleAllocated() && Focused();
  if (GroupPressed() || showDown_) {
    Fill(canvas, r, DarkenColor(Color(), 10));
  } else if (mouseOver_) {
    PaintHotFace(canvas, r);
    if (HotTrackColorType() == htctActual) {
      PaintGradientRing(canvas, r, KxCommon::gdHorizontalEnd, MixColors(clWhite, HotTrackColor(), 190),
                        HotTrackColor());
    } else {
      const TColor top = OppositeHueColor(HotTrackColor(), 180);
      PaintGradientRing(canvas, r, KxCommon::gdHorizontalEnd, top, DarkenColor(top, 30));
    }
  } else if (groupIndex_ != 0 || (!active_ && !focused)) {
    PaintHotFace(canvas, r);
  } else {
    PaintHotFace(canvas, r);
    const TColor b = LightenColor(Color(), 30);
    const TColor f = ColorsAreClose(HighlightColor(), clBtnFace) ? DarkenColor(HighlightColor(), 30) : HighlightColor();
    PaintGradientRing(canvas, r, KxCommon::gdHorizontalEnd, MixColors(f, b, 60), MixColors(f, b, 160));
  }
}

void TKxButton::Paint() {
  TCanvas& canvas = *Canvas();
  const TRect client = ClientRect();
  const bool focused = HandleAllocated() && Focused();
  TRect focusArea = Inflated(client, HotTrack() || UsesThemes() ? -3 : -4);
  if (GroupPressed()) focusArea = Offset(focusArea, 1, 1);
  TRect face = client;

  if (UsesThemes()) {
    TThemeServices& themes = *ThemeServices();
    themes.DrawParentBackground(Handle(), canvas.Handle(), &client);
    int state = PBS_NORMAL;
    if (!Enabled()) {
      state = PBS_DISABLED;
    } else if (state_ == 2 || state_ == 3 || showDown_) {
      state = PBS_PRESSED;
    } else if (mouseOver_) {
      state = PBS_HOT;
    } else if (groupIndex_ != 0 || (!active_ && !focused)) {
      state = PBS_NORMAL;
    } else {
      state = PBS_DEFAULTED;
    }
    themes.DrawElement(canvas.Handle(), themes.GetElementDetails(teButton, BP_PUSHBUTTON, state), client);
    face = Inflated(client, -2);
  } else if (HotTrack()) {
    PaintHotTrackFace(canvas, client);
    face = Inflated(client, -2);
  } else {
    if ((groupIndex_ == 0 && (active_ || focused) && !showDown_) || clicking_) {
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Brush()->SetColor(clWindowFrame);
      canvas.FrameRect(face);
      face = Inflated(face, -1);
    }
    if (Color() == clBtnFace) {
      if (groupIndex_ != 0) {
        face = PaintFrameStyleAround(canvas, face, GroupPressed() ? fsLowered : fsButtonUp);
      } else {
        face = PaintButtonFrame(canvas, face, showDown_);
      }
    } else if (groupIndex_ == 0) {
      face = PaintColorButtonFrame(canvas, face, Color(), showDown_);
    } else if (GroupPressed()) {
      face = PaintColorFrameStyleAround(canvas, face, Color(), fsLowered);
    } else {
      face = PaintColorButtonFrame(canvas, face, Color(), false);
    }
    Fill(canvas, face, Color());
  }
  if (groupIndex_ != 0 && state_ == 3 && showDownPattern_) {
    TBitmap pattern;
    BuildDownPattern(pattern);
    const TBrushHandle brush(CheckGdi(CreatePatternBrush(pattern.Handle())));
    RECT r = face;
    FillRect(canvas.Handle(), &r, brush.Get());
  }
  canvas.SetFont(Font());
  canvas.Brush()->SetColor(Color());
  PaintCaptionText();
  const bool cues = HandleAllocated() && (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
  if (cues && focused && showFocusRect_) PaintFocusFrame(canvas, focusArea);
}
