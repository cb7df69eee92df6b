// The dispatcher: how a message finds its handler in the message maps, and reflection.
//
// Guarantees:
// - Maps are searched from the object's own class towards CCmdTarget, entries in the order they
//   are written; the first entry that matches (message, notification code, id range) runs. A
//   handler that declines (the _EX forms returning FALSE, a reflected WM_CTLCOLOR answering a null
//   brush) lets the search go on with the next matching entry; every handler of one message sees
//   the result value the previous one left.
// - WM_COMMAND with lParam 0 (menu, accelerator, or a command sent by another program) is a plain
//   command: it runs ON_COMMAND/ON_BN_CLICKED entries whatever its high word says.
// - A control's WM_COMMAND and WM_NOTIFY, and WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM,
//   WM_DELETEITEM, WM_CHARTOITEM, WM_VKEYTOITEM, WM_HSCROLL, WM_VSCROLL and WM_CTLCOLOR* from a
//   control, are first offered to the control's own object (OnChildNotify -> its reflected
//   entries). When the control takes it, the parent's map does not see it and the control's
//   result is the result of the parent's message; otherwise the parent's handlers run as usual.
// - When the parent is a dialog, the result of a WM_NOTIFY is also stored in DWLP_MSGRESULT.
// - While UpdateData runs on a window, control notifications to that window are ignored.
// - Plain commands a dialog leaves unhandled go on to the application object.
#include "framework/wnd.h"

#include "framework/app.h"
#include "framework/gdi.h"

namespace {

thread_local HWND t_hLockoutNotifyWindow = nullptr;

bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT nMessage, UINT nCode, UINT nID)
{
    return entry.nMessage == nMessage && entry.nCode == nCode && nID >= entry.nID && nID <= entry.nLastID;
}

}  // namespace

HWND AfxSetLockoutNotifyWindow(HWND hWnd)
{
    HWND old = t_hLockoutNotifyWindow;
    t_hLockoutNotifyWindow = hWnd;
    return old;
}

