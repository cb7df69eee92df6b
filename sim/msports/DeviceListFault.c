#include <windows.h>

#include <setupapi.h>

#include "sim/SimShared.h"
#include "sim/calllog/CallLog.h"
#include "sim/msports/DeviceListFault.h"

/* mov rax, imm64; jmp rax */
#define JUMP_BYTES 12

static HDEVINFO WINAPI GetClassDevsOrFail(const GUID* classGuid, PCWSTR enumerator, HWND parent, DWORD flags)
{
    if (SimControlIsSet(SIM_CONTROL_DEVICE_LIST_FAILS)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    return SetupDiGetClassDevsExW(classGuid, enumerator, parent, flags, NULL, NULL, NULL);
}

void InstallDeviceListFault(void)
{
    HMODULE setupapi = GetModuleHandleW(L"setupapi.dll");
    BYTE* entry;
    BYTE jump[JUMP_BYTES] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};
    ULONG_PTR target = (ULONG_PTR)GetClassDevsOrFail;
    DWORD protection;
    DWORD ignored;

    HMODULE self = NULL;

    /* The jump leads into this DLL, so it must stay loaded as long as SetupAPI. */
    if (setupapi == NULL || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                                (LPCWSTR)GetClassDevsOrFail, &self))
        return;
    entry = (BYTE*)GetProcAddress(setupapi, "SetupDiGetClassDevsW");
    if (entry == NULL || entry == (BYTE*)GetClassDevsOrFail)
        return;
    memcpy(jump + 2, &target, sizeof(target));
    if (!VirtualProtect(entry, JUMP_BYTES, PAGE_EXECUTE_READWRITE, &protection))
        return;
    memcpy(entry, jump, JUMP_BYTES);
    VirtualProtect(entry, JUMP_BYTES, protection, &ignored);
    FlushInstructionCache(GetCurrentProcess(), entry, JUMP_BYTES);
}
