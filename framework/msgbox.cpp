// The one road of every message box, and the test seam on it.
#include "framework/msgbox.h"

#include "framework/app.h"
#include "framework/cstring.h"
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

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    const CString text = AfxLoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType)
{
    return AfxShowMessageBox(m_hWnd, lpszText, lpszCaption, nType);
}
