// The grouping list in a real list view. What needs the list view's own groups runs only where
// the list view has group view (Windows); under Wine, whose list view has none, those tests are
// skipped, and the tests here check what the list does itself: the messages it sends, its record
// of the grouping, its menus, and its answers when the list view refuses group view.
#include "tests/grid_sort/SortTestSupport.h"

#include "controls/grid/CGridColumnTraitText.h"
#include "controls/grid/CGridListCtrlGroups.h"
#include "controls/grid/COleDataSourceWnd.h"

using namespace sorttest;

namespace {

// The grouping list, the same way open.
class GroupsGrid : public CGridListCtrlGroups {
public:
    std::vector<std::pair<int, bool>> arrows;
    void SetHeaderSortArrow(int nCol, bool bAscending) override
    {
        arrows.emplace_back(nCol, bAscending);
        CGridListCtrlGroups::SetHeaderSortArrow(nCol, bAscending);
    }

    int groupedColumn() const { return GroupedColumn; }
    int groupSortDirection() const { return GroupSortDirection; }
    int groupSortMode() const { return GroupSortMode; }
    void setGrouping(int nCol, int nDirection)
    {
        GroupedColumn = nCol;
        GroupSortDirection = nDirection;
    }
    int sortColumn() const { return SortColumn; }
    COleDropTargetWnd<CGridListCtrlEx>* dropTarget() const { return DropTarget; }
};

const char kNoGroupView[] = "this list view has no group view (Wine's list view lacks it)";

using Texts = std::vector<std::wstring>;
using Traffic = std::vector<std::pair<UINT, WPARAM>>;

class GroupingList : public ListFixture<GroupsGrid> {
protected:
    // Column 0: "b", "a", "b"; column 1: "2", "10", "9".
    void FillBab()
    {
        grid.InsertColumn(0, L"Letter", LVCFMT_LEFT, 80);
        grid.InsertColumn(1, L"Number", LVCFMT_LEFT, 80);
        const wchar_t* letters[] = {L"b", L"a", L"b"};
        const wchar_t* numbers[] = {L"2", L"10", L"9"};
        for (int r = 0; r < 3; ++r) {
            grid.InsertItem(r, letters[r]);
            grid.SetItemText(r, 1, numbers[r]);
        }
    }

    // The group messages and redraw switches that reached the list view, with their wParam.
    Traffic GroupTraffic() const
    {
        Traffic traffic;
        for (const ListMessageLog::Message& m : log.GroupTraffic())
            traffic.emplace_back(m.message, m.wParam);
        return traffic;
    }

    void Notify(NMHDR& hdr, UINT code)
    {
        hdr.hwndFrom = grid.m_hWnd;
        hdr.idFrom = kListId;
        hdr.code = code;
    }

