// Moving a child window without repainting it, as the main dialog's layout does, and then
// repainting only what the move uncovered. A move without repainting leaves the window's new area
// as the screen had it: where the window did not show its content before (its frame at the new
// place included), the parent or the old frame's lines would stay, and a window that draws only
// what changes (the monitor's list) would never repair them. What the window showed before and
// still covers is left as it is.
#pragma once

#include "framework/framework.h"

// Moves the window to rect (in its parent's client coordinates) without repainting, then
// invalidates, with erase and frame, the part of it that the move uncovered.
void MoveRepaintingUncovered(CWnd& window, const CRect& rect);
