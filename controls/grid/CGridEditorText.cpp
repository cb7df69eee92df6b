#include "controls/grid/CGridEditorText.h"

#include "controls/grid/GridNotify.h"

// clang-format off
BEGIN_MESSAGE_MAP(CGridEditorText, CEdit)
    ON_WM_KILLFOCUS()
    ON_CONTROL_REFLECT(EN_CHANGE, &CGridEditorText::OnEnChange)
END_MESSAGE_MAP()
// clang-format on

CGridEditorText::CGridEditorText(int nRow, int nCol) : m_Row(nRow), m_Col(nCol) {}

BOOL CGridEditorText::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CEdit::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    m_OwnsItself = true;
    return TRUE;
}

void CGridEditorText::PostNcDestroy()
{
    if (m_OwnsItself)
        delete this;
}

void CGridEditorText::EndEdit(bool bAccept)
{
    if (m_Ended)
        return;
    m_Ended = true;

    CString text;
    GetWindowText(text);
    NMLVDISPINFOW dispInfo = {};
    if (bAccept && m_Modified) {
        dispInfo.item.mask = LVIF_TEXT;
        dispInfo.item.pszText = text.GetBuffer();
        dispInfo.item.cchTextMax = text.GetLength();
    }
    // Hiding the focused editor moves the focus away, which ends nothing more: the edit has ended.
    ShowWindow(SW_HIDE);
    GridEditorReportEnd(m_hWnd, m_Row, m_Col, dispInfo);
}

BOOL CGridEditorText::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        switch (pMsg->wParam) {
            case VK_TAB:
                EndEdit(true);
                return FALSE;  // the dialog still moves on to the next control
            case VK_RETURN:
                if (GetStyle() & ES_WANTRETURN)
                    break;
                EndEdit(true);
                return TRUE;
            case VK_ESCAPE:
                EndEdit(false);
                return TRUE;
            default:
                break;
        }
    } else if (pMsg->message == WM_MOUSEWHEEL) {
        // The cell scrolls away under the wheel: keep what was typed.
        EndEdit(true);
        return FALSE;
    }
    return CEdit::PreTranslateMessage(pMsg);
}

void CGridEditorText::OnKillFocus(CWnd* /*pNewWnd*/)
{
    Default();
    EndEdit(true);
}

void CGridEditorText::OnEnChange()
{
    if (m_InitialChangePending)
        m_InitialChangePending = false;
    else
        m_Modified = true;
}
