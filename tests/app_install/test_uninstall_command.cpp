// Command 32776 as the uninstaller sends it: to the main dialog in this process, and to the real
// program from outside. A machine with the product and other products' things on it keeps
// exactly the others'.
#include "app/Globals.h"
#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/PortSettings.h"
#include "app/SarventoCtlDlg.h"
#include "tests/app_install/InstallTestSupport.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <setupapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace installtest;

namespace {

const wchar_t kSimBusDevice[] = L"ROOT\\SVTMF3\\0000";
const wchar_t kOtherDevice[] = L"ROOT\\SARVENTOTEST\\0000";
const wchar_t kOtherProductKey[] = L"SOFTWARE\\Kolbrant\\Other Product";
// Another product's keys that links among the port subkeys lead to.
const std::wstring kLinkedKey = std::wstring(kOtherProductKey) + L"\\Linked";
const std::wstring kNestedLinkedKey = std::wstring(kOtherProductKey) + L"\\Nested";
const wchar_t kWineVersionKey[] = L"Software\\Wine\\AppDefaults\\SarventoCtl3.exe";

// The machine with the product installed on it, and other products beside it.
class UninstallCommand : public SimMachineTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RunsInBuildPrefix());
        DeleteRegistryLinks();
        SimMachineTest::SetUp();
    }
    void TearDown() override
    {
        DeleteRegistryLinks();
        DeleteTestKey(kTestDeviceEnumKey);
        DeleteTestKey(kOtherProductKey);
        DeleteTestKey(L"SOFTWARE\\Kolbrant\\COM Sarvento v3");
    }

    // Links that a test stopped early left behind: the machine's reset deletes the port subkeys
    // the ordinary way, which follows links.
    static void DeleteRegistryLinks()
    {
        DeleteTestKey(PortSubkey(42));
        DeleteTestKey(PortSubkey(3) + L"\\Nested");
    }

    void InstallProductAndOthers()
    {
        // Ports 3 and 5 with their devices, subkey 9 configured without a ComPort, another
        // product's device, settings and claims.
        ASSERT_TRUE(simtest::SetComDbClaims({11, 12}));
        ASSERT_TRUE(simtest::CreatePorts({3, 5}));  // and their claims
        ASSERT_TRUE(WriteDword(PortSubkey(9), L"Port", 4001));
        ASSERT_TRUE(WriteDevice(kOtherDevice, L"otherbus", {L"root\\otherbus"}));
        ASSERT_TRUE(WriteDword(kOtherProductKey, L"Installed", 1));
        // Registry links to the other product's keys: subkey 0042 itself, and a key inside 0003.
        ASSERT_TRUE(WriteDword(kLinkedKey, L"ComPort", 12));
        ASSERT_TRUE(WriteDword(kLinkedKey + L"\\Sub", L"Kept", 1));
        ASSERT_TRUE(WriteDword(kNestedLinkedKey + L"\\Sub", L"Kept", 1));
        ASSERT_TRUE(WriteRegistryLink(PortSubkey(42), kLinkedKey));
        ASSERT_TRUE(WriteRegistryLink(PortSubkey(3) + L"\\Nested", kNestedLinkedKey));
        ASSERT_TRUE(WriteDword(L"SOFTWARE\\Kolbrant\\COM Sarvento v3", L"Installed", 1));

        for (const std::wstring& path : ProductFilePaths(folders))
            ASSERT_TRUE(files.File(path));
        for (const std::wstring& path : DecoyFilePaths(folders))
            ASSERT_TRUE(files.File(path));

        portInfCopy = files.InfCopy(simtest::BuiltMachineFolder() + L"\\svtser3.inf");
        busInfCopy = files.InfCopy(simtest::BuiltMachineFolder() + L"\\svtmf3.inf");
        ASSERT_TRUE(files.File(folders.temp + L"\\other\\other.inf", OtherProductInf()));
        otherInfCopy = files.InfCopy(folders.temp + L"\\other\\other.inf");
    }

    // Everything of the product is gone.
    void ExpectProductGone()
    {
        EXPECT_FALSE(DeviceExists(PortDeviceInstance(3)));
        EXPECT_FALSE(DeviceExists(PortDeviceInstance(5)));
        EXPECT_FALSE(DeviceExists(kSimBusDevice));
        EXPECT_FALSE(KeyExists(PortSubkey(3)));
        EXPECT_FALSE(KeyExists(PortSubkey(5)));
        EXPECT_FALSE(KeyExists(PortSubkey(42)));
        EXPECT_EQ((std::vector<unsigned>{11, 12}), simtest::ComDbClaims());
        EXPECT_FALSE(FileExists(portInfCopy));
        EXPECT_FALSE(FileExists(busInfCopy));
        for (const std::wstring& path : ProductFilePaths(folders))
            EXPECT_FALSE(FileExists(path)) << "still there: " << ::testing::PrintToString(path);
        EXPECT_FALSE(FolderExists(folders.ProductInstall()));
        EXPECT_FALSE(FolderExists(folders.ProductMenu()));
    }

    // Everything of the others is still there, and what the product keeps.
    void ExpectOthersKept()
    {
        EXPECT_TRUE(DeviceExists(kOtherDevice));
        EXPECT_TRUE(DeviceExists(L"ROOT\\WINE\\WINEBUS"));
        EXPECT_TRUE(KeyExists(PortSubkey(9)));
        EXPECT_TRUE(KeyExists(SVT_PARAMETERS_KEY));
        EXPECT_TRUE(KeyExists(kOtherProductKey));
        EXPECT_TRUE(KeyExists(kLinkedKey + L"\\Sub"));
        EXPECT_TRUE(KeyExists(kNestedLinkedKey + L"\\Sub"));
        DWORD linkedComPort = 0;
        EXPECT_TRUE(ReadRegDword(kLinkedKey.c_str(), kComPortValue, linkedComPort));
        EXPECT_TRUE(KeyExists(L"SOFTWARE\\Kolbrant\\COM Sarvento v3"));
        EXPECT_TRUE(FileExists(otherInfCopy));
        for (const std::wstring& path : DecoyFilePaths(folders))
            EXPECT_TRUE(FileExists(path)) << "deleted: " << ::testing::PrintToString(path);
        EXPECT_TRUE(FolderExists(folders.programFiles + L"\\Kolbrant"));
        EXPECT_TRUE(FolderExists(folders.commonPrograms + L"\\Kolbrant"));
    }

    Folders folders;
    MadeFiles files;
    StandIns standIns{files};
    std::wstring portInfCopy;
    std::wstring busInfCopy;
    std::wstring otherInfCopy;
};

