// TKxCustomPanel and TKxStatusBar: borders, background, guide grid, caption, transparency, the
// enabled cascade, the frame controller, and the status bar's simple caption, size grip and
// pane scaling.
#include "controls/KxPanel.h"

#include <vssym32.h>

#include <algorithm>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxOldPropReader.h"
#include "controls/KxPanelDockManager.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Themes.h"

namespace {

int LayerWidth(TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;
  }
}

}  // namespace

const TEnumInfo& EnumTypeInfo(TKxGridStyle) {
  static const TEnumInfo info("TKxGridStyle", {"gsDots", "gsDottedLines", "gsSolidLines"});
  return info;
}

// ---- Class information ------------------------------------------------------------------------

const TClassInfo& TKxCustomPanel::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxCustomPanel>("TKxCustomPanel", &TCustomPanel::StaticClass()).Abstract().Build();
  return info;
}

const TClassInfo& TKxStatusBar::StaticClass() {
  using C = TKxStatusBar;
  static const TClassInfo info =
      TClassBuilder<C>("TKxStatusBar", &TKxCustomPanel::StaticClass())
          .Property("AutoScalePanes", &C::AutoScalePanes, &C::SetAutoScalePanes)
          .Default(false)
          .Property("AutoStyle", &C::AutoStyle, &C::SetAutoStyle)
          .Default(true)
          .Property("BorderColor", &C::BorderColor, &C::SetBorderColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("BorderInner", &C::BorderInner, &C::SetBorderInner)
          .Default(fsNone)
          .Property("BorderOuter", &C::BorderOuter, &C::SetBorderOuter)
          .Default(fsNone)
          .Property("BorderSides", &C::BorderSides, &C::SetBorderSides)
          .Default(kAllSides)
          .Property("FlatColor", &C::FlatColor, &C::SetFlatColor)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment)
          .Default(30)
          .Property("GradientColorStyle", &C::GradientColorStyle, &C::SetGradientColorStyle)
          .Default(gcsSystem)
          .Property("GradientColorStart", &C::GradientColorStart, &C::SetGradientColorStart)
          .Default(static_cast<TColor>(0xFFFFFF))
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("GradientColorStop", &C::GradientColorStop, &C::SetGradientColorStop)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("GradientDirection", &C::GradientDirection, &C::SetGradientDirection)
          .Default(KxCommon::gdHorizontalEnd)
          .Property("ShowSizeGrip", &C::ShowSizeGrip, &C::SetShowSizeGrip)
          .Default(true)
          .Property("SimpleCaption", [](C& c) { return c.SimpleCaption(); },
                    [](C& c, const std::string& v) { c.SetSimpleCaption(v); })
          .Property("SimpleFrameStyle", &C::SimpleFrameStyle, &C::SetSimpleFrameStyle)
          .Default(fsFlat)
          .Property("SimpleStatus", &C::SimpleStatus, &C::SetSimpleStatus)
          .Default(false)
          .Property("VisualStyle", &C::VisualStyle, &C::SetVisualStyle)
          .Default(vsWinXP)
          .Property("OnPaint", [](C& c) { return c.OnPaint; }, [](C& c, TNotifyEvent e) { c.OnPaint = e; })
          .Build();
  return info;
}

// ---- TKxCustomPanel ---------------------------------------------------------------------------

TKxCustomPanel::TKxCustomPanel(TComponent* owner) : TCustomPanel(owner) {
  TControlStyle style = ControlStyle();
  style.Exclude(csSetCaption);
  style.Include(csOpaque);
  SetControlStyle(style);
  SetBevelOuter(bvNone);
  SetBevelInner(bvNone);
  SetUseDockManager(true);
}

TKxCustomPanel::~TKxCustomPanel() {
  SetUseDockManager(false);  // the manager unhooks while the panel is whole
  if (frameController_ != nullptr) frameController_->UnregisterControl(this);
}

TPoint TKxCustomPanel::GetCursorClientPos() {
  POINT p{};
  GetCursorPos(&p);
  return ScreenToClient({p.x, p.y});
}

