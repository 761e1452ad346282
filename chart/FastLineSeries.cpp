// The fast line series: preparation of pixels, the per-point drawing with column merging and
// null handling, the polyline mode, the raw device pen and immediate drawing of new points.
#include "chart/FastLineSeries.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "canvas/Canvas3D.h"
#include "canvas/KelBrush.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "chart/SeriesSelection.h"

namespace {

// Whether the platform offers SetDCPenColor (and with it the stock DC pen).
bool HasDCPenColor() {
  static const bool available = GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "SetDCPenColor") != nullptr;
  return available;
}

}  // namespace

const TEnumInfo& EnumTypeInfo(TDrawAllPointsStyle) {
  static const TEnumInfo info("TDrawAllPointsStyle", {"daFirst", "daMinMax"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TFastLineDrawStyle) {
  static const TEnumInfo info("TFastLineDrawStyle", {"flSegments", "flAll"});
  return info;
}

const TClassInfo& TCustomLineSeries::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomLineSeries>("TCustomLineSeries", &TChartSeries::StaticClass()).Abstract().Build();
  return info;
}

const TClassInfo& TFastLineSeries::StaticClass() {
  using F = TFastLineSeries;
  static const TClassInfo info =
      TClassBuilder<F>("TFastLineSeries", &TCustomLineSeries::StaticClass())
          .Property("AutoRepaint", &F::AutoRepaint, &F::SetAutoRepaint)
          .Default(true)
          .Property("ClickTolerance", &F::ClickTolerance, &F::SetClickTolerance)
          .Default(0)
          .Property("DrawAllPointsStyle", &F::DrawAllPointsStyle, &F::SetDrawAllPointsStyle)
          .Default(daFirst)
          .Property("DrawAllPoints", &F::DrawAllPoints, &F::ChangeDrawAllPoints)
          .Default(true)
          .Property("DrawStyle", &F::DrawStyle, &F::SetDrawStyle)
          .Default(flSegments)
          .Property("FastPen", &F::FastPen, &F::SetFastPen)
          .Default(false)
          .Property("IgnoreNulls", &F::IgnoreNulls, &F::ChangeIgnoreNulls)
          .Default(true)
          .Property("InvertedStairs", &F::InvertedStairs, &F::ChangeInvertedStairs)
          .Default(false)
          .Property("LinePen", &F::LinePen, &F::SetLinePen)
          .Property("Stairs", &F::Stairs, &F::ChangeStairs)
          .Default(false)
          .Property("TreatNulls", &F::TreatNulls, &F::SetTreatNulls)
          .Default(tnIgnore)
          .Build();
  return info;
}

TFastLineSeries::TFastLineSeries(TComponent* owner) : TCustomLineSeries(owner) {
  Pen()->SetColor(clDefault);
  centre_ = false;
  drawBeyond_ = true;
  treatNulls_ = tnIgnore;
}

void TFastLineSeries::InitSelected(TKelSelected& selected) { selected.Hover()->SetVisible(false); }

// ---- Settings -------------------------------------------------------------------------------

void TFastLineSeries::ChangeLinePen(TKelPen* pen) { Pen()->Assign(pen); }

void TFastLineSeries::SetLinePen(TKelPen* pen) {
  ChangeLinePen(pen);
  ChangeSeriesColor(pen->Color());
}

void TFastLineSeries::ChangeSeriesColor(TColor color) {
  TChartSeries::ChangeSeriesColor(color);
  Pen()->SetColor(color);
}

void TFastLineSeries::ListGalleryVariants(std::vector<std::string>& variants) const {
  TChartSeries::ListGalleryVariants(variants);
  variants.push_back(KelMsg_GalleryMarks);
  variants.push_back(KelMsg_GalleryDotted);
  variants.push_back(KelMsg_GalleryStairs);
}

void TFastLineSeries::ApplyGalleryVariant(TChartSeries* series, int variant) const {
  auto* line = dynamic_cast<TFastLineSeries*>(series);
  if (line == nullptr) return;
  switch (variant) {
    case 1:
      line->Marks()->SetVisible(true);
      break;
    case 2:
      line->LinePen()->SetSmallDots(true);
      break;
    case 3:
      line->ChangeStairs(true);
      break;
    default:
      break;
  }
}

void TFastLineSeries::SetDrawAllPointsStyle(TDrawAllPointsStyle value) {
  if (drawAllPointsStyle_ == value) return;
  drawAllPointsStyle_ = value;
  RepaintOwner();
}

void TFastLineSeries::ChangeDrawAllPoints(bool value) {
  if (drawAllPoints_ == value) return;
  drawAllPoints_ = value;
  RepaintOwner();
}

void TFastLineSeries::SetDrawStyle(TFastLineDrawStyle value) {
  if (drawStyle_ == value) return;
  drawStyle_ = value;
  RepaintOwner();
}

void TFastLineSeries::SetFastPen(bool value) {
  fastPen_ = value;
  if (HasDCPenColor()) rawPen_ = static_cast<HPEN>(GetStockObject(DC_PEN));
  RepaintOwner();
}

void TFastLineSeries::ChangeIgnoreNulls(bool value) {
  if (ignoreNulls_ == value) return;
  ignoreNulls_ = value;
  RepaintOwner();
}

void TFastLineSeries::ChangeInvertedStairs(bool value) {
  if (invertedStairs_ == value) return;
  invertedStairs_ = value;
  RepaintOwner();
}

void TFastLineSeries::ChangeStairs(bool value) {
  if (stairs_ == value) return;
  stairs_ = value;
  RepaintOwner();
}

void TFastLineSeries::CopyFormatFrom(TChartSeries* source) {
  TChartSeries::CopyFormatFrom(source);
  Pen()->SetVisible(true);
  Pen()->SetColor(clDefault);
}

void TFastLineSeries::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TFastLineSeries*>(source)) {
    autoRepaint_ = other->autoRepaint_;
    clickTolerance_ = other->clickTolerance_;
    drawAllPointsStyle_ = other->drawAllPointsStyle_;
    drawAllPoints_ = other->drawAllPoints_;
    drawStyle_ = other->drawStyle_;
    fastPen_ = other->fastPen_;
    rawPen_ = other->rawPen_;
    ignoreNulls_ = other->ignoreNulls_;
    invertedStairs_ = other->invertedStairs_;
    stairs_ = other->stairs_;
  }
  TChartSeries::Assign(source);
}

