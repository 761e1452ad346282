// The series classes every chart series is built on: TCustomChartElement (active flag, pen,
// brush, parent chart), TCustomChartSeries (identifier, style, title) and TChartSeries (the
// point store: X and Y value lists kept in X order, optional colours, labels and pictures that
// exist only once a point needs them; change notification to dependent series and the chart;
// batching; axes, pixels and the visible range; data sources; stored point data).
// Invariant: every per-point store is either absent or indexed like the X values, and a point
// whose own colour is clNone is a null point. What a series needs of its chart comes through
// ISeriesOwner, which the chart panel implements.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "chart/ChartAxis.h"
#include "chart/ChartValueList.h"
#include "chart/SeriesLists.h"
#include "chart/SeriesMarks.h"
#include "toolkit/classes/Component.h"
#include "toolkit/classes/Set.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/ui/Messages.h"

VK_DECLARE_EXCEPTION(ChartException, Exception);

class IShapePanel;
class TCanvas3D;
struct TElementTransform;
class TChartSeries;
class TSeriesDetail;
class TKelBrush;
class TKelFunction;
class TKelSelected;
class TVisualsList;
class TGraphic;
class TKelPen;
class TKelPicture;
class TStream;

// Events a series sends to its chart, which passes them to the chart's listeners.
enum TChartSeriesEvent {
  seAdded = 0,
  seRemoving = 1,
  seTitleChanged = 2,
  seColorChanged = 3,
  seActiveChanged = 5,
  seDataChanged = 6,
  seRemoved = 7
};

// The chart's four standard axes, as a series asks for them.
enum TChartAxisSide { casLeft, casTop, casRight, casBottom };

// What a series needs from the chart it belongs to; the axis panel implements it.
class ISeriesOwner {
 public:
  virtual ~ISeriesOwner() = default;
  // The chart as a component (the series' parent component in a layout); may be null.
  virtual TComponent* ChartComponent() = 0;
  // Registration when the series' ParentChart is set: the chart lists the series and calls
  // TChartSeries::JoinChart; RemoveSeries sends seRemoving, calls LeaveChart, unlists it, sends
  // seRemoved and repaints.
  virtual void RegisterSeries(TChartSeries& series) = 0;
  virtual void RemoveSeries(TChartSeries& series) = 0;
  // Invalidates the chart (ignored while its repaint flag is off).
  virtual void InvalidateChart() = 0;
  virtual void BroadcastSeriesEvent(TChartSeries& series, TChartSeriesEvent event) = 0;
  // The chart palette's colour for a point index, and the first palette colour no series uses.
  virtual TColor PaletteColorAt(int index) = 0;
  virtual TColor PickFreeColor() = 0;
  virtual TChartAxis* StandardAxis(TChartAxisSide side) = 0;
  // The chart's custom axes by index (null past the end) and an axis's index (-1: none).
  virtual TChartAxis* CustomAxis(int index) = 0;
  virtual int CustomAxisIndex(const TChartAxis* axis) = 0;
  // The canvas of the current paint, the chart rectangle as laid out for it, 3D settings.
  virtual TCanvas3D* ChartCanvas() = 0;
  // Tells the chart's active tools that the series is about to draw its values (kind 1) or
  // has drawn them (kind 4).
  virtual void NotifyToolsOfSeries(int /*kind*/, TChartSeries& /*series*/) {}
  virtual RECT ChartRect() const = 0;
  virtual bool View3D() const = 0;
  virtual bool DepthReversed() const = 0;
  virtual int SeriesDepth() const = 0;
  // Position of the series in the chart's series list (-1: not listed).
  virtual int SeriesIndex(const TChartSeries& series) const = 0;
  // Refills the series from its data sources (series sources, data sets).
  virtual void ReloadSeriesData(TChartSeries& series) = 0;
  virtual bool IsValidDataSource(TChartSeries& series, TComponent* source) = 0;
  // Raises ChartException when `source` depends (directly or not) on `series`.
  virtual void CheckCircularSource(TChartSeries& series, TComponent* source) = 0;
  virtual bool ChartDestroying() const = 0;

  // ---- Paint sequence (defaults for owners without paging, depth or a series list) -------
  // Points per page (0: no paging) and the current page from 1.
  virtual int MaxPointsPerPage() const { return 0; }
  virtual int CurrentPage() const { return 1; }
  virtual bool DepthAxisInverted() const { return false; }
  // The canvas draws full 3D itself; the 3D view's rotation in degrees.
  virtual bool CanvasFull3D() const { return false; }
  virtual int ViewRotation() const { return 0; }
  virtual int SeriesCount() const { return 0; }
  virtual TChartSeries* SeriesAt(int) const { return nullptr; }

