// The main dialog's port commands as the user gives them: Add (button and menu), Delete, Delete
// All, with their questions, the in-use refusals, and the reload that follows only a completed
// operation.
#include "tests/app_pages/PagesTestSupport.h"

#include "app/PortListColumns.h"
#include "app/PortOperation.h"
#include "contract/DriverInterface.h"
#include "tests/support/SimOddPorts.h"

#include <memory>
#include <set>
#include <thread>

using uitest::Do;
using uitest::WaitUntil;

namespace {

class PortCommandsTest : public PagesTest {
protected:
    void SetUp() override
    {
        PagesTest::SetUp();
        g_portOperation = 0;
        g_deletePortRequest = DeletePortRequest();
    }

    std::vector<std::wstring> BoxTexts() const
    {
        std::vector<std::wstring> texts;
        for (const AfxMessageBoxCall& box : ui.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }
};

// Controls of the add-port dialog.
enum { IDC_START_COM = 1003, IDC_COUNT = 1004 };

const wchar_t kInUse[] = L"There is a serial port in use currently.\nDeletion process will be stopped";

void SelectCombo(HWND hDlg, int id, const wchar_t* text)
{
    HWND hCombo = ::GetDlgItem(hDlg, id);
    const LRESULT index =
        ::SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    ASSERT_NE(CB_ERR, index) << uitest::Narrow(text);
    ::SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The add-port dialog's script: ports from start, count of them, then OK.
std::vector<uitest::Step> AddPortsScript(const wchar_t* start, const wchar_t* count,
                                         std::shared_ptr<DWORD> okTime = nullptr)
{
    return {Do([start, count, okTime](CWnd& addDlg) {
        SelectCombo(addDlg.m_hWnd, IDC_START_COM, start);
        SelectCombo(addDlg.m_hWnd, IDC_COUNT, count);
        if (okTime)
            *okTime = ::GetTickCount();
        uitest::Click(::GetDlgItem(addDlg.m_hWnd, IDOK));
    })};
}

// The progress dialog runs until it ends itself.
std::vector<uitest::Step> UntilItEnds(DWORD timeoutMs = 20000)
{
    return {WaitUntil([](CWnd&) { return false; }, timeoutMs)};
}

std::vector<std::wstring> ComColumn(HWND hList)
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < uitest::ListViewRowCount(hList); ++row)
        texts.push_back(uitest::ListViewCellText(hList, row, PORTCOL_COMPORT));
    return texts;
}

bool SubkeyExists(unsigned com)
{
    DWORD value = 0;
    return ReadPortDword(com, L"ComPort", value);
}

void ClickButton(CWnd& dlg, int id)
{
    uitest::Click(::GetDlgItem(dlg.m_hWnd, id));
}

// Whether another thread could take the port table's lock, which the monitor's thread holds
// only for moments.
bool PortTableLockIsFree()
{
    bool free = false;
    for (int attempt = 0; attempt < 1000 && !free; ++attempt) {
        std::thread([&free] {
            free = ::TryEnterCriticalSection(&g_portTableLock.m_sect) != FALSE;
            if (free)
                ::LeaveCriticalSection(&g_portTableLock.m_sect);
        }).join();
    }
    return free;
}

int CALLBACK ByComNumberDescending(LPARAM first, LPARAM second, LPARAM list)
{
    HWND hList = reinterpret_cast<HWND>(list);
    const std::wstring a = uitest::ListViewCellText(hList, static_cast<int>(first), PORTCOL_COMPORT);
    const std::wstring b = uitest::ListViewCellText(hList, static_cast<int>(second), PORTCOL_COMPORT);
    return _wtoi(b.c_str() + 3) - _wtoi(a.c_str() + 3);
}

}  // namespace