// ---- Margins and visible range --------------------------------------------------------------

void TFastLineSeries::MarginsX(int& left, int& right) {
  const int w = Pen()->Width();
  const int e = w - (w - 2) / 2;
  left += e;
  right += e;
}

void TFastLineSeries::MarginsY(int& top, int& bottom) {
  const int w = Pen()->Width();
  const int e = w - (w - 2) / 2;
  if (e == 0 || GetVertAxis() == nullptr || PointCount() == 0) return;
  if (HighestY() >= GetVertAxis()->Maximum()) top += e;
  if (LowestY() <= GetVertAxis()->Minimum()) bottom += e;
}

void TFastLineSeries::FindVisibleRange() {
  TChartSeries::FindVisibleRange();
  if (drawAllPoints_ || firstVisible_ != lastVisible_ || firstVisible_ < 0) return;
  if (firstVisible_ < 1) {
    firstVisible_ = -1;
    return;
  }
  // A single visible point: start at the run of points that share the previous point's column.
  const int pixel = PixelXOf(firstVisible_ - 1);
  int first = firstVisible_ - 1;
  while (first > 0 && PixelXOf(first - 1) == pixel) --first;
  firstVisible_ = first;
}

// ---- Pixels and pen -----------------------------------------------------------------------

void TFastLineSeries::PointToPixels(int index, int& x, int& y) const {
  x = GetHorizAxis()->CalcXPosValue(XValueAt(index));
  y = GetVertAxis()->CalcYPosValue(YValueAt(index));
}

bool TFastLineSeries::UsesPolyline() const {
  return drawAllPoints_ && drawStyle_ == flAll && treatNulls_ == tnIgnore && !stairs_ && parentChart_ &&
         !parentChart_->View3D();
}

