// Adding ports through the progress dialog, on both roads, against the simulated machine.
#include "tests/app_progress/ProgressTestSupport.h"

#include "app/ComUsage.h"
#include "contract/DriverInterface.h"

#include <algorithm>

using namespace uitest;
using namespace progresstest;

namespace {

const wchar_t kInstallFolderKey[] = L"SOFTWARE\\Kolbrant\\COM Sarvento v3";

// The install folder the old road installs the port driver from, for one test.
class InstallFolder {
public:
    explicit InstallFolder(const wchar_t* folder)
    {
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, kInstallFolderKey, L"ComSarventoPath", REG_SZ,
                                                 folder, static_cast<DWORD>((wcslen(folder) + 1) * sizeof(wchar_t))));
    }
    ~InstallFolder() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kInstallFolderKey); }
};

// The text and the dialog behind it: blue-grey text, transparent, on the white brush.
void ExpectTheDialogsColours(CWnd& dlg)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, hDC);
    for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLORDLG}) {
        SCOPED_TRACE(message);
        HWND hTarget =
            message == WM_CTLCOLORDLG ? dlg.GetSafeHwnd() : ::GetDlgItem(dlg.GetSafeHwnd(), IDC_PROGRESS_TEXT);
        auto hBrush = reinterpret_cast<HBRUSH>(::SendMessageW(dlg.GetSafeHwnd(), message, reinterpret_cast<WPARAM>(hDC),
                                                              reinterpret_cast<LPARAM>(hTarget)));
        LOGBRUSH brush = {};
        ASSERT_EQ(static_cast<int>(sizeof(brush)), ::GetObjectW(hBrush, sizeof(brush), &brush));
        EXPECT_EQ(RGB(255, 255, 255), brush.lbColor);
        EXPECT_EQ(RGB(91, 125, 164), ::GetTextColor(hDC));
        EXPECT_EQ(RGB(100, 148, 148), ::GetBkColor(hDC));
        EXPECT_EQ(TRANSPARENT, ::GetBkMode(hDC));
        ::SetTextColor(hDC, 0);
        ::SetBkColor(hDC, 0);
        ::SetBkMode(hDC, OPAQUE);
    }
    ::DeleteDC(hDC);
}

class AddProgressTest : public ProgressDialogTest {
protected:
    void Request(UINT startCom, UINT count, UINT firstTcpPort = 4001)
    {
        g_portOperation = PORTOP_ADD;
        AddPortRequest& r = g_addPortRequest;
        r = AddPortRequest();
        r.startCom = startCom;
        r.count = count;
        r.ipAddress = 0x0A000001;
        r.firstTcpPort = firstTcpPort;
        r.protocol = 1;
        r.txTriggerLevel = 8;
        r.alias = L"lab";
        // What the add-port dialog marks: the free numbers from the start on.
        for (UINT n = startCom, chosen = 0; n <= 255 && chosen < count; ++n)
            if (!simtest::IsInSerialComm(n)) {
                r.chosen[n] = 1;
                ++chosen;
            }
    }
};

