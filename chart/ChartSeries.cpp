// The series core: chart elements, the point store of a series (adds in X order, deletes,
// clears), point colours, batching, change notification to dependents and the chart, chart
// membership, data sources and copying between series.
#include "chart/ChartSeries.h"

#include <algorithm>

#include "canvas/KelBrush.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "chart/KelConst.h"
#include "chart/KelFunction.h"
#include "chart/KelPanel.h"
#include "chart/KelProcs.h"
#include "chart/SeriesSelection.h"
#include "chart/SeriesSource.h"
#include "chart/VisualsList.h"
#include "chart/SeriesDetail.h"
#include "toolkit/classes/PublishedField.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/SysUtils.h"

// ---- Enumerations ---------------------------------------------------------------------------

const TEnumInfo& EnumTypeInfo(TTreatNullsStyle) {
  static const TEnumInfo info("TTreatNullsStyle", {"tnDontPaint", "tnSkip", "tnIgnore"});
  return info;
}

const TEnumInfo& EnumTypeInfo(THorizAxis) {
  static const TEnumInfo info("THorizAxis", {"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TVertAxis) {
  static const TEnumInfo info("TVertAxis", {"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"});
  return info;
}

// ---- TLabelsList ----------------------------------------------------------------------------

std::string TLabelsList::LabelAt(int index) const {
  return index >= 0 && index < Count() ? labels_[index] : std::string();
}

int TLabelsList::IndexOfLabel(const std::string& text, bool caseSensitive) const {
  const std::string wanted = caseSensitive ? text : UpperCase(text);
  for (int i = 0; i < Count(); ++i) {
    if ((caseSensitive ? labels_[i] : UpperCase(labels_[i])) == wanted) return i;
  }
  return -1;
}

void TLabelsList::SetLabel(int index, const std::string& text) {
  if (index < 0) return;
  if (!text.empty()) {
    if (index >= Count()) labels_.resize(index + 1);
    labels_[index] = text;
  } else if (index < Count()) {
    labels_[index].clear();
  }
  if (series_) series_->RepaintPoint(index);
}

void TLabelsList::InsertLabel(int index, const std::string& text) {
  if (text.empty() && labels_.empty()) return;
  if (index > Count()) labels_.resize(index);
  labels_.insert(labels_.begin() + index, text);
}

void TLabelsList::ExchangeLabels(int i, int j) {
  const int needed = std::max(i, j) + 1;
  if (labels_.empty()) return;
  if (Count() < needed) labels_.resize(needed);
  std::swap(labels_[i], labels_[j]);
}

void TLabelsList::DeleteLabel(int index) { DeleteLabels(index, 1); }

void TLabelsList::DeleteLabels(int index, int n) {
  if (index < 0 || index >= Count()) return;
  n = std::min(n, Count() - index);
  labels_.erase(labels_.begin() + index, labels_.begin() + index + n);
}

// ---- TKelPictureList ------------------------------------------------------------------------

TKelPictureList::TKelPictureList(TChartSeries* series) : series_(series) {}
TKelPictureList::~TKelPictureList() = default;

TKelPicture* TKelPictureList::PictureAt(int index) const {
  return index >= 0 && index < Count() ? pictures_[index].get() : nullptr;
}

void TKelPictureList::PutPicture(int index, TKelPicture* picture) {
  std::unique_ptr<TKelPicture> owned(picture);
  if (index < 0) return;
  if (owned) {
    if (index >= Count()) pictures_.resize(index + 1);
    pictures_[index] = std::move(owned);
  } else if (index < Count()) {
    pictures_[index].reset();
  }
  if (series_) series_->RepaintPoint(index);
}

void TKelPictureList::InsertPicture(int index, TKelPicture* picture) {
  std::unique_ptr<TKelPicture> owned(picture);
  if (!owned && pictures_.empty()) return;
  if (index > Count()) pictures_.resize(index);
  pictures_.insert(pictures_.begin() + index, std::move(owned));
}

void TKelPictureList::ExchangePictures(int i, int j) {
  if (pictures_.empty()) return;
  const int needed = std::max(i, j) + 1;
  if (Count() < needed) pictures_.resize(needed);
  std::swap(pictures_[i], pictures_[j]);
}

void TKelPictureList::DeletePictures(int index, int n) {
  if (index < 0 || index >= Count()) return;
  n = std::min(n, Count() - index);
  pictures_.erase(pictures_.begin() + index, pictures_.begin() + index + n);
}

void TKelPictureList::Clear() { pictures_.clear(); }

// ---- TCustomChartElement --------------------------------------------------------------------

const TClassInfo& TCustomChartElement::StaticClass() {
  using E = TCustomChartElement;
  static const TClassInfo info = TClassBuilder<E>("TCustomChartElement", &TComponent::StaticClass())
                                     .Property("Active", &E::Active, &E::ChangeActive)
                                     .Default(true)
                                     .Property("ShowInEditor", &E::ShowInEditor, &E::SetShowInEditor)
                                     .Default(true)
                                     // The chart owns the series in a layout; the link is never written.
                                     .Property("ParentChart",
                                               [](E& e) { return e.ParentChart() ? e.ParentChart()->ChartComponent() : nullptr; },
                                               [](E& e, TComponent* c) { e.ChangeParentChart(dynamic_cast<ISeriesOwner*>(c)); })
                                     .Stored(false)
                                     .Abstract()
                                     .Build();
  return info;
}

TCustomChartElement::TCustomChartElement(TComponent* owner)
    : TComponent(owner),
      brush_(new TKelBrush([this](TObject*) { RepaintOwner(); })),
      pen_(new TKelPen([this](TObject*) { RepaintOwner(); })) {}

TCustomChartElement::~TCustomChartElement() {
  delete pen_;
  delete brush_;
  // The series' own destructor has already left the chart; an element that is not a series
  // only forgets it.
  parentChart_ = nullptr;
}

void TCustomChartElement::RepaintOwner() {
  if (parentChart_) parentChart_->InvalidateChart();
}

void TCustomChartElement::ChangeActive(bool value) { active_ = value; }

void TCustomChartElement::ChangeParentChart(ISeriesOwner* chart) { parentChart_ = chart; }

void TCustomChartElement::ChangeLinePen(TKelPen* pen) { pen_->Assign(pen); }

TComponent* TCustomChartElement::GetParentComponent() const {
  return parentChart_ ? parentChart_->ChartComponent() : nullptr;
}

void TCustomChartElement::SetParentComponent(TComponent* parent) {
  if (auto* chart = dynamic_cast<ISeriesOwner*>(parent)) ChangeParentChart(chart);
}

void TCustomChartElement::ReadState(TReader& reader) {
  if (reader.Parent()) SetParentComponent(reader.Parent());
  TComponent::ReadState(reader);
}

// ---- TCustomChartSeries ---------------------------------------------------------------------

const TClassInfo& TSeriesLegend::StaticClass() {
  using L = TSeriesLegend;
  static const TClassInfo info = TClassBuilder<L>("TSeriesLegend", &TPersistent::StaticClass())
                                     .Property("Text", FieldGet<&L::Text>, &L::SetText)
                                     .Property("Visible", FieldGet<&L::Visible>, &L::SetVisible)
                                     .Default(true)
                                     .Build();
  return info;
}

void TSeriesLegend::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TSeriesLegend*>(source)) {
    Text = other->Text;
    Visible = other->Visible;
    return;
  }
  TPersistent::Assign(source);
}

