// The panel background and the zoom and panning settings.
#include "chart/KelPanelExtended.h"

#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "chart/BackImage.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/PublishedField.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/ui/MessagesTypInfo.h"

const TEnumInfo& EnumTypeInfo(TPanningMode) {
  static const TEnumInfo info("TPanningMode", {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TKelZoomDirection) {
  static const TEnumInfo info("TKelZoomDirection", {"tzdHorizontal", "tzdVertical", "tzdBoth"});
  return info;
}

// ---- Zoom settings -----------------------------------------------------------------------------

const TClassInfo& TKelZoomPen::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelZoomPen>("TKelZoomPen", &TKelPen::StaticClass())
                                     .Property("Color", &TPen::Color, &TPen::SetColor)
                                     .Default(static_cast<TColor>(0xC0C0C0))
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Property("Width", &TPen::Width, &TPen::SetWidth)
                                     .Default(3)
                                     .Build();
  return info;
}

TKelZoomPen::TKelZoomPen(TNotifyEvent onChange) : TKelPen(nullptr) {
  SetColor(static_cast<TColor>(0xC0C0C0));
  SetWidth(3);
  OnChange = std::move(onChange);
}

const TClassInfo& TKelZoomBrush::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelZoomBrush>("TKelZoomBrush", &TKelBrush::StaticClass())
                                     .Property("Color", &TBrush::Color, &TBrush::SetColor)
                                     .Default(clWhite)
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Property("Style", &TBrush::Style, &TBrush::SetStyle)
                                     .Default(bsClear)
                                     .Build();
  return info;
}

TKelZoomBrush::TKelZoomBrush(TNotifyEvent onChange) : TKelBrush(nullptr) {
  SetDefaultColor(clWhite);
  SetStyle(bsClear);
  OnChange = std::move(onChange);
}

const TClassInfo& TKelZoom::StaticClass() {
  using Z = TKelZoom;
  static const TClassInfo info = TClassBuilder<Z>("TKelZoom", &TZoomPanning::StaticClass())
                                     .Property("Allow", FieldGet<&Z::Allow>, FieldSet<&Z::Allow>)
                                     .Default(true)
                                     .Property("Animated", FieldGet<&Z::Animated>, FieldSet<&Z::Animated>)
                                     .Default(false)
                                     .Property("AnimatedSteps", FieldGet<&Z::AnimatedSteps>, FieldSet<&Z::AnimatedSteps>)
                                     .Default(8)
                                     .Property("Brush", &Z::Brush, &Z::SetBrush)
                                     .Stored(&Z::HasBrush)
                                     .Property("Direction", FieldGet<&Z::Direction>, FieldSet<&Z::Direction>)
                                     .Default(tzdBoth)
                                     .Property("FullRepaint", FieldGet<&Z::FullRepaint>, FieldSet<&Z::FullRepaint>)
                                     .Default(false)
                                     .Property("History", &Z::History, &Z::SetHistory)
                                     .Default(false)
                                     .Property("KeepAspectRatio", FieldGet<&Z::KeepAspectRatio>, FieldSet<&Z::KeepAspectRatio>)
                                     .Default(false)
                                     .Property("KeyShift", FieldGet<&Z::KeyShift>, FieldSet<&Z::KeyShift>)
                                     .Default(TShiftState{})
                                     .Property("MinimumPixels", FieldGet<&Z::MinimumPixels>, FieldSet<&Z::MinimumPixels>)
                                     .Default(16)
                                     .Property("MouseButton", FieldGet<&Z::MouseButton>, FieldSet<&Z::MouseButton>)
                                     .Default(mbLeft)
                                     .Property("MouseWheel", FieldGet<&Z::MouseWheel>, FieldSet<&Z::MouseWheel>)
                                     .Default(pmwNone)
                                     .Property("Pen", &Z::Pen, &Z::SetPen)
                                     .Stored(&Z::HasPen)
                                     .Property("UpLeftZooms", FieldGet<&Z::UpLeftZooms>, FieldSet<&Z::UpLeftZooms>)
                                     .Default(false)
                                     .Build();
  return info;
}

