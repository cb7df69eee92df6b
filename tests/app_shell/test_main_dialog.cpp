// The main dialog as the user finds it: caption, menus, tabs, tool buttons, status bar, layout,
// keys that must do nothing, and the ways it closes.
#include "tests/app_shell/MainDialogTestSupport.h"

#include <memory>
#include <string>
#include <vector>

using uitest::Do;
using uitest::WaitUntil;

CRect ChildRect(HWND hWnd)
{
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

CPoint PageOrigin(HWND hDlg)
{
    CRect tab(7, 7, 7 + 334, 7 + 61);
    ::MapDialogRect(hDlg, &tab);
    return CPoint(tab.left + 8, tab.top + 70);
}

void ExpectPlaced(const CRect& rect, int x, int y, int width, int height, const char* what)
{
    EXPECT_EQ(x, rect.left) << what;
    EXPECT_EQ(y, rect.top) << what;
    EXPECT_EQ(width, rect.Width()) << what;
    EXPECT_EQ(height, rect.Height()) << what;
}

namespace {

const UINT kToolButtonIds[] = {IDC_BTN_ADD, IDC_BTN_DELETE, IDC_BTN_APPLY, IDC_BTN_REVERT};

std::wstring MenuText(HMENU hMenu, UINT pos)
{
    wchar_t text[128] = {};
    ::GetMenuStringW(hMenu, pos, text, 128, MF_BYPOSITION);
    return text;
}

struct MenuItem {
    std::wstring text;
    UINT id;
};

std::vector<MenuItem> PopupItems(HMENU hPopup)
{
    std::vector<MenuItem> items;
    for (int i = 0; i < ::GetMenuItemCount(hPopup); ++i)
        items.push_back({MenuText(hPopup, static_cast<UINT>(i)), ::GetMenuItemID(hPopup, i)});
    return items;
}

void ExpectItems(HMENU hPopup, const std::vector<MenuItem>& expected, const char* popup)
{
    const std::vector<MenuItem> items = PopupItems(hPopup);
    ASSERT_EQ(expected.size(), items.size()) << popup;
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(expected[i].text, items[i].text) << popup << " item " << i;
        EXPECT_EQ(expected[i].id, items[i].id) << popup << " item " << i;
    }
}

}  // namespace

TEST_F(MainDialogTest, OpensAtTheOriginWithItsCaptionTabsAndReadyStatus)
{
    Run({Do([](CWnd& w) {
        HWND hDlg = w.m_hWnd;
        EXPECT_EQ(L"COM Sarvento Control v3.2.0.6", uitest::WindowText(hDlg));
        CRect window;
        ::GetWindowRect(hDlg, &window);
        ExpectPlaced(window, 0, 0, 700, 500, "main dialog");
        EXPECT_EQ(hDlg, g_hMainWnd);
        const DWORD version = ::GetVersion();
        EXPECT_EQ(LOBYTE(LOWORD(version)) * 10 + HIBYTE(LOWORD(version)), g_osVersion);

        HWND hTab = ::GetDlgItem(hDlg, IDC_TAB);
        EXPECT_EQ((std::vector<std::wstring>{L"Port Info", L"Status"}), uitest::TabItems(hTab));
        EXPECT_EQ(0, TabCtrl_GetCurSel(hTab));
        EXPECT_EQ(0, g_currentTab.load());
        EXPECT_EQ(hDlg, ::GetParent(g_portInfoDlg.m_hWnd));
        EXPECT_EQ(hDlg, ::GetParent(g_monitorDlg.m_hWnd));
        EXPECT_TRUE(::IsWindowVisible(g_portInfoDlg.m_hWnd));
        EXPECT_FALSE(::IsWindowVisible(g_monitorDlg.m_hWnd));
        EXPECT_EQ(IDC_PORTLIST, ::GetDlgCtrlID(g_portInfoDlg.m_list.m_hWnd));
        EXPECT_EQ(IDC_MONITORLIST, ::GetDlgCtrlID(g_monitorDlg.m_list.m_hWnd));

        HWND hStatus = ::GetDlgItem(hDlg, 59393);
        ASSERT_NE(nullptr, hStatus);
        EXPECT_EQ(g_statusBar.m_hWnd, hStatus);
        EXPECT_EQ(L"  Ready", uitest::StatusBarText(hStatus, 0));

        EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendMessageW(hDlg, WM_QUERYDRAGICON, 0, 0)));
        EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendMessageW(hDlg, WM_GETICON, ICON_BIG, 0)));
        EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendMessageW(hDlg, WM_GETICON, ICON_SMALL, 0)));
    })});
}

