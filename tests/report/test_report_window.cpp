// The report list as a window: attachment and creation, its image list, keys, mouse, another
// thread, destruction.
#include "ReportHost.h"

#include "tests/support/Pixels.h"

#include <commoncontrols.h>

namespace {

HIMAGELIST SmallImageList(HWND hWndList)
{
    return reinterpret_cast<HIMAGELIST>(::SendMessageW(hWndList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
}

// A reference of the test's own to an image list: its Release() then tells how many are left.
IImageList* ReferTo(HIMAGELIST hImageList)
{
    const IID iidImageList = {0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};
    using QueryFn = HRESULT(WINAPI*)(HIMAGELIST, REFIID, void**);  // not in the import library
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"comctl32.dll"), "HIMAGELIST_QueryInterface")));
    IImageList* pList = nullptr;
    if (query == nullptr || FAILED(query(hImageList, iidImageList, reinterpret_cast<void**>(&pList))))
        return nullptr;
    return pList;
}

// Records the keys that reach the list's window procedure.
class KeySpyReportCtrl : public CReportCtrl {
public:
    std::vector<WPARAM> keys;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_KEYDOWN)
            keys.push_back(wParam);
        return CReportCtrl::WindowProc(message, wParam, lParam);
    }
};

// Runs work on a thread of its own and handles this thread's messages until it has ended.
template <class Work>
void RunOnThreadWhilePumping(Work work)
{
    auto call = [](LPVOID p) -> DWORD {
        (*static_cast<Work*>(p))();
        return 0;
    };
    HANDLE hThread = ::CreateThread(nullptr, 0, call, &work, 0, nullptr);
    ASSERT_NE(nullptr, hThread);
    while (::MsgWaitForMultipleObjects(1, &hThread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        PumpMessages();
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hThread, 0));
    ::CloseHandle(hThread);
}

}  // namespace

TEST_F(ReportListTest, AttachingMakesAScrollingReportViewWithFullRowsAndCellImages)
{
    host = std::make_unique<ReportHostDlg>(LVS_ICON | LVS_EDITLABELS | LVS_NOSCROLL | WS_BORDER, false);
    ASSERT_TRUE(host->CreateHost());
    HWND hWndList = ::GetDlgItem(*host, kReportListId);
    const DWORD before = static_cast<DWORD>(::GetWindowLongPtrW(hWndList, GWL_STYLE));
    ASSERT_EQ(static_cast<DWORD>(LVS_EDITLABELS | LVS_NOSCROLL),
              before & (LVS_EDITLABELS | LVS_NOSCROLL | LVS_TYPEMASK));
    ASSERT_TRUE(list.SubclassDlgItem(kReportListId, host.get()));

    // The list view shows and hides its scroll bars itself, as its contents need them.
    const DWORD scrollBars = WS_HSCROLL | WS_VSCROLL;
    EXPECT_EQ(((before & ~0x2202u) | 0x50300001u) & ~scrollBars, list.GetStyle() & ~scrollBars);
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES), list.GetExtendedStyle());

    // A report view that scrolls: rows one under another, and a scroll bar when they overflow.
    ASSERT_EQ(0, list.InsertColumn(0, L"No", LVCFMT_CENTER, 50));
    for (int row = 0; row < 100; ++row)
        list.InsertItem(row, L"row");
    RECT first = {};
    RECT second = {};
    ASSERT_TRUE(list.GetItemRect(0, &first, LVIR_BOUNDS));
    ASSERT_TRUE(list.GetItemRect(1, &second, LVIR_BOUNDS));
    EXPECT_EQ(first.left, second.left);
    EXPECT_EQ(first.bottom, second.top);
    EXPECT_TRUE(list.GetStyle() & WS_VSCROLL);
}

TEST_F(ReportListTest, CreatingWithANullRectangleFillsTheParent)
{
    Open();
    CReportCtrl created;
    ASSERT_TRUE(created.Create(LVS_ICON | LVS_EDITLABELS, CRect(0, 0, 0, 0), host.get(), 2000));
    CRect client;
    host->GetClientRect(&client);
    CRect rc;
    created.GetWindowRect(&rc);
    host->ScreenToClient(&rc);
    EXPECT_EQ(client, rc);
    EXPECT_EQ(static_cast<DWORD>(LVS_REPORT), created.GetStyle() & (LVS_TYPEMASK | LVS_EDITLABELS));
    EXPECT_EQ(static_cast<DWORD>(0x22), created.GetExtendedStyle() & 0x22);
    EXPECT_EQ(0, created.InsertColumn(0, L"No"));
    EXPECT_EQ(0, created.InsertItem(0, L"1"));
    EXPECT_NE(0u, created.GetItemData(0));
}

