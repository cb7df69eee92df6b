// Times a load of the port table on the simulated machine with 32, 128 and 255 present ports:
// with every value in place, and with every value missing (all defaults written to the subkeys
// and the devices' keys); beside each, the floor: the same load's bare platform calls (floor.exe,
// the COM-port interface list and the subkey reads) in the same run, and the wineserver
// requests of both. Run by scripts/bench-port-table; not part of the tests.
//
// Each load is timed kRounds times and the best time printed, since other programs on the
// machine make single times vary widely; the requests are those of one load.
#include "app/Globals.h"
#include "app/PortSettings.h"
#include "app/PortTable.h"
#include "bench/BenchClock.h"
#include "bench/FloorRun.h"
#include "bench/ServerRequests.h"
#include "sim/control/Machine.h"

#include <stdio.h>
#include <wchar.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kRounds = 5;

const wchar_t* const kDwordNames[] = {kTxTriggerLevelValue, kAliveRxTimerValue, kAliveTxTimerValue, kProtocolValue,
                                      kIPaddressValue,      kPortValue,         kComPortValue};

bool Check(DWORD error, const char* what)
{
    if (error != ERROR_SUCCESS)
        fprintf(stderr, "%s failed: %ls\n", what, simmachine::ErrorText(error).c_str());
    return error == ERROR_SUCCESS;
}

// Deletes every setting value of the ports' subkeys and of their devices' keys.
bool ForgetSettings(unsigned count)
{
    for (unsigned n = 1; n <= count; ++n) {
        for (const CString& path : {PortSubkeyPath(n), PortDevicePath(n)}) {
            HKEY hKey = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS) {
                fprintf(stderr, "cannot open %ls\n", path.GetString());
                return false;
            }
            for (const wchar_t* name : kDwordNames)
                RegDeleteValueW(hKey, name);
            RegDeleteValueW(hKey, kAliasValue);
            RegCloseKey(hKey);
        }
    }
    return true;
}

bool MakePorts(unsigned count)
{
    std::vector<unsigned> ports;
    for (unsigned n = 1; n <= count; ++n)
        ports.push_back(n);
    if (!Check(simmachine::ResetMachine(), "resetting the machine") ||
        !Check(simmachine::SetControl(SIM_CONTROL_CHILD_DELAY_MS, 1), "shortening the child delay"))
        return false;
    for (unsigned n : ports) {
        if (!Check(simmachine::WritePortSubkey(n), "writing a port subkey"))
            return false;
    }
    return Check(simmachine::SendPlugInRequest(), "plugging in") &&
           Check(simmachine::WaitForPorts(ports, 120000), "waiting for the ports");
}

bool LoadedAll(unsigned count)
{
    if (g_portTable.GetSize() == static_cast<INT_PTR>(count))
        return true;
    fprintf(stderr, "loaded %d records of %u ports\n", static_cast<int>(g_portTable.GetSize()), count);
    return false;
}

// The best of kRounds loads, each after prepare, and the requests of the last.
template <class F>
bool TimeLoads(unsigned count, bench::ServerRequests& requests, F prepare, bench::Figure& figure)
{
    figure.seconds = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        if (!prepare())
            return false;
        const long long before = requests.Now();
        figure.seconds = std::min(figure.seconds, bench::Time([] { LoadPortTable(); }));
        const long long after = requests.Now();
        figure.requests = requests.Valid() && before >= 0 && after >= 0 ? after - before : -1;
        if (!LoadedAll(count))
            return false;
    }
    return true;
}

// The floor's best of kRounds loads, each after prepare.
template <class F>
bool TimeFloorLoads(F prepare, bench::Figure& figure)
{
    bench::Figure best;
    for (int round = 0; round < kRounds; ++round) {
        bench::Figure one;
        if (!prepare() || !bench::RunFloor(L"load 1", one))
            return false;
        if (round == 0 || one.seconds < best.seconds)
            best = one;
    }
    figure = best;
    return true;
}

}  // namespace

int wmain()
{
    bench::ServerRequests requests;
    if (!requests.Valid())
        fprintf(stderr, "this process is not found in /proc: its requests are not counted\n");
    printf("the port table's load: best of %d, the requests of one (wineserver requests, counted)\n", kRounds);
    for (unsigned count : {32u, 128u, 255u}) {
        if (!MakePorts(count))
            return 1;
        const auto nothing = [] { return true; };
        const auto forget = [count] { return ForgetSettings(count); };
        bench::Figure ours, floor;
        char what[64];
        if (!TimeLoads(count, requests, nothing, ours) || !TimeFloorLoads(nothing, floor))
            return 1;
        snprintf(what, sizeof what, "%u ports, every value present", count);
        bench::PrintBesideFloor(what, ours, floor);
        if (!TimeLoads(count, requests, forget, ours) || !TimeFloorLoads(forget, floor))
            return 1;
        snprintf(what, sizeof what, "%u ports, every value missing", count);
        bench::PrintBesideFloor(what, ours, floor);
    }

    // What one request to the wineserver costs on this machine now.
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, PortSubkeyPath(1), 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        constexpr int kQueries = 5000;
        const double queries = bench::Time([hKey] {
            for (int i = 0; i < kQueries; ++i) {
                DWORD value = 0;
                DWORD bytes = sizeof(value);
                RegQueryValueExW(hKey, kPortValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &bytes);
            }
        });
        RegCloseKey(hKey);
        printf("one registry read (one wineserver request): %.1f us\n", queries / kQueries * 1e6);
    }
    ClearPortTable();
    return Check(simmachine::ResetMachine(), "resetting the machine") ? 0 : 1;
}