  // ---- Data sources and point painting (defaults for owners without them) ----------------
  // A series is about to drop `source` as a data source (a series source forgets the series).
  virtual void DataSourceRemoved(TChartSeries& /*series*/, TComponent* /*source*/) {}
  // The canvas opens a named element per point while the series paints.
  virtual bool GroupsPointElements() const { return false; }
  // The chart's own point painter: true when it painted the point instead of the series.
  virtual bool PaintPointOf(TChartSeries& /*series*/, int /*index*/) { return false; }
  // The legend symbol's shape in `rect` with the canvas brush (and the picture, when given);
  // a plain rectangle here.
  virtual void PaintLegendSymbolShape(const TRect& rect, TGraphic* graphic);
  // ---- Marks -------------------------------------------------------------------------------
  // The panel the series' marks measure and draw through (null: no marks are drawn).
  virtual IShapePanel* ShapePanel() { return nullptr; }
  // The legend's text for a point (line breaks as blanks); here in the legend's default style.
  virtual std::string LegendTextFor(TChartSeries& series, int index);
};

enum TTreatNullsStyle { tnDontPaint, tnSkip, tnIgnore };
enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
const TEnumInfo& EnumTypeInfo(TTreatNullsStyle);
const TEnumInfo& EnumTypeInfo(THorizAxis);
const TEnumInfo& EnumTypeInfo(TVertAxis);

// How a series follows its data source.
enum TSeriesFollow { sfOnDelete, sfOnChange, sfOnAdd, sfOnClear };
using TSeriesFollowSet = TSet<TSeriesFollow>;

// What a legend line of a point shows.
enum TLegendTextStyle { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue,
                        ltsValue, ltsPercent, ltsXAndValue, ltsXAndPercent, ltsXAndText, ltsXAndValueAndText };
const TEnumInfo& EnumTypeInfo(TLegendTextStyle);
// Separates the columns of a legend line.
constexpr char LegendColumnSeparator = '\x06';
// A legend title for one line: column separators become blanks; of the first LF-CR pair (else
// the first CR-LF pair) one character goes; every other CR and LF becomes a blank.
std::string OneLineLegendTitle(std::string text);

// OnBeforeAdd answers whether the pending point may be added. In code it is any callable
// returning that answer; a layout names a handler of the form (Sender, var Accept), Accept
// arriving True.
class TSeriesOnBeforeAdd {
 public:
  using Handler = TMethodEvent<TChartSeries*, bool&>;
  TSeriesOnBeforeAdd() = default;
  TSeriesOnBeforeAdd(std::nullptr_t) {}
  TSeriesOnBeforeAdd(Handler handler) : handler_(std::move(handler)) {}
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<bool, F&, TChartSeries*> &&
                                              !std::is_same_v<std::decay_t<F>, Handler>>>
  TSeriesOnBeforeAdd(F fn) : handler_([fn](TChartSeries* sender, bool& accept) mutable { accept = fn(sender); }) {}

  explicit operator bool() const { return handler_.Assigned(); }
  bool operator()(TChartSeries* sender) const {
    bool accept = true;
    handler_(sender, accept);
    return accept;
  }
  const Handler& AsHandler() const { return handler_; }

 private:
  Handler handler_;
};
using TSeriesOnAfterAdd = TMethodEvent<TChartSeries*, int>;
using TSeriesOnClear = TMethodEvent<TChartSeries*>;
using TSeriesOnGetMarkText = TMethodEvent<TChartSeries*, int, std::string&>;
using TSeriesClick = TMethodEvent<TChartSeries*, int, TMouseButton, TShiftState, int, int>;

// One optional text per point; reading past the end gives an empty text.
class TLabelsList {
 public:
  explicit TLabelsList(TChartSeries* series) : series_(series) {}
  int Count() const { return static_cast<int>(labels_.size()); }
  std::string LabelAt(int index) const;
  // First index whose label equals `text` (case-insensitively unless caseSensitive); -1.
  int IndexOfLabel(const std::string& text, bool caseSensitive = true) const;
  // A non-empty text grows the list up to the index; an empty one is stored only inside it.
  void SetLabel(int index, const std::string& text);
  // An empty text is not inserted into an empty list; otherwise the list grows to the index.
  void InsertLabel(int index, const std::string& text);
  void ExchangeLabels(int i, int j);
  void DeleteLabel(int index);
  void DeleteLabels(int index, int n);
  void Clear() { labels_.clear(); }

 private:
  TChartSeries* series_;
  std::vector<std::string> labels_;
};

// One optional picture per point, owned by the list.
class TKelPictureList {
 public:
  explicit TKelPictureList(TChartSeries* series);
  ~TKelPictureList();
  int Count() const { return static_cast<int>(pictures_.size()); }
  // Null past the end or for a point without picture.
  TKelPicture* PictureAt(int index) const;
  // Takes ownership of `picture`; null stores an empty entry only inside the list.
  void PutPicture(int index, TKelPicture* picture);
  // Only when a picture is given or the list is not empty; grows with empty entries.
  void InsertPicture(int index, TKelPicture* picture);
  void ExchangePictures(int i, int j);
  void DeletePictures(int index, int n);
  void Clear();
  bool StorePictures = true;

