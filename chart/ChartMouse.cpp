// The chart's mouse: hit testing, clicks, zoom by rectangle, undo and history, panning and the
// wheel.
#include <algorithm>
#include <cmath>

#include "canvas/Canvas3D.h"
#include "canvas/View3DOptions.h"
#include "chart/Chart.h"
#include "chart/SeriesMarks.h"
#include "chart/SeriesSelection.h"
#include "toolkit/rtl/Math.h"

namespace {

constexpr double kLargestBound = 1.7e308;

}  // namespace

// ---- Hit testing ------------------------------------------------------------------------------

TChartHit TCustomChart::HitTestPart(int x, int y, bool onlyClickable) {
  TChartHit hit;
  TChartLegend* legend = Legend();
  auto legendRow = [&]() {
    if (!legend->Visible() || !legend->ShouldDraw()) return false;
    const int index = legend->ItemAt(x, y);
    if (index < 0) return false;
    hit.Part = hpLegend;
    hit.Index = index;
    return true;
  };
  if (legend->CustomPosition() && legendRow()) return hit;
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    TChartSeries* s = SeriesAt(i);
    if (!s->Active() || (onlyClickable && !s->HandlesClicks() && !OnClickSeries)) continue;
    // A mark stands over its point: it wins.
    if (s->HasMarks() && s->Marks()->Visible()) {
      const int mark = s->Marks()->MarkAtPixel(x, y);
      if (mark >= 0) {
        hit.Part = hpMark;
        hit.Index = mark;
        hit.Series = s;
        return hit;
      }
    }
    const int index = s->PointAtPixel(x, y);
    if (index < 0) continue;
    hit.Part = hpSeries;
    hit.Index = index;
    hit.Series = s;
    for (int p = std::max(0, s->FirstVisible()); p <= s->LastVisible(); ++p) {
      TPoint found{};
      int px, py;
      s->PointPixel(p, px, py);
      if (s->PointHitTest(p, px, py, found)) {
        hit.Part = hpPointer;
        hit.Index = p;
        break;
      }
    }
    return hit;
  }
  // An axis answers for its sub-axes too (each is the axis clicked); failing the axis line and
  // labels, its title.
  for (TChartAxis* axis : Axes()) {
    if (TChartAxis* clicked = axis->ClickedAxis(x, y)) {
      hit.Part = hpAxis;
      hit.Axis = clicked;
      return hit;
    }
    if (axis->TitleClicked(x, y)) {
      hit.Part = hpAxisTitle;
      hit.Axis = axis;
      return hit;
    }
  }
  if (!legend->CustomPosition() && legendRow()) return hit;
  const std::pair<TChartTitle*, TChartHitPart> titles[4] = {
      {title_.get(), hpTitle}, {subTitle_.get(), hpSubtitle}, {foot_.get(), hpFoot}, {subFoot_.get(), hpSubfoot}};
  for (const auto& [title, part] : titles) {
    if (title != nullptr && title->HasText() && title->ClickedAt(x, y)) {
      hit.Part = part;
      return hit;
    }
  }
  const TRect& r = ChartBounds();
  if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom && ActiveSeriesCount() > 0) hit.Part = hpChartArea;
  return hit;
}

// ---- Mouse ------------------------------------------------------------------------------------

