// A column of text cells: cell colours and font during custom draw, comparison as numbers or as
// text, and the rectangle an in-place editor takes over a cell. The grid gives one to every
// column inserted without a trait.
#pragma once

#include "controls/grid/CGridColumnTrait.h"

class CGridColumnTraitText : public CGridColumnTrait {
public:
    void OnCellCustomDraw(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult) override;
    int CompareCellTexts(LPCWSTR pszLeft, LPCWSTR pszRight, bool bAscending) override;

    // The cell's own font, colours: true when the column has one for the cell of the record.
    virtual bool GetCellFont(NMLVCUSTOMDRAW* pLVCD, LOGFONTW& font);
    virtual bool GetTextColor(NMLVCUSTOMDRAW* pLVCD, COLORREF& color);
    virtual bool GetBackColor(NMLVCUSTOMDRAW* pLVCD, COLORREF& color);
    // Height in pixels of one line of text in the grid's font.
    virtual int MeasureTextHeight(CGridListCtrlEx& owner);
    // Where an editor of the cell goes, in the list's client coordinates; all zero when the
    // cell's rectangle cannot be had (the cell does not exist).
    virtual RECT GetEditorRect(CGridListCtrlEx& owner, int nRow, int nCol);

    // Colours of every cell of the column; 0xFFFFFFFF leaves the list's own.
    COLORREF TextColor = 0xFFFFFFFF;
    COLORREF BackColor = 0xFFFFFFFF;
    // Compare cell texts as decimal integers instead of as text.
    bool SortAsNumber = false;

protected:
    // The font the cell's pre-paint replaced in the DC, put back at its post-paint; and the
    // record's colours as they came in, restored at post-paint.
    HFONT m_hPrevFont = nullptr;
    COLORREF m_SavedTextColor = 0xFFFFFFFF;
    COLORREF m_SavedBackColor = 0xFFFFFFFF;
};

// The answer of GetEditorRect for a cell without a rectangle.
inline bool IsNoEditorRect(const RECT& rect)
{
    return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

// The C runtime's reading of a decimal integer (leading white space, an optional sign, the digits
// up to the first other character, 0 without digits), saturated to the 32-bit range.
int GridParseInt32(LPCWSTR psz);

// Compares two texts code unit by code unit, folding only A-Z onto a-z.
int GridCompareNoCaseAZ(LPCWSTR pszLeft, LPCWSTR pszRight);
