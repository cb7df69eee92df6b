#include "framework/gdi.h"

#include "framework/app.h"

#include "framework/wnd.h"

#include <map>
#include <memory>
#include <utility>

// --- temporary wrappers --------------------------------------------------------------------
//
// FromHandle() wraps a handle the caller does not own. The wrappers live in maps of the calling
// thread, one per handle and kind, detached before they are freed so that the handle survives.

namespace {

enum class GdiKind { Font, Bitmap };

struct TempMaps {
    std::map<std::pair<HGDIOBJ, GdiKind>, std::unique_ptr<CGdiObject>> gdiObjects;
    std::map<HDC, std::unique_ptr<CDC>> dcs;
    std::map<HIMAGELIST, std::unique_ptr<CImageList>> imageLists;

    TempMaps() = default;
    TempMaps(const TempMaps&) = delete;
    TempMaps& operator=(const TempMaps&) = delete;
    ~TempMaps()
    {
        for (auto& entry : gdiObjects)
            entry.second->m_hObject = nullptr;  // never taken, so not counted as let go
        for (auto& entry : dcs)
            entry.second->Detach();
        for (auto& entry : imageLists)
            entry.second->Detach();
    }
};

TempMaps& ThreadTempMaps()
{
    thread_local TempMaps maps;
    return maps;
}

template <class T>
T* TempGdiObject(HGDIOBJ hObject, GdiKind kind)
{
    if (!hObject)
        return nullptr;
    auto& map = ThreadTempMaps().gdiObjects;
    auto key = std::make_pair(hObject, kind);
    auto it = map.find(key);
    if (it != map.end())
        return static_cast<T*>(it->second.get());
    auto wrapper = std::make_unique<T>();
    wrapper->m_hObject = hObject;
    T* result = wrapper.get();
    map.emplace(key, std::move(wrapper));
    return result;
}

}  // namespace

// --- CGdiObject and kinds ------------------------------------------------------------------

namespace {

LONG g_gdiTaken = 0;
LONG g_gdiReleased = 0;

}  // namespace

BOOL CGdiObject::Attach(HGDIOBJ hObject) noexcept
{
    if (!hObject || m_hObject)
        return FALSE;
    m_hObject = hObject;
    ::InterlockedIncrement(&g_gdiTaken);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() noexcept
{
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    if (hObject)
        ::InterlockedIncrement(&g_gdiReleased);
    return hObject;
}

LONG CGdiObject::TakenCount() noexcept
{
    return ::InterlockedCompareExchange(&g_gdiTaken, 0, 0);
}

LONG CGdiObject::ReleasedCount() noexcept
{
    return ::InterlockedCompareExchange(&g_gdiReleased, 0, 0);
}

BOOL CGdiObject::DeleteObject() noexcept
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

CFont* CFont::FromHandle(HFONT hFont)
{
    return TempGdiObject<CFont>(hFont, GdiKind::Font);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return TempGdiObject<CBitmap>(hBitmap, GdiKind::Bitmap);
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) noexcept
{
    if (!pBitmap || !pBitmap->m_hObject)
        return FALSE;
    return Attach(::CreatePatternBrush(*pBitmap));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC)
{
    LOGFONTW logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName)
        lstrcpynW(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* lpLogFont, CDC* pDC)
{
    if (!lpLogFont)
        return FALSE;
    HDC hDC = pDC ? pDC->m_hDC : ::GetDC(nullptr);
    if (!hDC)
        return FALSE;
    // Tenths of a point to device pixels (72 points per inch), truncated, then to the DC's
    // logical units; the height is negative: a character height, not a cell height.
    POINT pt = {0, ::GetDeviceCaps(hDC, LOGPIXELSY) * lpLogFont->lfHeight / 720};
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &pt, 1);
    ::DPtoLP(hDC, &ptOrg, 1);
    if (!pDC)
        ::ReleaseDC(nullptr, hDC);
    LOGFONTW logFont = *lpLogFont;
    LONG height = pt.y - ptOrg.y;
    logFont.lfHeight = -(height < 0 ? -height : height);
    return CreateFontIndirect(&logFont);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) noexcept
{
    if (!pDC || !pDC->m_hDC)
        return FALSE;
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

// --- CImageList ----------------------------------------------------------------------------

BOOL CImageList::Attach(HIMAGELIST hImageList) noexcept
{
    if (!hImageList || m_hImageList)
        return FALSE;
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach() noexcept
{
    HIMAGELIST hImageList = m_hImageList;
    m_hImageList = nullptr;
    return hImageList;
}

BOOL CImageList::DeleteImageList() noexcept
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) noexcept
{
    return Attach(ImageList_LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nBitmapID), cx, nGrow, crMask,
                                       IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    if (!hImageList)
        return nullptr;
    auto& map = ThreadTempMaps().imageLists;
    auto it = map.find(hImageList);
    if (it != map.end())
        return it->second.get();
    auto wrapper = std::make_unique<CImageList>();
    wrapper->m_hImageList = hImageList;
    CImageList* result = wrapper.get();
    map.emplace(hImageList, std::move(wrapper));
    return result;
}

// --- CDC -----------------------------------------------------------------------------------

CDC::~CDC()
{
    DeleteDC();
}

BOOL CDC::Attach(HDC hDC) noexcept
{
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach() noexcept
{
    HDC hDC = m_hDC;
    m_hDC = nullptr;
    return hDC;
}

BOOL CDC::DeleteDC() noexcept
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    auto& map = ThreadTempMaps().dcs;
    auto it = map.find(hDC);
    if (it != map.end())
        return it->second.get();
    auto wrapper = std::make_unique<CDC>();
    wrapper->m_hDC = hDC;
    CDC* result = wrapper.get();
    map.emplace(hDC, std::move(wrapper));
    return result;
}

CFont* CDC::SelectObject(CFont* pFont)
{
    if (!pFont || !m_hDC)
        return nullptr;
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!pBitmap || !m_hDC)
        return nullptr;
    HGDIOBJ hOld = ::SelectObject(m_hDC, pBitmap->m_hObject);
    return hOld != HGDI_ERROR ? CBitmap::FromHandle(static_cast<HBITMAP>(hOld)) : nullptr;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) noexcept
{
    COLORREF crOld = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    if (crOld != CLR_INVALID)
        ::SetBkColor(m_hDC, crOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) noexcept
{
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const noexcept
{
    SIZE size = {0, 0};
    if (!::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size))
        return CSize(0, 0);
    return size;
}

// --- window DCs ----------------------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr)
{
    if (m_hWnd)
        Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (m_hDC) {
        ::EndPaint(m_hWnd, &m_ps);
        Detach();
    }
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, Detach());
}
