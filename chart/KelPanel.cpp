// The chart panel: canvas choice, paint cycle, margins, bitmap export, listeners.
#include "chart/KelPanel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelHtml.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Messages.h"

const TEnumInfo& EnumTypeInfo(TMouseWheelStyle) {
  static const TEnumInfo info("TMouseWheelStyle", {"pmwNormal", "pmwInverted", "pmwNone"});
  return info;
}

const TClassInfo& TZoomPanning::StaticClass() {
  static const TClassInfo info = TClassBuilder<TZoomPanning>("TZoomPanning", &TPersistent::StaticClass()).Build();
  return info;
}

void TZoomPanning::Normalize() {
  if (X0 > X1) std::swap(X0, X1);
  if (Y0 > Y1) std::swap(Y0, Y1);
}

const TClassInfo& TKelPanning::StaticClass() {
  using P = TKelPanning;
  static const TClassInfo info = TClassBuilder<P>("TKelPanning", &TZoomPanning::StaticClass())
                                     .Property("InsideBounds", &P::InsideBounds, &P::SetInsideBounds)
                                     .Default(false)
                                     .Property("MouseWheel", &P::MouseWheel, &P::SetMouseWheel)
                                     .Default(pmwNormal)
                                     .Build();
  return info;
}

void TKelPanning::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TKelPanning*>(source)) {
    insideBounds_ = other->insideBounds_;
    mouseWheel_ = other->mouseWheel_;
    return;
  }
  TZoomPanning::Assign(source);
}

TRepaintGuard::TRepaintGuard(TCustomKelPanel& panel) : panel_(panel), saved_(panel.RepaintEnabled()) {
  panel_.SetRepaintEnabled(false);
}

TRepaintGuard::~TRepaintGuard() { panel_.SetRepaintEnabled(saved_); }

// ---- TCustomPanelNoCaption --------------------------------------------------------------------

const TClassInfo& TCustomPanelNoCaption::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomPanelNoCaption>("TCustomPanelNoCaption", &TCustomPanel::StaticClass()).Build();
  return info;
}

TCustomPanelNoCaption::TCustomPanelNoCaption(TComponent* owner) : TCustomPanel(owner) {
  TControlStyle style = ControlStyle();
  style.Exclude(csSetCaption);
  SetControlStyle(style);
}

// ---- TCustomKelPanel --------------------------------------------------------------------------

const TClassInfo& TCustomKelPanel::StaticClass() {
  using P = TCustomKelPanel;
  static const TClassInfo info = TClassBuilder<P>("TCustomKelPanel", &TCustomPanelNoCaption::StaticClass())
                                     .Property("Color", &P::Color, &P::SetColor)
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Stored([](P& p) { return !p.ParentColor() && p.Color() != clBtnFace; })
                                     .Property("Border", &P::Border, &P::SetBorder)
                                     .Property("BorderRound", &P::BorderRound, &P::SetBorderRound)
                                     .Default(0)
                                     .Property("Emboss", &P::Emboss, &P::SetEmboss)
                                     .Property("MarginBottom", &P::MarginBottom, &P::SetMarginBottom)
                                     .Default(4)
                                     .Property("MarginLeft", &P::MarginLeft, &P::SetMarginLeft)
                                     .Default(3)
                                     .Property("MarginRight", &P::MarginRight, &P::SetMarginRight)
                                     .Default(3)
                                     .Property("MarginTop", &P::MarginTop, &P::SetMarginTop)
                                     .Default(4)
                                     .Property("MarginUnits", &P::MarginUnits, &P::SetMarginUnits)
                                     .Default(muPercent)
                                     .Property("Monochrome", &P::Monochrome, &P::SetMonochrome)
                                     .Default(false)
                                     .Property("Panning", &P::Panning, &P::SetPanning)
                                     .Property("PrintProportional", &P::PrintProportional,
                                               &P::SetPrintProportional)
                                     .Default(true)
                                     .Property("Shadow", &P::Shadow, &P::SetShadow)
                                     .Property("View3D", &P::View3D, &P::SetView3D)
                                     .Default(true)
                                     .Property("View3DOptions", &P::View3DOptions, &P::SetView3DOptions)
                                     .Build();
  return info;
}

