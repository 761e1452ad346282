// The dock manager's zone tree: inserting and removing clients, the layout in the site's
// client area, grabber painting and hit testing, and the drop frame of a dragged client.
#include "toolkit/ui/DockTree.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/ui/DragDock.h"
#include "toolkit/ui/WinControl.h"

TDockTree::TDockTree(TWinControl* site) : site_(site) {}

TDockTree::~TDockTree() = default;

bool TDockTree::GrabbersOnLeft() const { return site_->Align() == alTop || site_->Align() == alBottom; }

template <class F>
void TDockTree::ForEachLeaf(const Zone* zone, F&& f) const {
  if (zone == nullptr) return;
  if (zone->Children.empty()) {
    if (zone->Control != nullptr) f(*zone);
    return;
  }
  for (const auto& child : zone->Children) ForEachLeaf(child.get(), f);
}

TDockTree::Zone* TDockTree::FindZone(Zone* zone, const TControl* control) const {
  if (zone == nullptr || control == nullptr) return nullptr;
  if (zone->Children.empty()) return zone->Control == control ? zone : nullptr;
  for (const auto& child : zone->Children)
    if (Zone* found = FindZone(child.get(), control)) return found;
  return nullptr;
}

bool TDockTree::Contains(const TControl* control) const { return FindZone(root_.get(), control) != nullptr; }

int TDockTree::ClientCount() const {
  int n = 0;
  ForEachLeaf(root_.get(), [&n](const Zone&) { ++n; });
  return n;
}

bool TDockTree::HasRoom(const Zone* zone) const {
  if (zone->Children.empty())
    return zone->Control != nullptr && zone->Control->Visible() && zone->Control->Parent() == site_;
  return std::any_of(zone->Children.begin(), zone->Children.end(), [this](const auto& c) { return HasRoom(c.get()); });
}

void TDockTree::InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) {
  if (control == nullptr || Contains(control)) return;
  control->SetAlign(alNone);
  auto leaf = std::make_unique<Zone>();
  leaf->Control = control;
  const bool horizontal = insertAt == alLeft || insertAt == alRight   ? true
                          : insertAt == alTop || insertAt == alBottom ? false
                                                                      : GrabbersOnLeft();
  const bool before = insertAt == alLeft || insertAt == alTop;
  if (!root_) {
    root_ = std::move(leaf);
  } else {
    Zone* target = FindZone(root_.get(), dropControl);
    if (target == nullptr) target = root_.get();
    Zone* parent = target->Parent;
    if (target == root_.get() && !target->Children.empty() && target->Horizontal == horizontal) {
      // Along the site's own row or column: first or last.
      leaf->Parent = target;
      auto& list = target->Children;
      list.insert(before ? list.begin() : list.end(), std::move(leaf));
    } else if (parent != nullptr && parent->Horizontal == horizontal) {
      leaf->Parent = parent;
      auto& list = parent->Children;
      auto it = std::find_if(list.begin(), list.end(), [target](const auto& c) { return c.get() == target; });
      list.insert(before ? it : it + 1, std::move(leaf));
    } else {
      // Split the target into a new row or column holding it and the newcomer.
      std::unique_ptr<Zone>* slot = &root_;
      if (parent != nullptr) {
        for (auto& c : parent->Children)
          if (c.get() == target) slot = &c;
      }
      auto split = std::make_unique<Zone>();
      split->Horizontal = horizontal;
      split->Parent = parent;
      std::unique_ptr<Zone> old = std::move(*slot);
      old->Parent = split.get();
      leaf->Parent = split.get();
      if (before) {
        split->Children.push_back(std::move(leaf));
        split->Children.push_back(std::move(old));
      } else {
        split->Children.push_back(std::move(old));
        split->Children.push_back(std::move(leaf));
      }
      *slot = std::move(split);
    }
  }
  ResetBounds(true);
}

