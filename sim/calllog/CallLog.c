#include "sim/calllog/CallLog.h"

#define PATH_CHARS 128

/* "%04u" of the slot, without the C library's formatting. */
static void SlotName(unsigned int slot, wchar_t name[5])
{
    int i;

    for (i = 3; i >= 0; --i) {
        name[i] = (wchar_t)(L'0' + slot % 10);
        slot /= 10;
    }
    name[4] = 0;
}

static BOOL LogPath(const wchar_t* dll, wchar_t path[PATH_CHARS])
{
    size_t root = wcslen(SIM_CALL_LOG_KEY);
    size_t leaf = wcslen(dll);

    if (root + 1 + leaf >= PATH_CHARS)
        return FALSE;
    memcpy(path, SIM_CALL_LOG_KEY, root * sizeof(wchar_t));
    path[root] = L'\\';
    memcpy(path + root + 1, dll, (leaf + 1) * sizeof(wchar_t));
    return TRUE;
}

/* Stores the record as the next one of the open key; the caller holds the log's mutex. */
static void Append(HKEY key, SimCallRecord* record, const wchar_t* texts)
{
    DWORD sequence = 0;
    DWORD size = sizeof(sequence);
    DWORD type = 0;
    DWORD bytes = (DWORD)(sizeof(*record) + record->textChars * sizeof(wchar_t));
    BYTE* data;
    wchar_t slot[5];

    if (RegQueryValueExW(key, SIM_CALL_LOG_SEQUENCE, NULL, &type, (BYTE*)&sequence, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(sequence))
        sequence = 0;
    record->sequence = ++sequence;
    data = HeapAlloc(GetProcessHeap(), 0, bytes);
    if (data == NULL)
        return;
    memcpy(data, record, sizeof(*record));
    if (record->textChars != 0)
        memcpy(data + sizeof(*record), texts, record->textChars * sizeof(wchar_t));
    SlotName(sequence % SIM_LOG_RING_SIZE, slot);
    if (RegSetValueExW(key, slot, 0, REG_BINARY, data, bytes) == ERROR_SUCCESS)
        RegSetValueExW(key, SIM_CALL_LOG_SEQUENCE, 0, REG_DWORD, (const BYTE*)&sequence, sizeof(sequence));
    HeapFree(GetProcessHeap(), 0, data);
}

void SimLogCall(const wchar_t* dll, SimCallRecord* record, const wchar_t* texts)
{
    DWORD lastError = GetLastError();
    wchar_t path[PATH_CHARS];
    FILETIME now;
    HANDLE mutex;
    HKEY key;
    DWORD wait;

    if (texts == NULL)
        record->textChars = 0;
    record->processId = GetCurrentProcessId();
    GetSystemTimeAsFileTime(&now);
    record->time = ((unsigned long long)now.dwHighDateTime << 32) | now.dwLowDateTime;

    mutex = CreateMutexW(NULL, FALSE, SIM_CALL_LOG_MUTEX);
    if (mutex != NULL && LogPath(dll, path)) {
        wait = WaitForSingleObject(mutex, INFINITE);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key,
                                NULL) == ERROR_SUCCESS) {
                Append(key, record, texts);
                RegCloseKey(key);
            }
            ReleaseMutex(mutex);
        }
    }
    if (mutex != NULL)
        CloseHandle(mutex);
    SetLastError(lastError);
}

BOOL SimControlIsSet(const wchar_t* name)
{
    DWORD lastError = GetLastError();
    DWORD value = 0;
    DWORD size = sizeof(value);
    BOOL set = RegGetValueW(HKEY_LOCAL_MACHINE, SIM_CONTROLS_KEY, name, RRF_RT_REG_DWORD, NULL, &value, &size) ==
                   ERROR_SUCCESS &&
               value != 0;

    SetLastError(lastError);
    return set;
}
