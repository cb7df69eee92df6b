// Times a load of the port table on the simulated machine with 1, 32 and 255 present ports:
// first with every value missing (all defaults written to the subkeys and the devices' keys),
// then with every value in place. Run by scripts/bench-port-table; not part of the tests.
//
// Each load is timed kRounds times; the best and the median time are printed, since other
// programs on the machine make single times vary widely. For comparison it also times the
// defaults written as single WritePortSetting calls, each with its own walk of the device tree;
// with 255 ports that takes minutes, so it is timed for 255 only with --per-value-255.
#include "app/Globals.h"
#include "app/PortSettings.h"
#include "app/PortTable.h"
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

template <class F>
double Time(F f)
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    f();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Times {
    double best;
    double median;
};

Times Summarize(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return Times{times.front(), times[times.size() / 2]};
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

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool perValue255 = argc > 1 && wcscmp(argv[1], L"--per-value-255") == 0;
    printf("seconds, best and median of %d loads\n", kRounds);
    printf("%-6s %-24s %-24s %s\n", "ports", "load, all defaults", "load, all present", "defaults, one walk per value");
    for (unsigned count : {1u, 32u, 255u}) {
        if (!MakePorts(count))
            return 1;
        std::vector<double> missing;
        std::vector<double> present;
        for (int round = 0; round < kRounds; ++round) {
            if (!ForgetSettings(count))
                return 1;
            missing.push_back(Time([] { LoadPortTable(); }));
            if (!LoadedAll(count))
                return 1;
            present.push_back(Time([] { LoadPortTable(); }));
            if (!LoadedAll(count))
                return 1;
        }

        double perValue = -1;
        if (count < 255 || perValue255) {
            if (!ForgetSettings(count))
                return 1;
            perValue = Time([count] {
                const DWORD defaults[] = {kDefaultTxTriggerLevel, kDefaultAliveRxTimer, kDefaultAliveTxTimer,
                                          kDefaultProtocol,       kDefaultIPaddress,    kDefaultPort};
                for (unsigned n = 1; n <= count; ++n) {
                    for (int i = 0; i < 7; ++i)
                        WritePortSetting(n, kDwordNames[i], i < 6 ? defaults[i] : n);
                }
            });
        }
        const Times m = Summarize(missing);
        const Times p = Summarize(present);
        printf("%-6u %6.3f %6.3f %10s %6.3f %6.3f %10s", count, m.best, m.median, "", p.best, p.median, "");
        if (perValue >= 0)
            printf(" %.3f\n", perValue);
        else
            printf(" (not timed)\n");
        fflush(stdout);
    }
    ClearPortTable();
    return Check(simmachine::ResetMachine(), "resetting the machine") ? 0 : 1;
}
