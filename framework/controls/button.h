// CButton: a push button, check box or radio button; an owner-drawn one draws in DrawItem.
#pragma once

#include "framework/wnd.h"

#include <windows.h>

class CButton : public CWnd {
public:
    // The button type and its BS_ flags in the low 16 bits of the style.
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }

    // Called for WM_DRAWITEM of an owner-drawn button; a class that makes buttons owner-drawn
    // overrides it.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
