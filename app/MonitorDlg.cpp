// The "Status" tab page and its polling thread.
#include "app/MonitorDlg.h"

#include "app/Globals.h"
#include "app/KeyFilter.h"
#include "app/LineStateCells.h"
#include "app/MonitorSchedule.h"
#include "app/PortText.h"
#include "app/StatusDevice.h"
#include "app/Trace.h"

#include <stdlib.h>

#include <algorithm>

namespace {

struct MonitorColumnSpec {
    const wchar_t* title;
    int format;
    int units;  // width in hundredths of the page's client width
};

const MonitorColumnSpec kMonitorColumns[] = {
    {L"No", LVCFMT_CENTER, 6}, {L"COM Port", LVCFMT_CENTER, 26}, {L"IP", LVCFMT_CENTER, 20}, {L"CON", LVCFMT_LEFT, 6},
    {L"ERR", LVCFMT_LEFT, 6},  {L"TX", LVCFMT_LEFT, 6},          {L"RX", LVCFMT_LEFT, 6},    {L"CTS", LVCFMT_LEFT, 6},
    {L"DSR", LVCFMT_LEFT, 6},  {L"DCD", LVCFMT_LEFT, 6},         {L"RI", LVCFMT_LEFT, 6},
};

constexpr int kComPortColumn = 1;
constexpr int kIpColumn = 2;

// What a row shows of its port.
struct MonitorRow {
    UINT comNumber;
    UINT address;
};

// Adds COM n to a set of COM numbers held as 256 bits (bit n - 1).
void AddPort(unsigned long long (&ports)[4], int com)
{
    if (com >= 1 && com <= static_cast<int>(LINE_STATE_TABLE_SIZE))
        ports[(com - 1) / 64] |= 1ULL << ((com - 1) % 64);
}

}  // namespace

CSVT_MonitorDlg::CSVT_MonitorDlg() : CDialogEx(IDD) {}

CSVT_MonitorDlg::~CSVT_MonitorDlg()
{
    StopPolling();
}

void CSVT_MonitorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MONITORLIST, m_list);
}

// clang-format off
BEGIN_MESSAGE_MAP(CSVT_MonitorDlg, CDialogEx)
    ON_WM_SHOWWINDOW()
    ON_WM_MOVE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_MONITOR_TICK, &CSVT_MonitorDlg::OnMonitorTick)
    ON_MESSAGE(WM_REPORT_SORTED, &CSVT_MonitorDlg::OnReportSorted)
    ON_MESSAGE(WM_REPORT_ROWSINVIEW, &CSVT_MonitorDlg::OnRowsInView)
END_MESSAGE_MAP()
// clang-format on

BOOL CSVT_MonitorDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    g_traceSelection.enabled = 0;
    g_traceSelection.comNumber = 0;
    m_poll->LastSentTraceFlag = 0;
    // Without its images the list still shows its rows; the state cells then stay blank.
    m_list.InitImageList();
    StartPolling();

    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
    GetClientRect(&ClientRect);
    InsertColumns((ClientRect.right - 1) / 100);
    Refresh();
    return TRUE;
}

BOOL CSVT_MonitorDlg::PreTranslateMessage(MSG* pMsg)
{
    if (IsFilteredKey(pMsg))
        return TRUE;
    return CDialogEx::PreTranslateMessage(pMsg);
}

void CSVT_MonitorDlg::InsertColumns(int unit)
{
    int index = 0;
    for (const MonitorColumnSpec& spec : kMonitorColumns) {
        // The report list's InsertColumn gives every row's colours an entry for the new column
        // itself; a second reset here would give them two.
        m_list.EndEdit(true);
        m_list.InsertColumn(index, spec.title, spec.format, spec.units * unit, index);
        ++index;
    }
}

