// TZConnection and TZQuery over a real SQLite file: field kinds from declared column types,
// value conversions, the cursor and bookmarks over loaded rows, refresh, commands, and errors
// that leave the connection usable.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/TempFolder.h"
#include "toolkit/data/DataSource.h"
#include "toolkit/data/SQLiteDatabase.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"

namespace {

class ZQueryTest : public testing::Test {
 protected:
  void SetUp() override {
    connection.Protocol = "sqlite-3";
    connection.Database = folder.Path() + "test.db";
    connection.Connect();
    Exec("create table readings ([ID] INTEGER PRIMARY KEY, [dtime] TimeStamp NOT NULL DEFAULT "
         "(datetime('now','localtime')), [val1] FLOAT, [note] varchar (5), [cnt] integer)");
    Exec("insert into readings(dtime, val1, note, cnt) values ('2024-03-05 08:07:06', 25.5, 'a', 7)");
    Exec("insert into readings(dtime, val1, note, cnt) values ('2024-03-05 08:07:07', NULL, NULL, NULL)");
    Exec("insert into readings(dtime, val1, note, cnt) values ('2024-03-05 08:07:08', -10, '12', 9)");
    query.SetConnection(&connection);
  }
  void Exec(const std::string& sql) {
    TZQuery q;
    q.SetConnection(&connection);
    q.SQL.Add(sql);
    q.ExecSQL();
  }
  void OpenQuery(const std::string& sql) {
    query.Close();
    query.SQL.SetText(sql);
    query.Open();
  }

  TempFolder folder;
  TZConnection connection;
  TZQuery query;
};

TEST_F(ZQueryTest, FieldKindsFollowDeclaredTypes) {
  OpenQuery("select ID, dtime, val1, note, cnt, val1 * 2 as twice from readings");
  ASSERT_EQ(query.FieldCount(), 6);
  EXPECT_EQ(query.GetFieldNames(),
            (std::vector<std::string>{"ID", "dtime", "val1", "note", "cnt", "twice"}));
  EXPECT_EQ(query.FieldByName("ID")->DataType(), ftInteger);
  EXPECT_EQ(query.FieldByName("dtime")->DataType(), ftDateTime);
  EXPECT_EQ(query.FieldByName("val1")->DataType(), ftFloat);
  EXPECT_EQ(query.FieldByName("note")->DataType(), ftString);
  EXPECT_EQ(query.FieldByName("cnt")->DataType(), ftInteger);  // declared in lower case
  EXPECT_EQ(query.FieldByName("twice")->DataType(), ftString);  // an expression has no type
  for (int i = 0; i < query.FieldCount(); ++i) {
    EXPECT_EQ(query.Fields(i)->FieldKind(), fkData) << i;  // columns, never aggregates
    EXPECT_EQ(query.Fields(i)->Index(), i);
  }
}

TEST_F(ZQueryTest, FieldDefsAreKnownWithoutOpening) {
  query.SQL.SetText("select val1, dtime2 from newdata");
  EXPECT_THROW(query.UpdateFieldDefs(), EZSQLException);  // no such table
  query.SQL.SetText("select val1, dtime from readings");
  query.UpdateFieldDefs();
  EXPECT_FALSE(query.Active());
  ASSERT_EQ(query.FieldDefs().size(), 2u);
  EXPECT_EQ(query.FieldDefs()[0].Name, "val1");
  EXPECT_EQ(query.FieldDefs()[0].DataType, ftFloat);
  EXPECT_EQ(query.FieldDefs()[1].DataType, ftDateTime);
  EXPECT_EQ(query.FieldCount(), 0);
}

TEST_F(ZQueryTest, ValuesConvertByKind) {
  OpenQuery("select dtime, val1, note, cnt from readings order by ID");
  TField* dtime = query.FieldByName("DTIME");  // names compare without case
  TField* val = query.FieldByName("val1");
  EXPECT_EQ(dtime->DisplayText(), "2024-03-05 08:07:06");
  EXPECT_DOUBLE_EQ(dtime->AsFloat(), EncodeDate(2024, 3, 5) + EncodeTime(8, 7, 6, 0));
  EXPECT_DOUBLE_EQ(val->AsFloat(), 25.5);
  EXPECT_EQ(val->AsInteger(), 26);  // rounded, halves to even: 25.5 -> 26
  EXPECT_EQ(val->DisplayText(), "25.5");
  EXPECT_EQ(query.FieldByName("cnt")->AsInteger(), 7);
  EXPECT_FALSE(val->IsNull());

  query.Next();
  EXPECT_TRUE(val->IsNull());
  EXPECT_EQ(val->AsFloat(), 0.0);
  EXPECT_EQ(val->DisplayText(), "");
  EXPECT_TRUE(query.FieldByName("note")->IsNull());

  query.Next();
  EXPECT_EQ(val->AsFloat(), -10.0);
  EXPECT_EQ(query.FieldByName("note")->AsInteger(), 12);  // text holding a number
  EXPECT_THROW(query.FieldByName("note")->AsDateTime(), EConvertError);
}

TEST_F(ZQueryTest, CursorWalksAllRowsAndBookmarksReturn) {
  OpenQuery("select ID from readings order by ID");
  EXPECT_EQ(query.RecordCount(), 3);
  EXPECT_TRUE(query.Bof());
  std::vector<int> seen;
  TBookmark second;
  for (query.First(); !query.Eof(); query.Next()) {
    seen.push_back(query.FieldByName("ID")->AsInteger());
    if (query.RecNo() == 2) second = query.GetBookmark();
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.RecNo(), 3);  // Next past the end stays on the last record
  ASSERT_TRUE(query.BookmarkValid(second));
  query.GotoBookmark(second);
  EXPECT_EQ(query.FieldByName("ID")->AsInteger(), 2);
  EXPECT_FALSE(query.Eof());
  query.FreeBookmark(second);
  EXPECT_FALSE(query.BookmarkValid(second));
  query.GotoBookmark(second);  // a freed bookmark goes nowhere
  EXPECT_EQ(query.FieldByName("ID")->AsInteger(), 2);

  // A bookmark of a record that a refresh took away is stale.
  query.Last();
  TBookmark third = query.GetBookmark();
  Exec("delete from readings where ID = 3");
  query.Refresh();
  EXPECT_FALSE(query.BookmarkValid(third));
  EXPECT_THROW(query.GotoBookmark(third), EDatabaseError);
}

TEST_F(ZQueryTest, EmptyResultIsEofAtOnce) {
  OpenQuery("select ID from readings where ID > 100");
  EXPECT_TRUE(query.Active());
  EXPECT_TRUE(query.Eof());
  EXPECT_TRUE(query.Bof());
  EXPECT_TRUE(query.IsEmpty());
  query.Next();
  query.Prior();
  EXPECT_TRUE(query.Eof());
  EXPECT_TRUE(query.Bof());
  EXPECT_TRUE(query.FieldByName("ID")->IsNull());
  EXPECT_TRUE(query.GetBookmark().empty());
}

TEST_F(ZQueryTest, MissingFieldRaises) {
  query.SetName("qryCh1");
  EXPECT_EQ(query.ClassName(), "TZQuery");
  EXPECT_TRUE(query.InheritsFrom(TDataSet::StaticClass()));
  OpenQuery("select ID from readings");
  EXPECT_EQ(query.FindField("val1"), nullptr);
  try {
    query.FieldByName("val1");
    FAIL() << "no exception";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "qryCh1: Field 'val1' not found");
  }
}

