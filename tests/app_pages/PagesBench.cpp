// With every port configured (255), in the simulated machine: the time from start to the main
// dialog shown with its list filled, and what the monitor costs while the Status tab is shown,
// first with nothing changing and then with every port's RX and TX blinking
// (scripts/bench-pages). Not a test.
#include "app/Globals.h"
#include "app/DriverInterface.h"
#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/SarventoCtlDlg.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <cstdio>
#include <vector>

namespace {

using uitest::Do;
using uitest::WaitUntil;

constexpr DWORD kPhaseMs = 5000;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// User and kernel time of a thread, in milliseconds.
double CpuMs(HANDLE hThread)
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(hThread, &created, &exited, &kernel, &user))
        return -1;
    const auto ms = [](FILETIME t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// Cell images set in the monitor list, counted on the user-interface thread.
size_t g_cellSets = 0;

LRESULT CALLBACK CountCellSets(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == LVM_SETITEMW && msg->hwnd == g_monitorDlg.m_list.m_hWnd)
        ++g_cellSets;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct PhaseStart {
    DWORD tick = 0;
    double threadMs = 0;
    double uiMs = 0;
    size_t cellSets = 0;
    size_t reads = 0;
};

PhaseStart Begin(HANDLE hUiThread)
{
    simtest::ClearRequestLog();
    return {GetTickCount(), CpuMs(g_monitorDlg.PollingThread()), CpuMs(hUiThread), g_cellSets, 0};
}

void Report(const char* what, const PhaseStart& start, HANDLE hUiThread)
{
    const double seconds = (GetTickCount() - start.tick) / 1000.0;
    printf("%-40s polling thread %6.1f ms CPU/s, UI thread %6.1f ms CPU/s, %7.1f cells set/s, %5.1f reads/s\n", what,
           (CpuMs(g_monitorDlg.PollingThread()) - start.threadMs) / seconds, (CpuMs(hUiThread) - start.uiMs) / seconds,
           (g_cellSets - start.cellSets) / seconds, simtest::CountRequests(IOCTL_READ_LINE_STATES) / seconds);
    fflush(stdout);
}

std::vector<uitest::Step> RunFor(DWORD ms)
{
    auto start = std::make_shared<DWORD>(0);
    return {Do([start](CWnd&) { *start = GetTickCount(); }),
            WaitUntil([start, ms](CWnd&) { return GetTickCount() - *start >= ms; }, ms + 5000)};
}

}  // namespace

int wmain()
{
    if (!simtest::ResetMachine()) {
        fprintf(stderr, "the simulated machine is not running\n");
        return 1;
    }
    std::vector<unsigned> all;
    for (unsigned com = 1; com <= 255; ++com)
        all.push_back(com);
    for (const ::testing::AssertionResult& made :
         {simtest::WritePortSubkeys(all), simtest::PlugIn(), simtest::WaitForPorts(all, 120000)}) {
        if (!made) {
            fprintf(stderr, "the ports could not be made: %s\n", made.message());
            return 1;
        }
    }
    for (unsigned com = 1; com <= 255; ++com)
        simtest::SetLineState(com, LINESTATE_CON | LINESTATE_CTS | LINESTATE_DSR);

    HANDLE hUiThread = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &hUiThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    HHOOK hHook = SetWindowsHookExW(WH_CALLWNDPROC, &CountCellSets, nullptr, GetCurrentThreadId());

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
    app.m_pMainWnd = &dlg;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    PhaseStart phase;
    std::vector<uitest::Step> steps = {
        Do([&](CWnd&) {
            QueryPerformanceCounter(&t1);
            printf("255 ports: main dialog shown with %d rows after %.2f s\n",
                   uitest::ListViewRowCount(g_portInfoDlg.m_list.m_hWnd), Seconds(t0, t1));
            fflush(stdout);
            LARGE_INTEGER a, b, c;
            QueryPerformanceCounter(&a);
            g_portInfoDlg.FillList();
            QueryPerformanceCounter(&b);
            g_monitorDlg.Refresh();
            QueryPerformanceCounter(&c);
            printf("255 ports: port list filled in %.2f s, monitor rows rebuilt in %.2f s\n", Seconds(a, b),
                   Seconds(b, c));
            fflush(stdout);
            CRect item;
            HWND hTab = GetDlgItem(dlg.m_hWnd, IDC_TAB);
            SendMessageW(hTab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
            uitest::ClickAt(hTab, item.CenterPoint().x, item.CenterPoint().y);
        }),
        // Every port's CON, CTS and DSR drawn once.
        WaitUntil([](CWnd&) { return g_cellSets >= 255 * 8 + 255 * 3; }, 20000),
        Do([&](CWnd&) { phase = Begin(hUiThread); })};
    for (const uitest::Step& step : RunFor(kPhaseMs))
        steps.push_back(step);
    steps.push_back(Do([&](CWnd&) {
        Report("Status shown, nothing changes:", phase, hUiThread);
        for (unsigned com = 1; com <= 255; ++com)
            simtest::SetTraffic(com, LINESTATE_RX | LINESTATE_TX);
        phase = Begin(hUiThread);
    }));
    for (const uitest::Step& step : RunFor(kPhaseMs))
        steps.push_back(step);
    steps.push_back(Do([&](CWnd&) { Report("Status shown, every RX and TX blinks:", phase, hUiThread); }));
    ui.RunModal(dlg, steps);

    if (hHook != nullptr)
        UnhookWindowsHookEx(hHook);
    CloseHandle(hUiThread);
    return 0;
}
