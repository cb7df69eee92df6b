// Deleting ports through the progress dialog's worker, against the simulated machine.
#include "tests/app_progress/ProgressTestSupport.h"

#include "app/PortDeviceRemover.h"
#include "app/PortSettings.h"
#include "app/PortTable.h"
#include "contract/DriverInterface.h"
#include "tests/support/SimOddPorts.h"

#include <atomic>
#include <thread>

using namespace uitest;
using namespace progresstest;

namespace {

const wchar_t kNoDeviceList[] = L"The port devices could not be read.\nDeletion process will be stopped";

// Every text the progress dialog's line is given on this thread, in order.
std::vector<std::wstring>* g_lineTexts = nullptr;

LRESULT CALLBACK RecordLineText(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_lineTexts != nullptr && call->message == WM_SETTEXT &&
        ::GetDlgCtrlID(call->hwnd) == IDC_PROGRESS_TEXT)
        g_lineTexts->push_back(reinterpret_cast<const wchar_t*>(call->lParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class DeleteProgressTest : public ProgressDialogTest {
protected:
    // Ports made as an add makes them (the machine claims their numbers as it installs their
    // devices), loaded into the table, with DeviceCount as the port list keeps it.
    void MakePorts(const std::vector<unsigned>& coms)
    {
        ASSERT_TRUE(simtest::CreatePorts(coms));
        LoadPortTable();
        g_deviceCount = static_cast<int>(g_portTable.GetSize());
        WriteRegDword(SVT_PARAMETERS_KEY, L"DeviceCount", static_cast<DWORD>(g_deviceCount));
    }
    void ExpectGone(unsigned com)
    {
        SCOPED_TRACE(com);
        EXPECT_FALSE(simtest::IsPortPresent(com));
        EXPECT_TRUE(WaitFor([&] { return !simtest::IsInSerialComm(com); }));  // the driver notices soon
        EXPECT_FALSE(KeyExists(PortKey(com)));
        auto claims = simtest::ComDbClaims();
        EXPECT_EQ(claims.end(), std::find(claims.begin(), claims.end(), com));
    }
    void ExpectKept(unsigned com)
    {
        SCOPED_TRACE(com);
        EXPECT_TRUE(simtest::IsPortPresent(com));
        EXPECT_TRUE(KeyExists(PortKey(com)));
    }
    INT_PTR Run(std::vector<std::wstring>* texts)
    {
        CSVT_ProgressDlg dlg;
        return harness.RunModal(dlg, {WaitUntil([&](CWnd& d) {
                                    std::wstring t = ProgressText(d);
                                    if (texts && (texts->empty() || texts->back() != t))
                                        texts->push_back(t);
                                    return false;
                                })});
    }
};

// Everything of a port goes by its key number, whatever its stored ComPort names (no number, or
// another port's).
TEST_F(DeleteProgressTest, SelectedPortsLeaveNothingBehind)
{
    MakePorts({3, 4, 5, 6});
    WriteRegDword(PortKey(3).c_str(), L"ComPort", 999);
    WriteRegDword(PortKey(5).c_str(), L"ComPort", 6);
    LoadPortTable();
    g_portOperation = PORTOP_DELETE_SELECTED;
    g_deletePortRequest.count = 2;
    g_deletePortRequest.comNumbers[0] = 3;
    g_deletePortRequest.comNumbers[1] = 5;
    std::vector<std::wstring> texts;

    EXPECT_EQ(IDOK, Run(&texts));

    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(L"2/2  COM5 was deleted", texts.back());
    ExpectGone(3);
    ExpectGone(5);
    ExpectKept(4);
    ExpectKept(6);
    EXPECT_EQ(2, ReadDword(SVT_PARAMETERS_KEY, L"DeviceCount"));
    EXPECT_EQ(2, g_deviceCount);
    ASSERT_EQ(2, g_portTable.GetSize());
    EXPECT_EQ(4u, g_portTable[0].keyNumber);
    EXPECT_EQ(6u, g_portTable[1].keyNumber);
}

// A table whose load could not read every port device counts fewer ports than the machine has:
// a delete from it leaves the stored DeviceCount as it was.
TEST_F(DeleteProgressTest, ATableThatMayLackPortsLeavesDeviceCountAlone)
{
    MakePorts({3, 4});
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_DEVICE_LIST_FAILS));
    const bool read = LoadPortTable();
    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_DEVICE_LIST_FAILS));
    ASSERT_FALSE(read);
    // What such a load may leave: port 3 found, port 4 not.
    CSVT_ComInfo found;
    found.keyNumber = found.ComPort = 3;
    g_portTable.Add(found);
    g_deviceCount = 1;
    g_portOperation = PORTOP_DELETE_SELECTED;
    g_deletePortRequest.count = 1;
    g_deletePortRequest.comNumbers[0] = 3;

    EXPECT_EQ(IDOK, Run(nullptr));

    ExpectGone(3);
    EXPECT_EQ(2, ReadDword(SVT_PARAMETERS_KEY, L"DeviceCount"));
    EXPECT_TRUE(LoadPortTable());
}

