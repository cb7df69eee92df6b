#include "controls/grid/GridPlatform.h"

#include "framework/platform.h"

#include <shlwapi.h>

namespace {

// The running Windows version as (major << 8) | minor.
WORD SystemGridOsVersion()
{
    const SystemVersion version = ReadSystemVersion();
    return static_cast<WORD>(((version.major & 0xFF) << 8) | (version.minor & 0xFF));
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

const GridPlatform kSystemPlatform = {&SystemGridOsVersion,    &ReadSystemCommonControls6,
                                      &LoadSystemThemeLibrary, &GetSystemThemeProc,
                                      &FreeSystemThemeLibrary, &SystemListViewDrawsFocusAlways};

GridPlatform g_platform = kSystemPlatform;
bool g_gridOsVersionKnown = false;
WORD g_gridOsVersion = 0;

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
    g_gridOsVersionKnown = false;
    return old;
}

WORD GridOsVersion()
{
    if (!g_gridOsVersionKnown) {
        g_gridOsVersion = g_platform.ReadOsVersion();
        g_gridOsVersionKnown = true;
    }
    return g_gridOsVersion;
}

bool IsCommonControls6()
{
    return g_platform.IsCommonControls6();
}

bool ListViewDrawsFocusAlways()
{
    return g_platform.ListViewDrawsFocusAlways();
}
