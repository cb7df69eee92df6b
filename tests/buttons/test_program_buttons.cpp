// The program's own buttons on the owner-drawn classes: the main dialog's four tool buttons and
// the About box's OK tile, from the real templates and resources.
#include "ButtonTestSupport.h"
#include "app/AboutDlg.h"
#include "app/Globals.h"
#include "app/SarventoCtlDlg.h"
#include "tests/support/Cursor.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using buttontest::Canvas;
using buttontest::Render;
using uitest::Do;
using uitest::WaitUntil;

const struct {
    UINT id;
    UINT normalIcon;
    UINT hoverIcon;
    const wchar_t* tip;
} kTools[] = {
    {IDC_BTN_ADD, IDI_TOOL_ADD, IDI_TOOL_ADD_HOVER, L"Add port(s)"},
    {IDC_BTN_DELETE, IDI_TOOL_DELETE, IDI_TOOL_DELETE_HOVER, L"Delete port(s)"},
    {IDC_BTN_APPLY, IDI_TOOL_APPLY, IDI_TOOL_APPLY_HOVER, L"Apply with currently set values"},
    {IDC_BTN_REVERT, IDI_TOOL_REVERT, IDI_TOOL_REVERT_HOVER, L"Revert settings to original values"},
};

// The tooltip of this process that has a tool on hWndTool (id 1, or the window itself), and the
// tool's text and rectangle; null when there is none.
HWND FindTip(HWND hWndTool, std::wstring* text, CRect* rect = nullptr)
{
    struct Search {
        HWND hWndTool;
        HWND hTip;
        std::wstring* text;
        CRect* rect;
    } search = {hWndTool, nullptr, text, rect};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            wchar_t className[32] = {};
            ::GetClassNameW(hWnd, className, 32);
            if (lstrcmpW(className, TOOLTIPS_CLASSW) != 0)
                return TRUE;
            std::wstring buffer(1024, L'\0');
            TTTOOLINFOW info = {};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.lpszText = &buffer[0];
            if (!::SendMessageW(hWnd, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)))
                return TRUE;
            if (info.hwnd != s->hWndTool && info.uId != reinterpret_cast<UINT_PTR>(s->hWndTool))
                return TRUE;
            s->hTip = hWnd;
            *s->text = info.lpszText == LPSTR_TEXTCALLBACKW ? L"" : info.lpszText;
            if (s->rect != nullptr)
                *s->rect = info.rect;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hTip;
}

// What an icon of the program's resources looks like at its own size in the middle of the face
// of a button of the given size.
std::unique_ptr<Canvas> IconPicture(UINT id, int size)
{
    auto picture = std::make_unique<Canvas>(size, size, ::GetSysColor(COLOR_BTNFACE));
    HICON hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, 0));
    ICONINFO info = {};
    BITMAP bitmap = {};
    if (::GetIconInfo(hIcon, &info)) {
        ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
    }
    const int x = (size - bitmap.bmWidth) / 2, y = (size - bitmap.bmHeight) / 2;
    ::DrawIconEx(picture->Dc(), x, y, hIcon, bitmap.bmWidth, bitmap.bmHeight, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(hIcon);
    return picture;
}

int Differences(const Canvas& a, const Canvas& b)
{
    int count = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            count += a.Pixel(x, y) != b.Pixel(x, y) ? 1 : 0;
    return count;
}

class ProgramButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        buttontest::ParkCursor();
        app.m_pMainWnd = &dlg;
        g_currentTab = 0;
    }

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
};

