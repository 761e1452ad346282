// TKelGDIPlusPath (see KelGDIPlusPath.h) and the GDI+ canvas's NewPath.
#include "canvas/KelGDIPlusPath.h"

#include <algorithm>

#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "toolkit/rtl/TextConv.h"

namespace {
constexpr int kFillAlternate = 0;
constexpr float kCurveTension = 0.5f;  // GDI+'s own tension for a cardinal spline
}  // namespace

TKelGDIPlusPath::TKelGDIPlusPath(TGDIPlusCanvas& canvas)
    : canvas_(canvas), path_(std::make_unique<TGPGraphicsPath>(kFillAlternate)) {}

TKelGDIPlusPath::TKelGDIPlusPath(TGDIPlusCanvas& canvas, const TPointFloatArray& points,
                                 const std::vector<unsigned char>& types)
    : canvas_(canvas) {
  const int count = static_cast<int>(std::min(points.size(), types.size()));
  if (count == 0) {
    path_ = std::make_unique<TGPGraphicsPath>(kFillAlternate);
    return;
  }
  std::vector<TGPPointF> pts(count);
  for (int i = 0; i < count; ++i) pts[i] = {points[i].X, points[i].Y};
  path_ = std::make_unique<TGPGraphicsPath>(pts.data(), types.data(), count, kFillAlternate);
  x_ = points[count - 1].X;
  y_ = points[count - 1].Y;
}

void TKelGDIPlusPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
  path_->AddArc(x, y, width, height, startAngle, sweepAngle);
}

void TKelGDIPlusPath::CloseFigure() { path_->CloseFigure(); }

void TKelGDIPlusPath::AddPoints(const TPointArray& points, int highIndex, bool closed) {
  const int count = std::clamp(highIndex + 1, 0, static_cast<int>(points.size()));
  if (count == 0) return;
  if (closed) {
    path_->AddClosedCurve(points.data(), count, kCurveTension);
  } else {
    path_->AddCurve(points.data(), count, kCurveTension);
  }
  x_ = static_cast<float>(points[count - 1].X);
  y_ = static_cast<float>(points[count - 1].Y);
}

void TKelGDIPlusPath::DrawPath(TKelCanvas& target) {
  auto* canvas = dynamic_cast<TGDIPlusCanvas*>(&target);
  if (canvas == nullptr) return;
  TGPGraphics* graphics = canvas->EnsureGraphics();
  if (graphics == nullptr) return;
  TKelBrush* brush = canvas->Brush();
  if (brush->Style() != bsClear) {
    std::unique_ptr<TGPBrush> fill;
    if (brush->HasVisibleGradient()) {
      TKelPathData data;
      GetPathData(data);
      fill.reset(canvas->MakeGdiPlusGradientBrush(brush, data.points));
    } else {
      fill.reset(canvas->MakeGdiPlusPlainBrush(brush));
    }
    graphics->FillPath(fill.get(), path_.get());
  }
  TRectFloat bounds;
  if (canvas->Pen()->HasGradientFill()) {
    TKelPathData data;
    GetPathData(data);
    bounds = data.bounds;
  }
  if (TGPPen* pen = canvas->PreparedPenUnbounded(bounds)) graphics->DrawPath(pen, path_.get());
}

void TKelGDIPlusPath::GetPathData(TKelPathData& data) {
  data.points.clear();
  data.types.clear();
  data.bounds = TRectFloat{};
  const int count = path_->GetPointCount();
  if (count > 0) {
    data.types.resize(count);
    path_->GetPathTypes(data.types.data(), count);
    std::vector<TGPPointF> pts(count);
    path_->GetPathPoints(pts.data(), count);
    data.points.resize(count);
    for (int i = 0; i < count; ++i) data.points[i] = {pts[i].X, pts[i].Y};
  }
  TGPRectF bounds;
  path_->GetBounds(bounds);
  data.bounds = TRectFloat{bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height};
}

void TKelGDIPlusPath::AddLineTo(float x, float y) {
  path_->AddLine(x_, y_, x, y);
  x_ = x;
  y_ = y;
}

void TKelGDIPlusPath::StartFigureAt(float x, float y) {
  x_ = x;
  y_ = y;
}

void TKelGDIPlusPath::AddText(const std::string& text, float x, float y) {
  canvas_.EnsureGraphics();
  if (canvas_.GdiFont() == nullptr) canvas_.ApplyFont();
  TGPFont* font = canvas_.GdiFont();
  if (font == nullptr) return;
  TGPFontFamily family;
  font->GetFamily(&family);
  // The em size is the font's character height in pixels.
  const int height = canvas_.Font()->Height();
  path_->AddString(Utf8ToWide(text), &family, 0, static_cast<float>(height < 0 ? -height : height),
                   MakePointF(x, y), nullptr);
}

TKelBasePath* TGDIPlusCanvas::NewPath() { return new TKelGDIPlusPath(*this); }
