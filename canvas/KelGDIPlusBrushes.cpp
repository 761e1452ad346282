// TGDIPlusCanvas, fill side: how a TKelBrush becomes a GDI+ brush (texture, hatch, solid,
// linear or path gradient) at the canvas alpha, pictures with alpha and interpolation, shape
// shadows and the highlights of 3D pie slices. Every brush built here is new and owned by the
// caller (the canvas keeps its fill brush until the next fill).
//
// Wine's gdiplus fills a path gradient with the brush's centre and surround colours and
// ignores its preset blend; both colours are therefore set from the blend's ends as well, so
// the picture is the same on both systems.
#include <algorithm>
#include <cmath>

#include "canvas/KelBrush.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/rtl/Math.h"

using namespace KelCanvas;

namespace {
constexpr int kWrapModeTile = 0;
constexpr int kUnitPixel = 2;
constexpr int kPixelFormat32bppARGB = 2498570;

int RoundInt(long double v) { return static_cast<int>(Round(v)); }

// The colour a gradient without usable stops falls back to.
bool HasStops(TCustomKelGradient* gradient) { return gradient->Colors()->Count() > 0; }

// Points of the ellipse in `rect` for whole degrees `from`..`to` (stepping by ±1).
void AddEllipsePoints(TPointFloatArray& out, TGDIPlusCanvas& canvas, const TRect& rect, int from, int to, int z) {
  const int step = from <= to ? 1 : -1;
  for (int a = from;; a += step) {
    TPointFloat p = TKelCanvas3D::EllipsePoint(rect, a);
    if (z != 0) canvas.Project3DF(p, static_cast<float>(z));
    out.push_back(p);
    if (a == to) break;
  }
}

TRectFloat BoundsOf(const TPointFloatArray& points) {
  TRectFloat r{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPointFloat& p : points) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  return r;
}
}  // namespace

// ---- Direction tables ------------------------------------------------------------------------

bool TGDIPlusCanvas::IsReversedDirection(TGradientDirection d) {
  return d == gdBottomTop || d == gdRightLeft || d == gdFromBottomLeft || d == gdDiagonalDown;
}

int TGDIPlusCanvas::LinearGradientModeOf(TGradientDirection d) {
  switch (d) {
    case gdTopBottom:
    case gdBottomTop: return 1;
    case gdFromTopLeft:
    case gdDiagonalDown: return 2;
    case gdFromBottomLeft:
    case gdDiagonalUp: return 3;
    default: return 0;
  }
}

int TGDIPlusCanvas::LinearGradientAngleOf(TGradientDirection d) {
  switch (d) {
    case gdTopBottom: return 90;
    case gdBottomTop: return 270;
    case gdRightLeft: return 180;
    case gdFromTopLeft:
    case gdDiagonalUp: return 45;
    case gdFromBottomLeft:
    case gdDiagonalDown: return 135;
    default: return 0;
  }
}

// ---- Plain brushes ---------------------------------------------------------------------------

TGPImageAttributes* TGDIPlusCanvas::MakeAlphaAttributes(int alpha) {
  auto* attributes = new TGPImageAttributes();
  float matrix[25] = {};
  for (int i = 0; i < 5; ++i) matrix[i * 5 + i] = 1.0f;
  matrix[3 * 5 + 3] = static_cast<float>(alpha) / 255.0f;
  attributes->SetColorMatrix(matrix, 1, 0);
  return attributes;
}

TGPBrush* TGDIPlusCanvas::MakeTextureBrush(TGPImage* bitmap) {
  const int alpha = CurrentTransparency;
  if (alpha == 255) return new TGPTextureBrush(bitmap, kWrapModeTile);
  std::unique_ptr<TGPImageAttributes> attributes(MakeAlphaAttributes(alpha));
  auto* brush = new TGPTextureBrush(bitmap, attributes.get(), 0, 0, static_cast<float>(bitmap->Width()),
                                    static_cast<float>(bitmap->Height()));
  brush->SetWrapMode(kWrapModeTile);
  return brush;
}

