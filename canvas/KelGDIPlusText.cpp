// TGDIPlusCanvas, text side: the GDI+ font made from the canvas font (the two stored fonts come
// from the canvas's private font collection), the text rendering hint, and text measured and
// drawn with alignment, rotation, opaque background, shadow and emboss, outline and gradient
// or picture fill. The GDI+ font is rebuilt only when name, effective size or style change.
//
// Invariant: a rotated text leaves the world transform exactly as it found it.
#include <algorithm>
#include <cmath>

#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilter.h"
#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/TextConv.h"

namespace {
constexpr int kUnitPoint = 3;
int RoundInt(long double v) { return static_cast<int>(Round(v)); }

int GdiPlusStyleOf(TFontStyles style) {
  return (style.Contains(fsBold) ? 1 : 0) | (style.Contains(fsItalic) ? 2 : 0) |
         (style.Contains(fsUnderline) ? 4 : 0) | (style.Contains(fsStrikeOut) ? 8 : 0);
}

// TextRenderingHint of a text quality.
int HintOf(TGDIPlusFontQuality quality) {
  switch (quality) {
    case gpfBest: return 4;        // antialiased
    case gpfClearType: return 5;   // ClearType, grid-fitted
    case gpfNormal: return 1;      // one bit per pixel, grid-fitted
    case gpfDefault: break;
  }
  return 0;
}

// A shadow or emboss that draws a copy of the text.
bool Draws(TKelShadow* effect) { return effect->Visible() && effect->ReadSize() != 0; }

// The extra size visible shadow and emboss add to a measured text.
void EffectSizes(TKelFont* font, float& width, float& height) {
  width = height = 0;
  if (font->HasShadow() && font->Shadow()->Visible()) {
    width += std::abs(font->Shadow()->HorizSize());
    height += std::abs(font->Shadow()->VertSize());
  }
  if (font->HasEmboss() && font->Emboss()->Visible()) {
    width += std::abs(font->Emboss()->HorizSize());
    height += std::abs(font->Emboss()->VertSize());
  }
}
}  // namespace

// ---- Fonts -----------------------------------------------------------------------------------

