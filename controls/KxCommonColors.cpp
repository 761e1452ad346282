// Colour arithmetic on the 0..240 scale and the desktop colour scheme of the control set.
#include "controls/KxCommonColors.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <utility>

#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/RegistryIniFile.h"
#include "toolkit/ui/Themes.h"

namespace {

std::function<COLORREF(int)>& SysColorLookup() {
  static std::function<COLORREF(int)> lookup;
  return lookup;
}

std::function<bool()>& VisualStylesQuery() {
  static std::function<bool()> query;
  return query;
}

int g_scheme = 0;
bool g_fullColor = true;

int RedOf(COLORREF rgb) { return static_cast<int>(rgb & 0xFF); }
int GreenOf(COLORREF rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
int BlueOf(COLORREF rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }

TColor MakeColor(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// Scheme table: selection frame, selection start, selection stop, gradient start, gradient
// stop, frame.
constexpr std::array<std::array<TColor, 6>, 3> kSchemes{{
    {0x800000, 0xC2EEFF, 0xA0D9FF, 0xFFEFE3, 0xEABB99, 0xBF7F57},
    {0x385D3F, 0xC2EEFF, 0xA0D9FF, 0xEDFFFF, 0x92C7B8, 0x77A17F},
    {0x6F4B4B, 0xC2EEFF, 0xA0D9FF, 0xFFF9F9, 0xD0BCBD, 0xB19F9F},
}};

bool UsesSchemeTable(TKxGradientColorStyle style) {
  return style == gcsMSOffice && KxVisualStylesActive();
}

const std::array<TColor, 6>& CurrentScheme() {
  return kSchemes[static_cast<std::size_t>(std::clamp(g_scheme, 0, 2))];
}

}  // namespace

COLORREF KxColorToRGB(TColor color) {
  const auto& lookup = SysColorLookup();
  if (lookup && (static_cast<std::uint32_t>(color) & 0xFF000000u) == 0xFF000000u) {
    return lookup(color & 0xFF) & 0xFFFFFF;
  }
  return ColorToRGB(color);
}

void SetKxSysColorLookup(std::function<COLORREF(int index)> lookup) { SysColorLookup() = std::move(lookup); }

THueSatLum ColorToHueSatLum(TColor color) {
  const COLORREF rgb = KxColorToRGB(color);
  const long double r = RedOf(rgb) / 255.0L;
  const long double g = GreenOf(rgb) / 255.0L;
  const long double b = BlueOf(rgb) / 255.0L;
  const long double mx = std::max({r, g, b});
  const long double mn = std::min({r, g, b});
  const long double l = (mx + mn) / 2;
  long double h = 0;
  long double s = 0;
  if (mx != mn) {
    const long double d = mx - mn;
    s = l < 0.5L ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx) {
      h = (g - b) / d;
    } else if (g == mx) {
      h = 2 + (b - r) / d;
    } else {
      h = 4 + (r - g) / d;
    }
    h = h / 6;
    if (h < 0) h = h + 1;
  }
  THueSatLum result;
  result.Hue = static_cast<int>(Round(h * 240));
  result.Sat = static_cast<int>(Round(s * 240));
  result.Lum = static_cast<int>(Round(l * 240));
  return result;
}

int HueOfColor(TColor color) { return ColorToHueSatLum(color).Hue; }

TColor HueSatLumToColor(int hue, int sat, int lum) {
  const long double l = lum / 240.0L;
  const long double s = sat / 240.0L;
  const long double h = hue / 239.0L;
  const long double v = l < 0.5L ? l * (1 + s) : l + s - l * s;
  if (v <= 0) return 0;
  const long double m = 2 * l - v;
  const long double h6 = h * 6;
  const int sextant = static_cast<int>(h6);
  const long double f = h6 - sextant;
  const long double vsf = (v - m) * f;
  const long double mid1 = m + vsf;
  const long double mid2 = v - vsf;
  long double r, g, b;
  switch (sextant) {
    case 1: r = mid2; g = v; b = m; break;
    case 2: r = m; g = v; b = mid1; break;
    case 3: r = m; g = mid2; b = v; break;
    case 4: r = mid1; g = m; b = v; break;
    case 5: r = v; g = m; b = mid2; break;
    default: r = v; g = mid1; b = m; break;
  }
  const auto component = [](long double c) {
    return static_cast<int>(Round(std::min(c, 1.0L) * 255));
  };
  return MakeColor(component(r), component(g), component(b));
}

TColor DarkenColor(TColor color, int amount) {
  const THueSatLum hsl = ColorToHueSatLum(color);
  return HueSatLumToColor(hsl.Hue, hsl.Sat, std::max(hsl.Lum - amount, 0));
}

TColor LightenColor(TColor color, int amount) {
  const THueSatLum hsl = ColorToHueSatLum(color);
  return HueSatLumToColor(hsl.Hue, hsl.Sat, std::min(hsl.Lum + amount, 255));
}

TColor ShiftColorLightness(TColor color, int adjustment) {
  if (adjustment < 0) return DarkenColor(color, -adjustment);
  if (adjustment > 0) return LightenColor(color, adjustment);
  return color;
}

TColor MixColors(TColor color1, TColor color2, unsigned char alpha) {
  const float a = alpha / 255.0f;
  const COLORREF c1 = KxColorToRGB(color1);
  const COLORREF c2 = KxColorToRGB(color2);
  const auto mix = [a](int x, int y) {
    return static_cast<int>(Round(static_cast<long double>(a) * x + (1 - static_cast<long double>(a)) * y));
  };
  return MakeColor(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)), mix(BlueOf(c1), BlueOf(c2)));
}

