// Ports: their settings subkeys, the plug-in request, presence, line states and listing.
#include "sim/control/Machine.h"

#include <initguid.h>

#include <setupapi.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "contract/DriverInterface.h"
#include "sim/control/RegKey.h"

namespace simmachine {

namespace {

constexpr wchar_t kSerialCommKey[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr wchar_t kPortEnumKey[] = L"SYSTEM\\CurrentControlSet\\Enum\\" SVT_PORT_HARDWARE_ID;

std::wstring Format(const wchar_t* format, unsigned number)
{
    wchar_t text[64];
    swprintf(text, 64, format, number);
    return text;
}

std::wstring PortSubkeyPath(unsigned comNumber)
{
    return std::wstring(SVT_PARAMETERS_KEY) + Format(L"\\%04u", comNumber);
}

std::wstring DeviceKeyPath(unsigned comNumber)
{
    return std::wstring(kPortEnumKey) + Format(L"\\%08X", comNumber);
}

std::wstring LineStateName(unsigned comNumber)
{
    return Format(L"%u", comNumber);
}

// "COM12" gives 12; anything else 0.
unsigned ComNumberOfName(const std::wstring& name)
{
    if (name.size() < 4 || _wcsnicmp(name.c_str(), L"COM", 3) != 0)
        return 0;
    unsigned value = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9' || value > 100000)
            return 0;
        value = value * 10 + static_cast<unsigned>(name[i] - L'0');
    }
    return value;
}

DWORD ChangeLineState(unsigned comNumber, DWORD keepMask, DWORD setBits)
{
    RegKey key;
    LONG result = key.Create(HKEY_LOCAL_MACHINE, SIM_LINE_STATES_KEY);
    if (result != ERROR_SUCCESS)
        return static_cast<DWORD>(result);
    std::wstring name = LineStateName(comNumber);
    DWORD value = 0;
    result = key.ReadDword(name.c_str(), value);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        return static_cast<DWORD>(result);
    value = (value & keepMask) | setBits;
    return static_cast<DWORD>(key.WriteDword(name.c_str(), value));
}

}  // namespace

DWORD WritePortSubkey(unsigned comNumber)
{
    if (comNumber < 1 || comNumber > kMaxPortNumber)
        return ERROR_INVALID_PARAMETER;
    RegKey key;
    LONG result = key.Create(HKEY_LOCAL_MACHINE, PortSubkeyPath(comNumber).c_str());
    const std::pair<const wchar_t*, DWORD> values[] = {
        {L"TxTriggerLevel", 255}, {L"AliveRxTimer", 7000}, {L"AliveTxTimer", 2500}, {L"Protocol", 0},
        {L"IPaddress", 0},        {L"Port", 4001},         {L"ComPort", comNumber},
    };
    for (const auto& value : values) {
        if (result == ERROR_SUCCESS)
            result = key.WriteDword(value.first, value.second);
    }
    if (result == ERROR_SUCCESS)
        result = key.WriteString(L"Alias", L"");
    return static_cast<DWORD>(result);
}

DWORD SendPlugInRequest()
{
    HDEVINFO set =
        SetupDiGetClassDevsW(&GUID_BUS_DRIVER_INTERFACE, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return GetLastError();

    DWORD result = ERROR_SUCCESS;
    SP_DEVICE_INTERFACE_DATA interfaceData = {};
    interfaceData.cbSize = sizeof(interfaceData);
    DWORD required = 0;
    std::vector<BYTE> detailBuffer;
    if (!SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_BUS_DRIVER_INTERFACE, 0, &interfaceData)) {
        result = GetLastError();
    } else if (!SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, &required, nullptr) &&
               GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        result = GetLastError();
    } else if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
        result = ERROR_INVALID_DATA;
    } else {
        detailBuffer.resize(required);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detailBuffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, required, nullptr, nullptr))
            result = GetLastError();
    }
    SetupDiDestroyDeviceInfoList(set);
    if (result != ERROR_SUCCESS)
        return result;

    const auto* detail = reinterpret_cast<const SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detailBuffer.data());
    HANDLE bus = CreateFileW(detail->DevicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (bus == INVALID_HANDLE_VALUE)
        return GetLastError();
    BusPlugInRecord record = {BUS_PLUGIN_RECORD_SIZE, BUS_PLUGIN_SERIAL_NO};
    DWORD returned = 0;
    if (!DeviceIoControl(bus, IOCTL_BUS_PLUGIN_PORT, &record, sizeof(record), &record, sizeof(record), &returned,
                         nullptr))
        result = GetLastError();
    CloseHandle(bus);
    return result;
}

bool IsPortPresent(unsigned comNumber)
{
    if (!KeyExists(HKEY_LOCAL_MACHINE, DeviceKeyPath(comNumber).c_str()))
        return false;
    RegKey serialComm;
    std::wstring comName;
    return serialComm.Open(HKEY_LOCAL_MACHINE, kSerialCommKey) == ERROR_SUCCESS &&
           serialComm.ReadString(Format(SIM_SERIALCOMM_NAME_FORMAT, comNumber).c_str(), comName) == ERROR_SUCCESS &&
           ComNumberOfName(comName) == comNumber;
}

