/*
 * UpdateDriverForPlugAndPlayDevicesW of the simulated machine's newdev.dll: installs the
 * driver that an INF file has for every present device that carries a hardware id, and
 * answers as Windows does where Wine's own accepts anything: bad flags, a missing INF file and
 * an id that no device carries fail. Every call is recorded in the simulation's call log with
 * its hardware id, INF path, flags, parent window and answer.
 *
 * The simulation ranks no drivers: a matching device gets the INF's driver whether or not
 * INSTALLFLAG_FORCE asks for it. INSTALLFLAG_READONLY installs without copying files.
 */
#include <windows.h>

#include <newdev.h>
#include <setupapi.h>

#include "sim/SimShared.h"
#include "sim/calllog/CallLog.h"

#define KNOWN_FLAGS (INSTALLFLAG_FORCE | INSTALLFLAG_READONLY | INSTALLFLAG_NONINTERACTIVE)

/* Whether one of the device's hardware or compatible ids is hardwareId (case ignored). */
static BOOL CarriesId(HDEVINFO set, SP_DEVINFO_DATA* device, const wchar_t* hardwareId)
{
    static const DWORD properties[] = {SPDRP_HARDWAREID, SPDRP_COMPATIBLEIDS};
    wchar_t ids[1024];
    size_t i;

    for (i = 0; i < sizeof(properties) / sizeof(properties[0]); ++i) {
        const wchar_t* id;
        ZeroMemory(ids, sizeof(ids));
        /* Two characters are kept free, so that the list always ends in two zeros. */
        if (!SetupDiGetDeviceRegistryPropertyW(set, device, properties[i], NULL, (BYTE*)ids,
                                               sizeof(ids) - 2 * sizeof(wchar_t), NULL))
            continue;
        for (id = ids; *id != 0; id += wcslen(id) + 1) {
            if (_wcsicmp(id, hardwareId) == 0)
                return TRUE;
        }
    }
    return FALSE;
}

/* The INF's best driver for the device, installed. */
static BOOL InstallFromInf(HDEVINFO set, SP_DEVINFO_DATA* device, const wchar_t* infPath, DWORD flags)
{
    SP_DEVINSTALL_PARAMS_W params;

    ZeroMemory(&params, sizeof(params));
    params.cbSize = sizeof(params);
    if (!SetupDiGetDeviceInstallParamsW(set, device, &params))
        return FALSE;
    if (wcslen(infPath) >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    wcscpy(params.DriverPath, infPath);
    params.Flags |= DI_ENUMSINGLEINF;
    if (flags & INSTALLFLAG_READONLY)
        params.Flags |= DI_NOFILECOPY;
    if (flags & INSTALLFLAG_NONINTERACTIVE)
        params.Flags |= DI_QUIETINSTALL;
    return SetupDiSetDeviceInstallParamsW(set, device, &params) &&
           SetupDiBuildDriverInfoList(set, device, SPDIT_COMPATDRIVER) &&
           SetupDiCallClassInstaller(DIF_SELECTBESTCOMPATDRV, set, device) &&
           SetupDiCallClassInstaller(DIF_INSTALLDEVICE, set, device);
}

static BOOL UpdateDriver(const wchar_t* hardwareId, const wchar_t* infPath, DWORD flags, BOOL* reboot)
{
    SP_DEVINFO_DATA device;
    HDEVINFO set;
    DWORD index;
    DWORD error = ERROR_SUCCESS;
    DWORD walkEnd;
    BOOL found = FALSE;
    DWORD attributes;

    if (flags & ~KNOWN_FLAGS) {
        SetLastError(ERROR_INVALID_FLAGS);
        return FALSE;
    }
    if (hardwareId == NULL || infPath == NULL || *hardwareId == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    attributes = GetFileAttributesW(infPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (reboot != NULL)
        *reboot = FALSE;

    set = SetupDiGetClassDevsW(NULL, NULL, NULL, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return FALSE;
    ZeroMemory(&device, sizeof(device));
    device.cbSize = sizeof(device);
    for (index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        if (!CarriesId(set, &device, hardwareId))
            continue;
        found = TRUE;
        if (!InstallFromInf(set, &device, infPath, flags) && error == ERROR_SUCCESS)
            error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_GEN_FAILURE;
    }
    walkEnd = GetLastError();
    SetupDiDestroyDeviceInfoList(set);
    if (!found)
        error = ERROR_NO_SUCH_DEVINST;
    /* Windows gives no last error with a success: this one leaves the device walk's
       ERROR_NO_MORE_ITEMS, so a caller who wants 0 there sets it himself. */
    SetLastError(error != ERROR_SUCCESS ? error : walkEnd);
    return error == ERROR_SUCCESS;
}

BOOL WINAPI UpdateDriverForPlugAndPlayDevicesW(HWND parent, LPCWSTR hardwareId, LPCWSTR infPath, DWORD flags,
                                               PBOOL reboot)
{
    SimCallRecord record;
    wchar_t* texts;
    size_t idChars = hardwareId != NULL ? wcslen(hardwareId) + 1 : 1;
    size_t pathChars = infPath != NULL ? wcslen(infPath) + 1 : 1;
    BOOL updated = UpdateDriver(hardwareId, infPath, flags, reboot);

    ZeroMemory(&record, sizeof(record));
    record.function = SIM_CALL_UPDATE_DRIVER;
    record.flags = flags;
    record.result = updated;
    record.lastError = GetLastError();
    record.window = (unsigned long long)(ULONG_PTR)parent;
    texts = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (idChars + pathChars) * sizeof(wchar_t));
    if (texts != NULL) {
        if (hardwareId != NULL)
            memcpy(texts, hardwareId, idChars * sizeof(wchar_t));
        if (infPath != NULL)
            memcpy(texts + idChars, infPath, pathChars * sizeof(wchar_t));
        record.textChars = (unsigned int)(idChars + pathChars);
    }
    SimLogCall(SIM_CALL_LOG_NEWDEV, &record, texts);
    if (texts != NULL)
        HeapFree(GetProcessHeap(), 0, texts);
    return updated;
}
