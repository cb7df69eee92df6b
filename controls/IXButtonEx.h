// CIXButtonEx: an owner-drawn push button painted as a coloured, rounded tile: one background
// colour normally and another while the mouse is over it, a thin rounded border, a centred
// caption, an optional bitmap beside the caption, and a tooltip. Every left press flips
// ToggleState and can exchange the two background colours, so a grid of these works as a set of
// coloured on/off switches.
//
// Owners configure a button by writing its members after attaching it, and call SetTooltipText;
// a button without a tooltip text never hovers.
#pragma once

#include "framework/framework.h"

class CIXButtonEx : public CButton {
public:
    CIXButtonEx();
    ~CIXButtonEx() override;

    // Sets the tip text (at most 1024 characters; a longer text throws CInvalidArgException) and
    // enables hover tracking, also for an empty text, which shows no tip. The tooltip window is
    // made when the mouse first comes to the button; until then the text waits for it.
    void SetTooltipText(const wchar_t* text);

    // The frame DrawFrameControl draws (DFCS_* state), 0 for none; differsFromParent: the fill
    // would differ from the parent's colour (BackColor is not ParentBackColor, or a patterned or
    // hatched brush).
    static UINT FrameState(BOOL transparent, BOOL flat, BOOL rounded, BOOL enabled, BOOL differsFromParent);

    UINT HoverTimerId = 1;                   // the timer that ends hovering
    BOOL MouseDown = FALSE;                  // the left button went down here and is not released
    CPoint CornerSize{13, 13};               // the ellipse of the rounded border's corners
    UINT BackgroundBitmapId = 0;             // bitmap showing the parent's background
    UINT HoverImageId = 0;                   // image while hovering, ImageMode 1
    COLORREF MapToColor = 0xC0C0C0;          // ImageMode 2: MapFromColor becomes this, not hovering
    COLORREF MapFromColor = 0xC0C0C0;        // ImageMode 2: the image colour replaced
    COLORREF MapToHoverColor = 0xC0C0C0;     // ImageMode 2: MapFromColor becomes this, hovering
    int ImageMode = 0;                       // 0 plain image, 1 hover image, 2 colour map
    COLORREF ParentBackColor;                // the parent's colour, sampled at the first erase
    int ImageOffset = 0;                     // how far the caption moves right for the image
    CFont* WindowFont = nullptr;             // the window's font (borrowed), read at each draw
    CFont TextFont;                          // the caption font of one draw
    LOGFONTW TextLogFont = {};               // the caption font's description
    COLORREF TextColor = 0xFFFFFF;           // caption, not hovering
    COLORREF HoverTextColor = 0x8C0000;      // caption, hovering
    COLORREF BackColor = 0xFFFFFF;           // fill, not hovering
    COLORREF HoverBackColor = 0xFFFFFF;      // fill, hovering
    COLORREF BorderColor;                    // the 1-pixel rounded border
    CBitmap BackgroundBitmap;                // BackgroundBitmapId, loaded at its first use
    BOOL UseBackgroundBitmap = FALSE;        // erase by copying BackgroundBitmap
    BOOL BoldText = FALSE;                   // caption weight 700
    BOOL KeepLogFont = FALSE;                // keep TextLogFont instead of reading the window's font
    BOOL Hover = FALSE;                      // the mouse is over the button
    BOOL Transparent = FALSE;                // the parent's colour instead of the own fill
    BOOL Flat = TRUE;                        // no 3-D push frame
    BOOL Rounded = TRUE;                     // with Flat: no frame at all, a rounded border
    BOOL Enabled = TRUE;                     // the last draw was of an enabled button
    BOOL ParentBackColorSampled = FALSE;     // ParentBackColor holds a sample
    BOOL TransparentImage = FALSE;           // draw the image without its background colour
    int Underline = 0;                       // 0 never, 1 while hovering, 2 always
    int BrushKind = 0;                       // 0 solid, 1 pattern (bitmap BrushParam), 2 hatch
    int BrushParam = 0;                      // pattern bitmap id or hatch style
    UINT ImageId = 0;                        // image beside the caption; 0 none
    UINT DisabledImageId = 0;                // image while disabled; 0 embosses ImageId
    CString Caption;                         // when not empty, shown instead of the window text
    CToolTipCtrl ToolTip;                    // the button's tooltip (from the first mouse message)
    COLORMAP ImageColorMap = {0xC0C0C0, 0};  // applied when an image is loaded
    HCURSOR HoverCursor;                     // the shared hand cursor; never destroyed
    int ImageAlign = 0;                      // 0 centred with the caption, 1 left, 2 top, else top-left
    BOOL Interactive = TRUE;                 // 0: never hovers, ignores the left button
    BOOL SwapColorsOnClick = FALSE;          // a press exchanges BackColor and HoverBackColor
    BOOL ToggleState = TRUE;                 // flipped by every left press
    BOOL HasTooltip = FALSE;                 // SetTooltipText was called

protected:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnCaptureChanged(CWnd* pWnd);

    void FillBackground(CDC* pDC, const CRect& rect, COLORREF color, BOOL useBrushKind);
    void DrawImage(CDC* pDC, const CRect& itemRect, int textWidth);
    static void EmbossBitmap(CBitmap& bitmap);
    static void DrawTransparentBitmap(CDC* pDC, CBitmap& bitmap, int x, int y, int width, int height,
                                      COLORREF transparentColor);

private:
    BOOL EnsureToolTip();
    void ApplyTipText();  // m_tipText to the existing tooltip
    void ReadWindowFont();
    BOOL CreateBrush(CBrush& brush, COLORREF color, BOOL useBrushKind) const;

    BOOL m_logFontRead = FALSE;  // TextLogFont has been filled from a font once
    CString m_tipText;           // the text SetTooltipText was last given

    DECLARE_MESSAGE_MAP()
};
