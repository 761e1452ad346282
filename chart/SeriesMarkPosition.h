// Where one series mark was last placed: its box and the arrow from the point to the mark.
// Copying, the box and moving by an offset live here; placing marks is the marks' concern.
#pragma once

#include "toolkit/system/WinApi.h"

class TSeriesMarkPosition {
 public:
  POINT ArrowFrom{0, 0};  // the arrow's end at the point
  bool ArrowFix = false;
  POINT ArrowTo{0, 0};  // the arrow's end at the mark (middle of the mark's bottom edge)
  bool Custom = false;
  int Height = 0;
  POINT LeftTop{0, 0};
  int Width = 0;
  POINT MidPoint{0, 0};  // bend of a two-segment arrow
  bool HasMid = false;

  // Copies every field of another position.
  void Assign(const TSeriesMarkPosition& source) { *this = source; }
  // The mark's box: top-left plus width and height.
  RECT Bounds() const {
    return RECT{LeftTop.x, LeftTop.y, LeftTop.x + Width, LeftTop.y + Height};
  }
  // Moves the mark and the arrow's mark end (and the bend when there is one); the arrow's
  // point end stays at the point.
  void Offset(POINT delta) {
    Move(LeftTop, delta);
    Move(ArrowTo, delta);
    if (HasMid) Move(MidPoint, delta);
  }

 private:
  static void Move(POINT& p, POINT delta) {
    p.x += delta.x;
    p.y += delta.y;
  }
};
