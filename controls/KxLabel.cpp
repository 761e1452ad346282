// TKxLabel: properties, blinking and fly-by colours, automatic size with borders and rotation,
// and the painting of borders, flat, rotated and arc text.
#include "controls/KxLabel.h"

#include <cmath>
#include <numbers>

#include "controls/KxBlinkingControlsList.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxOldPropReader.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/WinControl.h"

const TEnumInfo& EnumTypeInfo(TRotation) {
  static const TEnumInfo info("TRotation", {"roNone", "roFlat", "roCurve"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TCenterPoint) {
  static const TEnumInfo info("TCenterPoint", {"cpUpperLeft", "cpUpperCenter", "cpUpperRight", "cpLeftCenter",
                                               "cpCenter", "cpRightCenter", "cpLowerLeft", "cpLowerCenter",
                                               "cpLowerRight"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxCondenseCaption) {
  static const TEnumInfo info("TKxCondenseCaption", {"ccNone", "ccAtEnd", "ccWithinPath"});
  return info;
}

namespace {

// Pixels one border layer takes from each side it is drawn on.
int LayerWidth(TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;
  }
}

int Nearest(double value) { return static_cast<int>(Round(static_cast<long double>(value))); }

bool InLoading(const TComponent& c) { return c.ComponentState().Contains(csLoading); }

}  // namespace

const TClassInfo& TKxLabel::StaticClass() {
  using C = TKxLabel;
  static const TClassInfo info =
      TClassBuilder<C>("TKxLabel", &TLabel::StaticClass())
          .Property("Color", &C::Color, &C::SetColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Stored([](C& c) { return !c.ParentColor(); })
          .Property("Angle", &C::Angle, &C::SetAngle)
          .Default(0)
          .Property("BevelWidth", &C::BevelWidth, &C::SetBevelWidth)
          .Default(1)
          .Property("BlinkColor", &C::BlinkColor, &C::SetBlinkColor)
          .Default(clHighlight)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("BlinkIntervalOff", &C::BlinkIntervalOff, &C::SetBlinkIntervalOff)
          .Default(500)
          .Property("BlinkIntervalOn", &C::BlinkIntervalOn, &C::SetBlinkIntervalOn)
          .Default(500)
          .Property("Blinking", &C::Blinking, &C::SetBlinking)
          .Default(false)
          .Property("BorderColor", &C::BorderColor, &C::SetBorderColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("BorderHighlight", &C::BorderHighlight, &C::SetBorderHighlight)
          .Default(clBtnHighlight)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("BorderInner", &C::BorderInner, &C::SetBorderInner)
          .Default(fsNone)
          .Property("BorderOuter", &C::BorderOuter, &C::SetBorderOuter)
          .Default(fsNone)
          .Property("BorderShadow", &C::BorderShadow, &C::SetBorderShadow)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("BorderSides", &C::BorderSides, &C::SetBorderSides)
          .Default(kAllSides)
          .Property("BorderWidth", &C::BorderWidth, &C::SetBorderWidth)
          .Default(0)
          .Property("CenterPoint", &C::CenterPoint, &C::SetCenterPoint)
          .Default(cpCenter)
          .Property("CondenseCaption", &C::CondenseCaption, &C::SetCondenseCaption)
          .Default(ccNone)
          .Property("FlatColor", &C::FlatColor, &C::SetFlatColor)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment)
          .Default(30)
          .Property("FlyByColor", &C::FlyByColor, &C::SetFlyByColor)
          .Default(clHighlight)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FlyByEnabled", &C::FlyByEnabled, &C::SetFlyByEnabled)
          .Default(false)
          .Property("FrameController", &C::FrameController, &C::SetFrameController)
          .Property("FrameControllerNotifications", &C::FrameControllerNotifications,
                    &C::SetFrameControllerNotifications)
          .Default(kAllFrameControllerNotifications)
          .Property("HighlightColor", &C::HighlightColor, &C::SetHighlightColor)
          .Default(clBtnHighlight)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("LightTextStyle", &C::LightTextStyle, &C::SetLightTextStyle)
          .Default(false)
          .Property("Rotation", &C::Rotation, &C::SetRotation)
          .Default(roNone)
          .Property("ShadowColor", &C::ShadowColor, &C::SetShadowColor)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ShadowDepth", &C::ShadowDepth, &C::SetShadowDepth)
          .Default(2)
          .Property("TextMargin", &C::TextMargin, &C::SetTextMargin)
          .Default(0)
          .Property("TextStyle", &C::TextStyle, &C::SetTextStyle)
          .Default(tsNormal)
          .Build();
  return info;
}

TKxLabel::TKxLabel(TComponent* owner) : TLabel(owner) {
  frame_.FlatColorAdjustment = 30;
  SetColor(clBtnFace);
  SetParentColor(true);
  fontColor_ = Font()->Color();
  currentColor_ = fontColor_;
  savedFlyByColor_ = fontColor_;
  KxBlinker()->Add(this);
  constructing_ = false;
}

TKxLabel::~TKxLabel() {
  if (frameController_ != nullptr) frameController_->UnregisterControl(this);
  if (TKxBlinkingControlsList* list = KxBlinkerIfAny()) {
    const int index = list->IndexOf(this);
    if (index >= 0) list->Delete(index);
  }
  ReleaseBlinkerIfIdle();
}

void TKxLabel::ApplyFrameController() {
  if (frameController_ == nullptr || !frameController_->FrameVisible()) return;
  const TKxFrameControllerNotifications n = notifications_;
  if (n.Contains(fcpFrameStyle)) frame_.BorderOuter = frameController_->FrameStyle();
  if (n.Contains(fcpFrameSides)) frame_.BorderSides = frameController_->FrameSides();
  if (n.Contains(fcpFrameColor)) {
    frame_.FlatColor = frameController_->FrameColor();
    frame_.FlatColorAdjustment = 0;
  }
  if (n.Contains(fcpColor)) SetColor(frameController_->Color());
  if (n.Contains(fcpParentColor)) SetParentColor(frameController_->ParentColor());
  if (n.Contains(fcpColor)) {
    frame_.BorderHighlight = LightenColor(Color(), 100);
    frame_.BorderShadow = DarkenColor(Color(), 50);
  }
  Invalidate();
}

void TKxLabel::ShowBlinkPhase(bool on) {
  blinkOn_ = on;
  currentColor_ = on ? blinkColor_ : fontColor_;
  Refresh();
}

TRect TKxLabel::GetTextArea(const TRect& rect, bool withBorderWidth) {
  TRect r = rect;
  if (withBorderWidth) InflateRect(reinterpret_cast<RECT*>(&r), -frame_.BorderWidth, -frame_.BorderWidth);
  for (TFrameStyleEx layer : {frame_.BorderOuter, frame_.BorderInner}) {
    const int w = LayerWidth(layer, frame_.BevelWidth);
    if (frame_.BorderSides.Contains(sdLeft)) r.Left += w;
    if (frame_.BorderSides.Contains(sdTop)) r.Top += w;
    if (frame_.BorderSides.Contains(sdRight)) r.Right -= w;
    if (frame_.BorderSides.Contains(sdBottom)) r.Bottom -= w;
  }
  return r;
}

void TKxLabel::AddBorderExtents(TRect& rect) {
  const int layers = LayerWidth(frame_.BorderOuter, frame_.BevelWidth) + frame_.BorderWidth +
                     LayerWidth(frame_.BorderInner, frame_.BevelWidth);
  int width = rect.Width();
  int height = rect.Height();
  if (frame_.BorderSides.Contains(sdLeft)) width += layers;
  if (frame_.BorderSides.Contains(sdRight)) width += layers;
  if (frame_.BorderSides.Contains(sdTop)) height += layers;
  if (frame_.BorderSides.Contains(sdBottom)) height += layers;
  width += 2 * textMargin_;
  height += 2 * textMargin_;
  if (rotation_ == roNone && textStyle_ == tsShadow) {
    width += shadowDepth_;
    height += shadowDepth_;
  }
  if (rotation_ == roFlat && angle_ != 0 && angle_ != 180) {
    if (textStyle_ == tsShadow) {
      width += shadowDepth_ / 2;
      height += shadowDepth_ / 2;
    }
    double d = (angle_ % 90) * std::numbers::pi / 180.0;
    if (angle_ == 90 || angle_ == 270) d += std::numbers::pi / 2;
    const int w = Nearest(std::cos(d) * width + std::sin(d) * height);
    const int h = Nearest(std::sin(d) * width + std::cos(d) * height);
    width = w;
    height = h;
  }
  rect.Right = rect.Left + width;
  rect.Bottom = rect.Top + height;
}

// ---- Setters --------------------------------------------------------------------------------

void TKxLabel::ApplyTrueTypeRule() {
  if (!FontIsTrueType(*Font())) Font()->SetName("Verdana");
}

void TKxLabel::SetAngle(int value) {
  value = value < 0 ? 360 + value % 360 : value % 360;
  if (value == 360) value = 0;
  if (value == angle_) return;
  angle_ = value;
  if (!InLoading(*this)) {
    if (angle_ != 0) ApplyTrueTypeRule();
    if (angle_ != 0 && rotation_ == roNone) rotation_ = roFlat;
  }
  AdjustBounds();
  Invalidate();
}

void TKxLabel::SetRotation(TRotation value) {
  if (value == rotation_) return;
  rotation_ = value;
  if (!InLoading(*this)) {
    if (value != roNone) ApplyTrueTypeRule();
    if (value == roNone || value == roFlat) angle_ = 0;
    if (value == roFlat) centerPoint_ = cpCenter;
  }
  AdjustBounds();
  Invalidate();
}

void TKxLabel::SetCenterPoint(TCenterPoint value) {
  if (value == centerPoint_) return;
  centerPoint_ = value;
  Invalidate();
}

void TKxLabel::SetTextStyle(TTextStyle value) {
  if (value == textStyle_) return;
  textStyle_ = value;
  AdjustBounds();
  Invalidate();
}

void TKxLabel::SetLightTextStyle(bool value) {
  if (value == lightTextStyle_) return;
  lightTextStyle_ = value;
  Invalidate();
}

void TKxLabel::SetHighlightColor(TColor value) {
  if (value == highlightColor_) return;
  highlightColor_ = value;
  Invalidate();
}

void TKxLabel::SetShadowColor(TColor value) {
  if (value == shadowColor_) return;
  shadowColor_ = value;
  Invalidate();
}

void TKxLabel::SetShadowDepth(int value) {
  if (value == shadowDepth_) return;
  shadowDepth_ = value;
  AdjustBounds();
  Invalidate();
}

void TKxLabel::SetTextMargin(int value) {
  if (value == textMargin_) return;
  textMargin_ = value;
  AdjustBounds();
  Invalidate();
}

void TKxLabel::SetCondenseCaption(TKxCondenseCaption value) {
  if (value == condenseCaption_) return;
  condenseCaption_ = value;
  if (value != ccNone) SetAutoSize(false);
  Invalidate();
}

#define KX_BORDER_SETTER(Name, field, resize)   \
  void TKxLabel::Set##Name(decltype(frame_.field) value) { \
    if (value == frame_.field) return;            \
    frame_.field = value;                         \
    if (resize) AdjustBounds();                   \
    Invalidate();                                 \
  }

KX_BORDER_SETTER(BorderOuter, BorderOuter, true)
KX_BORDER_SETTER(BorderInner, BorderInner, true)
KX_BORDER_SETTER(BorderSides, BorderSides, true)
KX_BORDER_SETTER(BorderWidth, BorderWidth, true)
KX_BORDER_SETTER(BevelWidth, BevelWidth, true)
KX_BORDER_SETTER(BorderColor, BorderColor, false)
KX_BORDER_SETTER(BorderHighlight, BorderHighlight, false)
KX_BORDER_SETTER(BorderShadow, BorderShadow, false)
KX_BORDER_SETTER(FlatColor, FlatColor, false)
KX_BORDER_SETTER(FlatColorAdjustment, FlatColorAdjustment, false)
#undef KX_BORDER_SETTER

void TKxLabel::SetBlinking(bool value) {
  if (value == blinking_) return;
  blinking_ = value;
  if (!value) {
    blinkOn_ = false;
    currentColor_ = fontColor_;
    Repaint();
  }
}

void TKxLabel::SetBlinkColor(TColor value) {
  if (value == blinkColor_) return;
  blinkColor_ = value;
  if (blinking_ && blinkOn_) currentColor_ = value;
  Invalidate();
}

std::uint16_t TKxLabel::BlinkIntervalOn() const { return KxBlinker()->IntervalOn(); }
void TKxLabel::SetBlinkIntervalOn(std::uint16_t value) { KxBlinker()->SetIntervalOn(value); }
std::uint16_t TKxLabel::BlinkIntervalOff() const { return KxBlinker()->IntervalOff(); }
void TKxLabel::SetBlinkIntervalOff(std::uint16_t value) { KxBlinker()->SetIntervalOff(value); }

void TKxLabel::SetFlyByEnabled(bool value) {
  if (value == flyByEnabled_) return;
  flyByEnabled_ = value;
  if (!value && flyByActive_) {
    flyByActive_ = false;
    Font()->SetColor(savedFlyByColor_);
  }
}

void TKxLabel::SetFlyByColor(TColor value) {
  if (value == flyByColor_) return;
  flyByColor_ = value;
  Invalidate();
}

void TKxLabel::SetFrameController(TKxFrameController* value) {
  ChangeFrameController(this, frameController_, value);
}

void TKxLabel::Notification(TComponent* component, TOperation operation) {
  TLabel::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxLabel::DefineProperties(TFiler& filer) {
  TLabel::DefineProperties(filer);
  filer.DefineProperty("FrameSides", &TKxOldPropReader::SkipSetValue, {}, false);
}

// ---- Messages ---------------------------------------------------------------------------------

void TKxLabel::Loaded() {
  TLabel::Loaded();
  if (angle_ != 0 && rotation_ == roNone) rotation_ = roFlat;
  if (rotation_ != roNone) ApplyTrueTypeRule();
  fontColor_ = Font()->Color();
  currentColor_ = blinking_ && blinkOn_ ? blinkColor_ : fontColor_;
  AdjustBounds();
  if (ComponentState().Contains(csDesigning)) Repaint();
}

void TKxLabel::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_KXISBLINKING: message.Result = blinking_ ? 1 : 0; return;
    case CM_KXBLINKPHASE:
      if (blinking_) ShowBlinkPhase(message.WParam != 0);
      return;
    case CM_FONTCHANGED:
      if (!InLoading(*this)) {
        if (!blinking_) {
          fontColor_ = Font()->Color();
          currentColor_ = fontColor_;
        } else {
          fontColor_ = Font()->Color();
        }
        if (angle_ != 0 && !FontIsTrueType(*Font())) angle_ = 0;
      }
      break;
    case CM_PARENTCOLORCHANGED:
      if (constructing_) return;
      break;
    default: break;
  }
  TLabel::WndProc(message);
}

void TKxLabel::MouseEnter() {
  if (!ComponentState().Contains(csDesigning)) {
    if (flyByEnabled_ && !flyByActive_) {
      savedFlyByColor_ = Font()->Color();
      flyByActive_ = true;
      Font()->SetColor(flyByColor_);
    }
    OnMouseEnter(this);
  }
}

void TKxLabel::MouseLeave() {
  if (flyByActive_) {
    flyByActive_ = false;
    Font()->SetColor(savedFlyByColor_);
  }
  OnMouseLeave(this);
}

// ---- Size and painting ------------------------------------------------------------------------

TAlignment TKxLabel::DrawnAlignment() const {
  const TAlignment alignment = Alignment();
  if (!UseRightToLeftAlignment() || alignment == taCenter) return alignment;
  return alignment == taLeftJustify ? taRightJustify : taLeftJustify;
}

UINT TKxLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS;
  switch (DrawnAlignment()) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
  }
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  if (WordWrap()) flags |= DT_WORDBREAK;
  if (!ShowAccelChar()) flags |= DT_NOPREFIX;
  if (condenseCaption_ == ccAtEnd) flags |= DT_END_ELLIPSIS;
  if (condenseCaption_ == ccWithinPath) flags |= DT_PATH_ELLIPSIS;
  return flags;
}

