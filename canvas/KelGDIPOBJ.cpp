// GDI+ wrappers and start-up (see KelGDIPOBJ.h).
#include "canvas/KelGDIPOBJ.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "toolkit/graphics/GdiHandles.h"

namespace {
ULONG_PTR token = 0;
ULONG_PTR hookToken = 0;
TGdiplusStartupOutput startupOutput;
int startupCalls = 0;
// Counts GDI+ sessions: a wrapper calls into the library only within the session it was made in.
std::uint32_t session = 1;
TGPFontFamily* sansSerif = nullptr;
TGPStringFormat* typographic = nullptr;
TGPFontFamilyLookup gdiPlusLookup;
TGPFontFamilyLookup* familyLookup = &gdiPlusLookup;
}  // namespace

void StartGdiPlus() {
  if (token != 0) return;
  LoadGdiPlus();
  if (!GdiPlusEntriesComplete()) return;
  TGdiplusStartupInput input;
  input.SuppressBackgroundThread = TRUE;
  startupOutput = {};
  ++startupCalls;
  ULONG_PTR made = 0;
  if (GdiPlus.GdiplusStartup(&made, &input, &startupOutput) != GpOk) made = 0;
  token = made;
  if (token == 0) return;
  ++session;
  hookToken = 0;
  if (startupOutput.NotificationHook != nullptr) startupOutput.NotificationHook(&hookToken);
}

void StopGdiPlus() {
  delete sansSerif;
  sansSerif = nullptr;
  delete typographic;
  typographic = nullptr;
  if (token != 0) {
    if (startupOutput.NotificationUnhook != nullptr) startupOutput.NotificationUnhook(hookToken);
    GdiPlus.GdiplusShutdown(token);
    token = 0;
    ++session;
  }
  startupOutput = {};
  UnloadGdiPlus();
}

bool GdiPlusStarted() { return token != 0; }
int GdiPlusStartupCalls() { return startupCalls; }

// ---- Base ------------------------------------------------------------------------------------

TGdiplusBase::TGdiplusBase() : session_(session) {}

TGpStatus TGdiplusBase::TakeLastStatus() {
  const TGpStatus s = status_;
  status_ = GpOk;
  return s;
}

bool TGdiplusBase::Live() const { return token != 0 && session_ == session; }

// ---- Graphics --------------------------------------------------------------------------------

TGPGraphics::TGPGraphics(HDC dc) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateFromHDC, dc, &native_) : GpNotInitialized;
}

TGPGraphics::~TGPGraphics() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeleteGraphics, native_);
}

