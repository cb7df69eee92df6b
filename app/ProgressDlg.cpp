#include "app/ProgressDlg.h"

#include "app/ComUsage.h"
#include "app/Globals.h"
#include "app/KeyFilter.h"
#include "app/PortSettings.h"

#include <algorithm>

namespace {

enum { IDC_PROGRESS = 1024, IDC_PROGRESS_TEXT = 1025 };

// Posted by the delete worker as its last act; wParam is 1 when it ran to the end.
const UINT WM_DELETE_DONE = WM_APP + 1;
// Posted by the delete worker for the bar and the text: wParam the total (start) or the ports
// done (step), lParam the COM number of a step.
const UINT WM_PROGRESS_START = WM_APP + 2;
const UINT WM_PROGRESS_STEP = WM_APP + 3;

const COLORREF kTextColor = RGB(91, 125, 164);
const COLORREF kBackColor = RGB(100, 148, 148);

LPCWSTR StartFormat(PortOperation op)
{
    switch (op) {
        case PORTOP_ADD:
            return L"The driver add was started. please wait (%d/%d)";
        case PORTOP_DELETE_SELECTED:
        case PORTOP_DELETE_ALL:
            return L"The driver delete was started. please wait (%d/%d)";
        default:
            return nullptr;
    }
}

LPCWSTR StepFormat(PortOperation op)
{
    switch (op) {
        case PORTOP_ADD:
            return L"%d/%d  COM%d was created";
        case PORTOP_DELETE_SELECTED:
        case PORTOP_DELETE_ALL:
            return L"%d/%d  COM%d was deleted";
        default:
            return nullptr;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CSVT_ProgressDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_TIMER()
ON_MESSAGE(WM_DELETE_DONE, &CSVT_ProgressDlg::OnDeleteDone)
ON_MESSAGE(WM_PROGRESS_START, &CSVT_ProgressDlg::OnProgressStart)
ON_MESSAGE(WM_PROGRESS_STEP, &CSVT_ProgressDlg::OnProgressStep)
END_MESSAGE_MAP()

CSVT_ProgressDlg::CSVT_ProgressDlg() : CDialog(IDD)
{
    m_brush.CreateSolidBrush(RGB(255, 255, 255));
}

CSVT_ProgressDlg::~CSVT_ProgressDlg() = default;

void CSVT_ProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_PROGRESS_TEXT, m_text);
}

BOOL CSVT_ProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_dialogThread = ::GetCurrentThreadId();

    switch (g_portOperation) {
        case PORTOP_DELETE_SELECTED:
        case PORTOP_DELETE_ALL:
            SetWindowText(g_portOperation == PORTOP_DELETE_SELECTED ? L"Delete Port" : L"Delete All Port");
            m_workerRunning = AfxBeginThread(DeleteWorkerThread, this) != nullptr;
            return TRUE;
        case PORTOP_ADD:
            SetWindowText(L"Add Port");
            m_nextCom = static_cast<int>(g_addPortRequest.startCom);
            m_portsAdded = 0;
            InitProgress(static_cast<int>(g_addPortRequest.count));
            if (g_osVersion < 53) {
                SetTimer(TIMER_ADD_STEP, 100, nullptr);
            } else {
                SetTimer(TIMER_ADD_START, 100, nullptr);
                SetTimer(TIMER_ADD_POLL, 1000, nullptr);
            }
            return TRUE;
        default:
            return TRUE;
    }
}

// The delete worker does not wait for the user-interface thread to carry out its bar and text
// changes: it posts them, and the dialog applies them in the order they were posted, before the
// worker's last word. A thread that is busy drawing (the Status page with every port blinking)
// would otherwise hold the worker at every port. Only a full queue makes the worker wait.
bool CSVT_ProgressDlg::PostToDialogThread(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_dialogThread == 0 || ::GetCurrentThreadId() == m_dialogThread)
        return false;
    if (!::PostMessageW(m_hWnd, message, wParam, lParam))
        ::SendMessageW(m_hWnd, message, wParam, lParam);
    return true;
}

void CSVT_ProgressDlg::InitProgress(int total)
{
    if (PostToDialogThread(WM_PROGRESS_START, static_cast<WPARAM>(total), 0))
        return;
    m_progress.SetRange(0, static_cast<short>(total));
    m_progress.SetStep(1);
    m_progress.SetPos(0);
    m_total = total;
    CString text;
    if (LPCWSTR format = StartFormat(g_portOperation))
        text.Format(format, 0, total);
    m_text.SetWindowText(text);
}

void CSVT_ProgressDlg::StepProgress(int done, int comNumber)
{
    if (PostToDialogThread(WM_PROGRESS_STEP, static_cast<WPARAM>(done), comNumber))
        return;
    m_progress.SetPos(done);
    CString text;
    if (LPCWSTR format = StepFormat(g_portOperation))
        text.Format(format, done, m_total, comNumber);
    m_text.SetWindowText(text);
}

