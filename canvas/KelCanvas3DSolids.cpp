// TKelCanvas3D: the 3D solids built from the projection and the 2D primitives: boxes with
// shaded sides, pyramids, cones and cylinders, the skewed box of float coordinates, bitmaps
// laid on a plane and 3D pie slices. In 2D the projection is the identity and each solid
// reduces to its flat outline.
#include <cmath>
#include <memory>
#include <numbers>

#include "canvas/BitmapUtils.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelPen.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/rtl/Math.h"

namespace {
int RoundInt(long double v) { return static_cast<int>(Round(v)); }

// The cross product the box uses for its face tests: corners b, c, d of a quad, at c.
long long Cross(TPoint b, TPoint c, TPoint d) {
  return static_cast<long long>(d.X - c.X) * (b.Y - c.Y) - static_cast<long long>(b.X - c.X) * (d.Y - c.Y);
}
// The value whose negative sign FacesViewer answers as "faces the viewer".
long long FaceValue(TPoint p0, TPoint p1, TPoint p2) {
  return static_cast<long long>(p0.X - p1.X) * (p2.Y - p1.Y) - static_cast<long long>(p2.X - p1.X) * (p0.Y - p1.Y);
}
}  // namespace

// ---- Boxes -----------------------------------------------------------------------------------

void TKelCanvas3D::DrawBox3D(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) {
  const bool clear = Brush()->Style() == bsClear;
  const TColor color = Brush()->Style() == bsSolid ? Brush()->Color() : QueryBackColor();
  auto draw = [&](const std::array<TPoint, 4>& quad, int darken, KelCanvas::TGradientDirection direction) {
    StoredQuad = quad;
    if (!darkSides || darken == 0) {
      DrawStoredQuad();
      return;
    }
    TKelGradient* gradient = BrushGradient();
    gradient->SetDirection(direction);
    gradient->SetStartColor(color);
    gradient->SetEndColor(DarkenRGB(color, darken));
    gradient->SetVisible(true);
    DrawStoredQuad();
    gradient->SetVisible(false);
  };
  auto p = [&](int x, int y, int z) { return Project3D(x, y, z); };
  const std::array<TPoint, 4> front{p(left, top, z0), p(right, top, z0), p(right, bottom, z0), p(left, bottom, z0)};
  if (clear || Cross(front[1], front[2], front[3]) > 0) {
    draw(front, 0, KelCanvas::gdTopBottom);
  } else {
    draw({p(left, top, z1), p(right, top, z1), p(right, bottom, z1), p(left, bottom, z1)}, 0, KelCanvas::gdTopBottom);
  }
  const std::array<TPoint, 4> rightSide{p(right, top, z0), p(right, top, z1), p(right, bottom, z1),
                                        p(right, bottom, z0)};
  if (clear || Cross(rightSide[1], rightSide[2], rightSide[3]) > 0) draw(rightSide, 128, KelCanvas::gdLeftRight);
  const std::array<TPoint, 4> leftSide{p(left, top, z0), p(left, top, z1), p(left, bottom, z1), p(left, bottom, z0)};
  if (clear || Cross(leftSide[1], leftSide[0], leftSide[3]) > 0) draw(leftSide, 128, KelCanvas::gdRightLeft);
  // The top's corners run counter-clockwise on screen when it is seen from above, so it shows
  // when its face test is strictly positive; the bottom shows from below, when the test is
  // negative. A flat (2D) box shows neither.
  const std::array<TPoint, 4> topSide{p(left, top, z0), p(right, top, z0), p(right, top, z1), p(left, top, z1)};
  if (clear || FaceValue(topSide[0], topSide[1], topSide[2]) > 0) draw(topSide, 64, KelCanvas::gdBottomTop);
  const std::array<TPoint, 4> bottomSide{p(left, bottom, z0), p(right, bottom, z0), p(right, bottom, z1),
                                         p(left, bottom, z1)};
  if (clear || FaceValue(bottomSide[0], bottomSide[1], bottomSide[2]) < 0) {
    draw(bottomSide, 64, KelCanvas::gdTopBottom);
  }
}

