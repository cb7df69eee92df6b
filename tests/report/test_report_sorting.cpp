// Sorting the report list by a click on a column header.
#include "ReportHost.h"

#include "controls/CellCompare.h"
#include "controls/RowSort.h"

#include <numeric>

namespace {

std::vector<CString> Texts(std::initializer_list<const wchar_t*> texts)
{
    return {texts.begin(), texts.end()};
}

}  // namespace

TEST_F(ReportListTest, HeaderClicksSortAscendingThenFlipAndTellTheParent)
{
    Open();
    AddColumns({L"No", L"Name"});
    FillRows({{L"3", L"zeta"}, {L"1", L"beta"}, {L"2", L"alpha"}});

    ClickHeader(list, 0);
    EXPECT_EQ(Texts({L"1", L"2", L"3"}), ColumnTexts(0));
    EXPECT_EQ(Texts({L"beta", L"alpha", L"zeta"}), ColumnTexts(1));
    ClickHeader(list, 0);
    EXPECT_EQ(Texts({L"3", L"2", L"1"}), ColumnTexts(0));
    ClickHeader(list, 1);  // another column starts ascending
    EXPECT_EQ(Texts({L"alpha", L"beta", L"zeta"}), ColumnTexts(1));

    using Sorted = std::vector<std::pair<WPARAM, LPARAM>>;
    EXPECT_EQ((Sorted{{0, 1}, {0, 0}, {1, 1}}), host->sorted);
    // The list takes the clicks for itself: the dialog's own handler never sees them.
    EXPECT_TRUE(host->notifications.empty());
}

TEST_F(ReportListTest, ASortCarriesEveryPartOfARowWithIt)
{
    Open();
    AddColumns({L"No", L"COM Port", L"IP", L"CON"});
    FillRows({{L"3", L"COM3"}, {L"1", L"COM1"}, {L"2", L"COM2"}});
    ASSERT_TRUE(list.InitImageList());
    for (int row = 0; row < 3; ++row)
        list.SetItem(row, 3, LVIF_IMAGE, nullptr, row + 1, 0, 0, 0);  // "3": 1, "1": 2, "2": 3
    list.SetItem(0, 0, LVIF_IMAGE, nullptr, 4, 0, 0, 0);
    const ReportRowData* records[3] = {Record(0), Record(1), Record(2)};
    list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);  // the row "2"
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    list.SetCheck(1, TRUE);  // the row "1"

    list.SortColumn(0, true);

    EXPECT_EQ(Texts({L"1", L"2", L"3"}), ColumnTexts(0));
    EXPECT_EQ(Texts({L"COM1", L"COM2", L"COM3"}), ColumnTexts(1));
    EXPECT_EQ(2, CellImage(0, 3));
    EXPECT_EQ(3, CellImage(1, 3));
    EXPECT_EQ(1, CellImage(2, 3));
    EXPECT_EQ(4, CellImage(2, 0));
    EXPECT_EQ(records[1], Record(0));
    EXPECT_EQ(records[2], Record(1));
    EXPECT_EQ(records[0], Record(2));
    EXPECT_EQ(1u, list.GetSelectedCount());
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED), list.GetItemState(1, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(1, list.GetNextItem(-1, LVNI_FOCUSED));
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_FALSE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(2));
}

TEST_F(ReportListTest, ASortLeavesRowsWithoutCheckBoxesWithoutThem)
{
    Open();
    AddColumns({L"No"});
    FillRows({{L"2"}, {L"1"}});
    const UINT noMark = list.GetItemState(0, LVIS_STATEIMAGEMASK);
    list.SortColumn(0, true);
    EXPECT_EQ(noMark, list.GetItemState(0, LVIS_STATEIMAGEMASK));
    EXPECT_EQ(noMark, list.GetItemState(1, LVIS_STATEIMAGEMASK));
}

TEST_F(ReportListTest, AListWithoutSortHeadersNeverSorts)
{
    Open(kMonitorListStyle | LVS_NOSORTHEADER);
    AddColumns({L"No"});
    FillRows({{L"3"}, {L"1"}, {L"2"}});
    ASSERT_FALSE(list.GetHeaderCtrl()->GetStyle() & HDS_BUTTONS);
    ClickHeader(list, 0);
    list.SortColumn(0, true);
    EXPECT_EQ(Texts({L"3", L"1", L"2"}), ColumnTexts(0));
    EXPECT_TRUE(host->sorted.empty());
}

TEST_F(ReportListTest, AListWithoutColumnHeaderOrColumnNeverSorts)
{
    Open(kMonitorListStyle | LVS_NOCOLUMNHEADER);
    AddColumns({L"No"});
    FillRows({{L"3"}, {L"1"}, {L"2"}});
    list.SortColumn(0, true);
    list.ModifyStyle(LVS_NOCOLUMNHEADER, 0);
    list.SortColumn(-1, true);
    list.SortColumn(1, true);  // one past the last column
    EXPECT_EQ(Texts({L"3", L"1", L"2"}), ColumnTexts(0));
    EXPECT_TRUE(host->sorted.empty());
    list.SortColumn(0, true);
    EXPECT_EQ(Texts({L"1", L"2", L"3"}), ColumnTexts(0));
}

TEST_F(ReportListTest, InsertingARowForgetsTheLastSort)
{
    Open();
    AddColumns({L"No"});
    FillRows({{L"3"}, {L"1"}});
    ClickHeader(list, 0);  // ascending
    list.InsertItem(2, L"2");
    ClickHeader(list, 0);  // ascending again, not flipped
    EXPECT_EQ(Texts({L"1", L"2", L"3"}), ColumnTexts(0));
    ASSERT_EQ(2u, host->sorted.size());
    EXPECT_EQ(1, host->sorted[1].second);
}

TEST_F(ReportListTest, ASortGivesTheOrderOfComparingTheCellsAnewEachTime)
{
    // Cells where each pair picks its own rule, so that the order depends on every comparison.
    Open();
    AddColumns({L"Id", L"Cell"});
    const wchar_t* cells[] = {L"20", L"1e1", L"15.5", L"COM10", L"COM2", L"", L"7.5%", L"1/2/2001", L"0x1F", L"abc"};
    CString id;
    for (int row = 0; row < 60; ++row) {
        id.Format(L"%d", row);
        list.InsertItem(row, id);
        list.SetItemText(row, 1, cells[(row * 7) % 10]);
    }
    for (bool ascending : {true, false}) {
        // The literal way: both cells read from the list and compared on every comparison.
        std::vector<int> order(60);
        std::iota(order.begin(), order.end(), 0);
        SortRowIndexes(order, [&](int row, int pivot) {
            const int r = CompareCellTexts(list.GetItemText(row, 1), list.GetItemText(pivot, 1));
            return ascending ? r < 0 : r > 0;
        });
        std::vector<CString> expected;
        const std::vector<CString> before = ColumnTexts(0);
        for (int row : order)
            expected.push_back(before[static_cast<size_t>(row)]);

        list.SortColumn(1, ascending);
        EXPECT_EQ(expected, ColumnTexts(0)) << (ascending ? "ascending" : "descending");
    }
}
