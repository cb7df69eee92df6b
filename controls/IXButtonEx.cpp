// CIXButtonEx: hover by a short timer, the toggle on every left press, the erase that shows the
// parent's colour around the rounded tile, and the tile's drawing.
#include "controls/IXButtonEx.h"

#include <windowsx.h>

#include <algorithm>

namespace {

// A tooltip text longer than this is refused.
const size_t kMaxTipText = 1024;

// Period of the timer that looks whether the cursor has left the button.
const UINT kHoverPollMs = 10;

// DrawFrameControl states of the frames a tile may get.
const UINT kFramePush = DFCS_BUTTONPUSH;
const UINT kFrameFlat = DFCS_BUTTONPUSH | DFCS_FLAT;
const UINT kFrameInactive = DFCS_BUTTONPUSH | DFCS_INACTIVE | DFCS_MONO;

// Raster operation that copies the brush where the mask is 0 and keeps the destination where it
// is 1 (PSDPxax).
const DWORD kRopBrushWhereMaskIsZero = 0x00B8074A;

}  // namespace

BEGIN_MESSAGE_MAP(CIXButtonEx, CButton)
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CIXButtonEx::CIXButtonEx()
    : ParentBackColor(::GetSysColor(COLOR_ACTIVEBORDER)),
      BorderColor(::GetSysColor(COLOR_BTNSHADOW)),
      HoverCursor(::LoadCursorW(nullptr, IDC_HAND))
{
}

// The members free the font, the bitmap, the caption and the tooltip window.
CIXButtonEx::~CIXButtonEx() = default;

// ---- attaching and the tooltip ------------------------------------------------------------------

void CIXButtonEx::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW | BS_MULTILINE);
}

// The tooltip is made when the mouse first comes to the button, not when the button is attached:
// a tooltip is a top-level window, and the COM-number map would otherwise make 259 of them, one
// round trip to the window system after another, before it can show. The button window itself
// is the tool; its text comes by callback until SetTooltipText gives one.
BOOL CIXButtonEx::EnsureToolTip()
{
    if (ToolTip.GetSafeHwnd() != nullptr)
        return TRUE;
    if (m_hWnd == nullptr || !ToolTip.Create(this, 0))
        return FALSE;
    ToolTip.AddTool(this, LPSTR_TEXTCALLBACKW);
    if (HasTooltip)
        ApplyTipText();
    return TRUE;
}

void CIXButtonEx::ApplyTipText()
{
    if (m_tipText.IsEmpty()) {
        // The old text goes too, so that the tip a mouse move activates again shows nothing.
        ToolTip.UpdateTipText(L"", this);
        ToolTip.Activate(FALSE);
        return;
    }
    ToolTip.UpdateTipText(m_tipText, this);
    ToolTip.SetTipBkColor(0xFBF0E6);
    ToolTip.SetTipTextColor(0x8C0000);
    ToolTip.Activate(TRUE);
}

void CIXButtonEx::SetTooltipText(const wchar_t* text)
{
    HasTooltip = TRUE;
    const bool empty = text == nullptr || *text == L'\0';
    if (!empty && wcslen(text) > kMaxTipText)
        AfxThrowInvalidArgException();
    m_tipText = empty ? L"" : text;
    // Without a tooltip yet, the text waits for it.
    if (ToolTip.GetSafeHwnd() != nullptr)
        ApplyTipText();
}

BOOL CIXButtonEx::PreTranslateMessage(MSG* pMsg)
{
    const bool mouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (mouse ? EnsureToolTip() : ToolTip.GetSafeHwnd() != nullptr)
        ToolTip.RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

// ---- mouse --------------------------------------------------------------------------------------

void CIXButtonEx::OnMouseMove(UINT nFlags, CPoint point)
{
    if (Interactive && HasTooltip && !MouseDown) {
        if (IsWindowEnabled()) {
            ::ShowCursor(FALSE);
            ::SetCursor(HoverCursor);
            ::ShowCursor(TRUE);
            if (ToolTip.GetSafeHwnd() != nullptr)
                ToolTip.Activate(TRUE);
        } else if (ToolTip.GetSafeHwnd() != nullptr) {
            ToolTip.Activate(FALSE);
        }
        // Hover starts only with the timer that will end it.
        if (!Hover && SetTimer(HoverTimerId, kHoverPollMs) != 0) {
            Hover = TRUE;
            Invalidate();
        }
    }
    CButton::OnMouseMove(nFlags, point);
}

void CIXButtonEx::OnTimer(UINT_PTR nIDEvent)
{
    if (!MouseDown) {
        // Where the cursor is now. The position a timer message carries should say the same, but
        // Wine can leave it where the mouse last was over one of this program's windows, and then
        // hover would never end; that position is only the fallback.
        CPoint point;
        if (!::GetCursorPos(&point)) {
            const DWORD pos = ::GetMessagePos();
            point = CPoint(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
        }
        ScreenToClient(&point);
        CRect client;
        GetClientRect(&client);
        if (!client.PtInRect(point)) {
            KillTimer(HoverTimerId);
            Hover = FALSE;
            Invalidate();
        }
    }
    CButton::OnTimer(nIDEvent);
}

void CIXButtonEx::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!Interactive)
        return;
    ToggleState ^= 1;
    MouseDown = TRUE;
    if (SwapColorsOnClick)
        std::swap(BackColor, HoverBackColor);
    CButton::OnLButtonDown(nFlags, point);
}

