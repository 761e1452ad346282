// TColor: the toolkit's colour value. $00BBGGRR for plain colours; $FF0000nn for the platform's
// system colour nn (resolved by ColorToRGB at drawing time, so colours follow the desktop);
// clNone and clDefault are markers, never colours of their own. The colour identifiers
// ("clRed", "clBtnFace") are what layouts store.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/system/WinApi.h"

using TColor = int;

constexpr TColor TColorOf(std::uint32_t value) { return static_cast<TColor>(value); }

constexpr TColor clSystemColor = TColorOf(0xFF000000u);

constexpr TColor clScrollBar = TColorOf(0xFF000000u | COLOR_SCROLLBAR);
constexpr TColor clBackground = TColorOf(0xFF000000u | COLOR_BACKGROUND);
constexpr TColor clActiveCaption = TColorOf(0xFF000000u | COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = TColorOf(0xFF000000u | COLOR_INACTIVECAPTION);
constexpr TColor clMenu = TColorOf(0xFF000000u | COLOR_MENU);
constexpr TColor clWindow = TColorOf(0xFF000000u | COLOR_WINDOW);
constexpr TColor clWindowFrame = TColorOf(0xFF000000u | COLOR_WINDOWFRAME);
constexpr TColor clMenuText = TColorOf(0xFF000000u | COLOR_MENUTEXT);
constexpr TColor clWindowText = TColorOf(0xFF000000u | COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = TColorOf(0xFF000000u | COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = TColorOf(0xFF000000u | COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = TColorOf(0xFF000000u | COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = TColorOf(0xFF000000u | COLOR_APPWORKSPACE);
constexpr TColor clHighlight = TColorOf(0xFF000000u | COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = TColorOf(0xFF000000u | COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = TColorOf(0xFF000000u | COLOR_BTNFACE);
constexpr TColor clBtnShadow = TColorOf(0xFF000000u | COLOR_BTNSHADOW);
constexpr TColor clGrayText = TColorOf(0xFF000000u | COLOR_GRAYTEXT);
constexpr TColor clBtnText = TColorOf(0xFF000000u | COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = TColorOf(0xFF000000u | COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = TColorOf(0xFF000000u | COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = TColorOf(0xFF000000u | COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = TColorOf(0xFF000000u | COLOR_3DLIGHT);
constexpr TColor clInfoText = TColorOf(0xFF000000u | COLOR_INFOTEXT);
constexpr TColor clInfoBk = TColorOf(0xFF000000u | COLOR_INFOBK);
constexpr TColor clHotLight = TColorOf(0xFF000000u | COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = TColorOf(0xFF000000u | COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = TColorOf(0xFF000000u | COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = TColorOf(0xFF000000u | 29);
constexpr TColor clMenuBar = TColorOf(0xFF000000u | 30);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value ($00BBGGRR) of a colour: system colours through GetSysColor (index taken from
// the low byte), every other value with its high byte cleared. clNone and clDefault have no
// colour of their own; they give their low 24 bits like any plain value.
COLORREF ColorToRGB(TColor color);

// Identifier of a named colour ("clRed", "clBtnFace", "clNone"); false when the value has none.
bool ColorToIdent(TColor color, std::string& ident);
// Value of a colour identifier (case-insensitive); false for an unknown name.
bool IdentToColor(std::string_view ident, TColor& color);
// The identifier, or "$00BBGGRR" for an unnamed colour.
std::string ColorToString(TColor color);
// An identifier or a number ("$00FF00", "255"); EConvertError when it is neither.
TColor StringToColor(std::string_view text);
