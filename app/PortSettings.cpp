#include "app/PortSettings.h"

#include "app/DeviceParamWriter.h"
#include "app/RegKeyTree.h"
#include "app/ScopedHandles.h"
#include "app/Trace.h"
#include "contract/DriverInterface.h"

#include <string.h>

const wchar_t kPortDeviceEnumKey[] = L"SYSTEM\\CurrentControlSet\\Enum\\" SVT_PORT_HARDWARE_ID;
const wchar_t kInstallFolderKey[] = L"SOFTWARE\\Kolbrant\\COM Sarvento v3";
const wchar_t kSerialCommKey[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";

const wchar_t kDeviceCountValue[] = L"DeviceCount";
const wchar_t kInstallFolderValue[] = L"ComSarventoPath";

const wchar_t kTxTriggerLevelValue[] = L"TxTriggerLevel";
const wchar_t kAliveRxTimerValue[] = L"AliveRxTimer";
const wchar_t kAliveTxTimerValue[] = L"AliveTxTimer";
const wchar_t kProtocolValue[] = L"Protocol";
const wchar_t kIPaddressValue[] = L"IPaddress";
const wchar_t kPortValue[] = L"Port";
const wchar_t kComPortValue[] = L"ComPort";
const wchar_t kAliasValue[] = L"Alias";

namespace {

// A text value read into a buffer of kRegStringChars characters (one more for the terminator
// that the data may lack).
struct RegStringBuffer {
    wchar_t chars[kRegStringChars + 1];
    DWORD dataBytes = 0;

    LONG Query(HKEY hKey, LPCWSTR valueName)
    {
        dataBytes = kRegStringChars * sizeof(wchar_t);
        return ::RegQueryValueExW(hKey, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(chars), &dataBytes);
    }
    bool Query(LPCWSTR keyPath, LPCWSTR valueName, REGSAM access)
    {
        ScopedRegKey key;
        return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, access, key.Receive()) == ERROR_SUCCESS &&
               Query(key, valueName) == ERROR_SUCCESS;
    }
    // Whole characters only; the text ends at its terminator or at the end of the data.
    CString Text() const
    {
        const size_t count = dataBytes / sizeof(wchar_t);
        return CString(chars, static_cast<int>(wcsnlen(chars, count)));
    }
};

const wchar_t kDeviceParametersName[] = L"Device Parameters";

// "...\Enum\SVTMF3\*PNP0501\0000000A" for key number 10: the port device's instance key.
CString PortDeviceInstancePath(UINT keyNumber)
{
    CString name;
    name.Format(L"\\%08X", keyNumber);
    return kPortDeviceEnumKey + name;
}

}  // namespace

CString PortSubkeyPath(UINT keyNumber)
{
    CString name;
    name.Format(L"\\%04d", static_cast<int>(keyNumber));
    return CString(SVT_PARAMETERS_KEY) + name;
}

CString PortDevicePath(UINT keyNumber)
{
    return PortDeviceInstancePath(keyNumber) + L"\\" + kDeviceParametersName;
}

int SetRegString(HKEY hKey, LPCWSTR valueName, LPCWSTR text)
{
    const size_t dataBytes = (wcslen(text) + 1) * sizeof(wchar_t);
    if (dataBytes > MAXDWORD)
        return 0;
    const LONG status = ::RegSetValueExW(hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                         static_cast<DWORD>(dataBytes));
    if (status != ERROR_SUCCESS) {
        TRACE_FAILURE(L"RegSetValueExW", status);
        return 0;
    }
    return 1;
}

int QueryRegDword(HKEY hKey, LPCWSTR valueName, DWORD& value)
{
    value = 0;
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD dataBytes = sizeof(data);
    // A REG_DWORD of fewer than four bytes holds no whole number: like a value of another type,
    // it counts as missing, so that the load writes the default over it.
    if (::RegQueryValueExW(hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data), &dataBytes) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || dataBytes != sizeof(data))
        return 0;
    value = data;
    return 1;
}

int ReadRegDword(LPCWSTR keyPath, LPCWSTR valueName, DWORD& value)
{
    value = 0;
    ScopedRegKey key;
    LONG opened = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key.Receive());
    if (opened == ERROR_ACCESS_DENIED)
        opened = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key.Receive());
    if (opened != ERROR_SUCCESS)
        return 0;
    return QueryRegDword(key, valueName, value);
}

