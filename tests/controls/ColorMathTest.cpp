// Colour arithmetic on the 0..240 scale: conversions both ways with halves to even, darkening
// and lightening at their limits, mixing, closeness and the opposite hue; system colours are
// resolved through a fixed lookup so the numbers do not depend on the desktop.
#include <gtest/gtest.h>

#include <string>

#include "controls/KxCommonColors.h"

namespace {

class ColorMathTest : public testing::Test {
 protected:
  void SetUp() override {
    SetKxSysColorLookup([](int index) -> COLORREF {
      switch (index) {
        case COLOR_BTNFACE: return 0xC0C0C0;
        case COLOR_BTNSHADOW: return 0x808080;
        case COLOR_WINDOW: return 0xFFFFFF;
        case COLOR_HIGHLIGHT: return 0x800000;
        default: return 0x000000;
      }
    });
  }
  void TearDown() override { SetKxSysColorLookup(nullptr); }
};

struct ShadeCase {
  const char* name;
  TColor color;
  int amount;  // negative: darken by -amount; else lighten
  TColor expected;
};

TEST_F(ColorMathTest, DarkenAndLightenGiveTheKnownColours) {
  const ShadeCase cases[] = {
      {"silver darkened 10", 0xC0C0C0, -10, 0xB6B6B6},
      {"silver darkened 20", 0xC0C0C0, -20, 0xABABAB},
      {"silver darkened 40", 0xC0C0C0, -40, 0x969696},
      {"yellow darkened 50", 0x00FFFF, -50, 0x009594},
      {"orange lightened 0 loses rounding", 0x149BF0, 0, 0x139EF0},
      {"black darkened stays black", 0x000000, -50, 0x000000},
      {"white lightened stays white", 0xFFFFFF, 100, 0xFFFFFF},
      {"grey lightened past 240 saturates", 0x808080, 200, 0xFFFFFF},
      {"system face darkened 10", clBtnFace, -10, 0xB6B6B6},
  };
  for (const ShadeCase& c : cases) {
    const TColor got = c.amount < 0 ? DarkenColor(c.color, -c.amount) : LightenColor(c.color, c.amount);
    EXPECT_EQ(got, c.expected) << c.name << std::hex << " got " << got;
  }
}

TEST_F(ColorMathTest, ShiftColorLightnessPicksDarkenLightenOrNothing) {
  EXPECT_EQ(ShiftColorLightness(0xC0C0C0, -10), DarkenColor(0xC0C0C0, 10));
  EXPECT_EQ(ShiftColorLightness(0xC0C0C0, 30), LightenColor(0xC0C0C0, 30));
  // 0 keeps the value itself, even a system colour that the others would resolve.
  EXPECT_EQ(ShiftColorLightness(clBtnShadow, 0), clBtnShadow);
  EXPECT_EQ(ShiftColorLightness(0x149BF0, 0), 0x149BF0);
}

struct HslCase {
  const char* name;
  int hue, sat, lum;
  TColor expected;
};

TEST_F(ColorMathTest, HueSatLumToColorUsesTheHueDivisor239) {
  const HslCase cases[] = {
      {"blue with a trace of red", 160, 240, 120, 0xFF0004},
      {"white", 0, 0, 240, 0xFFFFFF},
      {"lightness 0 is black whatever the hue", 200, 240, 0, 0x000000},
      {"pure red", 0, 240, 120, 0x0000FF},
      {"top hue wraps to sextant 6 (red side)", 239, 240, 120, 0x0000FF},
      {"grey", 77, 0, 120, 0x808080},
      // Grey components are Lum * 255/240: 8.5 and 25.5 go to the even neighbour.
      {"grey 8.5 goes down to 8", 0, 0, 8, 0x080808},
      {"grey 25.5 goes up to 26", 0, 0, 24, 0x1A1A1A},
  };
  for (const HslCase& c : cases) {
    EXPECT_EQ(HueSatLumToColor(c.hue, c.sat, c.lum), c.expected) << c.name;
  }
}

TEST_F(ColorMathTest, ColorToHueSatLumRoundsHalvesToEven) {
  struct Case {
    const char* name;
    TColor color;
    THueSatLum expected;
  } const cases[] = {
      {"yellow", 0x00FFFF, {40, 240, 120}},
      {"orange", 0x149BF0, {25, 211, 122}},
      {"silver", 0xC0C0C0, {0, 0, 181}},
      {"white", 0xFFFFFF, {0, 0, 240}},
      {"blue", 0xFF0000, {160, 240, 120}},
      // max+min = 255/255 -> l = 0.5 exactly, lum 120; pure green hue 80.
      {"green", 0x00FF00, {80, 240, 120}},
      // 0x7F7F7F: l = 127/255 -> 119.53 -> 120.
      {"dark grey", 0x7F7F7F, {0, 0, 120}},
      {"system highlight resolved first", clHighlight, {160, 240, 60}},
  };
  for (const auto& c : cases) {
    const THueSatLum got = ColorToHueSatLum(c.color);
    EXPECT_EQ(got.Hue, c.expected.Hue) << c.name;
    EXPECT_EQ(got.Sat, c.expected.Sat) << c.name;
    EXPECT_EQ(got.Lum, c.expected.Lum) << c.name;
  }
  EXPECT_EQ(HueOfColor(0x00FFFF), 40);
  EXPECT_EQ(HueOfColor(0xFF00FF), 200);
}

TEST_F(ColorMathTest, MixColorsWeighsBySinglePrecisionAlpha) {
  EXPECT_EQ(MixColors(0xFFFFFF, 0x000000, 255), 0xFFFFFF);
  EXPECT_EQ(MixColors(0xFFFFFF, 0x000000, 0), 0x000000);
  // 77/255 of 128 (highlight's blue) + 178/255 of 255 = 216.65 -> 217; red and green 178.
  EXPECT_EQ(MixColors(clHighlight, clWindow, 77), 0xD9B2B2);
  // 128/255 * 255 = 128 (single precision gives 127.99999...), stays 128.
  EXPECT_EQ(MixColors(0x0000FF, 0x000000, 128), 0x000080);
}

TEST_F(ColorMathTest, XorCloseAndOpposite) {
  EXPECT_EQ(XorColors(0x0F0F0F, 0xFF00F0), 0xF00FFF);
  EXPECT_EQ(XorColors(clBtnFace, 0xFFFFFF), 0x3F3F3F);
  EXPECT_TRUE(ColorsAreClose(0x149BF0, 0x149BF0));
  EXPECT_FALSE(ColorsAreClose(0x000000, 0xFFFFFF));
  // Saturation is ignored: grey and a dull red of the same lightness and hue 0 are close.
  EXPECT_TRUE(ColorsAreClose(0x808080, 0x7070A0));
  // Hue of blue is 160; opposite is 40 (yellow) at the given lightness.
  EXPECT_EQ(OppositeHueColor(0xFF0000, 120), HueSatLumToColor(40, 240, 120));
  // Hue of yellow (40) plus 120 = 160.
  EXPECT_EQ(OppositeHueColor(0x00FFFF, 120), 0xFF0004);
}

}  // namespace
