// TCustomChart: the chart control proper. It completes the axis panel with the four walls of
// the box, the titles (title, subtitle, foot, subfoot), the legend and the named colour
// palettes, and answers the mouse: clicks on legend rows, series, axes and titles, zoom by a
// dragged rectangle (undone by a drag the other way, optionally through a history of
// snapshots), panning by dragging, and scrolling or zooming with the wheel.
// Zoom state: idle -> dragging (Zoom()->Active, rectangle drawn) -> zoomed (axes fixed) or
// undone. The axes' ranges are saved once, on the first zoom, pan or wheel scroll after
// creation or after an undo, and given back by the undo that empties the history; bounds are
// always handed over as a pair, so minimum <= maximum holds at every step.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/ChartLegend.h"
#include "chart/ChartWalls.h"
#include "chart/ColorPalettes.h"

class TCustomChart;

enum TChartHitPart { hpNone, hpLegend, hpAxis, hpSeries, hpTitle, hpFoot, hpChartArea, hpMark, hpPointer,
                     hpSubtitle, hpSubfoot, hpAxisTitle };

using TChartAllowScrollEvent = TMethodEvent<TChartAxis*, double&, double&, bool&>;
using TChartClick = TMethodEvent<TCustomChart*, TMouseButton, TShiftState, int, int>;
using TChartClickAxis = TMethodEvent<TCustomChart*, TChartAxis*, TMouseButton, TShiftState, int, int>;
using TChartClickSeries = TMethodEvent<TCustomChart*, TChartSeries*, int, TMouseButton, TShiftState, int, int>;
using TChartClickTitle = TMethodEvent<TCustomChart*, TChartTitle*, TMouseButton, TShiftState, int, int>;
using TOnGetLegendPos = TMethodEvent<TCustomChart*, int, int&, int&, int&>;
using TOnGetLegendRect = TMethodEvent<TCustomChart*, TRect&>;
using TOnGetLegendText = TMethodEvent<TCustomAxisPanel*, TLegendStyle, int, std::string&>;

// One saved axis: automatic flags and bounds, and which axis it was.
struct TAxisSavedScales {
  TChartAxis* Axis = nullptr;
  bool Automatic = false, AutomaticMinimum = false, AutomaticMaximum = false;
  double Minimum = 0, Maximum = 0;
};
using TAllAxisSavedScales = std::vector<TAxisSavedScales>;

struct TChartHit {
  TChartHitPart Part = hpNone;
  int Index = -1;
  TChartSeries* Series = nullptr;
  TChartAxis* Axis = nullptr;
};

class TCustomChart : public TCustomAxisPanel {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomChart(TComponent* owner);
  ~TCustomChart() override;
  void Assign(TPersistent* source) override;

  // ---- Palettes ----------------------------------------------------------------------------
  int ColorPaletteIndex() const { return colorPaletteIndex_; }
  // -1 none, -2 the chart's own colours (taking the current palette's), 0.. a registry palette.
  void SetColorPaletteIndex(int value);

  // ---- Walls and titles --------------------------------------------------------------------
  TChartWalls* Walls() const { return walls_.get(); }
  TChartBackWall* BackWall() const { return walls_->Back(); }
  TChartLeftWall* LeftWall() const { return walls_->Left(); }
  TChartBottomWall* BottomWall() const { return walls_->Bottom(); }
  TChartRightWall* RightWall() const { return walls_->Right(); }
  TKelPen* Frame() const { return BackWall()->Pen(); }
  // Created on first use.
  TChartTitle* Title();
  TChartTitle* SubTitle();
  TChartFootTitle* Foot();
  TChartFootTitle* SubFoot();
  TChartLegend* Legend() const { return legend_.get(); }
  // Null frees a title (the next read makes a fresh one); another title, a wall, the legend or a
  // frame pen is copied into the chart's own.
  void SetTitle(TChartTitle* value);
  void SetSubTitle(TChartTitle* value);
  void SetFoot(TChartFootTitle* value);
  void SetSubFoot(TChartFootTitle* value);
  void SetLegend(TChartLegend* value);
  void SetBackWall(TChartBackWall* value);
  void SetLeftWall(TChartLeftWall* value);
  void SetRightWall(TChartRightWall* value);
  void SetBottomWall(TChartBottomWall* value);
  void SetFrame(TKelPen* value);

  // ---- Paint hooks -------------------------------------------------------------------------
  TColor BackgroundColor() override;
  bool IsColorFree(TColor color, bool checkBack, const TChartSeries* except) override;
  int WallSizeForAxis(const TChartAxis& axis) override;
  // No series active, or one of them uses axes.
  bool AxesInUse() const;
  bool ZoomableSeries() const;
  // The legend text of a point: LegendText in the legend's style, line breaks as blanks.
  std::string LegendTextFor(TChartSeries* series, int index);
  // A legend symbol: the picture stretched into it (with Symbol.UseImages), else the legend
  // symbol in the canvas brush's colour.
  void PaintLegendSymbolShape(const TRect& rect, TGraphic* graphic) override;
  // Marks in the legend styles take the same text.
  std::string LegendTextFor(TChartSeries& series, int index) override { return LegendTextFor(&series, index); }

