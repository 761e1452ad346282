#!/usr/bin/env python3
"""Makes the program's two stored TrueType fonts from their glyph tables below:
"Dovudad" (KELLEDFONT), an LED look of 5 x 7 square dots, and "Dovudad LCD" (KELLCDFONT), a
seven-segment LCD look. Both are plain glyf fonts with a Unicode cmap, so GDI registers them
from memory and the GDI+ private collection takes them too.
Usage: make_fonts.py OUTPUT_DIR  (writes KelLed.ttf and KelLcd.ttf)."""
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

UPM = 1000
ASCENT = 900
DESCENT = 200

# ---- LED: 5 x 7 dot matrix, row 0 at the top ------------------------------------------------
LED = {
    '0': ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    '1': ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    '2': ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    '3': ["11111", "00010", "00100", "00010", "00001", "10001", "01110"],
    '4': ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    '5': ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    '6': ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    '7': ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    '8': ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    '9': ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    'C': ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    'D': ["11100", "10010", "10001", "10001", "10001", "10010", "11100"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'G': ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    'H': ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    'I': ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    'J': ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'N': ["10001", "10001", "11001", "10101", "10011", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'Q': ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    'W': ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    'X': ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    'Y': ["10001", "10001", "10001", "01010", "00100", "00100", "00100"],
    'Z': ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    '-': ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    '+': ["00000", "00100", "00100", "11111", "00100", "00100", "00000"],
    '.': ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    ',': ["00000", "00000", "00000", "00000", "01100", "00100", "01000"],
    ':': ["00000", "01100", "01100", "00000", "01100", "01100", "00000"],
    '/': ["00000", "00001", "00010", "00100", "01000", "10000", "00000"],
    '%': ["11000", "11001", "00010", "00100", "01000", "10011", "00011"],
    '(': ["00010", "00100", "01000", "01000", "01000", "00100", "00010"],
    ')': ["01000", "00100", "00010", "00010", "00010", "00100", "01000"],
    '=': ["00000", "00000", "11111", "00000", "11111", "00000", "00000"],
    '\u00b0': ["01100", "10010", "10010", "01100", "00000", "00000", "00000"],
}
LED_DOT = 100
LED_PITCH = 120
LED_ADVANCE = 6 * LED_PITCH


def rect(pen, x0, y0, x1, y1):
    """A clockwise (outer) rectangle in y-up font units."""
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def poly(pen, points):
    pen.moveTo(points[0])
    for p in points[1:]:
        pen.lineTo(p)
    pen.closePath()


def led_glyph(rows):
    pen = TTGlyphPen(None)
    for r, line in enumerate(rows):
        for c, bit in enumerate(line):
            if bit == '1':
                x = 60 + c * LED_PITCH
                y = (6 - r) * LED_PITCH
                rect(pen, x, y, x + LED_DOT, y + LED_DOT)
    return pen.glyph()


# ---- LCD: seven segments a..g plus the decimal point -----------------------------------------
#   aaa
#  f   b
#   ggg
#  e   c
#   ddd
SEGMENTS = {
    '0': "abcdef", '1': "bc", '2': "abdeg", '3': "abcdg", '4': "bcfg", '5': "acdfg",
    '6': "acdefg", '7': "abc", '8': "abcdefg", '9': "abcdfg", 'A': "abcefg", 'B': "cdefg",
    'C': "adef", 'D': "bcdeg", 'E': "adefg", 'F': "aefg", 'H': "bcefg", 'L': "def",
    'P': "abefg", 'U': "bcdef", 'O': "abcdef", 'S': "acdfg", '-': "g", '_': "d",
    '=': "dg", '\u00b0': "abfg",
}
LCD_W = 520      # outer width of the digit
LCD_H = 760      # outer height of the digit
LCD_T = 90       # segment thickness
LCD_X0 = 80
LCD_ADVANCE = 700


def hseg(pen, x0, x1, yc):
    h = LCD_T / 2
    poly(pen, [(x0, yc), (x0 + h, yc + h), (x1 - h, yc + h), (x1, yc), (x1 - h, yc - h), (x0 + h, yc - h)][::-1])


def vseg(pen, xc, y0, y1):
    h = LCD_T / 2
    poly(pen, [(xc, y0), (xc - h, y0 + h), (xc - h, y1 - h), (xc, y1), (xc + h, y1 - h), (xc + h, y0 + h)])


def lcd_glyph(segs, dot=False, colon=False):
    pen = TTGlyphPen(None)
    g = 8  # gap between segments
    left, right = LCD_X0 + LCD_T / 2, LCD_X0 + LCD_W - LCD_T / 2
    bottom, top = LCD_T / 2, LCD_H - LCD_T / 2
    mid = LCD_H / 2
    if 'a' in segs: hseg(pen, left + g, right - g, top)
    if 'g' in segs: hseg(pen, left + g, right - g, mid)
    if 'd' in segs: hseg(pen, left + g, right - g, bottom)
    if 'f' in segs: vseg(pen, left, mid + g, top - g)
    if 'b' in segs: vseg(pen, right, mid + g, top - g)
    if 'e' in segs: vseg(pen, left, bottom + g, mid - g)
    if 'c' in segs: vseg(pen, right, bottom + g, mid - g)
    if dot:
        rect(pen, LCD_X0 + LCD_W / 2 - 50, 0, LCD_X0 + LCD_W / 2 + 50, 100)
    if colon:
        rect(pen, LCD_X0 + LCD_W / 2 - 50, 150, LCD_X0 + LCD_W / 2 + 50, 250)
        rect(pen, LCD_X0 + LCD_W / 2 - 50, 510, LCD_X0 + LCD_W / 2 + 50, 610)
    return pen.glyph()


def notdef(advance):
    pen = TTGlyphPen(None)
    rect(pen, 50, 0, advance - 50, 700)
    # inner hole, counter-clockwise
    pen.moveTo((100, 50))
    pen.lineTo((advance - 100, 50))
    pen.lineTo((advance - 100, 650))
    pen.lineTo((100, 650))
    pen.closePath()
    return pen.glyph()


def empty():
    return TTGlyphPen(None).glyph()


def glyph_name(ch):
    return "uni%04X" % ord(ch)


def build(path, family, style_glyphs, advance):
    order = [".notdef", "space"] + [glyph_name(c) for c in style_glyphs]
    glyphs = {".notdef": notdef(advance), "space": empty()}
    cmap = {0x20: "space"}
    for ch, glyph in style_glyphs.items():
        glyphs[glyph_name(ch)] = glyph
        cmap[ord(ch)] = glyph_name(ch)
        if ch.isalpha() and ch.upper() == ch and ch.lower() != ch and ord(ch.lower()) not in cmap:
            cmap[ord(ch.lower())] = glyph_name(ch)
    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    metrics = {}
    for name in order:
        g = glyphs[name]
        lsb = g.xMin if hasattr(g, "xMin") and g.numberOfContours else 0
        metrics[name] = (advance, lsb)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT)
    fb.setupNameTable({
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": family + " Regular 1.0",
        "fullName": family,
        "psName": family.replace(" ", "") + "-Regular",
        "version": "Version 1.0",
    }, mac=False)
    fb.setupOS2(sTypoAscender=ASCENT, sTypoDescender=-DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=DESCENT, fsType=0,
                achVendID="VRNK", usWeightClass=400)
    fb.setupPost()
    fb.font["head"].created = fb.font["head"].modified = 0x7C25B080  # fixed: reproducible bytes
    fb.save(path)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    led = {ch: led_glyph(rows) for ch, rows in LED.items()}
    build(os.path.join(out, "KelLed.ttf"), "Dovudad", led, LED_ADVANCE)
    lcd = {ch: lcd_glyph(segs) for ch, segs in SEGMENTS.items()}
    lcd['.'] = lcd_glyph("", dot=True)
    lcd[':'] = lcd_glyph("", colon=True)
    build(os.path.join(out, "KelLcd.ttf"), "Dovudad LCD", lcd, LCD_ADVANCE)


if __name__ == "__main__":
    main()
