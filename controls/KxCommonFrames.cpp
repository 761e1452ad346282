// Frame painters: sides, bevels, the Ctl3D and button tables, etched and colour-derived
// styles, box outlines and corners, the focus frame, the rounded flat frame and the two
// composite borders.
#include "controls/KxCommonFrames.h"

#include "controls/KxCommonColors.h"
#include "toolkit/graphics/Canvas.h"

namespace {

TRect Inflate(const TRect& r, int d) { return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d}; }

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

// Two nested passes with the given colour pairs.
TRect TwoPasses(TCanvas& canvas, const TRect& rect, TColor ul1, TColor lr1, TColor ul2, TColor lr2, TSides sides) {
  const TRect inner = PaintFrameSides(canvas, rect, ul1, lr1, sides);
  return PaintFrameSides(canvas, inner, ul2, lr2, sides);
}

// The etched styles (groove, bump): corner pixels first, then the lower-right colour one pixel
// in and the upper-left colour on top of it.
TRect PaintEtched(TCanvas& canvas, const TRect& rect, TColor ul, TColor lr, TSides sides) {
  const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  const bool left = sides.Contains(sdLeft), top = sides.Contains(sdTop);
  const bool right = sides.Contains(sdRight), bottom = sides.Contains(sdBottom);
  if (right) canvas.SetPixel(r - 1, t, lr);
  if (top && !right) canvas.SetPixel(r - 1, t, ul);
  if (bottom) canvas.SetPixel(l, b - 1, lr);
  if (left && !bottom) canvas.SetPixel(l, b - 1, ul);
  if (top && !left) canvas.SetPixel(l, t + 1, lr);
  if (left && !top) canvas.SetPixel(l + 1, t, lr);
  if (bottom && !right) canvas.SetPixel(r - 1, b - 2, ul);
  if (right && !bottom) canvas.SetPixel(r - 2, b - 1, ul);
  const TRect moved{l + 1, t + 1, r, b};
  PaintFrameSides(canvas, moved, lr, lr, sides);
  PaintFrameSides(canvas, {moved.Left - 1, moved.Top - 1, moved.Right - 1, moved.Bottom - 1}, ul, ul, sides);
  return {left ? l + 2 : l, top ? t + 2 : t, right ? r - 2 : r, bottom ? b - 2 : b};
}

}  // namespace

TRect PaintFrameSides(TCanvas& canvas, const TRect& rect, TColor ulColor, TColor lrColor, TSides sides) {
  const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  if (ulColor != clNone) {
    canvas.Pen()->SetColor(ulColor);
    if (sides.Contains(sdLeft)) Line(canvas, l, t, l, b);
    if (sides.Contains(sdTop)) Line(canvas, l, t, r, t);
  }
  if (lrColor != clNone) {
    canvas.Pen()->SetColor(lrColor);
    if (sides.Contains(sdRight)) Line(canvas, r - 1, t, r - 1, b);
    if (sides.Contains(sdBottom)) Line(canvas, l, b - 1, r, b - 1);
  }
  TRect inner = rect;
  if (sides.Contains(sdLeft)) ++inner.Left;
  if (sides.Contains(sdTop)) ++inner.Top;
  if (sides.Contains(sdRight)) --inner.Right;
  if (sides.Contains(sdBottom)) --inner.Bottom;
  return inner;
}

TRect PaintFrameBevel(TCanvas& canvas, const TRect& rect, TColor ulColor, TColor lrColor, int count, TSides sides) {
  canvas.Pen()->SetWidth(1);
  TRect inner = rect;
  for (int i = 0; i < count; ++i) inner = PaintFrameSides(canvas, inner, ulColor, lrColor, sides);
  return inner;
}

TRect PaintCtl3DSides(TCanvas& canvas, const TRect& rect, bool lowered, TSides sides) {
  if (lowered) return TwoPasses(canvas, rect, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight, sides);
  return TwoPasses(canvas, rect, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow, sides);
}

TRect PaintButtonFrameSides(TCanvas& canvas, const TRect& rect, bool down, TSides sides) {
  if (down) return TwoPasses(canvas, rect, clBtnText, clBtnText, clBtnShadow, clBtnShadow, sides);
  return TwoPasses(canvas, rect, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow, sides);
}

TRect PaintButtonFrame(TCanvas& canvas, const TRect& rect, bool down) {
  return PaintButtonFrameSides(canvas, rect, down, kAllSides);
}

TRect PaintColorButtonFrameSides(TCanvas& canvas, const TRect& rect, TColor faceColor, TSides sides, bool down) {
  return PaintColorFrameStyle(canvas, rect, faceColor, sides, down ? fsButtonDown : fsButtonUp);
}

TRect PaintColorButtonFrame(TCanvas& canvas, const TRect& rect, TColor faceColor, bool down) {
  return PaintColorButtonFrameSides(canvas, rect, faceColor, kAllSides, down);
}

