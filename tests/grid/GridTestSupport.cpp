#include "tests/grid/GridTestSupport.h"

#include "tests/support/DialogTemplate.h"

namespace gridtest {

// clang-format off
BEGIN_MESSAGE_MAP(GridHost, CDialog)
    ON_NOTIFY(LVN_ENDLABELEDITW, kListId, &GridHost::OnEndLabelEdit)
    ON_NOTIFY(NM_CUSTOMDRAW, kListId, &GridHost::OnCustomDraw)
    ON_NOTIFY(NM_CLICK, kListId, &GridHost::OnClick)
    ON_NOTIFY(LVN_GETDISPINFOW, kListId, &GridHost::OnGetDispInfo)
END_MESSAGE_MAP()
// clang-format on

bool GridHost::Make(DWORD listStyle, const wchar_t* font, WORD points)
{
    static std::vector<uitest::DialogTemplate> templates;  // must outlive the dialogs
    templates.emplace_back(WS_POPUP | WS_CAPTION | WS_VISIBLE, 320, 200, L"Grid", font, points);
    templates.back()
        .Control(L"SysListView32", L"", kListId, listStyle | WS_TABSTOP | WS_BORDER, 5, 5, 300, 150)
        .Control(L"Edit", L"", kNextId, WS_TABSTOP | WS_BORDER, 5, 170, 100, 14);
    if (!CreateIndirect(templates.back().Get(), nullptr))
        return false;
    SetWindowPos(nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    return true;
}

void GridHost::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    const auto* pInfo = reinterpret_cast<const NMLVDISPINFOW*>(pNMHDR);
    EndEdit edit;
    edit.mask = pInfo->item.mask;
    edit.item = pInfo->item.iItem;
    edit.subItem = pInfo->item.iSubItem;
    edit.textNull = pInfo->item.pszText == nullptr;
    if (!edit.textNull)
        edit.text = pInfo->item.pszText;
    edit.cchTextMax = pInfo->item.cchTextMax;
    edit.lParam = pInfo->item.lParam;
    edit.image = pInfo->item.iImage;
    edit.hwndFrom = pInfo->hdr.hwndFrom;
    edit.idFrom = pInfo->hdr.idFrom;
    endEdits.push_back(edit);
}

void GridHost::OnCustomDraw(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    ++customDrawSeen;
}

void GridHost::OnClick(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    ++clicksSeen;
    clickResultSeen = *pResult;
}

void GridHost::OnGetDispInfo(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    ++dispInfoSeen;
}

std::vector<int>& DeletionLog()
{
    static std::vector<int> log;
    return log;
}

void GridFixture::SetUp()
{
    DeletionLog().clear();
    ASSERT_TRUE(host.Make());
    ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
    uitest::PumpMessages();
}

void GridFixture::TearDown()
{
    if (host.m_hWnd != nullptr)
        host.DestroyWindow();
    uitest::PumpMessages();
    AfxCleanupTempMap();
}

void GridFixture::Fill(int nCols, int nRows)
{
    for (int c = 0; c < nCols; ++c) {
        CString heading;
        heading.Format(L"%c", L'A' + c);
        grid.InsertColumn(c, heading, LVCFMT_LEFT, 80);
    }
    for (int r = 0; r < nRows; ++r) {
        for (int c = 0; c < nCols; ++c) {
            CString text;
            text.Format(L"r%d-c%d", r, c);
            if (c == 0)
                grid.InsertItem(r, text);
            else
                grid.SetItemText(r, c, text);
        }
    }
}

NMLVCUSTOMDRAW MakeCustomDraw(const CWnd& grid, DWORD stage, int nRow, int nCol, HDC hDC)
{
    NMLVCUSTOMDRAW cd = {};
    cd.nmcd.hdr.hwndFrom = grid.m_hWnd;
    cd.nmcd.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(grid.m_hWnd));
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = hDC;
    cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(nRow);
    cd.nmcd.rc = RECT{0, 0, 80, 16};
    cd.iSubItem = nCol;
    cd.clrText = CLR_DEFAULT;
    cd.clrTextBk = CLR_DEFAULT;
    return cd;
}

MemoryCanvas::MemoryCanvas()
{
    HDC hScreen = ::GetDC(nullptr);
    m_hDC = ::CreateCompatibleDC(hScreen);
    m_hBitmap = ::CreateCompatibleBitmap(hScreen, 200, 100);
    ::ReleaseDC(nullptr, hScreen);
    m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    RECT all = {0, 0, 200, 100};
    ::FillRect(m_hDC, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

MemoryCanvas::~MemoryCanvas()
{
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
}

LONG FontHeight(HFONT hFont)
{
    LOGFONTW lf = {};
    if (hFont == nullptr || ::GetObjectW(hFont, sizeof lf, &lf) == 0)
        return 0;
    return lf.lfHeight;
}

LONG FontHeight(HWND hWnd)
{
    return FontHeight(reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)));
}

}  // namespace gridtest

// ---- counting allocations ------------------------------------------------------------------------

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_liveAllocations{0};
}

long gridtest::LiveAllocations()
{
    return g_liveAllocations.load();
}

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    ++g_liveAllocations;
    return p;
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* p) noexcept
{
    if (p == nullptr)
        return;
    --g_liveAllocations;
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    operator delete(p);
}
