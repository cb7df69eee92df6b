// Helpers of the button tests.
#include "ButtonTestSupport.h"

#include "tests/support/Cursor.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace buttontest {

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_hDC = ::CreateCompatibleDC(nullptr);
    m_hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (m_hDC == nullptr || m_hBitmap == nullptr)
        return;
    m_bits = static_cast<const DWORD*>(bits);
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    CDC::FromHandle(m_hDC)->FillSolidRect(0, 0, width, height, fill);
}

Canvas::~Canvas()
{
    if (m_hOldBitmap != nullptr)
        ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    if (m_hDC != nullptr)
        ::DeleteDC(m_hDC);
}

COLORREF Canvas::Pixel(int x, int y) const
{
    if (m_bits == nullptr || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    ::GdiFlush();
    const DWORD bgra = m_bits[y * m_width + x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

namespace {

template <typename Match>
CRect Bounds(const Canvas& canvas, Match match)
{
    CRect bounds(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (match(canvas.Pixel(x, y))) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    return bounds.left == INT_MAX ? CRect() : bounds;
}

}  // namespace

CRect Canvas::BoundsOf(COLORREF color) const
{
    return Bounds(*this, [color](COLORREF pixel) { return pixel == color; });
}

CRect Canvas::BoundsOfOthers(std::vector<COLORREF> colors) const
{
    return Bounds(*this,
                  [&colors](COLORREF pixel) { return std::find(colors.begin(), colors.end(), pixel) == colors.end(); });
}

int Canvas::Count(COLORREF color) const
{
    int count = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            count += Pixel(x, y) == color ? 1 : 0;
    return count;
}

std::unique_ptr<Canvas> Render(HWND hWnd, COLORREF fill)
{
    RECT client = {};
    ::GetClientRect(hWnd, &client);
    auto canvas = std::make_unique<Canvas>(client.right, client.bottom, fill);
    ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->Dc()), PRF_CLIENT);
    return canvas;
}

BEGIN_MESSAGE_MAP(TestParent, CWnd)
ON_CONTROL_RANGE(BN_CLICKED, 1, 0xFFFF, &TestParent::OnClicked)
ON_CONTROL_RANGE(BN_DOUBLECLICKED, 1, 0xFFFF, &TestParent::OnDoubleClicked)
END_MESSAGE_MAP()

BOOL TestParent::Create(int x, int y, int cx, int cy)
{
    RECT rect = {0, 0, cx, cy};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_CLIPCHILDREN;
    ::AdjustWindowRect(&rect, style, FALSE);
    if (!CreateEx(0, nullptr, L"Button test", style, x, y, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                  nullptr))
        return FALSE;
    ::SetForegroundWindow(m_hWnd);
    ::UpdateWindow(m_hWnd);
    return TRUE;
}

HWND TestParent::AddButton(const wchar_t* text, DWORD style, UINT id, int x, int y, int cx, int cy)
{
    HWND hWnd =
        ::CreateWindowExW(0, WC_BUTTONW, text, style | WS_CHILD | WS_VISIBLE, x, y, cx, cy, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (hWnd != nullptr)
        ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return hWnd;
}

int TestParent::Count(UINT code) const
{
    return static_cast<int>(std::count_if(notifications.begin(), notifications.end(),
                                          [code](const Notification& n) { return n.code == code; }));
}

void TestParent::OnClicked(UINT nID)
{
    notifications.push_back({nID, BN_CLICKED});
}

void TestParent::OnDoubleClicked(UINT nID)
{
    notifications.push_back({nID, BN_DOUBLECLICKED});
}

HICON LoadTestIcon(UINT id)
{
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, 0));
}

void ParkCursor()
{
    const POINT corner = {::GetSystemMetrics(SM_CXSCREEN) - 10, ::GetSystemMetrics(SM_CYSCREEN) - 10};
    EXPECT_TRUE(uitest::PutCursorAt(nullptr, corner)) << "the cursor did not get away from the test windows";
}

}  // namespace buttontest
