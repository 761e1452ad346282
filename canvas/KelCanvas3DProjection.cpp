// TKelCanvas3D: the 3D projection of the chart's view options (integer, float and inverse),
// 3D suspension, and the primitives drawn through it: planes, stored quads, polygons and
// triangles at a depth, ellipses at a depth, arrows, box clipping and projected text.
#include <cmath>
#include <numbers>

#include "canvas/CanvasUtils.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelPen.h"
#include "canvas/View3DOptions.h"
#include "toolkit/rtl/Math.h"

namespace {
int RoundInt(long double v) { return static_cast<int>(Round(v)); }
constexpr long double kDegToRad = std::numbers::pi_v<long double> / 180;
}  // namespace

void TKelCanvas3D::ComputeRotationMatrix() {
  if (IsOrthogonal) return;
  long double ax = 0, ay = 0, az = 0;
  if (View3DOptions != nullptr) {
    ax = -View3DOptions->ElevationFloat();
    ay = -View3DOptions->RotationFloat();
    az = View3DOptions->Tilt();
  }
  HasPerspective = false;
  PerspectiveFactor = 0;
  SinX = std::sin(ax * kDegToRad);
  CosX = std::cos(ax * kDegToRad);
  SinY = std::sin(ay * kDegToRad);
  CosY = std::cos(ay * kDegToRad);
  SinZ = std::sin(az * kDegToRad);
  CosZ = std::cos(az * kDegToRad);
  HasTilt = View3DOptions != nullptr && View3DOptions->Tilt() != 0;
  K1 = static_cast<double>(CosY * SinZ);
  K2 = std::max(static_cast<double>(CosY * CosZ), 1e-5);
  K3 = std::max(static_cast<double>(SinX * SinY * SinZ + CosX * CosZ), 1e-5);
  K4 = static_cast<double>(CosZ * SinX * SinY - CosX * SinZ);
  K5 = static_cast<double>(CosX * SinY * SinZ - CosZ * SinX);
  K6 = static_cast<double>(CosX * CosZ * SinY + SinX * SinZ);
}

void TKelCanvas3D::SetProjectionRect(int depth, const TRect&, const TRect& rect) {
  XCentre = (rect.Left + rect.Right) / 2;
  YCentre = (rect.Top + rect.Bottom) / 2;
  ZCentre = RoundInt(depth * 0.5L);
  ScreenCentre = TPoint(XCentre, YCentre);
  if (View3DOptions == nullptr) return;
  ScreenCentre.X += View3DOptions->HorizOffset();
  ScreenCentre.Y += View3DOptions->VertOffset();
  if (Is3D) ZoomFactor = View3DOptions->ZoomFloat() * 0.01;
  HasPerspective = View3DOptions->Perspective() > 0;
  if (HasPerspective) {
    PerspectiveFactor = View3DOptions->Perspective() * ZoomFactor / 120 / std::max(1, rect.Right - rect.Left);
  }
}

TPoint TKelCanvas3D::Project3D(int x, int y, int z) {
  if (IsOrthogonal) {
    int px, py;
    if (z != 0) {
      px = RoundInt((z * OrthoStepX + x - XCentre) * ZoomFactor) + ScreenCentre.X;
      py = RoundInt((y - YCentre - z * OrthoStepY) * ZoomFactor);
    } else {
      px = RoundInt((x - XCentre) * ZoomFactor) + ScreenCentre.X;
      py = RoundInt((y - YCentre) * ZoomFactor);
    }
    return TPoint(px, ScreenCentre.Y + py);
  }
  if (!Is3D) return TPoint(x, y);
  const long double dx = x - XCentre, dy = y - YCentre, dz = z - ZCentre;
  const long double f = dz * CosY - dx * SinY;
  const long double c = dx * CosY + dz * SinY;
  const long double g =
      HasPerspective ? ZoomFactor / ((CosX * f + dy * SinX) * PerspectiveFactor + 1) : static_cast<long double>(ZoomFactor);
  int px, py;
  if (HasTilt) {
    const long double h = dy * CosX - SinX * f;
    px = RoundInt(g * (CosZ * c - SinZ * h)) + ScreenCentre.X;
    py = RoundInt(g * (h * CosZ + c * SinZ));
  } else {
    px = RoundInt(g * c) + ScreenCentre.X;
    py = RoundInt(g * (dy * CosX - f * SinX));
  }
  return TPoint(px, ScreenCentre.Y + py);
}