TCustomKelPanel::TCustomKelPanel(TComponent* owner) : TCustomPanelNoCaption(owner) {
  SetBounds(Left(), Top(), 400, 250);
  SetTabStop(true);
  const TNotifyEvent changed = ChangeCallback();
  view3DOptions_ = std::make_unique<TView3DOptions>(this);
  panning_ = std::make_unique<TKelPanning>();
  shadow_ = std::make_unique<TKelShadow>(changed);
  emboss_ = std::make_unique<TKelEmboss>(changed);
  border_ = std::make_unique<TKelHiddenPen>(changed);
  deviceCanvas_ = Canvas();
  const bool loading = ComponentState().Contains(csLoading);
  if (!KelDefaultCanvasName.empty() && !loading)
    canvasClassName_ = ReadDefaultString("DefaultCanvas", KelDefaultCanvasName);
  CreateCanvasFromName();
  repaintEnabled_ = true;
}

TCustomKelPanel::~TCustomKelPanel() {
  destroying_ = true;
  repaintEnabled_ = false;
  canvas_.reset();
}

// ---- Canvas -----------------------------------------------------------------------------------

void TCustomKelPanel::CreateCanvasFromName() {
  const TClassInfo& wanted = FindCanvasClass(canvasClassName_);
  if (canvas_ && &canvas_->ClassType() == &wanted) return;
  // Monochrome lives in the canvas; a layout sets it before naming the canvas class.
  const bool monochrome = canvas_ && canvas_->IsMonochrome();
  canvas_.reset();
  TObject* made = wanted.CreateInstance();
  auto* canvas = dynamic_cast<TCanvas3D*>(made);
  if (canvas == nullptr) {
    delete made;
    canvas = new TKelCanvas3D();
  }
  canvas_.reset(canvas);
  canvas_->SetTargetCanvas(deviceCanvas_);
  if (monochrome) canvas_->ChangeMonochrome(true);
}

void TCustomKelPanel::ChangeCanvas(TCanvas3D* canvas) {
  if (canvas == nullptr) return;
  canvas->SetTargetCanvas(deviceCanvas_);
  if (canvas_) {
    TRepaintGuard guard(*this);
    canvas->AssignFrom(canvas_.get());
  }
  canvas_.reset(canvas);
  canvasClassName_ = canvas->ClassType().Name();
  Invalidate();
}

void TCustomKelPanel::Loaded() {
  TCustomPanelNoCaption::Loaded();
  if (!canvasClassName_.empty()) CreateCanvasFromName();
  if (!canvas_ || !canvas_->IsAvailable()) ChangeCanvas(new TKelCanvas3D());
  savedCursor_ = Cursor();
  SetRegion();
  baseWidth_ = Width();
  baseHeight_ = Height();
}

void TCustomKelPanel::DefineProperties(TFiler& filer) {
  TCustomPanelNoCaption::DefineProperties(filer);
  const auto* ancestor = dynamic_cast<const TCustomKelPanel*>(filer.Ancestor());
  filer.DefineProperty(
      "DefaultCanvas", [this](TReader& r) { canvasClassName_ = r.ReadString(); },
      [this](TWriter& w) { w.WriteString(canvasClassName_); },
      ancestor == nullptr || ancestor->canvasClassName_ != canvasClassName_);
  filer.DefineProperty(
      "PrintMargins",
      [this](TReader& r) {
        r.ReadListBegin();
        for (int i = 0; i < 4 && !r.EndOfList(); ++i) printMargins_[i] = r.ReadInteger();
        while (!r.EndOfList()) r.ReadInteger();
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (int margin : printMargins_) w.WriteInteger(margin);
        w.WriteListEnd();
      },
      std::any_of(std::begin(printMargins_), std::end(printMargins_), [](int m) { return m != 15; }));
  filer.DefineProperty(
      "BorderStyle", [this](TReader& r) { border_->SetVisible(r.ReadIdent() == "bsSingle"); }, nullptr, false);
}

void TCustomKelPanel::ReadState(TReader& reader) {
  {
    TRepaintGuard guard(*this);
    TCustomPanelNoCaption::ReadState(reader);
  }
  repaintEnabled_ = true;
  Invalidate();
}

// ---- Paint cycle ------------------------------------------------------------------------------

void TCustomKelPanel::Invalidate() {
  if (!repaintEnabled_) return;
  if (canvas_) canvas_->InvalidateBuffer();
  TCustomPanelNoCaption::Invalidate();
}

void TCustomKelPanel::Paint() {
  TCanvas* own = Canvas();
  TCanvas* previous = nullptr;
  bool changed = false;
  if (deviceCanvas_ != own) deviceCanvas_ = own;
  if (canvas_->DeviceCanvas() != own) {
    previous = canvas_->DeviceCanvas();
    canvas_->SetTargetCanvas(own);
    changed = true;
  }
  struct Restore {
    TCanvas3D* canvas;
    TCanvas* previous;
    bool changed;
    ~Restore() {
      if (changed && previous != nullptr) canvas->SetTargetCanvas(previous);
    }
  } restore{canvas_.get(), previous, changed};
  if (!canvas_->RestoreFromBuffer()) DrawOnDevice();
}

