#include "controls/CellImageCache.h"

bool CellImageCache::Draw(HDC hdc, HIMAGELIST images, int image, COLORREF back, int x, int y)
{
    if (images == nullptr || image < 0 || (back & 0xFF000000) != 0)
        return false;
    if ((images != m_images || back != m_back || ImageList_GetImageCount(images) != m_count) &&
        !Build(hdc, images, back))
        return false;
    return image < m_count && ::BitBlt(hdc, x, y, m_cx, m_cy, m_dc, image * m_cx, 0, SRCCOPY) != FALSE;
}

void CellImageCache::Reset()
{
    if (m_oldBitmap != nullptr)
        ::SelectObject(m_dc, m_oldBitmap);
    if (m_dc != nullptr)
        ::DeleteDC(m_dc);
    if (m_bitmap != nullptr)
        ::DeleteObject(m_bitmap);
    m_dc = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
    m_images = nullptr;
    m_back = CLR_NONE;
    m_count = 0;
}

bool CellImageCache::Build(HDC hdc, HIMAGELIST images, COLORREF back)
{
    Reset();
    int cx = 0;
    int cy = 0;
    const int count = ImageList_GetImageCount(images);
    if (count <= 0 || !ImageList_GetIconSize(images, &cx, &cy) || cx <= 0 || cy <= 0)
        return false;
    m_dc = ::CreateCompatibleDC(hdc);
    m_bitmap = m_dc != nullptr ? ::CreateCompatibleBitmap(hdc, count * cx, cy) : nullptr;
    m_oldBitmap = m_bitmap != nullptr ? ::SelectObject(m_dc, m_bitmap) : nullptr;
    HBRUSH brush = m_oldBitmap != nullptr ? ::CreateSolidBrush(back) : nullptr;
    bool drawn = brush != nullptr;
    if (drawn) {
        const RECT all = {0, 0, count * cx, cy};
        drawn = ::FillRect(m_dc, &all, brush) != 0;
        ::DeleteObject(brush);
    }
    for (int i = 0; drawn && i < count; ++i)
        drawn = ImageList_Draw(images, i, m_dc, i * cx, 0, ILD_NORMAL) != FALSE;
    if (!drawn) {
        Reset();
        return false;
    }
    m_images = images;
    m_back = back;
    m_count = count;
    m_cx = cx;
    m_cy = cy;
    return true;
}