TEST_F(ReportListTest, TheImagesAreSixPicturesOf16By15AndReloadingReleasesTheOldOnes)
{
    Open();
    ASSERT_TRUE(list.InitImageList());
    HIMAGELIST hFirst = SmallImageList(list);
    ASSERT_NE(nullptr, hFirst);
    EXPECT_EQ(6, ::ImageList_GetImageCount(hFirst));
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(hFirst, &cx, &cy));
    EXPECT_EQ(16, cx);
    EXPECT_EQ(15, cy);
    IImageList* pFirst = ReferTo(hFirst);
    ASSERT_NE(nullptr, pFirst);

    ASSERT_TRUE(list.InitImageList());
    EXPECT_NE(hFirst, SmallImageList(list));
    EXPECT_EQ(6, ::ImageList_GetImageCount(SmallImageList(list)));
    EXPECT_EQ(0u, pFirst->Release());  // the list let go of the old one, once
}

TEST_F(ReportListTest, DestroyingTheListFreesRecordsAndImagesOnce)
{
    Open();
    AddColumns({L"A"});
    FillRows({{L"1"}, {L"2"}});
    const ReportRowData* records[2] = {Record(0), Record(1)};
    WatchPointer(records[0]);
    WatchPointer(records[1]);
    ASSERT_TRUE(list.InitImageList());
    IImageList* pImages = ReferTo(SmallImageList(list));
    ASSERT_NE(nullptr, pImages);

    ASSERT_TRUE(host->DestroyWindow());
    EXPECT_EQ(nullptr, list.m_hWnd);
    EXPECT_EQ(1, FreeCount(records[0]));
    EXPECT_EQ(1, FreeCount(records[1]));
    // Released by the list alone: the list view did not destroy it a second time.
    EXPECT_EQ(0u, pImages->Release());
}

TEST_F(ReportListTest, DestroyingTheObjectTakesItsWindowRecordsAndImages)
{
    Open();
    auto created = std::make_unique<CReportCtrl>();
    ASSERT_TRUE(created->Create(0, CRect(0, 0, 100, 100), host.get(), 2002));
    ASSERT_EQ(0, created->InsertColumn(0, L"A"));
    ASSERT_EQ(0, created->InsertItem(0, L"1"));
    const void* record = reinterpret_cast<const void*>(created->GetItemData(0));
    WatchPointer(record);
    ASSERT_TRUE(created->InitImageList());
    IImageList* pImages = ReferTo(SmallImageList(*created));
    ASSERT_NE(nullptr, pImages);
    HWND hWnd = *created;

    created.reset();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(1, FreeCount(record));
    EXPECT_EQ(0u, pImages->Release());
}

TEST_F(ReportListTest, SpaceNeverReachesTheListButOtherKeysDo)
{
    host = std::make_unique<ReportHostDlg>(kMonitorListStyle, false);
    ASSERT_TRUE(host->CreateHost());
    KeySpyReportCtrl spy;
    ASSERT_TRUE(spy.SubclassDlgItem(kReportListId, host.get()));
    spy.InsertColumn(0, L"No");
    spy.InsertItem(0, L"1");
    spy.InsertItem(1, L"2");
    spy.SetExtendedStyle(spy.GetExtendedStyle() | LVS_EX_CHECKBOXES);  // Space would tick the row
    spy.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED | LVIS_SELECTED);
    spy.SetFocus();
    const UINT mask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED;
    const UINT before = spy.GetItemState(0, mask);

    // Through the queue and the library's loop, as a key press comes.
    ::PostMessageW(spy, WM_KEYDOWN, VK_SPACE, 0x00390001);
    PumpMessages();
    EXPECT_TRUE(spy.keys.empty());
    EXPECT_EQ(before, spy.GetItemState(0, mask));

    ::PostMessageW(spy, WM_KEYDOWN, VK_DOWN, 0x01500001);
    PumpMessages();
    EXPECT_EQ(std::vector<WPARAM>{VK_DOWN}, spy.keys);
    EXPECT_EQ(1, spy.GetNextItem(-1, LVNI_FOCUSED));
    host->DestroyWindow();
}