void TSeriesLegend::SetText(const std::string& value) {
  if (Text == value) return;
  Text = value;
  if (series_) series_->RepaintOwner();
}

void TSeriesLegend::SetVisible(bool value) {
  if (Visible == value) return;
  Visible = value;
  if (series_) series_->RepaintOwner();
}

const TClassInfo& TCustomChartSeries::StaticClass() {
  using S = TCustomChartSeries;
  static const TClassInfo info = TClassBuilder<S>("TCustomChartSeries", &TCustomChartElement::StaticClass())
                                     .Property("Legend", &S::Legend, &S::SetLegend)
                                     .Stored(&S::HasLegend)
                                     .Property("Title", &S::Title, &S::ChangeTitle)
                                     .Abstract()
                                     .Build();
  return info;
}

void TCustomChartSeries::SetLegend(TSeriesLegend* value) {
  if (value == nullptr || value == legend_.get()) return;
  Legend()->Assign(value);
  RepaintOwner();
}

TCustomChartSeries::TCustomChartSeries(TComponent* owner) : TCustomChartElement(owner) {}

void TCustomChartSeries::ChangeActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  RepaintOwner();
  if (parentChart_) {
    if (auto* series = dynamic_cast<TChartSeries*>(this))
      parentChart_->BroadcastSeriesEvent(*series, seActiveChanged);
  }
}

void TCustomChartSeries::ChangeTitle(const std::string& value) {
  if (title_ == value) return;
  title_ = value;
  RepaintOwner();
  if (parentChart_) {
    if (auto* series = dynamic_cast<TChartSeries*>(this))
      parentChart_->BroadcastSeriesEvent(*series, seTitleChanged);
  }
}

// ---- TChartSeries: construction ------------------------------------------------------------

