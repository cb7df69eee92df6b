#include "tests/app_progress/ProgramDriver.h"

#include <commctrl.h>

#include <cwchar>

namespace {

const int kTabId = 1000;
const int kMonitorListId = 1001;
const int kPortListId = 1019;
const WPARAM kDeleteAllCommand = 32784;
const wchar_t kDeleteAllQuestion[] = L"Do you want to delete all ports?";
const wchar_t kProgressCaption[] = L"Delete All Port";
// How often the windows are looked at: often enough for a tenth of a second's accuracy, seldom
// enough not to load the program or the wineserver.
const DWORD kPollMs = 20;

bool HasClass(HWND wnd, const wchar_t* className)
{
    wchar_t name[64];
    return ::GetClassNameW(wnd, name, 64) > 0 && _wcsicmp(name, className) == 0;
}

bool HasText(HWND wnd, const wchar_t* text)
{
    wchar_t buffer[256];
    return ::GetWindowTextW(wnd, buffer, 256) >= 0 && wcscmp(buffer, text) == 0;
}

struct ChildSearch {
    const wchar_t* className;
    int id;               // or -1
    const wchar_t* text;  // or null
    HWND found;
};

BOOL CALLBACK MatchChild(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (HasClass(wnd, search->className) && (search->id < 0 || ::GetDlgCtrlID(wnd) == search->id) &&
        (search->text == nullptr || HasText(wnd, search->text))) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindChild(HWND parent, const wchar_t* className, int id, const wchar_t* text = nullptr)
{
    ChildSearch search{className, id, text, nullptr};
    ::EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct TopSearch {
    DWORD processId;
    const wchar_t* caption;    // or null
    const wchar_t* childText;  // or null
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<TopSearch*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(wnd, &processId);
    if (processId != search->processId || !::IsWindowVisible(wnd) || !HasClass(wnd, L"#32770"))
        return TRUE;
    if (search->caption != nullptr && !HasText(wnd, search->caption))
        return TRUE;
    if (search->childText != nullptr && FindChild(wnd, L"Static", -1, search->childText) == nullptr)
        return TRUE;
    if (search->caption == nullptr && search->childText == nullptr && FindChild(wnd, WC_TABCONTROLW, kTabId) == nullptr)
        return TRUE;
    search->found = wnd;
    return FALSE;
}

template <typename Condition>
bool PollUntil(DWORD timeoutMs, Condition condition)
{
    const ULONGLONG start = ::GetTickCount64();
    while (!condition()) {
        if (::GetTickCount64() - start > timeoutMs)
            return false;
        ::Sleep(kPollMs);
    }
    return true;
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

// The main dialog is the program's visible dialog with the tab control; others are found by
// their caption or by the text they show.
HWND ProgramDriver::FindTopLevel(const wchar_t* caption, const wchar_t* childText) const
{
    TopSearch search{m_process.dwProcessId, caption, childText, nullptr};
    ::EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
    std::wstring folder = m_exePath.substr(0, m_exePath.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + m_exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(m_exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &m_process))
        return Fail(L"cannot start " + m_exePath + L" (error " + std::to_wstring(::GetLastError()) + L")");
    if (!PollUntil(timeoutMs, [this] { return (m_main = FindTopLevel(nullptr, nullptr)) != nullptr; }))
        return Fail(L"the main dialog did not show");
    m_tab = FindChild(m_main, WC_TABCONTROLW, kTabId);
    m_portList = FindChild(m_main, WC_LISTVIEWW, kPortListId);
    m_monitorList = FindChild(m_main, WC_LISTVIEWW, kMonitorListId);
    if (m_portList == nullptr || m_monitorList == nullptr)
        return Fail(L"the main dialog has no port list or no monitor list");
    if (!PollUntil(timeoutMs, [this, rows] { return PortRows() == rows; }))
        return Fail(L"the port list did not show " + std::to_wstring(rows) + L" rows");
    return true;
}

bool ProgramDriver::ShowStatusTab(DWORD timeoutMs)
{
    // The arrow key moves the tab control's selection, and the control tells the dialog, as when
    // a user presses it with the tabs focused.
    if (!::PostMessageW(m_tab, WM_KEYDOWN, VK_RIGHT, 1) || !::PostMessageW(m_tab, WM_KEYUP, VK_RIGHT, 0xC0000001))
        return Fail(L"cannot post the arrow key to the tabs");
    if (!PollUntil(timeoutMs, [this] { return ::IsWindowVisible(m_monitorList) != FALSE; }))
        return Fail(L"the Status tab did not show");
    return true;
}

bool ProgramDriver::AskDeleteAll(DWORD timeoutMs)
{
    if (!::PostMessageW(m_main, WM_COMMAND, kDeleteAllCommand, 0))
        return Fail(L"cannot post Delete All");
    if (!PollUntil(timeoutMs, [this] { return (m_question = FindTopLevel(nullptr, kDeleteAllQuestion)) != nullptr; }))
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
    bool seen = PollUntil(timeoutMs, [this, &progress] {
        if (progress == nullptr)
            progress = FindTopLevel(kProgressCaption, nullptr);
        return progress != nullptr && !::IsWindow(progress);
    });
    if (!seen)
        return Fail(L"the progress dialog did not come and go");
    ::QueryPerformanceCounter(progressClosedAt);
    if (!PollUntil(timeoutMs, [this] { return PortRows() == 0; }))
        return Fail(L"the port list did not empty");
    return true;
}

void ProgramDriver::Close()
{
    if (m_process.hProcess == nullptr)
        return;
    if (m_main != nullptr)
        ::PostMessageW(m_main, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(m_process.hProcess, 20000) != WAIT_OBJECT_0)
        ::TerminateProcess(m_process.hProcess, 1);
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
    m_process = PROCESS_INFORMATION{};
    m_main = nullptr;
}
