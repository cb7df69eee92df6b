// Driving real dialogs from a test, in-process, the way a user would.
//
// UiHarness runs a modal dialog with a script: each step runs from inside the dialog's own modal
// loop when the loop is idle, so whatever the step posts (clicks, keys) goes through the same
// queue, pre-translate walk and dialog manager as a user's input. When the script is done and the
// dialog is still open, the harness ends it with IDCANCEL and counts that. Dialogs that open from
// inside a step (a nested DoModal) take the scripts given to OnNextModal, in order.
//
// While a harness exists, message boxes are not shown: they are recorded, and answered with the
// answers queued by AnswerMessageBox, else with the box's default button (what Enter does).
#pragma once

#include "framework/framework.h"
#include "tests/support/WaitFor.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace uitest {

// One step of a script: an action run once, or a condition waited for.
struct Step {
    std::function<void(CWnd& dlg)> action;
    std::function<bool(CWnd& dlg)> until;
    DWORD timeoutMs = 0;
};

Step Do(std::function<void(CWnd& dlg)> action);
// Waits (the loop keeps running) until the condition holds; the test fails after timeoutMs, a
// bound meant for a busy machine, not a measure of speed.
Step WaitUntil(std::function<bool(CWnd& dlg)> condition, DWORD timeoutMs = kGenerousWaitMs);
// Lets the loop run for ms milliseconds: the time in which something must not happen.
Step RunFor(DWORD ms);

class UiHarness {
public:
    UiHarness();
    ~UiHarness();
    UiHarness(const UiHarness&) = delete;
    UiHarness& operator=(const UiHarness&) = delete;

    // Runs dlg.DoModal() with the script; returns what DoModal returned.
    INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps);
    // The script for the next modal loop that starts inside a step.
    void OnNextModal(std::vector<Step> steps);

    // How many dialogs were still open after their script and were ended by the harness.
    int DialogsEndedByHarness() const { return m_endedByHarness; }
    // Modal loops that started with no script waiting for them (they were ended at once).
    int UnexpectedDialogs() const { return m_unexpected; }

    void AnswerMessageBox(int answer) { m_answers.push_back(answer); }
    const std::vector<AfxMessageBoxCall>& MessageBoxes() const { return m_boxes; }
    void ClearMessageBoxes() { m_boxes.clear(); }

private:
    struct Script {
        CWnd* wnd = nullptr;
        HWND hWnd = nullptr;
        std::deque<Step> steps;
        bool waiting = false;  // the first step is a wait that has started
        DWORD waitStart = 0;
    };

    bool OnIdle(CWnd& wnd);
    int OnMessageBox(const AfxMessageBoxCall& call);

    std::vector<Script> m_active;  // innermost last
    std::deque<std::deque<Step>> m_pending;
    std::deque<int> m_answers;
    std::vector<AfxMessageBoxCall> m_boxes;
    int m_endedByHarness = 0;
    int m_unexpected = 0;
    int m_opened = 0;  // modal loops that took a script
    UINT_PTR m_wakeTimer = 0;
    AfxModalIdleHook m_oldHook;
    AfxMessageBoxHandler m_oldHandler;
};

// The button a message box of this type answers with when the user presses Enter.
int DefaultButton(UINT nType);

// ---- input, as the user's mouse and keyboard produce it (posted to the queue) ----
void Click(HWND hWnd);                          // left button down and up at the window's centre
void ClickAt(HWND hWnd, int x, int y);          // ... at a client point
void PressKey(HWND hWnd, UINT vk);              // WM_KEYDOWN then WM_KEYUP (TranslateMessage makes the WM_CHAR)
void PressKey(UINT vk);                         // ... to the window that has the keyboard focus
void PressAltKey(HWND hWnd, UINT vk);           // WM_SYSKEYDOWN/WM_SYSKEYUP with Alt held (Alt+F4, ...)
void TypeText(HWND hWnd, const wchar_t* text);  // one WM_CHAR per character
// Chooses an item of the window's menu bar (or its system menu) as the user would: the item must
// exist and be enabled; false (and a test failure) otherwise.
bool ChooseMenuItem(HWND hWnd, UINT id);
bool ChooseSystemMenuItem(HWND hWnd, UINT id);
// Handles what is queued now (for tests that drive a window outside any modal loop).
void PumpMessages();
// Runs the thread's messages through the library's loop (pre-translate walk included) until the
// condition holds or timeoutMs have passed; returns the condition's last answer.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = kGenerousWaitMs);

// ---- reading back ----
std::wstring WindowText(HWND hWnd);
std::wstring DlgItemText(HWND hDlg, int id);
int ListViewRowCount(HWND hList);
std::wstring ListViewCellText(HWND hList, int row, int column);
std::vector<std::wstring> ComboBoxItems(HWND hCombo);
std::vector<std::wstring> TabItems(HWND hTab);
std::wstring StatusBarText(HWND hStatus, int pane);

// UTF-8 for test messages.
std::string Narrow(const std::wstring& text);

// Saves what the window shows to a PNG file; false when it could not be captured or written.
bool SaveScreenshot(HWND hWnd, const std::wstring& path);

}  // namespace uitest
