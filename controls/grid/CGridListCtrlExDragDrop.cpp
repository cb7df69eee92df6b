// Dragging the selected rows with OLE drag and drop: as text to any program that takes text, and
// within the grid as a move of the rows to the drop position. Drops from elsewhere are refused.
//
// The drag runs a nested modal loop (ole32's DoDragDrop) inside the reflected LVN_BEGINDRAG; the
// grid's own OnDragOver and OnDrop run inside it, reached through its drop target.
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/COleDataSourceWnd.h"
#include "controls/grid/GridMoveOrder.h"
#include "controls/grid/GridRowSort.h"
#include "controls/grid/GridTransferText.h"

#include <vector>

namespace {

const UINT kOnItem = LVHT_ONITEM;  // icon, label or state icon

}  // namespace

bool CGridListCtrlEx::RegisterDropTarget()
{
    if (DropTarget != nullptr)
        return true;
    // Kept also when the registration fails: the grid then works without drag and drop, and
    // does not try again.
    DropTarget = new COleDropTargetWnd<CGridListCtrlEx>;
    if (!DropTarget->Register(this))
        return false;
    DropTarget->OwnerList = this;
    return true;
}

BOOL CGridListCtrlEx::OnBeginDrag(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    // While rows are dragged no cell has the focus.
    SetFocusCell(FocusColumn, true);
    const int nFocusRow = GetNextItem(-1, LVNI_FOCUSED);
    SetFocusCell(-1, false);

    DropFocusRow = -1;
    COleDataSourceWnd<CGridListCtrlEx> dataSource(DropTarget);
    const DWORD effect = StartDragSelection(&dataSource);
    // The window may have been destroyed inside the drag, and its drop target with it.
    if (dataSource.OwnerDropTarget != DropTarget)
        dataSource.OwnerDropTarget = nullptr;

    // Ending the highlight takes every row's focus; the rows moved by a drop keep the focus it
    // gave them, so that the keyboard and the owner's commands still have a row to work on.
    SetHotTracking(-1);
    if (DropFocusRow != -1)
        SetItemState(DropFocusRow, LVIS_FOCUSED, LVIS_FOCUSED);
    else if (effect == DROPEFFECT_NONE && nFocusRow != -1)
        SetItemState(nFocusRow, LVIS_FOCUSED, LVIS_FOCUSED);
    DropFocusRow = -1;
    return FALSE;
}

DWORD CGridListCtrlEx::StartDragSelection(COleDataSource* pDataSource)
{
    if (pDataSource == nullptr || GetSelectedCount() == 0)
        return DROPEFFECT_NONE;
    CString text;
    if (!GetSelectionTextNoTitles(text))
        return DROPEFFECT_NONE;
    HGLOBAL hGlobal = GridTextToGlobal(text);
    if (hGlobal == nullptr)
        return DROPEFFECT_NONE;
    pDataSource->CacheGlobalData(CF_UNICODETEXT, hGlobal);
    // The grid never removes rows after a drag, whatever the drop target did with the text.
    return pDataSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
}

DWORD CGridListCtrlEx::OnDragEnter(COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/, CPoint /*point*/)
{
    // The drop-position highlight takes the focused state along from row to row; a drag from
    // elsewhere gives it back to this row when it leaves or drops (OnBeginDrag does so for the
    // grid's own drags).
    if (DropTarget == nullptr || !DropTarget->DragFromOwner)
        ForeignDragFocusRow = GetNextItem(-1, LVNI_FOCUSED);
    return DROPEFFECT_MOVE;
}

