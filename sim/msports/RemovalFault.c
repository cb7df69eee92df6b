#include <windows.h>

#include <setupapi.h>
#include <string.h>

#include "sim/SimShared.h"
#include "sim/calllog/CallLog.h"
#include "sim/msports/RemovalFault.h"

static BOOL WINAPI RemoveDeviceOrFail(HDEVINFO set, PSP_DEVINFO_DATA device)
{
    if (SimControlIsSet(SIM_CONTROL_REMOVAL_FAILS)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return SetupDiRemoveDevice(set, device);
}

static BOOL WINAPI CallClassInstallerOrFail(DI_FUNCTION function, HDEVINFO set, PSP_DEVINFO_DATA device)
{
    if (function == DIF_REMOVE && SimControlIsSet(SIM_CONTROL_REMOVAL_FAILS)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return SetupDiCallClassInstaller(function, set, device);
}

/* Points the module's import of name from dll at replacement. */
static void PatchImport(HMODULE module, const char* dll, const char* name, void* replacement)
{
    BYTE* base = (BYTE*)module;
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + ((const IMAGE_DOS_HEADER*)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY* imports = &nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_IMPORT_DESCRIPTOR* descriptor;

    if (imports->VirtualAddress == 0)
        return;
    for (descriptor = (const IMAGE_IMPORT_DESCRIPTOR*)(base + imports->VirtualAddress); descriptor->Name != 0;
         ++descriptor) {
        const IMAGE_THUNK_DATA* names;
        IMAGE_THUNK_DATA* slots;
        if (lstrcmpiA((const char*)(base + descriptor->Name), dll) != 0 || descriptor->OriginalFirstThunk == 0)
            continue;
        names = (const IMAGE_THUNK_DATA*)(base + descriptor->OriginalFirstThunk);
        slots = (IMAGE_THUNK_DATA*)(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            DWORD protection;
            DWORD ignored;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                strcmp((const char*)((const IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData))->Name, name) != 0)
                continue;
            if (!VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &protection))
                return;
            slots->u1.Function = (ULONG_PTR)replacement;
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection, &ignored);
        }
    }
}

void InstallRemovalFault(void)
{
    HMODULE self = NULL;

    /* The program's imports lead into this DLL, so it must stay loaded as long as the program. */
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            (LPCWSTR)RemoveDeviceOrFail, &self))
        return;
    PatchImport(GetModuleHandleW(NULL), "setupapi.dll", "SetupDiRemoveDevice", (void*)RemoveDeviceOrFail);
    PatchImport(GetModuleHandleW(NULL), "setupapi.dll", "SetupDiCallClassInstaller", (void*)CallClassInstallerOrFail);
}
