// Internal to the data module: the owner of one prepared SQLite statement and the runner of a
// statement list, shared by TZQuery (the connection's commands) and TSQLiteDatabase (schema and
// bulk work), so both execute SQL text the same way.
#pragma once

#include <functional>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// Owns a prepared statement; finalises it when it goes.
class TSQLiteStatement {
 public:
  TSQLiteStatement() = default;
  ~TSQLiteStatement();
  TSQLiteStatement(const TSQLiteStatement&) = delete;
  TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;

  sqlite3_stmt** out() { return &stmt_; }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Prepares and steps every statement of `sql` in turn, discarding rows; blanks and comments
// between statements are skipped. Returns the number of rows the statements changed. When a
// statement cannot be prepared or fails, calls `fail`, which must raise (SQLite's message is
// still current then); statements before it stay done.
int RunSqlStatements(sqlite3* db, std::string_view sql, const std::function<void()>& fail);
