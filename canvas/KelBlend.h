// Transparency groups of the GDI canvas: TKelBlend keeps a snapshot of the background under a
// rectangle before drawing; ApplyBlend lays it back over the new drawing with the group's
// transparency. BlendBitmaps mixes two bitmaps by a percent (AlphaBlend when the platform has
// it, per pixel otherwise, with the same result).
#pragma once

#include "toolkit/graphics/Types.h"

class TBitmap;
class TKelCanvas;

class TKelBlend {
 public:
  // Takes the snapshot when `canvas` is given.
  TKelBlend(TKelCanvas* canvas, const TRect& rect);
  ~TKelBlend();
  TKelBlend(const TKelBlend&) = delete;
  TKelBlend& operator=(const TKelBlend&) = delete;

  // Ordered, clamped to 0 and to the canvas bounds; an empty width or height becomes 1. With
  // no positive size left the blend is invalid (nothing is blended).
  void TakeSnapshot(const TRect& rect);
  bool Valid() const { return valid_; }
  const TRect& SnapshotRect() const { return rect_; }
  TBitmap* Snapshot() const { return snapshot_; }
  TKelCanvas* Canvas() const { return canvas_; }

 private:
  TKelCanvas* canvas_;
  TRect rect_;
  bool valid_ = false;
  TBitmap* snapshot_ = nullptr;
};

// Lays the blend's snapshot over the canvas pixels under it with weight `transparency` percent.
void ApplyBlend(TKelBlend* blend, int transparency);
// Mixes `source` over `target` at `position`: the source weighs (100 - percent) percent; with a
// mask (24-bit) each target byte moves toward the source by mask/256.
void BlendBitmaps(TBitmap* source, TBitmap* target, TPoint position, double percent, TBitmap* mask);
