// The series' side of the legend and the chart's mouse: the legend entry, the legend row's
// symbol, clicks and mouse tracking.
#include <algorithm>
#include <optional>

#include "canvas/Canvas3D.h"
#include "canvas/KelBrush.h"
#include "canvas/KelPen.h"
#include "chart/Chart.h"
#include "chart/ChartSeries.h"
#include "chart/SeriesMarks.h"
#include "chart/SeriesSelection.h"
#include "toolkit/ui/Control.h"

TSeriesLegend* TCustomChartSeries::Legend() {
  if (!legend_) legend_ = std::make_unique<TSeriesLegend>(this);
  return legend_.get();
}

void TCustomChartSeries::SetShowInLegend(bool value) {
  if (ShowInLegend() == value && legend_) return;
  Legend()->Visible = value;
  RepaintOwner();
}

void TCustomChartSeries::SetLegendTitle(const std::string& value) {
  if (LegendTitle() == value && legend_) return;
  Legend()->Text = value;
  RepaintOwner();
}

void TChartSeries::ChangeDefaultColor(TColor color) {
  if (seriesColor_ != clDefault || defaultColor_ == color) return;
  defaultColor_ = color;
  RepaintOwner();
  SendSeriesEvent(seColorChanged);
}

void TChartSeries::PaintLegendItem(int index, const TRect& rect) {
  TCanvas3D* canvas = parentChart_ ? parentChart_->ChartCanvas() : nullptr;
  if (canvas == nullptr) return;
  auto* chart = dynamic_cast<TCustomChart*>(parentChart_->ChartComponent());
  auto* panel = dynamic_cast<TCustomKelPanel*>(parentChart_->ChartComponent());
  std::optional<TRepaintGuard> guard;
  if (panel) guard.emplace(*panel);
  const TColor color = index < 0 ? EffectiveColor() : LegendColor(index);
  if (color == clNone) return;
  canvas->Brush()->SetColor(color);
  if (Pen()->Color() == clDefault)
    canvas->UsePenColor(Pen(), color);
  else
    canvas->UsePen(Pen());
  // The series kind may adjust the canvas, the back colour and the brush style for the point.
  const TColor legendColor = chart ? chart->Legend()->Color() : clDefault;
  TColor back = legendColor;
  TBrushStyle style = Brush()->Style();
  PrepareCanvasForPoint(index, back, style);
  if (chart != nullptr && !chart->Legend()->Symbol()->DefaultPen()) canvas->UsePen(chart->Legend()->Symbol()->Pen());
  const int half = std::max(1, (rect.Bottom - rect.Top) / 2);
  if (canvas->Pen()->Width() > half) canvas->Pen()->SetWidth(half);
  if (back == clDefault) back = legendColor;
  if (back == clDefault && panel) back = panel->BackgroundColor();
  if (Brush()->HasPicture()) style = Brush()->Style();
  // The fill in the point's colour on the back colour; a pattern in the back colour itself
  // would not show, so it turns black (white on black).
  TColor fore = color;
  if (style != bsSolid && fore == back) fore = back != clBlack ? clBlack : clWhite;
  canvas->UseBrushColors(Brush(), fore, back);
  if (style != Brush()->Style()) canvas->Brush()->SetStyle(style);
  PaintLegendSymbol(index, rect);
}

void TChartSeries::FireClick(int index, TMouseButton button, TShiftState shift, int x, int y) {
  if (shift.Contains(ssDouble))
    OnDblClick(this, index, button, shift, x, y);
  else
    OnClick(this, index, button, shift, x, y);
}

bool TChartSeries::TrackMouse(int x, int y) {
  if (cursor_ == 0 && !OnMouseEnter && !OnMouseLeave && !HoverActive()) return false;
  int i = PointAtPixel(x, y);
  if (i < 0 && marks_ && marks_->Visible()) i = marks_->MarkAtPixel(x, y);
  // The point (or mark) under the mouse is the hovered one; none clears it.
  if (selected_) selected_->ChangeHoverIndex(i);
  if (i < 0) {
    if (MouseInside) {
      MouseInside = false;
      OnMouseLeave(this);
    }
    return false;
  }
  if (cursor_ != 0 && (!IsNullPoint(i) || treatNulls_ == tnIgnore)) {
    if (auto* control = dynamic_cast<TControl*>(parentChart_ ? parentChart_->ChartComponent() : nullptr))
      control->SetCursor(cursor_);
  }
  if (!MouseInside) {
    MouseInside = true;
    OnMouseEnter(this);
  }
  return cursor_ != 0 || static_cast<bool>(OnMouseEnter) || static_cast<bool>(OnMouseLeave);
}

bool TChartSeries::HoverActive() const {
  // The chart's hover look switches every hover of the chart off; a chart without one leaves
  // it to the series.
  if (parentChart_ != nullptr)
    if (auto* panel = dynamic_cast<TCustomAxisPanel*>(parentChart_->ChartComponent()))
      if (panel->Hover() != nullptr && !panel->Hover()->Visible()) return false;
  return selected_ != nullptr && selected_->Hover() != nullptr && selected_->Hover()->Visible();
}
