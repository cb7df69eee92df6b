#include "tests/grid/GridTestSupport.h"

// The operator new and delete below allocate with malloc and free with free; inlined into a
// caller, they show the optimiser a malloc'd pointer going to operator delete, which it reports
// as a mismatch although the two are one pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace gridtest {

std::vector<int>& DeletionLog()
{
    static std::vector<int> log;
    return log;
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