TRect TKxCustomPanel::ShrinkByBorders(const TRect& rect, bool withBorderWidth) {
  TRect r = rect;
  if (withBorderWidth) {
    r = {r.Left + BorderWidth(), r.Top + BorderWidth(), r.Right - BorderWidth(), r.Bottom - BorderWidth()};
  }
  for (TFrameStyleEx layer : {borderOuter_, borderInner_}) {
    const int w = LayerWidth(layer, BevelWidth());
    if (borderSides_.Contains(sdLeft)) r.Left += w;
    if (borderSides_.Contains(sdTop)) r.Top += w;
    if (borderSides_.Contains(sdRight)) r.Right -= w;
    if (borderSides_.Contains(sdBottom)) r.Bottom -= w;
  }
  return r;
}

void TKxCustomPanel::AdjustClientRect(TRect& rect) {
  TCustomControl::AdjustClientRect(rect);
  rect = ShrinkByBorders(rect, true);
  rect.Right = std::max(rect.Right, rect.Left);
  rect.Bottom = std::max(rect.Bottom, rect.Top);
}

TDockTree* TKxCustomPanel::CreateDockManager() {
  SetDoubleBuffered(true);
  return new TKxPanelDockManager(this);
}

std::pair<TColor, TColor> TKxCustomPanel::GetGradientColors() {
  if (gradientColorStyle_ == gcsCustom) return {gradientColorStart_, gradientColorStop_};
  const TKxGradientColors colors = GetSchemeGradientColors(gradientColorStyle_);
  return {colors.StartColor, colors.StopColor};
}

std::pair<TColor, int> TKxCustomPanel::GetFlatFrameColor() {
  if (visualStyle_ == vsGradient && gradientColorStyle_ != gcsCustom) {
    return {GetSchemeFrameColor(gradientColorStyle_), 0};
  }
  return {flatColor_, flatColorAdjustment_};
}

void TKxCustomPanel::CascadeEnabled(bool enabled) {
  if (!enabled) {
    childStates_.clear();
    for (int i = 0; i < ControlCount(); ++i) childStates_.push_back(Controls(i)->Enabled() ? "1" : "0");
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(false);
    return;
  }
  for (int i = 0; i < ControlCount(); ++i) {
    const bool recorded = i < static_cast<int>(childStates_.size());
    if (!recorded || childStates_[static_cast<size_t>(i)] == "1") Controls(i)->SetEnabled(true);
  }
}

void TKxCustomPanel::ApplyFrameController() {
  if (frameController_ == nullptr || !frameController_->FrameVisible()) return;
  const TKxFrameControllerNotifications n = notifications_;
  if (n.Contains(fcpFrameStyle)) borderOuter_ = frameController_->FrameStyle();
  if (n.Contains(fcpFrameSides)) borderSides_ = frameController_->FrameSides();
  if (n.Contains(fcpFrameColor)) {
    flatColor_ = frameController_->FrameColor();
    flatColorAdjustment_ = 0;
  }
  if (n.Contains(fcpColor)) SetColor(frameController_->Color());
  if (n.Contains(fcpParentColor)) SetParentColor(frameController_->ParentColor());
  if (n.Contains(fcpColor)) {
    borderHighlight_ = LightenColor(Color(), 100);
    borderShadow_ = DarkenColor(Color(), 50);
  }
  Invalidate();
}

// ---- Setters ----------------------------------------------------------------------------------

void TKxCustomPanel::SetAlignmentVertical(TAlignmentVertical value) {
  if (value == alignmentVertical_) return;
  alignmentVertical_ = value;
  Invalidate();
}

void TKxCustomPanel::SetBorderColor(TColor value) {
  if (value == borderColor_) return;
  borderColor_ = value;
  Invalidate();
}

void TKxCustomPanel::SetBorderInner(TFrameStyleEx value) {
  if (value == borderInner_) return;
  borderInner_ = value;
  Realign();
  Invalidate();
}

void TKxCustomPanel::SetBorderOuter(TFrameStyleEx value) {
  if (value == borderOuter_) return;
  borderOuter_ = value;
  Realign();
  Invalidate();
}

void TKxCustomPanel::SetBorderSides(TSides value) {
  if (value == borderSides_) return;
  borderSides_ = value;
  Realign();
  Invalidate();
}