TEST_F(UninstallCommand, TakesExactlyTheProductOffTheMachine)
{
    InstallProductAndOthers();
    HANDLE otherCopy = standIns.Start(L"SarventoCtl3.exe");
    HANDLE similar = standIns.Start(L"SarventoCtl3 Setup.exe");
    ASSERT_NE(nullptr, otherCopy);
    ASSERT_NE(nullptr, similar);

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
    app.m_pMainWnd = &dlg;
    bool stillOpen = false;
    std::vector<int> rows;  // of both pages, before and after
    const auto countRows = [&rows] {
        rows.push_back(uitest::ListViewRowCount(g_portInfoDlg.m_list.m_hWnd));
        rows.push_back(uitest::ListViewRowCount(g_monitorDlg.m_list.m_hWnd));
    };
    ui.RunModal(dlg, {uitest::Do([&](CWnd& wnd) {
                    ASSERT_TRUE(simtest::ClearRequestLog());
                    countRows();
                    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_UNINSTALL, 0), 0);
                    stillOpen = ::IsWindowVisible(wnd.m_hWnd) != FALSE;
                    countRows();
                })});
    app.m_pMainWnd = nullptr;

    EXPECT_TRUE(stillOpen);
    // The pages show what is left, as after a delete.
    EXPECT_EQ((std::vector<int>{2, 2, 0, 0}), rows);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    // The COM numbers go in two steps: first the database is opened for each key number from
    // 0 to 256 and the port's number released, then once for the deletion of every port.
    std::vector<simtest::ComDbCall> expected;
    for (unsigned keyNumber = 0; keyNumber <= 256; ++keyNumber) {
        expected.push_back({SIM_CALL_COMDB_OPEN, 0, 0});
        if (keyNumber == 3 || keyNumber == 5)
            expected.push_back({SIM_CALL_COMDB_RELEASE_PORT, keyNumber, 0});
        expected.push_back({SIM_CALL_COMDB_CLOSE, 0, 0});
    }
    expected.push_back({SIM_CALL_COMDB_OPEN, 0, 0});
    expected.push_back({SIM_CALL_COMDB_RELEASE_PORT, 3, 0});
    expected.push_back({SIM_CALL_COMDB_RELEASE_PORT, 5, 0});
    expected.push_back({SIM_CALL_COMDB_CLOSE, 0, 0});
    EXPECT_EQ(expected, simtest::ComDbCalls());
    EXPECT_EQ(0u, StandIns::WaitForExit(otherCopy));
    EXPECT_TRUE(StandIns::IsRunning(similar));
    ExpectProductGone();
    ExpectOthersKept();
}

TEST_F(UninstallCommand, GoesOnAfterEachFailedStep)
{
    InstallProductAndOthers();
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS));

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
    app.m_pMainWnd = &dlg;
    ui.RunModal(dlg, {uitest::Do([](CWnd& wnd) { wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_UNINSTALL, 0), 0); })});
    app.m_pMainWnd = nullptr;

    // Without the COM-port database no number is released and no subkey deleted; the devices,
    // the INF copies and the files go all the same.
    ASSERT_EQ(1u, ui.MessageBoxes().size());
    EXPECT_EQ(L"Failed to open COM DB. Unable to uninstall", ui.MessageBoxes()[0].text);
    EXPECT_TRUE(KeyExists(PortSubkey(3)));
    EXPECT_EQ((std::vector<unsigned>{3, 5, 11, 12}), simtest::ComDbClaims());
    EXPECT_FALSE(DeviceExists(PortDeviceInstance(3)));
    EXPECT_FALSE(DeviceExists(kSimBusDevice));
    EXPECT_FALSE(FileExists(portInfCopy));
    for (const std::wstring& path : ProductFilePaths(folders))
        EXPECT_FALSE(FileExists(path)) << "still there: " << ::testing::PrintToString(path);
    ExpectOthersKept();
}