bool TCustomChart::FireClickBackground(TMouseButton button, TShiftState shift, int x, int y) {
  if (!OnClickBackground) return false;
  MouseHandled = true;
  OnClickBackground(this, button, shift, x, y);
  return MouseHandled;
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseDown(button, shift, x, y);
  if (MouseHandled || Zoom()->Active || Panning()->Active) return;
  MouseHandled = false;
  if (ForwardMouse(0, button, shift, x, y)) {
    MouseHandled = false;
    return;
  }
  const TChartHit hit = HitTestPart(x, y, true);
  bool handled = false;
  bool backgroundFired = false;
  switch (hit.Part) {
    case hpLegend:
      handled = Legend()->ItemClicked(hit.Index);
      if (OnClickLegend) {
        MouseHandled = true;
        OnClickLegend(this, button, shift, x, y);
        handled = MouseHandled;
      }
      if (handled) Invalidate();
      break;
    case hpAxis:
      if (OnClickAxis) {
        MouseHandled = true;
        OnClickAxis(this, hit.Axis, button, shift, x, y);
        handled = MouseHandled;
      }
      if (!handled) StartZoomOrPan(x, y, button, shift);
      break;
    case hpSeries:
    case hpPointer:
      MouseHandled = false;
      hit.Series->FireClick(hit.Index, button, shift, x, y);
      handled = MouseHandled;
      if (OnClickSeries) {
        MouseHandled = true;
        OnClickSeries(this, hit.Series, hit.Index, button, shift, x, y);
        handled = MouseHandled;
      }
      if (!handled) StartZoomOrPan(x, y, button, shift);
      break;
    case hpTitle:
    case hpSubtitle:
    case hpFoot:
    case hpSubfoot:
      if (OnClickTitle) {
        TChartTitle* title = hit.Part == hpTitle      ? title_.get()
                             : hit.Part == hpSubtitle ? subTitle_.get()
                             : hit.Part == hpFoot     ? static_cast<TChartTitle*>(foot_.get())
                                                      : static_cast<TChartTitle*>(subFoot_.get());
        MouseHandled = true;
        OnClickTitle(this, title, button, shift, x, y);
        handled = MouseHandled;
      }
      if (!handled) StartZoomOrPan(x, y, button, shift);
      break;
    case hpChartArea:
      handled = FireClickBackground(button, shift, x, y);
      backgroundFired = true;
      if (!handled) StartZoomOrPan(x, y, button, shift);
      break;
    default:
      break;
  }
  // The background hears of a mouse-down once, whatever part was hit.
  if (!handled && !backgroundFired) FireClickBackground(button, shift, x, y);
  MouseHandled = false;
}

bool TCustomChart::StartZoomOrPan(int x, int y, TMouseButton button, TShiftState shift) {
  if (!ZoomableSeries()) return false;
  bool started = false;
  TKelZoom* zoom = Zoom();
  const TRect& r = ChartBounds();
  if (zoom->Allow && button == zoom->MouseButton && zoom->KeyShift.SubsetOf(shift)) {
    if (zoom->Direction == tzdVertical) x = r.Left;
    if (zoom->Direction == tzdHorizontal) y = r.Top;
    zoom->StartAt(x, y);
    if (zoom->Direction == tzdVertical) zoom->X1 = r.Right;
    if (zoom->Direction == tzdHorizontal) zoom->Y1 = r.Bottom;
    if (zoom->X0 != zoom->X1 || zoom->Y0 != zoom->Y1) RedrawZoomRectangle();
    started = true;
  }
  // Panning is tested on its own: one button may start both.
  if (AllowPanning() != pmNone && button == ScrollMouseButton()) {
    Panning()->StartAt(x, y);
    if (!Panning()->InsideBounds() && Parent() != nullptr) SetMouseCapture(true);
    started = true;
  }
  if (started) SetCursor(SavedCursor());
  return started;
}

void TCustomChart::MouseMove(TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseMove(shift, x, y);
  if (!ComponentState().Contains(csDesigning)) ForwardMouse(2, mbLeft, shift, x, y);
  if (MouseHandled) return;
  TKelZoom* zoom = Zoom();
  TKelPanning* panning = Panning();
  const TRect& r = ChartBounds();
  if (zoom->Active) {
    if (zoom->Direction == tzdVertical) x = r.Right;
    if (zoom->Direction == tzdHorizontal) y = r.Bottom;
    if (x == zoom->X1 && y == zoom->Y1) return;
    // The old rectangle goes (a second exclusive-or, or a repaint), the new one is drawn.
    RedrawZoomRectangle();
    if (zoom->KeepAspectRatio) {
      zoom->ApplyAspectRatio(r, x, y);
    } else {
      zoom->X1 = x;
      zoom->Y1 = y;
    }
    if (!zoom->FullRepaint) RedrawZoomRectangle();
    return;
  }
  if (panning->Active) {
    if (panning->InsideBounds() && (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom)) {
      panning->Active = false;
      return;
    }
    if (x == panning->X1 && y == panning->Y1) return;
    if (scalesSavePending_) SaveScales();
    const bool horizontal = PanAxes(true, x, panning->X1);
    const bool vertical = PanAxes(false, y, panning->Y1);
    panning->X1 = x;
    panning->Y1 = y;
    if (horizontal || vertical) {
      OnScroll(this);
      Invalidate();
    }
    return;
  }
  TChartLegend* legend = Legend();
  const int item = legend->ShouldDraw() ? legend->ItemAt(x, y) : -1;
  if (item >= 0) {
    if (legend->RowCursor() != 0) SetCursor(legend->RowCursor());
  } else {
    bool claimed = TrackSeriesMouse(x, y);
    if (AxisLabelHover(x, y)) claimed = true;
    if (!claimed) SetCursor(SavedCursor());
  }
  if (Hover()->Visible() && legend->HasSelected()) legend->Selected()->ChangeHoverIndex(LegendHoverIndex(item));
}

