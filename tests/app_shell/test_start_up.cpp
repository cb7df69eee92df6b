// Start-up: one instance per desktop. In-process with the message-box recorder, and with the
// real program started twice.
#include "app/SarventoCtlApp.h"
#include "tests/support/ExternalProgram.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using uitest::Children;
using uitest::TopLevelWindows;
using uitest::WaitForWindow;

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
    uitest::ExternalProgram first;
    ASSERT_TRUE(first.Started()) << uitest::Narrow(uitest::BuiltProgramPath());
    HWND hMain = WaitForWindow(first.Id(), nullptr, kCaption, 30000);
    ASSERT_NE(nullptr, hMain) << "the first program's main dialog did not appear";

    uitest::ExternalProgram second;
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
