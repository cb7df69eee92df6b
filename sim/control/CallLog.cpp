// The call log of the system DLLs, read back.
#include "sim/control/Machine.h"

#include <algorithm>
#include <iterator>
#include <map>

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

}  // namespace

DWORD ReadCallLog(std::vector<LoggedCall>& log)
{
    log.clear();
    std::map<std::wstring, std::vector<LoggedCall>> perDll;
    const LONG result =
        ReadSubkeyValues(HKEY_LOCAL_MACHINE, SIM_CALL_LOG_KEY,
                         [&perDll](const std::wstring& dll, const std::wstring& name, const std::vector<BYTE>& data) {
                             LoggedCall call;
                             if (name != SIM_CALL_LOG_SEQUENCE && ParseCall(dll, data, call))
                                 perDll[dll].push_back(call);
                         });
    if (result != ERROR_SUCCESS)
        return static_cast<DWORD>(result);
    // Each DLL's calls keep the order they were made in; the lists are merged by time.
    for (auto& entry : perDll) {
        std::vector<LoggedCall>& calls = entry.second;
        std::sort(calls.begin(), calls.end(),
                  [](const LoggedCall& a, const LoggedCall& b) { return a.record.sequence < b.record.sequence; });
        std::vector<LoggedCall> merged;
        std::merge(log.begin(), log.end(), calls.begin(), calls.end(), std::back_inserter(merged),
                   [](const LoggedCall& a, const LoggedCall& b) { return a.record.time < b.record.time; });
        log.swap(merged);
    }
    return ERROR_SUCCESS;
}

}  // namespace simmachine
