// The "Status" page inside the running main dialog: its rows and columns on the report list, the
// line states the machine's controls set (also after the user sorted the list), the blinking of
// RX and TX, what it redraws, when it reads the device, and its polling thread's end.
#include "tests/app_pages/PagesTestSupport.h"

#include "contract/DriverInterface.h"
#include "tests/support/Pixels.h"

#include <stdlib.h>

#include <map>
#include <memory>
#include <set>

using uitest::Do;
using uitest::WaitUntil;

namespace {

class MonitorPageTest : public PagesTest {};

constexpr int kCon = 3, kErr = 4, kTx = 5, kRx = 6, kCts = 7, kDsr = 8, kDcd = 9, kRi = 10;

// The eight state images of a row, columns 3 to 10.
std::vector<int> StateImages(int row)
{
    std::vector<int> images;
    for (int column = kCon; column <= kRi; ++column)
        images.push_back(CellImage(MonitorListWnd(), row, column));
    return images;
}

// A step that lets the dialog run for ms milliseconds.
std::vector<uitest::Step> RunFor(DWORD ms)
{
    auto start = std::make_shared<DWORD>(0);
    return {Do([start](CWnd&) { *start = ::GetTickCount(); }),
            WaitUntil([start, ms](CWnd&) { return ::GetTickCount() - *start >= ms; }, ms + 5000)};
}

std::vector<uitest::Step> Then(std::vector<uitest::Step> a, const std::vector<uitest::Step>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::wstring ScreenshotPath(const wchar_t* name)
{
    return std::wstring(name) + L".png";
}

// How long the picture test keeps the page on the screen after its own screenshot, so that a
// person can take one of the whole display (SCREENSHOT_HOLD_MS; 0 when unset).
DWORD ScreenshotHoldMs()
{
    const wchar_t* value = _wgetenv(L"SCREENSHOT_HOLD_MS");
    return value != nullptr ? static_cast<DWORD>(wcstoul(value, nullptr, 10)) : 0;
}

// A step that keeps what the recorder saw so far: the list's own clean-up when the dialog
// closes sets every row's item data, and those sets are not drawing.
uitest::Step KeepEvents(const MessageRecorder& recorder, std::shared_ptr<std::vector<MessageRecorder::Event>> seen)
{
    return Do([&recorder, seen](CWnd&) { *seen = recorder.events; });
}

// How often each cell (row, column) was set.
std::map<std::pair<int, int>, int> CellSets(const std::vector<MessageRecorder::Event>& events)
{
    std::map<std::pair<int, int>, int> sets;
    for (const MessageRecorder::Event& event : events) {
        if (event.message == LVM_SETITEMW)
            ++sets[{event.item, event.subItem}];
    }
    return sets;
}

// Clicks a column header of the list as the user does.
void ClickHeader(HWND hList, int column)
{
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageW(hList, LVM_GETHEADER, 0, 0));
    RECT item = {};
    ASSERT_TRUE(::SendMessageW(hHeader, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)));
    uitest::ClickAt(hHeader, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

// The "COM Port" cells from the top row down.
std::vector<std::wstring> ComPortColumn()
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < uitest::ListViewRowCount(MonitorListWnd()); ++row)
        texts.push_back(uitest::ListViewCellText(MonitorListWnd(), row, 1));
    return texts;
}

// The row that shows COMn, or -1.
int RowOfPort(unsigned com)
{
    const std::wstring name = L"COM" + std::to_wstring(com);
    const std::vector<std::wstring> texts = ComPortColumn();
    for (size_t row = 0; row < texts.size(); ++row) {
        if (texts[row] == name)
            return static_cast<int>(row);
    }
    return -1;
}

int PortCellImage(unsigned com, int column)
{
    const int row = RowOfPort(com);
    return row < 0 ? -100 : CellImage(MonitorListWnd(), row, column);
}

}  // namespace