void TCustomKelPanel::DrawOnDevice() {
  const TRect rect = Parent() != nullptr ? ClientRect() : GetPanelRect();
  DrawTo(deviceCanvas_, rect);
}

void TCustomKelPanel::DrawTo(TCanvas* device, const TRect& rect) {
  if (baseWidth_ == 0 && baseHeight_ == 0) {
    baseWidth_ = Width();
    baseHeight_ = Height();
  }
  canvas_->PrepareFrame(device, view3DOptions_.get(), TKelCanvas::ColorToRGBValue(Color()), view3D_, rect,
                        panelRect_);
  ApplyMargins();
  ClampChartRect();
  BeforePaintHook();
  PaintChartArea(panelRect_);
  canvas_->FinishFrame(device, device, rect);
}

TRect TCustomKelPanel::GetPanelRect() {
  if (Parent() != nullptr && HandleAllocated()) return ClientRect();
  return TRect(0, 0, Width(), Height());
}

int TCustomKelPanel::BorderSize() const {
  int size = BorderWidth();
  if (BevelInner() != bvNone) size += BevelWidth();
  if (BevelOuter() != bvNone) size += BevelWidth();
  if (border_->Visible()) size += border_->Width();
  return size;
}

void TCustomKelPanel::ApplyMargins() {
  const int w = panelRect_.Width(), h = panelRect_.Height();
  const int b = BorderSize();
  int px[4];
  for (int i = 0; i < 4; ++i) {
    if (marginUnits_ == muPixels)
      px[i] = margins_[i];
    else
      px[i] = margins_[i] * (i % 2 == 0 ? w : h) / 100;
  }
  chartRect_ = TRect(panelRect_.Left + b + px[0], panelRect_.Top + b + px[1], panelRect_.Right - b - px[2],
                     panelRect_.Bottom - b - px[3]);
  if (shadow_->Visible()) {
    const int sh = shadow_->HorizSize(), sv = shadow_->VertSize();
    if (sh < 1)
      chartRect_.Left -= sh;
    else
      chartRect_.Right -= sh;
    if (sv < 1)
      chartRect_.Top -= sv;
    else
      chartRect_.Bottom -= sv;
  }
  if (emboss_->Visible()) {
    const int eh = emboss_->HorizSize(), ev = emboss_->VertSize();
    if (eh < 1)
      chartRect_.Right += eh;
    else
      chartRect_.Left += eh;
    if (ev < 1)
      chartRect_.Bottom += ev;
    else
      chartRect_.Top += ev;
  }
}

void TCustomKelPanel::ClampChartRect() {
  chartRect_.Left = std::max(chartRect_.Left, panelRect_.Left);
  chartRect_.Top = std::max(chartRect_.Top, panelRect_.Top);
  if (chartRect_.Right < chartRect_.Left)
    chartRect_.Right = chartRect_.Left + 1;
  else if (chartRect_.Right == chartRect_.Left)
    chartRect_.Right = chartRect_.Left + Width();
  if (chartRect_.Bottom < chartRect_.Top)
    chartRect_.Bottom = chartRect_.Top + 1;
  else if (chartRect_.Bottom == chartRect_.Top)
    chartRect_.Bottom = chartRect_.Top + Height();
  chartWidth_ = chartRect_.Width();
  chartHeight_ = chartRect_.Height();
  chartXCenter_ = (chartRect_.Left + chartRect_.Right) / 2;
  chartYCenter_ = (chartRect_.Top + chartRect_.Bottom) / 2;
}

TColor TCustomKelPanel::BackgroundColor() { return TKelCanvas::ColorToRGBValue(Color()); }

bool TCustomKelPanel::CanClip() { return !(view3D_ && canvas_->SupportsFull3D()); }

void TCustomKelPanel::UseBrushContrast(TColor fore, TKelBrush* brush, TColor back) {
  if (brush->Style() != bsSolid && fore == back) fore = back != 0 ? clBlack : clWhite;
  canvas_->UseBrushColors(brush, fore, back);
}

// ---- Layers -----------------------------------------------------------------------------------

std::string TCustomKelPanel::SettingsKey(TPersistent* object) {
  if (object == nullptr) return "-";
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteProperties(object);
  }
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