void TKelCanvas3D::Project3DF(TPointFloat& p, float z) {
  const float zoom = static_cast<float>(ZoomFactor);
  if (IsOrthogonal) {
    float px, py;
    if (z != 0) {
      px = (z * static_cast<float>(OrthoStepX) + p.X - XCentre) * zoom + ScreenCentre.X;
      py = (p.Y - YCentre - z * static_cast<float>(OrthoStepY)) * zoom;
    } else {
      px = (p.X - XCentre) * zoom + ScreenCentre.X;
      py = (p.Y - YCentre) * zoom;
    }
    p = TPointFloat{px, ScreenCentre.Y + py};
    return;
  }
  if (!Is3D) {
    p = TPointFloat{(p.X - XCentre) * zoom + ScreenCentre.X, (p.Y - YCentre) * zoom + ScreenCentre.Y};
    return;
  }
  const float sx = static_cast<float>(SinX), cx = static_cast<float>(CosX);
  const float sy = static_cast<float>(SinY), cy = static_cast<float>(CosY);
  const float sz = static_cast<float>(SinZ), cz = static_cast<float>(CosZ);
  const float dx = p.X - XCentre, dy = p.Y - YCentre, dz = z - ZCentre;
  const float f = dz * cy - dx * sy;
  const float c = dx * cy + dz * sy;
  const float g = HasPerspective ? zoom / ((cx * f + dy * sx) * static_cast<float>(PerspectiveFactor) + 1) : zoom;
  const float h = dy * cx - sx * f;
  p = TPointFloat{g * (cz * c - sz * h) + ScreenCentre.X, ScreenCentre.Y + g * (h * cz + c * sz)};
}

void TKelCanvas3D::ProjectInverse(int& x, int& y, int z) {
  if (ZoomFactor == 0) return;
  const double b = 1 / ZoomFactor;
  if (IsOrthogonal) {
    x = RoundInt(b * (x - ScreenCentre.X) - z * OrthoStepX) + XCentre;
    y = RoundInt(b * (y - ScreenCentre.Y) + z * OrthoStepY) + YCentre;
    return;
  }
  if (!Is3D || K3 == 0 || K2 == 0) return;
  const double d = z - ZCentre;
  const int screenX = x;
  x = RoundInt((b * (x - ScreenCentre.X) - d * K5 - (y - YCentre) * K1) / K3) + XCentre;
  y = RoundInt((b * (y - ScreenCentre.Y) - d * K6 - (screenX - XCentre) * K4) / K2) + YCentre;
}

void TKelCanvas3D::Suspend3D() {
  SavedIs3D = Is3D;
  Is3D = false;
}

void TKelCanvas3D::Resume3D() { Is3D = SavedIs3D; }

// ---- Projected primitives --------------------------------------------------------------------

TColor TKelCanvas3D::GetPixel3D(int x, int y, int z) {
  const TPoint p = Project3D(x, y, z);
  return GetPixel(p.X, p.Y);
}

void TKelCanvas3D::SetPixel3D(int x, int y, int z, TColor color) {
  const TPoint p = Project3D(x, y, z);
  if (Pen()->Width() == 1) {
    SetPixel(p.X, p.Y, color);
  } else {
    MovePenTo(p.X, p.Y);
    LineTo(p.X, p.Y);
  }
}

void TKelCanvas3D::DrawStoredQuad() { Polygon(TPointArray(StoredQuad.begin(), StoredQuad.end()), 3); }

void TKelCanvas3D::PlaneFromTwoPoints(TPoint p0, TPoint p1, int z0, int z1) {
  StoredQuad = {Project3D(p0.X, p0.Y, z0), Project3D(p1.X, p1.Y, z0), Project3D(p1.X, p1.Y, z1),
                Project3D(p0.X, p0.Y, z1)};
  DrawStoredQuad();
}

void TKelCanvas3D::PlaneFromFourPoints(TPoint p0, TPoint p1, TPoint p2, TPoint p3, int z) {
  StoredQuad = {ProjectPoint(p0, z), ProjectPoint(p1, z), ProjectPoint(p2, z), ProjectPoint(p3, z)};
  DrawStoredQuad();
}

void TKelCanvas3D::PlaneFromArray(const std::array<TPoint, 4>& points, int z0, int z1) {
  StoredQuad = {ProjectPoint(points[0], z0), ProjectPoint(points[1], z0), ProjectPoint(points[2], z1),
                ProjectPoint(points[3], z1)};
  DrawStoredQuad();
}

