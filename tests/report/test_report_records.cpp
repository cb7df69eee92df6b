// The rows' colour records and how the list draws them.
#include "ReportHost.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Sends a custom-draw notification of the list through its parent, as the list view does;
// returns what reaches the list view.
LRESULT SendCustomDraw(HWND hWndParent, HWND hWndList, NMLVCUSTOMDRAW& draw, DWORD stage, int nSubItem = 0)
{
    draw.nmcd.hdr.hwndFrom = hWndList;
    draw.nmcd.hdr.idFrom = kReportListId;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = stage;
    draw.iSubItem = nSubItem;
    return ::SendMessageW(hWndParent, WM_NOTIFY, kReportListId, reinterpret_cast<LPARAM>(&draw));
}

// The pixel that the list paints at a point of a cell's background, away from its text.
COLORREF PaintedCellBackground(HWND hWndList, int nItem, int nSubItem)
{
    RECT cell = {LVIR_LABEL, nSubItem, 0, 0};
    ::SendMessageW(hWndList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&cell));
    RECT client;
    ::GetClientRect(hWndList, &client);
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, client.right, client.bottom);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    ::SendMessageW(hWndList, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF color = ::GetPixel(hDC, cell.right - 4, (cell.top + cell.bottom) / 2);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    return color;
}

}  // namespace

TEST_F(ReportListTest, InsertingAColumnMovesTheLaterColumnsColours)
{
    Open();
    AddColumns({L"A", L"B", L"C"});
    FillRows({{L"1"}, {L"2"}});
    ASSERT_NE(Record(0), Record(1));
    Record(0)->bkColors[2] = kRed;
    Record(0)->textColors[2] = kBlue;
    Record(0)->textColors[1] = kRed;  // moves on to 2, past the new column's default

    ASSERT_EQ(1, list.InsertColumn(1, L"New", LVCFMT_LEFT, 40));

    for (int row = 0; row < 2; ++row) {
        ASSERT_EQ(4, Record(row)->bkColors.GetSize());
        ASSERT_EQ(4, Record(row)->textColors.GetSize());
        for (int col = 0; col < 4; ++col) {
            if (row == 0 && col == 3)
                continue;
            EXPECT_EQ(::GetSysColor(COLOR_WINDOW), Record(row)->bkColors[col]) << row << " " << col;
            const COLORREF text = row == 0 && col == 2 ? kRed : ::GetSysColor(COLOR_WINDOWTEXT);
            EXPECT_EQ(text, Record(row)->textColors[col]) << row << " " << col;
        }
    }
    EXPECT_EQ(kRed, Record(0)->bkColors[3]);
    EXPECT_EQ(kBlue, Record(0)->textColors[3]);

    // A column beyond a record's end leaves the colours between as the list's own.
    list.ResetColumnColors(6);
    ASSERT_EQ(7, Record(0)->bkColors.GetSize());
    EXPECT_EQ(CLR_NONE, Record(0)->bkColors[4]);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), Record(0)->bkColors[6]);
}

TEST_F(ReportListTest, DeletingAllRowsFreesEveryRecord)
{
    Open();
    AddColumns({L"A", L"B"});
    FillRows({{L"1"}, {L"2"}, {L"3"}, {L"4"}});
    const ReportRowData* records[4] = {Record(0), Record(1), Record(2), Record(3)};
    for (const ReportRowData* record : records)
        WatchPointer(record);
    ASSERT_TRUE(list.DeleteItem(3));  // the plain list call leaves its record behind

    EXPECT_EQ(3, list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
    for (const ReportRowData* record : records)
        EXPECT_EQ(1, FreeCount(record));
    EXPECT_EQ(0, list.DeleteAllItems());
}

TEST_F(ReportListTest, AttachingARecordAgainFreesTheOldOneOnly)
{
    Open();
    AddColumns({L"A"});
    // The monitor's way: insert a row, then attach its record.
    const int row = list.InsertItem(0, L"1", -1);
    const ReportRowData* first = Record(row);
    WatchPointer(first);
    list.AttachRowData(row);
    EXPECT_NE(first, Record(row));
    EXPECT_EQ(1, FreeCount(first));

    // Item data the list did not make is replaced, never freed or read as colours.
    ReportRowData foreign;
    foreign.bkColors.Add(kRed);
    WatchPointer(&foreign);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 1;
    item.pszText = const_cast<LPWSTR>(L"x");
    item.lParam = reinterpret_cast<LPARAM>(&foreign);
    ASSERT_EQ(1, static_cast<CListCtrl&>(list).InsertItem(&item));
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.lItemlParam = item.lParam;
    SendCustomDraw(*host, list, draw, CDDS_SUBITEM | CDDS_ITEMPREPAINT);
    EXPECT_EQ(list.GetTextBkColor(), draw.clrTextBk);
    list.ResetColumnColors(0);
    EXPECT_EQ(1, foreign.bkColors.GetSize());
    list.AttachRowData(1);
    EXPECT_NE(reinterpret_cast<DWORD_PTR>(&foreign), list.GetItemData(1));
    EXPECT_EQ(2, list.DeleteAllItems());
    EXPECT_EQ(0, FreeCount(&foreign));
}

TEST_F(ReportListTest, DeletingAllRowsLeavesAnotherWindowsUpdateLockAlone)
{
    Open();
    AddColumns({L"A"});
    FillRows({{L"1"}});
    HWND hWndOther = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hWndOther);
    ASSERT_TRUE(::LockWindowUpdate(hWndOther));

    EXPECT_EQ(1, list.DeleteAllItems());

    EXPECT_FALSE(::LockWindowUpdate(*host));  // still locked by the other window
    EXPECT_TRUE(::LockWindowUpdate(nullptr));
    ::DestroyWindow(hWndOther);
}

