// The COM-port database (msports.dll): the results of the Windows API, the bitmap where
// Windows keeps it, and claims from two processes at once.
#include <windows.h>

#include <ddk/msports.h>

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "tests/support/SimMachine.h"

using simtest::ComDbCall;
using ::testing::ElementsAre;

namespace {

// Runs two helper processes at once and returns their exit codes.
std::vector<DWORD> RunTwoClaimers(const std::wstring& firstArguments, const std::wstring& secondArguments)
{
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_TRUE(length > 0 && length < MAX_PATH);
    std::wstring folder(self, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    const std::wstring helper = folder + L"sim_comdb_claimer.exe";

    std::vector<PROCESS_INFORMATION> processes;
    for (const std::wstring& arguments : {firstArguments, secondArguments}) {
        std::wstring commandLine = L"\"" + helper + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (CreateProcessW(helper.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process))
            processes.push_back(process);
        else
            ADD_FAILURE() << "cannot start the claimer: " << GetLastError();
    }
    std::vector<DWORD> exitCodes;
    for (PROCESS_INFORMATION& process : processes) {
        DWORD code = 0;
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 60000));
        EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &code));
        exitCodes.push_back(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return exitCodes;
}

size_t ReadBitmapBytes()
{
    std::vector<BYTE> bitmap;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadComDb(bitmap));
    return bitmap.size();
}

}  // namespace

class ComDb : public SimMachineTest {
protected:
    void SetUp() override
    {
        SimMachineTest::SetUp();
        ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&db_));
    }
    void TearDown() override
    {
        if (db_ != nullptr) {
            EXPECT_EQ(ERROR_SUCCESS, ComDBClose(db_));
        }
        SimMachineTest::TearDown();
    }
    HCOMDB db_ = nullptr;
};

TEST_F(ComDb, AClaimIsStoredAsTheBitOfItsNumber)
{
    ASSERT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 3, FALSE, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 256, FALSE, nullptr));

    std::vector<BYTE> bitmap;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadComDb(bitmap));
    ASSERT_EQ(32u, bitmap.size());
    EXPECT_EQ(0x04, bitmap[0]);
    EXPECT_EQ(0x80, bitmap[31]);
    EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(3u, 256u));
}

TEST_F(ComDb, AClaimedNumberIsRefusedUnlessForced)
{
    ASSERT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 5, FALSE, nullptr));

    BOOL forced = TRUE;
    EXPECT_EQ(ERROR_SHARING_VIOLATION, ComDBClaimPort(db_, 5, FALSE, &forced));
    EXPECT_FALSE(forced);
    EXPECT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 5, TRUE, &forced));
    EXPECT_TRUE(forced);
    // A forced claim of a free number is an ordinary claim.
    EXPECT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 6, TRUE, &forced));
    EXPECT_FALSE(forced);
    EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(5u, 6u));
}

TEST_F(ComDb, ReleaseFreesTheNumberAndAFreeNumberStaysFree)
{
    ASSERT_TRUE(simtest::SetComDbClaims({1, 2, 5}));

    EXPECT_EQ(ERROR_SUCCESS, ComDBReleasePort(db_, 2));
    EXPECT_EQ(ERROR_SUCCESS, ComDBReleasePort(db_, 9));

    EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(1u, 5u));
    EXPECT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 2, FALSE, nullptr));
}

TEST_F(ComDb, ReportsUsageAsBytesOrBitsAndItsSize)
{
    ASSERT_TRUE(simtest::SetComDbClaims({1, 2, 5, 256}));

    DWORD reported = 0;
    EXPECT_EQ(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db_, nullptr, 0, CDB_REPORT_BYTES, &reported));
    EXPECT_EQ(256u, reported);

    BYTE bytes[256];
    memset(bytes, 0xEE, sizeof(bytes));
    ASSERT_EQ(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db_, bytes, sizeof(bytes), CDB_REPORT_BYTES, &reported));
    EXPECT_EQ(256u, reported);
    std::vector<BYTE> expected(256, 0);
    expected[0] = expected[1] = expected[4] = expected[255] = 1;
    EXPECT_EQ(expected, std::vector<BYTE>(bytes, bytes + 256));

    BYTE bits[32] = {};
    ASSERT_EQ(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db_, bits, sizeof(bits), CDB_REPORT_BITS, &reported));
    EXPECT_EQ(256u, reported);
    EXPECT_EQ(0x13, bits[0]);
    EXPECT_EQ(0x80, bits[31]);

    // A smaller buffer gets as much as it holds, and nothing beyond.
    BYTE few[5];
    memset(few, 0xEE, sizeof(few));
    ASSERT_EQ(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db_, few, 4, CDB_REPORT_BYTES, &reported));
    EXPECT_EQ(4u, reported);
    EXPECT_THAT(std::vector<BYTE>(few, few + 5), ElementsAre(1, 1, 0, 0, 0xEE));
}

TEST_F(ComDb, ClaimNextFreePortTakesTheLowestFreeNumberUntilNoneIsLeft)
{
    ASSERT_TRUE(simtest::SetComDbClaims({1, 2, 4}));

    DWORD number = 0;
    ASSERT_EQ(ERROR_SUCCESS, ComDBClaimNextFreePort(db_, &number));
    EXPECT_EQ(3u, number);
    ASSERT_EQ(ERROR_SUCCESS, ComDBClaimNextFreePort(db_, &number));
    EXPECT_EQ(5u, number);

    ASSERT_TRUE(simtest::SetComDbClaims(simtest::FirstComNumbers(256)));
    EXPECT_EQ(ERROR_NO_LOG_SPACE, ComDBClaimNextFreePort(db_, &number));
}

