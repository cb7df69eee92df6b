// Cells whose contents come on demand: the display-information requests of callback cells and
// owner-data lists, the owner-data find request, and the check boxes of owner-data lists. The
// grid itself knows no texts, images or check states; a derived list supplies them through the
// hooks.
#include "controls/grid/CGridListCtrlEx.h"

namespace {

const UINT kStateImageUnchecked = INDEXTOSTATEIMAGEMASK(1);  // 0x1000
const UINT kStateImageChecked = INDEXTOSTATEIMAGEMASK(2);    // 0x2000

bool HasOwnerDataCheckBoxes(CGridListCtrlEx& grid)
{
    return (grid.GetStyle() & LVS_OWNERDATA) && (grid.GetExtendedStyle() & LVS_EX_CHECKBOXES);
}

}  // namespace

// ---- hooks ------------------------------------------------------------------------------------

bool CGridListCtrlEx::QueryCellText(int /*nRow*/, int /*nCol*/, CString& /*text*/)
{
    return false;
}

bool CGridListCtrlEx::QueryCellImage(int /*nRow*/, int /*nCol*/, int& /*nImage*/)
{
    return false;
}

bool CGridListCtrlEx::IsOwnerDataRowChecked(int /*nRow*/)
{
    return false;
}

void CGridListCtrlEx::SetOwnerDataRowCheck(int /*nRow*/, bool /*bChecked*/)
{
    Invalidate(TRUE);
    UpdateWindow();
}

// ---- display information ------------------------------------------------------------------------

void CGridListCtrlEx::FillCallbackItem(LVITEMW& item)
{
    CString text;
    // The list's buffer may be missing or empty: nothing can be copied then.
    if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0 &&
        QueryCellText(item.iItem, item.iSubItem, text))
        lstrcpynW(item.pszText, text, item.cchTextMax);
    if (item.mask & LVIF_IMAGE) {
        int nImage = -1;
        item.iImage = QueryCellImage(item.iItem, item.iSubItem, nImage) ? nImage : -1;
    }
}

BOOL CGridListCtrlEx::OnGetDisplayInfo(NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR)->item;
    if (item.iItem < 0 || item.iItem >= GetItemCount() || item.iSubItem < 0 || item.iSubItem >= GetColumnCount())
        return FALSE;
    if (HasOwnerDataCheckBoxes(*this) && item.iSubItem == 0 && (item.mask & LVIF_IMAGE)) {
        item.mask |= LVIF_STATE;
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = IsOwnerDataRowChecked(item.iItem) ? kStateImageChecked : kStateImageUnchecked;
    }
    FillCallbackItem(item);
    return FALSE;
}

BOOL CGridListCtrlEx::OnOwnerDataFindItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pFind = reinterpret_cast<NMLVFINDITEMW*>(pNMHDR);
    *pResult = -1;
    if (!(pFind->lvfi.flags & LVFI_STRING) || pFind->lvfi.psz == nullptr)
        return FALSE;
    *pResult = FindRowByPrefix(0, pFind->iStart - 1, pFind->lvfi.psz);
    return TRUE;
}

BOOL CGridListCtrlEx::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pChange = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
    *pResult = 0;
    if (!HasOwnerDataCheckBoxes(*this) || !(pChange->uChanged & LVIF_STATE) || pChange->iSubItem != 0)
        return FALSE;
    const UINT stateImage = pChange->uNewState & LVIS_STATEIMAGEMASK;
    if (stateImage == kStateImageUnchecked || stateImage == kStateImageChecked)
        SetOwnerDataRowCheck(pChange->iItem, stateImage == kStateImageChecked);
    return FALSE;
}
