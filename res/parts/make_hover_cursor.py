#!/usr/bin/env python3
"""Draws the tool buttons' hover cursor: a pointing hand, white with a black outline, its hot spot
at the tip of the finger. Writes tool_hover.cur (32 x 32, 32-bit with an AND mask) beside this
script. The result is committed; run this again after a change:  python3 res/parts/make_hover_cursor.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
HOTSPOT = (11, 1)


def rrect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


PARTS = [
    rrect(9, 1, 14, 17, 2.5),    # the pointing finger
    rrect(14, 9, 18.5, 18, 2.2),  # three folded fingers
    rrect(18.5, 10, 23, 18, 2.2),
    rrect(23, 11, 27, 19, 2),
    rrect(8, 15, 27, 28, 4),     # the palm
    rrect(4, 14, 10, 22, 2.5),   # the thumb
]


def hand(x, y):
    return any(part(x + 0.5, y + 0.5) for part in PARTS)


# Black creases between the fingers and along the thumb.
CREASES = {(14, y) for y in range(10, 16)} | {(18, y) for y in range(11, 16)} | \
          {(23, y) for y in range(12, 16)} | {(9, y) for y in range(19, 22)}


def pixel(x, y):
    if hand(x, y):
        return (0, 0, 0, 255) if (x, y) in CREASES else (255, 255, 255, 255)
    near = any(hand(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1))
    return (0, 0, 0, 255) if near else (0, 0, 0, 0)


def cursor_file():
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''
    mask = b''
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            rows += bytes((b, g, r, a))
            if a == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack('>I', bits)
    image = header + rows + mask
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, HOTSPOT[0], HOTSPOT[1], len(image), 6 + 16)
    return struct.pack('<HHH', 0, 2, 1) + entry + image


with open(os.path.join(HERE, 'tool_hover.cur'), 'wb') as f:
    f.write(cursor_file())
