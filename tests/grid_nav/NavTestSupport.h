// What the tests of the grid's columns, menus, focus cell, editing and tooltips share: a dialog
// holding the grid as the port list page does (a list of the template, attached by subclassing)
// that records the notifications reaching its own map, a grid whose hooks record their calls, a
// column-state store that logs what the grid asks of it, and popup menus read as they are shown.
#pragma once

#include "controls/grid/CGridColumnTraitCombo.h"
#include "controls/grid/CGridColumnTraitEdit.h"
#include "controls/grid/CGridColumnTraitText.h"
#include "controls/grid/CGridListCtrlEx.h"
#include "controls/grid/ColumnStateStore.h"
#include "framework/framework.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace navtest {

const int kListId = 1019;

// One LVN_ENDLABELEDITW as the dialog's own handler saw it.
struct EndEditSeen {
    UINT mask = 0;
    int item = -1;
    int subItem = -1;
    std::wstring text;           // empty when the record had no text
    std::wstring cellTextThen;   // the cell's text when the handler ran
    LRESULT resultOnEntry = -1;  // what the grid left as the result before the dialog's handler
};

// A dialog with the list (control 1019, LVS_REPORT plus the style given) and an edit box after it.
class NavHost : public CDialog {
public:
    bool Make(DWORD listStyle = 0, short listCx = 300);

    std::vector<EndEditSeen> endEdits;
    int beginEdits = 0;
    LRESULT beginEditAnswer = 0;  // 1 refuses every edit
    LPARAM beginEditData = 0;     // the item data the last LVN_BEGINLABELEDITW carried
    int keyDowns = 0;             // LVN_KEYDOWN
    int clicks = 0;               // NM_CLICK
    int killFocusNotes = 0;       // NM_KILLFOCUS

protected:
    void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnKeyDownList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnClickList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnKillFocusList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnOK() override {}
    void OnCancel() override {}

    DECLARE_MESSAGE_MAP()
};

// One call of a menu hook.
struct MenuCall {
    std::string what;  // "grid", "cell", "header"
    CPoint point;
    int row = -1;
    int col = -1;
};

// A grid whose hooks record their calls and whose members a test can read.
class NavGrid : public CGridListCtrlEx {
public:
    std::vector<MenuCall> menuCalls;
    std::vector<std::pair<int, bool>> ownerDataChecks;  // SetOwnerDataRowCheck calls
    std::map<int, bool> checkedRows;                    // IsOwnerDataRowChecked answers
    int copies = 0;                                     // CopySelectionToClipboard calls
    bool allowTooltips = true;
    std::function<bool(int, int, CString&)> cellText;  // QueryCellText
    std::function<bool(int, int, int&)> cellImage;     // QueryCellImage
    std::vector<CPoint> toolTextAsked;                 // where the tip asked for its text (screen)

    void ShowGridMenu(CWnd* pWnd, CPoint point) override;
    void ShowCellMenu(CWnd* pWnd, CPoint point, int nRow, int nCol) override;
    void ShowHeaderMenu(CWnd* pWnd, CPoint point, int nCol) override;
    void SetOwnerDataRowCheck(int nRow, bool bChecked) override;
    bool IsOwnerDataRowChecked(int nRow) override;
    void CopySelectionToClipboard() override;
    bool AllowCellTooltip(CPoint pt, TOOLINFOW* pTI) override;
    bool QueryCellText(int nRow, int nCol, CString& text) override;
    bool QueryCellImage(int nRow, int nCol, int& nImage) override;
    BOOL OnToolNeedText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult) override;

    int focusColumn() const { return FocusColumn; }
    void setFocusColumn(int nCol) { FocusColumn = nCol; }
    CWnd* cellEditor() const { return CellEditor; }
    int sortColumn() const { return SortColumn; }
    bool sortAscending() const { return SortAscending; }
    void setSort(int nCol, bool bAscending)
    {
        SortColumn = nCol;
        SortAscending = bAscending;
    }
    const CString& typeAheadText() const { return TypeAheadText; }
    int typeAheadRow() const { return TypeAheadRow; }
    int typeAheadColumn() const { return TypeAheadColumn; }
    int typeAheadRepeat() const { return TypeAheadRepeat; }
    long long typeAheadTime() const { return TypeAheadTime; }
    int tooltipMaxWidth() const { return TooltipMaxWidth; }
    ColumnStateStore* stateStore() const { return StateStore; }
    bool ownsStateStore() const { return OwnsStateStore; }
    void setStateStore(ColumnStateStore* pStore, bool bOwns)
    {
        StateStore = pStore;
        OwnsStateStore = bOwns;
    }
};

// A trait of class Base that counts FinishCellEdit.
template <class Base>
class Finishing : public Base {
public:
    void FinishCellEdit() override
    {
        ++finishes;
        Base::FinishCellEdit();
    }
    int finishes = 0;
};

// A column-state store that keeps its values in memory and logs every call in order.
class FakeStore : public ColumnStateStore {
public:
    explicit FakeStore(std::vector<std::string>* pLog = nullptr, bool* pDeleted = nullptr);
    ~FakeStore() override;

    int GetIntValue(LPCWSTR pszKey, int nDefault) override;
    void SetIntValue(LPCWSTR pszKey, int nValue) override;
    void RemoveValues() override;
    ColumnStateStore* GetDefaultState() override;
    bool HasDefaultState() override;
    void ResetToDefault() override;
    void GetProfiles(CStringArray& profiles) override;
    void GetActiveProfile(CString& profile) override;
    void SelectProfile(LPCWSTR pszProfile) override;

    std::map<std::wstring, int> values;
    std::vector<std::string> ownLog;
    std::vector<std::string>* log;
    bool hasDefault = false;
    FakeStore* defaultState = nullptr;  // owned
    std::vector<std::wstring> profiles;
    std::wstring activeProfile;

private:
    bool* m_pDeleted;
};

// One item of a popup menu as it was shown.
struct MenuItem {
    UINT id = 0;
    std::wstring text;
    bool separator = false;
    bool checked = false;
    bool disabled = false;        // MF_DISABLED
    std::vector<MenuItem> popup;  // the items of a popup item
};

// Reads popup menus as they are shown and answers with a chosen id (0: dismissed).
class MenuRecorder {
public:
    MenuRecorder();
    ~MenuRecorder();

    UINT answer = 0;
    std::vector<std::vector<MenuItem>> menus;
    std::vector<AfxPopupMenuCall> calls;

private:
    AfxPopupMenuHandler m_old;
};

std::vector<MenuItem> ReadMenu(HMENU hMenu);

// A fixture with a shown dialog whose list is attached to a NavGrid.
class NavFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Recreates the dialog with another list style (the grid is attached again).
    void Remake(DWORD listStyle, short listCx = 300);

    // Columns with the given headings, each of the given width, its index as subitem number and
    // the grid's default text trait.
    void AddColumns(const std::vector<std::wstring>& headings, int width = 60);
    void AddRows(int nRows);  // texts "rN-cM"
    // The display order, position -> column.
    std::vector<int> Order();
    // The client point at the middle of a cell (its column's bounds).
    CPoint CellCenter(int nRow, int nCol);
    // A WM_KEYDOWN handled by the grid as the queue delivers it (pre-translation, translation).
    void Key(UINT vk);
    // A WM_CHAR sent to the grid.
    void Char(wchar_t ch);

    NavHost host;
    NavGrid grid;
};

using uitest::PumpUntil;

}  // namespace navtest
