// Colour comparison for painting tests: two colours within a tolerance on each channel
// (smoothing, blending and stretching shift a solid colour a few steps).
#pragma once

#include <cstdlib>

#include "toolkit/graphics/Color.h"

inline bool ColorNear(TColor a, TColor b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int channelA = static_cast<int>((static_cast<unsigned>(a) >> shift) & 0xFF);
    const int channelB = static_cast<int>((static_cast<unsigned>(b) >> shift) & 0xFF);
    if (std::abs(channelA - channelB) > tolerance) return false;
  }
  return true;
}
