// How the grouping list gathers rows into groups and orders its groups, apart from any window.
#pragma once

#include "controls/grid/CGridColumnTrait.h"

#include "framework/framework.h"

#include <map>
#include <vector>

// One group of rows: the cell text they share, and the rows, ascending.
struct GroupOfRows {
    CString text;
    std::vector<int> rows;
};

// The rows' texts gathered into groups in the order in which each text first occurs. Texts match
// exactly (case-sensitive, code unit by code unit); an empty text is a group of its own.
std::vector<GroupOfRows> GroupRowsByText(const std::vector<CString>& texts);

// What the list view's group sort hands CompareGroupHeaders.
struct GroupSortContext {
    HWND hList = nullptr;
    int column = -1;
    bool ascending = true;
    CGridColumnTrait* trait = nullptr;  // the column's, borrowed
    std::map<int, CString> headers;     // group id -> header text
};

// The list view's group-sort callback: the trait's row comparison of the two groups' headers (an
// id without a header counts as an empty text).
int CALLBACK CompareGroupHeaders(int nGroupId1, int nGroupId2, void* pContext);

// A group as the rebuild of groups on Windows before 6.0 orders it.
struct GroupOrderEntry {
    int id = -1;
    CString header;
    int direction = -1;                 // 1 ascending, 0 descending, -1 as the groups stood
    CGridColumnTrait* trait = nullptr;  // the grouped column's, borrowed
};

// Negative when a goes first: by id (the previous order) while a's direction is -1, else the
// trait's comparison of the headers, ascending unless a's direction is 0.
int CompareGroupEntries(const GroupOrderEntry& a, const GroupOrderEntry& b);
