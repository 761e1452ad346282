// History import over instrument files written by the fixture generator: folder matching and
// file pairing, truncated tails, the record time, module count and decimal mode taken from the
// information record, stopping in the middle of a folder, and a database failure mid-file.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/FrmSelectFile.h"
#include "app/HistoryImport.h"
#include "app/LiMessage.h"
#include "app/MyComponent.h"
#include "tests/app/HistoryFixtures.h"
#include "tests/app/LogLines.h"
#include "tests/support/TempFolder.h"
#include "toolkit/data/Field.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"

namespace {

using fixtures::Bytes;
using fixtures::Stamp;

// Rows of the database file, read past the code under test.
std::vector<std::vector<std::string>> Rows(const std::string& dbPath, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  sqlite3* db = nullptr;
  sqlite3_open(dbPath.c_str(), &db);
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

std::string One(const std::string& dbPath, const std::string& sql) {
  const auto rows = Rows(dbPath, sql);
  return rows.empty() || rows[0].empty() ? "<none>" : rows[0][0];
}

class HistoryImportTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder_.Path();
    CreateDatabaseSchema();
    ConnectDatabase();
    ModuleCount = 1;
    PointMode = 1;
    AbortRequested = 0;
    StopRequested = 0;
    StartProgressSink();
    input_ = AppPath + "input\\";
    CreateDirectoryW(Utf8ToWide(input_).c_str(), nullptr);
  }
  void TearDown() override {
    TMyComponent::SetObserver(nullptr);
    CloseProgress();
    Application->ProcessMessages();  // frees closed progress windows
    DbConnection->Disconnect();
  }

  std::string Db() const { return AppPath + "VKT_DATA.db"; }
  int OldRows() const { return std::stoi(One(Db(), "select count(*) from olddata")); }

  TempFolder folder_;
  std::string input_;
};

// A data file whose first record would pass for an information record (1 module, one decimal in
// bytes 13 and 14, inside channel 1's reading): read as its own information file, it would import.
Bytes SelfPairingDataFile(int records, Stamp first) {
  Bytes data = fixtures::DataFile(records, 8, first);
  data[11] = data[12] = 0;
  data[13] = 1;
  data[14] = 0;
  return data;
}

TEST_F(HistoryImportTest, FolderTakesDataFilesOfEitherCaseAndPairsThemByTheirNames) {
  // A_DATA.BIN pairs with A_INFORMATION.BIN, never with itself: its own first bytes would say
  // two decimals here.
  Bytes upper = SelfPairingDataFile(12, Stamp{2023, 1, 2, 3, 4, 5});
  upper[14] = 1;
  fixtures::WriteFileBytes(input_ + "A_DATA.BIN", upper);
  fixtures::WriteFileBytes(input_ + "A_INFORMATION.BIN", fixtures::InfoRecord(1, 0));
  fixtures::WritePair(input_, "b", fixtures::DataFile(4, 8), 1, 0);
  // Shorter than one information record: skipped, with a log line naming it.
  fixtures::WriteFileBytes(input_ + "C_DATA.BIN", fixtures::DataFile(1, 8));
  // Neither "data" nor "DATA" in the name: it would pair with itself, so it is skipped.
  fixtures::WriteFileBytes(input_ + "M_Data.Bin", SelfPairingDataFile(12, Stamp{2022, 1, 2, 3, 4, 5}));
  fixtures::WriteFileBytes(input_ + "notes.txt", Bytes(300, 1));

  EXPECT_EQ(RunHistoryImport(THistoryImportMode::Folder, "", input_), THistoryImportOutcome::Complete);
  EXPECT_EQ(OldRows(), 16);
  EXPECT_EQ(One(Db(), "select count(*) from olddata where dtime like '2023-%'"), "12");
  EXPECT_EQ(One(Db(), "select count(*) from olddata where dtime like '2024-%'"), "4");
  EXPECT_EQ(One(Db(), "select val1 from olddata where dtime like '2023-%' order by id"), "0.0");
  EXPECT_EQ(One(Db(), "select pointcnt from config"), "1");
  EXPECT_EQ(CountLogLines(AppPath, "C_DATA.BIN"), 1);
  EXPECT_EQ(CountLogLines(AppPath, "import file skipped :" + input_ + "M_Data.Bin"), 1);
  EXPECT_EQ(CountLogLines(AppPath, "file import except!!!"), 0);
  EXPECT_EQ(CountLogLines(AppPath, "import file :" + input_ + "b_data.bin Take time(s):"), 1);
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_TRUE(DbConnection->Connected());
}