int WriteRegDword(LPCWSTR keyPath, LPCWSTR valueName, DWORD value)
{
    ScopedRegKey key;
    LONG status = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                    nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS) {
        TRACE_FAILURE(L"RegCreateKeyExW", status);
        return 0;
    }
    status = ::RegSetValueExW(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    if (status != ERROR_SUCCESS) {
        TRACE_FAILURE(L"RegSetValueExW", status);
        return 0;
    }
    return 1;
}

int ReadRegString(LPCWSTR keyPath, LPCWSTR valueName, CString& text)
{
    RegStringBuffer buffer;
    if (!buffer.Query(keyPath, valueName, KEY_READ) && !buffer.Query(keyPath, valueName, KEY_READ | KEY_WOW64_32KEY))
        return 0;
    text = buffer.Text();
    return 1;
}

LONG QueryRegString(HKEY hKey, LPCWSTR valueName, CString& text)
{
    RegStringBuffer buffer;
    const LONG status = buffer.Query(hKey, valueName);
    if (status == ERROR_SUCCESS)
        text = buffer.Text();
    return status;
}

bool IsRegValueMissing(LPCWSTR keyPath, LPCWSTR valueName)
{
    ScopedRegKey key;
    LONG status = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key.Receive());
    if (status == ERROR_SUCCESS)
        status = ::RegQueryValueExW(key, valueName, nullptr, nullptr, nullptr, nullptr);
    return status == ERROR_FILE_NOT_FOUND;
}

int WriteRegString(LPCWSTR keyPath, LPCWSTR valueName, LPCWSTR text)
{
    ScopedRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ | KEY_WRITE, key.Receive()) != ERROR_SUCCESS) {
        const LONG created = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_READ | KEY_WRITE, nullptr, key.Receive(), nullptr);
        if (created != ERROR_SUCCESS) {
            TRACE_FAILURE(L"RegCreateKeyExW", created);
            return 0;
        }
    }
    return SetRegString(key, valueName, text);
}

int WriteDeviceParamDword(DWORD comNumber, LPCWSTR valueName, DWORD value)
{
    CDeviceParamWriter devices;
    return devices.WriteDword(comNumber, valueName, value);
}

void WritePortSetting(UINT keyNumber, LPCWSTR valueName, DWORD value)
{
    WriteRegDword(PortSubkeyPath(keyNumber), valueName, value);
    WriteDeviceParamDword(keyNumber, valueName, value);
}

PortSubkeyWriter::PortSubkeyWriter(UINT keyNumber) : m_keyNumber(keyNumber)
{
    bool isLink = false;
    m_opened =
        OpenRegKeyUnlinked(HKEY_LOCAL_MACHINE, PortSubkeyPath(keyNumber), KEY_SET_VALUE, m_key.Receive(), isLink);
}

int PortSubkeyWriter::WriteDword(LPCWSTR valueName, DWORD value)
{
    return m_key != nullptr && ::RegSetValueExW(m_key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                                sizeof(value)) == ERROR_SUCCESS
               ? 1
               : 0;
}

int PortSubkeyWriter::WriteString(LPCWSTR valueName, LPCWSTR text)
{
    return m_key != nullptr ? SetRegString(m_key, valueName, text) : 0;
}

int WritePortSetting(PortSubkeyWriter& subkey, CDeviceParamWriter& devices, LPCWSTR valueName, DWORD value)
{
    if (!subkey.WriteDword(valueName, value))
        return 0;
    devices.WriteDword(subkey.KeyNumber(), valueName, value);
    return 1;
}

int WriteDeviceParamString(UINT keyNumber, LPCWSTR valueName, LPCWSTR text)
{
    ScopedRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, PortDevicePath(keyNumber), 0, KEY_SET_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
        ScopedRegKey instance;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, PortDeviceInstancePath(keyNumber), 0, KEY_CREATE_SUB_KEY,
                            instance.Receive()) != ERROR_SUCCESS ||
            ::RegCreateKeyExW(instance, kDeviceParametersName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                              nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
            return 0;
    }
    return SetRegString(key, valueName, text);
}

bool IsPortSubkeyLink(UINT keyNumber)
{
    return IsRegKeyLink(HKEY_LOCAL_MACHINE, PortSubkeyPath(keyNumber));
}

void DeletePortKey(UINT keyNumber)
{
    // A subkey that is not there is what the caller wants; nothing to report either way.
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, PortSubkeyPath(keyNumber));
}

int DeletePortSettings(DWORD comNumber, UINT keyNumber, HCOMDB hComDB)
{
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, PortSubkeyPath(keyNumber));
    // The number is released even when the subkey was gone already.
    ::ComDBReleasePort(hComDB, comNumber);
    return 1;
}
