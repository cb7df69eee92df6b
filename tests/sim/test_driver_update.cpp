// The machine's newdev.dll: UpdateDriverForPlugAndPlayDevicesW answers as Windows does and
// records every call.
#include <windows.h>

#include <newdev.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/SimMachine.h"

namespace {

using UpdateDriverFn = BOOL(WINAPI*)(HWND, LPCWSTR, LPCWSTR, DWORD, PBOOL);

// The machine's port driver INF, as the build left it.
std::wstring PortDriverInf()
{
    return simtest::BuiltMachineFolder() + L"\\svtser3.inf";
}

class DriverUpdate : public SimMachineTest {
protected:
    void SetUp() override
    {
        SimMachineTest::SetUp();
        newdev_ = LoadLibraryW(L"newdev.dll");
        ASSERT_NE(nullptr, newdev_);
        update_ = reinterpret_cast<UpdateDriverFn>(
            reinterpret_cast<void*>(GetProcAddress(newdev_, "UpdateDriverForPlugAndPlayDevicesW")));
        ASSERT_NE(nullptr, update_);
    }
    void TearDown() override
    {
        if (newdev_ != nullptr)
            FreeLibrary(newdev_);
        SimMachineTest::TearDown();
    }

    // The call and the last error it left.
    std::pair<BOOL, DWORD> Update(HWND parent, const wchar_t* id, const std::wstring& inf, DWORD flags)
    {
        BOOL reboot = TRUE;
        SetLastError(1234);
        BOOL updated = update_(parent, id, inf.c_str(), flags, &reboot);
        DWORD error = GetLastError();
        if (updated) {
            EXPECT_FALSE(reboot);
        }
        return {updated, error};
    }

    HMODULE newdev_ = nullptr;
    UpdateDriverFn update_ = nullptr;
};

}  // namespace

TEST_F(DriverUpdate, InstallsThePortDriverOnTheDeviceThatCarriesTheIdAndRecordsTheCall)
{
    ASSERT_TRUE(simtest::CreatePorts({9}));
    const HWND parent = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));
    simtest::PortInfCopiesRemover infCopies;

    EXPECT_EQ(TRUE, Update(parent, L"svtmf3\\00000009", PortDriverInf(), INSTALLFLAG_READONLY).first);

    ASSERT_EQ(1u, simtest::DriverUpdates().size());
    const simtest::DriverUpdate call = simtest::DriverUpdates()[0];
    EXPECT_EQ(L"svtmf3\\00000009", call.hardwareId);
    EXPECT_EQ(PortDriverInf(), call.infPath);
    EXPECT_EQ(static_cast<DWORD>(INSTALLFLAG_READONLY), call.flags);
    EXPECT_EQ(0x1234u, call.parentWindow);
    EXPECT_EQ(TRUE, call.result);
    // The port stays as it was.
    EXPECT_TRUE(simtest::IsPortPresent(9));
}

TEST_F(DriverUpdate, FailsAsWindowsDoesAndRecordsEachFailure)
{
    ASSERT_TRUE(simtest::CreatePorts({9}));

    EXPECT_EQ(std::make_pair(FALSE, static_cast<DWORD>(ERROR_NO_SUCH_DEVINST)),
              Update(nullptr, L"SVTMF3\\0000000a", PortDriverInf(), INSTALLFLAG_READONLY))
        << "an id that no device carries";
    EXPECT_EQ(std::make_pair(FALSE, static_cast<DWORD>(ERROR_FILE_NOT_FOUND)),
              Update(nullptr, L"SVTMF3\\00000009", L"C:\\no\\such\\svtser3.inf", INSTALLFLAG_READONLY));
    EXPECT_EQ(std::make_pair(FALSE, static_cast<DWORD>(ERROR_INVALID_FLAGS)),
              Update(nullptr, L"SVTMF3\\00000009", PortDriverInf(), 0x100));

    ASSERT_EQ(3u, simtest::DriverUpdates().size());
    EXPECT_EQ(L"SVTMF3\\0000000a", simtest::DriverUpdates()[0].hardwareId);
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), simtest::DriverUpdates()[0].lastError);
    EXPECT_EQ(FALSE, simtest::DriverUpdates()[0].result);
    EXPECT_EQ(0x100u, simtest::DriverUpdates()[2].flags);
}
