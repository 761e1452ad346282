// The axis panel: paint sequence, axis layout, series order and clipping, series list,
// colours, paging and extremes.
#include "chart/AxisPanel.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <optional>

#include "canvas/Canvas3D.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelFont.h"
#include "canvas/View3DOptions.h"
#include "chart/KelConst.h"
#include "chart/KelFunction.h"
#include "chart/KelProcs.h"
#include "chart/SeriesSource.h"
#include "toolkit/classes/PublishedField.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/Math.h"

namespace {

// Opens a named canvas element; ends it on every exit.
class ElementScope {
 public:
  ElementScope(TCanvas3D* canvas, const std::string& name) : canvas_(canvas) {
    canvas_->BeginElement(name, 0, nullptr);
  }
  // Ends an element that was begun already.
  explicit ElementScope(TCanvas3D* canvas) : canvas_(canvas) {}
  ~ElementScope() { End(); }
  void End() {
    if (canvas_ == nullptr) return;
    canvas_->EndElement();
    canvas_ = nullptr;
  }
  ElementScope(const ElementScope&) = delete;
  ElementScope& operator=(const ElementScope&) = delete;

 private:
  TCanvas3D* canvas_;
};

// A clip pushed on the canvas; popped on every exit unless popped before.
class ClipScope {
 public:
  explicit ClipScope(TCanvas3D* canvas) : canvas_(canvas) {}
  ~ClipScope() { Pop(); }
  void Pop() {
    if (canvas_ == nullptr) return;
    canvas_->PopClip();
    canvas_ = nullptr;
  }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  TCanvas3D* canvas_;
};

}  // namespace

// ---- Lists ------------------------------------------------------------------------------------

TChartSeriesList::TChartSeriesList(TCustomAxisPanel* chart) : groups_(std::make_unique<TSeriesGroups>(chart, chart)) {
  groups_->SetPropName("SeriesGroups");
}

void TChartAxes::FreeAll() {
  const Items axes = items_;
  items_.clear();
  for (TChartAxis* axis : axes) delete axis;
}

void TChartAddOnList::NotifyPhase(int phase) {
  for (const auto& addOn : items_)
    if (addOn->AddOnActive()) addOn->ChartPaintPhase(phase);
}

void TChartAddOnList::NotifyMouse(int kind, TMouseButton button, TShiftState shift, int x, int y,
                                  const bool& handled) {
  for (const auto& addOn : items_) {
    if (!addOn->AddOnActive()) continue;
    addOn->ChartMouse(kind, button, shift, x, y);
    if (handled) break;
  }
}

// ---- Pages ------------------------------------------------------------------------------------

const TClassInfo& TChartPage::StaticClass() {
  using P = TChartPage;
  static const TClassInfo info = TClassBuilder<P>("TChartPage", &TPersistent::StaticClass())
                                     .Property("AutoScale", &P::AutoScale, &P::SetAutoScale)
                                     .Default(false)
                                     .Property("Current", &P::Current, &P::SetCurrent)
                                     .Default(1)
                                     .Property("MaxPointsPerPage", &P::MaxPointsPerPage, &P::SetMaxPointsPerPage)
                                     .Default(0)
                                     .Property("ScaleLastPage", &P::ScaleLastPage, &P::SetScaleLastPage)
                                     .Default(true)
                                     .Build();
  return info;
}

void TChartPage::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TChartPage*>(source)) {
    autoScale_ = other->autoScale_;
    maxPointsPerPage_ = other->maxPointsPerPage_;
    scaleLastPage_ = other->scaleLastPage_;
    current_ = other->current_;
    return;
  }
  TPersistent::Assign(source);
}

void TChartPage::SetAutoScale(bool value) {
  if (value == autoScale_) return;
  autoScale_ = value;
  chart_->Invalidate();
}

void TChartPage::SetScaleLastPage(bool value) {
  if (value == scaleLastPage_) return;
  scaleLastPage_ = value;
  chart_->Invalidate();
}

int TChartPage::PageCount() const {
  if (maxPointsPerPage_ <= 0 || chart_->series_.empty()) return 1;
  const bool yMandatory = chart_->series_.front()->YMandatory();
  auto count = [&](const TChartAxis* axis) {
    int largest = 0;
    for (TChartSeries* s : chart_->series_)
      if (s->Active() && s->UsesAxis(axis)) largest = std::max(largest, s->PointCount());
    if (largest == 0) return 1;
    return (largest + maxPointsPerPage_ - 1) / maxPointsPerPage_;
  };
  if (yMandatory) return std::max(count(chart_->BottomAxis()), count(chart_->TopAxis()));
  return std::max(count(chart_->RightAxis()), count(chart_->LeftAxis()));
}

void TChartPage::SetCurrent(int value) {
  value = std::max(1, std::min(value, PageCount()));
  if (value == current_) return;
  current_ = value;
  chart_->Invalidate();
  chart_->BroadcastNew<TChartChangePage>();
  chart_->OnPageChange(chart_);
}

void TChartPage::SetMaxPointsPerPage(int value) {
  if (value < 0) throw ChartException(KelMsg_MaxPointsPerPageNegative);
  if (value != maxPointsPerPage_) {
    maxPointsPerPage_ = value;
    chart_->Invalidate();
  }
  const int pages = PageCount();
  if (pages < current_) current_ = pages;
  chart_->BroadcastNew<TChartChangePage>();
}

// ---- Construction -----------------------------------------------------------------------------

