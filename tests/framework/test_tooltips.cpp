// The library's tooltips: the thread's tooltip control follows OnToolHitTest.
#include "framework/framework.h"

#include <gtest/gtest.h>

namespace {

class TipWnd : public CWnd {
public:
    int textRequests = 0;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* pTI) const override
    {
        if (point.y >= 40)
            return -1;  // the bottom strip has no tip
        const INT_PTR id = point.x < 50 ? 1001 : 1002;
        pTI->hwnd = m_hWnd;
        pTI->uId = static_cast<UINT_PTR>(id);
        GetClientRect(&pTI->rect);
        pTI->lpszText = LPSTR_TEXTCALLBACKW;
        return id;
    }
    BOOL OnNeedText(UINT nID, NMHDR* pNMHDR, LRESULT*)
    {
        ++textRequests;
        EXPECT_EQ(nID, 0u) << "the tooltip control's window id";
        lstrcpynW(reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->szText, L"cell", 80);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TipWnd, CWnd)
ON_NOTIFY_EX(TTN_GETDISPINFOW, 0, &TipWnd::OnNeedText)
END_MESSAGE_MAP()

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, L"tips", WS_POPUP | WS_VISIBLE, 100, 100, 100, 50, nullptr, nullptr));
        ASSERT_TRUE(m_wnd.EnableToolTips());
        m_tip = AfxGetThreadToolTip();
        ASSERT_NE(m_tip, nullptr);
    }
    void TearDown() override
    {
        if (m_wnd.m_hWnd)
            m_wnd.DestroyWindow();
    }

    // A mouse move over the window as the queue delivers it, through the pre-translate walk.
    void MoveMouseTo(int x, int y)
    {
        MSG msg = {m_wnd.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), ::GetTickCount(), {x, y}};
        ::ClientToScreen(m_wnd.m_hWnd, &msg.pt);
        AfxPreTranslateMessage(&msg);
    }
    UINT_PTR CurrentToolId()
    {
        TTTOOLINFOW ti = {};
        ti.cbSize = sizeof(ti);
        if (!::SendMessageW(m_tip->m_hWnd, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)))
            return 0;
        EXPECT_EQ(ti.hwnd, m_wnd.m_hWnd);
        return ti.uId;
    }

    TipWnd m_wnd;
    CToolTipCtrl* m_tip = nullptr;
};

TEST_F(ToolTipTest, EachNewIdUnderTheMouseReplacesTheToolOfTheOneBefore)
{
    MoveMouseTo(10, 10);
    EXPECT_EQ(m_tip->GetToolCount(), 1);
    EXPECT_EQ(CurrentToolId(), 1001u);
    MoveMouseTo(20, 10);
    EXPECT_EQ(m_tip->GetToolCount(), 1);
    EXPECT_EQ(CurrentToolId(), 1001u);
    MoveMouseTo(70, 10);
    EXPECT_EQ(m_tip->GetToolCount(), 1);
    EXPECT_EQ(CurrentToolId(), 1002u);
    MoveMouseTo(70, 45);
    EXPECT_EQ(m_tip->GetToolCount(), 0);
}

TEST_F(ToolTipTest, ACallbackToolAsksItsWindowForTheText)
{
    MoveMouseTo(10, 10);
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = m_wnd.m_hWnd;
    ti.uId = 1001;
    wchar_t text[80] = {};
    ti.lpszText = text;
    ::SendMessageW(m_tip->m_hWnd, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
    EXPECT_GE(m_wnd.textRequests, 1);
    EXPECT_STREQ(text, L"cell");
}

TEST_F(ToolTipTest, AWindowThatGoesAwayTakesItsToolWithIt)
{
    MoveMouseTo(10, 10);
    ASSERT_EQ(m_tip->GetToolCount(), 1);
    m_wnd.DestroyWindow();
    EXPECT_EQ(m_tip->GetToolCount(), 0);
}

TEST_F(ToolTipTest, AWindowWithoutToolTipsLeavesTheControlAlone)
{
    m_wnd.EnableToolTips(FALSE);
    MoveMouseTo(10, 10);
    EXPECT_EQ(m_tip->GetToolCount(), 0);
}

}  // namespace
