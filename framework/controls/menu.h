// CMenu: a menu handle owned by the object, and temporary wrappers of menus no object owns.
#pragma once

#include "framework/popupmenu.h"
#include "framework/wnd.h"

#include <windows.h>

class CMenu {
public:
    CMenu() noexcept = default;
    // Destroys the menu it holds; Detach() one that a window keeps (SetMenu).
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const noexcept { return m_hMenu; }
    BOOL Attach(HMENU hMenu) noexcept;
    HMENU Detach() noexcept;
    // Destroys the held menu; safe to call again (then FALSE).
    BOOL DestroyMenu() noexcept;
    static CMenu* FromHandle(HMENU hMenu);

    BOOL CreatePopupMenu() noexcept { return Attach(::CreatePopupMenu()); }
    // Menus are loaded from the application's resources (AfxGetResourceHandle).
    BOOL LoadMenu(UINT nIDResource) noexcept;

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr) noexcept
    {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    UINT GetMenuItemCount() const noexcept { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
    // Shows the menu at (x, y) in screen coordinates; with TPM_RETURNCMD the result is the chosen
    // command (0 for none), else whether the menu was shown. Goes through AfxTrackPopupMenu.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr)
    {
        return AfxTrackPopupMenu(m_hMenu, nFlags, x, y, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
    }
};
