// GDI wrappers: CGdiObject and its pens, brushes, fonts, bitmaps and regions, CImageList, and the
// device contexts CDC, CPaintDC, CClientDC and CWindowDC.
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
    operator HGDIOBJ() const noexcept { return m_hObject; }
    // Takes ownership of hObject; FALSE (nothing changed) when it is null or one is already held.
    BOOL Attach(HGDIOBJ hObject) noexcept;
    HGDIOBJ Detach() noexcept;
    // Deletes the held object; FALSE when there is none or GDI refuses (e.g. still selected).
    BOOL DeleteObject() noexcept;
    BOOL CreateStockObject(int nIndex) noexcept { return Attach(::GetStockObject(nIndex)); }

    // GDI objects that the library's wrappers took (Attach: every Create and Load) and let go of
    // (Detach, DeleteObject) since the program started, on all threads: compared around an
    // operation, they show what it created and deleted.
    static LONG TakenCount() noexcept;
    static LONG ReleasedCount() noexcept;
    int GetObject(int nCount, LPVOID lpObject) const noexcept { return ::GetObjectW(m_hObject, nCount, lpObject); }
    UINT GetObjectType() const noexcept { return ::GetObjectType(m_hObject); }

    static CGdiObject* FromHandle(HGDIOBJ hObject);
};

class CPen : public CGdiObject {
public:
    CPen() noexcept = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) noexcept { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) noexcept
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    BOOL CreatePenIndirect(const LOGPEN* lpLogPen) noexcept { return Attach(::CreatePenIndirect(lpLogPen)); }
    int GetLogPen(LOGPEN* pLogPen) const noexcept { return GetObject(sizeof(LOGPEN), pLogPen); }
    operator HPEN() const noexcept { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN hPen);
};

