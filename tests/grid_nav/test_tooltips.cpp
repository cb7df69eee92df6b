// Cell tooltips through the class library's thread tooltip: one tool per cell under the mouse, the
// cell's text asked for when the tip shows; and the painted focus cell and a real menu.
#include "tests/grid_nav/NavTestSupport.h"
#include "tests/support/Cursor.h"

#include <algorithm>
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
        if (!uitest::PutCursorAt(grid.m_hWnd, screen))
            return false;
        MSG msg = {grid.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), ::GetTickCount(), screen};
        AfxPreTranslateMessage(&msg);
        return true;
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

// The whole road of a real hover: the mouse messages, the thread's tooltip, its timer and the
// text it asks the grid for.
TEST_F(ToolTips, HoveringACellShowsItsFullTextAndAnEmptyAreaNone)
{
    // The mouse comes to rest at a point as a hand moves it, in more than one step: Wine's tooltip
    // may miss a change of tool made by one single move.
    auto restAt = [&](CPoint client) {
        CPoint screen = client;
        grid.ClientToScreen(&screen);
        return uitest::PutCursorAt(grid.m_hWnd, CPoint(screen.x - 1, screen.y)) &&
               uitest::PutCursorAt(grid.m_hWnd, screen);
    };
    const std::wstring full = L"192.168.100.200 seen whole in the tip";
    grid.SetItemText(2, 4, full.c_str());
    ASSERT_TRUE(restAt(CellCenter(2, 4)));
    ASSERT_TRUE(PumpUntil([&] { return m_tip->IsWindowVisible() != FALSE; })) << "no tip came up";
    EXPECT_EQ(uitest::WindowText(m_tip->m_hWnd), full);
    wchar_t dir[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH, dir), 0u);
    EXPECT_TRUE(uitest::SaveScreenshot(::GetDesktopWindow(), std::wstring(dir) + L"grid_nav_tooltip.png"));

    // Over the empty area the tip goes: when the tooltip asks for the text there, it gets none and
    // shows nothing.
    const size_t askedBefore = grid.toolTextAsked.size();
    const CPoint empty(20, 140);
    ASSERT_TRUE(restAt(empty));
    CPoint screen = empty;
    grid.ClientToScreen(&screen);
    EXPECT_TRUE(PumpUntil([&] {
        const auto& asked = grid.toolTextAsked;
        return std::any_of(asked.begin() + askedBefore, asked.end(), [&](CPoint pt) { return pt.y == screen.y; });
    })) << "the tip never asked for the empty area's text";
    EXPECT_FALSE(m_tip->IsWindowVisible());
}

// The dotted pixels of a focus rectangle's line along y from x0 to x1: pixels that differ from
// the row inward of the line (toward the cell's inside, dy).
int DottedPixels(HWND hWnd, int y, int dy, int x0, int x1)
{
    HDC hDC = ::GetDC(hWnd);
    int dotted = 0;
    for (int x = x0; x <= x1; ++x)
        dotted += ::GetPixel(hDC, x, y) != ::GetPixel(hDC, x, y + dy);
    ::ReleaseDC(hWnd, hDC);
    return dotted;
}

// The painted focus rectangle surrounds the focus cell alone, with and without grid lines, the
// list focused or not (the list's own rectangle round the row must not show, nor cancel the
// cell's); and the real header menu, shown by the system, lists the columns.
TEST_F(ToolTips, OnlyTheFocusCellIsFramedAndTheRealHeaderMenuListsTheColumns)
{
    grid.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    grid.setFocusColumn(2);
    for (bool lines : {false, true}) {
        for (bool focused : {true, false}) {
            SCOPED_TRACE(testing::Message() << "grid lines " << lines << ", list focused " << focused);
            // The port list's extended styles, with grid lines or without.
            grid.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE | (lines ? LVS_EX_GRIDLINES : 0));
            if (focused)
                grid.SetFocus();
            else
                host.GetDlgItem(kListId + 1)->SetFocus();
            grid.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            for (int nCol : {1, 2, 3}) {
                RECT cell = {};
                ASSERT_TRUE(grid.GetCellPartRect(1, nCol, LVIR_BOUNDS, cell));
                const int bottom = cell.bottom - 1 - (lines ? 1 : 0);
                const int top = DottedPixels(grid.m_hWnd, cell.top, 1, cell.left + 1, cell.right - 2);
                const int under = DottedPixels(grid.m_hWnd, bottom, -1, cell.left + 1, cell.right - 2);
                if (nCol == 2) {
                    EXPECT_GT(top, (cell.right - cell.left) / 3) << "the focus cell's top";
                    EXPECT_GT(under, (cell.right - cell.left) / 3) << "the focus cell's bottom";
                } else {
                    EXPECT_EQ(top, 0) << "the top of cell " << nCol;
                    EXPECT_EQ(under, 0) << "the bottom of cell " << nCol;
                }
            }
        }
    }

    // The real menu, read while its own loop runs, then dismissed.
    static std::vector<MenuItem> s_items;
    s_items.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND hMenuWnd = ::FindWindowW(L"#32768", nullptr);
        if (hMenuWnd == nullptr || !::IsWindowVisible(hMenuWnd))
            return;  // not shown yet
        ::KillTimer(nullptr, id);
        s_items = ReadMenu(reinterpret_cast<HMENU>(::SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0)));
        ::EndMenu();
    });
    ASSERT_NE(timer, 0u);
    RECT item = {};
    grid.GetHeaderCtrl()->GetItemRect(4, &item);
    CPoint at((item.left + item.right) / 2, item.bottom);
    ::ClientToScreen(grid.GetHeaderCtrl()->m_hWnd, &at);
    grid.ShowHeaderMenu(grid.GetHeaderCtrl(), at, 4);
    std::vector<std::wstring> texts;
    for (const MenuItem& menuItem : s_items) {
        texts.push_back(menuItem.text);
        EXPECT_TRUE(menuItem.checked) << uitest::Narrow(menuItem.text);
    }
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"No", L"COM Port", L"Trigger", L"Alias", L"IP Address", L"Port"}));
}

}  // namespace
}  // namespace navtest
