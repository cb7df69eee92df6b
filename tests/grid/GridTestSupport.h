// What the grid tests share besides the grid test host: a grid whose hooks a test can set, traits
// that count their deletion, and custom-draw records.
#pragma once

#include "controls/grid/CGridColumnTraitCombo.h"
#include "controls/grid/CGridColumnTraitEdit.h"
#include "controls/grid/CGridEditorComboBox.h"
#include "controls/grid/CGridEditorText.h"
#include "controls/grid/CGridListCtrlEx.h"
#include "controls/grid/CGridRowTraitXP.h"
#include "controls/grid/GridPlatform.h"
#include "framework/framework.h"
#include "tests/support/GridHost.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace gridtest {

using gridhost::EndEdit;
using gridhost::GridHost;
using gridhost::kListId;
using gridhost::kNextId;

// A grid whose hooks and members a test can reach.
class TestGrid : public CGridListCtrlEx {
public:
    std::function<bool(int, int, COLORREF&, COLORREF&)> cellColors;
    std::function<bool(int, int, LOGFONTW&)> cellFont;
    std::function<bool(int, LOGFONTW&)> rowFont;
    bool failInsertColumn = false;
    // NM_CLICK: the result the grid's handler leaves before it lets the parent have the notification.
    LRESULT clickResult = 0;

    bool QueryCellColors(int nRow, int nCol, COLORREF& text, COLORREF& back) override
    {
        return cellColors ? cellColors(nRow, nCol, text, back)
                          : CGridListCtrlEx::QueryCellColors(nRow, nCol, text, back);
    }
    bool QueryCellFont(int nRow, int nCol, LOGFONTW& font) override
    {
        return cellFont ? cellFont(nRow, nCol, font) : CGridListCtrlEx::QueryCellFont(nRow, nCol, font);
    }
    bool QueryRowFont(int nRow, LOGFONTW& font) override
    {
        return rowFont ? rowFont(nRow, font) : CGridListCtrlEx::QueryRowFont(nRow, font);
    }
    BOOL OnClick(NMHDR* pNMHDR, LRESULT* pResult) override
    {
        *pResult = clickResult;
        return CGridListCtrlEx::OnClick(pNMHDR, pResult);
    }
    LRESULT OnInsertColumn(WPARAM wParam, LPARAM lParam) override
    {
        return failInsertColumn ? -1 : CGridListCtrlEx::OnInsertColumn(wParam, lParam);
    }

    int focusColumn() const { return FocusColumn; }
    void setFocusColumn(int nCol) { FocusColumn = nCol; }
    int sortColumn() const { return SortColumn; }
    double marginFactor() const { return MarginFactor; }
    int tooltipMaxWidth() const { return TooltipMaxWidth; }
    const CString& emptyListText() const { return EmptyListText; }
    bool emptyTextShown() const { return EmptyTextShown; }
    CFont& cellFontObject() { return CellFont; }
    CFont& gridFontObject() { return GridFont; }
    void* dropTarget() const { return DropTarget; }
    void setExplorerThemed(bool themed) { ExplorerThemed = themed; }
    void setCellEditor(CWnd* pEditor) { CellEditor = pEditor; }
    void setStateStore(ColumnStateStore* pStore, bool owns)
    {
        StateStore = pStore;
        OwnsStateStore = owns;
    }
};

// Deletions of counted objects, in order, by id.
std::vector<int>& DeletionLog();

// A trait of class Base that logs its deletion and counts OnInsertColumn.
template <class Base>
class Counted : public Base {
public:
    explicit Counted(int id) : m_id(id) {}
    ~Counted() override { DeletionLog().push_back(m_id); }
    void OnInsertColumn(CGridListCtrlEx& owner, int nCol) override
    {
        ++insertCalls;
        insertColumn = nCol;
        Base::OnInsertColumn(owner, nCol);
    }
    int insertCalls = 0;
    int insertColumn = -1;

private:
    int m_id;
};

// The fixture of tests with a real grid: a shown dialog whose list is attached to a TestGrid.
class GridFixture : public gridhost::GridHostFixture<TestGrid> {
protected:
    void SetUp() override
    {
        DeletionLog().clear();
        GridHostFixture::SetUp();
    }
    // Columns "A".."..." of width 80 and rows "rN-cM".
    void Fill(int nCols, int nRows);
};

// A custom-draw record of the grid for a stage, row and column, drawing into hDC.
NMLVCUSTOMDRAW MakeCustomDraw(const CWnd& grid, DWORD stage, int nRow, int nCol, HDC hDC = nullptr);

// A white 200x100 memory bitmap to draw into.
class MemoryCanvas {
public:
    MemoryCanvas();
    ~MemoryCanvas();
    HDC dc() const { return m_hDC; }
    COLORREF Pixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

private:
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

// The lfHeight of a font handle (0 for none).
LONG FontHeight(HFONT hFont);
LONG FontHeight(HWND hWnd);  // of the window's WM_GETFONT

using uitest::PumpUntil;

}  // namespace gridtest

namespace gridtest {

// Objects allocated with new and not yet deleted, in the whole test program (the program's
// operator new and delete count them): a leak shows as a difference across a call.
long LiveAllocations();

}  // namespace gridtest
