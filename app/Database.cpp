// Schema creation over the SQLite wrapper, the shared connection, and the guarded SQL routines.
#include "app/Database.h"

#include <memory>

#include "app/AppGlobals.h"
#include "app/DailyLog.h"
#include "toolkit/data/SQLiteDatabase.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/SyncObjs.h"

void LockDatabase() { DbLock.Enter(); }
void UnlockDatabase() { DbLock.Leave(); }

namespace {

// Holds DbLock for a scope.
class DatabaseLockHold {
 public:
  DatabaseLockHold() { LockDatabase(); }
  ~DatabaseLockHold() { UnlockDatabase(); }
  DatabaseLockHold(const DatabaseLockHold&) = delete;
  DatabaseLockHold& operator=(const DatabaseLockHold&) = delete;
};

}  // namespace

std::string DatabaseFileName() { return AppPath + "VKT_DATA.db"; }

std::string ConfigTableSql() {
  return " CREATE TABLE config ([ID] INTEGER PRIMARY KEY,[modecnt] INTEGER NULL, [pointcnt] "
         "INTEGER NULL, [mode1type] varchar (5), [mode2type] varchar (5), [mode3type] varchar "
         "(5), [mode4type] varchar (5), [mode5type] varchar (5), [mode6type] varchar (5), "
         "[mode7type] varchar (5), [mode8type] varchar (5) )";
}

std::string DefaultConfigRowSql() {
  return "INSERT INTO config(modecnt,pointcnt,mode1type,mode2type,mode3type,mode4type,mode5type,"
         "mode6type,mode7type,mode8type)  VALUES (1,1,\"J\",\"K\",\"K\",\"K\",\"K\",\"K\",\"K\","
         "\"K\");";
}

std::string ReadingTableSql(std::string_view tableName) {
  std::string sql = " CREATE TABLE " + std::string(tableName) +
                    " ([ID] INTEGER PRIMARY KEY,[dtime] TimeStamp NOT NULL DEFAULT "
                    "(datetime('now','localtime')) , [dtime2] TimeStamp NOT NULL DEFAULT "
                    "(datetime('now','localtime')) ,";
  for (int n = 1; n <= 64; ++n) sql += " [val" + std::to_string(n) + "] FLOAT,";
  sql.pop_back();  // the last comma
  sql += ")";
  return sql;
}

void CreateDatabaseSchema() {
  TSQLiteDatabase db(DatabaseFileName());
  if (!db.TableExists("config")) {
    db.ExecSQL(ConfigTableSql());
    db.BeginTransaction();
    db.ExecSQL(DefaultConfigRowSql());
    db.Commit();
  }
  if (!db.TableExists("newdata")) db.ExecSQL(ReadingTableSql("newdata"));
  if (!db.TableExists("olddata")) db.ExecSQL(ReadingTableSql("olddata"));
}

bool ConnectDatabase() {
  if (!DbConnection) DbConnection = new TZConnection();
  DbConnection->Protocol = "sqlite-3";
  DbConnection->AutoEncodeStrings = true;
  DbConnection->Port = 3306;
  DbConnection->HostName = "127.0.0.1";
  DbConnection->Database = DatabaseFileName();
  DbConnection->Connect();
  return true;
}

bool OpenSqlQuery(const std::string& sql, TZQuery* query) {
  try {
    query->SetConnection(DbConnection);
    query->Close();
    query->SQL.SetText(sql);
    DatabaseLockHold hold;
    query->Open();
    return true;
  } catch (const Exception& e) {
    WriteLog(sql + " sql异常.\r" + e.Message(), "Except");
    return false;
  }
}

bool ExecSqlCommand(const std::string& sql) {
  try {
    TZQuery query;
    query.Close();
    query.SQL.Clear();
    query.SetConnection(DbConnection);
    query.SQL.Add(sql);
    DatabaseLockHold hold;
    query.ExecSQL();
    return true;
  } catch (const Exception& e) {
    WriteLog(sql + " 异常.\r" + e.Message(), "Except");
    return false;
  }
}

std::string AnsiToUtf8Text(std::string_view text) {
  if (text.empty()) return {};
  return WideToUtf8(Utf8ToWide(AnsiToUtf8(text)));
}
