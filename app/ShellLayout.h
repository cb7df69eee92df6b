// Where the main dialog puts its children: pure arithmetic on the client size (cx, cy) and the
// page origin (L, T), the left and top of the page rectangle that InitTabs takes once.
#pragma once

#include "framework/framework.h"

struct ShellLayout {
    CRect portPage;     // the "Port Info" page
    CRect monitorPage;  // the "Status" page, which also covers the tool buttons' strip
    CRect monitorList;  // the monitor's list, in the page's own coordinates
    CRect tab;          // the tab control
    CRect statusBar;    // 20 pixels along the bottom edge
};

// The page rectangle from the tab control's rectangle in the dialog's client coordinates: inset
// by 8 at the left, right and bottom, and by 70 at the top (below the tab strip and the buttons).
CRect PageRectFromTab(const CRect& tabRect);

ShellLayout ComputeShellLayout(int cx, int cy, int left, int top);

// The tool button with index 0..3: 32 x 32 pixels, 52 apart, 40 above the page origin.
CRect ToolButtonRect(int index, int left, int top);
