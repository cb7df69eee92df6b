// The registry value operations of the port settings store, against the machine's registry.
#include "app/PortSettings.h"

#include "RegistryHelpers.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring kScratchKey = L"SOFTWARE\\SarventoStoreTest";

class RegistryStore : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ASSERT_TRUE(regtest::DeleteTree(kScratchKey));
    }
    void TearDown() override
    {
        regtest::DeleteTree(kScratchKey);
        StoreTest::TearDown();
    }

    // A key whose children can only be volatile: a non-volatile key cannot be made below it.
    std::wstring VolatileParent()
    {
        const std::wstring path = kScratchKey + L"\\Volatile";
        HKEY hKey = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
        RegCloseKey(hKey);
        return path;
    }
};

}  // namespace

TEST_F(RegistryStore, ReadRegDwordReadsOnlyAFourByteDword)
{
    const std::wstring key = kScratchKey + L"\\Values";
    DWORD value = 77;
    EXPECT_EQ(0, ReadRegDword(key.c_str(), L"Number", value)) << "missing key";
    EXPECT_EQ(0u, value);

    ASSERT_TRUE(regtest::CreateKey(key));
    value = 77;
    EXPECT_EQ(0, ReadRegDword(key.c_str(), L"Number", value)) << "missing value";
    EXPECT_EQ(0u, value);

    ASSERT_TRUE(regtest::SetText(key, L"Number", L"12"));
    value = 77;
    EXPECT_EQ(0, ReadRegDword(key.c_str(), L"Number", value)) << "REG_SZ";
    EXPECT_EQ(0u, value);

    const BYTE eight[8] = {42, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(regtest::SetValue(key, L"Number", REG_BINARY, eight, sizeof(eight)));
    value = 77;
    EXPECT_EQ(0, ReadRegDword(key.c_str(), L"Number", value)) << "8-byte REG_BINARY";
    EXPECT_EQ(0u, value);

    ASSERT_TRUE(regtest::SetValue(key, L"Number", REG_DWORD, eight, sizeof(eight)));
    value = 77;
    EXPECT_EQ(0, ReadRegDword(key.c_str(), L"Number", value)) << "REG_DWORD of 8 bytes";
    EXPECT_EQ(0u, value);

    const BYTE two[2] = {0x34, 0x12};
    for (DWORD bytes : {2u, 0u}) {
        ASSERT_TRUE(regtest::SetValue(key, L"Number", REG_DWORD, two, bytes));
        value = 77;
        EXPECT_EQ(0, ReadRegDword(key.c_str(), L"Number", value)) << "REG_DWORD of " << bytes << " bytes";
        EXPECT_EQ(0u, value);
    }

    ASSERT_TRUE(regtest::SetDword(key, L"Number", 42));
    EXPECT_EQ(1, ReadRegDword(key.c_str(), L"Number", value));
    EXPECT_EQ(42u, value);
}

TEST_F(RegistryStore, WriteRegDwordCreatesTheMissingKeysAlongThePath)
{
    const std::wstring parameters = SVT_PARAMETERS_KEY;
    ASSERT_TRUE(regtest::DeleteTree(parameters));

    EXPECT_EQ(1, WriteRegDword((parameters + L"\\0042").c_str(), L"Port", 4042));

    const regtest::RawValue stored = regtest::GetValue(parameters + L"\\0042", L"Port");
    ASSERT_TRUE(stored.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type);
    EXPECT_EQ(4u, stored.data.size());
    EXPECT_EQ(4042u, stored.AsDword());
}

TEST_F(RegistryStore, WriteRegDwordReportsAKeyThatCannotBeMade)
{
    const std::wstring path = VolatileParent() + L"\\Child";
    EXPECT_EQ(0, WriteRegDword(path.c_str(), L"Port", 1));
    EXPECT_FALSE(regtest::KeyExists(path));
}

TEST_F(RegistryStore, ReadRegStringReadsUpTo255CharactersWithTheirTerminator)
{
    const std::wstring key = kScratchKey + L"\\Texts";
    const std::wstring longest(255, L'a');
    ASSERT_TRUE(regtest::SetText(key, L"Alias", longest));
    CString text = L"sentinel";
    EXPECT_EQ(1, ReadRegString(key.c_str(), L"Alias", text));
    EXPECT_EQ(CString(longest.c_str()), text);

    ASSERT_TRUE(regtest::SetText(key, L"Alias", std::wstring(256, L'b')));
    text = L"sentinel";
    EXPECT_EQ(0, ReadRegString(key.c_str(), L"Alias", text));
    EXPECT_EQ(CString(L"sentinel"), text);

    text = L"sentinel";
    EXPECT_EQ(0, ReadRegString(key.c_str(), L"Missing", text));
    EXPECT_EQ(CString(L"sentinel"), text);
    EXPECT_EQ(0, ReadRegString((kScratchKey + L"\\NoSuchKey").c_str(), L"Alias", text));
    EXPECT_EQ(CString(L"sentinel"), text);
}

TEST_F(RegistryStore, ReadRegStringEndsTextThatHasNoTerminator)
{
    // The registry adds a terminator that the byte count leaves out when the next character
    // is one, so each text goes on beyond the bytes stored, and the stored size is checked.
    const std::wstring key = kScratchKey + L"\\Texts";
    auto store = [&key](const wchar_t* data, DWORD bytes) {
        return regtest::SetValue(key, L"Alias", REG_SZ, data, bytes) &&
               regtest::GetValue(key, L"Alias").data.size() == bytes;
    };
    ASSERT_TRUE(store(L"ABCD", 4));
    CString text;
    EXPECT_EQ(1, ReadRegString(key.c_str(), L"Alias", text));
    EXPECT_EQ(CString(L"AB"), text);

    // An odd byte count: only whole characters count.
    ASSERT_TRUE(store(L"ABCD", 5));
    EXPECT_EQ(1, ReadRegString(key.c_str(), L"Alias", text));
    EXPECT_EQ(CString(L"AB"), text);

    // 256 characters fill the buffer; without a terminator they are read whole.
    const std::wstring longest = std::wstring(256, L'c') + L"d";
    ASSERT_TRUE(store(longest.c_str(), 512));
    EXPECT_EQ(1, ReadRegString(key.c_str(), L"Alias", text));
    EXPECT_EQ(CString(std::wstring(256, L'c').c_str()), text);

    ASSERT_TRUE(store(L"A\0B", 8));
    EXPECT_EQ(1, ReadRegString(key.c_str(), L"Alias", text));
    EXPECT_EQ(CString(L"A"), text);
}

TEST_F(RegistryStore, ReadRegStringFindsTheInstallFolderInThe32BitView)
{
    const std::wstring native = kInstallFolderKey;
    const std::wstring wow = L"SOFTWARE\\Wow6432Node\\Kolbrant\\COM Sarvento v3";
    ASSERT_TRUE(regtest::DeleteTree(L"SOFTWARE\\Kolbrant"));
    ASSERT_TRUE(regtest::DeleteTree(L"SOFTWARE\\Wow6432Node\\Kolbrant"));
    ASSERT_TRUE(regtest::SetText(wow, kInstallFolderValue, L"C:\\Program Files (x86)\\Kolbrant"));
    ASSERT_FALSE(regtest::KeyExists(native));

    CString folder;
    EXPECT_EQ(1, ReadRegString(kInstallFolderKey, kInstallFolderValue, folder));
    EXPECT_EQ(CString(L"C:\\Program Files (x86)\\Kolbrant"), folder);

    regtest::DeleteTree(L"SOFTWARE\\Wow6432Node\\Kolbrant");
}

TEST_F(RegistryStore, WriteRegStringStoresTheTextWithItsTerminatorAndCreatesTheKey)
{
    const std::wstring key = kScratchKey + L"\\New\\Key";
    EXPECT_EQ(1, WriteRegString(key.c_str(), kAliasValue, L""));
    regtest::RawValue stored = regtest::GetValue(key, kAliasValue);
    ASSERT_TRUE(stored.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored.type);
    EXPECT_EQ(2u, stored.data.size());

    EXPECT_EQ(1, WriteRegString(key.c_str(), kAliasValue, L"Line 7"));
    stored = regtest::GetValue(key, kAliasValue);
    EXPECT_EQ(14u, stored.data.size());
    EXPECT_EQ(L"Line 7", stored.AsText());
}

TEST_F(RegistryStore, WriteRegStringReportsAFailedWrite)
{
    const std::wstring path = VolatileParent() + L"\\Child";
    EXPECT_EQ(0, WriteRegString(path.c_str(), kAliasValue, L"x"));
    EXPECT_FALSE(regtest::KeyExists(path));
}

TEST_F(RegistryStore, PortPathsNameTheSubkeyInDecimalAndTheDeviceInHex)
{
    EXPECT_EQ(CString(L"SYSTEM\\CurrentControlSet\\Services\\svtmf3\\Parameters\\0007"), PortSubkeyPath(7));
    EXPECT_EQ(CString(L"SYSTEM\\CurrentControlSet\\Services\\svtmf3\\Parameters\\0123"), PortSubkeyPath(123));
    EXPECT_EQ(CString(L"SYSTEM\\CurrentControlSet\\Services\\svtmf3\\Parameters\\0010"), PortSubkeyPath(10));
    EXPECT_EQ(CString(L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3\\*PNP0501\\0000000A\\Device Parameters"),
              PortDevicePath(10));
    EXPECT_EQ(CString(L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3\\*PNP0501\\000000FF\\Device Parameters"),
              PortDevicePath(255));
}

TEST_F(RegistryStore, DeletePortKeyRemovesTheWholeSubkeyAndNothingElse)
{
    const std::wstring port3 = std::wstring(PortSubkeyPath(3));
    ASSERT_TRUE(regtest::SetDword(port3, kPortValue, 4003));
    ASSERT_TRUE(regtest::SetDword(port3 + L"\\Inner\\Deeper", L"X", 1));
    ASSERT_TRUE(regtest::SetDword(std::wstring(PortSubkeyPath(5)), kPortValue, 4005));

    DeletePortKey(3);

    EXPECT_FALSE(regtest::KeyExists(port3));
    EXPECT_EQ(4005u, regtest::GetValue(std::wstring(PortSubkeyPath(5)), kPortValue).AsDword());
}

TEST_F(RegistryStore, DeletePortKeyOfAMissingSubkeyChangesNothing)
{
    ASSERT_TRUE(regtest::SetDword(std::wstring(PortSubkeyPath(5)), kPortValue, 4005));
    const std::wstring before = regtest::Snapshot(SVT_PARAMETERS_KEY);

    DeletePortKey(3);

    EXPECT_EQ(before, regtest::Snapshot(SVT_PARAMETERS_KEY));
}
