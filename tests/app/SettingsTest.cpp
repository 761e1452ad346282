// The settings files company.ini and com.set.
#include <gtest/gtest.h>

#include "app/AppGlobals.h"
#include "app/Settings.h"
#include "tests/support/TempFolder.h"
#include "toolkit/rtl/TextConv.h"

namespace {

void WriteRaw(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
}

class SettingsTest : public testing::Test {
 protected:
  void SetUp() override { AppPath = folder.Path(); }
  void TearDown() override {
    AppPath.clear();
    ComPortName.clear();
    CompanyName = CompanyAddress = CompanyPhone = CompanyWebsite = "";
  }
  TempFolder folder;
};

struct ComSetCase {
  const char* name;
  const char* content;  // null: no file
  const char* port;
};

TEST_F(SettingsTest, ComSetFirstLineIsThePort) {
  const ComSetCase cases[] = {
      {"NoFile", nullptr, ""},
      {"EmptyFile", "", ""},
      {"PortName", "COM3\r\n", "COM3"},
      {"OnlyFirstLineCounts", "COM12\r\nCOM4\r\n", "COM12"},
      {"NoLineBreak", "COM7", "COM7"},
      {"Automatic", "Automatic selection\r\n", "Automatic selection"},
      {"OlderAutomaticInCodePage936", "\xD7\xD4\xB6\xAF\xD1\xA1\xD4\xF1\r\n", "自动选择"},
      {"EmptyFirstLine", "\r\nCOM3\r\n", ""},
  };
  for (const ComSetCase& c : cases) {
    DeleteFileW(Utf8ToWide(folder.Path() + "com.set").c_str());
    if (c.content) WriteRaw(folder.Path() + "com.set", c.content);
    ComPortName = "stale";
    LoadComPortSetting();
    EXPECT_EQ(ComPortName, c.port) << c.name;
  }
}

TEST_F(SettingsTest, CompanyIniLinesOneToFour) {
  WriteRaw(folder.Path() + "company.ini",
           "Vornakit Ltd\r\n12 Harbour Road\r\n+86 21 5555 0100\r\nwww.example.com\r\nextra\r\n");
  LoadCompanyInfo();
  EXPECT_EQ(CompanyName, "Vornakit Ltd");
  EXPECT_EQ(CompanyAddress, "12 Harbour Road");
  EXPECT_EQ(CompanyPhone, "+86 21 5555 0100");
  EXPECT_EQ(CompanyWebsite, "www.example.com");
}

TEST_F(SettingsTest, CompanyIniWithFewerLinesLeavesTheRestEmpty) {
  CompanyPhone = "old";
  WriteRaw(folder.Path() + "company.ini", "Name only\nAddress\n");
  LoadCompanyInfo();
  EXPECT_EQ(CompanyName, "Name only");
  EXPECT_EQ(CompanyAddress, "Address");
  EXPECT_EQ(CompanyPhone, "");
  EXPECT_EQ(CompanyWebsite, "");
}

TEST_F(SettingsTest, MissingCompanyIniKeepsTheTexts) {
  CompanyName = "kept";
  LoadCompanyInfo();
  EXPECT_EQ(CompanyName, "kept");
}

}  // namespace
