// The handle map, subclassing, Default() and letting go of a window on WM_NCDESTROY.
#include "framework/framework.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A window class whose own procedure records what reaches it.
struct Recorded {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Recorded> g_original;
const UINT WM_TEST_OUTER = WM_APP + 1;
const UINT WM_TEST_INNER = WM_APP + 2;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP)
        g_original.push_back({message, wParam, lParam});
    if (message == WM_TEST_OUTER)
        return 1000 + static_cast<LRESULT>(wParam);
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND CreateRecordingWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TestRecording";
        registered = ::RegisterClassW(&wc) != 0;
    }
    return ::CreateWindowExW(0, L"TestRecording", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

class OuterHandler : public CWnd {
public:
    int outerCalls = 0;
    LRESULT OnOuter(WPARAM, LPARAM)
    {
        ++outerCalls;
        // A message handled in between must not change what Default() sends afterwards.
        SendMessage(WM_TEST_INNER, 7, 8);
        return Default();
    }
    LRESULT OnInner(WPARAM, LPARAM) { return Default(); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OuterHandler, CWnd)
ON_MESSAGE(WM_TEST_OUTER, &OuterHandler::OnOuter)
ON_MESSAGE(WM_TEST_INNER, &OuterHandler::OnInner)
END_MESSAGE_MAP()

TEST(WndSubclass, DefaultSendsTheCurrentMessageUnchangedToTheOriginalProcedure)
{
    HWND hWnd = CreateRecordingWindow();
    ASSERT_NE(hWnd, nullptr);
    OuterHandler wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    g_original.clear();

    const LRESULT result = ::SendMessageW(hWnd, WM_TEST_OUTER, 5, 6);

    EXPECT_EQ(wnd.outerCalls, 1);
    EXPECT_EQ(result, 1005);  // the original procedure's answer reaches the sender
    ASSERT_EQ(g_original.size(), 2u);
    EXPECT_EQ(g_original[0].message, WM_TEST_INNER);
    EXPECT_EQ(g_original[0].wParam, 7u);
    EXPECT_EQ(g_original[1].message, WM_TEST_OUTER);
    EXPECT_EQ(g_original[1].wParam, 5u);
    EXPECT_EQ(g_original[1].lParam, 6);
    ::DestroyWindow(hWnd);
}

class CharCounter : public CWnd {
public:
    int chars = 0;
    bool passOn = true;
    void OnChar(UINT, UINT, UINT)
    {
        ++chars;
        if (passOn)
            Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CharCounter, CWnd)
ON_WM_CHAR()
END_MESSAGE_MAP()

TEST(WndSubclass, ASubclassedControlKeepsItsOwnBehaviourForWhatTheMapPassesOn)
{
    HWND hEdit = ::CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    CharCounter edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));

    ::SendMessageW(hEdit, WM_CHAR, L'a', 1);
    edit.passOn = false;
    ::SendMessageW(hEdit, WM_CHAR, L'b', 1);
    edit.passOn = true;
    ::SendMessageW(hEdit, WM_CHAR, L'c', 1);
    ::SendMessageW(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"ac?"));  // not in the map

    EXPECT_EQ(edit.chars, 3);
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, L"ac?");
    ::DestroyWindow(hEdit);
}

TEST(WndSubclass, TheHandleMapKnowsPermanentAndTemporaryObjects)
{
    HWND hWnd = CreateRecordingWindow();
    HWND hOther = CreateRecordingWindow();
    CWnd wnd;
    CWnd second;
    ASSERT_TRUE(wnd.Attach(hWnd));
    EXPECT_FALSE(second.Attach(hWnd)) << "a window has one permanent object";
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);

    CWnd* temp = CWnd::FromHandle(hOther);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, hOther);
    EXPECT_EQ(CWnd::FromHandle(hOther), temp) << "one temporary object per window";
    EXPECT_EQ(CWnd::FromHandlePermanent(hOther), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);

    EXPECT_EQ(wnd.Detach(), hWnd);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    ::DestroyWindow(hWnd);
    ::DestroyWindow(hOther);
}

TEST(WndSubclass, UnsubclassPutsTheOriginalProcedureBack)
{
    HWND hWnd = CreateRecordingWindow();
    const LONG_PTR original = ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
    OuterHandler wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_NE(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), original);

    EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    ::SendMessageW(hWnd, WM_TEST_OUTER, 1, 1);
    EXPECT_EQ(wnd.outerCalls, 0);
    ::DestroyWindow(hWnd);
}

// Deletes itself after its window is gone, as the grid's cell editors do.
class SelfDeleting : public CWnd {
public:
    explicit SelfDeleting(std::vector<std::string>* log) : m_log(log) {}
    ~SelfDeleting() override { m_log->push_back("deleted"); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCDESTROY)
            m_log->push_back(CWnd::FromHandlePermanent(m_hWnd) == this ? "ncdestroy attached" : "ncdestroy detached");
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override
    {
        m_log->push_back(m_hWnd == nullptr ? "post detached" : "post attached");
        delete this;
    }

private:
    std::vector<std::string>* m_log;
};

TEST(WndSubclass, TheObjectLetsGoOnNcDestroyAndThenGetsPostNcDestroy)
{
    std::vector<std::string> log;
    HWND hEdit = ::CreateWindowExW(0, L"Edit", L"x", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR original = ::GetWindowLongPtrW(hEdit, GWLP_WNDPROC);
    SelfDeleting* editor = new SelfDeleting(&log);
    ASSERT_TRUE(editor->SubclassWindow(hEdit));

    ASSERT_TRUE(::DestroyWindow(hEdit));

    EXPECT_EQ(log, (std::vector<std::string>{"ncdestroy attached", "post detached", "deleted"}));
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    EXPECT_NE(original, 0);
}

class Created : public CWnd {
public:
    std::vector<UINT> seen;
    int createResult = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CWnd::OnCreate(lpcs) == -1)
            return -1;
        return createResult;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Created, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(WndSubclass, AWindowCreatedThroughItsObjectBelongsToItFromItsFirstMessage)
{
    Created wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"created", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    ASSERT_FALSE(wnd.seen.empty());
    EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), static_cast<UINT>(WM_NCCREATE)), wnd.seen.end());
    EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), static_cast<UINT>(WM_CREATE)), wnd.seen.end());
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(WndSubclass, AWindowRefusedInOnCreateLeavesTheObjectFree)
{
    Created wnd;
    wnd.createResult = -1;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, L"refused", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    wnd.createResult = 0;
    EXPECT_TRUE(wnd.CreateEx(0, nullptr, L"second", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    wnd.DestroyWindow();
}

TEST(WndSubclass, AnObjectGoingAwayTakesItsWindowWithIt)
{
    HWND hWnd = nullptr;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"scoped", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

}  // namespace
