/*
 * Registration of a device interface in the registry, as the Plug and Play manager keeps it:
 *   Control\DeviceClasses\{class}\##?#<instance with '#' for '\'>#{class}
 *       DeviceInstance = <instance>
 *       #\SymbolicLink = \\?\<instance with '#'>#{class}
 *       #\Control (volatile) Linked = 1 while the interface is enabled
 * Set-up functions list an interface as present only while Linked is 1; the volatile Control
 * key is gone after a restart, so a driver links its interfaces again whenever it starts.
 */
#ifndef SARVENTO_INTERFACE_KEYS_H
#define SARVENTO_INTERFACE_KEYS_H

#include <ntddk.h>

/* "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in lower case; buf holds at least 39 characters. */
void FormatGuid(const GUID* guid, WCHAR* buf, size_t cch);

/* The interface's name without the "\\?\" prefix: "ROOT#SVTMF3#0000#{...}". */
BOOLEAN FormatInterfaceName(const GUID* classGuid, const WCHAR* instanceId, WCHAR* buf, size_t cch);

/* Writes the registration; the interface is linked (enabled) or not as asked. */
NTSTATUS RegisterInterface(const GUID* classGuid, const WCHAR* instanceId, BOOLEAN linked);

/* Sets or withdraws Linked of an existing registration. */
NTSTATUS SetInterfaceLinked(const GUID* classGuid, const WCHAR* instanceId, BOOLEAN linked);

/* Deletes the whole registration. */
NTSTATUS UnregisterInterface(const GUID* classGuid, const WCHAR* instanceId);

#endif /* SARVENTO_INTERFACE_KEYS_H */
