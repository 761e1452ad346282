// TKxCustomListView: the list view base of the shell list. Adds to the toolkit's list view the
// framed controls' custom non-client frame, state colours (normal, focused, disabled), frame hot
// tracking and frame-controller membership; sorting by column click with alternating direction
// (an empty text after every other when ascending); a report header drawn by the list with a
// sort arrow and hot / pressed sections; stretching the last report column to the client width;
// info tips in the list's own hint window; check-box change events; an item context menu whose
// event may replace the menu; and items drawn on DisabledColor while the control is disabled.
// The arrow geometry is a pure function (SortArrowRect / SortArrowShown).
//
// The remembered normal colour is the colour the user set; state colours are applied under the
// updating-colour guard so they never become the normal colour.
#pragma once

#include <functional>
#include <string>

#include "controls/KxCommonTypes.h"
#include "controls/KxFrameController.h"
#include "toolkit/ui/ListView.h"

class TCanvas;
class TControlCanvas;

// The arrow's rectangle for a text rectangle: s = (top + bottom) div 2 - 1, left at the text's
// left, width s + 1, top (top + bottom - s) div 2 - 1, height s.
TRect SortArrowRect(const TRect& text);
// The arrow is drawn only while twice its width is less than the column width.
bool SortArrowShown(const TRect& arrow, int columnWidth);
// The column comparison: column 0 the captions, k > 0 the (k - 1)th sub-item (empty when
// missing), without regard to case; an empty text after any other; a negative column equal.
int CompareListItems(TListItem* a, TListItem* b, int column);

// Posted to itself after the window is made: the header item styles once more.
constexpr UINT KX_LIST_HEADER_STYLES_MESSAGE = 1124;

// Sender, item.
using TKxLvCheckStateChangeEvent = TMethodEvent<TObject*, TListItem*>;
// Sender, item, the new checked state, allow (starts true).
using TKxLvCheckStateChangingEvent = TMethodEvent<TObject*, TListItem*, bool, bool&>;
// Sender, item, position in client coordinates (may be changed), menu (may be replaced; nil
// shows none).
using TKxLvItemContextMenuEvent = TMethodEvent<TObject*, TListItem*, TPoint&, TComponent*&>;
// Sender, header canvas, section rectangle, column index.
using TKxLvDrawHeaderEvent = TMethodEvent<TObject*, TCanvas*, const TRect&, int>;
// Sender, item, tip text (starts as the caption).
using TLVInfoTipEvent = TMethodEvent<TObject*, TListItem*, std::string&>;

// Replaces the answer to whether this program is in the foreground (info tips show only then);
// an empty function restores the platform's answer.
void SetKxForegroundQuery(std::function<bool()> query);

class TKxCustomListView : public TCustomListView {
 public:
  explicit TKxCustomListView(TComponent* owner);
  ~TKxCustomListView() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // The view style; becoming a report refreshes the header's item styles.
  void SetViewStyle(TViewStyle value) override;
  virtual void RefreshStateColor();
  virtual void HotStateChanged(bool setOver, bool over);
  virtual void RepaintNonClientFrame();
  virtual void StretchLastColumn();
  virtual void SetStretchLastColumn(bool value);
  virtual bool UsesThemedFrame() const;

