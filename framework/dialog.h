// CDialog and CDialogEx: dialogs made from templates, modal or modeless.
//
// DoModal runs the library's own modal loop (framework/msgloop.cpp), so PreTranslateMessage of
// the dialog and its controls sees every message. The owner, the given parent or else the
// application's main window, is disabled while the dialog runs and enabled again before the
// dialog is destroyed. Create makes a modeless dialog (a child page, for instance).
#pragma once

#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally; the value given to EndDialog, or -1 when it could not be created.
    virtual INT_PTR DoModal();
    // A modal dialog from a template in memory (it must stay valid while the dialog runs).
    BOOL InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog modelessly; FALSE when the template or the window could not be made.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);
    using CWnd::Create;

    // Ends a modal dialog with nResult (the loop returns it); hides a modeless one.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void GotoDlgCtrl(CWnd* pWndCtrl);

    UINT m_nIDHelp = 0;
    LPCWSTR m_lpszTemplateName = nullptr;
    LPCDLGTEMPLATEW m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    BOOL CreateDlgIndirect(LPCDLGTEMPLATEW lpDialogTemplate, HWND hWndParent);
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    BOOL OnCmdMsg(UINT nMessage, UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    DECLARE_MESSAGE_MAP()
};

class CDialogEx : public CDialog {
public:
    explicit CDialogEx(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CDialog(nIDTemplate, pParentWnd) {}

protected:
    DECLARE_MESSAGE_MAP()
};

// The window of the calling thread's innermost modal dialog that runs or is being created (it
// exists from WM_INITDIALOG on); null when there is none.
HWND AfxGetModalDialogWindow();

// Finds a dialog template among the resources; null when it is missing.
LPCDLGTEMPLATEW AfxLoadDialogTemplate(LPCWSTR lpszTemplateName);
// The ICC_* classes that the controls of a template need (SysIPAddress32 -> ICC_INTERNET_CLASSES,
// ...); 0 when it uses only the system's own classes.
DWORD AfxTemplateCommonControls(LPCDLGTEMPLATEW lpDialogTemplate);
// Registers the common-control classes a template uses; FALSE when that failed.
BOOL AfxRegisterTemplateControls(LPCDLGTEMPLATEW lpDialogTemplate);
