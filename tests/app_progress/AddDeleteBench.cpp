// Times adding N ports on the new road and deleting them all again, through the real progress
// dialog, in the simulated machine; then deleting all of the last count's ports in the running
// program, driven from outside, once on the Port Info tab and once with the Status tab shown
// and every port's RX and TX blinking (scripts/bench-add-delete); and beside them the time of
// Wine's own device removal alone for the same ports. Not a test.
//
//   add_delete_bench [--no-program] [count...]     counts default to 32 and 255
#include "app/Globals.h"
#include "app/PortDevice.h"
#include "app/PortSettings.h"
#include "app/ProgressDlg.h"
#include "tests/app_progress/ProgramDriver.h"
#include "tests/support/BenchClock.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"
#include "tests/support/UnixCpu.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const DWORD kLongWaitMs = 600000;

using bench::Now;

double OwnCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return -1.0;
    auto ticks = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

bool RunDialog(uitest::UiHarness& harness)
{
    CSVT_ProgressDlg dlg;
    return harness.RunModal(dlg, {uitest::WaitUntil([](CWnd&) { return false; }, kLongWaitMs)}) == IDOK;
}

// Adds count ports through the progress dialog and deletes them all again.
void AddAndDelete(UINT count)
{
    g_portOperation = PORTOP_ADD;
    g_addPortRequest = AddPortRequest();
    g_addPortRequest.startCom = 1;
    g_addPortRequest.firstTcpPort = 4001;
    g_addPortRequest.txTriggerLevel = 255;
    const double t0 = Now();
    bool added = true;
    {
        uitest::UiHarness harness;
        // The add dialog takes at most 32 ports a run: larger counts take several runs.
        for (UINT done = 0; done < count && added; done += 32) {
            g_addPortRequest.count = count - done < 32 ? count - done : 32;
            added = RunDialog(harness);
        }
    }
    const double t1 = Now();
    LoadPortTable();
    g_deviceCount = static_cast<int>(g_portTable.GetSize());
    g_portOperation = PORTOP_DELETE_ALL;
    const DWORD wineserver = benchcpu::FindWineserver();
    const double serverCpu = benchcpu::CpuSeconds(wineserver);
    const double ownCpu = OwnCpuSeconds();
    const double t2 = Now();
    // The delete runs in the dialog's own modal loop, as in the program, without the harness's
    // checks waking this thread: the dialog ends itself when the worker is done.
    CSVT_ProgressDlg dlg;
    bool deleted = dlg.DoModal() == IDOK;
    const double t3 = Now();
    printf("%3u ports: add %.2f s%s, load %.2f s, delete all %.2f s%s (CPU: bench %.2f s, wineserver %.2f s)\n", count,
           t1 - t0, added ? "" : " (failed)", t2 - t1, t3 - t2, deleted ? "" : " (failed)", OwnCpuSeconds() - ownCpu,
           benchcpu::CpuSeconds(wineserver) - serverCpu);
    fflush(stdout);
}

// The same ports as an add makes (subkeys with the eight values, one plug-in request), faster.
bool CreatePorts(UINT count)
{
    return simtest::ResetMachine() && simtest::CreatePorts(simtest::FirstComNumbers(count), kLongWaitMs);
}

// What Wine's own removal costs: SetupDiRemoveDevice on every port device, from the last COM
// number to the first as Delete All goes, with nothing else around it. No delete can be faster.
bool RemoveDevicesAlone(UINT count)
{
    if (!CreatePorts(count)) {
        fprintf(stderr, "could not create %u ports\n", count);
        return false;
    }
    const double t0 = Now();
    HDEVINFO set = GetPresentComPortDevices();
    if (set == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "no device list (error %lu)\n", GetLastError());
        return false;
    }
    std::vector<std::pair<unsigned long, SP_DEVINFO_DATA>> devices;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        wchar_t id[200];  // a device instance id is at most 200 characters
        if (!SetupDiGetDeviceInstanceIdW(set, &device, id, 200, nullptr))
            continue;
        const wchar_t* number = wcsrchr(id, L'\\');
        devices.emplace_back(wcstoul(number != nullptr ? number + 1 : id, nullptr, 16), device);
    }
    std::sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    const double t1 = Now();
    size_t removed = 0;
    for (auto& entry : devices)
        removed += SetupDiRemoveDevice(set, &entry.second) ? 1 : 0;
    const double t2 = Now();
    SetupDiDestroyDeviceInfoList(set);
    printf("%3u ports: SetupDiRemoveDevice alone on %zu of %zu devices %.2f s (the device list %.2f s before it)\n",
           count, removed, devices.size(), t2 - t1, t1 - t0);
    fflush(stdout);
    return removed == count;
}

