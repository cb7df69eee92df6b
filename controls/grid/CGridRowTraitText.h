// Rows in colours (with a second pair for odd rows), in a row font or the grid's own font, with a
// focus rectangle around the focus cell, and the focus cell of a selected row drawn unselected.
#pragma once

#include "controls/grid/CGridRowTrait.h"

class CGridRowTraitText : public CGridRowTrait {
public:
    void OnCustomDraw(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult) override;

    // The row's colours: true (and the colour) when the trait has one for the row; false leaves
    // the colour as it was.
    virtual bool GetRowTextColor(int nRow, COLORREF& color);
    virtual bool GetRowBackColor(int nRow, COLORREF& color);

    // 0xFFFFFFFF: not set, the list's own colour. The alternate colours are those of odd rows.
    COLORREF TextColor = 0xFFFFFFFF;
    COLORREF BackColor = 0xFFFFFFFF;
    COLORREF AltTextColor = 0xFFFFFFFF;
    COLORREF AltBackColor = 0xFFFFFFFF;
    // In a full-row-select list the focus cell of the focused selected row looks unselected.
    bool FocusCellUnselected = true;

protected:
    // The row colours into the record's colours, then the grid's; adds CDRF_NEWFONT for each answer.
    void ApplyRowColors(CGridListCtrlEx& owner, int nRow, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult);
    // Takes off the focus rectangle round the whole row that a list view which ignores the
    // record's CDIS_FOCUS (ListViewDrawsFocusAlways) draws into the same paint.
    void CancelListFocusRect(CGridListCtrlEx& owner, int nRow, HDC hDC);

    // The font this trait replaced in the DC from a row's pre-paint to its post-paint, and whether
    // the font it selected was made by it (and is deleted at post-paint).
    HFONT m_hPrevFont = nullptr;
    bool m_FontCreated = false;
    // The selected state was taken from a focus cell's record and is given back at its post-paint.
    bool m_SelectedStateTaken = false;
    // CDIS_FOCUS was taken from the focused row's record: the trait draws the focus rectangle.
    bool m_FocusStateTaken = false;
};