  TColor DisabledColor() const { return disabledColor_; }
  virtual void SetDisabledColor(TColor value);
  TColor FocusColor() const { return focusColor_; }
  virtual void SetFocusColor(TColor value);
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value);
  TKxFrameController* FrameController() const { return frameController_; }
  virtual void SetFrameController(TKxFrameController* value);
  TKxFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
  void SetFrameControllerNotifications(TKxFrameControllerNotifications value) { notifications_ = value; }
  TColor FrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor value);
  bool FrameHotTrack() const { return frameHotTrack_; }
  virtual void SetFrameHotTrack(bool value);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle value);
  TSides FrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle value);
  bool FrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  virtual void SetFramingPreference(TFramingPreference value);
  TColor NormalColor() const { return normalColor_; }
  bool ControllerOwns(TKxFrameControllerProperty property) const;

  bool SortOnClick() const { return sortOnClick_; }
  void SetSortOnClick(bool value) { sortOnClick_ = value; }
  int SortColumn() const { return sortColumn_; }
  void SetSortColumn(int value);
  // 0 ascending, 1 descending.
  int SortDirection() const { return sortDirection_; }
  void SetSortDirection(int value);
  // 0 none, 1 left of the text, 2 right of the text, 3 at the right edge.
  int SortDisplayMode() const { return sortDisplayMode_; }
  void SetSortDisplayMode(int value);
  bool StretchLastColumnFlag() const { return stretchLastColumn_; }
  bool EditOnRowClick() const { return editOnRowClick_; }
  void SetEditOnRowClick(bool value) { editOnRowClick_ = value; }
  // False hands every header section to OnDrawHeader.
  bool DefaultHeaderDrawing() const { return defaultHeaderDrawing_; }
  void SetDefaultHeaderDrawing(bool value) { defaultHeaderDrawing_ = value; }

  // The header section under the mouse (-1 none) and whether the left button holds one down.
  int HotSection() const { return hotSection_; }
  bool SectionPressed() const { return sectionPressed_; }
  // The info-tip window (nil before the first tip).
  HWND HintWindow() const { return hintWindow_; }

  TKxLvCheckStateChangeEvent OnCheckStateChange;
  TKxLvCheckStateChangingEvent OnCheckStateChanging;
  TKxLvItemContextMenuEvent OnItemContextMenu;
  TKxLvDrawHeaderEvent OnDrawHeader;
  TLVInfoTipEvent OnInfoTip;

  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  bool ListNotify(NMHDR* header, LRESULT& result) override;
  void ColumnClick(int column) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void DoEnter() override;
  void DoExit() override;
  void MouseEnter() override;
  void MouseLeave() override;
  // Scrolls by the system's wheel lines times the line height (the image height of the view).
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;

  // Draws one header section the default way (the canvas holds the section's DC).
  virtual void DoDrawHeader(int column, const TRect& rect, TCanvas& canvas);
  virtual void DoCheckStateChange(TListItem* item);
  virtual bool DoCheckStateChanging(TListItem* item, bool checked);
  virtual void ShowListContextMenu(TPoint point);
  virtual void PopupItemMenu(TPoint point);
  virtual void DoItemContextMenu(TListItem* item, TPoint& point, TComponent*& menu);
  void RefreshHeaderStyles();

  bool menuHandled_ = false;

 private:
  friend LRESULT CALLBACK KxListHeaderProc(HWND, UINT, WPARAM, LPARAM);
  void PaintFrame(HDC dc);
  void ColorChanged();
  void DrawHeaderSection(DRAWITEMSTRUCT* draw);
  void HookHeader();
  void UnhookHeader();
  LRESULT HeaderMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void SetHotSection(int value);
  void ShowInfoTip(int x, int y);
  void HideInfoTip();
  bool CustomDrawNotify(NMLVCUSTOMDRAW* draw, LRESULT& result);

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
  bool updatingColor_ = false;
  bool mouseOver_ = false;
  bool focused_ = false;
  TControlCanvas* canvas_;

  bool sortOnClick_ = false;
  int lastSorted_ = -1;
  bool editOnRowClick_ = false;
  bool stretchLastColumn_ = true;
  bool stretching_ = false;
  bool loadingStretch_ = false;

  int sortDisplayMode_ = 2;
  bool defaultHeaderDrawing_ = true;
  int sortColumn_ = -1;
  int sortDirection_ = 0;
  int hotSection_ = -1;
  bool sectionPressed_ = false;
  bool refreshingHeader_ = false;
  HWND header_ = nullptr;
  WNDPROC headerProc_ = nullptr;

  HWND hintWindow_ = nullptr;
  std::string hintText_;
  TPoint hintPos_;
  TPoint lastMove_;
  bool rightClicked_ = false;
};
