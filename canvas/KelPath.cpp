// TKelPath: a GDI path recorded on the canvas's device context (see KelPath.h).
#include "canvas/KelPath.h"

#include <cmath>
#include <numbers>

#include "canvas/KelBrush.h"
#include "canvas/GradientPainting.h"
#include "canvas/KelCanvas.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"

namespace {
int RoundInt(long double v) { return static_cast<int>(Round(v)); }
}  // namespace

TKelPath::TKelPath(TKelCanvas& canvas) : canvas_(canvas) {
  HDC dc = canvas_.PreparedDC();
  if (dc == nullptr || !BeginPath(dc)) {
    const DWORD code = GetLastError();
    throw Exception("Cannot create GDI path. Error: " + std::to_string(code) + " " + SysErrorMessage(code));
  }
}

// The arc runs clockwise on the screen from startAngle over sweepAngle; it joins the figure
// drawn so far (ArcTo), so rounded outlines stay one closed figure.
void TKelPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
  HDC dc = canvas_.PreparedDC();
  const double cx = x + width / 2.0, cy = y + height / 2.0;
  auto point = [&](double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return POINT{RoundInt(cx + std::cos(a) * width / 2.0), RoundInt(cy + std::sin(a) * height / 2.0)};
  };
  const POINT from = point(startAngle);
  const POINT to = point(startAngle + sweepAngle);
  if (!figureOpen_) MoveToEx(dc, from.x, from.y, nullptr);
  const int old = SetArcDirection(dc, sweepAngle >= 0 ? AD_CLOCKWISE : AD_COUNTERCLOCKWISE);
  ::ArcTo(dc, RoundInt(x), RoundInt(y), RoundInt(x + width), RoundInt(y + height), from.x, from.y, to.x, to.y);
  SetArcDirection(dc, old);
  figureOpen_ = true;
}

void TKelPath::CloseFigure() {
  ::CloseFigure(canvas_.PreparedDC());
  figureOpen_ = false;
}

void TKelPath::AddPoints(const TPointArray& points, int highIndex, bool closed) {
  const int count = std::min<int>(highIndex + 1, static_cast<int>(points.size()));
  if (count <= 0) return;
  std::vector<POINT> pts(count);
  for (int i = 0; i < count; ++i) pts[i] = points[i];
  HDC dc = canvas_.PreparedDC();
  if (closed) {
    ::Polygon(dc, pts.data(), count);
    MoveToEx(dc, pts[count - 1].x, pts[count - 1].y, nullptr);
  } else {
    PolylineTo(dc, pts.data(), static_cast<DWORD>(count));
  }
  figureOpen_ = true;
}

void TKelPath::AddLineTo(float x, float y) {
  ::LineTo(canvas_.PreparedDC(), RoundInt(x), RoundInt(y));
  figureOpen_ = true;
}

// Inside an open figure the point joins it, as a GDI+ path joins a line to the figure it is
// added to: an outline that gives its next line a start point after an arc (which leaves none
// on GDI+) stays one figure here too.
void TKelPath::StartFigureAt(float x, float y) {
  if (figureOpen_)
    ::LineTo(canvas_.PreparedDC(), RoundInt(x), RoundInt(y));
  else
    MoveToEx(canvas_.PreparedDC(), RoundInt(x), RoundInt(y), nullptr);
  figureOpen_ = true;
}

void TKelPath::AddText(const std::string& text, float x, float y) { canvas_.TextOut(RoundInt(x), RoundInt(y), text); }

void TKelPath::DrawPath(TKelCanvas& canvas) {
  const bool penVisible = canvas.Pen()->Visible();
  HDC dc = canvas.PreparedDC();
  EndPath(dc);
  bool filled;
  auto paintInside = [&](auto paint) {
    const int saved = SaveDC(dc);
    SelectClipPath(dc, RGN_COPY);
    RECT box{};
    GetClipBox(dc, &box);
    paint(TRect(box));
    RestoreDC(dc, saved);
    dc = canvas.PreparedDC();
  };
  if (canvas.Brush()->HasPicture()) {
    paintInside([&](const TRect& r) { canvas.DrawGraphicStretched(r, canvas.Brush()->Image()->FilteredGraphic()); });
    filled = false;
  } else {
    filled = canvas.Brush()->Style() != bsClear;
    if (canvas.BrushHasGradient()) {
      // Painted as an element's gradient, so a visible sub-gradient is laid over it; from a
      // copy, since that borrows the canvas brush gradient, which gets its settings back.
      TKelGradient gradient;
      gradient.Assign(canvas.BrushGradient());
      paintInside([&](const TRect& r) { DrawBrushGradient(&gradient, &canvas, r, 0); });
      canvas.BrushGradient()->Assign(&gradient);
      filled = false;
    }
  }
  if (penVisible && filled) {
    StrokeAndFillPath(dc);
  } else if (penVisible) {
    StrokePath(dc);
  } else if (filled) {
    FillPath(dc);
  } else {
    AbortPath(dc);
  }
}
