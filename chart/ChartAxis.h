// An axis of a chart: its range (fixed or automatic from the series), the scale between values
// and pixels in both directions (linear, logarithmic, depth), where it sits across the chart,
// and the increment between labels for numbers and date-times. Every change of the internal
// range or pixel span goes through RecalcScale, which keeps the cached scales and the range-zero
// flag consistent; the value-to-pixel forms are chosen once per change of orientation or scale
// type. What the axis needs of its chart (series extremes, label extents, repaint) comes through
// IAxisOwner.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/KelPen.h"
#include "chart/AxisItems.h"
#include "chart/KelProcs.h"
#include "toolkit/classes/Collection.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/WinApi.h"

VK_DECLARE_EXCEPTION(AxisException, Exception);

class TChartAxis;
class TChartCustomAxes;
class TCanvas3D;
class TKelFont;
class TKelPen;
class TCustomTextShape;
class IShapePanel;
class TChartSeries;
class TAxisItems;
class TAxisBackShape;
class TChartAxisTitle;
class TAutomaticText;
class TKelPicture;

// Where an axis takes its label values from.
enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText, talPointValue };
const TEnumInfo& EnumTypeInfo(TAxisLabelStyle);

// Where a label stands against its tick, and how labels align across a vertical axis.
enum TAxisLabelsAlign { alDefault, alOpposite, alCenter };
const TEnumInfo& EnumTypeInfo(TAxisLabelsAlign);

// Where a label stands against its tick: centred on it, or moved by half its text width after
// (towards higher pixels) or before it.
enum TAxisLabelPosition { lpAtTick, lpAfterTick, lpBeforeTick };

// The label settings of an axis (published on the axis as its Labels... properties), and two
// values of the current paint that LabelSize and the layout share.
struct TAxisLabels {
  TAxisLabelsAlign Align = alDefault;
  TAxisLabelStyle Style = talAuto;
  // Room between labels, in percent of a label.
  double Separation = 10;
  // Gap between the labels and the axis line and ticks, in percent of a text line.
  int Margin = 10;
  // Labels falling exactly on the start or end pixel are kept.
  bool OnAxis = true;
  // The value walk starts at a multiple of the increment.
  bool RoundFirst = true;
  bool UseImages = true;
  TAxisLabelPosition Position = lpAtTick;
  // Per paint: the most text lines of any label (at least 1; 0 = not measured yet) and the
  // tallest picture beside a label.
  int HeightFactor = 0;
  int TallestImage = 0;
};

// One label of the current paint: value, text and pixel along the axis; the box it is drawn
// with when it has its own (a custom item's format), and the series point it came from.
struct TAxisLabelItem {
  double Value = 0;
  std::string Text;
  int Pixel = 0;
  TCustomTextShape* Format = nullptr;
  TChartSeries* Series = nullptr;
  int Index = -1;
  // The label's box as drawn in this paint, before any turn (empty until drawn).
  TRect Box;
};

// One grid line in chart coordinates (x, y at depth z), before projection.
struct TAxisGridSegment {
  int X0, Y0, Z0, X1, Y1, Z1;
};

// The pen of an axis's ticks, inner ticks and minor ticks (dark grey).
class TTicks : public TDarkGrayPen {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TTicks(TNotifyEvent onChange = nullptr) : TDarkGrayPen(std::move(onChange)) {}
};

// The grid pen of an axis: where its lines stand in depth in a 3D chart, in percent of the
// chart depth counted from the axis's own side (default 0; 100 for the axes at the back).
class TAxisGridPen : public TKelPen {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Colour $C0C0C0 (also its default).
  explicit TAxisGridPen(TNotifyEvent onChange = nullptr);
  void Assign(TPersistent* source) override;
  // The legacy flag "ZZero" (ZPosition 0 where the default is not).
  void DefineProperties(TFiler& filer) override;
  // Every n-th tick gets a grid line (at least every one).
  int DrawEvery() const { return drawEvery_; }
  void SetDrawEvery(int value);
  // Grid lines also where the axis shows no labels (labels off, or no label style).
  bool DrawAlways() const { return drawAlways_; }
  void SetDrawAlways(bool value);
  // Grid lines halfway between ticks (published on the axis as GridCentered).
  bool Centered() const { return centered_; }
  void SetCentered(bool value);
  double ZPosition() const { return zPosition_; }
  void SetZPosition(double value);
  // The default the axis gives (also what is not stored).
  void SetDefaultZPosition(double value) {
    defaultZPosition_ = value;
    zPosition_ = value;
  }
  bool IsZPositionStored() const { return zPosition_ != defaultZPosition_; }