TEST_F(HistoryImportTest, InformationFileIsFoundFromTheFileNameOnly) {
  struct Case {
    const char* name;
    std::string data, info;
  };
  const std::vector<Case> cases = {
      {"plain", "C:\\in\\x_data.bin", "C:\\in\\x_information.bin"},
      {"folder named data", "C:\\data\\x_data.bin", "C:\\data\\x_information.bin"},
      {"upper case name", "C:\\data\\A_DATA.BIN", "C:\\data\\A_INFORMATION.BIN"},
      {"lower case first", "C:\\in\\DATA_data.bin", "C:\\in\\DATA_information.bin"},
      {"mixed case name", "C:\\in\\M_Data.Bin", "C:\\in\\M_Data.Bin"},
      {"first occurrence in the name", "D:\\logs\\datalog_data.bin", "D:\\logs\\informationlog_data.bin"},
      {"no folder", "y_data.bin", "y_information.bin"},
  };
  for (const Case& c : cases) EXPECT_EQ(HistoryInfoFileName(c.data), c.info) << c.name;
  EXPECT_TRUE(IsChosenHistoryDataFile("C:\\in\\x_data.bin"));
  EXPECT_FALSE(IsChosenHistoryDataFile("C:\\in\\x_DATA.BIN"));
  EXPECT_TRUE(IsFolderHistoryDataFile("C:\\in\\x_Data.Bin"));
}

TEST_F(HistoryImportTest, FolderNamedDataStillFindsTheInformationFiles) {
  const std::string dataFolder = AppPath + "data\\";
  CreateDirectoryW(Utf8ToWide(dataFolder).c_str(), nullptr);
  fixtures::WritePair(dataFolder, "x", fixtures::DataFile(3, 8), 1, 0);
  EXPECT_EQ(RunHistoryImport(THistoryImportMode::Folder, "", dataFolder), THistoryImportOutcome::Complete);
  EXPECT_EQ(OldRows(), 3);
}

TEST_F(HistoryImportTest, PartialTailIsIgnoredAndTheRecordTimeIsZeroPadded) {
  Bytes data = fixtures::DataFile(10, 8);
  data.insert(data.end(), 100, 0x33);
  fixtures::WriteFileBytes(input_ + "s_data.bin", data);
  fixtures::WriteFileBytes(input_ + "s_information.bin", fixtures::InfoRecord(1, 0));

  EXPECT_EQ(RunHistoryImport(THistoryImportMode::File, input_ + "s_data.bin", ""),
            THistoryImportOutcome::FileDone);
  const auto rows = Rows(Db(), "select dtime, val1, val8, val9, typeof(val1), dtime2 from olddata order by id");
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[0][0], "2024-03-05 08:07:06");  // year bytes $07 $E8
  EXPECT_EQ(rows[9][0], "2024-03-05 08:07:15");
  EXPECT_EQ(rows[0][1], "20.0");
  EXPECT_EQ(rows[9][2], "27.9");
  EXPECT_EQ(rows[0][3], "<null>");
  EXPECT_EQ(rows[0][4], "real");
  TDateTime written;
  EXPECT_TRUE(TryParseSqlDateTime(rows[0][5], written)) << rows[0][5];
}

TEST_F(HistoryImportTest, InformationRecordChangesModuleCountAndDecimals) {
  std::vector<float> readings;
  for (int c = 0; c < 20; ++c) readings.push_back(10.25f + static_cast<float>(c));
  Bytes data = fixtures::DataRecord(Stamp{}, readings);
  fixtures::Append(data, fixtures::DataRecord(Stamp{}, readings));
  fixtures::WritePair(input_, "m", data, 2, 1);

  EXPECT_EQ(RunHistoryImport(THistoryImportMode::File, input_ + "m_data.bin", ""),
            THistoryImportOutcome::FileDone);
  EXPECT_EQ(ModuleCount, 2);
  EXPECT_EQ(PointMode, 2);
  EXPECT_EQ(One(Db(), "select modecnt from config"), "2");
  EXPECT_EQ(One(Db(), "select pointcnt from config"), "2");
  const auto rows = Rows(Db(), "select val1, val16, val17 from olddata");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "10.25");
  EXPECT_EQ(rows[0][1], "25.25");
  EXPECT_EQ(rows[0][2], "<null>");
}

