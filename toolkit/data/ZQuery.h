// TZQuery: an SQL statement on a TZConnection, run either as a result set (Open: every row is
// read into memory, so the cursor, bookmarks and refresh never touch the database again until
// reopened) or as a command (ExecSQL). Field kinds follow the declared column types: INTEGER ->
// ftInteger, TimeStamp -> ftDateTime, FLOAT -> ftFloat, anything else (or an expression) ->
// ftString.
#pragma once

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
  const TFieldValue& InternalValue(int record, int field) const override {
    return values_[static_cast<size_t>(record) * static_cast<size_t>(columns_) +
                   static_cast<size_t>(field)];
  }

 private:
  friend class TZConnection;
  TZConnection* ReadyConnection();

  TZConnection* connection_ = nullptr;
  std::vector<TFieldValue> values_;  // row after row
  int columns_ = 0;
  int rowCount_ = 0;
  int rowsAffected_ = 0;
};
