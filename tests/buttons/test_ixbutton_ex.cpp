// The colour button: attaching, the tooltip, press and toggle, hover by timer, the erase, and the
// rounded tile it paints with its caption and image.
#include "ButtonTestSupport.h"
#include "buttons_test_ids.h"
#include "controls/IXButtonEx.h"
#include "tests/support/Cursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using buttontest::Canvas;
using buttontest::Render;

// The owners' colours (the COM-number map and the About box).
const COLORREF kClaimed = RGB(91, 125, 164);
const COLORREF kFree = RGB(158, 157, 187);
const COLORREF kBorder = RGB(198, 226, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kPaper = RGB(1, 2, 3);       // what a canvas holds before the button paints
const COLORREF kParent = RGB(40, 80, 120);  // the parent's colour the button has sampled

class TestIXButton : public CIXButtonEx {
public:
    using CIXButtonEx::EmbossBitmap;

    // As the owners set their tiles up.
    void UseOwnerLook()
    {
        BackColor = kFree;
        HoverBackColor = kClaimed;
        BorderColor = kBorder;
        CornerSize = CPoint(5, 5);
        ParentBackColor = kParent;
        ParentBackColorSampled = TRUE;
    }
};

class IXButtonEx : public ::testing::Test {
protected:
    void SetUp() override
    {
        buttontest::ParkCursor();
        ASSERT_TRUE(parent.Create(200, 200, 300, 200));
    }
    HWND Attach(CIXButtonEx& button, const wchar_t* text = L"7", int cx = 60, int cy = 30, UINT id = 1029)
    {
        HWND hWnd = parent.AddButton(text, WS_TABSTOP, id, 20, 20, cx, cy);
        EXPECT_TRUE(button.SubclassWindow(hWnd));
        return hWnd;
    }

    buttontest::TestParent parent;
};

void Press(HWND hWnd)
{
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
}
void Release(HWND hWnd, int x = 5)
{
    ::SendMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
}
void MouseMove(HWND hWnd)
{
    ::SendMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
}
void Erase(HWND hWnd, const Canvas& canvas)
{
    EXPECT_TRUE(::SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0));
}

// The whole text of the button's tool (the tooltip hands back at most 1023 characters).
std::wstring TipText(CIXButtonEx& button)
{
    std::wstring text(2048, L'\0');
    TTTOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = ::GetParent(button.m_hWnd);
    info.uId = reinterpret_cast<UINT_PTR>(button.m_hWnd);
    info.lpszText = &text[0];
    ::SendMessageW(button.ToolTip.m_hWnd, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&info));
    return std::wstring(info.lpszText);
}

// The mouse comes to the button (a posted move, through the pre-translate walk): its tooltip
// window exists from then on.
bool MouseComes(CIXButtonEx& button)
{
    ::PostMessageW(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    return buttontest::PumpUntil([&] { return button.ToolTip.m_hWnd != nullptr; }, 5000);
}

// ---- attaching and the tooltip ----------------------------------------------------------------

TEST_F(IXButtonEx, AttachingAddsOwnerDrawAndMultilineAndMakesTheButtonItsOwnTool)
{
    CIXButtonEx button;
    HWND hWnd = Attach(button);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE));
    EXPECT_EQ(style & (0x200B | WS_CHILD | WS_VISIBLE | WS_TABSTOP), 0x200B | WS_CHILD | WS_VISIBLE | WS_TABSTOP);

    // No tooltip window until the mouse comes: a map of 259 tiles would wait for 259 of them.
    EXPECT_EQ(button.ToolTip.m_hWnd, nullptr);
    ASSERT_TRUE(MouseComes(button));
    ASSERT_EQ(button.ToolTip.GetToolCount(), 1);
    wchar_t text[80] = L"";
    TTTOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.lpszText = text;
    ASSERT_TRUE(::SendMessageW(button.ToolTip.m_hWnd, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)));
    // One relay, the button's pre-translate, and the tooltip's own style.
    EXPECT_EQ(info.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND));
    EXPECT_EQ(::GetWindowLongPtrW(button.ToolTip.m_hWnd, GWL_STYLE) & 0xFFFF, 0);
    EXPECT_EQ(info.uId, reinterpret_cast<UINT_PTR>(hWnd));
    EXPECT_EQ(info.hwnd, parent.m_hWnd);
    EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACKW);
}

