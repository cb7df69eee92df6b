// Wineserver requests counted, not timed, so that runs on machines of different speed compare.
//
// Wine sends every request to the wineserver with one write system call of the requesting thread
// (on that thread's request pipe), and Linux counts the write calls of a process in /proc/PID/io
// ("syscw"). So the change of that count over a stretch of work is the number of requests the
// process made in it, plus its other writes: none in the device and registry work measured here;
// in a process that draws, its X11 output as well (a flush of the X queue is one write).
#pragma once

#include <windows.h>

namespace bench {

// Write calls of the Unix process so far, or -1 when /proc does not tell.
long long WriteCalls(DWORD unixPid);

// Counts the requests of this process.
class ServerRequests {
public:
    // Finds this process in /proc and measures what one reading of the count costs itself.
    ServerRequests();
    bool Valid() const { return m_unixPid != 0 && m_readCost >= 0; }
    // Requests so far, less the readings' own.
    long long Now();

    template <class F>
    long long Count(F f)
    {
        const long long start = Now();
        f();
        return Now() - start;
    }

private:
    DWORD m_unixPid = 0;
    long long m_readCost = -1;
    long long m_readings = 0;
};

}  // namespace bench
