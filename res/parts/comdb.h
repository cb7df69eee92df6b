// Resource ids of the COM-number database dialog (res/parts/comdb.rc).
#pragma once

#define IDD_COMDB 145

#define IDC_COMDB_CLEARALL 1026
#define IDC_COMDB_APPLY 1027
#define IDC_COMDB_CANCEL 1028
// The tile of COM n is control IDC_COMDB_COM1 + n - 1, up to COM256 (1284).
#define IDC_COMDB_COM1 1029
#define IDC_COMDB_COM256 1284
// The legend tiles, one per look.
#define IDC_COMDB_LEGEND_PRESENT 1285
#define IDC_COMDB_LEGEND_CLAIMED 1286
#define IDC_COMDB_LEGEND_FREE 1287
