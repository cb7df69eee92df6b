// The report list tests' host dialog, fixture and helpers.
#include "ReportHost.h"

#include <atomic>
#include <cstdlib>
#include <new>

// The operator new and delete below allocate with malloc and free with free; inlined into a
// caller, they show the optimiser a malloc'd pointer going to operator delete, which it reports
// as a mismatch although the two are one pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

void PushDword(std::vector<WORD>& t, DWORD value)
{
    t.push_back(LOWORD(value));
    t.push_back(HIWORD(value));
}

void PushText(std::vector<WORD>& t, const wchar_t* text)
{
    do
        t.push_back(static_cast<WORD>(*text));
    while (*text++ != L'\0');
}

void PushCoordinates(std::vector<WORD>& t, short x, short y, short cx, short cy)
{
    for (short v : {x, y, cx, cy})
        t.push_back(static_cast<WORD>(v));
}

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(ReportHostDlg, CDialog)
    ON_MESSAGE(WM_REPORT_SORTED, &ReportHostDlg::OnReportSorted)
    ON_NOTIFY_RANGE(NM_CUSTOMDRAW, kReportListId, kPlainListId, &ReportHostDlg::OnListNotify)
    ON_NOTIFY_RANGE(LVN_COLUMNCLICK, kReportListId, kPlainListId, &ReportHostDlg::OnListNotify)
    ON_NOTIFY_RANGE(NM_CLICK, kReportListId, kPlainListId, &ReportHostDlg::OnListNotify)
    ON_NOTIFY_RANGE(NM_DBLCLK, kReportListId, kPlainListId, &ReportHostDlg::OnListNotify)
    ON_NOTIFY_RANGE(NM_RCLICK, kReportListId, kPlainListId, &ReportHostDlg::OnListNotify)
    ON_NOTIFY_RANGE(NM_RDBLCLK, kReportListId, kPlainListId, &ReportHostDlg::OnListNotify)
END_MESSAGE_MAP()
// clang-format on

ReportHostDlg::ReportHostDlg(DWORD listStyle, bool withPlainList)
{
    PushDword(m_template, WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT);
    PushDword(m_template, 0);
    m_template.push_back(withPlainList ? 2 : 1);
    PushCoordinates(m_template, 10, 10, 420, 170);
    m_template.push_back(0);  // no menu
    m_template.push_back(0);  // the dialog class
    PushText(m_template, L"Report list");
    m_template.push_back(8);
    PushText(m_template, L"MS Shell Dlg");
    for (UINT id = kReportListId; id <= (withPlainList ? kPlainListId : kReportListId); ++id) {
        if (m_template.size() % 2 != 0)
            m_template.push_back(0);  // items start on a DWORD boundary
        PushDword(m_template, WS_CHILD | WS_VISIBLE | listStyle);
        PushDword(m_template, 0);
        PushCoordinates(m_template, static_cast<short>(5 + (id - kReportListId) * 205), 5, 200, 150);
        m_template.push_back(static_cast<WORD>(id));
        PushText(m_template, L"SysListView32");
        PushText(m_template, L"");
        m_template.push_back(0);  // no creation data
    }
}

LRESULT ReportHostDlg::OnReportSorted(WPARAM wParam, LPARAM lParam)
{
    sorted.emplace_back(wParam, lParam);
    return 0;
}

void ReportHostDlg::OnListNotify(UINT, NMHDR* pNMHDR, LRESULT*)
{
    notifications.push_back(pNMHDR->code);
}

// ---- the fixture ------------------------------------------------------------------------------

void ReportListTest::SetUp()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
}

void ReportListTest::TearDown()
{
    if (host && host->m_hWnd != nullptr)
        host->DestroyWindow();
    PumpMessages();
}

void ReportListTest::Open(DWORD listStyle, bool withPlainList)
{
    host = std::make_unique<ReportHostDlg>(listStyle, withPlainList);
    ASSERT_TRUE(host->CreateHost());
    ASSERT_TRUE(list.SubclassDlgItem(kReportListId, host.get()));
}

void ReportListTest::AddColumns(std::initializer_list<const wchar_t*> headings)
{
    for (const wchar_t* heading : headings) {
        const int col = list.GetHeaderCtrl()->GetItemCount();
        ASSERT_EQ(col, list.InsertColumn(col, heading, LVCFMT_LEFT, 60)) << heading;
    }
}

void ReportListTest::FillRows(const std::vector<std::vector<const wchar_t*>>& rows)
{
    for (const auto& texts : rows) {
        const int row = list.InsertItem(list.GetItemCount(), texts[0]);
        ASSERT_GE(row, 0);
        for (size_t col = 1; col < texts.size(); ++col)
            list.SetItemText(row, static_cast<int>(col), texts[col]);
    }
}

std::vector<CString> ReportListTest::ColumnTexts(int nCol) const
{
    std::vector<CString> texts;
    for (int row = 0; row < list.GetItemCount(); ++row)
        texts.push_back(list.GetItemText(row, nCol));
    return texts;
}

int ReportListTest::CellImage(int nItem, int nSubItem) const
{
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    return list.GetItem(&item) ? item.iImage : -100;
}

// ---- helpers ----------------------------------------------------------------------------------

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        if (!AfxPumpMessage())
            break;
}

void ClickHeader(HWND hWndList, int nCol)
{
    HWND hWndHeader = reinterpret_cast<HWND>(::SendMessageW(hWndList, LVM_GETHEADER, 0, 0));
    RECT rc = {};
    ::SendMessageW(hWndHeader, HDM_GETITEMRECT, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&rc));
    const LPARAM pt = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(hWndHeader, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    ::SendMessageW(hWndHeader, WM_LBUTTONUP, 0, pt);
    PumpMessages();
}

// ---- the watch on freed pointers --------------------------------------------------------------

namespace {

const int kWatchSlots = 16;
std::atomic<const void*> g_watched[kWatchSlots];
std::atomic<int> g_frees[kWatchSlots];
std::atomic<int> g_nextSlot{0};

}  // namespace

void WatchPointer(const void* p)
{
    const int slot = g_nextSlot++ % kWatchSlots;
    g_frees[slot] = 0;
    g_watched[slot] = p;
}

int FreeCount(const void* p)
{
    for (int i = 0; i < kWatchSlots; ++i)
        if (g_watched[i].load() == p)
            return g_frees[i].load();
    return -1;
}

void* operator new(std::size_t size)
{
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    for (int i = 0; p != nullptr && i < kWatchSlots; ++i)
        if (g_watched[i].load() == p)
            ++g_frees[i];
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}
