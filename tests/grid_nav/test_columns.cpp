// Showing and hiding columns, the width filter, automatic widths, scrolling a column into view
// and the header's resize and drag notifications.
#include "tests/grid_nav/NavTestSupport.h"

#include <random>

namespace navtest {
namespace {

class Columns : public NavFixture {
protected:
    void SetUp() override
    {
        NavFixture::SetUp();
        AddColumns({L"A", L"B", L"C", L"D", L"E"});
        for (int c = 0; c < 5; ++c)
            grid.SetColumnWidth(c, 50 + 10 * c);
        AddRows(3);
    }
    std::vector<int> Widths()
    {
        std::vector<int> widths;
        for (int c = 0; c < grid.GetColumnCount(); ++c)
            widths.push_back(grid.GetColumnWidth(c));
        return widths;
    }
    CGridColumnTrait& Trait(int nCol) { return *grid.GetColumnTrait(nCol); }
    // A header notification as the header sends it to the list.
    LRESULT HeaderNotify(UINT code, int nItem, HDITEMW* pItem)
    {
        NMHEADERW nm = {};
        nm.hdr.hwndFrom = grid.GetHeaderCtrl()->m_hWnd;
        nm.hdr.idFrom = 0;
        nm.hdr.code = code;
        nm.iItem = nItem;
        nm.pitem = pItem;
        return grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    }
};

TEST_F(Columns, HidingMovesAColumnToTheFrontAndShowingPutsItBackWithItsWidth)
{
    ASSERT_TRUE(grid.ShowColumn(3, false));
    EXPECT_EQ(Order(), (std::vector<int>{3, 0, 1, 2, 4}));
    EXPECT_EQ(grid.GetColumnWidth(3), 0);
    EXPECT_FALSE(Trait(3).Visible);
    EXPECT_EQ(Trait(3).SavedPosition, 3);
    EXPECT_EQ(Trait(3).SavedWidth, 80);

    ASSERT_TRUE(grid.ShowColumn(3, true));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(grid.GetColumnWidth(3), 80);
    EXPECT_TRUE(Trait(3).Visible);
}

TEST_F(Columns, TwoHiddenColumnsComeBackToTheirPlacesInEitherOrder)
{
    ASSERT_TRUE(grid.ShowColumn(3, false));
    ASSERT_TRUE(grid.ShowColumn(1, false));
    EXPECT_EQ(Order(), (std::vector<int>{1, 3, 0, 2, 4}));
    ASSERT_TRUE(grid.ShowColumn(3, true));
    EXPECT_EQ(Order(), (std::vector<int>{1, 0, 2, 3, 4}));
    ASSERT_TRUE(grid.ShowColumn(1, true));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Widths(), (std::vector<int>{50, 60, 70, 80, 90}));
}

TEST_F(Columns, HidingAndShowingAgainRestoresOrderAndWidthsFromAnyLayout)
{
    grid.InsertColumn(5, L"F", LVCFMT_LEFT, 100);
    std::mt19937 random(20240611);
    for (int round = 0; round < 12; ++round) {
        // A layout: the visible columns in some order, some columns hidden at the front.
        for (int c = 0; c < 6; ++c)
            grid.ShowColumn(c, true);
        std::vector<int> order = {0, 1, 2, 3, 4, 5};
        std::shuffle(order.begin(), order.end(), random);
        ASSERT_TRUE(grid.SetColumnOrderArray(6, order.data()));
        for (int c = 0; c < 6; ++c)
            if (random() % 3 == 0)
                grid.ShowColumn(c, false);

        for (int c = 0; c < 6; ++c) {
            if (!grid.IsColumnVisible(c))
                continue;
            const std::vector<int> before = Order();
            const std::vector<int> widths = Widths();
            ASSERT_TRUE(grid.ShowColumn(c, false));
            ASSERT_TRUE(grid.ShowColumn(c, true));
            EXPECT_EQ(Order(), before) << "round " << round << ", column " << c;
            EXPECT_EQ(Widths(), widths) << "round " << round << ", column " << c;
        }
    }
}

TEST_F(Columns, LockedAndAlwaysHiddenColumnsRefuseToChange)
{
    Trait(2).AlwaysVisible = true;
    EXPECT_FALSE(grid.ShowColumn(2, false));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(grid.GetColumnWidth(2), 70);
    EXPECT_TRUE(Trait(2).Visible);

    auto* pHidden = new CGridColumnTraitText;
    pHidden->AlwaysHidden = true;
    const int nHidden = grid.InsertColumnWithTrait(5, L"Hidden", LVCFMT_LEFT, 40, 5, pHidden);
    ASSERT_EQ(nHidden, 5);
    EXPECT_FALSE(grid.ShowColumn(nHidden, true));
    EXPECT_EQ(grid.GetColumnWidth(nHidden), 0);
    EXPECT_FALSE(grid.ShowColumn(7, true)) << "no such column";
}

// Hiding a hidden column again must not take its width while hidden (0) as the one to come back
// with, and showing a visible one must not move it.
TEST_F(Columns, AColumnAlreadyInTheAskedStateStaysAsItIs)
{
    ASSERT_TRUE(grid.ShowColumn(3, false));
    ASSERT_TRUE(grid.ShowColumn(1, false));
    const std::vector<int> hidden = Order();
    EXPECT_TRUE(grid.ShowColumn(3, false));
    EXPECT_EQ(Order(), hidden);
    EXPECT_EQ(Trait(3).SavedWidth, 80);
    EXPECT_EQ(Trait(3).SavedPosition, 3);
    EXPECT_TRUE(grid.ShowColumn(3, true));
    EXPECT_EQ(grid.GetColumnWidth(3), 80);

    const std::vector<int> shown = Order();
    EXPECT_TRUE(grid.ShowColumn(4, true));
    EXPECT_EQ(Order(), shown);
    EXPECT_EQ(grid.GetColumnWidth(4), 90);
}

TEST_F(Columns, TheWidthFilterRefusesHiddenAndFixedColumnsButNotTheGridsOwnHiding)
{
    ASSERT_TRUE(grid.ShowColumn(3, false));
    EXPECT_EQ(grid.SendMessage(LVM_SETCOLUMNWIDTH, 3, 100), 0);
    EXPECT_EQ(grid.GetColumnWidth(3), 0);
    EXPECT_EQ(grid.SendMessage(LVM_SETCOLUMNWIDTH, 3, MAKELPARAM(LVSCW_AUTOSIZE, 0)), 0);
    EXPECT_EQ(grid.GetColumnWidth(3), 0);
    EXPECT_NE(grid.SendMessage(LVM_SETCOLUMNWIDTH, 3, 0), 0) << "width 0 passes";
    EXPECT_NE(grid.SendMessage(LVM_SETCOLUMNWIDTH, 2, 75), 0);
    EXPECT_EQ(grid.GetColumnWidth(2), 75);

    // A column the user may not resize takes no width from outside, yet hides and shows.
    Trait(1).Resizable = false;
    EXPECT_EQ(grid.SendMessage(LVM_SETCOLUMNWIDTH, 1, 100), 0);
    EXPECT_EQ(grid.GetColumnWidth(1), 60);
    ASSERT_TRUE(grid.ShowColumn(1, false));
    EXPECT_EQ(grid.GetColumnWidth(1), 0);
    ASSERT_TRUE(grid.ShowColumn(1, true));
    EXPECT_EQ(grid.GetColumnWidth(1), 60);
}

TEST_F(Columns, AutoSizeFitsEveryColumnButHiddenOnesAndSucceedsWithoutColumns)
{
    grid.SetItemText(1, 2, L"a rather long text in column C");
    ASSERT_TRUE(grid.ShowColumn(4, false));
    EXPECT_TRUE(grid.AutoSizeColumn(-1, false));
    EXPECT_EQ(grid.GetColumnWidth(4), 0);
    EXPECT_GT(grid.GetColumnWidth(2), 120);
    const int fitted = grid.GetColumnWidth(2);
    grid.DefWindowProc(LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(LVSCW_AUTOSIZE, 0));
    EXPECT_EQ(grid.GetColumnWidth(2), fitted);

    while (grid.GetColumnCount() > 0)
        grid.DeleteColumn(0);
    EXPECT_TRUE(grid.AutoSizeColumn(-1, false));
}

TEST_F(Columns, BeginTrackIsRefusedForHiddenAndFixedColumnsAndTakesTheFocus)
{
    host.GetDlgItem(kListId + 1)->SetFocus();
    ASSERT_TRUE(grid.ShowColumn(3, false));
    Trait(1).Resizable = false;
    NMHEADERW nm = {};
    nm.hdr.code = HDN_BEGINTRACKW;
    for (int nCol : {3, 1}) {
        nm.iItem = nCol;
        LRESULT result = 0;
        EXPECT_TRUE(grid.OnHeaderBeginTrack(0, &nm.hdr, &result)) << nCol;
        EXPECT_EQ(result, 1) << nCol;
    }
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);

