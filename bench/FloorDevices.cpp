// The floor's device and registry work: the bare platform calls that loading, adding and
// deleting ports and reading the line states must make, with nothing of the program's code
// around them. The registry layout and the device identity are spelled here once more on
// purpose, from the drivers' contract, so that the floor shares no code with the program.
#include "bench/Floor.h"

#include <windows.h>

#include <initguid.h>

#include <setupapi.h>
#include <winioctl.h>

#include <ddk/msports.h>

#include "contract/DriverInterface.h"

#include <stdio.h>
#include <wchar.h>

#include <string>
#include <vector>

namespace floorbench {
namespace {

const wchar_t* const kDwordNames[] = {L"TxTriggerLevel", L"AliveRxTimer", L"AliveTxTimer", L"Protocol",
                                      L"IPaddress",      L"Port",         L"ComPort"};
const DWORD kDefaults[] = {255, 7000, 2500, 0, 0, 4001};  // ComPort's default is the number

std::wstring SubkeyPath(unsigned n)
{
    wchar_t path[128];
    swprintf(path, 128, L"%ls\\%04u", SVT_PARAMETERS_KEY, n);
    return path;
}

// A present port device of the COM-port interface list, with the COM number its friendly name
// gives.
struct PortDevice {
    SP_DEVINFO_DATA data;
    unsigned comNumber;
};

// The device properties every walk reads: description and friendly name, 260 characters each.
bool ReadText(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property, wchar_t (&text)[260])
{
    DWORD bytes = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, device, property, nullptr, reinterpret_cast<BYTE*>(text),
                                           sizeof(text) - sizeof(wchar_t), &bytes))
        return false;
    text[bytes / sizeof(wchar_t)] = L'\0';
    return true;
}

// The COM-port interface list and this system's devices in it.
std::vector<PortDevice> WalkPortDevices(HDEVINFO set)
{
    std::vector<PortDevice> ports;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        wchar_t description[260];
        wchar_t friendly[260];
        if (!ReadText(set, &device, SPDRP_DEVICEDESC, description) || wcscmp(description, SVT_PORT_DEVICE_DESC) != 0 ||
            !ReadText(set, &device, SPDRP_FRIENDLYNAME, friendly))
            continue;
        const wchar_t* com = wcsstr(friendly, L"(COM");
        if (com != nullptr)
            ports.push_back({device, static_cast<unsigned>(wcstoul(com + 4, nullptr, 10))});
    }
    return ports;
}

HDEVINFO PortDeviceList()
{
    return SetupDiGetClassDevsW(&GUID_DEVINTERFACE_COMPORT, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
}

bool ReadDword(HKEY key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD bytes = sizeof value;
    DWORD type = 0;
    return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) == ERROR_SUCCESS &&
           type == REG_DWORD;
}

bool ReadAlias(HKEY key)
{
    wchar_t alias[64];
    DWORD bytes = sizeof alias;
    DWORD type = 0;
    return RegQueryValueExW(key, L"Alias", nullptr, &type, reinterpret_cast<BYTE*>(alias), &bytes) == ERROR_SUCCESS &&
           type == REG_SZ;
}