TEST_F(ReportListTest, CustomDrawGivesEachCellItsRecordsColoursOrTheLists)
{
    Open();
    AddColumns({L"A", L"B", L"C"});
    FillRows({{L"1", L"x", L"y"}});
    Record(0)->textColors[2] = kBlue;
    Record(0)->bkColors[2] = kRed;
    list.SetTextColor(RGB(1, 2, 3));
    list.SetTextBkColor(RGB(4, 5, 6));

    NMLVCUSTOMDRAW draw = {};
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, SendCustomDraw(*host, list, draw, CDDS_PREPAINT));
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, ::GetWindowLongPtrW(*host, DWLP_MSGRESULT));
    draw.nmcd.lItemlParam = static_cast<LPARAM>(list.GetItemData(0));
    EXPECT_EQ(CDRF_NOTIFYSUBITEMDRAW, SendCustomDraw(*host, list, draw, CDDS_ITEMPREPAINT));
    EXPECT_EQ(CDRF_DODEFAULT, SendCustomDraw(*host, list, draw, CDDS_SUBITEM | CDDS_ITEMPREPAINT, 2));
    EXPECT_EQ(kBlue, draw.clrText);
    EXPECT_EQ(kRed, draw.clrTextBk);
    // The next cell gets its own colours, not the ones left from the cell before.
    SendCustomDraw(*host, list, draw, CDDS_SUBITEM | CDDS_ITEMPREPAINT, 1);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), draw.clrText);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), draw.clrTextBk);
    // Beyond the record, or without one, the list's own colours.
    draw.clrTextBk = kRed;
    SendCustomDraw(*host, list, draw, CDDS_SUBITEM | CDDS_ITEMPREPAINT, 5);
    EXPECT_EQ(RGB(4, 5, 6), draw.clrTextBk);
    draw.nmcd.lItemlParam = 0;
    draw.clrText = kBlue;
    SendCustomDraw(*host, list, draw, CDDS_SUBITEM | CDDS_ITEMPREPAINT, 2);
    EXPECT_EQ(RGB(1, 2, 3), draw.clrText);
    // Other stages are left as they come.
    draw.clrTextBk = kRed;
    EXPECT_EQ(CDRF_DODEFAULT, SendCustomDraw(*host, list, draw, CDDS_ITEMPOSTPAINT));
    EXPECT_EQ(kRed, draw.clrTextBk);
    EXPECT_TRUE(host->notifications.empty());  // the dialog's own handler never saw one
}

TEST_F(ReportListTest, TheListPaintsEachCellInItsRecordsBackground)
{
    Open();
    AddColumns({L"A", L"B", L"C"});
    FillRows({{L"1", L"x", L"y"}, {L"2", L"x", L"y"}});
    Record(0)->bkColors[2] = kRed;
    Record(1)->bkColors[1] = kBlue;

    EXPECT_EQ(kRed, PaintedCellBackground(list, 0, 2));
    EXPECT_EQ(kBlue, PaintedCellBackground(list, 1, 1));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), PaintedCellBackground(list, 0, 1));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), PaintedCellBackground(list, 1, 2));
}