TEST_F(MainDialogTest, MenuBarHoldsExactlyTheFourPopupsAndTheirCommands)
{
    Run({Do([](CWnd& w) {
        HMENU hMenu = ::GetMenu(w.m_hWnd);
        ASSERT_NE(nullptr, hMenu);
        ASSERT_EQ(4, ::GetMenuItemCount(hMenu));
        EXPECT_EQ(L"File", MenuText(hMenu, 0));
        EXPECT_EQ(L"Port", MenuText(hMenu, 1));
        EXPECT_EQ(L"Configuration", MenuText(hMenu, 2));
        EXPECT_EQ(L"About", MenuText(hMenu, 3));
        ExpectItems(::GetSubMenu(hMenu, 0), {{L"&Exit", 32772}}, "File");
        ExpectItems(::GetSubMenu(hMenu, 1), {{L"&Add", 32783}, {L"&Delete", 32779}, {L"Delete All", 32784}}, "Port");
        ExpectItems(::GetSubMenu(hMenu, 2), {{L"&ComDB Setting", 32787}}, "Configuration");
        ExpectItems(::GetSubMenu(hMenu, 3), {{L"&About", 32771}, {L"&Help", 32788}}, "About");
        // The installer's commands come only from outside.
        EXPECT_EQ(static_cast<UINT>(-1), ::GetMenuState(hMenu, ID_INSTALL, MF_BYCOMMAND));
        EXPECT_EQ(static_cast<UINT>(-1), ::GetMenuState(hMenu, ID_UNINSTALL, MF_BYCOMMAND));

        HMENU hSys = ::GetSystemMenu(w.m_hWnd, FALSE);
        ASSERT_NE(nullptr, hSys);
        const int count = ::GetMenuItemCount(hSys);
        ASSERT_GE(count, 2);
        EXPECT_TRUE(::GetMenuState(hSys, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), ::GetMenuItemID(hSys, count - 1));
        EXPECT_EQ(L"SarventoCtl 정보(&A)...", MenuText(hSys, static_cast<UINT>(count - 1)));
    })});
}

TEST_F(MainDialogTest, ToolButtonsSitAboveTheTabControlAndStayWhenResized)
{
    Run({Do([](CWnd& w) {
             HWND hDlg = w.m_hWnd;
             const CPoint origin = PageOrigin(hDlg);
             for (int i = 0; i < 4; ++i) {
                 HWND hButton = ::GetDlgItem(hDlg, static_cast<int>(kToolButtonIds[i]));
                 ExpectPlaced(ChildRect(hButton), origin.x + 52 * i, origin.y - 40, 32, 32, "tool button");
                 EXPECT_TRUE(::IsWindowVisible(hButton));
                 EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongPtrW(hButton, GWL_STYLE) & 0x1F);  // icon buttons
             }
             // The tab control lies below every sibling and clips them, so it never paints over
             // the buttons or the pages.
             HWND hTab = ::GetDlgItem(hDlg, IDC_TAB);
             EXPECT_EQ(nullptr, ::GetWindow(hTab, GW_HWNDNEXT));
             EXPECT_TRUE(::GetWindowLongPtrW(hTab, GWL_STYLE) & WS_CLIPSIBLINGS);

             ::SetWindowPos(hDlg, nullptr, 0, 0, 900, 650, SWP_NOMOVE | SWP_NOZORDER);
         }),
         Do([](CWnd& w) {
             const CPoint origin = PageOrigin(w.m_hWnd);
             for (int i = 0; i < 4; ++i) {
                 HWND hButton = ::GetDlgItem(w.m_hWnd, static_cast<int>(kToolButtonIds[i]));
                 ExpectPlaced(ChildRect(hButton), origin.x + 52 * i, origin.y - 40, 32, 32, "tool button");
             }
         })});
}

