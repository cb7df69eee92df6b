// CTabCtrl: a tab control.
#pragma once

#include "framework/wnd.h"

#include <windows.h>

#include <commctrl.h>

class CTabCtrl : public CWnd {
public:
    // Each returns the new tab's index, or -1.
    LONG InsertItem(int nItem, const TCITEMW* pTabCtrlItem)
    {
        return static_cast<LONG>(
            SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    LONG InsertItem(int nItem, LPCWSTR lpszItem);
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
};
