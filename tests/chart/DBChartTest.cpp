// The database-bound chart over a small SQLite table: what one reload makes of the records
// (plain points in days, null points, aggregations and date groupings) as one table; opening and
// closing a bound query; a field the query lacks; the refresh interval and its timer; records out
// of X order; a private data source shared by two series; and appending new records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/DBChart.h"
#include "chart/FastLineSeries.h"
#include "tests/support/TempFolder.h"
#include "toolkit/data/DataSource.h"
#include "toolkit/data/Field.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/ui/Control.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/Timer.h"

namespace {

TDateTime At(const char* text) {
  TDateTime value = 0;
  EXPECT_TRUE(TryParseSqlDateTime(text, value)) << text;
  return value;
}

class DBChartTest : public testing::Test {
 protected:
  void SetUp() override {
    connection.Protocol = "sqlite-3";
    connection.Database = folder.Path() + "chart.db";
    connection.Connect();
    Exec("create table readings ([ID] INTEGER PRIMARY KEY, [dtime] TimeStamp, [val1] FLOAT, [tag] varchar(8), "
         "[color] integer)");
    // 2020-12-31 is a Thursday of ISO week 53 of 2020, 2021-01-01 its Friday, 2021-01-04 the
    // Monday of week 1 of 2021.
    Exec("insert into readings(dtime, val1, tag, color) values ('2020-12-31 10:15:00', 10, 'a', 255)");
    Exec("insert into readings(dtime, val1, tag, color) values ('2020-12-31 10:45:00', NULL, 'b', 65280)");
    Exec("insert into readings(dtime, val1, tag, color) values ('2020-12-31 11:05:00', 20, 'a', 255)");
    Exec("insert into readings(dtime, val1, tag, color) values ('2021-01-01 10:30:00', 40, 'b', 65280)");
    Exec("insert into readings(dtime, val1, tag, color) values ('2021-01-04 09:00:00', 5, 'a', 255)");
    query.SetConnection(&connection);
  }
  void TearDown() override {
    delete series;
    series = nullptr;
    query.Close();
  }
  void Exec(const std::string& sql) {
    TZQuery q;
    q.SetConnection(&connection);
    q.SQL.Add(sql);
    q.ExecSQL();
  }
  void Open(TZQuery& q, const std::string& sql) {
    q.Close();
    q.SetConnection(&connection);
    q.SQL.SetText(sql);
    q.Open();
  }
  // A fast line series of the chart reading `x` and `y` (with the labels source) from `source`.
  TFastLineSeries* Bind(TComponent* source, const std::string& x, const std::string& y,
                        const std::string& labels = "") {
    auto* s = new TFastLineSeries(nullptr);
    chart.AttachSeries(s);
    s->XValues()->ChangeValueSource(x);
    s->XValues()->ChangeDateTime(true);
    s->YValues()->ChangeValueSource(y);
    s->SetXLabelsSource(labels);
    s->SetDataSource(source);
    return s;
  }

