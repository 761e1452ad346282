// The drag manager and the docking steps of TControl and TWinControl.
#include "toolkit/ui/DragDock.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/DockTree.h"
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
  // Dock drags: the drop frame on screen and where the client would go.
  TRect DockRect;
  TControl* DropControl = nullptr;
  TAlign DropAlign = alNone;
  TRect FrameShown;  // the frame currently inverted on the screen (empty: none)
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

// Inverts a three-pixel frame round `r` on the screen; a second call takes it away.
void InvertFrame(const TRect& r) {
  if (r.IsEmpty()) return;
  HDC dc = GetDC(nullptr);
  if (dc == nullptr) return;
  HGDIOBJ old = SelectObject(dc, GetStockObject(GRAY_BRUSH));
  constexpr int t = 3;
  const int w = r.Width();
  const int h = r.Height();
  PatBlt(dc, r.Left, r.Top, w, std::min(t, h), PATINVERT);
  if (h > t) PatBlt(dc, r.Left, r.Bottom - std::min(t, h - t), w, std::min(t, h - t), PATINVERT);
  if (h > 2 * t) {
    PatBlt(dc, r.Left, r.Top + t, std::min(t, w), h - 2 * t, PATINVERT);
    if (w > t) PatBlt(dc, r.Right - std::min(t, w - t), r.Top + t, std::min(t, w - t), h - 2 * t, PATINVERT);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

void ShowDropFrame(const TRect& r) {
  if (r == g_drag.FrameShown) return;
  InvertFrame(g_drag.FrameShown);
  g_drag.FrameShown = r;
  InvertFrame(r);
}

// The nearest dock site at or above `over` that takes the source at `p`.
TWinControl* DockSiteAt(TControl* over, TPoint p, TRect& influenceOut) {
  for (TControl* c = over; c != nullptr; c = c->Parent()) {
    auto* site = dynamic_cast<TWinControl*>(c);
    if (site == nullptr || !site->DockSite()) continue;
    if (auto* source = dynamic_cast<TWinControl*>(g_drag.Source); source != nullptr && Inside(source, site)) continue;
    TRect influence;
    bool canDock = true;
    site->GetSiteInfo(g_drag.Source, influence, p, canDock);
    if (canDock && influence.Contains(p)) {
      influenceOut = influence;
      return site;
    }
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
TRect DragDockRect() { return g_drag.DockRect; }
TControl* DragDropControl() { return g_drag.DropControl; }
TAlign DragDropAlign() { return g_drag.DropAlign; }

void BeginDockDrag(TControl* client, TPoint start) {
  if (client == nullptr) return;
  client->BeginDrag(false);
  g_drag.Kind = dkDock;
  g_drag.Start = g_drag.Last = start;
}

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
  TRect influence;
  if (g_drag.Kind == dkDock) over = DockSiteAt(over, p, influence);
  TDragState state = dsDragMove;
  if (over != g_drag.Target) {
    Leave(g_drag);
    g_drag.Target = over;
    state = dsDragEnter;
  }
  g_drag.Accepted = false;
  if (g_drag.Kind == dkDock) {
    g_drag.DockRect = TRect();
    g_drag.DropControl = nullptr;
    g_drag.DropAlign = alNone;
    if (auto* site = dynamic_cast<TWinControl*>(g_drag.Target)) {
      g_drag.Accepted = true;
      if (TDockTree* manager = site->DockManager()) {
        manager->PositionDockRect(g_drag.Source, p, g_drag.DropControl, g_drag.DropAlign, g_drag.DockRect);
      } else {
        g_drag.DockRect = influence;
      }
    }
    ShowDropFrame(g_drag.DockRect);
    return;
  }
  if (g_drag.Target == nullptr) return;
  const TPoint local = g_drag.Target->ScreenToClient(p);
  bool accept = false;
  g_drag.Target->DragOver(g_drag.Source, local.X, local.Y, state, accept);
  g_drag.Accepted = accept;
}

void EndDragging(bool drop) {
  if (g_drag.Source == nullptr) return;
  const DragState st = g_drag;
  InvertFrame(st.FrameShown);
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
        st.Source->ManualDock(site, st.DropControl, st.DropAlign);
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
  if (g_drag.Source == client) {
    InvertFrame(g_drag.FrameShown);
    g_drag = DragState();
  }
  if (g_drag.DropControl == client) g_drag.DropControl = nullptr;
  if (g_drag.Target == client) {
    g_drag.Target = nullptr;
    g_drag.Accepted = false;
  }
  if (TWinControl* host = client->hostDockSite_) {
    auto& list = host->dockClients_;
    list.erase(std::remove(list.begin(), list.end(), client), list.end());
    client->hostDockSite_ = nullptr;
    if (host->dockManager_) host->dockManager_->RemoveControl(client);
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

void TControl::ManualDock(TWinControl* site, TControl* dropControl, TAlign align) {
  if (site == hostDockSite_) return;
  TWinControl* old = hostDockSite_;
  if (old != nullptr) {
    if (!old->DoUnDock(site, this)) return;
    auto& list = old->dockClients_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    hostDockSite_ = nullptr;
    SetParent(nullptr);
    if (old->dockManager_) old->dockManager_->RemoveControl(this);
    old->DockClientRemoved(this);
  }
  if (site != nullptr) {
    hostDockSite_ = site;
    site->dockClients_.push_back(this);
    site->dropControl_ = dropControl;
    site->dropAlign_ = align;
    site->DockDrop(this, 0, 0);
    site->dropControl_ = nullptr;
    site->dropAlign_ = alNone;
  }
}

// ---- TWinControl ----------------------------------------------------------------------------

void TWinControl::DockDrop(TControl* client, int x, int y) {
  client->SetParent(this);
  if (dockManager_) dockManager_->InsertControl(client, dropAlign_, dropControl_);
  OnDockDrop(this, client, x, y);
}

void TWinControl::DockClientChanged(TControl*, UINT) {
  if (!dockManager_) return;
  dockManager_->ResetBounds(true);
  if (HandleAllocated()) Invalidate();
}

void TWinControl::SetDockSite(bool value) {
  dockSite_ = value;
  UpdateDockManager();
}

void TWinControl::SetUseDockManager(bool value) {
  useDockManager_ = value;
  UpdateDockManager();
}

void TWinControl::UpdateDockManager() {
  if (dockSite_ && useDockManager_) {
    if (!dockManager_) {
      dockManager_.reset(CreateDockManager());
      // Clients docked before the manager came join it in their order.
      for (TControl* client : dockClients_) dockManager_->InsertControl(client, alNone, nullptr);
    }
  } else {
    dockManager_.reset();
  }
}

TDockTree* TWinControl::CreateDockManager() { return new TDockTree(this); }

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
