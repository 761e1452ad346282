// TDataSource: the link between one data set and whoever shows it. It mirrors the data set's
// state and passes on its notifications as events: state change (open, close, a new data set),
// data change (open, scroll, refresh; the changed field or null for the whole record) and
// update data.
#pragma once

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"
#include "toolkit/data/DataSet.h"

// Sender (the data source) and the changed field, or null for the whole record.
using TDataChangeEvent = TMethodEvent<TObject*, TField*>;

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TDataSource() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TDataSet* DataSet() const { return dataSet_; }
  // Attaches to `dataSet` (null detaches); a resulting change of State fires OnStateChange.
  void SetDataSet(TDataSet* dataSet);
  // The data set's state; dsInactive without a data set or while disabled.
  TDataSetState State() const { return state_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);

  TNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnUpdateData;

 private:
  friend class TDataSet;
  void UpdateState();
  void DataSetDestroyed();

  TDataSet* dataSet_ = nullptr;
  TDataSetState state_ = dsInactive;
  bool enabled_ = true;
};
