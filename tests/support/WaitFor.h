// Waiting for a state that another thread, process or the machine brings about: poll until it
// holds, within a bound generous enough for a busy machine. Nothing is pumped meanwhile; a test
// that waits on its own thread's windows uses the harness's WaitUntil instead.
#pragma once

#include <windows.h>

#include <functional>

namespace uitest {

// What a state that normally comes within a second may take on a loaded machine.
constexpr DWORD kGenerousWaitMs = 20000;

// Polls the condition every pollMs until it holds (true) or timeoutMs has passed (false).
inline bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kGenerousWaitMs, DWORD pollMs = 20)
{
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() - start > timeoutMs)
            return false;
        ::Sleep(pollMs);
    }
}

}  // namespace uitest
