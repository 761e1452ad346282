// The history query: the range the history covers, a range holding 3 records filling the data
// grid's 4 rows, a reversed range refused with its message and no change, and the curve
// rebuild stopping the query when it fails.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/HistoryQuery.h"
#include "tests/support/TempFolder.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Grids.h"

namespace {

class HistoryQueryTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder_.Path();
    CreateDatabaseSchema();
    ConnectDatabase();
    ModuleCount = 1;
    grid_.SetColCount(10);
    grid_.SetRowCount(2);
    grid_.SetCells(0, 1, "old");
    Application->SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes_.push_back(text + "|" + caption + ((flags & MB_ICONWARNING) ? "|warning" : "|no icon"));
      return IDOK;
    });
  }
  void TearDown() override {
    Application->SetMessageBoxHook(nullptr);
    query_.Close();
    DbConnection->Disconnect();
  }
  void Exec(const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open((AppPath + "VKT_DATA.db").c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  void FourRecords() {
    Exec("insert into olddata(dtime, val1, val8) values ('2024-03-05 08:00:00', 20.5, 1),"
         "('2024-03-05 09:00:00', 21.5, 2), ('2024-03-05 09:30:00', 22, 3), ('2024-03-05 10:00:00', 23.25, 4)");
  }

  TempFolder folder_;
  TZQuery query_;
  TStringGrid grid_{nullptr};
  std::vector<std::string> boxes_;
};

TEST_F(HistoryQueryTest, TimeRangeOfTheHistory) {
  TDateTime first = -1, last = -1;
  EXPECT_FALSE(LoadHistoryTimeRange(&query_, first, last));
  EXPECT_EQ(first, -1);
  FourRecords();
  ASSERT_TRUE(LoadHistoryTimeRange(&query_, first, last));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", first), "2024-03-05 08:00:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", last), "2024-03-05 10:00:00");
  EXPECT_EQ(HistoryRangeText(EncodeDate(2024, 3, 5) + EncodeTime(23, 1, 1, 0), EncodeTime(9, 8, 7, 0)),
            "2024-03-05 09:08:07");
}

TEST_F(HistoryQueryTest, ThreeRecordsInRangeGiveFourGridRows) {
  FourRecords();
  std::vector<std::string> rebuilt;
  ASSERT_TRUE(RunHistoryQuery(
      "2024-03-05 09:00:00", "2024-03-05 10:00:00",
      [&](const std::string& s, const std::string& e) {
        rebuilt.push_back(s + "/" + e);
        return true;
      },
      &query_, &grid_));
  EXPECT_EQ(rebuilt, std::vector<std::string>{"2024-03-05 09:00:00/2024-03-05 10:00:00"});
  ASSERT_EQ(grid_.RowCount(), 4);
  EXPECT_EQ(grid_.Cells(0, 1), "2");
  EXPECT_EQ(grid_.Cells(1, 1), "2024-03-05 09:00:00");
  EXPECT_EQ(grid_.Cells(2, 1), "21.5");
  EXPECT_EQ(grid_.Cells(9, 3), "4");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(HistoryQueryTest, ReversedRangeIsRefusedAndChangesNothing) {
  FourRecords();
  bool rebuilt = false;
  EXPECT_FALSE(RunHistoryQuery(
      "2024-03-05 10:00:00", "2024-03-05 09:00:00",
      [&](const std::string&, const std::string&) { return rebuilt = true; }, &query_, &grid_));
  EXPECT_FALSE(rebuilt);
  EXPECT_EQ(boxes_, std::vector<std::string>{"The start time cannot be less than the end time。|prompt|warning"});
  EXPECT_EQ(grid_.RowCount(), 2);
  EXPECT_EQ(grid_.Cells(0, 1), "old");
}

TEST_F(HistoryQueryTest, FailingCurveRebuildStopsTheQuery) {
  FourRecords();
  EXPECT_FALSE(RunHistoryQuery("2024-03-05 08:00:00", "2024-03-05 10:00:00",
                               [](const std::string&, const std::string&) { return false; }, &query_, &grid_));
  EXPECT_EQ(grid_.RowCount(), 2);
  EXPECT_FALSE(query_.Active());
}

}  // namespace