TColor XorColors(TColor color1, TColor color2) {
  return static_cast<TColor>((KxColorToRGB(color1) ^ KxColorToRGB(color2)) & 0xFFFFFF);
}

bool ColorsAreClose(TColor color1, TColor color2) {
  const THueSatLum a = ColorToHueSatLum(color1);
  const THueSatLum b = ColorToHueSatLum(color2);
  return std::abs(a.Hue - b.Hue) < 20 && std::abs(a.Lum - b.Lum) < 60;
}

TColor OppositeHueColor(TColor color, int lum) {
  int hue = HueOfColor(color);
  hue = hue >= 120 ? hue - 120 : hue + 120;
  return HueSatLumToColor(hue, 240, lum);
}

// ---- Desktop scheme -----------------------------------------------------------------------

int DetectXPColorScheme() { return DetectXPColorSchemeAt("\\Software\\Microsoft\\Windows\\CurrentVersion"); }

int DetectXPColorSchemeAt(const std::string& keyPath) {
  const TRegistryIniFile ini(keyPath);
  const std::string name = UpperCase(ini.ReadString("ThemeManager", "ColorName", ""));
  if (name == "HOMESTEAD") return 1;
  if (name == "METALLIC") return 2;
  return 0;
}

bool DeviceHasFullColor() {
  const HDC dc = GetDC(nullptr);
  const int colors = GetDeviceCaps(dc, NUMCOLORS);
  ReleaseDC(nullptr, dc);
  return colors == -1;
}

void KxCommonColorsInitialize() {
  g_scheme = DetectXPColorScheme();
  g_fullColor = DeviceHasFullColor();
}

int KxColorScheme() { return g_scheme; }
bool KxFullColorDevice() { return g_fullColor; }
void KxRefreshColorScheme() { g_scheme = DetectXPColorScheme(); }
void SetKxColorScheme(int scheme) { g_scheme = scheme; }
void SetKxFullColorDevice(bool fullColor) { g_fullColor = fullColor; }

bool KxVisualStylesActive() {
  const auto& query = VisualStylesQuery();
  if (query) return query();
  return ThemeServices()->ThemesEnabled();
}

void SetKxVisualStylesQuery(std::function<bool()> query) { VisualStylesQuery() = std::move(query); }

TKxSelectionColors GetSchemeSelectionColors(TKxGradientColorStyle style) {
  TKxSelectionColors colors;
  if (UsesSchemeTable(style)) {
    const auto& scheme = CurrentScheme();
    colors = {scheme[0], scheme[1], scheme[2]};
  } else {
    colors.FrameColor = clHighlight;
    colors.StopColor = MixColors(clHighlight, clWindow, 77);
    colors.StartColor = LightenColor(colors.StopColor, 20);
  }
  if (!g_fullColor) colors.StartColor = colors.StopColor;
  return colors;
}

TKxGradientColors GetSchemeGradientColors(TKxGradientColorStyle style) {
  if (UsesSchemeTable(style)) {
    const auto& scheme = CurrentScheme();
    return {scheme[3], scheme[4]};
  }
  return {clWindow, DarkenColor(clBtnFace, 10)};
}

TColor GetSchemeFrameColor(TKxGradientColorStyle style) {
  if (UsesSchemeTable(style)) return CurrentScheme()[5];
  return LightenColor(clBtnShadow, 30);
}

TKxStatusColors GetSchemeStatusColors(TKxGradientColorStyle style) {
  if (UsesSchemeTable(style)) {
    const auto& scheme = CurrentScheme();
    return {scheme[4], scheme[3], scheme[4]};
  }
  return {DarkenColor(clBtnFace, 20), clWindow, DarkenColor(clBtnFace, 40)};
}