const TClassInfo& TChartSeries::StaticClass() {
  using S = TChartSeries;
  static const TClassInfo info =
      TClassBuilder<S>("TChartSeries", &TCustomChartSeries::StaticClass())
          .Property("ColorEachPoint", &S::ColorEachPoint, &S::ChangeColorEachPoint)
          .Default(false)
          .Property("Cursor", [](S& s) { return static_cast<int>(s.Cursor()); },
                    [](S& s, int v) { s.SetCursor(static_cast<short>(v)); })
          .Default(0)
          .Property("DataSource", &S::DataSource, &S::SetDataSource)
          .Stored([](S& s) { return s.DataSourceCount() == 1; })
          .Property("Depth", &S::Depth, &S::ChangeDepth)
          .Default(-1)
          .Property("ZOrder", &S::DepthOrder, &S::SetDepthOrder)
          .Default(-1)
          .Property("ColorSource", &S::ColorSource, &S::SetColorSource)
          .Stored([](S& s) { return !s.ColorSource().empty(); })
          .Property("XLabelsSource", &S::XLabelsSource, &S::SetXLabelsSource)
          .Stored([](S& s) { return !s.XLabelsSource().empty(); })
          .Property("HorizAxis", &S::HorizAxis, &S::SetHorizAxis)
          .Default(aBottomAxis)
          .Property("Marks", &S::Marks, &S::SetMarks)
          .Property("PercentFormat", &S::PercentFormat, &S::SetPercentFormat)
          .Stored([](S& s) { return s.PercentFormat() != KelMsg_DefaultPercentFormat; })
          .Property("SeriesColor", &S::SeriesColor, &S::ChangeSeriesColor)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Stored([](S& s) { return s.SeriesColor() != clDefault; })
          // Older layouts name it; it is written as Legend.Visible.
          .Property("ShowInLegend", &S::ShowInLegend, &S::SetShowInLegend)
          .Stored(false)
          .Property("ValueFormat", &S::ValueFormat, &S::ChangeValueFormat)
          .Stored([](S& s) { return s.ValueFormat() != KelMsg_DefaultValueFormat; })
          .Property("VertAxis", &S::VertAxis, &S::SetVertAxis)
          .Default(aLeftAxis)
          .Property("XValues", &S::XValues, &S::SetXValues)
          .Property("YValues", &S::YValues, &S::SetYValues)
          .Property("OnAfterAdd", [](S& s) { return s.OnAfterAdd; },
                    [](S& s, TSeriesOnAfterAdd e) { s.OnAfterAdd = std::move(e); })
          .Property("OnClearValues", [](S& s) { return s.OnClearValues; },
                    [](S& s, TSeriesOnClear e) { s.OnClearValues = std::move(e); })
          .Property("BeforeDrawValues", [](S& s) { return s.BeforeDrawValues; },
                    [](S& s, TNotifyEvent e) { s.BeforeDrawValues = std::move(e); })
          .Property("AfterDrawValues", [](S& s) { return s.AfterDrawValues; },
                    [](S& s, TNotifyEvent e) { s.AfterDrawValues = std::move(e); })
          .Property("OnBeforeAdd", [](S& s) { return s.OnBeforeAdd.AsHandler(); },
                    [](S& s, TSeriesOnBeforeAdd::Handler e) { s.OnBeforeAdd = std::move(e); })
          .Property("OnClick", FieldGet<&S::OnClick>, FieldSet<&S::OnClick>)
          .Property("OnDblClick", FieldGet<&S::OnDblClick>, FieldSet<&S::OnDblClick>)
          .Property("OnGetMarkText", FieldGet<&S::OnGetMarkText>, FieldSet<&S::OnGetMarkText>)
          .Property("OnMouseEnter", FieldGet<&S::OnMouseEnter>, FieldSet<&S::OnMouseEnter>)
          .Property("OnMouseLeave", FieldGet<&S::OnMouseLeave>, FieldSet<&S::OnMouseLeave>)
          .Property("Selected", &S::Selected, &S::SetSelected)
          .Stored(&S::HasSelected)
          .Abstract()
          .Build();
  return info;
}

TChartSeries::TChartSeries(TComponent* owner)
    : TCustomChartSeries(owner),
      percentFormat_(KelMsg_DefaultPercentFormat),
      valueFormat_(KelMsg_DefaultValueFormat) {
  xValues_ = new TChartValueList(this, KelMsg_ValuesX);
  xValues_->SetOrder(loAscending);
  yValues_ = new TChartValueList(this, KelMsg_ValuesY);
  mandatory_ = yValues_;
  notMandatory_ = xValues_;
}

TChartSeries::~TChartSeries() {
  // A detail series going away by itself leaves its master's list.
  if (master_) master_->Detail()->Release(this);
  if (function_) {
    TKelFunction* function = function_;
    function_ = nullptr;
    function->SetParentSeries(nullptr);
    function->RemoveFreeNotification(this);
    delete function;
  }
  // Leave every source and every dependent first, so nothing points at a dying series.
  for (TComponent* source : dataSources_) {
    if (auto* series = dynamic_cast<TChartSeries*>(source)) series->RemoveDependent(this);
    if (auto* seriesSource = dynamic_cast<TKelSeriesSource*>(source))
      if (seriesSource->Series() == this) seriesSource->ForgetSeries();
    source->RemoveFreeNotification(this);
  }
  dataSources_.ExtractAll();
  for (TChartSeries* dependent : dependents_.Snapshot()) {
    dependent->dataSources_.Extract(this);
    dependent->ClearPoints();
  }
  dependents_.Clear();
  if (parentChart_) {
    ISeriesOwner* chart = parentChart_;
    chart->RemoveSeries(*this);
    parentChart_ = nullptr;
  }
  FreeAllData();
}

// ---- Adding points ------------------------------------------------------------------------

