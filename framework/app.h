// CWinApp: the application object, and the functions that find it.
//
// The program defines one global object of a class derived from CWinApp. The library's entry
// point (framework/appmain.cpp) calls its InitInstance; when that returns FALSE the program ends
// with ExitInstance's code, otherwise Run's message loop runs until WM_QUIT.
#pragma once

#include "framework/thread.h"
#include "framework/wnd.h"

#include <string>

class CWinApp : public CWinThread {
public:
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    BOOL InitInstance() override;

    // Sets the registry key under HKEY_CURRENT_USER\Software where the program's profile lives.
    void SetRegistryKey(LPCWSTR lpszRegistryKey);

    // The standard help command; the program has no help file, so it does nothing.
    void OnHelp();

    // Sets the instance and the show command; the entry point calls it before InitInstance.
    void SetInstance(HINSTANCE hInstance, int nCmdShow);

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCWSTR m_pszAppName = nullptr;      // the title: string AFX_IDS_APP_TITLE, else the file name
    LPCWSTR m_pszExeName = nullptr;      // the executable's file name without its extension
    LPCWSTR m_pszRegistryKey = nullptr;  // set by SetRegistryKey
    LPCWSTR m_pszProfileName = nullptr;  // the application name used under the registry key

private:
    void ReadNames();

    std::wstring m_appName;
    std::wstring m_exeName;
    std::wstring m_registryKey;

    DECLARE_MESSAGE_MAP()
};

// The string whose text becomes the application's title when the program has one.
#define AFX_IDS_APP_TITLE 0xE000

CWinApp* AfxGetApp();
// The application's main window (CWinApp::m_pMainWnd), or null.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// The application's title (captions of message boxes): m_pszAppName, or the executable's name
// when there is no application object.
LPCWSTR AfxGetAppName();

// The program's entry work: initialises the application object and runs it.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
