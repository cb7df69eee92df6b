// The floor of the Status tab: a bare report list view of the ports (a row each, the monitor's
// eleven columns, its extended styles, six 16 x 15 images), the line states read from the status
// device every 100 ms on a thread of its own, and every 50 ms the images set of the cells in view
// whose state changed, RX and TX shown off on every other pass, as the monitor shows them.
#include "bench/Floor.h"

#include <windows.h>

#include <commctrl.h>

#include "contract/DriverInterface.h"

#include <stdio.h>
#include <string.h>

namespace floorbench {
namespace {

constexpr int kColumns = 11;
constexpr UINT_PTR kDrawTimer = 1;
// The state cells: column, bit, image when set (1 when clear).
const struct {
    int column;
    BYTE bit;
    int image;
} kCells[] = {{3, LINESTATE_CON, 2}, {4, LINESTATE_ERR, 5}, {5, LINESTATE_TX, 3},  {6, LINESTATE_RX, 4},
              {7, LINESTATE_CTS, 2}, {8, LINESTATE_DSR, 2}, {9, LINESTATE_DCD, 2}, {10, LINESTATE_RI, 2}};

struct Monitor {
    HWND list;
    int rows;
    BYTE states[LINE_STATE_TABLE_SIZE];  // written by the reading thread
    BYTE drawn[LINE_STATE_TABLE_SIZE];
    volatile LONG stop;
    unsigned pass;
    unsigned changes;
};

DWORD WINAPI ReadThread(void* parameter)
{
    auto* monitor = static_cast<Monitor*>(parameter);
    while (!monitor->stop) {
        HANDLE device = CreateFileW(SVT_STATUS_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (device != INVALID_HANDLE_VALUE) {
            BYTE input[LINE_STATE_TABLE_SIZE] = {};
            BYTE output[LINE_STATE_TABLE_SIZE];
            DWORD returned = 0;
            if (DeviceIoControl(device, IOCTL_READ_LINE_STATES, input, sizeof input, output, sizeof output, &returned,
                                nullptr))
                memcpy(monitor->states, output, sizeof output);
            CloseHandle(device);
        }
        Sleep(100);
    }
    return 0;
}

void DrawChanges(Monitor& monitor)
{
    const bool maskTraffic = (monitor.pass++ & 1) == 0;
    const int top = static_cast<int>(SendMessageW(monitor.list, LVM_GETTOPINDEX, 0, 0));
    const int last = top + static_cast<int>(SendMessageW(monitor.list, LVM_GETCOUNTPERPAGE, 0, 0));
    for (int row = top; row <= last && row < monitor.rows; ++row) {
        BYTE state = monitor.states[row];
        if (maskTraffic)
            state &= static_cast<BYTE>(~(LINESTATE_RX | LINESTATE_TX));
        const BYTE changed = state ^ monitor.drawn[row];
        for (const auto& cell : kCells) {
            if (!(changed & cell.bit))
                continue;
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            item.iSubItem = cell.column;
            item.iImage = state & cell.bit ? cell.image : 1;
            SendMessageW(monitor.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            ++monitor.changes;
        }
        monitor.drawn[row] = state;
    }
}

LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kDrawTimer) {
        if (auto* monitor = reinterpret_cast<Monitor*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA)))
            DrawChanges(*monitor);
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

// Six images of 16 x 15 pixels in as many colours, magenta transparent, as the monitor's strip.
HIMAGELIST MakeImages()
{
    HIMAGELIST images = ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, 6, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, 96, 15);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    const COLORREF colours[6] = {RGB(255, 0, 255), RGB(128, 128, 128), RGB(0, 200, 0),
                                 RGB(200, 0, 0),   RGB(0, 0, 200),     RGB(255, 160, 0)};
    for (int i = 0; i < 6; ++i) {
        RECT whole = {i * 16, 0, i * 16 + 16, 15};
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc, &whole, brush);
        DeleteObject(brush);
        RECT dot = {i * 16 + 3, 3, i * 16 + 13, 12};
        brush = CreateSolidBrush(colours[i]);
        FillRect(dc, &dot, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(images, strip, RGB(255, 0, 255));
    DeleteObject(strip);
    return images;
}

}  // namespace

unsigned Blink(DWORD milliseconds, int rows)
{
    WNDCLASSW frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = GetModuleHandleW(nullptr);
    frameClass.lpszClassName = L"FloorBlinkFrame";
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&frameClass);
    HWND frame = CreateWindowExW(0, frameClass.lpszClassName, L"Status floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 640, 480, nullptr, nullptr, frameClass.hInstance, nullptr);
    if (frame == nullptr)
        return 0;
    RECT client;
    GetClientRect(frame, &client);
    Monitor monitor{};
    monitor.rows = rows;
    monitor.list = CreateWindowExW(0, WC_LISTVIEWW, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0,
                                   0, client.right, client.bottom, frame, nullptr, frameClass.hInstance, nullptr);
    SendMessageW(monitor.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
    SendMessageW(monitor.list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(MakeImages()));
    const wchar_t* const titles[kColumns] = {L"No", L"COM Port", L"IP",  L"CON", L"ERR", L"TX",
                                             L"RX", L"CTS",      L"DSR", L"DCD", L"RI"};
    const int units[kColumns] = {6, 26, 20, 6, 6, 6, 6, 6, 6, 6, 6};
    for (int column = 0; column < kColumns; ++column) {
        LVCOLUMNW spec{};
        spec.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        spec.fmt = column < 3 ? LVCFMT_CENTER : LVCFMT_LEFT;
        spec.cx = units[column] * (client.right - 1) / 100;
        spec.pszText = const_cast<wchar_t*>(titles[column]);
        spec.iSubItem = column;
        SendMessageW(monitor.list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&spec));
    }
    for (int row = 0; row < rows; ++row) {
        wchar_t text[16];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.iImage = I_IMAGENONE;
        swprintf(text, 16, L"%d", row + 1);
        item.pszText = text;
        SendMessageW(monitor.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        swprintf(text, 16, L"COM%d", row + 1);
        item.mask = LVIF_TEXT;
        item.iSubItem = 1;
        SendMessageW(monitor.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 2;
        item.pszText = const_cast<wchar_t*>(L"0.0.0.0");
        SendMessageW(monitor.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.mask = LVIF_IMAGE;
        item.iImage = 1;
        for (const auto& cell : kCells) {
            item.iSubItem = cell.column;
            SendMessageW(monitor.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&monitor));
    HANDLE reader = CreateThread(nullptr, 0, ReadThread, &monitor, 0, nullptr);
    SetTimer(frame, kDrawTimer, 50, nullptr);
    const ULONGLONG end = GetTickCount64() + milliseconds;
    MSG msg;
    while (GetTickCount64() < end) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0)
            continue;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    monitor.stop = 1;
    if (reader != nullptr) {
        WaitForSingleObject(reader, INFINITE);
        CloseHandle(reader);
    }
    DestroyWindow(frame);
    return monitor.changes;
}

}  // namespace floorbench
