// With every port configured (255, or as many as given), in the simulated machine: the time from the menu command
// Configuration > ComDB Setting to the last tile of the COM-number database dialog on the screen,
// measured from outside the real program (scripts/bench-pages). This process starts
// SarventoCtl3.exe, sends the command to its main window and watches the screen until every tile
// shows its colour; the program runs with no hook or probe of ours. The first opening of a fresh
// program also loads what the later ones find ready. Then, in this process, the usage map and the
// dialog made and painted, each beside its floor (floor.exe: the map's bare calls, and a bare
// dialog of as many owner-drawn tiles with a tooltip each), with the requests a tile. Not a test.
#include "app/ComDBDlg.h"
#include "app/ComUsage.h"
#include "res/resource.h"
#include "bench/BenchClock.h"
#include "bench/FloorRun.h"
#include "bench/ServerRequests.h"
#include "tests/support/ExternalProgram.h"
#include "tests/support/Pixels.h"
#include "tests/support/SimMachine.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 5;
constexpr DWORD kTimeoutMs = 60000;
const wchar_t kComDbCaption[] = L"COM DB Setting";

bool IsTileColour(COLORREF colour)
{
    return colour == RGB(10, 128, 10) || colour == RGB(91, 125, 164) || colour == RGB(158, 157, 187);
}

// Where to look for each tile: a point just inside its rounded border, left of its caption, in
// the dialog's window coordinates. They are taken before the clock runs, from a hidden dialog of
// this process made from the same template: asking the program's windows instead would cost a
// round trip through the wineserver for each tile while the program needs it to open the dialog.
std::vector<POINT> TilePoints()
{
    HWND hDlg = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), AfxLoadDialogTemplate(MAKEINTRESOURCEW(IDD_COMDB)), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    RECT dlgRect;
    if (hDlg == nullptr || !GetWindowRect(hDlg, &dlgRect))
        return {};
    const int edge = GetSystemMetrics(SM_CXEDGE);
    std::vector<POINT> points;
    for (int i = 0; i < CSVT_ComDBDlg::kTileCount; ++i) {
        RECT tile;
        if (!GetWindowRect(GetDlgItem(hDlg, IDC_COMDB_COM1 + i), &tile)) {
            points.clear();
            break;
        }
        points.push_back({tile.left - dlgRect.left + edge + 3, (tile.top + tile.bottom) / 2 - dlgRect.top});
    }
    DestroyWindow(hDlg);
    return points;
}

// Whether the screen shows every tile filled with one of its colours.
bool EveryTileOnScreen(const RECT& dlgRect, const std::vector<POINT>& points)
{
    const int width = dlgRect.right - dlgRect.left;
    const int height = dlgRect.bottom - dlgRect.top;
    const std::vector<COLORREF> pixels = uitest::WindowPixels(nullptr, dlgRect);
    if (pixels.empty() || points.empty())
        return false;
    for (const POINT& point : points) {
        if (point.x < 0 || point.y < 0 || point.x >= width || point.y >= height ||
            !IsTileColour(pixels[static_cast<size_t>(point.y) * width + point.x]))
            return false;
    }
    return true;
}

// Looks every pollMs until the condition holds, within the benchmark's bound.
bool WaitFor(const std::function<bool()>& condition, DWORD pollMs = 5)
{
    return uitest::WaitFor(condition, kTimeoutMs, pollMs);
}

// The program's COM DB Setting dialog once it is shown; null before. The class narrows the search
// to the few dialogs there are, so a look costs little.
HWND FindComDbDialog(HWND hMain)
{
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, L"#32770", kComDbCaption); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, L"#32770", kComDbCaption)) {
        if (GetWindow(hWnd, GW_OWNER) == hMain && IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

// Opens the dialog in the running program once: seconds to the dialog shown and to its last
// tile on the screen, then closes it with Cancel. False when it did not happen in time. The
// screen is read every 10 ms (a look takes a few), so that the X server the program draws
// through stays free for it.
bool OpenOnce(HWND hMain, const std::vector<POINT>& points, double& shown, double& painted)
{
    const double start = bench::Now();
    if (!PostMessageW(hMain, WM_COMMAND, ID_COMDB, 0))
        return false;
    HWND hDlg = nullptr;
    if (!WaitFor([&] { return (hDlg = FindComDbDialog(hMain)) != nullptr; }))
        return false;
    shown = bench::Now() - start;
    RECT dlgRect;
    if (!GetWindowRect(hDlg, &dlgRect) || !WaitFor([&] { return EveryTileOnScreen(dlgRect, points); }, 10))
        return false;
    painted = bench::Now() - start;
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDC_COMDB_CANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDC_COMDB_CANCEL)));
    return WaitFor([&] { return !IsWindow(hDlg) && IsWindowEnabled(hMain); });
}

