// The desktop colour scheme: detection from a ThemeManager value (written under a private test
// key), and the scheme colours with visual styles on and off, for each colour style, on
// full-colour and palette displays.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "controls/KxCommonColors.h"
#include "toolkit/rtl/TextConv.h"

namespace {

// A private current-user key with a ThemeManager section, deleted afterwards; the desktop's
// own ThemeManager value stays untouched (the platform's theme loading reads it).
class SchemeKey {
 public:
  SchemeKey()
      : path_("Software\\VornakitTest\\Scheme-" + std::to_string(GetCurrentProcessId())) {}
  ~SchemeKey() { RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(path_).c_str()); }
  std::string Path() const { return "\\" + path_; }
  void Write(const std::optional<std::wstring>& value) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(path_ + "\\ThemeManager").c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (value) {
      RegSetValueExW(key, L"ColorName", 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                     static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key, L"ColorName");
    }
    RegCloseKey(key);
  }

 private:
  std::string path_;
};

TEST(ColorSchemeTest, DetectsTheSchemeFromTheRegistryInAnyCase) {
  struct Case {
    const char* name;
    std::optional<std::wstring> value;
    int expected;
  } const cases[] = {
      {"Metallic", L"Metallic", 2},   {"upper case", L"METALLIC", 2}, {"lower case", L"metallic", 2},
      {"olive", L"HomeStead", 1},     {"blue", L"NormalColor", 0},    {"empty", L"", 0},
      {"missing value", std::nullopt, 0},
  };
  SchemeKey key;
  EXPECT_EQ(DetectXPColorSchemeAt(key.Path()), 0) << "missing section";
  for (const auto& c : cases) {
    key.Write(c.value);
    EXPECT_EQ(DetectXPColorSchemeAt(key.Path()), c.expected) << c.name;
  }
}

// The scheme number the desktop's own "ColorName" value names, read here without the code under
// test. (Wine's light theme names its colours "Blue": the default scheme.)
int DesktopSchemeFromTheRegistry() {
  wchar_t buffer[64] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  std::wstring value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", L"ColorName",
                   RRF_RT_REG_SZ, nullptr, buffer, &size) == ERROR_SUCCESS) {
    value = buffer;
  }
  return _wcsicmp(value.c_str(), L"HomeStead") == 0 ? 1 : _wcsicmp(value.c_str(), L"Metallic") == 0 ? 2 : 0;
}

TEST(ColorSchemeTest, TheDesktopValueIsReadFromTheCurrentVersionKey) {
  EXPECT_EQ(DetectXPColorScheme(), DesktopSchemeFromTheRegistry());
}

class SchemeColorsTest : public testing::Test {
 protected:
  void SetUp() override {
    SetKxSysColorLookup([](int index) -> COLORREF {
      switch (index) {
        case COLOR_BTNFACE: return 0xC0C0C0;
        case COLOR_BTNSHADOW: return 0x808080;
        case COLOR_WINDOW: return 0xFFFFFF;
        case COLOR_HIGHLIGHT: return 0x800000;
        default: return 0;
      }
    });
    SetKxFullColorDevice(true);
    SetKxColorScheme(0);
  }
  void TearDown() override {
    SetKxSysColorLookup(nullptr);
    SetKxVisualStylesQuery(nullptr);
    SetKxFullColorDevice(true);
    SetKxColorScheme(0);
  }
  void Themed(bool active) {
    SetKxVisualStylesQuery([active] { return active; });
  }
};