TEST_F(IXButtonEx, TheTooltipTextColoursTheTipAndAnEmptyOneShowsNothing)
{
    CIXButtonEx button, plain, tooLong, unattached;
    Attach(plain, L"9", 60, 30, 1031);
    ASSERT_TRUE(MouseComes(plain));
    const COLORREF bk = plain.ToolTip.GetTipBkColor();
    plain.SetTooltipText(L"");
    EXPECT_TRUE(plain.HasTooltip);
    EXPECT_EQ(plain.ToolTip.GetTipBkColor(), bk);

    Attach(button);
    button.SetTooltipText(L"COM5");  // before the tooltip exists: the text waits for it
    ASSERT_TRUE(MouseComes(button));
    EXPECT_EQ(TipText(button), L"COM5");
    EXPECT_EQ(button.ToolTip.GetTipBkColor(), 0xFBF0E6u);
    EXPECT_EQ(button.ToolTip.GetTipTextColor(), 0x8C0000u);
    // An empty text later clears the old one, which hovering would otherwise show again.
    button.SetTooltipText(L"");
    EXPECT_EQ(TipText(button), L"");

    button.SetTooltipText(std::wstring(1024, L'x').c_str());
    EXPECT_EQ(TipText(button), std::wstring(1023, L'x'));
    Attach(tooLong, L"8", 60, 30, 1030);
    EXPECT_THROW(tooLong.SetTooltipText(std::wstring(1025, L'y').c_str()), CInvalidArgException*);
    EXPECT_TRUE(tooLong.HasTooltip);

    unattached.SetTooltipText(L"COM1");  // no window yet: nothing to set, no crash
    EXPECT_TRUE(unattached.HasTooltip);
}

// ---- press and toggle -------------------------------------------------------------------------

