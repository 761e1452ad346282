// The drag manager and the docking steps of TControl and TWinControl.
#include "toolkit/ui/DragDock.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/WinControl.h"

const TEnumInfo& EnumTypeInfo(TDragMode) {
  static const TEnumInfo info("TDragMode", {"dmManual", "dmAutomatic"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TDragKind) {
  static const TEnumInfo info("TDragKind", {"dkDrag", "dkDock"});
  return info;
}

namespace {

struct DragState {
  TControl* Source = nullptr;
  TDragKind Kind = dkDrag;
  bool Pending = false;
  TPoint Start;
  TPoint Last;
  int Threshold = 5;
  TControl* Target = nullptr;
  bool Accepted = false;
};

DragState g_drag;
std::function<TControl*(TPoint)> g_finder;

TControl* DefaultFinder(TPoint p) {
  HWND window = WindowFromPoint(POINT{p.X, p.Y});
  TWinControl* control = nullptr;
  while (window != nullptr && (control = TWinControl::FindControl(window)) == nullptr) window = GetParent(window);
  if (control == nullptr) return nullptr;
  TControl* child = control->ControlAtPos(control->ScreenToClient(p));
  return child != nullptr ? child : control;
}

TControl* ControlAt(TPoint p) { return g_finder ? g_finder(p) : DefaultFinder(p); }

bool Inside(const TWinControl* outer, const TControl* inner) {
  for (const TControl* c = inner; c != nullptr; c = c->Parent())
    if (c == outer) return true;
  return false;
}

// The nearest dock site at or above `over` that takes the source at `p`.
TWinControl* DockSiteAt(TControl* over, TPoint p) {
  for (TControl* c = over; c != nullptr; c = c->Parent()) {
    auto* site = dynamic_cast<TWinControl*>(c);
    if (site == nullptr || !site->DockSite()) continue;
    if (auto* source = dynamic_cast<TWinControl*>(g_drag.Source); source != nullptr && Inside(source, site)) continue;
    TRect influence;
    bool canDock = true;
    site->GetSiteInfo(g_drag.Source, influence, p, canDock);
    if (canDock && influence.Contains(p)) return site;
  }
  return nullptr;
}

void Leave(const DragState& st) {
  if (st.Target == nullptr || st.Kind != dkDrag) return;
  const TPoint local = st.Target->ScreenToClient(st.Last);
  bool accept = false;
  st.Target->DragOver(st.Source, local.X, local.Y, dsDragLeave, accept);
}

}  // namespace

TControl* DragSource() { return g_drag.Source; }
bool DragStarted() { return g_drag.Source != nullptr && !g_drag.Pending; }
TPoint DragStartPoint() { return g_drag.Start; }
TControl* DragTarget() { return g_drag.Target; }
bool DragAccepted() { return g_drag.Accepted; }

void SetDragTargetFinder(std::function<TControl*(TPoint)> finder) { g_finder = std::move(finder); }

void DragToPoint(TPoint p) {
  if (g_drag.Source == nullptr) return;
  g_drag.Last = p;
  if (g_drag.Pending) {
    if (std::abs(p.X - g_drag.Start.X) < g_drag.Threshold && std::abs(p.Y - g_drag.Start.Y) < g_drag.Threshold) return;
    g_drag.Pending = false;
    g_drag.Source->DoStartDrag();
    if (g_drag.Source == nullptr) return;
  }
  TControl* over = ControlAt(p);
  if (g_drag.Kind == dkDock) over = DockSiteAt(over, p);
  TDragState state = dsDragMove;
  if (over != g_drag.Target) {
    Leave(g_drag);
    g_drag.Target = over;
    state = dsDragEnter;
  }
  g_drag.Accepted = false;
  if (g_drag.Target == nullptr) return;
  if (g_drag.Kind == dkDock) {
    g_drag.Accepted = true;
    return;
  }
  const TPoint local = g_drag.Target->ScreenToClient(p);
  bool accept = false;
  g_drag.Target->DragOver(g_drag.Source, local.X, local.Y, state, accept);
  g_drag.Accepted = accept;
}

void EndDragging(bool drop) {
  if (g_drag.Source == nullptr) return;
  const DragState st = g_drag;
  g_drag = DragState();
  if (st.Source->MouseCapture()) st.Source->SetMouseCapture(false);
  if (st.Pending) return;
  TObject* taken = nullptr;
  TPoint local{0, 0};
  if (st.Target != nullptr) {
    local = st.Target->ScreenToClient(st.Last);
    if (drop && st.Accepted) {
      taken = st.Target;
      if (st.Kind == dkDrag) {
        st.Target->DragDrop(st.Source, local.X, local.Y);
      } else if (auto* site = dynamic_cast<TWinControl*>(st.Target)) {
        st.Source->ManualDock(site);
      }
    } else {
      Leave(st);
    }
  }
  st.Source->DoEndDrag(taken, local.X, local.Y);
}

bool DragMessage(TControl* control, TMessage& message) {
  if (control == nullptr || control != g_drag.Source) return false;
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      DragToPoint(control->ClientToScreen({message.XPos(), message.YPos()}));
      return true;
    case WM_LBUTTONUP:
      DragToPoint(control->ClientToScreen({message.XPos(), message.YPos()}));
      EndDragging(true);
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_CANCELMODE:
      EndDragging(false);
      return true;
    case WM_KEYDOWN:
    case CN_KEYDOWN:
      if (message.WParam == VK_ESCAPE) {
        EndDragging(false);
        return true;
      }
      return false;
    case WM_CAPTURECHANGED: {
      auto* win = dynamic_cast<TWinControl*>(control);
      const HWND own = win != nullptr && win->HandleAllocated() ? win->Handle() : nullptr;
      if (reinterpret_cast<HWND>(message.LParam) != own) EndDragging(false);
      return false;
    }
    default: return false;
  }
}

void DockClientGone(TControl* client) {
  if (g_drag.Source == client) g_drag = DragState();
  if (g_drag.Target == client) {
    g_drag.Target = nullptr;
    g_drag.Accepted = false;
  }
  if (TWinControl* host = client->hostDockSite_) {
    auto& list = host->dockClients_;
    list.erase(std::remove(list.begin(), list.end(), client), list.end());
    client->hostDockSite_ = nullptr;
  }
  if (auto* site = dynamic_cast<TWinControl*>(client)) {
    for (TControl* docked : site->dockClients_) docked->hostDockSite_ = nullptr;
    site->dockClients_.clear();
  }
}

// ---- TControl -------------------------------------------------------------------------------

void TControl::BeginDrag(bool immediate, int threshold) {
  if (g_drag.Source != nullptr) EndDragging(false);
  POINT cursor{};
  GetCursorPos(&cursor);
  g_drag = DragState();
  g_drag.Source = this;
  g_drag.Kind = dragKind_;
  g_drag.Pending = !immediate;
  g_drag.Start = g_drag.Last = TPoint{cursor.x, cursor.y};
  g_drag.Threshold = threshold >= 0 ? threshold : std::max(1, GetSystemMetrics(SM_CXDRAG));
  controlState_.Exclude(csClicked);
  if (!MouseCapture()) SetMouseCapture(true);
  if (immediate) DoStartDrag();
}

bool TControl::Dragging() const { return g_drag.Source == this; }

void TControl::EndDrag(bool drop) {
  if (Dragging()) EndDragging(drop);
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  accept = OnDragOver.Assigned();
  OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) { OnDragDrop(this, source, x, y); }

void TControl::ManualDock(TWinControl* site) {
  if (site == hostDockSite_) return;
  TWinControl* old = hostDockSite_;
  if (old != nullptr) {
    if (!old->DoUnDock(site, this)) return;
    auto& list = old->dockClients_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    hostDockSite_ = nullptr;
    SetParent(nullptr);
    old->DockClientRemoved(this);
  }
  if (site != nullptr) {
    hostDockSite_ = site;
    site->dockClients_.push_back(this);
    site->DockDrop(this, 0, 0);
  }
}

// ---- TWinControl ----------------------------------------------------------------------------

void TWinControl::DockDrop(TControl* client, int x, int y) {
  client->SetParent(this);
  OnDockDrop(this, client, x, y);
}

bool TWinControl::DoUnDock(TWinControl* newTarget, TControl* client) {
  bool allow = true;
  OnUnDock(this, client, newTarget, allow);
  return allow;
}

void TWinControl::GetSiteInfo(TControl* client, TRect& influence, TPoint mousePos, bool& canDock) {
  // The client area on screen; nothing without a window.
  influence = TRect();
  if (HandleAllocated()) {
    const TPoint origin = ClientOrigin();
    influence = TRect(origin.X, origin.Y, origin.X + ClientWidth(), origin.Y + ClientHeight());
  }
  canDock = dockSite_ && client != nullptr && client != this;
  OnGetSiteInfo(this, client, influence, mousePos, canDock);
}
