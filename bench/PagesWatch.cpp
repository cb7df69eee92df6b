// Watches and drives the running SarventoCtl3.exe from another process, for scripts/bench-pages:
// nothing of it runs inside the program, which is measured as a user runs it. Not a test.
//
//   pages_watch wait-list ROWS             waits until the main dialog is up with its port list
//                                          visible, ROWS rows in it and nothing left to paint;
//                                          prints, as Unix seconds, when the rows were first seen
//                                          and when all was painted
//   pages_watch status                     clicks the "Status" tab and waits until the CON cells
//                                          of the rows in view are drawn on
//   pages_watch blinks MS                  counts, for MS ms, how often the RX and TX cells of
//                                          the first row change their image; prints changes/s
//   pages_watch cpu SECONDS PID            measures for SECONDS s the CPU that the program (Unix
//                                          process PID), its user-interface thread and the
//                                          prefix's wineserver use, in ms a second, and the
//                                          program's wineserver requests a second (its write
//                                          calls, X11 output among them)
//   pages_watch close                      closes the main dialog
#include "res/resource.h"
#include "bench/BenchClock.h"
#include "bench/ServerRequests.h"
#include "tests/support/ExternalProgram.h"
#include "tests/support/Outside.h"
#include "bench/UnixCpu.h"

#include <windows.h>

#include <commctrl.h>

#include <stdio.h>
#include <wchar.h>

#include <algorithm>

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr int kConColumn = 3;
constexpr int kTxColumn = 5;
constexpr int kRxColumn = 6;
constexpr int kImageOn = 2;

double UnixSeconds()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>(ticks - 116444736000000000ULL) / 1e7;
}

HWND FindMain()
{
    return FindWindowW(L"#32770", uitest::kMainCaption);
}

bool NothingToPaint(HWND hWnd)
{
    return !GetUpdateRect(hWnd, nullptr, FALSE);
}

int WaitList(int rows)
{
    // Ready to watch: the script starts the program after this line.
    printf("watching\n");
    fflush(stdout);
    double filled = 0;
    const bool shown = uitest::WaitFor(
        [rows, &filled] {
            HWND hMain = FindMain();
            if (hMain == nullptr || !IsWindowVisible(hMain))
                return false;
            HWND hList = uitest::Descendant(hMain, IDC_PORTLIST);
            if (hList == nullptr || !IsWindowVisible(hList) || outside::ListRowCount(hList) != rows)
                return false;
            if (filled == 0)
                filled = UnixSeconds();
            return NothingToPaint(hMain) && NothingToPaint(hList);
        },
        kTimeoutMs, 2);
    if (!shown) {
        fprintf(stderr, "the port list with %d rows did not show\n", rows);
        return 1;
    }
    // When the list was first seen visible with its rows, and when everything was painted.
    printf("%.6f %.6f\n", filled, UnixSeconds());
    return 0;
}

// Clicks a tab of the main dialog's tab control, as the mouse does.
bool ClickTab(HWND hMain, int tab)
{
    HWND hTab = GetDlgItem(hMain, IDC_TAB);
    const RECT rect = hTab != nullptr ? outside::TabItemRect(hTab, tab) : RECT{};
    if (rect.right <= rect.left)
        return false;
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return PostMessageW(hTab, WM_LBUTTONDOWN, MK_LBUTTON, point) && PostMessageW(hTab, WM_LBUTTONUP, 0, point);
}

int ShowStatus()
{
    HWND hMain = FindMain();
    HWND hList = hMain != nullptr ? uitest::Descendant(hMain, IDC_MONITORLIST) : nullptr;
    if (hList == nullptr || !ClickTab(hMain, 1)) {
        fprintf(stderr, "no main dialog with a monitor list\n");
        return 1;
    }
    const bool drawn = uitest::WaitFor(
        [&] {
            const int rows = static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
            const int top = static_cast<int>(SendMessageW(hList, LVM_GETTOPINDEX, 0, 0));
            const int last = std::min(rows, top + static_cast<int>(SendMessageW(hList, LVM_GETCOUNTPERPAGE, 0, 0))) - 1;
            return IsWindowVisible(hList) && rows > 0 && outside::ListImage(hList, top, kConColumn) == kImageOn &&
                   outside::ListImage(hList, last, kConColumn) == kImageOn;
        },
        kTimeoutMs, 20);
    if (!drawn) {
        fprintf(stderr, "the Status tab did not show every port open\n");
        return 1;
    }
    return 0;
}

