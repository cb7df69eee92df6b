// CButtonST: drawing, hover tracking, tooltip, check state and the owner-draw style it keeps.
#include "controls/ButtonST.h"

#include <algorithm>

namespace {

// Button types in the low bits of a button's style.
const UINT kButtonTypeMask = 0x1F;

// A colour with each channel moved by shift, the shift limited so that no channel leaves 0..255.
COLORREF ShiftColor(COLORREF color, int shift)
{
    const int r = GetRValue(color);
    const int g = GetGValue(color);
    const int b = GetBValue(color);
    shift = std::min(shift, 255 - std::max({r, g, b}));
    shift = std::max(shift, -std::min({r, g, b}));
    return RGB(r + shift, g + shift, b + shift);
}

}  // namespace

BEGIN_MESSAGE_MAP(CButtonST, CButton)
ON_WM_SETCURSOR()
ON_WM_KILLFOCUS()
ON_WM_CANCELMODE()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_ACTIVATE()
ON_WM_ENABLE()
ON_WM_SYSCOLORCHANGE()
ON_WM_GETDLGCODE()
ON_WM_CTLCOLOR_REFLECT()
ON_CONTROL_REFLECT_EX(BN_CLICKED, &CButtonST::OnClicked)
ON_MESSAGE(BM_SETSTYLE, &CButtonST::OnSetStyle)
ON_MESSAGE(BM_SETCHECK, &CButtonST::OnSetCheck)
ON_MESSAGE(BM_GETCHECK, &CButtonST::OnGetCheck)
END_MESSAGE_MAP()

CButtonST::CButtonST()
{
    ResetColors();
}

CButtonST::~CButtonST()
{
    FreeIcons();
    if (HoverCursor != nullptr)
        ::DestroyCursor(HoverCursor);
    // The tooltip member and the base class take their windows with them.
}

DWORD CButtonST::ResetColors()
{
    Color(ButtonColor::BackIn) = ::GetSysColor(COLOR_BTNFACE);
    Color(ButtonColor::TextIn) = ::GetSysColor(COLOR_BTNTEXT);
    Color(ButtonColor::BackOut) = ::GetSysColor(COLOR_BTNFACE);
    Color(ButtonColor::TextOut) = ::GetSysColor(COLOR_BTNTEXT);
    Color(ButtonColor::BackFocus) = ::GetSysColor(COLOR_BTNFACE);
    Color(ButtonColor::TextFocus) = ::GetSysColor(COLOR_BTNTEXT);
    return 0;
}

DWORD CButtonST::ShiftBackColor()
{
    Color(ButtonColor::BackIn) = ShiftColor(Color(ButtonColor::BackIn), 0);
    Repaint();
    return 0;
}

// ---- icons and cursor -------------------------------------------------------------------------

void CButtonST::FreeIcons()
{
    if (Icons[0].hIcon != nullptr)
        ::DestroyIcon(Icons[0].hIcon);
    // The same handle given for both states is destroyed once.
    if (Icons[1].hIcon != nullptr && Icons[1].hIcon != Icons[0].hIcon)
        ::DestroyIcon(Icons[1].hIcon);
    Icons[0] = {};
    Icons[1] = {};
}

namespace {

// An icon's size is twice its hot spot, which is the centre of an icon.
BOOL MeasureIcon(HICON hIcon, DWORD& width, DWORD& height)
{
    ICONINFO info = {};
    if (!::GetIconInfo(hIcon, &info))
        return FALSE;
    width = info.xHotspot * 2;
    height = info.yHotspot * 2;
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    return TRUE;
}

}  // namespace

DWORD CButtonST::SetIcons(HICON hIconIn, HICON hIconOut)
{
    FreeIcons();
    if (hIconIn == nullptr) {
        Repaint();
        return 0;
    }
    Icons[0].hIcon = hIconIn;
    if (!MeasureIcon(hIconIn, Icons[0].width, Icons[0].height)) {
        FreeIcons();
        return 1;
    }
    if (hIconOut == nullptr) {
        Repaint();
        return 0;
    }
    Icons[1].hIcon = hIconOut;
    if (!MeasureIcon(hIconOut, Icons[1].width, Icons[1].height)) {
        FreeIcons();
        return 1;
    }
    Repaint();
    return 0;
}