TEST_F(AddProgressTest, NewRoadWritesEveryPortThenAsksTheBusDriverOnce)
{
    g_osVersion = 61;
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial4", 4));
    Request(3, 3);
    CSVT_ProgressDlg dlg;
    std::wstring caption, firstText;
    INT_PTR result = harness.RunModal(dlg, {Do([&](CWnd& d) {
                                                caption = WindowText(d.GetSafeHwnd());
                                                firstText = ProgressText(d);
                                                ExpectTheDialogsColours(d);
                                            }),
                                            WaitUntil([](CWnd&) { return false; })});

    EXPECT_EQ(IDOK, result);  // ended by the poll before the wait ran out
    EXPECT_EQ(0, harness.DialogsEndedByHarness());
    EXPECT_EQ(L"Add Port", caption);
    EXPECT_EQ(L"The driver add was started. please wait (0/3)", firstText);
    EXPECT_EQ(1u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
    const unsigned coms[] = {3, 5, 6};
    for (unsigned i = 0; i < 3; ++i) {
        SCOPED_TRACE(coms[i]);
        EXPECT_EQ(coms[i], ReadDword(PortKey(coms[i]), L"ComPort"));
        EXPECT_EQ(4001 + i, ReadDword(PortKey(coms[i]), L"Port"));
        EXPECT_EQ(7000, ReadDword(PortKey(coms[i]), L"AliveRxTimer"));
        EXPECT_EQ(2500, ReadDword(PortKey(coms[i]), L"AliveTxTimer"));
        EXPECT_EQ(8, ReadDword(PortKey(coms[i]), L"TxTriggerLevel"));
        EXPECT_EQ(1, ReadDword(PortKey(coms[i]), L"Protocol"));
        EXPECT_EQ(0x0A000001, ReadDword(PortKey(coms[i]), L"IPaddress"));
        // The new road leaves the device's own key to the driver.
        EXPECT_EQ(-1, ReadDword(DeviceParamsKey(coms[i]), L"Port"));
        EXPECT_TRUE(simtest::IsPortPresent(coms[i]));
    }
    EXPECT_FALSE(KeyExists(PortKey(4)));
    EXPECT_EQ(-1, ReadDword(SVT_PARAMETERS_KEY, L"DeviceCount"));
}

TEST_F(AddProgressTest, PollShowsEachPortAsItAppears)
{
    g_osVersion = 61;
    // The second port comes 2.5 s after the first: polls a second apart see the first alone even
    // when a busy machine delays one of them.
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILD_DELAY_MS, 2500));
    Request(10, 2);
    CSVT_ProgressDlg dlg;
    std::wstring step;
    INT_PTR result = harness.RunModal(
        dlg, {WaitUntil([&](CWnd& d) { return ProgressText(d).find(L"was created") != std::wstring::npos; }),
              Do([&](CWnd& d) { step = ProgressText(d); }), WaitUntil([](CWnd&) { return false; })});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"1/2  COM10 was created", step);
}

// The poll has no time limit: ports that never appear, and a request that found no free number
// (nothing is plugged in then), keep the dialog open until the user closes it; the settings of
// the ports that did not come go then. A port that goes meanwhile never makes the count negative.
TEST_F(AddProgressTest, PortsThatNeverAppearKeepTheDialogOpenUntilClosed)
{
    g_osVersion = 61;
    struct {
        UINT startCom, count;
        const wchar_t* fault;  // null: none
        unsigned plugIns;
        unsigned lastWritten;
        bool otherPortGoes;  // COM2, there before the add, goes once the settings are written
    } const cases[] = {{20, 1, SIM_CONTROL_CHILDREN_NEVER, 1, 20, false},
                       {254, 3, nullptr, 0, 255, false},
                       {30, 1, SIM_CONTROL_CHILDREN_NEVER, 2, 30, true}};  // COM2 was plugged in too
    for (const auto& c : cases) {
        SCOPED_TRACE(c.startCom);
        ASSERT_TRUE(simtest::ResetMachine());
        if (c.otherPortGoes) {
            ASSERT_TRUE(simtest::CreatePorts({2}));
        }
        if (c.fault) {
            ASSERT_TRUE(simtest::InjectFault(c.fault));
        }
        Request(c.startCom, c.count);
        BuildComUsageMap();
        CSVT_ProgressDlg dlg;
        bool openAfterPolls = false;
        std::wstring text;
        INT_PTR result =
            harness.RunModal(dlg, {WaitUntil([&](CWnd&) { return KeyExists(PortKey(c.lastWritten)); }), Do([&](CWnd&) {
                                       if (c.otherPortGoes) {
                                           ASSERT_TRUE(simtest::RemovePortDevice(2));
                                       }
                                   }),
                                   RunFor(2200), Do([&](CWnd& d) {
                                       openAfterPolls = ::IsWindowVisible(d.GetSafeHwnd());
                                       text = ProgressText(d);
                                   }),
                                   Do([](CWnd& d) { ::SendMessageW(d.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); })});
        EXPECT_TRUE(openAfterPolls);
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(0, harness.DialogsEndedByHarness());
        EXPECT_EQ(c.plugIns, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
        EXPECT_EQ(L"The driver add was started. please wait (0/" + std::to_wstring(c.count) + L")", text);
        EXPECT_FALSE(KeyExists(PortKey(c.startCom)));
        EXPECT_FALSE(KeyExists(PortKey(c.lastWritten)));
    }
}

// A refused or missing bus driver ends the dialog at once, and the settings it was to present
// go again, so that no later add brings those ports back unasked; on either road.
TEST_F(AddProgressTest, ARefusedPlugInEndsTheDialogAtOnceAndTakesItsSettingsBack)
{
    for (const wchar_t* fault : {SIM_CONTROL_HIDE_BUS_INTERFACE, SIM_CONTROL_REFUSE_PLUGIN}) {
        SCOPED_TRACE(Narrow(fault));
        ASSERT_TRUE(simtest::ResetMachine());
        harness.ClearMessageBoxes();
        g_osVersion = 61;
        ASSERT_TRUE(simtest::InjectFault(fault));
        Request(3, 2);
        CSVT_ProgressDlg dlg;
        INT_PTR result = harness.RunModal(dlg, {WaitUntil([](CWnd&) { return false; })});
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ((std::vector<std::wstring>{L"Driver was not loaded! Please return application!"}), BoxTexts());
        EXPECT_FALSE(KeyExists(PortKey(3)));
        EXPECT_FALSE(KeyExists(PortKey(4)));
    }
}

// Without the port devices no new port could be checked: on either road the add says so and
// ends before it writes anything.
TEST_F(AddProgressTest, WithoutTheDeviceListNothingIsAdded)
{
    for (int osVersion : {61, 51}) {
        SCOPED_TRACE(osVersion);
        ASSERT_TRUE(simtest::ResetMachine());
        harness.ClearMessageBoxes();
        g_osVersion = osVersion;
        Request(3, 1);
        ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_DEVICE_LIST_FAILS));
        CSVT_ProgressDlg dlg;
        INT_PTR result = harness.RunModal(dlg, {WaitUntil([](CWnd&) { return false; })});
        ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_DEVICE_LIST_FAILS));
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(0, harness.DialogsEndedByHarness());
        EXPECT_EQ((std::vector<std::wstring>{L"The port devices could not be read.\nNo port was added"}), BoxTexts());
        EXPECT_FALSE(KeyExists(PortKey(3)));
        EXPECT_EQ(0u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
    }
}

