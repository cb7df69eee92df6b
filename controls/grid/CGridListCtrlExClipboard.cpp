// The selection as text: cells of the visible columns in display order separated by tabs, rows
// separated by CR LF, optionally under a line of column titles; and that text on the clipboard.
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/GridTransferText.h"

bool CGridListCtrlEx::GetCellTextWithTitle(int nRow, int nCol, CString& text)
{
    text = nRow == -1 ? GetColumnTitle(nCol) : GetItemText(nRow, nCol);
    return true;
}

bool CGridListCtrlEx::GetRowText(int nRow, CString& text)
{
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pHeader == nullptr)
        return true;
    const int nCount = pHeader->GetItemCount();
    bool first = true;
    for (int nPos = 0; nPos < nCount; ++nPos) {
        const int nCol = pHeader->OrderToIndex(nPos);
        if (!IsColumnVisible(nCol))
            continue;
        // Empty cells keep their tab, so that the cells stay under their titles.
        if (!first)
            text += L'\t';
        first = false;
        CString cell;
        GetCellTextWithTitle(nRow, nCol, cell);
        text += cell;
    }
    return true;
}

bool CGridListCtrlEx::GetSelectionText(CString& text, bool bTitles)
{
    // One selected row with a focus cell: that cell alone. The row is the selected one, not the
    // selection mark, which a programmatic or type-ahead selection may leave on another row.
    if (GetSelectedCount() == 1 && FocusColumn != -1) {
        const int nRow = GetNextItem(-1, LVNI_SELECTED);
        if (nRow != -1)
            return GetCellTextWithTitle(nRow, FocusColumn, text);
    }

    int nRow = GetNextItem(-1, LVNI_SELECTED);
    if (nRow == -1)
        return false;

    bool lineBefore = !text.IsEmpty();
    if (bTitles) {
        GetRowText(-1, text);
        lineBefore = true;
    }
    for (; nRow != -1; nRow = GetNextItem(nRow, LVNI_SELECTED)) {
        CString line;
        GetRowText(nRow, line);
        if (lineBefore)
            text += L"\r\n";
        text += line;
        lineBefore = true;
    }
    return true;
}

bool CGridListCtrlEx::GetSelectionTextNoTitles(CString& text)
{
    return GetSelectionText(text, false);
}

void CGridListCtrlEx::CopySelectionToClipboard()
{
    CString text;
    if (!GetSelectionText(text, true))
        return;
    HGLOBAL hGlobal = GridTextToGlobal(text);
    if (hGlobal == nullptr)
        return;
    // The clipboard keeps what it holds unless it can be opened and emptied; once it has taken
    // the block, the block is the clipboard's.
    if (!OpenClipboard()) {
        ::GlobalFree(hGlobal);
        return;
    }
    if (!::EmptyClipboard() || ::SetClipboardData(CF_UNICODETEXT, hGlobal) == nullptr)
        ::GlobalFree(hGlobal);
    ::CloseClipboard();
}

LRESULT CGridListCtrlEx::OnCopy(WPARAM wParam, LPARAM lParam)
{
    CopySelectionToClipboard();
    return DefWindowProc(WM_COPY, wParam, lParam);
}
