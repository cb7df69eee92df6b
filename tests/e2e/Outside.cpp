#include "tests/e2e/Outside.h"

#include "tests/support/WaitFor.h"

#include <commctrl.h>

#include <cstddef>

namespace outside {

namespace {

const DWORD kAnswerMs = 20000;  // a busy program still answers a message within this

LRESULT Ask(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_NORMAL, kAnswerMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

// A record of T in the memory of the window's process; its pointers must point into that copy
// (Remote(offset)), and it is read back after the window has answered.
template <class T>
class RemoteRecord {
public:
    explicit RemoteRecord(HWND hWnd)
    {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        m_process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process != nullptr)
            m_at = ::VirtualAllocEx(m_process, nullptr, sizeof(T), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteRecord()
    {
        if (m_at != nullptr)
            ::VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
        if (m_process != nullptr)
            ::CloseHandle(m_process);
    }
    template <class P>
    P* Remote(size_t offset) const
    {
        return reinterpret_cast<P*>(static_cast<char*>(m_at) + offset);
    }
    // Sends the message with lParam pointing at the copy of value; value then holds the answer.
    LRESULT Send(HWND hWnd, UINT message, WPARAM wParam, T& value)
    {
        SIZE_T n = 0;
        if (m_at == nullptr || !::WriteProcessMemory(m_process, m_at, &value, sizeof(T), &n))
            return 0;
        const LRESULT result = Ask(hWnd, message, wParam, reinterpret_cast<LPARAM>(m_at));
        if (!::ReadProcessMemory(m_process, m_at, &value, sizeof(T), &n))
            return 0;
        return result;
    }

private:
    HANDLE m_process = nullptr;
    void* m_at = nullptr;
};

struct ItemWithText {
    LVITEMW item;
    wchar_t text[512];
};

struct TabWithText {
    TCITEMW item;
    wchar_t text[256];
};

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

}  // namespace

void ClickAt(POINT screen)
{
    // The press goes where the system has seen the cursor arrive.
    uitest::WaitFor([&] {
        SendMouse(screen, 0);
        POINT now = {};
        return ::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    });
    SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
    SendMouse(screen, MOUSEEVENTF_LEFTUP);
}

void Click(HWND hWnd)
{
    RECT rect = {};
    ::GetClientRect(hWnd, &rect);
    ClickClient(hWnd, rect);
}

void ClickClient(HWND hWnd, const RECT& rect)
{
    POINT at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(hWnd, &at);
    ClickAt(at);
}

void Key(WORD vk)
{
    SendKey(vk, 0, 0);
    SendKey(vk, 0, KEYEVENTF_KEYUP);
}

void AltKey() { Key(VK_MENU); }

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

std::wstring ClassName(HWND hWnd)
{
    wchar_t name[256] = {};
    ::GetClassNameW(hWnd, name, 256);
    return name;
}

int ListRowCount(HWND hList) { return static_cast<int>(Ask(hList, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ListCell(HWND hList, int row, int column)
{
    RemoteRecord<ItemWithText> remote(hList);
    ItemWithText value = {};
    value.item.iSubItem = column;
    value.item.pszText = remote.Remote<wchar_t>(offsetof(ItemWithText, text));
    value.item.cchTextMax = 512;
    remote.Send(hList, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), value);
    value.text[511] = L'\0';
    return value.text;
}

std::vector<std::wstring> ListRow(HWND hList, int row)
{
    HWND hHeader = reinterpret_cast<HWND>(Ask(hList, LVM_GETHEADER, 0, 0));
    std::vector<std::wstring> texts;
    const int columns = static_cast<int>(Ask(hHeader, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column)
        texts.push_back(ListCell(hList, row, column));
    return texts;
}

int ListImage(HWND hList, int row, int column)
{
    RemoteRecord<LVITEMW> remote(hList);
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    item.iImage = -100;
    return remote.Send(hList, LVM_GETITEMW, 0, item) ? item.iImage : -100;
}

RECT ListCellRect(HWND hList, int row, int column)
{
    RemoteRecord<RECT> remote(hList);
    RECT rect = {LVIR_LABEL, column, 0, 0};
    remote.Send(hList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), rect);
    return rect;
}

std::vector<std::wstring> TabItems(HWND hTab)
{
    std::vector<std::wstring> items;
    RemoteRecord<TabWithText> remote(hTab);
    const int count = static_cast<int>(Ask(hTab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TabWithText value = {};
        value.item.mask = TCIF_TEXT;
        value.item.pszText = remote.Remote<wchar_t>(offsetof(TabWithText, text));
        value.item.cchTextMax = 256;
        remote.Send(hTab, TCM_GETITEMW, static_cast<WPARAM>(i), value);
        value.text[255] = L'\0';
        items.push_back(value.text);
    }
    return items;
}

RECT TabItemRect(HWND hTab, int index)
{
    RemoteRecord<RECT> remote(hTab);
    RECT rect = {};
    remote.Send(hTab, TCM_GETITEMRECT, static_cast<WPARAM>(index), rect);
    return rect;
}

std::wstring StatusText(HWND hStatus, int pane)
{
    struct Buffer {
        wchar_t text[512];
    };
    RemoteRecord<Buffer> remote(hStatus);
    Buffer value = {};
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

HWND ActiveOf(DWORD threadId)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(threadId, &info) ? info.hwndActive : nullptr;
}

}  // namespace outside
