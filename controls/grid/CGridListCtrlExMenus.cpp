// The grid's context menus: the header menu with one show/hide item per column (and, with a state
// store, the column profiles and "Reset columns"), the menu asked for from the keyboard, and the
// hooks through which a derived list adds menus of its own.
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/GridHitTest.h"

#include <algorithm>

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

// ---- WM_CONTEXTMENU -----------------------------------------------------------------------------

void CGridListCtrlEx::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    if (point.x == -1 && point.y == -1) {
        ShowKeyboardMenu(pWnd, point);  // the menu key or Shift+F10
        return;
    }
    SetFocusCell(FocusColumn, true);

    HWND hWndHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (pWnd == nullptr || hWndHeader == nullptr || pWnd->m_hWnd != hWndHeader) {
        CPoint client = point;
        ScreenToClient(&client);
        const GridCellHit hit = GridHitTestCell(*this, client);
        if (hit.nFlags == LVHT_ONITEMSTATEICON)
            return;  // the check box
        if (hit.nRow == -1)
            ShowGridMenu(pWnd, point);
        else
            ShowCellMenu(pWnd, point, hit.nRow, hit.nCol);
        return;
    }

    // The header window moves left as the list scrolls: its own x is the list's plus the scroll.
    CPoint client = point;
    ScreenToClient(&client);
    HDHITTESTINFO info = {};
    info.pt.x = client.x + GetScrollPos(SB_HORZ);
    info.pt.y = client.y;
    const int nCol = static_cast<int>(::SendMessageW(hWndHeader, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    ShowHeaderMenu(pWnd, point, nCol);
}

void CGridListCtrlEx::ShowKeyboardMenu(CWnd* pWnd, CPoint /*point*/)
{
    const int nRow = GetNextItem(-1, LVNI_FOCUSED);
    if (nRow == -1) {
        CPoint corner(0, 0);
        ClientToScreen(&corner);
        ShowGridMenu(pWnd, corner);
        return;
    }
    RECT rect = {};
    const bool bHaveRect = FocusColumn != -1 ? GetCellPartRect(nRow, FocusColumn, LVIR_BOUNDS, rect) != 0
                                             : GetItemRect(nRow, &rect, LVIR_BOUNDS) != FALSE;
    if (!bHaveRect)
        rect = RECT{};
    ClientToScreen(&rect);
    const int nHeight = rect.bottom - rect.top;
    const int nWidth = rect.right - rect.left;
    const CPoint at(rect.left + std::min(nHeight / 2, nWidth / 2), rect.top + nHeight / 2);
    ShowCellMenu(pWnd, at, nRow, FocusColumn);
}

// ---- the header menu ----------------------------------------------------------------------------

void CGridListCtrlEx::ShowHeaderMenu(CWnd* /*pWnd*/, CPoint point, int nCol)
{
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    const int nCount = GetColumnCount();

    CString text;
    if (GetColumnCommandText(nCol, text) && !menu.AppendMenu(MF_STRING, 1, text))
        return;
    text.Empty();
    if (GetListCommandText(text)) {
        if (!menu.AppendMenu(MF_STRING, 2, text))
            return;
    } else {
        if (menu.GetMenuItemCount() > 0 && !menu.AppendMenu(MF_SEPARATOR))
            return;
        AppendColumnMenuItems(menu, 4);
    }
    CStringArray profiles;
    const int nProfiles = AppendProfilesSubmenu(menu, nCount + 5, profiles);
    text.Empty();
    if (GetResetColumnsText(text)) {
        if (nProfiles == 0 && !menu.AppendMenu(MF_SEPARATOR))
            return;
        if (!menu.AppendMenu(MF_STRING, 3, text))
            return;
    }

    const int nChosen = static_cast<int>(menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, point.x, point.y, this));
    if (nChosen <= 0)
        return;
    if (nChosen == 1) {
        OnColumnCommand(nCol);
    } else if (nChosen == 2) {
        OnListCommand();
    } else if (nChosen == 3) {
        ResetColumns();
    } else if (nChosen < nCount + 4) {
        const int nShowCol = nChosen - 4;
        ShowColumn(nShowCol, !IsColumnVisible(nShowCol));
    } else if (nChosen >= nCount + 5 && nChosen - nCount - 5 < profiles.GetSize()) {
        SwitchColumnProfile(profiles[nChosen - nCount - 5]);
    }
}

int CGridListCtrlEx::AppendColumnMenuItems(CMenu& menu, int nFirstId)
{
    const int nTraits = GetColumnTraitCount();
    for (int nCol = 0; nCol < nTraits; ++nCol) {
        if (IsColumnOutOfMenu(nCol))
            continue;
        UINT nFlags = MF_STRING;
        if (IsColumnVisible(nCol))
            nFlags |= MF_CHECKED;
        if (IsColumnLocked(nCol))
            nFlags |= MF_DISABLED;
        menu.AppendMenu(nFlags, static_cast<UINT_PTR>(nFirstId + nCol), GetColumnTitle(nCol));
    }
    return nTraits;
}

int CGridListCtrlEx::AppendProfilesSubmenu(CMenu& menu, int nFirstId, CStringArray& profiles)
{
    CString title;
    const CString active = GetProfilesMenuText(profiles, title);
    const int nProfiles = static_cast<int>(profiles.GetSize());
    if (nProfiles == 0)
        return 0;
    CMenu submenu;
    if (!submenu.CreatePopupMenu())
        return 0;
    for (int i = 0; i < nProfiles; ++i) {
        const UINT nFlags = MF_STRING | (profiles[i] == active ? MF_CHECKED : 0);
        submenu.AppendMenu(nFlags, static_cast<UINT_PTR>(nFirstId + i), profiles[i]);
    }
    if (!menu.AppendMenu(MF_SEPARATOR) ||
        !menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.m_hMenu), title))
        return 0;
    submenu.Detach();  // the menu owns it now
    return nProfiles;
}
