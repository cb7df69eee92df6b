// Editing the grid's cells: what a click does, opening a cell's editor through its column trait
// with the parent's consent (LVN_BEGINLABELEDITW), and storing the editor's result when it ends
// (LVN_ENDLABELEDITW, which the class library reflects to the grid before the parent sees it).
#include "controls/grid/CGridListCtrlEx.h"

namespace {

bool IsKeyHeld(int vk)
{
    return ::GetKeyState(vk) < 0;
}

}  // namespace

int CGridListCtrlEx::ClassifyCellClick(int nRow, int nCol, CPoint pt, bool bDblClick)
{
    if (IsKeyHeld(VK_CONTROL) || IsKeyHeld(VK_SHIFT))
        return 0;  // selecting, not editing
    CGridColumnTrait* pTrait = GetCellTrait(nRow, nCol);
    if (pTrait == nullptr || pTrait->IsCellReadOnly(*this, nRow, nCol, pt))
        return 0;
    return pTrait->ClassifyClick(*this, nRow, nCol, pt, bDblClick);
}

CWnd* CGridListCtrlEx::StartCellEditing(int nRow, int nCol, CPoint pt)
{
    CGridColumnTrait* pTrait = GetCellTrait(nRow, nCol);
    if (pTrait == nullptr || pTrait->IsCellReadOnly(*this, nRow, nCol, pt))
        return nullptr;
    return pTrait->BeginEditAtPoint(*this, nRow, nCol, pt);
}

CWnd* CGridListCtrlEx::StartCellEditingNoPoint(int nRow, int nCol)
{
    return StartCellEditing(nRow, nCol, CPoint(-1, -1));
}

CWnd* CGridListCtrlEx::OpenCellEditor(int nRow, int nCol, CPoint pt)
{
    if (nRow == -1 || nCol == -1)
        return nullptr;
    CellEditor = StartCellEditing(nRow, nCol, pt);
    if (CellEditor == nullptr)
        return nullptr;

    // The parent may refuse, as it may refuse the list view's own label edits.
    const int nId = GetDlgCtrlID();
    NMLVDISPINFOW dispInfo = {};
    dispInfo.hdr.hwndFrom = m_hWnd;
    dispInfo.hdr.idFrom = static_cast<UINT_PTR>(nId);
    dispInfo.hdr.code = LVN_BEGINLABELEDITW;
    dispInfo.item.mask = LVIF_PARAM;
    dispInfo.item.iItem = nRow;
    dispInfo.item.iSubItem = nCol;
    dispInfo.item.lParam = static_cast<LPARAM>(GetItemData(nRow));
    HWND hWndParent = ::GetParent(m_hWnd);
    const LRESULT answer = hWndParent ? ::SendMessageW(hWndParent, WM_NOTIFY, static_cast<WPARAM>(nId),
                                                       reinterpret_cast<LPARAM>(&dispInfo))
                                      : 0;
    if (answer != 0) {
        CWnd* pEditor = CellEditor;
        OnCellEditingEnded(nRow, nCol, nullptr, nullptr);
        if (pEditor->m_hWnd != nullptr)
            pEditor->PostMessage(WM_CLOSE);
        CellEditor = nullptr;
        return nullptr;
    }
    CWnd* pEditor = CellEditor;
    pEditor->ShowWindow(SW_SHOW);
    pEditor->SetFocus();
    return pEditor;
}

CWnd* CGridListCtrlEx::OpenCellEditorNoPoint(int nRow, int nCol)
{
    return OpenCellEditor(nRow, nCol, CPoint(-1, -1));
}

bool CGridListCtrlEx::OnCellEditingEnded(int nRow, int nCol, CWnd* /*pEditor*/, NMLVDISPINFOW* pDispInfo)
{
    // The traits may be gone already: an editor destroyed with the list ends after WM_DESTROY.
    if (CGridColumnTrait* pTrait = GetCellTrait(nRow, nCol))
        pTrait->FinishCellEdit();
    if (pDispInfo == nullptr)
        return false;
    const LVITEMW& item = pDispInfo->item;
    return ((item.mask & LVIF_TEXT) && item.pszText != nullptr) || ((item.mask & LVIF_IMAGE) && item.iImage != -1);
}

BOOL CGridListCtrlEx::OnBeginLabelEdit(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    if (CellEditor != nullptr) {
        *pResult = 0;
        return FALSE;  // the grid's own editor: the parent decides
    }
    // The list view's own label editing: the grid edits its cells itself.
    *pResult = 1;
    return TRUE;
}

BOOL CGridListCtrlEx::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pDispInfo = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR);
    const LVITEMW& item = pDispInfo->item;
    const int nRow = item.iItem;
    const int nCol = item.iSubItem;
    *pResult = 0;
    if (nRow != -1 && nCol != -1 && OnCellEditingEnded(nRow, nCol, CellEditor, pDispInfo)) {
        *pResult = 1;
        // Callback cells are the parent's to store: it sees the notification next.
        if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && !IsCellCallback(nRow, nCol))
            SetItemText(nRow, nCol, item.pszText);
        if ((item.mask & LVIF_IMAGE) && item.iImage != -1 && !(GetStyle() & LVS_OWNERDATA)) {
            LVITEMW current = {};
            current.mask = LVIF_IMAGE | LVIF_NORECOMPUTE;
            current.iItem = nRow;
            current.iSubItem = nCol;
            // A new image only replaces one the cell shows.
            if (GetItem(&current) && current.iImage != -1) {
                LVITEMW change = {};
                change.mask = LVIF_IMAGE;
                change.iItem = nRow;
                change.iSubItem = nCol;
                change.iImage = item.iImage;
                SetItem(&change);
            }
        }
    }
    if (CellEditor != nullptr && ::GetFocus() == CellEditor->m_hWnd)
        SetFocus();
    CellEditor = nullptr;
    return FALSE;
}
