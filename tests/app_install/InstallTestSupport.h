// What the installation and uninstallation tests share: a guard that keeps them inside a build
// folder's own Wine prefix, the prefix's folders, files and decoys that a test makes (and
// removes again), stand-in processes, and devices written straight into the registry.
#pragma once

#include <windows.h>

#include "tests/support/ExternalProgram.h"
#include "tests/support/SimOddPorts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace installtest {

// Whether this process runs under Wine in a build folder's own prefix (WINEPREFIX is
// <build>/wine beside <build>/CMakeCache.txt and <build>/home). The uninstallation deletes
// devices, files and registry keys of the machine it runs on: nowhere else may it run.
::testing::AssertionResult RunsInBuildPrefix();

// The folders of the prefix where the product installs its files, as this Wine lays them out.
struct Folders {
    std::wstring programFiles = L"C:\\Program Files";
    std::wstring commonPrograms = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    std::wstring commonStartup = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp";
    std::wstring commonDesktop = L"C:\\users\\Public\\Desktop";
    std::wstring profile;      // C:\users\<user>
    std::wstring quickLaunch;  // <profile>\Application Data\Microsoft\Internet Explorer\Quick Launch
    std::wstring systemX86 = L"C:\\windows\\syswow64";
    std::wstring system32 = L"C:\\windows\\system32";
    std::wstring inf = L"C:\\windows\\inf";
    std::wstring temp;  // this test program's own folder below the prefix's temp folder

    Folders();

    std::wstring ProductInstall() const { return programFiles + L"\\Kolbrant\\COM Sarvento"; }
    std::wstring ProductMenu() const { return commonPrograms + L"\\Kolbrant\\COM Sarvento"; }
};

// The ten files that the product installs: six in its install folder, its two start-menu
// shortcuts, the shortcuts in the all-users Startup folder, on the all-users desktop and in the
// user's Quick Launch folder, and the co-installer in the 32-bit system folder.
std::vector<std::wstring> ProductFilePaths(const Folders& folders);
// Other products' files: the product's file names in other places, and other names in the
// product's places.
std::vector<std::wstring> DecoyFilePaths(const Folders& folders);

// A symbolic link at one of the product's names to a file elsewhere, which is not the product's.
struct LinkDecoy {
    std::wstring link;
    std::wstring target;
};
// Links at the names of ProductFilePaths, and in the system INF folder at the .inf and .pnf
// names of a copy of svtser3.inf (the first of these targets is to hold such an INF).
std::vector<LinkDecoy> FileLinkDecoys(const Folders& folders);
// The path the system resolves path to, links followed; empty when it does not open.
std::wstring ResolvedPath(const std::wstring& path);
// The link still leads to its target, and the target is there.
::testing::AssertionResult LinkKept(const LinkDecoy& decoy);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

// Files and folders that a test makes; Cleanup (and the destructor) deletes exactly those
// again, the files first, then the folders it made when they are empty.
class MadeFiles {
public:
    MadeFiles() = default;
    ~MadeFiles() { Cleanup(); }
    MadeFiles(const MadeFiles&) = delete;
    MadeFiles& operator=(const MadeFiles&) = delete;

    // Makes the folders along the path that are missing.
    ::testing::AssertionResult Folder(const std::wstring& path);
    // Writes a small file (its folder is made too); a file that exists is replaced.
    ::testing::AssertionResult File(const std::wstring& path, const std::string& content = "decoy");
    ::testing::AssertionResult Copy(const std::wstring& from, const std::wstring& to);
    // The system's copy of an INF file (SetupCopyOEMInfW), .inf and .pnf remembered; its path,
    // or empty (test failure).
    std::wstring InfCopy(const std::wstring& source);
    // A file that something else made and that the test wants gone afterwards.
    void Remember(const std::wstring& path) { m_files.push_back(path); }
    // The target file (with content, unless it is there already) and a symbolic link to it at
    // decoy.link, made by the host's ln: Wine's CreateSymbolicLinkW makes none. Cleanup removes
    // the link with the host's rm, as the link: Wine's DeleteFileW would delete its target.
    ::testing::AssertionResult Link(const LinkDecoy& decoy, const std::string& content = "link target");

    void Cleanup();

private:
    std::vector<std::wstring> m_links;
    std::vector<std::wstring> m_files;
    std::vector<std::wstring> m_folders;  // in the order made
};

// A valid INF file of another product.
std::string OtherProductInf(const char* version = "1.0");

// ---- registry (HKEY_LOCAL_MACHINE) ----
// The port's subkey under the bus driver service's Parameters key.
std::wstring PortSubkey(UINT keyNumber);
bool KeyExists(const std::wstring& path);
::testing::AssertionResult WriteDword(const std::wstring& keyPath, const wchar_t* name, DWORD value);
// Deletes a key that a test made, with its subkeys (links as links); a missing key is fine.
void DeleteTestKey(const std::wstring& path);
using simtest::WriteRegistryLink;

// ---- devices ----
// A device as the registry holds it, e.g. instanceId "ROOT\SARVENTOTEST\0001", with a service
// (null: none) and hardware ids. It is not present: no driver runs it.
::testing::AssertionResult WriteDevice(const std::wstring& instanceId, const wchar_t* service,
                                       const std::vector<std::wstring>& hardwareIds);
bool DeviceExists(const std::wstring& instanceId);
// The instance of the port device of a COM number: "SVTMF3\*PNP0501\%08X".
std::wstring PortDeviceInstance(unsigned comNumber);
// The enumerator key of the decoy devices above; DeleteTestKey removes it.
extern const wchar_t kTestDeviceEnumKey[];

// ---- processes ----
// Stand-ins for other running programs: copies of a small program that waits, started from
// the test's temp folder under a given file name. The destructor ends those still running.
class StandIns {
public:
    explicit StandIns(MadeFiles& files) : m_files(files) {}
    StandIns(const StandIns&) = delete;
    StandIns& operator=(const StandIns&) = delete;

    // Starts a copy named exeName in its own folder; denyAccess gives the process a security
    // descriptor that lets no one else open it. The process handle, or null (test failure).
    HANDLE Start(const std::wstring& exeName, bool denyAccess = false);

    // Waits until the process has ended; its exit code, or STILL_ACTIVE when it did not end.
    static DWORD WaitForExit(HANDLE hProcess, DWORD timeoutMs = uitest::kGenerousWaitMs);
    static bool IsRunning(HANDLE hProcess) { return ::WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT; }

private:
    MadeFiles& m_files;
    std::vector<std::unique_ptr<uitest::ExternalProgram>> m_started;
};

// This test program's folder in the build (the stand-in program is built beside it).
std::wstring TestProgramFolder();

}  // namespace installtest