TKelZoom::TKelZoom() = default;
TKelZoom::~TKelZoom() = default;

void TKelZoom::SetHistory(bool value) {
  history_ = value;
  if (!value) snapshots_.clear();
}

void TKelZoom::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TKelZoom*>(source)) {
    Allow = other->Allow;
    Animated = other->Animated;
    AnimatedSteps = other->AnimatedSteps;
    Direction = other->Direction;
    FullRepaint = other->FullRepaint;
    SetHistory(other->history_);
    KeepAspectRatio = other->KeepAspectRatio;
    KeyShift = other->KeyShift;
    MinimumPixels = other->MinimumPixels;
    MouseButton = other->MouseButton;
    MouseWheel = other->MouseWheel;
    UpLeftZooms = other->UpLeftZooms;
    SetBrush(other->brush_.get());
    SetPen(other->pen_.get());
    return;
  }
  TZoomPanning::Assign(source);
}

TKelZoomPen* TKelZoom::Pen() {
  if (!pen_) pen_ = std::make_unique<TKelZoomPen>();
  return pen_.get();
}

TKelZoomBrush* TKelZoom::Brush() {
  if (!brush_) brush_ = std::make_unique<TKelZoomBrush>();
  return brush_.get();
}

void TKelZoom::SetPen(TKelPen* value) {
  if (value == nullptr) pen_.reset();
  else if (value != pen_.get()) Pen()->Assign(value);
}

void TKelZoom::SetBrush(TKelBrush* value) {
  if (value == nullptr) brush_.reset();
  else if (value != brush_.get()) Brush()->Assign(value);
}

void TKelZoom::ApplyAspectRatio(const TRect& chartRect, int x, int y) {
  const double r = chartRect.Height() == 0 ? 1.0 : static_cast<double>(chartRect.Width()) / chartRect.Height();
  const double e = y == Y0 ? 1.0 : std::abs(static_cast<double>(x - X0)) / std::abs(static_cast<double>(y - Y0));
  if (e >= r) {
    const long long a = Round((x - X0) / r);
    Y1 = Y0 + static_cast<int>(a);
    X1 = X0 + static_cast<int>(Round(r * a));
  } else {
    const long long b = Round(r * (y - Y0));
    X1 = X0 + static_cast<int>(b);
    Y1 = Y0 + static_cast<int>(Round(b / r));
  }
}

// ---- Extended panel ----------------------------------------------------------------------------

const TClassInfo& TCustomKelPanelExtended::StaticClass() {
  using P = TCustomKelPanelExtended;
  static const TClassInfo info =
      TClassBuilder<P>("TCustomKelPanelExtended", &TCustomKelPanel::StaticClass())
          .Property("AllowPanning", &P::AllowPanning, &P::SetAllowPanning)
          .Default(pmBoth)
          .Property("Gradient", &P::Gradient, &P::SetGradient)
          .Stored(&P::HasGradient)
          .Property("ScrollMouseButton", &P::ScrollMouseButton, &P::SetScrollMouseButton)
          .Default(mbRight)
          .Property("Zoom", &P::Zoom, &P::SetZoom)
          .Property("ZoomWheel", &P::ZoomWheel, &P::SetZoomWheel)
          .Default(pmwNone)
          .Property("BackImage", &P::BackImage, &P::SetBackImage)
          .Stored(&P::HasBackImage)
          .Property("BackImageInside", &P::BackImageInside, &P::SetBackImageInside)
          .Default(false)
          .Property("BackImageMode", &P::BackImageMode, &P::SetBackImageMode)
          .Stored(&P::HasBackImage)
          .Default(pbmStretch)
          .Property("BackImageTransp", &P::BackImageTransp, &P::SetBackImageTransp)
          .Default(false)
          .Build();
  return info;
}

TCustomKelPanelExtended::TCustomKelPanelExtended(TComponent* owner)
    : TCustomKelPanel(owner), zoom_(std::make_unique<TKelZoom>()) {}

