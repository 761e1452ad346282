// TDBChart: the chart that fills its series from data sets. A series is bound by giving it a
// data set (or a TDataSource that points at one) as DataSource and naming fields in its value
// lists' ValueSource, its XLabelsSource and its ColorSource. The chart keeps one private data
// source per bound data set (TDBChartDataSource) that turns the data set's open, refresh and
// close into a reload or a clear of the series bound to it.
//
// Reload (ReloadDataSet) of data set D: the bound series are emptied and D's records are walked,
// one point per record, or folded into one point per label (aggregations "#SUM#" ... "#AVG#" of
// the value source, date groupings "#DAY#" ... of the labels source). Reloads never nest; while
// one runs the chart's RepaintEnabled is off and one invalidate follows. Points are appended in
// record order and each series is then sorted once, stably, by its ordered list, so records that
// arrive out of X order cost no more than ordered ones and keep their record order among equal X.
//
// Everything here runs on the window thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/Chart.h"
#include "toolkit/data/DataSource.h"

class TCustomDBChart;
class TDataSet;
class TField;
class TTimer;

VK_DECLARE_EXCEPTION(DBChartException, Exception);

// Sender and the data set whose current record is about to become points.
using TProcessRecordEvent = TMethodEvent<TCustomDBChart*, TDataSet*>;

// The private data source of one bound data set. Its state, update-data and (for series bound
// through a TDataSource) data-change notifications call the open hook (reload) or close hook
// (clear) with the data set.
class TDBChartDataSource : public TDataSource {
 public:
  using THook = std::function<void(TDataSet*)>;
  TDBChartDataSource(TCustomDBChart* chart, TDataSet* dataSet, bool withDataChange);
  ~TDBChartDataSource() override;

  TCustomDBChart* Chart() const { return chart_; }
  bool WasActive() const { return wasActive_; }
  bool WatchesDataChange() const { return withDataChange_; }
  // Adds the data-change notification (a series bound through a TDataSource joined).
  void WatchDataChange();

  THook OpenHook;
  THook CloseHook;

 private:
  void StateChanged(TObject* sender);
  void UpdateData(TObject* sender);
  void DataChanged(TObject* sender, TField* field);

  TCustomDBChart* chart_;
  bool wasActive_ = false;
  bool withDataChange_ = false;
};

// The chart's private data sources in creation order; owns them.
class TListOfDataSources {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TDBChartDataSource* At(int index) const { return items_[static_cast<size_t>(index)].get(); }
  // The first whose data set is `dataSet` (null: the first without one); null when none.
  TDBChartDataSource* Find(const TDataSet* dataSet) const;
  void Add(std::unique_ptr<TDBChartDataSource> source) { items_.push_back(std::move(source)); }
  // Frees `source` and takes it out of the list.
  void Remove(TDBChartDataSource* source);
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TDBChartDataSource>> items_;
};

// The chart the database chart builds on: walls, titles, legend, palettes and the mouse.
using TDBChartBase = TCustomChart;

class TCustomDBChart : public TDBChartBase {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomDBChart(TComponent* owner);
  ~TCustomDBChart() override;

  bool AutoRefresh() const { return autoRefresh_; }
  void SetAutoRefresh(bool value) { autoRefresh_ = value; }
  bool ShowGlassCursor() const { return showGlassCursor_; }
  void SetShowGlassCursor(bool value) { showGlassCursor_ = value; }
  int RefreshInterval() const { return refreshInterval_; }
  // Seconds 0..60 (DBChartException "Refresh Interval must be between 0 and 60" otherwise, the
  // old value kept); a positive value runs the refresh timer, 0 stops it.
  void ChangeRefreshInterval(int seconds);
  // The refresh timer; null until a positive interval was set.
  TTimer* RefreshTimer() const { return timer_; }
  // True while a reload runs.
  bool IsLoading() const { return loading_; }
  TListOfDataSources& DataSources() { return dataSources_; }

  TProcessRecordEvent OnProcessRecord;

  // Empties the series bound to `dataSet` (or only `series`) and fills them from its records.
  // Nothing while a reload runs or when the data set is closed. What the data set raises
  // (an unknown field, a failing read) leaves through here with the data set's controls
  // enabled again and the cursor, RepaintEnabled and the loading flag restored.
  void ReloadDataSet(TDataSet* dataSet, TChartSeries* series);
  // The open hook: ReloadDataSet(dataSet, none) when AutoRefresh is on.
  void ReloadAllFor(TDataSet* dataSet);
  // The close hook: empties every series whose DataSource is `dataSet` when AutoRefresh is on.
  void ClearSeriesOf(TDataSet* dataSet);
  // Adds the records of `dataSet` from its first to its last as points of `series`, reading the
  // fields `series` names, without emptying it first (a live view's new rows). The points end
  // as a full reload would leave them. A series with an aggregation is left as it is (its folded
  // points cannot take more records). Raises what the data set raises.
  void AppendRecords(TDataSet* dataSet, TChartSeries& series);
  // Field names of the data set a series is bound to (its field definitions when it has no
  // fields); empty for other series.
  std::vector<std::string> SeriesFieldNames(TChartSeries& series);

  // The data set behind a source: the data set itself or a TDataSource's; null otherwise.
  // `throughSource` tells which.
  static TDataSet* DataSetOfSource(TComponent* source, bool* throughSource = nullptr);

  // ---- ISeriesOwner ------------------------------------------------------------------------
  // ChartException "Series.ParentChart is not myself!" for a series of another chart.
  void ReloadSeriesData(TChartSeries& series) override;
  bool IsValidDataSource(TChartSeries& series, TComponent* source) override;
  void DataSourceRemoved(TChartSeries& series, TComponent* source) override;

  void Assign(TPersistent* source) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // One bound series of a reload: the series, its fields and how its records are grouped.
  struct TBoundSeries;
  // The bound series of one reload, one record per series.
  using TDBChartSeriesList = std::vector<TBoundSeries>;
  // Makes sure a private data source watches `dataSet`.
  TDBChartDataSource* WatchDataSet(TDataSet* dataSet, bool withDataChange);
  void RefreshTimerTick(TObject* sender);
  TDBChartSeriesList CollectBoundSeries(TDataSet* dataSet, TChartSeries* series);
  void AddRecordPoint(TBoundSeries& record);
  void FinishWalk(TBoundSeries& record);
  // Room in every value list for one point per record (per value part) past the points held.
  void ReserveForRecords(TBoundSeries& record, int records);

  bool autoRefresh_ = true;
  int refreshInterval_ = 0;
  bool showGlassCursor_ = true;
  bool loading_ = false;
  TTimer* timer_ = nullptr;
  TListOfDataSources dataSources_;
  // The X of the record being walked, converted once for every series that reads it.
  const TField* xCacheField_ = nullptr;
  int xCacheRecord_ = 0;
  double xCacheValue_ = 0;
};

class TDBChart : public TCustomDBChart {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TDBChart(TComponent* owner) : TCustomDBChart(owner) {}
};

// Sorts the points of `series` stably by its ordered value lists (the X list, then the value
// list when it has an order), moving every per-point store with them; nothing when they are in
// order already. One pass of O(n log n), whatever the disorder.
void SortSeriesStably(TChartSeries& series);