int TCustomChart::LegendHoverIndex(int item) {
  TChartLegend* legend = Legend();
  if (legend->ResolvedStyle() == lsValues) {
    // The row of the legend series' hovered point, or the point of the hovered row.
    TChartSeries* s = legend->LegendSeries();
    if (s == nullptr) return -1;
    if (item < 0) return s->HasSelected() ? s->MapHoverIndex(s->Selected()->HoverIndex()) : -1;
    s->Selected()->ChangeHoverIndex(s->MapClickedIndex(item));
    return item;
  }
  if (item >= 0) return item;
  // The row of the last active series that has a hovered point.
  int row = -1, position = 0;
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = SeriesAt(i);
    const bool listed = s->ShowInLegend() && (legend->CheckBoxes() || s->Active());
    if (s->Active() && s->HasSelected() && s->Selected()->HoverIndex() != -1) row = listed ? position : -1;
    if (listed) ++position;
  }
  return row;
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseUp(button, shift, x, y);
  MouseHandled = false;
  TKelZoom* zoom = Zoom();
  if (zoom->Active && button == zoom->MouseButton) {
    zoom->Active = false;
    RedrawZoomRectangle();
    Canvas3D()->Pen()->SetMode(pmCopy);
    if (!zoom->KeepAspectRatio) {
      if (zoom->Direction != tzdVertical) zoom->X1 = x;
      if (zoom->Direction != tzdHorizontal) zoom->Y1 = y;
    }
    // A negative threshold counts as none.
    const int minimum = std::max(0, zoom->MinimumPixels);
    const bool wide = zoom->Direction == tzdVertical || std::abs(zoom->X1 - zoom->X0) > minimum;
    const bool high = zoom->Direction == tzdHorizontal || std::abs(zoom->Y1 - zoom->Y0) > minimum;
    if (wide && high) {
      const bool forward = zoom->Direction == tzdVertical ? zoom->Y1 > zoom->Y0 : zoom->X1 > zoom->X0;
      if (zoom->UpLeftZooms || forward)
        ZoomToPixelRect(TRect(zoom->X0, zoom->Y0, zoom->X1, zoom->Y1));
      else
        ResetZoom();
    }
    Invalidate();
  }
  if (Panning()->Active) {
    Panning()->Active = false;
    if (!Panning()->InsideBounds() && Parent() != nullptr) SetMouseCapture(false);
  }
  ForwardMouse(1, button, shift, x, y);
}

bool TCustomChart::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  const bool handled = TCustomAxisPanel::DoMouseWheel(shift, wheelDelta, mousePos);
  if (wheelDelta != 0) {
    HandleWheel(wheelDelta > 0);
    const TPoint at = ScreenToClient(mousePos);
    ForwardMouse(3, mbLeft, shift, at.X, at.Y);
  }
  return handled || wheelDelta != 0;
}

