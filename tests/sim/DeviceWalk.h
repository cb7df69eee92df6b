// The port devices as the program finds them: present devices of the COM-port interface
// class, walked with SetupDiEnumDeviceInfo, with the properties the program reads.
#pragma once

#include <windows.h>

#include <setupapi.h>

#include <string>
#include <vector>

// Longest device instance id, with its terminating zero.
constexpr DWORD kDeviceIdChars = 200;

struct PortDevice {
    std::wstring instanceId;
    std::wstring description;
    bool hasFriendlyName = false;
    std::wstring friendlyName;
    std::wstring service;
    std::vector<std::wstring> hardwareIds;
};

std::vector<PortDevice> ListPortDevices();

// Runs fn(set, device) on the present COM-port device with this instance id; false when there
// is none.
template <typename Fn>
bool WithPortDevice(const std::wstring& instanceId, Fn fn);

// Deletes the port device of the COM number the way deletion does: the first present
// COM-port device whose description is "Sarvento VCP" and whose lower-cased friendly name is
// "sarvento vcp (comN)" or "sarvento vcp(comN)" goes with SetupDiRemoveDevice.
bool RemoveDeviceByComNumber(unsigned comNumber);

std::wstring PortInstanceId(unsigned comNumber);

// ---- template ----

HDEVINFO OpenPresentPortDevices();

template <typename Fn>
bool WithPortDevice(const std::wstring& instanceId, Fn fn)
{
    HDEVINFO set = OpenPresentPortDevices();
    if (set == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; !found && SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        wchar_t id[kDeviceIdChars];
        if (SetupDiGetDeviceInstanceIdW(set, &device, id, kDeviceIdChars, nullptr) &&
            _wcsicmp(id, instanceId.c_str()) == 0) {
            fn(set, &device);
            found = true;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}
