#!/usr/bin/env python3
"""Draws the main window's four tool-bar pictures as one 24-bit BMP strip of 16 x 16 cells.

Cells, in image-index order: report settings (a sheet with a cog), the test report (a sheet
with a chart), the detail records (a table) and the export folder (a folder under a
magnifier). The background is olive (RGB 128, 128, 0), the colour the program makes
transparent when it loads the strip; no picture uses it. The platform greys the pictures of
disabled buttons from their mask. Usage: make_tool_images.py OUTPUT_DIR
"""
import math
import os
import sys

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, 'tools'))
from bmp_strip import write_bmp_strip  # noqa: E402

SIZE = 16
OLIVE = (128, 128, 0)
WHITE = (255, 255, 255)
PAPER_EDGE = (96, 96, 96)
FOLD = (208, 208, 208)
TEXT_GREY = (150, 150, 150)
COG = (56, 88, 150)
COG_HOLE = (255, 255, 255)
AXIS = (40, 40, 40)
CURVE_RED = (210, 30, 30)
CURVE_GREEN = (20, 150, 40)
HEADER_BLUE = (40, 90, 190)
GRID = (110, 130, 160)
CELL = (235, 242, 255)
FOLDER = (238, 190, 40)
FOLDER_DARK = (170, 120, 10)
LENS_RIM = (30, 30, 30)
LENS_GLASS = (180, 225, 250)
HANDLE = (120, 60, 20)


class Cell:
    def __init__(self):
        self.px = [[OLIVE] * SIZE for _ in range(SIZE)]

    def set(self, x, y, color):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = color

    def rect(self, x0, y0, x1, y1, color):
        """Fills x0 <= x < x1, y0 <= y < y1."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, color)

    def frame(self, x0, y0, x1, y1, color):
        for x in range(x0, x1):
            self.set(x, y0, color)
            self.set(x, y1 - 1, color)
        for y in range(y0, y1):
            self.set(x0, y, color)
            self.set(x1 - 1, y, color)

    def line(self, x0, y0, x1, y1, color):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            t = i / steps if steps else 0
            self.set(round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t), color)

    def disc(self, cx, cy, r0, r1, color):
        """Pixels whose centre lies between radius r0 and r1 around (cx, cy)."""
        for y in range(SIZE):
            for x in range(SIZE):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if r0 <= d <= r1:
                    self.px[y][x] = color


def sheet(c, right=12, bottom=16):
    """A white page with a folded top-right corner, its left edge at x 2."""
    c.rect(2, 0, right, bottom, WHITE)
    c.frame(2, 0, right, bottom, PAPER_EDGE)
    for i in range(4):  # the fold
        for j in range(4 - i):
            c.set(right - 1 - j, i, OLIVE)
    c.line(right - 4, 0, right - 4, 3, PAPER_EDGE)
    c.line(right - 4, 3, right - 1, 3, PAPER_EDGE)
    c.line(right - 4, 0, right - 1, 3, PAPER_EDGE)
    c.set(right - 3, 2, FOLD)
    c.set(right - 3, 1, FOLD)
    c.set(right - 2, 2, FOLD)


def report_settings(c):
    sheet(c)
    for y in (4, 6, 8):
        c.line(4, y, 9, y, TEXT_GREY)
    # A cog over the bottom-right corner: a ring with eight teeth around a hole.
    cx, cy = 11.5, 11.5
    c.disc(cx, cy, 0, 3.6, COG)
    for k in range(8):
        a = k * math.pi / 4
        tx, ty = cx + 4.2 * math.cos(a), cy + 4.2 * math.sin(a)
        c.disc(tx, ty, 0, 1.1, COG)
    c.disc(cx, cy, 0, 1.6, COG_HOLE)


def test_report(c):
    sheet(c, right=15)
    c.line(4, 3, 9, 3, TEXT_GREY)
    # A small chart: axes and two curves.
    c.line(4, 6, 4, 14, AXIS)
    c.line(4, 14, 13, 14, AXIS)
    c.line(5, 12, 7, 9, CURVE_RED)
    c.line(7, 9, 9, 11, CURVE_RED)
    c.line(9, 11, 12, 7, CURVE_RED)
    c.line(5, 13, 8, 12, CURVE_GREEN)
    c.line(8, 12, 12, 11, CURVE_GREEN)


def record_table(c):
    c.rect(1, 2, 15, 15, CELL)
    c.frame(1, 2, 15, 15, GRID)
    for y in (8, 11):
        c.line(1, y, 14, y, GRID)
    for x in (5, 10):
        c.line(x, 5, x, 14, GRID)
    c.rect(1, 2, 15, 5, HEADER_BLUE)
    c.frame(1, 2, 15, 15, HEADER_BLUE)


def folder_magnifier(c):
    # The folder: a tab, then the body.
    c.rect(0, 3, 6, 5, FOLDER_DARK)
    c.rect(0, 4, 13, 13, FOLDER)
    c.frame(0, 4, 13, 13, FOLDER_DARK)
    c.line(1, 6, 12, 6, FOLDER_DARK)
    # The magnifier over its lower right corner.
    c.disc(9.5, 9.5, 0, 2.6, LENS_GLASS)
    c.disc(9.5, 9.5, 2.6, 3.9, LENS_RIM)
    c.line(12, 12, 15, 15, HANDLE)
    c.line(12, 13, 14, 15, HANDLE)
    c.line(13, 12, 15, 14, HANDLE)


PICTURES = [report_settings, test_report, record_table, folder_magnifier]


def write_bmp(path, cells):
    write_bmp_strip(path, cells, SIZE)


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    cells = []
    for draw in PICTURES:
        cell = Cell()
        draw(cell)
        cells.append(cell)
    path = os.path.abspath(os.path.join(out_dir, "vk_tool_images.bmp"))
    write_bmp(path, cells)
    with open(os.path.join(out_dir, "vk_tool_images.rc"), "w") as f:
        f.write("// Generated by make_tool_images.py: the main window's tool-bar pictures.\n")
        f.write('VK_TOOLIMAGES BITMAP "%s"\n' % path)


if __name__ == "__main__":
    main()
