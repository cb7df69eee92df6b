// Asking the bus driver for new port devices, and installing the port driver for them on old
// Windows (OS version code below 53), where Plug and Play does not do it by itself.
#pragma once

#include <windows.h>
#include <setupapi.h>

// Sends the plug-in request to the bus driver: it then presents a child port device for every
// port subkey written before the request. Below code 53 it also installs the port driver for the
// child of comNumber from the install folder. Returns 1 when the bus driver accepted the request,
// 0 otherwise ("Driver was not loaded! Please return application!" when the driver is missing or
// refused; nothing when the service's parameters key or the device list is unavailable).
int AddPortDevice(const int* osVersion, int comNumber);

// Opens the bus interface described by interfaceData in deviceInfoSet and sends the plug-in
// request; true when the bus driver accepted it.
bool PlugInPort(HDEVINFO deviceInfoSet, SP_DEVICE_INTERFACE_DATA* interfaceData);

// UpdateDriverForPlugAndPlayDevicesW of newdev.dll, loaded at run time and called with no
// parent window. 0 on success, 2 on any failure (newdev.dll or the function missing included).
int CallUpdateDriverForPlugAndPlayDevices(LPCWSTR hardwareId, LPCWSTR infPath, DWORD installFlags,
                                          BOOL* rebootRequired);
