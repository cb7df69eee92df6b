// How many handles this process holds, for tests that a request closes what it opened. Wine's
// GetProcessHandleCount reports nothing, so every handle value below a bound far above what a
// test program uses is asked about.
#pragma once

#include <windows.h>

namespace uitest {

inline int CountOpenHandles()
{
    int count = 0;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

}  // namespace uitest
