#include "app/PortDevice.h"

#include "app/Trace.h"
#include "contract/DriverInterface.h"
#include "framework/cstring.h"
#include "framework/msgbox.h"

#include <winioctl.h>
#include <cfgmgr32.h>

#include <stdlib.h>
#include <string.h>

const wchar_t kPortDeviceDescription[] = SVT_PORT_DEVICE_DESC;

bool ReadDeviceText(HDEVINFO hDevInfo, SP_DEVINFO_DATA* pDevice, DWORD property, DeviceText& text)
{
    text[0] = L'\0';
    DWORD dataBytes = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(hDevInfo, pDevice, property, nullptr, reinterpret_cast<BYTE*>(text),
                                             kDeviceTextChars * sizeof(wchar_t), &dataBytes)) {
        TRACE_LAST_ERROR(L"SetupDiGetDeviceRegistryPropertyW");
        text[0] = L'\0';
        return false;
    }
    // The stored text may lack its terminator; end it after the characters that were read.
    DWORD chars = dataBytes / sizeof(wchar_t);
    if (chars > kDeviceTextChars)
        chars = kDeviceTextChars;
    text[chars] = L'\0';
    return true;
}

bool IsPortDeviceDescription(LPCWSTR description)
{
    return wcscmp(description, kPortDeviceDescription) == 0;
}

bool HasPortFriendlyNamePrefix(LPCWSTR friendlyName)
{
    const wchar_t* open = wcschr(friendlyName, L'(');
    if (open == nullptr)
        return false;
    const size_t prefixLength = static_cast<size_t>(open - friendlyName);
    const size_t descriptionLength = wcslen(kPortDeviceDescription);
    if (wcsncmp(friendlyName, kPortDeviceDescription, descriptionLength) != 0)
        return false;
    return prefixLength == descriptionLength ||
           (prefixLength == descriptionLength + 1 && friendlyName[descriptionLength] == L' ');
}

HDEVINFO GetPresentComPortDevices()
{
    const HDEVINFO hDevInfo =
        ::SetupDiGetClassDevsW(&GUID_DEVINTERFACE_COMPORT, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (hDevInfo == INVALID_HANDLE_VALUE)
        TRACE_LAST_ERROR(L"SetupDiGetClassDevsW(COM ports)");
    return hDevInfo;
}

bool ForEachPortDevice(HDEVINFO hDevInfo, const std::function<void(LPCWSTR friendlyName)>& onPort,
                       const std::function<bool(SP_DEVINFO_DATA& device)>& onUnnamed)
{
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(hDevInfo, index, &device); ++index) {
        DeviceText description;
        if (!ReadDeviceText(hDevInfo, &device, SPDRP_DEVICEDESC, description) || !IsPortDeviceDescription(description))
            continue;
        DeviceText friendlyName;
        if (ReadDeviceText(hDevInfo, &device, SPDRP_FRIENDLYNAME, friendlyName))
            onPort(friendlyName);
        else if (!onUnnamed || !onUnnamed(device))
            return false;
    }
    // The list ends with ERROR_NO_MORE_ITEMS; any other failure leaves devices unseen.
    if (::GetLastError() == ERROR_NO_MORE_ITEMS)
        return true;
    TRACE_LAST_ERROR(L"SetupDiEnumDeviceInfo");
    return false;
}

UINT PortKeyNumberFromInstanceId(LPCWSTR instanceId)
{
    const CString prefix = CString(SVT_PORT_HARDWARE_ID) + L"\\";
    const CString id(instanceId);
    if (id.GetLength() != prefix.GetLength() + 8 || _wcsnicmp(id, prefix, prefix.GetLength()) != 0)
        return 0;
    wchar_t* end = nullptr;
    const unsigned long key = wcstoul(static_cast<LPCWSTR>(id) + prefix.GetLength(), &end, 16);
    return *end == L'\0' && key >= 1 && key <= 255 ? static_cast<UINT>(key) : 0;
}

UINT ReadPortInstanceKeyNumber(HDEVINFO hDevInfo, SP_DEVINFO_DATA* pDevice)
{
    wchar_t id[MAX_DEVICE_ID_LEN] = {};
    if (!::SetupDiGetDeviceInstanceIdW(hDevInfo, pDevice, id, MAX_DEVICE_ID_LEN, nullptr)) {
        TRACE_LAST_ERROR(L"SetupDiGetDeviceInstanceIdW");
        return 0;
    }
    return PortKeyNumberFromInstanceId(id);
}

void ReportPortsNotRemoved(const std::vector<UINT>& keyNumbers)
{
    if (keyNumbers.empty())
        return;
    CString text(L"These ports were not removed: ");
    for (size_t i = 0; i < keyNumbers.size(); ++i) {
        CString name;
        name.Format(i == 0 ? L"COM%u" : L", COM%u", keyNumbers[i]);
        text += name;
    }
    text += L"\nTheir settings and COM numbers are kept";
    AfxMessageBox(text, MB_OK);
}
