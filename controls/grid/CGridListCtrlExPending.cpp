// The grid's operations of column visibility and state, the focus cell, navigation, editing and
// tooltips, sorting, the clipboard and drag and drop, as far as they are built so far.
//
// The hooks (menu hooks, callback-cell hooks, owner-data check boxes), the column flags, the first
// visible column and setting the focus cell are complete. Every other operation here does what the list does without
// the feature it belongs to: message handlers pass their message on to the list's own processing (or, for
// notifications, to the list's parent), and the others change nothing and answer "not done". docs/grid.md lists them.
#include "controls/grid/CGridListCtrlEx.h"

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
    HWND hWndHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
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

// ---- hooks ------------------------------------------------------------------------------------

bool CGridListCtrlEx::GetColumnCommandText(int /*nCol*/, CString& /*text*/)
{
    return false;
}

void CGridListCtrlEx::OnColumnCommand(int /*nCol*/) {}

bool CGridListCtrlEx::GetListCommandText(CString& /*text*/)
{
    return false;
}

void CGridListCtrlEx::OnListCommand() {}

void CGridListCtrlEx::ShowGridMenu(CWnd* /*pWnd*/, CPoint /*point*/) {}

void CGridListCtrlEx::ShowCellMenu(CWnd* /*pWnd*/, CPoint /*point*/, int /*nRow*/, int /*nCol*/) {}

bool CGridListCtrlEx::QueryCellText(int /*nRow*/, int /*nCol*/, CString& /*text*/)
{
    return false;
}

bool CGridListCtrlEx::QueryCellImage(int /*nRow*/, int /*nCol*/, int& /*nImage*/)
{
    return false;
}

bool CGridListCtrlEx::AllowCellTooltip(CPoint /*pt*/, TOOLINFOW* /*pTI*/)
{
    return true;
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

// ---- column visibility, state and header (not built yet) ------------------------------------

bool CGridListCtrlEx::ScrollColumnIntoView(int /*nCol*/, bool /*bPartlyIsEnough*/)
{
    return false;
}

bool CGridListCtrlEx::AutoSizeColumn(int /*nCol*/, bool /*bIncludeHeading*/)
{
    return false;
}

void CGridListCtrlEx::SetHeaderSortArrow(int /*nCol*/, bool /*bAscending*/) {}

bool CGridListCtrlEx::ShowColumn(int /*nCol*/, bool /*bShow*/)
{
    return false;
}

void CGridListCtrlEx::LoadColumnState(ColumnStateStore* /*pStore*/, bool /*bOwnsStore*/) {}

void CGridListCtrlEx::ApplyColumnState(ColumnStateStore* /*pStore*/) {}

void CGridListCtrlEx::StoreColumnState(ColumnStateStore* /*pStore*/) {}

void CGridListCtrlEx::LoadColumnWidth(int /*nPlace*/, int /*nCol*/, ColumnStateStore* /*pStore*/) {}

void CGridListCtrlEx::StoreColumnWidth(int /*nPlace*/, int /*nCol*/, ColumnStateStore* /*pStore*/) {}

bool CGridListCtrlEx::GetResetColumnsText(CString& /*text*/)
{
    return false;
}

void CGridListCtrlEx::ResetColumns() {}

CString CGridListCtrlEx::GetProfilesMenuText(CStringArray& /*profiles*/, CString& /*title*/)
{
    return CString();
}

void CGridListCtrlEx::SwitchColumnProfile(const CString& /*profile*/) {}

void CGridListCtrlEx::SaveStateOnShowColumn() {}

void CGridListCtrlEx::SaveStateOnColumnResize() {}

void CGridListCtrlEx::SaveStateOnKillFocus() {}

void CGridListCtrlEx::ShowHeaderMenu(CWnd* /*pWnd*/, CPoint /*point*/, int /*nCol*/) {}

void CGridListCtrlEx::ShowKeyboardMenu(CWnd* /*pWnd*/, CPoint /*point*/) {}

LRESULT CGridListCtrlEx::OnSetColumnWidth(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return Default();
}

BOOL CGridListCtrlEx::OnHeaderDividerDblClick(UINT /*nID*/, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnHeaderBeginTrack(UINT /*nID*/, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnHeaderBeginDrag(UINT /*nID*/, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnHeaderEndTrack(UINT /*nID*/, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnHeaderItemChanging(UINT /*nID*/, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnHeaderEndDrag(UINT /*nID*/, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

void CGridListCtrlEx::OnContextMenu(CWnd* /*pWnd*/, CPoint /*point*/)
{
    Default();
}

void CGridListCtrlEx::OnKillFocus(CWnd* /*pNewWnd*/)
{
    Default();
}

// ---- focus cell, navigation, editing and tooltips (not built yet) -------------------------------

INT_PTR CGridListCtrlEx::OnToolHitTest(CPoint point, TOOLINFOW* pTI) const
{
    return CListCtrl::OnToolHitTest(point, pTI);
}

CWnd* CGridListCtrlEx::OpenCellEditor(int /*nRow*/, int /*nCol*/, CPoint /*pt*/)
{
    return nullptr;
}

CWnd* CGridListCtrlEx::OpenCellEditorNoPoint(int /*nRow*/, int /*nCol*/)
{
    return nullptr;
}

void CGridListCtrlEx::FillCallbackItem(LVITEMW& /*item*/) {}

bool CGridListCtrlEx::GetCellText(int /*nRow*/, int /*nCol*/, CString& /*text*/)
{
    return false;
}

int CGridListCtrlEx::FindRowByPrefix(int /*nCol*/, int /*nStartRow*/, const CString& /*prefix*/)
{
    return -1;
}

void CGridListCtrlEx::MoveFocusColumn(bool /*bForward*/) {}

int CGridListCtrlEx::ClassifyCellClick(int /*nRow*/, int /*nCol*/, CPoint /*pt*/, bool /*bDblClick*/)
{
    return 0;
}

CWnd* CGridListCtrlEx::StartCellEditing(int /*nRow*/, int /*nCol*/, CPoint /*pt*/)
{
    return nullptr;
}

CWnd* CGridListCtrlEx::StartCellEditingNoPoint(int /*nRow*/, int /*nCol*/)
{
    return nullptr;
}

bool CGridListCtrlEx::OnCellEditingEnded(int /*nRow*/, int /*nCol*/, CWnd* /*pEditor*/, NMLVDISPINFOW* /*pDispInfo*/)
{
    return false;
}

BOOL CGridListCtrlEx::OnClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnDblClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnGetDisplayInfo(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

void CGridListCtrlEx::OnChar(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    Default();
}

void CGridListCtrlEx::OnKeyDown(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    Default();
}

void CGridListCtrlEx::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    Default();
}

void CGridListCtrlEx::OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    Default();
}

void CGridListCtrlEx::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/)
{
    Default();
}

BOOL CGridListCtrlEx::OnToolNeedText(UINT /*nID*/, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnBeginLabelEdit(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnEndLabelEdit(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnOwnerDataFindItem(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlEx::OnItemChanged(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

void CGridListCtrlEx::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CListCtrl::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CGridListCtrlEx::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CListCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
}
