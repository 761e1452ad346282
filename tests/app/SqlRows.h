// Reads and writes a database file in tests with SQLite directly, past the code under test, so a
// check of what the recorder stored never goes through the recorder's own data layer.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

// Rows of a query on the database file ("<null>" for NULL); a failure to open or prepare is a
// test failure and gives no rows.
inline std::vector<std::vector<std::string>> SqlRows(const std::string& file, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << file;
    sqlite3_close(db);
    return rows;
  }
  sqlite3_stmt* st = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
  while (st && sqlite3_step(st) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
      const unsigned char* t = sqlite3_column_text(st, c);
      row.push_back(t ? reinterpret_cast<const char*>(t) : "<null>");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows;
}

// Runs statements on the database file (created when missing); a failure is a test failure.
inline void SqlExec(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK) << file;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
}
