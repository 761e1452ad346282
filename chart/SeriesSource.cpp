// The series-source component: activation, the series it fills and the hand-over between series.
#include "chart/SeriesSource.h"

#include "chart/ChartSeries.h"

const TClassInfo& TKelSeriesSource::StaticClass() {
  using S = TKelSeriesSource;
  static const TClassInfo info = TClassBuilder<S>("TKelSeriesSource", &TComponent::StaticClass())
                                     .Property("Active", &S::Active, &S::ChangeActive)
                                     .Default(false)
                                     .Property("Series", &S::Series, &S::ChangeSeries)
                                     .Build();
  return info;
}

TKelSeriesSource::TKelSeriesSource(TComponent* owner) : TComponent(owner) {}

TKelSeriesSource::~TKelSeriesSource() {
  Close();
  Destroying();
  if (series_) {
    TChartSeries* series = series_;
    series_ = nullptr;
    series->RemoveFreeNotification(this);
    if (!series->ComponentState().Contains(csDestroying)) series->RemoveDataSource(this);
  }
}

bool TKelSeriesSource::IsValidFor(TChartSeries* series) const {
  return series && series->DataSource() && series->DataSource()->ClassType().Name() == ClassType().Name();
}

void TKelSeriesSource::ChangeActive(bool value) {
  if (active_ == value) return;
  if (series_) {
    if (value) {
      if (!ComponentState().Contains(csLoading)) Load();
    } else if (!ComponentState().Contains(csDestroying) && !series_->ComponentState().Contains(csDestroying) &&
               !KeepPointsOnClose) {
      series_->ClearPoints();
    }
  }
  active_ = value;
}

void TKelSeriesSource::Close() {
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying)) ChangeActive(false);
}

void TKelSeriesSource::Open() { ChangeActive(true); }

void TKelSeriesSource::Loaded() {
  TComponent::Loaded();
  if (active_ && series_) Load();
}

void TKelSeriesSource::ChangeSeries(TChartSeries* series) {
  if (series == series_) return;
  Close();
  TChartSeries* old = series_;
  series_ = nullptr;
  if (old) {
    old->RemoveFreeNotification(this);
    // The old series no longer lists a source that fills another series.
    for (int i = 0; i < old->DataSourceCount(); ++i) {
      if (old->DataSourceAt(i) == this) {
        old->RemoveDataSource(this);
        break;
      }
    }
  }
  series_ = series;
  if (series) {
    series->FreeNotification(this);
    series->SetDataSource(this);
  }
}

void TKelSeriesSource::ForgetSeries() {
  if (!series_) return;
  series_->RemoveFreeNotification(this);
  series_ = nullptr;
}

void TKelSeriesSource::HandOverTo(TChartSeries* series) {
  if (series == series_) return;
  const bool wasActive = active_;
  Close();
  TChartSeries* old = series_;
  series_ = series;
  if (old) {
    if (Owner() == old) {
      old->RemoveComponent(this);
      series->InsertComponent(this);
    }
    old->RemoveFreeNotification(this);
    // The old series no longer lists a source that fills another series.
    for (int i = 0; i < old->DataSourceCount(); ++i) {
      if (old->DataSourceAt(i) == this) {
        old->RemoveDataSource(this);
        break;
      }
    }
  }
  series->FreeNotification(this);
  if (wasActive) Open();
}

void TKelSeriesSource::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == series_) series_ = nullptr;
}
