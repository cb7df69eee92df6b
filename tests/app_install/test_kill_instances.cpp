// Ending the other running copy of the program before the uninstallation: only processes named
// SarventoCtl3.exe (in any case) other than the uninstalling one, only the first of them, and
// a copy that cannot be opened stops everything.
#include "app/Uninstall.h"
#include "tests/app_install/InstallTestSupport.h"
#include "tests/support/SimMachine.h"

#include <gtest/gtest.h>

using namespace installtest;

namespace {

class KillInstances : public SimMachineTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RunsInBuildPrefix());
        SimMachineTest::SetUp();
    }

    MadeFiles files;
    StandIns standIns{files};
};

TEST_F(KillInstances, GoesOnWhenNoOtherCopyRuns)
{
    HANDLE similar = standIns.Start(L"SarventoCtl32.exe");
    HANDLE other = standIns.Start(L"OtherTool.exe");
    ASSERT_NE(nullptr, similar);
    ASSERT_NE(nullptr, other);

    EXPECT_EQ(1, KillRunningInstances());

    EXPECT_TRUE(StandIns::IsRunning(similar));
    EXPECT_TRUE(StandIns::IsRunning(other));
}

TEST_F(KillInstances, EndsTheOtherCopyWithExitCode0WhateverTheCaseOfItsName)
{
    HANDLE copy = standIns.Start(L"sarventoctl3.EXE");
    ASSERT_NE(nullptr, copy);

    EXPECT_EQ(1, KillRunningInstances());

    EXPECT_EQ(0u, StandIns::WaitForExit(copy));
}

TEST_F(KillInstances, EndsOnlyTheFirstOfTwoCopies)
{
    HANDLE first = standIns.Start(L"SarventoCtl3.exe");
    HANDLE second = standIns.Start(L"SarventoCtl3.exe");
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);

    EXPECT_EQ(1, KillRunningInstances());

    // Which one the process list shows first is the system's business; one ends, one runs.
    uitest::WaitFor([&] { return !StandIns::IsRunning(first) || !StandIns::IsRunning(second); });
    ::Sleep(200);  // time in which the other must not end too
    EXPECT_NE(StandIns::IsRunning(first), StandIns::IsRunning(second));
}

TEST_F(KillInstances, ACopyThatCannotBeOpenedStopsTheWholeUninstallation)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    const Folders folders;
    const std::wstring installed = folders.programFiles + L"\\Kolbrant\\COM Sarvento\\svtmf3.sys";
    ASSERT_TRUE(files.File(installed));
    HANDLE locked = standIns.Start(L"SarventoCtl3.exe", true);
    ASSERT_NE(nullptr, locked);

    EXPECT_EQ(0, KillRunningInstances());
    UninstallProduct();

    EXPECT_TRUE(StandIns::IsRunning(locked));
    EXPECT_TRUE(simtest::IsPortPresent(3));
    EXPECT_TRUE(KeyExists(PortSubkey(3)));
    EXPECT_EQ((std::vector<unsigned>{3}), simtest::ComDbClaims());
    EXPECT_TRUE(FileExists(installed));
}

}  // namespace
