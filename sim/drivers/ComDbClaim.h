/*
 * The claim that Windows' Ports class installer makes in the COM-port database when it installs
 * a port device, made by the bus driver when one of its children appears.
 */
#ifndef SARVENTO_COMDB_CLAIM_H
#define SARVENTO_COMDB_CLAIM_H

#include <ntddk.h>

/* Marks COM comNumber as claimed in the database's bitmap where msports.dll keeps it, creating
   the database when there is none; a number that is claimed already stays claimed. */
NTSTATUS ClaimComNumber(ULONG comNumber);

#endif /* SARVENTO_COMDB_CLAIM_H */
