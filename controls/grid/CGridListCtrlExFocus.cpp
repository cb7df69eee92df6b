// The grid's focus cell and how the keyboard and the mouse move it: Left and Right step through
// the visible columns, clicks set the column, the type-ahead search finds rows by the text of the
// focus column; keys and clicks that edit a cell open its editor (CGridListCtrlExEditing.cpp).
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/GridHitTest.h"

#include "framework/clock.h"

namespace {

bool IsKeyHeld(int vk)
{
    return ::GetKeyState(vk) < 0;
}

}  // namespace

void CGridListCtrlEx::SetFocusCell(int nCol, bool bRedraw)
{
    FocusColumn = nCol;
    if (!bRedraw)
        return;
    const int nRow = GetNextItem(-1, LVNI_FOCUSED);
    RECT bounds = {};
    if (nRow != -1 && GetItemRect(nRow, &bounds, LVIR_BOUNDS)) {
        InvalidateRect(&bounds, TRUE);
        UpdateWindow();
    }
}

void CGridListCtrlEx::MoveFocusColumn(bool bForward)
{
    if (GetItemCount() <= 0) {
        FocusColumn = -1;
        return;
    }
    HWND hWndHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    const int nCount = hWndHeader ? static_cast<int>(::SendMessageW(hWndHeader, HDM_GETITEMCOUNT, 0, 0)) : 0;

    // A focus column that is no longer in the display order (its column was deleted) counts as none.
    int nPos = -1;
    if (FocusColumn != -1) {
        for (int i = 0; i < nCount; ++i) {
            if (static_cast<int>(::SendMessageW(hWndHeader, HDM_ORDERTOINDEX, static_cast<WPARAM>(i), 0)) ==
                FocusColumn) {
                nPos = i;
                break;
            }
        }
        if (nPos == -1)
            FocusColumn = -1;
    }

    if (FocusColumn == -1) {
        if (bForward)
            FocusColumn = FirstVisibleColumn();
    } else {
        const int nNext = bForward ? nPos + 1 : nPos - 1;
        if (nNext < 0) {
            FocusColumn = -1;
        } else if (nNext < nCount) {
            const int nCol =
                static_cast<int>(::SendMessageW(hWndHeader, HDM_ORDERTOINDEX, static_cast<WPARAM>(nNext), 0));
            if (IsColumnVisible(nCol))
                FocusColumn = nCol;
            else if (!bForward)
                FocusColumn = -1;  // the hidden columns at the front: the row as a whole
        }
    }
    if (FocusColumn >= 0)
        ScrollColumnIntoView(FocusColumn, false);
    SetFocusCell(FocusColumn, true);
}

// ---- keys -------------------------------------------------------------------------------------

void CGridListCtrlEx::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    const bool bCtrl = IsKeyHeld(VK_CONTROL);
    switch (nChar) {
        case VK_SPACE: {
            const int nRow = GetNextItem(-1, LVNI_FOCUSED);
            if (bCtrl || nRow == -1)
                break;
            if (GetExtendedStyle() & LVS_EX_CHECKBOXES) {
                if (GetStyle() & LVS_OWNERDATA)
                    SetOwnerDataRowCheck(nRow, !IsOwnerDataRowChecked(nRow));
                break;  // on an ordinary list the list view toggles the check box itself
            }
            RECT icon = {};
            if (FocusColumn != -1 && GetCellPartRect(nRow, FocusColumn, LVIR_ICON, icon))
                OpenCellEditor(nRow, FocusColumn, CPoint(icon.left, icon.top));
            break;
        }
        case VK_LEFT:
            MoveFocusColumn(false);
            return;
        case VK_RIGHT:
            MoveFocusColumn(true);
            return;
        case 'A':
            if (bCtrl && !(GetStyle() & LVS_SINGLESEL))
                SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
            break;
        case 'C':
            if (bCtrl)
                CopySelectionToClipboard();
            break;
        case VK_ADD:
            if (bCtrl) {
                AutoSizeColumn(-1, false);
                return;
            }
            break;
        case VK_F2:
            OpenCellEditorNoPoint(GetNextItem(-1, LVNI_FOCUSED), FocusColumn);
            break;
        default:
            break;
    }
    Default();
}

// ---- type-ahead ---------------------------------------------------------------------------------