TGPBrush* TGDIPlusCanvas::MakeGdiPlusPlainBrush(TKelBrush* b) {
  const int alpha = CurrentTransparency;
  if (b->HasPicture()) {
    TGraphic* graphic = b->Image()->FilteredGraphic();
    std::unique_ptr<TBitmap> copy;
    auto* bitmap = dynamic_cast<TBitmap*>(graphic);
    if (bitmap == nullptr) {
      copy = std::make_unique<TBitmap>();
      copy->Assign(graphic);
      bitmap = copy.get();
    }
    TGPBitmap image(bitmap->Handle(), nullptr);
    return MakeTextureBrush(&image);
  }
  if (TBitmap* pattern = b->Bitmap(); pattern != nullptr && !pattern->Empty()) {
    TGPBitmap image(pattern->Handle(), nullptr);
    return MakeTextureBrush(&image);
  }
  if (b->Style() != bsSolid) {
    int hatch = b->HatchStyle();
    if (hatch >= 6) {
      if (hatch > 52) hatch = 0;
    } else {
      switch (b->Style()) {
        case bsHorizontal: hatch = 0; break;
        case bsVertical: hatch = 1; break;
        case bsFDiagonal: hatch = 2; break;
        case bsBDiagonal: hatch = 3; break;
        case bsCross: hatch = 4; break;
        default: hatch = 5; break;
      }
    }
    return new TGPHatchBrush(hatch, ColorToArgb(b->Color(), alpha), ColorToArgb(b->BackColor(), alpha));
  }
  return new TGPSolidBrush(ColorToArgb(b->Color(), alpha));
}

// ---- Gradients -------------------------------------------------------------------------------

TArgb TGDIPlusCanvas::StopToArgb(TKelGradientColor* stop) const {
  return ColorToArgb(stop->Color(), AlphaFromTransparency(stop->Transparency()));
}

void TGDIPlusCanvas::FillPresetBlend(TCustomKelGradient* gradient, std::vector<TArgb>& colors,
                                     std::vector<float>& positions) {
  colors.clear();
  positions.clear();
  TKelGradientColors* stops = gradient->Colors();
  const int count = stops->Count();
  if (count == 0) return;
  const bool reversed = IsReversedDirection(gradient->Direction());
  colors.reserve(count + 2);
  positions.reserve(count + 2);
  for (int i = 0; i < count; ++i) {
    TKelGradientColor* stop = stops->Item(reversed ? i : count - 1 - i);
    const double offset = std::clamp(stop->Offset(), 0.0, 1.0);
    const float position = static_cast<float>(reversed ? offset : 1 - offset);
    // GDI+ refuses a blend that does not start at 0 and end at 1: the end colours fill the gap.
    if (i == 0 && position > 0) {
      colors.push_back(StopToArgb(stop));
      positions.push_back(0);
    }
    colors.push_back(StopToArgb(stop));
    positions.push_back(position);
  }
  if (positions.back() < 1) {
    colors.push_back(colors.back());
    positions.push_back(1);
  }
}

TGPBrush* TGDIPlusCanvas::MakeLinearGradientBrush(TCustomKelGradient* gradient, const TGPRectF& rect) {
  TKelGradientColors* stops = gradient->Colors();
  const int count = stops->Count();
  const TGradientDirection d = gradient->Direction();
  TArgb first = StopToArgb(stops->Item(0));
  TArgb last = StopToArgb(stops->Item(count - 1));
  const TArgb color1 = IsReversedDirection(d) ? first : last;
  const TArgb color2 = IsReversedDirection(d) ? last : first;
  TGPLinearGradientBrush* brush;
  if (gradient->Angle() == 0) {
    brush = new TGPLinearGradientBrush(rect, color1, color2, LinearGradientModeOf(d));
  } else {
    brush = new TGPLinearGradientBrush(rect, color1, color2,
                                       static_cast<float>(LinearGradientAngleOf(d) + gradient->Angle()), false);
  }
  if (count > 2) {
    std::vector<TArgb> colors;
    std::vector<float> positions;
    FillPresetBlend(gradient, colors, positions);
    brush->SetPresetBlend(colors.data(), positions.data(), static_cast<int>(colors.size()));
  }
  return brush;
}

