// What a series does for the chart's paint: which axes it uses, how its values become pixels,
// which points are visible, in which order they are painted and where it sits in depth.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas/Canvas3D.h"
#include "canvas/KelBrush.h"
#include "canvas/KelPicture.h"
#include "chart/ChartSeries.h"
#include "chart/VisualsList.h"

void TChartSeries::ResolveAxes() {
  if (!parentChart_) {
    horizAxis_ = nullptr;
    vertAxis_ = nullptr;
    return;
  }
  horizAxis_ = parentChart_->StandardAxis(horizAxisChoice_ == aTopAxis ? casTop : casBottom);
  if (horizAxisChoice_ == aCustomHorizAxis && customHorizAxis_) horizAxis_ = customHorizAxis_;
  vertAxis_ = parentChart_->StandardAxis(vertAxisChoice_ == aRightAxis ? casRight : casLeft);
  if (vertAxisChoice_ == aCustomVertAxis && customVertAxis_) vertAxis_ = customVertAxis_;
}

void TChartSeries::SetHorizAxis(THorizAxis value) {
  if (horizAxisChoice_ == value) return;
  horizAxisChoice_ = value;
  if (!ComponentState().Contains(csLoading) && value != aCustomHorizAxis) customHorizAxis_ = nullptr;
  ResolveAxes();
  RepaintOwner();
}

void TChartSeries::SetVertAxis(TVertAxis value) {
  if (vertAxisChoice_ == value) return;
  vertAxisChoice_ = value;
  if (!ComponentState().Contains(csLoading) && value != aCustomVertAxis) customVertAxis_ = nullptr;
  ResolveAxes();
  RepaintOwner();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* axis) {
  customHorizAxis_ = axis;
  horizAxisChoice_ = axis ? aCustomHorizAxis : aBottomAxis;
  ResolveAxes();
  RepaintOwner();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* axis) {
  customVertAxis_ = axis;
  vertAxisChoice_ = axis ? aCustomVertAxis : aLeftAxis;
  ResolveAxes();
  RepaintOwner();
}

bool TChartSeries::UsesAxis(const TChartAxis* axis) const {
  if (!UsesAxes() || axis == nullptr) return false;
  if (axis->IsDepth()) return true;
  if (axis->Horizontal()) return horizAxisChoice_ == aBothHorizAxis || axis == horizAxis_;
  return vertAxisChoice_ == aBothVertAxis || axis == vertAxis_;
}

TChartValueList* TChartSeries::ValuesForAxis(const TChartAxis* axis) {
  if (!UsesAxis(axis)) return nullptr;
  return axis->Horizontal() ? xValues_ : yValues_;
}