 private:
  double zPosition_ = 0;
  double defaultZPosition_ = 0;
  int drawEvery_ = 1;
  bool drawAlways_ = false;
  bool centered_ = false;
};

// How the axis line is drawn: a line, or in 3D a cylinder or a box along the axis.
enum TAxisLineMode { lmLine, lmCylinder, lmRectangle };
const TEnumInfo& EnumTypeInfo(TAxisLineMode);

// The pen of the axis line (2 pixels wide at first).
class TChartAxisPen : public TKelPen {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartAxisPen(TNotifyEvent onChange = nullptr);
  void Assign(TPersistent* source) override;
  TAxisLineMode LineMode() const { return lineMode_; }
  void SetLineMode(TAxisLineMode value);

 private:
  TAxisLineMode lineMode_ = lmLine;
};

// Called for each label about to be drawn: may move it, change its text or cancel it.
using TAxisOnDrawLabel = TMethodEvent<TChartAxis*, int&, int&, int&, std::string&, bool&>;

// What an axis needs from the chart that owns it; the axis panel implements it.
class IAxisOwner {
 public:
  virtual ~IAxisOwner() = default;
  // Smallest (maximum false) or largest value along the axis of the series bound to it, read
  // as X values (horizontal) or Y values; 0 when there is no such series.
  virtual double SeriesExtreme(const TChartAxis& axis, bool maximum, bool horizontal) = 0;
  // Whether an active series whose independent values lie along the axis has at most `points`
  // points (such an axis then never labels steps below 1).
  virtual bool HasSeriesWithAtMostPoints(const TChartAxis& axis, int points) = 0;
  // Whether the first active series that uses the axis (through its topmost parent axis) marks
  // its values for this axis as date-times.
  virtual bool SeriesShowDateTime(const TChartAxis& axis) = 0;
  // Tells every series that the axis changed, then invalidates the chart.
  virtual void NotifyAxisChanged(TChartAxis& axis) = 0;
  // Invalidates the chart (the axis's repaint).
  virtual void InvalidateChart() = 0;
  // The chart is loading a layout (csLoading) / reading its properties (csReading).
  virtual bool ChartLoading() const = 0;
  virtual bool ChartReading() const = 0;
  // The chart rectangle and the chart depth in pixels, as laid out for this paint.
  virtual RECT ChartRect() const = 0;
  virtual int ChartDepth() const = 0;
  // Width in pixels of a (possibly multi-line) label text, and one label line's height, in the
  // axis's label font on the chart's canvas.
  virtual int LabelTextWidth(const TChartAxis& axis, const std::string& text) = 0;
  virtual int LabelLineHeight(const TChartAxis& axis) = 0;
  // The chart's OnGetAxisLabel for a value label (no series, index -1); may change the text.
  virtual void GetAxisLabel(const TChartAxis& axis, std::string& text) = 0;

  // ---- Drawing (defaults for owners that never draw) ----------------------------------------
  // The canvas of the current paint; null when the owner does not draw.
  virtual TCanvas3D* AxisCanvas() { return nullptr; }
  // The panel the axis's title and label boxes are drawn on.
  virtual IShapePanel* AxisShapePanel() { return nullptr; }
  // Gives the canvas a font (the panel's default font for a default-marked one).
  virtual void AssignAxisFont(TKelFont*) {}
  // The label style the series decide for an axis with style talAuto: the first active series
  // that uses the axis and answers other than talValue; talValue when only talValue answers,
  // talNone without such series.
  virtual TAxisLabelStyle SeriesLabelStyle(const TChartAxis&) { return talNone; }
  // Room the chart's walls take beside the axis.
  virtual int WallSizeForAxis(const TChartAxis&) { return 0; }
  virtual bool AxisView3D() const { return false; }