HDC TGPGraphics::GetHDC() {
  HDC dc = nullptr;
  if (Record(GdipCall(GdiPlus.GdipGetDC, native_, &dc)) != GpOk) return nullptr;
  return dc;
}
void TGPGraphics::ReleaseHDC(HDC dc) { Record(GdipCall(GdiPlus.GdipReleaseDC, native_, dc)); }
TGpStatus TGPGraphics::SetTextRenderingHint(int hint) {
  return Record(GdipCall(GdiPlus.GdipSetTextRenderingHint, native_, hint));
}
TGpStatus TGPGraphics::SetInterpolationMode(int mode) {
  return Record(GdipCall(GdiPlus.GdipSetInterpolationMode, native_, mode));
}
TGpStatus TGPGraphics::SetSmoothingMode(int mode) {
  return Record(GdipCall(GdiPlus.GdipSetSmoothingMode, native_, mode));
}
TGpStatus TGPGraphics::SetPixelOffsetMode(int mode) {
  return Record(GdipCall(GdiPlus.GdipSetPixelOffsetMode, native_, mode));
}
TGpStatus TGPGraphics::SetPageUnit(int unit) { return Record(GdipCall(GdiPlus.GdipSetPageUnit, native_, unit)); }
TGpStatus TGPGraphics::Clear(TArgb color) { return Record(GdipCall(GdiPlus.GdipGraphicsClear, native_, color)); }
TGpStatus TGPGraphics::SetTransform(TGPMatrix* matrix) {
  return Record(GdipCall(GdiPlus.GdipSetWorldTransform, native_, matrix->Native()));
}
TGpStatus TGPGraphics::ResetTransform() { return Record(GdipCall(GdiPlus.GdipResetWorldTransform, native_)); }
TGpStatus TGPGraphics::TranslateTransform(float dx, float dy, int order) {
  return Record(GdipCall(GdiPlus.GdipTranslateWorldTransform, native_, dx, dy, order));
}
TGpStatus TGPGraphics::ScaleTransform(float sx, float sy, int order) {
  return Record(GdipCall(GdiPlus.GdipScaleWorldTransform, native_, sx, sy, order));
}
TGpStatus TGPGraphics::RotateTransform(float angle, int order) {
  return Record(GdipCall(GdiPlus.GdipRotateWorldTransform, native_, angle, order));
}
TGpStatus TGPGraphics::GetTransform(TGPMatrix* matrix) {
  return Record(GdipCall(GdiPlus.GdipGetWorldTransform, native_, matrix->Native()));
}
TGpStatus TGPGraphics::MultiplyTransform(const TGPMatrix* matrix, int order) {
  return Record(GdipCall(GdiPlus.GdipMultiplyWorldTransform, native_, matrix->Native(), order));
}
int TGPGraphics::GetTextRenderingHint() {
  int hint = -1;
  Record(GdipCall(GdiPlus.GdipGetTextRenderingHint, native_, &hint));
  return hint;
}
TGpStatus TGPGraphics::SetClip(const TGPRectF& r, int mode) {
  return Record(GdipCall(GdiPlus.GdipSetClipRect, native_, r.X, r.Y, r.Width, r.Height, mode));
}
TGpStatus TGPGraphics::SetClip(const TGPRect& r, int mode) {
  return Record(GdipCall(GdiPlus.GdipSetClipRectI, native_, r.X, r.Y, r.Width, r.Height, mode));
}
TGpStatus TGPGraphics::SetClip(TGPGraphicsPath* path, int mode) {
  return Record(GdipCall(GdiPlus.GdipSetClipPath, native_, path->Native(), mode));
}
TGpStatus TGPGraphics::SetClip(TGPRegion* region, int mode) {
  return Record(GdipCall(GdiPlus.GdipSetClipRegion, native_, region->Native(), mode));
}
TGpStatus TGPGraphics::ResetClip() { return Record(GdipCall(GdiPlus.GdipResetClip, native_)); }
TGpStatus TGPGraphics::GetClip(TGPRegion* region) {
  return Record(GdipCall(GdiPlus.GdipGetClip, native_, region->Native()));
}
TGpStatus TGPGraphics::GetVisibleClipBounds(TGPRectF& rect) {
  return Record(GdipCall(GdiPlus.GdipGetVisibleClipBounds, native_, &rect));
}

namespace {
gp::Pen* PenOf(TGPPen* pen) { return pen != nullptr ? pen->Native() : nullptr; }
gp::Brush* BrushOf(TGPBrush* brush) { return brush != nullptr ? brush->Native() : nullptr; }
gp::Path* PathOf(TGPGraphicsPath* path) { return path != nullptr ? path->Native() : nullptr; }
}  // namespace