TEST_F(MonitorPageTest, ShowsElevenColumnsAndARowPerPortWithEveryStateOff)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4}));
    ASSERT_TRUE(WritePortDword(4, L"IPaddress", 0xC0A80105));
    Run({Do([](CWnd&) {
        HWND hList = MonitorListWnd();
        EXPECT_EQ((std::vector<std::wstring>{L"No", L"COM Port", L"IP", L"CON", L"ERR", L"TX", L"RX", L"CTS", L"DSR",
                                             L"DCD", L"RI"}),
                  HeaderTitles(hList));
        // U is a hundredth of the page's width as its template makes it.
        CRect page(0, 0, 430, 258);
        ::MapDialogRect(g_monitorDlg.m_hWnd, &page);
        const int u = (page.right - 1) / 100;
        EXPECT_EQ((std::vector<int>{6 * u, 26 * u, 20 * u, 6 * u, 6 * u, 6 * u, 6 * u, 6 * u, 6 * u, 6 * u, 6 * u}),
                  ColumnWidths(hList));
        EXPECT_EQ(DWORD(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT),
                  static_cast<DWORD>(::SendMessageW(hList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)));
        HIMAGELIST hImages = reinterpret_cast<HIMAGELIST>(::SendMessageW(hList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        ASSERT_NE(nullptr, hImages);
        EXPECT_EQ(6, ImageList_GetImageCount(hImages));
        int cx = 0, cy = 0;
        ImageList_GetIconSize(hImages, &cx, &cy);
        EXPECT_EQ(16, cx);
        EXPECT_EQ(15, cy);

        ASSERT_EQ(2, uitest::ListViewRowCount(hList));
        EXPECT_EQ(L"1", uitest::ListViewCellText(hList, 0, 0));
        EXPECT_EQ(L"COM2", uitest::ListViewCellText(hList, 0, 1));
        EXPECT_EQ(L"0.0.0.0", uitest::ListViewCellText(hList, 0, 2));
        EXPECT_EQ(L"2", uitest::ListViewCellText(hList, 1, 0));
        EXPECT_EQ(L"COM4", uitest::ListViewCellText(hList, 1, 1));
        EXPECT_EQ(L"192.168.1.5", uitest::ListViewCellText(hList, 1, 2));
        EXPECT_EQ(std::vector<int>(8, 1), StateImages(0));
        EXPECT_EQ(std::vector<int>(8, 1), StateImages(1));

        // Each row carries a colour record of its own, made by the list.
        const DWORD_PTR record0 = g_monitorDlg.m_list.GetItemData(0);
        const DWORD_PTR record1 = g_monitorDlg.m_list.GetItemData(1);
        EXPECT_NE(0u, record0);
        EXPECT_NE(0u, record1);
        EXPECT_NE(record0, record1);
        // The headers can be clicked to sort.
        HWND hHeader = reinterpret_cast<HWND>(::SendMessageW(hList, LVM_GETHEADER, 0, 0));
        EXPECT_TRUE(::GetWindowLongW(hHeader, GWL_STYLE) & HDS_BUTTONS);
        // The list's custom drawing is answered by the list itself, through the page.
        NMLVCUSTOMDRAW draw = {};
        draw.nmcd.hdr.hwndFrom = hList;
        draw.nmcd.hdr.idFrom = IDC_MONITORLIST;
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        EXPECT_EQ(CDRF_NOTIFYITEMDRAW,
                  ::SendMessageW(g_monitorDlg.m_hWnd, WM_NOTIFY, IDC_MONITORLIST, reinterpret_cast<LPARAM>(&draw)));
    })});
}

TEST_F(MonitorPageTest, DrawsTheLineStatesTheMachineSets)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4, 9}));
    ASSERT_TRUE(simtest::SetLineState(2, LINESTATE_CON));
    ASSERT_TRUE(simtest::SetLineState(4, LINESTATE_CON | LINESTATE_ERR));
    ASSERT_TRUE(simtest::SetLineState(9, LINESTATE_CTS | LINESTATE_DSR | LINESTATE_DCD | LINESTATE_RI));
    ASSERT_TRUE(simtest::SetTraffic(4, LINESTATE_RX | LINESTATE_TX));
    Run(Then(Then({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }), WaitUntil([](CWnd&) {
                       return StateImages(0) == std::vector<int>{2, 1, 1, 1, 1, 1, 1, 1} &&
                              CellImage(MonitorListWnd(), 1, kCon) == 2 && CellImage(MonitorListWnd(), 1, kErr) == 5 &&
                              StateImages(2) == std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2};
                   }),
                   // A moment of traffic on COM4 for the picture.
                   WaitUntil([](CWnd&) {
                       return CellImage(MonitorListWnd(), 1, kTx) == 3 && CellImage(MonitorListWnd(), 1, kRx) == 4;
                   }),
                   // A picture for people; the checks are the waits above.
                   Do([](CWnd& dlg) { uitest::SaveScreenshot(dlg.m_hWnd, ScreenshotPath(L"monitor_page")); })},
                  RunFor(ScreenshotHoldMs())),
             // Closed: the cell goes off again.
             {Do([](CWnd&) { ASSERT_TRUE(simtest::SetLineState(2, 0)); }),
              WaitUntil([](CWnd&) { return CellImage(MonitorListWnd(), 0, kCon) == 1; })}));
}

