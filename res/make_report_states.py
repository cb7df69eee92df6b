#!/usr/bin/env python3
"""Draws the report list's state pictures: a 96 x 15 strip of six 16-pixel lamps on magenta
(the transparent colour), written as a 24-bit .bmp beside this script. The result is committed,
so the build needs no Python; run this again after a change:  python3 res/make_report_states.py

  0 unused (a dim dash)   1 off (grey)   2 on (green)   3 sending (amber)   4 receiving (blue)
  5 error (red)
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT, CELL = 96, 15, 16
MAGENTA = (255, 0, 255)

# (face, rim) per lamp; no anti-aliasing, so that no pixel mixes with the transparent colour.
LAMPS = {
    1: ((192, 192, 192), (112, 112, 112)),
    2: ((40, 200, 60), (0, 110, 20)),
    3: ((255, 170, 20), (170, 90, 0)),
    4: ((60, 150, 255), (0, 70, 170)),
    5: ((235, 40, 40), (140, 0, 0)),
}


def lighten(color, amount):
    return tuple(min(255, c + (255 - c) * amount // 100) for c in color)


def pixel(x, y):
    index, cx = divmod(x, CELL)
    if index == 0:
        return (128, 128, 128) if 4 <= cx <= 11 and y == 7 else MAGENTA
    face, rim = LAMPS[index]
    dx, dy = cx - 7.5, y - 7.0
    d2 = dx * dx + dy * dy
    if d2 > 6.2 * 6.2:
        return MAGENTA
    if d2 > 5.0 * 5.0:
        return rim
    hx, hy = cx - 5.5, y - 5.0  # a highlight up and to the left
    if hx * hx + hy * hy <= 1.6 * 1.6:
        return lighten(face, 70)
    return face


def write_bmp(path):
    row_size = (WIDTH * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        pixels += row
    header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(path, "wb") as f:
        f.write(file_header + header + pixels)


if __name__ == "__main__":
    write_bmp(os.path.join(HERE, "report_states.bmp"))
