// holddesktop: keeps the Wine desktop up while the test programs run one after another.
//
// Wine closes its desktop a second after the last program with a thread on it has ended. A
// program that starts at that moment can be attached to the closing desktop, and then every
// window it creates fails ("no driver could be loaded"): a whole test program fails at once. This
// program stays on the desktop until the wineserver ends, as a logged-on user's desktop stays.
//
// It prints "held" once a window of its own could be created on the desktop (or another copy
// holds it already), and ends with status 1 when the desktop does not work, for the caller to try
// again once the closing desktop has gone.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int)
{
    HANDLE hOnce = ::CreateMutexW(nullptr, FALSE, L"Local\\TestDesktopHold");
    if (hOnce == nullptr)
        return 1;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        std::puts("held");
        return 0;
    }
    // A hidden top-level window needs the desktop's display driver, as the tests' windows do.
    HWND hProbe = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, hInstance, nullptr);
    if (hProbe == nullptr)
        return 1;
    ::DestroyWindow(hProbe);
    std::puts("held");
    std::fflush(stdout);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    return 0;
}