    host.GetDlgItem(kListId + 1)->SetFocus();
    nm.iItem = 2;
    LRESULT result = 0;
    EXPECT_FALSE(grid.OnHeaderBeginTrack(0, &nm.hdr, &result));
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);
    // Through the list's message map, as the header sends it: no tracking for the hidden column.
    EXPECT_EQ(HeaderNotify(HDN_BEGINTRACKW, 3, nullptr), 1);
}

// Wine's header ignores what the list changes in the item during a real drag, so the clamp is
// checked in the record it is given.
TEST_F(Columns, ResizingClampsTheWidthToTheTraitsLimitsInTheRecord)
{
    Trait(2).MinWidth = 50;
    Trait(2).MaxWidth = 200;
    HDITEMW item = {};
    item.mask = HDI_WIDTH;
    item.cxy = 30;
    EXPECT_EQ(HeaderNotify(HDN_ITEMCHANGINGW, 2, &item), 0);
    EXPECT_EQ(item.cxy, 50);
    item.cxy = 300;
    HeaderNotify(HDN_ITEMCHANGINGA, 2, &item);
    EXPECT_EQ(item.cxy, 200);
    item.cxy = 120;
    HeaderNotify(HDN_ITEMCHANGINGW, 2, &item);
    EXPECT_EQ(item.cxy, 120);
    item.cxy = 10;
    HeaderNotify(HDN_ENDTRACKW, 2, &item);
    EXPECT_EQ(item.cxy, 50);
    item.mask = HDI_FORMAT;
    item.cxy = 10;
    HeaderNotify(HDN_ITEMCHANGINGW, 2, &item);
    EXPECT_EQ(item.cxy, 10) << "no width in the change";
}