TEST_F(ComDb, ResizingGrowsTheDatabaseWithFreeNumbersAndNeverShrinksIt)
{
    ASSERT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 7, FALSE, nullptr));

    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBResizeDatabase(db_, 300));
    EXPECT_EQ(32u, ReadBitmapBytes());
    EXPECT_EQ(ERROR_SUCCESS, ComDBResizeDatabase(db_, 1024));

    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db_, nullptr, 0, CDB_REPORT_BITS, &size));
    EXPECT_EQ(1024u, size);
    EXPECT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 1000, FALSE, nullptr));
    EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(7u, 1000u));
    EXPECT_EQ(ERROR_BAD_LENGTH, ComDBResizeDatabase(db_, 1024));
    EXPECT_EQ(ERROR_BAD_LENGTH, ComDBResizeDatabase(db_, COMDB_MAX_PORTS_ARBITRATED + 1024));
    // Sizes come in whole steps of 1024 numbers.
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBResizeDatabase(db_, 300));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBResizeDatabase(db_, 1536));
    ASSERT_EQ(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db_, nullptr, 0, CDB_REPORT_BITS, &size));
    EXPECT_EQ(1024u, size);
    EXPECT_EQ(128u, ReadBitmapBytes());
}

TEST_F(ComDb, BadHandlesAndNumbersOutOfRangeAreInvalidParameters)
{
    HCOMDB bogus = reinterpret_cast<HCOMDB>(static_cast<INT_PTR>(0x1234));
    BYTE bytes[256];
    DWORD reported = 0;

    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBClaimPort(db_, 0, FALSE, nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBClaimPort(db_, 257, TRUE, nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBReleasePort(db_, 0));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBReleasePort(db_, 257));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBGetCurrentPortUsage(db_, nullptr, 0, CDB_REPORT_BYTES, nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBGetCurrentPortUsage(db_, bytes, sizeof(bytes), 7, &reported));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBClaimNextFreePort(db_, nullptr));

    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBClaimPort(bogus, 5, FALSE, nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBReleasePort(HCOMDB_INVALID_HANDLE_VALUE, 5));
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              ComDBGetCurrentPortUsage(nullptr, bytes, sizeof(bytes), CDB_REPORT_BYTES, &reported));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBClose(bogus));
    EXPECT_TRUE(simtest::ComDbClaims().empty());
}

TEST_F(ComDb, AClosedHandleIsNoLongerAccepted)
{
    HCOMDB second = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&second));
    ASSERT_EQ(ERROR_SUCCESS, ComDBClose(second));

    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBClaimPort(second, 5, FALSE, nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, ComDBClose(second));
}

TEST_F(ComDb, TwoProcessesClaimingAtOnceLoseNoClaim)
{
    // One takes the odd numbers, the other the even ones, each claim a read-modify-write.
    EXPECT_THAT(RunTwoClaimers(L"claim 1 2 128", L"claim 2 2 128"), ElementsAre(0u, 0u));

    EXPECT_EQ(256u, simtest::ComDbClaims().size());
    // Both processes' calls are in the log, none lost: this test's open, and an open, a claim
    // and a close per number.
    EXPECT_EQ(1u + 256 * 3, simtest::ComDbCalls().size());
}

TEST_F(ComDb, TwoProcessesNeverGetTheSameNextFreeNumber)
{
    EXPECT_THAT(RunTwoClaimers(L"next 100", L"next 100"), ElementsAre(0u, 0u));

    std::vector<unsigned> claims = simtest::ComDbClaims();
    ASSERT_EQ(200u, claims.size());
    EXPECT_EQ(200u, claims.back());
}

TEST_F(ComDb, EveryCallIsRecordedWithItsNumberAndResult)
{
    ASSERT_EQ(ERROR_SUCCESS, ComDBClaimPort(db_, 5, FALSE, nullptr));
    ASSERT_EQ(ERROR_SHARING_VIOLATION, ComDBClaimPort(db_, 5, FALSE, nullptr));
    ASSERT_EQ(ERROR_INVALID_PARAMETER, ComDBReleasePort(db_, 0));
    BYTE usage[256];
    DWORD reported = 0;
    ASSERT_EQ(ERROR_SUCCESS, ComDBGetCurrentPortUsage(db_, usage, sizeof(usage), CDB_REPORT_BYTES, &reported));
    ASSERT_EQ(ERROR_SUCCESS, ComDBClose(db_));
    db_ = nullptr;
    ASSERT_EQ(ERROR_INVALID_PARAMETER, ComDBClose(HCOMDB_INVALID_HANDLE_VALUE));

    EXPECT_THAT(simtest::ComDbCalls(), ElementsAre(ComDbCall{SIM_CALL_COMDB_OPEN, 0, ERROR_SUCCESS},
                                                   ComDbCall{SIM_CALL_COMDB_CLAIM_PORT, 5, ERROR_SUCCESS},
                                                   ComDbCall{SIM_CALL_COMDB_CLAIM_PORT, 5, ERROR_SHARING_VIOLATION},
                                                   ComDbCall{SIM_CALL_COMDB_RELEASE_PORT, 0, ERROR_INVALID_PARAMETER},
                                                   ComDbCall{SIM_CALL_COMDB_GET_CURRENT_PORT_USAGE, 0, ERROR_SUCCESS},
                                                   ComDbCall{SIM_CALL_COMDB_CLOSE, 0, ERROR_SUCCESS},
                                                   ComDbCall{SIM_CALL_COMDB_CLOSE, 0, ERROR_INVALID_PARAMETER}));
}
