// Drives the built SarventoCtl3.exe from another process, as a second program on the desktop
// would, for the delete benchmark: starts it, finds its windows, selects a tab, gives the Delete
// All command, answers the question with OK and watches the progress dialog and the port list.
// Nothing is hooked inside the program.
#pragma once

#include <windows.h>

#include "tests/support/ExternalProgram.h"

#include <memory>
#include <string>

class ProgramDriver {
public:
    ProgramDriver() = default;
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // Starts the program and waits until its main dialog shows `rows` rows in the port list.
    bool Start(int rows, DWORD timeoutMs);
    // Selects the Status tab with the arrow key and waits until the monitor page shows.
    bool ShowStatusTab(DWORD timeoutMs);
    // Gives Delete All from the menu and waits for its question; AnswerOk presses its OK.
    bool AskDeleteAll(DWORD timeoutMs);
    bool AnswerOk();
    // After AnswerOk: waits until the progress dialog has come and gone and the list is empty.
    // progressClosedAt is the bench::Now() when the dialog was first seen gone.
    bool WaitForEmptyList(DWORD timeoutMs, double* progressClosedAt);
    // Closes the program (it is ended when it does not close).
    void Close();

    const std::wstring& Failure() const { return m_failure; }

private:
    HWND FindQuestion() const;
    bool Fail(const std::wstring& what);

    std::unique_ptr<uitest::ExternalProgram> m_program;
    std::wstring m_failure;
    HWND m_main = nullptr;
    HWND m_tab = nullptr;
    HWND m_portList = nullptr;
    HWND m_monitorList = nullptr;
    HWND m_question = nullptr;
};
