// The database-bound chart: private data sources, the reload walk with its aggregations and date
// groupings, the refresh timer, and the stable one-pass sort of appended points.
#include "chart/DBChart.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "chart/KelConst.h"
#include "toolkit/classes/PublishedField.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/DataSet.h"
#include "toolkit/data/Field.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/Timer.h"

namespace {

enum TAggregation { agNone, agSum, agCount, agHigh, agLow, agAverage };
enum TDateGrouping { dgHour, dgDay, dgWeek, dgWeekday, dgMonth, dgQuarter, dgYear, dgNone };

// Splits "#WORD#name" into the upper-cased word and the name; a text without a leading "#" (or
// without the closing one) has no word.
void SplitPrefix(const std::string& text, std::string& word, std::string& name) {
  word.clear();
  name = text;
  if (text.empty() || text[0] != '#') return;
  const size_t close = text.find('#', 1);
  if (close == std::string::npos) return;
  word = UpperCase(text.substr(1, close - 1));
  name = text.substr(close + 1);
}

TAggregation AggregationOf(const std::string& word) {
  if (word == "SUM") return agSum;
  if (word == "COUNT") return agCount;
  if (word == "HIGH") return agHigh;
  if (word == "LOW") return agLow;
  if (word == "AVG") return agAverage;
  return agNone;
}

TDateGrouping GroupingOf(const std::string& word) {
  static const char* const kWords[] = {"HOUR", "DAY", "WEEK", "WEEKDAY", "MONTH", "QUARTER", "YEAR"};
  for (int i = 0; i < 7; ++i)
    if (word == kWords[i]) return static_cast<TDateGrouping>(i);
  return dgNone;
}

int LabelSortOf(const std::string& word) {
  if (word == "SORTASC") return 1;
  if (word == "SORTDES") return 2;
  return 0;
}

std::vector<std::string> SplitParts(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t semi = text.find(';', start);
    parts.push_back(text.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return parts;
}

TField* FieldNamed(TDataSet* dataSet, const std::string& name) {
  return name.empty() ? nullptr : dataSet->FieldByName(name);
}

// A field's value as a double; an aggregate field's value is read as a variant.
double FieldValue(const TField* field) {
  if (!field) return 0;
  if (field->FieldKind() != fkAggregate) return field->AsFloat();
  const TFieldCell c = field->Cell();
  switch (c.kind) {
    case TFieldCell::Integer:
      return static_cast<double>(c.integer);
    case TFieldCell::Real:
      return c.real;
    case TFieldCell::Text:
      return static_cast<double>(StrToFloat(c.text));
    case TFieldCell::Null:
      break;
  }
  return 0;
}

// FieldValue, and whether the value is NULL, from one read of a stored number.
double FieldValue(const TField* field, bool& isNull) {
  isNull = false;
  if (!field) return 0;
  const TFieldCell c = field->Cell();
  switch (c.kind) {
    case TFieldCell::Null:
      isNull = true;
      return 0;
    case TFieldCell::Integer:
      return static_cast<double>(c.integer);
    case TFieldCell::Real:
      return c.real;
    case TFieldCell::Text:
      break;
  }
  return FieldValue(field);  // text: as the field's kind reads it
}

// The label and X of date `d`'s group.
void DateGroup(TDateGrouping grouping, TDateTime d, std::string& label, double& x) {
  const TDateTime day = static_cast<double>(Trunc(d));
  int year = 0, month = 0, dom = 0;
  DecodeDate(d, year, month, dom);
  switch (grouping) {
    case dgHour: {
      int hour = 0, min = 0, sec = 0, msec = 0;
      DecodeTime(d, hour, min, sec, msec);
      const TDateTime start = day + EncodeTime(hour, 0, 0, 0);
      label = FormatDateTime("dd hh:nn", start);
      // The day stays in X, so the same hour of two days are two places on the axis.
      x = start;
      break;
    }
    case dgDay:
      label = FormatDateTime("dd/MMM", day);
      x = d;
      break;
    case dgWeek: {
      const int weekday = (DayOfWeek(d) + 5) % 7;  // Monday 0
      const TDateTime thursday = day - weekday + 3;
      int wy = 0, wm = 0, wd = 0;
      DecodeDate(thursday, wy, wm, wd);
      const int week = static_cast<int>(Trunc(thursday - EncodeDate(wy, 1, 1))) / 7 + 1;
      label = IntToStr(week) + "/" + IntToStr(wy);
      x = thursday;
      break;
    }
    case dgWeekday:
      label = FormatSettings().LongDayNames[DayOfWeek(d) - 1];
      x = DayOfWeek(d);
      break;
    case dgMonth:
      label = FormatDateTime("MM/yy", EncodeDate(year, month, 1));
      x = EncodeDate(year, month, 15);
      break;
    case dgQuarter: {
      const int quarter = (month - 1) / 3 + 1;
      label = IntToStr(quarter) + "/" + IntToStr(year);
      x = EncodeDate(year, 3 * quarter - 1, 1);
      break;
    }
    case dgYear:
      label = FormatDateTime("yyyy", d);
      x = EncodeDate(year, 6, 15);
      break;
    case dgNone:
      break;
  }
}

// Whether values [from, count) of `list` continue its order (from 0 for the whole list).
bool InOrderFrom(const TChartValueList& list, int from) {
  const int n = list.Count();
  const bool ascending = list.Order() == loAscending;
  for (int i = std::max(from, 1); i < n; ++i) {
    const double a = list.ValueAt(i - 1);
    const double b = list.ValueAt(i);
    if (ascending ? b < a : b > a) return false;
  }
  return true;
}

// Puts the point that was at perm[k] at position k, for every k, by exchanges of whole points.
void ApplyPermutation(TChartSeries& series, const std::vector<int>& perm) {
  const int n = static_cast<int>(perm.size());
  std::vector<int> where(static_cast<size_t>(n));  // original index now at a position
  std::vector<int> pos(static_cast<size_t>(n));    // position of an original index
  std::iota(where.begin(), where.end(), 0);
  std::iota(pos.begin(), pos.end(), 0);
  for (int k = 0; k < n; ++k) {
    const int wanted = perm[static_cast<size_t>(k)];
    const int j = pos[static_cast<size_t>(wanted)];
    if (j == k) continue;
    series.ExchangePoints(k, j);
    const int displaced = where[static_cast<size_t>(k)];
    where[static_cast<size_t>(j)] = displaced;
    pos[static_cast<size_t>(displaced)] = j;
    where[static_cast<size_t>(k)] = wanted;
    pos[static_cast<size_t>(wanted)] = k;
  }
}

void SortByList(TChartSeries& series, const TChartValueList& list, int from) {
  if (list.Order() == loNone || InOrderFrom(list, from)) return;
  std::vector<int> perm(static_cast<size_t>(list.Count()));
  std::iota(perm.begin(), perm.end(), 0);
  const bool ascending = list.Order() == loAscending;
  std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
    return ascending ? list.ValueAt(a) < list.ValueAt(b) : list.ValueAt(a) > list.ValueAt(b);
  });
  ApplyPermutation(series, perm);
}

