// Row traits: row colours and fonts, the focus rectangle and the focus cell, and the image
// backgrounds of the XP trait; by custom-draw records on a memory DC and by what a real list
// view paints on the screen.
#include "tests/grid/GridTestSupport.h"

using namespace gridtest;

namespace {

bool IsWhite(COLORREF color)
{
    return color == RGB(255, 255, 255);
}

class RowTraitFixture : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        Fill(3, 3);
        for (int c = 0; c < 3; ++c)
            grid.SetColumnWidth(c, 50);
    }
    LRESULT Draw(CGridRowTrait& trait, NMLVCUSTOMDRAW& cd)
    {
        LRESULT result = 0;
        trait.OnCustomDraw(grid, &cd, &result);
        return result;
    }
    // The colour of a pixel of the grid's client area as it was painted.
    COLORREF PaintedPixel(int x, int y)
    {
        HDC hDC = ::GetDC(grid.m_hWnd);
        const COLORREF color = ::GetPixel(hDC, x, y);
        ::ReleaseDC(grid.m_hWnd, hDC);
        return color;
    }
    void Repaint()
    {
        grid.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    MemoryCanvas canvas;
};

}  // namespace

TEST(RowTraitColours, OddRowsTakeTheAlternateColourAndUnsetColoursAnswerNothing)
{
    CGridRowTraitXP trait;
    EXPECT_EQ(0xFFFFFFFFu, trait.TextColor);
    EXPECT_EQ(0xFFFFFFFFu, trait.BackColor);
    EXPECT_EQ(0xFFFFFFFFu, trait.AltTextColor);
    EXPECT_EQ(0xFFFFFFFFu, trait.AltBackColor);
    EXPECT_TRUE(trait.FocusCellUnselected);

    COLORREF color = 0x777777;
    EXPECT_FALSE(trait.GetRowBackColor(1, color));
    trait.AltBackColor = 0xEEEEEE;
    EXPECT_FALSE(trait.GetRowBackColor(0, color));
    EXPECT_EQ(0x777777u, color);
    EXPECT_TRUE(trait.GetRowBackColor(1, color));
    EXPECT_EQ(0xEEEEEEu, color);

    trait.TextColor = 0x111111;
    trait.AltTextColor = 0x222222;
    EXPECT_TRUE(trait.GetRowTextColor(2, color));
    EXPECT_EQ(0x111111u, color);
    EXPECT_TRUE(trait.GetRowTextColor(3, color));
    EXPECT_EQ(0x222222u, color);
}

TEST_F(RowTraitFixture, ARowColourGoesIntoTheRecordAndNothingChangesWithoutOne)
{
    CGridRowTraitText trait;
    NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT, 1, 0, canvas.dc());
    EXPECT_EQ(0, Draw(trait, cd)) << "no colours, and the list draws in the grid's font";
    trait.BackColor = RGB(1, 2, 3);
    EXPECT_EQ(static_cast<LRESULT>(CDRF_NEWFONT), Draw(trait, cd));
    EXPECT_EQ(RGB(1, 2, 3), cd.clrTextBk);
}

