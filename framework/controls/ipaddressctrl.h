// CIPAddressCtrl: an IP address control.
#pragma once

#include "framework/wnd.h"

#include <windows.h>

#include <commctrl.h>

class CIPAddressCtrl : public CWnd {
public:
    // Returns the number of fields that are not blank; blank fields read as 0.
    int GetAddress(DWORD& dwAddress) const
    {
        return static_cast<int>(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&dwAddress)));
    }
};
