// The ON_WM_ entries unpack each message into the conventional handler's parameters, and a
// virtual handler overridden in a derived class receives the base map's messages.
#include "framework/framework.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

std::string Join(const char* name, long a = 0, long b = 0, long c = 0)
{
    return std::string(name) + " " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c);
}

// Handlers as a list control of the program declares them: virtual, conventional signatures.
class GridLike : public CWnd {
public:
    virtual void OnSize(UINT nType, int cx, int cy) { g_calls.push_back(Join("size", nType, cx, cy)); }
    virtual void OnMove(int x, int y) { g_calls.push_back(Join("move", x, y)); }
    virtual void OnLButtonDown(UINT nFlags, CPoint point)
    {
        g_calls.push_back(Join("ldown", nFlags, point.x, point.y));
    }
    virtual void OnRButtonDown(UINT nFlags, CPoint point)
    {
        g_calls.push_back(Join("rdown", nFlags, point.x, point.y));
    }
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point)
    {
        g_calls.push_back(Join("ldbl", nFlags, point.x, point.y));
    }
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        g_calls.push_back(Join("key", nChar, nRepCnt, nFlags));
    }
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        g_calls.push_back(Join("char", nChar, nRepCnt, nFlags));
    }
    virtual void OnContextMenu(CWnd* pWnd, CPoint pos)
    {
        g_calls.push_back(Join("context", pWnd == this, pos.x, pos.y));
    }
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
    {
        g_calls.push_back(Join("hscroll", nSBCode, nPos, pScrollBar != nullptr));
    }
    virtual void OnTimer(UINT_PTR nIDEvent) { g_calls.push_back(Join("timer", static_cast<long>(nIDEvent))); }
    virtual void OnSysCommand(UINT nID, LPARAM lParam)
    {
        g_calls.push_back(Join("syscommand", nID, static_cast<long>(lParam)));
    }
    virtual void OnShowWindow(BOOL bShow, UINT nStatus) { g_calls.push_back(Join("show", bShow, nStatus)); }
    virtual void OnKillFocus(CWnd* pNewWnd) { g_calls.push_back(Join("killfocus", pNewWnd == nullptr)); }
    virtual BOOL OnSetCursor(CWnd*, UINT nHitTest, UINT message)
    {
        g_calls.push_back(Join("setcursor", nHitTest, message));
        return TRUE;
    }
    virtual UINT OnGetDlgCode()
    {
        g_calls.push_back("dlgcode");
        return DLGC_WANTALLKEYS;
    }
    virtual BOOL OnEraseBkgnd(CDC* pDC)
    {
        g_calls.push_back(Join("erase", pDC != nullptr));
        return TRUE;
    }
    virtual HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(0x1234); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(GridLike, CWnd)
ON_WM_SIZE()
ON_WM_MOVE()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_CONTEXTMENU()
ON_WM_HSCROLL()
ON_WM_TIMER()
ON_WM_SYSCOMMAND()
ON_WM_SHOWWINDOW()
ON_WM_KILLFOCUS()
ON_WM_SETCURSOR()
ON_WM_GETDLGCODE()
ON_WM_ERASEBKGND()
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

// A derived list that changes one handler by overriding it, without a map of its own.
class DerivedGrid : public GridLike {
public:
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override
    {
        g_calls.push_back("derived key");
        GridLike::OnKeyDown(nChar, nRepCnt, nFlags);
    }
};

class HandlerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls.clear();
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, L"h", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
        g_calls.clear();
    }
    void TearDown() override { m_wnd.DestroyWindow(); }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) { return m_wnd.SendMessage(message, wParam, lParam); }
    DerivedGrid m_wnd;
};

TEST_F(HandlerTest, EachEntryUnpacksItsMessageIntoTheHandlersParameters)
{
    Send(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200));
    Send(WM_MOVE, 0, MAKELPARAM(-5, 7));
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 4));
    Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 2));
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4));
    Send(WM_CHAR, L'x', MAKELPARAM(2, 0x1E));
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_wnd.m_hWnd), MAKELPARAM(-1, -1));
    Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77), 0);
    Send(WM_TIMER, 9, 0);
    Send(WM_SYSCOMMAND, 0x10, MAKELPARAM(5, 6));
    Send(WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
    Send(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_wnd.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(Send(WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
    EXPECT_EQ(Send(WM_QUERYDRAGICON, 0, 0), 0x1234);
    HDC hDC = ::GetDC(m_wnd.m_hWnd);
    EXPECT_EQ(Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0), TRUE);
    ::ReleaseDC(m_wnd.m_hWnd, hDC);

    EXPECT_EQ(g_calls, (std::vector<std::string>{
                           Join("size", SIZE_MAXIMIZED, 300, 200),
                           Join("move", -5, 7),
                           Join("ldown", MK_LBUTTON | MK_SHIFT, -3, 4),
                           Join("rdown", MK_RBUTTON, 1, 2),
                           Join("ldbl", MK_LBUTTON, 3, 4),
                           Join("char", L'x', 2, 0x1E),
                           Join("context", 1, -1, -1),
                           Join("hscroll", SB_THUMBTRACK, 77, 0),
                           Join("timer", 9),
                           Join("syscommand", 0x10, MAKELPARAM(5, 6)),
                           Join("show", TRUE, SW_PARENTOPENING),
                           Join("killfocus", 1),
                           Join("setcursor", HTCLIENT, WM_MOUSEMOVE),
                           "dlgcode",
                           Join("erase", 1),
                       }));
}

TEST_F(HandlerTest, AnOverrideInADerivedClassReceivesTheBaseMapsMessage)
{
    Send(WM_KEYDOWN, VK_DOWN, MAKELPARAM(1, 0x150));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"derived key", Join("key", VK_DOWN, 1, 0x150)}));
}

}  // namespace