// After a click on a header the rows stand in another order; each port's states are still drawn
// in the row that shows that port, and only the cells whose state changed are set.
TEST_F(MonitorPageTest, DrawsEachPortsStatesInItsOwnRowAfterTheUserSorts)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4, 9, 10}));
    ASSERT_TRUE(simtest::SetLineState(4, LINESTATE_CON));
    ASSERT_TRUE(simtest::SetLineState(10, LINESTATE_DSR));
    MessageRecorder recorder;
    auto seen = std::make_shared<std::vector<MessageRecorder::Event>>();
    Run(Then({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }),
              WaitUntil([](CWnd&) { return PortCellImage(4, kCon) == 2 && PortCellImage(10, kDsr) == 2; }),
              // "COM Port" ascending (as text), then descending.
              Do([](CWnd&) { ClickHeader(MonitorListWnd(), 1); }), WaitUntil([](CWnd&) {
                  return ComPortColumn() == std::vector<std::wstring>{L"COM10", L"COM2", L"COM4", L"COM9"};
              }),
              Do([](CWnd&) { ClickHeader(MonitorListWnd(), 1); }), WaitUntil([](CWnd&) {
                  return ComPortColumn() == std::vector<std::wstring>{L"COM9", L"COM4", L"COM2", L"COM10"};
              }),
              Do([&recorder](CWnd&) {
                  // The states drawn so far moved with their rows.
                  EXPECT_EQ(L"3", uitest::ListViewCellText(MonitorListWnd(), 0, 0));
                  EXPECT_EQ((std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1}), StateImages(0));
                  EXPECT_EQ((std::vector<int>{2, 1, 1, 1, 1, 1, 1, 1}), StateImages(1));
                  EXPECT_EQ((std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1}), StateImages(2));
                  EXPECT_EQ((std::vector<int>{1, 1, 1, 1, 1, 2, 1, 1}), StateImages(3));
                  // A port's row is the one numbered after its place in the table; a place that no row
                  // shows falls back to the row of that index.
                  EXPECT_EQ(0, g_monitorDlg.FindPortRow(2));
                  EXPECT_EQ(3, g_monitorDlg.FindPortRow(3));
                  EXPECT_EQ(7, g_monitorDlg.FindPortRow(7));
                  recorder.Clear();
                  // COM9 gets CTS, COM4 is closed.
                  ASSERT_TRUE(simtest::SetLineState(9, LINESTATE_CTS));
                  ASSERT_TRUE(simtest::SetLineState(4, 0));
              }),
              WaitUntil([](CWnd&) { return StateImages(0)[kCts - kCon] == 2 && StateImages(1)[0] == 1; })},
             Then(RunFor(300), {KeepEvents(recorder, seen)})));

    const std::map<std::pair<int, int>, int> sets = CellSets(*seen);
    EXPECT_EQ((std::map<std::pair<int, int>, int>{{{0, kCts}, 1}, {{1, kCon}, 1}}), sets);
}

// RX and TX are drawn off on every read, so a line that keeps moving data blinks.
TEST_F(MonitorPageTest, BlinksRxAndTxWhileDataMoves)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    ASSERT_TRUE(simtest::SetTraffic(3, LINESTATE_RX | LINESTATE_TX));
    auto seenRx = std::make_shared<std::set<int>>();
    auto seenTx = std::make_shared<std::set<int>>();
    Run({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }), WaitUntil([seenRx, seenTx](CWnd&) {
             seenRx->insert(CellImage(MonitorListWnd(), 0, kRx));
             seenTx->insert(CellImage(MonitorListWnd(), 0, kTx));
             return seenRx->count(4) && seenRx->count(1) && seenTx->count(3) && seenTx->count(1);
         })});
    EXPECT_EQ((std::set<int>{1, 4}), *seenRx);
    EXPECT_EQ((std::set<int>{1, 3}), *seenTx);
}