// The best of kRounds runs of action and the requests of the last.
template <class F>
bench::Figure Measure(bench::ServerRequests& requests, F action)
{
    bench::Figure figure;
    figure.seconds = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const long long before = requests.Now();
        figure.seconds = std::min(figure.seconds, bench::Time(action));
        const long long after = requests.Now();
        figure.requests = requests.Valid() && before >= 0 && after >= 0 ? after - before : -1;
    }
    return figure;
}

// In this process: the usage map that the dialog's opening builds, and the whole dialog made,
// shown, painted and destroyed, beside floor.exe's bare calls of the map and its bare dialog of as
// many owner-drawn tiles with a tooltip each.
bool TimeInProcess(unsigned count)
{
    bench::ServerRequests requests;
    const bench::Figure usage = Measure(requests, [] { BuildComUsageMap(); });
    const bench::Figure dialog = Measure(requests, [] {
        CSVT_ComDBDlg dlg;
        if (!dlg.Create(CSVT_ComDBDlg::IDD, nullptr))
            return;
        dlg.ShowWindow(SW_SHOW);
        ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        dlg.DestroyWindow();
    });
    bench::Figure floorUsage, floorTiles;
    if (!bench::RunFloor(L"usage", floorUsage) || !bench::RunFloor(L"tiles", floorTiles))
        return false;
    const unsigned tiles = floorTiles.result;
    if (tiles != CSVT_ComDBDlg::kTileCount) {
        fprintf(stderr, "the floor's dialog painted %u of %d tiles\n", tiles, CSVT_ComDBDlg::kTileCount);
        return false;
    }
    const bench::Figure floorDialog{floorUsage.seconds + floorTiles.seconds, floorUsage.requests + floorTiles.requests,
                                    tiles};
    char what[64];
    snprintf(what, sizeof what, "%u ports: COM-number usage map", count);
    bench::PrintBesideFloor(what, usage, floorUsage);
    snprintf(what, sizeof what, "%u ports: COM DB Setting dialog", count);
    bench::PrintBesideFloor(what, dialog, floorDialog);
    const bench::Figure perTile{(dialog.seconds - usage.seconds) / tiles,
                                (dialog.requests - usage.requests) / static_cast<long long>(tiles), tiles};
    const bench::Figure floorPerTile{floorTiles.seconds / tiles, floorTiles.requests / static_cast<long long>(tiles),
                                     tiles};
    bench::PrintBesideFloor("  a tile (the dialog less its map)", perTile, floorPerTile);
    return true;
}

}  // namespace

//   comdb_open_bench [COUNT]     with COUNT ports (255)
int wmain(int argc, wchar_t** argv)
{
    const unsigned count = argc > 1 ? wcstoul(argv[1], nullptr, 10) : 255;
    if (count < 1 || count > 255) {
        fprintf(stderr, "usage: comdb_open_bench [COUNT of 1 to 255]\n");
        return 2;
    }
    if (!simtest::ResetMachine()) {
        fprintf(stderr, "the simulated machine is not running\n");
        return 1;
    }
    const ::testing::AssertionResult made = simtest::CreatePorts(simtest::FirstComNumbers(count), 120000);
    if (!made) {
        fprintf(stderr, "the ports could not be made: %s\n", made.message());
        return 1;
    }

    const std::vector<POINT> points = TilePoints();
    if (points.empty()) {
        fprintf(stderr, "the dialog's template could not be laid out\n");
        return 1;
    }
    uitest::ExternalProgram program(uitest::BuiltProgramPath());
    if (!program.Started()) {
        fprintf(stderr, "SarventoCtl3.exe could not be started (%lu)\n", program.StartError());
        return 1;
    }
    HWND hMain = program.WaitForMainWindow(kTimeoutMs);
    const bool up = hMain != nullptr && WaitForInputIdle(program.Handle(), kTimeoutMs) == 0;
    int result = up ? 0 : 1;
    if (!up)
        fprintf(stderr, "the main window did not appear\n");
    std::vector<double> times;
    for (int round = 1; up && round <= kRounds; ++round) {
        double shown = 0, painted = 0;
        if (!OpenOnce(hMain, points, shown, painted)) {
            fprintf(stderr, "COM DB Setting, opening %d: not shown and painted within %lu s\n", round,
                    kTimeoutMs / 1000);
            result = 1;
            break;
        }
        printf("COM DB Setting, opening %d (%u ports): shown after %.2f s, last tile on the screen after %.2f s\n",
               round, count, shown, painted);
        fflush(stdout);
        times.push_back(painted);
    }
    if (times.size() == kRounds) {
        std::sort(times.begin(), times.end());
        printf("COM DB Setting, last tile on the screen: best %.2f s, median %.2f s of %d openings\n", times.front(),
               times[kRounds / 2], kRounds);
    }
    program.Close(10000);  // or ended when it does not close
    if (result == 0 && !TimeInProcess(count))
        result = 1;
    return result;
}
