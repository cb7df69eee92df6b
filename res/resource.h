// Resource ids of the program's shell: the main dialog, the About box, the two tab pages, the
// menu bar, the icons and the strings they use. Dialogs and pages of their own put their ids in
// a header beside their script in res/parts/.
#pragma once

// ---- dialog templates ----
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_PORTINFO 131
#define IDD_MONITOR 132

// ---- menu, icons, bitmaps ----
#define IDR_MAINFRAME 128  // the program's icon
#define IDR_MAINMENU 138
#define IDB_ABOUT 143
#define IDI_TOOL_ADD 180
#define IDI_TOOL_APPLY 181
#define IDI_TOOL_REVERT 182
#define IDI_TOOL_DELETE 184
#define IDI_TOOL_ADD_HOVER 189
#define IDI_TOOL_APPLY_HOVER 190
#define IDI_TOOL_REVERT_HOVER 191
#define IDI_TOOL_DELETE_HOVER 193

// ---- strings ----
#define IDS_ABOUTBOX 101
#define IDS_INDICATOR_0 102  // the status bar's two panes start with these texts
#define IDS_INDICATOR_1 103

// ---- controls ----
#define IDC_TAB 1000
#define IDC_MONITORLIST 1001
#define IDC_PORTLIST 1019
#define IDC_BTN_ADD 1022
#define IDC_BTN_DELETE 1023
#define IDC_BTN_APPLY 1024
#define IDC_BTN_REVERT 1025

// ---- commands ----
#define IDM_ABOUTBOX 0x0010  // the system menu's About item: low four bits clear, below 0xF000
#define ID_APP_ABOUT 32771
#define ID_FILE_EXIT 32772
#define ID_INSTALL 32775    // sent by the installer, in no menu
#define ID_UNINSTALL 32776  // sent by the uninstaller, in no menu
#define ID_PORT_DELETE 32779
#define ID_PORT_ADD 32783
#define ID_PORT_DELETEALL 32784
#define ID_COMDB 32787
#define ID_HELP_WEB 32788
