#include "DeviceWalk.h"

#include <cwctype>

// The test program's one definition of the bus interface class.
#include <initguid.h>

#include "contract/DriverInterface.h"

namespace {

bool ReadStringProperty(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property, std::wstring& value)
{
    wchar_t buffer[260] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, device, property, nullptr, reinterpret_cast<BYTE*>(buffer),
                                           sizeof(buffer) - sizeof(wchar_t), nullptr))
        return false;
    value = buffer;
    return true;
}

std::vector<std::wstring> ReadMultiString(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property)
{
    wchar_t buffer[512] = {};
    std::vector<std::wstring> strings;
    if (!SetupDiGetDeviceRegistryPropertyW(set, device, property, nullptr, reinterpret_cast<BYTE*>(buffer),
                                           sizeof(buffer) - 2 * sizeof(wchar_t), nullptr))
        return strings;
    for (const wchar_t* p = buffer; *p != 0; p += wcslen(p) + 1)
        strings.emplace_back(p);
    return strings;
}

}  // namespace

HDEVINFO OpenPresentPortDevices()
{
    return SetupDiGetClassDevsW(&GUID_DEVINTERFACE_COMPORT, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
}

std::wstring PortInstanceId(unsigned comNumber)
{
    wchar_t id[64];
    swprintf(id, 64, L"%ls\\%08X", SVT_PORT_HARDWARE_ID, comNumber);
    return id;
}

std::vector<PortDevice> ListPortDevices()
{
    std::vector<PortDevice> devices;
    HDEVINFO set = OpenPresentPortDevices();
    if (set == INVALID_HANDLE_VALUE)
        return devices;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        PortDevice port;
        wchar_t id[kDeviceIdChars];
        if (SetupDiGetDeviceInstanceIdW(set, &device, id, kDeviceIdChars, nullptr))
            port.instanceId = id;
        ReadStringProperty(set, &device, SPDRP_DEVICEDESC, port.description);
        port.hasFriendlyName = ReadStringProperty(set, &device, SPDRP_FRIENDLYNAME, port.friendlyName);
        ReadStringProperty(set, &device, SPDRP_SERVICE, port.service);
        port.hardwareIds = ReadMultiString(set, &device, SPDRP_HARDWAREID);
        devices.push_back(port);
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

bool RemoveDeviceByComNumber(unsigned comNumber)
{
    HDEVINFO set = OpenPresentPortDevices();
    if (set == INVALID_HANDLE_VALUE)
        return false;
    wchar_t withBlank[64];
    wchar_t withoutBlank[64];
    swprintf(withBlank, 64, L"sarvento vcp (com%u)", comNumber);
    swprintf(withoutBlank, 64, L"sarvento vcp(com%u)", comNumber);
    bool removed = false;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        std::wstring description;
        std::wstring friendlyName;
        if (!ReadStringProperty(set, &device, SPDRP_DEVICEDESC, description) || description != SVT_PORT_DEVICE_DESC)
            continue;
        if (!ReadStringProperty(set, &device, SPDRP_FRIENDLYNAME, friendlyName))
            break;
        for (wchar_t& c : friendlyName)
            c = static_cast<wchar_t>(towlower(c));
        if (friendlyName == withBlank || friendlyName == withoutBlank) {
            removed = SetupDiRemoveDevice(set, &device) != FALSE;
            break;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return removed;
}
