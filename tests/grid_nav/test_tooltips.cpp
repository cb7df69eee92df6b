// Cell tooltips through the class library's thread tooltip: one tool per cell under the mouse, the
// cell's text asked for when the tip shows; and a look at the focus cell and a real menu.
#include "tests/grid_nav/NavTestSupport.h"

#include <string>

namespace navtest {
namespace {

class ToolTips : public NavFixture {
protected:
    void SetUp() override
    {
        NavFixture::SetUp();
        AddColumns({L"No", L"COM Port", L"Trigger", L"Alias", L"IP Address", L"Port"}, 48);
        AddRows(4);
        grid.SetItemText(2, 4, L"192.168.0.1");
        grid.SetItemText(1, 3, std::wstring(100, L'w').c_str());
        grid.SetItemText(0, 2, L"");
        m_tip = AfxGetThreadToolTip();
        ASSERT_NE(m_tip, nullptr);
    }

    // The mouse over a point of the grid: the cursor is there, the queue has delivered a message
    // since (so GetMessagePos reads it) and the move went through the pre-translate walk.
    bool Hover(CPoint client)
    {
        CPoint screen = client;
        grid.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        grid.PostMessage(WM_NULL);
        uitest::PumpMessages();
        MSG msg = {grid.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), ::GetTickCount(), screen};
        AfxPreTranslateMessage(&msg);
        const DWORD pos = ::GetMessagePos();
        return static_cast<short>(LOWORD(pos)) == screen.x && static_cast<short>(HIWORD(pos)) == screen.y;
    }
    TTTOOLINFOW CurrentTool()
    {
        TTTOOLINFOW ti = {};
        ti.cbSize = sizeof ti;
        m_tip->SendMessage(TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti));
        return ti;
    }

    CToolTipCtrl* m_tip = nullptr;
};

TEST_F(ToolTips, EveryCellUnderTheMouseIsAToolOfItsOwn)
{
    ASSERT_TRUE(Hover(CellCenter(2, 4))) << "the message position does not follow the cursor";
    EXPECT_EQ(m_tip->GetToolCount(), 1);
    TTTOOLINFOW ti = CurrentTool();
    EXPECT_EQ(ti.uId, 2004u);
    EXPECT_EQ(ti.hwnd, grid.m_hWnd);
    RECT client = {};
    grid.GetClientRect(&client);
    EXPECT_TRUE(::EqualRect(&ti.rect, &client));

    TTTOOLINFOW hit = {};
    hit.cbSize = sizeof hit;
    EXPECT_EQ(grid.OnToolHitTest(CellCenter(2, 4), &hit), 2004);
    EXPECT_EQ(hit.lpszText, LPSTR_TEXTCALLBACKW);

    ASSERT_TRUE(Hover(CellCenter(2, 5)));
    EXPECT_EQ(m_tip->GetToolCount(), 1);
    EXPECT_EQ(CurrentTool().uId, 2005u);

    grid.allowTooltips = false;
    ASSERT_TRUE(Hover(CellCenter(1, 1)));
    EXPECT_EQ(grid.OnToolHitTest(CellCenter(1, 1), &hit), -1);
    EXPECT_EQ(m_tip->GetToolCount(), 0);
}

TEST_F(ToolTips, TheTipIsTheCellsTextAndWrapsAtTheMaximumWidth)
{
    ASSERT_TRUE(Hover(CellCenter(2, 4)));
    wchar_t text[100] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = grid.m_hWnd;
    ti.uId = 2004;
    ti.lpszText = text;
    m_tip->SendMessage(TTM_GETTEXTW, 100, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, L"192.168.0.1");
    EXPECT_EQ(m_tip->GetMaxTipWidth(), 32767);

    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = m_tip->m_hWnd;
    info.hdr.code = TTN_GETDISPINFOW;
    LRESULT result = 0;
    EXPECT_TRUE(grid.OnToolNeedText(0, &info.hdr, &result));
    EXPECT_STREQ(info.szText, L"192.168.0.1");
    EXPECT_EQ(info.lpszText, info.szText);

    ASSERT_TRUE(Hover(CellCenter(1, 3)));
    info = {};
    info.hdr.code = TTN_GETDISPINFOW;
    EXPECT_TRUE(grid.OnToolNeedText(0, &info.hdr, &result));
    EXPECT_EQ(std::wstring(info.szText), std::wstring(79, L'w'));
}