  // ---- Labels from series points (defaults for owners without series) ----------------------
  // The active series that use the axis, in list order.
  virtual std::vector<TChartSeries*> SeriesOfAxis(const TChartAxis&) { return {}; }
  // The active series, in list order (a depth axis labels their titles).
  virtual std::vector<TChartSeries*> ActiveSeriesList() { return {}; }
  // Width of the widest point label of every series (through OnGetAxisLabel when it is
  // assigned), and of the widest mark of the active series, in the axis's label font.
  virtual int WidestPointLabel(const TChartAxis&) { return 0; }
  virtual int WidestMark(const TChartAxis&) { return 0; }
  // Whether the chart's OnGetAxisLabel is assigned.
  virtual bool HasAxisLabelEvent() const { return false; }
  // The chart's OnGetAxisLabel for a label of a series point (or a series title, index i).
  virtual void GetSeriesAxisLabel(const TChartAxis&, TChartSeries*, int, std::string&) {}
  // The axis of this chart that stands where `axis` stands in its own chart (the same
  // standard axis, or the custom axis of the same index); null when there is none.
  virtual TChartAxis* AxisLike(const TChartAxis& /*axis*/) { return nullptr; }
  // An axis of the chart (or a sub-axis) is being freed: no axis may keep it as its partner.
  // Only the address may be used.
  virtual void AxisDestroyed(const TChartAxis& /*axis*/) {}
  // The chart's OnGetNextAxisLabel for label number `index`: false when it is not assigned;
  // otherwise it may change `value` or set `stop`.
  virtual bool GetNextAxisLabel(const TChartAxis&, int /*index*/, double& /*value*/, bool& /*stop*/) {
    return false;
  }
};

// The next "nice" step strictly above x: 1, 2, 5, 10, 20, 50 ... in each decade; 1 for an
// infinite x (and for x <= 0 or NaN, which have no decade).
double NextNiceStep(double x);

class TChartAxis : public TCollectionItem {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // A vertical, automatic axis of `owner` (which may be nullptr: no chart, no series), in
  // `collection` when one is given.
  explicit TChartAxis(IAxisOwner* owner, TCollection* collection = nullptr);
  // An axis made by a TChartCustomAxes collection (as a layout reader does): the collection's
  // chart is its owner and the collection's parent axis, if any, its parent axis.
  explicit TChartAxis(TCollection* collection);
  ~TChartAxis() override;

  // From another axis: copies every setting (range, automatic flags, scale type, positions,
  // formats, label settings) and its sub-axes' settings; not the owner or the paint state.
  void Assign(TPersistent* source) override;
  // The custom labels as the raw entry "Items".
  void DefineProperties(TFiler& filer) override;
  // A standard axis is named after the chart's property ("Chart1.LeftAxis"); custom axes and
  // sub-axes as collection items ("Chart1.CustomAxes[0]", "Chart1.LeftAxis.SubAxes[1]").
  TPersistent* GetOwner() const override;
  std::string GetNamePath() const override;

  // ---- Value <-> pixel ----------------------------------------------------------------------
  // The form the series use (horizontal form for a Horizontal axis, else the vertical one).
  int CalcPosValue(double value) const { return (this->*calcPos_)(value); }
  int CalcXPosValue(double value) const { return (this->*calcXPos_)(value); }
  int CalcYPosValue(double value) const { return (this->*calcYPos_)(value); }
  // The value at a pixel along the axis.
  double CalcPosPoint(int pixel) const;

  // ---- Range, span and position ----------------------------------------------------------
  // Takes the automatic range from the series (into Minimum/Maximum), sets the internal range
  // and rounds it to the increment when asked.
  void AutoRange();
  // With MaximumRound/MinimumRound on an automatic end, widens that end to a multiple of the
  // label increment. Nothing for a zero pixel size or range.
  void RoundRangeToIncrement();
  // Widens the internal range so that the given pixel margins (left, top, right, bottom; the
  // two along the axis count) hold no data; sub-axes take the same range.
  void ApplyPixelMargins(int left, int top, int right, int bottom);
  // Start, end, size and centre pixels from the chart rectangle (or 0..chart depth for a depth
  // axis) and StartPosition/EndPosition; then RecalcScale.
  void ComputePixelSpan();
  // The pixel coordinate of the axis line across the chart, from the chart rectangle.
  void ComputePosition();
  // How far PositionPercent moves the axis across the chart (signed, added to coordinates:
  // positive values of PositionPercent move the axis into the chart).
  int PositionShift() const;
  // Sets the internal range directly (as a paint does) and refreshes the scale.
  void SetInternalRange(double minimum, double maximum);
  // Refreshes range, range-zero flag, scales, logarithms and the Z pixel after a change of the
  // internal range or pixel span.
  void RecalcScale();

