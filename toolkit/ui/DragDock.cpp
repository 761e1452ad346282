// The drag manager and the docking steps of TControl and TWinControl.
#include "toolkit/ui/DragDock.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/DockTree.h"
#include "toolkit/ui/Screen.h"
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
  bool CursorSet = false;       // the drag owns the screen cursor
  TCursor SavedCursor = crDefault;  // the screen cursor from before the drag
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

// Shows crDrag or crNoDrop for the running drag, remembering the cursor from before.
void ShowDragCursor(bool accepted) {
  if (Screen == nullptr) return;
  if (!g_drag.CursorSet) {
    EnsureDragCursor();
    g_drag.SavedCursor = Screen->Cursor();
    g_drag.CursorSet = true;
  }
  Screen->SetCursor(accepted ? crDrag : crNoDrop);
}

void RestoreCursor(const DragState& st) {
  if (st.CursorSet && Screen != nullptr) Screen->SetCursor(st.SavedCursor);
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
    // Without a site the drop floats the control: still a drop.
    ShowDragCursor(true);
    return;
  }
  if (g_drag.Target == nullptr) {
    ShowDragCursor(false);
    return;
  }
  const TPoint local = g_drag.Target->ScreenToClient(p);
  bool accept = false;
  g_drag.Target->DragOver(g_drag.Source, local.X, local.Y, state, accept);
  if (g_drag.Source == nullptr) return;  // the target ended the drag
  g_drag.Accepted = accept;
  ShowDragCursor(accept);
}