TGpStatus TGPGraphics::DrawLine(TGPPen* pen, float x0, float y0, float x1, float y1) {
  return Record(GdipCall(GdiPlus.GdipDrawLine, native_, PenOf(pen), x0, y0, x1, y1));
}
TGpStatus TGPGraphics::DrawLine(TGPPen* pen, int x0, int y0, int x1, int y1) {
  return Record(GdipCall(GdiPlus.GdipDrawLineI, native_, PenOf(pen), x0, y0, x1, y1));
}
TGpStatus TGPGraphics::DrawLines(TGPPen* pen, const TGPPointF* points, int count) {
  return Record(GdipCall(GdiPlus.GdipDrawLines, native_, PenOf(pen), points, count));
}
TGpStatus TGPGraphics::DrawLines(TGPPen* pen, const TPoint* points, int count) {
  return Record(GdipCall(GdiPlus.GdipDrawLinesI, native_, PenOf(pen), points, count));
}
TGpStatus TGPGraphics::DrawArc(TGPPen* pen, int x, int y, int w, int h, float start, float sweep) {
  return Record(GdipCall(GdiPlus.GdipDrawArcI, native_, PenOf(pen), x, y, w, h, start, sweep));
}
TGpStatus TGPGraphics::DrawRectangle(TGPPen* pen, int x, int y, int w, int h) {
  return Record(GdipCall(GdiPlus.GdipDrawRectangleI, native_, PenOf(pen), x, y, w, h));
}
TGpStatus TGPGraphics::DrawEllipse(TGPPen* pen, int x, int y, int w, int h) {
  return Record(GdipCall(GdiPlus.GdipDrawEllipseI, native_, PenOf(pen), x, y, w, h));
}
TGpStatus TGPGraphics::DrawPie(TGPPen* pen, int x, int y, int w, int h, float start, float sweep) {
  return Record(GdipCall(GdiPlus.GdipDrawPieI, native_, PenOf(pen), x, y, w, h, start, sweep));
}
TGpStatus TGPGraphics::DrawPolygon(TGPPen* pen, const TGPPointF* points, int count) {
  return Record(GdipCall(GdiPlus.GdipDrawPolygon, native_, PenOf(pen), points, count));
}
TGpStatus TGPGraphics::DrawPolygon(TGPPen* pen, const TPoint* points, int count) {
  return Record(GdipCall(GdiPlus.GdipDrawPolygonI, native_, PenOf(pen), points, count));
}
TGpStatus TGPGraphics::DrawPath(TGPPen* pen, TGPGraphicsPath* path) {
  return Record(GdipCall(GdiPlus.GdipDrawPath, native_, PenOf(pen), PathOf(path)));
}
TGpStatus TGPGraphics::DrawCurve(TGPPen* pen, const TPoint* points, int count, float tension) {
  return Record(GdipCall(GdiPlus.GdipDrawCurve2I, native_, PenOf(pen), points, count, tension));
}
TGpStatus TGPGraphics::DrawClosedCurve(TGPPen* pen, const TPoint* points, int count, float tension) {
  return Record(GdipCall(GdiPlus.GdipDrawClosedCurve2I, native_, PenOf(pen), points, count, tension));
}
TGpStatus TGPGraphics::FillRectangle(TGPBrush* brush, float x, float y, float w, float h) {
  return Record(GdipCall(GdiPlus.GdipFillRectangle, native_, BrushOf(brush), x, y, w, h));
}
TGpStatus TGPGraphics::FillRectangle(TGPBrush* brush, int x, int y, int w, int h) {
  return Record(GdipCall(GdiPlus.GdipFillRectangleI, native_, BrushOf(brush), x, y, w, h));
}
TGpStatus TGPGraphics::FillPolygon(TGPBrush* brush, const TGPPointF* points, int count, int fillMode) {
  return Record(GdipCall(GdiPlus.GdipFillPolygon, native_, BrushOf(brush), points, count, fillMode));
}
TGpStatus TGPGraphics::FillPolygon(TGPBrush* brush, const TPoint* points, int count, int fillMode) {
  return Record(GdipCall(GdiPlus.GdipFillPolygonI, native_, BrushOf(brush), points, count, fillMode));
}
TGpStatus TGPGraphics::FillEllipse(TGPBrush* brush, float x, float y, float w, float h) {
  return Record(GdipCall(GdiPlus.GdipFillEllipse, native_, BrushOf(brush), x, y, w, h));
}
TGpStatus TGPGraphics::FillEllipse(TGPBrush* brush, int x, int y, int w, int h) {
  return Record(GdipCall(GdiPlus.GdipFillEllipseI, native_, BrushOf(brush), x, y, w, h));
}
TGpStatus TGPGraphics::FillPie(TGPBrush* brush, int x, int y, int w, int h, float start, float sweep) {
  return Record(GdipCall(GdiPlus.GdipFillPieI, native_, BrushOf(brush), x, y, w, h, start, sweep));
}
TGpStatus TGPGraphics::FillPath(TGPBrush* brush, TGPGraphicsPath* path) {
  return Record(GdipCall(GdiPlus.GdipFillPath, native_, BrushOf(brush), PathOf(path)));
}
TGpStatus TGPGraphics::FillClosedCurve(TGPBrush* brush, const TPoint* points, int count, float tension, int fillMode) {
  return Record(GdipCall(GdiPlus.GdipFillClosedCurve2I, native_, BrushOf(brush), points, count, tension, fillMode));
}
TGpStatus TGPGraphics::DrawImage(TGPImage* image, int x, int y) {
  return Record(GdipCall(GdiPlus.GdipDrawImageI, native_, image->Native(), x, y));
}
TGpStatus TGPGraphics::DrawImage(TGPImage* image, int x, int y, int w, int h, int srcX, int srcY, int srcWidth,
                                 int srcHeight, int unit, TGPImageAttributes* attributes) {
  return Record(GdipCall(GdiPlus.GdipDrawImageRectRectI, native_, image->Native(), x, y, w, h, srcX, srcY, srcWidth,
                         srcHeight, unit, attributes != nullptr ? attributes->Native() : nullptr,
                         static_cast<void*>(nullptr), static_cast<void*>(nullptr)));
}
TGpStatus TGPGraphics::DrawString(const std::wstring& text, TGPFont* font, TGPPointF origin, TGPBrush* brush) {
  const TGPRectF layout{origin.X, origin.Y, 0, 0};
  return Record(GdipCall(GdiPlus.GdipDrawString, native_, text.c_str(), static_cast<int>(text.size()),
                         font != nullptr ? font->Native() : nullptr, &layout,
                         static_cast<const gp::StringFormat*>(nullptr), BrushOf(brush)));
}
TGpStatus TGPGraphics::MeasureString(const std::wstring& text, TGPFont* font, TGPPointF origin,
                                     TGPStringFormat* format, TGPRectF& bounds) {
  const TGPRectF layout{origin.X, origin.Y, 0, 0};
  return Record(GdipCall(GdiPlus.GdipMeasureString, native_, text.c_str(), static_cast<int>(text.size()),
                         font != nullptr ? font->Native() : nullptr, &layout,
                         format != nullptr ? format->Native() : nullptr, &bounds, static_cast<int*>(nullptr),
                         static_cast<int*>(nullptr)));
}
float TGPGraphics::GetDpiY() {
  float dpi = 0;
  Record(GdipCall(GdiPlus.GdipGetDpiY, native_, &dpi));
  return dpi;
}
TGpStatus TGPGraphics::DrawLineStatus(TGPPen* pen, float x0, float y0, float x1, float y1) {
  return GdipCall(GdiPlus.GdipDrawLine, native_, PenOf(pen), x0, y0, x1, y1);
}
TGpStatus TGPGraphics::DrawImage(TGPImage* image, int x, int y, int w, int h) {
  return Record(GdipCall(GdiPlus.GdipDrawImageRectI, native_, image->Native(), x, y, w, h));
}