TEST_F(MainDialogTest, ResizingLaysOutTabPagesAndStatusBar)
{
    auto expectLayout = [](HWND hDlg) {
        CRect client;
        ::GetClientRect(hDlg, &client);
        const int cx = client.Width();
        const int cy = client.Height();
        const CPoint o = PageOrigin(hDlg);
        ExpectPlaced(ChildRect(::GetDlgItem(hDlg, IDC_TAB)), o.x - 8, o.y - 70, cx - 20, cy - 38, "tab control");
        ExpectPlaced(ChildRect(g_statusBar.m_hWnd), 0, cy - 20, cx, 20, "status bar");
        ExpectPlaced(ChildRect(g_portInfoDlg.m_hWnd), o.x, o.y - 3, cx - 37, cy - 113, "port list page");
        ExpectPlaced(ChildRect(g_monitorDlg.m_hWnd), o.x, o.y - 37, cx - 37, cy - 79, "monitor page");
        ExpectPlaced(ChildRect(g_monitorDlg.m_list.m_hWnd), 0, 0, cx - 37, cy - 79, "monitor list");
        // Pane 0 is as wide as the dialog, so pane 1 lies beyond the right edge.
        UINT nID = 0, nStyle = 0;
        int cxPane = 0;
        g_statusBar.GetPaneInfo(0, nID, nStyle, cxPane);
        EXPECT_EQ(cx, cxPane);
        int edges[2] = {};
        ASSERT_EQ(2, ::SendMessageW(g_statusBar.m_hWnd, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)));
        EXPECT_GE(edges[0], cx);
    };
    Run({Do([&](CWnd& w) {
             expectLayout(w.m_hWnd);
             ::SetWindowPos(w.m_hWnd, nullptr, 0, 0, 960, 700, SWP_NOMOVE | SWP_NOZORDER);
         }),
         Do([&](CWnd& w) {
             expectLayout(w.m_hWnd);
             ::SetWindowPos(w.m_hWnd, nullptr, 0, 0, 520, 380, SWP_NOMOVE | SWP_NOZORDER);
         }),
         Do([&](CWnd& w) {
             expectLayout(w.m_hWnd);
             // Minimised, the client size is 0 x 0; restoring lays everything out again.
             w.ShowWindow(SW_MINIMIZE);
         }),
         Do([&](CWnd& w) {
             EXPECT_TRUE(w.IsIconic());
             w.ShowWindow(SW_RESTORE);
         }),
         Do([&](CWnd& w) { expectLayout(w.m_hWnd); })});
}

