// Moving the selected rows before a target row: the order of two rows, and the moves themselves
// in a real list, whose selection and item data go with the rows.
#include "tests/grid_sort/SortTestSupport.h"

#include "controls/grid/GridMoveOrder.h"

#include <algorithm>
#include <numeric>

using namespace sorttest;

namespace {

// The rows 0..5 ordered by GridMoveOrder, as the list view's sort orders them.
std::vector<int> Moved(const std::vector<int>& selected, int target, bool bothSides)
{
    std::vector<int> rows(6);
    std::iota(rows.begin(), rows.end(), 0);
    const auto isSelected = [&selected](int r) {
        return std::find(selected.begin(), selected.end(), r) != selected.end();
    };
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        return GridMoveOrder(a, isSelected(a), b, isSelected(b), target, bothSides) < 0;
    });
    return rows;
}

using Rows = std::vector<int>;

}  // namespace

TEST(GridMoveOrderTable, GathersTheSelectionBeforeTheTarget)
{
    EXPECT_EQ((Rows{2, 3, 4, 0, 1, 5}), Moved({0, 1}, 4, false)) << "from above: after the target";
    EXPECT_EQ((Rows{0, 4, 1, 2, 3, 5}), Moved({4}, 1, false)) << "from below: before the target";
    EXPECT_EQ((Rows{0, 2, 4, 5, 1, 3}), Moved({1, 3}, 6, false)) << "after the last row";
    EXPECT_EQ((Rows{0, 2, 3, 1, 4, 5}), Moved({1, 4}, 3, true)) << "from both sides: after the target";
    EXPECT_EQ((Rows{0, 2, 1, 3, 4, 5}), Moved({1, 3}, 3, false)) << "a selected target moves with the selection";
    EXPECT_EQ((Rows{0, 1, 2, 3, 4, 5}), Moved({}, 3, false));
}

namespace {

class GridMoving : public ListFixture<SortGrid> {
protected:
    void SetUp() override
    {
        ListFixture<SortGrid>::SetUp();
        Fill(grid, 2, 6);  // r0..r5, item data 100..105
    }

    // Each row's column 0, and whether its column 1 and item data still belong to it.
    ::testing::AssertionResult RowsAreWhole()
    {
        for (int r = 0; r < grid.GetItemCount(); ++r) {
            const CString name = grid.GetItemText(r, 0);
            const int n = _wtoi(name.GetString() + 1);
            if (grid.GetItemText(r, 1) != name + L"b" || grid.GetItemData(r) != static_cast<DWORD_PTR>(100 + n))
                return ::testing::AssertionFailure()
                       << "row " << r << " (" << uitest::Narrow(name.GetString()) << ") lost its cells or data";
        }
        return ::testing::AssertionSuccess();
    }
};

using Texts = std::vector<std::wstring>;

}  // namespace

TEST_F(GridMoving, MovesTheSelectionBeforeTheTargetRowAndKeepsItSelected)
{
    SelectRows(grid, {0, 1});
    EXPECT_TRUE(grid.MoveSelectionTo(4));
    EXPECT_EQ((Texts{L"r2", L"r3", L"r4", L"r0", L"r1", L"r5"}), Column0(grid));
    EXPECT_EQ((Rows{3, 4}), SelectedRows(grid));
    EXPECT_TRUE(RowsAreWhole());

    SelectRows(grid, {4});  // r1
    EXPECT_TRUE(grid.MoveSelectionTo(1));
    EXPECT_EQ((Texts{L"r2", L"r1", L"r3", L"r4", L"r0", L"r5"}), Column0(grid));
    EXPECT_EQ((Rows{1}), SelectedRows(grid));
    EXPECT_TRUE(RowsAreWhole());
}

TEST_F(GridMoving, MovesToTheEndAndFromBothSides)
{
    SelectRows(grid, {1, 3});
    EXPECT_TRUE(grid.MoveSelectionTo(-1));
    EXPECT_EQ((Texts{L"r0", L"r2", L"r4", L"r5", L"r1", L"r3"}), Column0(grid));
    EXPECT_EQ((Rows{4, 5}), SelectedRows(grid));

    SelectRows(grid, {1, 4});  // r2, r1
    EXPECT_TRUE(grid.MoveSelectionTo(3));
    EXPECT_EQ((Texts{L"r0", L"r4", L"r5", L"r2", L"r1", L"r3"}), Column0(grid));
    EXPECT_TRUE(RowsAreWhole());
}

TEST_F(GridMoving, ASelectedTargetMovesWithTheSelection)
{
    SelectRows(grid, {1, 3});
    EXPECT_TRUE(grid.MoveSelectionTo(3));
    EXPECT_EQ((Texts{L"r0", L"r2", L"r1", L"r3", L"r4", L"r5"}), Column0(grid));
}

TEST_F(GridMoving, RefusesToMoveNothingOrOneRowOntoItself)
{
    SelectRows(grid, {2});
    EXPECT_FALSE(grid.MoveSelectionTo(2));
    SelectRows(grid, {});
    EXPECT_FALSE(grid.MoveSelectionTo(4));
    EXPECT_EQ((Texts{L"r0", L"r1", L"r2", L"r3", L"r4", L"r5"}), Column0(grid));
}

namespace {

class OwnerDataMoving : public ListFixture<SortGrid> {
protected:
    DWORD ListStyle() const override { return LVS_REPORT | LVS_OWNERDATA; }
};

}  // namespace

TEST_F(OwnerDataMoving, AnOwnerDataListNeverMovesRows)
{
    grid.InsertColumn(0, L"A", LVCFMT_LEFT, 80);
    grid.SetItemCount(6);
    grid.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_FALSE(grid.MoveSelectionTo(4));
}