// Sorts after points were appended from index `from` on (the points before are in order).
void SortAppended(TChartSeries& series, int from) {
  TChartValueList* mandatory = series.MandatoryValues();
  TChartValueList* other = series.NotMandatoryValues();
  if (mandatory->Order() != loNone) {
    SortByList(series, *mandatory, 0);
    if (other->ValueSource().empty()) other->FillSequence();
  }
  SortByList(series, *other, from);
}

// Appends in arrival order while it lives: the lists' orders are off and come back after.
class TUnorderedAppend {
 public:
  explicit TUnorderedAppend(TChartSeries& series)
      : x_(series.XValues()), y_(series.YValues()), xOrder_(x_->Order()), yOrder_(y_->Order()) {
    x_->SetOrder(loNone);
    y_->SetOrder(loNone);
  }
  ~TUnorderedAppend() { Restore(); }
  void Restore() {
    x_->SetOrder(xOrder_);
    y_->SetOrder(yOrder_);
  }

 private:
  TChartValueList* x_;
  TChartValueList* y_;
  TChartListOrder xOrder_, yOrder_;
};

}  // namespace

void SortSeriesStably(TChartSeries& series) {
  series.BeginUpdate();
  try {
    SortAppended(series, 0);
  } catch (...) {
    series.EndUpdate();
    throw;
  }
  series.EndUpdate();
}

// ---- TDBChartDataSource ------------------------------------------------------------------------

