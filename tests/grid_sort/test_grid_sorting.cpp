// Sorting by a click on a column's header: the traits compare, the direction flips on the same
// column, the parent still hears of the click, and lists that cannot be sorted are left alone.
#include "tests/grid_sort/SortTestSupport.h"

#include "controls/grid/CGridColumnTraitText.h"

#include <algorithm>

using namespace sorttest;

namespace {

class GridSorting : public ListFixture<SortGrid> {
protected:
    // Cells "b", "A", "d", "c" in column 0; "2", "10", "1", "9" in column 1; item data 100..103.
    void FillLetters()
    {
        grid.InsertColumn(0, L"Letter", LVCFMT_LEFT, 80);
        grid.InsertColumn(1, L"Number", LVCFMT_LEFT, 80);
        const wchar_t* letters[] = {L"b", L"A", L"d", L"c"};
        const wchar_t* numbers[] = {L"2", L"10", L"1", L"9"};
        for (int r = 0; r < 4; ++r) {
            grid.InsertItem(r, letters[r]);
            grid.SetItemText(r, 1, numbers[r]);
            grid.SetItemData(r, static_cast<DWORD_PTR>(100 + r));
        }
    }

    // A click on a header item as the user makes it: the header tells the list, the list tells
    // its parent, which reflects the notification to the grid first.
    void ClickHeader(int nCol)
    {
        CHeaderCtrl* pHeader = grid.GetHeaderCtrl();
        RECT item = {};
        ASSERT_TRUE(pHeader->GetItemRect(nCol, &item));
        uitest::ClickAt(pHeader->m_hWnd, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
        uitest::PumpMessages();
    }

    // Which header items show a sort arrow (the bitmap arrow of common controls before 6, or the
    // themed one).
    std::vector<int> ArrowedColumns()
    {
        std::vector<int> columns;
        CHeaderCtrl* pHeader = grid.GetHeaderCtrl();
        for (int c = 0; c < pHeader->GetItemCount(); ++c) {
            HDITEMW item = {};
            item.mask = HDI_FORMAT;
            pHeader->GetItem(c, &item);
            if (item.fmt & (HDF_SORTUP | HDF_SORTDOWN | HDF_BITMAP_ON_RIGHT))
                columns.push_back(c);
        }
        return columns;
    }

    std::vector<std::wstring> Column(int nCol)
    {
        std::vector<std::wstring> texts;
        for (int r = 0; r < grid.GetItemCount(); ++r)
            texts.emplace_back(grid.GetItemText(r, nCol).GetString());
        return texts;
    }
};

using Texts = std::vector<std::wstring>;
using Arrows = std::vector<std::pair<int, bool>>;

}  // namespace

TEST_F(GridSorting, HeaderClicksSortAscendingThenDescendingAndAnotherColumnAscending)
{
    FillLetters();
    ASSERT_EQ(-1, grid.sortColumn());

    ClickHeader(0);
    EXPECT_EQ((Texts{L"A", L"b", L"c", L"d"}), Column(0));
    EXPECT_EQ((Texts{L"10", L"2", L"9", L"1"}), Column(1)) << "the rows travel whole";
    EXPECT_EQ(101u, grid.GetItemData(0));
    EXPECT_EQ(0, grid.sortColumn());
    EXPECT_TRUE(grid.sortAscending());
    EXPECT_EQ((Arrows{{0, true}}), grid.arrows);
    EXPECT_EQ((std::vector<int>{0}), ArrowedColumns());

    ClickHeader(0);
    EXPECT_EQ((Texts{L"d", L"c", L"b", L"A"}), Column(0));
    EXPECT_FALSE(grid.sortAscending());
    EXPECT_EQ((Arrows{{0, true}, {0, false}}), grid.arrows);

    // Column 1 compares as text: "10" before "2".
    ClickHeader(1);
    EXPECT_EQ((Texts{L"1", L"10", L"2", L"9"}), Column(1));
    EXPECT_EQ(1, grid.sortColumn());
    EXPECT_TRUE(grid.sortAscending());
    EXPECT_EQ((Arrows{{0, true}, {0, false}, {1, true}}), grid.arrows);
    EXPECT_EQ((std::vector<int>{1}), ArrowedColumns()) << "the arrow moved";

    EXPECT_EQ(3, host.Count(LVN_COLUMNCLICK)) << "the parent still sees every click";
}

TEST_F(GridSorting, ANumericTraitOrdersTheColumnAsNumbers)
{
    FillLetters();
    auto* pNumbers = static_cast<CGridColumnTraitText*>(grid.GetColumnTrait(1));
    pNumbers->SortAsNumber = true;
    ClickHeader(1);
    EXPECT_EQ((Texts{L"1", L"2", L"9", L"10"}), Column(1));
}

TEST_F(GridSorting, AfterAColumnIsDraggedToANewPlaceTheNextClickSortsAscending)
{
    FillLetters();
    ClickHeader(0);
    ASSERT_TRUE(grid.sortAscending());
    HDITEMW item = {};
    item.mask = HDI_ORDER;
    item.iOrder = 1;
    NMHEADERW drag = {};
    drag.hdr.hwndFrom = grid.GetHeaderCtrl()->m_hWnd;
    drag.hdr.code = HDN_ENDDRAG;
    drag.iItem = 0;
    drag.pitem = &item;
    grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(-1, grid.sortColumn());
    ClickHeader(0);
    EXPECT_TRUE(grid.sortAscending());
    EXPECT_EQ((Texts{L"A", L"b", L"c", L"d"}), Column(0));
}

TEST_F(GridSorting, AColumnThatIsNotSortableIgnoresClicks)
{
    FillLetters();
    grid.GetColumnTrait(0)->Sortable = false;
    ClickHeader(0);
    EXPECT_EQ((Texts{L"b", L"A", L"d", L"c"}), Column(0));
    EXPECT_EQ(-1, grid.sortColumn());
    EXPECT_TRUE(grid.arrows.empty());
    EXPECT_EQ(1, host.Count(LVN_COLUMNCLICK));
}

TEST_F(GridSorting, AnEmptyListSortsAndShowsTheArrow)
{
    grid.InsertColumn(0, L"Letter", LVCFMT_LEFT, 80);
    EXPECT_TRUE(grid.SortByColumn(0, true));
    ClickHeader(0);
    EXPECT_EQ((Arrows{{0, true}}), grid.arrows);
}

TEST_F(GridSorting, TextsTakePartWithTheirFirst255Characters)
{
    // Two cells that differ only after character 255 compare equal: the comparison sees no
    // more of them.
    class LengthTrait : public CGridColumnTraitText {
    public:
        size_t longest = 0;
        int CompareRows(const LVITEMW& left, const LVITEMW& right, bool bAscending) override
        {
            longest = std::max({longest, wcslen(left.pszText), wcslen(right.pszText)});
            return CGridColumnTraitText::CompareRows(left, right, bAscending);
        }
    };
    auto* pTrait = new LengthTrait;
    grid.InsertColumnWithTrait(0, L"Long", LVCFMT_LEFT, 80, 0, pTrait);
    const std::wstring stem(300, L'x');
    grid.InsertItem(0, (stem + L"b").c_str());
    grid.InsertItem(1, (stem + L"a").c_str());
    ASSERT_TRUE(grid.SortByColumn(0, true));
    EXPECT_EQ(255u, pTrait->longest);
}

namespace {

class OwnerDataSorting : public ListFixture<SortGrid> {
protected:
    DWORD ListStyle() const override { return LVS_REPORT | LVS_OWNERDATA; }
};

}  // namespace

TEST_F(OwnerDataSorting, AnOwnerDataListIsNeverSortedButRemembersTheClick)
{
    grid.InsertColumn(0, L"Letter", LVCFMT_LEFT, 80);
    grid.SetItemCount(3);
    EXPECT_FALSE(grid.SortByColumn(0, true));

    NMLISTVIEW click = {};
    click.hdr.hwndFrom = grid.m_hWnd;
    click.hdr.idFrom = kListId;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = 0;
    host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(0, grid.sortColumn());
    EXPECT_TRUE(grid.sortAscending());
    EXPECT_TRUE(grid.arrows.empty());
}
