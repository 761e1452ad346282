// TGDIPlusCanvas: creation, frame cycle, state, lines, shapes, plain fills, clipping and element
// transforms (see KelGDIPlus.h).
#include "canvas/KelGDIPlus.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "canvas/CanvasUtils.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlusSwitch.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/View3DOptions.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/ui/Control.h"

const char* const GdiPlusStatusNames[21] = {
    "Ok", "Generic Error", "Invalid Parameter", "Out Of Memory", "Object Busy", "Insufficient Buffer",
    "Not Implemented", "Win32 Error", "Wrong State", "Aborted", "File Not Found", "Value Overflow",
    "Access Denied", "Unknown Image Format", "Font Family Not Found", "Font Style Not Found", "Not TrueType Font",
    "Unsupported Gdiplus Version", "Gdiplus Not Initialized", "Property Not Found", "Property Not Supported"};

void CheckGdiPlusStatus(TGpStatus status) {
  if (status == GpOk) return;
  const char* name = status >= 0 && status <= 20 ? GdiPlusStatusNames[status] : "Unknown";
  throw Exception("GDI+ Error: " + std::to_string(status) + " " + name);
}

namespace {
constexpr int kCombineReplace = 0;
constexpr int kCombineIntersect = 1;
constexpr int kCombineExclude = 4;
constexpr int kFillAlternate = 0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;

int RoundInt(long double v) { return static_cast<int>(Round(v)); }

TRectFloat PointBounds(const TPointFloatArray& points) {
  TRectFloat r{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPointFloat& p : points) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  return r;
}

TPointFloatArray FloatPoints(const TPointArray& points, int count) {
  TPointFloatArray out(count);
  for (int i = 0; i < count; ++i) out[i] = {static_cast<float>(points[i].X), static_cast<float>(points[i].Y)};
  return out;
}

TRect Ordered(int x0, int y0, int x1, int y1) {
  return TRect(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
}
}  // namespace

// ---- Creation --------------------------------------------------------------------------------

TGDIPlusCanvas::TGDIPlusCanvas() {
  StartGdiPlus();
  CurrentTransparency = 255;
  SupportsAlpha = true;
  DefaultFontQuality = static_cast<std::uint8_t>(TKelFontQuality::fqDefault);
  companion_ = std::make_unique<TKelCanvas3D>();
  companion_->SetBuffered(false);
  if (IsAvailable()) EnsureGraphics();
}

TGDIPlusCanvas::~TGDIPlusCanvas() {
  elements_.clear();
  clips_.clear();
  pen_.reset();
  fillBrush_.reset();
  font_.reset();
  privateFonts_.reset();
  graphics_.reset();
  companion_.reset();
}

const TClassInfo& TGDIPlusCanvas::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TGDIPlusCanvas>("TGDIPlusCanvas", &TKelCanvas3D::StaticClass()).Build();
  return info;
}

bool TGDIPlusCanvas::IsAvailable() {
  if (!GdiPlusStarted() || !GdiPlusEntriesComplete()) return false;
  gp::Brush* probe = nullptr;
  const TGpStatus status = GdiPlus.GdipCreateSolidFill(0, &probe);
  if (probe != nullptr) GdiPlus.GdipDeleteBrush(probe);
  return status != GpNotInitialized;
}

// ---- Drawing object --------------------------------------------------------------------------

void TGDIPlusCanvas::CreateGraphicsForDC(HDC dc) {
  graphics_.reset();
  auto made = std::make_unique<TGPGraphics>(dc);
  const TGpStatus status = made->TakeLastStatus();
  if (status != GpOk || made->Native() == nullptr) CheckGdiPlusStatus(status != GpOk ? status : 1);
  graphics_ = std::move(made);
  SetAntialiasMode(Antialias);
  SetTextRenderingMode();
  graphics_->SetPageUnit(2);  // UnitPixel
}

TGPGraphics* TGDIPlusCanvas::EnsureGraphics() {
  if (graphics_ != nullptr) return graphics_.get();
  if (!GdiPlusStarted()) return nullptr;
  if (GetBuffered()) {
    if (BufferBitmap == nullptr) {
      auto* bitmap = new TBitmap();
      SetBufferBitmap(bitmap);
      HDC screen = GetDC(nullptr);
      const int bits = GetDeviceCaps(screen, BITSPIXEL);
      ReleaseDC(nullptr, screen);
      // Nothing reads the buffer's fourth byte: it is copied to the screen as it stands.
      bitmap->SetAlphaIgnored(true);
      bitmap->SetPixelFormat(bits == 32 ? pf32bit : pf24bit);
    }
    CreateGraphicsForDC(BufferBitmap->Canvas()->Handle());
  } else if (DeviceCanvas() != nullptr) {
    CreateGraphicsForDC(GetDeviceHandle());
  }
  return graphics_.get();
}

void TGDIPlusCanvas::RefreshGraphics() {
  if (graphics_ != nullptr) {
    if (GetBuffered()) {
      graphics_.reset();
    } else {
      HDC dc = graphics_->GetHDC();
      graphics_->ReleaseHDC(dc);
      if (dc != GetDeviceHandle()) graphics_.reset();
    }
  }
  // Clips and transforms of a dropped drawing object are gone with it.
  if (graphics_ == nullptr) {
    clips_.clear();
    elements_.clear();
  }
  EnsureGraphics();
}

