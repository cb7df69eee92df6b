#include "framework/controls/tooltipctrl.h"

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    HWND hWndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    // The control makes itself a topmost tool window when it shows a tip.
    return CWnd::CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, hWndParent, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool)
{
    ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (nIDTool == 0) {
        // The window is the tool; its parent answers TTN_GETDISPINFO.
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
    } else {
        ti.hwnd = hWnd;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return FALSE;
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool)
        ti.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(pWnd->GetSafeHwnd(), &ti.rect);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    ti.hinst = nullptr;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    // TTM_GETTEXTW has no buffer size: the common controls copy at most 80 characters unless
    // the newer form (wParam = size) is understood, so ask with a generous buffer either way.
    const int nSize = 1024;
    ti.lpszText = str.GetBuffer(nSize);
    ti.lpszText[0] = L'\0';
    SendMessage(TTM_GETTEXTW, nSize, reinterpret_cast<LPARAM>(&ti));
    str.ReleaseBuffer();
}
