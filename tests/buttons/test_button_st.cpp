// The icon button: the owner-draw style it keeps, check state and clicks, icons, cursor,
// tooltip, hover, and the picture it paints in each state.
#include "ButtonTestSupport.h"
#include "buttons_test_ids.h"
#include "controls/ButtonST.h"
#include "tests/support/Cursor.h"
#include "tests/support/DialogTemplate.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

namespace {

using buttontest::Render;

const COLORREF kRed = RGB(255, 0, 0);    // the in icon
const COLORREF kBlue = RGB(0, 0, 255);   // the out icon
const COLORREF kGreen = RGB(0, 160, 0);  // the 16 x 16 icon
const COLORREF kBackIn = RGB(220, 220, 0);
const COLORREF kBackOut = RGB(0, 200, 200);
const COLORREF kBackFocus = RGB(200, 0, 200);
const COLORREF kPaper = RGB(1, 2, 3);  // what a canvas holds before the button paints
const CRect kCentred(4, 4, 36, 36);    // a 32 x 32 icon in a 40 x 40 button

// The icon button with its state open to the tests.
class TestButtonST : public CButtonST {
public:
    using CButtonST::Color;
    using CButtonST::HoverCursor;
    using CButtonST::IsCheckBox;
    using CButtonST::IsDefault;
    using CButtonST::IsHovered;
    using CButtonST::ToolTip;
    int draws = 0;

    void UseTestColors()
    {
        Color(ButtonColor::BackIn) = kBackIn;
        Color(ButtonColor::BackOut) = kBackOut;
        Color(ButtonColor::BackFocus) = kBackFocus;
    }

protected:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        ++draws;
        CButtonST::DrawItem(lpDrawItemStruct);
    }
};

// Never attached, as the trace page's buttons are: constructed before main, destroyed at exit.
CButtonST g_neverAttached;

bool IconAlive(HICON hIcon)
{
    ICONINFO info = {};
    if (!::GetIconInfo(hIcon, &info))
        return false;
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    return true;
}

UINT ButtonType(HWND hWnd)
{
    return static_cast<UINT>(::GetWindowLongPtrW(hWnd, GWL_STYLE)) & 0x1F;
}
UINT DefaultBits(HWND hWnd)
{
    return static_cast<UINT>(::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0)) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
}
void Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    ::SendMessageW(hWnd, message, wParam, lParam);
}
void Click(HWND hWnd, UINT downMessage = WM_LBUTTONDOWN)
{
    Send(hWnd, downMessage, MK_LBUTTON, MAKELPARAM(5, 5));
    Send(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

class ButtonST : public ::testing::Test {
protected:
    void SetUp() override
    {
        buttontest::ParkCursor();
        ASSERT_TRUE(parent.Create(200, 200, 300, 200));
    }
    // A push button of the given style, attached as DDX_Control attaches it.
    HWND Attach(CButtonST& button, DWORD style = WS_TABSTOP, const wchar_t* text = L"", int cx = 40, UINT id = 1022)
    {
        HWND hWnd = parent.AddButton(text, style, id, 20, 20, cx, 40);
        EXPECT_TRUE(button.SubclassWindow(hWnd));
        return hWnd;
    }
    void SetTestIcons(CButtonST& button)
    {
        ASSERT_EQ(button.SetIcons(buttontest::LoadTestIcon(IDI_TEST_IN), buttontest::LoadTestIcon(IDI_TEST_OUT)), 0u);
    }

    buttontest::TestParent parent;
};

// ---- style, check state, clicks -------------------------------------------------------------

TEST_F(ButtonST, BecomesAndStaysOwnerDrawnWhateverStyleItIsGiven)
{
    TestButtonST plain, def, check;
    HWND hPlain = Attach(plain, WS_TABSTOP | BS_PUSHBUTTON);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hPlain, GWL_STYLE));
    EXPECT_EQ(style & (0x1F | WS_CHILD | WS_VISIBLE | WS_TABSTOP), BS_OWNERDRAW | WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    EXPECT_EQ(DefaultBits(hPlain), static_cast<UINT>(DLGC_UNDEFPUSHBUTTON));
    EXPECT_TRUE(::SendMessageW(hPlain, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);  // the system's bits stay
    EXPECT_EQ(DefaultBits(Attach(def, BS_DEFPUSHBUTTON, L"", 40, 1023)), static_cast<UINT>(DLGC_DEFPUSHBUTTON));
    Attach(check, BS_AUTOCHECKBOX, L"", 40, 1024);
    EXPECT_TRUE(check.IsCheckBox);
    EXPECT_FALSE(plain.IsCheckBox);

    // The dialog manager moves the default look with BM_SETSTYLE; the type stays owner-drawn.
    Send(hPlain, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(DefaultBits(hPlain), static_cast<UINT>(DLGC_DEFPUSHBUTTON));
    Send(hPlain, BM_SETSTYLE, BS_CHECKBOX, TRUE);  // another type leaves the choice
    EXPECT_EQ(DefaultBits(hPlain), static_cast<UINT>(DLGC_DEFPUSHBUTTON));
    Send(hPlain, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(DefaultBits(hPlain), static_cast<UINT>(DLGC_UNDEFPUSHBUTTON));
    EXPECT_EQ(ButtonType(hPlain), static_cast<UINT>(BS_OWNERDRAW));

    // The system erases nothing of it: the parent hands out the null brush.
    buttontest::Canvas canvas(4, 4, kPaper);
    EXPECT_EQ(::SendMessageW(parent.m_hWnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(canvas.Dc()),
                             reinterpret_cast<LPARAM>(hPlain)),
              reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)));
}

class TwoButtonDlg : public CDialog {
public:
    TestButtonST first, second;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, 10, first);
        DDX_Control(pDX, 11, second);
    }
};