const TClassInfo& TCustomAxisPanel::StaticClass() {
  using P = TCustomAxisPanel;
  static const TClassInfo info =
      TClassBuilder<P>("TCustomAxisPanel", &TCustomKelPanelExtended::StaticClass())
          .Property("Chart3DPercent", &P::Chart3DPercent, &P::SetChart3DPercent)
          .Default(15)
          .Property("AxisBehind", &P::AxisBehind, &P::SetAxisBehind)
          .Default(true)
          .Property("AxisVisible", &P::AxisVisible, &P::SetAxisVisible)
          .Default(true)
          .Property("ClipPoints", &P::ClipPoints, &P::SetClipPoints)
          .Default(true)
          .Property("CustomAxes", &P::CustomAxes, nullptr)
          .Stored([](P& p) { return p.CustomAxes()->Count() > 0; })
          .Property("Hover", &P::Hover, nullptr)
          .Property("DepthAxis", &P::DepthAxis, &P::SetDepthAxis)
          .Property("DepthTopAxis", &P::DepthTopAxis, &P::SetDepthTopAxis)
          .Property("TopAxis", &P::TopAxis, &P::SetTopAxis)
          .Property("BottomAxis", &P::BottomAxis, &P::SetBottomAxis)
          .Property("LeftAxis", &P::LeftAxis, &P::SetLeftAxis)
          .Property("RightAxis", &P::RightAxis, &P::SetRightAxis)
          .Property("Pages", &P::Pages, nullptr)
          .Property("SeriesGroups", &P::SeriesGroups, nullptr)
          .Stored([](P& p) { return p.SeriesGroups()->Count() > 0; })
          .Property("View3DWalls", &P::View3DWalls, &P::SetView3DWalls)
          .Default(true)
          .Property("OnAddSeries", FieldGet<&P::OnAddSeries>, FieldSet<&P::OnAddSeries>)
          .Property("OnAfterDraw", FieldGet<&P::OnAfterDraw>, FieldSet<&P::OnAfterDraw>)
          .Property("OnBeforeDrawAxes", FieldGet<&P::OnBeforeDrawAxes>, FieldSet<&P::OnBeforeDrawAxes>)
          .Property("OnBeforeDrawChart", FieldGet<&P::OnBeforeDrawChart>, FieldSet<&P::OnBeforeDrawChart>)
          .Property("OnBeforeDrawSeries", FieldGet<&P::OnBeforeDrawSeries>, FieldSet<&P::OnBeforeDrawSeries>)
          .Property("OnGetAxisLabel", FieldGet<&P::OnGetAxisLabel>, FieldSet<&P::OnGetAxisLabel>)
          .Property("OnGetNextAxisLabel", FieldGet<&P::OnGetNextAxisLabel>, FieldSet<&P::OnGetNextAxisLabel>)
          .Property("OnPageChange", FieldGet<&P::OnPageChange>, FieldSet<&P::OnPageChange>)
          .Property("OnRemoveSeries", FieldGet<&P::OnRemoveSeries>, FieldSet<&P::OnRemoveSeries>)
          .Property("OnValidDataSource", FieldGet<&P::OnValidDataSource>, FieldSet<&P::OnValidDataSource>)
          .Build();
  return info;
}

TCustomAxisPanel::TCustomAxisPanel(TComponent* owner) : TCustomKelPanelExtended(owner) {
  TRepaintGuard guard(*this);
  auto standard = [this](TChartAxis* axis, const char* name) {
    axis->SetStandard(true);
    axis->SetElementName(name);
    axes_.Add(axis);
    return axis;
  };
  bottomAxis_ = standard(new TChartAxis(this), "Bottom");
  bottomAxis_->SetHorizontal(true);
  topAxis_ = standard(new TChartAxis(this), "Top");
  topAxis_->SetHorizontal(true);
  topAxis_->SetOtherSide(true);
  topAxis_->SetZPosition(100);
  topAxis_->Grid()->SetDefaultZPosition(100);
  leftAxis_ = standard(new TChartAxis(this), "Left");
  rightAxis_ = standard(new TChartAxis(this), "Right");
  rightAxis_->SetOtherSide(true);
  rightAxis_->SetZPosition(100);
  rightAxis_->Grid()->SetDefaultZPosition(100);
  depthAxis_ = new TChartDepthAxis(this);
  standard(depthAxis_, "Depth");
  depthAxis_->SetVisibleDefault(false);
  depthAxis_->SetOtherSide(true);
  depthTopAxis_ = new TChartDepthAxis(this);
  standard(depthTopAxis_, "DepthTop");
  depthTopAxis_->SetVisibleDefault(false);
  depthAxis_->InvertPartner = depthTopAxis_;
  depthTopAxis_->InvertPartner = depthAxis_;
  customAxes_ = std::make_unique<TPanelCustomAxes>(this);
  pages_ = std::make_unique<TChartPage>(this);
  hover_ = std::make_unique<TKelHover>(this);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  freeingAxes_ = true;
  SetRepaintEnabled(false);
  FreeAllSeries();
  tools_.Clear();
  animations_.Clear();
  pages_.reset();
  // The axis list frees every axis in it, the custom ones too: each leaves its collection as
  // it goes, so the collection freed next is empty by then.
  axes_.FreeAll();
  customAxes_.reset();
  hover_.reset();
}

// ---- Custom axes ------------------------------------------------------------------------------

TPanelCustomAxes::TPanelCustomAxes(TCustomAxisPanel* panel) : TChartCustomAxes(panel, panel), panel_(panel) {
  SetPropName("CustomAxes");
}

// Freed here, while the panel still hears of each axis leaving.
TPanelCustomAxes::~TPanelCustomAxes() { Clear(); }

TChartAxis& TPanelCustomAxes::AddAxis() {
  // The first visible axis of the new axis's orientation (a new axis is vertical) lends it
  // its settings, so that it looks like the chart's other axes.
  TChartAxis* model = nullptr;
  for (TChartAxis* axis : panel_->Axes())
    if (!axis->IsDepth() && !axis->Horizontal() && axis->Visible()) {
      model = axis;
      break;
    }
  TChartAxis& axis = TChartCustomAxes::AddAxis();
  if (model != nullptr) axis.Assign(model);
  return axis;
}

void TPanelCustomAxes::Notify(TCollectionItem* item, TCollectionNotification action) {
  TChartCustomAxes::Notify(item, action);
  // Items are only ever axes; only the address is used while an axis is being made or freed.
  auto* axis = static_cast<TChartAxis*>(item);
  if (action == cnAdded)
    panel_->CustomAxisAdded(axis);
  else if (action == cnExtracting)
    panel_->CustomAxisRemoved(axis);
}

void TCustomAxisPanel::CustomAxisAdded(TChartAxis* axis) {
  if (axes_.IndexOf(axis) < 0) axes_.Add(axis);
  if (!ChartDestroying()) Invalidate();
}

TChartAxis* TCustomAxisPanel::AxisLike(const TChartAxis& axis) {
  auto* chart = dynamic_cast<TCustomAxisPanel*>(axis.Owner());
  if (chart == nullptr) return nullptr;
  const auto it = std::find(chart->axes_.begin(), chart->axes_.end(), &axis);
  if (it == chart->axes_.end()) return nullptr;
  const size_t index = static_cast<size_t>(it - chart->axes_.begin());
  return index < axes_.size() ? axes_[index] : nullptr;
}