TRect PaintFrameStyle(TCanvas& canvas, const TRect& rect, TFrameStyle style, TSides sides) {
  switch (style) {
    case fsFlat: return PaintFrameSides(canvas, rect, cl3DDkShadow, cl3DDkShadow, sides);
    case fsGroove: return PaintEtched(canvas, rect, clBtnShadow, clBtnHighlight, sides);
    case fsBump: return PaintEtched(canvas, rect, clBtnHighlight, clBtnShadow, sides);
    case fsLowered: return PaintCtl3DSides(canvas, rect, true, sides);
    case fsRaised: return PaintCtl3DSides(canvas, rect, false, sides);
    case fsButtonDown: return PaintButtonFrameSides(canvas, rect, true, sides);
    case fsButtonUp: return PaintButtonFrameSides(canvas, rect, false, sides);
    case fsStatus: return PaintFrameSides(canvas, rect, clBtnShadow, clBtnHighlight, sides);
    case fsPopup: return PaintFrameSides(canvas, rect, clBtnHighlight, clBtnShadow, sides);
    case fsFlatBold: return PaintFrameBevel(canvas, rect, clBtnShadow, clBtnShadow, 2, sides);
    case fsNone:
    case fsFlatRounded: break;
  }
  return rect;
}

TRect PaintFrameStyleAround(TCanvas& canvas, const TRect& rect, TFrameStyle style) {
  return PaintFrameStyle(canvas, rect, style, kAllSides);
}

TRect PaintColorFrameStyle(TCanvas& canvas, const TRect& rect, TColor faceColor, TSides sides, TFrameStyle style) {
  const auto d = [faceColor](int n) { return DarkenColor(faceColor, n); };
  const auto l = [faceColor](int n) { return LightenColor(faceColor, n); };
  switch (style) {
    case fsFlat: return PaintFrameSides(canvas, rect, d(50), d(50), sides);
    case fsGroove: return PaintEtched(canvas, rect, d(50), l(100), sides);
    case fsBump: return PaintEtched(canvas, rect, l(100), d(50), sides);
    case fsLowered: return TwoPasses(canvas, rect, d(50), l(100), d(100), l(50), sides);
    case fsRaised: return TwoPasses(canvas, rect, l(50), d(100), l(100), d(50), sides);
    case fsButtonUp: return TwoPasses(canvas, rect, l(100), d(100), l(40), d(50), sides);
    case fsButtonDown: return TwoPasses(canvas, rect, d(100), d(100), d(50), d(50), sides);
    case fsStatus: return PaintFrameSides(canvas, rect, d(50), l(100), sides);
    case fsPopup: return PaintFrameSides(canvas, rect, l(100), d(50), sides);
    case fsFlatBold: return TwoPasses(canvas, rect, d(50), d(50), d(50), d(50), sides);
    case fsNone:
    case fsFlatRounded: break;
  }
  return rect;
}

TRect PaintColorFrameStyleAround(TCanvas& canvas, const TRect& rect, TColor faceColor, TFrameStyle style) {
  return PaintColorFrameStyle(canvas, rect, faceColor, kAllSides, style);
}

TRect PaintBoxLines(TCanvas& canvas, const TRect& rect, TColor lineColor) {
  PaintFrameSides(canvas, rect, lineColor, lineColor, kAllSides);
  return Inflate(rect, -1);
}

TRect PaintBoxCorners(TCanvas& canvas, const TRect& rect, TColor lineColor, int cornerLength) {
  const int c = cornerLength;
  const int l = rect.Left, t = rect.Top, r = rect.Right - 1, b = rect.Bottom - 1;
  canvas.Pen()->SetColor(lineColor);
  canvas.Polyline({{l, t + c - 1}, {l, t}, {l + c, t}});
  canvas.Polyline({{r - c + 1, t}, {r, t}, {r, t + c}});
  canvas.Polyline({{r, b - c + 1}, {r, b}, {r - c, b}});
  canvas.Polyline({{l + c - 1, b}, {l, b}, {l, b - c}});
  return Inflate(rect, -1);
}

TRect PaintFocusFrame(TCanvas& canvas, const TRect& rect) {
  const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  for (int x = l + 1; x < r; x += 2) {
    canvas.SetPixel(x, t, clBlack);
    canvas.SetPixel(x, b - 1, clBlack);
  }
  for (int y = t + 1; y < b; y += 2) {
    canvas.SetPixel(l, y, clBlack);
    canvas.SetPixel(r - 1, y, clBlack);
  }
  return Inflate(rect, -1);
}