HDC TCustomKelPanel::LayerDC() {
  TCanvas3D* canvas = canvas_.get();
  if (canvas == nullptr || canvas->SupportsFull3D()) return nullptr;
  if (canvas->Transform.has_value() && canvas->Transform->Enabled) return nullptr;
  if (auto* plus = dynamic_cast<TGDIPlusCanvas*>(canvas); plus != nullptr && plus->Scale != 1) return nullptr;
  HDC dc = canvas->GetDeviceHandle();
  if (dc == nullptr || GetObjectType(dc) != OBJ_MEMDC) return nullptr;
  if (GetGraphicsMode(dc) == GM_ADVANCED) {
    XFORM x{};
    GetWorldTransform(dc, &x);
    if (x.eM11 != 1 || x.eM12 != 0 || x.eM21 != 0 || x.eM22 != 1 || x.eDx != 0 || x.eDy != 0) return nullptr;
  }
  return dc;
}

void TCustomKelPanel::PaintLayer(int slot, const TRect& r, const std::string& key, const std::function<void()>& paint) {
  TLayer& layer = layers_[slot];
  const int w = r.Width(), h = r.Height();
  HDC dc = w > 0 && h > 0 ? LayerDC() : nullptr;
  if (dc == nullptr) {
    layer.pixels.reset();
    paint();
    return;
  }
  // A layer holds what lay under it too: it is stale once a lower layer was painted anew.
  std::string full = FullLayerKey(key + '|' + std::to_string(slot > 0 ? layerEpoch_ : 0));
  if (layer.pixels && layer.key == full && layer.rect == r) {
    BitBlt(dc, r.Left, r.Top, w, h, layer.pixels->Canvas()->Handle(), 0, 0, SRCCOPY);
    return;
  }
  layer.pixels.reset();
  paint();
  if (slot == 0) ++layerEpoch_;
  dc = LayerDC();
  if (dc == nullptr) return;
  GdiFlush();
  auto pixels = std::make_unique<TBitmap>();
  pixels->SetPixelFormat(pf32bit);
  pixels->SetSize(w, h);
  BitBlt(pixels->Canvas()->Handle(), 0, 0, w, h, dc, r.Left, r.Top, SRCCOPY);
  layer.key = std::move(full);
  layer.rect = r;
  layer.pixels = std::move(pixels);
}

void TCustomKelPanel::DropLayers() {
  for (TLayer& layer : layers_) layer.pixels.reset();
  for (TKept& kept : kept_) kept = TKept();
}

std::string TCustomKelPanel::FullLayerKey(const std::string& key) {
  std::string full = key;
  full += '|' + std::to_string(reinterpret_cast<std::uintptr_t>(canvas_.get())) + canvas_->ClassType().Name();
  full += '|' + std::to_string(elementChanges_);
  full += canvas_->IsMonochrome() ? "m" : "c";
  if (auto* plus = dynamic_cast<TGDIPlusCanvas*>(canvas_.get())) full += plus->Antialias ? "a" : "n";
  return full;
}

namespace {

// The rows of the bitmap selected into a memory device context, read and written in place.
struct TDibRows {
  unsigned char* bits = nullptr;
  int stride = 0, width = 0, height = 0, pixelBytes = 0;
  bool bottomUp = false;
  // Device pixels from logical ones (the device context's origins moved).
  POINT origin{};