void CGridListCtrlEx::OnChar(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    // Column 0 and the row as a whole: the list view's own incremental search.
    if (FocusColumn == 0 || FocusColumn == -1) {
        Default();
        return;
    }
    if (IsKeyHeld(VK_CONTROL)) {
        TypeAheadText.Empty();
        TypeAheadRepeat = 0;
        return;
    }

    const long long now = AfxGetTime();
    const int nFocusRow = GetNextItem(-1, LVNI_FOCUSED);
    if ((!TypeAheadText.IsEmpty() && now >= TypeAheadTime + 2) || TypeAheadColumn != FocusColumn ||
        TypeAheadRow != nFocusRow)
        TypeAheadText.Empty();
    if (TypeAheadText.IsEmpty())
        TypeAheadRepeat = 0;
    TypeAheadColumn = FocusColumn;
    TypeAheadTime = now;

    const wchar_t ch = static_cast<wchar_t>(nChar);
    if (TypeAheadText.GetLength() == 1 && TypeAheadText[0] == ch) {
        ++TypeAheadRepeat;  // the same letter again steps to the next row that begins with it
    } else {
        if (!TypeAheadText.IsEmpty()) {
            const wchar_t first = TypeAheadText[0];
            for (int i = 0; i < TypeAheadRepeat; ++i)
                TypeAheadText += first;
        }
        TypeAheadRepeat = 0;
        TypeAheadText += ch;
    }

    int nStart = nFocusRow == -1 ? 0 : nFocusRow;
    if (TypeAheadText.GetLength() == 1)
        ++nStart;
    TypeAheadRow = FindRowByPrefix(FocusColumn, nStart, TypeAheadText);
    if (TypeAheadRow == -1)
        return;
    SetItemState(-1, 0, LVIS_SELECTED);
    SetItemState(TypeAheadRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(TypeAheadRow, FALSE);
}

int CGridListCtrlEx::FindRowByPrefix(int nCol, int nStartRow, const CString& prefix)
{
    const int nRows = GetItemCount();
    if (nStartRow < 0)
        nStartRow = 0;
    const int nLength = prefix.GetLength();
    auto matches = [&](int nRow) {
        const CString text = GetItemText(nRow, nCol);
        return text.GetLength() >= nLength && text.Left(nLength).CompareNoCase(prefix) == 0;
    };
    for (int nRow = nStartRow; nRow < nRows; ++nRow)
        if (matches(nRow))
            return nRow;
    for (int nRow = 0; nRow < nStartRow && nRow < nRows; ++nRow)
        if (matches(nRow))
            return nRow;
    return -1;
}

// ---- mouse ------------------------------------------------------------------------------------

void CGridListCtrlEx::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    const GridCellHit hit = GridHitTestCell(*this, point);
    if (hit.nRow == -1) {
        Default();
        return;
    }
    if (::GetFocus() != m_hWnd)
        SetFocus();

    int nAction = ClassifyCellClick(hit.nRow, hit.nCol, point, false);
    if (nAction != 2) {
        SetFocusCell(hit.nCol, false);
        Default();  // the list selects and focuses the row, and may start a drag of rows
        if (FocusColumn != hit.nCol) {
            // A drag of rows cleared the focus column: the click edits nothing.
            SetFocusCell(hit.nCol, false);
            nAction = 0;
        }
        if (!(GetExtendedStyle() & LVS_EX_FULLROWSELECT) && GetNextItem(-1, LVNI_FOCUSED) != hit.nRow) {
            // Without full-row select the list only reacts to clicks on the first column's label.
            SetItemState(hit.nRow, LVIS_FOCUSED, LVIS_FOCUSED);
            if (!IsKeyHeld(VK_CONTROL) && !IsKeyHeld(VK_SHIFT)) {
                SetItemState(-1, 0, LVIS_SELECTED);
                SetItemState(hit.nRow, LVIS_SELECTED, LVIS_SELECTED);
            }
        }
        SetFocusCell(hit.nCol, true);
    }
    if (nAction != 0)
        OpenCellEditor(hit.nRow, hit.nCol, point);
}

void CGridListCtrlEx::OnLButtonDblClk(UINT /*nFlags*/, CPoint point)
{
    const GridCellHit hit = GridHitTestCell(*this, point);
    if (hit.nRow == -1) {
        Default();
        return;
    }
    if (::GetFocus() != m_hWnd)
        SetFocus();
    const int nAction = ClassifyCellClick(hit.nRow, hit.nCol, point, true);
    if (nAction == 2) {
        OpenCellEditor(hit.nRow, hit.nCol, point);
        return;
    }
    Default();
    if (nAction == 1)
        OpenCellEditor(hit.nRow, hit.nCol, point);
}

void CGridListCtrlEx::OnRButtonDown(UINT /*nFlags*/, CPoint point)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    const GridCellHit hit = GridHitTestCell(*this, point);
    if (hit.nRow != -1)
        SetFocusCell(hit.nCol, false);
    Default();  // the context menu follows through WM_CONTEXTMENU
}

BOOL CGridListCtrlEx::OnClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnDblClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

// ---- scrolling ----------------------------------------------------------------------------------

namespace {

// Taking the focus ends an open cell editor (it ends its edit when it loses the focus).
void AfterScroll(CGridListCtrlEx& grid)
{
    if (grid.IsExplorerThemed() || !IsKeyHeld(VK_LBUTTON) || !(grid.GetExtendedStyle() & LVS_EX_GRIDLINES))
        return;
    // While the thumb is dragged the list leaves pieces of its grid lines behind.
    grid.InvalidateRect(nullptr, FALSE);
    grid.UpdateWindow();
}

}  // namespace

void CGridListCtrlEx::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    CListCtrl::OnHScroll(nSBCode, nPos, pScrollBar);
    AfterScroll(*this);
}

void CGridListCtrlEx::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    CListCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
    AfterScroll(*this);
}
