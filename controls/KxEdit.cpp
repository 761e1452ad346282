// TKxCustomEdit and TKxEdit: state colours, hot state, the custom frame and the drop button
// painted in the non-client area, the drop-down sequence, Enter-as-Tab, the cue banner, layout
// rules under a frame controller and the obsolete frame entries of older layouts.
#include "controls/KxEdit.h"

#include <commctrl.h>
#include <vssym32.h>

#include <algorithm>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxCommonText.h"
#include "controls/KxFrameSettings.h"
#include "controls/KxOldPropReader.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/ui/Themes.h"

namespace {

bool StateLoading(const TComponent& c) { return c.ComponentState().Contains(csLoading); }

}  // namespace

// ---- Class information ------------------------------------------------------------------------

const TClassInfo& TKxCustomEdit::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxCustomEdit>("TKxCustomEdit", &TCustomMaskEdit::StaticClass()).Abstract().Build();
  return info;
}

const TClassInfo& TKxEdit::StaticClass() {
  using C = TKxEdit;
  const auto unowned = UnownedFrameSetting<C>;
  static const TClassInfo info =
      AddFrameProperties(
          TClassBuilder<C>("TKxEdit", &TKxCustomEdit::StaticClass())
              .Property("Color", &C::Color, &C::SetColor)
              .Default(clWindow)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored([](C& c) { return !c.ParentColor() && !c.ControllerOwns(fcpColor) && c.Enabled(); })
              .Property("Alignment", &C::Alignment, &C::SetAlignment)
              .Default(taLeftJustify)
              .Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor)
              .Default(clBtnFace)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored(unowned(fcpDisabledColor))
              .Property("FocusColor", &C::FocusColor, &C::SetFocusColor)
              .Default(clWindow)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored([](C& c) {
                return !c.ControllerOwns(fcpFocusColor) && KxColorToRGB(c.FocusColor()) != KxColorToRGB(c.Color());
              }))
          .Property("ReadOnly", [](C& c) { return c.ReadOnly(); }, [](C& c, bool v) { c.SetReadOnly(v); })
          .Default(false)
          .Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor)
          .Default(clInfoBk)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Stored(unowned(fcpReadOnlyColor))
          .Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus)
          .Default(false)
          .Stored(unowned(fcpReadOnlyColorOnFocus))
          .Property("TabOnEnter", &C::TabOnEnter, &C::SetTabOnEnter)
          .Default(false)
          .Property("Text", [](C& c) { return c.ReadText(); }, [](C& c, const std::string& v) { c.ChangeText(v); })
          .Property("TextHint", [](C& c) { return c.TextHint(); }, [](C& c, const std::string& v) { c.SetTextHint(v); })
          .Property("TextHintVisibleOnFocus", &C::TextHintVisibleOnFocus, &C::SetTextHintVisibleOnFocus)
          .Default(false)
          .Property("OnMouseEnter", [](C& c) { return c.OnMouseEnter; }, [](C& c, TNotifyEvent e) { c.OnMouseEnter = e; })
          .Property("OnMouseLeave", [](C& c) { return c.OnMouseLeave; }, [](C& c, TNotifyEvent e) { c.OnMouseLeave = e; })
          .Build();
  return info;
}

// ---- Construction -----------------------------------------------------------------------------

TKxCustomEdit::TKxCustomEdit(TComponent* owner) : TCustomMaskEdit(owner), ncCanvas_(new TCanvas()) {
  TControlStyle style = ControlStyle();
  style.Exclude(csSetCaption);
  style.Include(csCaptureMouse);
  SetControlStyle(style);
  SetColor(clWindow);
}

TKxCustomEdit::~TKxCustomEdit() {
  if (frameController_ != nullptr) frameController_->UnregisterControl(this);
  delete ncCanvas_;
}

bool TKxCustomEdit::ControllerOwns(TKxFrameControllerProperty property) const {
  return frameController_ != nullptr && notifications_.Contains(property);
}