class CBrush : public CGdiObject {
public:
    CBrush() noexcept = default;
    explicit CBrush(COLORREF crColor) noexcept { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor) noexcept { return Attach(::CreateSolidBrush(crColor)); }
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor) noexcept { return Attach(::CreateHatchBrush(nIndex, crColor)); }
    BOOL CreatePatternBrush(CBitmap* pBitmap) noexcept;
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush) noexcept { return Attach(::CreateBrushIndirect(lpLogBrush)); }
    // System-colour brushes are shared by the system; DeleteObject on them is harmless.
    BOOL CreateSysColorBrush(int nIndex) noexcept { return Attach(::GetSysColorBrush(nIndex)); }
    int GetLogBrush(LOGBRUSH* pLogBrush) const noexcept { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
    operator HBRUSH() const noexcept { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH hBrush);
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
    // Bitmaps are loaded from the application's resources (AfxGetResourceHandle).
    BOOL LoadBitmap(UINT nIDResource) noexcept;
    BOOL LoadBitmap(LPCWSTR lpszResourceName) noexcept;
    BOOL LoadOEMBitmap(UINT nIDBitmap) noexcept
    {
        return Attach(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(nIDBitmap)));
    }
    // Loads a bitmap resource with colours replaced (comctl32's CreateMappedBitmap).
    BOOL LoadMappedBitmap(UINT nIDBitmap, UINT nFlags = 0, LPCOLORMAP lpColorMap = nullptr, int nMapSize = 0) noexcept;
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) noexcept
    {
        return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
    }
    BOOL CreateBitmapIndirect(const BITMAP* lpBitmap) noexcept { return Attach(::CreateBitmapIndirect(lpBitmap)); }
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) noexcept;
    int GetBitmap(BITMAP* pBitMap) const noexcept { return GetObject(sizeof(BITMAP), pBitMap); }
    operator HBITMAP() const noexcept { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP hBitmap);
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) noexcept { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) noexcept { return Attach(::CreateRectRgnIndirect(lpRect)); }
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) noexcept
    {
        return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
    }
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2) noexcept
    {
        return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
    }
    BOOL CreateEllipticRgnIndirect(LPCRECT lpRect) noexcept { return Attach(::CreateEllipticRgnIndirect(lpRect)); }
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) noexcept
    {
        return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
    }
    // Sets this region (which must exist) to the combination of the two; returns the region type
    // or ERROR.
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) noexcept
    {
        return ::CombineRgn(*this, pRgn1 ? static_cast<HRGN>(*pRgn1) : nullptr,
                            pRgn2 ? static_cast<HRGN>(*pRgn2) : nullptr, nCombineMode);
    }
    int CopyRgn(const CRgn* pRgnSrc) noexcept { return ::CombineRgn(*this, *pRgnSrc, nullptr, RGN_COPY); }
    BOOL EqualRgn(const CRgn* pRgn) const noexcept { return ::EqualRgn(*this, *pRgn); }
    int OffsetRgn(int x, int y) noexcept { return ::OffsetRgn(*this, x, y); }
    void SetRectRgn(int x1, int y1, int x2, int y2) noexcept { ::SetRectRgn(*this, x1, y1, x2, y2); }
    void SetRectRgn(LPCRECT lpRect) noexcept { ::SetRectRgn(*this, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    int GetRgnBox(LPRECT lpRect) const noexcept { return ::GetRgnBox(*this, lpRect); }
    BOOL PtInRegion(int x, int y) const noexcept { return ::PtInRegion(*this, x, y); }
    BOOL PtInRegion(POINT point) const noexcept { return ::PtInRegion(*this, point.x, point.y); }
    BOOL RectInRegion(LPCRECT lpRect) const noexcept { return ::RectInRegion(*this, lpRect); }
    operator HRGN() const noexcept { return static_cast<HRGN>(m_hObject); }
    static CRgn* FromHandle(HRGN hRgn);
};

class CImageList {
public:
    CImageList() noexcept = default;
    virtual ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const noexcept { return m_hImageList; }
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

    int GetImageCount() const noexcept { return ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT uNewCount) noexcept { return ImageList_SetImageCount(m_hImageList, uNewCount); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const noexcept
    {
        return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
    }
    BOOL GetIconSize(int* cx, int* cy) const noexcept { return ImageList_GetIconSize(m_hImageList, cx, cy); }
    COLORREF SetBkColor(COLORREF cr) noexcept { return ImageList_SetBkColor(m_hImageList, cr); }
    COLORREF GetBkColor() const noexcept { return ImageList_GetBkColor(m_hImageList); }

    // Each returns the index of the first new image, or -1.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask) noexcept
    {
        return ImageList_Add(m_hImageList, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
    }
    int Add(CBitmap* pbmImage, COLORREF crMask) noexcept { return ImageList_AddMasked(m_hImageList, *pbmImage, crMask); }
    int Add(HICON hIcon) noexcept { return ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) noexcept
    {
        return ImageList_Replace(m_hImageList, nImage, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
    }
    int Replace(int nImage, HICON hIcon) noexcept { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    BOOL Remove(int nImage) noexcept { return ImageList_Remove(m_hImageList, nImage); }
    BOOL RemoveAll() noexcept { return ImageList_Remove(m_hImageList, -1); }
    HICON ExtractIcon(int nImage) noexcept { return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) noexcept;
    BOOL SetOverlayImage(int nImage, int nOverlay) noexcept
    {
        return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
    }

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
    int GetDeviceCaps(int nIndex) const noexcept { return ::GetDeviceCaps(m_hDC, nIndex); }

    // Selection: each returns the object that was selected before (a temporary wrapper), or null
    // when the selection failed.
    CGdiObject* SelectObject(CGdiObject* pObject);
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    int SelectObject(CRgn* pRgn) noexcept { return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(*pRgn) : nullptr); }
    CGdiObject* SelectStockObject(int nIndex);
    CFont* GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }
    CPen* GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
    CBrush* GetCurrentBrush() const
    {
        return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
    }
    CBitmap* GetCurrentBitmap() const
    {
        return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
    }

    // Attributes.
    COLORREF SetTextColor(COLORREF crColor) noexcept { return ::SetTextColor(m_hDC, crColor); }
    COLORREF GetTextColor() const noexcept { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF crColor) noexcept { return ::SetBkColor(m_hDC, crColor); }
    COLORREF GetBkColor() const noexcept { return ::GetBkColor(m_hDC); }
    int SetBkMode(int nBkMode) noexcept { return ::SetBkMode(m_hDC, nBkMode); }
    int GetBkMode() const noexcept { return ::GetBkMode(m_hDC); }
    UINT SetTextAlign(UINT nFlags) noexcept { return ::SetTextAlign(m_hDC, nFlags); }
    int SetROP2(int nDrawMode) noexcept { return ::SetROP2(m_hDC, nDrawMode); }
    int SetStretchBltMode(int nStretchMode) noexcept { return ::SetStretchBltMode(m_hDC, nStretchMode); }
    int SetMapMode(int nMapMode) noexcept { return ::SetMapMode(m_hDC, nMapMode); }
    CPoint SetViewportOrg(int x, int y) noexcept
    {
        POINT old = {0, 0};
        ::SetViewportOrgEx(m_hDC, x, y, &old);
        return old;
    }
    BOOL DPtoLP(LPPOINT lpPoints, int nCount = 1) const noexcept { return ::DPtoLP(m_hDC, lpPoints, nCount); }
    BOOL LPtoDP(LPPOINT lpPoints, int nCount = 1) const noexcept { return ::LPtoDP(m_hDC, lpPoints, nCount); }

    // Clipping.
    int SelectClipRgn(CRgn* pRgn) noexcept { return SelectObject(pRgn); }
    int SelectClipRgn(CRgn* pRgn, int nMode) noexcept
    {
        return ::ExtSelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(*pRgn) : nullptr, nMode);
    }
    int IntersectClipRect(int x1, int y1, int x2, int y2) noexcept { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
    int IntersectClipRect(LPCRECT lpRect) noexcept
    {
        return ::IntersectClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int ExcludeClipRect(int x1, int y1, int x2, int y2) noexcept { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
    int ExcludeClipRect(LPCRECT lpRect) noexcept
    {
        return ::ExcludeClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int GetClipBox(LPRECT lpRect) const noexcept { return ::GetClipBox(m_hDC, lpRect); }

    // Rectangles and regions.
    // Fills with a solid colour; the DC's background colour is left as it was.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr) noexcept;
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) noexcept;
    void FillRect(LPCRECT lpRect, CBrush* pBrush) noexcept { ::FillRect(m_hDC, lpRect, *pBrush); }
    void FrameRect(LPCRECT lpRect, CBrush* pBrush) noexcept { ::FrameRect(m_hDC, lpRect, *pBrush); }
    void InvertRect(LPCRECT lpRect) noexcept { ::InvertRect(m_hDC, lpRect); }
    void DrawFocusRect(LPCRECT lpRect) noexcept { ::DrawFocusRect(m_hDC, lpRect); }
    // A one-pixel frame: top and left edges in clrTopLeft, bottom and right in clrBottomRight.
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) noexcept;
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) noexcept;
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) noexcept { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
    BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) noexcept
    {
        return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
    }
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush) noexcept { return ::FillRgn(m_hDC, *pRgn, *pBrush); }
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) noexcept
    {
        return ::FrameRgn(m_hDC, *pRgn, *pBrush, nWidth, nHeight);
    }
    BOOL PaintRgn(CRgn* pRgn) noexcept { return ::PaintRgn(m_hDC, *pRgn); }

    // Lines and shapes, with the selected pen and brush.
    CPoint MoveTo(int x, int y) noexcept
    {
        POINT old = {0, 0};
        ::MoveToEx(m_hDC, x, y, &old);
        return old;
    }
    CPoint MoveTo(POINT point) noexcept { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y) noexcept { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT point) noexcept { return ::LineTo(m_hDC, point.x, point.y); }
    BOOL Polyline(const POINT* lpPoints, int nCount) noexcept { return ::Polyline(m_hDC, lpPoints, nCount); }
    BOOL Polygon(const POINT* lpPoints, int nCount) noexcept { return ::Polygon(m_hDC, lpPoints, nCount); }
    BOOL Rectangle(int x1, int y1, int x2, int y2) noexcept { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT lpRect) noexcept
    {
        return ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) noexcept
    {
        return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
    }
    BOOL RoundRect(LPCRECT lpRect, POINT point) noexcept
    {
        return ::RoundRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
    }
    BOOL Ellipse(int x1, int y1, int x2, int y2) noexcept { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Ellipse(LPCRECT lpRect) noexcept
    {
        return ::Ellipse(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    COLORREF GetPixel(int x, int y) const noexcept { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT point) const noexcept { return ::GetPixel(m_hDC, point.x, point.y); }
    COLORREF SetPixel(int x, int y, COLORREF crColor) noexcept { return ::SetPixel(m_hDC, x, y, crColor); }
    COLORREF SetPixel(POINT point, COLORREF crColor) noexcept { return ::SetPixel(m_hDC, point.x, point.y, crColor); }
    BOOL SetPixelV(int x, int y, COLORREF crColor) noexcept { return ::SetPixelV(m_hDC, x, y, crColor); }

    // Text.
    int DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) noexcept
    {
        return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) noexcept
    {
        return ::DrawTextW(m_hDC, str, str.GetLength(), lpRect, nFormat);
    }
    int DrawTextEx(LPWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) noexcept
    {
        return ::DrawTextExW(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
    }
    BOOL TextOut(int x, int y, LPCWSTR lpszString, int nCount) noexcept
    {
        return ::TextOutW(m_hDC, x, y, lpszString, nCount);
    }
    BOOL TextOut(int x, int y, const CString& str) noexcept { return ::TextOutW(m_hDC, x, y, str, str.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCWSTR lpszString, UINT nCount,
                    LPINT lpDxWidths) noexcept
    {
        return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths) noexcept
    {
        return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, str, static_cast<UINT>(str.GetLength()), lpDxWidths);
    }
    // The extent of the text in the selected font; (0, 0) when it cannot be measured.
    CSize GetTextExtent(LPCWSTR lpszString, int nCount) const noexcept;
    CSize GetTextExtent(const CString& str) const noexcept { return GetTextExtent(str, str.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICW lpMetrics) const noexcept { return ::GetTextMetricsW(m_hDC, lpMetrics); }

    // Icons and images.
    BOOL DrawIcon(int x, int y, HICON hIcon) noexcept { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL DrawIcon(POINT point, HICON hIcon) noexcept { return ::DrawIcon(m_hDC, point.x, point.y, hIcon); }
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
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop) noexcept
    {
        return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                            nSrcHeight, dwRop);
    }
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) noexcept
    {
        return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
    }
    // Copies leaving out the pixels of colour clrTransparent (msimg32).
    BOOL TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                        int nSrcWidth, int nSrcHeight, UINT clrTransparent) noexcept;
    // Fills rectangles or triangles with colour gradients (msimg32).
    BOOL GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements, DWORD dwMode) noexcept;
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

// The whole window's DC, frame included (GetWindowDC/ReleaseDC).
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};