TDBChartDataSource::TDBChartDataSource(TCustomDBChart* chart, TDataSet* dataSet, bool withDataChange)
    : TDataSource(nullptr), chart_(chart), wasActive_(dataSet && dataSet->Active()) {
  OnStateChange = TNotifyEvent(this, &TDBChartDataSource::StateChanged);
  OnUpdateData = TNotifyEvent(this, &TDBChartDataSource::UpdateData);
  if (withDataChange) WatchDataChange();
  SetDataSet(dataSet);
}

TDBChartDataSource::~TDBChartDataSource() {
  OnStateChange = nullptr;
  OnUpdateData = nullptr;
  OnDataChange = nullptr;
  SetDataSet(nullptr);
}

void TDBChartDataSource::WatchDataChange() {
  withDataChange_ = true;
  OnDataChange = TDataChangeEvent(this, &TDBChartDataSource::DataChanged);
}

void TDBChartDataSource::StateChanged(TObject*) {
  switch (State()) {
    case dsInactive:
      wasActive_ = false;
      if (CloseHook) CloseHook(DataSet());
      break;
    case dsBrowse:
      if (!wasActive_) {
        if (OpenHook) OpenHook(DataSet());
        wasActive_ = true;
      }
      break;
  }
}

void TDBChartDataSource::UpdateData(TObject*) {
  if (State() == dsBrowse) {
    if (OpenHook) OpenHook(DataSet());
  } else {
    wasActive_ = false;
  }
}

void TDBChartDataSource::DataChanged(TObject*, TField*) {
  if (chart_ && !chart_->IsLoading() && OpenHook) OpenHook(DataSet());
}

// ---- TListOfDataSources ------------------------------------------------------------------------

TDBChartDataSource* TListOfDataSources::Find(const TDataSet* dataSet) const {
  for (const auto& s : items_)
    if (s->DataSet() == dataSet) return s.get();
  return nullptr;
}

void TListOfDataSources::Remove(TDBChartDataSource* source) {
  items_.erase(std::remove_if(items_.begin(), items_.end(),
                              [source](const std::unique_ptr<TDBChartDataSource>& s) { return s.get() == source; }),
               items_.end());
}

// ---- TCustomDBChart ----------------------------------------------------------------------------

// What one reload knows of one bound series.
struct TCustomDBChart::TBoundSeries {
  TChartSeries* series = nullptr;
  bool yMandatory = true;
  TChartValueList* mandatory = nullptr;
  int labelSort = 0;
  TField* labelField = nullptr;
  TField* colorField = nullptr;
  TField* valueField = nullptr;
  std::vector<std::string> partNames;
  std::vector<TField*> partFields;
  TDateGrouping grouping = dgNone;
  TAggregation aggregation = agNone;
  // The walk covers every record (bound to the data set itself), else the current record only.
  bool walkAll = true;
  // Values folded into each point so far (averages).
  std::vector<int> counts;
  int firstNew = 0;
};

const TClassInfo& TCustomDBChart::StaticClass() {
  using C = TCustomDBChart;
  static const TClassInfo info = TClassBuilder<C>("TCustomDBChart", &TDBChartBase::StaticClass())
                                     .Property("AutoRefresh", &C::AutoRefresh, &C::SetAutoRefresh)
                                     .Default(true)
                                     .Property("ShowGlassCursor", &C::ShowGlassCursor, &C::SetShowGlassCursor)
                                     .Default(true)
                                     .Property("OnProcessRecord", FieldGet<&C::OnProcessRecord>,
                                               FieldSet<&C::OnProcessRecord>)
                                     .Abstract()
                                     .Build();
  return info;
}

const TClassInfo& TDBChart::StaticClass() {
  using C = TDBChart;
  static const TClassInfo info = TClassBuilder<C>("TDBChart", &TCustomDBChart::StaticClass())
                                     .Property("RefreshInterval", &C::RefreshInterval, &C::ChangeRefreshInterval)
                                     .Default(0)
                                     .Build();
  return info;
}

TCustomDBChart::TCustomDBChart(TComponent* owner) : TDBChartBase(owner) {}

TCustomDBChart::~TCustomDBChart() {
  for (int i = 0; i < dataSources_.Count(); ++i)
    if (TDataSet* d = dataSources_.At(i)->DataSet()) d->RemoveFreeNotification(this);
  dataSources_.Clear();
  delete timer_;
  timer_ = nullptr;
}