TEST_F(HistoryImportTest, InformationRecordWithImpossibleModuleCountSkipsTheFile) {
  for (int modules : {0, 9}) {
    const std::string stem = "z" + std::to_string(modules);
    fixtures::WritePair(input_, stem, fixtures::DataFile(3, 8), modules, 0);
    EXPECT_EQ(ImportHistoryFile(input_ + stem + "_data.bin"), THistoryFileResult::Skipped) << modules;
    EXPECT_EQ(CountLogLines(AppPath, input_ + stem + "_data.bin"), 1) << modules;
  }
  EXPECT_EQ(ModuleCount, 1);
  EXPECT_EQ(One(Db(), "select modecnt from config"), "1");
  EXPECT_EQ(OldRows(), 0);
}

// A folder whose every data file is skipped imported nothing: that is no completed import.
TEST_F(HistoryImportTest, FolderWhoseDataFilesAreAllSkippedFoundNoValidDataFile) {
  fixtures::WriteFileBytes(input_ + "lone_data.bin", fixtures::DataFile(2, 8));
  fixtures::WritePair(input_, "zero", fixtures::DataFile(2, 8), 0, 0);
  EXPECT_EQ(RunHistoryImport(THistoryImportMode::Folder, "", input_), THistoryImportOutcome::NoDataFile);
  EXPECT_EQ(CountLogLines(AppPath, "import file skipped :"), 2);
  EXPECT_EQ(OldRows(), 0);
  EXPECT_EQ(ProgressWindow, nullptr);
}

