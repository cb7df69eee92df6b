// A column whose cells are edited in a single-line text box (CGridEditorText) over the cell,
// aligned as the column's heading is.
#pragma once

#include "controls/grid/CGridColumnTraitImage.h"

class CGridColumnTraitEdit : public CGridColumnTraitImage {
public:
    CWnd* StartCellEdit(CGridListCtrlEx& owner, int nRow, int nCol) override;
    CWnd* CreateCellEditorWindow(CGridListCtrlEx& owner, int nRow, int nCol, DWORD dwStyle, const RECT& rect) override;

    // Window style of the editor: WS_BORDER | ES_NOHIDESEL | ES_AUTOHSCROLL.
    DWORD EditorStyle = WS_BORDER | ES_NOHIDESEL | ES_AUTOHSCROLL;
    // Most characters the editor takes; 0xFFFFFFFF: the edit box's own limit.
    UINT TextLimit = 0xFFFFFFFF;
};
