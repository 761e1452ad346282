// TKxCustomTabControl: a custom-drawn tab strip with a page area ("card") under it. It keeps
// tab records, measures captions, lays the tabs out in one scrolled row or several rows
// (geometry in KxTabGeometry), caches tab regions for hit testing, paints the strip off-screen,
// and handles selection with veto, keys, hot tracking, tab dragging and the strip buttons'
// requests. The page control (KxPageControl) fills the tab list from its pages.
//
// Selection (ChangeTabIndex):
//   source     test before selecting                after selecting
//   ---------  -----------------------------------  --------------------------------------
//   code,      CanSelectTab (exists, visible,       rows rotated / scrolled into view,
//   mouse      enabled, OnChanging allows)          TabSelected hook, OnChange, OnPageChange
//   keyboard,  the candidate was already tested     (only when the index changed)
//   layout     (or is the current tab)
//   any        out of 0..count-1: TabIndex -1, repaint, no OnChange
//
// Layout: every geometric change marks it dirty; the next paint (or RebuildLayoutIfDirty)
// measures and places the tabs, empties the region cache, updates the scroll need and the
// first shown tab, and re-selects the active tab when one is active.
// Invariants: TabIndex is -1 or a valid index; the first shown tab is -1 only without
// visible tabs.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "controls/KxButton.h"
#include "controls/KxTabGeometry.h"
#include "toolkit/classes/Persistent.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/ImgList.h"

class TBitmap;
class TKxTabScroller;
class TKxTabControlCloseButton;
class TKxActiveTabCloseButton;
class TKxTabMenuButton;

VK_DECLARE_EXCEPTION(EKxTabControlError, Exception);

enum TKxImagePosition { ipLeft, ipRight, ipTop, ipBottom, ipBack, ipStretch };
enum TKxHorizontalAlignment { haLeft, haCenter, haRight };
enum TKxVerticalAlignment { vaTop, vaCenter, vaBottom };
enum TKxTabHotTrackColorSource { htcsTabColor, htcsHotTrackColor };
enum TKxTabHotTrackStyle { htsTab, htsText, htsTabBar };
enum TKxTextStyle { tsHotTrack, tsSelected, tsUnselected, tsDisabled };
enum TOrientation { orHorizontal, orVertical };
const TEnumInfo& EnumTypeInfo(TKxImagePosition);
const TEnumInfo& EnumTypeInfo(TKxHorizontalAlignment);
const TEnumInfo& EnumTypeInfo(TKxVerticalAlignment);
const TEnumInfo& EnumTypeInfo(TKxTabHotTrackColorSource);
const TEnumInfo& EnumTypeInfo(TKxTabHotTrackStyle);
const TEnumInfo& EnumTypeInfo(TOrientation);

// One tab: what it shows and, after a layout, where it lies (strip coordinates) and its row.
class TKxTabData {
 public:
  std::string Caption;
  TColor Color = clBtnFace;
  int DisabledIndex = -1;
  bool Enabled = true;
  std::string Hint;
  int ImageIndex = -1;
  bool Visible = true;
  TRect Rect;
  int Row = 0;
  // Copies the seven shown properties.
  void Assign(const TKxTabData& source);
};

// Owns its tab records.
class TKxTabDataList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TKxTabData* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  TKxTabData* Add();
  void Replace(int index, TKxTabData* item);  // takes ownership, frees the old record
  void Clear() { items_.clear(); }
  void Assign(const TKxTabDataList& source);

 private:
  std::vector<std::unique_ptr<TKxTabData>> items_;
};

// One cached tab region: the tab's client rectangle and the region made for it. The item owns
// the region: it is deleted when the item leaves the cache (dropped, cleared or the cache freed).
class TKxTabRegionCacheItem {
 public:
  TKxTabRegionCacheItem(const TRect& rect, HRGN region) : rect_(rect), region_(region) {}
  ~TKxTabRegionCacheItem();
  TKxTabRegionCacheItem(const TKxTabRegionCacheItem&) = delete;
  TKxTabRegionCacheItem& operator=(const TKxTabRegionCacheItem&) = delete;
  const TRect& Rect() const { return rect_; }
  HRGN Region() const { return region_; }

