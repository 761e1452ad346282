// Named groups of series of one chart (TSeriesGroup in the collection TSeriesGroups): a group
// switches all its series on or off at once and reads as on, off or mixed. A layout stores a
// group's series as their indexes in the chart's series list (the extra entry "Series"); the
// indexes read are kept until ResolveStoredSeries after the chart has loaded.
#pragma once

#include <string>
#include <vector>

#include "chart/SeriesLists.h"
#include "toolkit/classes/Collection.h"
#include "toolkit/classes/TypInfo.h"

class ISeriesOwner;
class TChartSeries;
class TSeriesGroups;

enum TSeriesGroupActive { gaYes, gaNo, gaSome };
const TEnumInfo& EnumTypeInfo(TSeriesGroupActive);

class TSeriesGroup : public TCollectionItem {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Named "Group" and the collection's item count once it has joined.
  explicit TSeriesGroup(TCollection* collection);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& value);
  std::string DisplayName() const override { return name_; }
  // gaYes when empty or every series is active, gaNo when none is, else gaSome.
  TSeriesGroupActive ReadActive() const;
  // gaYes / gaNo switch every series; gaSome (or the current state) changes nothing.
  void ChangeActive(TSeriesGroupActive value);

  int SeriesCount() const { return static_cast<int>(series_.size()); }
  TChartSeries* SeriesAt(int index) const { return series_[index]; }
  void AddSeries(TChartSeries* series);
  void RemoveSeries(TChartSeries* series);
  void ClearSeries() { series_.Clear(); }
  const TCustomSeriesList& Series() const { return series_; }
  // The indexes read from a layout (empty once resolved).
  const std::vector<std::string>& StoredSeries() const { return stored_; }
  // Copies the name and the series.
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

 private:
  friend class TSeriesGroups;
  ISeriesOwner* Chart() const;

  std::string name_;
  TCustomSeriesList series_;
  std::vector<std::string> stored_;
};

class TSeriesGroups : public TOwnedCollection {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // `owner` is the chart component; `chart` the same chart as series owner.
  TSeriesGroups(TPersistent* owner, ISeriesOwner* chart);

  TSeriesGroup* Items(int index) const { return static_cast<TSeriesGroup*>(TCollection::Items(index)); }
  TSeriesGroup* Add() { return static_cast<TSeriesGroup*>(TCollection::Add()); }
  // The first group of that name (case-insensitive), or null.
  TSeriesGroup* Find(const std::string& name) const;
  ISeriesOwner* Chart() const { return chart_; }
  // After loading: every group read with stored indexes takes the chart's series at those
  // indexes (unknown indexes are skipped); the stored lists are dropped, also on failure.
  void ResolveStoredSeries();
  // A series leaves the chart: no group keeps it.
  void SeriesRemoved(TChartSeries* series);

 private:
  ISeriesOwner* chart_;
};