  // ---- Increments ------------------------------------------------------------------------
  // The increment for labels when at most `maxLabels` fit.
  double IncrementForLabels(int maxLabels);
  // The increment for labels `extent` pixels long (LabelsSeparation percent apart).
  double IncrementForExtent(int extent);
  // The increment for the labels of the current range, measured through the chart.
  double LabelsIncrement();
  double NumericIncrement(int maxLabels);
  double DateTimeIncrement(int maxLabels);
  // A label's text: date-time or number format, the chart's OnGetAxisLabel, multi-line blanks.
  virtual std::string FormatLabel(double value);

  // ---- Drawing (ChartAxisDraw.cpp) ----------------------------------------------------------
  // Positions the axis, its labels and title and (standard axes) takes their room from r.
  void ReserveLabelSpace(TRect& r, bool standard);
  // Draws the axis inside the canvas element named after it; with setPosition the axis
  // position is first recomputed from the chart rectangle.
  void PaintAxis(bool setPosition);
  // The label style of this paint: LabelStyle, or for talAuto the parent axis's (a sub-axis)
  // or what the series that use the axis decide (talNone without such series).
  virtual TAxisLabelStyle LabelStyleInUse();
  // Room across the axis that the labels take (fixed LabelsSize, or measured).
  int LabelSize();
  // Room across the axis of one text in a font at an angle (fixed size when above 0).
  int LabelExtent(TKelFont* font, int angle, int fixedSize, const std::string& text);
  // A pixel coordinate moved away from the chart by `amount`.
  int MoveOutward(int position, int amount) const;
  // The value labels of the current range (style talValue): from the high end down, or on a
  // logarithmic axis without an increment the powers of its base upward.
  std::vector<double> ValueLabelValues();
  // Builds the ticks and labels of the current paint (as PaintAxis does), without drawing.
  void BuildLabels();
  // Minor tick pixels of the current tick list (all of them, inside and outside the span).
  std::vector<int> MinorTickPixels() const;
  // Grid line pixels of the current tick list, strictly inside the span.
  std::vector<int> GridPixels() const;
  // Grid lines (before projection) for these pixels along the axis: flat, across the chart
  // rectangle; in 3D on the back wall at the grid's depth and on the floor (horizontal axis)
  // or left wall (vertical axis); for a depth axis across the floor and up the left wall.
  std::vector<TAxisGridSegment> GridSegments(const std::vector<int>& pixels) const;
  // Depth of the grid's back-wall line in pixels (chart depth for the default).
  int GridZPixel() const;
  // The chart edge a depth axis runs along: the bottom for the one on the other side, else
  // the top.
  int DepthAxisRow() const;
  // Whether (x, y) lies on the axis or its labels as drawn in this paint.
  bool Clicked(int x, int y) const;
  // The label of this paint under (x, y), or -1.
  int LabelAt(int x, int y) const;
  // With a label selection whose hover format is visible, makes the label under (x, y) the
  // hovered one (-1: none) and answers whether one is hovered.
  bool HoverLabelAt(int x, int y);
  // No label hovered any more (when a label selection exists).
  void ClearLabelHover();
  const std::vector<int>& TickPixels() const { return ticks_; }
  const std::vector<TAxisLabelItem>& LabelItems() const { return labelItems_; }
  int LabelPosition() const { return posLabels_; }
  int TitlePosition() const { return posTitle_; }
  // The chart moves the title when pixel offsets changed the room the labels take.
  void SetTitlePosition(int position) { posTitle_ = position; }
  // The axis line and tick size (pen width + 1, ticks when they count, minor ticks at least).
  int AxisLineAndTickSize(bool withTicks) const;

