#include "controls/grid/CGridColumnTraitImage.h"

#include "controls/grid/CGridListCtrlEx.h"
#include "controls/grid/GridNotify.h"

namespace {

bool IsNoPoint(CPoint pt)
{
    return pt.x == -1 && pt.y == -1;
}

bool CellPartContains(CGridListCtrlEx& owner, int nRow, int nCol, int nPart, CPoint pt)
{
    RECT rect = {};
    return owner.GetCellPartRect(nRow, nCol, nPart, rect) && ::PtInRect(&rect, pt);
}

bool IsRowSelected(CGridListCtrlEx& owner, int nRow)
{
    return (owner.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool IsRowChecked(CGridListCtrlEx& owner, int nRow)
{
    if (owner.GetStyle() & LVS_OWNERDATA)
        return owner.IsOwnerDataRowChecked(nRow);
    return (owner.GetItemState(nRow, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

}  // namespace

void CGridColumnTraitImage::AddImageIndex(int nImageIdx, LPCWSTR pszText, bool bEditable)
{
    for (auto& state : m_ImageStates) {
        if (state.first == nImageIdx) {
            state.second = ImageStateRecord{pszText, bEditable};
            return;
        }
    }
    m_ImageStates.emplace_back(nImageIdx, ImageStateRecord{pszText, bEditable});
}

CString CGridColumnTraitImage::GetImageStateText(int nImage) const
{
    for (const auto& state : m_ImageStates)
        if (state.first == nImage)
            return state.second.Text;
    return CString();
}

int CGridColumnTraitImage::ClassifyClick(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt, bool bDblClick)
{
    int editAnswer = 0;
    if (!bDblClick && nRow >= 0 && nCol >= 0) {
        if (SingleClickEdit)
            editAnswer = 1;
        else if (nRow == owner.GetNextItem(-1, LVNI_FOCUSED) && nCol == owner.GetFocusColumn())
            editAnswer = 1;
    }
    if (!ToggleOnClick)
        return editAnswer;

    // A click on the check box of column 0: neither on the icon nor on the label.
    if (nCol == 0 && (owner.GetExtendedStyle() & LVS_EX_CHECKBOXES) &&
        !CellPartContains(owner, nRow, nCol, LVIR_ICON, pt) && !CellPartContains(owner, nRow, nCol, LVIR_LABEL, pt))
        return 1;
    if (m_ImageStates.size() >= 2 && CellPartContains(owner, nRow, nCol, LVIR_ICON, pt))
        return 2;
    return editAnswer;
}

CWnd* CGridColumnTraitImage::BeginEditAtPoint(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt)
{
    if (IsNoPoint(pt))
        return StartCellEdit(owner, nRow, nCol);
    if (CellPartContains(owner, nRow, nCol, LVIR_LABEL, pt))
        return StartCellEdit(owner, nRow, nCol);
    if (CellPartContains(owner, nRow, nCol, LVIR_ICON, pt))
        return OnImageClick(owner, nRow, nCol);
    if (nCol == 0 && (owner.GetExtendedStyle() & LVS_EX_CHECKBOXES) && ToggleOnClick)
        return OnCheckBoxClick(owner, nRow, 0);
    return nullptr;
}

int CGridColumnTraitImage::CompareRows(const LVITEMW& left, const LVITEMW& right, bool bAscending)
{
    if (SortByImage) {
        const int difference = bAscending ? left.iImage - right.iImage : right.iImage - left.iImage;
        if (difference != 0)
            return difference;
    }
    return CompareCellTexts(left.pszText, right.pszText, bAscending);
}

bool CGridColumnTraitImage::IsCellReadOnly(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt)
{
    if (!Editable)
        return true;
    bool checkedPlace = false;
    int cellImage = -1;
    for (const auto& state : m_ImageStates) {
        if (state.second.Editable)
            continue;
        if (!checkedPlace) {
            // A click beside the label (on the image) must stay possible.
            if (!IsNoPoint(pt) && !CellPartContains(owner, nRow, nCol, LVIR_LABEL, pt))
                return false;
            cellImage = owner.GetCellImage(nRow, nCol);
            if (cellImage == -1)
                return false;
            checkedPlace = true;
        }
        if (cellImage == state.first)
            return true;
    }
    return false;
}

int CGridColumnTraitImage::NextImageIndex(CGridListCtrlEx& owner, int nRow, int nCol)
{
    if (m_ImageStates.size() < 2)
        return -1;
    const int cellImage = owner.GetCellImage(nRow, nCol);
    for (size_t i = 0; i < m_ImageStates.size(); ++i)
        if (m_ImageStates[i].first == cellImage)
            return m_ImageStates[(i + 1) % m_ImageStates.size()].first;
    return -1;
}

CWnd* CGridColumnTraitImage::OnImageClick(CGridListCtrlEx& owner, int nRow, int nCol)
{
    if (m_ImageStates.size() <= 1)
        return ImageClickEdits ? StartCellEdit(owner, nRow, nCol) : nullptr;

    const int oldImage = owner.GetCellImage(nRow, nCol);
    const int newImage = NextImageIndex(owner, nRow, nCol);
    if (newImage == -1)
        return nullptr;
    const CString oldText = GetImageStateText(oldImage);
    const CString newText = GetImageStateText(newImage);
    const bool textChanges = oldText.GetLength() != newText.GetLength() ||
                             wmemcmp(oldText.GetString(), newText.GetString(), oldText.GetLength()) != 0;

    // One record per row: the receiver may change the one it is given.
    auto notify = [&](int nItem) {
        CString text = newText;
        NMLVDISPINFOW dispInfo = {};
        dispInfo.item.iItem = nItem;
        dispInfo.item.iSubItem = nCol;
        dispInfo.item.mask = LVIF_IMAGE;
        dispInfo.item.iImage = newImage;
        if (textChanges) {
            dispInfo.item.mask |= LVIF_TEXT;
            dispInfo.item.pszText = text.GetBuffer();
            dispInfo.item.cchTextMax = text.GetLength();
        }
        GridSendEndLabelEdit(owner.m_hWnd, dispInfo);
    };
    notify(nRow);

    if (ToggleOnClick && IsRowSelected(owner, nRow)) {
        for (int nItem = owner.GetNextItem(-1, LVNI_SELECTED); nItem != -1;
             nItem = owner.GetNextItem(nItem, LVNI_SELECTED)) {
            if (nItem == nRow || owner.GetCellImage(nItem, nCol) == newImage)
                continue;
            notify(nItem);
        }
    }
    return nullptr;
}

CWnd* CGridColumnTraitImage::OnCheckBoxClick(CGridListCtrlEx& owner, int nRow, int /*nCol*/)
{
    if (!IsRowSelected(owner, nRow))
        return nullptr;
    const bool checked = IsRowChecked(owner, nRow);
    const bool ownerData = (owner.GetStyle() & LVS_OWNERDATA) != 0;
    for (int nItem = owner.GetNextItem(-1, LVNI_SELECTED); nItem != -1;
         nItem = owner.GetNextItem(nItem, LVNI_SELECTED)) {
        if (nItem == nRow || IsRowChecked(owner, nItem) == checked)
            continue;
        if (ownerData)
            owner.SetOwnerDataRowCheck(nItem, checked);
        else
            owner.SetItemState(nItem, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    return nullptr;
}
