// The grid's columns: flags, showing and hiding, automatic widths, scrolling a column into view,
// the width filter and the header's resize and drag notifications.
//
// A hidden column stays in the list with width 0 and its trait's visible flag clear, at the front
// of the display order; its trait remembers the place and the width to go back to.
#include "controls/grid/CGridListCtrlEx.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

HWND HeaderOf(const CListCtrl& list)
{
    return reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
}

// Sets a width the grid itself decides on when it shows or hides a column. A column that the user
// may not resize refuses every width in the filter, so the grid's own change goes straight to the
// list for it; otherwise the hidden column would keep its width and show as an empty column.
void SetOwnColumnWidth(CGridListCtrlEx& grid, int nCol, int nWidth)
{
    const LPARAM width = MAKELPARAM(nWidth, 0);
    if (grid.IsColumnResizable(nCol))
        grid.SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), width);
    else
        grid.DefWindowProc(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), width);
}

// The display order, position -> column; empty when it cannot be read.
std::vector<int> ReadColumnOrder(CGridListCtrlEx& grid)
{
    const int nCount = grid.GetColumnCount();
    std::vector<int> order(static_cast<size_t>(std::max(nCount, 0)));
    if (nCount <= 0 || !grid.GetColumnOrderArray(order.data(), nCount))
        order.clear();
    return order;
}

// The minimum and maximum width of the column's trait applied to a header item being resized.
void ClampHeaderWidth(CGridListCtrlEx& grid, const NMHEADERW* pHeader)
{
    HDITEMW* pItem = pHeader->pitem;
    if (pItem == nullptr || !(pItem->mask & HDI_WIDTH))
        return;
    CGridColumnTrait* pTrait = grid.GetCellTrait(-1, pHeader->iItem);
    if (pTrait == nullptr)
        return;
    if (pTrait->MinWidth >= 0 && pItem->cxy < pTrait->MinWidth)
        pItem->cxy = pTrait->MinWidth;
    else if (pTrait->MaxWidth >= 0 && pItem->cxy > pTrait->MaxWidth)
        pItem->cxy = pTrait->MaxWidth;
}

}  // namespace

// ---- column flags and positions ---------------------------------------------------------------

bool CGridListCtrlEx::IsColumnVisible(int nCol)
{
    CGridColumnTrait* pTrait = GetCellTrait(-1, nCol);
    return pTrait != nullptr && pTrait->Visible;
}

bool CGridListCtrlEx::IsColumnResizable(int nCol)
{
    CGridColumnTrait* pTrait = GetCellTrait(-1, nCol);
    return pTrait != nullptr && pTrait->Resizable;
}

bool CGridListCtrlEx::IsColumnLocked(int nCol)
{
    CGridColumnTrait* pTrait = GetCellTrait(-1, nCol);
    return pTrait != nullptr && pTrait->AlwaysVisible;
}

bool CGridListCtrlEx::IsColumnOutOfMenu(int nCol)
{
    CGridColumnTrait* pTrait = GetCellTrait(-1, nCol);
    return pTrait != nullptr && pTrait->AlwaysHidden;
}

int CGridListCtrlEx::FirstVisibleColumn()
{
    HWND hWndHeader = HeaderOf(*this);
    if (hWndHeader == nullptr)
        return -1;
    const int nCount = static_cast<int>(::SendMessageW(hWndHeader, HDM_GETITEMCOUNT, 0, 0));
    for (int nPos = 0; nPos < nCount; ++nPos) {
        const int nCol = static_cast<int>(::SendMessageW(hWndHeader, HDM_ORDERTOINDEX, static_cast<WPARAM>(nPos), 0));
        if (IsColumnVisible(nCol))
            return nCol;
    }
    return -1;
}

// ---- showing and hiding -----------------------------------------------------------------------

bool CGridListCtrlEx::ShowColumn(int nCol, bool bShow)
{
    CGridColumnTrait* pTrait = GetCellTrait(-1, nCol);
    if (pTrait == nullptr)
        return false;
    if ((bShow && pTrait->AlwaysHidden) || (!bShow && pTrait->AlwaysVisible))
        return false;
    // Hiding a hidden column again would take the width it has while hidden (0) as the width to
    // come back with; showing a visible one would move it. The column already is as asked.
    if (pTrait->Visible == bShow)
        return true;

    SetRedraw(FALSE);
    std::vector<int> order = ReadColumnOrder(*this);
    const int n = static_cast<int>(order.size());
    if (n == 0) {
        SetRedraw(TRUE);
        return false;
    }

    if (!bShow) {
        // To the front: each column before it moves one place to the right.
        bool bFound = false;
        for (int nPos = n - 1; nPos >= 0; --nPos) {
            if (bFound) {
                std::swap(order[nPos], order[nPos + 1]);
            } else if (order[nPos] == nCol) {
                pTrait->SavedPosition = nPos;
                bFound = true;
            }
        }
    } else if (pTrait->SavedPosition == -1) {
        // No place to go back to: after the hidden block, as near its index as the others allow.
        int nTarget = nCol;
        int nAt = -1;
        for (int i = 0; i < n; ++i) {
            if (nAt == -1) {
                if (order[i] == nCol)
                    nAt = i;
                else if (order[i] > nCol)
                    ++nTarget;
                continue;
            }
            if (!IsColumnVisible(order[i]) && order[i] > nCol)
                ++nTarget;
            std::swap(order[i], order[nAt]);
            nAt = i;
            if (i >= nTarget && (i == n - 1 || IsColumnVisible(order[i + 1])))
                break;
        }
        pTrait->SavedPosition = nTarget;
    } else {
        // Back to the saved place, counted without the hidden columns that were hidden after it.
        int nAdjust = 0;
        int nAt = -1;
        for (int i = 0; i < n; ++i) {
            if (nAt == -1) {
                if (order[i] == nCol) {
                    pTrait->SavedPosition += nAdjust;
                    nAt = i;
                    continue;
                }
                CGridColumnTrait* pOther = GetCellTrait(-1, order[i]);
                if (pOther != nullptr && pOther->SavedPosition != -1) {
                    if (pOther->SavedPosition <= pTrait->SavedPosition)
                        --pOther->SavedPosition;
                    if (pOther->SavedPosition >= pTrait->SavedPosition)
                        ++nAdjust;
                }
                continue;
            }
            std::swap(order[i], order[nAt]);
            nAt = i;
            if (i >= pTrait->SavedPosition && (i == n - 1 || IsColumnVisible(order[i + 1])))
                break;
        }
    }
    SetColumnOrderArray(n, order.data());

    if (!bShow) {
        const int nWidth = GetColumnWidth(nCol);
        SetOwnColumnWidth(*this, nCol, 0);
        pTrait->Visible = false;
        pTrait->SavedWidth = nWidth;
    } else {
        pTrait->Visible = true;
        SetOwnColumnWidth(*this, nCol, pTrait->SavedWidth);
    }

    SaveStateOnShowColumn();
    SetRedraw(TRUE);
    Invalidate(FALSE);
    return true;
}

