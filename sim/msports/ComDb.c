/*
 * The COM-port database of msports.dll, kept where Windows keeps it: a bitmap in the value
 * "ComDB" of HKLM\SYSTEM\CurrentControlSet\Control\COM Name Arbiter, bit n - 1 set when COM n
 * is claimed, 256 numbers unless the database was resized.
 *
 * Every change is a read-modify-write of that value under one named mutex, so that two
 * processes that claim at the same time both keep their claim. A handle is an entry in this
 * process's list of open databases; anything else passed as a handle is refused. Every call
 * is recorded in the simulation's call log with its COM number and result.
 */
#include <windows.h>

#include <ddk/msports.h>

#include "sim/SimShared.h"
#include "sim/calllog/CallLog.h"
#include "sim/msports/DeviceListFault.h"
#include "sim/msports/RemovalFault.h"

#define COMDB_MUTEX_NAME L"SarventoComNameArbiter"

/* A new size is a whole number of these. */
#define COMDB_RESIZE_STEP 1024u

typedef struct ComDb {
    struct ComDb* next;
    HANDLE mutex;
} ComDb;

static CRITICAL_SECTION g_openLock;
static ComDb* g_open;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&g_openLock);
        InstallDeviceListFault();
        InstallRemovalFault();
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&g_openLock);
    }
    return TRUE;
}

/* Records the call and passes its result on. */
static LONG Logged(SimCallFunction function, DWORD number, DWORD flags, LONG result)
{
    SimCallRecord record;

    ZeroMemory(&record, sizeof(record));
    record.function = function;
    record.number = number;
    record.flags = flags;
    record.result = result;
    SimLogCall(SIM_CALL_LOG_MSPORTS, &record, NULL);
    return result;
}

static BOOL IsOpen(HCOMDB handle)
{
    ComDb* db;
    BOOL found = FALSE;

    EnterCriticalSection(&g_openLock);
    for (db = g_open; db != NULL; db = db->next) {
        if ((HCOMDB)db == handle) {
            found = TRUE;
            break;
        }
    }
    LeaveCriticalSection(&g_openLock);
    return found;
}

typedef struct Bitmap {
    BYTE* bits;
    DWORD bytes;
} Bitmap;

/* The database as it is now: at least SIM_COMDB_MIN_BYTES bytes, more when it was resized.
   A missing value is an empty database. The caller frees bitmap->bits. */
static LONG ReadBitmap(HKEY key, Bitmap* bitmap)
{
    DWORD type = 0;
    DWORD size = 0;
    DWORD allocated;
    LONG result;

    result = RegQueryValueExW(key, SIM_COMDB_VALUE, NULL, &type, NULL, &size);
    if (result == ERROR_FILE_NOT_FOUND || (result == ERROR_SUCCESS && type != REG_BINARY)) {
        size = 0;
        result = ERROR_SUCCESS;
    } else if (result != ERROR_SUCCESS) {
        return result;
    }
    allocated = size < SIM_COMDB_MIN_BYTES ? SIM_COMDB_MIN_BYTES : size;
    bitmap->bits = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, allocated);
    if (bitmap->bits == NULL)
        return ERROR_NOT_ENOUGH_MEMORY;
    bitmap->bytes = allocated;
    if (size != 0)
        result = RegQueryValueExW(key, SIM_COMDB_VALUE, NULL, &type, bitmap->bits, &size);
    return result;
}

typedef LONG (*BitmapChange)(Bitmap* bitmap, void* context, BOOL* write);

/* Runs change on the current bitmap while holding the database's mutex, and stores the bitmap
   when change asks for it. */
static LONG WithBitmap(HCOMDB handle, BitmapChange change, void* context)
{
    ComDb* db = (ComDb*)handle;
    HKEY key;
    Bitmap bitmap = {NULL, 0};
    BOOL write = FALSE;
    DWORD wait;
    LONG result;

    if (!IsOpen(handle))
        return ERROR_INVALID_PARAMETER;
    wait = WaitForSingleObject(db->mutex, INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return ERROR_ACCESS_DENIED;
    result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, SIM_COMDB_KEY, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key,
                             NULL);
    if (result == ERROR_SUCCESS) {
        result = ReadBitmap(key, &bitmap);
        if (result == ERROR_SUCCESS)
            result = change(&bitmap, context, &write);
        if (result == ERROR_SUCCESS && write)
            result = RegSetValueExW(key, SIM_COMDB_VALUE, 0, REG_BINARY, bitmap.bits, bitmap.bytes);
        if (bitmap.bits != NULL)
            HeapFree(GetProcessHeap(), 0, bitmap.bits);
        RegCloseKey(key);
    }
    ReleaseMutex(db->mutex);
    return result;
}

