// The "Port Info" page inside the running main dialog: what it lists, what Apply writes back,
// what Revert restores, and its set-up, layout and keys.
#include "tests/app_pages/PagesTestSupport.h"

#include "app/PortListColumns.h"
#include "app/PortSettings.h"
#include "app/RegKeyTree.h"
#include "contract/DriverInterface.h"
#include "controls/grid/CGridColumnTraitCombo.h"
#include "tests/support/Pixels.h"
#include "tests/support/SimOddPorts.h"

using uitest::Do;
using uitest::WaitUntil;

namespace {

class PortListPageTest : public PagesTest {};

std::vector<std::wstring> Row(HWND hList, int row)
{
    std::vector<std::wstring> cells;
    for (int column = 0; column < PORTCOL_COUNT; ++column)
        cells.push_back(uitest::ListViewCellText(hList, row, column));
    return cells;
}

using Cells = std::vector<std::wstring>;

DWORD PortDword(unsigned com, const wchar_t* name)
{
    DWORD value = 0xDEADBEEF;
    EXPECT_TRUE(ReadPortDword(com, name, value)) << "COM" << com << " " << uitest::Narrow(name);
    return value;
}

DWORD DeviceDword(unsigned com, const wchar_t* name)
{
    DWORD value = 0xDEADBEEF;
    EXPECT_TRUE(ReadDeviceDword(com, name, value)) << "COM" << com << " device " << uitest::Narrow(name);
    return value;
}

void ClickApply(CWnd& dlg)
{
    uitest::Click(::GetDlgItem(dlg.m_hWnd, IDC_BTN_APPLY));
}

// Pixels of the list's empty part, below its last row, that are not the list's background: what
// the list window shows now, read back from it.
int StalePixelsBelowTheRows(HWND hList)
{
    CRect client, lastRow;
    ::GetClientRect(hList, &client);
    lastRow.left = LVIR_BOUNDS;
    const int rows = uitest::ListViewRowCount(hList);
    if (rows == 0 || !::SendMessageW(hList, LVM_GETITEMRECT, rows - 1, reinterpret_cast<LPARAM>(&lastRow)))
        return -1;
    const std::vector<COLORREF> pixels =
        uitest::WindowPixels(hList, {client.left, lastRow.bottom, client.right, client.bottom});
    if (pixels.empty())
        return -1;
    const COLORREF back = static_cast<COLORREF>(::SendMessageW(hList, LVM_GETBKCOLOR, 0, 0)) & 0xFFFFFF;
    int stale = 0;
    for (COLORREF pixel : pixels)
        stale += pixel != back ? 1 : 0;
    return stale;
}

}  // namespace

TEST_F(PortListPageTest, ListsThePresentPortsInKeyOrderWithTheirSettings)
{
    ASSERT_TRUE(simtest::CreatePorts({9, 2, 4}));
    Run({Do([](CWnd&) {
        HWND hList = PortListWnd();
        EXPECT_EQ(
            (std::vector<std::wstring>{L"No", L"COM Port", L"Trigger", L"Alias", L"IP Address", L"Port", L"Protocol"}),
            HeaderTitles(hList));
        EXPECT_EQ(DWORD(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE),
                  static_cast<DWORD>(::SendMessageW(hList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)));
        ASSERT_EQ(3, uitest::ListViewRowCount(hList));
        EXPECT_EQ((Cells{L"   1", L"COM2", L"255", L"", L"0.0.0.0", L"4001", L"COM"}), Row(hList, 0));
        EXPECT_EQ((Cells{L"   2", L"COM4", L"255", L"", L"0.0.0.0", L"4001", L"COM"}), Row(hList, 1));
        EXPECT_EQ((Cells{L"   3", L"COM9", L"255", L"", L"0.0.0.0", L"4001", L"COM"}), Row(hList, 2));
        EXPECT_EQ(3, g_deviceCount);
    })});
}

