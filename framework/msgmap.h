// Message maps: static tables of entries, each table chained to its base class's table.
//
// A class that handles messages says DECLARE_MESSAGE_MAP() in its declaration and lists its
// entries between BEGIN_MESSAGE_MAP(Class, Base) and END_MESSAGE_MAP() in its source file. Every
// entry names what it matches (message, notification code, control id range) and a small
// function (a captureless lambda written by the macro) that unpacks the message and calls the
// handler on the object, so that a debugger steps straight from the dispatcher into the handler.
// The dispatcher that walks these tables is in framework/dispatch.cpp.
//
// Handlers given to ON_COMMAND, ON_NOTIFY and friends are written as pointers to members:
// ON_BN_CLICKED(IDC_ADD, &CMyDlg::OnBnClickedAdd). ON_WM_xxx entries call the conventionally named
// member (OnSize, OnPaint, ...) of the class whose map holds them; virtual ones dispatch as usual.
#pragma once

#include <windows.h>

class CCmdTarget;
class CWnd;
class CDC;
class CScrollBar;

// Reflected messages travel to the control's own map as WM_REFLECT_BASE + the parent's message.
#define WM_REFLECT_BASE 0xBC00

// WM_CTLCOLOR (the single 16-bit message) stands for all WM_CTLCOLOR* messages in a map.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// Command code of a plain command (menu item, accelerator, WM_COMMAND with lParam 0).
#define CN_COMMAND 0

// What one handler call receives and where its result goes.
struct AFX_MSGCALL {
    UINT message;  // the message as the map sees it (WM_REFLECT_BASE + ... when reflected)
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;        // control or command id (WM_COMMAND, WM_NOTIFY)
    UINT nCode;      // notification code (WM_COMMAND, WM_NOTIFY)
    LRESULT result;  // what the window procedure returns for the message
};

struct AFX_MSGMAP_ENTRY;

// Calls the handler of one entry; returns FALSE when the handler declined the message (the _EX
// forms, a reflected WM_CTLCOLOR whose brush is null), so the search goes on.
typedef BOOL (*AFX_PTHUNK)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;        // window message, WM_COMMAND, WM_NOTIFY, or WM_REFLECT_BASE + one
    UINT nCode;           // notification code for commands and notifications
    UINT nID;             // first control id
    UINT nLastID;         // last control id (same as nID for a single id)
    AFX_PTHUNK pfnThunk;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)        \
    const AFX_MSGMAP* theClass::GetMessageMap() const \
    {                                                 \
        return GetThisMessageMap();                   \
    }                                                 \
    const AFX_MSGMAP* theClass::GetThisMessageMap()   \
    {                                                 \
        using ThisClass [[maybe_unused]] = theClass;  \
        using TheBaseClass = baseClass;               \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    {                                                                                             \
        0, 0, 0, 0, nullptr                                                                       \
    }                                                                                             \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// The body of an entry's call: `self` is the object, `call` the message.
#define AFX_THUNK(...)                                       \
    [](CCmdTarget* pTarget_, AFX_MSGCALL& call) -> BOOL {    \
        ThisClass* self = static_cast<ThisClass*>(pTarget_); \
        (void)self;                                          \
        (void)call;                                          \
        __VA_ARGS__                                          \
    }

#define AFX_WINDOW_ENTRY(msg, ...) {msg, 0, 0, 0, AFX_THUNK(__VA_ARGS__)},

// Helpers the thunks use to turn message parameters into objects.
CWnd* AfxWndFromHandle(HWND hWnd);
CDC* AfxDCFromHandle(HDC hDC);

#define AFX_POINT_FROM(lp) CPoint(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)))

// ---- window messages ----------------------------------------------------------------------

#define ON_MESSAGE(message, memberFxn) \
    AFX_WINDOW_ENTRY(message, call.result = (self->*(memberFxn))(call.wParam, call.lParam); return TRUE;)

#define ON_WM_CREATE()                                                                                       \
    AFX_WINDOW_ENTRY(WM_CREATE, call.result = self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)); \
                     return TRUE;)
#define ON_WM_DESTROY() AFX_WINDOW_ENTRY(WM_DESTROY, self->OnDestroy(); return TRUE;)
#define ON_WM_SIZE()                                                                                                \
    AFX_WINDOW_ENTRY(WM_SIZE, self->OnSize(static_cast<UINT>(call.wParam), static_cast<short>(LOWORD(call.lParam)), \
                                           static_cast<short>(HIWORD(call.lParam)));                                \
                     return TRUE;)
#define ON_WM_MOVE()                                                                                                 \
    AFX_WINDOW_ENTRY(WM_MOVE,                                                                                        \
                     self->OnMove(static_cast<short>(LOWORD(call.lParam)), static_cast<short>(HIWORD(call.lParam))); \
                     return TRUE;)