  bool Open(HDC dc) {
    DIBSECTION dib{};
    if (GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr)
      return false;
    if (dib.dsBm.bmBitsPixel != 24 && dib.dsBm.bmBitsPixel != 32) return false;
    if (GetMapMode(dc) != MM_TEXT) return false;
    POINT p{0, 0};
    if (!LPtoDP(dc, &p, 1)) return false;
    origin = p;
    bits = static_cast<unsigned char*>(dib.dsBm.bmBits);
    stride = dib.dsBm.bmWidthBytes;
    width = dib.dsBm.bmWidth;
    height = dib.dsBm.bmHeight;
    pixelBytes = dib.dsBm.bmBitsPixel / 8;
    bottomUp = dib.dsBmih.biHeight > 0;
    return true;
  }
  // A logical rectangle in device pixels, cut to the bitmap.
  TRect Device(const TRect& r) const {
    const int dx = static_cast<int>(origin.x), dy = static_cast<int>(origin.y);
    return TRect(std::max(0, r.Left + dx), std::max(0, r.Top + dy), std::min(width, r.Right + dx),
                 std::min(height, r.Bottom + dy));
  }
  unsigned char* At(int x, int y) const {
    return bits + static_cast<std::ptrdiff_t>(bottomUp ? height - 1 - y : y) * stride +
           static_cast<std::ptrdiff_t>(x) * pixelBytes;
  }
  // The pixels of device rectangle d, row after row.
  std::vector<unsigned char> Read(const TRect& d) const {
    std::vector<unsigned char> out;
    const size_t row = static_cast<size_t>(d.Width()) * pixelBytes;
    out.resize(row * static_cast<size_t>(std::max(0, d.Height())));
    for (int y = d.Top; y < d.Bottom; ++y) std::memcpy(&out[row * (y - d.Top)], At(d.Left, y), row);
    return out;
  }
  bool Same(const TRect& d, const std::vector<unsigned char>& pixels) const {
    const size_t row = static_cast<size_t>(d.Width()) * pixelBytes;
    if (pixels.size() != row * static_cast<size_t>(std::max(0, d.Height()))) return false;
    for (int y = d.Top; y < d.Bottom; ++y)
      if (std::memcmp(&pixels[row * (y - d.Top)], At(d.Left, y), row) != 0) return false;
    return true;
  }
  void Write(const TRect& d, const std::vector<unsigned char>& pixels) const {
    const size_t row = static_cast<size_t>(d.Width()) * pixelBytes;
    for (int y = d.Top; y < d.Bottom; ++y) std::memcpy(At(d.Left, y), &pixels[row * (y - d.Top)], row);
  }
};

// Whether the colour of a pixel of `outer` outside `inner` differs between two reads of `outer`
// (the fourth byte of a 32-bit pixel is no colour: GDI clears it where it draws).
bool ChangedAround(const TRect& outer, const TRect& inner, const std::vector<unsigned char>& before,
                   const std::vector<unsigned char>& after, int pixelBytes) {
  const size_t row = static_cast<size_t>(outer.Width()) * pixelBytes;
  for (int y = outer.Top; y < outer.Bottom; ++y) {
    const unsigned char* a = &before[row * (y - outer.Top)];
    const unsigned char* b = &after[row * (y - outer.Top)];
    const bool inside = y >= inner.Top && y < inner.Bottom;
    for (int x = outer.Left; x < outer.Right; ++x) {
      if (inside && x >= inner.Left && x < inner.Right) continue;
      const size_t o = static_cast<size_t>(x - outer.Left) * pixelBytes;
      if (a[o] != b[o] || a[o + 1] != b[o + 1] || a[o + 2] != b[o + 2]) return true;
    }
  }
  return false;
}

}  // namespace

bool TCustomKelPanel::PaintKept(int slot, const TRect& r, const std::string& key, const std::function<void()>& paint) {
  TKept& kept = kept_[slot];
  HDC dc = r.Width() > 0 && r.Height() > 0 ? LayerDC() : nullptr;
  TDibRows rows;
  if (dc == nullptr || !rows.Open(dc)) {
    kept = TKept();
    paint();
    return false;
  }
  const std::string full = FullLayerKey(key);
  GdiFlush();
  const TRect d = rows.Device(r);
  if (d.Width() <= 0 || d.Height() <= 0) {
    kept = TKept();
    paint();
    return false;
  }
  if (kept.key == full && kept.rect == d) {
    if (kept.refused) {
      paint();
      return false;
    }
    if (rows.Same(d, kept.under)) {
      rows.Write(d, kept.over);
      ++keptPaints_;
      return true;
    }
  }
  // Painted anew; a band around the rectangle shows whether the painting kept inside it.
  constexpr int kBand = 8;
  const TRect around = rows.Device(TRect(r.Left - kBand, r.Top - kBand, r.Right + kBand, r.Bottom + kBand));
  const std::vector<unsigned char> before = rows.Read(around);
  kept = TKept();
  paint();
  dc = LayerDC();
  TDibRows now;
  if (dc == nullptr || !now.Open(dc) || now.bits != rows.bits || now.origin.x != rows.origin.x ||
      now.origin.y != rows.origin.y)
    return false;
  GdiFlush();
  const std::vector<unsigned char> after = now.Read(around);
  kept.key = full;
  kept.rect = d;
  kept.refused = ChangedAround(around, d, before, after, now.pixelBytes);
  if (kept.refused) return false;
  // The pixels under the rectangle are those the band read before painting.
  kept.under.resize(static_cast<size_t>(d.Width()) * now.pixelBytes * d.Height());
  const size_t outerRow = static_cast<size_t>(around.Width()) * now.pixelBytes;
  const size_t row = static_cast<size_t>(d.Width()) * now.pixelBytes;
  for (int y = d.Top; y < d.Bottom; ++y)
    std::memcpy(&kept.under[row * (y - d.Top)],
                &before[outerRow * (y - around.Top) + static_cast<size_t>(d.Left - around.Left) * now.pixelBytes], row);
  kept.over = now.Read(d);
  return false;
}

