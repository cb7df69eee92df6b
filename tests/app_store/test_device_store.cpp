// The store's writes into the port devices' keys and its release of COM numbers, against the
// simulated machine's devices and COM-port database.
#include "app/DeviceParamWriter.h"
#include "app/PortSettings.h"

#include "RegistryHelpers.h"
#include "StoreTestSupport.h"
#include "tests/support/SimMachine.h"
#include "tests/support/SimOddPorts.h"

#include <ddk/msports.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DeviceStore : public StoreTest {
protected:
    static std::wstring DeviceParameters(unsigned comNumber) { return std::wstring(PortDevicePath(comNumber)); }
    static std::wstring DeviceKey(unsigned comNumber)
    {
        wchar_t path[128];
        _snwprintf(path, 128, L"%ls\\%08X", kPortDeviceEnumKey, comNumber);
        return path;
    }
};

}  // namespace

TEST_F(DeviceStore, WriteDeviceParamDwordWritesIntoThePresentDevicesKey)
{
    EXPECT_EQ(0, WriteDeviceParamDword(5, kPortValue, 7)) << "no device yet";

    ASSERT_TRUE(simtest::CreatePorts({5}));
    EXPECT_EQ(1, WriteDeviceParamDword(5, kPortValue, 7));

    const regtest::RawValue stored = regtest::GetValue(DeviceParameters(5), kPortValue);
    ASSERT_TRUE(stored.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type);
    EXPECT_EQ(7u, stored.AsDword());
}

TEST_F(DeviceStore, WriteDeviceParamDwordMatchesTheExactDescriptionAndTheComNumber)
{
    ASSERT_TRUE(simtest::CreatePorts({5, 6}));
    ASSERT_TRUE(simtest::SetPortDeviceText(5, L"DeviceDesc", L"Sarvento VCP "));

    EXPECT_EQ(0, WriteDeviceParamDword(5, kPortValue, 7)) << "description with a trailing blank";
    EXPECT_FALSE(regtest::GetValue(DeviceParameters(5), kPortValue).exists);
    EXPECT_EQ(0, WriteDeviceParamDword(7, kPortValue, 7)) << "no device carries COM7";
    EXPECT_FALSE(regtest::GetValue(DeviceParameters(6), kPortValue).exists);
}

TEST_F(DeviceStore, WriteDeviceParamDwordTakesTheComNumberFromTheFriendlyName)
{
    // The device of instance 6 calls itself COM9: its key is the one COM9's values go to.
    ASSERT_TRUE(simtest::CreatePorts({6}));
    ASSERT_TRUE(simtest::SetPortDeviceText(6, L"FriendlyName", L"Sarvento VCP (COM9)"));

    EXPECT_EQ(0, WriteDeviceParamDword(6, kPortValue, 1));
    EXPECT_EQ(1, WriteDeviceParamDword(9, kPortValue, 2));
    EXPECT_EQ(2u, regtest::GetValue(DeviceParameters(6), kPortValue).AsDword());
}

TEST_F(DeviceStore, WriteDeviceParamDwordNeedsAReadableFriendlyName)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::DeletePortDeviceValue(5, L"FriendlyName"));

    EXPECT_EQ(0, WriteDeviceParamDword(5, kPortValue, 7));
    EXPECT_FALSE(regtest::GetValue(DeviceParameters(5), kPortValue).exists);
}

TEST_F(DeviceStore, WriteDeviceParamDwordNeitherCreatesNorPassesAMissingDeviceParametersKey)
{
    // Two devices claim COM5; the first one's key is missing, and the walk stops there.
    ASSERT_TRUE(simtest::CreatePorts({5, 6}));
    ASSERT_TRUE(simtest::SetPortDeviceText(6, L"FriendlyName", L"Sarvento VCP (COM5)"));
    ASSERT_TRUE(simtest::DeleteDeviceParametersKey(5));

    EXPECT_EQ(0, WriteDeviceParamDword(5, kPortValue, 7));
    EXPECT_FALSE(regtest::KeyExists(DeviceParameters(5)));
    EXPECT_FALSE(regtest::GetValue(DeviceParameters(6), kPortValue).exists);
}

// A writer keeps the key of the device it wrote last open for the next value; a key that went
// and came back meanwhile is written all the same, one that is gone is not.
TEST_F(DeviceStore, AWriterKeepingADeviceKeyOpenWritesWhereAFreshOpenWould)
{
    ASSERT_TRUE(simtest::CreatePorts({5, 6}));
    CDeviceParamWriter devices;
    EXPECT_EQ(1, devices.WriteDword(5, kPortValue, 1));
    ASSERT_TRUE(regtest::DeleteTree(DeviceParameters(5)));
    ASSERT_TRUE(regtest::CreateKey(DeviceParameters(5)));
    EXPECT_EQ(1, devices.WriteDword(5, kProtocolValue, 2));
    EXPECT_EQ(2u, regtest::GetValue(DeviceParameters(5), kProtocolValue).AsDword());

    ASSERT_TRUE(regtest::DeleteTree(DeviceParameters(5)));
    EXPECT_EQ(0, devices.WriteDword(5, kPortValue, 3));
    EXPECT_EQ(1, devices.WriteDword(6, kPortValue, 4));
    EXPECT_EQ(4u, regtest::GetValue(DeviceParameters(6), kPortValue).AsDword());
}

TEST_F(DeviceStore, WritePortSettingWritesTheSubkeyAndThePresentDevice)
{
    ASSERT_TRUE(simtest::CreatePorts({4}));

    WritePortSetting(4, kPortValue, 4004);
    WritePortSetting(9, kPortValue, 4009);

    EXPECT_EQ(4004u, regtest::GetValue(std::wstring(PortSubkeyPath(4)), kPortValue).AsDword());
    EXPECT_EQ(4004u, regtest::GetValue(DeviceParameters(4), kPortValue).AsDword());
    // COM9 has no device: only its subkey gets the value, and no device key comes into being.
    const regtest::RawValue port9 = regtest::GetValue(std::wstring(PortSubkeyPath(9)), kPortValue);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), port9.type);
    EXPECT_EQ(4009u, port9.AsDword());
    EXPECT_FALSE(regtest::KeyExists(DeviceKey(9)));
}

TEST_F(DeviceStore, DeletePortSettingsReleasesTheNumberWithOrWithoutASubkey)
{
    ASSERT_TRUE(simtest::SetComDbClaims({3, 4, 8}));
    ASSERT_TRUE(regtest::SetDword(std::wstring(PortSubkeyPath(3)), kComPortValue, 3));
    HCOMDB hComDB = HCOMDB_INVALID_HANDLE_VALUE;
    ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&hComDB));

    EXPECT_EQ(1, DeletePortSettings(4, 4, hComDB));
    EXPECT_EQ(1, DeletePortSettings(3, 3, hComDB));
    ComDBClose(hComDB);

    EXPECT_EQ(std::vector<unsigned>({8}), simtest::ComDbClaims());
    EXPECT_FALSE(regtest::KeyExists(std::wstring(PortSubkeyPath(3))));
}
