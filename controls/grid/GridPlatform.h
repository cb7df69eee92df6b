// What the grid family asks of the running system, in one place: the Windows version, whether the
// common controls are version 6, the functions of the visual-style library "UxTheme.dll", and
// whether the list view draws its focus rectangle whatever custom draw says.
//
// The grid behaves differently by these answers (the "Explorer" style on Vista and later, no grid
// lines on Windows 8 and later, the themed sort arrow with common controls 6). The answers come
// from the system (SystemGridPlatform); a test installs others with SetGridPlatform to reach the
// branches of systems other than the one it runs on.
#pragma once

#include <windows.h>

struct GridPlatform {
    // The running Windows version as (major << 8) | minor; 0 when it cannot be read.
    WORD (*ReadOsVersion)();
    // True when the loaded common controls are version 6 or later.
    bool (*IsCommonControls6)();
    // Loads "UxTheme.dll" (null when it cannot be loaded), looks up one of its functions by
    // name (null when it has none of that name), frees it again.
    HMODULE (*LoadThemeLibrary)();
    FARPROC (*GetThemeProc)(HMODULE hModule, LPCSTR lpProcName);
    void (*FreeThemeLibrary)(HMODULE hModule);
    // True when the list view, while it has the keyboard focus, draws its focus rectangle round
    // the whole focused row even when custom draw took CDIS_FOCUS from the row's record (Wine's
    // list view does; the Windows list view draws none then).
    bool (*ListViewDrawsFocusAlways)();
};

// The answers of the system this program runs on.
const GridPlatform& SystemGridPlatform();

// The answers in force.
const GridPlatform& GetGridPlatform();

// Puts other answers in force and returns the previous ones; the cached Windows version is read
// again from the new answers on its next use.
GridPlatform SetGridPlatform(const GridPlatform& platform);

// The running Windows version, read once (per SetGridPlatform) and kept for the process.
WORD GridOsVersion();

// True when the common controls are version 6 or later: comctl32's DllGetVersion reports a major
// version of at least 6. Asked anew at each call.
bool IsCommonControls6();

// The answer of the platform in force to ListViewDrawsFocusAlways.
bool ListViewDrawsFocusAlways();
