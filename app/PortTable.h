// The port table: the in-memory picture of the configured ports, one record per port whose
// device is present, in ascending key order. It lives in g_portTable (app/Globals.h) and is
// guarded by g_portTableLock: its operations below take the lock themselves.
#pragma once

#include "framework/cstring.h"

#include <windows.h>

// One port: its settings as the registry holds them.
struct CSVT_ComInfo {
    UINT keyNumber = 0;  // number of the port's subkey, 1 to 255
    UINT ComPort = 0;    // the ComPort value: COM number of the port's device
    UINT IPaddress = 0;  // IPv4 address, first octet in the most significant byte
    UINT TxTriggerLevel = 0;
    UINT Port = 0;      // network port number
    UINT Protocol = 0;  // 0 "COM", 1 "Encryption", 2 "Raw"
    CString Alias;
    // The stored alias could not be read (it is too long): Alias is empty, and the stored one
    // stays until the user types another.
    bool AliasNotRead = false;

    // The COM number the pages show: the stored ComPort, or, when that is no number a port can
    // have (1 to 255), the port's own number, its key number. The stored value stays as it is.
    UINT ShownComNumber() const { return ComPort >= 1 && ComPort <= 255 ? ComPort : keyNumber; }
};

// Rebuilds the table from the present port devices and their registry subkeys, writing every
// missing value with its default into the subkey and the device's key. False when the port
// devices could not all be read (no device list, or a port device known neither by its name nor
// by its instance): the table then holds the ports that were found, and nothing is written for
// the others. It holds g_portTableLock throughout and shows nothing: its caller says so with
// ReportPortDevicesNotRead once the pages show the table.
bool LoadPortTable();

// The box that tells the user the last load could not read the port devices: "The port devices
// could not be read.\nThe port list may not show every port". Never with g_portTableLock held.
void ReportPortDevicesNotRead();

// Destroys every record and releases the table's storage.
void ClearPortTable();

// Removes the record at index; the records behind it move down. An index outside the table
// raises CInvalidArgException.
void RemovePortTableEntry(INT_PTR index);

// Locked looks at the table for the delete worker, which runs beside the user-interface thread
// and the monitor: each copies what it reads while it holds the lock.
INT_PTR PortTableSize();
// The index of the record of key number keyNumber and a copy of it; -1 when there is none.
INT_PTR FindPortTableEntry(UINT keyNumber, CSVT_ComInfo* record);
// A copy of the record at index; false when the index is outside the table.
bool GetPortTableEntry(INT_PTR index, CSVT_ComInfo* record);
// Lowers g_deviceCount by one and returns the new count.
int DecrementDeviceCount();
// Whether the last load read every port device, so that the table's size, and g_deviceCount
// filled from it, count the machine's ports; true before the first load.
bool PortTableIsWhole();
