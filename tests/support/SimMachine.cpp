#include "tests/support/SimMachine.h"

#include <setupapi.h>

#include <cwchar>
#include <string>

#include "sim/control/RegKey.h"

namespace simtest {

namespace {

std::string Narrow(const std::wstring& text)
{
    std::string result;
    for (wchar_t c : text)
        result += (c > 0 && c < 128) ? static_cast<char>(c) : '?';
    return result;
}

::testing::AssertionResult Result(DWORD error, const std::string& what)
{
    if (error == ERROR_SUCCESS)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << ": " << Narrow(simmachine::ErrorText(error)) << " (" << error
                                         << ")";
}

std::string ComName(unsigned comNumber)
{
    return "COM" + std::to_string(comNumber);
}

}  // namespace

::testing::AssertionResult ResetMachine()
{
    return Result(simmachine::ResetMachine(simmachine::WineSerialPorts::Remove),
                  "resetting the simulated machine (is it running? use scripts/test or scripts/machine)");
}

::testing::AssertionResult WritePortSubkeys(const std::vector<unsigned>& comNumbers)
{
    for (unsigned n : comNumbers) {
        ::testing::AssertionResult written =
            Result(simmachine::WritePortSubkey(n), "writing the subkey of " + ComName(n));
        if (!written)
            return written;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult PlugIn()
{
    return Result(simmachine::SendPlugInRequest(), "sending the plug-in request");
}

::testing::AssertionResult WaitForPorts(const std::vector<unsigned>& comNumbers, DWORD timeoutMs)
{
    if (simmachine::WaitForPorts(comNumbers, timeoutMs) == ERROR_SUCCESS)
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "not present after " << timeoutMs << " ms:";
    for (unsigned n : comNumbers) {
        if (!simmachine::IsPortPresent(n))
            failure << " " << ComName(n);
    }
    return failure;
}

::testing::AssertionResult CreatePorts(const std::vector<unsigned>& comNumbers, DWORD timeoutMs)
{
    ::testing::AssertionResult step = WritePortSubkeys(comNumbers);
    if (step)
        step = PlugIn();
    if (step)
        step = WaitForPorts(comNumbers, timeoutMs);
    return step;
}

std::vector<unsigned> FirstComNumbers(unsigned count)
{
    std::vector<unsigned> numbers;
    for (unsigned n = 1; n <= count; ++n)
        numbers.push_back(n);
    return numbers;
}

::testing::AssertionResult RemovePortDevice(unsigned comNumber)
{
    wchar_t instanceId[64];
    swprintf(instanceId, 64, L"%ls\\%08X", SVT_PORT_HARDWARE_ID, comNumber);
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return Result(GetLastError(), "creating a device information set");
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    DWORD error = ERROR_SUCCESS;
    if (!SetupDiOpenDeviceInfoW(set, instanceId, nullptr, 0, &device) || !SetupDiRemoveDevice(set, &device))
        error = GetLastError();
    SetupDiDestroyDeviceInfoList(set);
    if (error != ERROR_SUCCESS)
        return Result(error, "removing the device of " + ComName(comNumber));

    // The driver notices the removal on its next poll and withdraws the COM name.
    const ULONGLONG start = GetTickCount64();
    while (IsInSerialComm(comNumber)) {
        if (GetTickCount64() - start > kPortWaitMs)
            return ::testing::AssertionFailure() << ComName(comNumber) << " still in SERIALCOMM after removal";
        Sleep(10);
    }
    return ::testing::AssertionSuccess();
}

bool IsInSerialComm(unsigned comNumber)
{
    std::vector<std::pair<std::wstring, std::wstring>> values;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadSerialComm(values));
    wchar_t comName[16];
    swprintf(comName, 16, L"COM%u", comNumber);
    for (const auto& value : values) {
        if (value.second == comName)
            return true;
    }
    return false;
}

bool IsPortPresent(unsigned comNumber)
{
    return simmachine::IsPortPresent(comNumber);
}

::testing::AssertionResult SetLineState(unsigned comNumber, BYTE bits)
{
    return Result(simmachine::SetLineBits(comNumber, bits), "setting the line state of " + ComName(comNumber));
}

::testing::AssertionResult SetTraffic(unsigned comNumber, BYTE bits)
{
    return Result(simmachine::SetTraffic(comNumber, bits), "setting the traffic of " + ComName(comNumber));
}

::testing::AssertionResult InjectFault(const wchar_t* control, DWORD value)
{
    return Result(simmachine::SetControl(control, value), "setting " + Narrow(control));
}

::testing::AssertionResult ClearFault(const wchar_t* control)
{
    return Result(simmachine::ClearControl(control), "clearing " + Narrow(control));
}

::testing::AssertionResult AddSerialComm(const wchar_t* valueName, unsigned comNumber)
{
    simmachine::RegKey key;
    wchar_t comName[16];
    swprintf(comName, 16, L"COM%u", comNumber);
    LONG result = key.Create(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM");
    if (result == ERROR_SUCCESS)
        result = key.WriteString(valueName, comName);
    return Result(static_cast<DWORD>(result), "adding " + Narrow(comName) + " to SERIALCOMM");
}

::testing::AssertionResult SetComDbClaims(const std::vector<unsigned>& comNumbers)
{
    std::vector<BYTE> bitmap(SIM_COMDB_MIN_BYTES, 0);
    for (unsigned n : comNumbers) {
        if (n < 1 || n > bitmap.size() * 8)
            return ::testing::AssertionFailure() << "no such number in the database: " << n;
        bitmap[(n - 1) / 8] |= static_cast<BYTE>(1u << ((n - 1) % 8));
    }
    simmachine::RegKey key;
    LONG result = key.Create(HKEY_LOCAL_MACHINE, SIM_COMDB_KEY);
    if (result == ERROR_SUCCESS)
        result =
            RegSetValueExW(key.Get(), SIM_COMDB_VALUE, 0, REG_BINARY, bitmap.data(), static_cast<DWORD>(bitmap.size()));
    return Result(static_cast<DWORD>(result), "writing the COM-port database");
}

std::vector<unsigned> ComDbClaims()
{
    std::vector<BYTE> bitmap;
    std::vector<unsigned> claims;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadComDb(bitmap));
    for (unsigned n = 1; n <= bitmap.size() * 8; ++n) {
        if ((bitmap[(n - 1) / 8] >> ((n - 1) % 8)) & 1)
            claims.push_back(n);
    }
    return claims;
}

std::vector<simmachine::LoggedRequest> RequestLog()
{
    std::vector<simmachine::LoggedRequest> log;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadRequestLog(log));
    return log;
}

size_t CountRequests(DWORD code)
{
    size_t count = 0;
    for (const simmachine::LoggedRequest& entry : RequestLog())
        count += entry.record.code == code ? 1 : 0;
    return count;
}

::testing::AssertionResult ClearRequestLog()
{
    return Result(simmachine::ClearRequestLog(), "clearing the request log");
}

bool ComDbCall::operator==(const ComDbCall& other) const
{
    return function == other.function && number == other.number && result == other.result;
}

void PrintTo(const ComDbCall& call, std::ostream* out)
{
    static const char* const names[] = {"?",
                                        "ComDBOpen",
                                        "ComDBClose",
                                        "ComDBClaimPort",
                                        "ComDBReleasePort",
                                        "ComDBGetCurrentPortUsage",
                                        "ComDBClaimNextFreePort",
                                        "ComDBResizeDatabase"};
    *out << (call.function < sizeof(names) / sizeof(names[0]) ? names[call.function] : "?") << "(" << call.number
         << ") = " << call.result;
}

std::vector<ComDbCall> ComDbCalls()
{
    std::vector<simmachine::LoggedCall> log;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadCallLog(log));
    std::vector<ComDbCall> calls;
    for (const simmachine::LoggedCall& entry : log) {
        if (entry.dll == SIM_CALL_LOG_MSPORTS) {
            ComDbCall call;
            call.function = entry.record.function;
            call.number = entry.record.number;
            call.result = entry.record.result;
            calls.push_back(call);
        }
    }
    return calls;
}

