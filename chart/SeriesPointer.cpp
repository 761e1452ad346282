// Point symbols and callouts: canvas preparation, the sixteen symbol styles flat and in 3D,
// the callout's arrow and pointer, and the marks callout's lift of a mark above its point.
#include "chart/SeriesPointer.h"

#include <algorithm>
#include <numbers>

#include "canvas/Canvas3D.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "chart/BackImage.h"
#include "chart/ChartSeries.h"
#include "chart/SeriesMarkPosition.h"
#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(TSeriesPointerStyle) {
  static const TEnumInfo info("TSeriesPointerStyle",
                              {"psRectangle", "psCircle", "psTriangle", "psDownTriangle", "psCross", "psDiagCross",
                               "psStar", "psDiamond", "psSmallDot", "psNothing", "psLeftTriangle", "psRightTriangle",
                               "psHexagon", "psVisual", "psDonut", "psArrow"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TPointerSizeUnits) {
  static const TEnumInfo info("TPointerSizeUnits", {"suPixels", "suAxis"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TArrowHeadStyle) {
  static const TEnumInfo info("TArrowHeadStyle", {"ahNone", "ahLine", "ahSolid"});
  return info;
}

namespace {

// Restores the canvas brush colour and style and the pen style a shadow or emboss changed.
class CanvasStateScope {
 public:
  explicit CanvasStateScope(TCanvas3D* canvas)
      : canvas_(canvas),
        brushColor_(canvas->Brush()->Color()),
        brushStyle_(canvas->Brush()->Style()),
        penStyle_(canvas->Pen()->Style()) {}
  ~CanvasStateScope() {
    canvas_->Brush()->SetColor(brushColor_);
    canvas_->Brush()->SetStyle(brushStyle_);
    canvas_->Pen()->SetStyle(penStyle_);
  }
  CanvasStateScope(const CanvasStateScope&) = delete;
  CanvasStateScope& operator=(const CanvasStateScope&) = delete;

 private:
  TCanvas3D* canvas_;
  TColor brushColor_;
  TBrushStyle brushStyle_;
  TPenStyle penStyle_;
};

bool Orthogonal(TCanvas3D* canvas) {
  return canvas->View3DOptions != nullptr && canvas->View3DOptions->Orthogonal();
}

}  // namespace

// ---- TSeriesPointer --------------------------------------------------------------------------

const TClassInfo& TSeriesPointer::StaticClass() {
  using P = TSeriesPointer;
  using SP = TShapeProperty;
  static const TClassInfo info = [] {
    TClassBuilder<P> b("TSeriesPointer", &TKelCustomShape::StaticClass());
    PublishShapeProperties(b, {SP::Brush, SP::Pen, SP::Visible});
    b.Property("Dark3D", &P::Dark3D, &P::SetDark3D)
        .Default(true)
        .Property("DarkPen", &P::DarkPen, &P::SetDarkPen)
        .Default(0)
        .Property("Depth", &P::Depth, &P::SetDepth)
        .Default(0)
        .Property("Draw3D", &P::Draw3D, &P::SetDraw3D)
        .Default(true);
    PublishShapeProperties(b, {SP::Emboss});
    b.Property("FullGradient", &P::FullGradient, &P::SetFullGradient)
        .Stored([](P& p) { return p.FullGradient() != p.DefaultFullGradient(); });
    PublishShapeProperties(b, {SP::Gradient});
    b.Property("HorizSize", &P::HorizSize, &P::SetHorizSize)
        .Default(4)
        .Property("InflateMargins", &P::InflateMargins, &P::SetInflateMargins)
        .Default(true)
        .Property("Picture", &P::Picture, &P::SetPicture)
        .Stored([](P& p) { return p.HasPicture(); })
        .Property("Shadow", &P::Shadow, &P::SetShadow)
        .Property("SizeUnits", &P::SizeUnits, &P::SetSizeUnits)
        .Default(suPixels)
        .Property("Style", &P::Style, &P::SetStyle)
        .Default(psRectangle);
    PublishShapeProperties(b, {SP::Transparency});
    b.Property("VertSize", &P::VertSize, &P::SetVertSize).Default(4);
    return b.Abstract().Build();
  }();
  return info;
}

TSeriesPointer::TSeriesPointer(TChartSeries* series)
    : TKelCustomShape(series && series->ParentChart() ? series->ParentChart()->ShapePanel() : nullptr),
      series_(series) {
  shadow_->SetDefaults(false, shadow_->Color(), 3);
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TSeriesPointer*>(source);
  if (other == nullptr) {
    TKelCustomShape::Assign(source);
    return;
  }
  dark3D_ = other->dark3D_;
  depth_ = other->depth_;
  draw3D_ = other->draw3D_;
  darkPen_ = other->darkPen_;
  fullGradient_ = other->fullGradient_;
  horizSize_ = other->horizSize_;
  inflateMargins_ = other->inflateMargins_;
  TKelCustomShape::SetEmboss(other->emboss_.get());
  SetPicture(other->picture_.get());
  SetShadow(other->shadow_.get());
  SizeFloat = other->SizeFloat;
  sizeUnits_ = other->sizeUnits_;
  style_ = other->style_;
  transparency_ = other->transparency_;
  vertSize_ = other->vertSize_;
  brush_->Assign(other->brush_.get());
  pen_->Assign(other->pen_.get());
  visible_ = other->visible_;
  Repaint();
}

#define VK_POINTER_SETTER(Name, Type, field) \
  void TSeriesPointer::Set##Name(Type value) { \
    if (field == value) return;                \
    field = value;                             \
    Repaint();                                 \
  }
VK_POINTER_SETTER(Dark3D, bool, dark3D_)
VK_POINTER_SETTER(DarkPen, int, darkPen_)
VK_POINTER_SETTER(Depth, int, depth_)
VK_POINTER_SETTER(Draw3D, bool, draw3D_)
VK_POINTER_SETTER(FullGradient, bool, fullGradient_)
VK_POINTER_SETTER(InflateMargins, bool, inflateMargins_)
VK_POINTER_SETTER(Style, TSeriesPointerStyle, style_)
#undef VK_POINTER_SETTER

void TSeriesPointer::SetHorizSize(int value) {
  value = std::max(1, value);
  if (value == horizSize_) return;
  horizSize_ = value;
  Repaint();
}

void TSeriesPointer::SetVertSize(int value) {
  value = std::max(1, value);
  if (value == vertSize_) return;
  vertSize_ = value;
  Repaint();
}

void TSeriesPointer::InitEmboss(TKelEmboss& emboss) { emboss.SetDefaults(false, emboss.Color(), 3); }

void TSeriesPointer::SetShadow(TKelShadow* value) {
  if (value == nullptr) {
    shadow_ = std::make_unique<TKelShadow>([this](TObject* sender) { PartChanged(sender); });
    shadow_->SetDefaults(false, clBlack, 3);
  } else {
    shadow_->Assign(value);
  }
  Repaint();
}

TKelGradient* TSeriesPointer::Gradient() { return brush_->Gradient(); }

TKelPicture* TSeriesPointer::Picture() {
  if (!picture_) {
    picture_ = std::make_unique<TKelPicture>();
    picture_->OnChange = [this](TObject* sender) { PartChanged(sender); };
  }
  return picture_.get();
}

void TSeriesPointer::SetPicture(TKelPicture* value) {
  if (value == nullptr) {
    picture_.reset();
  } else {
    Picture()->Assign(value);
  }
  Repaint();
}

int TSeriesPointer::StartZ() const {
  if (series_ == nullptr) return OwnDepth;
  return depth_ == 0 ? series_->StartDepth() : series_->MiddleDepth() - depth_;
}

int TSeriesPointer::MiddleZ() const {
  if (series_ == nullptr) return OwnDepth;
  return series_->MiddleDepth();
}

int TSeriesPointer::EndZ() const {
  if (series_ == nullptr) return OwnDepth;
  return depth_ == 0 ? series_->EndDepth() : series_->MiddleDepth() + depth_;
}

TCanvas3D* TSeriesPointer::ChartCanvas() const {
  if (series_ && series_->ParentChart() && series_->ParentChart()->ChartCanvas())
    return series_->ParentChart()->ChartCanvas();
  return panel_ ? panel_->ShapeCanvas() : nullptr;
}

void TSeriesPointer::ApplyToCanvas(TCanvas3D* canvas, TColor color) {
  if (canvas == nullptr) return;
  if (pen_->Visible()) {
    if (darkPen_ != 0) {
      TColor c = darkPen_ > 0 ? DarkenRGB(color, darkPen_) : LightenRGB(color, -darkPen_);
      c = TKelCanvas::ColorWithAlpha(c, TKelCanvas::ColorAlpha(pen_->Color()));
      canvas->UsePenColor(pen_.get(), c);
    } else if (pen_->Color() == clDefault) {
      canvas->UsePenColor(pen_.get(), color);
    } else {
      canvas->UsePen(pen_.get());
    }
  } else if (canvas->Pen()->Style() != psClear) {
    canvas->Pen()->SetStyle(psClear);
  }
  TColor c = brush_->Color();
  if (c == clDefault) c = brush_->Style() != bsSolid ? brush_->BackColor() : color;
  canvas->UseBrushColors(brush_.get(), c, color);
}

void TSeriesPointer::ApplyToChartCanvas() { ApplyToCanvas(ChartCanvas(), brush_->Color()); }

void TSeriesPointer::SetGradientEnd(TCanvas3D* canvas, TColor color) {
  // Repainting is off meanwhile: the change belongs to this paint, not a new one.
  IShapePanel* panel = panel_;
  panel_ = nullptr;
  Gradient()->SetEndColor(color);
  if (canvas != nullptr && canvas->BrushHasGradient()) canvas->BrushGradient()->SetEndColor(color);
  panel_ = panel;
}

void TSeriesPointer::DrawSymbol(TCanvas3D* canvas, bool is3D, int x, int y, int h, int v, TColor color,
                                TSeriesPointerStyle style) {
  if (canvas == nullptr) return;
  h = std::max(1, h);
  v = std::max(1, v);
  const int L = x - h, R = x + h, T = y - v, B = y + v;
  const int z0 = StartZ(), z1 = EndZ(), zm = MiddleZ();
  const TPointArray hexagon{TPoint(x, T),          TPoint(R, y - v / 2), TPoint(R, y + v / 2),
                            TPoint(x, B),          TPoint(L, y + v / 2), TPoint(L, y - v / 2)};

  // Shadow, then emboss, for the styles that have an outline to cast.
  auto cast = [&](TKelShadow* s) {
    if (s == nullptr || !s->IsShown()) return;
    CanvasStateScope keep(canvas);
    switch (style) {
      case psRectangle:
        s->DrawRect(canvas, TRect(L, T, R, B), 0, 0);
        break;
      case psCircle:
        s->Draw(canvas, TRect(L, T, R, B), 0, 0, 360);
        break;
      case psDonut:
        s->Draw(canvas, TRect(L, T, R, B), 50, 0, 360);
        break;
      case psHexagon:
        s->DrawPolygon(canvas, hexagon, static_cast<int>(hexagon.size()) - 1);
        break;
      case psArrow: {
        const TPointArray arrow = TKelCanvas::BuildArrowPolygon(TPoint(x, T), TPoint(x, B), v, h, 50);
        s->DrawPolygon(canvas, arrow, static_cast<int>(arrow.size()) - 1);
        break;
      }
      default:
        break;
    }
  };
  cast(shadow_.get());
  cast(emboss_.get());

  TKelBlend* blend = nullptr;
  if (transparency_ > 0) {
    TRect area(L, T, R + 1, B + 1);
    if (style == psRectangle && is3D && draw3D_ && Orthogonal(canvas)) {
      area.Right += z1 - z0;
      area.Top -= z1 - z0;
    }
    blend = canvas->StartTransparency(canvas->SupportsAlpha ? TRect() : canvas->ProjectedRectBounds(area, z0),
                                      static_cast<std::uint8_t>(transparency_));
  }
  if (brush_->HasVisibleGradient() && !fullGradient_) SetGradientEnd(canvas, color);

  auto polygon = [&](const TPointArray& points) {
    const int high = static_cast<int>(points.size()) - 1;
    if (is3D)
      canvas->Polygon(canvas->ProjectPoints(points, high, z0), high);
    else
      canvas->Polygon(points, high);
  };
  auto cross = [&]() {
    if (is3D) {
      canvas->VLine3D(x, T, B + 1, z0);
      canvas->HLine3D(L, R + 1, y, z0);
    } else {
      canvas->VLine(x, T, B + 1);
      canvas->HLine(L, R + 1, y);
    }
  };
  auto diagonalCross = [&]() {
    if (is3D) {
      canvas->Line3D(L, T, R + 1, B + 1, z0);
      canvas->Line3D(R, T, L - 1, B + 1, z0);
    } else {
      canvas->LineSegment(L, T, R + 1, B + 1);
      canvas->LineSegment(R, T, L - 1, B + 1);
    }
  };

  switch (style) {
    case psRectangle:
      if (!is3D)
        canvas->Rectangle(L, T, R + 1, B + 1);
      else if (draw3D_)
        canvas->DrawBox3D(L, R, T, B, z0, z1, dark3D_);
      else
        canvas->RectangleAtZ(TRect(L, T, R + 1, B + 1), z0);
      break;
    case psCircle:
      if (!is3D)
        canvas->Ellipse(L, T, R, B);
      else if (canvas->SupportsFull3D() && draw3D_)
        canvas->CircleAtZ(x, y, zm, SizeFloat != 0 ? SizeFloat : h);
      else
        canvas->EllipseAtZ(L, T, R, B, z0);
      break;
    case psTriangle:
      if (is3D && draw3D_)
        canvas->DrawPyramid3D(true, L, T, R, B, z0, z1, dark3D_);
      else
        polygon({TPoint(L, B), TPoint(R, B), TPoint(x, T)});
      break;
    case psDownTriangle:
      if (is3D && draw3D_)
        canvas->DrawPyramid3D(true, L, B, R, T, z0, z1, dark3D_);
      else
        polygon({TPoint(L, T), TPoint(R, T), TPoint(x, B)});
      break;
    case psCross:
      cross();
      break;
    case psDiagCross:
      diagonalCross();
      break;
    case psStar:
      cross();
      diagonalCross();
      break;
    case psDiamond:
      polygon({TPoint(L, y), TPoint(x, T), TPoint(R, y), TPoint(x, B)});
      break;
    case psSmallDot:
      if (is3D)
        canvas->SetPixel3D(x, y, zm, canvas->Brush()->Color());
      else
        canvas->SetPixel(x, y, canvas->Brush()->Color());
      break;
    case psNothing:
    case psVisual:
      break;
    case psLeftTriangle:
      polygon({TPoint(L, y), TPoint(R, B), TPoint(R, T)});
      break;
    case psRightTriangle:
      polygon({TPoint(R, y), TPoint(L, B), TPoint(L, T)});
      break;
    case psHexagon:
      polygon(hexagon);
      break;
    case psDonut:
      // A whole ring: the canvas takes its angles in radians.
      if (!is3D) {
        canvas->DrawDonutSlice(x, y, h, v, 0, 2 * std::numbers::pi, 50);
      } else if (Orthogonal(canvas)) {
        const TPoint c = canvas->Project3D(x, y, z0);
        canvas->DrawDonutSlice(c.X, c.Y, h, v, 0, 2 * std::numbers::pi, 50);
      } else {
        canvas->EllipseAtZ(L, T, R, B, z0);
      }
      break;
    case psArrow:
      canvas->DrawArrowAtZ(canvas->Brush()->Style() != bsClear, TPoint(x, T), TPoint(x, B), h, v, z0);
      break;
  }

  if (picture_ && picture_->HasGraphic()) {
    TRect r(L, T, R, B);
    const bool orthogonal = Orthogonal(canvas);
    if (is3D && orthogonal) r = canvas->ProjectRect(r, z0);
    if (!is3D || orthogonal) {
      if (style == psCircle) canvas->ClipToEllipse(r, false);
      canvas->DrawGraphicStretched(r, picture_->FilteredGraphic());
      if (style == psCircle) canvas->PopClip();
    } else {
      canvas->DrawBitmap3D(r, picture_->FilteredGraphic(), z0, 2);
    }
  }
  if (blend != nullptr) canvas->FinishTransparency(blend);
}

// ---- TCallout --------------------------------------------------------------------------------

const TClassInfo& TCallout::StaticClass() {
  using C = TCallout;
  static const TClassInfo info = [] {
    TClassBuilder<C> b("TCallout", &TSeriesPointer::StaticClass());
    b.Property("Arrow", &C::Arrow, &C::SetArrow)
        .Property("ArrowHead", &C::ArrowHead, &C::SetArrowHead)
        .Default(ahNone)
        .Property("ArrowHeadSize", &C::ArrowHeadSize, &C::SetArrowHeadSize)
        .Default(8)
        .Property("Distance", &C::Distance, &C::SetDistance)
        .Default(0)
        .Property("Draw3D", &C::Draw3D, &C::SetDraw3D)
        .Default(false)
        .Property("InflateMargins", &C::InflateMargins, &C::SetInflateMargins)
        .Default(true)
        .Property("Style", &C::Style, &C::SetStyle)
        .Default(psRectangle);
    // True at creation, recorded as the default.
    PublishShapeProperties(b, {TShapeProperty::Visible});
    return b.Abstract().Build();
  }();
  return info;
}

TCallout::TCallout(TChartSeries* series)
    : TSeriesPointer(series),
      arrow_(std::make_unique<TWhitePen>([this](TObject* sender) { PartChanged(sender); })) {
  inflateMargins_ = true;
  fullGradient_ = true;
  defaultFullGradient_ = true;
  style_ = psRectangle;
  SetVisibleDefault(true);
  draw3D_ = false;
  brush_->SetDefaultColor(clBlack);
}

TCallout::~TCallout() = default;

void TCallout::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCallout*>(source)) {
    distance_ = other->distance_;
    arrow_->Assign(other->arrow_.get());
    arrowHead_ = other->arrowHead_;
    arrowHeadSize_ = other->arrowHeadSize_;
  }
  TSeriesPointer::Assign(source);
}

