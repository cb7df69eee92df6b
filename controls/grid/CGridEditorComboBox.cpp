#include "controls/grid/CGridEditorComboBox.h"

#include "controls/grid/GridNotify.h"

#include <algorithm>

// clang-format off
BEGIN_MESSAGE_MAP(CGridEditorComboBox, CComboBox)
    ON_WM_KILLFOCUS()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_WM_CHAR()
    ON_CONTROL_REFLECT(CBN_DROPDOWN, &CGridEditorComboBox::OnDropDown)
    ON_CONTROL_REFLECT(CBN_SELCHANGE, &CGridEditorComboBox::OnChangeSelection)
    ON_CONTROL_REFLECT(CBN_SELENDOK, &CGridEditorComboBox::OnChangeSelection)
    ON_CONTROL_REFLECT(CBN_EDITCHANGE, &CGridEditorComboBox::OnChangeSelection)
    ON_CONTROL_REFLECT(CBN_CLOSEUP, &CGridEditorComboBox::OnCloseUp)
END_MESSAGE_MAP()
// clang-format on

CGridEditorComboBox::CGridEditorComboBox(int nRow, int nCol, UINT nMaxWidth, UINT nMaxVisibleItems, UINT nShowDropDown)
    : m_Row(nRow),
      m_Col(nCol),
      m_MaxWidth(nMaxWidth),
      m_MaxVisibleItems(nMaxVisibleItems),
      m_ShowDropDown(nShowDropDown)
{
}

CGridEditorComboBox::~CGridEditorComboBox() = default;

BOOL CGridEditorComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CComboBox::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    m_OwnsItself = true;
    // Only a drop-down combo box has an edit field (its first child); a drop-down list has none.
    if ((dwStyle & 3) == CBS_DROPDOWN) {
        if (HWND hWndEdit = ::GetWindow(m_hWnd, GW_CHILD))
            m_Edit.SubclassWindow(hWndEdit);
    }
    return TRUE;
}

void CGridEditorComboBox::PostNcDestroy()
{
    if (m_OwnsItself)
        delete this;
}

void CGridEditorComboBox::EndEdit(bool bAccept)
{
    if (m_Ended)
        return;
    m_Ended = true;

    CString text;
    GetWindowText(text);
    NMLVDISPINFOW dispInfo = {};
    if (bAccept && m_Modified) {
        dispInfo.item.mask = LVIF_TEXT | LVIF_PARAM;
        dispInfo.item.pszText = text.GetBuffer();
        dispInfo.item.cchTextMax = text.GetLength();
        // CB_ERR (-1) travels when no entry is selected.
        dispInfo.item.lParam = static_cast<LPARAM>(GetItemData(GetCurSel()));
    }
    HWND hWnd = m_hWnd;
    HWND hWndList = ::GetParent(hWnd);
    if (m_Edit.m_hWnd != nullptr && ::GetFocus() == m_Edit.m_hWnd)
        ::SetFocus(hWndList);
    ShowWindow(SW_HIDE);
    GridEditorReportEnd(hWnd, m_Row, m_Col, dispInfo);
}

BOOL CGridEditorComboBox::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        switch (pMsg->wParam) {
            case VK_TAB:
                EndEdit(true);
                return FALSE;  // the dialog still moves on to the next control
            case VK_RETURN:
                EndEdit(true);
                return TRUE;
            case VK_ESCAPE:
                EndEdit(false);
                return TRUE;
            default:
                break;
        }
    } else if (pMsg->message == WM_CHAR) {
        m_Modified = true;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}

void CGridEditorComboBox::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    HWND hWndNew = pNewWnd != nullptr ? pNewWnd->m_hWnd : nullptr;
    // The combo box hands its focus on to its own edit field: that ends nothing.
    if (hWndNew == m_hWnd || (hWndNew != nullptr && hWndNew == m_Edit.m_hWnd))
        return;
    EndEdit(true);
}

void CGridEditorComboBox::OnSetFocus(CWnd* /*pOldWnd*/)
{
    Default();
    if (m_ShowDropDown) {
        m_ShowDropDown = 0;
        ShowDropDown(TRUE);
    }
}

void CGridEditorComboBox::OnDestroy()
{
    // An editor that was never made reports nothing.
    if (!m_Ended && m_OwnsItself)
        EndEdit(false);
    // The edit field goes on living a moment longer than this object's hold on it.
    if (m_Edit.m_hWnd != nullptr)
        m_Edit.UnsubclassWindow();
    Default();
}

void CGridEditorComboBox::OnChar(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    if (nChar == VK_RETURN) {
        EndEdit(true);
        return;
    }
    m_Modified = true;
    Default();
}

void CGridEditorComboBox::OnDropDown()
{
    const int selectionHeight = GetItemHeight(-1);
    const int count = std::max(GetCount(), 0);
    const int itemHeight = GetItemHeight(0);

    // Room for the visible entries below the selection field.
    RECT client = {};
    GetClientRect(&client);
    const int visible = std::min(static_cast<int>(m_MaxVisibleItems), count);
    client.bottom += itemHeight * visible + 2 * ::GetSystemMetrics(SM_CYEDGE);
    SetWindowPos(nullptr, 0, 0, client.right - client.left, client.bottom - client.top, SWP_NOMOVE | SWP_NOZORDER);

    // As wide as the widest entry, up to the maximum, plus a scroll bar when the entries do not
    // all fit and a character's room.
    int width = 0;
    if (HDC hDC = ::GetDC(m_hWnd)) {
        HGDIOBJ hPrevFont = nullptr;
        if (HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)))
            hPrevFont = ::SelectObject(hDC, hFont);
        for (int i = 0; i < count; ++i) {
            CString entry;
            if (GetLBText(i, entry) == CB_ERR)
                continue;
            SIZE size = {};
            if (::GetTextExtentPoint32W(hDC, entry, entry.GetLength(), &size) && size.cx > width)
                width = size.cx;
            if (width > static_cast<int>(m_MaxWidth)) {
                width = static_cast<int>(m_MaxWidth);
                break;
            }
        }
        RECT dropped = {};
        GetDroppedControlRect(&dropped);
        if (dropped.bottom - dropped.top <= itemHeight * count)
            width += ::GetSystemMetrics(SM_CXVSCROLL);
        SIZE zero = {};
        if (::GetTextExtentPoint32W(hDC, L"0", 1, &zero))
            width += zero.cx;
        if (hPrevFont != nullptr && hPrevFont != HGDI_ERROR)
            ::SelectObject(hDC, hPrevFont);
        ::ReleaseDC(m_hWnd, hDC);
    }
    SetDroppedWidth(static_cast<UINT>(width));
    // Resizing may have changed the selection field; put it back. Wine reads a height back two
    // pixels higher than it was set, so an unchanged one is left alone rather than set again.
    if (selectionHeight >= 0 && GetItemHeight(-1) != selectionHeight)
        SetItemHeight(-1, static_cast<UINT>(selectionHeight));
}

void CGridEditorComboBox::OnChangeSelection()
{
    m_Modified = true;
}

void CGridEditorComboBox::OnCloseUp() {}
