// The uninstallation's device, COM-number and registry steps against the simulated machine:
// the product's devices go, present or not, other devices stay; the COM numbers of the ports
// are released; the port subkeys with a ComPort value go, everything else under the service
// stays.
#include "app/PortSettings.h"
#include "app/Uninstall.h"
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
const wchar_t kWineBusDevice[] = L"ROOT\\WINE\\WINEBUS";

// Devices of other makers and of ours, written into the registry, none of them present.
const wchar_t kOtherService[] = L"ROOT\\SARVENTOTEST\\0000";      // service "svtser3x"
const wchar_t kMixedCaseService[] = L"ROOT\\SARVENTOTEST\\0001";  // service "SvtMf3"
const wchar_t kPortIdSecond[] = L"ROOT\\SARVENTOTEST\\0002";      // no service; ids {ACPI\X, svtmf3\*pnp0501}
const wchar_t kSimilarPortId[] = L"ROOT\\SARVENTOTEST\\0003";     // no service; id SVTMF3\*PNP0501X

class UninstallDevices : public SimMachineTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RunsInBuildPrefix());
        SimMachineTest::SetUp();
    }
    void TearDown() override { DeleteTestKey(kTestDeviceEnumKey); }

    void WriteDecoyDevices()
    {
        ASSERT_TRUE(WriteDevice(kOtherService, L"svtser3x", {L"root\\svtser3x"}));
        ASSERT_TRUE(WriteDevice(kMixedCaseService, L"SvtMf3", {L"root\\othermf"}));
        ASSERT_TRUE(WriteDevice(kPortIdSecond, nullptr, {L"ACPI\\X", L"svtmf3\\*pnp0501"}));
        ASSERT_TRUE(WriteDevice(kSimilarPortId, nullptr, {L"SVTMF3\\*PNP0501X"}));
    }

    // A subkey of the service's Parameters key with a ComPort value, or without one.
    void WriteSubkey(UINT keyNumber, DWORD comPort)
    {
        ASSERT_TRUE(WriteDword(PortSubkey(keyNumber), L"Port", 4001));
        ASSERT_TRUE(WriteDword(PortSubkey(keyNumber), L"ComPort", comPort));
    }
    void WriteSubkeyWithoutComPort(UINT keyNumber) { ASSERT_TRUE(WriteDword(PortSubkey(keyNumber), L"Port", 4001)); }

    uitest::UiHarness ui;  // records message boxes
};

TEST_F(UninstallDevices, RemovesEveryDeviceOfBothServicesAndNoOther)
{
    ASSERT_TRUE(simtest::CreatePorts({3, 5}));
    WriteDecoyDevices();
    ASSERT_TRUE(DeviceExists(kSimBusDevice));

    EXPECT_EQ(0u, RemoveSerialDevicesAndPorts());

    EXPECT_FALSE(DeviceExists(PortDeviceInstance(3)));  // service svtser3
    EXPECT_FALSE(DeviceExists(PortDeviceInstance(5)));
    EXPECT_FALSE(DeviceExists(kSimBusDevice));      // service svtmf3
    EXPECT_FALSE(DeviceExists(kMixedCaseService));  // service SvtMf3, not present
    EXPECT_TRUE(DeviceExists(kOtherService));
    EXPECT_TRUE(DeviceExists(kPortIdSecond));  // no service: the hardware-id walk takes it
    EXPECT_TRUE(DeviceExists(kSimilarPortId));
    EXPECT_TRUE(DeviceExists(kWineBusDevice));
    // The port driver withdraws a removed port's COM name.
    EXPECT_TRUE(uitest::WaitFor([] { return !simtest::IsInSerialComm(3) && !simtest::IsInSerialComm(5); }));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// A port subkey's COM number is its key number, whatever its ComPort value says; subkeys 0000 and
// 0256 are no port's, so they release nothing.
TEST_F(UninstallDevices, ReleasesTheKeyNumberOfEveryPortSubkeyAndKeepsTheSubkeys)
{
    WriteSubkey(0, 9);
    WriteSubkey(5, 6);
    WriteSubkey(7, 0);
    WriteSubkeyWithoutComPort(9);
    WriteSubkey(256, 200);
    ASSERT_TRUE(simtest::SetComDbClaims({5, 6, 7, 9, 11, 200}));

    EXPECT_EQ(0u, RemoveSerialDevicesAndPorts());

    EXPECT_EQ((std::vector<unsigned>{6, 9, 11, 200}), simtest::ComDbClaims());
    for (UINT keyNumber : {0u, 5u, 7u, 9u, 256u})
        EXPECT_TRUE(KeyExists(PortSubkey(keyNumber))) << keyNumber;
}

TEST_F(UninstallDevices, WithoutTheComPortDatabaseStillRemovesTheDevicesAndInfCopies)
{
    ASSERT_TRUE(simtest::CreatePorts({4}));
    MadeFiles files;
    const std::wstring copy = files.InfCopy(simtest::BuiltMachineFolder() + L"\\svtser3.inf");
    ASSERT_FALSE(copy.empty());
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS));

    EXPECT_NE(0u, RemoveSerialDevicesAndPorts());

    EXPECT_FALSE(DeviceExists(PortDeviceInstance(4)));
    EXPECT_FALSE(FileExists(copy));
    EXPECT_EQ((std::vector<unsigned>{4}), simtest::ComDbClaims());
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(UninstallDevices, RemovesEveryDeviceWithThePortHardwareIdInAnyCaseAndPosition)
{
    ASSERT_TRUE(simtest::CreatePorts({6}));
    WriteDecoyDevices();

    EXPECT_EQ(1, RemovePnp0501Devices());

    EXPECT_FALSE(DeviceExists(PortDeviceInstance(6)));
    EXPECT_FALSE(DeviceExists(kPortIdSecond));
    EXPECT_TRUE(DeviceExists(kSimilarPortId));
    EXPECT_TRUE(DeviceExists(kOtherService));
    EXPECT_TRUE(DeviceExists(kMixedCaseService));
    EXPECT_TRUE(DeviceExists(kSimBusDevice));
    EXPECT_TRUE(DeviceExists(kWineBusDevice));
}