// ---- Pyramids --------------------------------------------------------------------------------

void TKelCanvas3D::DrawPyramid3D(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                 bool darkSides) {
  const bool solid = Brush()->Style() == bsSolid;
  const TColor remembered = solid ? Brush()->Color() : QueryBackColor();
  const int zc = (z0 + z1) / 2;
  // The base lies across axis a (x for a vertical pyramid, y for a horizontal one) at b = base;
  // point(a, b, z) places a base or apex coordinate pair in 3D.
  auto point = [&](int a, int b, int z) { return vertical ? Project3D(a, b, z) : Project3D(b, a, z); };
  const int a0 = vertical ? left : top;
  const int a1 = vertical ? right : bottom;
  const int base = vertical ? bottom : left;
  const int tip = vertical ? top : right;
  const bool up = vertical ? top < bottom : left < right;
  auto faces = [](TPoint p0, TPoint p1, TPoint p2) { return FacesViewer(p0, p1, p2); };
  const int firstDarken = vertical ? 128 : 64;
  const int baseDarken = vertical ? 64 : 128;
  const TPoint apex = point((a0 + a1) / 2, tip, zc);
  const TPoint n0 = point(a0, base, z0), f0 = point(a1, base, z0);
  const TPoint n1 = point(a0, base, z1), f1 = point(a1, base, z1);
  if (tip != base) {
    Polygon({n0, f0, apex}, 2);
    if (faces(n0, apex, n1) != up) Polygon({n0, apex, n1}, 2);
    if (darkSides) SetDarkenedBrush(remembered, firstDarken);
    if (faces(f0, apex, f1) != !up) Polygon({f0, apex, f1}, 2);
    if (up && faces(apex, n1, f1)) Polygon({apex, n1, f1}, 2);
  }
  if (faces(n0, f0, n1) != !up) {
    if (darkSides) SetDarkenedBrush(remembered, baseDarken);
    if (vertical) {
      PlaneAtY(left, bottom, right, z0, z1);
    } else {
      PlaneAtX(left, top, bottom, z0, z1);
    }
  }
  if (darkSides) {
    if (solid) {
      Brush()->SetColor(remembered);
    } else {
      ChangeBackColor(remembered);
    }
  }
}

// ---- Cones and cylinders ---------------------------------------------------------------------

