#include "tests/grid_sort/SortTestSupport.h"

#include <map>

namespace sorttest {

// ---- ListMessageLog -------------------------------------------------------------------------

namespace {

std::map<HWND, ListMessageLog*>& Logs()
{
    static std::map<HWND, ListMessageLog*> logs;
    return logs;
}

bool IsGroupTraffic(UINT message)
{
    switch (message) {
        case WM_SETREDRAW:
        case LVM_INSERTGROUP:
        case LVM_SETGROUPINFO:
        case LVM_GETGROUPINFO:
        case LVM_REMOVEGROUP:
        case LVM_REMOVEALLGROUPS:
        case LVM_ENABLEGROUPVIEW:
        case LVM_ISGROUPVIEWENABLED:
        case LVM_GETGROUPCOUNT:
        case LVM_GETGROUPINFOBYINDEX:
        case LVM_GETGROUPRECT:
        case LVM_SORTGROUPS:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool ListMessageLog::Install(HWND hList)
{
    if (hList == nullptr)
        return false;
    m_hWnd = hList;
    Logs()[hList] = this;
    m_original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListMessageLog::Proc)));
    return m_original != nullptr;
}

LRESULT CALLBACK ListMessageLog::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto it = Logs().find(hWnd);
    if (it == Logs().end())
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    ListMessageLog* pLog = it->second;
    WNDPROC original = pLog->m_original;
    if (message >= LVM_FIRST || message == WM_SETREDRAW)
        pLog->messages.push_back({message, wParam, lParam});
    if (message == WM_NCDESTROY)
        Logs().erase(it);
    return ::CallWindowProcW(original, hWnd, message, wParam, lParam);
}

std::vector<ListMessageLog::Message> ListMessageLog::GroupTraffic() const
{
    std::vector<Message> traffic;
    for (const Message& m : messages)
        if (IsGroupTraffic(m.message))
            traffic.push_back(m);
    return traffic;
}

size_t ListMessageLog::Count(UINT message) const
{
    size_t n = 0;
    for (const Message& m : messages)
        n += m.message == message ? 1 : 0;
    return n;
}

// ---- rows -----------------------------------------------------------------------------------

void Fill(CListCtrl& list, int nCols, int nRows)
{
    for (int c = 0; c < nCols; ++c) {
        CString heading;
        heading.Format(L"%c", L'A' + c);
        list.InsertColumn(c, heading, LVCFMT_LEFT, 80);
    }
    for (int r = 0; r < nRows; ++r) {
        CString text;
        text.Format(L"r%d", r);
        list.InsertItem(r, text);
        list.SetItemData(r, static_cast<DWORD_PTR>(100 + r));
        for (int c = 1; c < nCols; ++c) {
            text.Format(L"r%d%c", r, L'a' + c);
            list.SetItemText(r, c, text);
        }
    }
}

std::vector<std::wstring> Column0(CListCtrl& list)
{
    std::vector<std::wstring> texts;
    for (int r = 0; r < list.GetItemCount(); ++r)
        texts.emplace_back(list.GetItemText(r, 0).GetString());
    return texts;
}

std::vector<int> SelectedRows(CListCtrl& list)
{
    std::vector<int> rows;
    for (int r = list.GetNextItem(-1, LVNI_SELECTED); r != -1; r = list.GetNextItem(r, LVNI_SELECTED))
        rows.push_back(r);
    return rows;
}

void SelectRows(CListCtrl& list, const std::vector<int>& rows)
{
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int r : rows)
        list.SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
}

