// Series sources and data-source notices: a source that activates loads its series and one that
// deactivates clears it, the hand-over of a source to another series, the chart told when a
// series drops a source, and a destroyed source of any kind cleared and reloaded from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SeriesTestSupport.h"
#include "chart/AxisPanel.h"
#include "chart/SeriesSource.h"

namespace {

// Fills its series with three points per load.
class CountingSource : public TKelSeriesSource {
 public:
  explicit CountingSource(TComponent* owner) : TKelSeriesSource(owner) {}
  void Load() override {
    ++loads;
    if (!Series()) return;
    Series()->ClearPoints();
    for (int i = 0; i < 3; ++i) Series()->AppendXY(i, 10 * (loads + i));
  }
  int loads = 0;
};

class SeriesSourceTest : public testing::Test {
 protected:
  TChartSeries* NewSeries(TComponent* owner = nullptr) {
    auto* s = new TChartSeries(owner ? owner : &panel);
    s->ChangeParentChart(&panel);
    return s;
  }
  TCustomAxisPanel panel{nullptr};
};

TEST_F(SeriesSourceTest, ActivatingLoadsAndDeactivatingClears) {
  TChartSeries* series = NewSeries();
  CountingSource source(nullptr);
  source.ChangeSeries(series);
  EXPECT_EQ(series->DataSource(), &source);
  EXPECT_EQ(source.loads, 0) << "an inactive source does not load";
  EXPECT_EQ(series->PointCount(), 0);
  source.Open();
  EXPECT_TRUE(source.Active());
  EXPECT_EQ(source.loads, 1);
  EXPECT_EQ(series->PointCount(), 3);
  // The series reloading asks an active source to load again.
  series->ReloadFromSource();
  EXPECT_EQ(source.loads, 2);
  EXPECT_EQ(series->YValueAt(0), 20);
  source.Close();
  EXPECT_FALSE(source.Active());
  EXPECT_EQ(series->PointCount(), 0);
  source.Open();
  source.Open();  // unchanged: no second load
  EXPECT_EQ(source.loads, 3);
}

TEST_F(SeriesSourceTest, ChangingTheSeriesLeavesTheOldOne) {
  TChartSeries* a = NewSeries();
  TChartSeries* b = NewSeries();
  CountingSource source(nullptr);
  source.ChangeSeries(a);
  source.Open();
  source.ChangeSeries(b);
  EXPECT_FALSE(source.Active()) << "changing closes";
  EXPECT_EQ(a->PointCount(), 0);
  EXPECT_EQ(a->DataSource(), nullptr);
  EXPECT_EQ(b->DataSource(), &source);
  source.ChangeSeries(nullptr);
  EXPECT_EQ(b->DataSource(), nullptr);
  EXPECT_EQ(source.Series(), nullptr);
}

TEST_F(SeriesSourceTest, ASeriesTakingTheSourceOverGetsItOpenAndOwned) {
  TChartSeries* a = NewSeries();
  TChartSeries* b = NewSeries();
  auto* source = new CountingSource(a);  // owned by the series it fills
  source->ChangeSeries(a);
  source->Open();
  ASSERT_EQ(a->PointCount(), 3);
  b->SetDataSource(source);
  EXPECT_EQ(source->Series(), b);
  EXPECT_TRUE(source->Active()) << "open again after the move";
  EXPECT_EQ(source->Owner(), b);
  EXPECT_EQ(b->PointCount(), 3);
  EXPECT_EQ(a->PointCount(), 0);
  EXPECT_EQ(a->DataSourceCount(), 0);
  delete b;  // frees the source it owns now; the source forgets nothing it no longer has
  EXPECT_EQ(a->DataSourceCount(), 0);
}

TEST_F(SeriesSourceTest, DroppingTheSourceMakesItForgetTheSeries) {
  TChartSeries* series = NewSeries();
  CountingSource source(nullptr);
  source.ChangeSeries(series);
  source.Open();
  series->SetDataSource(nullptr);
  EXPECT_EQ(source.Series(), nullptr);
  EXPECT_EQ(series->PointCount(), 0);
}

TEST_F(SeriesSourceTest, SourceAndSeriesSurviveEitherGoingFirst) {
  TChartSeries* series = NewSeries();
  auto* source = new CountingSource(nullptr);
  source->ChangeSeries(series);
  source->Open();
  delete source;
  EXPECT_EQ(series->DataSource(), nullptr);
  EXPECT_EQ(series->PointCount(), 0);

  CountingSource other(nullptr);
  TChartSeries* second = NewSeries();
  other.ChangeSeries(second);
  delete second;
  EXPECT_EQ(other.Series(), nullptr);
  other.Open();  // with no series, nothing to load into
  EXPECT_EQ(other.loads, 0);
}

// A chart that takes any component as a data source and logs what it is told.
class AnySourceChart : public FakeSeriesChart {
 public:
  bool IsValidDataSource(TChartSeries&, TComponent*) override { return true; }
  void DataSourceRemoved(TChartSeries& s, TComponent* source) override {
    removed.push_back(s.Name() + ":" + (source ? source->Name() : std::string("-")));
  }
  std::vector<std::string> removed;
};

TEST(DataSourceNoticeTest, ADestroyedSourceIsClearedAndReloadedFrom) {
  AnySourceChart chart;
  auto* series = new TChartSeries(&chart);
  series->SetName("S1");
  series->ChangeParentChart(&chart);
  auto* dataSet = new TComponent(nullptr);
  dataSet->SetName("Query1");
  series->SetDataSource(dataSet);
  series->AppendXY(1, 1);
  series->AppendXY(2, 2);
  const int reloads = chart.reloads;
  delete dataSet;
  EXPECT_EQ(series->DataSource(), nullptr);
  EXPECT_EQ(series->PointCount(), 0) << "the points of a gone source are not kept";
  EXPECT_GT(chart.reloads, reloads);
  EXPECT_EQ(chart.removed, (std::vector<std::string>{"S1:Query1"}));
}

TEST(DataSourceNoticeTest, TheChartHearsOnlyWhileTheSeriesHasASource) {
  AnySourceChart chart;
  auto* series = new TChartSeries(&chart);
  series->SetName("S1");
  series->ChangeParentChart(&chart);
  TComponent a(nullptr), b(nullptr);
  a.SetName("A");
  b.SetName("B");
  series->AddDataSource(&a);
  series->AddDataSource(&b);
  series->RemoveDataSource(&b);
  EXPECT_EQ(series->DataSource(), &a);
  series->RemoveDataSource(&a);
  series->RemoveDataSource(&a);  // none left: no notice
  EXPECT_EQ(chart.removed, (std::vector<std::string>{"S1:B", "S1:A"}));
}

}  // namespace
