// Installing the bus driver and the port driver.
#include "app/DriverInstall.h"

#include "app/PortDeviceCreation.h"
#include "app/ScopedHandles.h"
#include "contract/DriverInterface.h"
#include "framework/cstring.h"

#include <newdev.h>
#include <setupapi.h>

namespace {

const wchar_t kBusDriverInf[] = L"svtmf3.inf";
const wchar_t kPortDriverInf[] = L"svtser3.inf";

// The root bus device's hardware id as a multi-string: the id, its terminator and the list's.
const wchar_t kBusHardwareIdList[] = SVT_BUS_HARDWARE_ID L"\0";
static_assert(sizeof(kBusHardwareIdList) == 2 * (sizeof(SVT_BUS_HARDWARE_ID) / sizeof(wchar_t) - 1) + 4,
              "the id's characters and two terminators");

// The class name buffer of SetupDiGetINFClassW, in characters.
constexpr DWORD kClassNameChars = 64;

// The last error of a call that failed; never 0, so that a failure cannot pass for success.
DWORD FailureError()
{
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

}  // namespace

BOOL InstallDrivers()
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;

    CString busInf;
    busInf.Format(L"%s\\%s", folder, kBusDriverInf);
    CString portInf;
    portInf.Format(L"%s\\%s", folder, kPortDriverInf);

    // The port driver's INF only has to be known to the system: Plug and Play installs the
    // port driver from it for every port device that the bus driver presents. A failed copy
    // shows when the first port is added.
    ::SetupCopyOEMInfW(portInf, nullptr, SPOST_NONE, 0, nullptr, 0, nullptr, nullptr);

    BOOL rebootRequired = FALSE;
    return InstallRootBusDevice(busInf, &rebootRequired);
}

BOOL InstallRootBusDevice(LPCWSTR infPath, BOOL* rebootRequired)
{
    GUID classGuid = {};
    wchar_t className[kClassNameChars] = {};
    if (!::SetupDiGetINFClassW(infPath, &classGuid, className, kClassNameChars, nullptr))
        return FALSE;

    DWORD error = ERROR_SUCCESS;
    {
        ScopedDeviceList devices(::SetupDiCreateDeviceInfoList(&classGuid, nullptr));
        if (!devices.IsValid())
            return FALSE;

        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);
        if (!::SetupDiCreateDeviceInfoW(devices, className, &classGuid, nullptr, nullptr, DICD_GENERATE_ID, &device) ||
            !::SetupDiSetDeviceRegistryPropertyW(devices, &device, SPDRP_HARDWAREID,
                                                 reinterpret_cast<const BYTE*>(kBusHardwareIdList),
                                                 sizeof(kBusHardwareIdList)) ||
            !::SetupDiCallClassInstaller(DIF_REGISTERDEVICE, devices, &device)) {
            error = FailureError();
        } else if (CallUpdateDriverForPlugAndPlayDevices(SVT_BUS_HARDWARE_ID, infPath, INSTALLFLAG_FORCE,
                                                         rebootRequired) != 0) {
            // A bus device without its driver is of no use: it goes again.
            error = FailureError();
            ::SetupDiCallClassInstaller(DIF_REMOVE, devices, &device);
        }
    }
    // Destroying the list may change the last error; the caller gets the one that counts.
    ::SetLastError(error);
    return error == ERROR_SUCCESS;
}
