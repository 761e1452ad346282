// The smooth shadow's blur: a Gaussian-like integer kernel and a separable blur of a shadow
// bitmap that multiplies the result into the destination bitmap (the canvas buffer), so the
// shadow darkens what lies under it without covering it.
#pragma once

#include <vector>

class TBitmap;
class TKelCanvas;

// 2r + 1 weights: w[r] = 100000 and w[i] = w[2r - i] = round(base^(-(i - r)² / r) × 100000)
// with base = (smoothBlur + 180) × 0.01. r must be positive.
std::vector<int> GaussianKernel(int r, float smoothBlur);

// Blurs the first width × height pixels of `source` (24-bit; white is "no shadow") and
// multiplies them into `dest` at (x, y): each destination channel becomes
// round(dest × blurred / 255). Only pixels that land inside `dest` are touched; with `clip`
// those the canvas's device clip hides are skipped. Without `dest` the blurred pixels are
// written back into `source`.
void BlurShadowBitmap(TBitmap& source, TBitmap* dest, int x, int y, int width, int height, int r, float smoothBlur,
                      TKelCanvas* canvas, bool clip);