void TCustomDBChart::ChangeRefreshInterval(int seconds) {
  if (seconds < 0 || seconds > 60) throw DBChartException(KelMsg_RefreshIntervalRange);
  refreshInterval_ = seconds;
  if (timer_) timer_->SetEnabled(false);
  if (seconds > 0 && !ComponentState().Contains(csDesigning)) {
    if (!timer_) {
      timer_ = new TTimer(nullptr);
      timer_->SetEnabled(false);
      timer_->SetOnTimer(TNotifyEvent(this, &TCustomDBChart::RefreshTimerTick));
    }
    timer_->SetInterval(static_cast<unsigned>(seconds) * 1000u);
    timer_->SetEnabled(true);
  }
}

void TCustomDBChart::RefreshTimerTick(TObject*) {
  timer_->SetEnabled(false);
  // Enabled again whatever a refresh raises: one failing tick must not stop the refreshing.
  try {
    for (int i = 0; i < dataSources_.Count(); ++i) {
      TDataSet* d = dataSources_.At(i)->DataSet();
      if (!d || !d->Active()) continue;
      d->Refresh();
      if (autoRefresh_) ReloadDataSet(d, nullptr);
    }
  } catch (...) {
    timer_->SetEnabled(true);
    throw;
  }
  timer_->SetEnabled(true);
}

TDataSet* TCustomDBChart::DataSetOfSource(TComponent* source, bool* throughSource) {
  if (throughSource) *throughSource = false;
  if (auto* d = dynamic_cast<TDataSet*>(source)) return d;
  if (auto* s = dynamic_cast<TDataSource*>(source)) {
    if (throughSource) *throughSource = true;
    return s->DataSet();
  }
  return nullptr;
}

TDBChartDataSource* TCustomDBChart::WatchDataSet(TDataSet* dataSet, bool withDataChange) {
  TDBChartDataSource* source = dataSources_.Find(dataSet);
  if (!source) {
    auto created = std::make_unique<TDBChartDataSource>(this, dataSet, withDataChange);
    created->OpenHook = [this](TDataSet* d) { ReloadAllFor(d); };
    created->CloseHook = [this](TDataSet* d) { ClearSeriesOf(d); };
    source = created.get();
    dataSources_.Add(std::move(created));
    dataSet->FreeNotification(this);
  } else if (withDataChange && !source->WatchesDataChange()) {
    source->WatchDataChange();
  }
  return source;
}

void TCustomDBChart::ReloadSeriesData(TChartSeries& series) {
  if (series.ParentChart() != static_cast<ISeriesOwner*>(this))
    throw ChartException(KelMsg_SeriesParentNotMyself);
  bool throughSource = false;
  TDataSet* dataSet = DataSetOfSource(series.DataSource(), &throughSource);
  if (!dataSet) {
    TDBChartBase::ReloadSeriesData(series);
    return;
  }
  series.ClearPoints();
  WatchDataSet(dataSet, throughSource);
  if (autoRefresh_) ReloadDataSet(dataSet, &series);
}

bool TCustomDBChart::IsValidDataSource(TChartSeries& series, TComponent* source) {
  if (dynamic_cast<TDataSet*>(source) || dynamic_cast<TDataSource*>(source)) {
    bool valid = true;
    if (OnValidDataSource) OnValidDataSource(this, &series, source, valid);
    return valid;
  }
  return TDBChartBase::IsValidDataSource(series, source);
}

void TCustomDBChart::DataSourceRemoved(TChartSeries& series, TComponent* source) {
  TDBChartBase::DataSourceRemoved(series, source);
  TDataSet* dataSet = DataSetOfSource(source);
  if (!dataSet) return;
  // Another series may still read the same data set through it.
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* other = SeriesAt(i);
    if (other != &series && DataSetOfSource(other->DataSource()) == dataSet) return;
  }
  TDBChartDataSource* watched = dataSources_.Find(dataSet);
  if (!watched) watched = dataSources_.Find(nullptr);
  if (!watched) return;
  if (watched->DataSet()) watched->DataSet()->RemoveFreeNotification(this);
  dataSources_.Remove(watched);
}

void TCustomDBChart::Notification(TComponent* component, TOperation operation) {
  TDBChartBase::Notification(component, operation);
  if (operation != opRemove) return;
  if (auto* dataSet = dynamic_cast<TDataSet*>(component)) {
    while (TDBChartDataSource* s = dataSources_.Find(dataSet)) dataSources_.Remove(s);
  }
}

