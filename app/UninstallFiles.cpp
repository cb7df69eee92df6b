// The uninstallation's file steps: the system's INF copies and the product's own files.
//
// Deletion is confined on purpose. Outside the INF folder only the fixed leaf names below are
// ever deleted, one file at a time; in the INF folder only a copy whose original INF name
// SetupAPI reports as svtmf3.inf or svtser3.inf. No pattern selects a file for deletion, no
// folder is deleted with its contents, and a folder goes only when it is already empty. A name
// that is a link to something elsewhere is left alone with what it points to (DeleteOwnEntry).
#include "app/Uninstall.h"

#include "app/ScopedHandles.h"
#include "framework/cstring.h"

#include <setupapi.h>
#include <shlobj.h>

#include <vector>

namespace {

const wchar_t kMakerFolder[] = L"Kolbrant";
const wchar_t kProductFolder[] = L"COM Sarvento";
const wchar_t kQuickLaunchFolder[] = L"Application Data\\Microsoft\\Internet Explorer\\Quick Launch";

const wchar_t kCoInstallerFile[] = L"svtco3.dll";
const wchar_t kUninstallShortcut[] = L"Uninstall.lnk";
const wchar_t kProgramShortcut[] = L"Sarvento Control.lnk";

// The product's two INF files, as their copies in the system INF folder remember them.
const wchar_t* const kProductInfNames[] = {L"svtmf3.inf", L"svtser3.inf"};

// The install folder's files, the program first.
const wchar_t* const kInstallFolderFiles[] = {
    kProgramExeName, kCoInstallerFile, L"svtmf3.inf", L"svtmf3.sys", L"svtser3.inf", L"svtser3.sys",
};

// Every leaf name that DeleteProductFile accepts.
const wchar_t* const kProductFileNames[] = {
    kProgramExeName, kCoInstallerFile, L"svtmf3.inf",      L"svtmf3.sys",
    L"svtser3.inf",  L"svtser3.sys",   kUninstallShortcut, kProgramShortcut,
};

bool IsProductFileName(LPCWSTR leafName)
{
    for (const wchar_t* name : kProductFileNames) {
        if (wcscmp(leafName, name) == 0)
            return true;
    }
    return false;
}

// "folder\leaf"; empty when the folder is empty.
CString JoinPath(const CString& folder, LPCWSTR leaf)
{
    if (folder.IsEmpty())
        return CString();
    CString path;
    path.Format(L"%s\\%s", static_cast<LPCWSTR>(folder), leaf);
    return path;
}

// The path of what the handle holds as the system resolved it, links followed; empty when it
// cannot be told.
CString ResolvedPath(HANDLE handle)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD chars = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (chars == 0)
            return CString();
        if (chars < buffer.size())
            return CString(buffer.data(), static_cast<int>(chars));
        buffer.resize(chars + 1);
    }
}

// The resolved path of a folder; empty when it cannot be opened or told.
CString ResolvedFolderPath(const CString& folder)
{
    ScopedHandle handle(::CreateFileW(folder, FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.IsValid())
        return CString();
    CString path = ResolvedPath(handle);
    path.TrimRight(L'\\');
    return path;
}

// Deletes folder\leafName, a file or (isFolder) an empty folder, only when it is that entry
// itself: opened, it must resolve to the folder's own resolved path followed by leafName. A link
// at that name resolves to somewhere else and stays, with what it points to: under Wine a file
// link is not told apart otherwise (its attributes are a plain file's), and deleting it would
// delete its target. The check and the deletion use one handle, so what was checked is what goes.
// clearReadOnly lets a read-only file go too. Failures are not reported.
void DeleteOwnEntry(const CString& folder, LPCWSTR leafName, bool isFolder, bool clearReadOnly)
{
    const CString folderPath = ResolvedFolderPath(folder);
    if (folderPath.IsEmpty())
        return;
    const DWORD access = DELETE | FILE_READ_ATTRIBUTES | (clearReadOnly ? FILE_WRITE_ATTRIBUTES : 0);
    ScopedHandle handle(::CreateFileW(JoinPath(folder, leafName), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      isFolder ? FILE_FLAG_BACKUP_SEMANTICS : FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.IsValid() || !SameTextIgnoringCase(ResolvedPath(handle), JoinPath(folderPath, leafName)))
        return;
    if (clearReadOnly) {
        FILE_BASIC_INFO basic = {};  // times of 0 stay as they are
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        ::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof(basic));
    }
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof(disposition));
}

// Deletes folder\leafName when leafName is one of the product's file names; anything else is
// refused. Failures are not reported.
void DeleteProductFile(const CString& folder, LPCWSTR leafName)
{
    if (folder.IsEmpty() || !IsProductFileName(leafName))
        return;
    DeleteOwnEntry(folder, leafName, false, false);
}

// The product's own folder "...\Kolbrant\COM Sarvento" below a system folder; empty when the
// system folder does not resolve.
CString ProductFolderIn(int csidl)
{
    wchar_t base[MAX_PATH] = {};
    if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK || base[0] == L'\0')
        return CString();
    CString folder;
    folder.Format(L"%s\\%s\\%s", base, kMakerFolder, kProductFolder);
    return folder;
}

