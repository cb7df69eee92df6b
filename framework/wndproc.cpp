// The library's window procedure, subclassing and window creation through an object.
//
// Guarantees:
// - Every message of a window that has a permanent object goes to that object's WindowProc;
//   while it runs, AfxGetCurrentMessage() and Default() refer to exactly that message (nested
//   sends save and restore it).
// - What the object leaves unhandled goes to the procedure the window had before it was
//   subclassed (m_pfnSuper), so controls keep all their own behaviour.
// - A window created through an object (CreateEx, dialogs) belongs to the object from its very
//   first message on: a CBT hook attaches and subclasses it before WM_NCCREATE.
// - On WM_NCDESTROY, after the object has seen the message, the original procedure is put back,
//   the object is detached and gets PostNcDestroy (which may delete it); a modal loop that the
//   window runs ends with IDABORT.
#include "framework/wnd.h"

#include "framework/app.h"

namespace {

// The original procedure is also kept with the window, so that a window whose object let go of it
// without restoring the procedure still behaves as before.
const wchar_t kOriginalProcProp[] = L"FwOriginalWndProc";

thread_local MSG t_currentMessage = {};
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hCbtHook = nullptr;

bool IsImeWindowClass(const CBT_CREATEWNDW* pCbt)
{
    LPCWSTR cls = pCbt->lpcs->lpszClass;
    if (IS_INTRESOURCE(cls))
        return false;
    return lstrcmpiW(cls, L"IME") == 0 || lstrcmpiW(cls, L"MSCTFIME UI") == 0;
}

void InstallWndProc(CWnd* pWnd, HWND hWnd)
{
    WNDPROC oldProc =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (oldProc != &AfxWndProc) {
        pWnd->m_pfnSuper = oldProc;
        ::SetPropW(hWnd, kOriginalProcProp, reinterpret_cast<HANDLE>(oldProc));
    }
}

// Puts the original procedure back when the library's is still the window's procedure.
void RestoreWndProc(CWnd* pWnd, HWND hWnd)
{
    if (pWnd->m_pfnSuper != nullptr &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &AfxWndProc)
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
    ::RemovePropW(hWnd, kOriginalProcProp);
    pWnd->m_pfnSuper = nullptr;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pWndInit != nullptr) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (!IsImeWindowClass(reinterpret_cast<CBT_CREATEWNDW*>(lParam))) {
            CWnd* pWnd = t_pWndInit;
            t_pWndInit = nullptr;
            if (pWnd->Attach(hWnd)) {
                pWnd->PreSubclassWindow();
                InstallWndProc(pWnd, hWnd);
            }
        }
    }
    return ::CallNextHookEx(t_hCbtHook, code, wParam, lParam);
}

}  // namespace

const MSG* AfxGetCurrentMessage()
{
    return &t_currentMessage;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr) {
        WNDPROC oldProc = reinterpret_cast<WNDPROC>(::GetPropW(hWnd, kOriginalProcProp));
        return oldProc ? ::CallWindowProcW(oldProc, hWnd, nMsg, wParam, lParam)
                       : ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const MSG saved = t_currentMessage;
    t_currentMessage.hwnd = hWnd;
    t_currentMessage.message = nMsg;
    t_currentMessage.wParam = wParam;
    t_currentMessage.lParam = lParam;

    LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);

    // The handler may have destroyed the object; only an object still mapped to hWnd is touched.
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        if (pWnd->m_nFlags & WF_MODALLOOP)
            pWnd->EndModalLoop(IDABORT);
        if (pWnd->m_nFlags & WF_TOOLTIPS)
            AfxToolTipWindowGone(hWnd);
        RestoreWndProc(pWnd, hWnd);
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    t_currentMessage = saved;
    return lResult;
}

CWnd::~CWnd()
{
    if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    if (m_hWnd == nullptr || (m_nFlags & WF_TEMPORARY))
        return;
    if (FromHandlePermanent(m_hWnd) != this) {
        m_hWnd = nullptr;
        return;
    }
    // An object going away takes its window with it (only the owning thread can destroy it; a
    // window being destroyed right now is only let go).
    HWND hWnd = m_hWnd;
    const bool inNcDestroy = t_currentMessage.hwnd == hWnd && t_currentMessage.message == WM_NCDESTROY;
    if (!inNcDestroy && ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId())
        ::DestroyWindow(hWnd);
    if (m_hWnd != nullptr) {
        RestoreWndProc(this, hWnd);
        Detach();
    }
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    InstallWndProc(this, hWnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr || pParent->m_hWnd == nullptr)
        return FALSE;
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd == nullptr)
        return nullptr;
    RestoreWndProc(this, m_hWnd);
    return Detach();
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::HookWindowCreate(CWnd* pWnd)
{
    // The hook stays installed for the thread's life; it does nothing unless armed.
    if (t_hCbtHook == nullptr) {
        t_hCbtHook = ::SetWindowsHookExW(WH_CBT, &CbtFilterHook, nullptr, ::GetCurrentThreadId());
        if (t_hCbtHook == nullptr)
            return FALSE;
    }
    t_pWndInit = pWnd;
    return TRUE;
}

BOOL CWnd::UnhookWindowCreate()
{
    const bool used = t_pWndInit == nullptr;
    t_pWndInit = nullptr;
    return used;
}

namespace {

const wchar_t kDefaultWndClass[] = L"FwWnd";

BOOL RegisterDefaultWndClass()
{
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASSEXW wc = {};
    if (::GetClassInfoExW(hInstance, kDefaultWndClass, &wc))
        return TRUE;
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kDefaultWndClass;
    return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (cs.lpszClass == nullptr) {
        if (!RegisterDefaultWndClass())
            return FALSE;
        cs.lpszClass = kDefaultWndClass;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != nullptr)
        return FALSE;  // one window per object
    CREATESTRUCTW cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    if (!HookWindowCreate(this))
        return FALSE;
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    const BOOL hooked = UnhookWindowCreate();
    if (hWnd == nullptr)
        return FALSE;  // a window refused in WM_NCCREATE/WM_CREATE has already been detached
    if (!hooked && !SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return m_hWnd == hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, LPVOID lpParam)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, lpParam);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG msg = t_currentMessage;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}
