#include "controls/grid/CGridEditorComboBoxEdit.h"

// clang-format off
BEGIN_MESSAGE_MAP(CGridEditorComboBoxEdit, CEdit)
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()
// clang-format on

void CGridEditorComboBoxEdit::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    CWnd* pOwner = GetOwner();
    if (pOwner == nullptr)
        return;
    // The focus going to the combo box itself keeps the edit open.
    if (pNewWnd != nullptr && pNewWnd->m_hWnd == pOwner->m_hWnd)
        return;
    pOwner->SendMessage(WM_CHAR, VK_RETURN, 0);
}