void TKxLabel::AdjustBounds() {
  if (!AutoSize() || ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) return;
  TRect area = GetTextArea(ClientRect(), true);
  TRect text{0, 0, std::max(0, area.Width()), std::max(0, area.Height())};
  if (!WordWrap()) text.Right = 0x7FFF;
  const TWindowDC screen;
  TCanvas* canvas = Canvas();
  canvas->Lock();
  canvas->SetHandle(screen.Get());
  canvas->SetFont(Font());
  std::string caption = Caption();
  if (caption.empty()) caption = " ";
  DrawTextInRect(*canvas, caption, text, TextFlags() | DT_CALCRECT);
  canvas->SetHandle(nullptr);
  canvas->Unlock();
  text = {0, 0, text.Width(), text.Height()};
  AddBorderExtents(text);
  int left = Left();
  if (DrawnAlignment() == taRightJustify) left += Width() - text.Width();
  SetBounds(left, Top(), text.Width(), text.Height());
}

TPoint TKxLabel::CenterPointOf() const {
  const int w = Width();
  const int h = Height();
  const int bw = frame_.BorderWidth;
  if (rotation_ == roFlat) return {w / 2, h / 2};
  switch (centerPoint_) {
    case cpUpperLeft: return {bw, bw};
    case cpUpperCenter: return {w / 2, bw};
    case cpUpperRight: return {w - bw, bw};
    case cpLeftCenter: return {bw, h / 2};
    case cpCenter: return {w / 2, h / 2};
    case cpRightCenter: return {w - bw, h / 2};
    case cpLowerLeft: return {bw, h - bw};
    case cpLowerCenter: return {w / 2, h - bw};
    case cpLowerRight: return {w - bw, h - bw};
  }
  return {w / 2, h / 2};
}