void WriteDword(HKEY key, const wchar_t* name, DWORD value)
{
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

// The list walked once; then each port's subkey opened once, its eight values read and, where
// one is missing, written there and into the device's parameters key (opened once, through the
// device). Returns the ports loaded.
unsigned Load()
{
    HDEVINFO set = PortDeviceList();
    if (set == INVALID_HANDLE_VALUE)
        return 0;
    unsigned loaded = 0;
    for (PortDevice& port : WalkPortDevices(set)) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SubkeyPath(port.comNumber).c_str(), 0, KEY_READ | KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            continue;
        HKEY device = nullptr;
        for (int i = 0; i < 7; ++i) {
            if (ReadDword(key, kDwordNames[i]))
                continue;
            const DWORD value = i < 6 ? kDefaults[i] : port.comNumber;
            WriteDword(key, kDwordNames[i], value);
            if (device == nullptr)
                device = SetupDiOpenDevRegKey(set, &port.data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_SET_VALUE);
            if (device != INVALID_HANDLE_VALUE)
                WriteDword(device, kDwordNames[i], value);
        }
        if (!ReadAlias(key)) {
            RegSetValueExW(key, L"Alias", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
            if (device == nullptr)
                device = SetupDiOpenDevRegKey(set, &port.data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_SET_VALUE);
            if (device != INVALID_HANDLE_VALUE)
                RegSetValueExW(device, L"Alias", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
        }
        if (device != nullptr && device != INVALID_HANDLE_VALUE)
            RegCloseKey(device);
        RegCloseKey(key);
        ++loaded;
    }
    SetupDiDestroyDeviceInfoList(set);
    return loaded;
}

// Each port's settings as Apply writes a row: the six DWORD values and the alias into its subkey
// and into its device's parameters key, each key opened once; then the load, as Apply reloads.
// Returns the ports written.
unsigned Apply()
{
    HDEVINFO set = PortDeviceList();
    if (set == INVALID_HANDLE_VALUE)
        return 0;
    const wchar_t* const names[] = {L"TxTriggerLevel", L"IPaddress",    L"Port",
                                    L"Protocol",       L"AliveRxTimer", L"AliveTxTimer"};
    const DWORD values[] = {255, 0, 4001, 0, 7000, 2500};
    unsigned written = 0;
    for (PortDevice& port : WalkPortDevices(set)) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SubkeyPath(port.comNumber).c_str(), 0, KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            continue;
        HKEY device = SetupDiOpenDevRegKey(set, &port.data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_SET_VALUE);
        for (HKEY target : {key, device}) {
            if (target == INVALID_HANDLE_VALUE)
                continue;
            for (int i = 0; i < 6; ++i)
                WriteDword(target, names[i], values[i]);
            RegSetValueExW(target, L"Alias", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
        }
        if (device != INVALID_HANDLE_VALUE)
            RegCloseKey(device);
        RegCloseKey(key);
        ++written;
    }
    SetupDiDestroyDeviceInfoList(set);
    return Load() == written ? written : 0;
}

// Every port: DeviceCount lowered and written, the device removed, its number released, its
// subkey deleted; from the highest COM number down, on one list and one database handle.
// Returns the devices removed.
unsigned Delete()
{
    HCOMDB db = nullptr;
    if (ComDBOpen(&db) != ERROR_SUCCESS)
        return 0;
    HDEVINFO set = PortDeviceList();
    unsigned removed = 0;
    if (set != INVALID_HANDLE_VALUE) {
        std::vector<PortDevice> ports = WalkPortDevices(set);
        HKEY parameters = nullptr;
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, SVT_PARAMETERS_KEY, 0, KEY_ALL_ACCESS, &parameters);
        DWORD count = static_cast<DWORD>(ports.size());
        for (auto port = ports.rbegin(); port != ports.rend(); ++port) {
            WriteDword(parameters, L"DeviceCount", --count);
            removed += SetupDiRemoveDevice(set, &port->data) ? 1 : 0;
            ComDBReleasePort(db, port->comNumber);
            wchar_t name[8];
            swprintf(name, 8, L"%04u", port->comNumber);
            RegDeleteKeyW(parameters, name);
        }
        if (parameters != nullptr)
            RegCloseKey(parameters);
        SetupDiDestroyDeviceInfoList(set);
    }
    ComDBClose(db);
    return removed;
}

// The ports' subkeys with their eight values, then one plug-in request on the bus driver's
// interface; then, as the add does, a look at the COM-port interface list once a second until
// all of them are present. Returns the ports present.
unsigned Add(unsigned first, unsigned count)
{
    for (unsigned n = first; n < first + count; ++n) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, SubkeyPath(n).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return 0;
        for (int i = 0; i < 7; ++i)
            WriteDword(key, kDwordNames[i], i < 6 ? kDefaults[i] : n);
        RegSetValueExW(key, L"Alias", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
        RegCloseKey(key);
    }
    HDEVINFO bus =
        SetupDiGetClassDevsW(&GUID_BUS_DRIVER_INTERFACE, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (bus == INVALID_HANDLE_VALUE)
        return 0;
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    bool plugged = false;
    if (SetupDiEnumDeviceInterfaces(bus, nullptr, &GUID_BUS_DRIVER_INTERFACE, 0, &interfaceData)) {
        union {
            SP_DEVICE_INTERFACE_DETAIL_DATA_W detail;
            BYTE bytes[1024];
        } buffer;
        buffer.detail.cbSize = sizeof buffer.detail;
        if (SetupDiGetDeviceInterfaceDetailW(bus, &interfaceData, &buffer.detail, sizeof buffer, nullptr, nullptr)) {
            HANDLE device = CreateFileW(buffer.detail.DevicePath, GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
            if (device != INVALID_HANDLE_VALUE) {
                BusPlugInRecord record = {BUS_PLUGIN_RECORD_SIZE, BUS_PLUGIN_SERIAL_NO};
                DWORD returned = 0;
                plugged = DeviceIoControl(device, IOCTL_BUS_PLUGIN_PORT, &record, sizeof record, &record, sizeof record,
                                          &returned, nullptr) != FALSE;
                CloseHandle(device);
            }
        }
    }
    SetupDiDestroyDeviceInfoList(bus);
    if (!plugged)
        return 0;
    for (int look = 0; look < 600; ++look) {
        Sleep(1000);
        HDEVINFO set = PortDeviceList();
        if (set == INVALID_HANDLE_VALUE)
            return 0;
        unsigned present = 0;
        for (const PortDevice& port : WalkPortDevices(set))
            present += port.comNumber >= first && port.comNumber < first + count ? 1 : 0;
        SetupDiDestroyDeviceInfoList(set);
        if (present == count)
            return present;
    }
    return 0;
}

// The line-state read of the monitor: the status device opened, asked and closed, every 100 ms
// for the given time. Returns the reads that succeeded.
unsigned ReadLineStates(DWORD milliseconds)
{
    unsigned reads = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        HANDLE device = CreateFileW(SVT_STATUS_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (device != INVALID_HANDLE_VALUE) {
            BYTE input[LINE_STATE_TABLE_SIZE] = {};
            BYTE output[LINE_STATE_TABLE_SIZE];
            DWORD returned = 0;
            reads += DeviceIoControl(device, IOCTL_READ_LINE_STATES, input, sizeof input, output, sizeof output,
                                     &returned, nullptr)
                         ? 1
                         : 0;
            CloseHandle(device);
        }
        Sleep(100);
    }
    return reads;
}

// The COM-number usage map's sources: the SERIALCOMM values (name and data in one call), the
// database's usage report, and this system's devices in the COM-port interface list. Returns the
// numbers found in use.
unsigned Usage()
{
    bool used[256] = {};
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        for (DWORD index = 0;; ++index) {
            wchar_t name[260];
            wchar_t data[131] = {};
            DWORD nameChars = 260;
            DWORD dataBytes = 260;
            if (RegEnumValueW(key, index, name, &nameChars, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                              &dataBytes) != ERROR_SUCCESS)
                break;
            const unsigned n = static_cast<unsigned>(wcstoul(data + 3, nullptr, 10));
            if (n >= 1 && n <= 256)
                used[n - 1] = true;
        }
        RegCloseKey(key);
    }
    HDEVINFO set = PortDeviceList();
    if (set == INVALID_HANDLE_VALUE)
        return 0;
    HCOMDB db = nullptr;
    if (ComDBOpen(&db) == ERROR_SUCCESS) {
        BYTE claims[256] = {};
        DWORD reported = 0;
        if (ComDBGetCurrentPortUsage(db, claims, sizeof claims, CDB_REPORT_BYTES, &reported) == ERROR_SUCCESS) {
            for (int i = 0; i < 256; ++i)
                used[i] = used[i] || claims[i] == 1;
        }
        ComDBClose(db);
    }
    for (const PortDevice& port : WalkPortDevices(set)) {
        if (port.comNumber >= 1 && port.comNumber <= 256)
            used[port.comNumber - 1] = true;
    }
    SetupDiDestroyDeviceInfoList(set);
    unsigned count = 0;
    for (bool u : used)
        count += u ? 1 : 0;
    return count;
}

}  // namespace floorbench
