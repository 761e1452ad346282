// TControl: bounds, alignment requests, anchors, state properties with their component
// messages, message routing and mouse events.
#include "toolkit/ui/Control.h"

#include <algorithm>
#include <array>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/MenuLinks.h"
#include "toolkit/ui/WinControl.h"
#include "toolkit/ui/DragDock.h"

const TEnumInfo& EnumTypeInfo(TAlign) {
  static const TEnumInfo info("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TAnchorKind) {
  static const TEnumInfo info("TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TAlignment) {
  static const TEnumInfo info("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TVerticalAlignment) {
  static const TEnumInfo info("TVerticalAlignment", {"taAlignTop", "taAlignBottom", "taVerticalCenter"});
  return info;
}

namespace {
struct CursorName {
  TCursor value;
  const char* name;
};
constexpr std::array<CursorName, 22> kCursorNames{{
    {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},   {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
}};
}  // namespace

bool CursorToIdent(long long cursor, std::string& ident) {
  for (const CursorName& c : kCursorNames) {
    if (c.value == cursor) {
      ident = c.name;
      return true;
    }
  }
  return false;
}

bool IdentToCursor(std::string_view ident, long long& cursor) {
  for (const CursorName& c : kCursorNames) {
    if (SameText(ident, c.name)) {
      cursor = c.value;
      return true;
    }
  }
  return false;
}

TShiftState MouseShiftState(const TMessage& message) { return KeysToShiftState(message.WParam); }

bool IsAccel(wchar_t key, const std::string& caption) {
  const std::wstring text = Utf8ToWide(caption);
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    const auto upper = [](wchar_t c) { return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(
                                           reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c))))); };
    return upper(text[i + 1]) == upper(key);
  }
  return false;
}

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TControl>("TControl", &TComponent::StaticClass())
          .Abstract()
          .Property("Left", &TControl::Left, &TControl::SetLeft)
          .Property("Top", &TControl::Top, &TControl::SetTop)
          .Property("Width", &TControl::Width, &TControl::SetWidth)
          .Property("Height", &TControl::Height, &TControl::SetHeight)
          .Property("Align", &TControl::Align, &TControl::SetAlign)
          .Default(alNone)
          .Property("Anchors", &TControl::Anchors, &TControl::SetAnchors)
          .Default(TAnchors{akLeft, akTop})
          .Property("Color", &TControl::Color, &TControl::SetColor)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Stored([](TControl& c) { return !c.ParentColor(); })
          .Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
          .Default(crDefault)
          .Idents(CursorToIdent, IdentToCursor)
          .Property("DragMode", &TControl::DragMode, &TControl::SetDragMode)
          .Default(dmManual)
          .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Default(true)
          .Property("Font", &TControl::Font, nullptr)
          .Stored([](TControl& c) { return !c.ParentFont(); })
          .Property("Hint", [](TControl& c) { return c.Hint(); }, [](TControl& c, const std::string& v) { c.SetHint(v); })
          .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
          .Default(true)
          .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .Default(true)
          .Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
          .Default(true)
          .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .Stored([](TControl& c) { return !c.ParentShowHint(); })
          .Property("Visible", &TControl::Visible, &TControl::SetVisible)
          .Default(true)
          .Property("OnClick", [](TControl& c) { return c.OnClick; }, [](TControl& c, TNotifyEvent e) { c.OnClick = e; })
          .Property("OnDblClick", [](TControl& c) { return c.OnDblClick; },
                    [](TControl& c, TNotifyEvent e) { c.OnDblClick = e; })
          .Property("OnMouseDown", [](TControl& c) { return c.OnMouseDown; },
                    [](TControl& c, TMouseEvent e) { c.OnMouseDown = e; })
          .Property("OnMouseMove", [](TControl& c) { return c.OnMouseMove; },
                    [](TControl& c, TMouseMoveEvent e) { c.OnMouseMove = e; })
          .Property("OnMouseUp", [](TControl& c) { return c.OnMouseUp; },
                    [](TControl& c, TMouseEvent e) { c.OnMouseUp = e; })
          .Property("OnMouseEnter", [](TControl& c) { return c.OnMouseEnter; },
                    [](TControl& c, TNotifyEvent e) { c.OnMouseEnter = e; })
          .Property("OnMouseLeave", [](TControl& c) { return c.OnMouseLeave; },
                    [](TControl& c, TNotifyEvent e) { c.OnMouseLeave = e; })
          .Property("OnMouseWheel", [](TControl& c) { return c.OnMouseWheel; },
                    [](TControl& c, TMouseWheelEvent e) { c.OnMouseWheel = e; })
          .Property("OnMouseWheelDown", [](TControl& c) { return c.OnMouseWheelDown; },
                    [](TControl& c, TMouseWheelUpDownEvent e) { c.OnMouseWheelDown = e; })
          .Property("OnMouseWheelUp", [](TControl& c) { return c.OnMouseWheelUp; },
                    [](TControl& c, TMouseWheelUpDownEvent e) { c.OnMouseWheelUp = e; })
          .Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
          .Property("OnContextPopup", [](TControl& c) { return c.OnContextPopup; },
                    [](TControl& c, TContextPopupEvent e) { c.OnContextPopup = e; })
          .Property("OnResize", [](TControl& c) { return c.OnResize; },
                    [](TControl& c, TNotifyEvent e) { c.OnResize = e; })
          .Build();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(new TFont()) {
  font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
  windowProc_ = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() {
  DockClientGone(this);
  if (Application != nullptr) Application->ControlDestroyed(this);
  if (parent_ != nullptr) parent_->RemoveControl(this);
  delete font_;
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* value) {
  if (auto* parent = dynamic_cast<TWinControl*>(value)) SetParent(parent);
}

void TControl::ReadState(TReader& reader) {
  controlState_.Include(csReadingState);
  try {
    if (auto* parent = dynamic_cast<TWinControl*>(reader.Parent())) SetParent(parent);
    TComponent::ReadState(reader);
  } catch (...) {
    controlState_.Exclude(csReadingState);
    throw;
  }
  controlState_.Exclude(csReadingState);
}

void TControl::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  for (const char* name : {"ExplicitLeft", "ExplicitTop", "ExplicitWidth", "ExplicitHeight"})
    filer.DefineProperty(name, [](TReader& reader) { reader.ReadInteger(); }, nullptr, false);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  for (TControl* p = parent; p != nullptr; p = p->parent_)
    if (p == this) throw EInvalidOperation("Control cannot have itself as its parent");
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (parent != nullptr) parent->InsertControl(this);
}

