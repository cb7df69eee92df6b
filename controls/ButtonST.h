// CButtonST: an owner-drawn push button that shows an icon (another one while the mouse is over it
// or it is pressed), an optional caption, a tooltip and a hover cursor, and that can act as a
// check box.
//
// Attach it to a dialog push button (DDX_Control or SubclassDlgItem); it turns the button
// owner-drawn and keeps it so when the dialog manager moves the default-button look around. The
// button owns the icons and the cursor it is given: load icons unshared (LoadImage without
// LR_SHARED), never with LoadIcon.
#pragma once

#include "controls/ButtonSTResource.h"
#include "framework/framework.h"

// The button's colours, indexes of CButtonST's colour table.
enum class ButtonColor : int {
    BackIn = 0,     // background while hovered or pressed
    TextIn = 1,     // caption while hovered or pressed
    BackOut = 2,    // background otherwise
    TextOut = 3,    // caption otherwise
    BackFocus = 4,  // background when focused, neither hovered nor pressed
    TextFocus = 5,  // kept for completeness; the drawing does not read it
    Count = 6
};

class CButtonST : public CButton {
public:
    CButtonST();
    ~CButtonST() override;

    // Replaces both icons (in: hovered or pressed, out: otherwise) and repaints. A null in icon
    // leaves the button without icons (the out icon is then neither kept nor destroyed); a null
    // out icon makes the in icon serve both states. 0 on success, 1 when an icon cannot be read
    // (both are then released).
    DWORD SetIcons(HICON hIconIn, HICON hIconOut);
    // Rebuilds the hover background from its own channels (shift 0) and repaints; 0.
    DWORD ShiftBackColor();
    // Sets the tooltip's text; the first text adds the tool over the client area as it is now.
    void SetTooltipText(const wchar_t* text);
    // Loads cursor resource IDC_BUTTONST_HOVER as the hover cursor; 0, or 1 when it cannot be loaded.
    DWORD SetHoverCursor();
    // The system's button colours; 0.
    DWORD ResetColors();

protected:
    struct IconRecord {
        HICON hIcon;
        DWORD width;
        DWORD height;
    };

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual void DrawBackground(CDC* pDC, CRect* pRect);

    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKillFocus(CWnd* pNewWnd);
    void OnCancelMode();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);
    void OnSysColorChange();
    UINT OnGetDlgCode();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    BOOL OnClicked();
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);

    COLORREF& Color(ButtonColor index) { return Colors[static_cast<int>(index)]; }

    BOOL IsHovered = FALSE;
    BOOL IsPressed = FALSE;  // IsPressed, IsFocused, IsDisabled: the state of the last drawing
    BOOL IsFocused = FALSE;
    BOOL IsDisabled = FALSE;
    BOOL IsDefault = FALSE;
    BOOL IsCheckBox = FALSE;
    COLORREF Colors[static_cast<int>(ButtonColor::Count)] = {};
    HCURSOR HoverCursor = nullptr;
    CToolTipCtrl ToolTip;
    BOOL IsChecked = FALSE;
    IconRecord Icons[2] = {};  // [0] the in icon, [1] the out icon

private:
    void LeaveHover();
    BOOL EnsureToolTip();
    void DrawIconImage(CDC* pDC, BOOL hasCaption, const RECT* pItemRect, CRect* pCaptionRect);
    void FreeIcons();
    void Repaint();

    DECLARE_MESSAGE_MAP()
};
