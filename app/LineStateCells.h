// Where the monitor list shows each line-state bit, and with which image of bitmap 150.
#pragma once

#include <windows.h>

// Images of the monitor list's image list (bitmap 150).
enum LineStateImage {
    LSIMG_UNUSED = 0,
    LSIMG_OFF = 1,
    LSIMG_ON = 2,
    LSIMG_SENDING = 3,
    LSIMG_RECEIVING = 4,
    LSIMG_ERROR = 5,
};

struct LineStateCell {
    BYTE bit;     // LINESTATE_* bit
    int column;   // column of the monitor list
    int imageOn;  // image while the bit is set; LSIMG_OFF while it is clear
};

constexpr int kLineStateCellCount = 8;
// CON, ERR, TX, RX, CTS, DSR, DCD, RI: columns 3 to 10.
extern const LineStateCell kLineStateCells[kLineStateCellCount];

// RX and TX are drawn off on every device tick, so that a line that keeps moving data blinks.
constexpr BYTE kTrafficMask = 0xF3;

inline int LineStateCellImage(const LineStateCell& cell, BYTE state)
{
    return (state & cell.bit) ? cell.imageOn : LSIMG_OFF;
}
