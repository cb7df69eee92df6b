// The sort arrow on the grid's header: the header's own sort marks with common controls 6, else
// a small bitmap drawn by the grid at the right of the heading.
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/GridPlatform.h"

namespace {

void DrawLine(HDC hDC, int x1, int y1, int x2, int y2)
{
    ::MoveToEx(hDC, x1, y1, nullptr);
    ::LineTo(hDC, x2, y2);
}

}  // namespace

void CGridListCtrlEx::SetHeaderSortArrow(int nCol, bool bAscending)
{
    HWND hWndHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (hWndHeader == nullptr)
        return;
    const int nCount = static_cast<int>(::SendMessageW(hWndHeader, HDM_GETITEMCOUNT, 0, 0));

    if (IsCommonControls6()) {
        for (int nItem = 0; nItem < nCount; ++nItem) {
            HDITEMW item = {};
            item.mask = HDI_FORMAT;
            if (!::SendMessageW(hWndHeader, HDM_GETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)))
                continue;
            item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
            if (nItem == nCol)
                item.fmt |= bAscending ? HDF_SORTUP : HDF_SORTDOWN;
            ::SendMessageW(hWndHeader, HDM_SETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
        }
        return;
    }

    const int kArrowBits = HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
    for (int nItem = 0; nItem < nCount; ++nItem) {
        HDITEMW item = {};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        if (!::SendMessageW(hWndHeader, HDM_GETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)))
            continue;
        if ((item.fmt & kArrowBits) == kArrowBits) {
            // The arrow the grid put there before: it is the grid's to delete.
            if (item.hbm != nullptr)
                ::DeleteObject(item.hbm);
            item.hbm = nullptr;
            item.fmt &= ~kArrowBits;
            ::SendMessageW(hWndHeader, HDM_SETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
        }
        if (nItem == nCol) {
            HBITMAP hArrow = DrawSortArrowBitmap(bAscending);
            if (hArrow == nullptr)
                continue;
            item.fmt |= kArrowBits;
            item.hbm = hArrow;
            if (!::SendMessageW(hWndHeader, HDM_SETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)))
                ::DeleteObject(hArrow);
        }
    }
}

HBITMAP CGridListCtrlEx::DrawSortArrowBitmap(bool bAscending)
{
    HWND hWndDesktop = ::GetDesktopWindow();
    HDC hDesktopDC = ::GetDC(hWndDesktop);
    if (hDesktopDC == nullptr)
        return nullptr;
    HDC hDC = ::CreateCompatibleDC(hDesktopDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDesktopDC, 16, 16);
    ::ReleaseDC(hWndDesktop, hDesktopDC);
    HPEN hLight = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHILIGHT));
    HPEN hDark = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
    HBRUSH hFace = ::CreateSolidBrush(::GetSysColor(COLOR_3DFACE));

    const bool bReady =
        hDC != nullptr && hBitmap != nullptr && hLight != nullptr && hDark != nullptr && hFace != nullptr;
    if (bReady) {
        HGDIOBJ hOldBitmap = ::SelectObject(hDC, hBitmap);
        const RECT all = {0, 0, 16, 16};
        ::FillRect(hDC, &all, hFace);
        HGDIOBJ hOldPen = ::SelectObject(hDC, hLight);
        if (bAscending) {
            DrawLine(hDC, 8, 4, 12, 11);
            ::LineTo(hDC, 2, 11);
            ::SelectObject(hDC, hDark);
            DrawLine(hDC, 3, 11, 8, 3);
        } else {
            DrawLine(hDC, 11, 4, 7, 12);
            ::SelectObject(hDC, hDark);
            DrawLine(hDC, 6, 12, 3, 4);
            ::LineTo(hDC, 11, 4);
        }
        ::SelectObject(hDC, hOldPen);
        ::SelectObject(hDC, hOldBitmap);  // the header item holds it unselected
    }
    if (hFace != nullptr)
        ::DeleteObject(hFace);
    if (hDark != nullptr)
        ::DeleteObject(hDark);
    if (hLight != nullptr)
        ::DeleteObject(hLight);
    if (hDC != nullptr)
        ::DeleteDC(hDC);
    if (!bReady && hBitmap != nullptr) {
        ::DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    return hBitmap;
}
