#!/usr/bin/env python3
"""Draws the progress window's searching animation: a magnifier sweeping over an open folder
whose sheets it reads, as a silent AVI of uncompressed 8-bit frames (one palette), the form the
platform's animation control plays without a codec.

The top-left pixel of every frame is the background colour, which the control may make
transparent. Usage: make_findcomp_avi.py OUTPUT.AVI
"""
import math
import struct
import sys

WIDTH, HEIGHT = 48, 40
FRAMES = 32
FPS = 10

PALETTE = [
    (240, 240, 240),  # 0 background
    (170, 120, 10),   # 1 folder edge
    (238, 190, 40),   # 2 folder
    (250, 215, 100),  # 3 folder front, lit
    (255, 255, 255),  # 4 paper
    (120, 120, 120),  # 5 paper edge
    (160, 160, 160),  # 6 text lines
    (30, 30, 30),     # 7 lens rim
    (180, 225, 250),  # 8 lens glass
    (120, 60, 20),    # 9 handle
    (60, 60, 60),     # 10 magnified text
    (235, 248, 255),  # 11 glint
]


class Frame:
    def __init__(self):
        self.px = [[0] * WIDTH for _ in range(HEIGHT)]

    def set(self, x, y, c):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.set(x, y0, c)
            self.set(x, y1 - 1, c)
        for y in range(y0, y1):
            self.set(x0, y, c)
            self.set(x1 - 1, y, c)

    def thick_line(self, x0, y0, x1, y1, width, c):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 3) + 1
        half = width / 2.0
        for i in range(steps + 1):
            t = i / steps
            cx, cy = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for y in range(int(cy - half) - 1, int(cy + half) + 2):
                for x in range(int(cx - half) - 1, int(cx + half) + 2):
                    if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= half * half:
                        self.set(x, y, c)

    def disc(self, cx, cy, r0, r1, c):
        for y in range(HEIGHT):
            for x in range(WIDTH):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if r0 <= d <= r1:
                    self.px[y][x] = c


def folder(f):
    f.rect(4, 10, 18, 14, 1)             # tab
    f.rect(4, 13, 42, 36, 2)             # back
    f.frame(4, 13, 42, 36, 1)
    # Three sheets standing in the folder.
    for i, x in enumerate((9, 17, 25)):
        top = 8 + 2 * i
        f.rect(x, top, x + 12, 30, 4)
        f.frame(x, top, x + 12, 30, 5)
        for y in range(top + 3, 28, 3):
            f.rect(x + 2, y, x + 10, y + 1, 6)
    # The front flap, lower than the back.
    f.rect(4, 22, 42, 36, 3)
    f.frame(4, 22, 42, 36, 1)


def magnifier(f, cx, cy):
    r = 7.5
    f.disc(cx, cy, 0, r, 8)
    # What the lens shows: the text lines, drawn darker and wider.
    for y in range(int(cy - r) + 1, int(cy + r)):
        if (y - int(cy)) % 3 == 0:
            for x in range(int(cx - r), int(cx + r) + 1):
                if math.hypot(x + 0.5 - cx, y + 0.5 - cy) < r - 2:
                    f.set(x, y, 10)
    f.disc(cx - 3, cy - 3, 0, 1.3, 11)
    f.disc(cx, cy, r, r + 1.6, 7)
    a = math.radians(45)
    hx, hy = cx + (r + 1) * math.cos(a), cy + (r + 1) * math.sin(a)
    f.thick_line(hx, hy, hx + 6, hy + 6, 3.2, 9)


def frames():
    out = []
    for n in range(FRAMES):
        f = Frame()
        folder(f)
        # The lens sweeps over the sheets and back along a flat arc.
        t = n / FRAMES
        cx = 22 + 9 * math.sin(2 * math.pi * t)
        cy = 17 - 4 * math.cos(4 * math.pi * t)
        magnifier(f, cx, cy)
        out.append(f)
    return out


def avi(frames_):
    stride = (WIDTH + 3) & ~3
    frame_bytes = stride * HEIGHT

    def chunk(fourcc, data):
        pad = b"\0" if len(data) % 2 else b""
        return fourcc + struct.pack("<I", len(data)) + data + pad

    def lst(kind, body):
        return b"LIST" + struct.pack("<I", len(body) + 4) + kind + body

    avih = struct.pack("<IIIIIIIIIIIIII", 1000000 // FPS, frame_bytes * FPS, 0, 0x10, len(frames_), 0, 1,
                       frame_bytes, WIDTH, HEIGHT, 0, 0, 0, 0)
    strh = b"vids" + b"DIB " + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, FPS, 0, len(frames_),
                                           frame_bytes, 0xFFFFFFFF, 0, 0, 0, WIDTH, HEIGHT)
    palette = bytearray()
    for i in range(256):
        r, g, b = PALETTE[i] if i < len(PALETTE) else (0, 0, 0)
        palette += bytes((b, g, r, 0))
    strf = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, frame_bytes, 0, 0, 256, 0) + bytes(palette)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))

    movi_body = bytearray()
    index = bytearray()
    for f in frames_:
        data = bytearray()
        for y in range(HEIGHT - 1, -1, -1):  # bottom-up rows
            row = bytes(f.px[y])
            data += row + b"\0" * (stride - len(row))
        offset = 4 + len(movi_body)  # from the "movi" type
        movi_body += chunk(b"00db", bytes(data))
        index += b"00db" + struct.pack("<III", 0x10, offset, len(data))
    movi = lst(b"movi", bytes(movi_body))
    body = b"AVI " + hdrl + movi + chunk(b"idx1", bytes(index))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    with open(sys.argv[1], "wb") as f:
        f.write(avi(frames()))


if __name__ == "__main__":
    main()