// ---- widths -------------------------------------------------------------------------------------

bool CGridListCtrlEx::AutoSizeColumn(int nCol, bool bIncludeHeading)
{
    const LPARAM code = MAKELPARAM(bIncludeHeading ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE, 0);
    if (nCol != -1)
        return SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), code) != 0;
    const int nCount = GetColumnCount();
    for (int nEach = 0; nEach < nCount; ++nEach)
        SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nEach), code);
    return true;
}

LRESULT CGridListCtrlEx::OnSetColumnWidth(WPARAM wParam, LPARAM lParam)
{
    const int nCol = static_cast<int>(wParam);
    if (!IsColumnResizable(nCol))
        return 0;
    // The automatic widths count as widths other than 0.
    if (!IsColumnVisible(nCol) && lParam != 0)
        return 0;
    SaveStateOnColumnResize();
    return Default();
}

bool CGridListCtrlEx::ScrollColumnIntoView(int nCol, bool bPartlyIsEnough)
{
    if (nCol < 0 || nCol >= GetColumnCount())
        return false;
    HWND hWndHeader = HeaderOf(*this);
    RECT item = {};
    if (hWndHeader == nullptr ||
        !::SendMessageW(hWndHeader, HDM_GETITEMRECT, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&item)))
        return false;

    const int nScroll = GetScrollPos(SB_HORZ);
    const int nLeft = item.left - nScroll;
    const int nRight = item.right - nScroll;
    RECT client = {};
    GetClientRect(&client);

    if (bPartlyIsEnough && nLeft < client.right && nRight > 0)
        return true;
    int nTarget = 0;
    if (item.right - item.left <= client.right - client.left && nLeft >= 0) {
        if (nRight <= client.right)
            return true;
        // The header item keeps its place while the list scrolls: this puts the column's right
        // edge at the client area's right edge.
        nTarget = item.right - client.right;
    } else {
        nTarget = item.left;
    }
    const int nDelta = nTarget - nScroll;
    if (nDelta == 0)
        return true;
    return Scroll(CSize(nDelta, 0)) != FALSE;
}

// ---- header notifications ---------------------------------------------------------------------

BOOL CGridListCtrlEx::OnHeaderBeginTrack(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* pResult)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    const int nCol = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
    if (IsColumnVisible(nCol) && IsColumnResizable(nCol))
        return FALSE;
    *pResult = 1;  // no tracking
    return TRUE;
}

BOOL CGridListCtrlEx::OnHeaderItemChanging(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    ClampHeaderWidth(*this, reinterpret_cast<NMHEADERW*>(pNMHDR));
    return FALSE;
}

BOOL CGridListCtrlEx::OnHeaderEndTrack(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    ClampHeaderWidth(*this, reinterpret_cast<NMHEADERW*>(pNMHDR));
    SaveStateOnColumnResize();
    return FALSE;
}

BOOL CGridListCtrlEx::OnHeaderDividerDblClick(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    // Fit to the cells, not the heading; the list's own fitting is skipped.
    AutoSizeColumn(reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem, false);
    return TRUE;
}

BOOL CGridListCtrlEx::OnHeaderBeginDrag(UINT /*nID*/, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    return FALSE;
}

BOOL CGridListCtrlEx::OnHeaderEndDrag(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    HDITEMW* pItem = reinterpret_cast<NMHEADERW*>(pNMHDR)->pitem;
    if (pItem == nullptr || !(pItem->mask & HDI_ORDER))
        return FALSE;
    FocusColumn = -1;
    SortColumn = -1;
    SortAscending = false;
    // No column may land among the hidden columns at the front.
    const std::vector<int> order = ReadColumnOrder(*this);
    for (size_t nPos = 0; nPos < order.size(); ++nPos) {
        if (IsColumnVisible(order[nPos])) {
            pItem->iOrder = std::max(pItem->iOrder, static_cast<int>(nPos));
            break;
        }
    }
    return FALSE;
}
