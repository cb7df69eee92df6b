// Dialogs: creation from a template, the modal run and the standard command handling.
#include "framework/dialog.h"

#include "framework/app.h"

#include <vector>

namespace {

// The modal dialogs of this thread that run or are being created, innermost last.
thread_local std::vector<const CDialog*> t_modalDialogs;

// Keeps a dialog on that list while its DoModal runs.
class ModalDialogEntry {
public:
    explicit ModalDialogEntry(const CDialog* pDlg) { t_modalDialogs.push_back(pDlg); }
    ~ModalDialogEntry() { t_modalDialogs.pop_back(); }
    ModalDialogEntry(const ModalDialogEntry&) = delete;
    ModalDialogEntry& operator=(const ModalDialogEntry&) = delete;
};

// The dialog procedure under the library's window procedure: everything the dialog object
// leaves unhandled reaches the dialog manager's default processing through it.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The window that owns a modal dialog: the top-level window of the parent, or of the main window.
HWND ModalOwner(const CDialog& dlg)
{
    HWND hWnd = nullptr;
    if (dlg.m_pParentWnd != nullptr) {
        hWnd = dlg.m_pParentWnd->m_hWnd;
    } else if (CWnd* pMainWnd = AfxGetMainWnd(); pMainWnd != nullptr && pMainWnd != &dlg) {
        hWnd = pMainWnd->m_hWnd;
    }
    if (hWnd == nullptr || !::IsWindow(hWnd))
        return nullptr;
    return ::GetAncestor(hWnd, GA_ROOT);
}

}  // namespace

HWND AfxGetModalDialogWindow()
{
    return t_modalDialogs.empty() ? nullptr : t_modalDialogs.back()->m_hWnd;
}

CDialog::CDialog()
{
    m_nFlags |= WF_ISDIALOG;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd)
{
    m_nFlags |= WF_ISDIALOG;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpszTemplateName = nullptr;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEW lpDialogTemplate, HWND hWndParent)
{
    if (lpDialogTemplate == nullptr || m_hWnd != nullptr)
        return FALSE;
    if (!AfxRegisterTemplateControls(lpDialogTemplate))
        return FALSE;
    if (!HookWindowCreate(this))
        return FALSE;
    HWND hWnd = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), lpDialogTemplate, hWndParent, &AfxDlgProc, 0);
    const BOOL hooked = UnhookWindowCreate();
    if (hWnd == nullptr) {
        // A dialog that failed after its window existed has been detached by WM_NCDESTROY.
        return FALSE;
    }
    if (!hooked && !SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return m_hWnd == hWnd;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATEW lpTemplate = m_lpDialogTemplate;
    if (lpTemplate == nullptr && m_lpszTemplateName != nullptr)
        lpTemplate = AfxLoadDialogTemplate(m_lpszTemplateName);
    if (lpTemplate == nullptr)
        return -1;

    const ModalDialogEntry modalEntry(this);
    HWND hWndOwner = ModalOwner(*this);
    const bool enableOwner = hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner);
    if (enableOwner)
        ::EnableWindow(hWndOwner, FALSE);

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(lpTemplate, hWndOwner)) {
        // EndDialog in OnInitDialog has already cleared WF_CONTINUEMODAL: no loop then.
        if (m_nFlags & WF_CONTINUEMODAL)
            RunModalLoop();
        if (m_hWnd != nullptr)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);

    // The owner is enabled before the dialog goes, so that activation returns to it.
    if (enableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
    return CreateIndirect(AfxLoadDialogTemplate(lpszTemplateName), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd == nullptr)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd ? pParentWnd->m_hWnd : nullptr);
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    else if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    // Binds and fills the controls; a failed exchange still shows the dialog.
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl != nullptr)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

BOOL CDialog::OnCmdMsg(UINT nMessage, UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnCmdMsg(nMessage, nID, nCode, wParam, lParam, pResult))
        return TRUE;
    // Plain commands the dialog does not handle go on to the application (its help command).
    if (nMessage != WM_COMMAND || nCode != CN_COMMAND || nID >= 0xF000)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nMessage, nID, nCode, wParam, lParam, pResult);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDialogEx, CDialog)
END_MESSAGE_MAP()
