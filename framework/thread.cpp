// Worker threads started through the CRT, so that the CRT's per-thread state is set up and freed.
#include "framework/thread.h"

#include "framework/wnd.h"

#include <new>
#include <process.h>

CWinThread::~CWinThread()
{
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread != nullptr)
        return FALSE;
    // Always start suspended so that m_hThread is set before the thread can end and delete us.
    unsigned threadId = 0;
    uintptr_t handle =
        _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this, CREATE_SUSPENDED, &threadId);
    if (handle == 0)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = threadId;
    if (!(dwCreateFlags & CREATE_SUSPENDED) && ::ResumeThread(m_hThread) == static_cast<DWORD>(-1)) {
        // It cannot run: end it without running the worker.
        ::TerminateThread(m_hThread, 1);
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
        m_nThreadID = 0;
        return FALSE;
    }
    return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    UINT nResult = 0;
    if (pThread->m_pfnThreadProc != nullptr) {
        nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    } else if (pThread->InitInstance()) {
        nResult = static_cast<UINT>(pThread->Run());
    } else {
        nResult = static_cast<UINT>(pThread->ExitInstance());
    }
    if (pThread->m_bAutoDelete)
        delete pThread;
    return nResult;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    MSG msg;
    for (;;) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            AfxCleanupTempMap();  // idle: drop wrappers of windows that are gone
        if (!AfxPumpMessage())
            break;
    }
    m_nQuitCode = AfxGetQuitCode();
    return ExitInstance();
}

int CWinThread::ExitInstance()
{
    return m_nQuitCode;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (pfnThreadProc == nullptr)
        return nullptr;
    CWinThread* pThread = new (std::nothrow) CWinThread(pfnThreadProc, pParam);
    if (pThread == nullptr)
        return nullptr;
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED) && pThread->ResumeThread() == static_cast<DWORD>(-1)) {
        ::TerminateThread(pThread->m_hThread, 1);
        delete pThread;
        return nullptr;
    }
    return pThread;
}
