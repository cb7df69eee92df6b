// The built program started as a process of its own, and its windows found from outside.
#pragma once

#include <windows.h>

#include "tests/support/WaitFor.h"

#include <string>
#include <vector>

namespace uitest {

// <build>\app\SarventoCtl3.exe, for a test program two folders below the build folder.
std::wstring BuiltProgramPath();

// A started copy of the program; ended (forcibly, if need be) when the test is done with it.
class ExternalProgram {
public:
    ExternalProgram();
    ~ExternalProgram();
    ExternalProgram(const ExternalProgram&) = delete;
    ExternalProgram& operator=(const ExternalProgram&) = delete;

    bool Started() const { return m_started != FALSE; }
    DWORD Id() const { return m_pi.dwProcessId; }
    DWORD ThreadId() const { return m_pi.dwThreadId; }
    bool WaitForExit(DWORD timeoutMs) const;
    DWORD ExitCode() const;

private:
    BOOL m_started = FALSE;
    PROCESS_INFORMATION m_pi = {};
};

// Visible top-level windows of a process, of a class and with a caption (null: any).
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className = nullptr,
                                  const wchar_t* caption = nullptr);
// The first such window once there is one; null after timeoutMs.
HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);
// Direct children of a class.
std::vector<HWND> Children(HWND hParent, const wchar_t* className);

}  // namespace uitest
