// Modifier keys held down for the length of a scope, as GetKeyState sees them.
//
// The thread's keyboard state is changed with SetKeyboardState, so code that asks GetKeyState
// (Ctrl-click, Shift-click, Ctrl+A) sees the keys held while messages are sent or pumped inside
// the scope; the state before is put back at its end. Only the calling thread sees it.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace uitest {

class HeldKeys {
public:
    // Virtual-key codes such as VK_CONTROL, VK_SHIFT, VK_LBUTTON.
    HeldKeys(std::initializer_list<int> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

    // False when the keyboard state could not be read or written.
    bool ok() const { return m_ok; }

private:
    BYTE m_saved[256] = {};
    bool m_ok = false;
};

}  // namespace uitest
