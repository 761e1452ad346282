// Shortcut texts and the shell controls' default key table.
#include "shell/KxShortCuts.h"

#include <array>

#include "toolkit/rtl/SysUtils.h"

namespace {

std::string KeyName(unsigned code) {
  switch (code) {
    case 8: return "BkSp";
    case 9: return "Tab";
    case 13: return "Enter";
    case 27: return "Esc";
    case 32: return "Space";
    case 33: return "PgUp";
    case 34: return "PgDn";
    case 35: return "End";
    case 36: return "Home";
    case 37: return "Left";
    case 38: return "Up";
    case 39: return "Right";
    case 40: return "Down";
    case 45: return "Ins";
    case 46: return "Del";
    default: break;
  }
  if ((code >= 48 && code <= 57) || (code >= 65 && code <= 90)) return std::string(1, static_cast<char>(code));
  if (code >= 96 && code <= 105) return std::string(1, static_cast<char>('0' + (code - 96)));
  if (code >= 112 && code <= 135) return "F" + std::to_string(code - 111);
  return "#" + std::to_string(code);
}

bool StartsWithText(const std::string& text, size_t at, const char* prefix) {
  const std::string p(prefix);
  return text.size() - at >= p.size() && SameText(text.substr(at, p.size()), p);
}

}  // namespace

std::string ShortCutKeyText(TShortCut shortCut) {
  const unsigned code = shortCut & 0xFF;
  if (code == 0) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + KeyName(code);
}

TShortCut TextToShortCut(const std::string& text) {
  TShortCut shift = 0;
  size_t at = 0;
  for (;;) {
    if (StartsWithText(text, at, "Shift+")) {
      shift |= scShift;
      at += 6;
    } else if (StartsWithText(text, at, "Ctrl+")) {
      shift |= scCtrl;
      at += 5;
    } else if (StartsWithText(text, at, "^")) {
      shift |= scCtrl;
      at += 1;
    } else if (StartsWithText(text, at, "Alt+")) {
      shift |= scAlt;
      at += 4;
    } else {
      break;
    }
  }
  const std::string name = text.substr(at);
  for (unsigned code = 8; code <= 597; ++code)
    if (SameText(KeyName(code & 0xFF), name) && (code & 0xFF) == code) return static_cast<TShortCut>(code | shift);
  return 0;
}

TShortCut ShortCutOf(WORD key, TShiftState shift) {
  TShortCut value = key & 0xFF;
  if (shift.Contains(ssShift)) value |= scShift;
  if (shift.Contains(ssCtrl)) value |= scCtrl;
  if (shift.Contains(ssAlt)) value |= scAlt;
  return value;
}

const TKxShellControlDefKeyRec& ShellDefaultKey(TKxShellKey key) {
  static std::array<TKxShellControlDefKeyRec, skCount> table = [] {
    std::array<TKxShellControlDefKeyRec, skCount> rows = {{{"Ctrl+A", 0},
                                                          {"Del", 0},
                                                          {"Ctrl+C", 0},
                                                          {"Ctrl+X", 0},
                                                          {"Ctrl+V", 0},
                                                          {"F5", 0},
                                                          {"F2", 0}}};
    for (auto& row : rows) row.ShortCut = TextToShortCut(row.Text);
    return rows;
  }();
  return table[static_cast<size_t>(key)];
}
