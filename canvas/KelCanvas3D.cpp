// TKelCanvas3D: construction, device state, the 2D primitives with picture and gradient fills,
// clipping and buffered drawing. Text lives in KelCanvas3DText.cpp, the projection and the
// projected primitives in KelCanvas3DProjection.cpp, the solids in KelCanvas3DSolids.cpp and
// KelCanvas3DPie.cpp, the smooth shadow in KelCanvas3DShadow.cpp and the gradient bands in
// GradientBands.cpp.
#include "canvas/KelCanvas3D.h"

#include <cmath>
#include <cstddef>
#include <memory>
#include <numbers>

#include "canvas/BitmapUtils.h"
#include "canvas/CanvasUtils.h"
#include "canvas/GradientPainting.h"
#include "canvas/ClipStack.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/View3DOptions.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/rtl/Math.h"

namespace {
int RoundInt(long double v) { return static_cast<int>(Round(v)); }

std::vector<POINT> ToPoints(const TPointArray& points, int highIndex) {
  const int count = PointCount(points.size(), highIndex);
  std::vector<POINT> result(count);
  for (int i = 0; i < count; ++i) result[i] = points[i];
  return result;
}

TPointArray RoundPoints(const TPointFloatArray& points, int highIndex) {
  const int count = PointCount(points.size(), highIndex);
  TPointArray result(count);
  for (int i = 0; i < count; ++i) result[i] = PointRound(points[i]);
  return result;
}
}  // namespace

TKelCanvas3D::TKelCanvas3D() {
  TextZoom = 100;
  TextZoomActive = true;
  DefaultFontQuality = 0;
  Buffered = true;
  BufferInvalid = true;
}

TKelCanvas3D::~TKelCanvas3D() {
  ReleaseDeviceObjects();
  FreeBufferBitmap();
}

const TClassInfo& TKelCanvas3D::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelCanvas3D>("TKelCanvas3D", &TCanvas3D::StaticClass()).Build();
  return info;
}

// ---- Device state ----------------------------------------------------------------------------

HDC TKelCanvas3D::GetDeviceHandle() { return DeviceCanvas() != nullptr ? DeviceCanvas()->Handle() : nullptr; }
TColor TKelCanvas3D::QueryBackColor() { return static_cast<TColor>(GetBkColor(GetDeviceHandle())); }
int TKelCanvas3D::GetBackMode() { return GetBkMode(GetDeviceHandle()); }
TColor TKelCanvas3D::GetPixel(int x, int y) { return static_cast<TColor>(::GetPixel(GetDeviceHandle(), x, y)); }
int TKelCanvas3D::GetTextAlign() { return static_cast<int>(::GetTextAlign(GetDeviceHandle())); }
void TKelCanvas3D::ChangeBackColor(TColor color) { SetBkColor(GetDeviceHandle(), ColorToRGB(color)); }
void TKelCanvas3D::SetBackMode(int mode) { SetBkMode(GetDeviceHandle(), mode); }
void TKelCanvas3D::SetPixel(int x, int y, TColor color) { ::SetPixel(GetDeviceHandle(), x, y, ColorToRGB(color)); }
void TKelCanvas3D::SetTextAlign(int align) { ::SetTextAlign(GetDeviceHandle(), static_cast<UINT>(align)); }
void TKelCanvas3D::SetDCCache(bool active) { CachedDC = active ? PreparedDC() : nullptr; }

void TKelCanvas3D::LineToCached(int x, int y) {
  if (CachedDC != nullptr) {
    ::LineTo(CachedDC, x, y);
  } else {
    LineTo(x, y);
  }
}

void TKelCanvas3D::ChangeMonochrome(bool value) {
  if (value == MonochromeOn) return;
  MonochromeOn = value;
  BufferInvalid = true;
  if (View3DOptions != nullptr) View3DOptions->Repaint();
}

void TKelCanvas3D::SetBuffered(bool value) {
  if (value == Buffered) return;
  Buffered = value;
  if (BufferBitmap == nullptr) return;
  if (!value) {
    if (KeepBuffer) {
      if (DeviceCanvas() == BufferBitmap->Canvas()) SetTargetCanvas(nullptr);
      return;
    }
    FreeBufferBitmap();
    SetTargetCanvas(nullptr);
    BufferInvalid = true;
  } else {
    SetTargetCanvas(BufferBitmap->Canvas());
  }
}