TEST_F(RowTraitFixture, RowsAreDrawnInTheGridsUnscaledFontOrTheRowsOwn)
{
    grid.SetMarginFactor(1.2);
    CGridRowTraitText trait;
    HGDIOBJ original = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT, 1, 0, canvas.dc());
    EXPECT_EQ(static_cast<LRESULT>(CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT), Draw(trait, cd));
    EXPECT_EQ(grid.GetGridFont()->GetSafeHandle(), ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
    Draw(trait, cd);
    EXPECT_EQ(original, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    EXPECT_NE(0u, ::GetObjectType(grid.GetGridFont()->GetSafeHandle())) << "the grid's font is not deleted";

    grid.rowFont = [](int, LOGFONTW& font) {
        font.lfHeight = -16;
        font.lfWeight = FW_BOLD;
        return true;
    };
    cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT, 1, 0, canvas.dc());
    Draw(trait, cd);
    HGDIOBJ rowFont = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    EXPECT_NE(original, rowFont);
    EXPECT_NE(grid.GetGridFont()->GetSafeHandle(), rowFont);
    cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
    Draw(trait, cd);
    EXPECT_EQ(original, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    EXPECT_EQ(0u, ::GetObjectType(rowFont)) << "the row's own font is deleted";
}

TEST_F(RowTraitFixture, TheTraitDrawsTheFocusRectangleAroundTheFocusCell)
{
    grid.SetExtendedStyle(grid.GetExtendedStyle() & ~LVS_EX_GRIDLINES);
    grid.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    CGridRowTraitText trait;

    NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT, 1, 0, canvas.dc());
    cd.nmcd.uItemState = CDIS_FOCUS;
    EXPECT_EQ(0, Draw(trait, cd) & CDRF_NOTIFYPOSTPAINT) << "the list's own focus rectangle";
    EXPECT_EQ(static_cast<UINT>(CDIS_FOCUS), cd.nmcd.uItemState);

    grid.setFocusColumn(2);
    EXPECT_TRUE(Draw(trait, cd) & CDRF_NOTIFYPOSTPAINT);
    EXPECT_EQ(0u, cd.nmcd.uItemState & CDIS_FOCUS);

    NMLVCUSTOMDRAW other = MakeCustomDraw(grid, CDDS_ITEMPREPAINT, 0, 0, canvas.dc());
    other.nmcd.uItemState = CDIS_FOCUS;
    EXPECT_EQ(0, Draw(trait, other));
    EXPECT_EQ(static_cast<UINT>(CDIS_FOCUS), other.nmcd.uItemState);

    // Post-paint: a dotted rectangle on cell 2, one pixel further left (it is not the first column).
    RECT cell = {};
    ASSERT_TRUE(grid.GetCellPartRect(1, 2, LVIR_BOUNDS, cell));
    ASSERT_LT(cell.right, 200);
    NMLVCUSTOMDRAW post = MakeCustomDraw(grid, CDDS_ITEMPOSTPAINT, 1, 0, canvas.dc());
    post.nmcd.rc = RECT{};
    Draw(trait, post);
    int drawn = 0;
    for (int y = cell.top; y < cell.bottom; ++y)
        drawn += !IsWhite(canvas.Pixel(cell.left - 1, y));
    EXPECT_EQ(0, drawn) << "an empty item rectangle draws nothing";
    post.nmcd.rc = cell;
    Draw(trait, post);
    for (int y = cell.top; y < cell.bottom; ++y) {
        drawn += !IsWhite(canvas.Pixel(cell.left - 1, y));
        EXPECT_TRUE(IsWhite(canvas.Pixel(cell.left - 2, y)));
        EXPECT_TRUE(IsWhite(canvas.Pixel(cell.right, y)));
    }
    EXPECT_GT(drawn, (cell.bottom - cell.top) / 3);

    // On the first column it starts two pixels inside the cell, clear of the list's left edge.
    RECT all = {0, 0, 200, 100};
    ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    grid.setFocusColumn(0);
    ASSERT_TRUE(grid.GetCellPartRect(1, 0, LVIR_BOUNDS, cell));
    post.nmcd.rc = cell;
    Draw(trait, post);
    const int left = cell.left + 2 * ::GetSystemMetrics(SM_CXBORDER);
    int inside = 0;
    for (int y = cell.top; y < cell.bottom; ++y) {
        inside += !IsWhite(canvas.Pixel(left, y));
        EXPECT_TRUE(IsWhite(canvas.Pixel(left - 1, y)));
    }
    EXPECT_GT(inside, (cell.bottom - cell.top) / 3);

    // With grid lines and no focus column the trait frames the whole row, above the line under it.
    // (The list is not focused: a focused one under Wine adds a rectangle of its own to cancel.)
    ::SetFocus(::GetDlgItem(host.m_hWnd, kNextId));
    grid.setFocusColumn(-1);
    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_GRIDLINES);
    cd.nmcd.uItemState = CDIS_FOCUS;
    EXPECT_TRUE(Draw(trait, cd) & CDRF_NOTIFYPOSTPAINT);
    EXPECT_EQ(0u, cd.nmcd.uItemState & CDIS_FOCUS);
    RECT row = {};
    ASSERT_TRUE(grid.GetItemRect(1, &row, LVIR_BOUNDS));
    ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    post.nmcd.rc = row;
    Draw(trait, post);
    int top = 0;
    int bottom = 0;
    int below = 0;
    for (int x = row.left + 1; x < row.right - 1; ++x) {
        top += !IsWhite(canvas.Pixel(x, row.top));
        bottom += !IsWhite(canvas.Pixel(x, row.bottom - 2));
        below += !IsWhite(canvas.Pixel(x, row.bottom - 1));
    }
    EXPECT_GT(top, (row.right - row.left) / 3);
    EXPECT_GT(bottom, (row.right - row.left) / 3);
    EXPECT_EQ(0, below) << "the grid line under the row stays clear";
}

TEST_F(RowTraitFixture, TheFocusCellOfASelectedRowIsDrawnUnselectedInFullRowSelect)
{
    grid.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    grid.setFocusColumn(1);
    CGridRowTraitText trait;
    auto subItemState = [&](int nCol) {
        NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 1, nCol, canvas.dc());
        cd.nmcd.uItemState = CDIS_SELECTED;
        Draw(trait, cd);
        return cd.nmcd.uItemState;
    };
    EXPECT_EQ(0u, subItemState(1));
    EXPECT_EQ(static_cast<UINT>(CDIS_SELECTED), subItemState(2));
    trait.FocusCellUnselected = false;
    EXPECT_EQ(static_cast<UINT>(CDIS_SELECTED), subItemState(1));
    trait.FocusCellUnselected = true;
    grid.SetExtendedStyle(grid.GetExtendedStyle() & ~LVS_EX_FULLROWSELECT);
    EXPECT_EQ(static_cast<UINT>(CDIS_SELECTED), subItemState(1));
}

