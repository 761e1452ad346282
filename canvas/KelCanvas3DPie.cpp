// TKelCanvas3D: the 3D pie slice. A temporary TPieDrawer holds one slice's geometry (top and
// lower ellipses, donut and bevel rects, whole-degree angles) and draws its parts in order:
// lower face, curved sides and radial walls in darkened colours, then the top face.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "canvas/CanvasUtils.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelPen.h"
#include "toolkit/rtl/Math.h"

TPointFloat TKelCanvas3D::EllipsePoint(const TRect& rect, int degrees) {
  const double a = degrees * std::numbers::pi / 180;
  const double cx = (rect.Left + rect.Right) * 0.5;
  const double cy = (rect.Top + rect.Bottom) * 0.5;
  return TPointFloat{static_cast<float>(cx + std::cos(a) * rect.Width() / 2.0),
                     static_cast<float>(cy - std::sin(a) * rect.Height() / 2.0)};
}

namespace {
int RoundInt(long double v) { return static_cast<int>(Round(v)); }

TRect MovedDown(const TRect& r, int dy) { return TRect(r.Left, r.Top + dy, r.Right, r.Bottom + dy); }

TRect AroundCentre(int x, int y, int rx, int ry) { return TRect(x - rx, y - ry, x + rx, y + ry); }

class TPieDrawer {
 public:
  TPieDrawer(TKelCanvas3D& canvas, int xCentre, int yCentre, int xRadius, int yRadius, int thickness)
      : top_(AroundCentre(xCentre, yCentre, xRadius, yRadius)),
        lower_(MovedDown(top_, thickness)),
        canvas_(canvas),
        centre_(xCentre, yCentre),
        thickness_(thickness) {}

  void SetAngles(double startAngle, double endAngle) {
    start_ = RoundInt(startAngle * 180 / std::numbers::pi);
    end_ = RoundInt(endAngle * 180 / std::numbers::pi);
    full_ = startAngle == endAngle || std::abs(end_ - start_) == 360;
    if (full_) {
      end_ = start_ + 360;
    } else if (end_ < start_) {
      end_ += 360;
    }
  }
  void SetDonut(int percent) {
    if (percent <= 0) return;
    donut_ = true;
    const int rx = RoundInt(top_.Width() / 2 * percent * 0.01);
    const int ry = RoundInt(top_.Height() / 2 * percent * 0.01);
    innerTop_ = AroundCentre(centre_.X, centre_.Y, rx, ry);
    innerLower_ = MovedDown(innerTop_, thickness_);
  }

  bool Full() const { return full_; }
  int Sweep() const { return end_ - start_; }
  TRect Bounds() const { return TRect(top_.Left, top_.Top, top_.Right, lower_.Bottom); }

  // A point of the ellipse in `rect`, projected at the slice's thickness.
  TPointFloat Point(const TRect& rect, int degrees) {
    TPointFloat p = TKelCanvas3D::EllipsePoint(rect, degrees);
    if (thickness_ != 0) canvas_.Project3DF(p, static_cast<float>(thickness_));
    return p;
  }
  TPointFloat Centre(int dy) {
    TPointFloat p{static_cast<float>(centre_.X), static_cast<float>(centre_.Y + dy)};
    if (thickness_ != 0) canvas_.Project3DF(p, static_cast<float>(thickness_));
    return p;
  }
  void AddArc(TPointFloatArray& points, const TRect& rect, int from, int to) {
    const int step = from <= to ? 1 : -1;
    for (int a = from;; a += step) {
      points.push_back(Point(rect, a));
      if (a == to) break;
    }
  }
  void Fill(const TPointFloatArray& points) {
    if (points.size() >= 3) canvas_.PolygonF(points, static_cast<int>(points.size()) - 1);
  }

  // The face of the slice on one level: centre and arc, or outer arc and inner arc back.
  void Face(const TRect& outer, const TRect& inner, int dy) {
    TPointFloatArray points;
    if (donut_) {
      AddArc(points, outer, start_, end_);
      AddArc(points, inner, end_, start_);
    } else {
      points.push_back(Centre(dy));
      AddArc(points, outer, start_, end_);
    }
    Fill(points);
  }
  void TopFace() { Face(top_, innerTop_, 0); }
  // The ring of the top face between its rim and the bevel ellipse `bevel`.
  void BevelBand(const TRect& bevel) {
    TPointFloatArray points;
    AddArc(points, top_, start_, end_);
    AddArc(points, bevel, end_, start_);
    Fill(points);
  }
  void LowerFace() { Face(lower_, innerLower_, thickness_); }