TEST_F(DeleteProgressTest, DeleteAllGoesFromTheLastRowAndEmptiesTheTable)
{
    MakePorts({1, 2, 4});
    WriteRegDword(PortKey(2).c_str(), L"ComPort", 999);
    LoadPortTable();
    g_portOperation = PORTOP_DELETE_ALL;
    std::vector<std::wstring> texts;
    g_lineTexts = &texts;
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &RecordLineText, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);

    // The user-interface thread is held busy at once: the worker deletes every port all the
    // same, and the dialog shows each of its texts, in order, when the thread is free again.
    bool deletedWhileBusy = false;
    CSVT_ProgressDlg dlg;
    INT_PTR result = harness.RunModal(dlg, {Do([&](CWnd&) {
                                                const ULONGLONG start = ::GetTickCount64();
                                                while (!deletedWhileBusy && ::GetTickCount64() - start < 10000) {
                                                    ::Sleep(20);
                                                    deletedWhileBusy = !KeyExists(PortKey(1)) &&
                                                                       !KeyExists(PortKey(2)) && !KeyExists(PortKey(4));
                                                }
                                            }),
                                            WaitUntil([](CWnd&) { return false; }, 10000)});
    ::UnhookWindowsHookEx(hook);
    g_lineTexts = nullptr;

    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(deletedWhileBusy);
    EXPECT_EQ((std::vector<std::wstring>{L"The driver delete was started. please wait (0/3)", L"1/3  COM4 was deleted",
                                         L"2/3  COM2 was deleted", L"3/3  COM1 was deleted"}),
              texts);
    for (unsigned com : {1u, 2u, 4u})
        ExpectGone(com);
    EXPECT_EQ(0, g_portTable.GetSize());
    EXPECT_EQ(0, ReadDword(SVT_PARAMETERS_KEY, L"DeviceCount"));
}

TEST_F(DeleteProgressTest, EmptyRequestOnlyEndsTheDialog)
{
    MakePorts({9});
    g_portOperation = PORTOP_DELETE_SELECTED;
    EXPECT_EQ(IDOK, Run(nullptr));
    ExpectKept(9);
}

