// The progress dialog: carries out one port operation (g_portOperation) while it shows a bar
// and a line of text. Adding runs on the user-interface thread in the dialog's timers; deleting
// runs on a worker thread that reports back to the dialog.
#pragma once

#include "app/AddPortRequest.h"
#include "framework/framework.h"

#include <vector>

enum : UINT_PTR {
    TIMER_ADD_START = 4097,  // 100 ms, once: start the add, or end the dialog after a delete
    TIMER_ADD_POLL = 4098,   // 1000 ms: count the new port devices
    TIMER_ADD_STEP = 4099,   // 100 ms: add one port (old Windows)
};

class CSVT_ProgressDlg : public CDialog {
public:
    enum { IDD = 144 };

    CSVT_ProgressDlg();
    ~CSVT_ProgressDlg() override;

    // Bar and text; also called from the delete worker, whose changes the dialog's own thread
    // carries out, in order, without the worker waiting for it.
    void InitProgress(int total);
    void StepProgress(int done, int comNumber);

    // The two add workers, given g_addPortRequest.
    void AddAllPorts(AddPortRequest& request);
    bool AddNextPort(AddPortRequest& request);

    // The two delete workers, run on the delete thread; true when they ran to the end.
    bool DeleteSelectedPorts();
    bool DeleteAllPorts();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Whether the delete worker has yet to report back.
    bool WorkerRunning() const { return m_workerRunning; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnDeleteDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnProgressStart(WPARAM wParam, LPARAM lParam);
    LRESULT OnProgressStep(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

public:
    CProgressCtrl m_progress;
    CStatic m_text;
    int m_total = 0;
    int m_presentAtStart = 0;
    CBrush m_brush;
    int m_nextCom = 0;
    int m_portsAdded = 0;

private:
    // Posts a change of the bar and text to the dialog's thread when called from another one.
    bool PostToDialogThread(UINT message, WPARAM wParam, LPARAM lParam);
    // An add starts only when the port devices can be counted (presentCount is not
    // kUnknownPortCount): without them no new port could be checked. False, after saying so and
    // ending the dialog, when they cannot.
    bool PortsCanBeChecked(int presentCount);
    // Deletes the settings this add wrote for ports that have no device (all of them when
    // unconditionally), so that no later plug-in request brings them back unasked. While the
    // port devices cannot be listed, a port without a known device keeps them.
    void RemoveUnplacedPorts(bool unconditionally);

    // The COM numbers whose settings this add wrote for ports that are not known to be there yet
    // (on the old road a port leaves it once it has appeared).
    std::vector<int> m_written;

    // Set while the delete worker runs: the dialog cannot be closed under it.
    bool m_workerRunning = false;
    DWORD m_dialogThread = 0;
};

// Whether a value of HARDWARE\DEVICEMAP\SERIALCOMM names COM comNumber.
bool IsComInSerialcomm(int comNumber);

// Entry of the delete worker thread; its parameter is the progress dialog.
UINT DeleteWorkerThread(LPVOID dialog);