int TChartSeries::AppendXY(double x, double y, const std::string& label, TColor color) {
  xValues_->PendingValue = x;
  yValues_->PendingValue = y;
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
  int index;
  ++editing_;
  try {
    index = xValues_->InsertOrdered();
    yValues_->InsertValue(index, y);
    for (int i = 2; i < valueLists_.Count(); ++i) valueLists_[i].InsertValue(index, valueLists_[i].PendingValue);
  } catch (...) {
    --editing_;
    throw;
  }
  --editing_;
  InsertSideStores(index, label, color);
  if (updateCount_ == 0) AfterPointAdded(this, index);
  return index;
}

void TChartSeries::InsertSideStores(int index, const std::string& label, TColor color) {
  if (colors_) {
    colors_->insert(colors_->begin() + index, color);
  } else if (color != clDefault) {
    colors_ = std::make_unique<std::vector<TColor>>(PointCount(), clDefault);
    (*colors_)[index] = color;
  }
  if (!label.empty() || labels_.Count() > 0) labels_.InsertLabel(index, label);
  if (pictures_) pictures_->InsertPicture(index, nullptr);
  if (visuals_) visuals_->InsertVisual(index);
}

int TChartSeries::AppendValue(double value, const std::string& label, TColor color) {
  if (yMandatory_) return AppendXY(xValues_->Count(), value, label, color);
  return AppendXY(value, yValues_->Count(), label, color);
}

int TChartSeries::AppendGap(const std::string& label) { return AppendValue(gapValue_, label, clNone); }

int TChartSeries::AppendGapXY(double x, double y, const std::string& label) {
  return AppendXY(x, y, label, clNone);
}

void TChartSeries::AfterPointAdded(TChartSeries* sender, int index) {
  OnAfterAdd(sender, index);
  NotifyValueChange(sckAdded, index);
  if (active_) RepaintOwner();
}

double TChartSeries::ExtremeValue(bool horizontal, bool maximum) {
  TChartValueList& list = horizontal ? *xValues_ : *yValues_;
  if (!colors_ || treatNulls_ == tnIgnore) return maximum ? list.MaxValue() : list.MinValue();
  bool found = false;
  double result = 0;
  for (int i = 0; i < list.Count(); ++i) {
    if (IsNullPoint(i)) continue;
    const double v = list.ValueAt(i);
    if (!found || (maximum ? v > result : v < result)) result = v;
    found = true;
  }
  return result;
}

// ---- Removing points ----------------------------------------------------------------------

void TChartSeries::DeletePoint(int index) {
  if (index < 0 || index >= PointCount())
    throw ChartException(Format(KelMsg_SeriesDeleteOutOfBounds, {index, PointCount() - 1}));
  ++editing_;
  for (int i = 0; i < valueLists_.Count(); ++i) valueLists_[i].DeleteValue(index);
  --editing_;
  if (colors_ && index < static_cast<int>(colors_->size())) colors_->erase(colors_->begin() + index);
  labels_.DeleteLabel(index);
  if (pictures_) pictures_->DeletePictures(index, 1);
  if (visuals_) visuals_->DeleteVisuals(index, 1);
  if (detail_) detail_->Delete(index);
  if (marks_) marks_->DeleteIndex(index);
  NotifyValueChange(sckDeleted, index);
  if (active_) RepaintOwner();
}

void TChartSeries::DeletePoints(int index, int n, bool resequence) {
  const int count = PointCount();
  if (index >= count || index < 0 || n <= 0) return;
  n = std::min(n, count - index);
  ++editing_;
  for (int i = 0; i < valueLists_.Count(); ++i) valueLists_[i].DeleteRange(index, n);
  --editing_;
  if (colors_ && index < static_cast<int>(colors_->size())) {
    const int m = std::min<int>(n, static_cast<int>(colors_->size()) - index);
    colors_->erase(colors_->begin() + index, colors_->begin() + index + m);
    if (colors_->empty()) colors_.reset();
  }
  labels_.DeleteLabels(index, n);
  if (pictures_) pictures_->DeletePictures(index, n);
  if (visuals_) visuals_->DeleteVisuals(index, n);
  if (detail_) detail_->Delete(index, n);
  if (marks_) marks_->Positions().DeleteRange(index, n);
  NotifyValueChange(sckDeleted, -1);
  if (active_) RepaintOwner();
  if (resequence) notMandatory_->FillSequence();
}

void TChartSeries::FreeAllData() {
  for (int i = 0; i < valueLists_.Count(); ++i) valueLists_[i].ClearAll();
  colors_.reset();
  labels_.Clear();
  if (pictures_) pictures_->Clear();
  if (visuals_) visuals_->Clear();
  if (marks_) marks_->ClearPositions();
  detail_.reset();
}

void TChartSeries::ClearPoints() {
  firstVisible_ = -1;
  lastVisible_ = -1;
  FreeAllData();
  OnClearValues(this);
  NotifyValueChange(sckCleared, 0);
  if (function_) function_->ParentCleared();
  RepaintIfActive();
}

void TChartSeries::RepaintIfActive() {
  if (active_ && parentChart_ && !parentChart_->ChartDestroying()) RepaintOwner();
}

