// The one road of every message box, and the test seam on it.
#include "framework/msgbox.h"

#include "framework/app.h"
#include "framework/cstring.h"
#include "framework/dialog.h"
#include "framework/fwstrings.h"
#include "framework/wnd.h"

#include <mutex>
#include <utility>

namespace {

std::mutex g_handlerLock;
AfxMessageBoxHandler g_handler;

// The window a new box belongs to: the thread's active window (a modal dialog, when one runs),
// else the top-level window of the main window.
HWND MessageBoxOwner()
{
    if (HWND hWndActive = ::GetActiveWindow(); hWndActive != nullptr)
        return hWndActive;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || pMainWnd->m_hWnd == nullptr || !::IsWindow(pMainWnd->m_hWnd))
        return nullptr;
    return ::GetLastActivePopup(::GetAncestor(pMainWnd->m_hWnd, GA_ROOT));
}

// The window a box asked for hWndOwner gets. A disabled top-level window is the owner of a modal
// dialog that runs or is being created (while it initialises, the owner is still the active
// window). A box owned by it would enable it when the box closes, as every box enables its owner,
// and the user could then work in the window under a dialog that is still modal, even open that
// dialog a second time. Such a box belongs to the modal dialog, which the box disables and
// enables again while the owner chain above it stays disabled.
HWND OwnerForBox(HWND hWndOwner)
{
    if (hWndOwner == nullptr)
        return nullptr;
    HWND hWndTop = ::GetAncestor(hWndOwner, GA_ROOT);
    if (hWndTop == nullptr || ::IsWindowEnabled(hWndTop))
        return hWndOwner;
    HWND hWndModal = AfxGetModalDialogWindow();
    if (hWndModal != nullptr && ::IsWindowEnabled(hWndModal))
        return hWndModal;
    return hWndOwner;
}

}  // namespace

AfxMessageBoxHandler AfxSetMessageBoxHandler(AfxMessageBoxHandler handler)
{
    std::lock_guard<std::mutex> guard(g_handlerLock);
    AfxMessageBoxHandler old = std::move(g_handler);
    g_handler = std::move(handler);
    return old;
}

int AfxShowMessageBox(HWND hWndOwner, LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType)
{
    LPCWSTR caption = lpszCaption ? lpszCaption : AfxGetAppName();
    hWndOwner = OwnerForBox(hWndOwner);
    AfxMessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> guard(g_handlerLock);
        handler = g_handler;
    }
    if (handler)
        return handler(AfxMessageBoxCall{hWndOwner, lpszText ? lpszText : L"", caption ? caption : L"", nType});
    const int answer = ::MessageBoxW(hWndOwner, lpszText ? lpszText : L"", caption, nType);
    // A box that could not be shown counts as the user's refusal.
    return answer != 0 ? answer : IDCANCEL;
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT /*nIDHelp*/)
{
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
            case MB_OK:
            case MB_OKCANCEL:
                nType |= MB_ICONEXCLAMATION;
                break;
            case MB_YESNO:
            case MB_YESNOCANCEL:
                nType |= MB_ICONQUESTION;
                break;
            default:
                break;
        }
    }
    return AfxShowMessageBox(MessageBoxOwner(), lpszText, nullptr, nType);
}