// Neither delete changes anything without the COM-port database or the list of port devices; the
// dialog stays until the user closes it, so the page does not reload.
TEST_F(DeleteProgressTest, UnopenableDatabaseOrNoDeviceListDeletesNothingAndLetsTheUserClose)
{
    const struct {
        const wchar_t* fault;
        PortOperation operation;
        const wchar_t* box;
    } cases[] = {
        {SIM_CONTROL_COMDB_OPEN_FAILS, PORTOP_DELETE_ALL, L"ComDBOpen Fail!"},
        {SIM_CONTROL_COMDB_OPEN_FAILS, PORTOP_DELETE_SELECTED, L"ComDBOpen Fail!"},
        {SIM_CONTROL_DEVICE_LIST_FAILS, PORTOP_DELETE_ALL, kNoDeviceList},
        {SIM_CONTROL_DEVICE_LIST_FAILS, PORTOP_DELETE_SELECTED, kNoDeviceList},
    };
    MakePorts({11, 12});
    const std::vector<unsigned> claims = simtest::ComDbClaims();
    g_deletePortRequest.count = 1;
    g_deletePortRequest.comNumbers[0] = 12;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        ASSERT_TRUE(simtest::InjectFault(c.fault));
        harness.ClearMessageBoxes();
        g_portOperation = c.operation;
        CSVT_ProgressDlg dlg;
        INT_PTR result = harness.RunModal(
            dlg, {WaitUntil([&](CWnd&) { return !harness.MessageBoxes().empty() && !dlg.WorkerRunning(); }),
                  RunFor(400), Do([](CWnd& d) { ::SendMessageW(d.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); })});
        ASSERT_TRUE(simtest::ClearFault(c.fault));
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ((std::vector<std::wstring>{c.box}), BoxTexts());
        ExpectKept(11);
        ExpectKept(12);
        EXPECT_EQ(claims, simtest::ComDbClaims());
        EXPECT_EQ(2, g_portTable.GetSize());
    }
    // A database that opened is closed again.
    int openDatabases = 0;
    for (const simtest::ComDbCall& call : simtest::ComDbCalls()) {
        if (call.result == ERROR_SUCCESS)
            openDatabases += (call.function == SIM_CALL_COMDB_OPEN) - (call.function == SIM_CALL_COMDB_CLOSE);
    }
    EXPECT_EQ(0, openDatabases);
    EXPECT_EQ(0, harness.DialogsEndedByHarness());
}

