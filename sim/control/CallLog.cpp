// The call log of the system DLLs, read back.
#include "sim/control/Machine.h"

#include <algorithm>
#include <iterator>

#include "sim/control/RegKey.h"

namespace simmachine {

namespace {

// A record as stored: the SimCallRecord and its texts, each ended by a zero. False for a value
// that is not a whole record.
bool ParseCall(const std::wstring& dll, const std::vector<BYTE>& data, LoggedCall& call)
{
    if (data.size() < sizeof(SimCallRecord))
        return false;
    call.dll = dll;
    memcpy(&call.record, data.data(), sizeof(SimCallRecord));
    const size_t textBytes = data.size() - sizeof(SimCallRecord);
    if (textBytes != call.record.textChars * sizeof(wchar_t))
        return false;
    std::wstring texts(call.record.textChars, L'\0');
    if (!texts.empty())
        memcpy(&texts[0], data.data() + sizeof(SimCallRecord), textBytes);
    call.texts.clear();
    for (size_t start = 0; start < texts.size();) {
        const size_t end = texts.find(L'\0', start);
        if (end == std::wstring::npos)
            return false;
        call.texts.push_back(texts.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

DWORD ReadDllCalls(const RegKey& root, const std::wstring& dll, std::vector<LoggedCall>& calls)
{
    RegKey key;
    std::vector<std::wstring> names;
    LONG result = key.Open(root.Get(), dll.c_str());
    if (result == ERROR_SUCCESS)
        result = key.ValueNames(names);
    for (const std::wstring& name : names) {
        if (result != ERROR_SUCCESS)
            break;
        if (name == SIM_CALL_LOG_SEQUENCE)
            continue;
        std::vector<BYTE> data;
        result = key.ReadBinary(name.c_str(), data);
        LoggedCall call;
        if (result == ERROR_SUCCESS && ParseCall(dll, data, call))
            calls.push_back(call);
    }
    std::sort(calls.begin(), calls.end(),
              [](const LoggedCall& a, const LoggedCall& b) { return a.record.sequence < b.record.sequence; });
    return static_cast<DWORD>(result);
}

}  // namespace

DWORD ReadCallLog(std::vector<LoggedCall>& log)
{
    log.clear();
    RegKey root;
    LONG opened = root.Open(HKEY_LOCAL_MACHINE, SIM_CALL_LOG_KEY);
    if (opened == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (opened != ERROR_SUCCESS)
        return static_cast<DWORD>(opened);
    std::vector<std::wstring> dlls;
    DWORD result = static_cast<DWORD>(root.SubkeyNames(dlls));
    std::vector<std::vector<LoggedCall>> perDll;
    for (const std::wstring& dll : dlls) {
        if (result != ERROR_SUCCESS)
            break;
        perDll.emplace_back();
        result = ReadDllCalls(root, dll, perDll.back());
    }
    if (result != ERROR_SUCCESS)
        return result;
    // Each DLL's calls keep their order; the lists are merged by time.
    for (const std::vector<LoggedCall>& calls : perDll) {
        std::vector<LoggedCall> merged;
        std::merge(log.begin(), log.end(), calls.begin(), calls.end(), std::back_inserter(merged),
                   [](const LoggedCall& a, const LoggedCall& b) { return a.record.time < b.record.time; });
        log.swap(merged);
    }
    return ERROR_SUCCESS;
}

}  // namespace simmachine