void TGDIPlusCanvas::FillPathGradientBlend(TCustomKelGradient* gradient, TGPPathGradientBrush& brush) {
  std::vector<TArgb> colors;
  std::vector<float> positions;
  FillPresetBlend(gradient, colors, positions);
  brush.SetPresetBlend(colors.data(), positions.data(), static_cast<int>(colors.size()));
  if (colors.empty()) return;
  // Position 0 is the boundary, 1 the centre.
  brush.SetCenterColor(colors.back());
  brush.SetSurroundColor(colors.front());
}

TGPBrush* TGDIPlusCanvas::MakeGdiPlusRectBrush(TKelBrush* b, const TRectFloat& given) {
  if (b->Style() == bsClear || !b->HasVisibleGradient() || !HasStops(b->Gradient())) return MakeGdiPlusPlainBrush(b);
  TKelGradient* gradient = b->Gradient();
  TRectFloat r = given;
  const TRectFloat& custom = gradient->CustomTargetRect;
  if (custom.Right - custom.Left != 0 || custom.Bottom - custom.Top != 0) r = custom;
  const TGradientDirection d = gradient->Direction();
  if (d != gdFromCenter && d != gdRadial) {
    return MakeLinearGradientBrush(gradient, MakeRectF(r.Left - 1, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top));
  }
  TGPGraphicsPath path;
  if (d == gdFromCenter) {
    path.AddRectangle(MakeRectF(r.Left, r.Top, r.Right + 1 - r.Left, r.Bottom + 1 - r.Top));
  } else {
    const float dx = (r.Right - r.Left) / 4, dy = (r.Bottom - r.Top) / 4;
    r = TRectFloat{r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
    path.AddEllipse(r.Left - 1, r.Top - 1, r.Right + 2 - r.Left, r.Bottom + 2 - r.Top);
  }
  auto* brush = new TGPPathGradientBrush(&path);
  brush->SetCenterPoint(MakePointF((r.Left + r.Right) / 2 + gradient->RadialX(),
                                   (r.Top + r.Bottom) / 2 + gradient->RadialY()));
  FillPathGradientBlend(gradient, *brush);
  return brush;
}

TGPBrush* TGDIPlusCanvas::MakeGdiPlusGradientBrush(TKelBrush* b, const TPointFloatArray& given) {
  const TPointFloatArray& source = GradientPolygon.empty() ? given : GradientPolygon;
  if (source.empty() || b->Style() == bsClear || !b->HasVisibleGradient() || !HasStops(b->Gradient())) {
    return MakeGdiPlusPlainBrush(b);
  }
  TKelGradient* gradient = b->Gradient();
  std::vector<TGPPointF> pts(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) pts[i] = {source[i].X, source[i].Y};
  TGPGraphicsPath path;
  path.AddPolygon(pts.data(), static_cast<int>(pts.size()));
  TGPRectF bounds;
  path.GetBounds(bounds);
  const TGradientDirection d = gradient->Direction();
  if (d != gdRadial && d != gdFromCenter) return MakeLinearGradientBrush(gradient, bounds);
  if (d == gdRadial) {
    const int dx = RoundInt(bounds.Width * 0.25L), dy = RoundInt(bounds.Height * 0.25L);
    bounds = MakeRectF(bounds.X - dx, bounds.Y - dy, bounds.Width + 2 * dx, bounds.Height + 2 * dy);
    path.Reset();
    path.AddEllipse(bounds.X, bounds.Y, bounds.Width, bounds.Height);
  } else {
    path.Reset();
    path.AddRectangle(bounds);
  }
  auto* brush = new TGPPathGradientBrush(&path);
  if (gradient->RadialX() != 0 || gradient->RadialY() != 0) {
    TPoint centre;
    brush->GetCenterPoint(centre);
    centre.X += gradient->RadialX();
    centre.Y += gradient->RadialY();
    brush->SetCenterPoint(centre);
  }
  FillPathGradientBlend(gradient, *brush);
  return brush;
}

// ---- The canvas's fill brush -----------------------------------------------------------------

TGPBrush* TGDIPlusCanvas::KeepFillBrush(TGPBrush* brush) {
  fillBrush_.reset(brush);
  return brush;
}

TGPBrush* TGDIPlusCanvas::FillBrushOver(const TRectFloat& rect) {
  fillBrush_.reset();
  if (BrushIsClear() || graphics_ == nullptr) return nullptr;
  return KeepFillBrush(MakeGdiPlusRectBrush(Brush(), rect));
}

TGPBrush* TGDIPlusCanvas::FillBrushOverPoints(const TPointFloatArray& points) {
  fillBrush_.reset();
  if (BrushIsClear() || graphics_ == nullptr) return nullptr;
  return KeepFillBrush(MakeGdiPlusGradientBrush(Brush(), points));
}

// ---- Pictures --------------------------------------------------------------------------------

TGPImage* TGDIPlusCanvas::BitmapToGdiPlusImage(TBitmap* bitmap) {
  if (!bitmap->Transparent()) return new TGPBitmap(bitmap->Handle(), nullptr);
  const int w = bitmap->Width(), h = bitmap->Height();
  auto* image = new TGPBitmap(w, h, kPixelFormat32bppARGB);
  HDC dc = bitmap->Canvas()->Handle();
  TColor transparent = bitmap->TransparentMode() == tmFixed
                           ? static_cast<TColor>(static_cast<std::uint32_t>(bitmap->TransparentColor()) & ~0x02000000u)
                           : static_cast<TColor>(::GetPixel(dc, 0, h - 1));
  transparent = static_cast<TColor>(ColorToRGB(transparent));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const auto pixel = static_cast<TColor>(::GetPixel(dc, x, y));
      image->SetPixel(x, y, pixel == transparent ? 0x00FFFFFFu : ColorToArgb(pixel, 255));
    }
  }
  return image;
}