bool TChartSeries::PointInsideChart(int index) const {
  if (!parentChart_) return false;
  const RECT r = parentChart_->ChartRect();
  const int x = PixelXOf(index);
  const int y = PixelYOf(index);
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

bool TChartSeries::PaintsAscending() const {
  if (yMandatory_) {
    const bool ascending = horizAxis_ == nullptr || !horizAxis_->Inverted();
    const bool reversed = parentChart_ && parentChart_->DepthReversed();
    return reversed ? !ascending : ascending;
  }
  return vertAxis_ == nullptr || !vertAxis_->Inverted();
}

double TChartSeries::EdgeValue(bool farEdge) const {
  const RECT r = parentChart_->ChartRect();
  if (yMandatory_) {
    const TChartAxis& axis = *horizAxis_;
    const bool offsets = axis.MinimumOffset() != 0 || axis.MaximumOffset() != 0;
    int pixel;
    if (!farEdge) {
      pixel = axis.Inverted() ? r.right : r.left;
      if (offsets) pixel += axis.MinimumOffset() - 1;
    } else {
      pixel = axis.Inverted() ? r.left : r.right;
      if (offsets) pixel -= axis.MaximumOffset() - 1;
    }
    return axis.CalcPosPoint(pixel);
  }
  const TChartAxis& axis = *vertAxis_;
  int pixel;
  if (!farEdge)
    pixel = (axis.Inverted() ? r.top : r.bottom) - axis.MaximumOffset();
  else
    pixel = (axis.Inverted() ? r.bottom : r.top) + axis.MinimumOffset();
  return axis.CalcPosPoint(pixel);
}

void TChartSeries::FindVisibleRange() {
  firstVisible_ = -1;
  lastVisible_ = -1;
  const int count = PointCount();
  if (count == 0) return;
  const int n = count - 1;
  if (!visibleRange_ || notMandatory_->Order() == loNone || !parentChart_ || !ValueAxisForRange()) {
    firstVisible_ = 0;
    lastVisible_ = n;
    return;
  }
  const TChartValueList& list = *notMandatory_;
  const double minimum = EdgeValue(false);
  int first = 0;
  if (list.ValueAt(0) <= minimum) {
    while (list.ValueAt(first) < minimum) {
      if (++first > n) {
        first = -1;
        break;
      }
    }
  }
  if (first < 0) return;
  firstVisible_ = first;
  const double maximum = EdgeValue(true);
  if (list.ValueAt(n) <= maximum) {
    lastVisible_ = n;
    return;
  }
  int last = first;
  while (last < n && list.ValueAt(last) < maximum) ++last;
  if (!drawBeyond_) {
    while (last > 0 && list.ValueAt(last) > maximum) --last;
  }
  lastVisible_ = last;
}

bool TChartSeries::ValueAxisForRange() const { return yMandatory_ ? horizAxis_ != nullptr : vertAxis_ != nullptr; }

void TChartSeries::BeginCanvasElement(const TElementTransform* transform) {
  if (parentChart_ == nullptr) return;
  if (TCanvas3D* canvas = parentChart_->ChartCanvas()) canvas->BeginElement(DisplayName(), 0, transform);
}

void TChartSeries::FireBeforeDrawValues() {
  if (parentChart_ != nullptr) parentChart_->NotifyToolsOfSeries(1, *this);
  BeforeDrawValues(this);
}

void TChartSeries::FireAfterDrawValues() {
  if (parentChart_ != nullptr) parentChart_->NotifyToolsOfSeries(4, *this);
  AfterDrawValues(this);
}

void TChartSeries::PaintAllPoints() {
  // Per-point canvas elements only where the canvas groups them, and not when the series'
  // visuals template is switched off.
  TCanvas3D* canvas = nullptr;
  if (parentChart_ && parentChart_->GroupsPointElements()) {
    const TSeriesPointVisual* model = visuals_ ? visuals_->Template() : nullptr;
    if (!model || model->Enabled) canvas = parentChart_->ChartCanvas();
  }
  auto paint = [this, canvas](int index) {
    if (canvas) {
      const TSeriesPointVisual* visual = visuals_ ? visuals_->VisualAt(index) : nullptr;
      canvas->BeginElement(std::to_string(index), 0, visual ? &visual->Transform : nullptr);
    }
    try {
      if (!parentChart_ || !parentChart_->PaintPointOf(*this, index)) PaintPoint(index);
    } catch (...) {
      if (canvas) canvas->EndElement();
      throw;
    }
    if (canvas) canvas->EndElement();
  };
  const bool ascending = PaintsAscending();
  std::vector<int> order;
  CollectDrawOrder(firstVisible_, lastVisible_, order);
  if (!order.empty()) {
    if (ascending) {
      for (int index : order) paint(index);
    } else {
      for (auto it = order.rbegin(); it != order.rend(); ++it) paint(*it);
    }
    return;
  }
  if (firstVisible_ < 0) return;
  if (ascending) {
    for (int i = firstVisible_; i <= lastVisible_; ++i) paint(i);
  } else {
    for (int i = lastVisible_; i >= firstVisible_; --i) paint(i);
  }
}

void ISeriesOwner::PaintLegendSymbolShape(const TRect& rect, TGraphic* graphic) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  if (graphic)
    canvas->DrawGraphicStretched(rect, graphic);
  else
    canvas->RectangleFromRect(rect);
}

