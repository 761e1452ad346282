// TControl: the base of every visual control, windowed or not. It keeps bounds, alignment and
// anchors, visibility, enabled state, text, colour and font (optionally the parent's), cursor
// and hint, and routes every message through its WindowProc (replaceable, so other objects
// can hook a control's messages and pass them on) to WndProc and the per-message handlers.
// Non-windowed controls (TGraphicControl) receive their paint and mouse messages from their
// parent window, translated into their own coordinates.
//
// Left button on a control (csCaptureMouse, csClickEvents in ControlStyle):
//
//   state     event                          action                          next
//   --------  -----------------------------  ------------------------------  --------
//   idle      button down                    capture, csClicked, OnMouseDown pressed
//   pressed   mouse move (anywhere)          OnMouseMove (captured)          pressed
//   pressed   button up inside ClientRect    clear csClicked, OnClick,       idle
//                                            release, OnMouseUp
//   pressed   button up outside              clear csClicked, release,       idle
//                                            OnMouseUp
//   pressed   WM_CANCELMODE / capture lost   clear csClicked, release        idle
//
// A non-windowed control's capture is its parent window's, which keeps sending the mouse
// messages to that control until the button goes up.
//
// Property changes are announced with component messages: a control's own change to itself
// (CM_ENABLEDCHANGED, CM_COLORCHANGED, CM_FONTCHANGED, CM_TEXTCHANGED, CM_VISIBLECHANGED) and,
// for its children, CM_PARENTFONTCHANGED / CM_PARENTCOLORCHANGED.
#pragma once

#include <string>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/Set.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/ui/Messages.h"

class TWinControl;
class TCustomForm;
class TFont;
class TEnumInfo;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
// Reading direction: right-to-left mirrors alignment and layout (bdRightToLeft) or only the
// reading order.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
const TEnumInfo& EnumTypeInfo(TAlign);
const TEnumInfo& EnumTypeInfo(TAnchorKind);
const TEnumInfo& EnumTypeInfo(TAlignment);
const TEnumInfo& EnumTypeInfo(TVerticalAlignment);

enum TControlStyleFlag {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
  csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground
};
using TControlStyle = TSet<TControlStyleFlag>;
enum TControlStateFlag {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating, csPaintCopy,
  csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateFlag>;

using TCursor = short;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
// Cursor properties stream as identifiers ("crHandPoint") when the value has one.
bool CursorToIdent(long long cursor, std::string& ident);
bool IdentToCursor(std::string_view ident, long long& cursor);

// Drag and dock (the drag itself: DragDock.h).
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
const TEnumInfo& EnumTypeInfo(TDragMode);
const TEnumInfo& EnumTypeInfo(TDragKind);
// Sender, source, x, y (the sender's client coordinates), state, accept.
using TDragOverEvent = TMethodEvent<TObject*, TObject*, int, int, TDragState, bool&>;
using TDragDropEvent = TMethodEvent<TObject*, TObject*, int, int>;
// Sender, target (null when nothing took the drop), x, y (the target's coordinates).
using TEndDragEvent = TMethodEvent<TObject*, TObject*, int, int>;

using TMouseEvent = TMethodEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TMethodEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TMethodEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TMethodEvent<TObject*, wchar_t&>;
// Shift state, wheel delta (positive: away from the user), mouse position (screen), handled.
using TMouseWheelEvent = TMethodEvent<TObject*, TShiftState, int, TPoint, bool&>;
using TMouseWheelUpDownEvent = TMethodEvent<TObject*, TShiftState, TPoint, bool&>;
// Mouse position in client coordinates ((-1, -1) when opened from the keyboard), handled.
using TContextPopupEvent = TMethodEvent<TObject*, TPoint, bool&>;

// True when `caption` marks `key` as its accelerator ("&Start" and 's' or 'S'); "&&" is a
// plain ampersand.
bool IsAccel(wchar_t key, const std::string& caption);

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- Parent ------------------------------------------------------------------------
  TWinControl* Parent() const { return parent_; }
  // Moves the control into `parent`'s controls (null: out of any). A control cannot be its
  // own parent or a parent of its parent (EInvalidOperation).
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  // Reading a layout: the control joins the reader's current parent before its properties
  // are read, so parent font and colour apply unless the layout sets its own.
  void ReadState(TReader& reader) override;
  // Layout entries of other tools' layouts that carry no state here ("ExplicitLeft" ...) are
  // read and ignored.
  void DefineProperties(TFiler& filer) override;

