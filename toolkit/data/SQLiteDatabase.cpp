// TSQLiteDatabase: open, execute, table test, transactions.
#include "toolkit/data/SQLiteDatabase.h"

#include <sqlite3.h>

#include "toolkit/data/SQLiteStatement.h"

TSQLiteDatabase::TSQLiteDatabase(const std::string& fileName) : fileName_(fileName) {
  const int rc = sqlite3_open(fileName.c_str(), &db_);
  if (rc != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    throw ESQLiteException("Failed to open database \"" + fileName + "\" : " + message);
  }
}

TSQLiteDatabase::~TSQLiteDatabase() { sqlite3_close_v2(db_); }

void TSQLiteDatabase::Raise(const std::string& what) {
  throw ESQLiteException(what + " : " + sqlite3_errmsg(db_));
}

void TSQLiteDatabase::ExecSQL(std::string_view sql) {
  RunSqlStatements(db_, sql, [&] { Raise("Error executing SQL \"" + std::string(sql) + "\""); });
}

std::string TSQLiteDatabase::GetTableString(std::string_view sql) {
  TSQLiteStatement stmt;
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), stmt.out(), nullptr) !=
          SQLITE_OK ||
      !stmt.get())
    Raise("Could not prepare SQL statement \"" + std::string(sql) + "\"");
  const int rc = sqlite3_step(stmt.get());
  if (rc == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(stmt.get(), 0);
    return text ? reinterpret_cast<const char*>(text) : std::string();
  }
  if (rc != SQLITE_DONE) Raise("Error executing SQL \"" + std::string(sql) + "\"");
  return {};
}

bool TSQLiteDatabase::TableExists(std::string_view tableName) {
  std::string lower;
  for (char c : tableName) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  TSQLiteStatement stmt;
  const char* sql =
      "select [sql] from sqlite_master where [type] = 'table' and lower(name) = ?1";
  if (sqlite3_prepare_v2(db_, sql, -1, stmt.out(), nullptr) != SQLITE_OK)
    Raise("Could not prepare SQL statement");
  sqlite3_bind_text(stmt.get(), 1, lower.c_str(), static_cast<int>(lower.size()), SQLITE_TRANSIENT);
  const int rc = sqlite3_step(stmt.get());
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) Raise("Error executing SQL");
  return rc == SQLITE_ROW;
}

void TSQLiteDatabase::BeginTransaction() { ExecSQL("BEGIN TRANSACTION"); }
void TSQLiteDatabase::Commit() { ExecSQL("COMMIT"); }
void TSQLiteDatabase::Rollback() { ExecSQL("ROLLBACK"); }
