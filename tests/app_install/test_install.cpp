// Command 32775: installing the drivers from the current folder with Wine's SetupAPI and the
// simulated machine's INF files.
#include "app/DriverInstall.h"
#include "app/SarventoCtlDlg.h"
#include "app/Uninstall.h"
#include "tests/app_install/InstallTestSupport.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <setupapi.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace installtest;

namespace {

// The root device that the simulated bus driver publishes for itself.
const wchar_t kSimBusDevice[] = L"ROOT\\SVTMF3\\0000";
constexpr DWORD kDeviceIdChars = 200;
// Wine's settings for the control panel alone.
const wchar_t kWineProgramSettings[] = L"Software\\Wine\\AppDefaults\\SarventoCtl3.exe";
const wchar_t kWineProgramOverrides[] = L"Software\\Wine\\AppDefaults\\SarventoCtl3.exe\\DllOverrides";

struct BusDevice {
    std::wstring instanceId;
    std::vector<BYTE> hardwareIds;  // the property's bytes as stored
    std::wstring service;
};

// Every device other than the simulation's own whose hardware ids start with root\svtmf3.
std::vector<BusDevice> InstalledBusDevices()
{
    std::vector<BusDevice> found;
    HDEVINFO devices = ::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (devices == INVALID_HANDLE_VALUE)
        return found;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        BusDevice bus;
        wchar_t id[kDeviceIdChars] = {};
        BYTE ids[512] = {};
        DWORD size = 0;
        wchar_t service[64] = {};
        if (!::SetupDiGetDeviceInstanceIdW(devices, &device, id, kDeviceIdChars, nullptr) ||
            !::SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_HARDWAREID, nullptr, ids, sizeof(ids) - 4,
                                                 &size) ||
            _wcsicmp(reinterpret_cast<const wchar_t*>(ids), L"root\\svtmf3") != 0 || _wcsicmp(id, kSimBusDevice) == 0)
            continue;
        ::SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_SERVICE, nullptr, reinterpret_cast<BYTE*>(service),
                                            sizeof(service) - sizeof(wchar_t), nullptr);
        bus.instanceId = id;
        bus.hardwareIds.assign(ids, ids + size);
        bus.service = service;
        found.push_back(bus);
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return found;
}

void RemoveInstalledBusDevices()
{
    HDEVINFO devices = ::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (devices == INVALID_HANDLE_VALUE)
        return;
    const std::vector<BusDevice> installed = InstalledBusDevices();
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        wchar_t id[kDeviceIdChars] = {};
        ::SetupDiGetDeviceInstanceIdW(devices, &device, id, kDeviceIdChars, nullptr);
        for (const BusDevice& bus : installed) {
            if (bus.instanceId == id)
                ::SetupDiRemoveDevice(devices, &device);
        }
    }
    ::SetupDiDestroyDeviceInfoList(devices);
}

class Install : public SimMachineTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RunsInBuildPrefix());
        SimMachineTest::SetUp();
        ASSERT_TRUE(InstalledBusDevices().empty()) << "a bus device from an earlier run is still there";
        wchar_t current[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, current);
        m_previousFolder = current;
        // The system's copies that an install makes; gone again after the test.
        for (const wchar_t* name : {L"svtmf3.inf", L"svtmf3.pnf", L"svtser3.inf", L"svtser3.pnf"}) {
            ASSERT_FALSE(FileExists(folders.inf + L"\\" + name)) << "left from an earlier run";
            files.Remember(folders.inf + L"\\" + name);
        }
    }
    void TearDown() override
    {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, kWineProgramSettings);
        ::SetCurrentDirectoryW(m_previousFolder.c_str());
        RemoveInstalledBusDevices();
    }

    // A driver package as the installer unpacks it: the INF files and the drivers, made current.
    void EnterPackageFolder(const std::wstring& folder, const std::wstring& busInf)
    {
        for (const wchar_t* name : {L"svtser3.inf", L"svtmf3.sys", L"svtser3.sys"})
            ASSERT_TRUE(files.Copy(simtest::BuiltMachineFolder() + L"\\" + name, folder + L"\\" + name));
        if (!busInf.empty()) {
            ASSERT_TRUE(files.Copy(busInf, folder + L"\\svtmf3.inf"));
        }
        ASSERT_TRUE(::SetCurrentDirectoryW(folder.c_str()));
    }

    Folders folders;
    MadeFiles files;