std::vector<DriverUpdate> DriverUpdates()
{
    std::vector<simmachine::LoggedCall> log;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadCallLog(log));
    std::vector<DriverUpdate> updates;
    for (const simmachine::LoggedCall& entry : log) {
        if (entry.dll != SIM_CALL_LOG_NEWDEV || entry.record.function != SIM_CALL_UPDATE_DRIVER)
            continue;
        EXPECT_EQ(2u, entry.texts.size()) << "a driver update without its hardware id and INF path";
        DriverUpdate update;
        update.hardwareId = entry.texts.size() > 0 ? entry.texts[0] : L"";
        update.infPath = entry.texts.size() > 1 ? entry.texts[1] : L"";
        update.flags = entry.record.flags;
        update.parentWindow = entry.record.window;
        update.result = entry.record.result;
        update.lastError = entry.record.lastError;
        updates.push_back(update);
    }
    return updates;
}

std::wstring BuiltMachineFolder()
{
    // Test programs live in <build>\tests\<area>; the machine is built in <build>\sim.
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    for (int up = 0; up < 3; ++up) {
        const size_t slash = folder.find_last_of(L"\\/");
        folder.erase(slash == std::wstring::npos ? 0 : slash);
    }
    return folder + L"\\sim";
}

PortInfCopiesRemover::~PortInfCopiesRemover()
{
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    for (const wchar_t* name : {L"svtser3.inf", L"svtser3.pnf"}) {
        const std::wstring path = std::wstring(windows) + L"\\inf\\" + name;
        if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            ADD_FAILURE() << "the system's copy of the port driver's INF stays: " << Narrow(path);
    }
}

}  // namespace simtest

void SimMachineTest::SetUp()
{
    ASSERT_TRUE(simtest::ResetMachine());
}

void SimMachineTest::TearDown()
{
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ClearControls());
}