TEST_F(ReportListTest, MouseButtonsBehaveAsOnAPlainListView)
{
    Open(kMonitorListStyle, true);
    CListCtrl plain;
    ASSERT_TRUE(plain.Attach(::GetDlgItem(*host, kPlainListId)));
    plain.SetExtendedStyle(list.GetExtendedStyle());
    for (CListCtrl* pList : {static_cast<CListCtrl*>(&list), &plain}) {
        pList->InsertColumn(0, L"No", LVCFMT_LEFT, 80);
        for (const wchar_t* text : {L"1", L"2", L"3"})
            static_cast<CListCtrl*>(pList)->InsertItem(pList->GetItemCount(), text);
    }
    const UINT presses[][2] = {{WM_LBUTTONDOWN, WM_LBUTTONUP}, {WM_LBUTTONDBLCLK, WM_LBUTTONUP},
                               {WM_RBUTTONDOWN, WM_RBUTTONUP}, {WM_RBUTTONDBLCLK, WM_RBUTTONUP},
                               {WM_MBUTTONDOWN, WM_MBUTTONUP}, {WM_MBUTTONDBLCLK, WM_MBUTTONUP}};
    int row = 0;
    for (const auto& press : presses) {
        row = (row + 1) % 3;
        std::vector<UINT> seen[2];
        UINT state[2] = {};
        for (int i = 0; i < 2; ++i) {
            CListCtrl& target = i == 0 ? static_cast<CListCtrl&>(list) : plain;
            RECT rc = {};
            ASSERT_TRUE(target.GetItemRect(row, &rc, LVIR_LABEL));
            const LPARAM pt = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
            host->notifications.clear();
            // Through the queue, as the mouse's messages come: a list view that tracks the mouse
            // after a press waits there for the release.
            ::PostMessageW(target, press[0], 0, pt);
            ::PostMessageW(target, press[1], 0, pt);
            PumpMessages();
            seen[i] = host->notifications;
            state[i] = target.GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED);
        }
        EXPECT_EQ(seen[1], seen[0]) << std::hex << press[0];
        EXPECT_EQ(state[1], state[0]) << std::hex << press[0];
        if (press[0] == WM_LBUTTONDOWN || press[0] == WM_RBUTTONDOWN) {
            EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED), state[0]);
            EXPECT_FALSE(seen[0].empty());
        }
    }
    plain.Detach();
}

TEST_F(ReportListTest, AnotherThreadFindsARowByItsNumberAndSetsItsImageAfterASort)
{
    Open();
    AddColumns({L"No", L"COM Port", L"IP", L"CON"});
    FillRows({{L"1", L"COM5"}, {L"2", L"COM12"}, {L"3", L"COM3"}});
    ASSERT_TRUE(list.InitImageList());
    for (int row = 0; row < 3; ++row)
        list.SetItem(row, 3, LVIF_IMAGE, nullptr, 1, 0, 0, 0);
    ClickHeader(list, 1);
    ClickHeader(list, 1);  // "COM Port" descending: COM5, COM3, COM12

    // As the monitor's polling thread does: the row of port record 1 is the one numbered "2".
    BOOL set = FALSE;
    RunOnThreadWhilePumping([&] {
        LVFINDINFOW find = {};
        find.flags = LVFI_STRING;
        find.psz = L"2";
        const int row = list.FindItem(&find);
        set = row >= 0 && list.SetItem(row, 3, LVIF_IMAGE, nullptr, 2, 0, 0, 0);
    });

    ASSERT_TRUE(set);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list.GetItemText(row, 1) == L"COM12" ? 2 : 1, CellImage(row, 3)) << row;
    EXPECT_EQ(CString(L"COM12"), list.GetItemText(2, 1));
}

// Cell images set among many: those of plain rows are drawn at once, exactly as the list view
// paints them; the selected row's cell, and what waited before, are painted again, not the
// whole rows that the list view would repaint for each cell.
TEST_F(ReportListTest, SettingCellImagesDrawsThemAsTheListPaintsThem)
{
    Open();
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_GRIDLINES);
    AddColumns({L"No", L"A", L"B"});
    FillRows({{L"1"}, {L"2"}, {L"3"}});
    ASSERT_TRUE(list.InitImageList());
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    host->ShowWindow(SW_SHOW);
    list.UpdateWindow();
    CRect row2;
    ASSERT_TRUE(list.GetSubItemRect(2, 0, LVIR_BOUNDS, row2));
    const CRect waiting(row2.left, row2.top, row2.left + 4, row2.top + 4);
    list.InvalidateRect(&waiting, FALSE);

    list.SetCellImages({{0, 1, 2}, {1, 2, 3}, {2, 1, 4}});

    EXPECT_EQ(2, CellImage(0, 1));
    EXPECT_EQ(3, CellImage(1, 2));
    EXPECT_EQ(4, CellImage(2, 1));
    CRect selected;
    ASSERT_TRUE(list.GetSubItemRect(2, 1, LVIR_BOUNDS, selected));
    CRgn expected, cell, painted;
    ASSERT_TRUE(expected.CreateRectRgnIndirect(&waiting) && cell.CreateRectRgnIndirect(&selected) &&
                painted.CreateRectRgn(0, 0, 0, 0));
    expected.CombineRgn(&expected, &cell, RGN_OR);
    ASSERT_NE(ERROR, ::GetUpdateRgn(list.m_hWnd, painted, FALSE));
    EXPECT_TRUE(::EqualRgn(expected, painted));

    list.UpdateWindow();
    CRect client;
    list.GetClientRect(&client);
    const std::vector<COLORREF> shown = uitest::WindowPixels(list.m_hWnd, client);
    list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<COLORREF> repainted = uitest::WindowPixels(list.m_hWnd, client);
    ASSERT_FALSE(shown.empty());
    ASSERT_EQ(repainted.size(), shown.size());
    size_t differ = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        differ += shown[i] != repainted[i] ? 1 : 0;
    EXPECT_EQ(0u, differ);
}
