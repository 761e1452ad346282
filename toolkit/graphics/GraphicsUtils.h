// Drawing helpers shared by the controls: the raised/sunken frame painter (Frame3D), the
// 8 x 8 checker pattern bitmap of two colours (pressed tool buttons, splitters), and a
// stretch-blit through a monochrome mask.
#pragma once

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"

class TBitmap;

// Draws `width` one-pixel rings inside `rect`: top and left edges in topColor, bottom and
// right edges in bottomColor; `rect` shrinks by `width` on every side. Leaves the pen width 1.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// An 8 x 8 bitmap checkered in the two colours (backColor at the top-left pixel), usable as a
// brush bitmap. Kept by the graphics module (one per colour pair) until DoneGraphics.
TBitmap* AllocPatternBitmap(TColor backColor, TColor foreColor);
void FreePatternBitmaps();

// Stretches src's (srcX, srcY, srcW, srcH) onto dst's (x, y, w, h) where the monochrome mask
// (same geometry as the source, selected into maskDC) is 0; where it is 1 the destination
// stays. Draws off screen first, so the destination never shows the steps. False on failure.
bool TransparentStretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int srcX, int srcY, int srcW, int srcH,
                           HDC maskDC, int maskX, int maskY);