CPoint CellCenter(CListCtrl& list, int nRow, int nCol)
{
    CRect rect;
    list.GetSubItemRect(nRow, nCol, LVIR_LABEL, rect);
    return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

std::wstring ClipboardText()
{
    if (!::OpenClipboard(nullptr))
        return L"<not opened>";
    std::wstring text = L"<none>";
    if (HANDLE hData = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(::GlobalLock(hData))) {
            text = p;
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    return text;
}

bool PutOnClipboard(const std::wstring& text)
{
    if (!::OpenClipboard(nullptr))
        return false;
    ::EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool done = false;
    if (hGlobal != nullptr) {
        ::CopyMemory(::GlobalLock(hGlobal), text.c_str(), bytes);
        ::GlobalUnlock(hGlobal);
        done = ::SetClipboardData(CF_UNICODETEXT, hGlobal) != nullptr;
        if (!done)
            ::GlobalFree(hGlobal);
    }
    ::CloseClipboard();
    return done;
}

// ---- platform -------------------------------------------------------------------------------

namespace {

WORD g_chosenOsVersion = 0;
bool g_commonControls6 = false;

WORD ChosenOsVersion()
{
    return g_chosenOsVersion;
}
bool ChosenCommonControls6()
{
    return g_commonControls6;
}

}  // namespace

PlatformOverride::PlatformOverride(WORD osVersion, bool commonControls6)
{
    g_chosenOsVersion = osVersion;
    g_commonControls6 = commonControls6;
    GridPlatform platform = SystemGridPlatform();
    platform.ReadOsVersion = &ChosenOsVersion;
    platform.IsCommonControls6 = &ChosenCommonControls6;
    m_previous = SetGridPlatform(platform);
}

PlatformOverride::~PlatformOverride()
{
    SetGridPlatform(m_previous);
}

// ---- menus ----------------------------------------------------------------------------------

namespace {

MenuSpy* g_spy = nullptr;

}  // namespace

MenuSpy::MenuSpy()
{
    g_spy = this;
    // The menu's modal loop dispatches the thread's timer messages: the spy looks for the menu
    // window on each tick.
    m_timer = ::SetTimer(nullptr, 0, 20, &MenuSpy::OnTimer);
    // The real menu still runs; the spy only notes what it returned.
    m_previousHandler = AfxSetPopupMenuHandler([this](const AfxPopupMenuCall& call) {
        const UINT chosen = static_cast<UINT>(
            ::TrackPopupMenu(call.hMenu, call.nFlags | TPM_RETURNCMD, call.x, call.y, 0, call.hWndOwner, nullptr));
        returned.push_back(chosen);
        return chosen;
    });
}

MenuSpy::~MenuSpy()
{
    if (m_timer != 0)
        ::KillTimer(nullptr, m_timer);
    AfxSetPopupMenuHandler(std::move(m_previousHandler));
    g_spy = nullptr;
}

BOOL CALLBACK MenuSpy::FindMenu(HWND hWnd, LPARAM lParam)
{
    wchar_t name[16] = {};
    if (::IsWindowVisible(hWnd) && ::GetClassNameW(hWnd, name, 16) && lstrcmpW(name, L"#32768") == 0) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK MenuSpy::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_spy == nullptr)
        return;
    HWND hWndMenu = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &MenuSpy::FindMenu, reinterpret_cast<LPARAM>(&hWndMenu));
    if (hWndMenu == nullptr) {
        g_spy->m_handled = nullptr;
        return;
    }
    if (hWndMenu != g_spy->m_handled) {
        g_spy->m_handled = hWndMenu;
        g_spy->m_done = false;
        g_spy->OnMenuStart(hWndMenu);
    }
    if (!g_spy->m_done)
        g_spy->Steer(hWndMenu);
}

void MenuSpy::OnMenuStart(HWND hWndMenu)
{
    HMENU hMenu = reinterpret_cast<HMENU>(::SendMessageW(hWndMenu, MN_GETHMENU, 0, 0));
    menus.push_back(gridhost::ReadMenu(hMenu));
    if (onShow)
        onShow();
}

