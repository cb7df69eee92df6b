// Helpers of the button tests: a parent window that records its buttons' notifications, pictures
// of what a button paints, and waiting while the message loop runs.
#pragma once

#include "framework/framework.h"
#include "tests/support/UiHarness.h"
#include "tests/support/WaitFor.h"

#include <functional>
#include <memory>
#include <vector>

namespace buttontest {

// A 32-bit top-down DIB selected into a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_hDC; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF Pixel(int x, int y) const;
    // The smallest rectangle holding every pixel of the colour; empty when there is none.
    CRect BoundsOf(COLORREF color) const;
    // The smallest rectangle holding every pixel that is none of the given colours.
    CRect BoundsOfOthers(std::vector<COLORREF> colors) const;
    int Count(COLORREF color) const;

private:
    int m_width;
    int m_height;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    const DWORD* m_bits = nullptr;
};

// What the window paints into its client area, asked with WM_PRINTCLIENT; an owner-drawn button
// answers through its parent's WM_DRAWITEM, so reflection is part of every picture.
std::unique_ptr<Canvas> Render(HWND hWnd, COLORREF fill);

// A visible top-level window of the library that records the command notifications of its
// children (control id and notification code), after the children's own reflected handlers.
class TestParent : public CWnd {
public:
    struct Notification {
        UINT id;
        UINT code;
    };

    // The window at (x, y) of the screen, its client area cx by cy.
    BOOL Create(int x, int y, int cx, int cy);
    // A push-button window (class "Button") with the style, WS_CHILD and WS_VISIBLE added.
    HWND AddButton(const wchar_t* text, DWORD style, UINT id, int x, int y, int cx, int cy);
    int Count(UINT code) const;

    std::vector<Notification> notifications;

protected:
    void OnClicked(UINT nID);
    void OnDoubleClicked(UINT nID);

    DECLARE_MESSAGE_MAP()
};

// An icon of the test resources, loaded unshared at its own size (the button destroys it).
HICON LoadTestIcon(UINT id);
using uitest::PumpUntil;
// The real mouse, away from every test window (uitest::PutCursorAt puts it anywhere else).
void ParkCursor();

}  // namespace buttontest