void TCustomChart::HandleWheel(bool up) {
  if (WheelPans()) {
    WheelScroll(Panning()->MouseWheel() == pmwInverted ? !up : up);
  } else if (Zoom()->Allow && Zoom()->MouseWheel != pmwNone) {
    if (Zoom()->MouseWheel == pmwInverted) up = !up;
    ZoomPercent(up ? 110 : 90);
  } else if (ZoomWheel() != pmwNone && (View3D() || CanvasFull3D())) {
    if (ZoomWheel() == pmwInverted) up = !up;
    View3DOptions()->SetZoom(static_cast<int>(Round(View3DOptions()->Zoom() * (up ? 1.1 : 0.9))));
  }
}

bool TCustomChart::WheelPans() {
  return Panning()->MouseWheel() != pmwNone && (AllowPanning() == pmVertical || AllowPanning() == pmBoth) &&
         !ComponentState().Contains(csDesigning);
}

void TCustomChart::WheelScroll(bool up) {
  if (scalesSavePending_) SaveScales();
  for (TChartAxis* axis : Axes()) {
    if (axis->Horizontal() || axis->IsDepth()) continue;
    double d = (axis->Maximum() - axis->Minimum()) * 3 * 0.01;
    if (!up) d = -d;
    double minimum = axis->Minimum() + d, maximum = axis->Maximum() + d;
    bool allow = true;
    OnAllowScroll(axis, minimum, maximum, allow);
    if (allow) axis->Scroll(d, false);
  }
  Invalidate();
}

// ---- Panning ----------------------------------------------------------------------------------

bool TCustomChart::PanAxes(bool horizontal, int current, int previous) {
  if (current == previous) return false;
  const TPanningMode kind = horizontal ? pmHorizontal : pmVertical;
  if (AllowPanning() != kind && AllowPanning() != pmBoth) return false;
  for (TChartAxis* axis : Axes())
    if (!axis->IsDepth() && axis->Horizontal() == horizontal) PanAxis(axis, previous, current);
  return true;
}

void TCustomChart::PanAxis(TChartAxis* axis, int from, int to) {
  const double lo = axis->MinimumOffset() != 0 ? axis->Minimum() : axis->InternalMinimum();
  const double hi = axis->MaximumOffset() != 0 ? axis->Maximum() : axis->InternalMaximum();
  double minimum, maximum;
  if (axis->Logarithmic()) {
    const int d = to - from;
    minimum = lo + (lo - axis->CalcPosPoint(axis->CalcPosValue(lo) + d));
    maximum = hi + (hi - axis->CalcPosPoint(axis->CalcPosValue(hi) + d));
    if (minimum > maximum) {
      minimum = lo;
      maximum = hi;
    }
  } else {
    const double d = axis->CalcPosPoint(from) - axis->CalcPosPoint(to);
    minimum = lo + d;
    maximum = hi + d;
  }
  if (std::fabs(minimum) > kLargestBound || !std::isfinite(minimum)) minimum = lo;
  if (std::fabs(maximum) > kLargestBound || !std::isfinite(maximum)) maximum = hi;
  bool allow = true;
  OnAllowScroll(axis, minimum, maximum, allow);
  if (!allow) return;
  axis->SetMinMax(minimum, maximum);
  // The next mouse move may come before a paint: it must pan on from the new range.
  axis->SetInternalRange(axis->Minimum(), axis->Maximum());
}

// ---- Zoom -------------------------------------------------------------------------------------

void TCustomChart::SaveScales() {
  savedScales_.clear();
  for (TChartAxis* axis : Axes()) {
    TAxisSavedScales saved;
    saved.Axis = axis;
    saved.Automatic = axis->Automatic();
    saved.AutomaticMinimum = axis->AutomaticMinimum();
    saved.AutomaticMaximum = axis->AutomaticMaximum();
    saved.Minimum = axis->Minimum();
    saved.Maximum = axis->Maximum();
    savedScales_.push_back(saved);
  }
  scalesSavePending_ = false;
}

void TCustomChart::CustomAxisRemoving(TChartAxis& axis) {
  // A later axis may be made at the same address: it must not take the old axis's scales.
  savedScales_.erase(std::remove_if(savedScales_.begin(), savedScales_.end(),
                                    [&](const TAxisSavedScales& saved) { return saved.Axis == &axis; }),
                     savedScales_.end());
}

