// An image list's images drawn once over a solid colour into a bitmap of the screen's format, so
// that putting one on the screen is a single copy. The list view draws each image through its
// mask and a scratch bitmap made for that image, which under Wine costs the window server
// several requests per image; a list that redraws many images many times a second (the monitor's
// blinking lamps) pays that over and over.
//
// What Draw puts on the screen is what the image list draws there once the area is filled with
// that colour: the same pixels. The images are drawn again when the list or the colour changes.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CellImageCache {
public:
    CellImageCache() = default;
    ~CellImageCache() { Reset(); }
    CellImageCache(const CellImageCache&) = delete;
    CellImageCache& operator=(const CellImageCache&) = delete;

    // Draws image `image` of `images` with its top left corner at (x, y) of hdc, over `back`;
    // false (nothing drawn) when it cannot.
    bool Draw(HDC hdc, HIMAGELIST images, int image, COLORREF back, int x, int y);
    // Forgets the drawn images (the image list is going).
    void Reset();

private:
    bool Build(HDC hdc, HIMAGELIST images, COLORREF back);

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    HIMAGELIST m_images = nullptr;
    COLORREF m_back = CLR_NONE;
    int m_count = 0;
    int m_cx = 0;
    int m_cy = 0;
};
