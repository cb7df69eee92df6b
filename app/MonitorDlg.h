// The "Status" tab page: one row per configured port with eight line-state cells (CON, ERR, TX,
// RX, CTS, DSR, DCD, RI), each an image that is on or off.
//
// A polling thread, started with the page's window and stopped with it, keeps the rhythm
// (MonitorSchedule) and does the device requests; it never touches a window. On each pass that
// draws it compares the line states of the ports in view, with RX and TX as the pass shows them,
// with what the page drew last; only when one differs does it post WM_MONITOR_TICK to the page.
// The page, on the user-interface thread, then sets the images of the changed cells, with the
// blink half of the newest pass (MonitorTickBox). So a page where nothing changes costs the
// user-interface thread nothing, rows are never rebuilt under a drawing pass, and a slow
// user-interface thread only makes the thread skip passes (one tick waits at most), never wait
// for it.
//
// Only the rows in view are drawn on a tick: a row scrolled out of view keeps the images it had
// until it comes into view again, and then, before the list paints it (WM_REPORT_ROWSINVIEW),
// it gets the states of that moment. With 255 ports blinking, setting every row's cells 20 times
// a second cost the list a request to the window server per cell, for rows nobody sees.
//
// The user may sort the list by a column header; a port's row is then the one whose "No" cell
// holds the port's place in the table, since that cell moves with its row. Which row that is
// changes only when the rows are rebuilt or sorted, so it is looked up then, once for every port,
// and not on every pass.
#pragma once

#include "app/MonitorSchedule.h"
#include "app/ScopedHandles.h"
#include "controls/ReportCtrl.h"
#include "framework/framework.h"
#include "res/resource.h"

#include <atomic>
#include <memory>
#include <vector>

// Posted by the polling thread to the page when a pass has something to draw.
#define WM_MONITOR_TICK (WM_APP + 1)

class CSVT_MonitorDlg : public CDialogEx {
public:
    enum { IDD = IDD_MONITOR };

    CSVT_MonitorDlg();
    ~CSVT_MonitorDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Rebuilds every row from the port table, with every state cell off, and has the next pass
    // draw every set bit again.
    void Refresh();
    // The row that shows the port at place index of the table (its "No" cell is index + 1), or
    // index itself when no row says so, as of the last rebuild or sort of the rows.
    int FindPortRow(int index) const;
    // Stops the polling thread and waits for it, at most kStopWaitMs; the page's window going
    // does it as well.
    void StopPolling();
    // Whether the polling thread runs.
    bool IsPolling() const { return m_pThread != nullptr; }
    // The polling thread's handle while it runs, else null.
    HANDLE PollingThread() const { return m_pThread != nullptr ? m_pThread->m_hThread : nullptr; }

private:
    // What the polling thread reads and writes besides the globals. The thread holds a reference
    // of its own: a thread that outlives a stop that timed out (a device request that does not
    // return) comes back to this, never to a page that may be gone by then.
    struct PollState {
        // Set to end the thread's 50 ms wait at once; not valid when it could not be made (the
        // thread then sleeps its waits out).
        const ScopedHandle StopEvent{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        // The polling thread runs while this is non-zero.
        std::atomic<int> Running{0};
        // The enabled byte of the trace selection that the status device last accepted.
        std::atomic<BYTE> LastSentTraceFlag{0};
        // Where the thread posts its ticks; set before the thread starts.
        HWND TickTarget = nullptr;
        MonitorTickBox Ticks;
        // The COM numbers of the rows in view, one bit each (bit n - 1 of the 256 for COM n);
        // made by DrawChangedStates.
        std::atomic<unsigned long long> PortsInView[4] = {};
    };

public:
    // The page's client rectangle, taken at initialisation and on each move.
    CRect ClientRect;
    // The line-state list (control 1001); the main dialog sizes it with the page.
    CReportCtrl m_list;

    static constexpr DWORD kStopWaitMs = 5000;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnMove(int x, int y);
    void OnDestroy();
    LRESULT OnMonitorTick(WPARAM wParam, LPARAM lParam);
    LRESULT OnReportSorted(WPARAM wParam, LPARAM lParam);
    LRESULT OnRowsInView(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    friend UINT MonitorThreadProc(LPVOID pParam);

    void InsertColumns(int unit);
    bool StartPolling();
    static void MonitorPollLoop(PollState& poll);
    // Whether a pass that shows RX and TX as maskTraffic says has a cell to draw.
    static bool HasChangesToDraw(const PollState& poll, bool maskTraffic);
    // Tells the page that a pass wants drawing, unless the last such word is still unread.
    static void PostTick(PollState& poll, bool maskTraffic);
    // Sets the images of the cells in view whose bit changed since they were drawn.
    void DrawChangedStates(bool maskTraffic);
    // Reads every row's "No" cell and notes, for each port, the row that shows it.
    void MapPortRows();

    CWinThread* m_pThread = nullptr;
    // The polling thread's state; never null. A stop that times out leaves it to the thread, and
    // the page polls with a new one from its next start.
    std::shared_ptr<PollState> m_poll = std::make_shared<PollState>();
    // The COM number of each port the rows show, in the table's order (the rows' "No" order).
    std::vector<int> m_portComNumbers;
    // The row of each port, in the same order; made by MapPortRows.
    std::vector<int> m_portRows;
};

// The polling thread's entry: runs the page's polling loop and returns 1. pParam is a
// std::shared_ptr to the thread's state, made with new; the thread deletes it at its end.
UINT MonitorThreadProc(LPVOID pParam);
