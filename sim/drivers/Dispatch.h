/*
 * What both simulated drivers do alike with their requests: each has a device of its own and a
 * private control device for the simulation's requests, both opened shared by any number of
 * callers, and completes every request at once.
 *
 * The dispatch and unload routines that the I/O manager calls are NTAPI, as the kernel's own
 * declarations of them are: the same on 64-bit Windows, __stdcall on 32-bit.
 */
#ifndef SARVENTO_SIM_DISPATCH_H
#define SARVENTO_SIM_DISPATCH_H

#include <ntddk.h>

/* Completes the request with the status and the number of bytes returned; gives the status. */
NTSTATUS Complete(IRP* irp, NTSTATUS status, ULONG_PTR information);

/* Serves the device-control requests of one device. */
typedef NTSTATUS (*DeviceControlHandler)(IRP* irp, const IO_STACK_LOCATION* stack);

/* Sets the driver's create, close and device-control routines. Create and close succeed; a
   device-control request goes to onControl when it is for *controlDevice (read at each request:
   the device may be made later), to onDevice otherwise. */
void SetDispatchRoutines(DRIVER_OBJECT* driver, DEVICE_OBJECT* const* controlDevice, DeviceControlHandler onControl,
                         DeviceControlHandler onDevice);

#endif
