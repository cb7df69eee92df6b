// CPU time of the Unix processes behind this Wine prefix, read from outside them in /proc (through
// the Z: drive), for the benchmarks: Wine reports no CPU times of other processes, and the
// wineserver is no Windows process at all.
#pragma once

#include <windows.h>

#include <string>

namespace benchcpu {

// The whole content of a file below /proc/PID, e.g. "stat" or "task\\TID\\io" (their sizes read
// as 0, so they are read until the end). Wine's server opens the file, so /proc/self is no use.
bool ReadProcFile(DWORD unixPid, const std::wstring& name, std::string& content);
// The Unix process id of the wineserver of this prefix (WINEPREFIX), or 0 when none is found.
DWORD FindWineserver();
// The Unix process id of the Wine process started from the Windows program exePath (compared
// without regard to case with its first command-line word) in this prefix, or 0.
DWORD FindWineProcess(const std::wstring& exePath);
// The Unix process id of this process, found by its file name: only one instance of it may run
// in this prefix.
DWORD FindThisProcess();
// User plus system time of all threads of the Unix process so far, in seconds; a negative value
// when it cannot be read.
double CpuSeconds(DWORD unixPid);
// The same of its main thread alone (a Windows program's first thread, which runs its windows).
double MainThreadCpuSeconds(DWORD unixPid);

}  // namespace benchcpu