bool TKxCustomEdit::UsesThemedFrame() const {
  return framingPreference_ == fpXPThemes && KxVisualStylesActive();
}

int TKxCustomEdit::DropButtonWidth() const { return GetSystemMetrics(SM_CXVSCROLL); }

// ---- State colour and hot state ---------------------------------------------------------------

void TKxCustomEdit::RefreshStateColor() {
  if (StateLoading(*this)) return;
  updatingColor_ = true;
  if (!Enabled()) {
    SetColor(disabledColor_);
  } else if (inControl_) {
    SetColor(ReadOnly() && readOnlyColorOnFocus_ ? readOnlyColor_ : focusColor_);
  } else {
    SetColor(ReadOnly() ? readOnlyColor_ : normalColor_);
  }
  updatingColor_ = false;
}

void TKxCustomEdit::ColorChanged() {
  if (updatingColor_) return;
  if (focusColor_ == normalColor_) focusColor_ = Color();
  normalColor_ = Color();
  if (frameVisible_ && !UsesThemedFrame()) RepaintNonClientFrame();
}

void TKxCustomEdit::HotStateChanged(bool isMouse, bool value) {
  if (isMouse) overControl_ = value; else inControl_ = value;
  if (dropButtonShown_) {
    if ((flatButtons_ || frameHotTrack_ || KxVisualStylesActive()) && dropButtonState_ == 0 && HandleAllocated()) {
      // The whole client area, or the strip on the button's side reaching into its frame part.
      TRect area = ClientRect();
      if (!frameHotTrack_) {
        const int reach = DropButtonWidth() + 2;
        area = UseRightToLeftAlignment() ? TRect{area.Left - reach, area.Top, area.Left + reach, area.Bottom}
                                         : TRect{area.Right - reach, area.Top, area.Right + reach, area.Bottom};
      }
      const RECT r = area;
      RedrawWindow(Handle(), &r, nullptr, RDW_FRAME | RDW_NOERASE | RDW_INVALIDATE);
    }
  } else if (frameHotTrack_) {
    RepaintNonClientFrame();
  }
  RefreshStateColor();
}

void TKxCustomEdit::RepaintNonClientFrame() {
  if (HandleAllocated()) RedrawNonClientFrame(Handle(), ClientRect());
}

TRect TKxCustomEdit::GetEditArea() { return ClientRect(); }

std::string TKxCustomEdit::GetRawText() { return Text(); }

// ---- Setters ----------------------------------------------------------------------------------

void TKxCustomEdit::SetReadOnly(bool value) {
  if (value == ReadOnly()) return;
  TCustomMaskEdit::SetReadOnly(value);
  ReadOnlyStateChanged();
}

void TKxCustomEdit::ReadOnlyStateChanged() {
  if (IsReadOnlyNow()) {
    SuspendDropButton();
  } else {
    ResumeDropButton();
  }
  RefreshStateColor();
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TKxCustomEdit::SuspendDropButton() { SetDropButtonShown(false); }

void TKxCustomEdit::ResumeDropButton() {
  if (dropButtonVisible_) SetDropButtonShown(true);
}

void TKxCustomEdit::SetDropButtonVisible(bool value) {
  if (value == dropButtonVisible_) return;
  dropButtonVisible_ = value;
  SetDropButtonShown(value && !IsReadOnlyNow());
}

void TKxCustomEdit::SetDropButtonShown(bool value) {
  if (value == dropButtonShown_) return;
  dropButtonShown_ = value;
  RecalcFrame();
}

void TKxCustomEdit::SetDropButtonState(int value) {
  if (value == dropButtonState_) return;
  dropButtonState_ = value;
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_NOERASE | RDW_INVALIDATE);
}

void TKxCustomEdit::SetDropButtonsFlat(bool value) {
  if (value == flatButtons_) return;
  flatButtons_ = value;
  RepaintNonClientFrame();
}