void TKxCustomPanel::SetBorderHighlight(TColor value) {
  if (value == borderHighlight_) return;
  borderHighlight_ = value;
  Invalidate();
}

void TKxCustomPanel::SetBorderShadow(TColor value) {
  if (value == borderShadow_) return;
  borderShadow_ = value;
  Invalidate();
}

void TKxCustomPanel::SetFlatColor(TColor value) {
  if (value == flatColor_) return;
  flatColor_ = value;
  Invalidate();
}

void TKxCustomPanel::SetFlatColorAdjustment(int value) {
  if (value == flatColorAdjustment_) return;
  flatColorAdjustment_ = value;
  Invalidate();
}

void TKxCustomPanel::SetFrameController(TKxFrameController* value) {
  ChangeFrameController(this, frameController_, value);
}

void TKxCustomPanel::SetGradientColorStyle(TKxGradientColorStyle value) {
  if (value == gradientColorStyle_) return;
  gradientColorStyle_ = value;
  Invalidate();
}

void TKxCustomPanel::SetGradientColorStart(TColor value) {
  if (value == gradientColorStart_) return;
  gradientColorStart_ = value;
  Invalidate();
  InvalidateTransparentChildren(this);
}

void TKxCustomPanel::SetGradientColorStop(TColor value) {
  if (value == gradientColorStop_) return;
  gradientColorStop_ = value;
  Invalidate();
  InvalidateTransparentChildren(this);
}

void TKxCustomPanel::SetGradientDirection(KxCommon::TGradientDirection value) {
  if (value == gradientDirection_) return;
  gradientDirection_ = value;
  Invalidate();
  InvalidateTransparentChildren(this);
}

void TKxCustomPanel::SetGridColor(TColor value) {
  if (value == gridColor_) return;
  gridColor_ = value;
  Invalidate();
}

void TKxCustomPanel::SetGridStyle(TKxGridStyle value) {
  if (value == gridStyle_) return;
  gridStyle_ = value;
  Invalidate();
}

void TKxCustomPanel::SetGridStepX(std::uint16_t value) {
  if (value == gridStepX_) return;
  gridStepX_ = value;
  Invalidate();
}

void TKxCustomPanel::SetGridStepY(std::uint16_t value) {
  if (value == gridStepY_) return;
  gridStepY_ = value;
  Invalidate();
}

void TKxCustomPanel::SetPaintClientArea(bool value) {
  if (value == paintClientArea_) return;
  paintClientArea_ = value;
  Invalidate();
}

void TKxCustomPanel::SetShowGrid(bool value) {
  if (value == showGrid_) return;
  showGrid_ = value;
  Invalidate();
}

void TKxCustomPanel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  TControlStyle style = ControlStyle();
  if (value) style.Exclude(csOpaque); else style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TKxCustomPanel::SetTextMargin(int value) {
  if (value == textMargin_) return;
  textMargin_ = value;
  Invalidate();
}

void TKxCustomPanel::SetTextMarginVertical(int value) {
  if (value == textMarginVertical_) return;
  textMarginVertical_ = value;
  Invalidate();
}

void TKxCustomPanel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  Invalidate();
}

void TKxCustomPanel::SetVisualStyle(TKxVisualStyle value) {
  if (value == visualStyle_) return;
  visualStyle_ = value;
  Invalidate();
}

void TKxCustomPanel::SetBounds(int left, int top, int width, int height) {
  // A bottom- or right-aligned panel grows away from the edge it sits on.
  if (Align() == alBottom && top == Top() && height != Height()) top -= height - Height();
  if (Align() == alRight && left == Left() && width != Width()) left -= width - Width();
  TCustomPanel::SetBounds(left, top, width, height);
}

void TKxCustomPanel::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxCustomPanel::DefineProperties(TFiler& filer) {
  TCustomPanel::DefineProperties(filer);
  filer.DefineProperty("FrameSides", &TKxOldPropReader::SkipSetValue, {}, false);
  filer.DefineProperty("ThemeAware", &TKxOldPropReader::SkipBooleanValue, {}, false);
  filer.DefineProperty("UseGradients", [this](TReader& reader) {
    if (reader.ReadBoolean()) SetVisualStyle(vsGradient);
  }, {}, false);
}

