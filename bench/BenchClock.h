// The benchmarks' clock: seconds on the performance counter, and how long a piece of work takes.
#pragma once

#include <windows.h>

namespace bench {

inline double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class F>
double Time(F f)
{
    const double start = Now();
    f();
    return Now() - start;
}

}  // namespace bench
