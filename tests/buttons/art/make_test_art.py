#!/usr/bin/env python3
"""Writes the pictures the button tests load from their resources (run once; the files are kept).

Solid icons make it easy to tell from a capture which icon a button drew; the bitmaps have known
colours at known places.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def icon_image(width, height, pixel):
    """The DIB of one icon image: 32-bit BGRA rows bottom-up, then an all-opaque AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b, a = pixel(x, y)
            rows += bytes((b, g, r, a))
    mask_row = ((width + 31) // 32) * 4
    return header + rows + bytes(mask_row * height)


def write_icon(name, width, height, pixel, hotspot=None):
    """An .ico file, or a .cur file when a hot spot is given."""
    image = icon_image(width, height, pixel)
    kind = 1 if hotspot is None else 2
    x, y = (1, 32) if hotspot is None else hotspot  # planes and bit count for icons
    data = struct.pack('<HHH', 0, kind, 1)
    data += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, x, y, len(image), 6 + 16)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data + image)


def write_bitmap(name, width, height, pixel):
    """A 24-bit .bmp file, rows bottom-up."""
    stride = (width * 3 + 3) // 4 * 4
    rows = b''
    for y in reversed(range(height)):
        row = b''
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(head + info + rows)


def write_bitmap_4bit(name, width, height, palette, index):
    """A 4-bit .bmp file with a colour table (colour maps apply to colour tables)."""
    stride = (width * 4 + 31) // 32 * 4
    rows = b''
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            row[x // 2] |= index(x, y) << (0 if x % 2 else 4)
        rows += bytes(row)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette) + bytes(4 * (16 - len(palette)))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(rows), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack('<2sIHHI', b'BM', offset + len(rows), 0, 0, offset)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(head + info + table + rows)


def solid(r, g, b):
    return lambda x, y: (r, g, b, 255)


write_icon('in_red.ico', 32, 32, solid(255, 0, 0))
write_icon('out_blue.ico', 32, 32, solid(0, 0, 255))
write_icon('small_green.ico', 16, 16, solid(0, 160, 0))
# An arrow-like wedge, hot spot at its tip.
write_icon('hover.cur', 32, 32,
           lambda x, y: (0, 0, 0, 255) if x <= y < 20 and x < 12 else (0, 0, 0, 0), hotspot=(0, 0))
# 16 x 16: a black 8 x 8 square in the middle of the 0xC0C0C0 background the colour map replaces.
write_bitmap_4bit('image16.bmp', 16, 16, [(0, 0, 0), (192, 192, 192)],
                  lambda x, y: 0 if 4 <= x < 12 and 4 <= y < 12 else 1)
# 8 x 8 checker for a pattern brush.
write_bitmap('pattern8.bmp', 8, 8, lambda x, y: (255, 0, 255) if (x + y) % 2 else (0, 255, 0))
# The parent's background: each pixel tells its own place.
write_bitmap('background.bmp', 96, 96, lambda x, y: (2 * x, 2 * y, 128))
