// The program's shared state. Every global that more than one part of the program uses is
// declared here and defined in app/Globals.cpp, in one translation unit and in a fixed order,
// so that construction and destruction at start and exit happen in a known sequence.
#pragma once

#include "app/AddPortRequest.h"
#include "app/ComUsage.h"
#include "app/PortOperation.h"
#include "app/PortTable.h"
#include "app/StatusDevice.h"
#include "framework/collections.h"
#include "framework/thread.h"

#include <windows.h>

#include <atomic>

class CSVT_PortInfoDlg;
class CSVT_MonitorDlg;
class CStatusBar;
class CTraceDlg;

// Sent to the main dialog with wParam 1 and lParam the COM number of a port that is open, when
// the port list skips that port while writing its settings back.
#define WM_PORT_IN_USE (WM_USER + 1)

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

// What the progress dialog does, and the requests it works from: set by the port list page on the
// user-interface thread before it runs the dialog, only read while the dialog runs.
extern PortOperation g_portOperation;
extern AddPortRequest g_addPortRequest;
extern DeletePortRequest g_deletePortRequest;

// The main dialog's window, set when it initialises; the target of WM_PORT_IN_USE.
extern HWND g_hMainWnd;
// The shown tab of the main dialog: 0 "Port Info", 1 "Status". Read by the monitor's thread.
extern std::atomic<int> g_currentTab;

// The line state of every COM number as the status device last reported it (byte n - 1 for
// COM n, LINESTATE_* bits). Both the user-interface thread and the monitor's polling thread
// read the device into it; each byte is read and written whole.
extern std::atomic<BYTE> g_lineStateTable[LINE_STATE_TABLE_SIZE];

// The line states as the monitor page last drew them (RX and TX as drawn). The user-interface
// thread writes it; the polling thread reads it to learn whether a pass has anything to draw.
// Zeroing it makes the monitor draw every set bit again.
extern std::atomic<BYTE> g_prevLineStateTable[LINE_STATE_TABLE_SIZE];

// The trace selection that the monitor's polling thread passes to the status device.
extern TraceSelectionState g_traceSelection;

// The two tab pages and the status bar: objects for the whole run, their windows created by the
// main dialog as its children.
extern CSVT_PortInfoDlg g_portInfoDlg;
extern CSVT_MonitorDlg g_monitorDlg;
extern CStatusBar g_statusBar;
// The trace page: an object for the whole run whose window nothing creates.
extern CTraceDlg g_traceDlg;
