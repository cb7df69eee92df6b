// Times adding N ports on the new road and deleting them all again, through the real progress
// dialog, in the simulated machine (scripts/bench-add-delete). Not a test.
#include "app/Globals.h"
#include "app/PortSettings.h"
#include "app/ProgressDlg.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <cstdio>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool RunDialog(uitest::UiHarness& harness)
{
    CSVT_ProgressDlg dlg;
    return harness.RunModal(dlg, {uitest::WaitUntil([](CWnd&) { return false; }, 600000)}) == IDOK;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_osVersion = 61;
    for (int i = 1; i < argc || i == 1; ++i) {
        const UINT count = argc > 1 ? static_cast<UINT>(_wtoi(argv[i])) : 32;
        if (!simtest::ResetMachine()) {
            fprintf(stderr, "the simulated machine is not running\n");
            return 1;
        }
        uitest::UiHarness harness;
        g_portOperation = PORTOP_ADD;
        g_addPortRequest = AddPortRequest();
        g_addPortRequest.startCom = 1;
        g_addPortRequest.count = count;
        g_addPortRequest.firstTcpPort = 4001;
        g_addPortRequest.txTriggerLevel = 255;
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        bool added = true;
        // The add dialog takes at most 32 ports a run: larger counts take several runs.
        for (UINT done = 0; done < count && added; done += 32) {
            g_addPortRequest.count = count - done < 32 ? count - done : 32;
            added = RunDialog(harness);
        }
        QueryPerformanceCounter(&t1);
        LoadPortTable();
        g_deviceCount = static_cast<int>(g_portTable.GetSize());
        g_portOperation = PORTOP_DELETE_ALL;
        bool deleted = RunDialog(harness);
        QueryPerformanceCounter(&t2);
        printf("%3u ports: add %.2f s%s, delete all %.2f s%s\n", count, Seconds(t0, t1, frequency),
               added ? "" : " (failed)", Seconds(t1, t2, frequency), deleted ? "" : " (failed)");
        fflush(stdout);
        if (argc <= 1)
            break;
    }
    return 0;
}