void CIXButtonEx::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!Interactive)
        return;
    // Images and image modes are kept: they are the owner's settings, not one click's.
    MouseDown = FALSE;
    CButton::OnLButtonUp(nFlags, point);
}

void CIXButtonEx::OnCaptureChanged(CWnd* pWnd)
{
    // A press whose release goes elsewhere (another window took the mouse) is over too; otherwise
    // hovering could neither start nor end until the next click here.
    MouseDown = FALSE;
    CButton::OnCaptureChanged(pWnd);
}

// ---- erasing --------------------------------------------------------------------------------------

BOOL CIXButtonEx::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    if (UseBackgroundBitmap && BackgroundBitmapId != 0) {
        if (BackgroundBitmap.GetSafeHandle() == nullptr)
            BackgroundBitmap.Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(BackgroundBitmapId)));
        CWnd* pParent = GetParent();
        if (BackgroundBitmap.GetSafeHandle() == nullptr || pParent == nullptr)
            return TRUE;  // nothing to copy from
        CRect screen = client;
        ClientToScreen(&screen);
        CRect parentRect;
        pParent->GetWindowRect(&parentRect);
        CDC memDC;
        if (!memDC.CreateCompatibleDC(pDC))
            return TRUE;
        CBitmap* pOld = memDC.SelectObject(&BackgroundBitmap);
        if (pOld != nullptr) {
            pDC->BitBlt(0, 0, client.Width(), client.Height(), &memDC, screen.left - parentRect.left,
                        screen.top - parentRect.top, SRCCOPY);
            memDC.SelectObject(pOld);
        }
        return TRUE;
    }
    if (!ParentBackColorSampled) {
        // The pixel may lie outside what the DC may read (a partial first repaint); then the next
        // erase tries again.
        const COLORREF sample = pDC->GetPixel((client.left + client.right) / 2, (client.top + client.bottom) / 2);
        if (sample != CLR_INVALID) {
            ParentBackColor = sample;
            ParentBackColorSampled = TRUE;
        }
    }
    pDC->FillSolidRect(&client, ParentBackColor);
    return TRUE;
}

// ---- drawing ----------------------------------------------------------------------------------

UINT CIXButtonEx::FrameState(BOOL transparent, BOOL flat, BOOL rounded, BOOL enabled, BOOL differsFromParent)
{
    if (transparent)
        return !enabled && differsFromParent ? kFrameInactive : 0;
    if (!flat)
        return enabled ? kFramePush : kFrameInactive;
    if (!rounded)
        return enabled ? kFrameFlat : kFrameInactive;
    return 0;
}

void CIXButtonEx::ReadWindowFont()
{
    WindowFont = GetFont();
    // A window without a font draws with the GUI font.
    if (WindowFont == nullptr || WindowFont->GetLogFont(&TextLogFont) == 0)
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(TextLogFont), &TextLogFont);
    m_logFontRead = TRUE;
}

void CIXButtonEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect itemRect(&lpDrawItemStruct->rcItem);
    CRect rect = itemRect;
    Enabled = !(lpDrawItemStruct->itemState & ODS_DISABLED);

    // KeepLogFont keeps the description the owner wrote, but there must be one to keep.
    if (!KeepLogFont || !m_logFontRead)
        ReadWindowFont();

    CString caption = Caption;
    if (caption.IsEmpty())
        GetWindowText(caption);

    const UINT frame = FrameState(Transparent, Flat, Rounded, Enabled, BackColor != ParentBackColor || BrushKind != 0);
    if (frame != 0)
        pDC->DrawFrameControl(&rect, DFC_BUTTON, frame);
    if (!Transparent || frame != 0)
        rect.DeflateRect(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));

    const COLORREF fill = Hover ? HoverBackColor : BackColor;
    if (!(UseBackgroundBitmap && Transparent))
        FillBackground(pDC, rect, fill, Enabled);

    TextLogFont.lfUnderline = static_cast<BYTE>(Hover ? Underline != 0 : Underline == 2);

    if (ImageMode == 2) {
        ImageColorMap.from = MapFromColor;
        ImageColorMap.to = Hover ? MapToHoverColor : MapToColor;
    } else if ((Transparent && !TransparentImage) || !Enabled) {
        ImageColorMap.to = ParentBackColor;
    } else if (!TransparentImage) {
        ImageColorMap.to = fill;
    }

    // No image drawn, no room made for one.
    ImageOffset = 0;
    if (!caption.IsEmpty()) {
        const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
        if (BoldText)
            TextLogFont.lfWeight = FW_BOLD;
        TextFont.DeleteObject();
        TextFont.CreateFontIndirect(&TextLogFont);
        CFont* pOldFont = TextFont.GetSafeHandle() != nullptr ? pDC->SelectObject(&TextFont) : nullptr;
        const CSize extent = pDC->GetTextExtent(caption);

        if (ImageId != 0)
            DrawImage(pDC, itemRect, extent.cx);
        rect.left += ImageOffset;
        int x = (rect.left + rect.right) / 2 - extent.cx / 2;
        int y = (rect.top + rect.bottom) / 2 - extent.cy / 2;

        const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (Enabled) {
            pDC->SetTextColor(Hover ? HoverTextColor : TextColor);
            pDC->DrawText(caption, &rect, format);
        } else {
            pDC->SetTextColor(ParentBackColor);
            pDC->DrawText(caption, &rect, format);
            if (Transparent) {
                --x;
                --y;
            }
            pDC->DrawState(CPoint(x, y), extent, static_cast<LPCWSTR>(caption), DSS_DISABLED, TRUE, 0, nullptr);
        }
        if (pOldFont != nullptr)
            pDC->SelectObject(pOldFont);
        pDC->SetBkMode(oldBkMode);
    } else if (ImageId != 0) {
        DrawImage(pDC, itemRect, 0);
    }
    TextFont.DeleteObject();
}

BOOL CIXButtonEx::CreateBrush(CBrush& brush, COLORREF color, BOOL useBrushKind) const
{
    if (!useBrushKind)
        return brush.CreateSolidBrush(ParentBackColor);
    switch (BrushKind) {
        case 0:
            return brush.CreateSolidBrush(Transparent ? ParentBackColor : color);
        case 1: {
            // The brush keeps its own copy of the pattern; the bitmap goes when this block ends.
            CBitmap pattern;
            if (!pattern.Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(BrushParam))))
                return FALSE;
            return brush.CreatePatternBrush(&pattern);
        }
        case 2:
            return brush.CreateHatchBrush(BrushParam, color);
        default:
            return FALSE;
    }
}

void CIXButtonEx::FillBackground(CDC* pDC, const CRect& rect, COLORREF color, BOOL useBrushKind)
{
    CBrush brush;
    const BOOL haveBrush = CreateBrush(brush, color, useBrushKind);
    if (!(Flat && Rounded)) {
        if (haveBrush)
            pDC->FillRect(&rect, &brush);
        return;
    }
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, BorderColor);
    // Without a brush only the border is drawn, never with whatever brush the DC holds.
    HGDIOBJ oldPen = ::SelectObject(pDC->m_hDC, pen.GetSafeHandle() ? pen.GetSafeHandle() : ::GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = ::SelectObject(pDC->m_hDC, haveBrush ? brush.GetSafeHandle() : ::GetStockObject(NULL_BRUSH));
    pDC->RoundRect(&rect, CornerSize);
    ::SelectObject(pDC->m_hDC, oldBrush);
    ::SelectObject(pDC->m_hDC, oldPen);
}

void CIXButtonEx::DrawImage(CDC* pDC, const CRect& itemRect, int textWidth)
{
    UINT id = ImageId;
    BOOL mapped = TRUE;
    if (Enabled) {
        if (ImageMode == 1 && Hover)
            id = HoverImageId;
    } else if (DisabledImageId != 0) {
        id = DisabledImageId;
    } else {
        mapped = FALSE;
    }
    CBitmap bitmap;
    if (!bitmap.Attach(::CreateMappedBitmap(AfxGetResourceHandle(), static_cast<INT_PTR>(id), 0,
                                            mapped ? &ImageColorMap : nullptr, mapped ? 1 : 0)))
        return;  // an image that cannot be loaded is left out, and no room is made for it
    BITMAP info = {};
    if (!bitmap.GetBitmap(&info))
        return;

    ImageOffset = info.bmWidth + (textWidth >= 1 ? 2 : 0);
    const int half = std::max(0, (textWidth + ImageOffset) / 2);
    int x = 0;
    if (ImageAlign == 0 || ImageAlign == 2)
        x = std::max(0, static_cast<int>((itemRect.left + itemRect.right) / 2) - half);
    int y = 0;
    if (ImageAlign == 0 || ImageAlign == 1)
        y = static_cast<int>((itemRect.bottom - itemRect.top - info.bmHeight) / 2);

    COLORREF transparent = ImageColorMap.to;
    if (!Enabled && DisabledImageId == 0) {
        EmbossBitmap(bitmap);
        transparent = ::GetSysColor(COLOR_BTNFACE);
    }
    if (!TransparentImage && Enabled)
        pDC->DrawState(CPoint(x, y), CSize(info.bmWidth, info.bmHeight), static_cast<HBITMAP>(bitmap), DSS_NORMAL);
    else
        DrawTransparentBitmap(pDC, bitmap, x, y, info.bmWidth, info.bmHeight, transparent);
}