// ---- Colours ------------------------------------------------------------------------------

TColor TChartSeries::OwnColorAt(int index) const {
  if (!colors_ || index < 0 || index >= static_cast<int>(colors_->size())) return clDefault;
  return (*colors_)[index];
}

TColor TChartSeries::PointColor(int index) {
  const TColor own = OwnColorAt(index);
  if (own != clDefault) return own;
  if (!colorEachPoint_) return EffectiveColor();
  if (parentChart_) return parentChart_->PaletteColorAt(index);
  return DefaultPaletteColor(index);
}

void TChartSeries::SetPointColor(int index, TColor color) {
  if (!colors_ && color == clDefault) return;
  while (index >= PointCount()) AppendGap();
  if (!colors_) colors_ = std::make_unique<std::vector<TColor>>(PointCount(), clDefault);
  if (index >= static_cast<int>(colors_->size())) colors_->resize(index + 1, clDefault);
  (*colors_)[index] = color;
  RepaintPoint(index);
}

void TChartSeries::ChangeSeriesColor(TColor color) {
  if (seriesColor_ == clDefault && color == defaultColor_) return;
  const bool changed = seriesColor_ != color;
  seriesColor_ = color;
  if (changed) RepaintOwner();
  defaultColor_ = seriesColor_;
  SendSeriesEvent(seColorChanged);
}

void TChartSeries::ChangeColorEachPoint(bool value) {
  if (colorEachPoint_ == value) return;
  colorEachPoint_ = value;
  RepaintPoint(-1);
}

// ---- Batching and notification ------------------------------------------------------------

void TChartSeries::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) {
    NotifyValueChange(sckRefresh, 0);
    SendSeriesEvent(seDataChanged);
  }
}

void TChartSeries::SendSeriesEvent(TChartSeriesEvent event) {
  if (parentChart_) parentChart_->BroadcastSeriesEvent(*this, event);
}

void TChartSeries::NotifyValueChange(TSeriesChangeKind kind, int index) {
  if (updateCount_ > 0) return;
  // A value list's *modified* during the series' own add or delete is part of that change,
  // reported as *added* or *deleted* once every store is consistent again.
  if (kind == sckModified && editing_ > 0) return;
  for (TChartSeries* d : dependents_.Snapshot()) {
    switch (kind) {
      case sckCleared:
        if (d->follow_.Contains(sfOnClear)) d->ClearPoints();
        break;
      case sckAdded:
        if (d->follow_.Contains(sfOnAdd) && !d->function_) d->CopyPointFrom(this, index);
        break;
      case sckDeleted:
        if (d->follow_.Contains(sfOnDelete) && !d->function_) {
          if (index >= 0)
            d->RemovePoint(index);
          else
            d->CopyAllFrom(this);  // a run was deleted: follow the whole series
        }
        break;
      case sckRefresh:
        d->CopyAllFrom(this);
        break;
      case sckModified:
        if (d->follow_.Contains(sfOnChange)) d->CopyAllFrom(this);
        break;
    }
  }
  // A detail series gives its master the summary of its values at its own entry.
  if (!follow_.Empty() && master_ && !master_->Updating() && !ComponentState().Contains(csDestroying)) {
    TChartSeries* master = master_;
    master->BeginUpdate();
    try {
      const int entry = master->Detail()->IndexOf(this);
      if (entry >= 0 && entry < master->PointCount())
        master->mandatory_->SetValueAt(entry, master->Detail()->Summary(*mandatory_));
    } catch (...) {
      master->EndUpdate();
      throw;
    }
    master->EndUpdate();
    master->RepaintOwner();
  }
}

void TChartSeries::ExchangePoints(int i, int j) {
  ++editing_;
  for (int k = 0; k < valueLists_.Count(); ++k) valueLists_[k].ExchangeItems(i, j);
  --editing_;
  if (colors_) {
    const int needed = std::max(i, j) + 1;
    if (static_cast<int>(colors_->size()) < needed) colors_->resize(needed, clDefault);
    std::swap((*colors_)[i], (*colors_)[j]);
  }
  labels_.ExchangeLabels(i, j);
  if (pictures_) pictures_->ExchangePictures(i, j);
  if (visuals_) visuals_->ExchangeVisuals(i, j);
  // One notice once every store has moved, instead of one per list halfway through.
  NotifyValueChange(sckModified, i);
}

void TChartSeries::CheckOrder() {
  bool sorted = false;
  if (mandatory_->Order() != loNone) {
    mandatory_->SortByOrder();
    if (notMandatory_->ValueSource().empty()) notMandatory_->FillSequence();
    sorted = true;
  }
  if (notMandatory_->Order() != loNone) {
    notMandatory_->SortByOrder();
    sorted = true;
  }
  if (sorted) RepaintOwner();
}