  // ---- Drawing properties ------------------------------------------------------------------
  TChartAxisPen* AxisPen() const { return axisPen_.get(); }
  TAxisGridPen* Grid() const { return grid_.get(); }
  TKelPen* MinorGrid() const { return minorGrid_.get(); }
  TTicks* Ticks() const { return ticksPen_.get(); }
  TTicks* TicksInner() const { return ticksInner_.get(); }
  TTicks* MinorTicks() const { return minorTicks_.get(); }
  TKelFont* LabelsFont() const { return labelsFont_.get(); }
  // The title box, created on first use (angle 90 on a vertical axis on the normal side, 270
  // on the other side).
  TChartAxisTitle* Title();
  bool HasTitle() const { return title_ != nullptr; }
  // The box every label is drawn with (transparent, centred text).
  TCustomTextShape* LabelsFormat();
  int TickLength() const { return tickLength_; }
  void SetTickLength(int value);
  int TickInnerLength() const { return tickInnerLength_; }
  void SetTickInnerLength(int value);
  int MinorTickLength() const { return minorTickLength_; }
  void SetMinorTickLength(int value);
  int MinorTickCount() const { return minorTickCount_; }
  void SetMinorTickCount(int value);
  bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void SetTickOnLabelsOnly(bool value);
  bool Labels() const { return labels_; }
  void SetLabels(bool value);
  bool LabelsOnAxis() const { return axisLabels_.OnAxis; }
  void SetLabelsOnAxis(bool value);
  bool LabelsBehind() const { return labelsBehind_; }
  void SetLabelsBehind(bool value);
  int LabelsSize() const { return labelsSize_; }
  void SetLabelsSize(int value);
  int TitleSize() const { return titleSize_; }
  void SetTitleSize(int value);
  TAxisLabelStyle LabelStyle() const { return axisLabels_.Style; }
  void SetLabelStyle(TAxisLabelStyle value);
  bool GridCentered() const { return grid_->Centered(); }
  void SetGridCentered(bool value);
  int GridDrawEvery() const { return grid_->DrawEvery(); }
  void SetGridDrawEvery(int value);
  TAxisLabelsAlign LabelsAlign() const { return axisLabels_.Align; }
  void SetLabelsAlign(TAxisLabelsAlign value);
  bool LabelsExponent() const { return labelsExponent_; }
  void SetLabelsExponent(bool value);
  // Pictures of custom items or series points are drawn beside their labels.
  bool LabelsUseImages() const { return axisLabels_.UseImages; }
  void SetLabelsUseImages(bool value);
  // The custom label items, created on first use (automatic until an item is added).
  TAxisItems* Items();
  bool HasCustomItems() const;
  // The box behind the labels, created on first use (invisible).
  TAxisBackShape* Shape();
  bool HasShape() const { return shape_ != nullptr; }
  // The label settings and the label measures of the current paint.
  const TAxisLabels& AxisLabels() const { return axisLabels_; }
  // Where labels stand against their ticks (lpAtTick at first).
  TAxisLabelPosition LabelsPosition() const { return axisLabels_.Position; }
  void SetLabelsPosition(TAxisLabelPosition value);
  // Labels that do not fit lose their last characters (the automatic text's Trim).
  TAutomaticText* LabelsAutoText() const { return labelsAutoText_.get(); }
  TAxisOnDrawLabel OnDrawLabel;

  // ---- Other operations ------------------------------------------------------------------
  // Moves the range by `delta` (limited: only while series data lies beyond the moving end);
  // turns the automatic range off.
  void Scroll(double delta, bool limited);
  // Fixes the range to a..b in either order (no exception), for this axis and its sub-axes.
  void SetMinMax(double a, double b);
  // Refreshes the date-time flag from the series that use the axis.
  void RefreshDateTime();

