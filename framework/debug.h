// Assertions: checks of programming errors (a caller broke a documented precondition).
//
// In a debug build a failed ASSERT reports the file and line to the debugger's output and stops
// the program; a release build (NDEBUG) evaluates nothing. A test that checks a precondition is
// caught installs its own handler with AfxSetAssertHandler and sees the failure instead.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

using AfxAssertHandler = std::function<void(const char* file, int line)>;

inline AfxAssertHandler& AfxAssertHandlerSlot()
{
    static AfxAssertHandler handler;
    return handler;
}

// Installs the handler for the whole process (an empty one brings back the default); returns
// the previous handler.
inline AfxAssertHandler AfxSetAssertHandler(AfxAssertHandler handler)
{
    AfxAssertHandler old = std::move(AfxAssertHandlerSlot());
    AfxAssertHandlerSlot() = std::move(handler);
    return old;
}

inline void AfxAssertFailedLine(const char* file, int line)
{
    if (const AfxAssertHandler& handler = AfxAssertHandlerSlot()) {
        handler(file, line);
        return;
    }
    char text[512];
    std::snprintf(text, sizeof text, "Assertion failed: %s(%d)\n", file, line);
    ::OutputDebugStringA(text);
    std::abort();
}

#ifdef NDEBUG
#define ASSERT(f) ((void)0)
#else
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#endif
