// The daily log tree: file names per day and kind, the month folder, the line stamp, pruning of
// the year before last, and swallowed failures.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/AppGlobals.h"
#include "app/DailyLog.h"
#include "tests/app/LogLines.h"
#include "tests/support/TempFolder.h"
#include "toolkit/rtl/TextConv.h"

namespace {

bool Exists(const std::string& path) {
  return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFile(const std::string& path) {
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  CloseHandle(h);
}

class DailyLogTest : public testing::Test {
 protected:
  void SetUp() override { AppPath = folder.Path(); }
  void TearDown() override { AppPath.clear(); }
  TempFolder folder;
};

TEST_F(DailyLogTest, WritesStampedLineIntoDayFileOfKind) {
  const TDateTime at = EncodeDate(2024, 3, 5) + EncodeTime(8, 7, 6, 45);
  WriteLogAt("crc err : FE00", "except", at);
  WriteLogAt("second", "except", at + EncodeTime(0, 0, 1, 0));

  EXPECT_EQ(LogFilePath("except", at), folder.Path() + "Log\\2024\\3\\2024-03-05__except.log");
  const std::vector<LogLine> lines = ReadLogLines(folder.Path());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].file, "2024\\3\\2024-03-05__except.log");
  EXPECT_EQ(lines[0].text, "[2024-03-05 08:07:06:045] crc err : FE00");
  EXPECT_EQ(lines[1].text, "[2024-03-05 08:07:07:045] second");
}

TEST_F(DailyLogTest, KindGoesIntoFileNameAsGiven) {
  const TDateTime at = EncodeDate(2025, 12, 31) + EncodeTime(23, 59, 59, 999);
  for (const char* kind : {"except_2", "warning", "log"}) WriteLogAt(kind, kind, at);
  EXPECT_TRUE(Exists(folder.Path() + "Log\\2025\\12\\2025-12-31__except_2.log"));
  EXPECT_TRUE(Exists(folder.Path() + "Log\\2025\\12\\2025-12-31__warning.log"));
  EXPECT_TRUE(Exists(folder.Path() + "Log\\2025\\12\\2025-12-31__log.log"));
  EXPECT_EQ(LogFilePath("Except", at), folder.Path() + "Log\\2025\\12\\2025-12-31__Except.log");
}

TEST_F(DailyLogTest, FirstWriteOfAMonthCreatesItsFolder) {
  WriteLogAt("march", "log", EncodeDate(2024, 3, 31) + EncodeTime(23, 59, 59, 0));
  EXPECT_FALSE(Exists(folder.Path() + "Log\\2024\\4"));
  WriteLogAt("april", "log", EncodeDate(2024, 4, 1));
  EXPECT_TRUE(Exists(folder.Path() + "Log\\2024\\3\\2024-03-31__log.log"));
  EXPECT_TRUE(Exists(folder.Path() + "Log\\2024\\4\\2024-04-01__log.log"));
  // October has two digits; months never get a leading zero.
  WriteLogAt("october", "log", EncodeDate(2024, 10, 9));
  EXPECT_TRUE(Exists(folder.Path() + "Log\\2024\\10\\2024-10-09__log.log"));
}

// The file system here ignores case, so "except" and "Except" of one day share one file.
TEST_F(DailyLogTest, KindsDifferingOnlyInCaseShareTheDayFile) {
  const TDateTime at = EncodeDate(2024, 3, 5);
  WriteLogAt("from the port", "except", at);
  WriteLogAt("from the database", "Except", at);
  const std::vector<LogLine> lines = ReadLogLines(folder.Path());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].file, lines[1].file);
  EXPECT_EQ(lines[0].text, "[2024-03-05 00:00:00:000] from the port");
  EXPECT_EQ(lines[1].text, "[2024-03-05 00:00:00:000] from the database");
}

TEST_F(DailyLogTest, FirstWriteOfAYearRemovesTheYearBeforeLast) {
  CreateDirectoryW(Utf8ToWide(folder.Path() + "Log").c_str(), nullptr);
  for (const char* dir : {"Log\\2024", "Log\\2024\\12", "Log\\2025", "Log\\2025\\6"})
    CreateDirectoryW(Utf8ToWide(folder.Path() + dir).c_str(), nullptr);
  MakeFile(folder.Path() + "Log\\2024\\12\\2024-12-01__except.log");
  MakeFile(folder.Path() + "Log\\2024\\old.txt");
  MakeFile(folder.Path() + "Log\\2025\\6\\2025-06-01__log.log");

  WriteLogAt("new year", "log", EncodeDate(2026, 1, 2));

  EXPECT_FALSE(Exists(folder.Path() + "Log\\2024"));
  EXPECT_TRUE(Exists(folder.Path() + "Log\\2025\\6\\2025-06-01__log.log"));
  EXPECT_TRUE(Exists(folder.Path() + "Log\\2026\\1\\2026-01-02__log.log"));
}

