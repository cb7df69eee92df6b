// Which COM numbers are taken, from three sources (the present serial ports listed in
// SERIALCOMM, the COM-port database, this system's present port devices), which of this
// system's port devices are present, and how many; and the parsing of COM numbers from names.
//
// The maps are the globals g_comUsageMap and g_presentPortMap (app/Globals.h). Everything here
// runs on the user-interface thread.
#pragma once

#include "framework/cstring.h"

#include <windows.h>

// What a COM number is used for; one byte per number in g_comUsageMap (entry i is COM i + 1).
enum ComUsage : BYTE {
    COMUSE_FREE = 0,      // neither present nor claimed
    COMUSE_PRESENT = 1,   // a present serial port, or a present port device of this system
    COMUSE_RESERVED = 2,  // claimed in the COM-port database, present nowhere
};

constexpr int kComNumberCount = 256;  // COM1 to COM256

// The number after the first three characters of a name such as "COM12" (the three are not
// compared with "COM"), read as the C library's _wtoi reads it; 0 when there is none.
int ParseComNumber(LPCWSTR text);

// The number in a friendly name such as "Sarvento VCP (COM12)": the text from four characters
// after the first "(" (or from the fourth character when there is none) up to the first ")",
// read as _wtoi reads it; 0 when there is no ")" or it comes before that start.
int ParseComFromFriendlyName(LPCWSTR text);

// What a rebuilt g_comUsageMap lacks. A map without the database's claims shows others'
// reservations as free: a caller who writes it back would release them.
enum class ComUsageGap {
    None,        // every source was read
    DeviceList,  // no device list: only the SERIALCOMM marks
    ComDbOpen,   // the database did not open ("ComDBOpen Fail!" was shown): SERIALCOMM only
    ComDbUsage,  // the database's usage report failed: no claims
};

// What the map lacks, in the words a dialog shows before it refuses to act on the map, followed by
// what it will not do ("Failed to read the COM DB usage. Unable to add ports"); for a database
// that did not open, "ComDBOpen Fail!" alone.
CString DescribeComUsageGap(ComUsageGap gap, LPCWSTR refusal);

// Rebuilds g_comUsageMap. Shows "ComDBOpen Fail!" when the COM-port database does not open;
// the map then holds only the SERIALCOMM marks. Returns what the map lacks.
ComUsageGap BuildComUsageMap();

// Rebuilds g_presentPortMap: entry n - 1 holds n for every present port device COM1 to COM255,
// by its friendly name, or by its instance id (key number n) when the name cannot be read.
// False when the map may lack ports: the list cannot be made, a port device is known by neither
// (the map then holds the ports found before it), or the list could not be walked to its end.
bool MapPortDevices();

// What CountPresentPortDevices gives when it cannot count.
constexpr int kUnknownPortCount = -1;

// The number of present port devices that pass the description and the friendly-name tests;
// kUnknownPortCount when the list cannot be made or walked to its end, or a port device's friendly
// name cannot be read.
int CountPresentPortDevices();
