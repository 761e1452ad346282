// TCustomAxisPanel: the chart panel with axes and series. Every paint runs one fixed sequence
// (background, series preparation, axis layout and automatic ranges, pixel margins, walls,
// axes behind or over the series, each series clipped to the chart rectangle, after-draw) with
// repainting off for its whole length. It keeps the series list, gives uncoloured series a
// palette colour no other series draws with, pages points and finds the extremes the axes'
// automatic ranges come from. Series reach it through ISeriesOwner and axes through IAxisOwner;
// walls, titles and legend hook in through the virtual Reserve/Paint operations, empty here.
// Add-ons (tools, animations) hear of fixed phases of the paint and of the mouse.
//
// Paint sequence (PaintChartArea), in order: background; BeforeChartPaint; titles and legend
// (place); depth order; wall space; BeforeAxesLayout; LayoutAxes; ComputeDepthRange; pixel
// margins; projection; walls, axes and series (PaintAxesAndSeries); titles and legend (draw);
// zoom rectangle; after-draw. A series that raises leaves no clip and no open element behind
// and the exception reaches the caller with RepaintEnabled restored.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/ChartAxis.h"
#include "chart/ChartSeries.h"
#include "chart/KelPanelExtended.h"
#include "chart/SeriesGroups.h"
#include "chart/SeriesSelection.h"

class TCustomAxisPanel;

// The chart's own custom axes: each axis joins the chart's axis list when it is made (also by a
// layout reader) and leaves it when it is freed, sending the series bound to it back to the
// bottom or left axis. AddAxis makes an axis that starts as a copy of the chart's first
// visible axis of its orientation; a layout reader's axes take only what the layout says.
class TPanelCustomAxes : public TChartCustomAxes {
 public:
  explicit TPanelCustomAxes(TCustomAxisPanel* panel);
  ~TPanelCustomAxes() override;
  TChartAxis& AddAxis();

 protected:
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

 private:
  TCustomAxisPanel* panel_;
};


// The series list of a chart, with the chart's named groups of series.
class TChartSeriesList : public TCustomSeriesList {
 public:
  explicit TChartSeriesList(TCustomAxisPanel* chart);
  TSeriesGroups* Groups() const { return groups_.get(); }

 private:
  std::unique_ptr<TSeriesGroups> groups_;
};

// Every axis of a chart: the six standard ones first, then the custom ones. Freeing the list
// frees the axes still in it (a custom axis leaves it when its collection frees it).
class TChartAxes : public TChartPointerList<TChartAxis> {
 public:
  TChartAxes() = default;
  ~TChartAxes() { FreeAll(); }
  void FreeAll();
  TChartAxes(const TChartAxes&) = delete;
  TChartAxes& operator=(const TChartAxes&) = delete;
};

// A chart add-on (a tool or an animation): hears of the fixed points of every paint and, while
// active, of the mouse over the chart. No add-on class is part of this system; the lists stay
// empty unless a program adds its own.
class IChartAddOn {
 public:
  virtual ~IChartAddOn() = default;
  virtual bool AddOnActive() const { return true; }
  // Paint phases: 2 before painting, 3 before the axes, 1 before the series, 4 after the
  // series, 0 after painting; 5 when the mouse left the chart.
  virtual void ChartPaintPhase(int /*phase*/) {}
  // Kind 0 down, 1 up, 2 move, 3 wheel (at the cursor position). An add-on that handles the
  // mouse sets the chart's MouseHandled flag, which ends the forwarding.
  virtual void ChartMouse(int /*kind*/, TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {}
  // A series is about to draw its values (kind 1) or has drawn them (kind 4).
  virtual void ChartSeriesValues(int /*kind*/, TChartSeries& /*series*/) {}
  // Keys and dragging over the chart, after the chart's own handling.
  virtual void ChartKeyDown(WORD& /*key*/, TShiftState /*shift*/) {}
  virtual void ChartKeyUp(WORD& /*key*/, TShiftState /*shift*/) {}
  virtual void ChartKeyPress(wchar_t& /*key*/) {}
  virtual void ChartDragOver(TObject* /*source*/, int /*x*/, int /*y*/, TDragState /*state*/, bool& /*accept*/) {}
  virtual void ChartDragDrop(TObject* /*source*/, int /*x*/, int /*y*/) {}
  virtual void ChartStartDrag() {}
  virtual void ChartEndDrag(TObject* /*target*/, int /*x*/, int /*y*/) {}
};

// Add-ons of one kind, owned by the list and freed with it.
class TChartAddOnList {
 public:
  void Add(std::unique_ptr<IChartAddOn> addOn) { items_.push_back(std::move(addOn)); }
  int Count() const { return static_cast<int>(items_.size()); }
  IChartAddOn* Item(int index) const { return items_[static_cast<size_t>(index)].get(); }
  void Clear() { items_.clear(); }
  void NotifyPhase(int phase);
  // Sends a mouse event to each active add-on until one sets `handled`.
  void NotifyMouse(int kind, TMouseButton button, TShiftState shift, int x, int y, const bool& handled);
  // Runs `call` for each active add-on, in list order.
  template <class F>
  void ForEachActive(F call) {
    for (const auto& addOn : items_)
      if (addOn->AddOnActive()) call(*addOn);
  }