 private:
  TChartSeries* series_;
  std::vector<std::unique_ptr<TKelPicture>> pictures_;
};

class TCustomChartElement : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomChartElement(TComponent* owner);
  ~TCustomChartElement() override;

  // Invalidates the parent chart, when there is one.
  virtual void RepaintOwner();
  virtual std::string EditorClassName() const { return {}; }
  virtual void ChangeActive(bool value);
  virtual void ChangeParentChart(ISeriesOwner* chart);
  // Copies the pen's settings into the element's pen.
  virtual void ChangeLinePen(TKelPen* pen);

  bool Active() const { return active_; }
  TKelBrush* Brush() const { return brush_; }
  TKelPen* Pen() const { return pen_; }
  bool ShowInEditor() const { return showInEditor_; }
  void SetShowInEditor(bool value) { showInEditor_ = value; }
  ISeriesOwner* ParentChart() const { return parentChart_; }

  // A layout makes the chart component the parent: one that implements ISeriesOwner.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  // Joins the chart being read as its parent before reading its own properties.
  void ReadState(TReader& reader) override;

 protected:
  bool active_ = true;
  ISeriesOwner* parentChart_ = nullptr;

 private:
  TKelBrush* brush_;
  TKelPen* pen_;
  bool showInEditor_ = true;
};

// A series' legend entry: its own title (empty: the series title) and whether it is listed.
// Published on the series as Legend (Text, Visible); a change through the setters repaints
// the series' chart.
class TSeriesLegend : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TSeriesLegend(TCustomChartElement* series = nullptr) : series_(series) {}
  // Text and Visible.
  void Assign(TPersistent* source) override;
  void SetText(const std::string& value);
  void SetVisible(bool value);

  std::string Text;
  bool Visible = true;

 private:
  TCustomChartElement* series_;
};

// Style flags of a series (stored under "Style" as bits 0..5).
enum TChartSeriesStyleFlag { tssIsTemplate, tssDenyChangeType, tssDenyDelete, tssDenyClone,
                             tssIsPersistent, tssHideDataSource };
using TChartSeriesStyle = TSet<TChartSeriesStyleFlag>;

class TCustomChartSeries : public TCustomChartElement {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomChartSeries(TComponent* owner);

  // Extra pixels the series needs beside the chart rectangle (added to left/right, top/bottom).
  virtual void MarginsX(int& /*left*/, int& /*right*/) {}
  virtual void MarginsY(int& /*top*/, int& /*bottom*/) {}
  // Offered by every axis once the margins are applied: a series may ask the axis for more
  // room (none of this system's series does).
  virtual void RequestAxisSpace(TChartAxis& /*axis*/) {}
  virtual void BeforeChartPaint() {}
  // Stores a changed flag, repaints and sends seActiveChanged.
  void ChangeActive(bool value) override;

  const std::string& Identifier() const { return identifier_; }
  void SetIdentifier(const std::string& value) { identifier_ = value; }
  TChartSeriesStyle Style() const { return style_; }
  void SetStyle(TChartSeriesStyle value) { style_ = value; }
  const std::string& Title() const { return title_; }
  virtual void ChangeTitle(const std::string& value);

  // The legend entry, created on first use; without one the series is listed untitled.
  // Setting another entry copies it; null is ignored.
  TSeriesLegend* Legend();
  bool HasLegend() const { return legend_ != nullptr; }
  void SetLegend(TSeriesLegend* value);
  bool ShowInLegend() const { return !legend_ || legend_->Visible; }
  void SetShowInLegend(bool value);
  std::string LegendTitle() const { return legend_ ? legend_->Text : std::string(); }
  void SetLegendTitle(const std::string& value);

 protected:
  std::string identifier_;
  std::unique_ptr<TSeriesLegend> legend_;
  TChartSeriesStyle style_;
  std::string title_;
};

class TChartSeries : public TCustomChartSeries, public IValueListOwner {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartSeries(TComponent* owner);
  ~TChartSeries() override;

  // ---- Adding points (each returns the new index, -1 when OnBeforeAdd refused) ------------
  // The core add: X decides the position through the X list's order.
  virtual int AppendXY(double x, double y, const std::string& label = {}, TColor color = clDefault);
  // Y = value, X = the number of points (the other way round for a horizontal series).
  virtual int AppendValue(double value, const std::string& label = {}, TColor color = clDefault);
  // A null point at the gap value.
  virtual int AppendGap(const std::string& label = {});
  virtual int AppendGapXY(double x, double y, const std::string& label = {});