void CSVT_MonitorDlg::Refresh()
{
    m_list.DeleteAllItems();
    ReadLineStateTable();

    std::vector<MonitorRow> rows;
    {
        CSingleLock lock(&g_portTableLock, TRUE);
        const INT_PTR count = std::min<INT_PTR>(g_deviceCount, g_portTable.GetSize());
        for (INT_PTR i = 0; i < count; ++i)
            rows.push_back({g_portTable[i].ShownComNumber(), g_portTable[i].IPaddress});
    }

    m_portComNumbers.clear();
    // Painted once, when every row is in.
    m_list.SetRedraw(FALSE);
    CString text;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        m_list.EndEdit(true);
        // The report list's InsertItem forgets the last sort, so that the rows stay in the
        // table's order, and attaches the row's colour record.
        text.Format(L"%d", row + 1);
        const bool inserted = m_list.InsertItem(row, text, I_IMAGENONE) >= 0;
        // A port without a row is never drawn (0 is no COM number), not even into another's row.
        m_portComNumbers.push_back(inserted ? static_cast<int>(rows[i].comNumber) : 0);
        if (!inserted)
            continue;
        text.Format(L"COM%d", static_cast<int>(rows[i].comNumber));
        m_list.SetItemText(row, kComPortColumn, text);
        m_list.SetItemText(row, kIpColumn, FormatIpAddress(rows[i].address));
        for (const LineStateCell& cell : kLineStateCells)
            m_list.SetItem(row, cell.column, LVIF_IMAGE, nullptr, LSIMG_OFF, 0, 0, 0);
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    MapPortRows();

    // Every cell is drawn off now: the next pass draws every set bit again. Until a tick has
    // found which rows are in view, every row's port counts as in view.
    for (auto& drawn : g_prevLineStateTable)
        drawn = 0;
    unsigned long long ports[4] = {};
    for (const int com : m_portComNumbers)
        AddPort(ports, com);
    for (int i = 0; i < 4; ++i)
        m_poll->PortsInView[i] = ports[i];
}

int CSVT_MonitorDlg::FindPortRow(int index) const
{
    if (index >= 0 && static_cast<size_t>(index) < m_portRows.size())
        return m_portRows[static_cast<size_t>(index)];
    return index;
}

void CSVT_MonitorDlg::MapPortRows()
{
    const int ports = static_cast<int>(m_portComNumbers.size());
    m_portRows.assign(m_portComNumbers.size(), -1);
    const int rows = m_list.GetItemCount();
    CString canonical;
    for (int row = 0; row < rows; ++row) {
        // Only a cell that reads exactly as the number the page wrote names a port; the first
        // such row from the top is the port's.
        const CString number = m_list.GetItemText(row, 0);
        const long place = wcstol(number, nullptr, 10);
        if (place < 1 || place > ports)
            continue;
        canonical.Format(L"%d", static_cast<int>(place));
        int& portRow = m_portRows[static_cast<size_t>(place - 1)];
        if (portRow < 0 && number == canonical)
            portRow = row;
    }
    // A place that no row shows falls back to the row of that index.
    for (int index = 0; index < ports; ++index) {
        if (m_portRows[static_cast<size_t>(index)] < 0)
            m_portRows[static_cast<size_t>(index)] = index;
    }
}

void CSVT_MonitorDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CDialogEx::OnShowWindow(bShow, nStatus);
    // Rows are rebuilt only when their number changed since the last rebuild.
    if (bShow && m_list.GetItemCount() != g_deviceCount)
        Refresh();
}

void CSVT_MonitorDlg::OnMove(int x, int y)
{
    CDialogEx::OnMove(x, y);
    if (x == 0 || y == 0)
        return;
    GetClientRect(&ClientRect);
    m_list.MoveWindow(0, 0, ClientRect.right - 2, ClientRect.bottom - 1, FALSE);
}

void CSVT_MonitorDlg::OnDestroy()
{
    // The thread posts to this window: it ends before the window does.
    StopPolling();
    CDialogEx::OnDestroy();
}

// ---- the polling thread -------------------------------------------------------------------

