#include "app/StatusDevice.h"

#include "app/Globals.h"
#include "app/ScopedHandles.h"
#include "app/Trace.h"

#include <string.h>

namespace {

// Opens the status device for one request; INVALID_HANDLE_VALUE when it does not open.
HANDLE OpenStatusDevice()
{
    const HANDLE hDevice = ::CreateFileW(SVT_STATUS_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hDevice == INVALID_HANDLE_VALUE)
        TRACE_LAST_ERROR(L"CreateFileW(status device)");
    return hDevice;
}

bool Control(HANDLE hDevice, DWORD code, void* input, DWORD inputBytes, void* output, DWORD outputBytes)
{
    DWORD returned = 0;
    if (::DeviceIoControl(hDevice, code, input, inputBytes, output, outputBytes, &returned, nullptr))
        return true;
    TRACE_LAST_ERROR(L"DeviceIoControl(status device)");
    return false;
}

}  // namespace

bool ReadLineStates(BYTE (&table)[LINE_STATE_TABLE_SIZE])
{
    ScopedHandle device(OpenStatusDevice());
    if (!device.IsValid())
        return false;
    // The driver gives the input no meaning; zeros serve.
    BYTE input[LINE_STATE_TABLE_SIZE] = {};
    BYTE output[LINE_STATE_TABLE_SIZE] = {};
    if (!Control(device, IOCTL_READ_LINE_STATES, input, sizeof(input), output, sizeof(output)))
        return false;
    memcpy(table, output, sizeof(table));
    return true;
}

bool ReadLineStateTable()
{
    BYTE states[LINE_STATE_TABLE_SIZE];
    if (!ReadLineStates(states))
        return false;
    for (UINT i = 0; i < LINE_STATE_TABLE_SIZE; ++i)
        g_lineStateTable[i] = states[i];
    return true;
}

bool IsPortOpen(int com)
{
    return com >= 1 && com <= static_cast<int>(LINE_STATE_TABLE_SIZE) &&
           (g_lineStateTable[com - 1] & LINESTATE_CON) != 0;
}

TraceRequestResult SendTraceRequest(BYTE enabled, BYTE comNumber)
{
    ScopedHandle device(OpenStatusDevice());
    if (!device.IsValid())
        return TraceRequestResult::NotOpened;
    TraceSelection selection = {enabled, comNumber};
    return Control(device, IOCTL_SET_TRACE, &selection, sizeof(selection), nullptr, 0) ? TraceRequestResult::Accepted
                                                                                       : TraceRequestResult::Refused;
}

void SendTraceSelection(std::atomic<BYTE>& lastSentTraceFlag)
{
    const BYTE enabled = g_traceSelection.enabled;
    switch (SendTraceRequest(enabled, g_traceSelection.comNumber)) {
        case TraceRequestResult::Accepted:
            lastSentTraceFlag = enabled;
            break;
        case TraceRequestResult::Refused:
            g_traceSelection.enabled = 0;
            lastSentTraceFlag = 0;
            break;
        case TraceRequestResult::NotOpened:
            break;
    }
}
