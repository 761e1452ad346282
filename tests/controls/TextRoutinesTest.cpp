// Text, geometry, monitor and version helpers: accelerator stripping (doubled marks become one
// everywhere), character sets, a text message to a real edit window, centring with division
// toward zero, the monitor lookups on the test display, and the version tables against
// injected platform versions.
#include <gtest/gtest.h>

#include <string>

#include "controls/KxCommonText.h"

namespace {

// An '&' stays only before another '&' or as the last character.
TEST(StripAcceleratorsTest, KeepsAnAmpersandBeforeAnotherOrAtTheEnd) {
  struct Case {
    const char* caption;
    const char* expected;
  } const cases[] = {
      {"&&File", "&File"}, {"E&xit", "Exit"},   {"Save &", "Save &"}, {"A&&", "A&&"},
      {"&&&x", "&&x"},     {"&&&", "&&&"},      {"a&&b", "a&b"},      {"", ""},
      {"plain", "plain"},  {"&", "&"},          {"T\xC3\xA9&st", "T\xC3\xA9st"},
  };
  for (const Case& c : cases) EXPECT_EQ(StripAccelerators(c.caption), c.expected) << c.caption;
}

TEST(CharSetTest, TestsByByteValue) {
  TKxCharSet digits;
  for (char c = '0'; c <= '9'; ++c) digits.set(static_cast<unsigned char>(c));
  digits.set(0xE9);
  EXPECT_TRUE(IsCharInSet('5', digits));
  EXPECT_FALSE(IsCharInSet('a', digits));
  EXPECT_TRUE(IsCharInSet(static_cast<char>(0xE9), digits));
  // Lead bytes of whatever code page the prefix runs.
  for (int c : {0x41, 0x81, 0xA1, 0xFE}) {
    EXPECT_EQ(IsLeadByteChar(static_cast<char>(c)), IsDBCSLeadByte(static_cast<BYTE>(c)) != 0) << c;
  }
  EXPECT_FALSE(IsLeadByteChar('A'));
}

TEST(RectCenteredInTest, CentresWithDivisionTowardZero) {
  EXPECT_EQ(RectCenteredIn({0, 0, 15, 15}, 10, 10), (TRect{2, 2, 12, 12}));
  EXPECT_EQ(RectCenteredIn({10, 20, 30, 40}, 4, 6), (TRect{18, 27, 22, 33}));
  // (-5 + 0 - 10) / 2 = -7.5 -> -7 (toward zero, not -8).
  EXPECT_EQ(RectCenteredIn({-5, -5, 0, 0}, 10, 10), (TRect{-7, -7, 3, 3}));
}

TEST(SendTextMessageTest, PassesTheTextAsWideString) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(SendTextMessage(edit, WM_SETTEXT, 0, "25.0\xE2\x84\x83"), TRUE);
  wchar_t buffer[32] = {};
  GetWindowTextW(edit, buffer, 32);
  EXPECT_EQ(std::wstring(buffer), L"25.0\x2103");
  DestroyWindow(edit);
}

TEST(MonitorTest, WorkAreasAndPointLookup) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(GetWindowWorkArea(nullptr), TRect(work));
  EXPECT_EQ(GetWindowWorkAreaWidth(nullptr), work.right - work.left);
  HMONITOR primary = FindMonitorAtPoint({1, 1});
  ASSERT_NE(primary, nullptr);
  EXPECT_EQ(GetMonitorBounds(primary), (TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  EXPECT_EQ(MonitorWorkArea(primary), TRect(work));
  EXPECT_EQ(FindMonitorAtPoint({-30000, -30000}), nullptr);
}

class VersionTest : public testing::Test {
 protected:
  void TearDown() override { SetKxPlatformVersionQuery(nullptr); }
  void Pretend(DWORD platform, DWORD major, DWORD minor) {
    SetKxPlatformVersionQuery([=] { return TKxPlatformVersion{platform, major, minor}; });
  }
};

TEST_F(VersionTest, ExactTestsMatchOneVersionEach) {
  struct Case {
    const char* name;
    DWORD platform, major, minor;
    int version;  // the one number IsWindowsVersion answers true for; -1 none
  } const cases[] = {
      {"95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0},  {"NT 4", VER_PLATFORM_WIN32_NT, 4, 0, 1},
      {"98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2}, {"ME", VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3},
      {"2000", VER_PLATFORM_WIN32_NT, 5, 0, 4},     {"XP", VER_PLATFORM_WIN32_NT, 5, 1, 5},
      {"2003", VER_PLATFORM_WIN32_NT, 5, 2, 6},     {"Vista", VER_PLATFORM_WIN32_NT, 6, 0, 7},
      {"7", VER_PLATFORM_WIN32_NT, 6, 1, 8},        {"10", VER_PLATFORM_WIN32_NT, 10, 0, -1},
  };
  for (const Case& c : cases) {
    Pretend(c.platform, c.major, c.minor);
    for (int v = 0; v <= 8; ++v) EXPECT_EQ(IsWindowsVersion(v), v == c.version) << c.name << " v" << v;
  }
}

TEST_F(VersionTest, AtLeastTestsCompareMajorThenMinor) {
  Pretend(VER_PLATFORM_WIN32_NT, 6, 1);
  for (int v = 4; v <= 8; ++v) EXPECT_TRUE(IsWindowsVersionAtLeast(v)) << v;
  Pretend(VER_PLATFORM_WIN32_NT, 5, 1);
  EXPECT_TRUE(IsWindowsVersionAtLeast(4));
  EXPECT_TRUE(IsWindowsVersionAtLeast(5));
  EXPECT_FALSE(IsWindowsVersionAtLeast(6));
  EXPECT_FALSE(IsWindowsVersionAtLeast(7));
  Pretend(VER_PLATFORM_WIN32_NT, 10, 0);
  EXPECT_TRUE(IsWindowsVersionAtLeast(7));
  Pretend(VER_PLATFORM_WIN32_WINDOWS, 10, 0);
  EXPECT_FALSE(IsWindowsVersionAtLeast(4));
}

TEST_F(VersionTest, RealQueryAnswersTheNtPlatform) {
  const TKxPlatformVersion os = KxPlatformVersion();
  EXPECT_EQ(os.PlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_TRUE(IsWindowsVersionAtLeast(4));
}

}  // namespace