// The GDI+ image of a graphic; `keep` holds a bitmap made on the way.
TGPImage* TGDIPlusCanvas::GraphicToImage(TGraphic* graphic, const TRect& rect, std::unique_ptr<TBitmap>& keep) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) return BitmapToGdiPlusImage(bitmap);
  if (auto* metafile = dynamic_cast<TMetafile*>(graphic)) return new TGPMetafile(metafile->Handle(), false);
  keep = std::make_unique<TBitmap>();
  if (auto* icon = dynamic_cast<TIcon*>(graphic)) {
    keep->SetPixelFormat(pf32bit);
    keep->SetSize(icon->Width(), icon->Height());
    DrawIconEx(keep->Canvas()->Handle(), 0, 0, icon->Handle(), icon->Width(), icon->Height(), 0, nullptr, DI_NORMAL);
  } else {
    // Any other kind is rendered at the size asked for.
    keep->SetSize(std::abs(rect.Right - rect.Left), std::abs(rect.Bottom - rect.Top));
    keep->Canvas()->StretchDraw(TRect(0, 0, keep->Width(), keep->Height()), graphic);
  }
  return BitmapToGdiPlusImage(keep.get());
}

void TGDIPlusCanvas::DrawImageWithAlpha(TGPImage* image, int x, int y, int width, int height) {
  std::unique_ptr<TGPImageAttributes> attributes(MakeAlphaAttributes(CurrentTransparency));
  graphics_->DrawImage(image, x, y, width, height, 0, 0, static_cast<int>(image->Width()),
                       static_cast<int>(image->Height()), kUnitPixel, attributes.get());
}

void TGDIPlusCanvas::DrawGraphicStretched(const TRect& rect, TGraphic* graphic) {
  if (graphic == nullptr || graphic->Empty() || EnsureGraphics() == nullptr) return;
  std::unique_ptr<TBitmap> keep;
  std::unique_ptr<TGPImage> image(GraphicToImage(graphic, rect, keep));
  graphics_->SetInterpolationMode(StretchQuality == sqLow ? 5 : 2);
  // Pixel centres on half coordinates: otherwise an enlarged picture samples past its own
  // edges and loses half a source pixel on each side.
  graphics_->SetPixelOffsetMode(4);
  const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
  if (CurrentTransparency == 255) {
    graphics_->DrawImage(image.get(), rect.Left, rect.Top, w, h);
  } else {
    DrawImageWithAlpha(image.get(), rect.Left, rect.Top, w, h);
  }
  graphics_->SetPixelOffsetMode(Antialias ? 2 : 3);
}