DWORD WaitForPorts(const std::vector<unsigned>& comNumbers, DWORD timeoutMs)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        bool all = std::all_of(comNumbers.begin(), comNumbers.end(), IsPortPresent);
        if (all)
            return ERROR_SUCCESS;
        if (GetTickCount64() - start >= timeoutMs)
            return ERROR_TIMEOUT;
        Sleep(10);
    }
}

DWORD ListPorts(std::vector<PortStatus>& ports)
{
    std::map<unsigned, PortStatus> byNumber;
    auto entry = [&byNumber](unsigned n) -> PortStatus& {
        PortStatus& status = byNumber[n];
        status.comNumber = n;
        return status;
    };

    RegKey key;
    std::vector<std::wstring> names;
    if (key.Open(HKEY_LOCAL_MACHINE, SVT_PARAMETERS_KEY) == ERROR_SUCCESS && key.SubkeyNames(names) == ERROR_SUCCESS) {
        for (const std::wstring& name : names) {
            unsigned n = 0;
            if (name.size() == 4 && swscanf(name.c_str(), L"%4u", &n) == 1 && n >= 1 && n <= kMaxPortNumber)
                entry(n).configured = true;
        }
    }
    if (key.Open(HKEY_LOCAL_MACHINE, kPortEnumKey) == ERROR_SUCCESS && key.SubkeyNames(names) == ERROR_SUCCESS) {
        for (const std::wstring& name : names) {
            unsigned n = 0;
            if (name.size() == 8 && swscanf(name.c_str(), L"%8x", &n) == 1 && n >= 1 && n <= kMaxPortNumber)
                entry(n).device = true;
        }
    }
    std::vector<std::pair<std::wstring, std::wstring>> serialComm;
    DWORD result = ReadSerialComm(serialComm);
    if (result != ERROR_SUCCESS)
        return result;
    for (const auto& value : serialComm) {
        unsigned n = ComNumberOfName(value.second);
        if (n >= 1 && n <= 256)
            entry(n).serialCommName = value.first;
    }
    std::vector<BYTE> bitmap;
    result = ReadComDb(bitmap);
    if (result != ERROR_SUCCESS)
        return result;
    for (unsigned n = 1; n <= bitmap.size() * 8; ++n) {
        if ((bitmap[(n - 1) / 8] >> ((n - 1) % 8)) & 1)
            entry(n).claimed = true;
    }
    if (key.Open(HKEY_LOCAL_MACHINE, SIM_LINE_STATES_KEY) == ERROR_SUCCESS && key.ValueNames(names) == ERROR_SUCCESS) {
        for (const std::wstring& name : names) {
            unsigned n = 0;
            DWORD value = 0;
            if (swscanf(name.c_str(), L"%u", &n) == 1 && n >= 1 && n <= LINE_STATE_TABLE_SIZE &&
                key.ReadDword(name.c_str(), value) == ERROR_SUCCESS)
                entry(n).lineState = value;
        }
    }

    ports.clear();
    for (const auto& item : byNumber)
        ports.push_back(item.second);
    return ERROR_SUCCESS;
}

DWORD SetLineBits(unsigned comNumber, BYTE bits)
{
    if (comNumber < 1 || comNumber > LINE_STATE_TABLE_SIZE)
        return ERROR_INVALID_PARAMETER;
    return ChangeLineState(comNumber, ~0xFFu, bits);
}

DWORD SetTraffic(unsigned comNumber, BYTE trafficBits)
{
    if (comNumber < 1 || comNumber > LINE_STATE_TABLE_SIZE || (trafficBits & ~(LINESTATE_RX | LINESTATE_TX)) != 0)
        return ERROR_INVALID_PARAMETER;
    return ChangeLineState(comNumber, 0xFFu, static_cast<DWORD>(trafficBits) << SIM_TRAFFIC_SHIFT);
}

DWORD ReadLineState(unsigned comNumber, DWORD& value)
{
    value = 0;
    RegKey key;
    LONG result = key.Open(HKEY_LOCAL_MACHINE, SIM_LINE_STATES_KEY);
    if (result == ERROR_SUCCESS)
        result = key.ReadDword(LineStateName(comNumber).c_str(), value);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(result);
}

DWORD ReadSerialComm(std::vector<std::pair<std::wstring, std::wstring>>& values)
{
    values.clear();
    RegKey key;
    LONG result = key.Open(HKEY_LOCAL_MACHINE, kSerialCommKey);
    if (result == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    std::vector<std::wstring> names;
    if (result == ERROR_SUCCESS)
        result = key.ValueNames(names);
    for (const std::wstring& name : names) {
        std::wstring data;
        if (key.ReadString(name.c_str(), data) == ERROR_SUCCESS)
            values.emplace_back(name, data);
    }
    return static_cast<DWORD>(result);
}

DWORD ReadComDb(std::vector<BYTE>& bitmap)
{
    bitmap.clear();
    RegKey key;
    LONG result = key.Open(HKEY_LOCAL_MACHINE, SIM_COMDB_KEY);
    if (result == ERROR_SUCCESS)
        result = key.ReadBinary(SIM_COMDB_VALUE, bitmap);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(result);
}

}  // namespace simmachine
