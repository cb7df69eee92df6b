/*
 * svtser3: the simulated port driver. It serves the status device, which reports the line
 * states of all ports in one table and takes the trace selection. It is opened shared and
 * around every request, from several threads at once; it keeps no per-open state.
 * A private control device takes the simulation's request to apply its controls: a hidden
 * status device loses its name, so that opening it fails as for a device that is not there.
 */
#include <ntddk.h>

#include "Dispatch.h"
#include "KernelRegistry.h"
#include "SimState.h"
#include "contract/DriverInterface.h"
#include "sim/SimShared.h"

#define STATUS_DEVICE_TYPE 0x9C40
#define STATUS_DEVICE_NAME L"\\Device\\" SVT_STATUS_DEVICE_LEAF
#define STATUS_DEVICE_LINK L"\\DosDevices\\" SVT_STATUS_DEVICE_LEAF
#define CONTROL_DEVICE_NAME L"\\Device\\" SIM_PORT_CONTROL_DEVICE_LEAF
#define CONTROL_DEVICE_LINK L"\\DosDevices\\" SIM_PORT_CONTROL_DEVICE_LEAF
#define NAME_CHARS 32

static DEVICE_OBJECT* g_statusDevice;
static DEVICE_OBJECT* g_controlDevice;
static BOOLEAN g_statusLinked;
static FAST_MUTEX g_linkLock;
static volatile LONG g_readCount;

/* A value name is the decimal COM number, 1 to LINE_STATE_TABLE_SIZE. */
static ULONG ParseComNumber(const WCHAR* name)
{
    ULONG value = 0;
    const WCHAR* p;

    for (p = name; *p != 0; ++p) {
        if (*p < L'0' || *p > L'9' || value > LINE_STATE_TABLE_SIZE)
            return 0;
        value = value * 10 + (ULONG)(*p - L'0');
    }
    return value <= LINE_STATE_TABLE_SIZE ? value : 0;
}

/* The line states as last read from the simulation's key, and when that key last changed. The
   key is read again only after it changed: a read of the table then costs a few registry
   requests instead of one per port, as a driver that keeps the states in memory would. */
static UCHAR g_lineBits[LINE_STATE_TABLE_SIZE];
static UCHAR g_trafficBits[LINE_STATE_TABLE_SIZE];
static LARGE_INTEGER g_lineStatesTime;
static BOOLEAN g_lineStatesRead;
static FAST_MUTEX g_lineStatesLock;

static void LoadLineStates(void)
{
    WCHAR name[NAME_CHARS];
    HANDLE key;
    ULONG index;
    ULONG value;
    NTSTATUS status;

    RtlZeroMemory(g_lineBits, sizeof(g_lineBits));
    RtlZeroMemory(g_trafficBits, sizeof(g_trafficBits));
    if (!NT_SUCCESS(KrOpenKey(SIM_KERNEL_MACHINE SIM_LINE_STATES_KEY, &key)))
        return;
    for (index = 0;; ++index) {
        ULONG comNumber;
        status = KrEnumDwordValue(key, index, name, NAME_CHARS, &value);
        if (status == STATUS_NO_MORE_ENTRIES)
            break;
        comNumber = NT_SUCCESS(status) ? ParseComNumber(name) : 0;
        if (comNumber == 0)
            continue;
        g_lineBits[comNumber - 1] = (UCHAR)(value & 0xFF);
        g_trafficBits[comNumber - 1] = (UCHAR)((value >> SIM_TRAFFIC_SHIFT) & (LINESTATE_RX | LINESTATE_TX));
    }
    ZwClose(key);
}

/* Fills the table from the simulation's line states. Traffic bits show on every other read,
   so that RX and TX blink while data is said to move. */
static void ReadLineStateTable(UCHAR* table, BOOLEAN showTraffic)
{
    LARGE_INTEGER changed;
    ULONG i;

    ExAcquireFastMutex(&g_lineStatesLock);
    if (!NT_SUCCESS(KrQueryLastWriteTime(SIM_KERNEL_MACHINE SIM_LINE_STATES_KEY, &changed))) {
        /* No key: no line states. */
        RtlZeroMemory(g_lineBits, sizeof(g_lineBits));
        RtlZeroMemory(g_trafficBits, sizeof(g_trafficBits));
        g_lineStatesRead = FALSE;
    } else if (!g_lineStatesRead || changed.QuadPart != g_lineStatesTime.QuadPart) {
        LoadLineStates();
        g_lineStatesTime = changed;
        g_lineStatesRead = TRUE;
    }
    for (i = 0; i < LINE_STATE_TABLE_SIZE; ++i)
        table[i] = (UCHAR)(g_lineBits[i] | (showTraffic ? g_trafficBits[i] : 0));
    ExReleaseFastMutex(&g_lineStatesLock);
}

/* IOCTL_READ_LINE_STATES: the whole table, LINE_STATE_TABLE_SIZE bytes, whatever the input. */
static NTSTATUS OnReadLineStates(IRP* irp, const IO_STACK_LOCATION* stack)
{
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    UCHAR* buffer = irp->AssociatedIrp.SystemBuffer;
    SimControls controls;
    NTSTATUS status;

    SimReadControls(&controls);
    if (outputLength < LINE_STATE_TABLE_SIZE || buffer == NULL)
        status = STATUS_BUFFER_TOO_SMALL;
    else if (controls.failLineRead)
        status = STATUS_UNSUCCESSFUL;
    else
        status = STATUS_SUCCESS;
    /* Logged before the answer overwrites the input in the shared buffer. */
    SimLogRequest(IOCTL_READ_LINE_STATES, inputLength ? buffer : NULL, inputLength, outputLength, status);
    if (!NT_SUCCESS(status))
        return Complete(irp, status, 0);

    ReadLineStateTable(buffer, (InterlockedIncrement(&g_readCount) & 1) != 0);
    return Complete(irp, status, LINE_STATE_TABLE_SIZE);
}