TRect PaintRoundedFlatFrame(TCanvas& canvas, const TRect& rect, TColor color, TSides sides) {
  const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  const bool left = sides.Contains(sdLeft), top = sides.Contains(sdTop);
  const bool right = sides.Contains(sdRight), bottom = sides.Contains(sdBottom);
  const int y0 = top ? t + 2 : t, y1 = bottom ? b - 2 : b;
  const int x0 = left ? l + 2 : l, x1 = right ? r - 2 : r;
  canvas.Pen()->SetColor(color);
  if (left) Line(canvas, l, y0, l, y1);
  if (top) Line(canvas, x0, t, x1, t);
  if (right) Line(canvas, r - 1, y0, r - 1, y1);
  if (bottom) Line(canvas, x0, b - 1, x1, b - 1);
  if (left && top) canvas.SetPixel(l + 1, t + 1, color);
  if (right && top) canvas.SetPixel(r - 2, t + 1, color);
  if (right && bottom) canvas.SetPixel(r - 2, b - 2, color);
  if (left && bottom) canvas.SetPixel(l + 1, b - 2, color);
  return {x0, y0, x1, y1};
}

TRect PaintInnerOuterFrame(TCanvas& canvas, const TRect& rect, const TKxInnerOuterFrame& f) {
  const TColor fc = ShiftColorLightness(f.FlatColor, f.FlatColorAdjustment);
  const bool innerPresent = f.BorderWidth > 0 || f.BorderInner != fsNone;
  TRect r = rect;

  switch (f.BorderOuter) {
    case fsFlat: r = PaintFrameBevel(canvas, r, fc, fc, 1, f.BorderSides); break;
    case fsFlatBold: r = PaintFrameBevel(canvas, r, fc, fc, 2, f.BorderSides); break;
    case fsFlatRounded:
      if (!f.Transparent) {
        const TRect inside = PaintFrameBevel(canvas, r, f.ParentColor, f.ParentColor, 1, f.BorderSides);
        const TColor fill = innerPresent ? f.BorderColor : f.Color;
        PaintFrameBevel(canvas, inside, fill, fill, 1, f.BorderSides);
      } else if (innerPresent) {
        PaintFrameBevel(canvas, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, f.BorderColor, f.BorderColor, 1,
                        f.BorderSides);
      }
      r = PaintRoundedFlatFrame(canvas, r, fc, f.BorderSides);
      break;
    case fsStatus:
      r = PaintFrameBevel(canvas, r, f.BorderShadow, f.BorderHighlight, f.BevelWidth, f.BorderSides);
      break;
    case fsPopup:
      r = PaintFrameBevel(canvas, r, f.BorderHighlight, f.BorderShadow, f.BevelWidth, f.BorderSides);
      break;
    default: r = PaintFrameStyle(canvas, r, f.BorderOuter, f.BorderSides); break;
  }

  if (f.BorderWidth > 0) r = PaintFrameBevel(canvas, r, f.BorderColor, f.BorderColor, f.BorderWidth, f.BorderSides);

  switch (f.BorderInner) {
    case fsFlat: r = PaintFrameBevel(canvas, r, fc, fc, 1, f.BorderSides); break;
    case fsFlatBold: r = PaintFrameBevel(canvas, r, fc, fc, 2, f.BorderSides); break;
    case fsFlatRounded: {
      const TRect before = r;
      const TRect inside = PaintFrameBevel(canvas, r, f.BorderColor, f.BorderColor, 1, f.BorderSides);
      if (!f.Transparent) PaintFrameBevel(canvas, inside, f.Color, f.Color, 1, f.BorderSides);
      r = PaintRoundedFlatFrame(canvas, before, fc, f.BorderSides);
      break;
    }
    case fsStatus:
      r = PaintFrameBevel(canvas, r, f.BorderShadow, f.BorderHighlight, f.BevelWidth, f.BorderSides);
      break;
    case fsPopup:
      r = PaintFrameBevel(canvas, r, f.BorderHighlight, f.BorderShadow, f.BevelWidth, f.BorderSides);
      break;
    default: r = PaintFrameStyle(canvas, r, f.BorderInner, f.BorderSides); break;
  }
  return r;
}

void PaintControlFrame(TCanvas& canvas, int width, int height, TFrameStyle style, TColor color, TColor frameColor,
                       TSides sides, bool keepBand) {
  const TRect whole{0, 0, width, height};
  if (!keepBand) PaintFrameBevel(canvas, whole, color, color, 2, kAllSides);
  switch (style) {
    case fsFlat: PaintFrameSides(canvas, whole, frameColor, frameColor, sides); break;
    case fsFlatBold: PaintFrameBevel(canvas, whole, frameColor, frameColor, 2, sides); break;
    default:
      if (color == clWindow) {
        PaintFrameStyle(canvas, whole, style, sides);
      } else {
        PaintColorFrameStyle(canvas, whole, color, sides, style);
      }
      break;
  }
}

void RedrawNonClientFrame(HWND window, const TRect& rect) {
  const HDC dc = GetDC(window);
  if (dc == nullptr) return;
  RECT clip{};
  const int kind = GetClipBox(dc, &clip);
  ReleaseDC(window, dc);
  if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
    const RECT r = rect;
    RedrawWindow(window, &r, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}