// ---- Bounds -------------------------------------------------------------------------------

void TControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  if (parent_ != nullptr && parent_->HandleAllocated() && visible_) {
    const RECT old = BoundsRect();
    InvalidateRect(parent_->Handle(), &old, TRUE);
  }
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (parent_ != nullptr && parent_->HandleAllocated() && visible_) {
    const RECT now = BoundsRect();
    InvalidateRect(parent_->Handle(), &now, TRUE);
  }
  UpdateAnchorRules();
  RequestAlign();
  if (resized && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::UpdateBoundsFrom(int left, int top, int width, int height) {
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  UpdateAnchorRules();
  if (resized) Resize();
}

TRect TControl::ClientRect() { return Rect(0, 0, width_, height_); }

void TControl::SetClientSize(int width, int height) {
  const TRect client = ClientRect();
  SetBounds(left_, top_, width_ + width - client.Width(), height_ + height - client.Height());
}

TPoint TControl::ClientOrigin() {
  if (parent_ == nullptr) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  const TPoint p = parent_->ClientOrigin();
  return {p.X + left_, p.Y + top_};
}

bool TControl::PaletteChanged(bool foreground) {
  if (!visible_) return false;
  const HPALETTE palette = GetPalette();
  if (palette == nullptr) return false;
  HWND window = nullptr;
  const HDC dc = GetDeviceContext(window);
  const HPALETTE old = SelectPalette(dc, palette, foreground ? FALSE : TRUE);
  const UINT changed = RealizePalette(dc);
  SelectPalette(dc, old, TRUE);
  ReleaseDC(window, dc);
  // GDI_ERROR (a display without palettes) changes nothing either.
  if (changed != 0 && changed != GDI_ERROR) Invalidate();
  return true;
}

HDC TControl::GetDeviceContext(HWND& window) {
  if (parent_ == nullptr) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  const HDC dc = parent_->GetDeviceContext(window);
  SetViewportOrgEx(dc, left_, top_, nullptr);
  IntersectClipRect(dc, 0, 0, width_, height_);
  return dc;
}

TPoint TControl::ClientToScreen(TPoint point) {
  const TPoint origin = ClientOrigin();
  return {point.X + origin.X, point.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint point) {
  const TPoint origin = ClientOrigin();
  return {point.X - origin.X, point.Y - origin.Y};
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  anchors_ = {akLeft, akTop};
  RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
  if (value == anchors_) return;
  anchors_ = value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (parent_ == nullptr || align_ != alNone || (parent_ && parent_->realigning_)) return;
  const TRect client = parent_->ClientRect();
  anchorBounds_ = BoundsRect();
  anchorParentSize_ = {client.Width(), client.Height()};
  // While a layout is read, the bounds belong to the parent's size at design time.
  if (ComponentState().Contains(csLoading) && parent_->designSize_.cx > 0) anchorParentSize_ = parent_->designSize_;
  anchorRulesValid_ = true;
}

void TControl::ApplyAnchors(int parentWidth, int parentHeight) {
  if (!anchorRulesValid_ || anchors_ == TAnchors{akLeft, akTop}) return;
  const TRect& b = anchorBounds_;
  const int dw = parentWidth - anchorParentSize_.cx;
  const int dh = parentHeight - anchorParentSize_.cy;
  int left = b.Left;
  int width = b.Width();
  if (anchors_.Contains(akRight)) {
    if (anchors_.Contains(akLeft)) {
      width = b.Width() + dw;
    } else {
      left = b.Left + dw;
    }
  } else if (!anchors_.Contains(akLeft)) {
    left = b.Left + dw / 2;  // neither side: keep the centre
  }
  int top = b.Top;
  int height = b.Height();
  if (anchors_.Contains(akBottom)) {
    if (anchors_.Contains(akTop)) {
      height = b.Height() + dh;
    } else {
      top = b.Top + dh;
    }
  } else if (!anchors_.Contains(akTop)) {
    top = b.Top + dh / 2;
  }
  // Keep the rules: moving because of them is not a new rule.
  const TRect keep = anchorBounds_;
  const TSize keepSize = anchorParentSize_;
  SetBounds(left, top, width, height);
  anchorBounds_ = keep;
  anchorParentSize_ = keepSize;
  anchorRulesValid_ = true;
}

void TControl::RequestAlign() {
  if (parent_ != nullptr) parent_->Realign();
}

// ---- State --------------------------------------------------------------------------------

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  VisibleChanging();
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
  RequestAlign();
}

bool TControl::Showing() const { return visible_ && parent_ != nullptr && parent_->Showing(); }

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

std::string TControl::GetText() { return text_; }

void TControl::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor value) {
  if (value == color_) {
    parentColor_ = false;
    return;
  }
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value && parent_ != nullptr && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

TBiDiMode TControl::BiDiMode() const {
  const TControl* parent = parent_;
  return parentBiDiMode_ && parent != nullptr ? parent->BiDiMode() : biDiMode_;
}

void TControl::SetBiDiMode(TBiDiMode value) {
  const TBiDiMode before = BiDiMode();
  biDiMode_ = value;
  parentBiDiMode_ = false;
  if (value != before) BiDiModeChanged();
}

void TControl::SetParentBiDiMode(bool value) {
  if (value == parentBiDiMode_) return;
  const TBiDiMode before = BiDiMode();
  parentBiDiMode_ = value;
  if (BiDiMode() != before) BiDiModeChanged();
}

void TControl::BiDiModeChanged() {
  Perform(CM_BIDIMODECHANGED);
  Invalidate();
  if (const auto* container = dynamic_cast<const TWinControl*>(this)) {
    for (int i = 0; i < container->ControlCount(); ++i) {
      TControl* child = container->Controls(i);
      if (child->parentBiDiMode_) child->BiDiModeChanged();
    }
  }
}

void TControl::SetFont(TFont* value) { font_->Assign(value); }

void TControl::FontChanged(TObject*) {
  if (!updatingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value && parent_ != nullptr && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetCursor(TCursor value) {
  if (value == cursor_) return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool value) {
  if (value == showHint_) {
    parentShowHint_ = false;
    return;
  }
  showHint_ = value;
  parentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  if (value == parentShowHint_) return;
  parentShowHint_ = value;
  if (value && parent_ != nullptr) Perform(CM_PARENTSHOWHINTCHANGED);
}

bool TControl::MouseCapture() const {
  if (auto* win = dynamic_cast<const TWinControl*>(this)) return win->HandleAllocated() && GetCapture() == win->handle_;
  return parent_ != nullptr && parent_->captureControl_ == this && parent_->HandleAllocated() &&
         GetCapture() == parent_->handle_;
}

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  if (auto* win = dynamic_cast<TWinControl*>(this)) {
    if (value) {
      SetCapture(win->Handle());
    } else {
      ReleaseCapture();
    }
    return;
  }
  if (parent_ == nullptr) return;
  if (value) {
    parent_->captureControl_ = this;
    SetCapture(parent_->Handle());
  } else {
    parent_->captureControl_ = nullptr;
    ReleaseCapture();
  }
}

TCustomForm* TControl::ParentForm() const { return GetParentForm(const_cast<TControl*>(this)); }

// ---- Messages -----------------------------------------------------------------------------

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  windowProc_(message);
  return message.Result;
}

void TControl::WndProc(TMessage& message) {
  if (DragMessage(this, message)) return;
  Dispatch(message);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN: WMMouseButton(message, mbLeft, true, false); return;
    case WM_LBUTTONDBLCLK: WMMouseButton(message, mbLeft, true, true); return;
    case WM_LBUTTONUP: WMMouseButton(message, mbLeft, false, false); return;
    case WM_RBUTTONDOWN: WMMouseButton(message, mbRight, true, false); return;
    case WM_RBUTTONDBLCLK: WMMouseButton(message, mbRight, true, true); return;
    case WM_RBUTTONUP: WMMouseButton(message, mbRight, false, false); return;
    case WM_MBUTTONDOWN: WMMouseButton(message, mbMiddle, true, false); return;
    case WM_MBUTTONDBLCLK: WMMouseButton(message, mbMiddle, true, true); return;
    case WM_MBUTTONUP: WMMouseButton(message, mbMiddle, false, false); return;
    case WM_MOUSEMOVE: WMMouseMove(message); return;
    case WM_CANCELMODE: WMCancelMode(message); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(message); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(message); return;
    case CM_COLORCHANGED: CMColorChanged(message); return;
    case CM_FONTCHANGED: CMFontChanged(message); return;
    case CM_TEXTCHANGED: CMTextChanged(message); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(message); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(message); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(message); return;
    case CM_MOUSEENTER: CMMouseEnter(message); return;
    case CM_MOUSELEAVE: CMMouseLeave(message); return;
    case CM_HITTEST: CMHitTest(message); return;
    case CM_MOUSEWHEEL: CMMouseWheel(message); return;
    case CM_SYSCOLORCHANGE: Invalidate(); return;
    case WM_CONTEXTMENU: WMContextMenu(message); return;
    default: DefaultHandler(message); return;
  }
}