void TGDIPlusCanvas::SetAntialiasMode(bool on) {
  smoothing_ = !on;
  ApplySmoothing(on);
  if (graphics_ != nullptr) graphics_->SetPixelOffsetMode(on ? 2 : 3);
}

void TGDIPlusCanvas::ApplySmoothing(bool on) {
  if (on == smoothing_ || graphics_ == nullptr) return;
  graphics_->SetSmoothingMode(on ? 2 : 1);
  smoothing_ = on;
}

void TGDIPlusCanvas::SetTextRenderingMode() {
  if (graphics_ == nullptr) return;
  int hint = 0;  // system default
  switch (ReadAntiAliasText()) {
    case gpfBest: hint = 4; break;        // antialiased
    case gpfClearType: hint = 5; break;   // ClearType, grid-fitted
    case gpfNormal: hint = 1; break;      // one bit per pixel, grid-fitted
    case gpfDefault: break;
  }
  graphics_->SetTextRenderingHint(hint);
}

TGDIPlusFontQuality TGDIPlusCanvas::ReadAntiAliasText() const {
  switch (static_cast<TKelFontQuality>(DefaultFontQuality)) {
    case TKelFontQuality::fqBest: return gpfBest;
    case TKelFontQuality::fqClearType: return gpfClearType;
    case TKelFontQuality::fqNormal: return gpfNormal;
    default: return gpfDefault;
  }
}

void TGDIPlusCanvas::ChangeAntiAliasText(TGDIPlusFontQuality quality) {
  if (quality == ReadAntiAliasText()) return;
  TKelFontQuality value = TKelFontQuality::fqDefault;
  switch (quality) {
    case gpfBest: value = TKelFontQuality::fqBest; break;
    case gpfClearType: value = TKelFontQuality::fqClearType; break;
    case gpfNormal: value = TKelFontQuality::fqNormal; break;
    case gpfDefault: break;
  }
  DefaultFontQuality = static_cast<std::uint8_t>(value);
  if (View3DOptions != nullptr) View3DOptions->Repaint();
  SetTextRenderingMode();
}

void TGDIPlusCanvas::ChangeAntialias(bool on) {
  if (on == Antialias) return;
  Antialias = on;
  if (graphics_ != nullptr) SetAntialiasMode(on);
  if (View3DOptions != nullptr) View3DOptions->Repaint();
}

void TGDIPlusCanvas::ChangeScale(float scale) {
  if (scale == Scale) return;
  Scale = scale;
  if (View3DOptions != nullptr) View3DOptions->Repaint();
}

// ---- Target and frame ------------------------------------------------------------------------

void TGDIPlusCanvas::SetTargetCanvas(TCanvas* canvas) {
  TKelCanvas3D::SetTargetCanvas(canvas);
  if (!GetBuffered() && graphics_ != nullptr) {
    // A drawing object made on another device context is stale.
    HDC dc = graphics_->GetHDC();
    graphics_->ReleaseHDC(dc);
    if (dc != GetDeviceHandle()) RefreshGraphics();
  }
  if (IsAvailable()) EnsureGraphics();
  if (companion_ != nullptr) companion_->SetTargetCanvas(canvas);
}

void TGDIPlusCanvas::SetBuffered(bool value) {
  if (value == GetBuffered()) return;
  // Dropped first: the switch may free the buffer bitmap under the drawing object.
  clips_.clear();
  elements_.clear();
  graphics_.reset();
  TKelCanvas3D::SetBuffered(value);
  graphics_.reset();
  if (View3DOptions != nullptr && DeviceCanvas() != nullptr && GdiPlusStarted()) {
    CreateGraphicsForDC(GetDeviceHandle());
  }
}

void TGDIPlusCanvas::PrepareFrame(TCanvas* canvas, TView3DOptions* options, TColor backColor, bool use3D,
                                  const TRect& rect, TRect& drawRect) {
  TRect target = rect;
  if (Scale != 1) {
    target.Right = target.Left + RoundInt((rect.Right - rect.Left) * static_cast<double>(Scale));
    target.Bottom = target.Top + RoundInt((rect.Bottom - rect.Top) * static_cast<double>(Scale));
  }
  TKelCanvas3D::PrepareFrame(canvas, options, backColor, use3D, target, drawRect);
  penX_ = penY_ = penZ_ = 0;
  RefreshGraphics();
  // (The chart panels' erase-background switch, which would clear the buffer here, is never on.)
  TCanvas* device = GetBuffered() && BufferBitmap != nullptr ? BufferBitmap->Canvas() : canvas;
  TRect companionRect;
  companion_->PrepareFrame(device, options, backColor, use3D, target, companionRect);
  companion_->SetTargetCanvas(device);
  frameClipPushed_ = false;
  frameTransformed_ = false;
  if (Transform.has_value() && Transform->Enabled && graphics_ != nullptr) {
    FillRect(target);
    frameTransformed_ = true;
    frameClipPushed_ = ApplyElementTransform(*Transform);
  }
}

