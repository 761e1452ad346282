// TCanvas3D: the projection-level operations that reduce to other operations of the interface
// (lines and polygons at a depth, rotation suspension, font zoom, triangle surfaces).
#include "canvas/Canvas3D.h"

#include <algorithm>

#include "canvas/CanvasUtils.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/Math.h"

namespace {
int RoundInt(long double v) { return static_cast<int>(Round(v)); }
}  // namespace

const TClassInfo& TCanvas3D::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCanvas3D>("TCanvas3D", &TKelCanvas::StaticClass()).Abstract().Build();
  return info;
}

HRESULT STDMETHODCALLTYPE TCanvas3D::QueryInterface(REFIID iid, void** result) {
  if (result == nullptr) return E_POINTER;
  if (IsEqualIID(iid, __uuidof(IUnknown))) {
    *result = static_cast<IUnknown*>(this);
    return S_OK;
  }
  *result = nullptr;
  return E_NOINTERFACE;
}

int TCanvas3D::BeginElement(const std::string&, int data, const TElementTransform*) { return data; }

void TCanvas3D::DrawShadowShape(TKelShadow* shadow, const TRect& rect, bool isEllipse, int cornerSize,
                                const TPointArray& points, int highIndex, double, double startAngle,
                                double endAngle) {
  Brush()->SetColor(shadow->Color());
  Brush()->SetStyle(bsSolid);
  if (Pen()->Style() != psClear) {
    Pen()->SetStyle(psSolid);
    Pen()->SetColor(Brush()->Color());
  }
  if (highIndex >= 0) {
    Polygon(points, highIndex);
  } else if (isEllipse) {
    auto ellipseOrPie = [&] {
      if (endAngle - startAngle == 360) {
        EllipseFromRect(rect);
      } else {
        PieByAngles(rect, startAngle, endAngle);
      }
    };
    if (!shadow->Smooth()) {
      ellipseOrPie();
      return;
    }
    // A soft edge without bitmap effects: a radial gradient from the darkened colour.
    TKelGradient radial;
    radial.SetVisible(true);
    radial.SetDirection(KelCanvas::gdRadial);
    radial.SetStartColor(DarkenRGB(shadow->Color(), 128));
    radial.SetEndColor(shadow->Color() == 0 ? clSilver : LightenRGB(shadow->Color(), 32));
    TKelGradient saved;
    saved.Assign(BrushGradient());
    const TPenStyle penStyle = Pen()->Style();
    BrushGradient()->Assign(&radial);
    Pen()->SetStyle(psClear);
    try {
      ellipseOrPie();
    } catch (...) {
      BrushGradient()->Assign(&saved);
      Pen()->SetStyle(penStyle);
      throw;
    }
    BrushGradient()->Assign(&saved);
    Pen()->SetStyle(penStyle);
  } else if (cornerSize > 0) {
    DrawCorneredRect(rect, cornerSize, cornerSize, nullptr);
  } else {
    FillRect(rect);
  }
}

void TCanvas3D::AssignFrom(TCanvas3D* source) {
  if (source == nullptr) return;
  ChangeMonochrome(source->IsMonochrome());
  View3DOptions = source->View3DOptions;
  TextZoom = source->TextZoom;
}

void TCanvas3D::DrawDiamond(int left, int top, int right, int bottom, int z0, int z1) {
  const int z = (z0 + z1) / 2;
  const int cx = (left + right) / 2;
  const int cy = (top + bottom) / 2;
  Polygon({Project3D(cx, top, z), Project3D(right, cy, z), Project3D(cx, bottom, z), Project3D(left, cy, z)}, 3);
}

void TCanvas3D::HLine3D(int x0, int x1, int y, int z) {
  MoveToProjected(x0, y, z);
  LineToProjected(x1, y, z);
}

void TCanvas3D::FillRect3D(const TRect& rect, int cornerWidth, int cornerHeight, int z0, int) {
  if (SupportsFull3D()) {
    RectangleAtZ(rect, z0);
    return;
  }
  DrawCorneredRect(ProjectRect(rect, z0), cornerWidth, cornerHeight, nullptr);
}

void TCanvas3D::VLine3D(int x, int y0, int y1, int z) {
  MoveToProjected(x, y0, z);
  LineToProjected(x, y1, z);
}

void TCanvas3D::DepthLine3D(int x, int y, int z0, int z1) {
  MoveToProjected(x, y, z0);
  LineToProjected(x, y, z1);
}

void TCanvas3D::SuspendRotation() {
  if (RotationLock == 0) Suspend3D();
  ++RotationLock;
}

void TCanvas3D::ResumeRotation() {
  --RotationLock;
  if (RotationLock == 0) Resume3D();
}

void TCanvas3D::Line3D(int x0, int y0, int x1, int y1, int z) {
  MoveToProjected(x0, y0, z);
  LineToProjected(x1, y1, z);
}