void TGDIPlusCanvas::DrawGraphic(int x, int y, TGraphic* graphic) {
  if (graphic == nullptr || graphic->Empty() || EnsureGraphics() == nullptr) return;
  std::unique_ptr<TBitmap> keep;
  // A transparent bitmap drops its transparent colour here too, as in the stretched call.
  std::unique_ptr<TGPImage> image(
      GraphicToImage(graphic, TRect(x, y, x + graphic->Width(), y + graphic->Height()), keep));
  const int w = static_cast<int>(image->Width()), h = static_cast<int>(image->Height());
  // Drawn at its pixel size, whatever resolution the image records.
  if (CurrentTransparency == 255) {
    graphics_->DrawImage(image.get(), x, y, w, h);
  } else {
    DrawImageWithAlpha(image.get(), x, y, w, h);
  }
}

// ---- Shadows ---------------------------------------------------------------------------------

void TGDIPlusCanvas::FillSmoothShadow(TGPGraphicsPath& path, TColor color, double focus) {
  if (EnsureGraphics() == nullptr) return;
  TArgb centre = ColorToArgb(color, CurrentTransparency);
  TArgb edge = 0x00FFFFFFu;
  if (NoBitmapEffects) centre = edge = ColorToArgb(color, 255);
  // GDI+ wants the focus strictly inside the blend.
  const float f = static_cast<float>(std::clamp(focus, 0.01, 0.99));
  const TArgb colors[3] = {edge, centre, centre};
  const float positions[3] = {0.0f, f, 1.0f};
  TGPPathGradientBrush brush(&path);
  brush.SetPresetBlend(colors, positions, 3);
  brush.SetCenterColor(centre);
  brush.SetSurroundColor(edge);
  graphics_->FillPath(&brush, &path);
}

