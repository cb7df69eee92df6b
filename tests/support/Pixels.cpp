#include "tests/support/Pixels.h"

namespace uitest {

std::vector<COLORREF> WindowPixels(HWND hWnd, const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return {};
    HDC hDC = ::GetDC(hWnd);
    if (hDC == nullptr)
        return {};
    HDC hMem = ::CreateCompatibleDC(hDC);
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top-down rows
    void* bits = nullptr;
    HBITMAP hBitmap = hMem != nullptr ? ::CreateDIBSection(hMem, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    std::vector<COLORREF> pixels;
    if (hBitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(hMem, hBitmap);
        if (::BitBlt(hMem, 0, 0, width, height, hDC, rect.left, rect.top, SRCCOPY)) {
            ::GdiFlush();
            const DWORD* xrgb = static_cast<const DWORD*>(bits);
            pixels.reserve(static_cast<size_t>(width) * height);
            for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
                pixels.push_back(RGB((xrgb[i] >> 16) & 0xFF, (xrgb[i] >> 8) & 0xFF, xrgb[i] & 0xFF));
        }
        ::SelectObject(hMem, old);
        ::DeleteObject(hBitmap);
    }
    if (hMem != nullptr)
        ::DeleteDC(hMem);
    ::ReleaseDC(hWnd, hDC);
    return pixels;
}

}  // namespace uitest
