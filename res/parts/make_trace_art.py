#!/usr/bin/env python3
"""Draws the trace page's button icons (normal and hover of each) with the shapes and file
writers of res/make_art.py, into this folder as trace_*.ico. The results are committed; run this
again after a change to the pictures:  python3 res/parts/make_trace_art.py
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import make_art  # noqa: E402
from make_art import badge_icon, circle, minus, polygon, polyline, rrect, union  # noqa: E402

make_art.HERE = os.path.dirname(os.path.abspath(__file__))


def sym_start(k):
    return polygon([(9.0 * k, 6.8 * k), (17.6 * k, 12 * k), (9.0 * k, 17.2 * k)])


def sym_stop(k):
    return rrect(7.6 * k, 7.6 * k, 16.4 * k, 16.4 * k, 1.2 * k)


def sym_clear(k):
    return union(polyline([(7.6 * k, 7.6 * k), (16.4 * k, 16.4 * k)], 3.0 * k),
                 polyline([(16.4 * k, 7.6 * k), (7.6 * k, 16.4 * k)], 3.0 * k))


def sym_config(k):
    """A gear: a ring with eight teeth around a hole."""
    teeth = [circle(12 * k + 6.2 * k * math.cos(a), 12 * k + 6.2 * k * math.sin(a), 1.7 * k)
             for a in (i * math.pi / 4 for i in range(8))]
    return minus(union(circle(12 * k, 12 * k, 5.6 * k), *teeth), circle(12 * k, 12 * k, 2.4 * k))


def sym_hex(k):
    """A '#': what the log shows after a switch to hexadecimal."""
    return union(rrect(9.0 * k, 6.5 * k, 10.8 * k, 17.5 * k, 0.5 * k),
                 rrect(13.2 * k, 6.5 * k, 15.0 * k, 17.5 * k, 0.5 * k),
                 rrect(6.5 * k, 9.0 * k, 17.5 * k, 10.8 * k, 0.5 * k),
                 rrect(6.5 * k, 13.2 * k, 17.5 * k, 15.0 * k, 0.5 * k))


def sym_char(k):
    """An 'A': what the log shows after a switch to characters."""
    return union(polyline([(7.2 * k, 17.6 * k), (12 * k, 6.4 * k), (16.8 * k, 17.6 * k)], 2.6 * k),
                 polyline([(9.2 * k, 13.6 * k), (14.8 * k, 13.6 * k)], 2.2 * k))


def main():
    # (resource id of the normal icon, of the hover icon, colour, symbol)
    icons = [
        ('config', 183, 192, (110, 110, 120), sym_config),
        ('start', 185, 194, (46, 160, 67), sym_start),
        ('stop', 187, 196, (204, 52, 45), sym_stop),
        ('clear', 197, 198, (224, 130, 30), sym_clear),
        ('to_hex', 199, 202, (40, 110, 200), sym_hex),
        ('to_char', 200, 201, (120, 70, 180), sym_char),
    ]
    for name, _, _, colour, symbol in icons:
        make_art.write_ico('trace_%s.ico' % name, [badge_icon(24, colour, symbol, False)])
        make_art.write_ico('trace_%s_hover.ico' % name, [badge_icon(24, colour, symbol, True)])


if __name__ == '__main__':
    main()
