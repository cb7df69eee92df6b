// CHeaderCtrl: the header of a list view.
#pragma once

#include "framework/wnd.h"

#include <windows.h>

#include <commctrl.h>

class CHeaderCtrl : public CWnd {
public:
    using CWnd::Create;
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItem(int nPos, HDITEMW* pHeaderItem) const
    {
        return static_cast<BOOL>(
            SendMessage(HDM_GETITEMW, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(pHeaderItem)));
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return static_cast<BOOL>(
            SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
    }
    int OrderToIndex(int nOrder) const
    {
        return static_cast<int>(SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(nOrder)));
    }

    static CHeaderCtrl* FromHandle(HWND hWnd);
};
