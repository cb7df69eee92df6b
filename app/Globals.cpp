// Definitions of the shared globals, in the order they are built at start; they are destroyed
// in the reverse order at exit. The port table and its lock come before every window object
// whose destructor still uses them.
#include "app/Globals.h"

#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/TraceDlg.h"

int g_osVersion = 0;
int g_deviceCount = 0;
ComUsage g_comUsageMap[kComNumberCount] = {};
BYTE g_presentPortMap[kComNumberCount] = {};

CCriticalSection g_portTableLock;
CArray<CSVT_ComInfo, CSVT_ComInfo&> g_portTable;

PortOperation g_portOperation = 0;
AddPortRequest g_addPortRequest;
DeletePortRequest g_deletePortRequest;

HWND g_hMainWnd = nullptr;
std::atomic<int> g_currentTab{0};

std::atomic<BYTE> g_lineStateTable[LINE_STATE_TABLE_SIZE] = {};
std::atomic<BYTE> g_prevLineStateTable[LINE_STATE_TABLE_SIZE] = {};
TraceSelectionState g_traceSelection;

CSVT_PortInfoDlg g_portInfoDlg;
CSVT_MonitorDlg g_monitorDlg;
CStatusBar g_statusBar;
CTraceDlg g_traceDlg;
