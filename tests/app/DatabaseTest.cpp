// The database file: schema statements byte for byte, creation on a fresh file, existing files
// left alone, a missing table created alone, and the guarded SQL routines' failure path.
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

const char kConfigSql[] =
    " CREATE TABLE config ([ID] INTEGER PRIMARY KEY,[modecnt] INTEGER NULL, [pointcnt] INTEGER "
    "NULL, [mode1type] varchar (5), [mode2type] varchar (5), [mode3type] varchar (5), [mode4type] "
    "varchar (5), [mode5type] varchar (5), [mode6type] varchar (5), [mode7type] varchar (5), "
    "[mode8type] varchar (5) )";
const char kDefaultRowSql[] =
    "INSERT INTO config(modecnt,pointcnt,mode1type,mode2type,mode3type,mode4type,mode5type,"
    "mode6type,mode7type,mode8type)  VALUES "
    "(1,1,\"J\",\"K\",\"K\",\"K\",\"K\",\"K\",\"K\",\"K\");";

std::string ExpectedReadingTable(const std::string& name) {
  std::string sql = " CREATE TABLE " + name +
                    " ([ID] INTEGER PRIMARY KEY,[dtime] TimeStamp NOT NULL DEFAULT "
                    "(datetime('now','localtime')) , [dtime2] TimeStamp NOT NULL DEFAULT "
                    "(datetime('now','localtime')) ,";
  for (int n = 1; n <= 63; ++n) sql += " [val" + std::to_string(n) + "] FLOAT,";
  return sql + " [val64] FLOAT)";
}

TEST(SchemaStatements, AreTheFixedTexts) {
  EXPECT_EQ(ConfigTableSql(), kConfigSql);
  EXPECT_EQ(DefaultConfigRowSql(), kDefaultRowSql);
  EXPECT_EQ(ReadingTableSql("newdata"), ExpectedReadingTable("newdata"));
  EXPECT_EQ(ReadingTableSql("olddata"), ExpectedReadingTable("olddata"));
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
  const auto tables =
      SqlRows(DatabaseFileName(), "select name, sql from sqlite_master where type='table' order by rowid");
  ASSERT_EQ(tables.size(), 3u);
  // SQLite keeps each statement from its CREATE keyword on.
  EXPECT_EQ(tables[0][0], "config");
  EXPECT_EQ(tables[0][1], std::string(kConfigSql).substr(1));
  EXPECT_EQ(tables[1][0], "newdata");
  EXPECT_EQ(tables[1][1], ExpectedReadingTable("newdata").substr(1));
  EXPECT_EQ(tables[2][0], "olddata");
  EXPECT_EQ(tables[2][1], ExpectedReadingTable("olddata").substr(1));

  const auto config = SqlRows(DatabaseFileName(), "select ID, modecnt, pointcnt, mode1type, mode2type, mode8type, "
                              "typeof(mode1type) from config");
  ASSERT_EQ(config.size(), 1u);
  EXPECT_EQ(config[0], (std::vector<std::string>{"1", "1", "1", "J", "K", "K", "text"}));
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
  EXPECT_EQ(tables[2][1], ExpectedReadingTable("olddata").substr(1));
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

TEST_F(DatabaseTest, ConnectDatabaseReusesTheConnection) {
  CreateDatabaseSchema();
  ASSERT_TRUE(ConnectDatabase());
  TZConnection* first = DbConnection;
  EXPECT_EQ(first->Protocol, "sqlite-3");
  EXPECT_EQ(first->Database, folder.Path() + "VKT_DATA.db");
  EXPECT_TRUE(first->AutoEncodeStrings);
  EXPECT_EQ(first->Port, 3306);
  EXPECT_EQ(first->HostName, "127.0.0.1");
  EXPECT_EQ(first->Owner(), nullptr);
  EXPECT_TRUE(ConnectDatabase());
  EXPECT_EQ(DbConnection, first);
  EXPECT_TRUE(DbConnection->Connected());
}

TEST(AnsiToUtf8Text, ConvertsThroughTheAnsiCodePage) {
  EXPECT_EQ(AnsiToUtf8Text(""), "");
  EXPECT_EQ(AnsiToUtf8Text("C:\\data\\VKT_DATA.db"), "C:\\data\\VKT_DATA.db");
  EXPECT_EQ(AnsiToUtf8Text(Utf8ToAnsi("Ab")), "Ab");
}

}  // namespace
