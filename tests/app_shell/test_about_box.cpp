// The About box, opened from the system menu and from About > About.
#include "app/AboutDlg.h"
#include "tests/app_shell/MainDialogTestSupport.h"

using uitest::Do;
using uitest::WaitUntil;

namespace {

// The About box's own checks; it is then closed by the given action, and its window recorded.
std::vector<uitest::Step> CheckAboutBox(HWND* phAbout, std::function<void(HWND hAbout)> close)
{
    return {Do([=](CWnd& about) {
        *phAbout = about.m_hWnd;
        EXPECT_EQ(L"About", uitest::WindowText(about.m_hWnd));
        EXPECT_EQ(g_hMainWnd, ::GetWindow(about.m_hWnd, GW_OWNER));
        EXPECT_FALSE(::IsWindowEnabled(g_hMainWnd));
        // The picture is the bitmap resource, shown at its own size.
        HWND hPicture = ::GetWindow(about.m_hWnd, GW_CHILD);
        ASSERT_NE(nullptr, hPicture);
        HBITMAP hBitmap = reinterpret_cast<HBITMAP>(::SendMessageW(hPicture, STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_NE(nullptr, hBitmap);
        BITMAP info = {};
        ASSERT_TRUE(::GetObjectW(hBitmap, sizeof(info), &info));
        const CRect picture = ChildRect(hPicture);
        EXPECT_EQ(info.bmWidth, picture.Width());
        EXPECT_EQ(info.bmHeight, picture.Height());
        EXPECT_EQ(L"OK", uitest::DlgItemText(about.m_hWnd, IDOK));
        close(about.m_hWnd);
    })};
}

}  // namespace

TEST_F(MainDialogTest, SystemMenuAboutItemOpensTheAboutBoxAndOkClosesIt)
{
    HWND hAbout = nullptr;
    ui.OnNextModal(CheckAboutBox(&hAbout, [](HWND h) { uitest::Click(::GetDlgItem(h, IDOK)); }));
    Run({Do([](CWnd& w) { uitest::ChooseSystemMenuItem(w.m_hWnd, IDM_ABOUTBOX); }),
         WaitUntil([&](CWnd&) { return hAbout != nullptr && !::IsWindow(hAbout); }),
         Do([](CWnd& w) { EXPECT_TRUE(::IsWindowEnabled(w.m_hWnd)); })});
    // Only the main dialog was left for the harness to end: OK closed the About box.
    EXPECT_EQ(1, ui.DialogsEndedByHarness());
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

TEST_F(MainDialogTest, AboutMenuOpensTheSameBoxAndEnterClosesIt)
{
    HWND hAbout = nullptr;
    ui.OnNextModal(CheckAboutBox(&hAbout, [](HWND h) { uitest::PressKey(h, VK_RETURN); }));
    Run({Do([](CWnd& w) { uitest::ChooseMenuItem(w.m_hWnd, ID_APP_ABOUT); }),
         WaitUntil([&](CWnd&) { return hAbout != nullptr && !::IsWindow(hAbout); })});
    EXPECT_EQ(1, ui.DialogsEndedByHarness());
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

TEST(AboutBox, OkEndsItWithIdok)
{
    uitest::UiHarness ui;
    CSVT_AboutDlg about;
    EXPECT_EQ(IDOK, ui.RunModal(about, {Do([](CWnd& w) { uitest::Click(::GetDlgItem(w.m_hWnd, IDOK)); })}));
}
