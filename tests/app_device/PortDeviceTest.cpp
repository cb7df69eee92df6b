// The plug-in request and the port driver's installation, against the simulated machine.
#include "app/PortDeviceCreation.h"

#include "app/DriverInterface.h"
#include "app/PortSettings.h"
#include "framework/framework.h"
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
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallFolderKey, 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"ComSarventoPath", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(folder.c_str()),
                                            static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))));
    RegCloseKey(key);
}

void RemoveInstallFolder() { SHDeleteKeyW(HKEY_LOCAL_MACHINE, kInstallFolderKey); }

class AddPortDeviceTest : public SimMachineTest {
protected:
    void SetUp() override
    {
        SimMachineTest::SetUp();
        RemoveInstallFolder();
    }
    void TearDown() override { RemoveInstallFolder(); }
};

TEST_F(AddPortDeviceTest, OneRequestPresentsEveryPortWrittenBeforeIt)
{
    ASSERT_TRUE(simtest::WritePortSubkeys({3, 5, 6}));
    MessageBoxRecorder boxes;
    int osVersion = 61;

    EXPECT_EQ(1, AddPortDevice(&osVersion, 3));

    EXPECT_TRUE(boxes.texts.empty());
    ASSERT_TRUE(simtest::WaitForPorts({3, 5, 6}));
    auto log = simtest::RequestLog();
    ASSERT_EQ(1u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
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
    ASSERT_TRUE(simtest::WaitForPorts({7}));
}

TEST_F(AddPortDeviceTest, OldWindowsWithAnOverlongInstallFolderSkipsTheDriverUpdate)
{
    // 255 characters of folder and "\svtser3.inf" do not fit the 260-character path the driver
    // installation takes: the update is left out, the port is still plugged in.
    SetInstallFolder(L"C:\\" + std::wstring(252, L'x'));
    ASSERT_TRUE(simtest::WritePortSubkeys({8}));
    int osVersion = 52;

    EXPECT_EQ(1, AddPortDevice(&osVersion, 8));
    ASSERT_TRUE(simtest::WaitForPorts({8}));
}

TEST_F(AddPortDeviceTest, OldWindowsInstallsThePortDriverFromTheInstallFolder)
{
    SetInstallFolder(L"C:\\windows\\temp");
    ASSERT_TRUE(simtest::WritePortSubkeys({9}));
    int osVersion = 52;

    EXPECT_EQ(1, AddPortDevice(&osVersion, 9));
    // A successful update clears the thread's last error.
    EXPECT_EQ(0u, GetLastError());
    ASSERT_TRUE(simtest::WaitForPorts({9}));
}

// Turns newdev.dll off for this program through Wine's own per-user override, as on a system
// where it is missing.
class NewdevDisabled {
public:
    NewdevDisabled()
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_WRITE, nullptr, &key_,
                        nullptr);
        RegSetValueExW(key_, L"newdev", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    }
    ~NewdevDisabled()
    {
        RegDeleteValueW(key_, L"newdev");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
};

TEST(CallUpdateDriver, ReportsSuccessAsZero)
{
    BOOL reboot = FALSE;
    EXPECT_EQ(0, CallUpdateDriverForPlugAndPlayDevices(SVT_BUS_HARDWARE_ID, L"C:\\x\\svtmf3.inf", INSTALLFLAG_FORCE,
                                                       &reboot));
}

TEST(CallUpdateDriver, ReportsAMissingNewdevAsTwo)
{
    NewdevDisabled disabled;
    ASSERT_EQ(nullptr, GetModuleHandleW(L"newdev.dll"));
    BOOL reboot = FALSE;
    EXPECT_EQ(2, CallUpdateDriverForPlugAndPlayDevices(SVT_BUS_HARDWARE_ID, L"C:\\x\\svtmf3.inf", INSTALLFLAG_FORCE,
                                                       &reboot));
}

}  // namespace
