// Read-only registry access against keys the test writes itself under
// HKEY_CURRENT_USER\Software\VornakitTest (one subkey per test and process, deleted after):
// opening by absolute and relative path, reading each value type, the errors of a wrong type or a
// missing value, name lists, that opened keys cannot be written, and the INI-style reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/Registry.h"
#include "toolkit/system/RegistryIniFile.h"

namespace {

const wchar_t kTestRoot[] = L"Software\\VornakitTest";

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    path_ = "Software\\VornakitTest\\" + std::string(info->name()) + "-" +
            std::to_string(GetCurrentProcessId());
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(path_).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
    SetString(key_, L"Port", REG_SZ, L"COM3");
    SetString(key_, L"Expandable", REG_EXPAND_SZ, L"%TEMP%\\logs");
    SetString(key_, L"Empty", REG_SZ, L"");
    SetString(key_, L"Wide", REG_SZ, L"25.0\x2103 \x6E29\x5EA6");
    // Stored without its terminating null, as careless writers leave it.
    const std::wstring bare = L"NoTerminator";
    RegSetValueExW(key_, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(bare.data()),
                   static_cast<DWORD>(bare.size() * sizeof(wchar_t)));
    SetDword(key_, L"DefaultPalette", 13);
    SetDword(key_, L"AllBits", 0xFFFFFFFFu);
    const unsigned char columns[16] = {200, 0, 0, 0, 60, 0, 0, 0, 100, 0, 0, 0, 120, 0, 0, 0};
    RegSetValueExW(key_, L"DirectoryCols", 0, REG_BINARY, columns, sizeof(columns));

    HKEY theme = CreateSubkey(L"ThemeManager");
    SetString(theme, L"ColorName", REG_SZ, L"Metallic");
    SetDword(theme, L"Counter", 3);
    RegCloseKey(theme);
    RegCloseKey(CreateSubkey(L"Editor"));
  }

  void TearDown() override {
    if (key_ != nullptr) RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(path_).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kTestRoot);  // fails while other tests still have keys there
  }

  HKEY CreateSubkey(const wchar_t* name) {
    HKEY subkey = nullptr;
    RegCreateKeyExW(key_, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &subkey, nullptr);
    return subkey;
  }
  static void SetString(HKEY key, const wchar_t* name, DWORD type, const std::wstring& text) {
    RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  static void SetDword(HKEY key, const wchar_t* name, DWORD value) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  }
  // The test key's path from the root, as OpenKeyReadOnly takes it.
  std::string AbsolutePath() const { return "\\" + path_; }

  std::string path_;
  HKEY key_ = nullptr;
};

TEST_F(RegistryTest, OpensKeysByAbsoluteAndRelativePath) {
  TRegistry registry;
  EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(registry.Access(), static_cast<REGSAM>(KEY_READ));
  ASSERT_TRUE(registry.OpenKeyReadOnly(AbsolutePath()));
  EXPECT_NE(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.CurrentPath(), path_);

  // Relative to the open key.
  ASSERT_TRUE(registry.OpenKeyReadOnly("ThemeManager"));
  EXPECT_EQ(registry.CurrentPath(), path_ + "\\ThemeManager");
  EXPECT_TRUE(registry.ValueExists("ColorName"));

  // A missing key leaves the open one as it was.
  EXPECT_FALSE(registry.OpenKeyReadOnly("NoSuchKey"));
  EXPECT_EQ(registry.CurrentPath(), path_ + "\\ThemeManager");
  EXPECT_FALSE(registry.KeyExists("\\" + path_ + "\\NoSuchKey"));
  EXPECT_TRUE(registry.KeyExists("\\" + path_ + "\\Editor"));

  registry.CloseKey();
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.CurrentPath(), "");
  // With no key open a relative path starts at the root key.
  EXPECT_TRUE(registry.OpenKeyReadOnly(path_ + "\\Editor"));
}

TEST_F(RegistryTest, ChangingTheRootKeyClosesTheOpenKey) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(AbsolutePath()));
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(registry.RootKey(), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_FALSE(registry.OpenKeyReadOnly(AbsolutePath()));  // not under this root
}

struct StringCase {
  const char* name;
  const char* value;
  const char* expected;
};

TEST_F(RegistryTest, ReadStringGivesTheTextOfStringValues) {
  const StringCase cases[] = {
      {"plain", "Port", "COM3"},
      {"expandable, not expanded", "Expandable", "%TEMP%\\logs"},
      {"empty", "Empty", ""},
      {"beyond ASCII, as UTF-8", "Wide", "25.0\xE2\x84\x83 \xE6\xB8\xA9\xE5\xBA\xA6"},
      {"without terminator", "Bare", "NoTerminator"},
      {"missing", "NoSuchValue", ""},
  };
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(AbsolutePath()));
  for (const StringCase& c : cases) EXPECT_EQ(registry.ReadString(c.value), c.expected) << c.name;
}