// ---- Pen -------------------------------------------------------------------------------------

TGPPen::TGPPen(TArgb color, float width, int unit) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreatePen1, color, width, unit, &native_) : GpNotInitialized;
}
TGPPen::~TGPPen() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeletePen, native_);
}
TGpStatus TGPPen::SetWidth(float width) { return Record(GdipCall(GdiPlus.GdipSetPenWidth, native_, width)); }
TGpStatus TGPPen::SetLineCap(int startCap, int endCap, int dashCap) {
  return Record(GdipCall(GdiPlus.GdipSetPenLineCap197819, native_, startCap, endCap, dashCap));
}
TGpStatus TGPPen::SetLineJoin(int join) { return Record(GdipCall(GdiPlus.GdipSetPenLineJoin, native_, join)); }
TGpStatus TGPPen::SetColor(TArgb color) { return Record(GdipCall(GdiPlus.GdipSetPenColor, native_, color)); }
TGpStatus TGPPen::SetBrush(TGPBrush* brush) {
  return Record(GdipCall(GdiPlus.GdipSetPenBrushFill, native_, BrushOf(brush)));
}
TGpStatus TGPPen::SetDashStyle(int style) { return Record(GdipCall(GdiPlus.GdipSetPenDashStyle, native_, style)); }

// ---- Brushes ---------------------------------------------------------------------------------

TGPBrush::~TGPBrush() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeleteBrush, native_);
}

TGPBrush* TGPBrush::Clone() {
  gp::Brush* copy = nullptr;
  if (Record(GdipCall(GdiPlus.GdipCloneBrush, native_, &copy)) != GpOk || copy == nullptr) return nullptr;
  auto* clone = new TGPBrush();
  clone->native_ = copy;
  clone->status_ = status_;
  return clone;
}

TGPSolidBrush::TGPSolidBrush(TArgb color) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateSolidFill, color, &native_) : GpNotInitialized;
}

TGPHatchBrush::TGPHatchBrush(int style, TArgb foreColor, TArgb backColor) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateHatchBrush, style, foreColor, backColor, &native_) : GpNotInitialized;
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, int wrapMode) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateTexture, image->Native(), wrapMode, &native_) : GpNotInitialized;
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, TGPImageAttributes* attributes, float x, float y, float w, float h) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateTextureIA, image->Native(),
                              attributes != nullptr ? attributes->Native() : nullptr, x, y, w, h, &native_)
                   : GpNotInitialized;
}
TGpStatus TGPTextureBrush::SetWrapMode(int mode) {
  return Record(GdipCall(GdiPlus.GdipSetTextureWrapMode, native_, mode));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, TArgb color1, TArgb color2, int mode) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateLineBrushFromRect, &rect, color1, color2, mode, 0, &native_)
                   : GpNotInitialized;
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, TArgb color1, TArgb color2, float angle,
                                               bool scalable) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateLineBrushFromRectWithAngle, &rect, color1, color2, angle,
                              scalable ? TRUE : FALSE, 0, &native_)
                   : GpNotInitialized;
}
TGpStatus TGPLinearGradientBrush::SetPresetBlend(const TArgb* colors, const float* positions, int count) {
  if (count <= 0) return Record(GpInvalidParameter);
  return Record(GdipCall(GdiPlus.GdipSetLinePresetBlend, native_, colors, positions, count));
}