  // ---- Reading points --------------------------------------------------------------------
  virtual int PointCount() const { return xValues_->Count(); }
  virtual double XValueAt(int index) const { return xValues_->ValueAt(index); }
  virtual double YValueAt(int index) const { return yValues_->ValueAt(index); }
  double MainValueAt(int index) const { return mandatory_->ValueAt(index); }
  bool IsNullPoint(int index) const { return OwnColorAt(index) == clNone; }
  virtual double HighestX() { return xValues_->MaxValue(); }
  virtual double HighestY() { return yValues_->MaxValue(); }
  virtual double LowestX() { return xValues_->MinValue(); }
  virtual double LowestY() { return yValues_->MinValue(); }
  virtual double HighestZ() const { return EffectiveDepthOrder(); }
  virtual double LowestZ() const { return EffectiveDepthOrder(); }
  // Smallest/largest X or Y over the points that count for axis ranges: every point for
  // tnIgnore, the non-null points otherwise; 0 when none counts.
  double ExtremeValue(bool horizontal, bool maximum);

  // ---- Removing points -------------------------------------------------------------------
  // ChartException "Series Delete: ValueIndex %d out of bounds (0 to %d)." outside the points.
  virtual void DeletePoint(int index);
  virtual void RemovePoint(int index) { DeletePoint(index); }
  // Nothing when index >= count; n is cut to what follows the index.
  virtual void DeletePoints(int index, int n, bool resequence = false);
  virtual void ClearPoints();
  // Empties every store without notifications.
  virtual void FreeAllData();

  // ---- Colours ---------------------------------------------------------------------------
  virtual TColor PointColor(int index);
  virtual TColor LegendColor(int index) { return PointColor(index); }
  TColor OwnColorAt(int index) const;
  void SetPointColor(int index, TColor color);
  TColor EffectiveColor() const { return seriesColor_ == clDefault ? defaultColor_ : seriesColor_; }
  TColor SeriesColor() const { return seriesColor_; }
  virtual void ChangeSeriesColor(TColor color);
  TColor DefaultColor() const { return defaultColor_; }
  bool ColorEachPoint() const { return colorEachPoint_; }
  virtual void ChangeColorEachPoint(bool value);
  bool HasColorList() const { return colors_ != nullptr; }
  virtual void RepaintPoint(int) { RepaintOwner(); }

