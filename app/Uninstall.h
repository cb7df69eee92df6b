// Taking the product off the machine: the uninstaller sends the main dialog command 32776, and
// UninstallProduct runs the steps below in their order. Each step runs whatever the one before
// it returned; only KillRunningInstances can stop the rest. Nothing here shows progress.
//
// What goes, and nothing else: other running copies of the program, every device whose
// service is svtser3 or svtmf3 and every device with the hardware id SVTMF3\*PNP0501 (present
// or not), the COM numbers of the configured ports, the per-port subkeys that hold a ComPort
// value, the system's copies of svtmf3.inf and svtser3.inf (recognised by their original INF
// name), and the product's files and shortcuts under their fixed names.
#pragma once

#include <windows.h>

// The executable name of the program, as running copies are recognised.
extern const wchar_t kProgramExeName[];

// Whether the two texts are equal once both are upper-cased, as the uninstallation compares
// executable, service and hardware-id names.
bool SameTextIgnoringCase(LPCWSTR text, LPCWSTR other);

// Runs the uninstallation: KillRunningInstances; when it returns 0 nothing else; otherwise
// RemoveSerialDevicesAndPorts, RemovePnp0501Devices, UninstallAllPorts, DeleteInstalledFiles.
void UninstallProduct();

// Ends the first other running copy of the program (exit code 0). 1: go on (no other copy, or
// it was asked to end); 0: stop, because the processes cannot be listed or the copy cannot be
// opened.
int KillRunningInstances();

// The platform id of the running Windows (VER_PLATFORM_WIN32_NT, 2, for the NT family); -1
// when the version cannot be read.
int GetPlatformId();

// Removes every device of the two services, releases the COM number of every port subkey whose
// device is gone (its key number, 1 to 255; the subkeys stay) and deletes the system's INF
// copies. Outside the NT family it only says "This program must be executed on WINDOWS 2000/XP"
// and returns 1. Otherwise 0 when every step went through, else the error that ended it early
// (no number is released when the device list cannot be made).
DWORD RemoveSerialDevicesAndPorts();

// Deletes the system INF folder's copies of svtmf3.inf and svtser3.inf (.inf and .pnf of
// each), read-only ones included. Failures are not reported.
void DeleteOemInfFiles();

// Removes every device, present or not, whose hardware ids include SVTMF3\*PNP0501 in any
// case. 1 when the device list could be read, else 0.
int RemovePnp0501Devices();

// Deletes every per-port subkey (key numbers 0 to 255) that has a ComPort value and releases
// its key number as the COM number; a subkey that is a registry link is deleted as the link, and
// nothing it points to is read, released or deleted. A port whose device is still on the
// machine keeps its subkey and its number, and a box names such ports. 0, after "Failed to open
// COM DB. Unable to uninstall", when the COM-port database does not open, or after saying so when
// the device list cannot be made; then no subkey is deleted. Else 1.
int UninstallAllPorts();

// Deletes the product's files from the install folder and the 32-bit system folder and its
// shortcuts, and the install and start-menu folders when that leaves them empty. Always 1.
int DeleteInstalledFiles();
