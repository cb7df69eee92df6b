// Quicksort of row indexes.
#include "controls/RowSort.h"

#include <utility>

namespace {

void SortRange(std::vector<int>& rows, int lo, int hi, const std::function<bool(int, int)>& goesBefore)
{
    while (lo < hi) {
        // The pivot is held by value: swaps may move the slot it came from.
        const int pivot = rows[lo + (hi - lo) / 2];
        int i = lo;
        int j = hi;
        while (i <= j) {
            while (i <= hi && goesBefore(rows[i], pivot))
                ++i;
            while (j >= lo && goesBefore(pivot, rows[j]))
                --j;
            if (i <= j) {
                std::swap(rows[i], rows[j]);
                ++i;
                --j;
            }
        }
        // A comparison that contradicts itself could leave one part as large as the range;
        // shrinking it by one keeps the sort finite.
        if (j >= hi)
            j = hi - 1;
        if (i <= lo)
            i = lo + 1;
        if (lo < j)
            SortRange(rows, lo, j, goesBefore);
        lo = i;
    }
}

}  // namespace

void SortRowIndexes(std::vector<int>& rows, const std::function<bool(int, int)>& goesBefore)
{
    if (rows.size() < 2)
        return;
    SortRange(rows, 0, static_cast<int>(rows.size()) - 1, goesBefore);
}
