// Requests to the status device, made the way the program makes them: open shared, one
// DeviceIoControl, close.
#pragma once

#include <windows.h>

#include <array>

#include "contract/DriverInterface.h"

using LineStateTable = std::array<BYTE, LINE_STATE_TABLE_SIZE>;

// ERROR_SUCCESS or the error of the open or of the request; *returned gets the byte count.
inline DWORD ReadLineStates(LineStateTable& table, DWORD* returned = nullptr)
{
    HANDLE device = CreateFileW(SVT_STATUS_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return GetLastError();
    BYTE input[LINE_STATE_TABLE_SIZE] = {};
    DWORD count = 0;
    DWORD result = DeviceIoControl(device, IOCTL_READ_LINE_STATES, input, sizeof(input), table.data(),
                                   static_cast<DWORD>(table.size()), &count, nullptr)
                       ? ERROR_SUCCESS
                       : GetLastError();
    CloseHandle(device);
    if (returned != nullptr)
        *returned = count;
    return result;
}

inline DWORD SendTrace(BYTE enabled, BYTE comNumber)
{
    HANDLE device = CreateFileW(SVT_STATUS_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return GetLastError();
    TraceSelection selection = {enabled, comNumber};
    DWORD count = 0;
    DWORD result = DeviceIoControl(device, IOCTL_SET_TRACE, &selection, sizeof(selection), nullptr, 0, &count, nullptr)
                       ? ERROR_SUCCESS
                       : GetLastError();
    CloseHandle(device);
    return result;
}