DWORD CButtonST::SetHoverCursor()
{
    if (HoverCursor != nullptr) {
        ::DestroyCursor(HoverCursor);
        HoverCursor = nullptr;
    }
    HoverCursor = static_cast<HCURSOR>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_BUTTONST_HOVER), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    Repaint();
    return HoverCursor != nullptr ? 0 : 1;
}

void CButtonST::Repaint()
{
    // An object not attached to a window has nothing to repaint (and a null window would mean
    // the whole screen).
    if (m_hWnd != nullptr)
        Invalidate();
}

// ---- tooltip ----------------------------------------------------------------------------------

BOOL CButtonST::EnsureToolTip()
{
    if (ToolTip.GetSafeHwnd() != nullptr)
        return TRUE;
    if (m_hWnd == nullptr || !ToolTip.Create(this, 0))
        return FALSE;
    ToolTip.Activate(FALSE);
    ToolTip.SetMaxTipWidth(400);
    return TRUE;
}

void CButtonST::SetTooltipText(const wchar_t* text)
{
    if (text == nullptr || !EnsureToolTip())
        return;
    if (ToolTip.GetToolCount() == 0) {
        CRect rect;
        GetClientRect(&rect);
        ToolTip.AddTool(this, text, &rect, 1);
    }
    ToolTip.UpdateTipText(text, this, 1);
    ToolTip.Activate(TRUE);
}

BOOL CButtonST::PreTranslateMessage(MSG* pMsg)
{
    // The tool is a rectangle of the button, so the tooltip sees the mouse only through this relay.
    if (EnsureToolTip())
        ToolTip.RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

// ---- style ------------------------------------------------------------------------------------

void CButtonST::PreSubclassWindow()
{
    const UINT style = GetButtonStyle();
    if ((style & kButtonTypeMask) == BS_DEFPUSHBUTTON)
        IsDefault = TRUE;
    // A bit test: any type with this bit (check boxes, and also group boxes) counts.
    if (style & BS_CHECKBOX)
        IsCheckBox = TRUE;
    ModifyStyle(kButtonTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

LRESULT CButtonST::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    const UINT type = static_cast<UINT>(wParam) & kButtonTypeMask;
    if (type == BS_DEFPUSHBUTTON)
        IsDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        IsDefault = FALSE;
    // The dialog manager moves the default-button look with this message; the button stays
    // owner-drawn whatever type it asks for.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(0x14)) | BS_OWNERDRAW, lParam);
}

UINT CButtonST::OnGetDlgCode()
{
    UINT code = CButton::OnGetDlgCode();
    code |= IsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return code;
}

LRESULT CButtonST::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // An owner-drawn button reports a second quick click as a double click and does not press;
    // here it is a second click.
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

// ---- check state and clicks -------------------------------------------------------------------

LRESULT CButtonST::OnSetCheck(WPARAM wParam, LPARAM /*lParam*/)
{
    if (IsCheckBox) {
        IsChecked = wParam == BST_CHECKED || wParam == BST_INDETERMINATE;
        Invalidate();
    }
    return 0;
}

LRESULT CButtonST::OnGetCheck(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return IsChecked;
}

BOOL CButtonST::OnClicked()
{
    SetFocus();
    if (IsCheckBox) {
        IsChecked = !IsChecked;
        Invalidate();
    }
    return FALSE;  // the parent handles the click as well
}

HBRUSH CButtonST::CtlColor(CDC* /*pDC*/, UINT /*nCtlColor*/)
{
    // The button paints all of itself; the system erases nothing.
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

// ---- hover --------------------------------------------------------------------------------------

void CButtonST::LeaveHover()
{
    if (IsHovered) {
        IsHovered = FALSE;
        Invalidate();
    }
}

void CButtonST::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    // A drag that started elsewhere does not light the button up.
    if ((nFlags & MK_LBUTTON) && !IsHovered)
        return;
    CPoint screen = point;
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) == m_hWnd) {
        if (!IsHovered) {
            // Hover starts only when its end will be reported.
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            if (::TrackMouseEvent(&tme)) {
                IsHovered = TRUE;
                Invalidate();
            }
        }
    } else {
        LeaveHover();
    }
}

void CButtonST::OnMouseLeave()
{
    LeaveHover();
}

