// TSQLiteDatabase: open, execute, table test, transactions.
#include "toolkit/data/SQLiteDatabase.h"

#include <sqlite3.h>

namespace {

// Owns a prepared statement.
class Statement {
 public:
  Statement() = default;
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt** out() { return &stmt_; }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

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
  const char* at = sql.data();
  const char* end = sql.data() + sql.size();
  while (at < end) {
    Statement stmt;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, at, static_cast<int>(end - at), stmt.out(), &tail) != SQLITE_OK)
      Raise("Error executing SQL \"" + std::string(sql) + "\"");
    at = tail ? tail : end;
    if (!stmt.get()) continue;  // blanks or a comment
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) Raise("Error executing SQL \"" + std::string(sql) + "\"");
  }
}

std::string TSQLiteDatabase::GetTableString(std::string_view sql) {
  Statement stmt;
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
  Statement stmt;
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
