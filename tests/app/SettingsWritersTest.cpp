// The dialogs' settings files: written in the ANSI code page and read back by the program's
// own readers; a file that cannot be written raises and leaves the values in memory alone.
#include <gtest/gtest.h>

#include "app/AppGlobals.h"
#include "app/Settings.h"
#include "app/SettingsWriters.h"
#include "tests/app/HistoryFixtures.h"
#include "tests/support/TempFolder.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

class SettingsWritersTest : public testing::Test {
 protected:
  void SetUp() override { AppPath = folder_.Path(); }
  std::string Raw(const std::string& name) {
    const fixtures::Bytes b = fixtures::ReadFileBytes(AppPath + name);
    return std::string(b.begin(), b.end());
  }
  TempFolder folder_;
};

TEST_F(SettingsWritersTest, CompanyFileHoldsTheTextsAsEnteredAndMemoryTheTrimmedOnes) {
  SaveCompanyInfo({" Acme Ltd ", "1 Main St", "555-0100 ", "www.example.com"});
  EXPECT_EQ(Raw("company.ini"), " Acme Ltd \r\n1 Main St\r\n555-0100 \r\nwww.example.com\r\n");
  EXPECT_EQ(CompanyName, "Acme Ltd");
  EXPECT_EQ(CompanyPhone, "555-0100");
  CompanyName.clear();
  LoadCompanyInfo();
  EXPECT_EQ(CompanyName, " Acme Ltd ");
  EXPECT_EQ(CompanyWebsite, "www.example.com");
}

TEST_F(SettingsWritersTest, PortFileHoldsTheChoiceOnItsOnlyLine) {
  SaveComPortSetting("Automatic selection");
  EXPECT_EQ(Raw("com.set"), "Automatic selection\r\n");
  EXPECT_EQ(ComPortName, "Automatic selection");
  SaveComPortSetting("COM3");
  ComPortName.clear();
  LoadComPortSetting();
  EXPECT_EQ(ComPortName, "COM3");
}

TEST_F(SettingsWritersTest, TextsGoOutInTheAnsiCodePage) {
  SaveCompanyInfo({"Café", "", "", ""});
  EXPECT_EQ(Raw("company.ini"), Utf8ToAnsi("Café") + "\r\n\r\n\r\n\r\n");
}

TEST_F(SettingsWritersTest, FailedWriteRaisesAndKeepsTheValues) {
  ComPortName = "COM1";
  CompanyName = "Old";
  AppPath = folder_.Path() + "missing\\";
  EXPECT_THROW(SaveComPortSetting("COM9"), EFCreateError);
  EXPECT_THROW(SaveCompanyInfo({"New", "", "", ""}), EFCreateError);
  EXPECT_EQ(ComPortName, "COM1");
  EXPECT_EQ(CompanyName, "Old");
}

}  // namespace
