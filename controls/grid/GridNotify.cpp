#include "controls/grid/GridNotify.h"

LRESULT GridSendEndLabelEdit(HWND hWndList, NMLVDISPINFOW& dispInfo)
{
    const int nListId = ::GetDlgCtrlID(hWndList);
    dispInfo.hdr.hwndFrom = hWndList;
    dispInfo.hdr.idFrom = static_cast<UINT_PTR>(nListId);
    dispInfo.hdr.code = LVN_ENDLABELEDITW;
    HWND hWndParent = ::GetParent(hWndList);
    if (hWndParent == nullptr)
        return 0;
    return ::SendMessageW(hWndParent, WM_NOTIFY, static_cast<WPARAM>(nListId), reinterpret_cast<LPARAM>(&dispInfo));
}
