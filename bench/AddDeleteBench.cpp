// Times adding N ports on the new road and deleting them all again, through the real progress
// dialog, in the simulated machine; then deleting all of the last count's ports in the running
// program, driven from outside, once on the Port Info tab and once with the Status tab shown and
// every port's RX and TX blinking (scripts/bench-add-delete). Beside each, the floor: the same
// action's bare platform calls (floor.exe) in the same run, and the wineserver requests of both.
// Not a test.
//
//   add_delete_bench [--no-program | --program-only] [count...]   counts: 32, 128 and 255
#include "app/Globals.h"
#include "app/PortTable.h"
#include "app/ProgressDlg.h"
#include "bench/BenchClock.h"
#include "bench/FloorRun.h"
#include "bench/ProgramDriver.h"
#include "bench/ServerRequests.h"
#include "bench/UnixCpu.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const DWORD kLongWaitMs = 600000;
// The add dialog takes at most this many ports a run: larger counts take several runs.
constexpr UINT kPortsPerAdd = 32;

// The progress dialog run in its own modal loop, as in the program, with nothing of a harness
// waking this thread: it ends itself when the add or the delete is done.
bool RunProgress(bench::ServerRequests& requests, bench::Figure& figure)
{
    bool ok = false;
    const long long before = requests.Now();
    figure.seconds += bench::Time([&ok] {
        CSVT_ProgressDlg dlg;
        ok = dlg.DoModal() == IDOK;
    });
    const long long after = requests.Now();
    if (figure.requests >= 0)
        figure.requests = requests.Valid() && before >= 0 && after >= 0 ? figure.requests + after - before : -1;
    return ok;
}

bool Reset()
{
    if (simtest::ResetMachine())
        return true;
    fprintf(stderr, "the simulated machine is not running\n");
    return false;
}

// Adds count ports through the progress dialog and deletes them all again; then the floor of
// both on the machine made empty again.
bool AddAndDelete(UINT count, bench::ServerRequests& requests)
{
    bench::Figure add{0, 0, count}, remove{0, 0, count};
    g_addPortRequest = AddPortRequest();
    g_addPortRequest.startCom = 1;
    g_addPortRequest.firstTcpPort = 4001;
    g_addPortRequest.txTriggerLevel = 255;
    for (UINT done = 0; done < count; done += kPortsPerAdd) {
        g_portOperation = PORTOP_ADD;
        g_addPortRequest.count = std::min(count - done, kPortsPerAdd);
        if (!RunProgress(requests, add)) {
            fprintf(stderr, "adding ports %u to %u failed\n", done + 1, done + g_addPortRequest.count);
            return false;
        }
    }
    LoadPortTable();
    g_deviceCount = static_cast<int>(g_portTable.GetSize());
    g_portOperation = PORTOP_DELETE_ALL;
    if (!RunProgress(requests, remove)) {
        fprintf(stderr, "deleting %u ports failed\n", count);
        return false;
    }

    bench::Figure floorAdd{0, 0, 0}, floorDelete;
    if (!Reset())
        return false;
    for (UINT done = 0; done < count; done += kPortsPerAdd) {
        bench::Figure one;
        if (!bench::RunFloor(
                L"add " + std::to_wstring(done + 1) + L" " + std::to_wstring(std::min(count - done, kPortsPerAdd)),
                one))
            return false;
        floorAdd.seconds += one.seconds;
        floorAdd.requests += one.requests;
        floorAdd.result += one.result;
    }
    if (!bench::RunFloor(L"delete", floorDelete))
        return false;
    if (floorAdd.result != count || floorDelete.result != count) {
        fprintf(stderr, "the floor added %u and deleted %u of %u ports\n", floorAdd.result, floorDelete.result, count);
        return false;
    }
    char what[64];
    snprintf(what, sizeof what, "%u ports: add (%u a run)", count, kPortsPerAdd);
    bench::PrintBesideFloor(what, add, floorAdd);
    snprintf(what, sizeof what, "%u ports: delete all", count);
    bench::PrintBesideFloor(what, remove, floorDelete);
    return true;
}