TEST_F(ZQueryTest, RefreshReadsNewRowsAndKeepsThePosition) {
  OpenQuery("select ID from readings order by ID");
  query.Next();
  Exec("insert into readings(val1) values (1)");
  query.Refresh();
  EXPECT_EQ(query.RecordCount(), 4);
  EXPECT_EQ(query.RecNo(), 2);
  Exec("delete from readings");
  query.Refresh();
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.RecNo(), 0);
  Exec("drop table readings");
  EXPECT_THROW(query.Refresh(), EZSQLException);
  EXPECT_FALSE(query.Active());
}

TEST_F(ZQueryTest, FailuresRaiseAndLeaveTheConnectionUsable) {
  query.SQL.SetText("select nothing from readings");
  EXPECT_THROW(query.Open(), EZSQLException);
  EXPECT_FALSE(query.Active());
  EXPECT_EQ(query.FieldCount(), 0);
  query.SQL.SetText("delete from readings where ID = 3");
  EXPECT_THROW(query.Open(), EZSQLException);  // no result set
  EXPECT_THROW(Exec("update readings set val99 = 1"), EZSQLException);
  try {
    Exec("insert into nowhere values (1)");
    FAIL() << "no exception";
  } catch (const EZSQLException& e) {
    EXPECT_EQ(e.Message(), "SQL Error: no such table: nowhere");
  }
  query.Close();
  query.SQL.Clear();
  query.SQL.Add("update readings set cnt = 1");
  query.ExecSQL();
  EXPECT_EQ(query.RowsAffected(), 3);
  OpenQuery("select sum(cnt) as s from readings");
  EXPECT_EQ(query.FieldByName("s")->AsInteger(), 3);
}