  // ---- Published properties ----------------------------------------------------------------
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool value);
  bool AutomaticMaximum() const { return automaticMaximum_; }
  void SetAutomaticMaximum(bool value);
  bool AutomaticMinimum() const { return automaticMinimum_; }
  void SetAutomaticMinimum(bool value);
  double Maximum() const { return maximum_; }
  void SetMaximum(double value);
  double Minimum() const { return minimum_; }
  void SetMinimum(double value);
  double Increment() const { return increment_; }
  void SetIncrement(double value);
  bool Inverted() const { return inverted_; }
  void SetInverted(bool value);
  bool Logarithmic() const { return logarithmic_; }
  void SetLogarithmic(bool value);
  double LogarithmicBase() const { return logarithmicBase_; }
  void SetLogarithmicBase(double value);
  int MaximumOffset() const { return maximumOffset_; }
  void SetMaximumOffset(int value);
  int MinimumOffset() const { return minimumOffset_; }
  void SetMinimumOffset(int value);
  bool MaximumRound() const { return maximumRound_; }
  void SetMaximumRound(bool value);
  bool MinimumRound() const { return minimumRound_; }
  void SetMinimumRound(bool value);
  bool ExactDateTime() const { return exactDateTime_; }
  void SetExactDateTime(bool value);
  const std::string& DateTimeFormat() const { return dateTimeFormat_; }
  void SetDateTimeFormat(const std::string& value);
  const std::string& AxisValuesFormat() const { return axisValuesFormat_; }
  void SetAxisValuesFormat(const std::string& value);
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool value);
  bool OtherSide() const { return otherSide_; }
  void SetOtherSide(bool value);
  double StartPosition() const { return startPosition_; }
  void SetStartPosition(double value);
  double EndPosition() const { return endPosition_; }
  void SetEndPosition(double value);
  double PositionPercent() const { return positionPercent_; }
  void SetPositionPercent(double value);
  TKelUnits PositionUnits() const { return positionUnits_; }
  void SetPositionUnits(TKelUnits value);
  double ZPosition() const { return zPosition_; }
  void SetZPosition(double value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Another axis of the chart whose ends bound this axis's grid lines (with UsePartnerAxis).
  // Layouts name it by its path ("Chart1.RightAxis", "Chart1.CustomAxes[0]").
  TChartAxis* PartnerAxis() const { return partnerAxis_; }
  void SetPartnerAxis(TChartAxis* value);
  // Drops the partner (here and in the sub-axes) when it is `gone`, without a repaint.
  void ForgetPartner(const TChartAxis* gone);
  bool UsePartnerAxis() const { return usePartnerAxis_; }
  void SetUsePartnerAxis(bool value);

  // Label settings the increment depends on.
  double LabelsSeparation() const { return axisLabels_.Separation; }
  void SetLabelsSeparation(double value);  // percent of a label; below 0 raises
  int LabelsAngle() const { return labelsAngle_; }
  void SetLabelsAngle(int value);  // kept in 0..359
  bool LabelsAlternate() const { return labelsAlternate_; }
  void SetLabelsAlternate(bool value);
  bool LabelsMultiLine() const { return labelsMultiLine_; }
  void SetLabelsMultiLine(bool value);
  bool LabelsGridIgnoresLabelSize() const { return labelsGridIgnoresLabelSize_; }
  void SetLabelsGridIgnoresLabelSize(bool value);
  bool RoundFirstLabel() const { return axisLabels_.RoundFirst; }
  void SetRoundFirstLabel(bool value);

  // Stored-value tests of the layout writer.
  bool IsMaximumStored() const { return !(automatic_ || automaticMaximum_); }
  bool IsMinimumStored() const { return !(automatic_ || automaticMinimum_); }
  bool IsLogarithmicBaseStored() const { return logarithmicBase_ != 10; }
  bool IsStartPositionStored() const { return startPosition_ != 0; }
  bool IsEndPositionStored() const { return endPosition_ != 100; }
  bool IsPositionPercentStored() const { return positionPercent_ != 0; }
  bool IsZPositionStored() const;
  // Sets Visible and makes it the value not written to layouts (the hidden depth axes).
  void SetVisibleDefault(bool value) { visible_ = defaultVisible_ = value; }
  bool IsAxisValuesFormatStored() const;
  bool IsOtherSideStored() const { return !isStandard_ || parentAxis_ != nullptr; }

  // ---- Sub-axes ----------------------------------------------------------------------------
  // The axis's sub-axes, created on first use; published as "SubAxes" when not empty.
  TChartCustomAxes* SubAxes();
  // A new sub-axis of this axis (same chart, same orientation).
  TChartAxis& AddSubAxis();
  int SubAxisCount() const;
  TChartAxis& SubAxis(int index) const;
  TChartAxis* ParentAxis() const { return parentAxis_; }

  // ---- Internal state of the current paint --------------------------------------------------
  IAxisOwner* Owner() const { return owner_; }
  bool IsStandard() const { return isStandard_; }
  void SetStandard(bool value) { isStandard_ = value; }
  const std::string& ElementName() const { return elementName_; }
  void SetElementName(std::string value) { elementName_ = std::move(value); }
  bool IsDateTime() const { return isDateTime_; }
  bool IsDepth() const { return isDepth_; }
  bool RangeIsZero() const { return rangeZero_; }
  long double Range() const { return range_; }
  long double LogRange() const { return logRange_; }
  double Scale() const { return scale_; }
  double LogScale() const { return logScale_; }
  double InternalMinimum() const { return iMinimum_; }
  double InternalMaximum() const { return iMaximum_; }
  int StartPixel() const { return iStartPos_; }
  int EndPixel() const { return iEndPos_; }
  int PixelSize() const { return iAxisSize_; }
  int CenterPixel() const { return iCenterPos_; }
  int Position() const { return posAxis_; }
  int ZPixel() const { return zPixel_; }
  bool VisibleNow = false;  // drawn in the current paint

 protected:
  // For depth axes, which map values along the chart depth.
  void SetDepth(bool value);

 private:
  using CalcPosFn = int (TChartAxis::*)(double) const;
  void ChooseCalcPos();
  void Repaint();
  void ChangeMinimum(double value);
  void ChangeMaximum(double value);
  // Room a value's label takes along the axis, as the increment search measures it.
  int ExtentAlongAxis(double value);

  int LinearX(double value) const;
  int LinearY(double value) const;
  int DepthPos(double value) const;
  int LogX(double value) const;
  int LogY(double value) const;

  // Drawing helpers (ChartAxisDraw.cpp).
  // Records a tick at `pixel` for `value`.
  void AddTick(int pixel, double value);
  // A value label (tick, text, placing) at `value`.
  void AddValueLabel(double value);
  // Labels need their texts: labels are shown, or the grid is drawn from them regardless.
  bool LabelTextsNeeded() const;
  // Width of a label text (its widest line) in `font`.
  int LabelTextWidthNow(const std::string& text, TKelFont* font);
  void DrawLabels();
  void DrawLabel(TAxisLabelItem& item, int row);
  // Draws `text` in `format` (and `font`) as a label standing at `along` on the axis and at
  // `across` beside it (at depth z), turned by `angle`; answers whether it was drawn (not when
  // the draw-label event cancelled it or the back shape hides it). `box` receives the box
  // before its turn, `seen` its bounds as it shows (turned).
  // A title (not `asLabel`) keeps the default alignment and no exponent form.
  bool DrawLabelText(int along, int across, int z, int angle, std::string text, TCustomTextShape* format,
                     TKelFont* font, bool asLabel, TRect& box, TRect& seen);
  // Sub-axes: the orientation settings of this axis, and its pixel span and range.
  void TakeOrientationFrom(const TChartAxis& parent);
  void TakeSpanFrom(const TChartAxis& parent);
  void PaintSubAxes();
  // The picture beside a label (custom item or series point), null when there is none.
  TKelPicture* LabelPicture(const TAxisLabelItem& item) const;
  void DrawLabelPicture(const TAxisLabelItem& item, const TRect& box);
  // The tallest (horizontal axis) or widest picture beside any label, 0 without pictures.
  int LabelImagesSize();
  void AddPointLabels(TAxisLabelStyle style);
  void AddDepthTitleLabels();
  void AddCustomLabels();
  bool AddNextLabels();
  void PlaceLabel(double value, int pixel, const std::string& text, TCustomTextShape* format,
                  TChartSeries* series, int index);
  void DrawBackShape();
 public:
  // The back shape's box: along the axis from start to end pixel, across from the axis out
  // past the labels.
  TRect BackShapeBox();
 private:
  std::string PointLabelText(TAxisLabelStyle style, TChartSeries& series, int index);
  // The value a series point's label stands at: its depth order on a depth axis, its index
  // for series that label by index, else its X (horizontal axis) or Y value.
  double PointLabelValue(TChartSeries& series, int index) const;
  // The label texts the widest-label measure looks at; `values` tells value labels.
  std::vector<std::string> MeasuredLabels(bool& values);
  void DrawTitle();
  // The axis line as a cylinder or box of the pen's width and colour (3D line modes).
  void DrawSolidAxisLine(TCanvas3D* canvas, int at);
  void DrawLineTicksAndGrid();
  std::vector<double> LogLabelValues();
  // Minor tick pixels of a logarithmic axis: value steps between the tick values.
  std::vector<int> LogMinorTickPixels() const;
  void PenChanged(TObject*) { Repaint(); }

  IAxisOwner* owner_;
  // Published.
  bool automatic_ = true;
  bool automaticMaximum_ = true;
  bool automaticMinimum_ = true;
  double maximum_ = 0;
  double minimum_ = 0;
  double increment_ = 0;
  bool inverted_ = false;
  bool logarithmic_ = false;
  double logarithmicBase_ = 10;
  int maximumOffset_ = 0;
  int minimumOffset_ = 0;
  bool maximumRound_ = false;
  bool minimumRound_ = false;
  bool exactDateTime_ = true;
  std::string dateTimeFormat_;
  std::string axisValuesFormat_;
  bool horizontal_ = false;
  bool otherSide_ = false;
  double startPosition_ = 0;
  double endPosition_ = 100;
  double positionPercent_ = 0;
  TKelUnits positionUnits_ = muPercent;
  double zPosition_ = 0;
  bool visible_ = true;
  bool defaultVisible_ = true;
  TChartAxis* partnerAxis_ = nullptr;
  bool usePartnerAxis_ = false;
  int labelsAngle_ = 0;
  bool labelsAlternate_ = false;
  bool labelsMultiLine_ = false;
  bool labelsGridIgnoresLabelSize_ = false;
  std::unique_ptr<TChartCustomAxes> subAxes_;
  // Internal.
  bool isStandard_ = false;
  std::string elementName_;
  TChartAxis* parentAxis_ = nullptr;
  bool isDateTime_ = false;
  bool isDepth_ = false;
  bool rangeZero_ = true;
  long double range_ = 0;
  double logMinimum_ = 0;
  double logMaximum_ = 0;
  long double logRange_ = 0;
  bool logRangeZero_ = true;
  double logScale_ = 0;
  double scale_ = 0;
  int zPixel_ = 0;
  double iMaximum_ = 0;
  double iMinimum_ = 0;
  int iStartPos_ = 0;
  int iEndPos_ = 0;
  int iAxisSize_ = 0;
  int iCenterPos_ = 0;
  int posAxis_ = 0;
  // Drawing settings and the state of the current paint.
  std::unique_ptr<TChartAxisPen> axisPen_;
  std::unique_ptr<TKelPen> minorGrid_;
  std::unique_ptr<TTicks> ticksPen_, ticksInner_, minorTicks_;
  std::unique_ptr<TAxisGridPen> grid_;
  std::unique_ptr<TKelFont> labelsFont_;
  std::unique_ptr<TChartAxisTitle> title_;
  std::unique_ptr<TCustomTextShape> labelsFormat_;
  std::unique_ptr<TAxisItems> items_;
  std::unique_ptr<TAxisBackShape> shape_;
  std::unique_ptr<TAutomaticText> labelsAutoText_;
  bool labelsExponent_ = false;
  int tickLength_ = 4;
  int tickInnerLength_ = 0;
  int minorTickLength_ = 2;
  int minorTickCount_ = 3;
  bool tickOnLabelsOnly_ = true;
  bool labels_ = true;
  bool labelsBehind_ = false;
  int labelsSize_ = 0;
  int titleSize_ = 0;
  TAxisLabels axisLabels_;
  std::vector<int> ticks_;
  // The value of each tick (same order), and the extra ticks of a logarithmic axis one power
  // beyond the first and last label, which only place minor ticks.
  std::vector<double> tickValues_;
  std::vector<double> logExtraTicks_;
  // The labels of this paint are built for the grid only (no label style): no label is kept.
  bool ticksOnly_ = false;
  std::vector<TAxisLabelItem> labelItems_;
  int posLabels_ = 0;
  int posTitle_ = 0;
  CalcPosFn calcXPos_ = nullptr;
  CalcPosFn calcYPos_ = nullptr;
  CalcPosFn calcPos_ = nullptr;
};

