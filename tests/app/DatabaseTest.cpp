// The database file: the tables a fresh file gets (columns, types, keys and defaults as the
// database reports them, and how they store rows), existing files left alone, a missing table
// created alone, the shared connection on the program's file, and the guarded SQL routines'
// failure path.
#include <gtest/gtest.h>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "tests/app/LogLines.h"
#include "tests/app/SqlRows.h"
#include "tests/support/TempFolder.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/TextConv.h"

namespace {

// A table's columns as the database describes them: "name|declared type|not null|default|key".
std::vector<std::string> Columns(const std::string& table) {
  std::vector<std::string> columns;
  for (const auto& row : SqlRows(DatabaseFileName(), "pragma table_info(" + table + ")"))
    columns.push_back(row[1] + "|" + row[2] + "|" + row[3] + "|" + row[4] + "|" + row[5]);
  return columns;
}

// What the readers of a reading table rely on: ID as the row key, both time stamps required and
// defaulting to the local time, and one FLOAT column per channel, val1 to val64 in order.
void ExpectReadingTable(const std::string& table) {
  const std::vector<std::string> columns = Columns(table);
  ASSERT_EQ(columns.size(), 67u) << table;
  EXPECT_EQ(columns[0], "ID|INTEGER|0|<null>|1") << table;
  EXPECT_EQ(columns[1], "dtime|TimeStamp|1|datetime('now','localtime')|0") << table;
  EXPECT_EQ(columns[2], "dtime2|TimeStamp|1|datetime('now','localtime')|0") << table;
  EXPECT_EQ(columns[3], "val1|FLOAT|0|<null>|0") << table;
  EXPECT_EQ(columns[10], "val8|FLOAT|0|<null>|0") << table;
  EXPECT_EQ(columns[66], "val64|FLOAT|0|<null>|0") << table;
  for (size_t i = 3; i < columns.size(); ++i)
    EXPECT_EQ(columns[i].substr(columns[i].find('|')), "|FLOAT|0|<null>|0") << table << " " << columns[i];
}

std::string ReadAll(const std::string& path) {
  std::string data;
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return data;
  char buffer[8192];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) data.append(buffer, n);
  CloseHandle(h);
  return data;
}

class DatabaseTest : public testing::Test {
 protected:
  void SetUp() override { AppPath = folder.Path(); }
  void TearDown() override {
    if (DbConnection) {
      DbConnection->Disconnect();
      delete DbConnection;
      DbConnection = nullptr;
    }
    AppPath.clear();
  }
  TempFolder folder;
};

TEST_F(DatabaseTest, FreshFileGetsThreeTablesAndTheDefaultRow) {
  CreateDatabaseSchema();
  EXPECT_EQ(SqlRows(DatabaseFileName(), "select name from sqlite_master where type='table' order by rowid"),
            (std::vector<std::vector<std::string>>{{"config"}, {"newdata"}, {"olddata"}}));
  const std::vector<std::string> config = Columns("config");
  ASSERT_EQ(config.size(), 11u);
  EXPECT_EQ(config[0], "ID|INTEGER|0|<null>|1");
  EXPECT_EQ(config[1], "modecnt|INTEGER|0|<null>|0");
  EXPECT_EQ(config[2], "pointcnt|INTEGER|0|<null>|0");
  for (int m = 1; m <= 8; ++m)
    EXPECT_EQ(config[static_cast<size_t>(m + 2)], "mode" + std::to_string(m) + "type|varchar (5)|0|<null>|0");
  ExpectReadingTable("newdata");
  ExpectReadingTable("olddata");

  EXPECT_EQ(SqlRows(DatabaseFileName(), "select * from config"),
            (std::vector<std::vector<std::string>>{{"1", "1", "1", "J", "K", "K", "K", "K", "K", "K", "K"}}));
  EXPECT_EQ(SqlRows(DatabaseFileName(), "select typeof(modecnt), typeof(mode1type) from config")[0],
            (std::vector<std::string>{"integer", "text"}));
}