void TKxCustomEdit::SetFlatButtonColor(TColor value) {
  if (value == flatButtonColor_) return;
  flatButtonColor_ = value;
  RepaintNonClientFrame();
}

void TKxCustomEdit::RecalcFrame() {
  if (!HandleAllocated()) return;
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TKxCustomEdit::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TKxCustomEdit::SetDisabledColor(TColor value) {
  if (value == disabledColor_) return;
  disabledColor_ = value;
  if (!Enabled()) RefreshStateColor();
}

void TKxCustomEdit::SetFocusColor(TColor value) {
  if (value == focusColor_) return;
  focusColor_ = value;
  if (inControl_) RefreshStateColor();
}

void TKxCustomEdit::SetReadOnlyColor(TColor value) {
  if (value == readOnlyColor_) return;
  readOnlyColor_ = value;
  if (ReadOnly()) RefreshStateColor();
}

void TKxCustomEdit::SetReadOnlyColorOnFocus(bool value) {
  if (value == readOnlyColorOnFocus_) return;
  readOnlyColorOnFocus_ = value;
  if (ReadOnly() && inControl_) RefreshStateColor();
}

void TKxCustomEdit::SetFrameColor(TColor value) {
  if (ChangeFrameSetting(frameColor_, value)) RepaintNonClientFrame();
}

void TKxCustomEdit::SetFrameHotColor(TColor value) {
  if (ChangeFrameSetting(frameHotColor_, value)) RepaintNonClientFrame();
}

void TKxCustomEdit::SetFrameHotStyle(TFrameStyle value) {
  if (ChangeFrameSetting(frameHotStyle_, value)) RepaintNonClientFrame();
}

void TKxCustomEdit::SetFrameSides(TSides value) {
  if (ChangeFrameSetting(frameSides_, value)) RepaintNonClientFrame();
}

void TKxCustomEdit::SetFrameStyle(TFrameStyle value) {
  if (ChangeFrameSetting(frameStyle_, value)) RepaintNonClientFrame();
}

void TKxCustomEdit::SetFrameHotTrack(bool value) {
  if (value == frameHotTrack_) return;
  frameHotTrack_ = value;
  if (value) {
    SetFrameVisible(true);
    if (!StateLoading(*this)) frameSides_ = kAllSides;
  }
  RepaintNonClientFrame();
  Invalidate();
}

void TKxCustomEdit::SetFrameVisible(bool value) {
  if (value == frameVisible_) return;
  frameVisible_ = value;
  if (value) SetCtl3D(true);
  if (HandleAllocated()) RecreateWnd();
}

void TKxCustomEdit::SetFramingPreference(TFramingPreference value) {
  if (value == framingPreference_) return;
  framingPreference_ = value;
  if (value == fpCustomFraming) RepaintNonClientFrame();
}

void TKxCustomEdit::SetFrameController(TKxFrameController* value) {
  ChangeFrameController(this, frameController_, value);
}

void TKxCustomEdit::SetTextHint(const std::string& value) {
  if (value == textHint_) return;
  textHint_ = value;
  if (!StateLoading(*this)) ApplyTextHint(textHint_);
}

void TKxCustomEdit::SetTextHintVisibleOnFocus(bool value) {
  if (value == textHintVisibleOnFocus_) return;
  textHintVisibleOnFocus_ = value;
  if (!StateLoading(*this)) ApplyTextHint(textHint_);
}

void TKxCustomEdit::ApplyTextHint(const std::string& text) {
  if (!HandleAllocated() || !KxVisualStylesActive() || !IsWindowsVersionAtLeast(5)) return;
  SendTextMessage(Handle(), EM_SETCUEBANNER, textHintVisibleOnFocus_ ? TRUE : FALSE, text);
}

void TKxCustomEdit::Notification(TComponent* component, TOperation operation) {
  TCustomMaskEdit::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxCustomEdit::ValidateEdit() {
  try {
    TCustomMaskEdit::ValidateEdit();
  } catch (const Exception&) {
    if (!OnValidateError) throw;
    std::string message;
    OnValidateError(this, message);
    if (!message.empty()) throw EDBEditError(message);
    throw;
  }
}

// ---- Older layouts ----------------------------------------------------------------------------

void TKxCustomEdit::DefineProperties(TFiler& filer) {
  TCustomMaskEdit::DefineProperties(filer);
  DefineOldFrameProperties(filer, [this](bool flat) { SetFrameHotTrack(flat); }, frameStyle_, frameHotStyle_);
}

// ---- Window -----------------------------------------------------------------------------------

void TKxCustomEdit::CreateParams(TCreateParams& params) {
  TCustomMaskEdit::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.Style &= ~static_cast<DWORD>(ES_LEFT | ES_RIGHT | ES_CENTER | ES_MULTILINE);
  if (alignment_ == taRightJustify) params.Style |= ES_RIGHT;
  if (alignment_ == taCenter) params.Style |= ES_CENTER;
}

void TKxCustomEdit::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  ApplyTextHint(textHint_);
  if (dropButtonShown_) RecalcFrame();
}

void TKxCustomEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  RefreshStateColor();
  HotStateChanged(false, false);
}

