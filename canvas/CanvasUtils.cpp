// Geometry and colour routines of the drawing surface (see CanvasUtils.h).
#include "canvas/CanvasUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "toolkit/rtl/Math.h"

TRect RectFromCoords(int left, int top, int right, int bottom) { return TRect(left, top, right, bottom); }
TPoint PointFromCoords(int x, int y) { return TPoint(x, y); }
TRect RectFromSize(int width, int height) { return TRect(0, 0, width, height); }

TRect OrderedRect(const TRect& r) {
  TRect result = r;
  OrderRect(result);
  return result;
}

void OrderRect(TRect& r) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
}

bool RectContainsXY(const TRect& r, int x, int y) {
  return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

bool RectContainsPoint(const TRect& r, TPoint p) { return RectContainsXY(r, p.X, p.Y); }

void RectSize(const TRect& r, int& width, int& height) {
  width = r.Right - r.Left;
  height = r.Bottom - r.Top;
}

TPoint RectCentre(const TRect& r) { return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

void RectCentreXY(const TRect& r, int& x, int& y) {
  const TPoint c = RectCentre(r);
  x = c.X;
  y = c.Y;
}

void InflateRectBy(TRect& r, int dx, int dy) {
  r.Left -= dx;
  r.Right += dx;
  r.Top -= dy;
  r.Bottom += dy;
}

TRectFloat RectFloatFromRect(const TRect& r) {
  return TRectFloat{static_cast<float>(r.Left), static_cast<float>(r.Top), static_cast<float>(r.Right),
                    static_cast<float>(r.Bottom)};
}

void RectFloatInflate(TRectFloat& r, float dx, float dy) {
  r.Left -= dx;
  r.Right += dx;
  r.Top -= dy;
  r.Bottom += dy;
}

void RectFloatSize(const TRectFloat& r, float& width, float& height) {
  width = r.Right - r.Left;
  height = r.Bottom - r.Top;
}

TPointFloat RectFloatCentre(const TRectFloat& r) {
  return TPointFloat{(r.Left + r.Right) * 0.5f, (r.Top + r.Bottom) * 0.5f};
}

double ReduceAngle(double degrees) {
  if (!(degrees > 360) || !std::isfinite(degrees)) return degrees;
  const double rest = std::fmod(degrees, 360.0);
  return rest == 0 ? 360.0 : rest;
}

int PointCount(std::size_t size, int highIndex) { return std::clamp(highIndex + 1, 0, static_cast<int>(size)); }

TPoint PointRound(const TPointFloat& p) {
  return TPoint(static_cast<int>(Round(p.X)), static_cast<int>(Round(p.Y)));
}

TPointFloat PointToFloat(TPoint p) { return TPointFloat{static_cast<float>(p.X), static_cast<float>(p.Y)}; }

TRect BoundsOfPointCount(const TPoint* points, int count) {
  if (count <= 0 || points == nullptr) return TRect();
  TRect r(points[0].X, points[0].Y, points[0].X, points[0].Y);
  for (int i = 1; i < count; ++i) {
    r.Left = std::min(r.Left, points[i].X);
    r.Top = std::min(r.Top, points[i].Y);
    r.Right = std::max(r.Right, points[i].X);
    r.Bottom = std::max(r.Bottom, points[i].Y);
  }
  ++r.Right;
  ++r.Bottom;
  return r;
}

TRect BoundsOfPoints(const TPointArray& points) {
  return BoundsOfPointCount(points.data(), static_cast<int>(points.size()));
}

TRect BoundsOfTriangle(TPoint p0, TPoint p1, TPoint p2) {
  const TPoint pts[3] = {p0, p1, p2};
  return BoundsOfPointCount(pts, 3);
}

TRectFloat BoundsOfFloatPoints(const TPointFloatArray& points) {
  if (points.empty()) return TRectFloat{};
  TRectFloat r{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPointFloat& p : points) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  return r;
}

bool FacesViewer(TPoint p0, TPoint p1, TPoint p2) {
  return (p0.X - p1.X) * (p2.Y - p1.Y) - (p2.X - p1.X) * (p0.Y - p1.Y) < 0;
}

bool FacesViewerArray(const TPointArray& points) {
  return points.size() >= 3 && FacesViewer(points[0], points[1], points[2]);
}

bool FacesViewerFloat(const TPointFloat& p0, const TPointFloat& p1, const TPointFloat& p2) {
  return (p0.X - p1.X) * (p2.Y - p1.Y) - (p2.X - p1.X) * (p0.Y - p1.Y) < 0;
}

double PointDistance(double a, double b) { return std::sqrt(a * a + b * b); }
float PointDistanceSingle(float a, float b) { return std::sqrt(a * a + b * b); }
void ExchangeDoubles(double& a, double& b) { std::swap(a, b); }
void ExchangeIntegers(int& a, int& b) { std::swap(a, b); }

void SortPointsByKey(TPointArray& points, std::vector<double>& keys, int low, int high) {
  while (low < high) {
    const double pivot = keys[(low + high) / 2];
    int i = low;
    int j = high;
    while (i <= j) {
      while (keys[i] < pivot) ++i;
      while (keys[j] > pivot) --j;
      if (i <= j) {
        std::swap(keys[i], keys[j]);
        std::swap(points[i], points[j]);
        ++i;
        --j;
      }
    }
    // Recurse into the smaller part, loop over the larger one.
    if (j - low < high - i) {
      SortPointsByKey(points, keys, low, j);
      low = i;
    } else {
      SortPointsByKey(points, keys, i, high);
      high = j;
    }
  }
}

bool ConvexOutline(TPointArray& points) {
  const int n = static_cast<int>(points.size());
  if (n < 3) return false;
  if (n == 3) return true;
  int pivotIndex = 0;
  for (int i = 1; i < n; ++i) {
    const TPoint& p = points[i];
    const TPoint& q = points[pivotIndex];
    if (p.Y < q.Y || (p.Y == q.Y && p.X > q.X)) pivotIndex = i;
  }
  const TPoint pivot = points[pivotIndex];
  points[pivotIndex] = points[n - 1];
  points.pop_back();
  std::vector<double> keys(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    const double d = PointDistance(points[i].X - pivot.X, points[i].Y - pivot.Y);
    keys[i] = d == 0 ? 0 : (pivot.X - points[i].X) / d;
  }
  SortPointsByKey(points, keys, 0, static_cast<int>(points.size()) - 1);
  // Walk from the second point, dropping every point that makes a non-convex turn.
  int i = 1;
  while (i < static_cast<int>(points.size())) {
    const TPoint& prev = points[i - 1];
    const TPoint& cur = points[i];
    const TPoint& next = i + 1 < static_cast<int>(points.size()) ? points[i + 1] : pivot;
    if ((prev.X - cur.X) * (next.Y - cur.Y) - (next.X - cur.X) * (prev.Y - cur.Y) < 0) {
      ++i;
    } else {
      points.erase(points.begin() + i);
      if (i > 1) --i;
    }
  }
  points.push_back(pivot);
  return true;
}

namespace {
int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
}  // namespace

TColor DarkenRGB(TColor color, int n) {
  const int r = ClampByte((color & 0xFF) - n);
  const int g = ClampByte(((color >> 8) & 0xFF) - n);
  const int b = ClampByte(((color >> 16) & 0xFF) - n);
  return r | (g << 8) | (b << 16);
}

TColor LightenRGB(TColor color, int n) {
  const int r = ClampByte((color & 0xFF) + n);
  const int g = ClampByte(((color >> 8) & 0xFF) + n);
  const int b = ClampByte(((color >> 16) & 0xFF) + n);
  return r | (g << 8) | (b << 16);
}

void SplitColorBytes(TColor color, std::uint8_t& b0, std::uint8_t& b1, std::uint8_t& b2) {
  b0 = static_cast<std::uint8_t>((color >> 16) & 0xFF);
  b1 = static_cast<std::uint8_t>((color >> 8) & 0xFF);
  b2 = static_cast<std::uint8_t>(color & 0xFF);
}

TColor MonochromeColor(TColor color) {
  const COLORREF rgb = ColorToRGB(color);
  const int g = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3;
  return g | (g << 8) | (g << 16);
}

void SetVisualBounds(TPoint3DFloat& location, TPoint3DFloat& size, const TRect& rect, int z0, int z1,
                     int panelHeight) {
  location.X = (rect.Left + rect.Right) * 0.5f;
  location.Y = (z0 + z1) * 0.5f;
  location.Z = panelHeight - (rect.Top + rect.Bottom) * 0.5f;
  size.X = static_cast<float>(std::abs(rect.Right - rect.Left));
  size.Y = static_cast<float>(std::abs(z1 - z0));
  size.Z = static_cast<float>(std::abs(rect.Bottom - rect.Top));
}
