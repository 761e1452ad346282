// The import's insert texts run through a prepared statement must store exactly what the text
// itself stores: compared column by column (value, type, quoted form) against sqlite3_exec of
// the same text, for the number forms the recorder writes; other texts run as they are.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/Database.h"
#include "app/LiteralInsert.h"
#include "toolkit/data/SQLiteDatabase.h"

namespace {

class LiteralInsertTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    for (const char* table : {"olddata", "other"})
      sqlite3_exec(db_, ReadingTableSql(table).c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db_, "create table plain (a, b text)", nullptr, nullptr, nullptr);
  }
  void TearDown() override { sqlite3_close(db_); }

  std::vector<std::string> Column(const std::string& sql) {
    std::vector<std::string> out;
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
    while (st && sqlite3_step(st) == SQLITE_ROW) {
      std::string row;
      for (int c = 0; c < sqlite3_column_count(st); ++c) {
        const unsigned char* t = sqlite3_column_text(st, c);
        row += (t ? reinterpret_cast<const char*>(t) : "<null>") + std::string("|");
      }
      out.push_back(row);
    }
    sqlite3_finalize(st);
    return out;
  }

  sqlite3* db_ = nullptr;
};

TEST_F(LiteralInsertTest, StoresWhatTheTextStores) {
  const std::vector<std::string> numbers = {"25.3",   "-10.0", "0.0",     "0.05",   "27.9",  "-0.25",
                                            "123456.78", "20",  "-7",     "0.1",    "99999999.99", "3.14159"};
  TLiteralInsert fast(db_, "olddata");
  for (const std::string& n : numbers) {
    const std::string tail = "(dtime,val1,val2,dtime2) values ('2024-03-05 08:07:06'," + n + ",1.5,'it''s')";
    ASSERT_EQ(sqlite3_exec(db_, (" insert into other" + tail).c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    fast.Exec(" insert into olddata" + tail);
  }
  const std::string columns = "select dtime, typeof(dtime), val1, typeof(val1), quote(val1), val2, dtime2, "
                              "typeof(dtime2), val3 from ";
  const auto expected = Column(columns + "other order by id");
  ASSERT_EQ(expected.size(), numbers.size());
  EXPECT_EQ(Column(columns + "olddata order by id"), expected);
}

TEST_F(LiteralInsertTest, OtherTextsRunAsTheyAre) {
  TLiteralInsert fast(db_, "olddata");
  // Another table (its columns may lack numeric affinity), an expression, a trailing clause.
  fast.Exec("insert into plain(a, b) values (1.5, 2.50)");
  fast.Exec(" insert into olddata(val1) values (1+1)");
  fast.Exec(" insert into olddata(val1) values (3) ;");
  EXPECT_EQ(Column("select typeof(a), b from plain"), std::vector<std::string>{"real|2.5|"});
  EXPECT_EQ(Column("select val1 from olddata order by id"), (std::vector<std::string>{"2.0|", "3.0|"}));
}

TEST_F(LiteralInsertTest, FailuresRaiseWithTheDatabaseMessage) {
  TLiteralInsert fast(db_, "olddata");
  try {
    fast.Exec(" insert into olddata(val99) values (1.0)");
    FAIL() << "no exception";
  } catch (const ESQLiteException& e) {
    EXPECT_NE(std::string(e.what()).find("val99"), std::string::npos) << e.what();
  }
  sqlite3_exec(db_, "create unique index one_time on olddata(dtime)", nullptr, nullptr, nullptr);
  fast.Exec(" insert into olddata(dtime,val1) values ('2024-01-01 00:00:00',1.0)");
  EXPECT_THROW(fast.Exec(" insert into olddata(dtime,val1) values ('2024-01-01 00:00:00',2.0)"), ESQLiteException);
  // The statement stays usable after a failed step.
  fast.Exec(" insert into olddata(dtime,val1) values ('2024-01-01 00:00:01',3.0)");
  EXPECT_EQ(Column("select count(*) from olddata"), std::vector<std::string>{"2|"});
}

TEST(LiteralInsertSplit, Forms) {
  std::string head;
  std::vector<TLiteralInsert::Literal> literals;
  ASSERT_TRUE(TLiteralInsert::Split(" insert into olddata(dtime,val1,dtime2) values ('a''b',-1.5,'c')", "olddata",
                                    head, literals));
  EXPECT_EQ(head, " insert into olddata(dtime,val1,dtime2) values (");
  ASSERT_EQ(literals.size(), 3u);
  EXPECT_EQ(literals[0].text, "a'b");
  EXPECT_FALSE(literals[0].number);
  EXPECT_EQ(literals[1].text, "-1.5");
  EXPECT_TRUE(literals[1].number);
  EXPECT_FALSE(TLiteralInsert::Split(" insert into olddata(v) values (1e5)", "olddata", head, literals));
  EXPECT_FALSE(TLiteralInsert::Split(" insert into olddata(v) values ('open", "olddata", head, literals));
  EXPECT_FALSE(TLiteralInsert::Split(" insert into olddata(v) values (1) x", "olddata", head, literals));
  EXPECT_FALSE(TLiteralInsert::Split(" insert into olddata2(v) values (1)", "olddata", head, literals));
}

}  // namespace
