// TKelSeriesSource: a component that fills one series (its Load does the filling in a derived
// class). The series lists the source as its data source; the source is told when the series
// goes and the series when the source goes. States: inactive (the series' points are not the
// source's) and active (Load has filled them); opening activates, closing deactivates and
// clears the series' points. A source handed to another series moves there, open again when it
// was open.
#pragma once

#include <string>

#include "toolkit/classes/Component.h"

class TChartSeries;

class TKelSeriesSource : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelSeriesSource(TComponent* owner);
  // Closes first; the series drops the source through its free notification.
  ~TKelSeriesSource() override;

  // Activating loads (unless the layout is being read); deactivating clears the series' points
  // (unless the series or the source is going, or KeepPointsOnClose is set).
  virtual void ChangeActive(bool value);
  // Closes, leaves the old series and becomes the new series' data source.
  virtual void ChangeSeries(TChartSeries* series);
  virtual bool Available() const { return true; }
  virtual std::string DescriptionText() const { return {}; }
  // Whether the series' data source is of this source's class.
  virtual bool IsValidFor(TChartSeries* series) const;
  // Deactivates unless the layout is being read or the source is going.
  virtual void Close();
  // Fills the series (nothing here).
  virtual void Load() {}
  virtual void Open();

  bool Active() const { return active_; }
  TChartSeries* Series() const { return series_; }
  // The series stops being filled by this source (called when the series drops it).
  void ForgetSeries();
  // Called by a series that takes this source over from the series it fills now: closes, moves
  // ownership when that series owned it, points at `series` and opens again when it was open.
  void HandOverTo(TChartSeries* series);
  // An active source loads once the layout is read.
  void Loaded() override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Deactivating leaves the series' points alone while set.
  bool KeepPointsOnClose = false;

 private:
  bool active_ = false;
  TChartSeries* series_ = nullptr;
};