  // ---- Batching and notification ---------------------------------------------------------
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }
  void NotifyValueChange(TSeriesChangeKind kind, int index) override;
  virtual void AfterPointAdded(TChartSeries* sender, int index);
  // Swaps two points in every store.
  void ExchangePoints(int i, int j) override;
  // Sorts the points by the value lists' orders (the mandatory list first, renumbering the
  // other list unless it has a value source); repaints when anything was sorted.
  void CheckOrder();
  // Sorts the points by their labels (case-sensitive; 1 ascending, 2 descending, 0 nothing),
  // then renumbers the not-mandatory values 0..n-1 and repaints.
  void SortByLabels(int order);

  // ---- Chart membership ------------------------------------------------------------------
  void ChangeParentChart(ISeriesOwner* chart) override;
  // Called by the chart as it registers / removes the series.
  virtual void JoinChart();
  virtual void LeaveChart();

  // ---- Axes, pixels and the visible range --------------------------------------------------
  void ResolveAxes();
  TChartAxis* GetHorizAxis() const { return horizAxis_; }
  TChartAxis* GetVertAxis() const { return vertAxis_; }
  THorizAxis HorizAxis() const { return horizAxisChoice_; }
  void SetHorizAxis(THorizAxis value);
  TVertAxis VertAxis() const { return vertAxisChoice_; }
  void SetVertAxis(TVertAxis value);
  TChartAxis* CustomHorizAxis() const { return customHorizAxis_; }
  TChartAxis* CustomVertAxis() const { return customVertAxis_; }
  void SetCustomHorizAxis(TChartAxis* axis);
  void SetCustomVertAxis(TChartAxis* axis);
  virtual bool UsesAxes() const { return true; }
  bool UsesAxis(const TChartAxis* axis) const;
  TChartValueList* ValuesForAxis(const TChartAxis* axis);
  TChartAxis* ValueAxis() const { return yMandatory_ ? vertAxis_ : horizAxis_; }
  int PixelXOf(int index) const { return horizAxis_->CalcXPosValue(XValueAt(index)); }
  int PixelYOf(int index) const { return vertAxis_->CalcYPosValue(YValueAt(index)); }
  void PointPixel(int index, int& x, int& y) const {
    x = PixelXOf(index);
    y = PixelYOf(index);
  }
  int PixelForX(double value) const { return horizAxis_->CalcXPosValue(value); }
  int PixelForY(double value) const { return vertAxis_->CalcYPosValue(value); }
  double XForPixel(int pixel) const { return horizAxis_->CalcPosPoint(pixel); }
  double YForPixel(int pixel) const { return vertAxis_->CalcPosPoint(pixel); }
  bool PointInsideChart(int index) const;
  bool PaintsAscending() const;
  // The value of the position axis at the start (or far) edge of the chart rectangle.
  double EdgeValue(bool farEdge) const;
  virtual void FindVisibleRange();
  int FirstVisible() const { return firstVisible_; }
  int LastVisible() const { return lastVisible_; }
  int FirstToPaint() const { return PaintsAscending() ? firstVisible_ : lastVisible_; }
  int LastToPaint() const { return PaintsAscending() ? lastVisible_ : firstVisible_; }
  virtual int PointAtPixel(int, int) { return -1; }

  // ---- Painting (called by the chart for each active series) ------------------------------
  // Opens the canvas element the series draws in, named by its display name, with the
  // series' transform when it has one; the chart ends it after the series.
  void BeginCanvasElement(const TElementTransform* transform = nullptr);
  // How the series' drawing is turned, scaled or moved as a whole on a canvas that can
  // transform its elements: false (none) unless a series defines one. The chart centres it
  // on the chart rectangle (its Origin is overwritten).
  virtual bool ElementTransform(TElementTransform& /*transform*/) const { return false; }
  // The chart's tools hear first (before: kind 1, after: kind 4), then the series' event.
  void FireBeforeDrawValues();
  void FireAfterDrawValues();
  virtual void PrepareValuesPaint() {}
  virtual bool KeepsPreparedPoints() const { return false; }
  virtual void PaintAllPoints();
  // Whether everything PaintAllPoints draws is known to lie inside `clip`, so that clipping
  // to it would change nothing (never, unless a series knows better).
  virtual bool DrawsWithin(const TRect& /*clip*/) { return false; }
  virtual void PaintPoint(int) {}
  // Adjusts the canvas for a point (index -1: the series) before it is drawn, and may change
  // the back colour and brush style its symbol is filled with (nothing here).
  virtual void PrepareCanvasForPoint(int /*index*/, TColor& /*backColor*/, TBrushStyle& /*style*/) {}
  // The symbol of a legend line (index -1: the series): inside a transparency group with
  // Transparency, the point's colour and picture for a point; the chart draws the shape.
  virtual void PaintLegendSymbol(int index, const TRect& rect);
  // The picture the legend shows for the whole series (none here).
  virtual TGraphic* LegendSymbolGraphic() { return nullptr; }
  // Index lists that override the plain index order while painting (empty here: by index).
  virtual void CollectDrawOrder(int /*first*/, int /*last*/, std::vector<int>& /*order*/) {}
  virtual void CollectGroupDrawOrder(int /*first*/, int /*last*/, std::vector<int>& /*order*/) {}

  // ---- Paint sequence ------------------------------------------------------------------
  // Before the chart lays its axes out (nothing here).
  virtual void BeforeAxesLayout() {}
  // Takes a depth slot: automatic order in 3D is the next counter value (0 in 2D); an
  // explicit order raises the counter to it.
  void AssignDepthOrder(int& counter);
  // Whether the chart paints the series list first to last.
  bool DepthPaintsForward() const;
  // In 3D: whether another active series has the same effective depth order.
  bool SharesDepthSlot() const;
  // Active, and no active series before it in the chart's list has the same effective depth
  // order (the one that paints a shared slot).
  bool IsFirstInDepthSlot() const;
  // Whether PaintPoint draws a point by itself, so that series sharing a depth slot can be
  // painted point by point in turn (a line joining its points cannot).
  virtual bool PaintsPointsAlone() const { return true; }
  // Whether points paint in the view's natural order (false when the view looks from behind).
  bool ChartNotReversed() const { return !(parentChart_ && parentChart_->DepthReversed()); }
  // talValue on the axis that carries the values; on the position axis talPointValue when the
  // series prefers point values, else talText when any point has a label, else talValue.
  virtual TAxisLabelStyle LabelStyleForAxis(const TChartAxis* axis) const;
  // Whether the labels taken from its points stand at the point indexes rather than at their
  // values along the axis (no series kind of this chart does).
  virtual bool PrefersPointIndexLabels() const { return false; }
  // Whether its position axis labels its points by their values (talPointValue) rather than by
  // their texts (no series kind of this chart does).
  virtual bool PrefersPointValueLabels() const { return false; }
  // An axis of the chart changed range or scale (nothing here).
  virtual void AxisChanged(TChartAxis*) {}
  // First and last point index of the chart's current page (-1/-1 without points).
  void PageRange(int& first, int& last) const;

  // ---- Depth -----------------------------------------------------------------------------
  int EffectiveDepthOrder() const { return depthOrder_ == -1 ? autoDepthOrder_ : depthOrder_; }
  // The explicit depth slot (published ZOrder); -1 lets the chart give the next free one.
  int DepthOrder() const { return depthOrder_; }
  void SetDepthOrder(int value);
  // The slot the series is drawn in for this paint, set by the chart after the depth orders
  // are assigned (slot 0 is at the front); ComputeDepthRange places the series by it.
  int DepthSlot() const { return depthSlot_; }
  void SetDepthSlot(int value) { depthSlot_ = value; }
  void ComputeDepthRange();
  int StartDepth() const { return startZ_; }
  int MiddleDepth() const { return middleZ_; }
  int EndDepth() const { return endZ_; }
  int Depth() const { return depth_; }
  void ChangeDepth(int value);

  // ---- Data sources and dependents -------------------------------------------------------
  // ChartException "No valid DataSource: %s" when the chart refuses the component, "No
  // ParentChart to validate DataSource" without a chart when CanTakeSource refuses; -1 when it
  // is already a source; otherwise its index in the data-source list.
  int AddDataSource(TComponent* source, bool replace = false);
  void RemoveDataSource(TComponent* source);
  // Removes this series from its sources' dependents, empties the list and (unless the points
  // are its own) clears the points.
  void ClearDataSources();
  TComponent* DataSource() const { return dataSources_.empty() ? nullptr : dataSources_.front(); }
  void SetDataSource(TComponent* source);
  int DataSourceCount() const { return static_cast<int>(dataSources_.size()); }
  TComponent* DataSourceAt(int index) const { return dataSources_[index]; }
  // The data-source list; taking an entry out of it removes that data source.
  TDataSourcesList& DataSources() { return dataSources_; }
  virtual bool IsValidSourceOf(TChartSeries* other) const { return other != this; }
  bool CanTakeSource(TComponent* source) const;
  void ReloadFromSource() override;
  int DependentCount() const { return static_cast<int>(dependents_.size()); }
  TChartSeries* DependentAt(int index) const { return dependents_[index]; }
  const TCustomSeriesList& Dependents() const { return dependents_; }
  TSeriesFollowSet FollowSet() const { return follow_; }
  void SetFollowSet(TSeriesFollowSet value) { follow_ = value; }
  bool DataLoaded() const { return dataLoaded_; }
  // Field names a database chart reads: the points' labels (optionally "#<word>#" + name for a
  // date grouping or a label sort) and the points' colours. Changing either reloads the series.
  const std::string& XLabelsSource() const { return xLabelsSource_; }
  void SetXLabelsSource(const std::string& value);
  const std::string& ColorSource() const { return colorSource_; }
  void SetColorSource(const std::string& value);

  // ---- Copying ---------------------------------------------------------------------------
  // X and Y of the source's point (exchanged across orientations) inserted in X order; extra
  // lists take the source's values. No event, colour or label. Returns the index.
  virtual int CopyValuesFrom(TChartSeries* source, int index);
  // CopyValuesFrom, then colour, label, a copy of the picture and of the point's detail series;
  // AfterPointAdded unless updating.
  virtual int CopyPointFrom(TChartSeries* source, int index);
  // Replaces every point by the source's (inside one update bracket).
  virtual void CopyAllFrom(TChartSeries* source);
  virtual void CopyFormatFrom(TChartSeries* source);
  // The names of the looks a gallery offers for this kind of series ("Normal" here).
  virtual void ListGalleryVariants(std::vector<std::string>& variants) const;
  // Gives `series` the look of variant `variant` (an index of ListGalleryVariants; nothing
  // for 0 or an index this kind does not offer).
  virtual void ApplyGalleryVariant(TChartSeries* /*series*/, int /*variant*/) const {}
  void Assign(TPersistent* source) override;

  // ---- Function ----------------------------------------------------------------------------
  // The function that computes the points from the data sources (null: the points are copied).
  TKelFunction* Function() const { return function_; }
  // Nothing when unchanged; frees the old function; the new one takes this series as parent
  // and the series reloads from its source.
  void SetFunction(TKelFunction* function);
  // Drops the reference without freeing (the function is moving or going).
  void ForgetFunction();
  // The extra value list of that name (case-insensitive), else the mandatory list.
  TChartValueList* ValueListNamed(const std::string& name) const;
  // One output point of a whole-source function sits in the middle (else at both ends).
  bool Centred() const { return centre_; }
  // Painting looks for the visible range in the X order (off: every point is painted).
  bool UsesVisibleRange() const { return visibleRange_; }
  void SetUsesVisibleRange(bool value) { visibleRange_ = value; }

  // ---- Texts -----------------------------------------------------------------------------
  std::string DisplayName() const;
  std::string TitleText() const;
  // With singleLine, cleaned for one line as legend titles are (line breaks as blanks).
  std::string TitleText(bool singleLine) const;
  virtual std::string PointLabel(int index) const { return labels_.LabelAt(index); }
  std::string ValueText(int index) const;
  // The value as a legend shows it: a date or time by the value's size for date-time values.
  std::string LegendValueText(int index) const;
  // The horizontal axis's label for the point's X (the value format without an axis).
  std::string XText(int index) const;
  // |value| x 100 / the absolute total (100 when the total is 0) in PercentFormat; with the
  // total, "<percent> of <absolute total>" (split over two lines for multi-line marks).
  std::string PercentText(int index, bool withTotal, bool multiLine = false);
  virtual int MapLegendIndex(int index) const { return index; }
  std::string LegendText(TLegendTextStyle style, int index);

  // ---- Marks ---------------------------------------------------------------------------
  // Created on first use; invisible by default.
  TSeriesMarks* Marks();
  bool HasMarks() const { return marks_ != nullptr; }
  void SetMarks(TSeriesMarks* value);
  virtual double MarkValueAt(int index) const { return MainValueAt(index); }
  // The text of a marks style for a point (see TSeriesMarksStyle).
  std::string MarkStyleText(TSeriesMarksStyle style, int index, bool multiLine);
  // A per-point item's custom text (less one trailing CR-LF), else the marks style's text;
  // then OnGetMarkText may change it.
  std::string MarkText(int index);
  // Marks of the visible points on the step of the marks, skipping null points (and with
  // SoftClip points outside the chart rectangle).
  virtual void PaintMarks();
  // Paints one placed mark unless AutoPosition finds no room clear of earlier marks.
  virtual void PaintMark(int index, const std::string& text, TSeriesMarkPosition& position);
  // Sizes `mark` to the text and places the position so its arrow ends at (x, y).
  void PlaceMark(TCustomTextShape* mark, const std::string& text, TSeriesMarkPosition& position, int x, int y);
  virtual bool MarkIsDrawable(int index) const;
  // The largest width or height of any point's mark whose item is visible (0: none).
  int LargestMarkSize();
  // How far `a` must move to clear `b` along the series' value direction.
  virtual void GapBetweenRects(const TRect& a, TPoint& gap, const TRect& b) const;

  // ---- Detail series, kinds and sample data ----------------------------------------------
  // Created on first use; indexed like the points (a delete removes the point's entry, a
  // clear frees the list).
  TSeriesDetail* Detail();
  bool HasDetail() const;
  // The series whose detail this series is (null: none); set by the master's detail list.
  // A change of a detail series' values updates the master's value of its entry.
  TChartSeries* MasterSeries() const { return master_; }
  void SetMasterSeries(TChartSeries* master) { master_ = master; }
  // One is an instance of the other's class.
  static bool SameKind(const TChartSeries* a, const TChartSeries* b);
  // n points of sample data (n 0: SampleCount, else 25) replacing the points.
  void FillSampleValues(int n = 0);
  virtual void AddSampleValues(int n, bool valuesOnly);
  int SampleCount = 0;

  // ---- Legend and mouse hooks ------------------------------------------------------------
  // The legend row's symbol: colour (EffectiveColor for -1) on the series pen and brush, then
  // PaintLegendSymbol; repainting stays off meanwhile.
  void PaintLegendItem(int index, const TRect& rect);
  // A values legend lists this series' points bottom-up.
  virtual bool ReversesLegendOrder() const { return false; }
  bool HandlesClicks() const { return static_cast<bool>(OnClick) || static_cast<bool>(OnDblClick); }
  // OnDblClick when the shift state holds ssDouble, else OnClick.
  void FireClick(int index, TMouseButton button, TShiftState shift, int x, int y);
  // Whether a point's symbol (not its line) lies under (x, y); the point found goes to `hit`.
  virtual bool PointHitTest(int, int, int, TPoint&) { return false; }
  virtual int MapClickedIndex(int index) const { return index; }
  virtual int MapHoverIndex(int index) const { return index; }
  // Whether the chart's mouse zoom and pan apply to this series.
  virtual bool ZoomsWithAxes() const { return UsesAxes(); }
  // Mouse over the chart: answers whether the series claims the point (cursor or events).
  virtual bool TrackMouse(int x, int y);
  // Hover highlighting: the series has a selection whose hover look is visible.
  virtual bool HoverActive() const;
  // Keeps SeriesColor clDefault and draws with `color` (the chart's palette pick).
  void ChangeDefaultColor(TColor color);
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  // The mouse was over a point at the last TrackMouse.
  bool MouseInside = false;

  // ---- Stored layout entries -------------------------------------------------------------
  void DefineProperties(TFiler& filer) override;
  void Loaded() override;
  // A layout stores the series' function inside the series.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  // The "Data" block of the points, and reading it back (replacing the points).
  void WritePointData(TStream& stream);
  void ReadPointData(TStream& stream);
  // The "Detail" entry: summary kind, count, each detail series as a component stream.
  void WriteDetailData(TStream& stream);
  void ReadDetailData(TStream& stream);

  // ---- Stores ----------------------------------------------------------------------------
  TChartValueLists& ValueLists() override { return valueLists_; }
  TChartValueList* XValues() const { return xValues_; }
  TChartValueList* YValues() const { return yValues_; }
  void SetXValues(TChartValueList* list);
  void SetYValues(TChartValueList* list);
  TChartValueList* MandatoryValues() const { return mandatory_; }
  TChartValueList* NotMandatoryValues() const { return notMandatory_; }
  bool YMandatory() const { return yMandatory_; }
  TLabelsList& Labels() { return labels_; }
  // Created on first use.
  TKelPictureList& Pictures();
  bool HasPictures() const { return pictures_ != nullptr; }
  // Per-point visuals, created on first use.
  TVisualsList& Visuals();
  bool HasVisuals() const { return visuals_ != nullptr; }
  // The selection state (hidden at first), created on first use and then given the defaults
  // of the series kind (InitSelected).
  TKelSelected* Selected();
  bool HasSelected() const { return selected_ != nullptr; }
  // Null frees the selection, another one is copied in.
  void SetSelected(TKelSelected* value);

  // ---- Published properties --------------------------------------------------------------
  TTreatNullsStyle TreatNulls() const { return treatNulls_; }
  void SetTreatNulls(TTreatNullsStyle value);
  const std::string& ValueFormat() const { return valueFormat_; }
  virtual void ChangeValueFormat(const std::string& value);
  const std::string& PercentFormat() const { return percentFormat_; }
  void SetPercentFormat(const std::string& value);
  int Transparency() const { return transparency_; }
  virtual void ChangeTransparency(int value);
  short Cursor() const { return cursor_; }
  void SetCursor(short value) { cursor_ = value; }
  double GapValue() const { return gapValue_; }
  void SetGapValue(double value) { gapValue_ = value; }
  bool XStorable() const { return xStorable_; }
  // Force or suppress writing the points into a layout ("Data"); without either, points are
  // written when they came from a layout.
  bool ForceSaveData = false;
  bool DontSaveData = false;

  // Events.
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnClear OnClearValues;
  TSeriesOnGetMarkText OnGetMarkText;
  TNotifyEvent BeforeDrawValues;
  TNotifyEvent AfterDrawValues;

 protected:
  // Defaults of a new selection for this kind of series (none here).
  virtual void InitSelected(TKelSelected& /*selected*/) {}
  void Notification(TComponent* component, TOperation operation) override;
  void RepaintOwner() override { TCustomChartElement::RepaintOwner(); }
  void SendSeriesEvent(TChartSeriesEvent event);
  // Repaints when active and the chart is not going away.
  void RepaintIfActive();

  bool drawBeyond_ = false;
  bool centre_ = true;
  bool visibleRange_ = true;
  bool xStorable_ = true;
  TTreatNullsStyle treatNulls_ = tnDontPaint;
  int firstVisible_ = -1;
  int lastVisible_ = -1;
  int startZ_ = 0;
  int middleZ_ = 0;
  int endZ_ = 0;

 private:
  friend class TDataSourcesList;
  // Inserts colour, label and picture of a new point at `index` (step 5-7 of the core add).
  void InsertSideStores(int index, const std::string& label, TColor color);
  bool ValueAxisForRange() const;
  // The point's percent of the absolute total, from its absolute value or its signed value.
  std::string PercentOf(int index, bool absolute);
  void AddDependent(TChartSeries* series);
  void RemoveDependent(TChartSeries* series);

  TColor seriesColor_ = clDefault;
  bool colorEachPoint_ = false;
  short cursor_ = 0;
  TDataSourcesList dataSources_{this};
  std::vector<std::string> storedSourceNames_;
  int depth_ = -1;
  TChartAxis* horizAxis_ = nullptr;
  TChartAxis* vertAxis_ = nullptr;
  TLabelsList labels_{this};
  TCustomSeriesList dependents_;
  std::string percentFormat_;
  std::unique_ptr<TKelPictureList> pictures_;
  int transparency_ = 0;
  std::string valueFormat_;
  TChartValueLists valueLists_;
  TChartValueList* xValues_;
  TChartValueList* yValues_;
  double gapValue_ = 0;
  THorizAxis horizAxisChoice_ = aBottomAxis;
  TChartAxis* customHorizAxis_ = nullptr;
  TChartAxis* customVertAxis_ = nullptr;
  int depthOrder_ = -1;
  TVertAxis vertAxisChoice_ = aLeftAxis;
  TSeriesFollowSet follow_ = {sfOnDelete, sfOnChange, sfOnAdd, sfOnClear};
  TColor defaultColor_ = clDefault;
  std::unique_ptr<std::vector<TColor>> colors_;
  int updateCount_ = 0;
  int autoDepthOrder_ = 0;
  int depthSlot_ = 0;
  TChartValueList* mandatory_;
  bool dataLoaded_ = false;
  TChartValueList* notMandatory_;
  bool yMandatory_ = true;
  // Stored custom axis indexes, resolved once the layout is loaded.
  int storedCustomHoriz_ = -1;
  int storedCustomVert_ = -1;
  std::unique_ptr<TSeriesMarks> marks_;
  std::unique_ptr<TSeriesDetail> detail_;
  TChartSeries* master_ = nullptr;
  // Above 0 while the series changes its own value lists: their *modified* notices are then
  // part of an add or delete that the series reports itself.
  int editing_ = 0;
  TKelFunction* function_ = nullptr;
  std::unique_ptr<TVisualsList> visuals_;
  std::unique_ptr<TKelSelected> selected_;
  std::string xLabelsSource_;
  std::string colorSource_;
};

// A series kind of its own with no drawing, kept for layouts that name it; it publishes the
// colour settings of every point and the transparency.
class TThemedSeries : public TChartSeries {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TThemedSeries(TComponent* owner) : TChartSeries(owner) {}
};
