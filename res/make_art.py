#!/usr/bin/env python3
"""Draws the program's icons and the About bitmap: simple pictograms, anti-aliased by
supersampling. Writes .ico (32-bit images with an AND mask) and a 24-bit .bmp into the folder of
this script. The results are committed, so the build needs no Python; run this again after a
change to the pictures:  python3 res/make_art.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4  # subsamples per pixel along each axis


# ---- shapes: functions (x, y) -> inside?, in pixel units of the target size -------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rrect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        c = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < (xb - xa) * (y - ya) / (yb - ya) + xa:
                c = not c
        return c
    return inside


def polyline(points, width):
    h = width / 2.0

    def seg_dist(x, y, a, b):
        (xa, ya), (xb, yb) = a, b
        vx, vy = xb - xa, yb - ya
        t = ((x - xa) * vx + (y - ya) * vy) / float(vx * vx + vy * vy)
        t = max(0.0, min(1.0, t))
        px, py = xa + t * vx, ya + t * vy
        return math.hypot(x - px, y - py)

    return lambda x, y: any(seg_dist(x, y, points[i], points[i + 1]) <= h for i in range(len(points) - 1))


def arc(cx, cy, r, width, a0, a1):
    """A ring of the given width from angle a0 to a1 (degrees, counter-clockwise, y up)."""
    h = width / 2.0

    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > h:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        lo, hi = a0 % 360, a1 % 360
        return lo <= a <= hi if lo <= hi else (a >= lo or a <= hi)
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---- canvas -----------------------------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, bg=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(bg) for _ in range(w * h)]  # straight RGBA, 0..255

    def fill(self, shape, color, shade=None):
        """Paints shape with color (r, g, b[, a]); shade(x, y) may give a colour per pixel."""
        step = 1.0 / SS
        for y in range(self.h):
            for x in range(self.w):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if shape(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                if not hits:
                    continue
                c = shade(x + 0.5, y + 0.5) if shade else color
                a = (c[3] if len(c) > 3 else 255) / 255.0 * hits / (SS * SS)
                self.blend(x, y, c, a)

    def blend(self, x, y, c, a):
        d = self.px[y * self.w + x]
        da = d[3] / 255.0
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        for i in range(3):
            d[i] = int(round((c[i] * a + d[i] * da * (1 - a)) / oa))
        d[3] = int(round(oa * 255))


def mix(c1, c2, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


# ---- file formats -----------------------------------------------------------------------------

def ico_image(cv):
    w, h = cv.w, cv.h
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(h - 1, -1, -1):
        rows.append(b''.join(struct.pack('BBBB', p[2], p[1], p[0], p[3]) for p in cv.px[y * w:(y + 1) * w]))
    mask_stride = ((w + 31) // 32) * 4
    mask = []
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            if cv.px[y * w + x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.append(bytes(bits))
    return header + b''.join(rows) + b''.join(mask)


def write_ico(name, canvases):
    images = [ico_image(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out + b''.join(images))


def write_bmp(name, cv):
    w, h = cv.w, cv.h
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for p in cv.px[y * w:(y + 1) * w]:
            row += bytes((p[2], p[1], p[0]))
        pixels += row + bytes(stride - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(head + info + pixels)


# ---- the pictures -----------------------------------------------------------------------------

def connector(s, ox, oy, body, pins):
    """A nine-pin serial connector seen from the front, s pixels wide, at (ox, oy)."""
    k = s / 20.0
    shell = polygon([(ox + 0 * k, oy + 0 * k), (ox + 20 * k, oy + 0 * k),
                     (ox + 17 * k, oy + 10 * k), (ox + 3 * k, oy + 10 * k)])
    pin_r = 0.95 * k
    dots = [circle(ox + (3.8 + 3.1 * i) * k, oy + 3.2 * k, pin_r) for i in range(5)]
    dots += [circle(ox + (5.35 + 3.1 * i) * k, oy + 7.0 * k, pin_r) for i in range(4)]
    return shell, union(*dots)


def app_icon(size):
    cv = Canvas(size, size)
    k = size / 32.0
    top, bottom = (64, 132, 214), (22, 72, 150)
    cv.fill(rrect(1 * k, 1 * k, 31 * k, 31 * k, 6 * k), None,
            shade=lambda x, y: mix(top, bottom, y / size))
    # network waves above the connector: the port's data leaves over the network
    for r in (5.0, 8.5):
        cv.fill(arc(16 * k, 16.5 * k, r * k, 1.9 * k, 45, 135), (255, 255, 255, 230))
    cv.fill(circle(16 * k, 16.5 * k, 1.8 * k), (255, 255, 255))
    shell, pins = connector(22 * k, 5 * k, 19 * k, None, None)
    cv.fill(shell, (255, 255, 255))
    cv.fill(pins, (30, 80, 160))
    return cv


def badge_icon(size, base, symbol, hover):
    """A round badge with a white symbol; the hover variant is lighter and has a soft halo."""
    cv = Canvas(size, size)
    k = size / 24.0
    c = lighten(base, 0.18) if hover else base
    if hover:
        cv.fill(circle(12 * k, 12 * k, 11.8 * k), lighten(base, 0.55) + (150,))
    light, dark = lighten(c, 0.35), mix(c, (0, 0, 0), 0.18)
    cv.fill(circle(12 * k, 12 * k, 10.2 * k), None, shade=lambda x, y: mix(light, dark, y / size))
    cv.fill(symbol(k), (255, 255, 255))
    return cv


def sym_plus(k):
    return union(rrect(6.5 * k, 10.4 * k, 17.5 * k, 13.6 * k, 1 * k), rrect(10.4 * k, 6.5 * k, 13.6 * k, 17.5 * k, 1 * k))


def sym_minus(k):
    return rrect(6.5 * k, 10.4 * k, 17.5 * k, 13.6 * k, 1 * k)


def sym_check(k):
    return polyline([(6.8 * k, 12.4 * k), (10.4 * k, 16.0 * k), (17.4 * k, 8.2 * k)], 3.0 * k)


def sym_revert(k):
    """A counter-clockwise arrow: a ring open at the upper left, the head at its upper end."""
    cx, cy, r, t = 12 * k, 12.6 * k, 5.4 * k, math.radians(98)
    ring = arc(cx, cy, r, 2.8 * k, 160, 98)
    bx, by = cx + r * math.cos(t), cy - r * math.sin(t)
    dx, dy = -math.sin(t), -math.cos(t)  # direction of travel at the head
    nx, ny = math.cos(t), -math.sin(t)   # outwards
    head = polygon([(bx + 4.6 * k * dx, by + 4.6 * k * dy), (bx + 3.4 * k * nx, by + 3.4 * k * ny),
                    (bx - 3.4 * k * nx, by - 3.4 * k * ny)])
    return union(ring, head)


def about_bitmap():
    w, h = 200, 76
    cv = Canvas(w, h, (255, 255, 255, 255))
    left, right = (22, 60, 128), (70, 140, 215)
    cv.fill(lambda x, y: True, None, shade=lambda x, y: mix(left, right, x / w))
    # connector on the left, a dotted network line, and a globe on the right
    shell, pins = connector(56, 14, 24, None, None)
    cv.fill(shell, (245, 248, 255))
    cv.fill(pins, (30, 70, 140))
    for i in range(7):
        cv.fill(circle(82 + 10 * i, 38, 2.2), (255, 255, 255, 220))
    cv.fill(circle(166, 38, 20), (235, 243, 255))
    globe = union(arc(166, 38, 20, 2.2, 0, 360), polyline([(146, 38), (186, 38)], 2.0),
                  polyline([(166, 18), (166, 58)], 2.0))
    cv.fill(globe, (40, 100, 180))
    for dy in (-10, 10):
        cv.fill(polyline([(150, 38 + dy), (182, 38 + dy)], 1.6), (40, 100, 180))
    cv.fill(minus(circle(166, 38, 12.5), circle(166, 38, 10.8)), (40, 100, 180))
    return cv


def main():
    write_ico('SarventoCtl.ico', [app_icon(32), app_icon(16), app_icon(48)])
    tools = [
        ('add', (46, 160, 67), sym_plus),
        ('delete', (204, 52, 45), sym_minus),
        ('apply', (40, 110, 200), sym_check),
        ('revert', (224, 130, 30), sym_revert),
    ]
    for name, colour, symbol in tools:
        write_ico('tool_%s.ico' % name, [badge_icon(24, colour, symbol, False)])
        write_ico('tool_%s_hover.ico' % name, [badge_icon(24, colour, symbol, True)])
    write_bmp('about.bmp', about_bitmap())


if __name__ == '__main__':
    main()