TEST_F(IXButtonEx, EveryPressFlipsTheToggleAndSwapsTheColoursAndAReleaseInsideClicks)
{
    CIXButtonEx button;
    HWND hWnd = Attach(button);
    button.BackColor = kFree;
    button.HoverBackColor = kClaimed;

    Press(hWnd);
    EXPECT_FALSE(button.ToggleState);
    EXPECT_TRUE(button.MouseDown);
    EXPECT_EQ(::GetCapture(), hWnd);
    EXPECT_EQ(button.BackColor, kFree);  // no swap asked for
    Release(hWnd);
    EXPECT_FALSE(button.MouseDown);
    EXPECT_EQ(parent.Count(BN_CLICKED), 1);

    button.SwapColorsOnClick = TRUE;
    Press(hWnd);
    EXPECT_EQ(button.BackColor, kClaimed);
    EXPECT_EQ(button.HoverBackColor, kFree);
    EXPECT_TRUE(button.ToggleState);
    Release(hWnd, -20);  // outside: the toggle stays, no click
    EXPECT_EQ(parent.Count(BN_CLICKED), 1);

    // The second press of a double click does not toggle; the parent hears of the double click.
    ::SendMessageW(hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    Release(hWnd);
    EXPECT_TRUE(button.ToggleState);
    EXPECT_EQ(parent.Count(BN_DOUBLECLICKED), 1);

    // A press whose release goes elsewhere ends when another window takes the mouse.
    Press(hWnd);
    ::ReleaseCapture();
    EXPECT_FALSE(button.MouseDown);
}

TEST_F(IXButtonEx, ANonInteractiveButtonIgnoresTheLeftButtonAndNeverHovers)
{
    CIXButtonEx button;
    HWND hWnd = Attach(button);
    button.Interactive = FALSE;
    button.SetTooltipText(L"COM9");
    Press(hWnd);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(::SendMessageW(hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED);
    Release(hWnd);
    EXPECT_TRUE(button.ToggleState);
    EXPECT_EQ(parent.Count(BN_CLICKED), 0);
    MouseMove(hWnd);
    EXPECT_FALSE(button.Hover);
}

// ---- hover ------------------------------------------------------------------------------------

TEST_F(IXButtonEx, HoverNeedsATooltipTextAndAReleasedButtonAndBringsTheHand)
{
    CIXButtonEx button;
    HWND hWnd = Attach(button);
    HCURSOR hArrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(hArrow);
    MouseMove(hWnd);  // a legend tile: no tooltip text, no hover
    EXPECT_FALSE(button.Hover);
    EXPECT_FALSE(::KillTimer(hWnd, 1));
    EXPECT_EQ(::GetCursor(), hArrow);

    button.SetTooltipText(L"");
    button.MouseDown = TRUE;
    MouseMove(hWnd);
    EXPECT_FALSE(button.Hover);
    button.MouseDown = FALSE;
    ::ValidateRect(hWnd, nullptr);
    MouseMove(hWnd);
    EXPECT_TRUE(button.Hover);
    EXPECT_TRUE(::GetUpdateRect(hWnd, nullptr, FALSE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    button.MouseDown = TRUE;  // held: the timer does not end hover (the real mouse is far away)
    ::SendMessageW(hWnd, WM_TIMER, 1, 0);
    EXPECT_TRUE(button.Hover);
    EXPECT_TRUE(::KillTimer(hWnd, 1));
}

TEST_F(IXButtonEx, TheRealMouseShowsTheTipAndHoverEndsSoonAfterItLeavesNotWhileItStays)
{
    CIXButtonEx button;
    HWND hWnd = Attach(button);
    button.SetTooltipText(L"COM6");
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ASSERT_TRUE(uitest::PutCursorAt(hWnd, POINT{rect.left + 10, rect.top + 10}));
    ASSERT_TRUE(buttontest::PumpUntil([&] { return button.Hover != FALSE; }));
    EXPECT_TRUE(buttontest::PumpUntil([&] { return ::IsWindowVisible(button.ToolTip.m_hWnd) != FALSE; }))
        << "the tip shows";
    // The hover timer's checks while the cursor stays.
    ::SendMessageW(hWnd, WM_TIMER, button.HoverTimerId, 0);
    ::SendMessageW(hWnd, WM_TIMER, button.HoverTimerId, 0);
    EXPECT_TRUE(button.Hover);

    buttontest::ParkCursor();
    ASSERT_TRUE(buttontest::PumpUntil([&] { return button.Hover == FALSE; }));
    EXPECT_FALSE(::KillTimer(hWnd, 1));  // the timer went with the hover
}

// ---- erasing ----------------------------------------------------------------------------------

TEST_F(IXButtonEx, TheFirstReadableEraseSamplesTheParentsColourForGood)
{
    CIXButtonEx button;
    HWND hWnd = Attach(button);
    const COLORREF before = button.ParentBackColor;
    Canvas tooSmall(10, 10, kWhite);  // the centre (30, 15) lies outside it
    Erase(hWnd, tooSmall);
    EXPECT_EQ(button.ParentBackColor, before);
    EXPECT_FALSE(button.ParentBackColorSampled);

    Canvas first(60, 30, kBlack);
    CDC::FromHandle(first.Dc())->SetPixel(30, 15, kParent);
    Erase(hWnd, first);
    EXPECT_EQ(button.ParentBackColor, kParent);
    EXPECT_EQ(first.Count(kParent), 60 * 30);
    Canvas second(60, 30, kWhite);
    Erase(hWnd, second);
    EXPECT_EQ(second.Count(kParent), 60 * 30);
}

TEST_F(IXButtonEx, ABackgroundBitmapShowsThePartUnderTheButton)
{
    CIXButtonEx button, missing;
    HWND hWnd = Attach(button);
    button.UseBackgroundBitmap = TRUE;
    button.BackgroundBitmapId = IDB_TEST_BACKGROUND;
    CPoint origin(0, 0);
    ::ClientToScreen(hWnd, &origin);
    CRect parentRect;
    ::GetWindowRect(parent.m_hWnd, &parentRect);
    const int dx = origin.x - parentRect.left, dy = origin.y - parentRect.top;
    Canvas canvas(60, 30, kPaper);
    Erase(hWnd, canvas);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(2 * dx, 2 * dy, 128));
    EXPECT_EQ(canvas.Pixel(10, 5), RGB(2 * (dx + 10), 2 * (dy + 5), 128));

    HWND hMissing = Attach(missing, L"8", 60, 30, 1030);
    missing.UseBackgroundBitmap = TRUE;
    missing.BackgroundBitmapId = 9999;  // cannot be loaded: nothing is copied
    Canvas untouched(60, 30, kPaper);
    Erase(hMissing, untouched);
    EXPECT_EQ(untouched.Count(kPaper), 60 * 30);
}

// ---- drawing ----------------------------------------------------------------------------------

TEST_F(IXButtonEx, TheOwnersTileIsARoundedFillInsideTheEdgesWithItsBorderAndCaption)
{
    TestIXButton button;
    HWND hWnd = Attach(button);
    button.UseOwnerLook();
    const int cx = ::GetSystemMetrics(SM_CXEDGE), cy = ::GetSystemMetrics(SM_CYEDGE);
    auto tile = Render(hWnd, kPaper);
    EXPECT_EQ(tile->Pixel(8, 15), kFree);
    EXPECT_EQ(tile->Pixel(cx, 15), kBorder);
    EXPECT_EQ(tile->Pixel(0, 0), kPaper);    // no frame
    EXPECT_EQ(tile->Pixel(cx, cy), kPaper);  // the rounded corner is not painted
    EXPECT_GT(tile->Count(kWhite), 0);       // the caption

    button.Hover = TRUE;
    auto hovered = Render(hWnd, kPaper);
    EXPECT_EQ(hovered->Pixel(8, 15), kClaimed);
    EXPECT_GT(hovered->Count(RGB(0, 0, 0x8C)), 0);
    EXPECT_EQ(hovered->Count(kWhite), 0);

    ::EnableWindow(hWnd, FALSE);  // disabled: the parent's colour inside, the caption embossed
    auto disabled = Render(hWnd, kPaper);
    EXPECT_EQ(disabled->Pixel(8, 15), kParent);
    EXPECT_EQ(disabled->Pixel(cx, 15), kBorder);
    EXPECT_GT(disabled->Count(::GetSysColor(COLOR_BTNSHADOW)), 0);

    ::EnableWindow(hWnd, TRUE);
    button.Flat = FALSE;  // the system's push frame at the very edge
    auto framed = Render(hWnd, kPaper);
    EXPECT_NE(framed->Pixel(0, 0), kPaper);
    EXPECT_NE(framed->Pixel(59, 29), kPaper);
    button.Flat = TRUE;  // flat and square: a flat frame, one colour all round, not the raised one
    button.Rounded = FALSE;
    auto square = Render(hWnd, kPaper);
    EXPECT_NE(square->Pixel(0, 0), kPaper);
    EXPECT_NE(square->Pixel(0, 0), framed->Pixel(0, 0));
    EXPECT_EQ(square->Pixel(0, 0), square->Pixel(59, 29));
    EXPECT_EQ(CIXButtonEx::FrameState(TRUE, TRUE, TRUE, FALSE, TRUE),
              UINT(DFCS_BUTTONPUSH | DFCS_INACTIVE | DFCS_MONO));
    EXPECT_EQ(CIXButtonEx::FrameState(TRUE, TRUE, TRUE, FALSE, FALSE), 0u);
}

TEST_F(IXButtonEx, TheCaptionIsOneClippedLineUnderlinedAndBoldAsAsked)
{
    TestIXButton button;
    HWND hWnd = Attach(button, L"77");
    button.UseOwnerLook();
    auto ink = [&](COLORREF color) { return Render(hWnd, kPaper)->Count(color); };
    const int plain = ink(kWhite);
    button.Underline = 1;  // only while hovering
    EXPECT_EQ(ink(kWhite), plain);
    button.Underline = 2;
    EXPECT_GT(ink(kWhite), plain);
    button.Underline = 0;
    auto caption = [&] {  // every pixel of the fill's middle that is not fill
        auto tile = Render(hWnd, kPaper);
        int count = 0;
        for (int y = 5; y < 25; ++y)
            for (int x = 5; x < 55; ++x)
                count += tile->Pixel(x, y) != kFree ? 1 : 0;
        return count;
    };
    const int regular = caption();
    button.BoldText = TRUE;
    EXPECT_GT(caption(), regular + regular / 4);

    button.BoldText = FALSE;
    button.Caption = L"WWWWWWWWWWWWWWWWWWWW";  // wins over the window text
    auto tile = Render(hWnd, kPaper);
    const CRect text = tile->BoundsOf(kWhite);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(tile->Dc(), &metrics);
    EXPECT_LE(text.Height(), metrics.tmHeight);
    EXPECT_LE(text.left, 3);
    EXPECT_GE(text.right, 57);
}

TEST_F(IXButtonEx, TheCaptionFontFallsBackToTheGuiFontAndKeepLogFontKeepsTheOwnersOne)
{
    TestIXButton button;
    HWND hWnd = Attach(button);
    button.UseOwnerLook();
    LOGFONTW gui = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);

    button.KeepLogFont = TRUE;  // before the first draw: the window's font is read all the same
    Render(hWnd, kPaper);
    EXPECT_STREQ(button.TextLogFont.lfFaceName, gui.lfFaceName);
    button.TextLogFont.lfHeight = gui.lfHeight * 2;
    Render(hWnd, kPaper);
    EXPECT_EQ(button.TextLogFont.lfHeight, gui.lfHeight * 2);

    button.KeepLogFont = FALSE;
    ::SendMessageW(hWnd, WM_SETFONT, 0, FALSE);  // a window without a font
    EXPECT_GT(Render(hWnd, kPaper)->Count(kWhite), 0);
    EXPECT_EQ(button.TextLogFont.lfHeight, gui.lfHeight);
}

TEST_F(IXButtonEx, TheImageSitsBesideTheCaptionOrWhereItsAlignmentPutsIt)
{
    TestIXButton button;
    HWND hWnd = Attach(button, L"7", 80, 40);
    button.UseOwnerLook();
    button.ImageId = IDB_TEST_IMAGE;  // a black 8 x 8 square in the middle of 16 x 16 grey

    auto tile = Render(hWnd, kPaper);
    EXPECT_EQ(button.ImageOffset, 18);
    EXPECT_EQ(tile->Count(RGB(192, 192, 192)), 0);  // the grey became the fill
    const int w = CDC::FromHandle(tile->Dc())->GetTextExtent(CString(L"7")).cx;
    const int x = std::max(0, 40 - std::max(0, (w + 18) / 2));
    EXPECT_EQ(tile->BoundsOf(kBlack), CRect(x + 4, 16, x + 12, 24));
    EXPECT_GE(tile->BoundsOf(kWhite).left, x + 18);  // after the picture and a 2-pixel gap

    const struct {
        int align;
        CPoint at;
    } places[] = {{1, CPoint(0, 12)}, {2, CPoint(x, 0)}, {3, CPoint(0, 0)}};
    for (const auto& place : places) {
        button.ImageAlign = place.align;
        EXPECT_EQ(Render(hWnd, kPaper)->BoundsOf(kBlack).TopLeft(), CPoint(place.at.x + 4, place.at.y + 4))
            << place.align;
    }
    button.SetWindowText(L"");
    Render(hWnd, kPaper);
    EXPECT_EQ(button.ImageOffset, 16);
    button.ImageId = 9999;  // cannot be loaded: no room is made
    Render(hWnd, kPaper);
    EXPECT_EQ(button.ImageOffset, 0);
}

TEST_F(IXButtonEx, ADisabledImageIsEmbossedOrReplacedByTheDisabledOne)
{
    TestIXButton button;
    HWND hWnd = Attach(button, L"", 40, 40);
    button.UseOwnerLook();
    button.ImageId = IDB_TEST_IMAGE;
    ::EnableWindow(hWnd, FALSE);
    auto embossed = Render(hWnd, kPaper);
    EXPECT_EQ(embossed->Count(kBlack), 0);
    EXPECT_GT(embossed->Count(::GetSysColor(COLOR_BTNSHADOW)), 0);
    // Only white counts as the picture's face: its grey background is shadow too.
    EXPECT_EQ(embossed->Pixel(13, 13), ::GetSysColor(COLOR_BTNSHADOW));
    button.DisabledImageId = IDB_TEST_PATTERN;
    EXPECT_GT(Render(hWnd, kPaper)->Count(RGB(255, 0, 255)), 0);
}

TEST_F(IXButtonEx, HatchAndPatternBrushesFillTheTileAndNoBrushLeavesTheBorderOnly)
{
    TestIXButton button;
    HWND hWnd = Attach(button, L"");
    button.UseOwnerLook();
    button.BrushKind = 2;
    button.BrushParam = HS_CROSS;
    auto hatched = Render(hWnd, kPaper);
    int lines = 0;
    for (int x = 5; x < 55; ++x)
        lines += hatched->Pixel(x, 15) == kFree ? 1 : 0;
    EXPECT_GT(lines, 3);
    EXPECT_LT(lines, 20);  // the gaps show the DC's background colour

    button.BrushKind = 1;
    button.BrushParam = IDB_TEST_PATTERN;
    auto patterned = Render(hWnd, kPaper);
    EXPECT_GT(patterned->Count(RGB(255, 0, 255)), 20);
    EXPECT_GT(patterned->Count(RGB(0, 255, 0)), 20);

    button.BrushKind = 7;
    auto bordered = Render(hWnd, kPaper);
    EXPECT_EQ(bordered->Pixel(30, 15), kPaper);
    EXPECT_EQ(bordered->Pixel(2, 15), kBorder);
}

TEST(IXButtonExBitmaps, EmbossingTurnsEveryPixelButWhiteIntoAShadowWithAHighlightBelowRight)
{
    Canvas canvas(1, 1, kPaper);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    // A white 8 x 8 picture with a black pixel at (3, 3) and a light grey one at (5, 1).
    CBitmap bitmap;
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(pDC));
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(pDC, 8, 8));
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 8, 8, kWhite);
    dc.SetPixel(3, 3, kBlack);
    dc.SetPixel(5, 1, RGB(192, 192, 192));
    dc.SelectObject(pOld);
    TestIXButton::EmbossBitmap(bitmap);
    pOld = dc.SelectObject(&bitmap);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            COLORREF expected = ::GetSysColor(COLOR_BTNFACE);
            if ((x == 3 && y == 3) || (x == 5 && y == 1))
                expected = ::GetSysColor(COLOR_BTNSHADOW);
            else if ((x == 4 && y == 4) || (x == 6 && y == 2))
                expected = ::GetSysColor(COLOR_3DHILIGHT);
            EXPECT_EQ(dc.GetPixel(x, y), expected) << x << "," << y;
        }
    dc.SelectObject(pOld);
}

}  // namespace
