#include "tests/app_install/InstallTestSupport.h"

#include "app/PortSettings.h"
#include "app/RegKeyTree.h"
#include "tests/support/SimMachine.h"

#include <sddl.h>
#include <setupapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>

namespace installtest {

namespace {

const wchar_t kEnumKey[] = L"SYSTEM\\CurrentControlSet\\Enum\\";

std::string Narrow(const std::wstring& text)
{
    std::string result;
    for (wchar_t c : text)
        result += (c > 0 && c < 128) ? static_cast<char>(c) : '?';
    return result;
}

std::wstring ParentOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The host's path of a file of the prefix; empty outside Wine.
std::string UnixPath(const std::wstring& path)
{
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixPath = toUnix != nullptr ? toUnix(path.c_str()) : nullptr;
    if (unixPath == nullptr)
        return std::string();
    std::string result(unixPath);
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}

// Starts a host program (Wine starts host executables directly); false when it did not start.
// Its end cannot be waited for from here: the caller waits for what it does.
bool StartHostProgram(const wchar_t* program, const std::string& arguments)
{
    std::wstring commandLine = program;
    commandLine += L' ';
    for (char c : arguments)
        commandLine += static_cast<wchar_t>(static_cast<unsigned char>(c));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

std::wstring EnvironmentText(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    return value != nullptr ? std::wstring(value) : std::wstring();
}

}  // namespace

::testing::AssertionResult RunsInBuildPrefix()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr || ::GetProcAddress(ntdll, "wine_get_version") == nullptr)
        return ::testing::AssertionFailure() << "not running under Wine: the uninstallation tests run only there";
    std::wstring prefix = EnvironmentText(L"WINEPREFIX");
    while (!prefix.empty() && prefix.back() == L'/')
        prefix.pop_back();
    if (prefix.size() < 6 || prefix.compare(prefix.size() - 5, 5, L"/wine") != 0)
        return ::testing::AssertionFailure()
               << "WINEPREFIX '" << Narrow(prefix) << "' is not a build folder's prefix (<build>/wine)";
    std::wstring build = L"Z:" + prefix.substr(0, prefix.size() - 5);
    std::replace(build.begin(), build.end(), L'/', L'\\');
    if (!FileExists(build + L"\\CMakeCache.txt") || !FolderExists(build + L"\\home"))
        return ::testing::AssertionFailure() << "'" << Narrow(build) << "' is not a build folder with its own home";
    return ::testing::AssertionSuccess();
}

Folders::Folders()
{
    profile = EnvironmentText(L"USERPROFILE");
    quickLaunch = profile + L"\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch";
    wchar_t tempPath[MAX_PATH] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH, tempPath);
    std::wstring base(tempPath, length);
    while (!base.empty() && base.back() == L'\\')
        base.pop_back();
    temp = base + L"\\sarvento-install-tests-" + std::to_wstring(::GetCurrentProcessId());
}

std::vector<std::wstring> ProductFilePaths(const Folders& folders)
{
    std::vector<std::wstring> paths;
    for (const wchar_t* name :
         {L"SarventoCtl3.exe", L"svtco3.dll", L"svtmf3.inf", L"svtmf3.sys", L"svtser3.inf", L"svtser3.sys"})
        paths.push_back(folders.ProductInstall() + L"\\" + name);
    paths.push_back(folders.ProductMenu() + L"\\Uninstall.lnk");
    paths.push_back(folders.ProductMenu() + L"\\Sarvento Control.lnk");
    paths.push_back(folders.commonStartup + L"\\Sarvento Control.lnk");
    paths.push_back(folders.commonDesktop + L"\\Sarvento Control.lnk");
    paths.push_back(folders.quickLaunch + L"\\Sarvento Control.lnk");
    paths.push_back(folders.systemX86 + L"\\svtco3.dll");
    return paths;
}

std::vector<std::wstring> DecoyFilePaths(const Folders& folders)
{
    return {
        folders.programFiles + L"\\Kolbrant\\Other Product\\SarventoCtl3.exe",
        folders.programFiles + L"\\Kolbrant\\Other Product\\svtco3.dll",
        folders.programFiles + L"\\Kolbrant\\readme.txt",
        folders.commonPrograms + L"\\Kolbrant\\Other Product\\Uninstall.lnk",
        folders.commonPrograms + L"\\Kolbrant\\Other Product\\Sarvento Control.lnk",
        folders.commonPrograms + L"\\Sarvento Control.lnk",
        folders.commonStartup + L"\\Other Control.lnk",
        folders.commonDesktop + L"\\Uninstall.lnk",
        folders.commonDesktop + L"\\Sarvento Control (2).lnk",
        folders.quickLaunch + L"\\Other Product.lnk",
        folders.system32 + L"\\svtco3.dll",
        folders.systemX86 + L"\\svtco3x.dll",
    };
}

