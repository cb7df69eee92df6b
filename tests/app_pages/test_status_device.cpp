// The requests to the port driver's status device, against the simulated driver: what a
// success, a refusal and an absent device leave behind.
#include "app/Globals.h"
#include "app/StatusDevice.h"
#include "tests/support/OpenHandles.h"
#include "tests/support/SimMachine.h"

#include <gtest/gtest.h>

namespace {

class StatusDeviceTest : public SimMachineTest {
protected:
    void SetUp() override
    {
        SimMachineTest::SetUp();
        for (auto& state : g_lineStateTable)
            state = 0x55;
        g_traceSelection.enabled = 0;
        g_traceSelection.comNumber = 0;
    }
};

TEST_F(StatusDeviceTest, ReadCopiesTheWholeTable)
{
    ASSERT_TRUE(simtest::CreatePorts({3, 200}));
    ASSERT_TRUE(simtest::SetLineState(3, LINESTATE_CON | LINESTATE_CTS));
    ASSERT_TRUE(simtest::SetLineState(200, LINESTATE_DCD));
    ASSERT_TRUE(simtest::ClearRequestLog());
    const int handlesBefore = uitest::CountOpenHandles();

    EXPECT_TRUE(ReadLineStateTable());

    EXPECT_EQ(handlesBefore, uitest::CountOpenHandles());  // the device is open only for its request
    EXPECT_EQ(LINESTATE_CON | LINESTATE_CTS, g_lineStateTable[2]);
    EXPECT_EQ(LINESTATE_DCD, g_lineStateTable[199]);
    EXPECT_EQ(0, g_lineStateTable[0]);
    EXPECT_EQ(0, g_lineStateTable[255]);
    EXPECT_TRUE(IsPortOpen(3));
    EXPECT_FALSE(IsPortOpen(200));
    const std::vector<simmachine::LoggedRequest> log = simtest::RequestLog();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(IOCTL_READ_LINE_STATES, log[0].record.code);
    EXPECT_EQ(LINE_STATE_TABLE_SIZE, log[0].record.inputLength);
    EXPECT_EQ(LINE_STATE_TABLE_SIZE, log[0].record.outputLength);
}

TEST_F(StatusDeviceTest, AFailedReadLeavesTheTableAsItWas)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    ASSERT_TRUE(simtest::SetLineState(3, LINESTATE_CON));

    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_FAIL_LINE_READ));
    EXPECT_FALSE(ReadLineStateTable());
    EXPECT_EQ(0x55, g_lineStateTable[2]);
    EXPECT_EQ(1u, simtest::CountRequests(IOCTL_READ_LINE_STATES));

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_FAIL_LINE_READ));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_HIDE_STATUS_DEVICE));
    ASSERT_TRUE(simtest::ClearRequestLog());
    EXPECT_FALSE(ReadLineStateTable());
    EXPECT_EQ(0x55, g_lineStateTable[2]);
    EXPECT_EQ(0u, simtest::CountRequests(IOCTL_READ_LINE_STATES));
}

TEST_F(StatusDeviceTest, AnAcceptedTraceSelectionBecomesTheLastSentFlag)
{
    std::atomic<BYTE> lastSent{0};
    g_traceSelection.enabled = 1;
    g_traceSelection.comNumber = 7;
    SendTraceSelection(lastSent);
    EXPECT_EQ(1, lastSent);
    EXPECT_EQ(1, g_traceSelection.enabled);
    const std::vector<simmachine::LoggedRequest> log = simtest::RequestLog();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(IOCTL_SET_TRACE, log[0].record.code);
    ASSERT_EQ(2u, log[0].record.inputSaved);
    EXPECT_EQ(1, log[0].record.input[0]);
    EXPECT_EQ(7, log[0].record.input[1]);
    EXPECT_EQ(0u, log[0].record.outputLength);
}

// A refusal switches the trace off; an absent device changes nothing, so the next device tick
// tries again.
TEST_F(StatusDeviceTest, ARefusedTraceSelectionSwitchesTheTraceOff)
{
    std::atomic<BYTE> lastSent{0};
    g_traceSelection.enabled = 1;
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_HIDE_STATUS_DEVICE));
    SendTraceSelection(lastSent);
    EXPECT_EQ(1, g_traceSelection.enabled);
    EXPECT_EQ(0, lastSent);

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_HIDE_STATUS_DEVICE));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_FAIL_TRACE));
    lastSent = 1;
    SendTraceSelection(lastSent);
    EXPECT_EQ(0, g_traceSelection.enabled);
    EXPECT_EQ(0, lastSent);
    EXPECT_EQ(1u, simtest::CountRequests(IOCTL_SET_TRACE));
}

}  // namespace
