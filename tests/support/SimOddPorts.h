// Odd port devices, SERIALCOMM entries and registry keys that the simulated machine never makes: a
// present port's device key changed afterwards, as a faulty or foreign driver would have
// written it, and registry links. Use them on ports made with simtest::CreatePorts; the fixture's reset removes
// every device key and SERIALCOMM value, so nothing outlives the test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace simtest {

// Sets a text value of a present port's device key: L"DeviceDesc" or L"FriendlyName".
::testing::AssertionResult SetPortDeviceText(unsigned comNumber, const wchar_t* valueName, const std::wstring& text);
// Deletes a value of a present port's device key, e.g. L"FriendlyName" (it then cannot be read).
::testing::AssertionResult DeletePortDeviceValue(unsigned comNumber, const wchar_t* valueName);
// Deletes the Device Parameters key of a present port's device.
::testing::AssertionResult DeleteDeviceParametersKey(unsigned comNumber);
// A SERIALCOMM value with any data, stored as given (dataBytes may leave out the terminator;
// the data must then go on beyond it, or the registry adds one). Fails when the stored size
// differs from dataBytes.
::testing::AssertionResult SetSerialCommData(const wchar_t* valueName, const wchar_t* data, DWORD dataBytes);

// A registry link at linkPath to targetPath, both below HKEY_LOCAL_MACHINE: a key whose
// SymbolicLinkValue names the target, so that opening it the ordinary way opens the target.
// Delete it as the link (DeleteRegKeyTree of app/RegKeyTree.h), or its target goes instead.
::testing::AssertionResult WriteRegistryLink(const std::wstring& linkPath, const std::wstring& targetPath);

}  // namespace simtest