 private:
  std::vector<std::unique_ptr<IChartAddOn>> items_;
};
class TChartTools : public TChartAddOnList {};
class TChartAnimations : public TChartAddOnList {};

// Paging options: points per page (0: none), the current page from 1.
class TChartPage : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartPage(TCustomAxisPanel* chart) : chart_(chart) {}
  void Assign(TPersistent* source) override;

  bool AutoScale() const { return autoScale_; }
  void SetAutoScale(bool value);
  int Current() const { return current_; }
  // Limited to 1 .. PageCount.
  void SetCurrent(int value);
  int MaxPointsPerPage() const { return maxPointsPerPage_; }
  // ChartException "MaxPointsPerPage must be >= 0" below 0.
  void SetMaxPointsPerPage(int value);
  bool ScaleLastPage() const { return scaleLastPage_; }
  void SetScaleLastPage(bool value);
  int PageCount() const;
  int FirstPointOfPage() const { return (current_ - 1) * maxPointsPerPage_; }

 private:
  TCustomAxisPanel* chart_;
  bool autoScale_ = false;
  int current_ = 1;
  int maxPointsPerPage_ = 0;
  bool scaleLastPage_ = true;
};

// A series joined (0), is about to leave (1) or left (7) the chart, or changed.
class TKelSeriesEvent : public TKelEvent {
 public:
  int Kind = 0;
  TChartSeries* Series = nullptr;
};

// The chart's page or its page size changed.
class TChartChangePage : public TKelEvent {};

using TAxisPanelEvent = TMethodEvent<TObject*>;
// Sender, the series, the proposed source; clear Valid to refuse it.
using TValidDataSourceEvent = TMethodEvent<TCustomAxisPanel*, TChartSeries*, TComponent*, bool&>;
using TSeriesListEvent = TMethodEvent<TChartSeries*>;

class TCustomAxisPanel : public TCustomKelPanelExtended, public ISeriesOwner, public IAxisOwner {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomAxisPanel(TComponent* owner);
  ~TCustomAxisPanel() override;

  // ---- Axes --------------------------------------------------------------------------------
  TChartAxis* BottomAxis() const { return bottomAxis_; }
  TChartAxis* TopAxis() const { return topAxis_; }
  TChartAxis* LeftAxis() const { return leftAxis_; }
  TChartAxis* RightAxis() const { return rightAxis_; }
  TChartDepthAxis* DepthAxis() const { return depthAxis_; }
  TChartDepthAxis* DepthTopAxis() const { return depthTopAxis_; }
  // The standard axes always exist: another axis is copied into the chart's own.
  void SetBottomAxis(TChartAxis* value);
  void SetTopAxis(TChartAxis* value);
  void SetLeftAxis(TChartAxis* value);
  void SetRightAxis(TChartAxis* value);
  void SetDepthAxis(TChartDepthAxis* value);
  void SetDepthTopAxis(TChartDepthAxis* value);
  // Every axis: the six standard ones first, then the custom ones in collection order.
  const std::vector<TChartAxis*>& Axes() const { return axes_.List(); }
  // The add-ons told of the paint phases and the mouse (empty unless a program adds some).
  TChartTools* Tools() { return &tools_; }
  void NotifyToolsOfSeries(int kind, TChartSeries& series) override;
  TChartAnimations* Animations() { return &animations_; }
  // Tells the animations, then the tools, of a paint phase (see IChartAddOn).
  void NotifyAddOns(int phase);
  // Passes a mouse event to the active tools and then (unless it is the wheel) the active
  // animations, stopping at the first that sets MouseHandled; answers MouseHandled.
  bool ForwardMouse(int kind, TMouseButton button, TShiftState shift, int x, int y);
  // The chart's additional axes; published as "CustomAxes" when not empty.
  TPanelCustomAxes* CustomAxes() const { return customAxes_.get(); }
  // The chart's hover look: while it is hidden nothing of the chart shows a hover highlight.
  TKelHover* Hover() const { return hover_.get(); }
  // With Hover visible, every drawn axis whose label selection shows a hover look marks the
  // label under (x, y) as hovered (the others none); answers whether a label is hovered.
  bool AxisLabelHover(int x, int y);
  // Every active series, last to first, tracks the mouse; answers whether any reacted.
  bool TrackSeriesMouse(int x, int y);

