/*
 * svtmf3: the simulated bus driver. Its device carries the plug-in request on the interface of
 * class GUID_BUS_DRIVER_INTERFACE; a second, private device takes the simulation's own control
 * requests from simctl and the tests.
 */
#include <ntddk.h>

#include "BusChildren.h"
#include "Dispatch.h"
#include "KernelRegistry.h"
#include "SimState.h"
#include "contract/DriverInterface.h"
#include "sim/SimShared.h"

#define LINK_CHARS 200

static DEVICE_OBJECT* g_busDevice;
static DEVICE_OBJECT* g_controlDevice;
static WCHAR g_busLink[LINK_CHARS];

/* IOCTL_BUS_PLUGIN_PORT: input and output are one BusPlugInRecord. The record comes back
   unchanged; what counts for the caller is the status. */
static NTSTATUS OnPlugInPort(IRP* irp, const IO_STACK_LOCATION* stack)
{
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    const BusPlugInRecord* record = irp->AssociatedIrp.SystemBuffer;
    SimControls controls;
    NTSTATUS status;

    SimReadControls(&controls);
    if (inputLength < sizeof(BusPlugInRecord) || record == NULL || record->size != BUS_PLUGIN_RECORD_SIZE)
        status = STATUS_INVALID_PARAMETER;
    else if (controls.refusePlugIn)
        status = STATUS_UNSUCCESSFUL;
    else
        status = STATUS_SUCCESS;
    SimLogRequest(IOCTL_BUS_PLUGIN_PORT, inputLength ? record : NULL, inputLength, outputLength, status);
    if (!NT_SUCCESS(status))
        return Complete(irp, status, 0);

    ChildrenPlugIn(&controls);
    return Complete(irp, status, outputLength >= sizeof(BusPlugInRecord) ? sizeof(BusPlugInRecord) : 0);
}

static NTSTATUS OnBusDeviceControl(IRP* irp, const IO_STACK_LOCATION* stack)
{
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;

    if (code == IOCTL_BUS_PLUGIN_PORT)
        return OnPlugInPort(irp, stack);

    SimLogRequest(code, NULL, stack->Parameters.DeviceIoControl.InputBufferLength,
                  stack->Parameters.DeviceIoControl.OutputBufferLength, STATUS_INVALID_DEVICE_REQUEST);
    return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
}

/* The simulation's own requests; they are not logged, the log holds what the program sent. */
static NTSTATUS OnControlDeviceControl(IRP* irp, const IO_STACK_LOCATION* stack)
{
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
        case SIM_IOCTL_APPLY_CONTROLS:
            ChildrenApplyControls();
            return Complete(irp, STATUS_SUCCESS, 0);
        case SIM_IOCTL_RESET:
            ChildrenReset();
            return Complete(irp, STATUS_SUCCESS, 0);
        default:
            return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
}

static NTSTATUS CreateDeviceWithLink(DRIVER_OBJECT* driver, const WCHAR* deviceName, const WCHAR* linkName, ULONG type,
                                     DEVICE_OBJECT** device)
{
    UNICODE_STRING name;
    UNICODE_STRING link;
    NTSTATUS status;

    RtlInitUnicodeString(&name, deviceName);
    status = IoCreateDevice(driver, 0, &name, type, 0, FALSE, device);
    if (!NT_SUCCESS(status))
        return status;
    RtlInitUnicodeString(&link, linkName);
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(*device);
        *device = NULL;
    }
    return status;
}

static void DeleteDeviceWithLink(DEVICE_OBJECT** device, const WCHAR* linkName)
{
    UNICODE_STRING link;

    if (*device == NULL)
        return;
    RtlInitUnicodeString(&link, linkName);
    IoDeleteSymbolicLink(&link);
    IoDeleteDevice(*device);
    *device = NULL;
}

static void NTAPI DriverUnload(DRIVER_OBJECT* driver)
{
    UNREFERENCED_PARAMETER(driver);
    ChildrenStop();
    DeleteDeviceWithLink(&g_controlDevice, L"\\DosDevices\\" SIM_BUS_CONTROL_DEVICE_LEAF);
    DeleteDeviceWithLink(&g_busDevice, g_busLink);
}

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath)
{
    NTSTATUS status;

    UNREFERENCED_PARAMETER(registryPath);
    SimLogInit(SVT_BUS_SERVICE_NAME);
    SetDispatchRoutines(driver, &g_controlDevice, OnControlDeviceControl, OnBusDeviceControl);
    driver->DriverUnload = DriverUnload;

    if (!FormatBusInterfaceLink(g_busLink, LINK_CHARS))
        return STATUS_NAME_TOO_LONG;
    status = CreateDeviceWithLink(driver, L"\\Device\\Svtmf3Bus", g_busLink, FILE_DEVICE_BUS_EXTENDER, &g_busDevice);
    if (!NT_SUCCESS(status))
        return status;
    status = CreateDeviceWithLink(driver, L"\\Device\\" SIM_BUS_CONTROL_DEVICE_LEAF,
                                  L"\\DosDevices\\" SIM_BUS_CONTROL_DEVICE_LEAF, FILE_DEVICE_UNKNOWN, &g_controlDevice);
    if (NT_SUCCESS(status))
        status = ChildrenStart();
    if (!NT_SUCCESS(status)) {
        DeleteDeviceWithLink(&g_controlDevice, L"\\DosDevices\\" SIM_BUS_CONTROL_DEVICE_LEAF);
        DeleteDeviceWithLink(&g_busDevice, g_busLink);
    }
    return status;
}