bool TKelCanvas3D::UseDCBrush() {
  if (KelSetDCBrushColor() == nullptr) return false;
  SelectObject(PreparedDC(), GetStockObject(DC_BRUSH));
  return true;
}

// ---- Fills -----------------------------------------------------------------------------------

void TKelCanvas3D::FillGradient(const TRect& rect) { FillGradientRect(this, BrushGradient(), rect); }

void TKelCanvas3D::FillRect(const TRect& rect) {
  if (BrushHasGradient()) {
    FillGradient(rect);
    return;
  }
  HDC dc = PreparedDC();
  const RECT r = rect;
  if (dc != nullptr) ::FillRect(dc, &r, Brush()->Handle());
}

// ---- Lines and shapes ------------------------------------------------------------------------

void TKelCanvas3D::LineTo(int x, int y) { ::LineTo(PreparedDC(), x, y); }
void TKelCanvas3D::MovePenTo(int x, int y) { MoveToEx(PreparedDC(), x, y, nullptr); }

void TKelCanvas3D::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  ::Arc(PreparedDC(), x1, y1, x2, y2, x3, y3, x4, y4);
}

void TKelCanvas3D::Polyline(const TPointArray& points, int highIndex) {
  // The points go to GDI as they are (same layout): no copy of a long curve.
  static_assert(sizeof(TPoint) == sizeof(POINT) && offsetof(TPoint, Y) == offsetof(POINT, y));
  const int count = PointCount(points.size(), highIndex);
  // While the device context is cached (runs of a curve) it is used as prepared, as LineToCached.
  HDC dc = CachedDC != nullptr ? CachedDC : PreparedDC();
  if (count > 0) ::Polyline(dc, reinterpret_cast<const POINT*>(points.data()), count);
}

void TKelCanvas3D::PolylineF(const TPointFloatArray& points, int highIndex) {
  Polyline(RoundPoints(points, highIndex), highIndex);
}

void TKelCanvas3D::Polygon(const TPointArray& points, int highIndex) {
  if (DeviceCanvas() == nullptr) return;
  // A high index past the array's end takes the points the array has.
  const int count = PointCount(points.size(), highIndex);
  highIndex = count - 1;
  if (Brush()->HasPicture()) {
    ClipToPolygon(points, highIndex, count, false);
    DeviceCanvas()->StretchDraw(BoundsOfPointCount(points.data(), count), Brush()->Image()->FilteredGraphic());
    PopClip();
    DeviceBrush()->SetStyle(bsClear);
  } else if (BrushHasGradient()) {
    ClipToPolygon(points, highIndex, count, false);
    FillGradient(BoundsOfPointCount(points.data(), count));
    PopClip();
    DeviceBrush()->SetStyle(bsClear);
  }
  const auto pts = ToPoints(points, highIndex);
  if (!pts.empty()) ::Polygon(PreparedDC(), pts.data(), static_cast<int>(pts.size()));
}

void TKelCanvas3D::PolygonF(const TPointFloatArray& points, int highIndex) {
  Polygon(RoundPoints(points, highIndex), highIndex);
}

void TKelCanvas3D::Rectangle(int left, int top, int right, int bottom) {
  if (DeviceCanvas() == nullptr) return;
  const TBrushStyle remembered = Brush()->Style();
  bool gradient = false;
  if (Brush()->HasPicture()) {
    DeviceCanvas()->StretchDraw(TRect(left, top, right, bottom), Brush()->Image()->FilteredGraphic());
    DeviceBrush()->SetStyle(bsClear);
  } else if (BrushHasGradient()) {
    FillGradient(TRect(left, top, right, bottom));
    DeviceBrush()->SetStyle(bsClear);
    gradient = true;
  }
  ::Rectangle(PreparedDC(), left, top, right, bottom);
  if (gradient) {
    Brush()->SetStyle(remembered);
    ApplyBrush(Brush());
  }
}

