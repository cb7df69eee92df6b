// Start-up: one instance per desktop. In-process with the message-box recorder, and with the
// real program started twice.
#include "app/SarventoCtlApp.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kCaption[] = L"COM Sarvento Control v3.2.0.6";
const wchar_t kAlreadyRunning[] = L"Program is already running!";
const wchar_t kRegistryKey[] = L"Software\\로컬 응용 프로그램 마법사에서 생성된 응용 프로그램";

std::wstring ModulePath()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n);
}

std::wstring BaseNameWithoutExtension(const std::wstring& path)
{
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

// The built program: <build>\app\SarventoCtl3.exe, beside this test's <build>\tests\app_shell.
std::wstring ProgramPath()
{
    std::wstring dir = ModulePath();
    for (int up = 0; up < 3; ++up)
        dir = dir.substr(0, dir.find_last_of(L"\\/"));
    return dir + L"\\app\\SarventoCtl3.exe";
}

struct WindowQuery {
    DWORD processId;
    const wchar_t* className;  // null: any
    const wchar_t* caption;    // null: any
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != query->processId || !::IsWindowVisible(hWnd))
        return TRUE;
    wchar_t text[256] = {};
    if (query->className != nullptr && (!::GetClassNameW(hWnd, text, 256) || lstrcmpW(text, query->className) != 0))
        return TRUE;
    if (query->caption != nullptr && uitest::WindowText(hWnd) != query->caption)
        return TRUE;
    query->found.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className = nullptr, const wchar_t* caption = nullptr)
{
    WindowQuery query = {processId, className, caption, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        const std::vector<HWND> found = TopLevelWindows(processId, className, caption);
        if (!found.empty())
            return found.front();
        ::Sleep(50);
    }
    return nullptr;
}

std::vector<HWND> Children(HWND hParent, const wchar_t* className)
{
    std::vector<HWND> children;
    for (HWND h = ::FindWindowExW(hParent, nullptr, className, nullptr); h != nullptr;
         h = ::FindWindowExW(hParent, h, className, nullptr))
        children.push_back(h);
    return children;
}

// A started copy of the program; ended (forcibly, if need be) when the test is done with it.
class Program {
public:
    Program()
    {
        std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        m_started =
            ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi);
    }
    ~Program()
    {
        if (!m_started)
            return;
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_pi.hProcess, 1);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }
    bool Started() const { return m_started != FALSE; }
    DWORD Id() const { return m_pi.dwProcessId; }
    bool WaitForExit(DWORD timeoutMs) const { return ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0; }

private:
    BOOL m_started = FALSE;
    PROCESS_INFORMATION m_pi = {};
};

}  // namespace

TEST(StartUp, SecondInstanceOnlySaysItIsAlreadyRunning)
{
    // The running instance's mark: the event named after this executable.
    HANDLE hFirst = ::CreateEventW(nullptr, FALSE, TRUE, BaseNameWithoutExtension(ModulePath()).c_str());
    ASSERT_NE(nullptr, hFirst);

    uitest::UiHarness ui;
    {
        CSVT_SarventoCtlApp app;
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(nullptr, app.m_pMainWnd);
    }
    ASSERT_EQ(1u, ui.MessageBoxes().size());
    EXPECT_EQ(kAlreadyRunning, ui.MessageBoxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK), ui.MessageBoxes()[0].nType & MB_TYPEMASK);
    // No main dialog was started.
    EXPECT_EQ(0, ui.UnexpectedDialogs());
    ::CloseHandle(hFirst);
}

TEST(StartUp, StartingTheProgramTwiceLeavesTheFirstRunning)
{
    Program first;
    ASSERT_TRUE(first.Started()) << uitest::Narrow(ProgramPath());
    HWND hMain = WaitForWindow(first.Id(), nullptr, kCaption, 30000);
    ASSERT_NE(nullptr, hMain) << "the first program's main dialog did not appear";

    Program second;
    ASSERT_TRUE(second.Started());
    HWND hBox = WaitForWindow(second.Id(), L"#32770", nullptr, 30000);
    ASSERT_NE(nullptr, hBox) << "the second program showed no message box";
    EXPECT_EQ(L"SarventoCtl3", uitest::WindowText(hBox));
    bool saysRunning = false;
    for (HWND hStatic : Children(hBox, L"Static"))
        saysRunning = saysRunning || uitest::WindowText(hStatic) == kAlreadyRunning;
    EXPECT_TRUE(saysRunning);
    const std::vector<HWND> buttons = Children(hBox, L"Button");
    ASSERT_EQ(1u, buttons.size());
    EXPECT_EQ(IDOK, ::GetDlgCtrlID(buttons[0]));
    // The box is all the second program shows.
    EXPECT_EQ(1u, TopLevelWindows(second.Id()).size());

    ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(buttons[0]));
    EXPECT_TRUE(second.WaitForExit(10000)) << "the second program did not end after OK";

    EXPECT_TRUE(::IsWindowVisible(hMain));
    EXPECT_EQ(kCaption, uitest::WindowText(hMain));
    ::PostMessageW(hMain, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitForExit(10000)) << "the first program did not end on close";

    // The registry key the start-up names is never written.
    HKEY hKey = nullptr;
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_READ, &hKey));
    if (hKey != nullptr)
        ::RegCloseKey(hKey);
}
