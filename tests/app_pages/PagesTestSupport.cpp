#include "tests/app_pages/PagesTestSupport.h"

#include "contract/DriverInterface.h"

#include <string.h>

namespace {

const wchar_t kParameters[] = L"SYSTEM\\CurrentControlSet\\Services\\svtmf3\\Parameters";

std::wstring SubkeyPath(unsigned com)
{
    wchar_t path[128];
    _snwprintf(path, 128, L"%s\\%04u", kParameters, com);
    return path;
}

std::wstring DevicePath(unsigned com)
{
    wchar_t path[160];
    _snwprintf(path, 160, L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3\\*PNP0501\\%08X\\Device Parameters", com);
    return path;
}

bool ReadDword(const std::wstring& key, const wchar_t* name, DWORD& value)
{
    DWORD size = sizeof(value);
    return ::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

bool ReadString(const std::wstring& key, const wchar_t* name, std::wstring& text)
{
    DWORD size = 0;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, &buffer[0], &size) !=
        ERROR_SUCCESS)
        return false;
    text = buffer.c_str();
    return true;
}

MessageRecorder* g_recorder = nullptr;

LRESULT CALLBACK RecordMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_recorder != nullptr) {
        MessageRecorder::Event event = {msg->hwnd, msg->message, msg->wParam, msg->lParam, L"", -1, -1};
        bool keep = false;
        if (msg->hwnd == g_hMainWnd && msg->message == WM_PORT_IN_USE) {
            keep = true;
        } else if (msg->hwnd == g_statusBar.m_hWnd && msg->message == SB_SETTEXTW) {
            event.text = reinterpret_cast<const wchar_t*>(msg->lParam);
            keep = true;
        } else if (msg->hwnd == g_monitorDlg.m_list.m_hWnd && msg->message == LVM_SETITEMW) {
            const LVITEMW* item = reinterpret_cast<const LVITEMW*>(msg->lParam);
            event.item = item->iItem;
            event.subItem = item->iSubItem;
            keep = true;
        }
        if (keep)
            g_recorder->events.push_back(event);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK RecordPostedTick(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && g_recorder != nullptr && msg->hwnd == g_monitorDlg.m_hWnd &&
        msg->message == WM_MONITOR_TICK)
        g_recorder->events.push_back({msg->hwnd, msg->message, msg->wParam, msg->lParam, L"", -1, -1});
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void PagesTest::SetUp()
{
    SimMachineTest::SetUp();
    app.m_pMainWnd = &dlg;
    g_currentTab = 0;
    for (auto& state : g_lineStateTable)
        state = 0;
    for (auto& drawn : g_prevLineStateTable)
        drawn = 0;
}

HWND PortListWnd()
{
    return g_portInfoDlg.m_list.m_hWnd;
}
HWND MonitorListWnd()
{
    return g_monitorDlg.m_list.m_hWnd;
}

bool PageSwallowsKey(CWnd& page, HWND hTarget, UINT vk)
{
    MSG msg = {hTarget, WM_KEYDOWN, vk, 1, 0, {0, 0}};
    return page.PreTranslateMessage(&msg) != FALSE;
}

void SelectTab(HWND hDlg, int index)
{
    HWND hTab = ::GetDlgItem(hDlg, IDC_TAB);
    RECT item = {};
    ASSERT_TRUE(::SendMessageW(hTab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    uitest::ClickAt(hTab, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

int CellImage(HWND hList, int row, int column)
{
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    if (!::SendMessageW(hList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return -100;
    return item.iImage;
}

void SetCellText(HWND hList, int row, int column, const wchar_t* text)
{
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text);
    ::SendMessageW(hList, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SelectRows(HWND hList, const std::vector<int>& rows)
{
    ListView_SetItemState(hList, -1, 0, LVIS_SELECTED);
    for (int row : rows)
        ListView_SetItemState(hList, row, LVIS_SELECTED, LVIS_SELECTED);
}

std::vector<std::wstring> HeaderTitles(HWND hList)
{
    std::vector<std::wstring> titles;
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageW(hList, LVM_GETHEADER, 0, 0));
    const int count = static_cast<int>(::SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 64;
        ::SendMessageW(hList, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        titles.push_back(text);
    }
    return titles;
}

std::vector<int> ColumnWidths(HWND hList)
{
    std::vector<int> widths;
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageW(hList, LVM_GETHEADER, 0, 0));
    const int count = static_cast<int>(::SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        widths.push_back(static_cast<int>(::SendMessageW(hList, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0)));
    return widths;
}

bool ReadPortDword(unsigned com, const wchar_t* name, DWORD& value)
{
    return ReadDword(SubkeyPath(com), name, value);
}
bool ReadDeviceDword(unsigned com, const wchar_t* name, DWORD& value)
{
    return ReadDword(DevicePath(com), name, value);
}
bool ReadPortString(unsigned com, const wchar_t* name, std::wstring& text)
{
    return ReadString(SubkeyPath(com), name, text);
}
bool ReadDeviceString(unsigned com, const wchar_t* name, std::wstring& text)
{
    return ReadString(DevicePath(com), name, text);
}

::testing::AssertionResult WritePortDword(unsigned com, const wchar_t* name, DWORD value)
{
    const LSTATUS status =
        ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, SubkeyPath(com).c_str(), name, REG_DWORD, &value, sizeof(value));
    if (status != ERROR_SUCCESS)
        return ::testing::AssertionFailure() << "writing a DWORD of COM" << com << " failed: " << status;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WritePortString(unsigned com, const wchar_t* name, const std::wstring& text)
{
    const LSTATUS status = ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, SubkeyPath(com).c_str(), name, REG_SZ, text.c_str(),
                                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS)
        return ::testing::AssertionFailure() << "writing a text of COM" << com << " failed: " << status;
    return ::testing::AssertionSuccess();
}

MessageRecorder::MessageRecorder()
{
    g_recorder = this;
    m_hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, &RecordMessage, nullptr, ::GetCurrentThreadId());
    m_hGetHook = ::SetWindowsHookExW(WH_GETMESSAGE, &RecordPostedTick, nullptr, ::GetCurrentThreadId());
}

MessageRecorder::~MessageRecorder()
{
    if (m_hHook != nullptr)
        ::UnhookWindowsHookEx(m_hHook);
    if (m_hGetHook != nullptr)
        ::UnhookWindowsHookEx(m_hGetHook);
    g_recorder = nullptr;
}

size_t MessageRecorder::Count(HWND hWnd, UINT message) const
{
    size_t count = 0;
    for (const Event& event : events)
        count += event.hWnd == hWnd && event.message == message;
    return count;
}