// Steady states are drawn once, and then the page is not even woken; only the blinking cells
// are set again and again.
TEST_F(MonitorPageTest, RedrawsOnlyTheCellsWhoseStateChanged)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4}));
    ASSERT_TRUE(simtest::SetLineState(2, LINESTATE_CON | LINESTATE_CTS));
    ASSERT_TRUE(simtest::SetLineState(4, LINESTATE_CON));
    MessageRecorder recorder;
    auto steady = std::make_shared<std::vector<MessageRecorder::Event>>();
    auto seen = std::make_shared<std::vector<MessageRecorder::Event>>();
    Run(Then(Then({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }), WaitUntil([](CWnd&) {
                       return CellImage(MonitorListWnd(), 0, kCts) == 2 && CellImage(MonitorListWnd(), 1, kCon) == 2;
                   }),
                   Do([&recorder](CWnd&) { recorder.Clear(); })},
                  RunFor(600)),
             Then({KeepEvents(recorder, steady), Do([&recorder](CWnd&) {
                       ASSERT_TRUE(simtest::SetTraffic(4, LINESTATE_RX));
                       recorder.Clear();
                   })},
                  Then(RunFor(1000), {KeepEvents(recorder, seen)}))));
    EXPECT_TRUE(steady->empty()) << steady->size() << " ticks and cell sets while nothing changed";
    const std::map<std::pair<int, int>, int> sets = CellSets(*seen);
    ASSERT_EQ(1u, sets.size());
    EXPECT_EQ(1, sets.begin()->first.first);
    EXPECT_EQ(kRx, sets.begin()->first.second);
    // A blink is two sets per 100 ms read; at least a few within a second.
    EXPECT_GE(sets.begin()->second, 4);
}

// A row scrolled out of view is drawn when it comes into view, before the list paints it, without
// waiting for the polling thread.
TEST_F(MonitorPageTest, DrawsARowThatComesIntoViewBeforeItIsPainted)
{
    ASSERT_TRUE(simtest::CreatePorts(simtest::FirstComNumbers(60)));
    ASSERT_TRUE(simtest::SetLineState(1, LINESTATE_CON));
    ASSERT_TRUE(simtest::SetLineState(60, LINESTATE_CON | LINESTATE_DSR));
    Run({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }),
         WaitUntil([](CWnd&) { return CellImage(MonitorListWnd(), 0, kCon) == 2; }), Do([](CWnd&) {
             CListCtrl& list = g_monitorDlg.m_list;
             ASSERT_LT(list.GetTopIndex() + list.GetCountPerPage(), 59) << "the last row must start out of view";
             g_monitorDlg.StopPolling();
             list.EnsureVisible(59, FALSE);
             list.UpdateWindow();
             EXPECT_EQ(2, CellImage(MonitorListWnd(), 59, kCon));
             EXPECT_EQ(2, CellImage(MonitorListWnd(), 59, kDsr));
         })});
}

// While "Port Info" is shown the polling thread leaves the device alone; on "Status" it reads
// it every 100 ms.
TEST_F(MonitorPageTest, ReadsTheDeviceOnlyWhileStatusIsShown)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    size_t readsOnPortInfo = 99;
    Run(Then(Then({Do([](CWnd&) { ASSERT_TRUE(simtest::ClearRequestLog()); })}, RunFor(600)),
             Then({Do([&readsOnPortInfo](CWnd& dlg) {
                       readsOnPortInfo = simtest::CountRequests(IOCTL_READ_LINE_STATES);
                       SelectTab(dlg.m_hWnd, 1);
                   }),
                   // Only the reads of the thread: showing the page did not rebuild it.
                   Do([](CWnd&) { ASSERT_TRUE(simtest::ClearRequestLog()); })},
                  RunFor(1000))));
    EXPECT_EQ(0u, readsOnPortInfo);
    size_t reads = 0;
    for (const simmachine::LoggedRequest& request : simtest::RequestLog()) {
        if (request.record.code != IOCTL_READ_LINE_STATES)
            continue;
        ++reads;
        EXPECT_EQ(LINE_STATE_TABLE_SIZE, request.record.inputLength);
        EXPECT_EQ(LINE_STATE_TABLE_SIZE, request.record.outputLength);
    }
    EXPECT_GE(reads, 5u);
    EXPECT_LE(reads, 12u);
    EXPECT_EQ(0u, simtest::CountRequests(IOCTL_SET_TRACE));
}