void TKelCanvas3D::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  if (DeviceCanvas() == nullptr) return;
  const TBrushStyle remembered = Brush()->Style();
  bool gradient = false;
  const TRect rect(left, top, right, bottom);
  if (Brush()->HasPicture()) {
    ClipToRoundRect(rect, cornerWidth, cornerHeight);
    DeviceCanvas()->StretchDraw(rect, Brush()->Image()->FilteredGraphic());
    PopClip();
    DeviceBrush()->SetStyle(bsClear);
  } else if (BrushHasGradient()) {
    ClipToRoundRect(rect, cornerWidth, cornerHeight);
    FillGradient(rect);
    PopClip();
    DeviceBrush()->SetStyle(bsClear);
    gradient = true;
  }
  ::RoundRect(PreparedDC(), left, top, right, bottom, cornerWidth, cornerHeight);
  if (gradient) {
    Brush()->SetStyle(remembered);
    ApplyBrush(Brush());
  }
}

void TKelCanvas3D::Ellipse(int left, int top, int right, int bottom) {
  if (DeviceCanvas() == nullptr) return;
  if (Brush()->Style() != DeviceBrush()->Style()) ApplyBrush(Brush());
  const TBrushStyle remembered = DeviceBrush()->Style();
  bool gradient = false;
  if (BrushHasGradient()) {
    const TRect area(left, top, right + 1, bottom + 1);
    ClipToEllipse(area, false);
    FillGradient(area);
    PopClip();
    DeviceBrush()->SetStyle(bsClear);
    gradient = true;
  }
  ::Ellipse(PreparedDC(), left, top, right, bottom);
  if (gradient) DeviceBrush()->SetStyle(remembered);
}

void TKelCanvas3D::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (DeviceCanvas() == nullptr) return;
  const TBrushStyle remembered = Brush()->Style();
  bool gradient = false;
  if (BrushHasGradient()) {
    HDC dc = PreparedDC();
    BeginPath(dc);
    ::Pie(dc, x1, y1, x2, y2, x3, y3, x4, y4);
    EndPath(dc);
    PushRegion(PathToRegion(dc), RGN_AND);
    FillGradient(TRect(x1, y1, x2, y2));
    PopClip();
    DeviceBrush()->SetStyle(bsClear);
    gradient = true;
  }
  if (x3 != x4 || y3 != y4) ::Pie(PreparedDC(), x1, y1, x2, y2, x3, y3, x4, y4);
  if (gradient) {
    Brush()->SetStyle(remembered);
    ApplyBrush(Brush());
  }
}

void TKelCanvas3D::PieByAngles(const TRect& rect, double startAngle, double endAngle) {
  const double sweep = endAngle - startAngle;
  if (std::fabs(sweep - 360) < 0.05 && std::fabs(sweep) > 180) {
    Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom);
    return;
  }
  const double cx = (rect.Left + rect.Right) * 0.5;
  const double cy = (rect.Top + rect.Bottom) * 0.5;
  auto point = [&](double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return TPoint(RoundInt(std::cos(a) * (rect.Right - rect.Left) + cx),
                  RoundInt(cy - std::sin(a) * (rect.Bottom - rect.Top)));
  };
  const TPoint p0 = point(startAngle);
  const TPoint p1 = point(endAngle);
  if (p0 != p1) {
    Pie(rect.Left, rect.Top, rect.Right, rect.Bottom, p0.X, p0.Y, p1.X, p1.Y);
  } else {
    MovePenTo(RoundInt(cx), RoundInt(cy));
    LineTo(rect.Right, p0.Y);
  }
}

