// The grouping list's context menus: the header menu with "Group by: ", the menu of a group
// header, and the menu of the empty area.
#include "controls/grid/CGridListCtrlGroups.h"

#include "controls/grid/GridPlatform.h"

namespace {

// Ids of the header menu.
enum : UINT {
    kHeaderColumnCommand = 1,
    kHeaderListCommand = 2,
    kHeaderGroupBy = 3,
    kHeaderDisableGrouping = 4,
    kHeaderResetColumns = 5,
    kHeaderFirstColumn = 6,  // + column index; the profiles follow at 7 + column count
};

// Ids of the group menu.
enum : UINT {
    kGroupCheck = 3,
    kGroupUncheck = 4,
    kGroupExpandAll = 5,
    kGroupCollapseAll = 6,
    kGroupDisableGrouping = 7,
};

// Ids of the menu of the empty area.
enum : UINT {
    kGridExpandAll = 1,
    kGridCollapseAll = 2,
    kGridDisableGrouping = 3,
};

}  // namespace

void CGridListCtrlGroups::ShowHeaderMenu(CWnd* pWnd, CPoint point, int nCol)
{
    // Groups need the common controls 6: older ones get the grid's own header menu.
    if (!IsCommonControls6()) {
        CGridListCtrlEx::ShowHeaderMenu(pWnd, point, nCol);
        return;
    }

    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    if (nCol != -1)
        menu.AppendMenu(MF_STRING, kHeaderGroupBy, L"Group by: " + GetColumnTitle(nCol));
    if (IsGroupViewEnabled())
        menu.AppendMenu(MF_STRING, kHeaderDisableGrouping, L"Disable grouping");
    CString text;
    if (GetColumnCommandText(nCol, text))
        menu.AppendMenu(MF_STRING, kHeaderColumnCommand, text);
    if (GetListCommandText(text)) {
        menu.AppendMenu(MF_STRING, kHeaderListCommand, text);
    } else {
        if (menu.GetMenuItemCount() > 0)
            menu.AppendMenu(MF_SEPARATOR);
        AppendColumnMenuItems(menu, kHeaderFirstColumn);
    }
    const int nColumns = GetColumnCount();
    const UINT nFirstProfile = kHeaderFirstColumn + 1 + static_cast<UINT>(nColumns);
    CStringArray profiles;
    const int nProfiles = AppendProfilesSubmenu(menu, static_cast<int>(nFirstProfile), profiles);
    if (GetResetColumnsText(text)) {
        if (nProfiles == 0)
            menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, kHeaderResetColumns, text);
    }

    const UINT nChoice = static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD, point.x, point.y, this));
    switch (nChoice) {
        case 0:
            return;
        case kHeaderGroupBy:
            GroupByColumn(nCol);
            return;
        case kHeaderDisableGrouping: {
            // The list scrolls back to where it was once the groups are gone.
            const int nScrollPos = GetScrollPos(SB_VERT);
            EnsureVisible(0, FALSE);
            DisableGrouping();
            Scroll(CSize(0, nScrollPos));
            return;
        }
        case kHeaderColumnCommand:
            OnColumnCommand(nCol);
            return;
        case kHeaderListCommand:
            OnListCommand();
            return;
        case kHeaderResetColumns:
            ResetColumns();
            return;
        default:
            break;
    }
    if (nChoice >= kHeaderFirstColumn && nChoice < kHeaderFirstColumn + static_cast<UINT>(nColumns)) {
        const int nChosenCol = static_cast<int>(nChoice - kHeaderFirstColumn);
        ShowColumn(nChosenCol, !IsColumnVisible(nChosenCol));
    } else if (nChoice >= nFirstProfile && nChoice < nFirstProfile + static_cast<UINT>(profiles.GetSize())) {
        SwitchColumnProfile(profiles[static_cast<INT_PTR>(nChoice - nFirstProfile)]);
    }
}

void CGridListCtrlGroups::ShowGroupMenu(CWnd* /*pWnd*/, CPoint point, int nGroupId)
{
    const CString header = GetGroupHeaderText(nGroupId);
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    if (GetExtendedStyle() & LVS_EX_CHECKBOXES) {
        menu.AppendMenu(MF_STRING, kGroupCheck, L"Check group: " + header);
        menu.AppendMenu(MF_STRING, kGroupUncheck, L"Uncheck group: " + header);
    }
    if (CanUseGroupState()) {
        if (menu.GetMenuItemCount() > 0)
            menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, kGroupExpandAll, L"Expand all groups");
        menu.AppendMenu(MF_STRING, kGroupCollapseAll, L"Collapse all groups");
        menu.AppendMenu(MF_STRING, kGroupDisableGrouping, L"Disable grouping");
    }
    // A menu without items would show as an empty frame: nothing is offered, nothing happens.
    if (menu.GetMenuItemCount() == 0)
        return;

    switch (static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD, point.x, point.y, this))) {
        case kGroupCheck:
            SetGroupRowsChecked(nGroupId, true);
            break;
        case kGroupUncheck:
            SetGroupRowsChecked(nGroupId, false);
            break;
        case kGroupExpandAll:
            ExpandAllGroups();
            break;
        case kGroupCollapseAll:
            CollapseAllGroups();
            break;
        case kGroupDisableGrouping:
            DisableGrouping();
            break;
        default:
            break;
    }
}

void CGridListCtrlGroups::ShowGridMenu(CWnd* /*pWnd*/, CPoint point)
{
    if (!CanUseGroupState())
        return;
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    menu.AppendMenu(MF_STRING, kGridExpandAll, L"Expand all groups");
    menu.AppendMenu(MF_STRING, kGridCollapseAll, L"Collapse all groups");
    menu.AppendMenu(MF_STRING, kGridDisableGrouping, L"Disable grouping");
    switch (static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD, point.x, point.y, this))) {
        case kGridExpandAll:
            ExpandAllGroups();
            break;
        case kGridCollapseAll:
            CollapseAllGroups();
            break;
        case kGridDisableGrouping:
            DisableGrouping();
            break;
        default:
            break;
    }
}

void CGridListCtrlGroups::OnContextMenu(CWnd* pWnd, CPoint point)
{
    // A right click (not the menu key) on a group header opens the group's menu.
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    const bool fromHeader = pWnd != nullptr && pHeader != nullptr && pWnd->m_hWnd == pHeader->m_hWnd;
    if (IsGroupViewEnabled() && !fromHeader && point.x != -1 && point.y != -1) {
        CPoint client = point;
        ScreenToClient(&client);
        const int nGroupId = GroupAtPoint(client);
        if (nGroupId != -1) {
            ShowGroupMenu(pWnd, point, nGroupId);
            return;
        }
    }
    CGridListCtrlEx::OnContextMenu(pWnd, point);
}
