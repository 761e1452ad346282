// The clip stack shared by every canvas: each push saves the clip region that a device context
// had (or that it had none) and combines a new region in; each pop puts back exactly what its
// own push saved. Saved states are kept per device context, so a pop never restores the region
// of another canvas. Window thread only.
#pragma once

#include "toolkit/system/WinApi.h"

// Saves the current clip state of `dc`, then ExtSelectClipRgn(dc, region, mode) and deletes
// `region` (owned from here). A null region (one GDI could not make) leaves the clip as it is
// but still counts as a push, so that the caller's pop stays paired with it.
void PushClipRegion(HDC dc, HRGN region, int mode);
// Restores the state saved by the innermost push on `dc`; with nothing saved for `dc` all
// clipping is removed.
void PopClipRegion(HDC dc);
// Number of pushes on `dc` not yet popped.
int ClipStackDepth(HDC dc);
// Deletes every saved region (module shut-down).
void ClearClipStack();