// A collection of axes: a chart's custom axes, or the sub-axes of one axis. Its items belong
// to the collection's chart and, for sub-axes, to the parent axis.
class TChartCustomAxes : public TOwnedCollection {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TChartCustomAxes(TPersistent* owner, IAxisOwner* chart, TChartAxis* parentAxis = nullptr);
  TChartAxis& Axis(int index) const { return *static_cast<TChartAxis*>(Items(index)); }
  TChartAxis& AddAxis() { return *static_cast<TChartAxis*>(Add()); }
  IAxisOwner* Chart() const { return chart_; }
  TChartAxis* ParentAxis() const { return parentAxis_; }

 private:
  IAxisOwner* chart_;
  TChartAxis* parentAxis_;
};

// The axis along the chart's depth; labels show series titles by default.
class TChartDepthAxis : public TChartAxis {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  explicit TChartDepthAxis(IAxisOwner* owner, TCollection* collection = nullptr);
  // The axis settings and, from another depth axis, LabelsAsSeriesTitles.
  void Assign(TPersistent* source) override;
  // For talAuto: values when some active series spreads over depth, else one label per
  // series slot (talText).
  TAxisLabelStyle LabelStyleInUse() override;
  bool LabelsAsSeriesTitles() const { return labelsAsSeriesTitles_; }
  void SetLabelsAsSeriesTitles(bool value);
  // The chart's other depth axis: inverting one inverts both (set by the chart).
  TChartDepthAxis* InvertPartner = nullptr;

 private:
  bool labelsAsSeriesTitles_ = true;
};
