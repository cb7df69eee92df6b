// Each injected fault has the effect it names, and only while it is set.
#include <windows.h>

#include <ddk/msports.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include "DeviceWalk.h"
#include "StatusIo.h"
#include "tests/support/SimMachine.h"

namespace {

// How long a child needs at most when children come without delay: far more than enough.
constexpr DWORD kNoChildWaitMs = 300;

bool BusInterfaceListed()
{
    HDEVINFO set =
        SetupDiGetClassDevsW(&GUID_BUS_DRIVER_INTERFACE, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(data);
    bool listed = SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_BUS_DRIVER_INTERFACE, 0, &data) != FALSE;
    SetupDiDestroyDeviceInfoList(set);
    return listed;
}

std::wstring FriendlyNameOfNewPort(DWORD form)
{
    EXPECT_TRUE(simtest::InjectFault(SIM_CONTROL_FRIENDLY_NAME_FORM, form));
    EXPECT_TRUE(simtest::CreatePorts({5}));
    std::vector<PortDevice> devices = ListPortDevices();
    EXPECT_EQ(1u, devices.size());
    if (devices.empty())
        return L"<no device>";
    EXPECT_EQ(L"Sarvento VCP", devices[0].description);
    return devices[0].hasFriendlyName ? devices[0].friendlyName : L"<none>";
}

}  // namespace

class Faults : public SimMachineTest {
protected:
    void SetUp() override
    {
        SimMachineTest::SetUp();
        // Children without delay, so that a short wait shows that none is coming.
        ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILD_DELAY_MS, 0));
    }
};

TEST_F(Faults, ARefusedPlugInFailsAndBringsNoChild)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_REFUSE_PLUGIN));
    ASSERT_TRUE(simtest::WritePortSubkeys({5}));

    EXPECT_FALSE(simtest::PlugIn());

    EXPECT_FALSE(simtest::WaitForPorts({5}, kNoChildWaitMs));
    std::vector<simmachine::LoggedRequest> log = simtest::RequestLog();
    ASSERT_EQ(1u, log.size());
    EXPECT_NE(0, log[0].record.status);
}

TEST_F(Faults, ChildrenNeverComeAfterASuccessfulRequest)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILDREN_NEVER));
    ASSERT_TRUE(simtest::WritePortSubkeys({5}));

    EXPECT_TRUE(simtest::PlugIn());

    EXPECT_FALSE(simtest::WaitForPorts({5}, kNoChildWaitMs));
}

TEST_F(Faults, LateChildrenMissTheOldWindowsWaitButCome)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILD_DELAY_MS, 1500));
    ASSERT_TRUE(simtest::WritePortSubkeys({5}));
    ASSERT_TRUE(simtest::PlugIn());

    EXPECT_FALSE(simtest::WaitForPorts({5}, 1100));
    EXPECT_TRUE(simtest::WaitForPorts({5}));
}

TEST_F(Faults, FriendlyNameFormsAreTheOnesAsked)
{
    EXPECT_EQ(L"Sarvento VCP(COM5)", FriendlyNameOfNewPort(SIM_FRIENDLY_NAME_NO_BLANK));
    ASSERT_TRUE(simtest::ResetMachine());
    EXPECT_EQ(L"Sarvento VCP (COM5) spare", FriendlyNameOfNewPort(SIM_FRIENDLY_NAME_TRAILING));
    ASSERT_TRUE(simtest::ResetMachine());
    EXPECT_EQ(L"<none>", FriendlyNameOfNewPort(SIM_FRIENDLY_NAME_NONE));
}

TEST_F(Faults, AHiddenBusInterfaceIsNotListedUntilTheFaultIsCleared)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_HIDE_BUS_INTERFACE));

    EXPECT_FALSE(BusInterfaceListed());
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), simmachine::SendPlugInRequest());

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_HIDE_BUS_INTERFACE));
    EXPECT_TRUE(BusInterfaceListed());
}

TEST_F(Faults, AHiddenStatusDeviceDoesNotOpen)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_HIDE_STATUS_DEVICE));

    LineStateTable table = {};
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), ReadLineStates(table));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), SendTrace(0, 0));

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_HIDE_STATUS_DEVICE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(table));
}

TEST_F(Faults, AFailedTraceRequestLeavesTheLineStateReadWorking)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_FAIL_TRACE));

    EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), SendTrace(1, 5));
    LineStateTable table = {};
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(table));
}

TEST_F(Faults, AFailedLineStateReadLeavesTheTraceRequestWorking)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_FAIL_LINE_READ));

    LineStateTable table = {};
    EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(table));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), SendTrace(1, 5));
}

TEST_F(Faults, ComDbOpenFailsWithAnInvalidHandle)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS));

    HCOMDB db = nullptr;
    EXPECT_NE(ERROR_SUCCESS, ComDBOpen(&db));
    EXPECT_EQ(HCOMDB_INVALID_HANDLE_VALUE, db);

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_COMDB_OPEN_FAILS));
    ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&db));
    EXPECT_EQ(ERROR_SUCCESS, ComDBClose(db));
}

TEST_F(Faults, TheUsageReportFailsWhileTheDatabaseOpens)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_REPORT_FAILS));

    HCOMDB db = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&db));
    BYTE usage[256];
    DWORD reported = 0;
    EXPECT_NE(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db, usage, sizeof(usage), CDB_REPORT_BYTES, &reported));
    EXPECT_EQ(ERROR_SUCCESS, ComDBClaimPort(db, 4, FALSE, nullptr));

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_COMDB_REPORT_FAILS));
    EXPECT_EQ(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db, usage, sizeof(usage), CDB_REPORT_BYTES, &reported));
    EXPECT_EQ(1, usage[3]);
    EXPECT_EQ(ERROR_SUCCESS, ComDBClose(db));
}

TEST_F(Faults, NoDeviceListCanBeMadeUntilTheFaultIsCleared)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_DEVICE_LIST_FAILS));

    SetLastError(0);
    EXPECT_EQ(INVALID_HANDLE_VALUE, OpenPresentPortDevices());
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE, SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_DEVICE_LIST_FAILS));
    EXPECT_EQ(1u, ListPortDevices().size());
}

TEST_F(Faults, NoDeviceCanBeRemovedUntilTheFaultIsCleared)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_REMOVAL_FAILS));

    EXPECT_FALSE(simtest::RemovePortDevice(5));
    EXPECT_TRUE(simtest::IsPortPresent(5));

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_REMOVAL_FAILS));
    EXPECT_TRUE(simtest::RemovePortDevice(5));
}
