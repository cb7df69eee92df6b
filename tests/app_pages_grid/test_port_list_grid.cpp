// The "Port Info" page on the grid, inside the running main dialog against the simulated machine:
// its columns' editors, cells edited in place and written by Apply, sorting before Apply, the
// header menu, and OLE started with the program.
#include "tests/app_pages/PagesTestSupport.h"

#include "app/PortListColumns.h"
#include "app/SarventoCtlApp.h"
#include "controls/grid/CGridColumnTraitCombo.h"
#include "controls/grid/CGridColumnTraitEdit.h"
#include "controls/grid/CGridColumnTraitText.h"
#include "controls/grid/CGridRowTraitXP.h"
#include "tests/grid_sort/SortTestSupport.h"
#include "tests/support/Cursor.h"

using uitest::Do;
using uitest::WaitUntil;

namespace {

class PortListGridTest : public PagesTest {};

CGridListCtrlGroups& PortGrid()
{
    return g_portInfoDlg.m_list;
}

HWND PortListWindow()
{
    return PortListWnd();
}

// The client point in the middle of a cell of the port list.
CPoint Cell(int row, int column)
{
    CRect rect;
    PortGrid().GetSubItemRect(row, column, LVIR_LABEL, rect);
    return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// A click at a client point with the real cursor put there first: a pointer move that the
// desktop hands on meanwhile (windows appear under the cursor) then comes from the click's own
// point, and the list view or the header does not take the press for the start of a drag.
void ClickWithTheCursorAt(HWND hWnd, CPoint at)
{
    POINT screen = at;
    ::ClientToScreen(hWnd, &screen);
    EXPECT_TRUE(uitest::PutCursorAt(hWnd, screen));
    uitest::ClickAt(hWnd, at.x, at.y);
}

// Two clicks on a cell, as the user makes them: the first focuses the cell, the second edits it.
void ClickCellTwice(int row, int column)
{
    const CPoint at = Cell(row, column);
    ClickWithTheCursorAt(PortListWindow(), at);
    uitest::PumpMessages();
    ClickWithTheCursorAt(PortListWindow(), at);
}

HWND Editor()
{
    return PortGrid().GetCellEditor() != nullptr ? PortGrid().GetCellEditor()->m_hWnd : nullptr;
}

// The edit field a user types into: the editor itself, or the edit box of a combo editor.
HWND EditField()
{
    HWND hEditor = Editor();
    if (hEditor == nullptr)
        return nullptr;
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (::GetComboBoxInfo(hEditor, &info) && info.hwndItem != nullptr)
        return info.hwndItem;
    return hEditor;
}

// Replaces the editor's text as typing does (the editor opens with its whole text selected).
void TypeIntoEditor(const wchar_t* text)
{
    HWND hField = EditField();
    ASSERT_NE(nullptr, hField);
    ::SendMessageW(hField, EM_SETSEL, 0, -1);
    uitest::TypeText(hField, text);
}

void ClickApply(CWnd& dlg)
{
    uitest::Click(::GetDlgItem(dlg.m_hWnd, IDC_BTN_APPLY));
}

std::wstring PortString(unsigned com, const wchar_t* name)
{
    std::wstring text = L"<missing>";
    ReadPortString(com, name, text);
    return text;
}

DWORD PortDword(unsigned com, const wchar_t* name)
{
    DWORD value = 0xDEADBEEF;
    ReadPortDword(com, name, value);
    return value;
}

std::wstring Text(int row, int column)
{
    return uitest::ListViewCellText(PortListWindow(), row, column);
}

// Saves what the main dialog shows, then keeps it on the screen for SCREENSHOT_HOLD_MS (0 when
// unset), the loop running, so that a person can take a picture of the whole display. The
// pictures are for people; what the test holds true is in its own checks.
void Screenshot(const wchar_t* name)
{
    ::RedrawWindow(g_hMainWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    uitest::SaveScreenshot(g_hMainWnd, std::wstring(name) + L".png");
    const wchar_t* hold = _wgetenv(L"SCREENSHOT_HOLD_MS");
    const DWORD holdMs = hold != nullptr ? static_cast<DWORD>(wcstoul(hold, nullptr, 10)) : 0;
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < holdMs;) {
        uitest::PumpMessages();
        ::Sleep(10);
    }
}

}  // namespace

TEST_F(PortListGridTest, TheListIsTheGroupingGridWithAnEditorForEveryEditableColumn)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    Run({Do([](CWnd&) {
        CGridListCtrlGroups& grid = PortGrid();
        ASSERT_EQ(&grid, CWnd::FromHandlePermanent(PortListWindow()));
        EXPECT_NE(nullptr, dynamic_cast<CGridRowTraitXP*>(grid.GetRowTrait()));
        ASSERT_EQ(PORTCOL_COUNT, grid.GetColumnTraitCount());
        EXPECT_NE(nullptr, dynamic_cast<CGridColumnTraitText*>(grid.GetColumnTrait(PORTCOL_NO)));
        EXPECT_NE(nullptr, dynamic_cast<CGridColumnTraitText*>(grid.GetColumnTrait(PORTCOL_COMPORT)));
        for (int column : {PORTCOL_ALIAS, PORTCOL_IPADDRESS, PORTCOL_PORT})
            EXPECT_NE(nullptr, dynamic_cast<CGridColumnTraitEdit*>(grid.GetColumnTrait(column))) << column;

        auto* pTrigger = dynamic_cast<CGridColumnTraitCombo*>(grid.GetColumnTrait(PORTCOL_TRIGGER));
        ASSERT_NE(nullptr, pTrigger);
        ASSERT_EQ(255u, pTrigger->ComboItemList.size());
        EXPECT_EQ(0u, pTrigger->ComboItemList.front().first);
        EXPECT_EQ(L"1", std::wstring(pTrigger->ComboItemList.front().second.GetString()));
        EXPECT_EQ(254u, pTrigger->ComboItemList.back().first);
        EXPECT_EQ(L"255", std::wstring(pTrigger->ComboItemList.back().second.GetString()));
        auto* pProtocol = dynamic_cast<CGridColumnTraitCombo*>(grid.GetColumnTrait(PORTCOL_PROTOCOL));
        ASSERT_NE(nullptr, pProtocol);
        ASSERT_EQ(2u, pProtocol->ComboItemList.size());
        EXPECT_EQ(L"COM", std::wstring(pProtocol->ComboItemList[0].second.GetString()));
        EXPECT_EQ(1u, pProtocol->ComboItemList[1].first);
        EXPECT_EQ(L"Encryption", std::wstring(pProtocol->ComboItemList[1].second.GetString()));

        // The rows are drawn in the list's font scaled by 1.2; the header keeps the plain one.
        LOGFONTW rows = {};
        LOGFONTW header = {};
        ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(grid.SendMessage(WM_GETFONT)), sizeof rows, &rows));
        ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(grid.GetHeaderCtrl()->SendMessage(WM_GETFONT)), sizeof header,
                                 &header));
        EXPECT_EQ(static_cast<LONG>(header.lfHeight * 1.2), rows.lfHeight);
    })});
}

