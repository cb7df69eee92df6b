#include "bench/FloorRun.h"

#include <windows.h>

#include <stdio.h>

namespace bench {
namespace {

std::wstring FloorPath()
{
    wchar_t path[MAX_PATH];
    const DWORD chars = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (chars == 0 || chars >= MAX_PATH)
        return L"floor.exe";
    std::wstring folder(path, chars);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"floor.exe";
}

void PrintRatio(double ours, double floor)
{
    if (ours >= 0 && floor > 0)
        printf(" %6.2fx", ours / floor);
    else
        printf(" %7s", "-");
}

}  // namespace

bool RunFloor(const std::wstring& arguments, Figure& figure)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) {
        fprintf(stderr, "floor: no pipe (%lu)\n", GetLastError());
        return false;
    }
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring command = L"\"" + FloorPath() + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) != FALSE;
    CloseHandle(write);
    if (!started) {
        fprintf(stderr, "floor.exe did not start (%lu)\n", GetLastError());
        CloseHandle(read);
        return false;
    }
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got != 0)
        output.append(buffer, got);
    CloseHandle(read);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (exitCode != 0 ||
        sscanf(output.c_str(), "%lf %lld %u", &figure.seconds, &figure.requests, &figure.result) != 3) {
        fprintf(stderr, "floor %ls: no figure (exit %lu)\n", arguments.c_str(), exitCode);
        return false;
    }
    return true;
}

void PrintBesideFloor(const char* what, const Figure& ours, const Figure& floor)
{
    printf("%-34s %8.3f s %8lld req | floor %8.3f s %8lld req | ours/floor", what, ours.seconds, ours.requests,
           floor.seconds, floor.requests);
    PrintRatio(ours.seconds, floor.seconds);
    PrintRatio(static_cast<double>(ours.requests), static_cast<double>(floor.requests));
    printf("\n");
    fflush(stdout);
}

}  // namespace bench
