// Point and rectangle types of the drawing surface beside the toolkit's TPoint/TRect: float
// points (two singles), 3D points (integer and single), a rectangle of four singles, and the
// point arrays that canvas operations take together with the index of their last element.
#pragma once

#include <vector>

#include "toolkit/graphics/Types.h"

struct TPointFloat {
  float X = 0;
  float Y = 0;
  constexpr bool operator==(const TPointFloat&) const = default;
};

struct TPoint3D {
  int X = 0;
  int Y = 0;
  int Z = 0;
  constexpr bool operator==(const TPoint3D&) const = default;
};

struct TPoint3DFloat {
  float X = 0;
  float Y = 0;
  float Z = 0;
};

struct TRectFloat {
  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;
  constexpr bool operator==(const TRectFloat&) const = default;
};

using TPointArray = std::vector<TPoint>;
using TPointFloatArray = std::vector<TPointFloat>;
using TPoint3DArray = std::vector<TPoint3D>;
using TPoint3DFloatArray = std::vector<TPoint3DFloat>;
