// The port driver's status device: the line-state table and the trace selection.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "StatusIo.h"
#include "tests/support/SimMachine.h"

class StatusDevice : public SimMachineTest {};

TEST_F(StatusDevice, ReturnsTheWholeTableWithEachPortAtItsOffset)
{
    ASSERT_TRUE(simtest::CreatePorts({1, 7, 255}));
    ASSERT_TRUE(simtest::SetLineState(1, LINESTATE_CON));
    ASSERT_TRUE(simtest::SetLineState(7, LINESTATE_CTS | LINESTATE_DSR | LINESTATE_DCD));
    ASSERT_TRUE(simtest::SetLineState(255, LINESTATE_ERR | LINESTATE_RI));

    LineStateTable table;
    table.fill(0xEE);
    DWORD returned = 0;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(table, &returned));

    EXPECT_EQ(LINE_STATE_TABLE_SIZE, returned);
    LineStateTable expected = {};
    expected[0] = LINESTATE_CON;
    expected[6] = LINESTATE_CTS | LINESTATE_DSR | LINESTATE_DCD;
    expected[254] = LINESTATE_ERR | LINESTATE_RI;
    EXPECT_EQ(expected, table);
}

TEST_F(StatusDevice, NewPortsStartWithNoLineBits)
{
    ASSERT_TRUE(simtest::SetLineState(5, LINESTATE_CON));
    ASSERT_TRUE(simtest::CreatePorts({5}));

    LineStateTable table = {};
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(table));
    EXPECT_EQ(0, table[4]);
}

TEST_F(StatusDevice, TrafficBitsBlinkFromOneReadToTheNext)
{
    ASSERT_TRUE(simtest::CreatePorts({7}));
    ASSERT_TRUE(simtest::SetLineState(7, LINESTATE_CON));
    ASSERT_TRUE(simtest::SetTraffic(7, LINESTATE_RX | LINESTATE_TX));

    LineStateTable first = {};
    LineStateTable second = {};
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(first));
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ReadLineStates(second));

    EXPECT_EQ(LINESTATE_RX | LINESTATE_TX, first[6] ^ second[6]);
    EXPECT_EQ(LINESTATE_CON, first[6] & second[6]);
}

TEST_F(StatusDevice, TakesTheTraceSelectionWithoutOutput)
{
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), SendTrace(1, 7));

    std::vector<simmachine::LoggedRequest> log = simtest::RequestLog();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(L"svtser3", log[0].driver);
    EXPECT_EQ(IOCTL_SET_TRACE, log[0].record.code);
    EXPECT_EQ(2u, log[0].record.inputLength);
    EXPECT_EQ(0u, log[0].record.outputLength);
    EXPECT_EQ(1, log[0].record.input[0]);
    EXPECT_EQ(7, log[0].record.input[1]);
}

TEST_F(StatusDevice, RefusesAReadIntoLessThanTheTable)
{
    HANDLE device = CreateFileW(SVT_STATUS_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, device);
    BYTE small[100] = {};
    DWORD returned = 0;
    EXPECT_FALSE(DeviceIoControl(device, IOCTL_READ_LINE_STATES, nullptr, 0, small, sizeof(small), &returned, nullptr));
    CloseHandle(device);
}

// The program's user-interface thread and its monitor thread each open the device around
// every request, at the same time.
TEST_F(StatusDevice, AnswersBothRequestsFromTwoThreadsAtOnce)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    ASSERT_TRUE(simtest::SetLineState(3, LINESTATE_CON | LINESTATE_CTS));
    std::atomic<int> failures{0};
    auto hammer = [&failures]() {
        for (int i = 0; i < 100; ++i) {
            LineStateTable table = {};
            if (ReadLineStates(table) != ERROR_SUCCESS || table[2] != (LINESTATE_CON | LINESTATE_CTS))
                ++failures;
            if (SendTrace(0, 3) != ERROR_SUCCESS)
                ++failures;
        }
    };

    std::thread first(hammer);
    std::thread second(hammer);
    first.join();
    second.join();

    EXPECT_EQ(0, failures.load());
}
