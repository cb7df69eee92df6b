#include "framework/gdi.h"
#include "test_strings.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kMagenta = RGB(255, 0, 255);

// A memory DC with a 32-bit bitmap of the given size selected, filled white.
class MemoryCanvas {
public:
    MemoryCanvas(int cx, int cy)
    {
        CClientDC screen(nullptr);
        EXPECT_TRUE(m_dc.CreateCompatibleDC(&screen));
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        EXPECT_TRUE(m_bitmap.Attach(CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0)));
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        EXPECT_NE(nullptr, m_pOldBitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, kWhite);
    }
    ~MemoryCanvas() { m_dc.SelectObject(m_pOldBitmap); }
    CDC& dc() { return m_dc; }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

int ScreenLogPixelsY()
{
    CClientDC screen(nullptr);
    return ::GetDeviceCaps(screen, LOGPIXELSY);
}

}  // namespace

TEST(CFontCreation, PointFontScalesByTheScreensLogPixelsY)
{
    const int dpi = ScreenLogPixelsY();
    ASSERT_GT(dpi, 0);
    for (int tenths : {80, 85, 90, 100, 120, 160}) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(tenths, L"Arial"));
        LOGFONTW lf = {};
        ASSERT_EQ(static_cast<int>(sizeof(lf)), font.GetLogFont(&lf));
        EXPECT_EQ(-(dpi * tenths / 720), lf.lfHeight) << tenths << " tenths at " << dpi << " dpi";
        EXPECT_STREQ(L"Arial", lf.lfFaceName);
        EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
    }
}

TEST(CFontCreation, PointFontAt96DpiIsThirteenPixelsForTenPoints)
{
    if (ScreenLogPixelsY() != 96)
        GTEST_SKIP() << "the screen is not at 96 dpi";
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"Arial"));
    LOGFONTW lf = {};
    font.GetLogFont(&lf);
    EXPECT_EQ(-13, lf.lfHeight);
}

TEST(CFontCreation, PointFontFollowsTheMappingModeOfAGivenDC)
{
    MemoryCanvas canvas(4, 4);
    CDC& dc = canvas.dc();
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::SetMapMode(dc, MM_TWIPS);  // 1440 logical units per inch
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"Arial", &dc));
    LOGFONTW lf = {};
    font.GetLogFont(&lf);
    const int pixels = dpi * 100 / 720;
    EXPECT_NEAR(-(pixels * 1440 / dpi), lf.lfHeight, 1);
    ::SetMapMode(dc, MM_TEXT);
}

TEST(CFontCreation, CreateFontKeepsItsArguments)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(16, 10, 0, 0, 900, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    LOGFONTW lf = {};
    font.GetLogFont(&lf);
    EXPECT_EQ(16, lf.lfHeight);
    EXPECT_EQ(10, lf.lfWidth);
    EXPECT_EQ(900, lf.lfWeight);
    CFont copy;
    ASSERT_TRUE(copy.CreateFontIndirect(&lf));
    EXPECT_FALSE(copy.CreateFontIndirect(&lf));  // already holds a font
}

TEST(CGdiObjectOwnership, DestructorDeletesDetachKeeps)
{
    HGDIOBJ hDeleted = nullptr;
    HGDIOBJ hKept = nullptr;
    {
        CBrush deleted(kRed);
        CBrush kept(kBlue);
        hDeleted = deleted.m_hObject;
        hKept = kept.Detach();
        EXPECT_EQ(nullptr, kept.m_hObject);
    }
    EXPECT_EQ(0u, GetObjectType(hDeleted));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(hKept));
    DeleteObject(hKept);
}

TEST(CGdiObjectOwnership, DeleteObjectTwiceIsHarmless)
{
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 1, kRed));
    EXPECT_TRUE(pen.DeleteObject());
    EXPECT_FALSE(pen.DeleteObject());
    EXPECT_TRUE(pen.CreatePen(PS_DASH, 1, kBlue));
    LOGPEN lp = {};
    EXPECT_EQ(static_cast<int>(sizeof(lp)), pen.GetObject(sizeof(lp), &lp));
    EXPECT_EQ(static_cast<UINT>(PS_DASH), lp.lopnStyle);
}

TEST(CGdiObjectOwnership, TemporaryWrappersNeverDeleteTheirHandle)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Arial"));
    HFONT h = font;
    CFont* pTemp = CFont::FromHandle(h);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CFont::FromHandle(h));  // one wrapper per handle
    EXPECT_EQ(h, pTemp->m_hObject);
    EXPECT_EQ(nullptr, CFont::FromHandle(nullptr));

    // A thread's wrappers go away with the thread and leave the object alone.
    HBITMAP hBitmap = CreateBitmap(1, 1, 1, 32, nullptr);
    std::thread([hBitmap] { EXPECT_NE(nullptr, CBitmap::FromHandle(hBitmap)); }).join();
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(hBitmap));
    DeleteObject(hBitmap);
}

TEST(CDCSelection, SelectObjectReturnsThePreviousObject)
{
    MemoryCanvas canvas(4, 4);
    CDC& dc = canvas.dc();
    CFont first, second;
    ASSERT_TRUE(first.CreatePointFont(90, L"Arial"));
    ASSERT_TRUE(second.CreatePointFont(120, L"Arial"));
    CFont* pOriginal = dc.SelectObject(&first);
    ASSERT_NE(nullptr, pOriginal);
    CFont* pPrevious = dc.SelectObject(&second);
    ASSERT_NE(nullptr, pPrevious);
    EXPECT_EQ(first.m_hObject, pPrevious->m_hObject);
    EXPECT_EQ(second.m_hObject, ::GetCurrentObject(dc, OBJ_FONT));
    dc.SelectObject(pOriginal);
    EXPECT_EQ(pOriginal->m_hObject, ::GetCurrentObject(dc, OBJ_FONT));
}

