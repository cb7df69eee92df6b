#include "RegistryHelpers.h"

#include <shlwapi.h>

#include <stdio.h>

namespace regtest {

DWORD RawValue::AsDword() const
{
    DWORD value = 0;
    if (data.size() >= sizeof(value))
        memcpy(&value, data.data(), sizeof(value));
    return value;
}

std::wstring RawValue::AsText() const
{
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    const size_t end = text.find(L'\0');
    return end == std::wstring::npos ? text : text.substr(0, end);
}

bool KeyExists(const std::wstring& path)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

bool CreateKey(const std::wstring& path)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

bool DeleteTree(const std::wstring& path)
{
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
    return !KeyExists(path);
}

bool SetValue(const std::wstring& path, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool stored = RegSetValueExW(hKey, name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
    RegCloseKey(hKey);
    return stored;
}

bool SetDword(const std::wstring& path, const wchar_t* name, DWORD value)
{
    return SetValue(path, name, REG_DWORD, &value, sizeof(value));
}

bool SetText(const std::wstring& path, const wchar_t* name, const std::wstring& text)
{
    return SetValue(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

RawValue GetValue(const std::wstring& path, const wchar_t* name)
{
    RawValue value;
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return value;
    DWORD bytes = 0;
    if (RegQueryValueExW(hKey, name, nullptr, &value.type, nullptr, &bytes) == ERROR_SUCCESS) {
        value.data.resize(bytes);
        value.exists = RegQueryValueExW(hKey, name, nullptr, &value.type, bytes ? value.data.data() : nullptr,
                                        &bytes) == ERROR_SUCCESS;
        value.data.resize(bytes);
    }
    RegCloseKey(hKey);
    return value;
}

namespace {

void SnapshotInto(HKEY hKey, const std::wstring& prefix, std::wstring& out)
{
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD nameChars = 512;
        BYTE data[2048];
        DWORD bytes = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueW(hKey, index, name, &nameChars, nullptr, &type, data, &bytes) != ERROR_SUCCESS)
            break;
        wchar_t head[64];
        _snwprintf(head, 64, L" type %lu, %lu bytes:", type, bytes);
        out += prefix + L"[" + name + L"]" + head;
        for (DWORD i = 0; i < bytes; ++i) {
            wchar_t hex[4];
            _snwprintf(hex, 4, L"%02x", data[i]);
            out += hex;
        }
        out += L"\n";
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD nameChars = 512;
        if (RegEnumKeyExW(hKey, index, name, &nameChars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        out += prefix + name + L"\\\n";
        HKEY hSub = nullptr;
        if (RegOpenKeyExW(hKey, name, 0, KEY_READ, &hSub) == ERROR_SUCCESS) {
            SnapshotInto(hSub, prefix + name + L"\\", out);
            RegCloseKey(hSub);
        }
    }
}

}  // namespace

std::wstring Snapshot(const std::wstring& path)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return L"<no key>";
    std::wstring out;
    SnapshotInto(hKey, L"", out);
    RegCloseKey(hKey);
    return out;
}

}  // namespace regtest