  // ---- Series ------------------------------------------------------------------------------
  // Adds the series to this chart (through its ParentChart) and answers it.
  TChartSeries* AttachSeries(TChartSeries* series);
  // A new series of `cls`, owned by the chart's owner, attached to this chart.
  TChartSeries* AddSeriesOfClass(const TClassInfo& cls);
  // The n-th series (from 0) shown in the legend, among the active ones when asked; null when
  // there is none.
  TChartSeries* LegendSeries(int n, bool onlyActive);
  // That series' legend title on one line (its default name when the title is empty); empty
  // when there is no such series.
  std::string LegendSeriesTitle(int n, bool onlyActive);
  void RemoveSeriesAt(int index);
  // Detaches and frees every series (or every one of `cls`).
  void FreeAllSeries(const TClassInfo* cls = nullptr);
  int ActiveSeriesCount() const;
  int MaxPointCount() const;
  bool NoActiveSeriesUses(const TChartAxis& axis) const;
  TChartSeries* FirstSeriesOfAxis(const TChartAxis& axis) const;
  TChartSeries* LargestSeriesOfAxis(const TChartAxis& axis) const;
  // A palette colour that no other series draws with (position count mod n when all are used).
  TColor PickFreeColorFor(const TChartSeries* series);
  // Whether no series but `except` draws with `color` (and, when asked, it is not the back).
  virtual bool IsColorFree(TColor color, bool checkBack, const TChartSeries* except);
  void AssignDefaultColors();
  std::vector<TColor> CustomPalette;
  TChartPage* Pages() const { return pages_.get(); }
  // Named groups of this chart's series.
  TSeriesGroups* SeriesGroups() const { return series_.Groups(); }
  // Groups read from a layout take their series once the whole layout is read.
  void Loaded() override;

  // ---- Settings ----------------------------------------------------------------------------
  bool AxisBehind() const { return axisBehind_; }
  void SetAxisBehind(bool value);
  bool AxisVisible() const { return axisVisible_; }
  void SetAxisVisible(bool value);
  bool ClipPoints() const { return clipPoints_; }
  void SetClipPoints(bool value);
  bool View3DWalls() const { return view3DWalls_; }
  void SetView3DWalls(bool value);
  int Chart3DPercent() const { return chart3DPercent_; }
  void SetChart3DPercent(int value);  // clamped to 1..100
  int HighestDepthOrder() const { return highestDepthOrder_; }
  // Depth orders of the active series (counted from -1 in 3D, all 0 flat) and the slot each
  // is drawn in; a step of the paint, public for layout checks.
  void AssignDepthSlots();

  // From another axis panel: 3D percent, axis settings, the six standard axes, clipping, the
  // palette, the custom axes, the hover look, paging and 3D walls, then the extended panel's
  // part.
  void Assign(TPersistent* source) override;

  // ---- Paint steps -------------------------------------------------------------------------
  void LayoutAxes();
  void PaintAxesAndSeries();
  void PaintOneSeries(TChartSeries& series);
  // Whether the plane of the chart rectangle at depth z faces away from the drawing order's
  // winding (the view looks at it from behind); false on a canvas that draws full 3D.
  bool IsDepthPlaneFacing(int z);
  int ComputeDepth3D();
  // The axis is shown in this paint.
  bool AxisShownNow(const TChartAxis& axis) const;