bool TFastLineSeries::UsesRawPen() const {
  if (!fastPen_) return false;
  TCanvas3D* canvas = Canvas();
  return !(canvas && canvas->SupportsFull3D() && UsesPolyline());
}

void TFastLineSeries::PrepareLinePen() {
  TCanvas3D* canvas = Canvas();
  if (!canvas) return;
  if (Pen()->Color() == clDefault)
    canvas->UsePenColor(Pen(), EffectiveColor());
  else
    canvas->UsePen(Pen());
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetBackMode(TRANSPARENT);
}

void TFastLineSeries::MoveToPixel(int x, int y) {
  TCanvas3D* canvas = Canvas();
  if (Is3D())
    canvas->MoveToProjected(x, y, middleZ_);
  else if (rawDC_)
    MoveToEx(rawDC_, x, y, nullptr);
  else if (Batching()) {
    // A gap: the run so far is drawn and the next one starts here.
    FlushRun();
    run_.clear();
    run_.push_back(TPoint(x, y));
  } else
    canvas->MovePenTo(x, y);
}

void TFastLineSeries::FlushRun() {
  if (run_.size() < 2) return;
  Canvas()->Polyline(run_, static_cast<int>(run_.size()) - 1);
  const TPoint end = run_.back();
  run_.resize(1);
  run_[0] = end;
}

void TFastLineSeries::LineToPixel(int x, int y) {
  TCanvas3D* canvas = Canvas();
  const int cornerX = invertedStairs_ ? lastX_ : x;
  const int cornerY = invertedStairs_ ? y : lastY_;
  if (Is3D()) {
    if (stairs_) canvas->LineToProjected(cornerX, cornerY, middleZ_);
    canvas->LineToProjected(x, y, middleZ_);
  } else if (rawDC_) {
    // Immediate drawing with the raw pen: straight onto the device handle.
    if (stairs_) ::LineTo(rawDC_, cornerX, cornerY);
    ::LineTo(rawDC_, x, y);
  } else if (Batching()) {
    // One canvas call per run instead of one per segment (and dashes run on along the curve).
    // A point where the line already is adds nothing (and a polyline corner of length zero
    // has no direction to join at).
    if (run_.empty()) run_.push_back(TPoint(lastX_, lastY_));
    if (stairs_ && run_.back() != TPoint(cornerX, cornerY)) run_.push_back(TPoint(cornerX, cornerY));
    if (run_.back() != TPoint(x, y)) run_.push_back(TPoint(x, y));
    // Long runs go in pieces: a wide pen's polyline costs more than linearly in its length on
    // some platforms (Wine builds one region of the whole outline), as does a large bounding box.
    if (static_cast<int>(run_.size()) >= kRunPiece) FlushRun();
  } else if (painting_ ? rawPaint_ : UsesRawPen()) {
    // The device handle stays cached for a whole paint; a single segment caches it for itself.
    if (!painting_) canvas->SetDCCache(true);
    if (stairs_) canvas->LineToCached(cornerX, cornerY);
    canvas->LineToCached(x, y);
    if (!painting_) canvas->SetDCCache(false);
  } else {
    if (stairs_) canvas->LineTo(cornerX, cornerY);
    canvas->LineTo(x, y);
  }
  lastX_ = x;
  lastY_ = y;
  if (columnSkip_) UpdateColumnLimit();
}

void TFastLineSeries::UpdateColumnLimit() {
  // Any X below the value where the next pixel column starts (less a safety margin for the
  // arithmetic) maps to the current column lastX_ (or one before it, which ascending X rules
  // out); such points need no conversion.
  const TChartAxis* axis = GetHorizAxis();
  const long double k = static_cast<long double>(lastX_ - axis->StartPixel()) + 0.5L;
  const long double limit = axis->InternalMinimum() + k / axis->Scale();
  const long double margin = (std::fabs(limit) + std::fabs(static_cast<long double>(axis->InternalMinimum())) + 1) * 1e-12L;
  columnLimit_ = static_cast<double>(limit - margin);
}

