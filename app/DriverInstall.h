// Installing the product's drivers from the program's current folder: the installer starts the
// program there and sends the main dialog command 32775. The port driver's INF is copied into
// the system, and the root-enumerated bus device is created and its driver installed.
#pragma once

#include <windows.h>

// Installs both drivers from the INF files "svtmf3.inf" and "svtser3.inf" in the current
// folder. TRUE when the bus device was created and its driver installed. Shows no message.
BOOL InstallDrivers();

// Creates the root bus device (hardware id "root\svtmf3") in the INF's class and installs its
// driver from infPath. TRUE when no step failed; on FALSE the last error says why, and a device
// registered before the driver installation failed is removed again. rebootRequired is set when
// the system asks for a restart.
BOOL InstallRootBusDevice(LPCWSTR infPath, BOOL* rebootRequired);
