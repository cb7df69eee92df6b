// Writes DWORD values into the Device Parameters keys of the present port devices, reached
// through the device-installation services (so that a port whose device is absent gets
// nothing, and nothing is created for it).
//
// It walks the present devices of every class once, when it is made, and keeps the COM number
// of each device that carries the port description, in list order. A write then goes to the
// first device of its COM number whose key opens, exactly as a walk of a fresh list would do;
// an operation that writes many values (loading 255 ports writes up to 7 each) so walks the
// device tree once instead of once per value. The key of the device written last stays open for
// the next value, which is mostly the same device's. Keep one only for the length of one
// operation: it sees the devices that were present when it was made.
#pragma once

#include "app/ScopedHandles.h"
#include "framework/collections.h"

#include <windows.h>

#include <setupapi.h>

class CDeviceParamWriter {
public:
    CDeviceParamWriter();
    CDeviceParamWriter(const CDeviceParamWriter&) = delete;
    CDeviceParamWriter& operator=(const CDeviceParamWriter&) = delete;

    // 1 when the value was stored in the key of a device with this COM number. The walk stops
    // with 0 at the first such device whose key does not open, and goes on to the next one when
    // the value cannot be set.
    int WriteDword(DWORD comNumber, LPCWSTR valueName, DWORD value);

private:
    struct PortDeviceEntry {
        SP_DEVINFO_DATA device;
        int comNumber;  // from the friendly name
    };

    // The device's key, opened anew or the one kept open; null when it does not open.
    HKEY OpenDeviceKey(INT_PTR index, bool& kept);

    ScopedDeviceList m_devices;
    CArray<PortDeviceEntry, const PortDeviceEntry&> m_ports;
    // The key kept open and the entry it belongs to (-1: none).
    ScopedRegKey m_openKey;
    INT_PTR m_openIndex = -1;
};
