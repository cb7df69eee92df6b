#include "controls/grid/CGridColumnTraitCombo.h"

#include "controls/grid/CGridEditorComboBox.h"
#include "controls/grid/CGridListCtrlEx.h"

#include <new>

bool CGridColumnTraitCombo::AddListItem(ULONGLONG nItemData, LPCWSTR pszText)
{
    try {
        ComboItemList.emplace_back(nItemData, CString(pszText));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (CMemoryException* e) {  // the string's own allocation
        e->Delete();
        return false;
    }
    return true;
}

CWnd* CGridColumnTraitCombo::CreateCellEditorWindow(CGridListCtrlEx& owner, int nRow, int nCol, DWORD dwStyle,
                                                    const RECT& rect)
{
    auto* pEditor = new CGridEditorComboBox(nRow, nCol, MaxDropDownWidth, MaxVisibleItems, ShowDropDownOnFocus);
    if (!pEditor->Create(dwStyle | WS_CHILD, rect, &owner, 0)) {
        delete pEditor;
        return nullptr;
    }
    return pEditor;
}

CWnd* CGridColumnTraitCombo::StartCellEdit(CGridListCtrlEx& owner, int nRow, int nCol)
{
    const RECT rect = GetEditorRect(owner, nRow, nCol);
    if (IsNoEditorRect(rect))
        return nullptr;  // the cell has no rectangle: nothing to edit

    CWnd* pWnd = CreateCellEditorWindow(owner, nRow, nCol, ComboStyle, rect);
    m_pEditor = dynamic_cast<CGridEditorComboBox*>(pWnd);
    if (m_pEditor == nullptr)
        return pWnd;  // no editor, or one of a derived trait's own kind

    HDITEMW headerItem = {};
    headerItem.mask = HDI_FORMAT;
    if (CHeaderCtrl* pHeader = owner.GetHeaderCtrl();
        pHeader != nullptr && pHeader->GetItem(nCol, &headerItem) && (headerItem.fmt & HDF_RIGHT))
        m_pEditor->ModifyStyleEx(0, WS_EX_RIGHT);
    CFont* pFont = owner.GetGridFont();
    m_pEditor->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), TRUE);

    const CString text = owner.GetItemText(nRow, nCol);
    if (ComboItemList.empty()) {
        m_pEditor->SetWindowText(text);
    } else {
        FillEditorList();
        const int index = m_pEditor->FindStringExact(-1, text);
        if (index != CB_ERR)
            m_pEditor->SetCurSel(index);  // selected by program: not a change of the user's
        else
            m_pEditor->SetWindowText(text);
    }

    // Fit the selection field to the cell's height.
    RECT client = {};
    m_pEditor->GetClientRect(&client);
    const int clientHeight = client.bottom - client.top;
    const int cellHeight = rect.bottom - rect.top;
    const int selectionHeight = m_pEditor->GetItemHeight(-1);
    if (clientHeight < cellHeight) {
        m_pEditor->SetItemHeight(-1, static_cast<UINT>(selectionHeight + cellHeight - clientHeight));
    } else if (clientHeight > cellHeight + ::GetSystemMetrics(SM_CXBORDER)) {
        int excess = clientHeight - selectionHeight - 2 * ::GetSystemMetrics(SM_CXEDGE);
        if ((ComboStyle & 3) == CBS_DROPDOWNLIST)
            excess -= ::GetSystemMetrics(SM_CXEDGE);
        if (excess > 0)
            m_pEditor->SetItemHeight(-1, static_cast<UINT>(selectionHeight - excess));
    }
    return m_pEditor;
}

void CGridColumnTraitCombo::FinishCellEdit()
{
    m_pEditor = nullptr;
}

void CGridColumnTraitCombo::FillEditorList()
{
    if (m_pEditor == nullptr)
        return;
    m_pEditor->SetRedraw(FALSE);
    m_pEditor->InitStorage(static_cast<int>(ComboItemList.size()), 32);
    for (const auto& [itemData, text] : ComboItemList) {
        const int index = m_pEditor->AddString(text);
        if (index < 0)
            break;  // CB_ERR or CB_ERRSPACE: the combo box takes no more
        m_pEditor->SetItemData(index, static_cast<DWORD_PTR>(itemData));
    }
    m_pEditor->SetRedraw(TRUE);
    m_pEditor->Invalidate(TRUE);
    m_pEditor->UpdateWindow();
}