TEST_F(ButtonST, InADialogTheFocusedDefaultButtonIsStillDrawnFlatByItsOwner)
{
    uitest::DialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_SYSMENU, 120, 60, L"Buttons");
    tmpl.Control(L"Button", L"", 10, BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 5, 30, 30)
        .Control(L"Button", L"", 11, BS_PUSHBUTTON | WS_TABSTOP, 45, 5, 30, 30);
    TwoButtonDlg dlg;
    dlg.InitModalIndirect(tmpl.Get());
    uitest::UiHarness harness;
    harness.RunModal(dlg, {
                              uitest::Do([&](CWnd&) {
                                  dlg.second.UseTestColors();
                                  dlg.GotoDlgCtrl(&dlg.second);  // BM_SETSTYLE to both buttons
                              }),
                              uitest::Do([&](CWnd&) {
                                  EXPECT_EQ(ButtonType(dlg.first.m_hWnd), static_cast<UINT>(BS_OWNERDRAW));
                                  EXPECT_TRUE(dlg.second.IsDefault);
                                  EXPECT_FALSE(dlg.first.IsDefault);
                                  const int before = dlg.second.draws;
                                  dlg.second.RedrawWindow();
                                  EXPECT_GT(dlg.second.draws, before);
                                  auto picture =
                                      Render(dlg.second.m_hWnd, kPaper);  // no push frame, no focus rectangle
                                  EXPECT_EQ(picture->Count(kBackFocus), picture->Width() * picture->Height());
                                  dlg.EndDialog(IDOK);
                              }),
                          });
}

TEST_F(ButtonST, InCheckBoxModeItKeepsItsCheckAndAClickFlipsIt)
{
    TestButtonST button, ordinary;
    HWND hWnd = Attach(button, BS_CHECKBOX, L"", 40, 1025);
    const struct {
        WPARAM state;
        LRESULT check;
    } cases[] = {{BST_CHECKED, 1}, {BST_UNCHECKED, 0}, {BST_INDETERMINATE, 1}, {7, 0}};
    for (const auto& c : cases) {
        ::ValidateRect(hWnd, nullptr);
        EXPECT_EQ(::SendMessageW(hWnd, BM_SETCHECK, c.state, 0), 0);
        EXPECT_EQ(::SendMessageW(hWnd, BM_GETCHECK, 0, 0), c.check) << c.state;
        EXPECT_TRUE(::GetUpdateRect(hWnd, nullptr, FALSE)) << c.state;
    }
    Click(hWnd);
    EXPECT_EQ(::SendMessageW(hWnd, BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(::GetFocus(), hWnd);
    ASSERT_EQ(parent.notifications.size(), 1u);  // the parent sees the click as well
    EXPECT_EQ(parent.notifications[0].id, 1025u);

    HWND hOrdinary = Attach(ordinary, WS_TABSTOP, L"", 40, 1026);
    ::ValidateRect(hOrdinary, nullptr);
    Send(hOrdinary, BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(::SendMessageW(hOrdinary, BM_GETCHECK, 0, 0), 0);
    EXPECT_FALSE(::GetUpdateRect(hOrdinary, nullptr, FALSE));
}

TEST_F(ButtonST, ADoubleClickIsTwoClicks)
{
    TestButtonST button;
    HWND hWnd = Attach(button);
    Click(hWnd);
    Click(hWnd, WM_LBUTTONDBLCLK);
    EXPECT_EQ(parent.Count(BN_CLICKED), 2);
    EXPECT_EQ(parent.Count(BN_DOUBLECLICKED), 0);
}

// ---- icons, cursor, tooltip -------------------------------------------------------------------

TEST_F(ButtonST, EachIconIsDrawnAtTheSizeItsHotSpotGives)
{
    TestButtonST button;
    HWND hWnd = Attach(button);
    ASSERT_EQ(button.SetIcons(buttontest::LoadTestIcon(IDI_TEST_IN), buttontest::LoadTestIcon(IDI_TEST_SMALL)), 0u);
    EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kGreen), CRect(12, 12, 28, 28));
    button.IsHovered = TRUE;
    EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kRed), kCentred);

    // An in icon alone serves both states; an out icon without an in icon stays the caller's.
    button.SetIcons(buttontest::LoadTestIcon(IDI_TEST_IN), nullptr);
    button.IsHovered = FALSE;
    EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kRed), kCentred);
    HICON hOut = buttontest::LoadTestIcon(IDI_TEST_OUT);
    EXPECT_EQ(button.SetIcons(nullptr, hOut), 0u);
    EXPECT_EQ(Render(hWnd, kPaper)->Count(kBlue), 0);
    button.SetIcons(nullptr, nullptr);
    EXPECT_TRUE(IconAlive(hOut));
    ::DestroyIcon(hOut);
}

