// Mark-up text: measures and draws chart texts written in a small tag language (styles, sizes,
// sub- and superscripts, headings, FONT tags, line breaks, rules, pictures) on any TKelCanvas,
// through the canvas interface alone. One walk over the text, token by token, moves a pen;
// the same walk measures (display off) or draws (display on).
//
// Process-wide state: the open style tags and the saved font states, kept across texts and
// walks (a later "</>" may close a tag an earlier text left open). Both stacks are capped at
// MarkupStackLimit entries, dropping the oldest, so a chart repainted for hours cannot grow
// them without end; the latest entries, which "</>" closes, are always kept. Only the window
// thread paints, so nothing is locked.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "canvas/CanvasTypes.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"

class TKelCanvas;
class TGraphic;
class TMemoryStream;

constexpr std::size_t MarkupStackLimit = 256;

std::vector<std::string>& MarkupTagStack();
std::vector<std::string>& MarkupFontStack();

// Picture hooks, empty unless a host sets them: the graphic for an upper-case extension with
// its dot (owned by the caller, or null), and the picture's bytes written into a stream (0 on
// success).
extern std::function<TGraphic*(const std::string& extension)> MarkupGraphicHook;
extern std::function<int(const std::string& source, TMemoryStream& stream)> MarkupStreamHook;

// One walk from (x, y); `extent` receives the measured size. A FONT attribute or weight the
// language does not know raises Exception ("Unknown field in FONT: NAME", "Unknown field in
// FONT WEIGHT=VALUE"); a SIZE that is no number, not finite or outside ±32767, and a "#"
// colour that is not six hexadecimal digits raise EConvertError. Changes made so far stay.
void RenderMarkup(TKelCanvas& canvas, int x, int y, TSize& extent, bool display, const std::string& text);
void MarkupTextExtent(TKelCanvas& canvas, const std::string& text, TSize& extent);
// As MarkupTextExtent, leaving the canvas font and the tag and font stacks as they were, so that
// the text can be drawn afterwards from the same starting state.
TSize MarkupTextExtentKeepingState(TKelCanvas& canvas, const std::string& text);
// Draws honouring the canvas text alignment: centred (6) and right-aligned (2) text is measured
// first, the font and both stacks put back as they were, and then drawn left-aligned.
void MarkupTextOut(TKelCanvas& canvas, int x, int y, const std::string& text);

// The colour of a COLOR value: names, "#RRGGBB", colour identifiers, integers; 0 otherwise.
TColor ParseMarkupColor(const std::string& value);
