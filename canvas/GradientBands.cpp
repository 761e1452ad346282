// GradientFillRect of the GDI canvas: a two-colour gradient painted as bands with PatBlt
// through the DC brush (linear rows or columns, frames from the centre, L-shaped corner bands)
// or as diagonal lines with the canvas pen; the radial kind goes to DrawRadialGradient.
#include <algorithm>
#include <memory>

#include "canvas/CanvasUtils.h"
#include "canvas/GradientPainting.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelPen.h"
#include "toolkit/rtl/Math.h"

namespace {
using KelCanvas::TGradientDirection;

int Channel(TColor color, int shift) { return (static_cast<unsigned>(color) >> shift) & 0xFF; }

// The colour of band `index` of `steps` between start and end.
class TBandColors {
 public:
  TBandColors(TColor start, TColor end, int balance, int steps)
      : start_(ColorToRGB(start)), end_(ColorToRGB(end)), balance_(balance), steps_(std::max(steps, 1)) {}
  TColor At(int index) const {
    int channels[3];
    for (int c = 0; c < 3; ++c) {
      const int s = Channel(start_, 8 * c);
      const int diff = Channel(end_, 8 * c) - s;
      channels[c] = balance_ == 50 ? s + index * diff / steps_
                                   : s + static_cast<int>(Round(diff * BalanceFactor(steps_, balance_, index)));
      channels[c] = std::clamp(channels[c], 0, 255);
    }
    return static_cast<TColor>(channels[0] | (channels[1] << 8) | (channels[2] << 16));
  }

 private:
  TColor start_, end_;
  int balance_;
  int steps_;
};

// Paints solid bands with PatBlt: the stock DC brush recoloured per band when the platform
// has SetDCBrushColor, otherwise one created brush per colour. The brush selected before is
// selected back at the end.
class TBandPainter {
 public:
  explicit TBandPainter(HDC dc) : dc_(dc), setColor_(KelSetDCBrushColor()) {
    if (setColor_ != nullptr) old_ = SelectObject(dc_, GetStockObject(DC_BRUSH));
  }
  ~TBandPainter() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (created_ != nullptr) DeleteObject(created_);
  }
  TBandPainter(const TBandPainter&) = delete;
  TBandPainter& operator=(const TBandPainter&) = delete;

  void Paint(int x, int y, int width, int height, TColor color) {
    if (width <= 0 || height <= 0) return;
    if (color != last_) {
      last_ = color;
      if (setColor_ != nullptr) {
        SelectFastBrush(color);
      } else {
        SetBandBrush(color);
      }
    }
    PatBlt(dc_, x, y, width, height, PATCOPY);
  }

 private:
  // The stock DC brush (selected once) recoloured.
  void SelectFastBrush(TColor color) { setColor_(dc_, static_cast<COLORREF>(color)); }
  // A new solid brush selected in place of the previous band's, which is deleted.
  void SetBandBrush(TColor color) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(color));
    HGDIOBJ previous = SelectObject(dc_, brush);
    if (old_ == nullptr) old_ = previous;
    if (created_ != nullptr) DeleteObject(created_);
    created_ = brush;
  }

  HDC dc_;
  TSetDCColorProc setColor_;
  HGDIOBJ old_ = nullptr;
  HBRUSH created_ = nullptr;
  TColor last_ = clNone;
};

void FillLinearBands(TBandPainter& painter, const TRect& r, TColor s, TColor e, int balance, bool rows) {
  const int a = rows ? r.Height() : r.Width();
  const int k = std::min(a, 256);
  if (k - 1 <= 0) return;
  const TBandColors colors(s, e, balance, k - 1);
  for (int i = 0; i < k; ++i) {
    const int from = a * i / k;
    const int to = a * (i + 1) / k;
    if (rows) {
      painter.Paint(r.Left, r.Bottom - to, r.Width(), to - from, colors.At(i));
    } else {
      painter.Paint(r.Right - to, r.Top, to - from, r.Height(), colors.At(i));
    }
  }
}

void FillCentreFrames(TBandPainter& painter, const TRect& r, TColor s, TColor e, int balance) {
  const int width = r.Width();
  const int height = r.Height();
  const int hw = width / 2;
  const int hh = height / 2;
  const TBandColors colors(s, e, balance, std::max(1, hw + hh));
  int c = 0, d = 0;
  do {
    const TColor color = colors.At(c + d);
    painter.Paint(r.Left + d, r.Top + c, 1, height - 2 * c, color);
    painter.Paint(r.Right - d - 1, r.Top + c, 1, height - 2 * c, color);
    painter.Paint(r.Left + d, r.Top + c, width - 2 * d, 1, color);
    painter.Paint(r.Left + d, r.Bottom - c - 1, width - 2 * d, 1, color);
    if (c < hh) ++c;
    if (d < hw) ++d;
  } while (c < hh || d < hw);
}

