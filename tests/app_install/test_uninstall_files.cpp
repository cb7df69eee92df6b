// The uninstallation's file steps: exactly the product's files, shortcuts and INF copies go;
// other products' files of the same names or in the same folders stay.
#include "app/Uninstall.h"
#include "tests/app_install/InstallTestSupport.h"
#include "tests/support/SimMachine.h"

#include <setupapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace installtest;

namespace {

class UninstallFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(RunsInBuildPrefix()); }

    std::wstring InstallFolder() const { return folders.ProductInstall(); }
    std::wstring MenuFolder() const { return folders.ProductMenu(); }
    std::vector<std::wstring> ProductFiles() const { return ProductFilePaths(folders); }
    std::vector<std::wstring> DecoyFiles() const { return DecoyFilePaths(folders); }

    void Make(const std::vector<std::wstring>& paths)
    {
        for (const std::wstring& path : paths)
            ASSERT_TRUE(files.File(path));
    }

    Folders folders;
    MadeFiles files;
};

TEST_F(UninstallFiles, DeletesExactlyTheProductsFilesAndShortcuts)
{
    Make(ProductFiles());
    Make(DecoyFiles());

    EXPECT_EQ(1, DeleteInstalledFiles());

    for (const std::wstring& path : ProductFiles())
        EXPECT_FALSE(FileExists(path)) << "still there: " << ::testing::PrintToString(path);
    for (const std::wstring& path : DecoyFiles())
        EXPECT_TRUE(FileExists(path)) << "deleted: " << ::testing::PrintToString(path);
    // The product's emptied folders go; the maker's folders and the Quick Launch folder stay.
    EXPECT_FALSE(FolderExists(InstallFolder()));
    EXPECT_FALSE(FolderExists(MenuFolder()));
    EXPECT_TRUE(FolderExists(folders.programFiles + L"\\Kolbrant"));
    EXPECT_TRUE(FolderExists(folders.commonPrograms + L"\\Kolbrant"));
    EXPECT_TRUE(FolderExists(folders.quickLaunch));
}

// A link at one of the product's names is not the product's file: it stays, and so does what it
// leads to (under Wine, deleting the link would delete its target).
TEST_F(UninstallFiles, LeavesLinksAtTheProductsNamesAndWhatTheyLeadTo)
{
    const std::vector<LinkDecoy> decoys = FileLinkDecoys(folders);
    ASSERT_TRUE(files.Copy(simtest::BuiltMachineFolder() + L"\\svtser3.inf", decoys[0].target));
    for (const LinkDecoy& decoy : decoys)
        ASSERT_TRUE(files.Link(decoy));

    DeleteInstalledFiles();
    DeleteOemInfFiles();

    for (const LinkDecoy& decoy : decoys)
        EXPECT_TRUE(LinkKept(decoy));
}

TEST_F(UninstallFiles, KeepsAProductFolderThatHoldsOtherFiles)
{
    Make(ProductFiles());
    ASSERT_TRUE(files.File(InstallFolder() + L"\\port settings.txt"));
    ASSERT_TRUE(files.File(MenuFolder() + L"\\Manual.lnk"));

    DeleteInstalledFiles();

    for (const std::wstring& path : ProductFiles())
        EXPECT_FALSE(FileExists(path)) << "still there: " << ::testing::PrintToString(path);
    EXPECT_TRUE(FileExists(InstallFolder() + L"\\port settings.txt"));
    EXPECT_TRUE(FileExists(MenuFolder() + L"\\Manual.lnk"));
}

TEST_F(UninstallFiles, AMissingFileDoesNotStopTheOthers)
{
    // Only the last file of each place is there.
    const std::vector<std::wstring> present = {
        InstallFolder() + L"\\svtser3.sys",
        MenuFolder() + L"\\Sarvento Control.lnk",
        folders.systemX86 + L"\\svtco3.dll",
    };
    Make(present);

    EXPECT_EQ(1, DeleteInstalledFiles());

    for (const std::wstring& path : present)
        EXPECT_FALSE(FileExists(path)) << "still there: " << ::testing::PrintToString(path);
    EXPECT_FALSE(FolderExists(InstallFolder()));
    EXPECT_FALSE(FolderExists(MenuFolder()));
}

TEST_F(UninstallFiles, DeletesTheSystemsCopiesOfTheProductsInfFilesReadOnlyOnesToo)
{
    const std::wstring portCopy = files.InfCopy(simtest::BuiltMachineFolder() + L"\\svtser3.inf");
    const std::wstring busCopy = files.InfCopy(simtest::BuiltMachineFolder() + L"\\svtmf3.inf");
    ASSERT_FALSE(portCopy.empty());
    ASSERT_FALSE(busCopy.empty());
    const std::wstring busPnf = busCopy.substr(0, busCopy.size() - 4) + L".pnf";
    ASSERT_TRUE(FileExists(busPnf));
    ::SetFileAttributesW(busCopy.c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(busPnf.c_str(), FILE_ATTRIBUTE_READONLY);

    DeleteOemInfFiles();

    for (const std::wstring& inf : {portCopy, busCopy}) {
        EXPECT_FALSE(FileExists(inf)) << ::testing::PrintToString(inf);
        EXPECT_FALSE(FileExists(inf.substr(0, inf.size() - 4) + L".pnf")) << ::testing::PrintToString(inf);
    }
}

TEST_F(UninstallFiles, KeepsOtherProductsInfCopies)
{
    // Another product's INF copied twice with different contents: once under its own name,
    // once under an oem name; and files whose names only resemble ours.
    ASSERT_TRUE(files.File(folders.temp + L"\\a\\other.inf", OtherProductInf("1.0")));
    ASSERT_TRUE(files.File(folders.temp + L"\\b\\other.inf", OtherProductInf("2.0")));
    const std::wstring first = files.InfCopy(folders.temp + L"\\a\\other.inf");
    const std::wstring second = files.InfCopy(folders.temp + L"\\b\\other.inf");
    ASSERT_NE(first, second);
    const std::vector<std::wstring> similar = {
        folders.inf + L"\\svtser3-old.inf",
        folders.inf + L"\\svtmf3.inf.bak",
        folders.inf + L"\\xsvtmf3.inf",
    };
    ASSERT_TRUE(files.File(similar[0], OtherProductInf("3.0")));
    ASSERT_TRUE(files.File(similar[1], OtherProductInf("3.0")));
    ASSERT_TRUE(files.File(similar[2], OtherProductInf("3.0")));
    const std::wstring ours = files.InfCopy(simtest::BuiltMachineFolder() + L"\\svtser3.inf");

    DeleteOemInfFiles();

    EXPECT_FALSE(FileExists(ours));
    for (const std::wstring& inf : {first, second}) {
        EXPECT_TRUE(FileExists(inf)) << ::testing::PrintToString(inf);
        EXPECT_TRUE(FileExists(inf.substr(0, inf.size() - 4) + L".pnf")) << ::testing::PrintToString(inf);
    }
    for (const std::wstring& path : similar)
        EXPECT_TRUE(FileExists(path)) << ::testing::PrintToString(path);
}

}  // namespace
