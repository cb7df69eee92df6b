// What a window, or the screen, shows: its pixels read back.
#pragma once

#include <windows.h>

#include <vector>

namespace uitest {

// The colours of a rectangle of the window's client area (hWnd null: of the screen), row after
// row from the top; empty when they cannot be read.
std::vector<COLORREF> WindowPixels(HWND hWnd, const RECT& rect);

}  // namespace uitest
