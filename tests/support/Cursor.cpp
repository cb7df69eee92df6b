#include "tests/support/Cursor.h"

#include "tests/support/UiHarness.h"

namespace uitest {

namespace {

bool CursorReadsBack(POINT screen)
{
    POINT now = {};
    const DWORD pos = ::GetMessagePos();
    return ::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y &&
           static_cast<short>(LOWORD(pos)) == screen.x && static_cast<short>(HIWORD(pos)) == screen.y;
}

}  // namespace

bool PutCursorAt(HWND hWnd, POINT screen, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    do {
        if (::SetCursorPos(screen.x, screen.y) && ::PostMessageW(hWnd, WM_NULL, 0, 0)) {
            PumpMessages();
            if (CursorReadsBack(screen))
                return true;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < timeoutMs);
    return false;
}

}  // namespace uitest