TEST_F(ZQueryTest, ExecSqlRunsEveryStatementAndCountsOnlyChangedRows) {
  query.SQL.Add("create table more (x integer);");
  query.SQL.Add("insert into more values (1); insert into more values (2);");
  query.SQL.Add("update readings set cnt = 0 where ID < 3; -- a comment");
  query.ExecSQL();
  EXPECT_EQ(query.RowsAffected(), 4);  // 2 inserts, 2 updates; the CREATE counts nothing
  query.SQL.SetText("insert into more values (3); insert into nowhere values (1)");
  EXPECT_THROW(query.ExecSQL(), EZSQLException);
  EXPECT_EQ(query.RowsAffected(), 0);
  OpenQuery("select count(*) as n from more");
  EXPECT_EQ(query.FieldByName("n")->AsInteger(), 3);  // what ran before the failure stays
}

TEST_F(ZQueryTest, DisconnectClosesAttachedQueriesAndOpenReconnects) {
  OpenQuery("select ID from readings");
  TDataSource source;
  int stateChanges = 0;
  source.OnStateChange = [&](TObject*) { ++stateChanges; };
  source.SetDataSet(&query);
  EXPECT_EQ(stateChanges, 1);  // attached to an open query
  connection.Disconnect();
  EXPECT_FALSE(connection.Connected());
  EXPECT_FALSE(query.Active());
  EXPECT_EQ(stateChanges, 2);
  query.Open();  // connects again
  EXPECT_TRUE(connection.Connected());
  EXPECT_EQ(query.RecordCount(), 3);
}

// ---- Stored cells ----------------------------------------------------------------------------

struct CellCase {
  const char* name;
  const char* literal;  // the SQL value stored in an untyped column (keeps its storage class)
  TFieldValue value;
  std::string text;  // AsString
};

void PrintTo(const CellCase& c, std::ostream* os) { *os << c.name; }

class ZQueryCells : public ZQueryTest, public testing::WithParamInterface<CellCase> {};

TEST_P(ZQueryCells, KeepKindAndContent) {
  const CellCase& c = GetParam();
  Exec("create table cells (k integer, v)");
  Exec("insert into cells values (1, 7)");
  Exec(std::string("insert into cells values (2, ") + c.literal + ")");
  Exec("insert into cells values (3, 'after')");
  OpenQuery("select k, v from cells order by k");
  TField* v = query.FieldByName("v");
  query.Next();
  ASSERT_EQ(query.RecNo(), 2);
  EXPECT_EQ(v->Value(), c.value);
  EXPECT_EQ(v->IsNull(), std::holds_alternative<std::monostate>(c.value));
  EXPECT_EQ(v->AsString(), c.text);
  // The same value read in place.
  const TFieldCell cell = v->Cell();
  EXPECT_EQ(cell.kind, static_cast<TFieldCell::Kind>(c.value.index()));
  if (const auto* t = std::get_if<std::string>(&c.value)) {
    EXPECT_EQ(std::string(cell.text), *t);
  }
  // Its neighbours are not disturbed, and coming back reads it again.
  query.Next();
  EXPECT_EQ(v->Value(), TFieldValue(std::string("after")));
  query.First();
  EXPECT_EQ(v->Value(), TFieldValue(7LL));
  query.Next();
  EXPECT_EQ(v->Value(), c.value);
}

