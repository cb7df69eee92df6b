// The fixture's reset: what every later test relies on finding.
#include <windows.h>

#include <ddk/msports.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "DeviceWalk.h"
#include "StatusIo.h"
#include "sim/control/RegKey.h"
#include "tests/support/SimMachine.h"

class MachineReset : public SimMachineTest {};

TEST_F(MachineReset, LeavesAnInstalledMachineWithoutPortsClaimsFaultsOrLog)
{
    ASSERT_TRUE(simtest::CreatePorts({3, 8}));
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial0", 1));
    ASSERT_TRUE(simtest::SetComDbClaims({2, 3}));
    ASSERT_TRUE(simtest::SetLineState(3, LINESTATE_CON));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_HIDE_BUS_INTERFACE));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_HIDE_STATUS_DEVICE));
    HCOMDB db = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&db));
    ASSERT_EQ(ERROR_SUCCESS, ComDBClose(db));
    ASSERT_FALSE(simtest::RequestLog().empty());
    ASSERT_EQ(2u, simtest::ComDbCalls().size());

    ASSERT_TRUE(simtest::ResetMachine());

    EXPECT_TRUE(ListPortDevices().empty());
    std::vector<std::pair<std::wstring, std::wstring>> serialComm;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadSerialComm(serialComm));
    EXPECT_TRUE(serialComm.empty());
    EXPECT_TRUE(simtest::ComDbClaims().empty());
    EXPECT_TRUE(simtest::RequestLog().empty());
    EXPECT_TRUE(simtest::ComDbCalls().empty());

    simmachine::RegKey parameters;
    std::vector<std::wstring> subkeys;
    ASSERT_EQ(ERROR_SUCCESS, parameters.Open(HKEY_LOCAL_MACHINE, SVT_PARAMETERS_KEY, KEY_READ | KEY_WRITE));
    ASSERT_EQ(ERROR_SUCCESS, parameters.SubkeyNames(subkeys));
    EXPECT_TRUE(subkeys.empty());

    // Both devices are back, and the line state went with the port.
    EXPECT_TRUE(simtest::PlugIn());
    LineStateTable table;
    table.fill(0xEE);
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(table));
    EXPECT_EQ(LineStateTable{}, table);
}

TEST_F(MachineReset, SimctlsResetLeavesWinesOwnSerialPortsAsWineListsThem)
{
    // Wine lists a serial port under the name of its COM DOS device's device.
    std::vector<std::pair<std::wstring, std::wstring>> wines;
    for (unsigned n = 1; n <= 256; ++n) {
        const std::wstring comName = L"COM" + std::to_wstring(n);
        wchar_t device[MAX_PATH];
        if (QueryDosDeviceW(comName.c_str(), device, MAX_PATH) != 0)
            wines.emplace_back(device, comName);
    }
    if (wines.empty())
        GTEST_SKIP() << "Wine found no serial device on this host";
    ASSERT_TRUE(simtest::CreatePorts({3}));
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Other", 7));

    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ResetMachine(simmachine::WineSerialPorts::Keep));

    std::vector<std::pair<std::wstring, std::wstring>> serialComm;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadSerialComm(serialComm));
    std::sort(serialComm.begin(), serialComm.end());
    std::sort(wines.begin(), wines.end());
    EXPECT_EQ(wines, serialComm);
}

TEST_F(MachineReset, RemovePortDeviceTakesTheDeviceAndItsComName)
{
    ASSERT_TRUE(simtest::CreatePorts({3, 8}));

    ASSERT_TRUE(simtest::RemovePortDevice(8));

    EXPECT_FALSE(simtest::IsInSerialComm(8));
    EXPECT_FALSE(simtest::IsPortPresent(8));
    ASSERT_EQ(1u, ListPortDevices().size());
    EXPECT_EQ(PortInstanceId(3), ListPortDevices()[0].instanceId);
}
