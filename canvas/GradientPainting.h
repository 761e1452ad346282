// How the GDI canvas paints a gradient setting: the brush-gradient fill (mid colour split,
// monochrome greys, radial and angled kinds), an element's gradient with its sub-gradient, and
// the shrinking-ellipse radial gradient. The two-colour band methods behind GradientFillRect
// live in GradientBands.cpp. Everything draws through the canvas it is given.
#pragma once

#include "canvas/KelGradient.h"
#include "toolkit/graphics/Types.h"

class TKelCanvas;
class TBitmap;

// The weight of band `index` of `steps` under a balance other than 50:
// ((index + 1) / (steps + 1)) ^ (0.5 + balance × 0.01).
double BalanceFactor(int steps, int balance, int index);

// Fills `rect` on `canvas` with `gradient` (the brush-gradient fill of the GDI canvas); an
// angled gradient is painted turned. Draws nothing for a null gradient.
void FillGradientRect(TKelCanvas* canvas, TCustomKelGradient* gradient, const TRect& rect);
// An element's gradient: the canvas brush gradient becomes a copy of `gradient`, the rect (or
// a rounded rect when cornerRadius >= 1) is filled, then a visible sub-gradient is laid over.
void DrawBrushGradient(TCustomKelGradient* gradient, TKelCanvas* canvas, const TRect& rect, int cornerRadius);
// Concentric ellipses from the end colour outside to the start colour at the centre (moved by
// RadialX/RadialY), clipped to `rect`; the canvas pen style, brush colour and brush-gradient
// visibility are restored afterwards, also on failure.
void DrawRadialGradient(TCustomKelGradient* gradient, TKelCanvas* canvas, const TRect& rect);
// The sub-gradient of `gradient` inside a transparency group of its Transparency.
void DrawSubGradient(TCustomKelGradient* gradient, TKelCanvas* canvas, const TRect& rect, int cornerRadius);
// Paints the gradient unturned into a bitmap sized so that, turned by Angle, it covers `rect`,
// turns it and draws it centred on `rect` under a clip.
void DrawAngledGradient(TCustomKelGradient* gradient, TKelCanvas* canvas, const TRect& rect);

// The size of the bitmap an angled gradient paints for a w × h rect.
TSize AngledGradientBitmapSize(int angle, int width, int height);
// Turns `bitmap` by `angle` degrees through the process-wide hook when one is installed,
// otherwise with TurnBitmap; bitmaps over 16,777,215 pixels stay as they are.
void RotateGradientBitmap(TBitmap& bitmap, double angle);
