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
    return Result(simmachine::ResetMachine(),
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

::testing::AssertionResult CreatePorts(const std::vector<unsigned>& comNumbers)
{
    ::testing::AssertionResult step = WritePortSubkeys(comNumbers);
    if (step)
        step = PlugIn();
    if (step)
        step = WaitForPorts(comNumbers);
    return step;
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

}  // namespace simtest

void SimMachineTest::SetUp()
{
    ASSERT_TRUE(simtest::ResetMachine());
}

void SimMachineTest::TearDown()
{
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ClearControls());
}
