// What the tests of sorting, copying, dragging and grouping share besides the grid test host: a
// record of the messages that reach the list view itself (below the grid), grids whose protected
// state a test can read, and helpers to read rows back.
#pragma once

#include "controls/grid/CGridListCtrlEx.h"
#include "controls/grid/GridPlatform.h"
#include "framework/framework.h"
#include "tests/support/GridHost.h"
#include "tests/support/Outside.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace sorttest {

using gridhost::Describe;
using gridhost::kListId;
using gridhost::MenuItem;

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

// A whole platform whose Windows version and common-controls answer a test chooses.
class PlatformOverride {
public:
    PlatformOverride(WORD osVersion, bool commonControls6);
    ~PlatformOverride();

private:
    GridPlatform m_previous;
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
    // What each real menu tracked through AfxTrackPopupMenu returned, in order.
    std::vector<UINT> returned;
    // Whether the last menu returned the choice it was steered to (a pointer event that arrives
    // late from the desktop can close the menu first).
    bool ChoseAsTold() const { return !returned.empty() && returned.back() == m_choice; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK FindMenu(HWND hWnd, LPARAM lParam);
    void OnMenuStart(HWND hWndMenu);
    void Steer(HWND hWndMenu);
    UINT_PTR m_timer = 0;
    HWND m_handled = nullptr;
    bool m_done = false;  // the choice was made on the menu shown
    UINT m_choice = 0;
    AfxPopupMenuHandler m_previousHandler;
};

using uitest::PumpUntil;

// ---- the user's mouse, through SendInput (uitest::PutCursorAt puts the cursor on a point) ----

// A mouse event at a screen point, the point given with it (not taken from wherever the cursor
// was last seen).
using outside::SendMouse;
// Presses and releases a button (MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP or the right button's)
// at a screen point given with both events, so that a pointer event the desktop replays late
// cannot move the click; it is handled when this thread next pumps.
void ClickMouse(POINT screen, DWORD down, DWORD up);

// How long a hand waits for the cursor or the drag to get where it was sent, at most: generous,
// since a busy machine delays both.
const DWORD kHandWaitMs = 15000;

// The user's hand: the left button pressed over one point, the mouse moved in steps to another,
// the button released (or Escape pressed) there once the drag shows it is over the place, from a
// thread of its own while the test's thread runs the drag.
class Hand {
public:
    Hand(POINT from, POINT to, bool escape, std::function<bool()> arrived);
    ~Hand();
    Hand(const Hand&) = delete;
    Hand& operator=(const Hand&) = delete;
    bool Done() const { return ::WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0; }

private:
    static DWORD WINAPI Run(LPVOID p);
    POINT m_from;
    POINT m_to;
    bool m_escape;
    std::function<bool()> m_arrived;
    HANDLE m_thread = nullptr;
};

// A hand's drag while this thread pumps its messages; returns when the hand is done.
void DragWithTheMouse(POINT from, POINT to, std::function<bool()> arrived, bool escape = false);

// The fixture: a shown dialog whose list is attached to a grid of type Grid, OLE initialised, the
// messages that reach the list view below the grid recorded.
template <class Grid>
class ListFixture : public gridhost::GridHostFixture<Grid> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        gridhost::GridHostFixture<Grid>::SetUp();
    }
    DWORD ListStyle() const override { return LVS_REPORT | LVS_SHOWSELALWAYS; }
    bool BeforeTheGrid(HWND hList) override { return PutUnderTheGrid(hList) && log.Install(hList); }
    // A layer put on the list view below the message record and the grid.
    virtual bool PutUnderTheGrid(HWND /*hList*/) { return true; }

    ListMessageLog log;
};

}  // namespace sorttest