TEST_F(MainDialogTest, StatusTabShowsTheMonitorAndHidesTheToolButtons)
{
    auto clickTab = [](HWND hDlg, int item) {
        HWND hTab = ::GetDlgItem(hDlg, IDC_TAB);
        RECT rect = {};
        ASSERT_TRUE(TabCtrl_GetItemRect(hTab, item, &rect));
        uitest::ClickAt(hTab, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    };
    auto buttonsVisible = [](HWND hDlg) {
        int visible = 0;
        for (UINT id : kToolButtonIds)
            visible += ::IsWindowVisible(::GetDlgItem(hDlg, static_cast<int>(id))) ? 1 : 0;
        return visible;
    };
    Run({Do([&](CWnd& w) { clickTab(w.m_hWnd, 1); }), WaitUntil([](CWnd&) { return g_currentTab == 1; }),
         Do([&](CWnd& w) {
             EXPECT_EQ(1, TabCtrl_GetCurSel(::GetDlgItem(w.m_hWnd, IDC_TAB)));
             EXPECT_TRUE(::IsWindowVisible(g_monitorDlg.m_hWnd));
             EXPECT_FALSE(::IsWindowVisible(g_portInfoDlg.m_hWnd));
             EXPECT_EQ(0, buttonsVisible(w.m_hWnd));
             CRect client;
             ::GetClientRect(w.m_hWnd, &client);
             const CPoint o = PageOrigin(w.m_hWnd);
             ExpectPlaced(ChildRect(g_monitorDlg.m_hWnd), o.x, o.y - 37, client.Width() - 37, client.Height() - 79,
                          "monitor page");
             clickTab(w.m_hWnd, 0);
         }),
         WaitUntil([](CWnd&) { return g_currentTab == 0; }), Do([&](CWnd& w) {
             EXPECT_TRUE(::IsWindowVisible(g_portInfoDlg.m_hWnd));
             EXPECT_FALSE(::IsWindowVisible(g_monitorDlg.m_hWnd));
             EXPECT_EQ(4, buttonsVisible(w.m_hWnd));
         })});
}

// Tab goes round the tool buttons, the shown page's list and the tab control: into the list and
// out of it again. The hidden page's list is never reached.
TEST_F(MainDialogTest, TabGoesIntoTheShownPagesListAndOutAgain)
{
    auto visited = std::make_shared<std::vector<std::string>>();
    const auto focusName = [](HWND hDlg) -> std::string {
        HWND hFocus = ::GetFocus();
        if (hFocus == g_portInfoDlg.m_list.m_hWnd)
            return "port list";
        if (hFocus == g_monitorDlg.m_list.m_hWnd)
            return "status list";
        if (::GetParent(hFocus) == hDlg)
            return std::to_string(::GetDlgCtrlID(hFocus));
        return "elsewhere";
    };
    const auto pressTab = [&](std::vector<uitest::Step>& steps, int times) {
        for (int i = 0; i < times; ++i) {
            auto before = std::make_shared<HWND>(nullptr);
            steps.push_back(Do([before](CWnd&) {
                *before = ::GetFocus();
                uitest::PressKey(VK_TAB);
            }));
            steps.push_back(WaitUntil([before](CWnd&) { return ::GetFocus() != *before; }));
            steps.push_back(Do([visited, focusName](CWnd& w) { visited->push_back(focusName(w.m_hWnd)); }));
        }
    };
    std::vector<uitest::Step> steps = {Do([](CWnd& w) { ::SetFocus(::GetDlgItem(w.m_hWnd, IDC_TAB)); })};
    pressTab(steps, 6);
    steps.push_back(Do([](CWnd& w) {
        HWND hTab = ::GetDlgItem(w.m_hWnd, IDC_TAB);
        RECT item = {};
        ASSERT_TRUE(TabCtrl_GetItemRect(hTab, 1, &item));
        uitest::ClickAt(hTab, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    }));
    steps.push_back(WaitUntil([](CWnd&) { return g_currentTab == 1; }));
    steps.push_back(Do([](CWnd& w) { ::SetFocus(::GetDlgItem(w.m_hWnd, IDC_TAB)); }));
    pressTab(steps, 2);
    Run(std::move(steps));

    const auto id = [](UINT nID) { return std::to_string(nID); };
    EXPECT_EQ((std::vector<std::string>{id(IDC_BTN_ADD), id(IDC_BTN_DELETE), id(IDC_BTN_APPLY), id(IDC_BTN_REVERT),
                                        "port list", id(IDC_TAB), "status list", id(IDC_TAB)}),
              *visited);
}

TEST_F(MainDialogTest, EnterEscapeAndF1DoNothingAnywhereInTheDialog)
{
    Run({Do([](CWnd& w) {
             for (UINT vk : {VK_RETURN, VK_ESCAPE, VK_F1}) {
                 uitest::PressKey(w.m_hWnd, vk);
                 uitest::PressKey(g_portInfoDlg.m_hWnd, vk);
                 uitest::PressKey(g_portInfoDlg.m_list.m_hWnd, vk);
                 uitest::PressKey(::GetDlgItem(w.m_hWnd, IDC_BTN_ADD), vk);
             }
         }),
         Do([](CWnd& w) {
             ::SetFocus(g_portInfoDlg.m_list.m_hWnd);
             uitest::PressKey(VK_RETURN);
             uitest::PressKey(VK_ESCAPE);
             (void)w;
         }),
         Do([](CWnd& w) { EXPECT_TRUE(::IsWindowVisible(w.m_hWnd)); })});
    EXPECT_EQ(1, ui.DialogsEndedByHarness());
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

TEST_F(MainDialogTest, FileExitEndsWithOk)
{
    EXPECT_EQ(IDOK, Run({Do([](CWnd& w) { uitest::ChooseMenuItem(w.m_hWnd, ID_FILE_EXIT); })}));
    EXPECT_EQ(0, ui.DialogsEndedByHarness());
}

TEST_F(MainDialogTest, CloseBoxAndAltF4EndWithCancel)
{
    EXPECT_EQ(IDCANCEL, Run({Do([](CWnd& w) { uitest::ChooseSystemMenuItem(w.m_hWnd, SC_CLOSE); })}));
    CSVT_SarventoCtlDlg second;
    EXPECT_EQ(IDCANCEL, ui.RunModal(second, {Do([](CWnd& w) { uitest::PressAltKey(w.m_hWnd, VK_F4); })}));
    EXPECT_EQ(0, ui.DialogsEndedByHarness());
}