void TCustomAxisPanel::AxisDestroyed(const TChartAxis& axis) {
  // While the panel frees its own axes, the list holds axes already gone.
  if (freeingAxes_) return;
  for (TChartAxis* other : axes_)
    if (other != &axis) other->ForgetPartner(&axis);
}

void TCustomAxisPanel::CustomAxisRemoved(TChartAxis* axis) {
  if (axes_.IndexOf(axis) < 0) return;
  axes_.Remove(axis);
  // Series bound to the axis go back to the bottom or left axis.
  for (TChartSeries* s : series_) {
    if (s->CustomHorizAxis() == axis) s->SetCustomHorizAxis(nullptr);
    if (s->CustomVertAxis() == axis) s->SetCustomVertAxis(nullptr);
  }
  if (ChartDestroying()) return;
  CustomAxisRemoving(*axis);
  Invalidate();
}

TChartAxis* TCustomAxisPanel::CustomAxis(int index) {
  if (!customAxes_ || index < 0 || index >= customAxes_->Count()) return nullptr;
  return &customAxes_->Axis(index);
}

int TCustomAxisPanel::CustomAxisIndex(const TChartAxis* axis) {
  if (!customAxes_ || axis == nullptr) return -1;
  for (int i = 0; i < customAxes_->Count(); ++i)
    if (&customAxes_->Axis(i) == axis) return i;
  return -1;
}

// ---- Settings ---------------------------------------------------------------------------------

#define VK_PANEL_SETTER(Name, field) \
  void TCustomAxisPanel::Set##Name(bool value) { \
    if (field == value) return;                  \
    field = value;                               \
    Invalidate();                                \
  }
VK_PANEL_SETTER(AxisBehind, axisBehind_)
VK_PANEL_SETTER(AxisVisible, axisVisible_)
VK_PANEL_SETTER(ClipPoints, clipPoints_)
VK_PANEL_SETTER(View3DWalls, view3DWalls_)
#undef VK_PANEL_SETTER

void TCustomAxisPanel::SetChart3DPercent(int value) {
  value = std::clamp(value, 1, 100);
  if (value == chart3DPercent_) return;
  chart3DPercent_ = value;
  Invalidate();
}

// ---- Series list ------------------------------------------------------------------------------

void TCustomAxisPanel::RegisterSeries(TChartSeries& series) {
  if (SeriesIndex(series) >= 0) return;
  joining_ = &series;
  struct Clear {
    TChartSeries*& joining;
    ~Clear() { joining = nullptr; }
  } clear{joining_};
  series.JoinChart();
  series_.Add(&series);
  BroadcastSeriesEvent(series, seAdded);
  OnAddSeries(&series);
  Invalidate();
}

void TCustomAxisPanel::Loaded() {
  TCustomKelPanelExtended::Loaded();
  series_.Groups()->ResolveStoredSeries();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries& series) { RemoveSeriesAt(SeriesIndex(series)); }

void TCustomAxisPanel::RemoveSeriesAt(int index) {
  if (index < 0 || index >= static_cast<int>(series_.size())) return;
  TChartSeries* series = series_[index];
  series_.Groups()->SeriesRemoved(series);
  BroadcastSeriesEvent(*series, seRemoving);
  series->LeaveChart();
  series_.Delete(index);
  OnRemoveSeries(series);
  BroadcastSeriesEvent(*series, seRemoved);
  Invalidate();
}

TChartSeries* TCustomAxisPanel::AttachSeries(TChartSeries* series) {
  series->ChangeParentChart(this);
  return series;
}

TChartSeries* TCustomAxisPanel::AddSeriesOfClass(const TClassInfo& cls) {
  TObject* made = cls.CreateInstance(Owner());
  auto* series = dynamic_cast<TChartSeries*>(made);
  if (series == nullptr) {
    delete made;
    throw ChartException("Not a series class: " + cls.Name());
  }
  return AttachSeries(series);
}

TChartSeries* TCustomAxisPanel::LegendSeries(int n, bool onlyActive) {
  for (TChartSeries* s : series_) {
    if (!s->ShowInLegend() || (onlyActive && !s->Active())) continue;
    if (n-- == 0) return s;
  }
  return nullptr;
}

std::string TCustomAxisPanel::LegendSeriesTitle(int n, bool onlyActive) {
  TChartSeries* s = LegendSeries(n, onlyActive);
  if (s == nullptr) return "";
  std::string title = s->LegendTitle();
  if (title.empty()) return s->TitleText(true);
  std::replace(title.begin(), title.end(), LegendColumnSeparator, ' ');
  // One character of the first line break pair goes, then every other break is a blank.
  std::size_t pair = title.find("\n\r");
  if (pair == std::string::npos) pair = title.find("\r\n");
  if (pair != std::string::npos) title.erase(pair, 1);
  std::replace(title.begin(), title.end(), '\r', ' ');
  std::replace(title.begin(), title.end(), '\n', ' ');
  return title;
}

void TCustomAxisPanel::FreeAllSeries(const TClassInfo* cls) {
  const std::vector<TChartSeries*> listed = series_.Snapshot();
  for (TChartSeries* series : listed) {
    if (cls != nullptr && !series->ClassType().InheritsFrom(*cls)) continue;
    series->ChangeParentChart(nullptr);
    delete series;
  }
}

int TCustomAxisPanel::SeriesIndex(const TChartSeries& series) const {
  return series_.IndexOf(&series);
}

int TCustomAxisPanel::ActiveSeriesCount() const {
  return static_cast<int>(std::count_if(series_.begin(), series_.end(), [](TChartSeries* s) { return s->Active(); }));
}

int TCustomAxisPanel::MaxPointCount() const {
  int result = 0;
  for (TChartSeries* s : series_)
    if (s->Active()) result = std::max(result, s->PointCount());
  return result;
}

bool TCustomAxisPanel::NoActiveSeriesUses(const TChartAxis& axis) const {
  return std::none_of(series_.begin(), series_.end(),
                      [&](TChartSeries* s) { return s->Active() && s->UsesAxis(&axis); });
}

TChartSeries* TCustomAxisPanel::FirstSeriesOfAxis(const TChartAxis& axis) const {
  const bool any = NoActiveSeriesUses(axis);
  for (TChartSeries* s : series_)
    if ((any || s->Active()) && s->UsesAxis(&axis)) return s;
  return nullptr;
}

TChartSeries* TCustomAxisPanel::LargestSeriesOfAxis(const TChartAxis& axis) const {
  const bool any = NoActiveSeriesUses(axis);
  TChartSeries* result = nullptr;
  for (TChartSeries* s : series_)
    if ((any || s->Active()) && s->UsesAxis(&axis) && (result == nullptr || s->PointCount() > result->PointCount()))
      result = s;
  return result;
}