    void ClickHeader(int nCol)
    {
        CHeaderCtrl* pHeader = grid.GetHeaderCtrl();
        RECT item = {};
        ASSERT_TRUE(pHeader->GetItemRect(nCol, &item));
        uitest::ClickAt(pHeader->m_hWnd, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
        uitest::PumpMessages();
    }

    // The headers of the groups in the control's order (group view only).
    Texts GroupHeaders()
    {
        Texts headers;
        CArray<int, int> ids;
        if (grid.CollectGroupIds(ids))
            for (INT_PTR i = 0; i < ids.GetSize(); ++i)
                headers.emplace_back(grid.GetGroupHeaderText(ids[i]).GetString());
        return headers;
    }

    CPoint ScreenPoint(CPoint client)
    {
        grid.ClientToScreen(&client);
        return client;
    }
};

}  // namespace

// ---- grouping by a column ------------------------------------------------------------------------

TEST_F(GroupingList, GroupingAnEmptyListFailsAndLeavesGroupViewOff)
{
    grid.InsertColumn(0, L"Letter", LVCFMT_LEFT, 80);
    log.Clear();
    EXPECT_FALSE(grid.GroupByColumn(0));
    EXPECT_EQ((Traffic{{WM_SETREDRAW, FALSE},
                       {LVM_REMOVEALLGROUPS, 0},
                       {LVM_ENABLEGROUPVIEW, FALSE},
                       {LVM_ISGROUPVIEWENABLED, 0},
                       {WM_SETREDRAW, TRUE}}),
              GroupTraffic());
    EXPECT_FALSE(grid.IsGroupViewEnabled());
    EXPECT_EQ(-1, grid.groupedColumn());
    EXPECT_EQ(-1, grid.groupSortDirection());
    EXPECT_EQ((std::vector<std::pair<int, bool>>{{-1, false}}), grid.arrows) << "the sort arrow is cleared";
}

TEST_F(GroupingList, AListViewWithoutGroupViewLeavesTheListUngrouped)
{
    if (ListViewHasGroups())
        GTEST_SKIP() << "this list view has group view";
    FillBab();
    grid.setGrouping(1, 0);
    log.Clear();
    EXPECT_FALSE(grid.GroupByColumn(0));
    EXPECT_EQ(-1, grid.groupedColumn()) << "the earlier grouping is forgotten";
    EXPECT_EQ(-1, grid.groupSortDirection());
    EXPECT_EQ((Traffic{{WM_SETREDRAW, FALSE},
                       {LVM_REMOVEALLGROUPS, 0},
                       {LVM_ENABLEGROUPVIEW, TRUE},
                       {LVM_ISGROUPVIEWENABLED, 0},
                       {WM_SETREDRAW, TRUE}}),
              GroupTraffic());
    EXPECT_EQ(0u, log.Count(LVM_INSERTGROUP));

    // Nothing that depends on groups reports success.
    EXPECT_EQ(-1, grid.RegroupRow(0));
    CArray<int, int> ids;
    EXPECT_FALSE(grid.CollectGroupIds(ids));
    EXPECT_FALSE(grid.CollapseAllGroups());
    EXPECT_FALSE(grid.ExpandAllGroups());
    EXPECT_FALSE(grid.SetGroupState(1, LVGS_COLLAPSED));
    EXPECT_FALSE(grid.SetGroupFooter(1, L"footer"));
    EXPECT_EQ(-1, grid.GroupAtPoint(CPoint(10, 10)));
}

TEST_F(GroupingList, GroupsByTheTextsOfAColumnInTheOrderTheyFirstOccur)
{
    if (!ListViewHasGroups())
        GTEST_SKIP() << kNoGroupView;
    FillBab();
    grid.InsertItem(3, L"B");
    log.Clear();
    ASSERT_TRUE(grid.GroupByColumn(0));
    EXPECT_EQ(0, grid.groupedColumn());
    EXPECT_EQ(-1, grid.groupSortDirection());
    EXPECT_EQ((Texts{L"b", L"a", L"B"}), GroupHeaders()) << "case counts";
    EXPECT_EQ(1, grid.GetRowGroup(0));
    EXPECT_EQ(2, grid.GetRowGroup(1));
    EXPECT_EQ(1, grid.GetRowGroup(2));
    EXPECT_EQ(3, grid.GetRowGroup(3));
    const Traffic traffic = GroupTraffic();
    ASSERT_FALSE(traffic.empty());
    EXPECT_EQ((std::pair<UINT, WPARAM>{WM_SETREDRAW, FALSE}), traffic.front());
    EXPECT_EQ((std::pair<UINT, WPARAM>{WM_SETREDRAW, TRUE}), traffic.back());
}

TEST_F(GroupingList, HeaderClicksOrderTheGroupsOfTheGroupedColumn)
{
    if (!ListViewHasGroups())
        GTEST_SKIP() << kNoGroupView;
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    ClickHeader(0);
    EXPECT_EQ((Texts{L"a", L"b"}), GroupHeaders());
    EXPECT_EQ(1, grid.groupSortDirection());
    EXPECT_EQ(0, grid.sortColumn());
    ClickHeader(0);
    EXPECT_EQ((Texts{L"b", L"a"}), GroupHeaders());
    EXPECT_EQ(0, grid.groupSortDirection());

    // A numeric column's groups are ordered as numbers.
    static_cast<CGridColumnTraitText*>(grid.GetColumnTrait(1))->SortAsNumber = true;
    ASSERT_TRUE(grid.GroupByColumn(1));
    ASSERT_TRUE(grid.SortByColumn(1, true));
    EXPECT_EQ((Texts{L"2", L"9", L"10"}), GroupHeaders());
}

TEST_F(GroupingList, AClickOnAnotherColumnSortsTheRowsOrRegroupsByTheMode)
{
    if (!ListViewHasGroups())
        GTEST_SKIP() << kNoGroupView;
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    log.Clear();
    ASSERT_TRUE(grid.SortByColumn(1, true));
    EXPECT_EQ(0u, log.Count(LVM_REMOVEALLGROUPS));
    EXPECT_EQ(0u, log.Count(LVM_INSERTGROUP));
    EXPECT_EQ(0, grid.groupedColumn());
    EXPECT_EQ(L"10", std::wstring(grid.GetItemText(0, 1).GetString())) << "the rows are sorted";

    grid.SetGroupSortMode(0);
    ASSERT_TRUE(grid.SortByColumn(1, true));
    EXPECT_EQ(1, grid.groupedColumn());
    EXPECT_EQ(1, grid.groupSortDirection());
}

TEST_F(GroupingList, CollapsingAndExpandingChangeOnlyTheCollapsedState)
{
    if (!ListViewHasGroups())
        GTEST_SKIP() << kNoGroupView;
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    ASSERT_TRUE(grid.CollapseAllGroups());
    EXPECT_TRUE(grid.GroupHasState(1, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(2, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(1, LVGS_COLLAPSIBLE));
    ASSERT_TRUE(grid.ExpandAllGroups());
    EXPECT_FALSE(grid.GroupHasState(1, LVGS_COLLAPSED));
    EXPECT_FALSE(grid.GroupHasState(2, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(2, LVGS_COLLAPSIBLE));
}

TEST_F(GroupingList, DroppedRowsMoveIntoTheGroupUnderThePoint)
{
    if (!ListViewHasGroups())
        GTEST_SKIP() << kNoGroupView;
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    SelectRows(grid, {0, 2});
    COleDataSourceWnd<CGridListCtrlEx> drag(grid.dropTarget());
    EXPECT_TRUE(grid.OnDrop(nullptr, DROPEFFECT_MOVE, CellCenter(grid, 1, 0)));
    EXPECT_EQ(2, grid.GetRowGroup(0));
    EXPECT_EQ(2, grid.GetRowGroup(2));
    EXPECT_EQ(LVIS_FOCUSED, grid.GetItemState(1, LVIS_FOCUSED));

    CRect client;
    grid.GetClientRect(&client);
    EXPECT_FALSE(grid.OnDrop(nullptr, DROPEFFECT_MOVE, CPoint(10, client.bottom - 2))) << "empty space";
}

TEST_F(GroupingList, RowsRemovedAllAtOnceTakeTheGroupsWithThem)
{
    FillBab();
    if (ListViewHasGroups()) {
        ASSERT_TRUE(grid.GroupByColumn(0));
    }
    log.Clear();
    ASSERT_TRUE(grid.DeleteAllItems());
    EXPECT_FALSE(grid.IsGroupViewEnabled());
    EXPECT_EQ(-1, grid.groupedColumn());
    if (!ListViewHasGroups()) {
        EXPECT_EQ(0u, log.Count(LVM_REMOVEALLGROUPS)) << "no group view, nothing to remove";
        return;
    }
    EXPECT_EQ(1u, log.Count(LVM_REMOVEALLGROUPS));
    grid.InsertItem(0, L"new");
    EXPECT_EQ(0, grid.GetTopIndex()) << "a row inserted afterwards is shown";
}

// ---- the grouping as the list records it ------------------------------------------------------

TEST_F(GroupingList, AColumnDraggedToANewPlaceForgetsTheGroupingButKeepsTheGroups)
{
    FillBab();
    grid.setGrouping(0, 1);
    log.Clear();
    HDITEMW item = {};
    item.mask = HDI_ORDER;
    item.iOrder = 1;
    NMHEADERW drag = {};
    drag.hdr.hwndFrom = grid.GetHeaderCtrl()->m_hWnd;
    drag.hdr.idFrom = 0;
    drag.hdr.code = HDN_ENDDRAG;
    drag.iItem = 0;
    drag.pitem = &item;
    grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(-1, grid.groupedColumn());
    EXPECT_EQ(-1, grid.groupSortDirection());
    EXPECT_EQ(0u, log.Count(LVM_REMOVEALLGROUPS));

    // A drag record without an item is let through.
    grid.setGrouping(0, 1);
    drag.pitem = nullptr;
    grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(0, grid.groupedColumn());
    // Other header changes keep the grouping.
    item.mask = HDI_WIDTH;
    drag.pitem = &item;
    grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(0, grid.groupedColumn());
}

TEST_F(GroupingList, RemovingTheGroupsFromOutsideOrDestroyingTheWindowForgetsTheGrouping)
{
    FillBab();
    grid.setGrouping(1, 0);
    ::SendMessageW(grid.m_hWnd, LVM_REMOVEALLGROUPS, 0, 0);
    EXPECT_EQ(-1, grid.groupedColumn());
    EXPECT_EQ(-1, grid.groupSortDirection());
    EXPECT_EQ(1u, log.Count(LVM_REMOVEALLGROUPS)) << "and the list view still gets it";

    grid.setGrouping(1, 0);
    host.DestroyWindow();
    EXPECT_EQ(-1, grid.groupedColumn());
    EXPECT_EQ(-1, grid.groupSortDirection());
}

TEST_F(GroupingList, WithoutGroupViewADropMovesTheRowsAsThePlainGridDoes)
{
    grid.InsertColumn(0, L"A", LVCFMT_LEFT, 80);
    for (int r = 0; r < 6; ++r) {
        CString text;
        text.Format(L"r%d", r);
        grid.InsertItem(r, text);
    }
    SelectRows(grid, {0, 1});
    grid.SetItemState(-1, 0, LVIS_FOCUSED);
    COleDataSourceWnd<CGridListCtrlEx> drag(grid.dropTarget());
    log.Clear();
    EXPECT_TRUE(grid.OnDrop(nullptr, DROPEFFECT_MOVE, CellCenter(grid, 4, 0)));
    EXPECT_EQ((Texts{L"r2", L"r3", L"r4", L"r0", L"r1", L"r5"}), Column0(grid));
    EXPECT_EQ(0u, log.Count(LVM_ENSUREVISIBLE));
    EXPECT_EQ(-1, grid.GetNextItem(-1, LVNI_FOCUSED)) << "no row is given the focus";

    // Nothing to move: the answer is the move's.
    SelectRows(grid, {});
    EXPECT_FALSE(grid.OnDrop(nullptr, DROPEFFECT_MOVE, CellCenter(grid, 4, 0)));
}

TEST_F(GroupingList, MovingRowsIntoAGroupNeedsAGroupAndASelection)
{
    FillBab();
    SelectRows(grid, {});
    EXPECT_FALSE(grid.MoveSelectionTo(1));
    SelectRows(grid, {0});
    EXPECT_FALSE(grid.MoveSelectionTo(-1));
}

// ---- notifications ------------------------------------------------------------------------------

TEST_F(GroupingList, GivesItsEmptyListTextAsTheEmptyMarkup)
{
    NMLVEMPTYMARKUP markup = {};
    Notify(markup.hdr, LVN_GETEMPTYMARKUP);
    const LRESULT result = host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&markup));
    EXPECT_EQ(TRUE, result);
    EXPECT_EQ(static_cast<DWORD>(EMF_CENTERED), markup.dwFlags);
    EXPECT_EQ(L"There are no Ports to show in this view.", std::wstring(markup.szMarkup));
    EXPECT_EQ(0, host.Count(LVN_GETEMPTYMARKUP)) << "handled by the list itself";
}

TEST_F(GroupingList, LeavesGroupLinksToItsParent)
{
    NMLVLINK link = {};
    Notify(link.hdr, LVN_LINKCLICK);
    link.iSubItem = 1;
    host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&link));
    EXPECT_EQ(1, host.Count(LVN_LINKCLICK));
}

