#include "framework/clock.h"

#include <ctime>
#include <mutex>
#include <utility>

namespace {

std::mutex g_clockLock;
AfxClock g_clock;

}  // namespace

AfxClock AfxSetClock(AfxClock clock)
{
    std::lock_guard<std::mutex> guard(g_clockLock);
    AfxClock old = std::move(g_clock);
    g_clock = std::move(clock);
    return old;
}

long long AfxGetTime()
{
    AfxClock clock;
    {
        std::lock_guard<std::mutex> guard(g_clockLock);
        clock = g_clock;
    }
    if (clock)
        return clock();
    return static_cast<long long>(std::time(nullptr));
}