void MenuSpy::Steer(HWND hWndMenu)
{
    // As the user would with the keyboard: Home selects the first item, Down goes on to the item
    // (separators are passed over), and Enter is pressed once the item shows as selected (a
    // mouse move over the menu may select another one or none); Escape when nothing is chosen.
    HMENU hMenu = reinterpret_cast<HMENU>(::SendMessageW(hWndMenu, MN_GETHMENU, 0, 0));
    const std::vector<MenuItem>& items = menus.back();
    int position = -1;
    int steps = 0;
    for (size_t i = 0; i < items.size() && position == -1; ++i) {
        if (m_choice != 0 && items[i].id == m_choice)
            position = static_cast<int>(i);
        else if (items[i].id != 0)
            ++steps;
    }
    if (position == -1) {
        ::PostMessageW(hWndMenu, WM_KEYDOWN, VK_ESCAPE, 0);
        m_done = true;
        return;
    }
    if (::GetMenuState(hMenu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) {
        ::PostMessageW(hWndMenu, WM_KEYDOWN, VK_RETURN, 0);
        m_done = true;
        return;
    }
    ::PostMessageW(hWndMenu, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < steps; ++i)
        ::PostMessageW(hWndMenu, WM_KEYDOWN, VK_DOWN, 0);
}

// ---- the user's mouse -----------------------------------------------------------------------

void ClickMouse(POINT screen, DWORD down, DWORD up)
{
    SendMouse(screen, down);
    SendMouse(screen, up);
}

Hand::Hand(POINT from, POINT to, bool escape, std::function<bool()> arrived)
    : m_from(from), m_to(to), m_escape(escape), m_arrived(std::move(arrived))
{
    m_thread = ::CreateThread(nullptr, 0, &Hand::Run, this, 0, nullptr);
}

Hand::~Hand()
{
    ::WaitForSingleObject(m_thread, 3 * kHandWaitMs);
    ::CloseHandle(m_thread);
}

namespace {

// The hand's own moves: the test's thread is inside the drag, so the hand waits on the cursor.
void MoveHandTo(POINT at)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kHandWaitMs) {
        SendMouse(at, 0);
        ::Sleep(20);
        POINT now = {};
        if (::GetCursorPos(&now) && now.x == at.x && now.y == at.y)
            return;
    }
}

}  // namespace

DWORD WINAPI Hand::Run(LPVOID p)
{
    auto* self = static_cast<Hand*>(p);
    MoveHandTo(self->m_from);
    SendMouse(self->m_from, MOUSEEVENTF_LEFTDOWN);
    ::Sleep(100);
    for (int step = 1; step <= 10; ++step) {
        SendMouse({self->m_from.x + (self->m_to.x - self->m_from.x) * step / 10,
                   self->m_from.y + (self->m_to.y - self->m_from.y) * step / 10},
                  0);
        ::Sleep(60);
    }
    // The hand stays on the place: a pointer crossing from before, handed on late by the
    // desktop's own process on a busy machine, can put the cursor back on an earlier step.
    const DWORD start = ::GetTickCount();
    DWORD sent = start;
    while (!self->m_arrived() && ::GetTickCount() - start < kHandWaitMs) {
        if (::GetTickCount() - sent > 200) {
            SendMouse(self->m_to, 0);
            sent = ::GetTickCount();
        }
        ::Sleep(30);
    }
    if (self->m_escape) {
        outside::SendKey(VK_ESCAPE, 0, 0);
        outside::SendKey(VK_ESCAPE, 0, KEYEVENTF_KEYUP);
        ::Sleep(200);
    }
    SendMouse(self->m_to, MOUSEEVENTF_LEFTUP);
    ::Sleep(200);
    return 0;
}

void DragWithTheMouse(POINT from, POINT to, std::function<bool()> arrived, bool escape)
{
    Hand hand(from, to, escape, std::move(arrived));
    const DWORD start = ::GetTickCount();
    while (!hand.Done() && ::GetTickCount() - start < 3 * kHandWaitMs) {
        uitest::PumpMessages();
        ::Sleep(5);
    }
    uitest::PumpMessages();
    EXPECT_TRUE(hand.Done()) << "the hand is done";
}

}  // namespace sorttest
