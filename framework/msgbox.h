// Message boxes: every one the program shows goes through AfxShowMessageBox.
//
// The caption is the application's title unless the caller gives one. A test replaces the real
// box with a handler (AfxSetMessageBoxHandler) that sees the owner, text, caption and flags and
// answers as the user would have.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct AfxMessageBoxCall {
    HWND hWndOwner;
    std::wstring text;
    std::wstring caption;
    UINT nType;  // MB_* flags as the box would get them
};

using AfxMessageBoxHandler = std::function<int(const AfxMessageBoxCall& call)>;

// Installs the handler for the whole process (an empty one brings back the real boxes); returns
// the previous handler.
AfxMessageBoxHandler AfxSetMessageBoxHandler(AfxMessageBoxHandler handler);

// Shows the box (or asks the handler); the answer is the button's id (IDOK, IDCANCEL, ...).
// A null caption means the application's title. While a modal dialog runs or is being created, a
// box asked for a window it disabled is owned by the dialog, so that window stays disabled.
int AfxShowMessageBox(HWND hWndOwner, LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType);

// The application's message box: owned by the window the user is working in, captioned with
// the application's title. With no icon flag, OK and OK/Cancel boxes get the exclamation mark and
// Yes/No boxes the question mark, as the conventional library does.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
