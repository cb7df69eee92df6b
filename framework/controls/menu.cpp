#include "framework/controls/menu.h"

#include "framework/app.h"
#include "framework/controls/tempwrappers.h"

BOOL CMenu::Attach(HMENU hMenu) noexcept
{
    if (!hMenu || m_hMenu)
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() noexcept
{
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::DestroyMenu() noexcept
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    auto& map = tempwrappers::ThreadTempControls().menus;
    auto it = map.find(hMenu);
    if (it != map.end())
        return it->second.get();
    auto wrapper = std::make_unique<CMenu>();
    wrapper->m_hMenu = hMenu;
    CMenu* result = wrapper.get();
    map.emplace(hMenu, std::move(wrapper));
    return result;
}

BOOL CMenu::LoadMenu(UINT nIDResource) noexcept
{
    return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource)));
}
