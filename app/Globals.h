// The program's shared state. Every global that more than one part of the program uses is
// declared here and defined in app/Globals.cpp, in one translation unit and in a fixed order,
// so that construction and destruction at start and exit happen in a known sequence.
#pragma once

#include "app/ComUsage.h"
#include "app/PortTable.h"
#include "framework/collections.h"
#include "framework/thread.h"

#include <windows.h>

// Major version * 10 + minor version of Windows; below 53 selects the old-Windows paths.
extern int g_osVersion;

// The in-memory copy of the registry's DeviceCount: the number of rows the pages show. Off the
// user-interface thread it is read and changed only under g_portTableLock.
extern int g_deviceCount;

// Entry i describes COM i + 1 (see ComUsage).
extern ComUsage g_comUsageMap[kComNumberCount];

// Entry i holds i + 1 when the port device of COM i + 1 is present, else 0.
extern BYTE g_presentPortMap[kComNumberCount];

// Guards g_portTable and g_deviceCount between the user-interface thread, the delete thread and
// the monitor thread. The table's own operations take it; any other thread that reads the table
// takes it around its reads, copies what it needs and lets it go before it sends a message or
// shows a box: the user-interface thread may be waiting for it in LoadPortTable.
extern CCriticalSection g_portTableLock;

// One record per present port device, in ascending key order (app/PortTable.h).
extern CArray<CSVT_ComInfo, CSVT_ComInfo&> g_portTable;
