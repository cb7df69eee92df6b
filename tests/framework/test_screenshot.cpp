// Screenshots of windows as PNG files.
#include "framework/framework.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<BYTE> ReadFile(const std::wstring& path)
{
    std::vector<BYTE> data;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr)
        return data;
    BYTE buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    fclose(file);
    return data;
}

uint32_t BigEndian(const BYTE* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

TEST(Screenshot, AWindowIsSavedAsAPngOfItsSizeWithWhatItShows)
{
    CBrush red;
    ASSERT_TRUE(red.CreateSolidBrush(RGB(255, 0, 0)));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = red;
    wc.lpszClassName = L"TestRedWindow";
    ::RegisterClassW(&wc);
    CWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(WS_EX_TOPMOST, L"TestRedWindow", L"", WS_POPUP | WS_VISIBLE, 40, 40, 64, 48, nullptr, nullptr));
    uitest::PumpMessages();

    wchar_t dir[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, dir), 0u);
    const std::wstring path = std::wstring(dir) + L"framework_screenshot_test.png";
    ASSERT_TRUE(uitest::SaveScreenshot(wnd.m_hWnd, path));
    wnd.DestroyWindow();

    const std::vector<BYTE> png = ReadFile(path);
    ::DeleteFileW(path.c_str());
    ASSERT_GT(png.size(), 8u + 25u + 12u + 7u + 1u + 3u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(memcmp(&png[12], "IHDR", 4), 0);
    EXPECT_EQ(BigEndian(&png[16]), 64u);
    EXPECT_EQ(BigEndian(&png[20]), 48u);
    // IDAT data: zlib header (2), stored block header (5), filter byte, then the first pixel.
    const size_t idat = 8 + 25;
    ASSERT_EQ(memcmp(&png[idat + 4], "IDAT", 4), 0);
    const BYTE* pixel = &png[idat + 8 + 2 + 5 + 1];
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 0);
}

}  // namespace
