// The order in which the report list rewrites its rows after a sort.
#pragma once

#include <functional>
#include <vector>

// Sorts row indexes with a quicksort: Hoare partitioning around the middle element, recursion
// into the left part, iteration over the right part. goesBefore(x, pivot) says that row x goes
// before the pivot row. Not stable. The comparison may be intransitive (each pair of cells picks
// its own rule); the sort still ends and never reads outside the array.
void SortRowIndexes(std::vector<int>& rows, const std::function<bool(int, int)>& goesBefore);
