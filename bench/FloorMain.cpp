// floor.exe: times one action's bare platform calls and counts their wineserver requests, and
// prints "seconds requests result" on one line (result: the ports, reads or tiles it handled).
// The benchmarks run it (FloorRun.h) in the same run as the program's own action.
//
//   floor load [ROUNDS]        the port table's load: best of ROUNDS (5); the requests of one
//   floor apply [ROUNDS]       every present port's row applied, then the load: best of ROUNDS
//                              (5); the requests of one
//   floor delete               every present port deleted
//   floor add FIRST COUNT      COUNT ports from COM FIRST added
//   floor status MS            the line states read every 100 ms for MS ms
//   floor blink MS [ROWS]      a bare list view of ROWS ports (255) drawing their line states for
//                              MS ms
//   floor usage                the COM-number usage map's sources: best of 5
//   floor tiles                a dialog of 259 owner-drawn buttons with a tooltip each, to its
//                              last tile painted: best of 5
#include "bench/BenchClock.h"
#include "bench/Floor.h"
#include "bench/ServerRequests.h"

#include <stdio.h>
#include <wchar.h>

#include <algorithm>
#include <functional>

namespace {

constexpr int kRounds = 5;

int Report(double seconds, long long requests, unsigned result)
{
    printf("%.4f %lld %u\n", seconds, requests, result);
    return 0;
}

// Best time of rounds runs; the requests and the result of the last.
int Measure(int rounds, const std::function<unsigned()>& action)
{
    bench::ServerRequests requests;
    double best = 1e9;
    long long counted = -1;
    unsigned result = 0;
    for (int round = 0; round < rounds; ++round) {
        const long long before = requests.Now();
        const double seconds = bench::Time([&] { result = action(); });
        const long long after = requests.Now();
        counted = requests.Valid() && before >= 0 && after >= 0 ? after - before : -1;
        best = std::min(best, seconds);
    }
    return Report(best, counted, result);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* command = argc > 1 ? argv[1] : L"";
    const unsigned a = argc > 2 ? wcstoul(argv[2], nullptr, 10) : 0;
    const unsigned b = argc > 3 ? wcstoul(argv[3], nullptr, 10) : 0;
    if (wcscmp(command, L"load") == 0)
        return Measure(a != 0 ? static_cast<int>(a) : kRounds, floorbench::Load);
    if (wcscmp(command, L"apply") == 0)
        return Measure(a != 0 ? static_cast<int>(a) : kRounds, floorbench::Apply);
    if (wcscmp(command, L"usage") == 0)
        return Measure(kRounds, floorbench::Usage);
    if (wcscmp(command, L"tiles") == 0)
        return Measure(kRounds, floorbench::Tiles);
    if (wcscmp(command, L"delete") == 0)
        return Measure(1, floorbench::Delete);
    if (wcscmp(command, L"add") == 0 && a >= 1 && b >= 1)
        return Measure(1, [a, b] { return floorbench::Add(a, b); });
    if (wcscmp(command, L"blink") == 0 && a >= 100)
        return Measure(1, [a, b] { return floorbench::Blink(a, b != 0 ? static_cast<int>(b) : 255); });
    if (wcscmp(command, L"status") == 0 && a >= 100)
        return Measure(1, [a] { return floorbench::ReadLineStates(a); });
    fprintf(stderr,
            "usage: floor load [ROUNDS] | apply [ROUNDS] | delete | usage | tiles | add FIRST COUNT | status MS | "
            "blink MS [ROWS]\n");
    return 2;
}
