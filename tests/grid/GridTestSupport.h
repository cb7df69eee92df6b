// What the grid tests share: a dialog that holds a grid as the port list page does (a list view of
// the template, attached by subclassing) and records the notifications that reach its own map, a
// grid whose hooks a test can set, traits that count their deletion, and custom-draw records.
#pragma once

#include "controls/grid/CGridColumnTraitCombo.h"
#include "controls/grid/CGridColumnTraitEdit.h"
#include "controls/grid/CGridEditorComboBox.h"
#include "controls/grid/CGridEditorText.h"
#include "controls/grid/CGridListCtrlEx.h"
#include "controls/grid/CGridRowTraitXP.h"
#include "controls/grid/GridPlatform.h"
#include "framework/framework.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace gridtest {

const int kListId = 1019;
const int kNextId = 1020;  // an edit box after the list in the tab order

// One LVN_ENDLABELEDITW as the list's parent received it.
struct EndEdit {
    UINT mask = 0;
    int item = -1;
    int subItem = -1;
    bool textNull = true;
    std::wstring text;
    int cchTextMax = 0;
    LPARAM lParam = 0;
    int image = 0;
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
};

// The port list page's situation: a dialog with the list (control 1019) and an edit box after it.
class GridHost : public CDialog {
public:
    // Creates and shows the dialog; listStyle is added to WS_TABSTOP | WS_BORDER.
    bool Make(DWORD listStyle = LVS_REPORT, const wchar_t* font = L"MS Shell Dlg", WORD points = 8);

    std::vector<EndEdit> endEdits;
    int customDrawSeen = 0;
    int clicksSeen = 0;
    LRESULT clickResultSeen = -1;
    int dispInfoSeen = 0;

protected:
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    void OnOK() override {}
    void OnCancel() override {}

    DECLARE_MESSAGE_MAP()
};

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
class GridFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Columns "A".."..." of width 80 and rows "rN-cM".
    void Fill(int nCols, int nRows);

    GridHost host;
    TestGrid grid;
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