TEST_F(GroupingList, DisplayInformationOutsideTheListIsLeftAloneAndGroupIdsAreNone)
{
    FillBab();
    NMLVDISPINFOW info = {};
    Notify(info.hdr, LVN_GETDISPINFOW);
    info.item.mask = LVIF_GROUPID;
    info.item.iItem = 3;  // the row count
    info.item.iGroupId = 77;
    host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(77, info.item.iGroupId);
    info.item.iItem = 0;
    info.item.iSubItem = 2;  // the column count
    host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(77, info.item.iGroupId);

    info.item.iSubItem = 1;
    host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(I_GROUPIDNONE, info.item.iGroupId);
    EXPECT_EQ(3, host.Count(LVN_GETDISPINFOW)) << "the parent sees every request";
}

// ---- menus --------------------------------------------------------------------------------------

TEST_F(GroupingList, WithCommonControls6TheHeaderMenuOffersGroupingByTheColumn)
{
    PlatformOverride platform(0x0601, true);
    FillBab();
    MenuSpy spy;
    spy.Choose(3);
    log.Clear();
    grid.ShowHeaderMenu(&grid, ScreenPoint(CPoint(20, 5)), 1);
    ASSERT_EQ(1u, spy.menus.size());
    EXPECT_EQ("3 Group by: Number; 0 -; 6 Letter [checked]; 7 Number [checked]; ", Describe(spy.menus[0]));
    // "Group by: " groups by the column: the list was asked for group view.
    EXPECT_EQ(1u, log.Count(LVM_ENABLEGROUPVIEW));
    if (ListViewHasGroups()) {
        EXPECT_EQ(1, grid.groupedColumn());
        // With group view on, the menu also offers to end it.
        spy.Choose(4);
        grid.ShowHeaderMenu(&grid, ScreenPoint(CPoint(20, 5)), 1);
        EXPECT_EQ(4u, spy.menus[1][1].id);
        EXPECT_FALSE(grid.IsGroupViewEnabled());
        EXPECT_EQ(-1, grid.groupedColumn());
    }
}

