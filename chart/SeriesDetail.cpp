// Detail series and their summary, and the stored point picture's component.
#include "chart/SeriesDetail.h"

#include <algorithm>

#include "canvas/KelPicture.h"
#include "chart/ChartSeries.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"

TSeriesDetail::TSeriesDetail(TChartSeries* master) : master_(master) {}

namespace {

// Frees series that left a detail list: they forget their master first, so that going away
// they do not look for themselves in a list that no longer holds them.
void FreeDetached(const std::vector<TChartSeries*>& gone) {
  for (TChartSeries* series : gone) {
    if (series == nullptr) continue;
    series->SetMasterSeries(nullptr);
    delete series;
  }
}

}  // namespace

TSeriesDetail::~TSeriesDetail() { Clear(); }

void TSeriesDetail::Clear() {
  const Items gone = items_;
  items_.clear();
  FreeDetached(gone);
}

TChartSeries* TSeriesDetail::At(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : nullptr;
}

void TSeriesDetail::Add(TChartSeries* series) { Insert(Count(), series); }

void TSeriesDetail::Insert(int index, TChartSeries* series) {
  if (index < 0) {
    delete series;
    return;
  }
  if (series) series->SetMasterSeries(master_);
  if (index > Count()) items_.resize(static_cast<size_t>(index), nullptr);
  items_.insert(items_.begin() + index, series);
}

void TSeriesDetail::Delete(int index, int n) {
  if (index < 0 || index >= Count() || n <= 0) return;
  n = std::min(n, Count() - index);
  const Items gone(items_.begin() + index, items_.begin() + index + n);
  items_.erase(items_.begin() + index, items_.begin() + index + n);
  FreeDetached(gone);
}

void TSeriesDetail::Release(TChartSeries* series) {
  const int index = IndexOf(series);
  if (index < 0 || series == nullptr) return;
  items_[static_cast<size_t>(index)] = nullptr;
  series->SetMasterSeries(nullptr);
}

double TSeriesDetail::Summary(const TChartValueList& values) const {
  const int n = values.Count();
  if (n == 0) return 0;
  double sum = 0, low = values.ValueAt(0), high = values.ValueAt(0);
  for (int i = 0; i < n; ++i) {
    const double v = values.ValueAt(i);
    sum += v;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  switch (SummaryKind) {
    case dsSum:
      return sum;
    case dsCount:
      return n;
    case dsAverage:
      return sum / n;
    case dsLowest:
      return low;
    case dsHighest:
      return high;
  }
  return 0;
}

// ---- TKelPictureComponent --------------------------------------------------------------------

const TClassInfo& TKelPictureComponent::StaticClass() {
  using C = TKelPictureComponent;
  static const TClassInfo info = TClassBuilder<C>("TKelPictureComponent", &TComponent::StaticClass())
                                     .Property("Picture", &C::Picture, &C::SetPicture)
                                     .Build();
  return info;
}

TKelPictureComponent::TKelPictureComponent(TComponent* owner) : TComponent(owner), picture_(new TKelPicture) {}

TKelPictureComponent::TKelPictureComponent(TComponent* owner, TKelPicture* picture)
    : TComponent(owner), picture_(picture ? picture : new TKelPicture) {}

TKelPictureComponent::~TKelPictureComponent() { delete picture_; }

void TKelPictureComponent::SetPicture(TKelPicture* value) { picture_->Assign(value); }

TKelPicture* TKelPictureComponent::TakePicture() {
  TKelPicture* taken = picture_;
  picture_ = new TKelPicture;
  return taken;
}

// ---- Start-up --------------------------------------------------------------------------------

void SeriesMarksStartup() {
  RegisterClasses({&TSeriesMarks::StaticClass(), &TThemedSeries::StaticClass(), &TKelPictureComponent::StaticClass()});
}

void SeriesMarksShutdown() {
  UnRegisterClasses(
      {&TSeriesMarks::StaticClass(), &TThemedSeries::StaticClass(), &TKelPictureComponent::StaticClass()});
}