TEST_F(PortListGridTest, AnAliasTypedIntoItsCellIsWrittenByApply)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4}));
    Run({Do([](CWnd&) { ClickCellTwice(1, PORTCOL_ALIAS); }), WaitUntil([](CWnd&) { return Editor() != nullptr; }),
         Do([](CWnd&) {
             EXPECT_TRUE(::IsWindowVisible(Editor()));
             TypeIntoEditor(L"Kitchen");
         }),
         WaitUntil([](CWnd&) { return uitest::WindowText(Editor()) == L"Kitchen"; }),
         Do([](CWnd&) { Screenshot(L"port_list_editor"); }),
         Do([](CWnd&) { EXPECT_EQ(L"", PortString(4, L"Alias")) << "nothing is written before Apply"; }),
         Do(ClickApply), WaitUntil([](CWnd&) { return PortString(4, L"Alias") == L"Kitchen"; }), Do([](CWnd&) {
             EXPECT_EQ(nullptr, Editor());
             EXPECT_EQ(L"Kitchen", Text(1, PORTCOL_ALIAS)) << "the reloaded list shows what was stored";
             std::wstring device;
             EXPECT_TRUE(ReadDeviceString(4, L"Alias", device));
             EXPECT_EQ(L"Kitchen", device);
             EXPECT_EQ(L"", PortString(2, L"Alias"));
         })});
}