// ---- Painting ---------------------------------------------------------------------------------

void TKxCustomPanel::PaintCaption(const TRect& rect) {
  const std::wstring caption = Utf8ToWide(Caption());
  if (caption.empty()) return;
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  if (!Enabled()) canvas.Font()->SetColor(clGrayText);
  TRect r{rect.Left + textMargin_, rect.Top + textMarginVertical_, rect.Right - textMargin_,
          rect.Bottom - textMarginVertical_};
  UINT flags = DT_EXPANDTABS | DT_VCENTER;
  if (wordWrap_) flags |= DT_WORDBREAK;
  flags |= Alignment() == taLeftJustify ? DT_LEFT : Alignment() == taRightJustify ? DT_RIGHT : DT_CENTER;
  RECT measure = r;
  const HDC dc = canvas.Handle();
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, flags | DT_CALCRECT);
  const int h = measure.bottom - measure.top;
  switch (alignmentVertical_) {
    case avTop: r.Bottom = std::min(r.Bottom, r.Top + h); break;
    case avCenter:
      r.Top = (r.Top + r.Bottom - h) / 2;
      r.Bottom = std::min(r.Bottom, r.Top + h);
      break;
    case avBottom: r.Top = std::max(r.Top, r.Bottom - h - 1); break;
  }
  RECT out = r;
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &out, flags);
}

void TKxCustomPanel::PaintGuideGrid(const TRect& rect) {
  TCanvas& canvas = *Canvas();
  const int nx = gridStepX_ == 0 ? 0 : rect.Width() / gridStepX_;
  const int ny = gridStepY_ == 0 ? 0 : rect.Height() / gridStepY_;
  canvas.Pen()->SetColor(gridColor_);
  canvas.Pen()->SetWidth(1);
  if (gridStyle_ == gsDots) {
    for (int i = 1; i <= nx; ++i) {
      for (int j = 1; j <= ny; ++j) canvas.SetPixel(rect.Left + i * gridStepX_ - 1, rect.Top + j * gridStepY_ - 1, gridColor_);
    }
    return;
  }
  const bool dotted = gridStyle_ == gsDottedLines;
  for (int i = 1; i <= nx; ++i) {
    const int x = rect.Left + i * gridStepX_ - 1;
    if (dotted) {
      for (int y = rect.Top + 1; y < rect.Bottom; y += 2) canvas.SetPixel(x, y, gridColor_);
    } else {
      canvas.MoveTo(x, rect.Top);
      canvas.LineTo(x, rect.Bottom);
    }
  }
  for (int j = 1; j <= ny; ++j) {
    const int y = rect.Top + j * gridStepY_ - 1;
    if (dotted) {
      for (int x = rect.Left + 1; x < rect.Right; x += 2) canvas.SetPixel(x, y, gridColor_);
    } else {
      canvas.MoveTo(rect.Left, y);
      canvas.LineTo(rect.Right, y);
    }
  }
}

