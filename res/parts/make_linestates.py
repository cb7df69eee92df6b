#!/usr/bin/env python3
"""Draws bitmap 150, the monitor list's line-state images: a strip of six 16 x 15 images on
magenta (the transparent colour), 24 bits. 0 is unused (all transparent), 1 a grey lamp that is
off, 2 green (on), 3 amber (sending), 4 blue (receiving), 5 red (error). Edges are blended with the
list's white background, since a magenta key allows no partial transparency. The result is
committed; run this again after a change:  python3 res/parts/make_linestates.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CELL_W, H = 16, 15
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
SS = 4  # subsamples per pixel along each axis

# (rim, body, highlight) of each lamp; None for the unused image.
LAMPS = [
    None,
    ((120, 120, 120), (200, 200, 200), (240, 240, 240)),
    ((20, 110, 30), (50, 190, 60), (190, 250, 190)),
    ((170, 100, 0), (250, 170, 20), (255, 235, 170)),
    ((20, 70, 160), (60, 140, 240), (200, 225, 255)),
    ((150, 20, 20), (230, 50, 40), (255, 200, 190)),
]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lamp_pixel(x, y, colours):
    """Colour and coverage of pixel (x, y) of a lamp centred in the cell."""
    rim, body, light = colours
    cx, cy, r = 7.5, 7.0, 5.6
    covered = 0
    total = [0.0, 0.0, 0.0]
    for sy in range(SS):
        for sx in range(SS):
            px = x + (sx + 0.5) / SS
            py = y + (sy + 0.5) / SS
            d2 = (px - cx) ** 2 + (py - cy) ** 2
            if d2 > r * r:
                continue
            covered += 1
            if d2 > (r - 1.2) ** 2:
                c = rim
            else:
                # A soft highlight towards the upper left.
                hd = ((px - (cx - 1.8)) ** 2 + (py - (cy - 1.8)) ** 2) ** 0.5
                c = mix(light, body, min(1.0, hd / 3.2))
            for i in range(3):
                total[i] += c[i]
    if covered == 0:
        return None, 0.0
    return tuple(int(round(v / covered)) for v in total), covered / float(SS * SS)


def strip():
    width = CELL_W * len(LAMPS)
    rows = []
    for y in range(H):
        row = []
        for x in range(width):
            colours = LAMPS[x // CELL_W]
            pixel = MAGENTA
            if colours is not None:
                c, coverage = lamp_pixel(x % CELL_W, y, colours)
                if coverage >= 0.5:
                    pixel = mix(WHITE, c, min(1.0, coverage * 1.2))
            row.append(pixel)
        rows.append(row)
    return width, rows


def write_bmp(path, width, rows):
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, len(rows), 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main():
    width, rows = strip()
    write_bmp(os.path.join(HERE, "linestates.bmp"), width, rows)


if __name__ == "__main__":
    main()
