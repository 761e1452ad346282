// Gradient painting on the GDI canvas (see GradientPainting.h).
#include "canvas/GradientPainting.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "canvas/BitmapUtils.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelPen.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/Math.h"

namespace {
int RoundInt(double v) { return static_cast<int>(Round(v)); }

using KelCanvas::TGradientDirection;

// Channel `shift` (0 red, 8 green, 16 blue) of an RGB colour.
int Channel(TColor color, int shift) { return (static_cast<unsigned>(color) >> shift) & 0xFF; }

TColor RgbOf(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Restores the canvas pen style and brush colour and the brush gradient's visibility.
class TRadialStateGuard {
 public:
  explicit TRadialStateGuard(TKelCanvas* canvas)
      : canvas_(canvas),
        penStyle_(canvas->Pen()->Style()),
        brushColor_(canvas->Brush()->Color()),
        gradientVisible_(canvas->BrushGradient()->Visible()) {}
  ~TRadialStateGuard() {
    canvas_->Pen()->SetStyle(penStyle_);
    canvas_->Brush()->SetColor(brushColor_);
    canvas_->BrushGradient()->SetVisible(gradientVisible_);
  }
  TRadialStateGuard(const TRadialStateGuard&) = delete;
  TRadialStateGuard& operator=(const TRadialStateGuard&) = delete;

 private:
  TKelCanvas* canvas_;
  TPenStyle penStyle_;
  TColor brushColor_;
  bool gradientVisible_;
};
}  // namespace

double BalanceFactor(int steps, int balance, int index) {
  return std::pow((index + 1.0) / (steps + 1.0), 0.5 + balance * 0.01);
}

void FillGradientRect(TKelCanvas* canvas, TCustomKelGradient* gradient, const TRect& rect) {
  if (canvas == nullptr || gradient == nullptr) return;
  if (gradient->Angle() != 0) {
    DrawAngledGradient(gradient, canvas, rect);
    return;
  }
  TColor mid = gradient->MidColor();
  TColor start = gradient->StartColor();
  TColor end = gradient->EndColor();
  if (canvas->IsMonochrome()) {
    if (mid != clNone) mid = MonochromeColor(mid);
    start = MonochromeColor(start);
    end = MonochromeColor(end);
  }
  const TGradientDirection direction = gradient->Direction();
  if (direction == KelCanvas::gdRadial) {
    canvas->GradientFillRect(rect, start, end, direction, gradient->Balance(), gradient->RadialX(),
                             gradient->RadialY());
    return;
  }
  if (mid == clNone || direction == KelCanvas::gdDiagonalUp || direction == KelCanvas::gdDiagonalDown) {
    canvas->GradientFillRect(rect, start, end, direction, gradient->Balance(), 0, 0);
    return;
  }
  const int midY = (rect.Top + rect.Bottom) / 2;
  const int midX = (rect.Left + rect.Right) / 2;
  const TRect upper(rect.Left, rect.Top, rect.Right, midY);
  const TRect lower(rect.Left, midY, rect.Right, rect.Bottom);
  const TRect left(rect.Left, rect.Top, midX, rect.Bottom);
  const TRect right(midX, rect.Top, rect.Right, rect.Bottom);
  switch (direction) {
    case KelCanvas::gdTopBottom:
      canvas->GradientFillRect(upper, mid, end, direction, 50, 0, 0);
      canvas->GradientFillRect(lower, start, mid, direction, 50, 0, 0);
      break;
    case KelCanvas::gdBottomTop:
      canvas->GradientFillRect(upper, start, mid, direction, 50, 0, 0);
      canvas->GradientFillRect(lower, mid, end, direction, 50, 0, 0);
      break;
    case KelCanvas::gdLeftRight:
      canvas->GradientFillRect(left, mid, end, direction, 50, 0, 0);
      canvas->GradientFillRect(right, start, mid, direction, 50, 0, 0);
      break;
    case KelCanvas::gdRightLeft:
      canvas->GradientFillRect(left, start, mid, direction, 50, 0, 0);
      canvas->GradientFillRect(right, mid, end, direction, 50, 0, 0);
      break;
    default:
      canvas->GradientFillRect(rect, start, end, direction, 50, 0, 0);
      break;
  }
}

void DrawBrushGradient(TCustomKelGradient* gradient, TKelCanvas* canvas, const TRect& rect, int cornerRadius) {
  if (gradient == nullptr || canvas == nullptr) return;
  canvas->BrushGradient()->Assign(gradient);
  if (cornerRadius < 1) {
    canvas->FillRect(rect);
  } else {
    canvas->DrawCorneredRect(rect, cornerRadius, cornerRadius, nullptr);
  }
  auto* full = dynamic_cast<TKelGradient*>(gradient);
  if (full != nullptr && full->HasSubGradient() && full->SubGradient()->Visible()) {
    DrawSubGradient(gradient, canvas, rect, cornerRadius);
  }
}

void DrawSubGradient(TCustomKelGradient* gradient, TKelCanvas* canvas, const TRect& rect, int cornerRadius) {
  auto* full = dynamic_cast<TKelGradient*>(gradient);
  if (full == nullptr || !full->HasSubGradient()) return;
  TSubGradient* sub = full->SubGradient();
  TKelBlend* blend = canvas->StartTransparency(rect, static_cast<std::uint8_t>(sub->Transparency()));
  try {
    if (sub->Direction() == KelCanvas::gdRadial) {
      DrawRadialGradient(sub, canvas, rect);
    } else {
      DrawBrushGradient(sub, canvas, rect, cornerRadius);
    }
  } catch (...) {
    canvas->FinishTransparency(blend);
    throw;
  }
  canvas->FinishTransparency(blend);
}

void DrawRadialGradient(TCustomKelGradient* gradient, TKelCanvas* canvas, const TRect& area) {
  if (gradient == nullptr || canvas == nullptr) return;
  const TRect rect = OrderedRect(area);
  canvas->ClipToRect(rect);
  {
    TRadialStateGuard guard(canvas);
    canvas->BrushGradient()->SetVisible(false);
    const int width = rect.Width();
    const int height = rect.Height();
    int a = std::min(255, std::max(width, height));
    if (width % 2 != 0 || height % 2 != 0) --a;
    // One pixel rects would divide by zero below.
    if (a < 1) a = 1;
    const TColor s = static_cast<TColor>(ColorToRGB(gradient->StartColor()));
    const TColor e = static_cast<TColor>(ColorToRGB(gradient->EndColor()));
    const int balance = gradient->Balance();
    canvas->Pen()->SetStyle(psClear);
    canvas->Brush()->SetColor(e);
    canvas->FillRect(rect);
    const double cx = (rect.Left + rect.Right) * 0.5 + gradient->RadialX() + 1;
    const double cy = (rect.Top + rect.Bottom) * 0.5 + gradient->RadialY() + 1;
    HDC dc = canvas->PreparedDC(false);
    TSetDCColorProc setDCBrushColor = KelSetDCBrushColor();
    HGDIOBJ oldBrush = nullptr, oldPen = nullptr;
    if (setDCBrushColor != nullptr && dc != nullptr) {
      oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
      oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    }
    for (int k = a; k >= 0; --k) {
      int channels[3];
      for (int c = 0; c < 3; ++c) {
        const int sc = Channel(s, 8 * c);
        const int diff = Channel(e, 8 * c) - sc;
        channels[c] = balance == 50 ? sc + RoundInt(static_cast<double>(diff) / a * k)
                                    : sc + RoundInt(diff * BalanceFactor(a, balance, k));
      }
      const TColor color = RgbOf(channels[0], channels[1], channels[2]);
      const double hx = width * 0.5 / a * k;
      const double hy = height * 0.5 / a * k;
      const int l = RoundInt(cx - hx), t = RoundInt(cy - hy), r = RoundInt(cx + hx), b = RoundInt(cy + hy);
      if (oldBrush != nullptr) {
        setDCBrushColor(dc, ColorToRGB(color));
        ::Ellipse(dc, l, t, r, b);
      } else {
        canvas->Brush()->SetColor(color);
        canvas->Ellipse(l, t, r, b);
      }
    }
    if (oldBrush != nullptr) {
      SelectObject(dc, oldBrush);
      SelectObject(dc, oldPen);
    }
  }
  canvas->PopClip();
  auto* full = dynamic_cast<TKelGradient*>(gradient);
  if (full != nullptr && full->HasSubGradient() && full->SubGradient()->Visible()) {
    DrawSubGradient(gradient, canvas, rect, 0);
  }
}

TSize AngledGradientBitmapSize(int angle, int width, int height) {
  const double radians = (360 - angle) * std::numbers::pi / 180;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  if (s * c > 0) {
    return TSize{std::abs(RoundInt(width * c + height * s)) + 2, std::abs(RoundInt(width * s + height * c)) + 2};
  }
  return TSize{std::abs(RoundInt(width * c - height * s)) + 2, std::abs(RoundInt(width * s - height * c)) + 2};
}

void RotateGradientBitmap(TBitmap& bitmap, double angle) {
  if (static_cast<long long>(bitmap.Width()) * bitmap.Height() > 16777215) return;
  if (KelRotateBitmapHook) {
    KelRotateBitmapHook(bitmap, angle);
  } else {
    TurnBitmap(bitmap, angle);
  }
}

void DrawAngledGradient(TCustomKelGradient* gradient, TKelCanvas* canvas, const TRect& area) {
  const TRect rect = OrderedRect(area);
  const int width = rect.Width();
  const int height = rect.Height();
  const TSize size = AngledGradientBitmapSize(gradient->Angle(), width, height);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(size.cx, size.cy);
  {
    TKelCanvas3D temporary;
    temporary.SetBuffered(false);
    temporary.Buffered = false;
    temporary.SetTargetCanvas(bitmap.Canvas());
    temporary.Bounds = TRect(0, 0, size.cx, size.cy);
    temporary.ChangeMonochrome(canvas->IsMonochrome());
    temporary.Pen()->SetStyle(psClear);
    const int angle = gradient->Angle();
    TNotifyEvent onChange = gradient->OnChange();
    gradient->SetOnChange(nullptr);
    gradient->SetAngle(0);
    try {
      DrawBrushGradient(gradient, &temporary, TRect(0, 0, size.cx, size.cy), 0);
    } catch (...) {
      gradient->SetAngle(angle);
      gradient->SetOnChange(onChange);
      throw;
    }
    gradient->SetAngle(angle);
    gradient->SetOnChange(onChange);
  }
  RotateGradientBitmap(bitmap, gradient->Angle());
  canvas->ClipToRect(rect);
  canvas->DrawGraphic(rect.Left - (bitmap.Width() - width) / 2, rect.Top - (bitmap.Height() - height) / 2, &bitmap);
  canvas->PopClip();
}