TEST_F(GroupingList, AGroupMenuOffersCheckingOnlyWithCheckBoxesAndStatesOnlyWithGroupState)
{
    PlatformOverride platform(0x0501, true);
    FillBab();
    MenuSpy spy;
    grid.ShowGroupMenu(&grid, ScreenPoint(CPoint(20, 20)), 1);
    EXPECT_TRUE(spy.menus.empty()) << "no items, no menu";

    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    if (ListViewHasGroups()) {
        ASSERT_TRUE(grid.GroupByColumn(0));
    }
    spy.Choose(3);
    grid.ShowGroupMenu(&grid, ScreenPoint(CPoint(20, 20)), 1);
    ASSERT_EQ(1u, spy.menus.size());
    ASSERT_EQ(2u, spy.menus[0].size());
    const std::wstring header = grid.GetGroupHeaderText(1).GetString();
    EXPECT_EQ(L"Check group: " + header, spy.menus[0][0].text);
    EXPECT_EQ(L"Uncheck group: " + header, spy.menus[0][1].text);
    EXPECT_EQ(4u, spy.menus[0][1].id);
    // Only the rows the list reports in group 1 are checked.
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(grid.GetRowGroup(r) == 1, grid.GetCheck(r) != FALSE) << "row " << r;
    if (ListViewHasGroups()) {
        EXPECT_EQ(L"b", header);
        EXPECT_TRUE(grid.GetCheck(0));
        EXPECT_FALSE(grid.GetCheck(1));
    }
}

TEST_F(GroupingList, TheEmptyAreaHasAMenuOnlyWithGroupState)
{
    PlatformOverride platform(0x0601, true);
    FillBab();
    MenuSpy spy;
    grid.ShowGridMenu(&grid, ScreenPoint(CPoint(20, 100)));
    if (!ListViewHasGroups()) {
        EXPECT_TRUE(spy.menus.empty());
        return;
    }
    ASSERT_TRUE(grid.GroupByColumn(0));
    spy.Choose(3);
    grid.ShowGridMenu(&grid, ScreenPoint(CPoint(20, 100)));
    ASSERT_EQ(1u, spy.menus.size());
    EXPECT_EQ("1 Expand all groups; 2 Collapse all groups; 3 Disable grouping; ", Describe(spy.menus[0]));
    EXPECT_FALSE(grid.IsGroupViewEnabled());
}
