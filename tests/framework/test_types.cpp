#include "framework/types.h"

#include <gtest/gtest.h>

TEST(CRectGeometry, SizeCornersAndCentre)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CSize(100, 50), r.Size());
    EXPECT_EQ(CPoint(10, 20), r.TopLeft());
    EXPECT_EQ(CPoint(110, 70), r.BottomRight());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    r.TopLeft() = CPoint(0, 0);  // the corners are references into the rectangle
    EXPECT_EQ(CRect(0, 0, 110, 70), r);
    r.BottomRight().x = 5;
    EXPECT_EQ(5, r.right);
}

TEST(CRectGeometry, EmptyNullAndHitTesting)
{
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect().IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
    EXPECT_TRUE(CRect(10, 0, 0, 10).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 10).IsRectNull());
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
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(9, 8, 23, 24), r);
    r.DeflateRect(1, 2, 3, 4);
    r.OffsetRect(5, -5);
    EXPECT_EQ(CRect(15, 5, 25, 15), r);
    r.OffsetRect(CPoint(-15, -5));
    EXPECT_EQ(CRect(0, 0, 10, 10), r);
    r.MoveToXY(100, 200);
    EXPECT_EQ(CRect(100, 200, 110, 210), r);
}

TEST(CRectArithmetic, OperatorsOffsetOrInflate)
{
    CRect r(0, 0, 10, 10);
    r += CPoint(3, 4);
    EXPECT_EQ(CRect(3, 4, 13, 14), r);
    r -= CSize(3, 4);
    EXPECT_EQ(CRect(0, 0, 10, 10), r);
    CRect margins(1, 2, 3, 4);
    r += &margins;
    EXPECT_EQ(CRect(-1, -2, 13, 14), r);
    r -= &margins;
    EXPECT_EQ(CRect(0, 0, 10, 10), r);
    EXPECT_EQ(CRect(5, 5, 15, 15), r + CPoint(5, 5));
    EXPECT_EQ(CRect(-5, 0, 5, 10), r - CSize(5, 0));
    EXPECT_TRUE(r != CRect(0, 0, 10, 11));
}

TEST(CRectArithmetic, NormaliseIntersectUnion)
{
    CRect r(10, 20, 0, 5);
    r.NormalizeRect();
    EXPECT_EQ(CRect(0, 5, 10, 20), r);

    CRect a(0, 0, 10, 10), b(5, 5, 20, 20), c;
    EXPECT_TRUE(c.IntersectRect(&a, &b));
    EXPECT_EQ(CRect(5, 5, 10, 10), c);
    EXPECT_FALSE(c.IntersectRect(&a, CRect(10, 0, 20, 10)));  // touching edges do not overlap
    EXPECT_TRUE(c.IsRectNull());
    EXPECT_TRUE(c.UnionRect(&a, &b));
    EXPECT_EQ(CRect(0, 0, 20, 20), c);
    EXPECT_EQ(CRect(5, 5, 10, 10), a & b);
    EXPECT_EQ(CRect(0, 0, 20, 20), a | b);
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

TEST(CPointArithmetic, OffsetsAndDifferences)
{
    CPoint p(3, 4);
    EXPECT_EQ(CPoint(5, 7), p + CSize(2, 3));
    EXPECT_EQ(CSize(2, 2), p - CPoint(1, 2));
    EXPECT_EQ(CPoint(-3, -4), -p);
    p.Offset(1, 1);
    EXPECT_EQ(CPoint(4, 5), p);
    p -= CSize(4, 5);
    EXPECT_EQ(CPoint(0, 0), p);
    EXPECT_EQ(CPoint(-2, -3), CPoint(static_cast<LPARAM>(MAKELPARAM(-2, -3))));  // signed mouse coordinates
}