// Delete All in the running program, from the OK in its question to the emptied list.
bool DeleteInProgram(UINT count, bool statusBlinking)
{
    const char* where = statusBlinking ? "on Status, all blinking" : "on Port Info";
    if (!CreatePorts(count)) {
        fprintf(stderr, "could not create %u ports\n", count);
        return false;
    }
    if (statusBlinking) {
        for (unsigned n = 1; n <= count; ++n) {
            if (!simtest::SetTraffic(n, LINESTATE_RX | LINESTATE_TX)) {
                fprintf(stderr, "could not set the traffic of COM%u\n", n);
                return false;
            }
        }
    }
    ProgramDriver program;
    bool ok = program.Start(static_cast<int>(count), kLongWaitMs) &&
              (!statusBlinking || program.ShowStatusTab(kLongWaitMs)) && program.AskDeleteAll(kLongWaitMs);
    const DWORD wineserver = benchcpu::FindWineserver();
    const DWORD unixPid = benchcpu::FindWineProcess(uitest::BuiltProgramPath());
    if (ok) {
        // A second of the program as it is before the delete, for comparison.
        const double serverIdle = benchcpu::CpuSeconds(wineserver), programIdle = benchcpu::CpuSeconds(unixPid);
        Sleep(1000);
        const double serverIdleCpu = benchcpu::CpuSeconds(wineserver) - serverIdle;
        const double programIdleCpu = benchcpu::CpuSeconds(unixPid) - programIdle;
        const double serverCpu = benchcpu::CpuSeconds(wineserver), programCpu = benchcpu::CpuSeconds(unixPid);
        const double t0 = Now();
        double closedAt = 0;
        ok = program.AnswerOk() && program.WaitForEmptyList(kLongWaitMs, &closedAt);
        const double t1 = Now();
        if (ok) {
            printf(
                "%3u ports, the running program %s: delete all %.2f s (progress dialog closed after %.2f s); "
                "CPU: program %.2f s, wineserver %.2f s (before it, in one second: %.2f s, %.2f s)\n",
                count, where, t1 - t0, closedAt - t0, benchcpu::CpuSeconds(unixPid) - programCpu,
                benchcpu::CpuSeconds(wineserver) - serverCpu, programIdleCpu, serverIdleCpu);
            fflush(stdout);
        }
    }
    if (!ok)
        fwprintf(stderr, L"the running program %hs: %ls\n", where, program.Failure().c_str());
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    g_osVersion = 61;
    bool program = true;
    std::vector<UINT> counts;
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], L"--no-program") == 0)
            program = false;
        else
            counts.push_back(static_cast<UINT>(_wtoi(argv[i])));
    }
    if (counts.empty())
        counts = {32, 255};
    if (benchcpu::FindWineserver() == 0)
        fprintf(stderr, "the wineserver of this prefix is not found in /proc: its CPU shows as 0\n");
    for (UINT count : counts) {
        if (!simtest::ResetMachine()) {
            fprintf(stderr, "the simulated machine is not running\n");
            return 1;
        }
        AddAndDelete(count);
    }
    if (!RemoveDevicesAlone(counts.back()))
        return 1;
    if (program) {
        if (!DeleteInProgram(counts.back(), false) || !DeleteInProgram(counts.back(), true))
            return 1;
    }
    simtest::ResetMachine();
    return 0;
}
