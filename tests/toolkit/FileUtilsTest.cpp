// File-name parsing and the file-system helpers on a scratch folder.
#include <gtest/gtest.h>

#include <fstream>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/WinApi.h"

TEST(FileNames, Table) {
  struct Case {
    const char* name;
    const char* path;
    const char* filePath;
    const char* fileDir;
    const char* fileName;
    const char* ext;
  };
  static const Case cases[] = {
      {"full path", "C:\\data\\VKT_DATA.db", "C:\\data\\", "C:\\data", "VKT_DATA.db", ".db"},
      {"root file", "C:\\a.txt", "C:\\", "C:\\", "a.txt", ".txt"},
      {"drive relative", "C:a.txt", "C:", "C:", "a.txt", ".txt"},
      {"no folder", "name.tar.gz", "", "", "name.tar.gz", ".gz"},
      {"no extension", "C:\\dir.x\\file", "C:\\dir.x\\", "C:\\dir.x", "file", ""},
      {"forward slashes", "/tmp/x.csv", "/tmp/", "/tmp", "x.csv", ".csv"},
      {"trailing delimiter", "C:\\dir\\", "C:\\dir\\", "C:\\dir", "", ""},
      {"empty", "", "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
    EXPECT_EQ(ExtractFileDir(c.path), c.fileDir);
    EXPECT_EQ(ExtractFileName(c.path), c.fileName);
    EXPECT_EQ(ExtractFileExt(c.path), c.ext);
  }
  EXPECT_EQ(ChangeFileExt("C:\\a\\b.txt", ".xls"), "C:\\a\\b.xls");
  EXPECT_EQ(ChangeFileExt("C:\\a.d\\b", ".xls"), "C:\\a.d\\b.xls");
  EXPECT_EQ(ChangeFileExt("b.txt", ""), "b");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a"), "C:\\a\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a\\"), "C:\\a\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\a\\"), "C:\\a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\a"), "C:\\a");
}

class FileSystemTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t buf[MAX_PATH];
    GetTempPathW(MAX_PATH, buf);
    std::wstring w = buf;
    root_ = IncludeTrailingPathDelimiter(std::string(w.begin(), w.end())) + "rtl_fs_test_" +
            std::to_string(GetCurrentProcessId());
  }
  void TearDown() override {
    DeleteFile(root_ + "\\a\\b\\c\\f.txt");
    DeleteFile(root_ + "\\a\\b\\c\\g.txt");
    RemoveDir(root_ + "\\a\\b\\c");
    RemoveDir(root_ + "\\a\\b");
    RemoveDir(root_ + "\\a");
    RemoveDir(root_);
  }
  std::string root_;
};

TEST_F(FileSystemTest, CreateQueryRenameDelete) {
  const std::string dir = root_ + "\\a\\b\\c";
  EXPECT_FALSE(DirectoryExists(dir));
  ASSERT_TRUE(ForceDirectories(dir));
  EXPECT_TRUE(DirectoryExists(dir));
  EXPECT_TRUE(ForceDirectories(dir + "\\"));  // already there
  EXPECT_FALSE(FileExists(dir));

  const std::string file = dir + "\\f.txt";
  { std::ofstream(file, std::ios::binary) << "12345"; }
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_EQ(FileSizeOf(file), 5);
  EXPECT_EQ(FileSizeOf(dir), -1);
  EXPECT_EQ(FileSizeOf(dir + "\\missing"), -1);

  ASSERT_TRUE(RenameFile(file, dir + "\\g.txt"));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(FileExists(dir + "\\g.txt"));
  EXPECT_FALSE(RemoveDir(dir));  // not empty
  EXPECT_TRUE(DeleteFile(dir + "\\g.txt"));
  EXPECT_FALSE(DeleteFile(dir + "\\g.txt"));
  EXPECT_TRUE(RemoveDir(dir));
  EXPECT_THROW(ForceDirectories(""), EInOutError);

  EXPECT_EQ(ExpandFileName(root_ + "\\a\\..\\a"), root_ + "\\a");
}