// ---- the real program, sent the command by another program ----

TEST_F(UninstallCommand, TheRunningProgramEndsTheOtherCopyButNotItselfAndItsFileStays)
{
    InstallProductAndOthers();
    const std::wstring programFile = folders.ProductInstall() + L"\\SarventoCtl3.exe";
    ASSERT_TRUE(files.Copy(uitest::BuiltProgramPath(), programFile));
    HANDLE otherCopy = standIns.Start(L"SarventoCtl3.exe");
    ASSERT_NE(nullptr, otherCopy);

    uitest::ExternalProgram program(programFile);
    ASSERT_TRUE(program.Started());
    HWND hMain = program.WaitForMainWindow(30000);
    ASSERT_NE(nullptr, hMain) << "the program's main dialog did not appear";

    DWORD_PTR result = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(hMain, WM_COMMAND, MAKEWPARAM(ID_UNINSTALL, 0), 0, SMTO_NORMAL, 30000, &result));

    EXPECT_EQ(0u, StandIns::WaitForExit(otherCopy));
    EXPECT_TRUE(StandIns::IsRunning(program.Handle()));
    EXPECT_TRUE(uitest::TopLevelWindows(program.Id(), L"#32770", L"Error").empty());
    // The running program's own file cannot go, so its folder stays; the rest of it is gone.
    EXPECT_TRUE(FileExists(programFile));
    for (const std::wstring& path : ProductFilePaths(folders)) {
        if (path != programFile) {
            EXPECT_FALSE(FileExists(path)) << "still there: " << ::testing::PrintToString(path);
        }
    }
    EXPECT_TRUE(FolderExists(folders.ProductInstall()));
    EXPECT_FALSE(DeviceExists(PortDeviceInstance(3)));
    EXPECT_FALSE(KeyExists(PortSubkey(3)));
    ExpectOthersKept();

    EXPECT_TRUE(program.Close());
}

// Outside the NT family the program says so, and the uninstallation goes on without the first
// device walk. Wine plays Windows 98 for the program when told to.
class UninstallOnWindows98 : public UninstallCommand {
protected:
    void SetUp() override
    {
        UninstallCommand::SetUp();
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, kWineVersionKey, 0, nullptr, 0, KEY_WRITE,
                                                   nullptr, &key, nullptr));
        const wchar_t version[] = L"win98";
        const LONG written =
            ::RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof(version));
        ::RegCloseKey(key);
        ASSERT_EQ(ERROR_SUCCESS, written);
    }
    void TearDown() override
    {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kWineVersionKey);
        UninstallCommand::TearDown();
    }
};

TEST_F(UninstallOnWindows98, SaysTheProgramNeedsWindowsNtAndGoesOn)
{
    InstallProductAndOthers();
    uitest::ExternalProgram program(uitest::BuiltProgramPath());
    ASSERT_TRUE(program.Started());
    HWND hMain = program.WaitForMainWindow(30000);
    ASSERT_NE(nullptr, hMain) << "the program's main dialog did not appear";

    ::PostMessageW(hMain, WM_COMMAND, MAKEWPARAM(ID_UNINSTALL, 0), 0);
    HWND hBox = uitest::WaitForWindow(program.Id(), L"#32770", L"Error", 30000);
    ASSERT_NE(nullptr, hBox) << "no message box";
    EXPECT_EQ(L"This program must be executed on WINDOWS 2000/XP", uitest::DlgItemText(hBox, 0xFFFF));
    EXPECT_EQ(nullptr, ::GetWindow(hBox, GW_OWNER));
    EXPECT_NE(nullptr, ::GetDlgItem(hBox, IDOK));
    EXPECT_EQ(nullptr, ::GetDlgItem(hBox, IDCANCEL));
    ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hBox, IDOK)));

    // The command handler runs to its end before the program takes the next sent message.
    uitest::WaitFor([&] { return !::IsWindow(hBox); });
    DWORD_PTR result = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(hMain, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result));

    // The walk by service did not run, the walk by hardware id did: the bus device stays, the
    // ports go. The subkeys and the files go too.
    EXPECT_TRUE(DeviceExists(kSimBusDevice));
    EXPECT_FALSE(DeviceExists(PortDeviceInstance(3)));
    EXPECT_FALSE(KeyExists(PortSubkey(3)));
    EXPECT_EQ((std::vector<unsigned>{11, 12}), simtest::ComDbClaims());
    for (const std::wstring& path : ProductFilePaths(folders))
        EXPECT_FALSE(FileExists(path)) << "still there: " << ::testing::PrintToString(path);
    // The INF copies are deleted by the step that did not run.
    EXPECT_TRUE(FileExists(portInfCopy));
    ExpectOthersKept();

    EXPECT_TRUE(program.Close());
}

}  // namespace
