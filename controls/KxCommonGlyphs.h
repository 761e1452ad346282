// Small glyphs and drawing helpers of the control set: drop-down, scroll and menu arrows, the
// close cross, the hot-track gradient ring, rotated fonts and the TrueType test, text drawn
// with DrawText, transparent stretched bitmaps and a parent's image painted behind a
// see-through control. Glyph style: 0 classic, 1 themed (XP look), 2 the later look.
#pragma once

#include <optional>
#include <string_view>

#include "controls/KxGraphics.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"

class TCanvas;
class TBitmap;
class TFont;
class TControl;
class TWinControl;

enum TKxArrowDirection : unsigned char { adUp, adDown, adLeft, adRight };

// The arrow of a combo or drop-down button, centred in `rect`. Style 2 on Vista and later.
void PaintDropDownArrow(TCanvas& canvas, const TRect& rect, int style, bool enabled);
// The scroll and menu arrows of the tab strip.
void PaintDirectionArrow(TCanvas& canvas, const TRect& rect, int style, bool enabled, TKxArrowDirection direction);
// The close cross in `color` (a smaller one in rectangles at most 10 high or under 9 wide).
void PaintCrossGlyph(TCanvas& canvas, const TRect& rect, TColor color);
void PaintCloseGlyph(TCanvas& canvas, const TRect& rect, int style, bool enabled);
// A 2-pixel gradient ring along the inside of `rect`; only on full-colour displays.
void PaintGradientRing(TCanvas& canvas, const TRect& rect, KxCommon::TGradientDirection direction,
                       TColor startColor, TColor stopColor);

// The arrow colour of the themed combo drop-down button (cl3DDkShadow when that is close to
// clWindow, also when no theme can be drawn).
TColor ThemedDropDownArrowColor();
// The arrow colour of the themed scroll-bar down button; nothing when no theme can be drawn.
std::optional<TColor> ThemedScrollArrowColor();

// A font like `font` turned by `angle` degrees; the caller owns (deletes) the handle.
HFONT CreateRotatedFont(TFont& font, int angle);
bool FontIsTrueType(TFont& font);

// DrawText of the whole text in the canvas's font; `rect` receives the extent when the flags
// ask for DT_CALCRECT. Answers the text height.
int DrawTextInRect(TCanvas& canvas, std::string_view text, TRect& rect, UINT flags);

// Stretches `sourceRect` of `bitmap` to the size of `destRect` and draws it at (0, 0) of the
// canvas, leaving out the pixels of `transparentColor`.
void StretchBitmapTransparent(TCanvas& canvas, TBitmap& bitmap, const TRect& destRect, TColor transparentColor,
                              const TRect& sourceRect);

// Paints the parent's background and client image into the control's DC as if the control were
// not there; optionally invalidates a parent that does not paint its own children.
void CopyParentImageToDC(TControl* control, HDC dc, bool invalidateParent);
void CopyParentImage(TControl* control, TCanvas& canvas, bool invalidateParent);

// Invalidates every child of `container` whose published Transparent property is true.
void InvalidateTransparentChildren(TWinControl* container);
