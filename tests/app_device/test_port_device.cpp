// The plug-in request and the port driver's installation, against the simulated machine.
#include "app/PortDeviceCreation.h"

#include "app/PortSettings.h"
#include "contract/DriverInterface.h"
#include "framework/framework.h"
#include "tests/support/OpenHandles.h"
#include "tests/support/SimMachine.h"

#include <newdev.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

const wchar_t kDriverNotLoaded[] = L"Driver was not loaded! Please return application!";

// Records every message box and answers OK.
class MessageBoxRecorder {
public:
    MessageBoxRecorder()
    {
        previous_ = AfxSetMessageBoxHandler([this](const AfxMessageBoxCall& call) {
            texts.push_back(call.text);
            return IDOK;
        });
    }
    ~MessageBoxRecorder() { AfxSetMessageBoxHandler(previous_); }
    std::vector<std::wstring> texts;

private:
    AfxMessageBoxHandler previous_;
};

void SetInstallFolder(const std::wstring& folder)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallFolderKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, L"ComSarventoPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                             static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))));
    RegCloseKey(key);
}

void RemoveInstallFolder()
{
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kInstallFolderKey);
}

class AddPortDeviceTest : public SimMachineTest {
protected:
    void SetUp() override
    {
        SimMachineTest::SetUp();
        RemoveInstallFolder();
    }
    void TearDown() override
    {
        RemoveInstallFolder();
        SimMachineTest::TearDown();
    }
};

// The bus interface is open only for its request: a second one leaves the process holding no more
// handles than before it.
TEST_F(AddPortDeviceTest, OneRequestPresentsEveryPortWrittenBeforeIt)
{
    ASSERT_TRUE(simtest::WritePortSubkeys({3, 5, 6}));
    MessageBoxRecorder boxes;
    int osVersion = 61;

    EXPECT_EQ(1, AddPortDevice(&osVersion, 3));
    const int handlesBefore = uitest::CountOpenHandles();
    EXPECT_EQ(1, AddPortDevice(&osVersion, 3));
    EXPECT_EQ(handlesBefore, uitest::CountOpenHandles());

    EXPECT_TRUE(boxes.texts.empty());
    ASSERT_TRUE(simtest::WaitForPorts({3, 5, 6}));
    auto log = simtest::RequestLog();
    ASSERT_EQ(2u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
    for (const auto& request : log) {
        if (request.record.code != IOCTL_BUS_PLUGIN_PORT)
            continue;
        EXPECT_EQ(8u, request.record.inputLength);
        EXPECT_EQ(8u, request.record.outputLength);
        ASSERT_EQ(8u, request.record.inputSaved);
        BusPlugInRecord sent{};
        memcpy(&sent, request.record.input, sizeof sent);
        EXPECT_EQ(8u, sent.size);
        EXPECT_EQ(1u, sent.serialNo);
    }
}

TEST_F(AddPortDeviceTest, MissingBusInterfaceIsReportedOnce)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_HIDE_BUS_INTERFACE));
    MessageBoxRecorder boxes;
    int osVersion = 61;

    EXPECT_EQ(0, AddPortDevice(&osVersion, 3));

    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(kDriverNotLoaded, boxes.texts[0]);
    EXPECT_EQ(0u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
}

TEST_F(AddPortDeviceTest, RefusedRequestIsReportedAndPresentsNothing)
{
    ASSERT_TRUE(simtest::WritePortSubkeys({4}));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_REFUSE_PLUGIN));
    MessageBoxRecorder boxes;
    int osVersion = 61;

    EXPECT_EQ(0, AddPortDevice(&osVersion, 4));

    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(kDriverNotLoaded, boxes.texts[0]);
    Sleep(300);
    EXPECT_FALSE(simtest::IsPortPresent(4));
}