void TCustomAxisPanel::BroadcastSeriesEvent(TChartSeries& series, TChartSeriesEvent event) {
  TKelSeriesEvent e;
  e.Kind = static_cast<int>(event);
  e.Series = &series;
  Broadcast(e);
}

void TCustomAxisPanel::GetChildren(const TGetChildProc& proc, TComponent* root) {
  TCustomKelPanelExtended::GetChildren(proc, root);
  for (TChartSeries* s : series_)
    if (s->Owner() == root) proc(s);
}

void TCustomAxisPanel::DefineProperties(TFiler& filer) {
  TCustomKelPanelExtended::DefineProperties(filer);
  filer.DefineProperty("MaxPointsPerPage", [this](TReader& r) { pages_->SetMaxPointsPerPage(r.ReadInteger()); },
                       nullptr, false);
  filer.DefineProperty("Page", [this](TReader& r) { pages_->SetCurrent(r.ReadInteger()); }, nullptr, false);
  filer.DefineProperty("ScaleLastPage", [this](TReader& r) { pages_->SetScaleLastPage(r.ReadBoolean()); }, nullptr,
                       false);
}

// ---- Colours ----------------------------------------------------------------------------------

TColor TCustomAxisPanel::PaletteColorAt(int index) {
  if (!CustomPalette.empty()) return CustomPalette[index % CustomPalette.size()];
  return static_cast<TColor>(DefaultPaletteColor(index));
}

bool TCustomAxisPanel::IsColorFree(TColor color, bool checkBack, const TChartSeries* except) {
  if (checkBack && color == BackgroundColor()) return false;
  // The other series' effective colours: what they actually draw with.
  for (TChartSeries* s : series_)
    if (s != except && s->EffectiveColor() == color) return false;
  return true;
}

TColor TCustomAxisPanel::PickFreeColorFor(const TChartSeries* series) {
  const int n = CustomPalette.empty() ? static_cast<int>(DefaultPalette().size())
                                      : static_cast<int>(CustomPalette.size());
  for (int i = 0; i < n - 1; ++i) {
    const TColor color = PaletteColorAt(i);
    if (IsColorFree(color, true, series)) return color;
  }
  // A listed series wraps by its own position, one joining by the count before it.
  const int position = series != nullptr && SeriesIndex(*series) >= 0 ? SeriesIndex(*series)
                                                                       : static_cast<int>(series_.size());
  return PaletteColorAt(position % std::max(1, n));
}

void TCustomAxisPanel::AssignDefaultColors() {
  // Default-coloured series keep clDefault and take fresh picks in list order; their old picks
  // must not count against the new palette.
  for (TChartSeries* s : series_)
    if (s->SeriesColor() == clDefault) s->ChangeDefaultColor(clDefault);
  for (TChartSeries* s : series_)
    if (s->SeriesColor() == clDefault) s->ChangeDefaultColor(PickFreeColorFor(s));
}

// ---- Extremes ---------------------------------------------------------------------------------

bool TCustomAxisPanel::IsXAxis(const TChartAxis& axis) const {
  const TChartSeries* s = FirstSeriesOfAxis(axis);
  return ((s == nullptr || s->YMandatory()) && axis.Horizontal()) || (s != nullptr && !s->YMandatory() && !axis.Horizontal());
}

double TCustomAxisPanel::PageExtreme(const TChartAxis& axis, bool maximum, bool horizontal) const {
  TChartSeries* largest = LargestSeriesOfAxis(axis);
  if (largest == nullptr || largest->PointCount() == 0) return 0;
  int first, last;
  largest->PageRange(first, last);
  auto value = [&](int i) { return horizontal ? largest->XValueAt(i) : largest->YValueAt(i); };
  if (!maximum) return value(first);
  const int per = pages_->MaxPointsPerPage();
  const int n = last - first + 1;
  if (!pages_->ScaleLastPage() && n < per) {
    const double a = value(first), b = value(last);
    return a != b ? a + per * (b - a) / n : a + static_cast<double>(per) / n;
  }
  return value(last);
}

double TCustomAxisPanel::SeriesExtreme(const TChartAxis& axis, bool maximum, bool horizontal) {
  if (axis.IsDepth()) {
    const auto* depth = dynamic_cast<const TChartDepthAxis*>(&axis);
    if (depth != nullptr && depth->LabelsAsSeriesTitles() &&
        const_cast<TChartAxis&>(axis).LabelStyleInUse() != talValue)
      return maximum ? highestDepthOrder_ + 0.5 : -0.5;
    bool found = false;
    double result = 0;
    for (TChartSeries* s : series_) {
      if (!s->Active()) continue;
      const double v = maximum ? s->HighestZ() : s->LowestZ();
      if (!found || (maximum ? v > result : v < result)) result = v;
      found = true;
    }
    return result;
  }
  const bool paging = pages_->MaxPointsPerPage() >= 1;
  if (paging && IsXAxis(axis)) return PageExtreme(axis, maximum, horizontal);
  const bool any = NoActiveSeriesUses(axis);
  bool found = false;
  double result = 0;
  for (TChartSeries* s : series_) {
    if (!(any || s->Active()) || s->PointCount() == 0) continue;
    const bool bound = horizontal ? (s->HorizAxis() == aBothHorizAxis || s->GetHorizAxis() == &axis)
                                  : (s->VertAxis() == aBothVertAxis || s->GetVertAxis() == &axis);
    if (!bound) continue;
    double v;
    if (paging && pages_->AutoScale()) {
      const int first = pages_->FirstPointOfPage();
      const int last = std::min(first + pages_->MaxPointsPerPage(), s->PointCount());
      if (first >= last) continue;
      v = horizontal ? s->XValueAt(first) : s->YValueAt(first);
      for (int i = first + 1; i < last; ++i) {
        const double x = horizontal ? s->XValueAt(i) : s->YValueAt(i);
        v = maximum ? std::max(v, x) : std::min(v, x);
      }
    } else {
      v = s->ExtremeValue(horizontal, maximum);
    }
    if (!found || (maximum ? v > result : v < result)) result = v;
    found = true;
  }
  return result;
}

bool TCustomAxisPanel::HasSeriesWithAtMostPoints(const TChartAxis& axis, int points) {
  for (TChartSeries* s : series_)
    if (s->Active() && s->UsesAxis(&axis) && axis.Horizontal() == s->YMandatory() && s->PointCount() <= points)
      return true;
  return false;
}