int CountBlinks(DWORD ms)
{
    HWND hMain = FindMain();
    HWND hList = hMain != nullptr ? uitest::Descendant(hMain, IDC_MONITORLIST) : nullptr;
    if (hList == nullptr) {
        fprintf(stderr, "no monitor list\n");
        return 1;
    }
    int rx = outside::ListImage(hList, 0, kRxColumn);
    int tx = outside::ListImage(hList, 0, kTxColumn);
    int rxChanges = 0, txChanges = 0;
    const double start = bench::Now();
    while (bench::Now() - start < ms / 1000.0) {
        Sleep(2);
        const int nowRx = outside::ListImage(hList, 0, kRxColumn);
        const int nowTx = outside::ListImage(hList, 0, kTxColumn);
        rxChanges += nowRx != rx;
        txChanges += nowTx != tx;
        rx = nowRx;
        tx = nowTx;
    }
    const double seconds = bench::Now() - start;
    printf("%.1f %.1f\n", rxChanges / seconds, txChanges / seconds);
    return 0;
}

// The CPU of the program, of its user-interface thread and of the wineserver over the time, read
// from outside the program in /proc.
int MeasureCpu(double seconds, DWORD programPid)
{
    const DWORD server = benchcpu::FindWineserver();
    const auto read = [&](double cpu[3]) {
        cpu[0] = benchcpu::CpuSeconds(programPid);
        cpu[1] = benchcpu::MainThreadCpuSeconds(programPid);
        cpu[2] = benchcpu::CpuSeconds(server);
        return cpu[0] >= 0 && cpu[1] >= 0 && cpu[2] >= 0;
    };
    double before[3], after[3];
    const long long writesBefore = bench::WriteCalls(programPid);
    const double start = bench::Now();
    if (server == 0 || !read(before)) {
        fprintf(stderr, "the CPU of the program %lu or of the wineserver cannot be read\n", programPid);
        return 1;
    }
    Sleep(static_cast<DWORD>(seconds * 1000));
    if (!read(after)) {
        fprintf(stderr, "the program %lu has gone\n", programPid);
        return 1;
    }
    const long long writesAfter = bench::WriteCalls(programPid);
    const double elapsed = bench::Now() - start;
    const double f = 1000 / elapsed;
    const double program = (after[0] - before[0]) * f, ui = (after[1] - before[1]) * f,
                 wineserver = (after[2] - before[2]) * f;
    const double requests = writesBefore >= 0 && writesAfter >= 0 ? (writesAfter - writesBefore) / elapsed : -1;
    printf("program %5.1f (UI thread %5.1f) + wineserver %5.1f = %5.1f ms CPU/s, %6.0f requests/s\n", program, ui,
           wineserver, program + wineserver, requests);
    return 0;
}

int Close()
{
    HWND hMain = FindMain();
    if (hMain == nullptr)
        return 1;
    PostMessageW(hMain, WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* command = argc > 1 ? argv[1] : L"";
    if (wcscmp(command, L"wait-list") == 0 && argc > 2)
        return WaitList(_wtoi(argv[2]));
    if (wcscmp(command, L"status") == 0)
        return ShowStatus();
    if (wcscmp(command, L"blinks") == 0 && argc > 2)
        return CountBlinks(static_cast<DWORD>(_wtoi(argv[2])));
    if (wcscmp(command, L"cpu") == 0 && argc > 3)
        return MeasureCpu(_wtof(argv[2]), wcstoul(argv[3], nullptr, 10));
    if (wcscmp(command, L"close") == 0)
        return Close();
    fprintf(stderr, "usage: pages_watch wait-list ROWS | status | blinks MS | cpu SECONDS PID | close\n");
    return 2;
}
