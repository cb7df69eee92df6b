#!/usr/bin/env python3
"""Writes res/parts/comdb.rc, the template of the COM-number database dialog: three legend
tiles, a 16 x 16 grid of COM-number tiles (COM1 to COM256) and the three command buttons. The
result is committed, so the build needs no Python; run this again after a change to the layout:
python3 res/make_comdb_rc.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "parts", "comdb.rc")

# Every control is a plain push button; the tiles become owner-drawn when their class takes
# them over. CONTROL adds WS_CHILD | WS_VISIBLE.
STYLE = "BS_PUSHBUTTON | WS_TABSTOP"

LEGENDS = [  # (id name, caption, x, y)
    ("IDC_COMDB_LEGEND_PRESENT", "Do not change", 7, 7),
    ("IDC_COMDB_LEGEND_CLAIMED", "Use the com db", 129, 7),
    ("IDC_COMDB_LEGEND_FREE", "Do not use com db", 250, 7),
]
LEGEND_SIZE = (110, 17)

# Sixteen rows of sixteen tiles; the rows come in pairs 18 units apart.
ROWS = [32, 50, 72, 90, 111, 129, 150, 168, 189, 207, 229, 247, 269, 287, 309, 327]
TILE_LEFT = 7
TILE_SIZE = (22, 17)
FIRST_TILE_ID = 1029  # COM n is control 1028 + n

COMMANDS = [  # (id name, caption, x, y)
    ("IDC_COMDB_CLEARALL", "Clear All", 7, 347),
    ("IDC_COMDB_APPLY", "Apply", 258, 347),
    ("IDC_COMDB_CANCEL", "Cancel", 310, 347),
]
COMMAND_SIZE = (50, 21)


def control(caption, ident, x, y, size):
    return '    CONTROL "%s", %s, "Button", %s, %d, %d, %d, %d' % (caption, ident, STYLE, x, y, size[0], size[1])


def main():
    lines = [
        "// The COM-number database dialog. Made by res/make_comdb_rc.py; edit that script, not this file.",
        "#pragma code_page(65001)",
        "",
        "#include <windows.h>",
        "",
        '#include "comdb.h"',
        "",
        "IDD_COMDB DIALOGEX 0, 0, 367, 375",
        "STYLE DS_SETFONT | DS_FIXEDSYS | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU",
        'CAPTION "COM DB Setting"',
        'FONT 8, "MS Shell Dlg", 400, 0, 0x1',
        "BEGIN",
    ]
    for ident, caption, x, y in LEGENDS:
        lines.append(control(caption, ident, x, y, LEGEND_SIZE))
    for n in range(1, 257):
        x = TILE_LEFT + TILE_SIZE[0] * ((n - 1) % 16)
        y = ROWS[(n - 1) // 16]
        lines.append(control(str(n), str(FIRST_TILE_ID + n - 1), x, y, TILE_SIZE))
    for ident, caption, x, y in COMMANDS:
        lines.append(control(caption, ident, x, y, COMMAND_SIZE))
    lines.append("END")
    with open(OUT, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
