// TDataSource: the link between one data set and whoever shows it. It mirrors the data set's
// state and passes on its notifications as events: state change (open, close, a new data set),
// data change (open, scroll, refresh; the changed field or null for the whole record) and
// update data.
#pragma once

#include <functional>

#include "toolkit/data/DataSet.h"

class TDataSource {
 public:
  using TNotify = std::function<void(TDataSource* sender)>;
  using TDataChange = std::function<void(TDataSource* sender, TField* field)>;

  TDataSource() = default;
  virtual ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  TDataSet* DataSet() const { return dataSet_; }
  // Attaches to `dataSet` (null detaches); a resulting change of State fires OnStateChange.
  void SetDataSet(TDataSet* dataSet);
  // The data set's state; dsInactive without a data set or while disabled.
  TDataSetState State() const { return state_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);

  TNotify OnStateChange;
  TDataChange OnDataChange;
  TNotify OnUpdateData;

 private:
  friend class TDataSet;
  void UpdateState();
  void DataSetDestroyed();

  TDataSet* dataSet_ = nullptr;
  TDataSetState state_ = dsInactive;
  bool enabled_ = true;
};
