#include "Dispatch.h"

static DEVICE_OBJECT* const* g_controlDevice;
static DeviceControlHandler g_onControl;
static DeviceControlHandler g_onDevice;

NTSTATUS Complete(IRP* irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS NTAPI DispatchCreateClose(DEVICE_OBJECT* device, IRP* irp)
{
    UNREFERENCED_PARAMETER(device);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchDeviceControl(DEVICE_OBJECT* device, IRP* irp)
{
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);

    if (device == *g_controlDevice)
        return g_onControl(irp, stack);
    return g_onDevice(irp, stack);
}

void SetDispatchRoutines(DRIVER_OBJECT* driver, DEVICE_OBJECT* const* controlDevice, DeviceControlHandler onControl,
                         DeviceControlHandler onDevice)
{
    g_controlDevice = controlDevice;
    g_onControl = onControl;
    g_onDevice = onDevice;
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
}
