// Display names of shell items and the STRRET conversions behind them, plus the path helper
// that appends a separator once. Names come back as UTF-8 whatever form the shell answered in.
#pragma once

#include <string>

#include "shell/KxIdList.h"

// The name kinds of DisplayNameOf and the SHGDN flags each stands for.
enum class TKxNameKind : int {
  Normal = 0,      // SHGDN_NORMAL
  InFolder = 1,    // SHGDN_INFOLDER
  ForParsing = 2,  // SHGDN_FORPARSING
  ForEditing = 3,  // SHGDN_INFOLDER | SHGDN_FOREDITING
};

// The name of a relative item in `folder` (nil: the desktop); empty when the shell gives none.
std::string DisplayNameOf(IShellFolder* folder, PCIDL relative, TKxNameKind kind);
// The in-folder name of an absolute item, asked of its parent folder. Raises EOleSysError when
// the parent cannot be bound; empty when the desktop cannot be had.
std::string DisplayNameOfAbsolute(PCIDL absolute);
// The text of a STRRET: wide, offset into `relative` (nothing for nil), or embedded ANSI.
std::string StrRetToText(PCIDL relative, const STRRET& value);
// Frees the wide string of a wide STRRET.
void FreeStrRet(STRRET& value);
// `path` with `separator` appended unless empty or already ending with it.
std::string AppendSeparatorOnce(const std::string& path, char separator);