bool TFastLineSeries::Moved(int x, int y) const {
  if (x != lastX_) return true;
  return (drawAllPoints_ || drawAllPointsStyle_ == daMinMax) && y != lastY_;
}

bool TFastLineSeries::HandleNull(int index, int& x, int& y) {
  if (!IsNullPoint(index)) {
    const bool moved = Moved(x, y);
    if (moved && index > 0 && IsNullPoint(index - 1)) {
      switch (treatNulls_) {
        case tnDontPaint:
          MoveToPixel(x, y);
          lastX_ = x;
          lastY_ = y;
          return false;
        case tnSkip:
          if (index - 1 == FirstToPaint()) {
            MoveToPixel(x, y);
            lastX_ = x;
            lastY_ = y;
            return false;
          }
          return moved;
        case tnIgnore:
          return moved;
      }
    }
    return moved;
  }
  switch (treatNulls_) {
    case tnIgnore:
      return Moved(x, y);
    case tnSkip:
      x = lastX_;
      y = lastY_;
      return false;
    case tnDontPaint:
      if (!drawAllPoints_) {
        if (drawAllPointsStyle_ == daFirst) {
          MoveToPixel(x, y);
        } else {
          lastX_ = x;
          lastY_ = y;
        }
      }
      return false;
  }
  return false;
}

// ---- Painting -----------------------------------------------------------------------------

void TFastLineSeries::PrepareValuesPaint() {
  FindVisibleRange();
  if (PointCount() == 0) return;
  const int start = firstVisible_ >= 1 ? firstVisible_ - 1 : 0;
  PointToPixels(start, lastX_, lastY_);
  if (!UsesPolyline() || firstVisible_ < 0) return;
  const int s = firstVisible_ > 0 ? firstVisible_ - 1 : firstVisible_;
  const size_t size = static_cast<size_t>(lastVisible_ - s + 1);
  if (points_.size() != size) points_.resize(size);
  points_[0] = TPoint(lastX_, lastY_);
  for (int i = s + 1, k = 1; i <= lastVisible_; ++i, ++k) PointToPixels(i, points_[k].X, points_[k].Y);
}

void TFastLineSeries::PaintAllPoints() {
  TCanvas3D* canvas = Canvas();
  if (!canvas || PointCount() == 0) return;
  painting_ = true;
  // Whatever happens while drawing, the transparency group, the cache, the run and the paint
  // flag do not outlive the paint.
  struct End {
    TFastLineSeries& series;
    TCanvas3D* canvas;
    bool cached = false;
    TKelBlend* blend = nullptr;
    ~End() {
      if (cached) canvas->SetDCCache(false);
      series.painting_ = false;
      series.rawPaint_ = false;
      series.columnSkip_ = false;
      series.run_.clear();
      if (blend) canvas->FinishTransparency(blend);
    }
  } end{*this, canvas};
  if (Transparency() > 0 && canvas->SupportsAlpha) {
    const RECT r = parentChart_->ChartRect();
    end.blend =
        canvas->StartTransparency(TRect(r.left, r.top, r.right, r.bottom), static_cast<std::uint8_t>(Transparency()));
  }
  PrepareLinePen();
  const bool polyline = UsesPolyline();
  // Runs of segments are drawn with the pen prepared once (the GDI+ canvas unsmoothed); with
  // the fast pen each segment goes straight to the cached device handle. Decided before the
  // first move, which goes to the device too.
  rawPaint_ = !polyline && !Is3D() && UsesRawPen();
  if (!polyline) {
    MoveToPixel(lastX_, lastY_);
    if (!drawAllPoints_) {
      columnTop_ = lastY_;
      columnBottom_ = lastY_;
      columnFlag_ = false;
    }
  }
  end.cached = UsesRawPen() || (!polyline && !Is3D());
  if (end.cached) canvas->SetDCCache(true);
  if (polyline) {
    if (firstVisible_ >= 0) PaintPolyline();
  } else {
    columnSkip_ = CanSkipColumnPoints();
    if (columnSkip_) UpdateColumnLimit();
    if (firstVisible_ > 0) PaintPoint(firstVisible_);
    // Points still in the current column change nothing: without null points (which only a
    // colour list marks) the next one that may is found by searching the ascending X values
    // instead of visiting every point between.
    const double* xs = columnSkip_ && !HasColorList() ? XValues()->Values() : nullptr;
    for (int i = firstVisible_ + 1; i <= lastVisible_; ++i) {
      if (xs != nullptr && xs[i] < columnLimit_) {
        i = static_cast<int>(std::lower_bound(xs + i, xs + lastVisible_ + 1, columnLimit_) - xs);
        if (i > lastVisible_) break;
      }
      PaintPoint(i);
    }
    if (Batching()) {
      FlushRun();
      // The canvas pen ends where the line ends, as after drawing segment by segment.
      if (!run_.empty()) canvas->MovePenTo(run_[0].X, run_[0].Y);
    }
  }
}