void TKelCanvas3D::DrawCone3D(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                              bool darkSides, int conePercent) {
  constexpr int kSides = 32;
  constexpr int kDefaultTopPercent = 0;
  if (conePercent == 0) conePercent = kDefaultTopPercent;
  const double step = 2 * std::numbers::pi / kSides;
  const int cz = (z0 + z1) / 2;
  int wz = (z1 - z0) / 2;
  const int cx = (left + right) / 2;
  const int cy = (top + bottom) / 2;
  int w = vertical ? (right - left) / 2 : (bottom - top) / 2;
  auto ring = [&](int level, int radius, int depthRadius) {
    TPointFloatArray points(kSides);
    for (int i = 0; i < kSides; ++i) {
      const int across = RoundInt(std::sin(i * step) * radius);
      const float z = static_cast<float>(cz - RoundInt(std::cos(i * step) * depthRadius));
      points[i] = vertical ? TPointFloat{static_cast<float>(cx + across), static_cast<float>(level)}
                           : TPointFloat{static_cast<float>(level), static_cast<float>(cy + across)};
      Project3DF(points[i], z);
    }
    return points;
  };
  const TPointFloatArray baseRing = ring(vertical ? bottom : left, w, wz);
  const bool hasTop = conePercent != 0;
  TPointFloatArray topRing;
  TPointFloat apex{};
  if (hasTop) {
    if (conePercent != 100) {
      w = RoundInt(w * conePercent * 0.01);
      wz = RoundInt(wz * conePercent * 0.01);
    }
    topRing = ring(vertical ? top : right, w, wz);
  } else {
    apex = vertical ? TPointFloat{static_cast<float>(cx), static_cast<float>(top)}
                    : TPointFloat{static_cast<float>(right), static_cast<float>(cy)};
    Project3DF(apex, static_cast<float>(cz));
  }
  const TPointFloatArray& reference = hasTop ? topRing : baseRing;
  int minIndex = 0, maxIndex = 0;
  for (int i = 1; i < kSides; ++i) {
    const float v = vertical ? reference[i].X : reference[i].Y;
    if (v < (vertical ? reference[minIndex].X : reference[minIndex].Y)) minIndex = i;
    if (v > (vertical ? reference[maxIndex].X : reference[maxIndex].Y)) maxIndex = i;
  }
  bool baseCap;
  if (vertical) {
    baseCap = bottom < top;
  } else {
    baseCap = FacesViewer(Project3D(0, 0, 0), Project3D(0, 10, 0), Project3D(0, 10, 10));
    if (right < left) baseCap = !baseCap;
  }
  if (hasTop && !baseCap) PolygonF(topRing, kSides - 1);
  TPointFloatArray side;
  for (int i = minIndex;; i = (i + 1) % kSides) {
    side.push_back(reference[i]);
    if (i == maxIndex) break;
  }
  if (hasTop) {
    for (int i = maxIndex;; i = (i + kSides - 1) % kSides) {
      side.push_back(baseRing[i]);
      if (i == minIndex) break;
    }
  } else {
    side.push_back(apex);
  }
  const TColor color = Brush()->Color();
  TKelGradient* gradient = BrushGradient();
  gradient->SetVisible(true);
  gradient->SetMidColor(clNone);
  gradient->SetStartColor(darkSides ? LightenRGB(color, 64) : color);
  gradient->SetEndColor(DarkenRGB(color, darkSides ? 128 : 64));
  gradient->SetDirection(vertical ? KelCanvas::gdLeftRight : KelCanvas::gdTopBottom);
  PolygonF(side, static_cast<int>(side.size()) - 1);
  if (baseCap) PolygonF(baseRing, kSides - 1);
}

// ---- Skewed box ------------------------------------------------------------------------------

void TKelCanvas3D::DrawSkewedBox3DF(const TRectFloat& rect, bool drawTop, double z0, double z1, double halfWidth,
                                    double halfDepth, bool drawBottom) {
  const float l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  const double xc = (l + r) * 0.5;
  const double zc = (z0 + z1) * 0.5;
  auto p = [&](double x, double y, double z) {
    TPointFloat point{static_cast<float>(x), static_cast<float>(y)};
    Project3DF(point, static_cast<float>(z));
    return point;
  };
  const TPointFloatArray bottomFace{p(l, b, z0), p(r, b, z0), p(r, b, z1), p(l, b, z1)};
  const TPointFloatArray topFace{p(xc - halfWidth, t, zc - halfDepth), p(xc + halfWidth, t, zc - halfDepth),
                                 p(xc + halfWidth, t, zc + halfDepth), p(xc - halfWidth, t, zc + halfDepth)};
  auto drawCap = [&](bool bottomCap) {
    if (bottomCap) {
      if (drawBottom) PolygonF(bottomFace, 3);
    } else if (drawTop && halfWidth != 0) {
      PolygonF(topFace, 3);
    }
  };
  drawCap(b > t);
  const bool downward = b < t;
  const TPointFloatArray sideA{p(xc - halfWidth, t, zc + halfDepth), p(xc + halfWidth, t, zc + halfDepth),
                               p(r, b, z1), p(l, b, z1)};
  auto testOf = [](const TPointFloatArray& s, bool reversed) {
    return reversed ? FacesViewerFloat(s[3], s[2], s[1]) : FacesViewerFloat(s[1], s[2], s[3]);
  };
  if (halfWidth == 0 && z0 == z1) {
    if (testOf(sideA, false) != downward) PolygonF(sideA, 3);
  } else {
    const TPointFloatArray sideB{p(xc - halfWidth, t, zc - halfDepth), p(xc - halfWidth, t, zc + halfDepth),
                                 p(l, b, z1), p(l, b, z0)};
    const TPointFloatArray sideC{p(xc - halfWidth, t, zc - halfDepth), p(xc + halfWidth, t, zc - halfDepth),
                                 p(r, b, z0), p(l, b, z0)};
    const TPointFloatArray sideD{p(xc + halfWidth, t, zc - halfDepth), p(xc + halfWidth, t, zc + halfDepth),
                                 p(r, b, z1), p(r, b, z0)};
    if (!testOf(sideA, false) != downward) PolygonF(sideA, 3);
    if (testOf(sideB, true) != downward) PolygonF(sideB, 3);
    if (testOf(sideC, false) != downward) PolygonF(sideC, 3);
    if (!testOf(sideD, true) != downward) PolygonF(sideD, 3);
  }
  drawCap(!(b > t));
}