void CIXButtonEx::EmbossBitmap(CBitmap& bitmap)
{
    BITMAP info = {};
    if (!bitmap.GetBitmap(&info))
        return;
    const int width = info.bmWidth;
    const int height = info.bmHeight;

    // A monochrome mask: 1 where the picture is exactly white, 0 elsewhere. A copy into a
    // monochrome bitmap compares each pixel with the source's background colour; a one-bit DIB
    // section would take the nearest of its two colours instead and count light greys as white.
    CBitmap mask;
    if (!mask.CreateBitmap(width, height, 1, 1, nullptr))
        return;
    CDC pictureDC;
    CDC maskDC;
    if (!pictureDC.CreateCompatibleDC(nullptr) || !maskDC.CreateCompatibleDC(nullptr))
        return;
    CBitmap* pOldPicture = pictureDC.SelectObject(&bitmap);
    CBitmap* pOldMask = maskDC.SelectObject(&mask);
    if (pOldPicture != nullptr && pOldMask != nullptr) {
        pictureDC.SetBkColor(RGB(255, 255, 255));
        maskDC.BitBlt(0, 0, width, height, &pictureDC, 0, 0, SRCCOPY);

        pictureDC.FillSolidRect(0, 0, width, height, ::GetSysColor(COLOR_BTNFACE));
        // The mask's 1 bits must stay all ones and its 0 bits all zeros in the colour picture.
        pictureDC.SetBkColor(RGB(255, 255, 255));
        pictureDC.SetTextColor(RGB(0, 0, 0));
        CBrush highlight(::GetSysColor(COLOR_3DHILIGHT));
        CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ oldBrush = ::SelectObject(pictureDC.m_hDC, highlight.GetSafeHandle());
        pictureDC.BitBlt(1, 1, width, height, &maskDC, 0, 0, kRopBrushWhereMaskIsZero);
        ::SelectObject(pictureDC.m_hDC, shadow.GetSafeHandle());
        pictureDC.BitBlt(0, 0, width, height, &maskDC, 0, 0, kRopBrushWhereMaskIsZero);
        ::SelectObject(pictureDC.m_hDC, oldBrush);
    }
    if (pOldPicture != nullptr)
        pictureDC.SelectObject(pOldPicture);
    if (pOldMask != nullptr)
        maskDC.SelectObject(pOldMask);
}

void CIXButtonEx::DrawTransparentBitmap(CDC* pDC, CBitmap& bitmap, int x, int y, int width, int height,
                                        COLORREF transparentColor)
{
    const COLORREF oldBk = pDC->SetBkColor(RGB(255, 255, 255));
    const COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
    CDC pictureDC;
    CDC maskDC;
    CBitmap mask;
    if (pictureDC.CreateCompatibleDC(pDC) && maskDC.CreateCompatibleDC(pDC) &&
        mask.CreateBitmap(width, height, 1, 1, nullptr)) {
        CBitmap* pOldPicture = pictureDC.SelectObject(&bitmap);
        CBitmap* pOldMask = maskDC.SelectObject(&mask);
        if (pOldPicture != nullptr && pOldMask != nullptr) {
            // The mask is 1 where the picture has the transparent colour.
            pictureDC.SetBkColor(transparentColor);
            maskDC.BitBlt(0, 0, width, height, &pictureDC, 0, 0, SRCCOPY);
            pDC->BitBlt(x, y, width, height, &pictureDC, 0, 0, SRCINVERT);
            pDC->BitBlt(x, y, width, height, &maskDC, 0, 0, SRCAND);
            pDC->BitBlt(x, y, width, height, &pictureDC, 0, 0, SRCINVERT);
        }
        if (pOldPicture != nullptr)
            pictureDC.SelectObject(pOldPicture);
        if (pOldMask != nullptr)
            maskDC.SelectObject(pOldMask);
    }
    pDC->SetBkColor(oldBk);
    pDC->SetTextColor(oldText);
}