TCustomKelPanelExtended::~TCustomKelPanelExtended() = default;

void TCustomKelPanelExtended::DefineProperties(TFiler& filer) {
  TCustomKelPanel::DefineProperties(filer);
  filer.DefineProperty("AllowZoom", [this](TReader& r) { zoom_->Allow = r.ReadBoolean(); }, nullptr, false);
  filer.DefineProperty("AnimatedZoom", [this](TReader& r) { zoom_->Animated = r.ReadBoolean(); }, nullptr, false);
  filer.DefineProperty("AnimatedZoomSteps", [this](TReader& r) { zoom_->AnimatedSteps = r.ReadInteger(); }, nullptr,
                       false);
}

void TCustomKelPanelExtended::SetGradient(TKelGradient* value) {
  if (value == nullptr) gradient_.reset();
  else if (value != gradient_.get()) Gradient()->Assign(value);
  Invalidate();
}

void TCustomKelPanelExtended::SetZoom(TKelZoom* value) {
  if (value != nullptr && value != zoom_.get()) zoom_->Assign(value);
}

HPALETTE TCustomKelPanelExtended::GetPalette() {
  if (!backImage_ || !backImage_->HasGraphic()) return nullptr;
  auto* bitmap = dynamic_cast<TBitmap*>(backImage_->Graphic());
  return bitmap != nullptr ? bitmap->Palette() : nullptr;
}

HDC TCustomKelPanelExtended::GetDeviceContext(HWND& window) {
  if (Parent() != nullptr) return TCustomKelPanel::GetDeviceContext(window);
  if (auto* owner = dynamic_cast<TWinControl*>(Owner())) window = owner->Handle();
  return GetDC(window);
}

void TCustomKelPanelExtended::SetBackImageInside(bool value) { BackImage()->SetInside(value); }

void TCustomKelPanelExtended::SetBackImageMode(TKelBackImageMode value) { BackImage()->SetMode(value); }

bool TCustomKelPanelExtended::BackImageTransp() const {
  return backImage_ && backImage_->HasGraphic() && backImage_->Graphic()->Transparent();
}

void TCustomKelPanelExtended::SetBackImageTransp(bool value) {
  if (backImage_ && backImage_->HasGraphic()) backImage_->Graphic()->SetTransparent(value);
}

TKelGradient* TCustomKelPanelExtended::Gradient() {
  if (!gradient_) gradient_ = std::make_unique<TKelGradient>(ChangeCallback());
  return gradient_.get();
}

TColor TCustomKelPanelExtended::BackgroundColor() {
  if (gradient_ && gradient_->Visible()) return gradient_->StartColor();
  return TCustomKelPanel::BackgroundColor();
}

void TCustomKelPanelExtended::PaintPanelBackground(const TRect& r) {
  TCanvas3D* canvas = Canvas3D();
  canvas->BeginElement("Panel", 0, nullptr);
  canvas->SuspendRotation();
  struct End {
    TCanvas3D* canvas;
    ~End() {
      canvas->ResumeRotation();
      canvas->EndElement();
    }
  } end{canvas};
  // Nothing here changes from tick to tick: the pixels of the last paint serve again while the
  // size and the settings stay. A back image is drawn every time.
  if (backImage_ && backImage_->HasGraphic()) {
    PaintBackgroundLayer(r);
    return;
  }
  std::string key;
  for (int v : {static_cast<int>(Color()), Parent() != nullptr ? static_cast<int>(Parent()->Color()) : -1,
                ParentColor() ? 1 : 0, BorderRound(), static_cast<int>(BevelOuter()), static_cast<int>(BevelInner()),
                BevelWidth(), BorderWidth()})
    key += std::to_string(v) + ',';
  key += SettingsKey(Shadow()) + '|' + SettingsKey(Emboss()) + '|' + SettingsKey(Border()) + '|' +
         (gradient_ ? SettingsKey(gradient_.get()) : std::string("-"));
  PaintLayer(0, r, key, [&] { PaintBackgroundLayer(r); });
  // What the painting leaves on the canvas, kept or not.
  canvas->UsePen(Border());
  canvas->BrushGradient()->SetVisible(false);
}

