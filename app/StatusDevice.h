// The port driver's status device: the line states of every COM number and the trace
// selection. Each request opens the device, sends one control request and closes it again, so
// the two threads that use it never share a handle. Nothing here shows a message.
#pragma once

#include <windows.h>

#include <atomic>

#include "contract/DriverInterface.h"

// The trace selection as the program keeps it: written by the trace page, sent by the monitor's
// polling thread. Each byte is read and written whole by either thread.
struct TraceSelectionState {
    std::atomic<BYTE> enabled{0};    // 0 or 1
    std::atomic<BYTE> comNumber{0};  // the COM number to trace
};

// Reads the 256 line states (byte n - 1 for COM n) into table; false, with table unchanged,
// when the device does not open or refuses the request.
bool ReadLineStates(BYTE (&table)[LINE_STATE_TABLE_SIZE]);

// Reads the line states into g_lineStateTable; false, with the table keeping its last contents,
// when the read fails: the states are then unknown, not "closed".
bool ReadLineStateTable();

// Whether g_lineStateTable says COM com is open (CON set); false for a number outside 1 to 256.
bool IsPortOpen(int com);

enum class TraceRequestResult {
    NotOpened,  // the device is not there (or not for us): nothing was sent
    Accepted,
    Refused,
};

// Sends the two bytes of a trace selection.
TraceRequestResult SendTraceRequest(BYTE enabled, BYTE comNumber);

// Sends g_traceSelection. When the device accepts it, lastSentTraceFlag becomes its enabled
// byte; when it refuses, the trace is switched off (enabled and lastSentTraceFlag 0); when the
// device does not open nothing changes, so the next try comes on the next device tick.
void SendTraceSelection(std::atomic<BYTE>& lastSentTraceFlag);
