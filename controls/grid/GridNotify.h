// The end-of-edit notification of the grid's cells: an in-place editor, or a click that switches
// a cell's image, reports its result as the list view reports its own label edits, with
// LVN_ENDLABELEDITW to the list's parent. The class library reflects it back to the grid.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Completes the header of the record (the list as sender, its control id, LVN_ENDLABELEDITW),
// sends it to the list's parent and returns the answer. The caller fills dispInfo.item; a text it
// points to is read only during the send.
LRESULT GridSendEndLabelEdit(HWND hWndList, NMLVDISPINFOW& dispInfo);

// How an in-place editor ends: the cell (row, column) and the result in dispInfo go to the list
// (the editor's parent) with GridSendEndLabelEdit, then the editor closes itself. The receiver may
// close the editor during the send, so only its handle is used afterwards.
void GridEditorReportEnd(HWND hWndEditor, int nRow, int nCol, NMLVDISPINFOW& dispInfo);