TEST_F(RowTraitFixture, ColoursLeftByTheCellBeforeAreReplacedByTheRows)
{
    CGridRowTraitText trait;
    NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, 1, canvas.dc());
    cd.clrText = 0x123456;
    Draw(trait, cd);
    EXPECT_EQ(CLR_DEFAULT, cd.clrText);
    EXPECT_EQ(CLR_DEFAULT, cd.clrTextBk);
    cd.clrText = CLR_DEFAULT;
    cd.clrTextBk = CLR_NONE;
    Draw(trait, cd);
    EXPECT_EQ(CLR_DEFAULT, cd.clrText);
    EXPECT_EQ(CLR_NONE, cd.clrTextBk);
}

TEST_F(RowTraitFixture, TheXpTraitAsksForCellPostPaintOnlyWithoutTheExplorerStyle)
{
    CGridRowTraitXP xp;
    CGridRowTraitText text;
    NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, 1, canvas.dc());
    EXPECT_TRUE(Draw(xp, cd) & CDRF_NOTIFYPOSTPAINT);
    grid.setExplorerThemed(true);
    EXPECT_EQ(Draw(text, cd), Draw(xp, cd));
}

TEST_F(RowTraitFixture, TheXpTraitPaintsBehindCellImagesInTheRowsColour)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0));
    images.Add(::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iSubItem = 1;
    item.iImage = 0;
    for (item.iItem = 0; item.iItem < 2; ++item.iItem)
        ASSERT_TRUE(grid.SetItem(&item));
    grid.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    CGridRowTraitXP xp;

    // The colour behind the image of cell (row, 1), or white when nothing was painted.
    auto paint = [&](int nRow, COLORREF background) {
        RECT all = {0, 0, 200, 100};
        ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPOSTPAINT | CDDS_SUBITEM, nRow, 1, canvas.dc());
        cd.clrTextBk = background;
        Draw(xp, cd);
        RECT icon = {};
        EXPECT_TRUE(grid.GetCellPartRect(nRow, 1, LVIR_ICON, icon));
        return canvas.Pixel(icon.right + 1, icon.top + 1);
    };
    EXPECT_EQ(RGB(255, 255, 255), paint(1, CLR_DEFAULT)) << "no small image list";
    grid.SetImageList(&images, LVSIL_SMALL);

    grid.SetFocus();
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), paint(1, CLR_DEFAULT));
    // The focus cell of the focused row is drawn unselected, in the record's colour.
    grid.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    grid.setFocusColumn(1);
    EXPECT_EQ(RGB(0, 255, 255), paint(1, RGB(0, 255, 255)));
    grid.setFocusColumn(2);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), paint(1, RGB(0, 255, 255)));
    ::SetFocus(::GetDlgItem(host.m_hWnd, kNextId));
    grid.ModifyStyle(0, LVS_SHOWSELALWAYS);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), paint(1, CLR_DEFAULT));
    grid.setCellEditor(&host);  // an editor is open: the row stays highlighted
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), paint(1, CLR_DEFAULT));
    grid.setCellEditor(nullptr);
    grid.ModifyStyle(LVS_SHOWSELALWAYS, 0);
    EXPECT_EQ(RGB(255, 255, 255), paint(1, CLR_DEFAULT));

    EXPECT_EQ(RGB(255, 255, 255), paint(0, CLR_DEFAULT)) << "an unselected row without a colour";
    EXPECT_EQ(RGB(0, 255, 255), paint(0, RGB(0, 255, 255)));
    grid.setExplorerThemed(true);
    EXPECT_EQ(RGB(255, 255, 255), paint(0, RGB(0, 255, 255))) << "the Explorer style paints its own";
    grid.SetImageList(nullptr, LVSIL_SMALL);
}

TEST_F(RowTraitFixture, ARealPaintShowsAlternateRowsAndTheFocusCellUnselected)
{
    auto* xp = new CGridRowTraitXP;
    xp->AltBackColor = RGB(0, 200, 0);
    grid.SetRowTrait(xp);
    grid.InsertItem(3, L"r3-c0");
    grid.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    grid.setFocusColumn(1);
    grid.SetFocus();
    Repaint();
    RECT cells[3] = {};
    for (int c = 0; c < 3; ++c)
        ASSERT_TRUE(grid.GetCellPartRect(1, c, LVIR_BOUNDS, cells[c]));
    RECT even = {};
    RECT odd = {};
    ASSERT_TRUE(grid.GetCellPartRect(2, 2, LVIR_BOUNDS, even));
    ASSERT_TRUE(grid.GetCellPartRect(3, 2, LVIR_BOUNDS, odd));
    const int y = (cells[0].top + cells[0].bottom) / 2;
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    // Wine keeps one record for the cells of a row: the cell after the focus cell must be
    // selected again.
    EXPECT_EQ(highlight, PaintedPixel(cells[0].left + 3, y));
    EXPECT_NE(highlight, PaintedPixel(cells[1].left + 3, y));
    EXPECT_EQ(highlight, PaintedPixel(cells[2].right - 3, y));
    EXPECT_EQ(RGB(0, 200, 0), PaintedPixel(odd.right - 3, odd.top + 2));
    EXPECT_NE(RGB(0, 200, 0), PaintedPixel(even.right - 3, even.top + 2));
}