TEST_F(UninstallDevices, DeletesThePortSubkeysThatHaveAComPortAndReleasesTheirNumbers)
{
    WriteSubkey(0, 9);
    WriteSubkey(7, 12);  // another port's number: COM7 is released all the same
    WriteSubkeyWithoutComPort(9);
    WriteSubkey(255, 255);
    WriteSubkey(256, 200);
    ASSERT_TRUE(WriteDword(std::wstring(SVT_PARAMETERS_KEY) + L"\\Other", L"ComPort", 12));
    ASSERT_TRUE(WriteDword(SVT_PARAMETERS_KEY, kDeviceCountValue, 3));
    ASSERT_TRUE(WriteDword(L"SYSTEM\\CurrentControlSet\\Services\\svtmf3x\\Parameters\\0007", L"ComPort", 7));
    ASSERT_TRUE(simtest::SetComDbClaims({7, 9, 12, 200, 255}));

    EXPECT_EQ(1, UninstallAllPorts());

    EXPECT_FALSE(KeyExists(PortSubkey(0)));
    EXPECT_FALSE(KeyExists(PortSubkey(7)));
    EXPECT_FALSE(KeyExists(PortSubkey(255)));
    EXPECT_TRUE(KeyExists(PortSubkey(9)));
    EXPECT_TRUE(KeyExists(PortSubkey(256)));
    EXPECT_TRUE(KeyExists(std::wstring(SVT_PARAMETERS_KEY) + L"\\Other"));
    EXPECT_TRUE(KeyExists(L"SYSTEM\\CurrentControlSet\\Services\\svtmf3x\\Parameters\\0007"));
    DWORD deviceCount = 0;
    EXPECT_EQ(1, ReadRegDword(SVT_PARAMETERS_KEY, kDeviceCountValue, deviceCount));
    EXPECT_EQ((std::vector<unsigned>{9, 12, 200}), simtest::ComDbClaims());
    EXPECT_TRUE(ui.MessageBoxes().empty());
    DeleteTestKey(L"SYSTEM\\CurrentControlSet\\Services\\svtmf3x");
}

// A port whose device stays (no device list, or its removal refused) keeps its subkey and its
// COM number, and the uninstallation says so.
TEST_F(UninstallDevices, APortWhoseDeviceStaysKeepsItsSubkeyAndNumber)
{
    const struct {
        const wchar_t* fault;
        const wchar_t* box;
    } cases[] = {
        {SIM_CONTROL_DEVICE_LIST_FAILS, L"The port devices could not be read.\nNo port setting was removed"},
        {SIM_CONTROL_REMOVAL_FAILS,
         L"These ports were not removed: COM3, COM5\nTheir settings and COM numbers are kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(uitest::Narrow(c.fault));
        ASSERT_TRUE(simtest::ResetMachine());
        ui.ClearMessageBoxes();
        ASSERT_TRUE(simtest::CreatePorts({3, 5}));
        ASSERT_TRUE(simtest::SetComDbClaims({3, 5}));
        ASSERT_TRUE(simtest::InjectFault(c.fault));

        RemoveSerialDevicesAndPorts();
        RemovePnp0501Devices();
        UninstallAllPorts();
        ASSERT_TRUE(simtest::ClearFault(c.fault));

        ASSERT_EQ(1u, ui.MessageBoxes().size());
        EXPECT_EQ(c.box, ui.MessageBoxes()[0].text);
        EXPECT_EQ((std::vector<unsigned>{3, 5}), simtest::ComDbClaims());
        for (unsigned com : {3u, 5u}) {
            EXPECT_TRUE(DeviceExists(PortDeviceInstance(com))) << com;
            EXPECT_TRUE(KeyExists(PortSubkey(com))) << com;
        }
    }
}

TEST_F(UninstallDevices, WithoutTheComPortDatabaseDeletesNoSubkeyAndSaysSo)
{
    WriteSubkey(7, 7);
    ASSERT_TRUE(simtest::SetComDbClaims({7}));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS));

    EXPECT_EQ(0, UninstallAllPorts());

    EXPECT_TRUE(KeyExists(PortSubkey(7)));
    EXPECT_EQ((std::vector<unsigned>{7}), simtest::ComDbClaims());
    ASSERT_EQ(1u, ui.MessageBoxes().size());
    EXPECT_EQ(L"Failed to open COM DB. Unable to uninstall", ui.MessageBoxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), ui.MessageBoxes()[0].nType & MB_ICONMASK);
    EXPECT_EQ(static_cast<UINT>(MB_OK), ui.MessageBoxes()[0].nType & MB_TYPEMASK);
}

TEST_F(UninstallDevices, WithoutPortSubkeysNothingIsReleasedOrDeleted)
{
    ASSERT_TRUE(simtest::SetComDbClaims({3}));

    EXPECT_EQ(1, UninstallAllPorts());
    EXPECT_EQ(0u, RemoveSerialDevicesAndPorts());

    EXPECT_TRUE(KeyExists(SVT_PARAMETERS_KEY));
    EXPECT_EQ((std::vector<unsigned>{3}), simtest::ComDbClaims());
}

}  // namespace