void CSVT_ProgressDlg::OnTimer(UINT_PTR nIDEvent)
{
    AddPortRequest& request = g_addPortRequest;
    const int count = static_cast<int>(request.count);

    switch (nIDEvent) {
        case TIMER_ADD_START:
            KillTimer(TIMER_ADD_START);
            if (g_portOperation == PORTOP_ADD) {
                m_presentAtStart = CountPresentPortDevices();
                if (!PortsCanBeChecked(m_presentAtStart))
                    break;
                InitProgress(count);
                BuildComUsageMap();
                AddAllPorts(request);
            } else if (g_portOperation == PORTOP_DELETE_SELECTED || g_portOperation == PORTOP_DELETE_ALL) {
                OnOK();
            }
            break;

        case TIMER_ADD_POLL: {
            KillTimer(TIMER_ADD_POLL);
            const int present = CountPresentPortDevices();
            if (present == kUnknownPortCount) {
                // The ports may be there, but nothing can tell: the page shows what it can find.
                AfxMessageBox(L"The port devices could not be read.\nThe new ports could not be checked", MB_OK);
                OnOK();
                return;
            }
            // A port that went meanwhile is not a new one taken back: the count never goes below 0.
            const int appeared = std::max(0, present - m_presentAtStart);
            if (appeared >= count) {
                OnOK();
                return;
            }
            if (appeared != 0) {
                BuildComUsageMap();
                // The highest chosen number that is in use by now names the port last created.
                int latest = 0;
                for (UINT n = request.startCom; n >= 1 && n <= 255; ++n) {
                    if (request.chosen[n] == 1 && g_comUsageMap[n - 1] != COMUSE_FREE)
                        latest = static_cast<int>(n);
                }
                StepProgress(appeared, latest);
            }
            SetTimer(TIMER_ADD_POLL, 1000, nullptr);
            break;
        }

        case TIMER_ADD_STEP:
            KillTimer(TIMER_ADD_STEP);
            if (m_written.empty() && !PortsCanBeChecked(CountPresentPortDevices()))
                break;
            if (AddNextPort(request)) {
                StepProgress(m_portsAdded, m_nextCom - 1);
                if (m_portsAdded >= count)
                    OnOK();
            }
            SetTimer(TIMER_ADD_STEP, 100, nullptr);
            break;
    }
    CDialog::OnTimer(nIDEvent);
}

HBRUSH CSVT_ProgressDlg::OnCtlColor(CDC* pDC, CWnd*, UINT)
{
    pDC->SetTextColor(kTextColor);
    pDC->SetBkColor(kBackColor);
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

BOOL CSVT_ProgressDlg::PreTranslateMessage(MSG* pMsg)
{
    if (IsFilteredKey(pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CSVT_ProgressDlg::OnCancel()
{
    // The delete worker refers to this dialog until it reports back: the close box waits for it.
    if (m_workerRunning)
        return;
    // An add given up by the user keeps only the ports that came.
    if (g_portOperation == PORTOP_ADD)
        RemoveUnplacedPorts(false);
    CDialog::OnCancel();
}

bool CSVT_ProgressDlg::PortsCanBeChecked(int presentCount)
{
    if (presentCount != kUnknownPortCount)
        return true;
    AfxMessageBox(L"The port devices could not be read.\nNo port was added", MB_OK);
    EndDialog(IDCANCEL);
    return false;
}

LRESULT CSVT_ProgressDlg::OnDeleteDone(WPARAM wParam, LPARAM)
{
    m_workerRunning = false;
    // A worker that ran to the end lets the dialog close itself after 100 ms; one that could not
    // open the COM-port database leaves it open until the user closes it.
    if (wParam)
        SetTimer(TIMER_ADD_START, 100, nullptr);
    return 0;
}

LRESULT CSVT_ProgressDlg::OnProgressStart(WPARAM wParam, LPARAM)
{
    InitProgress(static_cast<int>(wParam));
    return 0;
}

LRESULT CSVT_ProgressDlg::OnProgressStep(WPARAM wParam, LPARAM lParam)
{
    StepProgress(static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
}

UINT DeleteWorkerThread(LPVOID dialog)
{
    auto* dlg = static_cast<CSVT_ProgressDlg*>(dialog);
    bool finished = false;
    if (g_portOperation == PORTOP_DELETE_SELECTED) {
        dlg->InitProgress(static_cast<int>(g_deletePortRequest.count));
        finished = dlg->DeleteSelectedPorts();
    } else if (g_portOperation == PORTOP_DELETE_ALL) {
        dlg->InitProgress(static_cast<int>(PortTableSize()));
        finished = dlg->DeleteAllPorts();
    }
    ::PostMessageW(dlg->GetSafeHwnd(), WM_DELETE_DONE, finished ? 1 : 0, 0);
    return 0;
}