TEST(CDCDrawing, FillSolidRectPaintsOnlyTheRectangleAndKeepsTheBackgroundColour)
{
    MemoryCanvas canvas(10, 10);
    CDC& dc = canvas.dc();
    dc.SetBkColor(kBlue);
    dc.FillSolidRect(CRect(2, 2, 5, 5), kRed);
    EXPECT_EQ(kRed, dc.GetPixel(2, 2));
    EXPECT_EQ(kRed, dc.GetPixel(4, 4));
    EXPECT_EQ(kWhite, dc.GetPixel(5, 5));
    EXPECT_EQ(kWhite, dc.GetPixel(1, 2));
    EXPECT_EQ(kBlue, ::GetBkColor(dc));
}

TEST(CDCText, ExtentGrowsWithTheText)
{
    MemoryCanvas canvas(4, 4);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"Arial"));
    CFont* pOld = canvas.dc().SelectObject(&font);
    CSize one = canvas.dc().GetTextExtent(CString(L"W"));
    CSize three = canvas.dc().GetTextExtent(L"WWW", 3);
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(three.cx, one.cx);
    EXPECT_EQ(one.cy, three.cy);
    EXPECT_EQ(0, canvas.dc().GetTextExtent(CString()).cx);
    canvas.dc().SelectObject(pOld);
}

TEST(CRgnShapes, Combine)
{
    CRgn a, b, both;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 20, 20));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&a, &b, RGN_OR));
    CRect box;
    ::GetRgnBox(both, &box);
    EXPECT_EQ(CRect(0, 0, 20, 20), box);
    EXPECT_TRUE(::PtInRegion(both, 2, 2));
    EXPECT_FALSE(::PtInRegion(both, 15, 2));
    EXPECT_EQ(SIMPLEREGION, both.CombineRgn(&a, &b, RGN_AND));
    ::GetRgnBox(both, &box);
    EXPECT_EQ(CRect(5, 5, 10, 10), box);
}

TEST(CBitmapResources, PatternBrushPaintsTheBitmap)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Attach(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TEST_BITMAP))));
    CBrush pattern;
    ASSERT_TRUE(pattern.CreatePatternBrush(&bitmap));
    MemoryCanvas canvas(32, 16);
    canvas.dc().FillRect(CRect(0, 0, 32, 16), &pattern);
    EXPECT_EQ(kMagenta, canvas.dc().GetPixel(0, 0));
    EXPECT_EQ(kRed, canvas.dc().GetPixel(5, 5));
    EXPECT_EQ(kBlue, canvas.dc().GetPixel(20, 5));
    CBitmap none;
    CBrush nothing;
    EXPECT_FALSE(nothing.CreatePatternBrush(&none));
}

TEST(CBitmapResources, CompatibleBitmapHasTheAskedSize)
{
    CClientDC screen(nullptr);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 7, 5));
    BITMAP info = {};
    bitmap.GetBitmap(&info);
    EXPECT_EQ(7, info.bmWidth);
    EXPECT_EQ(5, info.bmHeight);
    CBitmap none;
    EXPECT_FALSE(none.CreateCompatibleBitmap(nullptr, 7, 5));
}

TEST(CImageListImages, CreateFromResourceAndDestroyTwice)
{
    CImageList images;
    ASSERT_TRUE(images.Create(IDB_TEST_BITMAP, 16, 1, kMagenta));
    EXPECT_EQ(2, ImageList_GetImageCount(images.m_hImageList));
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(images.m_hImageList, &cx, &cy));
    EXPECT_EQ(16, cx);
    EXPECT_EQ(16, cy);
    EXPECT_TRUE(images.DeleteImageList());
    EXPECT_FALSE(images.DeleteImageList());
    EXPECT_EQ(nullptr, images.m_hImageList);
}

TEST(CImageListImages, DetachedListOutlivesTheObject)
{
    HIMAGELIST hList = nullptr;
    {
        CImageList images;
        ASSERT_TRUE(images.Create(8, 8, ILC_COLOR24, 1, 1));
        EXPECT_FALSE(images.Create(8, 8, ILC_COLOR24, 1, 1));  // one list per object
        hList = images.Detach();
    }
    EXPECT_EQ(0, ImageList_GetImageCount(hList));
    EXPECT_TRUE(ImageList_Destroy(hList));
    EXPECT_EQ(CImageList::FromHandle(hList), CImageList::FromHandle(hList));
}

TEST(CDCLifetime, CreatedDCIsDeletedAttachedCanBeDetached)
{
    HDC hCreated = nullptr;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        hCreated = dc.m_hDC;
    }
    EXPECT_EQ(0u, GetObjectType(hCreated));

    HDC hScreen = GetDC(nullptr);
    {
        CDC* pTemp = CDC::FromHandle(hScreen);
        ASSERT_NE(nullptr, pTemp);
        EXPECT_EQ(pTemp, CDC::FromHandle(hScreen));
        EXPECT_EQ(hScreen, pTemp->m_hDC);
    }
    EXPECT_NE(0u, GetObjectType(hScreen));
    ReleaseDC(nullptr, hScreen);
}