static BOOL InRange(const Bitmap* bitmap, DWORD number)
{
    return number >= 1 && number <= bitmap->bytes * 8;
}

static BOOL IsClaimed(const Bitmap* bitmap, DWORD number)
{
    return (bitmap->bits[(number - 1) / 8] >> ((number - 1) % 8)) & 1;
}

static void SetClaimed(Bitmap* bitmap, DWORD number, BOOL claimed)
{
    BYTE mask = (BYTE)(1u << ((number - 1) % 8));

    if (claimed)
        bitmap->bits[(number - 1) / 8] |= mask;
    else
        bitmap->bits[(number - 1) / 8] &= (BYTE)~mask;
}

static LONG OpenDatabase(HCOMDB* handle)
{
    ComDb* db;
    HKEY key;
    LONG result;

    if (handle == NULL)
        return ERROR_INVALID_PARAMETER;
    *handle = HCOMDB_INVALID_HANDLE_VALUE;
    if (SimControlIsSet(SIM_CONTROL_COMDB_OPEN_FAILS))
        return ERROR_ACCESS_DENIED;
    result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, SIM_COMDB_KEY, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key,
                             NULL);
    if (result != ERROR_SUCCESS)
        return ERROR_ACCESS_DENIED;
    RegCloseKey(key);

    db = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(*db));
    if (db == NULL)
        return ERROR_NOT_ENOUGH_MEMORY;
    db->mutex = CreateMutexW(NULL, FALSE, COMDB_MUTEX_NAME);
    if (db->mutex == NULL) {
        HeapFree(GetProcessHeap(), 0, db);
        return ERROR_ACCESS_DENIED;
    }
    EnterCriticalSection(&g_openLock);
    db->next = g_open;
    g_open = db;
    LeaveCriticalSection(&g_openLock);
    *handle = (HCOMDB)db;
    return ERROR_SUCCESS;
}

LONG WINAPI ComDBOpen(HCOMDB* handle)
{
    return Logged(SIM_CALL_COMDB_OPEN, 0, 0, OpenDatabase(handle));
}

static LONG CloseDatabase(HCOMDB handle)
{
    ComDb** link;
    ComDb* db = NULL;

    EnterCriticalSection(&g_openLock);
    for (link = &g_open; *link != NULL; link = &(*link)->next) {
        if ((HCOMDB)*link == handle) {
            db = *link;
            *link = db->next;
            break;
        }
    }
    LeaveCriticalSection(&g_openLock);
    if (db == NULL)
        return ERROR_INVALID_PARAMETER;
    CloseHandle(db->mutex);
    HeapFree(GetProcessHeap(), 0, db);
    return ERROR_SUCCESS;
}

LONG WINAPI ComDBClose(HCOMDB handle)
{
    return Logged(SIM_CALL_COMDB_CLOSE, 0, 0, CloseDatabase(handle));
}

typedef struct ClaimRequest {
    DWORD number;
    BOOL force;
    BOOL forced;
} ClaimRequest;

static LONG Claim(Bitmap* bitmap, void* context, BOOL* write)
{
    ClaimRequest* request = context;

    if (!InRange(bitmap, request->number))
        return ERROR_INVALID_PARAMETER;
    if (IsClaimed(bitmap, request->number)) {
        if (!request->force)
            return ERROR_SHARING_VIOLATION;
        request->forced = TRUE;
        return ERROR_SUCCESS;
    }
    SetClaimed(bitmap, request->number, TRUE);
    *write = TRUE;
    return ERROR_SUCCESS;
}

/* A number that is claimed already is refused unless force is set; a forced claim of such a
   number succeeds and sets *forced. */
LONG WINAPI ComDBClaimPort(HCOMDB handle, DWORD number, BOOL force, BOOL* forced)
{
    ClaimRequest request = {number, force, FALSE};
    LONG result;

    if (forced != NULL)
        *forced = FALSE;
    result = WithBitmap(handle, Claim, &request);
    if (result == ERROR_SUCCESS && forced != NULL)
        *forced = request.forced;
    return Logged(SIM_CALL_COMDB_CLAIM_PORT, number, force ? 1 : 0, result);
}

static LONG Release(Bitmap* bitmap, void* context, BOOL* write)
{
    DWORD number = *(DWORD*)context;

    if (!InRange(bitmap, number))
        return ERROR_INVALID_PARAMETER;
    SetClaimed(bitmap, number, FALSE);
    *write = TRUE;
    return ERROR_SUCCESS;
}

LONG WINAPI ComDBReleasePort(HCOMDB handle, DWORD number)
{
    return Logged(SIM_CALL_COMDB_RELEASE_PORT, number, 0, WithBitmap(handle, Release, &number));
}

