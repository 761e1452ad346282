// TKelCanvas3D: the smooth shadow shape. When bitmap effects are allowed and the canvas draws
// into its buffer, the shape is drawn into a work bitmap, blurred and multiplied into the
// buffer; otherwise the plain shape of TCanvas3D is drawn.
#include <algorithm>
#include <memory>

#include "canvas/CanvasUtils.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelShadow.h"
#include "canvas/ShadowBlur.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/rtl/Math.h"

void TKelCanvas3D::DrawShadowShape(TKelShadow* shadow, const TRect& rect, bool isEllipse, int cornerSize,
                                   const TPointArray& points, int highIndex, double holePercent, double startAngle,
                                   double endAngle) {
  if (shadow->Smooth() && !NoBitmapEffects && BufferBitmap != nullptr) {
    DrawSmoothShadow(shadow, rect, isEllipse, cornerSize, points, highIndex, holePercent);
  } else {
    TCanvas3D::DrawShadowShape(shadow, rect, isEllipse, cornerSize, points, highIndex, holePercent, startAngle,
                               endAngle);
  }
}

void TKelCanvas3D::DrawSmoothShadow(TKelShadow* shadow, const TRect& rect, bool isEllipse, int cornerSize,
                                    const TPointArray& points, int highIndex, double holePercent) {
  const int r = shadow->BlurRadius();
  int width = std::max(1, rect.Width());
  int height = std::max(1, rect.Height());
  TPointArray moved;
  if (highIndex >= 0) {
    moved.assign(points.begin(), points.begin() + std::min<int>(highIndex + 1, static_cast<int>(points.size())));
    const TRect b = BoundsOfPoints(moved);
    for (TPoint& p : moved) {
      p.X += 1 - b.Left;
      p.Y += 1 - b.Top;
    }
    width = std::max(1, b.Right + r - b.Left);
    height = std::max(1, b.Bottom + r - b.Top);
  }
  TBitmap work;
  work.SetPixelFormat(pf24bit);
  work.SetSize(width, height);
  TCanvas* c = work.Canvas();
  c->Brush()->SetColor(shadow->Color());
  c->Brush()->SetStyle(bsSolid);
  c->Pen()->SetStyle(psClear);
  const TRect inner(r / 2, r / 2, width - r / 2, height - r / 2);
  if (highIndex >= 0) {
    c->Polygon(moved);
  } else if (isEllipse) {
    c->Ellipse(inner);
    if (holePercent != 0) {
      const int dx = static_cast<int>(Round((100 - holePercent) * rect.Width() * 0.005));
      const int dy = static_cast<int>(Round((100 - holePercent) * rect.Height() * 0.005));
      c->Brush()->SetColor(clWhite);
      c->Ellipse(TRect(inner.Left + dx, inner.Top + dy, inner.Right - dx, inner.Bottom - dy));
    }
  } else if (cornerSize > 0) {
    c->RoundRect(inner.Left, inner.Top, inner.Right, inner.Bottom, cornerSize, cornerSize);
  } else {
    c->FillRect(inner);
  }
  BlurShadowBitmap(work, BufferBitmap, rect.Left, rect.Top, width, height, r, static_cast<float>(shadow->SmoothBlur()),
                   this, shadow->Clip());
}
