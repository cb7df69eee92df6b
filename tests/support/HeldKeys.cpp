#include "tests/support/HeldKeys.h"

namespace uitest {

namespace {

// The generic modifier keys come with their left-hand key, as a real keyboard reports them.
int LeftHandKey(int vk)
{
    switch (vk) {
        case VK_CONTROL:
            return VK_LCONTROL;
        case VK_SHIFT:
            return VK_LSHIFT;
        case VK_MENU:
            return VK_LMENU;
        default:
            return 0;
    }
}

}  // namespace

HeldKeys::HeldKeys(std::initializer_list<int> keys)
{
    if (!::GetKeyboardState(m_saved))
        return;
    BYTE state[256];
    ::CopyMemory(state, m_saved, sizeof state);
    for (int vk : keys) {
        state[vk & 0xFF] |= 0x80;
        if (const int side = LeftHandKey(vk))
            state[side] |= 0x80;
    }
    m_ok = ::SetKeyboardState(state) != FALSE;
}

HeldKeys::~HeldKeys()
{
    if (m_ok)
        ::SetKeyboardState(m_saved);
}

}  // namespace uitest