void TChartSeries::PaintLegendSymbol(int index, const TRect& rect) {
  TCanvas3D* canvas = parentChart_ ? parentChart_->ChartCanvas() : nullptr;
  if (!canvas) return;
  const bool group = transparency_ > 0;
  TKelBlend* blend = group ? canvas->StartTransparency(rect, static_cast<std::uint8_t>(transparency_)) : nullptr;
  try {
    TGraphic* graphic = nullptr;
    if (index < 0) {
      graphic = LegendSymbolGraphic();
    } else {
      canvas->Brush()->SetColor(LegendColor(index));
      if (pictures_) {
        if (TKelPicture* picture = pictures_->PictureAt(index); picture && picture->HasGraphic())
          graphic = picture->Graphic();
      }
    }
    parentChart_->PaintLegendSymbolShape(rect, graphic);
  } catch (...) {
    if (group) canvas->FinishTransparency(blend);
    throw;
  }
  if (group) canvas->FinishTransparency(blend);
}

void TChartSeries::ComputeDepthRange() {
  const int seriesDepth = parentChart_ ? parentChart_->SeriesDepth() : 0;
  startZ_ = seriesDepth * depthSlot_;
  endZ_ = startZ_ + (depth_ == -1 ? seriesDepth : depth_);
  middleZ_ = (startZ_ + endZ_) / 2;
}

// ---- Paint sequence -------------------------------------------------------------------------

void TChartSeries::AssignDepthOrder(int& counter) {
  if (depthOrder_ == -1) {
    if (parentChart_ && parentChart_->View3D()) {
      ++counter;
      autoDepthOrder_ = counter;
    } else {
      autoDepthOrder_ = 0;
    }
  } else {
    counter = std::max(counter, depthOrder_);
  }
  // Until the chart counts the slots from the back, the series stands at its own order.
  depthSlot_ = EffectiveDepthOrder();
}

bool TChartSeries::DepthPaintsForward() const {
  if (!parentChart_) return false;
  const bool inverted = parentChart_->DepthAxisInverted();
  const int rotation = parentChart_->ViewRotation();
  const bool keep = parentChart_->View3D() && !parentChart_->CanvasFull3D() && rotation >= 90 && rotation < 270;
  return keep ? inverted : !inverted;
}

bool TChartSeries::SharesDepthSlot() const {
  if (!parentChart_ || !parentChart_->View3D()) return false;
  for (int i = 0; i < parentChart_->SeriesCount(); ++i) {
    const TChartSeries* other = parentChart_->SeriesAt(i);
    if (other != this && other->Active() && other->EffectiveDepthOrder() == EffectiveDepthOrder()) return true;
  }
  return false;
}

bool TChartSeries::IsFirstInDepthSlot() const {
  if (!Active()) return false;
  if (!parentChart_) return true;
  for (int i = 0; i < parentChart_->SeriesCount(); ++i) {
    const TChartSeries* other = parentChart_->SeriesAt(i);
    if (other == this) return true;
    if (other->Active() && other->EffectiveDepthOrder() == EffectiveDepthOrder()) return false;
  }
  return true;
}

TAxisLabelStyle TChartSeries::LabelStyleForAxis(const TChartAxis* axis) const {
  const TChartAxis* valueAxis = yMandatory_ ? vertAxis_ : horizAxis_;
  if (axis == valueAxis) return talValue;
  if (PrefersPointValueLabels()) return talPointValue;
  for (int i = 0; i < labels_.Count(); ++i)
    if (!labels_.LabelAt(i).empty()) return talText;
  return talValue;
}

void TChartSeries::PageRange(int& first, int& last) const {
  const int count = PointCount();
  if (count == 0) {
    first = last = -1;
    return;
  }
  const int n = parentChart_ ? parentChart_->MaxPointsPerPage() : 0;
  if (n <= 0) {
    first = 0;
    last = count - 1;
    return;
  }
  const int page = parentChart_->CurrentPage();
  first = n == 1 ? page - 1 : n * (page - 1);
  if (first >= count) first = n * std::max(0, count / n - 1);
  last = first + n - 1;
  if (last >= count) last = (count % n) + first - 1;
}

