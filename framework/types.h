// CSize, CPoint and CRect: the Win32 SIZE, POINT and RECT with arithmetic.
//
// Each derives from its Win32 structure and adds no data, so a pointer to one can be passed
// wherever the API takes the structure.
#pragma once

#include <windows.h>

class CPoint;
class CRect;

class CSize : public SIZE {
public:
    CSize(int initCX, int initCY) noexcept
    {
        cx = initCX;
        cy = initCY;
    }
    CSize(SIZE initSize) noexcept
    {
        cx = initSize.cx;
        cy = initSize.cy;
    }

    bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
};

class CPoint : public POINT {
public:
    CPoint() noexcept { x = y = 0; }
    CPoint(int initX, int initY) noexcept
    {
        x = initX;
        y = initY;
    }
    CPoint(POINT initPt) noexcept
    {
        x = initPt.x;
        y = initPt.y;
    }

    bool operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
};

class CRect : public RECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& srcRect) noexcept { CopyRect(&srcRect); }
    CRect(LPCRECT lpSrcRect) noexcept { CopyRect(lpSrcRect); }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(&left); }
    const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(&left); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    // Empty: no area (width or height not positive).
    BOOL IsRectEmpty() const noexcept { return left >= right || top >= bottom; }
    // The left and top edges are inside, the right and bottom ones outside.
    BOOL PtInRect(POINT point) const noexcept
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    BOOL EqualRect(LPCRECT lpRect) const noexcept
    {
        return left == lpRect->left && top == lpRect->top && right == lpRect->right && bottom == lpRect->bottom;
    }

    void CopyRect(LPCRECT lpSrcRect) noexcept
    {
        left = lpSrcRect->left;
        top = lpSrcRect->top;
        right = lpSrcRect->right;
        bottom = lpSrcRect->bottom;
    }

    void InflateRect(int x, int y) noexcept
    {
        left -= x;
        top -= y;
        right += x;
        bottom += y;
    }
    void DeflateRect(int x, int y) noexcept { InflateRect(-x, -y); }

    void OffsetRect(int x, int y) noexcept
    {
        left += x;
        top += y;
        right += x;
        bottom += y;
    }

    // Sets this rectangle to the overlap of the two; returns whether it is not empty.
    BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept { return ::IntersectRect(this, lpRect1, lpRect2); }

    CRect& operator=(const RECT& srcRect) noexcept
    {
        CopyRect(&srcRect);
        return *this;
    }
    bool operator==(const RECT& rect) const noexcept { return EqualRect(&rect) != FALSE; }
};