CDC* AfxDCFromHandle(HDC hDC)
{
    return CDC::FromHandle(hDC);
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::DispatchToMap(UINT nMessage, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    AFX_MSGCALL call = {nMessage, wParam, lParam, nID, nCode, pResult ? *pResult : 0};
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnThunk != nullptr; ++pEntry) {
            if (!Matches(*pEntry, nMessage, nCode, nID))
                continue;
            const BOOL handled = pEntry->pfnThunk(this, call);
            if (pResult != nullptr)
                *pResult = call.result;
            if (handled)
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nMessage, UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return DispatchToMap(nMessage, nCode, nID, wParam, lParam, pResult);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        if (pNMHDR == nullptr || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        // Stored only when it differs: a list's custom drawing asks the same answer of every
        // row, and each store is a request to the window server.
        if ((m_nFlags & WF_ISDIALOG) && ::GetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT) != lResult)
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, lResult);
        *pResult = lResult;
        return TRUE;
    }
    if (IsCtlColorMessage(message)) {
        // An ON_MESSAGE for the exact message comes first, then the common WM_CTLCOLOR entry.
        if (DispatchToMap(message, 0, 0, wParam, lParam, &lResult)) {
            *pResult = lResult;
            return TRUE;
        }
        AFX_MSGCALL call = {WM_CTLCOLOR, wParam, lParam, 0, message - WM_CTLCOLORMSGBOX, 0};
        for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
             pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
            for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnThunk; ++pEntry)
                if (Matches(*pEntry, WM_CTLCOLOR, 0, 0) && pEntry->pfnThunk(this, call)) {
                    *pResult = call.result;
                    return TRUE;
                }
        return FALSE;
    }
    if (!DispatchToMap(message, 0, 0, wParam, lParam, &lResult))
        return FALSE;
    *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    UINT nCode = HIWORD(wParam);
    LRESULT lResult = 0;
    if (hWndCtrl == nullptr) {
        nCode = CN_COMMAND;  // a menu item, an accelerator (high word 1) or another program's command
    } else {
        if (t_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        if (hWndCtrl != m_hWnd) {
            if (CWnd* pChild = FromHandlePermanent(hWndCtrl);
                pChild != nullptr && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, &lResult))
                return TRUE;
        }
    }
    return OnCmdMsg(WM_COMMAND, nID, nCode, wParam, lParam, &lResult);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    HWND hWndCtrl = pNMHDR->hwndFrom;
    // The id is the sender window's own (a header or tooltip inside a control has id 0), as the
    // conventional library matches it; a notification without a window uses idFrom.
    const UINT nID =
        hWndCtrl != nullptr ? static_cast<UINT>(::GetDlgCtrlID(hWndCtrl)) : static_cast<UINT>(pNMHDR->idFrom);
    if (t_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (hWndCtrl != nullptr && hWndCtrl != m_hWnd) {
        if (CWnd* pChild = FromHandlePermanent(hWndCtrl);
            pChild != nullptr && pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
            return TRUE;
    }
    return OnCmdMsg(WM_NOTIFY, nID, static_cast<UINT>(pNMHDR->code), wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = pResult ? *pResult : 0;
    BOOL handled = FALSE;
    switch (message) {
        case WM_COMMAND:
            handled = DispatchToMap(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, wParam, lParam, &lResult);
            break;
        case WM_NOTIFY:
            handled = DispatchToMap(WM_REFLECT_BASE + WM_NOTIFY, reinterpret_cast<const NMHDR*>(lParam)->code, 0,
                                    wParam, lParam, &lResult);
            break;
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_COMPAREITEM:
        case WM_DELETEITEM:
        case WM_CHARTOITEM:
        case WM_VKEYTOITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
            handled = DispatchToMap(WM_REFLECT_BASE + message, 0, 0, wParam, lParam, &lResult);
            break;
        default:
            if (IsCtlColorMessage(message)) {
                AFX_MSGCALL call = {WM_REFLECT_BASE + WM_CTLCOLOR, wParam, lParam, 0, message - WM_CTLCOLORMSGBOX, 0};
                for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap && !handled;
                     pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
                    for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnThunk && !handled; ++pEntry)
                        if (Matches(*pEntry, WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0))
                            handled = pEntry->pfnThunk(this, call);
                if (handled)
                    lResult = call.result;
            }
            break;
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return handled;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(hWndChild);
    return pChild != nullptr && pChild->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG* pMsg = AfxGetCurrentMessage();
    LRESULT lResult = 0;
    const BOOL handled = OnChildNotify(pMsg->message, pMsg->wParam, pMsg->lParam, pResult ? pResult : &lResult);
    return handled;
}

// ---- the base handlers that reflect ---------------------------------------------------------

HBRUSH CWnd::OnCtlColor(CDC* /*pDC*/, CWnd* pWnd, UINT /*nCtlColor*/)
{
    LRESULT lResult = 0;
    if (pWnd != nullptr && pWnd->m_hWnd != m_hWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return reinterpret_cast<HBRUSH>(lResult);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int /*nIDCtl*/, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType != ODT_MENU && nIDCtl != 0) {
        if (ReflectLastMsg(::GetDlgItem(m_hWnd, nIDCtl)))
            return;
    }
    Default();
}

void CWnd::OnHScroll(UINT /*nSBCode*/, UINT /*nPos*/, CScrollBar* pScrollBar)
{
    HWND hWndBar = reinterpret_cast<HWND>(AfxGetCurrentMessage()->lParam);
    if (pScrollBar != nullptr && hWndBar != nullptr && ReflectLastMsg(hWndBar))
        return;
    Default();
}

void CWnd::OnVScroll(UINT /*nSBCode*/, UINT /*nPos*/, CScrollBar* pScrollBar)
{
    HWND hWndBar = reinterpret_cast<HWND>(AfxGetCurrentMessage()->lParam);
    if (pScrollBar != nullptr && hWndBar != nullptr && ReflectLastMsg(hWndBar))
        return;
    Default();
}

// The messages every window reflects to the child that sent them.
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_CTLCOLOR()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_MESSAGE(WM_COMPAREITEM, &CWnd::OnReflectableMessage)
ON_MESSAGE(WM_DELETEITEM, &CWnd::OnReflectableMessage)
ON_MESSAGE(WM_CHARTOITEM, &CWnd::OnReflectableMessage)
ON_MESSAGE(WM_VKEYTOITEM, &CWnd::OnReflectableMessage)
END_MESSAGE_MAP()

LRESULT CWnd::OnReflectableMessage(WPARAM /*wParam*/, LPARAM lParam)
{
    const MSG* pMsg = AfxGetCurrentMessage();
    HWND hWndChild = nullptr;
    switch (pMsg->message) {
        case WM_COMPAREITEM:
            hWndChild = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
            break;
        case WM_DELETEITEM:
            hWndChild = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
            break;
        default:  // WM_CHARTOITEM, WM_VKEYTOITEM: lParam is the list box
            hWndChild = reinterpret_cast<HWND>(lParam);
            break;
    }
    LRESULT lResult = 0;
    if (hWndChild != nullptr && ReflectLastMsg(hWndChild, &lResult))
        return lResult;
    return Default();
}
