// What the tests of sorting, copying, dragging and grouping share: a dialog holding a list view as
// the port list page does, a record of the messages that reach the list view itself (below the
// grid), grids whose protected state a test can read, and helpers to read rows back.
#pragma once

#include "controls/grid/CGridListCtrlEx.h"
#include "controls/grid/GridPlatform.h"
#include "framework/framework.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace sorttest {

const int kListId = 1019;

// A dialog with the list (control 1019); it records the list's notifications that reach it.
class ListHost : public CDialog {
public:
    bool Make(DWORD listStyle = LVS_REPORT | LVS_SHOWSELALWAYS);

    std::vector<UINT> notifications;  // codes of WM_NOTIFY from the list, in order
    int Count(UINT code) const;
    // Called for LVN_GETEMPTYMARKUP and LVN_LINKCLICK when they reach the dialog.
    std::function<void(NMHDR*, LRESULT*)> onNotify;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnOK() override {}
    void OnCancel() override {}
};

// Messages as they reach the list view's own window procedure, after the grid's handling: the
// recorder sits below the grid's subclass and passes everything on unchanged.
class ListMessageLog {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    // Installs the recorder on hList (before the grid subclasses it).
    bool Install(HWND hList);
    void Clear() { messages.clear(); }
    // The recorded messages that are list-view group messages or WM_SETREDRAW, in order.
    std::vector<Message> GroupTraffic() const;
    size_t Count(UINT message) const;

    std::vector<Message> messages;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
    WNDPROC m_original = nullptr;
};

// A grid whose state a test can reach, and which records its sort-arrow requests.
class SortGrid : public CGridListCtrlEx {
public:
    std::vector<std::pair<int, bool>> arrows;
    void SetHeaderSortArrow(int nCol, bool bAscending) override
    {
        arrows.emplace_back(nCol, bAscending);
        CGridListCtrlEx::SetHeaderSortArrow(nCol, bAscending);
    }

    int sortColumn() const { return SortColumn; }
    bool sortAscending() const { return SortAscending; }
    void setFocusColumn(int nCol) { FocusColumn = nCol; }
    COleDropTargetWnd<CGridListCtrlEx>* dropTarget() const { return DropTarget; }
};

// Columns A, B, C... of width 80; rows "r0".."rN" in column 0, "rNb", "rNc"... in the others,
// item data 100 + N.
void Fill(CListCtrl& list, int nCols, int nRows);
// Column 0 of every row, top to bottom.
std::vector<std::wstring> Column0(CListCtrl& list);
std::vector<int> SelectedRows(CListCtrl& list);
void SelectRows(CListCtrl& list, const std::vector<int>& rows);
// The client point in the middle of a cell.
CPoint CellCenter(CListCtrl& list, int nRow, int nCol);
// The clipboard's CF_UNICODETEXT, "<none>" without one.
std::wstring ClipboardText();
bool PutOnClipboard(const std::wstring& text);

// Whether the common controls of this process show groups in a list view: false under Wine,
// whose list view has no group view at all.
bool ListViewHasGroups();

// A whole platform whose Windows version and common-controls answer a test chooses.
class PlatformOverride {
public:
    PlatformOverride(WORD osVersion, bool commonControls6);
    ~PlatformOverride();

private:
    GridPlatform m_previous;
};

// The items of a popup menu: id (0 for a separator), text, state flags.
struct MenuItem {
    UINT id;
    std::wstring text;
    UINT state;
    bool operator==(const MenuItem& other) const { return id == other.id && text == other.text; }
};

// Watches the thread's next popup menus: records their items, then chooses the item with the
// given id (0: dismisses the menu) as the user would with the keyboard.
class MenuSpy {
public:
    MenuSpy();
    ~MenuSpy();
    MenuSpy(const MenuSpy&) = delete;
    MenuSpy& operator=(const MenuSpy&) = delete;

    void Choose(UINT id) { m_choice = id; }
    // Called while each menu is shown, before the choice is made.
    std::function<void()> onShow;
    // Menus seen, in order.
    std::vector<std::vector<MenuItem>> menus;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK FindMenu(HWND hWnd, LPARAM lParam);
    void OnMenuStart(HWND hWndMenu);
    UINT_PTR m_timer = 0;
    HWND m_handled = nullptr;
    UINT m_choice = 0;
};

std::string Describe(const std::vector<MenuItem>& menu);

// Pumps until the condition holds, or about two seconds have passed; returns the condition.
bool PumpUntil(const std::function<bool()>& condition);

// The fixture: a shown dialog whose list is attached to a grid of type Grid, OLE initialised.
template <class Grid>
class ListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(host.Make(ListStyle()));
        ASSERT_TRUE(log.Install(::GetDlgItem(host.m_hWnd, kListId)));
        ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
        uitest::PumpMessages();
    }
    void TearDown() override
    {
        if (host.m_hWnd != nullptr)
            host.DestroyWindow();
        uitest::PumpMessages();
    }
    virtual DWORD ListStyle() const { return LVS_REPORT | LVS_SHOWSELALWAYS; }

    ListHost host;
    ListMessageLog log;
    Grid grid;
};

}  // namespace sorttest
