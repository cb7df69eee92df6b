#include "KernelRegistry.h"

#include <stdarg.h>
#include <wchar.h>

#define KR_MAX_PATH 512
#define KR_MAX_NAME 256
#define KR_MAX_BINARY 512

BOOLEAN KrFormat(WCHAR* buf, size_t cch, const WCHAR* format, ...)
{
    va_list args;
    int written;

    if (cch == 0)
        return FALSE;
    va_start(args, format);
    written = _vsnwprintf(buf, cch, format, args);
    va_end(args);
    buf[cch - 1] = 0;
    return written >= 0 && (size_t)written < cch;
}

static void InitAttributes(OBJECT_ATTRIBUTES* attributes, UNICODE_STRING* name, const WCHAR* path)
{
    RtlInitUnicodeString(name, path);
    InitializeObjectAttributes(attributes, name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
}

NTSTATUS KrOpenKey(const WCHAR* path, HANDLE* key)
{
    OBJECT_ATTRIBUTES attributes;
    UNICODE_STRING name;

    InitAttributes(&attributes, &name, path);
    return ZwOpenKey(key, KEY_ALL_ACCESS, &attributes);
}

BOOLEAN KrKeyExists(const WCHAR* path)
{
    HANDLE key;

    if (!NT_SUCCESS(KrOpenKey(path, &key)))
        return FALSE;
    ZwClose(key);
    return TRUE;
}

/* Creates or opens one key whose parent exists. */
static NTSTATUS CreateOneKey(const WCHAR* path, BOOLEAN volatileKey, HANDLE* key)
{
    OBJECT_ATTRIBUTES attributes;
    UNICODE_STRING name;
    NTSTATUS status;

    InitAttributes(&attributes, &name, path);
    status = ZwCreateKey(key, KEY_ALL_ACCESS, &attributes, 0, NULL,
                         volatileKey ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE, NULL);
    if (status == STATUS_CHILD_MUST_BE_VOLATILE && !volatileKey)
        status = ZwCreateKey(key, KEY_ALL_ACCESS, &attributes, 0, NULL, REG_OPTION_VOLATILE, NULL);
    return status;
}

NTSTATUS KrCreateKeyPath(const WCHAR* path, BOOLEAN volatileKey, HANDLE* key)
{
    WCHAR partial[KR_MAX_PATH];
    size_t length = wcslen(path);
    size_t i;
    NTSTATUS status;

    status = CreateOneKey(path, volatileKey, key);
    if (status != STATUS_OBJECT_NAME_NOT_FOUND && status != STATUS_OBJECT_PATH_NOT_FOUND)
        return status;
    if (length >= KR_MAX_PATH)
        return STATUS_NAME_TOO_LONG;

    /* The kernel creates one level at a time: make each missing level from the top down. */
    memcpy(partial, path, (length + 1) * sizeof(WCHAR));
    for (i = 1; i < length; ++i) {
        HANDLE level;
        if (partial[i] != L'\\')
            continue;
        partial[i] = 0;
        if (NT_SUCCESS(CreateOneKey(partial, FALSE, &level)))
            ZwClose(level);
        partial[i] = L'\\';
    }
    return CreateOneKey(path, volatileKey, key);
}

NTSTATUS KrDeleteTree(const WCHAR* path)
{
    WCHAR child[KR_MAX_PATH];
    WCHAR name[KR_MAX_NAME];
    HANDLE key;
    NTSTATUS status;

    status = KrOpenKey(path, &key);
    if (status == STATUS_OBJECT_NAME_NOT_FOUND || status == STATUS_OBJECT_PATH_NOT_FOUND)
        return STATUS_SUCCESS;
    if (!NT_SUCCESS(status))
        return status;

    /* Delete subkeys one by one; index 0 is always the next one left. */
    while (NT_SUCCESS(KrEnumSubkey(key, 0, name, KR_MAX_NAME))) {
        if (!KrFormat(child, KR_MAX_PATH, L"%s\\%s", path, name)) {
            status = STATUS_NAME_TOO_LONG;
            break;
        }
        status = KrDeleteTree(child);
        if (!NT_SUCCESS(status))
            break;
    }
    if (NT_SUCCESS(status))
        status = ZwDeleteKey(key);
    ZwClose(key);
    return status;
}

static NTSTATUS SetValue(HANDLE key, const WCHAR* name, ULONG type, const void* data, ULONG size)
{
    UNICODE_STRING valueName;

    RtlInitUnicodeString(&valueName, name);
    return ZwSetValueKey(key, &valueName, 0, type, (void*)data, size);
}

NTSTATUS KrSetString(HANDLE key, const WCHAR* name, const WCHAR* value)
{
    return SetValue(key, name, REG_SZ, value, (ULONG)((wcslen(value) + 1) * sizeof(WCHAR)));
}

NTSTATUS KrSetMultiString(HANDLE key, const WCHAR* name, const WCHAR* value)
{
    const WCHAR* p = value;

    while (*p)
        p += wcslen(p) + 1;
    return SetValue(key, name, REG_MULTI_SZ, value, (ULONG)((p - value + 1) * sizeof(WCHAR)));
}

NTSTATUS KrSetDword(HANDLE key, const WCHAR* name, ULONG value)
{
    return SetValue(key, name, REG_DWORD, &value, sizeof(value));
}

NTSTATUS KrSetBinary(HANDLE key, const WCHAR* name, const void* data, ULONG size)
{
    return SetValue(key, name, REG_BINARY, data, size);
}

NTSTATUS KrDeleteValue(HANDLE key, const WCHAR* name)
{
    UNICODE_STRING valueName;

    RtlInitUnicodeString(&valueName, name);
    return ZwDeleteValueKey(key, &valueName);
}

NTSTATUS KrQueryDword(HANDLE key, const WCHAR* name, ULONG* value)
{
    union {
        KEY_VALUE_PARTIAL_INFORMATION info;
        UCHAR bytes[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + sizeof(ULONG)];
    } buffer;
    UNICODE_STRING valueName;
    ULONG returned = 0;
    NTSTATUS status;

    RtlInitUnicodeString(&valueName, name);
    status = ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, &buffer, sizeof(buffer), &returned);
    if (!NT_SUCCESS(status))
        return status;
    if (buffer.info.Type != REG_DWORD || buffer.info.DataLength != sizeof(ULONG))
        return STATUS_OBJECT_TYPE_MISMATCH;
    memcpy(value, buffer.info.Data, sizeof(ULONG));
    return STATUS_SUCCESS;
}

