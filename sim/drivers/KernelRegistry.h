/*
 * Registry access for the simulated drivers through the kernel's Zw* calls. Paths are full
 * kernel paths ("\Registry\Machine\..."). Every function returns the NTSTATUS of the call that
 * decided its outcome; none of them raises or asserts.
 */
#ifndef SARVENTO_KERNEL_REGISTRY_H
#define SARVENTO_KERNEL_REGISTRY_H

#include <ntddk.h>

/* Formats into buf (cch characters, always terminated); FALSE when the text did not fit. */
BOOLEAN KrFormat(WCHAR* buf, size_t cch, const WCHAR* format, ...);

NTSTATUS KrOpenKey(const WCHAR* path, HANDLE* key);

/* Opens the key, creating it and every missing key above it. The last level is created with
   REG_OPTION_VOLATILE when volatileKey is TRUE; a level below a volatile key is made volatile
   too, as the registry requires. */
NTSTATUS KrCreateKeyPath(const WCHAR* path, BOOLEAN volatileKey, HANDLE* key);

BOOLEAN KrKeyExists(const WCHAR* path);

/* Deletes the key and everything below it; a key that does not exist is no error. */
NTSTATUS KrDeleteTree(const WCHAR* path);

NTSTATUS KrSetString(HANDLE key, const WCHAR* name, const WCHAR* value);
/* value holds strings each ended by a zero, the whole list ended by one more zero. */
NTSTATUS KrSetMultiString(HANDLE key, const WCHAR* name, const WCHAR* value);
NTSTATUS KrSetDword(HANDLE key, const WCHAR* name, ULONG value);
NTSTATUS KrSetBinary(HANDLE key, const WCHAR* name, const void* data, ULONG size);
NTSTATUS KrDeleteValue(HANDLE key, const WCHAR* name);

/* Reads a REG_DWORD; another type counts as missing (STATUS_OBJECT_TYPE_MISMATCH). */
NTSTATUS KrQueryDword(HANDLE key, const WCHAR* name, ULONG* value);

/* Reads a REG_BINARY of at most capacity bytes (and at most 512) into data; *size gets its
   length. Another type counts as missing (STATUS_OBJECT_TYPE_MISMATCH), a longer value gives
   STATUS_BUFFER_OVERFLOW. */
NTSTATUS KrQueryBinary(HANDLE key, const WCHAR* name, UCHAR* data, ULONG capacity, ULONG* size);

/* When the key, its values or its list of subkeys last changed (a change below a subkey does
   not count). */
NTSTATUS KrQueryLastWriteTime(const WCHAR* path, LARGE_INTEGER* time);

/* Name of the subkey at index (STATUS_NO_MORE_ENTRIES past the last). */
NTSTATUS KrEnumSubkey(HANDLE key, ULONG index, WCHAR* name, size_t cch);

/* Name of the value at index, whatever its type. */
NTSTATUS KrEnumValueName(HANDLE key, ULONG index, WCHAR* name, size_t cch);

/* Name and REG_DWORD data of the value at index; values of other types give
   STATUS_OBJECT_TYPE_MISMATCH, so that callers can skip them. */
NTSTATUS KrEnumDwordValue(HANDLE key, ULONG index, WCHAR* name, size_t cch, ULONG* value);

#endif /* SARVENTO_KERNEL_REGISTRY_H */
