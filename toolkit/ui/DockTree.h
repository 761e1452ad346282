// TDockTree: the dock manager of a dock site that uses one. It keeps the docked clients in a
// tree of zones (a zone holds one client, or a row or column of zones), lays the visible
// clients out in the site's client area with a grabber strip beside each, paints the grabbers,
// says where a client dragged over the site would land (the drop frame), and takes the site's
// mouse presses on a grabber: a press starts dragging that client (to undock it), a click on
// the close button hides it.
//
// Invariants: every leaf zone holds a client docked on the site; a row or column has at
// least two zones and never the orientation of its parent (a lone child replaces its
// parent). Only visible clients that are still the site's children get room.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/graphics/Types.h"
#include "toolkit/ui/Control.h"

class TCanvas;
class TWinControl;

class TDockTree {
 public:
  explicit TDockTree(TWinControl* site);
  virtual ~TDockTree();
  TDockTree(const TDockTree&) = delete;
  TDockTree& operator=(const TDockTree&) = delete;

  TWinControl* DockSite() const { return site_; }
  // The thickness of the grabber strip beside each client.
  int GrabberSize() const { return grabberSize_; }
  void SetGrabberSize(int value) { grabberSize_ = value; }
  // Whether the grabbers run along the left of their zones (else along the top): a site
  // aligned to the top or bottom of its parent lays its clients out in a row.
  virtual bool GrabbersOnLeft() const;

  // Adds `control` beside `dropControl` (null: at the end of the site): alLeft/alRight put it
  // before/after in a row, alTop/alBottom in a column; other values after it along the
  // site's own direction. Then lays the clients out.
  virtual void InsertControl(TControl* control, TAlign insertAt, TControl* dropControl);
  // Takes `control` out (nothing when it is not here) and lays the rest out.
  virtual void RemoveControl(TControl* control);
  bool Contains(const TControl* control) const;
  // Number of docked clients (visible or not).
  int ClientCount() const;

  // Places every visible client in its zone of the site's client area (less its grabber).
  // Without `force` nothing happens while the area is the one last laid out.
  virtual void ResetBounds(bool force);
  // The zone of a docked client in the site's client coordinates (grabber included); empty
  // when it is not docked here or gets no room.
  TRect ZoneRect(const TControl* control) const;
  // The client's bounds inside its zone: the zone less the grabber strip.
  virtual void AdjustDockRect(TControl* control, TRect& rect);
  // The close button of a zone's grabber.
  virtual TRect CloseButtonRect(const TRect& zone);

  // Paints the grabber of every client that gets room; `dc` has the site's client origin.
  void PaintSite(HDC dc);

  // Where `client` dragged to the screen point `mousePos` would dock: the client it would sit
  // beside (null: the empty site or its end), on which side, and the drop frame on screen.
  virtual void PositionDockRect(TControl* client, TPoint mousePos, TControl*& dropControl, TAlign& dropAlign,
                                TRect& dockRect);

  enum THitKind { hkNone, hkGrabber, hkClose };
  // The client whose grabber holds `pos` (site client coordinates), and which part.
  TControl* HitTest(TPoint pos, THitKind& kind);
  // The site's mouse messages: a press on a grabber starts a dock drag of its client, a
  // press and release on the close button hides it. Answers whether the message was used.
  virtual bool MouseMessage(TMessage& message);

 protected:
  // Paints one grabber; `zone` is the client's whole zone (site client coordinates). The
  // default: two raised bars along the strip and a close button.
  virtual void PaintDockFrame(TCanvas& canvas, TControl* control, const TRect& zone);

 private:
  struct Zone {
    TControl* Control = nullptr;  // a leaf's client
    bool Horizontal = true;       // a row (else a column), for zones with children
    std::vector<std::unique_ptr<Zone>> Children;
    Zone* Parent = nullptr;
    TRect Bounds;
  };
  Zone* FindZone(Zone* zone, const TControl* control) const;
  bool HasRoom(const Zone* zone) const;
  void Layout(Zone* zone, const TRect& rect);
  void Collapse(Zone* zone);
  template <class F>
  void ForEachLeaf(const Zone* zone, F&& f) const;

  TWinControl* site_;
  int grabberSize_ = 12;
  std::unique_ptr<Zone> root_;
  TRect laidOut_;
  TControl* closePressed_ = nullptr;
};
