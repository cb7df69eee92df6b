// Removed children: SetupDiRemoveDevice tells no driver, so the bus driver notices by itself
// and withdraws what the port published.
#include <windows.h>

#include <gtest/gtest.h>

#include "DeviceWalk.h"
#include "StatusIo.h"
#include "sim/control/RegKey.h"
#include "tests/support/SimMachine.h"

namespace {

// The driver polls; give it time, but stop as soon as the value is gone.
bool WaitUntilNotInSerialComm(unsigned comNumber)
{
    const ULONGLONG start = GetTickCount64();
    while (simtest::IsInSerialComm(comNumber)) {
        if (GetTickCount64() - start > simtest::kPortWaitMs)
            return false;
        Sleep(10);
    }
    return true;
}

}  // namespace

class Removal : public SimMachineTest {};

TEST_F(Removal, RemovingTheDeviceWithdrawsItsSerialCommValueAndLineState)
{
    ASSERT_TRUE(simtest::CreatePorts({4, 9}));
    ASSERT_TRUE(simtest::SetLineState(4, LINESTATE_CON | LINESTATE_CTS));
    ASSERT_TRUE(simtest::SetLineState(9, LINESTATE_DSR));

    ASSERT_TRUE(RemoveDeviceByComNumber(4));

    EXPECT_TRUE(WaitUntilNotInSerialComm(4));
    EXPECT_TRUE(simtest::IsInSerialComm(9));
    LineStateTable table = {};
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(table));
    EXPECT_EQ(0, table[3]);
    EXPECT_EQ(LINESTATE_DSR, table[8]);
}

TEST_F(Removal, ALaterRequestBringsBackOnlyPortsWhoseSubkeyRemains)
{
    ASSERT_TRUE(simtest::CreatePorts({4, 9}));
    ASSERT_TRUE(RemoveDeviceByComNumber(4));
    ASSERT_TRUE(RemoveDeviceByComNumber(9));
    ASSERT_TRUE(WaitUntilNotInSerialComm(4));
    ASSERT_TRUE(WaitUntilNotInSerialComm(9));
    // Deletion removes the port's subkey after its device.
    ASSERT_EQ(ERROR_SUCCESS,
              simmachine::DeleteKeyTree(HKEY_LOCAL_MACHINE, (std::wstring(SVT_PARAMETERS_KEY) + L"\\0009").c_str()));
    ASSERT_TRUE(simtest::WritePortSubkeys({10}));

    ASSERT_TRUE(simtest::PlugIn());
    // COM9 would come between COM4 and COM10.
    ASSERT_TRUE(simtest::WaitForPorts({4, 10}));

    EXPECT_FALSE(simtest::IsInSerialComm(9));
    EXPECT_FALSE(simtest::IsPortPresent(9));
}

TEST_F(Removal, ARequestRightAfterTheRemovalPresentsTheChildAgain)
{
    // Deleting a port and adding it again: the request comes before the driver's poll has seen
    // the removal, while the port's subkey is still there. The child's device key decides.
    ASSERT_TRUE(simtest::CreatePorts({6}));
    ASSERT_TRUE(RemoveDeviceByComNumber(6));

    ASSERT_TRUE(simtest::PlugIn());

    EXPECT_TRUE(simtest::WaitForPorts({6}, 2000));
    EXPECT_EQ(1u, ListPortDevices().size());
}