// How the reading tables store what the recorder writes: keys in insertion order, a missing
// time stamp filled with the local time, readings given as text kept as numbers, missing
// channels null.
TEST_F(DatabaseTest, ReadingTablesStoreRowsAsTheReadersExpect) {
  CreateDatabaseSchema();
  for (const char* table : {"newdata", "olddata"}) {
    const std::string t = table;
    const std::string before = FormatDateTime("yyyy-mm-dd hh:nn:ss", Now());
    SqlExec(DatabaseFileName(), "insert into " + t + "(val1, val2, dtime2) values ('21.5', 3, '2024-03-05 08:07:06');"
                                "insert into " + t + "(dtime, val64) values ('2024-03-05 08:07:07', -0.25)");
    const std::string after = FormatDateTime("yyyy-mm-dd hh:nn:ss", Now());
    const auto rows = SqlRows(DatabaseFileName(), "select ID, dtime, dtime2, val1, typeof(val1), typeof(val2), "
                                                  "val3, val64 from " + t + " order by ID");
    ASSERT_EQ(rows.size(), 2u) << t;
    EXPECT_EQ(rows[0][0], "1") << t;
    EXPECT_EQ(rows[1][0], "2") << t;
    // The default is the computer's local time as "yyyy-mm-dd hh:mm:ss".
    EXPECT_GE(rows[0][1], before) << t;
    EXPECT_LE(rows[0][1], after) << t;
    EXPECT_EQ(rows[0][2], "2024-03-05 08:07:06") << t;
    EXPECT_EQ(rows[0][3], "21.5") << t;
    EXPECT_EQ(rows[0][4], "real") << t;
    EXPECT_EQ(rows[0][5], "real") << t;
    EXPECT_EQ(rows[0][6], "<null>") << t;
    EXPECT_EQ(rows[1][1], "2024-03-05 08:07:07") << t;
    EXPECT_GE(rows[1][2], before) << t;
    EXPECT_EQ(rows[1][7], "-0.25") << t;
  }
}

TEST_F(DatabaseTest, ExistingFileIsLeftUnchanged) {
  CreateDatabaseSchema();
  SqlExec(DatabaseFileName(), "update config set modecnt=3, mode1type='T'; insert into "
                              "newdata(val1, dtime2) values (21.5, '2024-03-05 08:07:06')");
  const std::string before = ReadAll(DatabaseFileName());
  CreateDatabaseSchema();
  EXPECT_EQ(ReadAll(DatabaseFileName()), before);
  EXPECT_EQ(SqlRows(DatabaseFileName(), "select count(*), modecnt, mode1type from config")[0],
            (std::vector<std::string>{"1", "3", "T"}));
}

TEST_F(DatabaseTest, MissingOlddataAloneIsCreated) {
  SqlExec(DatabaseFileName(),
          "create table CONFIG (ID integer primary key, modecnt integer);"  // other case
          "insert into config(modecnt) values (4);"
          "create table newdata (ID integer primary key, val1 float)");
  CreateDatabaseSchema();
  const auto tables =
      SqlRows(DatabaseFileName(), "select name, sql from sqlite_master where type='table' order by rowid");
  ASSERT_EQ(tables.size(), 3u);
  EXPECT_EQ(tables[0][1], "CREATE TABLE CONFIG (ID integer primary key, modecnt integer)");
  EXPECT_EQ(tables[1][1], "CREATE TABLE newdata (ID integer primary key, val1 float)");
  EXPECT_EQ(tables[2][0], "olddata");
  ExpectReadingTable("olddata");
  EXPECT_EQ(SqlRows(DatabaseFileName(), "select count(*), max(modecnt) from config")[0],
            (std::vector<std::string>{"1", "4"}));
}

TEST_F(DatabaseTest, UnopenableFileRaises) {
  AppPath = folder.Path() + "no such folder\\";
  EXPECT_THROW(CreateDatabaseSchema(), Exception);
}