void TControl::WMMouseButton(TMessage& message, TMouseButton button, bool down, bool doubleClick) {
  const int x = message.XPos();
  const int y = message.YPos();
  TShiftState shift = MouseShiftState(message);
  if (down) {
    if (doubleClick) shift.Include(ssDouble);
    if (button == mbLeft && dragMode_ == dmAutomatic && !ComponentState().Contains(csDesigning)) {
      BeginDrag(false);
      return;
    }
    if (button == mbLeft) {
      if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
      if (doubleClick && controlStyle_.Contains(csDoubleClicks)) DblClick();
    }
    if (!controlStyle_.Contains(csNoStdEvents)) MouseDown(button, shift, x, y);
    DefaultHandler(message);
    return;
  }
  if (button == mbLeft) {
    if (controlState_.Contains(csClicked)) {
      controlState_.Exclude(csClicked);
      if (ClientRect().Contains({x, y})) Click();
    }
    if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
  }
  if (!controlStyle_.Contains(csNoStdEvents)) MouseUp(button, shift, x, y);
  DefaultHandler(message);
}

void TControl::WMMouseMove(TMessage& message) {
  if (!controlStyle_.Contains(csNoStdEvents)) MouseMove(MouseShiftState(message), message.XPos(), message.YPos());
  DefaultHandler(message);
}

