// A column whose cells may show one of several images, each with its own cell text: clicking a
// cell's image switches it to the next image (and, with toggle on click, every selected row with
// it), a check-box click is carried over the selection, rows may sort by image, and a cell whose
// image is marked read-only cannot be edited. The common base of the editing traits; it opens no
// editor itself (CreateCellEditorWindow).
#pragma once

#include "controls/grid/CGridColumnTraitText.h"

#include <utility>
#include <vector>

struct ImageStateRecord {
    CString Text;   // the cell text that belongs to the image
    bool Editable;  // false: a cell showing the image is read-only
};

class CGridColumnTraitImage : public CGridColumnTraitText {
public:
    int ClassifyClick(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt, bool bDblClick) override;
    CWnd* BeginEditAtPoint(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt) override;
    int CompareRows(const LVITEMW& left, const LVITEMW& right, bool bAscending) override;
    bool IsCellReadOnly(CGridListCtrlEx& owner, int nRow, int nCol, CPoint pt) override;

    // The image that follows the cell's image among the image states; -1 with fewer than two
    // states or when the cell's image is none of them.
    virtual int NextImageIndex(CGridListCtrlEx& owner, int nRow, int nCol);
    // Switches the cell to its next image, reporting it as an end of edit to the list's parent;
    // with fewer than two states an ordinary edit when image clicks edit. Returns the editor or null.
    virtual CWnd* OnImageClick(CGridListCtrlEx& owner, int nRow, int nCol);
    // Gives every other selected row the check state of the clicked (selected) row; returns null.
    virtual CWnd* OnCheckBoxClick(CGridListCtrlEx& owner, int nRow, int nCol);
    // Makes the editor object and its window over rect (style gets WS_CHILD, the list is the
    // parent, the id is 0); null, with nothing left behind, when the window cannot be made.
    virtual CWnd* CreateCellEditorWindow(CGridListCtrlEx& owner, int nRow, int nCol, DWORD dwStyle,
                                         const RECT& rect) = 0;

    // Adds an image state, or replaces the one of that image keeping its place.
    void AddImageIndex(int nImageIdx, LPCWSTR pszText, bool bEditable);
    // The image states in insertion order, which is the order a click cycles through them.
    const std::vector<std::pair<int, ImageStateRecord>>& GetImageStates() const { return m_ImageStates; }

    bool SortByImage = false;      // rows compare by image index before text
    bool ToggleOnClick = false;    // image and check-box clicks are honoured and go to every selected row
    bool SingleClickEdit = false;  // any single click on a cell edits (else only one on the focus cell)
    bool ImageClickEdits = false;  // with fewer than two states a click on the image edits

protected:
    // The text of the state of an image; empty when there is none.
    CString GetImageStateText(int nImage) const;

    std::vector<std::pair<int, ImageStateRecord>> m_ImageStates;
};