void TKxCustomPanel::Paint() {
  TCanvas& canvas = *Canvas();
  const auto [fc, adj] = GetFlatFrameColor();
  TKxInnerOuterFrame frame;
  frame.BorderOuter = borderOuter_;
  frame.BorderInner = borderInner_;
  frame.BorderWidth = BorderWidth();
  frame.BorderSides = borderSides_;
  frame.BevelWidth = BevelWidth();
  frame.BorderColor = borderColor_;
  frame.BorderHighlight = borderHighlight_;
  frame.BorderShadow = borderShadow_;
  frame.FlatColor = fc;
  frame.FlatColorAdjustment = adj;
  frame.Color = Color();
  frame.ParentColor = Parent() != nullptr ? Parent()->Color() : Color();
  frame.Transparent = transparent_;
  canvas.Brush()->SetStyle(bsSolid);
  TRect r = PaintInnerOuterFrame(canvas, GetOuterArea(), frame);
  if (!transparent_ && paintClientArea_) {
    const bool soft = (borderOuter_ == fsFlatRounded && borderInner_ == fsNone && BorderWidth() == 0) ||
                      borderInner_ == fsFlatRounded;
    auto grow = [&](int d) {
      if (borderSides_.Contains(sdLeft)) r.Left -= d;
      if (borderSides_.Contains(sdTop)) r.Top -= d;
      if (borderSides_.Contains(sdRight)) r.Right += d;
      if (borderSides_.Contains(sdBottom)) r.Bottom += d;
    };
    if (soft) grow(1);
    if (visualStyle_ == vsGradient) {
      const auto [start, stop] = GetGradientColors();
      DrawGradientArea(canvas, r, gradientDirection_, start, stop, 1);
    } else {
      canvas.Brush()->SetColor(Color());
      canvas.FillRect(r);
    }
    if (soft) {
      const TColor corner = ShiftColorLightness(fc, adj);
      const bool l = borderSides_.Contains(sdLeft);
      const bool t = borderSides_.Contains(sdTop);
      const bool rt = borderSides_.Contains(sdRight);
      const bool b = borderSides_.Contains(sdBottom);
      if (l && t) canvas.SetPixel(r.Left, r.Top, corner);
      if (rt && t) canvas.SetPixel(r.Right - 1, r.Top, corner);
      if (l && b) canvas.SetPixel(r.Left, r.Bottom - 1, corner);
      if (rt && b) canvas.SetPixel(r.Right - 1, r.Bottom - 1, corner);
      grow(-1);
    }
  }
  if (showGrid_) PaintGuideGrid(r);
  canvas.Brush()->SetStyle(bsClear);
  PaintCaption(r);
  canvas.Brush()->SetStyle(bsSolid);
  OnPaint(this);
}

// ---- Messages ---------------------------------------------------------------------------------

void TKxCustomPanel::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      if (transparent_ && paintClientArea_) {
        CopyParentImageToDC(this, reinterpret_cast<HDC>(message.WParam), true);
        message.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
      TCustomPanel::WndProc(message);
      Repaint();
      CascadeEnabled(Enabled());
      return;
    case WM_THEMECHANGED:
      KxRefreshColorScheme();
      break;
    case WM_WINDOWPOSCHANGING: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
      if ((pos->flags & SWP_NOSIZE) == 0 && HandleAllocated() && (pos->cx != Width() || pos->cy != Height())) {
        if (FullRepaint() || !Caption().empty()) {
          Invalidate();
        } else {
          const TRect inside = ShrinkByBorders({0, 0, Width(), Height()}, true);
          const TPoint margin = GetRepaintMargin();
          if (pos->cx != Width()) {
            const RECT r{inside.Right - margin.X, 0, Width(), Height()};
            InvalidateRect(Handle(), &r, TRUE);
          }
          if (pos->cy != Height()) {
            const RECT r{0, inside.Bottom - margin.Y, Width(), Height()};
            InvalidateRect(Handle(), &r, TRUE);
          }
        }
      }
      break;
    }
    default: break;
  }
  TCustomPanel::WndProc(message);
}

void TKxCustomPanel::MouseEnter() {
  if (ComponentState().Contains(csDesigning)) return;
  OnMouseEnter(this);
}

void TKxCustomPanel::MouseLeave() { OnMouseLeave(this); }

// ---- TKxStatusBar -----------------------------------------------------------------------------

TKxStatusBar::TKxStatusBar(TComponent* owner) : TKxCustomPanel(owner) {
  applyingStyle_ = true;
  SetAlign(alBottom);
  TKxCustomPanel::SetBorderInner(fsNone);
  TKxCustomPanel::SetBorderOuter(fsNone);
  TKxCustomPanel::SetBorderSides(kAllSides);
  SetHeight(19);
  SetBorderWidth(0);
  applyingStyle_ = false;
}

void TKxStatusBar::SetBorderInner(TFrameStyleEx value) {
  if (!applyingStyle_) autoStyle_ = false;
  TKxCustomPanel::SetBorderInner(value);
}

void TKxStatusBar::SetBorderOuter(TFrameStyleEx value) {
  if (!applyingStyle_) autoStyle_ = false;
  TKxCustomPanel::SetBorderOuter(value);
}

