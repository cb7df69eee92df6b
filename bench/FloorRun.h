// Runs floor.exe (built beside the benchmarks) for one action and reads what it measured, and
// prints a benchmark's figure beside its floor.
#pragma once

#include <string>

namespace bench {

struct Figure {
    double seconds = -1;
    long long requests = -1;  // -1: not counted
    unsigned result = 0;      // what the action handled (ports, reads, tiles)
};

// "load", "delete", "add 1 32", ...: false (and a message on stderr) when floor.exe did not run
// or printed no figure.
bool RunFloor(const std::wstring& arguments, Figure& figure);

// One line: what, then ours and the floor (seconds and requests) and ours / floor of each.
void PrintBesideFloor(const char* what, const Figure& ours, const Figure& floor);

}  // namespace bench
