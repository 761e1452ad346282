// The shell's system image lists (small and large icons of namespace items) and the two shell
// overlays (shared, shortcut) that the shell tree and list draw; the overlays are added once
// per process, on NT with comctl32 4.71 or later.
#pragma once

#include "shell/KxIdList.h"

#include <commctrl.h>

enum class TKxIconSize : int { Small = 0, Large = 1 };

// The system icon index of an absolute list (nil: the desktop) with SHGFI_ flags added to
// SHGFI_SYSICONINDEX | SHGFI_PIDL; 0 when the shell gives nothing.
int SystemIconIndexOf(PCIDL list, UINT flags);
// The handle of the system image list of that size, installing the overlays first when due.
// The list belongs to the system: never destroy it.
HIMAGELIST SystemImageListHandle(TKxIconSize size);
// Adds shell32's icons 29 (overlay 1, shared) and 30 (overlay 2, shortcut) to both system
// lists, once per process; nothing when shell32 cannot be loaded.
void InstallShellOverlays();
bool ShellOverlaysInstalled();