void TDockTree::Collapse(Zone* zone) {
  if (zone->Children.size() != 1) return;
  std::unique_ptr<Zone> only = std::move(zone->Children.front());
  Zone* parent = zone->Parent;
  if (parent == nullptr) {
    only->Parent = nullptr;
    root_ = std::move(only);  // frees `zone`
    return;
  }
  auto& list = parent->Children;
  auto it = std::find_if(list.begin(), list.end(), [zone](const auto& c) { return c.get() == zone; });
  if (!only->Children.empty()) {
    // A row inside a column inside a row: its zones join the outer row in its place.
    std::vector<std::unique_ptr<Zone>> moved = std::move(only->Children);
    for (auto& m : moved) m->Parent = parent;
    const auto at = list.erase(it);
    list.insert(at, std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
  } else {
    only->Parent = parent;
    *it = std::move(only);
  }
}

void TDockTree::RemoveControl(TControl* control) {
  Zone* zone = FindZone(root_.get(), control);
  if (zone == nullptr) return;
  if (closePressed_ == control) closePressed_ = nullptr;
  if (zone == root_.get()) {
    root_.reset();
  } else {
    Zone* parent = zone->Parent;
    auto& list = parent->Children;
    list.erase(std::find_if(list.begin(), list.end(), [zone](const auto& c) { return c.get() == zone; }));
    Collapse(parent);
  }
  ResetBounds(true);
}

void TDockTree::Layout(Zone* zone, const TRect& rect) {
  zone->Bounds = rect;
  if (zone->Children.empty()) return;
  int shown = 0;
  for (const auto& c : zone->Children)
    if (HasRoom(c.get())) ++shown;
  const int extent = zone->Horizontal ? rect.Width() : rect.Height();
  int pos = zone->Horizontal ? rect.Left : rect.Top;
  int placed = 0;
  for (const auto& c : zone->Children) {
    if (!HasRoom(c.get())) {
      Layout(c.get(), TRect());
      continue;
    }
    ++placed;
    const int end = placed == shown ? (zone->Horizontal ? rect.Right : rect.Bottom) : pos + extent / shown;
    Layout(c.get(), zone->Horizontal ? TRect(pos, rect.Top, end, rect.Bottom) : TRect(rect.Left, pos, rect.Right, end));
    pos = end;
  }
}

void TDockTree::ResetBounds(bool force) {
  const TRect area = site_->AlignedClientRect();
  if (!force && area == laidOut_) return;
  laidOut_ = area;
  if (!root_) return;
  Layout(root_.get(), area);
  ForEachLeaf(root_.get(), [this](const Zone& z) {
    if (!HasRoom(&z)) return;
    TRect r = z.Bounds;
    AdjustDockRect(z.Control, r);
    z.Control->SetBounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0));
  });
  if (site_->HandleAllocated()) site_->Invalidate();
}

TRect TDockTree::ZoneRect(const TControl* control) const {
  const Zone* zone = FindZone(root_.get(), control);
  if (zone == nullptr || !HasRoom(zone)) return TRect();
  return zone->Bounds;
}

void TDockTree::AdjustDockRect(TControl*, TRect& rect) {
  if (GrabbersOnLeft()) {
    rect.Left += grabberSize_;
  } else {
    rect.Top += grabberSize_;
  }
}

TRect TDockTree::CloseButtonRect(const TRect& zone) {
  if (GrabbersOnLeft()) return {zone.Left + 1, zone.Top + 1, zone.Left + grabberSize_ - 1, zone.Top + grabberSize_ - 1};
  return {zone.Right - grabberSize_ + 1, zone.Top + 1, zone.Right - 1, zone.Top + grabberSize_ - 1};
}

// ---- Painting -------------------------------------------------------------------------------

void TDockTree::PaintSite(HDC dc) {
  if (!root_) return;
  const int saved = SaveDC(dc);
  TCanvas canvas;
  canvas.SetHandle(dc);
  try {
    ForEachLeaf(root_.get(), [&](const Zone& z) {
      if (HasRoom(&z)) PaintDockFrame(canvas, z.Control, z.Bounds);
    });
  } catch (...) {
    canvas.SetHandle(nullptr);
    RestoreDC(dc, saved);
    throw;
  }
  canvas.SetHandle(nullptr);
  RestoreDC(dc, saved);
}

