// Popup menus: every one the program tracks goes through AfxTrackPopupMenu.
//
// A popup menu runs its own modal loop until the user picks an item or dismisses it. A test
// replaces that loop with a handler (AfxSetPopupMenuHandler) that sees the menu as it was built
// (it is still alive during the call, so its items can be read) and answers with the command the
// user would have picked.
#pragma once

#include <windows.h>

#include <functional>

struct AfxPopupMenuCall {
    HMENU hMenu;
    UINT nFlags;  // TPM_* flags as TrackPopupMenu would get them
    int x;        // screen coordinates
    int y;
    HWND hWndOwner;
};

// The command id the user picks; 0 when the menu is dismissed without a choice.
using AfxPopupMenuHandler = std::function<UINT(const AfxPopupMenuCall& call)>;

// Installs the handler for the whole process (an empty one brings back the real menus); returns
// the previous handler.
AfxPopupMenuHandler AfxSetPopupMenuHandler(AfxPopupMenuHandler handler);

// Tracks the menu (or asks the handler). With TPM_RETURNCMD the result is the chosen command (0
// for none); otherwise the choice reaches the owner as WM_COMMAND and the result is whether the
// menu was shown.
BOOL AfxTrackPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lpRect);
