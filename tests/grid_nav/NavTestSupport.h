// What the tests of the grid's columns, menus, focus cell, editing and tooltips share besides the
// grid test host: a grid whose hooks record their calls, a column-state store that logs what the
// grid asks of it, and popup menus recorded as they are shown.
#pragma once

#include "controls/grid/CGridColumnTraitCombo.h"
#include "controls/grid/CGridColumnTraitEdit.h"
#include "controls/grid/CGridColumnTraitText.h"
#include "controls/grid/CGridListCtrlEx.h"
#include "controls/grid/ColumnStateStore.h"
#include "framework/framework.h"
#include "tests/support/GridHost.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace navtest {

using gridhost::GridHost;
using gridhost::kListId;
using gridhost::MenuItem;
using gridhost::ReadMenu;

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

// A fixture with a shown dialog whose list is attached to a NavGrid.
class NavFixture : public gridhost::GridHostFixture<NavGrid> {
protected:
    // Recreates the dialog with another list style, added to LVS_REPORT (the grid is attached again).
    void Remake(DWORD listStyle, short listCx = 300) { MakeHost(LVS_REPORT | listStyle, listCx); }

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
};

using uitest::PumpUntil;

}  // namespace navtest