void TDockTree::PaintDockFrame(TCanvas& canvas, TControl*, const TRect& zone) {
  const HDC dc = canvas.Handle();
  // The close button: a raised face with a cross (drawn here: the platform's caption
  // buttons need a symbol font that is not on every system).
  RECT close = CloseButtonRect(zone);
  DrawEdge(dc, &close, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  const int inset = 3;
  const int size = std::min(close.right - close.left, close.bottom - close.top) - 2 * inset;
  if (size > 0) {
    canvas.Pen()->SetColor(clBtnText);
    canvas.Pen()->SetWidth(1);
    const int x = close.left + inset;
    const int y = close.top + inset;
    canvas.MoveTo(x, y);
    canvas.LineTo(x + size, y + size);
    canvas.MoveTo(x + size - 1, y);
    canvas.LineTo(x - 1, y + size);
  }
  // Two raised bars along the rest of the strip.
  for (int i = 0; i < 2; ++i) {
    RECT bar = GrabbersOnLeft() ? RECT{zone.Left + 3 + 4 * i, close.bottom + 2, zone.Left + 6 + 4 * i, zone.Bottom - 2}
                                : RECT{zone.Left + 2, zone.Top + 3 + 4 * i, close.left - 2, zone.Top + 6 + 4 * i};
    if (bar.right > bar.left && bar.bottom > bar.top) DrawEdge(dc, &bar, BDR_RAISEDINNER, BF_RECT);
  }
}

// ---- Dropping -------------------------------------------------------------------------------

void TDockTree::PositionDockRect(TControl* client, TPoint mousePos, TControl*& dropControl, TAlign& dropAlign,
                                 TRect& dockRect) {
  dropControl = nullptr;
  dropAlign = alNone;
  const TPoint p = site_->ScreenToClient(mousePos);
  const TRect area = site_->AlignedClientRect();
  const Zone* over = nullptr;
  int others = 0;
  if (root_) {
    ForEachLeaf(root_.get(), [&](const Zone& z) {
      if (z.Control == client || !HasRoom(&z)) return;
      ++others;
      if (z.Bounds.Contains(p)) over = &z;
    });
  }
  TRect r;
  if (over != nullptr) {
    // The side of the zone the pointer is nearest to, relative to the zone's size.
    const TRect z = over->Bounds;
    const double w = std::max(z.Width(), 1);
    const double h = std::max(z.Height(), 1);
    const double left = (p.X - z.Left) / w;
    const double right = (z.Right - p.X) / w;
    const double top = (p.Y - z.Top) / h;
    const double bottom = (z.Bottom - p.Y) / h;
    const double nearest = std::min({left, right, top, bottom});
    const int midX = z.Left + z.Width() / 2;
    const int midY = z.Top + z.Height() / 2;
    dropControl = over->Control;
    if (nearest == left) {
      dropAlign = alLeft;
      r = {z.Left, z.Top, midX, z.Bottom};
    } else if (nearest == right) {
      dropAlign = alRight;
      r = {midX, z.Top, z.Right, z.Bottom};
    } else if (nearest == top) {
      dropAlign = alTop;
      r = {z.Left, z.Top, z.Right, midY};
    } else {
      dropAlign = alBottom;
      r = {z.Left, midY, z.Right, z.Bottom};
    }
  } else if (others == 0) {
    dropAlign = alClient;
    r = area;
  } else {
    // At the end of the site's row or column, with the share the newcomer would get.
    const bool row = GrabbersOnLeft();
    int count = 2;
    if (root_ && !root_->Children.empty() && root_->Horizontal == row) {
      count = 1;
      for (const auto& c : root_->Children)
        if (HasRoom(c.get()) && !(c->Children.empty() && c->Control == client)) ++count;
    }
    dropAlign = row ? alRight : alBottom;
    r = row ? TRect(area.Right - area.Width() / count, area.Top, area.Right, area.Bottom)
            : TRect(area.Left, area.Bottom - area.Height() / count, area.Right, area.Bottom);
  }
  const TPoint origin = site_->ClientOrigin();
  dockRect = {r.Left + origin.X, r.Top + origin.Y, r.Right + origin.X, r.Bottom + origin.Y};
}

// ---- Mouse ----------------------------------------------------------------------------------

TControl* TDockTree::HitTest(TPoint pos, THitKind& kind) {
  kind = hkNone;
  TControl* hit = nullptr;
  ForEachLeaf(root_.get(), [&](const Zone& z) {
    if (hit != nullptr || !HasRoom(&z)) return;
    const TRect& b = z.Bounds;
    const TRect strip = GrabbersOnLeft() ? TRect(b.Left, b.Top, b.Left + grabberSize_, b.Bottom)
                                         : TRect(b.Left, b.Top, b.Right, b.Top + grabberSize_);
    if (!strip.Contains(pos)) return;
    hit = z.Control;
    kind = CloseButtonRect(b).Contains(pos) ? hkClose : hkGrabber;
  });
  return hit;
}

bool TDockTree::MouseMessage(TMessage& message) {
  const TPoint pos{message.XPos(), message.YPos()};
  THitKind kind = hkNone;
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TControl* client = HitTest(pos, kind);
      if (client == nullptr) return false;
      if (kind == hkClose) {
        closePressed_ = client;
      } else {
        BeginDockDrag(client, site_->ClientToScreen(pos));
      }
      message.Result = 0;
      return true;
    }
    case WM_LBUTTONUP: {
      TControl* pressed = closePressed_;
      if (pressed == nullptr) return false;
      closePressed_ = nullptr;
      if (HitTest(pos, kind) == pressed && kind == hkClose) pressed->SetVisible(false);
      message.Result = 0;
      return true;
    }
    default: return false;
  }
}