void TCustomChart::RestoreScales() {
  const std::vector<TChartAxis*>& axes = Axes();
  for (const TAxisSavedScales& saved : savedScales_) {
    // Axes removed since are skipped; depth axes keep theirs.
    if (std::find(axes.begin(), axes.end(), saved.Axis) == axes.end() || saved.Axis->IsDepth()) continue;
    // Both bounds at once, so that no step sees minimum > maximum.
    saved.Axis->SetMinMax(saved.Minimum, saved.Maximum);
    saved.Axis->SetAutomatic(saved.Automatic);
    saved.Axis->SetAutomaticMinimum(saved.AutomaticMinimum);
    saved.Axis->SetAutomaticMaximum(saved.AutomaticMaximum);
  }
  savedScales_.clear();
}

void TCustomChart::ZoomToPixelRect(TRect r) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  // A rectangle without width (height) leaves the horizontal (vertical) axes as they are.
  const bool horizontal = r.Left != r.Right;
  const bool vertical = r.Top != r.Bottom;
  if (!horizontal && !vertical) return;
  double v[8];
  auto pair = [&](TChartAxis* axis, int lowPixel, int highPixel, bool apply, double* out) {
    out[0] = apply ? axis->CalcPosPoint(lowPixel) : axis->Minimum();
    out[1] = apply ? axis->CalcPosPoint(highPixel) : axis->Maximum();
  };
  pair(LeftAxis(), r.Bottom, r.Top, vertical, v + 0);
  pair(RightAxis(), r.Bottom, r.Top, vertical, v + 2);
  pair(TopAxis(), r.Left, r.Right, horizontal, v + 4);
  pair(BottomAxis(), r.Left, r.Right, horizontal, v + 6);
  const TKelZoomDirection direction = Zoom()->Direction;
  const bool doVertical = vertical && direction != tzdHorizontal;
  const bool doHorizontal = horizontal && direction != tzdVertical;
  if (!doVertical && !doHorizontal) return;
  if (scalesSavePending_) SaveScales();
  if (Zoom()->Animated) AnimateZoom(v);
  if (doVertical) {
    LeftAxis()->SetMinMax(v[0], v[1]);
    RightAxis()->SetMinMax(v[2], v[3]);
  }
  if (doHorizontal) {
    TopAxis()->SetMinMax(v[4], v[5]);
    BottomAxis()->SetMinMax(v[6], v[7]);
  }
  zoomed_ = true;
  OnZoom(this);
  if (Zoom()->History()) PushZoomSnapshot();
}

void TCustomChart::ZoomToValues(double leftMin, double leftMax, double rightMin, double rightMax, double topMin,
                                double topMax, double bottomMin, double bottomMax) {
  if (scalesSavePending_) SaveScales();
  const double v[8] = {leftMin, leftMax, rightMin, rightMax, topMin, topMax, bottomMin, bottomMax};
  if (Zoom()->Animated) AnimateZoom(v);
  if (Zoom()->Direction != tzdHorizontal) {
    LeftAxis()->SetMinMax(leftMin, leftMax);
    RightAxis()->SetMinMax(rightMin, rightMax);
  }
  if (Zoom()->Direction != tzdVertical) {
    TopAxis()->SetMinMax(topMin, topMax);
    BottomAxis()->SetMinMax(bottomMin, bottomMax);
  }
  zoomed_ = true;
  OnZoom(this);
}

void TCustomChart::AnimateZoom(const double targets[8]) {
  TChartAxis* axes[4] = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
  for (int step = 1; step < Zoom()->AnimatedSteps; ++step) {
    for (int a = 0; a < 4; ++a) {
      const bool vertical = a < 2;
      if (vertical && Zoom()->Direction == tzdHorizontal) continue;
      if (!vertical && Zoom()->Direction == tzdVertical) continue;
      TChartAxis* axis = axes[a];
      const double minimum = axis->Minimum() + (targets[2 * a] - axis->Minimum()) / 3;
      const double maximum = axis->Maximum() + (targets[2 * a + 1] - axis->Maximum()) / 3;
      axis->SetMinMax(minimum, maximum);
    }
    Invalidate();
    if (HandleAllocated()) Update();
  }
}

