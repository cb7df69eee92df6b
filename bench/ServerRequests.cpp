#include "bench/ServerRequests.h"

#include "bench/UnixCpu.h"

#include <stdlib.h>
#include <string.h>

#include <string>

namespace bench {

long long WriteCalls(DWORD unixPid)
{
    std::string io;
    if (unixPid == 0 || !benchcpu::ReadProcFile(unixPid, L"io", io))
        return -1;
    const char* at = strstr(io.c_str(), "syscw:");
    return at != nullptr ? strtoll(at + 6, nullptr, 10) : -1;
}

ServerRequests::ServerRequests()
{
    m_unixPid = benchcpu::FindThisProcess();
    // Reading the count opens, reads and closes a file: requests of their own. Two readings in
    // a row differ by exactly that; the least of a few such differences is the cost.
    long long last = WriteCalls(m_unixPid);
    for (int i = 0; i < 5 && last >= 0; ++i) {
        const long long next = WriteCalls(m_unixPid);
        if (next < 0)
            return;
        if (m_readCost < 0 || next - last < m_readCost)
            m_readCost = next - last;
        last = next;
    }
}

long long ServerRequests::Now()
{
    const long long calls = WriteCalls(m_unixPid);
    if (calls < 0)
        return -1;
    ++m_readings;
    return calls - m_readings * m_readCost;
}

}  // namespace bench