TEST_F(DatabaseTest, FailingCommandGivesFalseOneLogLineAndAUsableConnection) {
  CreateDatabaseSchema();
  ASSERT_TRUE(ConnectDatabase());
  const std::string bad = "update newdata set val99=1";
  EXPECT_FALSE(ExecSqlCommand(bad));

  const std::vector<LogLine> lines = ReadLogLines(folder.Path());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].file.find("__Except.log"), std::string::npos);
  // The message: sql + " 异常." + CR + the error (the Chinese text in the ANSI code page).
  const std::string expectedStart = "] " + bad + Utf8ToAnsi(" 异常.\r");
  EXPECT_NE(lines[0].text.find(expectedStart), std::string::npos) << lines[0].text;
  EXPECT_NE(lines[0].text.find("val99"), std::string::npos);

  EXPECT_TRUE(ExecSqlCommand(" insert into newdata(val1,dtime2) values (25.0,'2024-03-05 08:07:06')"));
  TZQuery query;
  ASSERT_TRUE(OpenSqlQuery("select val1,dtime2 from newdata", &query));
  ASSERT_EQ(query.RecordCount(), 1);
  EXPECT_EQ(query.FieldByName("val1")->AsFloat(), 25.0);
  EXPECT_EQ(query.FieldByName("dtime2")->DisplayText(), "2024-03-05 08:07:06");
  EXPECT_EQ(ReadLogLines(folder.Path()).size(), 1u);
}

TEST_F(DatabaseTest, FailingQueryGivesFalseAndStaysClosed) {
  CreateDatabaseSchema();
  ConnectDatabase();
  TZQuery query;
  ASSERT_TRUE(OpenSqlQuery("select  * from config ", &query));
  EXPECT_TRUE(query.Active());
  EXPECT_FALSE(OpenSqlQuery("select val65 from newdata", &query));
  EXPECT_FALSE(query.Active());
  const std::vector<LogLine> lines = ReadLogLines(folder.Path());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].text.find("select val65 from newdata" + Utf8ToAnsi(" sql异常.\r")),
            std::string::npos);
  EXPECT_TRUE(OpenSqlQuery("select count(id) as icnt from olddata", &query));
  EXPECT_EQ(query.FieldByName("icnt")->AsInteger(), 0);
}

// The shared connection works on the program's own file, also in a folder whose name is not
// plain ASCII, and a second call keeps the one connection.
TEST_F(DatabaseTest, ConnectDatabaseOpensTheProgramsFileOnce) {
  for (const char* sub : {"plain\\", "Prüfung ℃\\"}) {
    AppPath = folder.Path() + sub;
    ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(AppPath).c_str(), nullptr)) << sub;
    CreateDatabaseSchema();
    ASSERT_TRUE(ConnectDatabase()) << sub;
    TZConnection* first = DbConnection;
    EXPECT_EQ(first->Owner(), nullptr);
    EXPECT_TRUE(ExecSqlCommand("update config set modecnt='3'")) << sub;
    // The row is in the file the program's folder holds.
    EXPECT_EQ(SqlRows(AppPath + "VKT_DATA.db", "select modecnt from config")[0][0], "3") << sub;
    EXPECT_TRUE(ConnectDatabase());
    EXPECT_EQ(DbConnection, first);
    EXPECT_TRUE(DbConnection->Connected());
    DbConnection->Disconnect();
    delete DbConnection;
    DbConnection = nullptr;
  }
}

TEST(AnsiToUtf8Text, ConvertsThroughTheAnsiCodePage) {
  EXPECT_EQ(AnsiToUtf8Text(""), "");
  EXPECT_EQ(AnsiToUtf8Text("C:\\data\\VKT_DATA.db"), "C:\\data\\VKT_DATA.db");
  EXPECT_EQ(AnsiToUtf8Text(Utf8ToAnsi("Ab")), "Ab");
}

}  // namespace
