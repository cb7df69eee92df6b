// The library's message loops, modal ones included.
//
// Guarantees:
// - Every message taken from the queue is first offered to PreTranslateMessage of the object of
//   its target window, then of each parent's object up to the top-level window (never on to the
//   owner of a popup), stopping at the first that returns TRUE. Then, when the top-level window
//   is a dialog, IsDialogMessage gets it (keyboard navigation, Enter, Escape). Only what neither
//   took is translated and dispatched.
// - A modal loop runs while WF_CONTINUEMODAL is set; EndModalLoop clears it and wakes the loop,
//   whose result is m_nModalResult. A window that is not visible when its loop starts is shown
//   the first time the loop is idle. WM_QUIT ends the loop with -1 and is posted again so that
//   the loops outside see it too.
// - When a modal loop is idle, the test seam set with AfxSetModalIdleHook runs on it.
#include "framework/modalhook.h"
#include "framework/wnd.h"

#include <utility>

namespace {

thread_local AfxModalIdleHook t_modalIdleHook;
thread_local int t_quitCode = 0;

bool IsDialogWindow(HWND hWnd)
{
    if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd); pWnd != nullptr && (pWnd->m_nFlags & WF_ISDIALOG))
        return true;
    wchar_t className[16] = {};
    return ::GetClassNameW(hWnd, className, 16) > 0 && lstrcmpW(className, L"#32770") == 0;
}

}  // namespace

AfxModalIdleHook AfxSetModalIdleHook(AfxModalIdleHook hook)
{
    AfxModalIdleHook old = std::move(t_modalIdleHook);
    t_modalIdleHook = std::move(hook);
    return old;
}

int AfxGetQuitCode()
{
    return t_quitCode;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd); pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        // A handler may have destroyed the window; a gone window has no style and ends the walk.
        if (hWnd == hWndStop || !(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == nullptr)
        return FALSE;
    if (CWnd::WalkPreTranslateTree(nullptr, pMsg))
        return TRUE;
    if (!::IsWindow(pMsg->hwnd))
        return TRUE;  // the walk destroyed the target: nothing is left to deliver it to
    HWND hWndTop = ::GetAncestor(pMsg->hwnd, GA_ROOT);
    return hWndTop != nullptr && IsDialogWindow(hWndTop) && ::IsDialogMessageW(hWndTop, pMsg);
}

BOOL AfxPumpMessage()
{
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
        t_quitCode = static_cast<int>(msg.wParam);
        return FALSE;
    }
    if (got == -1)
        return TRUE;  // only an invalid window filter fails, and there is none
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop if it waits
    }
}

int CWnd::RunModalLoop()
{
    bool showOnIdle = !(GetStyle() & WS_VISIBLE);
    m_nFlags |= WF_MODALLOOP;
    MSG msg;
    while (ContinueModal()) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle && m_hWnd != nullptr) {
                showOnIdle = false;
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                continue;
            }
            AfxCleanupTempMap();
            bool callAgain = false;
            if (t_modalIdleHook) {
                // The hook may install another hook or run a nested loop; keep it alive meanwhile.
                AfxModalIdleHook hook = t_modalIdleHook;
                callAgain = hook(*this);
            }
            if (!ContinueModal())
                break;
            if (!callAgain && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
                ::WaitMessage();
            continue;
        }
        if (!AfxPumpMessage()) {
            ::PostQuitMessage(t_quitCode);
            m_nModalResult = -1;
            break;
        }
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}
