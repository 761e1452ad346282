// Frame painters of the control set: one-pixel lines on chosen sides of a rectangle in the
// twelve frame styles, with system colours or colours derived from a face colour. Each draws
// with the canvas's current pen (its colour set per line, a system colour handed on as it is)
// and answers the rectangle left inside the frame; nothing is drawn outside the rectangle.
#pragma once

#include "controls/KxCommonTypes.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"

class TCanvas;
class TWinControl;

// Left and top lines in ulColor, right and bottom in lrColor (a clNone colour draws nothing);
// the result is shrunk by one on every side in `sides`, drawn or not.
TRect PaintFrameSides(TCanvas& canvas, const TRect& rect, TColor ulColor, TColor lrColor, TSides sides);
// Pen width 1, then `count` nested PaintFrameSides passes.
TRect PaintFrameBevel(TCanvas& canvas, const TRect& rect, TColor ulColor, TColor lrColor, int count, TSides sides);
TRect PaintCtl3DSides(TCanvas& canvas, const TRect& rect, bool lowered, TSides sides);
TRect PaintButtonFrameSides(TCanvas& canvas, const TRect& rect, bool down, TSides sides);
TRect PaintButtonFrame(TCanvas& canvas, const TRect& rect, bool down);
TRect PaintColorButtonFrameSides(TCanvas& canvas, const TRect& rect, TColor faceColor, TSides sides, bool down);
TRect PaintColorButtonFrame(TCanvas& canvas, const TRect& rect, TColor faceColor, bool down);
// A frame style in system colours; fsNone (and fsFlatRounded) leave the rectangle as it is.
TRect PaintFrameStyle(TCanvas& canvas, const TRect& rect, TFrameStyle style, TSides sides);
TRect PaintFrameStyleAround(TCanvas& canvas, const TRect& rect, TFrameStyle style);
// A frame style in colours darkened and lightened from `faceColor`.
TRect PaintColorFrameStyle(TCanvas& canvas, const TRect& rect, TColor faceColor, TSides sides, TFrameStyle style);
TRect PaintColorFrameStyleAround(TCanvas& canvas, const TRect& rect, TColor faceColor, TFrameStyle style);
// One-colour outline on all sides; answers the rectangle inflated by -1.
TRect PaintBoxLines(TCanvas& canvas, const TRect& rect, TColor lineColor);
// Only the four corners, each leg `cornerLength` long; answers the rectangle inflated by -1.
TRect PaintBoxCorners(TCanvas& canvas, const TRect& rect, TColor lineColor, int cornerLength);
// Dotted black outline (every second pixel, from the second); answers the rectangle inflated by -1.
TRect PaintFocusFrame(TCanvas& canvas, const TRect& rect);
// The fsFlatRounded frame: lines cut short at corners whose two sides are both present, with
// one pixel set inside each such corner; shrinks each present side by 2.
TRect PaintRoundedFlatFrame(TCanvas& canvas, const TRect& rect, TColor color, TSides sides);

// The two-layer border of labels and panels: outer layer, BorderWidth band, inner layer.
struct TKxInnerOuterFrame {
  TFrameStyleEx BorderOuter = fsNone;
  TFrameStyleEx BorderInner = fsNone;
  int BorderWidth = 0;
  TSides BorderSides = kAllSides;
  int BevelWidth = 1;
  TColor BorderColor = clBtnFace;
  TColor BorderHighlight = clBtnHighlight;
  TColor BorderShadow = clBtnShadow;
  TColor FlatColor = clBtnShadow;
  int FlatColorAdjustment = 0;
  TColor Color = clBtnFace;
  TColor ParentColor = clBtnFace;
  bool Transparent = false;
};
TRect PaintInnerOuterFrame(TCanvas& canvas, const TRect& rect, const TKxInnerOuterFrame& frame);

// The custom frame of an edit-like control on its window canvas, over (0, 0, width, height):
// unless keepBand, a 2-pixel band in `color` first; then the style's lines.
void PaintControlFrame(TCanvas& canvas, int width, int height, TFrameStyle style, TColor color, TColor frameColor,
                       TSides sides, bool keepBand);

// Asks the window to redraw `rect` with its frame, unless its clip box is empty (hidden or
// covered) or cannot be read.
void RedrawNonClientFrame(HWND window, const TRect& rect);
