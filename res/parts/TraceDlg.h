// Resource ids of the trace page: its template, controls and the icons of its buttons.
#pragma once

#define IDD_TRACE 153

// ---- icons (normal and hover of each button look) ----
#define IDI_TRACE_CONFIG 183
#define IDI_TRACE_START 185
#define IDI_TRACE_STOP 187
#define IDI_TRACE_CONFIG_HOVER 192
#define IDI_TRACE_START_HOVER 194
#define IDI_TRACE_STOP_HOVER 196
#define IDI_TRACE_CLEAR 197
#define IDI_TRACE_CLEAR_HOVER 198
#define IDI_TRACE_TO_HEX 199
#define IDI_TRACE_TO_CHAR 200
#define IDI_TRACE_TO_CHAR_HOVER 201
#define IDI_TRACE_TO_HEX_HOVER 202

// ---- controls ----
#define IDC_TRACE_PORTLIST 1001
#define IDC_TRACE_LOG1 1029  // digits only
#define IDC_TRACE_LOG2 1030
#define IDC_TRACE_STARTSTOP 1032
#define IDC_TRACE_CLEAR 1033
#define IDC_TRACE_CONFIG 1034
#define IDC_TRACE_HEXCHAR 1035
#define IDC_TRACE_COUNT1 1036
#define IDC_TRACE_COUNT2 1037
#define IDC_TRACE_RX_LABEL 1038
#define IDC_TRACE_TX_LABEL 1039
