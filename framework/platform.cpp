#include "framework/platform.h"

SystemVersion ReadSystemVersion()
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;  // 276
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    SystemVersion version;
    if (!ok)
        return version;
    version.known = true;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.platformId = info.dwPlatformId;
    return version;
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