// The menu's Add reloads and refills after a completed add, and pauses before it returns.
TEST_F(PortCommandsTest, MenuAddShowsTheNewPortsAfterACompletedAdd)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    auto okTime = std::make_shared<DWORD>(0);
    DWORD returned = 0;
    ui.OnNextModal(AddPortsScript(L"COM5", L"2", okTime));
    ui.OnNextModal(UntilItEnds());
    Run({Do([](CWnd& dlg) { uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_ADD); }), Do([&returned](CWnd&) {
             returned = ::GetTickCount();
             EXPECT_EQ((std::vector<std::wstring>{L"COM2", L"COM5", L"COM6"}), ComColumn(PortListWnd()));
             EXPECT_EQ(3, g_deviceCount);
             EXPECT_EQ(PORTOP_ADD, g_portOperation);
             // The monitor rebuilds its rows only when it is next shown.
             EXPECT_EQ(1, uitest::ListViewRowCount(MonitorListWnd()));
         }),
         Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }),
         Do([](CWnd&) { EXPECT_EQ(3, uitest::ListViewRowCount(MonitorListWnd())); })});
    EXPECT_GE(returned - *okTime, 1000u);
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

// The Add button writes every row back and rebuilds the monitor even when the add is cancelled;
// it spares a port opened since the line states were last read.
TEST_F(PortCommandsTest, AddButtonWritesTheRowsBackEvenWhenTheAddIsCancelled)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3}));
    ui.OnNextModal({Do([](CWnd& addDlg) { uitest::Click(::GetDlgItem(addDlg.m_hWnd, IDCANCEL)); })});
    Run({Do([](CWnd& dlg) {
             SetCellText(PortListWnd(), 0, PORTCOL_ALIAS, L"kept");
             SetCellText(PortListWnd(), 1, PORTCOL_ALIAS, L"open");
             ASSERT_TRUE(simtest::SetLineState(3, LINESTATE_CON));
             g_prevLineStateTable[1] = 0xFF;
             ClickButton(dlg, IDC_BTN_ADD);
         }),
         Do([](CWnd&) {
             std::wstring alias;
             EXPECT_TRUE(ReadPortString(3, L"Alias", alias));
             EXPECT_EQ(L"", alias);
             EXPECT_TRUE(ReadPortString(2, L"Alias", alias));
             EXPECT_EQ(L"kept", alias);
             EXPECT_EQ(0, g_portOperation);
             EXPECT_EQ(0, g_prevLineStateTable[1]);
         })});
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

// A progress dialog that does not end with IDOK is followed by no reload.
TEST_F(PortCommandsTest, AnAddThatDoesNotCompleteReloadsNothing)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILDREN_NEVER));
    ui.OnNextModal(AddPortsScript(L"COM5", L"1"));
    // The plug-in goes out, no port comes; the script's end closes the dialog with IDCANCEL.
    ui.OnNextModal({WaitUntil([](CWnd&) { return simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT) == 1; })});
    Run({Do([](CWnd& dlg) {
             // A change that a reload would show.
             ASSERT_TRUE(WritePortDword(2, L"TxTriggerLevel", 9));
             uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_ADD);
         }),
         Do([](CWnd&) { EXPECT_EQ(L"255", uitest::ListViewCellText(PortListWnd(), 0, PORTCOL_TRIGGER)); })});
    // The progress dialog and, at the end, the main dialog.
    EXPECT_EQ(2, ui.DialogsEndedByHarness());
}

TEST_F(PortCommandsTest, DeleteAsksNothingWithoutASelectionAndDeletesNothingOnCancel)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3}));
    ui.AnswerMessageBox(IDCANCEL);
    ui.AnswerMessageBox(IDCANCEL);
    Run({Do([](CWnd& dlg) { ClickButton(dlg, IDC_BTN_DELETE); }), Do([this](CWnd& dlg) {
             EXPECT_TRUE(ui.MessageBoxes().empty());
             SelectRows(PortListWnd(), {1});
             uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_DELETE);
         }),
         Do([](CWnd& dlg) { uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_DELETEALL); })});
    EXPECT_EQ((std::vector<std::wstring>{L"Do you want to delete ports?", L"Do you want to delete all ports?"}),
              BoxTexts());
    for (const AfxMessageBoxCall& box : ui.MessageBoxes())
        EXPECT_EQ(UINT(MB_OKCANCEL), box.nType & MB_TYPEMASK);
    EXPECT_TRUE(simtest::IsPortPresent(2));
    EXPECT_TRUE(simtest::IsPortPresent(3));
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

