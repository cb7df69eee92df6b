#include "app/PortDeviceCreation.h"

#include <initguid.h>
#include <newdev.h>

#include "app/PortSettings.h"
#include "app/ScopedHandles.h"
#include "app/Trace.h"
#include "contract/DriverInterface.h"
#include "framework/framework.h"

#include <memory>
#include <vector>

namespace {

const wchar_t kPortDriverInf[] = L"svtser3.inf";

// Wide texts handed to the driver installation are limited to 260 characters.
const int kMaxInstallText = MAX_PATH;

// Signature of UpdateDriverForPlugAndPlayDevicesW.
using UpdateDriverFn = BOOL(WINAPI*)(HWND, LPCWSTR, LPCWSTR, DWORD, PBOOL);

// The bus driver is only asked when its service's parameters key can be opened for writing:
// without it there are no port settings for the driver to read.
bool ParametersKeyWritable()
{
    ScopedRegKey key;
    const LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, SVT_PARAMETERS_KEY, 0, KEY_READ | KEY_WRITE, key.Receive());
    if (status != ERROR_SUCCESS)
        TRACE_FAILURE(L"RegOpenKeyExW(parameters key)", status);
    return status == ERROR_SUCCESS;
}

// Installs the port driver for the new child of comNumber from the install folder's INF file.
// Best effort: a missing folder value, an over-long path, a missing newdev.dll or a failed
// update leave the port to Plug and Play, as on a system where the driver is already known.
void InstallPortDriver(int comNumber)
{
    CString folder;
    if (!ReadRegString(kInstallFolderKey, kInstallFolderValue, folder))
        return;

    CString infPath;
    infPath.Format(L"%s\\%s", static_cast<LPCWSTR>(folder), kPortDriverInf);
    if (infPath.GetLength() >= kMaxInstallText)
        return;

    // The id the bus driver reports for the child: "SVTMF3\" and the COM number in eight
    // lowercase hexadecimal digits.
    CString hardwareId;
    hardwareId.Format(L"%s%08x", SVT_PORT_HARDWARE_ID_PREFIX, static_cast<unsigned>(comNumber));

    BOOL reboot = FALSE;
    if (CallUpdateDriverForPlugAndPlayDevices(hardwareId, infPath, INSTALLFLAG_READONLY, &reboot) == 0)
        SetLastError(0);
}

}  // namespace

bool PlugInPort(HDEVINFO deviceInfoSet, SP_DEVICE_INTERFACE_DATA* interfaceData)
{
    DWORD required = 0;
    if (SetupDiGetDeviceInterfaceDetailW(deviceInfoSet, interfaceData, nullptr, 0, &required, nullptr) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
        TRACE_LAST_ERROR(L"SetupDiGetDeviceInterfaceDetailW(size)");
        return false;
    }

    std::vector<BYTE> buffer(required);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(deviceInfoSet, interfaceData, detail, required, nullptr, nullptr)) {
        TRACE_LAST_ERROR(L"SetupDiGetDeviceInterfaceDetailW");
        return false;
    }

    ScopedHandle device(CreateFileW(detail->DevicePath, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device.IsValid()) {
        TRACE_LAST_ERROR(L"CreateFileW(bus interface)");
        return false;
    }

    BusPlugInRecord record = {BUS_PLUGIN_RECORD_SIZE, BUS_PLUGIN_SERIAL_NO};
    DWORD returned = 0;
    if (!DeviceIoControl(device, IOCTL_BUS_PLUGIN_PORT, &record, sizeof record, &record, sizeof record, &returned,
                         nullptr)) {
        TRACE_LAST_ERROR(L"DeviceIoControl(IOCTL_BUS_PLUGIN_PORT)");
        return false;
    }
    return true;
}

int AddPortDevice(const int* osVersion, int comNumber)
{
    if (!ParametersKeyWritable())
        return 0;

    bool accepted = false;
    {
        ScopedDeviceList set(
            SetupDiGetClassDevsW(&GUID_BUS_DRIVER_INTERFACE, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
        if (!set.IsValid()) {
            TRACE_LAST_ERROR(L"SetupDiGetClassDevsW(bus interface)");
            return 0;
        }
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        if (SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_BUS_DRIVER_INTERFACE, 0, &interfaceData))
            accepted = PlugInPort(set, &interfaceData);
        else
            TRACE_LAST_ERROR(L"SetupDiEnumDeviceInterfaces(bus interface)");
    }

    if (!accepted) {
        AfxMessageBox(L"Driver was not loaded! Please return application!", MB_OK);
        return 0;
    }

    // From code 53 on, Plug and Play installs the port driver for the new children itself.
    if (*osVersion < 53)
        InstallPortDriver(comNumber);
    return 1;
}

int CallUpdateDriverForPlugAndPlayDevices(LPCWSTR hardwareId, LPCWSTR infPath, DWORD installFlags, BOOL* rebootRequired)
{
    const ScopedModule newdev(LoadLibraryW(L"newdev.dll"));
    if (!newdev.IsValid()) {
        TRACE_LAST_ERROR(L"LoadLibraryW(newdev.dll)");
        return 2;
    }
    int result = 2;
    auto update = reinterpret_cast<UpdateDriverFn>(
        reinterpret_cast<void*>(GetProcAddress(newdev, "UpdateDriverForPlugAndPlayDevicesW")));
    if (update == nullptr)
        TRACE_LAST_ERROR(L"GetProcAddress(UpdateDriverForPlugAndPlayDevicesW)");
    else if (update(nullptr, hardwareId, infPath, installFlags, rebootRequired))
        result = 0;
    else
        TRACE_LAST_ERROR(L"UpdateDriverForPlugAndPlayDevicesW");
    return result;
}