// ---- Export -----------------------------------------------------------------------------------

std::unique_ptr<TBitmap> TCustomKelPanel::RenderToBitmap(TColor color, const TRect& rect, TPixelFormat format) {
  auto bitmap = std::make_unique<TBitmap>();
  if (canvas_ && color == Color() && canvas_->CopyBufferTo(bitmap.get(), rect)) {
    bitmap->SetPixelFormat(format);
    MakeExportTransparent(*bitmap, color);
    return bitmap;
  }
  if (canvas_ && canvas_->SupportsFull3D() && format == pfDevice) format = pf24bit;
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(rect.Width(), rect.Height());
  if (color != clWhite) {
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(color == clDefault ? Color() : color);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(TRect(0, 0, rect.Width(), rect.Height()));
  }
  DrawToCanvas(bitmap->Canvas(), rect);
  MakeExportTransparent(*bitmap, color);
  return bitmap;
}

void TCustomKelPanel::MakeExportTransparent(TBitmap& bitmap, TColor color) {
  if (color != clNone && color != static_cast<TColor>(0xFF000000)) return;
  bitmap.SetTransparentMode(tmFixed);
  bitmap.SetTransparentColor(color);
  bitmap.SetTransparent(true);
}

void TCustomKelPanel::AssignTo(TPersistent* dest) {
  if (dynamic_cast<TGraphic*>(dest) != nullptr || dynamic_cast<TPicture*>(dest) != nullptr) {
    std::unique_ptr<TBitmap> bitmap = PanelBitmap();
    dest->Assign(bitmap.get());
    return;
  }
  TCustomPanelNoCaption::AssignTo(dest);
}

void TCustomKelPanel::DrawToCanvas(TCanvas* target, const TRect& rect) {
  TCanvas3D* canvas = canvas_.get();
  TCanvas* oldTarget = canvas->DeviceCanvas();
  const bool hadOptions = canvas->View3DOptions != nullptr;
  const bool wasBuffered = canvas->GetBuffered();
  auto* gdi = dynamic_cast<TKelCanvas3D*>(canvas);
  struct Restore {
    TCustomKelPanel& panel;
    TCanvas3D* canvas;
    TKelCanvas3D* gdi;
    TCanvas* oldTarget;
    bool hadOptions, wasBuffered;
    ~Restore() {
      if (!hadOptions) canvas->View3DOptions = nullptr;
      canvas->SetBuffered(wasBuffered);
      canvas->SetTargetCanvas(oldTarget);
      if (gdi) gdi->KeepBuffer = false;
      if (!wasBuffered) panel.Invalidate();
    }
  } restore{*this, canvas, gdi, oldTarget, hadOptions, wasBuffered};
  if (gdi) gdi->KeepBuffer = true;
  canvas->SetBuffered(false);
  TRepaintGuard guard(*this);
  DrawTo(target, rect);
}

void TCustomKelPanel::WriteBitmapFileRect(const std::string& fileName, const TRect& rect) {
  std::unique_ptr<TBitmap> bitmap = RenderToBitmap(clWhite, rect, pfDevice);
  bitmap->SaveToFile(fileName);
}

// ---- Text -------------------------------------------------------------------------------------

TKelFont* TCustomKelPanel::DefaultFont() {
  if (ParentPanel != nullptr && ParentPanel != this) return ParentPanel->DefaultFont();
  if (!panelFont_) panelFont_ = std::make_unique<TKelFont>(ChangeCallback());
  return panelFont_.get();
}

void TCustomKelPanel::AssignCanvasFont(TKelFont* font) {
  if (font->DefaultFont()) font = DefaultFont();
  if (view3D_)
    canvas_->AssignFontZoomed(font);
  else
    canvas_->AssignFont(font);
}

void TCustomKelPanel::AssignShapeFontFlat(TKelFont* font) {
  canvas_->AssignFont(font->DefaultFont() ? DefaultFont() : font);
}

