// With every port configured (255), in the simulated machine, inside this one process: the time
// from start to the main dialog shown with its list filled, the port list's refill, Apply of
// every row beside its floor (floor.exe: the rows' values written through one open of each key,
// then the load), the monitor's row rebuild and a header click's sort of the monitor list, beside
// the sort's literal ordering (both cells read and compared anew on every comparison). scripts/bench-pages runs it, and
// measures the real program's CPU from outside. Not a test.
//
//   pages_bench                the figures above; leaves the 255 ports open (CON, CTS, DSR)
//   pages_bench --ports-only [N]  only makes N open ports (255)
//   pages_bench --traffic      lets every port's RX and TX blink
#include "app/Globals.h"
#include "contract/DriverInterface.h"
#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/SarventoCtlDlg.h"
#include "app/StatusDevice.h"
#include "controls/CellCompare.h"
#include "controls/RowSort.h"
#include "bench/BenchClock.h"
#include "bench/FloorRun.h"
#include "bench/ServerRequests.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <stdio.h>
#include <wchar.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

using bench::Now;
using bench::Time;
using uitest::Do;

constexpr int kRounds = 5;

template <class F>
double Best(F f)
{
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round)
        best = std::min(best, Time(f));
    return best;
}

constexpr BYTE kOpenStates = LINESTATE_CON | LINESTATE_CTS | LINESTATE_DSR;

void SetLineStates(unsigned count, BYTE states)
{
    for (unsigned com = 1; com <= count; ++com)
        simtest::SetLineState(com, states);
}

bool MakePorts(unsigned count)
{
    if (!simtest::ResetMachine()) {
        fprintf(stderr, "the simulated machine is not running\n");
        return false;
    }
    const ::testing::AssertionResult made = simtest::CreatePorts(simtest::FirstComNumbers(count), 120000);
    if (!made) {
        fprintf(stderr, "the ports could not be made: %s\n", made.message());
        return false;
    }
    SetLineStates(count, kOpenStates);
    return true;
}

// The report list's sort order found the literal way: both cells of the sort column read and
// compared on every comparison.
std::vector<int> LiteralOrder(CReportCtrl& list, int column)
{
    std::vector<int> order(static_cast<size_t>(list.GetItemCount()));
    std::iota(order.begin(), order.end(), 0);
    SortRowIndexes(order, [&](int row, int pivot) {
        return CompareCellTexts(list.GetItemText(row, column), list.GetItemText(pivot, column)) < 0;
    });
    return order;
}

// Apply of every row as the list shows it (ports not in use, so that every row is written), the
// best of kRounds, and the requests of one; beside the floor's.
void TimeApply()
{
    const unsigned rows = static_cast<unsigned>(g_portInfoDlg.m_list.GetItemCount());
    SetLineStates(rows, 0);
    if (!ReadLineStateTable()) {
        fprintf(stderr, "the line states could not be read: Apply not timed\n");
        return;
    }
    bench::ServerRequests requests;
    bench::Figure ours;
    ours.seconds = 1e9;
    ours.result = rows;
    for (int round = 0; round < kRounds; ++round) {
        const long long before = requests.Now();
        ours.seconds = std::min(ours.seconds, Time([] { g_portInfoDlg.ApplySettings(); }));
        const long long after = requests.Now();
        ours.requests = requests.Valid() && before >= 0 && after >= 0 ? after - before : -1;
    }
    bench::Figure floor;
    if (bench::RunFloor(L"apply", floor)) {
        char what[64];
        snprintf(what, sizeof what, "Apply of %u rows and the reload", rows);
        bench::PrintBesideFloor(what, ours, floor);
    }
    SetLineStates(rows, kOpenStates);
    ReadLineStateTable();
}

void TimeSorts(CReportCtrl& list)
{
    const wchar_t* const titles[] = {L"No", L"COM Port", L"IP", L"CON"};
    for (int column = 0; column < 4; ++column) {
        // Each round starts from the table's order, sorted by the "No" column descending.
        const auto unsort = [&] {
            list.SortColumn(0, true);
            list.SortColumn(0, false);
        };
        double ours = 1e9;
        double literal = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            unsort();
            literal = std::min(literal, Time([&] { LiteralOrder(list, column); }));
            ours = std::min(ours, Time([&] { list.SortColumn(column, true); }));
        }
        printf("monitor sort by %-9ls %6.1f ms a click, the literal ordering alone %7.1f ms\n", titles[column],
               ours * 1000, literal * 1000);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* mode = argc > 1 ? argv[1] : L"";
    if (wcscmp(mode, L"--traffic") == 0) {
        for (unsigned com = 1; com <= 255; ++com)
            simtest::SetTraffic(com, LINESTATE_RX | LINESTATE_TX);
        return 0;
    }
    const bool portsOnly = wcscmp(mode, L"--ports-only") == 0;
    if (!MakePorts(portsOnly && argc > 2 ? wcstoul(argv[2], nullptr, 10) : 255))
        return 1;
    if (portsOnly)
        return 0;

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
    app.m_pMainWnd = &dlg;
    const double start = Now();
    std::vector<uitest::Step> steps = {
        Do([&](CWnd&) {
            printf("start to the main dialog shown with %d rows: %.2f s\n",
                   uitest::ListViewRowCount(g_portInfoDlg.m_list.m_hWnd), Now() - start);
            const double first = Time([] { g_portInfoDlg.FillList(); });
            printf("port list refilled in %.3f s, best of %d %.3f s\n", first, kRounds,
                   Best([] { g_portInfoDlg.FillList(); }));
            fflush(stdout);
            TimeApply();
            CRect item;
            HWND hTab = GetDlgItem(dlg.m_hWnd, IDC_TAB);
            SendMessageW(hTab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
            uitest::ClickAt(hTab, item.CenterPoint().x, item.CenterPoint().y);
        }),
        uitest::WaitUntil([](CWnd&) { return g_monitorDlg.IsWindowVisible() != FALSE; }, 20000), Do([&](CWnd&) {
            // As the user sees it: with the Status tab shown.
            const double first = Time([] { g_monitorDlg.Refresh(); });
            printf("monitor rows rebuilt in %.3f s, best of %d %.3f s\n", first, kRounds,
                   Best([] { g_monitorDlg.Refresh(); }));
            fflush(stdout);
            TimeSorts(g_monitorDlg.m_list);
            fflush(stdout);
        })};
    ui.RunModal(dlg, steps);
    return 0;
}
