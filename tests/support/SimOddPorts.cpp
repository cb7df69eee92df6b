#include "tests/support/SimOddPorts.h"

#include <shlwapi.h>

#include <stdio.h>

namespace simtest {

namespace {

std::wstring DeviceKeyPath(unsigned comNumber)
{
    wchar_t path[128];
    _snwprintf(path, 128, L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3\\*PNP0501\\%08X", comNumber);
    return path;
}

::testing::AssertionResult Failed(const char* what, unsigned comNumber, LONG error)
{
    return ::testing::AssertionFailure() << what << " of COM" << comNumber << " failed with error " << error;
}

}  // namespace

::testing::AssertionResult SetPortDeviceText(unsigned comNumber, const wchar_t* valueName, const std::wstring& text)
{
    HKEY hKey = nullptr;
    LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, DeviceKeyPath(comNumber).c_str(), 0, KEY_SET_VALUE, &hKey);
    if (error != ERROR_SUCCESS)
        return Failed("opening the device key", comNumber, error);
    error = RegSetValueExW(hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
    return error == ERROR_SUCCESS ? ::testing::AssertionSuccess() : Failed("setting a device text", comNumber, error);
}

::testing::AssertionResult DeletePortDeviceValue(unsigned comNumber, const wchar_t* valueName)
{
    HKEY hKey = nullptr;
    LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, DeviceKeyPath(comNumber).c_str(), 0, KEY_SET_VALUE, &hKey);
    if (error != ERROR_SUCCESS)
        return Failed("opening the device key", comNumber, error);
    error = RegDeleteValueW(hKey, valueName);
    RegCloseKey(hKey);
    return error == ERROR_SUCCESS ? ::testing::AssertionSuccess() : Failed("deleting a device value", comNumber, error);
}

::testing::AssertionResult DeleteDeviceParametersKey(unsigned comNumber)
{
    const std::wstring path = DeviceKeyPath(comNumber) + L"\\Device Parameters";
    const LONG error = static_cast<LONG>(SHDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str()));
    return error == ERROR_SUCCESS ? ::testing::AssertionSuccess()
                                  : Failed("deleting the Device Parameters key", comNumber, error);
}

::testing::AssertionResult SetSerialCommData(const wchar_t* valueName, const wchar_t* data, DWORD dataBytes)
{
    HKEY hKey = nullptr;
    LONG error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                                 REG_OPTION_VOLATILE, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &hKey, nullptr);
    DWORD storedBytes = 0;
    if (error == ERROR_SUCCESS) {
        error = RegSetValueExW(hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), dataBytes);
        if (error == ERROR_SUCCESS)
            error = RegQueryValueExW(hKey, valueName, nullptr, nullptr, nullptr, &storedBytes);
        RegCloseKey(hKey);
    }
    if (error != ERROR_SUCCESS)
        return ::testing::AssertionFailure() << "writing a SERIALCOMM value failed with error " << error;
    // The registry adds the terminator that a byte count leaves out when the next character in
    // memory is one: data meant to have none must go on beyond the count.
    if (storedBytes != dataBytes)
        return ::testing::AssertionFailure() << dataBytes << " bytes given, " << storedBytes << " stored";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WriteRegistryLink(const std::wstring& linkPath, const std::wstring& targetPath)
{
    HKEY key = nullptr;
    LONG result = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, linkPath.c_str(), 0, nullptr,
                                    REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE, KEY_ALL_ACCESS | KEY_CREATE_LINK,
                                    nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        // The target as the kernel names it, without a terminator.
        const std::wstring target = L"\\Registry\\Machine\\" + targetPath;
        result = ::RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                                  static_cast<DWORD>(target.size() * sizeof(wchar_t)));
        ::RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS)
        return ::testing::AssertionFailure()
               << "cannot make the link " << ::testing::PrintToString(linkPath) << " (" << result << ")";
    return ::testing::AssertionSuccess();
}

}  // namespace simtest
