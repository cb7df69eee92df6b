// CCmdTarget and CWnd: an object that owns a message map, and one that wraps an HWND.
//
// A CWnd is attached to at most one window and a window to at most one permanent CWnd, through
// the handle map (framework/handlemap.cpp). Subclassing puts the library's window procedure in
// front of the window's own; every message then goes through WindowProc -> OnWndMsg (the message
// map, framework/dispatch.cpp) -> DefWindowProc (the window's original procedure). The object
// lets go of its window on WM_NCDESTROY and then gets PostNcDestroy.
#pragma once

#include "framework/msgmap.h"

#include <windows.h>

#include <commctrl.h>

class CString;
class CPoint;
class CFont;
class CMenu;
class CDataExchange;
class CScrollBar;

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Runs the first entry of the map chain that matches (message, code, id); FALSE when none
    // took it. pResult receives the handler's result.
    BOOL DispatchToMap(UINT nMessage, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Routes a command (nMessage WM_COMMAND) or a notification (WM_NOTIFY) with code nCode from
    // control or command id nID through the map; TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nMessage, UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// State bits of a CWnd (m_nFlags).
enum : UINT {
    WF_TEMPORARY = 0x0001,      // a temporary wrapper made by FromHandle for an unwrapped window
    WF_CONTINUEMODAL = 0x0002,  // the modal loop keeps running while set
    WF_MODALLOOP = 0x0004,      // the window runs a modal loop now
    WF_ISDIALOG = 0x0008,       // the window is a dialog (results also go to DWLP_MSGRESULT)
    WF_TOOLTIPS = 0x0010,       // the window shows the library's tooltips (EnableToolTips)
};

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    ~CWnd() override;

    operator HWND() const noexcept { return m_hWnd; }
    HWND GetSafeHwnd() const noexcept { return m_hWnd; }

    // ---- the handle map ----
    // The permanent object of hWnd, else a temporary wrapper (kept while the window lives);
    // null for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    // The permanent object of hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // ---- creation and destruction ----
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                          int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // ---- message handling ----
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Sends the message being handled, unchanged, to the window's original procedure.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification of this control that its parent offers it first; TRUE keeps it from the parent.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers the message being handled to the object of hWndChild; TRUE when it took it.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers pMsg to PreTranslateMessage of the target's object and of each parent's up to the
    // top-level window (or hWndStop); TRUE as soon as one of them takes it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    // The tool under point (client coordinates): fills pTI (hwnd, uId, rect, lpszText) and
    // returns the tool's id, or -1 for none. Used once EnableToolTips was called.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* pTI) const;
    // Shows the library's tooltips for this window (the thread's tooltip control); FALSE when the
    // tooltip control could not be created.
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    // Keeps the thread's tooltip control up to date with a mouse message; the base
    // PreTranslateMessage calls it.
    void FilterToolTipMessage(MSG* pMsg);

    // ---- modal loop ----
    int RunModalLoop();
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // ---- data exchange ----
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // ---- window state ----
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }

    void SetWindowText(LPCWSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    void GetWindowText(CString& rString) const;

    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    // The owner window; a child window, which has none, answers its parent.
    CWnd* GetOwner() const
    {
        HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
        return FromHandle(hWndOwner != nullptr ? hWndOwner : ::GetParent(m_hWnd));
    }

    BOOL MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    BOOL MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                            lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const
    {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const
    {
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
    }

    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
    }
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETREDRAW, bRedraw, 0); }

    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_SETICON, bBigIcon, reinterpret_cast<LPARAM>(hIcon)));
    }
    BOOL SetMenu(CMenu* pMenu);
    CMenu* GetSystemMenu(BOOL bRevert) const;

    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
    {
        ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
    }
    BOOL OpenClipboard() { return ::OpenClipboard(m_hWnd); }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // ---- the conventional handlers; each base version does the window's default processing ----
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnTimer(UINT_PTR nIDEvent);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);
    void OnKillFocus(CWnd* pNewWnd);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    UINT OnGetDlgCode();
    void OnSysColorChange();
    void OnCaptureChanged(CWnd* pWnd);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    // These four offer the message to the child that sent it first (reflection), then default.
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // WM_COMPAREITEM, WM_DELETEITEM, WM_CHARTOITEM, WM_VKEYTOITEM: reflected, then default.
    LRESULT OnReflectableMessage(WPARAM wParam, LPARAM lParam);

    UINT m_nFlags = 0;
    int m_nModalResult = 0;
    // The window's own procedure, called for what the map leaves (null: ::DefWindowProcW).
    WNDPROC m_pfnSuper = nullptr;

protected:
    // Handles window creation through this object (CreateEx, dialogs): the library's CBT hook
    // subclasses the first window created on this thread while it is armed.
    static BOOL HookWindowCreate(CWnd* pWnd);
    static BOOL UnhookWindowCreate();

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// The message the calling thread's innermost window procedure is handling.
const MSG* AfxGetCurrentMessage();

// Runs the pre-translate walk for one message taken from the queue; TRUE when it was consumed.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// Takes one message from the queue and handles it (walk, translate, dispatch); FALSE on WM_QUIT,
// whose exit code AfxGetQuitCode() then gives.
BOOL AfxPumpMessage();
int AfxGetQuitCode();
class CToolTipCtrl;
// The thread's tooltip control that EnableToolTips uses (created when first asked for); null when
// it could not be created.
CToolTipCtrl* AfxGetThreadToolTip();
// Forgets the tool of a window that goes away (the window procedure calls it on WM_NCDESTROY).
void AfxToolTipWindowGone(HWND hWnd);

// While UpdateData runs on a window, control notifications sent to it are ignored; returns the
// window that was locked out before.
HWND AfxSetLockoutNotifyWindow(HWND hWnd);
// Drops the temporary wrappers of windows that no longer exist (the loops call it when idle).
void AfxCleanupTempMap();