void TCustomChart::ZoomPercent(double percent) {
  double v[8];
  TChartAxis* axes[4] = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
  for (int a = 0; a < 4; ++a) {
    TChartAxis* axis = axes[a];
    const bool vertical = !axis->Horizontal();
    double lo = axis->CalcPosPoint(vertical ? axis->EndPixel() : axis->StartPixel());
    double hi = axis->CalcPosPoint(vertical ? axis->StartPixel() : axis->EndPixel());
    if (lo > hi) std::swap(lo, hi);
    const bool covered = vertical ? Zoom()->Direction != tzdHorizontal : Zoom()->Direction != tzdVertical;
    const double e = covered ? (hi - lo) * (percent - 100) * 0.01 : 0;
    v[2 * a] = lo + e;
    v[2 * a + 1] = hi - e;
  }
  ZoomToValues(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
  Invalidate();
}

void TCustomChart::PushZoomSnapshot() {
  TZoomSnapshot snapshot;
  TChartAxis* axes[4] = {LeftAxis(), TopAxis(), RightAxis(), BottomAxis()};
  for (int a = 0; a < 4; ++a) {
    snapshot.Values[2 * a] = axes[a]->Minimum();
    snapshot.Values[2 * a + 1] = axes[a]->Maximum();
  }
  for (TChartAxis* axis : Axes())
    if (!axis->IsStandard() && !axis->IsDepth()) snapshot.CustomAxes.push_back({axis->Minimum(), axis->Maximum()});
  Zoom()->Snapshots().push_back(snapshot);
}

void TCustomChart::ResetZoom() {
  TZoomSnapshots& history = Zoom()->Snapshots();
  if (Zoom()->History() && history.size() > 1) {
    const TZoomSnapshot& previous = history[history.size() - 2];
    TChartAxis* axes[4] = {LeftAxis(), TopAxis(), RightAxis(), BottomAxis()};
    for (int a = 0; a < 4; ++a) axes[a]->SetMinMax(previous.Values[2 * a], previous.Values[2 * a + 1]);
    history.pop_back();
  } else {
    if (Zoom()->History() && history.size() == 1) history.pop_back();
    if (!scalesSavePending_) {
      RestoreScales();
      scalesSavePending_ = true;
    }
  }
  zoomed_ = false;
  OnUndoZoom(this);
  Invalidate();
}

// ---- Keys and dragging, passed on to the tools ----------------------------------------------

void TCustomChart::KeyDown(WORD& key, TShiftState shift) {
  TCustomAxisPanel::KeyDown(key, shift);
  Tools()->ForEachActive([&](IChartAddOn& tool) { tool.ChartKeyDown(key, shift); });
}

void TCustomChart::KeyUp(WORD& key, TShiftState shift) {
  TCustomAxisPanel::KeyUp(key, shift);
  Tools()->ForEachActive([&](IChartAddOn& tool) { tool.ChartKeyUp(key, shift); });
}

void TCustomChart::KeyPress(wchar_t& key) {
  TCustomAxisPanel::KeyPress(key);
  Tools()->ForEachActive([&](IChartAddOn& tool) { tool.ChartKeyPress(key); });
}

void TCustomChart::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  TCustomAxisPanel::DragOver(source, x, y, state, accept);
  Tools()->ForEachActive([&](IChartAddOn& tool) { tool.ChartDragOver(source, x, y, state, accept); });
}

void TCustomChart::DragDrop(TObject* source, int x, int y) {
  TCustomAxisPanel::DragDrop(source, x, y);
  Tools()->ForEachActive([&](IChartAddOn& tool) { tool.ChartDragDrop(source, x, y); });
}

void TCustomChart::DoStartDrag() {
  TCustomAxisPanel::DoStartDrag();
  Tools()->ForEachActive([](IChartAddOn& tool) { tool.ChartStartDrag(); });
}

void TCustomChart::DoEndDrag(TObject* target, int x, int y) {
  TCustomAxisPanel::DoEndDrag(target, x, y);
  Tools()->ForEachActive([&](IChartAddOn& tool) { tool.ChartEndDrag(target, x, y); });
}