DWORD CGridListCtrlEx::OnDragOver(COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/, CPoint /*point*/)
{
    const DWORD dwPos = ::GetMessagePos();
    CPoint point(static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos)));
    ScreenToClient(&point);
    LVHITTESTINFO hit = {};
    hit.pt = point;
    SubItemHitTest(&hit);
    const int nRow = (hit.flags & kOnItem) != 0 ? hit.iItem : -1;

    if (GetItemCount() > 0) {
        RECT rowRect = {};
        if (!GetCellPartRect(0, 0, LVIR_BOUNDS, rowRect))
            GetItemRect(GetTopIndex(), &rowRect, LVIR_BOUNDS);
        const int rowHeight = rowRect.bottom - rowRect.top;
        RECT headerRect = {};
        if (CHeaderCtrl* pHeader = GetHeaderCtrl())
            pHeader->GetClientRect(&headerRect);
        const int headerHeight = headerRect.bottom - headerRect.top;
        RECT client = {};
        GetClientRect(&client);

        // Near the top or the bottom edge the list scrolls by one row per call, after a pause.
        // Without a row height there is nothing to scroll by.
        if (rowHeight > 0 && point.y < client.top + headerHeight + rowHeight) {
            int nMin = 0;
            int nMax = 0;
            GetScrollRange(SB_VERT, &nMin, &nMax);
            if (GetScrollPos(SB_VERT) > nMin) {
                ::Sleep(100);
                Scroll(CSize(0, -rowHeight));
                UpdateWindow();
                return DROPEFFECT_SCROLL;
            }
        } else if (rowHeight > 0 && point.y > client.bottom - rowHeight) {
            const int nBefore = GetScrollPos(SB_VERT);
            ::Sleep(100);
            Scroll(CSize(0, rowHeight));
            if (GetScrollPos(SB_VERT) != nBefore) {
                UpdateWindow();
                return DROPEFFECT_SCROLL;
            }
        }
    }
    SetHotTracking(nRow);
    return DROPEFFECT_MOVE;
}

void CGridListCtrlEx::OnDragLeave()
{
    EndDropHighlight();
}

bool CGridListCtrlEx::OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point)
{
    if (DropTarget != nullptr && DropTarget->DragFromOwner)
        return DropWithinList(pDataObject, dropEffect, point);
    // Nothing else would end a foreign drag's highlight: left on, the hot tracking it turned on
    // would select whatever row the mouse rests on.
    EndDropHighlight();
    return DropFromOutside(pDataObject, dropEffect, point);
}

void CGridListCtrlEx::EndDropHighlight()
{
    SetHotTracking(-1);
    if (DropTarget != nullptr && DropTarget->DragFromOwner)
        return;  // the grid's own drag may come back; its end restores the focus
    if (ForeignDragFocusRow != -1 && ForeignDragFocusRow < GetItemCount())
        SetItemState(ForeignDragFocusRow, LVIS_FOCUSED, LVIS_FOCUSED);
    ForeignDragFocusRow = -1;
}

bool CGridListCtrlEx::DropWithinList(COleDataObject* /*pDataObject*/, DWORD /*dropEffect*/, CPoint point)
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    SubItemHitTest(&hit);
    const int nTarget = (hit.flags & kOnItem) != 0 ? hit.iItem : -1;
    if (MoveSelectionTo(nTarget)) {
        // Dropped below the last row: the selection went to the end, and its last row, the last
        // row of the list, shows the focus.
        FocusDroppedRow(nTarget != -1 ? nTarget : GetItemCount() - 1);
    }
    return true;
}

void CGridListCtrlEx::FocusDroppedRow(int nRow)
{
    EnsureVisible(nRow, FALSE);
    SetItemState(nRow, LVIS_FOCUSED, LVIS_FOCUSED);
    DropFocusRow = nRow;
}

bool CGridListCtrlEx::DropFromOutside(COleDataObject* /*pDataObject*/, DWORD /*dropEffect*/, CPoint /*point*/)
{
    return false;
}

bool CGridListCtrlEx::MoveSelectionTo(int nTargetRow)
{
    if (GetStyle() & LVS_OWNERDATA)
        return false;
    const UINT nSelected = GetSelectedCount();
    const int nFirst = GetNextItem(-1, LVNI_SELECTED);
    if (nSelected == 0 || nFirst == -1)
        return false;
    if (nSelected == 1 && nFirst == nTargetRow)
        return false;

    const int nCount = GetItemCount();
    if (nTargetRow == -1)
        nTargetRow = nCount;
    const bool bothSides =
        nSelected > 1 && nFirst < nTargetRow && nTargetRow < nCount && GetNextItem(nTargetRow, LVNI_SELECTED) != -1;

    // The selection is read before the rows move: some list views clear it while they sort and
    // restore it afterwards.
    std::vector<char> selected(static_cast<size_t>(nCount));
    for (int nRow = 0; nRow < nCount; ++nRow)
        selected[static_cast<size_t>(nRow)] = (GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;

    CWaitCursor waitCursor;
    return GridSortRows(*this, [&](int nPlace1, int nPlace2) {
        return GridMoveOrder(nPlace1, selected[static_cast<size_t>(nPlace1)] != 0, nPlace2,
                             selected[static_cast<size_t>(nPlace2)] != 0, nTargetRow, bothSides);
    });
}
