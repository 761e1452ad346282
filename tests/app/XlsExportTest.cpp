// Worksheet record files written from queries over the database, read back record by record
// (BOF, header labels, RK integers, NUMBER floats, EOF, positions) and once by python3-xlrd;
// more rows than 16-bit row numbers continue in "_2" files with their own header row.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/XlsExport.h"
#include "support/TestPaths.h"
#include "support/XlrdDump.h"
#include "tests/app/HistoryFixtures.h"
#include "tests/support/TempFolder.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

struct Record {
  uint16_t type = 0;
  std::vector<unsigned char> data;
  int Row() const { return data[0] | data[1] << 8; }
  int Col() const { return data[2] | data[3] << 8; }
  std::string Label() const { return std::string(data.begin() + 8, data.end()); }
  uint32_t Rk() const {
    uint32_t v;
    std::memcpy(&v, &data[6], 4);
    return v;
  }
  double Number() const {
    double v;
    std::memcpy(&v, &data[6], 8);
    return v;
  }
};

std::vector<Record> ReadRecords(const std::string& path) {
  const fixtures::Bytes bytes = fixtures::ReadFileBytes(path);
  std::vector<Record> records;
  size_t at = 0;
  while (at + 4 <= bytes.size()) {
    Record r;
    r.type = static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
    const size_t length = bytes[at + 2] | bytes[at + 3] << 8;
    r.data.assign(bytes.begin() + static_cast<long>(at + 4), bytes.begin() + static_cast<long>(at + 4 + length));
    records.push_back(r);
    at += 4 + length;
  }
  EXPECT_EQ(at, bytes.size()) << path;
  return records;
}

void Exec(const std::string& dbPath, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(dbPath.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
}

class XlsExportTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder_.Path();
    CreateDatabaseSchema();
    ConnectDatabase();
  }
  void TearDown() override {
    query_.Close();
    DbConnection->Disconnect();
  }
  std::string Db() const { return AppPath + "VKT_DATA.db"; }

  TempFolder folder_;
  TZQuery query_;
};

