// A stand-in for another running program in the uninstallation tests: it only waits. Ended
// from outside, its exit code is what the ender gave; left alone it ends after a minute with 3.
#include <windows.h>

int main()
{
    ::Sleep(60000);
    return 3;
}