TEST_F(PortListGridTest, TheComboAndTextEditorsOfARowAreWrittenTogether)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    Run({Do([](CWnd&) { ClickCellTwice(0, PORTCOL_TRIGGER); }), WaitUntil([](CWnd&) { return Editor() != nullptr; }),
         Do([](CWnd&) { TypeIntoEditor(L"17"); }), Do([](CWnd&) { ClickCellTwice(0, PORTCOL_IPADDRESS); }),
         WaitUntil([](CWnd&) { return Editor() != nullptr && Text(0, PORTCOL_TRIGGER) == L"17"; }),
         Do([](CWnd&) { TypeIntoEditor(L"10.5"); }), Do([](CWnd&) { ClickCellTwice(0, PORTCOL_PORT); }),
         WaitUntil([](CWnd&) { return Editor() != nullptr && Text(0, PORTCOL_IPADDRESS) == L"10.5"; }),
         Do([](CWnd&) { TypeIntoEditor(L"4711x"); }), Do([](CWnd&) { ClickCellTwice(0, PORTCOL_PROTOCOL); }),
         WaitUntil([](CWnd&) { return EditField() != nullptr && Text(0, PORTCOL_PORT) == L"4711x"; }),
         // The protocol is chosen from the list: the next entry after "COM".
         Do([](CWnd&) { uitest::PressKey(EditField(), VK_DOWN); }),
         WaitUntil([](CWnd&) { return uitest::WindowText(EditField()) == L"Encryption"; }), Do(ClickApply),
         WaitUntil([](CWnd&) { return PortDword(3, L"Protocol") == 1; }), Do([](CWnd&) {
             EXPECT_EQ(17u, PortDword(3, L"TxTriggerLevel"));
             EXPECT_EQ(0x0A000005u, PortDword(3, L"IPaddress"));
             EXPECT_EQ(4711u, PortDword(3, L"Port"));
             EXPECT_EQ((std::vector<std::wstring>{L"   1", L"COM3", L"17", L"", L"10.0.0.5", L"4711", L"Encryption"}),
                       (std::vector<std::wstring>{Text(0, 0), Text(0, 1), Text(0, 2), Text(0, 3), Text(0, 4),
                                                  Text(0, 5), Text(0, 6)}));
         })});
}

TEST_F(PortListGridTest, RevertDropsWhatWasTyped)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    Run({Do([](CWnd&) { ClickCellTwice(0, PORTCOL_ALIAS); }), WaitUntil([](CWnd&) { return Editor() != nullptr; }),
         Do([](CWnd&) { TypeIntoEditor(L"Garage"); }),
         Do([](CWnd& dlg) { uitest::Click(::GetDlgItem(dlg.m_hWnd, IDC_BTN_REVERT)); }),
         WaitUntil([](CWnd&) { return Editor() == nullptr; }), Do([](CWnd&) {
             EXPECT_EQ(L"", Text(0, PORTCOL_ALIAS));
             EXPECT_EQ(L"", PortString(2, L"Alias"));
         })});
}