TEST_F(PortListPageTest, AnEmptyTableGivesAnEmptyListAndApplyOnlyReloads)
{
    Run({Do([](CWnd& dlg) {
             EXPECT_EQ(0, uitest::ListViewRowCount(PortListWnd()));
             EXPECT_EQ(0, g_deviceCount);
             ClickApply(dlg);
         }),
         Do([](CWnd&) {
             EXPECT_EQ(0, uitest::ListViewRowCount(PortListWnd()));
             HKEY hKey = nullptr;
             EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                                      L"SYSTEM\\CurrentControlSet\\Services\\svtmf3\\Parameters\\0001",
                                                      0, KEY_READ, &hKey));
         })});
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// A level outside 1 to 255 shows as 255, which the next Apply stores; the combo offers 1 to 255.
TEST_F(PortListPageTest, ShowsAnOutOfRangeTriggerLevelAs255AndApplyStoresIt)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4}));
    ASSERT_TRUE(WritePortDword(2, L"TxTriggerLevel", 0));
    ASSERT_TRUE(WritePortDword(4, L"TxTriggerLevel", 300));
    Run({Do([](CWnd& dlg) {
             const auto* trigger =
                 dynamic_cast<CGridColumnTraitCombo*>(g_portInfoDlg.m_list.GetColumnTrait(PORTCOL_TRIGGER));
             ASSERT_NE(nullptr, trigger);
             ASSERT_EQ(255u, trigger->ComboItemList.size());
             EXPECT_STREQ(L"1", trigger->ComboItemList.front().second.GetString());
             EXPECT_STREQ(L"255", trigger->ComboItemList.back().second.GetString());
             EXPECT_EQ(L"255", uitest::ListViewCellText(PortListWnd(), 0, PORTCOL_TRIGGER));
             EXPECT_EQ(L"255", uitest::ListViewCellText(PortListWnd(), 1, PORTCOL_TRIGGER));
             EXPECT_EQ(0u, PortDword(2, L"TxTriggerLevel"));
             ClickApply(dlg);
         }),
         Do([](CWnd&) {
             EXPECT_EQ(255u, PortDword(2, L"TxTriggerLevel"));
             EXPECT_EQ(255u, PortDword(4, L"TxTriggerLevel"));
         })});
}

// A ComPort value that is not the port's own number never decides where Apply writes: each row
// goes to its own subkey and device, and no other subkey or device key comes into being.
TEST_F(PortListPageTest, ApplyWritesEachRowToItsOwnSubkeyWhateverItsComPortHolds)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4}));
    ASSERT_TRUE(WritePortDword(2, L"ComPort", 0xFFFFFFFF));
    ASSERT_TRUE(WritePortDword(4, L"ComPort", 9));
    Run({Do([](CWnd& dlg) {
             HWND hList = PortListWnd();
             // An impossible number shows as the port's own; another number shows as stored.
             EXPECT_EQ(L"COM2", uitest::ListViewCellText(hList, 0, PORTCOL_COMPORT));
             EXPECT_EQ(L"COM9", uitest::ListViewCellText(hList, 1, PORTCOL_COMPORT));
             EXPECT_EQ(L"COM2", uitest::ListViewCellText(MonitorListWnd(), 0, 1));
             SetCellText(hList, 0, PORTCOL_TRIGGER, L"5");
             SetCellText(hList, 1, PORTCOL_TRIGGER, L"6");
             ClickApply(dlg);
         }),
         Do([](CWnd&) {
             EXPECT_EQ(5u, PortDword(2, L"TxTriggerLevel"));
             EXPECT_EQ(6u, PortDword(4, L"TxTriggerLevel"));
             EXPECT_EQ(6u, DeviceDword(4, L"TxTriggerLevel"));
             EXPECT_EQ(0xFFFFFFFFu, PortDword(2, L"ComPort"));
             EXPECT_EQ(9u, PortDword(4, L"ComPort"));
             for (const wchar_t* key : {L"SYSTEM\\CurrentControlSet\\Services\\svtmf3\\Parameters\\0009",
                                        L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3\\*PNP0501\\00000009"}) {
                 HKEY hKey = nullptr;
                 EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &hKey))
                     << uitest::Narrow(key);
             }
         })});
}