void TControl::WMCancelMode(TMessage& message) {
  if (MouseCapture()) {
    SetMouseCapture(false);
    controlState_.Exclude(csClicked);
  }
  DefaultHandler(message);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }

void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }

void TControl::CMMouseWheel(TMessage& message) {
  const TShiftState shift = KeysToShiftState(LOWORD(message.WParam));
  const int delta = static_cast<short>(HIWORD(message.WParam));
  const TPoint pos{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  if (DoMouseWheel(shift, delta, pos)) {
    message.Result = 1;
  } else if (parent_ != nullptr) {
    message.Result = parent_->Perform(CM_MOUSEWHEEL, message.WParam, message.LParam);
  }
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  bool handled = false;
  OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
  if (!handled && wheelDelta < 0) handled = DoMouseWheelDown(shift, mousePos);
  if (!handled && wheelDelta > 0) handled = DoMouseWheelUp(shift, mousePos);
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  bool handled = false;
  OnMouseWheelDown(this, shift, mousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  bool handled = false;
  OnMouseWheelUp(this, shift, mousePos, handled);
  return handled;
}

void TControl::ChangeScale(int m, int d) {
  if (m == d || d == 0) return;
  if (!parentFont_) {
    updatingParentFont_ = true;
    font_->SetHeight(MulDiv(font_->Height(), m, d));
    updatingParentFont_ = false;
  }
  SetBounds(MulDiv(left_, m, d), MulDiv(top_, m, d), MulDiv(width_, m, d), MulDiv(height_, m, d));
}

void TControl::SetPopupMenu(TComponent* value) {
  if (value == popupMenu_) return;
  if (value != nullptr && dynamic_cast<TPopupMenuLink*>(value) == nullptr)
    throw EInvalidOperation(Format("%s is not a pop-up menu", {value->Name()}));
  if (popupMenu_ != nullptr) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::WMContextMenu(TMessage& message) {
  // Screen position; (-1, -1) when the keyboard asked for the menu.
  TPoint screen{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  const bool fromKeyboard = screen.X == -1 && screen.Y == -1;
  bool handled = false;
  DoContextPopup(fromKeyboard ? TPoint(-1, -1) : ScreenToClient(screen), handled);
  message.Result = handled ? 1 : 0;
  if (handled) return;
  if (auto* menu = dynamic_cast<TPopupMenuLink*>(popupMenu_); menu != nullptr && menu->AutoPopup()) {
    if (fromKeyboard) screen = ClientToScreen({0, 0});
    menu->Popup(screen.X, screen.Y, this);
    message.Result = 1;
    return;
  }
  DefaultHandler(message);
}

void TControl::Click() { OnClick(this); }

void TControl::DblClick() { OnDblClick(this); }

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMVisibleChanged(TMessage&) {
  if (parent_ != nullptr && parent_->HandleAllocated()) {
    const RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, TRUE);
  }
  if (hostDockSite_ != nullptr) hostDockSite_->DockClientChanged(this, CM_VISIBLECHANGED);
}

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMTextChanged(TMessage&) {
  Invalidate();
  if (hostDockSite_ != nullptr) hostDockSite_->DockClientChanged(this, CM_TEXTCHANGED);
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!parentFont_ || parent_ == nullptr) return;
  updatingParentFont_ = true;
  try {
    font_->Assign(parent_->Font());
  } catch (...) {
    updatingParentFont_ = false;
    throw;
  }
  updatingParentFont_ = false;
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!parentColor_ || parent_ == nullptr) return;
  if (color_ != parent_->Color()) {
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
  }
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (parentShowHint_ && parent_ != nullptr) showHint_ = parent_->ShowHint();
}

void TControl::CMMouseEnter(TMessage& message) {
  if (parent_ != nullptr) parent_->Perform(CM_MOUSEENTER, 0, message.LParam != 0 ? message.LParam : reinterpret_cast<LPARAM>(this));
  if (message.LParam == 0) MouseEnter();
}

void TControl::CMMouseLeave(TMessage& message) {
  if (parent_ != nullptr) parent_->Perform(CM_MOUSELEAVE, 0, message.LParam != 0 ? message.LParam : reinterpret_cast<LPARAM>(this));
  if (message.LParam == 0) MouseLeave();
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parent_ != nullptr) {
    if (parentFont_) Perform(CM_PARENTFONTCHANGED);
    if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
    if (parentShowHint_) Perform(CM_PARENTSHOWHINTCHANGED);
  }
  UpdateAnchorRules();
  RequestAlign();
}

// ---- Painting -----------------------------------------------------------------------------

void TControl::Invalidate() {
  if (parent_ != nullptr && parent_->HandleAllocated() && visible_) {
    const RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, !controlStyle_.Contains(csOpaque));
  }
}

void TControl::Update() {
  if (parent_ != nullptr) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (parent_ == nullptr) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
    SetWindowPos(win->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
  RequestAlign();
}

void TControl::SendToBack() {
  if (parent_ == nullptr) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
    SetWindowPos(win->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
  RequestAlign();
}