std::string Repeat(const std::string& part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

const CellCase kCells[] = {
    {"Integer", "42", 42LL, "42"},
    {"LargestInteger", "9223372036854775807", 9223372036854775807LL, "9223372036854775807"},
    {"NegativeInteger", "-5", -5LL, "-5"},
    {"Real", "2.5", 2.5, "2.5"},
    {"NegativeReal", "-0.125", -0.125, "-0.125"},
    {"Text", "'abc'", std::string("abc"), "abc"},
    {"EmptyTextIsNotNull", "''", std::string(), ""},
    {"Null", "NULL", std::monostate(), ""},
    // Longer than any short-string buffer.
    {"LongText", "'0123456789012345678901234567890123456789'",
     std::string("0123456789012345678901234567890123456789"), "0123456789012345678901234567890123456789"},
    // A blob with zero bytes inside comes back byte for byte.
    // Larger than a block of texts: a block of its own.
    {"TextLargerThanABlock", "replace(hex(zeroblob(200000)), '00', 'ab')", Repeat("ab", 200000),
     Repeat("ab", 200000)},
    {"Blob", "x'00410042'", std::string("\0A\0B", 4), std::string("\0A\0B", 4)},
};
INSTANTIATE_TEST_SUITE_P(Kinds, ZQueryCells, testing::ValuesIn(kCells),
                         [](const testing::TestParamInfo<CellCase>& info) { return std::string(info.param.name); });

TEST_F(ZQueryTest, ManyRowsWalkBothWaysAndReopen) {
  // 50000 rows, more than one block of cells and of texts holds: an integer, a real that is
  // NULL every 7th row, and a text.
  Exec("create table big (n integer, r float, t varchar(20))");
  Exec("insert into big with recursive s(i) as (select 0 union all select i + 1 from s where i < 49999) "
       "select i, case when i % 7 = 0 then NULL else i / 4.0 end, 'row ' || i from s");
  OpenQuery("select n, r, t from big order by n");
  ASSERT_EQ(query.RecordCount(), 50000);
  TField* n = query.FieldByName("n");
  TField* r = query.FieldByName("r");
  TField* t = query.FieldByName("t");
  int rows = 0, nulls = 0;
  for (query.First(); !query.Eof(); query.Next()) {
    const int i = n->AsInteger();
    ASSERT_EQ(i, rows);
    ASSERT_EQ(r->IsNull(), i % 7 == 0) << i;
    if (i % 7 == 0) ++nulls;
    else ASSERT_EQ(r->AsFloat(), i / 4.0) << i;
    ASSERT_EQ(t->AsString(), "row " + std::to_string(i));
    ++rows;
  }
  EXPECT_EQ(rows, 50000);
  EXPECT_EQ(nulls, 7143);
  // Backwards from the last record.
  query.Last();
  EXPECT_EQ(query.RecNo(), 50000);
  int expected = 49999;
  for (; !query.Bof(); query.Prior()) ASSERT_EQ(n->AsInteger(), expected--);
  EXPECT_EQ(expected, -1);

  // Reopened on another statement: new fields, new rows; nothing of the old ones is left.
  OpenQuery("select t as label from big where n >= 49998 order by n desc");
  EXPECT_EQ(query.FieldCount(), 1);
  EXPECT_EQ(query.RecordCount(), 2);
  EXPECT_EQ(query.FieldByName("label")->AsString(), "row 49999");
  EXPECT_EQ(query.FieldByName("label")->Value(), TFieldValue(std::string("row 49999")));
  query.Next();
  EXPECT_EQ(query.FieldByName("label")->Value(), TFieldValue(std::string("row 49998")));
  query.Close();
  EXPECT_EQ(query.RecordCount(), 0);
  EXPECT_EQ(query.FieldCount(), 0);
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);
  EXPECT_EQ(query.FieldByName("label")->AsString(), "row 49999");
}

TEST_F(ZQueryTest, AValueHeldWhileOtherFieldsAreReadStaysTheRecords) {
  OpenQuery("select note, val1, cnt, dtime from readings order by ID");
  query.Last();
  const TFieldValue& note = query.FieldByName("note")->Value();
  EXPECT_EQ(query.FieldByName("val1")->AsFloat(), -10.0);
  EXPECT_EQ(query.FieldByName("cnt")->Value(), TFieldValue(9LL));
  EXPECT_EQ(query.FieldByName("dtime")->DisplayText(), "2024-03-05 08:07:08");
  EXPECT_EQ(query.FieldByName("note")->AsInteger(), 12);
  EXPECT_EQ(note, TFieldValue(std::string("12")));
}

TEST(ZConnection, UnknownProtocolAndUnopenableFileRaise) {
  TZConnection c;
  c.Protocol = "mysql-5";
  c.Database = "x.db";
  EXPECT_THROW(c.Connect(), EZSQLException);
  c.Protocol = "sqlite-3";
  c.Database = "Z:\\no\\such\\folder\\x.db";
  EXPECT_THROW(c.Connect(), EZSQLException);
  EXPECT_FALSE(c.Connected());
  TZQuery q;
  q.SQL.Add("select 1");
  EXPECT_THROW(q.Open(), EDatabaseError);  // no connection
}

TEST(SQLiteDatabase, TablesTransactionsAndErrors) {
  TempFolder folder;
  const std::string file = folder.Path() + "wrapper.db";
  {
    TSQLiteDatabase db(file);
    EXPECT_FALSE(db.TableExists("Config"));
    db.ExecSQL("CREATE TABLE config (ID INTEGER PRIMARY KEY, v varchar (5))");
    EXPECT_TRUE(db.TableExists("CONFIG"));
    db.BeginTransaction();
    db.ExecSQL("INSERT INTO config(v) VALUES (\"J\");");  // double-quoted text is a string
    db.Rollback();
    EXPECT_EQ(db.GetTableString("select count(*) from config"), "0");
    db.BeginTransaction();
    db.ExecSQL("INSERT INTO config(v) VALUES (\"J\");");
    db.Commit();
    EXPECT_EQ(db.GetTableString("select v || typeof(v) from config"), "Jtext");
    EXPECT_THROW(db.ExecSQL("insert into missing values (1)"), ESQLiteException);
    EXPECT_EQ(db.GetTableString("select count(*) from config"), "1");
  }
  try {
    TSQLiteDatabase bad(folder.Path() + "none\\x.db");
    FAIL() << "opened";
  } catch (const ESQLiteException& e) {
    EXPECT_EQ(e.Message().rfind("Failed to open database \"" + folder.Path() + "none\\x.db\" : ", 0), 0u)
        << e.Message();
  }
}

}  // namespace
