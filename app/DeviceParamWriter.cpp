#include "app/DeviceParamWriter.h"

#include "app/ComUsage.h"
#include "app/PortDevice.h"

CDeviceParamWriter::CDeviceParamWriter()
    : m_devices(::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES))
{
    if (!m_devices.IsValid())
        return;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(m_devices, index, &device); ++index) {
        DeviceText description;
        if (!ReadDeviceText(m_devices, &device, SPDRP_DEVICEDESC, description) || !IsPortDeviceDescription(description))
            continue;
        // A device whose friendly name cannot be read matches no COM number.
        DeviceText friendlyName;
        if (!ReadDeviceText(m_devices, &device, SPDRP_FRIENDLYNAME, friendlyName))
            continue;
        m_ports.Add(PortDeviceEntry{device, ParseComFromFriendlyName(friendlyName)});
    }
}

int CDeviceParamWriter::WriteDword(DWORD comNumber, LPCWSTR valueName, DWORD value)
{
    for (INT_PTR i = 0; i < m_ports.GetSize(); ++i) {
        PortDeviceEntry& port = m_ports[i];
        if (port.comNumber != static_cast<int>(comNumber))
            continue;
        HKEY hKey = ::SetupDiOpenDevRegKey(m_devices, &port.device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS);
        if (hKey == INVALID_HANDLE_VALUE || hKey == nullptr)
            return 0;
        const LONG status =
            ::RegSetValueExW(hKey, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        ::RegCloseKey(hKey);
        if (status == ERROR_SUCCESS)
            return 1;
    }
    return 0;
}