TEST_F(MonitorPageTest, ShowsEveryStateOffWithoutTheStatusDevice)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    ASSERT_TRUE(simtest::SetLineState(2, LINESTATE_CON | LINESTATE_DCD));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_HIDE_STATUS_DEVICE));
    Run(Then({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); })},
             Then(RunFor(500), {Do([](CWnd&) { EXPECT_EQ(std::vector<int>(8, 1), StateImages(0)); })})));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// A rebuild of the rows draws every set bit again, also when it comes from showing the page
// after ports were added from the menu.
TEST_F(MonitorPageTest, ShowsAnOpenPortAgainAfterItsRowsWereRebuilt)
{
    ASSERT_TRUE(simtest::CreatePorts({1}));
    ASSERT_TRUE(simtest::SetLineState(1, LINESTATE_CON));
    ui.OnNextModal({Do([](CWnd& addDlg) {
        HWND hStart = ::GetDlgItem(addDlg.m_hWnd, 1003);
        ::SendMessageW(
            hStart, CB_SETCURSEL,
            ::SendMessageW(hStart, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"COM3")), 0);
        uitest::Click(::GetDlgItem(addDlg.m_hWnd, IDOK));
    })});
    ui.OnNextModal({WaitUntil([](CWnd&) { return false; }, 20000)});
    Run({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }),
         WaitUntil([](CWnd&) { return CellImage(MonitorListWnd(), 0, kCon) == 2; }),
         Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 0); }),
         Do([](CWnd& dlg) { uitest::ChooseMenuItem(dlg.m_hWnd, ID_PORT_ADD); }),
         Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }),
         WaitUntil([](CWnd&) { return uitest::ListViewRowCount(MonitorListWnd()) == 2; }),
         WaitUntil([](CWnd&) { return CellImage(MonitorListWnd(), 0, kCon) == 2; })});
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}

// An equal number of rows is kept as it is when the page is shown again.
TEST_F(MonitorPageTest, KeepsItsRowsWhenTheirNumberIsUnchanged)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    Run({Do([](CWnd& dlg) {
             SelectTab(dlg.m_hWnd, 1);
             SetCellText(MonitorListWnd(), 0, 2, L"marked");
         }),
         Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 0); }), Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }),
         Do([](CWnd&) { EXPECT_EQ(L"marked", uitest::ListViewCellText(MonitorListWnd(), 0, 2)); })});
}

TEST_F(MonitorPageTest, EndsItsPollingThreadWhenTheDialogCloses)
{
    ASSERT_TRUE(simtest::CreatePorts({2}));
    Run({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }),
         WaitUntil([](CWnd&) { return simtest::CountRequests(IOCTL_READ_LINE_STATES) >= 3; }), Do([](CWnd& dlg) {
             EXPECT_TRUE(g_monitorDlg.IsPolling());
             uitest::ChooseMenuItem(dlg.m_hWnd, ID_FILE_EXIT);
         })});
    EXPECT_FALSE(g_monitorDlg.IsPolling());
    ASSERT_TRUE(simtest::ClearRequestLog());
    ::Sleep(300);
    EXPECT_EQ(0u, simtest::CountRequests(IOCTL_READ_LINE_STATES));
}