// One open port among the selected rows stops the whole deletion before it starts. A row stands
// for the port of its key number, whatever its stored ComPort names.
TEST_F(PortCommandsTest, DeleteIsRefusedWhenASelectedPortIsOpen)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3, 4}));
    ASSERT_TRUE(WritePortDword(3, L"ComPort", 2));
    ui.AnswerMessageBox(IDOK);
    Run({Do([](CWnd& dlg) {
             // Opened after the start: the command reads the line states before it decides.
             ASSERT_TRUE(simtest::SetLineState(3, LINESTATE_CON));
             SelectRows(PortListWnd(), {0, 1, 2});
             ClickButton(dlg, IDC_BTN_DELETE);
         }),
         Do([](CWnd&) { EXPECT_EQ(3, uitest::ListViewRowCount(PortListWnd())); })});
    EXPECT_EQ((std::vector<std::wstring>{L"Do you want to delete ports?", kInUse}), BoxTexts());
    ASSERT_EQ(2u, ui.MessageBoxes().size());
    EXPECT_EQ(UINT(MB_OK), ui.MessageBoxes()[1].nType & MB_TYPEMASK);
    for (unsigned com : {2u, 3u, 4u}) {
        EXPECT_TRUE(simtest::IsPortPresent(com)) << com;
        EXPECT_TRUE(SubkeyExists(com)) << com;
    }
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

// Every COM number counts, also one the list does not show, up to the last a port can have.
TEST_F(PortCommandsTest, DeleteAllIsRefusedWhenAnyPortIsOpen)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 255}));
    ASSERT_TRUE(simtest::SetLineState(255, LINESTATE_CON));
    ui.AnswerMessageBox(IDOK);
    Run({Do([](CWnd& dlg) {
        // COM255 leaves the list; the driver still reports it open.
        ::SendMessageW(PortListWnd(), LVM_DELETEITEM, 1, 0);
        uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_DELETEALL);
    })});
    EXPECT_EQ((std::vector<std::wstring>{L"Do you want to delete all ports?", kInUse}), BoxTexts());
    EXPECT_TRUE(simtest::IsPortPresent(2));
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

// Without the line states no port is known to be closed: Delete, Delete All and Apply stop before
// they change anything and say why, whether the read fails or the status device does not open.
TEST_F(PortCommandsTest, CommandsStopWhenTheLineStatesCannotBeRead)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3}));
    std::vector<uitest::Step> steps;
    for (const wchar_t* fault : {SIM_CONTROL_FAIL_LINE_READ, SIM_CONTROL_HIDE_STATUS_DEVICE}) {
        steps.push_back(Do([fault](CWnd& dlg) {
            ASSERT_TRUE(simtest::InjectFault(fault));
            ASSERT_TRUE(simtest::SetLineState(3, LINESTATE_CON));  // opened after the last good read
            SelectRows(PortListWnd(), {1});
            ClickButton(dlg, IDC_BTN_DELETE);
        }));
        steps.push_back(Do([](CWnd& dlg) { uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_DELETEALL); }));
        steps.push_back(Do([](CWnd& dlg) {
            SetCellText(PortListWnd(), 1, PORTCOL_ALIAS, L"edited");
            ClickButton(dlg, IDC_BTN_APPLY);
        }));
        steps.push_back(Do([fault](CWnd&) {
            // The edit stays in the list for another try.
            EXPECT_EQ(L"edited", uitest::ListViewCellText(PortListWnd(), 1, PORTCOL_ALIAS));
            ASSERT_TRUE(simtest::ClearFault(fault));
        }));
    }
    Run(steps);

    const wchar_t kDeleteStopped[] = L"The port states could not be read.\nDeletion process will be stopped";
    const wchar_t kApplyStopped[] = L"The port states could not be read.\nThe settings were not written";
    std::vector<std::wstring> expected;
    for (int round = 0; round < 2; ++round)
        expected.insert(expected.end(), {L"Do you want to delete ports?", kDeleteStopped,
                                         L"Do you want to delete all ports?", kDeleteStopped, kApplyStopped});
    EXPECT_EQ(expected, BoxTexts());
    std::wstring alias;
    EXPECT_TRUE(ReadPortString(3, L"Alias", alias));
    EXPECT_EQ(L"", alias);
    for (unsigned com : {2u, 3u}) {
        EXPECT_TRUE(simtest::IsPortPresent(com)) << com;
        EXPECT_TRUE(SubkeyExists(com)) << com;
    }
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

