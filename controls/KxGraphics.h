// Two-colour gradient fills of the control set in ten directions. Every gradient is painted
// into an off-screen bitmap and copied once: linear ones shade one 8-pixel strip and replicate
// it, box ones shade one quarter and mirror it, so the number of solid fills follows the
// number of colour steps, not the area. Colours step in 16.16 fixed point.
#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"

class TCanvas;
class TEnumInfo;

namespace KxCommon {

// Horizontal directions have horizontal colour bands (colour changes top to bottom), the
// vertical ones vertical bands.
enum TGradientDirection {
  gdDiagonalUp,
  gdDiagonalDown,
  gdHorizontalEnd,
  gdHorizontalCenter,
  gdHorizontalBox,
  gdVerticalEnd,
  gdVerticalCenter,
  gdVerticalBox,
  gdSquareBox,
  gdBigSquareBox
};

const TEnumInfo& EnumTypeInfo(TGradientDirection);

}  // namespace KxCommon

// Paints the gradient into `rect` of the canvas (or DC). A zero width or height paints
// nothing. Bands merges colour steps (1: every colour change is its own band).
void DrawGradientArea(TCanvas& canvas, const TRect& rect, KxCommon::TGradientDirection direction,
                      TColor startColor, TColor stopColor, int bands);
void DrawGradientArea(HDC dc, const TRect& rect, KxCommon::TGradientDirection direction, TColor startColor,
                      TColor stopColor, int bands);

// ---- Steps of DrawGradientArea, on the off-screen DC (colours are RGB values) ----------------

// Number of extra colour steps merged into one band: Bands <= 8 gives Bands-1, more gives
// 255 div Bands; never below 0.
int GradientBandMerge(int bands);

// Shades along y (alongY) or x, over positions 0..size, in an 8-pixel strip at the origin.
// center < 0: end form (stop colour at `size`, start colour at 0); otherwise the centre form
// (start colour at both edges, stop colour at `center`).
void ShadeLinearBands(HDC dc, bool alongY, int size, int center, COLORREF startColor, COLORREF stopColor,
                      int bands);
// Copies the painted width0 x height0 block at the origin beside itself until it covers
// width x height, doubling one dimension per copy (height first, then alternating).
void ReplicateBlock(HDC dc, int width0, int height0, int width, int height);
// Shades the upper-left quarter of a w x h box gradient as nested L-shaped bands from the
// centre (stopColor) towards the corner (startColor); insets shrink the central block.
void ShadeBoxBands(HDC dc, int width, int height, COLORREF startColor, COLORREF stopColor, int xInset,
                   int yInset, int bands);
// Mirrors the upper-left quarter down and then the left half to the right.
void MirrorBlock(HDC dc, int width, int height);
// Diagonal bands over width x height: signedWidth > 0 runs from the start colour at the
// bottom-left to the stop colour at the top-right; <= 0 from the start colour at the top-left
// to the stop colour at the bottom-right.
void ShadeDiagonalBands(HDC dc, int signedWidth, int height, COLORREF startColor, COLORREF stopColor,
                        int bands);
