// Bitmap routines of the drawing surface: size and resolution setters, row addresses, the
// device's colour depth, and resampling one bitmap into another's size (Lanczos by default).
#pragma once

#include <vector>

#include "toolkit/system/WinApi.h"

class TBitmap;
class TStream;

// Sets the size only when the width or the height differs.
void SetBitmapSize(TBitmap& bitmap, int width, int height);
// Writes round(dpi × 39.370079) pixels per metre into both resolution fields of the bitmap's
// file form and reloads it.
void SetBitmapDpi(TBitmap& bitmap, double dpi);
// Writes that value as 2 bytes at offsets 38 and 42 of a bitmap file held in `stream` (the
// horizontal and vertical resolution of its information header); false when either fails.
bool WriteBitmapDpi(TStream& stream, double dpi);
// Makes the bitmap 24- / 32-bit and answers the start address of every row.
std::vector<unsigned char*> ScanLines24(TBitmap& bitmap);
std::vector<unsigned char*> ScanLines32(TBitmap& bitmap);
// BITSPIXEL × PLANES of a device context.
int BitsPerPixelOf(HDC dc);

// Turns the bitmap clockwise by `angle` degrees about its centre, as the rotate filter does;
// it takes the size of the turned bounds and becomes 32-bit. Nearest pixel; corners outside
// the source repeat its nearest edge pixel.
void TurnBitmap(TBitmap& bitmap, double angle);

double LanczosFilter(double t);
double TriangleWeight(double t);

// One destination index's contributions: source indices (mirrored at the edges and clamped
// into the source) with their fixed-point weights (1024 = 1).
struct TResampleContribution {
  std::vector<int> index;
  std::vector<int> weight;
};
std::vector<TResampleContribution> ResampleContributions(int sourceSize, int destSize, bool triangle = false);

// Resamples `source` into `dest`'s current size (nothing when either is empty). Both become
// 24-bit. Reads stay inside the source and every destination pixel is written, whatever the
// sizes: an axis of one pixel (source or destination) takes the mean along that axis.
void ResampleBitmap(TBitmap& source, TBitmap& dest);
