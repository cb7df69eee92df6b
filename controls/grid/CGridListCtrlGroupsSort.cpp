// The grouping list's grouping by a column, regrouping one row, and ordering the groups (or the
// rows within them) by a header click.
#include "controls/grid/CGridListCtrlGroups.h"

#include "controls/grid/GridGroupOrder.h"

#include <algorithm>
#include <vector>

bool CGridListCtrlGroups::GroupByColumn(int nCol)
{
    CWaitCursor waitCursor;
    ForgetGrouping();
    SetHeaderSortArrow(-1, false);

    SetRedraw(FALSE);
    SendMessage(LVM_REMOVEALLGROUPS);
    const int nRows = GetItemCount();
    SendMessage(LVM_ENABLEGROUPVIEW, nRows > 0 ? TRUE : FALSE);
    if (!IsGroupViewEnabled()) {
        SetRedraw(TRUE);
        Invalidate(FALSE);
        return false;
    }

    std::vector<CString> texts;
    texts.reserve(static_cast<size_t>(nRows));
    for (int nRow = 0; nRow < nRows; ++nRow)
        texts.push_back(GetItemText(nRow, nCol));
    const std::vector<GroupOfRows> groups = GroupRowsByText(texts);

    const UINT nState = CanUseGroupState() ? LVGS_COLLAPSIBLE : 0;
    for (size_t i = 0; i < groups.size(); ++i) {
        const int nGroupId = static_cast<int>(i) + 1;
        // Under group view a row outside every group is not shown: a group the control refuses
        // ends the grouping, rather than hiding its rows.
        if (InsertGroup(static_cast<int>(i), nGroupId, groups[i].text, nState, 0) == -1) {
            DisableGrouping();
            SetRedraw(TRUE);
            Invalidate(FALSE);
            return false;
        }
        for (int nRow : groups[i].rows)
            SetRowGroup(nRow, nGroupId);
    }

    SetRedraw(TRUE);
    Invalidate(FALSE);
    GroupedColumn = nCol;
    return true;
}

int CGridListCtrlGroups::RegroupRow(int nRow)
{
    if (!IsGroupViewEnabled() || nRow < 0 || nRow >= GetItemCount())
        return -1;
    if (GroupedColumn == -1) {
        if (GetItemCount() <= 1)
            SendMessage(LVM_ENABLEGROUPVIEW, FALSE);
        return -1;
    }

    const CString text = GetItemText(nRow, GroupedColumn);
    CArray<int, int> ids;
    if (!CollectGroupIds(ids)) {
        if (GetItemCount() <= 1)
            SendMessage(LVM_ENABLEGROUPVIEW, FALSE);
        return -1;
    }
    if (ids.GetSize() == 0 && !CanUseGroupState()) {
        // Removing the groups forgets the grouping; the column is still the one grouped by.
        const int nGroupedColumn = GroupedColumn;
        SendMessage(LVM_REMOVEALLGROUPS);
        SendMessage(LVM_ENABLEGROUPVIEW, TRUE);
        GroupedColumn = nGroupedColumn;
    }
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        if (GetGroupHeaderText(ids[i]).Compare(text) == 0) {
            SetRowGroup(nRow, ids[i]);
            return ids[i];
        }
    }
    const int nGroupId = static_cast<int>(ids.GetSize()) + 1;
    if (InsertGroup(static_cast<int>(ids.GetSize()), nGroupId, text, 0, 0) == -1)
        return -1;
    SetRowGroup(nRow, nGroupId);
    return nGroupId;
}

bool CGridListCtrlGroups::SortByColumn(int nCol, bool bAscending)
{
    CWaitCursor waitCursor;
    const bool groupView = IsGroupViewEnabled() != FALSE;

    // Ordering the groups themselves, grouped by the column first when they are not.
    if (groupView && (GroupedColumn == -1 || GroupedColumn == nCol || GroupSortMode == 0)) {
        if (nCol != GroupedColumn) {
            SetRedraw(FALSE);
            GroupByColumn(nCol);
            SetRedraw(TRUE);
            Invalidate(FALSE);
        }
        CArray<int, int> ids;
        if (!CollectGroupIds(ids))
            return false;
        GroupSortContext context;
        context.hList = m_hWnd;
        context.column = nCol;
        context.ascending = bAscending;
        context.trait = GetCellTrait(-1, nCol);
        if (context.trait == nullptr)
            return false;
        for (INT_PTR i = 0; i < ids.GetSize(); ++i)
            context.headers[ids[i]] = GetGroupHeaderText(ids[i]);
        if (!SortGroups(&CompareGroupHeaders, &context))
            return false;
        GroupSortDirection = bAscending ? 1 : 0;
        return true;
    }

    // Windows 6.0 and later keep each row in its group while the rows are sorted.
    if (!groupView || CanUseGroupState())
        return CGridListCtrlEx::SortByColumn(nCol, bAscending);

    // Before Windows 6.0 the sort loses the groups: they are rebuilt in their previous order.
    if (GroupSortMode != 2)
        return false;
    if (GetItemCount() == 0)
        return true;
    SetRedraw(FALSE);
    if (!CGridListCtrlEx::SortByColumn(nCol, bAscending)) {
        SetRedraw(TRUE);
        Invalidate();
        return false;
    }

    const int nScrollPos = GetScrollPos(SB_VERT);
    const int nRows = GetItemCount();
    std::vector<int> rowGroups(static_cast<size_t>(nRows), -1);
    std::vector<GroupOrderEntry> entries;
    CGridColumnTrait* pGroupedTrait = GetCellTrait(-1, GroupedColumn);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        const int nGroupId = GetRowGroup(nRow);
        rowGroups[static_cast<size_t>(nRow)] = nGroupId;
        // Ids below 0 (no group, I_GROUPIDNONE) are no group to rebuild.
        if (nGroupId < 0)
            continue;
        const bool known = std::any_of(entries.begin(), entries.end(),
                                       [nGroupId](const GroupOrderEntry& entry) { return entry.id == nGroupId; });
        if (!known)
            entries.push_back({nGroupId, GetGroupHeaderText(nGroupId), GroupSortDirection, pGroupedTrait});
    }
    if (entries.empty()) {
        SetRedraw(TRUE);
        Invalidate();
        return true;
    }

    std::sort(entries.begin(), entries.end(),
              [](const GroupOrderEntry& a, const GroupOrderEntry& b) { return CompareGroupEntries(a, b) < 0; });
    const int nGroupedColumn = GroupedColumn;
    const int nGroupSortDirection = GroupSortDirection;
    SendMessage(LVM_REMOVEALLGROUPS);
    SendMessage(LVM_ENABLEGROUPVIEW, FALSE);
    SendMessage(LVM_ENABLEGROUPVIEW, TRUE);
    GroupedColumn = nGroupedColumn;
    GroupSortDirection = nGroupSortDirection;
    for (size_t k = 0; k < entries.size(); ++k)
        InsertGroup(static_cast<int>(k), entries[k].id, entries[k].header, 0, 0);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        if (rowGroups[static_cast<size_t>(nRow)] >= 0)
            SetRowGroup(nRow, rowGroups[static_cast<size_t>(nRow)]);
    }
    Scroll(CSize(0, nScrollPos));
    SetRedraw(TRUE);
    Invalidate(FALSE);
    return true;
}
