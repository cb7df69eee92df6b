#include "tests/support/Outside.h"

#include "tests/support/WaitFor.h"

#include <commctrl.h>

#include <cstddef>

namespace outside {

namespace {

// The window's answer, or unanswered when it gives none within the generous bound.
LRESULT Ask(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT unanswered = 0)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_NORMAL, uitest::kGenerousWaitMs, &result))
        return unanswered;
    return static_cast<LRESULT>(result);
}

// A record of T in the memory of the window's process; its pointers must point into that copy
// (At(offset)). Send passes the copy with the message and reads it back once answered.
template <class T>
class Remote {
public:
    explicit Remote(HWND hWnd)
    {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        m_process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process != nullptr)
            m_at = static_cast<char*>(
                ::VirtualAllocEx(m_process, nullptr, sizeof(T), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~Remote()
    {
        if (m_at != nullptr)
            ::VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
        if (m_process != nullptr)
            ::CloseHandle(m_process);
    }
    wchar_t* At(size_t offset) const { return reinterpret_cast<wchar_t*>(m_at + offset); }
    LRESULT Send(HWND hWnd, UINT message, WPARAM wParam, T& value)
    {
        SIZE_T n = 0;
        if (m_at == nullptr || !::WriteProcessMemory(m_process, m_at, &value, sizeof(T), &n))
            return 0;
        const LRESULT result = Ask(hWnd, message, wParam, reinterpret_cast<LPARAM>(m_at));
        return ::ReadProcessMemory(m_process, m_at, &value, sizeof(T), &n) ? result : 0;
    }

private:
    HANDLE m_process = nullptr;
    char* m_at = nullptr;
};

template <class Item>
struct WithText {
    Item item;
    wchar_t text[512];
};

}  // namespace

void SendMouse(POINT at, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

void SendKey(WORD vk, WORD scan, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

void ClickClient(HWND hWnd, const RECT& rect)
{
    POINT at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(hWnd, &at);
    // The press goes where the system has seen the cursor arrive.
    uitest::WaitFor([&] {
        SendMouse(at, 0);
        POINT now = {};
        return ::GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    });
    SendMouse(at, MOUSEEVENTF_LEFTDOWN);
    SendMouse(at, MOUSEEVENTF_LEFTUP);
}

void Click(HWND hWnd)
{
    RECT rect = {};
    ::GetClientRect(hWnd, &rect);
    ClickClient(hWnd, rect);
}

void Key(WORD vk)
{
    SendKey(vk, 0, 0);
    SendKey(vk, 0, KEYEVENTF_KEYUP);
}

void Type(const std::wstring& text)
{
    for (wchar_t c : text) {
        SendKey(0, c, KEYEVENTF_UNICODE);
        SendKey(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    }
}

std::wstring Text(HWND hWnd)
{
    wchar_t text[512] = {};
    Ask(hWnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

int ListRowCount(HWND hList)
{
    return static_cast<int>(Ask(hList, LVM_GETITEMCOUNT, 0, 0, -1));
}

std::wstring ListCell(HWND hList, int row, int column)
{
    Remote<WithText<LVITEMW>> remote(hList);
    WithText<LVITEMW> value = {};
    value.item.iSubItem = column;
    value.item.pszText = remote.At(offsetof(WithText<LVITEMW>, text));
    value.item.cchTextMax = 511;
    remote.Send(hList, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), value);
    return value.text;
}

std::vector<std::wstring> ListRow(HWND hList, int row)
{
    HWND hHeader = reinterpret_cast<HWND>(Ask(hList, LVM_GETHEADER, 0, 0));
    std::vector<std::wstring> texts;
    for (int column = 0; column < static_cast<int>(Ask(hHeader, HDM_GETITEMCOUNT, 0, 0)); ++column)
        texts.push_back(ListCell(hList, row, column));
    return texts;
}

int ListImage(HWND hList, int row, int column)
{
    Remote<LVITEMW> remote(hList);
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    return remote.Send(hList, LVM_GETITEMW, 0, item) ? item.iImage : -100;
}

RECT ListCellRect(HWND hList, int row, int column)
{
    Remote<RECT> remote(hList);
    RECT rect = {LVIR_LABEL, column, 0, 0};
    remote.Send(hList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), rect);
    return rect;
}

std::vector<std::wstring> TabItems(HWND hTab)
{
    std::vector<std::wstring> items;
    Remote<WithText<TCITEMW>> remote(hTab);
    for (int i = 0; i < static_cast<int>(Ask(hTab, TCM_GETITEMCOUNT, 0, 0)); ++i) {
        WithText<TCITEMW> value = {};
        value.item.mask = TCIF_TEXT;
        value.item.pszText = remote.At(offsetof(WithText<TCITEMW>, text));
        value.item.cchTextMax = 511;
        remote.Send(hTab, TCM_GETITEMW, static_cast<WPARAM>(i), value);
        items.push_back(value.text);
    }
    return items;
}

RECT TabItemRect(HWND hTab, int index)
{
    Remote<RECT> remote(hTab);
    RECT rect = {};
    remote.Send(hTab, TCM_GETITEMRECT, static_cast<WPARAM>(index), rect);
    return rect;
}

std::wstring StatusText(HWND hStatus, int pane)
{
    struct Pane {
        wchar_t text[512];
    };
    Remote<Pane> remote(hStatus);
    Pane value = {};
    remote.Send(hStatus, SB_GETTEXTW, static_cast<WPARAM>(pane), value);
    value.text[511] = L'\0';
    return value.text;
}

HWND FocusOf(DWORD threadId)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

}  // namespace outside
