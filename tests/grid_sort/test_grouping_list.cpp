// The grouping list in a real list view. Where the list view has no group view (Wine's), the tests
// put a list view with groups under the grid (uitest::GroupListView), which keeps the groups it is
// told of and lays them out, so that the list's own logic runs; the mouse is the real one (SendInput).
#include "tests/grid_sort/SortTestSupport.h"

#include "controls/grid/CGridColumnTraitText.h"
#include "controls/grid/CGridListCtrlGroups.h"
#include "controls/grid/COleDataSourceWnd.h"
#include "tests/support/Cursor.h"
#include "tests/support/GroupListView.h"

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

using Texts = std::vector<std::wstring>;
using Traffic = std::vector<std::pair<UINT, WPARAM>>;

class GroupingList : public ListFixture<GroupsGrid> {
protected:
    bool PutUnderTheGrid(HWND hList) override { return groups.InstallWhereMissing(hList); }

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

    CPoint ScreenPoint(CPoint client)
    {
        grid.ClientToScreen(&client);
        return client;
    }

    // The middle of a header item, in the list's client coordinates.
    CPoint HeaderItem(int nCol)
    {
        CHeaderCtrl* pHeader = grid.GetHeaderCtrl();
        RECT item = {};
        EXPECT_TRUE(pHeader->GetItemRect(nCol, &item));
        CPoint at((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        ::MapWindowPoints(pHeader->m_hWnd, grid.m_hWnd, &at, 1);
        return at;
    }

    // Puts the real mouse on a point of the list, a few pixels to one side or the other of the
    // last, so that two clicks in a row are not taken as a double click.
    bool MouseOn(CPoint client)
    {
        client.x += (++clicks % 2) * 8 - 4;
        mouse = ScreenPoint(client);
        return uitest::PutCursorAt(grid.m_hWnd, mouse);
    }

    // A left click of the real mouse on a header item; true once the grid set the sort arrow.
    bool ClickHeader(int nCol)
    {
        const size_t arrows = grid.arrows.size();
        if (!MouseOn(HeaderItem(nCol)))
            return false;
        ClickMouse(mouse, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        return PumpUntil([&] { return grid.arrows.size() > arrows; });
    }

    // A right click of the real mouse at a point of the list (the header's points are the
    // list's too); true once a menu was shown, returned the spy's choice, and the state the
    // choice brings about (done) holds, within the generous bound. A menu that a stray pointer
    // event closed without a choice is opened once more, and only the menu that returned the
    // choice is kept in the spy's record.
    bool RightClick(CPoint client, MenuSpy& spy, const std::function<bool()>& done)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const size_t menus = spy.menus.size();
            const size_t returned = spy.returned.size();
            if (!MouseOn(client))
                return false;
            ClickMouse(mouse, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            if (!PumpUntil([&] { return spy.returned.size() > returned; }))
                return false;
            if (spy.menus.size() > menus && spy.ChoseAsTold()) {
                if (PumpUntil(done))
                    return true;
                ADD_FAILURE() << "the choice had no effect; the menu was " << Describe(spy.menus.back());
                return false;
            }
            // Only a menu closed without any choice changed nothing and may be opened again.
            if (spy.returned.back() != 0)
                return false;
            spy.menus.resize(menus);
            spy.returned.resize(returned);
        }
        return false;
    }

    // The headers of the groups in the control's order.
    Texts GroupHeaders()
    {
        Texts headers;
        for (int i = 0; i < grid.GetGroupCount(); ++i) {
            LVGROUP group = {};
            group.cbSize = sizeof group;
            group.mask = LVGF_GROUPID;
            if (grid.GetGroupInfoByIndex(i, &group))
                headers.emplace_back(grid.GetGroupHeaderText(group.iGroupId).GetString());
        }
        return headers;
    }

    // Every row as its text in column 0 and its group ("-" for none): "b1 a2 b1".
    std::string Rows()
    {
        std::string rows;
        for (int r = 0; r < grid.GetItemCount(); ++r) {
            const int nGroupId = grid.GetRowGroup(r);
            rows += (r > 0 ? " " : "") + uitest::Narrow(grid.GetItemText(r, 0).GetString()) +
                    (nGroupId < 0 ? std::string("-") : std::to_string(nGroupId));
        }
        return rows;
    }

    // A point in the middle of a group's header, as the list view reports the header's place.
    CPoint HeaderOf(int nGroupId)
    {
        RECT rect = {};
        EXPECT_TRUE(grid.GetGroupRect(nGroupId, &rect, LVGGR_HEADER)) << "group " << nGroupId;
        return CPoint(rect.left + 30, (rect.top + rect.bottom) / 2);
    }

    // A point of the empty area below the last group.
    CPoint BelowTheGroups()
    {
        CRect last(0, 0, 0, 0);
        grid.GetItemRect(grid.GetItemCount() - 1, &last, LVIR_BOUNDS);
        for (int i = 0; i < grid.GetGroupCount(); ++i) {
            LVGROUP record = {};
            record.cbSize = sizeof record;
            record.mask = LVGF_GROUPID;
            RECT rect = {};
            if (grid.GetGroupInfoByIndex(i, &record) && grid.GetGroupRect(record.iGroupId, &rect, LVGGR_GROUP))
                last.bottom = std::max(last.bottom, rect.bottom);
        }
        return CPoint(30, last.bottom + 20);
    }

    uitest::GroupListView groups;
    int clicks = 0;
    CPoint mouse;  // where MouseOn last put the cursor, in screen coordinates
};

// The same list over a list view without group view (Wine's own).
class GroupingListWithoutGroupView : public GroupingList {
protected:
    bool PutUnderTheGrid(HWND) override { return true; }
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

TEST_F(GroupingListWithoutGroupView, AListViewWithoutGroupViewLeavesTheListUngrouped)
{
    if (uitest::ListViewHasGroups())
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
    FillBab();
    grid.InsertItem(3, L"B");
    log.Clear();
    ASSERT_TRUE(grid.GroupByColumn(0));
    const Traffic traffic = GroupTraffic();
    EXPECT_EQ(0, grid.groupedColumn());
    EXPECT_EQ(-1, grid.groupSortDirection());
    EXPECT_EQ((Texts{L"b", L"a", L"B"}), GroupHeaders()) << "case counts";
    EXPECT_EQ("b1 a2 b1 B3", Rows());
    ASSERT_FALSE(traffic.empty());
    EXPECT_EQ((std::pair<UINT, WPARAM>{WM_SETREDRAW, FALSE}), traffic.front());
    EXPECT_EQ((std::pair<UINT, WPARAM>{WM_SETREDRAW, TRUE}), traffic.back());
    EXPECT_TRUE(grid.GroupHasState(3, LVGS_COLLAPSIBLE)) << "Windows 6.0 and later collapse groups";

    // A group the list view refuses ends the grouping: no row is left outside every group (only
    // the stand-in can be made to refuse one).
    if (!groups.Installed())
        return;
    groups.RefuseGroupInserts(1);
    EXPECT_FALSE(grid.GroupByColumn(1));
    EXPECT_FALSE(grid.IsGroupViewEnabled());
    EXPECT_EQ(-1, grid.groupedColumn());
}

TEST_F(GroupingList, HeaderClicksOrderTheGroupsOfTheGroupedColumn)
{
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    ASSERT_TRUE(ClickHeader(0));
    EXPECT_EQ((Texts{L"a", L"b"}), GroupHeaders());
    EXPECT_EQ(1, grid.groupSortDirection());
    EXPECT_EQ(0, grid.sortColumn());
    ASSERT_TRUE(ClickHeader(0));
    EXPECT_EQ((Texts{L"b", L"a"}), GroupHeaders());
    EXPECT_EQ(0, grid.groupSortDirection());
    EXPECT_EQ("b1 a2 b1", Rows()) << "the rows stay where they are";

    // A numeric column's groups are ordered as numbers.
    static_cast<CGridColumnTraitText*>(grid.GetColumnTrait(1))->SortAsNumber = true;
    ASSERT_TRUE(grid.GroupByColumn(1));
    ASSERT_TRUE(grid.SortByColumn(1, true));
    EXPECT_EQ((Texts{L"2", L"9", L"10"}), GroupHeaders());
}

TEST_F(GroupingList, AClickOnAnotherColumnSortsTheRowsOrRegroupsByTheMode)
{
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    log.Clear();
    ASSERT_TRUE(ClickHeader(1));
    EXPECT_EQ(0u, log.Count(LVM_REMOVEALLGROUPS));
    EXPECT_EQ(0u, log.Count(LVM_INSERTGROUP));
    EXPECT_EQ(0, grid.groupedColumn());
    EXPECT_EQ("a2 b1 b1", Rows()) << "the rows are sorted (10, 2, 9) and keep their groups";

    grid.SetGroupSortMode(0);
    ASSERT_TRUE(grid.SortByColumn(1, true));
    EXPECT_EQ(1, grid.groupedColumn());
    EXPECT_EQ(1, grid.groupSortDirection());
    EXPECT_EQ((Texts{L"10", L"2", L"9"}), GroupHeaders());
}

TEST_F(GroupingList, BeforeWindows6TheGroupsAreRebuiltAfterTheRowsAreSorted)
{
    PlatformOverride platform(0x0501, true);
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    EXPECT_FALSE(grid.GroupHasState(1, LVGS_COLLAPSIBLE));
    EXPECT_FALSE(grid.CollapseAllGroups());
    grid.InsertItem(3, L"c");  // a row outside every group
    grid.SetItemText(3, 1, L"1");
    ASSERT_EQ("b1 a2 b1 c-", Rows());

    // Not yet ordered: the groups come back in their previous order.
    ASSERT_TRUE(ClickHeader(1));
    EXPECT_EQ("c- a2 b1 b1", Rows());
    EXPECT_EQ((Texts{L"b", L"a"}), GroupHeaders());
    EXPECT_EQ(0, grid.groupedColumn());
    EXPECT_EQ(-1, grid.groupSortDirection());

    // Ordered by a click on the grouped column: they come back in that order.
    ASSERT_TRUE(ClickHeader(0));
    EXPECT_EQ((Texts{L"a", L"b"}), GroupHeaders());
    ASSERT_TRUE(ClickHeader(1));
    EXPECT_EQ((Texts{L"a", L"b"}), GroupHeaders());
    ASSERT_TRUE(ClickHeader(1));  // descending
    EXPECT_EQ("b1 b1 a2 c-", Rows());
    EXPECT_EQ((Texts{L"a", L"b"}), GroupHeaders());
    EXPECT_EQ(1, grid.groupSortDirection());

    // Any other mode does not sort there.
    grid.SetGroupSortMode(1);
    EXPECT_FALSE(grid.SortByColumn(1, true));
    EXPECT_EQ("b1 b1 a2 c-", Rows());
}

TEST_F(GroupingList, CollapsingAndExpandingChangeOnlyTheCollapsedState)
{
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    ASSERT_TRUE(grid.SetGroupState(2, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(2, LVGS_COLLAPSED | LVGS_COLLAPSIBLE));
    EXPECT_FALSE(grid.GroupHasState(1, LVGS_COLLAPSED));
    ASSERT_TRUE(grid.CollapseAllGroups());
    EXPECT_TRUE(grid.GroupHasState(1, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(2, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(1, LVGS_COLLAPSIBLE));
    ASSERT_TRUE(grid.ExpandAllGroups());
    EXPECT_FALSE(grid.GroupHasState(1, LVGS_COLLAPSED));
    EXPECT_FALSE(grid.GroupHasState(2, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(2, LVGS_COLLAPSIBLE));
}

TEST_F(GroupingList, TheNewerGroupFieldsAreSetOnlyFromWindows6)
{
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    EXPECT_TRUE(grid.SetGroupFooter(1, L"foot", LVGA_FOOTER_RIGHT));
    EXPECT_TRUE(grid.SetGroupTask(1, L"task"));
    EXPECT_TRUE(grid.SetGroupSubtitle(1, L"sub"));
    EXPECT_TRUE(grid.SetGroupTitleImage(1, 3, L"top", L""));
    wchar_t texts[5][16] = {};
    LVGROUP group = {};
    group.cbSize = sizeof group;
    group.mask = LVGF_FOOTER | LVGF_ALIGN | LVGF_TASK | LVGF_SUBTITLE | LVGF_TITLEIMAGE | LVGF_DESCRIPTIONTOP |
                 LVGF_DESCRIPTIONBOTTOM;
    group.pszFooter = texts[0];
    group.pszTask = texts[1];
    group.pszSubtitle = texts[2];
    group.pszDescriptionTop = texts[3];
    group.pszDescriptionBottom = texts[4];
    group.cchFooter = group.cchTask = group.cchSubtitle = group.cchDescriptionTop = group.cchDescriptionBottom = 16;
    ASSERT_EQ(1, grid.GetGroupInfo(1, &group));
    EXPECT_EQ((Texts{L"foot", L"task", L"sub", L"top", L""}),
              (Texts{texts[0], texts[1], texts[2], texts[3], texts[4]}));
    EXPECT_EQ(static_cast<UINT>(LVGA_FOOTER_RIGHT), group.uAlign);
    EXPECT_EQ(3, group.iTitleImage);

    PlatformOverride platform(0x0501, true);
    EXPECT_FALSE(grid.SetGroupFooter(1, L"foot"));
    EXPECT_FALSE(grid.SetGroupTask(1, L"task"));
    EXPECT_FALSE(grid.SetGroupSubtitle(1, L"sub"));
    EXPECT_FALSE(grid.SetGroupTitleImage(1, 3, L"top", L"bottom"));
}

TEST_F(GroupingList, RegroupingARowPutsItIntoTheGroupOfItsTextOrANewOne)
{
    FillBab();
    EXPECT_EQ(-1, grid.RegroupRow(0)) << "not grouped";
    ASSERT_TRUE(grid.GroupByColumn(0));
    grid.InsertItem(3, L"a");
    EXPECT_EQ(2, grid.RegroupRow(3));
    // A header longer than any first guess at its length is read whole.
    const std::wstring longText(300, L'x');
    grid.InsertItem(4, longText.c_str());
    grid.InsertItem(5, longText.c_str());
    EXPECT_EQ(3, grid.RegroupRow(4));
    EXPECT_EQ(3, grid.RegroupRow(5));
    EXPECT_EQ((Texts{L"b", L"a", longText}), GroupHeaders());
    grid.InsertItem(6, L"A");
    EXPECT_EQ(4, grid.RegroupRow(6)) << "a text in another case has a group of its own";
    EXPECT_EQ(-1, grid.RegroupRow(7));
}

TEST_F(GroupingList, GroupHeadersLieAboveTheFirstRowOfTheirGroup)
{
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    for (WORD os : {WORD(0x0601), WORD(0x0501)}) {
        PlatformOverride platform(os, true);
        EXPECT_EQ(1, grid.GroupAtPoint(HeaderOf(1))) << std::hex << os;
        EXPECT_EQ(2, grid.GroupAtPoint(HeaderOf(2))) << std::hex << os;
        EXPECT_EQ(-1, grid.GroupAtPoint(CellCenter(grid, 2, 0))) << "on a row";
        EXPECT_EQ(-1, grid.GroupAtPoint(BelowTheGroups())) << "below the groups";
    }
}

TEST_F(GroupingList, RowsDraggedWithTheMouseMoveIntoTheGroupUnderIt)
{
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    grid.SetFocus();
    auto at = [](POINT to) {
        return [to] {
            POINT now = {};
            return ::GetCursorPos(&now) && now.x == to.x && now.y == to.y;
        };
    };
    // Onto the header of a group.
    SelectRows(grid, {0});
    POINT to = ScreenPoint(HeaderOf(2));
    DragWithTheMouse(ScreenPoint(CellCenter(grid, 0, 0)), to, at(to));
    EXPECT_EQ("b2 a2 b1", Rows());

    // Onto a row of another group.
    SelectRows(grid, {2});
    HWND hList = grid.m_hWnd;
    DragWithTheMouse(ScreenPoint(CellCenter(grid, 2, 0)), ScreenPoint(CellCenter(grid, 1, 0)),
                     [hList] { return ListView_GetItemState(hList, 1, LVIS_DROPHILITED) != 0; });
    EXPECT_EQ("b2 a2 b2", Rows());

    // Onto the empty area below the groups: nothing moves.
    ASSERT_TRUE(grid.GroupByColumn(0));
    SelectRows(grid, {0});
    to = ScreenPoint(BelowTheGroups());
    DragWithTheMouse(ScreenPoint(CellCenter(grid, 0, 0)), to, at(to));
    EXPECT_EQ("b1 a2 b1", Rows());

    // The drop shows the row it was made on and gives it the focus, which it keeps once the
    // drag is over; the moved row stays selected.
    SelectRows(grid, {0});
    grid.SetItemState(-1, 0, LVIS_FOCUSED);
    log.Clear();
    DragWithTheMouse(ScreenPoint(CellCenter(grid, 0, 0)), ScreenPoint(CellCenter(grid, 1, 0)),
                     [hList] { return ListView_GetItemState(hList, 1, LVIS_DROPHILITED) != 0; });
    EXPECT_EQ("b2 a2 b1", Rows());
    EXPECT_EQ(1, grid.GetNextItem(-1, LVNI_FOCUSED));
    EXPECT_EQ((std::vector<int>{0}), SelectedRows(grid));
    EXPECT_EQ(1u, log.Count(LVM_ENSUREVISIBLE));
}

TEST_F(GroupingList, RowsRemovedAllAtOnceTakeTheGroupsWithThem)
{
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    log.Clear();
    // The port list's refill: every row removed, then rows inserted again.
    ASSERT_TRUE(grid.DeleteAllItems());
    EXPECT_FALSE(grid.IsGroupViewEnabled());
    EXPECT_EQ(-1, grid.groupedColumn());
    EXPECT_EQ(1u, log.Count(LVM_REMOVEALLGROUPS));
    grid.InsertItem(0, L"new");
    CRect row;
    EXPECT_TRUE(grid.GetItemRect(0, &row, LVIR_BOUNDS)) << "a row inserted afterwards is shown";

    // One group with its rows.
    grid.DeleteAllItems();
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    EXPECT_TRUE(grid.DeleteGroupWithRows(1));
    EXPECT_EQ((Texts{L"a"}), Column0(grid));
    EXPECT_EQ((Texts{L"a"}), GroupHeaders());
    EXPECT_FALSE(grid.DeleteGroupWithRows(1)) << "no such group";
}

// ---- the grouping as the list records it ------------------------------------------------------

TEST_F(GroupingList, AColumnDraggedToANewPlaceForgetsTheGroupingButKeepsTheGroups)
{
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
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
    EXPECT_EQ((Texts{L"b", L"a"}), GroupHeaders());
    // The next click on a header groups by its column, whatever the mode.
    ASSERT_TRUE(ClickHeader(1));
    EXPECT_EQ(1, grid.groupedColumn());
    EXPECT_EQ((Texts{L"10", L"2", L"9"}), GroupHeaders());

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

TEST_F(GroupingList, WithCommonControls6TheHeaderMenuGroupsByTheColumnAndEndsTheGrouping)
{
    PlatformOverride platform(0x0601, true);
    FillBab();
    MenuSpy spy;
    spy.Choose(3);
    ASSERT_TRUE(RightClick(HeaderItem(1), spy, [&] { return grid.groupedColumn() == 1; }));
    EXPECT_EQ("3 Group by: Number; 0 -; 6 Letter [checked]; 7 Number [checked]; ", Describe(spy.menus[0]));
    EXPECT_EQ(1, grid.groupedColumn());
    EXPECT_EQ((Texts{L"2", L"10", L"9"}), GroupHeaders());

    // With group view on, the menu also offers to end it.
    spy.Choose(4);
    ASSERT_TRUE(RightClick(HeaderItem(1), spy, [&] { return !grid.IsGroupViewEnabled(); }));
    EXPECT_EQ("3 Group by: Number; 4 Disable grouping; 0 -; 6 Letter [checked]; 7 Number [checked]; ",
              Describe(spy.menus[1]));
    EXPECT_FALSE(grid.IsGroupViewEnabled());
    EXPECT_EQ(-1, grid.groupedColumn());
    EXPECT_EQ(0, grid.GetGroupCount());

    // Older common controls have no groups to offer: the grid's own header menu.
    PlatformOverride older(0x0601, false);
    ASSERT_TRUE(RightClick(HeaderItem(1), spy, [&] { return !grid.IsColumnVisible(0); }));
    EXPECT_EQ("4 Letter [checked]; 5 Number [checked]; ", Describe(spy.menus[2]));
}

TEST_F(GroupingList, AGroupHeaderHasAMenuThatChecksItsRowsAndCollapsesExpandsOrEndsTheGroups)
{
    FillBab();
    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    ASSERT_TRUE(grid.GroupByColumn(0));
    auto checks = [this] {
        std::string marks;
        for (int r = 0; r < grid.GetItemCount(); ++r)
            marks += grid.GetCheck(r) ? "x" : ".";
        return marks;
    };
    MenuSpy spy;
    spy.Choose(3);
    ASSERT_TRUE(RightClick(HeaderOf(1), spy, [&] { return checks() == "x.x"; }));
    EXPECT_EQ(
        "3 Check group: b; 4 Uncheck group: b; 0 -; 5 Expand all groups; 6 Collapse all groups; "
        "7 Disable grouping; ",
        Describe(spy.menus[0]));
    EXPECT_EQ("x.x", checks());
    spy.Choose(4);
    ASSERT_TRUE(RightClick(HeaderOf(1), spy, [&] { return checks() == "..."; }));
    EXPECT_EQ("...", checks());

    spy.Choose(6);
    ASSERT_TRUE(RightClick(HeaderOf(2), spy, [&] { return grid.GroupHasState(2, LVGS_COLLAPSED); }));
    EXPECT_TRUE(grid.GroupHasState(1, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(2, LVGS_COLLAPSED));
    spy.Choose(5);
    ASSERT_TRUE(RightClick(HeaderOf(2), spy, [&] { return !grid.GroupHasState(2, LVGS_COLLAPSED); }));
    EXPECT_FALSE(grid.GroupHasState(1, LVGS_COLLAPSED));
    EXPECT_FALSE(grid.GroupHasState(2, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(1, LVGS_COLLAPSIBLE));
    spy.Choose(7);
    ASSERT_TRUE(RightClick(HeaderOf(1), spy, [&] { return !grid.IsGroupViewEnabled(); }));
    EXPECT_FALSE(grid.IsGroupViewEnabled());
    EXPECT_EQ(-1, grid.groupedColumn());
}

TEST_F(GroupingList, BeforeWindows6AGroupMenuOffersOnlyCheckingAndOnlyWithCheckBoxes)
{
    PlatformOverride platform(0x0501, true);
    FillBab();
    ASSERT_TRUE(grid.GroupByColumn(0));
    MenuSpy spy;
    grid.ShowGroupMenu(&grid, ScreenPoint(HeaderOf(1)), 1);
    EXPECT_TRUE(spy.menus.empty()) << "no items, no menu";

    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    spy.Choose(3);
    ASSERT_TRUE(RightClick(HeaderOf(1), spy, [&] { return grid.GetCheck(0) != FALSE; }));
    EXPECT_EQ("3 Check group: b; 4 Uncheck group: b; ", Describe(spy.menus[0]));
    EXPECT_TRUE(grid.GetCheck(0));
    EXPECT_FALSE(grid.GetCheck(1));
    EXPECT_TRUE(grid.GetCheck(2));
}

TEST_F(GroupingList, TheEmptyAreaHasAMenuOnlyWithGroupState)
{
    FillBab();
    MenuSpy spy;
    grid.ShowGridMenu(&grid, ScreenPoint(CPoint(20, 100)));
    EXPECT_TRUE(spy.menus.empty()) << "not grouped";

    ASSERT_TRUE(grid.GroupByColumn(0));
    spy.Choose(2);
    ASSERT_TRUE(RightClick(BelowTheGroups(), spy, [&] { return grid.GroupHasState(2, LVGS_COLLAPSED); }));
    EXPECT_EQ("1 Expand all groups; 2 Collapse all groups; 3 Disable grouping; ", Describe(spy.menus[0]));
    EXPECT_TRUE(grid.GroupHasState(1, LVGS_COLLAPSED));
    EXPECT_TRUE(grid.GroupHasState(2, LVGS_COLLAPSED));
    spy.Choose(1);
    ASSERT_TRUE(RightClick(BelowTheGroups(), spy, [&] { return !grid.GroupHasState(1, LVGS_COLLAPSED); }));
    EXPECT_FALSE(grid.GroupHasState(1, LVGS_COLLAPSED));
    spy.Choose(3);
    ASSERT_TRUE(RightClick(BelowTheGroups(), spy, [&] { return !grid.IsGroupViewEnabled(); }));
    EXPECT_FALSE(grid.IsGroupViewEnabled());
    EXPECT_EQ(-1, grid.groupedColumn());

    PlatformOverride platform(0x0501, true);
    ASSERT_TRUE(grid.GroupByColumn(0));
    grid.ShowGridMenu(&grid, ScreenPoint(BelowTheGroups()));
    EXPECT_EQ(3u, spy.menus.size()) << "no group state, no menu";
}