#define ON_WM_PAINT() AFX_WINDOW_ENTRY(WM_PAINT, self->OnPaint(); return TRUE;)
#define ON_WM_ERASEBKGND()                                                                                  \
    AFX_WINDOW_ENTRY(WM_ERASEBKGND,                                                                         \
                     call.result = self->OnEraseBkgnd(AfxDCFromHandle(reinterpret_cast<HDC>(call.wParam))); \
                     return TRUE;)
#define ON_WM_TIMER() AFX_WINDOW_ENTRY(WM_TIMER, self->OnTimer(static_cast<UINT_PTR>(call.wParam)); return TRUE;)
#define ON_WM_SYSCOMMAND() \
    AFX_WINDOW_ENTRY(WM_SYSCOMMAND, self->OnSysCommand(static_cast<UINT>(call.wParam), call.lParam); return TRUE;)
#define ON_WM_QUERYDRAGICON() \
    AFX_WINDOW_ENTRY(WM_QUERYDRAGICON, call.result = reinterpret_cast<LRESULT>(self->OnQueryDragIcon()); return TRUE;)
#define ON_WM_SHOWWINDOW()                                                                               \
    AFX_WINDOW_ENTRY(WM_SHOWWINDOW,                                                                      \
                     self->OnShowWindow(static_cast<BOOL>(call.wParam), static_cast<UINT>(call.lParam)); \
                     return TRUE;)
#define ON_WM_ACTIVATE()                                                                                          \
    AFX_WINDOW_ENTRY(WM_ACTIVATE,                                                                                 \
                     self->OnActivate(LOWORD(call.wParam), AfxWndFromHandle(reinterpret_cast<HWND>(call.lParam)), \
                                      static_cast<BOOL>(HIWORD(call.wParam)));                                    \
                     return TRUE;)
#define ON_WM_ENABLE() AFX_WINDOW_ENTRY(WM_ENABLE, self->OnEnable(static_cast<BOOL>(call.wParam)); return TRUE;)
#define ON_WM_SETFOCUS() \
    AFX_WINDOW_ENTRY(WM_SETFOCUS, self->OnSetFocus(AfxWndFromHandle(reinterpret_cast<HWND>(call.wParam))); return TRUE;)
#define ON_WM_KILLFOCUS()                                                                                    \
    AFX_WINDOW_ENTRY(WM_KILLFOCUS, self->OnKillFocus(AfxWndFromHandle(reinterpret_cast<HWND>(call.wParam))); \
                     return TRUE;)
#define ON_WM_SETCURSOR()                                                                                   \
    AFX_WINDOW_ENTRY(WM_SETCURSOR,                                                                          \
                     call.result = self->OnSetCursor(AfxWndFromHandle(reinterpret_cast<HWND>(call.wParam)), \
                                                     LOWORD(call.lParam), HIWORD(call.lParam));             \
                     return TRUE;)
#define ON_WM_GETDLGCODE() AFX_WINDOW_ENTRY(WM_GETDLGCODE, call.result = self->OnGetDlgCode(); return TRUE;)
#define ON_WM_CONTEXTMENU()                                                                                     \
    AFX_WINDOW_ENTRY(WM_CONTEXTMENU, self->OnContextMenu(AfxWndFromHandle(reinterpret_cast<HWND>(call.wParam)), \
                                                         AFX_POINT_FROM(call.lParam));                          \
                     return TRUE;)
#define ON_WM_SYSCOLORCHANGE() AFX_WINDOW_ENTRY(WM_SYSCOLORCHANGE, self->OnSysColorChange(); return TRUE;)
#define ON_WM_CANCELMODE() AFX_WINDOW_ENTRY(WM_CANCELMODE, self->OnCancelMode(); return TRUE;)
#define ON_WM_CAPTURECHANGED()                                                                                         \
    AFX_WINDOW_ENTRY(WM_CAPTURECHANGED, self->OnCaptureChanged(AfxWndFromHandle(reinterpret_cast<HWND>(call.lParam))); \
                     return TRUE;)

// Mouse messages: handler(UINT nFlags, CPoint point), the point in client coordinates.
#define AFX_MOUSE_ENTRY(msg, fn) \
    AFX_WINDOW_ENTRY(msg, self->fn(static_cast<UINT>(call.wParam), AFX_POINT_FROM(call.lParam)); return TRUE;)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSELEAVE() AFX_WINDOW_ENTRY(WM_MOUSELEAVE, self->OnMouseLeave(); return TRUE;)

// Keyboard messages: handler(UINT nChar, UINT nRepCnt, UINT nFlags).
#define AFX_KEY_ENTRY(msg, fn)                                                                                \
    AFX_WINDOW_ENTRY(msg, self->fn(static_cast<UINT>(call.wParam), LOWORD(call.lParam), HIWORD(call.lParam)); \
                     return TRUE;)
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)

