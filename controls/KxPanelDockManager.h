// TKxPanelDockManager: the dock manager of a control-set panel that is a dock site. It lays
// the docked clients out with a 14-pixel grabber beside each (at the left when the panel is
// aligned to the top or bottom, else at the top), paints each grabber as a caption bar with
// the client's caption and a close glyph (active colours for a client holding the focus), or
// the toolkit's own grabber when the panel hides dock client captions, and hooks the panel's
// messages so that a command or a mouse activation repaints the panel (the caption colours
// follow the focus). The hook is put in at creation (not at design time) and taken out at
// destruction.
#pragma once

#include "toolkit/ui/DockTree.h"
#include "toolkit/ui/Messages.h"

class TFont;
class TKxCustomPanel;

class TKxPanelDockManager : public TDockTree {
 public:
  static constexpr int kGrabberSize = 14;

  explicit TKxPanelDockManager(TKxCustomPanel* panel);
  ~TKxPanelDockManager() override;

  TKxCustomPanel* Panel() const { return panel_; }
  TFont* CaptionFont() const { return captionFont_; }
  TFont* CloseGlyphFont() const { return closeFont_; }
  TRect CloseButtonRect(const TRect& zone) override;

 protected:
  void PaintDockFrame(TCanvas& canvas, TControl* control, const TRect& zone) override;

 private:
  void HookedWndProc(TMessage& message);
  // The client holds the focus (always true for a control without a window).
  static bool ClientActive(TControl* control);

  TKxCustomPanel* panel_;
  TFont* captionFont_;
  TFont* closeFont_;
  TWndMethod previousWndProc_;
  bool hooked_ = false;
};
