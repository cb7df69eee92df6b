// The sort arrow: the grid's own bitmap without common controls 6 (the branch Wine 8 runs), the
// header's sort marks with them.
#include "controls/grid/GridPlatform.h"
#include "tests/grid_nav/NavTestSupport.h"

namespace navtest {
namespace {

class SortArrow : public NavFixture {
protected:
    void SetUp() override
    {
        NavFixture::SetUp();
        AddColumns({L"A", L"B", L"C", L"D", L"E"});
    }
    HDITEMW Item(int nCol)
    {
        HDITEMW item = {};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        EXPECT_TRUE(grid.GetHeaderCtrl()->GetItem(nCol, &item));
        return item;
    }
};

bool IsBitmap(HBITMAP hBitmap, int cx, int cy)
{
    BITMAP info = {};
    return hBitmap != nullptr && ::GetObjectW(hBitmap, sizeof info, &info) == sizeof info && info.bmWidth == cx &&
           info.bmHeight == cy;
}

TEST_F(SortArrow, WithoutCommonControls6TheArrowIsABitmapOnOneItemAndIsDeletedWhenItMoves)
{
    if (IsCommonControls6())
        GTEST_SKIP() << "common controls 6 are loaded: the header's own sort marks are used";
    const int kArrow = HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
    grid.SetHeaderSortArrow(2, true);
    const HDITEMW first = Item(2);
    EXPECT_EQ(first.fmt & kArrow, kArrow);
    EXPECT_TRUE(IsBitmap(first.hbm, 16, 16));
    for (int c : {0, 1, 3, 4})
        EXPECT_EQ(Item(c).fmt & kArrow, 0) << c;

    grid.SetHeaderSortArrow(4, false);
    EXPECT_EQ(Item(2).fmt & kArrow, 0);
    EXPECT_EQ(::GetObjectType(first.hbm), 0u) << "the old arrow is deleted";
    const HDITEMW second = Item(4);
    EXPECT_EQ(second.fmt & kArrow, kArrow);
    EXPECT_TRUE(IsBitmap(second.hbm, 16, 16));

    grid.SetHeaderSortArrow(-1, true);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(Item(c).fmt & kArrow, 0) << c;
    EXPECT_EQ(::GetObjectType(second.hbm), 0u);
}

TEST_F(SortArrow, WithCommonControls6OnlyTheSortedItemCarriesTheHeadersMark)
{
    GridPlatform platform = GetGridPlatform();
    platform.IsCommonControls6 = [] { return true; };
    const GridPlatform old = SetGridPlatform(platform);
    grid.SetHeaderSortArrow(1, true);
    EXPECT_EQ(Item(1).fmt & (HDF_SORTUP | HDF_SORTDOWN), HDF_SORTUP);
    grid.SetHeaderSortArrow(3, false);
    EXPECT_EQ(Item(1).fmt & (HDF_SORTUP | HDF_SORTDOWN), 0);
    EXPECT_EQ(Item(3).fmt & (HDF_SORTUP | HDF_SORTDOWN), HDF_SORTDOWN);
    for (int c : {0, 2, 4})
        EXPECT_EQ(Item(c).fmt & (HDF_SORTUP | HDF_SORTDOWN | HDF_BITMAP), 0) << c;
    SetGridPlatform(old);
}

COLORREF PixelOf(HBITMAP hBitmap, int x, int y)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    const COLORREF color = ::GetPixel(hDC, x, y);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return color;
}

TEST_F(SortArrow, TheArrowBitmapsAreDrawnInTheThreeDColours)
{
    HBITMAP hUp = grid.DrawSortArrowBitmap(true);
    ASSERT_TRUE(IsBitmap(hUp, 16, 16));
    EXPECT_EQ(PixelOf(hUp, 0, 0), ::GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(PixelOf(hUp, 8, 4), ::GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(PixelOf(hUp, 3, 11), ::GetSysColor(COLOR_3DSHADOW));
    HBITMAP hDown = grid.DrawSortArrowBitmap(false);
    ASSERT_TRUE(IsBitmap(hDown, 16, 16));
    EXPECT_EQ(PixelOf(hDown, 0, 0), ::GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(PixelOf(hDown, 11, 4), ::GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(PixelOf(hDown, 6, 12), ::GetSysColor(COLOR_3DSHADOW));
    ::DeleteObject(hUp);
    ::DeleteObject(hDown);
}

}  // namespace
}  // namespace navtest