void TKxCustomEdit::KeyPress(wchar_t& key) {
  if (tabOnEnter_ && key == VK_RETURN) {
    key = 0;
    if (HandleAllocated()) PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  TCustomMaskEdit::KeyPress(key);
  // Windows 95's right-aligned edit takes Enter as a character of its own.
  if (key == VK_RETURN && alignment_ == taRightJustify && IsWindowsVersion(0)) key = 0;
}

void TKxCustomEdit::DoEnter() {
  HotStateChanged(false, true);
  // Windows 95 does not select the text of an edit the focus enters.
  if (IsWindowsVersion(0) && AutoSelect() && HandleAllocated() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
  TCustomMaskEdit::DoEnter();
}

void TKxCustomEdit::DoExit() {
  HotStateChanged(false, false);
  TCustomMaskEdit::DoExit();
}

void TKxCustomEdit::MouseEnter() {
  if (ComponentState().Contains(csDesigning)) return;
  OnMouseEnter(this);
  HotStateChanged(true, true);
}

void TKxCustomEdit::MouseLeave() {
  OnMouseLeave(this);
  HotStateChanged(true, false);
}

// ---- Drop button ------------------------------------------------------------------------------

TRect TKxCustomEdit::DropButtonWindowRect() {
  if (!dropButtonShown_) return {};
  TRect r{0, 0, Width(), Height()};
  if (BorderStyle() == bsSingleBorder) {
    const int d = KxVisualStylesActive() ? 1 : 2;
    r = {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d};
  }
  // The button stands at the right, at the left in a right-to-left edit.
  if (UseRightToLeftAlignment()) {
    r.Right = r.Left + DropButtonWidth();
  } else {
    r.Left = r.Right - DropButtonWidth();
  }
  return r;
}

bool TKxCustomEdit::PointOnDropButton(TPoint client) {
  if (!dropButtonShown_ || !HandleAllocated()) return false;
  const bool beside = UseRightToLeftAlignment() ? client.X < 0 : client.X >= ClientWidth();
  return beside && client.Y >= 0 && client.Y < ClientHeight();
}

void TKxCustomEdit::DropDownSequence() {
  if (droppedDown_ || !HandleAllocated()) return;
  droppedDown_ = true;
  SetCapture(Handle());
  // Raised, released and unguarded however the handlers end, so the next drop-down works.
  auto finish = [this] {
    SetDropButtonState(0);
    if (GetCapture() == Handle()) ReleaseCapture();
    droppedDown_ = false;
  };
  try {
    SetDropButtonState(2);
    OnDropDown(this);
    OnCloseUp(this);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TKxCustomEdit::PaintDropButton(const TRect& rect) {
  TCanvas& canvas = *ncCanvas_;
  const bool hot = inControl_ || overControl_;
  const bool down = dropButtonState_ == 2;
  if (KxVisualStylesActive()) {
    if (!flatButtons_ || hot) {
      int state = CBXS_NORMAL;
      if (!Enabled()) state = CBXS_DISABLED;
      else if (down) state = CBXS_PRESSED;
      else if (hot) state = CBXS_HOT;
      TRect r = rect;
      if (IsWindowsVersionAtLeast(7)) {
        --r.Top;
        ++r.Bottom;
        ++r.Right;
      }
      TThemeServices& themes = *ThemeServices();
      themes.DrawElement(canvas.Handle(), themes.GetElementDetails(teComboBox, CP_DROPDOWNBUTTON, state), r);
    } else {
      canvas.Brush()->SetColor(Color());
      canvas.FillRect(rect);
      PaintDropDownArrow(canvas, rect, 1, Enabled());
    }
    return;
  }
  if (!flatButtons_) {
    RECT r = rect;
    UINT state = DFCS_SCROLLCOMBOBOX;
    if (down) state |= DFCS_PUSHED | DFCS_FLAT;
    if (!Enabled()) state |= DFCS_INACTIVE;
    DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, state);
    return;
  }
  if (hot) {
    canvas.Brush()->SetColor(flatButtonColor_);
    TRect inside = rect;
    if (flatButtonColor_ == clBtnFace) {
      inside = down ? PaintFrameBevel(canvas, rect, clBtnShadow, clBtnHighlight, 1, kAllSides)
                    : PaintFrameBevel(canvas, rect, clBtnHighlight, clBtnShadow, 1, kAllSides);
    } else {
      inside = PaintColorFrameStyleAround(canvas, rect, flatButtonColor_, down ? fsStatus : fsPopup);
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(flatButtonColor_);
    canvas.FillRect(inside);
    PaintDropDownArrow(canvas, inside, 0, Enabled());
    return;
  }
  TColor state = normalColor_;
  if (!Enabled()) state = disabledColor_;
  else if (inControl_) state = ReadOnly() && readOnlyColorOnFocus_ ? readOnlyColor_ : focusColor_;
  else if (ReadOnly()) state = readOnlyColor_;
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(state);
  canvas.FillRect(rect);
  PaintDropDownArrow(canvas, rect, 0, Enabled());
}

void TKxCustomEdit::PaintNonClient(HDC dc) {
  TCanvas& canvas = *ncCanvas_;
  const int saved = SaveDC(dc);
  canvas.SetHandle(dc);
  canvas.Brush()->SetStyle(bsSolid);
  if (frameVisible_ && !UsesThemedFrame()) {
    const bool hot = frameHotTrack_ && (inControl_ || overControl_);
    PaintControlFrame(canvas, Width(), Height(), hot ? frameHotStyle_ : frameStyle_, Color(),
                      hot ? frameHotColor_ : frameColor_, frameSides_, false);
  }
  if (dropButtonShown_) {
    const TRect button = DropButtonWindowRect();
    TRect inner{0, 0, Width(), Height()};
    if (BorderStyle() == bsSingleBorder) {
      const int d = KxVisualStylesActive() ? 1 : 2;
      inner = {inner.Left + d, inner.Top + d, inner.Right - d, inner.Bottom - d};
    }
    IntersectClipRect(dc, inner.Left, inner.Top, inner.Right, inner.Bottom);
    PaintDropButton(button);
    ExcludeClipRect(dc, button.Left, button.Top, button.Right, button.Bottom);
    // What lies between the client area and the button (a pixel under themes).
    if (HandleAllocated()) {
      POINT origin{0, 0};
      ::ClientToScreen(Handle(), &origin);
      RECT window{};
      GetWindowRect(Handle(), &window);
      const int x = origin.x - window.left;
      const int y = origin.y - window.top;
      ExcludeClipRect(dc, x, y, x + ClientWidth(), y + ClientHeight());
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(inner);
  }
  canvas.SetHandle(nullptr);
  RestoreDC(dc, saved);
}

// ---- Messages ---------------------------------------------------------------------------------

void TKxCustomEdit::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT: {
      TCustomMaskEdit::WndProc(message);
      if (!HandleAllocated()) return;
      const HDC dc = GetWindowDC(Handle());
      if (dc != nullptr) {
        PaintNonClient(dc);
        ReleaseDC(Handle(), dc);
      }
      if (frameVisible_ && !UsesThemedFrame()) message.Result = 0;
      return;
    }
    case WM_PRINT:
      TCustomMaskEdit::WndProc(message);
      if ((message.LParam & PRF_NONCLIENT) != 0) PaintNonClient(reinterpret_cast<HDC>(message.WParam));
      return;
    case WM_NCCALCSIZE:
      TCustomMaskEdit::WndProc(message);
      if (dropButtonShown_) {
        auto* r = reinterpret_cast<RECT*>(message.LParam);  // rgrc[0] leads NCCALCSIZE_PARAMS too
        const int room = DropButtonWidth() - (KxVisualStylesActive() ? 1 : 0);
        if (UseRightToLeftAlignment()) {
          r->left = std::min(r->left + room, r->right);
        } else {
          r->right = std::max(r->right - room, r->left);
        }
      }
      return;
    case WM_NCHITTEST: {
      TCustomMaskEdit::WndProc(message);
      overDropButton_ = false;
      if (dropButtonShown_ && HandleAllocated()) {
        RECT window{};
        GetWindowRect(Handle(), &window);
        const TRect b = DropButtonWindowRect();
        const int x = static_cast<short>(LOWORD(message.LParam)) - window.left;
        const int y = static_cast<short>(HIWORD(message.LParam)) - window.top;
        if (x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom) {
          overDropButton_ = true;
          message.Result = HTCLIENT;
        }
      }
      return;
    }
    case WM_SETCURSOR:
      if (overDropButton_ && dropButtonShown_) {
        ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
        message.Result = TRUE;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (dropButtonShown_ && (overDropButton_ || PointOnDropButton({message.XPos(), message.YPos()}))) {
        if (!Focused() && CanFocus()) SetFocus();
        DropDownSequence();
        return;
      }
      if (!droppedDown_ && !Focused() && GetCapture() == Handle()) {
        ReleaseCapture();
        SetDropButtonState(0);
      }
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      if (dropButtonShown_ && (overDropButton_ || PointOnDropButton({message.XPos(), message.YPos()}))) return;
      break;
    case WM_LBUTTONUP:
      if (!droppedDown_) {
        if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
        SetDropButtonState(0);
      }
      break;
    case WM_KILLFOCUS:
      if (!droppedDown_) {
        if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
        SetDropButtonState(0);
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const bool alt = message.Msg == WM_SYSKEYDOWN || (GetKeyState(VK_MENU) & 0x8000) != 0;
      if (dropButtonShown_ && (message.WParam == VK_F4 || (alt && message.WParam == VK_DOWN))) {
        DropDownSequence();
        message.Result = 0;
        return;
      }
      break;
    }
    case WM_SIZE:
      TCustomMaskEdit::WndProc(message);
      if (frameVisible_ && !UsesThemedFrame()) RepaintNonClientFrame();
      return;
    case CM_ENABLEDCHANGED:
      TCustomMaskEdit::WndProc(message);
      RefreshStateColor();
      if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return;
    case CM_COLORCHANGED:
      TCustomMaskEdit::WndProc(message);
      ColorChanged();
      return;
    case CM_BIDIMODECHANGED:
      // The drop button's side changed: the client area moves to the other side of it.
      if (dropButtonShown_ && HandleAllocated()) RecalcFrame();
      break;
    case CM_PARENTCOLORCHANGED:
      TCustomMaskEdit::WndProc(message);
      if (ParentColor()) ColorChanged();
      return;
    default: break;
  }
  TCustomMaskEdit::WndProc(message);
}
