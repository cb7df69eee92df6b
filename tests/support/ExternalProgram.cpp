#include "tests/support/ExternalProgram.h"

namespace uitest {

namespace {

struct WindowQuery {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    std::vector<HWND> found;
};

std::wstring Caption(HWND hWnd)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(hWnd, text, 512);  // another process's caption: read without a message
    return text;
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != query->processId || !::IsWindowVisible(hWnd))
        return TRUE;
    wchar_t name[256] = {};
    if (query->className != nullptr && (!::GetClassNameW(hWnd, name, 256) || lstrcmpW(name, query->className) != 0))
        return TRUE;
    if (query->caption != nullptr && Caption(hWnd) != query->caption)
        return TRUE;
    query->found.push_back(hWnd);
    return TRUE;
}

}  // namespace

const wchar_t kMainCaption[] = L"COM Sarvento Control v3.2.0.6";

std::wstring BuiltProgramPath()
{
    // The nearest folder above this program that holds app\SarventoCtl3.exe.
    wchar_t path[MAX_PATH] = {};
    std::wstring dir(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    std::wstring program;
    for (int up = 0; up < 3; ++up) {
        dir = dir.substr(0, dir.find_last_of(L"\\/"));
        program = dir + L"\\app\\SarventoCtl3.exe";
        if (::GetFileAttributesW(program.c_str()) != INVALID_FILE_ATTRIBUTES)
            break;
    }
    return program;
}

ExternalProgram::ExternalProgram(const std::wstring& path, const std::wstring& folder,
                                 SECURITY_ATTRIBUTES* processAttributes)
{
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    for (;;) {
        m_started = ::CreateProcessW(path.c_str(), &commandLine[0], processAttributes, nullptr, FALSE, 0, nullptr,
                                     folder.empty() ? nullptr : folder.c_str(), &si, &m_pi);
        m_startError = m_started ? ERROR_SUCCESS : ::GetLastError();
        if (m_startError != ERROR_INTERNAL_ERROR || ::GetTickCount64() >= deadline)
            break;
        ::Sleep(50);
    }
}

ExternalProgram::~ExternalProgram()
{
    if (!m_started)
        return;
    if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_pi.hProcess, 1);
        ::WaitForSingleObject(m_pi.hProcess, 10000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

bool ExternalProgram::WaitForExit(DWORD timeoutMs) const
{
    return m_started && ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ExternalProgram::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_started)
        ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

HWND ExternalProgram::WaitForMainWindow(DWORD timeoutMs) const
{
    return m_started ? WaitForWindow(Id(), L"#32770", kMainCaption, timeoutMs) : nullptr;
}

bool ExternalProgram::Close(DWORD timeoutMs)
{
    const std::vector<HWND> main = TopLevelWindows(Id(), L"#32770", kMainCaption);
    return !main.empty() && ::PostMessageW(main.front(), WM_CLOSE, 0, 0) && WaitForExit(timeoutMs);
}

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className, const wchar_t* caption)
{
    WindowQuery query = {processId, className, caption, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    HWND hFound = nullptr;
    WaitFor(
        [&] {
            const std::vector<HWND> found = TopLevelWindows(processId, className, caption);
            hFound = found.empty() ? nullptr : found.front();
            return hFound != nullptr;
        },
        timeoutMs);
    return hFound;
}

std::vector<HWND> Children(HWND hParent, const wchar_t* className)
{
    std::vector<HWND> children;
    for (HWND h = ::FindWindowExW(hParent, nullptr, className, nullptr); h != nullptr;
         h = ::FindWindowExW(hParent, h, className, nullptr))
        children.push_back(h);
    return children;
}

HWND Descendant(HWND hRoot, int id)
{
    struct Search {
        int id;
        HWND found;
    } search = {id, nullptr};
    ::EnumChildWindows(
        hRoot,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (::GetDlgCtrlID(hWnd) != s->id)
                return TRUE;
            s->found = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace uitest
