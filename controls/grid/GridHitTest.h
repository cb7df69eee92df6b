// The grid's question "which cell is under this point?", shared by its mouse, context-menu and
// tooltip code.
#pragma once

#include "framework/framework.h"

struct GridCellHit {
    int nRow = -1;    // -1 when the point is on no row
    int nCol = -1;    // the column under the point, as the list's hit test reports it
    UINT nFlags = 0;  // the hit test's LVHT_* flags
};

// Hit-tests a point of the list's client area. The point is on a row when the hit test reports
// the item's icon, label or state icon (LVHT_ONITEM) and a row.
inline GridCellHit GridHitTestCell(const CListCtrl& list, CPoint pt)
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    list.SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info));
    GridCellHit hit;
    hit.nFlags = info.flags;
    hit.nCol = info.iSubItem;
    if ((info.flags & LVHT_ONITEM) && info.iItem != -1)
        hit.nRow = info.iItem;
    return hit;
}