bool TFastLineSeries::DrawsWithin(const TRect& clip) {
  if (Is3D() || PointCount() == 0 || GetHorizAxis() == nullptr || GetVertAxis() == nullptr) return false;
  // From a point's pixel the line reaches half the pen width across the line and at its ends
  // (flat, square or round), and at a sharp join up to the miter limit (ten half widths) along
  // the join. The joins of a line whose x never goes back open up or down: sideways their tip
  // stays within the half width. A smoothed line touches one pixel more.
  const int w = std::max(1, Pen()->Width());
  const int smooth = UsesPolyline() ? 1 : 0;
  const int sideways = (XValues()->Order() == loAscending ? w / 2 : 5 * w) + smooth;
  const int upDown = 5 * w + smooth;
  int x0 = PixelForX(XValues()->MinValue()), x1 = PixelForX(XValues()->MaxValue());
  int y0 = PixelForY(YValues()->MinValue()), y1 = PixelForY(YValues()->MaxValue());
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  return x0 - sideways >= clip.Left && x1 + sideways < clip.Right && y0 - upDown >= clip.Top &&
         y1 + upDown < clip.Bottom;
}

bool TFastLineSeries::CanSkipColumnPoints() const {
  // With only the first point of each column drawn, ascending X on a plain linear horizontal
  // axis lets the points that stay in the column go without conversion.
  const TChartAxis* axis = GetHorizAxis();
  return !drawAllPoints_ && drawAllPointsStyle_ == daFirst && YMandatory() && !Is3D() && axis != nullptr &&
         axis->Horizontal() && !axis->Logarithmic() && !axis->Inverted() && !axis->RangeIsZero() &&
         axis->Scale() > 0 && XValues()->Order() == loAscending;
}

void TFastLineSeries::PaintPolyline() {
  TCanvas3D* canvas = Canvas();
  const int high = static_cast<int>(points_.size()) - 1;
  if (high < 0) return;
  // A gradient along the pen spans the whole series, not only the part in view.
  TKelGradient* gradient = canvas->Pen()->HasGradientFill() ? canvas->Pen()->Fill()->Gradient() : nullptr;
  struct Restore {
    TKelGradient* gradient;
    TRectFloat saved;
    ~Restore() {
      if (gradient) gradient->CustomTargetRect = saved;
    }
  } restore{gradient, gradient ? gradient->CustomTargetRect : TRectFloat{}};
  if (gradient) {
    const int h = canvas->Pen()->Width() / 2 + 1;
    gradient->CustomTargetRect = TRectFloat{static_cast<float>(PixelForX(LowestX()) - h),
                                            static_cast<float>(PixelForY(HighestY()) - h),
                                            static_cast<float>(PixelForX(HighestX()) + h),
                                            static_cast<float>(PixelForY(LowestY()) + h)};
  }
  if (Is3D())
    canvas->PolylineAtZ(points_, high, middleZ_);
  else
    canvas->Polyline(points_, high);
}

void TFastLineSeries::CloseColumn() {
  const bool inverted = GetVertAxis() && GetVertAxis()->Inverted();
  const int x = lastX_;
  const int top = columnTop_;
  const int bottom = columnBottom_;
  LineToPixel(x, inverted ? bottom : top);
  LineToPixel(x, inverted ? top : bottom);
}

