#!/usr/bin/env python3
"""Writes the chart's hand cursor (a pointing hand, 32x32, monochrome) as a .cur file.

Usage: make_hand_cursor.py OUT.cur
'#' is black, '.' white, anything else transparent; the hot spot is the fingertip.
"""
import struct
import sys

ART = [
    "     ##                         ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..###                      ",
    "    #..#..###                   ",
    "    #..#..#..##                 ",
    "    #..#..#..#.#                ",
    " ## #..#..#..#..#               ",
    "#..##........#..#               ",
    "#...#...........#               ",
    " #..#...........#               ",
    "  #.#...........#               ",
    "  #.............#               ",
    "   #............#               ",
    "   #...........#                ",
    "    #..........#                ",
    "    #.........#                 ",
    "     #........#                 ",
    "     #........#                 ",
    "     ##########                 ",
]
HOT_X, HOT_Y = 5, 0
SIZE = 32


def mask_rows(pick):
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        line = ART[y] if y < len(ART) else ""
        bits = 0
        for x in range(SIZE):
            ch = line[x] if x < len(line) else " "
            bits = (bits << 1) | pick(ch)
        rows.append(struct.pack(">I", bits))
    return b"".join(rows)


def main(out):
    xor = mask_rows(lambda ch: 1 if ch == "." else 0)
    and_ = mask_rows(lambda ch: 0 if ch in "#." else 1)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + xor + and_
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_X, HOT_Y, len(image), 6 + 16)
    with open(out, "wb") as f:
        f.write(directory + entry + image)


if __name__ == "__main__":
    main(sys.argv[1])