TEST_F(PortListPageTest, KeepsAProtocolItCannotNameButStillWritesTheKeepAliveTimers)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4}));
    ASSERT_TRUE(WritePortDword(2, L"Protocol", 2));
    ASSERT_TRUE(WritePortDword(4, L"Protocol", 7));
    ASSERT_TRUE(WritePortDword(4, L"AliveRxTimer", 1));
    ASSERT_TRUE(WritePortDword(4, L"AliveTxTimer", 2));
    Run({Do([](CWnd& dlg) {
             EXPECT_EQ(L"Raw", uitest::ListViewCellText(PortListWnd(), 0, PORTCOL_PROTOCOL));
             EXPECT_EQ(L"UNKNOWN", uitest::ListViewCellText(PortListWnd(), 1, PORTCOL_PROTOCOL));
             ClickApply(dlg);
         }),
         Do([](CWnd&) {
             EXPECT_EQ(2u, PortDword(2, L"Protocol"));
             EXPECT_EQ(7u, PortDword(4, L"Protocol"));
             EXPECT_EQ(7000u, PortDword(4, L"AliveRxTimer"));
             EXPECT_EQ(2500u, PortDword(4, L"AliveTxTimer"));
             EXPECT_EQ(L"UNKNOWN", uitest::ListViewCellText(PortListWnd(), 1, PORTCOL_PROTOCOL));
         })});
}

TEST_F(PortListPageTest, ApplyWritesTheEditedCellsToTheSubkeyAndTheDevice)
{
    ASSERT_TRUE(simtest::CreatePorts({10}));
    Run({Do([](CWnd& dlg) {
             HWND hList = PortListWnd();
             SetCellText(hList, 0, PORTCOL_TRIGGER, L"8");
             SetCellText(hList, 0, PORTCOL_ALIAS, L"abc");
             SetCellText(hList, 0, PORTCOL_IPADDRESS, L"10.5");
             SetCellText(hList, 0, PORTCOL_PORT, L"4001x");
             SetCellText(hList, 0, PORTCOL_PROTOCOL, L"Encryption");
             ClickApply(dlg);
         }),
         Do([](CWnd&) {
             EXPECT_EQ(8u, PortDword(10, L"TxTriggerLevel"));
             EXPECT_EQ(0x0A000005u, PortDword(10, L"IPaddress"));
             EXPECT_EQ(4001u, PortDword(10, L"Port"));
             EXPECT_EQ(1u, PortDword(10, L"Protocol"));
             EXPECT_EQ(8u, DeviceDword(10, L"TxTriggerLevel"));
             EXPECT_EQ(0x0A000005u, DeviceDword(10, L"IPaddress"));
             EXPECT_EQ(1u, DeviceDword(10, L"Protocol"));
             std::wstring alias;
             EXPECT_TRUE(ReadPortString(10, L"Alias", alias));
             EXPECT_EQ(L"abc", alias);
             EXPECT_TRUE(ReadDeviceString(10, L"Alias", alias));
             EXPECT_EQ(L"abc", alias);
             // The list shows what the registry now holds.
             EXPECT_EQ((Cells{L"   1", L"COM10", L"8", L"abc", L"10.0.0.5", L"4001", L"Encryption"}),
                       Row(PortListWnd(), 0));
         })});
}