TEST_F(PortListGridTest, AfterAHeaderSortApplyWritesEachRowToItsOwnPort)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4, 9}));
    const auto clickHeader = [](int column) {
        CHeaderCtrl* pHeader = PortGrid().GetHeaderCtrl();
        RECT item = {};
        pHeader->GetItemRect(column, &item);
        ClickWithTheCursorAt(pHeader->m_hWnd, CPoint((item.left + item.right) / 2, (item.top + item.bottom) / 2));
    };
    Run({Do([&](CWnd&) { clickHeader(PORTCOL_COMPORT); }), Do([&](CWnd&) { clickHeader(PORTCOL_COMPORT); }),
         WaitUntil([](CWnd&) { return Text(0, PORTCOL_COMPORT) == L"COM9"; }), Do([](CWnd&) {
             EXPECT_EQ(L"COM4", Text(1, PORTCOL_COMPORT));
             EXPECT_EQ(L"COM2", Text(2, PORTCOL_COMPORT));
             EXPECT_EQ(L"   3", Text(0, PORTCOL_NO)) << "the row keeps its number";
             Screenshot(L"port_list_sorted");
             ClickCellTwice(0, PORTCOL_ALIAS);
         }),
         WaitUntil([](CWnd&) { return Editor() != nullptr; }), Do([](CWnd&) { TypeIntoEditor(L"Nine"); }),
         Do(ClickApply), WaitUntil([](CWnd&) { return PortString(9, L"Alias") == L"Nine"; }), Do([](CWnd&) {
             EXPECT_EQ(L"", PortString(2, L"Alias"));
             EXPECT_EQ(L"", PortString(4, L"Alias"));
             EXPECT_EQ(L"COM2", Text(0, PORTCOL_COMPORT)) << "the reload shows the table's order";
         })});
}

TEST_F(PortListGridTest, TheHeaderMenuOffersGroupingByTheColumnWithCommonControls6)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    sorttest::MenuSpy spy;
    std::unique_ptr<sorttest::PlatformOverride> platform;
    const auto rightClickHeader = [](int column) {
        CHeaderCtrl* pHeader = PortGrid().GetHeaderCtrl();
        RECT item = {};
        pHeader->GetItemRect(column, &item);
        CPoint at((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        pHeader->ClientToScreen(&at);
        // What a right click on the header sends the list.
        PortGrid().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pHeader->m_hWnd), MAKELPARAM(at.x, at.y));
    };
    Run({// The common controls here are older than version 6: the grid's own header menu.
         Do([&](CWnd&) { rightClickHeader(PORTCOL_PORT); }), Do([&](CWnd&) {
             ASSERT_EQ(1u, spy.menus.size());
             EXPECT_EQ(
                 "4 No [checked]; 5 COM Port [checked]; 6 Trigger [checked]; 7 Alias [checked]; "
                 "8 IP Address [checked]; 9 Port [checked]; 10 Protocol [checked]; ",
                 sorttest::Describe(spy.menus[0]));
             platform = std::make_unique<sorttest::PlatformOverride>(0x0601, true);
             spy.onShow = [] { Screenshot(L"port_list_menu"); };
             rightClickHeader(PORTCOL_PORT);
         }),
         Do([&](CWnd&) {
             ASSERT_EQ(2u, spy.menus.size());
             EXPECT_EQ(
                 "3 Group by: Port; 0 -; 6 No [checked]; 7 COM Port [checked]; 8 Trigger [checked]; "
                 "9 Alias [checked]; 10 IP Address [checked]; 11 Port [checked]; 12 Protocol [checked]; ",
                 sorttest::Describe(spy.menus[1]));
             platform.reset();
         })});
}

// The whole start-up: OLE is running on the user-interface thread while the main dialog is, so
// the port list is a drop target; after the program it is ended again.
TEST(PortListStartUp, OleRunsOnTheUserInterfaceThreadWhileTheProgramRuns)
{
    CSVT_SarventoCtlApp app;
    uitest::UiHarness ui;
    HRESULT apartment = S_OK;
    HRESULT registration = S_OK;
    ui.OnNextModal({Do([&](CWnd&) {
        // A thread in OLE's single-threaded apartment cannot join the multithreaded one.
        apartment = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(apartment))
            ::CoUninitialize();
        COleDropTarget other;
        registration = ::RegisterDragDrop(PortListWnd(), other.GetInterface());
        if (SUCCEEDED(registration))
            ::RevokeDragDrop(PortListWnd());
    })});
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(RPC_E_CHANGED_MODE, apartment);
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, registration) << "the port list is registered";

    AfxOleTerm();  // what the library's entry does after InitInstance
    const HRESULT after = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(S_OK, after) << "OLE was ended";
    if (SUCCEEDED(after))
        ::CoUninitialize();
}