void TGDIPlusCanvas::FinishFrame(TCanvas* target, TCanvas* next, const TRect& rect) {
  if (frameClipPushed_) PopClip();
  if (frameTransformed_ && graphics_ != nullptr) graphics_->ResetTransform();
  frameClipPushed_ = false;
  frameTransformed_ = false;
  const bool buffered = GetBuffered();
  if (Scale > 1 && buffered && BufferBitmap != nullptr && target != nullptr && GdiPlusStarted()) {
    // The enlarged picture is reduced into the output rectangle on the target itself.
    TGPBitmap picture(BufferBitmap->Handle(), nullptr);
    TGPGraphics onTarget(target->Handle());
    if (onTarget.Native() != nullptr) {
      onTarget.SetInterpolationMode(2);  // high quality
      onTarget.DrawImage(&picture, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    }
    BufferInvalid = false;
    SetTargetCanvas(next);
  } else {
    TKelCanvas3D::FinishFrame(target, next, rect);
  }
  if (buffered) {
    graphics_.reset();
    clips_.clear();
    elements_.clear();
    TControl* panel = View3DOptions != nullptr ? View3DOptions->Panel() : nullptr;
    if (panel != nullptr && panel->Parent() != nullptr && DeviceCanvas() != nullptr && GdiPlusStarted()) {
      CreateGraphicsForDC(GetDeviceHandle());
    }
    companion_->SetTargetCanvas(DeviceCanvas());
  }
}

// ---- Device state ----------------------------------------------------------------------------

void TGDIPlusCanvas::ApplyBrush(TBrush* brush) {
  DeviceBrush()->Assign(brush);
  auto* kel = dynamic_cast<TKelBrush*>(brush);
  const TColor back = kel != nullptr ? kel->BackColor() : clNone;
  if (back == clNone || brush->Style() == bsClear) {
    SetBackMode(TRANSPARENT);
  } else if (brush->Style() != bsSolid) {
    SetBackMode(OPAQUE);
    ChangeBackColor(back);
  }
}

void TGDIPlusCanvas::ApplyPen() { DropPen(); }

void TGDIPlusCanvas::DropPen() {
  penFillBrush_.reset();
  pen_.reset();
}

// Back colour, back mode and text alignment are the canvas's own: GDI+ draws text and hatches
// from these stored values, and the device context keeps its own settings.
void TGDIPlusCanvas::ChangeBackColor(TColor color) { backColor_ = color; }

void TGDIPlusCanvas::SetBackMode(int mode) { backMode_ = mode; }

void TGDIPlusCanvas::SetTextAlign(int align) { textAlign_ = align; }

void TGDIPlusCanvas::SetSmoothing(bool on) {
  if (graphics_ != nullptr) SetAntialiasMode(on && Antialias);
  PreparePen();
}

TKelBlend* TGDIPlusCanvas::StartTransparency(const TRect&, std::uint8_t percent) {
  TransparencyStack.push_back(CurrentTransparency);
  CurrentTransparency = AlphaFromTransparency(percent);
  DropPen();  // its colour carries the alpha
  return nullptr;
}

void TGDIPlusCanvas::FinishTransparency(TKelBlend*) {
  if (!TransparencyStack.empty()) {
    CurrentTransparency = TransparencyStack.back();
    TransparencyStack.pop_back();
  } else {
    CurrentTransparency = 255;
  }
  DropPen();
}

// ---- Colours and pens ------------------------------------------------------------------------

TArgb TGDIPlusCanvas::ColorToArgb(TColor color, int alpha) {
  const auto value = static_cast<std::uint32_t>(color);
  if (color == clNone) return 0;
  std::uint32_t rgb;
  int a = alpha;
  if ((value >> 24) == 0xFF || color == clDefault) {
    rgb = ColorToRGB(color);
  } else {
    rgb = value & 0xFFFFFF;
    a -= static_cast<int>(value >> 24);
  }
  a = std::clamp(a, 0, 255);
  const std::uint32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  return (static_cast<std::uint32_t>(a) << 24) | (r << 16) | (g << 8) | b;
}

std::uint8_t TGDIPlusCanvas::AlphaFromTransparency(int percent) const {
  const long double v = (100 - percent) * 2.55L * CurrentTransparency / 255;
  return static_cast<std::uint8_t>(std::clamp(RoundInt(v), 0, 255));
}

bool TGDIPlusCanvas::IsXorPen() {
  const TPenMode mode = Pen()->Mode();
  return mode == pmXor || mode == pmNotXor;
}

bool TGDIPlusCanvas::PreparePen() {
  TKelPen* p = Pen();
  if (!p->Visible() || p->Style() == psClear) return false;
  if (graphics_ == nullptr) return false;
  if (pen_ == nullptr) CreateGdiPlusPen(ColorToArgb(p->Color(), CurrentTransparency));
  ApplySmoothing(p->Width() != 0 && Antialias);
  return true;
}

void TGDIPlusCanvas::CreateGdiPlusPen(TArgb argb) {
  TKelPen* p = Pen();
  {
    pen_ = std::make_unique<TGPPen>(argb, 1.0f, 0);
    pen_->SetWidth(static_cast<float>(p->Width()));
    int dash = 0;
    if (p->SmallDots()) {
      dash = 2;
    } else {
      switch (p->Style()) {
        case psDash: dash = 1; break;
        case psDot: dash = 2; break;
        case psDashDot: dash = 3; break;
        case psDashDotDot: dash = 4; break;
        default: dash = 0; break;
      }
    }
    pen_->SetDashStyle(dash);
    switch (p->EndStyle()) {
      case esSquare: pen_->SetLineCap(1, 1, 3); break;
      case esFlat: pen_->SetLineCap(0, 0, 0); break;
      default: pen_->SetLineCap(2, 2, 2); break;
    }
    switch (p->JoinStyle()) {
      case jsBevel: pen_->SetLineJoin(1); break;
      case jsMitter: pen_->SetLineJoin(0); break;
      default: pen_->SetLineJoin(2); break;
    }
  }
}

bool TGDIPlusCanvas::PreparePenFillOver(const TRectFloat& bounds) {
  TKelPen* p = Pen();
  // A pen filled with a brush does not take a plain colour back: the gradient went away since
  // it was built, so it is built again.
  if (penFillBrush_ != nullptr && !p->HasGradientFill()) DropPen();
  if (!PreparePen()) return false;
  if (p->HasGradientFill()) {
    penFillBrush_.reset(MakeGdiPlusRectBrush(p->Fill(), bounds));
    pen_->SetBrush(penFillBrush_.get());
  }
  return true;
}

bool TGDIPlusCanvas::PreparePenFill(float left, float top, float right, float bottom) {
  const float half = Pen()->Width() * 0.5f;
  const float extraTop = Pen()->Width() == 0 || Pen()->Width() % 2 == 1 ? 1.0f : 0.0f;
  return PreparePenFillOver(TRectFloat{left - half, top - half - extraTop, right + half, bottom + half});
}

bool TGDIPlusCanvas::PreparePenFill(const TRect& r) {
  const TRect o = Ordered(r.Left, r.Top, r.Right, r.Bottom);
  return PreparePenFill(static_cast<float>(o.Left), static_cast<float>(o.Top), static_cast<float>(o.Right),
                        static_cast<float>(o.Bottom));
}

bool TGDIPlusCanvas::PreparePenFillOverPoints(const TPointFloatArray& points, float grow) {
  if (points.empty()) return PreparePen();
  const TRectFloat b = PointBounds(points);
  return PreparePenFillOver(TRectFloat{b.Left - grow, b.Top - grow, b.Right + grow, b.Bottom + grow});
}

TGPPen* TGDIPlusCanvas::PreparedPenUnbounded(const TRectFloat& fallback) {
  if (Pen()->HasGradientFill()) {
    const TRectFloat& own = Pen()->Fill()->Gradient()->CustomTargetRect;
    if (own.Left != own.Right || own.Top != own.Bottom) return PreparePenFillOver(own) ? pen_.get() : nullptr;
  }
  return PreparePenFill(fallback.Left, fallback.Top, fallback.Right, fallback.Bottom) ? pen_.get() : nullptr;
}

// ---- Brushes ---------------------------------------------------------------------------------

bool TGDIPlusCanvas::BrushIsClear() { return Brush()->Style() == bsClear; }

// ---- Lines -----------------------------------------------------------------------------------

TKelCanvas3D* TGDIPlusCanvas::Companion() {
  if (companion_->DeviceCanvas() == nullptr) companion_->SetTargetCanvas(DeviceCanvas());
  return companion_.get();
}

void TGDIPlusCanvas::XorLineSegment(int x0, int y0, int x1, int y1) {
  TKelCanvas3D* c = Companion();
  if (c->DeviceCanvas() == nullptr) return;
  c->UsePen(Pen());
  HDC dc = c->PreparedDC(false);
  const int saved = SetROP2(dc, Pen()->Mode() == pmXor ? R2_XORPEN : R2_NOTXORPEN);
  c->LineSegment(x0, y0, x1, y1);
  SetROP2(dc, saved);
}

void TGDIPlusCanvas::DrawLineBetween(int x0, int y0, int x1, int y1) {
  if (IsXorPen()) {
    if (Pen()->Visible() && Pen()->Style() != psClear) XorLineSegment(x0, y0, x1, y1);
    return;
  }
  if (PreparePenFill(TRect(x0, y0, x1, y1))) graphics_->DrawLine(pen_.get(), x0, y0, x1, y1);
}

void TGDIPlusCanvas::MovePenTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void TGDIPlusCanvas::LineTo(int x, int y) {
  DrawLineBetween(penX_, penY_, x, y);
  penX_ = x;
  penY_ = y;
}

void TGDIPlusCanvas::LineToCached(int x, int y) {
  if (pen_ != nullptr && graphics_ != nullptr) {
    graphics_->DrawLine(pen_.get(), static_cast<float>(penX_), static_cast<float>(penY_), static_cast<float>(x),
                        static_cast<float>(y));
  }
  penX_ = x;
  penY_ = y;
}

void TGDIPlusCanvas::LineSegment(int x0, int y0, int x1, int y1) {
  EnsureGraphics();
  DrawLineBetween(x0, y0, x1, y1);
  penX_ = x1;
  penY_ = y1;
}

void TGDIPlusCanvas::HLine(int x0, int x1, int y) {
  if (IsXorPen()) {
    DrawLineBetween(x0, y, x1, y);
  } else if (PreparePenFill(TRect(x0, y, x1, y))) {
    graphics_->DrawLine(pen_.get(), static_cast<float>(x0), static_cast<float>(y), static_cast<float>(x1),
                        static_cast<float>(y));
  }
  penX_ = x1;
  penY_ = y;
}

void TGDIPlusCanvas::VLine(int x, int y0, int y1) {
  if (IsXorPen()) {
    DrawLineBetween(x, y0, x, y1);
  } else if (PreparePenFill(TRect(x, y0, x, y1))) {
    graphics_->DrawLine(pen_.get(), static_cast<float>(x), static_cast<float>(y0), static_cast<float>(x),
                        static_cast<float>(y1));
  }
  penX_ = x;
  penY_ = y1;
}

void TGDIPlusCanvas::SetPixel(int x, int y, TColor color) {
  if (graphics_ == nullptr) return;
  // A one-pixel run of the GDI+ pen in the pixel's colour (a dot of the pen's width). The pen
  // gets the canvas pen's colour back afterwards, so that the lines drawn next keep it.
  const TArgb argb = ColorToArgb(color, CurrentTransparency);
  if (pen_ != nullptr) {
    pen_->SetColor(argb);
  } else {
    CreateGdiPlusPen(argb);
  }
  graphics_->DrawLine(pen_.get(), x, y, x + 1, y);
  pen_->SetColor(ColorToArgb(Pen()->Color(), CurrentTransparency));
}

// ---- 3D lines --------------------------------------------------------------------------------

void TGDIPlusCanvas::HLine3D(int x0, int x1, int y, int z) {
  const TPoint p0 = Project3D(x0, y, z), p1 = Project3D(x1, y, z);
  LineSegment(p0.X, p0.Y, p1.X, p1.Y);
}

void TGDIPlusCanvas::VLine3D(int x, int y0, int y1, int z) {
  const TPoint p0 = Project3D(x, y0, z), p1 = Project3D(x, y1, z);
  LineSegment(p0.X, p0.Y, p1.X, p1.Y);
}

void TGDIPlusCanvas::DepthLine3D(int x, int y, int z0, int z1) {
  const TPoint p0 = Project3D(x, y, z0), p1 = Project3D(x, y, z1);
  LineSegment(p0.X, p0.Y, p1.X, p1.Y);
}

void TGDIPlusCanvas::Line3D(int x0, int y0, int x1, int y1, int z) {
  // Drawn by GDI+ whatever the pen mode: only the axis-parallel 3D lines take the XOR route.
  const TPoint p0 = Project3D(x0, y0, z), p1 = Project3D(x1, y1, z);
  EnsureGraphics();
  if (PreparePenFill(TRect(p0.X, p0.Y, p1.X, p1.Y))) graphics_->DrawLine(pen_.get(), p0.X, p0.Y, p1.X, p1.Y);
  penX_ = p1.X;
  penY_ = p1.Y;
}

void TGDIPlusCanvas::SetPixel3D(int x, int y, int z, TColor color) {
  const TPoint p = Project3D(x, y, z);
  SetPixel(p.X, p.Y, color);
}

void TGDIPlusCanvas::Polyline(const TPointArray& points, int highIndex) {
  const int count = PointCount(points.size(), highIndex);
  if (count < 2) return;
  if (IsXorPen()) {
    TKelCanvas3D* c = Companion();
    if (c->DeviceCanvas() == nullptr || !Pen()->Visible() || Pen()->Style() == psClear) return;
    c->UsePen(Pen());
    HDC dc = c->PreparedDC(false);
    const int saved = SetROP2(dc, Pen()->Mode() == pmXor ? R2_XORPEN : R2_NOTXORPEN);
    c->Polyline(points, count - 1);
    SetROP2(dc, saved);
    return;
  }
  if (dcCache_) {
    // As LineToCached: the pen prepared when the cache opened, unsmoothed.
    if (pen_ != nullptr && graphics_ != nullptr) graphics_->DrawLines(pen_.get(), points.data(), count);
    return;
  }
  bool ready;
  if (Pen()->HasGradientFill()) {
    ready = PreparePenFillOverPoints(FloatPoints(points, count), Pen()->Width() * 0.5f);
  } else {
    // A plain pen needs no bounds: no copy of the points.
    if (penFillBrush_ != nullptr) DropPen();
    ready = PreparePen();
  }
  if (ready) graphics_->DrawLines(pen_.get(), points.data(), count);
}

void TGDIPlusCanvas::PolylineF(const TPointFloatArray& points, int highIndex) {
  const int count = PointCount(points.size(), highIndex);
  if (count < 2) return;
  if (!PreparePenFillOverPoints(TPointFloatArray(points.begin(), points.begin() + count), Pen()->Width() * 0.5f)) {
    return;
  }
  std::vector<TGPPointF> pts(count);
  for (int i = 0; i < count; ++i) pts[i] = {points[i].X, points[i].Y};
  graphics_->DrawLines(pen_.get(), pts.data(), count);
}

// ---- Shapes ----------------------------------------------------------------------------------

void TGDIPlusCanvas::Rectangle(int left, int top, int right, int bottom) {
  const TRect r = Ordered(left, top, right, bottom);
  if (IsXorPen()) {
    TKelCanvas3D* c = Companion();
    if (c->DeviceCanvas() == nullptr) return;
    c->UseBrushColors(Brush(), Brush()->Color(), Brush()->BackColor());
    c->UsePen(Pen());
    c->RectangleFromRect(r);
    return;
  }
  if (graphics_ == nullptr) return;
  if (TGPBrush* brush = FillBrushOver(TRectFloat{static_cast<float>(r.Left), static_cast<float>(r.Top), static_cast<float>(r.Right), static_cast<float>(r.Bottom)})) {
    TKelPen* p = Pen();
    if (p->Visible() && p->Style() != psClear && p->Width() > 1) {
      const float h = p->Width() * 0.5f;
      graphics_->FillRectangle(brush, r.Left + h, r.Top + h, r.Right - r.Left - 2 * h, r.Bottom - r.Top - 2 * h);
    } else {
      graphics_->FillRectangle(brush, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    }
  }
  if (PreparePenFill(r)) graphics_->DrawRectangle(pen_.get(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

void TGDIPlusCanvas::RectangleAtZAlias(const TRect& rect, int z) {
  if (IsOrthogonal) {
    DrawCorneredRect(ProjectRect(rect, z), 0, 0, nullptr);
  } else {
    RectangleAtZ(rect, z);
  }
}

void TGDIPlusCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (graphics_ == nullptr) return;
  const bool outline = PreparePenFill(TRect(left, top, right, bottom));
  const int w = right - left, h = bottom - top;
  if (TGPBrush* brush = FillBrushOver(TRectFloat{static_cast<float>(left), static_cast<float>(top), static_cast<float>(right), static_cast<float>(bottom)})) {
    if (!outline || Pen()->Width() < 2) {
      graphics_->FillEllipse(brush, left, top, w, h);
    } else {
      const float half = Pen()->Width() * 0.5f;
      graphics_->FillEllipse(brush, left + half, top + half, w - 2 * half, h - 2 * half);
    }
  }
  if (!outline) return;
  if (IsXorPen()) {
    TKelCanvas3D* c = Companion();
    if (c->DeviceCanvas() == nullptr) return;
    c->UseBrushColors(Brush(), Brush()->Color(), Brush()->BackColor());
    c->UsePen(Pen());
    c->Ellipse(left, top, right, bottom);
  } else {
    graphics_->DrawEllipse(pen_.get(), left, top, w, h);
  }
}

void TGDIPlusCanvas::MakeRoundRectPath(TGPGraphicsPath& path, const TRect& r, int cornerWidth, int cornerHeight) {
  int w = std::max((cornerWidth / 2) * 2, 1);
  int h = std::max((cornerHeight / 2) * 2, 1);
  w = std::min(w, std::abs(r.Right - r.Left));
  h = std::min(h, std::abs(r.Bottom - r.Top));
  path.AddArc(r.Right - w, r.Top, w, h, 270.0f, 90.0f);
  path.AddArc(r.Right - w, r.Bottom - h, w, h, 0.0f, 90.0f);
  path.AddArc(r.Left, r.Bottom - h, w, h, 90.0f, 90.0f);
  path.AddArc(r.Left, r.Top, w, h, 180.0f, 90.0f);
  path.CloseFigure();
}

void TGDIPlusCanvas::FillAndOutline(TGPGraphicsPath& path, const TRect& r) {
  if (TGPBrush* brush = FillBrushOver(TRectFloat{static_cast<float>(r.Left), static_cast<float>(r.Top), static_cast<float>(r.Right), static_cast<float>(r.Bottom)})) graphics_->FillPath(brush, &path);
  if (PreparePenFill(r)) graphics_->DrawPath(pen_.get(), &path);
}

void TGDIPlusCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  if (graphics_ == nullptr) return;
  if (!Antialias) {
    --right;
    --bottom;
  }
  TGPGraphicsPath path;
  MakeRoundRectPath(path, TRect(left, top, right, bottom), cornerWidth, cornerHeight);
  FillAndOutline(path, TRect(left, top, right, bottom));
}

void TGDIPlusCanvas::FillRect(const TRect& rect) {
  if (graphics_ == nullptr) return;
  if (TGPBrush* brush = FillBrushOver(TRectFloat{static_cast<float>(rect.Left), static_cast<float>(rect.Top), static_cast<float>(rect.Right), static_cast<float>(rect.Bottom)})) {
    graphics_->FillRectangle(brush, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
  }
}

void TGDIPlusCanvas::GradientFillRect(const TRect& rect, TColor startColor, TColor endColor,
                                      KelCanvas::TGradientDirection direction, int balance, int radialX,
                                      int radialY) {
  // The two colours become the brush gradient, which GDI+ then paints with the current alpha,
  // clip and transform; the gradient stays set, as after any brush change.
  TKelGradient* g = BrushGradient();
  g->SetVisible(true);
  g->SetStartColor(startColor);
  g->SetMidColor(clNone);
  g->SetEndColor(endColor);
  g->SetDirection(direction);
  g->SetBalance(balance);
  g->SetRadialX(radialX);
  g->SetRadialY(radialY);
  FillRect(rect);
}

void TGDIPlusCanvas::Polygon(const TPointArray& points, int highIndex) {
  if (graphics_ == nullptr) return;
  const int count = PointCount(points.size(), highIndex);
  if (count == 0) return;
  if (TGPBrush* brush = FillBrushOverPoints(FloatPoints(points, count))) {
    graphics_->FillPolygon(brush, points.data(), count, kFillAlternate);
  }
  if (!PreparePenFillOverPoints(FloatPoints(points, count), Pen()->Width() * 0.5f)) return;
  if (IsXorPen()) {
    TKelCanvas3D* c = Companion();
    if (c->DeviceCanvas() == nullptr) return;
    c->UseBrushColors(Brush(), Brush()->Color(), Brush()->BackColor());
    c->UsePen(Pen());
    c->Polygon(points, count - 1);
  } else {
    graphics_->DrawPolygon(pen_.get(), points.data(), count);
  }
}

void TGDIPlusCanvas::PolygonF(const TPointFloatArray& points, int highIndex) {
  if (graphics_ == nullptr) return;
  const int count = PointCount(points.size(), highIndex);
  if (count == 0) return;
  std::vector<TGPPointF> pts(count);
  for (int i = 0; i < count; ++i) pts[i] = {points[i].X, points[i].Y};
  if (TGPBrush* brush = FillBrushOverPoints(TPointFloatArray(points.begin(), points.begin() + count))) {
    graphics_->FillPolygon(brush, pts.data(), count, kFillAlternate);
  }
  if (PreparePenFillOverPoints(TPointFloatArray(points.begin(), points.begin() + count), Pen()->Width() * 0.5f)) {
    graphics_->DrawPolygon(pen_.get(), pts.data(), count);
  }
}

void TGDIPlusCanvas::PolyPoints(const TPointArray& points, int highIndex, float tension, bool closed) {
  if (graphics_ == nullptr) return;
  const int count = PointCount(points.size(), highIndex);
  if (count < 2) return;
  // Only a closed curve encloses anything to fill.
  if (closed) {
    if (TGPBrush* brush = FillBrushOverPoints(FloatPoints(points, count))) graphics_->FillClosedCurve(brush, points.data(), count, tension, kFillAlternate);
  }
  if (!PreparePenFillOverPoints(FloatPoints(points, count), static_cast<float>(Pen()->Width()))) return;
  if (closed) {
    graphics_->DrawClosedCurve(pen_.get(), points.data(), count, tension);
  } else {
    graphics_->DrawCurve(pen_.get(), points.data(), count, tension);
  }
}

// ---- Arcs and pies ---------------------------------------------------------------------------

void TGDIPlusCanvas::ArcByAngles(int left, int top, int right, int bottom, float startAngle, float endAngle) {
  if (!PreparePenFill(TRect(left, top, right, bottom))) return;
  graphics_->DrawArc(pen_.get(), std::min(left, right), std::min(top, bottom), std::abs(right - left),
                     std::abs(bottom - top), -startAngle, startAngle - endAngle);
}

void TGDIPlusCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (Pen()->Style() == psClear) return;
  float start, end;
  ArcAngles(x1, y1, x2, y2, x3, y3, x4, y4, start, end);
  ArcByAngles(x1, y1, x2, y2, start, end);
}

void TGDIPlusCanvas::ArcTo(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4,
                           bool clockwise) {
  if (!PreparePenFill(TRect(left, top, right, bottom))) return;
  float start, end;
  ArcAngles(left, top, right, bottom, x3, y3, x4, y4, start, end);
  // From the first radial point to the second, counter-clockwise unless asked otherwise (GDI+
  // angles run clockwise).
  float sweep = clockwise ? start - end : end - start;
  if (sweep <= 0) sweep += 360;
  graphics_->DrawArc(pen_.get(), left, top, right - left, bottom - top, -start, clockwise ? sweep : -sweep);
}

void TGDIPlusCanvas::PieSweepAngles(double start, double end, float& gdiStart, float& sweep) {
  const double e = end != 0 ? end : 360;
  const double s = start <= e ? e - start : end + 360 - start;
  sweep = static_cast<float>(s);
  gdiStart = static_cast<float>(360 - start - s);
}

void TGDIPlusCanvas::PieByAngles(const TRect& rect, double startAngle, double endAngle) {
  if (graphics_ == nullptr) return;
  float start, sweep;
  PieSweepAngles(startAngle, endAngle, start, sweep);
  const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
  TGPBrush* brush = GradientPolygon.empty() || !BrushHasGradient()
                        ? FillBrushOver(TRectFloat{static_cast<float>(rect.Left), static_cast<float>(rect.Top), static_cast<float>(rect.Right), static_cast<float>(rect.Bottom)})
                        : FillBrushOverPoints(GradientPolygon);
  if (brush != nullptr) graphics_->FillPie(brush, rect.Left, rect.Top, w, h, start, sweep);
  if (!PreparePenFill(rect)) return;
  if (sweep != 360) {
    graphics_->DrawPie(pen_.get(), rect.Left, rect.Top, w, h, start, sweep);
  } else {
    graphics_->DrawEllipse(pen_.get(), rect.Left, rect.Top, w, h);
  }
}

void TGDIPlusCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  float start, end;
  ArcAngles(x1, y1, x2, y2, x3, y3, x4, y4, start, end);
  PieByAngles(TRect(x1, y1, x2, y2), start, end);
}

void TGDIPlusCanvas::DrawDonutSlice(int xCentre, int yCentre, int xRadius, int yRadius, double startAngle,
                                    double endAngle, double holePercent) {
  if (graphics_ == nullptr) return;
  const float l = static_cast<float>(360 - startAngle * kRadToDeg);
  const float m = static_cast<float>(360 - endAngle * kRadToDeg);
  TGPGraphicsPath path;
  if (holePercent > 0) {
    path.AddArc(xCentre - xRadius, yCentre - yRadius, 2 * xRadius, 2 * yRadius, m, l - m);
    const float rx = static_cast<float>(xRadius * holePercent / 100);
    const float ry = static_cast<float>(yRadius * holePercent / 100);
    path.AddArc(xCentre - rx, yCentre - ry, 2 * rx, 2 * ry, l, m - l);
    path.CloseFigure();
  } else {
    path.AddPie(xCentre - xRadius, yCentre - yRadius, 2 * xRadius, 2 * yRadius, l, m - l);
  }
  FillAndOutline(path, TRect(xCentre - xRadius, yCentre - yRadius, xCentre + xRadius, yCentre + yRadius));
}

// ---- Clipping --------------------------------------------------------------------------------

void TGDIPlusCanvas::PushClip() {
  if (graphics_ == nullptr) {
    clips_.push_back(nullptr);  // keeps the caller's pop paired
    return;
  }
  auto saved = std::make_unique<TGPRegion>();
  graphics_->GetClip(saved.get());
  clips_.push_back(std::move(saved));
}

void TGDIPlusCanvas::PopClip() {
  if (clips_.empty()) {
    if (graphics_ != nullptr) graphics_->ResetClip();
    return;
  }
  std::unique_ptr<TGPRegion> saved = std::move(clips_.back());
  clips_.pop_back();
  if (graphics_ != nullptr && saved != nullptr) graphics_->SetClip(saved.get(), kCombineReplace);
}

void TGDIPlusCanvas::ClipToRect(const TRect& rect) {
  PushClip();
  if (graphics_ == nullptr) return;
  graphics_->SetClip(MakeRect(rect.Left, rect.Top - 1, rect.Right - rect.Left, rect.Bottom - rect.Top + 2),
                     kCombineIntersect);
}

void TGDIPlusCanvas::ClipToRoundRect(const TRect& rect, int cornerWidth, int cornerHeight) {
  if (cornerWidth <= 0 && cornerHeight <= 0) {
    ClipToRect(rect);
    return;
  }
  EnsureGraphics();
  PushClip();
  if (graphics_ == nullptr) return;
  TGPGraphicsPath path;
  MakeRoundRectPath(path, rect, cornerWidth, cornerHeight);
  graphics_->SetClip(&path, kCombineIntersect);
}

void TGDIPlusCanvas::ClipToEllipse(const TRect& rect, bool) {
  PushClip();
  if (graphics_ == nullptr) return;
  TGPGraphicsPath path;
  path.AddEllipse(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
  graphics_->SetClip(&path, kCombineIntersect);
}

void TGDIPlusCanvas::ClipToPolygon(const TPointArray& points, int, int count, bool exclude) {
  PushClip();
  const int n = std::clamp(count, 0, static_cast<int>(points.size()));
  if (graphics_ == nullptr || n < 3) return;
  std::vector<POINT> pts(points.begin(), points.begin() + n);
  HRGN hrgn = CreatePolygonRgn(pts.data(), n, ALTERNATE);
  if (hrgn == nullptr) return;
  TGPRegion region(hrgn);
  graphics_->SetClip(&region, exclude ? kCombineExclude : kCombineIntersect);
  DeleteObject(hrgn);
}

// ---- Element transforms ----------------------------------------------------------------------

bool TGDIPlusCanvas::ApplyElementTransform(const TElementTransform& t) {
  bool clipped = false;
  if (t.Clip) {
    ClipToRect(t.ClipRect);
    clipped = true;
  }
  if (graphics_ == nullptr) return clipped;
  if (t.Offset.X != 0 || t.Offset.Y != 0) graphics_->TranslateTransform(t.Offset.X, t.Offset.Y, 0);
  const bool rotate = t.Angle != 0;
  const bool scale = t.ScaleX != 1 || t.ScaleY != 1;
  if (rotate || scale) {
    graphics_->TranslateTransform(t.Origin.X, t.Origin.Y, 0);
    if (rotate) graphics_->RotateTransform(static_cast<float>(t.Angle), 0);
    if (scale) graphics_->ScaleTransform(static_cast<float>(t.ScaleX), static_cast<float>(t.ScaleY), 0);
    graphics_->TranslateTransform(-t.Origin.X, -t.Origin.Y, 0);
  }
  return clipped;
}

int TGDIPlusCanvas::BeginElement(const std::string&, int data, const TElementTransform* transform) {
  TElementEntry entry;
  if (transform != nullptr && transform->Enabled && EnsureGraphics() != nullptr) {
    entry.savedTransform = std::make_unique<TGPMatrix>();
    graphics_->GetTransform(entry.savedTransform.get());
    entry.pushedClip = ApplyElementTransform(*transform);
  }
  elements_.push_back(std::move(entry));
  return data;
}

void TGDIPlusCanvas::EndElement() {
  if (elements_.empty()) return;
  TElementEntry entry = std::move(elements_.back());
  elements_.pop_back();
  if (entry.savedTransform != nullptr && graphics_ != nullptr) graphics_->SetTransform(entry.savedTransform.get());
  if (entry.pushedClip) PopClip();
}

// ---- Module ----------------------------------------------------------------------------------

void KelGDIPlusStartup() {
  KelGDIPlusSwitchStartup();
  auto& list = CanvasClassList();
  if (std::find(list.begin(), list.end(), &TGDIPlusCanvas::StaticClass()) == list.end()) {
    list.push_back(&TGDIPlusCanvas::StaticClass());
  }
}

void KelGDIPlusShutdown() {
  KelGDIPlusSwitchShutdown();
  RemoveCanvasClass(TGDIPlusCanvas::StaticClass());
  StopGdiPlus();
}