TEST_F(SchemeColorsTest, OfficeStyleWithVisualStylesUsesTheSchemeTable) {
  Themed(true);
  struct Row {
    int scheme;
    TColor selFrame, selStart, selStop, gradStart, gradStop, frame;
  } const rows[] = {
      {0, 0x800000, 0xC2EEFF, 0xA0D9FF, 0xFFEFE3, 0xEABB99, 0xBF7F57},
      {1, 0x385D3F, 0xC2EEFF, 0xA0D9FF, 0xEDFFFF, 0x92C7B8, 0x77A17F},
      {2, 0x6F4B4B, 0xC2EEFF, 0xA0D9FF, 0xFFF9F9, 0xD0BCBD, 0xB19F9F},
  };
  for (const Row& r : rows) {
    SetKxColorScheme(r.scheme);
    const TKxSelectionColors sel = GetSchemeSelectionColors(gcsMSOffice);
    EXPECT_EQ(sel.FrameColor, r.selFrame) << r.scheme;
    EXPECT_EQ(sel.StartColor, r.selStart) << r.scheme;
    EXPECT_EQ(sel.StopColor, r.selStop) << r.scheme;
    const TKxGradientColors grad = GetSchemeGradientColors(gcsMSOffice);
    EXPECT_EQ(grad.StartColor, r.gradStart) << r.scheme;
    EXPECT_EQ(grad.StopColor, r.gradStop) << r.scheme;
    EXPECT_EQ(GetSchemeFrameColor(gcsMSOffice), r.frame) << r.scheme;
    const TKxStatusColors status = GetSchemeStatusColors(gcsMSOffice);
    EXPECT_EQ(status.StopColor, r.gradStop) << r.scheme;
    EXPECT_EQ(status.StartColor, r.gradStart) << r.scheme;
    EXPECT_EQ(status.FrameColor, r.gradStop) << r.scheme;
  }
}

// The system-derived colours, with the fixed lookup above.
void ExpectSystemColours() {
  const TKxSelectionColors sel = GetSchemeSelectionColors(gcsMSOffice);
  EXPECT_EQ(sel.FrameColor, clHighlight);
  EXPECT_EQ(sel.StopColor, 0xD9B2B2);  // MixColors(highlight, window, 77)
  EXPECT_EQ(sel.StartColor, LightenColor(0xD9B2B2, 20));
  const TKxGradientColors grad = GetSchemeGradientColors(gcsMSOffice);
  EXPECT_EQ(grad.StartColor, clWindow);
  EXPECT_EQ(grad.StopColor, 0xB6B6B6);
  EXPECT_EQ(GetSchemeFrameColor(gcsMSOffice), LightenColor(0x808080, 30));
  const TKxStatusColors status = GetSchemeStatusColors(gcsMSOffice);
  EXPECT_EQ(status.StopColor, 0xABABAB);
  EXPECT_EQ(status.StartColor, clWindow);
  EXPECT_EQ(status.FrameColor, 0x969696);
}

TEST_F(SchemeColorsTest, OfficeStyleWithoutVisualStylesUsesSystemColours) {
  Themed(false);
  SetKxColorScheme(2);
  ExpectSystemColours();
}

TEST_F(SchemeColorsTest, SystemAndCustomStylesIgnoreTheSchemeEvenWhenThemed) {
  Themed(true);
  SetKxColorScheme(1);
  for (TKxGradientColorStyle style : {gcsSystem, gcsCustom}) {
    EXPECT_EQ(GetSchemeFrameColor(style), LightenColor(0x808080, 30));
    EXPECT_EQ(GetSchemeGradientColors(style).StopColor, 0xB6B6B6);
    EXPECT_EQ(GetSchemeSelectionColors(style).FrameColor, clHighlight);
  }
}

TEST_F(SchemeColorsTest, PaletteDisplaysGetNoSelectionGradient) {
  SetKxFullColorDevice(false);
  for (bool themed : {false, true}) {
    Themed(themed);
    const TKxSelectionColors sel = GetSchemeSelectionColors(gcsMSOffice);
    EXPECT_EQ(sel.StartColor, sel.StopColor) << themed;
    EXPECT_EQ(sel.StopColor, themed ? 0xA0D9FF : 0xD9B2B2) << themed;
  }
}

// Initialisation replaces whatever the unit state held with the desktop's scheme and the
// display's colour depth (Xvfb runs at depth 24: no palette).
TEST(ColorSchemeStateTest, InitializationReadsTheScreen) {
  const int desktop = DesktopSchemeFromTheRegistry();
  SetKxColorScheme(desktop == 2 ? 1 : 2);
  SetKxFullColorDevice(false);
  KxCommonColorsInitialize();
  EXPECT_EQ(KxColorScheme(), desktop);
  const HDC screen = GetDC(nullptr);
  const bool palette = GetDeviceCaps(screen, NUMCOLORS) != -1;
  ReleaseDC(nullptr, screen);
  EXPECT_FALSE(palette);
  EXPECT_TRUE(KxFullColorDevice());
  SetKxColorScheme(0);
}

}  // namespace
