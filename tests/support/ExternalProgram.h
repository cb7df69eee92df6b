// The built program (or another) started as a process of its own, and its windows found from
// outside, for the tests and benchmarks that watch it from another process.
#pragma once

#include <windows.h>

#include "tests/support/WaitFor.h"

#include <string>
#include <vector>

namespace uitest {

// The caption of the program's main dialog.
extern const wchar_t kMainCaption[];

// <build>\app\SarventoCtl3.exe, for a program one or two folders below the build folder.
std::wstring BuiltProgramPath();

// A started process; ended (forcibly, if need be) when the test is done with it.
class ExternalProgram {
public:
    // Starts the program at path in folder (empty: this process's current folder), the process
    // made with the security attributes given (null: the default ones). Wine now and then refuses
    // to start an image copied a moment ago with ERROR_INTERNAL_ERROR; it starts once the copy
    // has settled, so that one answer is tried again for up to 10 s.
    explicit ExternalProgram(const std::wstring& path = BuiltProgramPath(), const std::wstring& folder = std::wstring(),
                             SECURITY_ATTRIBUTES* processAttributes = nullptr);
    ~ExternalProgram();
    ExternalProgram(const ExternalProgram&) = delete;
    ExternalProgram& operator=(const ExternalProgram&) = delete;

    bool Started() const { return m_started != FALSE; }
    DWORD StartError() const { return m_startError; }  // why it did not start
    DWORD Id() const { return m_pi.dwProcessId; }
    DWORD ThreadId() const { return m_pi.dwThreadId; }
    HANDLE Handle() const { return m_pi.hProcess; }
    bool WaitForExit(DWORD timeoutMs) const;
    DWORD ExitCode() const;

    // The program's main dialog once it shows; null after timeoutMs.
    HWND WaitForMainWindow(DWORD timeoutMs = kGenerousWaitMs) const;
    // Closes the main dialog as its close box does; true when the program then ended in time.
    bool Close(DWORD timeoutMs = kGenerousWaitMs);

private:
    BOOL m_started = FALSE;
    DWORD m_startError = ERROR_SUCCESS;
    PROCESS_INFORMATION m_pi = {};
};

// Visible top-level windows of a process, of a class and with a caption (null: any).
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className = nullptr,
                                  const wchar_t* caption = nullptr);
// The first such window once there is one; null after timeoutMs.
HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);
// Direct children of a class.
std::vector<HWND> Children(HWND hParent, const wchar_t* className);
// The first window below hRoot, at any depth, with the control id; null when there is none.
HWND Descendant(HWND hRoot, int id);

}  // namespace uitest