void TCustomKelPanelExtended::PaintBackgroundLayer(const TRect& r) {
  TCanvas3D* canvas = Canvas3D();
  if (Color() != clNone) {
    const TColor fill = Parent() != nullptr ? Parent()->Color() : Color();
    canvas->BrushGradient()->SetVisible(false);
    canvas->Brush()->SetColor(fill);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetStyle(psClear);
    canvas->FillRect(r);
    for (TKelShadow* effect : {static_cast<TKelShadow*>(Shadow()), static_cast<TKelShadow*>(Emboss())}) {
      if (!effect->IsShown()) continue;
      const bool emboss = effect == Emboss();
      TRect e = r;
      const int h = effect->HorizSize(), v = effect->VertSize();
      if (!emboss) {
        if (h <= 0) e.Left -= h + 1; else e.Right -= h + 1;
        if (v > 0) e.Bottom -= v + 1; else e.Top -= v + 1;
      } else {
        if (h <= 0) e.Right -= h + 1; else e.Left += h + 1;
        if (v <= 0) e.Bottom -= v + 1; else e.Top += v + 1;
      }
      canvas->Pen()->SetStyle(psClear);
      effect->DrawRect(canvas, e, BorderRound(), 0);
    }
  }
  PaintFrameAndGradient(r);
  if (backImage_ && backImage_->HasGraphic() && !backImage_->Inside()) {
    DrawBackImage(r, 0);
    // A partly transparent gradient lies over the image too.
    if (gradient_ && gradient_->Visible() && gradient_->HasColors()) {
      bool seeThrough = false;
      for (int i = 0; i < gradient_->Colors()->Count(); ++i)
        seeThrough |= gradient_->Colors()->Item(i)->Transparency() > 0;
      if (seeThrough) PaintFrameAndGradient(r);
    }
  }
  PaintBevels(r);
}

TBackImage* TCustomKelPanelExtended::BackImage() {
  if (!backImage_) {
    backImage_ = std::make_unique<TBackImage>();
    backImage_->OnChange = ChangeCallback();
  }
  return backImage_.get();
}

void TCustomKelPanelExtended::SetBackImage(TBackImage* value) {
  if (value == nullptr) {
    backImage_.reset();
    Invalidate();
    return;
  }
  BackImage()->Assign(value);
}

void TCustomKelPanelExtended::DrawBackImage(const TRect& r, int depth) {
  if (backImage_) DrawBackImageOf(backImage_.get(), r, depth);
}

void TCustomKelPanelExtended::DrawBackImageOf(TBackImage* image, const TRect& r, int depth) {
  TCanvas3D* canvas = Canvas3D();
  if (canvas == nullptr || image == nullptr || !image->HasGraphic()) return;
  TGraphic* graphic = image->FilteredGraphic();
  if (graphic == nullptr) return;
  const TCanvasStretchQuality savedQuality = canvas->StretchQuality;
  canvas->StretchQuality = image->DrawQuality();
  struct Restore {
    TCanvas3D* canvas;
    TCanvasStretchQuality quality;
    bool clipped = false;
    ~Restore() {
      if (clipped) canvas->PopClip();
      canvas->StretchQuality = quality;
    }
  } restore{canvas, savedQuality};
  const bool orthogonal = View3DOptions()->Orthogonal();
  if (image->Mode() == pbmStretch) {
    if (depth == 0)
      canvas->DrawGraphicStretched(r, graphic);
    else if (orthogonal)
      canvas->DrawGraphicStretched(canvas->ProjectRect(r, depth), graphic);
    else
      canvas->DrawBitmap3D(r, graphic, depth, 2);
    return;
  }
  if (CanClip()) {
    if (depth != 0)
      canvas->ClipToBox3D(r, 0, ChartDepthPixels());
    else
      canvas->ClipToRect(r);
    restore.clipped = true;
  }
  TRect target = r;
  if (depth != 0 && orthogonal) {
    target = canvas->ProjectRect(r, depth);
    if (!View3D()) target.Top += 1;
  }
  // Turned views lay the picture on the plane at the depth instead.
  const bool onPlane = depth != 0 && !orthogonal;
  const int w = graphic->Width(), h = graphic->Height();
  if (image->Mode() == pbmTile) {
    if (w <= 0 || h <= 0) return;
    for (int y = target.Top; y < target.Bottom; y += h)
      for (int x = target.Left; x < target.Right; x += w) {
        if (depth > 0 && !orthogonal)
          canvas->DrawBitmap3D(TRect(x, y, x + w, y + h), graphic, depth, 2);
        else
          canvas->DrawGraphic(x, y, graphic);
      }
    return;
  }
  // Centred and custom pictures stand on the panel's own frame and gradient.
  PaintFrameAndGradient(target);
  bool stretched = false;
  const TRect place = image->Target(target, w, h, stretched);
  if (onPlane)
    canvas->DrawBitmap3D(place, graphic, depth, 2);
  else if (stretched)
    canvas->DrawGraphicStretched(place, graphic);
  else
    canvas->DrawGraphic(place.Left, place.Top, graphic);
}