void TCustomKelPanel::TextLinesExtent(const std::string& text, bool markUp, int& width, int& height) {
  width = 0;
  height = 0;
  const int lines = TextLineCount(text);
  int lineHeight = -1;
  for (int n = 1; n <= lines; ++n) {
    std::string piece = lines == 1 ? text : FieldAtSep(text, n, "\r");
    piece = ReplaceChar(piece, '\n', '\0');
    if (markUp) {
      // Tags take no room; sizes and headings change the line's height.
      const TSize extent = MarkupTextExtentKeepingState(*canvas_, piece);
      width = std::max(width, static_cast<int>(extent.cx));
      height += extent.cy;
      continue;
    }
    width = std::max(width, canvas_->MeasureTextWidth(piece));
    if (lineHeight < 0) lineHeight = canvas_->LineHeight();
    height += lineHeight;
  }
}

// ---- Listeners --------------------------------------------------------------------------------

void TKelEventListeners::Remove(IKelEventListener* listener) {
  items_.erase(std::remove(items_.begin(), items_.end(), listener), items_.end());
}

void TCustomKelPanel::RemoveListener(IKelEventListener* listener) { listeners_.Remove(listener); }

void TCustomKelPanel::Broadcast(TKelEvent& event) {
  if (destroying_) return;
  event.Sender = this;
  const bool mouse = dynamic_cast<TKelMouseEvent*>(&event) != nullptr;
  const std::vector<IKelEventListener*> listeners = listeners_.Snapshot();
  for (IKelEventListener* listener : listeners) {
    listener->ChartEvent(event);
    if (mouse && MouseHandled) break;
  }
}

void TCustomKelPanel::BroadcastMouse(int kind, TMouseButton button, TShiftState shift, int x, int y) {
  if (listeners_.Empty()) return;
  TKelMouseEvent event;
  event.Kind = kind;
  event.Button = button;
  event.Shift = shift;
  event.X = x;
  event.Y = y;
  Broadcast(event);
}

// ---- Properties -------------------------------------------------------------------------------

void TCustomKelPanel::SetBorder(TKelPen* value) {
  if (value != nullptr && value != border_.get()) border_->Assign(value);
}

void TCustomKelPanel::SetEmboss(TKelEmboss* value) {
  if (value != nullptr && value != emboss_.get()) emboss_->Assign(value);
  Invalidate();
}

void TCustomKelPanel::SetShadow(TKelShadow* value) {
  if (value != nullptr && value != shadow_.get()) shadow_->Assign(value);
  Invalidate();
}

void TCustomKelPanel::SetPanning(TKelPanning* value) {
  if (value != nullptr && value != panning_.get()) panning_->Assign(value);
}

void TCustomKelPanel::SetView3DOptions(TView3DOptions* value) {
  if (value != nullptr && value != view3DOptions_.get()) view3DOptions_->Assign(value);
}

bool TCustomKelPanel::Monochrome() const { return canvas_ && canvas_->IsMonochrome(); }

void TCustomKelPanel::SetMonochrome(bool value) {
  if (!canvas_ || canvas_->IsMonochrome() == value) return;
  canvas_->ChangeMonochrome(value);
  Invalidate();
}

void TCustomKelPanel::SetPrintProportional(bool value) {
  if (printProportional_ == value) return;
  printProportional_ = value;
  Invalidate();
}

void TCustomKelPanel::SetBorderRound(int value) {
  if (value == borderRound_) return;
  borderRound_ = value;
  if (!ComponentState().Contains(csLoading)) SetRegion();
  Invalidate();
}

void TCustomKelPanel::SetMargin(int index, int value) {
  if (margins_[index] == value) return;
  margins_[index] = value;
  Invalidate();
}

void TCustomKelPanel::SetMarginUnits(TKelUnits value) {
  if (value == marginUnits_) return;
  marginUnits_ = value;
  Invalidate();
}

void TCustomKelPanel::SetView3D(bool value) {
  if (value == view3D_) return;
  view3D_ = value;
  Invalidate();
  BroadcastNew<TKelView3DEvent>();
}

void TCustomKelPanel::SetRegion() {
  if (settingRegion_ || Parent() == nullptr || !HandleAllocated()) return;
  settingRegion_ = true;
  if (borderRound_ > 0)
    SetWindowRgn(Handle(), CreateRoundRectRgn(0, 0, Width(), Height(), borderRound_, borderRound_), TRUE);
  else
    SetWindowRgn(Handle(), nullptr, TRUE);
  settingRegion_ = false;
}