TGPPathGradientBrush::TGPPathGradientBrush(TGPGraphicsPath* path) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreatePathGradientFromPath, PathOf(path), &native_) : GpNotInitialized;
}
TGpStatus TGPPathGradientBrush::GetCenterPoint(TPoint& point) {
  return Record(GdipCall(GdiPlus.GdipGetPathGradientCenterPointI, native_, &point));
}
TGpStatus TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
  return Record(GdipCall(GdiPlus.GdipSetPathGradientCenterPoint, native_, &point));
}
TGpStatus TGPPathGradientBrush::SetCenterPoint(const TPoint& point) {
  return Record(GdipCall(GdiPlus.GdipSetPathGradientCenterPointI, native_, &point));
}
TGpStatus TGPPathGradientBrush::SetPresetBlend(const TArgb* colors, const float* positions, int count) {
  if (count <= 0 || colors == nullptr) return Record(GpInvalidParameter);
  return Record(GdipCall(GdiPlus.GdipSetPathGradientPresetBlend, native_, colors, positions, count));
}

TGpStatus TGPPathGradientBrush::SetCenterColor(TArgb color) {
  return Record(GdipCall(GdiPlus.GdipSetPathGradientCenterColor, native_, color));
}
TGpStatus TGPPathGradientBrush::GetCenterColor(TArgb& color) {
  return Record(GdipCall(GdiPlus.GdipGetPathGradientCenterColor, native_, &color));
}
TGpStatus TGPPathGradientBrush::SetSurroundColor(TArgb color) {
  int count = 1;
  return Record(GdipCall(GdiPlus.GdipSetPathGradientSurroundColorsWithCount, native_, &color, &count));
}

// ---- Path ------------------------------------------------------------------------------------

