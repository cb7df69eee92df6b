// Sorting the grid's rows by a column when the user clicks the column's header; the column's
// trait compares the rows.
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/GridRowSort.h"

#include <vector>

namespace {

// A row's cell of the sort column as the column's trait compares it: text (its first 255
// characters), image and item data.
struct SortCell {
    wchar_t text[256];
    LVITEMW item;
};

void ReadSortCell(CListCtrl& list, int nRow, int nCol, SortCell& cell)
{
    cell.text[0] = L'\0';
    cell.item = LVITEMW{};
    cell.item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    cell.item.iItem = nRow;
    cell.item.iSubItem = nCol;
    cell.item.pszText = cell.text;
    cell.item.cchTextMax = 256;
    if (!list.GetItem(&cell.item) || cell.item.pszText == nullptr || cell.item.pszText == LPSTR_TEXTCALLBACKW) {
        cell.text[0] = L'\0';
    } else if (cell.item.pszText != cell.text) {
        ::lstrcpynW(cell.text, cell.item.pszText, 256);
    }
    cell.item.pszText = cell.text;
}

}  // namespace

BOOL CGridListCtrlEx::OnColumnClick(NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    // Taking the focus ends an open cell editor first.
    if (::GetFocus() != m_hWnd)
        SetFocus();

    const int nCol = reinterpret_cast<const NMLISTVIEW*>(pNMHDR)->iSubItem;
    CGridColumnTrait* pTrait = GetCellTrait(-1, nCol);
    if (pTrait == nullptr || !pTrait->Sortable)
        return FALSE;

    if (nCol != SortColumn) {
        SortColumn = nCol;
        SortAscending = true;
    } else {
        SortAscending = !SortAscending;
    }
    if (SortByColumn(SortColumn, SortAscending))
        SetHeaderSortArrow(SortColumn, SortAscending);
    return FALSE;
}

bool CGridListCtrlEx::SortByColumn(int nCol, bool bAscending)
{
    if (GetStyle() & LVS_OWNERDATA)
        return false;
    if (GetItemCount() == 0)
        return true;
    CGridColumnTrait* pTrait = GetCellTrait(-1, nCol);
    if (pTrait == nullptr)
        return false;

    CWaitCursor waitCursor;
    // The cells are read once, before the rows move.
    const int nCount = GetItemCount();
    std::vector<SortCell> cells(static_cast<size_t>(nCount));
    for (int nRow = 0; nRow < nCount; ++nRow)
        ReadSortCell(*this, nRow, nCol, cells[static_cast<size_t>(nRow)]);
    return GridSortRows(*this, [&](int nPlace1, int nPlace2) {
        return pTrait->CompareRows(cells[static_cast<size_t>(nPlace1)].item, cells[static_cast<size_t>(nPlace2)].item,
                                   bAscending);
    });
}