void TCustomDBChart::ReloadAllFor(TDataSet* dataSet) {
  if (autoRefresh_) ReloadDataSet(dataSet, nullptr);
}

void TCustomDBChart::ClearSeriesOf(TDataSet* dataSet) {
  if (!autoRefresh_) return;
  for (int i = 0; i < SeriesCount(); ++i)
    if (SeriesAt(i)->DataSource() == dataSet) SeriesAt(i)->ClearPoints();
}

std::vector<std::string> TCustomDBChart::SeriesFieldNames(TChartSeries& series) {
  TDataSet* dataSet = DataSetOfSource(series.DataSource());
  if (!dataSet) return {};
  if (dataSet->FieldCount() > 0) return dataSet->GetFieldNames();
  dataSet->UpdateFieldDefs();
  std::vector<std::string> names;
  for (const TFieldDef& def : dataSet->FieldDefs()) names.push_back(def.Name);
  return names;
}

TCustomDBChart::TDBChartSeriesList TCustomDBChart::CollectBoundSeries(TDataSet* dataSet,
                                                                             TChartSeries* only) {
  std::vector<TChartSeries*> chosen;
  if (only) {
    chosen.push_back(only);
  } else {
    for (int i = 0; i < SeriesCount(); ++i) {
      TChartSeries* s = SeriesAt(i);
      if (DataSetOfSource(s->DataSource()) == dataSet && !s->MandatoryValues()->ValueSource().empty())
        chosen.push_back(s);
    }
  }
  TDBChartSeriesList records;
  for (TChartSeries* s : chosen) {
    TBoundSeries r;
    r.series = s;
    r.yMandatory = s->YMandatory();
    r.mandatory = s->MandatoryValues();
    r.walkAll = s->DataSource() == dataSet;
    std::string word, name;
    SplitPrefix(r.mandatory->ValueSource(), word, name);
    r.aggregation = AggregationOf(word);
    r.partNames = SplitParts(name);
    for (const std::string& part : r.partNames) r.partFields.push_back(FieldNamed(dataSet, part));
    r.valueField = r.partFields.front();
    SplitPrefix(s->XLabelsSource(), word, name);
    r.grouping = GroupingOf(word);
    r.labelSort = r.grouping == dgNone ? LabelSortOf(word) : 0;
    r.labelField = FieldNamed(dataSet, name);
    r.colorField = FieldNamed(dataSet, s->ColorSource());
    // Folded points take their place from their group (or their order), never from a field.
    if (r.aggregation == agNone) {
      TChartValueList* other = s->NotMandatoryValues();
      other->BoundField = FieldNamed(dataSet, other->ValueSource());
      TChartValueLists& lists = s->ValueLists();
      for (int i = 2; i < lists.Count(); ++i) lists[i].BoundField = FieldNamed(dataSet, lists[i].ValueSource());
    }
    records.push_back(std::move(r));
  }
  return records;
}

