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

void GridEditorReportEnd(HWND hWndEditor, int nRow, int nCol, NMLVDISPINFOW& dispInfo)
{
    dispInfo.item.iItem = nRow;
    dispInfo.item.iSubItem = nCol;
    GridSendEndLabelEdit(::GetParent(hWndEditor), dispInfo);
    if (!::PostMessageW(hWndEditor, WM_CLOSE, 0, 0) && ::IsWindow(hWndEditor))
        ::DestroyWindow(hWndEditor);
}
