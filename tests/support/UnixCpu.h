// CPU time of the Unix processes behind this Wine prefix, read from outside them in /proc (through
// the Z: drive), for the benchmarks: Wine reports no CPU times of other processes, and the
// wineserver is no Windows process at all.
#pragma once

#include <windows.h>

#include <string>

namespace benchcpu {

// The Unix process id of the wineserver of this prefix (WINEPREFIX), or 0 when none is found.
DWORD FindWineserver();
// The Unix process id of the Wine process started from the Windows program exePath (compared
// without regard to case with its first command-line word) in this prefix, or 0.
DWORD FindWineProcess(const std::wstring& exePath);
// User plus system time of all threads of the Unix process so far, in seconds; a negative value
// when it cannot be read.
double CpuSeconds(DWORD unixPid);
// The same of its main thread alone (a Windows program's first thread, which runs its windows).
double MainThreadCpuSeconds(DWORD unixPid);

}  // namespace benchcpu