NTSTATUS KrQueryBinary(HANDLE key, const WCHAR* name, UCHAR* data, ULONG capacity, ULONG* size)
{
    enum { HEADER = FIELD_OFFSET(KEY_VALUE_PARTIAL_INFORMATION, Data) };
    UCHAR buffer[HEADER + KR_MAX_BINARY];
    KEY_VALUE_PARTIAL_INFORMATION* info = (KEY_VALUE_PARTIAL_INFORMATION*)buffer;
    UNICODE_STRING valueName;
    ULONG returned = 0;
    NTSTATUS status;

    RtlInitUnicodeString(&valueName, name);
    status = ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, buffer,
                             (ULONG)(HEADER + (capacity < KR_MAX_BINARY ? capacity : KR_MAX_BINARY)), &returned);
    if (!NT_SUCCESS(status))
        return status;
    if (info->Type != REG_BINARY)
        return STATUS_OBJECT_TYPE_MISMATCH;
    memcpy(data, info->Data, info->DataLength);
    *size = info->DataLength;
    return STATUS_SUCCESS;
}

/* Copies a counted name (length in bytes) into a terminated buffer. */
static NTSTATUS CopyName(const WCHAR* source, ULONG bytes, WCHAR* name, size_t cch)
{
    size_t chars = bytes / sizeof(WCHAR);

    if (chars >= cch)
        return STATUS_BUFFER_OVERFLOW;
    memcpy(name, source, chars * sizeof(WCHAR));
    name[chars] = 0;
    return STATUS_SUCCESS;
}

NTSTATUS KrQueryLastWriteTime(const WCHAR* path, LARGE_INTEGER* time)
{
    union {
        KEY_BASIC_INFORMATION info;
        UCHAR bytes[sizeof(KEY_BASIC_INFORMATION) + KR_MAX_NAME * sizeof(WCHAR)];
    } buffer;
    ULONG returned = 0;
    HANDLE key;
    NTSTATUS status;

    status = KrOpenKey(path, &key);
    if (!NT_SUCCESS(status))
        return status;
    status = ZwQueryKey(key, KeyBasicInformation, &buffer, sizeof(buffer), &returned);
    ZwClose(key);
    if (NT_SUCCESS(status))
        *time = buffer.info.LastWriteTime;
    return status;
}

NTSTATUS KrEnumSubkey(HANDLE key, ULONG index, WCHAR* name, size_t cch)
{
    union {
        KEY_BASIC_INFORMATION info;
        UCHAR bytes[sizeof(KEY_BASIC_INFORMATION) + KR_MAX_NAME * sizeof(WCHAR)];
    } buffer;
    ULONG returned = 0;
    NTSTATUS status;

    status = ZwEnumerateKey(key, index, KeyBasicInformation, &buffer, sizeof(buffer), &returned);
    if (!NT_SUCCESS(status))
        return status;
    return CopyName(buffer.info.Name, buffer.info.NameLength, name, cch);
}

NTSTATUS KrEnumValueName(HANDLE key, ULONG index, WCHAR* name, size_t cch)
{
    union {
        KEY_VALUE_BASIC_INFORMATION info;
        UCHAR bytes[sizeof(KEY_VALUE_BASIC_INFORMATION) + KR_MAX_NAME * sizeof(WCHAR)];
    } buffer;
    ULONG returned = 0;
    NTSTATUS status;

    status = ZwEnumerateValueKey(key, index, KeyValueBasicInformation, &buffer, sizeof(buffer), &returned);
    if (!NT_SUCCESS(status))
        return status;
    return CopyName(buffer.info.Name, buffer.info.NameLength, name, cch);
}

NTSTATUS KrEnumDwordValue(HANDLE key, ULONG index, WCHAR* name, size_t cch, ULONG* value)
{
    union {
        KEY_VALUE_FULL_INFORMATION info;
        UCHAR bytes[sizeof(KEY_VALUE_FULL_INFORMATION) + KR_MAX_NAME * sizeof(WCHAR) + 16];
    } buffer;
    ULONG returned = 0;
    NTSTATUS status;

    status = ZwEnumerateValueKey(key, index, KeyValueFullInformation, &buffer, sizeof(buffer), &returned);
    if (!NT_SUCCESS(status))
        return status;
    status = CopyName(buffer.info.Name, buffer.info.NameLength, name, cch);
    if (!NT_SUCCESS(status))
        return status;
    if (buffer.info.Type != REG_DWORD || buffer.info.DataLength != sizeof(ULONG) ||
        buffer.info.DataOffset > sizeof(buffer) - sizeof(ULONG))
        return STATUS_OBJECT_TYPE_MISMATCH;
    memcpy(value, buffer.bytes + buffer.info.DataOffset, sizeof(ULONG));
    return STATUS_SUCCESS;
}