void TKxStatusBar::SetBorderSides(TSides value) {
  if (!applyingStyle_) autoStyle_ = false;
  TKxCustomPanel::SetBorderSides(value);
}

void TKxStatusBar::ApplyAutoStyle() {
  applyingStyle_ = true;
  TKxCustomPanel::SetBorderInner(fsNone);
  TKxCustomPanel::SetBorderOuter(fsNone);
  TKxCustomPanel::SetBorderSides(kAllSides);
  SetHeight(19);
  SetBorderWidth(0);
  applyingStyle_ = false;
}

void TKxStatusBar::Loaded() {
  TKxCustomPanel::Loaded();
  if (autoStyle_) ApplyAutoStyle();
}

std::pair<TColor, TColor> TKxStatusBar::GetGradientColors() {
  if (GradientColorStyle() == gcsCustom) return {GradientColorStop(), GradientColorStart()};
  const TKxStatusColors colors = GetSchemeStatusColors(GradientColorStyle());
  return {colors.StopColor, colors.StartColor};
}

void TKxStatusBar::SetShowSizeGrip(bool value) {
  if (value == showSizeGrip_) return;
  showSizeGrip_ = value;
  Invalidate();
}

void TKxStatusBar::SetSimpleStatus(bool value) {
  if (value == simpleStatus_) return;
  simpleStatus_ = value;
  DisableAlign();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(!value);
  EnableAlign();
  Invalidate();
}

void TKxStatusBar::SetSimpleCaption(const std::string& value) {
  if (value == simpleCaption_) return;
  simpleCaption_ = value;
  Invalidate();
}

void TKxStatusBar::SetSimpleFrameStyle(TFrameStyle value) {
  if (value == simpleFrameStyle_) return;
  simpleFrameStyle_ = value;
  Invalidate();
}

bool TKxStatusBar::SizeGripValid() {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return false;
  const bool sizeable = form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin;
  return sizeable && form->WindowState() != wsMaximized;
}

TRect TKxStatusBar::StatusClientRect() {
  TRect r = ClientRect();
  if (!KxVisualStylesActive()) {
    r.Bottom += 1;
    if (simpleStatus_) {
      r.Top = 2;
    } else {
      r.Top = 1;
      r.Left -= 1;
      r.Right += 1;
    }
  } else if (simpleStatus_) {
    r.Left += 1;
    r.Top += 1;
    r.Right -= 1;
  }
  return r;
}

void TKxStatusBar::PaintPaneFrame(const TRect& rect) {
  TCanvas& canvas = *Canvas();
  if (VisualStyle() == vsWinXP && KxVisualStylesActive()) {
    TThemeServices& themes = *ThemeServices();
    themes.DrawElement(canvas.Handle(), themes.GetElementDetails(teStatus, SP_PANE, 0), rect);
    return;
  }
  // Without the platform's visual styles a themed pane falls back to the classic frame.
  if (VisualStyle() == vsGradient) return;
  if (simpleFrameStyle_ == fsFlat) {
    const TColor color = ShiftColorLightness(FlatColor(), FlatColorAdjustment());
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetColor(color);
    canvas.MoveTo(rect.Left + 1, rect.Top);
    canvas.LineTo(rect.Right - 1, rect.Top);
    canvas.MoveTo(rect.Left + 1, rect.Bottom - 1);
    canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
    canvas.MoveTo(rect.Left, rect.Top + 1);
    canvas.LineTo(rect.Left, rect.Bottom - 1);
    canvas.MoveTo(rect.Right - 1, rect.Top + 1);
    canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
  } else {
    PaintFrameStyleAround(canvas, rect, simpleFrameStyle_);
  }
}

