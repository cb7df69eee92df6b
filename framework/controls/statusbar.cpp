#include "framework/controls/statusbar.h"

#include "framework/gdi.h"

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    HWND hWndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    if (!hWndParent)
        return FALSE;
    DWORD dwWindowStyle =
        (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    if (::GetWindowLongPtrW(hWndParent, GWL_STYLE) & WS_THICKFRAME)
        dwWindowStyle |= SBARS_SIZEGRIP;
    return CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, dwWindowStyle, 0, 0, 0, 0, hWndParent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || nIDCount > 255 || (nIDCount > 0 && !lpIDArray))
        return FALSE;
    std::vector<Pane> panes;
    std::vector<CString> texts;
    // Indicator texts are measured in the bar's font, as they will be drawn.
    CClientDC dc(nullptr);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ hOldFont = hFont ? ::SelectObject(dc, hFont) : nullptr;
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane = {lpIDArray[i], SBPS_NORMAL, 0};
        CString text;
        if (pane.nID != ID_SEPARATOR) {
            if (!text.LoadString(pane.nID)) {
                bResult = FALSE;
                break;
            }
            pane.cxWidth = dc.GetTextExtent(text).cx;
        } else {
            pane.cxWidth = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (i == 0)
                pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
        }
        panes.push_back(pane);
        texts.push_back(text);
    }
    if (hOldFont)
        ::SelectObject(dc, hOldFont);
    if (!bResult)
        return FALSE;
    m_panes = panes;
    if (!UpdateAllPanes())
        return FALSE;
    for (int i = 0; i < nIDCount; ++i) {
        if (!SetPaneText(i, texts[i], FALSE))
            return FALSE;
    }
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (!IsValidPane(nIndex))
        AfxThrowInvalidArgException();
    nID = m_panes[nIndex].nID;
    nStyle = m_panes[nIndex].nStyle;
    cxWidth = m_panes[nIndex].cxWidth;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (!IsValidPane(nIndex))
        AfxThrowInvalidArgException();
    CString text = GetPaneText(nIndex);
    m_panes[nIndex] = {nID, nStyle, cxWidth < 0 ? 0 : cxWidth};
    UpdateAllPanes();
    SetPaneText(nIndex, text);  // again with the drawing bits of the new style
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    if (!IsValidPane(nIndex))
        return CString();
    int nLength = LOWORD(SendMessage(SB_GETTEXTLENGTHW, static_cast<WPARAM>(nIndex)));
    CString text;
    SendMessage(SB_GETTEXTW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.GetBuffer(nLength)));
    text.ReleaseBuffer();
    return text;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate)
{
    if (!IsValidPane(nIndex))
        return FALSE;
    const UINT nDrawBits = m_panes[nIndex].nStyle & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW | SBT_RTLREADING);
    if (!SendMessage(SB_SETTEXTW, static_cast<WPARAM>(nIndex) | nDrawBits,
                     reinterpret_cast<LPARAM>(lpszNewText ? lpszNewText : L"")))
        return FALSE;
    if (!bUpdate)
        return TRUE;
    RECT rect;
    if (SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rect)))
        ::InvalidateRect(m_hWnd, &rect, TRUE);
    return TRUE;
}

BOOL CStatusBar::UpdateAllPanes()
{
    if (!m_hWnd)
        return FALSE;
    const int nCount = GetCount();
    if (nCount == 0)
        return TRUE;
    // A pane is as wide as its content plus the borders the control draws around it; a stretching
    // pane takes what the others leave of the client width.
    const int cxBorders = 2 * ::GetSystemMetrics(SM_CXEDGE);
    int cxFixed = 0;
    for (const Pane& pane : m_panes)
        cxFixed += (pane.nStyle & SBPS_STRETCH) ? 0 : pane.cxWidth + cxBorders;
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    int cxStretch = client.right - cxFixed - cxBorders;
    std::vector<int> edges(static_cast<size_t>(nCount));
    int right = 0;
    for (int i = 0; i < nCount; ++i) {
        const Pane& pane = m_panes[static_cast<size_t>(i)];
        int cx = (pane.nStyle & SBPS_STRETCH) ? (cxStretch > pane.cxWidth ? cxStretch : pane.cxWidth) : pane.cxWidth;
        right += cx + cxBorders;
        edges[static_cast<size_t>(i)] = right;
    }
    return static_cast<BOOL>(
        SendMessage(SB_SETPARTS, static_cast<WPARAM>(nCount), reinterpret_cast<LPARAM>(edges.data())));
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE) {
        for (const Pane& pane : m_panes) {
            if (pane.nStyle & SBPS_STRETCH) {
                UpdateAllPanes();
                break;
            }
        }
    }
    return lResult;
}