TEST_F(ProgramButtons, ToolButtonsShowTheirIconsTipsAndTheHandWhileHovered)
{
    ui.RunModal(
        dlg, {Do([](CWnd& w) {
            for (const auto& tool : kTools) {
                HWND hButton = ::GetDlgItem(w.m_hWnd, static_cast<int>(tool.id));
                EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongPtrW(hButton, GWL_STYLE) & 0x1F);
                std::wstring tip;
                CRect tipRect;
                EXPECT_NE(FindTip(hButton, &tip, &tipRect), nullptr);
                EXPECT_EQ(tip, tool.tip);
                // The tool keeps the template's size, which must still cover the 32 x 32 button.
                EXPECT_TRUE(tipRect.left <= 0 && tipRect.top <= 0 && tipRect.right >= 32 && tipRect.bottom >= 32)
                    << tipRect.right << " x " << tipRect.bottom;

                EXPECT_EQ(Differences(*Render(hButton, 0), *IconPicture(tool.normalIcon, 32)), 0) << tool.id;
                ::SendMessageW(hButton, WM_MOUSEMOVE, 0, MAKELPARAM(16, 16));
                EXPECT_EQ(Differences(*Render(hButton, 0), *IconPicture(tool.hoverIcon, 32)), 0) << tool.id;
                ::SendMessageW(hButton, WM_MOUSELEAVE, 0, 0);

                EXPECT_TRUE(::SendMessageW(hButton, WM_SETCURSOR, reinterpret_cast<WPARAM>(hButton),
                                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
                ICONINFO cursor = {};
                ASSERT_TRUE(::GetIconInfo(::GetCursor(), &cursor));
                EXPECT_FALSE(cursor.fIcon);
                EXPECT_EQ(CPoint(cursor.xHotspot, cursor.yHotspot), CPoint(11, 1));  // the hand's fingertip
                ::DeleteObject(cursor.hbmMask);
                ::DeleteObject(cursor.hbmColor);
            }
        })});
}

TEST_F(ProgramButtons, TheTipShowsWhereTheMouseRestsInTheRunningDialog)
{
    ui.RunModal(dlg, {
                         Do([](CWnd& w) {
                             CRect rect;
                             ::GetWindowRect(::GetDlgItem(w.m_hWnd, IDC_BTN_ADD), &rect);
                             EXPECT_TRUE(uitest::PutCursorAt(w.m_hWnd, POINT{rect.left + 16, rect.top + 16}));
                         }),
                         WaitUntil([](CWnd& w) {
                             std::wstring tip;
                             HWND hTip = FindTip(::GetDlgItem(w.m_hWnd, IDC_BTN_ADD), &tip);
                             return hTip != nullptr && ::IsWindowVisible(hTip) && tip == L"Add port(s)";
                         }),
                         Do([](CWnd&) { buttontest::ParkCursor(); }),
                     });
}

TEST(AboutBoxButton, OkIsABlueRoundedTileWithItsTipThatClosesTheBox)
{
    buttontest::ParkCursor();
    uitest::UiHarness ui;
    CSVT_AboutDlg about;
    std::unique_ptr<Canvas> rested;  // the tile once the mouse has left it
    const INT_PTR result =
        ui.RunModal(about, {Do([&](CWnd&) {
                                CRect rect;
                                ::GetWindowRect(about.m_okButton.m_hWnd, &rect);
                                EXPECT_TRUE(uitest::PutCursorAt(about.m_hWnd, POINT{rect.left + 10, rect.top + 10}));
                            }),
                            WaitUntil([&](CWnd&) {
                                std::wstring tip;
                                HWND hTip = FindTip(about.m_okButton.m_hWnd, &tip);
                                return hTip != nullptr && ::IsWindowVisible(hTip) && tip == L"OK";
                            }),
                            Do([&](CWnd&) {
                                EXPECT_EQ(about.m_okButton.ToolTip.GetTipBkColor(), 0xFBF0E6u);
                                buttontest::ParkCursor();
                            }),
                            // Pictured as soon as hover has ended: on a busy machine the desktop's
                            // own process may hand on a pointer crossing from before the mouse
                            // left, which brings hover back for a moment.
                            WaitUntil([&](CWnd&) {
                                if (about.m_okButton.Hover)
                                    return false;
                                rested = Render(about.m_okButton.m_hWnd, RGB(1, 2, 3));
                                return true;
                            }),
                            Do([&](CWnd&) {
                                HWND hOk = about.m_okButton.m_hWnd;
                                EXPECT_EQ(0x200B, ::GetWindowLongPtrW(hOk, GWL_STYLE) & 0x200B);

                                CRect client;
                                ::GetClientRect(hOk, &client);
                                const int cx = ::GetSystemMetrics(SM_CXEDGE), cy = ::GetSystemMetrics(SM_CYEDGE);
                                const int middle = client.Height() / 2;
                                const auto& tile = rested;
                                EXPECT_EQ(tile->Pixel(cx + 3, middle), RGB(91, 125, 164));
                                EXPECT_EQ(tile->Pixel(cx, middle), RGB(198, 226, 255));
                                EXPECT_EQ(tile->Pixel(cx, cy), RGB(1, 2, 3));  // a 5 x 5 corner leaves the very corner
                                EXPECT_EQ(tile->Pixel(cx + 2, cy + 2), RGB(91, 125, 164));  // ... but no more
                                ::SendMessageW(hOk, WM_MOUSEMOVE, 0, MAKELPARAM(10, middle));
                                EXPECT_EQ(Render(hOk, RGB(1, 2, 3))->Pixel(cx + 3, middle), RGB(158, 157, 187));
                                uitest::Click(hOk);
                            })});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ui.DialogsEndedByHarness(), 0);
}

}  // namespace
