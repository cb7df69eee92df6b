// A real message box (not the recorder) shown while a dialog opened from the main dialog's menu
// initialises: the box belongs to that dialog, and the main window stays disabled after it.
#include "tests/app_shell/MainDialogTestSupport.h"
#include "tests/support/SimMachine.h"

#include <string>

namespace {

using uitest::Do;
using uitest::WaitUntil;

// What the box looked like when it was found, and the main window's state then.
struct SeenBox {
    HWND hBox = nullptr;
    HWND hOwner = nullptr;
    BOOL mainEnabled = TRUE;
};

HWND g_hMain = nullptr;
SeenBox g_seen;

bool HasChildText(HWND hWnd, const wchar_t* text)
{
    struct Search {
        const wchar_t* text;
        bool found;
    } search = {text, false};
    ::EnumChildWindows(
        hWnd,
        [](HWND hChild, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            s->found = uitest::WindowText(hChild) == s->text;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs inside the box's own message loop: finds the box, notes who owns it, and presses its OK.
void CALLBACK AnswerFailBox(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_seen.hBox != nullptr)
        return;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM) -> BOOL {
            wchar_t className[16] = {};
            ::GetClassNameW(hWnd, className, 16);
            if (lstrcmpW(className, L"#32770") != 0 || !::IsWindowVisible(hWnd) ||
                !HasChildText(hWnd, L"ComDBOpen Fail!"))
                return TRUE;
            g_seen = {hWnd, ::GetWindow(hWnd, GW_OWNER), ::IsWindowEnabled(g_hMain)};
            ::PostMessageW(hWnd, WM_COMMAND, IDOK, 0);
            return FALSE;
        },
        0);
}

class BoxAtDialogStart : public MainDialogTest, public ::testing::WithParamInterface<UINT> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(simtest::ResetMachine());
        MainDialogTest::SetUp();
        g_seen = {};
    }
    void TearDown() override { simtest::ResetMachine(); }
};

TEST_P(BoxAtDialogStart, BelongsToTheDialogAndLeavesTheMainWindowDisabled)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS));
    const AfxMessageBoxHandler recorder = AfxSetMessageBoxHandler({});
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &AnswerFailBox);
    ui.OnNextModal(
        {WaitUntil([](CWnd&) { return g_seen.hBox != nullptr && !::IsWindow(g_seen.hBox); }, 20000), Do([](CWnd& w) {
             EXPECT_EQ(w.m_hWnd, g_seen.hOwner);
             EXPECT_FALSE(g_seen.mainEnabled);
             EXPECT_FALSE(::IsWindowEnabled(g_hMain)) << "the box enabled the main window";
             EXPECT_TRUE(::IsWindowEnabled(w.m_hWnd));
             w.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
         })});
    Run({Do([](CWnd& w) {
             g_hMain = w.m_hWnd;
             EXPECT_TRUE(uitest::ChooseMenuItem(w.m_hWnd, GetParam()));
         }),
         WaitUntil([](CWnd& w) { return ::IsWindowEnabled(w.m_hWnd) != FALSE; }, 20000)});
    ::KillTimer(nullptr, timer);
    AfxSetMessageBoxHandler(recorder);
    EXPECT_NE(nullptr, g_seen.hBox);
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

INSTANTIATE_TEST_SUITE_P(ComDbSettingAndAdd, BoxAtDialogStart, ::testing::Values(ID_COMDB, ID_PORT_ADD));

}  // namespace
