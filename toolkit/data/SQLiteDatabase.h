// A thin wrapper over SQLite's C interface for the work that goes around the shared connection:
// creating tables and bulk inserts inside one transaction. Values travel inside the SQL text.
// Every failure raises ESQLiteException with SQLite's message.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/rtl/SysUtils.h"

struct sqlite3;

VK_DECLARE_EXCEPTION(ESQLiteException, Exception);

class TSQLiteDatabase {
 public:
  // Opens (creating when missing) the database file; `fileName` is UTF-8. Raises
  // ESQLiteException "Failed to open database "<name>" : <message>".
  explicit TSQLiteDatabase(const std::string& fileName);
  ~TSQLiteDatabase();
  TSQLiteDatabase(const TSQLiteDatabase&) = delete;
  TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

  // Runs every statement of `sql` to its end, discarding rows. Raises ESQLiteException.
  void ExecSQL(std::string_view sql);
  // True when sqlite_master lists a table whose lower-cased name is `tableName` lower-cased.
  bool TableExists(std::string_view tableName);
  // "BEGIN TRANSACTION", "COMMIT", "ROLLBACK".
  void BeginTransaction();
  void Commit();
  void Rollback();
  // The first column of the first row of a query as text (empty for no row or NULL).
  std::string GetTableString(std::string_view sql);

  const std::string& FileName() const { return fileName_; }
  sqlite3* Handle() const { return db_; }

 private:
  [[noreturn]] void Raise(const std::string& what);
  std::string fileName_;
  sqlite3* db_ = nullptr;
};