  // The curved surface between the two levels of one ellipse pair, over the parts of the
  // slice's range inside [lo, hi] (degrees, repeated every 360), or over all of it.
  void CurvedSurface(const TRect& upper, const TRect& under, int lo, int hi, bool all) {
    std::vector<std::pair<int, int>> parts;
    if (all) {
      // Split at 0° and 180° so every part is a simple band.
      for (int a = start_; a < end_;) {
        const int band = a >= 0 ? a / 180 : -((-a + 179) / 180);
        const int next = std::min(end_, (band + 1) * 180);
        parts.emplace_back(a, next);
        a = next;
      }
    } else {
      for (int k = -1; k <= 2; ++k) {
        const int from = std::max(start_, lo + 360 * k);
        const int to = std::min(end_, hi + 360 * k);
        if (to > from) parts.emplace_back(from, to);
      }
    }
    for (const auto& [from, to] : parts) {
      TPointFloatArray points;
      AddArc(points, upper, from, to);
      AddArc(points, under, to, from);
      Fill(points);
    }
  }
  void OuterSides(bool all) { CurvedSurface(top_, lower_, 180, 360, all); }
  void InnerSides(bool all) {
    if (donut_) CurvedSurface(innerTop_, innerLower_, 0, 180, all);
  }
  // The flat walls at the start and end angles.
  void RadialWalls() {
    for (int a : {start_, end_}) {
      TPointFloatArray points;
      if (donut_) {
        points = {Point(innerTop_, a), Point(top_, a), Point(lower_, a), Point(innerLower_, a)};
      } else {
        points = {Centre(0), Point(top_, a), Point(lower_, a), Centre(thickness_)};
      }
      Fill(points);
    }
  }

  TRect top_, lower_, innerTop_, innerLower_;
  int start_ = 0, end_ = 0;

 private:
  TKelCanvas3D& canvas_;
  TPoint centre_;
  int thickness_;
  bool full_ = false;
  bool donut_ = false;
};
}  // namespace

void TKelCanvas3D::DrawPieSlice3D(int xCentre, int yCentre, int xRadius, int yRadius, int z0, int z1,
                                  double startAngle, double endAngle, bool darkSides, bool drawSides,
                                  int donutPercent, TCustomKelGradient* gradient, int bevelPercent,
                                  std::uint8_t highlightMode, std::uint8_t transparency, int bevelBright,
                                  bool bevelBorder, bool hideSides) {
  const int thickness = z1 - z0;
  TPieDrawer pie(*this, xCentre, yCentre, xRadius, yRadius, thickness);
  pie.SetAngles(startAngle, endAngle);
  pie.SetDonut(donutPercent);
  TRect highlightTop = pie.top_, highlightLower = pie.lower_;
  if (bevelPercent > 0) {
    const double inset = thickness * bevelPercent * 0.01;
    highlightTop = AroundCentre(xCentre, yCentre, RoundInt(xRadius - inset), RoundInt(yRadius - inset));
    highlightLower = MovedDown(highlightTop, thickness);
  }
  const bool solid = Brush()->Style() == bsSolid;
  const TColor fill = solid ? Brush()->Color() : QueryBackColor();
  TKelBlend* blend = nullptr;
  if (transparency > 0) blend = StartTransparency(SupportsAlpha ? TRect() : pie.Bounds(), transparency);
  const bool whole = transparency > 0 && !hideSides;
  try {
    if (whole) pie.LowerFace();
    bool penDarkened = false;
    if (darkSides) {
      if (Brush()->Style() != bsClear) Brush()->SetColor(DarkenRGB(fill, 32));
      if (Pen()->Color() == fill) {
        Pen()->SetColor(DarkenRGB(fill, 32));
        penDarkened = true;
      }
    }
    pie.OuterSides(whole);
    if (!hideSides) pie.InnerSides(whole);
    if (pie.Sweep() < 360 && (drawSides || whole)) pie.RadialWalls();
    if (darkSides) {
      if (solid) {
        Brush()->SetColor(fill);
      } else {
        ChangeBackColor(fill);
      }
      if (penDarkened) Pen()->SetColor(fill);
    }
    pie.TopFace();
    if (bevelPercent > 0) {
      // The band is the fill colour lightened (positive) or darkened (negative) by BevelBright,
      // outlined only with BevelBorder; brush and pen are given back afterwards.
      const TColor band = bevelBright >= 0 ? LightenRGB(fill, bevelBright) : DarkenRGB(fill, -bevelBright);
      const TColor brushColor = Brush()->Color();
      const TPenStyle penStyle = Pen()->Style();
      if (Brush()->Style() != bsClear) Brush()->SetColor(band);
      if (!bevelBorder) Pen()->SetStyle(psClear);
      pie.BevelBand(highlightTop);
      if (!bevelBorder) Pen()->SetStyle(penStyle);
      Brush()->SetColor(brushColor);
    }
    if ((gradient != nullptr && gradient->Visible()) || highlightMode != 2) {
      FillShapeGradient(highlightMode, thickness, highlightTop, highlightLower, pie.innerTop_, pie.start_, pie.end_,
                        TPoint(xCentre, yCentre), donutPercent > 0);
    }
  } catch (...) {
    if (transparency > 0) FinishTransparency(blend);
    throw;
  }
  if (transparency > 0) FinishTransparency(blend);
}