void TKelCanvas3D::DrawDonutSlice(int xCentre, int yCentre, int xRadius, int yRadius, double startAngle,
                                  double endAngle, double holePercent) {
  if (DeviceCanvas() == nullptr) return;
  const double hx = xRadius * holePercent * 0.01;
  const double hy = yRadius * holePercent * 0.01;
  const TPoint p0(RoundInt(std::cos(startAngle) * xRadius) + xCentre, yCentre - RoundInt(std::sin(startAngle) * yRadius));
  const TPoint p1(RoundInt(std::cos(endAngle) * xRadius) + xCentre, yCentre - RoundInt(std::sin(endAngle) * yRadius));
  const TRect outer(xCentre - xRadius, yCentre - yRadius, xCentre + xRadius, yCentre + yRadius);
  MovePenTo(p0.X, p0.Y);
  HDC dc = PreparedDC();
  auto buildPath = [&] {
    BeginPath(dc);
    if (p0 != p1 || std::fabs(endAngle - startAngle) > 2 * std::numbers::pi - 0.01) {
      if (holePercent != 0) {
        ArcTo(outer.Left, outer.Top, outer.Right, outer.Bottom, p0.X, p0.Y, p1.X, p1.Y, false);
        ArcTo(xCentre - RoundInt(hx), yCentre - RoundInt(hy), xCentre + RoundInt(hx), yCentre + RoundInt(hy), p1.X,
              p1.Y, p0.X, p0.Y, true);
      } else {
        ::Pie(dc, outer.Left, outer.Top, outer.Right, outer.Bottom, p0.X, p0.Y, p1.X, p1.Y);
      }
    } else {
      ::LineTo(dc, p1.X, p1.Y);
    }
    EndPath(dc);
  };
  buildPath();
  if (BrushHasGradient()) {
    PushRegion(PathToRegion(dc), RGN_AND);
    FillGradient(outer);
    PopClip();
    dc = PreparedDC();
    MoveToEx(dc, p0.X, p0.Y, nullptr);
    buildPath();
    StrokePath(dc);
  } else {
    StrokeAndFillPath(dc);
  }
}

void TKelCanvas3D::DrawGraphic(int x, int y, TGraphic* graphic) {
  if (graphic == nullptr || graphic->Empty() || DeviceCanvas() == nullptr) return;
  if (graphic->Transparent()) {
    MakeSnapshotAt(x, y, graphic);
  } else {
    DeviceCanvas()->Draw(x, y, graphic);
  }
}

TBitmap* TKelCanvas3D::MakeSnapshotBitmap(const TRect& rect, TGraphic* graphic) {
  auto* bitmap = new TBitmap();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(std::abs(rect.Width()), std::abs(rect.Height()));
  // The background under the rectangle comes first, so the graphic's transparent parts show it:
  // from the buffer, or straight from the device when drawing unbuffered.
  HDC background = BufferBitmap != nullptr ? BufferBitmap->Canvas()->Handle() : GetDeviceHandle();
  if (background != nullptr) {
    BitBlt(bitmap->Canvas()->Handle(), 0, 0, bitmap->Width(), bitmap->Height(), background, rect.Left, rect.Top,
           SRCCOPY);
  }
  bitmap->Canvas()->StretchDraw(TRect(0, 0, bitmap->Width(), bitmap->Height()), graphic);
  return bitmap;
}

void TKelCanvas3D::MakeSnapshotAt(int x, int y, TGraphic* graphic) {
  std::unique_ptr<TBitmap> snapshot(MakeSnapshotBitmap(TRect(x, y, x + graphic->Width(), y + graphic->Height()), graphic));
  DeviceCanvas()->Draw(x, y, snapshot.get());
}

void TKelCanvas3D::DrawGraphicStretched(const TRect& rect, TGraphic* graphic) {
  if (graphic == nullptr || DeviceCanvas() == nullptr) return;
  if (StretchQuality == sqLow) {
    if (graphic->Transparent()) {
      std::unique_ptr<TBitmap> snapshot(MakeSnapshotBitmap(rect, graphic));
      DeviceCanvas()->StretchDraw(rect, snapshot.get());
    } else {
      DeviceCanvas()->StretchDraw(rect, graphic);
    }
    return;
  }
  std::unique_ptr<TBitmap> temporary;
  TBitmap* source = dynamic_cast<TBitmap*>(graphic);
  if (source == nullptr) {
    if (graphic->Transparent()) {
      std::unique_ptr<TBitmap> snapshot(MakeSnapshotBitmap(rect, graphic));
      DeviceCanvas()->Draw(rect.Left, rect.Top, snapshot.get());
      return;
    }
    temporary = std::make_unique<TBitmap>();
    if (dynamic_cast<TMetafile*>(graphic) != nullptr) {
      temporary->SetSize(graphic->Width(), graphic->Height());
      temporary->Canvas()->StretchDraw(TRect(0, 0, graphic->Width(), graphic->Height()), graphic);
    } else {
      temporary->Assign(graphic);
    }
    source = temporary.get();
  }
  TBitmap result;
  result.SetPixelFormat(pf24bit);
  result.SetSize(std::abs(rect.Right - rect.Left), std::abs(rect.Bottom - rect.Top));
  ResampleBitmap(*source, result);
  DeviceCanvas()->Draw(rect.Left, rect.Top, &result);
}

