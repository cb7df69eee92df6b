#include "sim/control/RegKey.h"

namespace simmachine {

namespace {

constexpr DWORD kMaxNameChars = 16384;  // the registry's own limit for value names

}  // namespace

RegKey::~RegKey()
{
    Close();
}

void RegKey::Close()
{
    if (key_ != nullptr)
        RegCloseKey(key_);
    key_ = nullptr;
}

LONG RegKey::Open(HKEY parent, const wchar_t* path, REGSAM access)
{
    Close();
    return RegOpenKeyExW(parent, path, 0, access, &key_);
}

LONG RegKey::Create(HKEY parent, const wchar_t* path, REGSAM access)
{
    Close();
    return RegCreateKeyExW(parent, path, 0, nullptr, 0, access, nullptr, &key_, nullptr);
}

LONG RegKey::ReadDword(const wchar_t* name, DWORD& value) const
{
    DWORD type = 0;
    DWORD size = sizeof(value);
    DWORD data = 0;
    LONG result = RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    if (result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && (type != REG_DWORD || size != sizeof(data))))
        return ERROR_INVALID_DATATYPE;
    if (result == ERROR_SUCCESS)
        value = data;
    return result;
}

LONG RegKey::ReadBinary(const wchar_t* name, std::vector<BYTE>& value) const
{
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<BYTE> data(size);
    result = RegQueryValueExW(key_, name, nullptr, &type, data.data(), &size);
    if (result != ERROR_SUCCESS)
        return result;
    data.resize(size);
    value.swap(data);
    return ERROR_SUCCESS;
}

LONG RegKey::ReadString(const wchar_t* name, std::wstring& value) const
{
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ)
        return ERROR_INVALID_DATATYPE;
    std::vector<BYTE> data;
    result = ReadBinary(name, data);
    if (result != ERROR_SUCCESS)
        return result;
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        memcpy(&text[0], data.data(), text.size() * sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    value = text;
    return ERROR_SUCCESS;
}

LONG RegKey::WriteDword(const wchar_t* name, DWORD value)
{
    return RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG RegKey::WriteString(const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG RegKey::DeleteValue(const wchar_t* name)
{
    return RegDeleteValueW(key_, name);
}

LONG RegKey::SubkeyNames(std::vector<std::wstring>& names) const
{
    names.clear();
    std::vector<wchar_t> name(256);
    for (DWORD index = 0;; ++index) {
        DWORD chars = static_cast<DWORD>(name.size());
        LONG result = RegEnumKeyExW(key_, index, name.data(), &chars, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        names.emplace_back(name.data(), chars);
    }
}

LONG RegKey::ValueNames(std::vector<std::wstring>& names) const
{
    names.clear();
    std::vector<wchar_t> name(kMaxNameChars);
    for (DWORD index = 0;; ++index) {
        DWORD chars = static_cast<DWORD>(name.size());
        LONG result = RegEnumValueW(key_, index, name.data(), &chars, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        names.emplace_back(name.data(), chars);
    }
}

LONG DeleteKeyTree(HKEY parent, const wchar_t* path)
{
    LONG result = RegDeleteTreeW(parent, path);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

bool KeyExists(HKEY parent, const wchar_t* path)
{
    RegKey key;
    return key.Open(parent, path, KEY_READ) == ERROR_SUCCESS;
}

LONG ReadSubkeyValues(HKEY parent, const wchar_t* path, const SubkeyValueTaker& take)
{
    RegKey root;
    LONG result = root.Open(parent, path);
    if (result == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    std::vector<std::wstring> subkeys;
    if (result == ERROR_SUCCESS)
        result = root.SubkeyNames(subkeys);
    for (size_t i = 0; i < subkeys.size() && result == ERROR_SUCCESS; ++i) {
        RegKey key;
        std::vector<std::wstring> names;
        result = key.Open(root.Get(), subkeys[i].c_str());
        if (result == ERROR_SUCCESS)
            result = key.ValueNames(names);
        for (size_t n = 0; n < names.size() && result == ERROR_SUCCESS; ++n) {
            std::vector<BYTE> data;
            result = key.ReadBinary(names[n].c_str(), data);
            if (result == ERROR_SUCCESS)
                take(subkeys[i], names[n], data);
        }
    }
    return result;
}

}  // namespace simmachine