TEST_F(ButtonST, IconsAreReleasedWhenReplacedUnreadableOrTheButtonGoes)
{
    HICON a = buttontest::LoadTestIcon(IDI_TEST_IN), b = buttontest::LoadTestIcon(IDI_TEST_OUT);
    HICON c = buttontest::LoadTestIcon(IDI_TEST_IN), d = buttontest::LoadTestIcon(IDI_TEST_SMALL);
    {
        TestButtonST button;
        Attach(button);
        button.SetIcons(a, b);
        button.SetIcons(c, d);
        EXPECT_FALSE(IconAlive(a) || IconAlive(b));
        EXPECT_TRUE(IconAlive(c) && IconAlive(d));
    }
    EXPECT_FALSE(IconAlive(c) || IconAlive(d));

    TestButtonST button;
    HWND hWnd = Attach(button);
    HICON hIn = buttontest::LoadTestIcon(IDI_TEST_IN);
    EXPECT_EQ(button.SetIcons(hIn, b), 1u);  // b is gone: both are released
    EXPECT_FALSE(IconAlive(hIn));
    EXPECT_EQ(Render(hWnd, kPaper)->Count(::GetSysColor(COLOR_BTNFACE)), 40 * 40);  // a bare button
}

TEST_F(ButtonST, TheHoverCursorComesFromTheResourcesAndReplacesTheLastOne)
{
    TestButtonST button, missing;
    HWND hWnd = Attach(button);
    ASSERT_EQ(button.SetHoverCursor(), 0u);
    HCURSOR hFirst = button.HoverCursor;
    EXPECT_EQ(::SendMessageW(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), hFirst);
    EXPECT_EQ(button.SetHoverCursor(), 0u);
    EXPECT_FALSE(IconAlive(reinterpret_cast<HICON>(hFirst)));

    HWND hMissing = Attach(missing, WS_TABSTOP, L"", 40, 1023);
    HINSTANCE hOld = AfxGetResourceHandle();
    AfxSetResourceHandle(::GetModuleHandleW(L"kernel32.dll"));  // a module without the cursor
    EXPECT_EQ(missing.SetHoverCursor(), 1u);
    AfxSetResourceHandle(hOld);
    Send(hMissing, WM_SETCURSOR, reinterpret_cast<WPARAM>(hMissing), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(ButtonST, TheTooltipHasOneToolOverTheButtonAsItWasAtTheFirstText)
{
    HWND hTip = nullptr;
    {
        TestButtonST button;
        HWND hWnd = Attach(button, WS_TABSTOP, L"", 50);
        button.SetTooltipText(nullptr);
        EXPECT_TRUE(button.ToolTip.m_hWnd == nullptr || button.ToolTip.GetToolCount() == 0);
        button.SetTooltipText(L"Add port(s)");
        ::MoveWindow(hWnd, 20, 20, 32, 32, FALSE);  // as the main dialog does after the texts
        button.SetTooltipText(L"Stop");
        hTip = button.ToolTip.m_hWnd;
        EXPECT_EQ(button.ToolTip.GetToolCount(), 1);
        EXPECT_EQ(button.ToolTip.GetMaxTipWidth(), 400);
        EXPECT_EQ(::GetWindowLongPtrW(hTip, GWL_STYLE) & 0xFFFF, 0);  // style 0: no TTS_ALWAYSTIP
        CString text;
        button.ToolTip.GetText(text, &button, 1);
        EXPECT_STREQ(static_cast<LPCWSTR>(text), L"Stop");
        TTTOOLINFOW info = {};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.hwnd = hWnd;
        info.uId = 1;
        ::SendMessageW(hTip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(CRect(info.rect), CRect(0, 0, 50, 40));
        parent.DestroyWindow();  // the dialog takes the tooltip it owns; the object lets go
        EXPECT_EQ(button.ToolTip.m_hWnd, nullptr);
    }
    EXPECT_FALSE(::IsWindow(hTip));
}

// ---- hover ------------------------------------------------------------------------------------

TEST_F(ButtonST, HoverStartsOverTheButtonAndEndsOnEveryWayOut)
{
    TestButtonST button;
    HWND hWnd = Attach(button);
    SetTestIcons(button);
    Send(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 20));  // a drag from elsewhere
    EXPECT_FALSE(button.IsHovered);

    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } exits[] = {{"kill focus", WM_KILLFOCUS, 0, 0},
                 {"cancel mode", WM_CANCELMODE, 0, 0},
                 {"inactive", WM_ACTIVATE, WA_INACTIVE, 0},
                 {"leave", WM_MOUSELEAVE, 0, 0},
                 {"elsewhere", WM_MOUSEMOVE, 0, MAKELPARAM(-10, -10)},
                 {"disabled", 0, 0, 0}};
    for (const auto& exit : exits) {
        Send(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
        ASSERT_TRUE(button.IsHovered) << exit.what;
        EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kRed), kCentred) << exit.what;
        ::ValidateRect(hWnd, nullptr);
        const int before = button.draws;
        if (exit.message != 0)
            Send(hWnd, exit.message, exit.wParam, exit.lParam);
        else
            ::EnableWindow(hWnd, FALSE);
        EXPECT_FALSE(button.IsHovered) << exit.what;
        // Repainted, or about to be (the system repaints a button it disables at once).
        EXPECT_TRUE(::GetUpdateRect(hWnd, nullptr, FALSE) || button.draws > before) << exit.what;
        ::EnableWindow(hWnd, TRUE);
        EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kBlue), kCentred) << exit.what;
    }
}

