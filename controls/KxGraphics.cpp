// Gradient fills: the off-screen bitmap, the three shaders and the copy steps.
#include "controls/KxGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "controls/KxCommonColors.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GdiHandles.h"

namespace {

// 16.16 fixed point with 64-bit room: a pixel size times 65536 passes 32 bits from 32,768 on.
using TFixed = std::int64_t;
constexpr TFixed kFixedOne = 65536;

// Three colour components in 16.16 fixed point, stepped towards a target.
class TColorStepper {
 public:
  TColorStepper(COLORREF from, COLORREF to, int steps) {
    for (int i = 0; i < 3; ++i) {
      const int a = static_cast<int>((from >> (8 * i)) & 0xFF);
      const int b = static_cast<int>((to >> (8 * i)) & 0xFF);
      acc_[i] = a * kFixedOne;
      delta_[i] = steps > 0 ? (b - a) * kFixedOne / steps : 0;
    }
  }
  COLORREF Current() const {
    COLORREF c = 0;
    for (int i = 0; i < 3; ++i) {
      c |= static_cast<COLORREF>(std::clamp<TFixed>(acc_[i] / kFixedOne, 0, 255)) << (8 * i);
    }
    return c;
  }
  void Step() {
    for (int i = 0; i < 3; ++i) acc_[i] += delta_[i];
  }

 private:
  TFixed acc_[3] = {};
  TFixed delta_[3] = {};
};

// Whether a band that began `taken` steps ago in `bandColor` takes in `color` as well.
bool BandContinues(COLORREF color, COLORREF bandColor, int taken, int merge) {
  return color == bandColor || taken < merge + 1;
}

void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  if (right <= left || bottom <= top) return;
  const RECT r{left, top, right, bottom};
  const TBrushHandle brush(CheckGdi(CreateSolidBrush(color)));
  FillRect(dc, &r, brush.Get());
}

void FillPolygon(HDC dc, const std::vector<POINT>& points, COLORREF color) {
  const TBrushHandle brush(CheckGdi(CreateSolidBrush(color)));
  const TSelectGuard brushGuard(dc, brush.Get());
  const TSelectGuard penGuard(dc, GetStockObject(NULL_PEN));
  Polygon(dc, points.data(), static_cast<int>(points.size()));
}

// One linear pass from position `from` down to `to` (from >= to), fromColor at `from`.
void LinearPass(HDC dc, bool alongY, int from, int to, COLORREF fromColor, COLORREF toColor, int merge) {
  if (from < to) return;
  const auto fillStrip = [&](int low, int high, COLORREF color) {
    if (alongY) {
      FillSolid(dc, 0, low, 8, high + 1, color);
    } else {
      FillSolid(dc, low, 0, high + 1, 8, color);
    }
  };
  TColorStepper stepper(fromColor, toColor, from - to + 1);
  int bandHigh = from;
  COLORREF bandColor = stepper.Current();
  int taken = 0;
  for (int p = from - 1; p >= to; --p) {
    stepper.Step();
    const COLORREF color = stepper.Current();
    ++taken;
    if (BandContinues(color, bandColor, taken, merge)) continue;
    fillStrip(p + 1, bandHigh, bandColor);
    bandHigh = p;
    bandColor = color;
    taken = 0;
  }
  fillStrip(to, bandHigh, bandColor);
}

// The integer part of a 16.16 value (toward minus infinity, as the shift gives it).
int IntPart(TFixed fixed) { return static_cast<int>(fixed >> 16); }

}  // namespace

int GradientBandMerge(int bands) {
  int k = bands <= 8 ? bands : 255 / bands + 1;
  return std::max(k - 1, 0);
}

void ShadeLinearBands(HDC dc, bool alongY, int size, int center, COLORREF startColor, COLORREF stopColor,
                      int bands) {
  const int merge = GradientBandMerge(bands);
  if (center < 0) {
    LinearPass(dc, alongY, size, 0, stopColor, startColor, merge);
    return;
  }
  LinearPass(dc, alongY, center + 1, 0, stopColor, startColor, merge);
  LinearPass(dc, alongY, size, center + 2, startColor, stopColor, merge);
}

