// The export commands: refusal while a test runs, nothing without a first sample, an empty
// history, and a written file in Export_data named after the time with the right message.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/RecordExport.h"
#include "tests/app/TestThreadPresent.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"
#include "tests/support/TempFolder.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/Field.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"

namespace {

using Files = std::vector<std::string>;

// The rows of a worksheet record file: the distinct row numbers of its cell records.
std::vector<int> CellRows(const std::string& file) {
  std::vector<int> rows;
  HANDLE h = CreateFileW(Utf8ToWide(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return rows;
  std::string data;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) data.append(buffer, n);
  CloseHandle(h);
  auto u16 = [&](size_t at) {
    return static_cast<int>(static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8);
  };
  for (size_t at = 0; at + 4 <= data.size();) {
    const int type = u16(at), length = u16(at + 2);
    if ((type == 0x0204 || type == 0x027E || type == 0x0203) && (rows.empty() || rows.back() != u16(at + 4)))
      rows.push_back(u16(at + 4));
    at += 4 + static_cast<size_t>(length);
  }
  return rows;
}

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

// The statement names exactly the channels of the module count, and the database takes it: its
// result has the id, the time and one column per channel.
TEST_F(RecordExportTest, StatementNamesTheModulesChannels) {
  struct Case {
    int modules;
    const char* table;
    const char* sql;
    const char* lastColumn;
  };
  const Case cases[] = {
      {1, "newdata", "select id , dtime,val1,val2,val3,val4,val5,val6,val7,val8 from newdata order by id", "val8"},
      {2, "olddata",
       "select id , dtime,val1,val2,val3,val4,val5,val6,val7,val8,val9,val10,val11,val12,val13,val14,val15,val16"
       " from olddata order by id",
       "val16"},
      {8, "newdata",
       "select id , dtime,val1,val2,val3,val4,val5,val6,val7,val8,val9,val10,val11,val12,val13,val14,val15,val16,"
       "val17,val18,val19,val20,val21,val22,val23,val24,val25,val26,val27,val28,val29,val30,val31,val32,val33,"
       "val34,val35,val36,val37,val38,val39,val40,val41,val42,val43,val44,val45,val46,val47,val48,val49,val50,"
       "val51,val52,val53,val54,val55,val56,val57,val58,val59,val60,val61,val62,val63,val64 from newdata order by id",
       "val64"},
  };
  for (const Case& c : cases) {
    ModuleCount = c.modules;
    const std::string sql = RecordExportSql(c.table);
    EXPECT_EQ(sql, c.sql) << c.modules;
    ASSERT_TRUE(OpenSqlQuery(sql, &query_)) << sql;
    ASSERT_EQ(query_.FieldCount(), 2 + 8 * c.modules);
    // Field names are found without regard to case.
    EXPECT_EQ(query_.Fields(0), query_.FieldByName("id"));
    EXPECT_EQ(query_.Fields(1), query_.FieldByName("dtime"));
    EXPECT_EQ(query_.Fields(2), query_.FieldByName("val1"));
    EXPECT_EQ(query_.Fields(query_.FieldCount() - 1), query_.FieldByName(c.lastColumn));
    query_.Close();
  }
  ModuleCount = 1;
}

TEST_F(RecordExportTest, RefusedWhileATestRunsAndSilentWithoutAFirstSample) {
  {
    // Still starting (RunMode 0) or running: refused either way.
    TestThreadPresent thread;
    EXPECT_EQ(ExportTestDetailRecords(&query_, "2024-03-05 08:07:06"), Files{});
    EXPECT_EQ(ExportHistoricalRecords(&query_), Files{});
  }
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Stop the test before exporting.", "Stop the test before exporting."}));
  boxes_.clear();
  EXPECT_EQ(ExportTestDetailRecords(&query_, ""), Files{});
  EXPECT_TRUE(boxes_.empty());
  EXPECT_FALSE(DirectoryExists(AppPath + "Export_data"));
}

TEST_F(RecordExportTest, EmptyHistoryWritesNothing) {
  EXPECT_EQ(ExportHistoricalRecords(&query_), Files{});
  EXPECT_EQ(Texts(), std::vector<std::string>{"No history can be exported."});
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Utf8ToWide(AppPath + "Export_data\\*.csv").c_str(), &found);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(RecordExportTest, ExportsGoToTimeNamedFiles) {
  Exec("insert into newdata(val1) values (20.5)");
  Exec("insert into olddata(dtime, val1) values ('2024-03-05 08:07:06', 21.5)");
  const Files liveFiles = ExportTestDetailRecords(&query_, "2024-03-05 08:07:06");
  const Files historyFiles = ExportHistoricalRecords(&query_);
  ASSERT_EQ(liveFiles.size(), 1u);
  ASSERT_EQ(historyFiles.size(), 1u);
  const std::string live = liveFiles[0], history = historyFiles[0];
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

// An export folder that cannot be made (a file holds its name): nothing written, nothing said.
TEST_F(RecordExportTest, ExportFolderThatCannotBeMadeWritesNothing) {
  Exec("insert into olddata(dtime, val1) values ('2024-03-05 08:07:06', 21.5)");
  HANDLE h = CreateFileW(Utf8ToWide(AppPath + "Export_data").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_EQ(ExportHistoricalRecords(&query_), Files{});
  EXPECT_EQ(ExportTestDetailRecords(&query_, "2024-03-05 08:07:06"), Files{});
  EXPECT_TRUE(boxes_.empty());
}

// Row numbers are 16-bit: the header and 65,535 data rows fill one file; one row more starts a
// "_2" file with its own header, and the message names both files.
TEST_F(RecordExportTest, SplitBoundaryAndTheMessageNamesEveryFile) {
  struct SplitCase {
    int rows;
    std::vector<std::vector<int>> fileRows;  // first and last cell row of each file, and their count
  };
  const SplitCase cases[] = {{65535, {{0, 65535, 65536}}}, {65536, {{0, 65535, 65536}, {0, 1, 2}}}};
  for (const SplitCase& c : cases) {
    Exec("delete from olddata");
    Exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < " + std::to_string(c.rows) +
         ") insert into olddata(dtime, val1) select '2024-03-05 08:07:06', i from n");
    boxes_.clear();
    const Files files = ExportHistoricalRecords(&query_);
    ASSERT_EQ(files.size(), c.fileRows.size()) << c.rows;
    std::string expected = "The export history record is successful.";
    if (files.size() > 1)
      for (const std::string& f : files) expected += "\n" + f;
    EXPECT_EQ(Texts(), std::vector<std::string>{expected}) << c.rows;
    for (size_t k = 0; k < files.size(); ++k) {
      EXPECT_EQ(files[k], k == 0 ? files[0] : files[0].substr(0, files[0].size() - 4) + "_" +
                                                   std::to_string(k + 1) + ".csv");
      const std::vector<int> rows = CellRows(files[k]);
      ASSERT_FALSE(rows.empty()) << files[k];
      EXPECT_EQ(rows.front(), c.fileRows[k][0]) << files[k];
      EXPECT_EQ(rows.back(), c.fileRows[k][1]) << files[k];
      EXPECT_EQ(static_cast<int>(rows.size()), c.fileRows[k][2]) << files[k];
    }
    for (const std::string& f : files) DeleteFileW(Utf8ToWide(f).c_str());
  }
}

}  // namespace
