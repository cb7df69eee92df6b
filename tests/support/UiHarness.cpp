// The harness's scripts, the message-box recorder, input and read-back helpers.
#include "tests/support/UiHarness.h"

#include "tests/support/PngWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace uitest {

Step Do(std::function<void(CWnd& dlg)> action)
{
    Step step;
    step.action = std::move(action);
    return step;
}

Step WaitUntil(std::function<bool(CWnd& dlg)> condition, DWORD timeoutMs)
{
    Step step;
    step.until = std::move(condition);
    step.timeoutMs = timeoutMs;
    return step;
}

Step RunFor(DWORD ms)
{
    auto start = std::make_shared<ULONGLONG>(0);
    return WaitUntil(
        [start, ms](CWnd&) {
            if (*start == 0)
                *start = ::GetTickCount64();
            return ::GetTickCount64() - *start >= ms;
        },
        ms + kGenerousWaitMs);
}

namespace {

void EndModal(CWnd& wnd, int result)
{
    if (CDialog* pDlg = dynamic_cast<CDialog*>(&wnd))
        pDlg->EndDialog(result);
    else
        wnd.EndModalLoop(result);
}

}  // namespace

UiHarness::UiHarness()
{
    m_oldHook = AfxSetModalIdleHook([this](CWnd& wnd) { return OnIdle(wnd); });
    m_oldHandler = AfxSetMessageBoxHandler([this](const AfxMessageBoxCall& call) { return OnMessageBox(call); });
}

UiHarness::~UiHarness()
{
    if (m_wakeTimer != 0)
        ::KillTimer(nullptr, m_wakeTimer);
    AfxSetModalIdleHook(std::move(m_oldHook));
    AfxSetMessageBoxHandler(std::move(m_oldHandler));
}

INT_PTR UiHarness::RunModal(CDialog& dlg, std::vector<Step> steps)
{
    m_pending.emplace_front(steps.begin(), steps.end());
    const int opened = m_opened;
    const INT_PTR result = dlg.DoModal();
    // A dialog that ended by itself before its loop was first idle (a timer already due then
    // comes first) ended the waits of its script, as one that ends during a wait does; only
    // actions that never ran are left.
    if (m_opened == opened && !m_pending.empty() &&
        std::all_of(m_pending.front().begin(), m_pending.front().end(), [](const Step& step) { return !step.action; }))
        m_pending.pop_front();
    if (!m_pending.empty()) {
        ADD_FAILURE() << m_pending.size() << " script(s) left for dialogs that never opened";
        m_pending.clear();
    }
    m_active.clear();
    return result;
}

void UiHarness::OnNextModal(std::vector<Step> steps)
{
    m_pending.emplace_back(steps.begin(), steps.end());
}

bool UiHarness::OnIdle(CWnd& wnd)
{
    // The loop calling is the innermost one: scripts of loops nested deeper have ended. A script's
    // dialog is known by its object and its window: a dialog made where an ended one lived (an
    // optimised build gives two dialogs of one function the same stack slot) is another dialog.
    size_t index = 0;
    while (index < m_active.size() && (m_active[index].wnd != &wnd || m_active[index].hWnd != wnd.m_hWnd))
        ++index;
    if (index < m_active.size()) {
        m_active.resize(index + 1);
    } else {
        while (!m_active.empty() && !::IsWindow(m_active.back().hWnd))
            m_active.pop_back();
        if (m_pending.empty()) {
            ++m_unexpected;
            ADD_FAILURE() << "a dialog opened with no script: \"" << Narrow(WindowText(wnd.m_hWnd)) << "\"";
            EndModal(wnd, IDCANCEL);
            return false;
        }
        m_active.push_back(Script{&wnd, wnd.m_hWnd, std::move(m_pending.front()), false, 0});
        m_pending.pop_front();
        ++m_opened;
        index = m_active.size() - 1;
    }

    Script& script = m_active[index];
    if (script.steps.empty()) {
        ++m_endedByHarness;
        EndModal(wnd, IDCANCEL);
        return false;
    }
    Step& step = script.steps.front();
    if (step.action) {
        // A step may open nested dialogs, which change m_active: take it out first.
        auto action = std::move(step.action);
        script.steps.pop_front();
        action(wnd);
        return true;
    }
    if (!script.waiting) {
        script.waiting = true;
        script.waitStart = ::GetTickCount();
    }
    if (step.until(wnd)) {
        script.steps.pop_front();
        script.waiting = false;
        return true;
    }
    if (::GetTickCount() - script.waitStart > step.timeoutMs) {
        ADD_FAILURE() << "a condition was not met within " << step.timeoutMs << " ms";
        script.steps.clear();
        script.waiting = false;
        return true;
    }
    // Nothing may arrive while waiting: a thread timer wakes the loop to look again.
    if (m_wakeTimer == 0)
        m_wakeTimer = ::SetTimer(nullptr, 0, 10, nullptr);
    return false;
}

int DefaultButton(UINT nType)
{
    static const int kButtons[][3] = {
        {IDOK, 0, 0},                        // MB_OK
        {IDOK, IDCANCEL, 0},                 // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},        // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},             // MB_YESNOCANCEL
        {IDYES, IDNO, 0},                    // MB_YESNO
        {IDRETRY, IDCANCEL, 0},              // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE},  // MB_CANCELTRYCONTINUE
    };
    const UINT type = nType & MB_TYPEMASK;
    if (type >= sizeof(kButtons) / sizeof(kButtons[0]))
        return IDOK;
    const UINT which = (nType & MB_DEFMASK) >> 8;
    const int button = which < 3 ? kButtons[type][which] : 0;
    return button != 0 ? button : kButtons[type][0];
}

