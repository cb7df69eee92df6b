// The grid with the list view's groups (common controls 6): rows gathered under headers made of
// one column's texts, groups ordered by a header click, collapsed and expanded (Windows 6.0 and
// later), checked or unchecked as a whole, and rows moved between groups by drag and drop. The
// header menu offers "Group by: " and "Disable grouping"; a group header and the empty area have
// menus of their own; the grid's empty-list text becomes the list view's empty markup.
//
// Group ids are chosen here: 1 to n in the order GroupByColumn makes the groups. In results -1
// means no group. GroupedColumn is the column the current groups were built from (-1 none) and
// GroupSortDirection how they were last ordered (1 ascending, 0 descending, -1 not since built);
// "forgetting the grouping" sets both to -1. Every LVM_REMOVEALLGROUPS that reaches the list, the
// grid's own included, forgets it (OnRemoveAllGroups).
//
// Group messages are answered only where the list view has group view; where it has none (Wine's
// list view), group view never becomes enabled, and everything here reports "not done".
#pragma once

#include "controls/grid/CGridListCtrlEx.h"

class CGridListCtrlGroups : public CGridListCtrlEx {
public:
    CGridListCtrlGroups();

    // ---- the grouping list's virtual operations, in their fixed order ----

    // LVM_INSERTGROUP with the header, the id, the state and the alignment; the control's result
    // (the group's index, -1 when refused).
    virtual int InsertGroup(int nIndex, int nGroupId, const CString& header, UINT nState = 0, UINT nAlign = 0);
    // The group's header as the control reports it; empty when it has none.
    virtual CString GetGroupHeaderText(int nGroupId);
    // The row's group id as the control reports it; -1 when it cannot be read.
    virtual int GetRowGroup(int nRow);
    virtual BOOL SetRowGroup(int nRow, int nGroupId);
    // The group whose header lies under a point (client coordinates), or -1.
    virtual int GroupAtPoint(CPoint point);
    // Puts the row into the group that matches its text in GroupedColumn, making one when none
    // does; the group id, or -1.
    virtual int RegroupRow(int nRow);
    virtual bool CollectGroupIds(CArray<int, int>& ids);
    // Groups the rows by the texts of a column; false when group view cannot be shown (an empty
    // list, or a list view without group view).
    virtual bool GroupByColumn(int nCol);
    // Deletes every row of the group, then the group.
    virtual bool DeleteGroupWithRows(int nGroupId);
    // Group view is on and Windows is 6.0 or later: collapsing, group rectangles and the newer
    // group fields are available.
    virtual bool CanUseGroupState();
    // With check boxes: checks or clears every row of the group.
    virtual void SetGroupRowsChecked(int nGroupId, bool bChecked);
    // What a header click on another column than the grouped one does while grouped: 0 regroups
    // by it, 2 (the default) sorts the rows, anything else sorts only on Windows 6.0 and later.
    virtual void SetGroupSortMode(int nMode);
    virtual bool GroupHasState(int nGroupId, UINT nState);
    // Sets the state bits (it cannot clear any).
    virtual bool SetGroupState(int nGroupId, UINT nState);
    virtual bool CollapseAllGroups();
    virtual bool ExpandAllGroups();
    virtual bool SetGroupFooter(int nGroupId, const CString& footer, UINT nAlign = 0);
    virtual bool SetGroupTask(int nGroupId, const CString& task);
    virtual bool SetGroupSubtitle(int nGroupId, const CString& subtitle);
    virtual bool SetGroupTitleImage(int nGroupId, int nImage, const CString& topDescription,
                                    const CString& bottomDescription);
    // Hook for group ids given by callback; none here.
    virtual bool QueryCellGroupId(int nRow, int nCol, int& nGroupId);
    // The context menu of a group header (screen point).
    virtual void ShowGroupMenu(CWnd* pWnd, CPoint point, int nGroupId);
    virtual BOOL OnGroupLinkClick(NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnGetEmptyMarkup(NMHDR* pNMHDR, LRESULT* pResult);
    virtual LRESULT OnRemoveAllGroups(WPARAM wParam, LPARAM lParam);
    // Rows removed all at once while group view is on: the groups go too (rows inserted later
    // carry no group and would not be shown under group view).
    virtual LRESULT OnDeleteAllItems(WPARAM wParam, LPARAM lParam);

    // ---- the grid's operations this list changes ----
    bool SortByColumn(int nCol, bool bAscending) override;
    bool DropWithinList(COleDataObject* pDataObject, DWORD dropEffect, CPoint point) override;
    // The target is a group id here, not a row: the selected rows move into that group.
    bool MoveSelectionTo(int nGroupId) override;
    void ShowGridMenu(CWnd* pWnd, CPoint point) override;
    void ShowHeaderMenu(CWnd* pWnd, CPoint point, int nCol) override;
    BOOL OnGetDisplayInfo(NMHDR* pNMHDR, LRESULT* pResult) override;
    BOOL OnHeaderEndDrag(UINT nID, NMHDR* pNMHDR, LRESULT* pResult) override;
    void OnContextMenu(CWnd* pWnd, CPoint point) override;
    void OnDestroy() override;
    void OnPaint() override;

    // ---- services (not virtual) ----
    int GetGroupedColumn() const { return GroupedColumn; }
    int GetGroupSortDirection() const { return GroupSortDirection; }

protected:
    void ForgetGrouping()
    {
        GroupedColumn = -1;
        GroupSortDirection = -1;
    }
    // "Disable grouping": the groups removed (which forgets the grouping) and group view off.
    void DisableGrouping();
    // Clears state bits of a group (SetGroupState can only set them).
    bool ClearGroupState(int nGroupId, UINT nState);

    int GroupedColumn = -1;
    int GroupSortDirection = -1;
    int GroupSortMode = 2;

    DECLARE_MESSAGE_MAP()
};