void EndDragging(bool drop) {
  if (g_drag.Source == nullptr) return;
  const DragState st = g_drag;
  InvertFrame(st.FrameShown);
  g_drag = DragState();
  RestoreCursor(st);
  if (st.Source->MouseCapture()) st.Source->SetMouseCapture(false);
  if (st.Pending) return;
  TObject* taken = nullptr;
  TPoint local{0, 0};
  if (st.Kind == dkDock && drop && st.Target == nullptr) {
    // Dropped where no site takes it: the control floats at the pointer, at its own size.
    st.Source->ManualFloat(TRect(st.Last.X, st.Last.Y, st.Last.X + st.Source->Width(), st.Last.Y + st.Source->Height()));
  } else if (st.Target != nullptr) {
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
    RestoreCursor(g_drag);
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
    // A floating host lives only for its client.
    if (auto* floating = dynamic_cast<TFloatingDockHost*>(host);
        floating != nullptr && !floating->ComponentState().Contains(csDestroying))
      floating->Release();
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

bool TControl::LeaveHostDockSite(TWinControl* newTarget) {
  TWinControl* old = hostDockSite_;
  if (old == nullptr) return true;
  if (!old->DoUnDock(newTarget, this)) return false;
  auto& list = old->dockClients_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  hostDockSite_ = nullptr;
  SetParent(nullptr);
  if (old->dockManager_) old->dockManager_->RemoveControl(this);
  old->DockClientRemoved(this);
  return true;
}

void TControl::ManualDock(TWinControl* site, TControl* dropControl, TAlign align) {
  if (site == hostDockSite_) return;
  if (!LeaveHostDockSite(site)) return;
  floatingForm_ = false;
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

namespace {
// Sizes a top-level window so that its client area is `screen`.
void PlaceClientArea(TWinControl* window, const TRect& screen) {
  window->SetClientSize(screen.Width(), screen.Height());
  window->SetBounds(screen.Left, screen.Top, window->Width(), window->Height());
  if (!window->HandleAllocated()) return;
  // The frame and caption come before the client area.
  const TPoint origin = window->ClientToScreen(TPoint{0, 0});
  window->SetBounds(window->Left() + screen.Left - origin.X, window->Top() + screen.Top - origin.Y, window->Width(),
                    window->Height());
}
}  // namespace

void TControl::ManualFloat(const TRect& screen) {
  if (auto* host = dynamic_cast<TFloatingDockHost*>(hostDockSite_)) {
    // Already floating: the host moves.
    PlaceClientArea(host, screen);
    return;
  }
  if (auto* form = dynamic_cast<TCustomForm*>(this)) {
    if (!LeaveHostDockSite(nullptr)) return;
    SetParent(nullptr);
    form->HandleNeeded();
    PlaceClientArea(form, screen);
    floatingForm_ = true;
    form->Show();
    return;
  }
  if (hostDockSite_ != nullptr && !hostDockSite_->DoUnDock(nullptr, this)) return;
  auto* host = new TFloatingDockHost(Application);
  host->HandleNeeded();  // so that it can always Release itself
  host->SetCaption(Caption());
  PlaceClientArea(host, screen);
  // The old site already agreed: it may not refuse a second time.
  if (TWinControl* old = hostDockSite_) {
    const TUnDockEvent saved = old->OnUnDock;
    old->OnUnDock = TUnDockEvent();
    try {
      ManualDock(host);
    } catch (...) {
      old->OnUnDock = saved;
      throw;
    }
    old->OnUnDock = saved;
  } else {
    ManualDock(host);
  }
  if (Visible()) host->Show();
}

bool TControl::Floating() const {
  return floatingForm_ || dynamic_cast<TFloatingDockHost*>(hostDockSite_) != nullptr;
}

// ---- TFloatingDockHost ----------------------------------------------------------------------

const TClassInfo& TFloatingDockHost::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFloatingDockHost>("TFloatingDockHost", &TCustomForm::StaticClass()).Build();
  return info;
}

TFloatingDockHost::TFloatingDockHost(TComponent* owner) : TCustomForm(owner) {
  SetBorderStyle(bsSizeToolWin);
  SetDockSite(true);
}

void TFloatingDockHost::DockDrop(TControl* client, int x, int y) {
  clientAlign_ = client->Align();
  client->SetParent(this);
  client->SetAlign(alClient);
  OnDockDrop(this, client, x, y);
}

void TFloatingDockHost::DockClientRemoved(TControl* client) {
  client->SetAlign(clientAlign_);
  if (DockClientCount() == 0) {
    Hide();
    Release();
  }
}

void TFloatingDockHost::DockClientChanged(TControl* client, UINT what) {
  if (what == CM_TEXTCHANGED) SetCaption(client->Caption());
  else if (what == CM_VISIBLECHANGED) SetVisible(client->Visible());
}

// ---- Drag cursor ----------------------------------------------------------------------------

void EnsureDragCursor() {
  static bool made = false;
  if (made || Screen == nullptr) return;
  made = true;
  // An arrow with a sheet below it, drawn into 32 x 32 masks (AND: 1 keeps the screen; XOR:
  // the colour). The program may have set its own crDrag already.
  if (Screen->Cursors(crDrag) != Screen->Cursors(crArrow)) return;
  constexpr int kSize = 32;
  unsigned char andMask[kSize * kSize / 8];
  unsigned char xorMask[kSize * kSize / 8];
  std::fill(std::begin(andMask), std::end(andMask), 0xFF);
  std::fill(std::begin(xorMask), std::end(xorMask), 0x00);
  auto set = [&](int x, int y, bool white) {
    const int bit = y * kSize + x;
    andMask[bit / 8] &= static_cast<unsigned char>(~(0x80 >> (bit % 8)));
    if (white) xorMask[bit / 8] |= static_cast<unsigned char>(0x80 >> (bit % 8));
  };
  // The arrow: a black outline filled white, rows 0..15.
  for (int y = 0; y < 16; ++y) {
    const int width = std::min(y, 10);
    for (int x = 0; x <= width; ++x) set(x, y, x != 0 && x != width && y != 15 && y < 11 + x / 4);
  }
  // The sheet: a white rectangle with a black border at (8..19, 18..27).
  for (int y = 18; y <= 27; ++y)
    for (int x = 8; x <= 19; ++x) set(x, y, x != 8 && x != 19 && y != 18 && y != 27);
  if (HCURSOR cursor = CreateCursor(GetModuleHandleW(nullptr), 0, 0, kSize, kSize, andMask, xorMask))
    Screen->SetCursors(crDrag, cursor);
}

// ---- Showing --------------------------------------------------------------------------------

void TControl::Show() {
  if (Parent() != nullptr) Parent()->ShowControl(this);
  if (!Visible()) SetVisible(true);
}

void TWinControl::ShowControl(TControl*) {
  if (Parent() != nullptr) Parent()->ShowControl(this);
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
