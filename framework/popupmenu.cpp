// The one road of every popup menu, and the test seam on it.
#include "framework/popupmenu.h"

#include <mutex>
#include <utility>

namespace {

std::mutex g_handlerLock;
AfxPopupMenuHandler g_handler;

}  // namespace

AfxPopupMenuHandler AfxSetPopupMenuHandler(AfxPopupMenuHandler handler)
{
    std::lock_guard<std::mutex> guard(g_handlerLock);
    AfxPopupMenuHandler old = std::move(g_handler);
    g_handler = std::move(handler);
    return old;
}

BOOL AfxTrackPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lpRect)
{
    AfxPopupMenuHandler handler;
    {
        std::lock_guard<std::mutex> guard(g_handlerLock);
        handler = g_handler;
    }
    if (!handler)
        return ::TrackPopupMenu(hMenu, nFlags, x, y, 0, hWndOwner, lpRect);
    if (hMenu == nullptr || !::IsMenu(hMenu))
        return FALSE;  // as the real call fails on a menu that does not exist
    const UINT nChosen = handler(AfxPopupMenuCall{hMenu, nFlags, x, y, hWndOwner});
    if (nFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(nChosen);
    // The real menu posts the choice to its owner once it has closed.
    if (nChosen != 0 && !(nFlags & TPM_NONOTIFY) && hWndOwner != nullptr)
        ::PostMessageW(hWndOwner, WM_COMMAND, MAKEWPARAM(nChosen, 0), 0);
    return TRUE;
}
