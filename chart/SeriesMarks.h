// The marks of a series (TSeriesMarks): the framed text labels beside its points, one per
// point, with an optional callout (arrow and pointer), tail on the frame, colour symbol, per-point
// formats ("Items") and per-point pictures. The marks decide where a mark goes
// (PlaceAtPoint, the callout's lift), which points get one (DrawEveryStep), how it is drawn
// (PaintPointMark / DrawMark), how it keeps clear of earlier marks (AvoidOverlap) and which
// mark lies under the mouse (MarkAtPixel). The series picks the points and makes the texts.
// Invariant: the stored position of an index is where its mark was last drawn; positions and
// items are indexed like the series' points and shift with them when a point is deleted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/KelShapes.h"
#include "chart/SeriesMarkPosition.h"
#include "chart/SeriesPointer.h"

class TChartSeries;
class TKelGradient;
class TSeriesMarks;
class TKelGradient;
class TCanvas3D;
class TStream;
class TStringList;
class TStrings;

enum TSeriesMarksStyle {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
  smsLabelPercentTotal, smsXValue, smsXY, smsSeriesTitle, smsPointIndex, smsPercentRelative,
  smsLabelPercentValue, smsLabelOrValue
};
enum TSeriesMarksImages { miSymbol, miOnly, miNone };
enum TTailAlign { ttaNear, ttaCenter, ttaFar };
const TEnumInfo& EnumTypeInfo(TSeriesMarksStyle);
const TEnumInfo& EnumTypeInfo(TSeriesMarksImages);
const TEnumInfo& EnumTypeInfo(TTailAlign);

// A pointed tail on one edge of a mark's frame (edge 0 left, 1 top, 2 right, 3 bottom).
class TMarksTail : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TMarksTail(TChartSeries* series) : series_(series) {}
  // Every field but the edge and the custom tip flag.
  void Assign(TPersistent* source) override;

  // The frame of `r` with the tail as seven points. With AutoAlign the edge follows where the
  // point lies (arrow start against arrow end) and the tail sits in the edge's middle.
  TPointArray Polygon(const TRect& r, TPoint arrowFrom, TPoint arrowTo);

  bool AutoAlign() const { return autoAlign_; }
  void SetAutoAlign(bool value);
  int Height() const { return height_; }
  void SetHeight(int value);
  TTailAlign Align() const { return align_; }
  void SetAlign(TTailAlign value);
  int Margin() const { return margin_; }
  void SetMargin(int value) { margin_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  int Width() const { return width_; }
  void SetWidth(int value);
  int Edge() const { return edge_; }
  void SetEdge(int value);
  bool CustomTip = false;
  TPoint Tip;

 private:
  void Changed();
  TChartSeries* series_;
  bool autoAlign_ = true;
  int height_ = 8;
  TTailAlign align_ = ttaCenter;
  int margin_ = 0;
  bool visible_ = false;
  int width_ = 8;
  int edge_ = 3;
};

// The square drawn inside a mark in the point's colour.
class TSeriesMarksSymbol : public TKelCustomShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TSeriesMarksSymbol(IShapePanel* panel);
  ~TSeriesMarksSymbol() override;
  bool ShouldDraw() const { return visible_ && !transparent_; }
  // Draws the square in Bounds (the frame, fill and picture of a shape).
  void DrawIn(double angle, int z) { DrawInRect(Bounds, z, angle); }
  // The picture of the point being drawn (the series' picture for its index), apart from the
  // published fill Picture; emptied after each mark.
  TKelPicture* PointPicture();
  bool HasPointPicture() const { return pointPicture_ != nullptr; }
  void ClearPointPicture();

 protected:
  void DrawContent(TCanvas3D* canvas, const TRect& r, int z, double angle) override;
  // Size 1, recorded as its default.
  void InitEmboss(TKelEmboss& emboss) override;

 private:
  std::unique_ptr<TKelPicture> pointPicture_;
};

