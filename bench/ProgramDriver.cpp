#include "bench/ProgramDriver.h"

#include "bench/BenchClock.h"
#include "tests/support/Outside.h"

#include <vector>

namespace {

const int kTabId = 1000;
const int kMonitorListId = 1001;
const int kPortListId = 1019;
const WPARAM kDeleteAllCommand = 32784;
const wchar_t kDeleteAllQuestion[] = L"Do you want to delete all ports?";
const wchar_t kProgressCaption[] = L"Delete All Port";

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

bool ProgramDriver::Start(int rows, DWORD timeoutMs)
{
    m_program = std::make_unique<uitest::ExternalProgram>();
    if (!m_program->Started())
        return Fail(L"cannot start " + uitest::BuiltProgramPath());
    m_main = m_program->WaitForMainWindow(timeoutMs);
    if (m_main == nullptr)
        return Fail(L"the main dialog did not show");
    m_tab = uitest::Descendant(m_main, kTabId);
    m_portList = uitest::Descendant(m_main, kPortListId);
    m_monitorList = uitest::Descendant(m_main, kMonitorListId);
    if (m_tab == nullptr || m_portList == nullptr || m_monitorList == nullptr)
        return Fail(L"the main dialog lacks its tabs, its port list or its monitor list");
    if (!uitest::WaitFor([this, rows] { return outside::ListRowCount(m_portList) == rows; }, timeoutMs))
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

bool ProgramDriver::WaitForEmptyList(DWORD timeoutMs, double* progressClosedAt)
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
    *progressClosedAt = bench::Now();
    if (!uitest::WaitFor([this] { return outside::ListRowCount(m_portList) == 0; }, timeoutMs))
        return Fail(L"the port list did not empty");
    return true;
}

void ProgramDriver::Close()
{
    // The program ends as when its window is closed; the helper ends it otherwise.
    if (m_program != nullptr)
        m_program->Close();
    m_program.reset();
    m_main = nullptr;
}
