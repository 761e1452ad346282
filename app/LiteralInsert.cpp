// Literal insert texts through a cached prepared statement.
#include "app/LiteralInsert.h"

#include <sqlite3.h>

#include "toolkit/data/SQLiteDatabase.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number as the recorder writes it: optional sign, digits, optional fraction.
bool IsPlainNumber(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  return digits > 0 && i == text.size();
}

// The text names "insert into <table>(" after leading blanks.
bool InsertsInto(std::string_view sql, std::string_view table) {
  size_t i = 0;
  while (i < sql.size() && sql[i] == ' ') ++i;
  sql.remove_prefix(i);
  return sql.size() > 12 + table.size() && SameText(sql.substr(0, 12), "insert into ") &&
         SameText(sql.substr(12, table.size()), table) && sql[12 + table.size()] == '(';
}

}  // namespace

TLiteralInsert::~TLiteralInsert() { sqlite3_finalize(stmt_); }

bool TLiteralInsert::Split(std::string_view sql, std::string_view table, std::string& head,
                           std::vector<Literal>& literals) {
  literals.clear();
  if (!InsertsInto(sql, table)) return false;
  const size_t values = sql.find(" values (");
  if (values == std::string_view::npos) return false;
  const size_t start = values + 9;
  head.assign(sql.data(), start);
  size_t i = start;
  while (true) {
    Literal literal;
    if (i < sql.size() && sql[i] == '\'') {
      ++i;
      while (true) {
        if (i >= sql.size()) return false;
        if (sql[i] == '\'') {
          if (i + 1 < sql.size() && sql[i + 1] == '\'') {
            literal.text += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal.text += sql[i++];
      }
    } else {
      const size_t end = sql.find_first_of(",)", i);
      if (end == std::string_view::npos) return false;
      literal.text.assign(sql.substr(i, end - i));
      if (!IsPlainNumber(literal.text)) return false;
      literal.number = true;
      i = end;
    }
    literals.push_back(std::move(literal));
    if (i >= sql.size()) return false;
    if (sql[i] == ',') {
      ++i;
      continue;
    }
    if (sql[i] != ')') return false;
    ++i;
    break;
  }
  // Nothing may follow but blanks.
  for (; i < sql.size(); ++i)
    if (sql[i] != ' ') return false;
  return true;
}

void TLiteralInsert::ExecText(std::string_view sql) {
  char* error = nullptr;
  const std::string text(sql);
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    throw ESQLiteException("Error executing SQL \"" + text + "\" : " + message);
  }
}

void TLiteralInsert::Exec(std::string_view sql) {
  std::string head;
  if (!Split(sql, table_, head, literals_)) {
    ExecText(sql);
    return;
  }
  if (!stmt_ || head != head_ || literals_.size() != count_) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    std::string shape = head;
    for (size_t i = 0; i < literals_.size(); ++i) shape += i == 0 ? "?" : ",?";
    shape += ")";
    if (sqlite3_prepare_v2(db_, shape.c_str(), static_cast<int>(shape.size()), &stmt_, nullptr) != SQLITE_OK) {
      // Let the text itself report what is wrong with it.
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
      ExecText(sql);
      return;
    }
    head_ = head;
    count_ = literals_.size();
  }
  for (size_t i = 0; i < literals_.size(); ++i) {
    const std::string& t = literals_[i].text;
    sqlite3_bind_text(stmt_, static_cast<int>(i + 1), t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
  }
  const int rc = sqlite3_step(stmt_);
  const std::string message = rc == SQLITE_DONE ? std::string() : sqlite3_errmsg(db_);
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  if (rc != SQLITE_DONE) throw ESQLiteException("Error executing SQL \"" + std::string(sql) + "\" : " + message);
}
