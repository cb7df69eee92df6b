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
    const auto set = [&](HKEY hKey) {
        return ::RegSetValueExW(hKey, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
               ERROR_SUCCESS;
    };
    for (INT_PTR i = 0; i < m_ports.GetSize(); ++i) {
        if (m_ports[i].comNumber != static_cast<int>(comNumber))
            continue;
        bool kept = false;
        HKEY hKey = OpenDeviceKey(i, kept);
        if (hKey == nullptr)
            return 0;
        if (set(hKey))
            return 1;
        // A key kept open may have gone since it was opened: a fresh open decides, as it would
        // for a key opened for this value alone.
        if (kept) {
            m_openKey.Close();
            m_openIndex = -1;
            hKey = OpenDeviceKey(i, kept);
            if (hKey == nullptr)
                return 0;
            if (set(hKey))
                return 1;
        }
    }
    return 0;
}

HKEY CDeviceParamWriter::OpenDeviceKey(INT_PTR index, bool& kept)
{
    kept = index == m_openIndex;
    if (kept)
        return m_openKey;
    m_openKey.Close();
    m_openIndex = -1;
    HKEY hKey =
        ::SetupDiOpenDevRegKey(m_devices, &m_ports[index].device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS);
    if (hKey == INVALID_HANDLE_VALUE || hKey == nullptr)
        return nullptr;
    *m_openKey.Receive() = hKey;
    m_openIndex = index;
    return hKey;
}