void TFastLineSeries::PaintPoint(int index) {
  // A point still inside the current column changes nothing (a null point under tnDontPaint
  // still moves the pen).
  if (columnSkip_ && XValueAt(index) < columnLimit_ && !(treatNulls_ == tnDontPaint && IsNullPoint(index))) return;
  int x, y;
  PointToPixels(index, x, y);
  if (treatNulls_ == tnIgnore && drawAllPoints_) {
    LineToPixel(x, y);
    return;
  }
  if (!HandleNull(index, x, y)) return;
  if (drawAllPoints_ || drawAllPointsStyle_ == daFirst) {
    LineToPixel(x, y);
    return;
  }
  if (x == lastX_) {
    columnTop_ = std::min(columnTop_, y);
    columnBottom_ = std::max(columnBottom_, y);
    columnFlag_ = true;
    if (index == LastToPaint()) CloseColumn();
    return;
  }
  if (columnFlag_) CloseColumn();
  LineToPixel(x, y);
  columnFlag_ = false;
  columnTop_ = INT_MAX;
  columnBottom_ = INT_MIN;
}

void TFastLineSeries::PaintLegendSymbol(int, const TRect& rect) {
  if (TCanvas3D* canvas = Canvas()) canvas->HLine(rect.Left, rect.Right, (rect.Top + rect.Bottom) / 2);
}

// ---- Immediate drawing --------------------------------------------------------------------

void TFastLineSeries::AfterPointAdded(TChartSeries* sender, int index) {
  TCanvas3D* canvas = Canvas();
  if (autoRepaint_ || !canvas || !GetHorizAxis() || !GetVertAxis()) {
    TChartSeries::AfterPointAdded(sender, index);
    return;
  }
  int px, py;
  PointToPixels(index > 0 ? index - 1 : 0, px, py);
  // With every point drawn the new segment starts at the previous point, whatever the last
  // paint left behind (the first point of a series has nothing to join).
  if (drawAllPoints_ || px != lastX_) {
    lastX_ = px;
    lastY_ = py;
  }
  // A line pen without a colour of its own draws in the series' colour on both roads.
  const TColor color = Pen()->Color() == clDefault ? EffectiveColor() : Pen()->Color();
  if (fastPen_ && rawPen_ && !Is3D()) {
    HDC dc = canvas->PreparedDC(false);
    HGDIOBJ old = SelectObject(dc, rawPen_);
    SetDCPenColor(dc, ColorToRGB(color));
    rawDC_ = dc;
    MoveToPixel(lastX_, lastY_);
    PaintPoint(index);
    rawDC_ = nullptr;
    SelectObject(dc, old);
    return;
  }
  canvas->UsePenColor(Pen(), color);
  MoveToPixel(lastX_, lastY_);
  PaintPoint(index);
}

// ---- Hit test -----------------------------------------------------------------------------

int TFastLineSeries::PointAtPixel(int x, int y) {
  if (firstVisible_ < 0 || lastVisible_ < 0) return -1;
  if (TCanvas3D* canvas = Canvas()) {
    if (Is3D()) canvas->ProjectInverse(x, y, middleZ_);
  }
  const POINT p{x, y};
  POINT q{};
  for (int i = firstVisible_; i <= lastVisible_; ++i) {
    const POINT a{PixelXOf(i), PixelYOf(i)};
    if (a.x == p.x && a.y == p.y) return i;
    if (i > firstVisible_) {
      bool hit;
      if (stairs_) {
        hit = PointNearLine(p, a, POINT{a.x, q.y}, clickTolerance_) ||
              PointNearLine(p, POINT{a.x, q.y}, q, clickTolerance_);
      } else {
        hit = PointNearLine(p, a, q, clickTolerance_);
      }
      if (hit) return i - 1;
    }
    q = a;
  }
  return -1;
}

void TFastLineSeries::PaintMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  Marks()->AdjustPosition(position);
  TChartSeries::PaintMark(index, text, position);
}
