// New folder names, the warning on failure with its real reason, and item detail texts.
#include <gtest/gtest.h>

#include "tests/toolkit/RtlSettings.h"
#include "ShellTestSupport.h"
#include "shell/KxFileRoutines.h"
#include "toolkit/rtl/TextConv.h"

namespace {

std::vector<std::string> warnings;
void RecordWarning(const std::string& text) { warnings.push_back(text); }

}  // namespace

class FileRoutinesTest : public ShellFolderTest {
 protected:
  void SetUp() override {
    ShellFolderTest::SetUp();
    warnings.clear();
    SetShellWarningBox(&RecordWarning);
  }
  void TearDown() override {
    SetShellWarningBox(nullptr);
    ShellFolderTest::TearDown();
  }
};

TEST_F(FileRoutinesTest, NewFoldersTakeTheNextFreeName) {
  std::string name;
  ASSERT_TRUE(CreateNewFolderIn(root_, name));
  EXPECT_EQ(name, "New Folder");
  ASSERT_TRUE(CreateNewFolderIn(ExcludeTrailingPathDelimiter(root_), name));  // separator added
  EXPECT_EQ(name, "New Folder (2)");
  ASSERT_TRUE(CreateNewFolderIn(root_, name));
  EXPECT_EQ(name, "New Folder (3)");
  EXPECT_TRUE(DirectoryExists(root_ + "New Folder (3)"));
  EXPECT_TRUE(warnings.empty());
}

TEST_F(FileRoutinesTest, FallsBackToFldrWhenAllFiftyNamesExist) {
  MakeFolder("New Folder");
  for (int n = 2; n <= 50; ++n) MakeFolder("New Folder (" + std::to_string(n) + ")");
  std::string name;
  ASSERT_TRUE(CreateNewFolderIn(root_, name));
  EXPECT_EQ(name, "fldr");
  ASSERT_TRUE(CreateNewFolderIn(root_, name));
  EXPECT_EQ(name, "fldr2");
}

TEST_F(FileRoutinesTest, RefusesAnEmptyDirectoryInsteadOfUsingTheCurrentOne) {
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  SetCurrentDirectoryW(Utf8ToWide(root_).c_str());
  std::string name = "unchanged";
  EXPECT_FALSE(CreateNewFolderIn("", name));
  SetCurrentDirectoryW(current);
  EXPECT_FALSE(DirectoryExists(root_ + "New Folder"));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], "Unable to create the folder 'New Folder'\r\n\r\n" +
                             SysErrorMessage(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileRoutinesTest, AFailureReportsItsRealReasonOnce) {
  std::string name;
  EXPECT_FALSE(CreateNewFolderIn(root_ + "missing\\deeper", name));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], "Unable to create the folder 'fldr'\r\n\r\n" +
                             SysErrorMessage(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(warnings[0].find(SysErrorMessage(ERROR_ALREADY_EXISTS)), std::string::npos);
}

TEST_F(FileRoutinesTest, DetailsOfFilesAndFolders) {
  ProcessSettingsGuard guard;
  FormatSettings().ThousandSeparator = ',';
  const std::string big = MakeFile("big.txt", 1025);
  const std::string empty = MakeFile("empty.txt", 0);
  const std::string folder = MakeFolder("Folder");
  std::string size, modified, type;

  TIdListPtr bigList = ListOf(big);
  FileDetailsTexts(bigList.get(), size, modified, type);
  EXPECT_EQ(size, "2KB");
  EXPECT_FALSE(modified.empty());
  EXPECT_FALSE(type.empty());
  EXPECT_NE(type, "System Folder");

  TIdListPtr emptyList = ListOf(empty);
  FileDetailsTexts(emptyList.get(), size, modified, type);
  EXPECT_EQ(size, "0KB");

  TIdListPtr folderList = ListOf(folder);
  FileDetailsTexts(folderList.get(), size, modified, type);
  EXPECT_EQ(size, "");
  EXPECT_FALSE(modified.empty());

  PIDL drives = nullptr;
  ASSERT_TRUE(SUCCEEDED(SpecialFolderIdList(nullptr, CSIDL_DRIVES, drives)));
  TIdListPtr hold(drives);
  FileDetailsTexts(drives, size, modified, type);
  EXPECT_EQ(size, "");
  EXPECT_EQ(modified, "");
  EXPECT_EQ(type, "System Folder");
}

TEST_F(FileRoutinesTest, ModifiedTextUsesTheShortFormats) {
  const std::string file = MakeFile("dated.txt", 3);
  HANDLE h = CreateFileW(Utf8ToWide(file).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  SYSTEMTIME local = {2024, 3, 0, 15, 13, 45, 30, 0}, utc;
  TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
  FILETIME when;
  SystemTimeToFileTime(&utc, &when);
  SetFileTime(h, nullptr, nullptr, &when);
  CloseHandle(h);
  ProcessSettingsGuard guard;
  TFormatSettings& fs = FormatSettings();
  fs.ShortDateFormat = "yyyy-mm-dd";
  fs.ShortTimeFormat = "hh:nn";
  std::string size, modified, type;
  TIdListPtr list = ListOf(file);
  FileDetailsTexts(list.get(), size, modified, type);
  EXPECT_EQ(modified, "2024-03-15 13:45");
}