// The selected rows name their ports by their "COM Port" cells, whatever order the list shows
// and whatever their "No" cells say.
TEST_F(PortCommandsTest, DeleteRemovesThePortsTheSelectedRowsShow)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3, 4, 5}));
    ui.AnswerMessageBox(IDOK);
    ui.OnNextModal(UntilItEnds());
    Run({Do([](CWnd& dlg) {
             HWND hList = PortListWnd();
             ListView_SortItemsEx(hList, ByComNumberDescending, reinterpret_cast<LPARAM>(hList));
             ASSERT_EQ((std::vector<std::wstring>{L"COM5", L"COM4", L"COM3", L"COM2"}), ComColumn(hList));
             // The row of COM3 claims to be record 1 (COM2).
             SetCellText(hList, 2, PORTCOL_NO, L"   1");
             SelectRows(hList, {0, 2});
             ClickButton(dlg, IDC_BTN_DELETE);
         }),
         Do([](CWnd&) {
             EXPECT_EQ(2u, g_deletePortRequest.count);
             EXPECT_EQ(5u, g_deletePortRequest.comNumbers[0]);
             EXPECT_EQ(3u, g_deletePortRequest.comNumbers[1]);
             EXPECT_EQ(0u, g_deletePortRequest.comNumbers[2]);
             EXPECT_EQ(PORTOP_DELETE_SELECTED, g_portOperation);
             EXPECT_EQ((std::vector<std::wstring>{L"COM2", L"COM4"}), ComColumn(PortListWnd()));
             // The monitor follows at once.
             EXPECT_EQ(2, uitest::ListViewRowCount(MonitorListWnd()));
         })});
    EXPECT_FALSE(SubkeyExists(3));
    EXPECT_FALSE(SubkeyExists(5));
    EXPECT_FALSE(simtest::IsPortPresent(3));
    EXPECT_FALSE(simtest::IsPortPresent(5));
    EXPECT_TRUE(simtest::IsPortPresent(2));
    EXPECT_TRUE(simtest::IsPortPresent(4));
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

TEST_F(PortCommandsTest, DeleteAllRemovesEveryPort)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3}));
    ui.AnswerMessageBox(IDOK);
    ui.OnNextModal(UntilItEnds());
    Run({Do([](CWnd& dlg) { uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_DELETEALL); }), Do([](CWnd&) {
             EXPECT_EQ(0, uitest::ListViewRowCount(PortListWnd()));
             EXPECT_EQ(0, g_deviceCount);
             EXPECT_EQ(PORTOP_DELETE_ALL, g_portOperation);
         })});
    EXPECT_FALSE(simtest::IsPortPresent(2));
    EXPECT_FALSE(simtest::IsPortPresent(3));
}

