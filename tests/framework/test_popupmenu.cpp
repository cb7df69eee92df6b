// Popup menus through their one road, the seconds clock, and modifier keys held by a test.
#include "framework/framework.h"
#include "tests/support/HeldKeys.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

namespace {

// A window that records the commands it receives.
class MenuOwner : public CWnd {
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM /*lParam*/) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        ASSERT_TRUE(m_menu.AppendMenu(MF_STRING | MF_CHECKED, 4, L"First"));
        ASSERT_TRUE(m_menu.AppendMenu(MF_SEPARATOR));
        ASSERT_TRUE(m_menu.AppendMenu(MF_STRING, 7, L"Second"));
    }
    void TearDown() override
    {
        AfxSetPopupMenuHandler(nullptr);
        m_menu.DestroyMenu();
        if (m_owner.m_hWnd)
            m_owner.DestroyWindow();
    }

    MenuOwner m_owner;
    CMenu m_menu;
};

TEST_F(PopupMenuTest, TheHandlerSeesTheBuiltMenuWhereAndForWhomItIsShown)
{
    std::vector<AfxPopupMenuCall> calls;
    CString texts;
    AfxSetPopupMenuHandler([&](const AfxPopupMenuCall& call) {
        calls.push_back(call);
        CMenu* pMenu = CMenu::FromHandle(call.hMenu);
        for (UINT i = 0; i < pMenu->GetMenuItemCount(); ++i) {
            wchar_t text[64] = {};
            ::GetMenuStringW(pMenu->m_hMenu, i, text, 64, MF_BYPOSITION);
            texts += CString(text) + L"|";
        }
        return 7u;
    });
    EXPECT_EQ(m_menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 120, 80, &m_owner), 7);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].hMenu, m_menu.m_hMenu);
    EXPECT_EQ(calls[0].nFlags, static_cast<UINT>(TPM_LEFTALIGN | TPM_RETURNCMD));
    EXPECT_EQ(calls[0].x, 120);
    EXPECT_EQ(calls[0].y, 80);
    EXPECT_EQ(calls[0].hWndOwner, m_owner.m_hWnd);
    EXPECT_EQ(texts, L"First||Second|");
    uitest::PumpMessages();
    EXPECT_TRUE(m_owner.commands.empty()) << "a returned command is not also sent";
}

TEST_F(PopupMenuTest, WithoutReturnCmdTheChoiceReachesTheOwnerAsACommand)
{
    UINT answer = 4;
    AfxSetPopupMenuHandler([&](const AfxPopupMenuCall&) { return answer; });
    EXPECT_TRUE(m_menu.TrackPopupMenu(TPM_LEFTALIGN, 0, 0, &m_owner));
    uitest::PumpMessages();
    EXPECT_EQ(m_owner.commands, std::vector<UINT>{4});

    answer = 0;  // dismissed
    EXPECT_TRUE(m_menu.TrackPopupMenu(TPM_LEFTALIGN, 0, 0, &m_owner));
    uitest::PumpMessages();
    EXPECT_EQ(m_owner.commands.size(), 1u);
}

TEST_F(PopupMenuTest, AMenuThatDoesNotExistIsNotOfferedToTheHandler)
{
    int calls = 0;
    AfxSetPopupMenuHandler([&](const AfxPopupMenuCall&) {
        ++calls;
        return 4u;
    });
    CMenu none;
    EXPECT_FALSE(none.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &m_owner));
    EXPECT_EQ(calls, 0);
}

// Without a handler the real menu runs its modal loop; keys pressed inside it pick an item.
TEST_F(PopupMenuTest, WithoutAHandlerTheRealMenuRunsAndReturnsTheUsersChoice)
{
    static HWND s_hWndOwner = nullptr;
    s_hWndOwner = m_owner.m_hWnd;
    ::SetForegroundWindow(m_owner.m_hWnd);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        // The menu's loop reads the keyboard of the thread: Down to "First", Down past the
        // separator to "Second", then Enter.
        HWND hWndMenu = ::FindWindowW(L"#32768", nullptr);
        HWND hWndTarget = hWndMenu ? hWndMenu : s_hWndOwner;
        ::PostMessageW(hWndTarget, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(hWndTarget, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(hWndTarget, WM_KEYDOWN, VK_RETURN, 0);
    });
    ASSERT_NE(timer, 0u);
    const BOOL chosen = m_menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 100, 100, &m_owner);
    EXPECT_EQ(chosen, 7);
}

TEST(Clock, ReadsTheInstalledClockAndTheRuntimesWithoutOne)
{
    long long now = 1000;
    AfxSetClock([&] { return now; });
    EXPECT_EQ(AfxGetTime(), 1000);
    now = 1002;
    EXPECT_EQ(AfxGetTime(), 1002);
    AfxSetClock(nullptr);
    const long long real = static_cast<long long>(std::time(nullptr));
    EXPECT_LE(real - AfxGetTime(), 1);
    EXPECT_LE(AfxGetTime() - real, 1);
}

TEST(HeldKeys, GetKeyStateSeesTheKeysOnlyInsideTheScope)
{
    ASSERT_GE(::GetKeyState(VK_CONTROL), 0);
    {
        uitest::HeldKeys keys{VK_CONTROL, VK_SHIFT};
        ASSERT_TRUE(keys.ok());
        EXPECT_LT(::GetKeyState(VK_CONTROL), 0);
        EXPECT_LT(::GetKeyState(VK_SHIFT), 0);
        EXPECT_LT(::GetKeyState(VK_LCONTROL), 0);
        EXPECT_GE(::GetKeyState(VK_MENU), 0);
    }
    EXPECT_GE(::GetKeyState(VK_CONTROL), 0);
    EXPECT_GE(::GetKeyState(VK_SHIFT), 0);
}

}  // namespace