TEST_F(Columns, ADividerDoubleClickFitsTheCellsNotTheHeading)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(L"A heading much wider than any of the cells");
    grid.SetColumn(1, &column);
    host.GetDlgItem(kListId + 1)->SetFocus();
    HeaderNotify(HDN_DIVIDERDBLCLICKW, 1, nullptr);
    const int fitted = grid.GetColumnWidth(1);
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);
    grid.DefWindowProc(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(LVSCW_AUTOSIZE, 0));
    EXPECT_EQ(grid.GetColumnWidth(1), fitted);
    grid.DefWindowProc(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
    EXPECT_GT(grid.GetColumnWidth(1), fitted);
}

TEST_F(Columns, ADroppedHeaderNeverLandsAmongTheHiddenColumns)
{
    ASSERT_TRUE(grid.ShowColumn(0, false));
    ASSERT_TRUE(grid.ShowColumn(1, false));
    grid.setFocusColumn(3);
    grid.setSort(2, true);
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    item.iOrder = 0;
    EXPECT_EQ(HeaderNotify(HDN_ENDDRAG, 4, &item), 0);
    EXPECT_EQ(item.iOrder, 0);
    EXPECT_EQ(grid.focusColumn(), 3);
    EXPECT_EQ(grid.sortColumn(), 2);

    item.mask = HDI_ORDER;
    HeaderNotify(HDN_ENDDRAG, 4, &item);
    EXPECT_EQ(item.iOrder, 2);
    EXPECT_EQ(grid.focusColumn(), -1);
    EXPECT_EQ(grid.sortColumn(), -1);
    EXPECT_FALSE(grid.sortAscending());
    item.iOrder = 4;
    HeaderNotify(HDN_ENDDRAG, 4, &item);
    EXPECT_EQ(item.iOrder, 4);
}

class ScrollIntoView : public NavFixture {
protected:
    void SetUp() override
    {
        NavFixture::SetUp();
        Remake(0, 120);  // about 180 pixels wide
        AddColumns({L"A", L"B", L"C", L"D", L"E", L"F"}, 100);
        grid.SetColumnWidth(5, 400);
        AddRows(2);
    }
    RECT HeaderItem(int nCol)
    {
        RECT rect = {};
        grid.GetHeaderCtrl()->GetItemRect(nCol, &rect);
        return rect;
    }
};

TEST_F(ScrollIntoView, ScrollsUntilTheColumnIsWhollyVisibleOrItsLeftEdgeShows)
{
    RECT client = {};
    grid.GetClientRect(&client);
    ASSERT_LT(client.right, 250);
    EXPECT_FALSE(grid.ScrollColumnIntoView(-1, false));
    EXPECT_FALSE(grid.ScrollColumnIntoView(6, false));

    // Column B is cut off at the right edge: partly visible is enough when asked for.
    EXPECT_TRUE(grid.ScrollColumnIntoView(1, true));
    EXPECT_EQ(grid.GetScrollPos(SB_HORZ), 0);

    EXPECT_TRUE(grid.ScrollColumnIntoView(3, false));
    EXPECT_EQ(HeaderItem(3).right - grid.GetScrollPos(SB_HORZ), client.right);

    // Wider than the client area: its left edge at the client area's left edge.
    EXPECT_TRUE(grid.ScrollColumnIntoView(5, false));
    EXPECT_EQ(HeaderItem(5).left - grid.GetScrollPos(SB_HORZ), 0);

    EXPECT_TRUE(grid.ScrollColumnIntoView(0, false));
    EXPECT_EQ(grid.GetScrollPos(SB_HORZ), 0);
}

}  // namespace
}  // namespace navtest
