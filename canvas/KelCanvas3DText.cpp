// TKelCanvas3D: text. A text is drawn with a device font made from the canvas font (its logical
// size and quality, or turned for rotated text), after its shadow and emboss copies, filled
// with the font brush's gradient or picture and outlined with the font's outline pen.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "canvas/CanvasUtils.h"
#include "canvas/ClipStack.h"
#include "canvas/GradientPainting.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilter.h"
#include "canvas/KelFont.h"
#include "canvas/KelHtml.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/TextConv.h"

namespace {
int RoundInt(long double v) { return static_cast<int>(Round(v)); }

void PlainTextOut(HDC dc, int x, int y, const std::wstring& text) {
  ::TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TextPath(HDC dc, int x, int y, const std::wstring& text) {
  BeginPath(dc);
  PlainTextOut(dc, x, y, text);
  EndPath(dc);
}
}  // namespace

BYTE TKelCanvas3D::FontQualityCode() const {
  switch (Font()->Quality()) {
    case TKelFontQuality::fqNormal: return NONANTIALIASED_QUALITY;
    case TKelFontQuality::fqBest:
    case TKelFontQuality::fqClearType: return BestFontQuality;
    case TKelFontQuality::fqDefault:
      switch (DefaultFontQuality) {
        case 0: return ANTIALIASED_QUALITY;
        case 1: return NONANTIALIASED_QUALITY;
        case 2: return DEFAULT_QUALITY;
        default: return CLEARTYPE_QUALITY;
      }
  }
  return DEFAULT_QUALITY;
}

HFONT TKelCanvas3D::CreateDeviceFont(HDC dc) {
  LOGFONTW lf{};
  GetObjectW(Font()->Handle(), sizeof(lf), &lf);
  lf.lfHeight = -MulDiv(Font()->Size(), Font()->PixelsPerInch(), 72);
  lf.lfQuality = FontQualityCode();
  return static_cast<HFONT>(SelectObject(dc, CreateFontIndirectW(&lf)));
}

void TKelCanvas3D::TextOut(int x, int y, const std::string& text) {
  HDC dc = PreparedDC();
  if (dc == nullptr) return;
  HGDIOBJ previous = CreateDeviceFont(dc);
  TFontHandle made(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)));
  DrawTextWithEffects(dc, x, y, text);
  SelectObject(dc, previous);
}

TRect TKelCanvas3D::TextRectAt(HDC dc, int x, int y, const std::string& text) {
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  TPointFloat size;
  MeasureTextF(text, size);
  SelectObject(dc, font);
  const int w = RoundInt(size.X);
  const int h = RoundInt(size.Y);
  UINT align = ::GetTextAlign(dc);
  if (align > 7) align &= ~static_cast<UINT>(TA_BOTTOM);
  int left = x;
  if ((align & TA_CENTER) == TA_CENTER) {
    left = x - w / 2;
  } else if ((align & TA_RIGHT) == TA_RIGHT) {
    left = x - w;
  }
  return TRect(left, y, left + w, y + h);
}

void TKelCanvas3D::DrawTextShadow(HDC dc, int& x, int& y, const std::string& text, TKelShadow* shadow, int sign) {
  if (!shadow->Visible() || (shadow->HorizSize() == 0 && shadow->VertSize() == 0)) return;
  int copyX, copyY;
  if (shadow->HorizSize() < 0) {
    copyX = x;
    x -= shadow->HorizSize() * sign;
  } else {
    copyX = x + shadow->HorizSize() * sign;
  }
  if (shadow->VertSize() < 0) {
    copyY = y;
    y -= shadow->VertSize() * sign;
  } else {
    copyY = y + shadow->VertSize() * sign;
  }
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  TKelBlend* blend = nullptr;
  if (shadow->Transparency() != 0) {
    const TRect area = SupportsAlpha ? TRect() : TextRectAt(dc, copyX, copyY, text);
    blend = StartTransparency(area, static_cast<std::uint8_t>(shadow->Transparency()));
    SelectObject(dc, font);
  }
  SetTextColor(dc, ColorToRGB(shadow->Color()));
  const std::wstring wide = Utf8ToWide(text);
  PlainTextOut(dc, copyX, copyY, wide);
  if (shadow->Smooth() && BufferBitmap != nullptr) BlurTextShadow(dc, copyX, copyY, wide, shadow->SmoothBlur());
  if (blend != nullptr || shadow->Transparency() != 0) {
    FinishTransparency(blend);
    SelectObject(dc, font);
  }
}

void TKelCanvas3D::BlurTextShadow(HDC dc, int x, int y, const std::wstring& text, int smoothBlur) {
  // Measured in the font the copy was drawn with (still selected).
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  const UINT align = ::GetTextAlign(dc);
  if ((align & TA_CENTER) == TA_CENTER) {
    x -= size.cx / 2;
  } else if ((align & TA_RIGHT) == TA_RIGHT) {
    x -= size.cx;
  }
  const TRect region(std::max(0, x - 1), std::max(0, y), std::min<int>(BufferBitmap->Width() - 1, x + size.cx),
                     std::min<int>(BufferBitmap->Height() - 1, y + size.cy - 1));
  // The buffer is blurred in its own layout: it stays the bitmap selected into the DC.
  TBlurFilter blur(nullptr);
  blur.Steps = std::max(1, smoothBlur);
  blur.Apply(*BufferBitmap, region);
  ::SetTextAlign(dc, align & ~static_cast<UINT>(TA_BOTTOM));
  SetBkMode(dc, TRANSPARENT);
}

