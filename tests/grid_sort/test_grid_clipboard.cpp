// The selection as text and on the clipboard: titles, tabs, line ends, hidden and reordered
// columns, the focus cell alone, and a clipboard that keeps what it had when nothing is copied.
#include "tests/grid_sort/SortTestSupport.h"
#include "tests/support/HeldKeys.h"

using namespace sorttest;

namespace {

class GridCopying : public ListFixture<SortGrid> {
protected:
    void SetUp() override
    {
        ListFixture<SortGrid>::SetUp();
        Fill(grid, 3, 6);  // columns A, B, C; cells r0, r0b, r0c ...
    }
};

// Holds the clipboard open from another thread, as another program would.
class ClipboardHolder {
public:
    ClipboardHolder()
    {
        m_opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = ::CreateThread(nullptr, 0, &ClipboardHolder::Run, this, 0, nullptr);
        ::WaitForSingleObject(m_opened, uitest::kGenerousWaitMs);
    }
    ~ClipboardHolder()
    {
        ::SetEvent(m_release);
        ::WaitForSingleObject(m_thread, uitest::kGenerousWaitMs);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_opened);
        ::CloseHandle(m_release);
    }
    bool held = false;

private:
    static DWORD WINAPI Run(LPVOID p)
    {
        auto* self = static_cast<ClipboardHolder*>(p);
        HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        self->held = ::OpenClipboard(hWnd) != FALSE;
        ::SetEvent(self->m_opened);
        ::WaitForSingleObject(self->m_release, uitest::kGenerousWaitMs);
        if (self->held)
            ::CloseClipboard();
        ::DestroyWindow(hWnd);
        return 0;
    }
    HANDLE m_opened = nullptr;
    HANDLE m_release = nullptr;
    HANDLE m_thread = nullptr;
};

}  // namespace

TEST_F(GridCopying, CopiesTitlesAndTheSelectedRowsWithTabsBetweenCellsAndLineEndsBetweenLines)
{
    SelectRows(grid, {4, 1, 2});
    ASSERT_TRUE(PutOnClipboard(L"keep"));
    grid.CopySelectionToClipboard();
    EXPECT_EQ(L"A\tB\tC\r\nr1\tr1b\tr1c\r\nr2\tr2b\tr2c\r\nr4\tr4b\tr4c", ClipboardText());

    CString text;
    EXPECT_TRUE(grid.GetSelectionTextNoTitles(text));
    EXPECT_EQ(L"r1\tr1b\tr1c\r\nr2\tr2b\tr2c\r\nr4\tr4b\tr4c", std::wstring(text.GetString()));
}

TEST_F(GridCopying, CtrlCCopiesTheSelection)
{
    SelectRows(grid, {2});
    ASSERT_TRUE(PutOnClipboard(L"keep"));
    grid.SetFocus();
    {
        uitest::HeldKeys ctrl{VK_CONTROL};
        ASSERT_TRUE(ctrl.ok());
        uitest::PressKey(grid.m_hWnd, 'C');
        uitest::PumpMessages();
    }
    EXPECT_EQ(L"A\tB\tC\r\nr2\tr2b\tr2c", ClipboardText());
}

TEST_F(GridCopying, LeavesHiddenColumnsOutAndKeepsTheDisplayOrder)
{
    SelectRows(grid, {1});
    ASSERT_TRUE(grid.ShowColumn(1, false));
    CString text;
    ASSERT_TRUE(grid.GetSelectionText(text, true));
    EXPECT_EQ(L"A\tC\r\nr1\tr1c", std::wstring(text.GetString()));

    ASSERT_TRUE(grid.ShowColumn(1, true));
    int order[] = {2, 0, 1};
    ASSERT_TRUE(grid.SetColumnOrderArray(3, order));
    text.Empty();
    ASSERT_TRUE(grid.GetSelectionText(text, true));
    EXPECT_EQ(L"C\tA\tB\r\nr1c\tr1\tr1b", std::wstring(text.GetString()));
}

TEST_F(GridCopying, OneSelectedRowWithAFocusCellCopiesThatCellAlone)
{
    SelectRows(grid, {3});
    grid.setFocusColumn(2);
    grid.CopySelectionToClipboard();
    EXPECT_EQ(L"r3c", ClipboardText());

    // Without a focus cell the row comes with the titles.
    grid.setFocusColumn(-1);
    grid.CopySelectionToClipboard();
    EXPECT_EQ(L"A\tB\tC\r\nr3\tr3b\tr3c", ClipboardText());
}

TEST_F(GridCopying, TheFocusCellIsTakenFromTheSelectedRowWhereverTheSelectionMarkIs)
{
    SelectRows(grid, {3});
    grid.SetSelectionMark(5);
    grid.setFocusColumn(1);
    CString text;
    ASSERT_TRUE(grid.GetSelectionText(text, true));
    EXPECT_EQ(L"r3b", std::wstring(text.GetString()));

    // No mark at all: still the selected row's cell, never the column's title.
    grid.SetSelectionMark(-1);
    ASSERT_TRUE(grid.GetSelectionText(text, true));
    EXPECT_EQ(L"r3b", std::wstring(text.GetString()));
}

TEST_F(GridCopying, EmptyCellsKeepTheirTabs)
{
    grid.SetItemText(0, 0, L"");
    grid.SetItemText(0, 1, L"");
    grid.SetItemText(0, 2, L"x");
    grid.SetItemText(1, 0, L"");
    CString row0;
    CString row1;
    EXPECT_TRUE(grid.GetRowText(0, row0));
    EXPECT_TRUE(grid.GetRowText(1, row1));
    EXPECT_EQ(L"\t\tx", std::wstring(row0.GetString()));
    EXPECT_EQ(L"\tr1b\tr1c", std::wstring(row1.GetString()));
}

TEST_F(GridCopying, NothingSelectedLeavesTheClipboardAndTheTextAlone)
{
    SelectRows(grid, {});
    ASSERT_TRUE(PutOnClipboard(L"keep"));
    grid.CopySelectionToClipboard();
    EXPECT_EQ(L"keep", ClipboardText());
    EXPECT_EQ(0, grid.SendMessage(WM_COPY));
    EXPECT_EQ(L"keep", ClipboardText());

    CString text(L"as passed");
    EXPECT_FALSE(grid.GetSelectionText(text, true));
    EXPECT_EQ(L"as passed", std::wstring(text.GetString()));
}

TEST_F(GridCopying, AClipboardHeldByAnotherProgramIsLeftAsItIs)
{
    SelectRows(grid, {1});
    ASSERT_TRUE(PutOnClipboard(L"keep"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.held);
        grid.CopySelectionToClipboard();
    }
    EXPECT_EQ(L"keep", ClipboardText());
}

TEST_F(GridCopying, WmCopyCopiesAndAnswersAsTheListDoes)
{
    SelectRows(grid, {5});
    EXPECT_EQ(0, grid.SendMessage(WM_COPY));
    EXPECT_EQ(L"A\tB\tC\r\nr5\tr5b\tr5c", ClipboardText());
}

namespace {

class GridWithoutColumns : public ListFixture<SortGrid> {};

}  // namespace

TEST_F(GridWithoutColumns, ARowWithoutColumnsHasNoText)
{
    grid.InsertItem(0, L"r0");
    CString text(L"before");
    EXPECT_TRUE(grid.GetRowText(0, text));
    EXPECT_EQ(L"before", std::wstring(text.GetString()));
}