void TKelCanvas3D::RectangleAtZ(const TRect& rect, int z) {
  StoredQuad = ProjectRectCorners(rect, z);
  DrawStoredQuad();
}

void TKelCanvas3D::PlaneAtY(int x0, int y, int x1, int z0, int z1) {
  StoredQuad = {Project3D(x0, y, z0), Project3D(x1, y, z0), Project3D(x1, y, z1), Project3D(x0, y, z1)};
  DrawStoredQuad();
}

void TKelCanvas3D::PlaneAtX(int x, int y0, int y1, int z0, int z1) {
  StoredQuad = {Project3D(x, y0, z0), Project3D(x, y0, z1), Project3D(x, y1, z1), Project3D(x, y1, z0)};
  DrawStoredQuad();
}

void TKelCanvas3D::FillPolygon3D(const TPoint3DArray& points, int highIndex) {
  const int count = PointCount(points.size(), highIndex);
  TPointArray projected(count);
  for (int i = 0; i < count; ++i) projected[i] = ProjectPoint3D(points[i]);
  Polygon(projected, count - 1);
}

void TKelCanvas3D::TriangleAtZ(TPoint p0, TPoint p1, TPoint p2, int z) {
  Polygon({ProjectPoint(p0, z), ProjectPoint(p1, z), ProjectPoint(p2, z)}, 2);
}

void TKelCanvas3D::FillTriangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) {
  if (Brush()->Style() != bsClear) Brush()->SetColor(colors[0]);
  const auto corners = ProjectTriangle(points);
  Polygon({corners[0], corners[1], corners[2]}, 2);
}

void TKelCanvas3D::PolygonFloat(const TPoint3DFloatArray& points, int highIndex) {
  const int count = PointCount(points.size(), highIndex);
  TPointFloatArray projected(count);
  for (int i = 0; i < count; ++i) {
    projected[i] = TPointFloat{points[i].X, points[i].Y};
    Project3DF(projected[i], points[i].Z);
  }
  PolylineF(projected, count - 1);
}

void TKelCanvas3D::EllipseAtZ(int left, int top, int right, int bottom, int z) {
  if (IsOrthogonal) {
    const TPoint a = Project3D(left, top, z);
    const TPoint b = Project3D(right, bottom, z);
    Ellipse(a.X, a.Y, b.X, b.Y);
    return;
  }
  if (Is3D) {
    constexpr int kPoints = 180;
    TPointFloatArray points(kPoints);
    for (int i = 0; i < kPoints; ++i) {
      const double theta = i * 2 * std::numbers::pi / (kPoints - 1);
      points[i] = TPointFloat{static_cast<float>((left + right) / 2.0 + (right - left) / 2.0 * std::sin(theta)),
                              static_cast<float>((bottom + top) / 2.0 + (bottom - top) / 2.0 * std::cos(theta))};
      Project3DF(points[i], static_cast<float>(z));
    }
    if (Brush()->Style() != bsClear) {
      PolygonF(points, kPoints - 1);
    } else if (Pen()->Style() != psClear) {
      PolylineF(points, kPoints - 1);
    }
    return;
  }
  Ellipse(left, top, right + 1, bottom + 1);
}

void TKelCanvas3D::CircleAtZ(int x, int y, int z, double radius) {
  const int r = RoundInt(radius);
  EllipseAtZ(x - r, y - r, x + r, y + r, z);
}

void TKelCanvas3D::DrawArrow3D(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z0, int z1,
                               double bodyPercent) {
  TPointArray pts = BuildArrowPolygon(from, to, headLength, headWidth, bodyPercent);
  if (pts.empty()) return;
  const int z = (z0 + z1) / 2;
  for (TPoint& p : pts) p = Project3D(p.X, p.Y, z);
  if (filled) {
    Polygon(pts, 6);
  } else {
    const TPoint start = Project3D(from.X, from.Y, z);
    LineSegment(start.X, start.Y, pts[4].X, pts[4].Y);
    LineTo(pts[5].X, pts[5].Y);
    LineSegment(pts[4].X, pts[4].Y, pts[3].X, pts[3].Y);
  }
}

void TKelCanvas3D::ClipToBox3D(const TRect& rect, int z0, int z1) {
  if (!Is3D) {
    ClipToRect(TRect(rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1));
    return;
  }
  TPointArray hull;
  if (ProjectBoxHull(rect, z0, z1, hull)) {
    ClipToPolygon(hull, static_cast<int>(hull.size()) - 1, static_cast<int>(hull.size()), false);
  } else {
    ClipToRect(rect);
  }
}