// ---- Bitmaps on a plane ----------------------------------------------------------------------

void TKelCanvas3D::DrawBitmap3D(const TRect& rect, TGraphic* graphic, double position, int plane) {
  if (graphic == nullptr || graphic->Width() == 0 || graphic->Height() == 0) return;
  // The pixels are read from a 24-bit copy; the caller's graphic keeps its format.
  TBitmap pixels;
  if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
    pixels.Assign(bitmap);
  } else {
    pixels.SetSize(graphic->Width(), graphic->Height());
    pixels.Canvas()->Draw(0, 0, graphic);
  }
  const int bw = pixels.Width();
  const int bh = pixels.Height();
  const auto rows = ScanLines24(pixels);
  Pen()->SetStyle(psClear);
  SetSmoothing(false);
  const int at = RoundInt(position);
  const double cellWidth = static_cast<double>(rect.Width()) / bw;
  const double cellHeight = static_cast<double>(rect.Height()) / bh;
  auto place = [&](int x, int y) {
    switch (plane) {
      case 0: return Project3D(at, y, x);
      case 1: return Project3D(x, at, y);
      default: return Project3D(x, y, at);
    }
  };
  HDC dc = PreparedDC(false);
  TSetDCColorProc setDCBrushColor = KelSetDCBrushColor();
  const bool dcBrush = setDCBrushColor != nullptr && dc != nullptr && UseDCBrush();
  if (dcBrush) SelectObject(dc, GetStockObject(NULL_PEN));
  for (int k = 0; k < bh; ++k) {
    const int y0 = rect.Top + RoundInt(k * cellHeight);
    const int y1 = rect.Top + RoundInt((k + 1) * cellHeight);
    for (int i = 0; i < bw; ++i) {
      const int x0 = rect.Left + RoundInt(i * cellWidth);
      const int x1 = rect.Left + RoundInt((i + 1) * cellWidth);
      const unsigned char* px = rows[k] + i * 3;
      const TColor color = static_cast<TColor>(px[2] | (px[1] << 8) | (px[0] << 16));
      const TPoint quad[4] = {place(x0, y0), place(x1, y0), place(x1, y1), place(x0, y1)};
      if (dcBrush) {
        setDCBrushColor(dc, static_cast<COLORREF>(color));
        const POINT pts[4] = {quad[0], quad[1], quad[2], quad[3]};
        ::Polygon(dc, pts, 4);
      } else {
        Brush()->SetColor(color);
        Polygon({quad[0], quad[1], quad[2], quad[3]}, 3);
      }
    }
  }
  // Release the DC brush and pen: the canvas's device objects go back in.
  if (dc != nullptr) PreparedDC(false);
  SetSmoothing(true);
}