  // ---- Mouse -------------------------------------------------------------------------------
  TChartHit HitTestPart(int x, int y, bool onlyClickable);
  void ZoomToPixelRect(TRect r);
  // Bounds for the left, right, top and bottom axes (pairs in that order).
  void ZoomToValues(double leftMin, double leftMax, double rightMin, double rightMax, double topMin, double topMax,
                    double bottomMin, double bottomMax);
  void ZoomPercent(double percent);
  void ResetZoom();
  void PushZoomSnapshot();
  const TZoomSnapshots& ZoomHistory() const { return Zoom()->Snapshots(); }
  bool ScalesSavePending() const { return scalesSavePending_; }
  bool Zoomed() const { return zoomed_; }
  void WheelScroll(bool up);
  // The wheel, `up` for a positive delta.
  void HandleWheel(bool up);
  // The wheel scrolls the vertical axes: the panning's wheel is on, vertical panning is
  // allowed and the chart is not being designed.
  bool WheelPans();
  // Moves the axes of one direction by a mouse move from `previous` to `current` pixels.
  bool PanAxes(bool horizontal, int current, int previous);

  TChartAllowScrollEvent OnAllowScroll;
  TChartClickAxis OnClickAxis;
  TChartClick OnClickBackground;
  TChartClick OnClickLegend;
  TChartClickSeries OnClickSeries;
  TChartClickTitle OnClickTitle;
  TOnGetLegendPos OnGetLegendPos;
  TOnGetLegendRect OnGetLegendRect;
  TOnGetLegendText OnGetLegendText;
  TNotifyEvent OnZoom;
  TNotifyEvent OnUndoZoom;
  TNotifyEvent OnScroll;

 protected:
  void PaintTitlesAndLegend(bool before) override;
  void ReserveWallSpace() override;
  void PaintWalls() override;
  void CustomAxisRemoving(TChartAxis& axis) override;
  // Also reads the legacy entry "BackColor" (see ApplyLegacyBackColor).
  void DefineProperties(TFiler& filer) override;
  // The colour of an old layout's "BackColor" goes to the back wall; on a chart that has a
  // window and is not loading, the back wall's brush also becomes solid.
  void ApplyLegacyBackColor(TColor color);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  // Keys and dragging reach the chart's active tools after the chart's own handling.
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
  void DragDrop(TObject* source, int x, int y) override;
  void DoStartDrag() override;
  void DoEndDrag(TObject* target, int x, int y) override;

 private:
  friend void ApplyPaletteToChart(TCustomAxisPanel& panel, int index);
  void DrawTitles(bool customPass);
  // Titles and legend, drawn flat (the canvas's rotation suspended).
  void PaintFlatParts(bool before);
  void PaintBackWall();
  // Whether the box's side at x faces the viewer (always on a full-3D canvas).
  bool SideFacesViewer(int x);
  // The right (or left) wall: a plane or a box at the chart rectangle's side, its picture on
  // the plane, inside its transparency group.
  void PaintSideWall(bool right);
  void PaintBottomWall();
  // The right, left or back walls that stand in front of the series in a turned view.
  void PaintWallsInFront();
  void ApplyWallPenAndBrush(TCustomChartWall* wall);
  void SaveScales();
  void RestoreScales();
  bool StartZoomOrPan(int x, int y, TMouseButton button, TShiftState shift);
  // The legend row to show hovered for the mouse over legend row `item` (-1: over none).
  int LegendHoverIndex(int item);
  bool FireClickBackground(TMouseButton button, TShiftState shift, int x, int y);
  void PanAxis(TChartAxis* axis, int from, int to);
  void AnimateZoom(const double targets[8]);
  void ApplyBounds(TChartAxis* axis, double minimum, double maximum);

  int colorPaletteIndex_ = -1;
  std::unique_ptr<TChartFootTitle> foot_;
  std::unique_ptr<TChartLegend> legend_;
  TAllAxisSavedScales savedScales_;
  std::unique_ptr<TChartFootTitle> subFoot_;
  std::unique_ptr<TChartTitle> subTitle_;
  std::unique_ptr<TChartTitle> title_;
  std::unique_ptr<TChartWalls> walls_;
  bool scalesSavePending_ = true;
  bool zoomed_ = false;
  bool panning_ = false;
  int panX_ = 0, panY_ = 0;
};

class TChart : public TCustomChart {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  using TCustomChart::TCustomChart;
};
