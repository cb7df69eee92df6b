// What makes a device one of this system's ports: a present device of the COM-port interface
// class whose description is exactly "Sarvento VCP". Counting and mapping also ask that the
// friendly name's text before its first "(" is "Sarvento VCP" or "Sarvento VCP ".
#pragma once

#include <windows.h>

#include <setupapi.h>

#include <functional>
#include <vector>

// The description every port device of this system carries.
extern const wchar_t kPortDeviceDescription[];

// Device text properties are read into buffers of this many characters (520 bytes).
constexpr int kDeviceTextChars = 260;
using DeviceText = wchar_t[kDeviceTextChars + 1];

// Reads a text property (SPDRP_DEVICEDESC, SPDRP_FRIENDLYNAME) of a device. The text is always
// terminated; it is empty, and the result false, when the property cannot be read, so that
// nothing of an earlier device's text is ever compared again.
bool ReadDeviceText(HDEVINFO hDevInfo, SP_DEVINFO_DATA* pDevice, DWORD property, DeviceText& text);

// The whole text, case-sensitive, without blanks around it.
bool IsPortDeviceDescription(LPCWSTR description);

// The text before the first "(" is "Sarvento VCP" or "Sarvento VCP "; a name without "(" fails.
bool HasPortFriendlyNamePrefix(LPCWSTR friendlyName);

// The present devices of the COM-port interface class; INVALID_HANDLE_VALUE when the list
// cannot be made.
HDEVINFO GetPresentComPortDevices();

// Walks the list from index 0 and calls onPort with the friendly name of every device that has
// the port description. A port device whose friendly name cannot be read goes to onUnnamed,
// when there is one, and the walk goes on when it returns true. Returns false when the walk did
// not see every device: at a port device without a readable name that onUnnamed did not take
// (the walk ends there, after the devices seen before it), or when the list could not be walked
// to its end.
bool ForEachPortDevice(HDEVINFO hDevInfo, const std::function<void(LPCWSTR friendlyName)>& onPort,
                       const std::function<bool(SP_DEVINFO_DATA& device)>& onUnnamed = nullptr);

// The key number in a port device's instance id: SVT_PORT_HARDWARE_ID, "\" and the number in
// eight hexadecimal digits, as the bus driver names its children. 1 to 255, or 0 when the id is
// no port's.
UINT PortKeyNumberFromInstanceId(LPCWSTR instanceId);

// The key number of the device's instance id; 0 when the id cannot be read or is no port's.
UINT ReadPortInstanceKeyNumber(HDEVINFO hDevInfo, SP_DEVINFO_DATA* pDevice);

// Says which ports a removal left in place, with their settings and COM numbers: "These ports
// were not removed: COM3, COM5". Nothing when every port went.
void ReportPortsNotRemoved(const std::vector<UINT>& keyNumbers);