  // ---- Bounds (in the parent's client coordinates) -------------------------------------
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  // Moves and sizes; the parent re-aligns its children and OnResize follows a size change.
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().Width(); }
  int ClientHeight() { return ClientRect().Height(); }
  void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
  void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
  virtual void SetClientSize(int width, int height);
  // Screen position of the client area's origin.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(TPoint point);
  TPoint ScreenToClient(TPoint point);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value);

  // ---- State -------------------------------------------------------------------------
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  // Asks the parent to show this control (Parent()->ShowControl), then makes it visible.
  void Show();
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a top-level window visible too.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  // Caption and Text are one value: the control's text.
  std::string Caption() { return GetText(); }
  void SetCaption(const std::string& value) { SetText(value); }
  std::string Text() { return GetText(); }
  virtual std::string GetText();
  virtual void SetText(const std::string& value);

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_; }
  void SetFont(TFont* value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  // The reading direction; with ParentBiDiMode (the default) the parent's. A change reaches the
  // control and the children that follow it as CM_BIDIMODECHANGED, and repaints them.
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode value);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  // Mirrored alignment and layout (bdRightToLeft); right-to-left reading (any mode but bdLeftToRight).
  bool UseRightToLeftAlignment() const { return BiDiMode() == bdRightToLeft; }
  bool UseRightToLeftReading() const { return BiDiMode() != bdLeftToRight; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);

  // The pop-up menu shown on a right click (a component implementing TPopupMenuLink; null for
  // none). EInvalidOperation for another kind of component.
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* value);
  void Notification(TComponent* component, TOperation operation) override;

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState value) { controlState_ = value; }
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // ---- Messages ----------------------------------------------------------------------
  // Sends a message through WindowProc and answers its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  const TWndMethod& WindowProc() const { return windowProc_; }
  void SetWindowProc(TWndMethod value) { windowProc_ = std::move(value); }
  // The control's own message handling, where WindowProc starts by default. Overrides handle
  // what they need and pass the rest to the inherited WndProc.
  virtual void WndProc(TMessage& message);
  // Handling of a message nobody took: the platform's default for windows, nothing otherwise.
  virtual void DefaultHandler(TMessage& message);

  // ---- Painting ----------------------------------------------------------------------
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();

  // ---- Colour palette ------------------------------------------------------------------
  // The palette the control's pictures need on a palette display; null (none) here. The
  // control keeps ownership.
  virtual HPALETTE GetPalette() { return nullptr; }
  // A visible control with a palette selects it into the context of GetDeviceContext (in the
  // background unless `foreground`), realises it, repaints when that changed the system
  // palette, and answers True; any other answers False. The forms call it on the palette
  // messages.
  virtual bool PaletteChanged(bool foreground);
  // A device context to draw on the control, to be released with ReleaseDC(window, dc): the
  // parent's context with its origin moved to the control. EInvalidOperation without a parent.
  virtual HDC GetDeviceContext(HWND& window);
  void SendToBack();

  virtual void Click();
  virtual void DblClick();
  // The form this control lives on (null when not on one).
  TCustomForm* ParentForm() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TContextPopupEvent OnContextPopup;

  // Rescales bounds (and an own font) by m/d, as a layout made at another resolution needs.
  virtual void ChangeScale(int m, int d);

  // ---- Drag and dock -----------------------------------------------------------------
  // dmAutomatic starts a drag on every left press (after the mouse moved the threshold).
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode value) { dragMode_ = value; }
  // dkDrag offers the control to drop targets; dkDock to dock sites.
  TDragKind DragKind() const { return dragKind_; }
  void SetDragKind(TDragKind value) { dragKind_ = value; }
  // Starts dragging this control: at once, or once the mouse moved `threshold` pixels from
  // where it is now (-1: the platform's drag distance). The control holds the mouse until
  // the drag ends.
  void BeginDrag(bool immediate, int threshold = -1);
  // A drag of this control is pending or running.
  bool Dragging() const;
  // Ends this control's drag: with `drop`, the target under the pointer takes it when it
  // accepted it; OnEndDrag follows either way.
  void EndDrag(bool drop);
  // Asked while something is dragged over this control; the default accepts only when
  // OnDragOver is assigned (and lets it decide).
  virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
  // Something accepted was dropped here.
  virtual void DragDrop(TObject* source, int x, int y);
  // The dock site holding this control (null when not docked).
  TWinControl* HostDockSite() const { return hostDockSite_; }
  // Docks into `site` (null: undocks). The old site may refuse to let go (DoUnDock); the
  // control leaves the old site's windows before the old site is told it left. A site with a
  // dock manager puts the control beside `dropControl` on the `align` side (see TDockTree).
  void ManualDock(TWinControl* site, TControl* dropControl = nullptr, TAlign align = alNone);
  // Floats the control in a window of its own whose client area is `screen`: a form becomes a
  // top-level window there; any other control moves into a floating host (TFloatingDockHost),
  // which is a dock site it can be docked back from. Refused when the old site refuses.
  void ManualFloat(const TRect& screen);
  // In a floating host, or a form that left its dock site for a window of its own.
  bool Floating() const;

  TNotifyEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

 protected:
  friend class TWinControl;
  // Dispatches to the handlers below; what no handler takes goes to DefaultHandler.
  virtual void Dispatch(TMessage& message);

  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // The wheel: OnMouseWheel first, then OnMouseWheelDown/Up; answers whether it was handled
  // (an unhandled wheel goes on to the parent).
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
  virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
  virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
  virtual void DoStartDrag() { OnStartDrag(this); }
  virtual void DoEndDrag(TObject* target, int x, int y) { OnEndDrag(this, target, x, y); }
  virtual void MouseEnter() { OnMouseEnter(this); }
  virtual void MouseLeave() { OnMouseLeave(this); }
  virtual void Resize() { OnResize(this); }
  void Loaded() override;
  // Asks the parent to lay out its children again.
  virtual void RequestAlign();
  // Records the distances the anchors keep, from the current bounds and the parent's size.
  void UpdateAnchorRules();
  // Called when the control's bounds changed without SetBounds (the window moved itself).
  void UpdateBoundsFrom(int left, int top, int width, int height);
  virtual void VisibleChanging() {}

  // ---- Handlers ----------------------------------------------------------------------
  virtual void WMMouseButton(TMessage& message, TMouseButton button, bool down, bool doubleClick);
  virtual void WMMouseMove(TMessage& message);
  virtual void WMCancelMode(TMessage& message);
  virtual void CMEnabledChanged(TMessage& message);
  virtual void CMVisibleChanged(TMessage& message);
  virtual void CMColorChanged(TMessage& message);
  virtual void CMFontChanged(TMessage& message);
  virtual void CMTextChanged(TMessage& message);
  virtual void CMParentFontChanged(TMessage& message);
  virtual void CMParentColorChanged(TMessage& message);
  virtual void CMParentShowHintChanged(TMessage& message);
  virtual void CMMouseEnter(TMessage& message);
  virtual void CMMouseLeave(TMessage& message);
  virtual void CMHitTest(TMessage& message) { message.Result = HTCLIENT; }
  virtual void CMMouseWheel(TMessage& message);
  virtual void WMContextMenu(TMessage& message);
  virtual void DoContextPopup(TPoint mousePos, bool& handled) { OnContextPopup(this, mousePos, handled); }

  // The text of a control without a window.
  std::string text_;

 private:
  void FontChanged(TObject* sender);
  void ApplyAnchors(int parentWidth, int parentHeight);

  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_ = {akLeft, akTop};
  // Anchor rules: bounds and parent client size when the rules were taken.
  TRect anchorBounds_;
  TSize anchorParentSize_;
  bool anchorRulesValid_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TFont* font_;
  bool parentFont_ = true;
  bool updatingParentFont_ = false;
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  void BiDiModeChanged();
  TComponent* popupMenu_ = nullptr;
  TControlStyle controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;
  TWndMethod windowProc_;
  TDragMode dragMode_ = dmManual;
  TDragKind dragKind_ = dkDrag;
  TWinControl* hostDockSite_ = nullptr;
  bool floatingForm_ = false;
  // Leaves the dock site (if any) for `newTarget` (null: floating); false when it refuses.
  bool LeaveHostDockSite(TWinControl* newTarget);
  friend void DockClientGone(TControl* client);
  friend void DragToPoint(TPoint screen);
  friend void EndDragging(bool drop);
};

// The shift state of a mouse message.
TShiftState MouseShiftState(const TMessage& message);
