// WM_PORT_IN_USE: the status bar names the open port in a heavy font for 400 ms, then reads
// "  Ready" again, and the fonts stay the dialog's own across messages.
#include "tests/app_shell/MainDialogTestSupport.h"

#include <chrono>
#include <string>
#include <vector>

using uitest::Do;

namespace {

using Clock = std::chrono::steady_clock;

// What the status bar was sent, seen through a hook on the calling thread.
struct StatusEvent {
    UINT message;
    std::wstring text;  // SB_SETTEXTW
    HFONT hFont;        // WM_SETFONT
    Clock::time_point when;
};

std::vector<StatusEvent>* g_events = nullptr;

LRESULT CALLBACK RecordStatusBar(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_events != nullptr && msg->hwnd == g_statusBar.m_hWnd) {
        switch (msg->message) {
            case SB_SETTEXTW:
                if (LOWORD(msg->wParam) == 0)
                    g_events->push_back(
                        {SB_SETTEXTW, reinterpret_cast<const wchar_t*>(msg->lParam), nullptr, Clock::now()});
                break;
            case WM_SETFONT:
                g_events->push_back({WM_SETFONT, L"", reinterpret_cast<HFONT>(msg->wParam), Clock::now()});
                break;
            case WM_PAINT:
                g_events->push_back({WM_PAINT, L"", nullptr, Clock::now()});
                break;
            default:
                break;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class StatusBarRecorder {
public:
    StatusBarRecorder()
    {
        g_events = &events;
        m_hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, &RecordStatusBar, nullptr, ::GetCurrentThreadId());
    }
    ~StatusBarRecorder()
    {
        if (m_hHook != nullptr)
            ::UnhookWindowsHookEx(m_hHook);
        g_events = nullptr;
    }
    bool Installed() const { return m_hHook != nullptr; }

    std::vector<StatusEvent> events;

private:
    HHOOK m_hHook = nullptr;
};

size_t FindText(const std::vector<StatusEvent>& events, const std::wstring& text, size_t from = 0)
{
    for (size_t i = from; i < events.size(); ++i)
        if (events[i].message == SB_SETTEXTW && events[i].text == text)
            return i;
    return events.size();
}

// The last font set before index.
HFONT FontBefore(const std::vector<StatusEvent>& events, size_t index)
{
    HFONT hFont = nullptr;
    for (size_t i = 0; i < index && i < events.size(); ++i)
        if (events[i].message == WM_SETFONT)
            hFont = events[i].hFont;
    return hFont;
}

LOGFONTW FontOf(HFONT hFont)
{
    LOGFONTW lf = {};
    EXPECT_EQ(static_cast<int>(sizeof(lf)), ::GetObjectW(hFont, sizeof(lf), &lf));
    return lf;
}

struct Flash {
    HFONT hInUseFont = nullptr;
    HFONT hReadyFont = nullptr;
};

// Sends the message as the port list does and checks what the status bar showed meanwhile.
Flash SendPortInUse(HWND hDlg, int comNumber)
{
    StatusBarRecorder recorder;
    EXPECT_TRUE(recorder.Installed());
    const Clock::time_point start = Clock::now();
    ::SendMessageW(hDlg, WM_PORT_IN_USE, 1, comNumber);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_GE(took.count(), 400);

    const std::vector<StatusEvent>& events = recorder.events;
    const std::wstring inUse = L"  COM" + std::to_wstring(comNumber) + L" is in use currently";
    const size_t shown = FindText(events, inUse);
    const size_t ready = FindText(events, L"  Ready", shown);
    EXPECT_LT(shown, events.size()) << "the port was never named";
    EXPECT_LT(ready, events.size()) << "the bar did not return to Ready";
    Flash flash;
    if (shown >= events.size() || ready >= events.size())
        return flash;
    // The text was painted before the pause (before the font changes back), and stayed for it.
    bool painted = false;
    for (size_t i = shown + 1; i < ready && events[i].message != WM_SETFONT; ++i)
        painted = painted || events[i].message == WM_PAINT;
    EXPECT_TRUE(painted) << "the port's text was not drawn before the pause";
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(events[ready].when - events[shown].when).count(),
              395);
    flash.hInUseFont = FontBefore(events, shown);
    flash.hReadyFont = FontBefore(events, ready);
    EXPECT_EQ(L"  Ready", uitest::StatusBarText(g_statusBar.m_hWnd, 0));
    return flash;
}

}  // namespace

TEST_F(MainDialogTest, PortInUseShowsTheComNumberInAHeavyFontThenReady)
{
    Run({Do([](CWnd& w) {
        const Flash flash = SendPortInUse(w.m_hWnd, 7);
        ASSERT_NE(nullptr, flash.hInUseFont);
        ASSERT_NE(nullptr, flash.hReadyFont);
        const LOGFONTW heavy = FontOf(flash.hInUseFont);
        EXPECT_EQ(16, heavy.lfHeight);
        EXPECT_EQ(10, heavy.lfWidth);
        EXPECT_EQ(900, heavy.lfWeight);
        EXPECT_STREQ(L"Arial", heavy.lfFaceName);
        const LOGFONTW normal = FontOf(flash.hReadyFont);
        HDC hdc = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(hdc, LOGPIXELSY);
        ::ReleaseDC(nullptr, hdc);
        EXPECT_EQ(-::MulDiv(100, dpi, 720), normal.lfHeight);
        EXPECT_EQ(FW_DONTCARE, normal.lfWeight);
        EXPECT_STREQ(L"Arial", normal.lfFaceName);
    })});
}

TEST_F(MainDialogTest, RepeatedPortInUseKeepsUsingTheSameLiveFonts)
{
    Run({Do([](CWnd& w) {
        const Flash first = SendPortInUse(w.m_hWnd, 5);
        const LONG taken = CGdiObject::TakenCount();
        const LONG released = CGdiObject::ReleasedCount();
        const Flash second = SendPortInUse(w.m_hWnd, 12);
        const Flash third = SendPortInUse(w.m_hWnd, 255);
        // No font is created or deleted per message, and the bar's font is a live object afterwards.
        EXPECT_EQ(taken, CGdiObject::TakenCount());
        EXPECT_EQ(released, CGdiObject::ReleasedCount());
        EXPECT_EQ(first.hInUseFont, second.hInUseFont);
        EXPECT_EQ(first.hReadyFont, third.hReadyFont);
        HFONT hCurrent = reinterpret_cast<HFONT>(::SendMessageW(g_statusBar.m_hWnd, WM_GETFONT, 0, 0));
        EXPECT_EQ(third.hReadyFont, hCurrent);
        EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), ::GetObjectType(hCurrent));
    })});
}
