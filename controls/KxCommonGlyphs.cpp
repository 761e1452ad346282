// Glyphs, the gradient ring, fonts, text and the bitmap and parent-image helpers.
#include "controls/KxCommonGlyphs.h"

#include <optional>
#include <string>
#include <vector>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonText.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Control.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Themes.h"
#include "toolkit/ui/WinControl.h"

#include <vssym32.h>

namespace {

struct TCentre {
  int cx;
  int cy;
};

// The glyph centre: the middle of the rectangle, one pixel up when its height is even.
TCentre CentreOf(const TRect& r) {
  TCentre c{r.Left + (r.Right - r.Left) / 2, r.Top + (r.Bottom - r.Top) / 2};
  if ((r.Bottom - r.Top) % 2 == 0) c.cy -= 1;
  return c;
}

// Draws a themed part into a white bitmap of the given size and answers one pixel; nothing when
// no theme can be opened.
std::optional<COLORREF> SampleThemedPart(TThemedElement element, int part, int state, int width, int height,
                                         const TRect& area, int x, int y) {
  TThemeServices* themes = ThemeServices();
  if (themes->Theme(element) == nullptr) return std::nullopt;
  TBitmap bitmap(width, height);
  HDC dc = bitmap.Canvas()->Handle();
  themes->DrawElement(dc, themes->GetElementDetails(element, part, state), area);
  GdiFlush();
  return GetPixel(dc, x, y);
}

// Fills a polygon in `color` with the pen clear; pen style and brush colour are restored.
void FillGlyph(TCanvas& canvas, TColor color, const std::vector<TPoint>& points) {
  const TPenStyle oldStyle = canvas.Pen()->Style();
  const TColor oldColor = canvas.Brush()->Color();
  canvas.Pen()->SetStyle(psClear);
  canvas.Brush()->SetColor(color);
  canvas.Polygon(points);
  canvas.Pen()->SetStyle(oldStyle);
  canvas.Brush()->SetColor(oldColor);
}

TColor ClassicArrowColor(TCanvas& canvas) {
  return ColorsAreClose(canvas.Brush()->Color(), clBlack) ? cl3DDkShadow : clBlack;
}

}  // namespace

TColor ThemedDropDownArrowColor() {
  // Without a theme the bitmap stays white, which is close to the window colour.
  const COLORREF pixel = SampleThemedPart(teComboBox, CP_DROPDOWNBUTTON, CBXS_NORMAL, 17, 21, {0, 0, 16, 20}, 8, 10)
                             .value_or(RGB(255, 255, 255));
  const TColor color = static_cast<TColor>(pixel);
  return ColorsAreClose(color, clWindow) ? cl3DDkShadow : color;
}

std::optional<TColor> ThemedScrollArrowColor() {
  const auto pixel = SampleThemedPart(teScrollBar, SBP_ARROWBTN, ABS_DOWNNORMAL, 13, 10, {0, 0, 13, 10}, 6, 4);
  if (!pixel) return std::nullopt;
  return static_cast<TColor>(*pixel);
}

void PaintDropDownArrow(TCanvas& canvas, const TRect& rect, int style, bool enabled) {
  if (IsWindowsVersionAtLeast(7)) style = 2;
  TColor color;
  if (!enabled) {
    color = clBtnShadow;
  } else if (style == 1) {
    color = ThemedDropDownArrowColor();
  } else {
    color = ClassicArrowColor(canvas);
  }
  const auto [cx, cy] = CentreOf(rect);
  switch (style) {
    case 1:
      FillGlyph(canvas, color,
                {{cx, cy + 4}, {cx - 4, cy - 1}, {cx - 3, cy - 3}, {cx, cy + 1}, {cx + 3, cy - 3}, {cx + 5, cy - 1}});
      break;
    case 2: FillGlyph(canvas, color, {{cx + 1, cy + 3}, {cx - 2, cy - 1}, {cx + 5, cy - 1}}); break;
    default: FillGlyph(canvas, color, {{cx, cy + 2}, {cx - 3, cy - 2}, {cx + 4, cy - 2}}); break;
  }
}