TEST_F(ButtonST, ADisabledButtonPassesTheFocusToTheNextTabStopOrToItsParent)
{
    TestButtonST button;
    HWND hA = parent.AddButton(L"A", WS_TABSTOP, 1, 0, 100, 40, 20);
    HWND hB = Attach(button);
    HWND hC = parent.AddButton(L"C", WS_TABSTOP, 3, 100, 100, 40, 20);
    ::SetFocus(hB);
    ::EnableWindow(hB, FALSE);
    EXPECT_EQ(::GetFocus(), hC);

    ::EnableWindow(hB, TRUE);
    ::DestroyWindow(hA);
    ::DestroyWindow(hC);
    ::SetFocus(hB);
    ::EnableWindow(hB, FALSE);
    EXPECT_EQ(::GetFocus(), parent.m_hWnd);
}

TEST_F(ButtonST, TheRealMouseLightsTheButtonUpItsLeavingIsNoticedAndTheTipShows)
{
    TestButtonST button;
    HWND hWnd = Attach(button);
    SetTestIcons(button);
    button.SetTooltipText(L"Add port(s)");
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ASSERT_TRUE(uitest::PutCursorAt(hWnd, POINT{rect.left + 20, rect.top + 20}));
    ASSERT_TRUE(buttontest::PumpUntil([&] { return button.IsHovered != FALSE; }));
    // The tooltip learns of the mouse only through the button's pre-translate relay.
    ASSERT_TRUE(buttontest::PumpUntil([&] { return ::IsWindowVisible(button.ToolTip.m_hWnd) != FALSE; }));
    TTTOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    EXPECT_TRUE(::SendMessageW(button.ToolTip.m_hWnd, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.uId, 1u);

    ASSERT_TRUE(uitest::PutCursorAt(hWnd, POINT{rect.left + 20, rect.bottom + 60}));
    EXPECT_TRUE(buttontest::PumpUntil([&] { return button.IsHovered == FALSE; }));
    EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kBlue), kCentred);
}