std::vector<LinkDecoy> FileLinkDecoys(const Folders& folders)
{
    std::vector<LinkDecoy> decoys;
    int index = 0;
    for (const std::wstring& path : ProductFilePaths(folders))
        decoys.push_back({path, folders.temp + L"\\link targets\\" + std::to_wstring(++index) + L".bin"});
    decoys.insert(decoys.begin(), {{folders.inf + L"\\svtser3.inf", folders.temp + L"\\link targets\\svtser3.inf"},
                                   {folders.inf + L"\\svtser3.pnf", folders.temp + L"\\link targets\\svtser3.pnf"}});
    return decoys;
}

std::wstring ResolvedPath(const std::wstring& path)
{
    HANDLE file =
        ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::wstring();
    wchar_t resolved[1024] = {};
    const DWORD chars = ::GetFinalPathNameByHandleW(file, resolved, 1024, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    ::CloseHandle(file);
    return chars > 0 && chars < 1024 ? std::wstring(resolved, chars) : std::wstring();
}

::testing::AssertionResult LinkKept(const LinkDecoy& decoy)
{
    if (!FileExists(decoy.target))
        return ::testing::AssertionFailure() << "target deleted: " << Narrow(decoy.target);
    if (ResolvedPath(decoy.link) != ResolvedPath(decoy.target))
        return ::testing::AssertionFailure() << "link gone: " << Narrow(decoy.link);
    return ::testing::AssertionSuccess();
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

::testing::AssertionResult MadeFiles::Folder(const std::wstring& path)
{
    if (path.empty() || FolderExists(path))
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult parent = Folder(ParentOf(path));
    if (!parent)
        return parent;
    if (!::CreateDirectoryW(path.c_str(), nullptr))
        return ::testing::AssertionFailure() << "cannot make " << Narrow(path) << " (" << ::GetLastError() << ")";
    m_folders.push_back(path);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult MadeFiles::File(const std::wstring& path, const std::string& content)
{
    ::testing::AssertionResult folder = Folder(ParentOf(path));
    if (!folder)
        return folder;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::testing::AssertionFailure() << "cannot write " << Narrow(path) << " (" << ::GetLastError() << ")";
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    m_files.push_back(path);
    if (!ok || written != content.size())
        return ::testing::AssertionFailure() << "cannot write " << Narrow(path);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult MadeFiles::Copy(const std::wstring& from, const std::wstring& to)
{
    ::testing::AssertionResult folder = Folder(ParentOf(to));
    if (!folder)
        return folder;
    if (!::CopyFileW(from.c_str(), to.c_str(), FALSE))
        return ::testing::AssertionFailure()
               << "cannot copy " << Narrow(from) << " to " << Narrow(to) << " (" << ::GetLastError() << ")";
    m_files.push_back(to);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult MadeFiles::Link(const LinkDecoy& decoy, const std::string& content)
{
    if (!FileExists(decoy.target)) {
        ::testing::AssertionResult target = File(decoy.target, content);
        if (!target)
            return target;
    }
    ::testing::AssertionResult folder = Folder(ParentOf(decoy.link));
    if (!folder)
        return folder;
    const std::string link = UnixPath(decoy.link);
    if (link.empty() || !StartHostProgram(L"/bin/ln", "-s \"" + UnixPath(decoy.target) + "\" \"" + link + "\""))
        return ::testing::AssertionFailure() << "cannot run the host's ln for " << Narrow(decoy.link);
    m_links.push_back(decoy.link);
    // The link shows in where its name leads.
    const std::wstring target = ResolvedPath(decoy.target);
    for (const DWORD start = ::GetTickCount(); ResolvedPath(decoy.link) != target; ::Sleep(10)) {
        if (::GetTickCount() - start > 15000)
            return ::testing::AssertionFailure() << "no link at " << Narrow(decoy.link);
    }
    return ::testing::AssertionSuccess();
}

std::wstring MadeFiles::InfCopy(const std::wstring& source)
{
    wchar_t dest[MAX_PATH] = {};
    if (!::SetupCopyOEMInfW(source.c_str(), nullptr, SPOST_NONE, 0, dest, MAX_PATH, nullptr, nullptr)) {
        ADD_FAILURE() << "SetupCopyOEMInfW of " << Narrow(source) << " failed (" << ::GetLastError() << ")";
        return std::wstring();
    }
    const std::wstring inf(dest);
    Remember(inf);
    Remember(inf.substr(0, inf.size() - 4) + L".pnf");
    return inf;
}

std::string OtherProductInf(const char* version)
{
    return std::string(
               "[Version]\r\nSignature=\"$WINDOWS NT$\"\r\nClass=System\r\n"
               "ClassGuid={4d36e97d-e325-11ce-bfc1-08002be10318}\r\nProvider=Other\r\nDriverVer=01/01/2020,") +
           version + "\r\n";
}

void MadeFiles::Cleanup()
{
    // The links go first, while their targets are there to show whether they are gone.
    for (const std::wstring& path : m_links) {
        StartHostProgram(L"/bin/rm", "-f \"" + UnixPath(path) + "\"");
        for (const DWORD start = ::GetTickCount(); FileExists(path) && ::GetTickCount() - start < 15000;)
            ::Sleep(10);
    }
    m_links.clear();
    for (const std::wstring& path : m_files) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
    }
    m_files.clear();
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
        ::RemoveDirectoryW(folder->c_str());
    m_folders.clear();
}

std::wstring PortSubkey(UINT keyNumber)
{
    return std::wstring(static_cast<LPCWSTR>(PortSubkeyPath(keyNumber)));
}

bool KeyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

::testing::AssertionResult WriteDword(const std::wstring& keyPath, const wchar_t* name, DWORD value)
{
    HKEY key = nullptr;
    LONG result =
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        result = ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        ::RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS)
        return ::testing::AssertionFailure() << "cannot write " << Narrow(keyPath) << " (" << result << ")";
    return ::testing::AssertionSuccess();
}

void DeleteTestKey(const std::wstring& path)
{
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, path.c_str());
}

const wchar_t kTestDeviceEnumKey[] = L"SYSTEM\\CurrentControlSet\\Enum\\ROOT\\SARVENTOTEST";

::testing::AssertionResult WriteDevice(const std::wstring& instanceId, const wchar_t* service,
                                       const std::vector<std::wstring>& hardwareIds)
{
    const std::wstring path = kEnumKey + instanceId;
    HKEY key = nullptr;
    LONG result = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        return ::testing::AssertionFailure() << "cannot make " << Narrow(path) << " (" << result << ")";
    std::wstring ids;
    for (const std::wstring& id : hardwareIds)
        ids += id + L'\0';
    ids += L'\0';
    const wchar_t deviceClass[] = L"{4d36e97d-e325-11ce-bfc1-08002be10318}";  // System devices
    result = ::RegSetValueExW(key, L"HardwareID", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(ids.data()),
                              static_cast<DWORD>(ids.size() * sizeof(wchar_t)));
    if (result == ERROR_SUCCESS)
        result = ::RegSetValueExW(key, L"ClassGUID", 0, REG_SZ, reinterpret_cast<const BYTE*>(deviceClass),
                                  sizeof(deviceClass));
    if (result == ERROR_SUCCESS && service != nullptr)
        result = ::RegSetValueExW(key, L"Service", 0, REG_SZ, reinterpret_cast<const BYTE*>(service),
                                  static_cast<DWORD>((wcslen(service) + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return ::testing::AssertionFailure()
               << "cannot write the device " << Narrow(instanceId) << " (" << result << ")";
    return ::testing::AssertionSuccess();
}

bool DeviceExists(const std::wstring& instanceId)
{
    return KeyExists(kEnumKey + instanceId);
}

std::wstring PortDeviceInstance(unsigned comNumber)
{
    wchar_t name[32] = {};
    _snwprintf(name, 31, L"SVTMF3\\*PNP0501\\%08X", comNumber);
    return name;
}

HANDLE StandIns::Start(const std::wstring& exeName, bool denyAccess)
{
    const std::wstring folder = Folders().temp + L"\\standin" + std::to_wstring(m_started.size() + 1);
    const std::wstring path = folder + L"\\" + exeName;
    ::testing::AssertionResult copied = m_files.Copy(TestProgramFolder() + L"\\app_install_standin.exe", path);
    EXPECT_TRUE(copied);
    if (!copied)
        return nullptr;

    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), nullptr, FALSE};
    // A DACL that denies everyone everything: the process cannot be opened by its id.
    if (denyAccess && !::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                          L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr)) {
        ADD_FAILURE() << "cannot make the security descriptor (" << ::GetLastError() << ")";
        return nullptr;
    }
    m_started.push_back(std::make_unique<uitest::ExternalProgram>(path, folder, &attributes));
    if (attributes.lpSecurityDescriptor != nullptr)
        ::LocalFree(attributes.lpSecurityDescriptor);
    const uitest::ExternalProgram& process = *m_started.back();
    if (!process.Started()) {
        ADD_FAILURE() << "cannot start " << Narrow(path) << " (" << process.StartError() << ")";
        return nullptr;
    }
    ::WaitForInputIdle(process.Handle(), 2000);
    return process.Handle();
}

DWORD StandIns::WaitForExit(HANDLE hProcess, DWORD timeoutMs)
{
    if (::WaitForSingleObject(hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(hProcess, &code);
    return code;
}

std::wstring TestProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return ParentOf(std::wstring(path, length));
}

}  // namespace installtest

namespace {

// The uninstallation removes the simulated bus driver's own root device with the rest of the
// product; the next test program finds the machine as the fixture leaves it.
class MachineRestorer : public ::testing::Environment {
public:
    void TearDown() override { EXPECT_TRUE(simtest::ResetMachine()); }
};

::testing::Environment* const g_machineRestorer = ::testing::AddGlobalTestEnvironment(new MachineRestorer);

}  // namespace
