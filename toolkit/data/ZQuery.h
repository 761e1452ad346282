// TZQuery: an SQL statement on a TZConnection, run either as a result set (Open: every row is
// read into memory, so the cursor, bookmarks and refresh never touch the database again until
// reopened) or as a command (ExecSQL). Field kinds follow the declared column types: INTEGER ->
// ftInteger, TimeStamp -> ftDateTime, FLOAT -> ftFloat, anything else (or an expression) ->
// ftString.
// Loaded rows sit in blocks of typed cells (a kind byte and eight bytes per cell) with the texts
// in pooled blocks: a large result costs no allocation per row or per cell, and growing never
// copies what was loaded (fresh memory is what a large load pays for most: it is touched once).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/classes/StringList.h"
#include "toolkit/data/DataSet.h"

class TZConnection;

class TZQuery : public TDataSet {
 public:
  explicit TZQuery(TComponent* owner = nullptr) : TDataSet(owner) {}
  ~TZQuery() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TZConnection* Connection() const { return connection_; }
  // Attaches the query to `connection` (closing it first when it was open elsewhere).
  void SetConnection(TZConnection* connection);

  // The statement text, one entry per line (run as its Text).
  TStringList SQL;

  // Runs the statement(s) as commands. Raises EZSQLException ("SQL Error: " + message) or
  // EDatabaseError when there is no connection; connects a closed connection first.
  void ExecSQL();
  // Rows changed by the last ExecSQL.
  int RowsAffected() const { return rowsAffected_; }

  // The field kind of a declared column type.
  static TFieldType FieldTypeOfDeclared(const char* declaredType);

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  // Prepares the statement (without running it) for its column names and declared types.
  std::vector<TFieldDef> InternalInitFieldDefs() override;
  int InternalRecordCount() const override { return rowCount_; }
  // Builds the value of a cell on demand; it stays until another record's value of the same
  // column is asked for.
  const TFieldValue& InternalValue(int record, int field) const override;
  TFieldCell InternalCell(int record, int field) const override;

 private:
  friend class TZConnection;
  TZConnection* ReadyConnection();

  void DropRows();
  const char* StoreText(const void* data, size_t size);

  TZConnection* connection_ = nullptr;
  // Rows in blocks of `rowsPerBlock_` rows, `columns_` cells each, row after row: the kind, and
  // the integer, the bits of the real or the address of a text in a text block (its size
  // first, then its bytes). Blocks never move once filled.
  struct TCellBlock {
    std::unique_ptr<unsigned char[]> kinds;
    std::unique_ptr<long long[]> cells;
  };
  std::vector<TCellBlock> blocks_;
  std::vector<std::unique_ptr<char[]>> textBlocks_;
  size_t textFree_ = 0;  // bytes left in the last text block
  char* textNext_ = nullptr;
  int rowsPerBlock_ = 1;
  // Values built by InternalValue, one per column, and the record each belongs to (-1: none).
  mutable std::vector<TFieldValue> built_;
  mutable std::vector<int> builtRecord_;
  int columns_ = 0;
  int rowCount_ = 0;
  int rowsAffected_ = 0;
};