TGPGraphicsPath::TGPGraphicsPath(int fillMode) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreatePath, fillMode, &native_) : GpNotInitialized;
}
TGPGraphicsPath::TGPGraphicsPath(const TGPPointF* points, const BYTE* types, int count, int fillMode) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreatePath2, points, types, count, fillMode, &native_) : GpNotInitialized;
}
TGPGraphicsPath::~TGPGraphicsPath() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeletePath, native_);
}
TGpStatus TGPGraphicsPath::Reset() { return Record(GdipCall(GdiPlus.GdipResetPath, native_)); }
TGpStatus TGPGraphicsPath::CloseFigure() { return Record(GdipCall(GdiPlus.GdipClosePathFigure, native_)); }
TGpStatus TGPGraphicsPath::AddLine(float x0, float y0, float x1, float y1) {
  return Record(GdipCall(GdiPlus.GdipAddPathLine, native_, x0, y0, x1, y1));
}
TGpStatus TGPGraphicsPath::AddCurve(const TPoint* points, int count, float tension) {
  return Record(GdipCall(GdiPlus.GdipAddPathCurve2I, native_, points, count, tension));
}
TGpStatus TGPGraphicsPath::AddClosedCurve(const TPoint* points, int count, float tension) {
  return Record(GdipCall(GdiPlus.GdipAddPathClosedCurve2I, native_, points, count, tension));
}
TGpStatus TGPGraphicsPath::AddString(const std::wstring& text, TGPFontFamily* family, int style, float emSize,
                                     TGPPointF origin, TGPStringFormat* format) {
  const TGPRectF layout{origin.X, origin.Y, 0, 0};
  // No format means the default one; Wine's gdiplus refuses a missing format.
  std::unique_ptr<TGPStringFormat> plain;
  if (format == nullptr) {
    plain = std::make_unique<TGPStringFormat>(0, 0);
    format = plain.get();
  }
  return Record(GdipCall(GdiPlus.GdipAddPathString, native_, text.c_str(), static_cast<int>(text.size()),
                         family != nullptr ? family->Native() : nullptr, style, emSize, &layout, format->Native()));
}
int TGPGraphicsPath::GetPointCount() {
  int count = 0;
  Record(GdipCall(GdiPlus.GdipGetPointCount, native_, &count));
  return count;
}
TGpStatus TGPGraphicsPath::GetPathTypes(BYTE* types, int count) {
  return Record(GdipCall(GdiPlus.GdipGetPathTypes, native_, types, count));
}
TGpStatus TGPGraphicsPath::GetPathPoints(TGPPointF* points, int count) {
  return Record(GdipCall(GdiPlus.GdipGetPathPoints, native_, points, count));
}
TGpStatus TGPGraphicsPath::AddLines(const TPoint* points, int count) {
  return Record(GdipCall(GdiPlus.GdipAddPathLine2I, native_, points, count));
}
TGpStatus TGPGraphicsPath::AddArc(int x, int y, int w, int h, float start, float sweep) {
  return Record(GdipCall(GdiPlus.GdipAddPathArcI, native_, x, y, w, h, start, sweep));
}
TGpStatus TGPGraphicsPath::AddArc(float x, float y, float w, float h, float start, float sweep) {
  return Record(GdipCall(GdiPlus.GdipAddPathArc, native_, x, y, w, h, start, sweep));
}
TGpStatus TGPGraphicsPath::AddRectangle(const TGPRectF& r) {
  return Record(GdipCall(GdiPlus.GdipAddPathRectangle, native_, r.X, r.Y, r.Width, r.Height));
}
TGpStatus TGPGraphicsPath::AddEllipse(float x, float y, float w, float h) {
  return Record(GdipCall(GdiPlus.GdipAddPathEllipse, native_, x, y, w, h));
}
TGpStatus TGPGraphicsPath::AddEllipse(int x, int y, int w, int h) {
  return Record(GdipCall(GdiPlus.GdipAddPathEllipseI, native_, x, y, w, h));
}
TGpStatus TGPGraphicsPath::AddPie(int x, int y, int w, int h, float start, float sweep) {
  return Record(GdipCall(GdiPlus.GdipAddPathPieI, native_, x, y, w, h, start, sweep));
}
TGpStatus TGPGraphicsPath::AddPolygon(const TGPPointF* points, int count) {
  return Record(GdipCall(GdiPlus.GdipAddPathPolygon, native_, points, count));
}
TGpStatus TGPGraphicsPath::GetBounds(TGPRectF& bounds) {
  return Record(GdipCall(GdiPlus.GdipGetPathWorldBounds, native_, &bounds, nullptr, nullptr));
}

// ---- Region and matrix -----------------------------------------------------------------------

TGPRegion::TGPRegion() { status_ = Live() ? GdipCall(GdiPlus.GdipCreateRegion, &native_) : GpNotInitialized; }
TGPRegion::TGPRegion(HRGN region) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateRegionHrgn, region, &native_) : GpNotInitialized;
}
TGPRegion::~TGPRegion() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeleteRegion, native_);
}

TGPMatrix::TGPMatrix() { status_ = Live() ? GdipCall(GdiPlus.GdipCreateMatrix, &native_) : GpNotInitialized; }
TGPMatrix::~TGPMatrix() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeleteMatrix, native_);
}
TGpStatus TGPMatrix::GetElements(float (&elements)[6]) {
  return Record(GdipCall(GdiPlus.GdipGetMatrixElements, native_, elements));
}
TGpStatus TGPMatrix::RotateAt(float angle, TGPPointF centre, int order) {
  const float sign = order == 0 ? 1.0f : -1.0f;
  Record(GdipCall(GdiPlus.GdipTranslateMatrix, native_, sign * centre.X, sign * centre.Y, order));
  Record(GdipCall(GdiPlus.GdipRotateMatrix, native_, angle, order));
  return Record(GdipCall(GdiPlus.GdipTranslateMatrix, native_, -sign * centre.X, -sign * centre.Y, order));
}

// ---- Images ----------------------------------------------------------------------------------

TGPImage::~TGPImage() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDisposeImage, native_);
}
unsigned TGPImage::Width() {
  UINT w = 0;
  Record(GdipCall(GdiPlus.GdipGetImageWidth, native_, &w));
  return w;
}
unsigned TGPImage::Height() {
  UINT h = 0;
  Record(GdipCall(GdiPlus.GdipGetImageHeight, native_, &h));
  return h;
}