void TCustomKelPanelExtended::DrawShapePicture(TBackImage* picture, const TRect& r, int z) {
  DrawBackImageOf(picture, r, z);
}

void TCustomKelPanelExtended::PaintFrameAndGradient(const TRect& r) {
  TCanvas3D* canvas = Canvas3D();
  TColor c = ParentColor() && Parent() != nullptr ? Parent()->Color() : Color();
  if (c != clNone) c = TKelCanvas::ColorToRGBValue(c);
  if (!Border()->Visible() && c == clNone) return;
  canvas->UsePen(Border());
  if (gradient_ && gradient_->Visible()) {
    canvas->BrushGradient()->Assign(gradient_.get());
  } else {
    canvas->BrushGradient()->SetVisible(false);
  }
  if (c == clNone) {
    canvas->Brush()->SetStyle(bsClear);
  } else {
    canvas->Brush()->SetImage(nullptr);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(c);
  }
  TRect f = r;
  if (Border()->Visible()) {
    BorderInset(f);
  } else {
    f.Right += 1;
    f.Bottom += 1;
  }
  if (BorderRound() <= 0)
    canvas->RectangleFromRect(f);
  else
    canvas->RoundRect(f.Left, f.Top, f.Right, f.Bottom, BorderRound(), BorderRound());
  canvas->BrushGradient()->SetVisible(false);
}

int TCustomKelPanelExtended::BorderInset(TRect& r) const {
  TKelPen* border = Border();
  if (border->SmallDots()) return 1;
  const int w = border->Width();
  if (w < 2) return w - 1;
  // A wide pen is centred on the edge: the rectangle moves in so that the line stays inside.
  const int d = (w - 1) / 2;
  const int odd = (w - 1) % 2;
  r.Left += d + odd;
  r.Top += d + odd;
  r.Right -= d;
  r.Bottom -= d;
  return d;
}

void TCustomKelPanelExtended::PaintBevels(TRect r) {
  if (BevelOuter() == bvNone && BevelInner() == bvNone && BorderWidth() == 0) return;
  TCanvas3D* canvas = Canvas3D();
  canvas->SuspendRotation();
  struct Resume {
    TCanvas3D* canvas;
    ~Resume() { canvas->ResumeRotation(); }
  } resume{canvas};
  TKelPen* pen = canvas->Pen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetMode(pmCopy);
  pen->SetSmallDots(false);
  canvas->ApplyPen();
  if (Border()->Visible()) {
    const int inset = BorderInset(r) + (Border()->SmallDots() ? 0 : 1);
    r.Left += inset;
    r.Top += inset;
    r.Right -= inset;
    r.Bottom -= inset;
  }
  auto bevel = [&](TBevelCut kind) {
    if (kind == bvNone) return;
    const int width = std::min({BevelWidth(), r.Height() / 2, r.Width() / 2});
    const TColor topLeft = kind == bvLowered ? static_cast<TColor>(0xA0A0A0) : clWhite;
    const TColor bottomRight = kind == bvRaised ? static_cast<TColor>(0xA0A0A0) : clWhite;
    if (BorderRound() <= 0) {
      canvas->DrawBevelFrame(r, topLeft, bottomRight, width);
      return;
    }
    canvas->Pen()->SetColor(topLeft);
    canvas->ApplyPen();
    canvas->Brush()->SetStyle(bsClear);
    r.Left += 1;
    r.Top += 1;
    r.Right -= 1;
    r.Bottom -= 1;
    canvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, BorderRound(), BorderRound());
    r.Left += width;
    r.Top += width;
    r.Right -= width;
    r.Bottom -= width;
  };
  bevel(BevelOuter());
  if (BorderWidth() > 0) canvas->DrawBevelFrame(r, Color(), Color(), BorderWidth());
  bevel(BevelInner());
}