bool CSVT_MonitorDlg::StartPolling()
{
    if (m_pThread != nullptr)
        return true;
    PollState& poll = *m_poll;
    if (poll.StopEvent.IsValid())
        ::ResetEvent(poll.StopEvent);
    poll.TickTarget = m_hWnd;
    poll.Ticks.Withdraw();
    poll.Running = 1;

    // The thread's own reference to its state.
    auto* pThreadPoll = new std::shared_ptr<PollState>(m_poll);
    // Started suspended so that the object is kept for the join at the end.
    CWinThread* pThread = AfxBeginThread(MonitorThreadProc, pThreadPoll, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (pThread == nullptr) {
        TRACE_LAST_ERROR(L"AfxBeginThread(monitor)");
        delete pThreadPoll;
        poll.Running = 0;
        return false;
    }
    pThread->m_bAutoDelete = FALSE;
    m_pThread = pThread;
    if (pThread->ResumeThread() == static_cast<DWORD>(-1)) {
        TRACE_LAST_ERROR(L"ResumeThread(monitor)");
        // A thread that never ran can go at once, and its reference with it.
        ::TerminateThread(pThread->m_hThread, 0);
        delete pThread;
        delete pThreadPoll;
        m_pThread = nullptr;
        poll.Running = 0;
        return false;
    }
    return true;
}

void CSVT_MonitorDlg::StopPolling()
{
    m_poll->Running = 0;
    if (m_pThread == nullptr)
        return;
    if (m_poll->StopEvent.IsValid())
        ::SetEvent(m_poll->StopEvent);
    if (::WaitForSingleObject(m_pThread->m_hThread, kStopWaitMs) != WAIT_OBJECT_0) {
        // A device request that never returns holds the thread. It keeps its state, whose
        // Running it finds 0 when it comes back, and its thread object, which is never freed
        // since nothing can tell when the thread has left it; the page itself may go meanwhile.
        m_pThread = nullptr;
        m_poll = std::make_shared<PollState>();
        return;
    }
    delete m_pThread;
    m_pThread = nullptr;
}

UINT MonitorThreadProc(LPVOID pParam)
{
    const std::unique_ptr<std::shared_ptr<CSVT_MonitorDlg::PollState>> poll(
        static_cast<std::shared_ptr<CSVT_MonitorDlg::PollState>*>(pParam));
    CSVT_MonitorDlg::MonitorPollLoop(**poll);
    return 1;
}

void CSVT_MonitorDlg::MonitorPollLoop(PollState& poll)
{
    MonitorSchedule schedule;
    while (poll.Running) {
        if (poll.StopEvent.IsValid()) {
            if (::WaitForSingleObject(poll.StopEvent, MonitorSchedule::kWakeMs) != WAIT_TIMEOUT)
                break;
        } else {
            ::Sleep(MonitorSchedule::kWakeMs);
        }
        if (!poll.Running)
            break;

        const BYTE enabled = g_traceSelection.enabled;
        const MonitorSchedule::Pass pass =
            schedule.Next(g_currentTab == 1, enabled != poll.LastSentTraceFlag, enabled != 0);
        switch (pass.work) {
            case MonitorSchedule::DeviceWork::SendTrace:
                SendTraceSelection(poll.LastSentTraceFlag);
                break;
            case MonitorSchedule::DeviceWork::ReadLineStates:
                ReadLineStateTable();
                break;
            case MonitorSchedule::DeviceWork::None:
                break;
        }
        // A stop may have come while the device was asked: its page no longer wants ticks.
        if (pass.draw && poll.Running && HasChangesToDraw(poll, pass.maskTraffic))
            PostTick(poll, pass.maskTraffic);
    }
}

bool CSVT_MonitorDlg::HasChangesToDraw(const PollState& poll, bool maskTraffic)
{
    for (UINT i = 0; i < LINE_STATE_TABLE_SIZE; ++i) {
        if (!(poll.PortsInView[i / 64].load() & (1ULL << (i % 64))))
            continue;
        BYTE state = g_lineStateTable[i];
        if (maskTraffic)
            state &= kTrafficMask;
        if (state != g_prevLineStateTable[i])
            return true;
    }
    return false;
}

void CSVT_MonitorDlg::PostTick(PollState& poll, bool maskTraffic)
{
    if (!poll.Ticks.Offer(maskTraffic))
        return;
    if (!::PostMessageW(poll.TickTarget, WM_MONITOR_TICK, 0, 0))
        poll.Ticks.Withdraw();
}

// ---- drawing, on the user-interface thread -------------------------------------------------

LRESULT CSVT_MonitorDlg::OnMonitorTick(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    DrawChangedStates(m_poll->Ticks.Take());
    return 0;
}

LRESULT CSVT_MonitorDlg::OnReportSorted(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // The rows moved, and their "No" cells with them: other ports may be in view now.
    MapPortRows();
    DrawChangedStates(m_poll->Ticks.Newest());
    return 0;
}

LRESULT CSVT_MonitorDlg::OnRowsInView(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    DrawChangedStates(m_poll->Ticks.Newest());
    return 0;
}

void CSVT_MonitorDlg::DrawChangedStates(bool maskTraffic)
{
    int top = 0;
    int last = 0;
    m_list.GetRowsInView(top, last);
    unsigned long long inView[4] = {};
    std::vector<ReportCellImage> cells;
    for (size_t index = 0; index < m_portComNumbers.size(); ++index) {
        const int com = m_portComNumbers[index];
        if (com < 1 || com > static_cast<int>(LINE_STATE_TABLE_SIZE))
            continue;
        const int row = FindPortRow(static_cast<int>(index));
        if (row < top || row > last)
            continue;
        AddPort(inView, com);
        BYTE state = g_lineStateTable[com - 1];
        if (maskTraffic)
            state &= kTrafficMask;
        const BYTE drawn = g_prevLineStateTable[com - 1];
        if (state == drawn)
            continue;
        for (const LineStateCell& cell : kLineStateCells) {
            if ((state ^ drawn) & cell.bit)
                cells.push_back({row, cell.column, LineStateCellImage(cell, state)});
        }
        g_prevLineStateTable[com - 1] = state;
    }
    for (int i = 0; i < 4; ++i)
        m_poll->PortsInView[i] = inView[i];
    m_list.SetCellImages(cells);
}