// Records whose time cannot exist (erased or damaged) are left out, one log line per file.
TEST_F(HistoryImportTest, RecordsWithImpossibleTimesAreSkippedAndCounted) {
  struct TimeCase {
    const char* name;
    Stamp stamp;
    bool possible;
  };
  const TimeCase cases[] = {
      {"ordinary", Stamp{2024, 3, 5, 8, 7, 6}, true},
      {"leap day", Stamp{2024, 2, 29, 23, 59, 59}, true},
      {"last of the year", Stamp{2023, 12, 31, 0, 0, 0}, true},
      {"month 0", Stamp{2024, 0, 5, 8, 7, 6}, false},
      {"month 13", Stamp{2024, 13, 5, 8, 7, 6}, false},
      {"day 0", Stamp{2024, 3, 0, 8, 7, 6}, false},
      {"29 February of a common year", Stamp{2023, 2, 29, 8, 7, 6}, false},
      {"31 April", Stamp{2024, 4, 31, 8, 7, 6}, false},
      {"hour 24", Stamp{2024, 3, 5, 24, 0, 0}, false},
      {"minute 60", Stamp{2024, 3, 5, 8, 60, 6}, false},
      {"second 60", Stamp{2024, 3, 5, 8, 7, 60}, false},
      {"erased to zeros", Stamp{0, 0, 0, 0, 0, 0}, false},
      {"erased to FF", Stamp{0xFFFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false},
  };
  Bytes data;
  int possible = 0;
  for (const TimeCase& c : cases) {
    const Bytes record = fixtures::DataRecord(c.stamp, {21.5f});
    EXPECT_EQ(IsPossibleRecordTime(record.data()), c.possible) << c.name;
    fixtures::Append(data, record);
    possible += c.possible ? 1 : 0;
  }
  fixtures::WritePair(input_, "t", data, 1, 0);
  EXPECT_EQ(ImportHistoryFile(input_ + "t_data.bin"), THistoryFileResult::Imported);
  EXPECT_EQ(Rows(Db(), "select dtime from olddata order by id"),
            (std::vector<std::vector<std::string>>{
                {"2024-03-05 08:07:06"}, {"2024-02-29 23:59:59"}, {"2023-12-31 00:00:00"}}));
  EXPECT_EQ(possible, 3);
  EXPECT_EQ(CountLogLines(AppPath, "import file :" + input_ + "t_data.bin records skipped, impossible time:10"),
            1);
}

TEST_F(HistoryImportTest, StopDuringSecondFileKeepsFirstDiscardsSecondAndEndsTheFolder) {
  fixtures::WritePair(input_, "f1", fixtures::DataFile(5, 8, Stamp{2021}), 1, 0);
  fixtures::WritePair(input_, "f2", fixtures::DataFile(6, 8, Stamp{2022}), 1, 0);
  fixtures::WritePair(input_, "f3", fixtures::DataFile(7, 8, Stamp{2023}), 1, 0);
  std::vector<std::string> started;
  int stepsInFile = 0;
  TMyComponent::SetObserver([&](UINT msg, WPARAM wParam) {
    if (msg == WM_PROGRESS_TEXT) {
      started.push_back(ProgressWindow->LabelText());
      stepsInFile = 0;
    }
    if (msg == WM_PROGRESS_STEP) stepsInFile += static_cast<int>(wParam);
    if (msg == WM_PROGRESS_STEP && started.size() == 2 && stepsInFile == 2)
      ProgressWindow->BtnStopClick(nullptr);  // the user presses "Stop(&C)"
  });

  EXPECT_EQ(RunHistoryImport(THistoryImportMode::Folder, "", input_), THistoryImportOutcome::Aborted);
  ASSERT_EQ(started.size(), 2u);
  // The file system decides the order; the first file's rows stay, nothing else.
  const std::string first = ExtractFileName(started[0]).substr(0, 2);
  const std::map<std::string, std::string> years = {{"f1", "2021"}, {"f2", "2022"}, {"f3", "2023"}};
  const std::map<std::string, int> counts = {{"f1", 5}, {"f2", 6}, {"f3", 7}};
  EXPECT_EQ(started[0], "To start importing the file: " + input_ + first + "_data.bin");
  EXPECT_EQ(OldRows(), counts.at(first));
  EXPECT_EQ(One(Db(), "select count(*) from olddata where dtime like '" + years.at(first) + "-%'"),
            IntToStr(counts.at(first)));
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_TRUE(DbConnection->Connected());
  EXPECT_EQ(AbortRequested, 1);
}

TEST_F(HistoryImportTest, ProgressFollowsTheFile) {
  fixtures::WritePair(input_, "p", fixtures::DataFile(4, 8), 1, 0);
  std::vector<std::string> seen;
  TMyComponent::SetObserver([&](UINT msg, WPARAM) {
    ASSERT_NE(ProgressWindow, nullptr);
    if (msg == WM_PROGRESS_TEXT) seen.push_back("text " + ProgressWindow->LabelText());
    if (msg == WM_PROGRESS_RESET) seen.push_back("reset " + IntToStr(ProgressWindow->GaugePosition()));
    if (msg == WM_PROGRESS_MAX)
      seen.push_back("max " + IntToStr(ProgressWindow->GaugeMax()) + (ProgressWindow->StopVisible() ? " stop" : ""));
    if (msg == WM_PROGRESS_STEP) seen.push_back("at " + IntToStr(ProgressWindow->GaugePosition()));
  });
  EXPECT_EQ(ImportHistoryFile(input_ + "p_data.bin"), THistoryFileResult::Imported);
  const std::vector<std::string> expected = {"text To start importing the file: " + input_ + "p_data.bin",
                                             "reset 0", "max 4 stop", "at 1", "at 2", "at 3", "at 4"};
  EXPECT_EQ(seen, expected);
}

TEST_F(HistoryImportTest, DatabaseFailureMidFileRollsBackReopensAndLogs) {
  fixtures::WritePair(input_, "ok", fixtures::DataFile(3, 8, Stamp{2020}), 1, 0);
  fixtures::WritePair(input_, "bad", fixtures::DataFile(5, 8), 1, 0);
  // Inserting the third record of bad_data.bin fails.
  {
    sqlite3* db = nullptr;
    sqlite3_open(Db().c_str(), &db);
    sqlite3_exec(db,
                 "create trigger refuse before insert on olddata when "
                 "(select count(*) from olddata where dtime like '2024-%') >= 2 and new.dtime like '2024-%' "
                 "begin select raise(abort, 'refused'); end",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  EXPECT_EQ(RunHistoryImport(THistoryImportMode::File, input_ + "bad_data.bin", ""),
            THistoryImportOutcome::Failed);
  EXPECT_EQ(OldRows(), 0);
  EXPECT_EQ(CountLogLines(AppPath, "file import except!!!"), 1);
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_TRUE(DbConnection->Connected());

  // The file was rolled back: the database takes the next import.
  EXPECT_EQ(ImportHistoryFile(input_ + "ok_data.bin"), THistoryFileResult::Imported);
  EXPECT_EQ(OldRows(), 3);
}

TEST_F(HistoryImportTest, MissingFileAndEmptyFolder) {
  THistoryImportFailure failure;
  EXPECT_EQ(RunHistoryImport(THistoryImportMode::File, input_ + "gone_data.bin", "", &failure),
            THistoryImportOutcome::FileSkipped);  // no information file
  EXPECT_EQ(failure.file, input_ + "gone_data.bin");
  EXPECT_EQ(failure.reason.rfind("The information file " + input_ + "gone_information.bin cannot be read: ", 0), 0u)
      << failure.reason;
  EXPECT_EQ(CountLogLines(AppPath, "gone_data.bin"), 1);
  EXPECT_EQ(RunHistoryImport(THistoryImportMode::Folder, "", input_), THistoryImportOutcome::NoDataFile);
  // An information file without its data file: the data file cannot be read.
  fixtures::WriteFileBytes(input_ + "q_information.bin", fixtures::InfoRecord(1, 0));
  EXPECT_EQ(RunHistoryImport(THistoryImportMode::File, input_ + "q_data.bin", ""), THistoryImportOutcome::Failed);
  EXPECT_EQ(CountLogLines(AppPath, "file import except!!!"), 1);
  EXPECT_TRUE(DbConnection->Connected());
}

// A folder walk reads every regular file, whatever its other attributes; Wine lists every file
// as archive, so the listing's attributes are replaced per file.
TEST_F(HistoryImportTest, FolderWalkTakesRegularFilesWhateverTheirAttributes) {
  struct AttributeCase {
    const char* stem;
    uint32_t attributes;
    bool imported;
  };
  const AttributeCase cases[] = {
      {"archive", 0x20, true},
      {"normal", 0x80, true},  // no other attribute: archive bit cleared, or a FAT card
      {"readonly", 0x01 | 0x20, true},
      {"hiddensystem", 0x02 | 0x04, true},
      {"temporary", 0x100, true},
      {"sparse", 0x200 | 0x20, true},
      {"compressed", 0x800, true},
      {"notindexed", 0x2000 | 0x20, true},
      {"encrypted", 0x4000 | 0x20, true},
      {"directory", 0x10, false},
      {"device", 0x40, false},
      {"offline", 0x1000 | 0x20, false},
      {"recallonopen", 0x40000 | 0x80, false},
      {"recallondata", 0x400000 | 0x20, false},
  };
  std::map<std::string, uint32_t> attributes;
  int year = 2000;
  std::map<std::string, int> years;
  for (const AttributeCase& c : cases) {
    fixtures::WritePair(input_, c.stem, fixtures::DataFile(2, 8, Stamp{year}), 1, 0);
    attributes[std::string(c.stem) + "_data.bin"] = c.attributes;
    years[c.stem] = year++;
  }
  // A real folder whose name looks like a data file.
  CreateDirectoryW(Utf8ToWide(input_ + "sub_data.bin").c_str(), nullptr);
  std::vector<std::string> listed;
  const THistoryFolderLister lister = [&](const std::string& dir) {
    std::vector<THistoryFolderEntry> entries = ListHistoryFolder(dir);
    for (THistoryFolderEntry& e : entries) {
      listed.push_back(e.name);
      if (auto it = attributes.find(e.name); it != attributes.end()) e.attributes = it->second;
    }
    return entries;
  };
  EXPECT_EQ(RunHistoryImport(THistoryImportMode::Folder, "", input_, nullptr, lister),
            THistoryImportOutcome::Complete);
  EXPECT_NE(std::find(listed.begin(), listed.end(), "sub_data.bin"), listed.end());
  for (const AttributeCase& c : cases)
    EXPECT_EQ(One(Db(), "select count(*) from olddata where dtime like '" + IntToStr(years[c.stem]) + "-%'"),
              c.imported ? "2" : "0")
        << c.stem;
  EXPECT_EQ(CountLogLines(AppPath, "file import except!!!"), 0);
  EXPECT_TRUE(IsRegularFileEntry(0x80));
  EXPECT_FALSE(IsRegularFileEntry(0x10 | 0x80));
}

TEST(PadZerosTest, PadsShortTextsOnly) {
  EXPECT_EQ(PadZeros("7", 2), "07");
  EXPECT_EQ(PadZeros("12", 2), "12");
  EXPECT_EQ(PadZeros("123", 2), "123");
  EXPECT_EQ(PadZeros("", 2), "00");
}

}  // namespace

namespace {

class ImportMessagesTest : public HistoryImportTest {
 protected:
  void SetUp() override {
    HistoryImportTest::SetUp();
    Application->SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes_.push_back(text + "|" + caption + "|" + IntToStr(flags));
      return IDOK;
    });
  }
  void TearDown() override {
    Application->SetMessageBoxHook(nullptr);
    StopRequested = 0;
    HistoryImportTest::TearDown();
  }
  std::vector<std::string> boxes_;
};

// A failed import never looks like a finished one: the warning names the file and the reason,
// and the files imported before it stay.
TEST_F(ImportMessagesTest, FailuresAreToldWithTheFileAndTheReason) {
  const std::string warning = IntToStr(MB_OK | MB_ICONWARNING);
  // File mode, the information file missing: skipped, and said so.
  fixtures::WriteFileBytes(input_ + "lone_data.bin", fixtures::DataFile(2, 8));
  ImportHistory(THistoryImportMode::File, input_ + "lone_data.bin", "");
  ASSERT_EQ(boxes_.size(), 1u);
  const std::string said = "The import of " + input_ + "lone_data.bin failed:\nThe information file " + input_ +
                           "lone_information.bin cannot be read: ";
  EXPECT_EQ(boxes_[0].rfind(said, 0), 0u) << boxes_[0];
  // The system's reason follows, then the title and the flags.
  EXPECT_GT(boxes_[0].find("|prompt|" + warning), said.size()) << boxes_[0];
  EXPECT_EQ(boxes_[0].substr(boxes_[0].size() - warning.size() - 8), "|prompt|" + warning);
  EXPECT_EQ(OldRows(), 0);

  // A folder whose second data file fails in the middle (a database error): the first stays.
  boxes_.clear();
  DeleteFileW(Utf8ToWide(input_ + "lone_data.bin").c_str());
  fixtures::WritePair(input_, "f1", fixtures::DataFile(3, 8, Stamp{2021}), 1, 0);
  fixtures::WritePair(input_, "f2", fixtures::DataFile(3, 8, Stamp{2022}), 1, 0);
  {
    sqlite3* db = nullptr;
    sqlite3_open(Db().c_str(), &db);
    // Whichever file the file system lists second fails at its second record.
    sqlite3_exec(db,
                 "create trigger refuse before insert on olddata when "
                 "(select count(*) from olddata) >= 4 "
                 "begin select raise(abort, 'refused by the test'); end",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  std::vector<std::string> started;
  TMyComponent::SetObserver([&](UINT msg, WPARAM) {
    if (msg == WM_PROGRESS_TEXT) started.push_back(ProgressWindow->LabelText());
  });
  ImportHistory(THistoryImportMode::Folder, "", input_);
  ASSERT_EQ(started.size(), 2u);
  const std::string second = started[1].substr(std::string("To start importing the file: ").size());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].rfind("The import of " + second + " failed:\n", 0), 0u) << boxes_[0];
  EXPECT_NE(boxes_[0].find("refused by the test"), std::string::npos) << boxes_[0];
  EXPECT_NE(boxes_[0].find("\nThe 1 file(s) imported before it are kept.|prompt|" + warning), std::string::npos)
      << boxes_[0];
  EXPECT_EQ(OldRows(), 3);
  EXPECT_EQ(CountLogLines(AppPath, "file import except!!!"), 1);
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_TRUE(DbConnection->Connected());
}

TEST_F(ImportMessagesTest, ClosingMessageFollowsTheOutcome) {
  ImportHistory(THistoryImportMode::Folder, "", input_);
  fixtures::WritePair(input_, "a", fixtures::DataFile(2, 8), 1, 0);
  ImportHistory(THistoryImportMode::Folder, "", input_);
  ImportHistory(THistoryImportMode::File, input_ + "a_data.bin", "");
  const std::string warning = IntToStr(MB_ICONWARNING);
  EXPECT_EQ(boxes_, (std::vector<std::string>{"No valid data file found.|prompt|" + warning,
                                              "The import is complete.|prompt|" + warning}));
  // Closing the main window during an import: no closing message.
  boxes_.clear();
  TMyComponent::SetObserver([](UINT msg, WPARAM) {
    if (msg == WM_PROGRESS_STEP) {
      StopRequested = 1;
      AbortRequested = 1;
    }
  });
  ImportHistory(THistoryImportMode::Folder, "", input_);
  EXPECT_TRUE(boxes_.empty());
}

}  // namespace

