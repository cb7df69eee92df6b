#include "controls/grid/GridPlatform.h"

#include <shlwapi.h>

namespace {

WORD ReadSystemOsVersion()
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;  // 276
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    if (!ok)
        return 0;
    return static_cast<WORD>(((info.dwMajorVersion & 0xFF) << 8) | (info.dwMinorVersion & 0xFF));
}

bool ReadSystemCommonControls6()
{
    HMODULE hComCtl = ::LoadLibraryW(L"comctl32.dll");
    if (hComCtl == nullptr)
        return false;
    bool version6 = false;
    if (FARPROC proc = ::GetProcAddress(hComCtl, "DllGetVersion")) {
        auto dllGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(proc));
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof info;  // 20
        version6 = SUCCEEDED(dllGetVersion(&info)) && info.dwMajorVersion >= 6;
    }
    ::FreeLibrary(hComCtl);
    return version6;
}

HMODULE LoadSystemThemeLibrary()
{
    return ::LoadLibraryW(L"UxTheme.dll");
}

FARPROC GetSystemThemeProc(HMODULE hModule, LPCSTR lpProcName)
{
    return ::GetProcAddress(hModule, lpProcName);
}

void FreeSystemThemeLibrary(HMODULE hModule)
{
    ::FreeLibrary(hModule);
}

// Wine's list view draws its focus rectangle after the rows whenever it has the focus; Wine is
// known by the function its ntdll exports for its version.
bool SystemListViewDrawsFocusAlways()
{
    static const bool wine = [] {
        HMODULE hNtDll = ::GetModuleHandleW(L"ntdll.dll");
        return hNtDll != nullptr && ::GetProcAddress(hNtDll, "wine_get_version") != nullptr;
    }();
    return wine;
}

const GridPlatform kSystemPlatform = {&ReadSystemOsVersion,    &ReadSystemCommonControls6,
                                      &LoadSystemThemeLibrary, &GetSystemThemeProc,
                                      &FreeSystemThemeLibrary, &SystemListViewDrawsFocusAlways};

GridPlatform g_platform = kSystemPlatform;
bool g_osVersionKnown = false;
WORD g_osVersion = 0;

}  // namespace

const GridPlatform& SystemGridPlatform()
{
    return kSystemPlatform;
}

const GridPlatform& GetGridPlatform()
{
    return g_platform;
}

GridPlatform SetGridPlatform(const GridPlatform& platform)
{
    const GridPlatform old = g_platform;
    g_platform = platform;
    g_osVersionKnown = false;
    return old;
}

WORD GridOsVersion()
{
    if (!g_osVersionKnown) {
        g_osVersion = g_platform.ReadOsVersion();
        g_osVersionKnown = true;
    }
    return g_osVersion;
}

bool IsCommonControls6()
{
    return g_platform.IsCommonControls6();
}

bool ListViewDrawsFocusAlways()
{
    return g_platform.ListViewDrawsFocusAlways();
}