// ---- drawing ----------------------------------------------------------------------------------

TEST_F(ButtonST, TheBackgroundAndIconShowHoverPressAndFocusAndAPressMovesTheIcon)
{
    TestButtonST button;
    HWND hWnd = Attach(button);
    SetTestIcons(button);
    EXPECT_EQ(Render(hWnd, kPaper)->Pixel(1, 1), ::GetSysColor(COLOR_BTNFACE));  // the default colours
    button.UseTestColors();
    auto normal = Render(hWnd, kPaper);
    EXPECT_EQ(normal->BoundsOf(kBlue), kCentred);
    EXPECT_EQ(normal->Count(kBackOut), 40 * 40 - 32 * 32);
    ::SetFocus(hWnd);
    EXPECT_EQ(Render(hWnd, kPaper)->Count(kBackFocus), 40 * 40 - 32 * 32);  // no focus rectangle
    button.IsHovered = TRUE;
    EXPECT_EQ(Render(hWnd, kPaper)->Count(kBackIn), 40 * 40 - 32 * 32);
    button.IsHovered = FALSE;
    Send(hWnd, BM_SETSTATE, TRUE);
    auto pressed = Render(hWnd, kPaper);
    EXPECT_EQ(pressed->BoundsOf(kRed), CRect(5, 5, 37, 37));
    EXPECT_EQ(pressed->Pixel(1, 1), kBackIn);
}

TEST_F(ButtonST, WithACaptionTheIconSitsLeftAndTheCaptionIsCentredInTheRest)
{
    TestButtonST button;
    HWND hWnd = Attach(button, WS_TABSTOP, L"Go", 100);
    button.UseTestColors();
    SetTestIcons(button);
    auto normal = Render(hWnd, kPaper);
    EXPECT_EQ(normal->BoundsOf(kBlue), CRect(3, 4, 35, 36));
    const CRect caption = normal->BoundsOfOthers({kBlue, kBackOut});
    EXPECT_NEAR((caption.left + caption.right) / 2.0, (35 + 100) / 2.0, 1.5);
    EXPECT_NEAR((caption.top + caption.bottom) / 2.0, 20.0, 2.0);

    Send(hWnd, BM_SETSTATE, TRUE);
    auto pressed = Render(hWnd, kPaper);
    EXPECT_EQ(pressed->BoundsOf(kRed), CRect(4, 5, 36, 37));
    EXPECT_EQ(pressed->BoundsOfOthers({kRed, kBackIn}),
              CRect(caption.left + 1, caption.top + 1, caption.right + 1, caption.bottom + 1));
}

TEST_F(ButtonST, InCheckBoxModeTheCheckShowsTheInIconUnmovedAndHoverAloneDoesNot)
{
    TestButtonST button;
    HWND hWnd = Attach(button, BS_CHECKBOX);
    SetTestIcons(button);
    button.IsHovered = TRUE;
    EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kBlue), kCentred);
    Send(hWnd, BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kRed), kCentred);
    Send(hWnd, BM_SETCHECK, BST_UNCHECKED);
    Send(hWnd, BM_SETSTATE, TRUE);
    EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kRed), kCentred);
}

TEST_F(ButtonST, ADisabledButtonGreysItsIconAndEmbossesItsCaption)
{
    TestButtonST withIcon, captionOnly;
    HWND hIcon = Attach(withIcon);
    SetTestIcons(withIcon);
    ::EnableWindow(hIcon, FALSE);
    auto icon = Render(hIcon, kPaper);
    EXPECT_EQ(icon->Count(kBlue) + icon->Count(kRed), 0);
    EXPECT_FALSE(icon->BoundsOfOthers({::GetSysColor(COLOR_BTNFACE)}).IsRectEmpty());

    HWND hCaption = Attach(captionOnly, WS_TABSTOP, L"Go", 100, 1023);
    ::EnableWindow(hCaption, FALSE);
    auto caption = Render(hCaption, kPaper);
    const CRect shadow = caption->BoundsOf(::GetSysColor(COLOR_3DSHADOW));
    const CRect highlight = caption->BoundsOf(::GetSysColor(COLOR_3DHILIGHT));
    ASSERT_FALSE(shadow.IsRectEmpty());
    EXPECT_EQ(highlight.TopLeft(), CPoint(shadow.left + 1, shadow.top + 1));
}

}  // namespace
