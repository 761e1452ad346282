// The desktop colour scheme: detection from the current user's ThemeManager value (written in
// the test prefix's registry and restored afterwards), and the scheme colours with visual
// styles on and off, for each colour style, on full-colour and palette displays.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "controls/KxCommonColors.h"
#include "toolkit/rtl/TextConv.h"

namespace {

const wchar_t kThemeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

// Writes (or, for nullopt, deletes) ColorName; the destructor puts the prefix's value back.
class ColorNameOverride {
 public:
  ColorNameOverride() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kThemeKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
      existed_ = true;
      wchar_t buffer[256] = {};
      DWORD size = sizeof(buffer) - sizeof(wchar_t);
      DWORD type = 0;
      if (RegQueryValueExW(key, L"ColorName", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
          ERROR_SUCCESS) {
        saved_ = std::wstring(buffer);
      }
      RegCloseKey(key);
    }
  }
  ~ColorNameOverride() {
    if (!existed_) {
      RegDeleteKeyW(HKEY_CURRENT_USER, kThemeKey);
      return;
    }
    Write(saved_);
  }
  void Write(const std::optional<std::wstring>& value) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kThemeKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (value) {
      RegSetValueExW(key, L"ColorName", 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                     static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key, L"ColorName");
    }
    RegCloseKey(key);
  }

 private:
  bool existed_ = false;
  std::optional<std::wstring> saved_;
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
  ColorNameOverride override;
  for (const auto& c : cases) {
    override.Write(c.value);
    EXPECT_EQ(DetectXPColorScheme(), c.expected) << c.name;
  }
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

TEST(ColorSchemeStateTest, InitializationReadsTheScreen) {
  KxCommonColorsInitialize();
  // Xvfb runs at depth 24: no palette.
  EXPECT_TRUE(KxFullColorDevice());
  EXPECT_TRUE(DeviceHasFullColor());
  EXPECT_EQ(KxColorScheme(), DetectXPColorScheme());
}

}  // namespace