void TChartSeries::SortByLabels(int order) {
  if (order == 0) return;
  SortByIndex(
      0, PointCount() - 1,
      [this, order](int i, int j) {
        const std::string a = labels_.LabelAt(i);
        const std::string b = labels_.LabelAt(j);
        if (a == b) return j > i ? -1 : 0;
        const int result = a < b ? -1 : 1;
        return order == 2 ? -result : result;
      },
      [this](int i, int j) { ExchangePoints(i, j); });
  notMandatory_->FillSequence();
  RepaintOwner();
}

// ---- Chart membership ---------------------------------------------------------------------

void TChartSeries::ChangeParentChart(ISeriesOwner* chart) {
  if (parentChart_ == chart) return;
  if (parentChart_) parentChart_->RemoveSeries(*this);
  parentChart_ = chart;
  if (parentChart_) parentChart_->RegisterSeries(*this);
}

void TChartSeries::JoinChart() {
  if (seriesColor_ == clDefault && parentChart_) {
    defaultColor_ = parentChart_->PickFreeColor();
    SendSeriesEvent(seColorChanged);
  }
  ResolveAxes();
  if (marks_ && parentChart_) marks_->AttachPanel(parentChart_->ShapePanel());
  ReloadFromSource();
}

void TChartSeries::LeaveChart() {
  // A chart showing this series' cursor gets its own back.
  if (auto* panel = parentChart_ ? dynamic_cast<TCustomKelPanel*>(parentChart_->ChartComponent()) : nullptr)
    if (cursor_ != 0 && panel->Cursor() == cursor_) panel->SetCursor(panel->SavedCursor());
  for (TComponent* source : dataSources_) {
    if (auto* series = dynamic_cast<TChartSeries*>(source)) series->RemoveDependent(this);
  }
  parentChart_ = nullptr;
  horizAxis_ = nullptr;
  vertAxis_ = nullptr;
  if (marks_) marks_->AttachPanel(nullptr);
}

// ---- Data sources -------------------------------------------------------------------------

bool TChartSeries::CanTakeSource(TComponent* source) const {
  auto* series = dynamic_cast<TChartSeries*>(source);
  return source != this && series != nullptr && series->IsValidSourceOf(const_cast<TChartSeries*>(this));
}

int TChartSeries::AddDataSource(TComponent* source, bool replace) {
  if (parentChart_) {
    if (!parentChart_->IsValidDataSource(*this, source))
      throw ChartException(Format(KelMsg_InvalidDataSource,
                                  {source->Name().empty() ? source->ClassType().Name() : source->Name()}));
  } else if (!CanTakeSource(source)) {
    throw ChartException(KelMsg_NoParentChartForSource);
  }
  if (dataSources_.Contains(source)) return -1;
  if (parentChart_ && dynamic_cast<TChartSeries*>(source)) parentChart_->CheckCircularSource(*this, source);
  if (replace && !ComponentState().Contains(csLoading)) ClearDataSources();
  dataSources_.Add(source);
  dataLoaded_ = false;
  if (auto* series = dynamic_cast<TChartSeries*>(source)) series->AddDependent(this);
  source->FreeNotification(this);
  if (auto* seriesSource = dynamic_cast<TKelSeriesSource*>(source)) {
    if (seriesSource->Series() != this) seriesSource->HandOverTo(this);
  }
  ReloadFromSource();
  return static_cast<int>(dataSources_.size()) - 1;
}

void TChartSeries::RemoveDataSource(TComponent* source) {
  if (ComponentState().Contains(csDestroying)) {
    dataSources_.Extract(source);
    return;
  }
  if (source) source->RemoveFreeNotification(this);
  if (parentChart_ && DataSource()) parentChart_->DataSourceRemoved(*this, source);
  if (source != nullptr && source == DataSource()) {
    ClearDataSources();
  } else {
    if (!dataSources_.Contains(source)) return;
    if (auto* series = dynamic_cast<TChartSeries*>(source)) series->RemoveDependent(this);
    dataSources_.Extract(source);
  }
  ReloadFromSource();
}

void TChartSeries::ClearDataSources() { dataSources_.Clear(); }

void TDataSourcesList::Clear() {
  for (TComponent* source : *this) {
    if (auto* series = dynamic_cast<TChartSeries*>(source)) series->RemoveDependent(series_);
  }
  ExtractAll();
  if (!series_->DataLoaded()) series_->ClearPoints();
}

void TDataSourcesList::Delete(int index) { series_->RemoveDataSource(items_.at(static_cast<size_t>(index))); }

void TDataSourcesList::Remove(const TComponent* source) {
  if (Contains(source)) series_->RemoveDataSource(const_cast<TComponent*>(source));
}

void TChartSeries::SetDataSource(TComponent* source) {
  if (source)
    AddDataSource(source, true);
  else if (DataSource())
    RemoveDataSource(DataSource());
}

void TChartSeries::SetXLabelsSource(const std::string& value) {
  if (value == xLabelsSource_) return;
  xLabelsSource_ = value;
  ReloadFromSource();
}

void TChartSeries::SetColorSource(const std::string& value) {
  if (value == colorSource_) return;
  colorSource_ = value;
  ReloadFromSource();
}

void TChartSeries::ReloadFromSource() {
  if (updateCount_ == 0 && parentChart_) parentChart_->ReloadSeriesData(*this);
}

