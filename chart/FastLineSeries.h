// TFastLineSeries: a series drawn as one connected line with as little work per point as
// possible. Values become pixels once per paint; a point is drawn only when it moves on screen;
// without DrawAllPoints the points of one pixel column merge into one stroke (daFirst: the
// column's first point, daMinMax: a vertical stroke over the column's range); the polyline mode
// hands the visible range to one canvas call, and FastPen draws on the device handle. Last X/Y,
// the column range and the point array are working state of one paint. Inside a paint the
// connected segments of one run gather into polyline calls (of at most kRunPiece points); a move
// (a gap) or the end of the paint ends the run.
#pragma once

#include "canvas/CanvasTypes.h"
#include "chart/ChartSeries.h"

enum TDrawAllPointsStyle { daFirst, daMinMax };
enum TFastLineDrawStyle { flSegments, flAll };
const TEnumInfo& EnumTypeInfo(TDrawAllPointsStyle);
const TEnumInfo& EnumTypeInfo(TFastLineDrawStyle);

class TCustomLineSeries : public TChartSeries {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomLineSeries(TComponent* owner) : TChartSeries(owner) {}
};

class TFastLineSeries : public TCustomLineSeries {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TFastLineSeries(TComponent* owner);

  std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }
  void ChangeLinePen(TKelPen* pen) override;
  void MarginsX(int& left, int& right) override;
  void MarginsY(int& top, int& bottom) override;
  void CopyFormatFrom(TChartSeries* source) override;
  void Assign(TPersistent* source) override;
  bool KeepsPreparedPoints() const override { return UsesPolyline(); }
  void FindVisibleRange() override;
  void PrepareValuesPaint() override;
  void PaintAllPoints() override;
  // Flat, with every point's pixel far enough inside `clip` for what the line pen can reach
  // past it.
  bool DrawsWithin(const TRect& clip) override;
  void PaintPoint(int index) override;
  // Each point continues the line from the one before: painted whole, never interleaved.
  bool PaintsPointsAlone() const override { return false; }
  void PrepareCanvasForPoint(int, TColor&, TBrushStyle&) override { PrepareLinePen(); }
  // A horizontal line through the rectangle's vertical middle, in the current pen.
  void PaintLegendSymbol(int index, const TRect& rect) override;
  // The base add, or (AutoRepaint off) the new segment drawn at once on the chart's canvas.
  void AfterPointAdded(TChartSeries* sender, int index) override;
  void ChangeSeriesColor(TColor color) override;
  int PointAtPixel(int x, int y) override;
  // The marks' callout lifts the mark, then the mark is painted as by any series.
  void PaintMark(int index, const std::string& text, TSeriesMarkPosition& position) override;

 protected:
  // A fast line does not highlight the point under the mouse unless asked to: with thousands
  // of points a hover test on every mouse move costs more than it shows.
  void InitSelected(TKelSelected& selected) override;

 public:
  // ---- Pixels and pen ----------------------------------------------------------------------
  void PointToPixels(int index, int& x, int& y) const;
  bool UsesPolyline() const;
  bool UsesRawPen() const;
  void PrepareLinePen();
  void MoveToPixel(int x, int y);
  void LineToPixel(int x, int y);
  // Whether the point at `index` is drawn; may move the pen or rewrite (x, y) for null points.
  bool HandleNull(int index, int& x, int& y);
  void PaintPolyline();

  // ---- Published properties ----------------------------------------------------------------
  TKelPen* LinePen() const { return Pen(); }
  // Takes the pen's settings, then its colour as the series colour.
  void SetLinePen(TKelPen* pen);
  bool AutoRepaint() const { return autoRepaint_; }
  void SetAutoRepaint(bool value) { autoRepaint_ = value; }
  int ClickTolerance() const { return clickTolerance_; }
  void SetClickTolerance(int value) { clickTolerance_ = value; }
  TDrawAllPointsStyle DrawAllPointsStyle() const { return drawAllPointsStyle_; }
  void SetDrawAllPointsStyle(TDrawAllPointsStyle value);
  bool DrawAllPoints() const { return drawAllPoints_; }
  void ChangeDrawAllPoints(bool value);
  TFastLineDrawStyle DrawStyle() const { return drawStyle_; }
  void SetDrawStyle(TFastLineDrawStyle value);
  bool FastPen() const { return fastPen_; }
  void SetFastPen(bool value);
  bool IgnoreNulls() const { return ignoreNulls_; }
  void ChangeIgnoreNulls(bool value);
  bool InvertedStairs() const { return invertedStairs_; }
  void ChangeInvertedStairs(bool value);
  bool Stairs() const { return stairs_; }
  void ChangeStairs(bool value);

  // Working state of the current paint, readable for tests of the column logic.
  int LastX() const { return lastX_; }
  int LastY() const { return lastY_; }

 private:
  TCanvas3D* Canvas() const { return parentChart_ ? parentChart_->ChartCanvas() : nullptr; }
  bool Is3D() const { return parentChart_ && parentChart_->View3D(); }
  bool CanSkipColumnPoints() const;
  void UpdateColumnLimit();
  // Draws the pending vertical stroke of the current column.
  void CloseColumn();
  // Whether the point at (x, y) leaves the current pixel (or column).
  bool Moved(int x, int y) const;
  // Whether segments go to the current run instead of straight to the canvas.
  bool Batching() const { return painting_ && rawDC_ == nullptr && !Is3D(); }
  // Draws the current run as one polyline and keeps its last point as the start of the next.
  void FlushRun();

  bool autoRepaint_ = true;
  int clickTolerance_ = 0;
  TDrawAllPointsStyle drawAllPointsStyle_ = daFirst;
  bool drawAllPoints_ = true;
  TFastLineDrawStyle drawStyle_ = flSegments;
  bool fastPen_ = false;
  bool ignoreNulls_ = true;
  bool invertedStairs_ = false;
  bool stairs_ = false;
  HPEN rawPen_ = nullptr;
  int lastX_ = 0;
  int lastY_ = 0;
  int columnTop_ = 0;
  int columnBottom_ = 0;
  bool columnFlag_ = false;
  TPointArray points_;
  // Points of one polyline call at most; a longer run continues from the last point drawn.
  static constexpr int kRunPiece = 32;
  // The run being gathered while painting: the pen position, then every point the line went to.
  TPointArray run_;
  bool painting_ = false;
  // While painting with only first points of columns: X values below columnLimit_ stay in the
  // current column.
  bool columnSkip_ = false;
  double columnLimit_ = 0;
  // The device context the raw pen is selected into while a segment is drawn on it directly.
  HDC rawDC_ = nullptr;
};