int UiHarness::OnMessageBox(const AfxMessageBoxCall& call)
{
    m_boxes.push_back(call);
    if (m_answers.empty())
        return DefaultButton(call.nType);
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

// ---- input ------------------------------------------------------------------------------------

void ClickAt(HWND hWnd, int x, int y)
{
    if (!::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd)) {
        ADD_FAILURE() << "a click on a window the user cannot click (hidden or disabled)";
        return;
    }
    const LPARAM point = MAKELPARAM(x, y);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, point);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, point);
}

void Click(HWND hWnd)
{
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    ClickAt(hWnd, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

void PressKey(HWND hWnd, UINT vk)
{
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, scan | 1);
    ::PostMessageW(hWnd, WM_KEYUP, vk, scan | 1 | 0xC0000000);
}

void PressKey(UINT vk)
{
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus == nullptr) {
        ADD_FAILURE() << "a key pressed with no window holding the keyboard focus";
        return;
    }
    PressKey(hWndFocus, vk);
}

void PressAltKey(HWND hWnd, UINT vk)
{
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM altDown = 0x20000000;  // context code: Alt is held
    ::PostMessageW(hWnd, WM_SYSKEYDOWN, vk, scan | altDown | 1);
    ::PostMessageW(hWnd, WM_SYSKEYUP, vk, scan | altDown | 1 | 0xC0000000);
}

namespace {

// Finds id in a menu or its submenus; the item's state in *pState.
bool FindMenuItem(HMENU hMenu, UINT id, UINT* pState)
{
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        if (HMENU hSub = ::GetSubMenu(hMenu, i); hSub != nullptr) {
            if (FindMenuItem(hSub, id, pState))
                return true;
        } else if (::GetMenuItemID(hMenu, i) == id) {
            *pState = ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
            return true;
        }
    }
    return false;
}

bool ChooseFrom(HMENU hMenu, HWND hWnd, UINT id, UINT message)
{
    UINT state = 0;
    if (hMenu == nullptr || !FindMenuItem(hMenu, id, &state)) {
        ADD_FAILURE() << "menu item " << id << " is not in the menu";
        return false;
    }
    if (state & (MF_DISABLED | MF_GRAYED)) {
        ADD_FAILURE() << "menu item " << id << " is disabled";
        return false;
    }
    ::PostMessageW(hWnd, message, id, 0);
    return true;
}

}  // namespace

bool ChooseMenuItem(HWND hWnd, UINT id)
{
    return ChooseFrom(::GetMenu(hWnd), hWnd, id, WM_COMMAND);
}

bool ChooseSystemMenuItem(HWND hWnd, UINT id)
{
    return ChooseFrom(::GetSystemMenu(hWnd, FALSE), hWnd, id, WM_SYSCOMMAND);
}

void TypeText(HWND hWnd, const wchar_t* text)
{
    for (; *text != L'\0'; ++text)
        ::PostMessageW(hWnd, WM_CHAR, *text, 1);
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// ---- reading back -----------------------------------------------------------------------------

std::wstring WindowText(HWND hWnd)
{
    const int n = ::GetWindowTextLengthW(hWnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int copied = ::GetWindowTextW(hWnd, &text[0], n + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string Narrow(const std::wstring& text)
{
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], n, nullptr, nullptr);
    return result;
}

std::wstring DlgItemText(HWND hDlg, int id)
{
    return WindowText(::GetDlgItem(hDlg, id));
}

int ListViewRowCount(HWND hList)
{
    return static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListViewCellText(HWND hList, int row, int column)
{
    wchar_t buffer[1024] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    ::SendMessageW(hList, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::vector<std::wstring> ComboBoxItems(HWND hCombo)
{
    std::vector<std::wstring> items;
    const int count = static_cast<int>(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int n = static_cast<int>(::SendMessageW(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
        std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
        ::SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
        items.push_back(text);
    }
    return items;
}

std::vector<std::wstring> TabItems(HWND hTab)
{
    std::vector<std::wstring> items;
    const int count = static_cast<int>(::SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 256;
        ::SendMessageW(hTab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        items.push_back(text);
    }
    return items;
}

std::wstring StatusBarText(HWND hStatus, int pane)
{
    const LRESULT info = ::SendMessageW(hStatus, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0);
    std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    ::SendMessageW(hStatus, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(LOWORD(info));
    return text;
}

bool SaveScreenshot(HWND hWnd, const std::wstring& path)
{
    RECT rc;
    if (!::GetWindowRect(hWnd, &rc))
        return false;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0)
        return false;
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);

    HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr)
        return false;
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, width, height);
    bool ok = hMem != nullptr && hBitmap != nullptr;
    std::vector<BYTE> pixels;
    if (ok) {
        HGDIOBJ old = ::SelectObject(hMem, hBitmap);
        // What is on the screen is what the user sees; a window drawn elsewhere is asked to print itself.
        ok = ::BitBlt(hMem, 0, 0, width, height, hScreen, rc.left, rc.top, SRCCOPY) || ::PrintWindow(hWnd, hMem, 0);
        ::SelectObject(hMem, old);
        if (ok) {
            BITMAPINFO bmi = {};
            bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
            bmi.bmiHeader.biWidth = width;
            bmi.bmiHeader.biHeight = -height;  // top-down rows
            bmi.bmiHeader.biPlanes = 1;
            bmi.bmiHeader.biBitCount = 32;
            bmi.bmiHeader.biCompression = BI_RGB;
            pixels.resize(static_cast<size_t>(width) * height * 4);
            ok =
                ::GetDIBits(hMem, hBitmap, 0, static_cast<UINT>(height), pixels.data(), &bmi, DIB_RGB_COLORS) == height;
        }
    }
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    if (hMem != nullptr)
        ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return ok && WritePngBgra(path, width, height, pixels);
}

}  // namespace uitest