 private:
  TRect rect_;
  HRGN region_;
};

// Most-recently-used cache of tab regions keyed by the tab's client rectangle.
class TKxTabRegionCache {
 public:
  explicit TKxTabRegionCache(int capacity = 1) { SetCapacity(capacity); }
  TKxTabRegionCache(const TKxTabRegionCache&) = delete;
  TKxTabRegionCache& operator=(const TKxTabRegionCache&) = delete;
  int Capacity() const { return capacity_; }
  // -1 keeps every region; 0 or below -1 raises EKxTabControlError.
  void SetCapacity(int value);
  int Count() const { return static_cast<int>(items_.size()); }
  HRGN Find(const TRect& rect);                 // moves a hit to the front
  void Add(const TRect& rect, HRGN region);     // takes ownership
  void Clear() { items_.clear(); }

 private:
  void Trim();
  std::list<TKxTabRegionCacheItem> items_;
  int capacity_ = 1;
};

// The tab control's two published colour sets. Each keeps three colours, streams them as
// "TabColors.HighlightBar" and so on, and tells its control of every change (OnChange).
// Copying copies the colours only.
class TKxTabColors : public TPersistent {
 public:
  TKxTabColors() = default;
  TKxTabColors(const TKxTabColors& other) : TPersistent() { *this = other; }
  TKxTabColors& operator=(const TKxTabColors& other);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;
  void Set(TColor TKxTabColors::*field, TColor value);

  TColor HighlightBar = clHighlight;
  TColor Shadow = clBtnFace;
  TColor Unselected = clWindow;
  std::function<void()> OnChange;
};

class TKxTextColors : public TPersistent {
 public:
  TKxTextColors() = default;
  TKxTextColors(const TKxTextColors& other) : TPersistent() { *this = other; }
  TKxTextColors& operator=(const TKxTextColors& other);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;
  void Set(TColor TKxTextColors::*field, TColor value);

  TColor Disabled = clGrayText;
  TColor Selected = clBtnText;
  TColor Unselected = clBtnText;
  std::function<void()> OnChange;
};

using TKxTabChangingEvent = TMethodEvent<TObject*, int, bool&>;
using TKxTabCloseEvent = TMethodEvent<TObject*, bool&>;
using TKxTabDraggingEvent = TMethodEvent<TObject*, int, bool&>;
using TKxTabOrderChangeEvent = TMethodEvent<TObject*, int, int>;
using TKxGetTextColorEvent = TMethodEvent<TObject*, int, TKxTextStyle, TColor&, bool&>;
using TKxPaintBackgroundEvent = TMethodEvent<TObject*, TCanvas*, TRect, bool&>;
using TKxPaintTabBackgroundEvent = TMethodEvent<TObject*, TCanvas*, int, TRect, bool&>;

// Where a selection request comes from (see the table above).
enum class TKxTabChangeSource { Code, Mouse, Keyboard, Layout };

class TKxCustomTabControl : public TCustomControl {
 public:
  explicit TKxCustomTabControl(TComponent* owner);
  ~TKxCustomTabControl() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TKxTabDataList& Tabs() { return tabs_; }
  // Adds a tab and marks the layout dirty; answers its index.
  int AddTab(const std::string& caption);

