#include "framework/controls/tabctrl.h"

LONG CTabCtrl::InsertItem(int nItem, LPCWSTR lpszItem)
{
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    return InsertItem(nItem, &item);
}