// A Port or Trigger cell that holds no number Apply can store, typed or stored so, stops the
// apply before anything is written, with a message that names the row and the rule; every edit
// stays in the list, and once the cell is corrected the next Apply writes every row.
TEST_F(PortListPageTest, ACellOutOfRangeStopsTheApplyUntilTheUserCorrectsIt)
{
    const wchar_t kPortRule[] = L"COM2, Port: Please enter an integer between 1 and 65535.";
    const wchar_t kTriggerRule[] = L"COM2, Trigger: Please enter an integer between 1 and 255.";
    const struct {
        int column;
        const wchar_t* typed;  // null: the stored value 0 is left in the cell
        const wchar_t* message;
    } cases[] = {
        {PORTCOL_PORT, nullptr, kPortRule},
        {PORTCOL_PORT, L"65536", kPortRule},
        {PORTCOL_TRIGGER, L"256", kTriggerRule},
        {PORTCOL_TRIGGER, L"abc", kTriggerRule},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.message);
        SCOPED_TRACE(uitest::Narrow(bad.typed != nullptr ? bad.typed : L"stored 0"));
        ASSERT_TRUE(simtest::ResetMachine());
        ASSERT_TRUE(simtest::CreatePorts({1, 2, 3}));
        ASSERT_TRUE(WritePortDword(2, L"Port", 0));
        ui.ClearMessageBoxes();
        CSVT_SarventoCtlDlg runDlg;
        app.m_pMainWnd = &runDlg;
        ui.RunModal(runDlg, {Do([&bad](CWnd& dlg) {
                                 HWND hList = PortListWnd();
                                 for (int row = 0; row < 3; ++row) {
                                     SetCellText(hList, row, PORTCOL_TRIGGER, L"9");
                                     SetCellText(hList, row, PORTCOL_ALIAS, L"edited");
                                 }
                                 if (bad.column == PORTCOL_TRIGGER)
                                     SetCellText(hList, 1, PORTCOL_PORT, L"4001");
                                 if (bad.typed != nullptr)
                                     SetCellText(hList, 1, bad.column, bad.typed);
                                 ClickApply(dlg);
                             }),
                             Do([this, &bad](CWnd& dlg) {
                                 ASSERT_EQ(1u, ui.MessageBoxes().size());
                                 EXPECT_EQ(bad.message, ui.MessageBoxes()[0].text);
                                 // Nothing written, not even the rows above the bad one.
                                 EXPECT_EQ(255u, PortDword(1, L"TxTriggerLevel"));
                                 std::wstring alias;
                                 EXPECT_TRUE(ReadPortString(1, L"Alias", alias));
                                 EXPECT_EQ(L"", alias);
                                 HWND hList = PortListWnd();
                                 EXPECT_EQ(L"edited", uitest::ListViewCellText(hList, 0, PORTCOL_ALIAS));
                                 EXPECT_EQ(bad.typed != nullptr ? bad.typed : L"0",
                                           uitest::ListViewCellText(hList, 1, bad.column));
                                 SetCellText(hList, 1, bad.column, bad.column == PORTCOL_PORT ? L"5000" : L"12");
                                 ClickApply(dlg);
                             }),
                             Do([this, &bad](CWnd&) {
                                 EXPECT_EQ(1u, ui.MessageBoxes().size());
                                 for (unsigned com : {1u, 3u})
                                     EXPECT_EQ(9u, PortDword(com, L"TxTriggerLevel")) << com;
                                 EXPECT_EQ(bad.column == PORTCOL_PORT ? 5000u : 4001u, PortDword(2, L"Port"));
                                 EXPECT_EQ(bad.column == PORTCOL_PORT ? 9u : 12u, PortDword(2, L"TxTriggerLevel"));
                             })});
        app.m_pMainWnd = &dlg;
    }
}

// Ports that have gone since the list was filled (COM3's device, COM5's device and subkey), or
// whose subkey has become a link to another key (COM4), get no key made by Apply and nothing
// written through the link; the other rows are written.
TEST_F(PortListPageTest, ApplyMakesNoKeyForAPortThatHasGoneAndWritesNothingThroughALink)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3, 4, 5}));
    const wchar_t kOther[] = L"SOFTWARE\\Kolbrant\\Other";
    HKEY hOther = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kOther, 0, nullptr, 0, KEY_READ, nullptr, &hOther, nullptr));
    Run({Do([&](CWnd& dlg) {
             ASSERT_TRUE(simtest::RemovePortDevice(3));
             ASSERT_TRUE(simtest::RemovePortDevice(5));
             ASSERT_TRUE(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, PortSubkeyPath(5)));
             ASSERT_TRUE(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, PortSubkeyPath(4)));
             ASSERT_TRUE(simtest::WriteRegistryLink(std::wstring(PortSubkeyPath(4)), kOther));
             for (int row = 0; row < 4; ++row)
                 SetCellText(PortListWnd(), row, PORTCOL_ALIAS, L"edited");
             ClickApply(dlg);
         }),
         Do([&](CWnd&) {
             std::wstring alias;
             EXPECT_TRUE(ReadPortString(2, L"Alias", alias));
             EXPECT_EQ(L"edited", alias);
             for (const CString& key : {PortDevicePath(3), PortSubkeyPath(5), PortDevicePath(5)}) {
                 HKEY hKey = nullptr;
                 EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &hKey))
                     << uitest::Narrow(key.GetString());
             }
             DWORD values = 1;
             EXPECT_EQ(ERROR_SUCCESS, ::RegQueryInfoKeyW(hOther, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                         &values, nullptr, nullptr, nullptr, nullptr));
             EXPECT_EQ(0u, values);
         })});
    ::RegCloseKey(hOther);
    EXPECT_TRUE(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, PortSubkeyPath(4)));
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kOther);
}

