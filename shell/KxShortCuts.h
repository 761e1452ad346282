// Shortcut values of the shell controls' keys: a key code with the shift bits $2000 (Shift),
// $4000 (Ctrl) and $8000 (Alt), its text ("Ctrl+C", "Del", "F5") and the text parsed back, and
// the default key table the shell tree and list compare pressed keys with.
#pragma once

#include <string>

#include "toolkit/ui/Messages.h"

using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// The key's name with its prefixes ("Shift+", "Ctrl+", "Alt+", in that order); empty for a key
// without a name (code 0).
std::string ShortCutKeyText(TShortCut shortCut);
// Accepts "Shift+", "Ctrl+" (or "^") and "Alt+" in any order and number, then a key name
// (compared without regard to case) of the codes 8 to 597; 0 when the name matches none.
TShortCut TextToShortCut(const std::string& text);
TShortCut ShortCutOf(WORD key, TShiftState shift);

// Rows of the default key table: key text and parsed shortcut (parsed on first use).
enum TKxShellKey { skSelectAll, skDelete, skCopy, skCut, skPaste, skRefresh, skRename, skCount };
struct TKxShellControlDefKeyRec {
  const char* Text;
  TShortCut ShortCut;
};
const TKxShellControlDefKeyRec& ShellDefaultKey(TKxShellKey key);