void TKxStatusBar::PaintSizeGrip(const TRect& rect) {
  TCanvas& canvas = *Canvas();
  if (VisualStyle() == vsWinXP && KxVisualStylesActive()) {
    TThemeServices& themes = *ThemeServices();
    themes.DrawElement(canvas.Handle(), themes.GetElementDetails(teStatus, SP_GRIPPER, 0),
                       {rect.Right - 20, rect.Top, rect.Right, rect.Bottom});
    return;
  }
  TColor light = clBtnHighlight;
  TColor dark = clBtnShadow;
  if (VisualStyle() == vsGradient) {
    const TKxStatusColors colors = GetSchemeStatusColors(GradientColorStyle());
    light = colors.StartColor;
    dark = colors.FrameColor;
  }
  const TPoint squares[] = {{rect.Right - 5, rect.Bottom - 12}, {rect.Right - 5, rect.Bottom - 8},
                            {rect.Right - 5, rect.Bottom - 4},  {rect.Right - 9, rect.Bottom - 8},
                            {rect.Right - 9, rect.Bottom - 4},  {rect.Right - 13, rect.Bottom - 4}};
  canvas.Brush()->SetStyle(bsSolid);
  for (const auto& [color, d] : {std::pair{light, 0}, std::pair{dark, 1}}) {
    canvas.Brush()->SetColor(color);
    for (const TPoint& p : squares) canvas.FillRect({p.X - d, p.Y - d, p.X - d + 2, p.Y - d + 2});
  }
}

void TKxStatusBar::Paint() {
  TCanvas& canvas = *Canvas();
  TRect client = StatusClientRect();
  if (VisualStyle() == vsWinXP && KxVisualStylesActive()) {
    TThemeServices& themes = *ThemeServices();
    themes.DrawElement(canvas.Handle(), themes.GetElementDetails(teStatus, 0, 0), {0, 0, Width(), Height()});
    if (simpleStatus_ && !simpleCaption_.empty()) {
      canvas.SetFont(Font());
      canvas.Brush()->SetStyle(bsClear);
      RECT r = client;
      const std::wstring text = Utf8ToWide(simpleCaption_);
      DrawTextW(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      canvas.Brush()->SetStyle(bsSolid);
    }
  } else {
    TKxCustomPanel::Paint();
    if (simpleStatus_) {
      TRect pane = client;
      pane.Bottom -= 1;
      PaintPaneFrame(pane);
      const TRect inside{pane.Left + 1, pane.Top + 1, pane.Right - 1, pane.Bottom - 1};
      canvas.SetFont(Font());
      canvas.Brush()->SetStyle(bsClear);
      const int textHeight = canvas.TextHeight("Pp");
      canvas.TextRect(inside, inside.Left + 2, inside.Top + (inside.Bottom - inside.Top - textHeight) / 2,
                      simpleCaption_);
      canvas.Brush()->SetStyle(bsSolid);
    }
  }
  if (showSizeGrip_ && SizeGripValid()) {
    TRect grip = client;
    grip.Bottom -= 1;
    PaintSizeGrip(grip);
  }
}

bool TKxStatusBar::OnGrip(int x, int y) {
  return showSizeGrip_ && !ComponentState().Contains(csDesigning) && SizeGripValid() && x >= Width() - 13 &&
         x < Width() && y >= 0 && y < Height();
}

void TKxStatusBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
      if (OnGrip(message.XPos(), message.YPos())) {
        ReleaseCapture();
        if (TCustomForm* form = GetParentForm(this)) {
          SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, 0);
        }
        return;
      }
      break;
    case WM_SETCURSOR:
      if (HandleAllocated()) {
        const TPoint p = GetCursorClientPos();
        if (OnGrip(p.X, p.Y)) {
          ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZENWSE)));
          message.Result = TRUE;
          return;
        }
      }
      break;
    default: break;
  }
  TKxCustomPanel::WndProc(message);
}

void TKxStatusBar::Resize() {
  TKxCustomPanel::Resize();
  if (Width() < 50) return;
  if (firstResize_) {
    firstResize_ = false;
    lastWidth_ = Width();
    return;
  }
  widthChange_ = Width() - lastWidth_;
  if (autoScalePanes_ && ControlCount() > 0 && widthChange_ != 0) {
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* pane = Controls(i);
      const long double share = lastWidth_ > 0
                                    ? static_cast<long double>(widthChange_) * pane->Width() / lastWidth_
                                    : static_cast<long double>(widthChange_) / ControlCount();
      pane->SetWidth(pane->Width() + static_cast<int>(Round(share)));
    }
    EnableAlign();
  }
  lastWidth_ = Width();
}
