// TKxCustomTreeView: the tree view base of the shell tree. Adds to the toolkit's tree view the
// control set's custom frame in the non-client area, state colours (normal, focused, disabled),
// frame hot tracking, frame-controller membership, a fixed item height, a selection rectangle
// that keeps the selection visible while unfocused, a per-node context menu whose event may
// replace the menu, wheel scrolling by the system's line count, and the node tree as
// tab-indented lines. The remembered normal colour is the colour the user set; state colours
// are applied under the updating-colour guard so they never become the normal colour.
#pragma once

#include <string>

#include "controls/KxCommonTypes.h"
#include "controls/KxFrameController.h"
#include "toolkit/ui/TreeView.h"

class TControlCanvas;
class TPen;
class TStrings;

// Sender, node, position in client coordinates (may be changed), menu (may be replaced; nil
// shows none).
using TKxTvOnNodeContextMenuEvent = TMethodEvent<TObject*, TTreeNode*, TPoint&, TComponent*&>;

class TKxCustomTreeView : public TCustomTreeView {
 public:
  explicit TKxCustomTreeView(TComponent* owner);
  ~TKxCustomTreeView() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Nil without a window; the right-click node while its menu runs (with RightClickSelect);
  // otherwise the selected node.
  TTreeNode* SelectedNode();
  void SelectNode(TTreeNode* node) { SetSelected(node); }

  virtual void UpdateItemHeight();
  virtual void RefreshStateColor();
  virtual void HotStateChanged(bool setOver, bool over);
  virtual void RepaintNonClientFrame();
  // Rebuilds the nodes from lines whose leading tabs and blanks give the level. A level more
  // than one deeper than the line before raises ETreeViewError
  // "Invalid level (<level>) for item "<text>"".
  virtual void LoadFromLines(TStrings* lines);
  // Every node in tree order as one line: a tab per level, then its text.
  virtual void SaveToLines(TStrings* lines);
  virtual void SetSelectModeFlag(bool value);
  bool SelectModeFlag() const { return selectOnExpand_; }
  // The toolkit's setter; switching automatic expansion on ends selecting on expand.
  virtual void SetAutoExpand(bool value);
  virtual bool UsesThemedFrame() const;

  TColor DisabledColor() const { return disabledColor_; }
  // Stores; while the control is disabled the state colour is refreshed.
  virtual void ChangeDisabledColor(TColor value);
  TColor FocusColor() const { return focusColor_; }
  // Stores; while the control has the focus the state colour is refreshed.
  virtual void ChangeFocusColor(TColor value);
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value);
  TKxFrameController* FrameController() const { return frameController_; }
  virtual void SetFrameController(TKxFrameController* value);
  TKxFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
  void SetFrameControllerNotifications(TKxFrameControllerNotifications value) { notifications_ = value; }
  TColor FrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor value);
  bool FrameHotTrack() const { return frameHotTrack_; }
  // When the value changes: stores it; when it became true also FrameVisible and, unless
  // loading, FrameSides all four sides; then repaints the frame and invalidates the control.
  virtual void ChangeFrameHotTrack(bool value);
  void SetFrameHotTrack(bool value) { ChangeFrameHotTrack(value); }
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle value);
  TSides FrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle value);
  bool FrameVisible() const { return frameVisible_; }
  // When the value changes: stores it and recreates the window (recreating flag set meanwhile).
  virtual void ChangeFrameVisible(bool value);
  void SetFrameVisible(bool value) { ChangeFrameVisible(value); }
  TFramingPreference FramingPreference() const { return framingPreference_; }
  // When the value changes: stores it and repaints the frame only for fpCustomFraming.
  virtual void ChangeFramingPreference(TFramingPreference value);
  void SetFramingPreference(TFramingPreference value) { ChangeFramingPreference(value); }
  int ItemHeight() const { return itemHeight_; }
  // Stores; when it changed, UpdateItemHeight.
  virtual void ChangeItemHeight(int value);
  virtual void SetSelectionFramePen(TPen* pen);
  TPen* SelectionPen() const { return selectionPen_; }
  TColor NormalColor() const { return normalColor_; }

  TKxTvOnNodeContextMenuEvent OnNodeContextMenu;

  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;
  bool ControllerOwns(TKxFrameControllerProperty property) const;

 protected:
  void CreateWnd() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  void DoEnter() override;
  void DoExit() override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool RightClickNotify() override;
  void Expand(TTreeNode* node) override;
  void Collapse(TTreeNode* node) override;

  virtual void PopupSelectionMenu();
  virtual void PopupNodeMenu(TTreeNode* node, TPoint point);
  virtual void DoNodeContextMenu(TTreeNode* node, TPoint& point, TComponent*& menu);
  // Whether a label editor of this tree has the focus.
  bool EditorFocused();
  // Shows `menu` (a TPopupMenuLink component) at a client point.
  void PopupAt(TComponent* menu, TPoint point);

  TTreeNode* rightClickNode_ = nullptr;

 private:
  // The custom frame on `dc` (the window's own context when null).
  void PaintFrame(HDC dc);
  // The selection rectangle of an unfocused tree on `dc` (the client context when null).
  void PaintSelectionRect(HDC dc);
  void ColorChanged();
  void ScrollSteps(int bar, int code, int count);

  TColor normalColor_ = clWindow;
  TColor disabledColor_ = clBtnFace;
  TColor focusColor_ = clWindow;
  TColor frameColor_ = clBtnShadow;
  TKxFrameController* frameController_ = nullptr;
  TKxFrameControllerNotifications notifications_ = kAllFrameControllerNotifications;
  TColor frameHotColor_ = clBtnShadow;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = kAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  TPen* selectionPen_;
  int itemHeight_ = 0;
  bool updatingColor_ = false;
  bool recreating_ = false;
  bool selectOnExpand_ = false;
  bool menuHandled_ = false;
  TControlCanvas* canvas_;
  bool mouseOver_ = false;
  bool focused_ = false;
};
