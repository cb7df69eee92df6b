// The grid's cell tooltips through the class library's tooltips: every cell is its own tool (id
// row * 1000 + column, row -1 off the rows), so a new tip comes up whenever the mouse moves to
// another cell; the tip's text is the cell's full text, asked for when the tip is shown.
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/GridHitTest.h"

namespace {

// The cell under the position of the message being handled (client coordinates).
GridCellHit CellAtMessagePos(const CListCtrl& list)
{
    const DWORD pos = ::GetMessagePos();
    POINT pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ::ScreenToClient(list.m_hWnd, &pt);
    return GridHitTestCell(list, CPoint(pt));
}

// The text in the thread's ANSI code page, at most nMaxBytes bytes and never a character cut in
// half, always zero-terminated.
void CopyAnsiText(const CString& text, char* pszOut, int nMaxBytes)
{
    int nUsed = 0;
    const int nLength = text.GetLength();
    for (int i = 0; i < nLength;) {
        // A surrogate pair is one character.
        const int nUnits = (IS_HIGH_SURROGATE(text[i]) && i + 1 < nLength && IS_LOW_SURROGATE(text[i + 1])) ? 2 : 1;
        char bytes[8] = {};
        const int nBytes = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.GetString() + i, nUnits, bytes, sizeof bytes,
                                                 nullptr, nullptr);
        if (nBytes <= 0 || nUsed + nBytes > nMaxBytes)
            break;
        ::CopyMemory(pszOut + nUsed, bytes, static_cast<size_t>(nBytes));
        nUsed += nBytes;
        i += nUnits;
    }
    pszOut[nUsed] = '\0';
}

}  // namespace

bool CGridListCtrlEx::AllowCellTooltip(CPoint /*pt*/, TOOLINFOW* /*pTI*/)
{
    return true;
}

bool CGridListCtrlEx::GetCellText(int nRow, int nCol, CString& text)
{
    if (nRow == -1 || nCol == -1)
        return false;
    text = GetItemText(nRow, nCol);
    return true;
}

INT_PTR CGridListCtrlEx::OnToolHitTest(CPoint point, TOOLINFOW* pTI) const
{
    auto* pThis = const_cast<CGridListCtrlEx*>(this);
    if (!pThis->AllowCellTooltip(point, pTI))
        return -1;
    const GridCellHit hit = CellAtMessagePos(*this);
    const INT_PTR nId = static_cast<INT_PTR>(hit.nRow) * 1000 + hit.nCol;
    pTI->hwnd = m_hWnd;
    pTI->uId = static_cast<UINT_PTR>(nId);
    GetClientRect(&pTI->rect);
    pTI->lpszText = LPSTR_TEXTCALLBACKW;
    return nId;
}

BOOL CGridListCtrlEx::OnToolNeedText(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    const GridCellHit hit = CellAtMessagePos(*this);
    CString text;
    if (!GetCellText(hit.nRow, hit.nCol, text) || text.IsEmpty())
        return FALSE;
    if (TooltipMaxWidth > 0) {
        // Long texts wrap at the maximum width.
        if (CToolTipCtrl* pToolTip = AfxGetThreadToolTip())
            pToolTip->SetMaxTipWidth(TooltipMaxWidth);
    }
    if (pNMHDR->code == TTN_GETDISPINFOW) {
        auto* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        lstrcpynW(pInfo->szText, text, _countof(pInfo->szText));
        pInfo->lpszText = pInfo->szText;
    } else {
        auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        CopyAnsiText(text, pInfo->szText, _countof(pInfo->szText) - 1);
        pInfo->lpszText = pInfo->szText;
    }
    return TRUE;
}