  // ---- Events ------------------------------------------------------------------------------
  TAxisPanelEvent OnAfterDraw, OnBeforeDrawAxes, OnBeforeDrawChart, OnBeforeDrawSeries;
  TSeriesListEvent OnAddSeries, OnRemoveSeries;
  TMethodEvent<const TChartAxis&, TChartSeries*, int, std::string&> OnGetAxisLabel;
  // Value labels from the application: called with label numbers 0, 1, 2 ...; may change the
  // value or stop (a stop at number 0 leaves the labels to the axis).
  TMethodEvent<const TChartAxis&, int, double&, bool&> OnGetNextAxisLabel;
  TAxisPanelEvent OnPageChange;
  // May refuse a source the series or its source class accepted.
  TValidDataSourceEvent OnValidDataSource;

  // ---- ISeriesOwner ------------------------------------------------------------------------
  TComponent* ChartComponent() override { return this; }
  void RegisterSeries(TChartSeries& series) override;
  void RemoveSeries(TChartSeries& series) override;
  void InvalidateChart() override { Invalidate(); }
  void BroadcastSeriesEvent(TChartSeries& series, TChartSeriesEvent event) override;
  TColor PaletteColorAt(int index) override;
  TColor PickFreeColor() override { return PickFreeColorFor(joining_); }
  TChartAxis* StandardAxis(TChartAxisSide side) override;
  // The custom axis at `index` (nullptr outside the collection).
  TChartAxis* CustomAxis(int index) override;
  // The axis's index among the custom axes, -1 for any other axis.
  int CustomAxisIndex(const TChartAxis* axis) override;
  TCanvas3D* ChartCanvas() override { return Canvas3D(); }
  RECT ChartRect() const override;
  bool View3D() const override { return TCustomKelPanel::View3D(); }
  bool DepthReversed() const override { return depthReversed_; }
  int SeriesDepth() const override { return seriesWidth3D_; }
  int SeriesIndex(const TChartSeries& series) const override;
  void ReloadSeriesData(TChartSeries& series) override;
  // A series source that stops filling the series forgets it.
  void DataSourceRemoved(TChartSeries& series, TComponent* source) override;
  bool IsValidDataSource(TChartSeries& series, TComponent* source) override;
  void CheckCircularSource(TChartSeries& series, TComponent* source) override;
  bool ChartDestroying() const override { return ComponentState().Contains(csDestroying); }
  int MaxPointsPerPage() const override { return pages_->MaxPointsPerPage(); }
  int CurrentPage() const override { return pages_->Current(); }
  bool DepthAxisInverted() const override { return depthAxis_->Inverted(); }
  bool CanvasFull3D() const override;
  int ViewRotation() const override;
  int SeriesCount() const override { return static_cast<int>(series_.size()); }
  TChartSeries* SeriesAt(int index) const override { return series_[index]; }
  IShapePanel* ShapePanel() override { return this; }