/* IOCTL_SET_TRACE: one TraceSelection in, nothing out. The simulation carries no data, so an
   accepted selection changes nothing but the log. */
static NTSTATUS OnSetTrace(IRP* irp, const IO_STACK_LOCATION* stack)
{
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    const TraceSelection* selection = irp->AssociatedIrp.SystemBuffer;
    SimControls controls;
    NTSTATUS status;

    SimReadControls(&controls);
    if (inputLength < sizeof(TraceSelection) || selection == NULL)
        status = STATUS_INVALID_PARAMETER;
    else if (controls.failTrace)
        status = STATUS_UNSUCCESSFUL;
    else
        status = STATUS_SUCCESS;
    SimLogRequest(IOCTL_SET_TRACE, inputLength ? selection : NULL, inputLength, outputLength, status);
    return Complete(irp, status, 0);
}

static NTSTATUS OnStatusDeviceControl(IRP* irp, const IO_STACK_LOCATION* stack)
{
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;

    switch (code) {
        case IOCTL_READ_LINE_STATES:
            return OnReadLineStates(irp, stack);
        case IOCTL_SET_TRACE:
            return OnSetTrace(irp, stack);
        default:
            SimLogRequest(code, NULL, stack->Parameters.DeviceIoControl.InputBufferLength,
                          stack->Parameters.DeviceIoControl.OutputBufferLength, STATUS_INVALID_DEVICE_REQUEST);
            return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
}

/* Gives the status device its name, or takes it away, as the hide control says. */
static NTSTATUS ApplyStatusVisibility(void)
{
    UNICODE_STRING name;
    UNICODE_STRING link;
    SimControls controls;
    BOOLEAN linked;
    NTSTATUS status = STATUS_SUCCESS;

    SimReadControls(&controls);
    linked = controls.hideStatusDevice ? FALSE : TRUE;
    RtlInitUnicodeString(&name, STATUS_DEVICE_NAME);
    RtlInitUnicodeString(&link, STATUS_DEVICE_LINK);
    ExAcquireFastMutex(&g_linkLock);
    if (linked && !g_statusLinked)
        status = IoCreateSymbolicLink(&link, &name);
    else if (!linked && g_statusLinked)
        status = IoDeleteSymbolicLink(&link);
    if (NT_SUCCESS(status))
        g_statusLinked = linked;
    ExReleaseFastMutex(&g_linkLock);
    return status;
}

/* The simulation's own request; not logged, the log holds what the program sent. */
static NTSTATUS OnControlDeviceControl(IRP* irp, const IO_STACK_LOCATION* stack)
{
    if (stack->Parameters.DeviceIoControl.IoControlCode != SIM_IOCTL_APPLY_CONTROLS)
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    return Complete(irp, ApplyStatusVisibility(), 0);
}

static void DeleteDevices(void)
{
    UNICODE_STRING link;

    if (g_statusLinked) {
        RtlInitUnicodeString(&link, STATUS_DEVICE_LINK);
        IoDeleteSymbolicLink(&link);
        g_statusLinked = FALSE;
    }
    if (g_controlDevice != NULL) {
        RtlInitUnicodeString(&link, CONTROL_DEVICE_LINK);
        IoDeleteSymbolicLink(&link);
        IoDeleteDevice(g_controlDevice);
        g_controlDevice = NULL;
    }
    if (g_statusDevice != NULL) {
        IoDeleteDevice(g_statusDevice);
        g_statusDevice = NULL;
    }
}

static void NTAPI DriverUnload(DRIVER_OBJECT* driver)
{
    UNREFERENCED_PARAMETER(driver);
    DeleteDevices();
}

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath)
{
    UNICODE_STRING name;
    UNICODE_STRING link;
    NTSTATUS status;

    UNREFERENCED_PARAMETER(registryPath);
    SimLogInit(SVT_PORT_SERVICE_NAME);
    ExInitializeFastMutex(&g_linkLock);
    ExInitializeFastMutex(&g_lineStatesLock);
    SetDispatchRoutines(driver, &g_controlDevice, OnControlDeviceControl, OnStatusDeviceControl);
    driver->DriverUnload = DriverUnload;

    RtlInitUnicodeString(&name, STATUS_DEVICE_NAME);
    status = IoCreateDevice(driver, 0, &name, STATUS_DEVICE_TYPE, 0, FALSE, &g_statusDevice);
    if (NT_SUCCESS(status)) {
        RtlInitUnicodeString(&name, CONTROL_DEVICE_NAME);
        status = IoCreateDevice(driver, 0, &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &g_controlDevice);
        if (!NT_SUCCESS(status))
            g_controlDevice = NULL;
    }
    if (NT_SUCCESS(status)) {
        RtlInitUnicodeString(&link, CONTROL_DEVICE_LINK);
        status = IoCreateSymbolicLink(&link, &name);
        if (!NT_SUCCESS(status)) {
            IoDeleteDevice(g_controlDevice);
            g_controlDevice = NULL;
        }
    }
    if (NT_SUCCESS(status))
        status = ApplyStatusVisibility();
    if (!NT_SUCCESS(status))
        DeleteDevices();
    return status;
}