bool TCustomAxisPanel::SeriesShowDateTime(const TChartAxis& axis) {
  const TChartAxis* top = &axis;
  while (top->ParentAxis() != nullptr) top = top->ParentAxis();
  for (TChartSeries* s : series_) {
    if (!s->Active() || !s->UsesAxis(top)) continue;
    TChartValueList* list = top->Horizontal() ? s->XValues() : s->YValues();
    return list != nullptr && list->DateTime();
  }
  return false;
}

void TCustomAxisPanel::NotifyAxisChanged(TChartAxis& axis) {
  for (TChartSeries* s : series_) s->AxisChanged(&axis);
  Invalidate();
}

TAxisLabelStyle TCustomAxisPanel::SeriesLabelStyle(const TChartAxis& axis) {
  bool found = false;
  for (TChartSeries* s : series_) {
    if (!s->Active() || !s->UsesAxis(&axis)) continue;
    const TAxisLabelStyle style = s->LabelStyleForAxis(&axis);
    if (style != talValue) return style;
    found = true;
  }
  return found ? talValue : talNone;
}

std::vector<TChartSeries*> TCustomAxisPanel::SeriesOfAxis(const TChartAxis& axis) {
  std::vector<TChartSeries*> result;
  for (TChartSeries* s : series_)
    if (s->Active() && s->UsesAxis(&axis)) result.push_back(s);
  return result;
}

std::vector<TChartSeries*> TCustomAxisPanel::ActiveSeriesList() {
  std::vector<TChartSeries*> result;
  for (TChartSeries* s : series_)
    if (s->Active()) result.push_back(s);
  return result;
}

// ---- Axis measuring ---------------------------------------------------------------------------

int TCustomAxisPanel::LabelTextWidth(const TChartAxis& axis, const std::string& text) {
  AssignCanvasFont(axis.LabelsFont());
  int height = 0;
  return TextWidthLines(text, false, height);
}

namespace {
// The widest-label measure looks at no more points of a series than this.
constexpr int kMaxMeasuredPoints = 5000;
}  // namespace

int TCustomAxisPanel::WidestText(const std::vector<TChartSeries*>& series,
                                 const std::function<std::string(TChartSeries&, int)>& text) {
  TCanvas3D* canvas = Canvas3D();
  int widest = 0;
  for (TChartSeries* s : series) {
    const int n = std::min(s->PointCount(), kMaxMeasuredPoints);
    for (int i = 0; i < n; ++i) {
      const std::string t = text(*s, i);
      if (t.empty()) continue;
      const int lines = TextLineCount(t);
      for (int k = 1; k <= lines; ++k)
        widest = std::max(widest, canvas->MeasureTextWidth(lines == 1 ? t : FieldAtSep(t, k, "\r")));
    }
  }
  return widest;
}

int TCustomAxisPanel::WidestPointLabel(const TChartAxis& axis) {
  AssignCanvasFont(axis.LabelsFont());
  const bool event = static_cast<bool>(OnGetAxisLabel);
  return WidestText(series_.List(), [&](TChartSeries& s, int i) {
    std::string text = s.PointLabel(i);
    if (event) OnGetAxisLabel(axis, &s, i, text);
    return text;
  });
}

int TCustomAxisPanel::WidestMark(const TChartAxis& axis) {
  AssignCanvasFont(axis.LabelsFont());
  return WidestText(ActiveSeriesList(), [](TChartSeries& s, int i) { return s.MarkText(i); });
}

int TCustomAxisPanel::LabelLineHeight(const TChartAxis& axis) {
  AssignCanvasFont(axis.LabelsFont());
  return Canvas3D()->LineHeight();
}

void TCustomAxisPanel::GetAxisLabel(const TChartAxis& axis, std::string& text) {
  if (OnGetAxisLabel) OnGetAxisLabel(axis, nullptr, -1, text);
}

