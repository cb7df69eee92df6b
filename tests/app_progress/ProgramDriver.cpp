#include "tests/app_progress/ProgramDriver.h"

#include <commctrl.h>

#include "tests/support/WaitFor.h"

#include <vector>

namespace {

const int kTabId = 1000;
const int kMonitorListId = 1001;
const int kPortListId = 1019;
const WPARAM kDeleteAllCommand = 32784;
const wchar_t kMainCaption[] = L"COM Sarvento Control v3.2.0.6";
const wchar_t kDeleteAllQuestion[] = L"Do you want to delete all ports?";
const wchar_t kProgressCaption[] = L"Delete All Port";

// The first descendant of a class with this control id.
HWND FindControl(HWND parent, const wchar_t* className, int id)
{
    for (HWND child = ::FindWindowExW(parent, nullptr, nullptr, nullptr); child != nullptr;
         child = ::FindWindowExW(parent, child, nullptr, nullptr)) {
        wchar_t name[64];
        if (::GetDlgCtrlID(child) == id && ::GetClassNameW(child, name, 64) > 0 && _wcsicmp(name, className) == 0)
            return child;
        if (HWND found = FindControl(child, className, id))
            return found;
    }
    return nullptr;
}

}  // namespace

ProgramDriver::~ProgramDriver()
{
    Close();
}

bool ProgramDriver::Fail(const std::wstring& what)
{
    m_failure = what;
    return false;
}

// A message box of the program whose text is the Delete All question.
HWND ProgramDriver::FindQuestion() const
{
    for (HWND box : uitest::TopLevelWindows(m_program->Id(), L"#32770")) {
        for (HWND text : uitest::Children(box, L"Static")) {
            wchar_t buffer[128];
            if (::GetWindowTextW(text, buffer, 128) > 0 && wcscmp(buffer, kDeleteAllQuestion) == 0)
                return box;
        }
    }
    return nullptr;
}

int ProgramDriver::PortRows() const
{
    DWORD_PTR rows = 0;
    if (!::SendMessageTimeoutW(m_portList, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &rows))
        return -1;
    return static_cast<int>(rows);
}

bool ProgramDriver::Start(int rows, DWORD timeoutMs)
{
    m_program = std::make_unique<uitest::ExternalProgram>();
    if (!m_program->Started())
        return Fail(L"cannot start " + uitest::BuiltProgramPath());
    m_main = uitest::WaitForWindow(m_program->Id(), L"#32770", kMainCaption, timeoutMs);
    if (m_main == nullptr)
        return Fail(L"the main dialog did not show");
    m_tab = FindControl(m_main, WC_TABCONTROLW, kTabId);
    m_portList = FindControl(m_main, WC_LISTVIEWW, kPortListId);
    m_monitorList = FindControl(m_main, WC_LISTVIEWW, kMonitorListId);
    if (m_tab == nullptr || m_portList == nullptr || m_monitorList == nullptr)
        return Fail(L"the main dialog lacks its tabs, its port list or its monitor list");
    if (!uitest::WaitFor([this, rows] { return PortRows() == rows; }, timeoutMs))
        return Fail(L"the port list did not show " + std::to_wstring(rows) + L" rows");
    return true;
}

bool ProgramDriver::ShowStatusTab(DWORD timeoutMs)
{
    // The arrow key moves the tab control's selection, and the control tells the dialog, as when
    // a user presses it with the tabs focused.
    if (!::PostMessageW(m_tab, WM_KEYDOWN, VK_RIGHT, 1) || !::PostMessageW(m_tab, WM_KEYUP, VK_RIGHT, 0xC0000001))
        return Fail(L"cannot post the arrow key to the tabs");
    if (!uitest::WaitFor([this] { return ::IsWindowVisible(m_monitorList) != FALSE; }, timeoutMs))
        return Fail(L"the Status tab did not show");
    return true;
}

bool ProgramDriver::AskDeleteAll(DWORD timeoutMs)
{
    if (!::PostMessageW(m_main, WM_COMMAND, kDeleteAllCommand, 0))
        return Fail(L"cannot post Delete All");
    if (!uitest::WaitFor([this] { return (m_question = FindQuestion()) != nullptr; }, timeoutMs))
        return Fail(L"Delete All asked no question");
    return true;
}

bool ProgramDriver::AnswerOk()
{
    HWND ok = ::GetDlgItem(m_question, IDOK);
    if (ok == nullptr)
        return Fail(L"the question has no OK button");
    if (!::PostMessageW(m_question, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok)))
        return Fail(L"cannot press OK in the question");
    return true;
}

bool ProgramDriver::WaitForEmptyList(DWORD timeoutMs, LARGE_INTEGER* progressClosedAt)
{
    // The list is only refilled after the progress dialog has ended: until then only the
    // dialog's window is looked at, so that the program's busy user-interface thread is not
    // asked for anything while it works.
    HWND progress = nullptr;
    bool cameAndWent = uitest::WaitFor(
        [this, &progress] {
            if (progress == nullptr) {
                std::vector<HWND> found = uitest::TopLevelWindows(m_program->Id(), L"#32770", kProgressCaption);
                progress = found.empty() ? nullptr : found.front();
            }
            return progress != nullptr && !::IsWindow(progress);
        },
        timeoutMs);
    if (!cameAndWent)
        return Fail(L"the progress dialog did not come and go");
    ::QueryPerformanceCounter(progressClosedAt);
    if (!uitest::WaitFor([this] { return PortRows() == 0; }, timeoutMs))
        return Fail(L"the port list did not empty");
    return true;
}

void ProgramDriver::Close()
{
    if (m_program == nullptr)
        return;
    // The program ends as when its window is closed; the helper ends it otherwise.
    if (m_main != nullptr && ::PostMessageW(m_main, WM_CLOSE, 0, 0))
        m_program->WaitForExit(uitest::kGenerousWaitMs);
    m_program.reset();
    m_main = nullptr;
}
