// The application object and the globals that lead to it.
#include "framework/app.h"

#include "framework/ole.h"

#include <vector>

namespace {

CWinApp* g_pApp = nullptr;
HINSTANCE g_hResource = nullptr;

std::wstring ExecutableBaseName()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return L"";
        if (n < path.size())
            break;
        path.resize(path.size() * 2);
    }
    std::wstring name(path.data());
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot != 0)
        name.erase(dot);
    return name;
}

std::wstring LoadResourceString(HINSTANCE hInstance, UINT nID)
{
    LPCWSTR text = nullptr;
    const int n = ::LoadStringW(hInstance, nID, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 && text != nullptr ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
}

}  // namespace

CWinApp::CWinApp(LPCWSTR lpszAppName)
{
    g_pApp = this;
    m_hInstance = ::GetModuleHandleW(nullptr);
    if (lpszAppName != nullptr)
        m_appName = lpszAppName;
    ReadNames();
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::ReadNames()
{
    m_exeName = ExecutableBaseName();
    if (m_appName.empty())
        m_appName = LoadResourceString(m_hInstance, AFX_IDS_APP_TITLE);
    if (m_appName.empty())
        m_appName = m_exeName;
    m_pszAppName = m_appName.c_str();
    m_pszExeName = m_exeName.c_str();
    m_pszProfileName = m_pszAppName;
}

void CWinApp::SetInstance(HINSTANCE hInstance, int nCmdShow)
{
    m_hInstance = hInstance;
    m_nCmdShow = nCmdShow;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey)
{
    // Only names the key; nothing is written until the program stores a profile value.
    m_registryKey = lpszRegistryKey ? lpszRegistryKey : L"";
    m_pszRegistryKey = m_registryKey.c_str();
}

void CWinApp::OnHelp() {}

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hResource = hInstResource;
}

LPCWSTR AfxGetAppName()
{
    if (g_pApp != nullptr)
        return g_pApp->m_pszAppName;
    static const std::wstring name = ExecutableBaseName();
    return name.c_str();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->SetInstance(hInstance, nCmdShow);
    int nExitCode = 0;
    if (!pApp->InitInstance()) {
        // The main window, if any, lived in InitInstance; its object cleared m_pMainWnd on the way out.
        if (pApp->m_pMainWnd != nullptr && pApp->m_pMainWnd->m_hWnd != nullptr)
            pApp->m_pMainWnd->DestroyWindow();
        nExitCode = pApp->ExitInstance();
    } else {
        nExitCode = pApp->Run();
    }
    // OLE, when InitInstance started it, ends on the thread that started it.
    AfxOleTerm();
    return nExitCode;
}
