#include "ComDbClaim.h"

#include "KernelRegistry.h"
#include "sim/SimShared.h"

#define COMDB_PATH SIM_KERNEL_MACHINE SIM_COMDB_KEY

/* msports.dll changes the bitmap under a named mutex of the user sessions, which a driver
   cannot take here, so this read and write are not under it: a change made through ComDB* in
   the very same instant would be lost. A claim is made only when a child appears, a little
   after a plug-in request, and nothing in this system changes the database then. */
NTSTATUS ClaimComNumber(ULONG comNumber)
{
    UCHAR bits[SIM_COMDB_MAX_BYTES];
    ULONG size = 0;
    HANDLE key;
    NTSTATUS status;

    status = KrCreateKeyPath(COMDB_PATH, FALSE, &key);
    if (!NT_SUCCESS(status))
        return status;
    RtlZeroMemory(bits, sizeof(bits));
    status = KrQueryBinary(key, SIM_COMDB_VALUE, bits, sizeof(bits), &size);
    if (status == STATUS_OBJECT_NAME_NOT_FOUND || status == STATUS_OBJECT_TYPE_MISMATCH) {
        /* No database yet, or not one that msports.dll reads: an empty one, as msports makes. */
        RtlZeroMemory(bits, sizeof(bits));
        size = 0;
        status = STATUS_SUCCESS;
    }
    if (NT_SUCCESS(status)) {
        if (size < SIM_COMDB_MIN_BYTES)
            size = SIM_COMDB_MIN_BYTES;
        if (comNumber < 1 || comNumber > size * 8)
            status = STATUS_INVALID_PARAMETER;
    }
    if (NT_SUCCESS(status)) {
        bits[(comNumber - 1) / 8] |= (UCHAR)(1u << ((comNumber - 1) % 8));
        status = KrSetBinary(key, SIM_COMDB_VALUE, bits, size);
    }
    ZwClose(key);
    return status;
}
