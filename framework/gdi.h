// GDI wrappers: CGdiObject and its pens, brushes, fonts, bitmaps and regions, CImageList, and the
// device contexts CDC, CPaintDC and CClientDC.
//
// A wrapper holds one handle and owns it: the destructor deletes a GDI object, an image list or a
// created DC (Detach() first to keep the handle alive). FromHandle() and the SelectObject()
// overloads wrap handles the caller does not own in temporary objects that belong to the calling
// thread: they never delete the handle, one is kept per handle and kind, and they are freed when
// the thread ends.
#pragma once

#include "framework/cstring.h"
#include "framework/types.h"

#include <windows.h>

#include <commctrl.h>

class CWnd;
class CDC;
class CBitmap;

class CGdiObject {
public:
    CGdiObject() noexcept = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const noexcept { return m_hObject; }
    // Takes ownership of hObject; FALSE (nothing changed) when it is null or one is already held.
    BOOL Attach(HGDIOBJ hObject) noexcept;
    HGDIOBJ Detach() noexcept;
    // Deletes the held object; FALSE when there is none or GDI refuses (e.g. still selected).
    BOOL DeleteObject() noexcept;

    // GDI objects that the library's wrappers took (Attach: every Create and Load) and let go of
    // (Detach, DeleteObject) since the program started, on all threads: compared around an
    // operation, they show what it created and deleted.
    static LONG TakenCount() noexcept;
    static LONG ReleasedCount() noexcept;
    int GetObject(int nCount, LPVOID lpObject) const noexcept { return ::GetObjectW(m_hObject, nCount, lpObject); }
};

class CPen : public CGdiObject {
public:
    CPen() noexcept = default;
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) noexcept
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
};

class CBrush : public CGdiObject {
public:
    CBrush() noexcept = default;
    explicit CBrush(COLORREF crColor) noexcept { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor) noexcept { return Attach(::CreateSolidBrush(crColor)); }
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor) noexcept { return Attach(::CreateHatchBrush(nIndex, crColor)); }
    BOOL CreatePatternBrush(CBitmap* pBitmap) noexcept;
    operator HBRUSH() const noexcept { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCWSTR lpszFacename) noexcept
    {
        return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                    cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                                    lpszFacename));
    }
    BOOL CreateFontIndirect(const LOGFONTW* lpLogFont) noexcept { return Attach(::CreateFontIndirectW(lpLogFont)); }
    // A font of nPointSize tenths of a point, scaled by the LOGPIXELSY of pDC (of the screen when
    // pDC is null).
    BOOL CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC = nullptr);
    // As CreateFontIndirect, with lfHeight in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONTW* lpLogFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONTW* pLogFont) const noexcept { return GetObject(sizeof(LOGFONTW), pLogFont); }
    operator HFONT() const noexcept { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT hFont);
};

class CBitmap : public CGdiObject {
public:
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) noexcept
    {
        return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
    }
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) noexcept;
    int GetBitmap(BITMAP* pBitMap) const noexcept { return GetObject(sizeof(BITMAP), pBitMap); }
    operator HBITMAP() const noexcept { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP hBitmap);
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) noexcept { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) noexcept { return Attach(::CreateRectRgnIndirect(lpRect)); }
    // Sets this region (which must exist) to the combination of the two; returns the region type
    // or ERROR.
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) noexcept
    {
        return ::CombineRgn(*this, pRgn1 ? static_cast<HRGN>(*pRgn1) : nullptr,
                            pRgn2 ? static_cast<HRGN>(*pRgn2) : nullptr, nCombineMode);
    }
    operator HRGN() const noexcept { return static_cast<HRGN>(m_hObject); }
};

class CImageList {
public:
    CImageList() noexcept = default;
    virtual ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;