BOOL CButtonST::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (HoverCursor != nullptr) {
        ::SetCursor(HoverCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CButtonST::OnKillFocus(CWnd* pNewWnd)
{
    // Also the body of WM_CANCELMODE: Default() passes on whichever of the two is being handled.
    CButton::OnKillFocus(pNewWnd);
    LeaveHover();
}

void CButtonST::OnCancelMode()
{
    OnKillFocus(nullptr);
}

void CButtonST::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        LeaveHover();
}

void CButtonST::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (!bEnable) {
        // A disabled button cannot keep the keyboard: it goes on to the next tab stop, or to the
        // parent when there is none.
        if (CWnd* pParent = GetParent(); pParent != nullptr) {
            HWND hWndNext = ::GetNextDlgTabItem(pParent->m_hWnd, m_hWnd, FALSE);
            if (hWndNext != nullptr && hWndNext != m_hWnd)
                ::SetFocus(hWndNext);
            else
                pParent->SetFocus();
        }
    }
    LeaveHover();
}

void CButtonST::OnSysColorChange()
{
    CButton::OnSysColorChange();
}

// ---- drawing ----------------------------------------------------------------------------------

void CButtonST::DrawBackground(CDC* pDC, CRect* pRect)
{
    COLORREF color = Color(ButtonColor::BackOut);
    if (IsHovered || IsPressed)
        color = Color(ButtonColor::BackIn);
    else if (IsFocused)
        color = Color(ButtonColor::BackFocus);
    pDC->FillSolidRect(pRect, color);
}

void CButtonST::DrawIconImage(CDC* pDC, BOOL hasCaption, const RECT* pItemRect, CRect* pCaptionRect)
{
    int index = 0;
    if (!(IsPressed || (IsHovered && !IsCheckBox)) && Icons[1].hIcon != nullptr)
        index = 1;
    const IconRecord& icon = Icons[index];
    const int width = static_cast<int>(icon.width);
    const int height = static_cast<int>(icon.height);

    CRect image(pItemRect);
    if (hasCaption) {
        image.left += 3;
        pCaptionRect->left += width + 3;
    } else {
        image.left += (image.Width() - width) / 2;
    }
    image.top += (image.Height() - height) / 2;
    if (IsPressed && !IsCheckBox)
        image.OffsetRect(1, 1);
    pDC->DrawState(image.TopLeft(), CSize(width, height), icon.hIcon, IsDisabled ? DSS_DISABLED : DSS_NORMAL);
}

void CButtonST::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const UINT state = lpDrawItemStruct->itemState;
    IsPressed = (state & ODS_SELECTED) != 0;
    if (IsCheckBox)
        IsPressed = IsPressed || IsChecked;
    IsFocused = (state & ODS_FOCUS) != 0;
    IsDisabled = (state & ODS_DISABLED) != 0;

    CRect itemRect(&lpDrawItemStruct->rcItem);
    pDC->SetBkMode(TRANSPARENT);
    // Flat: no border and no focus rectangle, only the background and the icon show the state.
    DrawBackground(pDC, &itemRect);

    CString caption;
    GetWindowText(caption);
    CRect captionRect(&lpDrawItemStruct->rcItem);
    if (Icons[0].hIcon != nullptr)
        DrawIconImage(pDC, !caption.IsEmpty(), &lpDrawItemStruct->rcItem, &captionRect);
    if (caption.IsEmpty())
        return;

    if (IsPressed && !IsCheckBox)
        captionRect.OffsetRect(1, 1);
    CRect centered = captionRect;
    pDC->DrawText(caption, &centered, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    centered.OffsetRect((captionRect.Width() - centered.Width()) / 2, (captionRect.Height() - centered.Height()) / 2);

    if (IsDisabled) {
        centered.OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
        pDC->DrawText(caption, &centered, DT_WORDBREAK | DT_CENTER);
        centered.OffsetRect(-1, -1);
        pDC->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
        pDC->DrawText(caption, &centered, DT_WORDBREAK | DT_CENTER);
        return;
    }
    if (IsHovered || IsPressed) {
        pDC->SetTextColor(Color(ButtonColor::TextIn));
        pDC->SetBkColor(Color(ButtonColor::BackIn));
    } else {
        pDC->SetTextColor(Color(ButtonColor::TextOut));
        pDC->SetBkColor(Color(ButtonColor::BackOut));
    }
    pDC->DrawText(caption, &centered, DT_WORDBREAK | DT_CENTER);
}
