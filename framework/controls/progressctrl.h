// CProgressCtrl: a progress bar.
#pragma once

#include "framework/wnd.h"

#include <windows.h>

#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    using CWnd::Create;
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
    int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep))); }
};
