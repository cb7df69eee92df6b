// CWaitCursor: the hourglass for as long as the object lives, also when an exception unwinds.
#pragma once

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() noexcept : m_hPrevious(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};
