// What the program asks of the Windows it runs on, in one place: the system's version, read with
// one call, and whether the system's list view draws its focus rectangle on its own.
#pragma once

#include <windows.h>

// The running system's version as GetVersionExW reports it (an OSVERSIONINFOW of 276 bytes).
struct SystemVersion {
    // False, and every number 0, when the version could not be read.
    bool known = false;
    DWORD major = 0;
    DWORD minor = 0;
    // VER_PLATFORM_WIN32_NT (2) for the NT family.
    DWORD platformId = 0;
};

// Reads the version anew at each call.
SystemVersion ReadSystemVersion();

// True when the list view, while it has the keyboard focus, draws its focus rectangle round the
// whole focused row even when custom draw took CDIS_FOCUS from the row's record (Wine's list view
// does; the Windows list view draws none then).
bool SystemListViewDrawsFocusAlways();
