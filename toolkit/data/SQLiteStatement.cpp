// Prepared-statement owner and statement-list runner over SQLite's C interface.
#include "toolkit/data/SQLiteStatement.h"

#include <sqlite3.h>

TSQLiteStatement::~TSQLiteStatement() { sqlite3_finalize(stmt_); }

int RunSqlStatements(sqlite3* db, std::string_view sql, const std::function<void()>& fail) {
  const long long before = sqlite3_total_changes64(db);
  const char* at = sql.data();
  const char* end = sql.data() + sql.size();
  while (at < end) {
    TSQLiteStatement stmt;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, at, static_cast<int>(end - at), stmt.out(), &tail) != SQLITE_OK)
      fail();
    at = tail ? tail : end;
    if (!stmt.get()) continue;  // blanks or a comment
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) fail();
  }
  // Counted over the whole list, so statements that change nothing (CREATE, BEGIN) add nothing.
  return static_cast<int>(sqlite3_total_changes64(db) - before);
}