void TChartSeries::AddDependent(TChartSeries* series) {
  if (dependents_.IndexOf(series) < 0) dependents_.Add(series);
}

void TChartSeries::RemoveDependent(TChartSeries* series) {
  dependents_.Remove(series);
}

void TChartSeries::Notification(TComponent* component, TOperation operation) {
  TCustomChartSeries::Notification(component, operation);
  if (operation != opRemove || component == this) return;
  if (component == function_) {
    function_ = nullptr;
    return;
  }
  // A destroyed source goes the way of a removed one: the points it gave are cleared and the
  // series reloads from what is left.
  if (dataSources_.Contains(component)) RemoveDataSource(component);
}

// ---- Function -----------------------------------------------------------------------------

void TChartSeries::SetFunction(TKelFunction* function) {
  if (function == function_) return;
  if (function_) {
    TKelFunction* old = function_;
    function_ = nullptr;
    old->SetParentSeries(nullptr);
    old->RemoveFreeNotification(this);
    delete old;
  }
  if (function) {
    if (function->ParentSeries() && function->ParentSeries() != this) function->ParentSeries()->ForgetFunction();
    function_ = function;
    function->SetParentSeries(this);
    dataLoaded_ = false;
    function->FreeNotification(this);
    ReloadFromSource();
  }
}

void TChartSeries::GetChildren(const TGetChildProc& proc, TComponent* root) {
  TCustomChartSeries::GetChildren(proc, root);
  if (function_ && function_->Owner() == root) proc(function_);
}

void TChartSeries::ForgetFunction() {
  if (!function_) return;
  function_->RemoveFreeNotification(this);
  function_->SetParentSeries(nullptr);
  function_ = nullptr;
}

TChartValueList* TChartSeries::ValueListNamed(const std::string& name) const {
  for (int i = 2; i < valueLists_.Count(); ++i)
    if (SameText(valueLists_[i].Name(), name)) return &valueLists_[i];
  return mandatory_;
}

// ---- Copying ------------------------------------------------------------------------------

int TChartSeries::CopyValuesFrom(TChartSeries* source, int index) {
  double x = source->notMandatory_->ValueAt(index);
  double y = source->mandatory_->ValueAt(index);
  if (yMandatory_ != source->yMandatory_) std::swap(x, y);
  // Our X list is the not-mandatory one of a vertical series, and our Y the mandatory one.
  const double xv = yMandatory_ ? x : y;
  const double yv = yMandatory_ ? y : x;
  ++editing_;
  xValues_->PendingValue = xv;
  const int result = xValues_->InsertOrdered();
  yValues_->InsertValue(result, yv);
  for (int i = 2; i < valueLists_.Count(); ++i) {
    const double v = i < source->valueLists_.Count() ? source->valueLists_[i].ValueAt(index) : 0;
    valueLists_[i].InsertValue(result, v);
  }
  --editing_;
  return result;
}

int TChartSeries::CopyPointFrom(TChartSeries* source, int index) {
  const int result = CopyValuesFrom(source, index);
  const TColor color = source->colors_ && index < static_cast<int>(source->colors_->size())
                           ? (*source->colors_)[index]
                           : clDefault;
  InsertSideStores(result, source->labels_.LabelAt(index), color);
  if (source->pictures_ && source->pictures_->PictureAt(index)) {
    auto* copy = new TKelPicture;
    copy->Assign(source->pictures_->PictureAt(index));
    Pictures().PutPicture(result, copy);
  }
  if (source->HasDetail()) {
    // A detail series of the same class, copied from the source point's, at the new index.
    TChartSeries* copy = nullptr;
    if (TChartSeries* detail = source->detail_->At(index)) {
      copy = dynamic_cast<TChartSeries*>(detail->ClassType().CreateInstance(this));
      if (copy) copy->Assign(detail);
    }
    Detail()->Insert(result, copy);
  }
  if (updateCount_ == 0) AfterPointAdded(this, result);
  return result;
}

