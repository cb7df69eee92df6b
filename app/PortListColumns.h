// The seven columns of the port list: titles, alignment and the share of the width each gets.
#pragma once

#include <windows.h>

#include <commctrl.h>

enum PortListColumn {
    PORTCOL_NO = 0,
    PORTCOL_COMPORT = 1,
    PORTCOL_TRIGGER = 2,
    PORTCOL_ALIAS = 3,
    PORTCOL_IPADDRESS = 4,
    PORTCOL_PORT = 5,
    PORTCOL_PROTOCOL = 6,
    PORTCOL_COUNT = 7,
};

struct PortListColumnSpec {
    const wchar_t* title;
    int format;   // LVCFMT_*
    int percent;  // share of the width; the last column takes what the others leave
};

extern const PortListColumnSpec kPortListColumns[PORTCOL_COUNT];

// The width of a column when the list is set up: u = clientWidth / 100, each column but the last
// gets percent * u, and the last clientWidth - 90 * u - x, x being where the page was moved to.
int PortColumnSetupWidth(int column, int clientWidth, int x);

// The width of a column when the list is resized to width: width * percent / 100, and for the
// last column width - width * 90 / 100.
int PortColumnResizeWidth(int column, int width);