TEST_F(XlsExportTest, LiveExportOfTwoSamplesWithOneModule) {
  Exec(Db(), "insert into newdata(dtime, dtime2, val1, val2, val3, val4, val5, val6, val7, val8) values "
             "('2024-03-05 08:07:06', '2024-03-05 08:07:06', 25.3, 1, 2, 3, 4, 5, 6, -7.25),"
             "('2024-03-05 08:07:07', '2024-03-05 08:07:07', 25.4, 1, 2, 3, 4, 5, 6, null)");
  ASSERT_TRUE(OpenSqlQuery("select id , dtime,val1,val2,val3,val4,val5,val6,val7,val8 from newdata order by id",
                           &query_));
  const std::string file = AppPath + "live.csv";
  DataSetToXls(file, true, &query_);

  const fixtures::Bytes bytes = fixtures::ReadFileBytes(file);
  const fixtures::Bytes bof = {0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
  ASSERT_GE(bytes.size(), 16u);
  EXPECT_EQ(fixtures::Bytes(bytes.begin(), bytes.begin() + 12), bof);
  EXPECT_EQ(fixtures::Bytes(bytes.end() - 4, bytes.end()), (fixtures::Bytes{0x0A, 0x00, 0x00, 0x00}));

  const std::vector<Record> records = ReadRecords(file);
  // BOF, 10 labels, 2 rows of 10 cells less one NULL, EOF.
  ASSERT_EQ(records.size(), 1u + 10u + 19u + 1u);
  // SQLite names a plain column result after the table's declaration ([ID]).
  const char* const header[] = {"ID", "dtime", "val1", "val2", "val3", "val4", "val5", "val6", "val7", "val8"};
  for (int c = 0; c < 10; ++c) {
    const Record& r = records[1 + static_cast<size_t>(c)];
    EXPECT_EQ(r.type, 0x0204);
    EXPECT_EQ(r.Row(), 0);
    EXPECT_EQ(r.Col(), c);
    EXPECT_EQ(r.Label(), header[c]);
    EXPECT_EQ(r.data[4] | r.data[5] << 8, 0);  // format 0
  }
  const Record& id1 = records[11];
  EXPECT_EQ(id1.type, 0x027E);
  EXPECT_EQ(id1.data.size(), 10u);
  EXPECT_EQ(id1.Rk(), 1u * 4 + 2);
  const Record& time1 = records[12];
  EXPECT_EQ(time1.type, 0x0204);
  EXPECT_EQ(time1.Label(), "2024-03-05 08:07:06");
  const Record& val1 = records[13];
  EXPECT_EQ(val1.type, 0x0203);
  EXPECT_EQ(val1.data.size(), 14u);
  EXPECT_EQ(val1.Number(), 25.3);
  EXPECT_EQ(records[20].Number(), -7.25);
  EXPECT_EQ(records[20].Row(), 1);
  EXPECT_EQ(records[20].Col(), 9);
  // Second sample: row 2; its NULL val8 leaves the cell empty.
  EXPECT_EQ(records[21].Row(), 2);
  EXPECT_EQ(records[21].Col(), 0);
  EXPECT_EQ(records[29].Row(), 2);
  EXPECT_EQ(records[29].Col(), 8);
  EXPECT_EQ(records[30].type, 0x000A);
  EXPECT_TRUE(query_.Active());
  EXPECT_FALSE(query_.ControlsDisabled());
}

TEST_F(XlsExportTest, IntegerFiveIsRkTwentyTwoAndXlrdReadsTheFile) {
  Exec(Db(), "insert into olddata(id, dtime, val1, val2) values (5, '2024-03-05 08:07:06', 20.5, 21.75)");
  ASSERT_TRUE(OpenSqlQuery("select id , dtime,val1,val2 from olddata order by id", &query_));
  const std::string unixFile = TestOutputDir() + "/XlsExportTest_history.csv";
  const std::string file = WinPath(unixFile);
  DataSetToXls(file, true, &query_);
  const std::vector<Record> records = ReadRecords(file);
  ASSERT_EQ(records.size(), 10u);
  EXPECT_EQ(records[5].type, 0x027E);
  EXPECT_EQ(records[5].Rk(), 22u);

  const std::string out = unixFile + ".cells.txt";
  DeleteFileA(WinPath(out).c_str());
  std::string command = "python3 " + std::string(VK_SOURCE_DIR) + "/tests/app/xlrd_cells.py " + unixFile + " " + out;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  ASSERT_TRUE(CreateProcessA("Z:\\usr\\bin\\python3", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // Wine passes back neither exit code nor output of a Unix program: the script renames its
  // finished dump into place.
  for (int i = 0; i < 1200 && GetFileAttributesA(WinPath(out).c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  std::vector<std::string> lines;
  for (const std::string& l : [&] {
         std::vector<std::string> v;
         const fixtures::Bytes b = fixtures::ReadFileBytes(WinPath(out));
         std::string s(b.begin(), b.end());
         for (size_t at = 0; at < s.size();) {
           size_t end = s.find('\n', at);
           if (end == std::string::npos) end = s.size();
           v.push_back(s.substr(at, end - at));
           at = end + 1;
         }
         return v;
       }())
    lines.push_back(l);
  const std::vector<std::string> expected = {"size 2 4",         "0 0 text ID",   "0 1 text dtime",
                                             "0 2 text val1",    "0 3 text val2", "1 0 number 5.0",
                                             "1 1 text 2024-03-05 08:07:06", "1 2 number 20.5",
                                             "1 3 number 21.75"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XlsExportTest, RowsBeyondSixteenBitsContinueInNumberedFilesWithHeader) {
  Exec(Db(), "with recursive c(x) as (select 1 union all select x + 1 from c where x < 65546) "
             "insert into olddata(id, dtime) select x, '2024-03-05 08:07:06' from c");
  ASSERT_TRUE(OpenSqlQuery("select id from olddata order by id", &query_));
  const std::string file = AppPath + "big.csv";
  EXPECT_EQ(DataSetToXls(file, true, &query_), (std::vector<std::string>{file, AppPath + "big_2.csv"}));

  const std::vector<Record> first = ReadRecords(file);
  ASSERT_EQ(first.size(), 1u + 1u + 65535u + 1u);
  EXPECT_EQ(first[1].Label(), "ID");
  EXPECT_EQ(first[first.size() - 2].Row(), 65535);
  EXPECT_EQ(first[first.size() - 2].Rk(), 65535u * 4 + 2);
  const std::vector<Record> second = ReadRecords(AppPath + "big_2.csv");
  ASSERT_EQ(second.size(), 1u + 1u + 11u + 1u);
  EXPECT_EQ(second[1].Label(), "ID");
  EXPECT_EQ(second[1].Row(), 0);
  EXPECT_EQ(second[2].Row(), 1);
  EXPECT_EQ(second[2].Rk(), 65536u * 4 + 2);
  EXPECT_EQ(second[12].Rk(), 65546u * 4 + 2);
  EXPECT_FALSE(FileExists(AppPath + "big_3.csv"));
  EXPECT_EQ(XlsPartFileName("C:\\x\\a.b.csv", 3), "C:\\x\\a.b_3.csv");
}

// RK holds 30-bit integers; anything beyond is written as a NUMBER so that it is not cut.
TEST_F(XlsExportTest, IntegersBeyondRkRangeBecomeNumbers) {
  struct RkCase {
    const char* name;
    long long value;
    bool rk;
  };
  const RkCase cases[] = {
      {"small negative", -3, true},
      {"largest", (1LL << 29) - 1, true},
      {"smallest", -(1LL << 29), true},
      {"one above", 1LL << 29, false},
      {"one below", -(1LL << 29) - 1, false},
  };
  const int count = static_cast<int>(std::size(cases));
  {
    TXlsRecordFile out(AppPath + "rk.csv", count);
    for (const RkCase& c : cases) out.XlsWriteRk(c.value);
    out.Close();
  }
  const std::vector<Record> records = ReadRecords(AppPath + "rk.csv");
  ASSERT_EQ(records.size(), static_cast<size_t>(count) + 2);
  for (int i = 0; i < count; ++i) {
    const RkCase& c = cases[i];
    const Record& r = records[static_cast<size_t>(i) + 1];
    EXPECT_EQ(r.Col(), i) << c.name;
    if (c.rk) {
      EXPECT_EQ(r.type, 0x027E) << c.name;
      EXPECT_EQ(r.Rk(), static_cast<uint32_t>(static_cast<int32_t>(c.value) * 4 + 2)) << c.name;
    } else {
      EXPECT_EQ(r.type, 0x0203) << c.name;
      EXPECT_EQ(r.Number(), static_cast<double>(c.value)) << c.name;
    }
  }
}

TEST_F(XlsExportTest, UnwritableFileRaises) {
  ASSERT_TRUE(OpenSqlQuery("select id from olddata", &query_));
  EXPECT_THROW(DataSetToXls(AppPath + "no\\such\\folder\\x.csv", true, &query_), EFCreateError);
  EXPECT_FALSE(query_.ControlsDisabled());
}

}  // namespace