void TChartSeries::CopyAllFrom(TChartSeries* source) {
  BeginUpdate();
  try {
    ClearPoints();
    if (function_) {
      xValues_->ChangeDateTime(source->xValues_->DateTime());
      yValues_->ChangeDateTime(source->yValues_->DateTime());
      function_->AddPoints(source);
    } else if (IsValidSourceOf(source)) {
      for (int i = 0; i < source->PointCount(); ++i) CopyPointFrom(source, i);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TChartSeries::CopyFormatFrom(TChartSeries* source) {
  if (source->legend_ || legend_) Legend()->Visible = source->ShowInLegend();
  Brush()->Assign(source->Brush());
  Pen()->Assign(source->Pen());
  seriesColor_ = source->seriesColor_;
  defaultColor_ = source->defaultColor_;
  if (source->seriesColor_ == clDefault && parentChart_) defaultColor_ = parentChart_->PickFreeColor();
  valueFormat_ = source->valueFormat_;
  percentFormat_ = source->percentFormat_;
  customHorizAxis_ = source->customHorizAxis_;
  customVertAxis_ = source->customVertAxis_;
  horizAxisChoice_ = source->horizAxisChoice_;
  vertAxisChoice_ = source->vertAxisChoice_;
  cursor_ = source->cursor_;
  depth_ = source->depth_;
  depthOrder_ = source->depthOrder_;
  if (source->selected_)
    Selected()->Assign(source->selected_.get());
  else
    selected_.reset();
  transparency_ = source->transparency_;
  treatNulls_ = source->treatNulls_;
  if (source->marks_) {
    // The marks' settings, but this series keeps showing or hiding its own.
    const bool visible = marks_ ? marks_->Visible() : false;
    Marks()->Assign(source->marks_.get());
    marks_->SetVisible(visible);
  }
}

void TChartSeries::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TChartSeries*>(source);
  if (other == nullptr) {
    TCustomChartSeries::Assign(source);
    return;
  }
  identifier_ = other->identifier_;
  if (other->legend_)
    Legend()->Assign(other->legend_.get());
  else
    legend_.reset();
  style_ = other->style_;
  title_ = other->title_;
  active_ = other->active_;
  SetTag(other->Tag());
  if (DataSource()) RemoveDataSource(DataSource());
  if (yMandatory_ == other->yMandatory_) {
    xValues_->Assign(other->xValues_);
    yValues_->Assign(other->yValues_);
  } else {
    xValues_->Assign(other->yValues_);
    yValues_->Assign(other->xValues_);
  }
  // Plain copies: the reload from the source comes once, at the end.
  xLabelsSource_ = other->xLabelsSource_;
  colorSource_ = other->colorSource_;
  colorEachPoint_ = other->colorEachPoint_;
  for (int i = 2; i < std::min(valueLists_.Count(), other->valueLists_.Count()); ++i)
    valueLists_[i].Assign(&other->valueLists_[i]);
  CopyFormatFrom(other);
  defaultColor_ = other->defaultColor_;
  seriesColor_ = other->defaultColor_;
  follow_ = other->follow_;
  ResolveAxes();
  if (other->function_ && !function_) other->function_->AttachTo(this);
  if (other->marks_ || marks_) Marks()->SetVisible(other->marks_ && other->marks_->Visible());
  dataLoaded_ = other->dataLoaded_;
  if (other->dataSources_.empty() || other->dataLoaded_ || !other->ComponentState().Contains(csDesigning)) {
    CopyAllFrom(other);
  } else {
    for (TComponent* s : other->dataSources_) AddDataSource(s);
  }
  ReloadFromSource();
}

// ---- TThemedSeries --------------------------------------------------------------------------

const TClassInfo& TThemedSeries::StaticClass() {
  using S = TThemedSeries;
  static const TClassInfo info = TClassBuilder<S>("TThemedSeries", &TChartSeries::StaticClass())
                                     .Property("Transparency", &S::Transparency, &S::ChangeTransparency)
                                     .Default(0)
                                     .Build();
  return info;
}

// ---- Property setters ---------------------------------------------------------------------

void TChartSeries::SetTreatNulls(TTreatNullsStyle value) {
  if (treatNulls_ == value) return;
  treatNulls_ = value;
  RepaintOwner();
}

void TChartSeries::ChangeValueFormat(const std::string& value) {
  if (valueFormat_ == value) return;
  valueFormat_ = value;
  RepaintOwner();
}

void TChartSeries::SetPercentFormat(const std::string& value) {
  if (percentFormat_ == value) return;
  percentFormat_ = value;
  RepaintOwner();
}

void TChartSeries::ChangeTransparency(int value) {
  if (transparency_ == value) return;
  transparency_ = value;
  RepaintOwner();
}

void TChartSeries::SetDepthOrder(int value) {
  // Anything below -1 means automatic too.
  value = std::max(-1, value);
  if (depthOrder_ == value) return;
  depthOrder_ = value;
  RepaintOwner();
}

void TChartSeries::ChangeDepth(int value) {
  if (depth_ == value) return;
  depth_ = value;
  RepaintOwner();
}

void TChartSeries::SetXValues(TChartValueList* list) {
  xValues_->Assign(list);
  RepaintOwner();
}

void TChartSeries::SetYValues(TChartValueList* list) {
  yValues_->Assign(list);
  RepaintOwner();
}

TKelPictureList& TChartSeries::Pictures() {
  if (!pictures_) pictures_ = std::make_unique<TKelPictureList>(this);
  return *pictures_;
}

TVisualsList& TChartSeries::Visuals() {
  if (!visuals_) visuals_ = std::make_unique<TVisualsList>(this);
  return *visuals_;
}

void TChartSeries::SetSelected(TKelSelected* value) {
  if (value == nullptr) selected_.reset();
  else if (value != selected_.get()) Selected()->Assign(value);
  RepaintOwner();
}

TKelSelected* TChartSeries::Selected() {
  if (!selected_) {
    selected_ = std::make_unique<TKelSelected>(dynamic_cast<IShapePanel*>(parentChart_), this);
    InitSelected(*selected_);
  }
  return selected_.get();
}