void PaintDirectionArrow(TCanvas& canvas, const TRect& rect, int style, bool enabled, TKxArrowDirection direction) {
  TColor color;
  if (!enabled) {
    color = clBtnShadow;
  } else if (style == 1) {
    color = ThemedDropDownArrowColor();
  } else if (style == 2) {
    // Without a theme to sample, the classic colour keeps the arrow visible.
    color = ThemedScrollArrowColor().value_or(ClassicArrowColor(canvas));
  } else {
    color = ClassicArrowColor(canvas);
  }
  const auto [cx, cy] = CentreOf(rect);
  std::vector<TPoint> points;
  if (style == 1) {
    switch (direction) {
      case adUp:
        points = {{cx, cy - 1}, {cx + 4, cy + 4}, {cx + 1, cy + 4}, {cx, cy + 2}, {cx - 1, cy + 4}, {cx - 4, cy + 4}};
        break;
      case adDown:
        points = {{cx, cy + 2}, {cx - 3, cy - 2}, {cx, cy - 2}, {cx, cy - 1}, {cx + 1, cy - 2}, {cx + 4, cy - 2}};
        break;
      case adLeft:
        points = {{cx - 1, cy}, {cx + 3, cy - 4}, {cx + 3, cy - 1}, {cx + 2, cy}, {cx + 3, cy + 1}, {cx + 3, cy + 4}};
        break;
      case adRight:
        points = {{cx + 1, cy}, {cx - 3, cy + 4}, {cx - 3, cy + 1}, {cx - 2, cy}, {cx - 3, cy - 1}, {cx - 3, cy - 4}};
        break;
    }
  } else if (style == 2) {
    switch (direction) {
      case adUp: points = {{cx, cy - 2}, {cx + 3, cy + 2}, {cx - 3, cy + 2}}; break;
      case adDown: points = {{cx, cy + 1}, {cx - 2, cy - 2}, {cx + 3, cy - 2}}; break;
      case adLeft: points = {{cx - 1, cy}, {cx + 2, cy - 3}, {cx + 2, cy + 3}}; break;
      case adRight: points = {{cx + 1, cy}, {cx - 2, cy + 3}, {cx - 2, cy - 3}}; break;
    }
  } else {
    switch (direction) {
      case adUp: points = {{cx, cy - 4}, {cx + 4, cy + 1}, {cx - 4, cy + 1}}; break;
      case adDown: points = {{cx, cy + 2}, {cx - 3, cy - 2}, {cx + 4, cy - 2}}; break;
      case adLeft: points = {{cx - 2, cy}, {cx + 2, cy - 4}, {cx + 2, cy + 4}}; break;
      case adRight: points = {{cx + 2, cy}, {cx - 2, cy + 4}, {cx - 2, cy - 4}}; break;
    }
  }
  if (!points.empty()) FillGlyph(canvas, color, points);
}

void PaintCrossGlyph(TCanvas& canvas, const TRect& rect, TColor color) {
  const auto [cx, cy] = CentreOf(rect);
  if (rect.Bottom - rect.Top <= 10 || rect.Right - rect.Left < 9) {
    FillGlyph(canvas, color,
              {{cx, cy - 1}, {cx + 1, cy - 2}, {cx + 3, cy - 2}, {cx + 1, cy}, {cx + 3, cy + 3}, {cx + 1, cy + 2},
               {cx, cy + 1}, {cx - 3, cy + 3}, {cx - 3, cy + 2}, {cx - 1, cy}, {cx - 3, cy - 2}, {cx - 1, cy - 2},
               {cx - 1, cy - 1}});
  } else {
    FillGlyph(canvas, color,
              {{cx, cy - 1}, {cx + 2, cy - 3}, {cx + 5, cy - 3}, {cx + 2, cy}, {cx + 5, cy + 4}, {cx + 2, cy + 3},
               {cx, cy + 1}, {cx - 2, cy + 4}, {cx - 4, cy + 3}, {cx - 1, cy}, {cx - 4, cy - 3}, {cx - 1, cy - 3}});
  }
}

void PaintCloseGlyph(TCanvas& canvas, const TRect& rect, int style, bool enabled) {
  TColor color = clBlack;
  if (!enabled) {
    color = clBtnShadow;
  } else if (style == 1) {
    color = ThemedDropDownArrowColor();
  }
  PaintCrossGlyph(canvas, rect, color);
}

