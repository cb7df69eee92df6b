// The uninstallation's order, and ending the other running copy of the program.
#include "app/Uninstall.h"

#include "app/ScopedHandles.h"
#include "framework/cstring.h"
#include "framework/platform.h"

#include <tlhelp32.h>

const wchar_t kProgramExeName[] = L"SarventoCtl3.exe";

namespace {

// The id of the first process other than this one that runs the program; 0 when there is
// none. False when the processes cannot be listed.
bool FindOtherInstance(DWORD& processId)
{
    processId = 0;
    ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid())
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    if (!::Process32FirstW(snapshot, &entry))
        return false;
    const DWORD self = ::GetCurrentProcessId();
    do {
        // The name is read whole: the walk fills it terminated within the array.
        entry.szExeFile[MAX_PATH - 1] = L'\0';
        if (entry.th32ProcessID != self && SameTextIgnoringCase(entry.szExeFile, kProgramExeName)) {
            processId = entry.th32ProcessID;
            return true;
        }
        entry.dwSize = sizeof(entry);
    } while (::Process32NextW(snapshot, &entry));
    return true;
}

}  // namespace

bool SameTextIgnoringCase(LPCWSTR text, LPCWSTR other)
{
    CString a(text);
    CString b(other);
    return a.MakeUpper() == b.MakeUpper();
}

void UninstallProduct()
{
    if (!KillRunningInstances())
        return;
    RemoveSerialDevicesAndPorts();
    RemovePnp0501Devices();
    UninstallAllPorts();
    DeleteInstalledFiles();
}

int KillRunningInstances()
{
    DWORD processId = 0;
    if (!FindOtherInstance(processId))
        return 0;
    if (processId == 0)
        return 1;
    ScopedHandle process(::OpenProcess(MAXIMUM_ALLOWED, FALSE, processId));
    if (!process.IsValid())
        return 0;
    // Whether it ended or not, the uninstallation goes on: the copy's files simply stay.
    ::TerminateProcess(process, 0);
    return 1;
}

int GetPlatformId()
{
    const SystemVersion version = ReadSystemVersion();
    return version.known ? static_cast<int>(version.platformId) : -1;
}