TEST_F(AddPortDeviceTest, WithoutTheParametersKeyNothingIsAskedOrShown)
{
    ASSERT_EQ(ERROR_SUCCESS, SHDeleteKeyW(HKEY_LOCAL_MACHINE, SVT_PARAMETERS_KEY));
    MessageBoxRecorder boxes;
    int osVersion = 61;

    EXPECT_EQ(0, AddPortDevice(&osVersion, 3));

    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(0u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
}

TEST_F(AddPortDeviceTest, OldWindowsWithoutInstallFolderStillSucceeds)
{
    ASSERT_TRUE(simtest::WritePortSubkeys({7}));
    MessageBoxRecorder boxes;
    int osVersion = 51;

    EXPECT_EQ(1, AddPortDevice(&osVersion, 7));

    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_TRUE(simtest::DriverUpdates().empty());
    ASSERT_TRUE(simtest::WaitForPorts({7}));
}

TEST_F(AddPortDeviceTest, OnlyOldWindowsInstallsThePortDriverFromTheInstallFolder)
{
    SetInstallFolder(L"C:\\Program Files\\Kolbrant\\COM Sarvento");
    ASSERT_TRUE(simtest::WritePortSubkeys({26}));
    MessageBoxRecorder boxes;

    // From code 53 on, Plug and Play installs the driver: no update is asked for.
    int osVersion = 61;
    EXPECT_EQ(1, AddPortDevice(&osVersion, 26));
    EXPECT_TRUE(simtest::DriverUpdates().empty());

    osVersion = 52;
    EXPECT_EQ(1, AddPortDevice(&osVersion, 26));

    EXPECT_TRUE(boxes.texts.empty());
    const std::vector<simtest::DriverUpdate> updates = simtest::DriverUpdates();
    ASSERT_EQ(1u, updates.size());
    EXPECT_EQ(L"SVTMF3\\0000001a", updates[0].hardwareId);
    EXPECT_EQ(L"C:\\Program Files\\Kolbrant\\COM Sarvento\\svtser3.inf", updates[0].infPath);
    EXPECT_EQ(static_cast<DWORD>(INSTALLFLAG_READONLY), updates[0].flags);
    EXPECT_EQ(0u, updates[0].parentWindow);
    EXPECT_EQ(2u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
}

TEST_F(AddPortDeviceTest, OldWindowsPassesAnInfPathOf259CharactersAndSkipsOneOf260)
{
    // The driver installation takes paths of up to 260 characters with their terminator.
    const std::wstring folder = L"C:\\" + std::wstring(259 - 3 - 12, L'x');  // and "\\svtser3.inf"
    ASSERT_TRUE(simtest::WritePortSubkeys({8}));
    int osVersion = 52;

    SetInstallFolder(folder);
    EXPECT_EQ(1, AddPortDevice(&osVersion, 8));
    SetInstallFolder(folder + L"y");
    EXPECT_EQ(1, AddPortDevice(&osVersion, 8));

    const std::vector<simtest::DriverUpdate> updates = simtest::DriverUpdates();
    ASSERT_EQ(1u, updates.size());
    EXPECT_EQ(259u, updates[0].infPath.size());
    EXPECT_EQ(folder + L"\\svtser3.inf", updates[0].infPath);
    ASSERT_TRUE(simtest::WaitForPorts({8}));
}

TEST_F(AddPortDeviceTest, OldWindowsClearsTheLastErrorOnlyAfterASuccessfulUpdate)
{
    // The update succeeds for a port whose device is there already, from the machine's own INF.
    SetInstallFolder(simtest::BuiltMachineFolder());
    ASSERT_TRUE(simtest::CreatePorts({9}));
    simtest::PortInfCopiesRemover infCopies;
    int osVersion = 52;

    SetLastError(1234);
    EXPECT_EQ(1, AddPortDevice(&osVersion, 9));
    EXPECT_EQ(0u, GetLastError());

    // No device ever carries COM10's id: the update fails, and its error is left.
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILDREN_NEVER));
    ASSERT_TRUE(simtest::WritePortSubkeys({10}));
    EXPECT_EQ(1, AddPortDevice(&osVersion, 10));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), GetLastError());

    const std::vector<simtest::DriverUpdate> updates = simtest::DriverUpdates();
    ASSERT_EQ(2u, updates.size());
    EXPECT_EQ(TRUE, updates[0].result);
    EXPECT_EQ(FALSE, updates[1].result);
}

// Turns newdev.dll off for this program through Wine's per-user override, as on a system where
// it is missing, and puts the machine's own override back afterwards.
class NewdevDisabled {
public:
    NewdevDisabled()
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key_, nullptr);
        DWORD bytes = sizeof(previous_);
        hadPrevious_ = RegQueryValueExW(key_, L"newdev", nullptr, nullptr, reinterpret_cast<BYTE*>(previous_),
                                        &bytes) == ERROR_SUCCESS;
        RegSetValueExW(key_, L"newdev", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    }
    ~NewdevDisabled()
    {
        if (hadPrevious_)
            RegSetValueExW(key_, L"newdev", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_),
                           static_cast<DWORD>((wcslen(previous_) + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key_, L"newdev");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    wchar_t previous_[64] = {};
    bool hadPrevious_ = false;
};

class CallUpdateDriver : public SimMachineTest {};

TEST_F(CallUpdateDriver, PassesItsArgumentsWithoutAParentWindowAndMapsTheResultToZeroOrTwo)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    const std::wstring inf = simtest::BuiltMachineFolder() + L"\\svtser3.inf";
    simtest::PortInfCopiesRemover infCopies;
    BOOL reboot = TRUE;

    EXPECT_EQ(0, CallUpdateDriverForPlugAndPlayDevices(L"SVTMF3\\00000005", inf.c_str(),
                                                       INSTALLFLAG_READONLY | INSTALLFLAG_NONINTERACTIVE, &reboot));
    EXPECT_FALSE(reboot);
    EXPECT_EQ(2, CallUpdateDriverForPlugAndPlayDevices(L"SVTMF3\\00000006", inf.c_str(), INSTALLFLAG_FORCE, &reboot));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"newdev.dll"));  // freed after each call

    const std::vector<simtest::DriverUpdate> updates = simtest::DriverUpdates();
    ASSERT_EQ(2u, updates.size());
    EXPECT_EQ(L"SVTMF3\\00000005", updates[0].hardwareId);
    EXPECT_EQ(inf, updates[0].infPath);
    EXPECT_EQ(static_cast<DWORD>(INSTALLFLAG_READONLY | INSTALLFLAG_NONINTERACTIVE), updates[0].flags);
    EXPECT_EQ(0u, updates[0].parentWindow);
    EXPECT_EQ(TRUE, updates[0].result);
    EXPECT_EQ(static_cast<DWORD>(INSTALLFLAG_FORCE), updates[1].flags);
    EXPECT_EQ(FALSE, updates[1].result);
}

TEST_F(CallUpdateDriver, ReportsAMissingNewdevAsTwo)
{
    NewdevDisabled disabled;
    ASSERT_EQ(nullptr, GetModuleHandleW(L"newdev.dll"));
    BOOL reboot = FALSE;
    EXPECT_EQ(2, CallUpdateDriverForPlugAndPlayDevices(SVT_BUS_HARDWARE_ID, L"C:\\x\\svtmf3.inf", INSTALLFLAG_FORCE,
                                                       &reboot));
    EXPECT_TRUE(simtest::DriverUpdates().empty());
}

}  // namespace