  // ---- Geometry properties ---------------------------------------------------------------
  TKxTabStyle TabStyle() const { return tabStyle_; }
  void SetTabStyle(TKxTabStyle value);
  TKxTabOrientation TabOrientation() const { return tabOrientation_; }
  void SetTabOrientation(TKxTabOrientation value);
  TKxTabSequence TabSequence() const { return tabSequence_; }
  void SetTabSequence(TKxTabSequence value);
  TOrientation TextOrientation() const { return textOrientation_; }
  void SetTextOrientation(TOrientation value);
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int value);
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int value);
  int CutCornerSize() const { return cutCornerSize_; }
  void SetCutCornerSize(int value);
  bool SoftCorners() const { return softCorners_; }
  void SetSoftCorners(bool value);
  int TabOverlap() const { return tabOverlap_; }
  void SetTabOverlap(int value);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  int RowIndent() const { return rowIndent_; }
  void SetRowIndent(int value);
  int RowOverlap() const { return rowOverlap_; }
  void SetRowOverlap(int value);
  bool AlignTabs() const { return alignTabs_; }
  void SetAlignTabs(bool value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  TKxImagePosition ImagePosition() const { return imagePosition_; }
  void SetImagePosition(TKxImagePosition value);
  int ImageMargin() const { return imageMargin_; }
  void SetImageMargin(int value);
  TKxHorizontalAlignment ImageAlignment() const { return imageAlignment_; }
  void SetImageAlignment(TKxHorizontalAlignment value);
  TKxVerticalAlignment ImageAlignmentVertical() const { return imageAlignmentVertical_; }
  void SetImageAlignmentVertical(TKxVerticalAlignment value);
  TKxHorizontalAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TKxHorizontalAlignment value);
  TKxVerticalAlignment TextAlignmentVertical() const { return textAlignmentVertical_; }
  void SetTextAlignmentVertical(TKxVerticalAlignment value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  bool BoldCurrentTab() const { return boldCurrentTab_; }
  void SetBoldCurrentTab(bool value);
  bool ShowCloseButton() const { return showCloseButton_; }
  void SetShowCloseButton(bool value);
  bool ShowMenuButton() const { return showMenuButton_; }
  void SetShowMenuButton(bool value);
  bool ShowCloseButtonOnActiveTab() const { return showCloseButtonOnActiveTab_; }
  void SetShowCloseButtonOnActiveTab(bool value);
  int FixedDimension() const { return fixedDimension_; }
  // First pass of the layout: the number of rows the visible tabs need (1 unless MultiLine).
  // A tab fits a row while x + L < the row's length; each further row is RowIndent shorter.
  static int ArrangeTabRows(const TKxStripInput& input);
  // The tab polygon of `style` for a drawn rectangle (strip coordinates), from the base's left
  // end over the tip to the base's right end; `cutCorner` is CutCornerSize.
  static std::vector<TPoint> BuildTabShape(TKxTabStyle style, bool softCorners, const TRect& rect, int cutCorner);
  void SetRegionCacheCapacity(int value);
  TKxTabRegionCache& RegionCache() { return regionCache_; }

  // ---- Look ------------------------------------------------------------------------------
  TColor BackgroundColor() const;
  void SetBackgroundColor(TColor value);
  bool ParentBackgroundColor() const { return parentBackgroundColor_; }
  void SetParentBackgroundColor(bool value);
  TColor ButtonColor() const { return buttonColor_; }
  void SetButtonColor(TColor value);
  TColor FlatColor() const { return flatColor_; }
  void SetFlatColor(TColor value);
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  void SetFlatColorAdjustment(int value);
  // ShiftColorLightness(FlatColor, FlatColorAdjustment).
  TColor FrameColor() const;
  TKxTabColors& TabColors() { return tabColors_; }
  void SetTabColors(const TKxTabColors& value);
  TKxTextColors& TextColors() { return textColors_; }
  void SetTextColors(const TKxTextColors& value);
  bool UseColoredTabs() const { return useColoredTabs_; }
  virtual void SetUseColoredTabs(bool value);
  bool UseGradients() const { return useGradients_; }
  void SetUseGradients(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool ShowCardFrame() const { return showCardFrame_; }
  void SetShowCardFrame(bool value);
  bool ShowFullFrame() const { return showFullFrame_; }
  void SetShowFullFrame(bool value);
  bool ShowShadow() const { return showShadow_; }
  void SetShowShadow(bool value);
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool value);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value);
  TColor HotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(TColor value);
  TKxTabHotTrackColorSource HotTrackColorSource() const { return hotTrackColorSource_; }
  void SetHotTrackColorSource(TKxTabHotTrackColorSource value);
  TKxHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  void SetHotTrackColorType(TKxHotTrackColorType value);
  TKxTabHotTrackStyle HotTrackStyle() const { return hotTrackStyle_; }
  void SetHotTrackStyle(TKxTabHotTrackStyle value);
  bool TabHints() const { return tabHints_; }
  void SetTabHints(bool value) { tabHints_ = value; }
  bool AllowTabDragging() const { return allowTabDragging_; }
  void SetAllowTabDragging(bool value) { allowTabDragging_ = value; }
  TColor DragIndicatorColor() const { return dragIndicatorColor_; }
  void SetDragIndicatorColor(TColor value);
  bool SortTabMenu() const { return sortTabMenu_; }
  void SetSortTabMenu(bool value) { sortTabMenu_ = value; }

  // ---- Selection and layout state --------------------------------------------------------
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int value) { ChangeTabIndex(value, TKxTabChangeSource::Code); }
  int HotTab() const { return hotTab_; }
  int RowCount() const { return rows_; }
  int FirstShownTab() const { return firstShown_; }
  bool ScrollNeeded() const { return scrollNeeded_; }
  // Measures and places the tabs when a change left the layout dirty.
  void RebuildLayoutIfDirty();
  // Marks the layout dirty and repaints (the page control rebuilds its tab list first).
  virtual void InvalidateLayout();
  // The strip band and the card (client area offered to children), client coordinates.
  TRect StripRect();
  TRect CardRect();
  // Shortens a card (of row `row`, multi-line) by the row indents and moves it with its row.
  void IndentCard(TRect& card, int row) const;
  // Whether tab `index` is visible and inside the scrolled window of the strip.
  bool IsTabShown(int index) const;
  // The tab's client bounding rectangle; empty when not shown.
  TRect TabRect(int index);
  // The tab's polygon in client coordinates; empty when not shown.
  std::vector<TPoint> TabPolygon(int index);
  // The shown tab under a client point, the active tab first; -1 for none.
  int TabIndexAt(TPoint point);
  // Whether a tab other than the current one may be selected (asks OnChanging).
  virtual bool CanSelectTab(int index);
  // Scrolls by whole tabs (forwards for a positive step); fires OnScrolledTabs.
  void ScrollTabsBy(int step);
  // Whether the strip can scroll back / forward from its position.
  bool CanScrollBack() const;
  bool CanScrollForward() const;
  // The request of a close button: OnClose (nothing closes without a handler allowing it),
  // then CloseCurrentTab.
  void CloseRequest();
  virtual void CloseCurrentTab() {}
  // A dragged active tab dropped on tab `newIndex`: the tab moves there (OnTabOrderChange).
  virtual void RepositionCurrentTab(int newIndex);
  // Every tab hidden / shown (the page control: every page's TabVisible).
  virtual void HideAllTabs();
  virtual void ShowAllTabs();

  TKxTabScroller* Scroller() const { return scroller_; }
  TKxTabControlCloseButton* CloseButton() const { return closeButton_; }
  TKxActiveTabCloseButton* ActiveTabCloseButton() const { return activeCloseButton_; }
  TKxTabMenuButton* MenuButton() const { return menuButton_; }
  // Length s of a strip button along the strip and its thickness (layout of the buttons).
  int StripButtonSize();

  TKxTabChangingEvent OnChanging;
  TNotifyEvent OnChange;
  TNotifyEvent OnTabClick;
  TKxTabCloseEvent OnClose;
  TKxTabDraggingEvent OnTabDragging;
  TKxTabOrderChangeEvent OnTabOrderChange;
  TNotifyEvent OnScrolledTabs;
  TKxGetTextColorEvent OnGetTextColor;
  TKxPaintBackgroundEvent OnPaintBackground;
  TKxPaintTabBackgroundEvent OnPaintTabBackground;
  TKxPaintTabBackgroundEvent OnPaintCardBackground;  // the int is the row
  TNotifyEvent OnAlignControls;
  TNotifyEvent OnPageChange;

  // Dropping a dragged tab on this control: accepted only over another tab than the active
  // one; the drop indicator marks the target's edge.
  void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
  void DragDrop(TObject* source, int x, int y) override;
  // The drop indicator's rectangle (client coordinates) while shown.
  bool DropIndicatorShown() const { return indicatorShown_; }
  TRect DropIndicatorRect() const { return indicatorRect_; }
  bool DragScrollTimerRunning() const { return dragScrollTimer_; }

  void DefineProperties(TFiler& filer) override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  // Selecting; see the table at the top.
  virtual void ChangeTabIndex(int value, TKxTabChangeSource source);
  // Called with the new index after it was taken, before OnChange.
  virtual void TabSelected(int index) { (void)index; }
  // Descendants that store TabIndex unchecked (while they rebuild) set this.
  bool suppressChecks_ = false;
  // Loaded: takes the stored TabIndex and selects it.
  void Loaded() override;
  void Paint() override;
  void AdjustClientRect(TRect& rect) override;
  void AlignControls(TControl* control, TRect& rect) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // Hot-track repaints: the strip only.
  void InvalidateStrip();
  // Shows the hint of the tab just entered (TabHints) after the hint pause, hiding the last.
  void RestartHint();
  void Resize() override;
  void DoEndDrag(TObject* target, int x, int y) override;
  int PressedTab() const { return pressedTab_; }
  void KeyDown(WORD& key, TShiftState shift) override;
  void CMColorChanged(TMessage& message) override;
  void CMParentColorChanged(TMessage& message) override;
  // Fills the card layer `row` (card rectangle moved by `row` rows).
  virtual void PaintCardBackground(TCanvas& canvas, int row, const TRect& rect);
  // The colour a visible tab is filled with when active (the page control: the page's).
  virtual TColor ActiveFillColor(int index);
  bool Loading() const;
  // Repaint without forgetting the layout.
  void ClearHotAndRepaint();

 private:
  struct DrawnTab;
  void MeasureAndPlace();
  TSize MeasureTabContent(int index, TCanvas& canvas);
  // The caption's extent in the tab font: lines cut at CR LF, an accelerator mark taking no
  // room; horizontal text stacks the lines (widest line x sum of heights), vertical text is
  // the transpose.
  TSize MeasureTabText(const std::string& caption, TCanvas& canvas, bool bold);
  void SelectTabFont(TCanvas& canvas, bool bold);
  int StripLengthAlong(const TRect& strip) const;
  int ScrollOffset() const;
  TRect DrawnStripRect(int index) const;
  // The caption area of a tab (strip coordinates): its drawn rectangle inset by style.
  TRect CaptionStripRect(int index) const;
  // Whether the active tab keeps room for its close button: horizontal text on top and bottom
  // tabs, vertical text on side tabs.
  bool CloseRoomApplies() const;
  // The active tab's close room in client coordinates (empty without an active tab).
  TRect ActiveCloseRoom();
  // Puts the active tab's close button into that room (hidden without an active shown tab).
  void PlaceActiveCloseButton();
  void DrawStretchedImage(TCanvas& canvas, int imageIndex, bool enabled, const TRect& area);
  void DrawVerticalCaption(TCanvas& canvas, const std::string& caption, const TRect& area, TColor color,
                           bool hideAccel);
  std::vector<TPoint> StripPolygon(int index) const;
  HRGN TabRegionOf(int index);
  void UpdateScrollNeed();
  void KeepFirstShown();
  void RotateToActive();
  void ScrollIntoView(int index);
  void PaintTabStrip(TCanvas& canvas);
  void PaintTab(TCanvas& canvas, int index);
  // Records the tab's outline: the frame colour, a move to the polygon's first point and lines
  // through the others. EKxTabControlError "Incorrect number of points in tab shape" when the
  // polygon does not have its style's point count.
  void PaintTabOutline(int index);
  void FillTabBackground(TCanvas& canvas, int index, const TRect& rect);
  void PaintTabFace(TCanvas& canvas, int index, const TRect& rect);
  void PaintCardLayer(TCanvas& canvas, int row);
  void PaintCardFrame(TCanvas& canvas);
  void PlayOutlineCommands(TCanvas& canvas);
  // Places the strip buttons (never while loading): the close button, then the menu button,
  // then the scroller, each only when shown; then the active tab's close button.
  void PlaceStripButtons();
  struct StripButtonPlacement;
  StripButtonPlacement StartStripButtonPlacement();
  void PlaceStripButton(StripButtonPlacement& placement, TControl* button, int length);
  void PlaceCloseButton(StripButtonPlacement& placement);
  void PlaceMenuButton(StripButtonPlacement& placement);
  void PlaceScroller(StripButtonPlacement& placement);
  void EnsureStripButtons();
  int FindSelectable(int from, int step, bool includeStart);
  void SelectByKey(int index);
  void SetHot(int index);
  TRect DropIndicatorRectFor(int target);
  void ToggleDragIndicator(const TRect& rect);
  void ShowDropIndicator(int target);
  void HideDropIndicator();
  void StopDragScroll();
  void DragScrollStep();
  void ImagesChanged(TObject*) { Invalidate(); }
  bool Vertical() const { return tabOrientation_ == toLeft || tabOrientation_ == toRight; }
  bool RoundOrSquare() const { return tabStyle_ == tsRoundCorners || tabStyle_ == tsSquareCorners; }
  bool ShadowApplies() const;

  TKxTabDataList tabs_;
  TKxTabRegionCache regionCache_;
  TKxTabStyle tabStyle_ = tsSingleSlant;
  TKxTabOrientation tabOrientation_ = toTop;
  TKxTabSequence tabSequence_ = tsStandard;
  TOrientation textOrientation_ = orHorizontal;
  int tabHeight_ = 0;
  int tabWidth_ = 0;
  int cutCornerSize_ = 6;
  bool softCorners_ = false;
  int tabOverlap_ = -1;
  bool multiLine_ = false;
  int rowIndent_ = 5;
  int rowOverlap_ = 5;
  bool alignTabs_ = false;
  int margin_ = 0;
  TKxImagePosition imagePosition_ = ipLeft;
  int imageMargin_ = 2;
  TKxHorizontalAlignment imageAlignment_ = haCenter;
  TKxVerticalAlignment imageAlignmentVertical_ = vaCenter;
  TKxHorizontalAlignment textAlignment_ = haCenter;
  TKxVerticalAlignment textAlignmentVertical_ = vaCenter;
  TCustomImageList* images_ = nullptr;
  TChangeLink imageLink_;
  bool boldCurrentTab_ = false;
  bool showCloseButton_ = false;
  bool showMenuButton_ = false;
  bool showCloseButtonOnActiveTab_ = false;

  TColor backgroundColor_ = clBtnFace;
  bool parentBackgroundColor_ = true;
  TColor buttonColor_ = clBtnFace;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 0;
  TKxTabColors tabColors_;
  TKxTextColors textColors_;
  bool useColoredTabs_ = false;
  bool useGradients_ = true;
  bool transparent_ = false;
  bool showCardFrame_ = true;
  bool showFullFrame_ = true;
  bool showShadow_ = true;
  bool showFocusRect_ = true;
  bool hotTrack_ = true;
  TColor hotTrackColor_ = static_cast<TColor>(0x149BF0);
  TKxTabHotTrackColorSource hotTrackColorSource_ = htcsTabColor;
  TKxHotTrackColorType hotTrackColorType_ = htctActual;
  TKxTabHotTrackStyle hotTrackStyle_ = htsTab;
  bool tabHints_ = false;
  bool allowTabDragging_ = false;
  TColor dragIndicatorColor_ = static_cast<TColor>(0x505050);
  bool sortTabMenu_ = true;

  int tabIndex_ = -1;
  int storedTabIndex_ = -1;
  int hotTab_ = -1;
  int pressedTab_ = -1;
  int rows_ = 1;
  int fixedDimension_ = 0;
  int firstShown_ = -1;
  bool scrollNeeded_ = false;
  bool layoutDirty_ = true;
  bool rebuilding_ = false;
  bool stripShown_ = true;
  int stripLength_ = 0;  // A of the current layout
  bool hotTimer_ = false;
  std::vector<int> outline_;
  std::unique_ptr<TBitmap> buffer_;
  std::unique_ptr<TBitmap> parentImage_;
  TRect lastCard_;
  std::string ownHint_;
  bool restartingHint_ = false;
  bool hintSaved_ = false;
  // Dragging a tab.
  bool indicatorShown_ = false;
  int indicatorTarget_ = -1;
  TRect indicatorRect_;
  bool dragScrollTimer_ = false;
  TPoint dragPoint_;

  TKxTabScroller* scroller_ = nullptr;
  TKxTabControlCloseButton* closeButton_ = nullptr;
  TKxActiveTabCloseButton* activeCloseButton_ = nullptr;
  TKxTabMenuButton* menuButton_ = nullptr;

  friend class TKxTabControlTestAccess;
};