TKelPen* TCallout::Arrow() const { return arrow_.get(); }

void TCallout::SetArrow(TKelPen* value) {
  if (value) arrow_->Assign(value);
}

void TCallout::SetArrowHead(TArrowHeadStyle value) {
  if (value == arrowHead_) return;
  arrowHead_ = value;
  Repaint();
}

void TCallout::SetArrowHeadSize(int value) {
  if (value == arrowHeadSize_) return;
  arrowHeadSize_ = value;
  Repaint();
}

void TCallout::SetDistance(int value) {
  if (value == distance_) return;
  distance_ = value;
  Repaint();
}

void TCallout::DrawArrowAndPointer(TColor, TPoint from, TPoint to, TPoint middle, bool bend, int z) {
  TCanvas3D* canvas = ChartCanvas();
  if (canvas == nullptr) return;
  const bool view3D = Series() && Series()->ParentChart() && Series()->ParentChart()->View3D();
  if (arrow_->Visible()) {
    ApplyToChartCanvas();
    if (arrowHead_ != ahSolid) canvas->Brush()->SetStyle(bsClear);
    canvas->UsePen(arrow_.get());
    if (arrowHead_ == ahLine || arrowHead_ == ahSolid) {
      canvas->DrawArrowAtZ(arrowHead_ == ahSolid, to, from, arrowHeadSize_, arrowHeadSize_, z);
    } else {
      auto segment = [&](TPoint a, TPoint b) {
        if (view3D)
          canvas->Line3D(a.X, a.Y, b.X, b.Y, z);
        else
          canvas->LineSegment(a.X, a.Y, b.X, b.Y);
      };
      if (bend) {
        segment(from, middle);
        segment(middle, to);
      } else {
        segment(from, to);
      }
    }
  }
  if (arrowHead_ == ahNone && visible_) {
    ApplyToChartCanvas();
    TPoint at = from;
    if (view3D) at = canvas->Project3D(from.X, from.Y, z);
    DrawSymbol(canvas, false, at.X, at.Y, HorizSize(), VertSize(), brush_->Color(), style_);
  }
}

// ---- TMarksCallout ---------------------------------------------------------------------------

const TClassInfo& TMarksCallout::StaticClass() {
  using C = TMarksCallout;
  static const TClassInfo info = [] {
    TClassBuilder<C> b("TMarksCallout", &TCallout::StaticClass());
    b.Property("Length", &C::Length, &C::SetLength).Default(8);
    // False at creation, recorded as the default.
    PublishShapeProperties(b, {TShapeProperty::Visible});
    return b.Abstract().Build();
  }();
  return info;
}

TMarksCallout::TMarksCallout(TChartSeries* series) : TCallout(series) { SetVisibleDefault(false); }

void TMarksCallout::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TMarksCallout*>(source)) length_ = other->length_;
  TCallout::Assign(source);
}

void TMarksCallout::SetLength(int value) {
  if (value == length_) return;
  length_ = value;
  if (Series())
    static_cast<TCustomChartElement*>(Series())->RepaintOwner();
  else
    Repaint();
}

void TMarksCallout::AdjustPosition(TSeriesMarkPosition& position) const {
  position.LeftTop.y -= length_ + Distance();
  position.ArrowTo.y -= length_ + Distance();
  position.ArrowFrom.y -= Distance();
}