  // ---- IAxisOwner --------------------------------------------------------------------------
  double SeriesExtreme(const TChartAxis& axis, bool maximum, bool horizontal) override;
  bool HasSeriesWithAtMostPoints(const TChartAxis& axis, int points) override;
  bool SeriesShowDateTime(const TChartAxis& axis) override;
  void NotifyAxisChanged(TChartAxis& axis) override;
  bool ChartLoading() const override { return ComponentState().Contains(csLoading); }
  bool ChartReading() const override { return ComponentState().Contains(csReading); }
  int ChartDepth() const override { return chartDepth_; }
  int LabelTextWidth(const TChartAxis& axis, const std::string& text) override;
  int LabelLineHeight(const TChartAxis& axis) override;
  void GetAxisLabel(const TChartAxis& axis, std::string& text) override;
  TCanvas3D* AxisCanvas() override { return Canvas3D(); }
  IShapePanel* AxisShapePanel() override { return this; }
  void AssignAxisFont(TKelFont* font) override { AssignCanvasFont(font); }
  TAxisLabelStyle SeriesLabelStyle(const TChartAxis& axis) override;
  int WallSizeForAxis(const TChartAxis&) override { return 0; }
  bool AxisView3D() const override { return View3D(); }
  std::vector<TChartSeries*> SeriesOfAxis(const TChartAxis& axis) override;
  std::vector<TChartSeries*> ActiveSeriesList() override;
  int WidestPointLabel(const TChartAxis& axis) override;
  int WidestMark(const TChartAxis& axis) override;
  bool HasAxisLabelEvent() const override { return static_cast<bool>(OnGetAxisLabel); }
  void GetSeriesAxisLabel(const TChartAxis& axis, TChartSeries* series, int index, std::string& text) override {
    if (OnGetAxisLabel) OnGetAxisLabel(axis, series, index, text);
  }
  bool GetNextAxisLabel(const TChartAxis& axis, int index, double& value, bool& stop) override {
    if (!OnGetNextAxisLabel) return false;
    OnGetNextAxisLabel(axis, index, value, stop);
    return true;
  }
  TChartAxis* AxisLike(const TChartAxis& axis) override;
  void AxisDestroyed(const TChartAxis& axis) override;

 protected:
  void PaintChartArea(const TRect& r) override;
  // Leaving the panel ends every label and series hover.
  void MouseLeave() override;
  // Hooks of the chart proper (walls, titles, legend): empty here.
  virtual void PaintTitlesAndLegend(bool /*before*/) {}
  virtual void ReserveWallSpace() {}
  virtual void PaintWalls() {}
  virtual void FireAfterDraw() { OnAfterDraw(this); }
  virtual void FireBeforeDrawAxes() { OnBeforeDrawAxes(this); }
  virtual void FireBeforeDrawChart() { OnBeforeDrawChart(this); }
  virtual void FireBeforeDrawSeries() { OnBeforeDrawSeries(this); }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  // A custom axis is being freed (its series are already rebound); saved states drop it.
  virtual void CustomAxisRemoving(TChartAxis& /*axis*/) {}
  // The legacy paging entries "MaxPointsPerPage", "Page" and "ScaleLastPage" (read only).
  void DefineProperties(TFiler& filer) override;

 private:
  friend class TChartPage;
  friend class TPanelCustomAxes;
  void CustomAxisAdded(TChartAxis* axis);
  void CustomAxisRemoved(TChartAxis* axis);
  void PaintAxes();
  // Series sharing a depth slot: the first of the slot paints all of them point by point.
  void PaintDepthSlot(TChartSeries& series);
  std::vector<TChartSeries*> SeriesOfDepthSlot(const TChartSeries& first) const;
  void ApplyPixelMargins();
  // The series' marks, clipped to the chart rectangle when the marks clip.
  void PaintMarks(TChartSeries& series);
  double PageExtreme(const TChartAxis& axis, bool maximum, bool horizontal) const;
  // The widest line of the texts `text` gives for the points of `series`, in the current font.
  int WidestText(const std::vector<TChartSeries*>& series, const std::function<std::string(TChartSeries&, int)>& text);
  bool IsXAxis(const TChartAxis& axis) const;

  int chart3DPercent_ = 15;
  bool axisBehind_ = true;
  bool axisVisible_ = true;
  bool clipPoints_ = true;
  bool view3DWalls_ = true;
  TChartTools tools_;
  TChartAnimations animations_;
  TChartSeriesList series_{this};
  TChartAxes axes_;
  bool freeingAxes_ = false;
  TChartDepthAxis* depthAxis_ = nullptr;
  TChartDepthAxis* depthTopAxis_ = nullptr;
  TChartAxis* topAxis_ = nullptr;
  TChartAxis* bottomAxis_ = nullptr;
  TChartAxis* leftAxis_ = nullptr;
  TChartAxis* rightAxis_ = nullptr;
  std::unique_ptr<TChartPage> pages_;
  int highestDepthOrder_ = -1;
  int seriesWidth3D_ = 0;
  int seriesHeight3D_ = 0;
  bool depthReversed_ = false;
  // The series being registered (its own colour does not count against a free colour).
  TChartSeries* joining_ = nullptr;
  std::unique_ptr<TPanelCustomAxes> customAxes_;
  std::unique_ptr<TKelHover> hover_;
};
