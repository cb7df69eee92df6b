// The behaviour of one column of the grid: how its cells are drawn, compared and edited, and the
// column's own state that the grid's show/hide, resize and sort logic reads and writes.
//
// Every column of a CGridListCtrlEx has exactly one trait. Traits are made with new and handed to
// the grid, which deletes them with their column or with itself. This base draws nothing, edits
// nothing and finds all cells equal; the derived traits add text, images and in-place editors.
#pragma once

#include "framework/framework.h"

class CGridListCtrlEx;

class CGridColumnTrait {
public:
    CGridColumnTrait() = default;
    virtual ~CGridColumnTrait() = default;
    CGridColumnTrait(const CGridColumnTrait&) = delete;
    CGridColumnTrait& operator=(const CGridColumnTrait&) = delete;

    // Told once after the grid inserted the trait's column (by InsertColumnWithTrait).
    virtual void OnInsertColumn(CGridListCtrlEx& owner, int nCol);
    // Custom draw of one cell of the column; may set CDRF_* bits in *pResult and change the
    // record's colours.
    virtual void OnCellCustomDraw(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult);
    // What a click on a cell does: 0 the list's own click handling only, 1 that handling and then
    // an edit at the point, 2 an edit at the point at once.
    virtual int ClassifyClick(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt, bool bDblClick);
    // Begins an edit of the cell at a point of the list's client area ((-1, -1): no point, from
    // the keyboard); returns the editor window, or null when nothing is edited.
    virtual CWnd* BeginEditAtPoint(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt);
    // Opens the in-place editor of the cell (still hidden); null when the column has none or it
    // cannot be made.
    virtual CWnd* StartCellEdit(CGridListCtrlEx& owner, int nRow, int nCol);
    // Told by the grid that the editor the trait opened has ended.
    virtual void FinishCellEdit();
    // Sort order of two cell texts: negative puts the left one first.
    virtual int CompareCellTexts(LPCWSTR pszLeft, LPCWSTR pszRight, bool bAscending);
    // Sort order of two rows, from their items of the sort column (text and image filled).
    virtual int CompareRows(const LVITEMW& left, const LVITEMW& right, bool bAscending);
    virtual bool IsCellReadOnly(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt);

    // The column's state. A hidden column has width 0 and keeps the width and the display
    // position to return to; -1 means none, for the position and the width limits.
    bool Visible = true;
    int SavedWidth = 0;
    int SavedPosition = -1;
    bool AlwaysHidden = false;   // inserted hidden, never shown, not in the column menu
    bool AlwaysVisible = false;  // can never be hidden
    bool Sortable = true;
    bool Editable = true;
    bool Resizable = true;
    int MinWidth = -1;
    int MaxWidth = -1;
};