// A deletion whose progress dialog is closed without completing is followed by no reload. While
// the dialog deletes, the Status tab keeps polling: RX goes on blinking.
TEST_F(PortCommandsTest, ADeleteThatDoesNotCompleteReloadsNothing)
{
    constexpr int kRxColumn = 6;
    constexpr int kRxOn = 4;
    ASSERT_TRUE(simtest::CreatePorts({2, 3}));
    ASSERT_TRUE(simtest::SetTraffic(2, LINESTATE_RX));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS));
    // Each command's progress dialog, once the database has failed: watched until RX has shown
    // on and off, then closed.
    const auto watchThenClose = [this](size_t boxes) {
        const auto rxSeen = std::make_shared<std::set<int>>();
        return std::vector<uitest::Step>{
            WaitUntil([this, boxes](CWnd&) { return ui.MessageBoxes().size() >= boxes; }), WaitUntil([rxSeen](CWnd&) {
                rxSeen->insert(CellImage(MonitorListWnd(), 0, kRxColumn));
                return *rxSeen == std::set<int>{1, kRxOn};
            }),
            Do([](CWnd& progress) { ::SendMessageW(progress.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); })};
    };
    const uitest::Step blinks = WaitUntil([](CWnd&) { return CellImage(MonitorListWnd(), 0, kRxColumn) == kRxOn; });
    const uitest::Step noReload =
        Do([](CWnd&) { EXPECT_EQ(L"255", uitest::ListViewCellText(PortListWnd(), 0, PORTCOL_TRIGGER)); });
    ui.AnswerMessageBox(IDOK);
    ui.OnNextModal(watchThenClose(2));
    ui.AnswerMessageBox(IDOK);
    ui.OnNextModal(watchThenClose(4));
    Run({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }), blinks, Do([](CWnd& dlg) {
             ASSERT_TRUE(WritePortDword(2, L"TxTriggerLevel", 9));
             uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_DELETEALL);
         }),
         noReload, blinks, Do([](CWnd& dlg) {
             SelectRows(PortListWnd(), {0});
             uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_DELETE);
         }),
         noReload, blinks});
    EXPECT_EQ((std::vector<std::wstring>{L"Do you want to delete all ports?", L"ComDBOpen Fail!",
                                         L"Do you want to delete ports?", L"ComDBOpen Fail!"}),
              BoxTexts());
}

// A load that cannot read the port devices says so once the list is filled and the table's lock
// is let go, at start-up and on a reload; a port whose name cannot be read is listed all the same.
TEST_F(PortCommandsTest, ALoadThatCannotReadThePortDevicesSaysSo)
{
    const wchar_t kNotRead[] = L"The port devices could not be read.\nThe port list may not show every port";
    ASSERT_TRUE(simtest::CreatePorts({2, 3}));
    ASSERT_TRUE(simtest::DeletePortDeviceValue(2, L"FriendlyName"));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_DEVICE_LIST_FAILS));
    std::vector<bool> lockFree;
    const AfxMessageBoxHandler recordBox = AfxSetMessageBoxHandler(nullptr);
    AfxSetMessageBoxHandler([&](const AfxMessageBoxCall& call) {
        lockFree.push_back(PortTableLockIsFree());
        return recordBox(call);
    });
    const auto lists = std::make_shared<std::vector<std::vector<std::wstring>>>();
    const auto clickApply = [lists](bool failing) {
        return Do([lists, failing](CWnd& dlg) {
            lists->push_back(ComColumn(PortListWnd()));
            ASSERT_TRUE(failing ? simtest::InjectFault(SIM_CONTROL_DEVICE_LIST_FAILS)
                                : simtest::ClearFault(SIM_CONTROL_DEVICE_LIST_FAILS));
            ClickButton(dlg, IDC_BTN_APPLY);
        });
    };
    Run({clickApply(false), WaitUntil([](CWnd&) { return uitest::ListViewRowCount(PortListWnd()) == 2; }),
         clickApply(true), WaitUntil([this](CWnd&) { return ui.MessageBoxes().size() >= 2; }),
         Do([lists](CWnd&) { lists->push_back(ComColumn(PortListWnd())); })});
    AfxSetMessageBoxHandler(recordBox);
    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_DEVICE_LIST_FAILS));

    using Rows = std::vector<std::wstring>;
    EXPECT_EQ((std::vector<Rows>{Rows{}, Rows{L"COM2", L"COM3"}, Rows{}}), *lists);
    EXPECT_EQ((std::vector<std::wstring>{kNotRead, kNotRead}), BoxTexts());
    EXPECT_EQ((std::vector<bool>{true, true}), lockFree);
    EXPECT_TRUE(SubkeyExists(2));
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}