// The format of the mark of one point, used instead of the marks' own format for that point.
class TMarksItem : public TCustomTextShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TMarksItem(IShapePanel* panel);
  ~TMarksItem() override;

  // The text as a list, made on first read and filled from the item's text. A change of the
  // list becomes the item's (custom) text.
  TStrings* TextLines();
  // Null frees the list, empties the text and clears the custom flag; a list is copied in.
  void SetTextLines(TStrings* value);
  bool CustomText() const { return customText_; }
  void SetCustomText(bool value) { customText_ = value; }
  TKelGradient* Gradient();

 protected:
  void TextChanged() override;
  // The marks' emboss defaults.
  void InitEmboss(TKelEmboss& emboss) override;

 private:
  void LinesChanged();
  std::unique_ptr<TStringList> lines_;
  bool customText_ = false;
  bool filling_ = false;
};

// The last position of every drawn mark, one optional entry per point index.
class TSeriesMarksPositions {
 public:
  explicit TSeriesMarksPositions(TSeriesMarks* marks) : marks_(marks) {}
  int Count() const { return static_cast<int>(items_.size()); }
  // Null beyond the end or for an empty entry.
  TSeriesMarkPosition* PositionAt(int index) const;
  // Grows the list up to the index and stores a copy of `position` there.
  void Store(int index, const TSeriesMarkPosition& position);
  void Append(const TSeriesMarkPosition& position);
  // Arrow start and end at (x, y), the box centred above it with its bottom edge on y + 1;
  // the caller has set the width and height. A symbol moves to the box's corner.
  void PlaceAtPoint(TSeriesMarkPosition& position, int x, int y) const;
  // Removes up to `count` entries from `index` on; nothing when the index is beyond the list.
  void DeleteRange(int index, int count);
  void Clear() { items_.clear(); }
  // Any entry that is a custom position.
  bool HasCustom() const;

 private:
  TSeriesMarks* marks_;
  std::vector<std::unique_ptr<TSeriesMarkPosition>> items_;
};

// Per-point formats: one optional item per point index.
class TMarksItems {
 public:
  explicit TMarksItems(TSeriesMarks* marks) : marks_(marks) {}
  ~TMarksItems();
  int Count() const { return static_cast<int>(items_.size()); }
  TMarksItem* ItemAt(int index) const;
  // Grows the list up to the index; an empty entry gets an item that starts as the marks'
  // format.
  TMarksItem* ItemOrCreate(int index);
  void Delete(int index);
  // Frees every item, empties the list and repaints the marks.
  void Clear();
  // Set when stored items were read (count above 0); never cleared.
  bool Loading = false;

 private:
  TSeriesMarks* marks_;
  std::vector<std::unique_ptr<TMarksItem>> items_;
};

// A text shape with a marks style (the shape of marks and their children).
class TSeriesMarkShape : public TCustomTextShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TSeriesMarkShape(IShapePanel* panel, TSeriesMarks* marks);
  void Assign(TPersistent* source) override;
  TSeriesMarksStyle Style() const { return style_; }
  void SetStyle(TSeriesMarksStyle value);
  // Children of marks are mark shapes too.
  const TClassInfo& ChildShapeClass() const override { return TSeriesMarkShape::StaticClass(); }
  TKelCustomShape* NewChildShape(IShapePanel* panel) override;

 protected:
  TSeriesMarks* marks_;
  TSeriesMarksStyle style_ = smsLabelOrValue;
};