// New ports whose names cannot be read cannot be counted: the dialog says so and ends, and its
// count never went below 0.
TEST_F(AddProgressTest, NewPortsThatCannotBeCountedEndTheDialog)
{
    g_osVersion = 61;
    ASSERT_TRUE(simtest::CreatePorts({2}));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_FRIENDLY_NAME_FORM, SIM_FRIENDLY_NAME_NONE));
    Request(10, 1);
    CSVT_ProgressDlg dlg;
    std::vector<std::wstring> texts;
    INT_PTR result = harness.RunModal(dlg, {WaitUntil([&](CWnd& d) {
                                          texts.push_back(ProgressText(d));
                                          return false;
                                      })});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0, harness.DialogsEndedByHarness());
    EXPECT_EQ((std::vector<std::wstring>{L"The port devices could not be read.\nThe new ports could not be checked"}),
              BoxTexts());
    for (const std::wstring& text : texts)
        EXPECT_EQ(std::wstring::npos, text.find(L"-")) << Narrow(text);
}

TEST_F(AddProgressTest, OldRoadAddsOnePortPerTickAndMirrorsItsValues)
{
    g_osVersion = 51;
    InstallFolder folder(L"C:\\Sarvento");
    Request(7, 2, 6000);
    CSVT_ProgressDlg dlg;
    std::vector<std::wstring> texts;
    INT_PTR result = harness.RunModal(dlg, {WaitUntil([&](CWnd& d) {
                                          std::wstring t = ProgressText(d);
                                          if (texts.empty() || texts.back() != t)
                                              texts.push_back(t);
                                          return false;
                                      })});
    EXPECT_EQ(IDOK, result);
    // The last step's text is written in the tick that ends the dialog; the first is seen.
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), L"1/2  COM7 was created"));
    EXPECT_EQ(2, dlg.m_portsAdded);
    EXPECT_EQ(9, dlg.m_nextCom);
    for (unsigned com : {7u, 8u}) {
        SCOPED_TRACE(com);
        EXPECT_EQ(6000 + (com - 7), ReadDword(DeviceParamsKey(com), L"Port"));
        EXPECT_EQ(com, ReadDword(DeviceParamsKey(com), L"ComPort"));
        EXPECT_EQ(8, ReadDword(DeviceParamsKey(com), L"TxTriggerLevel"));
        EXPECT_EQ(7000, ReadDword(DeviceParamsKey(com), L"AliveRxTimer"));
    }
    // One plug-in request per port on this road, and one driver update for each port's own id.
    EXPECT_EQ(2u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
    const std::vector<simtest::DriverUpdate> updates = simtest::DriverUpdates();
    ASSERT_EQ(2u, updates.size());
    EXPECT_EQ(L"SVTMF3\\00000007", updates[0].hardwareId);
    EXPECT_EQ(L"SVTMF3\\00000008", updates[1].hardwareId);
    EXPECT_EQ(L"C:\\Sarvento\\svtser3.inf", updates[1].infPath);
}