void TGDIPlusCanvas::LoadPrivateFonts() {
  HMODULE exe = GetModuleHandleW(nullptr);
  for (const wchar_t* name : {L"KELLCDFONT", L"KELLEDFONT"}) {
    HRSRC res = FindResourceW(exe, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (res == nullptr) continue;
    HGLOBAL loaded = LoadResource(exe, res);
    const DWORD size = SizeofResource(exe, res);
    const auto* bytes = static_cast<const unsigned char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (bytes == nullptr || size == 0) continue;
    // GDI+ reads the font from this memory for as long as the collection lives.
    privateFontMemory_.emplace_back(bytes, bytes + size);
    privateFonts_->AddMemoryFont(privateFontMemory_.back().data(), static_cast<int>(size));
  }
}

TGPFontFamily* TGDIPlusCanvas::FindPrivateFontFamily(const std::string& name) {
  if (name != KelLcdFontFamily && name != KelLedFontFamily) return nullptr;
  if (privateFonts_ == nullptr) {
    privateFonts_ = std::make_unique<TGPPrivateFontCollection>();
    LoadPrivateFonts();
  }
  const int count = privateFonts_->GetFamilyCount();
  if (count <= 0) return nullptr;
  std::vector<std::unique_ptr<TGPFontFamily>> families(count);
  std::vector<TGPFontFamily*> raw(count);
  for (int i = 0; i < count; ++i) {
    families[i] = std::make_unique<TGPFontFamily>();
    raw[i] = families[i].get();
  }
  int found = 0;
  privateFonts_->GetFamilies(count, raw.data(), found);
  const std::wstring wanted = Utf8ToWide(name);
  for (int i = 0; i < std::min(found, count); ++i) {
    if (families[i]->Native() != nullptr && families[i]->GetFamilyName() == wanted) return families[i].release();
  }
  return nullptr;
}

void TGDIPlusCanvas::ApplyFont() {
  TKelCanvas3D::ApplyFont();  // the device font serves the inherited wide-string measures
  TKelFont* f = Font();
  if (f == nullptr || !GdiPlusStarted()) return;
  float size = std::max(f->SizeFloat(), 0.1f);
  if (NoBitmapEffects && DeviceCanvas() != nullptr && DeviceCanvas()->Font()->PixelsPerInch() != 0) {
    size = f->PixelsPerInch() * size / DeviceCanvas()->Font()->PixelsPerInch();
  }
  const int style = GdiPlusStyleOf(f->Style());
  if (font_ == nullptr || f->Name() != fontName_ || size != fontSize_ || style != fontStyle_) {
    font_.reset();
    if (std::unique_ptr<TGPFontFamily> family{FindPrivateFontFamily(f->Name())}) {
      font_ = std::make_unique<TGPFont>(family.get(), size, style, kUnitPoint);
    } else {
      font_ = std::make_unique<TGPFont>(Utf8ToWide(f->Name()), size, style, kUnitPoint);
    }
    fontName_ = f->Name();
    fontSize_ = size;
    fontStyle_ = style;
  }
  if (graphics_ == nullptr) return;
  TGDIPlusFontQuality quality = gpfDefault;
  switch (f->Quality()) {
    case TKelFontQuality::fqBest: quality = gpfBest; break;
    case TKelFontQuality::fqNormal: quality = gpfNormal; break;
    case TKelFontQuality::fqClearType: quality = gpfClearType; break;
    case TKelFontQuality::fqDefault:
      quality = ReadAntiAliasText();
      if (quality == gpfDefault) quality = size >= 20 ? gpfBest : gpfClearType;
      break;
  }
  graphics_->SetTextRenderingHint(HintOf(quality));
}

// ---- Measuring -------------------------------------------------------------------------------

bool TGDIPlusCanvas::MeasureBounds(const std::wstring& text, TGPStringFormat* format, TGPRectF& bounds) {
  bounds = TGPRectF{};
  if (EnsureGraphics() == nullptr) return false;
  if (font_ == nullptr) ApplyFont();
  if (font_ == nullptr) return false;
  std::wstring key = Utf8ToWide(fontName_);
  for (const float v : {fontSize_, static_cast<float>(fontStyle_), static_cast<float>(graphics_->GetTextRenderingHint()),
                        graphics_->GetDpiY()})
    key += L'|' + std::to_wstring(v);
  key += format == nullptr ? L"|d|" : format == GenericTypographicFormat() ? L"|t|" : L"|o|";
  const bool known = format == nullptr || format == GenericTypographicFormat();
  key += text;
  if (known) {
    if (const auto found = measured_.find(key); found != measured_.end()) {
      bounds = found->second;
      return true;
    }
  }
  if (graphics_->MeasureString(text, font_.get(), MakePointF(0, 0), format, bounds) != GpOk) return false;
  if (known) {
    if (measured_.size() >= 4096) measured_.clear();
    measured_.emplace(std::move(key), bounds);
  }
  return true;
}

int TGDIPlusCanvas::MeasureTextWidthFormat(const std::string& text, bool typographic) {
  TGPRectF bounds;
  MeasureBounds(Utf8ToWide(text), typographic ? GenericTypographicFormat() : nullptr, bounds);
  float w, h;
  EffectSizes(Font(), w, h);
  return RoundInt(bounds.Width) + static_cast<int>(w);
}

int TGDIPlusCanvas::MeasureTextWidth(const std::string& text) { return MeasureTextWidthFormat(text, false); }

int TGDIPlusCanvas::MeasureTextHeight(const std::string& text) {
  TGPRectF bounds;
  MeasureBounds(Utf8ToWide(text), nullptr, bounds);
  float w, h;
  EffectSizes(Font(), w, h);
  return RoundInt(bounds.Height + 0.5L) + static_cast<int>(h);
}

void TGDIPlusCanvas::MeasureTextF(const std::string& text, TPointFloat& size) {
  TGPRectF bounds;
  MeasureBounds(Utf8ToWide(text), nullptr, bounds);
  float w, h;
  EffectSizes(Font(), w, h);
  size = {bounds.Width + w, bounds.Height + h};
}

// ---- Drawing ---------------------------------------------------------------------------------

TRect TGDIPlusCanvas::TextRectAt(const std::string& text, float x, float y) {
  TPointFloat size;
  MeasureTextF(text, size);
  return TRect(RoundInt(x), RoundInt(y), RoundInt(x + size.X), RoundInt(y + size.Y));
}

void TGDIPlusCanvas::DrawTextRun(const std::wstring& text, float x, float y, TColor color) {
  TKelBrush* b = Brush();
  b->SetColor(color);
  TGPBrush* brush;
  if (b->Style() == bsClear) {
    brush = new TGPSolidBrush(ColorToArgb(color, CurrentTransparency));  // text always shows its colour
  } else if (b->HasVisibleGradient()) {
    TGPRectF bounds;
    MeasureBounds(text, nullptr, bounds);
    brush = MakeGdiPlusRectBrush(b, TRectFloat{x, y, x + bounds.Width, y + bounds.Height});
  } else {
    brush = MakeGdiPlusPlainBrush(b);
  }
  KeepFillBrush(brush);
  graphics_->DrawString(text, font_.get(), MakePointF(x, y), brush);
}

void TGDIPlusCanvas::DrawOutlinedText(const std::wstring& text, float x, float y) {
  TGPGraphicsPath path;
  TGPFontFamily family;
  font_->GetFamily(&family);
  const float em = graphics_->GetDpiY() * font_->GetSize() / 72;
  path.AddString(text, &family, font_->GetStyle(), em, MakePointF(x, y), nullptr);
  UsePen(Font()->OutLine());
  DropPen();
  TGPRectF outline;
  path.GetBounds(outline);
  const float half = Font()->OutLine()->Width() * 0.5f;
  if (PreparePenFillOver(TRectFloat{outline.X - half, outline.Y - half, outline.X + outline.Width + half,
                                    outline.Y + outline.Height + half})) {
    graphics_->DrawPath(pen_.get(), &path);
  }
  TKelBrush* b = Brush();
  b->SetColor(Font()->Color());
  TGPBrush* brush;
  if (b->Style() == bsClear) {
    brush = new TGPSolidBrush(ColorToArgb(Font()->Color(), CurrentTransparency));
  } else if (b->HasVisibleGradient()) {
    TGPRectF bounds;
    path.GetBounds(bounds);
    brush = MakeGdiPlusRectBrush(b, TRectFloat{bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height});
  } else {
    brush = MakeGdiPlusPlainBrush(b);
  }
  KeepFillBrush(brush);
  graphics_->FillPath(brush, &path);
}

void TGDIPlusCanvas::DrawTextAt(const std::string& text, float x, float y) {
  if (EnsureGraphics() == nullptr) return;
  if (font_ == nullptr) ApplyFont();
  if (font_ == nullptr) return;
  const std::wstring wide = Utf8ToWide(text);
  const int align = GetTextAlign();
  if (align == TA_RIGHT) {
    x -= MeasureTextWidthFormat(text, true);
  } else if (align == TA_CENTER) {
    x -= MeasureTextWidthFormat(text, true) / 2.0f;
  } else if (align == (TA_CENTER | TA_BOTTOM)) {
    TPointFloat size;
    MeasureTextF(text, size);
    y -= size.Y;
    x -= size.X / 2;
  }
  // Rotation about the anchor (or the text centre), applied once on top of the current
  // transform, which is put back afterwards.
  std::unique_ptr<TGPMatrix> saved;
  if (TextAngle != 0 && TextAngle != 360) {
    TGPPointF centre = MakePointF(x, y);
    if (RotateAroundCentre) {
      centre = MakePointF(static_cast<float>(TextCentre.X + 1), static_cast<float>(TextCentre.Y));
    } else if (align == TA_CENTER) {
      centre.X += MeasureTextWidth(text) / 2.0f;
    }
    auto current = std::make_unique<TGPMatrix>();
    TGPMatrix rotation;
    if (graphics_->GetTransform(current.get()) == GpOk &&
        rotation.RotateAt(static_cast<float>(TextAngle), centre, 0) == GpOk &&
        graphics_->MultiplyTransform(&rotation, 0) == GpOk) {
      saved = std::move(current);
    }
  }
  const int backMode = GetBackMode();
  if (backMode != TRANSPARENT) FillRect(TextRectAt(text, x, y));
  TKelFont* f = Font();
  TKelShadow* effects[2] = {f->HasShadow() ? f->Shadow() : nullptr, f->HasEmboss() ? f->Emboss() : nullptr};
  for (TKelShadow* effect : effects) {
    if (effect == nullptr || !Draws(effect)) continue;
    if (Brush()->HasGradient()) Brush()->Gradient()->SetVisible(false);
    DrawTextRun(wide, x + effect->HorizSize(), y + effect->VertSize(), effect->Color());
    // Only the buffer being drawn into: one kept through an export holds the screen's picture.
    if (effect->Smooth() && effect->SmoothBlur() != 0 && BufferBitmap != nullptr && GetBuffered()) {
      BlurTextEffect(TextRectAt(text, x, y), effect, effect == effects[0]);
    }
  }
  Brush()->Assign(f->Brush());
  if (f->HasOutLine() && f->OutLine()->Visible()) {
    DrawOutlinedText(wide, x, y);
  } else {
    DrawTextRun(wide, x, y, f->Color());
  }
  if (Brush()->HasGradient()) Brush()->Gradient()->SetVisible(false);
  if (Brush()->HasImage()) Brush()->Image()->SetGraphic(nullptr);
  SetBackMode(backMode);
  if (saved != nullptr) graphics_->SetTransform(saved.get());
}

TRect TGDIPlusCanvas::WorldToDevice(const TRect& rect) {
  float m[6] = {1, 0, 0, 1, 0, 0};
  TGPMatrix world;
  if (graphics_->GetTransform(&world) != GpOk || world.GetElements(m) != GpOk) return rect;
  const float xs[2] = {static_cast<float>(rect.Left), static_cast<float>(rect.Right)};
  const float ys[2] = {static_cast<float>(rect.Top), static_cast<float>(rect.Bottom)};
  float left = 0, top = 0, right = 0, bottom = 0;
  bool first = true;
  for (float px : xs) {
    for (float py : ys) {
      const float dx = px * m[0] + py * m[2] + m[4];
      const float dy = px * m[1] + py * m[3] + m[5];
      left = first ? dx : std::min(left, dx);
      right = first ? dx : std::max(right, dx);
      top = first ? dy : std::min(top, dy);
      bottom = first ? dy : std::max(bottom, dy);
      first = false;
    }
  }
  return TRect(static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
               static_cast<int>(std::ceil(right)), static_cast<int>(std::ceil(bottom)));
}

void TGDIPlusCanvas::BlurTextEffect(const TRect& textRect, TKelShadow* effect, bool grow) {
  // Grown (shadow) or shrunk (emboss) by twice the copy's distance and 3 more pixels; the
  // distance counts whichever side the copy lies on.
  int dx = 2 * std::abs(effect->HorizSize()) + 3;
  int dy = 2 * std::abs(effect->VertSize()) + 3;
  if (!grow) {
    dx = -dx;
    dy = -dy;
  }
  TRect r(textRect.Left - dx, textRect.Top - dy, textRect.Right + dx, textRect.Bottom + dy);
  if (r.Left >= r.Right || r.Top >= r.Bottom) return;
  r = WorldToDevice(r);
  // Inclusive pixel indices inside the buffer; nothing left, nothing blurred.
  r = TRect(std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right - 1, BufferBitmap->Width() - 1),
            std::min(r.Bottom - 1, BufferBitmap->Height() - 1));
  if (r.Left > r.Right || r.Top > r.Bottom) return;
  // What GDI+ drew must be in the bitmap before its pixels are read.
  if (HDC dc = graphics_->GetHDC()) graphics_->ReleaseHDC(dc);
  GdiFlush();
  TBlurFilter blur(nullptr);
  blur.Steps = std::max(1, effect->SmoothBlur());
  blur.Apply(*BufferBitmap, r);
}

void TGDIPlusCanvas::TextOut(int x, int y, const std::string& text) {
  DrawTextAt(text, static_cast<float>(x), static_cast<float>(y));
}

void TGDIPlusCanvas::RotatedTextOut(int x, int y, const std::string& text, double angle, bool markUp) {
  TextAngle = 360 - angle;
  TextOutAllowMarkup(x, y, text, markUp);
  TextAngle = 0;
}

void TGDIPlusCanvas::WriteText3D(int x, int y, int z, const std::string& text, bool) {
  const TPoint p = Project3D(x, y, z);
  TextOut(p.X, p.Y, text);
}