void TCanvas3D::MoveToProjected(int x, int y, int z) {
  const TPoint p = Project3D(x, y, z);
  MovePenTo(p.X, p.Y);
}

void TCanvas3D::MoveToProjectedF(float x, float y, float z) { MoveToProjected(RoundInt(x), RoundInt(y), RoundInt(z)); }

void TCanvas3D::LineToProjected(int x, int y, int z) {
  const TPoint p = Project3D(x, y, z);
  LineTo(p.X, p.Y);
}

void TCanvas3D::LineToProjectedF(float x, float y, float z) { LineToProjected(RoundInt(x), RoundInt(y), RoundInt(z)); }

void TCanvas3D::FillPolygon3DF(const TPoint3DFloatArray& points, int highIndex, bool flag) {
  const int count = PointCount(points.size(), highIndex);
  TPoint3DArray rounded(count);
  for (int i = 0; i < count; ++i) {
    rounded[i] = TPoint3D{RoundInt(points[i].X), RoundInt(points[i].Y), RoundInt(points[i].Z)};
  }
  FillPolygon3DAlias(rounded, count - 1, flag);
}

void TCanvas3D::PolygonAtZ(const TPointArray& points, int highIndex, int z) {
  Polygon(ProjectPoints(points, highIndex, z), highIndex);
}

void TCanvas3D::PolylineAtZ(const TPointArray& points, int highIndex, int z) {
  Polyline(ProjectPoints(points, highIndex, z), highIndex);
}

void TCanvas3D::DrawTriangleSurface(int count, TKelBlend* blend, std::uint8_t percent,
                                    const TTriangleCallback& callback) {
  for (int i = 1; i <= count; ++i) {
    std::array<TPoint3D, 3> points{};
    std::array<TColor, 3> colors{};
    callback(i, points, colors);
    if (blend != nullptr) {
      const auto corners = ProjectTriangle(points);
      blend->TakeSnapshot(BoundsOfTriangle(corners[0], corners[1], corners[2]));
    }
    FillTriangle3D(points, colors);
    if (blend != nullptr) ApplyBlend(blend, percent);
  }
}

void TCanvas3D::AssignFontZoomed(TKelFont* font) {
  if (!SuppressesFontZoom() && View3DOptions != nullptr && View3DOptions->ZoomText() != ztNo &&
      View3DOptions->ZoomFloat() != 100) {
    AssignFontSized(font, static_cast<float>(font->SizeFloat() * 0.01 * View3DOptions->ZoomFloat()));
  } else {
    AssignFont(font);
  }
}

TRect TCanvas3D::ProjectRect(const TRect& rect, int z) {
  const TPoint a = Project3D(rect.Left, rect.Top, z);
  const TPoint b = Project3D(rect.Right, rect.Bottom, z);
  return TRect(a.X, a.Y, b.X, b.Y);
}

std::array<TPoint, 4> TCanvas3D::ProjectRectCorners(const TRect& rect, int z) {
  return {Project3D(rect.Left, rect.Top, z), Project3D(rect.Right, rect.Top, z), Project3D(rect.Right, rect.Bottom, z),
          Project3D(rect.Left, rect.Bottom, z)};
}

TRect TCanvas3D::ProjectedRectBounds(const TRect& rect, int z) {
  const auto corners = ProjectRectCorners(rect, z);
  return BoundsOfPointCount(corners.data(), 4);
}

TPointArray TCanvas3D::ProjectPoints(const TPointArray& points, int highIndex, int z) {
  TPointArray result(PointCount(points.size(), highIndex));
  for (std::size_t i = 0; i < result.size(); ++i) result[i] = Project3D(points[i].X, points[i].Y, z);
  return result;
}

TPointFloatArray TCanvas3D::ProjectFloatPoints(const TPointFloatArray& points, int highIndex, float z) {
  TPointFloatArray result(PointCount(points.size(), highIndex));
  for (std::size_t i = 0; i < result.size(); ++i) {
    result[i] = points[i];
    Project3DF(result[i], z);
  }
  return result;
}

bool TCanvas3D::ProjectBoxHull(const TRect& rect, int z0, int z1, TPointArray& hull) {
  hull.clear();
  for (int z : {z0, z1}) {
    for (const TPoint& p : ProjectRectCorners(rect, z)) hull.push_back(p);
  }
  return ConvexOutline(hull);
}

void TCanvas3D::PolygonAtZF(const TPointFloatArray& points, int highIndex, float z) {
  PolygonF(ProjectFloatPoints(points, highIndex, z), highIndex);
}

void TCanvas3D::PolylineAtZF(const TPointFloatArray& points, int highIndex, float z) {
  PolylineF(ProjectFloatPoints(points, highIndex, z), highIndex);
}
