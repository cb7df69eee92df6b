// The application object's start-up.
#include "app/SarventoCtlApp.h"

#include "app/SarventoCtlDlg.h"

// The class library's standard help command.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

// clang-format off
BEGIN_MESSAGE_MAP(CSVT_SarventoCtlApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()
// clang-format on

BOOL CSVT_SarventoCtlApp::InitInstance()
{
    // A named event marks the running instance; its handle stays open until the process ends.
    // Should the event not be made at all, the program runs unguarded rather than not at all.
    HANDLE hRunning = ::CreateEventW(nullptr, FALSE, TRUE, m_pszExeName);
    if (hRunning != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        AfxMessageBox(L"Program is already running!", MB_OK);
        return FALSE;
    }

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    // Dialogs register the classes their templates use when they are created, so the program
    // goes on without this.
    ::InitCommonControlsEx(&icc);

    CWinApp::InitInstance();
    // Dragging the port list's rows needs OLE on this thread. Should OLE refuse, the list works
    // without drag and drop; the library's entry ends OLE again after the program has run.
    AfxOleInit();
    SetRegistryKey(L"로컬 응용 프로그램 마법사에서 생성된 응용 프로그램");

    CSVT_SarventoCtlDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