void TKxLabel::DrawTextPass(TRect rect, UINT flags, int dx, int dy, TColor color) {
  TCanvas& canvas = *Canvas();
  const std::string caption = Caption();
  if (Layout() != tlTop) {
    TRect measured = rect;
    DrawTextInRect(canvas, caption, measured, flags | DT_CALCRECT);
    const int free = rect.Height() - measured.Height();
    rect.Top += Layout() == tlBottom ? free : free / 2;
  }
  if (textStyle_ == tsShadow) {
    if (DrawnAlignment() == taRightJustify) {
      rect.Left -= shadowDepth_;
      rect.Right -= shadowDepth_;
    }
    if (Layout() == tlBottom) rect.Top -= shadowDepth_;
  }
  OffsetRect(reinterpret_cast<RECT*>(&rect), dx, dy);
  canvas.Font()->SetColor(color);
  DrawTextInRect(canvas, caption, rect, flags);
}

void TKxLabel::PaintFlatRotated(const TRect& area, UINT flags) {
  TCanvas& canvas = *Canvas();
  const std::string caption = Caption();
  const bool shadow = textStyle_ == tsShadow;
  const int e = shadowDepth_ / 2;
  const TPoint p = CenterPointOf();
  canvas.SetFont(Font());
  const int h = canvas.TextHeight("Pp");
  const double q = h / 4.0;
  const int w = canvas.TextWidth(caption) + (shadow ? e : 0);
  const int h2 = h + (shadow ? e : 0);
  const double r = angle_ * std::numbers::pi / 180.0 + std::numbers::pi / 2;
  const TAlignment alignment = DrawnAlignment();
  int x = 0;
  int y = 0;
  UINT align = TA_BASELINE;
  switch (angle_) {
    case 0:
    case 360:
      align = TA_TOP;
      if (alignment == taCenter) {
        align |= TA_CENTER;
        x = p.X;
      } else {
        x = alignment == taRightJustify ? area.Right - w - 2 * e : area.Left + e;
      }
      y = p.Y - h2 / 2;
      break;
    case 90:
      x = p.X - Nearest(std::cos(r) * q);
      y = alignment == taCenter ? area.Bottom - (area.Bottom - w) / 2
          : alignment == taRightJustify ? area.Top + w + e
                                         : area.Bottom - e;
      break;
    case 180:
      x = alignment == taCenter ? area.Right - (area.Right - w) / 2
          : alignment == taRightJustify ? area.Left + w
                                         : area.Right - e;
      y = p.Y - h2 / 4;
      break;
    case 270:
      x = p.X - Nearest(std::cos(r) * q);
      y = alignment == taCenter ? (area.Bottom - w) / 2
          : alignment == taRightJustify ? area.Bottom - w - e
                                         : area.Top + e;
      break;
    default:
      x = p.X - Nearest(std::cos(r) * q);
      y = p.Y + Nearest(std::sin(r) * q);
      align = TA_BASELINE | TA_CENTER;
      break;
  }
  const TFontHandle font(CreateRotatedFont(*Font(), angle_));
  const HDC dc = canvas.Handle();
  const TSelectGuard fontGuard(dc, font.Get());
  const TSavedDC saved(dc);
  SetTextAlign(dc, align);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
  const std::wstring text = Utf8ToWide(caption);
  auto pass = [&](int dx, int dy, TColor color) {
    SetTextColor(dc, KxColorToRGB(color));
    ExtTextOutW(dc, x + dx, y + dy, (flags & DT_RTLREADING) != 0 ? ETO_RTLREADING : 0, nullptr, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
  };
  if (!Enabled()) {
    pass(0, 0, clGrayText);
    return;
  }
  if (textStyle_ == tsRaised) {
    if (!lightTextStyle_) pass(1, 1, shadowColor_);
    pass(-1, -1, highlightColor_);
  } else if (textStyle_ == tsRecessed) {
    pass(1, 1, highlightColor_);
    if (!lightTextStyle_) pass(-1, -1, shadowColor_);
  } else if (shadow) {
    pass(e, e, shadowColor_);
  }
  pass(shadow ? -e : 0, shadow ? -e : 0, currentColor_);
}

void TKxLabel::PaintArcText() {
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  const TPoint p = CenterPointOf();
  const int w = Width();
  const int h = Height();
  const int bw = frame_.BorderWidth;
  int rx = w - 2 * bw;
  int ry = h - 2 * bw;
  switch (centerPoint_) {
    case cpUpperCenter:
    case cpLowerCenter: rx = w / 2 - 2 * bw; break;
    case cpLeftCenter:
    case cpRightCenter: ry = h / 2 - 2 * bw; break;
    case cpCenter:
      rx = w / 2 - 2 * bw;
      ry = h / 2 - 2 * bw;
      break;
    default: break;
  }
  if (rx <= 0) return;
  LOGFONTW logFont{};
  GetObjectW(Font()->Handle(), sizeof(logFont), &logFont);
  const HDC dc = canvas.Handle();
  const TSavedDC saved(dc);
  SetTextAlign(dc, TA_BASELINE | TA_CENTER);
  SetBkMode(dc, TRANSPARENT);
  const int textHeight = canvas.TextHeight("Yy");
  const int stepWidth = canvas.TextWidth("w") + 2;
  double a = angle_ * std::numbers::pi / 180.0;
  const std::wstring text = Utf8ToWide(Caption());
  for (wchar_t ch : text) {
    const int x = p.X - Nearest(std::sin(a) * (rx - textHeight));
    const int y = p.Y - Nearest(std::cos(a) * (ry - textHeight));
    logFont.lfEscapement = Nearest(a * 1800 / std::numbers::pi);
    logFont.lfOrientation = logFont.lfEscapement;
    const TFontHandle font(CheckGdi(CreateFontIndirectW(&logFont)));
    const TSelectGuard fontGuard(dc, font.Get());
    auto pass = [&](int dx, int dy, TColor color) {
      SetTextColor(dc, KxColorToRGB(color));
      ExtTextOutW(dc, x + dx, y + dy, 0, nullptr, &ch, 1, nullptr);
    };
    if (!Enabled()) {
      pass(1, 1, clBtnHighlight);
      pass(0, 0, clBtnShadow);
    } else {
      if (textStyle_ == tsRaised) {
        if (!lightTextStyle_) pass(1, 1, shadowColor_);
        pass(-1, -1, highlightColor_);
      } else if (textStyle_ == tsRecessed) {
        pass(1, 1, highlightColor_);
        if (!lightTextStyle_) pass(-1, -1, shadowColor_);
      } else if (textStyle_ == tsShadow) {
        pass(shadowDepth_, shadowDepth_, shadowColor_);
      }
      pass(0, 0, currentColor_);
    }
    a -= static_cast<double>(stepWidth) / rx;
  }
}

void TKxLabel::Paint() {
  TCanvas& canvas = *Canvas();
  TKxInnerOuterFrame frame = frame_;
  frame.Color = Color();
  frame.ParentColor = Parent() != nullptr ? Parent()->Color() : Color();
  frame.Transparent = Transparent();
  const TRect inner = PaintInnerOuterFrame(canvas, ClientRect(), frame);
  if (!Transparent()) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(inner);
  }
  canvas.Brush()->SetStyle(bsClear);
  if (rotation_ == roCurve) {
    PaintArcText();
    canvas.Brush()->SetStyle(bsSolid);
    return;
  }
  TRect area = GetTextArea(ClientRect(), true);
  InflateRect(reinterpret_cast<RECT*>(&area), -textMargin_, -textMargin_);
  const UINT flags = TextFlags();
  if (rotation_ == roFlat) {
    PaintFlatRotated(area, flags);
    canvas.Brush()->SetStyle(bsSolid);
    return;
  }
  canvas.SetFont(Font());
  if (!Enabled()) {
    DrawTextPass(area, flags, 0, 0, clGrayText);
  } else {
    if (textStyle_ == tsRaised) {
      if (!lightTextStyle_) DrawTextPass(area, flags, 1, 1, shadowColor_);
      DrawTextPass(area, flags, -1, -1, highlightColor_);
    } else if (textStyle_ == tsRecessed) {
      DrawTextPass(area, flags, 1, 1, highlightColor_);
      if (!lightTextStyle_) DrawTextPass(area, flags, -1, -1, shadowColor_);
    } else if (textStyle_ == tsShadow) {
      DrawTextPass(area, flags, shadowDepth_, shadowDepth_, shadowColor_);
    }
    DrawTextPass(area, flags, 0, 0, currentColor_);
  }
  canvas.Font()->SetColor(Font()->Color());
  canvas.Brush()->SetStyle(bsSolid);
}
