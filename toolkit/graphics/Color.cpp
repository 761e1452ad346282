// Colour values: system colour resolution and the identifier table layouts use.
#include "toolkit/graphics/Color.h"

#include <array>

#include "toolkit/rtl/SysUtils.h"

namespace {

struct ColorName {
  TColor value;
  const char* name;
};

constexpr std::array<ColorName, 54> kColorNames{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
    // Aliases: read, never written (the first name of a value wins when writing).
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
}};

}  // namespace

COLORREF ColorToRGB(TColor color) {
  const auto value = static_cast<std::uint32_t>(color);
  if ((value & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(value & 0xFF));
  return value & 0x00FFFFFFu;
}

bool ColorToIdent(TColor color, std::string& ident) {
  for (const ColorName& c : kColorNames) {
    if (c.value == color) {
      ident = c.name;
      return true;
    }
  }
  return false;
}

bool IdentToColor(std::string_view ident, TColor& color) {
  for (const ColorName& c : kColorNames) {
    if (SameText(ident, c.name)) {
      color = c.value;
      return true;
    }
  }
  return false;
}

std::string ColorToString(TColor color) {
  std::string ident;
  if (ColorToIdent(color, ident)) return ident;
  return "$" + IntToHex(static_cast<std::uint32_t>(color), 8);
}

TColor StringToColor(std::string_view text) {
  TColor color = 0;
  if (IdentToColor(text, color)) return color;
  long long value = 0;
  if (!TryStrToInt64(text, value)) throw EConvertError(Format("'%s' is not a valid integer value", {std::string(text)}));
  return static_cast<TColor>(static_cast<std::uint32_t>(value));
}