RECT TCustomAxisPanel::ChartRect() const {
  const TRect& r = ChartBounds();
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

TChartAxis* TCustomAxisPanel::StandardAxis(TChartAxisSide side) {
  switch (side) {
    case casLeft:
      return leftAxis_;
    case casTop:
      return topAxis_;
    case casRight:
      return rightAxis_;
    case casBottom:
      return bottomAxis_;
  }
  return nullptr;
}

bool TCustomAxisPanel::CanvasFull3D() const { return Canvas3D() != nullptr && Canvas3D()->SupportsFull3D(); }

int TCustomAxisPanel::ViewRotation() const { return View3DOptions()->Rotation(); }

// ---- Data sources -----------------------------------------------------------------------------

void TCustomAxisPanel::ReloadSeriesData(TChartSeries& series) {
  if (series.ComponentState().Contains(csLoading)) return;
  if (auto* source = dynamic_cast<TChartSeries*>(series.DataSource())) {
    series.CopyAllFrom(source);
  } else if (auto* seriesSource = dynamic_cast<TKelSeriesSource*>(series.DataSource())) {
    if (seriesSource->Active() && !seriesSource->ComponentState().Contains(csLoading)) seriesSource->Load();
  } else if (!series.DataSource() && series.Function()) {
    // A function without source computes from nothing: the points go.
    series.BeginUpdate();
    try {
      series.ClearPoints();
      series.Function()->Recalculate();
    } catch (...) {
      series.EndUpdate();
      throw;
    }
    series.EndUpdate();
  }
}

void TCustomAxisPanel::DataSourceRemoved(TChartSeries& series, TComponent* source) {
  if (auto* seriesSource = dynamic_cast<TKelSeriesSource*>(source))
    if (seriesSource->Series() == &series) seriesSource->ForgetSeries();
}

bool TCustomAxisPanel::IsValidDataSource(TChartSeries& series, TComponent* source) {
  bool valid = series.CanTakeSource(source);
  if (!valid) {
    auto* seriesSource = dynamic_cast<TKelSeriesSource*>(source);
    valid = seriesSource != nullptr && seriesSource->Available();
  }
  if (valid && OnValidDataSource) OnValidDataSource(this, &series, source, valid);
  return valid;
}

void TCustomAxisPanel::CheckCircularSource(TChartSeries& series, TComponent* source) {
  std::vector<TChartSeries*> pending;
  if (auto* first = dynamic_cast<TChartSeries*>(source)) pending.push_back(first);
  while (!pending.empty()) {
    TChartSeries* current = pending.back();
    pending.pop_back();
    if (current == &series) throw ChartException(KelMsg_CircularSeries);
    for (int i = 0; i < current->DataSourceCount(); ++i)
      if (auto* next = dynamic_cast<TChartSeries*>(current->DataSourceAt(i))) pending.push_back(next);
  }
}

// ---- Paint sequence ---------------------------------------------------------------------------

void TCustomAxisPanel::PaintChartArea(const TRect& r) {
  TRepaintGuard guard(*this);
  TView3DOptions* options = View3DOptions();
  depthReversed_ = View3D() && (options->Orthogonal() ? options->OrthoAngle() > 90 : options->Rotation() < 180);
  PaintPanelBackground(r);
  NotifyAddOns(2);
  FireBeforeDrawChart();
  for (TChartSeries* s : series_)
    if (s->Active()) s->BeforeChartPaint();
  PaintTitlesAndLegend(true);
  AssignDepthSlots();
  ReserveWallSpace();
  ComputeDepth3D();
  for (TChartSeries* s : series_)
    if (s->Active()) s->BeforeAxesLayout();
  LayoutAxes();
  for (TChartSeries* s : series_)
    if (s->Active()) s->ComputeDepthRange();
  ApplyPixelMargins();
  Canvas3D()->SetProjectionRect(chartDepth_, PanelRect(), ChartBounds());
  PaintAxesAndSeries();
  PaintTitlesAndLegend(false);
  if (Zoom()->Active) DrawZoomRectangle();
  NotifyAddOns(0);
  Canvas3D()->ResetToDefaults();
  FireAfterDraw();
}

void TCustomAxisPanel::AssignDepthSlots() {
  highestDepthOrder_ = 0;
  if (View3D()) {
    highestDepthOrder_ = -1;
    for (TChartSeries* s : series_)
      if (s->Active()) s->AssignDepthOrder(highestDepthOrder_);
  }
  // Slots count from the front: the first depth order stands at the back unless the depth
  // axis is inverted. An inverted axis keeps every series at its own order, explicit or not.
  const bool inverted = depthAxis_->Inverted();
  for (TChartSeries* s : series_) {
    if (!s->Active()) continue;
    if (!View3D())
      s->SetDepthSlot(0);
    else
      s->SetDepthSlot(inverted ? s->EffectiveDepthOrder() : highestDepthOrder_ - s->EffectiveDepthOrder());
  }
}

bool TCustomAxisPanel::AxisShownNow(const TChartAxis& axis) const {
  if (!axisVisible_ || !axis.Visible()) return false;
  if (axis.IsDepth()) return View3D();
  if (ActiveSeriesCount() == 0) return true;
  for (TChartSeries* s : series_) {
    if (!s->Active()) continue;
    if (!s->UsesAxes()) return false;
    if (s->UsesAxis(&axis)) return true;
  }
  return false;
}

void TCustomAxisPanel::LayoutAxes() {
  // Sub-axes (and theirs) are shown with their axis, unless they are hidden themselves: only
  // what is drawn can be hit.
  std::function<void(TChartAxis&)> showSubAxes = [&](TChartAxis& axis) {
    for (int i = 0; i < axis.SubAxisCount(); ++i) {
      axis.SubAxis(i).VisibleNow = axis.VisibleNow && axis.SubAxis(i).Visible();
      showSubAxes(axis.SubAxis(i));
    }
  };
  for (TChartAxis* axis : axes_) {
    axis->VisibleNow = AxisShownNow(*axis);
    showSubAxes(*axis);
    axis->AutoRange();
  }
  for (TChartAxis* axis : axes_) axis->ComputePixelSpan();
  TRect r = ChartBounds();
  for (TChartAxis* axis : axes_) {
    if (!axis->VisibleNow) continue;
    TRect copy = r;
    // A custom axis stands in the room the axes before it have left: it positions itself,
    // its labels and its title from the chart rectangle, which must be that room now.
    if (!axis->IsStandard()) SetChartBounds(r);
    axis->ReserveLabelSpace(copy, axis->IsStandard());
    RECT a{copy.Left, copy.Top, copy.Right, copy.Bottom}, b{r.Left, r.Top, r.Right, r.Bottom}, overlap{};
    if (RectsIntersect(a, b, &overlap)) r = TRect(overlap.left, overlap.top, overlap.right, overlap.bottom);
  }
  SetChartBounds(r);
  ClampChartRect();
  for (TChartAxis* axis : axes_) {
    axis->ComputePixelSpan();
    // Axes drawn with their position kept (on the walls, in front) may come before the axes.
    axis->ComputePosition();
  }
}

void TCustomAxisPanel::ApplyPixelMargins() {
  for (TChartAxis* axis : axes_) {
    if (axis->IsDepth() && !View3D()) continue;
    int m[4] = {0, 0, 0, 0};  // left, top, right, bottom
    const bool autoMin = axis->Automatic() || axis->AutomaticMinimum();
    const bool autoMax = axis->Automatic() || axis->AutomaticMaximum();
    // Series margins are room along X or Y; a depth axis keeps its slots (its labels stand
    // in the middle of each series' slot).
    if ((autoMin || autoMax) && !axis->IsDepth()) {
      for (TChartSeries* s : series_) {
        if (!s->Active() || !s->UsesAxis(axis)) continue;
        int first = 0, second = 0;
        if (axis->Horizontal()) {
          s->MarginsX(first, second);
          if (autoMin) m[0] = std::max(m[0], first);
          if (autoMax) m[2] = std::max(m[2], second);
        } else {
          s->MarginsY(first, second);
          if (autoMin) m[3] = std::max(m[3], second);
          if (autoMax) m[1] = std::max(m[1], first);
        }
      }
    }
    const int minOffset = axis->MinimumOffset(), maxOffset = axis->MaximumOffset();
    if (minOffset != 0 || maxOffset != 0) {
      if (axis->Horizontal()) {
        m[0] += axis->Inverted() ? maxOffset : minOffset;
        m[2] += axis->Inverted() ? minOffset : maxOffset;
      } else {
        m[3] += axis->Inverted() ? maxOffset : minOffset;
        m[1] += axis->Inverted() ? minOffset : maxOffset;
      }
    }
    // Zero margins leave the range as it is (the pixel round trip would only add noise); the
    // rounding is redone either way, now that the axis has its final span.
    if (m[0] != 0 || m[1] != 0 || m[2] != 0 || m[3] != 0) axis->ApplyPixelMargins(m[0], m[1], m[2], m[3]);
    axis->RoundRangeToIncrement();
    // Offsets change the labels' values, so their room: the title stands right outside them.
    if ((minOffset != 0 || maxOffset != 0) && axis->Labels())
      axis->SetTitlePosition(axis->MoveOutward(axis->LabelPosition(), axis->LabelSize()));
  }
  for (TChartAxis* axis : axes_)
    for (TChartSeries* s : series_)
      if (s->Active()) s->RequestAxisSpace(*axis);
}

int TCustomAxisPanel::ComputeDepth3D() {
  if (!View3D()) {
    seriesWidth3D_ = seriesHeight3D_ = 0;
    chartDepth_ = chart3DHeight_ = 0;
    return 0;
  }
  TView3DOptions* options = View3DOptions();
  const int n = std::max(1, highestDepthOrder_ + 1);
  double f = chart3DPercent_ * 0.001;
  if (!options->Orthogonal()) f *= 2;
  const double t = options->OrthoAngleTangent();
  seriesWidth3D_ = static_cast<int>(Round(ChartWidth() * f));
  if (t > 1) seriesWidth3D_ = static_cast<int>(Round(seriesWidth3D_ / t));
  seriesHeight3D_ = static_cast<int>(Round(seriesWidth3D_ * t));
  chart3DHeight_ = n * seriesHeight3D_;
  chartDepth_ = n * seriesWidth3D_;
  return chartDepth_;
}

bool TCustomAxisPanel::IsDepthPlaneFacing(int z) {
  TCanvas3D* canvas = Canvas3D();
  if (canvas->SupportsFull3D()) return false;
  const TRect& r = ChartBounds();
  const std::array<TPoint, 4> corners = canvas->ProjectRectCorners(r, z);
  return !FacesViewerArray(TPointArray(corners.begin(), corners.end()));
}

void TCustomAxisPanel::PaintAxes() {
  if (!axisVisible_) return;
  ElementScope element(Canvas3D(), "Axes");
  FireBeforeDrawAxes();
  // Seen from behind, the bottom axis would stand over the front of the box; the walls draw
  // it then.
  const bool skipBottom = View3D() && IsDepthPlaneFacing(0);
  for (TChartAxis* axis : axes_) {
    if (!axis->VisibleNow) continue;
    if (axis == bottomAxis_ && skipBottom) continue;
    axis->PaintAxis(true);
  }
}

void TCustomAxisPanel::PaintAxesAndSeries() {
  PaintWalls();
  if (axisBehind_) {
    NotifyAddOns(3);
    PaintAxes();
  }
  NotifyAddOns(1);
  FireBeforeDrawSeries();
  {
    ElementScope element(Canvas3D(), "Series");
    if (!series_.empty()) {
      const bool forward = CanvasFull3D() || series_.front()->DepthPaintsForward();
      std::vector<TChartSeries*> order = series_.Snapshot();
      if (!forward) std::reverse(order.begin(), order.end());
      for (TChartSeries* s : order)
        if (s->Active()) PaintOneSeries(*s);
      // Marks on top come after every series, in the same order.
      for (TChartSeries* s : order) {
        if (!s->Active() || !s->HasMarks() || !s->Marks()->OnTop()) continue;
        std::optional<ElementScope> top;
        if (GroupsPointElements()) top.emplace(Canvas3D(), s->Name() + "_Top");
        PaintMarks(*s);
      }
    }
  }
  NotifyAddOns(4);
  if (!axisBehind_) {
    NotifyAddOns(3);
    PaintAxes();
  }
}

void TCustomAxisPanel::NotifyAddOns(int phase) {
  animations_.NotifyPhase(phase);
  tools_.NotifyPhase(phase);
}

void TCustomAxisPanel::NotifyToolsOfSeries(int kind, TChartSeries& series) {
  tools_.ForEachActive([&](IChartAddOn& tool) { tool.ChartSeriesValues(kind, series); });
}

bool TCustomAxisPanel::ForwardMouse(int kind, TMouseButton button, TShiftState shift, int x, int y) {
  tools_.NotifyMouse(kind, button, shift, x, y, MouseHandled);
  if (kind != 3 && !MouseHandled) animations_.NotifyMouse(kind, button, shift, x, y, MouseHandled);
  return MouseHandled;
}

void TCustomAxisPanel::PaintOneSeries(TChartSeries& series) {
  if (View3D() && !CanvasFull3D() && series.SharesDepthSlot() && series.PaintsPointsAlone()) {
    PaintDepthSlot(series);
    return;
  }
  TCanvas3D* canvas = Canvas3D();
  series.FindVisibleRange();
  if (series.FirstVisible() < 0) return;
  std::optional<ClipScope> clip;
  if (clipPoints_ && series.UsesAxes() && CanClip()) {
    const TRect& r = ChartBounds();
    const TRect box(r.Left, r.Top - 1, r.Right, r.Bottom + 1);
    // A clip costs on every drawing call; a series that stays inside needs none.
    if (!series.DrawsWithin(box)) {
      canvas->ClipToBox3D(box, 0, chartDepth_);
      clip.emplace(canvas);
    }
  }
  TElementTransform transform;
  const bool transformed = series.ElementTransform(transform);
  if (transformed) {
    // Turned and scaled about the middle of the chart rectangle.
    const TRect& r = ChartBounds();
    transform.Origin = TPointFloat{static_cast<float>((r.Left + r.Right) / 2.0),
                                   static_cast<float>((r.Top + r.Bottom) / 2.0)};
  }
  series.BeginCanvasElement(transformed ? &transform : nullptr);
  ElementScope element(canvas);
  series.FireBeforeDrawValues();
  series.PrepareValuesPaint();
  series.PaintAllPoints();
  if (clip) clip->Pop();
  if (!series.HasMarks() || !series.Marks()->OnTop()) PaintMarks(series);
  series.FireAfterDrawValues();
}

namespace {
// Whether `s` is painted point by point in the depth slot of `first`.
bool PaintsInSlotOf(const TChartSeries& s, const TChartSeries& first) {
  return s.Active() && s.PaintsPointsAlone() && s.EffectiveDepthOrder() == first.EffectiveDepthOrder();
}
}  // namespace

std::vector<TChartSeries*> TCustomAxisPanel::SeriesOfDepthSlot(const TChartSeries& first) const {
  std::vector<TChartSeries*> result;
  const int index = SeriesIndex(first);
  if (index < 0) return result;
  for (size_t i = static_cast<size_t>(index); i < series_.size(); ++i)
    if (PaintsInSlotOf(*series_[i], first)) result.push_back(series_[i]);
  return result;
}

void TCustomAxisPanel::PaintDepthSlot(TChartSeries& series) {
  // The first series of the slot paints the slot's points index by index, so that series
  // sharing the slot interleave instead of covering each other whole.
  // (Series that cannot paint point by point paint whole, on their own.)
  for (TChartSeries* s : series_) {
    if (s == &series) break;
    if (PaintsInSlotOf(*s, series)) return;
  }
  TCanvas3D* canvas = Canvas3D();
  const std::vector<TChartSeries*> gathered = SeriesOfDepthSlot(series);
  int first = -1, last = -1;
  for (TChartSeries* s : gathered) {
    s->FindVisibleRange();
    s->FireBeforeDrawValues();
    if (s->FirstVisible() < 0) continue;
    if (first < 0 || s->FirstVisible() < first) first = s->FirstVisible();
    last = std::max(last, s->LastVisible());
  }
  std::optional<ClipScope> clip;
  if (clipPoints_ && series.UsesAxes() && CanClip()) {
    const TRect& r = ChartBounds();
    canvas->ClipToBox3D(TRect(r.Left, r.Top - 1, r.Right, r.Bottom + 1), 0, chartDepth_);
    clip.emplace(canvas);
  }
  if (first >= 0) {
    for (TChartSeries* s : gathered) s->PrepareValuesPaint();
    std::vector<int> indexes;
    series.CollectDrawOrder(first, last, indexes);
    if (indexes.empty())
      for (int i = first; i <= last; ++i) indexes.push_back(i);
    if (!series.PaintsAscending()) std::reverse(indexes.begin(), indexes.end());
    // The order the slot's series take at each index.
    std::vector<int> group;
    series.CollectGroupDrawOrder(first, last, group);
    std::vector<TChartSeries*> painters;
    if (group.empty()) {
      painters = gathered;
    } else {
      for (int g : group)
        if (g >= 0 && g < static_cast<int>(gathered.size())) painters.push_back(gathered[static_cast<size_t>(g)]);
    }
    if (!series.ChartNotReversed()) std::reverse(painters.begin(), painters.end());
    for (int index : indexes)
      for (TChartSeries* s : painters)
        if (s->PointCount() > index) s->PaintPoint(index);
  }
  if (clip) clip->Pop();
  for (TChartSeries* s : gathered) {
    if (s->FirstVisible() < 0) continue;
    if (!(s->HasMarks() && s->Marks()->OnTop())) PaintMarks(*s);
    s->FireAfterDrawValues();
  }
}

void TCustomAxisPanel::PaintMarks(TChartSeries& series) {
  if (!series.HasMarks() || series.PointCount() == 0 || !series.Marks()->Visible()) return;
  TCanvas3D* canvas = Canvas3D();
  std::optional<ClipScope> clip;
  if (series.Marks()->Clip() && CanClip()) {
    const TRect& r = ChartBounds();
    canvas->ClipToBox3D(TRect(r.Left, r.Top - 1, r.Right, r.Bottom + 1), 0, chartDepth_);
    clip.emplace(canvas);
  }
  ElementScope element(canvas, "Marks");
  series.PaintMarks();
}

// ---- Copying --------------------------------------------------------------------------------

void TCustomAxisPanel::SetBottomAxis(TChartAxis* value) {
  if (value != nullptr) bottomAxis_->Assign(value);
}
void TCustomAxisPanel::SetTopAxis(TChartAxis* value) {
  if (value != nullptr) topAxis_->Assign(value);
}
void TCustomAxisPanel::SetLeftAxis(TChartAxis* value) {
  if (value != nullptr) leftAxis_->Assign(value);
}
void TCustomAxisPanel::SetRightAxis(TChartAxis* value) {
  if (value != nullptr) rightAxis_->Assign(value);
}
void TCustomAxisPanel::SetDepthAxis(TChartDepthAxis* value) {
  if (value != nullptr) depthAxis_->Assign(value);
}
void TCustomAxisPanel::SetDepthTopAxis(TChartDepthAxis* value) {
  if (value != nullptr) depthTopAxis_->Assign(value);
}

void TCustomAxisPanel::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCustomAxisPanel*>(source); other != nullptr && other != this) {
    TRepaintGuard guard(*this);
    SetChart3DPercent(other->chart3DPercent_);
    axisBehind_ = other->axisBehind_;
    axisVisible_ = other->axisVisible_;
    for (size_t i = 0; i < 6; ++i) axes_[i]->Assign(other->axes_[i]);
    clipPoints_ = other->clipPoints_;
    CustomPalette = other->CustomPalette;
    customAxes_->Assign(other->customAxes_.get());
    // Partners refer to axes of this chart; custom ones exist only now.
    for (size_t i = 0; i < axes_.size() && i < other->axes_.size(); ++i) {
      const TChartAxis* partner = other->axes_[i]->PartnerAxis();
      axes_[i]->SetPartnerAxis(partner != nullptr ? AxisLike(*partner) : nullptr);
    }
    hover_->Assign(other->hover_.get());
    pages_->Assign(other->pages_.get());
    view3DWalls_ = other->view3DWalls_;
  }
  TCustomKelPanelExtended::Assign(source);
}