private:
    std::wstring m_previousFolder;
};

TEST_F(Install, Command32775InstallsTheBusDeviceFromTheCurrentFolder)
{
    EnterPackageFolder(folders.temp + L"\\package", simtest::BuiltMachineFolder() + L"\\svtmf3.inf");

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
    app.m_pMainWnd = &dlg;
    ui.RunModal(dlg, {uitest::Do([](CWnd& wnd) { wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_INSTALL, 0), 0); })});
    app.m_pMainWnd = nullptr;

    const std::vector<BusDevice> installed = InstalledBusDevices();
    ASSERT_EQ(1u, installed.size());
    const wchar_t ids[] = L"root\\svtmf3\0";
    EXPECT_EQ(std::vector<BYTE>(reinterpret_cast<const BYTE*>(ids), reinterpret_cast<const BYTE*>(ids) + 26),
              installed[0].hardwareIds);
    EXPECT_EQ(L"svtmf3", installed[0].service);
    // Both INF files are known to the system now; the port driver's came first.
    EXPECT_TRUE(FileExists(folders.inf + L"\\svtser3.inf"));
    EXPECT_TRUE(FileExists(folders.inf + L"\\svtmf3.inf"));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    // The bus driver serves on.
    EXPECT_TRUE(simtest::CreatePorts({4}));
}

TEST_F(Install, UninstallingAfterwardsLeavesNeitherTheDeviceNorTheInfCopies)
{
    EnterPackageFolder(folders.temp + L"\\package", simtest::BuiltMachineFolder() + L"\\svtmf3.inf");
    ASSERT_TRUE(InstallDrivers());
    ASSERT_EQ(1u, InstalledBusDevices().size());

    RemoveSerialDevicesAndPorts();

    EXPECT_TRUE(InstalledBusDevices().empty());
    for (const wchar_t* name : {L"svtmf3.inf", L"svtmf3.pnf", L"svtser3.inf", L"svtser3.pnf"})
        EXPECT_FALSE(FileExists(folders.inf + L"\\" + name)) << ::testing::PrintToString(std::wstring(name));
}

// The program run by the installer from the package folder, on a system whose device
// installer (newdev.dll) cannot be loaded: Wine leaves it out for the program when told to.
TEST_F(Install, WithoutTheDeviceInstallerTheNewBusDeviceGoesAgain)
{
    const std::wstring package = folders.temp + L"\\package";
    EnterPackageFolder(package, simtest::BuiltMachineFolder() + L"\\svtmf3.inf");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, kWineProgramOverrides, 0, nullptr, 0, KEY_WRITE,
                                               nullptr, &key, nullptr));
    const LONG disabled =
        ::RegSetValueExW(key, L"newdev", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    ::RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, disabled);

    uitest::ExternalProgram program(uitest::BuiltProgramPath(), package);
    ASSERT_TRUE(program.Started());
    HWND hMain = program.WaitForMainWindow(30000);
    ASSERT_NE(nullptr, hMain) << "the program's main dialog did not appear";
    DWORD_PTR result = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(hMain, WM_COMMAND, MAKEWPARAM(ID_INSTALL, 0), 0, SMTO_NORMAL, 30000, &result));

    // The port driver's INF was copied before; the bus device was registered and removed again.
    EXPECT_TRUE(FileExists(folders.inf + L"\\svtser3.inf"));
    EXPECT_TRUE(InstalledBusDevices().empty());
    EXPECT_EQ(std::vector<HWND>{hMain}, uitest::TopLevelWindows(program.Id(), nullptr, nullptr))
        << "a message box showed";
    EXPECT_TRUE(program.Close());
}

TEST_F(Install, WithoutTheInfFilesNothingIsCreated)
{
    MadeFiles empty;
    ASSERT_TRUE(empty.Folder(folders.temp + L"\\empty"));
    ASSERT_TRUE(::SetCurrentDirectoryW((folders.temp + L"\\empty").c_str()));

    EXPECT_FALSE(InstallDrivers());

    EXPECT_TRUE(InstalledBusDevices().empty());
    EXPECT_FALSE(FileExists(folders.inf + L"\\svtser3.inf"));
    ::SetCurrentDirectoryW(L"C:\\");
}

}  // namespace
