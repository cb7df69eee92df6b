// CToolTipCtrl: a tooltip control with tools added for windows or their rectangles.
#pragma once

#include "framework/cstring.h"
#include "framework/wnd.h"

#include <windows.h>

#include <commctrl.h>

class CToolTipCtrl : public CWnd {
public:
    using CWnd::Create;
    // A tooltip window owned by pParentWnd with the TTS_* styles dwStyle. Without TTS_ALWAYSTIP
    // it shows tips only while its owner is the active window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // A tool for the window pWnd itself when nIDTool is 0 and lpRectTool null, else the rectangle
    // lpRectTool of pWnd with id nIDTool. Either way the tooltip learns of the mouse only through
    // RelayEvent. LPSTR_TEXTCALLBACKW asks the tool's window for the text.
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
    int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
    int GetMaxTipWidth() const { return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH)); }
    void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
    COLORREF GetTipBkColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPBKCOLOR)); }
    void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
    COLORREF GetTipTextColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPTEXTCOLOR)); }

private:
    // The tool description the TTM_ messages take, sized for every common-controls version.
    static void FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool);
};