TEST_F(RegistryTest, ReadIntegerGivesDwordValues) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(AbsolutePath()));
  EXPECT_EQ(registry.ReadInteger("DefaultPalette"), 13);
  EXPECT_EQ(registry.ReadInteger("AllBits"), -1);
}

struct ErrorCase {
  const char* name;
  bool readInteger;  // else ReadString
  const char* value;
  const char* message;
};

TEST_F(RegistryTest, ReadsOfTheWrongTypeOrOfMissingNumbersRaise) {
  const ErrorCase cases[] = {
      {"string of a number", false, "DefaultPalette", "Invalid data type for 'DefaultPalette'"},
      {"string of binary data", false, "DirectoryCols", "Invalid data type for 'DirectoryCols'"},
      {"number of a string", true, "Port", "Invalid data type for 'Port'"},
      {"missing number", true, "NoSuchValue", "Failed to get data for 'NoSuchValue'"},
  };
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(AbsolutePath()));
  for (const ErrorCase& c : cases) {
    try {
      if (c.readInteger)
        registry.ReadInteger(c.value);
      else
        registry.ReadString(c.value);
      ADD_FAILURE() << c.name << ": nothing raised";
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message(), c.message) << c.name;
    }
  }
}

TEST_F(RegistryTest, BinaryDataIsReadWhenItFits) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(AbsolutePath()));
  EXPECT_EQ(registry.GetDataSize("DirectoryCols"), 16);
  EXPECT_EQ(registry.GetDataSize("NoSuchValue"), -1);
  int widths[6] = {-1, -1, -1, -1, -1, -1};  // room for 22 bytes and more
  EXPECT_EQ(registry.ReadBinaryData("DirectoryCols", widths, sizeof(widths)), 16);
  EXPECT_EQ(widths[0], 200);
  EXPECT_EQ(widths[1], 60);
  EXPECT_EQ(widths[2], 100);
  EXPECT_EQ(widths[3], 120);
  EXPECT_EQ(widths[4], -1);
  char small[8];
  EXPECT_THROW(registry.ReadBinaryData("DirectoryCols", small, sizeof(small)), ERegistryException);
  EXPECT_THROW(registry.ReadBinaryData("Port", widths, sizeof(widths)), ERegistryException);
}

TEST_F(RegistryTest, ListsValueAndKeyNames) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(AbsolutePath()));
  std::vector<std::string> values = registry.GetValueNames();
  std::sort(values.begin(), values.end());
  const std::vector<std::string> expectedValues = {"AllBits", "Bare",          "DefaultPalette",
                                                   "DirectoryCols", "Empty", "Expandable",
                                                   "Port",    "Wide"};
  EXPECT_EQ(values, expectedValues);
  std::vector<std::string> keys = registry.GetKeyNames();
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, (std::vector<std::string>{"Editor", "ThemeManager"}));

  ASSERT_TRUE(registry.OpenKeyReadOnly("Editor"));
  EXPECT_TRUE(registry.GetValueNames().empty());
  EXPECT_TRUE(registry.GetKeyNames().empty());
}

TEST_F(RegistryTest, AnOpenedKeyCannotBeWritten) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(AbsolutePath()));
  const DWORD value = 1;
  EXPECT_EQ(RegSetValueExW(registry.CurrentKey(), L"Written", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&value), sizeof(value)),
            ERROR_ACCESS_DENIED);
  EXPECT_FALSE(registry.ValueExists("Written"));
}

TEST_F(RegistryTest, TheIniReaderReadsSectionsAsSubkeysWithDefaults) {
  TRegistryIniFile ini(AbsolutePath());
  EXPECT_EQ(ini.ReadString("ThemeManager", "ColorName", ""), "Metallic");
  EXPECT_TRUE(ini.ValueExists("ThemeManager", "ColorName"));
  EXPECT_FALSE(ini.ValueExists("ThemeManager", "DllName"));
  EXPECT_EQ(ini.ReadString("ThemeManager", "DllName", "none"), "none");
  EXPECT_EQ(ini.ReadString("NoSection", "ColorName", "none"), "none");
  // A number where a text is expected gives the default, never an exception.
  EXPECT_EQ(ini.ReadString("ThemeManager", "Counter", "none"), "none");
  // The file name may be given without the leading delimiter too.
  EXPECT_EQ(TRegistryIniFile(path_).ReadString("ThemeManager", "ColorName", ""), "Metallic");
}

}  // namespace