// L-shaped bands growing from the top-left (fromTop) or bottom-left corner: step s paints
// column s - 1 over the rows reached so far and then row s over the columns reached so far,
// in colour s clipped to the sizes twice over.
void FillCornerBands(TBandPainter& painter, const TRect& r, TColor s, TColor e, int balance, bool fromTop) {
  const int width = r.Width();
  const int height = r.Height();
  const TBandColors colors(s, e, balance, std::max(1, width + height));
  for (int step = 0; step <= std::max(width, height); ++step) {
    const int i = std::min(step, width);
    const int j = std::min(step, height);
    const TColor color = colors.At(i + j);
    if (step >= 1 && step <= width) {
      const int x = r.Left + step - 1;
      if (fromTop) {
        painter.Paint(x, r.Top, 1, j, color);
      } else {
        painter.Paint(x, r.Bottom - j, 1, j, color);
      }
    }
    if (step < height) {
      const int y = fromTop ? r.Top + step : r.Bottom - 1 - step;
      painter.Paint(r.Left, y, i, 1, color);
    }
  }
}

// Lines across the rectangle whose two ends walk along its edges from one corner to the
// opposite one: from the bottom-left corner (up) or the top-left corner (down).
void FillDiagonalLines(TKelCanvas3D& canvas, const TRect& rect, TColor s, TColor e, int balance, bool up) {
  // Downward lines are laid one pixel higher: the rectangle moves up by one first.
  const TRect r = up ? rect : TRect(rect.Left, rect.Top - 1, rect.Right, rect.Bottom - 1);
  const int width = r.Width();
  const int height = r.Height();
  if (static_cast<long long>(width) * height > 0x4000000LL) return;
  TKelPen* pen = canvas.Pen();
  const int savedWidth = pen->Width();
  const TPenStyle savedStyle = pen->Style();
  const TPenMode savedMode = pen->Mode();
  const TColor savedColor = pen->Color();
  const bool savedVisible = pen->Visible();
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  pen->SetMode(pmCopy);
  pen->SetVisible(true);
  const int lines = width + height;
  const int n = std::max(1, std::min(255, width + height - 1));
  const TBandColors colors(s, e, balance, n);
  const int right = r.Right - 1;
  const int bottom = r.Bottom - 1;
  TPoint p1(r.Left, up ? bottom : r.Top);
  TPoint p2 = p1;
  for (int k = 0; k < lines; ++k) {
    const TColor color = colors.At(k * n / lines);
    pen->SetColor(color);
    canvas.LineSegment(p1.X, p1.Y, p2.X, p2.Y);
    canvas.SetPixel(p2.X, p2.Y, color);
    if (up) {
      if (p1.X < right) ++p1.X; else if (p1.Y > r.Top) --p1.Y;
      if (p2.Y > r.Top) --p2.Y; else if (p2.X < right) ++p2.X;
    } else {
      if (p1.X < right) ++p1.X; else if (p1.Y < bottom) ++p1.Y;
      if (p2.Y < bottom) ++p2.Y; else if (p2.X < right) ++p2.X;
    }
  }
  pen->SetWidth(savedWidth);
  pen->SetStyle(savedStyle);
  pen->SetMode(savedMode);
  pen->SetColor(savedColor);
  pen->SetVisible(savedVisible);
}
}  // namespace

void TKelCanvas3D::GradientFillRect(const TRect& area, TColor startColor, TColor endColor,
                                   KelCanvas::TGradientDirection direction, int balance, int radialX, int radialY) {
  const TRect r = OrderedRect(area);
  if (direction == KelCanvas::gdRadial) {
    TKelGradient temporary;
    temporary.SetStartColor(startColor);
    temporary.SetEndColor(endColor);
    temporary.SetBalance(balance);
    temporary.SetRadialX(radialX);
    temporary.SetRadialY(radialY);
    DrawRadialGradient(&temporary, this, r);
    return;
  }
  if (direction != KelCanvas::gdTopBottom && direction != KelCanvas::gdLeftRight &&
      direction != KelCanvas::gdDiagonalUp && direction != KelCanvas::gdDiagonalDown) {
    std::swap(startColor, endColor);
  }
  if (direction == KelCanvas::gdDiagonalUp || direction == KelCanvas::gdDiagonalDown) {
    FillDiagonalLines(*this, r, startColor, endColor, balance, direction == KelCanvas::gdDiagonalUp);
    return;
  }
  HDC dc = PreparedDC(false);
  if (dc == nullptr) return;
  TBandPainter painter(dc);
  switch (direction) {
    case KelCanvas::gdTopBottom:
    case KelCanvas::gdBottomTop:
      FillLinearBands(painter, r, startColor, endColor, balance, true);
      break;
    case KelCanvas::gdLeftRight:
    case KelCanvas::gdRightLeft:
      FillLinearBands(painter, r, startColor, endColor, balance, false);
      break;
    case KelCanvas::gdFromCenter:
      FillCentreFrames(painter, r, startColor, endColor, balance);
      break;
    default:
      FillCornerBands(painter, r, startColor, endColor, balance, direction == KelCanvas::gdFromTopLeft);
      break;
  }
}