TEST_F(DailyLogTest, ConcurrentWritersNeverInterleaveLines) {
  const TDateTime at = EncodeDate(2024, 3, 5);
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t)
    writers.emplace_back([t, at] {
      for (int i = 0; i < 50; ++i)
        WriteLogAt("writer " + std::to_string(t) + " line " + std::to_string(i) + " " +
                       std::string(200, static_cast<char>('a' + t)),
                   "except", at);
    });
  for (std::thread& w : writers) w.join();
  const std::vector<LogLine> lines = ReadLogLines(folder.Path());
  ASSERT_EQ(lines.size(), 200u);
  for (const LogLine& l : lines) {
    const size_t at = l.text.find("] writer ");
    ASSERT_NE(at, std::string::npos) << l.text;
    const char letter = static_cast<char>('a' + (l.text[at + 9] - '0'));
    EXPECT_EQ(l.text.substr(l.text.size() - 200), std::string(200, letter));
  }
}

// Every entry below `root` (folders with a trailing backslash, files with their size).
std::vector<std::string> TreeOf(const std::string& root) {
  std::vector<std::string> entries;
  WalkTree(root, "", [&](const std::string& path, bool folder, DWORD size) {
    entries.push_back(folder ? path + "\\" : path + " " + std::to_string(size));
  });
  return entries;
}

// A log that cannot be written loses its line without a word: nothing is written anywhere, the
// caller goes on, and the next write to a writable folder works (the log lock was given back).
TEST_F(DailyLogTest, UnwritableFolderLosesTheLineAndTheNextWriteWorks) {
  struct Case {
    const char* name;
    const char* blocker;   // a file made where a folder of the log path should be
    const char* appPath;   // the program folder, below the test folder
  };
  const Case cases[] = {
      {"program folder is a file", "blocker", "blocker\\"},
      {"Log is a file", "Log", ""},
      {"year folder is a file", "Log\\2024", ""},
      {"month folder is a file", "Log\\2024\\3", ""},
  };
  const TDateTime at = EncodeDate(2024, 3, 5) + EncodeTime(8, 7, 6, 0);
  for (const Case& c : cases) {
    TempFolder root;
    std::string parent = c.blocker;
    for (size_t slash = parent.find('\\'); slash != std::string::npos; slash = parent.find('\\', slash + 1))
      CreateDirectoryW(Utf8ToWide(root.Path() + parent.substr(0, slash)).c_str(), nullptr);
    MakeFile(root.Path() + c.blocker);
    const std::vector<std::string> before = TreeOf(root.Path());

    AppPath = root.Path() + c.appPath;
    EXPECT_NO_THROW(WriteLogAt("lost", "except", at)) << c.name;
    EXPECT_EQ(TreeOf(root.Path()), before) << c.name;

    AppPath = folder.Path();
    WriteLogAt(std::string("kept after: ") + c.name, "except", at);
    EXPECT_EQ(CountLogLines(folder.Path(), std::string("[2024-03-05 08:07:06:000] kept after: ") + c.name), 1)
        << c.name;
  }
  EXPECT_EQ(ReadLogLines(folder.Path()).size(), std::size(cases));
}

TEST_F(DailyLogTest, WriteLogUsesTheClock) {
  WriteLog("now", "log");
  EXPECT_TRUE(Exists(LogFilePath("log", Now())));
}

TEST_F(DailyLogTest, DeleteDirectoryTreeRemovesNestedFoldersAndMissingIsTrue) {
  const std::string root = folder.Path() + "tree\\";
  CreateDirectoryW(Utf8ToWide(root).c_str(), nullptr);
  CreateDirectoryW(Utf8ToWide(root + "a").c_str(), nullptr);
  CreateDirectoryW(Utf8ToWide(root + "a\\b").c_str(), nullptr);
  MakeFile(root + "a\\b\\f.log");
  MakeFile(root + "top.txt");
  SetFileAttributesW(Utf8ToWide(root + "top.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteDirectoryTree(root));
  EXPECT_FALSE(Exists(root));
  EXPECT_TRUE(DeleteDirectoryTree(folder.Path() + "missing"));
}

struct BackslashCase {
  const char* in;
  const char* out;
};

TEST(IncludeBackslash, TrimsAndAppendsOnce) {
  const BackslashCase cases[] = {
      {"", ""}, {"   ", ""}, {"C:\\a", "C:\\a\\"}, {" C:\\a\\ ", "C:\\a\\"}, {"x", "x\\"}};
  for (const BackslashCase& c : cases) EXPECT_EQ(IncludeBackslash(c.in), c.out) << c.in;
}

}  // namespace
