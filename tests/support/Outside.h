// Another process's windows as a user meets them: real input through SendInput, and what its
// controls show, read across the process boundary (the common controls' messages carry pointers,
// so their records are placed in the program's own memory).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace outside {

// ---- input: the system's queue, to the window under the cursor or with the keyboard focus ----
void SendMouse(POINT screen, DWORD flags);      // one event at a screen point, given with it
void SendKey(WORD vk, WORD scan, DWORD flags);  // one key event
void ClickClient(HWND hWnd, const RECT& rect);  // the centre of a client rectangle of the window
void Click(HWND hWnd);                          // the centre of the window
void Key(WORD vk);                              // pressed and released
void Type(const std::wstring& text);            // one character after another

// ---- reading back ----
std::wstring Text(HWND hWnd);  // WM_GETTEXT, answered by the window itself
int ListRowCount(HWND hList);  // -1 when the list does not answer
std::wstring ListCell(HWND hList, int row, int column);
std::vector<std::wstring> ListRow(HWND hList, int row);  // every column's text
int ListImage(HWND hList, int row, int column);
RECT ListCellRect(HWND hList, int row, int column);
std::vector<std::wstring> TabItems(HWND hTab);
RECT TabItemRect(HWND hTab, int index);
std::wstring StatusText(HWND hStatus, int pane);
// The window of another thread that holds the keyboard focus.
HWND FocusOf(DWORD threadId);

}  // namespace outside