TEST_F(AddProgressTest, OldRoadRetriesANumberThatDoesNotAppear)
{
    g_osVersion = 51;
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILDREN_NEVER));
    Request(30, 1);
    CSVT_ProgressDlg dlg;
    DWORD start = GetTickCount();
    INT_PTR result =
        harness.RunModal(dlg, {WaitUntil([](CWnd&) { return simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT) >= 2; }),
                               Do([](CWnd& d) { ::SendMessageW(d.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); })});
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(IDCANCEL, result);
    // Each request is followed by twelve looks 100 ms apart and a last pause; the second one is
    // seen when its own wait ends.
    EXPECT_GE(elapsed, 2400u);
    EXPECT_FALSE(KeyExists(PortKey(31)));
    EXPECT_FALSE(KeyExists(PortKey(30)));  // given up: the port that never came leaves nothing
}

// On the old road a refused plug-in request ends the dialog (after the step's looks for the
// number), and so does a start with no free number left; neither adds a port.
TEST_F(AddProgressTest, OldRoadEndsWithoutAPortWhenThePlugInIsRefusedOrNoNumberIsFree)
{
    g_osVersion = 51;
    struct {
        const wchar_t* fault;  // null: COM255 is in use, and the request starts there
        UINT startCom;
        unsigned plugIns;
    } const cases[] = {{SIM_CONTROL_REFUSE_PLUGIN, 40, 1}, {nullptr, 255, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.startCom);
        ASSERT_TRUE(simtest::ResetMachine());
        if (c.fault) {
            ASSERT_TRUE(simtest::InjectFault(c.fault));
        } else {
            ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial255", 255));
        }
        Request(c.startCom, 1);
        BuildComUsageMap();
        CSVT_ProgressDlg dlg;
        EXPECT_EQ(IDOK, harness.RunModal(dlg, {WaitUntil([](CWnd&) { return false; }, 10000)}));
        EXPECT_EQ(0, harness.DialogsEndedByHarness());
        EXPECT_EQ(0, dlg.m_portsAdded);
        EXPECT_EQ(c.plugIns, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
        // The refused port's settings go, as on the new road.
        EXPECT_FALSE(KeyExists(PortKey(c.startCom)));
        EXPECT_FALSE(simtest::IsPortPresent(c.startCom));
    }
}

// A plug-in refused after a port came takes back only the refused port's settings.
TEST_F(AddProgressTest, OldRoadRefusedAfterAPortCameKeepsThatPort)
{
    g_osVersion = 51;
    Request(7, 2);
    CSVT_ProgressDlg dlg;
    INT_PTR result =
        harness.RunModal(dlg, {WaitUntil([&](CWnd&) { return dlg.m_portsAdded == 1; }),
                               Do([](CWnd&) { ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_REFUSE_PLUGIN)); }),
                               WaitUntil([](CWnd&) { return false; }, 10000)});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, dlg.m_portsAdded);
    EXPECT_TRUE(KeyExists(PortKey(7)));
    EXPECT_FALSE(KeyExists(PortKey(8)));
}

TEST_F(AddProgressTest, EnterAndEscapeDoNotEndTheDialog)
{
    g_portOperation = 0;  // nothing to do: the dialog waits to be closed
    CSVT_ProgressDlg dlg;
    bool open = false;
    INT_PTR result = harness.RunModal(dlg, {Do([](CWnd& d) {
                                                PressKey(d.GetSafeHwnd(), VK_RETURN);
                                                PressKey(d.GetSafeHwnd(), VK_ESCAPE);
                                            }),
                                            Do([&](CWnd& d) { open = ::IsWindowVisible(d.GetSafeHwnd()); })});
    EXPECT_TRUE(open);
    EXPECT_EQ(1, harness.DialogsEndedByHarness());
    EXPECT_EQ(IDCANCEL, result);
}

}  // namespace