// Scrolling: handler(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar); the bar is null for the
// window's own scroll bars.
#define AFX_SCROLL_ENTRY(msg, fn)                                                                                  \
    AFX_WINDOW_ENTRY(msg,                                                                                          \
                     self->fn(LOWORD(call.wParam), static_cast<short>(HIWORD(call.wParam)),                        \
                              reinterpret_cast<CScrollBar*>(                                                       \
                                  call.lParam ? AfxWndFromHandle(reinterpret_cast<HWND>(call.lParam)) : nullptr)); \
                     return TRUE;)
#define ON_WM_HSCROLL() AFX_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() AFX_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)

// Owner-drawn and coloured children. The base handlers reflect these to the child first.
#define ON_WM_CTLCOLOR()                                                                                   \
    AFX_WINDOW_ENTRY(WM_CTLCOLOR, call.result = reinterpret_cast<LRESULT>(self->OnCtlColor(                \
                                      AfxDCFromHandle(reinterpret_cast<HDC>(call.wParam)),                 \
                                      AfxWndFromHandle(reinterpret_cast<HWND>(call.lParam)), call.nCode)); \
                     return TRUE;)
#define ON_WM_DRAWITEM()                                                                                               \
    AFX_WINDOW_ENTRY(WM_DRAWITEM,                                                                                      \
                     self->OnDrawItem(static_cast<int>(call.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam)); \
                     call.result = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM()                                                                                   \
    AFX_WINDOW_ENTRY(WM_MEASUREITEM, self->OnMeasureItem(static_cast<int>(call.wParam),                       \
                                                         reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam)); \
                     call.result = TRUE; return TRUE;)

// ---- commands -----------------------------------------------------------------------------

#define ON_COMMAND(id, memberFxn)                                             \
    {                                                                         \
        WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), \
            AFX_THUNK((self->*(memberFxn))(); return TRUE;)                   \
    }                                                                         \
    ,
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                    \
    {                                                                                             \
        WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), \
            AFX_THUNK((self->*(memberFxn))(); return TRUE;)                                       \
    }                                                                                             \
    ,
// handler(UINT nID)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                          \
    {                                                                                                 \
        WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(idLast), \
            AFX_THUNK((self->*(memberFxn))(call.nID); return TRUE;)                                   \
    }                                                                                                 \
    ,

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// ---- notifications (WM_NOTIFY) ------------------------------------------------------------

// handler(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                  \
    {                                                                                                          \
        WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id),               \
            AFX_THUNK((self->*(memberFxn))(reinterpret_cast<NMHDR*>(call.lParam), &call.result); return TRUE;) \
    }                                                                                                          \
    ,
// handler(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                \
    {                                                                                                      \
        WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(idLast),       \
            AFX_THUNK((self->*(memberFxn))(call.nID, reinterpret_cast<NMHDR*>(call.lParam), &call.result); \
                      return TRUE;)                                                                        \
    }                                                                                                      \
    ,
// BOOL handler(UINT nID, NMHDR* pNMHDR, LRESULT* pResult): FALSE lets the search go on (to later
// entries, the base classes' maps and finally the window's default processing).
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                                   \
    {                                                                                                              \
        WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id),                   \
            AFX_THUNK(return (self->*(memberFxn))(call.nID, reinterpret_cast<NMHDR*>(call.lParam), &call.result);) \
    }                                                                                                              \
    ,

// ---- reflected to the control that sent them ----------------------------------------------

// handler(NMHDR* pNMHDR, LRESULT* pResult); the parent never sees the notification.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                              \
    {                                                                                                          \
        WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(wNotifyCode), 0, 0,                                     \
            AFX_THUNK((self->*(memberFxn))(reinterpret_cast<NMHDR*>(call.lParam), &call.result); return TRUE;) \
    }                                                                                                          \
    ,
// BOOL handler(NMHDR* pNMHDR, LRESULT* pResult): FALSE lets the parent handle it as well.
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                     \
    {                                                                                                    \
        WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(wNotifyCode), 0, 0,                               \
            AFX_THUNK(return (self->*(memberFxn))(reinterpret_cast<NMHDR*>(call.lParam), &call.result);) \
    }                                                                                                    \
    ,
// handler(); the parent never sees the notification.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                          \
    {                                                                       \
        WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(wNotifyCode), 0, 0, \
            AFX_THUNK((self->*(memberFxn))(); return TRUE;)                 \
    }                                                                       \
    ,
// BOOL handler(): FALSE lets the parent handle it as well.
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                                 \
    {                                                                                                                 \
        WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(wNotifyCode), 0, 0, AFX_THUNK(return (self->*(memberFxn))();) \
    }                                                                                                                 \
    ,
// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor): a null brush lets the parent colour the control.
#define ON_WM_CTLCOLOR_REFLECT()                                                                                    \
    {                                                                                                               \
        WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                                                     \
            AFX_THUNK(HBRUSH hbr = self->CtlColor(AfxDCFromHandle(reinterpret_cast<HDC>(call.wParam)), call.nCode); \
                      call.result = reinterpret_cast<LRESULT>(hbr); return hbr != nullptr;)                         \
    }                                                                                                               \
    ,
