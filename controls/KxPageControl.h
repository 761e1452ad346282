// TKxPageControl shows one of its pages (TKxTabSheet) under the tab strip of
// TKxCustomTabControl: the tab list is rebuilt from the pages with a visible tab, choosing a tab
// shows its page, closing a tab frees the active page, dropping a dragged tab reorders the pages.
//
// Pages and tabs: page i has tab index -1 when its TabVisible is false, else the number of
// pages before it with a visible tab. The active page may have no tab (TabIndex is then -1).
// Only the active page is ever shown; a refused change (OnChanging) leaves the old page alone.
#pragma once

#include <string>
#include <vector>

#include "controls/KxTabs.h"

class TKxPageControl;

class TKxTabSheet : public TCustomControl {
 public:
  explicit TKxTabSheet(TComponent* owner);
  ~TKxTabSheet() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TKxPageControl* PageControl() const { return pageControl_; }
  // Leaves the old page control and joins `value` (its parent from then on).
  void SetPageControl(TKxPageControl* value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int value);
  bool TabEnabled() const { return tabEnabled_; }
  void SetTabEnabled(bool value);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value);
  // Position among the pages, -1 without a page control. Writing a value outside
  // 0..PageCount-1 raises EKxTabControlError and changes nothing; without a page control the
  // write does nothing.
  int PageIndex() const;
  void SetPageIndex(int value);
  // -1 when the tab is hidden, else the number of earlier pages with a visible tab.
  int GetTabIndex() const;
  // The page control shows and hides its pages itself: the sheet's Visible reads whether it is
  // shown and refuses every assignment with EKxTabControlError (also through the toolkit's
  // SetVisible).
  bool IsShown() const { return Visible(); }
  void RejectVisibleChange(bool value);
  void SetVisible(bool value) override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TKxPaintBackgroundEvent OnPaintBackground;

  void ReadState(TReader& reader) override;

 protected:
  friend class TKxPageControl;
  void Paint() override;
  void CMTextChanged(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;
  // Shows or hides the sheet (the page control's way), firing OnShow / OnHide.
  void SetShown(bool value);
  // Gives up the sheet's window and its children's (made again when it is shown).
  void ReleaseWindow() { DestroyHandle(); }

 private:
  TKxPageControl* pageControl_ = nullptr;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
  bool tabEnabled_ = true;
  bool tabVisible_ = true;
};

class TKxPageControl : public TKxCustomTabControl {
 public:
  explicit TKxPageControl(TComponent* owner);
  ~TKxPageControl() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TKxTabSheet* PageAt(int index) const;
  int IndexOfPage(const TKxTabSheet* sheet) const;
  TKxTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TKxTabSheet* sheet) { ChangeActivePage(sheet); }
  void ChangeActivePage(TKxTabSheet* sheet);
  TKxTabSheet* ActivePageDefault() const { return activePageDefault_; }
  void SetActivePageDefault(TKxTabSheet* sheet);
  // -1 without an active page; an index outside the pages clears TabIndex.
  int GetActivePageIndex() const;
  int ActivePageIndex() const { return GetActivePageIndex(); }
  void SetActivePageIndex(int index);
  bool DblClickUndocks() const { return dblClickUndocks_; }
  void SetDblClickUndocks(bool value) { dblClickUndocks_ = value; }
  bool SaveResources() const { return saveResources_; }
  void SetSaveResources(bool value) { saveResources_ = value; }
  // The page of tab `tabIndex` (null for none).
  TKxTabSheet* PageOfTab(int tabIndex) const;
  // Selects the next (previous) page with a visible tab, wrapping around.
  void SelectNextPage(bool goForward);

  // Docking (DockSite): each docked window gets a sheet of its own.
  void DockDrop(TControl* client, int x, int y) override;
  void DockClientRemoved(TControl* client) override;
  void DockClientChanged(TControl* client, UINT what) override;
  void GetSiteInfo(TControl* client, TRect& influence, TPoint mousePos, bool& canDock) override;
  // The sheet holding a docked window (null when it is not docked here).
  TKxTabSheet* SheetOfDockClient(const TControl* client) const;

  void InvalidateLayout() override;
  void HideAllTabs() override;
  void ShowAllTabs() override;
  void CloseCurrentTab() override;
  void RepositionCurrentTab(int newIndex) override;
  void SetUseColoredTabs(bool value) override;
  // A request to show one of the sheets (or a control on one) makes that sheet the active page.
  void ShowControl(TControl* control) override;
  // Pages stream in page order, and a page read back takes its place by that order.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  friend class TKxTabSheet;
  void InsertPage(TKxTabSheet* sheet);
  void RemovePage(TKxTabSheet* sheet);
  void MovePage(TKxTabSheet* sheet, int newIndex);
  void TabSelected(int index) override;
  TColor ActiveFillColor(int index) override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;
  void CMDialogKey(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void DblClick() override;

 private:
  // Shows `sheet` and hides the old page, keeping the form's focus inside the pages.
  void SwitchPages(TKxTabSheet* sheet);

  std::vector<TKxTabSheet*> pages_;
  TKxTabSheet* activePage_ = nullptr;
  TKxTabSheet* activePageDefault_ = nullptr;
  bool dblClickUndocks_ = true;
  bool saveResources_ = false;
  struct DockedWindow {
    TControl* Client;
    TKxTabSheet* Sheet;
  };
  std::vector<DockedWindow> docked_;
  bool recolouring_ = false;
  bool quietChange_ = false;
};
