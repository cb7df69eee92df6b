// The resource the icon button loads from the program: its hover cursor. Plain C, so that
// resource scripts can include it.
#pragma once

#define IDC_BUTTONST_HOVER 188
