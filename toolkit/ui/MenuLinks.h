// What the window foundation needs of menus, which live with the standard controls: a form's
// main menu (the menu bar handle, and the commands and pop-up openings of the form's window)
// and a control's pop-up menu (shown on WM_CONTEXTMENU when the control's own handling leaves
// it). Menu components implement these beside TComponent.
#pragma once

#include "toolkit/ui/Messages.h"

class TMainMenuLink {
 public:
  virtual ~TMainMenuLink() = default;
  // The menu bar to attach to the form's window (made on demand).
  virtual HMENU MenuHandle() = 0;
  // A WM_COMMAND of a menu item (or its accelerator); true when an item took it.
  virtual bool DispatchCommand(WORD id) = 0;
  // WM_INITMENUPOPUP: a sub-menu of this menu is about to open; true when it is this menu's.
  virtual bool DispatchPopup(HMENU menu) = 0;
  // Other menu messages of the form's window (owner-draw WM_MEASUREITEM / WM_DRAWITEM of
  // menu items, WM_MENUSELECT, WM_MENUCHAR); true when handled.
  virtual bool MenuMessage(TMessage&) { return false; }
};

class TPopupMenuLink {
 public:
  virtual ~TPopupMenuLink() = default;
  virtual bool AutoPopup() const = 0;
  // Shows the menu at a screen position, for `component` (the control it was opened on).
  virtual void Popup(int x, int y, TObject* component) = 0;
};
