// Direct registry access for the store's tests: what a test arranges and looks at without going
// through the code under test. Paths are below HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace regtest {

struct RawValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    DWORD AsDword() const;
    // The data as text up to its terminator (or its end).
    std::wstring AsText() const;
};

bool KeyExists(const std::wstring& path);
bool CreateKey(const std::wstring& path);
// Deletes the key with everything below it; true when it is gone afterwards.
bool DeleteTree(const std::wstring& path);

bool SetValue(const std::wstring& path, const wchar_t* name, DWORD type, const void* data, DWORD bytes);
bool SetDword(const std::wstring& path, const wchar_t* name, DWORD value);
// REG_SZ with its terminator.
bool SetText(const std::wstring& path, const wchar_t* name, const std::wstring& text);
RawValue GetValue(const std::wstring& path, const wchar_t* name);

// Every value and subkey below a key, flattened to text, to compare a key before and after.
std::wstring Snapshot(const std::wstring& path);

}  // namespace regtest