// A system folder itself; empty when it does not resolve.
CString SystemFolder(int csidl)
{
    wchar_t base[MAX_PATH] = {};
    if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK || base[0] == L'\0')
        return CString();
    return CString(base);
}

// Removes the product's folder when it is empty; a folder with anything left in it stays.
void RemoveProductFolder(const CString& folder)
{
    const int slash = folder.ReverseFind(L'\\');
    if (slash > 0)
        DeleteOwnEntry(folder.Left(slash), static_cast<LPCWSTR>(folder) + slash + 1, true, false);
}

// The original INF name that SetupAPI reports for the INF at path; empty when the file is no
// INF it can read.
CString OriginalInfName(const CString& path)
{
    DWORD required = 0;
    if (!::SetupGetInfInformationW(static_cast<LPCWSTR>(path), INFINFO_INF_NAME_IS_ABSOLUTE, nullptr, 0, &required) ||
        required == 0)
        return CString();
    std::vector<BYTE> buffer(required);
    auto* info = reinterpret_cast<SP_INF_INFORMATION*>(buffer.data());
    if (!::SetupGetInfInformationW(static_cast<LPCWSTR>(path), INFINFO_INF_NAME_IS_ABSOLUTE, info, required, nullptr))
        return CString();
    SP_ORIGINAL_FILE_INFO_W original = {};
    original.cbSize = sizeof(original);
    if (!::SetupQueryInfOriginalFileInformationW(info, 0, nullptr, &original))
        return CString();
    original.OriginalInfName[MAX_PATH - 1] = L'\0';
    return CString(original.OriginalInfName);
}

bool IsProductInfName(const CString& name)
{
    for (const wchar_t* product : kProductInfNames) {
        if (SameTextIgnoringCase(name, product))
            return true;
    }
    return false;
}

// "name.inf" -> "name"; empty when the name does not end in exactly ".inf".
CString InfBaseName(LPCWSTR fileName)
{
    const size_t length = wcslen(fileName);
    if (length <= 4 || !SameTextIgnoringCase(fileName + length - 4, L".inf"))
        return CString();
    return CString(fileName, static_cast<int>(length - 4));
}

// Deletes one copy in the INF folder, its .inf and its .pnf, after SetupAPI has confirmed that
// the copy was made from one of the product's INF files. Read-only files go too.
void DeleteProductInfCopy(const CString& infFolder, const CString& baseName)
{
    const CString infPath = JoinPath(infFolder, baseName + L".inf");
    if (baseName.IsEmpty() || !IsProductInfName(OriginalInfName(infPath)))
        return;
    for (const wchar_t* extension : {L".inf", L".pnf"})
        DeleteOwnEntry(infFolder, baseName + extension, false, true);
}

// The names of the INF files in folder (the listing is finished before anything is deleted).
std::vector<CString> ListInfFiles(const CString& folder)
{
    std::vector<CString> names;
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW(JoinPath(folder, L"*.inf"), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        // A long name whose short form ends in .INF is listed too; only real .inf names count.
        const CString baseName = InfBaseName(found.cFileName);
        if (!baseName.IsEmpty())
            names.push_back(baseName);
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    return names;
}

}  // namespace

void DeleteOemInfFiles()
{
    wchar_t windows[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const CString infFolder = JoinPath(CString(windows), L"inf");
    for (const CString& baseName : ListInfFiles(infFolder))
        DeleteProductInfCopy(infFolder, baseName);
}

int DeleteInstalledFiles()
{
    // Program Files: the install folder's six files, then the folder itself when it is empty.
    // The running program's own file cannot be deleted and stays, and so does the folder.
    const CString installFolder = ProductFolderIn(CSIDL_PROGRAM_FILES);
    if (!installFolder.IsEmpty()) {
        for (const wchar_t* name : kInstallFolderFiles)
            DeleteProductFile(installFolder, name);
        RemoveProductFolder(installFolder);
    }

    // All users' start menu: the product's two shortcuts and their folder; "Kolbrant" stays.
    const CString menuFolder = ProductFolderIn(CSIDL_COMMON_PROGRAMS);
    if (!menuFolder.IsEmpty()) {
        DeleteProductFile(menuFolder, kUninstallShortcut);
        DeleteProductFile(menuFolder, kProgramShortcut);
        RemoveProductFolder(menuFolder);
    }

    DeleteProductFile(SystemFolder(CSIDL_COMMON_STARTUP), kProgramShortcut);
    DeleteProductFile(SystemFolder(CSIDL_COMMON_DESKTOPDIRECTORY), kProgramShortcut);
    DeleteProductFile(JoinPath(SystemFolder(CSIDL_PROFILE), kQuickLaunchFolder), kProgramShortcut);
    DeleteProductFile(SystemFolder(CSIDL_SYSTEMX86), kCoInstallerFile);
    return 1;
}
