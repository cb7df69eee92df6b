#include "app/RegKeyTree.h"

#include "app/ScopedHandles.h"

#include <string>
#include <vector>

// Deletes the key of an open handle. The registry functions delete a key by name, which opens
// it again and so follows a link; this deletes the very key the handle holds.
extern "C" NTSYSAPI LONG NTAPI NtDeleteKey(HANDLE keyHandle);

namespace {

const wchar_t kLinkValue[] = L"SymbolicLinkValue";

// The longest key name, terminator included.
constexpr DWORD kKeyNameChars = 256;

bool IsLink(HKEY key)
{
    DWORD type = REG_NONE;
    return ::RegQueryValueExW(key, kLinkValue, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS && type == REG_LINK;
}

// The names of the key's subkeys, all read before any of them is deleted.
std::vector<std::wstring> SubkeyNames(HKEY key)
{
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kKeyNameChars];
        DWORD chars = kKeyNameChars;
        if (::RegEnumKeyExW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, chars);
    }
    return names;
}

}  // namespace

bool IsRegKeyLink(HKEY parent, LPCWSTR path)
{
    ScopedRegKey key;
    bool isLink = false;
    return OpenRegKeyUnlinked(parent, path, 0, key.Receive(), isLink) == ERROR_SUCCESS && isLink;
}

LONG OpenRegKeyUnlinked(HKEY parent, LPCWSTR path, REGSAM access, HKEY* phKey, bool& isLink)
{
    *phKey = nullptr;
    isLink = false;
    HKEY hKey = nullptr;
    const LONG opened = ::RegOpenKeyExW(parent, path, REG_OPTION_OPEN_LINK, access | KEY_QUERY_VALUE, &hKey);
    if (opened != ERROR_SUCCESS)
        return opened;
    if (IsLink(hKey)) {
        ::RegCloseKey(hKey);
        isLink = true;
        return ERROR_SUCCESS;
    }
    *phKey = hKey;
    return ERROR_SUCCESS;
}

bool DeleteRegKeyTree(HKEY parent, LPCWSTR path)
{
    ScopedRegKey key;
    const LONG opened = ::RegOpenKeyExW(parent, path, REG_OPTION_OPEN_LINK, KEY_READ | DELETE, key.Receive());
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    // A link has no subkeys of its own: what its target holds is not looked at.
    if (!IsLink(key)) {
        for (const std::wstring& name : SubkeyNames(key))
            DeleteRegKeyTree(key, name.c_str());
    }
    return NtDeleteKey(key) >= 0;
}
