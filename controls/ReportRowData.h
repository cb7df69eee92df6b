// The colours of one row of the report list, held as the row's item data.
#pragma once

#include "framework/collections.h"

#include <windows.h>

struct ReportRowData {
    // One entry per column; 0xFFFFFFFF (CLR_NONE) means the list's own colour.
    CArray<COLORREF, COLORREF> textColors;
    CArray<COLORREF, COLORREF> bkColors;
};
