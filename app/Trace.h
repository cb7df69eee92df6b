// The cause of a failure that the program turns into false, kept for its developer. In a debug
// build each trace writes one line to the debugger's output (OutputDebugStringW; under Wine,
// WINEDEBUG=+debugstr shows it): the call that failed and its error code. A release build
// compiles the traces out. What the user sees stays the program's own messages.
#pragma once

#include <windows.h>

#include <stdio.h>

#ifdef NDEBUG
#define TRACE_FAILURE(call, code) ((void)0)
#define TRACE_LAST_ERROR(call) ((void)0)
#else
// "SarventoCtl: ComDBOpen failed: 5 (0x5)" for a call that gives its error code (a status).
#define TRACE_FAILURE(call, code) TraceFailure(call, static_cast<unsigned long>(code))
// The same with the thread's last error, read at once, for a call that sets it.
#define TRACE_LAST_ERROR(call) TraceFailure(call, ::GetLastError())

inline void TraceFailure(const wchar_t* call, unsigned long code)
{
    // The thread's last error stays as the failing call left it, for whoever reads it next.
    const DWORD lastError = ::GetLastError();
    wchar_t line[160];
    _snwprintf(line, sizeof line / sizeof line[0], L"SarventoCtl: %s failed: %lu (0x%lX)\n", call, code, code);
    line[sizeof line / sizeof line[0] - 1] = L'\0';
    ::OutputDebugStringW(line);
    ::SetLastError(lastError);
}
#endif