void ReplicateBlock(HDC dc, int width0, int height0, int width, int height) {
  int w = std::min(width0, width);
  int h = std::min(height0, height);
  if (w <= 0 || h <= 0) return;
  bool heightTurn = true;
  while (w < width || h < height) {
    if (h < height && (heightTurn || w >= width)) {
      const int copy = std::min(h, height - h);
      BitBlt(dc, 0, h, w, copy, dc, 0, 0, SRCCOPY);
      h += copy;
      heightTurn = false;
    } else {
      const int copy = std::min(w, width - w);
      BitBlt(dc, w, 0, copy, h, dc, 0, 0, SRCCOPY);
      w += copy;
      heightTurn = true;
    }
  }
}

void ShadeBoxBands(HDC dc, int width, int height, COLORREF startColor, COLORREF stopColor, int xInset,
                   int yInset, int bands) {
  if (startColor == stopColor || width < 5 || height <= 4) {
    FillSolid(dc, 0, 0, width + 1, height + 1, startColor);
    return;
  }
  const int merge = GradientBandMerge(bands);
  const int fx = (width - 1) / 2;
  const int fy = (height - 1) / 2;
  const int ex = fx - xInset;
  const int ey = fy - yInset;
  const int n = std::max(ex, ey) + 1;
  TColorStepper stepper(stopColor, startColor, n);
  TFixed x = ex * kFixedOne;
  TFixed y = ey * kFixedOne;
  const TFixed dx = ex * kFixedOne / n;
  const TFixed dy = ey * kFixedOne / n;

  // The band under way: its colour, the corner it grew out of and its latest corner.
  int bandPrevX = fx + 1;
  int bandPrevY = fy + 1;
  int lastX = IntPart(x);
  int lastY = IntPart(y);
  COLORREF bandColor = stepper.Current();
  int taken = 0;
  const auto paintBand = [&](int cornerX, int cornerY) {
    FillSolid(dc, cornerX, cornerY, fx + 1, bandPrevY, bandColor);
    FillSolid(dc, cornerX, bandPrevY, bandPrevX, fy + 1, bandColor);
  };
  for (;;) {
    x -= dx;
    y -= dy;
    stepper.Step();
    const int cx = IntPart(x);
    const int cy = IntPart(y);
    // A run reaching past the corner is left to the prior fill in the start colour.
    if (cx < 0 || cy < 0) break;
    const COLORREF color = stepper.Current();
    ++taken;
    if (!BandContinues(color, bandColor, taken, merge)) {
      paintBand(lastX, lastY);
      bandPrevX = lastX;
      bandPrevY = lastY;
      bandColor = color;
      taken = 0;
    }
    lastX = cx;
    lastY = cy;
  }
  paintBand(lastX, lastY);
}

void MirrorBlock(HDC dc, int width, int height) {
  // The painted upper-left quarter flipped onto the bottom (one column wider than its source, so
  // the centre column of an odd width comes along), then the left half flipped onto the right
  // (for an odd half width one column narrower in the source, two wider in the copy).
  const int hw = width / 2;
  const int hh = height / 2;
  const int e = hw % 2 != 0 ? 1 : 0;
  StretchBlt(dc, 0, height - 1, hw + 1, -hh, dc, 0, 0, hw, hh, SRCCOPY);
  StretchBlt(dc, width - 1, 0, -(hw + e), height, dc, 0, 0, hw - e, height, SRCCOPY);
}

