#include "InterfaceKeys.h"

#include "KernelRegistry.h"

#define DEVICE_CLASSES_KEY L"\\Registry\\Machine\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses"
#define GUID_TEXT_CHARS 39
#define INTERFACE_NAME_CHARS 200
#define INTERFACE_PATH_CHARS 400

void FormatGuid(const GUID* guid, WCHAR* buf, size_t cch)
{
    KrFormat(buf, cch, L"{%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}", (unsigned long)guid->Data1, guid->Data2,
             guid->Data3, guid->Data4[0], guid->Data4[1], guid->Data4[2], guid->Data4[3], guid->Data4[4],
             guid->Data4[5], guid->Data4[6], guid->Data4[7]);
}

BOOLEAN FormatInterfaceName(const GUID* classGuid, const WCHAR* instanceId, WCHAR* buf, size_t cch)
{
    WCHAR guidText[GUID_TEXT_CHARS];
    size_t i;

    FormatGuid(classGuid, guidText, GUID_TEXT_CHARS);
    if (!KrFormat(buf, cch, L"%s#%s", instanceId, guidText))
        return FALSE;
    for (i = 0; buf[i] != 0; ++i) {
        if (buf[i] == L'\\')
            buf[i] = L'#';
    }
    return TRUE;
}

/* Path of the registration key, or of one of its subkeys when sub is not empty. */
static BOOLEAN FormatRegistrationPath(const GUID* classGuid, const WCHAR* instanceId, const WCHAR* sub, WCHAR* buf,
                                      size_t cch)
{
    WCHAR guidText[GUID_TEXT_CHARS];
    WCHAR name[INTERFACE_NAME_CHARS];

    FormatGuid(classGuid, guidText, GUID_TEXT_CHARS);
    if (!FormatInterfaceName(classGuid, instanceId, name, INTERFACE_NAME_CHARS))
        return FALSE;
    return KrFormat(buf, cch, L"%s\\%s\\##?#%s%s", DEVICE_CLASSES_KEY, guidText, name, sub);
}

NTSTATUS SetInterfaceLinked(const GUID* classGuid, const WCHAR* instanceId, BOOLEAN linked)
{
    WCHAR path[INTERFACE_PATH_CHARS];
    HANDLE key;
    NTSTATUS status;

    if (!FormatRegistrationPath(classGuid, instanceId, L"\\#\\Control", path, INTERFACE_PATH_CHARS))
        return STATUS_NAME_TOO_LONG;
    status = KrCreateKeyPath(path, TRUE, &key);
    if (!NT_SUCCESS(status))
        return status;
    status = KrSetDword(key, L"Linked", linked ? 1 : 0);
    ZwClose(key);
    return status;
}

NTSTATUS RegisterInterface(const GUID* classGuid, const WCHAR* instanceId, BOOLEAN linked)
{
    WCHAR path[INTERFACE_PATH_CHARS];
    WCHAR name[INTERFACE_NAME_CHARS];
    WCHAR link[INTERFACE_NAME_CHARS + 4];
    HANDLE key;
    NTSTATUS status;

    if (!FormatRegistrationPath(classGuid, instanceId, L"", path, INTERFACE_PATH_CHARS) ||
        !FormatInterfaceName(classGuid, instanceId, name, INTERFACE_NAME_CHARS) ||
        !KrFormat(link, INTERFACE_NAME_CHARS + 4, L"\\\\?\\%s", name))
        return STATUS_NAME_TOO_LONG;

    status = KrCreateKeyPath(path, FALSE, &key);
    if (!NT_SUCCESS(status))
        return status;
    status = KrSetString(key, L"DeviceInstance", instanceId);
    ZwClose(key);
    if (!NT_SUCCESS(status))
        return status;

    if (!FormatRegistrationPath(classGuid, instanceId, L"\\#", path, INTERFACE_PATH_CHARS))
        return STATUS_NAME_TOO_LONG;
    status = KrCreateKeyPath(path, FALSE, &key);
    if (!NT_SUCCESS(status))
        return status;
    status = KrSetString(key, L"SymbolicLink", link);
    ZwClose(key);
    if (!NT_SUCCESS(status))
        return status;

    return SetInterfaceLinked(classGuid, instanceId, linked);
}

NTSTATUS UnregisterInterface(const GUID* classGuid, const WCHAR* instanceId)
{
    WCHAR path[INTERFACE_PATH_CHARS];

    if (!FormatRegistrationPath(classGuid, instanceId, L"", path, INTERFACE_PATH_CHARS))
        return STATUS_NAME_TOO_LONG;
    return KrDeleteTree(path);
}
