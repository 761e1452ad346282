// The export commands: refusal while a test runs, nothing without a first sample, an empty
// history, and a written file in Export_data named after the time with the right message.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/RecordExport.h"
#include "tests/support/TempFolder.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"

namespace {

struct Box {
  std::string text, caption;
  UINT flags;
};

class RecordExportTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder_.Path();
    CreateDatabaseSchema();
    ConnectDatabase();
    ModuleCount = 1;
    RunMode = 0;
    Application->SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes_.push_back({text, caption, flags});
      return IDOK;
    });
  }
  void TearDown() override {
    Application->SetMessageBoxHook(nullptr);
    query_.Close();
    DbConnection->Disconnect();
    RunMode = 0;
  }
  void Exec(const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open((AppPath + "VKT_DATA.db").c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const Box& b : boxes_) {
      EXPECT_EQ(b.caption, "prompt");
      EXPECT_TRUE(b.flags & MB_ICONWARNING);
      t.push_back(b.text);
    }
    return t;
  }

  TempFolder folder_;
  TZQuery query_;
  std::vector<Box> boxes_;
};

TEST_F(RecordExportTest, StatementNamesTheModulesChannels) {
  ModuleCount = 2;
  std::string expected = "select id , dtime,val1";
  for (int c = 2; c <= 16; ++c) expected += ",val" + std::to_string(c);
  EXPECT_EQ(RecordExportSql("newdata"), expected + " from newdata order by id");
}

TEST_F(RecordExportTest, RefusedWhileATestRunsAndSilentWithoutAFirstSample) {
  RunMode = 1;
  EXPECT_EQ(ExportTestDetailRecords(&query_, "2024-03-05 08:07:06"), "");
  EXPECT_EQ(ExportHistoricalRecords(&query_), "");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Stop the test before exporting.", "Stop the test before exporting."}));
  RunMode = 0;
  boxes_.clear();
  EXPECT_EQ(ExportTestDetailRecords(&query_, ""), "");
  EXPECT_TRUE(boxes_.empty());
  EXPECT_FALSE(DirectoryExists(AppPath + "Export_data"));
}

TEST_F(RecordExportTest, EmptyHistoryWritesNothing) {
  EXPECT_EQ(ExportHistoricalRecords(&query_), "");
  EXPECT_EQ(Texts(), std::vector<std::string>{"No history can be exported."});
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Utf8ToWide(AppPath + "Export_data\\*.csv").c_str(), &found);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(RecordExportTest, ExportsGoToTimeNamedFiles) {
  Exec("insert into newdata(val1) values (20.5)");
  Exec("insert into olddata(dtime, val1) values ('2024-03-05 08:07:06', 21.5)");
  const std::string live = ExportTestDetailRecords(&query_, "2024-03-05 08:07:06");
  const std::string history = ExportHistoricalRecords(&query_);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"The export of test details records succeeded.",
                                               "The export history record is successful."}));
  for (const auto& [file, suffix] : {std::pair{live, std::string("_Testdetailrecords.csv")},
                                     std::pair{history, std::string("_Detailedhistoricalrecords.csv")}}) {
    EXPECT_TRUE(FileExists(file)) << file;
    EXPECT_EQ(ExtractFilePath(file), AppPath + "Export_data\\");
    const std::string name = ExtractFileName(file);
    ASSERT_EQ(name.size(), 14 + suffix.size()) << name;
    EXPECT_EQ(name.substr(14), suffix);
    EXPECT_EQ(name.find_first_not_of("0123456789"), 14u) << name;
    EXPECT_GT(FileSizeOf(file), 16);
  }
}

}  // namespace
