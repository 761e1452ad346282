// Shared pieces of the canvas tests: a white 32-bit DIB to draw on with pixel queries, a GDI
// canvas attached to it, and a layout writer that shows what an object streams.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "canvas/KelCanvas3D.h"
#include "toolkit/graphics/Bitmap.h"

// A white 32-bit bitmap with pixel reads in RGB ($00BBGGRR) form.
class TDibSurface {
 public:
  TDibSurface(int width, int height);
  TBitmap& Bitmap() { return bitmap_; }
  TCanvas* Canvas() { return bitmap_.Canvas(); }
  HDC DC() { return bitmap_.Canvas()->Handle(); }
  TColor Pixel(int x, int y);
  // Pixels of exactly `color` inside `rect`.
  int Count(TColor color, const TRect& rect);
  int Count(TColor color) { return Count(color, TRect(0, 0, bitmap_.Width(), bitmap_.Height())); }
  // Bounds (Right/Bottom exclusive) of the pixels of `color`; empty when there are none.
  TRect BoundsOf(TColor color);
  // Bounds of every pixel that is not white.
  TRect InkBounds();
  void Clear(TColor color = clWhite);

 private:
  TBitmap bitmap_;
};

// A GDI canvas drawing straight (unbuffered) onto a 200 × 120 DIB, module started.
class GdiCanvasTest : public testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<TDibSurface> surface;
  std::unique_ptr<TKelCanvas3D> canvas;
};

// The text layout of one persistent object written as the published property `property` of a
// holder component: only the lines of that object, without the holder's own lines.
std::string StreamedLines(TPersistent* object);
