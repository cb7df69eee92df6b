// Reordering a list's rows by a comparison of the rows as they stood before the reordering.
//
// The list view's sort by index (LVM_SORTITEMSEX) is not used for this: some list views (Wine's)
// hand the callback indexes into the copy they are sorting while they answer item reads from the
// rows as they were, so a callback that reads rows by those indexes compares the wrong rows. The
// rows are therefore tagged with their places for the length of the sort (in their item data,
// which is put back afterwards), sorted by tag (LVM_SORTITEMS), and compared by place.
#pragma once

#include "framework/framework.h"

#include <functional>

// compare(place1, place2): negative when the row that stood at place1 goes first. The list's item
// data is the same afterwards, row by row. False when the list refused to sort or to take the
// tags (it is then left as it was).
bool GridSortRows(CListCtrl& list, const std::function<int(int, int)>& compare);
