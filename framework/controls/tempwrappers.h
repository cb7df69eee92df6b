// The temporary wrappers of the control classes and CMenu (FromHandle, GetHeaderCtrl, ...).
//
// A control or menu handle that no object owns gets a wrapper of the asked class, kept per
// handle and class in maps of the calling thread; a wrapper never destroys its handle. A window
// that has a permanent object of the asked class is answered with that object.
#pragma once

#include "framework/controls/menu.h"
#include "framework/wnd.h"

#include <map>
#include <memory>
#include <typeindex>
#include <utility>

namespace tempwrappers {

struct TempControls {
    std::map<std::pair<HWND, std::type_index>, std::unique_ptr<CWnd>> windows;
    std::map<HMENU, std::unique_ptr<CMenu>> menus;

    TempControls() = default;
    TempControls(const TempControls&) = delete;
    TempControls& operator=(const TempControls&) = delete;
    ~TempControls()
    {
        for (auto& entry : windows)
            entry.second->m_hWnd = nullptr;
        for (auto& entry : menus)
            entry.second->Detach();
    }
};

// The calling thread's maps.
TempControls& ThreadTempControls();

template <class T>
T* TempControl(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (T* pPermanent = dynamic_cast<T*>(CWnd::FromHandlePermanent(hWnd)))
        return pPermanent;
    auto& map = ThreadTempControls().windows;
    auto key = std::make_pair(hWnd, std::type_index(typeid(T)));
    auto it = map.find(key);
    if (it != map.end())
        return static_cast<T*>(it->second.get());
    auto wrapper = std::make_unique<T>();
    wrapper->m_hWnd = hWnd;
    wrapper->m_nFlags |= WF_TEMPORARY;
    T* result = wrapper.get();
    map.emplace(key, std::move(wrapper));
    return result;
}

}  // namespace tempwrappers
