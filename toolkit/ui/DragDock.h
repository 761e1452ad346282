// The drag in progress and docking. One drag at a time, on the window thread: a control's
// BeginDrag makes it the source and gives it the mouse; its mouse messages then move the drag
// (DragToPoint) and end it (EndDragging). Targets are found under the pointer: any control for
// a dkDrag drag (asked with DragOver), the nearest dock site whose site information takes the
// pointer for a dkDock drag.
//
//   state     event                               action                           next
//   --------  ----------------------------------  -------------------------------  --------
//   idle      BeginDrag(immediate)                capture, OnStartDrag             dragging
//   idle      BeginDrag(not immediate)            capture                          pending
//   pending   move beyond the threshold           OnStartDrag, then as dragging    dragging
//   pending   button up, Esc, capture lost        release                          idle
//   dragging  move                                leave/enter/move to the target,  dragging
//                                                 dock: move the drop frame
//   dragging  button up                           drop on an accepting target,     idle
//                                                 (a dock drag with no site floats
//                                                 at the pointer), OnEndDrag
//   dragging  Esc, right button, capture lost     leave the target, OnEndDrag(null) idle
//
// While a drag runs (past its threshold) the screen shows crDrag over a target that accepts
// (and for dock drags, which float when no site takes them) and crNoDrop elsewhere; the cursor
// from before the drag comes back when it ends.
#pragma once

#include <functional>

#include "toolkit/graphics/Types.h"
#include "toolkit/ui/Control.h"
#include "toolkit/ui/Form.h"

class TWinControl;

// The control being dragged (pending or running), or null.
TControl* DragSource();
// Whether the drag passed its threshold (OnStartDrag fired).
bool DragStarted();
// The screen point the drag started from (the pointer at BeginDrag).
TPoint DragStartPoint();
// The target under the pointer (a control, or a dock site for dkDock) and whether it accepts.
TControl* DragTarget();
bool DragAccepted();

// For a dkDock drag over a site: the drop frame on screen (empty without a site), and where
// the client would go (see TDockTree::PositionDockRect; alNone for a site without manager).
// The frame is drawn inverted on the screen while the drag runs.
TRect DragDockRect();
TControl* DragDropControl();
TAlign DragDropAlign();

// Starts a dock drag of `client` (whatever its DragKind) from the screen point `start`, once
// the mouse moved the platform's drag distance: a dock manager's grabber press.
void BeginDockDrag(TControl* client, TPoint start);

// Moves the drag to a screen point.
void DragToPoint(TPoint screen);
// Ends the drag: with `drop`, an accepting target takes the source.
void EndDragging(bool drop);

// Replaces how a screen point finds the control under it (an empty function restores the
// default: the window there and its non-windowed child under the point). For tests.
void SetDragTargetFinder(std::function<TControl*(TPoint)> finder);

// Called by the toolkit's window procedures: takes the messages of the drag source that drive
// the drag; answers whether the message was used up.
bool DragMessage(TControl* control, TMessage& message);
// A control goes away: it leaves its dock site's list and a drag it was part of ends quietly.
void DockClientGone(TControl* client);

// The window of a control floated off its dock site: a small sizeable form that is a dock site
// holding that one control over its whole client area. Its caption follows the control's, it
// shows and hides with it, and it frees itself (Release) once the control has left it.
class TFloatingDockHost : public TCustomForm {
 public:
  explicit TFloatingDockHost(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  void DockDrop(TControl* client, int x, int y) override;
  void DockClientRemoved(TControl* client) override;
  void DockClientChanged(TControl* client, UINT what) override;

 private:
  TAlign clientAlign_ = alNone;  // the client's own alignment, given back when it leaves
};

// The cursor shown while a drag runs over a target that accepts (made once, registered with
// the screen as crDrag unless the program set its own).
void EnsureDragCursor();
