#include "framework/controls/edit.h"

#include "framework/controls/tempwrappers.h"

CEdit* CEdit::FromHandle(HWND hWnd)
{
    return tempwrappers::TempControl<CEdit>(hWnd);
}
