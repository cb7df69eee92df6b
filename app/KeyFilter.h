// The key filter that the main dialog, its two pages and the progress dialog share.
#pragma once

#include <windows.h>

// A key-down of Enter, Escape or F1: these windows swallow it, so that it neither closes a
// dialog nor asks for help.
inline bool IsFilteredKey(const MSG* pMsg)
{
    return pMsg->message == WM_KEYDOWN &&
           (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_F1);
}
