// What the grid test programs share: a dialog that holds a list view as the port list page does
// (control 1019 of the template, an edit box after it) and records the list's notifications that
// reach it, a fixture that attaches a grid to that list, and a reader of popup menus.
#pragma once

#include "framework/framework.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gridhost {

const int kListId = 1019;
const int kNextId = 1020;  // the edit box after the list in the tab order

// One LVN_ENDLABELEDITW as the dialog received it.
struct EndEdit {
    UINT mask = 0;
    int item = -1;
    int subItem = -1;
    bool textNull = true;
    std::wstring text;  // empty when the record had no text
    int cchTextMax = 0;
    LPARAM lParam = 0;
    int image = 0;
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    std::wstring cellTextThen;   // the cell's text when the dialog got the notification
    LRESULT resultOnEntry = -1;  // what the grid left as the result before the dialog saw it
};

// The port list page's situation: a dialog with the list and an edit box after it. A notification
// of the list that its own object (the grid) does not take reaches OnNotify, which records it.
class GridHost : public CDialog {
public:
    // Creates and shows the dialog; listStyle is added to WS_TABSTOP | WS_BORDER, the list is
    // listCx dialog units wide.
    bool Make(DWORD listStyle = LVS_REPORT, short listCx = 300, const wchar_t* font = L"MS Shell Dlg", WORD points = 8);

    std::vector<UINT> notifications;  // codes of the list's notifications that reached the dialog
    int Count(UINT code) const;

    std::vector<EndEdit> endEdits;
    int beginEdits = 0;
    LRESULT beginEditAnswer = 0;  // 1 refuses every edit
    LPARAM beginEditData = 0;     // the item data the last LVN_BEGINLABELEDITW carried
    int customDrawSeen = 0;
    int clicks = 0;                // NM_CLICK
    LRESULT clickResultSeen = -1;  // the result the grid left on the last NM_CLICK
    int dispInfoSeen = 0;
    int keyDowns = 0;        // LVN_KEYDOWN
    int killFocusNotes = 0;  // NM_KILLFOCUS

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnOK() override {}
    void OnCancel() override {}
};

// The fixture of tests with a real grid: a shown dialog whose list is attached to a Grid.
template <class Grid>
class GridHostFixture : public ::testing::Test {
protected:
    void SetUp() override { MakeHost(ListStyle()); }
    void TearDown() override
    {
        if (host.m_hWnd != nullptr)
            host.DestroyWindow();
        uitest::PumpMessages();
        AfxCleanupTempMap();
    }
    virtual DWORD ListStyle() const { return LVS_REPORT; }
    // Layers put on the list view before the grid subclasses it, so that they sit below the grid.
    virtual bool BeforeTheGrid(HWND /*hList*/) { return true; }

    // Makes the dialog (again, with another list) and attaches the grid to its list.
    void MakeHost(DWORD listStyle, short listCx = 300)
    {
        if (host.m_hWnd != nullptr) {
            host.DestroyWindow();
            uitest::PumpMessages();
        }
        ASSERT_TRUE(host.Make(listStyle, listCx));
        ASSERT_TRUE(BeforeTheGrid(::GetDlgItem(host.m_hWnd, kListId)));
        ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
        uitest::PumpMessages();
    }

    GridHost host;
    Grid grid;
};

// One item of a popup menu as it was shown.
struct MenuItem {
    UINT id = 0;        // 0 for a separator
    std::wstring text;  // "-" for a separator
    UINT state = 0;     // MFS_*
    bool separator = false;
    bool checked = false;
    bool disabled = false;        // MF_DISABLED
    std::vector<MenuItem> popup;  // the items of a popup item
    bool operator==(const MenuItem& other) const { return id == other.id && text == other.text; }
};

std::vector<MenuItem> ReadMenu(HMENU hMenu);
// "id text [checked] [disabled]; " for each item.
std::string Describe(const std::vector<MenuItem>& menu);

}  // namespace gridhost
