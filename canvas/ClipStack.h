// The clip stack shared by every canvas: each push saves the clip region that a device context
// had (or that it had none) and combines a new region in; each pop puts back exactly what its
// own push saved. Saved states are kept per device context, so a pop never restores the region
// of another canvas, and each remembers the canvas that pushed it, so that a canvas letting go
// of its device leaves no entry behind for a later context that reuses the handle value.
// Window thread only.
#pragma once

#include "toolkit/system/WinApi.h"

// Saves the current clip state of `dc` for `owner` (the pushing canvas; may be null), then
// ExtSelectClipRgn(dc, region, mode) and deletes `region` (owned from here). A null region (one
// GDI could not make) leaves the clip as it is but still counts as a push, so that the caller's
// pop stays paired with it.
void PushClipRegion(HDC dc, HRGN region, int mode, const void* owner = nullptr);
// Restores the state saved by the innermost push on `dc`, whoever made it; with nothing saved
// for `dc` all clipping is removed.
void PopClipRegion(HDC dc);
// Number of pushes on `dc` not yet popped.
int ClipStackDepth(HDC dc);
// Forgets, and deletes the saved regions of, every push `owner` left unpopped. Called when a
// canvas lets its device go: the context may be deleted next and its handle value reused. The
// device contexts themselves are not touched (they may already be gone).
void DropClipEntries(const void* owner);
// Deletes every saved region (module shut-down).
void ClearClipStack();