void TCustomDBChart::AddRecordPoint(TBoundSeries& r) {
  TChartSeries& s = *r.series;
  std::string label;
  double x = 0;
  if (r.grouping == dgNone) {
    if (r.labelField) label = r.labelField->DisplayText();
  } else {
    DateGroup(r.grouping, r.labelField ? r.labelField->AsFloat() : 0.0, label, x);
  }
  const bool single = r.partFields.size() == 1;
  TColor color = clDefault;
  if (r.aggregation == agNone && r.colorField) color = static_cast<TColor>(r.colorField->AsInteger());
  // The one value part is read once, for its NULL test and its value.
  bool valueNull = false;
  const double value = single ? FieldValue(r.valueField, valueNull) : 0.0;
  if (r.aggregation == agNone && !r.colorField && valueNull) color = clNone;

  TChartValueList* other = s.NotMandatoryValues();
  const auto add = [&](const std::string& text, double y) {
    if (r.aggregation == agNone) {
      TChartValueLists& lists = s.ValueLists();
      for (int i = 2; i < lists.Count(); ++i) lists[i].PendingValue = FieldValue(lists[i].BoundField);
      double position = x;
      if (other->ValueSource().empty()) position = s.PointCount();
      if (r.yMandatory)
        s.AppendXY(position, y, text, color);
      else
        s.AppendXY(y, position, text, color);
      return;
    }
    const int j = s.Labels().IndexOfLabel(text, true);
    if (j < 0) {
      const double first = r.aggregation == agCount ? 1.0 : y;
      if (r.grouping == dgNone)
        s.AppendValue(first, text, clDefault);
      else if (r.yMandatory)
        s.AppendXY(x, first, text, clDefault);
      else
        s.AppendXY(first, x, text, clDefault);
      r.counts.push_back(1);
      return;
    }
    const double v = r.mandatory->ValueAt(j);
    double folded = v;
    switch (r.aggregation) {
      case agSum:
      case agAverage:
        folded = v + y;
        break;
      case agCount:
        folded = v + 1;
        break;
      case agHigh:
        folded = std::max(v, y);
        break;
      case agLow:
        folded = std::min(v, y);
        break;
      case agNone:
        break;
    }
    if (r.aggregation == agAverage) ++r.counts[static_cast<size_t>(j)];
    r.mandatory->SetValueAt(j, folded);
  };

  if (single) {
    if (!r.walkAll && !r.labelField) label = r.mandatory->ValueSource();
    if (TField* xField = other->BoundField) {
      // Series that share the data set read the same X of a record: convert it once.
      const int record = xField->DataSet() ? xField->DataSet()->RecNo() : 0;
      if (xField != xCacheField_ || record != xCacheRecord_) {
        xCacheValue_ = xField->AsFloat();
        xCacheField_ = xField;
        xCacheRecord_ = record;
      }
      x = xCacheValue_;
    }
    // A missing reading takes no part in a sum, count, highest, lowest or average.
    if (r.aggregation != agNone && valueNull) return;
    add(label, value);
    return;
  }
  for (size_t i = 0; i < r.partFields.size(); ++i) {
    TField* f = r.partFields[i];
    if (r.aggregation != agNone && f && f->IsNull()) continue;
    add(r.series->XLabelsSource().empty() ? r.partNames[i] : label, FieldValue(f));
  }
}

void TCustomDBChart::ReserveForRecords(TBoundSeries& r, int records) {
  // Folded points are as many as their labels, unknown before the walk.
  if (r.aggregation != agNone) return;
  const long long points = static_cast<long long>(r.series->PointCount()) +
                           static_cast<long long>(records) * static_cast<long long>(r.partFields.size());
  if (points > INT32_MAX) return;
  TChartValueLists& lists = r.series->ValueLists();
  for (int i = 0; i < lists.Count(); ++i) lists[i].Reserve(static_cast<int>(points));
}

void TCustomDBChart::FinishWalk(TBoundSeries& r) {
  if (r.aggregation == agAverage) {
    for (int j = 0; j < r.series->PointCount() && j < static_cast<int>(r.counts.size()); ++j)
      r.mandatory->SetValueAt(j, r.mandatory->ValueAt(j) / r.counts[static_cast<size_t>(j)]);
  }
  if (r.aggregation != agNone && r.labelSort != 0) r.series->SortByLabels(r.labelSort);
}

namespace {

// Forgets the fields a reload bound to the value lists (they die with the data set's records).
void UnbindFields(TChartSeries& series) {
  TChartValueLists& lists = series.ValueLists();
  for (int i = 0; i < lists.Count(); ++i) lists[i].BoundField = nullptr;
}

}  // namespace

