// The simulated machine seen from user mode: what simctl and the test fixture do to it.
//
// Ports are made the way the program makes them: a subkey under the bus driver's Parameters
// key, then the real plug-in request through the bus interface; the drivers then present the
// children. Controls, line states and the request log live in the simulation's own registry
// key (sim/SimShared.h), which the drivers read on every request and poll.
//
// Every function that can fail returns a Win32 error code, ERROR_SUCCESS when done.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sim/SimShared.h"

namespace simmachine {

constexpr unsigned kMaxPortNumber = 255;  // the bus driver presents COM1 to COM255

// ---- controls -------------------------------------------------------------------------------

// Writes one control (a SIM_CONTROL_* name) and makes it take effect at once.
DWORD SetControl(const wchar_t* name, DWORD value);
DWORD ClearControl(const wchar_t* name);
// Every control back to its default.
DWORD ClearControls();
// The controls that are set, by name.
DWORD ReadControls(std::vector<std::pair<std::wstring, DWORD>>& controls);
// Tells the bus driver to apply the controls now and to look for removed children.
DWORD ApplyControls();

// ---- the whole machine ----------------------------------------------------------------------

// What a reset leaves in SERIALCOMM: Wine's own serial ports, listed as Wine lists them when it
// starts (a value named after each COM DOS device's device, e.g. "\Device\Serial0" = "COM1"),
// or nothing at all, for tests that count every entry.
enum class WineSerialPorts { Keep, Remove };

// Back to an installed machine without ports: controls cleared, every child of the bus driver
// withdrawn, an empty Parameters key, no SERIALCOMM values but Wine's own (or none), an empty
// COM-port database, no line states and empty request and call logs.
DWORD ResetMachine(WineSerialPorts wineSerialPorts = WineSerialPorts::Keep);

// ---- ports ----------------------------------------------------------------------------------

// Writes Parameters\%04d with the eight values an add writes (defaults, ComPort = comNumber).
DWORD WritePortSubkey(unsigned comNumber);

// The program's plug-in request: first present interface of the bus class, opened shared for
// reading and writing, IOCTL_BUS_PLUGIN_PORT with {8, 1}. ERROR_NO_MORE_ITEMS when no bus
// interface is present.
DWORD SendPlugInRequest();

// A port is present when its device key exists and its COM name is published in SERIALCOMM
// (the bus driver publishes the COM name last).
bool IsPortPresent(unsigned comNumber);

// Waits until every port is present; ERROR_TIMEOUT when one is not within timeoutMs.
DWORD WaitForPorts(const std::vector<unsigned>& comNumbers, DWORD timeoutMs);

struct PortStatus {
    unsigned comNumber = 0;
    bool configured = false;      // Parameters\%04d exists
    bool device = false;          // Enum\SVTMF3\*PNP0501\%08X exists
    std::wstring serialCommName;  // SERIALCOMM value that names this COM number, if any
    bool claimed = false;         // bit set in the COM-port database
    DWORD lineState = 0;          // line bits, traffic bits above SIM_TRAFFIC_SHIFT
};

// Every COM number that any of the sources above mentions, ascending.
DWORD ListPorts(std::vector<PortStatus>& ports);

// ---- line states ----------------------------------------------------------------------------

// Sets the port's line bits (LINESTATE_*), keeping its traffic bits.
DWORD SetLineBits(unsigned comNumber, BYTE bits);
// Sets which of LINESTATE_RX and LINESTATE_TX blink, keeping the line bits.
DWORD SetTraffic(unsigned comNumber, BYTE trafficBits);
// The stored value: line bits in the low byte, traffic bits above SIM_TRAFFIC_SHIFT; 0 when
// the port has none.
DWORD ReadLineState(unsigned comNumber, DWORD& value);

// ---- request log ----------------------------------------------------------------------------

struct LoggedRequest {
    std::wstring driver;  // service name of the driver that received it
    SimLogRecord record;
};

// Both drivers' logs, oldest first.
DWORD ReadRequestLog(std::vector<LoggedRequest>& log);
// Empties the drivers' request logs and the system DLLs' call logs.
DWORD ClearRequestLog();

// ---- call log of the system DLLs ------------------------------------------------------------

struct LoggedCall {
    std::wstring dll;  // SIM_CALL_LOG_MSPORTS or SIM_CALL_LOG_NEWDEV
    SimCallRecord record;
    std::vector<std::wstring> texts;  // a driver update's hardware id and INF path
};

// Both DLLs' calls, oldest first (by sequence within a DLL, by time between the two).
DWORD ReadCallLog(std::vector<LoggedCall>& log);

// ---- what the machine publishes -------------------------------------------------------------

// The values of HARDWARE\DEVICEMAP\SERIALCOMM: (value name, COM name).
DWORD ReadSerialComm(std::vector<std::pair<std::wstring, std::wstring>>& values);
// The COM-port database's bitmap as stored (empty when there is none).
DWORD ReadComDb(std::vector<BYTE>& bitmap);

// Text of a Win32 error code, for messages.
std::wstring ErrorText(DWORD error);

}  // namespace simmachine
