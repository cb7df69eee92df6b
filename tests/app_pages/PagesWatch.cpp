// Watches and drives the running SarventoCtl3.exe from another process, for scripts/bench-pages:
// nothing of it runs inside the program, which is measured as a user runs it. Not a test.
//
//   pages_watch wait-list ROWS             waits until the main dialog is up with its port list
//                                          visible, ROWS rows in it and nothing left to paint;
//                                          prints, as Unix seconds, when the rows were first seen
//                                          and when all was painted
//   pages_watch status                     clicks the "Status" tab and waits until the CON cells
//                                          of the rows in view are drawn on
//   pages_watch blinks MS                  counts, for MS ms, how often the RX and TX cells of
//                                          the first row change their image; prints changes/s
//   pages_watch close                      closes the main dialog
#include "res/resource.h"

#include <windows.h>

#include <commctrl.h>

#include <stdio.h>
#include <wchar.h>

#include <algorithm>

namespace {

const wchar_t kMainCaption[] = L"COM Sarvento Control v3.2.0.6";
constexpr DWORD kTimeoutMs = 60000;
constexpr int kConColumn = 3;
constexpr int kTxColumn = 5;
constexpr int kRxColumn = 6;
constexpr int kImageOn = 2;

double UnixSeconds()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>(ticks - 116444736000000000ULL) / 1e7;
}

double Seconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND FindMain()
{
    return FindWindowW(L"#32770", kMainCaption);
}

// The page's control of the main dialog: the pages are the dialog's children.
HWND FindPageControl(HWND hMain, int id)
{
    for (HWND hChild = GetWindow(hMain, GW_CHILD); hChild != nullptr; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (HWND hControl = GetDlgItem(hChild, id))
            return hControl;
    }
    return nullptr;
}

// A block of memory inside the program, for the list and tab messages that take pointers.
class RemoteBuffer {
public:
    explicit RemoteBuffer(HWND hWnd)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(hWnd, &pid);
        m_hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_hProcess != nullptr)
            m_address = VirtualAllocEx(m_hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (m_address != nullptr)
            VirtualFreeEx(m_hProcess, m_address, 0, MEM_RELEASE);
        if (m_hProcess != nullptr)
            CloseHandle(m_hProcess);
    }
    bool IsValid() const { return m_address != nullptr; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_address); }
    template <class T>
    bool Put(const T& value)
    {
        return WriteProcessMemory(m_hProcess, m_address, &value, sizeof(value), nullptr) != FALSE;
    }
    template <class T>
    bool Get(T& value)
    {
        return ReadProcessMemory(m_hProcess, m_address, &value, sizeof(value), nullptr) != FALSE;
    }

private:
    HANDLE m_hProcess = nullptr;
    void* m_address = nullptr;
};

// The image index of a cell of the program's list, -1 when it cannot be read.
int CellImage(HWND hList, RemoteBuffer& remote, int row, int column)
{
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    if (!remote.Put(item) || !SendMessageW(hList, LVM_GETITEMW, 0, remote.Address()) || !remote.Get(item))
        return -1;
    return item.iImage;
}

bool NothingToPaint(HWND hWnd)
{
    return !GetUpdateRect(hWnd, nullptr, FALSE);
}

template <class F>
bool PollUntil(F done, DWORD intervalMs = 2)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > kTimeoutMs)
            return false;
        Sleep(intervalMs);
    }
    return true;
}

int WaitList(int rows)
{
    // Ready to watch: the script starts the program after this line.
    printf("watching\n");
    fflush(stdout);
    double filled = 0;
    const bool shown = PollUntil([rows, &filled] {
        HWND hMain = FindMain();
        if (hMain == nullptr || !IsWindowVisible(hMain))
            return false;
        HWND hList = FindPageControl(hMain, IDC_PORTLIST);
        if (hList == nullptr || !IsWindowVisible(hList) || SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0) != rows)
            return false;
        if (filled == 0)
            filled = UnixSeconds();
        return NothingToPaint(hMain) && NothingToPaint(hList);
    });
    if (!shown) {
        fprintf(stderr, "the port list with %d rows did not show\n", rows);
        return 1;
    }
    // When the list was first seen visible with its rows, and when everything was painted.
    printf("%.6f %.6f\n", filled, UnixSeconds());
    return 0;
}

// Clicks a tab of the main dialog's tab control, as the mouse does.
bool ClickTab(HWND hMain, int tab)
{
    HWND hTab = GetDlgItem(hMain, IDC_TAB);
    RemoteBuffer remote(hMain);
    RECT rect = {};
    if (hTab == nullptr || !remote.IsValid() || !SendMessageW(hTab, TCM_GETITEMRECT, tab, remote.Address()) ||
        !remote.Get(rect))
        return false;
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(hTab, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(hTab, WM_LBUTTONUP, 0, point);
    return true;
}

int ShowStatus()
{
    HWND hMain = FindMain();
    HWND hList = hMain != nullptr ? FindPageControl(hMain, IDC_MONITORLIST) : nullptr;
    if (hList == nullptr || !ClickTab(hMain, 1)) {
        fprintf(stderr, "no main dialog with a monitor list\n");
        return 1;
    }
    RemoteBuffer remote(hList);
    const bool drawn = PollUntil(
        [&] {
            const int rows = static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
            const int top = static_cast<int>(SendMessageW(hList, LVM_GETTOPINDEX, 0, 0));
            const int last = std::min(rows, top + static_cast<int>(SendMessageW(hList, LVM_GETCOUNTPERPAGE, 0, 0))) - 1;
            return IsWindowVisible(hList) && rows > 0 && CellImage(hList, remote, top, kConColumn) == kImageOn &&
                   CellImage(hList, remote, last, kConColumn) == kImageOn;
        },
        20);
    if (!drawn) {
        fprintf(stderr, "the Status tab did not show every port open\n");
        return 1;
    }
    return 0;
}

int CountBlinks(DWORD ms)
{
    HWND hMain = FindMain();
    HWND hList = hMain != nullptr ? FindPageControl(hMain, IDC_MONITORLIST) : nullptr;
    if (hList == nullptr) {
        fprintf(stderr, "no monitor list\n");
        return 1;
    }
    RemoteBuffer remote(hList);
    int rx = CellImage(hList, remote, 0, kRxColumn);
    int tx = CellImage(hList, remote, 0, kTxColumn);
    int rxChanges = 0, txChanges = 0;
    const double start = Seconds();
    while (Seconds() - start < ms / 1000.0) {
        Sleep(2);
        const int nowRx = CellImage(hList, remote, 0, kRxColumn);
        const int nowTx = CellImage(hList, remote, 0, kTxColumn);
        rxChanges += nowRx != rx;
        txChanges += nowTx != tx;
        rx = nowRx;
        tx = nowTx;
    }
    const double seconds = Seconds() - start;
    printf("%.1f %.1f\n", rxChanges / seconds, txChanges / seconds);
    return 0;
}

int Close()
{
    HWND hMain = FindMain();
    if (hMain == nullptr)
        return 1;
    PostMessageW(hMain, WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* command = argc > 1 ? argv[1] : L"";
    if (wcscmp(command, L"wait-list") == 0 && argc > 2)
        return WaitList(_wtoi(argv[2]));
    if (wcscmp(command, L"status") == 0)
        return ShowStatus();
    if (wcscmp(command, L"blinks") == 0 && argc > 2)
        return CountBlinks(static_cast<DWORD>(_wtoi(argv[2])));
    if (wcscmp(command, L"close") == 0)
        return Close();
    fprintf(stderr, "usage: pages_watch wait-list ROWS | status | blinks MS | close\n");
    return 2;
}