// An open port is never rewritten: its row is skipped, the status bar names it, the others are
// written.
TEST_F(PortListPageTest, ApplySkipsAnOpenPortAndFlashesItInTheStatusBar)
{
    ASSERT_TRUE(simtest::CreatePorts({4, 5, 6}));
    MessageRecorder recorder;
    Run({Do([&recorder](CWnd& dlg) {
             // Opened after the start: Apply reads the line states before it writes.
             ASSERT_TRUE(simtest::SetLineState(5, LINESTATE_CON));
             for (int row = 0; row < 3; ++row)
                 SetCellText(PortListWnd(), row, PORTCOL_TRIGGER, L"16");
             recorder.Clear();
             ClickApply(dlg);
         }),
         Do([&recorder](CWnd&) {
             EXPECT_EQ(16u, PortDword(4, L"TxTriggerLevel"));
             EXPECT_EQ(255u, PortDword(5, L"TxTriggerLevel"));
             EXPECT_EQ(16u, PortDword(6, L"TxTriggerLevel"));
             ASSERT_EQ(1u, recorder.Count(g_hMainWnd, WM_PORT_IN_USE));
             std::vector<std::wstring> texts;
             for (const MessageRecorder::Event& event : recorder.events) {
                 if (event.message == WM_PORT_IN_USE) {
                     EXPECT_EQ(5, event.lParam);
                 }
                 if (event.message == SB_SETTEXTW)
                     texts.push_back(event.text);
             }
             EXPECT_EQ((std::vector<std::wstring>{L"  COM5 is in use currently", L"  Ready"}), texts);
             // The skipped row shows what is stored again.
             EXPECT_EQ(L"255", uitest::ListViewCellText(PortListWnd(), 1, PORTCOL_TRIGGER));
         })});
}

// The load reads back aliases of up to 255 characters: a longer one is cut there rather than
// lost at the next load.
TEST_F(PortListPageTest, ApplyCutsAnAliasToWhatTheLoadReadsBack)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    const std::wstring longAlias(300, L'a');
    Run({Do([&longAlias](CWnd& dlg) {
             SetCellText(PortListWnd(), 0, PORTCOL_ALIAS, longAlias.c_str());
             ClickApply(dlg);
         }),
         Do([](CWnd&) {
             std::wstring alias;
             EXPECT_TRUE(ReadPortString(3, L"Alias", alias));
             EXPECT_EQ(std::wstring(255, L'a'), alias);
             EXPECT_EQ(std::wstring(255, L'a'), uitest::ListViewCellText(PortListWnd(), 0, PORTCOL_ALIAS));
         })});
}

// A stored alias too long to read shows empty; Apply and the reload after it keep it, until the
// user types another into the cell.
TEST_F(PortListPageTest, AnAliasTooLongToReadSurvivesApplyUntilTheUserTypesOne)
{
    ASSERT_TRUE(simtest::CreatePorts({3, 4}));
    const std::wstring stored(300, L's');
    ASSERT_TRUE(WritePortString(3, L"Alias", stored));
    ASSERT_TRUE(WritePortString(4, L"Alias", stored));
    const auto alias = [](unsigned com) {
        std::wstring text;
        EXPECT_TRUE(ReadPortString(com, L"Alias", text));
        return text;
    };
    Run({Do([](CWnd& dlg) {
             EXPECT_EQ(L"", uitest::ListViewCellText(PortListWnd(), 0, PORTCOL_ALIAS));
             ClickApply(dlg);
         }),
         Do([&](CWnd& dlg) {
             EXPECT_EQ(stored, alias(3));
             EXPECT_EQ(stored, alias(4));
             SetCellText(PortListWnd(), 1, PORTCOL_ALIAS, L"typed");
             ClickApply(dlg);
         }),
         Do([&](CWnd&) {
             EXPECT_EQ(stored, alias(3));
             EXPECT_EQ(L"typed", alias(4));
         })});
}

// An address text with a component beyond a byte means no address: the stored one stays.
TEST_F(PortListPageTest, ApplyKeepsTheStoredAddressForAComponentBeyondAByte)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    ASSERT_TRUE(WritePortDword(3, L"IPaddress", 0xC0A80001));
    Run({Do([](CWnd& dlg) {
             EXPECT_EQ(L"192.168.0.1", uitest::ListViewCellText(PortListWnd(), 0, PORTCOL_IPADDRESS));
             SetCellText(PortListWnd(), 0, PORTCOL_IPADDRESS, L"300.1.1.1");
             SetCellText(PortListWnd(), 0, PORTCOL_PORT, L"5000");
             ClickApply(dlg);
         }),
         Do([](CWnd&) {
             EXPECT_EQ(0xC0A80001u, PortDword(3, L"IPaddress"));
             EXPECT_EQ(5000u, PortDword(3, L"Port"));
         })});
}