namespace {

// The "Import history" command from its refusal to the closing message, as a table: the question
// about an existing history answered either way, a failing delete or count query, a cancelled
// dialog and a stop in file mode.
struct CommandCase {
  const char* name;
  const char* setupSql;  // run on the database file before the command ("" none)
  int answer;            // to the question about an existing history
  enum Choice { Cancel, File, FileStopped, Folder } choice;
  bool asked;            // the dialog was shown
  int rows;              // olddata rows afterwards
  std::vector<std::string> boxes;
};

const char kQuestion[] =
    "historical data is detected to already exist in the database, whether to clear the historical "
    "data before importing";

class ImportCommandTest : public HistoryImportTest, public testing::WithParamInterface<CommandCase> {
 protected:
  void SetUp() override {
    HistoryImportTest::SetUp();
    Application->SetMessageBoxHook([this](const std::string& text, const std::string&, UINT) {
      boxes_.push_back(text);
      return GetParam().answer;
    });
  }
  void TearDown() override {
    Application->SetMessageBoxHook(nullptr);
    HistoryImportTest::TearDown();
  }
  void Exec(const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(Db().c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
  }
  std::vector<std::string> boxes_;
};

TEST_P(ImportCommandTest, FollowsTheOperatorsAnswers) {
  const CommandCase& c = GetParam();
  Exec("insert into olddata(dtime, val1) values ('2020-01-01 00:00:00', 1.5)");
  if (*c.setupSql) Exec(c.setupSql);
  fixtures::WritePair(input_, "f", fixtures::DataFile(200, 8), 1, 0);
  if (c.choice == CommandCase::FileStopped)
    TMyComponent::SetObserver([](UINT msg, WPARAM) {
      if (msg == WM_PROGRESS_STEP) AbortRequested = 1;
    });
  bool asked = false;
  ImportHistoryCommand([&](THistoryImportChoice& choice) {
    asked = true;
    if (c.choice == CommandCase::Cancel) return false;
    choice.mode = c.choice == CommandCase::Folder ? THistoryImportMode::Folder : THistoryImportMode::File;
    choice.fileName = input_ + "f_data.bin";
    choice.folder = input_;
    return true;
  });
  EXPECT_EQ(asked, c.asked);
  // The failing count query's case has moved the table away.
  const std::string table = std::string(c.setupSql).find("rename") != std::string::npos ? "olddata_x" : "olddata";
  EXPECT_EQ(One(Db(), "select count(*) from " + table), std::to_string(c.rows));
  EXPECT_EQ(boxes_, c.boxes);
  EXPECT_TRUE(DbConnection->Connected());
}

const CommandCase kCommandCases[] = {
    {"HistoryClearedOnYes", "", IDYES, CommandCase::File, true, 200, {kQuestion}},
    {"HistoryKeptOnNo", "", IDNO, CommandCase::File, true, 201, {kQuestion}},
    {"FolderSaysComplete", "", IDYES, CommandCase::Folder, true, 200, {kQuestion, "The import is complete."}},
    {"FailingDeleteEndsTheCommand",
     "create trigger refuse before delete on olddata begin select raise(abort, 'refused'); end", IDYES,
     CommandCase::File, false, 1, {kQuestion}},
    {"FailingCountEndsTheCommand", "alter table olddata rename to olddata_x",
     IDYES, CommandCase::File, false, 1, {}},
    {"CancelledDialogImportsNothing", "", IDNO, CommandCase::Cancel, true, 1, {kQuestion}},
    {"StopInFileModeKeepsNothingOfTheFile", "", IDNO, CommandCase::FileStopped, true, 1, {kQuestion}},
};
INSTANTIATE_TEST_SUITE_P(Flow, ImportCommandTest, testing::ValuesIn(kCommandCases),
                         [](const testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

}  // namespace
