// TZQuery: statement preparation, row loading and command execution. Each run holds the
// connection's SQLite mutex, so its statements and error text are not interleaved with another
// thread's use of the same connection.
#include "toolkit/data/ZQuery.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// About half a megabyte of cells per block, and a quarter of one per text block.
constexpr int kCellsPerBlock = 65536;
constexpr size_t kTextBlockBytes = 256 * 1024;

[[noreturn]] void RaiseSql(sqlite3* db) {
  throw EZSQLException(std::string("SQL Error: ") + sqlite3_errmsg(db));
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

  DropRows();
  sqlite3_stmt* st = stmt.get();
  rowsPerBlock_ = std::max(1, kCellsPerBlock / columns);
  const size_t blockCells = static_cast<size_t>(rowsPerBlock_) * static_cast<size_t>(columns);
  unsigned char* kind = nullptr;
  long long* cell = nullptr;
  int rowInBlock = rowsPerBlock_;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    if (rowInBlock == rowsPerBlock_) {
      // Uninitialised: every cell of a row is written before the row counts.
      TCellBlock block{std::unique_ptr<unsigned char[]>(new unsigned char[blockCells]),
                       std::unique_ptr<long long[]>(new long long[blockCells])};
      kind = block.kinds.get();
      cell = block.cells.get();
      blocks_.push_back(std::move(block));
      rowInBlock = 0;
    }
    for (int c = 0; c < columns; ++c) {
      // One column call per cell; the connection's mutex is held for the whole load, so
      // reading the column's value object directly is safe.
      sqlite3_value* v = sqlite3_column_value(st, c);
      switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
          kind[c] = TFieldCell::Integer;
          cell[c] = static_cast<long long>(sqlite3_value_int64(v));
          break;
        case SQLITE_FLOAT: {
          kind[c] = TFieldCell::Real;
          const double d = sqlite3_value_double(v);
          std::memcpy(&cell[c], &d, sizeof d);
          break;
        }
        case SQLITE_NULL:
          kind[c] = TFieldCell::Null;
          cell[c] = 0;
          break;
        default: {
          // Text and blobs alike: the stored bytes, no conversion.
          const void* data = sqlite3_value_blob(v);
          const size_t size = data ? static_cast<size_t>(sqlite3_value_bytes(v)) : 0;
          kind[c] = TFieldCell::Text;
          cell[c] = static_cast<long long>(reinterpret_cast<intptr_t>(StoreText(data, size)));
          break;
        }
      }
    }
    kind += columns;
    cell += columns;
    ++rowInBlock;
    ++rowCount_;
  }
  if (rc != SQLITE_DONE) {
    DropRows();
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

const char* TZQuery::StoreText(const void* data, size_t size) {
  const size_t need = sizeof size + size;
  if (need > textFree_) {
    // A text larger than a block gets a block of its own.
    const size_t blockSize = std::max(need, kTextBlockBytes);
    textBlocks_.emplace_back(new char[blockSize]);
    textNext_ = textBlocks_.back().get();
    textFree_ = blockSize;
  }
  char* at = textNext_;
  std::memcpy(at, &size, sizeof size);
  if (size > 0) std::memcpy(at + sizeof size, data, size);
  textNext_ += need;
  textFree_ -= need;
  return at;
}

void TZQuery::DropRows() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  textBlocks_.clear();
  textBlocks_.shrink_to_fit();
  textFree_ = 0;
  textNext_ = nullptr;
  built_.clear();
  builtRecord_.clear();
  rowCount_ = 0;
  columns_ = 0;
}

void TZQuery::InternalClose() { DropRows(); }

TFieldCell TZQuery::InternalCell(int record, int field) const {
  const TCellBlock& block = blocks_[static_cast<size_t>(record / rowsPerBlock_)];
  const size_t at = static_cast<size_t>(record % rowsPerBlock_) * static_cast<size_t>(columns_) +
                    static_cast<size_t>(field);
  const long long stored = block.cells[at];
  TFieldCell cell;
  cell.kind = static_cast<TFieldCell::Kind>(block.kinds[at]);
  switch (cell.kind) {
    case TFieldCell::Integer:
      cell.integer = stored;
      break;
    case TFieldCell::Real:
      std::memcpy(&cell.real, &stored, sizeof cell.real);
      break;
    case TFieldCell::Text: {
      const char* p = reinterpret_cast<const char*>(static_cast<intptr_t>(stored));
      size_t size = 0;
      std::memcpy(&size, p, sizeof size);
      cell.text = std::string_view(p + sizeof size, size);
      break;
    }
    case TFieldCell::Null:
      break;
  }
  return cell;
}

const TFieldValue& TZQuery::InternalValue(int record, int field) const {
  if (built_.size() != static_cast<size_t>(columns_)) {
    built_.assign(static_cast<size_t>(columns_), TFieldValue());
    builtRecord_.assign(static_cast<size_t>(columns_), -1);
  }
  const size_t f = static_cast<size_t>(field);
  if (builtRecord_[f] != record) {
    built_[f] = InternalCell(record, field).ToValue();
    builtRecord_[f] = record;
  }
  return built_[f];
}

void TZQuery::ExecSQL() {
  sqlite3* db = ReadyConnection()->Handle();
  const std::string text = SQL.Text();
  DbMutex hold(db);
  rowsAffected_ = 0;  // stays 0 when a statement fails
  rowsAffected_ = RunSqlStatements(db, text, [db] { RaiseSql(db); });
}