// A port whose device does not go (removal refused, or its device not found because an unreadable
// one comes first) keeps its settings, its COM number and its count; the others go, and the
// dialog names the ports left before it ends.
TEST_F(DeleteProgressTest, APortWhoseDeviceStaysKeepsItsSettingsAndNumber)
{
    const struct {
        const wchar_t* fault;  // null: the device of COM22 has no friendly name
        PortOperation operation;
        const wchar_t* box;
        std::vector<unsigned> gone;
    } cases[] = {
        {SIM_CONTROL_REMOVAL_FAILS, PORTOP_DELETE_ALL, L"COM21, COM22, COM23", {}},
        {SIM_CONTROL_REMOVAL_FAILS, PORTOP_DELETE_SELECTED, L"COM21, COM23", {}},
        {nullptr, PORTOP_DELETE_ALL, L"COM22, COM23", {21}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        ASSERT_TRUE(simtest::ResetMachine());
        MakePorts({21, 22, 23});
        WriteRegDword(PortKey(21).c_str(), L"Port", 5000);
        WriteRegString(PortKey(23).c_str(), L"Alias", L"kept");
        LoadPortTable();
        if (c.fault) {
            ASSERT_TRUE(simtest::InjectFault(c.fault));
        } else {
            ASSERT_TRUE(simtest::DeletePortDeviceValue(22, L"FriendlyName"));
        }
        harness.ClearMessageBoxes();
        g_portOperation = c.operation;
        g_deletePortRequest.count = 2;
        g_deletePortRequest.comNumbers[0] = 21;
        g_deletePortRequest.comNumbers[1] = 23;

        EXPECT_EQ(IDOK, Run(nullptr));
        if (c.fault) {
            ASSERT_TRUE(simtest::ClearFault(c.fault));
        }

        EXPECT_EQ(std::vector<std::wstring>{L"These ports were not removed: " + std::wstring(c.box) +
                                            L"\nTheir settings and COM numbers are kept"},
                  BoxTexts());
        for (unsigned com : c.gone)
            ExpectGone(com);
        for (unsigned com : {21u, 22u, 23u}) {
            if (std::find(c.gone.begin(), c.gone.end(), com) != c.gone.end())
                continue;
            SCOPED_TRACE(com);
            ExpectKept(com);
            auto claims = simtest::ComDbClaims();
            EXPECT_NE(claims.end(), std::find(claims.begin(), claims.end(), com));
        }
        if (c.gone.empty()) {
            EXPECT_EQ(5000, ReadDword(PortKey(21), L"Port"));
            EXPECT_EQ(23, ReadDword(PortKey(23), L"ComPort"));
            CString alias;
            EXPECT_TRUE(ReadRegString(PortKey(23).c_str(), L"Alias", alias));
            EXPECT_EQ(L"kept", std::wstring(static_cast<LPCWSTR>(alias)));
        }
        EXPECT_EQ(static_cast<long long>(3 - c.gone.size()), ReadDword(SVT_PARAMETERS_KEY, L"DeviceCount"));
    }
}

TEST_F(DeleteProgressTest, CloseBoxWaitsForTheWorker)
{
    // Closing under a running worker would leave it writing to a dialog that is gone; the close
    // box is ignored until the worker has reported back, and the dialog then ends with IDOK.
    MakePorts({14, 15, 16, 17});
    g_portOperation = PORTOP_DELETE_ALL;
    CSVT_ProgressDlg dlg;
    INT_PTR result =
        harness.RunModal(dlg, {Do([](CWnd& d) { ::SendMessageW(d.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }),
                               WaitUntil([](CWnd&) { return false; })});
    EXPECT_EQ(IDOK, result);
    for (unsigned com : {14u, 15u, 16u, 17u})
        ExpectGone(com);
}

TEST_F(DeleteProgressTest, RemovalMatchesTheWholeDescriptionAndEitherNameForm)
{
    ASSERT_TRUE(simtest::CreatePorts({12, 13, 14}));
    ASSERT_TRUE(simtest::SetPortDeviceText(13, L"DeviceDesc", L"Sarvento VCP "));
    ASSERT_TRUE(simtest::SetPortDeviceText(14, L"FriendlyName", L"SARVENTO VCP(COM14)"));

    RemoveDeviceByComNumber(12);
    RemoveDeviceByComNumber(13);
    RemoveDeviceByComNumber(14);

    EXPECT_FALSE(simtest::IsPortPresent(12));
    EXPECT_TRUE(simtest::IsPortPresent(13));  // a trailing blank is another description
    EXPECT_FALSE(simtest::IsPortPresent(14));
}

TEST_F(DeleteProgressTest, OneDeviceListServesAWholeRunAsFreshListsWould)
{
    ASSERT_TRUE(simtest::CreatePorts({20, 21, 22, 23}));
    // The device of COM22 comes after one whose name cannot be read: no search reaches it.
    ASSERT_TRUE(simtest::DeletePortDeviceValue(21, L"FriendlyName"));
    PortDeviceRemover devices;

    EXPECT_TRUE(devices.Remove(20));
    EXPECT_FALSE(devices.Remove(20));  // already gone
    EXPECT_FALSE(devices.Remove(22));

    EXPECT_FALSE(simtest::IsPortPresent(20));
    EXPECT_TRUE(simtest::IsPortPresent(22));
    EXPECT_TRUE(simtest::IsPortPresent(23));
}

TEST_F(DeleteProgressTest, TableReaderNeverSeesAHalfRemovedRow)
{
    // A reader like the monitor's loops over the table under its lock while the worker removes
    // rows one by one: every row it sees is one of the ports, never a freed or moved record.
    std::vector<unsigned> coms;
    for (unsigned n = 40; n < 72; ++n)
        coms.push_back(n);
    MakePorts(coms);
    g_portOperation = PORTOP_DELETE_SELECTED;
    g_deletePortRequest.count = static_cast<UINT>(coms.size());
    for (size_t i = 0; i < coms.size(); ++i)
        g_deletePortRequest.comNumbers[i] = coms[i];

    std::atomic<bool> stop{false};
    std::atomic<int> badRows{0}, passes{0};
    std::thread reader([&] {
        while (!stop) {
            g_portTableLock.Lock();
            int rows = static_cast<int>(g_portTable.GetSize());
            for (int i = 0; i < rows && i < g_deviceCount + 1; ++i) {
                UINT com = g_portTable[i].ComPort;
                if (com < 40 || com >= 72)
                    ++badRows;
            }
            g_portTableLock.Unlock();
            ++passes;
        }
    });
    INT_PTR result = Run(nullptr);
    stop = true;
    reader.join();

    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0, badRows.load());
    EXPECT_GT(passes.load(), 10);
    EXPECT_EQ(0, g_portTable.GetSize());
}

}  // namespace
