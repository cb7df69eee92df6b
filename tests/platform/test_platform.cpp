// What the program takes for granted about its toolchain and the Windows it runs on.
#include <windows.h>
#include <setupapi.h>
#include <cwchar>

#include <gtest/gtest.h>

TEST(Toolchain, RuntimeWidePrintfTakesWideStringsForPercentS)
{
    // Every formatted text of the program passes wide strings to %s, as on Windows. In C++ the
    // MinGW headers turn swprintf into the C99 one, where %s means a narrow string; the runtime's
    // own _snwprintf keeps the Windows meaning, so the program formats through it.
    wchar_t buf[64];
    ASSERT_GT(_snwprintf(buf, 64, L"%s\\%08x", L"SVTMF3", 0x1Au), 0);
    EXPECT_STREQ(L"SVTMF3\\0000001a", buf);
}

TEST(Toolchain, SetupApiRecordsHaveTheirSixtyFourBitSizes)
{
    // The device walks fill cbSize from these sizes; a 32-bit build would give other values.
    EXPECT_EQ(32u, sizeof(SP_DEVICE_INTERFACE_DATA));
    EXPECT_EQ(8u, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W));
    EXPECT_EQ(32u, sizeof(SP_DEVINFO_DATA));
}

TEST(Platform, ReportsAWindowsVersionOfTheNtFamily)
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(GetVersionExW(&info));
#pragma GCC diagnostic pop
    EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), info.dwPlatformId);
    EXPECT_GE(info.dwMajorVersion * 10 + info.dwMinorVersion, 50u);
}

TEST(Platform, HasTheSymbolFontWindowsDrawsCaptionButtonsWith)
{
    // Without it the caption buttons and menu check marks show letters instead of symbols.
    HDC hDC = ::GetDC(nullptr);
    ASSERT_NE(nullptr, hDC);
    HFONT hFont = ::CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"Marlett");
    HGDIOBJ old = ::SelectObject(hDC, hFont);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(hDC, LF_FACESIZE, face);
    ::SelectObject(hDC, old);
    ::DeleteObject(hFont);
    ::ReleaseDC(nullptr, hDC);
    EXPECT_STREQ(L"Marlett", face);
}
