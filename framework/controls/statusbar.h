// CStatusBar: a status bar made from control-bar styles, with panes laid out from their widths.
#pragma once

#include "framework/cstring.h"
#include "framework/wnd.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

// Control-bar style bits a status bar is created with (they are not window styles).
#ifndef CBRS_ALL
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_ALL 0x0040FFFFL  // every control-bar bit
#endif

// Pane styles (SetPaneInfo): the SBT_ drawing bits, and SBPS_STRETCH of the bar's own.
#ifndef SBPS_NORMAL
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_STRETCH 0x08000000
#endif

#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif
#ifndef AFX_IDW_STATUS_BAR
#define AFX_IDW_STATUS_BAR 0xE801
#endif

class CStatusBar : public CWnd {
public:
    using CWnd::Create;
    // dwStyle mixes window styles with CBRS_* bits: the CBRS_* bits are left out, the window
    // gets CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE (the owner places the
    // bar), and SBARS_SIZEGRIP when the parent is sizable.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; an id's pane starts with string id of the string table as its text and the
    // text's width. ID_SEPARATOR gives an empty pane (the first such one stretches). FALSE when a
    // string is missing or the bar refuses the panes.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    // Sets a pane's id, style (SBPS_*) and width in pixels, and lays the panes out again.
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    CString GetPaneText(int nIndex) const;
    // bUpdate FALSE leaves the repaint to the next one that happens anyway.
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Pane {
        UINT nID;
        UINT nStyle;
        int cxWidth;
    };
    // Sends the panes' right edges (and the text drawing bits of their styles) to the control.
    BOOL UpdateAllPanes();
    BOOL IsValidPane(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }

    std::vector<Pane> m_panes;
};