// ---- Clipping --------------------------------------------------------------------------------

void TKelCanvas3D::PushRegion(HRGN region, int mode) { PushClipRegion(GetDeviceHandle(), region, mode, this); }

void TKelCanvas3D::ClipToRect(const TRect& rect) {
  HDC dc = GetDeviceHandle();
  POINT pts[2] = {{rect.Left, rect.Top}, {rect.Right, rect.Bottom}};
  LPtoDP(dc, pts, 2);
  PushRegion(CreateRectRgn(pts[0].x, pts[0].y, pts[1].x, pts[1].y), RGN_AND);
}

void TKelCanvas3D::PopClip() { PopClipRegion(GetDeviceHandle()); }

// ---- Buffering -------------------------------------------------------------------------------

void TKelCanvas3D::FinishFrame(TCanvas* target, TCanvas* next, const TRect& rect) {
  if (Buffered && BufferBitmap != nullptr) {
    BlitBuffer(rect.Left, rect.Top, target);
    BufferInvalid = false;
  }
  SetTargetCanvas(next);
}

bool TKelCanvas3D::RestoreFromBuffer() {
  if (BufferInvalid) return false;
  BlitBuffer(0, 0, DeviceCanvas());
  return true;
}

bool TKelCanvas3D::CopyBufferTo(TGraphic* graphic, const TRect& rect) {
  if (BufferInvalid || !Buffered || BufferBitmap == nullptr || graphic == nullptr) return false;
  if (rect != TRect(0, 0, BufferBitmap->Width(), BufferBitmap->Height())) return false;
  graphic->Assign(BufferBitmap);
  return true;
}

void TKelCanvas3D::SetBufferBitmap(TBitmap* bitmap) {
  if (bitmap == BufferBitmap) return;
  if (BufferBitmap != nullptr && DeviceCanvas() == BufferBitmap->Canvas()) SetTargetCanvas(nullptr);
  delete BufferBitmap;
  BufferBitmap = bitmap;
}

void TKelCanvas3D::FreeBufferBitmap() {
  if (BufferBitmap == nullptr) return;
  if (DeviceCanvas() == BufferBitmap->Canvas()) SetTargetCanvas(nullptr);
  delete BufferBitmap;
  BufferBitmap = nullptr;
}

void TKelCanvas3D::BlitBuffer(int x, int y, TCanvas* target) {
  if (BufferBitmap == nullptr || target == nullptr) return;
  BitBlt(target->Handle(), x, y, BufferBitmap->Width(), BufferBitmap->Height(), BufferBitmap->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void TKelCanvas3D::PrepareFrame(TCanvas* canvas, TView3DOptions* options, TColor, bool use3D, const TRect& rect,
                                TRect& drawRect) {
  Bounds = rect;
  View3DOptions = options;
  if (options != nullptr) {
    TextZoom = options->FontZoom();
    TextZoomActive = options->ZoomText() != ztNo;
  }
  Is3D = use3D;
  IsOrthogonal = false;
  ZoomFactor = 1.0;
  if (use3D && options != nullptr) {
    IsOrthogonal = options->Orthogonal();
    if (IsOrthogonal) {
      int a = options->OrthoAngle();
      OrthoStepX = 1.0;
      if (a > 90) {
        OrthoStepX = -1.0;
        a = 180 - a;
      }
      const double radians = a * std::numbers::pi / 180;
      OrthoStepY = std::cos(radians) < 0.01 ? 1.0 : std::tan(radians);
    }
    ComputeRotationMatrix();
  }
  if (Buffered) {
    if (BufferBitmap == nullptr) {
      BufferBitmap = new TBitmap();
      BufferBitmap->SetIgnorePalette(true);
    }
    SetBitmapSize(*BufferBitmap, rect.Width(), rect.Height());
    // A new frame starts without the clip of the last one.
    SelectClipRgn(BufferBitmap->Canvas()->Handle(), nullptr);
    SetTargetCanvas(BufferBitmap->Canvas());
    drawRect = TRect(0, 0, rect.Width(), rect.Height());
  } else {
    SetTargetCanvas(canvas);
    drawRect = rect;
  }
  SetBackMode(OPAQUE);
}
