// TZQuery: statement preparation, row loading and command execution. Each run holds the
// connection's SQLite mutex, so its statements and error text are not interleaved with another
// thread's use of the same connection.
#include "toolkit/data/ZQuery.h"

#include <sqlite3.h>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/SQLiteStatement.h"
#include "toolkit/data/ZConnection.h"

namespace {

class DbMutex {
 public:
  explicit DbMutex(sqlite3* db) : m_(sqlite3_db_mutex(db)) { sqlite3_mutex_enter(m_); }
  ~DbMutex() { sqlite3_mutex_leave(m_); }
  DbMutex(const DbMutex&) = delete;
  DbMutex& operator=(const DbMutex&) = delete;

 private:
  sqlite3_mutex* m_;
};

[[noreturn]] void RaiseSql(sqlite3* db) {
  throw EZSQLException(std::string("SQL Error: ") + sqlite3_errmsg(db));
}

TFieldValue ColumnValue(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
      return static_cast<long long>(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt, column);
    case SQLITE_NULL:
      return std::monostate();
    default: {
      const void* data = sqlite3_column_blob(stmt, column);
      const int size = sqlite3_column_bytes(stmt, column);
      return std::string(static_cast<const char*>(data), data ? static_cast<size_t>(size) : 0);
    }
  }
}

}  // namespace

// ---- TZQuery -----------------------------------------------------------------------------

const TClassInfo& TZQuery::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TZQuery>("TZQuery", &TDataSet::StaticClass()).Build();
  return info;
}

TZQuery::~TZQuery() {
  try {
    Close();
  } catch (...) {
  }
  if (connection_) connection_->Detach(this);
}

void TZQuery::SetConnection(TZConnection* connection) {
  if (connection == connection_) return;
  Close();
  if (connection_) connection_->Detach(this);
  connection_ = connection;
  if (connection_) connection_->Attach(this);
}

TFieldType TZQuery::FieldTypeOfDeclared(const char* declaredType) {
  if (!declaredType) return ftString;
  const std::string t = UpperCase(Trim(declaredType));
  if (t == "INTEGER") return ftInteger;
  if (t == "TIMESTAMP") return ftDateTime;
  if (t == "FLOAT") return ftFloat;
  return ftString;
}

TZConnection* TZQuery::ReadyConnection() {
  if (!connection_) throw EDatabaseError("Database connection component is not assigned");
  connection_->Connect();
  return connection_;
}

void TZQuery::InternalOpen() {
  sqlite3* db = ReadyConnection()->Handle();
  const std::string text = SQL.Text();
  DbMutex hold(db);
  TSQLiteStatement stmt;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), stmt.out(), &tail) !=
      SQLITE_OK)
    RaiseSql(db);
  const int columns = stmt.get() ? sqlite3_column_count(stmt.get()) : 0;
  if (columns == 0) throw EZSQLException("SQL Error: the statement returns no result set");

  values_.clear();
  rowCount_ = 0;
  int rc;
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) values_.push_back(ColumnValue(stmt.get(), c));
    ++rowCount_;
  }
  if (rc != SQLITE_DONE) {
    values_.clear();
    rowCount_ = 0;
    RaiseSql(db);
  }
  columns_ = columns;
  for (int c = 0; c < columns; ++c)
    AddField(sqlite3_column_name(stmt.get(), c),
             FieldTypeOfDeclared(sqlite3_column_decltype(stmt.get(), c)));
}

std::vector<TFieldDef> TZQuery::InternalInitFieldDefs() {
  sqlite3* db = ReadyConnection()->Handle();
  const std::string text = SQL.Text();
  DbMutex hold(db);
  TSQLiteStatement stmt;
  if (sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), stmt.out(), nullptr) !=
      SQLITE_OK)
    RaiseSql(db);
  std::vector<TFieldDef> defs;
  const int columns = stmt.get() ? sqlite3_column_count(stmt.get()) : 0;
  for (int c = 0; c < columns; ++c)
    defs.push_back({sqlite3_column_name(stmt.get(), c),
                    FieldTypeOfDeclared(sqlite3_column_decltype(stmt.get(), c))});
  return defs;
}

void TZQuery::InternalClose() {
  values_.clear();
  values_.shrink_to_fit();
  rowCount_ = 0;
  columns_ = 0;
}

void TZQuery::ExecSQL() {
  sqlite3* db = ReadyConnection()->Handle();
  const std::string text = SQL.Text();
  DbMutex hold(db);
  rowsAffected_ = 0;  // stays 0 when a statement fails
  rowsAffected_ = RunSqlStatements(db, text, [db] { RaiseSql(db); });
}
