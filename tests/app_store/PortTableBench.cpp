// Times a load of the port table on the simulated machine with 1, 32 and 255 present ports:
// first with every value missing (all defaults written to the subkeys and the devices' keys),
// then with every value in place; and beside each, the literal load: one key open per value read
// and one device walk per default written. Then, with 255 ports, where a load's time goes: the
// device walks. Run by scripts/bench-port-table; not part of the tests.
//
// Each load is timed kRounds times; the best and the median time are printed, since other
// programs on the machine make single times vary widely. The literal load with every default
// takes minutes for 255 ports (a walk of every device per value), so it is timed for 255 only
// with --per-value-255.
#include "app/ComUsage.h"
#include "app/DeviceParamWriter.h"
#include "app/Globals.h"
#include "app/PortDevice.h"
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

template <class F>
std::vector<double> Repeat(F f)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round)
        times.push_back(Time(f));
    return times;
}

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

// LoadPortTable the literal way: each value read with ReadRegDword (a key open of its own), each
// missing one written with WritePortSetting (a walk of every device of its own).
size_t LiteralLoad()
{
    MapPortDevices();
    std::vector<CSVT_ComInfo> records;
    for (UINT n = 1; n <= 255; ++n) {
        if (g_presentPortMap[n - 1] == 0)
            continue;
        const CString subkey = PortSubkeyPath(n);
        const DWORD defaults[] = {kDefaultTxTriggerLevel, kDefaultAliveRxTimer, kDefaultAliveTxTimer, kDefaultProtocol,
                                  kDefaultIPaddress,      kDefaultPort,         n};
        DWORD values[7] = {};
        for (int i = 0; i < 7; ++i) {
            if (!ReadRegDword(subkey, kDwordNames[i], values[i])) {
                values[i] = defaults[i];
                WritePortSetting(n, kDwordNames[i], values[i]);
            }
        }
        CSVT_ComInfo record;
        record.keyNumber = n;
        record.TxTriggerLevel = values[0];
        record.Protocol = values[3];
        record.IPaddress = values[4];
        record.Port = values[5];
        record.ComPort = values[6];
        if (!ReadRegString(subkey, kAliasValue, record.Alias) && IsRegValueMissing(subkey, kAliasValue)) {
            WriteRegString(subkey, kAliasValue, L"");
            WriteRegString(PortDevicePath(n), kAliasValue, L"");
        }
        records.push_back(record);
    }
    return records.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool perValue255 = argc > 1 && wcscmp(argv[1], L"--per-value-255") == 0;
    printf("seconds, best and median of %d loads; the literal load once (see the top of PortTableBench.cpp)\n", kRounds);
    printf("%-6s %-30s %-30s\n", "ports", "all defaults: ours, literal", "all present: ours, literal");
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
        size_t literalRecords = 0;
        const double literalPresent = Time([&] { literalRecords = LiteralLoad(); });
        double literalMissing = -1;
        if (count < 255 || perValue255) {
            if (!ForgetSettings(count))
                return 1;
            literalMissing = Time([&] { literalRecords = LiteralLoad(); });
        }
        if (literalRecords != count) {
            fprintf(stderr, "the literal load found %u of %u ports\n", static_cast<unsigned>(literalRecords), count);
            return 1;
        }
        const Times m = Summarize(missing);
        const Times p = Summarize(present);
        printf("%-6u %6.3f %6.3f ", count, m.best, m.median);
        if (literalMissing >= 0)
            printf("%8.3f        ", literalMissing);
        else
            printf("%15s ", "(--per-value-255)");
        printf("%6.3f %6.3f %8.3f\n", p.best, p.median, literalPresent);
        fflush(stdout);
    }

    // Where a load's time goes, with the 255 ports present: the device walks, most of whose time
    // is the platform's making and releasing of the device list, not the two properties read
    // per device.
    const Times list = Summarize(Repeat([] { ScopedDeviceList devices(GetPresentComPortDevices()); }));
    const Times map = Summarize(Repeat([] { MapPortDevices(); }));
    const Times count = Summarize(Repeat([] { CountPresentPortDevices(); }));
    const Times writer = Summarize(Repeat([] { CDeviceParamWriter devices; }));
    printf("255 ports, best of %d: the COM-port interface list made and released %.3f s, MapPortDevices %.3f s,\n"
           "  CountPresentPortDevices %.3f s, the device-key writer's list of every device %.3f s\n",
           kRounds, list.best, map.best, count.best, writer.best);
    // What one request to the wineserver costs on this machine now: the walk above makes about
    // 11700 of them (Wine's making and releasing of the list), a load with every value present
    // about 2550 more.
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, PortSubkeyPath(1), 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        constexpr int kQueries = 5000;
        const double queries = Time([hKey] {
            for (int i = 0; i < kQueries; ++i) {
                DWORD value = 0;
                DWORD bytes = sizeof(value);
                RegQueryValueExW(hKey, kPortValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &bytes);
            }
        });
        RegCloseKey(hKey);
        printf("one registry read (a request to the wineserver): %.1f us\n", queries / kQueries * 1e6);
    }
    ClearPortTable();
    return Check(simmachine::ResetMachine(), "resetting the machine") ? 0 : 1;
}
