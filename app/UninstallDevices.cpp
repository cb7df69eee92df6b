// The uninstallation's device, COM-number and registry steps.
#include "app/Uninstall.h"

#include "app/PortDevice.h"
#include "app/PortSettings.h"
#include "app/ScopedHandles.h"
#include "contract/DriverInterface.h"
#include "framework/cstring.h"
#include "framework/msgbox.h"

#include <setupapi.h>
#include <cfgmgr32.h>

#include <ddk/msports.h>

#include <bitset>
#include <vector>

namespace {

// The key numbers the first pass looks at (0 to 256) and whose subkeys the last pass deletes
// (0 to 255). Only a port's own number, 1 to 255, is ever released.
constexpr UINT kLastReleasedKeyNumber = 256;
constexpr UINT kLastDeletedKeyNumber = 255;

bool IsPortKeyNumber(unsigned long keyNumber)
{
    return keyNumber >= 1 && keyNumber <= kLastDeletedKeyNumber;
}

using RemainingPorts = std::bitset<kLastDeletedKeyNumber + 1>;

// A property buffer starts at this size and grows to what the system asks for.
constexpr DWORD kFirstPropertyBytes = 256;
// Room behind the property's data that stays zero, so that a text or multi-string read from
// it is always terminated.
constexpr DWORD kTerminatorBytes = 2 * sizeof(wchar_t);

// Reads a registry property of a device into buffer, which grows to the size the system
// reports (ERROR_INSUFFICIENT_BUFFER). ERROR_SUCCESS, ERROR_INVALID_DATA when the device has no
// such property, or the error of the read.
DWORD ReadDeviceProperty(HDEVINFO hDevInfo, SP_DEVINFO_DATA* pDevice, DWORD property, std::vector<BYTE>& buffer)
{
    DWORD wanted = kFirstPropertyBytes;
    // A property may grow between two reads; a few rounds settle it.
    for (int round = 0; round < 4; ++round) {
        buffer.assign(wanted + kTerminatorBytes, 0);
        DWORD required = 0;
        if (::SetupDiGetDeviceRegistryPropertyW(hDevInfo, pDevice, property, nullptr, buffer.data(), wanted, &required))
            return ERROR_SUCCESS;
        const DWORD error = ::GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || required <= wanted)
            return error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error;
        wanted = required;
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

void RemoveDevice(HDEVINFO hDevInfo, SP_DEVINFO_DATA* pDevice)
{
    // A device that will not go is not reported: the rest of the product still goes.
    ::SetupDiCallClassInstaller(DIF_REMOVE, hDevInfo, pDevice);
}

bool IsProductService(LPCWSTR service)
{
    return SameTextIgnoringCase(service, SVT_PORT_SERVICE_NAME) || SameTextIgnoringCase(service, SVT_BUS_SERVICE_NAME);
}

// Removes the devices of the product's two services. ERROR_SUCCESS when the walk reached the
// end, else the error that ended it.
DWORD RemoveServiceDevices(HDEVINFO hDevInfo)
{
    std::vector<BYTE> buffer;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(hDevInfo, index, &device); ++index) {
        const DWORD error = ReadDeviceProperty(hDevInfo, &device, SPDRP_SERVICE, buffer);
        if (error == ERROR_INVALID_DATA)
            continue;  // a device without a service
        if (error != ERROR_SUCCESS)
            return error;
        if (IsProductService(reinterpret_cast<LPCWSTR>(buffer.data())))
            RemoveDevice(hDevInfo, &device);
    }
    return ERROR_SUCCESS;
}

// The port devices left on the machine, present or not, by key number (their instance under
// SVTMF3\*PNP0501 is the key number in eight hexadecimal digits): such a port keeps its subkey
// and its COM number. ERROR_SUCCESS, or the error that left the walk unfinished: no port is then
// known to be gone.
DWORD FindRemainingPorts(RemainingPorts& remaining)
{
    remaining.reset();
    ScopedDeviceList devices(::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
    if (!devices.IsValid())
        return ::GetLastError();
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        wchar_t id[MAX_DEVICE_ID_LEN] = {};
        if (!::SetupDiGetDeviceInstanceIdW(devices, &device, id, MAX_DEVICE_ID_LEN, nullptr))
            return ::GetLastError();
        if (const UINT key = PortKeyNumberFromInstanceId(id))
            remaining.set(key);
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : error;
}

// Releases the COM number of every port subkey, by its key number, unless the port's device is
// still there; the subkeys stay. The database is opened for each key number from 0 to 256.
// ERROR_SUCCESS, or the error of an open or of the device list.
DWORD ReleaseConfiguredComNumbers()
{
    RemainingPorts remaining;
    if (const DWORD error = FindRemainingPorts(remaining))
        return error;
    for (UINT keyNumber = 0; keyNumber <= kLastReleasedKeyNumber; ++keyNumber) {
        ScopedComDb comDb;
        if (const LONG opened = comDb.Open())
            return static_cast<DWORD>(opened);
        // A subkey that is a link holds another key's values, not a port's.
        DWORD comNumber = 0;
        if (IsPortKeyNumber(keyNumber) && !remaining.test(keyNumber) && !IsPortSubkeyLink(keyNumber) &&
            ReadRegDword(PortSubkeyPath(keyNumber), kComPortValue, comNumber))
            ::ComDBReleasePort(comDb, keyNumber);
    }
    return ERROR_SUCCESS;
}

// How many strings of the multi-string are the port devices' hardware id, in any case.
int CountPortHardwareIds(LPCWSTR ids)
{
    int count = 0;
    for (LPCWSTR id = ids; *id != L'\0'; id += wcslen(id) + 1) {
        if (SameTextIgnoringCase(id, SVT_PORT_HARDWARE_ID))
            ++count;
    }
    return count;
}

}  // namespace

DWORD RemoveSerialDevicesAndPorts()
{
    if (GetPlatformId() != VER_PLATFORM_WIN32_NT) {
        // No owner and the system's own caption, as a box from outside any window.
        AfxShowMessageBox(nullptr, L"This program must be executed on WINDOWS 2000/XP", L"Error", MB_OK);
        return 1;
    }

    DWORD error = ERROR_SUCCESS;
    {
        ScopedDeviceList devices(::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
        if (!devices.IsValid()) {
            // Without the device list the COM numbers are left alone too, as after a failed walk.
            error = ::GetLastError();
        } else {
            error = RemoveServiceDevices(devices);
            if (error == ERROR_SUCCESS)
                error = ReleaseConfiguredComNumbers();
        }
    }
    DeleteOemInfFiles();
    return error;
}

int RemovePnp0501Devices()
{
    ScopedDeviceList devices(::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
    if (!devices.IsValid())
        return 0;
    std::vector<BYTE> buffer;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const DWORD error = ReadDeviceProperty(devices, &device, SPDRP_HARDWAREID, buffer);
        if (error == ERROR_INVALID_DATA)
            continue;  // a device without hardware ids
        if (error != ERROR_SUCCESS)
            break;
        // Once per matching id: a device that lists it twice is asked twice, and the second
        // removal of a device already gone fails without harm.
        for (int n = CountPortHardwareIds(reinterpret_cast<LPCWSTR>(buffer.data())); n > 0; --n) {
            RemoveDevice(devices, &device);
            // The port driver withdraws a removed port's names on its own; give it that moment.
            ::Sleep(100);
        }
    }
    return 1;
}

int UninstallAllPorts()
{
    ScopedComDb comDb;
    if (comDb.Open() != ERROR_SUCCESS) {
        AfxMessageBox(L"Failed to open COM DB. Unable to uninstall", MB_OK | MB_ICONSTOP);
        return 0;
    }
    RemainingPorts remaining;
    if (FindRemainingPorts(remaining) != ERROR_SUCCESS) {
        comDb.Close();
        AfxMessageBox(L"The port devices could not be read.\nNo port setting was removed", MB_OK | MB_ICONSTOP);
        return 0;
    }
    std::vector<UINT> kept;
    for (UINT keyNumber = 0; keyNumber <= kLastDeletedKeyNumber; ++keyNumber) {
        // A subkey that is a link is taken away as the link; what it points to is another key's,
        // and so is any ComPort read through it.
        if (IsPortSubkeyLink(keyNumber)) {
            DeletePortKey(keyNumber);
            continue;
        }
        DWORD comNumber = 0;
        if (!ReadRegDword(PortSubkeyPath(keyNumber), kComPortValue, comNumber))
            continue;
        if (remaining.test(keyNumber))
            kept.push_back(keyNumber);  // its device is still there: so are its settings and number
        else if (IsPortKeyNumber(keyNumber))
            DeletePortSettings(keyNumber, keyNumber, comDb);
        else
            DeletePortKey(keyNumber);  // no port has this number, so neither has it a COM number
    }
    comDb.Close();
    ReportPortsNotRemoved(kept);
    return 1;
}