void ShadeDiagonalBands(HDC dc, int signedWidth, int height, COLORREF startColor, COLORREF stopColor,
                        int bands) {
  const int merge = GradientBandMerge(bands);
  const bool up = signedWidth > 0;
  const int w = std::abs(signedWidth);
  const int x0 = up ? 0 : w;
  const int farX = up ? w : 0;
  const int n = static_cast<int>(std::sqrt(static_cast<double>(w) * w + static_cast<double>(height) * height)) + 1;
  const int half = std::max(n / 2, 1);
  TColorStepper stepper(up ? startColor : stopColor, up ? stopColor : startColor, n);
  const TFixed dx = (up ? 1 : -1) * (w * kFixedOne / half);
  const TFixed dy = height * kFixedOne / half;

  // A boundary is a segment across the area; a band is the quadrilateral between two.
  struct Boundary {
    POINT a, b;
  };
  Boundary bandStart{{x0, height}, {x0, height}};
  Boundary last = bandStart;
  COLORREF bandColor = stepper.Current();
  int taken = 0;
  const auto paint = [&](const Boundary& to) {
    FillPolygon(dc, {bandStart.a, bandStart.b, to.b, to.a}, bandColor);
    bandStart = to;
  };
  const auto advance = [&](const Boundary& next) {
    stepper.Step();
    const COLORREF color = stepper.Current();
    ++taken;
    if (!BandContinues(color, bandColor, taken, merge)) {
      paint(last);
      bandColor = color;
      taken = 0;
    }
    last = next;
  };

  // First half: from the start-side vertical edge to the bottom edge.
  TFixed x = x0 * kFixedOne;
  TFixed y = height * kFixedOne;
  for (int i = 0; i < half; ++i) {
    x += dx;
    y -= dy;
    if (IntPart(y) < 0) break;
    advance({{x0, IntPart(y)}, {IntPart(x), height}});
  }
  const Boundary diagonal{{x0, 0}, {farX, height}};
  advance(diagonal);
  paint(diagonal);
  last = diagonal;
  taken = 0;
  // Second half: from the top edge to the farX vertical edge.
  x = x0 * kFixedOne;
  y = height * kFixedOne;
  for (int i = 0; i < half; ++i) {
    x += dx;
    y -= dy;
    if (IntPart(y) < 0 || (up ? IntPart(x) > farX : IntPart(x) < farX)) break;
    advance({{IntPart(x), 0}, {farX, IntPart(y)}});
  }
  const Boundary corner{{farX, 0}, {farX, 0}};
  advance(corner);
  paint(corner);
}

void DrawGradientArea(HDC dc, const TRect& rect, KxCommon::TGradientDirection direction, TColor startColor,
                      TColor stopColor, int bands) {
  using namespace KxCommon;
  const COLORREF start = KxColorToRGB(startColor);
  const COLORREF stop = KxColorToRGB(stopColor);
  const int w = std::abs(rect.Right - rect.Left);
  const int h = std::abs(rect.Bottom - rect.Top);
  if (w == 0 || h == 0) return;

  const TMemoryDC memory = TMemoryDC::Create(dc);
  const TBitmapHandle bitmap(CheckGdi(CreateCompatibleBitmap(dc, w, h)));
  const TSelectGuard bitmapGuard(memory.Get(), bitmap.Get());
  const HDC mdc = memory.Get();
  SetROP2(mdc, R2_COPYPEN);

  switch (direction) {
    case gdDiagonalUp:
    case gdDiagonalDown:
      if (start == stop) {
        FillSolid(mdc, 0, 0, w, h, start);
      } else {
        ShadeDiagonalBands(mdc, direction == gdDiagonalUp ? w : -w, h, start, stop, bands);
      }
      break;
    case gdHorizontalEnd:
    case gdHorizontalCenter:
      ShadeLinearBands(mdc, true, h, direction == gdHorizontalCenter ? h / 2 : -1, start, stop, bands);
      ReplicateBlock(mdc, 8, h, w, h);
      break;
    case gdVerticalEnd:
    case gdVerticalCenter:
      ShadeLinearBands(mdc, false, w, direction == gdVerticalCenter ? w / 2 : -1, start, stop, bands);
      ReplicateBlock(mdc, w, 8, w, h);
      break;
    case gdHorizontalBox:
    case gdVerticalBox:
    case gdSquareBox:
    case gdBigSquareBox: {
      FillSolid(mdc, 0, 0, w, h, start);
      int xInset = 0;
      int yInset = 0;
      if (direction == gdHorizontalBox || direction == gdBigSquareBox) xInset = w / 4;
      if (direction == gdVerticalBox || direction == gdBigSquareBox) yInset = h / 4;
      ShadeBoxBands(mdc, w, h, start, stop, xInset, yInset, bands);
      MirrorBlock(mdc, w, h);
      break;
    }
  }
  BitBlt(dc, rect.Left, rect.Top, w, h, mdc, 0, 0, SRCCOPY);
}

void DrawGradientArea(TCanvas& canvas, const TRect& rect, KxCommon::TGradientDirection direction,
                      TColor startColor, TColor stopColor, int bands) {
  DrawGradientArea(canvas.Handle(), rect, direction, startColor, stopColor, bands);
}
