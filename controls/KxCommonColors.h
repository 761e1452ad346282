// Colour arithmetic of the control set on a hue/saturation/lightness scale of 0..240, and the
// desktop colour scheme that picks the colours of gradient-styled controls. Every routine
// resolves system colours to RGB first (through KxColorToRGB, whose lookup tests may replace);
// every real-to-integer step rounds halves to even.
#pragma once

#include <functional>
#include <string>

#include "controls/KxCommonTypes.h"
#include "toolkit/graphics/Color.h"

// ---- Colour arithmetic --------------------------------------------------------------------

struct THueSatLum {
  int Hue = 0;  // 0..240
  int Sat = 0;  // 0..240
  int Lum = 0;  // 0..240
};

// The RGB value ($00BBGGRR) of a colour: system colours through the current lookup.
COLORREF KxColorToRGB(TColor color);
// Replaces the system colour lookup (index -> RGB); an empty function restores GetSysColor.
// For tests that need fixed desktop colours.
void SetKxSysColorLookup(std::function<COLORREF(int index)> lookup);

THueSatLum ColorToHueSatLum(TColor color);
int HueOfColor(TColor color);
// An RGB value; the hue fraction is Hue/239, each component capped at 255.
TColor HueSatLumToColor(int hue, int sat, int lum);
// Lightness lowered by `amount`, not below 0.
TColor DarkenColor(TColor color, int amount);
// Lightness raised by `amount`, not above 255 (values above 240 saturate on the way back).
TColor LightenColor(TColor color, int amount);
// Darken for a negative adjustment, lighten for a positive one, the colour itself for 0.
TColor ShiftColorLightness(TColor color, int adjustment);
// Each component a*c1 + (1-a)*c2 with a = alpha/255 (single precision), nearest integer.
TColor MixColors(TColor color1, TColor color2, unsigned char alpha);
TColor XorColors(TColor color1, TColor color2);
// Hues closer than 20 and lightnesses closer than 60 (saturation ignored).
bool ColorsAreClose(TColor color1, TColor color2);
// The hue 120 steps round the circle, full saturation, lightness `lum`.
TColor OppositeHueColor(TColor color, int lum);

// ---- Desktop scheme ---------------------------------------------------------------------

// 1 for the "HOMESTEAD" (olive) scheme, 2 for "METALLIC" (silver), 0 for anything else or a
// missing value: the current user's ThemeManager ColorName, any letter case.
int DetectXPColorScheme();
// The same test on the "ThemeManager" section below another current-user key; tests use it so
// that the desktop's own value (which the platform's theme loading reads) stays untouched.
int DetectXPColorSchemeAt(const std::string& keyPath);
// True when the screen reports no palette (NUMCOLORS = -1).
bool DeviceHasFullColor();

// Unit state: the scheme number and the full-colour flag, set by KxCommonColorsInitialize
// (called once at start-up, before any control exists). Until then: scheme 0, full colour.
void KxCommonColorsInitialize();
int KxColorScheme();
bool KxFullColorDevice();
// Reads the scheme again (panels call it on the platform's theme-changed message).
void KxRefreshColorScheme();
// Test hooks: force the unit state.
void SetKxColorScheme(int scheme);
void SetKxFullColorDevice(bool fullColor);

// Whether the platform's visual styles are active. Tests may replace the query (an empty
// function restores the platform's answer) to run both the themed and the classic branches.
bool KxVisualStylesActive();
void SetKxVisualStylesQuery(std::function<bool()> query);

struct TKxSelectionColors {
  TColor FrameColor;
  TColor StartColor;
  TColor StopColor;
};
struct TKxGradientColors {
  TColor StartColor;
  TColor StopColor;
};
struct TKxStatusColors {
  TColor StopColor;
  TColor StartColor;
  TColor FrameColor;
};

// The scheme table applies only to gcsMSOffice with visual styles active; otherwise the
// colours come from the system colours. Without full colour the selection start equals stop.
TKxSelectionColors GetSchemeSelectionColors(TKxGradientColorStyle style);
TKxGradientColors GetSchemeGradientColors(TKxGradientColorStyle style);
TColor GetSchemeFrameColor(TKxGradientColorStyle style);
TKxStatusColors GetSchemeStatusColors(TKxGradientColorStyle style);