void TKelCanvas3D::DrawTextWithEffects(HDC dc, int x, int y, const std::string& text) {
  TKelFont* font = Font();
  if (font->HasShadow()) DrawTextShadow(dc, x, y, text, font->Shadow(), 1);
  if (font->HasEmboss()) DrawTextShadow(dc, x, y, text, font->Emboss(), -1);
  SetTextColor(dc, ColorToRGB(font->Color()));
  const std::wstring wide = Utf8ToWide(text);
  bool outline = font->HasOutLine() && font->OutLine()->Visible();
  const bool gradient = font->Brush()->HasVisibleGradient();
  const bool picture = font->Brush()->HasPicture();
  if (!outline && !gradient && !picture) {
    PlainTextOut(dc, x, y, wide);
    return;
  }
  HGDIOBJ textFont = GetCurrentObject(dc, OBJ_FONT);
  // Pen and brush changes below reach the device; the text font stays selected.
  auto reselect = [&] {
    PreparedDC(false);
    SelectObject(dc, textFont);
  };
  if (outline) {
    UsePen(font->OutLine());
  } else {
    Pen()->SetStyle(psClear);
  }
  Brush()->SetColor(font->Color());
  Brush()->SetStyle(bsSolid);
  reselect();
  SetBkMode(dc, TRANSPARENT);
  TextPath(dc, x, y, wide);
  if (gradient || picture) {
    const TRect area = TextRectAt(dc, x, y, text);
    if (gradient && outline && font->OutLine()->HasGradientFill()) {
      WidenPath(dc);
      outline = false;
    }
    // Save the clip first, so that the pop below restores exactly what was there.
    PushClipRegion(dc, nullptr, RGN_AND, this);
    SelectClipPath(dc, RGN_AND);
    if (gradient) {
      // The font's gradient is painted as a brush gradient over the text rectangle; the canvas
      // brush gradient it borrows for that is given back afterwards.
      TKelGradient saved;
      saved.Assign(BrushGradient());
      DrawBrushGradient(font->Gradient(), this, area, 0);
      BrushGradient()->Assign(&saved);
      SelectObject(dc, textFont);
    } else {
      DrawGraphicStretched(area, font->Picture()->FilteredGraphic());
    }
    PopClip();
    reselect();
    if (outline) {
      TextPath(dc, x, y, wide);
      Brush()->SetStyle(bsClear);
      reselect();
    }
  }
  if (outline) {
    if (font->Color() == clNone) {
      StrokePath(dc);
    } else {
      StrokeAndFillPath(dc);
      const int w = font->OutLine()->Width() / 2;
      PlainTextOut(dc, x + w, y + w, wide);
    }
  }
}

void TKelCanvas3D::RotatedTextOut(int x, int y, const std::string& text, double angle, bool) {
  // A non-finite angle (from a corrupt layout) has no direction: nothing is drawn.
  if (!std::isfinite(angle)) return;
  angle = ReduceAngle(angle);
  if (angle == 0) {
    TextOut(x, y, text);
    return;
  }
  HDC dc = PreparedDC();
  if (dc == nullptr) return;
  LOGFONTW lf{};
  GetObjectW(Font()->Handle(), sizeof(lf), &lf);
  lf.lfEscapement = RoundInt(angle * 10);
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  lf.lfQuality = FontQualityCode();
  TFontHandle rotated(CreateFontIndirectW(&lf));
  HGDIOBJ previous = SelectObject(dc, rotated.Get());
  if (RotateAroundCentre) {
    const double a = angle * std::numbers::pi / 180;
    const int dx = (::GetTextAlign(dc) & TA_CENTER) == TA_CENTER ? 0 : x - TextCentre.X;
    const int dy = y - TextCentre.Y;
    x = RoundInt(std::cos(a) * dx + std::sin(a) * dy + TextCentre.X);
    y = RoundInt(-std::sin(a) * dx + std::cos(a) * dy + TextCentre.Y);
  }
  DrawTextWithEffects(dc, x, y, text);
  SelectObject(dc, previous);
}

void TKelCanvas3D::RotatedTextOut3D(int x, int y, int z, const std::string& text, double angle, bool flag) {
  const TPoint p = Project3D(x, y, z);
  RotatedTextOut(p.X, p.Y, text, angle, flag);
}

void TKelCanvas3D::WriteText3D(int x, int y, int z, const std::string& text, bool markUp) {
  const TPoint p = Project3D(x, y, z);
  if (markUp) {
    MarkupTextOut(*this, p.X, p.Y, text);
    return;
  }
  HDC dc = PreparedDC();
  if (dc != nullptr) DrawTextWithEffects(dc, p.X, p.Y, text);
}