void PaintGradientRing(TCanvas& canvas, const TRect& rect, KxCommon::TGradientDirection direction,
                       TColor startColor, TColor stopColor) {
  if (!KxFullColorDevice()) return;
  const HDC dc = canvas.Handle();
  ExcludeClipRect(dc, rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
  DrawGradientArea(dc, rect, direction, startColor, stopColor, 1);
  SelectClipRgn(dc, nullptr);
}

HFONT CreateRotatedFont(TFont& font, int angle) {
  const TFontStyles style = font.Style();
  DWORD pitch = DEFAULT_PITCH;
  if (font.Pitch() == fpVariable) pitch = VARIABLE_PITCH;
  if (font.Pitch() == fpFixed) pitch = FIXED_PITCH;
  const std::wstring face = Utf8ToWide(font.Name());
  return CheckGdi(CreateFontW(font.Height(), 0, angle * 10, 0, style.Contains(fsBold) ? FW_BOLD : FW_NORMAL,
                              style.Contains(fsItalic), style.Contains(fsUnderline), style.Contains(fsStrikeOut),
                              font.Charset(), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch,
                              face.c_str()));
}

bool FontIsTrueType(TFont& font) {
  const TWindowDC screen;
  const TSelectGuard guard(screen.Get(), font.Handle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.Get(), &metrics);
  return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

int DrawTextInRect(TCanvas& canvas, std::string_view text, TRect& rect, UINT flags) {
  const HDC dc = canvas.Handle();
  // The canvas's font and colours, as its own text calls would select them.
  const TSelectGuard fontGuard(dc, canvas.Font()->Handle());
  SetTextColor(dc, ColorToRGB(canvas.Font()->Color()));
  if (canvas.Brush()->Style() == bsClear) {
    SetBkMode(dc, TRANSPARENT);
  } else {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(canvas.Brush()->Color()));
  }
  const std::wstring wide = Utf8ToWide(text);
  RECT r = rect;
  const int height = ::DrawTextW(dc, wide.c_str(), -1, &r, flags);
  rect = r;
  return height;
}

void StretchBitmapTransparent(TCanvas& canvas, TBitmap& bitmap, const TRect& destRect, TColor transparentColor,
                              const TRect& sourceRect) {
  const int w = destRect.Width();
  const int h = destRect.Height();
  if (w <= 0 || h <= 0) return;
  const HDC dest = canvas.Handle();
  const HDC source = bitmap.Canvas()->Handle();

  // The stretched colour image.
  const TMemoryDC colorDC = TMemoryDC::Create(dest);
  const TBitmapHandle colorBitmap(CheckGdi(CreateCompatibleBitmap(dest, w, h)));
  const TSelectGuard colorGuard(colorDC.Get(), colorBitmap.Get());
  SetStretchBltMode(colorDC.Get(), COLORONCOLOR);
  StretchBlt(colorDC.Get(), 0, 0, w, h, source, sourceRect.Left, sourceRect.Top, sourceRect.Width(),
             sourceRect.Height(), SRCCOPY);

  // The mask: 1 where the image has the transparent colour.
  const TMemoryDC maskDC = TMemoryDC::Create(dest);
  const TBitmapHandle maskBitmap(CheckGdi(CreateBitmap(w, h, 1, 1, nullptr)));
  const TSelectGuard maskGuard(maskDC.Get(), maskBitmap.Get());
  SetBkColor(colorDC.Get(), ColorToRGB(transparentColor));
  BitBlt(maskDC.Get(), 0, 0, w, h, colorDC.Get(), 0, 0, SRCCOPY);

  // Image with its transparent pixels black; destination cleared where the image shows.
  SetBkColor(colorDC.Get(), RGB(255, 255, 255));
  SetTextColor(colorDC.Get(), RGB(0, 0, 0));
  BitBlt(colorDC.Get(), 0, 0, w, h, maskDC.Get(), 0, 0, 0x00220326);  // DSna: image AND NOT mask
  const COLORREF oldBk = SetBkColor(dest, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
  BitBlt(dest, 0, 0, w, h, maskDC.Get(), 0, 0, SRCAND);
  BitBlt(dest, 0, 0, w, h, colorDC.Get(), 0, 0, SRCPAINT);
  SetBkColor(dest, oldBk);
  SetTextColor(dest, oldText);
}

void CopyParentImageToDC(TControl* control, HDC dc, bool invalidateParent) {
  TWinControl* parent = control != nullptr ? control->Parent() : nullptr;
  if (parent == nullptr) return;
  const bool designing = control->ComponentState().Contains(csDesigning);
  const int saved = SaveDC(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
  bool erased = true;
  try {
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  } catch (...) {
    if (!designing) {
      RestoreDC(dc, saved);
      throw;
    }
    erased = false;
  }
  if (erased) {
    try {
      parent->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    } catch (...) {
      if (!designing) {
        RestoreDC(dc, saved);
        throw;
      }
    }
  }
  RestoreDC(dc, saved);
  if (invalidateParent && !designing && dynamic_cast<TCustomControl*>(parent) == nullptr &&
      dynamic_cast<TCustomForm*>(parent) == nullptr) {
    parent->Invalidate();
  }
}

void CopyParentImage(TControl* control, TCanvas& canvas, bool invalidateParent) {
  CopyParentImageToDC(control, canvas.Handle(), invalidateParent);
}

void InvalidateTransparentChildren(TWinControl* container) {
  if (container == nullptr) return;
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* child = container->Controls(i);
    const TPropInfo* prop = GetPropInfo(*child, "Transparent");
    if (prop != nullptr && prop->getOrd && prop->getOrd(*child) == 1) child->Invalidate();
  }
}