class TSeriesMarks : public TSeriesMarkShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TSeriesMarks(TChartSeries* series);
  ~TSeriesMarks() override;
  void Assign(TPersistent* source) override;
  void AttachPanel(IShapePanel* panel) override;
  // The gradient defaults of marks (also the legend's): direction gdRightLeft, start colour
  // $C0C0C0, end colour $FFFFFF, recorded as the values not written to layouts.
  static void InitGradientDefaults(TKelGradient& gradient);
  void DefineProperties(TFiler& filer) override;

  TChartSeries* Series() const { return series_; }
  TSeriesMarksPositions& Positions() { return positions_; }
  TMarksItems& Items() { return items_; }

  // ---- Placing, drawing and finding marks ------------------------------------------------
  // Only indexes with index mod step = 0 get a mark: at least DrawEvery (and at least 1),
  // more when the visible points are denser than one per two pixels.
  int DrawEveryStep() const;
  // The callout's lift, when there is a callout.
  void AdjustPosition(TSeriesMarkPosition& position) const;
  // False when the mark cannot be placed clear of the earlier stored marks from `first` on;
  // it may move the position by the series' gap.
  bool AvoidOverlap(int first, int index, TSeriesMarkPosition& position);
  // Stores the position and draws the mark of one point in the point's colour; the hovered
  // point's mark takes the hover font's colour and style for this draw.
  void PaintPointMark(int index, TColor color, TSeriesMarkPosition& position);
  void DrawMark(TCustomTextShape* shape, TColor color, TSeriesMarkPosition& position);
  // The top-left moved with the projection of the arrow end in a 3D view.
  TPoint ProjectTopLeft(TPoint arrowTo, TPoint topLeft) const;
  // The rectangle a mark covers, for the overlap test.
  TRect MarkBounds(int index, const TSeriesMarkPosition& position);
  // The item of the index when there is one, else the marks themselves.
  TCustomTextShape* ItemShape(int index);
  // Highest drawn index whose mark is under the point (-1: none).
  int MarkAtPixel(TPoint p) const;
  int MarkAtPixel(int x, int y) const { return MarkAtPixel(TPoint(x, y)); }
  int TextWidthOf(int index);
  // Drops the position and the item of a deleted point.
  void DeleteIndex(int index);
  // Frees the positions, and the items unless they came from a stored layout.
  void ClearPositions();

  // ---- Properties ------------------------------------------------------------------------
  // Rotation of every mark in degrees (used mod 360); a change repaints the series.
  void SetAngle(int value);
  TMarksCallout* Callout();
  bool HasMarksCallout() const { return callout_ != nullptr; }
  void SetCallout(TMarksCallout* value);
  TSeriesMarksSymbol* Symbol();
  bool HasSymbol() const { return symbol_ != nullptr; }
  void SetSymbol(TSeriesMarksSymbol* value);
  TMarksTail* Tail();
  bool HasTail() const { return tail_ != nullptr; }
  void SetTail(TMarksTail* value);
  bool Clip() const { return clip_; }
  void SetClip(bool value);
  int DrawEvery() const { return drawEvery_; }
  void SetDrawEvery(int value);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  // Drawn after every series of the chart has painted, over all of them.
  bool OnTop() const { return onTop_; }
  void SetOnTop(bool value);
  bool SoftClip() const { return softClip_; }
  void SetSoftClip(bool value);
  TSeriesMarksImages UseImages() const { return useImages_; }
  void SetUseImages(TSeriesMarksImages value);
  bool UseSeriesTransparency() const { return useSeriesTransparency_; }
  void SetUseSeriesTransparency(bool value);
  // What a mark may do on its own to fit (its Move flag is AutoPosition); a change repaints.
  TAutomaticText* AutomaticText() const { return autoText_.get(); }
  bool AutoPosition() const { return autoText_->Move(); }
  void SetAutoPosition(bool value) { autoText_->SetMove(value); }
  TKelPen* Arrow() { return Callout()->Arrow(); }
  void SetArrow(TKelPen* value) { Callout()->SetArrow(value); }
  int ArrowLength() { return Callout()->Length(); }
  void SetArrowLength(int value) { Callout()->SetLength(value); }
  TKelGradient* Gradient();
  int Depth = 0;  // the series' middle depth
  // While a mark is drawn its font takes the point's colour (the hover font still wins).
  bool PointColorFont = false;

 protected:
  // The marks' emboss defaults (hidden, $808080, size 3).
  void InitEmboss(TKelEmboss& emboss) override;

 private:
  // A store-and-repaint setter: repaints the series (its chart) or the panel.
  void SeriesRepaint();
  void ReadItems(TStream& stream);
  void WriteItems(TStream& stream);

  TChartSeries* series_;
  std::unique_ptr<TAutomaticText> autoText_;
  std::unique_ptr<TMarksCallout> callout_;
  bool clip_ = false;
  int drawEvery_ = 1;
  TMarksItems items_{this};
  bool multiLine_ = false;
  bool onTop_ = false;
  TSeriesMarksPositions positions_{this};
  TSeriesMarksImages useImages_ = miSymbol;
  bool useSeriesTransparency_ = true;
  bool softClip_ = false;
  std::unique_ptr<TSeriesMarksSymbol> symbol_;
  std::unique_ptr<TMarksTail> tail_;
};

// Start-up of the chart engine's streaming: the engine's element classes (chart elements,
// functions, series sources, shapes, axes) join the control class group, and the axis title,
// axes, depth axis, marks, themed series and picture component become classes layouts may
// name. Shutdown unregisters those six classes.
void KelEngineStartup();
void KelEngineShutdown();