TGPBitmap::TGPBitmap(HBITMAP bitmap, HPALETTE palette) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateBitmapFromHBITMAP, bitmap, palette, &native_) : GpNotInitialized;
}
TGPBitmap::TGPBitmap(int width, int height, int pixelFormat) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateBitmapFromScan0, width, height, 0, pixelFormat,
                              static_cast<BYTE*>(nullptr), &native_)
                   : GpNotInitialized;
}
TGpStatus TGPBitmap::SetPixel(int x, int y, TArgb color) {
  return Record(GdipCall(GdiPlus.GdipBitmapSetPixel, native_, x, y, color));
}

TGPMetafile::TGPMetafile(HENHMETAFILE metafile, bool deleteMetafile) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateMetafileFromEmf, metafile, deleteMetafile ? TRUE : FALSE, &native_)
                   : GpNotInitialized;
}

// ---- Image attributes and string formats -----------------------------------------------------

TGPImageAttributes::TGPImageAttributes() {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateImageAttributes, &native_) : GpNotInitialized;
}
TGPImageAttributes::~TGPImageAttributes() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDisposeImageAttributes, native_);
}
TGpStatus TGPImageAttributes::SetColorMatrix(const float (&matrix)[25], int adjustType, int flags) {
  return Record(GdipCall(GdiPlus.GdipSetImageAttributesColorMatrix, native_, adjustType, TRUE, &matrix[0],
                         static_cast<const float*>(nullptr), flags));
}

TGPStringFormat::TGPStringFormat(int flags, LANGID language) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateStringFormat, flags, language, &native_) : GpNotInitialized;
}
TGPStringFormat::~TGPStringFormat() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeleteStringFormat, native_);
}

TGPStringFormat* GenericTypographicFormat() {
  if (typographic == nullptr) {
    typographic = new TGPStringFormat(TGPStringFormat::Adopt{});
    typographic->status_ = typographic->Live()
                               ? GdipCall(GdiPlus.GdipStringFormatGetGenericTypographic, &typographic->native_)
                               : GpNotInitialized;
  }
  return typographic;
}

// ---- Fonts -----------------------------------------------------------------------------------

TGPFontFamily::TGPFontFamily(const std::wstring& name, TGPFontCollection* collection) {
  status_ = Live() ? familyLookup->FromName(name, collection != nullptr ? collection->Native() : nullptr, &native_)
                   : GpNotInitialized;
}
TGPFontFamily::~TGPFontFamily() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeleteFontFamily, native_);
}
void TGPFontFamily::Replace(gp::FontFamily* native) {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeleteFontFamily, native_);
  native_ = native;
}
std::wstring TGPFontFamily::GetFamilyName(LANGID language) {
  wchar_t name[32] = {};
  Record(GdipCall(GdiPlus.GdipGetFamilyName, native_, name, language));
  name[31] = 0;
  return name;
}

TGPFontFamily* GenericSansSerifFamily() {
  if (sansSerif == nullptr) {
    sansSerif = new TGPFontFamily();
    sansSerif->status_ = sansSerif->Live() ? familyLookup->GenericSansSerif(&sansSerif->native_) : GpNotInitialized;
  }
  return sansSerif;
}

TGpStatus TGPFontFamilyLookup::FromName(const std::wstring& name, gp::FontCollection* collection,
                                        gp::FontFamily** family) {
  return GdipCall(GdiPlus.GdipCreateFontFamilyFromName, name.c_str(), collection, family);
}

TGpStatus TGPFontFamilyLookup::GenericSansSerif(gp::FontFamily** family) {
  return GdipCall(GdiPlus.GdipGetGenericFontFamilySansSerif, family);
}

TGPFontFamilyLookup* SetFontFamilyLookup(TGPFontFamilyLookup* lookup) {
  TGPFontFamilyLookup* previous = familyLookup == &gdiPlusLookup ? nullptr : familyLookup;
  familyLookup = lookup != nullptr ? lookup : &gdiPlusLookup;
  delete sansSerif;
  sansSerif = nullptr;
  return previous;
}

std::wstring MappedFontFace(const std::wstring& name, int style) {
  LOGFONTW lf{};
  lf.lfHeight = -16;  // the face chosen does not depend on the size
  lf.lfWeight = (style & 1) != 0 ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style & 2) != 0 ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  name.copy(lf.lfFaceName, LF_FACESIZE - 1);
  TFontHandle font(CreateFontIndirectW(&lf));
  if (!font) return {};
  TMemoryDC dc = TMemoryDC::Create();
  TSelectGuard select(dc.Get(), font.Get());
  wchar_t face[LF_FACESIZE] = {};
  const int length = GetTextFaceW(dc.Get(), LF_FACESIZE, face);
  return length > 0 ? std::wstring(face) : std::wstring();
}

