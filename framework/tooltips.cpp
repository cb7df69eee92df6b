// The library's tooltips: one tooltip control per thread, fed from OnToolHitTest.
//
// Guarantees:
// - A window that called EnableToolTips has, for every mouse message that passes its
//   PreTranslateMessage, OnToolHitTest asked where the mouse is (the message's screen point in
//   client coordinates). When the answer (window, id) differs from the last one, the old tool is
//   removed from the thread's tooltip control and the new one (as OnToolHitTest filled it) is
//   added, so a new id makes a new tip; mouse messages are relayed to the tooltip control.
// - A tool whose text is LPSTR_TEXTCALLBACK makes the tooltip control ask the tool's window with
//   WM_NOTIFY TTN_GETDISPINFO from the tooltip control, whose window id is 0.
// - A window that goes away takes its tool with it.
#include "framework/controls.h"
#include "framework/types.h"
#include "framework/wnd.h"

#include <memory>

namespace {

struct ToolTipState {
    std::unique_ptr<CToolTipCtrl> toolTip;
    HWND hWndLastHit = nullptr;
    INT_PTR nLastHit = -1;
    TTTOOLINFOW lastInfo = {};
};

thread_local ToolTipState t_toolTips;

bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

void RelayToolTipMessage(HWND hWndTip, const MSG* pMsg)
{
    // The tooltip control expects the point in the client coordinates of the window under it.
    MSG msg = *pMsg;
    POINT pt = pMsg->pt;
    msg.hwnd = reinterpret_cast<HWND>(::SendMessageW(hWndTip, TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&pt)));
    if (msg.hwnd != nullptr && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
        ::ScreenToClient(msg.hwnd, &pt);
        msg.lParam = MAKELPARAM(pt.x, pt.y);
    }
    ::SendMessageW(hWndTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void ForgetLastTool()
{
    ToolTipState& state = t_toolTips;
    if (state.nLastHit != -1 && state.toolTip && state.toolTip->m_hWnd != nullptr)
        ::SendMessageW(state.toolTip->m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&state.lastInfo));
    state.hWndLastHit = nullptr;
    state.nLastHit = -1;
    state.lastInfo = {};
}

}  // namespace

CToolTipCtrl* AfxGetThreadToolTip()
{
    ToolTipState& state = t_toolTips;
    if (state.toolTip && state.toolTip->m_hWnd != nullptr)
        return state.toolTip.get();
    state.toolTip.reset(new CToolTipCtrl);
    // Tips of a window that is not active are wanted too.
    if (!state.toolTip->Create(nullptr, TTS_ALWAYSTIP)) {
        state.toolTip.reset();
        return nullptr;
    }
    state.hWndLastHit = nullptr;
    state.nLastHit = -1;
    return state.toolTip.get();
}

void AfxToolTipWindowGone(HWND hWnd)
{
    if (t_toolTips.hWndLastHit == hWnd)
        ForgetLastTool();
}

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    if (!bEnable) {
        if (t_toolTips.hWndLastHit == m_hWnd)
            ForgetLastTool();
        m_nFlags &= ~WF_TOOLTIPS;
        return TRUE;
    }
    if (AfxGetThreadToolTip() == nullptr)
        return FALSE;
    m_nFlags |= WF_TOOLTIPS;
    return TRUE;
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    if (!(m_nFlags & WF_TOOLTIPS) || !IsMouseMessage(pMsg->message))
        return;
    CToolTipCtrl* pToolTip = AfxGetThreadToolTip();
    if (pToolTip == nullptr)
        return;
    ToolTipState& state = t_toolTips;

    POINT point = pMsg->pt;
    ::ScreenToClient(m_hWnd, &point);
    TTTOOLINFOW hit = {};
    hit.cbSize = sizeof(hit);
    const INT_PTR nHit = OnToolHitTest(CPoint(point), &hit);
    HWND hWndHit = nHit == -1 ? nullptr : m_hWnd;

    if (nHit == state.nLastHit && hWndHit == state.hWndLastHit) {
        if (nHit != -1)
            RelayToolTipMessage(pToolTip->m_hWnd, pMsg);
    } else {
        if (nHit != -1) {
            TTTOOLINFOW ti = hit;
            ::SendMessageW(pToolTip->m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
            ::SendMessageW(pToolTip->m_hWnd, TTM_ACTIVATE, TRUE, 0);
            ::SetWindowPos(pToolTip->m_hWnd, HWND_TOP, 0, 0, 0, 0,
                           SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
        } else {
            ::SendMessageW(pToolTip->m_hWnd, TTM_ACTIVATE, FALSE, 0);
        }
        // The event goes to the tooltip before the old tool is removed.
        RelayToolTipMessage(pToolTip->m_hWnd, pMsg);
        ForgetLastTool();
        state.hWndLastHit = hWndHit;
        state.nLastHit = nHit;
        state.lastInfo = hit;
    }
    // A text OnToolHitTest allocated for the record is the caller's to free, as in the
    // conventional library; texts here are callbacks or static.
}