TEST_F(MonitorPageTest, EnterEscapeAndF1DoNothingOnThePage)
{
    Run({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }), Do([](CWnd&) {
             for (UINT vk : {VK_RETURN, VK_ESCAPE, VK_F1}) {
                 uitest::PressKey(MonitorListWnd(), vk);
                 uitest::PressKey(g_monitorDlg.m_hWnd, vk);
             }
         }),
         Do([](CWnd& dlg) {
             EXPECT_TRUE(g_monitorDlg.IsWindowVisible());
             EXPECT_TRUE(dlg.IsWindowVisible());
             for (UINT vk : {VK_RETURN, VK_ESCAPE, VK_F1})
                 EXPECT_TRUE(PageSwallowsKey(g_monitorDlg, MonitorListWnd(), vk)) << vk;
             EXPECT_FALSE(PageSwallowsKey(g_monitorDlg, MonitorListWnd(), VK_DOWN));
         })});
    EXPECT_EQ(1, ui.DialogsEndedByHarness());
}

// The page draws only the cells whose state changes, so what a resize of the main dialog's frame
// uncovers is painted anew: after narrowing the dialog through a lamp and widening it again, the
// list shows what a full repaint shows (no lamp cut in half, no line of its old frame).
TEST_F(MonitorPageTest, RepaintsWhatAResizeOfTheDialogUncovers)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3}));
    ASSERT_TRUE(simtest::SetLineState(2, LINESTATE_CON | LINESTATE_CTS));
    auto width = std::make_shared<int>(0);
    const auto painted = [](CWnd& dlg) {
        return !::GetUpdateRect(MonitorListWnd(), nullptr, FALSE) && !::GetUpdateRect(dlg.m_hWnd, nullptr, FALSE);
    };
    Run({Do([](CWnd& dlg) { SelectTab(dlg.m_hWnd, 1); }),
         WaitUntil([](CWnd&) { return CellImage(MonitorListWnd(), 0, kCts) == 2; }), Do([width](CWnd& dlg) {
             // The list's right edge through the middle of row 0's CTS lamp.
             CRect lamp;
             ASSERT_TRUE(ListView_GetSubItemRect(MonitorListWnd(), 0, kCts, LVIR_BOUNDS, &lamp));
             CRect window, client;
             dlg.GetWindowRect(&window);
             dlg.GetClientRect(&client);
             *width = window.Width();
             dlg.MoveWindow(0, 0, window.Width() - client.Width() + 37 + lamp.CenterPoint().x, window.Height(), TRUE);
         }),
         WaitUntil(painted), Do([width](CWnd& dlg) {
             CRect window;
             dlg.GetWindowRect(&window);
             dlg.MoveWindow(0, 0, *width, window.Height(), TRUE);
         }),
         WaitUntil(painted), Do([](CWnd&) {
             HWND hList = MonitorListWnd();
             CRect client;
             ::GetClientRect(hList, &client);
             const std::vector<COLORREF> shown = uitest::WindowPixels(hList, client);
             ::RedrawWindow(hList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
             const std::vector<COLORREF> repainted = uitest::WindowPixels(hList, client);
             ASSERT_FALSE(shown.empty());
             ASSERT_EQ(repainted.size(), shown.size());
             size_t stale = 0;
             for (size_t i = 0; i < shown.size(); ++i)
                 stale += shown[i] != repainted[i] ? 1 : 0;
             EXPECT_EQ(0u, stale);
         })});
}

// The page fits its list to itself when it is moved away from the origin, and only then.
TEST_F(MonitorPageTest, FitsItsListOnlyOnAMoveAwayFromTheOrigin)
{
    Run({Do([](CWnd&) {
        CWnd& list = g_monitorDlg.m_list;
        list.MoveWindow(5, 6, 50, 40, FALSE);
        g_monitorDlg.SendMessage(WM_MOVE, 0, MAKELPARAM(0, 10));
        g_monitorDlg.SendMessage(WM_MOVE, 0, MAKELPARAM(10, 0));
        CRect rect;
        list.GetWindowRect(&rect);
        g_monitorDlg.ScreenToClient(&rect);
        EXPECT_EQ(CRect(5, 6, 55, 46), rect);

        g_monitorDlg.SendMessage(WM_MOVE, 0, MAKELPARAM(10, 10));
        CRect client;
        g_monitorDlg.GetClientRect(&client);
        list.GetWindowRect(&rect);
        g_monitorDlg.ScreenToClient(&rect);
        EXPECT_EQ(CRect(0, 0, client.right - 2, client.bottom - 1), rect);
    })});
}
