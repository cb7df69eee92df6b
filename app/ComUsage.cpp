#include "app/ComUsage.h"

#include "app/Globals.h"
#include "app/PortDevice.h"
#include "app/PortSettings.h"
#include "app/ScopedHandles.h"
#include "app/Trace.h"
#include "framework/cstring.h"
#include "framework/msgbox.h"

#include <ddk/msports.h>

#include <stdlib.h>
#include <string.h>

namespace {

// SERIALCOMM value names and data are read into buffers of these sizes.
constexpr DWORD kValueNameChars = 260;
constexpr DWORD kValueDataBytes = 260;

bool IsComNumber(int comNumber)
{
    return comNumber >= 1 && comNumber <= kComNumberCount;
}

// Marks the COM names that SERIALCOMM lists as present. A value whose data cannot be read is
// skipped; the enumeration ends at the first name that cannot be read.
void MarkSerialCommPorts()
{
    ScopedRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialCommKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kValueNameChars];
        DWORD nameChars = kValueNameChars;
        if (::RegEnumValueW(key, index, name, &nameChars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        wchar_t data[kValueDataBytes / sizeof(wchar_t) + 1] = {};
        DWORD dataBytes = kValueDataBytes;
        if (::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &dataBytes) != ERROR_SUCCESS)
            continue;
        data[dataBytes / sizeof(wchar_t)] = L'\0';
        const int comNumber = ParseComNumber(data);
        if (IsComNumber(comNumber))
            g_comUsageMap[comNumber - 1] = COMUSE_PRESENT;
    }
}

// Marks the numbers claimed in the COM-port database as reserved, unless they are present.
// False when the database does not open; claimsRead tells whether its usage report came.
bool MarkClaimedPorts(bool& claimsRead)
{
    claimsRead = false;
    ScopedComDb comDb;
    if (comDb.Open() != ERROR_SUCCESS)
        return false;
    BYTE usage[kComNumberCount] = {};
    DWORD portsReported = 0;
    const LONG reported = ::ComDBGetCurrentPortUsage(comDb, usage, sizeof(usage), CDB_REPORT_BYTES, &portsReported);
    if (reported != ERROR_SUCCESS) {
        TRACE_FAILURE(L"ComDBGetCurrentPortUsage", reported);
    } else {
        claimsRead = true;
        for (int i = 0; i < kComNumberCount; ++i) {
            if (usage[i] == 1 && g_comUsageMap[i] != COMUSE_PRESENT)
                g_comUsageMap[i] = COMUSE_RESERVED;
        }
    }
    return true;
}

}  // namespace

int ParseComNumber(LPCWSTR text)
{
    if (text == nullptr || wcslen(text) < 3)
        return 0;
    return _wtoi(text + 3);
}

int ParseComFromFriendlyName(LPCWSTR text)
{
    if (text == nullptr)
        return 0;
    const wchar_t* open = wcschr(text, L'(');
    const wchar_t* close = wcschr(text, L')');
    if (close == nullptr)
        return 0;
    // The number starts after "(COM", or at the fourth character when there is no "(". A start
    // at or behind the ")" leaves nothing to read; the ")" lies inside the text, so a start
    // before it does too.
    const ptrdiff_t start = open != nullptr ? (open - text) + 4 : 3;
    const ptrdiff_t end = close - text;
    if (start >= end)
        return 0;
    const CString number(text + start, static_cast<int>(end - start));
    return _wtoi(number);
}

CString DescribeComUsageGap(ComUsageGap gap, LPCWSTR refusal)
{
    CString text;
    switch (gap) {
        case ComUsageGap::None:
            return text;
        case ComUsageGap::DeviceList:
            text = L"Failed to get the device list. ";
            break;
        case ComUsageGap::ComDbUsage:
            text = L"Failed to read the COM DB usage. ";
            break;
        case ComUsageGap::ComDbOpen:
            return L"ComDBOpen Fail!";
    }
    return text + refusal;
}

ComUsageGap BuildComUsageMap()
{
    memset(g_comUsageMap, COMUSE_FREE, sizeof(g_comUsageMap));
    MarkSerialCommPorts();

    ScopedDeviceList devices(GetPresentComPortDevices());
    if (!devices.IsValid())
        return ComUsageGap::DeviceList;
    bool claimsRead = false;
    if (!MarkClaimedPorts(claimsRead)) {
        AfxMessageBox(L"ComDBOpen Fail!", MB_OK);
        return ComUsageGap::ComDbOpen;
    }
    ForEachPortDevice(devices, [](LPCWSTR friendlyName) {
        const int comNumber = ParseComFromFriendlyName(friendlyName);
        if (IsComNumber(comNumber))
            g_comUsageMap[comNumber - 1] = COMUSE_PRESENT;
    });
    return claimsRead ? ComUsageGap::None : ComUsageGap::ComDbUsage;
}

bool MapPortDevices()
{
    memset(g_presentPortMap, 0, sizeof(g_presentPortMap));
    ScopedDeviceList devices(GetPresentComPortDevices());
    if (!devices.IsValid())
        return false;
    const auto mapPort = [](int comNumber) {
        // COM256 has no place in the map: its last entry always stays 0.
        if (comNumber >= 1 && comNumber < kComNumberCount)
            g_presentPortMap[comNumber - 1] = static_cast<BYTE>(comNumber);
    };
    return ForEachPortDevice(
        devices,
        [&mapPort](LPCWSTR friendlyName) {
            if (HasPortFriendlyNamePrefix(friendlyName))
                mapPort(ParseComFromFriendlyName(friendlyName));
        },
        // A port device whose name cannot be read is still known by its instance, which the bus
        // driver names after the port's key number; one that is not named so is unknown.
        [&mapPort, &devices](SP_DEVINFO_DATA& device) {
            const UINT keyNumber = ReadPortInstanceKeyNumber(devices, &device);
            mapPort(static_cast<int>(keyNumber));
            return keyNumber != 0;
        });
}

int CountPresentPortDevices()
{
    ScopedDeviceList devices(GetPresentComPortDevices());
    if (!devices.IsValid())
        return kUnknownPortCount;
    int count = 0;
    const bool walked = ForEachPortDevice(devices, [&count](LPCWSTR friendlyName) {
        if (HasPortFriendlyNamePrefix(friendlyName))
            ++count;
    });
    return walked ? count : kUnknownPortCount;
}
