#include "framework/types.h"

#include <gtest/gtest.h>

TEST(CRectGeometry, SizeCornersAndCentre)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CPoint(10, 20), r.TopLeft());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    r.TopLeft() = CPoint(0, 0);  // the corner is a reference into the rectangle
    EXPECT_EQ(CRect(0, 0, 110, 70), r);
}

TEST(CRectGeometry, EmptyAndHitTesting)
{
    EXPECT_TRUE(CRect().IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
    EXPECT_TRUE(CRect(10, 0, 0, 10).IsRectEmpty());
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 9)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 5)));  // right and bottom edges are outside
    EXPECT_FALSE(r.PtInRect(CPoint(5, 10)));
    EXPECT_FALSE(r.PtInRect(CPoint(-1, 5)));
}

TEST(CRectArithmetic, InflateDeflateOffset)
{
    CRect r(10, 10, 20, 20);
    r.InflateRect(2, 3);
    EXPECT_EQ(CRect(8, 7, 22, 23), r);
    r.DeflateRect(2, 3);
    EXPECT_EQ(CRect(10, 10, 20, 20), r);
    r.OffsetRect(5, -5);
    EXPECT_EQ(CRect(15, 5, 25, 15), r);
}

TEST(CRectArithmetic, Intersect)
{
    CRect a(0, 0, 10, 10), b(5, 5, 20, 20), c;
    EXPECT_TRUE(c.IntersectRect(&a, &b));
    EXPECT_EQ(CRect(5, 5, 10, 10), c);
    EXPECT_FALSE(c.IntersectRect(&a, CRect(10, 0, 20, 10)));  // touching edges do not overlap
    EXPECT_EQ(CRect(), c);
}

TEST(CRectConversion, PassesAsWin32Rect)
{
    CRect r(1, 2, 3, 4);
    LPRECT p = r;
    EXPECT_EQ(&r.left, &p->left);
    RECT plain = {5, 6, 7, 8};
    r = plain;
    EXPECT_EQ(CRect(5, 6, 7, 8), r);
    static_assert(sizeof(CRect) == sizeof(RECT), "CRect adds no data");
    static_assert(sizeof(CPoint) == sizeof(POINT), "CPoint adds no data");
}
