// A registry key handle that closes itself, with the few value operations the simulation's
// tools need. Results are the registry's own error codes (ERROR_SUCCESS when done).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace simmachine {

class RegKey {
public:
    RegKey() = default;
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LONG Open(HKEY parent, const wchar_t* path, REGSAM access = KEY_READ);
    LONG Create(HKEY parent, const wchar_t* path, REGSAM access = KEY_READ | KEY_WRITE);
    void Close();
    HKEY Get() const { return key_; }

    // A value of another type than asked for gives ERROR_INVALID_DATATYPE.
    LONG ReadDword(const wchar_t* name, DWORD& value) const;
    LONG ReadString(const wchar_t* name, std::wstring& value) const;
    LONG ReadBinary(const wchar_t* name, std::vector<BYTE>& value) const;
    LONG WriteDword(const wchar_t* name, DWORD value);
    LONG WriteString(const wchar_t* name, const std::wstring& value);
    LONG DeleteValue(const wchar_t* name);

    // Names of the subkeys / values, in the registry's order.
    LONG SubkeyNames(std::vector<std::wstring>& names) const;
    LONG ValueNames(std::vector<std::wstring>& names) const;

private:
    HKEY key_ = nullptr;
};

// Deletes the key with everything below it; a key that does not exist is no error.
LONG DeleteKeyTree(HKEY parent, const wchar_t* path);

bool KeyExists(HKEY parent, const wchar_t* path);

// Hands every value of every subkey of the key to take(subkey, value name, data), in the
// registry's order, as the logs are stored: one subkey per writer. A missing key has none.
using SubkeyValueTaker =
    std::function<void(const std::wstring& subkey, const std::wstring& name, const std::vector<BYTE>& data)>;
LONG ReadSubkeyValues(HKEY parent, const wchar_t* path, const SubkeyValueTaker& take);

}  // namespace simmachine
