// The quicksort of row indexes.
#include "controls/CellCompare.h"
#include "controls/RowSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

std::vector<int> Identity(int n)
{
    std::vector<int> rows(static_cast<size_t>(n));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

}  // namespace

TEST(RowSort, AscendingAndDescendingMirrorEachOther)
{
    const int keys[] = {42, 7, 19, 3, 88, 61, 5, 23, 14, 70, 1, 36};
    std::vector<int> up = Identity(12);
    SortRowIndexes(up, [&](int a, int b) { return keys[a] < keys[b]; });
    std::vector<int> down = Identity(12);
    SortRowIndexes(down, [&](int a, int b) { return keys[a] > keys[b]; });
    EXPECT_TRUE(std::is_sorted(up.begin(), up.end(), [&](int a, int b) { return keys[a] < keys[b]; }));
    std::reverse(down.begin(), down.end());
    EXPECT_EQ(up, down);
}

TEST(RowSort, AnIntransitiveOrderEndsInsideTheArray)
{
    // Each pair picks its own rule: "1e1" < "15.5" < "20" as decimals, "20" < "1e1" as hexadecimal.
    const wchar_t* cells[] = {L"20", L"1e1", L"15.5", L"1e1", L"20", L"15.5", L"20", L"1e1"};
    for (bool ascending : {true, false}) {
        std::vector<int> rows = Identity(8);
        SortRowIndexes(rows, [&](int a, int b) {
            EXPECT_TRUE(a >= 0 && a < 8 && b >= 0 && b < 8) << a << " " << b;
            const int r = CompareCellTexts(cells[a], cells[b]);
            return ascending ? r < 0 : r > 0;
        });
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(Identity(8), rows);
    }
}