TEST_F(ToolTips, AnEmptyCellOrNoRowGivesNoTip)
{
    for (CPoint pt : {CellCenter(0, 2), CPoint(20, 140)}) {
        ASSERT_TRUE(Hover(pt));
        NMTTDISPINFOW info = {};
        info.hdr.code = TTN_GETDISPINFOW;
        wcscpy(info.szText, L"untouched");
        LRESULT result = 0;
        EXPECT_FALSE(grid.OnToolNeedText(0, &info.hdr, &result));
        EXPECT_STREQ(info.szText, L"untouched");
    }
}

TEST_F(ToolTips, TheAnsiRequestGetsAtMost79BytesZeroTerminated)
{
    ASSERT_TRUE(Hover(CellCenter(1, 3)));
    NMTTDISPINFOA info = {};
    info.hdr.code = TTN_GETDISPINFOA;
    memset(info.szText, 'x', sizeof info.szText);
    LRESULT result = 0;
    EXPECT_TRUE(grid.OnToolNeedText(0, &info.hdr, &result));
    EXPECT_EQ(std::string(info.szText), std::string(79, 'w'));

    ASSERT_TRUE(Hover(CellCenter(2, 4)));
    info = {};
    info.hdr.code = TTN_GETDISPINFOA;
    EXPECT_TRUE(grid.OnToolNeedText(0, &info.hdr, &result));
    EXPECT_STREQ(info.szText, "192.168.0.1");
}

// The whole road of a real hover: the mouse message, the thread's tooltip, its timer and the
// text it asks the grid for.
TEST_F(ToolTips, HoveringACellShowsItsFullTextAndAnEmptyAreaNone)
{
    const std::wstring full = L"192.168.100.200 seen whole in the tip";
    grid.SetItemText(2, 4, full.c_str());
    CPoint at = CellCenter(2, 4);
    grid.ClientToScreen(&at);
    ::SetCursorPos(at.x, at.y);
    ASSERT_TRUE(PumpUntil([&] { return m_tip->IsWindowVisible() != FALSE; })) << "no tip came up";
    EXPECT_EQ(uitest::WindowText(m_tip->m_hWnd), full);
    wchar_t dir[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH, dir), 0u);
    EXPECT_TRUE(uitest::SaveScreenshot(::GetDesktopWindow(), std::wstring(dir) + L"grid_nav_tooltip.png"));

    CPoint empty(20, 140);
    grid.ClientToScreen(&empty);
    ::SetCursorPos(empty.x, empty.y);
    EXPECT_TRUE(PumpUntil([&] { return !m_tip->IsWindowVisible(); }));
    uitest::PumpMessages();
    ::Sleep(600);  // longer than the tip's delay
    uitest::PumpMessages();
    EXPECT_FALSE(m_tip->IsWindowVisible());
}

// Not a check of pixels: a picture of the focus cell and of the header menu as the user sees
// them, written to the temporary folder (grid_nav_focus.png, grid_nav_menu.png).
TEST_F(ToolTips, PicturesOfTheFocusCellAndTheHeaderMenu)
{
    grid.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    grid.SetFocus();
    grid.setFocusColumn(2);
    grid.SetFocusCell(2, true);
    uitest::PumpMessages();
    wchar_t dir[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH, dir), 0u);
    EXPECT_TRUE(uitest::SaveScreenshot(host.m_hWnd, std::wstring(dir) + L"grid_nav_focus.png"));

    // The real menu, photographed while its own loop runs, then dismissed.
    static std::wstring s_path;
    static bool s_saved = false;
    s_path = std::wstring(dir) + L"grid_nav_menu.png";
    s_saved = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        s_saved = uitest::SaveScreenshot(::GetDesktopWindow(), s_path);
        ::EndMenu();
    });
    ASSERT_NE(timer, 0u);
    RECT item = {};
    grid.GetHeaderCtrl()->GetItemRect(4, &item);  // right of the focus cell, which stays in sight
    CPoint at((item.left + item.right) / 2, item.bottom);
    ::ClientToScreen(grid.GetHeaderCtrl()->m_hWnd, &at);
    grid.ShowHeaderMenu(grid.GetHeaderCtrl(), at, 4);
    EXPECT_TRUE(s_saved);
}

}  // namespace
}  // namespace navtest