  TempFolder folder;
  TZConnection connection;
  TZQuery query;
  TDBChart chart{nullptr};
  TFastLineSeries* series = nullptr;
};

// ---- One reload -----------------------------------------------------------------------------

struct Point {
  std::string label;
  double x;
  double y;
  bool null;
};

struct ReloadCase {
  const char* name;
  const char* sql;
  const char* x;  // with a date grouping and no X field, X is the group's place
  const char* y;
  const char* labels;
  std::vector<Point> points;
};

void PrintTo(const ReloadCase& c, std::ostream* os) { *os << c.name; }

class DBChartReload : public DBChartTest, public testing::WithParamInterface<ReloadCase> {};

TEST_P(DBChartReload, MakesThePointsOfTheRecords) {
  const ReloadCase& c = GetParam();
  Open(query, c.sql);
  series = Bind(&query, c.x, c.y, c.labels);
  ASSERT_EQ(series->PointCount(), static_cast<int>(c.points.size()));
  for (int i = 0; i < series->PointCount(); ++i) {
    const Point& p = c.points[static_cast<size_t>(i)];
    EXPECT_EQ(series->PointLabel(i), p.label) << "point " << i;
    EXPECT_NEAR(series->XValueAt(i), p.x, 1e-9) << "point " << i;
    EXPECT_NEAR(series->YValueAt(i), p.y, 1e-9) << "point " << i;
    EXPECT_EQ(series->IsNullPoint(i), p.null) << "point " << i;
    // Aggregated points carry no colour of their own.
    if (!p.null) {
      EXPECT_EQ(series->OwnColorAt(i), clDefault) << "point " << i;
    }
  }
  // The fields the reload read are not kept past it.
  EXPECT_EQ(series->XValues()->BoundField, nullptr);
}

const ReloadCase kReloads[] = {
    {"PlainPointsInDaysWithANullPoint", "select dtime, val1 from readings order by ID", "dtime", "val1", "",
     {{"", At("2020-12-31 10:15:00"), 10, false},
      {"", At("2020-12-31 10:45:00"), 0, true},
      {"", At("2020-12-31 11:05:00"), 20, false},
      {"", At("2021-01-01 10:30:00"), 40, false},
      {"", At("2021-01-04 09:00:00"), 5, false}}},
    {"NoRows", "select dtime, val1 from readings where ID > 99", "dtime", "val1", "", {}},
    {"LabelsFromAField", "select dtime, val1, tag from readings where ID in (1, 4)", "dtime", "val1", "tag",
     {{"a", At("2020-12-31 10:15:00"), 10, false}, {"b", At("2021-01-01 10:30:00"), 40, false}}},
    {"SumByDay", "select dtime, val1 from readings", "", "#SUM#val1", "#DAY#dtime",
     {{"31/Dec", At("2020-12-31 10:15:00"), 30, false},
      {"01/Jan", At("2021-01-01 10:30:00"), 40, false},
      {"04/Jan", At("2021-01-04 09:00:00"), 5, false}}},
    {"AverageSkipsTheNullReading", "select dtime, val1 from readings", "", "#avg#val1", "#DAY#dtime",
     {{"31/Dec", At("2020-12-31 10:15:00"), 15, false},
      {"01/Jan", At("2021-01-01 10:30:00"), 40, false},
      {"04/Jan", At("2021-01-04 09:00:00"), 5, false}}},
    {"LowestSkipsTheNullReading", "select dtime, val1 from readings", "", "#LOW#val1", "#day#dtime",
     {{"31/Dec", At("2020-12-31 10:15:00"), 10, false},
      {"01/Jan", At("2021-01-01 10:30:00"), 40, false},
      {"04/Jan", At("2021-01-04 09:00:00"), 5, false}}},
    {"HighestAndCountByLabel", "select val1, tag from readings", "", "#HIGH#val1", "tag",
     {{"a", 0, 20, false}, {"b", 1, 40, false}}},
    {"CountSkipsTheNullReading", "select val1, tag from readings", "", "#COUNT#val1", "tag",
     {{"a", 0, 3, false}, {"b", 1, 1, false}}},
    {"WeekAcrossTheNewYear", "select dtime, val1 from readings", "", "#SUM#val1", "#WEEK#dtime",
     {{"53/2020", At("2020-12-31"), 70, false}, {"1/2021", At("2021-01-07"), 5, false}}},
    {"HourKeepsTheDay", "select dtime, val1 from readings where ID <> 2", "", "#SUM#val1", "#HOUR#dtime",
     {{"31 10:00", At("2020-12-31 10:00:00"), 10, false},
      {"31 11:00", At("2020-12-31 11:00:00"), 20, false},
      {"01 10:00", At("2021-01-01 10:00:00"), 40, false},
      {"04 09:00", At("2021-01-04 09:00:00"), 5, false}}},
    {"AFoldedGroupSitsAtItsGroupNotAtTheXField", "select dtime, val1 from readings", "dtime", "#SUM#val1",
     "#MONTH#dtime",
     {{"12/20", At("2020-12-15"), 30, false}, {"01/21", At("2021-01-15"), 45, false}}},
    {"LabelsSortedDescending", "select val1, tag from readings", "", "#SUM#val1", "#SORTDES#tag",
     {{"b", 0, 40, false}, {"a", 1, 35, false}}},
};
INSTANTIATE_TEST_SUITE_P(Cases, DBChartReload, testing::ValuesIn(kReloads),
                         [](const testing::TestParamInfo<ReloadCase>& info) { return std::string(info.param.name); });

// ---- Opening, closing, colours --------------------------------------------------------------

TEST_F(DBChartTest, OpeningABoundQueryReloadsOnceAndClosingEmpties) {
  int records = 0;
  chart.OnProcessRecord = [&](TCustomDBChart*, TDataSet*) { ++records; };
  Open(query, "select dtime, val1 from readings");
  series = Bind(&query, "dtime", "val1");
  EXPECT_EQ(records, 5);  // binding loads once
  EXPECT_EQ(series->PointCount(), 5);

  query.Close();
  EXPECT_EQ(series->PointCount(), 0);
  EXPECT_EQ(records, 5);

  query.Open();
  EXPECT_EQ(records, 10);  // one more walk
  EXPECT_EQ(series->PointCount(), 5);
  EXPECT_EQ(chart.DataSources().Count(), 1);
  EXPECT_FALSE(chart.IsLoading());
}

TEST_F(DBChartTest, AReloadHandsEachPointToOnAfterAddAndToTheFollowers) {
  Open(query, "select dtime, val1 from readings");
  query.Close();
  series = Bind(&query, "dtime", "val1");
  ASSERT_EQ(series->PointCount(), 0);
  std::vector<int> added;
  series->OnAfterAdd = [&](TChartSeries* sender, int index) {
    EXPECT_EQ(sender, series);
    EXPECT_EQ(series->PointCount(), index + 1) << "records come in X order";
    added.push_back(index);
  };
  TFastLineSeries follower(nullptr);
  follower.SetDataSource(series);
  int followed = 0;
  follower.OnAfterAdd = [&](TChartSeries*, int) { ++followed; };
  query.Open();
  EXPECT_EQ(added, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(followed, 5) << "the follower took the points one by one";
  ASSERT_EQ(follower.PointCount(), 5);
  EXPECT_EQ(follower.YValueAt(3), 40);
  EXPECT_TRUE(follower.IsNullPoint(1));
}

TEST_F(DBChartTest, ColourFieldGivesEachPointItsColour) {
  Open(query, "select dtime, val1, color from readings where ID in (1, 2)");
  series = Bind(&query, "dtime", "val1");
  series->SetColorSource("color");
  ASSERT_EQ(series->PointCount(), 2);
  EXPECT_EQ(series->OwnColorAt(0), static_cast<TColor>(255));
  EXPECT_EQ(series->OwnColorAt(1), static_cast<TColor>(65280));  // a colour field wins over null
}

TEST_F(DBChartTest, AFieldTheQueryLacksRaisesAndRestoresEveryFlag) {
  Open(query, "select dtime, val1 from readings");
  series = Bind(&query, "dtime", "val1");
  ASSERT_EQ(series->PointCount(), 5);
  Screen->SetCursor(crDefault);
  chart.SetRepaintEnabled(true);
  EXPECT_THROW(series->YValues()->ChangeValueSource("val9"), EDatabaseError);
  EXPECT_FALSE(chart.IsLoading());
  EXPECT_TRUE(chart.RepaintEnabled());
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_FALSE(query.ControlsDisabled());
  EXPECT_EQ(series->XValues()->BoundField, nullptr);
  EXPECT_EQ(series->PointCount(), 0);
  // The chart is usable again at once.
  series->YValues()->ChangeValueSource("val1");
  EXPECT_EQ(series->PointCount(), 5);
}

TEST_F(DBChartTest, ASeriesOfAnotherChartIsRefused) {
  TDBChart other(nullptr);
  auto* s = new TFastLineSeries(nullptr);
  other.AttachSeries(s);
  try {
    chart.ReloadSeriesData(*s);
    ADD_FAILURE() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_EQ(e.Message(), "Series.ParentChart is not myself!");
  }
  delete s;
}

// ---- The walk ------------------------------------------------------------------------------

TEST_F(DBChartTest, TheWalkRunsWithControlsAndRepaintOffAndEndsOnTheRecordItStartedFrom) {
  for (const bool glass : {true, false}) {
    SCOPED_TRACE(glass);
    chart.SetShowGlassCursor(glass);
    chart.SetRepaintEnabled(true);
    Screen->SetCursor(crDefault);
    Open(query, "select dtime, val1 from readings order by ID");
    query.Next();
    query.Next();
    ASSERT_EQ(query.RecNo(), 3);
    int seen = 0;
    chart.OnProcessRecord = [&](TCustomDBChart* sender, TDataSet* d) {
      EXPECT_EQ(sender, &chart);
      EXPECT_EQ(d, &query);
      EXPECT_EQ(d->RecNo(), ++seen) << "records from the first on";
      EXPECT_EQ(Screen->Cursor(), glass ? crHourGlass : crDefault);
      EXPECT_FALSE(chart.RepaintEnabled());
      EXPECT_TRUE(query.ControlsDisabled());
      EXPECT_TRUE(chart.IsLoading());
    };
    series = Bind(&query, "dtime", "val1");
    EXPECT_EQ(seen, 5);
    EXPECT_EQ(series->PointCount(), 5);
    EXPECT_EQ(query.RecNo(), 3) << "back on the record the walk started from";
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_TRUE(chart.RepaintEnabled());
    EXPECT_FALSE(query.ControlsDisabled());
    chart.OnProcessRecord = {};
    delete series;
    series = nullptr;
  }
}

TEST_F(DBChartTest, AnAbortFromOnProcessRecordEndsTheReloadQuietlyKeepingThePointsSoFar) {
  Open(query, "select dtime, val1 from readings order by ID");
  TDataSource link(nullptr);
  link.SetDataSet(&query);
  struct Case {
    const char* name;
    bool throughLink;  // the current record only
    int abortAt;       // record number whose processing raises EAbort
    int points;
  };
  const Case cases[] = {
      {"walkStopsAtTheThirdRecord", false, 3, 2},
      {"walkAbortedAtTheFirstKeepsNothing", false, 1, 0},
      {"currentRecordAborted", true, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    query.First();
    chart.OnProcessRecord = [&](TCustomDBChart*, TDataSet* d) {
      if (d->RecNo() == c.abortAt) throw EAbort();
    };
    EXPECT_NO_THROW(series = Bind(c.throughLink ? static_cast<TComponent*>(&link) : &query, "dtime", "val1"));
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->PointCount(), c.points);
    EXPECT_FALSE(chart.IsLoading());
    EXPECT_FALSE(query.ControlsDisabled());
    EXPECT_TRUE(chart.RepaintEnabled());
    EXPECT_EQ(query.RecNo(), 1);
    chart.OnProcessRecord = {};
    delete series;
    series = nullptr;
  }
}

TEST_F(DBChartTest, ACurrentRecordWithoutLabelFieldIsLabelledByItsValueSource) {
  Open(query, "select dtime, val1, tag from readings order by ID");
  query.Next();
  query.Next();  // the third record: 20, tag a
  TDataSource link(nullptr);
  link.SetDataSet(&query);
  series = Bind(&link, "dtime", "val1");
  ASSERT_EQ(series->PointCount(), 1);
  EXPECT_EQ(series->PointLabel(0), "val1");
  EXPECT_EQ(series->YValueAt(0), 20);
  EXPECT_EQ(series->XValueAt(0), At("2020-12-31 11:05:00"));
  series->SetXLabelsSource("tag");
  ASSERT_EQ(series->PointCount(), 1);
  EXPECT_EQ(series->PointLabel(0), "a");
}

TEST_F(DBChartTest, SeveralValuePartsGiveOnePointPerPartAtTheNextPlaces) {
  Open(query, "select val1, color, tag from readings where ID in (1, 4) order by ID");
  struct Case {
    const char* labels;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"", {"val1", "color", "val1", "color"}},
      {"tag", {"a", "a", "b", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.labels);
    series = Bind(&query, "", "val1;color", c.labels);
    ASSERT_EQ(series->PointCount(), 4);
    const double ys[] = {10, 255, 40, 65280};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(series->PointLabel(i), c.expected[static_cast<size_t>(i)]) << i;
      EXPECT_EQ(series->XValueAt(i), i) << i;
      EXPECT_EQ(series->YValueAt(i), ys[i]) << i;
    }
    delete series;
    series = nullptr;
  }
}

TEST_F(DBChartTest, ExtraValueListsReadTheirOwnFields) {
  Open(query, "select dtime, val1, color from readings where ID in (1, 2, 4) order by ID");
  series = Bind(&query, "dtime", "val1");
  auto* extra = new TChartValueList(series, "Colour");
  extra->ChangeValueSource("color");
  query.Close();
  query.Open();
  ASSERT_EQ(series->PointCount(), 3);
  EXPECT_EQ(extra->ValueAt(0), 255);
  EXPECT_EQ(extra->ValueAt(1), 65280);
  EXPECT_EQ(extra->ValueAt(2), 65280);
  EXPECT_EQ(extra->BoundField, nullptr);
}

TEST_F(DBChartTest, WithoutAutoRefreshOpeningAndClosingLeaveTheSeriesAlone) {
  Open(query, "select dtime, val1 from readings");
  series = Bind(&query, "dtime", "val1");
  ASSERT_EQ(series->PointCount(), 5);
  chart.SetAutoRefresh(false);
  query.Close();
  EXPECT_EQ(series->PointCount(), 5) << "closing clears nothing";
  Exec("delete from readings where ID > 2");
  query.Open();
  EXPECT_EQ(series->PointCount(), 5) << "opening reloads nothing";
  series->ReloadFromSource();
  EXPECT_EQ(series->PointCount(), 0) << "a reload asked for empties the series and reads nothing";
  chart.SetAutoRefresh(true);
  series->ReloadFromSource();
  EXPECT_EQ(series->PointCount(), 2);
}

TEST_F(DBChartTest, OnValidDataSourceMayRefuseADataSetOrADataSource) {
  Open(query, "select dtime, val1 from readings");
  query.SetName("Readings");
  TDataSource link(nullptr);
  link.SetName("Link");
  link.SetDataSet(&query);
  std::vector<TComponent*> asked;
  bool accept = true;
  chart.OnValidDataSource = [&](TCustomAxisPanel* sender, TChartSeries*, TComponent* source, bool& valid) {
    EXPECT_EQ(sender, &chart);
    EXPECT_TRUE(valid) << "a data set arrives accepted";
    asked.push_back(source);
    valid = accept;
  };
  series = Bind(&query, "dtime", "val1");
  EXPECT_EQ(series->PointCount(), 5);
  series->SetDataSource(nullptr);
  accept = false;
  for (TComponent* source : {static_cast<TComponent*>(&query), static_cast<TComponent*>(&link)}) {
    try {
      series->SetDataSource(source);
      ADD_FAILURE() << "no exception";
    } catch (const ChartException& e) {
      EXPECT_EQ(e.Message(), "No valid DataSource: " + source->Name());
    }
    EXPECT_EQ(series->DataSource(), nullptr);
  }
  EXPECT_EQ(asked, (std::vector<TComponent*>{&query, &query, &link}));
  chart.OnValidDataSource = {};
}

TEST_F(DBChartTest, FieldNamesOfTheDataSetBehindASeries) {
  Open(query, "select dtime, val1, tag from readings");
  TDataSource link(nullptr);
  link.SetDataSet(&query);
  series = Bind(&link, "dtime", "val1");
  EXPECT_EQ(chart.SeriesFieldNames(*series), (std::vector<std::string>{"dtime", "val1", "tag"}));
  TFastLineSeries plain(nullptr);
  EXPECT_TRUE(chart.SeriesFieldNames(plain).empty());
}

TEST_F(DBChartTest, AssignTakesTheDatabaseSettings) {
  TDBChart copy(nullptr);
  chart.SetAutoRefresh(false);
  chart.SetShowGlassCursor(false);
  chart.ChangeRefreshInterval(7);
  copy.Assign(&chart);
  EXPECT_FALSE(copy.AutoRefresh());
  EXPECT_FALSE(copy.ShowGlassCursor());
  EXPECT_EQ(copy.RefreshInterval(), 7);
  ASSERT_NE(copy.RefreshTimer(), nullptr) << "through the setter: the timer runs";
  EXPECT_EQ(copy.RefreshTimer()->Interval(), 7000u);
  EXPECT_TRUE(copy.RefreshTimer()->Enabled());
}

// ---- Refresh interval -----------------------------------------------------------------------

TEST_F(DBChartTest, RefreshIntervalRangeAndTimer) {
  struct Case {
    int seconds;
    bool raises;
    int interval;      // what RefreshInterval reads afterwards
    bool timerOn;
    unsigned timerMs;  // the timer's interval when it runs
  };
  const Case cases[] = {
      {61, true, 0, false, 0},
      {60, false, 60, true, 60000},
      {-1, true, 60, true, 60000},
      {0, false, 0, false, 0},
      {5, false, 5, true, 5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    if (c.raises) {
      try {
        chart.ChangeRefreshInterval(c.seconds);
        ADD_FAILURE() << "no exception";
      } catch (const DBChartException& e) {
        EXPECT_EQ(e.Message(), "Refresh Interval must be between 0 and 60");
      }
    } else {
      chart.ChangeRefreshInterval(c.seconds);
    }
    EXPECT_EQ(chart.RefreshInterval(), c.interval);
    const bool on = chart.RefreshTimer() && chart.RefreshTimer()->Enabled();
    EXPECT_EQ(on, c.timerOn);
    if (c.timerOn) {
      EXPECT_EQ(chart.RefreshTimer()->Interval(), c.timerMs);
    }
  }
}

TEST_F(DBChartTest, RefreshTickReloadsAndStaysOnAfterAFailure) {
  Open(query, "select dtime, val1 from readings");
  series = Bind(&query, "dtime", "val1");
  chart.ChangeRefreshInterval(1);
  TTimer* timer = chart.RefreshTimer();
  ASSERT_NE(timer, nullptr);

  Exec("insert into readings(dtime, val1) values ('2021-01-05 00:00:00', 7)");
  timer->OnTimer()(timer);  // one tick, driven here
  EXPECT_EQ(series->PointCount(), 6);
  EXPECT_TRUE(timer->Enabled());

  Exec("drop table readings");
  EXPECT_ANY_THROW(timer->OnTimer()(timer));
  EXPECT_TRUE(timer->Enabled());
}

// ---- Order, shared sources, appending --------------------------------------------------------

TEST_F(DBChartTest, RecordsOutOfXOrderEndSortedKeepingTheirOrderAmongEqualX) {
  Exec("delete from readings");
  const char* rows[][2] = {{"2024-01-01 00:00:03", "1"}, {"2024-01-01 00:00:01", "2"},
                           {"2024-01-01 00:00:02", "3"}, {"2024-01-01 00:00:01", "4"},
                           {"2024-01-01 00:00:00", "5"}};
  for (auto& r : rows)
    Exec(std::string("insert into readings(dtime, val1) values ('") + r[0] + "', " + r[1] + ")");
  Open(query, "select dtime, val1 from readings order by ID");
  series = Bind(&query, "dtime", "val1");
  std::vector<double> ys;
  for (int i = 0; i < series->PointCount(); ++i) ys.push_back(series->YValueAt(i));
  EXPECT_EQ(ys, (std::vector<double>{5, 2, 4, 3, 1}));
  EXPECT_EQ(series->XValues()->Order(), loAscending);
}

TEST_F(DBChartTest, OneQueryFeedsEveryCurveWithItsOwnNullsInXOrder) {
  // Channels of mixed storage: reals, NULLs, an integer and numeric text in the untyped column;
  // rows out of time order with two at the same second.
  Exec("create table channels (dtime TimeStamp, v1 FLOAT, v2 FLOAT, v3)");
  struct Row {
    const char* time;
    const char* values[3];  // SQL literals
  };
  const Row rows[] = {
      {"2024-01-01 00:00:05", {"1.5", "NULL", "7"}},
      {"2024-01-01 00:00:01", {"NULL", "-2.25", "'12.5'"}},
      {"2024-01-01 00:00:03", {"3", "4", "NULL"}},
      {"2024-01-01 00:00:01", {"10", "NULL", "8"}},
      {"2024-01-01 00:00:00", {"0.5", "6", "'3'"}},
      {"2024-01-01 00:00:04", {"NULL", "NULL", "NULL"}},
  };
  for (const Row& r : rows)
    Exec(std::string("insert into channels values ('") + r.time + "', " + r.values[0] + ", " + r.values[1] + ", " +
         r.values[2] + ")");
  std::vector<TFastLineSeries*> curves;
  for (int c = 1; c <= 3; ++c) curves.push_back(Bind(&query, "dtime", "v" + std::to_string(c)));
  int records = 0;
  chart.OnProcessRecord = [&](TCustomDBChart*, TDataSet*) { ++records; };
  Open(query, "select dtime, v1, v2, v3 from channels");
  EXPECT_EQ(records, 6);  // one walk for all curves

  for (int c = 0; c < 3; ++c) {
    // What each curve must hold: every row, stably sorted by time, NULL as a null point at 0.
    std::vector<Point> expected;
    for (const Row& r : rows) {
      std::string v = r.values[c];
      const bool null = v == "NULL";
      if (v.front() == '\'') v = v.substr(1, v.size() - 2);
      expected.push_back({"", At(r.time), null ? 0.0 : std::stod(v), null});
    }
    std::stable_sort(expected.begin(), expected.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    TFastLineSeries* s = curves[static_cast<size_t>(c)];
    ASSERT_EQ(s->PointCount(), 6) << "curve " << c;
    for (int i = 0; i < 6; ++i) {
      const Point& p = expected[static_cast<size_t>(i)];
      EXPECT_EQ(s->XValueAt(i), p.x) << "curve " << c << " point " << i;
      EXPECT_EQ(s->YValueAt(i), p.y) << "curve " << c << " point " << i;
      EXPECT_EQ(s->IsNullPoint(i), p.null) << "curve " << c << " point " << i;
      EXPECT_EQ(s->PointLabel(i), "") << "curve " << c << " point " << i;
    }
  }
  chart.OnProcessRecord = {};
  for (TFastLineSeries* s : curves) delete s;
}

TEST_F(DBChartTest, ASharedPrivateSourceGoesOnlyWithItsLastSeries) {
  Open(query, "select dtime, val1 from readings");
  series = Bind(&query, "dtime", "val1");
  TFastLineSeries* second = Bind(&query, "dtime", "val1");
  ASSERT_EQ(chart.DataSources().Count(), 1);

  series->SetDataSource(nullptr);
  EXPECT_EQ(chart.DataSources().Count(), 1);
  query.Close();
  query.Open();
  EXPECT_EQ(second->PointCount(), 5);  // still reloaded through the kept source

  second->SetDataSource(nullptr);
  EXPECT_EQ(chart.DataSources().Count(), 0);
  delete second;
}

TEST_F(DBChartTest, ThroughADataSourceEachSeriesTakesItsOwnWalk) {
  Open(query, "select dtime, val1 from readings order by ID");
  TDataSource link(nullptr);
  link.SetDataSet(&query);
  series = Bind(&query, "dtime", "val1");
  TFastLineSeries* current = Bind(&link, "dtime", "val1");
  // Reopening reloads both: the direct series walks every record, the other takes the current one.
  query.Close();
  query.Open();
  EXPECT_EQ(series->PointCount(), 5);
  EXPECT_EQ(current->PointCount(), 1);
  EXPECT_EQ(current->YValueAt(0), 10);
  delete current;
}

TEST_F(DBChartTest, AppendedRecordsGiveThePointsOfAFullReload) {
  Open(query, "select dtime, val1 from readings");
  series = Bind(&query, "dtime", "val1");  // the full reload

  TZQuery first, later;
  Open(first, "select dtime, val1 from readings where ID <= 2");
  TFastLineSeries* grown = Bind(&first, "dtime", "val1");
  Open(later, "select dtime, val1 from readings where ID > 2");
  chart.AppendRecords(&later, *grown);

  ASSERT_EQ(grown->PointCount(), series->PointCount());
  for (int i = 0; i < series->PointCount(); ++i) {
    EXPECT_EQ(grown->XValueAt(i), series->XValueAt(i)) << i;
    EXPECT_EQ(grown->YValueAt(i), series->YValueAt(i)) << i;
    EXPECT_EQ(grown->IsNullPoint(i), series->IsNullPoint(i)) << i;
  }
  EXPECT_FALSE(chart.IsLoading());
  delete grown;
}

TEST_F(DBChartTest, RowsAppendedOneATimeGrowTheListsGeometrically) {
  // A live test: the curve is loaded once, then takes one new row per tick.
  Exec("create table live ([ID] INTEGER PRIMARY KEY, dtime TimeStamp, v FLOAT)");
  Exec("insert into live(ID, dtime, v) with recursive n(i) as (select 1 union all select i + 1 from n where i < 2600) "
       "select i, datetime('2024-01-01', '+' || i || ' seconds'), i % 50 from n");
  Open(query, "select dtime, v from live where ID <= 100");
  series = Bind(&query, "dtime", "v");
  ASSERT_EQ(series->PointCount(), 100);
  TZQuery tick;
  int reallocations = 0;
  int capacity = series->XValues()->Capacity();
  for (int id = 101; id <= 2600; ++id) {
    Open(tick, "select dtime, v from live where ID = " + std::to_string(id));
    chart.AppendRecords(&tick, *series);
    const int now = series->XValues()->Capacity();
    if (now != capacity) ++reallocations;
    capacity = now;
    ASSERT_EQ(series->PointCount(), id);
    // Room is never short, and never more than twice what is held.
    ASSERT_GE(now, id);
    ASSERT_LE(now, 2 * std::max(id, 1000));
    ASSERT_EQ(series->YValues()->Capacity(), now);
  }
  EXPECT_LE(reallocations, 3);  // 100 -> 1000 -> 2000 -> 4000, not once a row
  EXPECT_EQ(series->YValueAt(2599), 2600 % 50);
}

}  // namespace
