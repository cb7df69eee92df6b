// The dialog as the user finds it: its template, the places of its 262 buttons, and the look of
// every tile at opening for present, claimed and free numbers.
#include "tests/app_comdb/ComDbDialogTestSupport.h"

#include "app/Globals.h"

#include <string>

using uitest::Do;

namespace {

// The looks, as COLORREF values 0x00BBGGRR.
const COLORREF kGreen = 0x000A800A;   // present
const COLORREF kBlue = 0x00A47D5B;    // claimed
const COLORREF kLilac = 0x00BB9D9E;   // free
const COLORREF kBorder = 0x00FFE2C6;  // every tile's border

const int kRows[16] = {32, 50, 72, 90, 111, 129, 150, 168, 189, 207, 229, 247, 269, 287, 309, 327};

// Where a control is, in dialog units, and what it says.
struct Placement {
    int id;
    const wchar_t* caption;
    int x, y, cx, cy;
};

const Placement kFixedControls[] = {
    {IDC_COMDB_LEGEND_PRESENT, L"Do not change", 7, 7, 110, 17},
    {IDC_COMDB_LEGEND_CLAIMED, L"Use the com db", 129, 7, 110, 17},
    {IDC_COMDB_LEGEND_FREE, L"Do not use com db", 250, 7, 110, 17},
    {IDC_COMDB_CLEARALL, L"Clear All", 7, 347, 50, 21},
    {IDC_COMDB_APPLY, L"Apply", 258, 347, 50, 21},
    {IDC_COMDB_CANCEL, L"Cancel", 310, 347, 50, 21},
};

// A rectangle as "(x, y, width x height)".
std::string Describe(const CRect& rect)
{
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " + std::to_string(rect.Width()) +
           " x " + std::to_string(rect.Height()) + ")";
}

// Where the dialog manager puts a control given in dialog units: it converts the position and
// the size, each on its own.
CRect DialogUnitsToPixels(HWND hDlg, int x, int y, int cx, int cy)
{
    CRect units(x, y, cx, cy);
    ::MapDialogRect(hDlg, &units);
    return CRect(units.left, units.top, units.left + units.right, units.top + units.bottom);
}

// A child's rectangle in its parent's client coordinates.
CRect ChildRect(HWND hWnd)
{
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

void ExpectPlaced(HWND hDlg, const Placement& expected)
{
    HWND hCtrl = ::GetDlgItem(hDlg, expected.id);
    ASSERT_NE(nullptr, hCtrl) << "control " << expected.id;
    EXPECT_EQ(Describe(DialogUnitsToPixels(hDlg, expected.x, expected.y, expected.cx, expected.cy)),
              Describe(ChildRect(hCtrl)))
        << "control " << expected.id;
    EXPECT_EQ(expected.caption, uitest::WindowText(hCtrl)) << "control " << expected.id;
}

// The colour the user sees inside a tile, left of its caption, once it has painted.
COLORREF PaintedColor(HWND hTile)
{
    ::RedrawWindow(hTile, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CRect client;
    ::GetClientRect(hTile, &client);
    HDC hdc = ::GetDC(hTile);
    const COLORREF color = ::GetPixel(hdc, 5, client.Height() / 2);
    ::ReleaseDC(hTile, hdc);
    return color;
}

std::wstring TipText(CIXButtonEx& tile)
{
    CString text;
    tile.ToolTip.GetText(text, &tile);
    return static_cast<LPCWSTR>(text);
}

}  // namespace

TEST(ComDbTemplate, IsAFixedModalFrameWith262PushButtons)
{
    // DLGTEMPLATEEX: version, signature, help id, extended style, style, item count, x, y, cx, cy.
    const BYTE* bytes = reinterpret_cast<const BYTE*>(AfxLoadDialogTemplate(MAKEINTRESOURCEW(IDD_COMDB)));
    ASSERT_NE(nullptr, bytes);
    ASSERT_EQ(0xFFFF, *reinterpret_cast<const WORD*>(bytes + 2));
    EXPECT_EQ(0x00C800C8u, *reinterpret_cast<const DWORD*>(bytes + 12));
    EXPECT_EQ(262, *reinterpret_cast<const WORD*>(bytes + 16));
    EXPECT_EQ(367, *reinterpret_cast<const short*>(bytes + 22));
    EXPECT_EQ(375, *reinterpret_cast<const short*>(bytes + 24));
}

TEST_F(ComDbDialogTest, PlacesEveryButtonWhereTheLayoutSays)
{
    Run({Do([](CWnd& w) {
        HWND hDlg = w.m_hWnd;
        EXPECT_EQ(L"COM DB Setting", uitest::WindowText(hDlg));
        for (const Placement& control : kFixedControls)
            ExpectPlaced(hDlg, control);
        for (int n = 1; n <= 256; ++n) {
            const std::wstring caption = std::to_wstring(n);
            ExpectPlaced(
                hDlg, {IDC_COMDB_COM1 + n - 1, caption.c_str(), 7 + 22 * ((n - 1) % 16), kRows[(n - 1) / 16], 22, 17});
        }
        // COM256 closes the last row.
        EXPECT_EQ(Describe(DialogUnitsToPixels(hDlg, 337, 327, 22, 17)), Describe(ChildRect(TileWindow(w, 256))));
        // The commands stay plain push buttons; the tiles draw themselves.
        EXPECT_EQ(0x50010000, ::GetWindowLongW(Item(w, IDC_COMDB_APPLY), GWL_STYLE));
        EXPECT_EQ(0x50010000, ::GetWindowLongW(Item(w, IDC_COMDB_CANCEL), GWL_STYLE));
        EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongW(TileWindow(w, 1), GWL_STYLE) & BS_TYPEMASK);
    })});
}

TEST_F(ComDbDialogTest, ShowsEachNumberInTheLookOfItsUse)
{
    ArrangeMixedMachine();
    auto tipsMade = [this] {
        int made = 0;
        for (int n = 1; n <= 256; ++n)
            made += Tile(n).ToolTip.m_hWnd != nullptr ? 1 : 0;
        return made;
    };
    auto hovering = [this] {
        for (int n = 1; n <= 256; ++n)
            if (Tile(n).Hover)
                return true;
        return false;
    };
    // A tile's tooltip window is made when the mouse first comes to it, not while the dialog
    // opens. The mouse passes over every tile and rests far away.
    Run({Do([&](CWnd& w) {
             EXPECT_EQ(0, tipsMade());
             ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
             for (int n = 1; n <= 256; ++n)
                 ::PostMessageW(TileWindow(w, n), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
         }),
         uitest::WaitUntil([&](CWnd&) { return tipsMade() == 256 && !hovering(); }, 20000), Do([this](CWnd& w) {
             EXPECT_TRUE(ui.MessageBoxes().empty());
             for (int n = 1; n <= 256; ++n) {
                 SCOPED_TRACE("COM" + std::to_string(n));
                 CIXButtonEx& tile = Tile(n);
                 if (n == 1 || n == 3 || n == 5) {  // present
                     EXPECT_EQ(kGreen, tile.BackColor);
                     EXPECT_EQ(kGreen, tile.HoverBackColor);
                     EXPECT_FALSE(tile.ToggleState);
                     EXPECT_FALSE(tile.SwapColorsOnClick);
                 } else if (n == 2) {  // claimed
                     EXPECT_EQ(kBlue, tile.BackColor);
                     EXPECT_EQ(kLilac, tile.HoverBackColor);
                     EXPECT_FALSE(tile.ToggleState);
                     EXPECT_TRUE(tile.SwapColorsOnClick);
                 } else {  // free
                     EXPECT_EQ(kLilac, tile.BackColor);
                     EXPECT_EQ(kBlue, tile.HoverBackColor);
                     EXPECT_TRUE(tile.ToggleState);
                     EXPECT_TRUE(tile.SwapColorsOnClick);
                 }
                 EXPECT_EQ(kBorder, tile.BorderColor);
                 EXPECT_EQ(CPoint(5, 5), tile.CornerSize);
                 EXPECT_TRUE(tile.HasTooltip);
                 EXPECT_EQ(L"COM" + std::to_wstring(n), TipText(tile));
             }
             // What the user sees.
             EXPECT_EQ(kGreen, PaintedColor(TileWindow(w, 1)));
             EXPECT_EQ(kBlue, PaintedColor(TileWindow(w, 2)));
             EXPECT_EQ(kLilac, PaintedColor(TileWindow(w, 4)));
             EXPECT_EQ(kLilac, PaintedColor(TileWindow(w, 256)));
         })});
}

TEST_F(ComDbDialogTest, ShowsTheThreeLegendsInTheLooksTheyExplain)
{
    const struct {
        int id;
        COLORREF color;
    } legends[] = {
        {IDC_COMDB_LEGEND_PRESENT, kGreen}, {IDC_COMDB_LEGEND_CLAIMED, kBlue}, {IDC_COMDB_LEGEND_FREE, kLilac}};
    auto expectLooks = [this, &legends](CWnd& w) {
        for (const auto& legend : legends) {
            SCOPED_TRACE(legend.id);
            CIXButtonEx& tile = dlg.m_tiles[legend.id - IDC_COMDB_COM1];
            EXPECT_EQ(legend.color, tile.BackColor);
            EXPECT_EQ(legend.color, tile.HoverBackColor);
            EXPECT_FALSE(tile.SwapColorsOnClick);
            EXPECT_FALSE(tile.HasTooltip);
            EXPECT_EQ(kBorder, tile.BorderColor);
            EXPECT_EQ(CPoint(5, 5), tile.CornerSize);
            EXPECT_EQ(legend.color, PaintedColor(Item(w, legend.id)));
        }
    };
    // A click on a legend changes nothing that anybody sees.
    Run({Do(expectLooks), Do([&legends](CWnd& w) {
             for (const auto& legend : legends)
                 uitest::Click(Item(w, legend.id));
         }),
         Do(expectLooks)});
}