void TCustomDBChart::ReloadDataSet(TDataSet* dataSet, TChartSeries* only) {
  if (loading_ || !dataSet || !dataSet->Active()) return;
  loading_ = true;
  xCacheField_ = nullptr;
  TDBChartSeriesList records;
  const bool repaint = RepaintEnabled();
  bool started = false;
  TCursor oldCursor = crDefault;
  std::vector<std::unique_ptr<TUnorderedAppend>> unordered;
  try {
    std::vector<TChartSeries*> touched;
    try {
      records = CollectBoundSeries(dataSet, only);
    } catch (...) {
      // Fields bound before the unknown one must not outlive this reload.
      if (only) {
        UnbindFields(*only);
      } else {
        for (int i = 0; i < SeriesCount(); ++i) UnbindFields(*SeriesAt(i));
      }
      throw;
    }
    if (!records.empty()) {
      started = true;
      if (Screen) {
        oldCursor = Screen->Cursor();
        if (showGlassCursor_) Screen->SetCursor(crHourGlass);
      }
      SetRepaintEnabled(false);
      // No update bracket while adding: each point reaches OnAfterAdd and the series'
      // followers as it comes.
      for (TBoundSeries& r : records) {
        r.series->ClearPoints();
        if (r.walkAll) ReserveForRecords(r, dataSet->RecordCount());
        unordered.push_back(std::make_unique<TUnorderedAppend>(*r.series));
      }
      const bool anyWalk = std::any_of(records.begin(), records.end(), [](const TBoundSeries& r) { return r.walkAll; });
      const bool anyCurrent =
          std::any_of(records.begin(), records.end(), [](const TBoundSeries& r) { return !r.walkAll; });
      if (anyWalk) {
        dataSet->DisableControls();
        try {
          TBookmark mark = dataSet->GetBookmark();
          try {
            dataSet->First();
            while (!dataSet->Eof()) {
              OnProcessRecord(this, dataSet);
              for (TBoundSeries& r : records)
                if (r.walkAll) AddRecordPoint(r);
              dataSet->Next();
            }
          } catch (const EAbort&) {
            // Ends the walk quietly with the points added so far.
          }
          for (TBoundSeries& r : records)
            if (r.walkAll) FinishWalk(r);
          dataSet->GotoBookmark(mark);
          dataSet->FreeBookmark(mark);
        } catch (...) {
          dataSet->EnableControls();
          throw;
        }
        dataSet->EnableControls();
      }
      if (anyCurrent) {
        try {
          OnProcessRecord(this, dataSet);
          for (TBoundSeries& r : records)
            if (!r.walkAll) AddRecordPoint(r);
        } catch (const EAbort&) {
          // As in the walk: the record is skipped quietly.
        }
      }
    }
  } catch (...) {
    for (auto& u : unordered) u->Restore();
    for (TBoundSeries& r : records) UnbindFields(*r.series);
    if (started) {
      SetRepaintEnabled(repaint);
      Invalidate();
      if (Screen) Screen->SetCursor(oldCursor);
    }
    loading_ = false;
    throw;
  }
  // Every series: its orders back, one stable sort, then one refresh and data-changed notice
  // (the update bracket around the sort gives them).
  for (size_t i = 0; i < records.size(); ++i) {
    unordered[i]->Restore();
    TChartSeries& s = *records[i].series;
    UnbindFields(s);
    SortSeriesStably(s);
  }
  if (started) {
    SetRepaintEnabled(repaint);
    Invalidate();
    if (Screen) Screen->SetCursor(oldCursor);
  }
  loading_ = false;
}

void TCustomDBChart::AppendRecords(TDataSet* dataSet, TChartSeries& series) {
  if (loading_ || !dataSet || !dataSet->Active()) return;
  loading_ = true;
  xCacheField_ = nullptr;
  const bool repaint = RepaintEnabled();
  TDBChartSeriesList records;
  try {
    records = CollectBoundSeries(dataSet, &series);
  } catch (...) {
    UnbindFields(series);
    loading_ = false;
    throw;
  }
  TBoundSeries& r = records.front();
  if (r.aggregation != agNone) {
    // Folded points cannot take more records without the counts of the first walk.
    UnbindFields(series);
    loading_ = false;
    return;
  }
  r.walkAll = true;
  r.firstNew = series.PointCount();
  // No exact reserve here: a live test appends a row a tick, and a list grown to exactly its
  // new size would be copied whole on every tick. The lists grow geometrically as they fill.
  SetRepaintEnabled(false);
  series.BeginUpdate();
  TUnorderedAppend unordered(series);
  const auto finish = [&] {
    unordered.Restore();
    UnbindFields(series);
    SetRepaintEnabled(repaint);
    loading_ = false;
  };
  try {
    dataSet->DisableControls();
    try {
      for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) AddRecordPoint(r);
    } catch (...) {
      dataSet->EnableControls();
      throw;
    }
    dataSet->EnableControls();
    finish();
    SortAppended(series, r.firstNew);
  } catch (...) {
    if (loading_) finish();
    series.EndUpdate();
    Invalidate();
    throw;
  }
  series.EndUpdate();
  Invalidate();
}

void TCustomDBChart::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCustomDBChart*>(source)) {
    autoRefresh_ = other->autoRefresh_;
    ChangeRefreshInterval(other->refreshInterval_);
    showGlassCursor_ = other->showGlassCursor_;
  }
  TDBChartBase::Assign(source);
}
