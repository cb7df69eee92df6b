#include "framework/controls/headerctrl.h"

#include "framework/controls/tempwrappers.h"

CHeaderCtrl* CHeaderCtrl::FromHandle(HWND hWnd)
{
    return tempwrappers::TempControl<CHeaderCtrl>(hWnd);
}