bool TCustomAxisPanel::AxisLabelHover(int x, int y) {
  bool hovered = false;
  // Sub-axes are drawn with their axis and hover the same way.
  std::function<void(TChartAxis&)> track = [&](TChartAxis& axis) {
    if (hover_->Visible() && axis.VisibleNow) {
      if (axis.HoverLabelAt(x, y)) hovered = true;
    } else {
      axis.ClearLabelHover();
    }
    for (int i = 0; i < axis.SubAxisCount(); ++i) track(axis.SubAxis(i));
  };
  for (TChartAxis* axis : axes_) track(*axis);
  return hovered;
}

bool TCustomAxisPanel::TrackSeriesMouse(int x, int y) {
  bool reacted = false;
  for (int i = SeriesCount() - 1; i >= 0; --i)
    if (series_[static_cast<size_t>(i)]->Active() && series_[static_cast<size_t>(i)]->TrackMouse(x, y)) reacted = true;
  return reacted;
}

void TCustomAxisPanel::MouseLeave() {
  for (TChartAxis* axis : axes_) axis->ClearLabelHover();
  for (TChartSeries* s : series_)
    if (s->HasSelected()) s->Selected()->ChangeHoverIndex(-1);
  NotifyAddOns(5);
  TCustomKelPanelExtended::MouseLeave();
}
