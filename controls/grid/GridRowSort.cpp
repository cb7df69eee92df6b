#include "controls/grid/GridRowSort.h"

#include <vector>

namespace {

int CALLBACK CompareTaggedRows(LPARAM tag1, LPARAM tag2, LPARAM lParamSort)
{
    const auto& compare = *reinterpret_cast<const std::function<int(int, int)>*>(lParamSort);
    return compare(static_cast<int>(tag1), static_cast<int>(tag2));
}

bool SetRowData(CListCtrl& list, int nRow, LPARAM lParam)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nRow;
    item.lParam = lParam;
    return list.SetItem(&item) != FALSE;
}

}  // namespace

bool GridSortRows(CListCtrl& list, const std::function<int(int, int)>& compare)
{
    const int nCount = list.GetItemCount();
    std::vector<LPARAM> data(static_cast<size_t>(nCount));
    for (int nRow = 0; nRow < nCount; ++nRow) {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nRow;
        if (!list.GetItem(&item))
            return false;
        data[static_cast<size_t>(nRow)] = item.lParam;
    }
    for (int nRow = 0; nRow < nCount; ++nRow) {
        if (!SetRowData(list, nRow, nRow)) {
            for (int nDone = 0; nDone < nRow; ++nDone)
                SetRowData(list, nDone, data[static_cast<size_t>(nDone)]);
            return false;
        }
    }

    const BOOL sorted = list.SortItems(&CompareTaggedRows, reinterpret_cast<DWORD_PTR>(&compare));

    // Every row gets its own data back, wherever the sort put it.
    for (int nRow = 0; nRow < nCount; ++nRow) {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nRow;
        if (list.GetItem(&item) && item.lParam >= 0 && item.lParam < nCount)
            SetRowData(list, nRow, data[static_cast<size_t>(item.lParam)]);
    }
    return sorted != FALSE;
}
