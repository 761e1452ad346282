"""Writes square picture cells side by side as one 24-bit bottom-up BMP file.

Shared by the build-time picture scripts (the control set's glyphs, the main window's tool-bar
pictures). A cell is any object whose `px[y][x]` holds an (r, g, b) tuple.
"""
import struct


def write_bmp_strip(path, cells, size):
    width, height = size * len(cells), size
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for cell in cells:
            for x in range(size):
                r, g, b = cell.px[y][x]
                row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows += row
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(rows), 0, 0, 14 + 40)
    with open(path, "wb") as f:
        f.write(file_header + header + rows)
