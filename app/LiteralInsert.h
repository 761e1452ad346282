// Runs the history import's insert statements — "insert into T(columns) values (literals)"
// texts with quoted-text and decimal-number literals — through one prepared statement per
// statement shape, binding the literals instead of compiling every text anew. The stored row
// is the one the text itself would store: text literals are bound as the same text, and
// number literals as their text, which the value columns' numeric affinity (FLOAT, TimeStamp)
// converts with the very routine the SQL parser uses for a literal. So the fast path is only
// for the one table given, whose columns must all have numeric affinity (olddata: FLOAT and
// TimeStamp); a text of any other form or table runs through the connection as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class TLiteralInsert {
 public:
  // `table`: the table whose inserts take the fast path; `db` stays the caller's.
  TLiteralInsert(sqlite3* db, std::string table) : db_(db), table_(std::move(table)) {}
  ~TLiteralInsert();
  TLiteralInsert(const TLiteralInsert&) = delete;
  TLiteralInsert& operator=(const TLiteralInsert&) = delete;

  // Runs `sql` (see above). Raises ESQLiteException with the connection's message on failure,
  // as executing the text does.
  void Exec(std::string_view sql);

  // Splits an insert text into the part up to and including "values (" and its literals
  // (quoted texts unquoted; numbers as written, flagged). False when the text has another form.
  struct Literal {
    std::string text;
    bool number = false;
  };
  static bool Split(std::string_view sql, std::string_view table, std::string& head,
                    std::vector<Literal>& literals);

 private:
  void ExecText(std::string_view sql);
  sqlite3* db_;
  std::string table_;
  sqlite3_stmt* stmt_ = nullptr;
  std::string head_;  // the statement's shape: head text and literal count
  size_t count_ = 0;
  std::vector<Literal> literals_;
};