void TCustomKelPanelExtended::DrawZoomRectangle() {
  TCanvas3D* canvas = Canvas3D();
  const bool full = zoom_->FullRepaint;
  if (zoom_->HasBrush()) {
    TKelBrush* brush = zoom_->Brush();
    TColor back = BackgroundColor();
    if (!full) back = static_cast<TColor>(static_cast<unsigned>(brush->Color()) ^ (0xFFFFFFu - static_cast<unsigned>(back)));
    UseBrushContrast(brush->Color(), brush, back);
  } else {
    canvas->Brush()->SetStyle(bsClear);
  }
  TKelPen* pen = zoom_->Pen();
  const bool direct = !full && canvas->CanDrawDirect();
  if (!direct) {
    canvas->UsePen(pen);
    canvas->Pen()->SetMode(pmCopy);
  } else {
    PrepareXorPen();
  }
  if (direct && dynamic_cast<TKelCanvas3D*>(canvas) != nullptr) {
    // The GDI canvas keeps the mix mode only while it prepares the pen: it is set again on the
    // very device context the rectangle is drawn on.
    HDC dc = canvas->PreparedDC(false);
    const int savedMode = SetROP2(dc, R2_NOTXORPEN);
    ::Rectangle(dc, zoom_->X0, zoom_->Y0, zoom_->X1, zoom_->Y1);
    SetROP2(dc, savedMode);
  } else {
    canvas->Rectangle(zoom_->X0, zoom_->Y0, zoom_->X1, zoom_->Y1);
  }
  if (!full) {
    canvas->Pen()->SetMode(pmCopy);
    canvas->ApplyPen();
  }
}

void TCustomKelPanelExtended::PrepareXorPen() {
  // On the background the not-xor of this colour shows the pen colour; drawn twice, nothing.
  TKelPen* pen = zoom_->Pen();
  const unsigned back = static_cast<unsigned>(BackgroundColor()) & 0xFFFFFFu;
  TKelPen xorPen;
  xorPen.Assign(pen);
  xorPen.SetMode(pmNotXor);
  Canvas3D()->UsePenColor(&xorPen,
                          static_cast<TColor>((0xFFFFFFu - back) ^ (static_cast<unsigned>(pen->Color()) & 0xFFFFFFu)));
}

void TCustomKelPanelExtended::RedrawZoomRectangle() {
  if (!zoom_->FullRepaint && Canvas3D()->CanDrawDirect())
    DrawZoomRectangle();
  else
    Invalidate();
}

void TCustomKelPanelExtended::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCustomKelPanelExtended*>(source); other != nullptr && other != this) {
    if (other->gradient_)
      Gradient()->Assign(other->gradient_.get());
    else
      gradient_.reset();
    if (other->backImage_)
      BackImage()->Assign(other->backImage_.get());
    else
      backImage_.reset();
    allowPanning_ = other->allowPanning_;
    scrollMouseButton_ = other->scrollMouseButton_;
    zoom_->Assign(other->zoom_.get());
    zoomWheel_ = other->zoomWheel_;
  }
  TCustomKelPanel::Assign(source);
}