    HIMAGELIST GetSafeHandle() const noexcept { return m_hImageList; }
    BOOL Attach(HIMAGELIST hImageList) noexcept;
    HIMAGELIST Detach() noexcept;
    // Destroys the held list; safe to call again (then it does nothing and returns FALSE).
    BOOL DeleteImageList() noexcept;

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) noexcept
    {
        return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    // A masked list from a bitmap resource of the application: the image width is cx, crMask
    // is the transparent colour.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) noexcept;

    // Each returns the index of the first new image, or -1.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask) noexcept
    {
        return ImageList_Add(m_hImageList, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
    }
    int Add(HICON hIcon) noexcept { return ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }

    static CImageList* FromHandle(HIMAGELIST hImageList);
};

class CDC {
public:
    CDC() noexcept = default;
    // A DC made here (CreateCompatibleDC) is deleted; use Detach() to keep one.
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;

    HDC GetSafeHdc() const noexcept { return m_hDC; }
    operator HDC() const noexcept { return m_hDC; }
    BOOL Attach(HDC hDC) noexcept;
    HDC Detach() noexcept;
    BOOL CreateCompatibleDC(CDC* pDC) noexcept { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }
    BOOL DeleteDC() noexcept;
    static CDC* FromHandle(HDC hDC);

    int SaveDC() noexcept { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) noexcept { return ::RestoreDC(m_hDC, nSavedDC); }

    // Selection: each returns the object that was selected before (a temporary wrapper), or null
    // when the selection failed.
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);

    // Attributes.
    COLORREF SetTextColor(COLORREF crColor) noexcept { return ::SetTextColor(m_hDC, crColor); }
    COLORREF SetBkColor(COLORREF crColor) noexcept { return ::SetBkColor(m_hDC, crColor); }
    int SetBkMode(int nBkMode) noexcept { return ::SetBkMode(m_hDC, nBkMode); }

    // Rectangles.
    // Fills with a solid colour; the DC's background colour is left as it was.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr) noexcept;
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) noexcept;
    void FillRect(LPCRECT lpRect, CBrush* pBrush) noexcept { ::FillRect(m_hDC, lpRect, *pBrush); }
    BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) noexcept
    {
        return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
    }

    // Lines and shapes, with the selected pen and brush.
    BOOL RoundRect(LPCRECT lpRect, POINT point) noexcept
    {
        return ::RoundRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
    }
    COLORREF GetPixel(int x, int y) const noexcept { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF crColor) noexcept { return ::SetPixel(m_hDC, x, y, crColor); }

    // Text.
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) noexcept
    {
        return ::DrawTextW(m_hDC, str, str.GetLength(), lpRect, nFormat);
    }
    // The extent of the text in the selected font; (0, 0) when it cannot be measured.
    CSize GetTextExtent(LPCWSTR lpszString, int nCount) const noexcept;
    CSize GetTextExtent(const CString& str) const noexcept { return GetTextExtent(str, str.GetLength()); }

    // Icons and images.
    BOOL DrawIcon(int x, int y, HICON hIcon) noexcept { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush = nullptr) noexcept
    {
        return ::DrawStateW(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                            nFlags | DST_ICON);
    }
    BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = nullptr) noexcept
    {
        return ::DrawStateW(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, size.cx, size.cy,
                            nFlags | DST_BITMAP);
    }
    // Text in a state: DST_TEXT, or DST_PREFIXTEXT when bPrefixText; nTextLen 0 means up to the null.
    BOOL DrawState(CPoint pt, CSize size, LPCWSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                   HBRUSH hBrush = nullptr) noexcept
    {
        return ::DrawStateW(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText), static_cast<WPARAM>(nTextLen),
                            pt.x, pt.y, size.cx, size.cy, nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
    }

    // Block transfers.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) noexcept
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
    }
};

// The DC of a WM_PAINT: BeginPaint on construction, EndPaint on destruction. When BeginPaint fails
// m_hDC stays null and drawing does nothing.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};

protected:
    HWND m_hWnd = nullptr;
};

// The client area's DC (GetDC/ReleaseDC); with a null window, the screen's.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};
