#include "bench/UnixCpu.h"

#include <cstdlib>
#include <cstring>

namespace benchcpu {

bool ReadProcFile(DWORD pid, const std::wstring& name, std::string& content)
{
    const std::wstring path = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\" + name;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    content.clear();
    char buffer[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got != 0)
        content.append(buffer, got);
    ::CloseHandle(file);
    return ok;
}

namespace {

// Linux reports process times in clock ticks of 1/100 s on every platform Wine runs on here.
const double kTicksPerSecond = 100.0;

std::string Utf8(const std::wstring& text)
{
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    out.resize(static_cast<size_t>(bytes) - 1);
    return out;
}

// Whether the process's environment names this prefix.
bool InOurPrefix(DWORD pid)
{
    wchar_t prefix[MAX_PATH];
    DWORD chars = ::GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    if (chars == 0 || chars >= MAX_PATH)
        return false;
    const std::string wanted = "WINEPREFIX=" + Utf8(prefix);
    std::string environment;
    if (!ReadProcFile(pid, L"environ", environment))
        return false;
    for (size_t at = 0; at < environment.size(); at += strlen(environment.c_str() + at) + 1) {
        if (wanted == environment.c_str() + at)
            return true;
    }
    return false;
}

// The first word of the process's command line, or an empty text.
std::string FirstWord(DWORD pid)
{
    std::string cmdline;
    if (!ReadProcFile(pid, L"cmdline", cmdline))
        return std::string();
    return std::string(cmdline.c_str());
}

template <typename Match>
DWORD FindProcess(Match match)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    DWORD result = 0;
    do {
        wchar_t* end = nullptr;
        unsigned long pid = wcstoul(found.cFileName, &end, 10);
        if (pid == 0 || *end != L'\0')
            continue;
        if (match(FirstWord(pid)) && InOurPrefix(pid))
            result = pid;
    } while (result == 0 && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return result;
}

// User plus system time in a stat file of /proc/PID, in seconds; negative when unreadable.
double StatCpuSeconds(DWORD unixPid, const std::wstring& statFile)
{
    std::string stat;
    if (unixPid == 0 || !ReadProcFile(unixPid, statFile, stat))
        return -1.0;
    // The name in parentheses may hold blanks; the fields after it are blank-separated, the
    // state first: user time is the 12th field after the name, system time the 13th.
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1.0;
    const char* at = stat.c_str() + close + 1;
    unsigned long long ticks[2] = {0, 0};
    for (int field = 0; field < 13; ++field) {
        while (*at == ' ')
            ++at;
        if (*at == '\0')
            return -1.0;
        if (field >= 11)
            ticks[field - 11] = strtoull(at, nullptr, 10);
        while (*at != ' ' && *at != '\0')
            ++at;
    }
    return static_cast<double>(ticks[0] + ticks[1]) / kTicksPerSecond;
}

}  // namespace

DWORD FindWineserver()
{
    return FindProcess([](const std::string& word) {
        size_t slash = word.rfind('/');
        return word.compare(slash == std::string::npos ? 0 : slash + 1, 10, "wineserver") == 0;
    });
}

DWORD FindWineProcess(const std::wstring& exePath)
{
    const std::string wanted = Utf8(exePath);
    return FindProcess([&wanted](const std::string& word) { return _stricmp(word.c_str(), wanted.c_str()) == 0; });
}

DWORD FindThisProcess()
{
    wchar_t path[MAX_PATH];
    const DWORD chars = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (chars == 0 || chars >= MAX_PATH)
        return 0;
    const std::wstring exePath(path, chars);
    const std::string name = Utf8(exePath.substr(exePath.find_last_of(L'\\') + 1));
    // Started from the shell, the first word is the Unix path as typed; from a Windows program,
    // the Windows path. Its last part is the file name either way.
    return FindProcess([&name](const std::string& word) {
        const size_t slash = word.find_last_of("/\\");
        return _stricmp(word.c_str() + (slash == std::string::npos ? 0 : slash + 1), name.c_str()) == 0;
    });
}

double CpuSeconds(DWORD unixPid)
{
    return StatCpuSeconds(unixPid, L"stat");
}

double MainThreadCpuSeconds(DWORD unixPid)
{
    return StatCpuSeconds(unixPid, L"task\\" + std::to_wstring(unixPid) + L"\\stat");
}

}  // namespace benchcpu