void TCustomKelPanel::Resize() {
  if (!ComponentState().Contains(csLoading)) {
    if (borderRound_ > 0) SetRegion();
    // Automatic text zoom follows the larger relative growth of the panel since loading.
    if (view3DOptions_ && view3DOptions_->ZoomText() == ztAuto && baseWidth_ > 0 && baseHeight_ > 0) {
      const int byHeight = static_cast<int>(Round(static_cast<long double>(Height() - baseHeight_) * 100 / baseHeight_));
      const int byWidth = static_cast<int>(Round(static_cast<long double>(Width() - baseWidth_) * 100 / baseWidth_));
      view3DOptions_->SetFontZoom(100 + std::max(byHeight, byWidth));
    }
  }
  TCustomPanelNoCaption::Resize();
}

void TCustomKelPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  MouseHandled = false;
  TCustomPanelNoCaption::MouseDown(button, shift, x, y);
  if (!MouseHandled) BroadcastMouse(0, button, shift, x, y);
  if (CanFocus() && TabStop() && !Focused() && Parent() != nullptr && !Parent()->Focused()) SetFocus();
}

void TCustomKelPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  MouseHandled = false;
  TCustomPanelNoCaption::MouseUp(button, shift, x, y);
  BroadcastMouse(1, button, shift, x, y);
}

void TCustomKelPanel::MouseMove(TShiftState shift, int x, int y) {
  MouseHandled = false;
  TCustomPanelNoCaption::MouseMove(shift, x, y);
  if (!listeners_.Empty() && !ComponentState().Contains(csDesigning)) BroadcastMouse(2, mbLeft, shift, x, y);
}

void TCustomKelPanel::MouseLeave() {
  SetCursor(savedCursor_);
  if (panning_->InsideBounds()) panning_->Active = false;
  TCustomPanelNoCaption::MouseLeave();
  TMouseLeaveEvent leave;
  Broadcast(leave);
}

void TCustomKelPanel::DblClick() {
  MouseHandled = false;
  TCustomPanelNoCaption::DblClick();
  if (MouseHandled) throw EAbort();
}

void TCustomKelPanel::CreateParams(TCreateParams& params) {
  TCustomPanelNoCaption::CreateParams(params);
  params.WindowClass.style |= CS_OWNDC;
  if (Color() == clNone) params.ExStyle |= WS_EX_TRANSPARENT;
}

void TCustomKelPanel::CreateWnd() {
  TCustomPanelNoCaption::CreateWnd();
  if (canvas_) canvas_->View3DOptions = nullptr;
}

void TCustomKelPanel::ChangeScale(int m, int d) {
  if (m != d && d != 0) {
    // The canvas's factor keeps its fraction across several changes; the option is rounded.
    const double factor = canvas_ && canvas_->TextZoom > 0 ? canvas_->TextZoom : view3DOptions_->FontZoom();
    const double zoom = factor * m / d;
    if (canvas_) canvas_->TextZoom = zoom;
    view3DOptions_->SetFontZoom(static_cast<int>(Round(zoom)));
  }
  TCustomPanelNoCaption::ChangeScale(m, d);
}

void TCustomKelPanel::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      // The paint covers every pixel; erasing first would only flicker.
      message.Result = 1;
      return;
    case WM_UPDATEUISTATE:
      return;
    case WM_GETDLGCODE:
      TCustomPanelNoCaption::WndProc(message);
      message.Result |= DLGC_WANTARROWS;
      return;
    case WM_SYSCOLORCHANGE:
      TCustomPanelNoCaption::WndProc(message);
      Invalidate();
      return;
    default:
      TCustomPanelNoCaption::WndProc(message);
  }
}

// ---- Copying --------------------------------------------------------------------------------

void TCustomKelPanel::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TCustomKelPanel*>(source);
  if (other == nullptr) {
    TCustomPanelNoCaption::Assign(source);
    return;
  }
  if (other == this) return;
  SetBevelInner(other->BevelInner());
  SetBevelOuter(other->BevelOuter());
  SetBevelWidth(other->BevelWidth());
  border_->Assign(other->border_.get());
  SetBorderRound(other->borderRound_);
  if (canvas_ && other->canvas_) canvas_->SetBuffered(other->canvas_->GetBuffered());
  SetColor(other->Color());
  emboss_->Assign(other->emboss_.get());
  for (int i = 0; i < 4; ++i) margins_[i] = other->margins_[i];
  marginUnits_ = other->marginUnits_;
  panning_->Assign(other->panning_.get());
  for (int i = 0; i < 4; ++i) printMargins_[i] = other->printMargins_[i];
  printProportional_ = other->printProportional_;
  SetMonochrome(other->Monochrome());
  shadow_->Assign(other->shadow_.get());
  view3D_ = other->view3D_;
  view3DOptions_->Assign(other->view3DOptions_.get());
  Invalidate();
}
