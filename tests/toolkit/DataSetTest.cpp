// TDataSet and TDataSource: the notifications a bound chart relies on (state change on open and
// close, data change on open, scroll and refresh, update data), their suspension while controls
// are disabled, and the link's life when either side goes away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/data/DataSource.h"

namespace {

// A data set over a fixed list of numbers, one float field "v".
class NumbersDataSet : public TDataSet {
 public:
  std::vector<double> rows;
  bool failOpen = false;

 protected:
  void InternalOpen() override {
    if (failOpen) throw EDatabaseError("cannot open");
    values_.assign(rows.begin(), rows.end());
    AddField("v", ftFloat);
  }
  void InternalClose() override { values_.clear(); }
  int InternalRecordCount() const override { return static_cast<int>(values_.size()); }
  const TFieldValue& InternalValue(int record, int) const override { return values_[record]; }

 private:
  std::vector<TFieldValue> values_;
};

// Records the notifications a data source passes on, in order.
class Recorder {
 public:
  explicit Recorder(TDataSource& source) {
    source.OnStateChange = [this, &source](TObject* sender) {
      EXPECT_EQ(sender, &source);
      log.push_back(source.State() == dsBrowse ? "state:browse" : "state:inactive");
    };
    source.OnDataChange = [this, &source](TObject* sender, TField* field) {
      EXPECT_EQ(sender, &source);
      log.push_back(field ? "data:" + field->FieldName() : "data");
    };
    source.OnUpdateData = [this](TObject*) { log.push_back("update"); };
  }
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

class DataSetTest : public testing::Test {
 protected:
  void SetUp() override {
    data.rows = {1.5, 2.5, 3.5};
    source.SetDataSet(&data);
  }
  NumbersDataSet data;
  TDataSource source;
  Recorder recorder{source};
};

TEST_F(DataSetTest, OpenSendsStateThenDataChangeAndCloseSendsState) {
  data.Open();
  EXPECT_EQ(source.State(), dsBrowse);
  data.Close();
  EXPECT_EQ(source.State(), dsInactive);
  EXPECT_EQ(recorder.log, (Log{"state:browse", "data", "state:inactive"}));
}

TEST_F(DataSetTest, ScrollAndRefreshSendDataChanges) {
  data.Open();
  recorder.log.clear();
  data.Next();
  data.Next();
  data.Next();  // past the end: no move, no notification
  data.Refresh();
  data.UpdateRecord();
  EXPECT_EQ(recorder.log, (Log{"data", "data", "data", "update"}));
}

TEST_F(DataSetTest, DisabledControlsHoldNotificationsUntilEnabled) {
  data.Open();
  recorder.log.clear();
  data.DisableControls();
  data.DisableControls();
  const TBookmark mark = data.GetBookmark();
  double sum = 0;
  for (data.First(); !data.Eof(); data.Next()) sum += data.FieldByName("v")->AsFloat();
  data.GotoBookmark(mark);
  data.EnableControls();
  EXPECT_TRUE(recorder.log.empty());  // still one level disabled
  data.EnableControls();
  EXPECT_EQ(sum, 7.5);
  EXPECT_EQ(data.RecNo(), 1);
  EXPECT_EQ(recorder.log, (Log{"data"}));
}

// The walk a bound chart makes on every reload: remember the position, visit every record with
// controls disabled, go back. It must work on an empty data set too (an empty live table).
struct WalkCase {
  const char* name;
  std::vector<double> rows;
  int startRecord;  // 1-based; 0 for none
  double sum;
};

TEST(DataSetWalk, VisitsEveryRecordAndReturnsToTheBookmark) {
  const WalkCase cases[] = {
      {"Empty", {}, 0, 0},
      {"OneRecord", {4}, 1, 4},
      {"FromTheMiddle", {1, 2, 3, 4}, 3, 10},
  };
  for (const WalkCase& c : cases) {
    NumbersDataSet data;
    data.rows = c.rows;
    data.Open();
    for (int i = 1; i < c.startRecord; ++i) data.Next();
    double sum = 0;
    data.DisableControls();
    TBookmark mark = data.GetBookmark();
    data.First();
    while (!data.Eof()) {
      sum += data.FieldByName("v")->AsFloat();
      data.Next();
    }
    EXPECT_NO_THROW(data.GotoBookmark(mark)) << c.name;
    data.FreeBookmark(mark);
    data.EnableControls();
    EXPECT_EQ(sum, c.sum) << c.name;
    EXPECT_EQ(data.RecNo(), c.startRecord) << c.name;
    EXPECT_EQ(data.Eof(), c.rows.empty()) << c.name;
  }
}

TEST_F(DataSetTest, StateChangedWhileDisabledIsReportedOnEnable) {
  data.DisableControls();
  data.Open();
  EXPECT_EQ(source.State(), dsInactive);  // the source has not heard yet
  data.EnableControls();
  EXPECT_EQ(source.State(), dsBrowse);
  EXPECT_EQ(recorder.log, (Log{"state:browse", "data"}));
  recorder.log.clear();
  data.DisableControls();
  data.Close();
  data.Open();
  data.EnableControls();  // closed and open again: the state is what it was
  EXPECT_EQ(recorder.log, (Log{"data"}));
}

TEST_F(DataSetTest, FailedOpenStaysClosedWithoutNotifications) {
  data.failOpen = true;
  EXPECT_THROW(data.Open(), EDatabaseError);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.FieldCount(), 0);
  EXPECT_TRUE(recorder.log.empty());
}

TEST_F(DataSetTest, AttachingToAnOpenDataSetReportsItsState) {
  data.Open();
  TDataSource late;
  Recorder lateRecorder(late);
  late.SetDataSet(&data);
  EXPECT_EQ(late.State(), dsBrowse);
  late.SetDataSet(nullptr);
  EXPECT_EQ(lateRecorder.log, (Log{"state:browse", "state:inactive"}));
  data.Next();  // a detached source hears nothing more
  EXPECT_EQ(lateRecorder.log.size(), 2u);
}

TEST_F(DataSetTest, DisabledSourceIsInactiveAndSilent) {
  data.Open();
  recorder.log.clear();
  source.SetEnabled(false);
  data.Next();
  source.SetEnabled(true);
  EXPECT_EQ(recorder.log, (Log{"state:inactive", "state:browse"}));
}

TEST(DataSetLifetime, DestroyedDataSetLeavesTheSourceInactive) {
  TDataSource source;
  Recorder recorder(source);
  {
    NumbersDataSet data;
    data.rows = {1};
    source.SetDataSet(&data);
    data.Open();
  }
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_EQ(source.State(), dsInactive);
  EXPECT_EQ(recorder.log, (Log{"state:browse", "data", "state:inactive"}));
}

TEST(DataSetLifetime, OwnerFreesDataSetAndSource) {
  TComponent owner(nullptr);
  auto* data = new NumbersDataSet;
  owner.InsertComponent(data);
  auto* source = new TDataSource(&owner);
  source->SetDataSet(data);
  data->Open();
  EXPECT_EQ(owner.ComponentCount(), 2);
  EXPECT_TRUE(data->InheritsFrom(TDataSet::StaticClass()));
  EXPECT_EQ(source->ClassName(), "TDataSource");
  owner.DestroyComponents();  // either order of freeing must be safe
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(DataSetLifetime, DestroyedSourceIsForgotten) {
  NumbersDataSet data;
  data.rows = {1, 2};
  {
    TDataSource source;
    source.SetDataSet(&data);
  }
  data.Open();  // must not reach the freed source
  data.Next();
  EXPECT_EQ(data.RecNo(), 2);
}

TEST(DataSetClosed, CursorCallsRaiseAndValuesAreNull) {
  NumbersDataSet data;
  EXPECT_THROW(data.First(), EDatabaseError);
  EXPECT_THROW(data.Refresh(), EDatabaseError);
  EXPECT_TRUE(data.Eof());
  EXPECT_EQ(data.RecordCount(), 0);
  EXPECT_THROW(data.FieldByName("v"), EDatabaseError);
}

}  // namespace