typedef struct UsageReport {
    BYTE* buffer;
    DWORD size;
    DWORD type;
    DWORD reported;
} UsageReport;

static LONG Report(Bitmap* bitmap, void* context, BOOL* write)
{
    UsageReport* report = context;
    DWORD ports = bitmap->bytes * 8;
    DWORD i;

    (void)write;
    if (report->buffer == NULL) {
        report->reported = ports;
    } else if (report->type == CDB_REPORT_BYTES) {
        report->reported = report->size < ports ? report->size : ports;
        for (i = 0; i < report->reported; ++i)
            report->buffer[i] = IsClaimed(bitmap, i + 1) ? 1 : 0;
    } else {
        DWORD copied = report->size < bitmap->bytes ? report->size : bitmap->bytes;
        CopyMemory(report->buffer, bitmap->bits, copied);
        report->reported = copied * 8;
    }
    return ERROR_SUCCESS;
}

static LONG ReportUsage(HCOMDB handle, BYTE* buffer, DWORD size, DWORD type, DWORD* reported)
{
    UsageReport report = {buffer, size, type, 0};
    LONG result;

    if (buffer == NULL && reported == NULL)
        return ERROR_INVALID_PARAMETER;
    if (buffer != NULL && type != CDB_REPORT_BITS && type != CDB_REPORT_BYTES)
        return ERROR_INVALID_PARAMETER;
    if (!IsOpen(handle))
        return ERROR_INVALID_PARAMETER;
    if (SimControlIsSet(SIM_CONTROL_COMDB_REPORT_FAILS))
        return ERROR_ACCESS_DENIED;
    result = WithBitmap(handle, Report, &report);
    if (result == ERROR_SUCCESS && reported != NULL)
        *reported = report.reported;
    return result;
}

/* A NULL buffer asks for the size of the database, in numbers. Otherwise the buffer gets one
   byte (0 or 1) per number, or one bit per number, as far as both the buffer and the database
   reach; *reported tells how many numbers that was. */
LONG WINAPI ComDBGetCurrentPortUsage(HCOMDB handle, BYTE* buffer, DWORD size, DWORD type, DWORD* reported)
{
    return Logged(SIM_CALL_COMDB_GET_CURRENT_PORT_USAGE, 0, type, ReportUsage(handle, buffer, size, type, reported));
}

static LONG ClaimNextFree(Bitmap* bitmap, void* context, BOOL* write)
{
    DWORD* number = context;
    DWORD n;

    for (n = 1; InRange(bitmap, n); ++n) {
        if (!IsClaimed(bitmap, n)) {
            SetClaimed(bitmap, n, TRUE);
            *write = TRUE;
            *number = n;
            return ERROR_SUCCESS;
        }
    }
    return ERROR_NO_LOG_SPACE;
}

/* Claims the lowest free number. */
LONG WINAPI ComDBClaimNextFreePort(HCOMDB handle, DWORD* number)
{
    DWORD claimed = 0;
    LONG result;

    if (number == NULL)
        return Logged(SIM_CALL_COMDB_CLAIM_NEXT_FREE_PORT, 0, 0, ERROR_INVALID_PARAMETER);
    result = WithBitmap(handle, ClaimNextFree, &claimed);
    if (result == ERROR_SUCCESS)
        *number = claimed;
    return Logged(SIM_CALL_COMDB_CLAIM_NEXT_FREE_PORT, claimed, 0, result);
}

static LONG Resize(Bitmap* bitmap, void* context, BOOL* write)
{
    DWORD newSize = *(DWORD*)context;
    DWORD newBytes = (newSize + 7) / 8;
    BYTE* grown;

    if (newSize % COMDB_RESIZE_STEP != 0)
        return ERROR_INVALID_PARAMETER;
    if (newSize <= bitmap->bytes * 8 || newSize > COMDB_MAX_PORTS_ARBITRATED)
        return ERROR_BAD_LENGTH;
    grown = HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bitmap->bits, newBytes);
    if (grown == NULL)
        return ERROR_NOT_ENOUGH_MEMORY;
    bitmap->bits = grown;
    bitmap->bytes = newBytes;
    *write = TRUE;
    return ERROR_SUCCESS;
}

/* The database only grows, in steps of COMDB_RESIZE_STEP numbers up to
   COMDB_MAX_PORTS_ARBITRATED; the new numbers are free. */
LONG WINAPI ComDBResizeDatabase(HCOMDB handle, DWORD newSize)
{
    return Logged(SIM_CALL_COMDB_RESIZE_DATABASE, newSize, 0, WithBitmap(handle, Resize, &newSize));
}
