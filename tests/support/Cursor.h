// The real cursor, put where a test needs it. SetCursorPos goes through the X server, and on a busy
// machine the position reads back later: hit tests that read GetMessagePos (tooltips, the list
// view's context menu, the drag's drop position) must wait until a message carries it.
#pragma once

#include "tests/support/WaitFor.h"

#include <windows.h>

namespace uitest {

// Puts the cursor at a screen point and handles the thread's queue (with a WM_NULL posted to hWnd,
// or to the thread when hWnd is null) until GetCursorPos and the position of the last message
// (GetMessagePos) both read that point; false when they do not within timeoutMs. The system posts
// the mouse move as for the user's hand.
bool PutCursorAt(HWND hWnd, POINT screen, DWORD timeoutMs = kGenerousWaitMs);

}  // namespace uitest
