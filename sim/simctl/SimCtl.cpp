// simctl: a command-line tool over the simulated machine, for people and tests.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "contract/DriverInterface.h"
#include "sim/control/Machine.h"

namespace {

constexpr DWORD kDefaultLateMs = 3000;
constexpr DWORD kPlugInWaitMs = 30000;

const wchar_t kUsage[] =
    L"usage: simctl COMMAND [ARGUMENTS]\n"
    L"\n"
    L"  list                        ports: configured, device, SERIALCOMM, claimed, line state\n"
    L"  plugin COMn [COMn ...]      write the ports' settings and send one plug-in request\n"
    L"  open COMn | close COMn      set or clear the port's CON bit (port open)\n"
    L"  lines COMn [BIT ...]        set the line bits ERR RX TX CTS DSR RI DCD; CON is kept\n"
    L"  traffic COMn rx|tx|both|none\n"
    L"                              let RX and/or TX blink, as while data moves\n"
    L"  log                         requests the drivers received and calls of msports.dll and\n"
    L"                              newdev.dll, oldest first\n"
    L"  fault NAME [VALUE]          inject a fault (see below)\n"
    L"  fault clear [NAME]          clear one fault, or all\n"
    L"  faults                      show the faults that are set\n"
    L"  reset                       back to a machine without ports, faults, claims or log\n"
    L"  --help                      this text\n"
    L"\n"
    L"faults:\n"
    L"  refuse-plugin               the bus driver refuses the plug-in request\n"
    L"  children-late [MS]          each new port appears MS ms after the one before (3000)\n"
    L"  children-never              the request succeeds but no port appears\n"
    L"  friendly-name FORM          new ports get the friendly name FORM: standard,\n"
    L"                              no-blank \"Sarvento VCP(COMn)\", trailing \"... (COMn) spare\",\n"
    L"                              none\n"
    L"  hide-bus                    the bus interface is not listed as present\n"
    L"  hide-status                 the status device does not open\n"
    L"  fail-line-read              the line-state read fails\n"
    L"  fail-trace                  the trace request fails\n"
    L"  comdb-open-fails            ComDBOpen fails\n"
    L"  comdb-report-fails          ComDBOpen succeeds, the COM-port usage report fails\n"
    L"  device-list-fails           no device list can be made (SetupDiGetClassDevsW fails in\n"
    L"                              programs that use the COM-port database)\n"
    L"  removal-fails               device removals fail (in programs that use the COM-port\n"
    L"                              database)\n";

struct Fault {
    const wchar_t* name;
    const wchar_t* control;
};

const Fault kFaults[] = {
    {L"refuse-plugin", SIM_CONTROL_REFUSE_PLUGIN},         {L"children-late", SIM_CONTROL_CHILD_DELAY_MS},
    {L"children-never", SIM_CONTROL_CHILDREN_NEVER},       {L"friendly-name", SIM_CONTROL_FRIENDLY_NAME_FORM},
    {L"hide-bus", SIM_CONTROL_HIDE_BUS_INTERFACE},         {L"hide-status", SIM_CONTROL_HIDE_STATUS_DEVICE},
    {L"fail-line-read", SIM_CONTROL_FAIL_LINE_READ},       {L"fail-trace", SIM_CONTROL_FAIL_TRACE},
    {L"comdb-open-fails", SIM_CONTROL_COMDB_OPEN_FAILS},   {L"comdb-report-fails", SIM_CONTROL_COMDB_REPORT_FAILS},
    {L"device-list-fails", SIM_CONTROL_DEVICE_LIST_FAILS}, {L"removal-fails", SIM_CONTROL_REMOVAL_FAILS},
};

const wchar_t* const kFriendlyNameForms[] = {L"standard", L"no-blank", L"trailing", L"none"};

struct LineBit {
    const wchar_t* name;
    BYTE bit;
};

const LineBit kLineBits[] = {
    {L"CON", LINESTATE_CON}, {L"ERR", LINESTATE_ERR}, {L"RX", LINESTATE_RX}, {L"TX", LINESTATE_TX},
    {L"CTS", LINESTATE_CTS}, {L"DSR", LINESTATE_DSR}, {L"RI", LINESTATE_RI}, {L"DCD", LINESTATE_DCD},
};

int Fail(const std::wstring& message)
{
    fwprintf(stderr, L"simctl: %ls\n", message.c_str());
    return 1;
}

int FailUsage(const std::wstring& message)
{
    fwprintf(stderr, L"simctl: %ls\n(simctl --help shows the commands)\n", message.c_str());
    return 2;
}

int Check(DWORD error, const std::wstring& what)
{
    if (error == ERROR_SUCCESS)
        return 0;
    return Fail(what + L": " + simmachine::ErrorText(error));
}

// "COM5" or "5" gives 5; 0 for anything else or a number out of 1..max.
unsigned ParsePort(const wchar_t* text, unsigned max)
{
    if (_wcsnicmp(text, L"COM", 3) == 0)
        text += 3;
    if (*text < L'0' || *text > L'9')
        return 0;
    wchar_t* end = nullptr;
    unsigned long value = wcstoul(text, &end, 10);
    if (*end != 0 || value < 1 || value > max)
        return 0;
    return static_cast<unsigned>(value);
}

bool ParseNumber(const wchar_t* text, DWORD& value)
{
    if (*text < L'0' || *text > L'9')
        return false;
    wchar_t* end = nullptr;
    unsigned long parsed = wcstoul(text, &end, 10);
    if (*end != 0 || parsed > 0xFFFFFFFFul)
        return false;
    value = static_cast<DWORD>(parsed);
    return true;
}

std::wstring LineStateText(DWORD value)
{
    std::wstring text;
    for (const LineBit& bit : kLineBits) {
        if (value & bit.bit)
            text += std::wstring(text.empty() ? L"" : L" ") + bit.name;
    }
    DWORD traffic = (value >> SIM_TRAFFIC_SHIFT) & (LINESTATE_RX | LINESTATE_TX);
    if (traffic != 0) {
        text += text.empty() ? L"" : L" ";
        text += L"(blinking";
        text += (traffic & LINESTATE_RX) ? L" RX" : L"";
        text += (traffic & LINESTATE_TX) ? L" TX" : L"";
        text += L")";
    }
    return text.empty() ? L"-" : text;
}

int List()
{
    std::vector<simmachine::PortStatus> ports;
    if (int failed = Check(simmachine::ListPorts(ports), L"cannot list the ports"))
        return failed;
    if (ports.empty()) {
        wprintf(L"no ports\n");
        return 0;
    }
    wprintf(L"%-7ls %-10ls %-7ls %-24ls %-8ls %ls\n", L"port", L"configured", L"device", L"SERIALCOMM", L"claimed",
            L"line state");
    for (const simmachine::PortStatus& port : ports) {
        wchar_t name[16];
        swprintf(name, 16, L"COM%u", port.comNumber);
        wprintf(L"%-7ls %-10ls %-7ls %-24ls %-8ls %ls\n", name, port.configured ? L"yes" : L"no",
                port.device ? L"yes" : L"no", port.serialCommName.empty() ? L"-" : port.serialCommName.c_str(),
                port.claimed ? L"yes" : L"no", LineStateText(port.lineState).c_str());
    }
    return 0;
}

int PlugIn(int argc, wchar_t** argv)
{
    if (argc < 1)
        return FailUsage(L"plugin needs at least one port, e.g. simctl plugin COM5");
    std::vector<unsigned> ports;
    for (int i = 0; i < argc; ++i) {
        unsigned n = ParsePort(argv[i], simmachine::kMaxPortNumber);
        if (n == 0)
            return FailUsage(std::wstring(L"not a port from COM1 to COM255: ") + argv[i]);
        ports.push_back(n);
    }
    for (unsigned n : ports) {
        if (int failed =
                Check(simmachine::WritePortSubkey(n), L"cannot write the settings of COM" + std::to_wstring(n)))
            return failed;
    }
    DWORD error = simmachine::SendPlugInRequest();
    if (error == ERROR_NO_MORE_ITEMS)
        return Fail(L"the plug-in request failed: no bus interface is present");
    if (int failed = Check(error, L"the plug-in request failed"))
        return failed;
    const ULONGLONG start = GetTickCount64();
    if (int failed = Check(simmachine::WaitForPorts(ports, kPlugInWaitMs), L"not every port appeared"))
        return failed;
    wprintf(L"%u port(s) present after %llu ms\n", static_cast<unsigned>(ports.size()), GetTickCount64() - start);
    return 0;
}

// Line bits only make sense for a port that exists.
int RequirePresentPort(const wchar_t* text, unsigned& port)
{
    port = ParsePort(text, simmachine::kMaxPortNumber);
    if (port == 0)
        return FailUsage(std::wstring(L"not a port from COM1 to COM255: ") + text);
    if (!simmachine::IsPortPresent(port))
        return Fail(L"COM" + std::to_wstring(port) + L" has no device");
    return 0;
}

int OpenClose(int argc, wchar_t** argv, bool open)
{
    if (argc != 1)
        return FailUsage(std::wstring(open ? L"open" : L"close") + L" takes one port, e.g. COM5");
    unsigned port = 0;
    if (int failed = RequirePresentPort(argv[0], port))
        return failed;
    DWORD value = 0;
    if (int failed = Check(simmachine::ReadLineState(port, value), L"cannot read the line state"))
        return failed;
    BYTE bits = static_cast<BYTE>(open ? (value | LINESTATE_CON) : (value & ~LINESTATE_CON));
    return Check(simmachine::SetLineBits(port, bits), L"cannot set the line state");
}

int Lines(int argc, wchar_t** argv)
{
    if (argc < 1)
        return FailUsage(L"lines needs a port, e.g. simctl lines COM5 CTS DSR");
    unsigned port = 0;
    if (int failed = RequirePresentPort(argv[0], port))
        return failed;
    BYTE bits = 0;
    for (int i = 1; i < argc; ++i) {
        bool known = false;
        for (const LineBit& bit : kLineBits) {
            if (bit.bit != LINESTATE_CON && _wcsicmp(argv[i], bit.name) == 0) {
                bits |= bit.bit;
                known = true;
            }
        }
        if (!known)
            return FailUsage(std::wstring(L"not a line bit (ERR RX TX CTS DSR RI DCD): ") + argv[i]);
    }
    DWORD value = 0;
    if (int failed = Check(simmachine::ReadLineState(port, value), L"cannot read the line state"))
        return failed;
    bits |= static_cast<BYTE>(value & LINESTATE_CON);
    return Check(simmachine::SetLineBits(port, bits), L"cannot set the line state");
}

int Traffic(int argc, wchar_t** argv)
{
    if (argc != 2)
        return FailUsage(L"traffic takes a port and rx, tx, both or none");
    unsigned port = 0;
    if (int failed = RequirePresentPort(argv[0], port))
        return failed;
    BYTE bits;
    if (_wcsicmp(argv[1], L"rx") == 0)
        bits = LINESTATE_RX;
    else if (_wcsicmp(argv[1], L"tx") == 0)
        bits = LINESTATE_TX;
    else if (_wcsicmp(argv[1], L"both") == 0)
        bits = LINESTATE_RX | LINESTATE_TX;
    else if (_wcsicmp(argv[1], L"none") == 0)
        bits = 0;
    else
        return FailUsage(std::wstring(L"not rx, tx, both or none: ") + argv[1]);
    return Check(simmachine::SetTraffic(port, bits), L"cannot set the traffic");
}

const wchar_t* RequestName(DWORD code)
{
    switch (code) {
        case IOCTL_BUS_PLUGIN_PORT:
            return L"plug-in";
        case IOCTL_READ_LINE_STATES:
            return L"read line states";
        case IOCTL_SET_TRACE:
            return L"set trace";
        default:
            return L"unknown";
    }
}

std::wstring TimeText(unsigned long long time100ns)
{
    FILETIME fileTime = {static_cast<DWORD>(time100ns), static_cast<DWORD>(time100ns >> 32)};
    SYSTEMTIME time = {};
    FileTimeToSystemTime(&fileTime, &time);
    wchar_t text[16];
    swprintf(text, 16, L"%02u:%02u:%02u.%03u", time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

void PrintRequest(const simmachine::LoggedRequest& entry)
{
    const SimLogRecord& r = entry.record;
    std::wstring input;
    for (unsigned i = 0; i < r.inputSaved && i < SIM_LOG_INPUT_BYTES; ++i) {
        wchar_t hex[4];
        swprintf(hex, 4, L"%02X", r.input[i]);
        input += std::wstring(i ? L" " : L"") + hex;
    }
    if (r.inputLength > r.inputSaved)
        input += L" ...";
    wprintf(L"%ls  %-8ls 0x%08X %-17ls in %3u  out %3u  status 0x%08X  %ls\n", TimeText(r.time).c_str(),
            entry.driver.c_str(), r.code, RequestName(r.code), r.inputLength, r.outputLength,
            static_cast<unsigned>(r.status), input.c_str());
}

const wchar_t* CallName(unsigned function)
{
    switch (function) {
        case SIM_CALL_COMDB_OPEN:
            return L"ComDBOpen";
        case SIM_CALL_COMDB_CLOSE:
            return L"ComDBClose";
        case SIM_CALL_COMDB_CLAIM_PORT:
            return L"ComDBClaimPort";
        case SIM_CALL_COMDB_RELEASE_PORT:
            return L"ComDBReleasePort";
        case SIM_CALL_COMDB_GET_CURRENT_PORT_USAGE:
            return L"ComDBGetCurrentPortUsage";
        case SIM_CALL_COMDB_CLAIM_NEXT_FREE_PORT:
            return L"ComDBClaimNextFreePort";
        case SIM_CALL_COMDB_RESIZE_DATABASE:
            return L"ComDBResizeDatabase";
        case SIM_CALL_UPDATE_DRIVER:
            return L"UpdateDriverForPlugAndPlayDevicesW";
        default:
            return L"unknown";
    }
}

// A COM-database call: its number and Win32 result; a driver update: its arguments and answer.
void PrintCall(const simmachine::LoggedCall& call)
{
    const SimCallRecord& r = call.record;
    std::wstring details;
    if (r.function == SIM_CALL_UPDATE_DRIVER) {
        wchar_t numbers[96];
        swprintf(numbers, 96, L"flags 0x%X  parent 0x%llX  %ls (error %u)", r.flags, r.window,
                 r.result ? L"TRUE" : L"FALSE", r.lastError);
        details = L"id \"" + (call.texts.size() > 0 ? call.texts[0] : L"") + L"\"  inf \"" +
                  (call.texts.size() > 1 ? call.texts[1] : L"") + L"\"  " + numbers;
    } else {
        wchar_t numbers[64];
        swprintf(numbers, 64, L"%u  result %d", r.number, r.result);
        details = numbers;
    }
    wprintf(L"%ls  %-8ls pid %-6u %-24ls %ls\n", TimeText(r.time).c_str(), call.dll.c_str(), r.processId,
            CallName(r.function), details.c_str());
}

int Log()
{
    std::vector<simmachine::LoggedRequest> requests;
    if (int failed = Check(simmachine::ReadRequestLog(requests), L"cannot read the request log"))
        return failed;
    std::vector<simmachine::LoggedCall> calls;
    if (int failed = Check(simmachine::ReadCallLog(calls), L"cannot read the call log"))
        return failed;
    if (requests.empty() && calls.empty()) {
        wprintf(L"no requests\n");
        return 0;
    }
    // Both lists are oldest first; printed together by time.
    size_t call = 0;
    for (const simmachine::LoggedRequest& request : requests) {
        for (; call < calls.size() && calls[call].record.time < request.record.time; ++call)
            PrintCall(calls[call]);
        PrintRequest(request);
    }
    for (; call < calls.size(); ++call)
        PrintCall(calls[call]);
    return 0;
}

const Fault* FindFault(const wchar_t* name)
{
    for (const Fault& fault : kFaults) {
        if (_wcsicmp(fault.name, name) == 0)
            return &fault;
    }
    return nullptr;
}

int SetFault(int argc, wchar_t** argv)
{
    if (argc < 1)
        return FailUsage(L"fault needs a name or clear");
    if (_wcsicmp(argv[0], L"clear") == 0) {
        if (argc == 1)
            return Check(simmachine::ClearControls(), L"cannot clear the faults");
        const Fault* fault = argc == 2 ? FindFault(argv[1]) : nullptr;
        if (fault == nullptr)
            return FailUsage(L"fault clear takes one fault name");
        return Check(simmachine::ClearControl(fault->control), L"cannot clear the fault");
    }
    const Fault* fault = FindFault(argv[0]);
    if (fault == nullptr)
        return FailUsage(std::wstring(L"no such fault: ") + argv[0]);
    DWORD value = 1;
    if (fault->control == std::wstring(SIM_CONTROL_CHILD_DELAY_MS)) {
        value = kDefaultLateMs;
        if (argc > 2 || (argc == 2 && !ParseNumber(argv[1], value)))
            return FailUsage(L"children-late takes a delay in ms, e.g. 1000");
    } else if (fault->control == std::wstring(SIM_CONTROL_FRIENDLY_NAME_FORM)) {
        bool known = false;
        for (DWORD i = 0; argc == 2 && i < SIM_FRIENDLY_NAME_FORM_COUNT; ++i) {
            if (_wcsicmp(argv[1], kFriendlyNameForms[i]) == 0) {
                value = i;
                known = true;
            }
        }
        if (!known)
            return FailUsage(L"friendly-name takes standard, no-blank, trailing or none");
    } else if (argc != 1) {
        return FailUsage(std::wstring(fault->name) + L" takes no value");
    }
    return Check(simmachine::SetControl(fault->control, value), L"cannot set the fault");
}

int ShowFaults()
{
    std::vector<std::pair<std::wstring, DWORD>> controls;
    if (int failed = Check(simmachine::ReadControls(controls), L"cannot read the faults"))
        return failed;
    if (controls.empty())
        wprintf(L"no faults\n");
    for (const auto& control : controls)
        wprintf(L"%ls = %lu\n", control.first.c_str(), control.second);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return FailUsage(L"no command");
    const std::wstring command = argv[1];
    int rest = argc - 2;
    wchar_t** args = argv + 2;
    if (command == L"--help" || command == L"-h" || command == L"help") {
        wprintf(L"%ls", kUsage);
        return 0;
    }
    if (command == L"list" && rest == 0)
        return List();
    if (command == L"plugin")
        return PlugIn(rest, args);
    if (command == L"open" || command == L"close")
        return OpenClose(rest, args, command == L"open");
    if (command == L"lines")
        return Lines(rest, args);
    if (command == L"traffic")
        return Traffic(rest, args);
    if (command == L"log" && rest == 0)
        return Log();
    if (command == L"fault")
        return SetFault(rest, args);
    if (command == L"faults" && rest == 0)
        return ShowFaults();
    if (command == L"reset" && rest == 0)
        return Check(simmachine::ResetMachine(simmachine::WineSerialPorts::Keep), L"the reset was not complete");
    return FailUsage(L"unknown command or wrong arguments: " + command);
}
