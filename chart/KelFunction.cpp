// The function framework: walks over a source whole, by period or across several sources and
// adds the output points through the parent series.
#include "chart/KelFunction.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "chart/ChartSeries.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/rtl/SysUtils.h"

const TEnumInfo& EnumTypeInfo(TFunctionPeriodStyle) {
  static const TEnumInfo info("TFunctionPeriodStyle", {"psNumPoints", "psRange"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TFunctionPeriodAlign) {
  static const TEnumInfo info("TFunctionPeriodAlign", {"paFirst", "paCenter", "paLast"});
  return info;
}

const TClassInfo& TKelFunction::StaticClass() {
  using F = TKelFunction;
  static const TClassInfo info = TClassBuilder<F>("TKelFunction", &TComponent::StaticClass())
                                     .Property("CalcByValue", &F::CalcByValue, &F::SetCalcByValue)
                                     .Default(false)
                                     .Property("IncludeNulls", &F::IncludeNulls, &F::SetIncludeNulls)
                                     .Default(true)
                                     .Property("Period", &F::Period, &F::SetPeriod)
                                     .Stored([](F& f) { return f.Period() != 0; })
                                     .Property("PeriodAlign", &F::PeriodAlign, &F::SetPeriodAlign)
                                     .Default(paCenter)
                                     .Property("PeriodStyle", &F::PeriodStyle, &F::SetPeriodStyle)
                                     .Default(psNumPoints)
                                     .Build();
  return info;
}

TKelFunction::TKelFunction(TComponent* owner) : TComponent(owner) {}

TKelFunction::~TKelFunction() {
  // The parent hears of it through its free notification; make sure it does even when the
  // notification was never asked for.
  if (parent_ && parent_->Function() == this) parent_->ForgetFunction();
  parent_ = nullptr;
}

// ---- Parent series ---------------------------------------------------------------------------

void TKelFunction::AttachTo(TChartSeries* series) {
  if (series == parent_) return;
  if (parent_) parent_->ForgetFunction();
  parent_ = nullptr;
  if (series) series->SetFunction(this);
}

void TKelFunction::Recalculate() {
  if (parent_) parent_->ReloadFromSource();
}

TComponent* TKelFunction::GetParentComponent() const { return parent_; }

void TKelFunction::SetParentComponent(TComponent* parent) {
  if (auto* series = dynamic_cast<TChartSeries*>(parent)) AttachTo(series);
}

void TKelFunction::ReadState(TReader& reader) {
  if (reader.Parent()) SetParentComponent(reader.Parent());
  TComponent::ReadState(reader);
}

TChartValueList* TKelFunction::ValueListOf(TChartSeries* source) const {
  if (parent_) {
    const std::string& name = parent_->MandatoryValues()->ValueSource();
    if (!name.empty()) return source->ValueListNamed(name);
  }
  return source->MandatoryValues();
}

void TKelFunction::AddOutputPoint(bool yMandatory, double value, double position) {
  if (!parent_) return;
  if (yMandatory)
    parent_->AppendXY(position, value, {}, clDefault);
  else
    parent_->AppendXY(value, position, {}, clDefault);
}

// ---- Properties ------------------------------------------------------------------------------

void TKelFunction::SetCalcByValue(bool value) {
  if (calcByValue_ == value) return;
  calcByValue_ = value;
  Recalculate();
}

void TKelFunction::SetIncludeNulls(bool value) {
  if (includeNulls_ == value) return;
  includeNulls_ = value;
  Recalculate();
}

void TKelFunction::SetPeriod(double value) {
  if (!(value >= 0)) throw ChartException(KelMsg_FunctionPeriodNegative);  // NaN too
  if (period_ == value) return;
  period_ = value;
  Recalculate();
}

void TKelFunction::SetPeriodStyle(TFunctionPeriodStyle value) {
  if (periodStyle_ == value) return;
  periodStyle_ = value;
  Recalculate();
}

void TKelFunction::SetPeriodAlign(TFunctionPeriodAlign value) {
  if (periodAlign_ == value) return;
  periodAlign_ = value;
  Recalculate();
}

void TKelFunction::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKelFunction*>(source);
  if (!other) {
    TComponent::Assign(source);
    return;
  }
  calcByValue_ = other->calcByValue_;
  includeNulls_ = other->includeNulls_;
  period_ = other->period_;
  periodStyle_ = other->periodStyle_;
  periodAlign_ = other->periodAlign_;
}

// ---- Collecting values -----------------------------------------------------------------------

void TKelFunction::StoreResult(std::vector<double>& values, int index, double value) { values[index] = value; }

double TKelFunction::EmptyResult(const std::vector<double>&) { return 0; }

double TKelFunction::ComputeRange(TChartSeries* source, int first, int last) {
  if (first == -1 && last == -1) {
    first = 0;
    last = source->PointCount() - 1;
  }
  first = std::max(first, 0);
  last = std::min(last, source->PointCount() - 1);
  std::vector<double> values;
  TChartValueList* list = ValueListOf(source);
  if (includeNulls_) {
    // Every candidate counts: size the collection once.
    values.resize(last >= first ? last - first + 1 : 0);
    for (int i = first; i <= last; ++i) StoreResult(values, i - first, list->ValueAt(i));
  } else {
    for (int i = first; i <= last; ++i) {
      if (source->IsNullPoint(i)) continue;
      values.resize(values.size() + 1);
      StoreResult(values, static_cast<int>(values.size()) - 1, list->ValueAt(i));
    }
  }
  return EmptyResult(values);
}

double TKelFunction::Collect(const std::vector<TChartSeries*>& sources, const std::vector<int>& indexes) {
  std::vector<double> values;
  if (includeNulls_) values.resize(std::count_if(indexes.begin(), indexes.end(), [](int i) { return i >= 0; }));
  int k = 0;
  for (size_t s = 0; s < sources.size(); ++s) {
    const int i = indexes[s];
    if (i < 0) continue;
    if (!includeNulls_) {
      if (sources[s]->IsNullPoint(i)) continue;
      values.resize(values.size() + 1);
    }
    StoreResult(values, k++, ValueListOf(sources[s])->ValueAt(i));
  }
  return EmptyResult(values);
}

double TKelFunction::ComputeAcross(const std::vector<TChartSeries*>& sources, int index) {
  std::vector<int> indexes;
  indexes.reserve(sources.size());
  for (TChartSeries* s : sources) indexes.push_back(index < s->PointCount() ? index : -1);
  return Collect(sources, indexes);
}

double TKelFunction::ComputeAcrossAt(const std::vector<TChartSeries*>& sources, double x) {
  std::vector<int> indexes;
  indexes.reserve(sources.size());
  for (TChartSeries* s : sources) indexes.push_back(s->NotMandatoryValues()->Locate(x));
  return Collect(sources, indexes);
}

// ---- Walks -----------------------------------------------------------------------------------

void TKelFunction::EmitPeriodPoint(TChartSeries* source, int first, int last, double position) {
  const double value = ComputeRange(source, first, last);
  AddOutputPoint(source->YMandatory(), value, position);
}

void TKelFunction::ComputeWhole(TChartSeries* source, TChartValueList* list) {
  if (!parent_) return;
  const double value = ComputeRange(source, -1, -1);
  if (parent_->Centred()) {
    const double middle = list->ValueRange() * 0.5 + list->MinValue();
    if (parent_->YMandatory() && source->YMandatory())
      AddOutputPoint(source->YMandatory(), value, middle);
    else
      AddOutputPoint(parent_->YMandatory(), value, middle);
  } else {
    AddOutputPoint(source->YMandatory(), value, list->MinValue());
    AddOutputPoint(source->YMandatory(), value, list->MaxValue());
  }
}

int TKelFunction::PointsPerPeriod(int count) const {
  // Halves go to the even integer; a period up to 0.5 still takes one point, and a period
  // beyond the point count takes them all (no overflow converting a huge period).
  const double rounded = std::nearbyint(std::min(period_, static_cast<double>(count)));
  return std::clamp(static_cast<int>(rounded), 1, std::max(count, 1));
}

void TKelFunction::ComputeByPeriod(TChartSeries* source, TChartValueList* list) {
  const int n = list->Count();
  if (n == 0) return;
  const bool yMandatory = source->YMandatory();
  TChartAxis* axis = parent_ ? parent_->GetHorizAxis() : nullptr;
  const int step = axis ? FindDateTimeStep(period_) : dtNone;
  const int perPeriod = PointsPerPeriod(n);
  double x0 = list->ValueAt(0);
  int e = 0;
  while (e <= n - 1) {
    int i = e;
    double start;
    double end = 0;
    bool holds = true;
    if (periodStyle_ == psNumPoints) {
      i = e + perPeriod - 1;
      start = list->ValueAt(e);
      if (i < n) end = list->ValueAt(i);
    } else {
      start = x0;
      // The walk ends once the start no longer advances: no axis to step on, or a step too
      // small to move a value of this size.
      if (!axis) break;
      double next = x0;
      if (step != dtNone)
        StepDateTime(true, next, step, period_);
      else
        next = x0 + period_;
      if (!(next > x0)) break;
      x0 = next;
      end = x0 - 0.001 * period_;
      while (i < n - 1 && list->ValueAt(i + 1) < x0) ++i;
      holds = list->ValueAt(e) < x0;
    }
    if (i < n) {
      double position;
      switch (periodAlign_) {
        case paFirst: position = start; break;
        case paLast: position = end; break;
        default: position = (start + end) * 0.5; break;
      }
      if (holds)
        EmitPeriodPoint(source, e, i, position);
      else
        AddOutputPoint(yMandatory, 0, position);
    }
    if (holds) e = i + 1;
  }
}

void TKelFunction::ComputeInto(TChartSeries* source, TChartValueList* list) {
  if (period_ != 0)
    ComputeByPeriod(source, list);
  else
    ComputeWhole(source, list);
}

void TKelFunction::AddByIndex(const std::vector<TChartSeries*>& sources, TChartSeries* first) {
  TChartSeries* reference = first;
  for (TChartSeries* s : sources)
    if (s->PointCount() > reference->PointCount()) reference = s;
  for (int i = 0; i < reference->PointCount(); ++i) {
    const double position = reference->NotMandatoryValues()->ValueAt(i);
    const double value = ComputeAcross(sources, i);
    if (reference->YMandatory())
      parent_->AppendXY(position, value, reference->PointLabel(i), clDefault);
    else
      parent_->AppendXY(value, position, reference->PointLabel(i), clDefault);
  }
}

void TKelFunction::AddByValue(const std::vector<TChartSeries*>& sources) {
  int most = 0;
  for (TChartSeries* s : sources) most = std::max(most, s->PointCount());
  for (int i = 0; i < most; ++i) {
    // Each value keeps the source that has a label for point i (none: no label).
    std::vector<std::pair<double, TChartSeries*>> xs;
    for (TChartSeries* s : sources) {
      if (s->PointCount() <= i) continue;
      xs.emplace_back(s->NotMandatoryValues()->ValueAt(i), s->PointLabel(i).empty() ? nullptr : s);
    }
    for (const auto& [x, labelSource] : xs) {
      if (parent_->NotMandatoryValues()->Locate(x) >= 0) continue;
      const double value = ComputeAcrossAt(sources, x);
      const std::string label = labelSource ? labelSource->PointLabel(i) : std::string();
      const double at = x;
      const bool everywhere = std::all_of(sources.begin(), sources.end(), [at](TChartSeries* s) {
        return s->NotMandatoryValues()->Locate(at) >= 0;
      });
      const double px = parent_->YMandatory() ? x : value;
      const double py = parent_->YMandatory() ? value : x;
      if (everywhere)
        parent_->AppendXY(px, py, label, clDefault);
      else if (includeNulls_)
        parent_->AppendGapXY(px, py, label);
    }
  }
}

void TKelFunction::AddPoints(TChartSeries* source) {
  if (!source || !parent_) return;
  if (parent_->DataSourceCount() > 1) {
    std::vector<TChartSeries*> sources;
    for (int i = 0; i < parent_->DataSourceCount(); ++i)
      if (auto* s = dynamic_cast<TChartSeries*>(parent_->DataSourceAt(i))) sources.push_back(s);
    if (sources.empty()) return;
    if (calcByValue_)
      AddByValue(sources);
    else
      AddByIndex(sources, source);
    return;
  }
  if (source->PointCount() > 0) ComputeInto(source, source->NotMandatoryValues());
}

void TKelFunction::ConfigureSample(ISeriesOwner* chart) {
  if (!chart || chart->SeriesCount() == 0) return;
  TChartSeries* last = chart->SeriesAt(chart->SeriesCount() - 1);
  last->SetFunction(this);
  if (chart->SeriesCount() >= 2) last->SetDataSource(chart->SeriesAt(chart->SeriesCount() - 2));
}