TEST_F(PortListPageTest, RevertDropsTheUnsavedEdits)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    Run({Do([](CWnd& dlg) {
             SetCellText(PortListWnd(), 0, PORTCOL_ALIAS, L"not saved");
             uitest::Click(::GetDlgItem(dlg.m_hWnd, IDC_BTN_REVERT));
         }),
         WaitUntil([](CWnd&) { return uitest::ListViewCellText(PortListWnd(), 0, PORTCOL_ALIAS).empty(); })});
    std::wstring alias;
    EXPECT_TRUE(ReadPortString(3, L"Alias", alias));
    EXPECT_EQ(L"", alias);
}

// The main dialog shares the list's width out: 8, 12, 10, 21, 23 and 15 percent, the rest last.
// What the enlarged list uncovers is painted: its empty part shows nothing but its background.
TEST_F(PortListPageTest, SharesTheWidthOutWhenTheDialogIsResized)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    Run({Do([](CWnd& dlg) { dlg.MoveWindow(0, 0, 700, 650, TRUE); }),
         Do([](CWnd&) { EXPECT_EQ(0, StalePixelsBelowTheRows(PortListWnd())) << "taller"; }),
         Do([](CWnd& dlg) { dlg.MoveWindow(0, 0, 900, 600, TRUE); }), Do([](CWnd& dlg) {
             EXPECT_EQ(0, StalePixelsBelowTheRows(PortListWnd()));
             CRect client;
             dlg.GetClientRect(&client);
             const int w = client.Width() - 37;
             EXPECT_EQ((std::vector<int>{w * 8 / 100, w * 12 / 100, w * 10 / 100, w * 21 / 100, w * 23 / 100,
                                         w * 15 / 100, w - w * 90 / 100}),
                       ColumnWidths(PortListWnd()));
         })});
}

// Enter, Escape and F1 neither end the page nor the dialog.
TEST_F(PortListPageTest, EnterEscapeAndF1DoNothingOnThePage)
{
    Run({Do([](CWnd&) {
             for (UINT vk : {VK_RETURN, VK_ESCAPE, VK_F1}) {
                 uitest::PressKey(PortListWnd(), vk);
                 uitest::PressKey(g_portInfoDlg.m_hWnd, vk);
             }
         }),
         Do([](CWnd& dlg) {
             EXPECT_TRUE(g_portInfoDlg.IsWindowVisible());
             EXPECT_TRUE(dlg.IsWindowVisible());
             // The page swallows them itself, whatever the dialog it sits in does.
             for (UINT vk : {VK_RETURN, VK_ESCAPE, VK_F1})
                 EXPECT_TRUE(PageSwallowsKey(g_portInfoDlg, PortListWnd(), vk)) << vk;
             EXPECT_FALSE(PageSwallowsKey(g_portInfoDlg, PortListWnd(), VK_DOWN));
         })});
    EXPECT_EQ(1, ui.DialogsEndedByHarness());
}

// A page made from its template sets its list up on the first move away from the origin only.
TEST_F(PortListPageTest, SetsTheListUpOnTheFirstMoveAwayFromTheOriginOnly)
{
    Run({Do([](CWnd& dlg) {
        CSVT_PortInfoDlg page;
        ASSERT_TRUE(page.Create(CSVT_PortInfoDlg::IDD, &dlg));
        HWND hHeader = reinterpret_cast<HWND>(page.m_list.SendMessage(LVM_GETHEADER));
        auto columns = [hHeader] { return ::SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0); };
        page.SendMessage(WM_MOVE, 0, MAKELPARAM(0, 30));
        page.SendMessage(WM_MOVE, 0, MAKELPARAM(30, 0));
        EXPECT_EQ(0, columns());
        EXPECT_EQ(0, page.m_setUp);
        page.MoveWindow(20, 30, 600, 300, FALSE);
        EXPECT_EQ(7, columns());
        CRect client;
        page.GetClientRect(&client);
        EXPECT_EQ(client.Width() / 100 * 8, page.m_list.GetColumnWidth(0));
        EXPECT_EQ(client.Width() - 90 * (client.Width() / 100) - 20, page.m_list.GetColumnWidth(6));
        page.MoveWindow(40, 50, 600, 300, FALSE);
        EXPECT_EQ(7, columns());
        page.DestroyWindow();
    })});
}