void TGDIPlusCanvas::DrawShadowShape(TKelShadow* shadow, const TRect& rect, bool isEllipse, int cornerSize,
                                     const TPointArray& points, int highIndex, double holePercent, double startAngle,
                                     double endAngle) {
  if (shadow == nullptr || EnsureGraphics() == nullptr) return;
  TGPGraphicsPath path;
  if (highIndex >= 0 && !points.empty()) {
    path.AddLines(points.data(), std::min(highIndex + 1, static_cast<int>(points.size())));
    path.CloseFigure();
  } else if (cornerSize != 0) {
    MakeRoundRectPath(path, rect, cornerSize, cornerSize);
  } else if (!isEllipse) {
    MakeRoundRectPath(path, rect, 4, 4);
  } else if (holePercent <= 0) {
    if (endAngle - startAngle == 360) {
      path.AddEllipse(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    } else {
      float start, sweep;
      PieSweepAngles(startAngle, endAngle, start, sweep);
      path.AddPie(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top, start, sweep);
    }
  } else {
    const double l = 360 - startAngle, m = 360 - endAngle;
    const float cx = (rect.Left + rect.Right) / 2.0f, cy = (rect.Top + rect.Bottom) / 2.0f;
    const float rx = (rect.Right - rect.Left) / 2.0f, ry = (rect.Bottom - rect.Top) / 2.0f;
    path.AddArc(cx - rx, cy - ry, 2 * rx, 2 * ry, static_cast<float>(m), static_cast<float>(l - m));
    const float hx = static_cast<float>(rx * holePercent / 100), hy = static_cast<float>(ry * holePercent / 100);
    path.AddArc(cx - hx, cy - hy, 2 * hx, 2 * hy, static_cast<float>(l), static_cast<float>(m - l));
    path.CloseFigure();
  }
  if (shadow->Smooth()) {
    FillSmoothShadow(path, std::max<TColor>(0, shadow->Color()), shadow->SmoothBlur() * 0.002 + 0.1);
  } else {
    TGPSolidBrush brush(ColorToArgb(shadow->Color(), AlphaFromTransparency(shadow->Transparency())));
    graphics_->FillPath(&brush, &path);
  }
}

// ---- Pie-slice highlights --------------------------------------------------------------------

void TGDIPlusCanvas::AddSliceHighlight(int z, const TRect& topRect, const TRect& innerRect, int startAngle,
                                       int endAngle, TPoint centre, bool donut) {
  GradientPolygon.clear();
  AddEllipsePoints(GradientPolygon, *this, topRect, 0, 360, z);
  TKelGradient* g = Brush()->Gradient();
  g->SetVisible(true);
  g->Colors()->Clear();
  g->Colors()->AddStop(clWhite, 0, 0);
  g->Colors()->AddStop(clWhite, 100, 1);
  g->SetDirection(gdRadial);
  g->SetRadialX(-((topRect.Right - topRect.Left) / 2));
  g->SetRadialY(-((topRect.Bottom - topRect.Top) / 2));
  TPointFloatArray slice;
  if (!donut) {
    TPointFloat c{static_cast<float>(centre.X), static_cast<float>(centre.Y)};
    if (z != 0) Project3DF(c, static_cast<float>(z));
    slice.push_back(c);
    AddEllipsePoints(slice, *this, topRect, startAngle, endAngle, z);
  } else {
    AddEllipsePoints(slice, *this, topRect, startAngle, endAngle, z);
    AddEllipsePoints(slice, *this, innerRect, endAngle, startAngle, z);
  }
  PolygonF(slice, static_cast<int>(slice.size()) - 1);
}

void TGDIPlusCanvas::AddRimBand(std::uint8_t mode, int z, const TRect& topRect, const TRect& outerRect,
                                int startAngle, int endAngle) {
  constexpr int kFrom = 295, kTo = 335;
  const bool startIn = startAngle >= kFrom && startAngle <= kTo;
  const bool endIn = endAngle >= kFrom && endAngle <= kTo;
  const bool spans = startAngle <= kFrom && endAngle > kTo - 1;
  if (!spans && !startIn && !endIn) return;
  GradientPolygon.clear();
  AddEllipsePoints(GradientPolygon, *this, outerRect, kFrom, kTo, 0);
  AddEllipsePoints(GradientPolygon, *this, topRect, kTo, kFrom, z);
  TKelGradient* g = Brush()->Gradient();
  g->SetVisible(true);
  g->Colors()->Clear();
  if (mode == 0) {
    g->Colors()->AddStop(clWhite, 100, 0);
    g->Colors()->AddStop(clWhite, 20, 0.5);
    g->Colors()->AddStop(clWhite, 100, 1);
    g->SetDirection(gdTopBottom);
    g->SetAngle(90);
  } else {
    g->Colors()->AddStop(clWhite, 0, 0);
    g->Colors()->AddStop(clWhite, 100, 1);
    g->SetDirection(gdRadial);
    const TRectFloat b = BoundsOf(GradientPolygon);
    g->SetRadialX(-RoundInt((b.Right - b.Left) * 0.125L));
    g->SetRadialY(-RoundInt((b.Bottom - b.Top) * 0.125L));
  }
  int from = kFrom, to = kTo;
  if (startIn) {
    from = std::max(startAngle, kFrom);
  } else if (endIn) {
    to = endAngle;
  }
  TPointFloatArray band;
  AddEllipsePoints(band, *this, outerRect, from, to, 0);
  AddEllipsePoints(band, *this, topRect, to, from, z);
  PolygonF(band, static_cast<int>(band.size()) - 1);
}

void TGDIPlusCanvas::FillShapeGradient(std::uint8_t mode, int z, const TRect& topRect, const TRect& outerRect,
                                       const TRect& innerRect, int startAngle, int endAngle, TPoint centre,
                                       bool donut) {
  if (EnsureGraphics() == nullptr) return;
  TKelGradient saved;
  saved.Assign(Brush()->Gradient());
  const TPenStyle savedPen = Pen()->Style();
  Pen()->SetStyle(psClear);
  AddSliceHighlight(z, topRect, innerRect, startAngle, endAngle, centre, donut);
  if (mode == 0 || mode == 1) AddRimBand(mode, z, topRect, outerRect, startAngle, endAngle);
  Pen()->SetStyle(savedPen);
  Brush()->Gradient()->Assign(&saved);
  GradientPolygon.clear();
}