// The same ports as an add makes (subkeys with the eight values, one plug-in request), faster.
bool CreatePorts(UINT count)
{
    if (simtest::ResetMachine() && simtest::CreatePorts(simtest::FirstComNumbers(count), kLongWaitMs))
        return true;
    fprintf(stderr, "could not create %u ports\n", count);
    return false;
}

// Delete All in the running program, from the OK in its question to the emptied list; the
// requests are the program's write calls (its X11 output among them).
bool DeleteInProgram(UINT count, bool statusBlinking, bench::Figure& figure)
{
    const char* where = statusBlinking ? "on Status, all blinking" : "on Port Info";
    if (!CreatePorts(count))
        return false;
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
        const long long writesIdle = bench::WriteCalls(unixPid);
        Sleep(1000);
        const double serverIdleCpu = benchcpu::CpuSeconds(wineserver) - serverIdle;
        const double programIdleCpu = benchcpu::CpuSeconds(unixPid) - programIdle;
        const long long writes = bench::WriteCalls(unixPid);
        const double serverCpu = benchcpu::CpuSeconds(wineserver), programCpu = benchcpu::CpuSeconds(unixPid);
        const double t0 = bench::Now();
        double closedAt = 0;
        ok = program.AnswerOk() && program.WaitForEmptyList(kLongWaitMs, &closedAt);
        figure.seconds = bench::Now() - t0;
        const long long writesAfter = bench::WriteCalls(unixPid);
        figure.requests = writesIdle >= 0 && writes >= 0 && writesAfter >= 0 ? writesAfter - writes : -1;
        figure.result = count;
        if (ok) {
            printf(
                "%3u ports, the running program %s: progress dialog closed after %.2f s; CPU: program %.2f s, "
                "wineserver %.2f s (in the second before: %.2f s, %.2f s, %lld requests)\n",
                count, where, closedAt - t0, benchcpu::CpuSeconds(unixPid) - programCpu,
                benchcpu::CpuSeconds(wineserver) - serverCpu, programIdleCpu, serverIdleCpu, writes - writesIdle);
            fflush(stdout);
        }
    }
    if (!ok)
        fwprintf(stderr, L"the running program %hs: %ls\n", where, program.Failure().c_str());
    return ok;
}

// Both deletes in the running program beside the floor's delete of as many ports.
bool DeleteInProgram(UINT count)
{
    bench::Figure portInfo, status, floor;
    if (!DeleteInProgram(count, false, portInfo) || !DeleteInProgram(count, true, status) || !CreatePorts(count) ||
        !bench::RunFloor(L"delete", floor))
        return false;
    char what[80];
    snprintf(what, sizeof what, "%u ports: program, on Port Info", count);
    bench::PrintBesideFloor(what, portInfo, floor);
    snprintf(what, sizeof what, "%u ports: program, Status blinking", count);
    bench::PrintBesideFloor(what, status, floor);
    printf("%u ports: the delete with Status blinking takes %.2fx the delete on Port Info\n", count,
           status.seconds / portInfo.seconds);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    g_osVersion = 61;
    bool program = true;
    bool dialog = true;
    std::vector<UINT> counts;
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], L"--no-program") == 0)
            program = false;
        else if (wcscmp(argv[i], L"--program-only") == 0)
            dialog = false;
        else
            counts.push_back(static_cast<UINT>(_wtoi(argv[i])));
    }
    if (counts.empty())
        counts = {32, 128, 255};
    bench::ServerRequests requests;
    if (!requests.Valid())
        fprintf(stderr, "this process is not found in /proc: its requests are not counted\n");
    printf("seconds and wineserver requests (counted) of each action\n");
    for (UINT count : counts) {
        if (dialog && (!Reset() || !AddAndDelete(count, requests)))
            return 1;
    }
    if (program && !DeleteInProgram(counts.back()))
        return 1;
    simtest::ResetMachine();
    return 0;
}