TGPFont::TGPFont(TGPFontFamily* family, float size, int style, int unit) {
  status_ = Live() ? GdipCall(GdiPlus.GdipCreateFont, family != nullptr ? family->Native() : nullptr, size, style,
                              unit, &native_)
                   : GpNotInitialized;
}

TGPFont::TGPFont(const std::wstring& name, float size, int style, int unit, TGPFontCollection* collection) {
  if (!Live()) {
    status_ = GpNotInitialized;
    return;
  }
  TGPFontFamily named(name, collection);
  TGPFontFamily* family = &named;
  TGPFontFamily* generic = GenericSansSerifFamily();
  if (named.LastStatus() != GpOk) {
    family = generic->LastStatus() == GpOk ? generic : nullptr;
    status_ = named.LastStatus();
  }
  if (family != nullptr) {
    status_ = GdipCall(GdiPlus.GdipCreateFont, family->Native(), size, style, unit, &native_);
    if (status_ != GpOk && family != generic && generic->LastStatus() == GpOk) {
      status_ = GdipCall(GdiPlus.GdipCreateFont, generic->Native(), size, style, unit, &native_);
    }
  }
  if (status_ == GpOk) return;
  // A system without the named and the generic family (a bare prefix under Wine) still draws
  // GDI text in a substitute face: take that one rather than drawing no text at all.
  const std::wstring face = MappedFontFace(name, style);
  if (face.empty()) return;
  TGPFontFamily mapped(face);
  if (mapped.LastStatus() != GpOk) return;
  gp::Font* made = nullptr;
  if (GdipCall(GdiPlus.GdipCreateFont, mapped.Native(), size, style, unit, &made) == GpOk) {
    native_ = made;
    status_ = GpOk;
  }
}

TGPFont::~TGPFont() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeleteFont, native_);
}
int TGPFont::GetStyle() {
  int style = 0;
  Record(GdipCall(GdiPlus.GdipGetFontStyle, native_, &style));
  return style;
}
float TGPFont::GetSize() {
  float size = 0;
  Record(GdipCall(GdiPlus.GdipGetFontSize, native_, &size));
  return size;
}
TGpStatus TGPFont::GetFamily(TGPFontFamily* family) {
  if (family == nullptr) return Record(GpInvalidParameter);
  gp::FontFamily* native = nullptr;
  const TGpStatus status = Record(GdipCall(GdiPlus.GdipGetFamily, native_, &native));
  if (status == GpOk) family->Replace(native);
  family->status_ = status;
  return status;
}

int TGPFontCollection::GetFamilyCount() {
  int count = 0;
  Record(GdipCall(GdiPlus.GdipGetFontCollectionFamilyCount, native_, &count));
  return count;
}

TGpStatus TGPFontCollection::GetFamilies(int count, TGPFontFamily** families, int& found) {
  found = 0;
  if (count < 1 || families == nullptr) return Record(GpInvalidParameter);
  std::unique_ptr<gp::FontFamily*[]> handles(new (std::nothrow) gp::FontFamily*[count]());
  if (handles == nullptr) return Record(GpOutOfMemory);
  const TGpStatus status =
      Record(GdipCall(GdiPlus.GdipGetFontCollectionFamilyList, native_, count, handles.get(), &found));
  if (status != GpOk) return status;
  found = std::min(found, count);
  for (int i = 0; i < found; ++i) {
    if (families[i] == nullptr) continue;
    gp::FontFamily* clone = nullptr;
    families[i]->status_ = GdipCall(GdiPlus.GdipCloneFontFamily, handles[i], &clone);
    families[i]->Replace(clone);
  }
  return status;
}

TGPPrivateFontCollection::TGPPrivateFontCollection() {
  status_ = Live() ? GdipCall(GdiPlus.GdipNewPrivateFontCollection, &native_) : GpNotInitialized;
}
TGPPrivateFontCollection::~TGPPrivateFontCollection() {
  if (native_ != nullptr && Live()) GdipCall(GdiPlus.GdipDeletePrivateFontCollection, &native_);
}
TGpStatus TGPPrivateFontCollection::AddMemoryFont(const void* memory, int length) {
  return Record(GdipCall(GdiPlus.GdipPrivateAddMemoryFont, native_, memory, length));
}
